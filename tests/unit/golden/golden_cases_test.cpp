// Golden cases: every folder of the cases directory holds an input file and
// the report, plot file and run messages it must produce, each checked by
// hand against the design before it was committed. The run is compared byte
// for byte, with the two report lines that depend on the moment and the place
// of the run masked: the date and time, and the directory of the input file.
//
// On a difference the test prints a unified diff and keeps the actual files
// in golden-actual/<case>/ of the build directory. With the environment
// variable TREVASC_UPDATE_GOLDEN=1 it rewrites the expected files instead;
// they must then be checked again before they are committed.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <iostream>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/run_fixture.hpp"

namespace trevasc::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kCasesDir = TREVASC_TEST_CASES_DIR;

std::vector<std::string> CaseNames() {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(kCasesDir, error)) {
        if (entry.is_directory() && fs::exists(entry.path() / "input.trv")) names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The date line and the directory of the input file change from run to run.
std::string MaskReport(const std::string& report) {
    const std::string date_prefix = std::string(15, ' ') + "Date:  ";
    const std::string path_prefix = "Path to file locations:        ";
    std::string masked;
    for (const std::string& line : SplitLines(report)) {
        if (line.rfind(date_prefix, 0) == 0) {
            masked += date_prefix + "<masked>";
        } else if (line.rfind(path_prefix, 0) == 0) {
            masked += path_prefix + "<masked>";
        } else {
            masked += line;
        }
        masked += '\n';
    }
    return masked;
}

// A unified diff of two texts by lines (longest common subsequence), with
// three lines of context around every change.
std::string UnifiedDiff(const std::string& expected_text, const std::string& actual_text, const std::string& name) {
    const std::vector<std::string> a = SplitLines(expected_text);
    const std::vector<std::string> b = SplitLines(actual_text);
    const std::size_t n = a.size(), m = b.size();
    std::vector<std::vector<int>> lcs(n + 1, std::vector<int>(m + 1, 0));
    for (std::size_t i = n; i-- > 0;) {
        for (std::size_t j = m; j-- > 0;) {
            lcs[i][j] = a[i] == b[j] ? lcs[i + 1][j + 1] + 1 : std::max(lcs[i + 1][j], lcs[i][j + 1]);
        }
    }
    struct Op {
        char kind;  // ' ', '-', '+'
        std::size_t ia, ib;
    };
    std::vector<Op> ops;
    std::size_t i = 0, j = 0;
    while (i < n || j < m) {
        if (i < n && j < m && a[i] == b[j]) {
            ops.push_back({' ', i++, j++});
        } else if (i < n && (j == m || lcs[i + 1][j] >= lcs[i][j + 1])) {
            ops.push_back({'-', i++, j});
        } else {
            ops.push_back({'+', i, j++});
        }
    }
    constexpr std::size_t kContext = 3;
    std::ostringstream out;
    out << "--- expected/" << name << "\n+++ actual/" << name << "\n";
    std::size_t k = 0;
    while (k < ops.size()) {
        if (ops[k].kind == ' ') {
            ++k;
            continue;
        }
        // A hunk: from kContext lines before this change to kContext lines
        // after the last change that lies within 2 * kContext of the next.
        const std::size_t start = k >= kContext ? k - kContext : 0;
        std::size_t end = k;
        while (end < ops.size()) {
            std::size_t next = end;
            while (next < ops.size() && ops[next].kind == ' ') ++next;
            if (next == ops.size() || next - end > 2 * kContext) break;
            end = next + 1;
        }
        end = std::min(ops.size(), end + kContext);
        std::size_t a_count = 0, b_count = 0;
        for (std::size_t h = start; h < end; ++h) {
            if (ops[h].kind != '+') ++a_count;
            if (ops[h].kind != '-') ++b_count;
        }
        out << "@@ -" << ops[start].ia + 1 << "," << a_count << " +" << ops[start].ib + 1 << "," << b_count << " @@\n";
        for (std::size_t h = start; h < end; ++h) {
            const std::string& line = ops[h].kind == '+' ? b[ops[h].ib] : a[ops[h].ia];
            out << ops[h].kind << line << "\n";
        }
        k = end;
    }
    return out.str();
}

class GoldenCase : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenCase, MatchesItsExpectedOutputs) {
    const std::string name = GetParam();
    const fs::path dir = kCasesDir / name;
    const RunOutput out = RunInputFile(dir / "input.trv");
    struct File {
        std::string name;
        std::string actual;
    };
    const File files[] = {
        {"report.txt", MaskReport(out.report)},
        {"plot.txt", out.plot},
        {"messages.txt", out.messages},
    };
    const char* update = std::getenv("TREVASC_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        fs::create_directories(dir / "expected");
        for (const File& file : files) WriteFile(dir / "expected" / file.name, file.actual);
        std::cout << "Rewrote the expected files of " << name << "; check them before committing.\n";
        return;
    }
    const fs::path keep = fs::path(TREVASC_SHARED_LIBRARY).parent_path() / "golden-actual" / name;
    bool kept = false;
    for (const File& file : files) {
        const fs::path expected_path = dir / "expected" / file.name;
        ASSERT_TRUE(fs::exists(expected_path)) << expected_path.filename() << " is missing for " << name;
        const std::string expected = ReadFile(expected_path);
        if (expected == file.actual) continue;
        if (!kept) {
            fs::create_directories(keep);
            for (const File& f : files) WriteFile(keep / f.name, f.actual);
            kept = true;
        }
        ADD_FAILURE() << name << "/" << file.name << " differs (actual files kept in " << keep.string() << "):\n"
                      << UnifiedDiff(expected, file.actual, file.name);
    }
}

// Words that a not-a-number or infinite value prints as ("NaN", "Infinity",
// "-inf", "Not-a-Number"), found as whole alphabetic words in any case.
bool HasNonFiniteWord(const std::string& line) {
    std::string lower;
    for (char c : line) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower.find("not-a-number") != std::string::npos) return true;
    std::size_t i = 0;
    while (i < lower.size()) {
        if (!std::isalpha(static_cast<unsigned char>(lower[i]))) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < lower.size() && std::isalpha(static_cast<unsigned char>(lower[end]))) ++end;
        const std::string word = lower.substr(i, end - i);
        if (word == "nan" || word == "inf" || word == "infinity") return true;
        i = end;
    }
    return false;
}

// A run that says it ended normally (or with warnings) has sound numbers:
// none of its three files holds a value that is not a finite number. The
// expected files are the outputs, byte for byte (the test above).
TEST_P(GoldenCase, NormallyEndedRunsHoldOnlyFiniteNumbers) {
    const fs::path expected = kCasesDir / GetParam() / "expected";
    const std::vector<std::string> report = SplitLines(ReadFile(expected / "report.txt"));
    if (std::find(report.begin(), report.end(), "The analysis ended normally. ") == report.end()) {
        GTEST_SKIP() << "the run ends with an error";
    }
    for (const char* name : {"report.txt", "plot.txt", "messages.txt"}) {
        int number = 0;
        for (const std::string& line : SplitLines(ReadFile(expected / name))) {
            ++number;
            EXPECT_FALSE(HasNonFiniteWord(line)) << name << " line " << number << ": " << line;
        }
    }
}

TEST(GoldenCaseScan, NonFiniteWordsAreFound) {
    struct Case {
        const char* line;
        bool found;
    };
    const Case cases[] = {
        {"  0.1200000E+02            NaN  0.4093633E+06", true},
        {"Pile-head deflection = -Infinity inches", true},
        {"y = -inf", true},
        {"The computed value is Not-a-Number", true},
        {"Information on nanometre-scale influence", false},
        {"  0.1200000E+02  0.1440467E+00", false},
    };
    for (const Case& c : cases) EXPECT_EQ(HasNonFiniteWord(c.line), c.found) << c.line;
}

std::string CaseName(const ::testing::TestParamInfo<std::string>& param) {
    std::string name = param.param;
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenCase, ::testing::ValuesIn(CaseNames()), CaseName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(GoldenCase);

}  // namespace
}  // namespace trevasc::testing
