// The JSON results: what the report adds (pile-head conditions, ground
// surface), the document built from a plot file, and `trevasc results` /
// `trevasc run --json` end to end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/plot_test_support.hpp"
#include "report/fortran_format.hpp"
#include "report/report_helpers.hpp"
#include "report_extras.hpp"
#include "results_json.hpp"

namespace trevasc {

namespace fmt = report::fmt;
using report::AdaptiveNumber;

namespace {

namespace fs = std::filesystem;
namespace plot = testing::plot;
using Json = nlohmann::json;

// One row of the summary of pile responses, laid out field by field:
// I3, a blank, the type text, adaptive numbers of widths 11, 11, 15, 15, 15,
// four blanks, 11, and the head slope in F15.8.
std::string SummaryRow(int c, int t, double v1, double v2, double axial, double y, double m, double v, double s) {
    static constexpr std::array<const char*, 5> kType = {"    1   V =", "    2   V =", "    3   V =", "    4   y =",
                                                         "    5   y ="};
    static constexpr std::array<const char*, 5> kSecond = {"  M =", "  S =", "  R =", "  M =", "  S ="};
    const auto i = static_cast<std::size_t>(t - 1);
    return fmt::I(c, 3) + " " + kType[i] + AdaptiveNumber(v1, 11) + kSecond[i] + AdaptiveNumber(v2, 11) +
           AdaptiveNumber(axial, 15) + AdaptiveNumber(y, 15) + AdaptiveNumber(m, 15) + "    " + AdaptiveNumber(v, 11) +
           fmt::F(s, 15, 8);
}

// The parts of a report the host reads: the echo line of the ground surface
// ("= " in column 56, F10.2 and the depth label) and the summary table.
std::string ReportExcerpt(double ground, const std::string& depth_label, const std::vector<std::string>& rows) {
    std::string text = "Total Pile Length";
    text.resize(55, ' ');
    text += "= " + fmt::F(50.0, 10, 2) + " " + depth_label + "\n\n";
    std::string ground_line = "Depth of ground surface below top of pile";
    ground_line.resize(55, ' ');
    text += ground_line + "= " + fmt::F(ground, 10, 2) + " " + depth_label + "\n\n\n\n";
    text += report::kRule80 + "\n" + std::string(27, ' ') + "Summary of Pile Response(s)\n" + report::kRule80 +
            "\n\n\n";
    text += "Definitions of Pile-head Loading Conditions:\n\n";
    text += "               Pile-head      Pile-head \n";
    text += "----  ----  --------------  --------------  -------------  -------------  -------------  -------------  "
            "-------------\n";
    for (const std::string& row : rows) text += row + "\n";
    text += "\n\nThe analysis ended normally. \n";
    return text;
}

TEST(ReportExtras, PileHeadConditionsOfEveryLoadingTypeAndTheGroundSurface) {
    struct Row {
        int type;
        double condition1;
        double condition2;
        double axial;
    };
    const Row kRows[] = {
        {1, 20000.0, 100000.0, 50000.0},
        {2, 15000.0, 0.0, 0.0},
        {3, -1500.5, 2.5e9, 1000.0},
        {4, 0.25, -35000.0, 0.0},
        {5, 0.0125, -0.00125, 250000.0},
    };
    std::vector<std::string> rows;
    for (std::size_t i = 0; i < std::size(kRows); ++i) {
        const Row& r = kRows[i];
        rows.push_back(SummaryRow(static_cast<int>(i) + 1, r.type, r.condition1, r.condition2, r.axial, 0.16,
                                  -7.5e5, 2.0e4, -0.0016198));
    }
    struct Case {
        double ground;
        const char* label;
        double expected;  // in the length unit of the analysis
    };
    const Case kCases[] = {{2.5, "ft", 30.0}, {-1.25, "m ", -1.25}, {0.0, "L ", 0.0}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.label);
        const host::ReportExtras extras = host::ParseReportExtras(ReportExcerpt(c.ground, c.label, rows));
        ASSERT_TRUE(extras.ground_surface_depth.has_value());
        EXPECT_DOUBLE_EQ(*extras.ground_surface_depth, c.expected);
        ASSERT_EQ(extras.head_conditions.size(), std::size(kRows));
        for (std::size_t i = 0; i < std::size(kRows); ++i) {
            const host::HeadCondition& read = extras.head_conditions[i];
            EXPECT_EQ(read.case_number, static_cast<int>(i) + 1);
            EXPECT_EQ(read.loading_type, kRows[i].type);
            // The adaptive fields keep at least five significant digits here.
            EXPECT_NEAR(read.condition1, kRows[i].condition1, 1.0e-5 * std::fabs(kRows[i].condition1));
            EXPECT_NEAR(read.condition2, kRows[i].condition2, 1.0e-5 * std::fabs(kRows[i].condition2));
            EXPECT_NEAR(read.axial_thrust, kRows[i].axial, 1.0e-5 * std::fabs(kRows[i].axial));
        }
    }
    // A report without these blocks (an input error) gives nothing.
    const host::ReportExtras none = host::ParseReportExtras("Trevasc ended prematurely due to input error\n");
    EXPECT_FALSE(none.ground_surface_depth.has_value());
    EXPECT_TRUE(none.head_conditions.empty());
}

// What the host reads from whole reports of golden runs: the title, the
// pile length, the soil layers (the depths of the input files: feet turned
// into inches for USCS, metres as they are for SI), the warning summary and
// the result code the run returned.
TEST(ReportExtras, TitleLayersWarningsAndResultCodeOfGoldenReports) {
    struct Layer {
        const char* model;
        double top;
        double bottom;
    };
    struct Warning {
        int id;
        int count;
    };
    struct Case {
        const char* name;
        const char* title;
        double pile_length;
        std::vector<Layer> layers;
        std::vector<Warning> warnings;
        int result_code;
    };
    const Case kCases[] = {
        {"uscs_kmatrix_length_study",
         "Pile-head stiffness matrix and pile-length study: 36-in. drilled shaft",
         50.0 * 12.0,
         {{"Soft clay (Matlock)", 0.0, 20.0 * 12.0}, {"API sand", 20.0 * 12.0, 80.0 * 12.0}},
         {},
         0},
        {"si_kmatrix_length_study",
         "Pile-head stiffness matrix and pile-length study in SI units: 900-mm drilled shaft",
         15.0,
         {{"Stiff clay, no free water", 0.0, 5.0}, {"Sand (Reese)", 5.0, 25.0}},
         {},
         0},
        // Strengths of 12000 and 16000 kPa, outside 6895 to 17237 kPa at the top.
        {"vuggy_limestone", nullptr, 12.0, {{"Vuggy limestone", 0.0, 14.0}}, {{308, 921}}, -308},
        {"lrfd_battered_two_sections", nullptr, 0.0, {}, {{400, 3}}, -400},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const host::ReportExtras extras = host::ParseReportExtras(
            testing::ReadFile(fs::path(TREVASC_TEST_CASES_DIR) / c.name / "expected" / "report.txt"));
        if (c.title != nullptr) {
            ASSERT_FALSE(extras.title_lines.empty());
            EXPECT_EQ(extras.title_lines.front(), c.title);
        }
        if (c.pile_length > 0.0) {
            ASSERT_TRUE(extras.pile_length.has_value());
            EXPECT_DOUBLE_EQ(*extras.pile_length, c.pile_length);
        }
        if (!c.layers.empty()) {
            ASSERT_EQ(extras.layers.size(), c.layers.size());
            for (std::size_t i = 0; i < c.layers.size(); ++i) {
                EXPECT_EQ(extras.layers[i].layer, static_cast<int>(i) + 1);
                EXPECT_EQ(extras.layers[i].model, c.layers[i].model);
                EXPECT_DOUBLE_EQ(extras.layers[i].top, c.layers[i].top);
                EXPECT_DOUBLE_EQ(extras.layers[i].bottom, c.layers[i].bottom);
            }
        }
        ASSERT_EQ(extras.warnings.size(), c.warnings.size());
        for (std::size_t i = 0; i < c.warnings.size(); ++i) {
            EXPECT_EQ(extras.warnings[i].id, c.warnings[i].id);
            EXPECT_EQ(extras.warnings[i].count, c.warnings[i].count);
            EXPECT_NE(extras.warnings[i].text.find("**** Warning"), std::string::npos);
        }
        EXPECT_TRUE(extras.ended_normally);
        EXPECT_EQ(host::ResultCodeFromReport(extras), c.result_code);
    }
    // After an error stop the report does not tell the result code.
    EXPECT_FALSE(host::ResultCodeFromReport(host::ParseReportExtras("**** Input Data Error No. 4 ****\n")));
}

// Each warning text of the summary names its id, the near twins included
// (stiff clay with and without free water, with and without k).
TEST(ReportExtras, WarningTextsAreToldApart) {
    struct Case {
        int id;
        const char* text;
    };
    const Case kCases[] = {
        {3051, "defined using the stiff clay with free water criteria.  The input value is \n"
               "less than 3.47 psi (500 psf). You should check your input data for correctness."},
        {3061, "defined using the stiff clay without free water criteria.  The input value is \n"
               "less than 3.47 psi (500 psf).  You should check your input data for correctness."},
        {3261, "defined using the stiff clay without free water criteria using k.\n"
               "The input value is less than 500 psf (3.47 psi)."},
        {3064, "defined using the stiff clay without free water criteria.  The input value is \n"
               "greater than 383.04 kN/m2.  You should check your input data for correctness."},
        {317, "The input value for k_rm used by the weak rock criteria is \ngreater than 0.0005.  This value"},
        {3071, "for a soil defined using the weak rock criteria.  The input value is less \nthan 100 psi."},
    };
    for (const Case& c : kCases) EXPECT_EQ(host::WarningIdOfText(c.text), c.id) << c.text;
    EXPECT_FALSE(host::WarningIdOfText("").has_value());
}

TEST(ResultsJson, DocumentOfTheElasticPileFixture) {
    const host::PlotResults results = host::ReadPlotFile(plot::PlotDataDir() / "elastic-pile.plot.txt");
    host::ReportExtras extras;
    extras.ground_surface_depth = 0.0;
    extras.head_conditions = {{1, 1, 20000.0, 0.0, 0.0}, {2, 1, 40000.0, 0.0, 0.0}};
    const Json doc =
        host::BuildResultsJson(results, &extras, {"elastic-pile.plot.txt", "elastic-pile.report.txt", std::nullopt});

    EXPECT_EQ(doc["format"], "trevasc-results");
    EXPECT_EQ(doc["format_version"], 2);
    EXPECT_EQ(doc["complete"], true);
    EXPECT_TRUE(doc["incomplete_reason"].is_null());
    EXPECT_EQ(doc["analysis_mode"], 3);
    EXPECT_EQ(doc["stiffness_matrix_requested"], true);
    EXPECT_EQ(doc["units"]["system"], "USCS");
    EXPECT_EQ(doc["units"]["moment"], "in-lb");
    EXPECT_EQ(doc["units"]["K33"], "in-lb/rad");
    EXPECT_EQ(doc["ground_surface_depth"], 0.0);

    // Free head, semi-infinite elastic pile (Hetenyi 1946): y0 = 2 V0 beta / k,
    // slope -2 V0 beta^2 / k, largest moment near beta x = pi/4 (the node at
    // 75 in of the 15 in spacing), largest shear V0 at the head.
    const double k = 2400.0;
    const double beta = std::pow(k / (4.0 * 5.0e10), 0.25);
    ASSERT_EQ(doc["load_cases"].size(), 2u);
    for (int c = 1; c <= 2; ++c) {
        SCOPED_TRACE(c);
        const Json& item = doc["load_cases"][static_cast<std::size_t>(c - 1)];
        const double V0 = 20000.0 * c;
        EXPECT_EQ(item["case"], c);
        EXPECT_EQ(item["lrfd_combination"], false);
        EXPECT_EQ(item["head_conditions"]["loading_type"], 1);
        EXPECT_EQ(item["head_conditions"]["description"], "shear and moment");
        EXPECT_EQ(item["head_conditions"]["condition_1"], V0);
        EXPECT_NEAR(item["head"]["deflection"].get<double>(), 2.0 * V0 * beta / k, 1.0e-7);
        EXPECT_NEAR(item["head"]["slope"].get<double>(), -2.0 * V0 * beta * beta / k, 1.0e-9);
        EXPECT_EQ(item["head"]["shear"], V0);
        EXPECT_EQ(item["head"]["moment"], 0.0);
        const double t = beta * 75.0;
        EXPECT_NEAR(item["max_moment"]["value"].get<double>(), V0 / beta * std::exp(-t) * std::sin(t), 1.0);
        EXPECT_EQ(item["max_moment"]["depth"], 75.0);
        EXPECT_EQ(item["max_shear"]["value"], V0);
        EXPECT_EQ(item["max_shear"]["depth"], 0.0);
        for (const char* column : {"depth", "deflection", "moment", "shear", "soil_reaction", "bending_stiffness"}) {
            EXPECT_EQ(item["nodes"][column].size(), 41u) << column;
        }
        EXPECT_EQ(item["nodes"]["depth"][40], 600.0);
    }
    EXPECT_EQ(doc["load_cases"][0]["length_study"].size(), 19u);
    EXPECT_EQ(doc["load_cases"][0]["length_study"][18]["pile_length"], 60.0);
    EXPECT_TRUE(doc["load_cases"][1]["length_study"].empty());

    // Section curves in pounds: the elastic section's kip values times 1000.
    ASSERT_EQ(doc["sections"].size(), 2u);
    const Json& elastic = doc["sections"][0]["curves"][0];
    EXPECT_EQ(doc["sections"][0]["section"], 1);
    EXPECT_EQ(elastic["source"], "elastic");
    EXPECT_EQ(elastic["axial_thrust"], 0.0);
    // An elastic section has no moment capacity: the file's value is no capacity.
    EXPECT_TRUE(elastic["nominal_moment_capacity"].is_null());
    EXPECT_DOUBLE_EQ(elastic["points"]["bending_stiffness"][0].get<double>(), 5.0e10);
    EXPECT_DOUBLE_EQ(elastic["points"]["moment"][149].get<double>(), 1500.0 * 5.0e10);
    EXPECT_EQ(elastic["points"]["curvature"][149], 1500.0);
    EXPECT_EQ(doc["thrust_levels_from"], "elastic section");

    ASSERT_EQ(doc["py_curves"].size(), 2u);
    EXPECT_EQ(doc["py_curves"][1]["soil_model"], "Elast SG");
    EXPECT_EQ(doc["py_curves"][1]["depth"], 240.0);
    EXPECT_TRUE(doc["py_curves"][1]["loading"].is_null());
    EXPECT_EQ(doc["py_curves"][1]["points"]["p"][16], 115200.0);  // kes b y = 100 * 24 * 48

    ASSERT_EQ(doc["pile_head_stiffness"].size(), 10u);
    EXPECT_NEAR(doc["pile_head_stiffness"][9]["K22"].get<double>(), k / beta, 1.0);
    EXPECT_EQ(doc["pile_head_stiffness"][9]["shear"], 20000.0);
}

// Non-numbers have no JSON form, and a missing report leaves its facts null.
TEST(ResultsJson, NonNumbersAndAbsentReportBecomeNull) {
    std::vector<std::string> lines = plot::SmallRun();
    lines.back().replace(15, 15, "            NaN");
    const host::PlotResults results = host::ParsePlotText(plot::Join(lines), "small.plot.txt");
    const Json doc = host::BuildResultsJson(results, nullptr, {"small.plot.txt", "", std::nullopt});
    EXPECT_TRUE(doc["report_file"].is_null());
    EXPECT_TRUE(doc["ground_surface_depth"].is_null());
    const Json& item = doc["load_cases"][0];
    EXPECT_TRUE(item["head"]["deflection"].is_null());
    EXPECT_TRUE(item["head_conditions"].is_null());
    EXPECT_EQ(item["max_moment"]["value"], 30000.0);
    EXPECT_EQ(item["max_moment"]["depth"], 60.0);
    EXPECT_EQ(doc["py_curves"][0]["soil_model"], "SoftClay");
}

TEST(ResultsCommand, WritesTheJsonBesideThePlotFileWithItsReport) {
    testing::TempDir dir;
    fs::copy_file(plot::PlotDataDir() / "elastic-pile.plot.txt", dir.path() / "pier.plot.txt");
    const std::vector<std::string> rows = {SummaryRow(1, 1, 20000.0, 0.0, 0.0, 0.1744392, 616063.6, 20000.0, -0.0018),
                                           SummaryRow(2, 2, 40000.0, 0.0, 1000.0, 0.35, 1.2e6, 40000.0, 0.0)};
    testing::WriteFile(dir.path() / "pier.report.txt", ReportExcerpt(1.5, "ft", rows));
    const auto outcome = plot::RunHost(dir, "results " + plot::ShellQuote((dir.path() / "pier.plot.txt").string()) +
                                                " --json");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("pier.results.json"), std::string::npos);
    const Json doc = Json::parse(testing::ReadFile(dir.path() / "pier.results.json"));
    EXPECT_EQ(doc["plot_file"], "pier.plot.txt");
    EXPECT_EQ(doc["report_file"], "pier.report.txt");
    EXPECT_EQ(doc["ground_surface_depth"], 18.0);  // 1.5 ft
    EXPECT_EQ(doc["load_cases"][1]["head_conditions"]["loading_type"], 2);
    EXPECT_EQ(doc["load_cases"][1]["head_conditions"]["axial_thrust"], 1000.0);

    // Without --json: a short account on standard output.
    const auto summary = plot::RunHost(dir, "results " + plot::ShellQuote((dir.path() / "pier.plot.txt").string()));
    EXPECT_EQ(summary.status, 0);
    EXPECT_NE(summary.out.find("Load case 2: head deflection 0.348878 in"), std::string::npos) << summary.out;

    // A damaged plot file: exit 2, file and line named, nothing written.
    fs::copy_file(plot::PlotDataDir() / "truncated.plot.txt", dir.path() / "cut.plot.txt");
    const auto damaged =
        plot::RunHost(dir, "results " + plot::ShellQuote((dir.path() / "cut.plot.txt").string()) + " --json");
    EXPECT_EQ(damaged.status, 2);
    EXPECT_NE(damaged.err.find("cut.plot.txt:211: the file ends here"), std::string::npos) << damaged.err;
    EXPECT_FALSE(fs::exists(dir.path() / "cut.results.json"));
}

// A number of the output summary of the report ("label = value unit") and
// the half unit of its last printed digit.
struct Printed {
    double value = 0.0;
    double half_unit = 0.0;
};
std::optional<Printed> OutputSummaryValue(const std::vector<std::string>& report, int case_number,
                                          const std::string& label) {
    const std::string heading = "Output Summary for Load Case No. " + std::to_string(case_number) + ":";
    bool in_case = false;
    for (const std::string& line : report) {
        if (line == heading) in_case = true;
        if (!in_case || line.rfind(label, 0) != 0) continue;
        std::istringstream fields(line.substr(line.find('=') + 1));
        std::string token;
        fields >> token;
        const std::size_t point = token.find('.');
        const int decimals = point == std::string::npos ? 0 : static_cast<int>(token.size() - point - 1);
        return Printed{std::stod(token), 0.5 * std::pow(10.0, -decimals)};
    }
    return std::nullopt;
}

// The JSON of a run against the numbers of its own report, read separately.
TEST(ResultsCommand, RunJsonAgreesWithTheReportOfTheSameRun) {
    testing::TempDir dir;
    fs::copy_file(plot::PlotDataDir() / "pipe-in-subgrade.trv", dir.path() / "pipe.trv");
    const auto outcome = plot::RunHost(dir, "run " + plot::ShellQuote((dir.path() / "pipe.trv").string()) + " --json");
    const std::string plot_text = testing::ReadFile(dir.path() / "pipe.plot.txt");
    if (plot_text.find("Line 10(") == std::string::npos) {
        GTEST_SKIP() << "this build of the engine writes no load-case results to the plot file yet";
    }
    ASSERT_LE(outcome.status, 0) << outcome.err;
    const Json doc = Json::parse(testing::ReadFile(dir.path() / "pipe.results.json"));
    const std::vector<std::string> report = testing::SplitLines(testing::ReadFile(dir.path() / "pipe.report.txt"));
    ASSERT_EQ(doc["load_cases"].size(), 2u);
    struct Check {
        const char* label;
        std::vector<const char*> path;
    };
    const Check kChecks[] = {
        {"Pile-head deflection             = ", {"head", "deflection"}},
        {"Computed slope at pile head      = ", {"head", "slope"}},
        {"Maximum bending moment           = ", {"max_moment", "value"}},
        {"Maximum shear force              = ", {"max_shear", "value"}},
        {"Depth of maximum bending moment  = ", {"max_moment", "depth"}},
        {"Depth of maximum shear force     = ", {"max_shear", "depth"}},
    };
    for (int c = 1; c <= 2; ++c) {
        const Json& item = doc["load_cases"][static_cast<std::size_t>(c - 1)];
        EXPECT_EQ(item["nodes"]["depth"].size(), 101u);  // 100 increments
        for (const Check& check : kChecks) {
            SCOPED_TRACE(std::to_string(c) + ": " + check.label);
            const auto printed = OutputSummaryValue(report, c, check.label);
            ASSERT_TRUE(printed.has_value());
            // The head slope comes from the summary records (Line 13).
            const Json& value = item[check.path[0]][check.path[1]];
            ASSERT_FALSE(value.is_null());
            // The plot file keeps seven significant digits.
            const double tolerance = printed->half_unit + 5.0e-7 * std::fabs(printed->value);
            EXPECT_NEAR(value.get<double>(), printed->value, tolerance);
        }
        // The pile-head conditions of the input file, from the report's summary.
        ASSERT_FALSE(item["head_conditions"].is_null());
        EXPECT_EQ(item["head_conditions"]["loading_type"], c);
        EXPECT_EQ(item["head_conditions"]["condition_1"], c == 1 ? 20000.0 : 15000.0);
        EXPECT_EQ(item["head_conditions"]["axial_thrust"], 50000.0);
    }
    EXPECT_EQ(doc["ground_surface_depth"], 0.0);
    EXPECT_EQ(doc["units"]["system"], "USCS");
    // Format 2: the title, the result code of the run and the soil layers of
    // the input file (two elastic-subgrade layers, 0-30 ft and 30-60 ft).
    EXPECT_EQ(doc["format_version"], 2);
    EXPECT_EQ(doc["title"], "Steel pipe 24 in x 0.5 in, 50 ft long, in an elastic subgrade; two load cases");
    EXPECT_EQ(doc["result_code"], 0);
    EXPECT_EQ(doc["result_meaning"], "the analysis ended normally");
    EXPECT_TRUE(doc["warnings"].empty());
    ASSERT_EQ(doc["soil_layers"].size(), 2u);
    EXPECT_EQ(doc["soil_layers"][1]["model"], "Elastic subgrade");
    EXPECT_EQ(doc["soil_layers"][1]["top"], 360.0);
    EXPECT_EQ(doc["soil_layers"][1]["bottom"], 720.0);
}

// The rows of a report table that follow the rule line after `heading`,
// up to the first empty line, split into numbers.
std::vector<std::vector<double>> TableAfter(const std::vector<std::string>& report, const std::string& heading) {
    std::vector<std::vector<double>> rows;
    auto at = std::find(report.begin(), report.end(), heading);
    if (at == report.end()) return rows;
    while (at != report.end() && at->find("------------") == std::string::npos) ++at;
    for (++at; at != report.end() && !at->empty(); ++at) {
        std::istringstream fields(*at);
        std::vector<double> row;
        for (double value = 0.0; fields >> value;) row.push_back(value);
        rows.push_back(row);
    }
    return rows;
}

// The stiffness terms and the length-study points of the JSON agree with the
// report tables of the same run.
TEST(ResultsCommand, StiffnessAndLengthStudyAgreeWithTheReport) {
    testing::TempDir dir;
    fs::copy_file(fs::path(TREVASC_TEST_CASES_DIR) / "uscs_kmatrix_length_study" / "input.trv",
                  dir.path() / "shaft.trv");
    const auto outcome =
        plot::RunHost(dir, "run " + plot::ShellQuote((dir.path() / "shaft.trv").string()) + " --json");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const Json doc = Json::parse(testing::ReadFile(dir.path() / "shaft.results.json"));
    const std::vector<std::string> report = testing::SplitLines(testing::ReadFile(dir.path() / "shaft.report.txt"));
    auto near = [](double json, double printed) { return std::fabs(json - printed) <= 1.0e-6 * std::fabs(printed) + 1.0; };

    const auto lateral =
        TableAfter(report, "   Deflection   Shear Reaction   Moment React.       K22              K32     ");
    const auto rotational =
        TableAfter(report, "    Rotation     Shear React.    Moment React.       K23              K33    ");
    const Json& terms = doc["pile_head_stiffness"];
    ASSERT_EQ(terms.size(), 10u);
    ASSERT_EQ(lateral.size(), 10u);
    ASSERT_EQ(rotational.size(), 10u);
    for (std::size_t i = 0; i < 10; ++i) {
        SCOPED_TRACE(i + 1);
        ASSERT_EQ(lateral[i].size(), 5u);
        EXPECT_TRUE(near(std::fabs(terms[i]["K22"].get<double>()), lateral[i][3]));
        EXPECT_TRUE(near(std::fabs(terms[i]["K32"].get<double>()), lateral[i][4]));
        EXPECT_TRUE(near(std::fabs(terms[i]["K23"].get<double>()), rotational[i][3]));
        EXPECT_TRUE(near(std::fabs(terms[i]["K33"].get<double>()), rotational[i][4]));
        EXPECT_NEAR(terms[i]["head_deflection"].get<double>(), std::fabs(lateral[i][0]), 1.0e-7);
    }

    const auto points = TableAfter(report, "  Length      Deflection      Moment        Shear ");
    const Json& study = doc["load_cases"][0]["length_study"];
    ASSERT_FALSE(points.empty());
    ASSERT_EQ(study.size(), points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_NEAR(study[i]["pile_length"].get<double>(), points[i][0], 1.0e-3);
        EXPECT_NEAR(study[i]["head_deflection"].get<double>(), points[i][1], 1.0e-6);
        EXPECT_TRUE(near(study[i]["max_moment"].get<double>(), points[i][2]));
    }
    EXPECT_TRUE(doc["load_cases"][1]["length_study"].empty());
}

}  // namespace
}  // namespace trevasc
