// The layering correction between clay and sand layers, and complete runs
// of a drilled shaft in soft clay over sand over stiff clay in both unit
// systems, static and cyclic, with p-y curves printed at chosen depths.
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "soil/clay_sand_fixture.hpp"
#include "soil/sand.hpp"
#include "soil/soft_clay.hpp"

namespace trevasc::testing::clay_sand {

using model::SoilPointParams;
using enum model::SoilModelCode;

namespace {

constexpr double kB = 24.0;

double SplitDeflection(int code, SoilPointParams point, bool cyclic, double split, double shear) {
    model::ProblemData problem = ElasticPileProblem(600.0, 2.9e7 * 16286.0, kB, 100);
    problem.Options.CyclicLoading = cyclic;
    problem.Options.NumberOfCycles = cyclic ? 100.0 : 0.0;
    problem.Options.ConvergenceTolerance = 1.0e-6;
    problem.Options.IterationLimit = 500;
    if (split <= 0.0) {
        AddLayer(problem, code, 0.0, 600.0, point, point);
    } else {
        AddLayer(problem, code, 0.0, split, point, point);
        AddLayer(problem, code, split, 600.0, point, point);
    }
    AddLoad(problem, model::kShearAndMoment, shear, 0.0);
    int error = 0;
    const double y = HeadDeflection(problem, &error);
    EXPECT_EQ(error, 0) << code << " split " << split;
    return y;
}

TEST(Layering, SplittingAHomogeneousLayerBarelyMovesTheHead) {
    // Two identical layers in place of one: the lower layer's equivalent
    // depth should be close to its true depth. The sands and the stiff clay
    // with free water integrate a resistance other than the one they
    // accumulate, so they agree to within 1 % rather than exactly.
    struct Case {
        const char* what;
        int code;
        SoilPointParams point;
        bool cyclic;
        double shear;
    };
    const Case kCases[] = {
        {"Reese sand, static", kSand, Sand(0.04, 34.0), false, 20000.0},
        {"Reese sand, cyclic", kSand, Sand(0.04, 34.0), true, 20000.0},
        {"API sand, static", kApiSand, Sand(0.04, 34.0), false, 20000.0},
        {"stiff clay with water, static", kStiffClayWithWater, Clay(0.035, 15.0), false, 40000.0},
        {"stiff clay with water, cyclic", kStiffClayWithWater, Clay(0.035, 15.0), true, 40000.0},
        {"stiff clay without water, static", kStiffClayWithoutWater, Clay(0.035, 15.0), false, 40000.0},
        {"stiff clay without water, cyclic", kStiffClayWithoutWater, Clay(0.035, 15.0), true, 40000.0},
        {"stiff clay with k, static", kStiffClayWithK, Clay(0.035, 15.0), false, 40000.0},
    };
    for (const Case& c : kCases) {
        const double whole = SplitDeflection(c.code, c.point, c.cyclic, 0.0, c.shear);
        for (double split : {60.0, 93.0}) {
            const double y = SplitDeflection(c.code, c.point, c.cyclic, split, c.shear);
            EXPECT_NEAR(y, whole, 0.01 * whole) << c.what << ", split at " << split;
        }
    }
}

// Two layers meeting at 120 in, on a node (h = 6 in): one sweep of the
// criteria gives the lower layer's equivalent depth.
double EquivalentDepthBelow(int upper, SoilPointParams upper_point, int lower, SoilPointParams lower_point) {
    model::ProblemData problem = ElasticPileProblem(600.0, 2.9e7 * 16286.0, kB, 100);
    AddLayer(problem, upper, 0.0, 120.0, upper_point, upper_point);
    AddLayer(problem, lower, 120.0, 600.0, lower_point, lower_point);
    Analysis a(problem);
    EXPECT_EQ(a.Sweep(), 0);
    return a.ctx().soil.EquivalentDepth[2];
}

TEST(Layering, SandUnderClayAndClayUnderSandMatchTheResistanceAbove) {
    // The resistance of the upper layer is the integral of its ultimate
    // resistance over its 120 in; the lower layer's equivalent depth Z is
    // where its own resistance, integrated from its surface, reaches it.
    const double gamma = 0.035, c = 3.0, phi = 34.0;
    const double kDeg = std::numbers::pi / 180.0;
    auto clay = [&](double z) { return std::min(3.0 + gamma * z / c + 0.5 * z / kB, 9.0) * c * kB; };
    // Sand: A (C1 z + C2 b) gamma' z, capped by the flow C3 b gamma' z, with
    // the API coefficients (K0 = 0.4, Ka = tan^2(45 - phi/2)).
    const double f = phi * kDeg, alpha = f / 2.0, beta = std::numbers::pi / 4.0 + f / 2.0;
    const double Ka = std::pow(std::tan(std::numbers::pi / 4.0 - f / 2.0), 2), tb = std::tan(beta);
    const double C1 = tb * (tb * tb * std::tan(alpha) +
                            0.4 * (std::tan(f) * std::sin(beta) * (1.0 / std::cos(alpha) + 1.0) - std::tan(alpha)));
    const double C2 = tb * tb - Ka;
    const double C3 = std::pow(tb, 4) * (tb * tb + 0.4 * std::tan(f)) - Ka;
    auto sand_wedge = [&](double z) { return soil::ReeseSandA(z / kB, false) * (C1 * z + C2 * kB) * gamma * z; };
    auto sand = [&](double z) {
        return soil::ReeseSandA(z / kB, false) * std::min((C1 * z + C2 * kB), C3 * kB) * gamma * z;
    };

    const double clay_above = Integral(clay, 0.0, 120.0);
    const double sand_above = Integral(sand, 0.0, 120.0);
    struct Case {
        const char* what;
        int upper, lower;
        double expected;
    };
    const Case kCases[] = {
        {"Reese sand under soft clay", kSoftClay, kSand, DepthForResistance(sand_wedge, clay_above, 600.0)},
        {"API sand under soft clay", kSoftClay, kApiSand, DepthForResistance(sand_wedge, clay_above, 600.0)},
        {"soft clay under Reese sand", kSand, kSoftClay, DepthForResistance(clay, sand_above, 2000.0)},
    };
    SoilPointParams clay_point = Clay(gamma, c, 0.02);
    SoilPointParams sand_point = Sand(gamma, phi, 100.0);
    for (const Case& k : kCases) {
        const double Z = EquivalentDepthBelow(k.upper, k.upper == kSoftClay ? clay_point : sand_point, k.lower,
                                              k.lower == kSoftClay ? clay_point : sand_point);
        EXPECT_NEAR(Z, k.expected, 0.005 * k.expected) << k.what;
    }
    // Soft clay is weaker than this sand near the surface, and stronger
    // below it: the sand below the clay sits shallower than 120 in, the clay
    // below the sand deeper.
    EXPECT_LT(kCases[0].expected, 120.0);
    EXPECT_GT(kCases[2].expected, 120.0);
}

// ----------------------------------------------------------------------------
// A 36 in drilled shaft, 60 ft long, in soft clay (0-12.3 ft) over Reese
// sand (12.3-30.3 ft) over stiff clay with free water (30.3-60 ft), the
// same problem written in US customary and in SI units. The interfaces lie
// between nodes (h = 0.6 ft), so that both unit systems place every node in
// the same layer.

constexpr double kMetresPerFoot = 0.3048;
constexpr double kMmPerInch = 25.4;
constexpr double kKnPerLb = 4.4482216152605e-3;
const double kKpaPerPsf = kKnPerLb / (kMetresPerFoot * kMetresPerFoot);
const double kKnm3PerPcf = kKnPerLb / std::pow(kMetresPerFoot, 3);

std::string ShaftInput(bool si, bool cyclic) {
    InputFile in;
    const double ft = si ? kMetresPerFoot : 1.0;
    const double psf = si ? kKpaPerPsf : 1.0;
    const double pcf = si ? kKnm3PerPcf : 1.0;
    const double inch = si ? kMmPerInch : 1.0;
    in.units = si ? "SI" : "USCS";
    in.cyclic = cyclic;
    in.cycles = cyclic ? 100 : 0;
    in.length = 60.0 * ft;
    const double d = 36.0;
    in.width = d * inch;
    in.area = std::numbers::pi * d * d / 4.0 * inch * inch;
    in.inertia = std::numbers::pi * std::pow(d, 4) / 64.0 * std::pow(inch, 4);
    in.modulus = 3.6e6 * (si ? kKnPerLb / std::pow(0.0254, 2) : 1.0);  // psi or kPa
    in.shear = 60000.0 * (si ? kKnPerLb : 1.0);
    in.py_depths = {6.0 * ft, 20.0 * ft, 45.0 * ft};
    auto n = [](double v) { return std::to_string(v); };
    in.soil = "3\n"
              "1 0. " + n(12.3 * ft) + "\n" +
              n(55.0 * pcf) + " " + n(300.0 * psf) + " 0.02\n" + n(55.0 * pcf) + " " + n(500.0 * psf) + " 0.02\n" +
              "5 " + n(12.3 * ft) + " " + n(30.3 * ft) + "\n" +
              n(60.0 * pcf) + " 32. 0.\n" + n(60.0 * pcf) + " 34. 0.\n" +
              "2 " + n(30.3 * ft) + " " + n(60.0 * ft) + "\n" +
              n(65.0 * pcf) + " " + n(2500.0 * psf) + " 0. 0.\n" + n(65.0 * pcf) + " " + n(3500.0 * psf) + " 0. 0.\n";
    return in.Text();
}

// The two numbers of a plot record "Line 10" or "Line 8" (E15.7 each).
std::pair<double, double> FirstTwoFields(const std::string& line) {
    return {std::strtod(line.substr(0, 15).c_str(), nullptr), std::strtod(line.substr(15, 15).c_str(), nullptr)};
}

TEST(LayeredShaft, SoftClayOverSandOverStiffClayInBothUnitSystems) {
    const double m_per_in = 0.0254;
    const double kn_per_m_per_lb_per_in = kKnPerLb / m_per_in;
    for (bool cyclic : {false, true}) {
        const RunOutput uscs = RunInput(ShaftInput(false, cyclic));
        const RunOutput si = RunInput(ShaftInput(true, cyclic));
        ASSERT_EQ(uscs.code, 0) << cyclic;
        ASSERT_EQ(si.code, 0) << cyclic;

        // The p-y blocks: one per depth, layer by layer, each criterion's own.
        const auto report = uscs.ReportLines();
        const char* titles[] = {
            cyclic ? "p-y Curve Computed Using the Soft Clay Criteria for Cyclic Loading Conditions"
                   : "p-y Curve Computed Using the Soft Clay Criteria for Static Loading Conditions",
            cyclic ? "p-y Curve in Sand Computed Using Reese Criteria for Cyclic Loading Conditions"
                   : "p-y Curve in Sand Computed Using Reese Criteria for Static Loading Conditions",
            cyclic ? "p-y Curve Computed Using Cyclic Criteria for Stiff Clay with Free Water"
                   : "p-y Curve Computed Using Static Criteria for Stiff Clay with Free Water",
        };
        auto position = [&](const std::string& line) { return std::find(report.begin(), report.end(), line); };
        const auto heading = position("                    p-y Curves Reported for Specified Depths");
        ASSERT_NE(heading, report.end());
        auto previous = heading;
        for (const char* title : titles) {
            const auto at = position(title);
            ASSERT_NE(at, report.end()) << title;
            EXPECT_GT(at, previous) << title;
            previous = at;
        }
        // The sand at 20 ft lies 7.7 ft into its layer; the soft clay above
        // is weaker, so its equivalent depth is less than the true 240 in.
        const auto sand = BlockFrom(report, titles[1], 9);
        ASSERT_EQ(sand.size(), 9u);
        ASSERT_EQ(sand[3].substr(0, 26), "Depth below ground surface");
        EXPECT_EQ(sand[3].substr(55), "=      240.000");
        ASSERT_EQ(sand[7].substr(0, 27), "Equivalent Depth (see note)");
        const double z = std::strtod(sand[7].substr(57).c_str(), nullptr);
        EXPECT_GT(z, 7.7 * 12.0);
        EXPECT_LT(z, 240.0);

        // Plot: Line 6 counts the depths; per depth a Line 7 and 17 Line 8.
        // Every curve point and the head deflection agree between the unit
        // systems.
        const auto plot_u = uscs.PlotLines();
        const auto plot_s = si.PlotLines();
        auto line6 = [](const std::vector<std::string>& plot) {
            return std::find_if(plot.begin(), plot.end(), [](const std::string& l) {
                return l.find("Line 6 : number of output p-y curves") != std::string::npos;
            });
        };
        const auto u6 = line6(plot_u);
        const auto s6 = line6(plot_s);
        ASSERT_NE(u6, plot_u.end());
        ASSERT_NE(s6, plot_s.end());
        EXPECT_EQ(u6->substr(0, 5), "    3");
        const char* labels[] = {"Line 7:  p-y curve depth in soft clay, no. p-y points on curve no. 1",
                                "Line 7:  p-y curve depth in sand, no. p-y points on curve no. 2",
                                "Line 7:  p-y curve depth in stiff clay with free water, no. p-y points on curve no. 3"};
        for (int curve = 0; curve < 3; ++curve) {
            const auto line7_u = u6 + 1 + curve * 18;
            const auto line7_s = s6 + 1 + curve * 18;
            EXPECT_EQ(line7_u->substr(80), labels[curve]);
            EXPECT_EQ(line7_u->substr(15, 5), "   17");
            for (int j = 1; j <= 17; ++j) {
                const auto [yu, pu] = FirstTwoFields(*(line7_u + j));
                const auto [ys, ps] = FirstTwoFields(*(line7_s + j));
                EXPECT_NEAR(ys, yu * m_per_in, 2.0e-4 * std::fabs(yu * m_per_in) + 1.0e-12) << curve << " " << j;
                EXPECT_NEAR(ps, pu * kn_per_m_per_lb_per_in, 2.0e-4 * std::fabs(pu * kn_per_m_per_lb_per_in) + 1.0e-9)
                    << labels[curve] << " point " << j;
            }
        }
        auto head = [](const std::vector<std::string>& plot) {
            const auto it = std::find_if(plot.begin(), plot.end(), [](const std::string& l) {
                return l.find("Line 10(  1)") != std::string::npos;
            });
            return it == plot.end() ? 0.0 : FirstTwoFields(*it).second;
        };
        const double y_uscs = head(plot_u);
        EXPECT_GT(y_uscs, 0.0);
        EXPECT_NEAR(head(plot_s), y_uscs * m_per_in, 1.0e-3 * y_uscs * m_per_in) << cyclic;
    }
}

TEST(LayeredShaft, CyclicLoadingDeflectsTheShaftMore) {
    auto head = [](const RunOutput& out) {
        for (const std::string& l : out.PlotLines()) {
            if (l.find("Line 10(  1)") != std::string::npos) return FirstTwoFields(l).second;
        }
        return 0.0;
    };
    const double static_y = head(RunInput(ShaftInput(false, false)));
    const double cyclic_y = head(RunInput(ShaftInput(false, true)));
    EXPECT_GT(static_y, 0.0);
    EXPECT_GT(cyclic_y, static_y);
}

}  // namespace
}  // namespace trevasc::testing::clay_sand
