// trevasc: the command-line host of the engine. It does what a host
// application does (writes NAMES.DAT beside the outputs, calls TRVRUN there,
// shows the result, draws the graphs of the plot output file) for a person
// at a terminal or a script, and hands the results to other tools as JSON.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <array>
#include <map>
#include <optional>
#include <sstream>
#include <string>

#include "calc_package.hpp"
#include "charts.hpp"
#include "check_command.hpp"
#include "cli_manners.hpp"
#include "plot_file.hpp"
#include "report_extras.hpp"
#include "results_csv.hpp"
#include "results_json.hpp"
#include "run_host.hpp"
#include "templates.hpp"
#include "trevasc/run.hpp"
#include "trevasc/trevasc.h"

namespace {

namespace fs = std::filesystem;
namespace host = trevasc::host;

constexpr int kExitOk = 0;
constexpr int kExitInputError = 2;
constexpr int kExitRuntimeError = 3;
constexpr int kExitUsage = 64;
constexpr std::size_t kNamesLineLength = 256;

int ExitStatusFor(int code) {
    if (code <= 0) return kExitOk;
    if (code >= 101 && code <= 199) return kExitInputError;
    return kExitRuntimeError;
}

// Copies the warning summary of the report to standard error.
void ListWarnings(const fs::path& report_path) {
    std::ifstream report(report_path);
    std::string line;
    bool in_summary = false;
    while (std::getline(report, line)) {
        if (line.find("Summary of Warning Messages") != std::string::npos) {
            in_summary = true;
            std::cerr << "Warnings reported by the analysis:\n";
            continue;
        }
        if (!in_summary) continue;
        if (line.rfind("The analysis ended", 0) == 0) break;
        if (line.find_first_not_of('-') == std::string::npos && !line.empty()) continue;
        std::cerr << line << '\n';
    }
}

// What to make from the plot output file after an analysis, or from a plot
// file named on the command line.
struct ResultOutputs {
    bool charts = false;
    bool json = false;
    bool csv = false;
    std::string csv_dir;  // empty: STEM.csv beside the outputs
    bool pdf = false;
    host::ChartFormat format = host::ChartFormat::kSvg;
    std::optional<int> result_code;  // known after a run
    bool Any() const { return charts || json || csv || pdf; }
};

// "pier.plot.txt" -> "pier"; any other name loses its last extension.
std::string PlotFileStem(const fs::path& plot) {
    const std::string name = plot.filename().string();
    constexpr std::string_view kSuffix = ".plot.txt";
    if (name.size() > kSuffix.size() && name.compare(name.size() - kSuffix.size(), kSuffix.size(), kSuffix) == 0) {
        return name.substr(0, name.size() - kSuffix.size());
    }
    return plot.stem().string();
}

// Makes the JSON results and the charts of one plot file. `report` may be
// empty. Returns the exit status: 0, or kExitRuntimeError when something
// asked for could not be made (each failure is explained on standard error).
int MakeResultOutputs(const host::PlotResults& results, const fs::path& plot, const fs::path& report,
                      const fs::path& json_dir, const fs::path& chart_dir, const ResultOutputs& wanted) {
    if (!results.complete) std::cerr << "trevasc: note: " << results.incomplete_reason << '\n';
    std::optional<host::ReportExtras> extras;
    if (!report.empty()) {
        extras = host::ReadReportExtras(report);
        if (!extras) std::cerr << "trevasc: note: the report " << report.string() << " cannot be read; "
                               << "pile-head conditions and the ground surface are left out\n";
    }
    const host::ReportExtras* extra = extras ? &*extras : nullptr;
    const std::string stem = PlotFileStem(plot);
    int status = kExitOk;
    fs::path json_path;
    if (wanted.json) {
        json_path = json_dir / (stem + ".results.json");
        try {
            const host::ResultSources sources{plot.filename().string(),
                                              extra != nullptr ? report.filename().string() : std::string(),
                                              wanted.result_code};
            host::WriteResultsJson(json_path, host::BuildResultsJson(results, extra, sources));
            std::cout << "Results (JSON):   " << json_path.string() << '\n';
        } catch (const std::exception& e) {
            std::cerr << "trevasc: the JSON results were not written: " << e.what() << '\n';
            json_path.clear();
            status = kExitRuntimeError;
        }
    }
    if (wanted.csv) {
        const fs::path csv_dir = wanted.csv_dir.empty() ? json_dir / (stem + ".csv") : fs::absolute(wanted.csv_dir);
        try {
            host::WriteCsvTables(host::BuildCsvTables(results, extra), csv_dir);
            std::cout << "Tables (CSV):     " << csv_dir.string() << '\n';
        } catch (const std::exception& e) {
            std::cerr << "trevasc: the CSV tables were not written: " << e.what() << '\n';
            status = kExitRuntimeError;
        }
    }
    if (wanted.pdf) {
        const fs::path pdf_path = json_dir / (stem + ".pdf");
        if (extra == nullptr) {
            std::cerr << "trevasc: the calculation package needs the report of the run (name it with --report)\n";
            status = kExitRuntimeError;
        } else {
            const host::PackageOutcome made = host::WriteCalculationPackage(
                results, pdf_path, host::PackageInputs{plot, report, wanted.result_code, host::TodayIsoDate()});
            for (const std::string& tool : made.missing_tools) {
                std::cerr << "trevasc: the calculation package needs " << tool
                          << ", which was not found on the PATH; install it (scripts/setup-deps.sh installs it) and "
                             "make the package again with 'trevasc report "
                          << plot.string() << " --pdf'\n";
            }
            for (const std::string& error : made.errors) std::cerr << "trevasc: " << error << '\n';
            if (made.written) {
                std::cout << "Calculation package (PDF): " << pdf_path.string() << '\n';
            } else {
                status = kExitRuntimeError;
            }
        }
    }
    if (wanted.charts) {
        const host::IndexLinks links{plot, extra != nullptr ? report : fs::path(), json_path};
        const host::ChartRun run =
            host::DrawCharts(results, extra, chart_dir, wanted.format, links, "Trevasc charts: " + stem);
        if (run.gnuplot_missing) {
            std::cerr << "trevasc: gnuplot was not found on the PATH, so no chart was drawn. Install it (the Debian "
                         "package gnuplot-nox; scripts/setup-deps.sh installs it) and draw the charts with 'trevasc "
                         "plot "
                      << plot.string() << "', or run the gnuplot scripts left in " << chart_dir.string() << ".\n";
            status = kExitRuntimeError;
        }
        for (const std::string& error : run.errors) std::cerr << "trevasc: " << error << '\n';
        if (!run.errors.empty()) status = kExitRuntimeError;
        if (run.index_written) {
            std::cout << "Charts:           " << (chart_dir / "index.html").string() << " ("
                      << run.drawn.size() << (run.drawn.size() == 1 ? " chart" : " charts") << ")\n";
        }
    }
    return status;
}

// The four lines of the run-control file: absolute paths, so that the run
// does not depend on the folder it is started in. Where an absolute path is
// too long for a line and the input lies in the output folder, names
// relative to a private folder made inside the output folder serve instead
// (`private_parent` is then set to the output folder).
std::optional<std::array<std::string, 4>> NamesFileLines(const fs::path& input, const fs::path& out_dir,
                                                         const std::array<fs::path, 3>& outputs,
                                                         fs::path& private_parent) {
    auto fits = [](const std::array<std::string, 4>& lines) {
        for (const std::string& line : lines) {
            if (line.size() > kNamesLineLength) return false;
        }
        return true;
    };
    std::array<std::string, 4> lines{input.string(), outputs[0].string(), outputs[1].string(), outputs[2].string()};
    private_parent = fs::temp_directory_path();
    if (fits(lines)) return lines;
    const fs::path relative = input.lexically_normal().lexically_relative(out_dir.lexically_normal());
    if (relative.empty() || *relative.begin() == "..") return std::nullopt;
    lines = {(fs::path("..") / relative).string(), (fs::path("..") / outputs[0].filename()).string(),
             (fs::path("..") / outputs[1].filename()).string(), (fs::path("..") / outputs[2].filename()).string()};
    private_parent = out_dir;
    if (fits(lines)) return lines;
    return std::nullopt;
}

// Result codes of runs that stop before writing any output (NAMES.DAT
// faults, colliding or unwritable outputs): their message is on standard
// error already, and files of an earlier run are left as they were.
bool WritesNoOutputs(int code) {
    return (code >= 202 && code <= 206) || code == 217 || (code >= 250 && code <= 252) || code == 291;
}

// The error of a failed run on standard error, as the message file holds it
// (or, for the errors written to the report only, as the report does); for
// an unrecognised line also where it stands in the input.
void ShowError(const fs::path& messages, const fs::path& report, const fs::path& input) {
    std::vector<std::string> block = host::ErrorBlock(messages);
    if (block.empty()) block = host::ReportErrorBlock(report);
    if (block.empty()) return;
    std::cerr << "Error reported by the analysis:\n";
    for (const std::string& line : block) std::cerr << line << '\n';
    const std::optional<std::string> shown = host::UnrecognizedLine(block);
    if (!shown) return;
    const std::vector<int> numbers = host::MatchingLines(input, *shown);
    if (numbers.empty()) return;
    // A line that occurs more than once is named at each place it occurs.
    std::cerr << (numbers.size() == 1 ? "The unrecognized line is line" : "The unrecognized line is one of lines");
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        std::cerr << (i == 0 ? " " : (i + 1 == numbers.size() ? " and " : ", ")) << numbers[i];
    }
    std::cerr << " of " << input.string() << '\n';
}

int RunCommand(const std::string& input_name, const std::string& out_dir_option, ResultOutputs wanted) {
    // The name is taken exactly: a blank at its end belongs to it.
    const fs::path input = fs::absolute(input_name);
    std::error_code ec;
    if (const std::string problem = host::InputPathProblem(input_name); !problem.empty()) {
        std::cerr << "trevasc: " << problem << '\n';
        return kExitInputError;
    }
    const fs::path out_dir = out_dir_option.empty() ? input.parent_path() : fs::absolute(out_dir_option);
    fs::create_directories(out_dir, ec);
    if (!fs::is_directory(out_dir, ec)) {
        std::cerr << "trevasc: output directory cannot be created: " << out_dir.string() << '\n';
        return kExitRuntimeError;
    }
    const std::string stem = input.stem().string();
    const std::string report = stem + ".report.txt";
    const std::string plot = stem + ".plot.txt";
    const std::string messages = stem + ".messages.txt";
    const std::array<fs::path, 3> outputs{out_dir / report, out_dir / plot, out_dir / messages};
    fs::path private_parent;
    const auto lines = NamesFileLines(input, out_dir, outputs, private_parent);
    if (!lines) {
        std::cerr << "trevasc: the paths of this run are longer than the " << kNamesLineLength
                  << " characters a run-control file can hold; use a shorter path or --out-dir\n";
        return kExitInputError;
    }
    std::array<host::FileStamp, 3> before;
    for (std::size_t k = 0; k < outputs.size(); ++k) before[k] = host::StampOf(outputs[k]);
    int code = 0;
    {
        const host::PrivateRunFolder folder(private_parent);
        const std::string failure = host::WriteNamesFile(folder.path(), *lines);
        if (!failure.empty()) {
            std::cerr << "trevasc: the run-control file NAMES.DAT cannot be written in " << folder.path().string()
                      << ": " << failure << '\n';
            return kExitRuntimeError;
        }
        const fs::path previous = fs::current_path();
        fs::current_path(folder.path());
        code = TRVRUN(trevasc::kInterfaceCode);
        fs::current_path(previous);
    }

    std::cout << "Result code " << code << ": " << trevasc::ResultCodeMeaning(code) << '\n';
    if (WritesNoOutputs(code)) {
        std::cerr << "trevasc: no output files were written; files of an earlier run with these names are "
                     "unchanged\n";
        return ExitStatusFor(code);
    }
    // A run that started writes all three outputs; one that is missing, or
    // a report or plot file that was not replaced, means the results shown
    // would not be this run's. (The message file is written in place, where
    // a coarse file-system clock could hide a rewrite: it has to exist.)
    bool all_written = true;
    for (std::size_t k = 0; k < outputs.size(); ++k) {
        const host::FileStamp after = host::StampOf(outputs[k]);
        const bool in_place = k == 2 || !after.regular;
        if (after.exists && (in_place || !(after == before[k]))) continue;
        std::cerr << "trevasc: the analysis did not write " << outputs[k].string() << '\n';
        all_written = false;
    }
    if (!all_written) return kExitRuntimeError;
    std::cout << "Report:           " << outputs[0].string() << '\n';
    std::cout << "Plot output:      " << outputs[1].string() << '\n';
    std::cout << "Runtime messages: " << outputs[2].string() << '\n';
    if (code < 0) ListWarnings(outputs[0]);
    if (code > 0) ShowError(outputs[2], outputs[0], input);
    if (code >= 101 && code <= 199) host::NoteUnknownFormat(input.string(), std::cerr);
    const int status = ExitStatusFor(code);
    if (!wanted.Any()) return status;
    wanted.result_code = code;
    if (code > 0) {
        std::cerr << "trevasc: no charts, tables or JSON results were made: the analysis ended with an error (see the "
                     "report)\n";
        return status;
    }
    host::PlotResults results;
    try {
        results = host::ReadPlotFile(out_dir / plot);
    } catch (const host::PlotFileError& e) {
        std::cerr << "trevasc: the plot output file of this run cannot be read back: " << e.what() << '\n';
        return kExitRuntimeError;
    }
    return MakeResultOutputs(results, out_dir / plot, out_dir / report, out_dir, out_dir / (stem + ".charts"),
                             wanted);
}

// The report of the run that wrote `plot`: STEM.report.txt beside STEM.plot.txt.
fs::path ReportBeside(const fs::path& plot) {
    const std::string name = plot.filename().string();
    constexpr std::string_view kSuffix = ".plot.txt";
    if (name.size() <= kSuffix.size() || name.compare(name.size() - kSuffix.size(), kSuffix.size(), kSuffix) != 0) {
        return {};
    }
    const fs::path report = plot.parent_path() / (PlotFileStem(plot) + ".report.txt");
    std::error_code ec;
    return fs::is_regular_file(report, ec) ? report : fs::path();
}

// A short account of a plot file's results on standard output.
void PrintSummary(const host::PlotResults& results) {
    const host::UnitTexts units = host::UnitTextsFor(results.units());
    std::cout << "Plot output file: " << results.file_name << (results.complete ? "" : " (incomplete)") << '\n'
              << "Analysis mode " << results.header.ICOM << ", " << units.system << " units, "
              << results.number_of_sections.value_or(0) << " section(s), " << results.section_curves.size()
              << " section curve(s), " << results.py_curves.size() << " p-y curve(s), " << results.cases.size()
              << " load case(s), " << results.stiffness.size() << " stiffness trial(s)\n";
    if (!results.complete) std::cout << "Incomplete: " << results.incomplete_reason << '\n';
    for (const host::CaseProfile& profile : results.cases) {
        const auto moment = host::LargestMoment(profile);
        const auto shear = host::LargestShear(profile);
        if (!moment || !shear) continue;
        std::cout << "Load case " << profile.case_number << ": head deflection " << profile.nodes.front().deflection
                  << ' ' << units.length << ", maximum moment " << moment->value << ' ' << units.moment << " at "
                  << moment->depth << ' ' << units.length << ", maximum shear " << shear->value << ' ' << units.force
                  << " at " << shear->depth << ' ' << units.length << '\n';
    }
}

// `trevasc plot` and `trevasc results`: the outputs of an existing plot file.
int PlotFileCommand(const std::string& plot_name, const std::string& out_dir_option,
                    const std::string& report_option, const ResultOutputs& wanted) {
    const fs::path plot = fs::absolute(plot_name);
    host::PlotResults results;
    try {
        results = host::ReadPlotFile(plot);
    } catch (const host::PlotFileError& e) {
        std::cerr << "trevasc: " << e.what() << '\n';
        return kExitInputError;
    }
    fs::path report;
    if (!report_option.empty()) {
        report = fs::absolute(report_option);
        std::error_code ec;
        if (!fs::is_regular_file(report, ec)) {
            std::cerr << "trevasc: report file not found: " << report_option << '\n';
            return kExitInputError;
        }
    } else {
        report = ReportBeside(plot);
    }
    const fs::path out_dir = out_dir_option.empty() ? plot.parent_path() : fs::absolute(out_dir_option);
    std::error_code ec;
    fs::create_directories(out_dir, ec);
    if (!fs::is_directory(out_dir, ec)) {
        std::cerr << "trevasc: output directory cannot be created: " << out_dir.string() << '\n';
        return kExitRuntimeError;
    }
    // Charts go into the folder named, or into STEM.charts beside the plot file.
    const fs::path chart_dir = !out_dir_option.empty() ? out_dir : out_dir / (PlotFileStem(plot) + ".charts");
    if (!report.empty()) std::cout << "Report:           " << report.string() << '\n';
    if (!wanted.Any()) {
        PrintSummary(results);
        return kExitOk;
    }
    return MakeResultOutputs(results, plot, report, out_dir, chart_dir, wanted);
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Trevasc: lateral analysis of single piles and drilled shafts by the p-y method", "trevasc"};
    app.set_version_flag("-v,--version", std::string("trevasc ") + trevasc::kVersionLabel);
    app.require_subcommand(1);

    const std::map<std::string, host::ChartFormat> formats{
        {"svg", host::ChartFormat::kSvg}, {"png", host::ChartFormat::kPng}, {"pdf", host::ChartFormat::kPdf}};

    std::string input;
    std::string out_dir;
    ResultOutputs run_outputs;
    CLI::App* run = app.add_subcommand("run", "Analyse one input file");
    run->add_option("INPUT", input, "Input file (current or previous format)")->required();
    run->add_option("--out-dir", out_dir, "Directory for NAMES.DAT and the three output files (default: the input's)");
    run->add_flag("--plots", run_outputs.charts,
                  "Draw the charts of the results with gnuplot into STEM.charts/ beside the outputs, with index.html");
    run->add_flag("--json", run_outputs.json, "Write the results as JSON to STEM.results.json beside the outputs");
    run->add_option("--format", run_outputs.format, "Picture format of the charts: svg (default), png or pdf")
        ->transform(host::ChoiceOf(formats))
        ->type_name("svg|png|pdf");
    run->add_flag("--csv", run_outputs.csv, "Write the results as CSV tables into STEM.csv/ beside the outputs");
    run->add_flag("--pdf", run_outputs.pdf,
                  "Write the calculation package STEM.pdf beside the outputs (needs gnuplot and pdfunite)");

    std::string plot_file;
    std::string plot_out_dir;
    std::string plot_report;
    ResultOutputs plot_outputs;
    plot_outputs.charts = true;
    CLI::App* plot = app.add_subcommand("plot", "Draw the charts of a plot output file with gnuplot");
    plot->add_option("PLOTFILE", plot_file, "Plot output file of a run (STEM.plot.txt)")->required();
    plot->add_option("--out-dir", plot_out_dir, "Folder for the charts and index.html (default: STEM.charts/ beside "
                                                "the plot file)");
    plot->add_option("--format", plot_outputs.format, "Picture format: svg (default), png or pdf")
        ->transform(host::ChoiceOf(formats))
        ->type_name("svg|png|pdf");
    plot->add_option("--report", plot_report, "Report of the same run (default: STEM.report.txt beside the plot "
                                              "file, when present)");

    std::string results_file;
    std::string results_out_dir;
    std::string results_report;
    ResultOutputs results_outputs;
    CLI::App* results = app.add_subcommand("results", "Show the results of a plot output file, or write them as JSON");
    results->add_option("PLOTFILE", results_file, "Plot output file of a run (STEM.plot.txt)")->required();
    results->add_flag("--json", results_outputs.json, "Write STEM.results.json");
    results->add_option("--csv", results_outputs.csv_dir,
                        "Write the results as CSV tables (nodes, summary, p-y curves, sections, stiffness, length "
                        "study) into this folder");
    results->add_option("--out-dir", results_out_dir, "Folder for STEM.results.json (default: the plot file's)");
    results->add_option("--report", results_report, "Report of the same run (default: STEM.report.txt beside the "
                                                     "plot file, when present)");

    std::string report_plot_file;
    std::string report_out_dir;
    std::string report_report;
    ResultOutputs report_outputs;
    CLI::App* report = app.add_subcommand("report", "Make the calculation package of a run as one PDF");
    report->add_option("PLOTFILE", report_plot_file, "Plot output file of a run (STEM.plot.txt)")->required();
    report->add_flag("--pdf", report_outputs.pdf,
                     "Write STEM.pdf: title page, input summary, results, figures and the text report")
        ->required();
    report->add_option("--out-dir", report_out_dir, "Folder for STEM.pdf (default: the plot file's)");
    report->add_option("--report", report_report, "Report of the same run (default: STEM.report.txt beside the "
                                                  "plot file)");

    std::string check_file;
    CLI::App* check = host::AddCheckCommand(app, check_file);
    host::TemplateRequest template_request;
    CLI::App* make_template = host::AddTemplateCommand(app, template_request);

    const std::vector<std::string> args = host::NormaliseArguments(argc, argv);
    std::vector<const char*> arg_pointers;
    for (const std::string& arg : args) arg_pointers.push_back(arg.c_str());
    try {
        app.parse(static_cast<int>(arg_pointers.size()), arg_pointers.data());
    } catch (const CLI::Success& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        return host::ReportUsageError(app, e, args);
    }
    try {
        if (run->parsed()) {
            if (run->count("--format") > 0 && !run_outputs.charts) {
                std::cerr << "trevasc: --format chooses the picture format of --plots; add --plots\n";
                return kExitUsage;
            }
            return RunCommand(input, out_dir, run_outputs);
        }
        if (check->parsed()) return host::CheckCommand(check_file, std::cout, std::cerr);
        if (make_template->parsed()) return host::TemplateCommand(template_request, std::cout);
        if (plot->parsed()) return PlotFileCommand(plot_file, plot_out_dir, plot_report, plot_outputs);
        if (results->parsed()) {
            results_outputs.csv = results->count("--csv") > 0;
            return PlotFileCommand(results_file, results_out_dir, results_report, results_outputs);
        }
        if (report->parsed()) return PlotFileCommand(report_plot_file, report_out_dir, report_report, report_outputs);
    } catch (const std::exception& e) {
        std::cerr << "trevasc: " << e.what() << '\n';
        return kExitRuntimeError;
    }
    return kExitUsage;
}
