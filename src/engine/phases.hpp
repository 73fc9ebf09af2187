// The phases of one run, in the order the run sequence calls them. Each lives
// in its own subsystem; this header only names them.
#pragma once

#include "run/run_context.hpp"

namespace trevasc {

// Echo of the input data into the report, with its final checks.
void EchoInputData(RunContext& ctx);
// Section analysis of pile section k (1-based): its report block and curves.
void AnalyzeSection(RunContext& ctx, int k);
// Builds the node depths of the pile for the load cases.
void BuildNodeDepths(RunContext& ctx);
// Every load case: node set-up, nonlinear iteration, results.
void RunLoadCases(RunContext& ctx);
// Summary of pile responses after the last case (and the LRFD table).
void WriteResponseSummary(RunContext& ctx);
// Pile-head stiffness matrix.
void ComputePileHeadStiffness(RunContext& ctx);
// Number of load cases of the run: LRFD combinations or pile-head loads.
int NumberOfLoadCases(const RunContext& ctx);

}  // namespace trevasc
