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

namespace trevasc {
namespace {

constexpr double kReportStepPerWidth = 1.0 / 8.0;  // report deflections 0, b/8, ..., 2b

void Labelled(OutputChannel& report, std::string_view label, const std::string& value) {
    py_report::Labelled(report, label, 56, value);
}

}  // namespace

void ElasticSubgradeCriterion(RunContext& ctx, int layer, int first, int last) {
    const SoilLayer& soil_layer = ctx.problem.Layers[static_cast<std::size_t>(layer - 1)];
    const double Dt = soil_layer.Top.Depth;
    const double Db = soil_layer.Bottom.Depth;
    const double Vt = soil_layer.Top.ElasticSubgradeModulus;
    const double Vb = soil_layer.Bottom.ElasticSubgradeModulus;

    for (int k = first; k <= last; ++k) {
        const PyNode node = PyNodeAt(ctx, k);
        const double pm = PMultiplierAt(ctx, node.x);
        const double ym = YMultiplierAt(ctx, node.x);
        const double b = PileWidthAt(ctx, node.x);
        // A layer of no thickness has one modulus, its top value.
        const double kes = Db != Dt ? Vt + (node.xv - Dt) * (Vb - Vt) / (Db - Dt) : Vt;

        if (!ctx.soil.PyReportMode) {
            StoreSoilModulus(ctx, node, pm * kes * b / ym);
            continue;
        }

        OutputChannel& report = ctx.files.report;
        OutputChannel& plot = ctx.files.plot;
        const UnitLabels& u = ctx.labels;
        const std::string length = TrimRight(u.Length);
        const std::string force_per_length = TrimRight(u.Force3) + "/" + length;
        const std::string force_per_length3 = force_per_length + "**3";
        report.Blank(2);
        report.Line("p-y Curve for Elastic Subgrade");
        report.Blank();
        Labelled(report, "Soil Layer Number", fmt::I(layer, 10));
        Labelled(report, "Depth below pile head", fmt::F(ctx.problem.GroundSurfaceDepth + node.z0, 12, 3) + " " + length);
        Labelled(report, "Depth below Ground Surface", fmt::F(node.z0, 12, 3) + " " + length);
        Labelled(report, "Shaft Diameter", fmt::F(b, 12, 3) + " " + length);
        Labelled(report, "Elastic Subgrade Modulus", fmt::F(kes, 12, 3) + " " + force_per_length3);
        Labelled(report, "p-multiplier", fmt::F(pm, 12, 5));
        Labelled(report, "y-multiplier", fmt::F(ym, 12, 5));
        report.Blank();
        report.Write("        y, " + length);
        report.Tab(22);
        report.Line("p, " + force_per_length);
        report.Line("---------------   ---------------");
        plot.Line(fmt::E(node.x, 15, 7) + fmt::I(kReportPoints, 5) + fmt::X(60) +
                  "Line 7:  p-y curve depth in elastic subgrade soil, no. p-y points on curve no. " +
                  fmt::I0(node.curve_number));
        for (int j = 1; j <= kReportPoints; ++j) {
            const double yj = (j - 1) * b * kReportStepPerWidth;
            const double y_out = ym * yj;
            const double p_out = pm * kes * b * yj;
            report.Write("   ");
            WriteAdaptiveNumber(report, y_out, 12);
            report.Write("     ");
            WriteAdaptiveNumber(report, p_out, 12);
            report.EndLine();
            plot.Line(fmt::E(y_out, 15, 7) + fmt::E(p_out, 15, 7) + fmt::X(50) + "Line 8(" + fmt::I0(j) +
                      "): y, p, for elastic subgrade");
        }
    }
}

}  // namespace trevasc
