// Plot-file records of the section analysis: Line 3 (number of thrust
// levels), Line 4 (one per thrust level: points, thrust, nominal moment
// capacity) and Line 5 (one per curve point: moment, EI, curvature), with the
// label variants of the record table by the source of the curves.
#pragma once

#include "report/output_channel.hpp"
#include "trevasc/plot_records.hpp"

namespace trevasc::section {

// Label variants of Lines 3 to 5 by the source of the curves (user-defined
// EI writes no Line 3).
using PlotCurveKind = plot::SectionCurveSource;

void WritePlotLine3(report::OutputChannel& plot, PlotCurveKind kind, int thrust_count);
void WritePlotLine4(report::OutputChannel& plot, PlotCurveKind kind, int points, double thrust, double capacity);
void WritePlotLine5(report::OutputChannel& plot, PlotCurveKind kind, double moment, double ei, double curvature,
                    int section, int thrust_index, int point);

}  // namespace trevasc::section
