// The optional MASSIVE ROCK block: what it stores in the massive-rock layers,
// its errors, and a whole run whose printed massive-rock curve is checked
// against a hand calculation of the criterion with the values of the block.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "input/reader_harness.hpp"
#include "support/run_fixture.hpp"

namespace trevasc::testing {
namespace {

// Sand over massive rock; `block` follows the SOIL LAYERS block.
ReadOutcome ReadRock(const std::string& units, const std::string& block) {
    OptionSwitches switches;
    switches.units = units;
    return ReadBlocks(OptionsBlock(switches) +
                      "SOIL LAYERS\n2\n5 0. 20.\n110. 34. 90.\n110. 34. 90.\n16 20. 60.\n" + block + "END\n");
}

TEST(MassiveRockBlock, StoresStrengthModulusAndUnitWeightOfTheLayer) {
    struct Case {
        std::string units;
        double stored_strength_top;  // the model holds massive-rock strengths in psf for USCS
    };
    for (const Case& c : {Case{"Units USCS", 3000.0 * 144.0}, Case{"Units SI", 3000.0}}) {
        SCOPED_TRACE(c.units);
        const ReadOutcome out = ReadRock(c.units, "MASSIVE ROCK\n1\n2  80. 3000. 1.5E6  85. 4000. 2.0E6  ! label\n");
        ASSERT_EQ(out.error, 0) << out.report;
        const model::SoilLayer& rock = out.problem.Layers.at(1);
        EXPECT_DOUBLE_EQ(rock.Top.EffUnitWeight, 80.0);
        EXPECT_DOUBLE_EQ(rock.Bottom.EffUnitWeight, 85.0);
        EXPECT_DOUBLE_EQ(rock.Top.Cohesion, c.stored_strength_top);
        EXPECT_DOUBLE_EQ(rock.Bottom.Cohesion, c.stored_strength_top * 4.0 / 3.0);
        EXPECT_DOUBLE_EQ(rock.Top.SubgradeK, 1.5e6);
        EXPECT_DOUBLE_EQ(rock.Bottom.SubgradeK, 2.0e6);
        EXPECT_EQ(out.problem.MassiveRockLayers, std::vector<std::int32_t>{2});
        // The sand layer is untouched.
        EXPECT_DOUBLE_EQ(out.problem.Layers.at(0).Top.SubgradeK, 90.0);
    }
}

TEST(MassiveRockBlock, RefusesLinesThatNameNoMassiveRockLayerOrValuesThatFormNoCurve) {
    struct Case {
        const char* what;
        std::string block;
        std::int32_t error;
        std::string text;
    };
    const Case kCases[] = {
        {"no such layer", "MASSIVE ROCK\n1\n3 80. 3000. 1.5E6 80. 3000. 1.5E6\n", 145, "names soil layer 3"},
        {"layer of sand", "MASSIVE ROCK\n1\n1 80. 3000. 1.5E6 80. 3000. 1.5E6\n", 145, "soil model code is 5"},
        {"layer given twice", "MASSIVE ROCK\n2\n2 80. 3000. 1.5E6 80. 3000. 1.5E6\n2 80. 3000. 1.5E6 80. 3000. 1.5E6\n",
         145, "a second time"},
        {"zero strength", "MASSIVE ROCK\n1\n2 80. 0. 1.5E6 80. 3000. 1.5E6\n", 146, "at its top"},
        {"negative modulus at the bottom", "MASSIVE ROCK\n1\n2 80. 3000. 1.5E6 80. 3000. -1.\n", 146, "at its bottom"},
        {"negative unit weight", "MASSIVE ROCK\n1\n2 -80. 3000. 1.5E6 80. 3000. 1.5E6\n", 146, "unit weight of"},
        {"line cut short", "MASSIVE ROCK\n1\n2 80. 3000. 1.5E6\n", 180, "massive rock line 1"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        const ReadOutcome out = ReadRock("Units USCS", c.block);
        EXPECT_EQ(out.error, c.error);
        EXPECT_NE(out.report.find(c.text), std::string::npos) << out.report;
    }
    // Before any SOIL LAYERS block there is no layer to name.
    const ReadOutcome early = ReadBlocks(OptionsBlock() + "MASSIVE ROCK\n1\n1 80. 3000. 1.5E6 80. 3000. 1.5E6\nEND\n");
    EXPECT_EQ(early.error, 145);
    // A later SOIL LAYERS block forgets the values: the layer has none again.
    const ReadOutcome late = ReadRock("Units USCS", "MASSIVE ROCK\n1\n2 80. 3000. 1.5E6 80. 3000. 1.5E6\n"
                                                    "SOIL LAYERS\n1\n16 0. 60.\n");
    ASSERT_EQ(late.error, 0);
    EXPECT_TRUE(late.problem.MassiveRockLayers.empty());
    EXPECT_EQ(late.problem.Layers.at(0).Top.Cohesion, 0.0);
}

// An elastic pile 24 in wide (EI = 29e6 psi x 10000 in^4) in massive rock from
// the ground surface; the p-y curve is printed at 10 ft.
std::string RockRunInput(const std::string& massive_rock_block) {
    return "TREVAS6\nTITLE\nElastic pile in massive rock\n\n\n\n\n" + OptionsBlock([] {
               OptionSwitches s;
               s.print_py_curves = true;
               return s;
           }()) +
           "SECTIONS\n1\n1\n11\n40.\n2\n29000000.\n24.\n24.\n100.\n100.\n10000.\n10000.\n"
           "SOIL LAYERS\n1\n16 0. 60.\n" +
           massive_rock_block +
           "LOADING\n1\n1 1 10000. 0. 0. 1\n0\n"
           "DEPTHS OF PRINTED P-Y CURVES\n1\n1 10.\nEND\n";
}

// The points (y, p) of the printed massive-rock curve.
std::vector<std::pair<double, double>> PrintedRockCurve(const std::vector<std::string>& lines) {
    std::vector<std::pair<double, double>> points;
    auto heading = std::find(lines.begin(), lines.end(),
                             "p-y Curve Computed Using the Criteria for Massive Rock by Liang, et al., 2009");
    if (heading == lines.end()) return points;
    auto rule = std::find_if(heading, lines.end(),
                             [](const std::string& l) { return l.find("----------------    ---") != std::string::npos; });
    for (auto it = rule + (rule == lines.end() ? 0 : 1); it != lines.end() && points.size() < 17; ++it) {
        std::istringstream in(*it);
        double y = 0.0, p = 0.0;
        if (!(in >> y >> p)) break;
        points.emplace_back(y, p);
    }
    return points;
}

TEST(MassiveRockBlock, RunPrintsTheCurveOfTheCriterionWithTheBlocksValues) {
    const RunOutput out = RunInput(RockRunInput("MASSIVE ROCK\n1\n1 80. 3000. 1.5E6 80. 3000. 1.5E6\n"));
    ASSERT_EQ(out.code, 0) << out.messages;
    const std::vector<std::string> lines = out.ReportLines();
    // The echo shows the values as entered, in psi, in its own table and in
    // the qu column (headed psi) of the summary of soil properties.
    EXPECT_NE(out.report.find("Massive Rock Values (MASSIVE ROCK)"), std::string::npos);
    const auto row = std::find_if(lines.begin(), lines.end(),
                                  [](const std::string& l) { return l.find("Hard Rock") != std::string::npos; });
    ASSERT_NE(row, lines.end());
    EXPECT_NE(row->find("3000."), std::string::npos) << *row;
    EXPECT_EQ(row->find("432000."), std::string::npos) << *row;
    const auto points = PrintedRockCurve(lines);
    ASSERT_EQ(points.size(), 17U);

    // Hand calculation at z = 120 in, in pounds and inches (Liang et al. 2009,
    // generalized Hoek-Brown with mi 6, GSI 42, nu 0.4, Balmer's c' and phi').
    const double pi = std::numbers::pi;
    const double b = 24.0, z = 120.0, gamma = 80.0 / 1728.0, sci = 3000.0, Ei = 1.5e6, EI = 29.0e6 * 1.0e4;
    const double mb = 6.0 * std::exp((42.0 - 100.0) / 28.0);
    const double s = std::exp((42.0 - 100.0) / 9.0);
    const double a = 0.5 + (std::exp(-42.0 / 15.0) - std::exp(-20.0 / 3.0)) / 6.0;
    const double sv = gamma * z;                                  // 5.556 psi
    const double s1 = sv + sci * std::pow(mb * sv / sci + s, a);  // major principal stress at failure
    const double D = s1 - sv;
    const double sn = sv + D * D / (2.0 * D + 0.5 * mb * sci);
    const double tau = (sn - sv) * std::sqrt(1.0 + mb * sci / (2.0 * D));
    const double phi = pi / 2.0 - std::asin(2.0 * tau / D);
    const double c = tau - sn * std::tan(phi);
    const double Ka = std::pow(std::tan(pi / 4.0 - phi / 2.0), 2);
    const double Pd = b * (pi / 4.0 * s1 - Ka * sv + 2.0 * c * std::sqrt(Ka) + 0.3 * std::sqrt(sci));
    const double K = 1.0 - std::sin(pi / 4.0);
    const double beta = pi / 4.0 + phi / 2.0, alpha = phi / 2.0;
    const double Q = 0.5 * gamma * z + sv;
    const double tb = std::tan(beta), ta = std::tan(alpha), tp = std::tan(phi);
    const double Fs = (c + K * tp * Q) * z * tb;
    const double T2 = c * (b + 2.0 * z * tb * ta);
    const double T3 = tb * (b * (sv + gamma * z) + z * tb * ta * (2.0 * sv + gamma * z));
    const double N = (T3 + 2.0 * Fs * std::cos(beta) + T2) / (std::sin(beta) - tp * std::cos(beta));
    const double Pw = std::sin(beta) * (2.0 * Fs + tp * N + T2 / std::cos(beta)) + std::cos(beta) * N -
                      2.0 * K * Q * z * tb * ta - std::max(0.0, K * b * (gamma * z + sv - 2.0 * c / std::sqrt(Ka)));
    const double pu = std::min(Pw, Pd);
    const double Em = Ei / 100.0 * std::exp(42.0 / 21.7);
    const double Kh = Em * std::pow(EI / (Em * std::pow(b, 4)), 0.284) * (b / 12.0) * std::exp(-0.8);

    // The last point lies at 1.2 x 0.005 b; the curve is p = y / (1/Kh + y/pu).
    const auto [y, p] = points.back();
    EXPECT_NEAR(y, 1.2 * 0.005 * b, 1e-6);
    const double expected = y / (1.0 / Kh + y / pu);
    EXPECT_NEAR(p, expected, 2e-4 * expected);
    // A strength entered in psi and read as psf would give a curve far below.
    EXPECT_GT(p, 0.5 * expected);
}

TEST(MassiveRockBlock, LayerWithoutItsLineStillStopsAtItsFirstCurve) {
    const RunOutput out = RunInput(RockRunInput(""));
    EXPECT_EQ(out.code, 172);
}

}  // namespace
}  // namespace trevasc::testing
