// P-M interaction diagrams checked against hand calculations: squash loads,
// pure bending by the rectangular block (ACI 318, AASHTO) and by the
// parabola-rectangle (EN 1992-1-1), the balanced point from strain
// compatibility, the strength reduction factor at and between its limits,
// the plastic P-M interaction of a steel pipe, the effective prestress in
// the squash load of a prestressed pile, and the capacity check on either
// side of the factored curve.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "section/capacities.hpp"
#include "section/interaction.hpp"
#include "section_fixtures.hpp"

namespace trevasc::testing {
namespace {

using section::DesignCode;
using section::InteractionDiagram;
using section::SectionWorkspace;
using section::TransverseReinforcement;

constexpr double kFc = 4.0;      // ksi
constexpr double kFy = 60.0;     // ksi
constexpr double kEs = 29000.0;  // ksi
constexpr double kBarArea = 0.79;

// 12 in wide, 24 in deep; three #8 bars at d = 21.5 in, and with `top` three
// more at d' = 2.5 in.
model::PileSection Rectangle(bool top) {
    model::PileSection pile = RectangularPile(24.0, 12.0, kFc);
    std::vector<model::BarRecord> bars = {Bar(-4.0, -9.5, 1.0, kBarArea), Bar(0.0, -9.5, 1.0, kBarArea),
                                          Bar(4.0, -9.5, 1.0, kBarArea)};
    if (top) {
        for (double x : {-4.0, 0.0, 4.0}) bars.push_back(Bar(x, 9.5, 1.0, kBarArea));
    }
    SetRebar(pile, bars);
    return pile;
}

// Moment at axial force P on the nominal (design = false) or design curve.
double MomentAt(const SectionWorkspace& ws, DesignCode code, bool design, double P) {
    const double c = section::DepthForAxialForce(ws, code, design, P);
    const section::SectionResultant r = section::ResultantAtDepth(ws, code, design, c);
    EXPECT_NEAR(r.P, P, 1e-6 * std::max(1.0, std::fabs(P)));
    return r.M;
}

TEST(InteractionDiagram, RectangleSquashLoadAndPureBending) {
    const SectionWorkspace both = SlicedWorkspace(Rectangle(true));
    const SectionWorkspace bottom = SlicedWorkspace(Rectangle(false));
    const double Ag = 12.0 * 24.0;
    const double As6 = 6 * kBarArea;
    const double As3 = 3 * kBarArea;

    // Pure compression, ACI 318 and AASHTO: Po = 0.85 f'c (Ag - Ast) + fy Ast.
    // EN 1992: uniform strain eps_c2 = 0.002, concrete at fck, bars at
    // Es 0.002 = 58 ksi (below fy).
    const double Po_block = 0.85 * kFc * (Ag - As6) + kFy * As6;
    const double Po_ec2 = kFc * (Ag - As6) + kEs * 0.002 * As6;

    // Pure bending, tension bars only, rectangular block: a = As fy / (0.85 f'c b),
    // Mn = As fy (d - a/2); the bars yield (c = a/0.85 = 4.10 in, eps_s = 0.0127).
    const double a = As3 * kFy / (0.85 * kFc * 12.0);
    const double Mn_block = As3 * kFy * (21.5 - a / 2.0);
    // Parabola-rectangle (n = 2, eps_c2 = 0.002, eps_cu2 = 0.0035): with
    // r = eps_c2/eps_cu2 the mean stress is (1 - r/3) f and the resultant lies
    // (1 - (1/2 - r^2/12)/(1 - r/3)) c below the top.
    const double r = 0.002 / 0.0035;
    const double mean = 1.0 - r / 3.0;
    const double beta = 1.0 - (0.5 - r * r / 12.0) / mean;
    auto parabola_moment = [&](double fc, double fy) {
        const double c = As3 * fy / (mean * fc * 12.0);
        return As3 * fy * (21.5 - beta * c);
    };
    struct Case {
        const char* name;
        DesignCode code;
        bool design;
        double Po;
        double M0;
    } const kCases[] = {
        {"ACI 318", DesignCode::kAci318, false, Po_block, Mn_block},
        {"AASHTO", DesignCode::kAashto, false, Po_block, Mn_block},
        {"EN 1992 nominal", DesignCode::kEurocode2, false, Po_ec2, parabola_moment(kFc, kFy)},
        // Design strengths fcd = fck/1.5, fyd = fyk/1.15.
        {"EN 1992 design", DesignCode::kEurocode2, true,
         kFc / 1.5 * (Ag - As6) + std::min(kEs * 0.002, kFy / 1.15) * As6, parabola_moment(kFc / 1.5, kFy / 1.15)},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const section::SectionResultant squash =
            section::ResultantAtDepth(both, c.code, c.design, section::kUniformCompression);
        EXPECT_NEAR(squash.P, c.Po, 1e-9 * c.Po);
        // Symmetric section: no moment, up to the smearing of the bars over
        // the slices.
        EXPECT_NEAR(squash.M, 0.0, 1e-4 * c.Po * 24.0);
        EXPECT_NEAR(MomentAt(bottom, c.code, c.design, 0.0), c.M0, 0.004 * c.M0);
    }
}

TEST(InteractionDiagram, EurocodeHighStrengthConcrete) {
    // fck = 70 MPa, EN 1992-1-1 Table 3.1 with r = ((90 - 70)/100)^4 = 0.0016:
    // eps_c2 = 2.0 + 0.085 (70 - 50)^0.53 = 2.4164 permil, eps_cu2 = 2.6 + 35 r
    // = 2.656 permil. Under uniform strain eps_c2 the concrete is at fck and
    // the bars at min(Es eps_c2, fy) = fy.
    const double fck = 70.0 / 6.89475732421875;  // ksi
    model::PileSection pile = RectangularPile(24.0, 12.0, fck);
    SetRebar(pile, {Bar(0.0, -9.5, 1.0, kBarArea), Bar(0.0, 9.5, 1.0, kBarArea)});
    const SectionWorkspace ws = SlicedWorkspace(pile);
    const InteractionDiagram d =
        section::ComputeInteractionDiagram(ws, DesignCode::kEurocode2, TransverseReinforcement::kTied, false);
    EXPECT_NEAR(d.eps_cu, 0.002656, 1e-9);
    const double eps_c2 = (2.0 + 0.085 * std::pow(20.0, 0.53)) / 1000.0;
    EXPECT_NEAR(d.points.front().eps_t, -eps_c2, 1e-12);
    const double As = 2 * kBarArea;
    EXPECT_NEAR(d.Po, fck * (288.0 - As) + kFy * As, 1e-9 * d.Po);
}

TEST(InteractionDiagram, RectangleBalancedPoint) {
    const SectionWorkspace ws = SlicedWorkspace(Rectangle(true));
    const InteractionDiagram d =
        section::ComputeInteractionDiagram(ws, DesignCode::kAci318, TransverseReinforcement::kTied, false);
    ASSERT_GE(d.points.size(), 50u);
    // Balanced: eps_cu = 0.003 at the top as the extreme bars reach eps_y = fy/Es.
    const double eps_y = kFy / kEs;
    const double cb = 0.003 * 21.5 / (0.003 + eps_y);
    const double a = 0.85 * cb;
    const double Cc = 0.85 * kFc * 12.0 * a;
    const double eps_top_bars = 0.003 * (cb - 2.5) / cb;  // 0.00241 > eps_y: yielded
    ASSERT_GT(eps_top_bars, eps_y);
    const double Cs = 3 * kBarArea * (kFy - 0.85 * kFc);  // bars inside the block displace concrete
    const double T = 3 * kBarArea * kFy;
    const double Pb = Cc + Cs - T;
    const double Mb = Cc * (12.0 - a / 2.0) + Cs * (12.0 - 2.5) + T * (21.5 - 12.0);
    const section::InteractionPoint& b = d.points[static_cast<std::size_t>(d.balanced)];
    EXPECT_NEAR(b.eps_t, eps_y, 1e-12);
    EXPECT_NEAR(b.Pn, Pb, 0.005 * Pb);
    EXPECT_NEAR(b.Mn, Mb, 0.005 * Mb);
    // Compression-controlled: phi 0.65 (tied), and the balanced point has the
    // largest moment of the diagram within a slice.
    EXPECT_DOUBLE_EQ(b.phi, 0.65);
    for (const auto& p : d.points) EXPECT_LE(p.Mn, Mb * 1.01);
    // The ends: Po and the tensile strength -fy Ast.
    EXPECT_NEAR(d.points.back().Pn, -kFy * 6 * kBarArea, 1e-9);
    // Design axial strength capped at phi 0.80 Po.
    EXPECT_NEAR(d.factored_cap, 0.65 * 0.80 * d.Po, 1e-9);
    EXPECT_DOUBLE_EQ(d.points.front().Pd, d.factored_cap);
    for (const auto& p : d.points) EXPECT_LE(p.Pd, d.factored_cap);
}

TEST(InteractionDiagram, CircularShaft) {
    // 36 in shaft, f'c 4 ksi, twelve bars of 1.0 in^2 on a circle of radius 14.5 in.
    model::PileSection pile = DrilledShaft(36.0, kFc);
    SetRebar(pile, BarsOnCircle(12, 14.5, 1.128, 1.0));
    const SectionWorkspace ws = SlicedWorkspace(pile);
    const double R = 18.0;
    const double Ag = kPi * R * R;
    const double Po = 0.85 * kFc * (Ag - 12.0) + kFy * 12.0;
    EXPECT_NEAR(section::ResultantAtDepth(ws, DesignCode::kAci318, false, section::kUniformCompression).P, Po,
                1e-6 * Po);

    // Pure bending by the rectangular block: a circular segment of depth
    // a = 0.85 c under 0.85 f'c, bars elastic-plastic, bars in the block
    // displacing concrete; c found by bisection on zero axial force.
    auto resultant = [&](double c, double& M) {
        const double a = std::min(0.85 * c, 2.0 * R);
        const double theta = std::acos((R - a) / R);
        const double area = R * R * (theta - std::sin(theta) * std::cos(theta));
        const double ybar = 2.0 / 3.0 * std::pow(R * std::sin(theta), 3) / area;
        double P = 0.85 * kFc * area;
        M = P * ybar;
        for (int j = 0; j < 12; ++j) {
            const double y = 14.5 * std::sin(2.0 * kPi * j / 12.0);
            const double depth = R - y;
            double stress = std::clamp(kEs * 0.003 * (c - depth) / c, -kFy, kFy);
            if (depth < a) stress -= 0.85 * kFc;
            P += stress * 1.0;
            M += stress * 1.0 * y;
        }
        return P;
    };
    double low = 0.1, high = 36.0, M0 = 0.0;
    for (int k = 0; k < 200; ++k) {
        const double mid = 0.5 * (low + high);
        (resultant(mid, M0) > 0.0 ? high : low) = mid;
    }
    resultant(0.5 * (low + high), M0);
    EXPECT_NEAR(MomentAt(ws, DesignCode::kAci318, false, 0.0), M0, 0.01 * M0);
    EXPECT_NEAR(MomentAt(ws, DesignCode::kAashto, false, 0.0), M0, 0.01 * M0);
}

TEST(InteractionDiagram, StrengthReductionFactor) {
    const SectionWorkspace ws = SlicedWorkspace(Rectangle(true));
    const double ey = kFy / kEs;
    struct Case {
        const char* name;
        DesignCode code;
        TransverseReinforcement transverse;
        double eps_t;
        double phi;
    } const kCases[] = {
        // ACI 318-19 Table 21.2.2.
        {"ACI tied, compression-controlled", DesignCode::kAci318, TransverseReinforcement::kTied, ey, 0.65},
        {"ACI tied, deep compression", DesignCode::kAci318, TransverseReinforcement::kTied, -0.001, 0.65},
        {"ACI tied, halfway", DesignCode::kAci318, TransverseReinforcement::kTied, ey + 0.0015, 0.775},
        {"ACI tied, tension-controlled", DesignCode::kAci318, TransverseReinforcement::kTied, ey + 0.003, 0.90},
        {"ACI spiral, compression-controlled", DesignCode::kAci318, TransverseReinforcement::kSpiral, ey, 0.75},
        {"ACI spiral, quarter", DesignCode::kAci318, TransverseReinforcement::kSpiral, ey + 0.00075, 0.7875},
        {"ACI spiral, tension-controlled", DesignCode::kAci318, TransverseReinforcement::kSpiral, 0.02, 0.90},
        // AASHTO LRFD 5.5.4.2: 0.75 to 0.90 between fy/Es and 0.005.
        {"AASHTO, compression-controlled", DesignCode::kAashto, TransverseReinforcement::kTied, ey, 0.75},
        {"AASHTO, halfway", DesignCode::kAashto, TransverseReinforcement::kTied, (ey + 0.005) / 2.0, 0.825},
        {"AASHTO, tension-controlled", DesignCode::kAashto, TransverseReinforcement::kSpiral, 0.005, 0.90},
        {"EN 1992 uses design strengths", DesignCode::kEurocode2, TransverseReinforcement::kTied, 0.0, 1.0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const InteractionDiagram d = section::ComputeInteractionDiagram(ws, c.code, c.transverse, false);
        EXPECT_NEAR(section::StrengthReductionFactor(d, c.eps_t), c.phi, 1e-12);
    }
    // Every factored point is its nominal point times its phi (below the cap).
    const InteractionDiagram d =
        section::ComputeInteractionDiagram(ws, DesignCode::kAci318, TransverseReinforcement::kSpiral, false);
    EXPECT_NEAR(d.factored_cap, 0.75 * 0.85 * d.Po, 1e-9);
    for (const auto& p : d.points) {
        EXPECT_NEAR(p.Md, p.phi * p.Mn, 1e-9);
        if (p.phi * p.Pn < d.factored_cap) {
            EXPECT_NEAR(p.Pd, p.phi * p.Pn, 1e-9);
        }
    }
}

TEST(InteractionDiagram, SteelPipePlasticInteraction) {
    // 24 in pipe, 0.5 in wall, fy 36 ksi. With the plastic neutral axis at
    // ordinate y0: P = fy (2 A_above - A), M = 2 fy (S_out(y0) - S_in(y0)),
    // S(y0) = 2/3 (r^2 - y0^2)^(3/2) the first moment of the circular segment
    // above y0 about the centre.
    const double fy = 36.0, Ro = 12.0, Ri = 11.5;
    const SectionWorkspace ws = SlicedWorkspace(SteelPipe(24.0, 0.5, 36000.0, 29.0e6));
    auto segment = [](double r, double y0, double& area, double& moment) {
        if (y0 >= r) {
            area = moment = 0.0;
            return;
        }
        const double theta = std::acos(std::max(-1.0, y0 / r));
        area = r * r * (theta - std::sin(theta) * std::cos(theta));
        moment = 2.0 / 3.0 * std::pow(std::max(0.0, r * r - y0 * y0), 1.5);
    };
    const double A = kPi * (Ro * Ro - Ri * Ri);
    for (double y0 : {-11.0, -6.0, 0.0, 4.0, 9.0, 11.8}) {
        SCOPED_TRACE(y0);
        double ao, so, ai, si;
        segment(Ro, y0, ao, so);
        segment(Ri, y0, ai, si);
        const double P = fy * (2.0 * (ao - ai) - A);
        const double M = 2.0 * fy * (so - si);
        EXPECT_NEAR(MomentAt(ws, DesignCode::kAci318, false, P), M, 0.01 * fy * (Ro * Ro * Ro - Ri * Ri * Ri));
    }
    // fy Z at zero thrust; squash load fy A; phi 0.90 under ACI 318 runs.
    const double Z = (std::pow(24.0, 3) - std::pow(23.0, 3)) / 6.0;
    EXPECT_NEAR(MomentAt(ws, DesignCode::kAci318, false, 0.0), fy * Z, 0.002 * fy * Z);
    const InteractionDiagram d =
        section::ComputeInteractionDiagram(ws, DesignCode::kAci318, TransverseReinforcement::kTied, false);
    EXPECT_NEAR(d.Po, fy * A, 1e-6 * fy * A);
    for (const auto& p : d.points) EXPECT_DOUBLE_EQ(p.phi, 0.90);
    EXPECT_NEAR(d.points[static_cast<std::size_t>(d.balanced)].Mn, fy * Z, 0.01 * fy * Z);
}

TEST(InteractionDiagram, PrestressedSquashLoadIncludesEffectivePrestress) {
    // 14 in square pile, f'c 6 ksi, eight 0.5 in PCI 270 strands (0.153 in^2),
    // 200 kip initial force, 20 percent loss.
    const model::PileSection pile = PrestressedSquare(14.0, 0.0, 2, 4.5, 200000.0, 0.2);
    auto ctx = MakeContext();
    SectionWorkspace ws;
    section::PrepareSectionWorkspace(*ctx, ws, pile, 1);
    section::Initialize_EI_Vars(*ctx, ws, pile);
    const double Aps = 8 * 0.153;
    const double Ac = 14.0 * 14.0 - Aps;
    const double Pe = 0.8 * 200.0;                      // kips
    const double eps_ps = -Pe / (28000.0 * Aps);        // strand prestrain, strand-table modulus
    const double Ec = 57.0 * std::sqrt(6000.0);         // ksi
    const double eps_pc = Pe / (Ac * Ec);               // concrete precompression
    // Strands follow the concrete from its prestressed state to 0.003:
    // eps = eps_ps + 0.003 - eps_pc, elastic on the 28500 ksi branch.
    const double strand_stress = 28500.0 * (eps_ps + 0.003 - eps_pc);
    const double Po = 0.85 * 6.0 * Ac + Aps * strand_stress;
    const InteractionDiagram d =
        section::ComputeInteractionDiagram(ws, DesignCode::kAci318, TransverseReinforcement::kTied, false);
    EXPECT_NEAR(d.Po, Po, 1e-6 * Po);
    EXPECT_TRUE(d.prestressed);
    EXPECT_DOUBLE_EQ(d.eps_ty, 0.002);
    // AASHTO: tension-controlled prestressed sections take phi = 1.00.
    const InteractionDiagram a =
        section::ComputeInteractionDiagram(ws, DesignCode::kAashto, TransverseReinforcement::kTied, false);
    EXPECT_DOUBLE_EQ(section::StrengthReductionFactor(a, 0.006), 1.0);
}

TEST(InteractionDiagram, ReversedSectionBendsTheOtherWay) {
    // Turning the bottom-reinforced rectangle over gives the rectangle with
    // the same bars at the top: equal resultants at every neutral-axis depth.
    model::PileSection top = RectangularPile(24.0, 12.0, kFc);
    SetRebar(top, {Bar(-4.0, 9.5, 1.0, kBarArea), Bar(0.0, 9.5, 1.0, kBarArea), Bar(4.0, 9.5, 1.0, kBarArea)});
    const SectionWorkspace turned = section::ReversedSection(SlicedWorkspace(Rectangle(false)));
    const SectionWorkspace expected = SlicedWorkspace(top);
    for (double c : {section::kUniformCompression, 30.0, 12.0, 4.0, 1.0}) {
        SCOPED_TRACE(c);
        const auto a = section::ResultantAtDepth(turned, DesignCode::kAci318, false, c);
        const auto b = section::ResultantAtDepth(expected, DesignCode::kAci318, false, c);
        // Equal up to the smearing of the bars over the slices, which is
        // not exactly mirror-symmetric (about 0.1 percent here).
        EXPECT_NEAR(a.P, b.P, 2e-3 * std::fabs(b.P) + 1e-6);
        EXPECT_NEAR(a.M, b.M, 2e-3 * (std::fabs(b.M) + 1.0));
        EXPECT_NEAR(a.eps_t, b.eps_t, 1e-12);
    }
}

TEST(InteractionDiagram, CapacityCheckOnEitherSideOfTheCurve) {
    const SectionWorkspace ws = SlicedWorkspace(Rectangle(true));
    const InteractionDiagram d =
        section::ComputeInteractionDiagram(ws, DesignCode::kAci318, TransverseReinforcement::kTied, false);
    const section::InteractionPoint& b = d.points[static_cast<std::size_t>(d.balanced)];
    struct Case {
        const char* name;
        double P, M;
        double ratio;
        bool pass;
    } const kCases[] = {
        {"inside, at the balanced ray", 0.98 * b.Pd, 0.98 * b.Md, 0.98, true},
        {"outside, at the balanced ray", 1.02 * b.Pd, -1.02 * b.Md, 1.02, false},
        {"axial only, under the cap", 0.5 * d.factored_cap, 0.0, 0.5, true},
        {"axial only, over the cap", 1.01 * d.factored_cap, 0.0, 1.01, false},
        {"tension only", 0.5 * d.points.back().Pd, 0.0, 0.5, true},
        {"no demand", 0.0, 0.0, 0.0, true},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const section::CapacityCheck check = section::CheckAgainstDiagram(d, c.P, c.M);
        EXPECT_NEAR(check.ratio, c.ratio, 1e-9);
        EXPECT_EQ(check.pass, c.pass);
    }
    // Pure bending: the capacity ratio is M over the design moment at P = 0.
    const double M0 = 0.9 * MomentAt(ws, DesignCode::kAci318, false, 0.0);
    const section::CapacityCheck bending = section::CheckAgainstDiagram(d, 0.0, 0.5 * M0);
    EXPECT_NEAR(bending.ratio, 0.5, 0.01);
}

}  // namespace
}  // namespace trevasc::testing
