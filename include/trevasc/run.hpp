// The C++ entry of the engine: one analysis from four file paths, with no
// run-control file and no dependence on the current directory, or from an
// input text to three output texts with no file at all. Every function here
// is exported from libtrevasc.so.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "trevasc/trevasc.h"

namespace trevasc {

inline constexpr std::int32_t kInterfaceCode = 7926;
inline constexpr std::int32_t kWrongInterfaceCode = 99;
// An unexpected fault inside the engine (exhausted memory, a broken internal
// invariant) ends the run as Runtime Error 90.
inline constexpr std::int32_t kInternalFaultCode = 290;

// Version label printed in the report banner.
inline constexpr const char* kVersionLabel = "(6.0.25)";

struct RunPaths {
    std::string input;
    std::string report;
    std::string plot;
    std::string messages;
};

// Local date and time printed in the report header.
struct LocalTime {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};
using Clock = std::function<LocalTime()>;

// The machine's local clock.
TREVASC_EXPORT LocalTime SystemLocalTime();

struct RunOptions {
    Clock clock;  // empty: the machine's local clock
    // Read and echo the input with every check that can stop a run, then end
    // before the sections and the pile are analysed.
    bool check_only = false;
};

// Runs one analysis and returns its result code (see trevasc.h). Never throws.
TREVASC_EXPORT std::int32_t RunAnalysis(const RunPaths& paths, const RunOptions& options = {}) noexcept;

// Reads NAMES.DAT in `directory` and runs the analysis it names, as TRVRUN
// does in the current directory.
TREVASC_EXPORT std::int32_t RunFromNamesFile(const std::string& directory,
                                            const RunOptions& options = {}) noexcept;

// What an analysis run in memory wrote: the same texts, byte for byte, as the
// report, plot and run message files of the same input run from files, with
// the file names of the report's files block taken from `names` of RunText.
struct TextRunResult {
    std::int32_t code = 0;
    std::string report;
    std::string plot;
    std::string messages;
};

// The names the report's files block prints for a run from text.
TREVASC_EXPORT RunPaths DefaultTextRunNames();

// Runs one analysis of an input text (any of the three formats) in memory: no
// file is opened and the current directory is not used. Re-entrant: any
// number of threads may run at once. Never throws (a fault, exhausted memory
// included, ends the run as Runtime Error 90).
TREVASC_EXPORT TextRunResult RunText(std::string_view input, const RunOptions& options = {},
                                     const RunPaths& names = DefaultTextRunNames()) noexcept;

// A short description of a result code, for hosts that show it to a person.
TREVASC_EXPORT std::string ResultCodeMeaning(std::int32_t code);

}  // namespace trevasc
