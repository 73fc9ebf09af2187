#include "section/reinforcement.hpp"
#include "trevasc/units.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>
#include <vector>

namespace trevasc::section {
namespace {

constexpr double kTol = 1e-9;

// ---------------------------------------------------------------------------
// Strand properties: a PCI 270 row, a per-size fpu of the deformed
// bars, the SI conversion and codes outside the table.

TEST(StrandProperties, TableRowsAndUnits) {
    struct Case {
        int type, size;
        model::UnitSystem units;
        double diameter, area, fpu, modulus;
    };
    // Areas are the single-precision constants of the table (0.153f, ...).
    const double a153 = static_cast<double>(0.153f);
    const Case kCases[] = {
        {1, 3, model::UnitSystem::USCS, 0.5, a153, 270000.0, 28000.0},
        {1, 3, model::UnitSystem::GENERAL, 0.5, a153, 270000.0, 28000.0},
        // 0.5 in = 0.0127 m; 0.153 in^2 = 9.87E-5 m^2.
        {1, 3, model::UnitSystem::SI, 0.5 * 0.0254, a153 * 0.0254 * 0.0254, 270000.0, 193053200.0},
        {0, 6, model::UnitSystem::USCS, static_cast<double>(0.6f), static_cast<double>(0.216f), 250000.0, 28000.0},
        {2, 1, model::UnitSystem::USCS, static_cast<double>(0.438f), static_cast<double>(0.115f), 300000.0, 28000.0},
        {4, 5, model::UnitSystem::SI, 1.375 * 0.0254, static_cast<double>(1.485f) * 0.0254 * 0.0254, 160000.0,
         199947760.0},
        {5, 0, model::UnitSystem::USCS, 0.625, static_cast<double>(0.28f), 157000.0, 29000.0},
        {5, 4, model::UnitSystem::USCS, 1.25, 1.25, 160000.0, 29000.0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE("type " + std::to_string(c.type) + " size " + std::to_string(c.size));
        const auto p = LookupStrandProperties(c.type, c.size, c.units);
        ASSERT_TRUE(p.has_value());
        EXPECT_DOUBLE_EQ(p->Diameter, c.diameter);
        EXPECT_DOUBLE_EQ(p->Area, c.area);
        EXPECT_DOUBLE_EQ(p->Fpu, c.fpu);
        EXPECT_DOUBLE_EQ(p->Modulus, c.modulus);
    }
    EXPECT_NEAR(LookupStrandProperties(1, 3, model::UnitSystem::SI)->Area, 9.87e-5, 1e-8);
}

TEST(StrandProperties, CodesOutsideTheTableGiveNothing) {
    const std::pair<int, int> kCodes[] = {{-1, 0}, {6, 0}, {0, 7}, {1, 8}, {2, 5}, {3, 6}, {5, -1}};
    for (auto [type, size] : kCodes) {
        EXPECT_FALSE(LookupStrandProperties(type, size, model::UnitSystem::USCS).has_value()) << type << "/" << size;
    }
    // The last size of each type exists.
    const int kSizes[] = {7, 8, 5, 6, 6, 6};
    for (int type = 0; type < kStrandTypeCount; ++type) {
        EXPECT_EQ(StrandSizeCount(type), kSizes[type]);
        EXPECT_TRUE(LookupStrandProperties(type, kSizes[type] - 1, model::UnitSystem::USCS).has_value());
    }
}

TEST(BarDiameterFromArea, TabulatedSizesFirstThenEquivalentCircle) {
    struct Case {
        double area, diameter;
    };
    const Case kCases[] = {
        {0.79, 1.0},                                  // #8
        {0.31, 0.625},                                // row 3 is met before row 13
        {0.1550001, static_cast<double>(0.444881916f)},  // within 1E-6 of row 12
        {4.0, static_cast<double>(2.257f)},           // #18
        {0.5, std::sqrt(2.0 / kPi)},                  // no size: sqrt(4A/pi)
        {10.0, std::sqrt(40.0 / kPi)},
        {0.0, 0.0},
        {-0.5, 0.0},
    };
    for (const Case& c : kCases) EXPECT_NEAR(BarDiameterFromArea(c.area), c.diameter, kTol) << c.area;
    EXPECT_NEAR(BarDiameterFromArea(0.5), 0.7979, 1e-4);
}

// ---------------------------------------------------------------------------
// Circular cage.

CircularCage Cage(double D, double c, double d, int n, int k) {
    CircularCage cage;
    cage.OutlineDiameter = D;
    cage.Cover = c;
    cage.BarDiameter = d;
    cage.Positions = n;
    cage.BarsPerBundle = k;
    return cage;
}

TEST(CircularCage, EightSingleBarsOnTheCircleOfCentres) {
    // 36 in. shaft, 3 in. cover, 1 in. bars: R = (36 - 1)/2 - 3 = 14.5.
    std::vector<BarPoint> bars;
    ASSERT_EQ(ArrangeBarsInCircle(Cage(36.0, 3.0, 1.0, 8, 1), bars), ArrangementStatus::Ok);
    ASSERT_EQ(bars.size(), 8u);
    EXPECT_NEAR(bars[0].x, 14.5, kTol);
    EXPECT_NEAR(bars[0].y, 0.0, kTol);
    EXPECT_NEAR(bars[2].x, 0.0, kTol);
    EXPECT_NEAR(bars[2].y, 14.5, kTol);
    EXPECT_NEAR(bars[4].x, -14.5, kTol);
    EXPECT_NEAR(bars[4].y, 0.0, kTol);
    for (const BarPoint& b : bars) EXPECT_NEAR(std::hypot(b.x, b.y), 14.5, kTol);
    // Clear spacing: chord of 45 degrees less one diameter.
    EXPECT_NEAR(EdgeToEdgeBarSpacing(bars, 1, 1.0), 2.0 * 14.5 * std::sin(kPi / 8.0) - 1.0, kTol);
}

TEST(CircularCage, BundlesOfThreeTouchAndTurnWithTheirPosition) {
    // Worked example: bundle 1 at (14.4914, -0.4999), (14.4914, 0.4999),
    // (13.6340, 0); bundle 2 the same turned by 90 degrees.
    std::vector<BarPoint> bars;
    ASSERT_EQ(ArrangeBarsInCircle(Cage(36.0, 3.0, 1.0, 4, 3), bars), ArrangementStatus::Ok);
    ASSERT_EQ(bars.size(), 12u);
    const BarPoint kBundle1[] = {{14.4914, -0.4999}, {14.4914, 0.4999}, {13.6340, 0.0}};
    for (int b = 0; b < 3; ++b) {
        EXPECT_NEAR(bars[b].x, kBundle1[b].x, 1e-4);
        EXPECT_NEAR(bars[b].y, kBundle1[b].y, 1e-4);
        EXPECT_NEAR(bars[3 + b].x, -kBundle1[b].y, 1e-4);
        EXPECT_NEAR(bars[3 + b].y, kBundle1[b].x, 1e-4);
    }
    // The outer pair touch (their chord 2 R sin(d/2R) is one diameter to
    // within the arc); the third bar stands on the bundle's axis, sqrt(3)/2 d
    // inside the circle of centres.
    EXPECT_NEAR(std::hypot(bars[1].x - bars[0].x, bars[1].y - bars[0].y), 1.0, 1e-3);
    EXPECT_NEAR(std::hypot(bars[5].x, bars[5].y), 14.5 - std::sqrt(3.0) / 2.0, kTol);
    // Spacing between bundles: bars 2 and 4.
    EXPECT_NEAR(EdgeToEdgeBarSpacing(bars, 3, 1.0),
                std::hypot(bars[3].x - bars[1].x, bars[3].y - bars[1].y) - 1.0, kTol);
}

TEST(CircularCage, SinglePositionLayouts) {
    std::vector<BarPoint> bars;
    // One bar: at the centre.
    ASSERT_EQ(ArrangeBarsInCircle(Cage(36.0, 3.0, 1.0, 1, 1), bars), ArrangementStatus::Ok);
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_EQ(bars[0].x, 0.0);
    EXPECT_EQ(bars[0].y, 0.0);
    // A pair: side by side at the centre.
    ASSERT_EQ(ArrangeBarsInCircle(Cage(36.0, 3.0, 1.0, 1, 2), bars), ArrangementStatus::Ok);
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_DOUBLE_EQ(bars[0].x, -0.5);
    EXPECT_DOUBLE_EQ(bars[1].x, 0.5);
    EXPECT_EQ(bars[0].y, 0.0);
    EXPECT_EQ(bars[1].y, 0.0);
    EXPECT_EQ(EdgeToEdgeBarSpacing(bars, 2, 1.0), 0.0);
    // Three: on the circle at angle 0 like any other bundle of three.
    ASSERT_EQ(ArrangeBarsInCircle(Cage(36.0, 3.0, 1.0, 1, 3), bars), ArrangementStatus::Ok);
    ASSERT_EQ(bars.size(), 3u);
    EXPECT_NEAR(bars[0].x, 14.4914, 1e-4);
    EXPECT_NEAR(bars[0].y, -0.4999, 1e-4);
    EXPECT_NEAR(bars[2].x, 14.5 - std::sqrt(3.0) / 2.0, kTol);
}

TEST(CircularCage, PairsSpacingIsBetweenBarsTwoAndThree) {
    std::vector<BarPoint> bars;
    ASSERT_EQ(ArrangeBarsInCircle(Cage(36.0, 3.0, 1.0, 6, 2), bars), ArrangementStatus::Ok);
    ASSERT_EQ(bars.size(), 12u);
    // Bars 2 and 3 lie at delta and 60 deg - delta, delta = 0.5/14.5.
    const double delta = 0.5 / 14.5;
    const double gap = kPi / 3.0 - 2.0 * delta;
    EXPECT_NEAR(EdgeToEdgeBarSpacing(bars, 2, 1.0), 2.0 * 14.5 * std::sin(gap / 2.0) - 1.0, kTol);
}

TEST(CircularCage, FailedPreconditionsAreReported) {
    struct Case {
        CircularCage cage;
        ArrangementStatus status;
    };
    const Case kCases[] = {
        {Cage(0.0, 3.0, 1.0, 8, 1), ArrangementStatus::OutlineNotPositive},
        {Cage(2.0, 0.1, 3.0, 8, 1), ArrangementStatus::BarWiderThanOutline},
        {Cage(36.0, 0.0, 1.0, 8, 1), ArrangementStatus::CoverNotPositive},
        {Cage(36.0, 3.0, 1.0, 0, 1), ArrangementStatus::PositionCountOutOfRange},
        {Cage(36.0, 3.0, 1.0, 301, 1), ArrangementStatus::PositionCountOutOfRange},
        {Cage(36.0, 3.0, 1.0, 8, 0), ArrangementStatus::BundleSizeOutOfRange},
        {Cage(36.0, 3.0, 1.0, 8, 4), ArrangementStatus::BundleSizeOutOfRange},
        {Cage(36.0, 3.0, 1.0, 101, 3), ArrangementStatus::TooManyBars},
        {Cage(36.0, 17.5, 1.0, 8, 1), ArrangementStatus::RadiusNotPositive},  // R = 17.5 - 17.5 = 0
    };
    for (const Case& c : kCases) {
        std::vector<BarPoint> bars{{1.0, 1.0}};
        EXPECT_EQ(ArrangeBarsInCircle(c.cage, bars), c.status) << DescribeArrangementStatus(c.status);
        EXPECT_TRUE(bars.empty());
    }
    // Exactly 300 bars is accepted; a bar diameter beyond 100 is taken as 0.
    std::vector<BarPoint> bars;
    EXPECT_EQ(ArrangeBarsInCircle(Cage(36.0, 3.0, 1.0, 100, 3), bars), ArrangementStatus::Ok);
    EXPECT_EQ(bars.size(), 300u);
    ASSERT_EQ(ArrangeBarsInCircle(Cage(36.0, 3.0, 150.0, 4, 1), bars), ArrangementStatus::Ok);
    EXPECT_NEAR(bars[0].x, 15.0, kTol);
}

// ---------------------------------------------------------------------------
// Square strand patterns. W = 24, d = 0.5, c = 1.75 give a = 10.

SquareStrandLayout Square(int n, int pattern) {
    SquareStrandLayout layout;
    layout.SectionWidth = 24.0;
    layout.StrandDiameter = 0.5;
    layout.Cover = 1.75;
    layout.StrandCount = n;
    layout.Pattern = pattern;
    return layout;
}

void ExpectPoints(const std::vector<BarPoint>& actual, const std::vector<BarPoint>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(actual[i].x, expected[i].x, 1e-3) << "strand " << i + 1;
        EXPECT_NEAR(actual[i].y, expected[i].y, 1e-3) << "strand " << i + 1;
    }
}

TEST(SquareStrandPattern, TwelveSixNineFiveFourAndOneStrands) {
    struct Case {
        int n, pattern;
        std::vector<BarPoint> points;
    };
    const double t = 10.0 / 3.0;
    const Case kCases[] = {
        {12, 1, {{-10, -10}, {-t, -10}, {t, -10}, {10, -10}, {10, -t}, {10, t},
                 {10, 10}, {t, 10}, {-t, 10}, {-10, 10}, {-10, t}, {-10, -t}}},
        {12, 2, {{-10, -10}, {-t, -10}, {t, -10}, {10, -10}, {10, -t}, {10, t},
                 {10, 10}, {t, 10}, {-t, 10}, {-10, 10}, {-10, t}, {-10, -t}}},
        // Pattern 1 puts the extra pair on the horizontal sides ...
        {6, 1, {{-10, -10}, {0, -10}, {10, -10}, {10, 10}, {0, 10}, {-10, 10}}},
        // ... pattern 2 on the vertical sides.
        {6, 2, {{-10, -10}, {10, -10}, {10, 0}, {10, 10}, {-10, 10}, {-10, 0}}},
        {9, 1, {{-10, -10}, {0, -10}, {10, -10}, {10, 0}, {10, 10}, {0, 10}, {-10, 10}, {-10, 0}, {0, 0}}},
        {9, 2, {{-10, -10}, {0, -10}, {10, -10}, {10, 0}, {10, 10}, {0, 10}, {-10, 10}, {-10, 0}, {0, 0}}},
        {4, 1, {{-10, -10}, {10, -10}, {10, 10}, {-10, 10}}},
        {5, 2, {{-10, -10}, {10, -10}, {10, 10}, {-10, 10}, {0, 0}}},
        {1, 1, {{0, 0}}},
        {1, 2, {{0, 0}}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE("n = " + std::to_string(c.n) + ", pattern " + std::to_string(c.pattern));
        std::vector<BarPoint> strands;
        ASSERT_EQ(ArrangeStrandsOnSquare(Square(c.n, c.pattern), strands), ArrangementStatus::Ok);
        ExpectPoints(strands, c.points);
    }
}

TEST(SquareStrandPattern, EveryPlaceableCountGivesDistinctPerimeterPoints) {
    for (int pattern : {1, 2}) {
        for (int n = 4; n <= 300; ++n) {
            std::vector<BarPoint> strands;
            ASSERT_EQ(ArrangeStrandsOnSquare(Square(n, pattern), strands), ArrangementStatus::Ok) << n;
            ASSERT_EQ(strands.size(), static_cast<std::size_t>(n)) << n;
            std::set<std::pair<long, long>> seen;
            for (std::size_t i = 0; i < strands.size(); ++i) {
                const BarPoint& p = strands[i];
                const bool centre = n % 2 == 1 && i + 1 == strands.size();
                if (centre) {
                    EXPECT_EQ(p.x, 0.0);
                    EXPECT_EQ(p.y, 0.0);
                } else {
                    const bool on_side = std::fabs(std::fabs(p.x) - 10.0) < 1e-9 || std::fabs(std::fabs(p.y) - 10.0) < 1e-9;
                    EXPECT_TRUE(on_side) << "n " << n << " strand " << i + 1;
                    EXPECT_LE(std::fabs(p.x), 10.0 + 1e-9);
                    EXPECT_LE(std::fabs(p.y), 10.0 + 1e-9);
                }
                seen.insert({std::lround(p.x * 1e6), std::lround(p.y * 1e6)});
            }
            EXPECT_EQ(seen.size(), strands.size()) << "coincident strands, n " << n << " pattern " << pattern;
        }
    }
}

TEST(SquareStrandPattern, UnplaceableInputIsRefused) {
    struct Case {
        SquareStrandLayout layout;
        ArrangementStatus status;
    };
    SquareStrandLayout tight = Square(8, 1);
    tight.Cover = 12.0;  // a = 11.75 - 12 < 0
    const Case kCases[] = {
        {Square(0, 1), ArrangementStatus::StrandCountNotPlaceable},
        {Square(2, 1), ArrangementStatus::StrandCountNotPlaceable},
        {Square(3, 2), ArrangementStatus::StrandCountNotPlaceable},
        {Square(-4, 2), ArrangementStatus::StrandCountNotPlaceable},
        {Square(301, 1), ArrangementStatus::StrandCountNotPlaceable},
        {Square(8, 0), ArrangementStatus::PatternOutOfRange},
        {Square(8, 3), ArrangementStatus::PatternOutOfRange},
        {tight, ArrangementStatus::SquareTooSmall},
    };
    for (const Case& c : kCases) {
        std::vector<BarPoint> strands{{1.0, 1.0}};
        EXPECT_EQ(ArrangeStrandsOnSquare(c.layout, strands), c.status) << DescribeArrangementStatus(c.status);
        EXPECT_TRUE(strands.empty());
    }
}

}  // namespace
}  // namespace trevasc::section
