// Interaction diagrams in the run: computation per section, the report block
// and the plot records (see interaction_report.hpp).
#include "section/interaction_report.hpp"

#include <cmath>
#include <initializer_list>
#include <string>
#include <string_view>

#include "report/fortran_format.hpp"
#include "report/plot_file.hpp"
#include "report/report_helpers.hpp"
#include "section/geometry.hpp"
#include "section/materials.hpp"
#include "section/section_init.hpp"
#include "section/section_report.hpp"

namespace trevasc::section {

namespace fmt = report::fmt;
using report::AdaptiveNumber;

namespace {

constexpr int kColumn = 15;  // width of the numeric columns of the point table

std::string Fixed(double value, int decimals) {
    std::string text = fmt::F(value, 12, decimals);
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? text : text.substr(first);
}

std::string RightAligned(std::string_view text, int width) {
    std::string field(text.substr(0, static_cast<std::size_t>(width)));
    if (static_cast<int>(field.size()) < width) field.insert(0, static_cast<std::size_t>(width) - field.size(), ' ');
    return field;
}

std::string TrimmedUnit(const std::string& unit) { return report::TrimRight(unit.substr(unit.empty() ? 0 : 1)); }

void WriteRuleAndTitle(report::OutputChannel& report, const std::string& title) {
    report.Blank(2);
    report.Line(report::kRule80);
    report.Line(title);
    report.Line(report::kRule80);
    report.Blank();
}

void WriteMethodLines(report::OutputChannel& report, const InteractionDiagram& d, const SectionWorkspace& ws) {
    WriteLabelLine(report, "Design Code", DesignCodeName(d.code));
    if (d.steel_only) {
        WriteLabelLine(report, "Section Resistance", "plastic, +/- Fy over the whole steel section");
    } else {
        const bool given = d.transverse_from_input;
        const bool spiral = d.transverse == TransverseReinforcement::kSpiral;
        WriteLabelLine(report, "Transverse Reinforcement",
                       std::string(spiral ? "spiral" : "tied") + (given ? "" : " (not given in the input; tied assumed)"));
        if (d.code == DesignCode::kEurocode2) {
            WriteLabelLine(report, "Concrete Stress Block", "parabola-rectangle, eps_cu2 = " + Fixed(d.eps_cu, 5));
        } else {
            const double fc_ksi = ws.Units == model::UnitSystem::SI ? ws.m.fc / kKpaPerKsi : ws.m.fc;
            const double beta1 = std::fmin(0.85, std::fmax(0.65, 0.85 - 0.05 * (fc_ksi - 4.0)));
            const double alpha1 = d.code == DesignCode::kAashto
                                      ? std::fmin(0.85, std::fmax(0.75, 0.85 - 0.02 * (fc_ksi - 10.0)))
                                      : 0.85;
            WriteLabelLine(report, "Concrete Stress Block",
                           "rectangular, " + Fixed(alpha1, 3) + " f'c over " + Fixed(beta1, 3) + " c, eps_cu = " +
                               Fixed(d.eps_cu, 4));
        }
        if (d.prestressed) WriteLabelLine(report, "Prestressing Steel", "strain includes the effective prestress");
    }
    switch (d.code) {
        case DesignCode::kEurocode2:
            WriteLabelLine(report, "Factored Diagram",
                           d.steel_only ? "gamma_M0 = 1.0 (EN 1993-1-1)"
                                        : "fcd = 1.0 fck/1.5, fyd = fyk/1.15; casing and core gamma_a = 1.0");
            break;
        case DesignCode::kAci318:
        case DesignCode::kAashto:
            if (d.steel_only) {
                WriteLabelLine(report, "Strength Reduction Factors",
                               d.code == DesignCode::kAci318 ? "0.90 on axial force and moment"
                                                             : "0.95 on axial force, 1.00 on moment");
            } else {
                WriteLabelLine(report, "Strength Reduction Factor phi",
                               Fixed(d.phi_compression, 2) + " for eps_t <= " + Fixed(d.eps_ty, 5) + ", " +
                                   Fixed(d.phi_tension, 2) + " for eps_t >= " + Fixed(d.eps_tension_controlled, 5) +
                                   ", linear between");
            }
            break;
    }
}

std::string DepthField(double c) {
    if (c == kUniformCompression) return RightAligned("uniform comp.", kColumn);
    if (c == kUniformTension || c <= 0.0) return RightAligned("uniform tens.", kColumn);
    return AdaptiveNumber(c, kColumn);
}

InteractionDiagram DiagramOf(const model::ProblemData& problem, const SectionWorkspace& ws) {
    // The input carries no transverse-reinforcement type: tied, the
    // conservative choice for phi and the axial cap.
    return ComputeInteractionDiagram(ws, DesignCodeOf(problem.Options.DesignCode), TransverseReinforcement::kTied,
                                     false);
}

void WriteDiagramBlock(run::RunContext& ctx, const InteractionDiagram& d, const SectionWorkspace& ws) {
    report::OutputChannel& report = ctx.files.report;
    const SectionUnitTexts units = SectionUnits(ws.Units);
    WriteRuleAndTitle(report, "   Axial Force - Bending Moment Interaction Diagram for Section " + fmt::I0(d.section));
    WriteMethodLines(report, d, ws);
    const InteractionDiagram reversed = DiagramOf(ctx.problem, ReversedSection(ws));
    // The bars are smeared over the slices by a rule that is not exactly
    // mirror-symmetric; differences below 1 percent of the diagram's largest
    // moment and axial force are that, not an unsymmetric section.
    double largest_M = 0.0;
    double largest_P = 0.0;
    for (const InteractionPoint& p : d.points) {
        largest_M = std::fmax(largest_M, std::fabs(p.Mn));
        largest_P = std::fmax(largest_P, std::fabs(p.Pn));
    }
    bool symmetric = reversed.points.size() == d.points.size();
    for (std::size_t k = 0; symmetric && k < d.points.size(); ++k) {
        symmetric = std::fabs(reversed.points[k].Mn - d.points[k].Mn) <= 0.01 * largest_M &&
                    std::fabs(reversed.points[k].Pn - d.points[k].Pn) <= 0.01 * largest_P;
    }
    if (!symmetric) {
        report.Line("The section is not symmetric about its mid-depth: the table below has compression on the");
        report.Line("+y face, and load cases are checked against both faces (the larger capacity ratio governs).");
    }
    WriteAdaptiveLabelLine(report, "Nominal Axial Strength in Compression, Po", d.Po, units.Force);
    WriteAdaptiveLabelLine(report, "Nominal Axial Strength in Tension", d.points.back().Pn, units.Force);
    WriteAdaptiveLabelLine(report, "Maximum Factored Axial Strength in Compression", d.factored_cap, units.Force);
    const InteractionPoint& b = d.points[static_cast<std::size_t>(d.balanced)];
    WriteLabelLine(report, d.steel_only ? "Point of Largest Moment" : "Balanced Point",
                   "point " + fmt::I0(d.balanced + 1) + ", marked B below");
    WriteAdaptiveLabelLine(report, "   Nominal Axial Force", b.Pn, units.Force);
    WriteAdaptiveLabelLine(report, "   Nominal Moment", b.Mn, units.Moment);
    report.Blank();
    report.Line("Net tensile strain: strain of the extreme tension steel from the applied loads (tension positive).");
    report.Blank();
    auto header = [&](std::string_view first, std::initializer_list<std::string_view> columns) {
        std::string line(first);
        for (std::string_view column : columns) line += RightAligned(column, kColumn);
        report.Line(report::TrimRight(line));
    };
    const std::string length = TrimmedUnit(units.Length);
    const std::string force = TrimmedUnit(units.Force);
    const std::string moment = TrimmedUnit(units.Moment);
    header(" Point", {"Depth to", "Net Tensile", "Nominal", "Nominal", "Strength", "Factored", "Factored"});
    header("  No. ", {"N. Axis", "Strain", "Axial Force", "Moment", "Factor", "Axial Force", "Moment"});
    if (ws.Units != model::UnitSystem::GENERAL) header("      ", {length, "", force, moment, "", force, moment});
    std::string dashes = " -----";
    for (int k = 0; k < 7; ++k) dashes += "  " + std::string(kColumn - 2, '-');
    report.Line(dashes);
    for (std::size_t k = 0; k < d.points.size(); ++k) {
        const InteractionPoint& p = d.points[k];
        std::string line = fmt::I(static_cast<long long>(k + 1), 6) + DepthField(p.c);
        line += AdaptiveNumber(p.eps_t, kColumn) + AdaptiveNumber(p.Pn, kColumn) + AdaptiveNumber(p.Mn, kColumn);
        line += AdaptiveNumber(p.phi, kColumn) + AdaptiveNumber(p.Pd, kColumn) + AdaptiveNumber(p.Md, kColumn);
        if (static_cast<int>(k) == d.balanced) line += "  B";
        report.Line(line);
    }
    report.Blank();
}

}  // namespace

void ReportInteractionDiagram(run::RunContext& ctx, SectionWorkspace& ws, const model::PileSection& section) {
    const model::ProblemData& problem = ctx.problem;
    if (!problem.Options.ComputeInteraction) return;
    // A tensile thrust beyond cracking replaces the strand prestrain for its
    // curve; the diagram starts from the effective prestress again.
    if (ws.IsPrestressed()) Calculate_Strains_Due_To_Prestressing(ctx, ws, section);
    WriteDiagramBlock(ctx, DiagramOf(problem, ws), ws);
}

InteractionDiagram InteractionDiagramOfSection(run::RunContext& ctx, int k, bool reversed) {
    const model::ProblemData& problem = ctx.problem;
    if (k < 1 || k > static_cast<int>(problem.Sections.size())) return {};
    const model::PileSection& section = problem.Sections[static_cast<std::size_t>(k - 1)];
    if (section.SectionType < model::kRectangularConcrete || section.SectionType > model::kOctagonalHollowPrestressed) {
        return {};
    }
    SectionWorkspace ws;
    FillSectionWorkspace(ws, section, problem.Options.Units);
    ws.SectionNumber = k;
    BuildSlices(ws);
    if (ws.IsPrestressed()) {
        ws.prestress.ReportWritten = true;  // printed with the section's own analysis
        Calculate_Strains_Due_To_Prestressing(ctx, ws, section);
    }
    return DiagramOf(problem, reversed ? ReversedSection(ws) : ws);
}

std::vector<InteractionCheckRow> CheckLoadCases(run::RunContext& ctx, const std::vector<InteractionDiagram>& diagrams) {
    // Bending of the other sense puts the other face in compression: each
    // moment is checked against both senses and the larger ratio governs
    // (the same for a section symmetric about its mid-depth).
    std::vector<InteractionDiagram> reversed;
    for (std::size_t s = 0; s < diagrams.size(); ++s) {
        reversed.push_back(diagrams[s].computed ? InteractionDiagramOfSection(ctx, static_cast<int>(s) + 1, true)
                                                : InteractionDiagram{});
    }
    const model::ProblemData& problem = ctx.problem;
    // Case loads and moments are in pounds and inch-pounds for USCS; the
    // diagrams in kips and inch-kips.
    const double scale = problem.Options.Units == model::UnitSystem::USCS ? 1.0 / kPoundsPerKip : 1.0;
    const int cases = problem.Options.UseLrfd ? static_cast<int>(problem.LrfdCombinations.size())
                                              : static_cast<int>(problem.PileHeadLoads.size());
    const int sections = static_cast<int>(problem.Sections.size());
    std::vector<InteractionCheckRow> rows;
    for (int c = 1; c <= cases && c <= model::kMaxLoadCases; ++c) {
        const model::CaseResults& results = ctx.cases(c);
        const double thrust = problem.Options.UseLrfd
                                  ? problem.LrfdCombinations[static_cast<std::size_t>(c - 1)].FactoredAxial
                                  : problem.PileHeadLoads[static_cast<std::size_t>(c - 1)].AxialThrust;
        for (int s = 1; s <= sections && s <= model::kMaxSections; ++s) {
            const auto si = static_cast<std::size_t>(s);
            InteractionCheckRow row;
            row.load_case = c;
            row.section = s;
            row.P = thrust * scale;
            row.M = results.SectionMaxMoment[si] * scale;
            const int node = results.SectionMaxMomentNode[si];
            row.depth = node >= 1 && node <= ctx.pile.N ? ctx.pile.x(node) : 0.0;
            if (si - 1 < diagrams.size() && diagrams[si - 1].computed) {
                row.checked = true;
                row.check = CheckAgainstDiagram(diagrams[si - 1], row.P, row.M);
                const CapacityCheck other = CheckAgainstDiagram(reversed[si - 1], row.P, row.M);
                if (other.ratio > row.check.ratio) row.check = other;
            }
            rows.push_back(row);
        }
    }
    return rows;
}

void WriteNoInteractionDiagram(run::RunContext& ctx, int k) {
    if (!ctx.problem.Options.ComputeInteraction) return;
    report::OutputChannel& report = ctx.files.report;
    report.Blank();
    report.Line("No interaction diagram is computed for section " + fmt::I0(k) +
                ": its bending stiffness is given in the input,");
    report.Line("not computed from its materials. Load cases are not checked in this section.");
    report.Blank();
}

void WriteInteractionPlotRecords(run::RunContext& ctx, bool with_checks) {
    if (!ctx.problem.Options.ComputeInteraction) return;
    report::OutputChannel& plot = ctx.files.plot;
    std::vector<InteractionDiagram> diagrams;
    for (int k = 1; k <= static_cast<int>(ctx.problem.Sections.size()); ++k) {
        diagrams.push_back(InteractionDiagramOfSection(ctx, k));
    }
    for (const InteractionDiagram& d : diagrams) {
        if (!d.computed) continue;
        report::WritePlotRecord(plot, plot::kLine15,
                                {d.section, d.points.size(), static_cast<int>(d.code), d.balanced + 1,
                                 static_cast<int>(d.transverse)});
        for (std::size_t k = 0; k < d.points.size(); ++k) {
            const InteractionPoint& p = d.points[k];
            report::WritePlotRecord(plot, plot::kLine16, {p.Pn, p.Mn, p.Pd, p.Md, p.phi, d.section, k + 1});
        }
    }
    if (!with_checks) return;
    for (const InteractionCheckRow& row : CheckLoadCases(ctx, diagrams)) {
        const bool finite = std::isfinite(row.check.ratio);
        const int result = !row.checked ? -1 : (row.check.pass ? 1 : 0);
        report::WritePlotRecord(plot, plot::kLine17,
                                {row.load_case, row.section, row.P, row.M,
                                 row.checked && finite ? row.check.ratio : -1.0, row.check.capacity_P,
                                 row.check.capacity_M, result});
    }
}

}  // namespace trevasc::section
