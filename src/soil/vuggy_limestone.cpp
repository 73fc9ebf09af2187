// Vuggy limestone, strong rock ("Vuggy LS").
//
// The bilinear p-y curve for strong, vuggy limestone derived from the lateral
// load tests on instrumented drilled shafts in the Florida Keys (Reese and
// Nyman, 1978; Reese, Van Impe and Wang for the presentation used here).
// With qu the uniaxial compressive strength, su = qu/2 and b the shaft
// width:
//
//     y1 = 0.0004 b,   K1 = 2000 su             initial line
//     p  = K1 y                                 y <  y1
//     p  = 0.8 b su + 100 su (y - y1)           y1 <= y <= y2
//     p  = 0.5 gamma' b z                       y >  y2 (residual)
//     y2 = y1 + (b su - 0.8 b su)/(100 su) = 0.0024 b
//
// At y1 both branches give 0.8 b su, at y2 the curve reaches b su; beyond y2
// the rock has failed in brittle fashion and only the residual wedge weight
// resists. The secant modulus uses the node's deflection itself (a lateral
// soil movement is not subtracted) and the criterion writes no load term.
//
// Units: pounds, inches and psi (the strength of vuggy limestone is entered
// in psi and kept so by the unit conversion), or kN, metres and kPa.
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

constexpr double kY1OverWidth = 0.00039999998989515007;   // 0.0004: y1 = 0.0004 b
constexpr double kInitialSlopeOverSu = 2000.0;             // K1 = 2000 su
constexpr double kP1Factor = 0.800000011920929;            // 0.8: p1 = 0.8 b su
constexpr double kSecondSlopeOverSu = 100.0;               // slope of the second line, 100 su
constexpr double kResidualFactor = 0.5;                    // residual p = 0.5 gamma' b z

// Usual range of su for the criterion (comparisons on su = qu/2).
constexpr double kSuLowUscs = 500.0;     // psi
constexpr double kSuHighUscs = 2500.0;   // psi
constexpr double kSuLowSi = 6895.0;      // kPa
constexpr double kSuHighSi = 17237.5;    // kPa

constexpr int kReportSteps = 15;  // report points divide y1 .. y2 in 15 steps

// Input Data Error 72 of this build: a rock curve that cannot be formed.
constexpr std::int32_t kUndefinedRockCurve = 172;

// Input Data Error 72: a vuggy limestone strength of zero or less gives no
// curve (or one of negative resistance).
[[noreturn]] void StopOnUndefinedCurve(run::RunContext& ctx, int layer, double xv, double qu) {
    run::WriteToBoth(ctx, {"**** Input Data Error No. 72 ****", "",
                           "Problem:  The p-y curve for vuggy limestone cannot be computed for layer " +
                               fmt::I0(layer) + " at depth " + fmt::E(xv, 12, 4) + ".",

                           "          The uniaxial compressive strength there is " + fmt::E(qu, 12, 4) +
                               "; it must be greater than zero.",
                           "",
                           "Solution: Enter a uniaxial compressive strength greater than zero at the top and",
                           "          bottom of the vuggy limestone layer."});
    run::Stop_With_Error(ctx, "INP00072", kUndefinedRockCurve);
}

struct VuggyCurve {
    double su = 0.0;
    double y1 = 0.0;
    double y2 = 0.0;
    double K1 = 0.0;
    double p1 = 0.0;
    double residual = 0.0;

    double P(double y) const {
        if (y < y1) return K1 * y;
        if (y <= y2) return p1 + kSecondSlopeOverSu * su * (y - y1);
        return residual;
    }
};

// The curve of one node with the width and multipliers it is scaled by.
struct VuggyNodeCurve {
    double pm = 0.0;
    double ym = 0.0;
    double b = 0.0;
    VuggyCurve curve;
};

VuggyNodeCurve VuggyCurveAt(run::RunContext& ctx, int layer, const PyNode& node) {
    const model::ProblemData& problem = ctx.problem;
    const model::SoilLayer& soil_layer = problem.Layers[static_cast<std::size_t>(layer - 1)];
    const bool uscs = problem.Options.Units == model::UnitSystem::USCS;
    const bool si = problem.Options.Units == model::UnitSystem::SI;
    VuggyNodeCurve c;
    c.pm = PMultiplierAt(ctx, node.x);
    c.ym = YMultiplierAt(ctx, node.x);
    c.b = PileWidthAt(ctx, node.x);
    const double b = c.b;
    const double qu = fn_c(ctx, node.xv);
    const double gamma = AverageUnitWeight(ctx, node.xv);
    if (!(qu > 0.0)) StopOnUndefinedCurve(ctx, layer, node.xv, qu);

    VuggyCurve& curve = c.curve;
    curve.su = 0.5 * qu;
    // The layer's top node is not range-checked.
    if (node.xv > soil_layer.XLayerTop) {
        if ((uscs && (curve.su < kSuLowUscs || curve.su > kSuHighUscs)) ||
            (si && (curve.su < kSuLowSi || curve.su > kSuHighSi))) {
            ctx.warnings.RecordWarning(-308);
        }
    }
    curve.y1 = kY1OverWidth * b;
    curve.K1 = kInitialSlopeOverSu * curve.su;
    curve.p1 = kP1Factor * b * curve.su;
    curve.y2 = curve.y1 + (b * curve.su - kP1Factor * b * curve.su) / (kSecondSlopeOverSu * curve.su);
    curve.residual = kResidualFactor * gamma * b * node.z0;
    return c;
}

PyCurveReport DescribeCurve(const run::RunContext& ctx, int layer, const PyNode& node, const VuggyNodeCurve& c) {
    const VuggyCurve& curve = c.curve;
    PyCurveReport report(56);
    const py_report::Units units = py_report::MakeUnits(ctx.labels);
    const std::string& length = units.length;
    const std::string& force_per_length = units.force_per_length;
    const std::string& stress = units.stress;
    report.Line("p-y Curve for Vuggy Limestone (Strong Rock) Criteria");
    report.Line("Soil Layer Number             = " + fmt::I(layer, 12));
    report.Line("Depth below pile head         = " + fmt::F(ctx.problem.GroundSurfaceDepth + node.z0, 12, 3) + " " +
                length);
    report.Line("Depth below Ground Surface    = " + fmt::F(node.z0, 12, 3) + " " + length);
    report.Line("Shaft Diameter                = " + fmt::F(c.b, 12, 3) + " " + length);
    report.Line("Uniaxial Compressive Strength = " + fmt::F(2.0 * curve.su, 12, 3) + " " + stress);
    report.Line("p-multiplier                  = " + fmt::F(c.pm, 12, 5));
    report.Line("y-multiplier                  = " + fmt::F(c.ym, 12, 5));
    report.Columns(1, "        y, " + length, 22, "p, " + force_per_length);
    report.Line("---------------   ---------------");
    for (int j = 1; j <= kReportPoints; ++j) {
        double yj = 0.0;
        if (j == kReportPoints) {
            yj = curve.y2;
        } else if (j >= 2) {
            yj = curve.y1 + (j - 2) * (curve.y2 - curve.y1) / kReportSteps;
        }
        report.Point(c.ym * yj, c.pm * curve.P(yj));
    }
    return report;
}

}  // namespace

void VuggyLimestoneSprings(run::RunContext& ctx, int layer, int first, int last) {
    for (int k = first; k <= last; ++k) {
        const PyNode node = PyNodeAt(ctx, k);
        const VuggyNodeCurve c = VuggyCurveAt(ctx, layer, node);
        // The deflection of the node itself, without soil movement.
        const double ystar = std::fabs(node.y) / c.ym;
        ctx.pile.Es(k) = ystar < kSmallDeflection ? c.curve.K1 / c.ym : c.pm * c.curve.P(ystar) / (ystar * c.ym);
    }
}

void VuggyLimestoneCurves(run::RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink) {
    for (const PyNode& depth : depths) {
        sink(depth, DescribeCurve(ctx, layer, depth, VuggyCurveAt(ctx, layer, depth)));
    }
}

}  // namespace trevasc::soil
