// Stopping a run on an error.
//
// The routine that finds a fault writes its own message, then calls
// Stop_With_Error, which writes the "ended prematurely" lines, records the
// error number and unwinds to the run sequence by throwing RunStop. Only the
// run sequence catches RunStop; it then writes the closing lines.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "run/run_context.hpp"

namespace trevasc::run {

struct RunStop {
    std::int32_t error_number;
};

// "INP00025" for input error 25 (125), "RUN00010" for runtime error 10 (210).
std::string MessageCode(std::int32_t error_number);

// Writes the stop lines to the report, sets ErrorNumber and unwinds.
[[noreturn]] void Stop_With_Error(RunContext& ctx, std::string_view code, std::int32_t number);
// The same with the message code derived from the number.
[[noreturn]] void Stop_With_Error(RunContext& ctx, std::int32_t number);
// The errors whose caller writes the whole message and that end without the
// "ended prematurely" lines (Computation Error 28, Runtime Error 29, Input
// Data Error 23): sets ErrorNumber and unwinds.
[[noreturn]] void StopOnQuietError(RunContext& ctx, std::int32_t number);

// Writes the same lines to the run message file and to the report.
void WriteToBoth(RunContext& ctx, std::initializer_list<std::string_view> lines);

}  // namespace trevasc::run
