// Sections whose bending stiffness is given rather than computed:
//   SectionType 11, elastic:          M = EI phi at every curvature;
//   SectionType 12, elastic-plastic:  M = EI phi up to the plastic moment Mp,
//                                     then M = Mp (EI = Mp / phi);
//   SectionType 13, user-defined:     the user's M-EI points of each thrust
//                                     level, refined by linear interpolation.
// Their curves fill the same SectionStiffnessTable as the computed ones, so
// the pile model treats every section alike.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/stiffness_table.hpp"
#include "run/run_context.hpp"

namespace trevasc::section {

// Runtime Error 93: in a pile analysis, a user-defined EI section with fewer
// thrust levels than the run has axial thrusts (the pile model would find no
// curve for the others).
inline constexpr std::int32_t kMissingUserLevelsError = 293;

// 150 points of an elastic section: phi_p = 10 p, EI_p = EI, M_p = phi_p EI,
// divided by `scale` (1000 for USCS, to kip units).
std::vector<model::StiffnessPoint> ElasticCurve(double EI, double scale);
// 150 points of an elastic-plastic section: 100 elastic points up to Mp at
// curvature Mp/EI, then 50 points of constant Mp out to 11 times that curvature.
std::vector<model::StiffnessPoint> ElasticPlasticCurve(double EI, double Mp, double scale);
// The refined curve of one user level of (M, EI) points, unscaled: a leading
// (0, EI_1) point when M_1 is not 0; each interval cut into
// s = (150 - n) div (m - 1) equal steps; phi = M / EI. When s < 1 the points
// are kept unchanged. Empty when the level cannot form a curve.
std::vector<model::StiffnessPoint> RefineUserCurve(const std::vector<std::array<double, 2>>& points);

// Section drivers (k is the 1-based section number).
void ComputeElasticSection(run::RunContext& ctx, const model::PileSection& section, int k);
void ComputeElasticPlasticSection(run::RunContext& ctx, const model::PileSection& section, int k);
void ComputeUserEISection(run::RunContext& ctx, const model::PileSection& section, int k);

}  // namespace trevasc::section
