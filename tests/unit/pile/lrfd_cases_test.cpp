// LRFD combinations analysed as load cases: the factored head loads formed
// from the unfactored loads, the factored distributed load of every node with
// its report blocks, and the check of the developed moment of every section
// against its factored capacity.
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pile/load_cases.hpp"
#include "pile/node_setup.hpp"
#include "pile/pile_test_support.hpp"

namespace trevasc::testing {
namespace {

// Columns of a line of the performance table.
struct TableColumns {
    std::string capacity, developed, fraction, verdict;
};
TableColumns Columns(const std::string& line) {
    return {line.substr(30, 10), line.substr(43, 10), line.substr(56, 10), line.substr(69, 13)};
}

// Two dead loads of 10 and 5 lb and a live load of 20 lb, all of shear only.
// 1.25 DL gives 18.75 lb; 1.25 DL + 1.75 LL gives 53.75 lb; a combination
// whose factors are all zero gives no load at all.
TEST(LrfdCases, FactoredHeadLoadsAreHandSumsAndDriveTheCases) {
    ElasticPileDeck deck;
    deck.lrfd = true;
    deck.loads =
        "LRFD LOADS\n3\n1 1 10. 0. 0. 0\n2 1 5. 0. 0. 0\n3 2 20. 0. 0. 0\n"
        "LRFD FACTORS AND CASES\n3\n"
        "1 1.25 0 0 0 0 0 0 0 0 0 0 0 0 0.75 0.9\nDead only\n"
        "2 0 0 0 0 0 0 0 0 0 0 0 0 0 0.75 0.9\nNo load\n"
        "3 1.25 1.75 0 0 0 0 0 0 0 0 0 0 0 0.75 0.9\nDead and live\n";
    const RunOutput out = RunInput(ElasticPileInput(deck));
    ASSERT_EQ(out.code, 0) << out.report;
    const auto report = out.ReportLines();
    for (const char* line : {"Factored Horizontal Force =                    18.75 lbs",
                             "Factored Horizontal Force =                     0.00 lbs",
                             "Factored Horizontal Force =                    53.75 lbs"}) {
        EXPECT_LT(FindLine(report, line), report.size()) << line;
    }

    const auto line13 = PlotRecords(out, "Line 13: ");
    ASSERT_EQ(line13.size(), 3u);
    const auto dead = PlotFields(line13[0], 5);
    const auto none = PlotFields(line13[1], 5);
    const auto both = PlotFields(line13[2], 5);
    // Head shear of the solution = factored shear.
    EXPECT_NEAR(dead[0], 18.75, 1.0e-5);
    EXPECT_NEAR(both[0], 53.75, 1.0e-5);
    // A linear pile: the response scales with the factored load.
    for (int f = 1; f < 5; ++f) EXPECT_NEAR(both[f] / dead[f], 53.75 / 18.75, 1.0e-5) << "field " << f;
    EXPECT_GT(dead[1], 0.0);
    // No load, no response.
    for (int f = 0; f < 5; ++f) EXPECT_EQ(none[f], 0.0) << "field " << f;

    // Each combination is a case of its own: Line 11 names it an LRFD case.
    const auto line11 = PlotRecords(out, "Line 11: ");
    ASSERT_EQ(line11.size(), 3u);
    EXPECT_EQ(line11[2], "    0" + std::string(75, ' ') +
                             "Line 11: Num. points on Ytop vs. Length curve for LRFD load case 3");

    // An elastic section has no capacity: it is never checked and never fails.
    const std::size_t rule = FindLine(report, "----   -------   ----------   ----------   ----------   ----------   "
                                              "----------   ----------   ----------   ----------   "
                                              "-----------------------------------------");
    ASSERT_LT(rule + 5, report.size());
    for (int c = 1; c <= 3; ++c) {
        const std::string& line = report[rule + static_cast<std::size_t>(c)];
        EXPECT_EQ(line.substr(0, 11), "  " + std::to_string(c) + "       1") << line;
        const TableColumns columns = Columns(line);
        EXPECT_EQ(columns.capacity, " Infinite ");
        EXPECT_EQ(columns.fraction, "    N/A   ");
        EXPECT_EQ(columns.verdict, "    N/A      ");
    }
    EXPECT_EQ(report[rule + 4], "");
    EXPECT_EQ(report[rule + 5], "All LRFD load combinations have passed for all pile sections.");
}

// A pile of 100 ft in 100 increments (h = 12 in) with a dead load of 2 lb/in
// from the head to 120 in and a wind load of 1 lb/in from 60 to 120 in. Each
// node takes the load of its tributary length [x - h/2, x + h/2] (cut at the
// head) divided by h: the dead load is 1 at the head, 2 at nodes 2 to 10 and
// 1 at 120 in; the wind load 0.5 at 60 in, 1 at 72 to 108 in and 0.5 at
// 120 in.
model::ProblemData DistributedLoadProblem() {
    model::ProblemData problem = ElasticPileProblem(1200.0, 1.0e10, 10.0, 100);
    AddElasticSubgradeLayer(problem, 0.0, 1300.0, 100.0, 100.0);
    problem.Options.UseLrfd = true;
    problem.AxialThrustList = {0.0};
    model::LrfdLoad dead;
    dead.LrfdLoadType = 1;
    dead.DistributedLoad = {{0.0, 2.0}, {120.0, 2.0}};
    model::LrfdLoad wind;
    wind.LrfdLoadType = 5;
    wind.DistributedLoad = {{60.0, 1.0}, {120.0, 1.0}};
    model::LrfdLoad live;  // head loads only: no distributed load, no table
    live.LrfdLoadType = 2;
    live.HorizontalForce = 100.0;
    problem.LrfdLoads = {dead, wind, live};
    model::LrfdCombination none;  // every factor 0
    none.Name = "No load";
    model::LrfdCombination factored;
    factored.LoadFactors[0] = 1.5;
    factored.LoadFactors[1] = 1.75;
    factored.LoadFactors[4] = 2.0;
    factored.Name = "1.5 DL + 1.75 LL + 2.0 W";
    problem.LrfdCombinations = {none, factored};
    return problem;
}

TEST(LrfdCases, FactoredDistributedLoadOfEveryNode) {
    PileRun run(DistributedLoadProblem());
    run::RunContext& ctx = run.ctx();
    pile::SetUpNodes(ctx, 1200.0, 0);
    pile::ApplyLrfdDistributedLoads(ctx, 2);
    const model::PileModel& pile = ctx.pile;
    for (int k = 1; k <= pile.N; ++k) {
        const double x = pile.x(k);
        const double dead = x == 0.0 || x == 120.0 ? 1.0 : (x < 120.0 ? 2.0 : 0.0);
        const double wind = x == 60.0 || x == 120.0 ? 0.5 : (x > 60.0 && x < 120.0 ? 1.0 : 0.0);
        EXPECT_NEAR(pile.Q(k), 1.5 * dead + 2.0 * wind, 1.0e-12) << "node " << k;
        EXPECT_EQ(pile.R(k), pile.Q(k)) << "node " << k;
    }
    pile::ApplyLrfdDistributedLoads(ctx, 1);
    for (int k = 1; k <= pile.N; ++k) EXPECT_EQ(pile.Q(k), 0.0) << "node " << k;
}

TEST(LrfdCases, DistributedLoadTablesListOnlyLoadedNodes) {
    PileRun run(DistributedLoadProblem());
    run::RunContext& ctx = run.ctx();
    pile::SetUpNodes(ctx, 1200.0, 0);
    pile::ApplyLrfdDistributedLoads(ctx, 1);
    const auto report = run.Outputs().ReportLines();
    auto block = [](const std::string& name, std::vector<std::string> rows) {
        std::vector<std::string> lines = {"",
                                          "",
                                          "Distributed Lateral Loads for LRFD:",
                                          "-----------------------------------",
                                          "",
                                          "",
                                          "Sums of Distributed Lateral Load Per Unit Length due to " + name,
                                          "",
                                          "   Depth     Distributed Load",
                                          "    in            lbs/in",
                                          "----------   ----------------"};
        lines.insert(lines.end(), rows.begin(), rows.end());
        lines.push_back("");
        return lines;
    };
    std::vector<std::string> expected = block("Dead Loads                    ",
                                              {"      0.00         1.00", "     12.00         2.00",
                                               "     24.00         2.00", "     36.00         2.00",
                                               "     48.00         2.00", "     60.00         2.00",
                                               "     72.00         2.00", "     84.00         2.00",
                                               "     96.00         2.00", "    108.00         2.00",
                                               "    120.00         1.00"});
    // The tables are of the unfactored loads: the same for every combination.
    const auto wind = block("Wind Loads                    ",
                            {"     60.00         0.50", "     72.00         1.00", "     84.00         1.00",
                             "     96.00         1.00", "    108.00         1.00", "    120.00         0.50"});
    expected.insert(expected.end(), wind.begin(), wind.end());
    EXPECT_EQ(report, expected);
}

TEST(LrfdCases, CombinationWithAllFactorsZeroLeavesThePileAtRest) {
    PileRun run(DistributedLoadProblem());
    ASSERT_EQ(run.Run(), 0);
    const model::CaseResults& none = run.ctx().cases(1);
    const model::CaseResults& loaded = run.ctx().cases(2);
    EXPECT_EQ(none.HeadDeflection, 0.0);
    EXPECT_EQ(none.MaxMoment, 0.0);
    EXPECT_EQ(none.MaxShear, 0.0);
    // The distributed load of the other combination bends the pile.
    EXPECT_GT(loaded.HeadDeflection, 0.0);
    EXPECT_NE(loaded.MaxMoment, 0.0);
}

// The performance table from hand-made results: a drilled shaft with a
// capacity per thrust level, an elastic section, and an elastic-plastic pipe
// whose capacity is its plastic moment.
TEST(LrfdCases, PerformanceTableComparesTheDevelopedMomentWithTheFactoredCapacity) {
    model::ProblemData problem = ElasticPileProblem(1200.0, 1.0e10, 10.0, 100);
    problem.Options.UseLrfd = true;
    model::PileSection shaft;
    shaft.SectionType = model::kDrilledShaft;
    model::PileSection elastic;
    elastic.SectionType = model::kElasticPile;
    model::PileSection pipe;
    pipe.SectionType = model::kElasticPlastic;
    pipe.Elastic.ElasticShape = 2;
    problem.Sections = {shaft, elastic, pipe};

    struct Case {
        double phi;
        int thrust_index;
        double shaft_moment, elastic_moment, pipe_moment;
        const char* shaft_fraction;
        const char* shaft_verdict;
        const char* pipe_fraction;
        const char* pipe_verdict;
    };
    // Shaft: Mn = 4.0E6 in-lb at thrust level 1, 8.0E6 at level 2. Pipe:
    // Mp = 5000 kip-in = 5.0E6 in-lb.
    const Case kCases[] = {
        // Exactly at the factored capacity 0.75 * 4.0E6 = 3.0E6: fails.
        {0.75, 1, 3.0e6, 1.0e12, 1.0e6, "    1.0000", "  > FAIL <   ", "    0.2667", "    Pass     "},
        // Negative moments count by their magnitude.
        {0.75, 1, -3.1e6, -1.0e12, -3.75e6, "    1.0333", "  > FAIL <   ", "    1.0000", "  > FAIL <   "},
        // Thrust level 2: 7.0E6 against 0.9 * 8.0E6 = 7.2E6 passes.
        {0.9, 2, 7.0e6, 0.0, 0.0, "    0.9722", "    Pass     ", "    0.0000", "    Pass     "},
    };
    for (const Case& c : kCases) {
        model::LrfdCombination combination;
        combination.MomentResistanceFactor = c.phi;
        combination.ThrustIndex = c.thrust_index;
        combination.Name = "Combination " + std::to_string(problem.LrfdCombinations.size() + 1);
        problem.LrfdCombinations.push_back(combination);
    }
    PileRun run(problem);
    run::RunContext& ctx = run.ctx();
    model::SectionStiffness shaft_table;
    shaft_table.Source = model::StiffnessSource::MomentCurvature;
    shaft_table.Levels = {model::ThrustLevelCurve{0.0, 4.0e6, {}}, model::ThrustLevelCurve{100.0, 8.0e6, {}}};
    model::SectionStiffness elastic_table;
    elastic_table.Source = model::StiffnessSource::Elastic;
    model::SectionStiffness pipe_table;
    pipe_table.Source = model::StiffnessSource::ElasticPlastic;
    pipe_table.PlasticMomentTop = pipe_table.PlasticMomentBottom = 5000.0;
    ctx.stiffness.Sections = {shaft_table, elastic_table, pipe_table};
    for (std::size_t i = 0; i < std::size(kCases); ++i) {
        model::CaseResults& results = ctx.cases(static_cast<int>(i + 1));
        results.SectionMaxMoment[1] = kCases[i].shaft_moment;
        results.SectionMaxMoment[2] = kCases[i].elastic_moment;
        results.SectionMaxMoment[3] = kCases[i].pipe_moment;
    }

    pile::WriteLrfdPerformanceTable(ctx);
    EXPECT_EQ(ctx.warnings.WarningCount[400], 3);
    const auto report = run.Outputs().ReportLines();
    const std::size_t heading = FindLine(report, std::string(19, ' ') + "LRFD Performance by Load Case Combination");
    ASSERT_LT(heading + 8 + 9 + 2, report.size());
    std::size_t row = heading + 9;
    for (std::size_t i = 0; i < std::size(kCases); ++i) {
        const Case& c = kCases[i];
        SCOPED_TRACE("combination " + std::to_string(i + 1));
        const TableColumns shaft_columns = Columns(report[row]);
        EXPECT_NEAR(std::stod(shaft_columns.capacity), c.phi * (c.thrust_index == 1 ? 4.0e6 : 8.0e6), 1.0);
        EXPECT_NEAR(std::stod(shaft_columns.developed), c.shaft_moment, 1.0);
        EXPECT_EQ(shaft_columns.fraction, c.shaft_fraction);
        EXPECT_EQ(shaft_columns.verdict, c.shaft_verdict);
        const TableColumns elastic_columns = Columns(report[row + 1]);
        EXPECT_EQ(elastic_columns.capacity, " Infinite ");
        EXPECT_EQ(elastic_columns.fraction, "    N/A   ");
        EXPECT_EQ(elastic_columns.verdict, "    N/A      ");
        const TableColumns pipe_columns = Columns(report[row + 2]);
        EXPECT_NEAR(std::stod(pipe_columns.capacity), c.phi * 5.0e6, 1.0);
        EXPECT_EQ(pipe_columns.fraction, c.pipe_fraction);
        EXPECT_EQ(pipe_columns.verdict, c.pipe_verdict);
        // The line ends with the combination's name in 256 characters.
        EXPECT_EQ(report[row + 2].size(), 121u + 256u);
        EXPECT_EQ(report[row + 2].substr(121, 13), "Combination " + std::to_string(i + 1));
        row += 3;
    }
    EXPECT_EQ(report[row], "");
    EXPECT_EQ(report[row + 1], "3 LRFD load combinations have failed.");
}

}  // namespace
}  // namespace trevasc::testing
