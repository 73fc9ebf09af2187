// Checking an input file without analysing it: the engine reads the file and
// echoes it, with every check those two steps make, into scratch outputs that
// are removed afterwards, and stops before the analysis. Exported from
// libtrevasc.so.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "trevasc/trevasc.h"

namespace trevasc {

enum class FindingKind { kError, kWarning, kNote };

// One finding about the input. `line` is the 1-based line of the value it
// concerns, or 0 when no single line holds it.
struct InputFinding {
    FindingKind kind = FindingKind::kError;
    int line = 0;
    std::string text;
};

struct InputCheck {
    // 0 when reading and echoing ended cleanly, otherwise the result code a
    // run of the file would end with (an input error is 101-199).
    std::int32_t code = 0;
    // The error that stopped the reading (at most one: a run stops at its
    // first error), the notes that explain it, and warnings about values that
    // are valid but look mistyped.
    std::vector<InputFinding> findings;
    // The first line of the file is neither version tag, so the file was read
    // in the oldest format.
    bool oldest_format = false;
    // How the engine understood the file: a short account, one line each.
    std::vector<std::string> summary;
};

// Reads and echoes `input_path` as a run would, without analysing. Never throws.
TREVASC_EXPORT InputCheck CheckInput(const std::string& input_path) noexcept;

}  // namespace trevasc
