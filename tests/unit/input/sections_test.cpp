// The SECTIONS block: stored values of every section type, the SI millimetre
// conversions, generated bar and strand positions, and every error with its
// text and result code.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "input/reader_harness.hpp"
#include "support/run_fixture.hpp"
#include "trevasc/units.hpp"

namespace trevasc::testing {
namespace {

const std::string kConcrete =
    "4000.\n0.75\nUse default concrete tensile strength\nUse internal stress-strain curve for concrete\n";

std::string SectionsBlock(const std::string& body) { return "SECTIONS\n" + body; }

ReadOutcome ReadSections(const std::string& body, const OptionSwitches& switches = {}) {
    return ReadBlocks(OptionsBlock(switches) + SectionsBlock(body) + "END\n");
}

std::string FullFile(const std::string& blocks, const OptionSwitches& switches = {}) {
    return "TREVAS6\nTITLE\nSections test\n\n\n\n\n" + OptionsBlock(switches) + blocks + "END\n";
}

// ---------------------------------------------------------------------------
// One section of every type: derived width, depths and property rows.

TEST(SectionsBlock, EveryTypeStoresItsWidthDepthsAndPropertyRows) {
    struct Case {
        std::string name;
        std::string body;  // the lines after the section count
        std::int32_t type;
        bool filled_core;
        double width;             // SectionWidth
        double row_width_top, row_width_bottom;
        double inertia_top, inertia_bottom, area_top, area_bottom, modulus;
    };
    // Steel pipe 24 in. x 0.5 in.: I = pi/64 (24^4 - 23^4), A = pi/4 (24^2 - 23^2).
    const double pipe_inertia = kPi / 64.0 * (331776.0 - 279841.0);
    const double pipe_area = kPi / 4.0 * (576.0 - 529.0);
    const std::string strands = "Manually-positioned strands\n1\n1\n100000.\n0.2\n1 1 3 0.0 0.0\n";
    const Case kCases[] = {
        {"rectangular", "1\n0\n20.\n24.\n18.\n" + kConcrete + "No rebar\n", 0, false, 24.0, 24.0, 24.0, 0, 0, 0, 0, 0},
        {"drilled shaft", "1\n1\n20.\n36.\n" + kConcrete + "No rebar\n", 1, false, 36.0, 36.0, 36.0, 0, 0, 0, 0, 0},
        {"cased shaft", "1\n2\n20.\n48.\n0.5\n36000.\n29000000.\n" + kConcrete + "No rebar\n", 2, false, 48.0, 48.0,
         48.0, 0, 0, 0, 0, 0},
        {"filled core", "1\n3\n20.\n48.\n0.5\n36000.\n29000000.\n12.\n0.375\n50000.\n29000000.\n" + kConcrete +
                            "No rebar\n",
         3, true, 48.0, 48.0, 48.0, 0, 0, 0, 0, 0},
        {"void core", "1\n-3\n20.\n48.\n0.5\n36000.\n29000000.\n12.\n0.375\n50000.\n29000000.\n" + kConcrete +
                          "No rebar\n",
         3, false, 48.0, 48.0, 48.0, 0, 0, 0, 0, 0},
        {"steel pipe", "1\n4\n20.\n24.\n0.5\n36000.\n29000000.\n", 4, false, 24.0, 24.0, 24.0, pipe_inertia,
         pipe_inertia, pipe_area, pipe_area, 29000000.0},
        {"circular prestressed", "1\n5\n20.\n18.\n" + kConcrete + strands, 5, false, 18.0, 18.0, 18.0, 0, 0, 0, 0, 0},
        {"circular hollow", "1\n6\n20.\n36.\n24.\n" + kConcrete + strands, 6, false, 36.0, 36.0, 36.0, 0, 0, 0, 0, 0},
        {"square solid", "1\n7\n20.\n14.\n0.75\n" + kConcrete + strands, 7, false, 14.0, 14.0, 14.0, 0, 0, 0, 0, 0},
        {"square hollow", "1\n8\n20.\n24.\n11.\n0.75\n" + kConcrete + strands, 8, false, 24.0, 24.0, 24.0, 0, 0, 0,
         0, 0},
        {"octagonal solid", "1\n9\n20.\n18.\n" + kConcrete + strands, 9, false, 18.0, 18.0, 18.0, 0, 0, 0, 0, 0},
        {"octagonal hollow", "1\n10\n20.\n24.\n11.\n" + kConcrete + strands, 10, false, 24.0, 24.0, 24.0, 0, 0, 0,
         0, 0},
        // Elastic circular: widths, areas and inertias at top and bottom.
        {"elastic", "1\n11\n20.\n2\n4000000.\n18.\n16.\n254.5\n201.1\n5153.\n3217.\n", 11, false, 0.0, 18.0, 16.0,
         5153.0, 3217.0, 254.5, 201.1, 4000000.0},
        // Elastic-plastic strong H-pile: one width, area and inertia for both rows.
        {"elastic-plastic", "1\n12\n20.\n4\n29000000.\n4.0E6\n10.2\n9.7\n0.57\n0.57\n16.8\n294.\n", 12, false, 0.0,
         10.2, 10.2, 294.0, 294.0, 16.8, 16.8, 29000000.0},
        {"user EI", "1\n13\n20.\n30.\n1\n0.\n2\n1.0E6\n1.0E10\n2.0E6\n0.9E10\n", 13, false, 30.0, 30.0, 30.0, 0, 0, 0,
         0, 0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const ReadOutcome out = ReadSections("1\n" + c.body);
        ASSERT_EQ(out.error, 0) << out.report;
        const model::ProblemData& p = out.problem;
        ASSERT_EQ(p.Sections.size(), 1u);
        const model::PileSection& s = p.Sections[0];
        EXPECT_EQ(s.SectionType, c.type);
        EXPECT_EQ(s.b_FillCoreWithConcrete, c.filled_core);
        EXPECT_EQ(s.SectionLength, 20.0);
        EXPECT_EQ(s.SectionWidth, c.width);
        EXPECT_EQ(s.SectionTopDepth, 0.0);
        EXPECT_EQ(s.SectionBottomDepth, 20.0);
        EXPECT_EQ(p.PileTotalLength, 20.0);
        ASSERT_EQ(p.SectionPropertyTable.size(), 2u);
        const model::SectionPropertyRow& top = p.SectionPropertyTable[0];
        const model::SectionPropertyRow& bottom = p.SectionPropertyTable[1];
        EXPECT_EQ(top.Depth, 0.0);
        EXPECT_EQ(bottom.Depth, 20.0);
        EXPECT_EQ(top.Width, c.row_width_top);
        EXPECT_EQ(bottom.Width, c.row_width_bottom);
        EXPECT_NEAR(top.Inertia, c.inertia_top, 1e-9 * (1.0 + c.inertia_top));
        EXPECT_NEAR(bottom.Inertia, c.inertia_bottom, 1e-9 * (1.0 + c.inertia_bottom));
        EXPECT_NEAR(top.Area, c.area_top, 1e-12 * (1.0 + c.area_top));
        EXPECT_NEAR(bottom.Area, c.area_bottom, 1e-12 * (1.0 + c.area_bottom));
        EXPECT_EQ(top.Modulus, c.modulus);
        EXPECT_EQ(bottom.Modulus, c.modulus);
        EXPECT_TRUE(ContainsLines(out.MessageLines(), {"Reading section properties for Section 1"}));
    }
}

TEST(SectionsBlock, SectionsStackFromTheHeadAndAMicropileAddsNoLength) {
    // Micropile first, then a shaft of 20 and a pipe of 30: the shaft starts at
    // the head, the pipe at 20, the pile is 50 long.
    const std::string body = "3\n1\n14\n5.\n2\n1\n20.\n36.\n" + kConcrete + "No rebar\n" +
                             "3\n4\n30.\n24.\n0.5\n36000.\n29000000.\n";
    const ReadOutcome out = ReadSections(body);
    ASSERT_EQ(out.error, 0) << out.report;
    const model::ProblemData& p = out.problem;
    ASSERT_EQ(p.Sections.size(), 3u);
    EXPECT_EQ(p.PileTotalLength, 50.0);
    EXPECT_EQ(p.Sections[1].SectionTopDepth, 0.0);
    EXPECT_EQ(p.Sections[1].SectionBottomDepth, 20.0);
    EXPECT_EQ(p.Sections[2].SectionTopDepth, 20.0);
    EXPECT_EQ(p.Sections[2].SectionBottomDepth, 50.0);
    ASSERT_EQ(p.SectionPropertyTable.size(), 6u);
    // The micropile has no rows of its own.
    EXPECT_EQ(p.SectionPropertyTable[0].Width, 0.0);
    EXPECT_EQ(p.SectionPropertyTable[1].Depth, 0.0);
    const double kDepths[] = {0.0, 20.0, 20.0, 50.0};
    const double kWidths[] = {36.0, 36.0, 24.0, 24.0};
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(p.SectionPropertyTable[2 + r].Depth, kDepths[r]) << r;
        EXPECT_EQ(p.SectionPropertyTable[2 + r].Width, kWidths[r]) << r;
    }
}

TEST(SectionsBlock, NoSectionsLeavesAnEmptyPile) {
    const ReadOutcome out = ReadSections("0\n");
    ASSERT_EQ(out.error, 0) << out.report;
    EXPECT_TRUE(out.problem.Sections.empty());
    EXPECT_TRUE(out.problem.SectionPropertyTable.empty());
    EXPECT_EQ(out.problem.PileTotalLength, 0.0);
}

TEST(SectionsBlock, CasedShaftWithCoreKeepsEveryDimension) {
    const ReadOutcome out =
        ReadSections("1\n1\n-3\n20.\n48.\n0.5\n36000.\n29000000.\n12.\n0.375\n50000.\n28000000.\n" + kConcrete +
                     "No rebar\n");
    ASSERT_EQ(out.error, 0) << out.report;
    const model::PileSection& s = out.problem.Sections[0];
    EXPECT_EQ(s.SteelThickness, 0.5);
    EXPECT_EQ(s.SteelYieldStress, 36000.0);
    EXPECT_EQ(s.SteelModulus, 29000000.0);
    EXPECT_EQ(s.CoreDiameter, 12.0);
    EXPECT_EQ(s.CoreThickness, 0.375);
    EXPECT_EQ(s.CoreYieldStress, 50000.0);
    EXPECT_EQ(s.CoreModulus, 28000000.0);
    EXPECT_FALSE(s.b_FillCoreWithConcrete);
    EXPECT_EQ(s.Rebar.BarCount, 0);
}

TEST(SectionsBlock, ConcreteOverridesAndInputCurve) {
    const std::string concrete =
        "5000.\n1.0\nOverride concrete tensile strength\n480.\nInput stress-strain curve for concrete\n3\n"
        "1 0.0 0.0\n2 0.001 3000.\n3 0.003 5000.\n";
    const ReadOutcome out = ReadSections("1\n1\n1\n20.\n36.\n" + concrete + "No rebar\n");
    ASSERT_EQ(out.error, 0) << out.report;
    const model::ConcreteData& c = out.problem.Sections[0].Concrete;
    EXPECT_EQ(c.ConcreteStrength, 5000.0);
    EXPECT_EQ(c.MaxAggregateSize, 1.0);
    EXPECT_FALSE(c.UseDefaultTensileStrength);
    EXPECT_EQ(c.TensileStrength, 480.0);
    EXPECT_TRUE(c.UseInputStressStrain);
    ASSERT_EQ(c.ConcreteCurve.size(), 3u);
    EXPECT_EQ(c.ConcreteCurve[1][0], 0.001);
    EXPECT_EQ(c.ConcreteCurve[2][1], 5000.0);
    EXPECT_TRUE(ContainsLines(out.MessageLines(), {"Reading section properties for Section 1",
                                                   "Reading concrete property data for Section 1",
                                                   "Reading rebar property data for Section 1"}));
}

// ---------------------------------------------------------------------------
// Bars.

TEST(SectionsBlock, CircularCageIsGeneratedWithTheOffset) {
    // 36 in. shaft, 8 bars of 1.0 in. (0.79 sq. in.), 3 in. cover, offset 2:
    // centres on R = 14.5, every y raised by 2.
    const std::string rebar =
        "Rebar Arrangement Not Same As Section Above\nRebar in circle\n60000.\n29000000.\n8\n1\n1.0\n0.79\n3.0\n2.0\n";
    const ReadOutcome out = ReadSections("1\n1\n1\n20.\n36.\n" + kConcrete + rebar);
    ASSERT_EQ(out.error, 0) << out.report;
    const model::RebarData& r = out.problem.Sections[0].Rebar;
    EXPECT_TRUE(r.RebarInCircle);
    EXPECT_FALSE(r.RebarSameAsAbove);
    EXPECT_EQ(r.RebarYieldStress, 60000.0);
    EXPECT_EQ(r.BarCount, 8);
    ASSERT_EQ(r.Bars.size(), 8u);
    for (int j = 0; j < 8; ++j) {
        const double angle = j * kPi / 4.0;
        EXPECT_NEAR(r.Bars[j].BarX, 14.5 * std::cos(angle), 1e-9) << j;
        EXPECT_NEAR(r.Bars[j].BarY, 14.5 * std::sin(angle) + 2.0, 1e-9) << j;
        EXPECT_EQ(r.Bars[j].BarDiameter, 1.0);
        EXPECT_EQ(r.Bars[j].BarArea, 0.79);
    }
}

TEST(SectionsBlock, ListedBarsInSiAreStoredInMetres) {
    // In SI a bar area of 314 mm^2 is 0.000314 m^2; 25 mm is 0.025 m.
    const std::string rebar =
        "Rebar Arrangement Same As Section Above\nRebar in noncircular pattern\n420000.\n200000000.\n2\n"
        "1 8 25. 314. -200. 150.\n2 8 25. 314. 200. -150.\n";
    OptionSwitches si;
    si.units = "Units SI";
    const ReadOutcome out = ReadSections("1\n1\n0\n6.\n600.\n400.\n" + kConcrete + rebar, si);
    ASSERT_EQ(out.error, 0) << out.report;
    const model::PileSection& s = out.problem.Sections[0];
    EXPECT_EQ(s.SectionLength, 6.0);  // lengths stay in metres
    EXPECT_DOUBLE_EQ(s.RectDepth, 0.6);
    EXPECT_DOUBLE_EQ(s.RectWidth, 0.4);
    EXPECT_DOUBLE_EQ(s.SectionWidth, 0.6);
    EXPECT_DOUBLE_EQ(s.Concrete.MaxAggregateSize, 0.00075);
    EXPECT_EQ(s.Concrete.ConcreteStrength, 4000.0);  // stresses as entered
    const model::RebarData& r = s.Rebar;
    EXPECT_TRUE(r.RebarSameAsAbove);
    EXPECT_FALSE(r.RebarInCircle);
    ASSERT_EQ(r.Bars.size(), 2u);
    EXPECT_EQ(r.Bars[0].BarSizeCode, 8);
    EXPECT_DOUBLE_EQ(r.Bars[0].BarDiameter, 0.025);
    EXPECT_DOUBLE_EQ(r.Bars[0].BarArea, 0.000314);
    EXPECT_DOUBLE_EQ(r.Bars[0].BarX, -0.2);
    EXPECT_DOUBLE_EQ(r.Bars[1].BarY, -0.15);
    EXPECT_EQ(r.RebarYieldStress, 420000.0);
}

TEST(SectionsBlock, SiCircularCageUsesMetres) {
    // 900 mm shaft, 75 mm cover, 25 mm bars: R = (0.9 - 0.025)/2 - 0.075 = 0.3625 m.
    const std::string rebar =
        "Rebar Arrangement Not Same As Section Above\nRebar in circle\n420000.\n200000000.\n4\n2\n25.\n491.\n75.\n0.\n";
    OptionSwitches si;
    si.units = "Units SI";
    const ReadOutcome out = ReadSections("1\n1\n1\n10.\n900.\n" + kConcrete + rebar, si);
    ASSERT_EQ(out.error, 0) << out.report;
    const model::RebarData& r = out.problem.Sections[0].Rebar;
    ASSERT_EQ(r.Bars.size(), 8u);
    EXPECT_EQ(r.BarCount, 8);
    EXPECT_DOUBLE_EQ(r.ConcreteCover, 0.075);
    EXPECT_DOUBLE_EQ(r.Bars[0].BarArea, 0.000491);
    for (const model::BarRecord& bar : r.Bars) EXPECT_NEAR(std::hypot(bar.BarX, bar.BarY), 0.3625, 1e-12);
    // The pair at position 1 straddles the x axis, d/2 either side along the arc.
    const double delta = 0.0125 / 0.3625;
    EXPECT_NEAR(r.Bars[0].BarY, -0.3625 * std::sin(delta), 1e-12);
    EXPECT_NEAR(r.Bars[1].BarY, 0.3625 * std::sin(delta), 1e-12);
}

TEST(SectionsBlock, UnknownRebarPatternEndsTheSubBlockSilently) {
    // The next line is read as the following section's number.
    const std::string body = "2\n1\n1\n20.\n36.\n" + kConcrete +
                             "Rebar Arrangement Not Same As Section Above\nRebar in spiral\n" +
                             "2\n4\n30.\n24.\n0.5\n36000.\n29000000.\n";
    const ReadOutcome out = ReadSections(body);
    ASSERT_EQ(out.error, 0) << out.report;
    EXPECT_EQ(out.problem.Sections[0].Rebar.BarCount, 0);
    EXPECT_EQ(out.problem.Sections[1].SectionType, 4);
    EXPECT_EQ(out.problem.PileTotalLength, 50.0);
}

// ---------------------------------------------------------------------------
// Strands.

TEST(SectionsBlock, AutomaticStrandPatterns) {
    struct Case {
        std::string name;
        std::string body;
        std::vector<std::array<double, 2>> positions;  // first strands, in order
        std::size_t count;
    };
    // Type 1 size 3 strand: 0.5 in., 0.153 in^2.
    // Square pile 24 in., cover 1.75: a = (24 - 0.5)/2 - 1.75 = 10.
    // Circular pile 24 in., cover 2.75: R = (24 - 0.5)/2 - 2.75 = 9.
    const Case kCases[] = {
        {"pattern 0 on a circle", "1\n5\n40.\n24.\n" + kConcrete + "Autoposition strands\n1\n3\n6\n150000.\n0.18\n2.75\n0\n",
         {{9.0, 0.0}, {4.5, 9.0 * std::sqrt(3.0) / 2.0}, {-4.5, 9.0 * std::sqrt(3.0) / 2.0}}, 6},
        {"pattern 1", "1\n7\n40.\n24.\n0.75\n" + kConcrete + "Autoposition strands\n1\n3\n6\n150000.\n0.18\n1.75\n1\n",
         {{-10, -10}, {0, -10}, {10, -10}, {10, 10}, {0, 10}, {-10, 10}}, 6},
        {"pattern 2", "1\n7\n40.\n24.\n0.75\n" + kConcrete + "Autoposition strands\n1\n3\n6\n150000.\n0.18\n1.75\n2\n",
         {{-10, -10}, {10, -10}, {10, 0}, {10, 10}, {-10, 10}, {-10, 0}}, 6},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const ReadOutcome out = ReadSections("1\n" + c.body);
        ASSERT_EQ(out.error, 0) << out.report;
        const model::StrandData& st = out.problem.Sections[0].Strand;
        EXPECT_TRUE(st.AutoPositionStrands);
        EXPECT_EQ(st.StrandTypeCode, 1);
        EXPECT_EQ(st.StrandSizeCode, 3);
        EXPECT_EQ(st.StrandCount, static_cast<std::int32_t>(c.count));
        EXPECT_EQ(st.InitialPrestressForce, 150000.0);
        EXPECT_EQ(st.PrestressLossFraction, 0.18);
        EXPECT_EQ(st.StrandDiameter, 0.5);
        EXPECT_EQ(st.StrandArea, static_cast<double>(0.153f));
        ASSERT_EQ(st.Strands.size(), c.count);
        for (std::size_t j = 0; j < c.positions.size(); ++j) {
            EXPECT_NEAR(st.Strands[j].BarX, c.positions[j][0], 1e-9) << j;
            EXPECT_NEAR(st.Strands[j].BarY, c.positions[j][1], 1e-9) << j;
            EXPECT_EQ(st.Strands[j].BarSizeCode, 3);
            EXPECT_EQ(st.Strands[j].BarDiameter, 0.5);
        }
        EXPECT_TRUE(ContainsLines(out.MessageLines(), {"Reading prestressing strand data for Section 1"}));
    }
}

TEST(SectionsBlock, ManualStrandsTakeTheirOwnTypeAndSize) {
    // The type on each strand line replaces the one above; in SI the positions
    // are millimetres and the strand size is converted to metres.
    const std::string strands =
        "Manually-positioned strands\n0\n2\n800.\n0.2\n1 1 6 -100. 0.\n2 2 4 100. 0.\n";
    OptionSwitches si;
    si.units = "Units SI";
    const ReadOutcome out = ReadSections("1\n1\n9\n12.\n450.\n" + kConcrete + strands, si);
    ASSERT_EQ(out.error, 0) << out.report;
    const model::StrandData& st = out.problem.Sections[0].Strand;
    EXPECT_FALSE(st.AutoPositionStrands);
    EXPECT_EQ(st.StrandTypeCode, 2);
    ASSERT_EQ(st.Strands.size(), 2u);
    // Strand 1: type 1 size 6 = 0.6 in., 0.217 in^2; strand 2: type 2 size 4 = 0.6 in., 0.217 in^2.
    EXPECT_DOUBLE_EQ(st.Strands[0].BarDiameter, static_cast<double>(0.6f) * 0.0254);
    EXPECT_DOUBLE_EQ(st.Strands[0].BarArea, static_cast<double>(0.217f) * 0.0254 * 0.0254);
    EXPECT_EQ(st.Strands[1].BarSizeCode, 4);
    EXPECT_DOUBLE_EQ(st.Strands[0].BarX, -0.1);
    EXPECT_DOUBLE_EQ(st.Strands[1].BarX, 0.1);
    EXPECT_EQ(st.StrandDiameter, st.Strands[0].BarDiameter);
    EXPECT_EQ(st.StrandArea, st.Strands[0].BarArea);
    EXPECT_DOUBLE_EQ(out.problem.Sections[0].SectionWidth, 0.45);
}

// ---------------------------------------------------------------------------
// Elastic, elastic-plastic and user-defined EI sections.

TEST(SectionsBlock, ElasticShapesFillTheirRows) {
    struct Case {
        std::string name;
        std::string lines;  // after the shape code
        int type, shape;
        double width_top, width_bottom, structural_top, structural_bottom;
        double mp_top, mp_bottom;
    };
    const Case kCases[] = {
        {"rectangular", "1\n3.0E6\n12.\n10.\n24.\n20.\n288.\n200.\n13824.\n6667.\n", 11, 1, 12, 10, 0, 0, 0, 0},
        {"pipe", "3\n2.9E7\n24.\n20.\n0.5\n0.4\n36.9\n24.6\n2549.\n1200.\n", 11, 3, 24, 20, 0, 0, 0, 0},
        {"strong H", "4\n2.9E7\n10.2\n9.7\n0.57\n0.57\n16.8\n294.\n", 11, 4, 10.2, 10.2, 0, 0, 0, 0},
        // The weak-axis H-pile faces the soil with its depth.
        {"weak H", "5\n2.9E7\n10.2\n9.7\n0.57\n0.57\n16.8\n101.\n", 11, 5, 9.7, 9.7, 0, 0, 0, 0},
        // The embedded pole is seen by the soil through its drilled hole.
        {"pole", "6\n1.6E6\n12.\n14.\n113.\n154.\n1018.\n1886.\n24.\n", 11, 6, 24, 24, 12, 14, 0, 0},
        {"plastic circular", "2\n2.9E7\n5.0E6\n4.0E6\n18.\n16.\n254.5\n201.1\n5153.\n3217.\n", 12, 2, 18, 16, 0, 0,
         5.0e6, 4.0e6},
        {"plastic weak H", "5\n2.9E7\n3.0E6\n10.2\n9.7\n0.57\n0.57\n16.8\n101.\n", 12, 5, 9.7, 9.7, 0, 0, 3.0e6,
         3.0e6},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const ReadOutcome out =
            ReadSections("1\n1\n" + std::to_string(c.type) + "\n20.\n" + c.lines);
        ASSERT_EQ(out.error, 0) << out.report;
        const model::ElasticData& e = out.problem.Sections[0].Elastic;
        EXPECT_EQ(e.ElasticShape, c.shape);
        EXPECT_EQ(e.PlasticMomentTop, c.mp_top);
        EXPECT_EQ(e.PlasticMomentBottom, c.mp_bottom);
        const auto& rows = out.problem.SectionPropertyTable;
        EXPECT_EQ(rows[0].Width, c.width_top);
        EXPECT_EQ(rows[1].Width, c.width_bottom);
        EXPECT_EQ(rows[0].StructuralWidth, c.structural_top);
        EXPECT_EQ(rows[1].StructuralWidth, c.structural_bottom);
        EXPECT_EQ(rows[0].Modulus, e.ElasticModulus);
        EXPECT_EQ(rows[0].Inertia, e.InertiaTop);
        EXPECT_EQ(rows[1].Inertia, e.InertiaBottom);
        EXPECT_EQ(rows[1].Area, e.AreaBottom);
        const std::string progress = c.type == 11 ? "Reading elastic section properties for Section 1"
                                                  : "Reading elastic-plastic section properties for Section 1";
        EXPECT_TRUE(ContainsLines(out.MessageLines(), {progress}));
    }
}

TEST(SectionsBlock, SiElasticSectionConvertsDimensionsButNotThicknesses) {
    // 1.0E9 mm^4 is 0.001 m^4; flange and web thicknesses are kept as entered.
    OptionSwitches si;
    si.units = "Units SI";
    const ReadOutcome out = ReadSections("1\n1\n11\n10.\n4\n200000000.\n250.\n250.\n14.\n9.\n8000.\n1.0E9\n", si);
    ASSERT_EQ(out.error, 0) << out.report;
    const model::ElasticData& e = out.problem.Sections[0].Elastic;
    EXPECT_DOUBLE_EQ(e.WidthTop, 0.25);
    EXPECT_DOUBLE_EQ(e.DepthBottom, 0.25);
    EXPECT_EQ(e.FlangeThickness, 14.0);
    EXPECT_EQ(e.WebThickness, 9.0);
    EXPECT_DOUBLE_EQ(e.AreaBottom, 0.008);
    EXPECT_DOUBLE_EQ(e.InertiaTop, 0.001);
    EXPECT_DOUBLE_EQ(out.problem.SectionPropertyTable[1].Inertia, 0.001);
    EXPECT_EQ(e.ElasticModulus, 200000000.0);
}

TEST(SectionsBlock, UserDefinedEiLevels) {
    const std::string body = "1\n1\n13\n40.\n30.\n2\n0.\n2\n1.0E6\n1.0E10\n2.0E6\n0.9E10\n500.\n1\n3.0E6\n0.8E10\n";
    const ReadOutcome out = ReadSections(body);
    ASSERT_EQ(out.error, 0) << out.report;
    const model::UserEIData& u = out.problem.Sections[0].UserEI;
    ASSERT_EQ(u.ThrustLevels.size(), 2u);
    EXPECT_EQ(u.ThrustLevels[0].AxialThrust, 0.0);
    ASSERT_EQ(u.ThrustLevels[0].Points.size(), 2u);
    EXPECT_EQ(u.ThrustLevels[0].Points[1][0], 2.0e6);
    EXPECT_EQ(u.ThrustLevels[0].Points[1][1], 0.9e10);
    EXPECT_EQ(u.ThrustLevels[1].AxialThrust, 500.0);
    EXPECT_EQ(u.ThrustLevels[1].Points[0][1], 0.8e10);
}

// ---------------------------------------------------------------------------
// Errors: result code and the exact lines of the message.

struct ErrorCase {
    std::string name;
    std::string body;  // the SECTIONS block after its keyword
    std::int32_t code;
    std::vector<std::string> lines;  // consecutive report lines
    bool also_messages = false;      // the message is copied to the message file
    std::string units = "Units USCS";
};

void RunErrorCases(const std::vector<ErrorCase>& cases) {
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.name);
        OptionSwitches switches;
        switches.units = c.units;
        const RunOutput out = RunInput(FullFile(SectionsBlock(c.body), switches));
        EXPECT_EQ(out.code, c.code) << out.report;
        const auto report = out.ReportLines();
        EXPECT_TRUE(ContainsLines(report, c.lines)) << out.report;
        const std::string stop = "Trevasc ended prematurely due to input error number INP" +
                                 std::string(c.code - 100 < 10 ? "0000" : "000") + std::to_string(c.code - 100);
        EXPECT_TRUE(ContainsLines(report, {stop})) << out.report;
        if (c.also_messages) {
            EXPECT_TRUE(ContainsLines(out.MessageLines(), c.lines)) << out.messages;
        }
    }
}

TEST(SectionsBlockErrors, ExactTextsAndCodes) {
    const std::string shaft = "1\n1\n1\n20.\n36.\n";
    RunErrorCases({
        {"section out of order", "1\n2\n1\n20.\n", 195,
         {"SECTION DATA OUT-OF-ORDER", "", "Expecting section number 1, but section number 2 was found"}},
        {"tensile strength option", shaft + "4000.\n0.75\nUse default tensile strength\n", 195,
         {"", "INPUT ERROR - Unrecognized command for concrete tensile strength option"}},
        {"stress-strain option", shaft + "4000.\n0.75\nUse default concrete tensile strength\nNo curve\n", 195,
         {"", "INPUT ERROR - Unrecognized input for concrete stress-strain option"}},
        {"curve sequence",
         shaft + "4000.\n0.75\nUse default concrete tensile strength\nInput stress-strain curve for concrete\n3\n"
                 "1 0. 0.\n3 0.001 3000.\n",
         195,
         {"", "INPUT ERROR - Sequence error encountered when reading concrete stress-strain curve", "",
          "Expecting line no. 2 but line no. 3 was read", "", ""}},
        {"rebar continuation", shaft + kConcrete + "Rebar Arrangement Unknown\n", 195,
         {"", "INPUT ERROR - Unrecognized command for rebar continuation from section above option"}},
        {"strand order",
         "1\n1\n5\n20.\n18.\n" + kConcrete + "Manually-positioned strands\n1\n2\n1000.\n0.2\n1 1 3 0. 0.\n3 1 3 1. 1.\n",
         195, {"INPUT ERROR - Input out-of-order for strand no. 2"}},
        {"strand option", "1\n1\n5\n20.\n18.\n" + kConcrete + "Strands by hand\n", 195,
         {"INPUT ERROR - Unrecognized input for strand no. 1", ""}},
    });
}

TEST(SectionsBlockErrors, CapacitiesAndCodesOfOurOwn) {
    const std::string shaft = "1\n1\n1\n20.\n36.\n";
    RunErrorCases({
        {"21 sections", "21\n", 182,
         {"", "**** Input Data Error No. 82 ****", "",
          "Problem:  The number of pile sections in the SECTIONS block is 21, more than the limit of 20.",
          "Solution: Reduce the number of pile sections to 20 or fewer.", ""},
         true},
        {"101 concrete points",
         shaft + "4000.\n0.75\nUse default concrete tensile strength\nInput stress-strain curve for concrete\n101\n", 182,
         {"Problem:  The number of concrete stress-strain points in section 1 of the SECTIONS block is 101, more "
          "than the limit of 100."}},
        {"301 listed bars",
         shaft + kConcrete + "Rebar Arrangement Not Same As Section Above\nRebar in noncircular pattern\n60000.\n"
                             "29000000.\n301\n",
         182,
         {"Problem:  The number of reinforcing bars in section 1 of the SECTIONS block is 301, more than the limit "
          "of 300."}},
        {"301 strands", "1\n1\n5\n20.\n18.\n" + kConcrete + "Manually-positioned strands\n1\n301\n1000.\n0.2\n", 182,
         {"Problem:  The number of prestressing strands in section 1 of the SECTIONS block is 301, more than the "
          "limit of 300."}},
        {"101 thrust levels", "1\n1\n13\n20.\n30.\n101\n", 182,
         {"Problem:  The number of axial thrust levels of user-defined EI in section 1 of the SECTIONS block is 101, "
          "more than the limit of 100."}},
        {"151 M-EI points", "1\n1\n13\n20.\n30.\n1\n0.\n151\n", 182,
         {"Problem:  The number of M-EI points in thrust level 1 of section 1 of the SECTIONS block is 151, more "
          "than the limit of 150."}},
        {"section type 15", "2\n1\n1\n20.\n36.\n" + kConcrete + "No rebar\n2\n15\n", 183,
         {"", "**** Input Data Error No. 83 ****", "",
          "Problem:  Section 2 of the SECTIONS block has section type 15; the section types are 0 to 14, and -3 for "
          "a cased shaft with a void core.",
          "Solution: Correct the section type.", ""},
         true},
        {"section type -1", "1\n1\n-1\n", 183, {"**** Input Data Error No. 83 ****"}},
        {"cage with no cover",
         shaft + kConcrete + "Rebar Arrangement Not Same As Section Above\nRebar in circle\n60000.\n29000000.\n8\n1\n"
                             "1.0\n0.79\n0.\n0.\n",
         185,
         {"", "**** Input Data Error No. 85 ****", "",
          "Problem:  The circular bar cage of section 1 cannot be generated: the cover is not greater than zero.",
          "Solution: Correct the section dimensions, cover, bar or strand size and counts.", ""},
         true},
        {"bundle of four",
         shaft + kConcrete + "Rebar Arrangement Not Same As Section Above\nRebar in circle\n60000.\n29000000.\n8\n4\n"
                             "1.0\n0.79\n3.\n0.\n",
         185,
         {"Problem:  The circular bar cage of section 1 cannot be generated: the number of bars per bundle is not 1, "
          "2 or 3."}},
        {"301 bundled bars",
         shaft + kConcrete + "Rebar Arrangement Not Same As Section Above\nRebar in circle\n60000.\n29000000.\n101\n3\n"
                             "1.0\n0.79\n3.\n0.\n",
         186,
         {"", "**** Input Data Error No. 86 ****", "",
          "Problem:  Section 1 has 101 bar positions of 3 bars each, 303 bars, more than the limit of 300.",
          "Solution: Reduce the number of bar positions or of bars per bundle.", ""},
         true},
        {"pattern 1 with 3 strands",
         "1\n1\n7\n20.\n24.\n0.75\n" + kConcrete + "Autoposition strands\n1\n3\n3\n1000.\n0.2\n1.75\n1\n", 187,
         {"", "**** Input Data Error No. 87 ****", "",
          "Problem:  The strand pattern 1 of section 1 cannot be generated: strand patterns 1 and 2 need 1 strand or "
          "from 4 to 300 strands.",
          "Solution: Correct the section dimensions, cover, bar or strand size and counts.", ""},
         true},
        {"pattern 4", "1\n1\n7\n20.\n24.\n0.75\n" + kConcrete + "Autoposition strands\n1\n3\n8\n1000.\n0.2\n1.75\n4\n",
         187,
         {"Problem:  The strand pattern 4 of section 1 cannot be generated: the strand pattern is not 0, 1 or 2."}},
        {"pattern 0 without strands",
         "1\n1\n5\n20.\n24.\n" + kConcrete + "Autoposition strands\n1\n3\n0\n1000.\n0.2\n1.75\n0\n", 185,
         {"Problem:  The circular strand pattern (pattern 0) of section 1 cannot be generated: the number of bar "
          "positions is not between 1 and 300."}},
        {"strand size", "1\n1\n5\n20.\n18.\n" + kConcrete + "Manually-positioned strands\n1\n1\n1000.\n0.2\n1 0 7 0. 0.\n",
         188,
         {"", "**** Input Data Error No. 88 ****", "",
          "Problem:  Strand 1 of section 1 has size code 7; strand type 0 has size codes 0 to 6.",
          "Solution: Correct the strand type or size code.", ""},
         true},
        {"strand type", "1\n1\n5\n20.\n18.\n" + kConcrete + "Autoposition strands\n9\n3\n8\n1000.\n0.2\n1.75\n0\n", 188,
         {"Problem:  Strand 1 of section 1 has strand type 9; the strand types are 0 to 5."}},
        {"elastic shape", "1\n1\n11\n20.\n7\n", 188,
         {"Problem:  Section 1 has elastic section shape 7; the shapes are 1 to 6.",
          "Solution: Correct the cross-sectional shape code."}},
        // TREVAS6, TITLE with five lines, OPTIONS with sixteen, SECTIONS and
        // six lines of the block: END is line 32.
        {"truncated block", "2\n1\n4\n20.\n24.\n0.5\n", 180,
         {"", "**** Input Data Error No. 80 ****", "",
          "Line 32 of the input file could not be read as a real number for the steel yield stress of section 1:",
          "    END"},
         true},
    });
}

TEST(SectionsBlockErrors, TwentySectionsAndThreeHundredBarsAreAccepted) {
    std::string body = "20\n";
    for (int i = 1; i <= 20; ++i) body += std::to_string(i) + "\n4\n5.\n24.\n0.5\n36000.\n29000000.\n";
    const ReadOutcome sections = ReadSections(body);
    ASSERT_EQ(sections.error, 0) << sections.report;
    EXPECT_EQ(sections.problem.Sections.size(), 20u);
    EXPECT_EQ(sections.problem.SectionPropertyTable.size(), 40u);
    EXPECT_EQ(sections.problem.PileTotalLength, 100.0);
    EXPECT_EQ(sections.problem.SectionPropertyTable[39].Depth, 100.0);

    const ReadOutcome bars = ReadSections("1\n1\n1\n20.\n36.\n" + kConcrete +
                                          "Rebar Arrangement Not Same As Section Above\nRebar in circle\n60000.\n"
                                          "29000000.\n100\n3\n0.25\n0.05\n1.\n0.\n");
    ASSERT_EQ(bars.error, 0) << bars.report;
    EXPECT_EQ(bars.problem.Sections[0].Rebar.Bars.size(), 300u);
}

}  // namespace
}  // namespace trevasc::testing
