// Finite-difference solution of the laterally loaded beam-column
//
//     EI y'''' + P y'' + Es y - Q = 0        (P positive in compression)
//
// written in central differences at every node, the stiffness R = EI taken
// node by node (Matlock and Reese 1960, "Generalized solutions for laterally
// loaded piles", J. Soil Mech. Found. Div. ASCE 86(SM5)):
//
//     R(m+1) y(m+2) - 2 (R(m+1) + R(m)) y(m+1) + (R(m+1) + 4 R(m) + R(m-1)) y(m)
//       - 2 (R(m) + R(m-1)) y(m-1) + R(m-1) y(m-2)
//       + P h^2 (y(m+1) - 2 y(m) + y(m-1)) + Es(m) h^4 y(m) = Q(m) h^4.
//
// The truncation error is O(h^2). The five-diagonal system is reduced from
// the tip upward to the recursion y(m) = B(m) y(m-1) - A(m) y(m-2) + E(m) + F(m)
// (F carries the tip shear), the two pile-head boundary conditions close a
// small dense system for the head and its imaginary nodes, and the
// deflections follow by back-substitution downward. One solution is O(N) and
// allocates nothing.
#pragma once

#include "run/run_context.hpp"

namespace trevasc::pile {

// Solves the pile for the current EI, Es, load terms, thrust, tip shear and
// head conditions; sets y (with its guard values), Vt and dYmax. A vanishing
// pivot of the head system stops the run with Runtime Error 11.
void Solve_Beam_Column(run::RunContext& ctx);

// Gaussian elimination without row exchanges of the n x n head system held in
// work.Fm / work.G; the solution goes to work.YG. Returns 0 on success, or the
// pivot row k (1-based) whose pivot was smaller than 1.0E-20 in magnitude.
int Solve_Head_Equations(model::SolverWork& work, int n);

// Moment, slope, shear and soil reaction of node k from the deflections, with
// the running maxima and, at node 1, the completion of the head conditions.
void Compute_Node_Response(run::RunContext& ctx, int k);

// Bending part of the shear at the head from the deflections, times 2 h^3:
// h^2 (M(2) - M(0)), the imaginary node 0 taking the head's stiffness.
double HeadShearBending(const model::PileModel& pile);

// Combined axial and bending stress |P|/A + |M| c/I at node k (0 where the
// area or the moment of inertia is 0).
double CombinedStress(const run::RunContext& ctx, int k);
// The section properties CombinedStress reads, for every node of the pile
// (after the nodes have been assigned to their sections).
void SetStressProperties(const model::ProblemData& problem, model::PileModel& pile);

// Resets the running maxima of moment, shear and combined stress.
void ResetRunningMaxima(model::PileModel& pile);
// Resets the per-section maxima of a case.
void ResetSectionMaxima(model::PileModel& pile);

}  // namespace trevasc::pile
