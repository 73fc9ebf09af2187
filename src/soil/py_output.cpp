#include "soil/py_output.hpp"

#include "report/fortran_format.hpp"
#include "report/plot_file.hpp"
#include "report/report_helpers.hpp"
#include "run/error_stop.hpp"
#include "soil/criteria.hpp"
#include "soil/py_framework.hpp"

namespace trevasc::soil {

namespace fmt = report::fmt;

namespace {

// Input Data Error 23: an output depth above the ground surface. The
// message does not stop the run by itself; the run ends with input error 23.
[[noreturn]] void StopOnDepthAboveGround(run::RunContext& ctx, int j, double depth) {
    const model::ProblemData& problem = ctx.problem;
    const std::string length = ctx.labels.Length;
    for (report::OutputChannel* out : {&ctx.files.report, &ctx.files.messages}) {
        out->Line("**** Input Data Error No. 23 (NON-FATAL) ****");
        out->Blank();
        out->Line("p-y curves cannot be generated at depth number " + fmt::I0(j));
        out->Line("This location is " + fmt::F(depth, 9, 3) + " " + length + " below the pile head and ");
        out->Line("is above the ground surface for this problem.");
        out->Blank();
        out->Line("The ground surface is " + fmt::F(problem.GroundSurfaceDepth, 9, 3) + " " + length +
                  " below the top of the pile.");
        out->Blank();
    }
    report::WritePlotRecord(ctx.files.plot, plot::kLine7AboveGround, {depth, 0});
    run::StopOnQuietError(ctx, 123);
}

// Layer holding an output depth: the last layer whose top lies at or above
// it (a depth on an interface belongs to the layer below), provided the depth
// is not below that layer's bottom. 0 when no layer holds it.
int LayerOfDepth(const model::ProblemData& problem, double depth) {
    int holder = 0;
    for (int l = 1; l <= problem.i_Number_of_Layers(); ++l) {
        if (problem.Layers[static_cast<std::size_t>(l - 1)].XLayerTop <= depth) holder = l;
    }
    if (holder > 0 && depth > problem.Layers[static_cast<std::size_t>(holder - 1)].XLayerBottom) return 0;
    return holder;
}

}  // namespace

void WritePyCurvesAtDepths(run::RunContext& ctx) {
    const model::ProblemData& problem = ctx.problem;
    model::SoilState& soil = ctx.soil;
    report::OutputChannel& report = ctx.files.report;
    report.Line(report::kRule80);
    report.Line(std::string(20, ' ') + "p-y Curves Reported for Specified Depths");
    report.Line(report::kRule80);

    const auto& depths = problem.PyOutputDepths;
    const int n = static_cast<int>(depths.size());
    for (int j = 1; j <= n; ++j) {
        const double depth = depths[static_cast<std::size_t>(j - 1)];
        if (problem.GroundSurfaceDepth > depth) StopOnDepthAboveGround(ctx, j, depth);
    }

    // The output depths grouped by layer, each layer's in input order, and
    // numbered on through the layers.
    const int layers = problem.i_Number_of_Layers();
    std::vector<std::vector<PyNode>> by_layer(static_cast<std::size_t>(layers) + 1);
    int k = 0;
    for (int l = 1; l <= layers; ++l) {
        for (int j = 1; j <= n; ++j) {
            const double depth = depths[static_cast<std::size_t>(j - 1)];
            if (LayerOfDepth(problem, depth) != l) continue;
            by_layer[static_cast<std::size_t>(l)].push_back(OutputDepthNode(ctx, ++k, depth, j));
        }
    }

    soil.AtOutputDepths = true;
    for (int l = 1; l <= layers; ++l) {
        const auto li = static_cast<std::size_t>(l);
        soil.BelowRockCount = soil.BelowRockLayer[li] ? 1 : 0;
        if (by_layer[li].empty()) continue;
        WriteLayerCurves(ctx, l, by_layer[li]);
        report.Blank(2);
    }
    soil.AtOutputDepths = false;
}

}  // namespace trevasc::soil
