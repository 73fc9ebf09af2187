// Interaction diagrams and load-case checks of a run (plot-file Lines 15 to
// 17) in the JSON results and as charts.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "charts.hpp"
#include "plot_file.hpp"

namespace trevasc::host {

// "ACI 318-19", "AASHTO LRFD 9th edition", "EN 1992-1-1:2004" for the design
// code number of a diagram record (1 AASHTO, 2 ACI 318, 3 EN 1992).
std::string DesignCodeName(int code);

// Adds "interaction" to every section of document["sections"] (null for a
// section without a diagram) and the document's "interaction_checks", in the
// consistent units of the document. Leaves the document as it is when the
// run computed no interaction diagrams.
void AddInteractionResults(nlohmann::ordered_json& document, const PlotResults& results);

// One chart per diagram, "interaction-section-N": nominal and factored
// curves, the balanced point, and the load cases that pass (green) and fail
// (vermilion), in the units engineers read (kips and kip-ft, kN and kN-m).
void AddInteractionCharts(const PlotResults& results, std::vector<Chart>& charts);

}  // namespace trevasc::host
