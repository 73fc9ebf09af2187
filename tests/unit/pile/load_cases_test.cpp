// The load-case loop: convergence, iteration limits, excess deflection, the
// errors that end a case and the continuation of an unconverged case of
// loading type 4.
#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

#include "pile/pile_test_support.hpp"

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
ProblemData StandardProblem() {
    ProblemData problem = ElasticPileProblem(600.0, 4.0e10, 24.0, 100);
    AddElasticSubgradeLayer(problem, 0.0, 700.0, 50.0, 50.0);
    AddLoad(problem, kShearAndMoment, 10000.0, 0.0);
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
        ProblemData problem = StandardProblem();
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
    ProblemData problem = StandardProblem();
    problem.PileHeadLoads.clear();
    AddLoad(problem, kDeflectionAndMoment, 0.5, 0.0);
    AddLoad(problem, kShearAndMoment, 10000.0, 0.0);
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
    ProblemData problem = ElasticPileProblem(600.0, 4.0e10, 24.0, 100);
    AddElasticSubgradeLayer(problem, 0.0, 100.0, 50.0, 50.0);
    AddElasticSubgradeLayer(problem, 100.0, 101.0, 50.0, 50.0);  // nodes at 96 and 102 in
    AddElasticSubgradeLayer(problem, 101.0, 700.0, 50.0, 50.0);
    AddLoad(problem, kShearAndMoment, 10000.0, 0.0);
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
        void (*change)(ProblemData&);
        int expected_code;
        const char* expected_line;
    };
    const Case kCases[] = {
        {"a pile without bending stiffness gives no numbers",
         [](ProblemData& p) {
             for (auto& row : p.SectionPropertyTable) row.Inertia = 0.0;
         },
         228, "**** COMPUTATION ERROR 28 ****"},
        {"a pile without sections", [](ProblemData& p) { p.Sections.clear(); }, 297,
         "The pile has no sections or no length."},
        {"a node count beyond the arrays", [](ProblemData& p) { p.Options.NumberOfIncrements = 501; }, 297,
         "The number of pile increments, 501, is outside the range 1 to 500."},
        {"an unknown loading type", [](ProblemData& p) { p.PileHeadLoads[0].LoadingType = 6; }, 297,
         "Load case 1 has loading type 6; the loading types are 1 to 5."},
    };
    for (const Case& c : kCases) {
        ProblemData problem = StandardProblem();
        c.change(problem);
        PileRun run(problem);
        EXPECT_EQ(run.Run(), c.expected_code) << c.what;
        EXPECT_TRUE(Contains(run.Outputs().ReportLines(), c.expected_line)) << c.what;
    }
}

TEST(LoadCases, FrozenSoilHasNoCriterionAndKeepsTheInitialModulus) {
    ProblemData problem = ElasticPileProblem(600.0, 4.0e10, 24.0, 100);
    AddElasticSubgradeLayer(problem, 0.0, 120.0, 50.0, 50.0);
    AddElasticSubgradeLayer(problem, 120.0, 700.0, 0.0, 0.0).KSOIL = kFrozenSoil;
    AddLoad(problem, kShearAndMoment, 10000.0, 0.0);
    PileRun run(problem);
    ASSERT_EQ(run.Run(), 0);
    const PileModel& pile = run.ctx().pile;
    EXPECT_EQ(pile.Es(20), 50.0 * 24.0);           // 114 in: elastic subgrade
    EXPECT_EQ(pile.Es(21), kInitialSoilModulus);   // 120 in: frozen soil
    EXPECT_EQ(pile.Es(101), kInitialSoilModulus);
}

// A warning raised before the load cases (by the echo or the section
// analysis) is counted once, whatever the number of cases.
TEST(LoadCases, WarningsOfTheSetUpAreCountedOnce) {
    PileRun run(StandardProblem());
    run.ctx().warnings.RecordWarning(-302);
    ASSERT_EQ(run.Run(), 0);
    const WarningRegistry& warnings = run.ctx().warnings;
    EXPECT_EQ(warnings.WarningCount[302], 1);
    EXPECT_EQ(warnings.ResultCode(), -302);
    EXPECT_TRUE(warnings.AnyRecorded());  // the run still ended with a warning
    EXPECT_EQ(warnings.WarningLog[1], -302);
}

}  // namespace
}  // namespace trevasc::testing
