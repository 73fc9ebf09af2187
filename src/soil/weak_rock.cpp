// Weak rock ("WeakRock").
//
// Reese, L. C. (1997), "Analysis of laterally loaded piles in weak rock",
// Journal of Geotechnical and Geoenvironmental Engineering 123(11),
// 1010-1017. The rock mass is characterised by its uniaxial compressive
// strength qur, the rock quality designation RQD (%), the initial modulus
// of the rock Eir and the strain factor krm (0.00005 to 0.0005). With xr the
// depth into the rock mass and b the pile width:
//
//     alpha_r = 1 - (2/3) RQD/100                    strength reduction
//     pur = alpha_r qur b (1 + 1.4 xr/b)             xr <= 3b
//     pur = 5.2 alpha_r qur b                        xr >  3b
//     Kir = Eir (100 + 400 xr/(3b))                  xr <= 3b
//     Kir = 500 Eir                                  xr >  3b
//     yrm = krm b
//     yA  = [pur / (2 yrm^(1/4) Kir)]^(4/3)          end of the initial line
//
//     p = Kir y                                      y <  yA
//     p = min(pur, (pur/2) (y/yrm)^(1/4))            y >= yA
//
// The two branches meet at yA, and the quarter-power branch reaches pur at
// y = 16 yrm. The published 4/3 is applied as 1.333, and 1.4, 5.2 and 2/3
// as the single-precision values the criterion has always used. Below a
// depth of three widths the two expressions for pur (1 + 1.4*3 = 5.2) and
// for Kir (100 + 400 = 500) join continuously.
//
// Units: pounds, inches and psi (a weak-rock strength is entered in psi and
// kept so by the unit conversion), or kN, metres and kPa.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "report/fortran_format.hpp"
#include "report/report_helpers.hpp"
#include "run/error_stop.hpp"
#include "run/run_context.hpp"
#include "soil/criteria.hpp"
#include "soil/criterion_report.hpp"
#include "soil/py_framework.hpp"

namespace trevasc::soil {

namespace fmt = report::fmt;
using run::WriteToBoth;
using run::Stop_With_Error;

namespace {

constexpr double Single(float value) { return value; }

constexpr double kRqdFactor = 0.006666666828095913;        // (2/3)/100: alpha_r = 1 - RQD (2/3)/100
constexpr double kShallowStrengthSlope = 1.399999976158142;  // 1.4 in pur = alpha_r qur b (1 + 1.4 xr/b)
constexpr double kDeepStrengthFactor = 5.199999809265137;    // 5.2 in pur = 5.2 alpha_r qur b
constexpr double kShallowModulusBase = 100.0;              // Kir/Eir at the rock surface
constexpr double kShallowModulusSlope = 400.0;             // growth of Kir/Eir over three widths
constexpr double kDeepModulusFactor = 500.0;               // Kir/Eir below three widths
constexpr double kWidthsToDeepRock = 3.0;
constexpr double kYaExponent = 1.3329999446868896;         // 4/3, applied as 1.333
constexpr double kQuarterPower = 0.25;
constexpr double kUltimateAtYrm = 16.0;                    // p = pur at y = 16 yrm
constexpr double kLastReportYrm = 20.0;
constexpr double kRockDepthOffset = 1.0e-8;                // keeps xr positive at the rock surface
constexpr double kZeroStrength = 1.0e-10;

// Recommended range of krm.
constexpr double kKrmLow = 4.999999873689376e-05;    // 0.00005
constexpr double kKrmHigh = 0.0005000000237487257;   // 0.0005
// Usual range of the compressive strength of weak rock.
constexpr double kStrengthLowUscs = 100.0;   // psi
constexpr double kStrengthHighUscs = 1000.0; // psi
constexpr double kStrengthLowSi = 689.5;     // kPa
constexpr double kStrengthHighSi = 6895.0;   // kPa
constexpr double kPercentMax = 100.0;

// Report: Yu = 3b/80, the deflection at which the strength of a rock of
// brittle behaviour is printed for comparison.
constexpr double kYuOverWidth = 3.0 / 80.0;

// Report points between yA and 16 yrm, as fractions of the interval.
constexpr std::array<double, 13> kReportFractions = {
    Single(0.02f), Single(0.04f), Single(0.06f), Single(0.08f), Single(0.1f), Single(0.2f), Single(0.3f),
    Single(0.4f),  Single(0.5f),  Single(0.6f),  Single(0.7f),  Single(0.8f), Single(0.9f),
};

// Input Data Error 72 of this build: a weak-rock curve that cannot be formed.
constexpr std::int32_t kUndefinedRockCurve = 172;

const model::SoilLayer& LayerOf(const model::ProblemData& problem, int layer) {
    return problem.Layers[static_cast<std::size_t>(layer - 1)];
}

const model::SoilPointParams& ProfilePoint(const model::ProblemData& problem, int j) {
    const model::SoilLayer& layer = problem.Layers[static_cast<std::size_t>((j - 1) / 2)];
    return (j % 2 == 1) ? layer.Top : layer.Bottom;
}

// Input Data Error 62: a weak rock whose compressive strength is not above zero.
[[noreturn]] void StopOnNonPositiveStrength(run::RunContext& ctx, int layer) {
    WriteToBoth(ctx, {"**** Input Data Error No. 62 ****", "",
                      "Problem:   The input value for compressive strength is less than or equal to zero.", "",
                      "Solution:  Check the input values for layer " + fmt::I0(layer)});
    Stop_With_Error(ctx, "INP00062", 162);
}

// Input Data Error 16: a weak rock without strength below its top node.
[[noreturn]] void StopOnZeroStrengthBelowTop(run::RunContext& ctx) {
    WriteToBoth(ctx, {"**** Input Data Error No. 16 ****", "",
                      "An error was detected when computing the p-y curve for weak rock.",
                      "Problem:   The input value for the compressive strength of a weak rock was ",
                      "           input as negative or zero (0).", "",
                      "Solution:  Check the depth values for soil layering and soil shear strength ",
                      "           values and correct the input data."});
    Stop_With_Error(ctx, "INP00016", 116);
}

// Input Data Error 63: a weak rock whose k_rm is not above zero.
[[noreturn]] void StopOnNonPositiveKrm(run::RunContext& ctx, int layer) {
    WriteToBoth(ctx, {"**** Input Data Error No. 63 ****", "",
                      "Problem:  The input value for k_rm for weak rock is less than or equal to zero.", "",
                      "Solution: Check the input values for layer " + fmt::I0(layer)});
    // The message code of this error has always read INP00163.
    Stop_With_Error(ctx, "INP00163", 163);
}

// Runtime Error 22: a weak rock whose yrm = k_rm b is not above zero.
[[noreturn]] void StopOnNonPositiveYrm(run::RunContext& ctx, int layer) {
    WriteToBoth(ctx, {"**** Runtime Error No. 22 ****", "",
                      "An error was detected when computing the p-y curve for weak rock.     ",
                      "Problem:  The input value for k_rm is less than or equal to 0. ", "",
                      "Solution:  Check the input values for the week rock properties in the soil layer " +
                          fmt::I0(layer)});
    Stop_With_Error(ctx, "RUN00022", 222);
}

// Input Data Error 31: a node below the RQD data.
[[noreturn]] void StopOnDepthBelowRqdData(run::RunContext& ctx, double xv) {
    WriteToBoth(ctx, {"**** Input Data Error No. 31 ****", "",
                      "An error was detected that is related to an incompatibility",
                      "between the input data defining the embedment of the pile and",
                      "the maximum depth of the soil shear strength data.", "",
                      "Problem:  The value for a pile station depth is " + fmt::E(xv, 12, 4),
                      "This depth is below the deepest extent of the input data for", "RQD versus depth.", "",
                      "Solution:  Revise the input data by either extending the ",
                      "maximum depth for RQD or shorten the pile to correct this ", "problem."});
    Stop_With_Error(ctx, "INP00031", 131);
}

// Input Data Error 49: an interpolated RQD outside 0 to 100 percent.
[[noreturn]] void StopOnRqdOutOfRange(run::RunContext& ctx, double rqd) {
    WriteToBoth(ctx, {"**** Input Data Error No. 49 ****", "",
                      "Problem:  The interpolated value of RQD used for p-y curves in weak rock ",
                      "was found to be invalid because it was either less than zero or more than ",
                      "100 percent.", "", "Solution:  Check your input data and revise in the data for RQD.", "",
                      "The interpolated value of RQD = " + fmt::E(rqd, 12, 4) + " %"});
    Stop_With_Error(ctx, "INP00049", 149);
}

// Runtime Error 20: the rock modulus cannot be interpolated in a layer of no
// thickness. Written to the report only.
[[noreturn]] void StopOnZeroThicknessLayer(run::RunContext& ctx) {
    report::OutputChannel& report = ctx.files.report;
    report.Line("**** Runtime Error No. 20 ****");
    report.Blank();
    report.Line("Problem:  The top and bottom elevations for weak rock layer are equal.");
    report.Line("Solution: Correct the input data for elevations defining weak rock layer.");
    Stop_With_Error(ctx, "RUN00020", 220);
}

// Input Data Error 72: a weak rock curve without its initial straight line.
// The transition deflection yA = (pur / (2 yrm^(1/4) Kir))^1.333 exists only
// when pur and Kir are both greater than zero: a zero strength (possible at
// a strength interface, where the range checks are skipped) or a zero or
// negative rock modulus leaves the curve undefined.
[[noreturn]] void StopOnUndefinedCurve(run::RunContext& ctx, int layer, double xv, double qur, double Eir, double pur,
                                       double Kir) {
    WriteToBoth(ctx, {"**** Input Data Error No. 72 ****", "",
                      "Problem:  The p-y curve for weak rock cannot be computed for layer " + fmt::I0(layer) +
                          " at depth " + fmt::E(xv, 12, 4) + ".",
                      "          The end of its initial straight line, y_A = (Pu/(2 Yrm**0.25 K_ir))**1.333,",
                      "          needs Pu and K_ir greater than zero: Pu = " + fmt::E(pur, 12, 4) +
                          ", K_ir = " + fmt::E(Kir, 12, 4) + ".",
                      "          Compressive strength = " + fmt::E(qur, 12, 4) +
                          ", initial modulus of rock Eir = " + fmt::E(Eir, 12, 4), "",
                      "Solution: Enter a compressive strength and an initial modulus of rock greater",
                      "          than zero at the top and bottom of the weak rock layer."});
    Stop_With_Error(ctx, "INP00072", kUndefinedRockCurve);
}

// RQD at vertical depth x: the epsilon-50 look-up on the RQD column, which
// must extend down to x.
double RqdAt(run::RunContext& ctx, double x) {
    const model::ProblemData& problem = ctx.problem;
    const int n = 2 * problem.i_Number_of_Layers();
    if (n < 2 || x > ProfilePoint(problem, n).Depth) StopOnDepthBelowRqdData(ctx, x);
    return PointValueAt(ctx, x, &model::SoilPointParams::RQD);
}

// krm at vertical depth x: linear between profile points; at a depth shared
// by two points the deeper point's value, except at the pile tip; 0 below
// the profile.
double KrmAt(const model::ProblemData& problem, double x) {
    const int n = 2 * problem.i_Number_of_Layers();
    auto D = [&](int j) { return ProfilePoint(problem, j).Depth; };
    auto V = [&](int j) { return ProfilePoint(problem, j).Epsilon50; };
    if (n < 2 || x > D(n)) return 0.0;
    int j = 2;
    while (j < n && D(j) < x) ++j;
    if (x == D(j)) {
        if (j < n && D(j + 1) == D(j) && x != problem.PileTotalLength) return V(j + 1);
        return V(j);
    }
    if (!(D(j) > D(j - 1))) return V(j);
    return V(j - 1) + (V(j) - V(j - 1)) * (x - D(j - 1)) / (D(j) - D(j - 1));
}

// Depth into the rock mass: measured from the top of the uppermost of the
// weak rock and vuggy limestone layers stacked directly above this one.
double DepthIntoRock(const model::ProblemData& problem, int layer, double xv) {
    double xr = xv + kRockDepthOffset - LayerOf(problem, layer).XLayerTop;
    for (int j = layer - 1; j >= 1; --j) {
        const model::SoilLayer& above = LayerOf(problem, j);
        if (above.KSOIL != model::kWeakRock && above.KSOIL != model::kVuggyLimestone) break;
        xr += above.XLayerBottom - above.XLayerTop;
    }
    return xr;
}

struct WeakRockCurve {
    double Kir = 0.0;
    double pur = 0.0;
    double yrm = 0.0;
    double yA = 0.0;

    double P(double y) const {
        if (y < yA) return Kir * y;
        return std::min(pur, 0.5 * pur * std::pow(y / yrm, kQuarterPower));
    }
};

// Range checks of the strength; the strength at an interface is a blend of
// two layers and is not checked.
void CheckStrength(run::RunContext& ctx, int layer, double qur) {
    if (ctx.soil.b_AtInterface) return;
    const model::UnitSystem units = ctx.problem.Options.Units;
    const bool uscs = units == model::UnitSystem::USCS;
    const bool si = units == model::UnitSystem::SI;
    if (uscs && qur < kStrengthLowUscs) ctx.warnings.RecordWarning(-3071);
    if (uscs && qur > kStrengthHighUscs) ctx.warnings.RecordWarning(-3072);
    if (qur <= 0.0) StopOnNonPositiveStrength(ctx, layer);
    if (si && qur < kStrengthLowSi) ctx.warnings.RecordWarning(-3073);
    if (si && qur > kStrengthHighSi) ctx.warnings.RecordWarning(-3074);
}

// A weak rock is analysed for at least one cycle of loading.
void SetAtLeastOneCycle(run::RunContext& ctx) {
    model::AnalysisOptions& options = ctx.problem.Options;
    if (options.NumberOfCycles <= 0.0) options.NumberOfCycles = 1.0;
}

// The curve of one node with the rock parameters it comes from.
struct WeakRockNodeCurve {
    double pm = 0.0;
    double ym = 0.0;
    double b = 0.0;
    double qur = 0.0;
    double rqd = 0.0;
    double Eir = 0.0;
    double alpha_r = 0.0;
    double gamma = 0.0;
    double krm = 0.0;
    double xr = 0.0;
    WeakRockCurve curve;
};

// `below_first` is false for the first node the layer is asked for, where a
// strength of zero is left to the check of the curve itself.
WeakRockNodeCurve WeakRockCurveAt(run::RunContext& ctx, int layer, const PyNode& node, bool below_first) {
    const model::ProblemData& problem = ctx.problem;
    const model::SoilLayer& soil_layer = LayerOf(problem, layer);
    const double pm = PMultiplierAt(ctx, node.x);
    const double ym = YMultiplierAt(ctx, node.x);
    const double b = PileWidthAt(ctx, node.x);
    const double qur = fn_c(ctx, node.xv);
    CheckStrength(ctx, layer, qur);

    const double rqd = RqdAt(ctx, node.xv);
    if (rqd < 0.0 || rqd > kPercentMax) StopOnRqdOutOfRange(ctx, rqd);
    const double thickness = soil_layer.XLayerBottom - soil_layer.XLayerTop;
    if (thickness == 0.0) StopOnZeroThicknessLayer(ctx);
    const double Eir = soil_layer.Top.SubgradeK + (node.xv - soil_layer.XLayerTop) / thickness *
                                                      (soil_layer.Bottom.SubgradeK - soil_layer.Top.SubgradeK);
    const double alpha_r = 1.0 - rqd * kRqdFactor;
    if (below_first && qur < kZeroStrength) StopOnZeroStrengthBelowTop(ctx);

    const double gamma = AverageUnitWeight(ctx, node.xv);
    const double krm = KrmAt(problem, node.xv);
    if (krm <= 0.0) StopOnNonPositiveKrm(ctx, layer);
    if (krm < kKrmLow) ctx.warnings.RecordWarning(-316);
    if (krm > kKrmHigh) ctx.warnings.RecordWarning(-317);

    const double xr = DepthIntoRock(problem, layer, node.xv);
    WeakRockCurve curve;
    curve.yrm = krm * b;
    if (curve.yrm <= 0.0) StopOnNonPositiveYrm(ctx, layer);
    if (xr <= kWidthsToDeepRock * b) {
        curve.pur = alpha_r * qur * b * (1.0 + kShallowStrengthSlope * xr / b);
        curve.Kir = Eir * (kShallowModulusBase + kShallowModulusSlope * xr / (kWidthsToDeepRock * b));
    } else {
        curve.pur = kDeepStrengthFactor * alpha_r * qur * b;
        curve.Kir = kDeepModulusFactor * Eir;
    }
    if (!(curve.pur > 0.0) || !(curve.Kir > 0.0)) {
        StopOnUndefinedCurve(ctx, layer, node.xv, qur, Eir, curve.pur, curve.Kir);
    }
    curve.yA = std::pow(curve.pur / (2.0 * std::pow(curve.yrm, kQuarterPower) * curve.Kir), kYaExponent);
    return {pm, ym, b, qur, rqd, Eir, alpha_r, gamma, krm, xr, curve};
}

PyCurveReport DescribeCurve(const run::RunContext& ctx, int layer, const PyNode& node, const WeakRockNodeCurve& c) {
    const WeakRockCurve& curve = c.curve;
    PyCurveReport report(35);  // "=" in column 35
    const model::UnitLabels& u = ctx.labels;
    const py_report::Units units = py_report::MakeUnits(u);
    const std::string& length = units.length;
    const std::string& force_per_length = units.force_per_length;
    const std::string& stress = units.stress;
    const std::string unit_weight = force_per_length + u.Power + u.Exp3;
    report.Line("p-y Curve Computed Using Weak Rock Criteria");
    report.Labelled(" Soil Layer Number", fmt::I(layer, 12));
    report.Labelled(" Depth below ground surface", fmt::F(node.z0, 12, 3) + " " + length);
    report.Labelled(" Diameter", fmt::F(c.b, 12, 3) + " " + length);
    report.Labelled(" Unconfined Compressive Strength", fmt::F(c.qur, 12, 3) + " " + stress);
    report.Labelled(" Gamma Avg", fmt::F(c.gamma, 12, 5) + " " + unit_weight);
    report.Labelled(" Xr", fmt::F(c.xr, 12, 3) + " " + length);
    report.Labelled(" RQD", fmt::F(c.rqd, 12, 3) + " %");
    report.Labelled(" Eir", fmt::F(c.Eir, 12, 0) + " " + stress);
    report.Labelled(" Pu", fmt::F(curve.pur, 12, 3) + " " + force_per_length);
    report.Labelled(" k_rm", fmt::F(c.krm, 12, 5));
    report.Labelled(" K_ir", fmt::E(curve.Kir, 12, 5) + " " + stress);
    report.Labelled(" Alpha_r", fmt::F(c.alpha_r, 12, 3));
    report.Labelled(" Yu", fmt::F(kYuOverWidth * c.b, 12, 5) + " " + length);
    report.Labelled(" Yrm", fmt::F(curve.yrm, 12, 5));
    report.Labelled(" Y_A", fmt::E(curve.yA, 12, 5));
    report.Labelled(" p-multiplier", fmt::F(c.pm, 12, 5));
    report.Labelled(" y-multiplier", fmt::F(c.ym, 12, 5));
    report.Line("        y, " + length + "            p, " + force_per_length);
    report.Line("----------------    -----------------");

    const double span = kUltimateAtYrm * curve.yrm - curve.yA;
    for (int j = 1; j <= kReportPoints; ++j) {
        double yj = 0.0;
        if (j == 2) {
            yj = curve.yA;
        } else if (j >= 3 && j <= 15) {
            yj = curve.yA + kReportFractions[static_cast<std::size_t>(j - 3)] * span;
        } else if (j == 16) {
            yj = kUltimateAtYrm * curve.yrm;
        } else if (j == 17) {
            yj = kLastReportYrm * curve.yrm;
        }
        report.Point(c.ym * yj, c.pm * curve.P(yj));
    }
    return report;
}

}  // namespace

void WeakRockSprings(run::RunContext& ctx, int layer, int first, int last) {
    SetAtLeastOneCycle(ctx);
    for (int k = first; k <= last; ++k) {
        const PyNode node = PyNodeAt(ctx, k);
        const WeakRockNodeCurve c = WeakRockCurveAt(ctx, layer, node, k > first);
        const double ystar = DeflectionOnCurve(node, c.ym);
        // On the initial line the modulus is Kir itself.
        const WeakRockCurve& curve = c.curve;
        StoreSoilModulus(ctx, node, ystar < curve.yA ? curve.Kir : c.pm * curve.P(ystar) / (ystar * c.ym));
    }
}

void WeakRockCurves(run::RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink) {
    SetAtLeastOneCycle(ctx);
    // As over the nodes, every output depth after the layer's first is held
    // to a strength above zero.
    bool below_first = false;
    for (const PyNode& depth : depths) {
        sink(depth, DescribeCurve(ctx, layer, depth, WeakRockCurveAt(ctx, layer, depth, below_first)));
        below_first = true;
    }
}

}  // namespace trevasc::soil
