// Moment-curvature analysis checked against mechanics: the elastic branch of
// a steel pipe (EI = E I), its capacity between first yield (fy S) and full
// plasticity (fy Z), reinforced-concrete nominal capacities against an
// independent strain-compatibility calculation with the ACI rectangular
// stress block, axial equilibrium at every stored point, and the effect of
// axial thrust on capacity.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "run/error_stop.hpp"
#include "section/capacities.hpp"
#include "section/moment_curvature.hpp"
#include "section_fixtures.hpp"

namespace trevasc::testing {
namespace {

using section::MomentCurvatureCurve;
using section::SectionWorkspace;

struct Analysed {
    std::unique_ptr<run::RunContext> ctx;
    SectionWorkspace ws;
    MomentCurvatureCurve curve;
};

// Prepares the section as the driver does and computes one curve at thrust P
// (kips), with the curvature step of the section.
Analysed Analyse(const model::PileSection& pile, double P, model::UnitSystem units = model::UnitSystem::USCS) {
    Analysed a;
    a.ctx = MakeContext(units);
    section::PrepareSectionWorkspace(*a.ctx, a.ws, pile, 1);
    const section::AxialCapacities cap = section::ComputeAxialCapacities(a.ws, pile);
    a.ws.Pmax = cap.Pmax;
    a.ws.Pmin = cap.Pmin;
    a.ws.Pcr = cap.Pcr;
    section::Initialize_EI_Vars(*a.ctx, a.ws, pile);
    section::StartThrust(a.ws, P);
    a.curve = section::ComputeMomentCurvature(*a.ctx, a.ws, P, section::InitialCurvatureStep(a.ws, P));
    return a;
}

model::PileSection Rectangle12x24() {
    // 12 in wide, 24 in deep, f'c 4 ksi; three #8 bars (0.79 in^2) at d = 21.5 in.
    model::PileSection pile = RectangularPile(24.0, 12.0, 4.0);
    SetRebar(pile, {Bar(-4.0, -9.5, 1.0, 0.79), Bar(0.0, -9.5, 1.0, 0.79), Bar(4.0, -9.5, 1.0, 0.79)});
    return pile;
}

model::PileSection Shaft36() {
    // 36 in shaft, f'c 4 ksi, twelve bars of 1.0 in^2 on a circle of radius 14.5 in.
    model::PileSection pile = DrilledShaft(36.0, 4.0);
    SetRebar(pile, BarsOnCircle(12, 14.5, 1.128, 1.0));
    return pile;
}

// Nominal moment capacity by strain compatibility with the ACI 318
// equivalent rectangular stress block (0.85 f'c over a = beta1 c, extreme
// concrete strain 0.003), bars elastic-perfectly plastic, bars inside the
// block displacing concrete. Circle of radius r (rectangle when width > 0).
struct BlockSection {
    double r = 0.0;          // circle radius, 0 for a rectangle
    double width = 0.0;      // rectangle width
    double depth = 0.0;      // rectangle depth
    std::vector<std::pair<double, double>> bars;  // (y, area), y from the centroid toward compression
    double fc = 4.0, fy = 60.0, Es = 29000.0, beta1 = 0.85;
};

// Compression block area and its centroid above the section centroid.
void Block(const BlockSection& s, double a, double& area, double& centroid) {
    if (s.r == 0.0) {
        area = s.width * a;
        centroid = s.depth / 2.0 - a / 2.0;
        return;
    }
    const double r = s.r;
    const double theta = std::acos((r - a) / r);  // half-angle of the segment
    area = r * r * (theta - std::sin(theta) * std::cos(theta));
    centroid = 2.0 * std::pow(r * std::sin(theta), 3) / (3.0 * area);
}

double BlockCapacity(const BlockSection& s, double P) {
    const double top = s.r > 0.0 ? s.r : s.depth / 2.0;
    const auto forces = [&](double c, double& moment) {
        const double a = std::min(s.beta1 * c, 2.0 * top);
        double area = 0.0, centroid = 0.0;
        Block(s, a, area, centroid);
        double N = 0.85 * s.fc * area;
        moment = N * centroid;
        for (const auto& [y, As] : s.bars) {
            const double d = top - y;
            const double strain = 0.003 * (c - d) / c;
            double stress = std::clamp(s.Es * strain, -s.fy, s.fy);
            if (d < a) stress -= 0.85 * s.fc;
            N += As * stress;
            moment += As * stress * y;
        }
        return N;
    };
    double lo = 0.01, hi = 10.0 * top, moment = 0.0;
    for (int k = 0; k < 200; ++k) {
        const double c = 0.5 * (lo + hi);
        if (forces(c, moment) > P) hi = c; else lo = c;
    }
    forces(0.5 * (lo + hi), moment);
    return moment;
}

TEST(MomentCurvature, ReinforcedConcreteCapacityAgreesWithStrainCompatibility) {
    // Rectangle: a = As fy / (0.85 f'c b) = 142.2 / 40.8 = 3.485 in,
    // Mn = As fy (d - a/2) = 142.2 (21.5 - 1.743) = 2809 kip-in.
    BlockSection rectangle;
    rectangle.width = 12.0;
    rectangle.depth = 24.0;
    rectangle.bars = {{-9.5, 3 * 0.79}};
    EXPECT_NEAR(BlockCapacity(rectangle, 0.0), 142.2 * (21.5 - 142.2 / 40.8 / 2.0), 1e-6);

    BlockSection circle;
    circle.r = 18.0;
    for (const model::BarRecord& bar : BarsOnCircle(12, 14.5, 1.128, 1.0)) {
        circle.bars.push_back({bar.BarY, bar.BarArea});
    }

    struct Case {
        std::string name;
        model::PileSection pile;
        BlockSection hand;
        double P;
    };
    const Case cases[] = {
        {"rectangle, no thrust", Rectangle12x24(), rectangle, 0.0},
        {"circular shaft, no thrust", Shaft36(), circle, 0.0},
        {"circular shaft, 500 kips", Shaft36(), circle, 500.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Analysed a = Analyse(c.pile, c.P);
        const double expected = BlockCapacity(c.hand, c.P);
        EXPECT_NEAR(a.curve.NominalMomentCapacity, expected, 0.03 * expected);
        // The curve reaches the capacity strain and stops at 0.0038.
        EXPECT_GE(a.curve.Points.back().eps_c, 0.0038);
        EXPECT_LT(a.curve.Points[a.curve.Points.size() - 2].eps_c, 0.0038);
    }
}

TEST(MomentCurvature, EveryStoredPointIsInAxialEquilibrium) {
    struct Case {
        std::string name;
        model::PileSection pile;
        double P;
    };
    model::PileSection cased = Shaft36();
    cased.SectionType = model::kDrilledShaftWithCasingAndCore;
    cased.SteelThickness = 0.5;
    cased.SteelYieldStress = 36000.0;
    cased.SteelModulus = 29.0e6;
    cased.CoreDiameter = 10.0;
    cased.CoreThickness = 0.5;
    cased.CoreYieldStress = 36000.0;
    cased.CoreModulus = 29.0e6;
    cased.b_FillCoreWithConcrete = true;
    const Case cases[] = {
        {"rectangle", Rectangle12x24(), 0.0},
        {"shaft in compression", Shaft36(), 800.0},
        {"shaft in tension", Shaft36(), -200.0},
        {"cased shaft with filled core", cased, 300.0},
        {"prestressed square", PrestressedSquare(14.0, 0.75, 2, 4.5, 8 * 0.153 * 0.75 * 270000.0, 0.2), 0.0},
        {"steel pipe", SteelPipe(24.0, 0.5, 36000.0, 29.0e6), 100.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Analysed a = Analyse(c.pile, c.P);
        ASSERT_GE(a.curve.Points.size(), 5u);
        for (std::size_t p = 0; p < a.curve.Points.size(); ++p) {
            const section::CurvePoint& point = a.curve.Points[p];
            const double N = section::Compute_Axial_Thrust_Force(a.ws, point.c, point.phi);
            EXPECT_NEAR(N, c.P, 1e-3 * std::max(1.0, std::fabs(a.ws.Pmax))) << "point " << p + 1;
        }
    }
}

TEST(MomentCurvature, SteelPipeIsElasticUntilYieldAndBoundedByThePlasticMoment) {
    // 24 in pipe, 0.5 in wall, fy = 36 ksi, E = 29000 ksi.
    const double D = 24.0, t = 0.5, fy = 36.0, E = 29000.0;
    const double I = kPi / 64.0 * (std::pow(D, 4) - std::pow(D - 2 * t, 4));
    const double S = I / (D / 2.0);
    const double Z = (std::pow(D, 3) - std::pow(D - 2 * t, 3)) / 6.0;
    const Analysed a = Analyse(SteelPipe(D, t, 36000.0, 29.0e6), 0.0);
    const std::vector<section::CurvePoint>& points = a.curve.Points;
    // First yield at phi_y = fy / (E D/2); points before it are elastic.
    const double phi_y = fy / (E * D / 2.0);
    int elastic_points = 0;
    for (const section::CurvePoint& p : points) {
        if (p.phi >= 0.95 * phi_y) break;
        EXPECT_NEAR(p.EI, E * I, 2e-3 * E * I) << "phi " << p.phi;
        EXPECT_EQ(p.YieldMessage, ' ');
        ++elastic_points;
    }
    EXPECT_GE(elastic_points, 10);
    EXPECT_EQ(points.back().YieldMessage, 'Y');
    // The curve stops at the strain limit 5 fy/E and its capacity lies
    // between the yield moment and the plastic moment.
    EXPECT_GE(std::max(points.back().eps_c, -points.back().eps_t), 5.0 * fy / E);
    EXPECT_GT(a.curve.NominalMomentCapacity, fy * S);
    EXPECT_LT(a.curve.NominalMomentCapacity, fy * Z);
    EXPECT_GT(a.curve.NominalMomentCapacity, 0.95 * fy * Z);
    for (const section::CurvePoint& p : points) EXPECT_EQ(p.CrackedMessage, ' ');
}

TEST(MomentCurvature, CapacityFallsWithTensionAndRisesWithModerateCompression) {
    const model::PileSection shaft = Shaft36();
    const double tension = Analyse(shaft, -300.0).curve.NominalMomentCapacity;
    const double none = Analyse(shaft, 0.0).curve.NominalMomentCapacity;
    const double compression = Analyse(shaft, 800.0).curve.NominalMomentCapacity;
    EXPECT_LT(tension, none);
    EXPECT_GT(compression, none);
}

TEST(MomentCurvature, TensionBeyondCrackingStartsCrackedAndMomentsNeverFall) {
    const model::PileSection shaft = Shaft36();
    const Analysed a = Analyse(shaft, -600.0);
    ASSERT_LT(-600.0, a.ws.Pcr);
    EXPECT_EQ(a.curve.Points.front().CrackedMessage, 'C');
    for (std::size_t p = 1; p < a.curve.Points.size(); ++p) {
        EXPECT_GE(a.curve.Points[p].M, a.curve.Points[p - 1].M);
        EXPECT_NEAR(a.curve.Points[p].EI, a.curve.Points[p].M / a.curve.Points[p].phi, 1e-9 * a.curve.Points[p].EI);
    }
}

TEST(MomentCurvature, CurvatureSequenceAndInitialStep) {
    const double d0 = 1.0e-6;
    EXPECT_DOUBLE_EQ(section::CurvatureOfPoint(1, d0), d0);
    EXPECT_NEAR(section::CurvatureOfPoint(39, d0), 39 * d0, 1e-18);
    EXPECT_NEAR(section::CurvatureOfPoint(40, d0) - section::CurvatureOfPoint(39, d0), 2 * d0, 1e-18);
    EXPECT_NEAR(section::CurvatureOfPoint(80, d0) - section::CurvatureOfPoint(79, d0), 8 * d0, 1e-17);
    EXPECT_NEAR(section::CurvatureOfPoint(120, d0) - section::CurvatureOfPoint(119, d0), 48 * d0, 1e-16);
    // 39 + 40 x 2 + 40 x 8 + 31 x 48 steps.
    EXPECT_NEAR(section::CurvatureOfPoint(150, d0), (39 + 80 + 320 + 31 * 48) * d0, 1e-15);

    struct Case {
        double width;
        model::UnitSystem units;
        double expected;
    };
    // 1.25E-6 / max(1, nint(W / 24 in)), SI per metre with the same inch count.
    const Case cases[] = {{30.0, model::UnitSystem::USCS, 1.25e-6},        {36.0, model::UnitSystem::USCS, 1.25e-6 / 2},
                          {60.0, model::UnitSystem::USCS, 1.25e-6 / 3},    {12.0, model::UnitSystem::USCS, 1.25e-6},
                          {0.9144, model::UnitSystem::SI, 4.921259901994065e-5 / 2}};
    for (const Case& c : cases) {
        section::SectionWorkspace ws = SlicedWorkspace(DrilledShaft(c.width, 4.0), c.units);
        EXPECT_NEAR(section::InitialCurvatureStep(ws, 0.0), c.expected, 1e-12 * c.expected) << c.width;
    }
}

TEST(MomentCurvature, NominalCapacityInterpolatesAtTheUltimateStrain) {
    auto point = [](double eps_c, double M) {
        section::CurvePoint p;
        p.eps_c = eps_c;
        p.M = M;
        return p;
    };
    struct Case {
        std::string name;
        std::vector<section::CurvePoint> points;
        double expected;
    };
    const Case cases[] = {
        {"between two points", {point(0.001, 100), point(0.002, 200), point(0.004, 260)}, 230.0},
        {"at a point", {point(0.001, 100), point(0.003, 250), point(0.004, 260)}, 250.0},
        {"never reached", {point(0.001, 100), point(0.002, 150)}, 150.0},
        {"point 2 beyond", {point(0.0025, 100), point(0.0035, 200)}, 150.0},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(section::NominalMomentCapacity(c.points, false), c.expected, 1e-9) << c.name;
    }
    EXPECT_EQ(section::NominalMomentCapacity({point(0.001, 100), point(0.002, 90)}, true), 90.0);
}

TEST(MomentCurvature, PrestressedPileWhoseNeutralAxisNearsTheFaceEndsWithZ) {
    // Heavy tension on a prestressed pile pushes the neutral axis toward the
    // compression face; the curve ends with the Z message.
    const model::PileSection pile = PrestressedSquare(14.0, 0.75, 2, 4.5, 8 * 0.153 * 0.75 * 270000.0, 0.2);
    const Analysed a = Analyse(pile, -250.0);
    const section::CurvePoint& last = a.curve.Points.back();
    EXPECT_EQ(last.YieldMessage, 'Z');
    EXPECT_LT(last.c, 0.1 * a.ws.D);
}

TEST(MomentCurvature, SymmetricPrestressedPileCarriesNoMomentAtZeroCurvature) {
    // Under the prestress alone every fibre of a doubly symmetric pile has the
    // same strain, so the section's moment about mid-depth is zero, and the
    // uncracked stiffness M / phi is the same at the first points. Strands
    // smeared off their centres would leave a constant false moment of several
    // kip-in, which lowers the first-point EI.
    const model::PileSection pile = PrestressedSquare(14.0, 0.75, 2, 4.5, 8 * 0.153 * 0.75 * 270000.0, 0.2);
    Analysed a = Analyse(pile, 0.0);
    section::Compute_Axial_Thrust_Force(a.ws, 0.5 * a.ws.D, 0.0);
    EXPECT_NEAR(section::SectionMoment(a.ws), 0.0, 1e-9);
    const auto& points = a.curve.Points;
    ASSERT_GE(points.size(), 3u);
    EXPECT_NEAR(points[1].EI, points[0].EI, 1e-4 * points[0].EI);
    EXPECT_NEAR(points[2].EI, points[0].EI, 1e-4 * points[0].EI);
}

TEST(MomentCurvature, NeutralAxisIsFoundNearTheAxialCapacity) {
    // A 20 in wide, 30 in deep rectangle, f'c 5 ksi, twelve #8 bars (9.48 in^2,
    // six at each face): 0.85 f'c (Ag - As) + fy As = 3078.5 kips. At 3000 kips
    // and the first curvature (1.25E-6 /in, phi D = 3.75E-5) the strain is all
    // but uniform, the neutral axis far below the section; Newton's method
    // overshoots past the concrete's peak here, the bracketing search does not.
    model::PileSection pile = RectangularPile(30.0, 20.0, 5.0);
    std::vector<model::BarRecord> bars;
    for (double x : {-7.5, -4.5, -1.5, 1.5, 4.5, 7.5}) {
        bars.push_back(Bar(x, 12.5, 1.0, 0.79));
        bars.push_back(Bar(x, -12.5, 1.0, 0.79));
    }
    SetRebar(pile, bars);
    const double P = 3000.0;
    Analysed a = Analyse(pile, P);
    ASSERT_GE(a.curve.Points.size(), 2u);
    const section::CurvePoint& first = a.curve.Points.front();
    EXPECT_NEAR(section::Compute_Axial_Thrust_Force(a.ws, first.c, first.phi), P, 1e-3);
    // By hand, with the strain e uniform at its mid-depth value: the concrete
    // (Ag - As) fc (2 e/e0 - (e/e0)^2), e0 = 1.7 f'c / (57 sqrt(1000 f'c)),
    // plus the elastic bars As Es e, equal P: a quadratic in e. The top strain
    // adds phi D / 2.
    const double fc = 5.0, As = 9.48, Es = 29000.0, Ac = 600.0 - As;
    const double e0 = 1.7 * fc / (57.0 * std::sqrt(1000.0 * fc));
    const double qa = -Ac * fc / (e0 * e0);
    const double qb = 2.0 * Ac * fc / e0 + As * Es;
    const double e_mid = (-qb + std::sqrt(qb * qb + 4.0 * qa * P)) / (2.0 * qa);
    EXPECT_NEAR(first.eps_c, e_mid + 0.5 * first.phi * 30.0, 1e-6);
    EXPECT_LT(first.eps_c, e0);  // on the rising branch of the concrete
    // The curve goes on past the ultimate strain; where the crushing top
    // fibres can no longer carry the thrust, it ends at the last point held.
    EXPECT_GT(a.curve.Points.back().eps_c, 0.003);
    for (const section::CurvePoint& point : a.curve.Points) {
        EXPECT_NEAR(section::Compute_Axial_Thrust_Force(a.ws, point.c, point.phi), P, 1e-2) << point.phi;
    }
}

TEST(MomentCurvature, UnderReinforcedSectionRunsTo150PointsAndKeepsItsPeak) {
    // A single small bar: the section cannot reach 0.003 before point 150.
    model::PileSection weak = DrilledShaft(36.0, 4.0);
    SetRebar(weak, {Bar(0.0, -14.5, 0.375, 0.11)});
    const Analysed a = Analyse(weak, 0.0);
    EXPECT_EQ(a.curve.Points.size(), 150u);
    EXPECT_DOUBLE_EQ(a.curve.NominalMomentCapacity, a.curve.Points.back().M);
}

}  // namespace
}  // namespace trevasc::testing
