#include "report/fortran_format.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <utility>

namespace trevasc::report::fmt {
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

// Digits up to which a field's digits are formed by scaling in double
// precision (see ScaledDigits).
constexpr int kScaledDigitsMost = 9;
// Powers of ten that a double holds exactly.
constexpr std::array<double, 23> kExactPowersOfTen = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22,
};
// The two digits of every number below 100, "00" to "99", so that the digits
// of a field are written two at a time without dividing each pair again.
constexpr std::array<char, 200> kDigitPairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
        pairs[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();
// Distance from a rounding midpoint within which the exact path decides. The
// scaled value is off by at most half a unit in its last place, below
// 1.2e-7 for the 10^9 it stays under; this keeps a wide margin.
constexpr double kMidpointMargin = 1.0e-6;

// Rounds `magnitude` to `digits` significant digits by scaling it with an
// exact power of ten: s = v 10^k is then off by at most half a unit in its
// last place, so when s is not within kMidpointMargin of a midpoint n + 1/2
// its rounding is that of the exact binary value. Writes the digits at `out`
// and their power of ten at `power`; false when the exact path must decide
// (near a midpoint, a power of ten beyond the exact ones, a subnormal value).
bool ScaledDigits(double magnitude, int digits, char* out, int& power) {
    if (digits > kScaledDigitsMost || !(magnitude >= std::numeric_limits<double>::min()) ||
        !(magnitude <= std::numeric_limits<double>::max())) {
        return false;
    }
    std::uint64_t bits = 0;
    std::memcpy(&bits, &magnitude, sizeof bits);
    const int binary_exponent = static_cast<int>((bits >> 52) & 0x7FF) - 1023;
    // About floor(e log10 2), within one of the power of ten p of the first
    // digit; the scaled value tells which it is.
    int p = (binary_exponent * 78913) >> 18;
    const double top = kExactPowersOfTen[static_cast<std::size_t>(digits)];
    const double bottom = kExactPowersOfTen[static_cast<std::size_t>(digits - 1)];
    double scaled = 0.0;
    for (int attempt = 0;; ++attempt) {
        const int k = digits - 1 - p;
        if (attempt == 3 || k > 22 || k < -22) return false;
        scaled = k >= 0 ? magnitude * kExactPowersOfTen[static_cast<std::size_t>(k)]
                        : magnitude / kExactPowersOfTen[static_cast<std::size_t>(-k)];
        if (scaled >= top) {
            ++p;
        } else if (scaled < bottom) {
            --p;
        } else {
            break;
        }
    }
    auto n = static_cast<std::uint64_t>(scaled);  // the whole part: 0 < scaled < 10^9
    const double fraction = scaled - static_cast<double>(n);
    if (std::fabs(fraction - 0.5) < kMidpointMargin) return false;
    if (fraction > 0.5) ++n;
    if (static_cast<double>(n) >= top) {  // 9.99..95 and above carry into a new digit
        n /= 10;
        ++p;
    }
    power = p;
    // Two digits at a time from the right; n < 10^9 fits 32 bits.
    auto rest = static_cast<std::uint32_t>(n);
    int i = digits;
    for (; i >= 2; i -= 2) {
        const std::size_t pair = 2 * static_cast<std::size_t>(rest % 100);
        rest /= 100;
        out[i - 1] = kDigitPairs[pair + 1];
        out[i - 2] = kDigitPairs[pair];
    }
    if (i == 1) out[0] = static_cast<char>('0' + rest);
    return true;
}

// Writes the significant digits of `magnitude` rounded to `digits` places
// (no decimal point) at `out` and returns the power of ten of the first one.
// `scratch` must hold digits + 16 characters. The digits are those of the
// exact binary value rounded half to even, as std::to_chars rounds them.
int WriteScientificDigits(double magnitude, int digits, char* scratch, char* out) {
    int scaled_power = 0;
    if (ScaledDigits(magnitude, digits, out, scaled_power)) return scaled_power;
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
    unsigned magnitude = exponent < 0 ? 0U - static_cast<unsigned>(exponent) : static_cast<unsigned>(exponent);
    char digits[12];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    for (int i = count; i < min_digits; ++i) *out++ = '0';
    while (count > 0) *out++ = digits[--count];
    return out;
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

// Ew.d by the general route: every width, digit count and value.
std::string GeneralE(double value, int width, int decimals) {
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

void AppendI(std::string& out, std::int64_t value, int width) {
    if (width < 0) return;  // no field at all, as Iwm writes it
    // The magnitude as unsigned, so that the most negative value has one too.
    const std::uint64_t magnitude =
        value < 0 ? ~static_cast<std::uint64_t>(value) + 1 : static_cast<std::uint64_t>(value);
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, magnitude);
    const auto count = static_cast<std::size_t>(result.ptr - digits);
    const std::size_t length = count + (value < 0 ? 1 : 0);
    if (width == 0) {  // I0: the sign and the digits, nothing around them
        if (value < 0) out += '-';
        out.append(digits, count);
        return;
    }
    const auto w = static_cast<std::size_t>(width);
    if (length > w) {
        out.append(w, '*');
        return;
    }
    out.append(w - length, ' ');
    if (value < 0) out += '-';
    out.append(digits, count);
}

std::string I(std::int64_t value, int width) {
    std::string field;
    AppendI(field, value, width);
    return field;
}

std::string I0(std::int64_t value) {
    std::string field;
    AppendI(field, value, 0);
    return field;
}

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

void AppendE(std::string& out, double value, int width, int decimals) {
    // The common field, formed in place: a finite value whose digits the
    // scaled route settles, in a field with room for them and an exponent
    // of two digits. Everything else takes the general route.
    const bool negative = std::signbit(value);
    const double magnitude = std::fabs(value);
    const int sign = negative ? 1 : 0;
    const int rest = decimals + 5;  // ".", the digits, "E+dd"
    char digits[kScaledDigitsMost];
    int power = -1;
    bool settled = width > 0 && decimals >= 1 && decimals <= kScaledDigitsMost && sign + rest <= width;
    if (settled && magnitude == 0.0) {
        std::fill_n(digits, decimals, '0');
    } else if (settled) {
        settled = ScaledDigits(magnitude, decimals, digits, power) && power + 1 >= -99 && power + 1 <= 99;
    }
    if (!settled) {
        out += GeneralE(value, width, decimals);
        return;
    }
    const int exponent = power + 1;  // of the 0.ddd form
    const bool leading_zero = width > sign + rest;
    // The field is blank-filled to its width and written from its right end.
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(width), ' ');
    char* p = out.data() + out.size();
    const int e = exponent < 0 ? -exponent : exponent;
    *--p = static_cast<char>('0' + e % 10);
    *--p = static_cast<char>('0' + e / 10);
    *--p = exponent < 0 ? '-' : '+';
    *--p = 'E';
    p -= decimals;
    std::copy(digits, digits + decimals, p);
    *--p = '.';
    if (leading_zero) *--p = '0';
    if (negative) *--p = '-';
}

std::string E(double value, int width, int decimals) {
    std::string field;
    AppendE(field, value, width, decimals);
    return field;
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

}  // namespace trevasc::report::fmt
