// Discretisation of the pile and the properties of its nodes.
#include <cmath>

#include <gtest/gtest.h>

#include "pile/node_setup.hpp"
#include "pile/pile_test_support.hpp"
#include "pile/solver.hpp"
#include "trevasc/units.hpp"

namespace trevasc::testing {
namespace {

TEST(NodeDepths, EqualIncrementsWithTipExactlyAtPileLengthAndVerticalDepthsForBatter) {
    model::PileModel pile;
    // 100 increments on 600 in: h = 6 in; batter 10 degrees: xv = cos(10) x.
    pile::ComputeNodeDepths(pile, 100, 600.0, 10.0 * kPi / 180.0);
    EXPECT_EQ(pile.N, 101);
    EXPECT_DOUBLE_EQ(pile.h, 6.0);
    EXPECT_EQ(pile.x(101), 600.0);
    EXPECT_DOUBLE_EQ(pile.x(51), 300.0);
    EXPECT_NEAR(pile.xv(51), 0.98481 * 300.0, 0.01);
}

// Two sections: 0-120 in (E I = 2E9 at the top, 4E9 at 120 in, tapered) and
// 120-240 in (E I = 1E9), meeting at 120 in.
model::ProblemData TwoSectionPile() {
    model::ProblemData problem;
    problem.SectionPropertyTable = {
        {0.0, 10.0, 1.0e3, 2.0e6, 50.0, 0.0},
        {120.0, 20.0, 1.0e3, 4.0e6, 70.0, 0.0},
        {120.0, 8.0, 500.0, 2.0e6, 30.0, 0.0},
        {240.0, 8.0, 500.0, 2.0e6, 30.0, 0.0},
    };
    model::PileSection upper, lower;
    upper.SectionTopDepth = 0.0, upper.SectionBottomDepth = 120.0, upper.SectionLength = 120.0;
    lower.SectionTopDepth = 120.0, lower.SectionBottomDepth = 240.0, lower.SectionLength = 120.0;
    problem.Sections = {upper, lower};
    problem.PileTotalLength = 240.0;
    return problem;
}

TEST(LookupPileProperties, InterpolatesInDepthAndTakesTheLowerSectionAtABoundary) {
    const model::ProblemData problem = TwoSectionPile();
    struct Case {
        double depth, width, EI, area;
    };
    const Case kCases[] = {
        {0.0, 10.0, 2.0e9, 50.0},
        // A quarter of the way down section 1: EI between the products E*I
        // (2E9 + 0.25 * 2E9), not the product of interpolated E and I.
        {30.0, 12.5, 2.5e9, 55.0},
        {120.0, 8.0, 1.0e9, 30.0},   // boundary: the section below
        {180.0, 8.0, 1.0e9, 30.0},
        {240.0, 8.0, 1.0e9, 30.0},   // tip: last row
        {250.0, 8.0, 1.0e9, 30.0},   // below the pile: last row
    };
    for (const Case& c : kCases) {
        const model::PileProperties p = model::Lookup_Pile_Properties(problem, c.depth);
        EXPECT_DOUBLE_EQ(p.Width, c.width) << c.depth;
        EXPECT_DOUBLE_EQ(p.EI, c.EI) << c.depth;
        EXPECT_DOUBLE_EQ(p.Area, c.area) << c.depth;
    }
}

TEST(AssignNodesToSections, NodeAtASectionBoundaryBelongsToTheUpperSection) {
    const model::ProblemData problem = TwoSectionPile();
    model::PileModel pile;
    pile::ComputeNodeDepths(pile, 40, 240.0, 0.0);  // h = 6: node 21 at 120 in
    pile::Assign_Nodes_To_Sections(problem, pile);
    EXPECT_EQ(pile.section(1), 1);
    EXPECT_EQ(pile.section(21), 1);
    EXPECT_EQ(pile.section(22), 2);
    EXPECT_EQ(pile.section(41), 2);
}

TEST(AssignNodesToLayers, InterfaceNodeBelongsToTheLowerLayerAndThinLayersHoldNone) {
    model::ProblemData problem = ElasticPileProblem(240.0, 1.0e9, 10.0, 40);  // h = 6
    AddElasticSubgradeLayer(problem, 0.0, 60.0, 1.0, 1.0);     // nodes 1..10 (node 11 at 60 in goes below)
    AddElasticSubgradeLayer(problem, 60.0, 62.0, 1.0, 1.0);    // node 11 only
    AddElasticSubgradeLayer(problem, 62.0, 65.0, 1.0, 1.0);    // no node (nodes at 60 and 66)
    AddElasticSubgradeLayer(problem, 65.0, 300.0, 1.0, 1.0);   // reaches the tip
    PileRun run(problem);
    pile::SetUpNodes(run.ctx(), 240.0, 0);
    const model::PileModel& pile = run.ctx().pile;
    const int expected_top[] = {0, 1, 11, 0, 12};
    const int expected_bottom[] = {0, 10, 11, 0, 41};
    for (int l = 1; l <= 4; ++l) {
        EXPECT_EQ(pile.TopNode[l], expected_top[l]) << "layer " << l;
        EXPECT_EQ(pile.BottomNode[l], expected_bottom[l]) << "layer " << l;
    }
}

TEST(AssignNodesToLayers, ProfileEndingAboveTheTipWritesTheDiagnosticAndGoesOn) {
    model::ProblemData problem = ElasticPileProblem(240.0, 1.0e9, 10.0, 40);
    AddElasticSubgradeLayer(problem, 0.0, 60.0, 1.0, 1.0);
    AddElasticSubgradeLayer(problem, 60.0, 120.0, 1.0, 1.0);
    PileRun run(problem);
    pile::SetUpNodes(run.ctx(), 240.0, 0);
    EXPECT_EQ(run.ctx().pile.BottomNode[1], 10);
    EXPECT_EQ(run.ctx().pile.BottomNode[2], 0);
    const auto lines = run.Outputs().ReportLines();
    const std::vector<std::string> expected = {"ERROR 2 in computing i_BottomNodeInLayer",
                                               "Num_Nodes_To_Assign = 41",
                                               "ilayer = 2",
                                               "klayer = 3",
                                               "jlayer = 0",
                                               "i_Number_of_Layers = 2"};
    EXPECT_EQ(lines, expected);
}

TEST(AverageDistributedLoad, AveragesTheIntensityOverTheTributaryLength) {
    using Table = std::vector<std::array<double, 2>>;
    struct Case {
        const char* what;
        Table table;
        double x, h, expected;
    };
    const Case kCases[] = {
        {"uniform, interior node", {{0.0, 10.0}, {120.0, 10.0}}, 60.0, 12.0, 10.0},
        {"uniform, head node: half its length lies above the load", {{0.0, 10.0}, {120.0, 10.0}}, 0.0, 12.0, 5.0},
        {"uniform, node past the end", {{0.0, 10.0}, {120.0, 10.0}}, 132.0, 12.0, 0.0},
        {"interval ending at the start of the load", {{12.0, 10.0}, {120.0, 10.0}}, 6.0, 12.0, 0.0},
        // Linear 0..120 over 0..120 in: the mean over [54, 66] is the value at 60.
        {"linear intensity", {{0.0, 0.0}, {120.0, 120.0}}, 60.0, 12.0, 60.0},
        // A step from 10 to 20 at 60 in: half the interval on each side.
        {"step at the node", {{0.0, 10.0}, {60.0, 10.0}, {60.0, 20.0}, {120.0, 20.0}}, 60.0, 12.0, 15.0},
        {"no load (two zero points)", {{0.0, 0.0}, {0.0, 0.0}}, 0.0, 12.0, 0.0},
        {"empty table", {}, 60.0, 12.0, 0.0},
    };
    for (const Case& c : kCases) {
        EXPECT_DOUBLE_EQ(pile::Average_Distributed_Load(c.table, c.x, c.h), c.expected) << c.what;
    }
}

TEST(InterpolateSoilMovement, LinearBetweenPointsZeroOutsideAndMeanAtARepeatedDepth) {
    struct Case {
        const char* what;
        std::vector<std::array<double, 2>> profile;
        double expected[11];  // nodes every 6 in from 0 to 60 in
    };
    const Case kCases[] = {
        // At 36 in the first point at or below the node is the upper point of
        // the step: the node takes the value above the step.
        {"step inside the profile",
         {{12.0, 1.0}, {36.0, 3.0}, {36.0, 5.0}, {48.0, 5.0}},
         {0.0, 0.0, 1.0, 1.5, 2.0, 2.5, 3.0, 5.0, 5.0, 0.0, 0.0}},
        // A repeated first depth: the node on it takes the mean of the two.
        {"step at the first depth",
         {{12.0, 1.0}, {12.0, 3.0}, {48.0, 3.0}},
         {0.0, 0.0, 2.0, 3.0, 3.0, 3.0, 3.0, 3.0, 3.0, 0.0, 0.0}},
    };
    for (const Case& c : kCases) {
        model::ProblemData problem;
        problem.SoilMovementProfile = c.profile;
        model::PileModel pile;
        pile::ComputeNodeDepths(pile, 10, 60.0, 0.0);
        pile::Interpolate_Soil_Movement(problem, pile);
        for (int k = 1; k <= 11; ++k) EXPECT_DOUBLE_EQ(pile.ysoil(k), c.expected[k - 1]) << c.what << ", node " << k;
    }
}

TEST(SetUpNodes, InitialSoilModulusBelowTheGroundOnlyAndZeroDeflections) {
    model::ProblemData problem = ElasticPileProblem(240.0, 1.0e9, 10.0, 40);
    AddElasticSubgradeLayer(problem, 30.0, 300.0, 1.0, 1.0);  // ground 30 in below the head
    PileRun run(problem);
    run.ctx().pile.y(7) = 3.0;
    pile::SetUpNodes(run.ctx(), 240.0, 0);
    const model::PileModel& pile = run.ctx().pile;
    EXPECT_EQ(pile.Es(5), 0.0);                         // 24 in
    EXPECT_EQ(pile.Es(6), model::kInitialSoilModulus);  // 30 in: at the ground surface
    EXPECT_EQ(pile.Es(41), model::kInitialSoilModulus);
    EXPECT_EQ(pile.y(7), 0.0);
    EXPECT_DOUBLE_EQ(pile.EI(20), 1.0e9);
}

// A moment-curvature table of one section at two thrust levels, in kip and
// inch units: EI 1000 kip-in^2 up to M = 10 kip-in (curvature 0.01), then
// M = 10 + 500 (phi - 0.01) up to phi = 0.03 (M = 20).
model::SectionStiffnessTable TwoLevelTable(double level2_factor) {
    model::SectionStiffnessTable table;
    table.Sections.resize(1);
    for (double factor : {1.0, level2_factor}) {
        model::ThrustLevelCurve curve;
        curve.Points = {{10.0 * factor, 1000.0 * factor, 0.01},
                        {15.0 * factor, 750.0 * factor, 0.02},
                        {20.0 * factor, 20.0 / 0.03 * factor, 0.03}};
        table.Sections[0].Levels.push_back(curve);
    }
    return table;
}

TEST(UpdateNonlinearEI, FollowsTheMomentCurvatureTableOfTheNode) {
    model::ProblemData problem = ElasticPileProblem(120.0, 1.0e6, 10.0, 40);  // h = 3 in
    problem.Sections[0].SectionType = model::kDrilledShaft;
    problem.AxialThrustList = {0.0, 100.0};
    struct Case {
        const char* what;
        double curvature;    // imposed at node 20 (1/in)
        double thrust;       // kips
        double expected_EI;  // lb-in^2
        bool beyond;
    };
    const Case kCases[] = {
        // Moment below the first point: the initial EI.
        {"uncracked", 0.001, 0.0, 1000.0e3, false},
        // phi = 0.015: M = 12.5 kip-in on the second segment, EI = M / phi.
        {"on the curve", 0.015, 0.0, 12.5 / 0.015 * 1000.0, false},
        // Beyond the last point: M_K / phi and the node is flagged.
        {"beyond the curve", 0.06, 0.0, 20.0 / 0.06 * 1000.0, true},
        // Halfway between the levels, level 2 twice as stiff (M = 25 kip-in
        // there): the mean of the two secant stiffnesses.
        {"between thrust levels", 0.015, 50.0, 1.5 * 12.5 / 0.015 * 1000.0, false},
    };
    for (const Case& c : kCases) {
        PileRun run(problem);
        run::RunContext& ctx = run.ctx();
        ctx.stiffness = TwoLevelTable(2.0);
        pile::SetUpNodes(ctx, 120.0, 0);
        model::PileModel& pile = ctx.pile;
        // A parabola y = phi x^2 / 2 centred on node 20: curvature phi there,
        // moment EI phi with a current EI of 2E6 lb-in^2 (2000 kip-in^2), so
        // that at phi = 0.015 the moment (30 kip-in) lies on both curves.
        for (int k = -1; k <= pile.N + 1; ++k) {
            const double d = (k - 20) * pile.h;
            pile.y(k) = 0.5 * c.curvature * d * d;
        }
        pile.EI.Fill(2.0e6);
        const double p_prime = c.thrust;
        pile::Update_Nonlinear_EI(ctx, pile::AxialThrustIndex(ctx.problem, p_prime), p_prime);
        EXPECT_NEAR(pile.EI(20), c.expected_EI, 1.0e-6 * c.expected_EI) << c.what;
        EXPECT_EQ(pile.beyond_curve(20) != 0, c.beyond) << c.what;
    }
}

TEST(UpdateNonlinearEI, ElasticSectionsKeepThePropertyTableStiffness) {
    model::ProblemData problem = ElasticPileProblem(120.0, 3.0e9, 10.0, 40);
    problem.AxialThrustList = {0.0};
    PileRun run(problem);
    pile::SetUpNodes(run.ctx(), 120.0, 0);
    for (int k = -1; k <= run.ctx().pile.N + 1; ++k) run.ctx().pile.y(k) = 0.001 * k * k;
    pile::Update_Nonlinear_EI(run.ctx(), 1, 0.0);  // no table: an elastic section never reads one
    EXPECT_EQ(run.ctx().pile.EI(20), 3.0e9);
}

TEST(AxialThrustIndex, BracketsTheThrust) {
    model::ProblemData problem;
    problem.AxialThrustList = {10.0, 20.0, 40.0};
    struct Case {
        double thrust;
        int index;
    };
    const Case kCases[] = {{5.0, 1}, {10.0, 1}, {15.0, 1}, {20.0, 2}, {39.0, 2}, {40.0, 3}, {90.0, 3}};
    for (const Case& c : kCases) EXPECT_EQ(pile::AxialThrustIndex(problem, c.thrust), c.index) << c.thrust;
}

}  // namespace
}  // namespace trevasc::testing
