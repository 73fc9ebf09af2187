// Cemented silt, a soil with cohesion and friction ("Cem Silt").
//
// The c-phi criterion of Reese and Van Impe (2001, "Single Piles and Pile
// Groups Under Lateral Loading"), developed for cemented silts: the
// ultimate resistance is the sum of a frictional part, from the wedge and
// flow resistances of Reese, Cox and Koop (1974) for sand with the empirical
// factor A, and a cohesive part from the clay bearing factor of Matlock
// (1970) capped at 9:
//
//     pu    = A ps + Pu,c
//     ps    = min(pst, psd)              wedge (pst) and flow (psd), gamma' z
//     Pu,c  = min(Np, 9) c b,   Np = 3 + gamma' z/c + 0.5 z/b
//
// The curve is an initial line k z y, a parabola C y^(1/n) from its
// intersection yk with that line up to (ym, pm) at ym = b/60, a straight
// line from there to (yu, pu) at yu = 3b/80, and the plateau pu; the
// initial line caps the whole curve:
//
//     pm = 1.5 (ps + Pu,c),   m = (pu - pm)/(yu - ym),   n = pm/(m ym),
//     C = pm / ym^(1/n),      yk = (C/(k z))^(n/(n-1)).
//
// On sloping ground the wedge is reduced or enlarged by the direction of the
// deflection against the slope, and the active pressure follows Coulomb's
// inclined-backfill coefficient. Below other layers the depth z on the curve
// is the equivalent depth at which this material alone would develop the
// resistance of the layers above (found by stepping the integral of pu). The
// default initial modulus k is the sum of a cohesive and a frictional part
// from tables of the unit system.
//
// Units: pounds and inches (c in psi, gamma' in lb/in^3) or kN and metres;
// general units without the defaults of k and epsilon-50.
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string>

#include "report/fortran_format.hpp"
#include "report/report_helpers.hpp"
#include "run/error_stop.hpp"
#include "run/run_context.hpp"
#include "soil/criteria.hpp"
#include "soil/criterion_report.hpp"
#include "soil/py_framework.hpp"
#include "soil/sand.hpp"

namespace trevasc {
namespace {

constexpr double kK0 = 0.4000000059604645;               // at-rest coefficient 0.4
constexpr double kSmallAngle = 1.0e-10;
constexpr double kNoSlope = 1.0e-20;
constexpr double kDirectionDeflection = 1.0e-14;         // threshold of the wedge direction factor
constexpr double kZeroCohesion = 1.0e-10;
constexpr double kMaxBearingFactor = 9.0;
constexpr double kHalfRootTwo = 0.7071067690849304;      // sqrt(2)/2
constexpr double kYmOverWidth = 1.0 / 60.0;              // ym = b/60
constexpr double kYuOverWidth = 3.0 / 80.0;              // yu = 3b/80
constexpr double kPmFactor = 1.5;                        // pm = 1.5 (ps + Pu,c)
constexpr double kGroundAboveHead = -9.999999747378752e-06;
constexpr int kEquivalentDepthSteps = 500;
constexpr double kDeepFactorA = 0.8799999952316284;      // A far below the surface, 0.88
constexpr double kRightAngle = 90.0;                     // degrees

// Default epsilon-50 by cohesion (printed only).
struct Band {
    double upper_uscs;  // psi
    double upper_si;    // kPa
    double value;
};
constexpr std::array<Band, 5> kEpsilon50Default = {{
    {3.472219944000244, 23.940099716186523, 0.019999999552965164},
    {6.944399833679199, 47.88029861450195, 0.009999999776482582},
    {13.888899803161621, 95.760498046875, 0.004999999888241291},
    {27.888900756835938, 191.52099609375, 0.004999999888241291},
    {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity(), 0.004000000189989805},
}};

// Cohesive part of the default k (force/length^3) by cohesion.
struct CohesionModulus {
    double upper_uscs, upper_si;
    double static_uscs, cyclic_uscs, static_si, cyclic_si;
};
constexpr std::array<CohesionModulus, 4> kCohesionModulus = {{
    {6.940000057220459, 47.8927001953125, 250.0, 100.0, 67861.796875, 27144.7109375},
    {13.880000114440918, 95.785400390625, 500.0, 200.0, 135723.59375, 54289.3984375},
    {27.780000686645508, 191.57080078125, 1000.0, 400.0, 271447.1875, 108578.8984375},
    {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity(), 2000.0, 800.0, 542894.375,
     217157.703125},
}};
// Frictional part of the default k by friction angle (<= 30, <= 36, above)
// for submerged (light) and dry (heavy) soil.
constexpr std::array<double, 3> kFrictionModulusHeavyUscs = {25.0, 90.0, 225.0};
constexpr std::array<double, 3> kFrictionModulusLightUscs = {20.0, 60.0, 125.0};
constexpr std::array<double, 3> kFrictionModulusHeavySi = {6786.18017578125, 24430.240234375, 61075.6015625};
constexpr std::array<double, 3> kFrictionModulusLightSi = {5428.93994140625, 16286.830078125, 33930.8984375};
constexpr double kHeavyUnitWeightUscs = 0.04500000178813934;  // lb/in^3
constexpr double kHeavyUnitWeightSi = 12.225000381469727;     // kN/m^3


// Input Data Error 74 of this build: a soil parameter outside the range in
// which the criterion is defined.
constexpr std::int32_t kParameterOutOfRange = 174;

// The Reese sand factors A and B at r = x/b. Above the ground surface
// (r below 0) the surface value holds.
double ReeseA(double r, bool cyclic) { return ReeseSandA(r > 0.0 ? r : 0.0, cyclic); }
double ReeseB(double r, bool cyclic) { return ReeseSandB(r > 0.0 ? r : 0.0, cyclic); }

// Input Data Error 48: a silt layer with zero or negative cohesion.
[[noreturn]] void StopOnSiltNonPositiveCohesion(RunContext& ctx, int layer, double xv, double c) {
    WriteToBoth(ctx, {"**** Input Data Error No. 48 ****", "",
                      "Problem: A negative or zero value of cohesion was input for ", "a soil defined as a silt.", "",
                      "Layer = " + fmt::I0(layer) + ", Depth = " + fmt::F(xv, 13, 8) + ", c = " + fmt::E(c, 10, 3), "",
                      "Solution:  Please revise and correct the input data.  ",
                      "Both cohesion and friction angle should be non-zero for silt soils."});
    Stop_With_Error(ctx, "INP00048", 148);
}

// Input Data Error 10: a cemented silt without a friction angle.
[[noreturn]] void StopOnSiltZeroFrictionAngle(RunContext& ctx) {
    WriteToBoth(ctx, {"**** Input Data Error No. 10 ****", "",
                      "Problem:  A negative or zero value was input for the friction angle for a silt.", "",
                      "Solution:  Please revise and correct the input data.  ",
                      "Both cohesion and friction angle must be non-zero for the cemented silt soil."});
    Stop_With_Error(ctx, "INP00010", 110);
}

// Input Data Error 74: a friction angle of 90 degrees or more.
[[noreturn]] void StopOnFrictionAngleTooLarge(RunContext& ctx, int layer, double xv, double phi_degrees) {
    WriteToBoth(ctx, {"**** Input Data Error No. 74 ****", "",
                      "Problem:  The friction angle of the cemented silt of layer " + fmt::I0(layer) + " at depth " +
                          fmt::E(xv, 12, 4) + " is " + fmt::F(phi_degrees, 10, 3) + " degrees.",
                      "          The criterion is defined for friction angles below 90 degrees only.", "",
                      "Solution: Correct the friction angle of the layer."});
    Stop_With_Error(ctx, "INP00074", kParameterOutOfRange);
}

// Runtime Error 23: a ground slope steeper than the friction angle of the silt.
[[noreturn]] void StopOnSlopeSteeperThanFriction(RunContext& ctx, int layer) {
    WriteToBoth(ctx, {"**** Runtime Error No. 23 ****", "",
                      "A runtime error occurred due to the ground slope angle being",
                      "greater than the friction angle for silt for layer " + fmt::I0(layer) + ".", "",
                      "Problem:  The angle of the ground slope can not be greater ",
                      "than the internal friction angle of silt.", "",
                      "Solution:  Set the value for slope angle to be less than ",
                      "the angle of friction or convert the layer into an equivalent", "strength clay layer.", ""});
    Stop_With_Error(ctx, "RUN00023", 223);
}

// Input Data Error 11: a slope at the friction angle of a silt without cohesion.
[[noreturn]] void StopOnCohesionlessSlopeTooSteep(RunContext& ctx, int layer) {
    WriteToBoth(ctx, {"**** Input Data Error No. 11 ****", "",
                      "An error was detected in the input data when computing a p-y.",
                      "curve using the criteria for silt for layer " + fmt::I0(layer) + ".", "",
                      "Problem:  The angle of the ground slope can not be greater ",
                      "than the internal friction angle of cohesionless silt.", "",
                      "Solution:  Set the value for slope angle to be less than ", "the angle of friction.", ""});
    Stop_With_Error(ctx, "INP00011", 111);
}

// Angles and earth-pressure coefficients of one node.
struct Wedge {
    double phi = 0.0;
    double alpha = 0.0;
    double beta = 0.0;
    double Ka = 0.0;   // Coulomb's coefficient on a slope
    double Ka0 = 0.0;  // level ground, for the flow term
    double Kp = 0.0;
};

// Depth in this material that develops the resistance of the layers above:
// the integral of pu from 0 to Z equals their resistance.
double SiltEquivalentDepth(const Wedge& w, double resistance_above, double b, double c, double gamma, double z0,
                        bool cyclic) {
    const double tan_b = std::tan(w.beta);
    const double tan_a = std::tan(w.alpha);
    const double tan_phi = std::tan(w.phi);
    const double C1 =
        tan_b * (tan_a * w.Kp + kK0 * (tan_phi * std::sin(w.beta) * (1.0 / std::cos(w.alpha) + 1.0) - tan_a));
    const double C2 = w.Kp - w.Ka;
    const double C3 = w.Kp * w.Kp * (w.Kp + kK0 * tan_phi) - w.Ka;
    const double Zc = (C3 - C2) * b / C1;
    const double dz = Zc / kEquivalentDepthSteps;
    double F = 0.0;
    for (int i = 1; i <= kEquivalentDepthSteps; ++i) {
        const double zi = i * dz;
        const double r = zi / b;
        const double previous = F;
        F += dz * (ReeseA(r, cyclic) * gamma * b * b * (C1 * r * r + C2 * r) + 3.0 * b * c +
                   (gamma * b + 0.5 * c) * zi);
        if (F > resistance_above) {
            // F - previous is the positive increment that carried F past the
            // resistance (it is 0 only for a material without unit weight or
            // cohesion above a resistance below 0).
            return F > previous ? zi - dz * (F - resistance_above) / (F - previous) : zi;
        }
    }
    // Beyond the stepped range pu grows at its deep rate. A material that
    // develops no resistance there (no unit weight and no cohesion) is
    // placed at the end of the range.
    const double deep_rate = kDeepFactorA * C3 * gamma * b * z0 + 9.0 * b * c;
    if (!(deep_rate > 0.0)) return Zc;
    return Zc + (resistance_above - F) / deep_rate;
}

struct SiltCurve {
    double kz = 0.0;
    double yk = 0.0;
    double ym = 0.0;   // ym,s = b/60
    double yu = 0.0;
    double pm = 0.0;   // pm,s
    double pu = 0.0;
    double m = 0.0;
    double n = 0.0;
    double inverse_n = 0.0;  // 1/n, the exponent of the parabola
    double C = 0.0;

    double P(double y) const {
        double p = 0.0;
        if (y <= yk) {
            p = kz * y;
        } else if (y <= ym) {
            p = C > 0.0 ? C * std::pow(y, inverse_n) : 0.0;
        } else if (y <= yu) {
            p = pm + m * (y - ym);
        } else {
            p = pu;
        }
        return std::min(p, kz * y);
    }
};

// The curve constants. When pu equals pm the parabola flattens to p = pm
// (n infinite, yk = pm/kz); when pm is 0 (no resistance at all, as at the
// ground surface of a silt without cohesion) it vanishes.
void SetCurveConstants(SiltCurve& curve, double z, double b) {
    curve.ym = kYmOverWidth * b;
    curve.yu = kYuOverWidth * b;
    if (z < 0.0) {
        curve.m = curve.n = curve.inverse_n = curve.C = 0.0;
        curve.yk = 2.0 * b;
        return;
    }
    curve.m = (curve.pu - curve.pm) / (curve.yu - curve.ym);
    if (curve.pm > 0.0 && curve.m != 0.0) {
        curve.n = curve.pm / (curve.m * curve.ym);
        curve.inverse_n = 1.0 / curve.n;
        curve.C = curve.pm * std::pow(curve.ym, -curve.inverse_n);
    } else if (curve.pm > 0.0) {
        curve.n = std::numeric_limits<double>::infinity();
        curve.inverse_n = 0.0;
        curve.C = curve.pm;
    } else {
        curve.n = curve.inverse_n = curve.C = 0.0;
    }
    if (!(curve.kz > 0.0) || !(curve.C > 0.0) || curve.inverse_n == 1.0) {
        // No intersection with the initial line: the cap min(p, kz y) alone
        // decides which line governs.
        curve.yk = 0.0;
    } else {
        curve.yk = std::pow(curve.C / curve.kz, 1.0 / (1.0 - curve.inverse_n));
    }
}

}  // namespace

void CementedSiltSprings(RunContext& ctx, int layer, int first, int last) {
    ProblemData& problem = ctx.problem;
    const AnalysisOptions& options = problem.Options;
    SoilLayer& soil_layer = problem.Layers[static_cast<std::size_t>(layer - 1)];
    const bool uscs = options.Units == UnitSystem::USCS;
    const bool si = options.Units == UnitSystem::SI;
    const bool cyclic = options.CyclicLoading;
    const bool report_mode = ctx.soil.PyReportMode;
    const double theta_s = problem.SlopeMinusBatter;
    const double theta = std::fabs(theta_s);
    LayerResistanceSum resistance(ctx, layer);

    for (int k = first; k <= last; ++k) {
        const PyNode node = PyNodeAt(ctx, k);
        const double b = PileWidthAt(ctx, node.x);
        const double pm = PMultiplierAt(ctx, node.x);
        const double ym = YMultiplierAt(ctx, node.x);
        const double c = fn_c(ctx, node.xv);
        // Zero cohesion is accepted at the top of the layer only; a negative
        // one nowhere.
        if ((c < kZeroCohesion && node.xv > soil_layer.XLayerTop) || c < 0.0) {
            StopOnSiltNonPositiveCohesion(ctx, layer, node.xv, c);
        }

        const double gamma = AverageUnitWeight(ctx, node.xv);
        double epsilon50 = Epsilon50At(ctx, node.xv);
        if (epsilon50 <= 0.0 && (uscs || si)) {
            for (const Band& band : kEpsilon50Default) {
                if (c < (uscs ? band.upper_uscs : band.upper_si)) {
                    epsilon50 = band.value;
                    break;
                }
            }
        }
        const double phi_degrees = FrictionAngleAt(ctx, node.xv);
        Wedge w;
        w.phi = phi_degrees / kDegreesPerRadian;
        if (w.phi < kSmallAngle) StopOnSiltZeroFrictionAngle(ctx);
        if (phi_degrees >= kRightAngle) StopOnFrictionAngleTooLarge(ctx, layer, node.xv, phi_degrees);

        // Initial modulus k (force/length^3).
        double k_modulus = 0.0;
        const double k_top = soil_layer.Top.SubgradeK;
        if (k_top > 0.0) {
            if (soil_layer.Bottom.SubgradeK == 0.0) soil_layer.Bottom.SubgradeK = k_top;
            const double thickness = soil_layer.XLayerBottom - soil_layer.XLayerTop;
            k_modulus = thickness == 0.0 ? k_top
                                         : k_top + (soil_layer.Bottom.SubgradeK - k_top) *
                                                       (node.xv - soil_layer.XLayerTop) / thickness;
        } else if (uscs || si) {
            for (const CohesionModulus& band : kCohesionModulus) {
                if (c < (uscs ? band.upper_uscs : band.upper_si)) {
                    k_modulus = uscs ? (cyclic ? band.cyclic_uscs : band.static_uscs)
                                     : (cyclic ? band.cyclic_si : band.static_si);
                    break;
                }
            }
            const bool heavy = gamma > (uscs ? kHeavyUnitWeightUscs : kHeavyUnitWeightSi);
            const auto& friction = uscs ? (heavy ? kFrictionModulusHeavyUscs : kFrictionModulusLightUscs)
                                        : (heavy ? kFrictionModulusHeavySi : kFrictionModulusLightSi);
            k_modulus += phi_degrees <= 30.0 ? friction[0] : (phi_degrees <= 36.0 ? friction[1] : friction[2]);
        }

        w.alpha = w.phi / 2.0;
        w.beta = kPi / 4.0 + w.phi / 2.0;
        if (theta > w.phi) StopOnSlopeSteeperThanFriction(ctx, layer);
        const double d = std::cos(theta) * std::cos(theta) - std::cos(w.phi) * std::cos(w.phi);
        if (d < 1.0e-10 && c <= 0.0) StopOnCohesionlessSlopeTooSteep(ctx, layer);
        const double tan_active = std::tan(kPi / 4.0 - w.phi / 2.0);
        w.Ka0 = tan_active * tan_active;
        w.Ka = w.Ka0;
        if (theta > kSmallAngle) {
            const double root = std::sqrt(std::max(0.0, d));
            w.Ka = std::cos(theta) * (std::cos(theta) - root) / (std::cos(theta) + root);
        }
        w.Kp = std::tan(w.beta) * std::tan(w.beta);

        // Depth on the curve, with the layering correction below other layers.
        double z = node.z0;
        if (layer > 1) {
            const auto li = static_cast<std::size_t>(layer);
            if (!report_mode && k == first && ctx.soil.BelowRockCount == 0) {
                ctx.soil.EquivalentDepth[li] = SiltEquivalentDepth(w, ResistanceOfLayersAbove(ctx.soil, layer), b, c,
                                                                gamma, node.z0, cyclic);
            }
            z = CurveDepth(ctx, layer, node.xv, node.z0);
        }

        SiltCurve curve;
        curve.kz = k_modulus * z;

        // Frictional part: wedge (with the slope direction factor) and flow.
        const double tan_phi = std::tan(w.phi);
        const double tan_b = std::tan(w.beta);
        const double tan_a = std::tan(w.alpha);
        const double sin_b = std::sin(w.beta);
        const double cos_a = std::cos(w.alpha);
        const double tan_bp = std::tan(w.beta - w.phi);
        double pst = gamma * z *
                     (kK0 * z * tan_phi * sin_b / (tan_bp * cos_a) + tan_b / tan_bp * (b + z * tan_b * tan_a) +
                      kK0 * z * tan_b * (tan_phi * sin_b - tan_a) - w.Ka * b);
        double S = 1.0;
        if (theta > kNoSlope) {
            const double t = std::tan(theta) * tan_b;
            const double y = node.y;
            const double e = kDirectionDeflection;
            if ((y > e && theta_s > e) || (y < e && theta_s < e)) {
                S = 1.0 + t;
            } else if ((y > e && theta_s < e) || (y < e && theta_s > e)) {
                S = 1.0 - t;
            }
            if (S > kNoSlope) {
                const double D = t / S;
                const double G = 4.0 * D * D * D - 3.0 * D * D + 1.0;
                pst = gamma * z *
                      (kK0 * z * tan_phi * sin_b * G / (tan_bp * cos_a) +
                       tan_b / tan_bp * (b + z * tan_b * tan_a / S) / S + kK0 * z * tan_b * (tan_phi * sin_b - tan_a) * G -
                       w.Ka * b);
            }
        }
        const double tan2_b = tan_b * tan_b;
        const double tan4_b = tan2_b * tan2_b;
        const double psd = b * gamma * node.z0 * (w.Ka0 * (tan4_b * tan4_b - 1.0) + kK0 * tan_phi * tan4_b);
        if (S <= kSmallAngle && theta > kSmallAngle) pst = psd;
        const double ps = std::min(pst, psd);

        // Cohesive part, with the slope factor on the bearing factor.
        double Puc = 0.0;
        if (c > 0.0) {
            double Np = 3.0 + gamma * z / c + 0.5 * z / b;
            if (theta > kNoSlope) {
                const double y = node.y;
                if ((y > kNoSlope && theta_s > kNoSlope) || (y < kNoSlope && theta_s < kNoSlope)) {
                    Np *= 1.0 / (1.0 + std::tan(theta));
                } else if ((y > kNoSlope && theta_s < kNoSlope) || (y < kNoSlope && theta_s > kNoSlope)) {
                    Np *= kHalfRootTwo * std::cos(theta) / std::cos(kPi / 4.0 + theta);
                }
            }
            Puc = (Np < kMaxBearingFactor ? Np : kMaxBearingFactor) * c * b;
        }

        const double ratio = z / b;
        const double A = ReeseA(ratio, cyclic);
        const double B = ReeseB(ratio, cyclic);
        curve.pu = A * ps + Puc;

        if (!report_mode) {
            resistance.Add(node, curve.pu, k == first, k == last);
            if (layer == 1 && problem.GroundSurfaceDepth < kGroundAboveHead) {
                ctx.soil.LayerResistance[1] =
                    (3.0 * c * b + curve.pu) * 0.5 * (soil_layer.XLayerBottom - soil_layer.XLayerTop);
            }
        }

        curve.pm = kPmFactor * (ps + Puc);
        SetCurveConstants(curve, z, b);

        if (!report_mode) {
            const double ystar = DeflectionOnCurve(node, ym);
            const double Es = ystar < kSmallDeflection ? curve.kz : pm * curve.P(ystar) / (std::fabs(ystar) * ym);
            StoreSoilModulus(ctx, node, Es);
            continue;
        }

        const UnitLabels& u = ctx.labels;
        const std::string length = " " + TrimRight(u.Length);
        const std::string force_per_length = TrimRight(u.Force3) + u.Divide + TrimRight(u.Length);
        const std::string force = " " + force_per_length;
        PyCurveReport report(29);
        auto labelled = [&](std::string label, std::string value) {
            report.Labelled(std::move(label), std::move(value));
        };
        report.Blank(2);
        report.Line(cyclic ? "p-y Curve Computed Using the Cyclic Criteria for Cemented Silt"
                           : "p-y Curve Computed Using the Static Criteria for Cemented Silt");
        report.Blank();
        labelled("Soil Layer Number", fmt::I(layer, 12));
        labelled("Depth below pile head", fmt::F(problem.GroundSurfaceDepth + node.z0, 12, 3) + length);
        labelled("Depth below ground surface", fmt::F(node.z0, 12, 3) + length);
        labelled("Equivalent Depth, x", fmt::F(z, 12, 3) + length);
        labelled("Pile Diameter, B", fmt::F(b, 12, 3) + length);
        labelled("Cohesion, c", fmt::F(c, 12, 3) + force + u.Power + u.Exp2);
        labelled("Angle of Friction, phi", fmt::F(phi_degrees, 12, 3) + " deg.");
        labelled("Avg. Eff. Unit Weight", fmt::F(gamma, 12, 5) + force + u.Power + u.Exp3);
        labelled("k (interp. from input)", fmt::F(k_modulus, 12, 3) + force + u.Power + u.Exp3);
        labelled("Epsilon50 (interp.)", fmt::F(epsilon50, 12, 5));
        labelled("x/B ratio", fmt::F(ratio, 12, 3));
        labelled("A parameter = fn(x/B)", fmt::F(A, 12, 5));
        labelled("B parameter = fn(x/B)", fmt::F(B, 12, 5));
        labelled("m", fmt::F(curve.m, 12, 5));
        labelled("n", fmt::F(curve.n, 12, 5));
        labelled("Cbar", fmt::F(curve.C, 12, 5));
        labelled("yk", fmt::F(curve.yk, 12, 5) + length);
        labelled("Pu", fmt::F(Puc, 12, 3) + force);
        labelled("Pc", fmt::F(ps, 12, 3) + force);
        labelled("ym = b/60", fmt::F(curve.ym, 12, 5) + length);
        labelled("pm", fmt::F(curve.pm, 12, 3) + force);
        labelled("yu = 3b/80", fmt::F(curve.yu, 12, 5) + length);
        labelled("Pu,c", fmt::F(Puc, 12, 3) + force);
        labelled("Pu,phi", fmt::F(ps, 12, 3) + force);
        labelled("p-multiplier", fmt::F(pm, 12, 5));
        labelled("y-multiplier", fmt::F(ym, 12, 5));
        report.Blank();
        report.Line("        y," + length + "             p," + force);
        report.Line("----------------    -----------------");
        for (int j = 1; j <= kReportPoints; ++j) {
            double yj = 0.0;
            if (j >= 2 && j <= 13) {
                yj = (j - 1) * curve.ym / 12.0;
            } else if (j >= 14) {
                yj = curve.yu + (j - 14) * b;
            }
            const double y_out = ym * yj;
            const double p_out = pm * curve.P(yj);
            report.Point(y_out, p_out);
        }
        WritePyCurveReport(ctx, layer, node, report);
    }
}

void CementedSiltCurves(RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink) {
    CurvesThroughReportMode<&CementedSiltSprings>(ctx, layer, depths, sink);
}

}  // namespace trevasc
