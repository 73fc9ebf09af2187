// What a chart, the JSON results, the tables or the calculation package need
// that the plot output file does not carry, read from the report of the
// same run: the problem title, the pile length and the depth of the ground
// surface (from the echo of the pile geometry), the soil layers (from the
// echo of the soil profile), the pile-head conditions of every load case
// (from the summary of pile responses), the warning summary and whether the
// analysis ended normally.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plot_file.hpp"

namespace trevasc::host {

// One row of the report's "Summary of Pile Response(s)" table.
struct HeadCondition {
    int case_number = 0;
    int loading_type = 0;       // 1..5; every LRFD combination is written as type 1
    double condition1 = 0.0;    // shear (types 1-3) or deflection (types 4-5)
    double condition2 = 0.0;    // moment (1, 4), slope (2, 5) or rotational stiffness (3)
    double axial_thrust = 0.0;
};

// One layer of the soil profile echo. Depths below the pile head in the
// length unit of the plot file (inches for USCS).
struct SoilLayerBand {
    int layer = 0;
    std::string model;        // short name for a chart band: "Soft clay (Matlock)"
    std::string description;  // the echo's text: "soft clay, p-y criteria by Matlock, 1970"
    double top = 0.0;
    double bottom = 0.0;
};

// One count line of the warning summary with the text printed under it.
struct ReportWarning {
    std::optional<int> id;  // recognised from the text; nullopt when the text is absent or unknown
    int count = 0;
    std::string text;       // the text lines joined by newlines, blank lines dropped
};

struct ReportExtras {
    std::vector<std::string> title_lines;  // the problem title, trailing blanks and empty lines dropped
    // Below the pile head, in the length unit of the plot file (inches for USCS).
    std::optional<double> ground_surface_depth;
    std::optional<double> pile_length;
    std::vector<SoilLayerBand> layers;
    std::vector<HeadCondition> head_conditions;
    std::vector<ReportWarning> warnings;
    bool ended_normally = false;  // "The analysis ended normally." was written
};

// Reads what it can; a report without these blocks gives empty extras.
ReportExtras ParseReportExtras(std::string_view report_text);
// The same for a report file; nullopt when the file cannot be read.
std::optional<ReportExtras> ReadReportExtras(const std::filesystem::path& report);

// "shear and moment", ... for loading types 1..5 (empty otherwise).
std::string LoadingTypeDescription(int loading_type);

// The warning id whose summary text this is (the text as ReportWarning
// keeps it); nullopt when no id has such a text.
std::optional<int> WarningIdOfText(std::string_view text);

// The result code a run that wrote this report returned, as far as the report
// tells it: 0 for a normal end without warnings, the (negative) id for one
// kind of warning, -300 for several; nullopt after an error stop or when a
// warning cannot be recognised.
std::optional<int> ResultCodeFromReport(const ReportExtras& extras);

// The lines of a report block: from the line after the rule under `heading`
// up to the rule over the next heading, trailing blanks removed. Empty when
// the report has no such heading.
std::vector<std::string> ReportBlock(std::string_view report_text, std::string_view heading);

}  // namespace trevasc::host
