// Interaction diagrams in whole runs: every design code for a reinforced
// drilled shaft and a prestressed pile, with one load case inside and one
// above the factored diagram; the thrust list of an EI-only run with the
// flag; a section without a diagram.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/run_fixture.hpp"

namespace trevasc::testing {
namespace {

std::string Options(bool ei_only, const std::string& code) {
    return "TREVAS6\nTITLE\nInteraction run\n\n\n\n\nOPTIONS\nUnits USCS\nUseLRFD NO\nComputeKmatrix NO\n"
           "UseTipShear NO\nUseSoilMovement NO\nUsePYModifiers NO\nComputeEIOnly " +
           std::string(ei_only ? "YES" : "NO") +
           "\nLoading STATIC     0\nMaxIterations 100\nMaxDeflection 100.0\nTolerance 1.0E-5\nIncrements 100\n"
           "PrintSummaryOnly YES\nPrintIncrement 5\nPrintPYCurves NO\nComputeInteraction YES\nDesignCode " +
           code + "\n";
}

// 36 in shaft, f'c 4 ksi, twelve 1.0 in^2 bars in a circle with 3 in cover:
// Po = 0.85 x 4 x (1017.9 - 12) + 60 x 12 = 4140 kips.
const std::string kShaft =
    "SECTIONS\n1\n1\n1\n40.\n36.\n4.0\n0.75\nUse default concrete tensile strength\n"
    "Use internal stress-strain curve for concrete\nRebar Arrangement Not Same As Section Above\n"
    "Rebar in circle\n60000.\n29000000.\n12\n1\n1.128\n1.0\n3.0\n0.0\n";
// 24 in octagon, f'c 6 ksi, eight 0.5 in PCI 270 strands, 247.86 kips initial
// force, 20 percent loss: Po about 0.85 x 6 x 477 = 2430 kips.
const std::string kOctagon =
    "SECTIONS\n1\n1\n9\n40.\n24.\n6.0\n0.75\nUse default concrete tensile strength\n"
    "Use internal stress-strain curve for concrete\nAutoposition strands\n1\n3\n8\n247860.\n0.2\n3.0\n0\n";
const std::string kSoil = "SOIL LAYERS\n1\n13 0. 60.\n110. 500.\n110. 1000.\n";

std::string Loading(const std::vector<double>& thrusts_lb) {
    std::string text = "LOADING\n" + std::to_string(thrusts_lb.size()) + "\n";
    for (std::size_t i = 0; i < thrusts_lb.size(); ++i) {
        text += std::to_string(i + 1) + " 1 10000. 0. " + std::to_string(thrusts_lb[i]) + " 0\n";
    }
    return text + "0\nEND\n";
}

bool HasLine(const std::vector<std::string>& lines, const std::string& text) {
    return std::find(lines.begin(), lines.end(), text) != lines.end();
}

// The result column of the check rows of section 1, in case order.
std::vector<std::string> CheckResults(const std::vector<std::string>& report) {
    std::vector<std::string> results;
    bool in_table = false;
    for (const std::string& line : report) {
        if (line.find("Check of Load Cases against the Factored Interaction Diagrams") != std::string::npos) in_table = true;
        if (!in_table) continue;
        if (line.find("PASS") != std::string::npos) results.push_back("PASS");
        if (line.find("> FAIL <") != std::string::npos) results.push_back("FAIL");
    }
    return results;
}

TEST(InteractionRun, EveryCodeChecksTheShaftAndThePrestressedPile) {
    struct Case {
        const char* name;
        const std::string& section;
        double heavy_thrust_lb;  // above the factored cap (or the design squash load) of every code
    } const kSections[] = {
        {"drilled shaft", kShaft, 3500000.0},  // caps: ACI 2153, AASHTO 2484, EN 1992 design Po 3310 kips
        {"prestressed octagon", kOctagon, 2000000.0},
    };
    for (const Case& section : kSections) {
        for (const char* code : {"AASHTO", "ACI318", "Eurocode2"}) {
            SCOPED_TRACE(std::string(section.name) + ", " + code);
            const RunOutput out =
                RunInput(Options(false, code) + section.section + kSoil + Loading({100000.0, section.heavy_thrust_lb}));
            // One warning kind: a case outside the diagram.
            EXPECT_EQ(out.code, -410) << out.report;
            const std::vector<std::string> report = out.ReportLines();
            EXPECT_TRUE(HasLine(report, "   Axial Force - Bending Moment Interaction Diagram for Section 1"));
            EXPECT_EQ(CheckResults(report), (std::vector<std::string>{"PASS", "FAIL"}));
            // The plot file ends with the diagram and the two check records.
            const std::vector<std::string> plot = out.PlotLines();
            ASSERT_GE(plot.size(), 3u);
            EXPECT_NE(plot[plot.size() - 2].find("Line 17:"), std::string::npos);
            EXPECT_EQ(plot.back().substr(0, 10), "    2    1");
            EXPECT_EQ(plot.back().substr(85, 5), "    0");  // fails
        }
    }
}

TEST(InteractionRun, EIOnlyRunKeepsItsThrustsAndGivesTheDiagram) {
    // Regression: the flag used to empty the thrust list, so that no curve was
    // computed and the run still ended normally.
    const RunOutput out = RunInput(Options(true, "ACI318") + kShaft + kSoil +
                                   "AXIAL THRUST LOADS\n2\n1 0.\n2 500000.\nEND\n");
    ASSERT_EQ(out.code, 0) << out.report;
    const std::vector<std::string> report = out.ReportLines();
    EXPECT_TRUE(HasLine(report, "Number of Axial Thrust Force Values Determined from Input Data = 2"));
    EXPECT_TRUE(HasLine(report, "Axial thrust force values were determined from input values"));
    EXPECT_TRUE(HasLine(report, "   Axial Force - Bending Moment Interaction Diagram for Section 1"));
    const std::vector<std::string> plot = out.PlotLines();
    const auto line15 = std::find_if(plot.begin(), plot.end(),
                                     [](const std::string& l) { return l.find("Line 15:") != std::string::npos; });
    ASSERT_NE(line15, plot.end());
    const int points = std::stoi(line15->substr(5, 5));
    EXPECT_GE(points, 50);
    EXPECT_EQ(plot.end() - line15, points + 1);  // nothing follows the diagram
}

TEST(InteractionRun, ElasticSectionHasNoDiagramAndSaysSo) {
    const std::string elastic = "SECTIONS\n1\n1\n11\n40.0\n2\n3600000.0\n36.0\n36.0\n1017.876\n1017.876\n82448.0\n82448.0\n";
    const RunOutput out = RunInput(Options(false, "ACI318") + elastic + kSoil + Loading({100000.0}));
    EXPECT_EQ(out.code, -411) << out.report;
    const std::vector<std::string> report = out.ReportLines();
    EXPECT_TRUE(HasLine(report, "No interaction diagram is computed for section 1: its bending stiffness is given in the input,"));
}

}  // namespace
}  // namespace trevasc::testing
