// The checks the echo makes on the whole input: the pile property widths
// (error 27) and the final checks on the property points, the soil profile
// and the p-multipliers (errors 17 to 21). Each stops the run with its exact
// message in the report and the run message file and its result code.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "echo/echo.hpp"
#include "echo/echo_deck.hpp"
#include "input/reader_harness.hpp"
#include "model/units.hpp"
#include "run/error_stop.hpp"
#include "run/run_context.hpp"

namespace trevasc {
namespace {

using echo_testing::Contains;
using echo_testing::Deck;
using echo_testing::HasLine;
using echo_testing::StopLine;

const std::string kElastic18 = "29000000.0\n18.0\n18.0\n254.469\n254.469\n5153.0\n5153.0\n";

struct CheckCase {
    const char* name;
    Deck deck;
    int error;                          // 0: the echo completes
    std::vector<std::string> message;   // the error's lines, in both files
};

Deck WithSoil(const std::string& soil) {
    Deck deck;
    deck.soil = soil;
    return deck;
}

Deck WithSections(const std::string& sections) {
    Deck deck;
    deck.sections = sections;
    return deck;
}

// p-multipliers over a profile whose ground surface is 2 ft below the pile head.
Deck WithMultipliersFrom(const std::string& first_depth) {
    Deck deck;
    deck.py_modifiers = true;
    deck.soil = "1\n13 2.0 45.0\n60.0 300.0\n60.0 300.0\n";
    deck.extra = "GROUP EFFECT FACTORS\n2\n1 " + first_depth + " 0.8 1.0\n2 45.0 0.8 1.0\n";
    return deck;
}

const std::vector<std::string> kError18At30 = {
    "**** Input Data Error No. 18 ****", "",
    "Problem: The depth at the bottom of the lowermost soil layer is   0.3000E+02",
    "         This depth is higher than the tip of the pile at   0.4000E+02.",
    "Solution: Increase the depth of the soil profile or shorten the pile length."};

const std::vector<std::string> kError27 = {"",
                                           "**** Input Data Error No. 27 ****",
                                           "",
                                           "Problem:  Zero values for one of the following values were ",
                                           "entered for one or more values of pile diameter.",
                                           "",
                                           "Solution:  NONE of these values may be zero.  Correct the ",
                                           "pile property data in your input data.",
                                           ""};

const CheckCase kCheckCases[] = {
    {"SoilEndingAbovePileTip", WithSoil("1\n13 0.0 30.0\n60.0 300.0\n60.0 300.0\n"), 18, kError18At30},
    // A profile ending right at the tip covers the pile.
    {"SoilEndingAtPileTip", WithSoil("1\n13 0.0 40.0\n60.0 300.0\n60.0 300.0\n"), 0, {}},
    // Without any layer there is no soil bottom at all; the check reports 0.
    {"NoSoilLayers", WithSoil(""), 18,
     {"**** Input Data Error No. 18 ****", "",
      "Problem: The depth at the bottom of the lowermost soil layer is   0.0000E+00",
      "         This depth is higher than the tip of the pile at   0.4000E+02.",
      "Solution: Increase the depth of the soil profile or shorten the pile length."}},
    // The property points are checked before the soil: no pile and too
    // shallow a profile give error 17.
    {"NoSectionsAndShallowSoil",
     [] {
         Deck deck = WithSoil("1\n13 0.0 30.0\n60.0 300.0\n60.0 300.0\n");
         deck.sections = "0\n";
         deck.loads.clear();
         return deck;
     }(),
     17,
     {"", "", "**** Input Data Error No. 17 ****", "", "The number of points to define the pile properties ",
      "is 2 to 40, not the input value of          0", ""}},
    {"MultipliersStartAboveGround", WithMultipliersFrom("0.0"), 21,
     {"**** Input Data Error No. 21 ****", "", "Problem:  The depth for the first data for p-multipliers is ",
      "          located at   0.0000E+00 below the top of the pile.'          The ground surface is located at "
      "  0.2000E+01.",
      "Solution:  Correct the input data so that the first depth for ",
      "          the p-multiplier data is the same as the elevation as the ", "          ground surface."}},
    {"MultipliersStartAtGround", WithMultipliersFrom("2.0"), 0, {}},
    {"MultipliersStartBelowGround", WithMultipliersFrom("3.0"), 0, {}},
    {"ZeroWidthAtSectionTop",
     WithSections("1\n1\n11\n40.0\n2\n29000000.0\n0.0\n18.0\n254.469\n254.469\n5153.0\n5153.0\n"), 27, kError27},
    {"NegativeWidthInSecondSection",
     WithSections("2\n1\n11\n20.0\n2\n" + kElastic18 +
                  "2\n11\n20.0\n2\n29000000.0\n18.0\n-1.0\n254.469\n254.469\n5153.0\n5153.0\n"),
     27, kError27},
};

class FinalCheck : public ::testing::TestWithParam<CheckCase> {};

TEST_P(FinalCheck, StopsWithItsMessageAndCode) {
    const CheckCase& c = GetParam();
    const auto out = echo_testing::Run(c.deck);
    if (c.error == 0) {
        EXPECT_TRUE(echo_testing::EchoCompleted(out)) << out.report;
        EXPECT_EQ(out.report.find("**** Input Data Error"), std::string::npos) << out.report;
        return;
    }
    EXPECT_EQ(out.code, 100 + c.error);
    std::vector<std::string> report_block = c.message;
    report_block.insert(report_block.end(), {"", "", StopLine(c.error)});
    EXPECT_TRUE(Contains(out.ReportLines(), report_block)) << out.report;
    EXPECT_TRUE(Contains(out.MessageLines(), c.message)) << out.messages;
    EXPECT_FALSE(echo_testing::EchoCompleted(out)) << out.messages;
}

std::string CheckCaseName(const ::testing::TestParamInfo<CheckCase>& param_info) { return param_info.param.name; }

INSTANTIATE_TEST_SUITE_P(Checks, FinalCheck, ::testing::ValuesIn(kCheckCases), CheckCaseName);

// Error 27 is found once the sections have been echoed: nothing after them.
TEST(FinalCheckOrder, ZeroWidthStopsBeforeTheSlopeAndSoilBlocks) {
    const auto out = echo_testing::Run(
        WithSections("1\n1\n11\n40.0\n2\n29000000.0\n0.0\n18.0\n254.469\n254.469\n5153.0\n5153.0\n"));
    EXPECT_TRUE(HasLine(out.ReportLines(), "Input Structural Properties:")) << out.report;
    EXPECT_EQ(out.report.find("Ground Slope and Pile Batter Angles"), std::string::npos) << out.report;
    EXPECT_EQ(out.report.find("Soil and Rock Layering Information"), std::string::npos) << out.report;
}

// The previous input format gives the property points directly, so a pile
// can be described by a single point (the second line of pile data, count 1).
TEST(FinalCheckOrder, OnePropertyPointStopsWithError17) {
    const auto out = testing::RunInput(
        "TREVAS5\n"
        "Previous format, a pile described by one property point\n"
        "1 1 0 0 0\n"
        "100 1 0.0 50.0 0.0\n"
        "0.0 24.0 2549.35335 36.9137137 29.0E6\n"
        "1 3 0 0 0\n"
        "13 0.0 60.0 100.0 200.0\n"
        "0.0 60.0\n30.0 62.0\n60.0 64.0\n"
        "0 1 0\n"
        "1\n1 20000.0 100000.0 50000.0\n"
        "0\n"
        "1 1 0\n"
        "100 1.0E-5 100.0\n");
    EXPECT_EQ(out.code, 117);
    const std::vector<std::string> message = {"", "", "**** Input Data Error No. 17 ****", "",
                                              "The number of points to define the pile properties ",
                                              "is 2 to 40, not the input value of          1", ""};
    EXPECT_TRUE(Contains(out.ReportLines(), message)) << out.report;
    EXPECT_TRUE(Contains(out.MessageLines(), message)) << out.messages;
    EXPECT_TRUE(HasLine(out.ReportLines(), StopLine(17))) << out.report;
}

// Errors 19 and 20 compare the first point of the soil point table with the
// ground surface. The input readers place that point at the ground surface,
// so the echo is run here on a read problem whose point is then moved.
struct EchoOutcome {
    std::int32_t error = 0;
    std::vector<std::string> report;
    std::vector<std::string> messages;
};

EchoOutcome EchoWithFirstSoilPointAt(double first_point, double ground) {
    Deck deck;
    deck.soil = "1\n13 0.0 45.0\n60.0 300.0\n60.0 300.0\n";
    const std::string text = deck.Text();
    const auto read = testing::ReadBlocks(text.substr(text.find('\n') + 1));
    EXPECT_EQ(read.error, 0) << read.report;

    testing::TempDir dir;
    EchoOutcome outcome;
    {
        auto ctx = std::make_unique<run::RunContext>();
        ctx->files.report.Open(dir.path() / "report.txt");
        ctx->files.messages.Open(dir.path() / "messages.txt");
        ctx->problem = read.problem;
        ctx->problem.GroundSurfaceDepth = ground;
        ctx->problem.Layers.front().Top.Depth = first_point;
        ctx->labels = model::MakeUnitLabels(model::UnitSystem::USCS);
        try {
            echo::EchoInputData(*ctx);
        } catch (const run::RunStop&) {
        }
        ctx->files.report.Close();
        ctx->files.messages.Close();
        outcome.error = ctx->ErrorNumber;
    }
    outcome.report = testing::SplitLines(testing::ReadFile(dir.path() / "report.txt"));
    outcome.messages = testing::SplitLines(testing::ReadFile(dir.path() / "messages.txt"));
    return outcome;
}

TEST(FinalCheckOrder, FirstSoilPointBelowGroundStopsWithError19) {
    const auto out = EchoWithFirstSoilPointAt(3.0, 0.0);
    EXPECT_EQ(out.error, 119);
    const std::vector<std::string> message = {"**** Input Data Error No. 19 ****",
                                              "",
                                              "The depth of the first point of the data for effective unit",
                                              "is located at       3.0000 below the top of the pile.",
                                              "The ground surface is located at       0.0000.",
                                              "The first point for the effective unit weight should be located",
                                              "at the same elevation as the ground surface."};
    std::vector<std::string> report_block = message;
    report_block.insert(report_block.end(), {"", "", StopLine(19)});
    EXPECT_TRUE(Contains(out.report, report_block));
    EXPECT_TRUE(Contains(out.messages, message));
}

TEST(FinalCheckOrder, FirstSoilPointAboveGroundStopsWithError20) {
    const auto out = EchoWithFirstSoilPointAt(0.0, 2.5);
    EXPECT_EQ(out.error, 120);
    const std::vector<std::string> message = {
        "**** Input Data Error No. 20 ****",
        "",
        "Problem:  The first depth of the soil profile is located at       0.0000",
        "          below the top of the pile.",
        "          The ground surface is elevation is       2.5000.",
        "Solution: Correct the input data so that the first depth of ",
        "          the soil profile data is be located at the same elevation as the ground surface."};
    std::vector<std::string> report_block = message;
    report_block.insert(report_block.end(), {"", "", StopLine(20)});
    EXPECT_TRUE(Contains(out.report, report_block));
    EXPECT_TRUE(Contains(out.messages, message));
}

}  // namespace
}  // namespace trevasc
