// A whole run of the smallest valid file: the opening blocks of the report,
// the plot records, the closing lines, and repeatability across calls and
// threads.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "support/run_fixture.hpp"

namespace trevasc {
namespace {

using testing::MinimalInput;
using testing::RunInput;

const std::string kRule(80, '-');
const std::string kDoubleRule(80, '=');

// Section analysis only, with no sections: the echo stops after the mode
// line and the run ends normally.
TEST(RunSequence, MinimalFileWritesTheOpeningBlocksAndEndsNormally) {
    const auto out = RunInput(MinimalInput());
    ASSERT_EQ(out.code, 0);
    const std::vector<std::string> expected = {
        kDoubleRule,
        "",
        std::string(15, ' ') + "    Trevasc for Windows, Version 6 (6.0.25)",
        "",
        std::string(15, ' ') + " Analysis of Individual Piles and Drilled Shafts ",
        std::string(15, ' ') + "Subjected to Lateral Loading Using the p-y Method",
        "",
        kDoubleRule,
        "",
        kRule,
        std::string(28, ' ') + "Files Used for Analysis",
        kRule,
        "",
        "Path to file locations:        " + out.input_directory,
        "Name of input data file:       input.trv",
        "Name of output report file:    report.txt",
        "Name of plot output file:      plot.txt",
        "Name of runtime messeage file: messages.txt",
        "",
        kRule,
        std::string(27, ' ') + "Date and Time of Analysis",
        kRule,
        "",
        std::string(15, ' ') + "Date:  March 5, 2024     Time:   9:07:03",
        "",
        kRule,
        std::string(32, ' ') + "Problem Title",
        kRule,
        "",
        "Test problem" + std::string(244, ' '),
        std::string(256, ' '),
        std::string(256, ' '),
        std::string(256, ' '),
        std::string(256, ' '),
        "",
        "",
        kRule,
        std::string(31, ' ') + "Program Options",
        kRule,
        "",
        "Engineering units are US Customary Units: pounds, inches, feet",
        "",
        "Basic Program Options:",
        "",
        "This analysis computes nominal moment capacity and nonlinear bending stiffness only",
        "",
        "",
        "The analysis ended normally. ",
        "",
    };
    EXPECT_EQ(out.ReportLines(), expected);
    const std::vector<std::string> plot = {
        "    2    1    0    0" + std::string(60, ' ') + "Line 1 : ICOM, IUNITS, KYL, KXX",
        "    0" + std::string(75, ' ') + "Line 2 : Total number of sections",
    };
    EXPECT_EQ(out.PlotLines(), plot);
}

std::vector<std::string> MaskDate(std::vector<std::string> lines) {
    for (std::string& line : lines) {
        if (line.find("Date:  ") != std::string::npos) line = "<date and time>";
        if (line.rfind("Path to file locations:", 0) == 0) line = "<path>";
    }
    return lines;
}

TEST(RunSequence, SecondCallInOneProcessStartsFresh) {
    // The first run stops with an error; a second, valid run must not see
    // anything of it, and a third must repeat the second exactly.
    const auto failed = RunInput(MinimalInput("Units METRIC"));
    EXPECT_EQ(failed.code, 199);
    const auto first = RunInput(MinimalInput());
    const auto second = RunInput(MinimalInput());
    EXPECT_EQ(first.code, 0);
    EXPECT_EQ(second.code, 0);
    EXPECT_EQ(MaskDate(first.ReportLines()), MaskDate(second.ReportLines()));
    EXPECT_EQ(first.plot, second.plot);
    EXPECT_EQ(first.messages, second.messages);
}

TEST(RunSequence, TwoThreadsRunTwoAnalysesAtOnce) {
    // Different files and different outcomes on two threads, many times over:
    // neither run may pick up the other's state.
    testing::RunOutput good_alone = RunInput(MinimalInput("Units SI"));
    testing::RunOutput bad_alone = RunInput(MinimalInput("Units NONE"));
    for (int round = 0; round < 20; ++round) {
        testing::RunOutput good;
        testing::RunOutput bad;
        std::thread a([&] { good = RunInput(MinimalInput("Units SI")); });
        std::thread b([&] { bad = RunInput(MinimalInput("Units NONE")); });
        a.join();
        b.join();
        ASSERT_EQ(good.code, 0);
        ASSERT_EQ(bad.code, 199);
        ASSERT_EQ(MaskDate(good.ReportLines()), MaskDate(good_alone.ReportLines()));
        ASSERT_EQ(MaskDate(bad.ReportLines()), MaskDate(bad_alone.ReportLines()));
        ASSERT_EQ(good.messages, good_alone.messages);
    }
}

TEST(RunSequence, VersionTagSelectsTheReader) {
    // Files that are not of the current format go to the earlier readers;
    // these end early, after their title line: a clear input error, never a misread.
    const struct {
        const char* input;
        const char* mentions;
    } kCases[] = {
        {"TREVAS5\nsomething\n", "the units, analysis mode"},
        {"1 2 3\n", "the units, analysis mode"},
        {"'unterminated\n", "the units, analysis mode"},
        {",\n", "the units, analysis mode"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.input);
        const auto out = RunInput(c.input);
        EXPECT_EQ(out.code, 180);
        EXPECT_NE(out.report.find(c.mentions), std::string::npos) << out.report;
        EXPECT_NE(out.report.find("Trevasc ended prematurely due to input error number INP00080"), std::string::npos);
    }
}

}  // namespace
}  // namespace trevasc
