#include "results_csv.hpp"

#include <array>
#include <charconv>
#include <cmath>
#include <fstream>
#include <stdexcept>

#include "display_units.hpp"
#include "interaction_output.hpp"
#include "results_json.hpp"
#include "trevasc/units.hpp"

namespace trevasc::host {

namespace fs = std::filesystem;

namespace {

// The plot file holds seven significant digits; a shown value keeps them.
constexpr int kSignificantDigits = 7;

std::string Value(double value) {
    if (!std::isfinite(value)) return "";
    std::array<char, 40> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                         std::chars_format::general, kSignificantDigits);
    if (ec != std::errc()) return "";
    return std::string(buffer.data(), end);
}

std::string Value(const std::optional<double>& value) { return value ? Value(*value) : std::string(); }

std::string Field(const std::string& field) {
    if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
    std::string quoted = "\"";
    for (char c : field) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string Unit(const std::string& name, const std::string& unit) { return name + " (" + unit + ")"; }

const char* SourceName(SectionCurveSource source) {
    switch (source) {
        case SectionCurveSource::kMomentCurvature: return "moment-curvature";
        case SectionCurveSource::kElastic: return "elastic";
        case SectionCurveSource::kElasticPlastic: return "elastic-plastic";
    }
    return "";
}

}  // namespace

std::vector<CsvTable> BuildCsvTables(const PlotResults& results, const ReportExtras* extras) {
    const DisplayUnits u = DisplayUnitsFor(results.units());
    std::vector<CsvTable> tables;

    CsvTable nodes{"nodes.csv",
                   {"case", "node", Unit("depth", u.depth.unit), Unit("deflection", u.deflection.unit),
                    Unit("moment", u.moment.unit), Unit("shear", u.force.unit),
                    Unit("soil_reaction", u.soil_reaction.unit), Unit("bending_stiffness", u.bending_stiffness.unit)},
                   {}};
    for (std::size_t c = 0; c < results.cases.size(); ++c) {
        const CaseProfile& profile = results.cases[c];
        for (std::size_t n = 0; n < profile.nodes.size(); ++n) {
            const NodeResult& node = profile.nodes[n];
            nodes.rows.push_back({std::to_string(profile.case_number), std::to_string(n + 1), Value(u.depth(node.depth)),
                                  Value(u.deflection(node.deflection)), Value(u.moment(node.moment)),
                                  Value(u.force(node.shear)), Value(u.soil_reaction(node.soil_reaction)),
                                  Value(u.bending_stiffness(node.bending_stiffness))});
        }
    }
    tables.push_back(std::move(nodes));

    CsvTable summary{"summary.csv",
                     {"case", "lrfd", "loading_type", "head_conditions", Unit("head_shear", u.force.unit),
                      Unit("head_deflection", u.deflection.unit), "head_slope (rad)", Unit("max_moment", u.moment.unit),
                      Unit("max_moment_depth", u.depth.unit), Unit("max_shear", u.force.unit),
                      Unit("max_shear_depth", u.depth.unit)},
                     {}};
    const std::vector<CaseRow> rows = CaseRows(results, extras);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const CaseRow& row = rows[i];
        const std::optional<double> head_shear =
            i < results.summaries.size() ? std::optional(u.force(results.summaries[i].head_shear)) : std::nullopt;
        summary.rows.push_back({std::to_string(row.case_number), row.lrfd ? "yes" : "no",
                                row.loading_type > 0 ? std::to_string(row.loading_type) : "", row.conditions,
                                Value(head_shear), Value(row.head_deflection), Value(row.head_slope),
                                Value(row.max_moment), Value(row.max_moment_depth), Value(row.max_shear),
                                Value(row.max_shear_depth)});
    }
    tables.push_back(std::move(summary));

    CsvTable py{"py_curves.csv",
                {"curve", Unit("depth", u.depth.unit), "soil_model", "soil", "loading", "point",
                 Unit("y", u.deflection.unit), Unit("p", u.soil_reaction.unit)},
                {}};
    for (const PyCurve& curve : results.py_curves) {
        for (std::size_t i = 0; i < curve.points.size(); ++i) {
            py.rows.push_back({std::to_string(curve.curve_number), Value(u.depth(curve.depth)), curve.soil_model,
                               curve.soil_text, curve.loading, std::to_string(i + 1),
                               Value(u.deflection(curve.points[i].y)), Value(u.soil_reaction(curve.points[i].p))});
        }
    }
    tables.push_back(std::move(py));

    CsvTable sections{"sections.csv",
                      {"section", "thrust_index", Unit("axial_thrust", u.force.unit), "source",
                       Unit("nominal_moment_capacity", u.moment.unit), "point", Unit("curvature", u.curvature.unit),
                       Unit("moment", u.moment.unit), Unit("bending_stiffness", u.bending_stiffness.unit)},
                      {}};
    const UnitSystemCode system = results.units();
    for (const SectionCurve& curve : results.section_curves) {
        const double scale = MomentScaleToConsistentUnits(system, curve);
        const std::string thrust = Value(u.force(curve.axial_thrust * ThrustScaleToConsistentUnits(system)));
        // An elastic section has no moment capacity.
        const std::string capacity =
            curve.source == SectionCurveSource::kElastic ? "" : Value(u.moment(curve.nominal_moment_capacity));
        for (std::size_t i = 0; i < curve.points.size(); ++i) {
            const MomentCurvaturePoint& point = curve.points[i];
            sections.rows.push_back({std::to_string(curve.section), std::to_string(curve.thrust_index), thrust,
                                     SourceName(curve.source), capacity, std::to_string(i + 1),
                                     Value(u.curvature(point.curvature)), Value(u.moment(point.moment * scale)),
                                     Value(u.bending_stiffness(point.bending_stiffness * scale))});
        }
    }
    tables.push_back(std::move(sections));

    CsvTable stiffness{"stiffness.csv",
                       {"trial", Unit("shear", u.force.unit), Unit("moment", u.moment.unit),
                        Unit("head_deflection", u.deflection.unit), "head_rotation (rad)",
                        Unit("K22", u.lateral_stiffness.unit), Unit("K23", u.K23.unit), Unit("K32", u.K32.unit),
                        Unit("K33", u.K33.unit)},
                       {}};
    for (std::size_t i = 0; i < results.stiffness.size(); ++i) {
        const StiffnessTrial& trial = results.stiffness[i];
        stiffness.rows.push_back({std::to_string(i + 1), Value(u.force(trial.shear)), Value(u.moment(trial.moment)),
                                  Value(u.deflection(trial.head_deflection)), Value(trial.head_rotation),
                                  Value(u.lateral_stiffness(trial.K22)), Value(u.K23(trial.K23)),
                                  Value(u.K32(trial.K32)), Value(u.K33(trial.K33))});
    }
    tables.push_back(std::move(stiffness));

    CsvTable study{"length_study.csv",
                   {"case", Unit("pile_length", u.depth.unit), Unit("head_deflection", u.deflection.unit),
                    Unit("max_moment", u.moment.unit), Unit("max_shear", u.force.unit)},
                   {}};
    for (const CaseProfile& profile : results.cases) {
        for (const LengthStudyPoint& point : profile.length_study) {
            study.rows.push_back({std::to_string(profile.case_number), Value(u.depth(point.pile_length)),
                                  Value(u.deflection(point.head_deflection)), Value(u.moment(point.max_moment)),
                                  Value(u.force(point.max_shear))});
        }
    }
    tables.push_back(std::move(study));

    // Runs with interaction diagrams add their diagrams and the check of
    // every load case. The records hold section units (kips for US customary
    // runs); the tables show the chart units like the rest.
    if (!results.interaction.empty() || !results.interaction_checks.empty()) {
        const double section_scale = system == UnitSystemCode::kUscs ? kPoundsPerKip : 1.0;
        auto force = [&](double value) { return Value(u.force(value * section_scale)); };
        auto moment = [&](double value) { return Value(u.moment(value * section_scale)); };
        CsvTable diagrams{"interaction.csv",
                          {"section", "design_code", "point", "balanced", Unit("nominal_axial_force", u.force.unit),
                           Unit("nominal_moment", u.moment.unit), "phi", Unit("factored_axial_force", u.force.unit),
                           Unit("factored_moment", u.moment.unit)},
                          {}};
        for (const InteractionDiagramRecord& diagram : results.interaction) {
            for (std::size_t i = 0; i < diagram.points.size(); ++i) {
                const InteractionPointRecord& p = diagram.points[i];
                diagrams.rows.push_back({std::to_string(diagram.section), DesignCodeName(diagram.design_code),
                                         std::to_string(i + 1),
                                         static_cast<int>(i) + 1 == diagram.balanced_point ? "yes" : "",
                                         force(p.Pn), moment(p.Mn), Value(p.phi), force(p.Pd), moment(p.Md)});
            }
        }
        tables.push_back(std::move(diagrams));
        CsvTable checks{"interaction_checks.csv",
                        {"case", "section", Unit("axial_thrust", u.force.unit), Unit("moment", u.moment.unit),
                         "capacity_ratio", Unit("capacity_axial_force", u.force.unit),
                         Unit("capacity_moment", u.moment.unit), "result"},
                        {}};
        for (const InteractionCheckRecord& check : results.interaction_checks) {
            checks.rows.push_back({std::to_string(check.load_case), std::to_string(check.section),
                                   force(check.axial_thrust), moment(check.moment), Value(check.ratio),
                                   force(check.capacity_axial), moment(check.capacity_moment),
                                   check.result == 1 ? "PASS" : check.result == 0 ? "FAIL" : "not checked"});
        }
        tables.push_back(std::move(checks));
    }
    return tables;
}

std::string CsvText(const CsvTable& table) {
    std::string text;
    auto line = [&](const std::vector<std::string>& fields) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i > 0) text += ',';
            text += Field(fields[i]);
        }
        text += "\r\n";
    };
    line(table.heading);
    for (const auto& row : table.rows) line(row);
    return text;
}

std::vector<fs::path> WriteCsvTables(const std::vector<CsvTable>& tables, const fs::path& dir) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (!fs::is_directory(dir, ec)) throw std::runtime_error("cannot create the folder " + dir.string());
    std::vector<fs::path> written;
    for (const CsvTable& table : tables) {
        const fs::path path = dir / table.file_name;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << CsvText(table);
        out.close();
        if (!out) throw std::runtime_error("cannot write " + path.string());
        written.push_back(path);
    }
    return written;
}

}  // namespace trevasc::host
