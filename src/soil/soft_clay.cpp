// Soft clay ("SoftClay" and "SoftClyJ").
//
// Matlock, H. (1970), "Correlations for design of laterally loaded piles in
// soft clay", Proc. 2nd Offshore Technology Conference, OTC 1204. With b the
// pile width, c the undrained shear strength, gamma' the average effective
// unit weight above the depth z and eps50 the strain at half the strength:
//
//     Np  = 3 + gamma' z / c + J z / b,  capped at 9     bearing factor
//     pu  = Np c b                                        ultimate resistance
//     y50 = 2.5 eps50 b
//     p   = 0.5 pu (y / y50)^(1/3)                        up to y = 8 y50
//     p   = pu                                            beyond (static)
//
// Under cyclic loading the curve is held at pc = 0.72 pu (0.5 * 3^(1/3), the
// static curve's value at 3 y50) beyond y = 3 y50; above the transition
// depth zr = 6 c b / (gamma' b + J c) (at least 2.5 b) it falls on to
// pc z / zr at 15 y50. J is 0.5 for "SoftClay" and the layer's own value for
// "SoftClyJ". Below a deflection of 1e-5 y50 the curve is replaced by a
// straight line whose slope Eslim is the slope (tangent) of the cube-root
// curve at 1e-5 y50, pu / (6 y50) (1e-5)^(-2/3), so that the modulus stays
// finite as the deflection vanishes.
//
// Below other layers the depth z on the curve is the equivalent depth
// (Georgiadis, M. (1983), "Development of p-y curves for layered soils",
// Proc. Geotechnical Practice in Offshore Engineering, ASCE, 536-545): the
// depth Z at which this clay alone develops the resistance A of the layers
// above, from the closed-form integral of pu,
//
//     A = 3 c b Z + (gamma' b / 2 + J c / 2) Z^2         Z <= zt,
//     A = Ft + 9 c b (Z - zt)                            Z >  zt,
//
// zt = 6 b c / (J c + gamma' b) being the depth at which Np reaches 9.
// Under cyclic loading the resistance is the cyclic residual instead,
// 0.72 pu z / zt above zt and 0.72 pu below:
//
//     A = 0.72 / zt (1.5 b c Z^2 + (gamma' b + J c) Z^3 / 3)   Z <= zt,
//     A = Ft + 0.72 * 9 c b (Z - zt)                          Z >  zt.
//
// Units: pounds and inches (c in psi, gamma' in lb/in^3) or kN and metres;
// general units have no default eps50.
#include "soil/soft_clay.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "report/fortran_format.hpp"
#include "run/error_stop.hpp"
#include "run/run_context.hpp"
#include "soil/criteria.hpp"
#include "soil/criterion_report.hpp"
#include "soil/py_framework.hpp"

namespace trevasc::soil {

namespace fmt = report::fmt;
using report::TrimRight;

namespace {

constexpr double kMaxBearingFactor = 9.0;
constexpr double kSurfaceBearingFactor = 3.0;
constexpr double kY50PerEps50Width = 2.5;                  // y50 = 2.5 eps50 b
constexpr double kMinTransitionWidths = 2.5;               // zr >= 2.5 b
constexpr double kTransitionFactor = 6.0;                  // zr = 6 c b / (gamma' b + J c)
constexpr double kCubeRoot = 0.3333333432674408;           // 1/3 in single precision
constexpr double kCurveFactor = 0.5;                       // p = 0.5 pu (y/y50)^(1/3)
constexpr double kStaticUltimateY50 = 8.0;                 // 0.5 * 8^(1/3) = 1
constexpr double kCyclicPlateauY50 = 3.0;                  // start of the cyclic plateau
constexpr double kCyclicResidualY50 = 15.0;                // end of the fall to pc z/zr
constexpr double kCyclicPlateauFactor = 0.7211247682571411;  // 0.5 * 3^(1/3)
// Limiting modulus: the slope of the curve at y = 1e-5 y50 times y50/pu,
// 0.5 (1e-5)^(1/3) / (3 1e-5), as the single-precision quotient
// 0.01077217236161232 / 2.9999999242136255e-05.
constexpr double kLimitDeflectionY50 = 9.999999747378752e-06;  // 1e-5
constexpr double kEslimNumerator = 0.01077217236161232;
constexpr double kEslimDenominator = 2.9999999242136255e-05;
// Equivalent depth under cyclic loading: pc = 0.72 pu (single precision).
constexpr double kCyclicEquivalentFactor = 0.7200000286102295;

constexpr double kZeroCohesion = 1.0e-10;
constexpr double kGroundAboveHead = -9.999999747378752e-06;

// Strength above which a soil is unlikely to be a soft clay: 1,250 psf in
// psi, and its SI value in kPa.
constexpr double kHighStrengthUscs = 8.68055534362793;
constexpr double kHighStrengthSi = 59.85032272338867;

// Default eps50 by strength (Matlock; Reese and Van Impe 2001, Table 3.2):
// 250, 500, 1000 and 2000 psf in psi, and the same limits in kPa.
struct Eps50Band {
    double upper_uscs;
    double upper_si;
    double eps50;
};
constexpr std::array<Eps50Band, 4> kEps50Bands{{
    {3.472222328186035, 23.940128326416016, 0.02},
    {6.94444465637207, 47.88025665283203, 0.01},
    {13.88888931274414, 95.76051330566406, 0.005},
    {27.77777862548828, 191.52102661132812, 0.005},
}};
constexpr double kEps50Stiffest = 0.004;

// Report deflections in multiples of y50.
constexpr double kSecondReportY50 = 0.008;
constexpr double kReportStepY50 = 0.25;
constexpr double kLastReportY50 = 20.0;

// Input Data Error 93: a general-units layer without epsilon-50 (no default
// exists there).
constexpr std::int32_t kNoEpsilon50Error = 193;

struct Variant {
    bool with_j;
    std::string_view error_number;  // "12" or "71"
    std::string_view code;          // message code
    std::int32_t number;
    std::string_view problem_soil;  // ends the "Problem:" line
    std::string_view static_title;
    std::string_view cyclic_title;
    std::string_view j_label;
    std::string_view warning_soil;
};

constexpr Variant kVariantMatlock{
    false,
    "12",
    "INP00012",
    112,
    "soft clay soil.",
    "p-y Curve Computed Using the Soft Clay Criteria for Static Loading Conditions",
    "p-y Curve Computed Using the Soft Clay Criteria for Cyclic Loading Conditions",
    "J",
    "soft clay.",
};

constexpr Variant kVariantWithJ{
    true,
    "71",
    "INP00071",
    171,
    "soft clay soil with J.",
    "p-y Curve Computed Using the Soft Clay Criteria with J for Static Loading Conditions",
    "p-y Curve Computed Using the Soft Clay Criteria with J for Cyclic Loading Conditions",
    "J parameter",
    "soft clay with J.",
};

// Input Data Error 12 (Matlock) or 71 (with J): a soft clay without cohesion below its top node.
[[noreturn]] void StopOnZeroCohesion(run::RunContext& ctx, const Variant& v, int layer, const PyNode& node, int first,
                                     int last, double c) {
    const std::string where = "Layer no. = " + fmt::I0(layer) + ", Node no. = " + fmt::I0(node.k) +
                              ", Top node in layer = " + fmt::I0(first) + ", Elevation = " + fmt::F(node.xv, 10, 3) +
                              ", c(x) = " + fmt::F(c, 10, 3);
    const std::initializer_list<std::string_view> text = {
        "",
        "An error was detected that is related to an incompatibility between the input ",
        "data defining soil layering and soil shear strength values when computing a ",
        "p-y curve using the Matlock soft clay criteria.",
        "",
    };
    const std::string heading = "**** Input Data Error No. " + std::string(v.error_number) + " ****";
    const std::string problem = "Problem:  A negative or zero value of cohesion was input for a " +
                                std::string(v.problem_soil);
    for (report::OutputChannel* out : {&ctx.files.messages, &ctx.files.report}) {
        out->Line(heading);
        for (std::string_view line : text) out->Line(line);
        out->Line(problem);
        out->Blank();
        out->Line("Solution:  Please compare the depth values for soil layering and soil shear ");
        out->Line("strength values and revise the input data.");
        out->Blank(2);
    }
    ctx.files.messages.Line(where);
    ctx.files.report.Line(where + ", Pile length = " + fmt::F(ctx.problem.PileTotalLength, 10, 3));
    ctx.files.report.Line(", ITOP = " + fmt::I0(first) + ", IBOT = " + fmt::I0(last));
    run::Stop_With_Error(ctx, v.code, v.number);
}

// Input Data Error 93: general units have no default epsilon-50; the run
// cannot go on without one.
[[noreturn]] void StopOnNoEpsilon50(run::RunContext& ctx, int layer) {
    run::WriteToBoth(ctx, {"", "**** Input Data Error No. 93 ****", "",
                           "Problem:  The value of Epsilon50 for the soft clay of layer " + fmt::I0(layer) +
                               " is zero or negative.",
                           "          No default value of Epsilon50 exists when general units are used.", "",
                           "Solution:  Enter a positive value of Epsilon50 for this layer.", ""});
    run::Stop_With_Error(ctx, kNoEpsilon50Error);
}

// Runtime Error 42: a soft clay modulus that is not a number, after its report line.
[[noreturn]] void StopOnModulusNotANumber(run::RunContext& ctx, int k, double Es) {
    ctx.files.report.Line("The computed value of soil modulus is not-a-number for node " + fmt::I0(k));
    StopOnNonFiniteSoilModulus(ctx, k, Es);
}

// The soil values of a node, from which its curve follows.
struct SoftClayNode {
    double b = 0.0;
    double c = 0.0;
    double gamma = 0.0;
    double eps50 = 0.0;
    double J = 0.0;
    double pm = 0.0;
    double ym = 0.0;
};

// The printed curve of an output depth: the parameters, then the curve at
// 17 deflections in multiples of y50, each followed by the limiting-modulus
// warning where the deflection lies on the straight start of the curve.
PyCurveReport DescribeCurve(const run::RunContext& ctx, const Variant& v, int layer, const PyNode& node,
                            const SoftClayNode& n, const SoftClayCurve& curve) {
    const model::ProblemData& problem = ctx.problem;
    const model::AnalysisOptions& options = problem.Options;
    const py_report::Units units = py_report::MakeUnits(ctx.labels);

    // "SoftClyJ" prints depths in feet and the soil properties per square
    // and cubic foot for US customary runs.
    const bool feet = v.with_j && options.Units == model::UnitSystem::USCS;
    const double depth_scale = feet ? 1.0 / kInchesPerFoot : 1.0;
    const std::string depth_unit = feet ? TrimRight(ctx.labels.DepthUnit) : units.length;
    const std::string stress =
        feet ? TrimRight(ctx.labels.Force3) + ctx.labels.Divide + depth_unit + ctx.labels.Power + ctx.labels.Exp2
             : units.stress;
    const std::string unit_weight =
        feet ? TrimRight(ctx.labels.Force3) + ctx.labels.Divide + depth_unit + ctx.labels.Power + ctx.labels.Exp3
             : units.unit_weight;

    const double stress_scale = feet ? kSquareInchesPerSquareFoot : 1.0;
    const double unit_weight_scale = feet ? kCubicInchesPerCubicFoot : 1.0;
    auto depth = [&](double value) { return fmt::F(value * depth_scale, 12, 3) + " " + depth_unit; };
    auto degrees = [](double radians) { return fmt::F(radians * kDegreesPerRadian, 12, 3) + " degrees"; };

    PyCurveReport r(29);
    r.Line(std::string(curve.cyclic ? v.cyclic_title : v.static_title));
    r.Labelled("Soil Layer Number", fmt::I(layer, 12));
    r.Labelled("Depth below pile head", depth(problem.GroundSurfaceDepth + node.z0));
    r.Labelled("Depth below ground surface", depth(node.z0));
    r.Labelled("Ground Slope Angle", degrees(problem.GroundSlopeAngle));
    r.Labelled("Pile Batter", degrees(problem.PileBatterAngle));
    r.Labelled("Effective Slope", degrees(problem.SlopeMinusBatter));
    r.Labelled("Equivalent Depth", depth(curve.z));
    r.Labelled("Pile Diameter", fmt::F(n.b, 12, 3) + " " + units.length);
    r.Labelled("Cohesion, c", fmt::F(n.c * stress_scale, 12, 3) + " " + stress);
    r.Labelled("Avg Eff Unit Weight", fmt::F(n.gamma * unit_weight_scale, 12, 5) + " " + unit_weight);
    r.Labelled("Epsilon50 parameter", fmt::F(n.eps50, 12, 5));
    r.Labelled(std::string(v.j_label), fmt::F(n.J, 12, 3));
    r.Labelled("Transition Depth Xr", depth(curve.zr));
    // Surface wedge and deep flow values, without slope factor or cap:
    // (3 + gamma' z/c + J z/b) b c, written so that c = 0 gives a number.
    const double pu_s = kSurfaceBearingFactor * n.b * n.c + n.gamma * n.b * curve.z + n.J * curve.z * n.c;
    r.Labelled("pu_s", fmt::F(pu_s, 12, 3) + " " + units.force_per_length);
    r.Labelled("pu_d", fmt::F(kMaxBearingFactor * n.c * n.b, 12, 3) + " " + units.force_per_length);
    r.Labelled("Y50", fmt::F(curve.y50, 12, 5) + " " + units.length);
    r.Labelled("p-multiplier", fmt::F(n.pm, 12, 5));
    r.Labelled("y-multiplier", fmt::F(n.ym, 12, 5));
    if (curve.cyclic) {
        r.Labelled("Number of cycles of loading", fmt::F(options.NumberOfCycles, 12, 0));
        r.Labelled("Xr", depth(curve.zr));
    }
    r.Blank();
    r.Columns(6, "y, " + units.length, 25, "p, " + units.force_per_length);
    r.Line("----------------    -----------------");

    for (int j = 1; j <= kReportPoints; ++j) {
        double yj = 0.0;
        if (j == 2) {
            yj = kSecondReportY50 * curve.y50;
        } else if (j <= 14 && j >= 3) {
            yj = kReportStepY50 * (j - 2) * curve.y50;
        } else if (j == 15) {
            yj = kStaticUltimateY50 * curve.y50;
        } else if (j == 16) {
            yj = kCyclicResidualY50 * curve.y50;
        } else if (j == 17) {
            yj = kLastReportY50 * curve.y50;
        }
        r.Point(n.ym * yj, n.pm * curve.P(yj));
        if (j >= 2 && yj < curve.ylim) {
            r.Line("**** Warning ****");
            r.Blank();
            r.Line("The pile deflection is less than 0.00001*Y50.");
            r.Line("Trevasc used the limiting value of soil modulus (= " + fmt::E(curve.Eslim, 12, 4) + " " +
                   units.stress + ") when computing the p-y curve for " + std::string(v.warning_soil));
        }
    }
    return r;
}

// The values of node `node` of the layer whose nodes are numbered first ..
// last, with the strength warnings and the checks of the strength and
// epsilon-50. Zero strength is accepted at the first node only.
SoftClayNode SoftClayNodeAt(run::RunContext& ctx, const Variant& v, int layer, const PyNode& node, int first,
                            int last) {
    const model::AnalysisOptions& options = ctx.problem.Options;
    SoftClayNode n;
    n.b = PileWidthAt(ctx, node.x);
    n.c = fn_c(ctx, node.xv);
    const bool at_interface = ctx.soil.b_AtInterface;
    n.gamma = AverageUnitWeight(ctx, node.xv);
    n.eps50 = Epsilon50At(ctx, node.xv);
    n.J = v.with_j ? PointValueAt(ctx, node.xv, &model::SoilPointParams::J) : ctx.soil.SoftClayJ;
    n.pm = PMultiplierAt(ctx, node.x);
    n.ym = YMultiplierAt(ctx, node.x);

    if (!at_interface) {
        if (options.Units == model::UnitSystem::USCS && n.c > kHighStrengthUscs) ctx.warnings.RecordWarning(-3041);
        if (options.Units == model::UnitSystem::SI && n.c > kHighStrengthSi) ctx.warnings.RecordWarning(-3042);
    }
    if (n.eps50 <= 0.0) {
        n.eps50 = SoftClayDefaultEpsilon50(n.c, options.Units);
        if (n.eps50 <= 0.0) StopOnNoEpsilon50(ctx, layer);
    }
    if (node.k > first && n.c < kZeroCohesion) StopOnZeroCohesion(ctx, v, layer, node, first, last, n.c);
    return n;
}

// The curve of a node on the depth of the curve (the equivalent depth below
// other layers).
SoftClayCurve SoftClayCurveAt(const run::RunContext& ctx, int layer, const PyNode& node, const SoftClayNode& n) {
    const double z = CurveDepth(ctx, layer, node.xv, node.z0);
    return MakeSoftClayCurve(n.b, n.c, n.gamma, n.eps50, n.J, z, GroundSlopeFactor(ctx, node.y),
                             ctx.problem.Options.CyclicLoading);
}

// The equivalent depth of the layer, from the values at its first node.
void StoreEquivalentDepth(run::RunContext& ctx, int layer, const SoftClayNode& n) {
    SetLayerEquivalentDepth(ctx, layer,
                            SoftClayEquivalentDepth(ResistanceOfLayersAbove(ctx.soil, layer), n.b, n.c, n.gamma, n.J,
                                                    ctx.problem.Options.CyclicLoading));
}

void SoftClayLayerSprings(run::RunContext& ctx, const Variant& v, int layer, int first, int last) {
    const model::ProblemData& problem = ctx.problem;
    const bool cyclic = problem.Options.CyclicLoading;
    const model::SoilLayer& soil_layer = problem.Layers[static_cast<std::size_t>(layer - 1)];
    model::SoilState& soil = ctx.soil;
    double& resistance = soil.LayerResistance[static_cast<std::size_t>(layer)];
    SoftClayCurve previous;

    for (int k = first; k <= last; ++k) {
        const PyNode node = PyNodeAt(ctx, k);
        if (k == first) resistance = 0.0;
        const SoftClayNode n = SoftClayNodeAt(ctx, v, layer, node, first, last);
        if (k == first && layer > 1 && soil.BelowRockCount == 0) StoreEquivalentDepth(ctx, layer, n);
        const SoftClayCurve curve = SoftClayCurveAt(ctx, layer, node, n);

        // Resistance of the layer for the equivalent depths of the layers
        // below: trapezoids between nodes and the last node's value over one
        // increment, of pu under static loading and of the cyclic residual
        // under cyclic loading (pcz above the transition depth, pc below it;
        // the one or the other, as the equivalent depth integrates it).
        const double h = ctx.pile.h;
        auto cyclic_residual = [](const SoftClayCurve& c) { return c.zr > c.z ? c.pcz : c.pc; };
        const double q = cyclic ? cyclic_residual(curve) : curve.pu;
        if (k > first) resistance += ((cyclic ? cyclic_residual(previous) : previous.pu) + q) * h / 2.0;
        if (k == last) resistance += q * h;
        if (problem.GroundSurfaceDepth < kGroundAboveHead && layer == 1) {
            resistance = (kSurfaceBearingFactor * n.c * n.b + curve.pu) * 0.5 *
                         (soil_layer.XLayerBottom - soil_layer.XLayerTop);
        }
        previous = curve;

        const double ystar = DeflectionOnCurve(node, n.ym);
        const double Es = ystar < curve.ylim ? curve.Eslim : n.pm * curve.P(ystar) / (n.ym * ystar);
        if (std::isnan(Es)) StopOnModulusNotANumber(ctx, k, Es);
        StoreSoilModulus(ctx, node, Es);
    }
}

// The output depths of a layer stand for its nodes: zero strength is
// accepted at the first of them only, and the error names them by their
// numbers.
void SoftClayLayerCurves(run::RunContext& ctx, const Variant& v, int layer, std::span<const PyNode> depths,
                         const PyCurveSink& sink) {
    const int first = depths.front().k;
    const int last = depths.back().k;
    for (const PyNode& depth : depths) {
        const SoftClayNode n = SoftClayNodeAt(ctx, v, layer, depth, first, last);
        const SoftClayCurve curve = SoftClayCurveAt(ctx, layer, depth, n);
        sink(depth, DescribeCurve(ctx, v, layer, depth, n, curve));
    }
}

}  // namespace

double SoftClayCurve::P(double y) const {
    if (y < ylim) return Eslim * y;
    const double rising = kCurveFactor * pu * std::pow(y / y50, kCubeRoot);
    if (y <= kCyclicPlateauY50 * y50) return rising;
    if (!cyclic) return y <= kStaticUltimateY50 * y50 ? rising : pu;
    if (z >= zr) return pc;
    if (y > kCyclicResidualY50 * y50) return pcz;
    return pc + (pcz - pc) * (y - kCyclicPlateauY50 * y50) / ((kCyclicResidualY50 - kCyclicPlateauY50) * y50);
}

SoftClayCurve MakeSoftClayCurve(double b, double c, double gamma, double eps50, double J, double z,
                                   double slope_factor, bool cyclic) {
    SoftClayCurve curve;
    curve.cyclic = cyclic;
    curve.z = z;
    curve.y50 = kY50PerEps50Width * eps50 * b;
    curve.zr = std::max(kMinTransitionWidths * b, kTransitionFactor * c * b / (gamma * b + J * c));
    const double Np = (kSurfaceBearingFactor + gamma * z / c + J * z / b) * slope_factor;
    curve.pu = Np < kMaxBearingFactor ? Np * c * b : kMaxBearingFactor * c * b;
    curve.Eslim = kEslimNumerator * curve.pu / (kEslimDenominator * curve.y50);
    curve.ylim = kLimitDeflectionY50 * curve.y50;
    curve.pc = kCyclicPlateauFactor * curve.pu;
    curve.pcz = curve.pc * z / curve.zr;
    return curve;
}

double SoftClayDefaultEpsilon50(double c, model::UnitSystem units) {
    if (units == model::UnitSystem::GENERAL) return 0.0;
    for (const Eps50Band& band : kEps50Bands) {
        if (c < (units == model::UnitSystem::USCS ? band.upper_uscs : band.upper_si)) return band.eps50;
    }
    return kEps50Stiffest;
}

double SoftClayEquivalentDepth(double A, double b, double c, double gamma, double J, bool cyclic) {
    // Depth at which the bearing factor reaches 9 (no 2.5 b floor here).
    const double zt = kTransitionFactor * b * c / (J * c + gamma * b);
    // Integral of pu to zt; under cyclic loading of pcz = 0.72 pu z / zt.
    const double Ft = cyclic ? kCyclicEquivalentFactor *
                                   (1.5 * zt * b * c + J * c * zt * zt / 3.0 + zt * zt * b * gamma / 3.0)
                             : zt * ((kSurfaceBearingFactor * c + 0.5 * zt * gamma) * b + 0.5 * J * zt * c);
    if (A > Ft) {
        const double deep = kMaxBearingFactor * b * c * (cyclic ? kCyclicEquivalentFactor : 1.0);
        return zt + (A - Ft) / deep;
    }
    if (cyclic) {
        // 0.72 / zt (1.5 b c Z^2 + (gamma' b + J c) Z^3 / 3) = A on [0, zt],
        // increasing in Z: bisection.
        auto F = [&](double Z) {
            return kCyclicEquivalentFactor / zt * (1.5 * b * c * Z * Z + (gamma * b + J * c) * Z * Z * Z / 3.0);
        };
        double lo = 0.0;
        double hi = zt;
        for (int i = 0; i < 200 && hi - lo > 1.0e-12 * zt; ++i) {
            const double mid = 0.5 * (lo + hi);
            (F(mid) < A ? lo : hi) = mid;
        }
        return 0.5 * (lo + hi);
    }
    const double a = 0.5 * J * c + 0.5 * b * gamma;
    const double s = kSurfaceBearingFactor * b * c;
    return (std::sqrt(s * s + 4.0 * A * a) - s) * 0.5 / a;
}

void SoftClaySprings(run::RunContext& ctx, int layer, int first, int last) {
    SoftClayLayerSprings(ctx, kVariantMatlock, layer, first, last);
}

void SoftClayJSprings(run::RunContext& ctx, int layer, int first, int last) {
    SoftClayLayerSprings(ctx, kVariantWithJ, layer, first, last);
}

void SoftClayCurves(run::RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink) {
    SoftClayLayerCurves(ctx, kVariantMatlock, layer, depths, sink);
}

void SoftClayJCurves(run::RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink) {
    SoftClayLayerCurves(ctx, kVariantWithJ, layer, depths, sink);
}

}  // namespace trevasc::soil
