#include "report/fortran_format.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
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

// Digits of a non-negative value rounded to `decimals` places ("12345.60",
// "3" for no places). std::to_chars rounds the exact binary value, ties to even.
std::string FixedDigits(double magnitude, int decimals) {
    // The integer part of a finite double has at most 309 digits.
    std::string buffer(static_cast<std::size_t>(decimals) + 320, '\0');
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                      std::chars_format::fixed, decimals);
    buffer.resize(static_cast<std::size_t>(result.ptr - buffer.data()));
    return buffer;
}

// A positive value rounded to `digits` significant digits: the digits without
// a decimal point and the power of ten of the first one (value = d.ddd * 10^p).
struct Significand {
    std::string digits;
    int power = 0;
};

Significand ScientificDigits(double magnitude, int digits) {
    std::string buffer(static_cast<std::size_t>(digits) + 16, '\0');
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                      std::chars_format::scientific, digits - 1);
    const std::string_view text(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));

    Significand out;
    const std::size_t e = text.find('e');
    for (char c : text.substr(0, e)) {
        if (c != '.') out.digits.push_back(c);
    }
    std::string_view exponent = text.substr(e + 1);
    const bool negative = exponent.front() == '-';
    exponent.remove_prefix(1);  // to_chars always writes the exponent's sign
    std::from_chars(exponent.data(), exponent.data() + exponent.size(), out.power);
    if (negative) out.power = -out.power;
    return out;
}

// Assembles a real field from its sign, its integer digits (empty when the
// value is below one) and the rest starting at the decimal point. The leading
// zero of a fraction is optional in Fortran: it is written only when the field
// has a column to spare. A field with no digit at all ("." or "-.") cannot
// show a value and takes asterisks.
std::string RealField(bool negative, std::string_view integer_digits, std::string_view rest,
                      int width) {
    std::string text = negative ? "-" : "";
    const bool fraction_only = integer_digits.empty();
    const bool room_for_zero =
        width == 0 || static_cast<std::size_t>(width) > text.size() + rest.size();
    if (fraction_only && room_for_zero) {
        text += '0';
    } else {
        text += integer_digits;
    }
    text += rest;
    if (fraction_only && !room_for_zero && rest.size() < 2) return Stars(width);
    return Justify(std::move(text), width);
}

// Appends the sign of an exponent and its magnitude with at least
// `min_digits` digits.
void AppendExponentDigits(std::string& out, int exponent, int min_digits) {
    out += exponent < 0 ? '-' : '+';
    char digits[8];
    const auto result = std::to_chars(digits, digits + sizeof digits, exponent < 0 ? -exponent : exponent);
    const auto count = static_cast<int>(result.ptr - digits);
    if (count < min_digits) out.append(static_cast<std::size_t>(min_digits - count), '0');
    out.append(digits, result.ptr);
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

    const std::string digits = FixedDigits(std::fabs(value), decimals);
    const std::size_t point = digits.find('.');
    std::string_view integer_digits(digits);
    std::string rest = ".";
    if (point != std::string::npos) {
        integer_digits = integer_digits.substr(0, point);
        rest = digits.substr(point);
    }
    if (integer_digits == "0") integer_digits = {};
    return RealField(std::signbit(value), integer_digits, rest, width);
}

std::string E(double value, int width, int decimals) {
    if (width < 0) return {};
    // With no scale factor, Ew.0 would carry no significant digit.
    if (decimals < 1) return Stars(width);
    if (!std::isfinite(value)) return NonFinite(value, width);
    // ".", the digits and a four-column exponent are the least that is written.
    if (width > 0 && decimals + 5 > width) return Stars(width);

    const double magnitude = std::fabs(value);
    std::string rest = ".";
    int exponent = 0;
    if (magnitude == 0.0) {
        rest.append(static_cast<std::size_t>(decimals), '0');
    } else {
        const Significand s = ScientificDigits(magnitude, decimals);
        rest += s.digits;
        exponent = s.power + 1;  // 0.ddd form: one more than for d.dd
    }
    // The exponent takes four columns: "E+dd", or "+ddd" with the E dropped.
    if (exponent >= -99 && exponent <= 99) {
        rest += 'E';
        AppendExponentDigits(rest, exponent, 2);
    } else if (exponent >= -999 && exponent <= 999) {
        AppendExponentDigits(rest, exponent, 3);
    } else {
        return Stars(width);
    }
    return RealField(std::signbit(value), {}, rest, width);
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
