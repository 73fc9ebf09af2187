#include "charts.hpp"

#include "interaction_output.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

#include "external_program.hpp"
#include "results_json.hpp"

namespace trevasc::host {

namespace fs = std::filesystem;

namespace {

// A unit text for an axis title: "lb-in^2" becomes "lb-in²".
std::string Axis(const std::string& quantity, const std::string& unit) {
    std::string shown = unit;
    if (const std::size_t at = shown.find("^2"); at != std::string::npos) shown.replace(at, 2, "\u00b2");
    return quantity + " (" + shown + ")";
}

std::string NumberText(double value) {
    if (!std::isfinite(value)) return "NaN";
    std::array<char, 32> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    if (ec != std::errc()) return "NaN";
    return std::string(buffer.data(), end);
}

// gnuplot single-quoted string: no escapes inside, a quote is doubled.
std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c;
        if (c == '\'') quoted += '\'';
    }
    return quoted + "'";
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

std::string CaseTitle(const CaseProfile& profile) {
    return std::string(profile.length_label == LengthStudyLabel::kLrfdCase ? "LRFD load case " : "Load case ") +
           std::to_string(profile.case_number);
}

std::string Plural(std::size_t count, const std::string& one, const std::string& many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// One chart per nodal quantity against depth, every load case overlaid.
void AddProfileCharts(const PlotResults& results, const ReportExtras* extras, const UnitTexts& units,
                      std::vector<Chart>& charts) {
    std::vector<const CaseProfile*> cases;
    for (const CaseProfile& profile : results.cases) {
        if (!profile.nodes.empty()) cases.push_back(&profile);
    }
    if (cases.empty()) return;
    struct Quantity {
        const char* name;
        const char* title;
        const char* axis;
        std::string unit;
        double NodeResult::*member;
    };
    const std::array<Quantity, 5> quantities = {{
        {"deflection", "Lateral deflection", "Deflection", units.length, &NodeResult::deflection},
        {"bending-moment", "Bending moment", "Bending moment", units.moment, &NodeResult::moment},
        {"shear-force", "Shear force", "Shear force", units.force, &NodeResult::shear},
        {"soil-reaction", "Soil reaction", "Soil reaction p", units.soil_reaction, &NodeResult::soil_reaction},
        {"bending-stiffness", "Bending stiffness", "Bending stiffness EI", units.bending_stiffness,
         &NodeResult::bending_stiffness},
    }};
    const std::optional<double> ground = extras != nullptr ? extras->ground_surface_depth : std::nullopt;
    for (const Quantity& quantity : quantities) {
        Chart chart;
        chart.name = quantity.name;
        chart.title = std::string(quantity.title) + " against depth";
        chart.x_label = Axis(quantity.axis, quantity.unit);
        chart.y_label = Axis("Depth below pile head", units.length);
        chart.depth_axis = true;
        chart.ground_surface_depth = ground;
        for (const CaseProfile* profile : cases) {
            ChartSeries series;
            series.title = CaseTitle(*profile);
            for (const NodeResult& node : profile->nodes) series.points.push_back({node.*quantity.member, node.depth});
            chart.series.push_back(std::move(series));
        }
        chart.caption = std::string(quantity.title) + " along the pile for " +
                        Plural(cases.size(), "load case", "load cases") + ", depth measured downward from the pile head" +
                        (ground ? "; the dashed line marks the ground surface." : ".");
        charts.push_back(std::move(chart));
    }
}

void AddPyChart(const PlotResults& results, const UnitTexts& units, std::vector<Chart>& charts) {
    Chart chart;
    chart.name = "py-curves";
    chart.title = "p-y curves at the output depths";
    chart.x_label = Axis("Deflection y", units.length);
    chart.y_label = Axis("Soil reaction p", units.soil_reaction);
    for (const PyCurve& curve : results.py_curves) {
        if (curve.points.empty()) continue;
        ChartSeries series;
        series.title = "Curve " + std::to_string(curve.curve_number) + ", " + NumberText(curve.depth) + " " +
                       units.length + " (" + curve.soil_text + (curve.loading.empty() ? "" : ", " + curve.loading) +
                       ")";
        for (const PyPoint& point : curve.points) series.points.push_back({point.y, point.p});
        chart.series.push_back(std::move(series));
    }
    if (chart.series.empty()) return;
    chart.caption = "Soil reaction against deflection at " + Plural(chart.series.size(), "depth", "depths") +
                    " (p- and y-multipliers applied), as computed after load case 1.";
    charts.push_back(std::move(chart));
}

// Linear interpolation of the curvature at which a curve reaches `moment`
// on its rising branch; nullopt when it never does.
std::optional<double> CurvatureAtMoment(const std::vector<std::array<double, 3>>& points, double moment) {
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (points[i][0] < moment) continue;
        if (i == 0) return points[0][2];
        const auto& a = points[i - 1];
        const auto& b = points[i];
        const double span = b[0] - a[0];
        return span > 0.0 ? a[2] + (moment - a[0]) / span * (b[2] - a[2]) : b[2];
    }
    return std::nullopt;
}

void AddSectionCharts(const PlotResults& results, const UnitTexts& units, std::vector<Chart>& charts) {
    std::map<int, std::vector<const SectionCurve*>> by_section;
    for (const SectionCurve& curve : results.section_curves) {
        if (!curve.points.empty()) by_section[curve.section].push_back(&curve);
    }
    const UnitSystemCode system = results.units();
    const double thrust_scale = ThrustScaleToConsistentUnits(system) / units.section_divisor;
    for (const auto& [section, curves] : by_section) {
        Chart moment_curvature;
        moment_curvature.name = "moment-curvature-section-" + std::to_string(section);
        moment_curvature.title = "Moment-curvature, section " + std::to_string(section);
        moment_curvature.x_label = Axis("Curvature", units.curvature);
        moment_curvature.y_label = Axis("Bending moment", units.section_moment);
        Chart stiffness;
        stiffness.name = "ei-moment-section-" + std::to_string(section);
        stiffness.title = "Bending stiffness against moment, section " + std::to_string(section);
        stiffness.x_label = Axis("Bending moment", units.section_moment);
        stiffness.y_label = Axis("Bending stiffness EI", units.section_stiffness);
        ChartSeries capacity_mc;
        capacity_mc.title = "Nominal moment capacity";
        capacity_mc.markers_only = true;
        ChartSeries capacity_ei = capacity_mc;
        for (const SectionCurve* curve : curves) {
            const double scale = MomentScaleToConsistentUnits(system, *curve) / units.section_divisor;
            const std::string title = "P = " + NumberText(curve->axial_thrust * thrust_scale) + " " +
                                      units.section_force;
            ChartSeries mc;
            ChartSeries ei;
            mc.title = title;
            ei.title = title;
            std::vector<std::array<double, 3>> scaled;
            for (const MomentCurvaturePoint& point : curve->points) {
                scaled.push_back({point.moment * scale, point.bending_stiffness * scale, point.curvature});
                mc.points.push_back({point.curvature, point.moment * scale});
                ei.points.push_back({point.moment * scale, point.bending_stiffness * scale});
            }
            const double capacity = curve->nominal_moment_capacity / units.section_divisor;
            if (const auto curvature = CurvatureAtMoment(scaled, capacity)) {
                capacity_mc.points.push_back({*curvature, capacity});
                // EI = M / curvature at the capacity, the secant stiffness there.
                if (*curvature != 0.0) capacity_ei.points.push_back({capacity, capacity / *curvature});
            }
            moment_curvature.series.push_back(std::move(mc));
            stiffness.series.push_back(std::move(ei));
        }
        const std::string levels = Plural(curves.size(), "axial thrust", "axial thrusts");
        moment_curvature.caption = "Bending moment against curvature of section " + std::to_string(section) + " at " +
                                   levels + "; the filled circles mark the nominal moment capacity.";
        stiffness.caption = "Bending stiffness (M/curvature) against bending moment of section " +
                            std::to_string(section) + " at " + levels +
                            "; the filled circles mark the nominal moment capacity.";
        if (!capacity_mc.points.empty()) moment_curvature.series.push_back(std::move(capacity_mc));
        if (!capacity_ei.points.empty()) stiffness.series.push_back(std::move(capacity_ei));
        charts.push_back(std::move(moment_curvature));
        charts.push_back(std::move(stiffness));
    }
}

void AddHeadCharts(const PlotResults& results, const UnitTexts& units, std::vector<Chart>& charts) {
    if (results.summaries.empty()) return;
    // Cases in order of their pile-head load, so that the line reads as a
    // load-deflection curve when the cases are load steps.
    std::vector<std::size_t> order(results.summaries.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return std::fabs(results.summaries[a].head_shear) < std::fabs(results.summaries[b].head_shear);
    });
    Chart deflection;
    deflection.name = "head-load-deflection";
    deflection.title = "Pile-head load against pile-head deflection";
    deflection.x_label = Axis("Pile-head deflection", units.length);
    deflection.y_label = Axis("Pile-head shear", units.force);
    Chart moment;
    moment.name = "head-load-max-moment";
    moment.title = "Pile-head load against maximum bending moment";
    moment.x_label = Axis("Maximum bending moment", units.moment);
    moment.y_label = Axis("Pile-head shear", units.force);
    deflection.from_zero = true;
    moment.from_zero = true;
    ChartSeries d;
    ChartSeries m;
    d.title = "Load cases";
    m.title = "Load cases";
    for (std::size_t i : order) {
        const CaseSummary& summary = results.summaries[i];
        d.points.push_back({summary.head_deflection, summary.head_shear});
        m.points.push_back({summary.max_moment, summary.head_shear});
        d.labels.push_back(static_cast<int>(i) + 1);
        m.labels.push_back(static_cast<int>(i) + 1);
    }
    deflection.series.push_back(std::move(d));
    moment.series.push_back(std::move(m));
    const std::string count = Plural(results.summaries.size(), "load case", "load cases");
    deflection.caption = "Computed pile-head shear against pile-head deflection of " + count +
                         ", each point labelled with its case number.";
    moment.caption = "Computed pile-head shear against the maximum bending moment along the pile of " + count +
                     ", each point labelled with its case number.";
    charts.push_back(std::move(deflection));
    charts.push_back(std::move(moment));
}

void AddStiffnessCharts(const PlotResults& results, const UnitTexts& units, std::vector<Chart>& charts) {
    if (results.stiffness.empty()) return;
    Chart lateral;
    lateral.name = "stiffness-lateral";
    lateral.title = "Pile-head stiffness K22 and K32 against head deflection";
    lateral.x_label = Axis("Pile-head deflection", units.length);
    lateral.y_label = Axis("K22", units.K22);
    lateral.y2_label = Axis("K32", units.K32);
    Chart rotational;
    rotational.name = "stiffness-rotational";
    rotational.title = "Pile-head stiffness K23 and K33 against head rotation";
    rotational.x_label = Axis("Pile-head rotation", "rad");
    rotational.y_label = Axis("K23", units.K23);
    rotational.y2_label = Axis("K33", units.K33);
    ChartSeries k22{"K22 (left axis)", {}, {}, false, false, ""};
    ChartSeries k32{"K32 (right axis)", {}, {}, true, false, ""};
    ChartSeries k23{"K23 (left axis)", {}, {}, false, false, ""};
    ChartSeries k33{"K33 (right axis)", {}, {}, true, false, ""};
    for (const StiffnessTrial& trial : results.stiffness) {
        k22.points.push_back({trial.head_deflection, trial.K22});
        k32.points.push_back({trial.head_deflection, trial.K32});
        k23.points.push_back({trial.head_rotation, trial.K23});
        k33.points.push_back({trial.head_rotation, trial.K33});
    }
    lateral.from_zero = true;
    rotational.from_zero = true;
    lateral.series = {k22, k32};
    rotational.series = {k23, k33};
    lateral.caption = "Secant pile-head stiffness terms of the ten fixed-head shear trials against the pile-head "
                      "deflection they produced.";
    rotational.caption = "Secant pile-head stiffness terms of the ten moment trials with the head held at zero "
                         "deflection against the pile-head rotation they produced.";
    charts.push_back(std::move(lateral));
    charts.push_back(std::move(rotational));
}

void AddLengthStudyChart(const PlotResults& results, const UnitTexts& units, std::vector<Chart>& charts) {
    Chart chart;
    chart.name = "length-study";
    chart.title = "Pile-head deflection against pile length";
    chart.x_label = Axis("Pile length", units.length);
    chart.y_label = Axis("Pile-head deflection", units.length);
    for (const CaseProfile& profile : results.cases) {
        if (profile.length_study.empty()) continue;
        ChartSeries series;
        series.title = CaseTitle(profile);
        for (const LengthStudyPoint& point : profile.length_study) {
            series.points.push_back({point.pile_length, point.head_deflection});
        }
        chart.series.push_back(std::move(series));
    }
    if (chart.series.empty()) return;
    chart.caption = "Pile-head deflection of the shortened piles of the length study (" +
                    Plural(chart.series.size(), "load case", "load cases") +
                    "); the deflection grows quickly below the critical pile length.";
    charts.push_back(std::move(chart));
}

std::string TerminalFor(ChartFormat format, const std::optional<fs::path>& gnuplot, const fs::path& work) {
    switch (format) {
        case ChartFormat::kSvg:
            return "svg size 960,720 dynamic font 'Sans,12' background rgb 'white'";
        case ChartFormat::kPng: {
            // pngcairo draws anti-aliased lines; the plain png terminal serves
            // a gnuplot built without cairo.
            const bool cairo = !gnuplot || RunProgram(*gnuplot, {"-e", "set terminal pngcairo"}, work).exit_status == 0;
            return cairo ? "pngcairo size 960,720 font 'Sans,11' background rgb 'white'"
                         : "png size 960,720 background rgb 'white'";
        }
        case ChartFormat::kPdf:
            return "pdfcairo size 8in,6in font 'Sans,10'";
    }
    return "";
}

bool WriteText(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return static_cast<bool>(out);
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
    const UnitTexts units = UnitTextsFor(results.units());
    std::vector<Chart> charts;
    AddProfileCharts(results, extras, units, charts);
    AddPyChart(results, units, charts);
    AddSectionCharts(results, units, charts);
    AddHeadCharts(results, units, charts);
    AddStiffnessCharts(results, units, charts);
    AddLengthStudyChart(results, units, charts);
    AddInteractionCharts(results, charts);
    return charts;
}

std::string ChartData(const Chart& chart) {
    bool labelled = false;
    for (const ChartSeries& series : chart.series) labelled = labelled || !series.labels.empty();
    std::string data = "# " + chart.title + "\n# columns: " + chart.x_label + ", " +
                       (chart.y2_label.empty() ? chart.y_label : chart.y_label + " or " + chart.y2_label) +
                       (labelled ? ", load case" : "") + "\n";
    for (std::size_t s = 0; s < chart.series.size(); ++s) {
        const ChartSeries& series = chart.series[s];
        if (s > 0) data += "\n\n";  // two blank lines: the next gnuplot data block ("index")
        data += "# block " + std::to_string(s) + ": " + series.title + "\n";
        for (std::size_t i = 0; i < series.points.size(); ++i) {
            data += NumberText(series.points[i][0]) + " " + NumberText(series.points[i][1]);
            if (i < series.labels.size()) data += " " + std::to_string(series.labels[i]);
            data += "\n";
        }
    }
    return data;
}

std::string ChartScript(const Chart& chart, const std::string& terminal, ChartFormat format,
                        const std::string& source_name) {
    const std::string data = chart.name + ".dat";
    std::ostringstream gp;
    gp << "# " << chart.title << "\n"
       << "# Drawn by trevasc from " << source_name << ". The numbers are in " << data << ",\n"
       << "# one block per curve (blocks are separated by two blank lines and chosen with\n"
       << "# 'index'). Restyle as you like and draw again with:  gnuplot " << chart.name << ".gp\n"
       << "set encoding utf8\n"
       << "set terminal " << terminal << "\n"
       << "set output " << Quoted(chart.name + "." + FormatExtension(format)) << "\n"
       << "set title " << Quoted(chart.title) << " noenhanced\n"
       << "set xlabel " << Quoted(chart.x_label) << " noenhanced\n"
       << "set ylabel " << Quoted(chart.y_label) << " noenhanced\n"
       << "set grid\n"
       << "set key outside below noenhanced\n";
    if (!chart.y2_label.empty()) {
        gp << "set y2label " << Quoted(chart.y2_label) << " noenhanced\n"
           << "set ytics nomirror\n"
           << "set y2tics\n";
    }
    if (chart.from_zero) {
        // An axis whose values all have one sign is drawn from zero, so that
        // a flat curve reads as flat rather than as noise around its mean.
        auto range = [&](int axis, bool second) {
            bool positive = true;
            bool negative = true;
            for (const ChartSeries& series : chart.series) {
                if (axis == 1 && series.second_axis != second) continue;
                for (const auto& point : series.points) {
                    const double v = point[static_cast<std::size_t>(axis)];
                    if (!std::isfinite(v)) continue;
                    positive = positive && v >= 0.0;
                    negative = negative && v <= 0.0;
                }
            }
            return positive ? std::string("[0:*]") : negative ? std::string("[*:0]") : std::string("[*:*]");
        };
        gp << "set xrange " << range(0, false) << "\n"
           << "set yrange " << range(1, false) << "\n";
        if (!chart.y2_label.empty()) gp << "set y2range " << range(1, true) << "\n";
    }
    if (chart.depth_axis) {
        gp << "set yrange [*:*] reverse\n"
           << "set xzeroaxis lt -1 lw 0.5\n"
           << "set arrow 1 from first 0, graph 0 to first 0, graph 1 nohead lc rgb '#999999' lw 1\n";
        if (chart.ground_surface_depth) {
            // The ground surface is marked only within the depths drawn, where
            // gnuplot can place it.
            double top = 0.0;
            double bottom = 0.0;
            bool any = false;
            for (const ChartSeries& series : chart.series) {
                for (const auto& point : series.points) {
                    if (!std::isfinite(point[1])) continue;
                    top = any ? std::min(top, point[1]) : point[1];
                    bottom = any ? std::max(bottom, point[1]) : point[1];
                    any = true;
                }
            }
            const double ground = *chart.ground_surface_depth;
            if (any && ground >= top && ground <= bottom) {
                gp << "ground = " << NumberText(ground) << "\n"
                   << "set arrow 2 from graph 0, first ground to graph 1, first ground nohead dt 2 lw 2 "
                      "lc rgb '#8c564b' front\n"
                   << "set label 2 'Ground surface' at graph 0.02, first ground offset 0,0.8 tc rgb '#8c564b' "
                      "front\n";
            }
        }
    }
    gp << "plot";
    for (std::size_t s = 0; s < chart.series.size(); ++s) {
        const ChartSeries& series = chart.series[s];
        gp << (s == 0 ? " " : ", \\\n     ") << Quoted(data) << " index " << s << " using 1:2";
        if (series.second_axis) gp << " axes x1y2";
        if (series.markers_only) {
            gp << " with points pt 7 ps 1.4 lc rgb '" << (series.color.empty() ? "black" : series.color) << "'";
        } else if (!series.labels.empty() || series.points.size() < 12) {
            gp << " with linespoints lw 2 pt 7 ps 0.8";
        } else {
            gp << " with lines lw 2";
        }
        gp << " title " << Quoted(series.title);
        if (!series.labels.empty()) {
            gp << ", \\\n     " << Quoted(data) << " index " << s
               << " using 1:2:(sprintf('case %d', int($3))) with labels offset char 1,1 left notitle";
        }
    }
    gp << "\n";
    return gp.str();
}

std::string IndexPage(const std::vector<Chart>& charts, ChartFormat format, const fs::path& out_dir,
                      const IndexLinks& links, const std::string& title, const std::string& note) {
    auto relative = [&](const fs::path& path) { return Href(path.lexically_relative(out_dir)); };
    std::ostringstream html;
    html << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
         << "<title>" << Html(title) << "</title>\n"
         << "<style>\n"
         << "body { font-family: sans-serif; margin: 2em auto; max-width: 1000px; padding: 0 1em; }\n"
         << "figure { margin: 2.5em 0; }\n"
         << "figure img, figure object { width: 100%; border: 1px solid #ccc; }\n"
         << "figcaption { margin-top: 0.5em; }\n"
         << ".note { color: #a33; }\n"
         << "</style>\n</head>\n<body>\n"
         << "<h1>" << Html(title) << "</h1>\n<ul class=\"files\">\n";
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
    html << "</ul>\n";
    if (!note.empty()) html << "<p class=\"note\">" << Html(note) << "</p>\n";
    if (charts.empty()) {
        html << "<p>The plot output file holds no results that can be drawn.</p>\n";
    } else {
        html << "<ol class=\"contents\">\n";
        for (const Chart& chart : charts) {
            html << "<li><a href=\"#" << Html(chart.name) << "\">" << Html(chart.title) << "</a></li>\n";
        }
        html << "</ol>\n";
    }
    int number = 0;
    for (const Chart& chart : charts) {
        ++number;
        const std::string picture = Href(chart.name + "." + FormatExtension(format));
        html << "<figure id=\"" << Html(chart.name) << "\">\n";
        if (format == ChartFormat::kPdf) {
            html << "<object data=\"" << picture << "\" type=\"application/pdf\" height=\"720\">"
                 << "<a href=\"" << picture << "\">" << Html(chart.title) << " (PDF)</a></object>\n";
        } else {
            html << "<img src=\"" << picture << "\" alt=\"" << Html(chart.title) << "\">\n";
        }
        html << "<figcaption>Figure " << number << ". " << Html(chart.caption) << " (<a href=\""
             << Href(chart.name + ".gp") << "\">gnuplot script</a>, <a href=\"" << Href(chart.name + ".dat")
             << "\">data</a>)</figcaption>\n</figure>\n";
    }
    html << "</body>\n</html>\n";
    return html.str();
}

ChartRun DrawCharts(const PlotResults& results, const ReportExtras* extras, const fs::path& out_dir,
                    ChartFormat format, const IndexLinks& links, const std::string& title) {
    ChartRun run;
    run.charts = BuildCharts(results, extras);
    std::error_code ec;
    fs::create_directories(out_dir, ec);
    if (!fs::is_directory(out_dir, ec)) {
        run.errors.push_back("the chart folder " + out_dir.string() + " cannot be created");
        return run;
    }
    const std::string note = results.complete ? "" : "Incomplete results: " + results.incomplete_reason + ".";
    if (run.charts.empty()) {
        // Nothing to draw (an analysis that wrote no curves): the page says so.
        run.index_written = WriteText(out_dir / "index.html", IndexPage(run.charts, format, out_dir, links, title, note));
        if (!run.index_written) run.errors.push_back("cannot write " + (out_dir / "index.html").string());
        return run;
    }
    const std::optional<fs::path> gnuplot = FindOnPath("gnuplot");
    run.gnuplot_missing = !gnuplot;
    if (format == ChartFormat::kPdf && gnuplot &&
        RunProgram(*gnuplot, {"-e", "set terminal pdfcairo"}, out_dir).exit_status != 0) {
        run.errors.push_back("this gnuplot has no pdfcairo terminal, so it cannot draw PDF charts; "
                             "choose --format svg or png");
        return run;
    }
    const std::string terminal = TerminalFor(format, gnuplot, out_dir);
    const std::string source = links.plot_file.empty() ? results.file_name : links.plot_file.filename().string();
    for (const Chart& chart : run.charts) {
        const fs::path data = out_dir / (chart.name + ".dat");
        const fs::path script = out_dir / (chart.name + ".gp");
        if (!WriteText(data, ChartData(chart)) || !WriteText(script, ChartScript(chart, terminal, format, source))) {
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
    if (WriteText(out_dir / "index.html", IndexPage(run.charts, format, out_dir, links, title, note))) {
        run.index_written = true;
    } else {
        run.errors.push_back("cannot write " + (out_dir / "index.html").string());
    }
    return run;
}

}  // namespace trevasc::host
