// The two facts a chart or the JSON results need that the plot output file
// does not carry, read from the report of the same run: the depth of the
// ground surface (from the echo of the pile geometry) and the pile-head
// conditions of every load case (from the summary of pile responses).
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

struct ReportExtras {
    // Below the pile head, in the length unit of the plot file (inches for USCS).
    std::optional<double> ground_surface_depth;
    std::vector<HeadCondition> head_conditions;
};

// Reads what it can; a report without these blocks gives empty extras.
ReportExtras ParseReportExtras(std::string_view report_text);
// The same for a report file; nullopt when the file cannot be read.
std::optional<ReportExtras> ReadReportExtras(const std::filesystem::path& report);

// "shear and moment", ... for loading types 1..5 (empty otherwise).
std::string LoadingTypeDescription(int loading_type);

}  // namespace trevasc::host
