// The SOIL LAYERS block: the parameters each model code reads, the lines it
// consumes, user p-y curves, the ground surface, and the errors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/reader_harness.hpp"
#include "support/run_fixture.hpp"

namespace trevasc::testing {
namespace {

ReadOutcome ReadLayers(const std::string& body) {
    return ReadBlocks(OptionsBlock() + "SOIL LAYERS\n" + body + "END\n");
}

// A liquefied-sand layer read after the layer under test shows that the
// layer consumed exactly its own lines.
const std::string kFollowingLayer = "7 40. 60.\n55.\n60.\n";

struct Param {
    double model::SoilPointParams::*field;
    double top, bottom;
};

TEST(SoilLayersBlock, EveryCodeReadsItsParametersInOrder) {
    struct Case {
        int code;
        std::string lines;  // the top and bottom lines
        std::vector<Param> params;
    };
    using P = model::SoilPointParams;
    const Case kCases[] = {
        {1, "50. 500. 0.02\n52. 700. 0.01\n",
         {{&P::EffUnitWeight, 50, 52}, {&P::Cohesion, 500, 700}, {&P::Epsilon50, 0.02, 0.01}}},
        {2, "60. 2000. 0.007 0.\n62. 3000. 0.005 500.\n",
         {{&P::EffUnitWeight, 60, 62}, {&P::Cohesion, 2000, 3000}, {&P::Epsilon50, 0.007, 0.005},
          {&P::SubgradeK, 0, 500}}},
        {3, "60. 2000. 0.007\n62. 3000. 0.005\n",
         {{&P::EffUnitWeight, 60, 62}, {&P::Cohesion, 2000, 3000}, {&P::Epsilon50, 0.007, 0.005}}},
        {4, "60. 2000. 0.007 400.\n62. 3000. 0.005 600.\n",
         {{&P::EffUnitWeight, 60, 62}, {&P::Cohesion, 2000, 3000}, {&P::Epsilon50, 0.007, 0.005},
          {&P::SubgradeK, 400, 600}}},
        {5, "62. 32. 0.\n64. 36. 90.\n",
         {{&P::EffUnitWeight, 62, 64}, {&P::FrictionAngle, 32, 36}, {&P::SubgradeK, 0, 90}}},
        {6, "62. 32. 25.\n64. 36. 90.\n",
         {{&P::EffUnitWeight, 62, 64}, {&P::FrictionAngle, 32, 36}, {&P::SubgradeK, 25, 90}}},
        {7, "55.\n57.\n", {{&P::EffUnitWeight, 55, 57}}},
        // Weak rock: unit weight, Qu, Eir, RQD, krm.
        {8, "80. 1000. 30000. 50. 0.0005\n82. 1200. 40000. 60. 0.0001\n",
         {{&P::EffUnitWeight, 80, 82}, {&P::Cohesion, 1000, 1200}, {&P::SubgradeK, 30000, 40000},
          {&P::RQD, 50, 60}, {&P::Epsilon50, 0.0005, 0.0001}}},
        {9, "90. 2500.\n92. 3000.\n", {{&P::EffUnitWeight, 90, 92}, {&P::Cohesion, 2500, 3000}}},
        // Piedmont: the test type is an integer and may differ top to bottom.
        {10, "60. 1 20. 100. 200. 300.\n61 2 25. 110. 210. 310.\n",
         {{&P::EffUnitWeight, 60, 61}, {&P::PiedmontTestType, 1, 2}, {&P::N60, 20, 25},
          {&P::ConeTipResistance, 100, 110}, {&P::DilatometerModulus, 200, 210},
          {&P::PressuremeterModulus, 300, 310}}},
        {11, "60. 500. 30. 100. 0.01\n62. 600. 32. 150. 0.008\n",
         {{&P::EffUnitWeight, 60, 62}, {&P::Cohesion, 500, 600}, {&P::FrictionAngle, 30, 32},
          {&P::SubgradeK, 100, 150}, {&P::Epsilon50, 0.01, 0.008}}},
        {12, "50. 25000.\n52. 30000.\n", {{&P::EffUnitWeight, 50, 52}, {&P::ConeTipResistance, 25000, 30000}}},
        {13, "50. 100.\n52. 200.\n", {{&P::EffUnitWeight, 50, 52}, {&P::ElasticSubgradeModulus, 100, 200}}},
        {15, "50. 500. 0.02 0.25\n52. 700. 0.01 0.5\n",
         {{&P::EffUnitWeight, 50, 52}, {&P::Cohesion, 500, 700}, {&P::Epsilon50, 0.02, 0.01},
          {&P::J, 0.25, 0.5}}},
        {16, "", {}},
        {17, "", {}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE("code " + std::to_string(c.code));
        const ReadOutcome out =
            ReadLayers("2\n" + std::to_string(c.code) + " 0. 40.\n" + c.lines + kFollowingLayer);
        ASSERT_EQ(out.error, 0) << out.report;
        const model::ProblemData& p = out.problem;
        ASSERT_EQ(p.i_Number_of_Layers(), 2);
        const model::SoilLayer& layer = p.Layers[0];
        EXPECT_EQ(layer.KSOIL, c.code);
        EXPECT_EQ(layer.XLayerTop, 0.0);
        EXPECT_EQ(layer.XLayerBottom, 40.0);
        EXPECT_EQ(layer.Top.Depth, 0.0);
        EXPECT_EQ(layer.Bottom.Depth, 40.0);
        for (const Param& param : c.params) {
            EXPECT_EQ(layer.Top.*param.field, param.top);
            EXPECT_EQ(layer.Bottom.*param.field, param.bottom);
        }
        EXPECT_EQ(p.Layers[1].KSOIL, 7);
        EXPECT_EQ(p.Layers[1].XLayerBottom, 60.0);
        EXPECT_EQ(p.Layers[1].Top.EffUnitWeight, 55.0);
        EXPECT_EQ(p.Layers[1].Bottom.EffUnitWeight, 60.0);
        EXPECT_EQ(p.GroundSurfaceDepth, 0.0);
    }
}

TEST(SoilLayersBlock, UserCurvesAndAGroundSurfaceBelowTheHead) {
    // A user p-y layer with 3 points at the top and 4 at the bottom uses
    // 1 + 3 + 1 + 4 lines; the profile starts 5 below the pile head.
    const std::string body = "2\n14 5. 20.\n55. 3\n0. 0.\n0.5 100.\n1.0 150.\n58. 4\n0. 0.\n0.2 80.\n0.6 160.\n"
                             "1.2 200.\n" + kFollowingLayer;
    const ReadOutcome out = ReadLayers(body);
    ASSERT_EQ(out.error, 0) << out.report;
    const model::ProblemData& p = out.problem;
    EXPECT_EQ(p.GroundSurfaceDepth, 5.0);
    const model::SoilLayer& user = p.Layers[0];
    EXPECT_EQ(user.Top.EffUnitWeight, 55.0);
    EXPECT_EQ(user.Bottom.EffUnitWeight, 58.0);
    ASSERT_EQ(user.UserCurveTop.Points.size(), 3u);
    ASSERT_EQ(user.UserCurveBottom.Points.size(), 4u);
    EXPECT_EQ(user.UserCurveTop.Depth, 5.0);
    EXPECT_EQ(user.UserCurveBottom.Depth, 20.0);
    EXPECT_EQ(user.UserCurveTop.Points[2][1], 150.0);
    EXPECT_EQ(user.UserCurveBottom.Points[3][0], 1.2);
    EXPECT_EQ(p.Layers[1].KSOIL, 7);
    EXPECT_TRUE(ContainsLines(out.MessageLines(), {"Reading soil layering data"}));
}

TEST(SoilLayersBlock, NoLayers) {
    const ReadOutcome out = ReadLayers("0\n");
    ASSERT_EQ(out.error, 0) << out.report;
    EXPECT_EQ(out.problem.i_Number_of_Layers(), 0);
}

TEST(SoilLayersBlockErrors, CapacitiesAndCodes) {
    struct Case {
        std::string name;
        std::string body;
        std::int32_t code;
        std::vector<std::string> lines;
    };
    std::string forty_layers;
    for (int i = 0; i < 40; ++i) forty_layers += "16 " + std::to_string(i) + ". " + std::to_string(i + 1) + ".\n";
    const Case kCases[] = {
        {"81 layers", "81\n", 182,
         {"", "**** Input Data Error No. 82 ****", "",
          "Problem:  The number of soil layers in the SOIL LAYERS block is 81, more than the limit of 80.",
          "Solution: Reduce the number of soil layers to 80 or fewer.", ""}},
        {"code 18", "2\n1 0. 10.\n50. 500. 0.02\n50. 500. 0.02\n18 10. 20.\n", 184,
         {"", "**** Input Data Error No. 84 ****", "",
          "Problem:  Soil layer 2 of the SOIL LAYERS block has soil model code 18; the codes are 1 to 17.",
          "Solution: Correct the soil model code of the layer.", ""}},
        {"code 0", "1\n0 0. 10.\n", 184,
         {"Problem:  Soil layer 1 of the SOIL LAYERS block has soil model code 0; the codes are 1 to 17."}},
        {"31 curve points", "1\n14 0. 10.\n55. 31\n", 182,
         {"Problem:  The number of p-y curve points in the top curve of soil layer 1 of the SOIL LAYERS block is 31, "
          "more than the limit of 30."}},
        {"user curves in layer 41", "41\n" + forty_layers + "14 40. 50.\n", 182,
         {"Problem:  Soil layer 41 of the SOIL LAYERS block uses user-specified p-y curves, which can be given for "
          "the first 40 layers only.",
          "Solution: Combine layers so that user p-y curves are in the first 40 layers."}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const RunOutput out =
            RunInput("TREVAS6\nTITLE\nt\n\n\n\n\n" + OptionsBlock() + "SOIL LAYERS\n" + c.body + "END\n");
        EXPECT_EQ(out.code, c.code);
        EXPECT_TRUE(ContainsLines(out.ReportLines(), c.lines)) << out.report;
        EXPECT_TRUE(ContainsLines(out.MessageLines(), c.lines)) << out.messages;
    }
}

}  // namespace
}  // namespace trevasc::testing
