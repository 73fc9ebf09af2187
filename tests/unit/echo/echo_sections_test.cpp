// Echo of the pile sections: the labels, value formats and unit texts of every
// elastic and elastic-plastic cross-section shape, the user-defined EI table,
// and the pile property points the p-y curves are computed from.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "echo/echo_deck.hpp"

namespace trevasc {
namespace {

using echo_testing::Contains;
using echo_testing::Deck;
using echo_testing::Labelled;

// A value written by hand, right-aligned in the 15 columns of the section echo.
std::string R15(const std::string& value) { return echo_testing::Right(value, 15); }

// One row of the moment-EI table: I7, 7X, F20.3, F25.3, F21.10.
std::string EIRow(const std::string& point, const std::string& moment, const std::string& ei,
                  const std::string& curvature) {
    using echo_testing::Right;
    return Right(point, 7) + std::string(7, ' ') + Right(moment, 20) + Right(ei, 25) + Right(curvature, 21);
}

// One property point: I3, 5X, depth in 13 columns and width in 14, each an
// adaptive number (a blank, then the value in one column fewer).
std::string PointRow(const std::string& point, const std::string& depth, const std::string& width) {
    using echo_testing::Right;
    return Right(point, 3) + std::string(5, ' ') + " " + Right(depth, 12) + std::string(5, ' ') + " " +
           Right(width, 13);
}

// "   label" = value and its unit text, as one section line.
std::string Row(const std::string& label, const std::string& value, const std::string& unit) {
    return Labelled("   " + label, R15(value) + unit);
}

struct ShapeCase {
    const char* name;
    int type;                         // 11 elastic, 12 elastic with moment capacity
    int shape;                        // ElasticShape 1 to 6
    std::string lines;                // the section's lines after its shape line
    std::vector<std::string> echo;    // from the shape line to the last value line
};

const std::string kLength = Row("Section Length", "40.000", " ft");
const std::string kModulus = Row("Elastic Modulus", "29000000.", " lbs/in^2");

const ShapeCase kShapeCases[] = {
    {"ElasticRectangular", 11, 1, "29000000.0\n12.0\n10.0\n18.0\n16.0\n216.0\n160.0\n5832.0\n3413.333\n",
     {Labelled("   Cross-sectional Shape", "    Rectangular"), kLength, Row("Top Width", "12.000", " in"),
      Row("Bottom Width", "10.000", " in"), Row("Top Section Depth", "18.000", " in"),
      Row("Bottom Section Depth", "16.000", " in"), Row("Top Area", "216.000000", " Sq.  in"),
      Row("Bottom Area", "160.000000", " Sq.  in"), Row("Moment of Inertia at Top", "5832.000", " in^4"),
      Row("Moment of Inertia at Bottom", "3413.333", " in^4"), kModulus}},
    {"ElasticCircular", 11, 2, "29000000.0\n18.0\n16.0\n254.469\n201.062\n5153.0\n3217.0\n",
     {Labelled("   Cross-sectional Shape", "       Circular"), kLength, Row("Top Width", "18.000", " in"),
      Row("Bottom Width", "16.000", " in"), Row("Top Area", "254.469000", " sq. in"),
      Row("Bottom Area", "201.062000", " sq. in"), Row("Moment of Inertia at Top", "5153.000", " in^4"),
      Row("Moment of Inertia at Bottom", "3217.000", " in^4"), kModulus}},
    {"ElasticPipe", 11, 3, "29000000.0\n24.0\n24.0\n0.5\n0.375\n36.914\n27.833\n2549.353\n1942.255\n",
     {Labelled("   Cross-sectional Shape", "  Circular Pipe"), kLength, Row("Top Width", "24.000", " in"),
      Row("Bottom Width", "24.000", " in"), Row("Wall Thickness at Top", "0.500", " in"),
      Row("Wall Thickness at Bottom", "0.375", " in"), Row("Top Area", "36.914000", " sq. in"),
      Row("Bottom Area", "27.833000", " sq. in"), Row("Moment of Inertia at Top", "2549.353", " in**4"),
      Row("Moment of Inertia at Bottom", "1942.255", " in**4"), kModulus}},
    {"ElasticStrongHPile", 11, 4, "29000000.0\n14.585\n13.61\n0.505\n0.505\n21.4\n729.0\n",
     {Labelled("   Cross-sectional Shape", "  Strong H-Pile"), kLength, Row("Flange Width", "14.5850", " in"),
      Row("Section Depth", "13.6100", " in"), Row("Flange Thickness", "0.5050", " in"),
      Row("Web Thickness", "0.5050", " in"), Row("Section Area", "21.400000", " sq. in"),
      Row("Moment of Inertia at Top", "729.000", " in**4"), kModulus}},
    {"ElasticWeakHPile", 11, 5, "29000000.0\n14.585\n13.61\n0.505\n0.505\n21.4\n261.0\n",
     {Labelled("   Cross-sectional Shape", "    Weak H-Pile"), kLength, Row("Flange Width", "14.585", " in"),
      Row("Section Depth", "13.6100", " in"), Row("Flange Thickness", "0.505", " in"),
      Row("Web Thickness", "0.505", " in"), Row("Area", "21.400000", " sq. in"),
      Row("Moment of Inertia at Top", "261.000", " in^4"), kModulus}},
    {"ElasticEmbeddedPole", 11, 6, "29000000.0\n12.0\n14.0\n113.097\n153.938\n1017.876\n1885.741\n24.0\n",
     {Labelled("   Cross-sectional Shape", "Embedded Circular Pole"), kLength, Row("Top Width", "12.000", " in"),
      Row("Bottom Width", "14.000", " in"), Row("Top Area", "113.097000", " sq. in"),
      Row("Bottom Area", "153.938000", " sq. in"), Row("Moment of Inertia at Top", "1017.876", " in^4"),
      Row("Moment of Inertia at Bottom", "1885.741", " in^4"), Row("Drilled Hole Diameter", "24.000", " in"),
      kModulus}},
    {"PlasticRectangular", 12, 1,
     "29000000.0\n1500000.0\n1200000.0\n12.0\n10.0\n18.0\n16.0\n216.0\n160.0\n5832.0\n3413.333\n",
     {Labelled("   Cross-sectional Shape", "    Rectangular"), kLength, Row("Top Width", "12.000", " in"),
      Row("Bottom Width", "10.000", " in"), Row("Top Section Depth", "18.000", " in"),
      Row("Bottom Section Depth", "16.000", " in"), Row("Top Area", "216.000000", " sq. in"),
      Row("Bottom Area", "160.000000", " sq. in"), Row("Moment of Inertia at Top", "5832.000", " in^4"),
      Row("Moment of Inertia at Bottom", "3413.333", " in^4"), kModulus,
      Row("Top Plastic Moment Capacity", "1500000.000", " in-lb"),
      Row("Bot Plastic Moment Capacity", "1200000.000", " in-lb")}},
    {"PlasticCircular", 12, 2, "29000000.0\n900000.0\n800000.0\n18.0\n16.0\n254.469\n201.062\n5153.0\n3217.0\n",
     {Labelled("   Cross-sectional Shape", "       Circular"), kLength, Row("Top Width", "18.000", " in"),
      Row("Bottom Width", "16.000", " in"), Row("Top Area", "254.469000", " Sq. in"),
      Row("Bottom Area", "201.062000", " Sq. in"), Row("Moment of Inertia at Top", "5153.000", " in^4"),
      Row("Moment of Inertia at Bottom", "3217.000", " in^4"), kModulus,
      Row("Top Plastic Moment Capacity", "900000.000", " in-lb"),
      Row("Bot Plastic Moment Capacity", "800000.000", " in-lb")}},
    {"PlasticPipe", 12, 3,
     "29000000.0\n2000000.0\n1600000.0\n24.0\n24.0\n0.5\n0.375\n36.914\n27.833\n2549.353\n1942.255\n",
     {Labelled("   Cross-sectional Shape", "  Circular Pipe"), kLength, Row("Top Width", "24.000", " in"),
      Row("Bottom Width", "24.000", " in"), Row("Wall Thickness at Top", "0.500", " in"),
      Row("Wall Thickness at Bottom", "0.375", " in"), Row("Top Area", "36.914000", " sq. in"),
      Row("Bottom Area", "27.833000", " sq. in"), Row("Moment of Inertia at Top", "2549.353", " in^4"),
      Row("Moment of Inertia at Bottom", "1942.255", " in^4"), kModulus,
      Row("Top Plastic Moment Capacity", "2000000.000", " in-lb"),
      Row("Bot Plastic Moment Capacity", "1600000.000", " in-lb")}},
    // Shapes 4 and 5 take one plastic moment, which holds for the bottom too.
    {"PlasticStrongHPile", 12, 4, "29000000.0\n5900000.0\n14.585\n13.61\n0.505\n0.505\n21.4\n729.0\n",
     {Labelled("   Cross-sectional Shape", "  Strong H-Pile"), kLength, Row("Flange Width", "14.585", " in"),
      Row("Section Depth", "13.6100", " in"), Row("Flange Thickness", "0.505", " in"),
      Row("Web Thickness", "0.505", " in"), Row("Area", "21.400000", " sq. in"),
      Row("Moment of Inertia at Top", "729.000", " in^4"), kModulus,
      Row("Top Plastic Moment Capacity", "5900000.000", " in-lb"),
      Row("Bot Plastic Moment Capacity", "5900000.000", " in-lb")}},
    {"PlasticWeakHPile", 12, 5, "29000000.0\n2200000.0\n14.585\n13.61\n0.505\n0.505\n21.4\n261.0\n",
     {Labelled("   Cross-sectional Shape", "    Weak H-Pile"), kLength, Row("Flange Width", "14.585", " in"),
      Row("Section Depth", "13.6100", " in"), Row("Flange Thickness", "0.505", " in"),
      Row("Web Thickness", "0.505", " in"), Row("Area", "21.400000", " sq. in"),
      Row("Moment of Inertia at Top", "261.000", " in^4"), kModulus,
      Row("Top Plastic Moment Capacity", "2200000.000", " in-lb"),
      Row("Bot Plastic Moment Capacity", "2200000.000", " in-lb")}},
    {"PlasticEmbeddedPole", 12, 6,
     "29000000.0\n300000.0\n350000.0\n12.0\n14.0\n113.097\n153.938\n1017.876\n1885.741\n24.0\n",
     {Labelled("   Cross-sectional Shape", "Embedded Circular Pole"), kLength, Row("Top Width", "12.000", " in"),
      Row("Bottom Width", "14.000", " in"), Row("Top Area", "113.097000", " sq. in"),
      Row("Bottom Area", "153.938000", " sq. in"), Row("Moment of Inertia at Top", "1017.876", " in^4"),
      Row("Moment of Inertia at Bottom", "1885.741", " in^4"), Row("Drilled Hole Diameter", "24.000", " in"),
      kModulus, Row("Top Plastic Moment Capacity", "300000.000", " in-lb"),
      Row("Bot Plastic Moment Capacity", "350000.000", " in-lb")}},
};

class ElasticShapeEcho : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(ElasticShapeEcho, WritesTheShapeLinesInOrderWithTheirUnits) {
    const ShapeCase& c = GetParam();
    Deck deck;
    deck.sections =
        "1\n1\n" + std::to_string(c.type) + "\n40.0\n" + std::to_string(c.shape) + "\n" + c.lines;
    const auto out = echo_testing::Run(deck);
    std::vector<std::string> block = {
        "Input Structural Properties:", "----------------------------", "", "Pile Section No. 1:", "",
        c.type == 11 ? Labelled("   Section Type", "   Elastic Pile")
                     : Labelled("   Section Type", "Elastic with Specified Moment Capacity ")};
    block.insert(block.end(), c.echo.begin(), c.echo.end());
    // Three empty lines close the section echo.
    block.insert(block.end(), {"", "", ""});
    EXPECT_TRUE(Contains(out.ReportLines(), block)) << out.report;
    EXPECT_TRUE(echo_testing::EchoCompleted(out)) << out.messages;
}

std::string ShapeCaseName(const ::testing::TestParamInfo<ShapeCase>& param_info) { return param_info.param.name; }

INSTANTIATE_TEST_SUITE_P(AllShapes, ElasticShapeEcho, ::testing::ValuesIn(kShapeCases), ShapeCaseName);

// The moment-EI table divides each moment by its stiffness for the curvature
// column, and repeats the table for every thrust level.
TEST(SectionEcho, UserDefinedEIWritesOneTablePerThrustWithCurvatures) {
    Deck deck;
    deck.sections = "1\n1\n13\n50.0\n24.0\n2\n0.0\n3\n0.0\n7.4E10\n2.0E6\n7.0E10\n4.0E6\n3.0E10\n"
                    "100.0\n2\n0.0\n7.6E10\n2.5E6\n7.2E10\n";
    deck.soil = "1\n13 0.0 55.0\n60.0 300.0\n60.0 300.0\n";
    const auto out = echo_testing::Run(deck);
    const std::string header = "   Point         Bending Moment         Bending Stiffness         Bending Curvature";
    const std::string units = "    No.            lbs-in" + std::string(20, ' ') + "lbs-in^2" + std::string(17, ' ') +
                              "Radians/in";
    const std::string rule = "   -----      --------------------     --------------------     --------------------";
    const std::vector<std::string> block = {
        Labelled("   Section Type", "Pile with User-defined Nonlinear EI"),
        Row("Section Length", "50.000", " ft"),
        // The width is followed directly by the 3-character length label
        // right-aligned in four columns.
        Labelled("   Section Width", R15("24.000") + " in "),
        Labelled("   Number of Axial Thrusts", R15("2")),
        "",
        Row("Axial Thrust", "0.000", " lbs"),
        "",
        Labelled("   Number of M-EI Points", R15("3")),
        "",
        header,
        units,
        rule,
        EIRow("1", "0.000", "74000000000.000", "0.0000000000"),
        EIRow("2", "2000000.000", "70000000000.000", "0.0000285714"),
        EIRow("3", "4000000.000", "30000000000.000", "0.0001333333"),
        Row("Axial Thrust", "100.000", " lbs"),
        "",
        Labelled("   Number of M-EI Points", R15("2")),
        "",
        header,
        units,
        rule,
        EIRow("1", "0.000", "76000000000.000", "0.0000000000"),
        EIRow("2", "2500000.000", "72000000000.000", "0.0000347222"),
        "",
        "",
    };
    EXPECT_TRUE(Contains(out.ReportLines(), block)) << out.report;
}

// Two property points per section, at its top and bottom; the widths are
// those the p-y curves use (the drilled-hole diameter for an embedded pole).
TEST(SectionEcho, PropertyPointsListEachSectionsTopAndBottom) {
    Deck deck;
    deck.sections = "2\n"
                    "1\n11\n15.0\n2\n29000000.0\n18.0\n18.0\n254.469\n254.469\n5153.0\n5153.0\n"
                    "2\n11\n25.0\n6\n1600000.0\n12.0\n14.0\n113.097\n153.938\n1017.876\n1885.741\n30.0\n";
    const auto out = echo_testing::Run(deck);
    const std::vector<std::string> block = {
        Labelled("Total Number of Sections", "         2"),
        "",
        Labelled("Total Pile Length", "     40.00 ft"),
        "",
        Labelled("Depth of ground surface below top of pile", "      0.00 ft"),
        "",
        Labelled("Slope angle of ground surface", "      0.00 deg."),
        "",
        "Pile dimensions used for p-y curve computations defined using 4 points.",
        "p-y curves are computed using values of pile diameter interpolated over ",
        "the length of the pile.",
        "",
        "Point         Depth              Pile   ",
        "                X              Diameter ",
        std::string(16, ' ') + "ft" + std::string(16, ' ') + "in",
        "-----       ---------        -----------",
        // Zero in five decimals, other depths in six, widths in seven.
        PointRow("1", "0.00000", "18.0000000"),
        PointRow("2", "15.000000", "18.0000000"),
        PointRow("3", "15.000000", "30.0000000"),
        PointRow("4", "40.000000", "30.0000000"),
    };
    EXPECT_TRUE(Contains(out.ReportLines(), block)) << out.report;
}

}  // namespace
}  // namespace trevasc
