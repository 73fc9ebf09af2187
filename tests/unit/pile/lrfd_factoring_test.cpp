// Forming the LRFD combinations from the loading groups, checked against sums
// and a rotation worked by hand.
#include "pile/lrfd_factoring.hpp"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace trevasc {
namespace {

model::LrfdLoad Group(int type, double v, double m, double p) {
    model::LrfdLoad load;
    load.LrfdLoadType = type;
    load.HorizontalForce = v;
    load.Moment = m;
    load.AxialForce = p;
    return load;
}

model::LrfdCombination Combination(double dead, double live) {
    model::LrfdCombination c;
    c.LoadFactors[0] = dead;
    c.LoadFactors[1] = live;
    return c;
}

// Two dead-load groups and one live-load group; factors of 0 or less leave
// their type out, so a negative factor never subtracts a load.
TEST(LrfdFactoring, FactoredLoadsAreSumsOfFactorTimesTypeTotal) {
    model::ProblemData problem;
    problem.LrfdLoads = {Group(1, 10000.0, 2.0e5, 3.0e5), Group(1, 5000.0, 0.0, 1.0e5), Group(2, 8000.0, 1.0e5, 0.0)};
    problem.LrfdCombinations = {Combination(1.25, 1.75), Combination(0.9, -1.0), Combination(0.0, 0.0)};
    const pile::LrfdTypeSums sums = pile::SumLrfdLoadsByType(problem);
    EXPECT_EQ(sums.count[0], 2);
    EXPECT_EQ(sums.count[1], 1);
    EXPECT_DOUBLE_EQ(sums.shear[0], 15000.0);
    EXPECT_DOUBLE_EQ(sums.axial[0], 4.0e5);

    pile::FactorLrfdCombinations(problem, sums);
    struct Expected { double v, m, p; };
    const Expected expected[] = {{1.25 * 15000 + 1.75 * 8000, 1.25 * 2.0e5 + 1.75 * 1.0e5, 1.25 * 4.0e5},
                                 {0.9 * 15000, 0.9 * 2.0e5, 0.9 * 4.0e5},
                                 {0.0, 0.0, 0.0}};
    for (std::size_t i = 0; i < 3; ++i) {
        const model::LrfdCombination& c = problem.LrfdCombinations[i];
        EXPECT_DOUBLE_EQ(c.FactoredShear, expected[i].v) << "combination " << i + 1;
        EXPECT_DOUBLE_EQ(c.FactoredMoment, expected[i].m) << "combination " << i + 1;
        EXPECT_DOUBLE_EQ(c.FactoredAxial, expected[i].p) << "combination " << i + 1;
    }
}

// 8 degrees of batter: V = 32750, P = 452500 become V' = cos 8 V + sin 8 P =
// 95407.1 and P' = -sin 8 V + cos 8 P = 443538.4; the moment is unchanged.
// A pile within the threshold of vertical keeps its loads.
TEST(LrfdFactoring, BatterTurnsHorizontalAndVerticalForcesIntoShearAndThrust) {
    model::ProblemData problem;
    model::LrfdCombination c;
    c.FactoredShear = 32750.0;
    c.FactoredMoment = 1.0e6;
    c.FactoredAxial = 452500.0;
    problem.LrfdCombinations = {c};

    problem.PileBatterAngle = 0.5 * pile::kLrfdBatterThreshold;
    EXPECT_FALSE(pile::TransformLrfdForBatter(problem));
    EXPECT_EQ(problem.LrfdCombinations[0].FactoredShear, 32750.0);

    problem.PileBatterAngle = 8.0 * std::numbers::pi / 180.0;
    EXPECT_TRUE(pile::TransformLrfdForBatter(problem));
    EXPECT_NEAR(problem.LrfdCombinations[0].FactoredShear, 95407.1, 0.05);
    EXPECT_NEAR(problem.LrfdCombinations[0].FactoredAxial, 443538.4, 0.05);
    EXPECT_EQ(problem.LrfdCombinations[0].FactoredMoment, 1.0e6);
}

// Thrusts 300, 100, 300 and 200 kips (in pounds) give the levels 100, 200,
// 300 kips; each combination points at its own level.
TEST(LrfdFactoring, ThrustLevelsAreTheDistinctThrustsAscending) {
    model::ProblemData problem;
    for (double p : {300000.0, 100000.0, 300000.0, 200000.0}) {
        model::LrfdCombination c;
        c.FactoredAxial = p;
        problem.LrfdCombinations.push_back(c);
    }
    problem.AxialThrustList = {999.0};
    const std::vector<double> distinct = pile::AssignLrfdThrustLevels(problem, /*uscs=*/true);
    EXPECT_EQ(distinct, (std::vector<double>{100000.0, 200000.0, 300000.0}));
    EXPECT_EQ(problem.AxialThrustList, (std::vector<double>{100.0, 200.0, 300.0}));
    const int index[] = {3, 1, 3, 2};
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(problem.LrfdCombinations[i].ThrustIndex, index[i]);

    pile::AssignLrfdThrustLevels(problem, /*uscs=*/false);
    EXPECT_EQ(problem.AxialThrustList, (std::vector<double>{100000.0, 200000.0, 300000.0}));
}

// More distinct thrusts than the section analysis holds: the list keeps the
// smallest kMaxAxialThrusts.
TEST(LrfdFactoring, ThrustLevelsStopAtTheTableCapacity) {
    model::ProblemData problem;
    for (int i = model::kMaxAxialThrusts + 5; i >= 1; --i) {
        model::LrfdCombination c;
        c.FactoredAxial = 1000.0 * i;
        problem.LrfdCombinations.push_back(c);
    }
    pile::AssignLrfdThrustLevels(problem, /*uscs=*/true);
    ASSERT_EQ(problem.AxialThrustList.size(), static_cast<std::size_t>(model::kMaxAxialThrusts));
    EXPECT_EQ(problem.AxialThrustList.front(), 1.0);
    EXPECT_EQ(problem.AxialThrustList.back(), static_cast<double>(model::kMaxAxialThrusts));
}

}  // namespace
}  // namespace trevasc
