// The results of a run as one JSON document (STEM.results.json), for tools
// that read numbers rather than fixed columns. Every quantity is given in
// the force and length units of the run's computations (pounds and inches
// for USCS, kN and metres for SI, the user's units for GENERAL), named in
// the "units" object; the schema is described in the README.
#pragma once

#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "plot_file.hpp"
#include "report_extras.hpp"

namespace trevasc::host {

inline constexpr int kResultsFormatVersion = 2;

struct ResultSources {
    std::string plot_file;    // as shown in the document (a file name)
    std::string report_file;  // empty when no report was read
    // The result code of the run when the caller knows it (the run command);
    // otherwise it is taken from the report where the report tells it.
    std::optional<int> result_code;
};

// `extras` may be null (no report was read): the pile-head conditions and
// the ground surface are then null in the document.
nlohmann::ordered_json BuildResultsJson(const PlotResults& results, const ReportExtras* extras,
                                        const ResultSources& sources);

// Writes the document, indented, to `path`; throws std::runtime_error naming
// the file when it cannot be written.
void WriteResultsJson(const std::filesystem::path& path, const nlohmann::ordered_json& document);

// The unit texts of a unit system, as the JSON shows them (the charts and
// tables show engineering units: display_units.hpp).
struct UnitTexts {
    std::string system;             // "USCS", "SI", "GENERAL"
    std::string length;             // "in"
    std::string force;              // "lb"
    std::string moment;             // "in-lb"
    std::string bending_stiffness;  // "lb-in^2"
    std::string soil_reaction;      // "lb/in"
    std::string curvature;          // "rad/in"
    std::string K22, K23, K32, K33;
};
UnitTexts UnitTextsFor(UnitSystemCode units);

// The signed largest-magnitude value of a column of the nodes and the depth
// of the first node where it occurs (nullopt without nodes).
struct ExtremeAtDepth {
    double value = 0.0;
    double depth = 0.0;
};
std::optional<ExtremeAtDepth> LargestMoment(const CaseProfile& profile);
std::optional<ExtremeAtDepth> LargestShear(const CaseProfile& profile);

}  // namespace trevasc::host
