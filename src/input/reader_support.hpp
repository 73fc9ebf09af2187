// What every block reader of the input file shares: reading records and
// list-directed data lines with a clear stop when a line cannot be read, and
// the message for a line that belongs to no block.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "input/list_directed.hpp"
#include "run/run_context.hpp"

namespace trevasc::input {

// Input Data Error 80: a data line that cannot be read as the values it must
// hold, or an input file that ends before its last block is complete.
inline constexpr std::int32_t kUnreadableInputError = 180;
// Input Data Error 81: an input file that cannot be opened or read.
inline constexpr std::int32_t kInputFileError = 181;

// Input Data Error 90: a real value whose magnitude no pile problem can have
// (other than 0 and outside 1E-30 to 1E+30).
inline constexpr std::int32_t kAbsurdMagnitudeError = 190;

// The message of Input Data Error 90 for the item `read` failed on (its line
// number, the line and the value), then the stop.
[[noreturn]] void StopOnAbsurdMagnitude(run::RunContext& ctx, const ListDirectedRead& read, std::string_view what);

// One list-directed read statement (one new input line and as many following
// lines as its values need). A value that cannot be read stops the run with
// Input Data Error 80, naming `what` and the line.
class DataLine {
public:
    DataLine(run::RunContext& ctx, std::string_view what);
    DataLine& Int(std::int32_t& value);
    DataLine& Real(double& value);
    DataLine& Text(std::string& value, std::size_t length);
    DataLine& Logical(bool& value);

private:
    [[noreturn]] void Fail();
    // Records the line of the value just read under `what`.
    void Remember();
    run::RunContext& ctx_;
    std::string what_;
    ListDirectedRead read_;
};

// Stops with Input Data Error 81 when the input file could not be read to its
// end (a read that met the end of the file may have met a read error).
void StopOnReadError(run::RunContext& ctx);
// After a failed read: stops with Input Data Error 80 when a line was too long
// to be read whole, or with 81 when the file could not be read; returns for
// the other failures, which each format words in its own way.
void StopOnLineNotTaken(run::RunContext& ctx, const ListDirectedRead& read, std::string_view what);

// Reads the next record (cut at 256 characters). At the end of the file the
// run stops with Input Data Error 80, naming `what`.
std::string ReadRecordOrStop(run::RunContext& ctx, std::string_view what);

// Keyword and option lines match only exactly, from column 1, case-sensitive,
// trailing blanks ignored.
bool MatchesKeyword(std::string_view record, std::string_view keyword);

// The unrecognised-line message (report and run message file), then a stop
// with Input Data Error 99.
[[noreturn]] void StopOnUnrecognizedLine(run::RunContext& ctx, std::string_view record);

std::string TrimRight(std::string_view text);

}  // namespace trevasc::input
