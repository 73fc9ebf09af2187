// Loading and optional blocks: pile-head loads, LRFD loads and factors, axial
// thrusts, soil movements, p-y modifiers, output depths, tip shear, slope and
// batter, the list of distinct thrusts built at END, and their errors.
#include <gtest/gtest.h>

#include <numbers>
#include <string>
#include <vector>

#include "input/reader_harness.hpp"
#include "support/run_fixture.hpp"

namespace trevasc::testing {
namespace {

std::string PadTo256(std::string text) {
    text.resize(256, ' ');
    return text;
}

// One steel pipe section, so that END builds the thrust list.
const std::string kOneSection = "SECTIONS\n1\n1\n4\n50.\n24.\n0.5\n36000.\n29000000.\n";

ReadOutcome Read(const std::string& blocks, const OptionSwitches& switches = {}) {
    return ReadBlocks(OptionsBlock(switches) + blocks + "END\n");
}

RunOutput RunBlocks(const std::string& blocks, const OptionSwitches& switches = {}) {
    return RunInput("TREVAS6\nTITLE\nLoads test\n\n\n\n\n" + OptionsBlock(switches) + blocks + "END\n");
}

TEST(LoadingBlock, CasesAndDistributedLoad) {
    const ReadOutcome out = Read(
        "LOADING\n3\n1 1 10000. 0. 50000. 1\n2 4 0.25 -2.0E5 0. 0\n3 3 5000. 1.0E8 0. 2\n"
        "2\n1 0. 10.\n2 120. 10.\n");
    ASSERT_EQ(out.error, 0) << out.report;
    const model::ProblemData& p = out.problem;
    ASSERT_EQ(p.PileHeadLoads.size(), 3u);
    EXPECT_EQ(p.PileHeadLoads[0].LoadingType, 1);
    EXPECT_EQ(p.PileHeadLoads[0].Condition1, 10000.0);
    EXPECT_EQ(p.PileHeadLoads[0].AxialThrust, 50000.0);
    EXPECT_EQ(p.PileHeadLoads[1].LoadingType, 4);
    EXPECT_EQ(p.PileHeadLoads[1].Condition2, -2.0e5);
    EXPECT_EQ(p.PileHeadLoads[2].Condition2, 1.0e8);
    // Only a pile-length option of 1 turns the length study off.
    EXPECT_FALSE(p.PileHeadLoads[0].ComputeTopDeflVsLength);
    EXPECT_TRUE(p.PileHeadLoads[1].ComputeTopDeflVsLength);
    EXPECT_TRUE(p.PileHeadLoads[2].ComputeTopDeflVsLength);
    ASSERT_EQ(p.DistributedLoad.size(), 2u);
    EXPECT_EQ(p.DistributedLoad[1][0], 120.0);
    EXPECT_EQ(p.DistributedLoad[1][1], 10.0);
    EXPECT_TRUE(ContainsLines(out.MessageLines(), {"Reading pile head loading data"}));

    // A distributed-load count of 0 means no distributed load.
    const ReadOutcome none = Read("LOADING\n1\n1 1 1000. 0. 0. 1\n0\n");
    ASSERT_EQ(none.error, 0) << none.report;
    EXPECT_TRUE(none.problem.DistributedLoad.empty());
}

TEST(LrfdBlocks, LoadsAndCombinations) {
    std::string hundred_points;
    for (int k = 1; k <= 100; ++k) hundred_points += std::to_string(k) + " " + std::to_string(k) + ". 2.\n";
    OptionSwitches lrfd;
    lrfd.use_lrfd = true;
    const ReadOutcome out = Read(
        "LRFD LOADS\n3\n1 1 1000. 2000. 30000. 0\n2 5 500. 0. 0. 2\n1 0. 5.\n2 30. 5.\n"
        "3 13 10. 20. 30. 100\n" + hundred_points +
        "LRFD FACTORS AND CASES\n2\n"
        "1 1.25 1.75 0 0 0 0 0 0 0 0 0 0 0\n0.9 0.75\nStrength I\n"
        "2 0.9 0 0 0 1.4 0 0 0 0 0 0 0 0 0.9 0.75\n  Strength III, wind  \n",
        lrfd);
    ASSERT_EQ(out.error, 0) << out.report;
    const model::ProblemData& p = out.problem;
    ASSERT_EQ(p.LrfdLoads.size(), 3u);
    EXPECT_EQ(p.LrfdLoads[0].LrfdLoadType, 1);
    EXPECT_EQ(p.LrfdLoads[0].Moment, 2000.0);
    EXPECT_EQ(p.LrfdLoads[0].AxialForce, 30000.0);
    EXPECT_TRUE(p.LrfdLoads[0].DistributedLoad.empty());
    ASSERT_EQ(p.LrfdLoads[1].DistributedLoad.size(), 2u);
    EXPECT_EQ(p.LrfdLoads[1].DistributedLoad[1][0], 30.0);
    ASSERT_EQ(p.LrfdLoads[2].DistributedLoad.size(), 100u);  // stored in full
    EXPECT_EQ(p.LrfdLoads[2].DistributedLoad[99][0], 100.0);
    ASSERT_EQ(p.LrfdCombinations.size(), 2u);
    const model::LrfdCombination& c1 = p.LrfdCombinations[0];
    EXPECT_EQ(c1.LoadFactors[0], 1.25);
    EXPECT_EQ(c1.LoadFactors[1], 1.75);
    EXPECT_EQ(c1.MomentResistanceFactor, 0.9);  // the read went on to the next line
    EXPECT_EQ(c1.ShearResistanceFactor, 0.75);
    EXPECT_EQ(c1.Name, PadTo256("Strength I"));
    EXPECT_EQ(p.LrfdCombinations[1].LoadFactors[4], 1.4);
    EXPECT_EQ(p.LrfdCombinations[1].Name, PadTo256("  Strength III, wind"));
    EXPECT_TRUE(ContainsLines(out.MessageLines(), {"Reading LRFD unfactored load data",
                                                   "Reading LRFD load and resistance factor data "}));
}

TEST(AxialThrustLoadsBlock, ThrustsAreSortedIntoTheLoadCases) {
    // The other fields of the cases keep their places.
    const ReadOutcome out = Read("LOADING\n2\n1 1 10. 20. 0. 1\n2 2 30. 0.01 0. 0\n0\n"
                                 "AXIAL THRUST LOADS\n3\n1 300.\n2 100.\n3 200.\n");
    ASSERT_EQ(out.error, 0) << out.report;
    const auto& loads = out.problem.PileHeadLoads;
    ASSERT_EQ(loads.size(), 3u);
    EXPECT_EQ(loads[0].AxialThrust, 100.0);
    EXPECT_EQ(loads[1].AxialThrust, 200.0);
    EXPECT_EQ(loads[2].AxialThrust, 300.0);
    EXPECT_EQ(loads[0].Condition1, 10.0);
    EXPECT_EQ(loads[1].LoadingType, 2);
    EXPECT_TRUE(ContainsLines(out.MessageLines(), {"Reading axial thrust force data for EI-only computations"}));

    // A count of 0 leaves one case with whatever thrust it held.
    const ReadOutcome zero = Read("LOADING\n2\n1 1 10. 20. 750. 1\n2 1 30. 0. 0. 1\n0\nAXIAL THRUST LOADS\n0\n");
    ASSERT_EQ(zero.error, 0) << zero.report;
    ASSERT_EQ(zero.problem.PileHeadLoads.size(), 1u);
    EXPECT_EQ(zero.problem.PileHeadLoads[0].AxialThrust, 750.0);
    EXPECT_FALSE(ContainsLines(zero.MessageLines(), {"Reading axial thrust force data for EI-only computations"}));
}

TEST(EndOfInput, DistinctThrustsAscending) {
    struct Case {
        std::string name;
        OptionSwitches switches;
        std::string loads;
        std::vector<double> thrusts;
    };
    OptionSwitches lrfd;
    lrfd.use_lrfd = true;
    OptionSwitches si;
    si.units = "Units SI";
    OptionSwitches interaction;
    interaction.compute_interaction = true;
    const std::string cases = "LOADING\n4\n1 1 1. 0. 300. 1\n2 1 1. 0. 100. 1\n3 1 1. 0. 100. 1\n4 1 1. 0. 200. 1\n0\n";
    const Case kCases[] = {
        // USCS thrusts are held in kips for the section analysis.
        {"load cases", {}, cases, {0.1, 0.2, 0.3}},
        {"LRFD loads", lrfd,
         "LRFD LOADS\n4\n1 1 0. 0. 300. 0\n2 2 0. 0. 100. 0\n3 3 0. 0. 100. 0\n4 4 0. 0. 200. 0\n", {0.1, 0.2, 0.3}},
        {"SI", si, cases, {100.0, 200.0, 300.0}},
        // Regression: asking for interaction diagrams once left the list
        // empty, so no moment-curvature curve was computed.
        {"interaction diagrams", interaction, cases, {0.1, 0.2, 0.3}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const ReadOutcome out = Read(kOneSection + c.loads, c.switches);
        ASSERT_EQ(out.error, 0) << out.report;
        EXPECT_EQ(out.problem.AxialThrustList, c.thrusts);
    }
    // Without sections nothing is built.
    EXPECT_TRUE(Read(cases).problem.AxialThrustList.empty());
}

TEST(OptionalBlocks, StoredValues) {
    OptionSwitches switches;
    switches.units = "Units SI";
    switches.soil_movement = true;
    switches.print_py_curves = true;
    const ReadOutcome out = Read(
        "TIP SHEAR\n3\n1 0. 0.\n2 0.01 50.\n3 0.05 80.\n"
        "PILE BATTER AND SLOPE\n10.\n4.\n"
        "GROUPEFF\n2\n1 0. 0.8 1.0\n2 10. 0.9 1.1\n"
        "SOIL MOVEMENTS\n2\n1 0. 50.\n2 8. 0.\n"
        "DEPTHS OF PRINTED P-Y CURVES\n2\n1 1.5\n2 3.\n",
        switches);
    ASSERT_EQ(out.error, 0) << out.report;
    const model::ProblemData& p = out.problem;
    ASSERT_EQ(p.TipShearCurve.size(), 3u);
    EXPECT_EQ(p.TipShearCurve[2][1], 80.0);
    // 10 and 4 degrees: a difference of 6 degrees in radians.
    EXPECT_DOUBLE_EQ(p.GroundSlopeAngle, 10.0 * std::numbers::pi / 180.0);
    EXPECT_DOUBLE_EQ(p.PileBatterAngle, 4.0 * std::numbers::pi / 180.0);
    EXPECT_NEAR(p.SlopeMinusBatter, 6.0 * std::numbers::pi / 180.0, 1e-15);
    EXPECT_EQ(p.PyModifierCount, 2);
    ASSERT_EQ(p.PyModifierProfile.size(), 2u);
    EXPECT_EQ(p.PyModifierProfile[1].Depth, 10.0);
    EXPECT_EQ(p.PyModifierProfile[1].PMultiplier, 0.9);
    EXPECT_EQ(p.PyModifierProfile[1].YMultiplier, 1.1);
    // SI soil movements in mm are stored in metres; depths stay as entered.
    ASSERT_EQ(p.SoilMovementProfile.size(), 2u);
    EXPECT_EQ(p.SoilMovementProfile[0][1], 0.05);
    EXPECT_EQ(p.SoilMovementProfile[1][0], 8.0);
    EXPECT_EQ(p.PyOutputDepths, (std::vector<double>{1.5, 3.0}));
    EXPECT_TRUE(ContainsLines(out.MessageLines(),
                              {"Reading tip shear data", "Reading pile batter and ground slope angles",
                               "Reading p-y multiplier data", "Reading soil movement data",
                               "Reading p-y output depths data"}));

    // GROUP EFFECT FACTORS reads like GROUPEFF; a count of 0 replaces the
    // count set by the options and writes no progress line.
    const ReadOutcome zero = Read("GROUP EFFECT FACTORS\n0\nTIP SHEAR\n0\n");
    ASSERT_EQ(zero.error, 0) << zero.report;
    EXPECT_EQ(zero.problem.PyModifierCount, 0);
    EXPECT_TRUE(zero.problem.TipShearCurve.empty());
    EXPECT_FALSE(ContainsLines(zero.MessageLines(), {"Reading p-y multiplier data"}));
    EXPECT_FALSE(ContainsLines(zero.MessageLines(), {"Reading tip shear data"}));
}

// ---------------------------------------------------------------------------
// Errors.

struct ErrorCase {
    std::string name;
    std::string blocks;
    OptionSwitches switches;
    std::int32_t code;
    std::vector<std::string> lines;  // consecutive report lines of the message
    bool also_messages;              // copied to the run message file
    bool complete = false;           // `lines` is the whole message: the stop lines follow
};

std::string StopLine(std::int32_t code) {
    std::string digits = std::to_string(code - 100);
    return "Trevasc ended prematurely due to input error number INP" + std::string(5 - digits.size(), '0') + digits;
}

void RunErrorCases(const std::vector<ErrorCase>& cases) {
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.name);
        const RunOutput out = RunBlocks(c.blocks, c.switches);
        EXPECT_EQ(out.code, c.code) << out.report;
        std::vector<std::string> expected = c.lines;
        if (c.complete) expected.insert(expected.end(), {"", "", StopLine(c.code)});
        EXPECT_TRUE(ContainsLines(out.ReportLines(), expected)) << out.report;
        for (const std::string& line : c.lines) {
            if (line.find("Error No.") == std::string::npos) continue;
            EXPECT_EQ(ContainsLines(out.MessageLines(), {line}), c.also_messages) << out.messages;
        }
        if (c.also_messages) {
            EXPECT_TRUE(ContainsLines(out.MessageLines(), c.lines)) << out.messages;
        }
    }
}

TEST(LoadBlockErrors, ExactTextsAndCodes) {
    OptionSwitches lrfd;
    lrfd.use_lrfd = true;
    OptionSwitches movement;
    movement.soil_movement = true;
    RunErrorCases({
        {"no LRFD loads", "LRFD LOADS\n0\n", lrfd, 198,
         {"", "", "***** Input Data Error No. 98 *****", "", "Number of LRFD loads specified is 0",
          "This is outside of the valid range to 1 to 100", "", ""},
         false, true},
        {"101 LRFD loads", "LRFD LOADS\n101\n", lrfd, 198,
         {"", "***** Input Data Error No. 98 *****", "", "Number of LRFD loads specified is 101"}, false},
        {"LRFD load order", "LRFD LOADS\n2\n1 1 0. 0. 0. 0\n3 1 0. 0. 0. 0\n", lrfd, 197,
         {"", "", "***** Input Data Error No. 97 *****", "", "Input appears to be out-of-order for LRFD loading",
          "Input load number is 3 and the expected load number is 2", "", ""},
         false, true},
        {"LRFD point order", "LRFD LOADS\n1\n1 1 0. 0. 0. 2\n1 0. 1.\n3 10. 1.\n", lrfd, 196,
         {"", "", "***** Input Data Error No. 96 *****", "", "Input appears to be out-of-order for LRFD distributed load 1",
          "", "Input distributed load point is 3", " and the expected point number is 2", "", ""},
         false, true},
        {"one LRFD point", "LRFD LOADS\n2\n1 1 0. 0. 0. 0\n2 1 0. 0. 0. 1\n", lrfd, 195,
         {"", "", "***** Input Data Error No. 95 *****", "",
          "Number of distributed load points for LRFD load number 2 is outside of the valid range of 0 or 2 to 100.",
          "", "The input number of distributed load points is 1", "", ""},
         false, true},
        {"negative LRFD points", "LRFD LOADS\n1\n1 1 0. 0. 0. -2\n", lrfd, 195,
         {"", "***** Input Data Error No. 95 *****", "",
          "Number of distributed load points for LRFD load number 1 is outside of the valid range of 0 or 2 to 100.",
          "", "The input number of distributed load points is -2"},
         false},
        {"101 LRFD points", "LRFD LOADS\n1\n1 1 0. 0. 0. 101\n", lrfd, 195,
         {"", "***** Input Data Error No. 95 *****", "",
          "Number of distributed load points for LRFD load number 1 is outside of the valid range of 0 or 2 to 100.",
          "", "The input number of distributed load points is 101"},
         false},
        {"no combinations", "LRFD FACTORS AND CASES\n0\n", lrfd, 194,
         {"", "", "***** Input Data Error No. 94 *****", "",
          "Number of LRFD load combinations outside of the valid range of 1 to 100.", "",
          "Number of LRFD load combinations input is 0", "", ""},
         false, true},
        {"101 combinations", "LRFD FACTORS AND CASES\n101\n", lrfd, 194,
         {"", "***** Input Data Error No. 94 *****", "",
          "Number of LRFD load combinations outside of the valid range of 1 to 100.", "",
          "Number of LRFD load combinations input is 101"},
         false},
        {"one movement point", "SOIL MOVEMENTS\n1\n", movement, 153,
         {"**** Input Data Error No. 53 ****", "", "Number of lines specified for soil movement data = 1",
          "The number of lines of soil movement data cannot be less than 2 or exceed 100.", ""},
         true, true},
        {"101 movement points", "SOIL MOVEMENTS\n101\n", movement, 153,
         {"**** Input Data Error No. 53 ****", "", "Number of lines specified for soil movement data = 101"}, true},
    });
}

TEST(LoadBlockErrors, CapacitiesAndCodesOfOurOwn) {
    OptionSwitches lrfd;
    lrfd.use_lrfd = true;
    OptionSwitches depths;
    depths.print_py_curves = true;
    RunErrorCases({
        {"101 load cases", "LOADING\n101\n", {}, 182,
         {"", "**** Input Data Error No. 82 ****", "",
          "Problem:  The number of pile-head load cases in the LOADING block is 101, more than the limit of 100.",
          "Solution: Reduce the number of pile-head load cases to 100 or fewer.", ""},
         true, true},
        {"51 distributed points", "LOADING\n1\n1 1 0. 0. 0. 1\n51\n", {}, 182,
         {"Problem:  The number of distributed lateral load points in the LOADING block is 51, more than the limit "
          "of 50."},
         true},
        {"loading type 6", "LOADING\n2\n1 1 0. 0. 0. 1\n2 6 0. 0. 0. 1\n0\n", {}, 188,
         {"", "**** Input Data Error No. 88 ****", "",
          "Problem:  Load case 2 of the LOADING block has loading type 6; the codes are 1 to 5.",
          "Solution: Correct the loading type.", ""},
         true, true},
        {"LRFD load type 14", "LRFD LOADS\n1\n1 14 0. 0. 0. 0\n", lrfd, 188,
         {"Problem:  LRFD load 1 of the LRFD LOADS block has LRFD load type 14; the codes are 1 to 13."}, true},
        {"101 thrusts", "AXIAL THRUST LOADS\n101\n", {}, 182,
         {"Problem:  The number of axial thrust loads in the AXIAL THRUST LOADS block is 101, more than the limit "
          "of 100."},
         true},
        {"51 tip shear points", "TIP SHEAR\n51\n", {}, 182,
         {"Problem:  The number of tip shear points in the TIP SHEAR block is 51, more than the limit of 50."}, true},
        {"81 modifier points", "GROUPEFF\n81\n", {}, 182,
         {"Problem:  The number of p-y modifier points in the GROUP EFFECT FACTORS block is 81, more than the limit "
          "of 80."},
         true},
        // Regression: a zero y-multiplier was accepted and every criterion divided by it.
        {"zero y-multiplier", "GROUPEFF\n2\n1 0. 1.0 1.0\n2 10. 0.8 0.0\n", {}, 188,
         {"Problem:  The y-multiplier of p-y modifier point 2 of the GROUP EFFECT FACTORS block is 0.0000; "
          "y-multipliers must be greater than zero.",
          "Solution: Correct the y-multiplier (1.0 for no modification)."},
         true},
        {"101 output depths", "DEPTHS OF PRINTED P-Y CURVES\n101\n", depths, 182,
         {"Problem:  The number of p-y output depths in the DEPTHS OF PRINTED P-Y CURVES block is 101, more than "
          "the limit of 100."},
         true},
    });
}

TEST(LoadBlockErrors, BlocksWhoseOptionIsOffLeaveTheirLinesToTheKeywordLoop) {
    // The count line after SOIL MOVEMENTS is then an unrecognised line.
    const RunOutput out = RunBlocks("SOIL MOVEMENTS\n2\n1 0. 1.\n2 5. 0.\n");
    EXPECT_EQ(out.code, 199);
    EXPECT_TRUE(ContainsLines(out.ReportLines(),
                              {"***** INPUT ERROR *****", "", "The following line is unrecognized or is out-of-order"}));
    EXPECT_FALSE(ContainsLines(out.MessageLines(), {"Reading soil movement data"}));
}

}  // namespace
}  // namespace trevasc::testing
