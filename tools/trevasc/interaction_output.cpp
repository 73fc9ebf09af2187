// Interaction diagrams in the JSON results and the charts.
#include "interaction_output.hpp"

#include <cmath>
#include <string>

#include "display_units.hpp"
#include "results_json.hpp"
#include "trevasc/units.hpp"

namespace trevasc::host {
namespace {

using Json = nlohmann::ordered_json;

Json Number(double value) {
    if (!std::isfinite(value)) return nullptr;
    return value;
}

}  // namespace

std::string DesignCodeName(int code) {
    switch (code) {
        case 1:
            return "AASHTO LRFD 9th edition";
        case 2:
            return "ACI 318-19";
        case 3:
            return "EN 1992-1-1:2004";
        default:
            return "unknown";
    }
}

namespace {

std::string ResultName(int result) {
    if (result == 1) return "pass";
    if (result == 0) return "fail";
    return "not checked";
}

std::string Axis(const std::string& quantity, const std::string& unit) {
    return unit.empty() ? quantity : quantity + " (" + unit + ")";
}

// The interaction records hold section units (kips and in-kip for US
// customary runs, as the report's section tables); this factor takes them to
// the consistent units of the rest of the plot file (pounds, in-lb).
double SectionToConsistent(UnitSystemCode units) { return units == UnitSystemCode::kUscs ? kPoundsPerKip : 1.0; }

// Line styles of the chart palette: blue, vermilion, green, black.
constexpr int kNominalStyle = 1;
constexpr int kFailStyle = 2;
constexpr int kPassStyle = 3;
constexpr int kFactoredStyle = 4;
constexpr int kBalancedStyle = 7;

}  // namespace

void AddInteractionResults(nlohmann::ordered_json& document, const PlotResults& results) {
    if (results.interaction.empty() && results.interaction_checks.empty()) return;
    // The file holds section units (kips for USCS); the document consistent ones.
    const double scale = SectionToConsistent(results.units());
    Json& sections = document["sections"];
    if (!sections.is_array()) sections = Json::array();
    for (Json& section : sections) section["interaction"] = nullptr;
    for (const InteractionDiagramRecord& diagram : results.interaction) {
        Json* target = nullptr;
        for (Json& section : sections) {
            if (section["section"] == diagram.section) target = &section;
        }
        if (target == nullptr) {
            Json section;
            section["section"] = diagram.section;
            section["curves"] = Json::array();
            sections.push_back(section);
            target = &sections.back();
        }
        Json item;
        item["design_code"] = DesignCodeName(diagram.design_code);
        item["transverse_reinforcement"] = diagram.transverse == 2 ? "spiral" : "tied";
        item["balanced_point"] = diagram.balanced_point;
        Json pn = Json::array(), mn = Json::array(), pd = Json::array(), md = Json::array(), phi = Json::array();
        for (const InteractionPointRecord& point : diagram.points) {
            pn.push_back(Number(point.Pn * scale));
            mn.push_back(Number(point.Mn * scale));
            pd.push_back(Number(point.Pd * scale));
            md.push_back(Number(point.Md * scale));
            phi.push_back(Number(point.phi));
        }
        item["nominal"] = Json{{"axial_force", pn}, {"moment", mn}};
        item["factored"] = Json{{"axial_force", pd}, {"moment", md}};
        item["phi"] = phi;
        (*target)["interaction"] = item;
    }
    Json checks = Json::array();
    for (const InteractionCheckRecord& check : results.interaction_checks) {
        Json item;
        item["load_case"] = check.load_case;
        item["section"] = check.section;
        item["axial_thrust"] = Number(check.axial_thrust * scale);
        item["moment"] = Number(check.moment * scale);
        item["capacity_ratio"] = check.ratio ? Number(*check.ratio) : Json(nullptr);
        item["capacity_axial_force"] = Number(check.capacity_axial * scale);
        item["capacity_moment"] = Number(check.capacity_moment * scale);
        item["result"] = ResultName(check.result);
        checks.push_back(item);
    }
    document["interaction_checks"] = checks;
}

void AddInteractionCharts(const PlotResults& results, std::vector<Chart>& charts) {
    const DisplayUnits units = DisplayUnitsFor(results.units());
    const double scale = SectionToConsistent(results.units());
    auto force = [&](double value) { return units.force(value * scale); };
    auto moment = [&](double value) { return units.moment(value * scale); };
    for (const InteractionDiagramRecord& diagram : results.interaction) {
        Chart chart;
        const std::string section = std::to_string(diagram.section);
        chart.name = "interaction-section-" + section;
        chart.title = "Interaction diagram, section " + section + " (" + DesignCodeName(diagram.design_code) + ")";
        chart.caption = "Axial force against bending moment of section " + section +
                        ": the nominal and factored diagrams, the balanced point, and each load case's "
                        "axial thrust with the largest moment in the section (passing and failing).";
        chart.width = kSingleWidth;
        chart.height = kSingleHeight;
        ChartPanel panel;
        panel.x_label = Axis("Bending moment", units.moment.unit);
        panel.y_label = Axis("Axial force, compression positive", units.force.unit);
        ChartSeries nominal, factored, balanced, pass, fail;
        nominal.title = "Nominal";
        nominal.style = kNominalStyle;
        factored.title = "Factored";
        factored.style = kFactoredStyle;
        balanced.title = "Balanced point";
        balanced.markers_only = true;
        balanced.style = kBalancedStyle;
        pass.title = "Load cases: PASS";
        pass.markers_only = true;
        pass.style = kPassStyle;
        fail.title = "Load cases: FAIL";
        fail.markers_only = true;
        fail.style = kFailStyle;
        for (std::size_t k = 0; k < diagram.points.size(); ++k) {
            const InteractionPointRecord& p = diagram.points[k];
            nominal.points.push_back({moment(p.Mn), force(p.Pn)});
            factored.points.push_back({moment(p.Md), force(p.Pd)});
            if (static_cast<int>(k) + 1 == diagram.balanced_point) balanced.points.push_back({moment(p.Mn), force(p.Pn)});
        }
        for (const InteractionCheckRecord& check : results.interaction_checks) {
            if (check.section != diagram.section || check.result < 0) continue;
            ChartSeries& target = check.result == 1 ? pass : fail;
            target.points.push_back({moment(std::fabs(check.moment)), force(check.axial_thrust)});
            target.labels.push_back(check.load_case);
        }
        panel.series.push_back(nominal);
        panel.series.push_back(factored);
        panel.series.push_back(balanced);
        if (!pass.points.empty()) panel.series.push_back(pass);
        if (!fail.points.empty()) panel.series.push_back(fail);
        chart.panels.push_back(std::move(panel));
        charts.push_back(std::move(chart));
    }
}

}  // namespace trevasc::host
