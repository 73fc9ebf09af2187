// Check of the load cases against the factored interaction diagrams of the
// sections, for runs that compute interaction diagrams.
#pragma once

#include "run/run_context.hpp"

namespace trevasc::pile {

// The check table after the summary of pile responses; warnings 410 (a case
// outside a diagram) and 411 (a section without a diagram).
void CheckLoadCasesAgainstInteraction(run::RunContext& ctx);
// End of the interaction output of a run without load cases (EI only):
// a note, warning 411 when due, and the plot records of the diagrams.
void FinishInteractionWithoutLoadCases(run::RunContext& ctx);

}  // namespace trevasc::pile
