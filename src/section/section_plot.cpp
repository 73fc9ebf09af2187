#include "section/section_plot.hpp"

#include "report/plot_file.hpp"

namespace trevasc::section {

void WritePlotLine3(OutputChannel& plot, PlotCurveKind kind, int thrust_count) {
    WritePlotRecord(plot, plot::kLine3, {thrust_count, plot::LabelsOf(kind).line3});
}

void WritePlotLine4(OutputChannel& plot, PlotCurveKind kind, int points, double thrust, double capacity) {
    WritePlotRecord(plot, plot::kLine4, {points, thrust, capacity, plot::LabelsOf(kind).line4});
}

void WritePlotLine5(OutputChannel& plot, PlotCurveKind kind, double moment, double ei, double curvature, int section,
                    int thrust_index, int point) {
    WritePlotRecord(plot, plot::kLine5,
                    {moment, ei, curvature, plot::LabelsOf(kind).line5, section, thrust_index, point});
}

}  // namespace trevasc::section
