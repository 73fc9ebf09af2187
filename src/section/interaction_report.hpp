// Interaction diagrams in the run: computed per section after its
// moment-curvature analysis, written to the report after the section's
// block, and written to the plot file as records of their own (Line 15, the
// diagram's header; Line 16, one per point; Line 17, one per load case and
// section checked; layouts in trevasc/plot_records.hpp), in the section's
// units (kips and in-kip, or kN and kN-m), after every other record of the
// run.
#pragma once

#include <vector>

#include "run/run_context.hpp"
#include "section/interaction.hpp"
#include "section/section_workspace.hpp"

namespace trevasc::section {

// Diagram of the analysed section (types 0..10) and its report block.
void ReportInteractionDiagram(run::RunContext& ctx, SectionWorkspace& ws, const model::PileSection& section);

// The diagram of section k (1-based) rebuilt from the problem data, as
// ReportInteractionDiagram made it; not computed for sections whose
// stiffness is given. The section must have been analysed before.
// `reversed` gives the diagram of bending in the opposite sense.
InteractionDiagram InteractionDiagramOfSection(run::RunContext& ctx, int k, bool reversed = false);

// Rows of the check of every load case (1..cases) and section.
std::vector<InteractionCheckRow> CheckLoadCases(run::RunContext& ctx, const std::vector<InteractionDiagram>& diagrams);

// Report note for a section whose stiffness is given rather than computed
// from materials: it has no diagram.
void WriteNoInteractionDiagram(run::RunContext& ctx, int k);

// Lines 15 and 16 of every computed diagram, then Line 17 of every check
// row (none in a run without load cases).
void WriteInteractionPlotRecords(run::RunContext& ctx, bool with_checks);

}  // namespace trevasc::section
