// Section analysis run end to end from an input file: the EI-only mode with
// its plot records, thrusts outside the capacities, the error stops of the
// section analysis and the warning for curves that never reach the
// ultimate strain.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/run_fixture.hpp"

namespace trevasc::testing {
namespace {

struct ShaftCase {
    std::string units = "Units USCS";
    bool ei_only = true;
    std::vector<double> thrusts = {0.0, 50000.0};  // lb (USCS) or kN (SI)
    int bars = 8;
    double bar_diameter = 1.128;
    double bar_area = 1.0;
};

// A 36 in drilled shaft (f'c 5 ksi, bars in a circle with 3 in cover) in an
// elastic-subgrade soil, one lateral load case per thrust.
std::string ShaftInput(const ShaftCase& shaft) {
    std::string text = "TREVAS6\nTITLE\nSection analysis run\n\n\n\n\nOPTIONS\n" + shaft.units +
                       "\nUseLRFD NO\nComputeKmatrix NO\nUseTipShear NO\nUseSoilMovement NO\nUsePYModifiers NO\n"
                       "ComputeEIOnly " + std::string(shaft.ei_only ? "YES" : "NO") +
                       "\nLoading STATIC     0\nMaxIterations 100\nMaxDeflection 100.0\nTolerance 1.0E-5\nIncrements 100\n"
                       "PrintSummaryOnly NO\nPrintIncrement 5\nPrintPYCurves NO\nComputeInteraction NO\n"
                       "SECTIONS\n1\n1\n1\n50.\n36.\n5.0\n0.75\nUse default concrete tensile strength\n"
                       "Use internal stress-strain curve for concrete\nRebar Arrangement Not Same As Section Above\n"
                       "Rebar in circle\n60000.\n29000000.\n" +
                       std::to_string(shaft.bars) + "\n1\n" + std::to_string(shaft.bar_diameter) + "\n" +
                       std::to_string(shaft.bar_area) + "\n3.0\n0.0\n" +
                       "SOIL LAYERS\n1\n13 0. 60.\n110. 500.\n110. 1000.\nLOADING\n" +
                       std::to_string(shaft.thrusts.size()) + "\n";
    for (std::size_t i = 0; i < shaft.thrusts.size(); ++i) {
        text += std::to_string(i + 1) + " 1 10000. 0. " + std::to_string(shaft.thrusts[i]) + " 0\n";
    }
    return text + "0\nEND\n";
}

std::vector<std::string> LinesStartingWith(const std::vector<std::string>& lines, const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& line : lines) {
        if (line.rfind(prefix, 0) == 0) found.push_back(line);
    }
    return found;
}

bool Contains(const std::vector<std::string>& lines, const std::string& text) {
    return std::find(lines.begin(), lines.end(), text) != lines.end();
}

TEST(SectionRun, EIOnlyRunWritesCurvesToThePlotFileAndNoLoadCases) {
    const RunOutput out = RunInput(ShaftInput({}));
    ASSERT_EQ(out.code, 0) << out.report;
    const std::vector<std::string> plot = out.PlotLines();
    // Lines 1 and 2, one Line 3, then per thrust a Line 4 and its Line 5 records.
    ASSERT_GE(plot.size(), 3u);
    EXPECT_EQ(plot[2], "    2" + std::string(75, ' ') + "Line 3 : Total number of axial thrusts for EI-only computations");
    std::size_t row = 3;
    for (int t = 1; t <= 2; ++t) {
        ASSERT_LT(row, plot.size());
        const std::string& line4 = plot[row++];
        ASSERT_EQ(line4.substr(80), "Line 4 : Num. M-EI-Crv Points, Axial Thrust Load, Nom. Moment Cap.");
        const int points = std::stoi(line4.substr(0, 5));
        ASSERT_GT(points, 10);
        EXPECT_EQ(line4.substr(15, 15), t == 1 ? "  0.0000000E+00" : "  0.5000000E+02");  // kips
        for (int p = 1; p <= points; ++p, ++row) {
            ASSERT_LT(row, plot.size());
            EXPECT_EQ(plot[row].substr(80), "Line 5 : Moment, EI, Curvature for Sect#=1, AxLd#=" + std::to_string(t) +
                                                 ", CurvPnt#=" + std::to_string(p));
        }
    }
    EXPECT_EQ(row, plot.size());
    const std::vector<std::string> report = out.ReportLines();
    EXPECT_TRUE(Contains(report, "Number of Axial Thrust Force Values Determined from Input Data = 2"));
    EXPECT_TRUE(Contains(report, "   Summary of Results for Nominal (Unfactored) Moment Capacity for Section 1"));
    for (const std::string& line : out.MessageLines()) EXPECT_EQ(line.find("Computing lateral response"), std::string::npos);
}

TEST(SectionRun, EIOnlyRunSkipsThrustsOutsideTheAxialCapacities) {
    // Pmax of the shaft is about 4770 kips: a 6000 kip thrust is dropped.
    ShaftCase shaft;
    shaft.thrusts = {0.0, 6.0e6};
    const RunOutput out = RunInput(ShaftInput(shaft));
    ASSERT_EQ(out.code, 0) << out.report;
    const std::vector<std::string> report = out.ReportLines();
    EXPECT_TRUE(Contains(report, "The following computations were performed only for the axial thrust values in the valid range."));
    EXPECT_TRUE(Contains(report, "Number of Axial Thrust Force Values Determined from Input Data = 1"));
    EXPECT_EQ(LinesStartingWith(report, "Axial Thrust Force = ").size(), 1u);
}

TEST(SectionRun, PileAnalysisWithAThrustAboveTheCapacityStopsWithRuntimeError24) {
    ShaftCase shaft;
    shaft.ei_only = false;
    shaft.thrusts = {0.0, 6.0e6};
    const RunOutput out = RunInput(ShaftInput(shaft));
    EXPECT_EQ(out.code, 224);
    const std::vector<std::string> report = out.ReportLines();
    EXPECT_TRUE(Contains(report, "**** Runtime Error No. 24 ****"));
    EXPECT_TRUE(Contains(report, "PROBLEM:  The axial thrust load for load case no. 2 exceeds the axial structural "
                                 "capacity in compression."));
    EXPECT_TRUE(Contains(report, "          Axial thrust load                  =        6000.000 kips   "));
    EXPECT_TRUE(Contains(report, "Trevasc ended prematurely due to runtime error number RUN00024"));
}

TEST(SectionRun, ConcreteSectionInGeneralUnitsIsRejected) {
    ShaftCase shaft;
    shaft.units = "Units GENERAL";
    const RunOutput out = RunInput(ShaftInput(shaft));
    EXPECT_EQ(out.code, 188);
    EXPECT_TRUE(Contains(out.ReportLines(), "**** Input Data Error No. 88 ****"));
    EXPECT_TRUE(Contains(out.MessageLines(), "**** Input Data Error No. 88 ****"));
}

TEST(SectionRun, CurveThatNeverReachesTheUltimateStrainRecordsWarning305) {
    // Two #3 bars in a 36 in shaft: far under-reinforced.
    ShaftCase shaft;
    shaft.thrusts = {0.0};
    shaft.bars = 2;
    shaft.bar_diameter = 0.375;
    shaft.bar_area = 0.11;
    const RunOutput out = RunInput(ShaftInput(shaft));
    EXPECT_EQ(out.code, -305);
    const std::vector<std::string> report = out.ReportLines();
    EXPECT_TRUE(Contains(report, "Warning: 150 values were calculated for moment-curvature."));
}

}  // namespace
}  // namespace trevasc::testing
