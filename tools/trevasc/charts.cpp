#include "charts.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

#include "external_program.hpp"
#include "interaction_output.hpp"
#include "results_json.hpp"
#include "trevasc/run.hpp"

namespace trevasc::host {

namespace fs = std::filesystem;

namespace {

// Nominal picture sizes (SVG pixels). The fonts are chosen so that a single
// chart placed 8 cm wide shows its text at about 7 pt.
constexpr int kFontSize = 15;
constexpr int kResponseWidth = 1100;
constexpr int kResponseHeight = 760;
constexpr int kPyWidth = 1040;
constexpr int kPyHeight = 520;
// PNG pictures are drawn at twice the nominal size, PDF at 100 px per inch.
constexpr int kPngScale = 2;
constexpr double kPixelsPerInch = 100.0;
// The line styles: the Okabe-Ito palette, which colour-blind readers tell
// apart, each colour with a dash pattern and point shape of its own.
struct LineStyle {
    const char* colour;
    const char* dashes;
    int point;
};
constexpr std::array<LineStyle, 7> kStyles = {{
    {"#0072B2", "solid", 7},
    {"#D55E00", "(10,6)", 5},
    {"#009E73", "(2,4)", 9},
    {"#CC79A7", "(12,5,3,5)", 11},
    {"#E69F00", "(6,3,2,3,2,3)", 13},
    {"#56B4E9", "(16,6)", 4},
    {"#000000", "(4,3)", 6},
}};
// Padding of data ranges on each side, as a share of the range.
constexpr double kPadding = 0.08;
// The working part of a p-y curve: this many times the largest deflection
// reached at the curve's depths.
constexpr double kPyWorkingMultiple = 4.0;

std::string NumberText(double value) {
    if (!std::isfinite(value)) return "NaN";
    std::array<char, 32> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    if (ec != std::errc()) return "NaN";
    return std::string(buffer.data(), end);
}

// gnuplot double-quoted string: backslash and quote escaped, a line break
// kept as the escape gnuplot turns back into a line break.
std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') {
            quoted += '\\';
            quoted += c;
        } else if (c == '\n') {
            quoted += "\\n";
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::string Html(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        switch (c) {
            case '&': escaped += "&amp;"; break;
            case '<': escaped += "&lt;"; break;
            case '>': escaped += "&gt;"; break;
            case '"': escaped += "&quot;"; break;
            default: escaped += c;
        }
    }
    return escaped;
}

// A relative path as a URL path: every byte outside the unreserved set and
// "/" percent-encoded.
std::string Href(const fs::path& path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string href;
    for (unsigned char c : path.generic_string()) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                           c == '.' || c == '_' || c == '~' || c == '/';
        if (plain) {
            href += static_cast<char>(c);
        } else {
            href += '%';
            href += kHex[c >> 4];
            href += kHex[c & 0x0f];
        }
    }
    return href;
}

std::string Axis(const std::string& quantity, const std::string& unit) { return quantity + " (" + unit + ")"; }

std::string Plural(std::size_t count, const std::string& one, const std::string& many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// What every chart builder needs.
struct Context {
    const PlotResults& results;
    const ReportExtras* extras;
    DisplayUnits units;
    std::vector<const CaseProfile*> cases;  // with nodes
    double tip = 0.0;                       // shown depth of the deepest node
    std::optional<double> ground;           // shown
    std::vector<SoilBand> bands;            // shown, clipped to the pile
};

Context MakeContext(const PlotResults& results, const ReportExtras* extras) {
    Context context{results, extras, DisplayUnitsFor(results.units()), {}, 0.0, std::nullopt, {}};
    for (const CaseProfile& profile : results.cases) {
        if (profile.nodes.empty()) continue;
        context.cases.push_back(&profile);
        for (const NodeResult& node : profile.nodes) {
            if (std::isfinite(node.depth)) context.tip = std::max(context.tip, context.units.depth(node.depth));
        }
    }
    if (extras == nullptr) return context;
    if (extras->ground_surface_depth) context.ground = context.units.depth(*extras->ground_surface_depth);
    if (context.tip <= 0.0 && extras->pile_length) context.tip = context.units.depth(*extras->pile_length);
    for (const SoilLayerBand& layer : extras->layers) {
        const double top = std::max(0.0, context.units.depth(layer.top));
        const double bottom = std::min(context.tip, context.units.depth(layer.bottom));
        if (bottom > top) context.bands.push_back({top, bottom, layer.model});
    }
    return context;
}

Chart DepthChart(const Context& context) {
    Chart chart;
    chart.depth_axis = true;
    chart.tip_depth = context.tip;
    chart.ground_surface_depth = context.ground;
    chart.bands = context.bands;
    chart.depth_label = Axis("Depth below pile head", context.units.depth.unit);
    chart.width = kSingleWidth;
    chart.height = kSingleHeight;
    return chart;
}

std::string CaseLegendOf(const Context& context, const CaseProfile& profile) {
    return CaseLegend(profile.case_number, profile.length_label == LengthStudyLabel::kLrfdCase,
                      FindHeadCondition(context.extras, profile.case_number), context.units);
}

std::string DepthSuffix(const Context& context) {
    std::string suffix = "; depth below the pile head, down to the pile tip at " + Compact(context.tip) + " " +
                         context.units.depth.unit;
    if (!context.bands.empty()) suffix += ", the soil layers shaded and named";
    if (context.ground && *context.ground > 0.0) suffix += ", the ground surface dashed";
    return suffix + ".";
}

// A nodal quantity against depth, every load case a curve.
struct Quantity {
    const char* name;
    const char* title;
    const char* axis;
    ShownQuantity shown;
    double NodeResult::*member;
};

ChartPanel QuantityPanel(const Context& context, const Quantity& quantity, bool annotate) {
    ChartPanel panel;
    panel.x_label = Axis(quantity.axis, quantity.shown.unit);
    panel.y_label = Axis("Depth below pile head", context.units.depth.unit);
    int style = 0;
    for (const CaseProfile* profile : context.cases) {
        ++style;
        ChartSeries series;
        series.title = CaseLegendOf(context, *profile);
        series.style = style;
        for (const NodeResult& node : profile->nodes) {
            series.points.push_back({quantity.shown(node.*quantity.member), context.units.depth(node.depth)});
        }
        panel.series.push_back(std::move(series));
        if (!annotate) continue;
        if (quantity.member == &NodeResult::deflection) {
            const NodeResult& head = profile->nodes.front();
            panel.notes.push_back({quantity.shown(head.deflection), context.units.depth(head.depth),
                                   "y = " + Compact(quantity.shown(head.deflection)) + " " + quantity.shown.unit,
                                   style});
        } else if (quantity.member == &NodeResult::moment) {
            if (const auto largest = LargestMoment(*profile)) {
                panel.notes.push_back({quantity.shown(largest->value), context.units.depth(largest->depth),
                                       "Mmax = " + Compact(quantity.shown(largest->value)) + " " +
                                           quantity.shown.unit + "\nat " + Compact(context.units.depth(largest->depth)) +
                                           " " + context.units.depth.unit,
                                       style});
            }
        }
    }
    panel.y_range = AxisRange{context.tip, 0.0};
    return panel;
}

std::array<Quantity, 5> Quantities(const DisplayUnits& units) {
    return {{
        {"deflection", "Lateral deflection", "Deflection", units.deflection, &NodeResult::deflection},
        {"bending-moment", "Bending moment", "Bending moment", units.moment, &NodeResult::moment},
        {"shear-force", "Shear force", "Shear force", units.force, &NodeResult::shear},
        {"soil-reaction", "Soil reaction", "Soil reaction p", units.soil_reaction, &NodeResult::soil_reaction},
        {"bending-stiffness", "Bending stiffness", "Bending stiffness EI", units.bending_stiffness,
         &NodeResult::bending_stiffness},
    }};
}

void AddResponseChart(const Context& context, std::vector<Chart>& charts) {
    if (context.cases.empty() || context.tip <= 0.0) return;
    Chart chart = DepthChart(context);
    chart.name = "response";
    chart.title = "Pile response";
    chart.soil_column = true;
    chart.width = kResponseWidth;
    chart.height = kResponseHeight;
    const auto quantities = Quantities(context.units);
    for (std::size_t q = 0; q < 4; ++q) {
        ChartPanel panel = QuantityPanel(context, quantities[q], true);
        panel.title = quantities[q].title;
        chart.panels.push_back(std::move(panel));
    }
    chart.caption = "Deflection, bending moment, shear force and soil reaction of " +
                    Plural(context.cases.size(), "load case", "load cases") +
                    " on one depth axis, the soil column at the left; the head deflection and the largest moment "
                    "of each case are marked" +
                    DepthSuffix(context);
    charts.push_back(std::move(chart));
}

void AddProfileCharts(const Context& context, std::vector<Chart>& charts) {
    if (context.cases.empty() || context.tip <= 0.0) return;
    for (const Quantity& quantity : Quantities(context.units)) {
        Chart chart = DepthChart(context);
        chart.name = quantity.name;
        chart.title = std::string(quantity.title) + " against depth";
        ChartPanel panel = QuantityPanel(context, quantity, true);
        if (quantity.member == &NodeResult::bending_stiffness) {
            // A constant or nearly constant EI is drawn from zero, where its
            // steps show at their true size rather than as a jagged line.
            panel.from_zero = true;
        }
        chart.panels.push_back(std::move(panel));
        std::string marked;
        if (quantity.member == &NodeResult::deflection) marked = "; the head deflection of each case is marked";
        if (quantity.member == &NodeResult::moment) marked = "; the largest moment of each case is marked with its depth";
        chart.caption = std::string(quantity.title) + " along the pile for " +
                        Plural(context.cases.size(), "load case", "load cases") + marked + DepthSuffix(context);
        charts.push_back(std::move(chart));
    }
}

// Linear interpolation in a table sorted by its first column; the end values
// outside it; nullopt for an empty table.
std::optional<double> Interpolate(const std::vector<std::array<double, 2>>& table, double x) {
    if (table.empty()) return std::nullopt;
    if (x <= table.front()[0]) return table.front()[1];
    for (std::size_t i = 1; i < table.size(); ++i) {
        if (x > table[i][0]) continue;
        const auto& a = table[i - 1];
        const auto& b = table[i];
        const double span = b[0] - a[0];
        return span > 0.0 ? a[1] + (x - a[0]) / span * (b[1] - a[1]) : b[1];
    }
    return table.back()[1];
}

void AddPyChart(const Context& context, std::vector<Chart>& charts) {
    const DisplayUnits& units = context.units;
    // The p-y curves are those of load case 1: the deflection each depth
    // reached there is marked on its curve.
    std::vector<std::array<double, 2>> deflection_by_depth;
    if (!context.cases.empty()) {
        for (const NodeResult& node : context.cases.front()->nodes) {
            deflection_by_depth.push_back({node.depth, std::fabs(node.deflection)});
        }
    }
    ChartPanel working;
    ChartPanel whole;
    working.title = "Working range";
    whole.title = "Whole curves";
    for (ChartPanel* panel : {&working, &whole}) {
        panel->x_label = Axis("Deflection y", units.deflection.unit);
        panel->y_label = Axis("Soil reaction p", units.soil_reaction.unit);
        panel->from_zero = true;
    }
    double largest_reached = 0.0;
    double largest_y = 0.0;
    int style = 0;
    for (const PyCurve& curve : context.results.py_curves) {
        if (curve.points.empty()) continue;
        ++style;
        ChartSeries series;
        series.title = Compact(units.depth(curve.depth)) + " " + units.depth.unit + ": " + curve.soil_text +
                       (curve.loading.empty() ? "" : ", " + curve.loading);
        series.style = style;
        std::vector<std::array<double, 2>> table;
        for (const PyPoint& point : curve.points) {
            series.points.push_back({units.deflection(point.y), units.soil_reaction(point.p)});
            table.push_back({units.deflection(point.y), units.soil_reaction(point.p)});
            largest_y = std::max(largest_y, std::fabs(units.deflection(point.y)));
        }
        whole.series.push_back(series);
        series.title.clear();
        working.series.push_back(std::move(series));
        if (const auto reached = Interpolate(deflection_by_depth, curve.depth)) {
            const double y = units.deflection(*reached);
            if (const auto p = Interpolate(table, y)) {
                largest_reached = std::max(largest_reached, y);
                working.notes.push_back({y, *p, "", style});
                whole.notes.push_back({y, *p, "", style});
            }
        }
    }
    if (whole.series.empty()) return;
    Chart chart;
    chart.name = "py-curves";
    chart.title = "p-y curves at the output depths";
    chart.width = kPyWidth;
    chart.height = kPyHeight;
    const bool zoom = largest_reached > 0.0 && kPyWorkingMultiple * largest_reached < largest_y;
    if (zoom) {
        // The working range gets the key of the curves' depths; the whole
        // curves are the second panel.
        const double limit = kPyWorkingMultiple * largest_reached;
        double p_high = 0.0;
        double p_low = 0.0;
        for (const ChartSeries& series : working.series) {
            for (const auto& point : series.points) {
                if (point[0] > limit) continue;
                p_high = std::max(p_high, point[1]);
                p_low = std::min(p_low, point[1]);
            }
        }
        working.x_range = AxisRange{0.0, limit};
        if (p_high > p_low) working.y_range = AxisRange{p_low, p_high + kPadding * (p_high - p_low)};
        for (std::size_t i = 0; i < working.series.size(); ++i) working.series[i].title = whole.series[i].title;
        for (ChartSeries& series : whole.series) series.title.clear();
        chart.panels = {working, whole};
    } else {
        whole.title.clear();
        chart.panels = {whole};
        chart.width = kSingleWidth;
        chart.height = kSingleHeight;
    }
    std::string caption = "Soil reaction against deflection at " +
                          Plural(whole.series.size(), "depth", "depths") +
                          " (p- and y-multipliers applied), as computed in load case 1";
    if (largest_reached > 0.0) caption += "; the circles mark the deflection each depth reached in load case 1";
    if (zoom) {
        caption += "; the left panel shows the curves up to " + Compact(kPyWorkingMultiple) +
                   " times the largest of these deflections, the right panel the whole curves";
    }
    chart.caption = caption + ".";
    charts.push_back(std::move(chart));
}

void AddSectionCharts(const Context& context, std::vector<Chart>& charts) {
    std::map<int, std::vector<const SectionCurve*>> by_section;
    for (const SectionCurve& curve : context.results.section_curves) {
        // An elastic section has a straight moment-curvature line, a constant
        // EI and no capacity: nothing a chart could add to its one EI value.
        if (curve.points.empty() || curve.source == SectionCurveSource::kElastic) continue;
        by_section[curve.section].push_back(&curve);
    }
    const UnitSystemCode system = context.results.units();
    const DisplayUnits& units = context.units;
    const double thrust_scale = ThrustScaleToConsistentUnits(system);
    for (const auto& [section, curves] : by_section) {
        Chart moment_curvature;
        moment_curvature.name = "moment-curvature-section-" + std::to_string(section);
        moment_curvature.title = "Moment-curvature, section " + std::to_string(section);
        moment_curvature.width = kSingleWidth;
        moment_curvature.height = kSingleHeight;
        Chart stiffness = moment_curvature;
        stiffness.name = "ei-moment-section-" + std::to_string(section);
        stiffness.title = "Bending stiffness against moment, section " + std::to_string(section);
        ChartPanel mc;
        mc.x_label = Axis("Curvature", units.curvature.unit);
        mc.y_label = Axis("Bending moment", units.moment.unit);
        mc.from_zero = true;
        ChartPanel ei;
        ei.x_label = Axis("Bending moment", units.moment.unit);
        ei.y_label = Axis("Bending stiffness EI", units.bending_stiffness.unit);
        ei.from_zero = true;  // a constant EI reads as constant, not as noise in a narrow window
        int style = 0;
        bool any_capacity = false;
        for (const SectionCurve* curve : curves) {
            ++style;
            const double scale = MomentScaleToConsistentUnits(system, *curve);
            ChartSeries moment_series;
            moment_series.title = "P = " + Compact(units.force(curve->axial_thrust * thrust_scale)) + " " +
                                  units.force.unit;
            moment_series.style = style;
            ChartSeries stiffness_series = moment_series;
            std::vector<std::array<double, 2>> by_moment;
            for (const MomentCurvaturePoint& point : curve->points) {
                const double moment = units.moment(point.moment * scale);
                moment_series.points.push_back({units.curvature(point.curvature), moment});
                stiffness_series.points.push_back({moment, units.bending_stiffness(point.bending_stiffness * scale)});
                by_moment.push_back({moment, units.curvature(point.curvature)});
            }
            const double capacity = units.moment(curve->nominal_moment_capacity);
            const double top_moment = by_moment.empty() ? 0.0 : by_moment.back()[0];
            if (capacity > 0.0 && capacity <= top_moment) {
                const double curvature = Interpolate(by_moment, capacity).value_or(0.0);
                mc.notes.push_back({curvature, capacity, "Mn = " + Compact(capacity) + " " + units.moment.unit, style});
                if (curvature > 0.0) {
                    ei.notes.push_back({capacity, units.bending_stiffness(capacity / units.moment.factor / curvature *
                                                                          units.curvature.factor),
                                        "Mn", style});
                }
                any_capacity = true;
            }
            mc.series.push_back(std::move(moment_series));
            ei.series.push_back(std::move(stiffness_series));
        }
        const std::string levels = Plural(curves.size(), "axial thrust", "axial thrusts");
        const std::string marked = any_capacity ? "; the circles mark the nominal moment capacity Mn." : ".";
        moment_curvature.caption =
            "Bending moment against curvature of section " + std::to_string(section) + " at " + levels + marked;
        stiffness.caption = "Bending stiffness (M/curvature) against bending moment of section " +
                            std::to_string(section) + " at " + levels + marked;
        moment_curvature.panels.push_back(std::move(mc));
        stiffness.panels.push_back(std::move(ei));
        charts.push_back(std::move(moment_curvature));
        charts.push_back(std::move(stiffness));
    }
}

void AddHeadCharts(const Context& context, std::vector<Chart>& charts) {
    const PlotResults& results = context.results;
    if (results.summaries.empty()) return;
    const DisplayUnits& units = context.units;
    // One set of markers per kind of pile-head condition: cases of different
    // head conditions are not steps of one load path and are not joined.
    std::map<int, std::vector<std::size_t>> by_type;
    for (std::size_t i = 0; i < results.summaries.size(); ++i) {
        const HeadCondition* condition = FindHeadCondition(context.extras, static_cast<int>(i) + 1);
        by_type[condition != nullptr ? condition->loading_type : 0].push_back(i);
    }
    Chart deflection;
    deflection.name = "head-load-deflection";
    deflection.title = "Pile-head shear against pile-head deflection";
    deflection.width = kSingleWidth;
    deflection.height = kSingleHeight;
    Chart moment = deflection;
    moment.name = "head-load-max-moment";
    moment.title = "Pile-head shear against maximum bending moment";
    ChartPanel d;
    d.x_label = Axis("Pile-head deflection", units.deflection.unit);
    d.y_label = Axis("Pile-head shear", units.force.unit);
    d.from_zero = true;
    ChartPanel m;
    m.x_label = Axis("Maximum bending moment", units.moment.unit);
    m.y_label = d.y_label;
    m.from_zero = true;
    int style = 0;
    for (const auto& [type, indices] : by_type) {
        ++style;
        ChartSeries ds;
        ds.title = type == 0 ? std::string("Load cases") : "Head: " + LoadingTypeDescription(type) + " given";
        ds.markers_only = true;
        ds.style = style;
        ChartSeries ms = ds;
        for (std::size_t i : indices) {
            const CaseSummary& summary = results.summaries[i];
            ds.points.push_back({units.deflection(summary.head_deflection), units.force(summary.head_shear)});
            ms.points.push_back({units.moment(summary.max_moment), units.force(summary.head_shear)});
            ds.labels.push_back(static_cast<int>(i) + 1);
            ms.labels.push_back(static_cast<int>(i) + 1);
        }
        d.series.push_back(std::move(ds));
        m.series.push_back(std::move(ms));
    }
    const std::string count = Plural(results.summaries.size(), "load case", "load cases");
    deflection.caption = "Computed pile-head shear against pile-head deflection of " + count +
                         ", each point labelled with its case number; cases of different pile-head conditions are "
                         "drawn apart and no case is joined to another.";
    moment.caption = "Computed pile-head shear against the maximum bending moment along the pile of " + count +
                     ", each point labelled with its case number.";
    deflection.panels.push_back(std::move(d));
    moment.panels.push_back(std::move(m));
    charts.push_back(std::move(deflection));
    charts.push_back(std::move(moment));
}

std::string RangeText(double low, double high, const std::string& unit) {
    return Compact(low) + " to " + Compact(high) + " " + unit;
}

void AddStiffnessCharts(const Context& context, std::vector<Chart>& charts) {
    const PlotResults& results = context.results;
    if (results.stiffness.empty()) return;
    const DisplayUnits& units = context.units;
    double shear_low = results.stiffness.front().shear;
    double shear_high = shear_low;
    double moment_low = results.stiffness.front().moment;
    double moment_high = moment_low;
    for (const StiffnessTrial& trial : results.stiffness) {
        shear_low = std::min(shear_low, trial.shear);
        shear_high = std::max(shear_high, trial.shear);
        moment_low = std::min(moment_low, trial.moment);
        moment_high = std::max(moment_high, trial.moment);
    }
    const std::string shears = "V = " + RangeText(units.force(shear_low), units.force(shear_high), units.force.unit);
    const std::string moments =
        "M = " + RangeText(units.moment(moment_low), units.moment(moment_high), units.moment.unit);
    Chart lateral;
    lateral.name = "stiffness-lateral";
    lateral.title = "Pile-head stiffness K22 and K32\nshear trials " + shears + ", head fixed against rotation";
    lateral.width = kSingleWidth;
    lateral.height = kSingleHeight;
    Chart rotational = lateral;
    rotational.name = "stiffness-rotational";
    rotational.title = "Pile-head stiffness K23 and K33\nmoment trials " + moments + ", head held at zero deflection";
    ChartPanel l;
    l.x_label = Axis("Pile-head deflection", units.deflection.unit);
    l.y_label = Axis("K22", units.lateral_stiffness.unit);
    l.y2_label = Axis("K32", units.K32.unit);
    l.from_zero = true;
    ChartPanel r;
    r.x_label = Axis("Pile-head rotation", "rad");
    r.y_label = Axis("K23", units.K23.unit);
    r.y2_label = Axis("K33", units.K33.unit);
    r.from_zero = true;
    ChartSeries k22{"K22 (left axis)", {}, {}, false, false, 1};
    ChartSeries k32{"K32 (right axis)", {}, {}, true, false, 2};
    ChartSeries k23{"K23 (left axis)", {}, {}, false, false, 1};
    ChartSeries k33{"K33 (right axis)", {}, {}, true, false, 2};
    for (const StiffnessTrial& trial : results.stiffness) {
        k22.points.push_back({units.deflection(trial.head_deflection), units.lateral_stiffness(trial.K22)});
        k32.points.push_back({units.deflection(trial.head_deflection), units.K32(trial.K32)});
        k23.points.push_back({trial.head_rotation, units.K23(trial.K23)});
        k33.points.push_back({trial.head_rotation, units.K33(trial.K33)});
    }
    l.series = {k22, k32};
    r.series = {k23, k33};
    lateral.panels.push_back(std::move(l));
    rotational.panels.push_back(std::move(r));
    lateral.caption = "Secant pile-head stiffness terms of the " + Plural(results.stiffness.size(), "trial", "trials") +
                      " with the head fixed against rotation (" + shears +
                      ") against the pile-head deflection they produced.";
    rotational.caption = "Secant pile-head stiffness terms of the " +
                         Plural(results.stiffness.size(), "trial", "trials") +
                         " with the head held at zero deflection (" + moments +
                         ") against the pile-head rotation they produced.";
    charts.push_back(std::move(lateral));
    charts.push_back(std::move(rotational));
}

void AddLengthStudyChart(const Context& context, std::vector<Chart>& charts) {
    ChartPanel panel;
    panel.x_label = Axis("Pile length", context.units.depth.unit);
    panel.y_label = Axis("Pile-head deflection", context.units.deflection.unit);
    panel.from_zero = true;
    int style = 0;
    for (const CaseProfile& profile : context.results.cases) {
        if (profile.length_study.empty()) continue;
        ChartSeries series;
        series.title = CaseLegendOf(context, profile);
        series.style = ++style;
        for (const LengthStudyPoint& point : profile.length_study) {
            series.points.push_back({context.units.depth(point.pile_length), context.units.deflection(point.head_deflection)});
        }
        panel.series.push_back(std::move(series));
    }
    if (panel.series.empty()) return;
    Chart chart;
    chart.name = "length-study";
    chart.title = "Pile-head deflection against pile length";
    chart.width = kSingleWidth;
    chart.height = kSingleHeight;
    chart.caption = "Pile-head deflection of the shortened piles of the length study (" +
                    Plural(panel.series.size(), "load case", "load cases") +
                    "); the deflection grows quickly below the critical pile length.";
    chart.panels.push_back(std::move(panel));
    charts.push_back(std::move(chart));
}

// ---- scripts ----

std::string TerminalFor(ChartFormat format, bool cairo, int width, int height) {
    std::ostringstream terminal;
    switch (format) {
        case ChartFormat::kSvg:
            terminal << "svg size " << width << "," << height << " dynamic font 'Sans," << kFontSize
                     << "' linewidth 1.2 background rgb 'white'";
            break;
        case ChartFormat::kPng:
            // pngcairo draws anti-aliased lines; the plain png terminal serves
            // a gnuplot built without cairo.
            if (cairo) {
                terminal << "pngcairo size " << width * kPngScale << "," << height * kPngScale << " font 'Sans,"
                         << kFontSize * kPngScale * 3 / 4 << "' linewidth " << kPngScale
                         << " background rgb 'white'";
            } else {
                terminal << "png size " << width * kPngScale << "," << height * kPngScale
                         << " background rgb 'white'";
            }
            break;
        case ChartFormat::kPdf:
            terminal << "pdfcairo size " << NumberText(width / kPixelsPerInch) << "in,"
                     << NumberText(height / kPixelsPerInch) << "in font 'Sans," << kFontSize * 3 / 4
                     << "' linewidth 1.5";
            break;
    }
    return terminal.str();
}

// Font sizes of a picture: the terminal's own and the smaller and larger
// ones of band names and figure titles, in the terminal's units.
struct Fonts {
    int base = kFontSize;
    int small = kFontSize * 4 / 5;
    int large = kFontSize * 6 / 5;
};

Fonts FontsFor(ChartFormat format) {
    int base = kFontSize;
    if (format == ChartFormat::kPng) base = kFontSize * kPngScale * 3 / 4;
    if (format == ChartFormat::kPdf) base = kFontSize * 3 / 4;
    return {base, std::max(base * 4 / 5, 6), base * 6 / 5};
}

// A step of 1, 2, 2.5 or 5 times a power of ten that cuts `span` into at
// most `count` intervals, so that tic labels of narrow frames do not collide.
double TicStep(double span, int count) {
    if (!(span > 0.0) || !std::isfinite(span)) return 1.0;
    const double rough = span / count;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double factor : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        if (factor * power >= rough) return factor * power;
    }
    return 10.0 * power;
}

int StyleOf(const ChartSeries& series, std::size_t index) {
    return series.style > 0 ? series.style : static_cast<int>(index) + 1;
}

const char* BandColour(const std::string& name) {
    auto has = [&](const char* word) { return name.find(word) != std::string::npos; };
    if (has("clay") || has("Clay")) return "#E6D3AE";
    if (has("sand") || has("Sand")) return "#F3E7A9";
    if (has("rock") || has("limestone")) return "#CFCFCF";
    if (has("silt") || has("Loess") || has("Piedmont")) return "#DCCFB8";
    return "#D8E6D0";
}

// A range padded on both sides, or from zero on the side where every value
// has one sign and `from_zero` asks for it.
AxisRange Padded(double low, double high, bool from_zero) {
    if (from_zero) {
        low = std::min(low, 0.0);
        high = std::max(high, 0.0);
    }
    double span = high - low;
    if (!(span > 0.0)) span = low != 0.0 ? std::fabs(low) * 0.2 : 1.0;
    AxisRange range{low - kPadding * span, high + kPadding * span};
    if (from_zero && low == 0.0) range.low = 0.0;
    if (from_zero && high == 0.0) range.high = 0.0;
    if (range.low == range.high) range.high = range.low + 1.0;
    return range;
}

// The data ranges of a panel's axes (x, left y, right y).
std::array<std::optional<AxisRange>, 3> DataRanges(const ChartPanel& panel) {
    std::array<std::optional<AxisRange>, 3> ranges;
    auto take = [&](std::size_t axis, double value) {
        if (!std::isfinite(value)) return;
        auto& range = ranges[axis];
        if (!range) {
            range = AxisRange{value, value};
        } else {
            range->low = std::min(range->low, value);
            range->high = std::max(range->high, value);
        }
    };
    for (const ChartSeries& series : panel.series) {
        for (const auto& point : series.points) {
            take(0, point[0]);
            take(series.second_axis ? 2 : 1, point[1]);
        }
    }
    for (const ChartNote& note : panel.notes) {
        take(0, note.x);
        take(1, note.y);
    }
    return ranges;
}

struct PanelPlace {
    double left = 0.0;  // screen fractions of the frame
    double right = 1.0;
    double bottom = 0.0;
    double top = 1.0;
};

void LineStyles(std::ostringstream& gp) {
    for (std::size_t i = 0; i < kStyles.size(); ++i) {
        gp << "set linetype " << i + 1 << " lc rgb '" << kStyles[i].colour << "' lw 2 dt " << kStyles[i].dashes
           << " pt " << kStyles[i].point << " ps 1.1\n";
    }
    gp << "set linetype cycle " << kStyles.size() << "\n";
}

// Soil bands, layer boundaries, ground surface and pile tip of a depth panel.
void DepthDecorations(std::ostringstream& gp, const Chart& chart, bool band_names, const Fonts& fonts) {
    int object = 0;
    for (std::size_t i = 0; i < chart.bands.size(); ++i) {
        const SoilBand& band = chart.bands[i];
        gp << "set object " << ++object << " rect from graph 0, first " << NumberText(band.top) << " to graph 1, first "
           << NumberText(band.bottom) << " fc rgb '" << BandColour(band.name) << "' fs solid "
           << (i % 2 == 0 ? "0.55" : "0.85") << " noborder behind\n";
        if (i > 0) {
            gp << "set arrow from graph 0, first " << NumberText(band.top) << " to graph 1, first "
               << NumberText(band.top) << " nohead lc rgb '#8a8a8a' lw 0.8 back\n";
        }
        if (band_names) {
            gp << "set label " << Quoted(band.name) << " at graph 0.97, first " << NumberText((band.top + band.bottom) / 2)
               << " right tc rgb '#505050' font '," << fonts.small << "' back\n";
        }
    }
    if (chart.ground_surface_depth && *chart.ground_surface_depth > 0.0 &&
        *chart.ground_surface_depth < chart.tip_depth) {
        const std::string ground = NumberText(*chart.ground_surface_depth);
        gp << "set arrow from graph 0, first " << ground << " to graph 1, first " << ground
           << " nohead dt (8,5) lw 2 lc rgb '#7A4A1E' front\n"
           << "set label 'Ground surface' at graph 0.03, first " << ground
           << " offset 0,0.7 tc rgb '#7A4A1E' font '," << fonts.small << "' front\n";
    }
    gp << "set label 'Pile tip' at graph 0.03, first " << NumberText(chart.tip_depth)
       << " offset 0,0.7 tc rgb '#333333' font '," << fonts.small << "' front\n";
}

// The commands that draw one panel (ranges, labels, notes, plot), with its
// data blocks starting at `block`.
void PanelScript(std::ostringstream& gp, const Chart& chart, const ChartPanel& panel, std::size_t block,
                 const std::string& data, bool show_key, bool show_y_axis, bool band_names, const Fonts& fonts,
                 int x_tics) {
    gp << "unset label\nunset arrow\nunset object\n";
    gp << "set title " << Quoted(panel.title) << "\n"
       << "set xlabel " << Quoted(panel.x_label) << "\n";
    if (show_y_axis) {
        gp << "set ylabel " << Quoted(panel.y_label) << "\nset format y '% h'\n";
    } else {
        gp << "unset ylabel\nset format y ''\n";
    }
    if (!panel.y2_label.empty()) {
        gp << "set y2label " << Quoted(panel.y2_label) << "\nset ytics nomirror\nset y2tics\n";
    } else {
        gp << "unset y2label\nunset y2tics\nset ytics mirror\n";
    }
    const auto data_ranges = DataRanges(panel);
    AxisRange x = panel.x_range ? *panel.x_range
                                : Padded(data_ranges[0] ? data_ranges[0]->low : 0.0,
                                         data_ranges[0] ? data_ranges[0]->high : 1.0, panel.from_zero);
    // Room on the right for the case labels written beside the points.
    const bool labelled = std::any_of(panel.series.begin(), panel.series.end(),
                                      [](const ChartSeries& series) { return !series.labels.empty(); });
    if (labelled && !panel.x_range) x.high += 0.2 * (x.high - x.low);
    const AxisRange y = panel.y_range ? *panel.y_range
                                      : Padded(data_ranges[1] ? data_ranges[1]->low : 0.0,
                                               data_ranges[1] ? data_ranges[1]->high : 1.0, panel.from_zero);
    gp << "set xrange [" << NumberText(x.low) << ":" << NumberText(x.high) << "]\n"
       << "set yrange [" << NumberText(y.low) << ":" << NumberText(y.high) << "]\n";
    if (!panel.y2_label.empty() && data_ranges[2]) {
        const AxisRange y2 = Padded(data_ranges[2]->low, data_ranges[2]->high, panel.from_zero);
        gp << "set y2range [" << NumberText(y2.low) << ":" << NumberText(y2.high) << "]\n";
    }
    gp << "set xtics " << NumberText(TicStep(x.high - x.low, x_tics)) << "\n";
    if (chart.depth_axis) DepthDecorations(gp, chart, band_names, fonts);
    if (x.low < 0.0 && x.high > 0.0) {
        gp << "set arrow from first 0, graph 0 to first 0, graph 1 nohead lc rgb '#666666' lw 1 back\n";
    }
    // Notes: a circle at the point, its text on the side with more room, on
    // a light box; a note near an earlier one moves down below it.
    const double middle = (x.low + x.high) / 2.0;
    const double near = 0.06 * std::fabs(y.high - y.low);
    for (std::size_t i = 0; i < panel.notes.size(); ++i) {
        const ChartNote& note = panel.notes[i];
        double shift = 0.0;
        for (std::size_t j = 0; j < i; ++j) {
            if (std::fabs(panel.notes[j].y - note.y) > near || panel.notes[j].text.empty()) continue;
            shift += 1.25 * static_cast<double>(1 + std::count(panel.notes[j].text.begin(), panel.notes[j].text.end(), '\n'));
        }
        const bool right_half = note.x > middle;
        const LineStyle& style = kStyles[static_cast<std::size_t>(std::max(note.style, 1) - 1) % kStyles.size()];
        // Below the point on depth axes (depth grows downward) and in the
        // upper half of other frames, where text above would meet the border.
        const bool below = chart.depth_axis || note.y > (y.low + y.high) / 2.0;
        const double vertical = below ? -0.9 - shift : 0.9 - shift;
        gp << "set label " << Quoted(note.text) << " at first " << NumberText(note.x) << ", first " << NumberText(note.y)
           << (right_half ? " right" : " left") << " offset char " << (right_half ? "-1" : "1") << ","
           << NumberText(vertical) << " point pt 7 ps 1.3 lc rgb '" << style.colour << "' tc rgb '" << style.colour
           << "' boxed bs 1 front\n";
    }
    if (show_key) {
        gp << "set key below left Left reverse samplen 3 spacing 1.1 maxcols 1 height 0.6\n";
    } else {
        gp << "unset key\n";
    }
    gp << "plot";
    bool first = true;
    for (std::size_t s = 0; s < panel.series.size(); ++s) {
        const ChartSeries& series = panel.series[s];
        const int style = StyleOf(series, s);
        gp << (first ? " " : ", \\\n     ") << Quoted(data) << " index " << block + s << " using 1:2";
        first = false;
        if (series.second_axis) gp << " axes x1y2";
        if (series.markers_only) {
            gp << " with points lt " << style << " ps 1.5";
        } else if (series.points.size() < 12) {
            gp << " with linespoints lt " << style;
        } else {
            gp << " with lines lt " << style;
        }
        gp << (series.title.empty() ? std::string(" notitle") : " title " + Quoted(series.title));
        if (!series.labels.empty()) {
            gp << ", \\\n     " << Quoted(data) << " index " << block + s
               << " using 1:2:(sprintf('case %d', int($3))) with labels offset char 1,0.8 left tc lt " << style
               << " notitle";
        }
    }
    if (first) gp << " NaN notitle";
    gp << "\n";
}

void SetMargins(std::ostringstream& gp, const PanelPlace& place) {
    gp << "set lmargin at screen " << NumberText(place.left) << "\nset rmargin at screen " << NumberText(place.right)
       << "\nset bmargin at screen " << NumberText(place.bottom) << "\nset tmargin at screen " << NumberText(place.top)
       << "\n";
}

// The soil column of the response figure: the layers as labelled bands
// between the pile head and the tip, with the depth axis.
void SoilColumnScript(std::ostringstream& gp, const Chart& chart, const Fonts& fonts) {
    gp << "unset label\nunset arrow\nunset object\nunset key\n"
       << "set title 'Soil'\nunset xlabel\nset xtics format '' scale 0\nset xrange [0:1]\n"
       << "set ylabel " << Quoted(chart.depth_label)
       << "\nset format y '% h'\nset yrange [" << NumberText(chart.tip_depth) << ":0]\n";
    DepthDecorations(gp, chart, false, fonts);
    for (const SoilBand& band : chart.bands) {
        std::string name = band.name;
        // Two lines where a long name would not fit the narrow column.
        if (name.size() > 12) {
            const std::size_t blank = name.find(' ', name.size() / 2 - 2);
            if (blank != std::string::npos) name[blank] = '\n';
        }
        gp << "set label " << Quoted(name) << " at graph 0.5, first " << NumberText((band.top + band.bottom) / 2)
           << " center font '," << fonts.small << "' front\n";
    }
    gp << "plot NaN notitle\nset xtics format '% h' scale 1\n";
}

// The result code of the run as the report tells it, with its meaning.
std::string ResultCodeText(const ReportExtras* extras) {
    if (extras == nullptr) return "not known without the report";
    const std::optional<int> code = ResultCodeFromReport(*extras);
    if (!code.has_value()) return "the analysis did not end normally (see the report)";
    const int value = code.value();
    return std::to_string(value) + " (" + ResultCodeMeaning(value) + ")";
}

}  // namespace

std::string FormatExtension(ChartFormat format) {
    switch (format) {
        case ChartFormat::kSvg: return "svg";
        case ChartFormat::kPng: return "png";
        case ChartFormat::kPdf: return "pdf";
    }
    return "";
}

std::vector<Chart> BuildCharts(const PlotResults& results, const ReportExtras* extras) {
    const Context context = MakeContext(results, extras);
    std::vector<Chart> charts;
    AddResponseChart(context, charts);
    AddProfileCharts(context, charts);
    AddPyChart(context, charts);
    AddSectionCharts(context, charts);
    AddHeadCharts(context, charts);
    AddStiffnessCharts(context, charts);
    AddLengthStudyChart(context, charts);
    AddInteractionCharts(results, charts);
    return charts;
}

std::string ChartData(const Chart& chart) {
    std::string data = "# " + chart.title + "\n";
    std::size_t block = 0;
    for (const ChartPanel& panel : chart.panels) {
        bool labelled = false;
        for (const ChartSeries& series : panel.series) labelled = labelled || !series.labels.empty();
        data += "# columns: " + panel.x_label + ", " +
                (panel.y2_label.empty() ? panel.y_label : panel.y_label + " or " + panel.y2_label) +
                (labelled ? ", load case" : "") + (panel.title.empty() ? "" : "  [" + panel.title + "]") + "\n";
    }
    for (const ChartPanel& panel : chart.panels) {
        for (const ChartSeries& series : panel.series) {
            if (block > 0) data += "\n\n";  // two blank lines: the next gnuplot data block ("index")
            data += "# block " + std::to_string(block) + ": " + (series.title.empty() ? "(as above)" : series.title) +
                    "\n";
            for (std::size_t i = 0; i < series.points.size(); ++i) {
                data += NumberText(series.points[i][0]) + " " + NumberText(series.points[i][1]);
                if (i < series.labels.size()) data += " " + std::to_string(series.labels[i]);
                data += "\n";
            }
            ++block;
        }
    }
    return data;
}

std::string ChartScript(const Chart& chart, ChartFormat format, bool cairo, const std::string& source_name) {
    const std::string data = chart.name + ".dat";
    std::ostringstream gp;
    std::string first_title_line = chart.title.substr(0, chart.title.find('\n'));
    gp << "# " << first_title_line << "\n"
       << "# Drawn by trevasc from " << source_name << ". The numbers are in " << data << ",\n"
       << "# one block per curve (blocks are separated by two blank lines and chosen with\n"
       << "# 'index'). Restyle as you like and draw again with:  gnuplot " << chart.name << ".gp\n"
       << "set encoding utf8\n"
       << "set terminal " << TerminalFor(format, cairo, chart.width, chart.height) << "\n"
       << "set termoption noenhanced\n"
       << "set output " << Quoted(chart.name + "." + FormatExtension(format)) << "\n";
    LineStyles(gp);
    const Fonts fonts = FontsFor(format);
    gp << "set style textbox 1 opaque fc rgb '#33FFFFFF' noborder margins 1,1\n"
       << "set grid lc rgb '#C8C8C8' lw 0.6 dt 1\n"
       << "set border lw 1.2\n"
       << "set tics out\n";
    if (chart.panels.size() == 1 && !chart.soil_column) {
        gp << "set title " << Quoted(chart.title) << "\n";
        ChartPanel panel = chart.panels.front();
        if (!panel.title.empty()) panel.title = chart.title + " (" + panel.title + ")";
        else panel.title = chart.title;
        PanelScript(gp, chart, panel, 0, data, true, true, true, fonts, 5);
        return gp.str();
    }
    // Several panels side by side, each frame placed on the page, the key of
    // the curves below them all.
    std::size_t key_entries = 0;
    for (const ChartSeries& series : chart.panels.front().series) key_entries += series.title.empty() ? 0 : 1;
    const double line = 1.35 * kFontSize / chart.height;  // a line of text as a share of the height
    // Below the frames: the tick numbers and the x-axis title, then the key,
    // with a line to spare between them (renderers measure text differently).
    const double bottom = 0.07 + 2.8 * line + line * static_cast<double>(key_entries);
    const double top = 0.86;
    // Room at the left for the first panel's y-axis title beside its numbers.
    double left = chart.soil_column ? 0.20 : 0.11;
    const double right = 0.975;
    // Beside a panel the next one needs room for its own y-axis title and
    // numbers clear of the first frame's ticks.
    const double gap = chart.soil_column ? 0.018 : 0.12;
    const auto count = static_cast<double>(chart.panels.size());
    const double width = (right - left - gap * (count - 1.0)) / count;
    gp << "set multiplot title " << Quoted(chart.title) << " font '," << fonts.large << "'\n";
    if (chart.soil_column) {
        SetMargins(gp, {0.075, 0.17, bottom, top});
        SoilColumnScript(gp, chart, fonts);
    }
    std::size_t block = 0;
    for (std::size_t i = 0; i < chart.panels.size(); ++i) {
        const ChartPanel& panel = chart.panels[i];
        const double panel_left = left + static_cast<double>(i) * (width + gap);
        SetMargins(gp, {panel_left, panel_left + width, bottom, top});
        if (i == 0) {
            gp << "set key at screen " << NumberText(chart.soil_column ? 0.075 : left) << ", screen 0.015 left bottom "
               << "Left reverse samplen 3 maxcols 1\n";
        }
        std::ostringstream one;
        PanelScript(one, chart, panel, block, data, false, !chart.soil_column, false, fonts,
                    chart.soil_column ? 4 : 6);
        std::string text = one.str();
        if (i == 0) {
            // The first panel carries the key of the curves, placed below all panels.
            const std::string unset = "unset key\n";
            text.replace(text.find(unset), unset.size(), "");
        }
        gp << text;
        block += panel.series.size();
    }
    gp << "unset multiplot\n";
    return gp.str();
}

std::string IndexPage(const PlotResults& results, const ReportExtras* extras, const std::vector<Chart>& charts,
                      ChartFormat format, const fs::path& out_dir, const IndexLinks& links, const std::string& title,
                      const std::string& note) {
    auto relative = [&](const fs::path& path) { return Href(path.lexically_relative(out_dir)); };
    const DisplayUnits units = DisplayUnitsFor(results.units());
    std::ostringstream html;
    html << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
         << "<title>" << Html(title) << "</title>\n"
         << "<style>\n"
         << "body { font-family: sans-serif; margin: 2em auto; max-width: 1100px; padding: 0 1em; color: #222; }\n"
         << "h1 { font-size: 1.5em; margin-bottom: 0.2em; }\n"
         << ".subtitle { margin: 0 0 1em 0; color: #444; }\n"
         << "table { border-collapse: collapse; margin: 0.5em 0 1.5em 0; font-size: 0.92em; }\n"
         << "th, td { border: 1px solid #bbb; padding: 0.25em 0.6em; }\n"
         << "th { background: #eef2f6; }\n"
         << "td.num { text-align: right; font-variant-numeric: tabular-nums; }\n"
         << "figure { margin: 2.5em 0; }\n"
         << "figure img, figure object { max-width: 100%; border: 1px solid #ccc; }\n"
         << "figcaption { margin-top: 0.5em; }\n"
         << ".note { color: #a33; }\n"
         << "</style>\n</head>\n<body>\n";
    const bool titled = extras != nullptr && !extras->title_lines.empty();
    html << "<h1>" << Html(titled ? extras->title_lines.front() : title) << "</h1>\n";
    if (titled) {
        for (std::size_t i = 1; i < extras->title_lines.size(); ++i) {
            html << "<p class=\"subtitle\">" << Html(extras->title_lines[i]) << "</p>\n";
        }
    }
    if (!note.empty()) html << "<p class=\"note\">" << Html(note) << "</p>\n";

    // Results of every case.
    html << "<h2>Results</h2>\n<p>Result code: " << Html(ResultCodeText(extras)) << "</p>\n";
    const std::vector<CaseRow> rows = CaseRows(results, extras);
    if (!rows.empty()) {
        auto cell = [](const std::optional<double>& value) {
            return "<td class=\"num\">" + (value ? Html(Compact(*value, 5)) : std::string("&ndash;")) + "</td>";
        };
        html << "<table class=\"results\">\n<tr><th>Case</th><th>Pile-head conditions</th><th>Head deflection ("
             << Html(units.deflection.unit) << ")</th><th>Head slope (rad)</th><th>Max. moment ("
             << Html(units.moment.unit) << ")</th><th>at depth (" << Html(units.depth.unit)
             << ")</th><th>Max. shear (" << Html(units.force.unit) << ")</th><th>at depth ("
             << Html(units.depth.unit) << ")</th></tr>\n";
        for (const CaseRow& row : rows) {
            html << "<tr><td>" << (row.lrfd ? "LRFD " : "") << row.case_number << "</td><td>"
                 << (row.conditions.empty() ? "&ndash;" : Html(row.conditions)) << "</td>" << cell(row.head_deflection)
                 << cell(row.head_slope) << cell(row.max_moment) << cell(row.max_moment_depth) << cell(row.max_shear)
                 << cell(row.max_shear_depth) << "</tr>\n";
        }
        html << "</table>\n";
    }
    if (extras != nullptr && extras->warnings.empty() && extras->ended_normally) {
        html << "<p>No warning was reported.</p>\n";
    }
    if (extras != nullptr && !extras->warnings.empty()) {
        html << "<h3>Warnings</h3>\n<ul class=\"warnings\">\n";
        for (const ReportWarning& warning : extras->warnings) {
            std::string text = warning.text;
            std::replace(text.begin(), text.end(), '\n', ' ');
            html << "<li>" << (warning.id ? "Warning " + std::to_string(*warning.id) + ", " : std::string())
                 << "reported " << warning.count << (warning.count == 1 ? " time" : " times")
                 << (text.empty() ? "" : ": " + Html(text)) << "</li>\n";
        }
        html << "</ul>\n";
    }
    if (extras != nullptr && !extras->layers.empty()) {
        html << "<h2>Soil profile</h2>\n<table class=\"soil\">\n<tr><th>Layer</th><th>Model</th><th>Top ("
             << Html(units.depth.unit) << ")</th><th>Bottom (" << Html(units.depth.unit) << ")</th></tr>\n";
        for (const SoilLayerBand& layer : extras->layers) {
            html << "<tr><td>" << layer.layer << "</td><td>" << Html(layer.description) << "</td><td class=\"num\">"
                 << Html(Compact(units.depth(layer.top), 5)) << "</td><td class=\"num\">"
                 << Html(Compact(units.depth(layer.bottom), 5)) << "</td></tr>\n";
        }
        html << "</table>\n";
    }
    html << "<h2>Files</h2>\n<ul class=\"files\">\n";
    if (!links.report_file.empty()) {
        html << "<li>Report: <a href=\"" << relative(links.report_file) << "\">"
             << Html(links.report_file.filename().string()) << "</a></li>\n";
    }
    if (!links.plot_file.empty()) {
        html << "<li>Plot output file: <a href=\"" << relative(links.plot_file) << "\">"
             << Html(links.plot_file.filename().string()) << "</a></li>\n";
    }
    if (!links.json_file.empty()) {
        html << "<li>Results as JSON: <a href=\"" << relative(links.json_file) << "\">"
             << Html(links.json_file.filename().string()) << "</a></li>\n";
    }
    html << "</ul>\n<h2>Figures</h2>\n";
    if (charts.empty()) {
        html << "<p>The plot output file holds no results that can be drawn.</p>\n";
    } else {
        html << "<ol class=\"contents\">\n";
        for (const Chart& chart : charts) {
            html << "<li><a href=\"#" << Html(chart.name) << "\">" << Html(chart.title.substr(0, chart.title.find('\n')))
                 << "</a></li>\n";
        }
        html << "</ol>\n";
    }
    int number = 0;
    for (const Chart& chart : charts) {
        ++number;
        const std::string picture = Href(chart.name + "." + FormatExtension(format));
        const std::string alt = Html(chart.title.substr(0, chart.title.find('\n')));
        html << "<figure id=\"" << Html(chart.name) << "\">\n";
        if (format == ChartFormat::kPdf) {
            html << "<object data=\"" << picture << "\" type=\"application/pdf\" width=\"" << chart.width
                 << "\" height=\"" << chart.height << "\"><a href=\"" << picture << "\">" << alt
                 << " (PDF)</a></object>\n";
        } else {
            html << "<img src=\"" << picture << "\" alt=\"" << alt << "\" width=\"" << chart.width << "\">\n";
        }
        html << "<figcaption>Figure " << number << ". " << Html(chart.caption) << " (<a href=\""
             << Href(chart.name + ".gp") << "\">gnuplot script</a>, <a href=\"" << Href(chart.name + ".dat")
             << "\">data</a>)</figcaption>\n</figure>\n";
    }
    html << "</body>\n</html>\n";
    return html.str();
}

namespace {

bool WriteText(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return static_cast<bool>(out);
}

}  // namespace

ChartRun DrawCharts(const PlotResults& results, const ReportExtras* extras, const fs::path& out_dir,
                    ChartFormat format, const IndexLinks& links, const std::string& title,
                    const ChartOptions& options) {
    ChartRun run;
    run.charts = BuildCharts(results, extras);
    if (options.page_width > 0 && options.page_height > 0) {
        for (Chart& chart : run.charts) {
            chart.width = options.page_width;
            chart.height = options.page_height;
        }
    }
    std::error_code ec;
    fs::create_directories(out_dir, ec);
    if (!fs::is_directory(out_dir, ec)) {
        run.errors.push_back("the chart folder " + out_dir.string() + " cannot be created");
        return run;
    }
    const std::string note = results.complete ? "" : "Incomplete results: " + results.incomplete_reason + ".";
    auto write_page = [&] {
        if (!options.write_index) return;
        run.index_written =
            WriteText(out_dir / "index.html", IndexPage(results, extras, run.charts, format, out_dir, links, title, note));
        if (!run.index_written) run.errors.push_back("cannot write " + (out_dir / "index.html").string());
    };
    if (run.charts.empty()) {
        // Nothing to draw (an analysis that wrote no curves): the page says so.
        write_page();
        return run;
    }
    const std::optional<fs::path> gnuplot = FindOnPath("gnuplot");
    run.gnuplot_missing = !gnuplot;
    bool cairo = true;
    if (gnuplot && format != ChartFormat::kSvg) {
        cairo = RunProgram(*gnuplot, {"-e", format == ChartFormat::kPdf ? "set terminal pdfcairo" : "set terminal pngcairo"},
                           out_dir)
                    .exit_status == 0;
    }
    if (format == ChartFormat::kPdf && gnuplot && !cairo) {
        run.errors.push_back("this gnuplot has no pdfcairo terminal, so it cannot draw PDF charts; "
                             "choose --format svg or png");
        return run;
    }
    const std::string source = links.plot_file.empty() ? results.file_name : links.plot_file.filename().string();
    for (const Chart& chart : run.charts) {
        const fs::path data = out_dir / (chart.name + ".dat");
        const fs::path script = out_dir / (chart.name + ".gp");
        if (!WriteText(data, ChartData(chart)) || !WriteText(script, ChartScript(chart, format, cairo, source))) {
            run.errors.push_back("cannot write " + data.string() + " or " + script.string());
            continue;
        }
        if (!gnuplot) continue;
        const std::string picture = chart.name + "." + FormatExtension(format);
        fs::remove(out_dir / picture, ec);
        const ProgramOutcome outcome = RunProgram(*gnuplot, {chart.name + ".gp"}, out_dir);
        const bool made = fs::is_regular_file(out_dir / picture, ec) && fs::file_size(out_dir / picture, ec) > 0;
        if (!outcome.started || outcome.exit_status != 0 || !made) {
            std::string detail = outcome.output;
            while (!detail.empty() && (detail.back() == '\n' || detail.back() == ' ')) detail.pop_back();
            run.errors.push_back("gnuplot could not draw " + picture + " from " + script.string() +
                                 (detail.empty() ? "" : ": " + detail));
            continue;
        }
        run.drawn.push_back(picture);
    }
    if (run.gnuplot_missing || !run.errors.empty()) return run;
    write_page();
    return run;
}

}  // namespace trevasc::host
