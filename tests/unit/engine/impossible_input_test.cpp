// Input that no pile problem can have must stop the run with an input error
// that says what and where, never run to a "normal" end with wrong or
// undefined numbers; and every stop after the run files are open ends with
// the closing lines and a 1xx or 2xx code.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/run_fixture.hpp"

namespace trevasc {
namespace {

using testing::ReadFile;
using testing::RunInput;
using testing::RunOutput;
using testing::SplitLines;

bool HasLine(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

bool HasLineStartingWith(const std::vector<std::string>& lines, const std::string& start) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(start, 0) == 0; });
}

// 1-based number of the first line of `text` equal to `line`.
int LineNumberOf(const std::string& text, const std::string& line) {
    const std::vector<std::string> lines = SplitLines(text);
    const auto it = std::find(lines.begin(), lines.end(), line);
    return it == lines.end() ? 0 : static_cast<int>(it - lines.begin()) + 1;
}

// A 40 ft elastic pipe pile (USCS) with the given section length line, pipe
// width and soil block, one free-head load case.
struct Deck {
    std::string section_length = "40.0";
    std::string width = "18.0";
    std::string soil = "1\n13 0.0 45.0\n50.0 100.0\n55.0 200.0\n";
    std::string Text() const {
        return "TREVAS6\nTITLE\nHostile input\n\n\n\n\nOPTIONS\nUnits USCS\nUseLRFD NO\nComputeKmatrix NO\n"
               "UseTipShear NO\nUseSoilMovement NO\nUsePYModifiers NO\nComputeEIOnly NO\nLoading STATIC     0\n"
               "MaxIterations 100\nMaxDeflection 10.0\nTolerance 1.0E-5\nIncrements 40\nPrintSummaryOnly NO\n"
               "PrintIncrement 4\nPrintPYCurves NO\nComputeInteraction NO\n"
               "SECTIONS\n1\n1\n11\n" + section_length + "\n2\n29000000.0\n" + width + "\n18.0\n40.0\n40.0\n"
               "1500.0\n1500.0\nSOIL LAYERS\n" + soil + "LOADING\n1\n1 1 15000.0 0.0 0.0 1\n0\nEND\n";
    }
};

void ExpectInputErrorClosing(const RunOutput& out, const std::string& code) {
    EXPECT_TRUE(HasLine(out.ReportLines(), "Trevasc ended prematurely due to input error number " + code));
    EXPECT_TRUE(HasLine(out.ReportLines(), "The analysis ended due to an input error. "));
    EXPECT_TRUE(HasLine(out.MessageLines(), "The analysis ended due to an input error. "));
    EXPECT_FALSE(HasLine(out.ReportLines(), "The analysis ended normally. "));
}

// Magnitudes that overflow or underflow the analysis: each stops at the line
// that holds it, with the value shown.
TEST(ImpossibleInput, AbsurdMagnitudesStopAtTheirLine) {
    struct Case {
        const char* name;
        Deck deck;
        std::string bad_line;  // the line that holds the value
        std::string value;
        std::string what;
    };
    Deck strong_clay;
    strong_clay.soil = "1\n3 0.0 45.0\n110.0 1E308 0.005\n110.0 2000.0 0.005\n";
    Deck long_section;
    long_section.section_length = "1E308";
    Deck thin_pipe;
    thin_pipe.width = "4.9E-324";
    Deck tiny_curve;
    tiny_curve.soil = "1\n14 0.0 45.0\n110.0 3\n0.0 0.0\n4.9E-324 800.0\n3.0 2000.0\n110.0 2\n0.0 0.0\n1.0 1000.0\n";
    const Case cases[] = {
        {"stiff clay strength 1E308", strong_clay, "110.0 1E308 0.005", "1E308", "the top of soil layer 1"},
        {"section length 1E308", long_section, "1E308", "1E308", "the section length of section 1"},
        {"subnormal pipe width", thin_pipe, "4.9E-324", "4.9E-324", "the "},
        {"subnormal user p-y deflection", tiny_curve, "4.9E-324 800.0", "4.9E-324",
         "the top p-y curve of soil layer 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string text = c.deck.Text();
        const int line = LineNumberOf(text, c.bad_line);
        ASSERT_GT(line, 0);
        const RunOutput out = RunInput(text);
        EXPECT_EQ(out.code, 190);
        const std::string start = "Line " + std::to_string(line) + " of the input file holds the value " + c.value +
                                  " for " + c.what;
        EXPECT_TRUE(HasLineStartingWith(out.ReportLines(), start)) << out.report;
        EXPECT_TRUE(HasLineStartingWith(out.MessageLines(), start)) << out.messages;
        EXPECT_TRUE(HasLine(out.ReportLines(), "**** Input Data Error No. 90 ****"));
        EXPECT_TRUE(HasLine(out.ReportLines(), "    " + c.bad_line));
        ExpectInputErrorClosing(out, "INP00090");
    }
}

// Values that are numbers but describe no physical problem.
TEST(ImpossibleInput, PhysicallyImpossibleValuesStopTheRun) {
    struct Case {
        const char* name;
        std::string soil;
        std::string bad_line;
        std::int32_t code;
        std::string message;  // after "Problem:  Line <n>"
    };
    const Case cases[] = {
        // -110 typed for 110 pcf: negative overburden, springs that pull.
        {"negative unit weight", "1\n5 0.0 45.0\n-110.0 32.0 0.0\n110.0 32.0 0.0\n", "-110.0 32.0 0.0", 191,
         " of the input file gives the top of soil layer 1 a negative effective unit weight of -110.000."},
        {"negative unit weight of a user curve",
         "1\n14 0.0 45.0\n110.0 2\n0.0 0.0\n1.0 800.0\n-110.0 2\n0.0 0.0\n1.0 1000.0\n", "-110.0 2", 191,
         " of the input file gives the bottom p-y curve of soil layer 1 a negative effective unit weight of "
         "-110.000."},
        // Sand from 35 to 15 ft: joined top down it would vanish.
        {"layer top below its bottom",
         "3\n3 0.0 15.0\n110.0 2000.0 0.005\n110.0 2000.0 0.005\n5 35.0 15.0\n115.0 32.0 0.0\n115.0 34.0 0.0\n"
         "3 35.0 45.0\n110.0 2000.0 0.005\n110.0 2000.0 0.005\n",
         "5 35.0 15.0", 192, " gives soil layer 2 a top at 35.000, deeper than its bottom at 15.000."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Deck deck;
        deck.soil = c.soil;
        const std::string text = deck.Text();
        const RunOutput out = RunInput(text);
        EXPECT_EQ(out.code, c.code);
        const std::string message = "Problem:  Line " + std::to_string(LineNumberOf(text, c.bad_line)) + c.message;
        EXPECT_TRUE(HasLine(out.ReportLines(), message)) << out.report;
        EXPECT_TRUE(HasLine(out.MessageLines(), message)) << out.messages;
        ExpectInputErrorClosing(out, "INP000" + std::to_string(c.code - 100));
    }
}

// A sand friction angle of 90 degrees has no p-y curve (tan 90 degrees). The
// run used to end with 99, the wrong-interface code, after the report had
// been written and without its closing lines; it is refused at the reader.
// A soil modulus that is still not a number (sand under a slope steeper than
// its friction angle) is runtime error 42, tested with the sand criterion.
TEST(ImpossibleInput, SandOfNinetyDegreesIsRefused) {
    for (const char* code : {"5", "6"}) {
        Deck deck;
        deck.soil = std::string("1\n") + code + " 0.0 45.0\n110.0 35.0 0.0\n110.0 90.0 0.0\n";
        const std::string text = deck.Text();
        const RunOutput out = RunInput(text);
        EXPECT_EQ(out.code, 191) << code;
        const std::string message = "Problem:  Line " + std::to_string(LineNumberOf(text, "110.0 90.0 0.0")) +
                                    " of the input file gives the bottom of soil layer 1 a friction angle of 90.000 "
                                    "degrees; it must be below 90.";
        EXPECT_TRUE(HasLine(out.ReportLines(), message)) << out.report;
        ExpectInputErrorClosing(out, "INP00091");
    }
}

// A resistance factor reduces a capacity; 7.5 typed for 0.75 would pass
// sections that fail. It is refused, as is a negative one.
TEST(ImpossibleInput, LrfdResistanceFactorsLieBetweenZeroAndOne) {
    const std::string golden =
        ReadFile(std::filesystem::path(TREVASC_TEST_CASES_DIR) / "lrfd_battered_two_sections" / "input.trv");
    const std::string row = "2 0.9 0 0 0 1.4 0 0 0 0 0 0 0 0 0.75 0.9";
    ASSERT_NE(golden.find(row), std::string::npos);
    struct Case {
        std::string factors;  // moment, shear
        std::string message;
    };
    const Case cases[] = {
        {"7.5 0.9", "moment resistance factor of 7.500"},
        {"0.75 1.01", "shear resistance factor of 1.010"},
        {"-0.75 0.9", "moment resistance factor of -0.750"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.factors);
        std::string text = golden;
        const std::string bad_row = "2 0.9 0 0 0 1.4 0 0 0 0 0 0 0 0 " + c.factors;
        text.replace(text.find(row), row.size(), bad_row);
        const RunOutput out = RunInput(text);
        EXPECT_EQ(out.code, 191);
        const std::string message = "Problem:  Line " + std::to_string(LineNumberOf(text, bad_row)) +
                                    " gives LRFD load combination 2 a " + c.message +
                                    "; resistance factors lie between 0 and 1.";
        EXPECT_TRUE(HasLine(out.ReportLines(), message)) << out.report;
        ExpectInputErrorClosing(out, "INP00091");
    }
    // The edges 0 and 1 are resistance factors.
    std::string text = golden;
    text.replace(text.find(row), row.size(), "2 0.9 0 0 0 1.4 0 0 0 0 0 0 0 0 1.0 0.0");
    EXPECT_LE(RunInput(text).code, 0);
}

// A frozen-soil layer has no p-y criterion: its nodes keep the set-up
// modulus. The echo says so with the unit of the run, and the run ends with
// warning 360, counted once however many such layers there are.
TEST(ImpossibleInput, FrozenSoilIsDescribedAndWarnedOnce) {
    struct Case {
        const char* units;
        const char* unit_text;
    };
    const Case cases[] = {{"USCS", "lbs/in**2"}, {"SI", "kN/m**2"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.units);
        Deck deck;
        deck.soil = "3\n13 0.0 10.0\n50.0 100.0\n55.0 200.0\n17 10.0 20.0\n17 20.0 45.0\n";
        std::string text = deck.Text();
        const auto replace = [&text](const std::string& from, const std::string& to) {
            const std::size_t at = text.find(from);
            ASSERT_NE(at, std::string::npos) << from;
            text.replace(at, from.size(), to);
        };
        if (std::string(c.units) == "SI") {
            replace("Units USCS", "Units SI");
            // SI section dimensions are in mm, mm2 and mm4; forces in kN.
            replace("29000000.0\n18.0\n18.0\n40.0\n40.0\n1500.0\n1500.0",
                    "2.0E8\n457.0\n457.0\n25806.0\n25806.0\n6.24E8\n6.24E8");
            replace("15000.0 0.0 0.0 1", "60.0 0.0 0.0 1");
        }
        const RunOutput out = RunInput(text);
        EXPECT_EQ(out.code, -360) << out.report;
        const std::string prefix = " is frozen soil: no p-y criterion; constant soil modulus 50000 ";
        EXPECT_TRUE(HasLine(out.ReportLines(), "Layer 2" + prefix + c.unit_text)) << out.report;
        EXPECT_TRUE(HasLine(out.ReportLines(), "Layer 3" + prefix + c.unit_text));
        EXPECT_TRUE(HasLine(out.ReportLines(), "The following warning was reported 1 times"));
        EXPECT_TRUE(HasLine(out.ReportLines(), "**** Warning - Frozen Soil Without p-y Criterion ****"));
        EXPECT_TRUE(HasLine(out.ReportLines(), "The analysis ended normally. "));
    }
}

// A warning raised by the echo (liquefied sand deeper than 6 m) is counted:
// the report does not say that no warning was generated, and the result code
// carries it.
TEST(ImpossibleInput, EchoWarningsCountInTheSummaryAndResultCode) {
    Deck deck;
    deck.soil = "2\n13 0.0 10.0\n50.0 100.0\n55.0 200.0\n7 10.0 45.0\n60.0\n62.0\n";
    const RunOutput out = RunInput(deck.Text());
    EXPECT_EQ(out.code, -354) << out.report;
    EXPECT_TRUE(HasLine(out.ReportLines(), "The following warning was reported 1 times"));
    EXPECT_FALSE(HasLine(out.ReportLines(), "No error or warning messages were generated by this analysis."));
    EXPECT_TRUE(HasLine(out.MessageLines(), "The analysis ended with one or more warning messages."));
}

}  // namespace
}  // namespace trevasc
