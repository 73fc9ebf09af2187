// Discretisation of the pile into equal increments and the properties of
// every node: depths (vertical depths for a battered pile), section and soil
// layer, bending stiffness, initial soil modulus, distributed load and soil
// movement; and the rule by which the bending stiffness of a node follows the
// moment-curvature table of its section.
#pragma once

#include <array>
#include <vector>

#include "model/pile_properties.hpp"
#include "run/run_context.hpp"

namespace trevasc::pile {

// Node depths for `increments` equal increments of a pile of length L.
void ComputeNodeDepths(model::PileModel& pile, int increments, double L, double batter_angle);
void Assign_Nodes_To_Sections(const model::ProblemData& problem, model::PileModel& pile);
// First and last node of every layer, by vertical depth. Writes a diagnostic
// to the report (and goes on) when a layer's last node cannot be found.
void Assign_Nodes_To_Layers(run::RunContext& ctx);
// Intensity of the distributed load averaged over the tributary length h of
// a node at depth x (the integral over [x - h/2, x + h/2] divided by h).
double Average_Distributed_Load(const std::vector<std::array<double, 2>>& table, double x, double h);
void Interpolate_Soil_Movement(const model::ProblemData& problem, model::PileModel& pile);

// The complete node set-up of one load case, for a pile of length L. When
// `case_number` > 0 the progress line of the case is written after the layer
// assignment.
void SetUpNodes(run::RunContext& ctx, double L, int case_number);

// Index t of the axial thrust level that brackets P' (1-based; 0 when the
// list is empty).
int AxialThrustIndex(const model::ProblemData& problem, double p_prime);

// Bending stiffness of every node from the moment-curvature tables at thrust
// level t (and t + 1 when P' lies between two levels).
void Update_Nonlinear_EI(run::RunContext& ctx, int t, double p_prime);
double Interpolate_EI_From_Curve(run::RunContext& ctx, int k, int s, int t);

}  // namespace trevasc::pile
