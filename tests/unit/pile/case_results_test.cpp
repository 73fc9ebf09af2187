// The results pass of a load case: report block, plot records, output
// verification and the head response kept for the summaries.
#include <algorithm>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "pile/case_results.hpp"
#include "pile/node_setup.hpp"
#include "pile/pile_test_support.hpp"
#include "report/report_helpers.hpp"
#include "run/error_stop.hpp"

namespace trevasc::testing {

using model::ProblemData;
using model::UnitSystem;
using report::AdaptiveNumber;

namespace {

const std::string kRule(80, '-');

// "label" continued at column 56 with "= ", the value and the unit.
std::string At56(std::string label, const std::string& rest) {
    label.resize(55, ' ');
    return label + "= " + rest;
}

// The lines of `text` from the first line equal to `first`, `count` of them.
std::vector<std::string> LinesFrom(const std::vector<std::string>& lines, const std::string& first, std::size_t count) {
    const auto start = std::find(lines.begin(), lines.end(), first);
    if (start == lines.end()) return {};
    const auto end = std::min(lines.end(), start + static_cast<std::ptrdiff_t>(count));
    return {start, end};
}

ProblemData Standard(UnitSystem units = UnitSystem::USCS) {
    ProblemData problem = ElasticPileProblem(600.0, 4.0e10, 24.0, 100, units);
    AddElasticSubgradeLayer(problem, 0.0, 700.0, 50.0, 50.0);
    AddLoad(problem, model::kShearAndMoment, 10000.0, 0.0);
    return problem;
}

TEST(CaseResults, ReportBlockOfAPileHeadLoadCase) {
    PileRun run(Standard());
    ASSERT_EQ(run.Run(), 0);
    const model::CaseResults results = run.ctx().cases(1);
    const auto report = run.Outputs().ReportLines();
    const std::vector<std::string> opening = {
        kRule,
        "                 Computed Values of Pile Loading and Deflection",
        "                   for Lateral Loading for Load Case Number 1",
        kRule,
        "",
        "Pile-head conditions are Shear and Moment (Loading Type 1)",
        "",
        At56("Horizontal shear force at pile head", "      10000.000 lbs"),
        At56("Applied moment at pile head", "          0.000 in-lbs"),
        At56("Axial thrust load on pile head", "          0.000 lbs"),
        "",
        "   Depth    Deflect.    Bending    Shear       Slope      Total    Bending   Soil Res.  Soil Spr.   Distrib. ",
        "     X         y        Moment     Force         S       Stress   Stiffness      p         Es*h    Lat. Load ",
        "   inches    inches     in-lbs      lbs       radians     psi*      lb-in^2    lb/in      lb/inch    lb/inch ",
        "---------- ---------- ---------- ---------- ---------- ---------- ---------- ---------- ---------- ----------",
    };
    EXPECT_EQ(LinesFrom(report, kRule, opening.size()), opening);

    // One row per node (print increment 1), the head row with the applied
    // shear and moment.
    const auto first_row = std::find(report.begin(), report.end(), opening.back()) + 1;
    const auto footnote = std::find(first_row, report.end(), "");
    EXPECT_EQ(footnote - first_row, 101);
    EXPECT_EQ(first_row->substr(0, 10), "      0.00");
    EXPECT_EQ(first_row->substr(21, 22), "      0.000 10000.0000");

    const std::vector<std::string> closing = {
        "",
        "* This analysis makes computations of pile response using nonlinear moment-curvature relationships. ",
        "  The above values of total stress are computed for combined axial stress and do not equal the ",
        "  actual stresses in concrete and steel in the range of nonlinear bending. ",
        "",
        "",
        "Output Verification: Computed forces and moments are within specified convergence limits.",
        "",
        "",
        "Output Summary for Load Case No. 1:",
        "",
        "Pile-head deflection             = " + AdaptiveNumber(results.HeadDeflection, 14) + " inches",
        "Computed slope at pile head      = " + AdaptiveNumber(results.HeadSlope, 14) + " radians",
        "Maximum bending moment           = " + AdaptiveNumber(results.MaxMoment, 14) + " inch-lbs",
        "Maximum shear force              =  10000.0000000 lbs",
        "Depth of maximum bending moment  = " + AdaptiveNumber(results.MaxMomentDepth, 14) + " inches below pile head",
        "Depth of maximum shear force     =       0.000000 inches below pile head",
        "Number of iterations             =              6",
    };
    const auto block = std::vector<std::string>(footnote, std::min(report.end(), footnote + 19));
    ASSERT_EQ(block.size(), 19u);
    EXPECT_EQ(std::vector<std::string>(block.begin(), block.end() - 1), closing);
    // The count of zero-deflection points in I14.
    EXPECT_EQ(block.back().substr(0, 35), "Number of zero deflection points = ");
    EXPECT_EQ(block.back().size(), 49u);
    // The head response kept for the summaries.
    EXPECT_EQ(results.HeadShear, 10000.0);
    EXPECT_EQ(results.HeadMoment, 0.0);
    EXPECT_GT(results.HeadDeflection, 0.0);
    EXPECT_LT(results.HeadSlope, 0.0);
}

TEST(CaseResults, PileHeadConditionBlocksOfEveryLoadingType) {
    struct Case {
        int type;
        double c1, c2;
        UnitSystem units;
        std::vector<std::string> lines;
    };
    const Case kCases[] = {
        {model::kShearAndSlope, 10000.0, 0.0, UnitSystem::USCS,
         {"Pile-head conditions are Shear and Pile-head Rotation (Loading Type 2)", "",
          At56("Shear force at pile head", "      10000.000 lbs"), At56("Rotation of pile head", "      0.000E+00 radians"),
          At56("Axial load at pile head", "          0.000 lbs"), "",
          "(Zero slope for this load indicates fixed-head conditions)", ""}},
        {model::kShearAndSlope, 40.0, -0.001, UnitSystem::SI,
         {"Pile-head conditions are Shear and Pile-head Rotation (Loading Type 2)", "",
          At56("Shear force at pile head", "         40.000 kN"), At56("Rotation of pile head", "     -0.100E-02 radians"),
          At56("Axial load at pile head", "          0.000 kN"), "",
          "(Non-zero slope for this load does indicates rotated pile-head condition)", ""}},
        {model::kShearAndRotationalStiffness, 10000.0, 1.0e9, UnitSystem::USCS,
         {"Pile-head conditions are Shear and Rotational Stiffness (Loading Type 3)",
          At56("Shear force at pile head", "      10000.000 lb"),
          At56("Rotational stiffness", " 1000000000.000 in-lb/rad"), At56("Axial load at pile head", "          0.000 lbs"),
          ""}},
        {model::kDeflectionAndMoment, 0.01, 5.0, UnitSystem::SI,
         {"Pile-head conditions are Displacement and Moment (Loading Type 4)",
          At56("Displacement of pile head", "       0.010000 meters"), At56("Moment at pile head", "          5.000 kN-m"),
          At56("Axial load at pile head", "          0.000 kN"), ""}},
        {model::kDeflectionAndSlope, 0.25, 0.0, UnitSystem::USCS,
         {"Pile-head conditions are Displacement and Pile-head Rotation (Loading Type 5)",
          At56("Displacement of pile head", "       0.250000 inches"),
          At56("Rotation of pile head", "      0.000E+00 radians"), At56("Axial load on pile head", "          0.000 lbs"),
          ""}},
    };
    for (const Case& c : kCases) {
        // The SI pile: 15 m, EI = 1.6E5 kN-m^2, 0.6 m wide, in 8000 kN/m^3.
        ProblemData problem = c.units == UnitSystem::SI ? ElasticPileProblem(15.0, 1.6e5, 0.6, 100, c.units)
                                                        : ElasticPileProblem(600.0, 4.0e10, 24.0, 100, c.units);
        if (c.units == UnitSystem::SI) {
            AddElasticSubgradeLayer(problem, 0.0, 20.0, 8000.0, 8000.0);
        } else {
            AddElasticSubgradeLayer(problem, 0.0, 700.0, 50.0, 50.0);
        }
        AddLoad(problem, c.type, c.c1, c.c2);
        PileRun run(problem);
        ASSERT_EQ(run.Run(), 0) << c.lines.front();
        EXPECT_EQ(LinesFrom(run.Outputs().ReportLines(), c.lines.front(), c.lines.size()), c.lines);
    }
}

TEST(CaseResults, PrintIncrementSelectsTheRows) {
    struct Case {
        int increments;
        int print_increment;
        int rows;
        const char* last_row_depth;  // depth field of the last row
    };
    // 600 in pile: with 100 increments (h = 6 in) rows at nodes 1, 6, ..., 101;
    // with 99 increments the last printed node is 96, at 95 h.
    const Case kCases[] = {
        {100, 5, 21, "   600.000"},
        {99, 5, 20, "   575.758"},
    };
    for (const Case& c : kCases) {
        ProblemData problem = Standard();
        problem.Options.NumberOfIncrements = c.increments;
        problem.Options.PrintIncrement = c.print_increment;
        PileRun run(problem);
        ASSERT_EQ(run.Run(), 0);
        const auto report = run.Outputs().ReportLines();
        const auto first_row =
            std::find(report.begin(), report.end(),
                      "---------- ---------- ---------- ---------- ---------- ---------- ---------- ---------- ---------- ----------") +
            1;
        const auto end = std::find(first_row, report.end(), "");
        EXPECT_EQ(end - first_row, c.rows) << c.increments;
        EXPECT_EQ((end - 1)->substr(0, 10), c.last_row_depth) << c.increments;
    }
}

TEST(CaseResults, WhatTheOptionsLeaveInTheReport) {
    struct Case {
        const char* what;
        void (*change)(ProblemData&);
        bool heading, head_block, column_heading, rows, verification, summary_heading, summary_lines;
    };
    const Case kCases[] = {
        {"summary only", [](ProblemData& p) { p.Options.PrintSummaryOnly = true; },
         false, false, false, false, false, false, false},
        {"general units", [](ProblemData& p) { p.Options.Units = UnitSystem::GENERAL; },
         true, false, false, true, false, true, false},
        {"constant EI (mode 1)", [](ProblemData& p) { p.Options.AnalysisMode = 1; },
         true, true, false, false, true, true, true},
    };
    for (const Case& c : kCases) {
        ProblemData problem = Standard();
        c.change(problem);
        PileRun run(problem);
        ASSERT_EQ(run.Run(), 0) << c.what;
        const RunOutput out = run.Outputs();
        const auto& r = out.report;
        EXPECT_EQ(r.find("Computed Values of Pile Loading and Deflection") != std::string::npos, c.heading) << c.what;
        EXPECT_EQ(r.find("Pile-head conditions are") != std::string::npos, c.head_block) << c.what;
        EXPECT_EQ(r.find("   Depth    Deflect.") != std::string::npos, c.column_heading) << c.what;
        // A table row starts with the head depth, 0.00 in a 10-column field.
        EXPECT_EQ(r.find("\n      0.00 ") != std::string::npos, c.rows) << c.what;
        EXPECT_EQ(r.find("Output Verification:") != std::string::npos, c.verification) << c.what;
        EXPECT_EQ(r.find("Output Summary for Load Case No. 1:") != std::string::npos, c.summary_heading) << c.what;
        EXPECT_EQ(r.find("Pile-head deflection             = ") != std::string::npos, c.summary_lines) << c.what;
        // The plot records and the kept results do not depend on the options.
        EXPECT_EQ(out.PlotLines().size(), 1u + 1u + 101u + 1u) << c.what;
        EXPECT_GT(run.ctx().cases(1).HeadDeflection, 0.0) << c.what;
    }
}

TEST(CaseResults, PlotRecordsOfTheCase) {
    PileRun run(Standard());
    ASSERT_EQ(run.Run(), 0);
    const auto plot = run.Outputs().PlotLines();
    ASSERT_EQ(plot.size(), 104u);
    EXPECT_EQ(plot[0], "    0" + std::string(75, ' ') + "Line 6 : number of output p-y curves");
    EXPECT_EQ(plot[1], "    1  101    1" + std::string(65, ' ') + "Line 9:  No. loads, No. nodes, iunits: 1 = USCS, 2 = SI");
    // Node 1: depth 0, then y, M = 0 (free head), V = 10000, p, EI = 4E10.
    EXPECT_EQ(plot[2].substr(0, 15), "  0.0000000E+00");
    EXPECT_EQ(plot[2].substr(30, 30), "  0.0000000E+00  0.1000000E+05");
    EXPECT_EQ(plot[2].substr(75), "  0.4000000E+11 Line 10(  1): nodal depth, y, M, V, p, EI");
    EXPECT_EQ(plot[102].substr(0, 15), "  0.6000000E+03");
    EXPECT_EQ(plot[102].substr(90), " Line 10(101): nodal depth, y, M, V, p, EI");
    EXPECT_EQ(plot[103], "    0" + std::string(75, ' ') + "Line 11: Num. points on Ytop vs. Length curve for load case 1");
}

// The results pass over deflections set by hand (no solution).
struct HandSetCase {
    std::unique_ptr<PileRun> run;
    explicit HandSetCase(const std::vector<double>& y) {
        ProblemData problem = ElasticPileProblem(240.0, 1.0e9, 12.0, 40);
        AddElasticSubgradeLayer(problem, 0.0, 300.0, 10.0, 10.0);
        AddLoad(problem, model::kShearAndMoment, 0.0, 0.0);
        run = std::make_unique<PileRun>(problem);
        run::RunContext& ctx = run->ctx();
        pile::SetUpNodes(ctx, 240.0, 0);
        model::PileModel& pile = ctx.pile;
        pile.y.Fill(0.0);
        for (std::size_t i = 0; i < y.size(); ++i) pile.y(static_cast<int>(i) + 1) = y[i];
        pile.LoadingType = model::kShearAndMoment;
        pile::Write_Case_Results(ctx, 1);
    }
};

TEST(CaseResults, ZeroDeflectionPointsCountSignChangesBetweenNeighbours) {
    struct Case {
        std::vector<double> y;  // nodes 1, 2, ...; the rest 0
        const char* expected;
    };
    const Case kCases[] = {
        {{1.0, 0.5, -0.5, -0.2}, "             1"},   // one change (then -0.2 to 0 is none)
        {{1.0, 0.0, -1.0}, "             0"},       // y = (+, 0, -): a zero node breaks the change
        {{1.0, -1.0, 1.0, -1.0}, "             3"},
        // Deflections below 1E-20 print as 0, so their sign changes are not
        // zero-deflection points of the printed curve.
        {{1.0, -1.0, 1.0e-21, -1.0e-21, 1.0e-21}, "             1"},
        {{1.0, -1.0e-21, -1.0}, "             0"},  // (+, printed 0, -): broken as by an exact 0
        {{1.0e-20, -1.0e-20}, "             1"},   // 1E-20 itself prints
    };
    for (const Case& c : kCases) {
        HandSetCase hand(c.y);
        const auto report = hand.run->Outputs().ReportLines();
        const auto line = std::find_if(report.begin(), report.end(), [](const std::string& l) {
            return l.rfind("Number of zero deflection points = ", 0) == 0;
        });
        ASSERT_NE(line, report.end());
        EXPECT_EQ(line->substr(35), c.expected);
    }
}

// The last guard before a solution is reported: a node response that is not
// a finite number stops the run with runtime error 40, naming the case, the
// node and the quantity, before any line of the case is written.
TEST(CaseResults, NonFiniteSolutionStopsBeforeTheCaseIsWritten) {
    struct Case {
        std::vector<double> y;
        const char* message;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const Case kCases[] = {
        {{nan, 1.0, 0.5}, "The deflection of load case 1 at node 1 (depth 0.0000E+00 in) is not a finite number."},
        {{-inf, 1.0, 0.5}, "The deflection of load case 1 at node 1 (depth 0.0000E+00 in) is not a finite number."},
        // y(3) first enters the slope of node 2, (y(3) - y(1)) / 2h, before
        // the deflection of node 3 is reached; the head shear and moment of
        // this loading type are the prescribed values.
        {{1.0, 0.5, nan}, "The slope of load case 1 at node 2 (depth 0.6000E+01 in) is not a finite number."},
    };
    for (const Case& c : kCases) {
        ProblemData problem = ElasticPileProblem(240.0, 1.0e9, 12.0, 40);
        AddElasticSubgradeLayer(problem, 0.0, 300.0, 10.0, 10.0);
        AddLoad(problem, model::kShearAndMoment, 0.0, 0.0);
        PileRun run(problem);
        run::RunContext& ctx = run.ctx();
        ctx.labels = model::MakeUnitLabels(UnitSystem::USCS);
        pile::SetUpNodes(ctx, 240.0, 0);
        ctx.pile.y.Fill(0.0);
        for (std::size_t i = 0; i < c.y.size(); ++i) ctx.pile.y(static_cast<int>(i) + 1) = c.y[i];
        ctx.pile.LoadingType = model::kShearAndMoment;
        std::int32_t stopped = 0;
        try {
            pile::Write_Case_Results(ctx, 1);
        } catch (const run::RunStop& stop) {
            stopped = stop.error_number;
        }
        EXPECT_EQ(stopped, 240) << c.message;
        const RunOutput out = run.Outputs();
        const auto report = out.ReportLines();
        EXPECT_NE(FindLine(report, c.message), report.size()) << out.report;
        EXPECT_NE(FindLine(report, "**** Runtime Error No. 40 ****"), report.size());
        EXPECT_EQ(FindLine(report, std::string(17, ' ') + "Computed Values of Pile Loading and Deflection"),
                  report.size());
        EXPECT_TRUE(PlotRecords(out, "Line 10(").empty());
    }
}

TEST(CaseResults, ValuesBelow1EMinus20PrintAsZero) {
    HandSetCase hand({1.0e-21, 1.0e-21, 1.0e-21});
    const auto plot = hand.run->Outputs().PlotLines();
    // Line 9 first, then node 1: the deflection 1E-21 is written as 0.
    ASSERT_GE(plot.size(), 2u);
    EXPECT_EQ(plot[1].substr(15, 15), "  0.0000000E+00");
}

// Every converged solution holds the equilibrium of each pile segment: the
// moment imbalance stays within 1 in-lb (1.1298E-4 kN-m in SI).
TEST(OutputVerification, ConvergedSolutionsAreInEquilibrium) {
    struct Case {
        const char* what;
        void (*change)(ProblemData&);
    };
    const Case kCases[] = {
        {"elastic subgrade, shear", [](ProblemData&) {}},
        {"axial thrust and head moment",
         [](ProblemData& p) {
             p.PileHeadLoads[0].AxialThrust = 200000.0;
             p.PileHeadLoads[0].Condition2 = 5.0e5;
         }},
        {"fixed head", [](ProblemData& p) { p.PileHeadLoads[0].LoadingType = model::kShearAndSlope; }},
        {"distributed load and soil movement",
         [](ProblemData& p) {
             p.DistributedLoad = {{0.0, 30.0}, {120.0, 30.0}};
             p.Options.UseSoilMovement = true;
             p.SoilMovementProfile = {{0.0, 0.2}, {240.0, 0.0}};
         }},
        {"nonlinear user p-y curves",
         [](ProblemData& p) {
             p.Layers.clear();
             AddUserPyLayer(p, 0.0, 700.0, {{0.0, 0.0}, {0.05, 400.0}, {0.5, 1000.0}, {2.0, 1500.0}},
                            {{0.0, 0.0}, {0.05, 1200.0}, {0.5, 3000.0}, {2.0, 4500.0}});
             p.PileHeadLoads[0].Condition1 = 40000.0;
         }},
    };
    for (const Case& c : kCases) {
        ProblemData problem = Standard();
        c.change(problem);
        PileRun run(problem);
        ASSERT_EQ(run.Run(), 0) << c.what;
        const pile::EquilibriumCheck check = pile::Verify_Segment_Equilibrium(run.ctx());
        EXPECT_LE(std::fabs(check.MomentImbalance), 1.0) << c.what;
        EXPECT_NE(run.Outputs().report.find("Output Verification: Computed forces and moments are within"),
                  std::string::npos)
            << c.what;
    }
}

TEST(OutputVerification, AnUnbalancedSolutionIsFlaggedInBothFiles) {
    struct Case {
        UnitSystem units;
        std::string report_code, messages_code, moment_unit;
    };
    const Case kCases[] = {
        {UnitSystem::USCS, "POSSIBLE SOLUTION ERROR 5501", "POSSIBLE SOLUTION ERROR 550", "in-lbs"},
        {UnitSystem::SI, "Possible Solution Error 5501", "Possible Solution Error 550", "m-kN"},
    };
    for (const Case& c : kCases) {
        ProblemData problem = c.units == UnitSystem::SI ? ElasticPileProblem(15.0, 1.6e5, 0.6, 100, c.units)
                                                        : ElasticPileProblem(600.0, 4.0e10, 24.0, 100, c.units);
        const double kes = c.units == UnitSystem::SI ? 8000.0 : 50.0;
        AddElasticSubgradeLayer(problem, 0.0, 700.0, kes, kes);
        AddLoad(problem, model::kShearAndMoment, c.units == UnitSystem::SI ? 40.0 : 10000.0, 0.0);
        PileRun run(problem);
        ASSERT_EQ(run.Run(), 0);
        run::RunContext& ctx = run.ctx();
        // Displace one node off the solution: the segments around it are out
        // of balance, the largest moment imbalance at the step after it.
        ctx.pile.y(50) += 0.01 * ctx.pile.y(1);
        pile::Write_Case_Results(ctx, 1);
        const pile::EquilibriumCheck check = pile::Verify_Segment_Equilibrium(ctx);
        EXPECT_GE(check.MomentStep, 50);
        EXPECT_LE(check.MomentStep, 52);
        const RunOutput out = run.Outputs();
        const auto report = out.ReportLines();
        const auto messages = out.MessageLines();
        const std::vector<std::string> text = {
            "**** Warning - " + c.report_code + " ****",
            "",
            "Force and moment imbalances may be too large for a good solution.",
            "",
            "The cause of the imbalance may be due to extreme changes in magnitude",
            "of nonlinear bending stiffness within three nodal points of the top of the pile",
            "which may affect the finite difference computation of shear force.",
            "",
            "Please examine curves and printed output for deflection, moment, shear force,",
            "and number of iterations to determine if computed values are reasonable.",
            "If the shear force shows large changes, increase the number of nodal points",
            "(pile increments) and repeat the analysis.",
            "",
        };
        const auto in_report = LinesFrom(report, text.front(), text.size() + 2);
        ASSERT_EQ(in_report.size(), text.size() + 2);
        EXPECT_EQ(std::vector<std::string>(in_report.begin(), in_report.begin() + 13), text);
        EXPECT_EQ(in_report[13], "Maximum internal moment imbalance for pile        = " +
                                     AdaptiveNumber(check.MomentImbalance, 12) + " " + c.moment_unit);
        EXPECT_EQ(in_report[14].substr(0, 52), "Maximum internal lateral force imbalance for pile = ");
        const auto in_messages = LinesFrom(messages, "**** Warning - " + c.messages_code + " ****", 15);
        ASSERT_EQ(in_messages.size(), 15u);
        EXPECT_EQ(in_messages[13].rfind("Maximum internal moment imbalance for pile solution         = ", 0), 0u);
        EXPECT_NE(in_messages[13].find(" at node " + std::to_string(check.MomentStep)), std::string::npos);
        EXPECT_EQ(out.report.find("Output Verification:", out.report.find(c.report_code)), std::string::npos);
    }
}

}  // namespace
}  // namespace trevasc::testing
