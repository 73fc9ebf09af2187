// Free-format (list-directed) reading of input records, following the Fortran
// rules the input files were written for:
//   - values are separated by blanks, tabs or commas; a read statement starts
//     at a new record and continues over as many records as it needs; values
//     left on the last record it touched are ignored;
//   - "r*c" repeats a value r times, "r*" and an empty field between commas
//     are null values that leave the variable unchanged;
//   - a slash ends the read: the remaining items keep their values;
//   - integers are written without a decimal point; reals in any numeric form
//     (1, 1., .5, 1.5E3, 1.5D3, +7);
//   - a character value is quoted ('...' or "...") or a token without blanks,
//     commas or slashes, blank-padded or cut to the item's length;
//   - logicals are T, F, .TRUE., .FALSE. (any case, any word starting so).
// Not-a-number, infinite and out-of-range reals are rejected: an analysis
// cannot use them. The readers of the input file also reject magnitudes that
// no pile problem can have (PlausibleReal).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "run/input_file.hpp"

namespace trevasc::input {

// The record stream of the input file and its limits, as the readers name them.
using trevasc::run::InputFile;
using trevasc::run::kMaxLineLength;
using trevasc::run::kRecordLength;

// EndOfFile also stands for a file that could not be read to its end (see
// InputFile::ReadError); LineTooLong for a line that cannot be read whole.
enum class ReadFailure { None, EndOfFile, BadValue, LineTooLong, AbsurdMagnitude };

// Magnitudes a real input value may have, besides 0.
inline constexpr double kSmallestInputMagnitude = 1.0e-30;
inline constexpr double kLargestInputMagnitude = 1.0e30;

// One list-directed read statement. Construct it, take the items in order,
// then let it go out of scope (or call Finish) to skip the rest of the last
// record. After a failed item every later item fails too and leaves its
// variable unchanged. A statement that takes no item at all still uses up one
// record, as an empty Fortran read list does.
class ListDirectedRead {
public:
    explicit ListDirectedRead(InputFile& file);
    ~ListDirectedRead();
    ListDirectedRead(const ListDirectedRead&) = delete;
    ListDirectedRead& operator=(const ListDirectedRead&) = delete;

    bool Integer(std::int32_t& value);
    bool Real(double& value);
    // Real, and a value other than 0 whose magnitude lies outside 1E-30 to
    // 1E+30 (whatever the unit of the quantity) fails as AbsurdMagnitude,
    // also one that underflowed to 0 from a constant that is not 0: such
    // values overflow or underflow the computations that use them.
    bool PlausibleReal(double& value);
    bool Character(std::string& value, std::size_t length);
    bool Logical(bool& value);
    void Finish();

    bool ok() const { return failure_ == ReadFailure::None; }
    ReadFailure failure() const { return failure_; }
    // Line number and text of the record where the failure happened, and
    // what was expected there ("an integer", "a real number", ...). When the
    // file ended first, the line is the number of the last record plus one
    // and the text is empty.
    int failure_line() const { return failure_line_; }
    const std::string& failure_text() const { return failure_text_; }
    const std::string& expected() const { return expected_; }
    // The constant of the item that failed, as written.
    const std::string& failed_value() const { return value_; }

private:
    // What the next item gets from the input.
    enum class Step { Assign, Keep, Fail };

    bool ReadReal(double& value, bool check_magnitude);
    Step NextValue(const char* expected);
    Step NextRecord(const char* expected);
    Step SkipBlanks(const char* expected);
    bool ReadConstant();
    Step Fail(ReadFailure failure, const char* expected);

    InputFile& file_;
    ReadFailure failure_ = ReadFailure::None;
    int failure_line_ = 0;
    std::string failure_text_;
    std::string expected_;
    // parsing state of the current statement
    std::string record_;          // current record, whole
    std::size_t pos_ = 0;         // next unread character of record_
    bool have_record_ = false;    // the statement has taken its first record
    bool after_value_ = false;    // a value was read, its separator not yet
    bool ended_by_slash_ = false;
    int repeat_left_ = 0;         // values still to hand out from "r*c" / "r*"
    bool repeat_is_null_ = false;
    std::string value_;           // the constant for the current item
    bool value_quoted_ = false;
    bool finished_ = false;
};

}  // namespace trevasc::input
