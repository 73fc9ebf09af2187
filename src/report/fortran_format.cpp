#include "report/fortran_format.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <utility>

namespace trevasc::fmt {
namespace {

// List-directed output of a double precision item is the runtime's
// 1PG25.17E3: 17 significant digits, so every double survives a round trip.
// In fixed form the number takes the first 20 columns and the 5 columns of
// the unused exponent are left blank.
constexpr int kListRealWidth = 25;
constexpr int kListRealDigits = 17;
constexpr int kListRealExponentBlanks = 5;
// A default integer needs 11 columns for its widest value, -2147483648.
constexpr int kListIntegerWidth = 11;

std::string Stars(int width) {
    return std::string(static_cast<std::size_t>(width > 0 ? width : 0), '*');
}

std::string Blanks(int count) {
    return std::string(static_cast<std::size_t>(count > 0 ? count : 0), ' ');
}

// Right-justifies text in a field of the given width, or fills the field with
// asterisks when the text is longer; width 0 leaves the text as it is.
std::string Justify(std::string text, int width) {
    if (width == 0) return text;
    const auto w = static_cast<std::size_t>(width);
    if (text.size() > w) return Stars(width);
    text.insert(0, w - text.size(), ' ');
    return text;
}

// NaN and infinities in a real field, right-justified: "NaN", "Infinity" when
// there is room for the word and "Inf" otherwise. A negative infinity needs a
// column for its sign; a field narrower than three columns takes asterisks.
std::string NonFinite(double value, int width) {
    if (width > 0 && width < 3) return Stars(width);
    std::string text;
    if (std::isnan(value)) {
        text = "NaN";
    } else if (std::signbit(value)) {
        if (width == 3) return Stars(width);
        text = width > 8 ? "-Infinity" : "-Inf";
    } else {
        text = width >= 8 ? "Infinity" : "Inf";
    }
    return Justify(std::move(text), width);
}

// Scratch space for building one field. Fields of every ordinary width fit
// on the stack; only absurd widths or digit counts take a heap buffer, so a
// field costs at most the one allocation of the string it returns.
constexpr std::size_t kStackScratch = 512;

template <class Build>
std::string WithScratch(std::size_t size, Build&& build) {
    if (size <= kStackScratch) {
        char buffer[kStackScratch];
        return build(buffer);
    }
    std::string buffer(size, '\0');
    return build(buffer.data());
}

// A positive value rounded to `digits` significant digits: the digits without
// a decimal point and the power of ten of the first one (value = d.ddd * 10^p).
struct Significand {
    std::string digits;
    int power = 0;
};

// Significant digits up to which a field is rounded from the shortest
// decimal form of its value (see RoundShortestDigits).
constexpr int kShortestRoundingDigits = 14;

// Rounds `magnitude` to `digits` significant digits from its shortest
// round-trip decimal S instead of from its exact binary value v. The two
// roundings agree unless S is itself a rounding midpoint M (a digit 5 with
// nothing after it), which is then left to the exact path: were a midpoint
// M strictly between v and S, M would round to v as S does, so S, being the
// shortest such decimal, would have at most d + 1 <= 15 digits like M; but
// the values that round to a normal double span one unit in the last place,
// less than the spacing of 15-digit decimals, and cannot hold two of them.
// Subnormal values, with fewer bits, are left to the exact path too.
// Writes the digits at `out` and their power of ten at `power`; false when
// the exact path must decide.
bool RoundShortestDigits(double magnitude, int digits, char* out, int& power) {
    if (digits > kShortestRoundingDigits || !(magnitude >= std::numeric_limits<double>::min())) return false;
    // "d.ddde+xx", at most 17 digits and a three-digit exponent.
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific);
    char shortest[24];
    int count = 0;
    const char* c = text;
    for (; *c != 'e'; ++c) {
        if (*c != '.') shortest[count++] = *c;
    }
    ++c;
    const bool negative = *c == '-';
    ++c;
    std::from_chars(c, result.ptr, power);
    if (negative) power = -power;

    const auto kept = static_cast<std::size_t>(digits);
    if (count <= digits) {
        std::copy(shortest, shortest + count, out);
        std::fill(out + count, out + digits, '0');
        return true;
    }
    const char first_dropped = shortest[digits];
    const bool more = std::any_of(shortest + digits + 1, shortest + count, [](char d) { return d != '0'; });
    if (first_dropped == '5' && !more) return false;
    std::copy(shortest, shortest + kept, out);
    if (first_dropped < '5') return true;
    // Round up, carrying through nines.
    int i = digits - 1;
    while (i >= 0 && out[i] == '9') out[i--] = '0';
    if (i >= 0) {
        ++out[i];
    } else {
        out[0] = '1';
        ++power;
    }
    return true;
}

// Writes the significant digits of `magnitude` rounded to `digits` places
// (no decimal point) at `out` and returns the power of ten of the first one.
// `scratch` must hold digits + 16 characters. The digits are those of the
// exact binary value rounded half to even, as std::to_chars rounds them.
int WriteScientificDigits(double magnitude, int digits, char* scratch, char* out) {
    int shortest_power = 0;
    if (RoundShortestDigits(magnitude, digits, out, shortest_power)) return shortest_power;
    const auto result = std::to_chars(scratch, scratch + digits + 16, magnitude, std::chars_format::scientific,
                                      digits - 1);
    const char* c = scratch;
    for (; *c != 'e'; ++c) {
        if (*c != '.') *out++ = *c;
    }
    ++c;
    const bool negative = *c == '-';
    ++c;  // to_chars always writes the exponent's sign
    int power = 0;
    std::from_chars(c, result.ptr, power);
    return negative ? -power : power;
}

Significand ScientificDigits(double magnitude, int digits) {
    Significand out;
    out.digits.resize(static_cast<std::size_t>(digits));
    char scratch[kListRealDigits + 16];
    out.power = WriteScientificDigits(magnitude, digits, scratch, out.digits.data());
    return out;
}

// Assembles a real field from its sign, its integer digits (empty when the
// value is below one) and the rest starting at the decimal point. The leading
// zero of a fraction is optional in Fortran: it is written only when the field
// has a column to spare. A field with no digit at all ("." or "-.") cannot
// show a value and takes asterisks.
std::string RealField(bool negative, std::string_view integer_digits, std::string_view rest,
                      int width) {
    const std::size_t sign = negative ? 1 : 0;
    const bool fraction_only = integer_digits.empty();
    const bool room_for_zero = width == 0 || static_cast<std::size_t>(width) > sign + rest.size();
    if (fraction_only && !room_for_zero && rest.size() < 2) return Stars(width);
    const std::string_view before_point = fraction_only && room_for_zero ? std::string_view("0") : integer_digits;
    const std::size_t length = sign + before_point.size() + rest.size();
    if (width > 0 && length > static_cast<std::size_t>(width)) return Stars(width);
    // Right-justified in the field; width 0 leaves the text as it is.
    std::string field(width > 0 ? static_cast<std::size_t>(width) : length, ' ');
    char* p = field.data() + (field.size() - length);
    if (negative) *p++ = '-';
    p = std::copy(before_point.begin(), before_point.end(), p);
    std::copy(rest.begin(), rest.end(), p);
    return field;
}

// Writes the sign of an exponent and its magnitude with at least
// `min_digits` digits at `out`; returns the end of what was written.
char* WriteExponentDigits(char* out, int exponent, int min_digits) {
    *out++ = exponent < 0 ? '-' : '+';
    char digits[8];
    const auto result = std::to_chars(digits, digits + sizeof digits, exponent < 0 ? -exponent : exponent);
    const auto count = static_cast<int>(result.ptr - digits);
    for (int i = count; i < min_digits; ++i) *out++ = '0';
    return std::copy(digits, result.ptr, out);
}

// Appends the sign of an exponent and its magnitude with at least
// `min_digits` digits.
void AppendExponentDigits(std::string& out, int exponent, int min_digits) {
    char digits[16];
    out.append(digits, WriteExponentDigits(digits, exponent, min_digits));
}

std::string IntegerDigits(std::int64_t value) {
    // The magnitude as unsigned, so that the most negative value has one too.
    const std::uint64_t magnitude =
        value < 0 ? ~static_cast<std::uint64_t>(value) + 1 : static_cast<std::uint64_t>(value);
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, magnitude);
    return std::string(digits, result.ptr);
}

// The list-directed form of a double precision value (see kListRealWidth).
std::string ListReal(double value) {
    if (!std::isfinite(value)) return NonFinite(value, kListRealWidth);
    const bool negative = std::signbit(value);
    const double magnitude = std::fabs(value);
    constexpr int kFixedWidth = kListRealWidth - kListRealExponentBlanks;

    if (magnitude == 0.0) {
        // Zero is written in fixed form with one digit before the point.
        std::string text = negative ? "-0." : "0.";
        text.append(kListRealDigits - 1, '0');
        return Justify(std::move(text), kFixedWidth) + Blanks(kListRealExponentBlanks);
    }

    const Significand s = ScientificDigits(magnitude, kListRealDigits);
    // Fixed form for 0.1 <= |value| < 10**17 after rounding to 17 digits: the
    // digits are the same, only the point moves.
    const int before_point = s.power + 1;
    if (before_point >= 0 && before_point <= kListRealDigits) {
        const auto split = static_cast<std::size_t>(before_point);
        std::string text = negative ? "-" : "";
        text += before_point == 0 ? "0" : s.digits.substr(0, split);
        text += '.';
        text += s.digits.substr(split);
        return Justify(std::move(text), kFixedWidth) + Blanks(kListRealExponentBlanks);
    }

    // Otherwise 1PE25.16E3: one digit before the point, a three-digit exponent.
    std::string text = negative ? "-" : "";
    text += s.digits.front();
    text += '.';
    text += s.digits.substr(1);
    text += 'E';
    AppendExponentDigits(text, s.power, 3);
    return Justify(std::move(text), kListRealWidth);
}

}  // namespace

std::string Iwm(std::int64_t value, int width, int min_digits) {
    if (width < 0) return {};
    if (min_digits < 0) return Stars(width);
    std::string digits = IntegerDigits(value);
    if (value == 0 && min_digits == 0) {
        // Iw.0 writes a zero as blanks only; I0.0 as one blank.
        return Blanks(width == 0 ? 1 : width);
    }
    if (width > 0 && min_digits > width) return Stars(width);
    if (static_cast<int>(digits.size()) < min_digits) {
        digits.insert(0, static_cast<std::size_t>(min_digits) - digits.size(), '0');
    }
    if (value < 0) digits.insert(0, 1, '-');
    return Justify(std::move(digits), width);
}

std::string I(std::int64_t value, int width) { return Iwm(value, width, 1); }

std::string I0(std::int64_t value) { return Iwm(value, 0, 1); }

std::string F(double value, int width, int decimals) {
    if (width < 0) return {};
    if (decimals < 0) return Stars(width);
    if (!std::isfinite(value)) return NonFinite(value, width);
    // The point and the decimals alone must fit before any digit is produced.
    if (width > 0 && decimals + 1 > width) return Stars(width);

    // The integer part of a finite double has at most 309 digits.
    const std::size_t size = static_cast<std::size_t>(decimals) + 320;
    return WithScratch(size, [&](char* buffer) {
        const auto result =
            std::to_chars(buffer, buffer + size, std::fabs(value), std::chars_format::fixed, decimals);
        const std::string_view digits(buffer, static_cast<std::size_t>(result.ptr - buffer));
        const std::size_t point = digits.find('.');
        std::string_view integer_digits = digits.substr(0, point);
        const std::string_view rest = point != std::string_view::npos ? digits.substr(point) : std::string_view(".");
        if (integer_digits == "0") integer_digits = {};
        return RealField(std::signbit(value), integer_digits, rest, width);
    });
}

std::string E(double value, int width, int decimals) {
    if (width < 0) return {};
    // With no scale factor, Ew.0 would carry no significant digit.
    if (decimals < 1) return Stars(width);
    if (!std::isfinite(value)) return NonFinite(value, width);
    // ".", the digits and a four-column exponent are the least that is written.
    if (width > 0 && decimals + 5 > width) return Stars(width);

    const double magnitude = std::fabs(value);
    // The rest of the field, ".ddd" and the exponent, then room for the
    // digits as std::to_chars writes them.
    const auto digits = static_cast<std::size_t>(decimals);
    const std::size_t rest_size = digits + 8;
    return WithScratch(rest_size + digits + 16, [&](char* buffer) {
        char* p = buffer;
        *p++ = '.';
        int exponent = 0;
        if (magnitude == 0.0) {
            p = std::fill_n(p, digits, '0');
        } else {
            exponent = WriteScientificDigits(magnitude, decimals, buffer + rest_size, p) + 1;  // 0.ddd form
            p += digits;
        }
        // The exponent takes four columns: "E+dd", or "+ddd" with the E dropped.
        if (exponent >= -99 && exponent <= 99) {
            *p++ = 'E';
            p = WriteExponentDigits(p, exponent, 2);
        } else if (exponent >= -999 && exponent <= 999) {
            p = WriteExponentDigits(p, exponent, 3);
        } else {
            return Stars(width);
        }
        return RealField(std::signbit(value), {}, std::string_view(buffer, static_cast<std::size_t>(p - buffer)),
                         width);
    });
}

std::string X(int count) { return Blanks(count); }

std::string A(std::string_view text, int width) {
    if (width < 0) return {};
    const auto w = static_cast<std::size_t>(width);
    if (text.size() >= w) return std::string(text.substr(0, w));
    std::string out(w - text.size(), ' ');
    out += text;
    return out;
}

void ListDirectedLine::SeparateFrom(Item next) {
    if (last_ != Item::kNone && !(last_ == Item::kText && next == Item::kText)) line_ += ' ';
    last_ = next;
}

ListDirectedLine& ListDirectedLine::Text(std::string_view text) {
    SeparateFrom(Item::kText);
    line_ += text;
    return *this;
}

ListDirectedLine& ListDirectedLine::Real(double value) {
    SeparateFrom(Item::kValue);
    line_ += ListReal(value);
    return *this;
}

ListDirectedLine& ListDirectedLine::Integer(std::int64_t value) {
    SeparateFrom(Item::kValue);
    // Values beyond the default kind widen the item rather than overflow it.
    std::string digits = I0(value);
    if (digits.size() < static_cast<std::size_t>(kListIntegerWidth)) {
        digits = Justify(std::move(digits), kListIntegerWidth);
    }
    line_ += digits;
    return *this;
}

ListDirectedLine& ListDirectedLine::Logical(bool value) {
    SeparateFrom(Item::kValue);
    line_ += value ? 'T' : 'F';
    return *this;
}

std::string ListDirectedLine::str() const { return line_; }

std::string PadRight(std::string_view text, int length) {
    const std::size_t n = length > 0 ? static_cast<std::size_t>(length) : 0;
    std::string value(text.substr(0, std::min(text.size(), n)));
    value.resize(n, ' ');
    return value;
}

}  // namespace trevasc::fmt
