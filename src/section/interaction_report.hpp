// Interaction diagrams in the run: computed per section after its
// moment-curvature analysis, written to the report after the section's
// block, and written to the plot file as records of their own
//
//   Line 15   I5 section, I5 points, I5 design code (1 AASHTO, 2 ACI 318,
//             3 EN 1992), I5 balanced point number, I5 transverse
//             reinforcement (1 tied, 2 spiral), 55X, label from column 81
//   Line 16   5 x E15.7: Pn, Mn, factored P, factored M, phi; label from
//             column 81 ending with the section and point numbers
//   Line 17   I5 case, I5 section, 5 x E15.7: P, M, capacity ratio (-1 when
//             the ray leaves the diagram), capacity P, capacity M; I5 result
//             (1 pass, 0 fail, -1 not checked); label from column 96
//
// in the section's units (kips and in-kip, or kN and kN-m), after every
// other record of the run.
#pragma once

#include <vector>

#include "run/run_context.hpp"
#include "section/interaction.hpp"
#include "section/section_workspace.hpp"

namespace trevasc::section {

// Diagram of the analysed section (types 0..10) and its report block.
void ReportInteractionDiagram(RunContext& ctx, SectionWorkspace& ws, const PileSection& section);

// The diagram of section k (1-based) rebuilt from the problem data, as
// ReportInteractionDiagram made it; not computed for sections whose
// stiffness is given. The section must have been analysed before.
// `reversed` gives the diagram of bending in the opposite sense.
InteractionDiagram InteractionDiagramOfSection(RunContext& ctx, int k, bool reversed = false);

// Rows of the check of every load case (1..cases) and section.
std::vector<InteractionCheckRow> CheckLoadCases(RunContext& ctx, const std::vector<InteractionDiagram>& diagrams);

// Report note for a section whose stiffness is given rather than computed
// from materials: it has no diagram.
void WriteNoInteractionDiagram(RunContext& ctx, int k);

// Lines 15 and 16 of every computed diagram, then Line 17 of every check
// row (none in a run without load cases).
void WriteInteractionPlotRecords(RunContext& ctx, bool with_checks);

}  // namespace trevasc::section
