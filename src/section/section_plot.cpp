#include "section/section_plot.hpp"

#include <stdexcept>
#include <string_view>

#include "report/plot_file.hpp"

namespace trevasc::section {

void WritePlotLine3(report::OutputChannel& plot, PlotCurveKind kind, int thrust_count) {
    const std::string_view label = plot::LabelsOf(kind).line3;
    if (label.empty()) throw std::logic_error("user-defined EI curves have no Line 3");
    report::WritePlotRecord(plot, plot::kLine3, {thrust_count, label});
}

void WritePlotLine4(report::OutputChannel& plot, PlotCurveKind kind, int points, double thrust, double capacity) {
    report::WritePlotRecord(plot, plot::kLine4, {points, thrust, capacity, plot::LabelsOf(kind).line4});
}

void WritePlotLine5(report::OutputChannel& plot, PlotCurveKind kind, double moment, double ei, double curvature,
                    int section, int thrust_index, int point) {
    report::WritePlotRecord(plot, plot::kLine5,
                            {moment, ei, curvature, plot::LabelsOf(kind).line5, section, thrust_index, point});
}

}  // namespace trevasc::section
