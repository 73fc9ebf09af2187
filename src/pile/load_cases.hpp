// The nonlinear solution of one pile-head loading, shared by the load cases,
// the LRFD combinations, the pile-head stiffness trials and the pile-length
// study: node set-up for a pile of a given length, the head conditions, and
// the iteration between the linear beam-column solution, the soil criteria
// and the nonlinear bending stiffness.
#pragma once

#include "run/run_context.hpp"

namespace trevasc::pile {

// How a failure to converge is treated.
enum class FailureRule {
    // Load cases: excess deflection is Runtime Error 9, no convergence
    // Runtime Error 10, a layer without a node Runtime Error 29, a thrust
    // beyond buckling Runtime Error 31.
    Report,
    // Stiffness trials and length studies: excess deflection, no
    // convergence or buckling ends the solution without a message.
    Quiet,
};

enum class CaseOutcome {
    Converged,
    // Loading type 4 only: Runtime Error 10 is recorded and the last
    // solution is kept for the results.
    UnconvergedReported,
    // FailureRule::Quiet only: excess deflection, no convergence or buckling.
    Abandoned,
};

// Pile-head conditions of load case c (1-based): the pile-head load record,
// or for an LRFD combination loading type 1 with its factored shear, moment
// and axial thrust.
model::PileHeadLoad CaseLoad(const run::RunContext& ctx, int c);

// One complete nonlinear solution of a pile of length L under `load`.
// `case_number` numbers the progress lines and selects the factored
// distributed load of an LRFD combination; `lrfd_combination` says whether
// the case is one. With `progress_line` the node set-up writes its
// "Computing lateral response" line.
CaseOutcome SolvePile(run::RunContext& ctx, int case_number, const model::PileHeadLoad& load, double L,
                      FailureRule rule, bool lrfd_combination, bool progress_line);


// The pile-head deflection versus pile length study of load case c.
void RunLengthStudy(run::RunContext& ctx, int c);
// Length of trial j (0 .. 19) of a pile of full length L0: (1 - 0.05 j) L0
// with the factor in single precision.
double LengthStudyTrialLength(double L0, int j);
// A trial shorter than 0.05 L0 below the ground surface is not analysed.
bool LengthStudyTrialTooShort(double Lj, double L0, double ground_depth);

// Factored distributed load of LRFD combination c at every node of the pile
// just set up (with its report blocks of the per-type sums).
void ApplyLrfdDistributedLoads(run::RunContext& ctx, int c);

// The LRFD performance table that closes the summary of an LRFD run.
void WriteLrfdPerformanceTable(run::RunContext& ctx);

// Number of load cases of the run: LRFD combinations or pile-head loads.
int NumberOfLoadCases(const run::RunContext& ctx);
// Builds the node depths of the pile for the load cases.
void BuildNodeDepths(run::RunContext& ctx);
// Every load case: node set-up, nonlinear iteration, results.
void RunLoadCases(run::RunContext& ctx);

}  // namespace trevasc::pile
