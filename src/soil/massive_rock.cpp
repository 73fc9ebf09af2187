// Massive rock ("MassRock").
//
// Liang, R., Yang, K., and Nusairat, J. (2009), "p-y criterion for rock
// mass", Journal of Geotechnical and Geoenvironmental Engineering 135(1),
// 26-36. The strength of the rock mass follows the generalized Hoek-Brown
// criterion (Hoek, Carranza-Torres and Corkum, 2002),
//
//     sigma1 = sigma3 + sigma_ci (mb sigma3/sigma_ci + s)^a,
//     mb = mi e^((GSI-100)/28),  s = e^((GSI-100)/9),
//     a = 1/2 + (e^(-GSI/15) - e^(-20/3))/6,
//
// from which the instantaneous cohesion c' and friction angle phi' at the
// overburden stress sigma_v = gamma' z are found by Balmer's (1952) method:
//
//     sigma_n = sigma_v + D^2/(2D + mb sigma_ci/2),  D = sigma1 - sigma_v
//     tau     = (sigma_n - sigma_v) sqrt(1 + mb sigma_ci/(2D))
//     phi'    = pi/2 - asin(2 tau/D),  c' = tau - sigma_n tan phi'.
//
// The ultimate resistance pu is the smaller of the resistance of a wedge
// pushed up at shallow depth (Pw) and of flow around the pile at depth (Pd).
// The curve is a hyperbola,
//
//     p = y / (1/Kh + y/pu),
//
// which starts with slope Kh and reaches pu/2 at y = pu/Kh. The initial
// modulus combines the rock-mass modulus Em = (Ei/100) e^(GSI/21.7) with the
// pile's bending stiffness EI:
//
//     Kh = Em (EI/(Em b^4))^0.284 (b/bref) e^(-2 nu),  bref = 0.3048 m (12 in).
//
// The rock-mass parameters are fixed at mi = 6, GSI = 42, nu = 0.4 and no
// disturbance; the uniaxial compressive strength of the intact rock
// sigma_ci and its modulus Ei come from the layer: in the current format from
// the optional MASSIVE ROCK block, without which they are zero. The
// equations divide by both: a layer without a positive strength and modulus
// is rejected with an input error rather than analysed. At zero deflection
// the secant modulus is its limit pm Kh/ym, the slope of the multiplied
// curve at the origin.
//
// Units: pounds and inches or kN and metres (general units as pounds and
// inches).
#include <algorithm>
#include <cmath>
#include <string>

#include "report/fortran_format.hpp"
#include "report/report_helpers.hpp"
#include "run/error_stop.hpp"
#include "run/run_context.hpp"
#include "soil/criteria.hpp"
#include "soil/criterion_report.hpp"
#include "soil/py_framework.hpp"

namespace trevasc::soil {

namespace fmt = report::fmt;
using run::WriteToBoth;
using run::Stop_With_Error;

namespace {


// Fixed rock-mass parameters, printed in the report.
constexpr double kMi = 6.0;
constexpr double kGsi = 42.0;
constexpr double kPoisson = 0.4000000059604645;  // 0.4
// Exponents of the Hoek-Brown constants for GSI = 42 and no disturbance.
constexpr double kMbExponent = -2.0714285714285716;   // (GSI - 100)/28
constexpr double kSExponent = -6.444444444444445;     // (GSI - 100)/9
constexpr double kAExponentTerm = -2.8;               // -GSI/15
constexpr double kAConstantTerm = 0.001272633788175881;  // e^(-20/3)
constexpr double kOneSixth = 0.1666666716337204;      // 1/6
constexpr double kModulusExponent = 1.9354838029190344;  // GSI/21.7
constexpr double kModulusPercent = 100.0;                // Em = (Ei/100) e^(GSI/21.7)
constexpr double kPoissonExponent = -0.800000011920929;  // -2 nu
constexpr double kStiffnessExponent = 0.2840000092983246;  // 0.284
constexpr double kReferenceWidthSi = 0.30480000376701355;  // 0.3048 m
constexpr double kReferenceWidthInches = 12.0;
// Depth used for the overburden stress exactly at the ground surface.
constexpr double kSurfaceDepthInches = 9.999999747378752e-05;  // 0.0001 in
constexpr double kSurfaceDepthMetres = 2.539999968576012e-06;  // 0.0001 in, in metres
constexpr double kMinimumStress = 9.999999747378752e-06;       // 1e-5
constexpr double kDeepTensileTerm = 2.0 * 0.44999998807907104 / 3.0;  // 0.3 = 2 (0.45)/3

constexpr double kReportSpanOverWidth = 0.004999999888241291;  // 0.005: report points reach 0.005 b
constexpr double kReportLastFactor = 1.2000000476837158;       // 1.2: the last point at 1.2 (0.005 b)
constexpr int kReportSteps = 15;

// Input Data Error 72 and Runtime Error 98 of this build.
constexpr std::int32_t kUndefinedRockCurve = 172;
constexpr std::int32_t kUndefinedInitialModulus = 298;

// Runtime Error 20: the intact modulus cannot be interpolated in a layer of
// no thickness. The stop lines come first, then the message (report only).
[[noreturn]] void StopOnZeroThicknessLayer(run::RunContext& ctx, int layer, double top) {
    try {
        Stop_With_Error(ctx, "RUN00020", 220);
    } catch (const run::RunStop&) {
        report::OutputChannel& report = ctx.files.report;
        report.Line("**** Runtime Error No. 20 ****");
        report.Blank();
        report.Line("Problem:  The top and bottom elevations for massive rock layer are equal.");
        report.Line("          The top and bottom elevations for layer " + fmt::I0(layer) + " = " +
                    fmt::E(top, 12, 4));
        report.Blank();
        report.Line("Solution: Correct the input data for elevations defining the massive rock layer.");
        report.Blank();
        throw;
    }
}

// Input Data Error 72: a massive rock without strength, modulus or with a negative unit weight.
[[noreturn]] void StopOnUndefinedCurve(run::RunContext& ctx, int layer, double xv, double sigma_ci, double Ei,
                                       double gamma) {
    WriteToBoth(ctx, {"**** Input Data Error No. 72 ****", "",
                      "Problem:  The p-y curve for massive rock cannot be computed for layer " + fmt::I0(layer) +
                          " at depth " + fmt::E(xv, 12, 4) + ".",
                      "          Uniaxial compressive strength = " + fmt::E(sigma_ci, 12, 4) +
                          ", intact rock modulus = " + fmt::E(Ei, 12, 4) + ",",
                      "          average effective unit weight = " + fmt::E(gamma, 12, 4) + ".",
                      "          The strength and the modulus must be greater than zero and the unit",
                      "          weight must not be negative. A massive rock layer of the current format",
                      "          takes these values from its line in the MASSIVE ROCK block.",
                      "",
                      "Solution: Give the strength, unit weight and modulus of the layer in the MASSIVE ROCK",
                      "          block, or model the layer with the weak rock criteria."});
    Stop_With_Error(ctx, "INP00072", kUndefinedRockCurve);
}

// Runtime Error 98: no initial modulus without width, EI and ultimate resistance.
[[noreturn]] void StopOnUndefinedInitialModulus(run::RunContext& ctx, int layer, double x, double b, double EI,
                                                 double pu) {
    WriteToBoth(ctx, {"**** Runtime Error No. 98 ****", "",
                      "Problem:  The p-y curve for massive rock cannot be computed for layer " + fmt::I0(layer) +
                          " at depth " + fmt::E(x, 12, 4) + ".",
                      "          Pile width = " + fmt::E(b, 12, 4) + ", bending stiffness EI = " + fmt::E(EI, 12, 4) +
                          ", ultimate resistance = " + fmt::E(pu, 12, 4) + ";",
                      "          all three must be greater than zero.", "",
                      "Solution: Check the width and the bending stiffness of the pile section at this depth."});
    Stop_With_Error(ctx, "RUN00098", kUndefinedInitialModulus);
}

// The pile's bending stiffness at axial depth x from the node values of the
// converged case: report depths need not fall on nodes.
double BendingStiffnessAt(const model::PileModel& pile, double x) {
    if (pile.N < 1) return 0.0;
    if (x <= pile.x(1)) return pile.EI(1);
    for (int k = 1; k < pile.N; ++k) {
        if (x <= pile.x(k + 1)) {
            const double span = pile.x(k + 1) - pile.x(k);
            if (!(span > 0.0)) return pile.EI(k + 1);
            return pile.EI(k) + (pile.EI(k + 1) - pile.EI(k)) * (x - pile.x(k)) / span;
        }
    }
    return pile.EI(pile.N);
}

struct MassiveRockCurve {
    double Kh = 0.0;
    double pu = 0.0;
    double P(double y) const { return y > 0.0 ? y / (1.0 / Kh + y / pu) : 0.0; }
};

// What the curves of a layer share: the Hoek-Brown constants of the fixed
// rock-mass parameters and the factors of the initial modulus.
struct MassiveRockLayer {
    bool si = false;
    double mb = 0.0;
    double s = 0.0;
    double a = 0.0;
    double modulus_factor = 0.0;
    double poisson_factor = 0.0;
    double K = 0.0;  // earth-pressure factor of the wedge
    double b_ref = 0.0;
};

MassiveRockLayer MassiveRockLayerOf(const run::RunContext& ctx) {
    MassiveRockLayer l;
    l.si = ctx.problem.Options.Units == model::UnitSystem::SI;
    l.mb = kMi * std::exp(kMbExponent);
    l.s = std::exp(kSExponent);
    l.a = 0.5 + (std::exp(kAExponentTerm) - kAConstantTerm) * kOneSixth;
    l.modulus_factor = std::exp(kModulusExponent);
    l.poisson_factor = std::exp(kPoissonExponent);
    l.K = 1.0 - std::sin(kPi / 4.0);
    l.b_ref = l.si ? kReferenceWidthSi : kReferenceWidthInches;
    return l;
}

// The ultimate resistance at depth z below the ground surface (z_stress for
// the overburden stress): the smaller of the wedge and the flow resistance.
double UltimateResistance(const MassiveRockLayer& l, double b, double gamma, double sigma_ci, double z,
                          double z_stress) {
    const double mb = l.mb;
    const double K = l.K;
    // Hoek-Brown strength at the overburden stress, and its
    // instantaneous Mohr-Coulomb parameters.
    const double sigma_v = gamma * z_stress;
    const double sigma_1 = sigma_v + sigma_ci * std::pow(mb * sigma_v / sigma_ci + l.s, l.a);
    const double D = sigma_1 - sigma_v;
    const double sigma_n = sigma_v + D * D / (2.0 * D + 0.5 * mb * sigma_ci);
    const double tau = (sigma_n - sigma_v) * std::sqrt(1.0 + mb * sigma_ci / (2.0 * D));
    // 2 tau/D never exceeds 1 in exact arithmetic; rounding must not take
    // it past the domain of the arc sine.
    const double phi = kPi / 2.0 - std::asin(std::min(1.0, 2.0 * tau / D));
    const double c = tau - sigma_n * std::tan(phi);

    const double alpha = phi / 2.0;
    const double beta = kPi / 4.0 + phi / 2.0;
    const double tan_ka = std::tan(kPi / 4.0 - phi / 2.0);
    const double Ka = tan_ka * tan_ka;
    const double sigma_v_star = std::max(kMinimumStress, sigma_v);
    const double Q = 0.5 * gamma * z + sigma_v_star;

    // Wedge resistance.
    const double tan_b = std::tan(beta);
    const double tan_a = std::tan(alpha);
    const double tan_phi = std::tan(phi);
    const double Fs = (c + K * tan_phi * Q) * z * tan_b;
    const double T2 = c * (b + 2.0 * z * tan_b * tan_a);
    const double T3 = tan_b * (b * (sigma_v_star + gamma * z) + z * tan_b * tan_a * (2.0 * sigma_v_star + gamma * z));
    const double N = (T3 + 2.0 * Fs * std::cos(beta) + T2) / (std::sin(beta) - tan_phi * std::cos(beta));
    const double tension_crack = std::max(0.0, K * b * (gamma * z + sigma_v_star - 2.0 * c / std::sqrt(Ka)));
    const double Pw = std::sin(beta) * (2.0 * Fs + tan_phi * N + T2 / std::cos(beta)) + std::cos(beta) * N -
                      2.0 * K * Q * z * tan_b * tan_a - tension_crack;
    // Resistance of flow around the pile.
    const double Pd = b * (kPi / 4.0 * sigma_1 - Ka * sigma_v_star + 2.0 * c * std::sqrt(Ka) +
                           kDeepTensileTerm * std::sqrt(sigma_ci));
    return std::min(Pw, Pd);
}

// The curve of one node with the rock parameters it comes from.
struct MassiveRockNodeCurve {
    double b = 0.0;
    double gamma = 0.0;
    double sigma_ci = 0.0;
    double pm = 0.0;
    double ym = 0.0;
    MassiveRockCurve curve;
};

// The curve at `node` for a pile of bending stiffness EI there.
MassiveRockNodeCurve MassiveRockCurveAt(run::RunContext& ctx, int layer, const MassiveRockLayer& l, const PyNode& node,
                                        double EI) {
    const model::SoilLayer& soil_layer = ctx.problem.Layers[static_cast<std::size_t>(layer - 1)];
    const double z = node.z0;
    const double z_stress = z == 0.0 ? (l.si ? kSurfaceDepthMetres : kSurfaceDepthInches) : z;
    const double b = PileWidthAt(ctx, node.x);
    const double gamma = AverageUnitWeight(ctx, node.xv);
    const double sigma_ci = fn_c(ctx, node.xv);
    const double thickness = soil_layer.XLayerBottom - soil_layer.XLayerTop;
    if (thickness == 0.0) StopOnZeroThicknessLayer(ctx, layer, soil_layer.XLayerTop);
    const double Ei = soil_layer.Top.SubgradeK + (node.xv - soil_layer.XLayerTop) / thickness *
                                                     (soil_layer.Bottom.SubgradeK - soil_layer.Top.SubgradeK);
    const double pm = PMultiplierAt(ctx, node.x);
    const double ym = YMultiplierAt(ctx, node.x);
    if (!(sigma_ci > 0.0) || !(Ei > 0.0) || !(gamma >= 0.0)) {
        StopOnUndefinedCurve(ctx, layer, node.xv, sigma_ci, Ei, gamma);
    }

    MassiveRockCurve curve;
    curve.pu = UltimateResistance(l, b, gamma, sigma_ci, z, z_stress);
    if (!(b > 0.0) || !(EI > 0.0) || !(curve.pu > 0.0)) {
        StopOnUndefinedInitialModulus(ctx, layer, node.x, b, EI, curve.pu);
    }
    const double Em = Ei / kModulusPercent * l.modulus_factor;
    curve.Kh = Em * std::pow(EI / (Em * b * b * b * b), kStiffnessExponent) * (b / l.b_ref) * l.poisson_factor;
    return {b, gamma, sigma_ci, pm, ym, curve};
}

PyCurveReport DescribeCurve(const run::RunContext& ctx, int layer, const PyNode& node, const MassiveRockNodeCurve& c) {
    PyCurveReport report(31);
    const model::UnitLabels& u = ctx.labels;
    const py_report::Units units = py_report::MakeUnits(u);
    const std::string& length = units.length;
    const std::string& force_per_length = units.force_per_length;
    auto labelled = [&](std::string label, std::string value) { report.Labelled(std::move(label), std::move(value)); };
    report.Opening("p-y Curve Computed Using the Criteria for Massive Rock by Liang, et al., 2009", layer, 10);
    labelled("Depth below pile head", fmt::F(node.x, 12, 3) + " " + length);
    labelled("Depth below ground surface", fmt::F(node.z0, 12, 3) + " " + length);
    labelled("Pile Diameter", fmt::F(c.b, 12, 3) + " " + length);
    labelled("Uniaxial compressive strength", fmt::F(c.sigma_ci, 12, 3) + " " + force_per_length + u.Power + u.Exp2);
    labelled("Avg. Eff. Unit Weight", fmt::F(c.gamma, 12, 5) + " " + force_per_length + u.Power + u.Exp3);
    labelled("m sub i", fmt::F(kMi, 12, 3));
    labelled("Geological Strength Index GSI", fmt::F(kGsi, 12, 5));
    labelled("Poisson's Ratio", fmt::F(kPoisson, 12, 3));
    labelled("p-multiplier", fmt::F(c.pm, 12, 5));
    labelled("y-multiplier", fmt::F(c.ym, 12, 5));
    report.Columns(6, "y, " + length, 25, "p, " + force_per_length);
    report.Line("----------------    -----------------");
    const double span = kReportSpanOverWidth * c.b;
    for (int j = 1; j <= kReportPoints; ++j) {
        double yj = 0.0;
        if (j == kReportPoints) {
            yj = kReportLastFactor * span;
        } else if (j >= 2) {
            yj = (j - 1) * (span / kReportSteps);
        }
        report.Point(c.ym * yj, c.pm * c.curve.P(yj));
    }
    return report;
}

}  // namespace

void MassiveRockSprings(run::RunContext& ctx, int layer, int first, int last) {
    const MassiveRockLayer l = MassiveRockLayerOf(ctx);
    LayerResistanceSum resistance(ctx, layer);
    for (int k = first; k <= last; ++k) {
        const PyNode node = PyNodeAt(ctx, k);
        const MassiveRockNodeCurve c = MassiveRockCurveAt(ctx, layer, l, node, ctx.pile.EI(k));
        resistance.Add(node, c.curve.pu, k == first, k == last);
        const double ystar = DeflectionOnCurve(node, c.ym);
        ctx.pile.Es(k) = ystar < kSmallDeflection ? c.pm * c.curve.Kh / c.ym : c.pm * (c.curve.P(ystar) / ystar) / c.ym;
    }
}

void MassiveRockCurves(run::RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink) {
    const MassiveRockLayer l = MassiveRockLayerOf(ctx);
    for (const PyNode& depth : depths) {
        // An output depth need not fall on a node: the stiffness there is
        // interpolated between the nodes of the converged case.
        const double EI = BendingStiffnessAt(ctx.pile, depth.x);
        sink(depth, DescribeCurve(ctx, layer, depth, MassiveRockCurveAt(ctx, layer, l, depth, EI)));
    }
}

}  // namespace trevasc::soil
