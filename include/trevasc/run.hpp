// The C++ entry of the engine: one analysis from four file paths, with no
// run-control file and no dependence on the current directory.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

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
LocalTime SystemLocalTime();

struct RunOptions {
    Clock clock;  // empty: the machine's local clock
};

// Runs one analysis and returns its result code (see trevasc.h). Never throws.
std::int32_t RunAnalysis(const RunPaths& paths, const RunOptions& options = {}) noexcept;

// Reads NAMES.DAT in `directory` and runs the analysis it names, as TRVRUN
// does in the current directory.
std::int32_t RunFromNamesFile(const std::string& directory, const RunOptions& options = {}) noexcept;

// A short description of a result code, for hosts that show it to a person.
std::string ResultCodeMeaning(std::int32_t code);

}  // namespace trevasc
