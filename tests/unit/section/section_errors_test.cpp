// Error stops of the section analysis: the bar-table capacity, unusable
// section data, and the axial-thrust checks of pile analyses (runtime errors
// 24 to 27, with a thrust equal to a capacity passing).
#include <gtest/gtest.h>

#include <string>

#include "run/error_stop.hpp"
#include "section/capacities.hpp"
#include "section/moment_curvature.hpp"
#include "section_fixtures.hpp"
#include "support/run_fixture.hpp"

namespace trevasc::testing {
namespace {

TEST(SectionErrors, MoreThan300BarsIsRejectedWithoutReadingPastTheTable) {
    TempDir dir;
    auto ctx = MakeContext();
    ASSERT_TRUE(ctx->files.report.Open(dir.path() / "report.txt"));
    model::PileSection shaft = DrilledShaft(36.0, 4.0);
    SetRebar(shaft, BarsOnCircle(301, 14.5, 0.375, 0.11));
    section::SectionWorkspace ws;
    EXPECT_THROW(section::PrepareSectionWorkspace(*ctx, ws, shaft, 1), run::RunStop);
    EXPECT_EQ(ctx->ErrorNumber, 187);
    ctx->files.report.Close();
    const std::string report = ReadFile(dir.path() / "report.txt");
    EXPECT_NE(report.find("  Error in Calculate_Rebar_Slice_Areas - NumBars out of valid range = 301 (more than 300 bars)\n"),
              std::string::npos);
    EXPECT_NE(report.find("**** Input Data Error No. 87 ****"), std::string::npos);
}

TEST(SectionErrors, ADeclaredCountBeyondTheListedBarsUsesTheListedBarsOnly) {
    model::PileSection shaft = DrilledShaft(36.0, 4.0);
    SetRebar(shaft, BarsOnCircle(3, 14.5, 1.0, 0.79));
    shaft.Rebar.BarCount = 8;
    const section::SectionWorkspace ws = SlicedWorkspace(shaft);
    EXPECT_EQ(ws.Bars.size(), 3u);
    EXPECT_NEAR(ws.As, 3 * 0.79, 1e-12);
}

TEST(SectionErrors, UnusableSectionDataStopsWithInputError87) {
    struct Case {
        std::string name;
        model::PileSection section;
    };
    model::PileSection no_concrete = DrilledShaft(36.0, 0.0);
    model::PileSection no_diameter = DrilledShaft(0.0, 4.0);
    model::PileSection thick_pipe = SteelPipe(24.0, 13.0, 36000.0, 29.0e6);
    model::PileSection soft_pipe = SteelPipe(24.0, 0.5, 36000.0, 0.0);
    model::PileSection bad_strands = PrestressedSquare(14.0, 0.75, 2, 4.5, 200000.0, 0.2);
    bad_strands.Strand.StrandTypeCode = 7;
    model::PileSection big_void = PrestressedSquare(14.0, 0.75, 2, 4.5, 200000.0, 0.2);
    big_void.SectionType = model::kSquareHollowPrestressed;
    big_void.VoidDiameter = 14.0;
    const Case cases[] = {{"zero concrete strength", no_concrete}, {"zero diameter", no_diameter},
                          {"pipe wall over half the diameter", thick_pipe}, {"pipe of zero modulus", soft_pipe},
                          {"strand type 7", bad_strands}, {"void as wide as the pile", big_void}};
    for (const Case& c : cases) {
        auto ctx = MakeContext();
        section::SectionWorkspace ws;
        EXPECT_THROW(section::PrepareSectionWorkspace(*ctx, ws, c.section, 1), run::RunStop) << c.name;
        EXPECT_EQ(ctx->ErrorNumber, 187) << c.name;
    }
}

TEST(SectionErrors, PileAnalysisThrustsMustLieWithinTheAxialCapacities) {
    model::PileSection rect = RectangularPile(16.0, 16.0, 4.0);
    SetRebar(rect, {Bar(-6, -6, 1.0, 0.79), Bar(6, -6, 1.0, 0.79), Bar(-6, 6, 1.0, 0.79), Bar(6, 6, 1.0, 0.79)});
    const double As = 4 * 0.79;
    const double Pmax = 0.85 * 4.0 * (256.0 - As) + 60.0 * As;
    const double Pmin = -60.0 * As;
    struct Case {
        std::string name;
        bool lrfd;
        double thrust;
        int expected;
    };
    const Case cases[] = {
        {"above Pmax", false, Pmax + 1.0, 224},  {"below Pmin", false, Pmin - 1.0, 225},
        {"LRFD above Pmax", true, Pmax + 1.0, 226}, {"LRFD below Pmin", true, Pmin - 1.0, 227},
        {"exactly Pmin", false, Pmin, 0}, {"exactly Pmax", false, Pmax, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto ctx = MakeContext(model::UnitSystem::USCS, 3);
        ctx->problem.Options.UseLrfd = c.lrfd;
        ctx->problem.Sections = {rect};
        ctx->problem.AxialThrustList = {c.thrust};
        ctx->stiffness.InputThrusts = {c.thrust};
        ctx->stiffness.Sections.resize(1);
        section::SectionWorkspace ws;
        section::PrepareSectionWorkspace(*ctx, ws, rect, 1);
        section::ComputeAndReportAxialCapacities(*ctx, ws, rect);
        ASSERT_NEAR(ws.Pmax, Pmax, 1e-9);
        if (c.expected == 0) {
            EXPECT_NO_THROW(section::RunMomentCurvature(*ctx, ws, rect));
            EXPECT_EQ(ctx->stiffness.Sections[0].Levels.size(), 1u);
        } else {
            EXPECT_THROW(section::RunMomentCurvature(*ctx, ws, rect), run::RunStop);
            EXPECT_EQ(ctx->ErrorNumber, c.expected);
        }
    }
}

}  // namespace
}  // namespace trevasc::testing
