// The load-case loop: convergence, iteration limits, excess deflection, the
// errors that end a case and the continuation of an unconverged case of
// loading type 4.
#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

#include "pile/pile_test_support.hpp"
#include "section/stiffness_defined.hpp"

namespace trevasc::testing {
namespace {

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

int CountStartingWith(const std::vector<std::string>& lines, const std::string& prefix) {
    return static_cast<int>(std::count_if(lines.begin(), lines.end(),
                                          [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
}

// A 50 ft pile (EI = 4E10 lb-in^2, 24 in wide) in 100 increments in an
// elastic subgrade of 50 lb/in^3, loaded by 10 kips of shear.
model::ProblemData StandardProblem() {
    model::ProblemData problem = ElasticPileProblem(600.0, 4.0e10, 24.0, 100);
    AddElasticSubgradeLayer(problem, 0.0, 700.0, 50.0, 50.0);
    AddLoad(problem, model::kShearAndMoment, 10000.0, 0.0);
    return problem;
}

TEST(LoadCases, LinearSoilConvergesAtOnceButRunsSixIterations) {
    PileRun run(StandardProblem());
    ASSERT_EQ(run.Run(), 0);
    const RunOutput out = run.Outputs();
    const auto messages = out.MessageLines();
    EXPECT_EQ(CountStartingWith(messages, "Analysis Case 1,   Iteration "), 6);
    EXPECT_TRUE(Contains(messages, "Convergence Criteria Met"));
    EXPECT_TRUE(Contains(messages, "Completed Analysis 1"));
    EXPECT_TRUE(Contains(out.ReportLines(), "Number of iterations             =              6"));
    // No iteration is echoed to the report far from the limit.
    EXPECT_EQ(CountStartingWith(out.ReportLines(), "Iteration "), 0);
}

TEST(LoadCases, IterationLimitAndExcessDeflection) {
    struct Case {
        const char* what;
        int limit;
        double excess_limit;
        int expected_code;
        int first_echoed;  // first iteration echoed to the report
    };
    const Case kCases[] = {
        {"no convergence within 30 iterations", 30, 1000.0, 210, 26},
        // Beyond the excess deflection limit at iteration 10 is not yet an error ...
        {"limit 10, head beyond the excess limit", 10, 1.0e-6, 210, 6},
        // ... at iteration 11 it is.
        {"limit 11, head beyond the excess limit", 11, 1.0e-6, 209, 7},
    };
    for (const Case& c : kCases) {
        model::ProblemData problem = StandardProblem();
        problem.Options.IterationLimit = c.limit;
        problem.Options.ConvergenceTolerance = -1.0;  // never met
        problem.Options.MaxAllowableDeflection = c.excess_limit;
        PileRun run(problem);
        EXPECT_EQ(run.Run(), c.expected_code) << c.what;
        const RunOutput out = run.Outputs();
        const auto report = out.ReportLines();
        EXPECT_EQ(CountStartingWith(report, "Iteration " + std::to_string(c.first_echoed - 1) + ","), 0) << c.what;
        const int last = c.expected_code == 209 ? 11 : c.limit;
        for (int i = c.first_echoed; i <= last; ++i) {
            // "Iteration " i "," then " Y(top) = " from column 16.
            std::string prefix = "Iteration " + std::to_string(i) + ",";
            prefix.resize(15, ' ');
            EXPECT_EQ(CountStartingWith(report, prefix + " Y(top) = "), 1) << c.what << ", iteration " << i;
        }
        EXPECT_EQ(CountStartingWith(report, "Iteration "), last - c.first_echoed + 1) << c.what;
        if (c.expected_code == 210) {
            EXPECT_TRUE(Contains(report, "**** Runtime Error No. 10 ****")) << c.what;
            EXPECT_TRUE(Contains(report, "The analysis failed to converge within the limit of " +
                                             std::to_string(c.limit) + " iterations."))
                << c.what;
            EXPECT_TRUE(Contains(report, "Specified convergence tolerance = -0.100E+01 in")) << c.what;
            EXPECT_TRUE(Contains(report, "Trevasc ended prematurely due to runtime error number RUN00010")) << c.what;
            EXPECT_FALSE(Contains(out.MessageLines(), "Convergence Criteria Met")) << c.what;
        } else {
            EXPECT_TRUE(Contains(report, "**** Runtime Error No. 9 ****")) << c.what;
            EXPECT_TRUE(Contains(report, "The specified excess deflection limit is      0.1000E-05 in ")) << c.what;
            EXPECT_TRUE(Contains(out.MessageLines(), "**** Runtime Error No. 9 ****")) << c.what;
            EXPECT_TRUE(Contains(report, "Trevasc ended prematurely due to runtime error number RUN00009")) << c.what;
        }
    }
}

TEST(LoadCases, UnconvergedDeflectionAndMomentCaseIsReportedAndTheRunEndsAtTheNextSolution) {
    model::ProblemData problem = StandardProblem();
    problem.PileHeadLoads.clear();
    AddLoad(problem, model::kDeflectionAndMoment, 0.5, 0.0);
    AddLoad(problem, model::kShearAndMoment, 10000.0, 0.0);
    problem.Options.IterationLimit = 30;
    problem.Options.ConvergenceTolerance = -1.0;
    PileRun run(problem);
    EXPECT_EQ(run.Run(), 210);
    const RunOutput out = run.Outputs();
    const auto report = out.ReportLines();
    const auto error = std::find(report.begin(), report.end(), "**** Runtime Error No. 10 ****");
    const auto results = std::find(report.begin(), report.end(),
                                   "                   for Lateral Loading for Load Case Number 1");
    ASSERT_NE(error, report.end());
    ASSERT_NE(results, report.end());
    EXPECT_LT(error, results);
    EXPECT_TRUE(Contains(report, "Output Summary for Load Case No. 1:"));
    const auto messages = out.MessageLines();
    EXPECT_TRUE(Contains(messages, "Completed Analysis 1"));
    EXPECT_TRUE(Contains(messages, "Computing lateral response of pile for load number 2"));
    EXPECT_EQ(CountStartingWith(messages, "Analysis Case 2,"), 0);
    EXPECT_FALSE(Contains(messages, "Convergence Criteria Met"));
}

TEST(LoadCases, LayerTooThinToHoldANodeIsRuntimeError29) {
    model::ProblemData problem = ElasticPileProblem(600.0, 4.0e10, 24.0, 100);
    AddElasticSubgradeLayer(problem, 0.0, 100.0, 50.0, 50.0);
    AddElasticSubgradeLayer(problem, 100.0, 101.0, 50.0, 50.0);  // nodes at 96 and 102 in
    AddElasticSubgradeLayer(problem, 101.0, 700.0, 50.0, 50.0);
    AddLoad(problem, model::kShearAndMoment, 10000.0, 0.0);
    PileRun run(problem);
    EXPECT_EQ(run.Run(), 229);
    const RunOutput out = run.Outputs();
    for (const auto& lines : {out.ReportLines(), out.MessageLines()}) {
        EXPECT_TRUE(Contains(lines, "**** Runtime Error No. 29 ****"));
        EXPECT_TRUE(Contains(lines, "PROBLEM:  The thickness of layer 2 was too thin to contain a nodal point."));
        EXPECT_TRUE(Contains(lines, "          The thickness of layer 2 is     1.000 in and the pile increment "
                                    "length is     6.000 in"));
        EXPECT_TRUE(Contains(lines, "          The current number of pile increments is 100."));
        EXPECT_TRUE(Contains(lines, "          The estimated minimum number of increments needed to get at least "
                                    "one nodal point in the layer is 600."));
    }
    // Set directly: no "ended prematurely" line.
    EXPECT_EQ(out.report.find("ended prematurely"), std::string::npos);
}

TEST(LoadCases, FaultsThatEndTheRun) {
    struct Case {
        const char* what;
        void (*change)(model::ProblemData&);
        int expected_code;
        const char* expected_line;
    };
    const Case kCases[] = {
        {"a pile without bending stiffness gives no numbers",
         [](model::ProblemData& p) {
             for (auto& row : p.SectionPropertyTable) row.Inertia = 0.0;
         },
         228, "**** COMPUTATION ERROR 28 ****"},
        {"a pile without sections", [](model::ProblemData& p) { p.Sections.clear(); }, 297,
         "The pile has no sections or no length."},
        {"a node count beyond the arrays", [](model::ProblemData& p) { p.Options.NumberOfIncrements = 501; }, 297,
         "The number of pile increments, 501, is outside the range 1 to 500."},
        {"an unknown loading type", [](model::ProblemData& p) { p.PileHeadLoads[0].LoadingType = 6; }, 297,
         "Load case 1 has loading type 6; the loading types are 1 to 5."},
    };
    for (const Case& c : kCases) {
        model::ProblemData problem = StandardProblem();
        c.change(problem);
        PileRun run(problem);
        EXPECT_EQ(run.Run(), c.expected_code) << c.what;
        EXPECT_TRUE(Contains(run.Outputs().ReportLines(), c.expected_line)) << c.what;
    }
}

TEST(LoadCases, FrozenSoilHasNoCriterionAndKeepsTheInitialModulus) {
    model::ProblemData problem = ElasticPileProblem(600.0, 4.0e10, 24.0, 100);
    AddElasticSubgradeLayer(problem, 0.0, 120.0, 50.0, 50.0);
    AddElasticSubgradeLayer(problem, 120.0, 700.0, 0.0, 0.0).KSOIL = model::kFrozenSoil;
    AddLoad(problem, model::kShearAndMoment, 10000.0, 0.0);
    PileRun run(problem);
    ASSERT_EQ(run.Run(), 0);
    const model::PileModel& pile = run.ctx().pile;
    EXPECT_EQ(pile.Es(20), 50.0 * 24.0);                 // 114 in: elastic subgrade
    EXPECT_EQ(pile.Es(21), model::kInitialSoilModulus);  // 120 in: frozen soil
    EXPECT_EQ(pile.Es(101), model::kInitialSoilModulus);
}

// A warning raised before the load cases (by the echo or the section
// analysis) is counted once, whatever the number of cases.
TEST(LoadCases, WarningsOfTheSetUpAreCountedOnce) {
    PileRun run(StandardProblem());
    run.ctx().warnings.RecordWarning(-302);
    ASSERT_EQ(run.Run(), 0);
    const report::WarningRegistry& warnings = run.ctx().warnings;
    EXPECT_EQ(warnings.WarningCount[302], 1);
    EXPECT_EQ(warnings.ResultCode(), -302);
    EXPECT_TRUE(warnings.AnyRecorded());  // the run still ended with a warning
    EXPECT_EQ(warnings.WarningLog[1], -302);
}

// A 100 ft pile, EI = 4E10 lb-in^2, 24 in wide, in 200 increments, in an
// elastic subgrade (Es = 50 x 24 = 1200 lb/in^2), its head fixed against
// rotation: beta = (Es / 4 EI)^(1/4) = 0.00931 /in and the elastic head
// moment V / (2 beta) = 53.7 V, 8.06E6 in-lb at V = 150 kips.
model::ProblemData FixedHeadProblem(int section_type, double V) {
    model::ProblemData problem = ElasticPileProblem(1200.0, 4.0e10, 24.0, 200);
    problem.Options.IterationLimit = 500;  // secant stiffness settles slowly on a flat curve
    problem.Sections[0].SectionType = section_type;
    AddElasticSubgradeLayer(problem, 0.0, 1300.0, 50.0, 50.0);
    AddLoad(problem, model::kShearAndSlope, V, 0.0);
    return problem;
}

// Moment-curvature tables in kip-in units: an elastic-plastic section (EI
// 4E7 kip-in^2, Mp 6000 kip-in) or a softening curve that ends at 6000 kip-in.
model::SectionStiffnessTable HingeTable(int section_type) {
    model::SectionStiffnessTable table;
    table.Sections.resize(1);
    model::SectionStiffness& s = table.Sections[0];
    s.SectionType = section_type;
    model::ThrustLevelCurve level;
    if (section_type == model::kElasticPlastic) {
        s.Source = model::StiffnessSource::ElasticPlastic;
        s.BottomDepth = 1200.0;
        s.PlasticMomentTop = s.PlasticMomentBottom = 6000.0;
        s.ElasticEITop = s.ElasticEIBottom = 4.0e7;
        level.Points = section::ElasticPlasticCurve(4.0e10, 6.0e6, 1000.0);
    } else {
        s.Source = model::StiffnessSource::MomentCurvature;
        level.Points = {{2000.0, 4.0e7, 5.0e-5}, {4500.0, 1.8e7, 2.5e-4}, {6000.0, 6.0e6, 1.0e-3}};
    }
    table.Sections[0].Levels.push_back(level);
    return table;
}

// The node where a fixed head forms its hinge softens with its own moment:
// no converged head moment exceeds the last moment of the section's curve
// (6.0E6 in-lb). Below the hinge an elastic-plastic pile is elastic, and its
// answer is that of the elastic pile to the last digit.
TEST(LoadCases, FixedHeadMomentStaysWithinTheSectionCurve) {
    const double kLastMoment = 6.0e6;
    for (int type : {model::kElasticPlastic, model::kDrilledShaft}) {
        PileRun run(FixedHeadProblem(type, 150000.0));
        run.ctx().stiffness = HingeTable(type);
        ASSERT_EQ(run.Run(), 0) << "section type " << type;
        const double head = std::fabs(run.ctx().pile.HeadMoment);
        EXPECT_LE(head, kLastMoment * (1.0 + 1.0e-4)) << "section type " << type;
        // The elastic-plastic head has formed its hinge at Mp.
        if (type == model::kElasticPlastic) {
            EXPECT_GE(head, (1.0 - 1.0e-4) * kLastMoment);
        }
    }
    PileRun elastic(FixedHeadProblem(model::kElasticPile, 50000.0));
    PileRun plastic(FixedHeadProblem(model::kElasticPlastic, 50000.0));
    plastic.ctx().stiffness = HingeTable(model::kElasticPlastic);
    ASSERT_EQ(elastic.Run(), 0);
    ASSERT_EQ(plastic.Run(), 0);
    EXPECT_LT(std::fabs(plastic.ctx().pile.HeadMoment), kLastMoment);
    EXPECT_EQ(plastic.ctx().pile.y(1), elastic.ctx().pile.y(1));
    EXPECT_EQ(plastic.ctx().pile.HeadMoment, elastic.ctx().pile.HeadMoment);
}

// A short, nearly rigid pile (12 ft, EI = 1E14 lb-in^2, Es = 1000 lb/in^2) under
// a head shear of 20 kips, with a tip shear spring. By hand, for a rigid pile
// y = y0 + theta x with a tip spring K: horizontal equilibrium
// (Es L + K) y0 + (Es L^2/2 + K L) theta = V and moments about the head
// (Es L^2/2 + K L) y0 + (Es L^3/3 + K L^2) theta = 0.
struct RigidPile {
    double y0, tip;
    RigidPile(double Es, double L, double K, double V) {
        const double a = Es * L + K, b = Es * L * L / 2.0 + K * L, c = Es * L * L * L / 3.0 + K * L * L;
        const double det = a * c - b * b;
        y0 = c * V / det;
        tip = y0 - b * V / det * L;
    }
};

TEST(LoadCases, TipShearOfAStiffCurveConverges) {
    struct Case {
        const char* what;
        std::vector<std::array<double, 2>> curve;
        double K;  // slope of the segment the answer lies on (lb/in)
        bool relaxed;
    };
    const Case kCases[] = {
        // 400 kips/in to 0.05 in: eleven times the pile's own tip stiffness
        // (Es L / 4); taken from the last solution the force overshoots
        // and the tip swings between the two branches of the curve.
        {"stiff curve", {{0.0, 0.0}, {0.05, 20000.0}, {0.5, 30000.0}}, 4.0e5, true},
        // A soft curve settles at once: the plain update, never relaxed.
        {"soft curve", {{0.0, 0.0}, {1.0, 2000.0}}, 2000.0, false},
    };
    for (const Case& c : kCases) {
        model::ProblemData problem = ElasticPileProblem(144.0, 1.0e14, 10.0, 48);
        AddElasticSubgradeLayer(problem, 0.0, 200.0, 100.0, 100.0);
        AddLoad(problem, model::kShearAndMoment, 20000.0, 0.0);
        problem.TipShearCurve = c.curve;
        PileRun run(problem);
        ASSERT_EQ(run.Run(), 0) << c.what;
        const model::PileModel& pile = run.ctx().pile;
        const RigidPile rigid(1000.0, 144.0, c.K, 20000.0);
        EXPECT_NEAR(pile.y(1), rigid.y0, 0.01 * rigid.y0) << c.what;
        EXPECT_NEAR(pile.y(pile.N), rigid.tip, 0.01 * std::fabs(rigid.tip)) << c.what;
        // The force is the curve's at the tip deflection.
        EXPECT_NEAR(std::fabs(pile.Vt), c.K * std::fabs(pile.y(pile.N)), 1.0e-3 * std::fabs(pile.Vt)) << c.what;
        EXPECT_EQ(pile.tip_relaxation < 1.0, c.relaxed) << c.what;
    }
}

// A nearly rigid free-head pile (50 ft, EI = 1E14 lb-in^2) in Es = 1000 lb/in^2
// tilts as a body when the thrust's overturning moment P theta L/2... exceeds
// the soil's restoring moment: P_cr = Es L^2 / 12 = 3.0E7 lb. Above it the run
// stops and names the load case; below it, and with the head fixed against
// rotation (no rigid tilt), the cases end normally.
TEST(LoadCases, AxialThrustAboveBucklingStopsWithRuntimeError31) {
    const double Pcr = 1000.0 * 600.0 * 600.0 / 12.0;
    struct Case {
        const char* what;
        int type;
        double factor;  // of P_cr, load case 2
        int expected_code;
    };
    const Case kCases[] = {
        {"free head below P_cr", model::kShearAndMoment, 0.95, 0},
        {"free head above P_cr", model::kShearAndMoment, 1.05, 231},
        {"fixed head above P_cr", model::kShearAndSlope, 1.5, 0},
    };
    for (const Case& c : kCases) {
        model::ProblemData problem = ElasticPileProblem(600.0, 1.0e14, 10.0, 100);
        AddElasticSubgradeLayer(problem, 0.0, 700.0, 100.0, 100.0);
        AddLoad(problem, c.type, 10000.0, 0.0, 0.5 * Pcr);
        AddLoad(problem, c.type, 10000.0, 0.0, c.factor * Pcr);
        PileRun run(problem);
        EXPECT_EQ(run.Run(), c.expected_code) << c.what;
        const RunOutput out = run.Outputs();
        const auto report = out.ReportLines();
        if (c.expected_code == 0) {
            EXPECT_GT(run.ctx().pile.y(1), 0.0) << c.what;  // the head moves with the shear
            continue;
        }
        EXPECT_TRUE(Contains(out.MessageLines(), "Completed Analysis 1")) << c.what;
        EXPECT_TRUE(Contains(report, "**** Runtime Error No. 31 ****")) << c.what;
        EXPECT_TRUE(Contains(report, "Problem:  The axial thrust of load case 2 exceeds what the pile can carry under "
                                     "lateral load."))
            << c.what;
    }
}

}  // namespace
}  // namespace trevasc::testing
