// Stiff clay without free water ("StfClyAW" and "StfClyAK").
//
// Welch, R. C. and Reese, L. C. (1972), "Laterally loaded behavior of
// drilled shafts", Research Report 3-5-65-89, Center for Highway Research,
// University of Texas at Austin; Reese and Welch (1975), "Lateral loading
// of deep foundations in stiff clay", J. Geotech. Eng. Div. ASCE 101(GT7).
// With c the undrained strength, gamma' the average effective unit weight
// and eps50 the strain at half the strength:
//
//     pct = 3 c b + (gamma' b + 0.5 c) z,   pcd = 9 c b,   pu = min(pct, pcd)
//     y50 = 2.5 eps50 b
//     p   = 0.5 pu (y/y50)^(1/4)                    up to y = 16 y50, then pu
//
// Under N cycles of loading the deflections grow by 1 + 0.6 log10(N):
//
//     p   = min(pu, 0.5 pu (y / (y50 (1 + 0.6 log10 N)))^(1/4)).
//
// "StfClyAW" holds the secant modulus below y = 2e-5 b at the static
// curve's secant there (the quarter-power curve has an infinite initial
// slope); "StfClyAK" caps the curve by an initial line k z y instead, with an
// input k or the default by strength of the stiff clay with free water.
//
// Below other layers the depth on the curve is the equivalent depth, from
// the closed-form integral of pu: A = 3 c b Z + (gamma' b/2 + c/4) Z^2 up to
// zt, where pct reaches pcd, and 9 c b beyond.
//
// Units: pounds and inches (c in psi) or kN and metres; general units have
// no default eps50 and k.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>

#include "report/fortran_format.hpp"
#include "run/error_stop.hpp"
#include "run/run_context.hpp"
#include "soil/criteria.hpp"
#include "soil/criterion_report.hpp"
#include "soil/py_framework.hpp"
#include "soil/stiff_clay.hpp"

namespace trevasc::soil {

namespace fmt = report::fmt;

namespace {


constexpr double Single(float value) { return value; }

constexpr double kSurfaceFactor = 3.0;        // pct = 3 c b + ...
constexpr double kCohesionGrowth = 0.5;       // ... (gamma' b + 0.5 c) z
constexpr double kFlowFactor = 9.0;           // pcd = 9 c b
constexpr double kY50PerEps50Width = 2.5;
constexpr double kQuarterPower = 0.25;
constexpr double kUltimateY50 = 16.0;         // 0.5 * 16^(1/4) = 1
constexpr double kCycleGrowth = 0.6000000238418579;       // 0.6 log10 N
constexpr double kLimitDeflectionWidth = 2.0e-05;         // ylim = 2e-5 b
constexpr double kSecantPower = 0.75;

constexpr double kZeroCohesion = 1.0e-10;
constexpr double kGroundAboveHead = -9.999999747378752e-06;

// Usual range of the strength of a stiff clay: 500 and 8,000 psf.
constexpr StiffClayStrengthRange kStrengthRange{3.472222328186035, 55.55555725097656, 23.940000534057617,
                                                383.0400085449219};

// Report deflections: fractions of ymax = 16 y50, then the end of the curve.
constexpr std::array<double, 14> kReportFractions = {
    Single(1.0e-5f), Single(5.0e-5f), Single(1.0e-4f), Single(5.0e-4f), Single(0.001f),
    Single(0.005f),  Single(0.01f),   Single(0.025f),  Single(0.05f),   Single(0.075f),
    Single(0.1f),    Single(0.25f),   Single(0.5f),    1.0,
};
constexpr double kStaticEndY50 = 20.0;
constexpr double kCyclicEndFactor = 1.25;
constexpr double kCyclicEndGrowth = 9.600000381469727;  // 16 * 0.6

struct Variant {
    bool with_k;
    int kEqualsColumn;
    std::array<std::int32_t, 4> warnings;  // USCS low, USCS high, SI low, SI high
};
constexpr Variant kWithoutK{false, 56, {3061, 3062, 3063, 3064}};
constexpr Variant kWithK{true, 29, {3261, 3262, 3263, 3264}};

// Input Data Error 13: a stiff clay without free water and without cohesion.
[[noreturn]] void StopOnZeroCohesion(run::RunContext& ctx, const Variant& v) {
    if (v.with_k) {
        run::WriteToBoth(ctx, {"**** Input Data Error No. 13 ****", "", "An error was detected in the input data.",
                               "Problem:  Zero was input for cohesion of stiff clay without free water.", "",
                               "Solution:  Please check the values of soil shear strength and revise ",
                               "the input data."});
    } else {
        run::WriteToBoth(ctx, {"**** Input Data Error No. 13 ****", "", "An error was detected in the input data.",
                               "Problem:  Zero was input for cohesion of stiff clay without free water.", "",
                               "Solution:  Please check the values of soil shear strength and revise the input data."});
    }
    run::Stop_With_Error(ctx, "INP00013", 113);
}

// The soil values of a node, from which its curve follows.
struct StiffClayDryNode {
    double b = 0.0;
    double c = 0.0;
    double gamma = 0.0;
    double k = 0.0;  // "StfClyAK" only
    double eps50 = 0.0;
    double pm = 0.0;
    double ym = 0.0;
};

PyCurveReport DescribeCurve(const run::RunContext& ctx, const Variant& v, int layer, const PyNode& node, double z,
                            const StiffClayDryNode& n, const StiffClayDryCurve& curve) {
    const model::ProblemData& problem = ctx.problem;
    const py_report::Units units = py_report::MakeUnits(ctx.labels);
    PyCurveReport report(v.kEqualsColumn);
    auto line = [&](std::string label, std::string value) { report.Labelled(std::move(label), std::move(value)); };
    auto degrees = [](double radians) { return fmt::F(radians * kDegreesPerRadian, 12, 3) + " degrees"; };
    const std::string per_length = v.with_k ? std::string() : " " + units.force_per_length;

    report.Line(curve.cyclic ? "p-y Curve Computed Using Cyclic Criteria for Stiff Clay without Free Water"
                             : "p-y Curve Computed Using Static Criteria for Stiff Clay without Free Water");
    if (v.with_k) report.Line("With Option of Defining Initial k");
    line("Soil Layer Number", fmt::I(layer, 12));
    if (v.with_k) {
        line("Depth below pile head", fmt::F(problem.GroundSurfaceDepth + node.z0, 12, 3));
        line("Depth below ground surface", fmt::F(node.z0, 12, 3));
    } else {
        const std::string length2 = " " + ctx.labels.Length2;
        line("Depth below pile head", fmt::F(problem.GroundSurfaceDepth + node.z0, 12, 3) + length2);
        line("Depth below ground surface", fmt::F(node.z0, 12, 3) + length2);
        line("Ground Slope Angle", degrees(problem.GroundSlopeAngle));
        line("Pile Batter Angle", degrees(problem.PileBatterAngle));
        line("Effective Slope", degrees(problem.SlopeMinusBatter));
    }
    line("Equivalent Depth", fmt::F(z, 12, 3));
    line("Diameter", fmt::F(n.b, 12, 3));
    if (v.with_k) {
        line("Undrained cohesion, c", fmt::F(n.c, 12, 5));
        line("Average Eff. Unit Weight", fmt::F(n.gamma, 12, 5));
        line("k", fmt::F(n.k, 12, 0) + " " + units.unit_weight);
    } else {
        line("Undrained cohesion, c", fmt::F(n.c, 12, 5) + " " + units.stress);
        line("Average Eff. Unit Weight", fmt::F(n.gamma, 12, 5) + " " + units.unit_weight);
    }
    line("Epsilon-50", fmt::F(n.eps50, 12, 5));
    line("Pct", fmt::F(curve.pct, 12, 3) + per_length);
    line("Pcd", fmt::F(curve.pcd, 12, 3) + per_length);
    line("Pu", fmt::F(curve.pu, 12, 3) + per_length);
    line("y50", fmt::F(curve.y50, 12, 3));
    line("p-multiplier", fmt::F(n.pm, 12, 5));
    line("y-multiplier", fmt::F(n.ym, 12, 5));
    if (v.with_k) {
        if (curve.cyclic) {
            line("Number of Cycles of Loading", fmt::F(curve.cycles, 12, 0));
            report.Blank();
        }
    } else {
        if (curve.cyclic) line("Number of cycles of loading", fmt::F(curve.cycles, 12, 0));
        report.Blank(2);
    }
    report.Line("        y, " + units.length + "            p, " + units.force_per_length);
    report.Line("----------------    -----------------");

    const double ymax = kUltimateY50 * curve.y50;
    const double yend = curve.cyclic
                            ? kCyclicEndFactor * (kUltimateY50 + kCyclicEndGrowth * std::log10(curve.cycles)) * curve.y50
                            : kStaticEndY50 * curve.y50;
    for (int j = 1; j <= kReportPoints; ++j) {
        double y = 0.0;
        if (j >= 2 && j <= 15) {
            y = kReportFractions[static_cast<std::size_t>(j - 2)] * ymax;
        } else if (j == 16) {
            y = (ymax + yend) / 2.0;
        } else if (j == 17) {
            y = yend;
        }
        const double y_out = n.ym * y;
        const double p_out = n.pm * curve.P(y);
        report.Point(y_out, p_out);
    }
    return report;
}

// The values of a node of the layer whose first node is numbered `first`,
// with the strength warnings and the check of the strength (zero is accepted
// at the first node only).
StiffClayDryNode StiffClayDryNodeAt(run::RunContext& ctx, const Variant& v, int layer, const PyNode& node, int first) {
    const model::ProblemData& problem = ctx.problem;
    const model::AnalysisOptions& options = problem.Options;
    const model::SoilLayer& soil_layer = problem.Layers[static_cast<std::size_t>(layer - 1)];
    StiffClayDryNode n;
    n.pm = PMultiplierAt(ctx, node.x);
    n.ym = YMultiplierAt(ctx, node.x);
    n.b = PileWidthAt(ctx, node.x);
    n.c = fn_c(ctx, node.xv);
    const double c = n.c;
    const bool at_interface = ctx.soil.b_AtInterface;
    if (node.k > first && c < kZeroCohesion) StopOnZeroCohesion(ctx, v);
    if (!at_interface) RecordStrengthOutsideRange(ctx.warnings, c, options.Units, kStrengthRange, v.warnings);

    n.gamma = AverageUnitWeight(ctx, node.xv);
    n.eps50 = Epsilon50At(ctx, node.xv);
    if (n.eps50 <= 0.0 && options.Units != model::UnitSystem::GENERAL) {
        n.eps50 = StiffClayDefaultEpsilon50(c, options.Units, StiffClayBands::kWithoutWater);
    }
    if (v.with_k) {
        const double ktop = soil_layer.Top.SubgradeK;
        if (ktop == 0.0 && options.Units != model::UnitSystem::GENERAL) {
            n.k = StiffClayDefaultK(c, options.CyclicLoading, options.Units, StiffClayBands::kWithoutWater);
        } else {
            n.k = StiffClayLayerK(soil_layer, node.xv);
        }
    }
    return n;
}

// The curve of a node at the depth z on the curve.
StiffClayDryCurve StiffClayDryCurveAt(const run::RunContext& ctx, const Variant& v, const PyNode& node,
                                      const StiffClayDryNode& n, double z) {
    const model::AnalysisOptions& options = ctx.problem.Options;
    // "StfClyAK" takes no cycles as one.
    const double cycles = v.with_k && options.NumberOfCycles == 0.0 ? 1.0 : options.NumberOfCycles;
    StiffClayDryCurve curve = MakeStiffClayDryCurve(n.b, n.c, n.gamma, n.eps50, z, GroundSlopeFactor(ctx, node.y),
                                                    options.CyclicLoading, cycles);
    if (v.with_k) {
        curve.capped = true;
        curve.kz = n.k * z;
    }
    return curve;
}

// The equivalent depth of the layer, from the values at its first node.
void StoreEquivalentDepth(run::RunContext& ctx, int layer, const StiffClayDryNode& n) {
    // At the first node of the layer its average strength is c.
    SetLayerEquivalentDepth(
        ctx, layer, StiffClayDryEquivalentDepth(ResistanceOfLayersAbove(ctx.soil, layer), n.b, n.c, n.c, n.gamma));
}

void StiffClayDryLayerSprings(run::RunContext& ctx, const Variant& v, int layer, int first, int last) {
    const model::ProblemData& problem = ctx.problem;
    const model::SoilLayer& soil_layer = problem.Layers[static_cast<std::size_t>(layer - 1)];
    model::SoilState& soil = ctx.soil;
    LayerResistanceSum resistance(ctx, layer);

    for (int k = first; k <= last; ++k) {
        const PyNode node = PyNodeAt(ctx, k);
        const StiffClayDryNode n = StiffClayDryNodeAt(ctx, v, layer, node, first);
        if (k == first && layer > 1 && soil.BelowRockCount == 0) StoreEquivalentDepth(ctx, layer, n);
        const double z = CurveDepth(ctx, layer, node.xv, node.z0);
        const StiffClayDryCurve curve = StiffClayDryCurveAt(ctx, v, node, n, z);

        resistance.Add(node, curve.pu, k == first, k == last);
        if (problem.GroundSurfaceDepth < kGroundAboveHead && layer == 1) {
            soil.LayerResistance[1] = (kSurfaceFactor * AverageStrength(ctx, node.xv) * n.b + curve.pu) * 0.5 *
                                      (soil_layer.XLayerBottom - soil_layer.XLayerTop);
        }

        const double ylim = kLimitDeflectionWidth * n.b;
        const double ystar = DeflectionOnCurve(node, n.ym);
        double Es = 0.0;
        if (!v.with_k && ystar < ylim) {
            // The static curve's secant at ylim, whatever the multipliers.
            Es = 0.5 * curve.pu * std::pow(curve.y50 / ylim, kSecantPower) / curve.y50;
        } else if (v.with_k && ystar < kSmallDeflection) {
            Es = curve.kz;
        } else {
            Es = n.pm * curve.P(ystar) / (std::fabs(ystar) * n.ym);
        }
        StoreSoilModulus(ctx, node, Es);
    }
}

// The output depths of a layer stand for its nodes: zero strength is
// accepted at the first of them only.
void StiffClayDryLayerCurves(run::RunContext& ctx, const Variant& v, int layer, std::span<const PyNode> depths,
                             const PyCurveSink& sink) {
    const int first = depths.front().k;
    for (const PyNode& depth : depths) {
        const StiffClayDryNode n = StiffClayDryNodeAt(ctx, v, layer, depth, first);
        const double z = CurveDepth(ctx, layer, depth.xv, depth.z0);
        sink(depth, DescribeCurve(ctx, v, layer, depth, z, n, StiffClayDryCurveAt(ctx, v, depth, n, z)));
    }
}

}  // namespace

double StiffClayDryCurve::P(double y) const {
    double p = 0.0;
    if (!cyclic) {
        p = y <= kUltimateY50 * y50 ? 0.5 * pu * std::pow(y / y50, kQuarterPower) : pu;
    } else {
        const double stretch = 1.0 + kCycleGrowth * std::log10(cycles);
        p = std::min(pu, 0.5 * pu * std::pow(y / (y50 * stretch), kQuarterPower));
    }
    return capped ? std::min(p, kz * y) : p;
}

StiffClayDryCurve MakeStiffClayDryCurve(double b, double c, double gamma, double eps50, double z,
                                            double slope_factor, bool cyclic, double cycles) {
    StiffClayDryCurve curve;
    curve.cyclic = cyclic;
    curve.cycles = cycles;
    curve.pct = (kSurfaceFactor * c * b + (gamma * b + kCohesionGrowth * c) * z) * slope_factor;
    curve.pcd = kFlowFactor * c * b;
    curve.pu = std::min(curve.pct, curve.pcd);
    curve.y50 = kY50PerEps50Width * eps50 * b;
    return curve;
}

double StiffClayDryEquivalentDepth(double A, double b, double c, double ca, double gamma) {
    const double zt = (kFlowFactor * c - kSurfaceFactor * ca) * b / (kCohesionGrowth * ca + gamma * b);
    const double Ft = zt * (kSurfaceFactor * b * ca + 0.25 * ca * zt + 0.5 * gamma * b * zt);
    if (A > Ft) return zt + (A - Ft) / (kFlowFactor * b * c);
    const double a = 0.25 * ca + 0.5 * gamma * b;
    const double s = kSurfaceFactor * b * ca;
    return (std::sqrt(s * s + 4.0 * A * a) - s) / (2.0 * a);
}

void StiffClayWithoutWaterSprings(run::RunContext& ctx, int layer, int first, int last) {
    StiffClayDryLayerSprings(ctx, kWithoutK, layer, first, last);
}

void StiffClayWithKSprings(run::RunContext& ctx, int layer, int first, int last) {
    StiffClayDryLayerSprings(ctx, kWithK, layer, first, last);
}

void StiffClayWithoutWaterCurves(run::RunContext& ctx, int layer, std::span<const PyNode> depths,
                                 const PyCurveSink& sink) {
    StiffClayDryLayerCurves(ctx, kWithoutK, layer, depths, sink);
}

void StiffClayWithKCurves(run::RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink) {
    StiffClayDryLayerCurves(ctx, kWithK, layer, depths, sink);
}

}  // namespace trevasc::soil
