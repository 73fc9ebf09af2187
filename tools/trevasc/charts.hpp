// Charts of a run's results drawn with gnuplot, and an index page that shows
// them. Each chart leaves three files beside each other in the output
// folder: NAME.dat (the numbers, one block per curve), NAME.gp (the gnuplot
// script that draws it, to be restyled and run again by hand) and the
// picture NAME.svg, NAME.png or NAME.pdf.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "plot_file.hpp"
#include "report_extras.hpp"

namespace trevasc::host {

enum class ChartFormat { kSvg, kPng, kPdf };
std::string FormatExtension(ChartFormat format);  // "svg", "png", "pdf"

struct ChartSeries {
    std::string title;
    std::vector<std::array<double, 2>> points;  // (x, y) as plotted
    std::vector<int> labels;                    // optional: a case number per point, shown beside it
    bool second_axis = false;                   // plotted against the right-hand y axis
    bool markers_only = false;                  // points without a connecting line
    std::string color;                          // markers only: a gnuplot colour ("#2ca02c"); empty for black
};

struct Chart {
    std::string name;     // file stem, e.g. "deflection"
    std::string title;
    std::string caption;  // one sentence for the index page
    std::string x_label;
    std::string y_label;
    std::string y2_label;
    bool depth_axis = false;                    // y is depth below the pile head, drawn downward
    std::optional<double> ground_surface_depth; // marked on depth axes
    bool from_zero = false;                     // axes whose values share one sign reach to zero
    std::vector<ChartSeries> series;
};

// Every chart the results allow, in the order of the index page.
std::vector<Chart> BuildCharts(const PlotResults& results, const ReportExtras* extras);

// The text of NAME.dat and NAME.gp for a chart; `terminal` is the gnuplot
// terminal line ("svg size 960,720 ...").
std::string ChartData(const Chart& chart);
std::string ChartScript(const Chart& chart, const std::string& terminal, ChartFormat format,
                        const std::string& source_name);

// Files the index page links, relative to nothing: absolute or empty paths.
struct IndexLinks {
    std::filesystem::path plot_file;
    std::filesystem::path report_file;
    std::filesystem::path json_file;
};

struct ChartRun {
    std::vector<Chart> charts;
    std::vector<std::string> drawn;   // pictures made (file names in the output folder)
    std::vector<std::string> errors;  // one line per failure; empty when all went well
    bool gnuplot_missing = false;
    bool index_written = false;
};

// Builds the charts, writes their data and scripts into `out_dir`, runs
// gnuplot on each, and writes index.html when every picture was drawn.
// Never throws for a chart that fails: the failure is listed in `errors`.
ChartRun DrawCharts(const PlotResults& results, const ReportExtras* extras, const std::filesystem::path& out_dir,
                    ChartFormat format, const IndexLinks& links, const std::string& title);

// The index page: every chart with its caption, and links to the files.
std::string IndexPage(const std::vector<Chart>& charts, ChartFormat format, const std::filesystem::path& out_dir,
                      const IndexLinks& links, const std::string& title, const std::string& note);

}  // namespace trevasc::host
