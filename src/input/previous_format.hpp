// Readers of the two earlier input formats: the previous line-by-line format
// (tag "TREVAS5") and the older untagged one.
#pragma once

#include "engine/run_context.hpp"

namespace trevasc::input {

void ReadPreviousFormat(RunContext& ctx);
void ReadOldestFormat(RunContext& ctx);

}  // namespace trevasc::input
