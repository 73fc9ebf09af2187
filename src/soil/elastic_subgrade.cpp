// Elastic subgrade ("Elast SG").
//
// A linear Winkler spring: p = kes b y, with the subgrade modulus kes
// (force/length^3) varying linearly through the layer between its values at
// the top and bottom profile points (Winkler 1867; Terzaghi 1955 for the
// modulus of subgrade reaction of a laterally loaded pile). The secant
// modulus is independent of the deflection:
//
//     Es = pm kes b / ym,
//
// with the p- and y-multipliers pm and ym of group action. An elastic
// subgrade layer counts as rock-like for the layering correction of the
// layers below it. Units: those of the run (lb and in, kN and m, or general).
#include "report/fortran_format.hpp"
#include "report/report_helpers.hpp"
#include "run/run_context.hpp"
#include "soil/criteria.hpp"
#include "soil/criterion_report.hpp"
#include "soil/py_framework.hpp"

namespace trevasc::soil {

namespace fmt = report::fmt;

namespace {

constexpr double kReportStepPerWidth = 1.0 / 8.0;  // report deflections 0, b/8, ..., 2b

// The printed curve of an output depth: 17 points from 0 to 2b.
// The curve of one node: the subgrade modulus at its depth with the width
// and multipliers it is scaled by.
struct SubgradeNodeCurve {
    double pm = 0.0;
    double ym = 0.0;
    double b = 0.0;
    double kes = 0.0;
};

SubgradeNodeCurve SubgradeCurveAt(run::RunContext& ctx, int layer, const PyNode& node) {
    const model::SoilLayer& soil_layer = ctx.problem.Layers[static_cast<std::size_t>(layer - 1)];
    const double Dt = soil_layer.Top.Depth;
    const double Db = soil_layer.Bottom.Depth;
    const double Vt = soil_layer.Top.ElasticSubgradeModulus;
    const double Vb = soil_layer.Bottom.ElasticSubgradeModulus;
    SubgradeNodeCurve c;
    c.pm = PMultiplierAt(ctx, node.x);
    c.ym = YMultiplierAt(ctx, node.x);
    c.b = PileWidthAt(ctx, node.x);
    // A layer of no thickness has one modulus, its top value.
    c.kes = Db != Dt ? Vt + (node.xv - Dt) * (Vb - Vt) / (Db - Dt) : Vt;
    return c;
}

// The printed curve of an output depth: 17 points from 0 to 2b.
PyCurveReport DescribeCurve(const run::RunContext& ctx, int layer, const PyNode& node, const SubgradeNodeCurve& c) {
    const model::UnitLabels& u = ctx.labels;
    const std::string length = report::TrimRight(u.Length);
    const std::string force_per_length = report::TrimRight(u.Force3) + "/" + length;
    const std::string force_per_length3 = force_per_length + "**3";
    PyCurveReport report(56);
    report.Opening("p-y Curve for Elastic Subgrade", layer, 10);
    report.Labelled("Depth below pile head", fmt::F(ctx.problem.GroundSurfaceDepth + node.z0, 12, 3) + " " + length);
    report.Labelled("Depth below Ground Surface", fmt::F(node.z0, 12, 3) + " " + length);
    report.Labelled("Shaft Diameter", fmt::F(c.b, 12, 3) + " " + length);
    report.Labelled("Elastic Subgrade Modulus", fmt::F(c.kes, 12, 3) + " " + force_per_length3);
    report.Labelled("p-multiplier", fmt::F(c.pm, 12, 5));
    report.Labelled("y-multiplier", fmt::F(c.ym, 12, 5));
    report.Blank();
    report.Columns(1, "        y, " + length, 22, "p, " + force_per_length);
    report.Line("---------------   ---------------");
    for (int j = 1; j <= kReportPoints; ++j) {
        const double yj = (j - 1) * c.b * kReportStepPerWidth;
        report.Point(c.ym * yj, c.pm * c.kes * c.b * yj);
    }
    return report;
}

}  // namespace

void ElasticSubgradeSprings(run::RunContext& ctx, int layer, int first, int last) {
    for (int k = first; k <= last; ++k) {
        const PyNode node = PyNodeAt(ctx, k);
        const SubgradeNodeCurve c = SubgradeCurveAt(ctx, layer, node);
        StoreSoilModulus(ctx, node, c.pm * c.kes * c.b / c.ym);
    }
}

void ElasticSubgradeCurves(run::RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink) {
    for (const PyNode& depth : depths) {
        sink(depth, DescribeCurve(ctx, layer, depth, SubgradeCurveAt(ctx, layer, depth)));
    }
}

}  // namespace trevasc::soil
