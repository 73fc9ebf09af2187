// Field conventions of the file: Iw right-justified in w columns, Ew.d as
// "0." and d digits with a four-character exponent ("E+03", or "+100" without
// the E for three-digit exponents), nX blanks, Tn the column where the next
// field starts. Columns are counted from 1.
#include "plot_fields.hpp"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>
#include <stdexcept>
#include <system_error>

#include "plot_file.hpp"

namespace trevasc::host {

std::string KindName(int kind) {
    if (kind < plot::kFirstKind || kind > plot::kLastKind) return "an unlabelled line";
    return "Line " + std::to_string(kind) + " (" + std::string(plot::kKindContents[static_cast<std::size_t>(kind)]) +
           ")";
}

std::string Quote(std::string_view text) {
    constexpr std::size_t kShown = 60;
    std::string shown(text.substr(0, kShown));
    for (char& c : shown) {
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7f) c = '?';
    }
    return "\"" + shown + (text.size() > kShown ? "...\"" : "\"");
}

bool IsBlank(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; });
}

std::string_view TrimLeft(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    return text;
}

std::string_view TrimRight(std::string_view text) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

bool AllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

namespace {

std::string Columns(int first, int width) {
    return "columns " + std::to_string(first) + "-" + std::to_string(first + width - 1);
}

}  // namespace

void FieldReader::Fail(std::size_t line, const std::string& message) const {
    throw PlotFileError(file_, line, message);
}

std::string_view FieldReader::Field(const PlotRecord& record, int first, int width) const {
    const std::size_t at = static_cast<std::size_t>(first - 1);
    if (record.text.size() < at + static_cast<std::size_t>(width)) {
        Fail(record.line, KindName(record.kind) + " is too short for its field in " + Columns(first, width));
    }
    return std::string_view(record.text).substr(at, static_cast<std::size_t>(width));
}

int FieldReader::Integer(const PlotRecord& record, int first, int width, std::string_view what) const {
    const std::string_view field = Field(record, first, width);
    const std::string_view digits = TrimLeft(field);
    const std::string where = std::string(what) + " in " + Columns(first, width);
    if (digits.empty()) Fail(record.line, where + " is blank");
    if (digits.find('*') != std::string_view::npos) {
        Fail(record.line, where + " is filled with asterisks: the value did not fit its field");
    }
    const bool negative = digits.front() == '-';
    const std::string_view magnitude = negative ? digits.substr(1) : digits;
    if (!AllDigits(magnitude) || magnitude.size() > 9) {
        Fail(record.line, where + " is not an integer right-justified in its field: " + Quote(field));
    }
    const int value = std::stoi(std::string(magnitude));
    return negative ? -value : value;
}

int FieldReader::Count(const PlotRecord& record, int first, int width, std::string_view what, int low,
                       int high) const {
    const int value = Integer(record, first, width, what);
    if (value < low || value > high) {
        Fail(record.line, std::string(what) + " is " + std::to_string(value) + "; it must lie between " +
                              std::to_string(low) + " and " + std::to_string(high));
    }
    return value;
}

double FieldReader::Real(const PlotRecord& record, int first, std::string_view what) const {
    constexpr int kRealWidth = 15;  // E15.7, the one real field of the file
    const std::string_view field = Field(record, first, kRealWidth);
    const std::string_view text = TrimLeft(field);
    const std::string where = std::string(what) + " in " + Columns(first, kRealWidth);
    if (text.empty()) Fail(record.line, where + " is blank");
    if (text.find('*') != std::string_view::npos) {
        Fail(record.line, where + " is filled with asterisks: the value did not fit its field");
    }
    const std::optional<double> value = ParseFortranReal(text);
    if (!value) Fail(record.line, where + " is not a number in E15.7 form: " + Quote(field));
    return *value;
}

void FieldReader::Blank(const PlotRecord& record, int first, int last) const {
    if (last < first) return;
    const std::string_view field = Field(record, first, last - first + 1);
    if (!IsBlank(field)) {
        Fail(record.line, "columns " + std::to_string(first) + "-" + std::to_string(last) + " of " +
                              KindName(record.kind) + " must be blank, found " + Quote(TrimRight(field)));
    }
}

std::string_view FieldReader::Label(const PlotRecord& record, int column) const {
    const std::size_t at = static_cast<std::size_t>(column - 1);
    if (record.text.size() <= at) Fail(record.line, KindName(record.kind) + " has no label");
    return TrimRight(std::string_view(record.text).substr(at));
}

// ---- RecordCursor ---------------------------------------------------------------

void RecordCursor::PassGaps() {
    const auto format = layout_.format();
    while (next_ < format.size()) {
        const plot::Descriptor& d = format[next_];
        if (d.edit == plot::Edit::kBlanks) {
            fields_.Blank(record_, column_, column_ + d.width - 1);
            column_ += d.width;
        } else if (d.edit == plot::Edit::kTab) {
            fields_.Blank(record_, column_, d.width - 1);
            column_ = d.width;
        } else {
            return;
        }
        ++next_;
    }
}

plot::Columns RecordCursor::Next(plot::Edit edit) {
    PassGaps();
    const auto format = layout_.format();
    if (next_ >= format.size() || format[next_].edit != edit || !format[next_].FixedWidth() ||
        next_ >= layout_.LabelDescriptor()) {
        throw std::logic_error("the reader of Line " + std::to_string(layout_.kind()) +
                               " asks for a field its layout does not have there");
    }
    const plot::Columns columns{column_, format[next_].width};
    column_ += columns.width;
    ++next_;
    return columns;
}

int RecordCursor::Integer(std::string_view what) {
    const plot::Columns at = Next(plot::Edit::kInteger);
    return fields_.Integer(record_, at.first, at.width, what);
}

int RecordCursor::Count(std::string_view what, int low, int high) {
    const plot::Columns at = Next(plot::Edit::kInteger);
    return fields_.Count(record_, at.first, at.width, what, low, high);
}

double RecordCursor::Real(std::string_view what) {
    const plot::Columns at = Next(plot::Edit::kReal);
    return fields_.Real(record_, at.first, what);
}

std::string_view RecordCursor::Label() {
    const std::size_t label = layout_.LabelDescriptor();
    const auto format = layout_.format();
    for (PassGaps(); next_ < label; PassGaps()) {
        column_ += format[next_].width;  // a value field before the label, read elsewhere or not at all
        ++next_;
    }
    return fields_.Label(record_, column_);
}

// A Fortran real as written by Ew.d (and the other forms a Fortran reader
// takes): [sign] digits [. digits] [exponent], the exponent being a letter E
// or D with an optional sign and digits, or a sign and digits without the
// letter; also NaN and Infinity as the runtime writes them.
std::optional<double> ParseFortranReal(std::string_view text) {
    if (text.empty()) return std::nullopt;
    bool negative = false;
    std::string_view body = text;
    if (body.front() == '+' || body.front() == '-') {
        negative = body.front() == '-';
        body.remove_prefix(1);
    }
    if (body == "NaN") return std::numeric_limits<double>::quiet_NaN();
    if (body == "Infinity" || body == "Inf") {
        return negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    }
    std::size_t i = 0;
    std::string mantissa;
    bool digits = false;
    bool point = false;
    for (; i < body.size(); ++i) {
        const char c = body[i];
        if (c >= '0' && c <= '9') {
            digits = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
        mantissa += c;
    }
    if (!digits) return std::nullopt;
    std::string exponent = "0";
    if (i < body.size()) {
        std::string_view rest = body.substr(i);
        if (rest.front() == 'E' || rest.front() == 'e' || rest.front() == 'D' || rest.front() == 'd') {
            rest.remove_prefix(1);
        } else if (rest.front() != '+' && rest.front() != '-') {
            return std::nullopt;
        }
        std::string sign;
        if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
            if (rest.front() == '-') sign = "-";
            rest.remove_prefix(1);
        }
        if (!AllDigits(rest) || rest.size() > 4) return std::nullopt;
        exponent = sign + std::string(rest);
    }
    const std::string number = mantissa + "e" + exponent;
    double value = 0.0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Beyond the range of a double: a damaged value rather than a result.
        return std::nullopt;
    }
    if (ec != std::errc() || end != number.data() + number.size()) return std::nullopt;
    return negative ? -value : value;
}

}  // namespace trevasc::host
