// Slicing of every section shape: the slice areas of each component must sum
// to the exact area of that component (closed-form circle, ring and polygon
// areas), and the circular-segment and polygon-clipping primitives must agree
// with elementary geometry.
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <string>

#include "section/geometry.hpp"
#include "section_fixtures.hpp"

namespace trevasc::testing {

using model::PileSection;
using enum model::SectionTypeCode;

namespace {

using section::SectionWorkspace;

double Sum(const std::array<double, section::kSliceCount>& values) {
    return std::accumulate(values.begin(), values.end(), 0.0);
}

double Circle(double d) { return kPi * d * d / 4.0; }

TEST(SectionGeometry, SegmentAreaMatchesElementaryCases) {
    const double d = 10.0;
    // Chord above the top, at the top, through the centre, at and below the bottom.
    EXPECT_DOUBLE_EQ(section::SegmentArea(d, -3.0), 0.0);
    EXPECT_NEAR(section::SegmentArea(d, 0.0), 0.0, 1e-12);
    EXPECT_NEAR(section::SegmentArea(d, 5.0), Circle(d) / 2.0, 1e-12);
    EXPECT_NEAR(section::SegmentArea(d, 10.0), Circle(d), 1e-12);
    EXPECT_NEAR(section::SegmentArea(d, 14.0), Circle(d), 1e-12);
    // A chord at h = d/4: cos(theta) = 1/2, theta = pi/3, area = d^2/8 (2pi/3 - sin(2pi/3)).
    EXPECT_NEAR(section::SegmentArea(d, 2.5), d * d / 8.0 * (2.0 * kPi / 3.0 - std::sqrt(3.0) / 2.0), 1e-12);
    // Complementary segments make the whole circle.
    EXPECT_NEAR(section::SegmentArea(d, 3.7) + section::SegmentArea(d, 6.3), Circle(d), 1e-12);
}

TEST(SectionGeometry, PolygonAreaBelowClipsASquareAndATriangle) {
    const std::vector<section::Vertex> square = section::RectangleOutline(4.0, 6.0);  // x +-2, y +-3
    struct Case {
        double Y;
        double expected;
    };
    for (const Case& c : {Case{3.5, 24.0}, Case{3.0, 24.0}, Case{1.0, 16.0}, Case{-3.0, 0.0}, Case{-4.0, 0.0}}) {
        EXPECT_NEAR(section::PolygonAreaBelow(square, c.Y), c.expected, 1e-12) << "Y = " << c.Y;
    }
    // Triangle apex up: below y = 1 of the triangle (0,0),(4,0),(2,2) is the
    // whole (4) less the top triangle of half height (1).
    const std::vector<section::Vertex> triangle = {{0, 0}, {4, 0}, {2, 2}};
    EXPECT_NEAR(section::PolygonAreaBelow(triangle, 1.0), 3.0, 1e-12);
}

TEST(SectionGeometry, FindSliceAssignsBoundariesToTheLowerSliceAndOutsidePointsToSlice100) {
    SectionWorkspace ws = SlicedWorkspace(DrilledShaft(24.0, 4.0));
    const section::SliceTable& s = ws.slices;
    EXPECT_EQ(section::fn_FindSliceY(s, 12.0), 1);          // the compression face
    EXPECT_EQ(section::fn_FindSliceY(s, s.SliceY[1]), 2);   // SliceY(i-1) >= Y > SliceY(i)
    EXPECT_EQ(section::fn_FindSliceY(s, s.SliceY[1] + 1e-9), 1);
    EXPECT_EQ(section::fn_FindSliceY(s, 0.1), 50);
    EXPECT_EQ(section::fn_FindSliceY(s, -0.1), 51);
    EXPECT_EQ(section::fn_FindSliceY(s, 13.0), 100);        // above the section
    EXPECT_EQ(section::fn_FindSliceY(s, -12.0), 100);       // at the bottom face
}

// Every component of every shape: exact totals.
struct AreaCase {
    std::string name;
    PileSection section;
    int shape;
    double concrete;        // net concrete + bars (gross concrete less core or void)
    double bars;
    double casing;
    double core_steel;
    double inner_concrete;
};

PileSection WithType(PileSection s, std::int32_t type) {
    s.SectionType = type;
    return s;
}

std::vector<AreaCase> AreaCases() {
    std::vector<AreaCase> cases;
    {
        PileSection s = RectangularPile(24.0, 12.0, 4.0);
        SetRebar(s, {Bar(-4, -9.5, 1.0, 0.79), Bar(0, -9.5, 1.0, 0.79), Bar(4, -9.5, 1.0, 0.79), Bar(0, 9.5, 1.0, 0.79)});
        cases.push_back({"rectangle", s, section::kShapeRectangle, 288.0, 4 * 0.79, 0, 0, 0});
    }
    {
        PileSection s = DrilledShaft(36.0, 4.0);
        SetRebar(s, BarsOnCircle(12, 14.5, 1.128, 1.0));
        cases.push_back({"drilled shaft", s, section::kShapeCircle, Circle(36.0), 12.0, 0, 0, 0});
    }
    {
        PileSection s = DrilledShaft(36.0, 4.0);
        s.SectionType = kDrilledShaftWithCasing;
        s.SteelThickness = 0.5;
        s.SteelYieldStress = 36000.0;
        s.SteelModulus = 29.0e6;
        SetRebar(s, BarsOnCircle(8, 13.5, 1.0, 0.79));
        cases.push_back({"cased shaft", s, section::kShapeCasedCircle, Circle(35.0), 8 * 0.79,
                         Circle(36.0) - Circle(35.0), 0, 0});
    }
    for (bool filled : {true, false}) {
        PileSection s = DrilledShaft(36.0, 4.0);
        s.SectionType = kDrilledShaftWithCasingAndCore;
        s.SteelThickness = 0.5;
        s.SteelYieldStress = 36000.0;
        s.SteelModulus = 29.0e6;
        s.CoreDiameter = 12.0;
        s.CoreThickness = 0.5;
        s.CoreYieldStress = 36000.0;
        s.CoreModulus = 29.0e6;
        s.b_FillCoreWithConcrete = filled;
        SetRebar(s, BarsOnCircle(8, 13.5, 1.0, 0.79));
        cases.push_back({filled ? "cased shaft, filled core" : "cased shaft, void core", s,
                         section::kShapeCasedCircleWithCore, Circle(35.0) - Circle(12.0), 8 * 0.79,
                         Circle(36.0) - Circle(35.0), Circle(12.0) - Circle(11.0), filled ? Circle(11.0) : 0.0});
    }
    cases.push_back({"steel pipe", SteelPipe(24.0, 0.5, 36000.0, 29.0e6), section::kShapeSteelRing, 0, 0,
                     Circle(24.0) - Circle(23.0), 0, 0});

    PileSection square = PrestressedSquare(18.0, 2.0, 2, 6.0, 200000.0, 0.2);
    const double strands = 8 * 0.153;
    cases.push_back({"chamfered square", square, section::kShapePolygon, 18.0 * 18.0 - 2.0 * 2.0 * 2.0, strands, 0, 0, 0});
    PileSection plain_square = square;
    plain_square.CornerChamfer = 0.0;
    cases.push_back({"square, chamfer 0", plain_square, section::kShapeRectangle, 324.0, strands, 0, 0, 0});
    PileSection hollow_square = WithType(square, kSquareHollowPrestressed);
    hollow_square.VoidDiameter = 8.0;
    cases.push_back({"hollow chamfered square", hollow_square, section::kShapePolygonWithVoid,
                     316.0 - Circle(8.0), strands, 0, 0, 0});
    PileSection hollow_plain = hollow_square;
    hollow_plain.CornerChamfer = 0.0;
    cases.push_back({"hollow square, chamfer 0", hollow_plain, section::kShapeRectangleWithVoid,
                     324.0 - Circle(8.0), strands, 0, 0, 0});

    // Regular octagon of flat-to-flat width W with half-edge 0.2071 W: the
    // square less four corner triangles of legs W/2 - 0.2071 W.
    const double W = 24.0;
    const double leg = W / 2.0 - 0.2071 * W;
    PileSection octagon = WithType(PrestressedSquare(W, 0.0, 2, 8.0, 300000.0, 0.2), kOctagonalSolidPrestressed);
    cases.push_back({"octagon", octagon, section::kShapePolygon, W * W - 2.0 * leg * leg, strands, 0, 0, 0});
    PileSection hollow_octagon = WithType(octagon, kOctagonalHollowPrestressed);
    hollow_octagon.VoidDiameter = 10.0;
    cases.push_back({"hollow octagon", hollow_octagon, section::kShapePolygonWithVoid,
                     W * W - 2.0 * leg * leg - Circle(10.0), strands, 0, 0, 0});

    PileSection round = WithType(PrestressedSquare(24.0, 0.0, 2, 7.0, 300000.0, 0.2), kCircularSolidPrestressed);
    cases.push_back({"round prestressed", round, section::kShapeCircle, Circle(24.0), strands, 0, 0, 0});
    PileSection round_hollow = WithType(round, kCircularHollowPrestressed);
    round_hollow.VoidDiameter = 12.0;
    cases.push_back({"round hollow prestressed", round_hollow, section::kShapeCircleWithVoid,
                     Circle(24.0) - Circle(12.0), strands, 0, 0, 0});
    return cases;
}

TEST(SectionGeometry, SliceAreasSumToTheExactAreaOfEveryComponent) {
    for (const AreaCase& c : AreaCases()) {
        SCOPED_TRACE(c.name);
        const SectionWorkspace ws = SlicedWorkspace(c.section);
        const section::SliceTable& s = ws.slices;
        EXPECT_EQ(ws.Shape, c.shape);
        const double tolerance = 1e-9 * std::max(1.0, c.concrete + c.casing);
        EXPECT_NEAR(Sum(s.NetConcrete) + Sum(s.BarArea), c.concrete, tolerance);
        EXPECT_NEAR(Sum(s.BarArea), c.bars, 1e-12 * std::max(1.0, c.bars));
        EXPECT_NEAR(Sum(s.CasingArea), c.casing, tolerance);
        EXPECT_NEAR(Sum(s.CoreSteel), c.core_steel, tolerance);
        EXPECT_NEAR(Sum(s.InnerConcrete), c.inner_concrete, tolerance);
        EXPECT_NEAR(ws.Ac, c.concrete - c.bars, tolerance);
        EXPECT_NEAR(ws.As, c.bars, 1e-12 * std::max(1.0, c.bars));
        for (int i = 0; i < section::kSliceCount; ++i) {
            EXPECT_GE(s.GrossConcrete[i], -1e-9) << "slice " << i + 1;
            EXPECT_GE(s.CasingArea[i], -1e-9) << "slice " << i + 1;
        }
    }
}

TEST(SectionGeometry, CircleSlicesAreSymmetricAboutMidDepth) {
    const SectionWorkspace ws = SlicedWorkspace(DrilledShaft(24.0, 4.0));
    const section::SliceTable& s = ws.slices;
    EXPECT_DOUBLE_EQ(ws.t, 0.24);
    EXPECT_NEAR(s.GrossConcrete[0], s.GrossConcrete[99], 1e-9);
    EXPECT_NEAR(s.GrossConcrete[49], s.GrossConcrete[50], 1e-9);
    EXPECT_NEAR(Sum(s.GrossConcrete), Circle(24.0), 1e-9);
    // Centroid depths: (i - 0.5) t.
    EXPECT_DOUBLE_EQ(s.Depth[0], 0.12);
    EXPECT_NEAR(s.Depth[99], 23.88, 1e-12);
}

TEST(SectionGeometry, BarsAreSmearedOverTheSlicesTheyCross) {
    PileSection shaft = DrilledShaft(24.0, 4.0);
    // Bar 1 lies inside slice 1 (12.0 .. 11.76); bar 2, whose area is that of
    // its diameter, is centred on mid-depth and crosses slices 48 to 53.
    SetRebar(shaft, {Bar(0.0, 11.88, 0.1, 0.00785), Bar(0.0, 0.0, 1.0, kPi / 4.0)});
    const SectionWorkspace ws = SlicedWorkspace(shaft);
    const section::SliceTable& s = ws.slices;
    EXPECT_DOUBLE_EQ(s.BarArea[0], 0.00785);
    double crossing = 0.0;
    for (int i = 47; i <= 52; ++i) {
        EXPECT_GT(s.BarArea[i], 0.0) << "slice " << i + 1;
        crossing += s.BarArea[i];
    }
    EXPECT_NEAR(crossing, kPi / 4.0, 1e-12);
    EXPECT_EQ(s.BarArea[46], 0.0);
    EXPECT_EQ(s.BarArea[53], 0.0);
    // The equal-area circle is cut symmetrically about its centre.
    EXPECT_NEAR(s.BarArea[49], s.BarArea[50], 1e-12);
    EXPECT_NEAR(s.BarArea[48], s.BarArea[51], 1e-12);
    // Net concrete = gross - bars in the bar slices.
    EXPECT_NEAR(s.NetConcrete[49], s.GrossConcrete[49] - s.BarArea[49], 1e-12);

    // A bar whose listed diameter differs from that of its area is cut with
    // the equal-area circle from its listed top; the bottom slice takes the
    // rest, so its pieces still sum to its area.
    PileSection odd = DrilledShaft(24.0, 4.0);
    SetRebar(odd, {Bar(0.0, 0.0, 1.0, 0.79)});
    EXPECT_NEAR(Sum(SlicedWorkspace(odd).slices.BarArea), 0.79, 1e-12);
}

// A bar is smeared as the circle of its own area centred on the bar, so the
// first moment of its slice areas about its centre vanishes when the centre
// lies on a slice boundary or mid-slice (the cut is then symmetric). Measuring
// that circle from the top of the nominal diameter would move a 0.5 in strand
// (equal-area diameter 0.441 in) 0.03 in toward the compression face.
TEST(SectionGeometry, SmearedBarAreaIsCentredOnTheBar) {
    struct Case {
        const char* what;
        double y;         // centre: 0 is the boundary of slices 50 and 51, 0.12 mid-slice 50
        double diameter;  // nominal
        double area;
    };
    const Case kCases[] = {
        {"0.5 in strand on a boundary", 0.0, 0.5, 0.153},
        {"0.5 in strand mid-slice", 0.12, 0.5, 0.153},
        {"#8 bar on a boundary", 0.0, 1.0, 0.79},
        {"#11 bar mid-slice", 0.12, 1.41, 1.56},
    };
    for (const Case& c : kCases) {
        PileSection shaft = DrilledShaft(24.0, 4.0);  // slices of 0.24 in
        SetRebar(shaft, {Bar(0.0, c.y, c.diameter, c.area)});
        const SectionWorkspace ws = SlicedWorkspace(shaft);
        double area = 0.0, moment = 0.0;
        for (int i = 0; i < section::kSliceCount; ++i) {
            area += ws.slices.BarArea[i];
            moment += ws.slices.BarArea[i] * (ws.D / 2.0 - ws.slices.Depth[i] - c.y);
        }
        EXPECT_NEAR(area, c.area, 1e-12) << c.what;
        EXPECT_NEAR(moment / c.area, 0.0, 1e-9) << c.what;
    }
}

TEST(SectionGeometry, HollowPileVoidRemovesConcreteWithoutAddingSteel) {
    PileSection hollow = WithType(PrestressedSquare(24.0, 0.0, 2, 7.0, 300000.0, 0.2), kCircularHollowPrestressed);
    hollow.VoidDiameter = 12.0;
    const SectionWorkspace ws = SlicedWorkspace(hollow);
    EXPECT_EQ(Sum(ws.slices.CoreSteel), 0.0);
    EXPECT_EQ(Sum(ws.slices.InnerConcrete), 0.0);
    EXPECT_TRUE(ws.CoreSlices.empty());
    // The slices through the void's middle hold concrete only at the sides.
    EXPECT_LT(ws.slices.GrossConcrete[49], SlicedWorkspace(WithType(hollow, kCircularSolidPrestressed)).slices.GrossConcrete[49]);
}

}  // namespace
}  // namespace trevasc::testing
