// Fixed-width fields written the way a Fortran runtime writes them.
//
// Every number that reaches the report, the plot file or the run message file
// goes through these functions, so the rules live in one place:
//   - a value that does not fit its field fills the field with asterisks;
//   - Fw.0 keeps its decimal point ("   12346.");
//   - F writes the leading 0 of a fraction when there is room for it;
//   - Ew.d writes "0." and d digits and a four-character exponent ("E+03"),
//     and drops the E for three-digit exponents ("0.1234+100");
//   - a negative value that rounds to zero keeps its minus sign;
//   - rounding is round-half-to-even on the exact binary value;
//   - digits are produced locale-independently.
// A width of 0 asks for the shortest field that holds the value (I0, F0.d, E0.d).
// A descriptor with no valid output (negative width, Ew.0, negative d or m)
// gives w asterisks, or nothing when the width itself is negative.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace trevasc::report::fmt {

std::string I(std::int64_t value, int width);               // Iw
// Iw appended to `out`, as out += I(value, width).
void AppendI(std::string& out, std::int64_t value, int width);
std::string I0(std::int64_t value);                         // I0
std::string Iwm(std::int64_t value, int width, int min_digits);  // Iw.m
std::string F(double value, int width, int decimals);       // Fw.d
std::string E(double value, int width, int decimals);       // Ew.d
// Ew.d appended to `out`, as out += E(value, width, decimals).
void AppendE(std::string& out, double value, int width, int decimals);
std::string X(int count);                                   // nX
// Aw: the leftmost w characters of the text when it is at least w long,
// otherwise w - len blanks followed by the text (right-justified), exactly as
// Fortran writes a character value with Aw. To write a CHARACTER*n variable
// whose value is held trimmed, pad it with blanks to length n first.
std::string A(std::string_view text, int width);
// A character variable of `length`: the text cut or blank-padded on the right.
// Write a character variable through this, then through A(..., length) when
// the field width differs from its length.
std::string PadRight(std::string_view text, int length);

// One list-directed output record ("write(unit,*) items"): the leading blank
// and the form and separation of each item as the runtime writes them.
class ListDirectedLine {
public:
    ListDirectedLine& Text(std::string_view text);
    ListDirectedLine& Real(double value);        // a double precision item
    ListDirectedLine& Integer(std::int64_t value);  // a default (32-bit) integer item
    ListDirectedLine& Logical(bool value);
    std::string str() const;

private:
    enum class Item { kNone, kText, kValue };
    // Separator rule of the runtime: one blank between items, except between
    // two consecutive character items, which are written back to back.
    void SeparateFrom(Item next);

    std::string line_ = " ";
    Item last_ = Item::kNone;
};

}  // namespace trevasc::report::fmt
