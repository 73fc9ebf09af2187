#include "results_json.hpp"

#include "interaction_output.hpp"

#include <array>
#include <charconv>
#include <cmath>
#include <fstream>
#include <stdexcept>

#include "trevasc/run.hpp"

namespace trevasc::host {

namespace {

using Json = nlohmann::ordered_json;

// NaN and infinities have no JSON form: they are written as null.
Json Number(double value) {
    if (!std::isfinite(value)) return nullptr;
    return value;
}

// A value of the file (seven significant digits) taken from kips to pounds:
// the product is rounded back to seven digits, so that 317.8459 kip-in
// becomes 317845.9 in-lb rather than 317845.89999999997.
double Scaled(double value, double scale) {
    if (scale == 1.0 || !std::isfinite(value)) return value;
    constexpr int kSignificantDigits = 7;
    std::array<char, 40> text{};
    const double product = value * scale;
    const auto written = std::to_chars(text.data(), text.data() + text.size(), product, std::chars_format::scientific,
                                       kSignificantDigits - 1);
    double rounded = product;
    std::from_chars(text.data(), written.ptr, rounded);
    return rounded;
}

Json Column(const std::vector<NodeResult>& nodes, double NodeResult::*member) {
    Json column = Json::array();
    for (const NodeResult& node : nodes) column.push_back(Number(node.*member));
    return column;
}

const char* ThrustSourceName(ThrustListSource source) {
    switch (source) {
        case ThrustListSource::kEiOnly: return "input thrusts (EI-only run)";
        case ThrustListSource::kLrfd: return "LRFD load combinations";
        case ThrustListSource::kLoadCases: return "pile-head load cases";
        case ThrustListSource::kElasticSection: return "elastic section";
        case ThrustListSource::kElasticPlasticSection: return "elastic-plastic section";
    }
    return "";
}

const char* CurveSourceName(SectionCurveSource source) {
    switch (source) {
        case SectionCurveSource::kMomentCurvature: return "moment-curvature";
        case SectionCurveSource::kElastic: return "elastic";
        case SectionCurveSource::kElasticPlastic: return "elastic-plastic";
    }
    return "";
}

std::optional<ExtremeAtDepth> Largest(const CaseProfile& profile, double NodeResult::*member) {
    if (profile.nodes.empty()) return std::nullopt;
    ExtremeAtDepth extreme{profile.nodes.front().*member, profile.nodes.front().depth};
    for (const NodeResult& node : profile.nodes) {
        // The first node of the largest magnitude keeps it, as in the engine's
        // running maxima.
        if (std::fabs(node.*member) > std::fabs(extreme.value)) extreme = {node.*member, node.depth};
    }
    return extreme;
}

Json Units(const UnitTexts& texts) {
    Json units;
    units["system"] = texts.system;
    units["length"] = texts.length;
    units["force"] = texts.force;
    units["moment"] = texts.moment;
    units["bending_stiffness"] = texts.bending_stiffness;
    units["soil_reaction"] = texts.soil_reaction;
    units["slope"] = "rad";
    units["curvature"] = texts.curvature;
    units["K22"] = texts.K22;
    units["K23"] = texts.K23;
    units["K32"] = texts.K32;
    units["K33"] = texts.K33;
    return units;
}

Json LoadCase(const PlotResults& results, std::size_t index, const ReportExtras* extras) {
    const int number = static_cast<int>(index) + 1;
    const CaseProfile* profile = index < results.cases.size() ? &results.cases[index] : nullptr;
    const CaseSummary* summary = index < results.summaries.size() ? &results.summaries[index] : nullptr;
    Json item;
    item["case"] = number;
    item["lrfd_combination"] =
        profile != nullptr && profile->has_line11 ? Json(profile->length_label == LengthStudyLabel::kLrfdCase)
                                                  : Json(nullptr);

    Json conditions = nullptr;
    if (extras != nullptr) {
        for (const HeadCondition& row : extras->head_conditions) {
            if (row.case_number != number) continue;
            conditions = Json::object();
            conditions["loading_type"] = row.loading_type;
            conditions["description"] = LoadingTypeDescription(row.loading_type);
            conditions["condition_1"] = Number(row.condition1);
            conditions["condition_2"] = Number(row.condition2);
            conditions["axial_thrust"] = Number(row.axial_thrust);
        }
    }
    item["head_conditions"] = conditions;

    const NodeResult* head = profile != nullptr && !profile->nodes.empty() ? &profile->nodes.front() : nullptr;
    Json head_response;
    head_response["deflection"] =
        summary != nullptr ? Number(summary->head_deflection) : head != nullptr ? Number(head->deflection) : nullptr;
    head_response["slope"] = summary != nullptr ? Number(summary->head_rotation) : Json(nullptr);
    head_response["shear"] =
        summary != nullptr ? Number(summary->head_shear) : head != nullptr ? Number(head->shear) : nullptr;
    head_response["moment"] = head != nullptr ? Number(head->moment) : Json(nullptr);
    item["head"] = head_response;

    auto extreme = [&](std::optional<ExtremeAtDepth> from_nodes, std::optional<double> from_summary) {
        Json value;
        value["value"] = from_summary ? Number(*from_summary) : from_nodes ? Number(from_nodes->value) : nullptr;
        value["depth"] = from_nodes ? Number(from_nodes->depth) : Json(nullptr);
        return value;
    };
    const auto moment = profile != nullptr ? LargestMoment(*profile) : std::nullopt;
    const auto shear = profile != nullptr ? LargestShear(*profile) : std::nullopt;
    item["max_moment"] = extreme(moment, summary ? std::optional(summary->max_moment) : std::nullopt);
    item["max_shear"] = extreme(shear, summary ? std::optional(summary->max_shear) : std::nullopt);

    Json nodes;
    const std::vector<NodeResult> none;
    const std::vector<NodeResult>& list = profile != nullptr ? profile->nodes : none;
    nodes["depth"] = Column(list, &NodeResult::depth);
    nodes["deflection"] = Column(list, &NodeResult::deflection);
    nodes["moment"] = Column(list, &NodeResult::moment);
    nodes["shear"] = Column(list, &NodeResult::shear);
    nodes["soil_reaction"] = Column(list, &NodeResult::soil_reaction);
    nodes["bending_stiffness"] = Column(list, &NodeResult::bending_stiffness);
    item["nodes"] = nodes;

    Json study = Json::array();
    if (profile != nullptr) {
        for (const LengthStudyPoint& point : profile->length_study) {
            Json entry;
            entry["pile_length"] = Number(point.pile_length);
            entry["head_deflection"] = Number(point.head_deflection);
            entry["max_moment"] = Number(point.max_moment);
            entry["max_shear"] = Number(point.max_shear);
            study.push_back(entry);
        }
    }
    item["length_study"] = study;
    return item;
}

Json Sections(const PlotResults& results) {
    Json sections = Json::array();
    const UnitSystemCode units = results.units();
    const double thrust_scale = ThrustScaleToConsistentUnits(units);
    for (const SectionCurve& curve : results.section_curves) {
        if (sections.empty() || sections.back()["section"] != curve.section) {
            Json section;
            section["section"] = curve.section;
            section["curves"] = Json::array();
            sections.push_back(section);
        }
        const double scale = MomentScaleToConsistentUnits(units, curve);
        Json item;
        item["thrust_index"] = curve.thrust_index;
        item["axial_thrust"] = Number(Scaled(curve.axial_thrust, thrust_scale));
        // An elastic section has no moment capacity: the value the file
        // carries for it is not one.
        item["nominal_moment_capacity"] =
            curve.source == SectionCurveSource::kElastic ? Json(nullptr) : Number(curve.nominal_moment_capacity);
        item["source"] = CurveSourceName(curve.source);
        Json moment = Json::array();
        Json stiffness = Json::array();
        Json curvature = Json::array();
        for (const MomentCurvaturePoint& point : curve.points) {
            moment.push_back(Number(Scaled(point.moment, scale)));
            stiffness.push_back(Number(Scaled(point.bending_stiffness, scale)));
            curvature.push_back(Number(point.curvature));
        }
        Json points;
        points["moment"] = moment;
        points["bending_stiffness"] = stiffness;
        points["curvature"] = curvature;
        item["points"] = points;
        sections.back()["curves"].push_back(item);
    }
    return sections;
}

Json PyCurves(const PlotResults& results) {
    Json curves = Json::array();
    for (const PyCurve& curve : results.py_curves) {
        Json item;
        item["curve"] = curve.curve_number > 0 ? Json(curve.curve_number) : Json(nullptr);
        item["depth"] = Number(curve.depth);
        item["soil_model"] = curve.soil_model.empty() ? Json(nullptr) : Json(curve.soil_model);
        item["soil"] = curve.soil_text.empty() ? Json(nullptr) : Json(curve.soil_text);
        item["loading"] = curve.loading.empty() ? Json(nullptr) : Json(curve.loading);
        item["above_ground"] = curve.above_ground;
        Json y = Json::array();
        Json p = Json::array();
        for (const PyPoint& point : curve.points) {
            y.push_back(Number(point.y));
            p.push_back(Number(point.p));
        }
        Json points;
        points["y"] = y;
        points["p"] = p;
        item["points"] = points;
        curves.push_back(item);
    }
    return curves;
}

Json Stiffness(const PlotResults& results) {
    Json trials = Json::array();
    for (const StiffnessTrial& trial : results.stiffness) {
        Json item;
        item["shear"] = Number(trial.shear);
        item["moment"] = Number(trial.moment);
        item["K22"] = Number(trial.K22);
        item["K23"] = Number(trial.K23);
        item["K32"] = Number(trial.K32);
        item["K33"] = Number(trial.K33);
        item["head_deflection"] = Number(trial.head_deflection);
        item["head_rotation"] = Number(trial.head_rotation);
        trials.push_back(item);
    }
    return trials;
}

}  // namespace

UnitTexts UnitTextsFor(UnitSystemCode units) {
    switch (units) {
        case UnitSystemCode::kUscs:
            return {"USCS", "in", "lb", "in-lb", "lb-in^2", "lb/in", "rad/in", "lb/in", "lb/rad", "in-lb/in",
                    "in-lb/rad"};
        case UnitSystemCode::kSi:
            return {"SI", "m", "kN", "kN-m", "kN-m^2", "kN/m", "rad/m", "kN/m", "kN/rad", "kN-m/m", "kN-m/rad"};
        case UnitSystemCode::kGeneral:
            break;
    }
    return {"GENERAL", "L", "F", "F-L", "F-L^2", "F/L", "rad/L", "F/L", "F/rad", "F-L/L", "F-L/rad"};
}

std::optional<ExtremeAtDepth> LargestMoment(const CaseProfile& profile) {
    return Largest(profile, &NodeResult::moment);
}

std::optional<ExtremeAtDepth> LargestShear(const CaseProfile& profile) {
    return Largest(profile, &NodeResult::shear);
}

nlohmann::ordered_json BuildResultsJson(const PlotResults& results, const ReportExtras* extras,
                                        const ResultSources& sources) {
    Json document;
    document["format"] = "trevasc-results";
    document["format_version"] = kResultsFormatVersion;
    document["plot_file"] = sources.plot_file;
    document["report_file"] = sources.report_file.empty() ? Json(nullptr) : Json(sources.report_file);
    Json title = nullptr;
    if (extras != nullptr && !extras->title_lines.empty()) {
        std::string joined;
        for (const std::string& line : extras->title_lines) joined += (joined.empty() ? "" : "\n") + line;
        title = joined;
    }
    document["title"] = title;
    const std::optional<int> code =
        sources.result_code ? sources.result_code : extras != nullptr ? ResultCodeFromReport(*extras) : std::nullopt;
    document["result_code"] = code ? Json(*code) : Json(nullptr);
    document["result_meaning"] = code ? Json(trevasc::ResultCodeMeaning(*code)) : Json(nullptr);
    Json warnings = Json::array();
    if (extras != nullptr) {
        for (const ReportWarning& warning : extras->warnings) {
            Json item;
            item["id"] = warning.id ? Json(*warning.id) : Json(nullptr);
            item["text"] = warning.text.empty() ? Json(nullptr) : Json(warning.text);
            item["count"] = warning.count;
            warnings.push_back(item);
        }
    }
    document["warnings"] = warnings;
    document["complete"] = results.complete;
    document["incomplete_reason"] = results.complete ? Json(nullptr) : Json(results.incomplete_reason);
    document["analysis_mode"] = results.header.ICOM;
    document["length_study_indicator"] = results.header.KYL;
    document["stiffness_matrix_requested"] = results.header.KXX == 1;
    document["number_of_sections"] = results.number_of_sections ? Json(*results.number_of_sections) : Json(nullptr);
    document["units"] = Units(UnitTextsFor(results.units()));
    document["ground_surface_depth"] =
        extras != nullptr && extras->ground_surface_depth ? Number(*extras->ground_surface_depth) : Json(nullptr);
    document["pile_length"] = extras != nullptr && extras->pile_length ? Number(*extras->pile_length) : Json(nullptr);
    Json layers = Json::array();
    if (extras != nullptr) {
        for (const SoilLayerBand& layer : extras->layers) {
            Json item;
            item["layer"] = layer.layer;
            item["model"] = layer.model;
            item["description"] = layer.description;
            item["top"] = Number(layer.top);
            item["bottom"] = Number(layer.bottom);
            layers.push_back(item);
        }
    }
    document["soil_layers"] = layers;

    Json cases = Json::array();
    const std::size_t count = std::max(results.cases.size(), results.summaries.size());
    for (std::size_t i = 0; i < count; ++i) cases.push_back(LoadCase(results, i, extras));
    document["load_cases"] = cases;

    document["thrust_levels_from"] = results.thrust_count ? Json(ThrustSourceName(results.thrust_source)) : Json(nullptr);
    document["sections"] = Sections(results);
    document["py_curves"] = PyCurves(results);
    document["pile_head_stiffness"] = Stiffness(results);
    AddInteractionResults(document, results);
    return document;
}

void WriteResultsJson(const std::filesystem::path& path, const nlohmann::ordered_json& document) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot create " + path.string());
    out << document.dump(2) << '\n';
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace trevasc::host
