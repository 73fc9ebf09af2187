// The calculation package of a run: one PDF with a title page, the input
// summary (pile, sections, soil layers, loads), the results table, every
// figure on a page of its own, and the full text report as an appendix in a
// monospaced font. The text pages are written directly (pdf_text.hpp), the
// figures by gnuplot's pdfcairo terminal, and pdfunite (poppler-utils)
// joins them.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "pdf_text.hpp"
#include "plot_file.hpp"
#include "report_extras.hpp"

namespace trevasc::host {

struct PackageInputs {
    std::filesystem::path plot_file;
    std::filesystem::path report_file;  // required: its text is the appendix
    std::optional<int> result_code;     // when the caller knows it; else from the report
    std::string date;                   // the package's date, "2026-12-10"
};

struct PackageOutcome {
    bool written = false;
    std::vector<std::string> missing_tools;  // "gnuplot (Debian package gnuplot-nox)", ...
    std::vector<std::string> errors;
};

// The text pages before the figures (title page, input summary, results)
// and the appendix, as lines for TextDocument.
struct PackageText {
    std::vector<PdfLine> front;
    std::vector<PdfLine> appendix;
};
PackageText BuildPackageText(const PlotResults& results, const ReportExtras& extras, const std::string& report_text,
                             const PackageInputs& inputs, std::size_t figure_count);

// Writes `pdf_path`. Never throws; what went wrong is in the outcome.
PackageOutcome WriteCalculationPackage(const PlotResults& results, const std::filesystem::path& pdf_path,
                                       const PackageInputs& inputs);

// Today's date (UTC) as YYYY-MM-DD.
std::string TodayIsoDate();

}  // namespace trevasc::host
