// Results of one converged load case: the report table of computed values
// along the pile, the plot records of every node, the output verification
// (equilibrium of every pile segment of the discrete solution) and the head
// response kept for the summaries.
#pragma once

#include "run/run_context.hpp"

namespace trevasc::pile {

// Largest imbalances of the segment equilibrium check, with the steps
// (3 .. N+1) where they occurred.
struct EquilibriumCheck {
    double MomentImbalance = 0.0;
    int MomentStep = 0;
    double ForceImbalance = 0.0;
    int ForceStep = 0;
};

// Checks every segment between nodes j-1 and j (steps k = j+1 = 3 .. N+1) of
// the current solution, whose node responses must be computed:
//   RF = V(j-1) - V(j) + h (w(j-1) + w(j)) / 2
//   RM = M(j-1) - M(j) + h V(j-1) + h^2 w(j-1) / 2 + P (y(j-1) - y(j))
// with w the net lateral load per unit length.
EquilibriumCheck Verify_Segment_Equilibrium(const run::RunContext& ctx);

// The results pass of case c (1-based), kept in ctx.cases(c).
void Write_Case_Results(run::RunContext& ctx, int c);
// The same pass with the head response kept in `results` (the pile-head
// stiffness trials keep theirs apart from the load cases).
void Write_Case_Results(run::RunContext& ctx, int c, model::CaseResults& results);

}  // namespace trevasc::pile
