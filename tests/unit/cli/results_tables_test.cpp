// The CSV tables (`results --csv`, `run --csv`) and the calculation package
// (`run --pdf`, `report --pdf`): the tables read back with Python's csv
// module against the JSON of the same run, the PDF's pages read back with
// pdftotext.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <regex>

#include "cli/plot_test_support.hpp"
#include "external_program.hpp"
#include "results_csv.hpp"

namespace trevasc {
namespace {

namespace fs = std::filesystem;
namespace plot = testing::plot;

fs::path ExampleInput() {
    return fs::path(TREVASC_TEST_CASES_DIR).parent_path().parent_path() / "examples" / "drilled-shaft" / "shaft.trv";
}

// RFC 4180: CRLF after every record; a field with a comma, a quote or a line
// break is quoted and its quotes doubled; other fields are left bare.
TEST(CsvTables, QuoteFieldsAsRfc4180Says) {
    const host::CsvTable table{"t.csv",
                               {"name", "depth (ft)"},
                               {{"free head, V = 50 kips", "1.5"}, {"say \"hi\"", ""}, {"two\nlines", "-2"}}};
    EXPECT_EQ(host::CsvText(table), "name,depth (ft)\r\n\"free head, V = 50 kips\",1.5\r\n\"say \"\"hi\"\"\",\r\n"
                                    "\"two\nlines\",-2\r\n");
}

// The six tables of the example run read with Python's csv module: every
// value, taken back from the unit of its heading to the run's pounds and
// inches, equals the JSON's; the case legends with their commas come back
// whole.
TEST(CsvTables, RoundTripThroughPythonAgainstTheJson) {
    const auto python = host::FindOnPath("python3");
    if (!python) GTEST_SKIP() << "python3 is not installed: the CSV tables were not read back";
    testing::TempDir dir;
    fs::copy_file(ExampleInput(), dir.path() / "shaft.trv");
    const auto run = plot::RunHost(dir, "run " + plot::ShellQuote((dir.path() / "shaft.trv").string()) +
                                            " --json --csv");
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_TRUE(fs::exists(dir.path() / "shaft.csv" / "nodes.csv")) << run.out;
    // `results --csv DIR` writes the same tables from the plot file.
    const auto again = plot::RunHost(dir, "results " + plot::ShellQuote((dir.path() / "shaft.plot.txt").string()) +
                                              " --csv " + plot::ShellQuote((dir.path() / "again").string()));
    ASSERT_EQ(again.status, 0) << again.err;
    for (const char* name :
         {"nodes.csv", "summary.csv", "py_curves.csv", "sections.csv", "stiffness.csv", "length_study.csv"}) {
        EXPECT_EQ(testing::ReadFile(dir.path() / "again" / name), testing::ReadFile(dir.path() / "shaft.csv" / name))
            << name;
    }
    // US customary units of the tables in pounds and inches.
    const std::string script = R"PY(
import csv, json, sys
d = sys.argv[1]
doc = json.load(open(d + "/shaft.results.json"))
to_file = {"ft": 12.0, "in": 1.0, "kips": 1000.0, "kip-ft": 12000.0, "lb/in": 1.0, "kip-in\u00b2": 1000.0,
           "rad/in": 1.0, "rad": 1.0, "kips/in": 1000.0, "kips/rad": 1000.0, "kip-ft/in": 12000.0,
           "kip-ft/rad": 12000.0}
problems = []
def table(name):
    with open(d + "/shaft.csv/" + name, newline="", encoding="utf-8") as f:
        rows = list(csv.reader(f))
    for row in rows:
        if len(row) != len(rows[0]):
            problems.append(name + ": ragged row " + repr(row))
    return rows[0], rows[1:]
def value(head, row, column):
    k = head.index(column) if column in head else [h.split(" (")[0] for h in head].index(column)
    unit = head[k][head[k].index("(") + 1:-1]
    return float(row[k]) * to_file[unit]
def same(name, a, b):
    if b is None or abs(a - b) > 1e-6 * max(abs(a), abs(b)) + 1e-12:
        problems.append("%s: %r in the table, %r in the JSON" % (name, a, b))
count = 0
head, rows = table("nodes.csv")
for row in rows:
    case = doc["load_cases"][int(row[0]) - 1]
    for column in ["depth", "deflection", "moment", "shear", "soil_reaction", "bending_stiffness"]:
        same("nodes " + column, value(head, row, column), case["nodes"][column][int(row[1]) - 1])
count += len(rows)
if len(rows) != sum(len(c["nodes"]["depth"]) for c in doc["load_cases"]):
    problems.append("nodes.csv: %d rows" % len(rows))
head, rows = table("summary.csv")
for row, case in zip(rows, doc["load_cases"]):
    same("head deflection", value(head, row, "head_deflection"), case["head"]["deflection"])
    same("max moment", value(head, row, "max_moment"), case["max_moment"]["value"])
    same("max moment depth", value(head, row, "max_moment_depth"), case["max_moment"]["depth"])
    same("max shear", value(head, row, "max_shear"), case["max_shear"]["value"])
    same("head shear", value(head, row, "head_shear"), case["head"]["shear"])
legends = [row[head.index("head_conditions")] for row in rows]
if legends != ["free head, V = 50 kips, M = 0, P = 0", "fixed head, V = 50 kips, S = 0, P = 0"]:
    problems.append("summary legends " + repr(legends))
count += len(rows)
head, rows = table("py_curves.csv")
for row in rows:
    curve = [c for c in doc["py_curves"] if c["curve"] == int(row[0])][0]
    same("py depth", value(head, row, "depth"), curve["depth"])
    same("py y", value(head, row, "y"), curve["points"]["y"][int(row[head.index("point")]) - 1])
    same("py p", value(head, row, "p"), curve["points"]["p"][int(row[head.index("point")]) - 1])
count += len(rows)
head, rows = table("sections.csv")
curves = [c for s in doc["sections"] for c in s["curves"]]
if len(rows) != sum(len(c["points"]["moment"]) for c in curves):
    problems.append("sections.csv: %d rows" % len(rows))
head, rows = table("stiffness.csv")
for row, trial in zip(rows, doc["pile_head_stiffness"]):
    for column in ["K22", "K23", "K32", "K33", "shear", "moment", "head_deflection", "head_rotation"]:
        same("stiffness " + column, value(head, row, column), trial[column])
count += len(rows)
head, rows = table("length_study.csv")
for row in rows:
    study = doc["load_cases"][int(row[0]) - 1]["length_study"]
    match = [p for p in study if abs(p["pile_length"] - value(head, row, "pile_length")) < 1e-6]
    if not match:
        problems.append("length study row " + repr(row))
    else:
        same("length study deflection", value(head, row, "head_deflection"), match[0]["head_deflection"])
        same("length study moment", value(head, row, "max_moment"), match[0]["max_moment"])
count += len(rows)
print("\n".join(problems[:20]) if problems else "ok %d" % count)
)PY";
    const auto outcome = host::RunProgram(*python, {"-c", script, dir.path().string()}, dir.path());
    ASSERT_EQ(outcome.exit_status, 0) << outcome.output;
    EXPECT_EQ(outcome.output.rfind("ok ", 0), 0u) << outcome.output;
    // Two cases of 101 nodes, 2 x 17 p-y points, 10 trials: well over 250 rows compared.
    EXPECT_GT(std::stoi(outcome.output.substr(3)), 250) << outcome.output;
}

std::string WithoutBlanks(const std::string& text) {
    std::string packed;
    for (char c : text) {
        if (!std::isspace(static_cast<unsigned char>(c))) packed += c;
    }
    return packed;
}

// The calculation package of the example: its pages read back with
// pdftotext. The title page, the input summary and the results come first,
// then one page per figure, then the whole report.
TEST(CalculationPackage, PagesHoldTheTitleInputsResultsFiguresAndTheWholeReport) {
    const auto pdftotext = host::FindOnPath("pdftotext");
    const auto pdfinfo = host::FindOnPath("pdfinfo");
    if (!pdftotext || !pdfinfo || !host::FindOnPath("pdfunite") || !host::FindOnPath("gnuplot")) {
        GTEST_SKIP() << "poppler-utils or gnuplot is not installed (scripts/setup-deps.sh installs them): the "
                        "calculation package was not checked";
    }
    testing::TempDir dir;
    fs::copy_file(ExampleInput(), dir.path() / "shaft.trv");
    const auto run = plot::RunHost(dir, "run " + plot::ShellQuote((dir.path() / "shaft.trv").string()) +
                                            " --pdf --plots");
    ASSERT_EQ(run.status, 0) << run.err;
    const fs::path pdf = dir.path() / "shaft.pdf";
    ASSERT_TRUE(fs::exists(pdf)) << run.out;
    const auto info = host::RunProgram(*pdfinfo, {pdf.string()}, dir.path());
    std::smatch pages_match;
    ASSERT_TRUE(std::regex_search(info.output, pages_match, std::regex(R"(Pages:\s+(\d+))"))) << info.output;
    const int pages = std::stoi(pages_match[1]);
    std::vector<std::string> text;
    for (int page = 1; page <= pages; ++page) {
        const auto one = host::RunProgram(
            *pdftotext, {"-layout", "-f", std::to_string(page), "-l", std::to_string(page), pdf.string(), "-"},
            dir.path());
        ASSERT_EQ(one.exit_status, 0) << one.output;
        text.push_back(one.output);
    }
    auto page_of = [&](const std::string& needle) {
        std::vector<int> found;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i].find(needle) != std::string::npos) found.push_back(static_cast<int>(i) + 1);
        }
        return found;
    };
    EXPECT_NE(text[0].find("Calculation package"), std::string::npos) << text[0];
    EXPECT_NE(text[0].find("Example: 36-inch drilled shaft, 60 ft long, elastic section"), std::string::npos);
    EXPECT_NE(text[0].find("Result code 0: the analysis ended normally"), std::string::npos);
    EXPECT_NE(text[0].find("shaft.trv"), std::string::npos);
    ASSERT_FALSE(page_of("1. Input summary").empty());
    ASSERT_FALSE(page_of("2. Results of each load case").empty());
    // The last page that names the results: the contents of the title page names them too.
    const int results_page = page_of("2. Results of each load case").back();
    EXPECT_NE(text[static_cast<std::size_t>(results_page - 1)].find("free head, V = 50 kips, M = 0, P = 0"),
              std::string::npos);
    EXPECT_FALSE(page_of("is soft clay, p-y criteria by Matlock, 1970").empty());
    EXPECT_FALSE(page_of("Number of loads specified = 2").empty());

    // One page per figure, in the order of the index page, right after the results.
    const std::string index = testing::ReadFile(dir.path() / "shaft.charts" / "index.html");
    std::vector<std::string> figures;
    const std::regex contents_entry(R"(<li><a href="#[^"]+">([^<]+)</a></li>)");
    for (auto it = std::sregex_iterator(index.begin(), index.end(), contents_entry); it != std::sregex_iterator();
         ++it) {
        figures.push_back((*it)[1].str());
    }
    ASSERT_EQ(figures.size(), 12u);  // elastic section: no section charts
    const int first_figure = page_of(figures.front()).empty() ? 0 : page_of(figures.front()).front();
    EXPECT_GT(first_figure, results_page);
    for (std::size_t i = 0; i < figures.size(); ++i) {
        SCOPED_TRACE(figures[i]);
        EXPECT_NE(text[static_cast<std::size_t>(first_figure - 1) + i].find(figures[i]), std::string::npos);
    }

    // The appendix: the rest of the pages, holding every character of the
    // report in order (long lines wrapped, the running footer left out).
    const int appendix = first_figure + static_cast<int>(figures.size());
    ASSERT_LE(appendix, pages);
    EXPECT_NE(text[static_cast<std::size_t>(appendix - 1)].find("Appendix: the full text report, shaft.report.txt"),
              std::string::npos);
    std::string joined;
    for (int page = appendix; page <= pages; ++page) joined += text[static_cast<std::size_t>(page - 1)];
    std::string packed = WithoutBlanks(joined);
    const std::string footer = WithoutBlanks(
        "Example: 36-inch drilled shaft, 60 ft long, elastic section  |  shaft.report.txt  |  ");
    for (std::size_t at; (at = packed.find(footer)) != std::string::npos;) packed.erase(at, footer.size() + 10);
    const std::string report = WithoutBlanks(testing::ReadFile(dir.path() / "shaft.report.txt"));
    EXPECT_NE(packed.find(report), std::string::npos) << "the appendix does not hold the whole report";
}

// Without pdfunite or gnuplot the other outputs are still written, and the
// message names the Debian package to install; the exit status is 3.
TEST(CalculationPackage, MissingToolsAreNamedAndTheRestIsWritten) {
    testing::TempDir dir;
    fs::create_directory(dir.path() / "no-programs");
    fs::copy_file(ExampleInput(), dir.path() / "shaft.trv");
    const auto run = plot::RunHost(dir, "run " + plot::ShellQuote((dir.path() / "shaft.trv").string()) +
                                            " --pdf --csv --json",
                                   "PATH=" + plot::ShellQuote((dir.path() / "no-programs").string()) + " ");
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_NE(run.err.find("poppler-utils"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("gnuplot-nox"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(dir.path() / "shaft.pdf"));
    EXPECT_TRUE(fs::exists(dir.path() / "shaft.results.json"));
    EXPECT_TRUE(fs::exists(dir.path() / "shaft.csv" / "summary.csv"));
}

}  // namespace
}  // namespace trevasc
