// The compiled half of the Python package: the engine's in-memory run, the
// model reader and current-format writer, and the plot-file reader of the
// command-line host with its JSON results. Runs release the GIL, so threads
// of one process analyse in parallel.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <optional>
#include <string>
#include <tuple>

#include "engine/model_text.hpp"
#include "input/current_format_writer.hpp"
#include "plot_file.hpp"
#include "report_extras.hpp"
#include "results_json.hpp"
#include "trevasc/run.hpp"

namespace py = pybind11;

namespace {

using RunTuple = std::tuple<std::int32_t, std::string, std::string, std::string>;

RunTuple Run(const std::string& text, bool check_only, std::optional<std::tuple<int, int, int, int, int, int>> when) {
    trevasc::RunOptions options;
    options.check_only = check_only;
    if (when) {
        const auto [year, month, day, hour, minute, second] = *when;
        options.clock = [=] { return trevasc::LocalTime{year, month, day, hour, minute, second}; };
    }
    trevasc::TextRunResult result;
    {
        py::gil_scoped_release release;
        result = trevasc::RunText(text, options);
    }
    return {result.code, std::move(result.report), std::move(result.plot), std::move(result.messages)};
}

// Reads a text of any format and writes its model in the current format.
// Returns (code, version tag, current-format text or None, why not, report).
std::tuple<std::int32_t, std::string, std::optional<std::string>, std::string, std::string> ToCurrentFormat(
    const std::string& text) {
    trevasc::engine::ModelReadResult model;
    {
        py::gil_scoped_release release;
        model = trevasc::engine::ReadModelText(text);
    }
    if (model.code != 0) return {model.code, model.version_tag, std::nullopt, std::string(), model.report};
    try {
        return {0, model.version_tag, trevasc::input::WriteCurrentFormat(model.problem), std::string(), model.report};
    } catch (const trevasc::input::UnwritableModel& why) {
        return {0, model.version_tag, std::nullopt, why.what(), model.report};
    }
}

std::string ResultsJson(const std::string& plot, const std::string& report) {
    try {
        const trevasc::host::PlotResults results = trevasc::host::ParsePlotText(plot, "plot.txt");
        const trevasc::host::ReportExtras extras = trevasc::host::ParseReportExtras(report);
        trevasc::host::ResultSources sources;
        sources.plot_file = "plot.txt";
        sources.report_file = "report.txt";
        return trevasc::host::BuildResultsJson(results, &extras, sources).dump();
    } catch (const trevasc::host::PlotFileError& error) {
        throw py::value_error(error.what());
    }
}

}  // namespace

PYBIND11_MODULE(_engine, m) {
    m.doc() = "Trevasc engine: in-memory analysis runs, model reading and writing, plot-file results";
    m.def("run", &Run, py::arg("text"), py::arg("check_only") = false, py::arg("fixed_time") = py::none(),
          "Runs an analysis of an input text in memory with the GIL released; returns (code, report, plot, "
          "messages). fixed_time (year, month, day, hour, minute, second) fixes the report's date line.");
    m.def("to_current_format", &ToCurrentFormat, py::arg("text"),
          "Reads an input text of any format; returns (code, version tag, current-format text or None, reason "
          "when it cannot be written, reader report).");
    m.def("results_json", &ResultsJson, py::arg("plot"), py::arg("report"),
          "The results document (JSON text) of a run from its plot and report texts.");
    m.def("result_code_meaning", &trevasc::ResultCodeMeaning, py::arg("code"));
    m.attr("version") = TREVASC_VERSION_STRING;
}
