// `trevasc plot` and `trevasc run --plots`: the charts, their scripts and
// data, the index page (checked in a headless browser), and a missing gnuplot.
#include <gtest/gtest.h>

#include <cmath>
#include <regex>

#include "charts.hpp"
#include "cli/plot_test_support.hpp"
#include "external_program.hpp"

namespace trevasc {
namespace {

namespace fs = std::filesystem;
namespace plot = testing::plot;

// Every chart the elastic-pile fixture allows, with the title it carries.
struct ExpectedChart {
    const char* name;
    const char* title;
};
constexpr ExpectedChart kFixtureCharts[] = {
    {"response", "Pile response"},
    {"deflection", "Lateral deflection against depth"},
    {"bending-moment", "Bending moment against depth"},
    {"shear-force", "Shear force against depth"},
    {"soil-reaction", "Soil reaction against depth"},
    {"bending-stiffness", "Bending stiffness against depth"},
    {"py-curves", "p-y curves at the output depths"},
    // Section 1 is elastic: no moment-curvature or EI-moment chart.
    {"moment-curvature-section-2", "Moment-curvature, section 2"},
    {"ei-moment-section-2", "Bending stiffness against moment, section 2"},
    {"head-load-deflection", "Pile-head shear against pile-head deflection"},
    {"head-load-max-moment", "Pile-head shear against maximum bending moment"},
    {"stiffness-lateral", "Pile-head stiffness K22 and K32"},
    {"stiffness-rotational", "Pile-head stiffness K23 and K33"},
    {"length-study", "Pile-head deflection against pile length"},
};

// The fixture as a run's outputs in `dir`: pier.plot.txt with a report that
// puts the ground surface 1.5 ft (18 in) below the pile head.
fs::path FixtureRun(const testing::TempDir& dir) {
    fs::copy_file(plot::PlotDataDir() / "elastic-pile.plot.txt", dir.path() / "pier.plot.txt");
    std::string ground = "Depth of ground surface below top of pile";
    ground.resize(55, ' ');
    testing::WriteFile(dir.path() / "pier.report.txt", ground + "=       1.50 ft\n");
    return dir.path() / "pier.plot.txt";
}

void RequireGnuplot() {
    ASSERT_TRUE(host::FindOnPath("gnuplot").has_value())
        << "gnuplot is needed for the chart tests: install the Debian package gnuplot-nox (scripts/setup-deps.sh)";
}

// A picture with the signature of its format and more than a trivial size;
// an SVG must be a whole document that shows the chart's title.
void ExpectPicture(const fs::path& path, host::ChartFormat format, const std::string& title) {
    ASSERT_TRUE(fs::exists(path)) << path;
    const std::string bytes = testing::ReadFile(path);
    EXPECT_GT(bytes.size(), 4000u) << path;
    switch (format) {
        case host::ChartFormat::kSvg:
            EXPECT_EQ(bytes.rfind("<?xml", 0), 0u) << path;
            EXPECT_NE(bytes.find("<svg"), std::string::npos);
            EXPECT_NE(bytes.find("</svg>"), std::string::npos);
            EXPECT_NE(bytes.find(title), std::string::npos) << path;
            break;
        case host::ChartFormat::kPng:
            EXPECT_EQ(bytes.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8)) << path;
            break;
        case host::ChartFormat::kPdf:
            EXPECT_EQ(bytes.rfind("%PDF-", 0), 0u) << path;
            break;
    }
}

TEST(PlotCommand, DrawsEveryChartWithItsScriptAndData) {
    RequireGnuplot();
    testing::TempDir dir;
    const fs::path plot_file = FixtureRun(dir);
    const fs::path out = dir.path() / "charts";
    const auto outcome = plot::RunHost(dir, "plot " + plot::ShellQuote(plot_file.string()) + " --out-dir " +
                                                plot::ShellQuote(out.string()));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("index.html (14 charts)"), std::string::npos) << outcome.out;
    for (const ExpectedChart& chart : kFixtureCharts) {
        SCOPED_TRACE(chart.name);
        ExpectPicture(out / (std::string(chart.name) + ".svg"), host::ChartFormat::kSvg, chart.title);
        const std::string script = testing::ReadFile(out / (std::string(chart.name) + ".gp"));
        EXPECT_NE(script.find("set output \"" + std::string(chart.name) + ".svg\""), std::string::npos);
        EXPECT_NE(script.find("\"" + std::string(chart.name) + ".dat\" index 0"), std::string::npos);
        EXPECT_TRUE(fs::exists(out / (std::string(chart.name) + ".dat")));
    }
    // Depth in feet downward from the head to the tip (600 in = 50 ft), the
    // ground surface of the report (18 in = 1.5 ft) marked, every case a data
    // block: block 1 is load case 2, whose head deflection is
    // 2 V0 beta / k = 0.3488784 in at depth 0.
    const std::string deflection = testing::ReadFile(out / "deflection.gp");
    EXPECT_NE(deflection.find("set yrange [50:0]"), std::string::npos) << deflection;
    EXPECT_NE(deflection.find("set arrow from graph 0, first 1.5 to graph 1, first 1.5"), std::string::npos);
    EXPECT_NE(deflection.find("'Ground surface'"), std::string::npos);
    EXPECT_NE(deflection.find("'Pile tip' at graph 0.03, first 50 "), std::string::npos);
    EXPECT_NE(deflection.find("set xlabel \"Deflection (in)\""), std::string::npos);
    const std::string data = testing::ReadFile(out / "deflection.dat");
    EXPECT_NE(data.find("# block 1: Case 2\n0.3488784 0\n"), std::string::npos) << data.substr(0, 300);
    // The moment-curvature chart of section 2 in kip-ft, its capacity
    // (1 928 055 in-lb in the file = 160.67 kip-ft) marked.
    const std::string section = testing::ReadFile(out / "moment-curvature-section-2.gp");
    EXPECT_NE(section.find("\"Mn = 160.7 kip-ft\" at first "), std::string::npos) << section;
    EXPECT_NE(section.find("set ylabel \"Bending moment (kip-ft)\""), std::string::npos);
    // The scripts draw again by hand, in their folder.
    fs::remove(out / "length-study.svg");
    const auto again = host::RunProgram(*host::FindOnPath("gnuplot"), {"length-study.gp"}, out);
    EXPECT_EQ(again.exit_status, 0) << again.output;
    ExpectPicture(out / "length-study.svg", host::ChartFormat::kSvg, "Pile-head deflection against pile length");
}

// A US customary and an SI run drawn whole: every chart drawn, the depth
// axes in the run's engineering units, the soil layers of the report named
// on the depth charts.
TEST(PlotCommand, RunsInBothUnitSystemsDrawEveryFigure) {
    RequireGnuplot();
    struct Case {
        const char* input;
        const char* depth_axis;
        const char* deflection_axis;
        const char* layer;
    };
    const Case kCases[] = {
        {"soft_clay", "Depth below pile head (ft)", "Deflection (in)", "Soft clay (Matlock)"},
        {"si_kmatrix_length_study", "Depth below pile head (m)", "Deflection (mm)", "Sand (Reese)"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.input);
        testing::TempDir dir;
        fs::copy_file(fs::path(TREVASC_TEST_CASES_DIR) / c.input / "input.trv", dir.path() / "pile.trv");
        const auto outcome = plot::RunHost(dir, "run " + plot::ShellQuote((dir.path() / "pile.trv").string()) +
                                                    " --plots");
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        const fs::path out = dir.path() / "pile.charts";
        const std::string index = testing::ReadFile(out / "index.html");
        std::size_t figures = 0;
        for (std::size_t at = 0; (at = index.find("<figure", at)) != std::string::npos; ++at) ++figures;
        std::size_t pictures = 0;
        for (const auto& entry : fs::directory_iterator(out)) pictures += entry.path().extension() == ".svg" ? 1 : 0;
        EXPECT_EQ(pictures, figures);
        EXPECT_GE(figures, 9u);
        const std::string deflection = testing::ReadFile(out / "deflection.svg");
        for (const char* text : {c.depth_axis, c.deflection_axis, c.layer, "Pile tip"}) {
            EXPECT_NE(deflection.find(text), std::string::npos) << text;
        }
        EXPECT_NE(testing::ReadFile(out / "response.svg").find(c.deflection_axis), std::string::npos);
    }
}

const host::Chart* FindChart(const std::vector<host::Chart>& charts, const std::string& name) {
    for (const host::Chart& chart : charts) {
        if (chart.name == name) return &chart;
    }
    return nullptr;
}

// Every depth chart and the head-load charts in the units engineers read:
// a node of the small run at 60 in with M = 30000 and y = 0.2, its head
// shear 1000. USCS: 5 ft, 2.5 kip-ft, 0.2 in, 1 kip; SI (the same numbers in
// m and kN): 60 m, 30000 kN-m, 200 mm, 1000 kN.
TEST(Charts, ShowTheUnitsEngineersRead) {
    struct Case {
        int units;
        const char* depth_label;
        const char* moment_label;
        double depth;
        double moment;
        double deflection;
        double head_shear;
    };
    const Case kCases[] = {
        {1, "Depth below pile head (ft)", "Bending moment (kip-ft)", 5.0, 2.5, 0.2, 1.0},
        {2, "Depth below pile head (m)", "Bending moment (kN-m)", 60.0, 30000.0, 200.0, 1000.0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.units);
        std::vector<std::string> lines = plot::SmallRun();
        lines[0] = plot::Line1(3, c.units, 0, 0);
        for (std::string& line : lines) {
            if (line.find("Line 9:") != std::string::npos) line = plot::Line9(1, 3, c.units);
            if (line.find("Line 13:") != std::string::npos && c.units == 2) {
                line = plot::Line13({1000.0, 0.5, 30000.0, 1000.0, -0.004}, plot::kLine13Si);
            }
        }
        const host::PlotResults results = host::ParsePlotText(plot::Join(lines), "small.plot.txt");
        const auto charts = host::BuildCharts(results, nullptr);
        const host::Chart* moment = FindChart(charts, "bending-moment");
        const host::Chart* deflection = FindChart(charts, "deflection");
        const host::Chart* head = FindChart(charts, "head-load-deflection");
        ASSERT_TRUE(moment && deflection && head);
        EXPECT_EQ(moment->panels[0].y_label, c.depth_label);
        EXPECT_EQ(moment->panels[0].x_label, c.moment_label);
        EXPECT_DOUBLE_EQ(moment->tip_depth, 2.0 * c.depth);  // the deepest node ends the depth axis
        const auto& node = moment->panels[0].series[0].points[1];
        EXPECT_DOUBLE_EQ(node[0], c.moment);
        EXPECT_DOUBLE_EQ(node[1], c.depth);
        EXPECT_DOUBLE_EQ(deflection->panels[0].series[0].points[1][0], c.deflection);
        EXPECT_DOUBLE_EQ(head->panels[0].series[0].points[0][1], c.head_shear);
        // The largest moment is written on the chart with its depth.
        ASSERT_EQ(moment->panels[0].notes.size(), 1u);
        EXPECT_EQ(moment->panels[0].notes[0].y, c.depth);
    }
}

// Charts that would mislead are left out or drawn on a sane range.
TEST(Charts, MisleadingChartsAreAbsentOrSane) {
    const host::PlotResults small = host::ParsePlotText(plot::Join(plot::SmallRun()), "small.plot.txt");
    // An elastic section: no moment-curvature, EI-moment chart or capacity.
    host::PlotResults elastic = small;
    elastic.section_curves[0].source = host::SectionCurveSource::kElastic;
    for (const host::PlotResults* results : {&small, static_cast<const host::PlotResults*>(&elastic)}) {
        const auto charts = host::BuildCharts(*results, nullptr);
        const bool shown = results == &small;
        EXPECT_EQ(FindChart(charts, "moment-curvature-section-1") != nullptr, shown);
        EXPECT_EQ(FindChart(charts, "ei-moment-section-1") != nullptr, shown);
    }
    const auto charts = host::BuildCharts(small, nullptr);
    // A constant EI (1e10 lb-in2 at every node = 1e7 kip-in2) is drawn from
    // zero, not in a window of a few percent around its value.
    const host::Chart* ei = FindChart(charts, "bending-stiffness");
    ASSERT_NE(ei, nullptr);
    const std::string ei_script = host::ChartScript(*ei, host::ChartFormat::kSvg, true, "small.plot.txt");
    std::smatch range;
    ASSERT_TRUE(std::regex_search(ei_script, range, std::regex(R"(set xrange \[([^:]+):([^\]]+)\])")));
    EXPECT_EQ(std::stod(range[1]), 0.0);
    EXPECT_GT(std::stod(range[2]), 1.0e7);
    EXPECT_LT(std::stod(range[2]), 1.2e7);
    // The p-y curve (p = 500 y lb/in up to y = 1.6 in) on its working range:
    // four times the 0.01 in the depth of 120 in reached, the point reached
    // (0.01 in, 5 lb/in) marked; the whole curve in the second panel.
    const host::Chart* py = FindChart(charts, "py-curves");
    ASSERT_NE(py, nullptr);
    ASSERT_EQ(py->panels.size(), 2u);
    ASSERT_TRUE(py->panels[0].x_range.has_value());
    EXPECT_NEAR(py->panels[0].x_range->high, 0.04, 1e-12);
    ASSERT_EQ(py->panels[0].notes.size(), 1u);
    EXPECT_NEAR(py->panels[0].notes[0].x, 0.01, 1e-12);
    EXPECT_NEAR(py->panels[0].notes[0].y, 5.0, 1e-9);
    EXPECT_FALSE(py->panels[1].x_range.has_value());

    // Head-load charts: cases of different pile-head conditions are drawn as
    // separate sets of points, never joined.
    host::PlotResults three = small;
    three.summaries.push_back({2000.0, 0.9, 50000.0, 2000.0, 0.0});
    three.summaries.push_back({3000.0, 1.5, 80000.0, 3000.0, -0.01});
    host::ReportExtras extras;
    extras.head_conditions = {{1, 1, 1000.0, 0.0, 0.0}, {2, 2, 2000.0, 0.0, 0.0}, {3, 1, 3000.0, 0.0, 0.0}};
    const auto mixed = host::BuildCharts(three, &extras);
    for (const char* name : {"head-load-deflection", "head-load-max-moment"}) {
        SCOPED_TRACE(name);
        const host::Chart* head = FindChart(mixed, name);
        ASSERT_NE(head, nullptr);
        ASSERT_EQ(head->panels[0].series.size(), 2u);  // free head: cases 1 and 3; fixed head: case 2
        EXPECT_EQ(head->panels[0].series[0].labels, (std::vector<int>{1, 3}));
        EXPECT_EQ(head->panels[0].series[1].labels, (std::vector<int>{2}));
        const std::string script = host::ChartScript(*head, host::ChartFormat::kSvg, true, "three.plot.txt");
        EXPECT_EQ(script.find("with lines"), std::string::npos) << script;
        EXPECT_EQ(script.find("with linespoints"), std::string::npos) << script;
        // Every point inside the padded frame: the largest shear is 3 kips.
        ASSERT_TRUE(std::regex_search(script, range, std::regex(R"(set yrange \[([^:]+):([^\]]+)\])")));
        EXPECT_EQ(std::stod(range[1]), 0.0);
        EXPECT_GT(std::stod(range[2]), 3.0);
    }
    // The legend of a case says what was applied at the head.
    const host::Chart* response = FindChart(mixed, "response");
    ASSERT_NE(response, nullptr);
    EXPECT_EQ(response->panels[0].series[0].title, "Case 1: free head, V = 1 kips, M = 0, P = 0");
}

TEST(PlotCommand, PictureFormats) {
    RequireGnuplot();
    struct Case {
        const char* option;
        host::ChartFormat format;
    };
    const Case kCases[] = {{"png", host::ChartFormat::kPng}, {"PDF", host::ChartFormat::kPdf}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.option);
        testing::TempDir dir;
        const fs::path plot_file = FixtureRun(dir);
        const auto outcome =
            plot::RunHost(dir, "plot " + plot::ShellQuote(plot_file.string()) + " --format " + c.option);
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        // Without --out-dir the charts go to STEM.charts beside the plot file.
        const fs::path out = dir.path() / "pier.charts";
        ExpectPicture(out / ("py-curves." + host::FormatExtension(c.format)), c.format, "");
        const std::string index = testing::ReadFile(out / "index.html");
        EXPECT_NE(index.find("stiffness-rotational." + host::FormatExtension(c.format)), std::string::npos);
        EXPECT_NE(index.find("href=\"../pier.report.txt\""), std::string::npos);
    }
    testing::TempDir dir;
    const fs::path plot_file = FixtureRun(dir);
    EXPECT_EQ(plot::RunHost(dir, "plot " + plot::ShellQuote(plot_file.string()) + " --format gif").status, 64);
}

TEST(PlotCommand, DamagedPlotFileIsAnInputError) {
    testing::TempDir dir;
    const auto outcome =
        plot::RunHost(dir, "plot " + plot::ShellQuote((plot::PlotDataDir() / "foreign.plot.txt").string()) +
                               " --out-dir " + plot::ShellQuote((dir.path() / "c").string()));
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.err.find("foreign.plot.txt:1: not a plot output file"), std::string::npos) << outcome.err;
    EXPECT_FALSE(fs::exists(dir.path() / "c" / "index.html"));
}

// A run that stopped before any curve: an index page that says so and why,
// and no need for gnuplot.
TEST(PlotCommand, FileWithoutCurvesGivesAnIndexThatSaysSo) {
    testing::TempDir dir;
    fs::create_directory(dir.path() / "no-programs");
    testing::WriteFile(dir.path() / "stop.plot.txt", plot::Join({plot::Line1(3, 2, 0, 0), plot::Line2(1)}));
    const auto outcome = plot::RunHost(dir, "plot " + plot::ShellQuote((dir.path() / "stop.plot.txt").string()),
                                       "PATH=" + plot::ShellQuote((dir.path() / "no-programs").string()) + " ");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.err.find("before load case 1 was reported"), std::string::npos) << outcome.err;
    const std::string index = testing::ReadFile(dir.path() / "stop.charts" / "index.html");
    EXPECT_NE(index.find("holds no results that can be drawn"), std::string::npos);
    EXPECT_NE(index.find("Incomplete results: the file ends before load case 1 was reported"), std::string::npos);
    EXPECT_EQ(index.find("<figure"), std::string::npos);
}

// Without gnuplot the analysis still runs and keeps its outputs; the JSON is
// written, the scripts and data are left for later, and the command says
// what is missing and exits with 3.
TEST(PlotCommand, MissingGnuplotLeavesTheAnalysisOutputsAlone) {
    testing::TempDir dir;
    const fs::path empty_path = dir.path() / "no-programs";
    fs::create_directory(empty_path);
    const std::string environment = "PATH=" + plot::ShellQuote(empty_path.string()) + " ";
    fs::copy_file(plot::PlotDataDir() / "pipe-in-subgrade.trv", dir.path() / "pipe.trv");
    const fs::path with = dir.path() / "with";
    const fs::path without = dir.path() / "without";
    const std::string input = plot::ShellQuote((dir.path() / "pipe.trv").string());
    const auto plain = plot::RunHost(dir, "run " + input + " --out-dir " + plot::ShellQuote(without.string()));
    const auto charted = plot::RunHost(dir, "run " + input + " --out-dir " + plot::ShellQuote(with.string()) +
                                                " --plots --json",
                                       environment);
    ASSERT_LE(plain.status, 0) << plain.err;
    EXPECT_EQ(charted.status, 3) << charted.err;
    EXPECT_NE(charted.err.find("gnuplot was not found on the PATH"), std::string::npos) << charted.err;
    EXPECT_NE(charted.err.find("gnuplot-nox"), std::string::npos);
    EXPECT_NE(charted.out.find("Result code "), std::string::npos) << charted.out;
    EXPECT_EQ(testing::ReadFile(with / "pipe.plot.txt"), testing::ReadFile(without / "pipe.plot.txt"));
    EXPECT_EQ(testing::ReadFile(with / "pipe.messages.txt"), testing::ReadFile(without / "pipe.messages.txt"));
    EXPECT_NE(testing::ReadFile(with / "pipe.report.txt").find("The analysis ended normally. "), std::string::npos);
    EXPECT_TRUE(fs::exists(with / "pipe.results.json"));
    if (testing::ReadFile(with / "pipe.plot.txt").find("Line 10(") != std::string::npos) {
        EXPECT_TRUE(fs::exists(with / "pipe.charts" / "deflection.gp"));
        EXPECT_TRUE(fs::exists(with / "pipe.charts" / "deflection.dat"));
    }
    EXPECT_FALSE(fs::exists(with / "pipe.charts" / "deflection.svg"));
    EXPECT_FALSE(fs::exists(with / "pipe.charts" / "index.html"));

    // An analysis that ends with an input error makes no charts or JSON.
    testing::WriteFile(dir.path() / "bad.trv", testing::MinimalInput("Units FURLONGS"));
    const auto failed = plot::RunHost(dir, "run " + plot::ShellQuote((dir.path() / "bad.trv").string()) +
                                               " --plots --json");
    EXPECT_EQ(failed.status, 2);
    EXPECT_NE(failed.err.find("no charts, tables or JSON results were made"), std::string::npos) << failed.err;
    EXPECT_FALSE(fs::exists(dir.path() / "bad.results.json"));
    EXPECT_EQ(plot::RunHost(dir, "run " + input + " --format png").status, 64);  // --format without --plots
}

std::optional<fs::path> Browser() {
    for (const char* name : {"chromium", "chromium-browser", "google-chrome"}) {
        if (auto found = host::FindOnPath(name)) return found;
    }
    return std::nullopt;
}

// The index page in a headless browser: every picture loads (is complete
// with a width), every figure has its caption, and the report is linked. The
// page is checked through a copy that adds a probe script, which writes what
// it finds into the page for --dump-dom to print.
TEST(PlotCommand, IndexPageLoadsEveryChartInABrowser) {
    const auto browser = Browser();
    if (!browser) {
        GTEST_SKIP() << "no Chromium browser installed (Debian package chromium; scripts/setup-deps.sh installs it):"
                        " the index page was not checked in a browser";
    }
    RequireGnuplot();
    testing::TempDir dir;
    const fs::path plot_file = FixtureRun(dir);
    const fs::path out = dir.path() / "pier charts";  // a blank in the path, percent-encoded in the links
    const auto outcome = plot::RunHost(dir, "plot " + plot::ShellQuote(plot_file.string()) + " --out-dir " +
                                                plot::ShellQuote(out.string()));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    std::string page = testing::ReadFile(out / "index.html");
    const std::string probe = R"(<script>
window.addEventListener("load", function () {
  var images = Array.from(document.images);
  var loaded = images.filter(function (i) { return i.complete && i.naturalWidth > 0; }).length;
  var captions = document.querySelectorAll("figure > figcaption").length;
  var report = Array.from(document.links).some(function (a) {
    return a.getAttribute("href") === "../pier.report.txt";
  });
  // Layout: every figure shown at a readable width inside the page, and the
  // results table (a heading row and one row per case) laid out.
  var page = document.documentElement.clientWidth;
  var wide = images.filter(function (i) {
    var box = i.getBoundingClientRect();
    return box.width >= 400 && box.height >= 300 && box.left >= 0 && box.right <= page;
  }).length;
  var table = document.querySelector("table.results");
  var results = table && table.getBoundingClientRect().height > 0 ? table.rows.length : 0;
  document.body.setAttribute("data-probe",
    "images=" + images.length + ";loaded=" + loaded + ";captions=" + captions + ";report=" + report +
    ";wide=" + wide + ";results=" + results);
});
</script>
)";
    const std::size_t body_end = page.rfind("</body>");
    ASSERT_NE(body_end, std::string::npos);
    page.insert(body_end, probe);
    testing::WriteFile(out / "probe.html", page);
    const fs::path profile = dir.path() / "browser-profile";
    const auto run = host::RunProgram(
        *browser,
        {"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--user-data-dir=" + profile.string(), "--virtual-time-budget=10000", "--window-size=1280,1000",
         "--dump-dom",
         "file://" + std::regex_replace((out / "probe.html").string(), std::regex(" "), "%20")},
        dir.path());
    ASSERT_EQ(run.exit_status, 0) << run.output;
    std::smatch found;
    ASSERT_TRUE(std::regex_search(run.output, found, std::regex("data-probe=\"([^\"]*)\""))) << run.output;
    const std::string expected = "images=14;loaded=14;captions=14;report=true;wide=14;results=3";
    EXPECT_EQ(found[1].str(), expected);
}

}  // namespace
}  // namespace trevasc
