// Axial structural capacities of a section (squash load and tensile yield):
//   Pmax = 0.85 f'c Ac + fy As (+ casing and core steel at their yield),
//   Pmin = -(fy As + steel of casing and core)          (negative, tension),
//   Pcr  = (Es As_total + Ec Ac) eps_cr                  (negative, cracking),
// the nominal (unfactored) values of ACI 318 for concentric load, with the
// concrete tensile fracture strain eps_cr of the concrete law.
#pragma once

#include "run/run_context.hpp"
#include "section/section_workspace.hpp"

namespace trevasc::section {

struct AxialCapacities {
    double Pmax = 0.0;
    double Pmin = 0.0;
    double Pcr = 0.0;
    bool Reported = false;  // the shape has report lines
};

// Capacities of the prepared workspace (bar table, materials and geometry
// set). Sections whose capacities come from the prestress computation get 0.
AxialCapacities ComputeAxialCapacities(const SectionWorkspace& ws, const model::PileSection& section);

// Computes the capacities into the workspace and writes their report lines.
void ComputeAndReportAxialCapacities(run::RunContext& ctx, SectionWorkspace& ws, const model::PileSection& section);

}  // namespace trevasc::section
