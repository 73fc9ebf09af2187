#include "pile/lrfd_factoring.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "model/units.hpp"

namespace trevasc::pile {
namespace {

// Ascending exchange sort and removal of exact duplicates.
std::vector<double> DistinctAscending(std::vector<double> values) {
    for (std::size_t i = 0; i + 1 < values.size(); ++i) {
        for (std::size_t j = i + 1; j < values.size(); ++j) {
            if (values[j] < values[i]) std::swap(values[i], values[j]);
        }
    }
    std::vector<double> distinct;
    for (double v : values) {
        if (std::find(distinct.begin(), distinct.end(), v) == distinct.end()) distinct.push_back(v);
    }
    return distinct;
}

}  // namespace

LrfdTypeSums SumLrfdLoadsByType(const model::ProblemData& problem) {
    LrfdTypeSums sums;
    for (const model::LrfdLoad& load : problem.LrfdLoads) {
        if (load.LrfdLoadType < 1 || load.LrfdLoadType > model::kLrfdLoadTypes) continue;
        const auto k = static_cast<std::size_t>(load.LrfdLoadType - 1);
        sums.count[k] += 1;
        sums.shear[k] += load.HorizontalForce;
        sums.moment[k] += load.Moment;
        sums.axial[k] += load.AxialForce;
    }
    return sums;
}

void FactorLrfdCombinations(model::ProblemData& problem, const LrfdTypeSums& sums) {
    for (model::LrfdCombination& combination : problem.LrfdCombinations) {
        double v = 0.0;
        double m = 0.0;
        double p = 0.0;
        for (std::size_t k = 0; k < model::kLrfdLoadTypes; ++k) {
            const double factor = combination.LoadFactors[k];
            if (factor <= 0.0) continue;
            v += factor * sums.shear[k];
            m += factor * sums.moment[k];
            p += factor * sums.axial[k];
        }
        combination.FactoredShear = v;
        combination.FactoredMoment = m;
        combination.FactoredAxial = p;
    }
}

bool TransformLrfdForBatter(model::ProblemData& problem) {
    const double batter = problem.PileBatterAngle;
    if (!(std::fabs(batter) > kLrfdBatterThreshold)) return false;
    const double sb = std::sin(batter);
    const double cb = std::cos(batter);
    for (model::LrfdCombination& combination : problem.LrfdCombinations) {
        const double v = combination.FactoredShear;
        const double p = combination.FactoredAxial;
        combination.FactoredShear = cb * v + sb * p;
        combination.FactoredAxial = -sb * v + cb * p;
    }
    return true;
}

std::vector<double> AssignLrfdThrustLevels(model::ProblemData& problem, bool uscs) {
    std::vector<double> thrusts;
    for (const model::LrfdCombination& combination : problem.LrfdCombinations) {
        thrusts.push_back(combination.FactoredAxial);
    }
    std::vector<double> distinct = DistinctAscending(thrusts);
    for (model::LrfdCombination& combination : problem.LrfdCombinations) {
        const auto at = std::find(distinct.begin(), distinct.end(), combination.FactoredAxial);
        combination.ThrustIndex = static_cast<std::int32_t>(at - distinct.begin()) + 1;
    }
    problem.AxialThrustList.clear();
    for (double value : distinct) {
        if (static_cast<int>(problem.AxialThrustList.size()) >= model::kMaxAxialThrusts) break;
        problem.AxialThrustList.push_back(uscs ? value / kPoundsPerKip : value);
    }
    return distinct;
}

}  // namespace trevasc::pile
