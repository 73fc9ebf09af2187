#include "section/section_plot.hpp"

#include <stdexcept>
#include <string_view>

#include "report/plot_file.hpp"

namespace trevasc::section {

void WritePlotLine3(OutputChannel& plot, PlotCurveKind kind, int thrust_count) {
    const std::string_view label = plot::LabelsOf(kind).line3;
    if (label.empty()) throw std::logic_error("user-defined EI curves have no Line 3");
    WritePlotRecord(plot, plot::kLine3, {thrust_count, label});
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
