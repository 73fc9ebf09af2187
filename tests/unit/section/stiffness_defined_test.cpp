// Sections of given bending stiffness: elastic (constant EI), elastic-plastic
// (Mp reached at point 100, then EI = Mp / phi) and user-defined M-EI curves
// refined by linear interpolation.
#include <gtest/gtest.h>

#include "run/error_stop.hpp"
#include "section/stiffness_defined.hpp"
#include "section_fixtures.hpp"

namespace trevasc::testing {
namespace {

TEST(StiffnessDefined, ElasticCurveIsLinearWithCapacity1500EI) {
    const double EI = 2.0e9;  // lb-in^2
    const std::vector<model::StiffnessPoint> points = section::ElasticCurve(EI, 1000.0);
    ASSERT_EQ(points.size(), 150u);
    for (std::size_t p = 0; p < points.size(); ++p) {
        EXPECT_DOUBLE_EQ(points[p].EI, EI / 1000.0);
        EXPECT_DOUBLE_EQ(points[p].Curvature, 10.0 * static_cast<double>(p + 1));
        EXPECT_DOUBLE_EQ(points[p].Moment, points[p].Curvature * EI / 1000.0);
    }
    EXPECT_DOUBLE_EQ(points.back().Moment * 1000.0, 1500.0 * EI);
}

TEST(StiffnessDefined, ElasticPlasticCurveReachesMpAtPoint100) {
    const double EI = 5.0e10, Mp = 4.0e6;
    const std::vector<model::StiffnessPoint> points = section::ElasticPlasticCurve(EI, Mp, 1.0);
    ASSERT_EQ(points.size(), 150u);
    const double phi_y = Mp / EI;
    EXPECT_NEAR(points[99].Curvature, phi_y, 1e-15);
    EXPECT_NEAR(points[99].Moment, Mp, 1e-6);
    for (int p = 0; p < 100; ++p) EXPECT_DOUBLE_EQ(points[p].EI, EI);
    for (int p = 100; p < 150; ++p) {
        EXPECT_DOUBLE_EQ(points[p].Moment, Mp);
        EXPECT_LT(points[p].EI, points[p - 1].EI);
        EXPECT_NEAR(points[p].EI * points[p].Curvature, Mp, 1e-6);
    }
    // Plastic branch: 50 steps of 0.2 phi_y, to 11 phi_y.
    EXPECT_NEAR(points.back().Curvature, 11.0 * phi_y, 1e-15);
}

TEST(StiffnessDefined, UserCurvesAreRefinedByLinearInterpolation) {
    struct Case {
        std::string name;
        std::vector<std::array<double, 2>> input;
        std::size_t expected_points;
    };
    const Case cases[] = {
        // 4 points from M = 0: s = (150 - 4) div 3 = 48, 3 x 48 + 1 = 145.
        {"four points", {{0.0, 100.0}, {10.0, 90.0}, {20.0, 60.0}, {30.0, 30.0}}, 145},
        // A first moment other than 0 gains (0, EI_1): m = 5, s = 146 div 4 = 36, 4 x 36 + 1.
        {"leading point", {{10.0, 90.0}, {20.0, 60.0}, {30.0, 30.0}, {35.0, 20.0}}, 145},
        // Too many points to refine (s = 0): kept as given.
        {"unrefined", std::vector<std::array<double, 2>>(120, {1.0, 1.0}), 121},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<model::StiffnessPoint> points = section::RefineUserCurve(c.input);
        ASSERT_EQ(points.size(), c.expected_points);
        EXPECT_EQ(points.front().Moment, 0.0);
        EXPECT_EQ(points.front().EI, c.input.front()[1]);
        EXPECT_EQ(points.back().Moment, c.input.back()[0]);
        for (const model::StiffnessPoint& p : points) EXPECT_DOUBLE_EQ(p.Curvature, p.Moment / p.EI);
    }
    // The refined points lie on the input polyline: halfway through the
    // second interval of the first case (k = 48 + 24), M = 15, EI = 75.
    const std::vector<model::StiffnessPoint> points = section::RefineUserCurve(cases[0].input);
    EXPECT_NEAR(points[72].Moment, 15.0, 1e-12);
    EXPECT_NEAR(points[72].EI, 75.0, 1e-12);
    // A level that cannot form a curve.
    EXPECT_TRUE(section::RefineUserCurve({{0.0, 100.0}}).empty());
    EXPECT_TRUE(section::RefineUserCurve({{10.0, 0.0}, {20.0, 5.0}}).empty());
}

// A run with three thrusts and a user section of two levels.
std::unique_ptr<run::RunContext> UserSectionContext(int mode) {
    auto ctx = MakeContext(model::UnitSystem::USCS, mode);
    model::PileSection s;
    s.SectionType = model::kUserDefinedEI;
    s.SectionWidth = 24.0;
    for (double thrust : {0.0, 100.0}) {
        model::UserEIThrustLevel level;
        level.AxialThrust = thrust;
        level.Points = {{0.0, 5.0e9}, {1.0e6, 4.0e9}, {3.0e6, 2.0e9}};
        s.UserEI.ThrustLevels.push_back(level);
    }
    ctx->problem.Sections = {s};
    ctx->problem.AxialThrustList = {0.0, 50.0, 100.0};
    ctx->stiffness.InputThrusts = ctx->problem.AxialThrustList;
    ctx->stiffness.Sections.resize(1);
    return ctx;
}

TEST(StiffnessDefined, UserSectionFillsOneLevelPerInputLevel) {
    auto ctx = UserSectionContext(2);
    section::ComputeUserEISection(*ctx, ctx->problem.Sections[0], 1);
    const model::SectionStiffness& table = ctx->stiffness.Sections[0];
    ASSERT_EQ(table.Levels.size(), 2u);
    // USCS: points in kip units after the hand-over, capacity in in-lb.
    EXPECT_DOUBLE_EQ(table.Levels[0].NominalMomentCapacity, 3.0e6);
    EXPECT_DOUBLE_EQ(table.Levels[0].Points.back().Moment, 3.0e3);
    EXPECT_DOUBLE_EQ(table.Levels[0].Points.front().EI, 5.0e6);
    EXPECT_DOUBLE_EQ(table.Levels[1].AxialThrust, 50.0);
}

TEST(StiffnessDefined, PileAnalysisWithTooFewUserLevelsStopsWithRuntimeError93) {
    auto ctx = UserSectionContext(3);
    EXPECT_THROW(section::ComputeUserEISection(*ctx, ctx->problem.Sections[0], 1), run::RunStop);
    EXPECT_EQ(ctx->ErrorNumber, 293);
}

TEST(StiffnessDefined, TaperedElasticPlasticSectionInterpolatesOverItsLength) {
    auto ctx = MakeContext(model::UnitSystem::USCS, 3);
    model::PileSection s;
    s.SectionType = model::kElasticPlastic;
    s.SectionTopDepth = 120.0;
    s.SectionBottomDepth = 360.0;
    s.Elastic.ElasticModulus = 29.0e6;
    s.Elastic.InertiaTop = 1000.0;
    s.Elastic.InertiaBottom = 500.0;
    s.Elastic.PlasticMomentTop = 4.0e6;
    s.Elastic.PlasticMomentBottom = 2.0e6;
    ctx->problem.Sections = {s};
    ctx->stiffness.InputThrusts = {0.0};
    ctx->stiffness.Sections.resize(1);
    section::ComputeElasticPlasticSection(*ctx, s, 1);
    const model::SectionStiffness& table = ctx->stiffness.Sections[0];
    ASSERT_TRUE(table.b_Tapered);
    // Kip units: Mp from 4000 at the top to 2000 kip-in at the bottom.
    EXPECT_DOUBLE_EQ(table.PlasticMomentAt(360.0), 2000.0);
    EXPECT_DOUBLE_EQ(table.PlasticMomentAt(240.0), 3000.0);
    EXPECT_DOUBLE_EQ(table.ElasticStiffnessAt(240.0), 29.0e3 * 750.0);
    EXPECT_DOUBLE_EQ(table.Levels[0].NominalMomentCapacity, 4.0e6);
    EXPECT_EQ(table.Levels[0].Points.size(), 150u);
}

}  // namespace
}  // namespace trevasc::testing
