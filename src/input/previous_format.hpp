// Readers of the two earlier input formats: the previous line-by-line format
// (tag "TREVAS5") and the older untagged one. Both fill ProblemData as the
// current-format readers do; the file layout and how it maps are described
// at the top of previous_format.cpp and in the README.
#pragma once

#include "run/run_context.hpp"

namespace trevasc::input {

// Called with the input positioned after the "TREVAS5" line.
void ReadPreviousFormat(run::RunContext& ctx);
// Called with the input rewound to its first line.
void ReadOldestFormat(run::RunContext& ctx);

}  // namespace trevasc::input
