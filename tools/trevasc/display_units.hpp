// The units an engineer reads results in, for the charts, the results page,
// the CSV tables and the calculation package: depth in ft and moments in
// kip-ft for US customary runs, depth in m and deflection in mm for SI runs.
// The plot output file keeps the units of the computation (pounds and
// inches, kN and metres); each shown value is the file's value times the
// factor of its quantity. GENERAL runs are shown as they were computed.
#pragma once

#include <optional>
#include <string>

#include "plot_file.hpp"
#include "report_extras.hpp"

namespace trevasc::host {

struct ShownQuantity {
    std::string unit;     // "kip-ft"
    double factor = 1.0;  // shown value = file value * factor
    double operator()(double value) const { return value * factor; }
};

struct DisplayUnits {
    ShownQuantity depth;              // ft / m
    ShownQuantity deflection;         // in / mm
    ShownQuantity force;              // kips / kN
    ShownQuantity moment;             // kip-ft / kN-m
    ShownQuantity soil_reaction;      // lb/in / kN/m
    ShownQuantity bending_stiffness;  // kip-in^2 / kN-m^2
    ShownQuantity curvature;          // rad/in / rad/m
    ShownQuantity lateral_stiffness;  // K22: kips/in / kN/m
    ShownQuantity K23;                // kips/rad / kN/rad
    ShownQuantity K32;                // kip-ft/in / kN-m/m
    ShownQuantity K33;                // kip-ft/rad / kN-m/rad
};
DisplayUnits DisplayUnitsFor(UnitSystemCode units);

// A value rounded to `significant` digits and written without an exponent
// and without trailing zeros: 50000 -> "50000", 0.0462716 -> "0.04627".
std::string Compact(double value, int significant = 4);

// "free head", "fixed head", ... and the pile-head conditions of a load
// case in shown units: "free head, V = 50 kips, M = 0, P = 0".
std::string HeadConditionText(const HeadCondition& condition, const DisplayUnits& units);

// "Case 1: free head, V = 50 kips, M = 0, P = 0"; "Case 1" (or "LRFD case 1")
// when the conditions are not known.
std::string CaseLegend(int case_number, bool lrfd, const HeadCondition* condition, const DisplayUnits& units);

// The row of the report's pile-response summary of a case (null when absent).
const HeadCondition* FindHeadCondition(const ReportExtras* extras, int case_number);

// The results of one load case that a results table shows, in shown units.
struct CaseRow {
    int case_number = 0;
    bool lrfd = false;
    std::string conditions;                  // HeadConditionText, empty when unknown
    int loading_type = 0;                    // 0 when unknown
    std::optional<double> head_deflection;   // deflection unit
    std::optional<double> head_slope;        // rad
    std::optional<double> max_moment;        // moment unit
    std::optional<double> max_moment_depth;  // depth unit
    std::optional<double> max_shear;         // force unit
    std::optional<double> max_shear_depth;   // depth unit
};
std::vector<CaseRow> CaseRows(const PlotResults& results, const ReportExtras* extras);

}  // namespace trevasc::host
