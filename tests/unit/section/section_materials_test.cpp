// Material laws of the fibre section at the points the laws are built from,
// and the prestress state (which must balance: the concrete precompression
// force equals the strand tension force).
#include <gtest/gtest.h>

#include <cmath>

#include "run/error_stop.hpp"
#include "section/materials.hpp"
#include "section_fixtures.hpp"

namespace trevasc::testing {
namespace {

using section::SectionWorkspace;

// Concrete of f'c = 4 ksi: Ec = 57 sqrt(4000) = 3604.996 ksi, eps0 = 1.7 x 4 / Ec.
section::MaterialConstants Concrete4ksi() {
    section::MaterialConstants m;
    m.fc = 4.0;
    m.Ec = 57.0 * std::sqrt(4000.0);
    m.eps0 = 1.7 * 4.0 / m.Ec;
    m.fr = -0.0075 * std::sqrt(4000.0);
    m.epscr = -(1.0 - std::sqrt(1.0 + m.fr / m.fc)) * m.eps0;
    return m;
}

TEST(SectionMaterials, ConcreteConstantsFollowTheAciModulusAndTheParabola) {
    const section::ConcreteConstants k = section::ComputeConcreteConstants(4.0, model::UnitSystem::USCS, 0.0075);
    const section::MaterialConstants m = Concrete4ksi();
    EXPECT_NEAR(k.Ec, 3604.99653, 1e-5);
    EXPECT_NEAR(k.fr, -0.474342, 1e-6);
    EXPECT_NEAR(k.eps0, m.eps0, 1e-15);
    // At the fracture strain the parabola gives exactly the modulus of rupture.
    const double u = -k.epscr / k.eps0;
    EXPECT_NEAR(-4.0 * (2.0 * u - u * u), k.fr, 1e-12);
    // SI: 27.579 MPa is 4 ksi; the constants are the same in kPa.
    const double fc_kpa = 4.0 * section::kKpaPerKsi;
    const section::ConcreteConstants si = section::ComputeConcreteConstants(fc_kpa, model::UnitSystem::SI, 0.0075);
    EXPECT_NEAR(si.Ec / section::kKpaPerKsi, k.Ec, 1e-9);
    EXPECT_NEAR(si.eps0, k.eps0, 1e-15);
    EXPECT_NEAR(si.epscr, k.epscr, 1e-15);
}

TEST(SectionMaterials, ConcreteCompressionBranches) {
    const section::MaterialConstants m = Concrete4ksi();
    struct Case {
        double eps;
        double expected;
    };
    const double half = m.eps0 / 2.0;  // u = 1/2: f'c (1 - 1/4)
    for (const Case& c : {Case{m.eps0, 4.0}, Case{half, 3.0}, Case{0.0038, 0.85 * 4.0}, Case{0.0038001, 0.001},
                          Case{(m.eps0 + 0.0038) / 2.0, 0.925 * 4.0}}) {
        EXPECT_NEAR(section::ConcreteCompressionStress(m, c.eps), c.expected, 1e-12) << "eps = " << c.eps;
    }
}

// A rectangle evaluated at a given depth of neutral axis and curvature.
SectionWorkspace RectangleAt(double c, double phi, bool precracked) {
    SectionWorkspace ws = SlicedWorkspace(RectangularPile(20.0, 10.0, 4.0));
    ws.Precracked = precracked;
    for (int i = 0; i < section::kSliceCount; ++i) ws.slices.Strain[i] = (c - ws.slices.Depth[i]) * phi;
    section::EvaluateOuterConcrete(ws, c, phi);
    return ws;
}

TEST(SectionMaterials, TensionSlicesCarryTheParabolaUntilTheSectionCracks) {
    // Small curvature: the tension face strain stays above eps_cr, no slice
    // reaches fr, and every tension slice carries the mirrored parabola.
    {
        const SectionWorkspace ws = RectangleAt(10.0, 1.0e-6, false);
        EXPECT_FALSE(ws.Cracked);
        const double eps = ws.slices.Strain[99];
        const double u = std::fabs(eps / ws.m.eps0);
        EXPECT_NEAR(ws.slices.ConcreteStress[99], -4.0 * (2.0 * u - u * u), 1e-12);
    }
    // Larger curvature: the tension face is beyond eps_cr; every tension slice
    // carries nothing and the section is cracked.
    {
        const SectionWorkspace ws = RectangleAt(10.0, 2.0e-5, false);
        EXPECT_TRUE(ws.Cracked);
        for (int i = 50; i < section::kSliceCount; ++i) EXPECT_EQ(ws.slices.ConcreteStress[i], 0.0) << i;
        EXPECT_GT(ws.slices.ConcreteStress[0], 0.0);
    }
    // A precracked thrust: no tension even at tiny strains.
    {
        const SectionWorkspace ws = RectangleAt(10.0, 1.0e-6, true);
        EXPECT_TRUE(ws.Cracked);
        EXPECT_EQ(ws.slices.ConcreteStress[99], 0.0);
        EXPECT_GT(ws.slices.ConcreteStress[0], 0.0);
    }
}

TEST(SectionMaterials, SteelIsElasticPerfectlyPlasticAndSymmetric) {
    struct Case {
        double eps;
        double expected;
        bool yields;
    };
    for (const Case& c : {Case{0.001, 29.0, false}, Case{-0.001, -29.0, false}, Case{0.01, 60.0, true},
                          Case{-0.01, -60.0, true}, Case{60.0 / 29000.0, 60.0, false}}) {
        bool yielded = false;
        EXPECT_NEAR(section::SteelStress(29000.0, 60.0, c.eps, yielded), c.expected, 1e-12) << c.eps;
        EXPECT_EQ(yielded, c.yields) << c.eps;
    }
}

TEST(SectionMaterials, StrandLawsAtTheirBreakPoints) {
    struct Case {
        int material_class;
        double eps;
        double expected_ksi;
    };
    const Case cases[] = {
        // PCI 270: linear up to 0.0086 (28500 x 0.0086 = 245.1), then 270 - 0.04/(eps - 0.007).
        {section::kClassPci270, -0.0086, -245.1},
        {section::kClassPci270, 0.0086, 245.1},
        {section::kClassPci270, -0.010, -(270.0 - 0.04 / 0.003)},
        {section::kClassPci270, 0.05, 270.0 - 0.04 / 0.043},
        // PCI 250: 250 - 0.04/(eps - 0.0064) beyond 0.0076.
        {section::kClassPci250, 0.0050, 142.5},
        {section::kClassPci250, 0.0100, 250.0 - 0.04 / 0.0036},
        {section::kClassPci250, -0.0100, -(250.0 - 0.04 / 0.0036)},
        // Grade 300: 300 - 0.0835/(eps - 0.0071) beyond 0.0088846.
        {section::kClassGrade300, 0.0080, 228.0},
        {section::kClassGrade300, 0.0120, 300.0 - 0.0835 / 0.0049},
        // Smooth bars: 29000 eps limited to 145 and 160 ksi.
        {section::kClassSmooth145, -0.005, -145.0},
        {section::kClassSmooth145, 0.004, 116.0},
        {section::kClassSmooth160, 0.010, 160.0},
        // Deformed bars: limited to the fpu of their size (here 150 ksi).
        {section::kClassDeformedBars, -0.010, -150.0},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(section::StrandStressKsi(c.material_class, c.eps, 150.0), c.expected_ksi, 1e-9)
            << "class " << c.material_class << " eps " << c.eps;
    }
}

TEST(SectionMaterials, PrestressBalancesConcreteAndStrandForces) {
    auto ctx = MakeContext();
    const model::PileSection pile = PrestressedSquare(14.0, 0.75, 2, 4.5, 8 * 0.153 * 0.75 * 270000.0, 0.20);
    SectionWorkspace ws;
    section::PrepareSectionWorkspace(*ctx, ws, pile, 1);
    section::Initialize_EI_Vars(*ctx, ws, pile);
    const section::PrestressState& p = ws.prestress;
    const double As = 8 * 0.153;
    const double Pe_kips = 0.8 * 8 * 0.153 * 0.75 * 270.0;
    EXPECT_NEAR(p.As, As, 1e-12);
    EXPECT_NEAR(p.Ac, 14.0 * 14.0 - 2.0 * 0.75 * 0.75 - As, 1e-9);
    // Concrete compression force = strand tension force = effective prestress.
    EXPECT_NEAR(p.eps_pc * ws.m.Ec * p.Ac, Pe_kips, 1e-9);
    EXPECT_NEAR(-p.eps_ps * ws.m.Es * p.As, Pe_kips, 1e-9);
    EXPECT_GT(p.eps_pc, 0.0);
    EXPECT_LT(p.eps_ps, 0.0);
    // PCI capacities: Pn = (0.85 f'c - 0.6 f_pc) Ag, Nt = -As fpu, Mn = 0.37 D As fpu.
    const double fpc = Pe_kips / p.Ac;
    EXPECT_NEAR(ws.Pmax, (0.85 * 6.0 - 0.60 * fpc) * (p.Ac + As), 1e-9);
    EXPECT_NEAR(ws.Pmin, -As * 270.0, 1e-9);
    EXPECT_NEAR(p.Mn, 0.37 * 14.0 * As * 270.0, 1e-9);
}

TEST(SectionMaterials, PrestressedPileWithoutStrandsStopsWithRuntimeError15) {
    auto ctx = MakeContext();
    model::PileSection pile = PrestressedSquare(14.0, 0.75, 2, 4.5, 200000.0, 0.20);
    for (model::BarRecord& strand : pile.Strand.Strands) strand.BarArea = 0.0;
    SectionWorkspace ws;
    section::PrepareSectionWorkspace(*ctx, ws, pile, 1);
    EXPECT_THROW(section::Initialize_EI_Vars(*ctx, ws, pile), run::RunStop);
    EXPECT_EQ(ctx->ErrorNumber, 215);
}

}  // namespace
}  // namespace trevasc::testing
