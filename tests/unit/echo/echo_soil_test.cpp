// Echo of the soil profile: layers made contiguous, each model's parameter
// lines, the liquefied-sand depth warning, the Piedmont field-test values,
// the range check of effective unit weights and the summary table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "echo/echo_deck.hpp"

namespace trevasc {
namespace {

using echo_testing::Contains;
using echo_testing::Deck;
using echo_testing::HasLine;
using echo_testing::Labelled;
using echo_testing::Right;

std::string Top(const std::string& depth) {
    return Labelled("Distance from top of pile to top of layer", Right(depth, 12) + " ft");
}
std::string Bottom(const std::string& depth) {
    return Labelled("Distance from top of pile to bottom of layer", Right(depth, 12) + " ft");
}
const std::string kBelowTip = "(Depth of lowest layer extends    5.00 ft below pile tip)";

// A deck that stops at the final checks (no pile sections): the soil echo is
// complete and nothing is analysed.
Deck SoilOnly(const std::string& units, const std::string& soil) {
    Deck deck;
    deck.units = units;
    deck.sections.clear();
    deck.loads.clear();
    deck.soil = soil;
    return deck;
}

// One row of the soil summary table: a 45-character start (layer number and
// description on the top row, blanks on the bottom row), the depth, and every
// further column after three blanks. Cells are 10 characters.
std::string SummaryRow(const std::string& start, const std::vector<std::string>& cells) {
    std::string row = start;
    bool first = true;
    for (const std::string& cell : cells) {
        if (!first) row += "   ";
        row += cell;
        first = false;
    }
    return row;
}
std::string TopStart(int layer, const std::string& description) {
    std::string text = description;
    text.resize(34, ' ');
    return Right(std::to_string(layer), 3) + std::string(5, ' ') + text + "   ";
}
const std::string kBottomStart(45, ' ');
const std::string kDash = "--        ";
// An adaptive number written by hand: a blank, then the value in 9 columns.
std::string N(const std::string& value) { return Right(value, 10); }

// A layer given inside the one above it (20 to 22 ft under a layer that ends
// at 25 ft) would, once joined, have its top below its bottom: the run stops
// before anything is echoed, naming the layer and both depths.
TEST(SoilEcho, LayerEndingAboveTheLayerOverItStopsTheRun) {
    Deck deck;
    deck.soil = "3\n"
                "1 0.0 25.0\n50.0 500.0 0.02\n55.0 800.0 0.02\n"
                "6 20.0 22.0\n60.0 34.0 0.0\n62.0 36.0 0.0\n"
                "5 22.0 45.0\n63.0 36.0 90.0\n64.0 38.0 120.0\n";
    const auto out = echo_testing::Run(deck);
    EXPECT_EQ(out.code, 189);
    const std::vector<std::string> message = {
        "**** Input Data Error No. 89 ****", "",
        "Problem:  Soil layer 2 ends at     22.000 ft, above the bottom of the layer over it at     25.000 ft.",
        "          The layers follow each other from the ground surface down.", "",
        "Solution: Correct the top and bottom depths of soil layer 2."};
    EXPECT_TRUE(Contains(out.ReportLines(), message)) << out.report;
    EXPECT_TRUE(Contains(out.MessageLines(), message)) << out.messages;
    EXPECT_FALSE(HasLine(out.ReportLines(), "The soil profile is modelled using 3 layers"));
}

// Layers given with a gap (12 after 10) and an overlap (20 after 25) are
// echoed joined: each top is the bottom of the layer above, the first top the
// ground surface. The summary table shows the joined depths too.
TEST(SoilEcho, GapsAndOverlapsAreEchoedAsContiguousLayers) {
    Deck deck;
    deck.soil = "3\n"
                "1 2.0 10.0\n50.0 500.0 0.02\n55.0 800.0 0.02\n"
                "6 12.0 25.0\n60.0 34.0 0.0\n62.0 36.0 0.0\n"
                "5 20.0 45.0\n63.0 36.0 90.0\n64.0 38.0 120.0\n";
    const auto out = echo_testing::Run(deck);
    const auto lines = out.ReportLines();
    EXPECT_TRUE(HasLine(lines, Labelled("Depth of ground surface below top of pile", "      2.00 ft"))) << out.report;
    const std::vector<std::string> layering = {
        "The soil profile is modelled using 3 layers",
        "",
        "Layer 1 is soft clay, p-y criteria by Matlock, 1970",
        "",
        Top("2.000"),
        Bottom("10.000"),
        "",
        "Layer 2 is sand, p-y criteria by API RP-2A, 1987",
        "",
        Top("10.000"),
        Bottom("25.000"),
        Labelled("p-y subgrade modulus k for top of soil layer", "       0.000 lbs/in**3"),
        Labelled("p-y subgrade modulus k for bottom of layer", "       0.000 lbs/in**3"),
        "",
        "NOTE:  Internal default values for p-y subgrade modulus will be computed for",
        "the above soil layer.",
        "",
        "Layer 3 is sand, p-y criteria by Reese et al., 1974",
        "",
        Top("25.000"),
        Bottom("45.000"),
        Labelled("p-y subgrade modulus k for top of soil layer", "      90.000 lbs/in**3"),
        Labelled("p-y subgrade modulus k for bottom of layer", "     120.000 lbs/in**3"),
        "",
        "",
        kBelowTip,
        "",
    };
    EXPECT_TRUE(Contains(lines, layering)) << out.report;

    const std::vector<std::string> summary = {
        SummaryRow(TopStart(1, "Soft Clay"), {N("2.000"), N("50.000"), N("500.000"), kDash, kDash, kDash,
                                              N("0.02000"), kDash, kDash, kDash, kDash, kDash, kDash, kDash}),
        SummaryRow(kBottomStart, {N("10.000"), N("55.000"), N("800.000"), kDash, kDash, kDash, N("0.02000"), kDash,
                                  kDash, kDash, kDash, kDash, kDash, kDash}),
        SummaryRow(TopStart(2, "API Sand"), {N("10.000"), N("60.000"), kDash, N("34.000"), kDash, kDash, kDash,
                                             kDash, "default   ", kDash, kDash, kDash, kDash, kDash}),
        SummaryRow(kBottomStart, {N("25.000"), N("62.000"), kDash, N("36.000"), kDash, kDash, kDash, kDash,
                                  "default   ", kDash, kDash, kDash, kDash, kDash}),
        SummaryRow(TopStart(3, "Sand (Reese, et al.)"), {N("25.000"), N("63.000"), kDash, N("36.000"), kDash, kDash,
                                                         kDash, kDash, N("90.000"), kDash, kDash, kDash, kDash,
                                                         kDash}),
        SummaryRow(kBottomStart, {N("45.000"), N("64.000"), kDash, N("38.000"), kDash, kDash, kDash, kDash,
                                  N("120.000"), kDash, kDash, kDash, kDash, kDash}),
    };
    EXPECT_TRUE(Contains(lines, summary)) << out.report;
}

struct LayerCase {
    const char* name;
    std::string layer;                  // code line and parameter lines of one layer, 0 to 45 ft
    std::vector<std::string> echo;      // from the line after the two depth lines to the last-layer note
};

// The parameter lines of each model, with the empty lines that follow them.
const LayerCase kLayerCases[] = {
    {"SoftClayWithJ", "15 0.0 45.0\n50.0 500.0 0.02 0.5\n55.0 800.0 0.02 0.25\n",
     {"", Labelled("p-y J factor for top of soil layer", "       0.500"),
      Labelled("p-y J factor for bottom of layer", "       0.250"), "", "", kBelowTip}},
    {"StiffClayWithWater", "2 0.0 45.0\n60.0 1500.0 0.005 500.0\n62.0 2000.0 0.004 1000.0\n",
     {Labelled("p-y subgrade modulus k for top of soil layer", "     500.000 lbs/in**3"),
      Labelled("p-y subgrade modulus k for bottom of layer", "    1000.000 lbs/in**3"), "", "", kBelowTip}},
    {"StiffClayWithoutWater", "3 0.0 45.0\n60.0 1500.0 0.005\n62.0 2000.0 0.004\n", {"", "", kBelowTip}},
    {"WeakRockDefaultModulus", "8 0.0 45.0\n140.0 1000.0 0.0 50.0 0.0005\n140.0 1200.0 0.0 60.0 0.0005\n",
     {Labelled("Initial modulus of rock at top of layer", "  0.0000E+00 lbs/in**2"),
      Labelled("Initial modulus of rock at bottom of layer", "  0.0000E+00 lbs/in**2"), "",
      "NOTE:  Internal default values for p-y subgrade modulus will be computed for", "the above soil layer.", "",
      "", kBelowTip}},
    {"WeakRockGivenModulus", "8 0.0 45.0\n140.0 1000.0 100000.0 50.0 0.0005\n140.0 1200.0 250000.0 60.0 0.0005\n",
     {Labelled("Initial modulus of rock at top of layer", "  0.1000E+06 lbs/in**2"),
      Labelled("Initial modulus of rock at bottom of layer", "  0.2500E+06 lbs/in**2"), "", "", kBelowTip}},
    {"VuggyLimestone", "9 0.0 45.0\n140.0 1500.0\n140.0 1800.0\n", {"", "", kBelowTip}},
    {"Loess", "12 0.0 45.0\n90.0 250.0\n95.0 300.0\n",
     {Labelled("Cone tip resistance at top of layer", "       250.0 lbs/in**2"),
      Labelled("Cone tip resistance at bottom of layer", "       300.0 lbs/in**2"), "", kBelowTip}},
    {"ElasticSubgrade", "13 0.0 45.0\n60.0 300.0\n60.0 350.0\n",
     {"", Labelled("Elastic subgrade at top of layer", "     300.000 lbs/in**3"),
      Labelled("Elastic subgrade at bottom of layer", "     350.000 lbs/in**3"), "", kBelowTip}},
};

class LayerParameterEcho : public ::testing::TestWithParam<LayerCase> {};

TEST_P(LayerParameterEcho, FollowsTheDepthLines) {
    const LayerCase& c = GetParam();
    Deck deck = SoilOnly("USCS", "1\n" + c.layer);
    deck.sections = Deck().sections;  // the 40 ft pile, for the depth below the tip
    deck.loads = Deck().loads;
    const auto out = echo_testing::Run(deck);
    std::vector<std::string> block = {Top("0.000"), Bottom("45.000")};
    block.insert(block.end(), c.echo.begin(), c.echo.end());
    EXPECT_TRUE(Contains(out.ReportLines(), block)) << out.report;
}

std::string LayerCaseName(const ::testing::TestParamInfo<LayerCase>& param_info) { return param_info.param.name; }

INSTANTIATE_TEST_SUITE_P(Models, LayerParameterEcho, ::testing::ValuesIn(kLayerCases), LayerCaseName);

struct LiquefiedCase {
    const char* name;
    std::string units;
    std::string soil;
    std::string bottom_line;  // the layer's bottom-distance line
    bool warned;
};

// The recommended limit is 6 m, held as 236.22 in for USCS, measured from the
// ground surface (5 ft below the pile head in the USCS decks) to the bottom of
// the liquefied layer; GENERAL units are not checked.
const LiquefiedCase kLiquefiedCases[] = {
    {"Uscs19FeetBelowGround", "USCS", "2\n1 5.0 10.0\n50.0 500.0 0.02\n55.0 800.0 0.02\n7 10.0 24.0\n60.0\n60.0\n",
     Bottom("24.000"), false},
    {"Uscs20FeetBelowGround", "USCS", "2\n1 5.0 10.0\n50.0 500.0 0.02\n55.0 800.0 0.02\n7 10.0 25.0\n60.0\n60.0\n",
     Bottom("25.000"), true},
    {"SiAtSixMetres", "SI", "1\n7 0.0 6.0\n9.0\n9.0\n",
     Labelled("Distance from top of pile to bottom of layer", "       6.000 m"), false},
    {"SiBelowSixMetres", "SI", "1\n7 0.0 6.01\n9.0\n9.0\n",
     Labelled("Distance from top of pile to bottom of layer", "       6.010 m"), true},
    {"GeneralNotChecked", "GENERAL", "1\n7 0.0 100.0\n9.0\n9.0\n",
     Labelled("Distance from top of pile to bottom of layer", "     100.000 L"), false},
};

class LiquefiedSandDepth : public ::testing::TestWithParam<LiquefiedCase> {};

TEST_P(LiquefiedSandDepth, WarnsBelowTheRecommendedLimit) {
    const LiquefiedCase& c = GetParam();
    const auto out = echo_testing::Run(SoilOnly(c.units, c.soil));
    const auto lines = out.ReportLines();
    const std::vector<std::string> warning = {
        c.bottom_line,
        "",
        "Warning : The depth of this layer is deeper than the recommended depth limit ",
        "for using the p-y criteria for liquefied sand.",
        "Please consult the Trevasc Technical Manual for additional background ",
        "information regarding limitations on the use of the liquefied sand criteria.",
        "",
    };
    EXPECT_EQ(Contains(lines, warning), c.warned) << out.report;
    EXPECT_TRUE(HasLine(lines, c.bottom_line)) << out.report;
    // The warning is also counted for the summary at the end of the run.
    EXPECT_EQ(HasLine(lines, "The following warning was reported 1 times"), c.warned) << out.report;
}

std::string LiquefiedCaseName(const ::testing::TestParamInfo<LiquefiedCase>& param_info) {
    return param_info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Depths, LiquefiedSandDepth, ::testing::ValuesIn(kLiquefiedCases), LiquefiedCaseName);

struct PiedmontCase {
    const char* name;
    int test_type;
    std::vector<std::string> test_lines;  // after the depth lines; empty for an unknown test type
    std::string test_cell_top;            // the test columns of the summary rows
    std::string test_cell_bottom;
};

// Every test value is read; the test type picks the one that is echoed.
const PiedmontCase kPiedmontCases[] = {
    {"StandardPenetration", 1,
     {"The type of field test is the Standard Penetration Test (SPT)",
      Labelled("N60 at top of layer", "        20.0 blows/ft"),
      Labelled("N60 at bottom of layer", "        30.0 blows/ft")},
     "    SPT      " + N("20.000"), "    SPT      " + N("30.000")},
    {"ConePenetration", 2,
     {"The type of field test is the Cone Penetration Test (CPT)",
      Labelled("Cone tip resistance at top of layer", "       150.0 lbs/in**2"),
      Labelled("Cone tip resistance at bottom of layer", "       200.0 lbs/in**2")},
     "    CPT      " + N("150.000"), "    CPT      " + N("200.000")},
    {"Dilatometer", 3,
     {"The type of field test is the Dilatometer Test (DMT)",
      Labelled("Dilatometer modulus at top of layer", "      3000.0 lbs/in**2"),
      Labelled("Dilatometer modulus at bottom of layer", "      3500.0 lbs/in**2")},
     "    DMT      " + N("3000.000"), "    DMT      " + N("3500.000")},
    {"Pressuremeter", 4,
     {"The type of field test is the Pressuremeter Test (PMT)",
      Labelled("Pressuremeter modulus at top of layer", "      5000.0 lbs/in**2"),
      Labelled("Pressuremeter modulus at bottom of layer", "      6000.0 lbs/in**2")},
     "    PMT      " + N("5000.000"), "    PMT      " + N("6000.000")},
    {"UnknownTest", 5, {}, kDash + "   " + kDash, kDash + "   " + kDash},
};

class PiedmontEcho : public ::testing::TestWithParam<PiedmontCase> {};

TEST_P(PiedmontEcho, WritesTheSelectedFieldTest) {
    const PiedmontCase& c = GetParam();
    const std::string type = std::to_string(c.test_type);
    Deck deck = SoilOnly("USCS", "1\n10 0.0 45.0\n110.0 " + type + " 20.0 150.0 3000.0 5000.0\n115.0 " + type +
                                     " 30.0 200.0 3500.0 6000.0\n");
    const auto out = echo_testing::Run(deck);
    const auto lines = out.ReportLines();
    // No empty line between the depths and the test lines, nor after them.
    std::vector<std::string> layering = {"Layer 1 is Piedmont residual soil", "", Top("0.000"), Bottom("45.000")};
    layering.insert(layering.end(), c.test_lines.begin(), c.test_lines.end());
    layering.insert(layering.end(), {"", "(Depth of lowest layer extends   45.00 ft below pile tip)"});
    EXPECT_TRUE(Contains(lines, layering)) << out.report;

    // qu is a Piedmont column; no qu is read for the layer, so it is zero.
    const std::vector<std::string> summary = {
        SummaryRow(TopStart(1, "Piedmont Residual"), {N("0.00"), N("110.000"), kDash, kDash, N("0.00"), kDash, kDash,
                                                      kDash, kDash, kDash, kDash, c.test_cell_top, kDash}),
        SummaryRow(kBottomStart, {N("45.000"), N("115.000"), kDash, kDash, N("0.00"), kDash, kDash, kDash, kDash,
                                  kDash, kDash, c.test_cell_bottom, kDash}),
    };
    EXPECT_TRUE(Contains(lines, summary)) << out.report;
}

std::string PiedmontCaseName(const ::testing::TestParamInfo<PiedmontCase>& param_info) {
    return param_info.param.name;
}

INSTANTIATE_TEST_SUITE_P(TestTypes, PiedmontEcho, ::testing::ValuesIn(kPiedmontCases), PiedmontCaseName);

enum class Check { kNone, kUscs, kSi, kGeneral };

struct UnitWeightCase {
    const char* name;
    std::string units;
    std::string top;            // unit weights at the top and bottom of the layer
    std::string bottom;
    std::string bottom_column;  // the bottom weight in the table (F15.5)
    Check warning;
};

// The limits are inclusive: 20 and 140 pcf, 3.15 (held in single precision,
// so that 3.15 itself is caught) and 22 kN/m3. GENERAL units cannot be checked
// and say so every time.
const UnitWeightCase kUnitWeightCases[] = {
    {"UscsAtLowerLimit", "USCS", "20.0", "60.0", "60.00000", Check::kUscs},
    {"UscsInsideLimits", "USCS", "20.01", "139.99", "139.99000", Check::kNone},
    {"UscsAtUpperLimit", "USCS", "60.0", "140.0", "140.00000", Check::kUscs},
    {"SiAtLowerLimit", "SI", "3.15", "18.0", "18.00000", Check::kSi},
    {"SiInsideLimits", "SI", "3.16", "21.99", "21.99000", Check::kNone},
    {"SiAtUpperLimit", "SI", "18.0", "22.0", "22.00000", Check::kSi},
    {"GeneralNeverChecked", "GENERAL", "60.0", "60.0", "60.00000", Check::kGeneral},
};

class UnitWeightRange : public ::testing::TestWithParam<UnitWeightCase> {};

TEST_P(UnitWeightRange, WarnsInBothFilesWithoutStopping) {
    const UnitWeightCase& c = GetParam();
    const auto out =
        echo_testing::Run(SoilOnly(c.units, "1\n13 0.0 10.0\n" + c.top + " 100.0\n" + c.bottom + " 100.0\n"));
    const std::vector<std::string> head = {"", "**** Warning - Possible Input Data Error ****", "",
                                           "Values entered for effective unit weights of soil were outside"};
    std::vector<std::string> report_lines;
    std::vector<std::string> message_lines;
    switch (c.warning) {
        case Check::kNone: break;
        case Check::kUscs:
            report_lines = head;
            report_lines.insert(report_lines.end(), {"the limits of 0.011574 pci (20 pcf) or 0.0810019 pci (140 pcf)",
                                                     "This data may be erroneous.  Please check your data.", ""});
            message_lines = report_lines;
            break;
        case Check::kSi:
            report_lines = head;
            report_lines.push_back("the limits of 3.15 kN/m3 or 22 kN/m3.");
            message_lines = report_lines;
            report_lines.push_back(
                "The input data for effective unit weight may be erroneous. Please check your data.");
            report_lines.push_back("");
            message_lines.insert(message_lines.end(), {"The input data may be erroneous. Please check your data.", ""});
            break;
        case Check::kGeneral:
            report_lines = {"", "**** Warning ****", "", "Values of effective unit weight cannot be checked because ",
                            "general units have been selected.", ""};
            message_lines = report_lines;
            break;
    }
    // The warning follows the last row of the table.
    std::vector<std::string> block = {"  2" + Right("10.00", 17) + Right(c.bottom_column, 15)};
    block.insert(block.end(), report_lines.begin(), report_lines.end());
    EXPECT_TRUE(Contains(out.ReportLines(), block)) << out.report;
    if (c.warning == Check::kNone) {
        EXPECT_EQ(out.report.find("**** Warning"), std::string::npos) << out.report;
        EXPECT_EQ(out.messages.find("**** Warning"), std::string::npos) << out.messages;
    } else {
        EXPECT_TRUE(Contains(out.MessageLines(), message_lines)) << out.messages;
    }
    // A range warning is not counted and does not stop the echo: the run goes
    // on to the final checks (and stops there, having no pile).
    EXPECT_EQ(out.report.find("The following warning was reported"), std::string::npos) << out.report;
    EXPECT_EQ(out.code, 117);
}

std::string UnitWeightCaseName(const ::testing::TestParamInfo<UnitWeightCase>& param_info) {
    return param_info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Limits, UnitWeightRange, ::testing::ValuesIn(kUnitWeightCases), UnitWeightCaseName);

TEST(SoilEcho, UnitWeightTableListsTopAndBottomOfEveryLayer) {
    const auto out = echo_testing::Run(SoilOnly(
        "USCS", "2\n1 0.0 10.0\n50.0 500.0 0.02\n55.0 800.0 0.02\n6 10.0 30.0\n60.0 34.0 0.0\n62.5 36.0 0.0\n"));
    const std::vector<std::string> table = {
        "",
        std::string(80, '-'),
        std::string(20, ' ') + "Effective Unit Weight of Soil vs. Depth",
        std::string(80, '-'),
        "",
        "Effective unit weight of soil with depth defined using 4 points",
        "",
        "Point        Depth X    Eff. Unit Weight",
        " No.          ft             pcf",
        "-----      ----------   ----------------",
        "  1" + Right("0.00", 17) + Right("50.00000", 15),
        "  2" + Right("10.00", 17) + Right("55.00000", 15),
        "  3" + Right("10.00", 17) + Right("60.00000", 15),
        "  4" + Right("30.00", 17) + Right("62.50000", 15),
        "",
        "",
        std::string(80, '-'),
        std::string(27, ' ') + "Summary of Soil Properties",
    };
    EXPECT_TRUE(Contains(out.ReportLines(), table)) << out.report;
}

}  // namespace
}  // namespace trevasc
