#include "display_units.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "trevasc/units.hpp"
#include "results_json.hpp"

namespace trevasc::host {

namespace {

constexpr double kInchPoundsPerKipFoot = kPoundsPerKip * kInchesPerFoot;

}  // namespace

DisplayUnits DisplayUnitsFor(UnitSystemCode units) {
    switch (units) {
        case UnitSystemCode::kUscs:
            return {{"ft", 1.0 / kInchesPerFoot},
                    {"in", 1.0},
                    {"kips", 1.0 / kPoundsPerKip},
                    {"kip-ft", 1.0 / kInchPoundsPerKipFoot},
                    {"lb/in", 1.0},
                    {"kip-in²", 1.0 / kPoundsPerKip},
                    {"rad/in", 1.0},
                    {"kips/in", 1.0 / kPoundsPerKip},
                    {"kips/rad", 1.0 / kPoundsPerKip},
                    {"kip-ft/in", 1.0 / kInchPoundsPerKipFoot},
                    {"kip-ft/rad", 1.0 / kInchPoundsPerKipFoot}};
        case UnitSystemCode::kSi:
            return {{"m", 1.0},         {"mm", kMillimetresPerMetre}, {"kN", 1.0},     {"kN-m", 1.0},
                    {"kN/m", 1.0},      {"kN-m²", 1.0},               {"rad/m", 1.0},  {"kN/m", 1.0},
                    {"kN/rad", 1.0},    {"kN-m/m", 1.0},              {"kN-m/rad", 1.0}};
        case UnitSystemCode::kGeneral:
            break;
    }
    return {{"L", 1.0},     {"L", 1.0},     {"F", 1.0},       {"F-L", 1.0},     {"F/L", 1.0},      {"F-L²", 1.0},
            {"rad/L", 1.0}, {"F/L", 1.0},   {"F/rad", 1.0},   {"F-L/L", 1.0},   {"F-L/rad", 1.0}};
}

std::string Compact(double value, int significant) {
    if (!std::isfinite(value)) return "n/a";
    if (value == 0.0) return "0";
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    // Very small and very large values in scientific notation.
    constexpr int kSmallestFixed = -5;
    constexpr int kLargestFixed = 9;
    if (exponent < kSmallestFixed || exponent > kLargestFixed) {
        std::array<char, 64> buffer{};
        const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                             std::chars_format::scientific, significant - 1);
        return ec == std::errc() ? std::string(buffer.data(), end) : "n/a";
    }
    const int decimals = std::max(0, significant - 1 - exponent);
    const double step = std::pow(10.0, exponent - significant + 1);
    double rounded = std::round(value / step) * step;
    if (rounded == 0.0) rounded = 0.0;  // no "-0"
    std::array<char, 64> buffer{};
    const auto [end, ec] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), rounded, std::chars_format::fixed, decimals);
    if (ec != std::errc()) return "n/a";
    std::string text(buffer.data(), end);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    return text;
}

std::string HeadConditionText(const HeadCondition& condition, const DisplayUnits& units) {
    const std::string shear = "V = " + Compact(units.force(condition.condition1)) + " " + units.force.unit;
    const std::string deflection =
        "y = " + Compact(units.deflection(condition.condition1)) + " " + units.deflection.unit;
    const std::string moment = "M = " + Compact(units.moment(condition.condition2)) +
                               (condition.condition2 == 0.0 ? "" : " " + units.moment.unit);
    const std::string slope = "S = " + Compact(condition.condition2) + (condition.condition2 == 0.0 ? "" : " rad");
    const std::string thrust = "P = " + Compact(units.force(condition.axial_thrust)) +
                               (condition.axial_thrust == 0.0 ? "" : " " + units.force.unit);
    switch (condition.loading_type) {
        case 1: return "free head, " + shear + ", " + moment + ", " + thrust;
        case 2:
            return (condition.condition2 == 0.0 ? "fixed head, " : "head slope given, ") + shear + ", " + slope +
                   ", " + thrust;
        case 3:
            return "rotational restraint, " + shear + ", R = " + Compact(units.K33(condition.condition2)) + " " +
                   units.K33.unit + ", " + thrust;
        case 4: return "deflection and moment, " + deflection + ", " + moment + ", " + thrust;
        case 5:
            return (condition.condition2 == 0.0 ? "fixed head, " : "deflection and slope, ") + deflection + ", " +
                   slope + ", " + thrust;
        default: break;
    }
    return "";
}

std::string CaseLegend(int case_number, bool lrfd, const HeadCondition* condition, const DisplayUnits& units) {
    std::string legend = std::string(lrfd ? "LRFD case " : "Case ") + std::to_string(case_number);
    if (condition != nullptr) {
        const std::string text = HeadConditionText(*condition, units);
        if (!text.empty()) legend += ": " + text;
    }
    return legend;
}

const HeadCondition* FindHeadCondition(const ReportExtras* extras, int case_number) {
    if (extras == nullptr) return nullptr;
    for (const HeadCondition& row : extras->head_conditions) {
        if (row.case_number == case_number) return &row;
    }
    return nullptr;
}

std::vector<CaseRow> CaseRows(const PlotResults& results, const ReportExtras* extras) {
    const DisplayUnits units = DisplayUnitsFor(results.units());
    std::vector<CaseRow> rows;
    const std::size_t count = std::max(results.cases.size(), results.summaries.size());
    for (std::size_t i = 0; i < count; ++i) {
        const CaseProfile* profile = i < results.cases.size() ? &results.cases[i] : nullptr;
        const CaseSummary* summary = i < results.summaries.size() ? &results.summaries[i] : nullptr;
        CaseRow row;
        row.case_number = profile != nullptr && profile->case_number > 0 ? profile->case_number : static_cast<int>(i) + 1;
        row.lrfd = profile != nullptr && profile->length_label == LengthStudyLabel::kLrfdCase;
        if (const HeadCondition* condition = FindHeadCondition(extras, row.case_number)) {
            row.conditions = HeadConditionText(*condition, units);
            row.loading_type = condition->loading_type;
        }
        const NodeResult* head = profile != nullptr && !profile->nodes.empty() ? &profile->nodes.front() : nullptr;
        if (summary != nullptr) {
            row.head_deflection = units.deflection(summary->head_deflection);
            row.head_slope = summary->head_rotation;
            row.max_moment = units.moment(summary->max_moment);
            row.max_shear = units.force(summary->max_shear);
        } else if (head != nullptr) {
            row.head_deflection = units.deflection(head->deflection);
        }
        if (profile != nullptr) {
            if (const auto moment = LargestMoment(*profile)) {
                if (!row.max_moment) row.max_moment = units.moment(moment->value);
                row.max_moment_depth = units.depth(moment->depth);
            }
            if (const auto shear = LargestShear(*profile)) {
                if (!row.max_shear) row.max_shear = units.force(shear->value);
                row.max_shear_depth = units.depth(shear->depth);
            }
        }
        rows.push_back(row);
    }
    return rows;
}

}  // namespace trevasc::host
