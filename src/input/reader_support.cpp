#include "input/reader_support.hpp"

#include <algorithm>
#include <system_error>

#include "report/fortran_format.hpp"
#include "run/error_stop.hpp"

namespace trevasc::input {

namespace fmt = report::fmt;
using run::WriteToBoth;
using run::Stop_With_Error;

std::string TrimRight(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0 && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
    return std::string(text.substr(0, end));
}

namespace {

// Input Data Error 80: the file ended inside a block, or a line could not be
// read as the values the block expects.
[[noreturn]] void StopOnUnreadableInput(run::RunContext& ctx, bool end_of_file, int line_number,
                                        std::string_view line_text, std::string_view expected,
                                        std::string_view what) {
    std::string problem;
    if (end_of_file) {
        problem = "The input file ended before the data for " + std::string(what) + " was complete.";
    } else {
        problem = "Line " + fmt::I0(line_number) + " of the input file could not be read as " + std::string(expected) +
                  " for " + std::string(what) + ":";
    }
    std::string shown = "    " + TrimRight(line_text);
    const std::string hint = end_of_file ? "Complete the input file; it must close with the END keyword."
                                         : "Correct the line so that it holds the values this block requires.";
    if (end_of_file) {
        WriteToBoth(ctx, {"", "**** Input Data Error No. 80 ****", "", problem, hint, ""});
    } else {
        WriteToBoth(ctx, {"", "**** Input Data Error No. 80 ****", "", problem, shown, hint, ""});
    }
    Stop_With_Error(ctx, kUnreadableInputError);
}

}  // namespace

void StopOnReadError(run::RunContext& ctx) {
    const int error = ctx.files.input.ReadError();
    if (error == 0) return;
    WriteToBoth(ctx, {"", "**** Input Data Error No. 81 ****", "",
                      "The input data file " + ctx.files.names.input + " could not be read to its end: " +
                          std::generic_category().message(error) + ".",
                      "Check that the file exists and can be read.  No analysis performed.", ""});
    Stop_With_Error(ctx, kInputFileError);
}

void StopOnLineNotTaken(run::RunContext& ctx, const ListDirectedRead& read, std::string_view what) {
    if (read.failure() == ReadFailure::EndOfFile) StopOnReadError(ctx);
    if (read.failure() != ReadFailure::LineTooLong) return;
    const std::string& text = read.failure_text();
    std::string shown = "    " + TrimRight(text.substr(0, std::min(text.size(), kRecordLength)));
    if (text.size() > kRecordLength) shown += " ...";
    WriteToBoth(ctx, {"", "**** Input Data Error No. 80 ****", "",
                      "Line " + fmt::I0(read.failure_line()) + " of the input file is longer than " +
                          fmt::I0(static_cast<int>(kMaxLineLength)) + " characters and cannot be read whole for " +
                          std::string(what) + ":",
                      shown,
                      "Shorten the line; the values of one read may continue on the lines that follow it.", ""});
    Stop_With_Error(ctx, kUnreadableInputError);
}

void StopOnAbsurdMagnitude(run::RunContext& ctx, const ListDirectedRead& read, std::string_view what) {
    WriteToBoth(ctx, {"", "**** Input Data Error No. 90 ****", "",
                      "Line " + fmt::I0(read.failure_line()) + " of the input file holds the value " +
                          read.failed_value() + " for " + std::string(what) + ", a magnitude no pile problem can have:",
                      "    " + TrimRight(read.failure_text()),
                      "Enter 0 or a value between 1E-30 and 1E+30 in magnitude, in the units of the quantity.", ""});
    Stop_With_Error(ctx, kAbsurdMagnitudeError);
}

DataLine::DataLine(run::RunContext& ctx, std::string_view what) : ctx_(ctx), what_(what), read_(ctx.files.input) {}

void DataLine::Remember() {
    const int line = ctx_.files.input.LineNumber();
    auto found = ctx_.input_lines.find(what_);
    if (found == ctx_.input_lines.end()) {
        ctx_.input_lines.emplace(what_, line);
    } else {
        found->second = line;
    }
}

void DataLine::Fail() {
    if (read_.failure() == ReadFailure::AbsurdMagnitude) StopOnAbsurdMagnitude(ctx_, read_, what_);
    StopOnLineNotTaken(ctx_, read_, what_);
    StopOnUnreadableInput(ctx_, read_.failure() == ReadFailure::EndOfFile, read_.failure_line(), read_.failure_text(),
                          read_.expected(), what_);
}

DataLine& DataLine::Int(std::int32_t& value) {
    if (!read_.Integer(value)) Fail();
    Remember();
    return *this;
}

DataLine& DataLine::Real(double& value) {
    if (!read_.PlausibleReal(value)) Fail();
    Remember();
    return *this;
}

DataLine& DataLine::Text(std::string& value, std::size_t length) {
    if (!read_.Character(value, length)) Fail();
    Remember();
    return *this;
}

DataLine& DataLine::Logical(bool& value) {
    if (!read_.Logical(value)) Fail();
    Remember();
    return *this;
}

std::string ReadRecordOrStop(run::RunContext& ctx, std::string_view what) {
    std::string record;
    if (!ctx.files.input.ReadRecord(record)) {
        StopOnReadError(ctx);
        StopOnUnreadableInput(ctx, true, 0, "", "", what);
    }
    return record;
}

bool MatchesKeyword(std::string_view record, std::string_view keyword) { return TrimRight(record) == keyword; }

void StopOnUnrecognizedLine(run::RunContext& ctx, std::string_view record) {
    const std::string line = fmt::PadRight(record, static_cast<int>(kRecordLength));
    WriteToBoth(ctx, {"", "", "***** INPUT ERROR *****", "", "The following line is unrecognized or is out-of-order", "",
                      line, "", ""});
    Stop_With_Error(ctx, "INP00099", 199);
}

}  // namespace trevasc::input
