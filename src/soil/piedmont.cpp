// Piedmont residual soil ("Piedmont").
//
// Simpson and Brown (2003), p-y curves for the residual soils of the
// Piedmont region from lateral load tests on drilled shafts (Georgia
// Department of Transportation). An initial modulus Esi (force/length^2) is
// correlated with one of four field tests,
//
//     SPT  Esi = 22 N60 (psi; 151.68 N60 kPa)
//     CPT  Esi = 0.118 qc
//     DMT  Esi = 0.076 ED
//     PMT  Esi = 0.235 EM
//
// and the curve is linear for very small deflections, softens
// logarithmically, and is constant from yu = 0.0375 b:
//
//     p = Esi b y                               y <  y1 = 0.001 b
//     p = Esi b y (1 - 0.23 ln(y/(0.001 b)))    y1 <= y < yu
//     p = pu = 0.16648 Esi b yu                 y >= yu
//
// Both branches give Esi b y1 at y1; at yu the logarithmic branch ends at
// (1 - 0.23 ln 37.5) = 0.16640 Esi b yu, a little below the plateau. The
// correlations are given for US customary and SI units only: general units
// (or a test type outside 1 to 4) give Esi = 0. The test type of the layer's
// top point governs the whole layer. In a layer of no thickness the test
// value is the top value; a negative test value is rejected.
//
// Units: pounds and inches or kN and metres.
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

// Initial modulus per unit of test value.
constexpr double kSptFactorUscs = 22.0;                    // psi per blow
constexpr double kSptFactorSi = 151.68465995788574;        // 22 psi in kPa, per blow
constexpr double kCptFactor = 0.11800000071525574;         // 0.118
constexpr double kDmtFactor = 0.07599999755620956;         // 0.076
constexpr double kPmtFactor = 0.23499999940395355;         // 0.235
constexpr double kY1OverWidth = 0.0010000000474974513;     // y1 = 0.001 b
constexpr double kYuOverWidth = 0.03750000149011612;       // yu = 0.0375 b
constexpr double kPlateauFactor = 0.16647996820926636;     // pu = 0.16648 Esi b yu
constexpr double kLogFactor = 0.23000000417232513;         // 0.23 in 1 - 0.23 ln(1000 y/b)
constexpr double kLogScale = 1000.0;                       // y/y1 = 1000 y/b
constexpr double kPiedmontSmallDeflection = 9.9999998245167e-15;  // 1e-14 as a single-precision value
constexpr double kReportStepOverWidth = 0.0024999999441206455;  // 0.0025


enum PiedmontTest { kSpt = 1, kCpt = 2, kDmt = 3, kPmt = 4 };

// Input Data Error 74 of this build: a soil parameter outside the range in
// which the criterion is defined.
constexpr std::int32_t kParameterOutOfRange = 174;

// Input Data Error 74: a negative field test value.
[[noreturn]] void StopOnNegativeTestValue(run::RunContext& ctx, int layer, double xv, double v) {
    run::WriteToBoth(ctx, {"**** Input Data Error No. 74 ****", "",
                           "Problem:  The field test value of the Piedmont residual soil of layer " + fmt::I0(layer) +
                               " at depth " + fmt::E(xv, 12, 4) + " is " + fmt::E(v, 12, 4) + ".",
                           "          A field test value cannot be negative.", "",
                           "Solution: Correct the field test values at the top and bottom of the layer."});
    run::Stop_With_Error(ctx, "INP00074", kParameterOutOfRange);
}

double TestValue(const model::SoilPointParams& point, int test) {
    switch (test) {
        case kSpt: return point.N60;
        case kCpt: return point.ConeTipResistance;
        case kDmt: return point.DilatometerModulus;
        case kPmt: return point.PressuremeterModulus;
        default: return 0.0;
    }
}

// Initial modulus per unit test value; 0 where the correlation is not
// defined.
double ModulusFactor(model::UnitSystem units, int test) {
    if (units != model::UnitSystem::USCS && units != model::UnitSystem::SI) return 0.0;
    switch (test) {
        case kSpt: return units == model::UnitSystem::USCS ? kSptFactorUscs : kSptFactorSi;
        case kCpt: return kCptFactor;
        case kDmt: return kDmtFactor;
        case kPmt: return kPmtFactor;
        default: return 0.0;
    }
}

struct PiedmontCurve {
    double Esi = 0.0;
    double b = 0.0;
    double y1 = 0.0;
    double yu = 0.0;
    double pu = 0.0;

    double P(double y) const {
        if (y >= yu) return pu;
        if (y < y1) return Esi * b * y;
        return Esi * b * y * (1.0 - kLogFactor * std::log(kLogScale * y / b));
    }
};

// What the curves of a layer share: the field test of the layer's top point
// and its correlation factor.
struct PiedmontLayer {
    int test = 0;
    double factor = 0.0;
};

PiedmontLayer PiedmontLayerOf(const run::RunContext& ctx, int layer) {
    const model::SoilLayer& soil_layer = ctx.problem.Layers[static_cast<std::size_t>(layer - 1)];
    PiedmontLayer l;
    // The test type is held in a real column; the top point's governs.
    l.test = static_cast<int>(std::lround(soil_layer.Top.PiedmontTestType));
    l.factor = ModulusFactor(ctx.problem.Options.Units, l.test);
    return l;
}

// The curve of one node with its multipliers.
struct PiedmontNodeCurve {
    double pm = 0.0;
    double ym = 0.0;
    PiedmontCurve curve;
};

PiedmontNodeCurve PiedmontCurveAt(run::RunContext& ctx, int layer, const PiedmontLayer& l, const PyNode& node) {
    const model::SoilLayer& soil_layer = ctx.problem.Layers[static_cast<std::size_t>(layer - 1)];
    const double Dt = soil_layer.Top.Depth;
    const double Db = soil_layer.Bottom.Depth;
    const double Vt = TestValue(soil_layer.Top, l.test);
    const double Vb = TestValue(soil_layer.Bottom, l.test);
    const double v = Db != Dt ? Vt + (node.xv - Dt) / (Db - Dt) * (Vb - Vt) : Vt;
    if (l.factor > 0.0 && v < 0.0) StopOnNegativeTestValue(ctx, layer, node.xv, v);
    PiedmontNodeCurve c;
    c.pm = PMultiplierAt(ctx, node.x);
    c.ym = YMultiplierAt(ctx, node.x);
    const double b = PileWidthAt(ctx, node.x);
    c.curve.Esi = l.factor * v;
    c.curve.b = b;
    c.curve.y1 = kY1OverWidth * b;
    c.curve.yu = kYuOverWidth * b;
    c.curve.pu = kPlateauFactor * c.curve.Esi * b * c.curve.yu;
    return c;
}

PyCurveReport DescribeCurve(const run::RunContext& ctx, int layer, const PyNode& node, const PiedmontNodeCurve& c) {
    const PiedmontCurve& curve = c.curve;
    const double b = curve.b;
    PyCurveReport report(56);
    const model::UnitLabels& u = ctx.labels;
    const py_report::Units units = py_report::MakeUnits(u);
    const std::string& length = units.length;
    const std::string& force_per_length = units.force_per_length;
    auto labelled = [&](std::string label, std::string value) { report.Labelled(std::move(label), std::move(value)); };
    report.Opening("p-y Curve for Piedmont Residual Soil Criteria", layer, 10);
    labelled("Depth below pile head", fmt::F(ctx.problem.GroundSurfaceDepth + node.z0, 12, 3) + " " + length);
    labelled("Depth below Ground Surface", fmt::F(node.z0, 12, 3) + " " + length);
    labelled("Shaft Diameter", fmt::F(b, 12, 3) + " " + length);
    labelled("Initial Modulus from Field Tests", fmt::F(curve.Esi, 12, 3) + " " + force_per_length + u.Power + u.Exp2);
    labelled("p-multiplier", fmt::F(c.pm, 12, 5));
    labelled("y-multiplier", fmt::F(c.ym, 12, 5));
    report.Blank();
    report.Columns(1, "        y, " + length, 22, "p, " + force_per_length);
    report.Line("---------------   ---------------");
    for (int j = 1; j <= kReportPoints; ++j) {
        double yj = 0.0;
        if (j >= 2 && j <= 15) {
            yj = (j - 1) * kReportStepOverWidth * b;
        } else if (j == 16) {
            yj = curve.yu;
        } else if (j == 17) {
            yj = curve.yu + b;
        }
        report.Point(c.ym * yj, c.pm * curve.P(yj));
    }
    return report;
}

}  // namespace

void PiedmontSprings(run::RunContext& ctx, int layer, int first, int last) {
    const PiedmontLayer l = PiedmontLayerOf(ctx, layer);
    for (int k = first; k <= last; ++k) {
        const PyNode node = PyNodeAt(ctx, k);
        const PiedmontNodeCurve c = PiedmontCurveAt(ctx, layer, l, node);
        const double ystar = DeflectionOnCurve(node, c.ym);
        // The initial slope, without the p-multiplier, at zero deflection.
        ctx.pile.Es(k) = ystar < kPiedmontSmallDeflection ? c.curve.Esi * c.curve.b / c.ym
                                                          : c.pm * (c.curve.P(ystar) / ystar) / c.ym;
    }
}

void PiedmontCurves(run::RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink) {
    const PiedmontLayer l = PiedmontLayerOf(ctx, layer);
    for (const PyNode& depth : depths) {
        sink(depth, DescribeCurve(ctx, layer, depth, PiedmontCurveAt(ctx, layer, l, depth)));
    }
}

}  // namespace trevasc::soil
