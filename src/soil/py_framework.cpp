#include "soil/py_framework.hpp"

#include <array>
#include <cmath>

#include "pile/node_setup.hpp"
#include "report/fortran_format.hpp"
#include "run/error_stop.hpp"
#include "soil/criteria.hpp"

namespace trevasc::soil {

namespace fmt = report::fmt;
using run::WriteToBoth;
using run::Stop_With_Error;

namespace {

// Two depths closer than this are the same profile point.
constexpr double kDepthTolerance = 1.0e-6;
// sqrt(2)/2 as stored in single precision (ground-slope factor for a pile
// pushed away from the slope).
constexpr double kHalfRootTwo = 0.7071067690849304;
// Support address printed by the diagnostic of an unsupported interface.
constexpr std::string_view kSupportAddress = "support@trevasc.example";

constexpr std::array<std::string_view, 21> kModelNames = {
    "",         "SoftClay", "StfClyBW", "StfClyAW", "StfClyAK", "Sand",     "API Sand",
    "Liq Sand", "WeakRock", "Vuggy LS", "Piedmont", "Cem Silt", "KS Loess", "Elast SG",
    "User p-y", "SoftClyJ", "MassRock", "Frz Soil", "Undefined", "Undefined", "Undefined",
};

// The soil profile points: two per layer, top then bottom, numbered from 1.
int PointCount(const model::ProblemData& problem) { return 2 * problem.i_Number_of_Layers(); }

const model::SoilPointParams& Point(const model::ProblemData& problem, int j) {
    const model::SoilLayer& layer = problem.Layers[static_cast<std::size_t>((j - 1) / 2)];
    return (j % 2 == 1) ? layer.Top : layer.Bottom;
}

double Linear(double x0, double v0, double x1, double v1, double x) {
    return v0 + (v1 - v0) * (x - x0) / (x1 - x0);
}

void WriteReportThenMessages(run::RunContext& ctx, std::initializer_list<std::string_view> lines) {
    for (std::string_view line : lines) ctx.files.report.Line(line);
    for (std::string_view line : lines) ctx.files.messages.Line(line);
}

// Input Data Error 5: a node below the deepest point of the strength curve.
[[noreturn]] void StopOnDepthBelowStrengthCurve(run::RunContext& ctx, double x, double deepest) {
    WriteReportThenMessages(
        ctx, {"**** Input Data Error No. 5 ****", "", "An error was detected that is related to an incompatibility",
              "between the input data defining pile embedment depth and soil ", "shear strength values versus depth.",
              "", "Problem:  The value for a pile station depth is " + fmt::E(x, 12, 4),
              "This depth is below the deepest extent of the input curve for",
              "soil shear strength versus depth at " + fmt::F(deepest, 10, 3), "",
              "Solution:  Please revise the input data by either extending ",
              "the maximum depth for soil shear strength or shorten the ",
              "pile to be wholly within the defined soil layers."});
    Stop_With_Error(ctx, "INP00005", 105);
}

// Input Data Error 60: two strength points of a layer at the same depth.
[[noreturn]] void StopOnZeroStrengthIncrement(run::RunContext& ctx, double x) {
    WriteReportThenMessages(
        ctx, {"**** Input Data Error No. 60 ****", "",
              "An error was found in the strength of soil input data when interpolating ",
              "to obtain values of cohesion or uniaxial compressive strength.", "",
              "Problem:  The depth increment between the upper and lower soil depths in a ",
              "layer is zero.  The depth of computation is " + fmt::F(x, 10, 3), "",
              "Solution:  Examine the program output file to find the depth in question",
              "and correct the soil layer depth values. "});
    Stop_With_Error(ctx, "INP00060", 160);
}

// Input Data Error 3: a node below the cohesion data.
[[noreturn]] void StopOnDepthBelowCohesionData(run::RunContext& ctx, double x) {
    WriteToBoth(ctx, {"**** Input Data Error No. 3 ****", "",
                      "An error was detected that is related to an incompatibility",
                      "between the input data defining the embedment of the pile and",
                      "the maximum depth of the soil shear strength data.", "",
                      "The value for a pile station depth is " + fmt::E(x, 12, 4),
                      "This depth is below the deepest extent of the input data for",
                      "soil shear strength versus depth.", "", "Solution:",
                      "Please revise the input data by either extending the maximum",
                      "depth for soil shear strength or shorten the pile to correct", "this problem."});
    Stop_With_Error(ctx, "INP00003", 103);
}

// Input Data Error 15: a node below the effective unit weight data.
[[noreturn]] void StopOnDepthBelowUnitWeightData(run::RunContext& ctx, double x) {
    WriteToBoth(ctx, {"**** Input Data Error No. 15 ****", "",
                      "An error was detected related to an incompatibility between ",
                      "the data defining pile embedment depth and effective unit ", "weights versus depth.", "",
                      "The value for a pile station depth is " + fmt::E(x, 12, 4),
                      "This depth is below the deepest extent of the input curve for",
                      "effective unit weight versus depth.", "", "Solution:",
                      "Please revise the input data by either extending the maximum",
                      "depth for effective unit weight or shorten the length of pile",
                      "to be within the range of defined soil properties."});
    Stop_With_Error(ctx, "INP00015", 115);
}

// Kind of a layer at an interface (fn_c), from its model name and, for
// cemented silt, its strength at the interface.
int InterfaceClass(int code, double strength) {
    const CriterionEntry* entry = CriterionForCode(code);
    if (entry == nullptr) return 0;
    if (entry->interface_kind == InterfaceKind::kCohesiveIfStrength) return strength > 0.0 ? 1 : 2;
    return static_cast<int>(entry->interface_kind);
}

// Runtime Error 43: the interface a depth lies on cannot be found. It ends
// the run like every other runtime error, with the closing lines and a code
// in the 2xx range that the host reads as such.
constexpr std::int32_t kInterfaceNotFoundError = 243;

// Runtime Error 43: the layer interface at a depth cannot be located.
[[noreturn]] void StopOnInterfaceNotFound(run::RunContext& ctx, double x, bool at_tip, int above, int below) {
    const model::ProblemData& problem = ctx.problem;
    const int layers = problem.i_Number_of_Layers();
    auto bottom = [&](int l) { return l >= 1 && l <= layers ? problem.Layers[static_cast<std::size_t>(l - 1)].XLayerBottom : 0.0; };
    auto top = [&](int l) { return l >= 1 && l <= layers ? problem.Layers[static_cast<std::size_t>(l - 1)].XLayerTop : 0.0; };
    report::OutputChannel& report = ctx.files.report;
    using fmt::ListDirectedLine;
    report.Blank(2);
    report.Line(ListDirectedLine().Text("Internal error in function C (undrained shear strength)").str());
    report.Line(ListDirectedLine().Text("The layer interface cannot be located").str());
    report.Line(ListDirectedLine().Text("Please contact Halvorn for support").str());
    report.Blank();
    report.Line(ListDirectedLine().Text("Elevation             = ").Real(x).str());
    report.Line(ListDirectedLine().Text("b_AtInterface         = ").Logical(true).str());
    report.Line(ListDirectedLine().Text("b_InMiddle            = ").Logical(false).str());
    report.Line(ListDirectedLine().Text("b_AtTip               = ").Logical(at_tip).str());
    report.Line(ListDirectedLine().Text("b_AtNode              = ").Logical(!ctx.soil.AtOutputDepths).str());
    report.Line(ListDirectedLine().Text("Layer index above     = ").Integer(above).str());
    report.Line(ListDirectedLine().Text("Layer index below     = ").Integer(below).str());
    report.Line(ListDirectedLine().Text("DABS(X-XLayerBottom(KTOP))    = ").Real(std::fabs(x - bottom(above))).str());
    report.Line(ListDirectedLine().Text("DABS(X-XLayerTop(KBOT))    = ").Real(std::fabs(x - top(below))).str());
    Stop_With_Error(ctx, kInterfaceNotFoundError);
}

// Runtime Error 30 (message code RUN00024): two layer kinds whose interface
// strength has no rule.
[[noreturn]] void StopOnUnsupportedInterface(run::RunContext& ctx, double x, int upper_kind, int lower_kind, int jbot,
                                             bool at_tip) {
    const model::ProblemData& problem = ctx.problem;
    const int layers = problem.i_Number_of_Layers();
    auto code = [&](int l) { return l >= 1 && l <= layers ? problem.Layers[static_cast<std::size_t>(l - 1)].KSOIL : 0; };
    report::OutputChannel& report = ctx.files.report;
    using fmt::ListDirectedLine;
    report.Blank(2);
    report.Line(ListDirectedLine().Text(" ***** Runtime Error No. 30 *****").str());
    report.Blank();
    report.Line(ListDirectedLine().Text("Error in fn_c, please report by email to ").Text(kSupportAddress).str());
    report.Blank();
    report.Line(ListDirectedLine().Text(" X value for f(c) = ").Real(x).str());
    report.Line(ListDirectedLine()
                    .Text(" Soil types: 1 = cohesive, 2 = cohesionless, 3 = rock, 4= user input)")
                    .str());
    report.Line(ListDirectedLine().Text(" Soil type above        = ").Integer(upper_kind).str());
    report.Line(ListDirectedLine().Text(" Soil type below        = ").Integer(lower_kind).str());
    report.Line(ListDirectedLine().Text(" cohesionless           = ").Integer(2).str());
    report.Line(ListDirectedLine().Text(" cohesive               = ").Integer(1).str());
    report.Line(ListDirectedLine()
                    .Text(" JBOT index             = ")
                    .Integer(jbot)
                    .Text(" = index number of strength value below depth in question")
                    .str());
    report.Line(ListDirectedLine()
                    .Text(" At tip condition       = ")
                    .Logical(at_tip)
                    .Text(", T = true, F = false")
                    .str());
    report.Line(ListDirectedLine().Text(" KSOIL(JBOT/2)          = ").Integer(code(jbot / 2)).str());
    report.Line(ListDirectedLine().Text(" KSOIL(JBOT/2+1)        = ").Integer(code(jbot / 2 + 1)).str());
    Stop_With_Error(ctx, "RUN00024", 230);
}

// Trapezoid average over the profile points from the ground surface to x.
// Returns false when x lies below the deepest point.
bool AverageFromGround(const run::RunContext& ctx, double x, double model::SoilPointParams::*column, double& average) {
    const model::ProblemData& problem = ctx.problem;
    const int n = PointCount(problem);
    const double d = x - problem.GroundSurfaceDepth;
    average = 0.0;
    if (n < 2) return true;
    auto D = [&](int j) { return Point(problem, j).Depth; };
    auto G = [&](int j) { return Point(problem, j).*column; };
    if (x > D(n)) return false;
    double sum = 0.0;
    for (int j = 2; j <= n; ++j) {
        if (D(j) <= x) {
            sum += (G(j) + G(j - 1)) * 0.5 * (D(j) - D(j - 1)) / d;
            continue;
        }
        if (D(j) - D(j - 1) >= kDepthTolerance && x > D(j - 1)) {
            sum += ((G(j) - G(j - 1)) / (D(j) - D(j - 1)) * (x - D(j - 1)) + 2.0 * G(j - 1)) * 0.5 * (x - D(j - 1)) / d;
        }
        break;
    }
    average = sum;
    return true;
}

}  // namespace

std::string_view SoilModelName(int code) {
    if (code < 1 || code > 20) return "Undefined";
    return kModelNames[static_cast<std::size_t>(code)];
}

PyNode OutputDepthNode(const run::RunContext& ctx, int k, double depth, int curve_number) {
    const model::PileModel& pile = ctx.pile;
    PyNode node;
    node.k = k;
    node.x = node.xv = depth;
    node.curve_number = curve_number;
    node.y = curve_number >= 1 && curve_number <= pile.N ? pile.y(curve_number) : 0.0;
    node.z0 = node.xv - ctx.problem.GroundSurfaceDepth;
    return node;
}


double fn_c(run::RunContext& ctx, double x) {
    const model::ProblemData& problem = ctx.problem;
    const int n = PointCount(problem);
    auto D = [&](int j) { return Point(problem, j).Depth; };
    auto C = [&](int j) { return Point(problem, j).Cohesion; };

    bool at_interface = false;
    for (int j = 2; j <= n - 1; ++j) {
        if (std::fabs(x - D(j)) <= kDepthTolerance) at_interface = true;
    }
    ctx.soil.b_AtInterface = at_interface;
    const bool at_tip = x == problem.PileTotalLength;

    int j = 2;
    while (j <= n && D(j) + kDepthTolerance < x) ++j;
    if (n < 2 || j > n) StopOnDepthBelowStrengthCurve(ctx, x, n >= 1 ? D(n) : 0.0);
    if (std::fabs(x - D(n)) <= kDepthTolerance) return C(n);
    if (!at_interface) {
        if (D(j) - D(j - 1) <= 0.0) StopOnZeroStrengthIncrement(ctx, x);
        return Linear(D(j - 1), C(j - 1), D(j), C(j), x);
    }

    // The layer pair that meets at x.
    const int layers = problem.i_Number_of_Layers();
    int m = 1;
    for (;; ++m) {
        if (m + 1 > layers) StopOnInterfaceNotFound(ctx, x, at_tip, m, m + 1);
        const model::SoilLayer& upper = problem.Layers[static_cast<std::size_t>(m - 1)];
        const model::SoilLayer& lower = problem.Layers[static_cast<std::size_t>(m)];
        if (std::fabs(x - upper.XLayerBottom) < kDepthTolerance && std::fabs(x - lower.XLayerTop) < kDepthTolerance) {
            break;
        }
    }
    const model::SoilLayer& upper = problem.Layers[static_cast<std::size_t>(m - 1)];
    const model::SoilLayer& lower = problem.Layers[static_cast<std::size_t>(m)];
    const double cu = upper.Bottom.Cohesion;
    const double cl = lower.Top.Cohesion;
    if (at_tip) return cu;
    const int ku = InterfaceClass(upper.KSOIL, cu);
    const int kl = InterfaceClass(lower.KSOIL, cl);
    const bool lower_soft = kl == 2 || kl == 4 || kl == 5;
    if (ku == 1) {
        if (kl == 1) return (cu + cl) / 2.0;
        if (kl == 3) return (2.0 * cu + cl) * 0.5;
        if (lower_soft) return cu;
    } else if (ku == 3) {
        if (kl == 1) return (2.0 * cl + cu) * 0.5;
        if (kl == 3) return (cu + cl) / 2.0;
        if (lower_soft) return cu;
    } else if (ku == 2 || ku == 4 || ku == 5) {
        if (kl == 1 || kl == 3) return cl;
    }
    StopOnUnsupportedInterface(ctx, x, ku, kl, j, at_tip);
}

double PointValueAt(const run::RunContext& ctx, double x, double model::SoilPointParams::*column) {
    const model::ProblemData& problem = ctx.problem;
    const int n = PointCount(problem);
    auto D = [&](int j) { return Point(problem, j).Depth; };
    auto V = [&](int j) { return Point(problem, j).*column; };
    if (n < 2 || x > D(n)) return 0.0;
    int j = 2;
    while (j < n && D(j) < x) ++j;
    if (x == D(n)) return V(n);
    if (x == D(j)) {
        if (j < n && D(j + 1) == D(j)) {
            if (x == problem.PileTotalLength) return V(j);
            if (V(j) < 1.0e-20) return V(j + 1);
            if (V(j + 1) < 1.0e-20) return V(j);
            return (V(j) + V(j + 1)) / 2.0;
        }
        return V(j);
    }
    if (!(D(j) > D(j - 1))) return V(j);
    return Linear(D(j - 1), V(j - 1), D(j), V(j), x);
}

double Epsilon50At(const run::RunContext& ctx, double x) {
    return PointValueAt(ctx, x, &model::SoilPointParams::Epsilon50);
}

// Input Data Error 4: a node below the friction angle data.
[[noreturn]] void StopOnDepthBelowFrictionData(run::RunContext& ctx, double x) {
    WriteReportThenMessages(ctx, {"**** Input Data Error No. 4 ****", "",
                                  "An error was detected that is related to an incompatibility",
                                  "between the input data defining the embedment of the pile and",
                                  "the maximum depth of the soil shear strength data.", "",
                                  "Problem:  The value for a pile station depth is " + fmt::E(x, 12, 4),
                                  "This depth is below the deepest extent of the input data for",
                                  "soil friction angle versus depth.", "",
                                  "Solution:  Please revise the input data by either extending ",
                                  "the maximum depth for soil friction angle or shorten the ",
                                  "pile to correct this problem."});
    Stop_With_Error(ctx, "INP00004", 104);
}

double FrictionAngleAt(run::RunContext& ctx, double x) {
    const int n = PointCount(ctx.problem);
    if (n < 2 || x > Point(ctx.problem, n).Depth) StopOnDepthBelowFrictionData(ctx, x);
    return PointValueAt(ctx, x, &model::SoilPointParams::FrictionAngle);
}

double ComputeAverageUnitWeight(run::RunContext& ctx, double x) {
    const model::ProblemData& problem = ctx.problem;
    if (x < problem.GroundSurfaceDepth) return 0.0;
    const int n = PointCount(problem);
    if (x - problem.GroundSurfaceDepth < kDepthTolerance) {
        if (n < 1) return 0.0;
        for (int j = 1; j <= n; ++j) {
            if (Point(problem, j).EffUnitWeight > 0.0) return Point(problem, j).EffUnitWeight;
        }
        return Point(problem, n).EffUnitWeight;
    }
    double average = 0.0;
    if (!AverageFromGround(ctx, x, &model::SoilPointParams::EffUnitWeight, average)) {
        StopOnDepthBelowUnitWeightData(ctx, x);
    }
    return average;
}

double AverageUnitWeight(run::RunContext& ctx, double x) {
    const model::ProblemData& problem = ctx.problem;
    // At and above the ground surface the value is a direct look-up.
    if (x - problem.GroundSurfaceDepth < kDepthTolerance) return ComputeAverageUnitWeight(ctx, x);
    if (const double* known = ctx.soil.UnitWeightMemo.Find(x)) return *known;
    const double average = ComputeAverageUnitWeight(ctx, x);
    ctx.soil.UnitWeightMemo.Store(x, average);
    return average;
}

double AverageStrength(run::RunContext& ctx, double x) {
    const model::ProblemData& problem = ctx.problem;
    if (x < problem.GroundSurfaceDepth) return 0.0;
    if (x - problem.GroundSurfaceDepth < kDepthTolerance) return fn_c(ctx, x);
    double average = 0.0;
    if (!AverageFromGround(ctx, x, &model::SoilPointParams::Cohesion, average)) StopOnDepthBelowCohesionData(ctx, x);
    return average;
}

namespace {

double MultiplierAt(const run::RunContext& ctx, double x, double model::PyModifierPoint::*column) {
    const auto& profile = ctx.problem.PyModifierProfile;
    const int m = std::min(static_cast<int>(profile.size()), ctx.problem.PyModifierCount);
    if (m <= 0) return 1.0;
    auto D = [&](int j) { return profile[static_cast<std::size_t>(j - 1)].Depth; };
    auto V = [&](int j) { return profile[static_cast<std::size_t>(j - 1)].*column; };
    if (x < D(1) || x > D(m)) return 1.0;
    if (m == 1) return V(1);
    int j = 2;
    while (j < m && D(j) < x) ++j;
    if (x == D(m)) return V(j);
    if (x == D(j)) return (j < m && D(j + 1) == D(j)) ? V(j + 1) : V(j);
    if (!(D(j) > D(j - 1))) return V(j);
    return Linear(D(j - 1), V(j - 1), D(j), V(j), x);
}

}  // namespace

double PMultiplierAt(const run::RunContext& ctx, double x) {
    return MultiplierAt(ctx, x, &model::PyModifierPoint::PMultiplier);
}
double YMultiplierAt(const run::RunContext& ctx, double x) {
    return MultiplierAt(ctx, x, &model::PyModifierPoint::YMultiplier);
}

double ComputePileWidth(const run::RunContext& ctx, double x) {
    return model::Lookup_Pile_Properties(ctx.problem, x).Width;
}

double PileWidthAt(run::RunContext& ctx, double x) {
    if (const double* known = ctx.soil.PileWidthMemo.Find(x)) return *known;
    const double width = ComputePileWidth(ctx, x);
    ctx.soil.PileWidthMemo.Store(x, width);
    return width;
}

double GroundSlopeFactor(const run::RunContext& ctx, double y) {
    const double slope = ctx.problem.SlopeMinusBatter;
    const double theta = std::fabs(slope);
    if (!(theta > 1.0e-20)) return 1.0;
    const bool up_slope = (y > 1.0e-20 && slope > 1.0e-20) || (y < -1.0e-20 && slope < -1.0e-20);
    const bool down_slope = (y > 1.0e-20 && slope < -1.0e-20) || (y < -1.0e-20 && slope > 1.0e-20);
    if (up_slope) return 1.0 / (1.0 + std::tan(theta));
    if (down_slope) return kHalfRootTwo * std::cos(theta) / std::cos(kPi / 4.0 + theta);
    return 1.0;
}

double ResistanceOfLayersAbove(const model::SoilState& soil, int layer) {
    double sum = 0.0;
    for (int j = 1; j < layer; ++j) {
        const auto i = static_cast<std::size_t>(j);
        sum += soil.LayerResistance[i] < 0.01 ? soil.LiquefiedLayerResistance[i] : soil.LayerResistance[i];
        if (sum > 1.0e20) sum = 100.0;
    }
    return sum;
}

void StopOnNonFiniteSoilModulus(run::RunContext& ctx, int k, double Es) {
    const model::PileModel& pile = ctx.pile;
    std::string unit = ctx.labels.Length;
    while (!unit.empty() && unit.back() == ' ') unit.pop_back();
    std::string where = "node " + fmt::I0(k);
    if (k >= 1 && k <= pile.N) {
        const std::string depth = fmt::E(pile.x(k), 12, 4);
        where += ", depth " + depth.substr(depth.find_first_not_of(' ')) + " " + unit;
    }
    WriteToBoth(ctx, {"", "**** Runtime Error No. 42 ****", "",
                      "The soil modulus of the p-y curve at " + where + " is not a finite number (" +
                          std::string(std::isnan(Es) ? "not-a-number" : "infinite") + ").",
                      "Check the soil parameters of the layer at this depth for values that no soil can have.", ""});
    Stop_With_Error(ctx, kNonFiniteSoilModulusError);
}



}  // namespace trevasc::soil
