// p-y curves printed at the depths the user asked for: every layer's
// criterion describes its curves at the output depths that lie in it.
#pragma once

#include "run/run_context.hpp"

namespace trevasc::soil {

// Writes the block of p-y curves at the output depths. A depth above the
// ground surface ends the run with Input Data Error 23.
void WritePyCurvesAtDepths(run::RunContext& ctx);

}  // namespace trevasc::soil
