// The same values give the same analysis however the input file's lines end,
// whether it opens with a byte-order mark, and however far along a data line
// its values stand; a data line too long to be read whole is refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "support/run_fixture.hpp"

namespace trevasc::testing {
namespace {

const std::filesystem::path kSoftClay = std::filesystem::path(TREVASC_TEST_CASES_DIR) / "soft_clay" / "input.trv";
// Line 41 of the case: unit weight, strength and e50 at the top of layer 1.
const std::string kLayerLine = "50.0 300.0 0.02\n";

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) {
        text.replace(at, from.size(), to);
    }
    return text;
}

std::string ReplaceLayerLine(const std::string& text, const std::string& line) {
    std::string result = text;
    const std::size_t at = result.find(kLayerLine);
    EXPECT_NE(at, std::string::npos);
    if (at != std::string::npos) result.replace(at, kLayerLine.size(), line);
    return result;
}

// The report with the run's folder taken out (each run has its own).
std::string ReportOf(const RunOutput& out) { return ReplaceAll(out.report, out.input_directory, "<folder>/"); }

TEST(InputText, LineEndsByteOrderMarkAndLongDataLinesGiveTheSameResults) {
    const std::string original = ReadFile(kSoftClay);
    ASSERT_NE(original.find(kLayerLine), std::string::npos);
    const RunOutput reference = RunInput(original);
    ASSERT_EQ(reference.code, 0) << reference.messages;

    struct Case {
        const char* what;
        std::function<std::string(const std::string&)> make;
    };
    const Case kCases[] = {
        {"CRLF line ends", [](const std::string& t) { return ReplaceAll(t, "\n", "\r\n"); }},
        {"CR line ends", [](const std::string& t) { return ReplaceAll(t, "\n", "\r"); }},
        {"byte-order mark and CRLF", [](const std::string& t) { return "\xEF\xBB\xBF" + ReplaceAll(t, "\n", "\r\n"); }},
        // Once read as e50 = 0 (the value stood past column 256) and replaced
        // by the default.
        {"e50 past column 256",
         [](const std::string& t) { return ReplaceLayerLine(t, "50.0 300.0" + std::string(300, ' ') + "0.02\n"); }},
        {"whole line past column 256",
         [](const std::string& t) { return ReplaceLayerLine(t, std::string(300, ' ') + kLayerLine); }},
        {"line of 65536 characters",
         [](const std::string& t) {
             return ReplaceLayerLine(t, "50.0 300.0 0.02" + std::string(65536 - 15, ' ') + "\n");
         }},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        const RunOutput out = RunInput(c.make(original));
        EXPECT_EQ(out.code, 0) << out.messages;
        EXPECT_EQ(ReportOf(out), ReportOf(reference));
        EXPECT_EQ(out.plot, reference.plot);
    }
}

TEST(InputText, ADataLineTooLongToReadWholeIsInputError80) {
    const std::string line = "50.0 300.0 0.02" + std::string(65537 - 15, ' ') + "\n";
    const RunOutput out = RunInput(ReplaceLayerLine(ReadFile(kSoftClay), line));
    EXPECT_EQ(out.code, 180);
    const std::string problem = "Line 41 of the input file is longer than 65536 characters and cannot be read whole";
    EXPECT_NE(out.report.find(problem), std::string::npos) << out.report;
    EXPECT_NE(out.messages.find(problem), std::string::npos) << out.messages;
    EXPECT_NE(out.report.find("\n    50.0 300.0 0.02 ...\n"), std::string::npos);
    EXPECT_NE(out.report.find("Trevasc ended prematurely due to input error number INP00080"), std::string::npos);
}

}  // namespace
}  // namespace trevasc::testing
