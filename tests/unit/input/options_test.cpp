// The keyword loop, TITLE and OPTIONS blocks: what they store and every stop
// they make, with the exact message texts and result codes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/run_fixture.hpp"

namespace trevasc {
namespace {

using testing::MinimalInput;
using testing::RunInput;

// Replaces the first occurrence of a whole line of the minimal input.
std::string WithLine(std::string input, const std::string& line, const std::string& replacement) {
    const std::string needle = "\n" + line + "\n";
    const std::size_t at = input.find(needle);
    EXPECT_NE(at, std::string::npos) << line;
    if (at != std::string::npos) input.replace(at + 1, line.size(), replacement);
    return input;
}

bool Contains(const std::vector<std::string>& lines, const std::vector<std::string>& block) {
    for (std::size_t i = 0; i + block.size() <= lines.size(); ++i) {
        bool all = true;
        for (std::size_t j = 0; j < block.size() && all; ++j) all = lines[i + j] == block[j];
        if (all) return true;
    }
    return false;
}

struct OptionError {
    const char* what;
    const char* line;         // line of the minimal input to replace
    const char* replacement;  // what stands there instead
    const char* units;        // units line of the file
    std::int32_t code;
    std::vector<std::string> report_block;  // consecutive report lines expected
    bool in_messages;                       // the same block in the message file
};

const std::string kPadded99 = "Options" + std::string(249, ' ');

const OptionError kOptionErrors[] = {
    {"two blanks in an option word", "UseLRFD NO", "UseLRFD  YES", "Units USCS", 195,
     {"", "INPUT ERROR - Unrecognized command for LRFD analysis option", "", "",
      "Trevasc ended prematurely due to input error number INP00095"},
     false},
    {"soil movement word", "UseSoilMovement NO", "UseSoilMovement MAYBE", "Units USCS", 195,
     {"", "INPUT ERROR - Unrecognized command for soil movement option", "", "", "",
      "Trevasc ended prematurely due to input error number INP00095"},
     false},
    {"loading type stands alone", "Loading STATIC     0", "Loading SOMETIMES  0", "Units USCS", 195,
     {"INPUT ERROR - Unrecognized command for loading type option", "", "",
      "Trevasc ended prematurely due to input error number INP00095"},
     false},
    {"interaction word stands alone", "ComputeInteraction NO", "ComputeInteraction yes", "Units USCS", 195,
     {"INPUT ERROR - Unrecognized command for compute interaction option", "", "",
      "Trevasc ended prematurely due to input error number INP00095"},
     false},
    {"interaction code", "ComputeInteraction NO", "ComputeInteraction YES\nCode BS8110", "Units USCS", 195,
     {"INPUT ERROR - Unrecognized command for interaction code option"}, false},
    {"iterations below 30", "MaxIterations 100", "MaxIterations 29", "Units USCS", 195,
     {"***** Input Data Error No. 95 *****", "",
      "Problem: Input value for iterations limit = 29 and is less than 30 iteractions",
      "Solution:  Correct input value to be between 30 and 1000 iterations.", "", "", "", "",
      "Trevasc ended prematurely due to input error number INP00095"},
     false},
    {"iterations above 1000", "MaxIterations 100", "MaxIterations 1001", "Units USCS", 195,
     {"Problem: Input value for iterations limit = 1001 and is more than 1,000 iteractions"}, false},
    {"tolerance zero in inches", "Tolerance 1.0E-5", "Tolerance 0.0", "Units USCS", 165,
     {"", "**** Input Data Error No. 65 ****", "",
      "Input value for convergence tolerance is too small (less than 1E-10 inches).",
      "The recommended value for convergence tolerance is 0.00001 inches.", "", "", "",
      "Trevasc ended prematurely due to input error number INP00065"},
     true},
    {"tolerance above 0.1 inch", "Tolerance 1.0E-5", "Tolerance 0.11", "Units USCS", 166,
     {"", "**** Input Data Error No. 66 ****", "",
      "Input value for convergence tolerance is too large (more than 0.1 inches). ",
      "The recommended value for convergence tolerance is 0.00001 inches.", ""},
     true},
    {"tolerance too small in metres", "Tolerance 1.0E-5", "Tolerance 1.0E-23", "Units SI", 167,
     {"", "**** Input Data Error No. 67 ****", "",
      "Input value for convergence tolerance is too small (less than 2.5E-12 meters). ",
      "The recommended value for convergence tolerance is 2.54E-7 meters.", ""},
     true},
    {"tolerance too large in metres", "Tolerance 1.0E-5", "Tolerance 0.003", "Units SI", 168,
     {"", "**** Input Data Error No. 68 ****", "",
      "Input value of convergence tolerance too large (more than 2.54E-3 meters). ",
      "The recommended value for convergence tolerance is 2.54E-7 meters.", ""},
     true},
    {"fewer than 40 increments", "Increments 100", "Increments 39", "Units USCS", 155,
     {"**** Input Data Error No. 55 ****", "", "Problem:  The number of pile increments is less than 40.", "",
      "Solution: Increase the number of pile increments to more than 40, preferably more than 100 increments.", "",
      "", "Trevasc ended prematurely due to input error number INP00055"},
     true},
    {"more than 500 increments", "Increments 100", "Increments 501", "Units USCS", 156,
     {"**** Input Data Error No. 56 ****", "", "Problem:  The number of pile increments is more than 500.", "",
      "Solution: Limit the number of pile increments to 500 or less."},
     true},
    {"keyword in the wrong case", "OPTIONS", "Options", "Units USCS", 199,
     {"", "", "***** INPUT ERROR *****", "", "The following line is unrecognized or is out-of-order", "",
      kPadded99, "", "", "", "", "Trevasc ended prematurely due to input error number INP00099"},
     true},
    {"keyword with a leading blank", "OPTIONS", " OPTIONS", "Units USCS", 199,
     {"The following line is unrecognized or is out-of-order", "", " OPTIONS" + std::string(248, ' ')}, true},
    {"unknown unit system", "Units USCS", "Units METRIC", "Units USCS", 199,
     {"Units METRIC" + std::string(244, ' ')}, true},
};

TEST(OptionsBlock, EveryStopHasItsTextAndCode) {
    for (const OptionError& c : kOptionErrors) {
        SCOPED_TRACE(c.what);
        std::string input = MinimalInput(c.units);
        input = WithLine(input, c.line, c.replacement);
        const auto out = RunInput(input);
        EXPECT_EQ(out.code, c.code);
        EXPECT_TRUE(Contains(out.ReportLines(), c.report_block)) << out.report;
        if (c.in_messages) {
            // The message file has the message itself, without the stop lines.
            // The two empty lines before the stop line belong to the stop.
            std::vector<std::string> message_block;
            for (const std::string& line : c.report_block) {
                if (line.rfind("Trevasc ended prematurely", 0) == 0) {
                    message_block.resize(message_block.size() - 2);
                    break;
                }
                message_block.push_back(line);
            }
            EXPECT_TRUE(Contains(out.MessageLines(), message_block)) << out.messages;
        }
        const std::string closing = "The analysis ended due to an input error. ";
        EXPECT_EQ(out.ReportLines().back(), closing);
        EXPECT_EQ(out.MessageLines().back(), closing);
    }
}

TEST(OptionsBlock, LimitsThemselvesAreAccepted) {
    const struct {
        const char* line;
        const char* replacement;
        const char* units;
    } kAccepted[] = {
        {"MaxIterations 100", "MaxIterations 30", "Units USCS"},
        {"MaxIterations 100", "MaxIterations 1000", "Units USCS"},
        {"Increments 100", "Increments 40", "Units USCS"},
        {"Increments 100", "Increments 500", "Units USCS"},
        {"Tolerance 1.0E-5", "Tolerance 0.0", "Units GENERAL"},
        {"Tolerance 1.0E-5", "Tolerance 0.1", "Units USCS"},
        {"Tolerance 1.0E-5", "Tolerance 0.00254", "Units SI"},
        {"Loading STATIC     0", "Loading CYCLIC   100", "Units USCS"},
        {"ComputeInteraction NO", "ComputeInteraction YES\nDesignCode Eurocode2", "Units SI"},
        {"ComputeInteraction NO", "ComputeInteraction YES\n'Design code', 'ACI318'", "Units SI"},
    };
    for (const auto& c : kAccepted) {
        SCOPED_TRACE(c.replacement);
        const auto out = RunInput(WithLine(MinimalInput(c.units), c.line, c.replacement));
        EXPECT_EQ(out.code, 0) << out.report;
    }
}

TEST(OptionsBlock, OptionsAreStoredAsRead) {
    // Plot Line 1 carries the analysis mode, the unit system and the
    // stiffness-matrix flag the options set.
    const auto out = RunInput(MinimalInput("Units SI"));
    ASSERT_EQ(out.code, 0) << out.report;
    ASSERT_GE(out.PlotLines().size(), 1u);
    EXPECT_EQ(out.PlotLines()[0], "    2    2    0    0" + std::string(60, ' ') + "Line 1 : ICOM, IUNITS, KYL, KXX");
}

TEST(KeywordLoop, SoilMovementKeywordWithoutTheOptionMeetsItsCountLine) {
    std::string input = MinimalInput();
    input.replace(input.find("END\n"), 4, "SOIL MOVEMENTS\n2\nEND\n");
    const auto out = RunInput(input);
    EXPECT_EQ(out.code, 199);
    EXPECT_TRUE(Contains(out.ReportLines(), {"2" + std::string(255, ' ')}));
}

TEST(KeywordLoop, UnreadableDataAndMissingEndAreInputError80) {
    {
        const auto out = RunInput(WithLine(MinimalInput(), "MaxIterations 100", "MaxIterations one-hundred"));
        EXPECT_EQ(out.code, 180);
        EXPECT_TRUE(Contains(out.ReportLines(),
                             {"", "**** Input Data Error No. 80 ****", "",
                              "Line 17 of the input file could not be read as an integer for the iteration limit:",
                              "    MaxIterations one-hundred",
                              "Correct the line so that it holds the values this block requires.", ""}))
            << out.report;
    }
    {
        std::string input = MinimalInput();
        input.erase(input.find("END\n"));
        const auto out = RunInput(input);
        EXPECT_EQ(out.code, 180);
        EXPECT_NE(out.report.find("The input file ended before the data for the next block"), std::string::npos);
        EXPECT_NE(out.report.find("Trevasc ended prematurely due to input error number INP00080"), std::string::npos);
    }
    {
        const auto out = RunInput("TREVAS6\nTITLE\nonly one title line\n");
        EXPECT_EQ(out.code, 180);
        EXPECT_NE(out.report.find("the five title lines"), std::string::npos);
    }
}

TEST(KeywordLoop, ProgressLinesOfAMinimalRun) {
    const auto out = RunInput(MinimalInput());
    ASSERT_EQ(out.code, 0);
    const std::vector<std::string> expected = {
        "Reading title data",
        "Reading analysis options",
        "Input of data completed",
        "Output of input data begun",
        "",
        "The analysis ended normally. ",
        "",
    };
    EXPECT_EQ(out.MessageLines(), expected);
}

}  // namespace
}  // namespace trevasc
