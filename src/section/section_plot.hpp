// Plot-file records of the section analysis: Line 3 (number of thrust
// levels), Line 4 (one per thrust level: points, thrust, nominal moment
// capacity) and Line 5 (one per curve point: moment, EI, curvature).
#pragma once

#include <string_view>

#include "report/output_channel.hpp"

namespace trevasc::section {

// Label variants of Lines 3 to 5 by the source of the curves.
enum class PlotCurveKind {
    EIOnly,           // moment-curvature analysis, AnalysisMode 2
    Lrfd,             // moment-curvature analysis, AnalysisMode 3 with LRFD
    PileHeadLoads,    // moment-curvature analysis, AnalysisMode 3
    Elastic,          // SectionType 11
    ElasticPlastic,   // SectionType 12
    UserDefined,      // SectionType 13 (no Line 3)
};

void WritePlotLine3(OutputChannel& plot, PlotCurveKind kind, int thrust_count);
void WritePlotLine4(OutputChannel& plot, PlotCurveKind kind, int points, double thrust, double capacity);
void WritePlotLine5(OutputChannel& plot, PlotCurveKind kind, double moment, double ei, double curvature, int section,
                    int thrust_index, int point);

}  // namespace trevasc::section
