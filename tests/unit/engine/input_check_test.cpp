// Checking an input without analysing it: each mistake is reported on the
// line of the value that holds it, valid values that look mistyped are
// warned about without refusing the file, and a clean file is summarised.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/run_fixture.hpp"
#include "trevasc/check.hpp"

namespace trevasc::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = fs::path(TREVASC_TEST_CASES_DIR) / ".." / ".." / "examples";

// The SI drilled shaft of the examples, with `from` replaced by `to`.
std::string ShaftWith(const std::string& from, const std::string& to) {
    std::string text = ReadFile(kExamples / "rc-drilled-shaft" / "shaft-si.trv");
    if (from.empty()) return text;
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

// The 1-based number of the first line of `text` that starts with `start`.
int LineOf(const std::string& text, const std::string& start) {
    int line = 0;
    for (const std::string& l : SplitLines(text)) {
        ++line;
        if (l.rfind(start, 0) == 0) return line;
    }
    return 0;
}

InputCheck CheckText(const TempDir& dir, const std::string& text) {
    const fs::path file = dir.path() / "input.trv";
    WriteFile(file, text);
    return CheckInput(file.string());
}

const InputFinding* Find(const InputCheck& check, FindingKind kind, const std::string& fragment) {
    for (const InputFinding& f : check.findings) {
        if (f.kind == kind && f.text.find(fragment) != std::string::npos) return &f;
    }
    return nullptr;
}

TEST(InputCheck, EachHiddenMistakeIsNamedOnItsLine) {
    struct Case {
        const char* mistake;
        std::string from, to;
        std::int32_t code;
        FindingKind kind;
        std::string fragment;
        std::string line_start;  // the finding's line starts so in the changed file
    };
    const Case kCases[] = {
        {"one-line title", "Soft clay over sand over stiff clay; nonlinear EI from the section\n"
                           "Free head and fixed head under 300 kN shear, 1500 kN axial load\n\n\n", "",
         199, FindingKind::kError, "unrecognized", "UseTipShear"},
        {"one-line title: where the keyword went", "Soft clay over sand over stiff clay; nonlinear EI from the section\n"
                                                   "Free head and fixed head under 300 kN shear, 1500 kN axial load\n\n\n",
         "", 199, FindingKind::kNote, "'OPTIONS'", "OPTIONS"},
        {"metres for millimetres", "900.                         ! diameter", "0.9  ! diameter", 185,
         FindingKind::kNote, "looks like metres", "0.9  ! diameter"},
        {"swapped layer depths", "5 4.0 10.0", "5 10.0 4.0", 192, FindingKind::kError, "deeper than its bottom",
         "5 10.0 4.0"},
        {"layer ending above the one over it", "5 4.0 10.0", "5 2.0 3.0", 189, FindingKind::kError,
         "Soil layer 2", "5 2.0 3.0"},
        {"gap between layers", "3 10.0 25.0", "3 11.0 25.0", 0, FindingKind::kWarning, "joined", "3 11.0 25.0"},
        {"soil that stops above the tip", "3 10.0 25.0", "3 10.0 18.0", 118, FindingKind::kError,
         "Input Data Error No. 18", "3 10.0 18.0"},
        {"p-y depth below the tip", "3 12.0 ", "3 22.0 ", 130, FindingKind::kError, "below the pile tip", "3 22.0"},
        {"unreadable value", "30000.                       ! concrete", "3O000. ! concrete", 180,
         FindingKind::kError, "could not be read", "3O000."},
        {"cycles out of range", "Loading STATIC     0", "Loading CYCLIC     1", 128, FindingKind::kError,
         "cycles", "Loading CYCLIC"},
        {"length study left on", "1 1 300.0 0.0 1500.0 1", "1 1 300.0 0.0 1500.0 0", 0, FindingKind::kWarning,
         "pile-length study", "1 1 300.0 0.0 1500.0 0"},
        {"soil default k", "9.5 33.0 16000.", "9.5 33.0 0.", 0, FindingKind::kWarning, "default k", "9.5 33.0 0."},
        {"unit weight in pcf in an SI file", "8.0 25.0 0.02 ", "110.0 25.0 0.02 ", 0, FindingKind::kWarning,
         "unit weight at the top of soil layer 1", "110.0 25.0"},
        {"concrete strength in MPa", "30000.                       ! concrete", "30.  ! concrete", 0,
         FindingKind::kWarning, "28000", "30.  ! concrete"},
    };
    TempDir dir;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.mistake);
        const std::string text = ShaftWith(c.from, c.to);
        const InputCheck check = CheckText(dir, text);
        EXPECT_EQ(check.code, c.code);
        const InputFinding* finding = Find(check, c.kind, c.fragment);
        ASSERT_NE(finding, nullptr);
        EXPECT_EQ(finding->line, LineOf(text, c.line_start)) << finding->text;
        EXPECT_NE(LineOf(text, c.line_start), 0);
    }
}

TEST(InputCheck, CleanFileIsSummarisedWithoutWarnings) {
    TempDir dir;
    const InputCheck check = CheckText(dir, ShaftWith("", ""));
    EXPECT_EQ(check.code, 0);
    EXPECT_TRUE(check.findings.empty()) << check.findings.front().text;
    std::string summary;
    for (const std::string& line : check.summary) summary += line + "\n";
    for (const char* expected : {"SI", "20 m long in 1 section(s); width 900 mm at the head, 900 mm at the tip",
                                 "drilled shaft", "16 bars in a circle", "soft clay (Matlock) (1), 0 to 4 m",
                                 "c 25 to 35 kPa", "phi 33 to 35", "shear 300 kN and slope 0 rad",
                                 "length study off", "p-y curves printed at 3 depth(s)"}) {
        EXPECT_NE(summary.find(expected), std::string::npos) << expected << "\n" << summary;
    }
}

TEST(InputCheck, FileOfNoKnownFormatIsSaidToBeSo) {
    TempDir dir;
    const InputCheck check = CheckText(dir, "Dear colleague,\nplease find the pile below.\n");
    EXPECT_TRUE(check.oldest_format);
    EXPECT_GT(check.code, 100);
    EXPECT_NE(Find(check, FindingKind::kNote, "TREVAS6"), nullptr);
    // A current-format file with an error says nothing of the kind.
    const InputCheck current = CheckText(dir, ShaftWith("5 4.0 10.0", "5 10.0 4.0"));
    EXPECT_FALSE(current.oldest_format);
    EXPECT_EQ(Find(current, FindingKind::kNote, "TREVAS6"), nullptr);
    // A file that cannot be opened.
    EXPECT_EQ(CheckInput((dir.path() / "absent.trv").string()).code, 181);
}

}  // namespace
}  // namespace trevasc::testing
