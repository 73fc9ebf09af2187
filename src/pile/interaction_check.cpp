// Check of every load case against the factored interaction diagrams: for
// each case (or LRFD combination) and section, the largest moment developed
// in the section with the case's axial thrust (for combinations, both
// factored), placed against the section's factored P-M diagram. The capacity
// ratio is measured along the ray from the origin through the demand point
// (P, |M|): the load case scaled until it reaches the diagram, i.e. the
// proportional-loading safety measure. A ratio above 1.0 fails and raises
// warning 410; a section that has no diagram is reported and raises 411.
#include "pile/interaction_check.hpp"

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "report/fortran_format.hpp"
#include "report/report_helpers.hpp"
#include "section/interaction_report.hpp"

namespace trevasc::pile {

namespace fmt = report::fmt;

namespace {

constexpr int kFailureWarning = -410;
constexpr int kNoDiagramWarning = -411;

bool AnyWithoutDiagram(const std::vector<section::InteractionDiagram>& diagrams) {
    for (const section::InteractionDiagram& d : diagrams) {
        if (!d.computed) return true;
    }
    return false;
}

std::vector<section::InteractionDiagram> Diagrams(run::RunContext& ctx) {
    std::vector<section::InteractionDiagram> diagrams;
    for (int k = 1; k <= static_cast<int>(ctx.problem.Sections.size()); ++k) {
        diagrams.push_back(section::InteractionDiagramOfSection(ctx, k));
    }
    return diagrams;
}

std::string CodeName(const run::RunContext& ctx) {
    return section::DesignCodeName(section::DesignCodeOf(ctx.problem.Options.DesignCode));
}

}  // namespace

void CheckLoadCasesAgainstInteraction(run::RunContext& ctx) {
    const model::ProblemData& problem = ctx.problem;
    if (!problem.Options.ComputeInteraction || ctx.pile.StiffnessMode) return;
    const bool uscs = problem.Options.Units == model::UnitSystem::USCS;
    const std::vector<section::InteractionDiagram> diagrams = Diagrams(ctx);
    const std::vector<section::InteractionCheckRow> rows = section::CheckLoadCases(ctx, diagrams);

    report::OutputChannel& report = ctx.files.report;
    const bool si_units = problem.Options.Units == model::UnitSystem::SI;
    report.Blank(2);
    report.Line(report::kRule80);
    report.Line("   Check of Load Cases against the Factored Interaction Diagrams");
    report.Line(report::kRule80);
    report.Blank();
    report.Line("Design code: " + CodeName(ctx));
    report.Line("Each section is checked with the largest bending moment developed in it during the");
    report.Line(problem.Options.UseLrfd ? "load combination and the combination's factored axial thrust."
                                        : "load case and the axial thrust of the case.");
    report.Line("Capacity ratio = demand / capacity along the ray from the origin through the point");
    report.Line("(axial thrust, |moment|) in the factored diagram; the case passes when it is 1.0 or less.");
    report.Blank();
    // Columns: case I5, section I10, then thrust, moment and depth in
    // adaptive fields of 16, the ratio F12.4 and the result.
    auto field = [](std::string_view text, int width) {
        std::string f(text);
        if (static_cast<int>(f.size()) < width) f.insert(0, static_cast<std::size_t>(width) - f.size(), ' ');
        return f;
    };
    report.Line(field("Load", 5) + field("Section", 10) + field("Axial Thrust", 16) + field("Maximum Moment", 16) +
                field("Depth of", 16) + field("Capacity", 12) + "    Result");
    report.Line(field("Case", 5) + field("No.", 10) + field("", 16) + field("in Section", 16) + field("Moment", 16) +
                field("Ratio", 12));
    if (uscs || si_units) {
        report.Line(field("", 15) + field(uscs ? "kips" : "kN", 16) + field(uscs ? "in-kip" : "kN-m", 16) +
                    field(uscs ? "in" : "m", 16));
    }
    report.Line(field("----", 5) + field("-------", 10) + field("------------", 16) + field("--------------", 16) +
                field("------------", 16) + field("--------", 12) + "    --------");
    int failures = 0;
    int unchecked = 0;
    for (const section::InteractionCheckRow& row : rows) {
        std::string line = fmt::I(row.load_case, 5) + fmt::I(row.section, 10);
        line += report::AdaptiveNumber(row.P, 16) + report::AdaptiveNumber(row.M, 16) +
                report::AdaptiveNumber(row.depth, 16);
        if (!row.checked) {
            line += "         N/A    no diagram";
            ++unchecked;
        } else {
            line += std::isfinite(row.check.ratio) ? fmt::F(row.check.ratio, 12, 4) : std::string("    infinite");
            line += row.check.pass ? "      PASS" : "    > FAIL <";
            if (!row.check.pass) ++failures;
        }
        report.Line(line);
    }
    report.Blank();
    if (failures == 0) {
        report.Line("No load case lies outside the factored interaction diagram of a section.");
    } else {
        report.Line("Number of checks outside the factored interaction diagrams = " + fmt::I0(failures));
        ctx.warnings.RecordWarning(kFailureWarning);
    }
    if (unchecked > 0 || AnyWithoutDiagram(diagrams)) {
        report.Line("Sections without an interaction diagram are not checked.");
        ctx.warnings.RecordWarning(kNoDiagramWarning);
    }
    report.Blank();
}

void FinishInteractionWithoutLoadCases(run::RunContext& ctx) {
    if (!ctx.problem.Options.ComputeInteraction) return;
    report::OutputChannel& report = ctx.files.report;
    report.Blank();
    report.Line("Nonlinear bending stiffness only: no load cases are analysed, so the interaction");
    report.Line("diagrams above are not checked against loads.");
    report.Blank();
    if (AnyWithoutDiagram(Diagrams(ctx))) ctx.warnings.RecordWarning(kNoDiagramWarning);
    section::WriteInteractionPlotRecords(ctx, false);
}

}  // namespace trevasc::pile
