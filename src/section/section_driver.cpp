// Per-section driver of the section analysis: prepares the workspace of the
// section, writes its "Dimensions and Properties" block, its axial capacities
// and bar or strand tables, and dispatches to the moment-curvature analysis
// (SectionType 0..10) or to the stiffness-defined sections (11..13).
#include "section/capacities.hpp"
#include "section/interaction_report.hpp"
#include "section/moment_curvature.hpp"
#include "section/section_driver.hpp"
#include "section/section_init.hpp"
#include "section/section_report.hpp"
#include "section/stiffness_defined.hpp"

namespace trevasc::section {

void AnalyzeSection(run::RunContext& ctx, int k) {
    model::ProblemData& problem = ctx.problem;
    model::SectionStiffnessTable& stiffness = ctx.stiffness;
    // Every section takes its thrusts from the list as the input left it;
    // the moment-curvature analysis overwrites entries of AxialThrustList.
    if (!stiffness.InputThrustsCaptured) {
        stiffness.InputThrusts = problem.AxialThrustList;
        stiffness.InputThrustsCaptured = true;
    }
    if (stiffness.Sections.size() != problem.Sections.size()) stiffness.Sections.resize(problem.Sections.size());
    if (k < 1 || k > static_cast<int>(problem.Sections.size())) return;
    const model::PileSection& pile_section = problem.Sections[static_cast<std::size_t>(k - 1)];
    model::SectionStiffness& table = stiffness.Sections[static_cast<std::size_t>(k - 1)];
    table = model::SectionStiffness{};
    table.SectionType = pile_section.SectionType;

    const int type = pile_section.SectionType;
    if (type >= model::kRectangularConcrete && type <= model::kOctagonalHollowPrestressed) {
        SectionWorkspace ws;
        PrepareSectionWorkspace(ctx, ws, pile_section, k);
        WriteSectionPropertiesBlock(ctx, ws, pile_section);
        ComputeAndReportAxialCapacities(ctx, ws, pile_section);
        if (type >= model::kDrilledShaft && type <= model::kDrilledShaftWithCasingAndCore) WriteBarTable(ctx, ws);
        if (type >= model::kCircularSolidPrestressed) WriteStrandDetails(ctx, ws, pile_section);
        RunMomentCurvature(ctx, ws, pile_section);
        ReportInteractionDiagram(ctx, ws, pile_section);
        return;
    }
    switch (type) {
        case model::kElasticPile:
            ComputeElasticSection(ctx, pile_section, k);
            break;
        case model::kElasticPlastic:
            ComputeElasticPlasticSection(ctx, pile_section, k);
            break;
        case model::kUserDefinedEI:
            ComputeUserEISection(ctx, pile_section, k);
            break;
        default:
            // A micropile (type 14) carries no section data: no stiffness
            // curve is made and the pile model keeps its input properties.
            ctx.files.report.Line("No bending stiffness is computed for a micropile section.");
            ctx.files.report.Blank();
            break;
    }
    WriteNoInteractionDiagram(ctx, k);
}

}  // namespace trevasc::section
