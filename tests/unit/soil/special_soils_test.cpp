// The criteria for special soils: liquefied sand, cemented silt, loess and
// Piedmont residual soil, in analysis mode (secant moduli at chosen
// deflections against the published equations and their landmarks), with
// their errors.
#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pile/node_setup.hpp"
#include "pile/pile_test_support.hpp"
#include "run/error_stop.hpp"
#include "soil/criteria.hpp"

namespace trevasc::testing {

using model::ProblemData;
using model::UnitSystem;
using enum model::SoilModelCode;

namespace {

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

void SetMultipliers(ProblemData& problem, double pm, double ym) {
    problem.PyModifierProfile = {{0.0, pm, ym}, {problem.PileTotalLength, pm, ym}};
    problem.PyModifierCount = 2;
}

// A problem and its run context with the nodes of one load case set up.
struct Analysis {
    std::unique_ptr<PileRun> run;
    explicit Analysis(const ProblemData& problem) : run(std::make_unique<PileRun>(problem)) {
        pile::SetUpNodes(run->ctx(), problem.PileTotalLength, 0);
    }
    run::RunContext& ctx() { return run->ctx(); }
    model::PileModel& pile() { return run->ctx().pile; }
    int Evaluate(soil::SpringRoutine routine, int layer) {
        const auto l = static_cast<std::size_t>(layer);
        return EvaluateNodes(routine, layer, pile().TopNode[l], pile().BottomNode[l]);
    }
    int EvaluateNodes(soil::SpringRoutine routine, int layer, int first, int last) {
        try {
            routine(ctx(), layer, first, last);
        } catch (const run::RunStop& stop) {
            return stop.error_number;
        }
        return 0;
    }
    // p on the multiplied curve at deflection y of node k.
    double P(soil::SpringRoutine routine, int layer, int k, double y) {
        pile().y(k) = y;
        EXPECT_EQ(Evaluate(routine, layer), 0);
        return pile().Es(k) * std::fabs(y);
    }
};

// ---------------------------------------------------------------------------
// Liquefied sand (Rollins et al.): p = min(15, A (B y)^C Pd) in kN/m with y
// in mm, X = 0.1 gamma' z + 1.

struct RollinsCurve {
    double A, B, C, Pd;
    RollinsCurve(double X, double b_metres)
        : A(3.0e-7 * std::pow(X, 6.05)),
          B(2.80 * std::pow(X, 0.11)),
          C(2.85 * std::pow(X, -0.41)),
          Pd(3.81 * std::log(b_metres) + 5.6) {}
    double KilonewtonsPerMetre(double y_mm) const { return std::min(15.0, A * std::pow(B * y_mm, C) * Pd); }
};

ProblemData LiquefiedSandProblem(UnitSystem units, double b, double gamma) {
    const bool si = units == UnitSystem::SI;
    ProblemData problem = ElasticPileProblem(si ? 10.0 : 400.0, 1.0e10, b, 40, units);
    model::SoilPointParams point;
    point.EffUnitWeight = gamma;
    AddLayer(problem, kLiquefiedSand, 0.0, problem.PileTotalLength, point, point);
    return problem;
}

TEST(LiquefiedSand, PowerLawCurveWithItsFifteenKilonewtonLimit) {
    // SI, a 1 m shaft (Pd = 5.6), gamma' = 10 kN/m^3. Node 9 at 2 m: sigma'
    // = 20 kPa, X = 3.
    const RollinsCurve at_2m(3.0, 1.0);
    struct Case {
        const char* what;
        double y;   // m
        double p;   // kN/m
    };
    const Case kCases[] = {
        {"50 mm", 0.05, at_2m.KilonewtonsPerMetre(50.0)},
        {"10 mm, negative", -0.01, at_2m.KilonewtonsPerMetre(10.0)},
        // A (150 B)^C Pd is far above 15 here: the limit governs.
        {"200 mm: the 15 kN/m limit", 0.2, 15.0},
    };
    ASSERT_LT(at_2m.KilonewtonsPerMetre(50.0), 15.0);
    for (const Case& c : kCases) {
        Analysis a(LiquefiedSandProblem(UnitSystem::SI, 1.0, 10.0));
        EXPECT_NEAR(a.P(&soil::LiquefiedSandSprings, 1, 9, c.y), c.p, 1.0e-6 * c.p) << c.what;
    }
}

TEST(LiquefiedSand, UsCustomaryRunsUseTheSameCurveConverted) {
    // A 36 in pile in soil of 0.04 lb/in^3; node 9 at 80 in: sigma' = 3.2
    // psi and X = 3.2 (0.0254/0.036) + 1. The curve is evaluated with y in mm
    // (25.4 per inch) and p converted from kN/m to lb/in (5.7101).
    const double X = 3.2 * 0.0254 / 0.036 + 1.0;
    const RollinsCurve curve(X, 36.0 * 0.0254);
    const double kn_per_m_to_lb_per_in = 1000.0 / 4.4482216152605 * 0.0254;
    ASSERT_NEAR(kn_per_m_to_lb_per_in, 5.7101, 1.0e-4);
    const double y = 0.5;  // in
    ASSERT_LT(curve.KilonewtonsPerMetre(25.4 * y), 15.0);
    Analysis a(LiquefiedSandProblem(UnitSystem::USCS, 36.0, 0.04));
    EXPECT_NEAR(a.P(&soil::LiquefiedSandSprings, 1, 9, y), kn_per_m_to_lb_per_in * curve.KilonewtonsPerMetre(25.4 * y),
                1.0e-5 * kn_per_m_to_lb_per_in * 15.0);
    // The limit is 15 kN/m in lb/in.
    Analysis limit(LiquefiedSandProblem(UnitSystem::USCS, 36.0, 0.04));
    EXPECT_NEAR(limit.P(&soil::LiquefiedSandSprings, 1, 41, 8.0), 15.0 * kn_per_m_to_lb_per_in, 1.0e-5);
}

TEST(LiquefiedSand, ZeroDeflectionTakesTheSecantToTheFirstTabulatedDeflection) {
    // At y* = 0 the secant modulus is that of 0.25 mm (SI) or 0.01 in (USCS).
    struct Case {
        UnitSystem units;
        double b, gamma, y0;
    };
    for (const Case c : {Case{UnitSystem::SI, 1.0, 10.0, 0.00025}, Case{UnitSystem::USCS, 36.0, 0.04, 0.01}}) {
        Analysis zero(LiquefiedSandProblem(c.units, c.b, c.gamma));
        ASSERT_EQ(zero.Evaluate(&soil::LiquefiedSandSprings, 1), 0);
        Analysis first(LiquefiedSandProblem(c.units, c.b, c.gamma));
        first.pile().y(21) = static_cast<float>(c.y0);
        ASSERT_EQ(first.Evaluate(&soil::LiquefiedSandSprings, 1), 0);
        EXPECT_GT(zero.pile().Es(21), 0.0);
        EXPECT_TRUE(std::isfinite(zero.pile().Es(21)));
        EXPECT_NEAR(zero.pile().Es(21), first.pile().Es(21), 1.0e-9 * first.pile().Es(21));
        // At the ground surface z is taken as 0.0001: a finite modulus too.
        EXPECT_TRUE(std::isfinite(zero.pile().Es(1)));
    }
}

TEST(LiquefiedSand, LayerResistanceIsKeptForTheLayersBelow) {
    // A liquefied layer from 4 to 10 m below 4 m of elastic subgrade: deep
    // enough that its upper limit is 15 kN/m at every node, so its resistance
    // is 15 x 6 = 90 kN.
    ProblemData problem = ElasticPileProblem(10.0, 1.0e10, 1.0, 40, UnitSystem::SI);
    model::SoilPointParams point;
    point.EffUnitWeight = 10.0;
    point.ElasticSubgradeModulus = 1000.0;
    AddLayer(problem, kElasticSubgrade, 0.0, 4.0, point, point);
    AddLayer(problem, kLiquefiedSand, 4.0, 10.0, point, point);
    Analysis a(problem);
    ASSERT_EQ(a.Evaluate(&soil::LiquefiedSandSprings, 2), 0);
    EXPECT_NEAR(a.ctx().soil.LayerResistance[2], 90.0, 1.0e-9);
    EXPECT_NEAR(a.ctx().soil.LiquefiedLayerResistance[2], 90.0, 1.0e-9);
}

TEST(LiquefiedSand, UnitsAndWidthsWithoutACurveAreRejected) {
    struct Case {
        const char* what;
        UnitSystem units;
        double b;
        std::string line;
    };
    const Case kCases[] = {
        {"general units", UnitSystem::GENERAL, 1.0, "          and this run uses general units."},
        // 3.81 ln(0.2) + 5.6 = -0.53: a negative diameter factor.
        {"a 0.2 m pile", UnitSystem::SI, 0.2,
         "          The diameter factor 3.81 ln(b) + 5.6 is not positive for the pile width       0.2000 m,"},
    };
    for (const Case& c : kCases) {
        Analysis a(LiquefiedSandProblem(c.units, c.b, 10.0));
        EXPECT_EQ(a.Evaluate(&soil::LiquefiedSandSprings, 1), 173) << c.what;
        const RunOutput out = a.run->Outputs();
        for (const auto& lines : {out.ReportLines(), out.MessageLines()}) {
            EXPECT_TRUE(Contains(lines, "**** Input Data Error No. 73 ****")) << c.what;
            EXPECT_TRUE(Contains(lines, c.line)) << c.what << "\n" << out.report;
        }
    }
}

// ---------------------------------------------------------------------------
// Cemented silt. USCS: pile 24 in wide and 600 in long (nodes every 6 in),
// c = 10 psi, phi = 35 deg, gamma' = 0.07 lb/in^3, k = 500 lb/in^3, static.

model::SoilPointParams SiltPoint(double c, double phi, double gamma, double k) {
    model::SoilPointParams p;
    p.Cohesion = c;
    p.FrictionAngle = phi;
    p.EffUnitWeight = gamma;
    p.SubgradeK = k;
    return p;
}

ProblemData SiltProblem(double c = 10.0, double phi = 35.0, double gamma = 0.07, double k = 500.0,
                        UnitSystem units = UnitSystem::USCS) {
    ProblemData problem = ElasticPileProblem(600.0, 1.0e10, 24.0, 100, units);
    AddLayer(problem, kCementedSilt, 0.0, 600.0, SiltPoint(c, phi, gamma, k), SiltPoint(c, phi, gamma, k));
    return problem;
}

TEST(CementedSilt, DeepCurveFromFlowResistanceAndCappedBearingFactor) {
    // Node 91 at 540 in: x/b = 22.5, so A = 0.88 and Np = 3 + 0.07 540/10 +
    // 0.5 (22.5) > 9, Pu,c = 9 c b = 2160. At this depth the flow term of
    // Reese et al. (1974) is the smaller frictional resistance:
    // psd = b gamma' z [Ka (tan^8 beta - 1) + K0 tan phi tan^4 beta].
    const double phi = 35.0 * std::numbers::pi / 180.0, b = 24.0, gamma = 0.07, z = 540.0, c = 10.0;
    const double beta = std::numbers::pi / 4.0 + phi / 2.0;
    const double Ka = std::pow(std::tan(std::numbers::pi / 4.0 - phi / 2.0), 2);
    const double psd = b * gamma * z * (Ka * (std::pow(std::tan(beta), 8) - 1.0) + 0.4 * std::tan(phi) * std::pow(std::tan(beta), 4));
    const double Puc = 9.0 * c * b;
    const double pu = 0.88 * psd + Puc;
    const double pm = 1.5 * (psd + Puc);  // above pu: the line from ym to yu falls (m < 0)
    ASSERT_GT(pm, pu);
    const double ym = b / 60.0, yu = 3.0 * b / 80.0, kz = 500.0 * z;
    ASSERT_GT(kz * ym, pm);  // the initial line does not cap these points
    struct Case {
        const char* what;
        double y;
        double p;
    };
    const Case kCases[] = {
        {"at ym = b/60: pm", ym, pm},
        {"halfway from ym to yu", 0.5 * (ym + yu), 0.5 * (pm + pu)},
        {"at yu: pu", yu, pu},
        {"beyond yu: pu", yu + 3.0 * b, pu},
        {"negative deflection beyond yu", -(yu + 1.0), pu},
    };
    for (const Case& cs : kCases) {
        Analysis a(SiltProblem());
        EXPECT_NEAR(a.P(&soil::CementedSiltSprings, 1, 91, cs.y), cs.p, 2.0e-6 * cs.p) << cs.what;
    }
    // At zero deflection Es is k z, without multipliers.
    ProblemData problem = SiltProblem();
    SetMultipliers(problem, 0.5, 2.0);
    Analysis a(problem);
    ASSERT_EQ(a.Evaluate(&soil::CementedSiltSprings, 1), 0);
    EXPECT_NEAR(a.pile().Es(91), kz, 1.0e-9 * kz);
    // Elsewhere pm p(y/ym)/y: twice the deflection at half the resistance.
    a.pile().y(91) = 2.0 * yu;
    ASSERT_EQ(a.Evaluate(&soil::CementedSiltSprings, 1), 0);
    EXPECT_NEAR(a.pile().Es(91) * 2.0 * yu, 0.5 * pu, 2.0e-6 * pu);
}

TEST(CementedSilt, GroundSlopeFactorOnTheBearingFactor) {
    // Without unit weight the frictional part vanishes and pu = Pu,c =
    // F Np c b, Np = 3 + 0.5 z/b = 3.5 at z = b = 24 in (node 5). The factor F
    // depends on the direction of the deflection against the slope: pushed
    // up the slope 1/(1 + tan theta), down it sqrt(2)/2 cos theta / cos(45 deg
    // + theta). The plateau beyond yu shows pu.
    const double theta = 10.0 * std::numbers::pi / 180.0, Np = 3.5, c = 10.0, b = 24.0;
    const double up = 1.0 / (1.0 + std::tan(theta));
    const double down = std::sqrt(2.0) / 2.0 * std::cos(theta) / std::cos(std::numbers::pi / 4.0 + theta);
    struct Case {
        double slope;  // effective slope angle, radians
        double y;
        double F;
    };
    const Case kCases[] = {{0.0, 2.0, 1.0}, {theta, 2.0, up}, {theta, -2.0, down}, {-theta, -2.0, up}, {-theta, 2.0, down}};
    for (const Case& cs : kCases) {
        ProblemData problem = SiltProblem(c, 30.0, 0.0, 1.0e6);
        problem.SlopeMinusBatter = cs.slope;
        Analysis a(problem);
        EXPECT_NEAR(a.P(&soil::CementedSiltSprings, 1, 5, cs.y), cs.F * Np * c * b, 1.0e-7 * Np * c * b)
            << cs.slope << " " << cs.y;
    }
}

TEST(CementedSilt, DefaultInitialModulusFromCohesionAndFriction) {
    struct Case {
        const char* what;
        UnitSystem units;
        bool cyclic;
        double c, phi, gamma;
        double k;  // expected: cohesive part + frictional part
    };
    const Case kCases[] = {
        // 10 psi: 6.94 <= c < 13.88; 35 deg with gamma' above 0.045 lb/in^3.
        {"USCS static", UnitSystem::USCS, false, 10.0, 35.0, 0.07, 500.0 + 90.0},
        {"USCS cyclic", UnitSystem::USCS, true, 10.0, 35.0, 0.07, 200.0 + 90.0},
        {"USCS light, loose", UnitSystem::USCS, false, 3.0, 28.0, 0.03, 250.0 + 20.0},
        {"USCS stiff, dense", UnitSystem::USCS, false, 40.0, 40.0, 0.07, 2000.0 + 225.0},
        // 70 kPa: 47.89 <= c < 95.79; 38 deg with 18 kN/m^3 above 12.225.
        {"SI static", UnitSystem::SI, false, 70.0, 38.0, 18.0, 135723.59375 + 61075.6015625},
        {"SI cyclic, light", UnitSystem::SI, true, 70.0, 33.0, 9.0, 54289.3984375 + 16286.830078125},
        {"general units: none", UnitSystem::GENERAL, false, 10.0, 35.0, 0.07, 0.0},
    };
    for (const Case& c : kCases) {
        ProblemData problem = SiltProblem(c.c, c.phi, c.gamma, 0.0, c.units);
        problem.Options.CyclicLoading = c.cyclic;
        Analysis a(problem);
        ASSERT_EQ(a.Evaluate(&soil::CementedSiltSprings, 1), 0) << c.what;
        // Es at zero deflection is k z (z = 300 at node 51).
        EXPECT_NEAR(a.pile().Es(51), c.k * 300.0, 1.0e-9 * c.k * 300.0) << c.what;
    }
    // With no k the curve is 0 at every deflection.
    ProblemData general = SiltProblem(10.0, 35.0, 0.07, 0.0, UnitSystem::GENERAL);
    Analysis g(general);
    EXPECT_EQ(g.P(&soil::CementedSiltSprings, 1, 51, 0.3), 0.0);
}

TEST(CementedSilt, EquivalentDepthBalancesTheResistanceAbove) {
    // Layer 1: user p-y curves ending at p = 100 lb/in over 0 to 60 in, a
    // resistance of h pu = 6 x 100 lb for each of its nodes. The silt below
    // must develop it over its equivalent depth Z:
    //   integral_0^Z [A(z/b) gamma' b^2 (C1 (z/b)^2 + C2 z/b) + 3 b c + (gamma' b + c/2) z] dz = resistance.
    ProblemData problem = ElasticPileProblem(600.0, 1.0e10, 24.0, 100);
    AddUserPyLayer(problem, 0.0, 60.0, {{0.0, 0.0}, {1.0, 100.0}}, {{0.0, 0.0}, {1.0, 100.0}});
    problem.Layers[0].Top.EffUnitWeight = problem.Layers[0].Bottom.EffUnitWeight = 0.07;
    AddLayer(problem, kCementedSilt, 60.0, 600.0, SiltPoint(10.0, 35.0, 0.07, 500.0), SiltPoint(10.0, 35.0, 0.07, 500.0));
    Analysis a(problem);
    soil::UserPySprings(a.ctx(), 1, a.pile().TopNode[1], a.pile().BottomNode[1]);
    const int nodes = a.pile().BottomNode[1] - a.pile().TopNode[1] + 1;
    const double resistance = a.ctx().soil.LayerResistance[1];
    ASSERT_NEAR(resistance, nodes * 6.0 * 100.0, 1.0e-9);
    ASSERT_EQ(a.Evaluate(&soil::CementedSiltSprings, 2), 0);
    const double Z = a.ctx().soil.EquivalentDepth[2];

    const double phi = 35.0 * std::numbers::pi / 180.0, b = 24.0, gamma = 0.07, c = 10.0;
    const double alpha = phi / 2.0, beta = std::numbers::pi / 4.0 + phi / 2.0;
    const double Ka = std::pow(std::tan(std::numbers::pi / 4.0 - phi / 2.0), 2), Kp = std::pow(std::tan(beta), 2);
    const double C1 = std::tan(beta) * (std::tan(alpha) * Kp +
                                        0.4 * (std::tan(phi) * std::sin(beta) * (1.0 / std::cos(alpha) + 1.0) - std::tan(alpha)));
    const double C2 = Kp - Ka;
    // Reese's static A against x/b, linear between its tabulated ratios.
    auto A = [](double r) {
        const double ratios[] = {0.0, 0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0};
        const double values[] = {2.83, 2.48, 2.11, 1.76, 1.48, 1.23, 1.06, 0.90, 0.88, 0.88};
        for (int i = 1; i < 10; ++i) {
            if (r < ratios[i]) return values[i - 1] + (values[i] - values[i - 1]) * (r - ratios[i - 1]) / (ratios[i] - ratios[i - 1]);
        }
        return 0.88;
    };
    auto f = [&](double z) {
        const double r = z / b;
        return A(r) * gamma * b * b * (C1 * r * r + C2 * r) + 3.0 * b * c + (gamma * b + 0.5 * c) * z;
    };
    // Trapezoid rule over 20000 steps.
    const int steps = 20000;
    double integral = 0.0;
    for (int i = 0; i < steps; ++i) {
        integral += 0.5 * (f(Z * i / steps) + f(Z * (i + 1) / steps)) * Z / steps;
    }
    ASSERT_GT(Z, 0.0);
    // The criterion steps the integral with the value at the end of each of
    // 500 steps over (C3 - C2) b / C1 = 406 in, so it reaches the resistance
    // slightly early (by about 1.3 % here, where the integrand grows by a
    // quarter over Z).
    EXPECT_NEAR(integral, resistance, 0.02 * resistance);
    EXPECT_LT(integral, resistance);
}

TEST(CementedSilt, InputAndSlopeErrors) {
    struct Case {
        const char* what;
        void (*make)(ProblemData&);
        int error;
        std::string line;
    };
    const Case kCases[] = {
        {"zero cohesion below the top",
         [](ProblemData& p) { p.Layers[0].Bottom.Cohesion = 0.0; }, 148,
         "Layer = 1, Depth =  600.00000000, c =  0.000E+00"},
        {"negative cohesion at the top", [](ProblemData& p) { p.Layers[0].Top.Cohesion = -1.0; }, 148,
         "Layer = 1, Depth =    0.00000000, c = -0.100E+01"},
        {"zero friction angle", [](ProblemData& p) { p.Layers[0].Top.FrictionAngle = p.Layers[0].Bottom.FrictionAngle = 0.0; },
         110, "Problem:  A negative or zero value was input for the friction angle for a silt."},
        {"friction angle of 95 degrees", [](ProblemData& p) { p.Layers[0].Top.FrictionAngle = p.Layers[0].Bottom.FrictionAngle = 95.0; },
         174, "          The criterion is defined for friction angles below 90 degrees only."},
        {"slope steeper than the friction angle",
         [](ProblemData& p) { p.SlopeMinusBatter = 40.0 * std::numbers::pi / 180.0; }, 223,
         "greater than the friction angle for silt for layer 1."},
        // A slope equal to the friction angle leaves no active wedge (d = 0);
        // with no cohesion at the top node that is error 11.
        {"slope at the friction angle without cohesion",
         [](ProblemData& p) {
             p.Layers[0].Top.Cohesion = 0.0;
             p.SlopeMinusBatter = 35.0 * std::numbers::pi / 180.0 * (1.0 - 1.0e-12);
         },
         111, "curve using the criteria for silt for layer 1."},
    };
    for (const Case& c : kCases) {
        ProblemData problem = SiltProblem();
        c.make(problem);
        Analysis a(problem);
        EXPECT_EQ(a.Evaluate(&soil::CementedSiltSprings, 1), c.error) << c.what;
        const RunOutput out = a.run->Outputs();
        for (const auto& lines : {out.ReportLines(), out.MessageLines()}) {
            EXPECT_TRUE(Contains(lines, c.line)) << c.what << "\n" << out.report;
        }
    }
    // Zero cohesion at the top node alone is accepted.
    ProblemData top = SiltProblem();
    top.Layers[0].Top.Cohesion = 0.0;
    Analysis a(top);
    EXPECT_EQ(a.P(&soil::CementedSiltSprings, 1, 1, 0.1), 0.0);  // no depth, no cohesion: no resistance
}

// ---------------------------------------------------------------------------
// Loess. USCS: shaft 24 in wide, qc = 1000 psi, nodes every 6 in:
// pu = b 0.409 qc / (1 + 0.24 ln N) = 9816 / (1 + 0.24 ln N) lb/in, yref =
// 0.117 in, Ei = pu / yref.

ProblemData LoessProblem(double cycles, UnitSystem units = UnitSystem::USCS, double qc = 1000.0) {
    const bool si = units == UnitSystem::SI;
    ProblemData problem = ElasticPileProblem(si ? 6.0 : 240.0, 1.0e10, si ? 0.6 : 24.0, 40, units);
    problem.Options.NumberOfCycles = cycles;
    model::SoilPointParams point;
    point.EffUnitWeight = si ? 17.0 : 0.06;
    point.ConeTipResistance = qc;
    AddLayer(problem, kLoess, 0.0, problem.PileTotalLength, point, point);
    return problem;
}

TEST(Loess, UltimateResistanceReducedByCycles) {
    const double pu1 = 24.0 * 0.409 * 1000.0, yref = 0.117;
    struct Case {
        const char* what;
        double N;
        double pu;
    };
    const Case kCases[] = {
        {"one cycle: unreduced", 1.0, pu1},
        {"ten cycles: divided by 1 + 0.24 ln 10 = 1.5526", 10.0, pu1 / (1.0 + 0.24 * std::log(10.0))},
        {"just above 10 is accepted", 10.05, pu1 / (1.0 + 0.24 * std::log(10.05))},
        // A static run has no cycles; below one cycle the load is applied once.
        {"no cycles: as one", 0.0, pu1},
        {"half a cycle: as one", 0.5, pu1},
    };
    for (const Case& c : kCases) {
        // At 50 yref the curve gives pu 50/(1 + 50 (1 + 0.1 e^-50)) = pu 50/51 (node 21, 120 in).
        Analysis a(LoessProblem(c.N));
        EXPECT_NEAR(a.P(&soil::LoessSprings, 1, 21, 50.0 * yref), c.pu * 50.0 / 51.0, 1.0e-6 * c.pu) << c.what;
        // At zero deflection the modulus is the initial slope Ei = pu / yref.
        Analysis zero(LoessProblem(c.N));
        ASSERT_EQ(zero.Evaluate(&soil::LoessSprings, 1), 0);
        EXPECT_NEAR(zero.pile().Es(21), c.pu / yref, 1.0e-6 * c.pu / yref) << c.what;
    }
    // SI: the reference deflection is 0.0029718 m.
    Analysis si(LoessProblem(1.0, UnitSystem::SI, 5000.0));
    ASSERT_EQ(si.Evaluate(&soil::LoessSprings, 1), 0);
    const double pu_si = 0.6 * 0.409 * 5000.0;
    EXPECT_NEAR(si.pile().Es(21), pu_si / 0.0029718, 1.0e-6 * pu_si / 0.0029718);
}

TEST(Loess, ConeResistanceAdjustedNearTheSurface) {
    // qc times x/(2b) + 0.5 above x = 2b = 48 in, seen in Es at zero
    // deflection, pm Ei / ym, proportional to qc.
    const double full = 24.0 * 0.409 * 1000.0 / 0.117;
    struct Case {
        int node;
        double factor;
    };
    const Case kCases[] = {{1, 0.5}, {5, 1.0}, {8, 42.0 / 48.0 + 0.5}, {9, 1.0}, {21, 1.0}};
    ProblemData problem = LoessProblem(1.0);
    SetMultipliers(problem, 0.5, 2.0);
    Analysis a(problem);
    ASSERT_EQ(a.Evaluate(&soil::LoessSprings, 1), 0);
    for (const Case& c : kCases) {
        EXPECT_NEAR(a.pile().Es(c.node), 0.25 * c.factor * full, 1.0e-6 * full) << "node " << c.node;
    }
}

TEST(Loess, CyclesBeyondTenAndNegativeConeResistanceStop) {
    struct Case {
        double N;
        std::string line;
    };
    const Case kCases[] = {
        {10.2, "PROBLEM: Soil layer 1 is a loess and the input value for the number of cycles of loading =         10.2"},
        {-11.0, "PROBLEM: Soil layer 1 is a loess and the input value for the number of cycles of loading =        -11.0"},
    };
    for (const Case& c : kCases) {
        Analysis a(LoessProblem(c.N));
        EXPECT_EQ(a.Evaluate(&soil::LoessSprings, 1), 170);
        const RunOutput out = a.run->Outputs();
        EXPECT_TRUE(Contains(out.ReportLines(), c.line)) << out.report;
        EXPECT_TRUE(Contains(out.ReportLines(), "Trevasc ended prematurely due to input error number INP00170"));
        EXPECT_FALSE(Contains(out.MessageLines(), "**** Input Data Error No. 70 ****"));
    }
    Analysis negative(LoessProblem(1.0, UnitSystem::USCS, -10.0));
    EXPECT_EQ(negative.Evaluate(&soil::LoessSprings, 1), 174);
}

TEST(LoessAndPiedmont, LayerOfNoThicknessUsesItsTopValue) {
    // A layer whose two points share a depth: the top value, no 0/0.
    for (int code : {kLoess, kPiedmont}) {
        ProblemData problem = ElasticPileProblem(240.0, 1.0e10, 24.0, 40);
        model::SoilPointParams top, bottom;
        top.ConeTipResistance = 1000.0;
        bottom.ConeTipResistance = 3000.0;
        top.PiedmontTestType = bottom.PiedmontTestType = 2;
        AddLayer(problem, code, 0.0, 120.0, top, top);
        AddLayer(problem, code, 120.0, 120.0, top, bottom);
        AddLayer(problem, code, 120.0, 240.0, top, top);
        problem.Options.NumberOfCycles = 1.0;
        Analysis thin(problem);
        Analysis thick(problem);
        const soil::SpringRoutine routine = code == kLoess ? &soil::LoessSprings : &soil::PiedmontSprings;
        ASSERT_EQ(thin.EvaluateNodes(routine, 2, 21, 21), 0);
        ASSERT_EQ(thick.EvaluateNodes(routine, 3, 21, 21), 0);
        EXPECT_TRUE(std::isfinite(thin.pile().Es(21))) << code;
        EXPECT_EQ(thin.pile().Es(21), thick.pile().Es(21)) << code;
    }
}

// ---------------------------------------------------------------------------
// Piedmont residual soil. Shaft 24 in wide; y1 = 0.001 b = 0.024 in, yu =
// 0.0375 b = 0.9 in.

ProblemData PiedmontProblem(int test_type, double value, UnitSystem units = UnitSystem::USCS) {
    ProblemData problem = ElasticPileProblem(240.0, 1.0e10, 24.0, 40, units);
    model::SoilPointParams point;
    point.PiedmontTestType = test_type;
    point.N60 = point.ConeTipResistance = point.DilatometerModulus = point.PressuremeterModulus = value;
    AddLayer(problem, kPiedmont, 0.0, 240.0, point, point);
    return problem;
}

TEST(Piedmont, InitialModulusFromTheFieldTest) {
    struct Case {
        const char* what;
        int type;
        double value;
        UnitSystem units;
        double Esi;
    };
    const Case kCases[] = {
        {"SPT", 1, 20.0, UnitSystem::USCS, 22.0 * 20.0},
        {"SPT in SI: 22 psi in kPa per blow", 1, 20.0, UnitSystem::SI, 22.0 * 6.894757293168361 * 20.0},
        {"CPT", 2, 1000.0, UnitSystem::USCS, 0.118 * 1000.0},
        {"DMT", 3, 2000.0, UnitSystem::USCS, 0.076 * 2000.0},
        {"PMT", 4, 1000.0, UnitSystem::SI, 0.235 * 1000.0},
        {"general units", 2, 1000.0, UnitSystem::GENERAL, 0.0},
        {"unknown test type", 5, 1000.0, UnitSystem::USCS, 0.0},
    };
    for (const Case& c : kCases) {
        ProblemData problem = PiedmontProblem(c.type, c.value, c.units);
        SetMultipliers(problem, 0.5, 2.0);
        Analysis a(problem);
        ASSERT_EQ(a.Evaluate(&soil::PiedmontSprings, 1), 0) << c.what;
        // At zero deflection Es = Esi b / ym, without the p-multiplier.
        EXPECT_NEAR(a.pile().Es(21), c.Esi * 24.0 / 2.0, 1.0e-6 * c.Esi * 24.0) << c.what;
    }
}

TEST(Piedmont, LinearLogarithmicAndPlateauBranches) {
    const double Esi = 118.0, b = 24.0, y1 = 0.024, yu = 0.9;
    struct Case {
        const char* what;
        double y;
        double p_over_Esi_b_y;
    };
    const Case kCases[] = {
        {"linear below y1", 0.01, 1.0},
        {"at y1 the logarithm is 0", y1, 1.0},
        // The logarithmic branch ends at 1 - 0.23 ln 37.5 = 0.16640 ...
        {"just below yu", yu * (1.0 - 1.0e-9), 1.0 - 0.23 * std::log(37.5)},
        // ... and the plateau is 0.16648: a small step up.
        {"at yu", yu * (1.0 + 1.0e-7), 0.16648},
        {"beyond yu", yu + b, 0.16648 * yu / (yu + b)},
    };
    for (const Case& c : kCases) {
        Analysis a(PiedmontProblem(2, 1000.0));
        EXPECT_NEAR(a.P(&soil::PiedmontSprings, 1, 21, c.y), c.p_over_Esi_b_y * Esi * b * c.y, 2.0e-5 * Esi * b * c.y)
            << c.what;
    }
    EXPECT_GT(0.16648, 1.0 - 0.23 * std::log(37.5));
}

TEST(Piedmont, TopTestTypeGovernsAndNegativeValuesStop) {
    // Top point CPT, bottom point PMT: the cone values are used throughout.
    ProblemData problem = PiedmontProblem(2, 1000.0);
    problem.Layers[0].Bottom.PiedmontTestType = 4;
    problem.Layers[0].Bottom.ConeTipResistance = 3000.0;
    problem.Layers[0].Bottom.PressuremeterModulus = 99999.0;
    Analysis a(problem);
    ASSERT_EQ(a.Evaluate(&soil::PiedmontSprings, 1), 0);
    EXPECT_NEAR(a.pile().Es(41), 0.118 * 3000.0 * 24.0, 1.0e-6 * 8496.0);

    Analysis negative(PiedmontProblem(1, -5.0));
    EXPECT_EQ(negative.Evaluate(&soil::PiedmontSprings, 1), 174);
    EXPECT_TRUE(Contains(negative.run->Outputs().ReportLines(), "          A field test value cannot be negative."));
}

}  // namespace
}  // namespace trevasc::testing
