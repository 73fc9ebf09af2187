// Profiles that mix the rock and special-soil criteria with clays and sands:
// the top-down count of rock-like layers that switches the layering
// correction off below them, and complete analyses from input file to report
// in US customary and SI units, static and cyclic.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/soil_state.hpp"
#include "pile/pile_test_support.hpp"
#include "support/run_fixture.hpp"

namespace trevasc::testing {

using enum model::SoilModelCode;

namespace {

long Count(const std::vector<std::string>& lines, const std::string& prefix) {
    return std::count_if(lines.begin(), lines.end(),
                         [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
}

// Soil points in computation units (lb, in): each model reads its own columns.
model::SoilPointParams PointFor(int code) {
    model::SoilPointParams p;
    p.EffUnitWeight = 0.035;
    switch (code) {
        case kSoftClay: p.Cohesion = 5.0; p.Epsilon50 = 0.01; break;
        case kSand: p.FrictionAngle = 35.0; break;
        case kWeakRock: p.Cohesion = 500.0; p.SubgradeK = 50000.0; p.RQD = 50.0; p.Epsilon50 = 0.0005; break;
        case kVuggyLimestone: p.Cohesion = 2000.0; break;
        case kMassiveRock: p.Cohesion = 2900.0; p.SubgradeK = 725000.0; break;
        case kLoess: p.ConeTipResistance = 300.0; break;
        case kPiedmont: p.PiedmontTestType = 2; p.ConeTipResistance = 300.0; break;
        case kLiquefiedSand: break;
        case kCementedSilt: p.Cohesion = 7.0; p.FrictionAngle = 32.0; break;
        default: break;
    }
    return p;
}

// 36 in shaft, 48 in layers, nodes every 6 in: every interface is a node, so
// the strength look-up meets every pair of neighbouring layers. Massive rock
// counts there as rock and loess and Piedmont soil as layers without a
// strength of their own; without an interface rule for such a pair the run
// would stop with Runtime Error 24 on a valid profile.
model::ProblemData Profile(const std::vector<int>& codes, model::UnitSystem units = model::UnitSystem::USCS) {
    const double thickness = 48.0;
    const double length = thickness * static_cast<double>(codes.size());
    model::ProblemData problem = ElasticPileProblem(length, 3.0e11, 36.0, static_cast<int>(length / 6.0), units);
    problem.Options.ConvergenceTolerance = 1.0e-5;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        model::SoilLayer layer;
        layer.KSOIL = codes[i];
        layer.XLayerTop = thickness * static_cast<double>(i);
        layer.XLayerBottom = layer.XLayerTop + thickness;
        layer.Top = layer.Bottom = PointFor(codes[i]);
        layer.Top.Depth = layer.XLayerTop;
        layer.Bottom.Depth = layer.XLayerBottom;
        problem.Layers.push_back(layer);
    }
    AddLoad(problem, model::kShearAndMoment, 20000.0, 0.0);
    return problem;
}

TEST(RockLayerBookkeeping, NoLayeringCorrectionBelowRockLikeLayers) {
    struct Case {
        const char* what;
        std::vector<int> codes;
        std::vector<bool> marked;  // BelowRockLayer of layers 1 ..
    };
    const Case kCases[] = {
        // Weak rock counts itself first, so it is always marked.
        {"weak rock", {kSoftClay, kWeakRock, kCementedSilt, kSand}, {false, true, true, true}},
        // The other rock-like layers count after the test.
        {"vuggy limestone", {kSoftClay, kVuggyLimestone, kCementedSilt, kSand}, {false, false, true, true}},
        {"massive rock", {kSoftClay, kMassiveRock, kCementedSilt, kSand}, {false, false, true, true}},
        {"loess", {kSoftClay, kLoess, kCementedSilt, kSand}, {false, false, true, true}},
        {"Piedmont", {kSoftClay, kPiedmont, kCementedSilt, kSand}, {false, false, true, true}},
        // Liquefied sand is a soil: the layers below it keep their correction.
        {"liquefied sand", {kSoftClay, kLiquefiedSand, kCementedSilt, kSand}, {false, false, false, false}},
    };
    for (const Case& c : kCases) {
        PileRun run(Profile(c.codes));
        ASSERT_EQ(run.Run(), 0) << c.what << "\n" << run.Outputs().report;
        const model::SoilState& soil = run.ctx().soil;
        for (std::size_t i = 0; i < c.marked.size(); ++i) {
            const std::size_t l = i + 1;
            EXPECT_EQ(soil.BelowRockLayer[l], c.marked[i]) << c.what << ", layer " << l;
            // A marked layer uses its depth below the ground surface: its
            // equivalent depth is never computed.
            if (l >= 3) {
                EXPECT_EQ(soil.EquivalentDepth[l] == model::kEquivalentDepthUnset, c.marked[i])
                    << c.what << ", layer " << l;

            }
        }
        if (c.codes[1] == kLiquefiedSand) {
            // The silt below develops the resistance of the clay and of the
            // liquefied sand: deeper than the clay alone would put it.
            EXPECT_GT(soil.LiquefiedLayerResistance[2], 0.0);
            EXPECT_GT(soil.EquivalentDepth[3], 0.0);
        }
    }
}

TEST(MixedProfile, EveryCriterionInOnePileInBothUnitSystems) {
    // Clay, then every criterion of rock and special soils, then sand, the
    // massive rock with strength and modulus given.
    for (model::UnitSystem units : {model::UnitSystem::USCS, model::UnitSystem::SI}) {
        for (bool cyclic : {false, true}) {
            model::ProblemData problem =
                Profile({kSoftClay, kWeakRock, kVuggyLimestone, kMassiveRock, kLoess, kPiedmont, kLiquefiedSand,
                         kCementedSilt, kSand},
                        units);
            problem.Options.CyclicLoading = cyclic;
            problem.Options.NumberOfCycles = cyclic ? 10.0 : 0.0;
            PileRun run(problem);
            ASSERT_EQ(run.Run(), 0) << run.Outputs().report;
            const model::PileModel& pile = run.ctx().pile;
            for (int k = 1; k <= pile.N; ++k) {
                ASSERT_TRUE(std::isfinite(pile.Es(k)) && pile.Es(k) >= 0.0) << "node " << k;
            }
            EXPECT_GT(pile.y(1), 0.0);
        }
    }
}

// The same profile from an input file (without massive rock, which the
// current format gives no values), with one printed p-y curve per layer.
std::string MixedInput(bool si, bool cyclic) {
    const std::string loading = cyclic ? "Loading CYCLIC    10\n" : "Loading STATIC     0\n";
    const std::string options = "OPTIONS\n" + std::string(si ? "Units SI\n" : "Units USCS\n") +
                                "UseLRFD NO\nComputeKmatrix NO\nUseTipShear NO\nUseSoilMovement NO\n"
                                "UsePYModifiers NO\nComputeEIOnly NO\n" +
                                loading +
                                "MaxIterations 100\nMaxDeflection 100.0\nTolerance 1.0E-5\nIncrements 120\n"
                                "PrintSummaryOnly NO\nPrintIncrement 10\nPrintPYCurves YES\nComputeInteraction NO\n";
    // Elastic circular section: 36 in (900 mm) wide.
    const std::string section = si ? "SECTIONS\n1\n1\n11\n18.\n2\n25000000.\n900.\n900.\n636172.5\n636172.5\n"
                                     "32206308000.\n32206308000.\n"
                                   : "SECTIONS\n1\n1\n11\n60.\n2\n3600000.\n36.\n36.\n1017.88\n1017.88\n"
                                     "82447.96\n82447.96\n";
    const std::string soil = si ? "SOIL LAYERS\n8\n"
                                  "1 0. 1.5\n9.5 40. 0.01\n9.5 40. 0.01\n"
                                  "8 1.5 3.\n11. 3500. 350000. 50. 0.0005\n11. 3500. 350000. 50. 0.0005\n"
                                  "9 3. 4.5\n12.5 14000.\n12.5 14000.\n"
                                  "12 4.5 6.\n9.5 2000.\n9.5 2000.\n"
                                  "10 6. 7.5\n9.5 2 20. 2000. 10000. 7000.\n9.5 2 20. 2000. 10000. 7000.\n"
                                  "7 7.5 9.\n9.\n9.\n"
                                  "11 9. 12.\n9.5 50. 32. 0. 0.\n9.5 50. 32. 0. 0.\n"
                                  "5 12. 21.\n10. 36. 0.\n10. 36. 0.\n"
                                : "SOIL LAYERS\n8\n"
                                  "1 0. 5.\n60. 800. 0.01\n60. 800. 0.01\n"
                                  "8 5. 10.\n70. 500. 50000. 50. 0.0005\n70. 500. 50000. 50. 0.0005\n"
                                  "9 10. 15.\n80. 2000.\n80. 2000.\n"
                                  "12 15. 20.\n60. 300.\n60. 300.\n"
                                  "10 20. 25.\n60. 2 20. 300. 1500. 1000.\n60. 2 20. 300. 1500. 1000.\n"
                                  "7 25. 30.\n55.\n55.\n"
                                  "11 30. 40.\n60. 1000. 32. 0. 0.\n60. 1000. 32. 0. 0.\n"
                                  "5 40. 70.\n62. 36. 0.\n62. 36. 0.\n";
    const std::string loads = si ? "LOADING\n1\n1 1 100. 0. 0. 1\n0\n" : "LOADING\n1\n1 1 20000. 0. 0. 1\n0\n";
    const std::string depths = si ? "DEPTHS OF PRINTED P-Y CURVES\n8\n1 0.75\n2 2.25\n3 3.75\n4 5.25\n5 6.75\n"
                                    "6 8.25\n7 10.5\n8 15.\n"
                                  : "DEPTHS OF PRINTED P-Y CURVES\n8\n1 2.5\n2 7.5\n3 12.5\n4 17.5\n5 22.5\n"
                                    "6 27.5\n7 35.\n8 50.\n";
    return "TREVAS6\nTITLE\nMixed profile\n\n\n\n\n" + options + section + soil + loads + depths + "END\n";
}

TEST(MixedProfile, InputFileToReportStaticAndCyclic) {
    for (bool si : {false, true}) {
        for (bool cyclic : {false, true}) {
            const RunOutput out = RunInput(MixedInput(si, cyclic));
            SCOPED_TRACE(std::string(si ? "SI" : "USCS") + (cyclic ? " cyclic" : " static"));
            ASSERT_LE(out.code, 0) << out.report;
            const auto report = out.ReportLines();
            EXPECT_EQ(Count(report, "The analysis ended normally."), 1);
            for (const std::string title :
                 {"p-y Curve Computed Using Weak Rock Criteria", "p-y Curve for Vuggy Limestone (Strong Rock) Criteria",
                  "p-y Curve for Loess", "p-y Curve for Piedmont Residual Soil Criteria",
                  "p-y Curve Computed Using Liquefied Sand Criteria"}) {
                EXPECT_EQ(Count(report, title), 1) << title;
            }
            EXPECT_EQ(Count(report, cyclic ? "p-y Curve Computed Using the Cyclic Criteria for Cemented Silt"
                                           : "p-y Curve Computed Using the Static Criteria for Cemented Silt"),
                      1);
            // Eight curves of 17 points on the plot file.
            const auto plot = out.PlotLines();
            EXPECT_EQ(std::count_if(plot.begin(), plot.end(),
                                    [](const std::string& l) { return l.find("Line 7:  p-y curve depth in") != std::string::npos; }),
                      8);
            EXPECT_EQ(std::count_if(plot.begin(), plot.end(),
                                    [](const std::string& l) { return l.find("Line 8(") != std::string::npos; }),
                      8 * 17);
        }
    }
}

TEST(MixedProfile, MassiveRockLayerOfTheCurrentFormatStopsWithAnInputError) {
    std::string input = MixedInput(false, false);
    // Layer 3 (vuggy limestone, two parameter lines) becomes massive rock,
    // which reads none.
    const std::string vuggy = "9 10. 15.\n80. 2000.\n80. 2000.\n";
    input.replace(input.find(vuggy), vuggy.size(), "16 10. 15.\n");
    const RunOutput out = RunInput(input);
    EXPECT_EQ(out.code, 172);
    const auto report = out.ReportLines();
    EXPECT_EQ(Count(report, "**** Input Data Error No. 72 ****"), 1);
    EXPECT_EQ(Count(report, "Problem:  The p-y curve for massive rock cannot be computed for layer 3 at depth"), 1);
    EXPECT_EQ(Count(report, "Trevasc ended prematurely due to input error number INP00072"), 1);
    EXPECT_EQ(Count(out.MessageLines(), "**** Input Data Error No. 72 ****"), 1);
}

}  // namespace
}  // namespace trevasc::testing
