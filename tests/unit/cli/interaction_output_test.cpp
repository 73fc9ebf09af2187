// The interaction records of the plot file (Lines 15 to 17) read back by the
// host, in the JSON results and the charts; a truncated diagram is rejected.
#include <gtest/gtest.h>

#include <string>

#include "charts.hpp"
#include "plot_file.hpp"
#include "results_csv.hpp"
#include "results_json.hpp"
#include "support/run_fixture.hpp"
#include "trevasc/units.hpp"

namespace trevasc {
namespace {

// 36 in shaft with twelve 1.0 in^2 bars: case 1 (100 kips) inside the ACI 318
// diagram, case 2 (3500 kips) above its cap 0.65 x 0.80 x 4140 kips.
std::string ShaftRun() {
    return "TREVAS6\nTITLE\nInteraction output\n\n\n\n\nOPTIONS\nUnits USCS\nUseLRFD NO\nComputeKmatrix NO\n"
           "UseTipShear NO\nUseSoilMovement NO\nUsePYModifiers NO\nComputeEIOnly NO\nLoading STATIC     0\n"
           "MaxIterations 100\nMaxDeflection 100.0\nTolerance 1.0E-5\nIncrements 100\nPrintSummaryOnly YES\n"
           "PrintIncrement 5\nPrintPYCurves NO\nComputeInteraction YES\nDesignCode ACI318\n"
           "SECTIONS\n1\n1\n1\n40.\n36.\n4.0\n0.75\nUse default concrete tensile strength\n"
           "Use internal stress-strain curve for concrete\nRebar Arrangement Not Same As Section Above\n"
           "Rebar in circle\n60000.\n29000000.\n12\n1\n1.128\n1.0\n3.0\n0.0\n"
           "SOIL LAYERS\n1\n13 0. 60.\n110. 500.\n110. 1000.\n"
           "LOADING\n2\n1 1 10000. 0. 100000. 0\n2 1 10000. 0. 3500000. 0\n0\nEND\n";
}

TEST(InteractionOutput, ReaderJsonAndChart) {
    const testing::RunOutput out = testing::RunInput(ShaftRun());
    ASSERT_EQ(out.code, -410) << out.report;
    const host::PlotResults results = host::ParsePlotText(out.plot, "shaft.plot");
    ASSERT_TRUE(results.complete);
    ASSERT_EQ(results.interaction.size(), 1u);
    const host::InteractionDiagramRecord& d = results.interaction[0];
    EXPECT_EQ(d.section, 1);
    EXPECT_EQ(d.design_code, 2);
    EXPECT_EQ(d.transverse, 1);
    ASSERT_GE(d.points.size(), 50u);
    // First point: Po in kips, no moment (the cage is symmetric).
    const double Po = 0.85 * 4.0 * (kPi * 18.0 * 18.0 - 12.0) + 60.0 * 12.0;
    EXPECT_NEAR(d.points.front().Pn, Po, 1e-6 * Po);
    EXPECT_NEAR(d.points.front().Pd, 0.65 * 0.80 * Po, 1e-6 * Po);
    ASSERT_EQ(results.interaction_checks.size(), 2u);
    EXPECT_EQ(results.interaction_checks[0].result, 1);
    EXPECT_EQ(results.interaction_checks[1].result, 0);
    EXPECT_DOUBLE_EQ(results.interaction_checks[1].axial_thrust, 3500.0);  // kips, as written

    // The JSON gives consistent units: pounds for USCS.
    const nlohmann::ordered_json doc = host::BuildResultsJson(results, nullptr, {"shaft.plot", "", std::nullopt});
    const auto& interaction = doc["sections"][0]["interaction"];
    EXPECT_EQ(interaction["design_code"], "ACI 318-19");
    EXPECT_EQ(interaction["nominal"]["axial_force"].size(), d.points.size());
    EXPECT_NEAR(interaction["nominal"]["axial_force"][0].get<double>(), Po * 1000.0, 1e-3 * Po);
    EXPECT_EQ(doc["interaction_checks"][1]["result"], "fail");
    EXPECT_DOUBLE_EQ(doc["interaction_checks"][0]["axial_thrust"].get<double>(), 100000.0);

    // The CSV tables show the diagram and the checks in kips and kip-ft.
    const std::vector<host::CsvTable> tables = host::BuildCsvTables(results, nullptr);
    ASSERT_EQ(tables.size(), 8u);
    const host::CsvTable& diagram = tables[6];
    EXPECT_EQ(diagram.file_name, "interaction.csv");
    ASSERT_EQ(diagram.rows.size(), d.points.size());
    EXPECT_EQ(diagram.heading[4], "nominal_axial_force (kips)");
    EXPECT_NEAR(std::stod(diagram.rows[0][4]), Po, 1e-5 * Po);
    const host::CsvTable& checks = tables[7];
    EXPECT_EQ(checks.file_name, "interaction_checks.csv");
    ASSERT_EQ(checks.rows.size(), 2u);
    EXPECT_EQ(checks.rows[1][2], "3500");
    EXPECT_EQ(checks.rows[0][7], "PASS");
    EXPECT_EQ(checks.rows[1][7], "FAIL");

    bool found = false;
    for (const host::Chart& chart : host::BuildCharts(results, nullptr)) {
        if (chart.name != "interaction-section-1") continue;
        found = true;
        ASSERT_EQ(chart.panels.size(), 1u);
        const auto& series = chart.panels[0].series;
        ASSERT_EQ(series.size(), 5u);  // nominal, factored, balanced, PASS, FAIL
        EXPECT_EQ(series[3].title, "Load cases: PASS");
        EXPECT_EQ(series[4].labels, std::vector<int>{2});
        // Shown in kips: case 2 stands at its 3500 kip thrust.
        EXPECT_NEAR(series[4].points[0][1], 3500.0, 1e-9);
        // PASS green, FAIL vermilion: the palette's styles 3 and 2.
        const std::string script = host::ChartScript(chart, host::ChartFormat::kPng, true, "shaft.plot");
        EXPECT_NE(script.find("with points lt 3 ps 1.5 title \"Load cases: PASS\""), std::string::npos) << script;
        EXPECT_NE(script.find("with points lt 2 ps 1.5 title \"Load cases: FAIL\""), std::string::npos);
    }
    EXPECT_TRUE(found);

    // A diagram cut short inside its Line 16 records is rejected.
    const std::string text = out.plot;
    const std::size_t cut = text.find("Pt#=10\n");
    ASSERT_NE(cut, std::string::npos);
    EXPECT_THROW(host::ParsePlotText(text.substr(0, cut + 7), "cut.plot"), host::PlotFileError);
}

}  // namespace
}  // namespace trevasc
