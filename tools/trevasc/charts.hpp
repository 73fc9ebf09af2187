// Charts of a run's results drawn with gnuplot, and an index page that shows
// them with the results table and the soil profile. Each chart leaves three
// files beside each other in the output folder: NAME.dat (the numbers, one
// block per curve), NAME.gp (the gnuplot script that draws it, to be
// restyled and run again by hand) and the picture NAME.svg, NAME.png or
// NAME.pdf.
//
// Every chart is drawn for a report page: values in the units engineers
// read (display_units.hpp), fonts that stay legible with the picture at
// 8 cm wide, one palette safe for colour-blind readers with a dash pattern
// and point shape of its own per curve (legible in black and white), axis
// ranges padded so that points and labels stay inside the frame, and on
// every depth chart the soil layers, the ground surface and the pile tip.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "display_units.hpp"
#include "plot_file.hpp"
#include "report_extras.hpp"

namespace trevasc::host {

enum class ChartFormat { kSvg, kPng, kPdf };
std::string FormatExtension(ChartFormat format);  // "svg", "png", "pdf"

struct ChartSeries {
    std::string title;                          // empty: not in the key
    std::vector<std::array<double, 2>> points;  // (x, y) as plotted
    std::vector<int> labels;                    // optional: a case number per point, shown beside it
    bool second_axis = false;                   // plotted against the right-hand y axis
    bool markers_only = false;                  // points without a connecting line
    int style = 0;                              // line style 1..7 (colour, dashes, point shape); 0: by order
};

// A text placed at a point of the data, with the point marked.
struct ChartNote {
    double x = 0.0;
    double y = 0.0;
    std::string text;
    int style = 0;  // the line style whose colour marks the point
};

struct AxisRange {
    double low = 0.0;
    double high = 0.0;
};

// One frame of axes. Most charts have one; the response figure has four side
// by side on one depth axis and the p-y chart two (the working part and the
// whole curves).
struct ChartPanel {
    std::string title;  // above the frame of a multi-panel chart
    std::string x_label;
    std::string y_label;
    std::string y2_label;
    std::vector<ChartSeries> series;
    std::vector<ChartNote> notes;
    bool from_zero = false;           // axes whose values share one sign reach to zero
    std::optional<AxisRange> x_range; // fixed by the builder (else padded around the data)
    std::optional<AxisRange> y_range;
};

// A soil layer as a band of a depth chart, depths in shown units.
struct SoilBand {
    double top = 0.0;
    double bottom = 0.0;
    std::string name;
};

// Nominal size of a single-panel chart, in SVG pixels.
inline constexpr int kSingleWidth = 520;
inline constexpr int kSingleHeight = 440;

struct Chart {
    std::string name;     // file stem, e.g. "deflection"
    std::string title;
    std::string caption;  // one sentence for the index page
    std::vector<ChartPanel> panels;
    // Depth charts: y is depth below the pile head, drawn downward from the
    // head to the tip, with the soil bands and the ground surface.
    bool depth_axis = false;
    std::optional<double> ground_surface_depth;
    double tip_depth = 0.0;
    std::string depth_label;  // "Depth below pile head (ft)"
    std::vector<SoilBand> bands;
    bool soil_column = false;  // the layers drawn as a labelled column left of the panels
    int width = 0;             // nominal size in SVG pixels
    int height = 0;
};

// Every chart the results allow, in the order of the index page.
std::vector<Chart> BuildCharts(const PlotResults& results, const ReportExtras* extras);

// The text of NAME.dat and NAME.gp for a chart. The terminal and its size
// follow the format and the chart's nominal size.
std::string ChartData(const Chart& chart);
std::string ChartScript(const Chart& chart, ChartFormat format, bool cairo, const std::string& source_name);

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

struct ChartOptions {
    bool write_index = true;
    // Every picture drawn at this size (nominal pixels, 100 per inch for
    // PDF) instead of its own, as for the pages of a calculation package.
    int page_width = 0;
    int page_height = 0;
};

// Builds the charts, writes their data and scripts into `out_dir`, runs
// gnuplot on each, and writes index.html when every picture was drawn (or
// when there is nothing to draw). Never throws for a chart that fails: the
// failure is listed in `errors`.
ChartRun DrawCharts(const PlotResults& results, const ReportExtras* extras, const std::filesystem::path& out_dir,
                    ChartFormat format, const IndexLinks& links, const std::string& title,
                    const ChartOptions& options = {});

// The index page: the problem title, the results table of every case, the
// soil profile, every chart with its caption, and links to the files.
std::string IndexPage(const PlotResults& results, const ReportExtras* extras, const std::vector<Chart>& charts,
                      ChartFormat format, const std::filesystem::path& out_dir, const IndexLinks& links,
                      const std::string& title, const std::string& note);

}  // namespace trevasc::host
