#include "engine/phases.hpp"
#include "input/reader_support.hpp"

namespace trevasc {

int NumberOfLoadCases(const RunContext& ctx) {
    const ProblemData& problem = ctx.problem;
    return static_cast<int>(problem.Options.UseLrfd ? problem.LrfdCombinations.size() : problem.PileHeadLoads.size());
}

void BuildNodeDepths(RunContext& /*ctx*/) {}

void RunLoadCases(RunContext& ctx) {
    if (NumberOfLoadCases(ctx) > 0) input::StopOnUnsupported(ctx, "load cases (lateral analysis)");
}

void WriteResponseSummary(RunContext& ctx) {
    if (NumberOfLoadCases(ctx) > 0) input::StopOnUnsupported(ctx, "the summary of pile responses");
}

void ComputePileHeadStiffness(RunContext& ctx) {
    input::StopOnUnsupported(ctx, "the pile-head stiffness matrix");
}

}  // namespace trevasc
