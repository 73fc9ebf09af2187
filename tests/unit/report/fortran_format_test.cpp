// Fixed-width and list-directed output checked against fields written by the
// GNU Fortran runtime (tests/data/reference), plus hand-worked cases for the
// corners those tables do not reach.
#include "report/fortran_format.hpp"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <cstdint>
#include <fstream>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using namespace trevasc::report::fmt;

std::vector<std::string> ReadLines(const std::string& name) {
    const std::string path = std::string(TREVASC_REFERENCE_DIR) + "/" + name;
    std::ifstream in(path);
    EXPECT_TRUE(in) << "cannot open " << path;
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string_view> SplitTabs(std::string_view line) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        parts.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos) return parts;
        start = tab + 1;
    }
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

template <typename T>
std::optional<T> ParseNumber(std::string_view text) {
    T value{};
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

// "F9.2", "E12.4", "I5.3", "I0".
struct Descriptor {
    char kind = '?';
    int width = 0;
    std::optional<int> second;  // d for F and E, m for I
};

std::optional<Descriptor> ParseDescriptor(std::string_view text) {
    if (text.size() < 2) return std::nullopt;
    Descriptor d;
    d.kind = text.front();
    text.remove_prefix(1);
    const std::size_t dot = text.find('.');
    const auto width = ParseNumber<int>(text.substr(0, dot));
    if (!width) return std::nullopt;
    d.width = *width;
    if (dot != std::string_view::npos) {
        d.second = ParseNumber<int>(text.substr(dot + 1));
        if (!d.second) return std::nullopt;
    }
    return d;
}

// A reference row: descriptor, value, and the field between bars.
struct Row {
    Descriptor descriptor;
    std::string value;
    std::string field;
};

std::vector<Row> ReadFieldTable(const std::string& name) {
    std::vector<Row> rows;
    for (const std::string& line : ReadLines(name)) {
        if (line.empty() || line.front() == '#') continue;
        const auto parts = SplitTabs(line);
        const auto descriptor = parts.size() == 3 ? ParseDescriptor(parts[0]) : std::nullopt;
        const std::string_view field = parts.size() == 3 ? parts[2] : std::string_view{};
        if (!descriptor || field.size() < 2 || field.front() != '|' || field.back() != '|') {
            ADD_FAILURE() << name << ": malformed row: " << line;
            continue;
        }
        rows.push_back({*descriptor, std::string(Trim(parts[1])),
                        std::string(field.substr(1, field.size() - 2))});
    }
    EXPECT_FALSE(rows.empty()) << name << " has no rows";
    return rows;
}

TEST(FortranFormatReference, RealFieldsMatchRuntime) {
    bool saw_f = false, saw_e = false;
    for (const Row& row : ReadFieldTable("fortran_real_fields.tsv")) {
        const auto value = ParseNumber<double>(row.value);  // also reads NaN, Infinity
        const Descriptor& d = row.descriptor;
        ASSERT_TRUE(value && d.second && (d.kind == 'F' || d.kind == 'E'))
            << "unreadable row " << row.value;
        const std::string written =
            d.kind == 'F' ? F(*value, d.width, *d.second) : E(*value, d.width, *d.second);
        (d.kind == 'F' ? saw_f : saw_e) = true;
        EXPECT_EQ(written, row.field)
            << d.kind << d.width << '.' << *d.second << " of " << row.value;
    }
    EXPECT_TRUE(saw_f && saw_e);
}

TEST(FortranFormatReference, IntegerFieldsMatchRuntime) {
    for (const Row& row : ReadFieldTable("fortran_integer_fields.tsv")) {
        const auto value = ParseNumber<std::int64_t>(row.value);
        const Descriptor& d = row.descriptor;
        ASSERT_TRUE(value && d.kind == 'I') << "unreadable row " << row.value;
        std::string written;
        if (d.second) {
            written = Iwm(*value, d.width, *d.second);
        } else if (d.width == 0) {
            written = I0(*value);
        } else {
            written = I(*value, d.width);
        }
        EXPECT_EQ(written, row.field) << "I" << d.width << (d.second ? "." + std::to_string(*d.second) : "")
                                      << " of " << row.value;
    }
}

// The output statements behind each reference record, in order.
struct ListItem {
    enum Kind { kText, kReal, kInteger, kLogical } kind;
    std::string text;
    double real = 0.0;
    std::int64_t integer = 0;
    bool logical = false;
};

ListItem T(std::string text) { return {ListItem::kText, std::move(text)}; }
ListItem R(double x) { return {ListItem::kReal, {}, x}; }
ListItem N(std::int64_t n) { return {ListItem::kInteger, {}, 0.0, n}; }
ListItem L(bool b) { return {ListItem::kLogical, {}, 0.0, 0, b}; }

std::string Write(const std::vector<ListItem>& items) {
    ListDirectedLine line;
    for (const ListItem& item : items) {
        switch (item.kind) {
            case ListItem::kText: line.Text(item.text); break;
            case ListItem::kReal: line.Real(item.real); break;
            case ListItem::kInteger: line.Integer(item.integer); break;
            case ListItem::kLogical: line.Logical(item.logical); break;
        }
    }
    return line.str();
}

TEST(FortranFormatReference, ListDirectedRecordsMatchRuntime) {
    const std::vector<std::vector<ListItem>> statements = {
        {T("Elevation             = "), R(12.0)},
        {T("b_AtInterface         = "), L(true)},
        {T("b_InMiddle            = "), L(false)},
        {T("Layer index above     = "), N(3)},
        {T("DABS(X-XLayerBottom(KTOP))    = "), R(1.5E-7)},
        {T(" X value for f(c) = "), R(123.456)},
        {R(0.1), R(-2.5), R(1.0E10), R(1.0E-10), R(0.0)},
        {R(1.0E100), R(-1.0E-100), R(3.0)},
        {T(" At tip condition       = "), L(true), T(", T = true, F = false")},
        {T(" JBOT index             = "), N(12),
         T(" = index number of strength value below depth in question")},
    };
    std::vector<std::string> records = ReadLines("fortran_list_directed_output.txt");
    while (!records.empty() && records.back().empty()) records.pop_back();
    ASSERT_EQ(records.size(), statements.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ("|" + Write(statements[i]) + "|", "|" + records[i] + "|") << "record " << i + 1;
    }
}

// Beyond the reference tables: the fixed/exponent switch of list-directed
// reals sits at 0.1 and 1E17 (G editing with 17 significant digits); text
// items run together; integers wider than the default kind widen the item.
TEST(FortranFormatListDirected, FormSwitchSeparatorsAndWideIntegers) {
    const struct {
        std::vector<ListItem> items;
        std::string expected;
    } cases[] = {
        {{R(99999999999999984.0)}, "   99999999999999984.     "},
        {{R(1.0E17)}, "   1.0000000000000000E+017"},
        {{R(0.099999999999999992)}, "   9.9999999999999992E-002"},
        {{R(-0.5)}, " -0.50000000000000000     "},
        {{T("A"), T("B"), N(1), N(-2147483647 - 1)}, " AB           1 -2147483648"},
        {{N(-12345678901)}, " -12345678901"},
        {{L(false), T("x")}, " F x"},
    };
    for (const auto& c : cases) EXPECT_EQ(Write(c.items), c.expected);
}

// Narrow fields, worked by hand from the Fortran rules: the leading zero of a
// fraction is optional (F and E alike), a field needs at least one digit, and
// a negative value needs a column for its sign.
TEST(FortranFormatHand, NarrowRealFields) {
    const struct {
        std::string written;
        std::string expected;
    } cases[] = {
        {F(0.4, 2, 0), "0."},       {F(-0.4, 2, 0), "**"},     {F(0.0, 1, 0), "*"},
        {F(0.25, 3, 2), ".25"},     {F(-0.25, 4, 2), "-.25"},  {F(-0.25, 3, 2), "***"},
        {F(7.0, 2, 0), "7."},       {F(0.5, 3, 3), "***"},     {F(2.5, 3, 0), " 2."},
        {E(1.0, 6, 1), ".1E+01"},   {E(-1.0, 7, 1), "-.1E+01"}, {E(-1.0, 6, 1), "******"},
        {E(1.0, 5, 1), "*****"},    {E(1.0, 8, 0), "********"}, {E(1e-300, 8, 3), ".100-299"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.written, c.expected);
}

TEST(FortranFormatHand, NegativeInfinityNeedsASignColumn) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(F(-inf, 10, 2), " -Infinity");
    EXPECT_EQ(F(-inf, 9, 2), "-Infinity");
    EXPECT_EQ(E(-inf, 8, 1), "    -Inf");
    EXPECT_EQ(F(-inf, 4, 1), "-Inf");
    EXPECT_EQ(F(-inf, 3, 1), "***");
    EXPECT_EQ(F(inf, 3, 1), "Inf");
    EXPECT_EQ(F(std::numeric_limits<double>::quiet_NaN(), 2, 0), "**");
}

// Width 0 asks for the shortest field; Iw.0 writes a zero as blanks; the most
// negative integer has a magnitude too.
TEST(FortranFormatHand, MinimalWidthsAndIntegerEdges) {
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    EXPECT_EQ(F(-1.5, 0, 2), "-1.50");
    EXPECT_EQ(F(0.25, 0, 2), "0.25");
    EXPECT_EQ(E(-1234.5, 0, 3), "-0.123E+04");
    EXPECT_EQ(I(42, 0), "42");
    EXPECT_EQ(Iwm(0, 3, 0), "   ");
    EXPECT_EQ(Iwm(5, 3, 0), "  5");
    EXPECT_EQ(Iwm(0, 0, 0), " ");
    EXPECT_EQ(Iwm(7, 2, 3), "**");
    EXPECT_EQ(I0(kMin), "-9223372036854775808");
    EXPECT_EQ(I(kMin, 20), "-9223372036854775808");
    EXPECT_EQ(I(kMin, 19), std::string(19, '*'));
}

// Aw writes the leftmost w characters, or right-justifies a shorter value.
TEST(FortranFormatHand, TextAndSpacing) {
    EXPECT_EQ(A("CLAY", 6), "  CLAY");
    EXPECT_EQ(A("CLAYEY SILT", 6), "CLAYEY");
    EXPECT_EQ(A("SAND", 4), "SAND");
    EXPECT_EQ(A("", 2), "  ");
    EXPECT_EQ(A("SAND", 0), "");
    EXPECT_EQ(X(3), "   ");
    EXPECT_EQ(X(0), "");
    EXPECT_EQ(A("P1", 4) + X(2) + F(1.5, 5, 1), "  P1    1.5");
}

}  // namespace

// Ew.d of a value, written from the exact rounding that std::to_chars gives
// the binary value at d significant digits ("d.ddde+pp" becomes "0.dddE+pp+1").
std::string ExactE(double value, int decimals) {
    char text[64];
    const auto done = std::to_chars(text, text + sizeof text, std::fabs(value), std::chars_format::scientific,
                                    decimals - 1);
    const std::string_view written(text, static_cast<std::size_t>(done.ptr - text));
    const std::size_t e = written.find('e');
    std::string digits;
    for (char c : written.substr(0, e)) {
        if (c != '.') digits += c;
    }
    const int power = *ParseNumber<int>(written.substr(e + (written[e + 1] == '+' ? 2 : 1))) + 1;
    const int magnitude = power < 0 ? -power : power;
    std::string exponent = std::to_string(magnitude);
    if (exponent.size() < 2) exponent.insert(0, 1, '0');
    std::string field = std::signbit(value) ? "-0." : "0.";
    field += digits;
    field += magnitude > 99 ? "" : "E";
    field += power < 0 ? '-' : '+';
    field += exponent;
    return field;
}

// Ew.d rounds the exact binary value, ties to even, however it forms the
// digits: doubles at and beside decimal midpoints (where rounding a shorter
// decimal form of the value would go the other way), values that are
// midpoints exactly, carries through nines, and values over the whole
// exponent range, subnormal ones included.
TEST(FortranFormatRounding, EDigitsRoundTheExactBinaryValue) {
    std::vector<std::pair<double, int>> cases;  // value, d
    for (int d = 1; d <= 17; ++d) {
        for (const char* mantissa : {"1", "12345678901234567", "99999999999999999", "31415926535897932",
                                     "50000000000000000", "24999999999999999"}) {
            for (int power : {-300, -20, -1, 0, 3, 22, 300}) {
                // The decimal midpoint after d digits of the mantissa.
                std::string text = std::string(mantissa).substr(0, static_cast<std::size_t>(d)) + "5e" +
                                   std::to_string(power);
                const double v = *ParseNumber<double>(text);
                for (double x : {v, std::nextafter(v, 0.0), std::nextafter(v, 1.0e308), -v}) cases.push_back({x, d});
            }
        }
        for (double x : {0.125, 2.5, 0.375, 1.5, 0.15, 2.675, 9.9999995, 0.99999999999999989, 1.0e23, 5.0e-324,
                         2.2250738585072014e-308, 1.7976931348623157e308}) {
            cases.push_back({x, d});
        }
    }
    std::mt19937_64 bits(20240305);
    for (int i = 0; i < 20000; ++i) {
        double x = 0.0;
        std::uint64_t b = bits();
        if (i % 4 == 0) b &= ~(std::uint64_t{0x7FF} << 52);  // a subnormal value
        if (i % 4 == 1) {  // a value between about 1e-18 and 1e27, where results mostly lie
            b = (b & ~(std::uint64_t{0x7FF} << 52)) | (std::uint64_t{1023 - 60 + bits() % 150} << 52);
        }
        std::memcpy(&x, &b, sizeof x);
        if (!std::isfinite(x) || x == 0.0) continue;
        cases.push_back({x, 1 + i % 17});
    }
    for (const auto& [x, d] : cases) {
        const std::string exact = ExactE(x, d);
        EXPECT_EQ(E(x, 0, d), exact) << "E0." << d << " of " << std::hexfloat << x;
        // A field of fixed width, right-justified (the form the records use).
        const int width = static_cast<int>(exact.size()) + 2;
        EXPECT_EQ(E(x, width, d), "  " + exact) << "E" << width << "." << d << " of " << std::hexfloat << x;
    }
}
