// The finite-difference solution against the closed-form solution of a long
// beam on an elastic (Winkler) foundation, and the boundary conditions of
// every loading type.
#include <cmath>
#include <memory>

#include <gtest/gtest.h>

#include "pile/node_setup.hpp"
#include "pile/pile_test_support.hpp"
#include "pile/solver.hpp"

namespace trevasc::testing {
namespace {

// Semi-infinite beam on a Winkler foundation of modulus Es (Hetenyi 1946):
// EI y'''' + Es y = 0, beta = (Es / 4EI)^(1/4), y = exp(-bx)(C1 cos bx + C2 sin bx).
// At the head EI y'' = M and EI y''' = V (free head), or y' = 0 and EI y''' = V
// (fixed head).
struct Winkler {
    double EI, Es, beta, C1, C2;
    static Winkler FreeHead(double EI, double Es, double V, double M) {
        const double b = std::pow(Es / (4.0 * EI), 0.25);
        const double c2 = -M / (2.0 * EI * b * b);
        return {EI, Es, b, V / (2.0 * EI * b * b * b) - c2, c2};
    }
    static Winkler FixedHead(double EI, double Es, double V) {
        const double b = std::pow(Es / (4.0 * EI), 0.25);
        const double c = V / (4.0 * EI * b * b * b);
        return {EI, Es, b, c, c};
    }
    double y(double x) const {
        return std::exp(-beta * x) * (C1 * std::cos(beta * x) + C2 * std::sin(beta * x));
    }
    double M(double x) const {
        return EI * beta * beta * std::exp(-beta * x) * (-2.0 * C2 * std::cos(beta * x) + 2.0 * C1 * std::sin(beta * x));
    }
};

// A 100 ft pile, EI = 1.0E10 lb-in^2, in a subgrade of Es = 1000 lb/in^2:
// beta = 0.01257 /in, so beta L = 15 (the tip is at rest to 1E-6) and with
// 500 increments beta h = 0.030.
constexpr double kL = 1200.0;
constexpr double kEI = 1.0e10;
constexpr double kEs = 1000.0;
constexpr int kIncrements = 500;

struct HeadCase {
    const char* name;
    int type;
    double condition1;
    double condition2;
};

class WinklerSolution : public ::testing::TestWithParam<HeadCase> {};

// One linear solution of the pile in a constant modulus Es.
void SolveInWinklerSoil(run::RunContext& ctx, const HeadCase& c) {
    pile::SetUpNodes(ctx, kL, 0);
    model::PileModel& pile = ctx.pile;
    for (int k = 1; k <= pile.N; ++k) pile.Es(k) = kEs;
    pile.LoadingType = c.type;
    pile.HeadShear = c.condition1;
    if (c.type == model::kShearAndMoment) pile.HeadMoment = c.condition2;
    if (c.type == model::kShearAndSlope) pile.HeadSlope = c.condition2;
    pile.P = 0.0;
    pile::Solve_Beam_Column(ctx);
}

Winkler Exact(const HeadCase& c) {
    return c.type == model::kShearAndMoment ? Winkler::FreeHead(kEI, kEs, c.condition1, c.condition2)
                                            : Winkler::FixedHead(kEI, kEs, c.condition1);
}

TEST_P(WinklerSolution, MatchesClosedFormWithinTruncationError) {
    const HeadCase& c = GetParam();
    PileRun run(ElasticPileProblem(kL, kEI, 12.0, kIncrements));
    run::RunContext& ctx = run.ctx();
    SolveInWinklerSoil(ctx, c);
    model::PileModel& pile = ctx.pile;
    const Winkler exact = Exact(c);
    // Central differences err by O((beta h)^2) relative to the peak values.
    const double bh = exact.beta * pile.h;
    const double y_tolerance = bh * bh * std::fabs(exact.y(0.0));
    double m_peak = 0.0;
    for (int k = 1; k <= pile.N; ++k) m_peak = std::max(m_peak, std::fabs(exact.M(pile.x(k))));
    const double m_tolerance = bh * bh * m_peak;
    for (int k = 1; k <= pile.N; ++k) {
        ASSERT_NEAR(pile.y(k), exact.y(pile.x(k)), y_tolerance) << "node " << k;
    }
    for (int k = 2; k < pile.N; ++k) {
        pile::Compute_Node_Response(ctx, k);
        ASSERT_NEAR(pile.M(k), exact.M(pile.x(k)), m_tolerance) << "node " << k;
    }
}

// Central differences are second-order: halving the increment divides the
// error of the head deflection by about four.
TEST_P(WinklerSolution, HeadDeflectionErrorIsSecondOrderInIncrement) {
    const HeadCase& c = GetParam();
    const Winkler exact = Exact(c);
    double error[2];
    for (int i = 0; i < 2; ++i) {
        PileRun run(ElasticPileProblem(kL, kEI, 12.0, kIncrements / (2 - i)));
        SolveInWinklerSoil(run.ctx(), c);
        error[i] = std::fabs(run.ctx().pile.y(1) - exact.y(0.0));
    }
    EXPECT_GT(error[0] / error[1], 3.5);
    EXPECT_LT(error[0] / error[1], 4.5);
}

std::string CaseName(const ::testing::TestParamInfo<HeadCase>& param) { return param.param.name; }

INSTANTIATE_TEST_SUITE_P(HeadConditions, WinklerSolution,
                         ::testing::Values(HeadCase{"FreeHeadShear", model::kShearAndMoment, 10000.0, 0.0},
                                           HeadCase{"FreeHeadShearAndMoment", model::kShearAndMoment, 10000.0, 2.0e6},
                                           HeadCase{"FreeHeadMomentOnly", model::kShearAndMoment, 0.0, -1.0e6},
                                           HeadCase{"FixedHead", model::kShearAndSlope, 10000.0, 0.0}),
                         CaseName);

// A pile with varying soil modulus, a distributed load, soil movement and an
// axial thrust, solved once for the head conditions of one loading type.
struct SolvedPile {
    std::unique_ptr<PileRun> run;
    model::PileModel& pile() { return run->ctx().pile; }
};

SolvedPile SolveForHead(int type, double c1, double c2, double thrust) {
    model::ProblemData problem = ElasticPileProblem(600.0, 4.0e10, 24.0, 100);
    problem.Options.UseSoilMovement = true;
    problem.SoilMovementProfile = {{0.0, 0.3}, {600.0, 0.0}};
    problem.DistributedLoad = {{0.0, 20.0}, {120.0, 5.0}};
    SolvedPile solved{std::make_unique<PileRun>(problem)};
    run::RunContext& ctx = solved.run->ctx();
    pile::SetUpNodes(ctx, 600.0, 0);
    model::PileModel& pile = ctx.pile;
    for (int k = 1; k <= pile.N; ++k) {
        pile.Es(k) = 200.0 + 3.0 * pile.x(k);
        pile.R(k) = pile.Q(k) + pile.Es(k) * pile.ysoil(k);
    }
    pile.LoadingType = type;
    pile.P = thrust;
    switch (type) {
        case model::kShearAndMoment: pile.HeadShear = c1, pile.HeadMoment = c2; break;
        case model::kShearAndSlope: pile.HeadShear = c1, pile.HeadSlope = c2; break;
        case model::kShearAndRotationalStiffness: pile.HeadShear = c1, pile.HeadRotationalStiffness = c2; break;
        case model::kDeflectionAndMoment: pile.HeadDeflection = c1, pile.HeadMoment = c2; break;
        default: pile.HeadDeflection = c1, pile.HeadSlope = c2; break;
    }
    pile::Solve_Beam_Column(ctx);
    return solved;
}

TEST(SolveBeamColumn, EveryLoadingTypeHoldsItsHeadConditionsAndEveryNodeEquation) {
    struct Case {
        int type;
        double c1, c2;
    };
    const Case kCases[] = {
        {model::kShearAndMoment, 15000.0, -4.0e5},
        {model::kShearAndSlope, 15000.0, 0.0},     // fixed head: y(2) = y(0)
        {model::kShearAndSlope, 15000.0, -0.002},
        {model::kShearAndRotationalStiffness, 15000.0, 3.0e9},
        {model::kDeflectionAndMoment, 0.25, 1.0e5},
        {model::kDeflectionAndSlope, 0.0, 0.001},  // y(1) is the soil movement at the head, 0.3
    };
    const double P = 50000.0;
    for (const Case& c : kCases) {
        SolvedPile solved = SolveForHead(c.type, c.c1, c.c2, P);
        model::PileModel& pile = solved.pile();
        const auto& y = pile.y;
        const double h = pile.h;
        const double R = pile.EI(2);
        const double moment = R * (y(2) - 2.0 * y(1) + y(0)) / (h * h);
        const double slope = (y(2) - y(0)) / (2.0 * h);
        const double shear = R * (y(3) - 2.0 * y(2) + 2.0 * y(0) - y(-1)) / (2.0 * h * h * h) + P * slope;
        const std::string what = "loading type " + std::to_string(c.type);
        switch (c.type) {
            case model::kShearAndMoment:
                EXPECT_NEAR(moment, c.c2, 1.0e-6 * std::fabs(c.c2)) << what;
                EXPECT_NEAR(shear, c.c1, 1.0e-6 * c.c1) << what;
                break;
            case model::kShearAndSlope:
                EXPECT_NEAR(slope, c.c2, 1.0e-12) << what;
                EXPECT_NEAR(shear, c.c1, 1.0e-6 * c.c1) << what;
                break;
            case model::kShearAndRotationalStiffness:
                EXPECT_NEAR(moment, c.c2 * slope, 1.0e-6 * std::fabs(moment)) << what;
                EXPECT_NEAR(shear, c.c1, 1.0e-6 * c.c1) << what;
                break;
            case model::kDeflectionAndMoment:
                EXPECT_EQ(y(1), c.c1) << what;
                EXPECT_NEAR(moment, c.c2, 1.0e-6 * c.c2) << what;
                break;
            default:
                EXPECT_DOUBLE_EQ(y(1), c.c1 + 0.3) << what;
                EXPECT_NEAR(slope, c.c2, 1.0e-12) << what;
                break;
        }
        // The beam-column equation in differences at every interior node:
        // [R(m+1) d2y(m+1) - 2 R(m) d2y(m) + R(m-1) d2y(m-1)] / h^4
        //   + P d2y(m) / h^2 + Es y - (q + Es ysoil) = 0.
        auto d2 = [&](int m) { return y(m + 1) - 2.0 * y(m) + y(m - 1); };
        for (int m = 3; m <= pile.N - 2; ++m) {
            const double bending = (pile.EI(m + 1) * d2(m + 1) - 2.0 * pile.EI(m) * d2(m) + pile.EI(m - 1) * d2(m - 1)) /
                                   std::pow(h, 4);
            const double spring = pile.Es(m) * y(m);
            const double residual = bending + P * d2(m) / (h * h) + spring - pile.R(m);
            ASSERT_NEAR(residual, 0.0, 1.0e-6 * (std::fabs(spring) + std::fabs(pile.R(m)) + 1.0)) << what << ", node " << m;
        }
        // Zero moment at the tip.
        EXPECT_NEAR(d2(pile.N), 0.0, 1.0e-12) << what;
    }
}

TEST(SolveBeamColumn, TipShearFollowsTheCurveAtTheLastTipDeflection) {
    struct Case {
        const char* what;
        std::vector<std::array<double, 2>> curve;
        double previous_tip_deflection;
        double previous_tip_shear;
        double expected;
    };
    const std::vector<std::array<double, 2>> curve = {{0.0, 0.0}, {0.1, 100.0}, {0.2, 150.0}};
    const Case kCases[] = {
        {"first segment", curve, 0.05, 0.0, 50.0},
        {"second segment", curve, 0.15, 0.0, 125.0},
        {"beyond the last point", curve, 0.5, 0.0, 150.0},
        {"tip moving the other way", curve, -0.15, 0.0, -125.0},
        {"one point, below it: the previous force", {{0.1, 80.0}}, 0.05, -60.0, 60.0},
        {"one point, beyond it", {{0.1, 80.0}}, -0.2, 0.0, -80.0},
        {"no curve", {}, 0.5, 0.0, 0.0},
    };
    for (const Case& c : kCases) {
        model::ProblemData problem = ElasticPileProblem(600.0, 4.0e10, 24.0, 100);
        problem.TipShearCurve = c.curve;
        PileRun run(problem);
        pile::SetUpNodes(run.ctx(), 600.0, 0);
        model::PileModel& pile = run.ctx().pile;
        pile.y(pile.N) = c.previous_tip_deflection;
        pile.Vt = c.previous_tip_shear;
        pile::Solve_Beam_Column(run.ctx());
        EXPECT_DOUBLE_EQ(pile.Vt, c.expected) << c.what;
    }
}

TEST(SolveHeadEquations, EliminatesWithoutRowExchangesAndReportsTheVanishingPivot) {
    model::SolverWork work;
    // A regular system with solution (1, 2, 3, 4, 5).
    const double a[5][5] = {{2, 1, 0, 0, 1}, {1, 3, 1, 0, 0}, {0, 1, 4, 1, 0}, {0, 0, 1, 5, 1}, {1, 0, 0, 1, 6}};
    for (int i = 1; i <= 5; ++i) {
        work.G[i] = 0.0;
        for (int j = 1; j <= 5; ++j) {
            work.Fm[i][j] = a[i - 1][j - 1];
            work.G[i] += a[i - 1][j - 1] * j;
        }
    }
    ASSERT_EQ(pile::Solve_Head_Equations(work, 5), 0);
    for (int i = 1; i <= 5; ++i) EXPECT_NEAR(work.YG[i], i, 1.0e-12);

    // Rows 1 and 2 equal in their first two columns: the second pivot
    // vanishes after the first elimination (no row exchange rescues it).
    model::SolverWork singular;
    const double b[4][4] = {{1, 2, 0, 0}, {1, 2, 1, 0}, {0, 1, 1, 1}, {0, 0, 1, 2}};
    for (int i = 1; i <= 4; ++i) {
        for (int j = 1; j <= 4; ++j) singular.Fm[i][j] = b[i - 1][j - 1];
        singular.G[i] = 1.0;
    }
    EXPECT_EQ(pile::Solve_Head_Equations(singular, 4), 2);
}

// A pile with no soil at all is a mechanism under lateral load: the head
// system is singular (its second pivot vanishes) and the run stops with
// Runtime Error 11, the partly eliminated head system dumped to the report.
TEST(SolveBeamColumn, PileWithoutSoilSupportStopsWithRuntimeError11) {
    model::ProblemData problem = ElasticPileProblem(600.0, 4.0e10, 24.0, 100);
    AddElasticSubgradeLayer(problem, 700.0, 800.0, 50.0, 50.0);  // the ground below the tip
    AddLoad(problem, model::kShearAndMoment, 10000.0, 0.0);
    PileRun run(problem);
    EXPECT_EQ(run.Run(), 211);
    const RunOutput out = run.Outputs();
    const std::vector<std::string> message = {
        "**** Runtime Error No. 11 ****",
        "",
        "Problem:  Solution failed due to small pivot value.",
        "          Node number = 2",
        "          Pivot value =  0.00000E+00",
        "",
        "Solution: This error usually occurs when a lateral bearing capacity failure occurs.  ",
        "          Reduce the load on the pile and repeat the analysis.",
        "          You may also consider increasing pile diameter or pile length.",
    };
    const auto report = out.ReportLines();
    const auto messages = out.MessageLines();
    ASSERT_GE(report.size(), message.size() + 23);
    EXPECT_EQ(std::vector<std::string>(report.begin(), report.begin() + 9), message);
    EXPECT_EQ(std::vector<std::string>(messages.end() - 9, messages.end()), message);
    // Then the dump: "F Matrix " and its five rows (E12.4), the G and YG vectors.
    EXPECT_EQ(report[11], "F Matrix ");
    // Row 1 is the shear condition with c0 = 2 (no thrust): 1, -2, 0, 2, -1.
    EXPECT_EQ(report[13], "  0.1000E+01 -0.2000E+01  0.0000E+00  0.2000E+01 -0.1000E+01");
    EXPECT_EQ(report[18], "G Vector ");
    EXPECT_EQ(report[24], "YG Vector");
    EXPECT_EQ(report[report.size() - 1], "Trevasc ended prematurely due to runtime error number RUN00011");
}

}  // namespace
}  // namespace trevasc::testing
