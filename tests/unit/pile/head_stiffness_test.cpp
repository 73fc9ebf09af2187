// Pile-head stiffness matrix: the twenty stiffness trials, their terms against
// the closed-form head stiffnesses of a long beam on an elastic foundation,
// the reference loads that replace zero ones, and the silent end of the
// computation when a trial fails.
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pile/head_stiffness.hpp"
#include "pile/pile_test_support.hpp"

namespace trevasc::testing {
namespace {

const char* const kLine14 = "Line 14: V, M, K22, K23, K32, K33, ytop, theta";

// Fields of the ten Line 14 records: V, M, K22, K23, K32, K33, ytop, theta.
std::vector<std::vector<double>> Line14Fields(const RunOutput& out) {
    std::vector<std::vector<double>> rows;
    for (const std::string& record : PlotRecords(out, kLine14)) rows.push_back(PlotFields(record, 8));
    return rows;
}

// A 100 ft pile, EI = 1.0E10 lb-in^2, 10 in wide, in an elastic subgrade of
// 100 lb/in^3, i.e. k = 1000 lb/in^2 per unit length: beta = (k/4EI)^(1/4) =
// 0.012574 /in, beta L = 15 (a long pile) and, with 400 increments,
// beta h = 0.038.
constexpr double kL = 1200.0;
constexpr double kEI = 1.0e10;
constexpr double kWidth = 10.0;
constexpr double kSubgrade = 100.0;
constexpr int kIncrements = 400;

model::ProblemData LinearPile(double V, double M) {
    model::ProblemData problem = ElasticPileProblem(kL, kEI, kWidth, kIncrements);
    AddElasticSubgradeLayer(problem, 0.0, kL + 100.0, kSubgrade, kSubgrade);
    AddLoad(problem, model::kShearAndMoment, V, M);
    return problem;
}

// Closed-form head stiffnesses of a semi-infinite beam on a Winkler
// foundation (Hetenyi 1946), y = exp(-bx)(C1 cos bx + C2 sin bx):
//  - head fixed against rotation (y'(0) = 0, so C1 = C2 = C) under shear V:
//    y(0) = V / (4 EI b^3), M(0) = -2 EI b^2 C, hence
//    K22 = V / y(0) = 4 EI b^3 and K32 = |M(0)| / y(0) = 2 EI b^2;
//  - head held at zero deflection (C1 = 0) under moment M: rotation b C2,
//    M(0) = -2 EI b^2 C2 and V(0) = 2 EI b^3 C2, hence
//    K33 = |M(0)| / rotation = 2 EI b and K23 = |V(0)| / rotation = 2 EI b^2.
struct ClosedForm {
    double K22, K32, K23, K33;
};

ClosedForm LongPileStiffness() {
    const double k = kSubgrade * kWidth;
    const double b = std::pow(k / (4.0 * kEI), 0.25);
    return {4.0 * kEI * b * b * b, 2.0 * kEI * b * b, 2.0 * kEI * b * b, 2.0 * kEI * b};
}

TEST(HeadStiffness, LinearPileMatchesLongBeamOnElasticFoundation) {
    PileRun run(LinearPile(10000.0, 0.0));
    ASSERT_EQ(run.Run(), 0);
    pile::ComputePileHeadStiffness(run.ctx());
    EXPECT_EQ(run.ctx().ErrorNumber, 0);
    const RunOutput out = run.Outputs();
    const auto rows = Line14Fields(out);
    ASSERT_EQ(rows.size(), 10u);

    const ClosedForm exact = LongPileStiffness();
    const double b = std::pow(kSubgrade * kWidth / (4.0 * kEI), 0.25);
    const double bh = b * kL / kIncrements;
    // Central differences err by O((beta h)^2) (here about half of it).
    const double tolerance = bh * bh;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& r = rows[i];
        SCOPED_TRACE("level " + std::to_string(i + 1));
        // A linear pile: every load level gives the same stiffness (to the
        // seven digits of the record).
        for (int term = 2; term < 6; ++term) EXPECT_NEAR(r[term] / rows[0][term], 1.0, 1.0e-6) << "field " << term;
        EXPECT_NEAR(std::fabs(r[2]) / exact.K22, 1.0, tolerance);
        EXPECT_NEAR(std::fabs(r[4]) / exact.K32, 1.0, tolerance);
        EXPECT_NEAR(std::fabs(r[3]) / exact.K23, 1.0, tolerance);
        EXPECT_NEAR(std::fabs(r[5]) / exact.K33, 1.0, tolerance);
        // Maxwell-Betti: the coupling terms of the two trials agree.
        EXPECT_NEAR(r[4] / r[3], 1.0, 0.01);
        // Head deflection and rotation are those the terms were formed from.
        EXPECT_NEAR(r[6] * std::fabs(r[2]), std::fabs(r[0]), 1.0e-6 * std::fabs(r[0]));
        EXPECT_NEAR(r[7] * std::fabs(r[5]), std::fabs(r[1]), 1.0e-6 * std::fabs(r[1]));
    }
}

TEST(HeadStiffness, ReportBlockHeadingsRowsAndDefinitions) {
    PileRun run(LinearPile(10000.0, 50000.0));
    ASSERT_EQ(run.Run(), 0);
    pile::ComputePileHeadStiffness(run.ctx());
    const RunOutput out = run.Outputs();
    const auto report = out.ReportLines();
    const std::size_t title = FindLine(report, std::string(18, ' ') + "Computed Pile-head Stiffness Matrix Values");
    ASSERT_LT(title, report.size());
    EXPECT_EQ(report[title + 1], std::string(20, ' ') + "K22, K23, K32, K33 for Pile  Head");
    const std::size_t units1 =
        FindLine(report, "     inches          lbs            in-lbs          lb/in.         in-lb/in.  ", title);
    const std::size_t units2 =
        FindLine(report, "     radians          lbs            in-lbs         lb/rad         in-lb/rad ", title);
    ASSERT_LT(units2, report.size());
    // Rule line, ten rows, an empty line and the three heading lines of the
    // second table.
    EXPECT_EQ(units2, units1 + 15);
    // The first table lists |V| of every trial: the shear levels.
    const std::vector<double> row1 = {std::stod(report[units1 + 2].substr(0, 14)),
                                      std::stod(report[units1 + 2].substr(14, 16))};
    EXPECT_NEAR(row1[1], 1000.0, 1.0e-3);
    EXPECT_GT(row1[0], 0.0);
    const std::size_t definitions = FindLine(report, "  K22 = abs(Shear Reaction/Top y)", units2);
    EXPECT_EQ(definitions, units2 + 13);
    ASSERT_LT(definitions + 3, report.size());
    EXPECT_EQ(report[definitions + 1], "  K23 = abs(Shear Reaction/Top Rotation)");
    EXPECT_EQ(report[definitions + 2], "  K32 = abs(Moment Reaction/Top y)");
    EXPECT_EQ(report[definitions + 3], "  K33 = abs(Moment Reaction/Top Rotation)");
    // The trials themselves write no case results.
    EXPECT_EQ(PlotRecords(out, "Line 10(").size(), static_cast<std::size_t>(kIncrements + 1));
}

// The load levels of the trials: f(1) = 0.1, f(i) = log10(i), times the
// reference loads of load case 1, zero references being replaced.
TEST(HeadStiffness, LoadLevelsAndReplacedZeroReferences) {
    struct Case {
        const char* what;
        model::UnitSystem units;
        double V0, M0;
        double shear_reference, moment_reference;  // expected after replacement
    };
    const Case kCases[] = {
        {"USCS references as given", model::UnitSystem::USCS, 8000.0, -30000.0, 8000.0, -30000.0},
        {"USCS zero references: 10 lb and 100 in-lb", model::UnitSystem::USCS, 0.0, 0.0, 10.0, 100.0},
        {"USCS references below 1E-7 count as zero", model::UnitSystem::USCS, 5.0e-8, -5.0e-8, 10.0, 100.0},
        {"SI zero references: 10 lb and 100 in-lb in kN and kN-m", model::UnitSystem::SI, 0.0, 0.0,
         0.04448220133781433, 0.011298480443656445},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        model::ProblemData problem;
        if (c.units == model::UnitSystem::SI) {
            // 30 m, EI = 1E5 kN-m^2, 1 m wide, k = 1E4 kN/m^2: beta L = 12.
            problem = ElasticPileProblem(30.0, 1.0e5, 1.0, 300, model::UnitSystem::SI);
            AddElasticSubgradeLayer(problem, 0.0, 31.0, 1.0e4, 1.0e4);
        } else {
            problem = ElasticPileProblem(kL, kEI, kWidth, 200);
            AddElasticSubgradeLayer(problem, 0.0, kL + 100.0, kSubgrade, kSubgrade);
        }
        AddLoad(problem, model::kShearAndMoment, c.V0, c.M0);
        PileRun run(problem);
        pile::ComputePileHeadStiffness(run.ctx());
        const auto rows = Line14Fields(run.Outputs());
        ASSERT_EQ(rows.size(), 10u);
        for (int i = 1; i <= 10; ++i) {
            const double f = i == 1 ? 0.1 : std::log10(static_cast<double>(i));
            const auto& r = rows[static_cast<std::size_t>(i - 1)];
            EXPECT_NEAR(r[0], f * c.shear_reference, 1.0e-6 * std::fabs(c.shear_reference)) << "level " << i;
            EXPECT_NEAR(r[1], f * c.moment_reference, 1.0e-6 * std::fabs(c.moment_reference)) << "level " << i;
        }
    }
}

TEST(HeadStiffness, UsZeroReferenceLevelsAsRecorded) {
    PileRun run(LinearPile(0.0, 0.0));
    pile::ComputePileHeadStiffness(run.ctx());
    const auto records = PlotRecords(run.Outputs(), kLine14);
    ASSERT_EQ(records.size(), 10u);
    EXPECT_EQ(records[0].substr(0, 30), "  0.1000000E+01  0.1000000E+02");
    EXPECT_EQ(records[1].substr(0, 30), "  0.3010300E+01  0.3010300E+02");
    EXPECT_EQ(records[2].substr(0, 30), "  0.4771213E+01  0.4771213E+02");
    EXPECT_EQ(records[9].substr(0, 30), "  0.1000000E+02  0.1000000E+03");
    // The label starts in column 121.
    EXPECT_EQ(records[0].substr(120), std::string("  ") + kLine14);
}

TEST(HeadStiffness, TrialThatFailsEndsTheComputationSilently) {
    struct Case {
        const char* what;
        void (*change)(model::AnalysisOptions&);
    };
    const Case kCases[] = {
        // A case counts as converged after six solutions at the earliest.
        {"iteration limit below six", [](model::AnalysisOptions& o) { o.IterationLimit = 5; }},
        {"tolerance never met", [](model::AnalysisOptions& o) { o.ConvergenceTolerance = -1.0; }},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        PileRun run(LinearPile(10000.0, 0.0));
        ASSERT_EQ(run.Run(), 0);
        c.change(run.ctx().problem.Options);
        const std::size_t before = run.ctx().problem.PileHeadLoads.size();
        pile::ComputePileHeadStiffness(run.ctx());
        EXPECT_EQ(run.ctx().ErrorNumber, 0);
        EXPECT_EQ(run.ctx().problem.PileHeadLoads.size(), before);
        const RunOutput out = run.Outputs();
        EXPECT_TRUE(PlotRecords(out, "Line 14").empty());
        EXPECT_EQ(out.report.find("Computed Pile-head Stiffness Matrix Values"), std::string::npos);
        EXPECT_EQ(out.report.find("K22 = abs("), std::string::npos);
        EXPECT_EQ(out.report.find("Runtime Error"), std::string::npos);
        // The first trial failed; no other trial was analysed.
        EXPECT_EQ(out.messages.find("Analysis Case 2,"), std::string::npos);
    }
}

// Whole runs: the request in the options switches the computation on and
// off; when on, the message file announces it, Line 1 carries KXX = 1 and the
// run ends normally.
TEST(HeadStiffness, ComputeKmatrixOptionInAWholeRun) {
    for (const bool on : {false, true}) {
        SCOPED_TRACE(on ? "ComputeKmatrix YES" : "ComputeKmatrix NO");
        ElasticPileDeck deck;
        deck.kmatrix = on;
        deck.loads = "LOADING\n1\n1 1 10000.0 0.0 0.0 1\n0\n";
        const RunOutput out = RunInput(ElasticPileInput(deck));
        EXPECT_EQ(out.code, 0) << out.report;
        EXPECT_EQ(PlotRecords(out, kLine14).size(), on ? 10u : 0u);
        EXPECT_EQ(out.report.find("Computed Pile-head Stiffness Matrix Values") != std::string::npos, on);
        EXPECT_EQ(out.messages.find("Computing pile-head stiffness matrix components.") != std::string::npos, on);
        const auto line1 = PlotRecords(out, "Line 1 : ICOM, IUNITS, KYL, KXX");
        ASSERT_EQ(line1.size(), 1u);
        EXPECT_EQ(line1[0].substr(15, 5), on ? "    1" : "    0");
        EXPECT_NE(out.report.find("The analysis ended normally. "), std::string::npos);
    }
}

// A load case that stays on the linear first segment of its p-y curves
// converges; the first trial at zero head deflection, under a tenth of the
// 1E8 in-lb reference moment (the rotational restraint of the case), goes far
// onto the flat part and does not converge within 30 iterations. The trials
// stop there, nothing of the stiffness is written and the run ends normally.
TEST(HeadStiffness, TrialWithoutConvergenceInAWholeRunEndsNormally) {
    ElasticPileDeck deck;
    deck.kmatrix = true;
    deck.max_iterations = 30;
    const std::string curve = "3\n0.0 0.0\n0.01 100.0\n10.0 150.0\n";
    deck.soil = "1\n14 0.0 60.0\n0.0 " + curve + "60.0 " + curve;
    deck.loads = "LOADING\n1\n1 3 100.0 1.0E8 0.0 1\n0\n";
    const RunOutput out = RunInput(ElasticPileInput(deck));
    EXPECT_EQ(out.code, 0) << out.report;
    EXPECT_TRUE(PlotRecords(out, "Line 14").empty());
    EXPECT_EQ(out.report.find("Computed Pile-head Stiffness Matrix Values"), std::string::npos);
    EXPECT_EQ(out.report.find("K22 = abs("), std::string::npos);
    EXPECT_NE(out.messages.find("Computing pile-head stiffness matrix components."), std::string::npos);
    // Trials 1 to 10 converged, trial 11 was the last one analysed.
    EXPECT_NE(out.messages.find("Analysis Case 11,"), std::string::npos);
    EXPECT_EQ(out.messages.find("Analysis Case 12,"), std::string::npos);
    EXPECT_NE(out.report.find("The analysis ended normally. "), std::string::npos);
}

// In GENERAL units a zero reference load has no replacement of known size:
// its trials would have zero load and zero response and stiffness terms of
// 0/0. No trial is run; a note says why, and nothing carries a non-number.
TEST(HeadStiffness, GeneralUnitsZeroReferenceWritesNoNonNumbers) {
    model::ProblemData problem = ElasticPileProblem(kL, kEI, kWidth, 200, model::UnitSystem::GENERAL);
    AddElasticSubgradeLayer(problem, 0.0, kL + 100.0, kSubgrade, kSubgrade);
    AddLoad(problem, model::kShearAndMoment, 0.0, 0.0);
    PileRun run(problem);
    pile::ComputePileHeadStiffness(run.ctx());
    const RunOutput out = run.Outputs();
    int non_numbers = 0;
    for (const std::string& record : PlotRecords(out, kLine14)) {
        for (double value : PlotFields(record, 8)) non_numbers += std::isfinite(value) ? 0 : 1;
    }
    EXPECT_EQ(non_numbers, 0);
    EXPECT_FALSE(out.report.find("Not-a-Number") != std::string::npos) << "the report prints Not-a-Number";
    EXPECT_NE(out.report.find("Pile-head stiffness matrix values were not computed:"), std::string::npos);
    EXPECT_NE(out.messages.find("Pile-head stiffness matrix values were not computed:"), std::string::npos);
}

}  // namespace
}  // namespace trevasc::testing
