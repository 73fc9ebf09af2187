// The elastic subgrade and user-input p-y criteria, in analysis and report
// modes, and the p-y curves printed at chosen depths.
#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

#include "pile/node_setup.hpp"
#include "pile/pile_test_support.hpp"
#include "run/error_stop.hpp"
#include "soil/criteria.hpp"
#include "soil/py_output.hpp"

namespace trevasc::testing {
namespace {

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(ElasticSubgrade, SecantModulusIsPmKesBOverYmAtAnyDeflection) {
    // 240 in pile, 12 in wide, 40 increments (h = 6); one layer 0-240 in with
    // kes from 100 to 340 lb/in^3; multipliers 0.8 and 2 below 120 in.
    model::ProblemData problem = ElasticPileProblem(240.0, 1.0e9, 12.0, 40);
    AddElasticSubgradeLayer(problem, 0.0, 240.0, 100.0, 340.0);
    problem.PyModifierProfile = {{120.0, 0.8, 2.0}, {240.0, 0.8, 2.0}};
    problem.PyModifierCount = 2;
    PileRun run(problem);
    run::RunContext& ctx = run.ctx();
    pile::SetUpNodes(ctx, 240.0, 0);
    for (int k = 1; k <= ctx.pile.N; ++k) ctx.pile.y(k) = 0.37 * std::sin(k);  // any deflection
    soil::ElasticSubgradeSprings(ctx, 1, 1, ctx.pile.N);
    for (int k = 1; k <= ctx.pile.N; ++k) {
        const double x = ctx.pile.x(k);
        const double kes = 100.0 + x;  // 1 lb/in^3 per inch of depth
        const double multipliers = x >= 120.0 ? 0.8 / 2.0 : 1.0;
        EXPECT_NEAR(ctx.pile.Es(k), multipliers * kes * 12.0, 1.0e-9) << "node " << k;
    }
}

// A user p-y layer from 0 to 120 in whose bottom curve is three times the top
// curve; nodes every 6 in.
struct UserLayer {
    std::unique_ptr<PileRun> run;
    explicit UserLayer(std::vector<std::array<double, 2>> top,
                       std::vector<std::array<double, 2>> bottom, void (*change)(model::ProblemData&) = nullptr) {
        model::ProblemData problem = ElasticPileProblem(120.0, 1.0e9, 12.0, 40);  // h = 3 in
        AddUserPyLayer(problem, 0.0, 120.0, std::move(top), std::move(bottom));
        if (change != nullptr) change(problem);
        run = std::make_unique<PileRun>(problem);
        pile::SetUpNodes(run->ctx(), 120.0, 0);
    }
    run::RunContext& ctx() { return run->ctx(); }
};

TEST(UserPyCurves, SecantModulusFromTheCurvesInterpolatedInDepth) {
    const std::vector<std::array<double, 2>> top = {{0.0, 0.0}, {0.1, 100.0}, {0.5, 300.0}};
    const std::vector<std::array<double, 2>> bottom = {{0.0, 0.0}, {0.1, 300.0}, {0.5, 900.0}};
    struct Case {
        const char* what;
        int node;          // node 21 is at 60 in, halfway
        double y;
        double expected_Es;
    };
    const Case kCases[] = {
        // Top curve at 0.3: 200, bottom 600; halfway 400.
        {"on the second segments", 21, 0.3, 400.0 / 0.3},
        {"negative deflection", 21, -0.3, 400.0 / 0.3},
        // At the first point: the initial modulus p2/y2, 1000 and 3000 halfway.
        {"zero deflection: initial modulus", 21, 0.0, 2000.0},
        // Beyond the last point: the last p of each curve, 300 and 900.
        {"beyond the last point", 21, 1.0, 600.0},
        {"top of the layer", 1, 0.05, 50.0 / 0.05},
        {"bottom of the layer", 41, 0.05, 150.0 / 0.05},
    };
    for (const Case& c : kCases) {
        UserLayer layer(top, bottom);
        model::PileModel& pile = layer.ctx().pile;
        pile.y(c.node) = c.y;
        soil::UserPySprings(layer.ctx(), 1, 1, pile.N);
        EXPECT_NEAR(pile.Es(c.node), c.expected_Es, 1.0e-9 * c.expected_Es) << c.what;
    }
}

TEST(UserPyCurves, CurveNotStartingAtZeroIsExtendedAlongItsFirstSegment) {
    // Evaluated below its first point (y = 0.02 < 0.05) the curve follows the
    // line through its first two points: p = 20 at 0.02.
    const std::vector<std::array<double, 2>> curve = {{0.05, 50.0}, {0.1, 100.0}, {0.5, 120.0}};
    UserLayer layer(curve, curve);
    layer.ctx().pile.y(10) = 0.02;
    soil::UserPySprings(layer.ctx(), 1, 1, layer.ctx().pile.N);
    EXPECT_NEAR(layer.ctx().pile.Es(10), 20.0 / 0.02, 1.0e-9);
}

TEST(UserPyCurves, MultipliersLayerResistanceAndSoilMovement) {
    const std::vector<std::array<double, 2>> top = {{0.0, 0.0}, {0.1, 100.0}, {0.5, 300.0}};
    const std::vector<std::array<double, 2>> bottom = {{0.0, 0.0}, {0.1, 300.0}, {0.5, 900.0}};
    UserLayer layer(top, bottom, [](model::ProblemData& p) {
        p.PyModifierProfile = {{0.0, 0.5, 2.0}, {120.0, 0.5, 2.0}};
        p.PyModifierCount = 2;
        p.Options.UseSoilMovement = true;
        p.SoilMovementProfile = {{0.0, 0.1}, {120.0, 0.1}};
        p.DistributedLoad = {{0.0, 7.0}, {120.0, 7.0}};
    });
    run::RunContext& ctx = layer.ctx();
    model::PileModel& pile = ctx.pile;
    pile.y(21) = 0.7;  // y* = |0.7 - 0.1| / 2 = 0.3: p = 400 as above
    soil::UserPySprings(ctx, 1, 1, pile.N);
    const double Es = 0.5 * 400.0 / (2.0 * 0.3);
    EXPECT_NEAR(pile.Es(21), Es, 1.0e-9);
    EXPECT_NEAR(pile.R(21), 0.1 * Es + 7.0, 1.0e-9);  // load term ysoil Es + q
    // h pu at every node, pu from 300 (top) to 900 (bottom): 41 nodes
    // averaging 600, times h = 3.
    EXPECT_NEAR(ctx.soil.LayerResistance[1], 41 * 600.0 * 3.0, 1.0e-6);
}

TEST(UserPyCurves, CurvesThatCannotBeEvaluatedStopTheRun) {
    struct Case {
        std::vector<std::array<double, 2>> bottom;
        const char* expected_line;
    };
    const Case kCases[] = {
        {{{0.0, 0.0}}, "It has 1 points; a p-y curve needs at least two."},
        {{{0.0, 0.0}, {0.0, 100.0}, {1.0, 200.0}},
         "Its second point has zero deflection, so its initial modulus p/y is undefined."},
    };
    for (const Case& c : kCases) {
        UserLayer layer({{0.0, 0.0}, {1.0, 100.0}}, c.bottom);
        int error = 0;
        try {
            soil::UserPySprings(layer.ctx(), 1, 1, layer.ctx().pile.N);
        } catch (const run::RunStop& stop) {
            error = stop.error_number;
        }
        EXPECT_EQ(error, 296);
        const RunOutput out = layer.run->Outputs();
        for (const auto& lines : {out.ReportLines(), out.MessageLines()}) {
            EXPECT_TRUE(Contains(lines, "**** Runtime Error No. 96 ****"));
            EXPECT_TRUE(Contains(lines, "The user-input p-y curve at the bottom of soil layer 1 cannot be used."));
            EXPECT_TRUE(Contains(lines, c.expected_line));
        }
    }
}

// The same pile in an elastic subgrade and in user curves that are the
// straight lines p = kes b y: the same springs, the same deflections, and the
// closed-form Winkler head deflection 2 V beta / Es.
TEST(UserPyCurves, LinearCurvesReproduceTheElasticSubgrade) {
    const double kes = 50.0, b = 24.0, EI = 4.0e10, V = 10000.0;
    const double Es = kes * b;
    model::ProblemData subgrade = ElasticPileProblem(1200.0, EI, b, 400);
    AddElasticSubgradeLayer(subgrade, 0.0, 1300.0, kes, kes);
    AddLoad(subgrade, model::kShearAndMoment, V, 0.0);
    model::ProblemData curves = ElasticPileProblem(1200.0, EI, b, 400);
    AddUserPyLayer(curves, 0.0, 1300.0, {{0.0, 0.0}, {1.0, Es}, {10.0, 10.0 * Es}},
                   {{0.0, 0.0}, {1.0, Es}, {10.0, 10.0 * Es}});
    AddLoad(curves, model::kShearAndMoment, V, 0.0);
    PileRun a(subgrade), c(curves);
    ASSERT_EQ(a.Run(), 0);
    ASSERT_EQ(c.Run(), 0);
    for (int k = 1; k <= a.ctx().pile.N; ++k) {
        ASSERT_NEAR(c.ctx().pile.y(k), a.ctx().pile.y(k), 1.0e-9 * std::fabs(a.ctx().pile.y(1))) << "node " << k;
    }
    const double beta = std::pow(Es / (4.0 * EI), 0.25);
    const double bh = beta * a.ctx().pile.h;
    EXPECT_NEAR(a.ctx().pile.y(1), 2.0 * V * beta / Es, bh * bh * 2.0 * V * beta / Es);
}

// Output depths in a two-layer profile: 30 in (elastic subgrade) and 90 in
// (user curves), in USCS with the ground at the pile head.
model::ProblemData TwoLayerProfile(std::vector<double> depths) {
    model::ProblemData problem = ElasticPileProblem(240.0, 1.0e9, 12.0, 40);
    AddElasticSubgradeLayer(problem, 0.0, 60.0, 100.0, 100.0);
    AddUserPyLayer(problem, 60.0, 240.0, {{0.0, 0.0}, {0.5, 200.0}, {2.0, 400.0}},
                   {{0.0, 0.0}, {0.5, 200.0}, {2.0, 400.0}});
    AddLoad(problem, model::kShearAndMoment, 1000.0, 0.0);
    problem.Options.PrintPyCurves = true;
    problem.PyOutputDepths = std::move(depths);
    return problem;
}

std::string At(std::string label, int column, const std::string& rest) {
    label.resize(static_cast<std::size_t>(column - 1), ' ');
    return label + "= " + rest;
}

TEST(PyCurvesAtDepths, ReportModeBlocksOfBothCriteria) {
    PileRun run(TwoLayerProfile({90.0, 30.0}));
    ASSERT_EQ(run.Run(), 0);
    const RunOutput out = run.Outputs();
    const auto report = out.ReportLines();
    const auto start = std::find(report.begin(), report.end(), "p-y Curve for Elastic Subgrade");
    ASSERT_NE(start, report.end());
    // The elastic subgrade curve at 30 in: p = kes b y with y = 0, b/8, ..., 2b.
    const std::vector<std::string> subgrade = {
        "p-y Curve for Elastic Subgrade",
        "",
        At("Soil Layer Number", 56, "         1"),
        At("Depth below pile head", 56, "      30.000 in"),
        At("Depth below Ground Surface", 56, "      30.000 in"),
        At("Shaft Diameter", 56, "      12.000 in"),
        At("Elastic Subgrade Modulus", 56, "     100.000 lbs/in**3"),
        At("p-multiplier", 56, "     1.00000"),
        At("y-multiplier", 56, "     1.00000"),
        "",
        "        y, in        p, lbs/in",
        "---------------   ---------------",
        "         0.0000           0.0000",  // y = 0
        "        1.50000       1800.00000",  // y = b/8 = 1.5: p = 100 * 12 * 1.5
    };
    EXPECT_EQ(std::vector<std::string>(start, start + 14), subgrade);
    EXPECT_EQ(*(start + 12 + 16), "       24.00000           28800.");  // y = 2b: F11.0 above 10000
    // Two blank lines close each layer's block.
    EXPECT_EQ(*(start + 29), "");
    EXPECT_EQ(*(start + 30), "");

    // The user curve at 90 in: 0.001 in first, then fractions of b.
    const auto user = std::find(report.begin(), report.end(), "p-y Curve Computed by Interpolation Between User-input Curves");
    ASSERT_NE(user, report.end());
    const std::vector<std::string> user_block = {
        "p-y Curve Computed by Interpolation Between User-input Curves",
        "",
        "Soil Layer Number           =            2",
        "Depth below pile head       =        7.500 ft",
        "Depth below ground surface  =        7.500 ft",
        "Pile diameter               =       12.000 in",
        "p-multiplier                =        1.000",
        "y-multiplier                =        1.000",
        "",
        "      y, in             p, lbs/in",
        "----------------    ----------------",
        "         0.0000              0.0000",
        "         0.0010              0.4000",  // 200/0.5 * 0.001
        "         0.0750             30.0000",  // 0.00625 b
    };
    EXPECT_EQ(std::vector<std::string>(user, user + 14), user_block);
    EXPECT_EQ(*(user + 11 + 16), "         6.0000            400.0000");  // 0.5 b, beyond the last point

    // Plot: Line 6 with the number of depths, then per layer the depths in it.
    const auto plot = out.PlotLines();
    ASSERT_GE(plot.size(), 1u + 18u + 18u);
    EXPECT_EQ(plot[0], "    2" + std::string(75, ' ') + "Line 6 : number of output p-y curves");
    EXPECT_EQ(plot[1], "  0.3000000E+02   17" + std::string(60, ' ') +
                           "Line 7:  p-y curve depth in elastic subgrade soil, no. p-y points on curve no. 2");
    EXPECT_EQ(plot[3], "  0.1500000E+01  0.1800000E+04" + std::string(50, ' ') + "Line 8(2): y, p, for elastic subgrade");
    EXPECT_EQ(plot[19], "  0.9000000E+02   17" + std::string(60, ' ') +
                            "Line 7:  p-y curve depth in user-input p-y curve, no. p-y points on curve no. 1");
    EXPECT_EQ(plot[21], "  0.1000000E-02  0.4000000E+00" + std::string(20, ' ') +
                            "Line 8( 2): y, p, for user-input p-y curve");
    EXPECT_TRUE(Contains(out.MessageLines(), "Computing p-y curves for output at user-specified depths."));
}

TEST(PyCurvesAtDepths, DepthAboveTheGroundSurfaceIsInputError23) {
    model::ProblemData problem = TwoLayerProfile({30.0, 5.0});
    for (auto& layer : problem.Layers) layer.XLayerTop = std::max(layer.XLayerTop, 10.0);
    problem.Layers[0].Top.Depth = 10.0;
    problem.GroundSurfaceDepth = 10.0;
    PileRun run(problem);
    EXPECT_EQ(run.Run(), 123);
    const RunOutput out = run.Outputs();
    const std::vector<std::string> text = {
        "**** Input Data Error No. 23 (NON-FATAL) ****",
        "",
        "p-y curves cannot be generated at depth number 2",
        "This location is     5.000 in  below the pile head and ",
        "is above the ground surface for this problem.",
        "",
        "The ground surface is    10.000 in  below the top of the pile.",
        "",
    };
    for (const auto& lines : {out.ReportLines(), out.MessageLines()}) {
        const auto start = std::find(lines.begin(), lines.end(), text.front());
        ASSERT_NE(start, lines.end());
        EXPECT_EQ(std::vector<std::string>(start, start + 8), text);
    }
    // No curve is printed: the depths are all examined first.
    EXPECT_EQ(out.report.find("p-y Curve for Elastic Subgrade"), std::string::npos);
    EXPECT_EQ(out.PlotLines().back(), "  0.5000000E+01    0" + std::string(60, ' ') + "Line 7:  p-y curve depth, no. p-y points");
}

}  // namespace
}  // namespace trevasc::testing
