// Pile-head stiffness matrix from nonlinear trial analyses.
#pragma once

#include "run/run_context.hpp"

namespace trevasc::pile {

// Pile-head stiffness matrix.
void ComputePileHeadStiffness(run::RunContext& ctx);

}  // namespace trevasc::pile
