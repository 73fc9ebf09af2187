// Per-section driver of the section analysis.
#pragma once

#include "run/run_context.hpp"

namespace trevasc::section {

// Section analysis of pile section k (1-based): its report block and curves.
void AnalyzeSection(run::RunContext& ctx, int k);

}  // namespace trevasc::section
