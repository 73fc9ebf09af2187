// The look-ups and the bookkeeping every p-y criterion shares.
#include <cmath>
#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "model/soil_state.hpp"
#include "pile/pile_test_support.hpp"
#include "run/error_stop.hpp"
#include "soil/criteria.hpp"
#include "soil/py_framework.hpp"
#include "trevasc/units.hpp"

namespace trevasc::testing {

using enum model::SoilModelCode;

namespace {

model::SoilLayer Layer(int code, double top, double bottom) {
    model::SoilLayer layer;
    layer.KSOIL = code;
    layer.XLayerTop = layer.Top.Depth = top;
    layer.XLayerBottom = layer.Bottom.Depth = bottom;
    return layer;
}

// Two layers, 0-100 and 100-200 in, strength 10 -> 20 and 40 -> 60.
model::ProblemData TwoLayers(int upper, int lower, double pile_length = 300.0) {
    model::ProblemData problem = ElasticPileProblem(pile_length, 1.0e9, 12.0, 50);
    problem.Layers = {Layer(upper, 0.0, 100.0), Layer(lower, 100.0, 200.0)};
    problem.Layers[0].Top.Cohesion = 10.0;
    problem.Layers[0].Bottom.Cohesion = 20.0;
    problem.Layers[1].Top.Cohesion = 40.0;
    problem.Layers[1].Bottom.Cohesion = 60.0;
    return problem;
}

// Runs a look-up; returns the error number when it stops the run.
int ErrorOf(const std::function<void()>& lookup) {
    try {
        lookup();
    } catch (const run::RunStop& stop) {
        return stop.error_number;
    }
    return 0;
}

TEST(StrengthAtDepth, InterfaceRulesBetweenLayerKinds) {
    struct Case {
        const char* what;
        int upper, lower;
        double expected;  // at the interface, 100 in
    };
    const Case kCases[] = {
        {"clay over clay: mean", kSoftClay, kStiffClayWithoutWater, 30.0},
        {"clay over rock", kSoftClay, kWeakRock, (2.0 * 20.0 + 40.0) * 0.5},
        {"clay over sand: the clay's bottom value", kSoftClay, kSand, 20.0},
        {"clay over elastic subgrade", kSoftClayJ, kElasticSubgrade, 20.0},
        {"sand over clay: the clay's top value", kSand, kSoftClay, 40.0},
        {"rock over clay", kVuggyLimestone, kStiffClayWithWater, (2.0 * 40.0 + 20.0) * 0.5},
        {"rock over rock: mean", kWeakRock, kVuggyLimestone, 30.0},
        {"rock over user curves", kWeakRock, kUserPy, 20.0},
        {"user curves over rock", kUserPy, kWeakRock, 40.0},
        {"cemented silt with strength counts as clay", kCementedSilt, kSoftClay, 30.0},
    };
    for (const Case& c : kCases) {
        PileRun run(TwoLayers(c.upper, c.lower));
        EXPECT_DOUBLE_EQ(soil::fn_c(run.ctx(), 100.0), c.expected) << c.what;
        EXPECT_TRUE(run.ctx().soil.b_AtInterface) << c.what;
        EXPECT_DOUBLE_EQ(soil::fn_c(run.ctx(), 50.0), 15.0) << c.what;  // inside layer 1: interpolated
        EXPECT_FALSE(run.ctx().soil.b_AtInterface) << c.what;
    }
}

TEST(StrengthAtDepth, TipOnAnInterfaceTakesTheUpperLayerAndFaultsStop) {
    {
        PileRun run(TwoLayers(kSand, kSoftClay, 100.0));  // the tip on the interface
        EXPECT_DOUBLE_EQ(soil::fn_c(run.ctx(), 100.0), 20.0);
    }
    struct Case {
        const char* what;
        int upper, lower;
        double depth;
        int expected_error;
        const char* expected_line;
    };
    const Case kCases[] = {
        {"below the deepest strength point", kSoftClay, kSoftClay, 250.0, 105,
         "Problem:  The value for a pile station depth is   0.2500E+03"},
        {"sand over sand has no interface rule", kSand, kApiSand, 100.0, 230,
         "  ***** Runtime Error No. 30 *****"},
        {"elastic subgrade over user curves has no interface rule", kElasticSubgrade, kUserPy, 100.0, 230,
         " Error in fn_c, please report by email to support@trevasc.example"},
    };
    for (const Case& c : kCases) {
        PileRun run(TwoLayers(c.upper, c.lower));
        EXPECT_EQ(ErrorOf([&] { soil::fn_c(run.ctx(), c.depth); }), c.expected_error) << c.what;
        const auto report = run.Outputs().ReportLines();
        EXPECT_NE(std::find(report.begin(), report.end(), c.expected_line), report.end()) << c.what;
    }
}

TEST(PointLookups, Epsilon50AndFrictionAngleWithTheInterfaceAverage) {
    model::ProblemData problem = TwoLayers(kSoftClay, kSoftClay, 200.0);
    problem.Layers[0].Top.Epsilon50 = 0.01;
    problem.Layers[0].Bottom.Epsilon50 = 0.02;
    problem.Layers[1].Top.Epsilon50 = 0.0;  // zero below the interface is ignored
    problem.Layers[1].Bottom.Epsilon50 = 0.005;
    problem.Layers[0].Bottom.FrictionAngle = 30.0;
    problem.Layers[1].Top.FrictionAngle = 34.0;
    PileRun run(problem);
    run::RunContext& ctx = run.ctx();
    EXPECT_DOUBLE_EQ(soil::Epsilon50At(ctx, 50.0), 0.015);
    EXPECT_DOUBLE_EQ(soil::Epsilon50At(ctx, 100.0), 0.02);
    EXPECT_DOUBLE_EQ(soil::Epsilon50At(ctx, 200.0), 0.005);
    EXPECT_DOUBLE_EQ(soil::Epsilon50At(ctx, 250.0), 0.0);  // below the profile
    EXPECT_DOUBLE_EQ(soil::FrictionAngleAt(ctx, 100.0), 32.0);
    EXPECT_EQ(ErrorOf([&] { soil::FrictionAngleAt(ctx, 250.0); }), 104);
}

TEST(AveragesFromTheGround, TrapezoidAverageOfUnitWeightAndStrength) {
    model::ProblemData problem = TwoLayers(kSoftClay, kSoftClay);
    problem.Layers[0].Top.EffUnitWeight = 0.02;
    problem.Layers[0].Bottom.EffUnitWeight = 0.06;
    problem.Layers[1].Top.EffUnitWeight = 0.04;
    problem.Layers[1].Bottom.EffUnitWeight = 0.04;
    PileRun run(problem);
    run::RunContext& ctx = run.ctx();
    // Over 0..50 the weight rises linearly from 0.02 to 0.04: mean 0.03.
    EXPECT_NEAR(soil::AverageUnitWeight(ctx, 50.0), 0.03, 1.0e-15);
    // Over 0..150: (0.04 * 100 + 0.04 * 50) / 150.
    EXPECT_NEAR(soil::AverageUnitWeight(ctx, 150.0), 0.04, 1.0e-15);
    EXPECT_DOUBLE_EQ(soil::AverageUnitWeight(ctx, 0.0), 0.02);  // at the surface: the first positive weight
    // Strength 10 -> 20 over the first layer, 40 -> 60 over the second.
    EXPECT_NEAR(soil::AverageStrength(ctx, 100.0), 15.0, 1.0e-12);
    EXPECT_NEAR(soil::AverageStrength(ctx, 200.0), (15.0 * 100.0 + 50.0 * 100.0) / 200.0, 1.0e-12);
    EXPECT_DOUBLE_EQ(soil::AverageStrength(ctx, 0.0), 10.0);
    EXPECT_EQ(ErrorOf([&] { soil::AverageUnitWeight(ctx, 250.0); }), 115);
    EXPECT_EQ(ErrorOf([&] { soil::AverageStrength(ctx, 250.0); }), 103);
}

TEST(Multipliers, InterpolatedInsideTheProfileAndOneOutside) {
    model::ProblemData problem;
    problem.PyModifierProfile = {{100.0, 1.0, 1.0}, {200.0, 0.5, 2.0}, {200.0, 0.4, 3.0}, {300.0, 0.4, 3.0}};
    problem.PyModifierCount = 4;
    run::RunContext ctx;
    ctx.problem = problem;
    struct Case {
        double depth, pm, ym;
    };
    const Case kCases[] = {{50.0, 1.0, 1.0}, {150.0, 0.75, 1.5}, {200.0, 0.4, 3.0}, {300.0, 0.4, 3.0}, {350.0, 1.0, 1.0}};
    for (const Case& c : kCases) {
        EXPECT_DOUBLE_EQ(soil::PMultiplierAt(ctx, c.depth), c.pm) << c.depth;
        EXPECT_DOUBLE_EQ(soil::YMultiplierAt(ctx, c.depth), c.ym) << c.depth;
    }
    // A count set by the options without any profile point read.
    ctx.problem.PyModifierProfile.clear();
    ctx.problem.PyModifierCount = 1;
    EXPECT_EQ(soil::PMultiplierAt(ctx, 150.0), 1.0);
}

TEST(GroundSlope, FactorOnTheUltimateResistance) {
    struct Case {
        double slope_degrees, y, expected;
    };
    const double t = 20.0 * kPi / 180.0;
    const Case kCases[] = {
        {0.0, 1.0, 1.0},
        {20.0, 0.0, 1.0},
        {20.0, 1.0, 1.0 / (1.0 + std::tan(t))},
        {-20.0, -1.0, 1.0 / (1.0 + std::tan(t))},
        {-20.0, 1.0, 0.7071067690849304 * std::cos(t) / std::cos(kPi / 4.0 + t)},
        {20.0, -1.0, 0.7071067690849304 * std::cos(t) / std::cos(kPi / 4.0 + t)},
    };
    for (const Case& c : kCases) {
        run::RunContext ctx;
        ctx.problem.SlopeMinusBatter = c.slope_degrees * kPi / 180.0;
        EXPECT_DOUBLE_EQ(soil::GroundSlopeFactor(ctx, c.y), c.expected) << c.slope_degrees << " " << c.y;
    }
}

TEST(RockBookkeeping, MarksLayersBelowRockLikeLayers) {
    const int codes[] = {kSand, kElasticSubgrade, kSand, kUserPy, kWeakRock, kSoftClay};
    const bool marked[] = {false, false, true, false, true, true};
    model::SoilState soil;
    for (int l = 1; l <= 6; ++l) {
        const soil::CriterionEntry* entry = soil::CriterionForCode(codes[l - 1]);
        ASSERT_NE(entry, nullptr);
        soil::ApplyBelowRockBookkeeping(soil, l, *entry);
        EXPECT_EQ(soil.BelowRockLayer[l], marked[l - 1]) << "layer " << l;
    }
    EXPECT_EQ(soil.BelowRockCount, 2);
    // Frozen soil and undefined codes have no criterion.
    EXPECT_EQ(soil::CriterionForCode(kFrozenSoil), nullptr);
    EXPECT_EQ(soil::CriterionForCode(19), nullptr);
    EXPECT_EQ(soil::SoilModelName(kSand), "Sand");
    EXPECT_EQ(soil::SoilModelName(42), "Undefined");
}

TEST(LayeringCorrection, DepthOnTheCurveAndResistanceAbove) {
    model::ProblemData problem = TwoLayers(kSoftClay, kSoftClay);
    run::RunContext ctx;
    ctx.problem = problem;
    ctx.soil.EquivalentDepth[2] = 35.0;
    EXPECT_EQ(soil::CurveDepth(ctx, 1, 60.0, 60.0), 60.0);                // layer 1: actual depth
    EXPECT_EQ(soil::CurveDepth(ctx, 2, 130.0, 130.0), 130.0 - 100.0 + 35.0);
    ctx.soil.BelowRockCount = 1;
    EXPECT_EQ(soil::CurveDepth(ctx, 2, 130.0, 130.0), 130.0);              // below rock: actual depth
    ctx.soil.BelowRockCount = 0;
    ctx.problem.Layers[0].XLayerTop = -50.0;                          // ground above the pile head
    ctx.problem.Layers[0].XLayerBottom = -10.0;
    EXPECT_EQ(soil::CurveDepth(ctx, 2, 130.0, 180.0), 180.0);

    model::SoilState soil;
    soil.LayerResistance[1] = 5.0;
    soil.LayerResistance[2] = 0.001;  // a liquefied layer keeps its resistance apart
    soil.LiquefiedLayerResistance[2] = 7.0;
    soil.LayerResistance[3] = 3.0;
    EXPECT_EQ(soil::ResistanceOfLayersAbove(soil, 4), 15.0);
    soil.LayerResistance[1] = 1.0e20;
    soil.LayerResistance[2] = 1.0e20;  // the running sum passes 1E20 and restarts at 100
    EXPECT_EQ(soil::ResistanceOfLayersAbove(soil, 3), 100.0);
}

// The depth memo gives back a value only for the very depth it was stored
// with: values survive the growth of its table, a depth of other bits (even
// one that compares equal) finds nothing, a memo filled past its largest
// table starts afresh, and a cleared memo knows nothing.
TEST(DepthMemo, AnswersOnlyForTheDepthStored) {
    model::DepthMemo memo;
    EXPECT_EQ(memo.Find(0.0), nullptr);
    constexpr int kDepths = 1000;  // more than the first table holds
    for (int k = 0; k < kDepths; ++k) memo.Store(0.7 * k, 2.0 * k);
    memo.Store(0.7 * 5, -1.0);  // a depth stored again takes the new value
    for (int k = 0; k < kDepths; ++k) {
        const double* value = memo.Find(0.7 * k);
        ASSERT_NE(value, nullptr) << "depth " << 0.7 * k;
        EXPECT_EQ(*value, k == 5 ? -1.0 : 2.0 * k) << "depth " << 0.7 * k;
    }
    EXPECT_EQ(memo.Find(0.35), nullptr);
    EXPECT_EQ(memo.Find(std::nextafter(0.7, 1.0)), nullptr);
    EXPECT_EQ(memo.Find(-0.0), nullptr);  // only +0.0 was stored

    constexpr int kMany = static_cast<int>(model::DepthMemo::kMaxSlots);
    for (int k = kDepths; k < kMany; ++k) memo.Store(0.7 * k, 2.0 * k);
    int found = 0;
    for (int k = 0; k < kMany; ++k) {
        if (const double* value = memo.Find(0.7 * k)) {
            ++found;
            EXPECT_EQ(*value, k == 5 ? -1.0 : 2.0 * k) << "depth " << 0.7 * k;
        }
    }
    EXPECT_NE(memo.Find(0.7 * (kMany - 1)), nullptr);  // the latest values are kept
    EXPECT_EQ(memo.Find(0.7 * 1), nullptr);             // the earliest were let go
    EXPECT_GT(found, 0);
    EXPECT_LT(found, kMany);

    memo.Clear();
    EXPECT_EQ(memo.Find(0.7 * (kMany - 1)), nullptr);
    memo.Store(1.5, 3.0);
    ASSERT_NE(memo.Find(1.5), nullptr);
    EXPECT_EQ(*memo.Find(1.5), 3.0);
}

// A node's kept values answer only for the layer and the exact depths they
// were formed at, not while they are being formed, and not after a clear
// (a new set of nodes).
TEST(NodeValueCache, AnswersOnlyForTheLayerAndDepthsKept) {
    model::NodeValueCache<double> cache;
    EXPECT_EQ(cache.Find(3, 1, 1.5, 1.5), nullptr);
    cache.Begin(3) = 42.0;
    EXPECT_EQ(cache.Find(3, 1, 1.5, 1.5), nullptr);  // not yet kept
    cache.Keep(3, 1, 1.5, 1.5);
    ASSERT_NE(cache.Find(3, 1, 1.5, 1.5), nullptr);
    EXPECT_EQ(*cache.Find(3, 1, 1.5, 1.5), 42.0);
    const struct {
        int k, layer;
        double x, xv;
    } others[] = {
        {2, 1, 1.5, 1.5},                        // another node
        {3, 2, 1.5, 1.5},                        // the node read by the next layer
        {3, 1, std::nextafter(1.5, 2.0), 1.5},   // nodes set up along a shorter pile
        {3, 1, 1.5, std::nextafter(1.5, 1.0)},   // a battered pile's vertical depth
        {900, 1, 1.5, 1.5},                      // beyond every node kept
    };
    for (const auto& o : others) EXPECT_EQ(cache.Find(o.k, o.layer, o.x, o.xv), nullptr) << o.k << " " << o.layer;
    cache.Begin(3) = 7.0;  // formed again: the old values no longer answer
    EXPECT_EQ(cache.Find(3, 1, 1.5, 1.5), nullptr);
    cache.Keep(3, 1, 1.5, 1.5);
    cache.Clear();
    EXPECT_EQ(cache.Find(3, 1, 1.5, 1.5), nullptr);
}

}  // namespace
}  // namespace trevasc::testing
