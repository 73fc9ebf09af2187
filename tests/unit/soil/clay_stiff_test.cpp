// Stiff clay criteria: with free water ("StfClyBW", Reese, Cox and Koop
// 1975) and without free water ("StfClyAW", "StfClyAK", Welch and Reese
// 1972): factors and defaults, curve landmarks and continuity, equivalent
// depths against the integral of the resistance, the criteria at pile
// nodes, errors and warnings.
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "soil/clay_sand_fixture.hpp"
#include "soil/stiff_clay.hpp"

namespace trevasc::testing::clay_sand {

using model::UnitSystem;
using enum model::SoilModelCode;

namespace {

// 1 psi = 6.894757 kPa; 1 lb/in^3 = 271.4471 kN/m^3.
const double kKpaPerPsi = 4.4482216152605e-3 / std::pow(0.0254, 2);
const double kKnm3PerPci = 4.4482216152605e-3 / std::pow(0.0254, 3);

TEST(StiffClayDefaults, InitialModulusAndEpsilon50ByStrength) {
    // Bands at 1000, 2000 and 4000 psf; k 500 / 200 lb/in^3 (static /
    // cyclic) for 1000 to 2000 psf, and so on.
    struct Case {
        double c_psf;
        double k_static, k_cyclic, eps50;
    };
    const Case kCases[] = {
        {700.0, 250.0, 100.0, 0.011}, {1500.0, 500.0, 200.0, 0.007}, {3000.0, 1000.0, 400.0, 0.005}, {6000.0, 2000.0, 800.0, 0.004}};
    for (const Case& c : kCases) {
        const double psi = c.c_psf / 144.0;
        const double kpa = psi * kKpaPerPsi;
        for (soil::StiffClayBands bands : {soil::StiffClayBands::kWithWater, soil::StiffClayBands::kWithoutWater}) {
            EXPECT_DOUBLE_EQ(soil::StiffClayDefaultK(psi, false, UnitSystem::USCS, bands), c.k_static);
            EXPECT_DOUBLE_EQ(soil::StiffClayDefaultK(psi, true, UnitSystem::USCS, bands), c.k_cyclic);
            // The SI table is the US customary one converted.
            EXPECT_NEAR(soil::StiffClayDefaultK(kpa, false, UnitSystem::SI, bands), c.k_static * kKnm3PerPci,
                        1.0e-6 * c.k_static * kKnm3PerPci);
            EXPECT_NEAR(soil::StiffClayDefaultK(kpa, true, UnitSystem::SI, bands), c.k_cyclic * kKnm3PerPci,
                        1.0e-6 * c.k_cyclic * kKnm3PerPci);
            EXPECT_NEAR(soil::StiffClayDefaultEpsilon50(psi, UnitSystem::USCS, bands), c.eps50, 1.0e-8);
            EXPECT_NEAR(soil::StiffClayDefaultEpsilon50(kpa, UnitSystem::SI, bands), c.eps50, 1.0e-8);
            EXPECT_EQ(soil::StiffClayDefaultK(psi, false, UnitSystem::GENERAL, bands), 0.0);
            EXPECT_EQ(soil::StiffClayDefaultEpsilon50(psi, UnitSystem::GENERAL, bands), 0.0);
        }
    }
    EXPECT_DOUBLE_EQ(soil::StiffClayDefaultK(100.0, false, UnitSystem::SI, soil::StiffClayBands::kWithWater),
                     271447.1875);
}

TEST(StiffClayWithWater, FactorsAsAndAcHeldBelowTheirDepths) {
    struct Case {
        double r;
        double As, Ac;
    };
    const Case kCases[] = {
        {0.0, 0.2345, 0.2},
        {1.0, 0.2345 + 0.2958796 - 0.0786111 + 0.0068981, 0.2 + 0.153333 - 0.075 + 0.011667},
        {1.6, 0.2345 + 0.2958796 * 1.6 - 0.0786111 * 2.56 + 0.0068981 * 4.096, 0.3},
        {3.4, 0.6, 0.3},
        {10.0, 0.6, 0.3},
    };
    for (const Case& c : kCases) {
        EXPECT_NEAR(soil::StiffClayAs(c.r), c.As, 1.0e-6) << c.r;
        EXPECT_NEAR(soil::StiffClayAc(c.r), c.Ac, 1.0e-6) << c.r;
    }
}

TEST(StiffClayWithWater, CurvesAreContinuousWithTheirPublishedLandmarks) {
    // b = 24 in, c = ca = 15 psi, gamma' = 0.035, eps50 = 0.005, z = 48 in
    // (z/b = 2): y50 = 0.12 in. A large k keeps the initial line out of the
    // way.
    const double b = 24.0, c = 15.0, gamma = 0.035, z = 48.0;
    const soil::StiffClayWaterCurve s = soil::MakeStiffClayWaterCurve(b, c, c, gamma, 0.005, 1.0e9, z, 1.0, false);
    const double pct = 2.0 * c * b + gamma * b * z + 2.83 * c * z;
    EXPECT_NEAR(s.pc, std::min(pct, 11.0 * c * b), 1.0e-3);
    const double As = s.As, y50 = 0.12, pc = s.pc;
    const double eps = 1.0e-9;
    struct Point {
        const char* what;
        double y;
        double p;
    };
    const double peak = pc * (0.5 * std::sqrt(6.0 * As) - 0.411);
    const Point kStatic[] = {
        {"square-root rise to As y50", As * y50, 0.5 * pc * std::sqrt(As)},
        {"end of the bend at 6 As y50", 6.0 * As * y50, peak},
        {"end of the fall at 18 As y50", 18.0 * As * y50, peak - 0.0625 * pc * 12.0 * As},
        {"residual", 40.0 * As * y50, pc * (0.5 * std::sqrt(6.0 * As) - 0.75 * As - 0.411)},
    };
    // At 6 As y50 the published 0.411 is 0.055 * 5^1.25 = 0.41122 rounded:
    // the curve steps by 2.2e-4 pc there.
    for (const Point& p : kStatic) {
        EXPECT_NEAR(s.P(p.y), p.p, 2.0e-3 * pc) << p.what;
        EXPECT_NEAR(s.P(p.y - eps), s.P(p.y + eps), 2.5e-4 * pc) << p.what;
    }
    EXPECT_NEAR(s.pr, pc * (0.5 * std::sqrt(6.0 * As) - 0.75 * As - 0.411), 1.0e-6 * pc);

    const soil::StiffClayWaterCurve cy = soil::MakeStiffClayWaterCurve(b, c, c, gamma, 0.005, 1.0e9, z, 1.0, true);
    const double yp = 4.1 * As * y50, Ac = cy.Ac;
    const Point kCyclic[] = {
        {"peak Ac pc at 0.45 yp", 0.45 * yp, Ac * pc},
        {"0.936 Ac pc at 0.6 yp", 0.6 * yp, 0.936 * Ac * pc},
        {"residual from 1.8 yp", 1.8 * yp, 0.936 * Ac * pc - 0.102 * pc * yp / y50},
        {"residual far out", 30.0 * yp, 0.936 * Ac * pc - 0.102 * pc * yp / y50},
    };
    for (const Point& p : kCyclic) {
        EXPECT_NEAR(cy.P(p.y), p.p, 2.0e-3 * pc) << p.what;
        EXPECT_NEAR(cy.P(p.y - eps), cy.P(p.y + eps), 1.0e-6 * pc) << p.what;
    }
    EXPECT_NEAR(cy.pr, pc * (0.936 * Ac - 0.4182 * As), 1.0e-6 * pc);
    // The initial line caps both curves.
    const soil::StiffClayWaterCurve capped = soil::MakeStiffClayWaterCurve(b, c, c, gamma, 0.005, 100.0, z, 1.0, false);
    EXPECT_DOUBLE_EQ(capped.P(0.01), 100.0 * z * 0.01);
}

TEST(StiffClayWithWater, EquivalentDepthFromTheResidualResistance) {
    // integral_0^Z pr dz = A, pr = min(pct, 11 c b) v(z/b); the criterion
    // steps the integral in 50 increments, so agreement within 3 %.
    const double b = 24.0, c = 15.0, gamma = 0.035;
    for (bool cyclic : {false, true}) {
        auto pr = [&](double z) {
            const double pc = std::min(2.0 * c * b + gamma * b * z + 2.83 * c * z, 11.0 * c * b);
            const double As = soil::StiffClayAs(z / b);
            const double v = cyclic ? 0.936 * soil::StiffClayAc(z / b) - 0.4182 * As
                                    : 0.5 * std::sqrt(6.0 * As) - 0.411 - 0.75 * As;
            return pc * v;
        };
        for (double A : {2.0e4, 1.5e5}) {
            const double Z = soil::StiffClayWaterEquivalentDepth(A, b, c, c, gamma, cyclic);
            EXPECT_NEAR(Integral(pr, 0.0, Z, 4000), A, 0.03 * A) << cyclic << " " << A;
        }
    }
}

TEST(StiffClayWithoutWater, QuarterPowerCurveStaticAndCyclic) {
    // b = 30 in, c = 12 psi, gamma' = 0.04, eps50 = 0.007, z = 60 in:
    // pu = min(3 c b + (gamma' b + 0.5 c) z, 9 c b), y50 = 2.5 eps50 b.
    const double b = 30.0, c = 12.0, gamma = 0.04, z = 60.0;
    const double pu = std::min(3.0 * c * b + (gamma * b + 0.5 * c) * z, 9.0 * c * b);
    const double y50 = 2.5 * 0.007 * b;
    const soil::StiffClayDryCurve s = soil::MakeStiffClayDryCurve(b, c, gamma, 0.007, z, 1.0, false, 0.0);
    EXPECT_NEAR(s.pu, pu, 1.0e-9 * pu);
    EXPECT_NEAR(s.P(y50), 0.5 * pu, 1.0e-9 * pu);
    EXPECT_NEAR(s.P(16.0 * y50), pu, 1.0e-9 * pu);  // 0.5 * 16^(1/4) = 1
    EXPECT_NEAR(s.P(30.0 * y50), pu, 1.0e-9 * pu);
    // Ten cycles stretch the deflections by 1 + 0.6 log10(10) = 1.6.
    const soil::StiffClayDryCurve cy = soil::MakeStiffClayDryCurve(b, c, gamma, 0.007, z, 1.0, true, 10.0);
    for (double y : {0.1 * y50, y50, 5.0 * y50, 16.0 * y50, 25.0 * y50}) {
        EXPECT_NEAR(cy.P(1.6 * y), s.P(y), 1.0e-6 * pu) << y;
    }
    // "StfClyAK": the initial line k z y caps the curve.
    soil::StiffClayDryCurve capped = s;
    capped.capped = true;
    capped.kz = 200.0 * z;
    EXPECT_DOUBLE_EQ(capped.P(1.0e-4), 200.0 * z * 1.0e-4);
    EXPECT_NEAR(capped.P(16.0 * y50), pu, 1.0e-9 * pu);
}

TEST(StiffClayWithoutWater, EquivalentDepthIsTheIntegralOfPu) {
    const double b = 30.0, c = 12.0, gamma = 0.04;
    auto pu = [&](double z) { return std::min(3.0 * c * b + (gamma * b + 0.5 * c) * z, 9.0 * c * b); };
    for (double A : {5.0e4, 4.0e5}) {
        const double Z = soil::StiffClayDryEquivalentDepth(A, b, c, c, gamma);
        const double zt = 6.0 * c * b / (gamma * b + 0.5 * c);
        const double F = Z <= zt ? Integral(pu, 0.0, Z) : Integral(pu, 0.0, zt) + Integral(pu, zt, Z);
        EXPECT_NEAR(F, A, 1.0e-6 * A) << A;
    }
}

model::ProblemData StiffClayPile(int code, double c, double eps50, double k_top, double k_bottom,
                                 UnitSystem units = UnitSystem::USCS) {
    const bool si = units == UnitSystem::SI;
    model::ProblemData problem = ElasticPileProblem(si ? 15.0 : 600.0, 2.9e7 * 16286.0, si ? 0.6 : 24.0, 100, units);
    const double gamma = si ? 10.0 : 0.035;
    AddLayer(problem, code, 0.0, problem.PileTotalLength, Clay(gamma, c, eps50, k_top), Clay(gamma, c, eps50, k_bottom));
    return problem;
}

TEST(StiffClayCriteria, ModulusAtVanishingDeflection) {
    // Node 11 at z = 60 in. "StfClyAW": Eslim = 0.5 pu (y50/ylim)^0.75 / y50,
    // the static curve's secant at ylim = 2e-5 b, whatever the multipliers.
    // "StfClyAK" and "StfClyBW": k z, with k interpolated between the layer
    // values, a zero top k taking the default, a negative one kept.
    const double b = 24.0, c = 12.0, z = 60.0;
    const double pu = std::min(3.0 * c * b + (0.035 * b + 0.5 * c) * z, 9.0 * c * b);
    const double y50 = 2.5 * 0.007 * b, ylim = 2.0e-5 * b;
    struct Case {
        const char* what;
        int code;
        double k_top, k_bottom;
        double Es;
    };
    const Case kCases[] = {
        {"AW limiting modulus", kStiffClayWithoutWater, 0.0, 0.0, 0.5 * pu * std::pow(y50 / ylim, 0.75) / y50},
        {"AK input k, interpolated", kStiffClayWithK, 300.0, 900.0, (300.0 + 600.0 * 60.0 / 600.0) * z},
        {"AK zero top k: default 500 at 12 psi", kStiffClayWithK, 0.0, 900.0, 500.0 * z},
        {"AK negative top k kept", kStiffClayWithK, -50.0, 0.0, -50.0 * z},
        {"BW input k, zero bottom takes the top", kStiffClayWithWater, 300.0, 0.0, 300.0 * z},
        {"BW zero top k: default 500 at 12 psi", kStiffClayWithWater, 0.0, 900.0, 500.0 * z},
    };
    for (const Case& c_ : kCases) {
        model::ProblemData problem = StiffClayPile(c_.code, c, 0.007, c_.k_top, c_.k_bottom);
        SetMultipliers(problem, 0.5, 2.0);
        Analysis a(problem);
        a.P(1, 11, 0.0);
        EXPECT_NEAR(a.pile().Es(11), c_.Es, 1.0e-6 * std::fabs(c_.Es)) << c_.what;
    }
}

TEST(StiffClayCriteria, AverageStrengthRunsFromTheGroundOrTheLayerTop) {
    // c rises linearly, so the average from a depth d0 to z is
    // (c(d0) + c(z))/2. BW's residual at large deflection is pr = pc v with
    // pc = 2 ca b + gamma' b z + 2.83 ca z (below 11 c b here). In layer 1 the
    // average starts at the ground, in layer 2 at the layer's first node.
    const double b = 24.0, gamma = 0.035;
    auto c_at = [](double x) { return 10.0 + 0.02 * x; };  // psi
    model::ProblemData problem = ElasticPileProblem(600.0, 2.9e7 * 16286.0, b, 100);
    AddLayer(problem, kStiffClayWithWater, 0.0, 300.0, Clay(gamma, c_at(0.0), 0.005, 1.0e6),
             Clay(gamma, c_at(300.0), 0.005, 1.0e6));
    AddLayer(problem, kStiffClayWithWater, 300.0, 600.0, Clay(gamma, c_at(300.0), 0.005, 1.0e6),
             Clay(gamma, c_at(600.0), 0.005, 1.0e6));
    struct Case {
        int layer, node;
        double from;  // depth where the average starts
    };
    const Case kCases[] = {{1, 11, 0.0}, {1, 41, 0.0}, {2, 61, 300.0}, {2, 91, 300.0}};
    for (const Case& c : kCases) {
        Analysis a(problem);
        ASSERT_EQ(a.Sweep(), 0);
        const double x = a.pile().x(c.node);
        const double z = c.layer == 1 ? x : x - 300.0 + a.ctx().soil.EquivalentDepth[2];
        const double ca = (c_at(c.from) + c_at(x)) / 2.0;
        const double pc = std::min(2.0 * ca * b + gamma * b * z + 2.83 * ca * z, 11.0 * c_at(x) * b);
        const double As = soil::StiffClayAs(z / b);
        const double pr = pc * (0.5 * std::sqrt(6.0 * As) - 0.75 * As - 0.411);
        EXPECT_NEAR(a.P(c.layer, c.node, 50.0), pr, 1.0e-6 * pr) << c.layer << " " << c.node;
    }
}

TEST(StiffClayWithWater, AverageStrengthRunsOverTheOutputDepthsOfTheLayer) {
    // The curves at output depths take the average strength as the nodes do:
    // in layer 1 from the ground, below it from the layer's first output
    // depth, along the depths in their order. c rises linearly in each layer,
    // so the average from d0 to d is (c(d0) + c(d)) / 2.
    auto c_psf = [](double ft) { return ft <= 20.0 ? 1000.0 + 50.0 * ft : 2000.0 + 100.0 * (ft - 20.0); };
    struct Case {
        double depth, from;  // ft
    };
    const Case kCases[] = {{10.0, 0.0}, {30.0, 30.0}, {40.0, 30.0}, {45.0, 30.0}};
    InputFile input;
    input.soil = "2\n2 0. 20.\n65. 1000. 0.005 0.\n65. 2000. 0.005 0.\n"
                 "2 20. 50.\n65. 2000. 0.005 0.\n65. 5000. 0.005 0.\n";
    for (const Case& c : kCases) input.py_depths.push_back(c.depth);
    const RunOutput out = RunInput(input.Text());
    ASSERT_EQ(out.code, 0);
    std::vector<double> printed;
    for (const std::string& line : out.ReportLines()) {
        if (line.rfind("Avergage c", 0) != 0) continue;
        printed.push_back(std::strtod(line.substr(line.find('=') + 1).c_str(), nullptr));
    }
    ASSERT_EQ(printed.size(), std::size(kCases));
    for (std::size_t i = 0; i < printed.size(); ++i) {
        const double ca_psi = (c_psf(kCases[i].from) + c_psf(kCases[i].depth)) / 2.0 / 144.0;
        EXPECT_NEAR(printed[i], ca_psi, 1.0e-3) << kCases[i].depth;
    }
}

TEST(StiffClayCriteria, StrengthWarningsByCriterionAndUnitSystem) {
    struct Case {
        int code;
        UnitSystem units;
        double c;
        int warning;
    };
    const Case kCases[] = {
        {kStiffClayWithWater, UnitSystem::USCS, 3.0, 3051},     {kStiffClayWithWater, UnitSystem::USCS, 60.0, 3052},
        {kStiffClayWithWater, UnitSystem::SI, 20.0, 3053},      {kStiffClayWithWater, UnitSystem::SI, 400.0, 3054},
        {kStiffClayWithoutWater, UnitSystem::USCS, 3.0, 3061},  {kStiffClayWithoutWater, UnitSystem::USCS, 60.0, 3062},
        {kStiffClayWithoutWater, UnitSystem::SI, 20.0, 3063},   {kStiffClayWithoutWater, UnitSystem::SI, 400.0, 3064},
        {kStiffClayWithK, UnitSystem::USCS, 3.0, 3261},         {kStiffClayWithK, UnitSystem::USCS, 60.0, 3262},
        {kStiffClayWithK, UnitSystem::SI, 20.0, 3263},          {kStiffClayWithK, UnitSystem::SI, 400.0, 3264},
        {kStiffClayWithWater, UnitSystem::USCS, 20.0, 0},       {kStiffClayWithK, UnitSystem::SI, 100.0, 0},
    };
    for (const Case& c : kCases) {
        Analysis a(StiffClayPile(c.code, c.c, 0.005, 0.0, 0.0, c.units));
        ASSERT_EQ(a.Evaluate(1), 0);
        const auto& counts = a.ctx().warnings.WarningCount;
        int recorded = 0;
        for (int id : {3051, 3052, 3053, 3054, 3061, 3062, 3063, 3064, 3261, 3262, 3263, 3264}) {
            if (counts[static_cast<std::size_t>(id)] > 0) recorded = recorded == 0 ? id : -1;
        }
        EXPECT_EQ(recorded, c.warning) << c.code << " " << c.c;
    }
}

TEST(StiffClayCriteria, ZeroStrengthBelowTheTopNodeStopsTheRun) {
    const std::vector<std::string> error14 = {
        "**** Input Data Error No. 14 ****",
        "",
        "An error was detected in the input data used to compute p-y curves in ",
        "stiff clay with free water.",
        "",
        "Problem:  Zero was input for the cohesion of a stiff clay. ",
        "",
        "Solution:  Check and compare the values of shear strength and revise the ",
        "input so that the strength values are correct for the soil types specified.",
        "",
    };
    const std::vector<std::string> error13_aw = {
        "**** Input Data Error No. 13 ****",
        "",
        "An error was detected in the input data.",
        "Problem:  Zero was input for cohesion of stiff clay without free water.",
        "",
        "Solution:  Please check the values of soil shear strength and revise the input data.",
    };
    std::vector<std::string> error13_ak(error13_aw.begin(), error13_aw.end() - 1);
    error13_ak.push_back("Solution:  Please check the values of soil shear strength and revise ");
    error13_ak.push_back("the input data.");
    struct Case {
        std::string code;
        std::string k_columns;
        int error;
        std::vector<std::string> text;
        int low_strength_warning;
    };
    const Case kCases[] = {
        {"2", " 0.", 114, error14, 3051},
        {"3", "", 113, error13_aw, 3061},
        {"4", " 0.", 113, error13_ak, 3261},
    };
    for (const Case& c : kCases) {
        // Zero at the top node is accepted; the run ends with the warning of
        // the low strength near the top as its only message.
        InputFile passes;
        passes.soil = "1\n" + c.code + " 0. 50.\n65. 0. 0.005" + c.k_columns + "\n65. 3000. 0.005" + c.k_columns + "\n";
        EXPECT_EQ(RunInput(passes.Text()).code, -c.low_strength_warning) << c.code;
        // The output depths of the layer stand for its nodes: zero strength
        // passes at the first of them and stops the run at a second one.
        InputFile reported = passes;
        reported.py_depths = {0.0, 10.0};
        EXPECT_EQ(RunInput(reported.Text()).code, -c.low_strength_warning) << c.code;
        reported.py_depths = {0.0, 0.0, 10.0};
        EXPECT_EQ(RunInput(reported.Text()).code, c.error) << c.code;
        InputFile input;
        input.soil = "1\n" + c.code + " 0. 50.\n65. 3000. 0.005" + c.k_columns + "\n65. 0. 0.005" + c.k_columns + "\n";
        const RunOutput out = RunInput(input.Text());
        EXPECT_EQ(out.code, c.error) << c.code;
        EXPECT_EQ(BlockFrom(out.MessageLines(), c.text.front(), c.text.size()), c.text) << c.code;
        EXPECT_EQ(BlockFrom(out.ReportLines(), c.text.front(), c.text.size()), c.text) << c.code;
    }
}

}  // namespace
}  // namespace trevasc::testing::clay_sand
