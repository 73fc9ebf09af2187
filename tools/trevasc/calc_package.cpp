#include "calc_package.hpp"

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <fstream>
#include <sstream>

#include "charts.hpp"
#include "display_units.hpp"
#include "external_program.hpp"
#include "pdf_text.hpp"
#include "trevasc/run.hpp"

namespace trevasc::host {

namespace fs = std::filesystem;

namespace {

constexpr double kTitleSize = 20.0;
constexpr double kHeadingSize = 14.0;
constexpr double kTextSize = 10.5;
constexpr double kTableSize = 8.0;
// The appendix font: as large as lets the longest report line fit, within
// these bounds (longer lines are wrapped).
constexpr double kAppendixLargest = 8.5;
constexpr double kAppendixSmallest = 5.5;
constexpr double kPointsPerInch = 72.0;
constexpr double kChartPixelsPerInch = 100.0;

PdfLine Heading(const std::string& text, bool page_break) {
    return {text, PdfFont::kSansBold, kHeadingSize, 6.0, page_break};
}
PdfLine Text(const std::string& text, double space_before = 0.0) {
    return {text, PdfFont::kSans, kTextSize, space_before, false};
}
PdfLine Mono(const std::string& text, double size = kTableSize) { return {text, PdfFont::kMono, size, 0.0, false}; }

std::string TrimRight(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.pop_back();
    return text;
}

std::string PadRight(const std::string& text, std::size_t width) {
    std::string padded = text;
    if (padded.size() < width) padded.append(width - padded.size(), ' ');
    return padded;
}

std::string PadLeft(const std::string& text, std::size_t width) {
    return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

std::string Shown(const std::optional<double>& value) { return value ? Compact(*value, 5) : "-"; }

void AddBlock(std::vector<PdfLine>& lines, const std::vector<std::string>& block) {
    for (const std::string& line : block) lines.push_back(Mono(TrimRight(line)));
}

std::string UnitsText(UnitSystemCode system, const DisplayUnits& u) {
    switch (system) {
        case UnitSystemCode::kUscs:
            return "US customary units. The report gives lengths in inches (depths in feet) and forces in pounds; "
                   "the tables and figures of this package give depth in " +
                   u.depth.unit + ", deflection in " + u.deflection.unit + ", forces in " + u.force.unit +
                   " and moments in " + u.moment.unit + ".";
        case UnitSystemCode::kSi:
            return "SI units. The report gives lengths in metres and forces in kN; the tables and figures of this "
                   "package give depth in " +
                   u.depth.unit + ", deflection in " + u.deflection.unit + ", forces in " + u.force.unit +
                   " and moments in " + u.moment.unit + ".";
        case UnitSystemCode::kGeneral:
            break;
    }
    return "General units: every value in the consistent force (F) and length (L) units of the input.";
}

// Wraps a sentence at word boundaries to `width` characters.
std::vector<std::string> Wrap(const std::string& text, std::size_t width) {
    std::vector<std::string> lines;
    std::istringstream words(text);
    std::string word;
    std::string line;
    while (words >> word) {
        if (!line.empty() && line.size() + 1 + word.size() > width) {
            lines.push_back(line);
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

// A temporary folder of its own, removed when the package is done.
class WorkFolder {
public:
    WorkFolder() {
        std::string pattern = (fs::temp_directory_path() / "trevasc-package-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~WorkFolder() {
        std::error_code ec;
        if (!path_.empty()) fs::remove_all(path_, ec);
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

bool WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    return static_cast<bool>(out);
}

}  // namespace

std::string TodayIsoDate() {
    const auto today = std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now());
    const std::chrono::year_month_day date{today};
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}

PackageText BuildPackageText(const PlotResults& results, const ReportExtras& extras, const std::string& report_text,
                             const PackageInputs& inputs, std::size_t figure_count) {
    const DisplayUnits u = DisplayUnitsFor(results.units());
    const PdfPageSize page = results.units() == UnitSystemCode::kSi ? kA4Landscape : kLetterLandscape;
    const std::size_t text_width = MonoLineCapacity(page, kTextSize * 0.9);
    PackageText text;
    std::vector<PdfLine>& lines = text.front;

    // Title page.
    lines.push_back({"Calculation package: lateral analysis of a pile by the p-y method", PdfFont::kSans, kTextSize,
                     0.0, false});
    const std::vector<std::string> title =
        extras.title_lines.empty() ? std::vector<std::string>{"(untitled)"} : extras.title_lines;
    for (std::size_t i = 0; i < title.size(); ++i) {
        lines.push_back({title[i], i == 0 ? PdfFont::kSansBold : PdfFont::kSans, i == 0 ? kTitleSize : kHeadingSize,
                         i == 0 ? 24.0 : 4.0, false});
    }
    lines.push_back(Text("Date of this package: " + inputs.date, 24.0));
    for (const std::string& line : ReportBlock(report_text, "Date and Time of Analysis")) {
        const std::string trimmed = TrimRight(line);
        const std::size_t start = trimmed.find_first_not_of(' ');
        if (start != std::string::npos) lines.push_back(Text("Analysis " + trimmed.substr(start)));
    }
    lines.push_back(Heading("Files", false));
    AddBlock(lines, ReportBlock(report_text, "Files Used for Analysis"));
    lines.push_back(Heading("Units", false));
    for (const std::string& line : Wrap(UnitsText(results.units(), u), text_width)) lines.push_back(Text(line));
    lines.push_back(Heading("Result", false));
    const std::optional<int> code = inputs.result_code ? inputs.result_code : ResultCodeFromReport(extras);
    lines.push_back(Text(code ? "Result code " + std::to_string(*code) + ": " + ResultCodeMeaning(*code)
                              : "The analysis did not end normally: see the report."));
    lines.push_back(Heading("Contents", false));
    lines.push_back(Text("1. Input summary: pile, sections, soil layers, loads"));
    lines.push_back(Text("2. Results of each load case"));
    lines.push_back(Text("3. Figures (" + std::to_string(figure_count) + ")"));
    lines.push_back(Text("Appendix: the full text report"));

    // Input summary.
    lines.push_back(Heading("1. Input summary", true));
    lines.push_back(Heading("Pile and sections", false));
    AddBlock(lines, ReportBlock(report_text, "Pile Structural Properties and Geometry"));
    lines.push_back(Heading("Soil layers", false));
    if (extras.layers.empty()) {
        lines.push_back(Text("The report holds no soil layers."));
    } else {
        lines.push_back(Mono("Layer  " + PadRight("Model", 64) + PadLeft("Top (" + u.depth.unit + ")", 12) +
                             PadLeft("Bottom (" + u.depth.unit + ")", 14)));
        for (const SoilLayerBand& layer : extras.layers) {
            lines.push_back(Mono(PadLeft(std::to_string(layer.layer), 5) + "  " + PadRight(layer.description, 64) +
                                 PadLeft(Compact(u.depth(layer.top), 5), 12) +
                                 PadLeft(Compact(u.depth(layer.bottom), 5), 14)));
        }
    }
    lines.push_back(Heading("Loads", false));
    AddBlock(lines, ReportBlock(report_text, "Pile-head Loading and Pile-head Fixity Conditions"));

    // Results.
    lines.push_back(Heading("2. Results of each load case", true));
    lines.push_back(Mono(PadRight("Case", 9) + PadRight("Pile-head conditions", 52) +
                         PadLeft("y head", 11) + PadLeft("slope", 11) + PadLeft("Mmax", 11) + PadLeft("at", 9) +
                         PadLeft("Vmax", 11) + PadLeft("at", 9)));
    lines.push_back(Mono(PadRight("", 61) + PadLeft("(" + u.deflection.unit + ")", 11) + PadLeft("(rad)", 11) +
                         PadLeft("(" + u.moment.unit + ")", 11) + PadLeft("(" + u.depth.unit + ")", 9) +
                         PadLeft("(" + u.force.unit + ")", 11) + PadLeft("(" + u.depth.unit + ")", 9)));
    for (const CaseRow& row : CaseRows(results, &extras)) {
        lines.push_back(Mono(PadRight((row.lrfd ? "LRFD " : "") + std::to_string(row.case_number), 9) +
                             PadRight(row.conditions.empty() ? "-" : row.conditions, 52) +
                             PadLeft(Shown(row.head_deflection), 11) + PadLeft(Shown(row.head_slope), 11) +
                             PadLeft(Shown(row.max_moment), 11) + PadLeft(Shown(row.max_moment_depth), 9) +
                             PadLeft(Shown(row.max_shear), 11) + PadLeft(Shown(row.max_shear_depth), 9)));
    }
    lines.push_back(Heading("Warnings", false));
    if (extras.warnings.empty()) lines.push_back(Text("No warning was reported."));
    for (const ReportWarning& warning : extras.warnings) {
        std::string sentence = warning.text;
        std::replace(sentence.begin(), sentence.end(), '\n', ' ');
        const std::string head = (warning.id ? "Warning " + std::to_string(*warning.id) + ", " : std::string()) +
                                 "reported " + std::to_string(warning.count) +
                                 (warning.count == 1 ? " time" : " times") + (sentence.empty() ? "." : ": ");
        bool first = true;
        for (const std::string& line : Wrap(head + sentence, text_width)) {
            lines.push_back(Text(line, first ? 4.0 : 0.0));
            first = false;
        }
    }

    // Appendix: the report as it is, in a font that lets its lines fit.
    std::vector<std::string> report_lines;
    {
        std::istringstream in(report_text);
        std::string line;
        while (std::getline(in, line)) report_lines.push_back(TrimRight(line));
    }
    std::size_t longest = 80;
    for (const std::string& line : report_lines) longest = std::max(longest, line.size());
    const double size = std::clamp((page.width - 2.0 * kPdfMargin) / (0.6 * static_cast<double>(longest)),
                                   kAppendixSmallest, kAppendixLargest);
    const std::size_t capacity = MonoLineCapacity(page, size);
    text.appendix.push_back({"Appendix: the full text report, " + inputs.report_file.filename().string(),
                             PdfFont::kSansBold, kHeadingSize, 0.0, false});
    for (const std::string& line : report_lines) {
        // A line too long for the page continues on the next, indented.
        std::size_t at = 0;
        do {
            const std::string indent = at == 0 ? "" : "    ";
            const std::size_t room = capacity - indent.size();
            text.appendix.push_back(Mono(indent + line.substr(at, room), size));
            at += room;
        } while (at < line.size());
    }
    return text;
}

PackageOutcome WriteCalculationPackage(const PlotResults& results, const fs::path& pdf_path,
                                       const PackageInputs& inputs) {
    PackageOutcome outcome;
    const auto gnuplot = FindOnPath("gnuplot");
    const auto pdfunite = FindOnPath("pdfunite");
    if (!gnuplot) outcome.missing_tools.push_back("gnuplot with its pdfcairo terminal (Debian package gnuplot-nox)");
    if (!pdfunite) outcome.missing_tools.push_back("pdfunite (Debian package poppler-utils)");
    if (!outcome.missing_tools.empty()) return outcome;

    std::ifstream in(inputs.report_file, std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    if (!in) {
        outcome.errors.push_back("the report " + inputs.report_file.string() + " cannot be read");
        return outcome;
    }
    const std::string report_text = contents.str();
    const ReportExtras extras = ParseReportExtras(report_text);

    WorkFolder work;
    if (work.path().empty()) {
        outcome.errors.push_back("no temporary folder could be made for the pages of the package");
        return outcome;
    }
    const PdfPageSize page = results.units() == UnitSystemCode::kSi ? kA4Landscape : kLetterLandscape;
    ChartOptions options;
    options.write_index = false;
    options.page_width = static_cast<int>(std::lround(page.width / kPointsPerInch * kChartPixelsPerInch));
    options.page_height = static_cast<int>(std::lround(page.height / kPointsPerInch * kChartPixelsPerInch));
    const ChartRun charts = DrawCharts(results, &extras, work.path(), ChartFormat::kPdf,
                                       IndexLinks{inputs.plot_file, inputs.report_file, {}}, "", options);
    if (!charts.errors.empty()) {
        outcome.errors = charts.errors;
        return outcome;
    }
    const PackageText text = BuildPackageText(results, extras, report_text, inputs, charts.drawn.size());
    std::string footer = extras.title_lines.empty() ? std::string() : extras.title_lines.front();
    footer += (footer.empty() ? "" : "  |  ") + inputs.report_file.filename().string() + "  |  " + inputs.date;
    const fs::path front = work.path() / "front.pdf";
    const fs::path appendix = work.path() / "appendix.pdf";
    if (!WriteBytes(front, TextDocument(text.front, page, footer)) ||
        !WriteBytes(appendix, TextDocument(text.appendix, page, footer))) {
        outcome.errors.push_back("cannot write the text pages in " + work.path().string());
        return outcome;
    }
    std::vector<std::string> arguments{front.string()};
    for (const std::string& picture : charts.drawn) arguments.push_back((work.path() / picture).string());
    arguments.push_back(appendix.string());
    const fs::path joined = work.path() / "package.pdf";
    arguments.push_back(joined.string());
    const ProgramOutcome unite = RunProgram(*pdfunite, arguments, work.path());
    std::error_code ec;
    if (!unite.started || unite.exit_status != 0 || !fs::is_regular_file(joined, ec)) {
        outcome.errors.push_back("pdfunite could not join the pages: " + TrimRight(unite.output));
        return outcome;
    }
    fs::copy_file(joined, pdf_path, fs::copy_options::overwrite_existing, ec);
    if (ec) {
        outcome.errors.push_back("cannot write " + pdf_path.string() + ": " + ec.message());
        return outcome;
    }
    outcome.written = true;
    return outcome;
}

}  // namespace trevasc::host
