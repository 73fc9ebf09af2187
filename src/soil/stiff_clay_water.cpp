// Stiff clay with free water ("StfClyBW").
//
// Reese, L. C., Cox, W. R. and Koop, F. D. (1975), "Field testing and
// analysis of laterally loaded piles in stiff clay", Proc. 7th Offshore
// Technology Conference, OTC 2312. With c the undrained strength at the
// depth, ca its average above, gamma' the average effective unit weight and
// eps50 the strain at half the strength:
//
//     pct = 2 ca b + gamma' b z + 2.83 ca z     wedge
//     pcd = 11 c b                              flow around the pile
//     pc  = min(pct, pcd),  y50 = eps50 b
//
// Static curve (As from the tests, 0.6 below z = 3.3 b):
//
//     p = 0.5 pc (y/y50)^0.5                                  y <= As y50
//     p = pc [0.5 (y/y50)^0.5 - 0.055 ((y - As y50)/(As y50))^1.25]
//                                                             y <= 6 As y50
//     p = pc [0.5 (6 As)^0.5 - 0.411] - 0.0625 pc (y - 6 As y50)/y50
//                                                             y <= 18 As y50
//     p = pc [0.5 (6 As)^0.5 - 0.75 As - 0.411]              beyond
//
// Cyclic curve (Ac from the tests, 0.3 below z = 1.5 b; yp = 4.1 As y50):
//
//     p = Ac pc [1 - |(y - 0.45 yp)/(0.45 yp)|^2.5]           y <= 0.6 yp
//     p = 0.936 Ac pc - 0.085 pc (y - 0.6 yp)/y50              y <= 1.8 yp
//     p = 0.936 Ac pc - 0.102 pc yp / y50                      beyond
//
// Both curves are capped by the initial straight line k z y. The residual
// resistance of the large-deflection end serves as the layer's resistance
// for the equivalent depth of the layers below, found by stepping the
// integral of the residual resistance in 50 increments down to the depth
// where the wedge and the flow resistance meet.
//
// Units: pounds and inches (c in psi, k in lb/in^3) or kN and metres;
// general units have no default k and eps50.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "report/fortran_format.hpp"
#include "run/error_stop.hpp"
#include "run/run_context.hpp"
#include "soil/criteria.hpp"
#include "soil/criterion_report.hpp"
#include "soil/py_framework.hpp"
#include "soil/stiff_clay.hpp"

namespace trevasc::soil {

namespace fmt = report::fmt;

namespace {


constexpr double kHalfRootTwo = 0.7071067811865476;  // sqrt(2)/2, oblique slope factor
constexpr double kNoSlope = 1.0e-20;

// Default tables by strength: limits of 1000, 2000 and 4000 psf in psi and
// kPa, as each criterion holds them.
struct Band {
    double upper_uscs;
    double upper_si;
};
constexpr std::array<Band, 3> kWaterBands{{
    {6.94444465637207, 47.8802604675293},
    {13.88888931274414, 95.7605209350586},
    {27.77777862548828, 191.5210418701172},
}};
constexpr std::array<Band, 3> kDryBands{{
    {6.940000057220459, 47.8927001953125},
    {13.880000114440918, 95.785400390625},
    {27.780000686645508, 191.57080078125},
}};
// k (lb/in^3 and kN/m^3) and eps50 of the four bands.
constexpr std::array<double, 4> kStaticKUscs = {250.0, 500.0, 1000.0, 2000.0};
constexpr std::array<double, 4> kCyclicKUscs = {100.0, 200.0, 400.0, 800.0};
constexpr std::array<double, 4> kStaticKSi = {67861.796875, 135723.59375, 271447.1875, 542894.375};
constexpr std::array<double, 4> kCyclicKSi = {27144.7109375, 54289.3984375, 108578.8984375, 217157.703125};
constexpr std::array<double, 4> kWaterEps50 = {0.010999999940395355, 0.007000000216066837, 0.004999999888241291,
                                               0.004000000189989805};
constexpr std::array<double, 4> kDryEps50 = {0.011, 0.007, 0.005, 0.004};

// Factors As and Ac: cubic fits of the test results (single precision).
constexpr double kAs0 = 0.2345000058412552, kAs1 = 0.295879602432251, kAs2 = -0.0786110982298851,
                 kAs3 = 0.006898100022226572;
constexpr double kAsMax = 0.6000000238418579;
constexpr double kAsDeepRatio = 3.299999952316284;
constexpr double kAc0 = 0.20000000298023224, kAc1 = 0.15333299338817596, kAc2 = -0.07500000298023224,
                 kAc3 = 0.011667000129818916;
constexpr double kAcMax = 0.30000001192092896;
constexpr double kAcDeepRatio = 1.5;

constexpr double kWedgeFactor = 2.8299999237060547;  // 2.83 in pct
constexpr double kFlowFactor = 11.0;                 // pcd = 11 c b
constexpr double kStaticOffset = 0.41100001335144043;  // 0.411
constexpr double kStaticBend = 0.054999999701976776;   // 0.055
constexpr double kStaticBendPower = 1.25;
constexpr double kStaticFallSlope = 0.0625;
constexpr double kStaticResidualAs = 0.75;
constexpr double kCyclicPeakDeflection = 4.099999904632568;  // yp = 4.1 As y50
constexpr double kCyclicPeakShift = 0.44999998807907104;     // 0.45 yp
constexpr double kCyclicPower = 2.5;
constexpr double kCyclicFirstEnd = 0.6000000238418579;       // 0.6 yp
constexpr double kCyclicSecondEnd = 1.7999999523162842;      // 1.8 yp
constexpr double kCyclicPlateau = 0.9359999895095825;        // 0.936 Ac pc
constexpr double kCyclicFallSlope = 0.08500000089406967;     // 0.085
constexpr double kCyclicResidualSlope = 0.10199999809265137; // 0.102
constexpr double kCyclicResidualAs = 0.41819998621940613;    // 0.4182 = 0.102 * 4.1

constexpr int kEquivalentDepthSteps = 50;
constexpr double kZeroCohesion = 1.0e-10;
constexpr double kGroundAboveHead = -9.999999747378752e-06;

// Usual range of the strength of a stiff clay: 500 and 8,000 psf in psi and
// in kPa.
constexpr StiffClayStrengthRange kStrengthRange{3.472222328186035, 55.55555725097656, 23.940128326416016,
                                                383.04205322265625};

int BandOf(double c, model::UnitSystem units, StiffClayBands bands) {
    const auto& limits = bands == StiffClayBands::kWithWater ? kWaterBands : kDryBands;
    int i = 0;
    while (i < 3 && !(c < (units == model::UnitSystem::USCS ? limits[static_cast<std::size_t>(i)].upper_uscs
                                                      : limits[static_cast<std::size_t>(i)].upper_si))) {
        ++i;
    }
    return i;
}

// Ground-slope factor on the wedge resistance (the frame's factor, with
// sqrt(2)/2 in double precision).
double SlopeFactor(double slope, double y) {
    const double theta = std::fabs(slope);
    if (!(theta > kNoSlope)) return 1.0;
    if ((y > kNoSlope && slope > kNoSlope) || (y < -kNoSlope && slope < -kNoSlope)) return 1.0 / (1.0 + std::tan(theta));
    if ((y > kNoSlope && slope < -kNoSlope) || (y < -kNoSlope && slope > kNoSlope)) {
        return kHalfRootTwo * std::cos(theta) / std::cos(kPi / 4.0 + theta);
    }
    return 1.0;
}

double StaticResidualFactor(double As) { return 0.5 * std::sqrt(6.0 * As) - kStaticOffset - kStaticResidualAs * As; }
double CyclicResidualFactor(double Ac, double As) { return kCyclicPlateau * Ac - kCyclicResidualAs * As; }

// Input Data Error 14: a stiff clay with free water and without cohesion.
[[noreturn]] void StopOnZeroCohesion(run::RunContext& ctx) {
    run::WriteToBoth(ctx, {"**** Input Data Error No. 14 ****", "",
                           "An error was detected in the input data used to compute p-y curves in ",
                           "stiff clay with free water.", "",
                           "Problem:  Zero was input for the cohesion of a stiff clay. ", "",
                           "Solution:  Check and compare the values of shear strength and revise the ",
                           "input so that the strength values are correct for the soil types specified.", ""});
    run::Stop_With_Error(ctx, "INP00014", 114);
}

// The soil values of a node, from which its curve follows.
struct StiffClayWaterNode {
    double pm = 0.0;
    double ym = 0.0;
    double b = 0.0;
    double c = 0.0;
    double ca = 0.0;  // average strength above the node
    double gamma = 0.0;
    double k = 0.0;
    double eps50 = 0.0;
};

// The printed curve; cyclic curves print their points in fixed fields.
PyCurveReport DescribeCurve(const run::RunContext& ctx, int layer, const PyNode& node, double z,
                            const StiffClayWaterNode& n, const StiffClayWaterCurve& curve) {
    const model::ProblemData& problem = ctx.problem;
    const py_report::Units units = py_report::MakeUnits(ctx.labels);
    PyCurveReport report(29, curve.cyclic ? PointFields::kFixed : PointFields::kAdaptive);
    report.SetCyclic(curve.cyclic);
    auto line = [&](std::string label, std::string value) { report.Labelled(std::move(label), std::move(value)); };
    const std::string per_length = " " + units.force_per_length;

    report.Line(curve.cyclic ? "p-y Curve Computed Using Cyclic Criteria for Stiff Clay with Free Water"
                             : "p-y Curve Computed Using Static Criteria for Stiff Clay with Free Water");
    line("Soil Layer Number", fmt::I(layer, 12));
    line("Depth below pile head", fmt::F(problem.GroundSurfaceDepth + node.z0, 12, 3));
    line("Depth below ground surface", fmt::F(node.z0, 12, 3));
    line("Equivalent Depth", fmt::F(z, 12, 3));
    line("Diameter", fmt::F(n.b, 12, 3));
    line("c (at curve depth)", fmt::F(n.c, 12, 3) + " " + units.stress);
    line("Avergage c", fmt::F(n.ca, 12, 3));
    line("Average Eff. Unit Weight", fmt::F(n.gamma, 12, 5));
    line("k", fmt::F(n.k, 12, 3) + " " + units.unit_weight);
    line("Epsilon50", fmt::F(n.eps50, 12, 5));
    line("y50", fmt::F(curve.y50, 12, 3));
    line("As", fmt::F(curve.As, 12, 3));
    line(curve.cyclic ? "Ac" : "Ac (not used)", fmt::F(curve.Ac, 12, 5));
    line("pct", fmt::F(curve.pct, 12, 3) + per_length);
    line("pcd", fmt::F(curve.pcd, 12, 3) + per_length);
    line("pc", fmt::F(curve.pc, 12, 3) + per_length);
    line("pu", fmt::F(curve.pr, 12, 3) + per_length);
    line("p-multiplier", fmt::F(n.pm, 12, 5));
    line("y-multiplier", fmt::F(n.ym, 12, 5));
    if (curve.cyclic) line("Number of Cycles of Loading", fmt::F(problem.Options.NumberOfCycles, 12, 0));
    report.Blank();
    report.Line("        y, " + units.length + "             p," + units.force_per_length);
    report.Line("----------------    -----------------");

    for (int j = 1; j <= kReportPoints; ++j) {
        double y = 0.0;
        if (!curve.cyclic) {
            const double unit = curve.As * curve.y50;
            constexpr std::array<double, 4> kTail = {10.0, 14.0, 18.0, 200.0};
            y = j <= 13 ? (j - 1) * 0.5 * unit : kTail[static_cast<std::size_t>(j - 14)] * unit;
        } else {
            constexpr std::array<double, 4> kTail = {1.0, 1.4, 1.8, 20.0};
            y = j <= 13 ? (j - 1) * 0.05 * curve.yp : kTail[static_cast<std::size_t>(j - 14)] * curve.yp;
        }
        const double y_out = n.ym * y;
        const double p_out = n.pm * curve.P(y);
        report.Point(y_out, p_out);
    }
    return report;
}

// Running trapezoid average of the strength over the nodes of a layer, from
// its first node; in layer 1 the average runs from the ground surface.
class StrengthAverage {
public:
    // The average strength at `node`, whose strength is c; the first node of
    // the layer starts the average.
    double At(run::RunContext& ctx, int layer, const PyNode& node, bool first_node, double c) {
        double ca = c;
        if (layer == 1) {
            ca = AverageStrength(ctx, node.x);
        } else if (first_node) {
            sum_ = 0.0;
            xv_first_ = node.xv;
        } else {
            sum_ += 0.5 * (c_previous_ + c) * (node.xv - xv_previous_);
            // Two report depths at one depth: the average over no length is
            // the strength there.
            if (node.xv != xv_first_) ca = sum_ / (node.xv - xv_first_);
        }
        c_previous_ = c;
        xv_previous_ = node.xv;
        return ca;
    }

private:
    double sum_ = 0.0;
    double c_previous_ = 0.0;
    double xv_first_ = 0.0;
    double xv_previous_ = 0.0;
};

// The values of a node of the layer whose first node is numbered `first`,
// with the strength warnings and the check of the strength (zero is accepted
// at the first node only). `average` carries the strength average from node
// to node down the layer.
StiffClayWaterNode StiffClayWaterNodeAt(run::RunContext& ctx, int layer, const PyNode& node, int first,
                                        StrengthAverage& average) {
    const model::ProblemData& problem = ctx.problem;
    const model::AnalysisOptions& options = problem.Options;
    const model::SoilLayer& soil_layer = problem.Layers[static_cast<std::size_t>(layer - 1)];
    StiffClayWaterNode n;
    n.pm = PMultiplierAt(ctx, node.x);
    n.ym = YMultiplierAt(ctx, node.x);
    n.b = PileWidthAt(ctx, node.x);
    n.c = fn_c(ctx, node.xv);
    const double c = n.c;
    const bool at_interface = ctx.soil.b_AtInterface;
    if (node.k > first && c < kZeroCohesion) StopOnZeroCohesion(ctx);
    if (!at_interface) {
        RecordStrengthOutsideRange(ctx.warnings, c, options.Units, kStrengthRange, {3051, 3052, 3053, 3054});
    }
    n.gamma = AverageUnitWeight(ctx, node.xv);
    n.ca = average.At(ctx, layer, node, node.k == first, c);

    // k from the layer's values, or the default by strength.
    const double ktop = soil_layer.Top.SubgradeK;
    if (ktop <= 0.0) {
        const double k_default = StiffClayDefaultK(c, options.CyclicLoading, options.Units, StiffClayBands::kWithWater);
        n.k = options.Units == model::UnitSystem::GENERAL ? ktop : k_default;
    } else {
        n.k = StiffClayLayerK(soil_layer, node.xv);
    }
    n.eps50 = Epsilon50At(ctx, node.xv);
    if (n.eps50 <= 0.0 && options.Units != model::UnitSystem::GENERAL) {
        n.eps50 = StiffClayDefaultEpsilon50(c, options.Units, StiffClayBands::kWithWater);
    }
    return n;
}

// The curve of a node at the depth z on the curve.
StiffClayWaterCurve StiffClayWaterCurveAt(const run::RunContext& ctx, const PyNode& node, const StiffClayWaterNode& n,
                                          double z) {
    const model::ProblemData& problem = ctx.problem;
    return MakeStiffClayWaterCurve(n.b, n.c, n.ca, n.gamma, n.eps50, n.k, z,
                                   SlopeFactor(problem.SlopeMinusBatter, node.y), problem.Options.CyclicLoading);
}

// The equivalent depth of the layer, from the values at its first node.
void StoreEquivalentDepth(run::RunContext& ctx, int layer, const StiffClayWaterNode& n) {
    SetLayerEquivalentDepth(ctx, layer,
                            StiffClayWaterEquivalentDepth(ResistanceOfLayersAbove(ctx.soil, layer), n.b, n.c, n.ca,
                                                          n.gamma, ctx.problem.Options.CyclicLoading));
}

}  // namespace

double StiffClayLayerK(const model::SoilLayer& layer, double xv) {
    const double ktop = layer.Top.SubgradeK;
    const double kbot = layer.Bottom.SubgradeK > 0.0 ? layer.Bottom.SubgradeK : ktop;
    const double thickness = layer.XLayerBottom - layer.XLayerTop;
    return thickness > 0.0 ? ktop + (kbot - ktop) * (xv - layer.XLayerTop) / thickness : ktop;
}

void RecordStrengthOutsideRange(report::WarningRegistry& warnings, double c, model::UnitSystem units,
                                const StiffClayStrengthRange& range, const std::array<std::int32_t, 4>& ids) {
    const bool uscs = units == model::UnitSystem::USCS;
    const bool si = units == model::UnitSystem::SI;
    if (uscs && c < range.low_uscs) warnings.RecordWarning(-ids[0]);
    if (uscs && c > range.high_uscs) warnings.RecordWarning(-ids[1]);
    if (si && c < range.low_si) warnings.RecordWarning(-ids[2]);
    if (si && c > range.high_si) warnings.RecordWarning(-ids[3]);
}

double StiffClayDefaultK(double c, bool cyclic, model::UnitSystem units, StiffClayBands bands) {
    if (units == model::UnitSystem::GENERAL) return 0.0;
    const auto i = static_cast<std::size_t>(BandOf(c, units, bands));
    if (units == model::UnitSystem::USCS) return cyclic ? kCyclicKUscs[i] : kStaticKUscs[i];
    return cyclic ? kCyclicKSi[i] : kStaticKSi[i];
}

double StiffClayDefaultEpsilon50(double c, model::UnitSystem units, StiffClayBands bands) {
    if (units == model::UnitSystem::GENERAL) return 0.0;
    const auto i = static_cast<std::size_t>(BandOf(c, units, bands));
    return bands == StiffClayBands::kWithWater ? kWaterEps50[i] : kDryEps50[i];
}

double StiffClayAs(double r) {
    const double value = kAs0 + kAs1 * r + kAs2 * r * r + kAs3 * r * r * r;
    return r > kAsDeepRatio || value > kAsMax ? kAsMax : value;
}

double StiffClayAc(double r) {
    const double value = kAc0 + kAc1 * r + kAc2 * r * r + kAc3 * r * r * r;
    return r > kAcDeepRatio || value > kAcMax ? kAcMax : value;
}

double StiffClayWaterCurve::P(double y) const {
    double p = 0.0;
    if (!cyclic) {
        const double a = As * y50;
        if (y <= a) {
            p = 0.5 * pc * std::sqrt(y / y50);
        } else if (y <= 6.0 * a) {
            p = pc * (0.5 * std::sqrt(y / y50) - kStaticBend * std::pow(y / a - 1.0, kStaticBendPower));
        } else if (y <= 18.0 * a) {
            p = pc * (0.5 * std::sqrt(6.0 * As) - kStaticOffset) - kStaticFallSlope * pc * (y - 6.0 * a) / y50;
        } else {
            p = pc * StaticResidualFactor(As);
        }
    } else {
        const double shift = kCyclicPeakShift * yp;
        if (y <= kCyclicFirstEnd * yp) {
            p = Ac * pc * (1.0 - std::pow(std::fabs((y - shift) / shift), kCyclicPower));
        } else if (y <= kCyclicSecondEnd * yp) {
            p = kCyclicPlateau * Ac * pc - kCyclicFallSlope * pc * (y - kCyclicFirstEnd * yp) / y50;
        } else {
            p = kCyclicPlateau * Ac * pc - kCyclicResidualSlope * pc * yp / y50;
        }
    }
    return std::min(p, kz * y);
}

StiffClayWaterCurve MakeStiffClayWaterCurve(double b, double c, double ca, double gamma, double eps50, double k,
                                                double z, double slope_factor, bool cyclic) {
    StiffClayWaterCurve curve;
    curve.cyclic = cyclic;
    curve.As = StiffClayAs(z / b);
    curve.Ac = StiffClayAc(z / b);
    curve.pct = (2.0 * ca * b + gamma * b * z + kWedgeFactor * ca * z) * slope_factor;
    curve.pcd = kFlowFactor * c * b;
    curve.pc = std::min(curve.pct, curve.pcd);
    curve.y50 = eps50 * b;
    curve.kz = k * z;
    curve.yp = kCyclicPeakDeflection * curve.As * curve.y50;
    curve.pr = cyclic ? curve.pc * CyclicResidualFactor(curve.Ac, curve.As) : curve.pc * StaticResidualFactor(curve.As);
    return curve;
}

double StiffClayWaterEquivalentDepth(double A, double b, double c, double ca, double gamma, bool cyclic) {
    // Depth where the wedge reaches the flow resistance, and the residual
    // resistance down to it in 50 steps.
    const double zc = (kFlowFactor * c - 2.0 * ca) * b / (gamma * b + kWedgeFactor * ca);
    const double dz = zc / kEquivalentDepthSteps;
    double F = 0.0;
    double v = 0.0;
    for (int i = 1; i <= kEquivalentDepthSteps; ++i) {
        const double zi = i * dz;
        const double As = StiffClayAs(zi / b);
        v = cyclic ? CyclicResidualFactor(StiffClayAc(zi / b), As) : StaticResidualFactor(As);
        const double Fi = F + dz * v * ((gamma * zi + 2.0 * ca) * b + kWedgeFactor * zi * ca);
        if (Fi > A) return zi - dz * (Fi - A) / (Fi - F);
        F = Fi;
    }
    return zc + (A - F) / (kFlowFactor * c * v * b);
}

void StiffClayWaterSprings(run::RunContext& ctx, int layer, int first, int last) {
    const model::ProblemData& problem = ctx.problem;
    const model::SoilLayer& soil_layer = problem.Layers[static_cast<std::size_t>(layer - 1)];
    model::SoilState& soil = ctx.soil;
    double& resistance = soil.LayerResistance[static_cast<std::size_t>(layer)];
    StrengthAverage average;
    double pr_previous = 0.0;

    for (int k = first; k <= last; ++k) {
        const PyNode node = PyNodeAt(ctx, k);
        if (k == first) resistance = 0.0;
        const StiffClayWaterNode n = StiffClayWaterNodeAt(ctx, layer, node, first, average);
        if (k == first && layer > 1 && soil.BelowRockCount == 0) StoreEquivalentDepth(ctx, layer, n);
        const double z = CurveDepth(ctx, layer, node.xv, node.z0);
        const StiffClayWaterCurve curve = StiffClayWaterCurveAt(ctx, node, n, z);

        // The residual resistance over the layer, for the layers below.
        if (k > first) resistance += (pr_previous + curve.pr) * ctx.pile.h / 2.0;
        if (k == last) resistance += (soil_layer.XLayerBottom - node.x) * curve.pr;
        if (problem.GroundSurfaceDepth < kGroundAboveHead && layer == 1) {
            resistance = (2.0 * n.ca * n.b + curve.pc) * 0.5 * (soil_layer.XLayerBottom - soil_layer.XLayerTop);
        }
        pr_previous = curve.pr;

        const double ystar = DeflectionOnCurve(node, n.ym);
        const double Es = ystar < kSmallDeflection ? curve.kz : n.pm * curve.P(ystar) / (std::fabs(ystar) * n.ym);
        StoreSoilModulus(ctx, node, Es);
    }
}

// The output depths of a layer stand for its nodes: the average strength
// runs over them in their order, and zero strength is accepted at the first
// of them only.
void StiffClayWaterCurves(run::RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink) {
    const int first = depths.front().k;
    StrengthAverage average;
    for (const PyNode& depth : depths) {
        const StiffClayWaterNode n = StiffClayWaterNodeAt(ctx, layer, depth, first, average);
        const double z = CurveDepth(ctx, layer, depth.xv, depth.z0);
        sink(depth, DescribeCurve(ctx, layer, depth, z, n, StiffClayWaterCurveAt(ctx, depth, n, z)));
    }
}

}  // namespace trevasc::soil
