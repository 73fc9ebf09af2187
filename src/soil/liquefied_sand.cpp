// Liquefied sand ("Liq Sand").
//
// The empirical p-y curve for fully liquefied sand of Rollins et al. (2004,
// 2005), fitted to full-scale lateral load tests on piles and shafts in sand
// liquefied by controlled blasting. The curve is concave upward, a power law
// in y scaled by a factor for the pile diameter and limited at 15 kN/m. In
// kN, metres and millimetres, with sigma' = gamma' z the vertical effective
// stress (kPa):
//
//     X  = 0.1 sigma' + 1               stress variable
//     A  = 3e-7 X^6.05
//     B  = 2.80 X^0.11
//     C  = 2.85 X^-0.41
//     Pd = 3.81 ln(b) + 5.6             diameter factor, b in metres
//     p  = min(15, A (B y)^C Pd)        p in kN/m, y in millimetres
//
// For US customary runs the same curve is evaluated in pounds and inches:
// the stress variable from psi, y converted from inches to millimetres and p
// from kN/m to lb/in (factor 5.7101). The constants are the single-precision
// values the criterion has always used.
//
// The secant modulus p/y is 0/0 at y = 0. There the modulus is taken as the
// secant of the curve to the smallest deflection the criterion tabulates
// (0.25 mm, or 0.01 in), where the published curve begins: finite and
// positive whether the exponent C is above or below one. The criterion is
// defined in kN and metres or in pounds and inches only; a layer in a run of
// general units is rejected.
#include <algorithm>
#include <array>
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

namespace {

constexpr double Single(float value) { return value; }

constexpr double kStressScaleSi = 0.1;                       // X = 0.1 sigma'(kPa) + 1
constexpr double kStressDivisorUscs = 0.035999998450279236;  // X = sigma'(psi)/0.036 * 0.0254 + 1
constexpr double kMetresPerInch = 0.02539999969303608;       // 0.0254
constexpr double kMillimetresPerInch = 25.399999618530273;   // 25.4
constexpr double kCFactor = 2.8499999046325684;              // C = 2.85 X^-0.41
constexpr double kCExponent = -0.4099999964237213;
constexpr double kBFactor = 2.799999952316284;               // B = 2.80 X^0.11
constexpr double kBExponent = 0.10999999940395355;
constexpr double kAFactor = 3e-07;                           // A = 3e-7 X^6.05
constexpr double kAExponent = 6.050000190734863;
constexpr double kDiameterLogFactor = 3.809999942779541;     // Pd = 3.81 ln(b) + 5.6
constexpr double kDiameterConstant = 5.599999904632568;
constexpr double kLimitDeflectionMm = 150.0;                 // the limit is A (150 B)^C Pd, at most 15 kN/m
constexpr double kLimitSi = 15.0;                            // kN/m
constexpr double kLimitUscs = 85.65221405029297;             // 15 kN/m in lb/in
constexpr double kKnPerMetreToLbPerInch = 5.710147380828857;
constexpr double kSurfaceDepth = 1.0e-7;                     // at or above this depth ...
constexpr double kSurfaceDepthUsed = 0.00009999999747378752; // ... z is taken as 0.0001

// Tabulated deflections: metres for SI, inches for US customary units.
constexpr std::array<double, kReportPoints> kReportDeflectionsSi = {
    Single(0.00025f), Single(0.0025f), Single(0.005f),  Single(0.01f),   Single(0.015f), Single(0.02f),
    Single(0.025f),   Single(0.0375f), Single(0.05f),   Single(0.0625f), Single(0.075f), Single(0.0875f),
    Single(0.1f),     Single(0.1125f), Single(0.125f),  Single(0.1375f), Single(0.15f),
};
constexpr std::array<double, kReportPoints> kReportDeflectionsUscs = {
    Single(0.01f), Single(0.1f), Single(0.2f), Single(0.4f), Single(0.6f), Single(0.8f),
    Single(1.0f),  Single(1.5f), Single(2.0f), Single(2.5f), Single(3.0f), Single(3.5f),
    Single(4.0f),  Single(4.5f), Single(5.0f), Single(5.5f), Single(6.0f),
};

// Input Data Error 73 of this build: a liquefied sand curve that cannot be
// formed.
constexpr std::int32_t kUndefinedLiquefiedSand = 173;

// Input Data Error 73: a liquefied sand whose curve cannot be formed.
[[noreturn]] void StopOnUndefinedCurve(run::RunContext& ctx, int layer, const std::string& problem_line,
                                       const std::string& detail, const std::string& solution) {
    run::WriteToBoth(ctx, {"**** Input Data Error No. 73 ****", "",
                           "Problem:  The p-y curve for liquefied sand cannot be computed for layer " +
                               fmt::I0(layer) + ".",
                           "          " + problem_line, "          " + detail, "", "Solution: " + solution});
    run::Stop_With_Error(ctx, "INP00073", kUndefinedLiquefiedSand);
}

struct LiquefiedSandCurve {
    double a = 0.0;      // A Pd in the run's force/length
    double beta = 0.0;   // B in the run's length: beta y is the deflection in mm times B
    double C = 0.0;
    double Pu = 0.0;     // upper limit

    double P(double y) const { return std::min(Pu, a * std::pow(beta * y, C)); }
};

// What the curves of a layer share: the unit system and the deflections the
// curve is tabulated at.
struct LiquefiedSandLayer {
    bool si;
    const std::array<double, kReportPoints>& deflections;
};

LiquefiedSandLayer LiquefiedSandLayerOf(run::RunContext& ctx, int layer) {
    model::AnalysisOptions& options = ctx.problem.Options;
    if (options.NumberOfCycles <= 0.0) options.NumberOfCycles = 1.0;
    const bool si = options.Units == model::UnitSystem::SI;
    if (options.Units == model::UnitSystem::GENERAL) {
        StopOnUndefinedCurve(ctx, layer, "The criterion is defined in kN and metres or in pounds and inches only,",
                             "and this run uses general units.",
                             "Use SI or US customary units, or model the layer with another criterion.");
    }
    return {si, si ? kReportDeflectionsSi : kReportDeflectionsUscs};
}

// The curve of one node with the parameters it comes from.
struct LiquefiedSandNodeCurve {
    double pm = 0.0;
    double ym = 0.0;
    double b = 0.0;
    double gamma = 0.0;
    double z0 = 0.0;  // depth below the ground, at least the surface depth used
    LiquefiedSandCurve curve;
};

LiquefiedSandNodeCurve LiquefiedSandCurveAt(run::RunContext& ctx, int layer, const LiquefiedSandLayer& l,
                                            const PyNode& node) {
    const bool si = l.si;
    LiquefiedSandNodeCurve c;
    c.pm = PMultiplierAt(ctx, node.x);
    c.ym = YMultiplierAt(ctx, node.x);
    c.b = PileWidthAt(ctx, node.x);
    c.gamma = AverageUnitWeight(ctx, node.xv);
    c.z0 = node.z0 <= kSurfaceDepth ? kSurfaceDepthUsed : node.z0;
    const double b = c.b;
    const double gamma = c.gamma;
    const double z0 = c.z0;
    LiquefiedSandCurve& curve = c.curve;

    const double X = si ? kStressScaleSi * gamma * z0 + 1.0 : gamma * z0 / kStressDivisorUscs * kMetresPerInch + 1.0;
    curve.C = kCFactor * std::pow(X, kCExponent);
    const double B = kBFactor * std::pow(X, kBExponent);
    const double A = kAFactor * std::pow(X, kAExponent);
    const double b_metres = si ? b : kMetresPerInch * b;
    // The diameter factor must be positive: ln(b) needs b > 0, and below
    // about 0.23 m the factor changes sign and the curve would resist
    // with a negative force.
    const double Pd = b_metres > 0.0 ? kDiameterLogFactor * std::log(b_metres) + kDiameterConstant : 0.0;
    if (!(Pd > 0.0)) {
        StopOnUndefinedCurve(ctx, layer,
                             "The diameter factor 3.81 ln(b) + 5.6 is not positive for the pile width " +
                                 fmt::F(b, 12, 4) + " " + report::TrimRight(ctx.labels.Length) + ",",
                             "so the curve would give no resistance or a negative one.",
                             "The criterion applies to piles of 0.3 to 2.6 m (12 to 102 in) diameter.");
    }
    const double limit_curve = A * std::pow(kLimitDeflectionMm * B, curve.C) * Pd;
    if (si) {
        curve.Pu = std::min(kLimitSi, limit_curve);
        curve.a = A * Pd;
        curve.beta = kMillimetresPerMetre * B;
    } else {
        curve.Pu = std::min(kLimitUscs, kKnPerMetreToLbPerInch * limit_curve);
        curve.a = kKnPerMetreToLbPerInch * A * Pd;
        curve.beta = kMillimetresPerInch * B;
    }
    return c;
}

PyCurveReport DescribeCurve(const run::RunContext& ctx, const LiquefiedSandLayer& l, const LiquefiedSandNodeCurve& c) {
    PyCurveReport report(56);
    const model::UnitLabels& u = ctx.labels;
    const py_report::Units units = py_report::MakeUnits(u);
    const std::string& length = units.length;
    const std::string& force_per_length = units.force_per_length;
    auto labelled = [&](std::string label, std::string value) { report.Labelled(std::move(label), std::move(value)); };
    report.Line("p-y Curve Computed Using Liquefied Sand Criteria");
    report.Blank();
    labelled("Depth below ground surface", fmt::F(c.z0, 12, 3) + " " + length);
    labelled("Diameter", fmt::F(c.b, 12, 3) + " " + length);
    labelled("Gamma Avg", fmt::F(c.gamma, 12, 5) + " " + force_per_length + u.Power + u.Exp3);
    labelled("Upper limit Pu", fmt::F(c.curve.Pu, 12, 3) + " " + force_per_length);
    labelled("p-multiplier", fmt::F(c.pm, 12, 5));
    labelled("y-multiplier", fmt::F(c.ym, 12, 5));
    report.Blank();
    report.Line("        y, " + length + "            p, " + force_per_length);
    report.Line("----------------    -----------------");
    for (int j = 1; j <= kReportPoints; ++j) {
        const double yj = l.deflections[static_cast<std::size_t>(j - 1)];
        const double y_out = c.ym * yj;
        const double p_out = c.pm * c.curve.P(yj);
        report.Point(y_out, p_out);
    }
    report.Blank();
    return report;
}

}  // namespace

void LiquefiedSandSprings(run::RunContext& ctx, int layer, int first, int last) {
    const LiquefiedSandLayer l = LiquefiedSandLayerOf(ctx, layer);
    LayerResistanceSum resistance(ctx, layer);
    for (int k = first; k <= last; ++k) {
        const PyNode node = PyNodeAt(ctx, k);
        const LiquefiedSandNodeCurve c = LiquefiedSandCurveAt(ctx, layer, l, node);
        resistance.Add(node, c.curve.Pu, k == first, k == last);
        ctx.soil.LiquefiedLayerResistance[static_cast<std::size_t>(layer)] =
            ctx.soil.LayerResistance[static_cast<std::size_t>(layer)];
        const double ystar = DeflectionOnCurve(node, c.ym);
        const double y_secant = ystar < kSmallDeflection ? l.deflections[0] : ystar;
        StoreSoilModulus(ctx, node, c.pm * c.curve.P(y_secant) / (y_secant * c.ym));
    }
}

void LiquefiedSandCurves(run::RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink) {
    const LiquefiedSandLayer l = LiquefiedSandLayerOf(ctx, layer);
    for (const PyNode& depth : depths) sink(depth, DescribeCurve(ctx, l, LiquefiedSandCurveAt(ctx, layer, l, depth)));
}

}  // namespace trevasc::soil
