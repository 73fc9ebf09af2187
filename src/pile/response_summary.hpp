// Summary of pile responses after the last load case.
#pragma once

#include "run/run_context.hpp"

namespace trevasc::pile {

// Summary of pile responses after the last case (and the LRFD table).
void WriteResponseSummary(run::RunContext& ctx);

}  // namespace trevasc::pile
