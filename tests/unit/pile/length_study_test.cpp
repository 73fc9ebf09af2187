// Pile-head deflection versus pile length: the trial lengths, the trials that
// are too short to analyse, the head deflection of every trial against the
// closed-form solution of a finite beam on an elastic foundation, the limit
// on the head deflection, and the report block with its boundary conditions.
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pile/load_cases.hpp"
#include "pile/pile_test_support.hpp"

namespace trevasc::testing {
namespace {

// A 50 ft pile, EI = 1.0E10 lb-in^2, 10 in wide, in an elastic subgrade of
// 100 lb/in^3 (k = 1000 lb/in^2 per unit length): beta = 0.012574 /in, so
// beta L0 = 7.5; 300 increments keep beta h below 0.025 for every trial.
constexpr double kL0 = 600.0;
constexpr double kEI = 1.0e10;
constexpr double kWidth = 10.0;
constexpr double kSubgrade = 100.0;
constexpr double kShear = 10000.0;
const double kBeta = std::pow(kSubgrade * kWidth / (4.0 * kEI), 0.25);

// Head deflection of a free beam of length L on a Winkler foundation loaded
// by a shear V at one end (Hetenyi 1946):
//   y = (2 V beta / k) (sinh bL cosh bL - sin bL cos bL) / (sinh^2 bL - sin^2 bL).
// It tends to 2 V beta / k for a long beam and to 4 V / (k L) for a rigid one.
double FiniteBeamHeadDeflection(double L) {
    const double k = kSubgrade * kWidth;
    const double x = kBeta * L;
    const double ratio = (std::sinh(x) * std::cosh(x) - std::sin(x) * std::cos(x)) /
                         (std::sinh(x) * std::sinh(x) - std::sin(x) * std::sin(x));
    return 2.0 * kShear * kBeta / k * ratio;
}
const double kLongPileDeflection = 2.0 * kShear * kBeta / (kSubgrade * kWidth);

model::ProblemData StudyProblem(double ground_depth = 0.0) {
    model::ProblemData problem = ElasticPileProblem(kL0, kEI, kWidth, 300);
    AddElasticSubgradeLayer(problem, ground_depth, kL0 + 100.0, kSubgrade, kSubgrade);
    AddLoad(problem, model::kShearAndMoment, kShear, 0.0);
    problem.PileHeadLoads[0].ComputeTopDeflVsLength = true;
    return problem;
}

struct Point {
    double length, deflection, moment, shear;
};

std::vector<Point> Line12Points(const RunOutput& out) {
    std::vector<Point> points;
    for (const std::string& record : PlotRecords(out, "Line 12: pile length, Ytop, Mmax, Vmax")) {
        const auto f = PlotFields(record, 4);
        points.push_back({f[0], f[1], f[2], f[3]});
    }
    return points;
}

// Solutions started, the load case's own included: every solution writes its
// first iteration to the message file.
int SolutionsStarted(const RunOutput& out, int c) {
    int count = 0;
    const std::string prefix = "Analysis Case " + std::to_string(c) + ",   Iteration 1,";
    for (const std::string& line : out.MessageLines()) count += line.rfind(prefix, 0) == 0 ? 1 : 0;
    return count;
}

TEST(LengthStudy, TrialLengthsAreFivePercentStepsInSinglePrecision) {
    EXPECT_EQ(pile::LengthStudyTrialLength(600.0, 0), 600.0);
    EXPECT_NEAR(pile::LengthStudyTrialLength(600.0, 1), 570.0, 1.0e-4);
    EXPECT_NEAR(pile::LengthStudyTrialLength(600.0, 18), 60.0, 1.0e-4);
    // The twentieth trial, 30 in, lies below 0.05 L0 = 30.0000004 in.
    EXPECT_TRUE(pile::LengthStudyTrialTooShort(pile::LengthStudyTrialLength(600.0, 19), 600.0, 0.0));
    EXPECT_FALSE(pile::LengthStudyTrialTooShort(pile::LengthStudyTrialLength(600.0, 18), 600.0, 0.0));
    // With the ground 200 in below the head the limit is 230 in.
    EXPECT_FALSE(pile::LengthStudyTrialTooShort(240.0, 600.0, 200.0));
    EXPECT_TRUE(pile::LengthStudyTrialTooShort(210.0, 600.0, 200.0));
}

TEST(LengthStudy, HeadDeflectionFollowsTheFiniteBeamAndGrowsBelowTheCriticalLength) {
    model::ProblemData problem = StudyProblem();
    // A second, identical case without a study: the study leaves nothing
    // behind that changes it.
    AddLoad(problem, model::kShearAndMoment, kShear, 0.0);
    PileRun run(problem);
    ASSERT_EQ(run.Run(), 0);
    const model::CaseResults first = run.ctx().cases(1);
    const model::CaseResults second = run.ctx().cases(2);
    EXPECT_DOUBLE_EQ(second.HeadDeflection, first.HeadDeflection);
    EXPECT_DOUBLE_EQ(second.MaxMoment, first.MaxMoment);
    const RunOutput out = run.Outputs();

    const auto line11 = PlotRecords(out, "Line 11: ");
    ASSERT_EQ(line11.size(), 2u);
    EXPECT_EQ(line11[0], "   19" + std::string(75, ' ') +
                             "Line 11: Num. points on Ytop vs. pile length curve for load case 1");
    EXPECT_EQ(line11[1], "    0" + std::string(75, ' ') +
                             "Line 11: Num. points on Ytop vs. Length curve for load case 2");
    // The full pile and the nineteen trials down to 60 in; 30 in is not analysed.
    EXPECT_EQ(SolutionsStarted(out, 1), 20);

    const auto points = Line12Points(out);
    ASSERT_EQ(points.size(), 19u);
    for (std::size_t j = 0; j < points.size(); ++j) {
        const Point& p = points[j];
        SCOPED_TRACE("trial " + std::to_string(j));
        EXPECT_NEAR(p.length, kL0 * (1.0 - 0.05 * static_cast<double>(j)), 1.0e-3);
        // Central differences: relative error about (beta h)^2 / 2 <= 3E-4.
        EXPECT_NEAR(p.deflection / FiniteBeamHeadDeflection(p.length), 1.0, 1.0e-3);
        // The head shear is the largest shear of a free-head pile.
        EXPECT_NEAR(p.shear, kShear, 1.0e-3);
        if (kBeta * p.length > 3.3) {
            // Longer than the critical length (about 4 / beta): the head
            // deflection is that of a long pile, and so is the largest
            // moment, V/beta exp(-pi/4) sin(pi/4) = 0.3224 V/beta.
            EXPECT_NEAR(p.deflection / kLongPileDeflection, 1.0, 3.0e-3);
            EXPECT_NEAR(std::fabs(p.moment) * kBeta / kShear, 0.3224, 0.003);
        } else if (kBeta * p.length < 2.8) {
            // Shorter: every step of 5 percent adds more than 1 percent.
            EXPECT_GT(p.deflection, points[j - 1].deflection * 1.01);
        }
    }
    // The 60 in pile is nearly rigid: 4 V / (k L) for beta L -> 0.
    EXPECT_GT(points.back().deflection, 2.5 * kLongPileDeflection);

    const auto report = out.ReportLines();
    const std::size_t title = FindLine(report, std::string(12, ' ') + "Pile-head Deflection vs. Pile Length for Load Case 1");
    ASSERT_LT(title + 22, report.size());
    const std::vector<std::string> expected = {
        std::string(80, '-'),
        "",
        "Boundary Condition Type 1, Shear and Moment",
        "",
        "Shear      =          10000. lbs",
        "Moment     =              0. lbs-in",
        "Axial Load =              0. lbs",
        "",
        "",
        "   Pile       Pile Head       Maximum      Maximum",
        "  Length      Deflection      Moment        Shear ",
        "  inches        inches        ln-lbs          lbs ",
        "-----------  ------------  ------------  ------------",
    };
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(report[title + 1 + i], expected[i]) << "line " << i;
    // Nineteen rows: length (10 columns) and three values of 14 columns.
    EXPECT_NEAR(std::stod(report[title + 14].substr(0, 10)), 600.0, 1.0e-6);
    EXPECT_NEAR(std::stod(report[title + 32].substr(0, 10)), 60.0, 1.0e-3);
    EXPECT_EQ(report[title + 32].size(), 52u);
    EXPECT_EQ(report[title + 33], "");
}

TEST(LengthStudy, GroundBelowTheHeadSkipsTrialsShorterThanItsDepthPlusFivePercent) {
    PileRun run(StudyProblem(200.0));
    ASSERT_EQ(run.Run(), 0);
    const RunOutput out = run.Outputs();
    const auto points = Line12Points(out);
    // 600, 570, ..., 240 in; 210 in and below are shorter than 200 + 30 in.
    ASSERT_EQ(points.size(), 13u);
    EXPECT_NEAR(points.back().length, 240.0, 1.0e-3);
    EXPECT_EQ(SolutionsStarted(out, 1), 1 + 13);
    EXPECT_EQ(PlotRecords(out, "Line 11: ")[0].substr(0, 5), "   13");
}

// A converged trial whose head deflection exceeds the limit gives no point;
// the study goes on with the shorter trials. With no point at all the report
// says so and Line 11 carries 0 points.
TEST(LengthStudy, TrialsBeyondTheDeflectionLimitRecordNoPoint) {
    struct Case {
        double limit_factor;  // limit / long-pile head deflection
        std::size_t points;   // trials whose finite-beam deflection is within it
    };
    // Finite-beam ratios: 1.18 at 150 in, 1.39 at 120 in, 1.79 at 90 in, 2.66 at 60 in.
    const Case kCases[] = {{1.25, 16u}, {2.0, 18u}, {0.5, 0u}};
    for (const Case& c : kCases) {
        SCOPED_TRACE("limit factor " + std::to_string(c.limit_factor));
        model::ProblemData problem = StudyProblem();
        // The load case itself is linear and converges before the limit is
        // looked at.
        problem.Options.MaxAllowableDeflection = c.limit_factor * kLongPileDeflection;
        PileRun run(problem);
        ASSERT_EQ(run.Run(), 0);
        const RunOutput out = run.Outputs();
        const auto points = Line12Points(out);
        ASSERT_EQ(points.size(), c.points);
        for (const Point& p : points) EXPECT_LE(p.deflection, problem.Options.MaxAllowableDeflection);
        EXPECT_EQ(SolutionsStarted(out, 1), 20);
        const auto line11 = PlotRecords(out, "Line 11: ");
        ASSERT_EQ(line11.size(), 1u);
        EXPECT_EQ(line11[0].substr(0, 5), c.points == 0 ? "    0" : std::to_string(c.points).insert(0, 3, ' '));
        EXPECT_NE(line11[0].find("pile length curve for load case 1"), std::string::npos);

        const auto report = out.ReportLines();
        const std::size_t none = FindLine(
            report, "No computations for top deflection vs. pile length were successful for this load case.");
        if (c.points == 0) {
            ASSERT_LT(none + 3, report.size());
            EXPECT_EQ(report[none - 1], "");
            EXPECT_EQ(report[none - 2], "");
            EXPECT_EQ(report[none - 3], "Axial Load =              0. lbs");
            EXPECT_EQ(report[none + 1], "");
            EXPECT_EQ(report[none + 2], "Results of last two iterations:");
            EXPECT_EQ(report[none + 3], "");
            EXPECT_EQ(FindLine(report, "   Pile       Pile Head       Maximum      Maximum"), report.size());
        } else {
            EXPECT_EQ(none, report.size());
        }
    }
}

// A trial that does not converge ends the study: the shorter trials are not
// analysed and the report is written with the points gathered so far.
TEST(LengthStudy, TrialWithoutConvergenceEndsTheStudy) {
    model::ProblemData problem = StudyProblem();
    problem.PileHeadLoads[0].ComputeTopDeflVsLength = false;
    PileRun run(problem);
    ASSERT_EQ(run.Run(), 0);
    run.ctx().problem.Options.ConvergenceTolerance = -1.0;  // never met
    run.ctx().problem.Options.IterationLimit = 30;
    pile::RunLengthStudy(run.ctx(), 1);
    EXPECT_EQ(run.ctx().ErrorNumber, 0);
    const RunOutput out = run.Outputs();
    EXPECT_EQ(SolutionsStarted(out, 1), 2);
    EXPECT_TRUE(Line12Points(out).empty());
    EXPECT_NE(out.report.find("No computations for top deflection vs. pile length were successful for this load case."),
              std::string::npos);
    EXPECT_EQ(out.report.find("Runtime Error"), std::string::npos);
    const auto line11 = PlotRecords(out, "Line 11: Num. points on Ytop vs. pile length curve for load case 1");
    ASSERT_EQ(line11.size(), 1u);
    EXPECT_EQ(line11[0].substr(0, 5), "    0");
}

// The boundary conditions of the case head the study; loading type 5 prints
// the first letter of its deflection and axial-load units only.
TEST(LengthStudy, BoundaryConditionLinesOfEveryLoadingType) {
    struct Case {
        int type;
        double condition1, condition2;
        std::vector<std::string> lines;
    };
    const Case kCases[] = {
        {model::kShearAndMoment, 10000.0, -25000.0,
         {"Boundary Condition Type 1, Shear and Moment", "", "Shear      =          10000. lbs",
          "Moment     =         -25000. lbs-in", "Axial Load =           5000. lbs"}},
        {model::kShearAndSlope, 10000.0, 0.001,
         {"Boundary Condition Type 2, Shear and Slope", "", "Shear      =          10000. lbs",
          "Slope      =         0.00100", "Axial Load =           5000. lbs"}},
        {model::kShearAndRotationalStiffness, 10000.0, 1.0e10,
         {"Boundary Condition Type 3, Shear and Rotational Restraint", "", "Shear      =          10000. lbs",
          "Rot. Rest. =   0.1000000E+11 lbs-in/Radian", "Axial Load =           5000. lbs"}},
        {model::kDeflectionAndMoment, 0.1, 25000.0,
         {"Boundary Condition Type 4, Deflection and Moment", "", "Deflection =         0.10000 in",
          "Moment     =          25000. lbs-in", "Axial Load =           5000. lbs"}},
        {model::kDeflectionAndSlope, 0.1, 0.0,
         {"Boundary Condition Type 5, Deflection and Slope", "", "Deflection =         0.10000 i",
          "Slope      =         0.00000", "Axial Load =           5000. l"}},
    };
    model::ProblemData problem = ElasticPileProblem(kL0, kEI, kWidth, 100);
    AddElasticSubgradeLayer(problem, 0.0, kL0 + 100.0, kSubgrade, kSubgrade);
    for (const Case& c : kCases) {
        AddLoad(problem, c.type, c.condition1, c.condition2, 5000.0);
        problem.PileHeadLoads.back().ComputeTopDeflVsLength = true;
    }
    PileRun run(problem);
    ASSERT_EQ(run.Run(), 0);
    const auto report = run.Outputs().ReportLines();
    std::size_t from = 0;
    for (std::size_t i = 0; i < std::size(kCases); ++i) {
        const Case& c = kCases[i];
        SCOPED_TRACE("loading type " + std::to_string(c.type));
        const std::size_t title = FindLine(
            report, std::string(12, ' ') + "Pile-head Deflection vs. Pile Length for Load Case " + std::to_string(i + 1),
            from);
        ASSERT_LT(title + 3 + c.lines.size(), report.size());
        for (std::size_t k = 0; k < c.lines.size(); ++k) EXPECT_EQ(report[title + 3 + k], c.lines[k]);
        from = title + 1;
    }
}

}  // namespace
}  // namespace trevasc::testing
