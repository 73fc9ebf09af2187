// Echo of the input data: option blocks and the tolerance reset, the loading
// type and its cycle count, the tip shear curve, the p-y output depths, and
// the end of the echo for runs that compute bending stiffness only.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "echo/echo_deck.hpp"
#include "support/run_fixture.hpp"

namespace trevasc {
namespace {

using echo_testing::Contains;
using echo_testing::Deck;
using echo_testing::Find;
using echo_testing::HasLine;
using echo_testing::Heading;
using echo_testing::Labelled;
using echo_testing::Right;
using echo_testing::StopLine;

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

// Appends `more` to `lines`.
std::vector<std::string> Join(std::vector<std::string> lines, const std::vector<std::string>& more) {
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

TEST(EchoOfInput, ProgramOptionsAndZeroToleranceResetInGeneralUnits) {
    std::string input = testing::MinimalInput("Units GENERAL", false);
    input = Replace(input, "Tolerance 1.0E-5", "Tolerance 0");
    input = Replace(input, "ComputeKmatrix NO", "ComputeKmatrix YES");
    input = Replace(input, "PrintSummaryOnly NO", "PrintSummaryOnly YES");
    const auto out = testing::RunInput(input);
    const std::vector<std::string> block = {
        "Engineering units are Generic Units: force, length",
        "",
        "Basic Program Options:",
        "",
        "This analysis computes nonlinear bending stiffness and nominal moment ",
        "capacity with pile response computed using nonlinear EI",
        "",
        "Computation Options:",
        "- Only internally-generated p-y curves used in analysis",
        "- Analysis does not use p-y multipliers (individual pile or shaft action only)",
        "- Analysis assumes no shear resistance at pile tip",
        "- Analysis for fixed-length pile or shaft only",
        "- Analysis includes computation of foundation stiffness matrix elements",
        "- Output summary table of values for pile-head deflection, maximum",
        "  bending moment, and shear force only",
        "- Analysis assumes no soil movements acting on pile",
        "- No p-y curves to be computed and output for user-specified depths",
        "",
        "Solution Control Parameters:",
        Labelled("- Number of pile increments", "         100"),
        Labelled("- Maximum number of iterations allowed", "         100"),
        Labelled("- Deflection tolerance for convergence", "  0.0000E+00 L"),
        Labelled("- Maximum allowable deflection", "    100.0000 L"),
        "",
        "(Specified convergence tolerance of 0 reset by program to 0.2540E-07 meters)",
        "",
        "Pile Response Output Options:",
        "- Only summary tables of pile-head deflection, maximum bending moment,",
        "  and maximum shear force are to be written to output report file.",
        "",
        "",
        Labelled("- Printing Increment (nodal spacing of output points)", "1"),
        "",
        "",
        std::string(80, '-'),
        std::string(20, ' ') + "Pile Structural Properties and Geometry",
        std::string(80, '-'),
        "",
        Labelled("Total Number of Sections", "         0"),
        "",
        Labelled("Total Pile Length", "      0.00 L "),
    };
    EXPECT_TRUE(Contains(out.ReportLines(), block)) << out.report;
}

TEST(EchoOfInput, FileWithoutPileStopsWithError17) {
    const auto out = testing::RunInput(testing::MinimalInput("Units USCS", false));
    EXPECT_EQ(out.code, 117);
    const std::vector<std::string> message = {
        "", "", "**** Input Data Error No. 17 ****", "", "The number of points to define the pile properties ",
        "is 2 to 40, not the input value of          0", ""};
    EXPECT_TRUE(Contains(out.ReportLines(), message)) << out.report;
    EXPECT_TRUE(Contains(out.MessageLines(), message)) << out.messages;
    EXPECT_NE(out.report.find("Trevasc ended prematurely due to input error number INP00017"), std::string::npos);
}

struct ToleranceCase {
    const char* name;
    std::string tolerance;
    std::string echoed;  // E12.4
    bool reset;
};

// GENERAL input is the one unit system whose reader lets a tolerance of zero
// or less through; the echo shows it as given and then replaces it.
const ToleranceCase kToleranceCases[] = {
    {"Negative", "-1.0E-5", " -0.1000E-04", true},
    {"Positive", "1.0E-5", "  0.1000E-04", false},
};

class ToleranceReset : public ::testing::TestWithParam<ToleranceCase> {};

TEST_P(ToleranceReset, OnlyToleranceOfZeroOrLessIsReplaced) {
    const ToleranceCase& c = GetParam();
    Deck deck;
    deck.units = "GENERAL";
    deck.tolerance = c.tolerance;
    const auto out = echo_testing::Run(deck);
    const std::string given = Labelled("- Deflection tolerance for convergence", c.echoed + " L");
    const std::vector<std::string> reset = {
        given, Labelled("- Maximum allowable deflection", "     10.0000 L"), "",
        "(Specified convergence tolerance of 0 reset by program to 0.2540E-07 meters)", "",
        "Pile Response Output Options:"};
    const std::vector<std::string> kept = {given, Labelled("- Maximum allowable deflection", "     10.0000 L"), "",
                                           "Pile Response Output Options:"};
    EXPECT_TRUE(Contains(out.ReportLines(), c.reset ? reset : kept)) << out.report;
}

std::string ToleranceCaseName(const ::testing::TestParamInfo<ToleranceCase>& param_info) {
    return param_info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Tolerances, ToleranceReset, ::testing::ValuesIn(kToleranceCases), ToleranceCaseName);

struct CyclesCase {
    const char* name;
    std::string field;   // columns 15 to 20 of the loading line
    std::string shown;   // the count as written: the whole part of the input
    bool accepted;
};

// The valid range is 2 to 5,000 cycles, judged on the value as given; the
// report shows its whole part.
const CyclesCase kCyclesCases[] = {
    {"One", "     1", "1", false},
    {"JustBelowTwo", "   1.9", "1", false},
    {"Two", "     2", "2", true},
    {"FiveThousand", "  5000", "5000", true},
    {"JustAboveFiveThousand", "5000.5", "5000", false},
    {"FiveThousandAndOne", "  5001", "5001", false},
};

class CyclicLoading : public ::testing::TestWithParam<CyclesCase> {};

TEST_P(CyclicLoading, NumberOfCyclesOutsideTwoToFiveThousandStopsWithError28) {
    const CyclesCase& c = GetParam();
    Deck deck;
    deck.loading = "CYCLIC" + c.field;
    const auto out = echo_testing::Run(deck);
    const std::string count = "Number of cycles of loading = " + c.shown;
    const std::vector<std::string> block =
        Join(Join({"", "", ""}, Heading(34, "Loading Type")),
             {"", "Cyclic loading criteria were used for computation of p-y curves for all analyses.", "", count});
    EXPECT_TRUE(Contains(out.ReportLines(), block)) << out.report;
    if (c.accepted) {
        EXPECT_TRUE(echo_testing::EchoCompleted(out)) << out.report;
        EXPECT_EQ(out.report.find("Error No. 28"), std::string::npos) << out.report;
        return;
    }
    const std::vector<std::string> message = {
        "", "", "**** Input Data Error No. 28 ****", "",
        "Problem:  Cyclic loading type was specified and the number of cycles of loading",
        "are outside the valid range of 2 to 5,000.", "",
        "Solution:  Either correct the number of cycles of loading to be within 2 to 5,000",
        "or specify static loading.", count};
    EXPECT_TRUE(Contains(out.ReportLines(), Join(Join({count}, message), {"", "", StopLine(28)}))) << out.report;
    EXPECT_TRUE(Contains(out.MessageLines(), message)) << out.messages;
    EXPECT_EQ(out.code, 128);
    EXPECT_FALSE(echo_testing::EchoCompleted(out));
    EXPECT_EQ(out.report.find("Pile-head Loading and Pile-head Fixity Conditions"), std::string::npos);
}

std::string CyclesCaseName(const ::testing::TestParamInfo<CyclesCase>& param_info) { return param_info.param.name; }

INSTANTIATE_TEST_SUITE_P(Cycles, CyclicLoading, ::testing::ValuesIn(kCyclesCases), CyclesCaseName);

TEST(EchoOfInput, StaticLoadingLine) {
    const auto out = echo_testing::Run(Deck());
    const std::vector<std::string> block =
        Join(Join({"", "", ""}, Heading(33, "Loading Type")),
             {"", "Static loading criteria were used when computing p-y curves for all analyses."});
    EXPECT_TRUE(Contains(out.ReportLines(), block)) << out.report;
}

struct TipShearCase {
    const char* name;
    std::vector<std::string> points;   // displacement and force of each point
    std::vector<std::string> rows;     // as echoed: I4, 5X, F10.3, 10X, F10.3
    int bad_point;                     // 0: the curve is accepted
};

// The curve must start at a displacement of 0 and rise strictly.
const TipShearCase kTipShearCases[] = {
    {"StartsAwayFromZero", {"0.1 0.0", "0.3 50.0"}, {"1|0.100|0.000", "2|0.300|50.000"}, 1},
    {"RepeatedDisplacement", {"0.0 0.0", "0.2 50.0", "0.2 80.0"},
     {"1|0.000|0.000", "2|0.200|50.000", "3|0.200|80.000"}, 3},
    {"FallingDisplacement", {"0.0 0.0", "0.3 50.0", "0.2 80.0"},
     {"1|0.000|0.000", "2|0.300|50.000", "3|0.200|80.000"}, 3},
    {"Rising", {"0.0 0.0", "0.1 50.0", "0.25 80.0"}, {"1|0.000|0.000", "2|0.100|50.000", "3|0.250|80.000"}, 0},
};

class TipShearCurve : public ::testing::TestWithParam<TipShearCase> {};

TEST_P(TipShearCurve, EchoesTheCurveThenChecksItsShape) {
    const TipShearCase& c = GetParam();
    Deck deck;
    deck.tip_shear = true;
    deck.extra = "TIP SHEAR\n" + std::to_string(c.points.size()) + "\n";
    for (std::size_t i = 0; i < c.points.size(); ++i) deck.extra += std::to_string(i + 1) + " " + c.points[i] + "\n";
    const auto out = echo_testing::Run(deck);

    std::vector<std::string> table = Join(Join({"", "", ""}, Heading(22, "Shear Resistance Curve at Pile Tip ")),
                                          {"", "Point     Displacement     Tip Shear Force",
                                           " No." + std::string(11, ' ') + "in" + std::string(18, ' ') + "lbs",
                                           "-----     ------------     ---------------"});
    for (const std::string& row : c.rows) {
        const std::size_t a = row.find('|');
        const std::size_t b = row.find('|', a + 1);
        table.push_back(Right(row.substr(0, a), 4) + std::string(5, ' ') + Right(row.substr(a + 1, b - a - 1), 10) +
                        std::string(10, ' ') + Right(row.substr(b + 1), 10));
    }
    if (c.bad_point == 0) {
        EXPECT_TRUE(Contains(out.ReportLines(), table)) << out.report;
        EXPECT_TRUE(HasLine(out.ReportLines(), "- Analysis uses tip shear resistance for short pile or shaft"));
        EXPECT_TRUE(echo_testing::EchoCompleted(out)) << out.report;
        return;
    }
    const std::vector<std::string> message = {
        "**** Input Data Error No. 50 ****", "",
        "Problem:   The input data for shear resistance at the pile tip appears to be in error at point " +
            std::to_string(c.bad_point) + ".",
        "",
        "Solution:  Check that the first point is (0,0) and that the x-values sucessively increase in deflection "
        "and magnitude."};
    EXPECT_TRUE(Contains(out.ReportLines(), Join(Join(table, message), {"", "", StopLine(50)}))) << out.report;
    EXPECT_TRUE(Contains(out.MessageLines(), message)) << out.messages;
    EXPECT_EQ(out.code, 150);
}

std::string TipShearCaseName(const ::testing::TestParamInfo<TipShearCase>& param_info) {
    return param_info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Curves, TipShearCurve, ::testing::ValuesIn(kTipShearCases), TipShearCaseName);

// A pile of 40 ft whose ground surface is 2 ft below the head.
Deck PyDepthsDeck(const std::vector<std::string>& depths) {
    Deck deck;
    deck.print_py_curves = true;
    deck.soil = "1\n13 2.0 45.0\n60.0 300.0\n60.0 300.0\n";
    deck.extra = "DEPTHS OF PRINTED P-Y CURVES\n" + std::to_string(depths.size()) + "\n";
    for (std::size_t i = 0; i < depths.size(); ++i) deck.extra += std::to_string(i + 1) + " " + depths[i] + "\n";
    return deck;
}

const std::vector<std::string> kPyDepthsHeading =
    Join(Join({"", "", ""}, Heading(19, "Specified Depths for Output of p-y Curves")), {"", ""});

// Depths from the ground surface to the pile tip, both included, are kept
// and listed below the head and below the ground.
TEST(PyOutputDepths, DepthsFromGroundToTipAreListed) {
    const auto out = echo_testing::Run(PyDepthsDeck({"2.0", "12.5", "40.0"}));
    const std::vector<std::string> block = Join(
        kPyDepthsHeading,
        {"Lateral load-transfer (p-y) curves are computed and output at 3 depths.",
         "(Note the depths of these curves may differ from nodal point depths.)", "",
         "Depth      Depth Below Pile Head      Depth Below Ground Surface",
         " No." + std::string(17, ' ') + "ft" + std::string(25, ' ') + "ft",
         "-----      ---------------------      --------------------------",
         Right("1", 3) + Right("2.000", 22) + Right("0.000", 27),
         Right("2", 3) + Right("12.500", 22) + Right("10.500", 27),
         Right("3", 3) + Right("40.000", 22) + Right("38.000", 27), "",
         "Depth of ground surface below top of pile =       2.00 ft", ""});
    EXPECT_TRUE(Contains(out.ReportLines(), block)) << out.report;
    EXPECT_TRUE(HasLine(out.ReportLines(), "- p-y curves computed and output for user-specified depths"));
    EXPECT_TRUE(echo_testing::EchoCompleted(out)) << out.report;
}

struct BadDepthCase {
    const char* name;
    std::vector<std::string> depths;
    int error;
    std::vector<std::string> message;
};

const std::vector<std::string> kAboveGround = {
    "**** Input Data Error No. 29 ****", "",
    "Problem:  A depth above the ground surface was specified for the printing",
    "of a p-y curve.", "",
    "Solution:  Specify a depth between the ground surface and pile tip.", ""};

const BadDepthCase kBadDepthCases[] = {
    {"BelowTip", {"10.0", "40.01"}, 30,
     {"**** Input Data Error No. 30 ****", "",
      "Problem:  Printing of a p-y curve was specified below the pile tip.", "",
      "Solution:  Specify printing depths only for depths above the pile tip.", "",
      "Input Point 2 at   40.01ft  was not printed because it is below the pile tip."}},
    {"AboveGround", {"1.99", "10.0"}, 29, kAboveGround},
    {"AbovePileHead", {"10.0", "-1.0"}, 29, kAboveGround},
};

class PyOutputDepthErrors : public ::testing::TestWithParam<BadDepthCase> {};

TEST_P(PyOutputDepthErrors, StopAtTheFirstDepthOutsideThePile) {
    const BadDepthCase& c = GetParam();
    const auto out = echo_testing::Run(PyDepthsDeck(c.depths));
    EXPECT_TRUE(Contains(out.ReportLines(), Join(Join(kPyDepthsHeading, c.message), {"", "", StopLine(c.error)})))
        << out.report;
    EXPECT_TRUE(Contains(out.MessageLines(), c.message)) << out.messages;
    EXPECT_EQ(out.code, 100 + c.error);
    EXPECT_FALSE(echo_testing::EchoCompleted(out));
}

std::string BadDepthCaseName(const ::testing::TestParamInfo<BadDepthCase>& param_info) {
    return param_info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Depths, PyOutputDepthErrors, ::testing::ValuesIn(kBadDepthCases), BadDepthCaseName);

// A run that computes bending stiffness only ends the echo with its mode line.
TEST(EchoOfInput, StiffnessOnlyRunEndsTheEchoAfterTheModeLine) {
    Deck deck;
    deck.ei_only = true;
    const auto out = echo_testing::Run(deck);
    const auto lines = out.ReportLines();
    const std::size_t mode =
        Find(lines, "This analysis computes nominal moment capacity and nonlinear bending stiffness only");
    ASSERT_LT(mode + 1, lines.size()) << out.report;
    EXPECT_EQ(lines[mode + 1], "");
    EXPECT_FALSE(HasLine(lines, "Computation Options:")) << out.report;
    EXPECT_EQ(out.report.find("Pile Structural Properties and Geometry"), std::string::npos) << out.report;
    EXPECT_TRUE(HasLine(out.MessageLines(), "Output of input data begun")) << out.messages;
    EXPECT_FALSE(echo_testing::EchoCompleted(out)) << out.messages;
}

}  // namespace
}  // namespace trevasc
