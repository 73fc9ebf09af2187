// Matlock's soft clay criterion ("SoftClay", "SoftClyJ"): the curve and its
// landmarks from the published equations, the default epsilon-50, the
// equivalent depth against the integral of pu, the criterion at pile nodes,
// its errors and warnings, and the layering correction on a split profile.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "soil/clay_sand_fixture.hpp"
#include "soil/soft_clay.hpp"

namespace trevasc::testing::clay_sand {

using model::ProblemData;
using model::UnitSystem;

namespace {

// A 24 in pile in clay of c = 5 psi, gamma' = 0.03 lb/in^3, eps50 = 0.01:
// y50 = 2.5 * 0.01 * 24 = 0.6 in; zr = 6 c b / (gamma' b + 0.5 c) = 720 /
// 3.22 = 223.6 in.
constexpr double kB = 24.0, kC = 5.0, kGamma = 0.03, kEps50 = 0.01;
constexpr double kY50 = 0.6;

double MatlockPu(double z, double J = 0.5) {
    const double Np = 3.0 + kGamma * z / kC + J * z / kB;
    return std::min(Np, 9.0) * kC * kB;
}

TEST(SoftClayCurve, LandmarksOfTheStaticAndCyclicCurves) {
    const double zr = 6.0 * kC * kB / (kGamma * kB + 0.5 * kC);
    const double pc = 0.5 * std::cbrt(3.0);  // the static curve at 3 y50, over pu
    struct Case {
        const char* what;
        bool cyclic;
        double z;
        double y_over_y50;
        double p;
    };
    const double pu60 = MatlockPu(60.0);  // Np = 4.61: 553.2 lb/in
    const double pu300 = MatlockPu(300.0);  // Np capped at 9: 1080 lb/in
    const Case kCases[] = {
        {"static, p = pu/2 at y50", false, 60.0, 1.0, 0.5 * pu60},
        {"static, cube-root rise: (1.5^3 y50) gives 0.75 pu", false, 60.0, 3.375, 0.75 * pu60},
        {"static, reaches pu at 8 y50", false, 60.0, 8.0, pu60},
        {"static, stays at pu", false, 60.0, 20.0, pu60},
        {"static, below the bearing-factor cap", false, 300.0, 8.0, pu300},
        {"cyclic, plateau starts at 3 y50", true, 60.0, 3.0, pc * pu60},
        {"cyclic above zr, halfway down at 9 y50", true, 60.0, 9.0, pc * pu60 * (1.0 + 60.0 / zr) / 2.0},
        {"cyclic above zr, residual pc z/zr from 15 y50", true, 60.0, 15.0, pc * pu60 * 60.0 / zr},
        {"cyclic above zr, residual beyond", true, 60.0, 40.0, pc * pu60 * 60.0 / zr},
        {"cyclic below zr, flat at pc", true, 300.0, 10.0, pc * pu300},
        {"cyclic below zr, flat at pc far out", true, 300.0, 40.0, pc * pu300},
    };
    for (const Case& c : kCases) {
        const soil::SoftClayCurve curve = soil::MakeSoftClayCurve(kB, kC, kGamma, kEps50, 0.5, c.z, 1.0, c.cyclic);
        EXPECT_NEAR(curve.P(c.y_over_y50 * kY50), c.p, 1.0e-6 * c.p) << c.what;
    }
}

TEST(SoftClayCurve, LimitingModulusIsTheSlopeAtOneHundredThousandthOfY50) {
    // d/dy [0.5 pu (y/y50)^(1/3)] = pu / (6 y50) (y/y50)^(-2/3), at 1e-5 y50.
    const soil::SoftClayCurve curve = soil::MakeSoftClayCurve(kB, kC, kGamma, kEps50, 0.5, 60.0, 1.0, false);
    const double y_limit = 1.0e-5 * kY50;
    const double slope = MatlockPu(60.0) / (6.0 * kY50) * std::pow(1.0e-5, -2.0 / 3.0);
    EXPECT_NEAR(curve.Eslim, slope, 1.0e-6 * slope);
    // Below the limit the curve is the straight line Eslim y.
    EXPECT_NEAR(curve.P(0.25 * y_limit), slope * 0.25 * y_limit, 1.0e-6 * slope * y_limit);
}

TEST(SoftClayCurve, SlopeFactorScalesTheBearingFactorBeforeItsCap) {
    // Np = 4.61 at 60 in: a factor of 1.5 gives 6.915 (below the cap), a
    // factor of 2.5 gives 11.5, capped at 9.
    struct Case {
        double factor;
        double pu;
    };
    const Case kCases[] = {{1.5, 1.5 * 4.61 * kC * kB}, {2.5, 9.0 * kC * kB}, {0.5, 0.5 * 4.61 * kC * kB}};
    for (const Case& c : kCases) {
        const soil::SoftClayCurve curve = soil::MakeSoftClayCurve(kB, kC, kGamma, kEps50, 0.5, 60.0, c.factor, false);
        EXPECT_NEAR(curve.pu, c.pu, 1.0e-9 * c.pu) << c.factor;
    }
}

TEST(SoftClayDefaults, Epsilon50ByStrength) {
    // Bands at 250, 500, 1000 and 2000 psf (psi) and their kPa values.
    struct Case {
        UnitSystem units;
        double c;
        double eps50;
    };
    const Case kCases[] = {
        {UnitSystem::USCS, 200.0 / 144.0, 0.02},  {UnitSystem::USCS, 400.0 / 144.0, 0.02},
        {UnitSystem::USCS, 700.0 / 144.0, 0.01},  {UnitSystem::USCS, 1500.0 / 144.0, 0.005},
        {UnitSystem::USCS, 3000.0 / 144.0, 0.005}, {UnitSystem::USCS, 5000.0 / 144.0, 0.004},
        {UnitSystem::SI, 20.0, 0.02},             {UnitSystem::SI, 30.0, 0.01},
        {UnitSystem::SI, 60.0, 0.005},            {UnitSystem::SI, 150.0, 0.005},
        {UnitSystem::SI, 250.0, 0.004},           {UnitSystem::GENERAL, 30.0, 0.0},
    };
    for (const Case& c : kCases) {
        EXPECT_DOUBLE_EQ(soil::SoftClayDefaultEpsilon50(c.c, c.units), c.eps50) << c.c;
    }
}

TEST(SoftClayEquivalentDepth, DevelopsTheResistanceOfTheLayersAbove) {
    // Z must satisfy  integral_0^Z pu dz = A  (static), and under cyclic
    // loading  integral_0^Z 0.72 pu min(z/zt, 1) dz = A  beyond zt, zt being
    // where Np reaches 9. J other than 0.5 enters pu as J z / b.
    struct Case {
        const char* what;
        double J;
        bool cyclic;
        double A;
    };
    const Case kCases[] = {
        {"static, within the wedge", 0.5, false, 1.0e5},
        {"static, beyond the cap", 0.5, false, 6.0e5},
        {"static, J = 0.25, within the wedge", 0.25, false, 1.0e5},
        {"static, J = 0.25, beyond the cap", 0.25, false, 9.0e5},
        {"static, J = 1, beyond the cap", 1.0, false, 6.0e5},
        {"cyclic, within the wedge", 0.5, true, 1.0e5},
        {"cyclic, beyond the cap", 0.5, true, 6.0e5},
        {"cyclic, J = 0.25, beyond the cap", 0.25, true, 9.0e5},
    };
    for (const Case& c : kCases) {
        const double zt = 6.0 * kB * kC / (c.J * kC + kGamma * kB);
        auto pu = [&](double z) {
            const double p = MatlockPu(z, c.J);
            return c.cyclic ? 0.72 * p * std::min(z / zt, 1.0) : p;
        };
        const double Z = soil::SoftClayEquivalentDepth(c.A, kB, kC, kGamma, c.J, c.cyclic);
        // The integral below zt and beyond it, both by Simpson's rule.
        const double F = Z <= zt ? Integral(pu, 0.0, Z) : Integral(pu, 0.0, zt) + Integral(pu, zt, Z);
        EXPECT_NEAR(F, c.A, 2.0e-6 * c.A) << c.what << ": Z = " << Z;
    }
}

ProblemData SoftClayPile(int code = model::kSoftClay, UnitSystem units = UnitSystem::USCS) {
    ProblemData problem = ElasticPileProblem(600.0, 2.9e7 * 16286.0, kB, 100, units);
    AddLayer(problem, code, 0.0, 600.0, Clay(kGamma, kC, kEps50), Clay(kGamma, kC, kEps50));
    return problem;
}

TEST(SoftClaySprings, SecantModulusAtANodeWithMultipliers) {
    // Node 11 lies at 60 in (h = 6 in): pu = 553.2 lb/in. With pm = 0.7 and
    // ym = 1.5 the curve is evaluated at y* = y/1.5 and p scaled by 0.7.
    const double pu = MatlockPu(60.0);
    struct Case {
        double y;
        double p;
    };
    const Case kCases[] = {
        {1.5 * kY50, 0.7 * 0.5 * pu},
        {1.5 * 3.375 * kY50, 0.7 * 0.75 * pu},
        {-1.5 * 10.0 * kY50, 0.7 * pu},
    };
    for (const Case& c : kCases) {
        ProblemData problem = SoftClayPile();
        SetMultipliers(problem, 0.7, 1.5);
        Analysis a(problem);
        EXPECT_NEAR(a.P(1, 11, c.y), c.p, 1.0e-6 * c.p) << c.y;
    }
}

TEST(SoftClaySprings, TinyDeflectionOrSoilMovingWithThePileGivesTheLimitingModulus) {
    // Eslim = pu / (6 y50) (1e-5)^(-2/3), without the multipliers.
    const double Eslim = MatlockPu(60.0) / (6.0 * kY50) * std::pow(1.0e-5, -2.0 / 3.0);
    ProblemData problem = SoftClayPile();
    SetMultipliers(problem, 0.7, 1.5);
    {
        Analysis a(problem);
        a.P(1, 11, 1.0e-8);
        EXPECT_NEAR(a.pile().Es(11), Eslim, 1.0e-6 * Eslim);
    }
    {
        Analysis a(problem);
        for (int k = 1; k <= a.pile().N; ++k) a.pile().y(k) = a.pile().ysoil(k) = 0.4;
        ASSERT_EQ(a.Evaluate(1), 0);
        EXPECT_NEAR(a.pile().Es(11), Eslim, 1.0e-6 * Eslim);
    }
}

TEST(SoftClaySprings, StrengthWarningsByUnitSystem) {
    // 1,250 psf (8.68 psi) and 59.85 kPa are the upper limits of soft clay.
    struct Case {
        UnitSystem units;
        double c;
        int warning;  // 0: none
    };
    const Case kCases[] = {
        {UnitSystem::USCS, 8.5, 0}, {UnitSystem::USCS, 9.0, 3041}, {UnitSystem::SI, 55.0, 0}, {UnitSystem::SI, 65.0, 3042}};
    for (const Case& c : kCases) {
        ProblemData problem = ElasticPileProblem(c.units == UnitSystem::SI ? 15.0 : 600.0, 1.0e9, 1.0, 50, c.units);
        AddLayer(problem, model::kSoftClay, 0.0, problem.PileTotalLength, Clay(10.0, c.c, 0.01), Clay(10.0, c.c, 0.01));
        Analysis a(problem);
        ASSERT_EQ(a.Evaluate(1), 0);
        EXPECT_EQ(a.ctx().warnings.WarningCount[3041] + a.ctx().warnings.WarningCount[3042] > 0, c.warning != 0);
        if (c.warning != 0) {
            EXPECT_GT(a.ctx().warnings.WarningCount[static_cast<std::size_t>(c.warning)], 0);
        }
    }
}

TEST(SoftClaySprings, ZeroStrengthPassesAtTheTopNodeAndStopsBelowIt) {
    // c from 0 at the top to 1000 psf: the ground-surface node has c = 0 and
    // the run goes on. c from 500 psf down to 0 at the tip stops at node 101.
    InputFile passes;
    passes.soil = "1\n1 0. 50.\n50. 0. 0.02\n55. 1000. 0.02\n";
    EXPECT_EQ(RunInput(passes.Text()).code, 0);

    struct Case {
        int code;
        std::string soil;
        int error;
        std::string heading;
        std::string problem;
    };
    const Case kCases[] = {
        {1, "1\n1 0. 50.\n50. 500. 0.02\n55. 0. 0.02\n", 112, "**** Input Data Error No. 12 ****",
         "Problem:  A negative or zero value of cohesion was input for a soft clay soil."},
        {15, "1\n15 0. 50.\n50. 500. 0.02 0.5\n55. 0. 0.02 0.5\n", 171, "**** Input Data Error No. 71 ****",
         "Problem:  A negative or zero value of cohesion was input for a soft clay soil with J."},
    };
    for (const Case& c : kCases) {
        InputFile input;
        input.soil = c.soil;
        const RunOutput out = RunInput(input.Text());
        EXPECT_EQ(out.code, c.error);
        const std::vector<std::string> text = {
            c.heading,
            "",
            "An error was detected that is related to an incompatibility between the input ",
            "data defining soil layering and soil shear strength values when computing a ",
            "p-y curve using the Matlock soft clay criteria.",
            "",
            c.problem,
            "",
            "Solution:  Please compare the depth values for soil layering and soil shear ",
            "strength values and revise the input data.",
            "",
            "",
        };
        // Node 101 is the tip at 600 in, in the layer of nodes 1 to 101.
        const std::string where =
            "Layer no. = 1, Node no. = 101, Top node in layer = 1, Elevation =    600.000, c(x) =      0.000";
        std::vector<std::string> messages = text;
        messages.push_back(where);
        std::vector<std::string> report = text;
        report.push_back(where + ", Pile length =    600.000");
        report.push_back(", ITOP = 1, IBOT = 101");
        EXPECT_EQ(BlockFrom(out.MessageLines(), c.heading, messages.size()), messages);
        EXPECT_EQ(BlockFrom(out.ReportLines(), c.heading, report.size()), report);
        const std::string code = c.error == 112 ? "INP00012" : "INP00071";
        EXPECT_TRUE(HasLine(out.ReportLines(), "Trevasc ended prematurely due to input error number " + code));
    }
}

TEST(SoftClayCurves, ZeroStrengthIsAcceptedAtTheFirstOutputDepthOfTheLayerOnly) {
    // The output depths of a layer stand for its nodes. With c = 0 at the
    // ground a depth there passes as the layer's first; a second depth there
    // stops the run after the first curve has been printed, and the error
    // names the depths by their numbers in the layer (1 to 3).
    struct Case {
        int code;
        std::string soil;
        int error;
        std::string heading;
        std::string title;
    };
    const Case kCases[] = {
        {1, "1\n1 0. 50.\n50. 0. 0.02\n55. 1000. 0.02\n", 112, "**** Input Data Error No. 12 ****",
         "p-y Curve Computed Using the Soft Clay Criteria for Static Loading Conditions"},
        {15, "1\n15 0. 50.\n50. 0. 0.02 0.5\n55. 1000. 0.02 0.5\n", 171, "**** Input Data Error No. 71 ****",
         "p-y Curve Computed Using the Soft Clay Criteria with J for Static Loading Conditions"},
    };
    for (const Case& c : kCases) {
        InputFile input;
        input.soil = c.soil;
        input.py_depths = {0.0, 10.0};
        EXPECT_EQ(RunInput(input.Text()).code, 0) << c.code;

        input.py_depths = {0.0, 0.0, 10.0};
        const RunOutput out = RunInput(input.Text());
        EXPECT_EQ(out.code, c.error) << c.code;
        const std::vector<std::string> report = out.ReportLines();
        EXPECT_EQ(std::count(report.begin(), report.end(), c.title), 1) << c.code;
        const auto heading = std::find(report.begin(), report.end(), c.heading);
        ASSERT_NE(heading, report.end()) << c.code;
        EXPECT_LT(std::find(report.begin(), report.end(), c.title), heading) << c.code;
        const std::string where =
            "Layer no. = 1, Node no. = 2, Top node in layer = 1, Elevation =      0.000, c(x) =      0.000";
        EXPECT_TRUE(HasLine(out.MessageLines(), where)) << c.code;
        EXPECT_TRUE(HasLine(report, ", ITOP = 1, IBOT = 3")) << c.code;
    }
}

// Regression: this stop used to end the run with 99, the code of a wrong
// interface code, and without the closing lines. It is Input Data Error 93.
TEST(SoftClaySprings, GeneralUnitsWithoutEpsilon50AreRefused) {
    for (const char* layer : {"1 0. 600.\n0.03 5. 0.\n0.03 5. 0.\n", "15 0. 600.\n0.03 5. 0. 0.5\n0.03 5. 0. 0.5\n"}) {
        InputFile input;
        input.units = "GENERAL";
        input.soil = std::string("1\n") + layer;
        const RunOutput out = RunInput(input.Text());
        EXPECT_EQ(out.code, 193);
        EXPECT_TRUE(HasLine(out.ReportLines(), "**** Input Data Error No. 93 ****"));
        EXPECT_TRUE(HasLine(out.ReportLines(), "          No default value of Epsilon50 exists when general units are used."));
        EXPECT_TRUE(HasLine(out.ReportLines(), "Trevasc ended prematurely due to input error number INP00093"));
        EXPECT_TRUE(HasLine(out.ReportLines(), "The analysis ended due to an input error. "));
        EXPECT_TRUE(HasLine(out.MessageLines(), "The analysis ended due to an input error. "));
    }
}

double SplitDeflection(int code, double J, bool cyclic, double split, double shear = 20000.0) {
    ProblemData problem = ElasticPileProblem(600.0, 2.9e7 * 16286.0, kB, 100);
    problem.Options.CyclicLoading = cyclic;
    problem.Options.NumberOfCycles = cyclic ? 100.0 : 0.0;
    problem.Options.ConvergenceTolerance = 1.0e-6;
    problem.Options.IterationLimit = 500;
    model::SoilPointParams point = Clay(kGamma, kC, kEps50);
    point.J = J;
    if (split <= 0.0) {
        AddLayer(problem, code, 0.0, 600.0, point, point);
    } else {
        AddLayer(problem, code, 0.0, split, point, point);
        AddLayer(problem, code, split, 600.0, point, point);
    }
    AddLoad(problem, model::kShearAndMoment, shear, 0.0);
    int error = 0;
    const double y = HeadDeflection(problem, &error);
    EXPECT_EQ(error, 0);
    return y;
}

TEST(SoftClayLayering, SplittingAHomogeneousLayerLeavesTheHeadDeflection) {
    // Two identical layers: the closed-form equivalent depth of the lower one
    // is its true depth, so the pile cannot tell the split.
    struct Case {
        const char* what;
        int code;
        double J;
        double split;  // in
        bool cyclic;
    };
    const Case kCases[] = {
        {"split on a node, 5 ft", model::kSoftClay, 0.5, 60.0, false},
        {"split between nodes, 7.75 ft", model::kSoftClay, 0.5, 93.0, false},
        {"split deep, 20 ft", model::kSoftClay, 0.5, 240.0, false},
        {"user J of 0.25", model::kSoftClayJ, 0.25, 93.0, false},
        {"user J of 1.0", model::kSoftClayJ, 1.0, 60.0, false},
        // Under cyclic loading the layers pass on their cyclic residual.
        // The head deflects by about 3 y50, where the cyclic curve leaves the
        // static one (deeper into the falling branch the answer turns
        // sensitive to any change).
        {"cyclic, split on a node", model::kSoftClay, 0.5, 60.0, true},
        {"cyclic, split between nodes", model::kSoftClay, 0.5, 93.0, true},
        {"cyclic, user J of 0.25", model::kSoftClayJ, 0.25, 93.0, true},
    };
    for (const Case& c : kCases) {
        const double shear = c.cyclic ? 80000.0 : 100000.0;
        const double whole = SplitDeflection(c.code, c.J, c.cyclic, 0.0, shear);
        const double split = SplitDeflection(c.code, c.J, c.cyclic, c.split, shear);
        EXPECT_NEAR(split, whole, 0.01 * std::fabs(whole)) << c.what << ": " << whole << " " << split;
    }
}

TEST(SoftClayLayering, CyclicLoadingDeflectsMoreThanStatic) {
    // The curves part beyond 3 y50 = 1.8 in, which a 100 kip shear passes.
    const double static_y = SplitDeflection(model::kSoftClay, 0.5, false, 0.0, 100000.0);
    const double cyclic_y = SplitDeflection(model::kSoftClay, 0.5, true, 0.0, 100000.0);
    EXPECT_GT(cyclic_y, static_y);
    EXPECT_GT(static_y, 0.0);
}

}  // namespace
}  // namespace trevasc::testing::clay_sand
