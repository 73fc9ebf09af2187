// The results of a run as six CSV tables for a spreadsheet: nodes.csv,
// summary.csv, py_curves.csv, sections.csv, stiffness.csv and
// length_study.csv, and for runs with interaction diagrams interaction.csv
// and interaction_checks.csv. Values are in the units the charts show (display_units.hpp),
// each column's unit in its heading ("depth (ft)"); quoting and line ends
// follow RFC 4180 (CRLF, a field with a comma, quote or line break quoted,
// its quotes doubled). A table without rows still has its heading.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "plot_file.hpp"
#include "report_extras.hpp"

namespace trevasc::host {

struct CsvTable {
    std::string file_name;  // "nodes.csv"
    std::vector<std::string> heading;
    std::vector<std::vector<std::string>> rows;
};

// The tables; `extras` may be null (the head conditions are then empty).
std::vector<CsvTable> BuildCsvTables(const PlotResults& results, const ReportExtras* extras);

// One table as RFC 4180 text.
std::string CsvText(const CsvTable& table);

// Writes the tables into `dir` (created when missing) and returns the paths
// written; throws std::runtime_error naming the file that cannot be written.
std::vector<std::filesystem::path> WriteCsvTables(const std::vector<CsvTable>& tables,
                                                  const std::filesystem::path& dir);

}  // namespace trevasc::host
