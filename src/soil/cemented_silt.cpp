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

namespace trevasc::soil {

namespace fmt = report::fmt;
using run::WriteToBoth;
using run::Stop_With_Error;

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
[[noreturn]] void StopOnSiltNonPositiveCohesion(run::RunContext& ctx, int layer, double xv, double c) {
    WriteToBoth(ctx, {"**** Input Data Error No. 48 ****", "",
                      "Problem: A negative or zero value of cohesion was input for ", "a soil defined as a silt.", "",
                      "Layer = " + fmt::I0(layer) + ", Depth = " + fmt::F(xv, 13, 8) + ", c = " + fmt::E(c, 10, 3), "",
                      "Solution:  Please revise and correct the input data.  ",
                      "Both cohesion and friction angle should be non-zero for silt soils."});
    Stop_With_Error(ctx, "INP00048", 148);
}

// Input Data Error 10: a cemented silt without a friction angle.
[[noreturn]] void StopOnSiltZeroFrictionAngle(run::RunContext& ctx) {
    WriteToBoth(ctx, {"**** Input Data Error No. 10 ****", "",
                      "Problem:  A negative or zero value was input for the friction angle for a silt.", "",
                      "Solution:  Please revise and correct the input data.  ",
                      "Both cohesion and friction angle must be non-zero for the cemented silt soil."});
    Stop_With_Error(ctx, "INP00010", 110);
}

// Input Data Error 74: a friction angle of 90 degrees or more.
[[noreturn]] void StopOnFrictionAngleTooLarge(run::RunContext& ctx, int layer, double xv, double phi_degrees) {
    WriteToBoth(ctx, {"**** Input Data Error No. 74 ****", "",
                      "Problem:  The friction angle of the cemented silt of layer " + fmt::I0(layer) + " at depth " +
                          fmt::E(xv, 12, 4) + " is " + fmt::F(phi_degrees, 10, 3) + " degrees.",
                      "          The criterion is defined for friction angles below 90 degrees only.", "",
                      "Solution: Correct the friction angle of the layer."});
    Stop_With_Error(ctx, "INP00074", kParameterOutOfRange);
}

// Runtime Error 23: a ground slope steeper than the friction angle of the silt.
[[noreturn]] void StopOnSlopeSteeperThanFriction(run::RunContext& ctx, int layer) {
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
[[noreturn]] void StopOnCohesionlessSlopeTooSteep(run::RunContext& ctx, int layer) {
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

// What the curves of a layer share: the unit system, the loading and the
// effective slope of the ground.
struct SiltLayerValues {
    bool uscs = false;
    bool si = false;
    bool cyclic = false;
    double theta_s = 0.0;  // effective slope, signed
    double theta = 0.0;    // its magnitude
};

SiltLayerValues SiltLayerOf(const model::ProblemData& problem) {
    const model::AnalysisOptions& options = problem.Options;
    SiltLayerValues l;
    l.uscs = options.Units == model::UnitSystem::USCS;
    l.si = options.Units == model::UnitSystem::SI;
    l.cyclic = options.CyclicLoading;
    l.theta_s = problem.SlopeMinusBatter;
    l.theta = std::fabs(l.theta_s);
    return l;
}

// The curve of one node with the parameters it comes from: the look-ups,
// the initial modulus and the wedge, fixed by the node's depths, then the
// resistances and the curve at the curve depth z.
struct SiltNodeCurve {
    double b = 0.0, pm = 0.0, ym = 0.0;
    double c = 0.0, gamma = 0.0, epsilon50 = 0.0, phi_degrees = 0.0, k_modulus = 0.0;
    Wedge w;
    double z = 0.0;
    double ps = 0.0;   // frictional resistance, min(pst, psd)
    double Puc = 0.0;  // cohesive resistance
    double ratio = 0.0, A = 0.0, B = 0.0;
    SiltCurve curve;
};

// Epsilon-50 at xv, or its default by cohesion where none is given.
double SiltEpsilon50(const run::RunContext& ctx, const SiltLayerValues& l, double xv, double c) {
    double epsilon50 = Epsilon50At(ctx, xv);
    if (epsilon50 <= 0.0 && (l.uscs || l.si)) {
        for (const Band& band : kEpsilon50Default) {
            if (c < (l.uscs ? band.upper_uscs : band.upper_si)) {
                epsilon50 = band.value;
                break;
            }
        }
    }
    return epsilon50;
}

// Initial modulus k (force/length^3) at xv: from the layer's input values (a
// missing bottom value is taken as the top one from here on), else the
// default from the cohesion and the friction angle.
double SiltInitialModulus(model::SoilLayer& soil_layer, const SiltLayerValues& l, double xv, double c, double gamma,
                          double phi_degrees) {
    const bool uscs = l.uscs;
    const bool cyclic = l.cyclic;
    double k_modulus = 0.0;
    const double k_top = soil_layer.Top.SubgradeK;
    if (k_top > 0.0) {
        if (soil_layer.Bottom.SubgradeK == 0.0) soil_layer.Bottom.SubgradeK = k_top;
        const double thickness = soil_layer.XLayerBottom - soil_layer.XLayerTop;
        k_modulus = thickness == 0.0 ? k_top
                                     : k_top + (soil_layer.Bottom.SubgradeK - k_top) *
                                                   (xv - soil_layer.XLayerTop) / thickness;
    } else if (uscs || l.si) {
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
    return k_modulus;
}

// The look-ups, the initial modulus and the wedge of a node, with the stops
// on its strength, friction angle and the slope.
SiltNodeCurve SiltWedgeAt(run::RunContext& ctx, int layer, const SiltLayerValues& l, const PyNode& node) {
    model::SoilLayer& soil_layer = ctx.problem.Layers[static_cast<std::size_t>(layer - 1)];
    SiltNodeCurve silt;
    silt.b = PileWidthAt(ctx, node.x);
    silt.pm = PMultiplierAt(ctx, node.x);
    silt.ym = YMultiplierAt(ctx, node.x);
    silt.c = fn_c(ctx, node.xv);
    const double c = silt.c;
    // Zero cohesion is accepted at the top of the layer only; a negative
    // one nowhere.
    if ((c < kZeroCohesion && node.xv > soil_layer.XLayerTop) || c < 0.0) {
        StopOnSiltNonPositiveCohesion(ctx, layer, node.xv, c);
    }

    silt.gamma = AverageUnitWeight(ctx, node.xv);
    silt.epsilon50 = SiltEpsilon50(ctx, l, node.xv, c);
    silt.phi_degrees = FrictionAngleAt(ctx, node.xv);
    const double phi_degrees = silt.phi_degrees;
    Wedge& w = silt.w;
    w.phi = phi_degrees / kDegreesPerRadian;
    if (w.phi < kSmallAngle) StopOnSiltZeroFrictionAngle(ctx);
    if (phi_degrees >= kRightAngle) StopOnFrictionAngleTooLarge(ctx, layer, node.xv, phi_degrees);
    silt.k_modulus = SiltInitialModulus(soil_layer, l, node.xv, c, silt.gamma, phi_degrees);

    const double theta = l.theta;
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
    return silt;
}

// Frictional resistance ps at curve depth z: the wedge, with the direction
// factor of the slope for the deflection y, and the flow around the pile at
// the true depth z0.
double SiltFrictionalResistance(const SiltLayerValues& l, const Wedge& w, double gamma, double z, double z0, double b,
                                double y) {
    const double theta_s = l.theta_s;
    const double theta = l.theta;
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
    const double psd = b * gamma * z0 * (w.Ka0 * (tan4_b * tan4_b - 1.0) + kK0 * tan_phi * tan4_b);
    if (S <= kSmallAngle && theta > kSmallAngle) pst = psd;
    return std::min(pst, psd);
}

// Cohesive resistance Pu,c at curve depth z, with the slope factor on the
// bearing factor for the deflection y.
double SiltCohesiveResistance(const SiltLayerValues& l, double c, double gamma, double z, double b, double y) {
    const double theta_s = l.theta_s;
    const double theta = l.theta;
    double Puc = 0.0;
    if (c > 0.0) {
        double Np = 3.0 + gamma * z / c + 0.5 * z / b;
        if (theta > kNoSlope) {
            if ((y > kNoSlope && theta_s > kNoSlope) || (y < kNoSlope && theta_s < kNoSlope)) {
                Np *= 1.0 / (1.0 + std::tan(theta));
            } else if ((y > kNoSlope && theta_s < kNoSlope) || (y < kNoSlope && theta_s > kNoSlope)) {
                Np *= kHalfRootTwo * std::cos(theta) / std::cos(kPi / 4.0 + theta);
            }
        }
        Puc = (Np < kMaxBearingFactor ? Np : kMaxBearingFactor) * c * b;
    }
    return Puc;
}

// The resistances and the curve of a node at its curve depth; on sloping
// ground they follow the direction of the node's deflection.
void FormSiltCurve(const run::RunContext& ctx, int layer, const SiltLayerValues& l, const PyNode& node,
                   SiltNodeCurve& silt) {
    // Depth on the curve, with the layering correction below other layers.
    silt.z = layer > 1 ? CurveDepth(ctx, layer, node.xv, node.z0) : node.z0;
    const double z = silt.z;
    const double b = silt.b;
    SiltCurve& curve = silt.curve;
    curve.kz = silt.k_modulus * z;
    silt.ps = SiltFrictionalResistance(l, silt.w, silt.gamma, z, node.z0, b, node.y);
    silt.Puc = SiltCohesiveResistance(l, silt.c, silt.gamma, z, b, node.y);
    silt.ratio = z / b;
    silt.A = ReeseA(silt.ratio, l.cyclic);
    silt.B = ReeseB(silt.ratio, l.cyclic);
    curve.pu = silt.A * silt.ps + silt.Puc;
    curve.pm = kPmFactor * (silt.ps + silt.Puc);
    SetCurveConstants(curve, z, b);
}

PyCurveReport DescribeCurve(const run::RunContext& ctx, int layer, const PyNode& node, const SiltNodeCurve& silt) {
    const model::UnitLabels& u = ctx.labels;
    const SiltCurve& curve = silt.curve;
    const std::string length = " " + report::TrimRight(u.Length);
    const std::string force_per_length = report::TrimRight(u.Force3) + u.Divide + report::TrimRight(u.Length);
    const std::string force = " " + force_per_length;
    PyCurveReport report(29);
    auto labelled = [&](std::string label, std::string value) { report.Labelled(std::move(label), std::move(value)); };
    report.Opening(ctx.problem.Options.CyclicLoading ? "p-y Curve Computed Using the Cyclic Criteria for Cemented Silt"
                                                     : "p-y Curve Computed Using the Static Criteria for Cemented Silt",
                   layer, 12);
    labelled("Depth below pile head", fmt::F(ctx.problem.GroundSurfaceDepth + node.z0, 12, 3) + length);
    labelled("Depth below ground surface", fmt::F(node.z0, 12, 3) + length);
    labelled("Equivalent Depth, x", fmt::F(silt.z, 12, 3) + length);
    labelled("Pile Diameter, B", fmt::F(silt.b, 12, 3) + length);
    labelled("Cohesion, c", fmt::F(silt.c, 12, 3) + force + u.Power + u.Exp2);
    labelled("Angle of Friction, phi", fmt::F(silt.phi_degrees, 12, 3) + " deg.");
    labelled("Avg. Eff. Unit Weight", fmt::F(silt.gamma, 12, 5) + force + u.Power + u.Exp3);
    labelled("k (interp. from input)", fmt::F(silt.k_modulus, 12, 3) + force + u.Power + u.Exp3);
    labelled("Epsilon50 (interp.)", fmt::F(silt.epsilon50, 12, 5));
    labelled("x/B ratio", fmt::F(silt.ratio, 12, 3));
    labelled("A parameter = fn(x/B)", fmt::F(silt.A, 12, 5));
    labelled("B parameter = fn(x/B)", fmt::F(silt.B, 12, 5));
    labelled("m", fmt::F(curve.m, 12, 5));
    labelled("n", fmt::F(curve.n, 12, 5));
    labelled("Cbar", fmt::F(curve.C, 12, 5));
    labelled("yk", fmt::F(curve.yk, 12, 5) + length);
    labelled("Pu", fmt::F(silt.Puc, 12, 3) + force);
    labelled("Pc", fmt::F(silt.ps, 12, 3) + force);
    labelled("ym = b/60", fmt::F(curve.ym, 12, 5) + length);
    labelled("pm", fmt::F(curve.pm, 12, 3) + force);
    labelled("yu = 3b/80", fmt::F(curve.yu, 12, 5) + length);
    labelled("Pu,c", fmt::F(silt.Puc, 12, 3) + force);
    labelled("Pu,phi", fmt::F(silt.ps, 12, 3) + force);
    labelled("p-multiplier", fmt::F(silt.pm, 12, 5));
    labelled("y-multiplier", fmt::F(silt.ym, 12, 5));
    report.Blank();
    report.Line("        y," + length + "             p," + force);
    report.Line("----------------    -----------------");
    for (int j = 1; j <= kReportPoints; ++j) {
        double yj = 0.0;
        if (j >= 2 && j <= 13) {
            yj = (j - 1) * curve.ym / 12.0;
        } else if (j >= 14) {
            yj = curve.yu + (j - 14) * silt.b;
        }
        const double y_out = silt.ym * yj;
        const double p_out = silt.pm * curve.P(yj);
        report.Point(y_out, p_out);
    }
    return report;
}

}  // namespace

void CementedSiltSprings(run::RunContext& ctx, int layer, int first, int last) {
    const model::ProblemData& problem = ctx.problem;
    const model::SoilLayer& soil_layer = problem.Layers[static_cast<std::size_t>(layer - 1)];
    const SiltLayerValues l = SiltLayerOf(problem);
    LayerResistanceSum resistance(ctx, layer);

    for (int k = first; k <= last; ++k) {
        const PyNode node = PyNodeAt(ctx, k);
        SiltNodeCurve silt = SiltWedgeAt(ctx, layer, l, node);
        // The layer's equivalent depth, formed at its first node, places the
        // curve depth of every node of the layer.
        if (layer > 1 && k == first && ctx.soil.BelowRockCount == 0) {
            ctx.soil.EquivalentDepth[static_cast<std::size_t>(layer)] = SiltEquivalentDepth(
                silt.w, ResistanceOfLayersAbove(ctx.soil, layer), silt.b, silt.c, silt.gamma, node.z0, l.cyclic);
        }
        FormSiltCurve(ctx, layer, l, node, silt);

        resistance.Add(node, silt.curve.pu, k == first, k == last);
        if (layer == 1 && problem.GroundSurfaceDepth < kGroundAboveHead) {
            ctx.soil.LayerResistance[1] =
                (3.0 * silt.c * silt.b + silt.curve.pu) * 0.5 * (soil_layer.XLayerBottom - soil_layer.XLayerTop);
        }
        const double ystar = DeflectionOnCurve(node, silt.ym);
        const double Es = ystar < kSmallDeflection ? silt.curve.kz
                                                   : silt.pm * silt.curve.P(ystar) / (std::fabs(ystar) * silt.ym);
        StoreSoilModulus(ctx, node, Es);
    }
}

void CementedSiltCurves(run::RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink) {
    const SiltLayerValues l = SiltLayerOf(ctx.problem);
    for (const PyNode& depth : depths) {
        SiltNodeCurve silt = SiltWedgeAt(ctx, layer, l, depth);
        FormSiltCurve(ctx, layer, l, depth, silt);
        sink(depth, DescribeCurve(ctx, layer, depth, silt));
    }
}

}  // namespace trevasc::soil
