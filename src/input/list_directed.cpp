#include "input/list_directed.hpp"

#include <algorithm>
#include <charconv>
#include <cerrno>
#include <cmath>
#include <system_error>

namespace trevasc::input {

// ---------------------------------------------------------------------------
// Conversion of one constant

namespace {

constexpr const char* kInteger = "an integer";
constexpr const char* kReal = "a real number";
constexpr const char* kCharacter = "a character value";
constexpr const char* kLogical = "a logical value";

constexpr bool IsBlank(char c) { return c == ' ' || c == '\t'; }
constexpr bool IsSeparator(char c) { return IsBlank(c) || c == ',' || c == '/'; }
constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipDigits(std::string_view text, std::size_t i) {
    while (i < text.size() && IsDigit(text[i])) ++i;
    return i;
}

// [sign] digits, nothing else; the value must fit 32 bits.
bool ParseInteger(std::string_view text, std::int32_t& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::string_view digits = text.substr(i);
    if (digits.empty() || SkipDigits(digits, 0) != digits.size()) return false;
    const std::size_t first_nonzero = digits.find_first_not_of('0');
    if (first_nonzero == std::string_view::npos) {
        value = 0;
        return true;
    }
    digits.remove_prefix(first_nonzero);
    if (digits.size() > 10) return false;  // beyond any 32-bit magnitude
    std::int64_t magnitude = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
    const std::int64_t signed_value = negative ? -magnitude : magnitude;
    if (signed_value < INT32_MIN || signed_value > INT32_MAX) return false;
    value = static_cast<std::int32_t>(signed_value);
    return true;
}

// A Fortran real constant: [sign] mantissa [exponent], where the mantissa is
// digits with an optional decimal point (at least one digit) and the exponent
// is E, D or Q with an optional sign and digits, or just a sign and digits
// ("1.5+3"). The text is rewritten in the C form and converted with
// from_chars. A value too large for a double is rejected; one too small
// becomes a signed zero, as the Fortran runtime gives.
bool ParseReal(std::string_view text, double& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t int_begin = i;
    i = SkipDigits(text, i);
    const std::string_view int_digits = text.substr(int_begin, i - int_begin);
    std::string_view frac_digits;
    if (i < text.size() && text[i] == '.') {
        const std::size_t frac_begin = ++i;
        i = SkipDigits(text, i);
        frac_digits = text.substr(frac_begin, i - frac_begin);
    }
    if (int_digits.empty() && frac_digits.empty()) return false;

    // The exponent saturates far beyond the double range; its exact size no
    // longer matters there.
    constexpr long kExponentLimit = 1'000'000;
    long exponent = 0;
    if (i < text.size()) {
        const char letter = text[i];
        if (letter == 'E' || letter == 'e' || letter == 'D' || letter == 'd' || letter == 'Q' ||
            letter == 'q') {
            ++i;
        } else if (letter != '+' && letter != '-') {
            return false;
        }
        bool exponent_negative = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            exponent_negative = text[i] == '-';
            ++i;
        }
        const std::size_t exponent_begin = i;
        for (; i < text.size() && IsDigit(text[i]); ++i) {
            exponent = std::min(exponent * 10 + (text[i] - '0'), kExponentLimit);
        }
        if (i == exponent_begin || i != text.size()) return false;
        if (exponent_negative) exponent = -exponent;
    }

    std::string c_form;
    c_form.reserve(text.size() + 24);
    if (negative) c_form += '-';
    c_form += int_digits.empty() ? std::string_view("0") : int_digits;
    if (!frac_digits.empty()) {
        c_form += '.';
        c_form += frac_digits;
    }
    c_form += 'e';
    char exponent_text[24];
    const auto written = std::to_chars(exponent_text, exponent_text + sizeof exponent_text, exponent);
    c_form.append(exponent_text, written.ptr);

    double result = 0.0;
    const auto [end, ec] =
        std::from_chars(c_form.data(), c_form.data() + c_form.size(), result, std::chars_format::general);
    if (end != c_form.data() + c_form.size()) return false;
    if (ec == std::errc::result_out_of_range) {
        // Decimal exponent of the leading significant digit tells overflow
        // from underflow.
        long leading = 0;
        const std::size_t in_int = int_digits.find_first_not_of('0');
        if (in_int != std::string_view::npos) {
            leading = static_cast<long>(int_digits.size() - in_int) - 1;
        } else {
            const std::size_t in_frac = frac_digits.find_first_not_of('0');
            if (in_frac == std::string_view::npos) return false;  // cannot happen for zero
            leading = -static_cast<long>(in_frac) - 1;
        }
        if (leading + exponent >= 0) return false;
        result = negative ? -0.0 : 0.0;
    } else if (ec != std::errc()) {
        return false;
    }
    if (!std::isfinite(result)) return false;
    value = result;
    return true;
}

// A value read from `text` is usable when it is 0 as written or its
// magnitude lies within the input limits. A constant that underflowed to 0
// (4.9E-324, 1E-400) was not written as 0: its mantissa has a digit other
// than 0.
bool IsPlausibleMagnitude(std::string_view text, double value) {
    const double magnitude = std::fabs(value);
    if (magnitude > kLargestInputMagnitude) return false;
    if (magnitude >= kSmallestInputMagnitude) return true;
    if (magnitude > 0.0) return false;
    const std::size_t mantissa_end = text.find_first_of("EeDdQq");
    const std::string_view mantissa = text.substr(0, mantissa_end);
    // A bare exponent sign ("1.5-40") also ends the mantissa.
    const std::size_t sign = mantissa.find_first_of("+-", 1);
    return mantissa.substr(0, sign).find_first_of("123456789") == std::string_view::npos;
}

// [.] T or F, then anything: ".TRUE.", "t", "False" and ".f." all qualify.
bool ParseLogical(std::string_view text, bool& value) {
    std::size_t i = 0;
    if (i < text.size() && text[i] == '.') ++i;
    if (i >= text.size()) return false;
    switch (text[i]) {
        case 'T':
        case 't':
            value = true;
            return true;
        case 'F':
        case 'f':
            value = false;
            return true;
        default:
            return false;
    }
}

}  // namespace

// ---------------------------------------------------------------------------
// ListDirectedRead

ListDirectedRead::ListDirectedRead(InputFile& file) : file_(file) {}

ListDirectedRead::~ListDirectedRead() { Finish(); }

ListDirectedRead::Step ListDirectedRead::Fail(ReadFailure failure, const char* expected) {
    failure_ = failure;
    expected_ = expected;
    if (failure == ReadFailure::EndOfFile) {
        failure_line_ = file_.LineNumber() + 1;
        failure_text_.clear();
    } else {
        failure_line_ = file_.LineNumber();
        failure_text_ = file_.LastLine();
    }
    repeat_left_ = 0;
    return Step::Fail;
}

// The next record, whole. A record longer than the reader keeps cannot be
// read as values: its cut-off part could hold the very values asked for.
ListDirectedRead::Step ListDirectedRead::NextRecord(const char* expected) {
    if (!file_.ReadLine(record_)) return Fail(ReadFailure::EndOfFile, expected);
    pos_ = 0;
    if (file_.LastLineTooLong()) return Fail(ReadFailure::LineTooLong, expected);
    return Step::Assign;
}

// Blanks, tabs and ends of records are all the same kind of space; blank
// records are passed over. Fails when the file ends first.
ListDirectedRead::Step ListDirectedRead::SkipBlanks(const char* expected) {
    for (;;) {
        while (pos_ < record_.size() && IsBlank(record_[pos_])) ++pos_;
        if (pos_ < record_.size()) return Step::Assign;
        if (NextRecord(expected) == Step::Fail) return Step::Fail;
    }
}

// Reads the constant at pos_ into value_. A quoted constant takes a doubled
// quote as one quote character and ends at the end of its record if the
// closing quote is missing; it must be followed by a separator. An unquoted
// constant runs up to the next separator.
bool ListDirectedRead::ReadConstant() {
    value_.clear();
    const char quote = record_[pos_];
    value_quoted_ = quote == '\'' || quote == '"';
    if (!value_quoted_) {
        while (pos_ < record_.size() && !IsSeparator(record_[pos_])) value_ += record_[pos_++];
        return true;
    }
    ++pos_;
    while (pos_ < record_.size()) {
        const char c = record_[pos_++];
        if (c != quote) {
            value_ += c;
        } else if (pos_ < record_.size() && record_[pos_] == quote) {
            value_ += quote;
            ++pos_;
        } else {
            return pos_ >= record_.size() || IsSeparator(record_[pos_]);
        }
    }
    return true;
}

// Finds what the next item receives. A separator is blanks (ends of records
// included) with at most one comma among them, or a slash. A comma met where a
// value should begin is a null value. The separator after a value is only
// taken when the next item asks for it, so the statement never reaches into a
// record beyond the one its last value came from.
ListDirectedRead::Step ListDirectedRead::NextValue(const char* expected) {
    if (failure_ != ReadFailure::None) return Step::Fail;
    if (finished_) return Step::Keep;
    if (repeat_left_ > 0) {
        --repeat_left_;
        return repeat_is_null_ ? Step::Keep : Step::Assign;
    }
    if (ended_by_slash_) return Step::Keep;
    if (!have_record_) {
        // A statement starts on a fresh record whatever the last one left.
        have_record_ = true;
        if (NextRecord(expected) == Step::Fail) return Step::Fail;
    }
    for (;;) {
        if (SkipBlanks(expected) == Step::Fail) return Step::Fail;
        const char c = record_[pos_];
        if (c == '/') {
            ended_by_slash_ = true;
            return Step::Keep;
        }
        if (c != ',') break;
        ++pos_;
        if (!after_value_) return Step::Keep;  // empty field: null value
        after_value_ = false;                  // the comma after the last value
    }
    after_value_ = true;

    // "r*c" hands the constant c to the next r items, "r*" makes r nulls.
    const std::size_t digits_end = SkipDigits(record_, pos_);
    if (digits_end > pos_ && digits_end < record_.size() && record_[digits_end] == '*') {
        int count = 0;
        const auto [end, ec] = std::from_chars(record_.data() + pos_, record_.data() + digits_end, count);
        if (ec != std::errc() || count < 1) return Fail(ReadFailure::BadValue, expected);
        pos_ = digits_end + 1;
        repeat_left_ = count - 1;
        repeat_is_null_ = pos_ >= record_.size() || IsSeparator(record_[pos_]);
        if (repeat_is_null_) return Step::Keep;
    }
    if (!ReadConstant()) return Fail(ReadFailure::BadValue, expected);
    return Step::Assign;
}

bool ListDirectedRead::Integer(std::int32_t& value) {
    switch (NextValue(kInteger)) {
        case Step::Fail: return false;
        case Step::Keep: return true;
        case Step::Assign: break;
    }
    std::int32_t parsed = 0;
    if (value_quoted_ || !ParseInteger(value_, parsed)) {
        Fail(ReadFailure::BadValue, kInteger);
        return false;
    }
    value = parsed;
    return true;
}

bool ListDirectedRead::Real(double& value) { return ReadReal(value, false); }

bool ListDirectedRead::PlausibleReal(double& value) { return ReadReal(value, true); }

bool ListDirectedRead::ReadReal(double& value, bool check_magnitude) {
    switch (NextValue(kReal)) {
        case Step::Fail: return false;
        case Step::Keep: return true;
        case Step::Assign: break;
    }
    double parsed = 0.0;
    if (value_quoted_ || !ParseReal(value_, parsed)) {
        Fail(ReadFailure::BadValue, kReal);
        return false;
    }
    if (check_magnitude && !IsPlausibleMagnitude(value_, parsed)) {
        Fail(ReadFailure::AbsurdMagnitude, kReal);
        return false;
    }
    value = parsed;
    return true;
}

bool ListDirectedRead::Character(std::string& value, std::size_t length) {
    switch (NextValue(kCharacter)) {
        case Step::Fail: return false;
        case Step::Keep: return true;
        case Step::Assign: break;
    }
    value = value_;
    value.resize(length, ' ');
    return true;
}

bool ListDirectedRead::Logical(bool& value) {
    switch (NextValue(kLogical)) {
        case Step::Fail: return false;
        case Step::Keep: return true;
        case Step::Assign: break;
    }
    bool parsed = false;
    if (value_quoted_ || !ParseLogical(value_, parsed)) {
        Fail(ReadFailure::BadValue, kLogical);
        return false;
    }
    value = parsed;
    return true;
}

// The file already stands after the last record the statement read, so the
// values left on it are dropped by simply not looking at them. A statement
// that took no item still uses up one record, as an empty read list does.
void ListDirectedRead::Finish() {
    if (finished_) return;
    finished_ = true;
    repeat_left_ = 0;
    if (!have_record_ && failure_ == ReadFailure::None) {
        // The record is skipped unread, so its length does not matter.
        have_record_ = true;
        if (!file_.ReadLine(record_)) Fail(ReadFailure::EndOfFile, "another line");
    }
}

}  // namespace trevasc::input
