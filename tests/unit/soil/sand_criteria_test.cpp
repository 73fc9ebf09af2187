// Sand criteria ("Sand" of Reese, Cox and Koop, and "API Sand"): the
// empirical factors, the default k, the wedge and flow resistances against
// the API coefficients, the curve landmarks and report points, the
// criteria at pile nodes and their errors and warnings.
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "soil/clay_sand_fixture.hpp"
#include "soil/sand.hpp"

namespace trevasc::testing::clay_sand {

using enum model::SoilModelCode;

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

// The API coefficients as published (API RP 2A, 6.8.6), with
// alpha = phi/2, beta = 45 + phi/2, K0 = 0.4 and Ka = (1 - sin phi)/(1 + sin phi).
struct ApiCoefficients {
    double C1, C2, C3;
    explicit ApiCoefficients(double phi_degrees) {
        const double phi = phi_degrees * kDeg;
        const double alpha = phi / 2.0;
        const double beta = std::numbers::pi / 4.0 + phi / 2.0;
        const double K0 = 0.4;
        const double Ka = (1.0 - std::sin(phi)) / (1.0 + std::sin(phi));
        const double tb = std::tan(beta);
        const double tbp = std::tan(beta - phi);
        C1 = tb * tb * std::tan(alpha) / tbp +
             K0 * (std::tan(phi) * std::sin(beta) / (std::cos(alpha) * tbp) +
                   tb * (std::tan(phi) * std::sin(beta) - std::tan(alpha)));
        C2 = tb / tbp - Ka;
        C3 = Ka * (std::pow(tb, 8) - 1.0) + K0 * std::tan(phi) * std::pow(tb, 4);
    }
};

TEST(SandFactors, ReeseAAndBInterpolatedAndHeldBeyondSixWidths) {
    struct Case {
        double r;
        bool cyclic;
        double A, B;
    };
    const Case kCases[] = {
        {0.0, false, 2.83, 2.14},  {0.75, false, (2.48 + 2.11) / 2, (1.83 + 1.54) / 2},
        {3.5, false, 0.98, 0.62},  {6.0, false, 0.88, 0.50},
        {9.0, false, 0.88, 0.50},  {1.25, true, 1.09, 0.845},
        {6.0, true, 0.88, 0.55},   {20.0, true, 0.88, 0.55},
    };
    for (const Case& c : kCases) {
        EXPECT_NEAR(soil::ReeseSandA(c.r, c.cyclic), c.A, 1.0e-6) << c.r;
        EXPECT_NEAR(soil::ReeseSandB(c.r, c.cyclic), c.B, 1.0e-6) << c.r;
    }
}

TEST(SandFactors, ApiAReachesItsFloorAtTwoAndFiveEighthsWidths) {
    struct Case {
        double z_over_b;
        bool cyclic;
        double A;
    };
    const Case kCases[] = {
        {0.0, false, 3.0}, {1.0, false, 2.2}, {2.625, false, 0.9}, {5.0, false, 0.9}, {0.0, true, 0.9}, {3.0, true, 0.9}};
    for (const Case& c : kCases) {
        EXPECT_NEAR(soil::ApiSandA(24.0 * c.z_over_b, 24.0, c.cyclic), c.A, 1.0e-6) << c.z_over_b;
    }
}

TEST(SandDefaults, SubgradeModulusFromFrictionAngle) {
    // 1 lb/in^3 = 4.4482216 N / (0.0254 m)^3 = 271.4471 kN/m^3: the SI table
    // for sand above the water table is the US customary one converted.
    const double kn_per_m3 = 4.4482216152605e-3 / std::pow(0.0254, 3);
    for (double phi : {25.0, 30.0, 35.0, 40.0, 44.0}) {
        const double uscs = soil::SandDefaultK(phi, 0.07, model::UnitSystem::USCS);
        EXPECT_NEAR(soil::SandDefaultK(phi, 10.0, model::UnitSystem::SI), uscs * kn_per_m3, 1.0e-6 * uscs * kn_per_m3)
            << phi;
    }
    struct Case {
        double phi, gamma;
        model::UnitSystem units;
        double k;
    };
    const Case kCases[] = {
        {40.0, 0.07, model::UnitSystem::USCS, 160.547},
        {45.0, 0.07, model::UnitSystem::USCS, 160.547},
        {40.0, 10.0, model::UnitSystem::SI, 43580.15},
        {40.0, 18.0, model::UnitSystem::SI, 78739.0},
        {48.0, 18.0, model::UnitSystem::SI, 78739.0},
        {35.0, 18.0, model::UnitSystem::GENERAL, 0.0},
    };
    for (const Case& c : kCases) EXPECT_NEAR(soil::SandDefaultK(c.phi, c.gamma, c.units), c.k, 1.0e-5 * c.k + 1.0e-9);
    // The power laws reach their caps at 40 degrees.
    EXPECT_NEAR(soil::SandDefaultK(39.9999, 0.07, model::UnitSystem::USCS), 160.547, 0.01);
    EXPECT_NEAR(soil::SandDefaultK(39.9999, 18.0, model::UnitSystem::SI), 78739.0, 5.0);
}

TEST(SandResistance, WedgeAndFlowAreTheApiCoefficientsOnLevelGround) {
    // pst = (C1 z + C2 b) gamma' z and psd = C3 b gamma' z. At 30 degrees
    // the published chart reads C1 = 1.9, C2 = 2.7, C3 = 28.7.
    const ApiCoefficients at30(30.0);
    EXPECT_NEAR(at30.C1, 1.91, 0.01);
    EXPECT_NEAR(at30.C2, 2.667, 0.001);
    EXPECT_NEAR(at30.C3, 28.74, 0.01);
    for (double phi : {25.0, 30.0, 35.0, 40.0}) {
        const ApiCoefficients api(phi);
        const soil::SandAngles a = soil::MakeSandAngles(phi * kDeg, 0.4);
        const double b = 24.0, gamma = 0.04;
        for (double z : {12.0, 60.0, 200.0}) {
            const double pst = (api.C1 * z + api.C2 * b) * gamma * z;
            const double psd = api.C3 * b * gamma * z;
            EXPECT_NEAR(soil::SandShallowWedge(a, a.Ka, gamma, z, b, 1.0, 0.0), pst, 1.0e-9 * pst) << phi << " " << z;
            EXPECT_NEAR(soil::SandDeepFlow(a, gamma, z, b), psd, 1.0e-9 * psd) << phi << " " << z;
        }
        const soil::SandCoefficients k = soil::MakeSandCoefficients(a, a.Ka);
        EXPECT_NEAR(k.C1, api.C1, 1.0e-9 * api.C1);
        EXPECT_NEAR(k.C2, api.C2, 1.0e-9 * api.C2);
        EXPECT_NEAR(k.C3, api.C3, 1.0e-9 * api.C3);
    }
}

TEST(SandResistance, SlopingGroundByDirectionOfTheDeflection) {
    const double phi = 35.0 * kDeg;
    const soil::SandAngles a = soil::MakeSandAngles(phi, 0.4);
    // Coulomb's active coefficient for an inclined backfill reduces to
    // Rankine's on level ground and grows with the slope.
    EXPECT_NEAR(soil::ActiveCoefficientOnSlope(1.0e-9, phi), a.Ka, 1.0e-9);
    const double theta = 15.0 * kDeg;
    const double Ka_slope = soil::ActiveCoefficientOnSlope(theta, phi);
    EXPECT_GT(Ka_slope, a.Ka);
    const double t = std::tan(theta) * std::tan(a.beta);
    struct Case {
        double y, slope;
        bool api;
        double S;
    };
    const Case kCases[] = {
        {0.5, theta, false, 1.0 + t},  {-0.5, -theta, false, 1.0 + t}, {0.5, -theta, false, 1.0 - t},
        {-0.5, theta, false, 1.0 - t}, {0.0, theta, false, 1.0 - t},   {0.0, theta, true, 1.0 + t},
        {0.0, -theta, true, 1.0 + t},
    };
    for (const Case& c : kCases) {
        EXPECT_DOUBLE_EQ(soil::WedgeDirectionFactor(c.y, c.slope, t, c.api), c.S) << c.y << " " << c.slope;
    }
    // Moving towards the falling ground (S = 1 + t) the wedge is smaller
    // than on level ground, towards the rising ground (S = 1 - t) larger.
    const double z = 48.0, b = 24.0, gamma = 0.04;
    const double level = soil::SandShallowWedge(a, Ka_slope, gamma, z, b, 1.0, 0.0);
    EXPECT_LT(soil::SandShallowWedge(a, Ka_slope, gamma, z, b, 1.0 + t, t), level);
    EXPECT_GT(soil::SandShallowWedge(a, Ka_slope, gamma, z, b, 1.0 - t, t), level);
}

TEST(ReeseSandCurve, ContinuousThroughItsLandmarks) {
    // b = 24 in at z = 48 in (z/b = 2, static: A = 1.48, B = 1.05), ps = 585
    // lb/in: pm = 614.25 at ym = 0.4 in, pu = 865.8 at yu = 0.9 in. The
    // initial line k z y meets the parabola below ym (case 1), between ym
    // and yu (case 2) or beyond yu (case 3) as k z falls.
    const double ps = 585.0, b = 24.0, z = 48.0;
    struct Case {
        double kz;
        int curve_case;
    };
    const Case kCases[] = {{4320.0, 1}, {1200.0, 2}, {500.0, 3}};
    for (const Case& c : kCases) {
        const soil::ReeseSandCurve curve = soil::MakeReeseSandCurve(ps, b, c.kz, z, false);
        EXPECT_EQ(curve.curve_case, c.curve_case) << c.kz;
        EXPECT_NEAR(curve.pu, 1.48 * ps, 1.0e-4);
        EXPECT_NEAR(curve.pms, 1.05 * ps, 1.0e-4);
        // The parabola passes through (ym, pm) and meets the line at yk.
        EXPECT_NEAR(curve.C * std::pow(curve.yms, 1.0 / curve.n), curve.pms, 1.0e-9 * curve.pms);
        EXPECT_NEAR(curve.C * std::pow(curve.yk, 1.0 / curve.n), c.kz * curve.yk, 1.0e-9 * curve.pms);
        for (double y : {curve.yk, curve.yms, curve.yu}) {
            const double eps = 1.0e-9;
            EXPECT_NEAR(curve.P(y - eps), curve.P(y + eps), 1.0e-5 * curve.pu) << c.kz << " at " << y;
        }
        EXPECT_DOUBLE_EQ(curve.P(10.0), std::min(curve.pu, c.kz * 10.0));
        // Never above the initial line.
        for (double y = 0.01; y < 2.0; y += 0.01) EXPECT_LE(curve.P(y), c.kz * y + 1.0e-9);
    }
}

TEST(ReeseSandCurve, ReportPointsFollowTheCurveCase) {
    const double ps = 585.0, b = 24.0, z = 48.0;
    struct Case {
        double kz;
        std::vector<std::pair<int, double>> y;  // point number, y
    };
    const soil::ReeseSandCurve c1 = soil::MakeReeseSandCurve(ps, b, 4320.0, z, false);
    const soil::ReeseSandCurve c3 = soil::MakeReeseSandCurve(ps, b, 500.0, z, false);
    const Case kCases[] = {
        {4320.0, {{1, 0.0}, {2, c1.yk}, {13, b / 60.0}, {14, 13.0 * b / 480.0}, {15, 3.0 * b / 80.0}, {17, 3.0 * b / 80.0 + b}}},
        {500.0, {{1, 0.0}, {15, c3.pu / 500.0}, {16, c3.pu / 500.0 + 0.5 * b}, {17, c3.pu / 500.0 + b}}},
    };
    for (const Case& c : kCases) {
        const soil::ReeseSandCurve curve = soil::MakeReeseSandCurve(ps, b, c.kz, z, false);
        const auto points = soil::ReeseSandReportPoints(curve, b);
        for (const auto& [j, y] : c.y) EXPECT_NEAR(points[static_cast<std::size_t>(j - 1)].y, y, 1.0e-12) << j;
        for (const soil::SandReportPoint& p : points) EXPECT_DOUBLE_EQ(p.p, curve.P(p.y));
    }
    // Case 1 marks only the point at yk; case 3 marks every point on the
    // initial line up to pu / k z.
    const auto p1 = soil::ReeseSandReportPoints(c1, b);
    EXPECT_TRUE(p1[1].marked);
    EXPECT_FALSE(p1[2].marked);
    const auto p3 = soil::ReeseSandReportPoints(c3, b);
    for (int j = 2; j <= 14; ++j) EXPECT_TRUE(p3[static_cast<std::size_t>(j - 1)].marked) << j;
    EXPECT_FALSE(p3[16].marked);
}

TEST(SandEquivalentDepth, DevelopsTheResistanceOfTheLayersAbove) {
    // Z with  integral_0^Z A(z/b) (C1 z + C2 b) gamma' z dz = A, A from the
    // static or cyclic Reese table, up to the depth Zc where the API
    // resistances meet.
    const double b = 24.0, gamma = 0.04;
    for (bool cyclic : {false, true}) {
        for (double phi : {30.0, 38.0}) {
            const ApiCoefficients api(phi);
            const soil::SandCoefficients k{api.C1, api.C2, api.C3};
            auto resistance = [&](double z) {
                return soil::ReeseSandA(z / b, cyclic) * (api.C1 * z + api.C2 * b) * gamma * z;
            };
            const double Zc = (api.C3 - api.C2) * b / api.C1;
            for (double fraction : {0.05, 0.3, 0.9}) {
                const double A = fraction * Integral(resistance, 0.0, Zc, 6000);
                const double Z = soil::SandEquivalentDepth(A, b, gamma, 100.0, k, cyclic);
                EXPECT_NEAR(Integral(resistance, 0.0, Z, 6000), A, 1.0e-4 * A) << phi << " " << fraction;
            }
        }
    }
}

// A 24 in pile, 600 in long, in one sand layer of gamma' = 0.04 lb/in^3.
model::ProblemData SandPile(int code, double phi, double k, model::UnitSystem units = model::UnitSystem::USCS) {
    model::ProblemData problem = ElasticPileProblem(600.0, 2.9e7 * 16286.0, 24.0, 100, units);
    AddLayer(problem, code, 0.0, 600.0, Sand(0.04, phi, k), Sand(0.04, phi, k));
    return problem;
}

TEST(SandSprings, ResistanceAtANodeFromTheApiCoefficients) {
    // Node 11 at z = 60 in = 2.5 b: Reese A = 1.23 (static), API A =
    // max(0.9, 3 - 0.8 * 2.5) = 1.0. pm = 0.8, ym = 1.25.
    const double b = 24.0, z = 60.0, gamma = 0.04, phi = 34.0, k = 100.0;
    const ApiCoefficients api(phi);
    const double ps = std::min((api.C1 * z + api.C2 * b) * gamma * z, api.C3 * b * gamma * z);
    const double kz = k * z;
    struct Case {
        const char* what;
        int code;
        double y;
        double p;
    };
    const double y_small = 0.01;  // y* = 0.008 in
    const Case kCases[] = {
        {"Reese, on the plateau", kSand, 1.25 * 2.0, 0.8 * 1.23 * ps},
        {"Reese, on the initial line", kSand, 1.25 * 1.0e-4, 0.8 * kz * 1.0e-4},
        {"API, hyperbolic tangent", kApiSand, 1.25 * y_small,
         0.8 * 1.0 * ps * std::tanh(kz * y_small / (1.0 * ps))},
        {"API, ultimate", kApiSand, 1.25 * 6.0, 0.8 * 1.0 * ps},
    };
    for (const Case& c : kCases) {
        model::ProblemData problem = SandPile(c.code, phi, k);
        SetMultipliers(problem, 0.8, 1.25);
        Analysis a(problem);
        EXPECT_NEAR(a.P(1, 11, c.y), c.p, 1.0e-6 * c.p) << c.what;
    }
}

TEST(SandSprings, ZeroInputKUsesTheDefaultOverTheWholeLayer) {
    // At 42 degrees the default k is 160.547 lb/in^3; at vanishing
    // deflection the modulus is k z (node 11, z = 60 in), whatever the
    // bottom value.
    for (int code : {kSand, kApiSand}) {
        model::ProblemData problem = SandPile(code, 42.0, 0.0);
        problem.Layers[0].Bottom.SubgradeK = 500.0;
        Analysis a(problem);
        a.P(1, 11, 0.0);
        EXPECT_NEAR(a.pile().Es(11), 160.547 * 60.0, 0.01 * 60.0) << code;
    }
}

TEST(SandSprings, FrictionAngleWarningsAndMessage) {
    struct Case {
        int code;
        double phi;
        int warning;  // 0: none
    };
    const Case kCases[] = {{kSand, 19.0, 302}, {kSand, 49.0, 302}, {kSand, 30.0, 0}, {kApiSand, 50.0, 303}, {kApiSand, 30.0, 0}};
    for (const Case& c : kCases) {
        Analysis a(SandPile(c.code, c.phi, 100.0));
        ASSERT_EQ(a.Evaluate(1), 0);
        const auto& counts = a.ctx().warnings.WarningCount;
        EXPECT_EQ(counts[302] + counts[303] > 0, c.warning != 0) << c.phi;
        if (c.warning != 0) {
            EXPECT_GT(counts[static_cast<std::size_t>(c.warning)], 0);
        }
    }
    // Reese sand also writes its message to the run message file.
    InputFile input;
    input.soil = "1\n5 0. 50.\n69. 50. 100.\n69. 50. 100.\n";
    const RunOutput out = RunInput(input.Text());
    const std::vector<std::string> message = {
        "**** Warning ****",
        "",
        "An unreasonable value for friction angle was input for a Reese sand layer. ",
        "The input value is either smaller than 20 degrees or higher than 48 degrees.",
        "The input data should be checked for correctness.",
        "",
        "The input value for friction angle was used in computations.",
        "",
    };
    EXPECT_EQ(BlockFrom(out.MessageLines(), "**** Warning ****", message.size()), message);
    EXPECT_EQ(out.code, -302);
}

TEST(SandSprings, InputErrorsStopWithTheirMessages) {
    struct Case {
        const char* what;
        std::string soil;
        std::string extra;
        int code;
        std::vector<std::string> report;    // expected block in the report (empty: none)
        std::vector<std::string> messages;  // expected block in the message file
    };
    const std::vector<std::string> error8 = {
        "**** Input Data Error No. 8 ****",
        "",
        "An error was detected in the input data for friction angle.",
        "Problem:  Zero was input for the friction angle for a sand when computing ",
        "          a p-y curve using the Reese et al. criteria.",
        "",
        "Solution: Check values of soil strength values and revise the input data.",
    };
    const std::vector<std::string> error1 = {
        "**** Input Data Error No. 1 ****",
        "",
        "An error was detected in the input data when computing a p-y.",
        "curve using the API sand criteria for layer 1.",
        "",
        "Problem:  Zero was input for the friction angle for sand.",
        "",
        "Solution:  Check the friction angle values and revise the ",
        "data to correct this problem.",
    };
    const std::vector<std::string> error9 = {
        "**** Input Data Error No. 9 ****",
        "",
        "An error was found in the input data when computing a p-y curve using ",
        "the Reese sand criteria for layer 1.",
        "",
        "Problem:  The angle of the ground slope can not be greater than the ",
        "internal friction angle of the sand.",
        "",
        "Solution:  Set the value for slope angle to be less than the angle of friction.",
    };
    const std::vector<std::string> error2 = {
        "**** Input Data Error No. 2 ****",
        "",
        "An error was detected in the input data when computing a p-y.",
        "curve using the API criteria for sand for layer 1.",
        "",
        "Problem:  The angle of the ground slope can not be greater ",
        "than the internal friction angle of the sand.",
        "",
        "Solution:  Set the value for slope angle to be less than ",
        "the angle of friction.",
    };
    const std::vector<std::string> runtime13 = {
        "**** Runtime Error No. 13 ****",
        "",
        "Problem:  General units have been selected for use in computations in      ",
        "combination with default values of k for a layer classified as API sand    ",
        "criteria. This combination of data cannot be used because Trevasc cannot     ",
        "compute default values of subgrade modulus in general units.               ",
        "",
        "Solution:  You must select either US customary for SI units for the        ",
        "units of computation to use a default value for subgrade subgrade modulus  ",
        "for the API sand criteria or enter an appropriate proper value by entering ",
        "a non-zero for k.",
    };
    const std::string slope = "PILE BATTER AND SLOPE\n35.\n0.\n";
    const Case kCases[] = {
        {"Reese, zero friction angle", "1\n5 0. 50.\n69. 0. 100.\n69. 30. 100.\n", "", 108, {}, error8},
        // API sand accepts phi = 0 at the top node; below it the run stops.
        {"API, zero friction angle", "1\n6 0. 50.\n69. 30. 100.\n69. 0. 100.\n", "", 101, error1, error1},
        {"Reese, slope steeper than phi", "1\n5 0. 50.\n69. 30. 100.\n69. 30. 100.\n", slope, 109, error9, error9},
        {"API, slope steeper than phi", "1\n6 0. 50.\n69. 30. 100.\n69. 30. 100.\n", slope, 102, error2, error2},
    };
    for (const Case& c : kCases) {
        InputFile input;
        input.soil = c.soil;
        input.extra = c.extra;
        const RunOutput out = RunInput(input.Text());
        EXPECT_EQ(out.code, c.code) << c.what;
        EXPECT_EQ(BlockFrom(out.MessageLines(), c.messages.front(), c.messages.size()), c.messages) << c.what;
        if (!c.report.empty()) {
            EXPECT_EQ(BlockFrom(out.ReportLines(), c.report.front(), c.report.size()), c.report) << c.what;
        } else {
            EXPECT_FALSE(HasLine(out.ReportLines(), c.messages.front())) << c.what;
        }
    }
    // Default k with general units: Runtime Error 13, for either sand.
    for (const char* code : {"5", "6"}) {
        InputFile input;
        input.units = "GENERAL";
        input.soil = std::string("1\n") + code + " 0. 600.\n0.04 34. 0.\n0.04 34. 0.\n";
        const RunOutput out = RunInput(input.Text());
        EXPECT_EQ(out.code, 213) << code;
        EXPECT_EQ(BlockFrom(out.ReportLines(), runtime13.front(), runtime13.size()), runtime13);
        EXPECT_EQ(BlockFrom(out.MessageLines(), runtime13.front(), runtime13.size()), runtime13);
        EXPECT_TRUE(HasLine(out.ReportLines(), "Trevasc ended prematurely due to runtime error number RUN00013"));
    }
}

TEST(SandSprings, SlopeSteeperThanPhiBelowTheFirstLayerEndsOnANotANumberModulus) {
    // Layer 2 of Reese sand under a 30 degree slope with phi = 25 degrees:
    // Coulomb's coefficient has no value, and the modulus check stops.
    InputFile input;
    input.soil = "2\n1 0. 10.\n60. 800. 0.02\n60. 800. 0.02\n5 10. 50.\n60. 25. 50.\n60. 25. 50.\n";
    input.extra = "PILE BATTER AND SLOPE\n30.\n0.\n";
    const RunOutput out = RunInput(input.Text());
    // Runtime Error 42 with the closing lines (this stop used to return 99,
    // the wrong-interface code, after the report had been written).
    EXPECT_EQ(out.code, 242);
    bool found = false;
    for (const std::string& line : out.ReportLines()) {
        found = found || line.rfind("The value of soil modulus computed in Reese Sand is not-a-number for node ", 0) == 0;
    }
    EXPECT_TRUE(found);
    EXPECT_TRUE(HasLine(out.ReportLines(), "**** Runtime Error No. 42 ****"));
    EXPECT_TRUE(HasLine(out.ReportLines(), "Trevasc ended prematurely due to runtime error number RUN00042"));
    EXPECT_TRUE(HasLine(out.ReportLines(), "The analysis ended due to a runtime error. "));
    EXPECT_TRUE(HasLine(out.MessageLines(), "**** Runtime Error No. 42 ****"));
}

// The curves a criterion hands out for output depths in layer 1, as the p-y
// output asks for them: numbered from 1 in the order given, the depth
// numbered j holding the deflection of pile node j. `error` is the error
// number when the criterion stops the run.
struct HandedCurves {
    std::vector<soil::PyCurveReport> curves;
    int error = 0;
};

HandedCurves CurvesAt(Analysis& a, soil::CurveRoutine routine, const std::vector<double>& depths) {
    run::RunContext& ctx = a.ctx();
    std::vector<soil::PyNode> nodes;
    for (std::size_t i = 0; i < depths.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        nodes.push_back(soil::OutputDepthNode(ctx, number, depths[i], number));
    }
    HandedCurves out;
    ctx.soil.AtOutputDepths = true;
    try {
        routine(ctx, 1, nodes,
                [&out](const soil::PyNode&, const soil::PyCurveReport& curve) { out.curves.push_back(curve); });

    } catch (const run::RunStop& stop) {
        out.error = stop.error_number;
    }
    ctx.soil.AtOutputDepths = false;
    return out;
}

// The number printed after the label `label` of a curve block.
double LabelledValue(const soil::PyCurveReport& curve, const std::string& label) {
    for (const soil::PyCurveReport::Item& item : curve.Items()) {
        if (item.kind == soil::PyCurveReport::Item::kLabelled && item.text == label) return std::stod(item.value);
    }
    ADD_FAILURE() << "no line " << label;
    return std::nan("");
}

TEST(SandCurves, ReeseWedgeOnASlopeFollowsThePileDeflectionAtTheOutputDepth) {
    // A 15 degree slope; the output depth of 303 in (between nodes 51 and
    // 52) is numbered 1, so the deflection it holds is that of the pile head,
    // of the other sign than the pile's at the depth. The printed wedge
    // follows the pile at the depth: S = 1 - t where it moves against the
    // slope, 1 + t where it moves with it, t = tan(theta) tan(45 + phi/2).
    const double phi = 35.0, theta = 15.0 * kDeg, z = 303.0, b = 24.0, gamma = 0.04;
    const soil::SandAngles angles = soil::MakeSandAngles(phi * kDeg, 0.4);
    const double Ka = soil::ActiveCoefficientOnSlope(theta, phi * kDeg);
    const double t = std::tan(theta) * std::tan(angles.beta);
    struct Case {
        double y_head;
        double y_deep;  // below x = 180 in
        double S;
    };
    const Case kCases[] = {{0.5, -0.5, 1.0 - t}, {-0.5, 0.5, 1.0 + t}};
    for (const Case& c : kCases) {
        model::ProblemData problem = SandPile(kSand, phi, 100.0);
        problem.GroundSlopeAngle = problem.SlopeMinusBatter = theta;
        Analysis a(problem);
        for (int n = 1; n <= a.pile().N; ++n) a.pile().y(n) = a.pile().x(n) < 180.0 ? c.y_head : c.y_deep;
        const HandedCurves out = CurvesAt(a, &soil::SandCurves, {z});
        ASSERT_EQ(out.error, 0);
        ASSERT_EQ(out.curves.size(), 1u);
        const double pst = soil::SandShallowWedge(angles, Ka, gamma, z, b, c.S, t);
        EXPECT_NEAR(LabelledValue(out.curves[0], "Pst"), pst, 1.0e-3) << c.y_deep;
    }
}

TEST(ApiSandCurves, ZeroFrictionAngleIsAcceptedAtTheFirstOutputDepthOfTheLayerOnly) {
    // The friction angle grows from 0 at the ground surface: the springs
    // accept it at the top node. Among the output depths it is accepted at
    // the first of the layer; later in the list it stops the run (Input
    // Data Error 1) after the curves before it have been handed out.
    struct Case {
        std::vector<double> depths;
        std::size_t curves;
        int error;
    };
    const Case kCases[] = {
        {{0.0, 300.0}, 2, 0},
        {{300.0, 0.0}, 1, 101},
        {{300.0, 450.0, 0.0}, 2, 101},
    };
    for (const Case& c : kCases) {
        model::ProblemData problem = SandPile(kApiSand, 30.0, 100.0);
        problem.Layers[0].Top.FrictionAngle = 0.0;
        Analysis a(problem);
        ASSERT_EQ(a.Evaluate(1), 0);
        const HandedCurves out = CurvesAt(a, &soil::ApiSandCurves, c.depths);
        EXPECT_EQ(out.error, c.error) << c.depths.front();
        EXPECT_EQ(out.curves.size(), c.curves) << c.depths.front();
    }
}

}  // namespace
}  // namespace trevasc::testing::clay_sand
