// Forming the factored loads of the LRFD combinations from the unfactored
// loading groups: the sums by load type, the factored shear, moment and axial
// force of each combination, their transformation for a battered pile, and
// the distinct factored thrusts the section analysis works through. These
// complete the model once it is read; the echo prints what they return.
#pragma once

#include <array>
#include <vector>

#include "model/problem_data.hpp"

namespace trevasc::pile {

// Unfactored pile-head loads summed by LRFD load type (DL, LL, ... Sp).
struct LrfdTypeSums {
    std::array<int, model::kLrfdLoadTypes> count{};
    std::array<double, model::kLrfdLoadTypes> shear{};
    std::array<double, model::kLrfdLoadTypes> moment{};
    std::array<double, model::kLrfdLoadTypes> axial{};
};
LrfdTypeSums SumLrfdLoadsByType(const model::ProblemData& problem);

// Factored shear, moment and axial force of every combination: the sum over
// the load types of factor x type sum, types with a factor of 0 or less left
// out.
void FactorLrfdCombinations(model::ProblemData& problem, const LrfdTypeSums& sums);

// Batter angles at or below this (radians) leave the loads untransformed.
inline constexpr double kLrfdBatterThreshold = 1.0e-6;
// Turns the factored horizontal and vertical forces of every combination into
// the shear across and the thrust along a pile battered by PileBatterAngle.
// False (and nothing changed) for a pile within kLrfdBatterThreshold of
// vertical.
bool TransformLrfdForBatter(model::ProblemData& problem);

// The distinct factored axial thrusts in ascending order; each combination
// gets the 1-based position of its thrust (ThrustIndex), and the list of
// thrusts of the section analysis becomes these values (kips for US customary
// input, at most kMaxAxialThrusts of them).
std::vector<double> AssignLrfdThrustLevels(model::ProblemData& problem, bool uscs);

}  // namespace trevasc::pile
