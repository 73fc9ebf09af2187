// Loess ("KS Loess").
//
// The p-y criterion for loess of Johnson, Parsons, Dapp and Brown (2006),
// soil characterization and p-y curve development for loess from lateral
// load tests on drilled shafts (Kansas Department of Transportation),
// driven by the cone tip resistance qc of a cone penetration test. The ultimate resistance per unit area is a fixed
// fraction of qc, reduced for repeated loading, and the curve is a single
// hyperbola-like expression whose initial slope is the ultimate resistance
// over a reference deflection:
//
//     pu0 = 0.409 qc
//     pu  = b pu0 / (1 + 0.24 ln N)            N cycles of loading, 1 to 10
//     Ei  = pu / yref,  yref = 0.117 in (0.0029718 m)
//     p   = Ei y / (1 + (y/yref) (1 + 0.1 e^(-y/yref)))
//
// p starts with slope Ei and tends to pu. Near the ground surface (axial
// depth x below 2b) qc is multiplied by x/(2b) + 0.5. The criterion is
// defined for 1 to 10 cycles; fewer than one cycle (a static run has none)
// is loading applied once, N = 1, for which the reduction vanishes. At zero
// deflection the secant modulus is its limit pm Ei/ym. In a layer of no
// thickness qc is the top value; a negative cone tip resistance is rejected.
//
// Units: pounds and inches or kN and metres (general units take the metric
// reference deflection).
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

constexpr double kMaxCycles = 10.100000381469727;         // 10.1: the criterion's range ends at 10 cycles
constexpr double kMinCycles = 1.0;
constexpr double kReferenceDeflectionInches = 0.11699999868869781;   // 0.117 in
constexpr double kReferenceDeflectionMetres = 0.0029718000441789627; // 0.0029718 m
constexpr double kUltimateFactor = 0.4090000092983246;    // pu0 = 0.409 qc
constexpr double kCycleFactor = 0.23999999463558197;      // 0.24 in 1 + 0.24 ln N
constexpr double kShapeFactor = 0.10000000149011612;      // 0.1 in 1 + 0.1 e^(-y/yref)
constexpr double kShallowWidths = 2.0;                    // qc adjusted above x = 2b
constexpr double kShallowOffset = 0.5;                    // adjustment x/(2b) + 0.5

constexpr std::array<double, kReportPoints> kReportMultiples = {0.0, 0.25, 0.5, 0.75, 1.0,  1.5,  2.0,  3.0, 4.0,
                                                                6.0, 8.0,  12.0, 16.0, 23.0, 30.0, 40.0, 50.0};

// Input Data Error 74 of this build: a soil parameter outside the range in
// which the criterion is defined.
constexpr std::int32_t kParameterOutOfRange = 174;

// Input Data Error 70 (report only).
[[noreturn]] void StopOnTooManyCycles(run::RunContext& ctx, int layer, double cycles) {
    report::OutputChannel& report = ctx.files.report;
    report.Blank(2);
    report.Line("**** Input Data Error No. 70 ****");
    report.Blank();
    report.Line("PROBLEM: Soil layer " + fmt::I0(layer) +
                " is a loess and the input value for the number of cycles of loading = " + fmt::F(cycles, 12, 1));
    report.Line("This value is greater than 10. The soil model for loess is valid only for 1 to 10 cycles of loading. ");
    report.Line("SOLUTION: Revise the input data so that the number of cycles of loading is in the range of 1 to 10.");
    report.Blank();
    // The message code of this error has always read INP00170.
    run::Stop_With_Error(ctx, "INP00170", 170);
}

// Input Data Error 74: a negative cone tip resistance, which would give the
// soil a negative stiffness.
[[noreturn]] void StopOnNegativeConeResistance(run::RunContext& ctx, int layer, double xv, double qc) {
    run::WriteToBoth(ctx, {"**** Input Data Error No. 74 ****", "",
                           "Problem:  The cone tip resistance of the loess of layer " + fmt::I0(layer) + " at depth " +
                               fmt::E(xv, 12, 4) + " is " + fmt::E(qc, 12, 4) + ".",
                           "          A cone tip resistance cannot be negative.", "",
                           "Solution: Correct the cone tip resistance at the top and bottom of the layer."});
    run::Stop_With_Error(ctx, "INP00074", kParameterOutOfRange);
}

struct LoessCurve {
    double Ei = 0.0;
    double yref = 0.0;
    double P(double y) const {
        const double t = y / yref;
        return Ei * y / (1.0 + t * (1.0 + kShapeFactor * std::exp(-t)));
    }
};

// What the curves of a layer share: the cycles of loading and the reference
// deflection.
struct LoessLayer {
    double N = 0.0;
    double cycle_divisor = 0.0;
    double yref = 0.0;
};

LoessLayer LoessLayerOf(run::RunContext& ctx, int layer) {
    const model::ProblemData& problem = ctx.problem;
    const double input_cycles = problem.Options.NumberOfCycles;
    if (std::fabs(input_cycles) > kMaxCycles) StopOnTooManyCycles(ctx, layer, input_cycles);
    LoessLayer l;
    l.N = input_cycles < kMinCycles ? kMinCycles : input_cycles;
    l.cycle_divisor = 1.0 + kCycleFactor * std::log(l.N);
    l.yref = problem.Options.Units == model::UnitSystem::USCS ? kReferenceDeflectionInches : kReferenceDeflectionMetres;
    return l;
}

// The curve of one node with the parameters it comes from.
struct LoessNodeCurve {
    double b = 0.0;
    double pm = 0.0;
    double ym = 0.0;
    double qc = 0.0;  // depth-adjusted near the surface
    bool shallow = false;
    double pu0 = 0.0;
    double pu = 0.0;
    LoessCurve curve;
};

LoessNodeCurve LoessCurveAt(run::RunContext& ctx, int layer, const LoessLayer& l, const PyNode& node) {
    const model::SoilLayer& soil_layer = ctx.problem.Layers[static_cast<std::size_t>(layer - 1)];
    LoessNodeCurve c;
    c.b = PileWidthAt(ctx, node.x);
    c.pm = PMultiplierAt(ctx, node.x);
    c.ym = YMultiplierAt(ctx, node.x);
    const double Dt = soil_layer.Top.Depth;
    const double Db = soil_layer.Bottom.Depth;
    const double Vt = soil_layer.Top.ConeTipResistance;
    const double Vb = soil_layer.Bottom.ConeTipResistance;
    c.qc = Db != Dt ? Vt + (node.xv - Dt) / (Db - Dt) * (Vb - Vt) : Vt;
    if (c.qc < 0.0) StopOnNegativeConeResistance(ctx, layer, node.xv, c.qc);
    c.shallow = node.x < kShallowWidths * c.b;
    if (c.shallow) c.qc *= node.x / (kShallowWidths * c.b) + kShallowOffset;
    c.pu0 = kUltimateFactor * c.qc;
    c.pu = c.b * c.pu0 / l.cycle_divisor;
    c.curve.yref = l.yref;
    c.curve.Ei = c.pu / l.yref;
    return c;
}

PyCurveReport DescribeCurve(const run::RunContext& ctx, int layer, const LoessLayer& l, const PyNode& node,
                            const LoessNodeCurve& c) {
    PyCurveReport report(56);
    const py_report::Units units = py_report::MakeUnits(ctx.labels);
    const std::string& length = units.length;
    const std::string& force_per_length = units.force_per_length;
    const std::string& stress = units.stress;
    auto labelled = [&](std::string label, std::string value) { report.Labelled(std::move(label), std::move(value)); };
    report.Opening("p-y Curve for Loess", layer, 10);
    labelled("Depth below pile head", fmt::F(ctx.problem.GroundSurfaceDepth + node.z0, 12, 3) + " " + length);
    labelled("Depth below Ground Surface", fmt::F(node.z0, 12, 3) + " " + length);
    labelled("Shaft Diameter", fmt::F(c.b, 12, 3) + " " + length);
    labelled(c.shallow ? "Depth Adj. Cone tip resistance" : "Cone tip resistance", fmt::F(c.qc, 12, 3) + " " + stress);
    labelled("Initial Modulus, Ei", fmt::F(c.curve.Ei, 12, 3) + " " + stress);
    labelled("p_u0", fmt::F(c.pu0, 12, 3) + " " + stress);
    labelled("p_u", fmt::F(c.pu, 12, 3) + " " + force_per_length);
    labelled("Number of Cycles of Loading", fmt::F(l.N, 12, 0) + " cycles");
    labelled("p-multiplier", fmt::F(c.pm, 12, 5));
    labelled("y-multiplier", fmt::F(c.ym, 12, 5));
    report.Blank();
    report.Columns(1, "        y, " + length, 22, "p, " + force_per_length);
    report.Line("---------------   ---------------");
    for (const double multiple : kReportMultiples) {
        const double yj = multiple * l.yref;
        report.Point(c.ym * yj, c.pm * c.curve.P(yj));
    }
    return report;
}

}  // namespace

void LoessSprings(run::RunContext& ctx, int layer, int first, int last) {
    const LoessLayer l = LoessLayerOf(ctx, layer);
    for (int k = first; k <= last; ++k) {
        const PyNode node = PyNodeAt(ctx, k);
        const LoessNodeCurve c = LoessCurveAt(ctx, layer, l, node);
        const double ystar = DeflectionOnCurve(node, c.ym);
        ctx.pile.Es(k) =
            ystar < kSmallDeflection ? c.pm * c.curve.Ei / c.ym : c.pm * (c.curve.P(ystar) / ystar) / c.ym;
    }
}

void LoessCurves(run::RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink) {
    const LoessLayer l = LoessLayerOf(ctx, layer);
    for (const PyNode& depth : depths) {
        sink(depth, DescribeCurve(ctx, layer, l, depth, LoessCurveAt(ctx, layer, l, depth)));
    }
}

}  // namespace trevasc::soil
