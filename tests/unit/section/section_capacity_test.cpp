// Axial structural capacities: squash load, tensile yield and cracking load
// of each section kind from the closed-form areas.
#include <gtest/gtest.h>

#include <cmath>

#include "section/capacities.hpp"
#include "section_fixtures.hpp"

namespace trevasc::testing {
namespace {

double Circle(double d) { return kPi * d * d / 4.0; }

// eps_cr of f'c = 4 ksi: Ec = 57 sqrt(4000), fr = -7.5 sqrt(4000) psi,
// eps0 = 1.7 f'c / Ec, eps_cr = -(1 - sqrt(1 + fr/f'c)) eps0.
constexpr double kFc = 4.0;
double Ec() { return 57.0 * std::sqrt(4000.0); }
double EpsCr() {
    const double fr = -0.0075 * std::sqrt(4000.0);
    return -(1.0 - std::sqrt(1.0 + fr / kFc)) * (1.7 * kFc / Ec());
}

section::AxialCapacities Capacities(const model::PileSection& pile) {
    const section::SectionWorkspace ws = SlicedWorkspace(pile);
    return section::ComputeAxialCapacities(ws, pile);
}

model::PileSection CasedWithCore(bool filled) {
    model::PileSection s = DrilledShaft(36.0, kFc);
    s.SectionType = model::kDrilledShaftWithCasingAndCore;
    s.SteelThickness = 0.5;
    s.SteelYieldStress = 36000.0;
    s.SteelModulus = 29.0e6;
    s.CoreDiameter = 12.0;
    s.CoreThickness = 0.5;
    s.CoreYieldStress = 50000.0;
    s.CoreModulus = 29.0e6;
    s.b_FillCoreWithConcrete = filled;
    SetRebar(s, BarsOnCircle(8, 13.5, 1.0, 0.79));
    return s;
}

TEST(SectionCapacity, PlainShaftHasConcreteCapacityOnly) {
    const section::AxialCapacities cap = Capacities(DrilledShaft(36.0, kFc));
    EXPECT_NEAR(cap.Pmax, 0.85 * kFc * Circle(36.0), 1e-9);
    EXPECT_EQ(cap.Pmin, 0.0);
    EXPECT_NEAR(cap.Pcr, Circle(36.0) * Ec() * EpsCr(), 1e-9);
    EXPECT_LT(cap.Pcr, 0.0);
}

TEST(SectionCapacity, ReinforcedSectionsAddYieldedSteel) {
    model::PileSection rect = RectangularPile(24.0, 12.0, kFc);
    SetRebar(rect, {Bar(-4, -9.5, 1.0, 0.79), Bar(4, -9.5, 1.0, 0.79), Bar(-4, 9.5, 1.0, 0.79), Bar(4, 9.5, 1.0, 0.79)});
    const double As = 4 * 0.79;
    const section::AxialCapacities cap = Capacities(rect);
    EXPECT_NEAR(cap.Pmax, 0.85 * kFc * (288.0 - As) + 60.0 * As, 1e-9);
    EXPECT_NEAR(cap.Pmin, -60.0 * As, 1e-12);
    EXPECT_NEAR(cap.Pcr, (29000.0 * As + (288.0 - As) * Ec()) * EpsCr(), 1e-9);
}

TEST(SectionCapacity, CasedShaftCoreIsConcreteOnlyWhenFilled) {
    const double As = 8 * 0.79;
    const double Acs = Circle(36.0) - Circle(35.0);
    const double Acore = Circle(12.0) - Circle(11.0);
    const section::AxialCapacities filled = Capacities(CasedWithCore(true));
    const section::AxialCapacities hollow = Capacities(CasedWithCore(false));
    EXPECT_NEAR(filled.Pmax, 36.0 * Acs + 50.0 * Acore + 60.0 * As + 0.85 * kFc * (Circle(35.0) - Acore - As), 1e-9);
    // The void core loses the concrete inside the core wall only.
    EXPECT_NEAR(filled.Pmax - hollow.Pmax, 0.85 * kFc * Circle(11.0), 1e-9);
    EXPECT_NEAR(filled.Pmin, -(36.0 * Acs + 50.0 * Acore + 60.0 * As), 1e-9);
    EXPECT_EQ(filled.Pmin, hollow.Pmin);
}

TEST(SectionCapacity, SteelPipeCapacityIsTheRingAtYield) {
    const section::AxialCapacities cap = Capacities(SteelPipe(24.0, 0.5, 36000.0, 29.0e6));
    const double ring = Circle(24.0) - Circle(23.0);
    EXPECT_NEAR(cap.Pmax, 36.0 * ring, 1e-9);
    EXPECT_NEAR(cap.Pmin, -36.0 * ring, 1e-9);
    EXPECT_EQ(cap.Pcr, 0.0);
    EXPECT_TRUE(cap.Reported);
}

TEST(SectionCapacity, PrestressedSectionsTakeTheirCapacitiesFromThePrestress) {
    // Only the chamfer-0 square (a rectangle) gets values here; the others
    // are filled by the prestress computation.
    const model::PileSection octagon = [] {
        model::PileSection s = PrestressedSquare(24.0, 0.0, 2, 8.0, 300000.0, 0.2);
        s.SectionType = model::kOctagonalSolidPrestressed;
        return s;
    }();
    const section::AxialCapacities cap = Capacities(octagon);
    EXPECT_EQ(cap.Pmax, 0.0);
    EXPECT_EQ(cap.Pcr, 0.0);
    EXPECT_FALSE(cap.Reported);
}

}  // namespace
}  // namespace trevasc::testing
