#include "input/list_directed.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdint>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace trevasc::input {
namespace {

constexpr std::size_t kCharLength = 16;  // the reference reads character(16)

// ---------------------------------------------------------------------------
// Cases in the notation of the Fortran reference table: the items of one read
// (I integer, R real, C character, L logical), the input text and the result
// ("v1 ; v2 ; ...", or "ERROR n").

struct Case {
    std::string items;
    std::string text;
    std::string result;
    int source_line = 0;  // line of the reference table, 0 for cases written here
};

std::string JsonUnescape(std::string_view quoted) {
    std::string out;
    if (quoted.size() < 2 || quoted.front() != '"' || quoted.back() != '"') {
        ADD_FAILURE() << "not a JSON string: " << quoted;
        return out;
    }
    const std::string_view body = quoted.substr(1, quoted.size() - 2);
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (body[i] != '\\' || i + 1 == body.size()) {
            out += body[i];
            continue;
        }
        const char c = body[++i];
        switch (c) {
            case 'n': out += '\n'; break;
            case 't': out += '\t'; break;
            case 'r': out += '\r'; break;
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            case '/': out += '/'; break;
            case 'u': {
                unsigned code = 0;
                const auto [p, ec] = std::from_chars(body.data() + i + 1, body.data() + i + 5, code, 16);
                if (ec != std::errc() || p != body.data() + i + 5 || code > 0x7f) {
                    ADD_FAILURE() << "unsupported escape in " << quoted;
                }
                out += static_cast<char>(code);
                i += 4;
                break;
            }
            default: ADD_FAILURE() << "unknown escape \\" << c << " in " << quoted;
        }
    }
    return out;
}

std::vector<std::string> Split(std::string_view text, std::string_view separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = text.find(separator, start);
        parts.emplace_back(text.substr(start, at - start));
        if (at == std::string_view::npos) return parts;
        start = at + separator.size();
    }
}

std::vector<Case> LoadReferenceTable() {
    const std::string path = std::string(TREVASC_REFERENCE_DIR) + "/fortran_list_directed_input.tsv";
    std::ifstream in(path);
    EXPECT_TRUE(in.is_open()) << path;
    std::vector<Case> cases;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (line.empty() || line[0] == '#') continue;
        const std::vector<std::string> columns = Split(line, "\t");
        if (columns.size() != 3) {
            ADD_FAILURE() << "line " << number << ": expected 3 columns: " << line;
            continue;
        }
        cases.push_back({columns[0], JsonUnescape(columns[1]), columns[2], number});
    }
    return cases;
}

// What one read left in its items. Logicals are tracked as -1 (unchanged),
// 0 or 1; the others start from the table's initial values.
struct Item {
    std::int32_t i = -777;
    double r = -777.0;
    std::string c = "<unset>";
    int l = -1;
};

struct Outcome {
    ReadFailure failure = ReadFailure::None;
    std::vector<Item> items;
};

Outcome RunOnce(const std::string& kinds, const std::string& text, bool logical_start) {
    run::InputFile file(text);
    Outcome outcome;
    outcome.items.resize(kinds.size());
    std::vector<bool> logicals(kinds.size(), logical_start);
    {
        ListDirectedRead read(file);
        for (std::size_t k = 0; k < kinds.size(); ++k) {
            Item& item = outcome.items[k];
            switch (kinds[k]) {
                case 'I': read.Integer(item.i); break;
                case 'R': read.Real(item.r); break;
                case 'C': read.Character(item.c, kCharLength); break;
                case 'L': {
                    bool value = logical_start;
                    read.Logical(value);
                    logicals[k] = value;
                    break;
                }
                default: ADD_FAILURE() << "unknown item kind " << kinds[k];
            }
        }
        outcome.failure = read.failure();
    }
    for (std::size_t k = 0; k < kinds.size(); ++k) {
        if (kinds[k] == 'L') outcome.items[k].l = logicals[k] ? 1 : 0;
    }
    return outcome;
}

// A logical left alone keeps whatever it started with, so the read is done
// from both starting values: an item that follows the start was not assigned.
Outcome Run(const std::string& kinds, const std::string& text) {
    Outcome from_false = RunOnce(kinds, text, false);
    const Outcome from_true = RunOnce(kinds, text, true);
    for (std::size_t k = 0; k < kinds.size(); ++k) {
        if (kinds[k] == 'L' && from_false.items[k].l != from_true.items[k].l) from_false.items[k].l = -1;
    }
    return from_false;
}

std::string ExpectedCharacter(const std::string& printed) {
    if (printed == "<unset>") return printed;
    if (printed.size() < 2 || printed.front() != '[' || printed.back() != ']') {
        ADD_FAILURE() << "bad character value " << printed;
        return {};
    }
    std::string value = printed.substr(1, printed.size() - 2);
    // The table shows the blank padding collapsed; the variable holds it in full.
    while (!value.empty() && value.back() == ' ') value.pop_back();
    EXPECT_LE(value.size(), kCharLength) << printed;
    value.resize(kCharLength, ' ');
    return value;
}

template <typename T>
T Number(const std::string& printed) {
    T value{};
    const auto [p, ec] = std::from_chars(printed.data(), printed.data() + printed.size(), value);
    EXPECT_TRUE(ec == std::errc() && p == printed.data() + printed.size()) << "bad number " << printed;
    return value;
}

// Compares one case. A result may end in "ERROR n" after the values of the
// items read before the failure. The Fortran runtime accepts NaN and infinite
// reals; this reader rejects them, so where the table shows one the read must
// fail on that item and leave it unchanged.
void Check(const Case& c) {
    SCOPED_TRACE("items " + c.items + ", input \"" + c.text + "\"" +
                 (c.source_line > 0 ? ", table line " + std::to_string(c.source_line) : ""));
    const Outcome got = Run(c.items, c.text);

    std::vector<std::string> values = Split(c.result, " ; ");
    ReadFailure expected_failure = ReadFailure::None;
    if (values.back().rfind("ERROR ", 0) == 0) {
        const std::string code = values.back().substr(6);
        values.pop_back();
        if (code == "-1") {
            expected_failure = ReadFailure::EndOfFile;
        } else if (code == "5010") {
            expected_failure = ReadFailure::BadValue;
        } else {
            ADD_FAILURE() << "unknown error code " << code;
        }
        ASSERT_LT(values.size(), c.items.size()) << c.result;
    } else {
        ASSERT_EQ(values.size(), c.items.size()) << c.result;
    }

    bool rejected = false;
    for (std::size_t k = 0; k < values.size(); ++k) {
        SCOPED_TRACE("item " + std::to_string(k + 1));
        const std::string& v = values[k];
        const Item& item = got.items[k];
        switch (c.items[k]) {
            case 'I': EXPECT_EQ(item.i, Number<std::int32_t>(v)); break;
            case 'R':
                if (v == "NaN" || v.find("Infinity") != std::string::npos) {
                    expected_failure = ReadFailure::BadValue;
                    rejected = true;
                    EXPECT_EQ(item.r, -777.0) << "a rejected value must not be stored";
                } else {
                    EXPECT_EQ(item.r, Number<double>(v));
                }
                break;
            case 'C': EXPECT_EQ(item.c, ExpectedCharacter(v)); break;
            case 'L': EXPECT_EQ(item.l, v == "<unset>" ? -1 : v == "T" ? 1 : v == "F" ? 0 : -2) << v; break;
            default: ADD_FAILURE() << "unknown item kind";
        }
        if (rejected) break;  // later items are not read
    }
    EXPECT_EQ(got.failure, expected_failure);
}

TEST(ListDirectedReference, MatchesFortranRuntimeOnEveryRow) {
    const std::vector<Case> cases = LoadReferenceTable();
    ASSERT_FALSE(cases.empty());
    for (const Case& c : cases) Check(c);
}

// Where this reader departs from the runtime on purpose, and the edges of the
// accepted ranges next to those departures.
TEST(ListDirectedRead, RejectsNonFiniteAndOutOfRangeNumbers) {
    const std::vector<Case> cases = {
        {"R", "NaN", "ERROR 5010"},
        {"R", "nan", "ERROR 5010"},
        {"R", "Inf", "ERROR 5010"},
        {"R", "Infinity", "ERROR 5010"},
        {"R", "-Infinity", "ERROR 5010"},
        {"R", "1.0E400", "ERROR 5010"},
        {"R", "-1.0D400", "ERROR 5010"},
        {"R", "1.7976931348623159E308", "ERROR 5010"},  // rounds past the largest double
        {"R", "1E99999999999999999999", "ERROR 5010"},
        {"IR", "3 1.0E400", "3 ; ERROR 5010"},
        {"I", "2147483648", "ERROR 5010"},
        {"I", "-2147483649", "ERROR 5010"},
        {"I", "2147483647", "2147483647"},
        {"I", "-2147483648", "-2147483648"},
        {"I", "0000000000002147483647", "2147483647"},
        {"R", "1.7976931348623157E308", "1.79769313486231571E+308"},
        // Underflow gives zero, as the runtime does: a value this small is zero
        // for any analysis.
        {"R", "1.0E-400", "0.00000000000000000E+00"},
        {"R", "0.00001E-320", "0.00000000000000000E+00"},
    };
    for (const Case& c : cases) Check(c);
}

// Further list-directed rules, each expected result worked out from the rules
// for free-format input.
TEST(ListDirectedRead, FollowsFreeFormatRules) {
    const std::vector<Case> cases = {
        // number forms
        {"RRRR", "1.5+3 2.5-1 -.5 7.E1", "1500 ; 0.25 ; -0.5 ; 70"},
        {"RR", "1.5q2 +0.125D+01", "150 ; 1.25"},
        {"I", "007", "7"},
        {"R", ".", "ERROR 5010"},
        {"R", "+", "ERROR 5010"},
        {"R", "1e+", "ERROR 5010"},
        {"R", "1.5E3.0", "ERROR 5010"},
        {"R", "1.5x", "ERROR 5010"},
        {"R", "'1.5'", "ERROR 5010"},
        {"I", "'5'", "ERROR 5010"},
        {"I", "1+2", "ERROR 5010"},
        // repeat counts and null values
        {"IR", "2*7", "7 ; 7"},
        {"RRR", "2*5/ 9", "5 ; 5 ; -777"},
        {"RRR", "1 2* 9", "1 ; -777 ; -777"},
        {"CC", "2*'a b'", "[a b] ; [a b]"},
        {"RR", "0*5 1", "ERROR 5010"},
        {"RR", ",5", "-777 ; 5"},
        {"RRR", ",,5", "-777 ; -777 ; 5"},
        // records: an end of record is a blank, blank records are skipped
        {"RR", "1\n,3", "1 ; 3"},
        {"RRR", "1,\n,3", "1 ; -777 ; 3"},
        {"RR", "1\n\n \t \n2", "1 ; 2"},
        {"RR", "\n\n1 2", "1 ; 2"},
        {"RR", "1,\n", "ERROR -1"},
        {"R", "\n\n", "ERROR -1"},
        // character values
        {"CI", "'it''s' 3", "[it's] ; 3"},
        {"CI", "\"say \"\"hi\"\"\" 3", "[say \"hi\"] ; 3"},
        {"CI", "\"a,b/c\" 5", "[a,b/c] ; 5"},
        {"CI", "'abc\n5", "[abc] ; 5"},  // an open quote ends with its record
        {"CI", "'abc'x 5", "ERROR 5010"},
        {"CI", "'abc',5", "[abc] ; 5"},
        {"CI", "12 5", "[12] ; 5"},
        {"CI", "''", "[] ; ERROR -1"},  // an empty quoted value is all blanks
        // logical values
        {"LLLLLLLL", ".T. .F. .true. .False. tRuE fish t/ F", "T ; F ; T ; F ; T ; F ; T ; <unset>"},
        {"L", ".x", "ERROR 5010"},
        {"L", "yes", "ERROR 5010"},
        {"L", "'T'", "ERROR 5010"},
        {"LI", "2*f", "ERROR 5010"},
        {"LL", "2*f", "F ; F"},
    };
    for (const Case& c : cases) Check(c);
}

TEST(ListDirectedRead, ReportsWhereAndWhatFailed) {
    run::InputFile file("1 2\n3 x 4\n");
    ListDirectedRead read(file);
    std::int32_t a = 0, b = 0, c = 0, d = -5;
    double r = -1.5;
    EXPECT_TRUE(read.Integer(a));
    EXPECT_TRUE(read.Integer(b));
    EXPECT_TRUE(read.Integer(c));
    EXPECT_FALSE(read.Integer(d));
    EXPECT_FALSE(read.Real(r));  // everything after a failure fails
    EXPECT_EQ(c, 3);
    EXPECT_EQ(d, -5);
    EXPECT_EQ(r, -1.5);
    EXPECT_FALSE(read.ok());
    EXPECT_EQ(read.failure(), ReadFailure::BadValue);
    EXPECT_EQ(read.failure_line(), 2);
    EXPECT_EQ(read.failure_text(), "3 x 4");
    EXPECT_EQ(read.expected(), "an integer");
}

// The readers of the input file take reals through PlausibleReal: besides 0,
// only magnitudes from 1E-30 to 1E+30 pass. A constant that underflows to 0
// was not written as 0 and fails too; a null value leaves the variable alone
// and is no failure.
TEST(ListDirectedRead, PlausibleRealRefusesMagnitudesNoPileProblemHas) {
    struct MagnitudeCase {
        const char* text;
        bool accepted;
        double value;  // when accepted
    };
    const MagnitudeCase cases[] = {
        {"0", true, 0.0},
        {"-0.0E5", true, 0.0},
        {"1.0E-30", true, 1.0e-30},
        {"-1.0E30", true, -1.0e30},
        {"29000000.", true, 29.0e6},
        {"9.9E-31", false, 0},
        {"1.01E30", false, 0},
        {"1E300", false, 0},           // a head slope typed in place of 1E-3
        {"1E308", false, 0},
        {"4.9E-324", false, 0},        // subnormal
        {"1.0E-400", false, 0},        // underflows to 0 but was not written as 0
        {"0.00001E-320", false, 0},
        {"2.5-40", false, 0},          // exponent without its letter
        {",,", true, -777.0},          // a null value: unchanged
    };
    for (const MagnitudeCase& c : cases) {
        run::InputFile file(std::string("7 ") + c.text + " 8\n");
        ListDirectedRead read(file);
        std::int32_t before = 0;
        double value = -777.0;
        ASSERT_TRUE(read.Integer(before));
        EXPECT_EQ(read.PlausibleReal(value), c.accepted) << c.text;
        if (c.accepted) {
            EXPECT_EQ(value, c.value) << c.text;
        } else {
            EXPECT_EQ(read.failure(), ReadFailure::AbsurdMagnitude) << c.text;
            EXPECT_EQ(read.failure_line(), 1);
            EXPECT_EQ(read.failed_value(), c.text);
        }
        // Plain Real keeps the runtime's rules: the same constants read.
        run::InputFile again(std::string(c.text) + "\n");
        ListDirectedRead plain(again);
        double any = 0.0;
        EXPECT_TRUE(plain.Real(any)) << c.text;
    }
}

TEST(ListDirectedRead, ReportsEndOfFileAfterTheLastRecord) {
    run::InputFile file("label\n\n2.5\n");
    ListDirectedRead read(file);
    std::string name;
    double x = 0.0;
    bool flag = true;
    EXPECT_TRUE(read.Character(name, 8));
    EXPECT_TRUE(read.Real(x));
    EXPECT_FALSE(read.Logical(flag));
    EXPECT_EQ(name, "label   ");
    EXPECT_EQ(x, 2.5);
    EXPECT_TRUE(flag);
    EXPECT_EQ(read.failure(), ReadFailure::EndOfFile);
    EXPECT_EQ(read.failure_line(), 4);
    EXPECT_EQ(read.failure_text(), "");
    EXPECT_EQ(read.expected(), "a logical value");
}

TEST(ListDirectedRead, EachStatementStartsOnTheRecordAfterTheLastOneRead) {
    run::InputFile file("1 2\n3 4 5\n6 / 7\n8\n");
    std::int32_t a = 0, b = 0, c = 0;
    {
        ListDirectedRead read(file);
        EXPECT_TRUE(read.Integer(a));
        EXPECT_TRUE(read.Integer(b));
        EXPECT_TRUE(read.Integer(c));  // continues on the second record
    }
    EXPECT_EQ(c, 3);
    EXPECT_EQ(file.LineNumber(), 2);
    {
        ListDirectedRead read(file);  // 4 and 5 are left behind
        EXPECT_TRUE(read.Integer(a));
        EXPECT_TRUE(read.Integer(b));  // the slash ends the statement
        read.Finish();
        EXPECT_TRUE(read.ok());
    }
    EXPECT_EQ(a, 6);
    EXPECT_EQ(b, 2);
    {
        ListDirectedRead read(file);
        EXPECT_TRUE(read.Integer(a));
    }
    EXPECT_EQ(a, 8);
    {
        ListDirectedRead read(file);
        EXPECT_FALSE(read.Integer(a));
        EXPECT_EQ(read.failure(), ReadFailure::EndOfFile);
        EXPECT_EQ(read.failure_line(), 5);
    }
}

TEST(ListDirectedRead, StatementWithoutItemsSkipsOneRecord) {
    run::InputFile file("title line\n7\n");
    { ListDirectedRead skip(file); }
    std::int32_t n = 0;
    ListDirectedRead read(file);
    EXPECT_TRUE(read.Integer(n));
    EXPECT_EQ(n, 7);
}

// Data lines are read whole: values past column 256 are not lost (a padded
// line once dropped its last value, e50 = 0.02 becoming the default), and a
// line too long to be held whole is refused rather than read in part.
TEST(ListDirectedRead, DataLinesAreReadWholeNotCutAtColumn256) {
    struct LineCase {
        const char* what;
        std::string line;
        std::vector<double> values;  // read as reals
        ReadFailure failure;
    };
    const LineCase kCases[] = {
        {"value across column 256", std::string(253, ' ') + "12345", {12345.0}, ReadFailure::None},
        {"value after column 256", std::string(300, ' ') + "0.02", {0.02}, ReadFailure::None},
        {"second value after column 256", "50.0 300.0" + std::string(300, ' ') + "0.02", {50.0, 300.0, 0.02},
         ReadFailure::None},
        {"line of the longest length", std::string(run::kMaxLineLength - 4, ' ') + "0.02", {0.02}, ReadFailure::None},
        {"line one longer", std::string(run::kMaxLineLength - 3, ' ') + "0.02", {0.0}, ReadFailure::LineTooLong},
        {"long line with its value in front", "7" + std::string(run::kMaxLineLength, ' '), {0.0},
         ReadFailure::LineTooLong},
    };
    for (const LineCase& c : kCases) {
        SCOPED_TRACE(c.what);
        run::InputFile file("1\n" + c.line + "\n");
        { ListDirectedRead skip(file); }
        ListDirectedRead read(file);
        std::vector<double> values(c.values.size(), 0.0);
        for (double& value : values) read.Real(value);
        EXPECT_EQ(read.failure(), c.failure);
        if (c.failure == ReadFailure::None) {
            EXPECT_EQ(values, c.values);
        }
        if (c.failure == ReadFailure::LineTooLong) {
            EXPECT_EQ(read.failure_line(), 2);
            EXPECT_EQ(read.failure_text().size(), run::kMaxLineLength);
        }
    }
}

// ---------------------------------------------------------------------------
// InputFile

TEST(InputFile, SplitsLinesAndDropsCarriageReturns) {
    run::InputFile file("10 abc\r\n\r\nlast\r");
    std::string record;
    ASSERT_TRUE(file.ReadRecord(record));
    EXPECT_EQ(record, "10 abc");
    ASSERT_TRUE(file.ReadRecord(record));
    EXPECT_EQ(record, "");
    ASSERT_TRUE(file.ReadRecord(record));
    EXPECT_EQ(record, "last");
    EXPECT_TRUE(file.AtEnd());
    EXPECT_FALSE(file.ReadRecord(record));
}

TEST(InputFile, FinalNewlineDoesNotAddARecord) {
    run::InputFile file("a\nb\n");
    std::string record;
    EXPECT_TRUE(file.ReadRecord(record));
    EXPECT_TRUE(file.ReadRecord(record));
    EXPECT_FALSE(file.ReadRecord(record));

    run::InputFile empty("");
    EXPECT_TRUE(empty.AtEnd());
    EXPECT_FALSE(empty.ReadRecord(record));
}

TEST(InputFile, ListDirectedReadOfCrLfFile) {
    run::InputFile file("10 abc\r\n20\r\n");
    std::int32_t n = 0;
    std::string name;
    {
        ListDirectedRead read(file);
        EXPECT_TRUE(read.Integer(n));
        EXPECT_TRUE(read.Character(name, 4));
    }
    EXPECT_EQ(n, 10);
    EXPECT_EQ(name, "abc ");
    EXPECT_EQ(file.LastLine(), "10 abc");
    ListDirectedRead read(file);
    EXPECT_TRUE(read.Integer(n));
    EXPECT_EQ(n, 20);
}

TEST(InputFile, ReadRecordCutsAtRecordLengthReadLineDoesNot) {
    std::string line;
    for (int i = 0; i < 30; ++i) line += "0123456789";  // 300 characters
    run::InputFile file(line + "\n" + line + "\n");
    std::string text;
    ASSERT_TRUE(file.ReadRecord(text));
    EXPECT_EQ(text.size(), 256u);
    EXPECT_EQ(text, line.substr(0, 256));
    EXPECT_EQ(file.LastLine(), line);
    ASSERT_TRUE(file.ReadLine(text));
    EXPECT_EQ(text, line);
}

TEST(InputFile, TracksLineNumberAndRewinds) {
    run::InputFile file("first\nsecond\n");
    std::string text;
    EXPECT_EQ(file.LineNumber(), 0);
    EXPECT_EQ(file.LastLine(), "");
    EXPECT_FALSE(file.AtEnd());
    ASSERT_TRUE(file.ReadRecord(text));
    EXPECT_EQ(file.LineNumber(), 1);
    EXPECT_EQ(file.LastLine(), "first");
    ASSERT_TRUE(file.ReadLine(text));
    EXPECT_EQ(file.LineNumber(), 2);
    EXPECT_EQ(file.LastLine(), "second");
    EXPECT_TRUE(file.AtEnd());
    EXPECT_FALSE(file.ReadRecord(text));
    EXPECT_EQ(file.LineNumber(), 2);  // a failed read moves nothing
    EXPECT_EQ(file.LastLine(), "second");

    file.Rewind();
    EXPECT_EQ(file.LineNumber(), 0);
    EXPECT_EQ(file.LastLine(), "");
    EXPECT_FALSE(file.AtEnd());
    ASSERT_TRUE(file.ReadRecord(text));
    EXPECT_EQ(text, "first");
    EXPECT_EQ(file.LineNumber(), 1);
}

// Line ends of every platform, and a UTF-8 byte-order mark, read alike,
// from memory and from a file, also where a line end straddles the chunks
// in which a file is read.
TEST(InputFile, LineEndsAndByteOrderMark) {
    const std::string chunk_edge(65535, 'x');  // the CR of its CRLF is the last byte of the first chunk
    struct EndsCase {
        const char* what;
        std::string text;
        std::vector<std::string> lines;
    };
    const EndsCase kCases[] = {
        {"LF", "TREVAS6\nb\n", {"TREVAS6", "b"}},
        {"CRLF", "TREVAS6\r\nb\r\n", {"TREVAS6", "b"}},
        {"CR", "TREVAS6\rb\r", {"TREVAS6", "b"}},
        {"no final line end", "TREVAS6\rb", {"TREVAS6", "b"}},
        {"mixed, with empty lines", "a\r\n\rb\n\n\r\nc", {"a", "", "b", "", "", "c"}},
        {"LF then CR is two line ends", "a\n\rb", {"a", "", "b"}},
        {"byte-order mark", "\xEF\xBB\xBFTREVAS6\r\nb", {"TREVAS6", "b"}},
        {"byte-order mark alone", "\xEF\xBB\xBF", {}},
        {"mark-like bytes later are kept", "a\n\xEF\xBB\xBF", {"a", "\xEF\xBB\xBF"}},
        {"half a mark is text", "\xEF\xBB" "a", {"\xEF\xBB" "a"}},
        {"CRLF across the chunk edge", chunk_edge + "\r\nb", {chunk_edge, "b"}},
    };
    for (const EndsCase& c : kCases) {
        SCOPED_TRACE(c.what);
        const std::string path = ::testing::TempDir() + "input_file_line_ends.txt";
        {
            std::ofstream out(path, std::ios::binary);
            out << c.text;
        }
        run::InputFile from_file;
        ASSERT_TRUE(from_file.Open(path));
        run::InputFile in_memory(c.text);
        for (run::InputFile* file : {&in_memory, &from_file}) {
            for (int pass = 0; pass < 2; ++pass) {  // a rewound file skips the mark again
                std::vector<std::string> lines;
                std::string line;
                while (file->ReadLine(line)) lines.push_back(line);
                EXPECT_EQ(lines, c.lines);
                EXPECT_EQ(file->LineNumber(), static_cast<int>(c.lines.size()));
                EXPECT_EQ(file->ReadError(), 0);
                file->Rewind();
            }
        }
        std::remove(path.c_str());
    }
}

TEST(InputFile, ByteOrderMarkNoLongerHidesTheVersionTag) {
    run::InputFile file("\xEF\xBB\xBFTREVAS6\r\n");
    ListDirectedRead read(file);
    std::string tag;
    EXPECT_TRUE(read.Character(tag, 7));
    EXPECT_EQ(tag, "TREVAS6");
}

TEST(InputFile, AFolderCannotBeReadAndSaysSo) {
    run::InputFile file;
    ASSERT_TRUE(file.Open(::testing::TempDir()));
    std::string line;
    EXPECT_FALSE(file.ReadLine(line));
    EXPECT_EQ(file.ReadError(), EISDIR);

    run::InputFile missing;
    EXPECT_FALSE(missing.Open(::testing::TempDir() + "no-such-file.trv"));
    EXPECT_EQ(missing.ReadError(), ENOENT);
}

}  // namespace
}  // namespace trevasc::input
