// Sand ("Sand", Reese) and API sand ("API Sand").
//
// Reese, L. C., Cox, W. R. and Koop, F. D. (1974), "Analysis of laterally
// loaded piles in sand", Proc. 6th Offshore Technology Conference, OTC 2080.
// The ultimate resistance ps at depth z is the lesser of a passive wedge
// near the surface and plane-strain flow around the pile at depth (with
// alpha = phi/2, beta = pi/4 + phi/2, K0 = 0.4, Ka = tan^2(pi/4 - phi/2)):
//
//     pst = gamma' z [ K0 z tan(phi) sin(beta) / (tan(beta - phi) cos(alpha))
//                      + tan(beta)/tan(beta - phi) (b + z tan(beta) tan(alpha))
//                      + K0 z tan(beta) (tan(phi) sin(beta) - tan(alpha)) - Ka b ]
//     psd = Ka b gamma' z (tan^8(beta) - 1) + K0 b gamma' z tan(phi) tan^4(beta)
//
// The curve rises on the line k z y, follows the parabola C y^(1/n) from
// yk to (ym, pm) at ym = b/60, pm = B ps, a straight line to (yu, pu) at
// yu = 3b/80, pu = A ps, and stays at pu; A and B are the empirical factors
// of the static and cyclic tests at Mustang Island, tabulated against z/b:
//
//     m = (pu - pm)/(yu - ym),  n = pm/(m ym),  C = pm / ym^(1/n),
//     yk = (C/(k z))^(n/(n-1)).
//
// On sloping ground (Reese and Van Impe 2001, section 3.4) the wedge is
// scaled by the direction factor S = 1 +- tan(theta) tan(beta) through
// D = t/S and G = 4 D^3 - 3 D^2 + 1, and the active pressure follows
// Coulomb's coefficient for an inclined backfill.
//
// American Petroleum Institute (2000), RP 2A-WSD, 21st ed., section 6.8.6:
//
//     pus = (C1 z + C2 b) gamma' z,  pud = C3 b gamma' z,  pu = min(pus, pud)
//     p   = A pu tanh(k z y / (A pu)),  A = max(0.9, 3 - 0.8 z/b) static,
//                                       A = 0.9 cyclic,
//
// with C1, C2, C3 written from the same wedge and flow (C2 = Kp - Ka,
// C3 = Kp^2 (Kp + K0 tan(phi)) - Ka).
//
// Below other layers both use the equivalent depth: the depth Z at which
// A_Reese (C1 z + C2 b) gamma' z integrated from the surface (trapezoids in
// 500 steps up to Zc, where the two API resistances meet) equals the
// resistance of the layers above. The default initial modulus k follows the
// recommended k against phi (API RP 2A figure 6.8.7-1, fitted as a power of
// phi up to 40 degrees and held beyond).
//
// Units: pounds and inches (gamma' in lb/in^3, k in lb/in^3) or kN and
// metres; general units have no default k.
#include "soil/sand.hpp"

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

namespace trevasc::soil {

namespace fmt = report::fmt;
using run::WriteToBoth;
using run::Stop_With_Error;

namespace {


constexpr double Single(float value) { return value; }

constexpr double kReeseK0 = 0.4;
constexpr double kApiK0 = 0.4000000059604645;  // 0.4 in single precision

constexpr double kZeroAngle = 1.0e-10;
constexpr double kSlopeForKa = 1.0e-10;        // slope from which Coulomb's Ka applies
constexpr double kSlopeForWedge = 1.0e-15;     // slope from which the direction factor applies
constexpr double kDirectionDeflection = 1.0e-14;
constexpr double kUsableDirection = 1.0e-20;   // S above which the sloping wedge is formed
constexpr double kCollapsedWedge = 1.0e-10;    // S at or below which flow governs
constexpr double kGroundAboveHead = -9.999999747378752e-06;

// Friction angles outside this range (degrees) are unusual for sand.
constexpr double kLowFrictionAngle = 20.0;
constexpr double kHighFrictionAngle = 48.0;

constexpr double kYmOverWidth = 1.0 / 60.0;   // ym = b/60
constexpr double kYuOverWidth = 3.0 / 80.0;   // yu = 3b/80
constexpr double kReportMidOverWidth = 13.0 / 480.0;  // between ym and yu in the report

// Reese A and B against z/b (single precision).
constexpr std::array<double, 10> kDepthRatios = {0.0, 0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0};
constexpr std::array<double, 10> kStaticA = {Single(2.83f), Single(2.48f), Single(2.11f), Single(1.76f),
                                             Single(1.48f), Single(1.23f), Single(1.06f), Single(0.90f),
                                             Single(0.88f), Single(0.88f)};
constexpr std::array<double, 10> kStaticB = {Single(2.14f), Single(1.83f), Single(1.54f), Single(1.27f),
                                             Single(1.05f), Single(0.86f), Single(0.71f), Single(0.53f),
                                             Single(0.50f), Single(0.50f)};
constexpr std::array<double, 10> kCyclicA = {Single(0.75f), Single(0.93f), Single(1.07f), Single(1.11f),
                                             Single(1.03f), Single(0.98f), Single(0.94f), Single(0.90f),
                                             Single(0.88f), Single(0.88f)};
constexpr std::array<double, 10> kCyclicB = {Single(0.53f), Single(0.72f), Single(0.83f), Single(0.86f),
                                             Single(0.82f), Single(0.77f), Single(0.70f), Single(0.55f),
                                             Single(0.55f), Single(0.55f)};

// API factor A.
constexpr double kApiCyclicA = 0.8999999761581421;      // 0.9
constexpr double kApiStaticASurface = 3.0;
constexpr double kApiStaticASlope = 0.800000011920929;  // 0.8
constexpr double kApiMinDepth = 1.0e-10;

// Default k against phi (degrees).
constexpr double kDefaultKPhiLimit = 40.0;
constexpr double kUscsKExponent = 5.694468021392822;
constexpr double kUscsKFactor = 1.2098290369522147e-07;
constexpr double kUscsKMax = 160.54745483398438;            // lb/in^3
constexpr double kSiSubmergedUnitWeight = 12.225000381469727;  // kN/m^3: below it the sand is submerged
constexpr double kSiLowKFactor = 3.284046397311613e-05;
constexpr double kSiLowKMax = 43580.1484375;                // kN/m^3
constexpr double kSiHighKExponent = 6.416118144989014;
constexpr double kSiHighKFactor = 4.14174883189844e-06;
constexpr double kSiHighKMax = 78739.0078125;               // kN/m^3

// Equivalent depth.
constexpr int kEquivalentDepthSteps = 500;
constexpr double kDeepA = 0.8799999952316284;  // A below z/b = 6

// Run-ending code without a message code (Runtime Error 29).
constexpr std::int32_t kInitialModulusNotANumber = 229;

double Table(const std::array<double, 10>& values, double r) {
    if (r > kDepthRatios.back()) return values.back();
    std::size_t i = 1;
    while (i < kDepthRatios.size() - 1 && !(kDepthRatios[i] > r)) ++i;
    const double r0 = kDepthRatios[i - 1];
    const double r1 = kDepthRatios[i];
    return values[i - 1] + (values[i] - values[i - 1]) * (r - r0) / (r1 - r0);
}

double Degrees(double radians) { return radians * kDegreesPerRadian; }

// Subgrade modulus of a sand layer at vertical depth xv; `defaulted` tells
// whether the layer uses the default from the friction angle.
double SandK(run::RunContext& ctx, const model::SoilLayer& layer, double xv, double phi_degrees, double gamma,
             bool& defaulted);

// ------------------------------------------------------------------ errors

// Input Data Error 8: a Reese sand without a friction angle (messages only).
[[noreturn]] void StopOnReeseSandZeroFrictionAngle(run::RunContext& ctx) {
    report::OutputChannel& m = ctx.files.messages;
    for (std::string_view line :
         {"**** Input Data Error No. 8 ****", "", "An error was detected in the input data for friction angle.",
          "Problem:  Zero was input for the friction angle for a sand when computing ",
          "          a p-y curve using the Reese et al. criteria.", "",
          "Solution: Check values of soil strength values and revise the input data."}) {
        m.Line(line);
    }
    Stop_With_Error(ctx, "INP00008", 108);
}

// Input Data Error 9: a ground slope steeper than the friction angle of a Reese sand.
[[noreturn]] void StopOnReeseSandSlopeTooSteep(run::RunContext& ctx, int layer) {
    WriteToBoth(ctx, {"**** Input Data Error No. 9 ****", "",
                      "An error was found in the input data when computing a p-y curve using ",
                      "the Reese sand criteria for layer " + fmt::I0(layer) + ".", "",
                      "Problem:  The angle of the ground slope can not be greater than the ",
                      "internal friction angle of the sand.", "",
                      "Solution:  Set the value for slope angle to be less than the angle of friction."});
    Stop_With_Error(ctx, "INP00009", 109);
}

// Input Data Error 1: an API sand without a friction angle.
[[noreturn]] void StopOnApiSandZeroFrictionAngle(run::RunContext& ctx, int layer) {
    WriteToBoth(ctx, {"**** Input Data Error No. 1 ****", "",
                      "An error was detected in the input data when computing a p-y.",
                      "curve using the API sand criteria for layer " + fmt::I0(layer) + ".", "",
                      "Problem:  Zero was input for the friction angle for sand.", "",
                      "Solution:  Check the friction angle values and revise the ", "data to correct this problem."});
    Stop_With_Error(ctx, "INP00001", 101);
}

// Input Data Error 2: a ground slope steeper than the friction angle of an API sand.
[[noreturn]] void StopOnApiSandSlopeTooSteep(run::RunContext& ctx, int layer) {
    WriteToBoth(ctx, {"**** Input Data Error No. 2 ****", "",
                      "An error was detected in the input data when computing a p-y.",
                      "curve using the API criteria for sand for layer " + fmt::I0(layer) + ".", "",
                      "Problem:  The angle of the ground slope can not be greater ",
                      "than the internal friction angle of the sand.", "",
                      "Solution:  Set the value for slope angle to be less than ", "the angle of friction."});
    Stop_With_Error(ctx, "INP00002", 102);
}

// Runtime Error 13: a default subgrade modulus asked for in general units.
[[noreturn]] void StopOnDefaultKInGeneralUnits(run::RunContext& ctx) {
    const std::initializer_list<std::string_view> lines = {
        "",
        "",
        "**** Runtime Error No. 13 ****",
        "",
        "Problem:  General units have been selected for use in computations in      ",
        "combination with default values of k for a layer classified as API sand    ",
        "criteria. This combination of data cannot be used because Trevasc cannot     ",
        "compute default values of subgrade modulus in general units.               ",
        "",
        "Solution:  You must select either US customary for SI units for the        ",
        "units of computation to use a default value for subgrade subgrade modulus  ",
        "for the API sand criteria or enter an appropriate proper value by entering ",
        "a non-zero for k.",
    };
    for (std::string_view line : lines) ctx.files.report.Line(line);
    for (std::string_view line : lines) ctx.files.messages.Line(line);
    Stop_With_Error(ctx, "RUN00013", 213);
}

void WriteFrictionAngleWarning(run::RunContext& ctx) {
    report::OutputChannel& m = ctx.files.messages;
    for (std::string_view line :
         {"", "**** Warning ****", "", "An unreasonable value for friction angle was input for a Reese sand layer. ",
          "The input value is either smaller than 20 degrees or higher than 48 degrees.",
          "The input data should be checked for correctness.", "",
          "The input value for friction angle was used in computations.", ""}) {
        m.Line(line);
    }
}

// Runtime Error 29: an initial modulus that is not a number (report line only).
[[noreturn]] void StopOnModulusNotANumber(run::RunContext& ctx, std::string_view text, int k, std::int32_t number) {
    ctx.files.report.Line(std::string(text) + fmt::I0(k));
    run::StopOnQuietError(ctx, number);
}

double SandK(run::RunContext& ctx, const model::SoilLayer& layer, double xv, double phi_degrees, double gamma,
             bool& defaulted) {
    const double ktop = layer.Top.SubgradeK;
    defaulted = ktop <= 0.0;
    if (defaulted) {
        const double k = SandDefaultK(phi_degrees, gamma, ctx.problem.Options.Units);
        if (ctx.problem.Options.Units == model::UnitSystem::GENERAL) StopOnDefaultKInGeneralUnits(ctx);
        return k;
    }
    const double kbot = layer.Bottom.SubgradeK;
    const double thickness = layer.XLayerBottom - layer.XLayerTop;
    if (!(thickness > 0.0)) return ktop;
    return ktop + (kbot - ktop) * (xv - layer.XLayerTop) / thickness;
}

// Deflection at a report depth for the direction of a sloping ground:
// linear in vertical depth between the two pile nodes around it (between
// nodes 1 and 2 above the second node).
double DeflectionAtDepth(const model::PileModel& pile, double depth) {
    if (pile.N < 2) return pile.y(1);
    int k = 1;
    while (k < pile.N - 1 && pile.xv(k + 1) < depth) ++k;
    const double x0 = pile.xv(k);
    const double x1 = pile.xv(k + 1);
    if (!(x1 > x0)) return pile.y(k);
    return pile.y(k) + (pile.y(k + 1) - pile.y(k)) * (depth - x0) / (x1 - x0);
}

// Equivalent depth of a sand layer, computed at its first node; the true
// depth of the layer top when no finite depth matches (a sand without
// friction develops no resistance).
void StoreEquivalentDepth(run::RunContext& ctx, int layer, double b, double gamma, double z0, const SandCoefficients& k,
                            bool cyclic) {
    SetLayerEquivalentDepth(ctx, layer,
                            SandEquivalentDepth(ResistanceOfLayersAbove(ctx.soil, layer), b, gamma, z0, k, cyclic));
}

void AddDepthNote(PyCurveReport& report, bool below_rock) {
    if (below_rock) {
        report.Line("This layer is below one or more layers of rock.  In this case, the ");
        report.Line("layering correction is not used and the true depth below the ground ");
        report.Line("surface is used when computing the p-y curve.  ");
    } else {
        report.Line("This p-y curve is computed using the equivalent depth.");
    }
}

// ------------------------------------------------------------- Reese sand

// The Reese curve of one node with the parameters it comes from: the
// look-ups and the wedge, fixed by the node's depths, then the resistances
// and the curve at the curve depth z.
struct ReeseNodeCurve {
    double b = 0.0, gamma = 0.0, phi_degrees = 0.0, phi = 0.0, pm = 0.0, ym = 0.0, k_modulus = 0.0;
    bool k_defaulted = false;
    SandAngles a;
    double Ka = 0.0;  // the active coefficient of the wedge: Coulomb's behind a slope, else a.Ka
    double z = 0.0, pst = 0.0, psd = 0.0, ps = 0.0;
    ReeseSandCurve curve;
};

// The lines both sand reports open with: layer, depths, slope and batter
// angles and the equivalent depth of the curve.
void AddSandDepthLines(PyCurveReport& report, const model::ProblemData& problem, int layer, double z0, double z) {
    auto line = [&](std::string label, std::string value) { report.Labelled(std::move(label), std::move(value)); };
    auto degrees = [](double radians) { return fmt::F(Degrees(radians), 12, 3) + " degrees"; };
    line("Soil Layer Number", fmt::I(layer, 12));
    line("Depth below pile head", fmt::F(problem.GroundSurfaceDepth + z0, 12, 3));
    line("Depth below ground surface", fmt::F(z0, 12, 3));
    line("Ground Slope Angle", degrees(problem.GroundSlopeAngle));
    line("Pile Batter", degrees(problem.PileBatterAngle));
    line("Effective Slope", degrees(problem.SlopeMinusBatter));
    line("Equivalent Depth (see note)", fmt::F(z, 12, 3));
}

PyCurveReport DescribeReeseCurve(const run::RunContext& ctx, int layer, const PyNode& node, const ReeseNodeCurve& c) {
    const model::ProblemData& problem = ctx.problem;
    const bool cyclic = problem.Options.CyclicLoading;
    const py_report::Units units = py_report::MakeUnits(ctx.labels);
    PyCurveReport report(56);
    auto line = [&](std::string label, std::string value) { report.Labelled(std::move(label), std::move(value)); };
    auto degrees = [](double radians) { return fmt::F(Degrees(radians), 12, 3) + " degrees"; };

    report.Line(cyclic ? "p-y Curve in Sand Computed Using Reese Criteria for Cyclic Loading Conditions"
                       : "p-y Curve in Sand Computed Using Reese Criteria for Static Loading Conditions");
    AddSandDepthLines(report, problem, layer, node.z0, c.z);
    line("Pile Diameter, b", fmt::F(c.b, 12, 3));
    line("Angle of Friction", degrees(c.phi));
    line("Avg. Eff. Unit Weight", fmt::F(c.gamma, 12, 5));
    line("kpy", fmt::F(c.k_modulus, 12, 3));
    line("K active", fmt::F(c.Ka, 12, 3));
    line("K passive", fmt::F(c.a.Kp, 12, 3));
    line("K0", fmt::F(c.a.K0, 12, 3));
    line("Pst", fmt::F(c.pst, 12, 3));
    line("Psd", fmt::F(c.psd, 12, 3));
    line(c.psd > c.pst ? "Ps = Pst (shallow controls)" : "Ps = Psd (deep controls)", fmt::F(c.ps, 12, 3));
    line(cyclic ? "A (cyclic)" : "A (static)", fmt::F(c.curve.A, 12, 4));
    line(cyclic ? "B (cyclic)" : "B (static)", fmt::F(c.curve.B, 12, 4));
    line("C = pm/(ym^(1/n))", fmt::F(c.curve.C, 12, 4));
    line("n = pm/(m ym)", fmt::F(c.curve.n, 12, 4));
    line("m = (pu-pm)/(yu-ym)", fmt::F(c.curve.m, 12, 4));
    line("yk = [c/(kx)]^(n/(n-1))", fmt::F(c.curve.yk, 12, 4));
    line("pk", fmt::F(c.curve.pk, 12, 3));
    line("ym = b/60", fmt::F(c.curve.yms, 12, 4));
    line("pm = B ps", fmt::F(c.curve.pms, 12, 3));
    line("yu = 3b/80", fmt::F(c.curve.yu, 12, 4));
    line("pu = A Ps", fmt::F(c.curve.pu, 12, 3));
    line("Es,lim", fmt::F(c.curve.kz, 12, 3));
    line("p-multiplier", fmt::F(c.pm, 12, 5));
    line("y-multiplier", fmt::F(c.ym, 12, 5));
    report.Blank();
    AddDepthNote(report, ctx.soil.BelowRockCount > 0);
    report.Columns(10, "y, " + units.length, 26, "p, " + units.force_per_length);
    report.Line("----------------    -----------------");

    const auto points = ReeseSandReportPoints(c.curve, c.b);
    bool any_marked = false;
    for (int j = 1; j <= kReportPoints; ++j) {
        const SandReportPoint& point = points[static_cast<std::size_t>(j - 1)];
        const double y_out = c.ym * point.y;
        const double p_out = c.pm * point.p;
        any_marked = any_marked || point.marked;
        report.Point(y_out, p_out, point.marked ? "   *" : "");
    }
    if (any_marked) report.Line("* p value(s) computed using p = k * Eff x * y ");
    if (c.k_defaulted) {
        report.Line("The above p-y curve was computed using internal default values of k.");
    } else {
        report.Blank();
    }
    return report;
}

// --------------------------------------------------------------- API sand

// The API sand curve of a node as its values `v` hold it, with the
// coefficients of its wedge.
PyCurveReport DescribeApiCurve(const run::RunContext& ctx, int layer, const PyNode& node,
                               const model::ApiSandNodeValues& v, const SandCoefficients& coefficients) {
    const model::ProblemData& problem = ctx.problem;
    const bool cyclic = problem.Options.CyclicLoading;
    const py_report::Units units = py_report::MakeUnits(ctx.labels);
    const double pu = std::min(v.pus, v.pud);
    PyCurveReport report(29, PointFields::kFixed);
    auto line = [&](std::string label, std::string value) { report.Labelled(std::move(label), std::move(value)); };

    report.Line(cyclic ? "p-y Curve Computed Using API Sand Criteria for Cyclic Loading"
                       : "p-y Curve Computed Using API Sand Criteria for Static Loading");
    AddSandDepthLines(report, problem, layer, node.z0, v.z);
    line("Diameter", fmt::F(v.b, 12, 3));
    line("Friction Angle phi", fmt::F(Degrees(v.phi), 12, 3) + " deg.");
    line("Avg. Eff. Unit Wt.", fmt::F(v.gamma, 12, 5));
    line("k", fmt::F(v.k_modulus, 12, 3) + " " + units.unit_weight);
    line("C1", fmt::F(coefficients.C1, 12, 5));
    line("C2", fmt::F(coefficients.C2, 12, 5));
    line("C3", fmt::F(coefficients.C3, 12, 5));
    line("A", fmt::F(v.A, 12, 5));
    line("Pus", fmt::F(v.pus, 12, 3));
    line("Pud", fmt::F(v.pud, 12, 3));
    line("Pu", fmt::F(pu, 12, 3));
    line("p-multiplier", fmt::F(v.pm, 12, 5));
    line("y-multiplier", fmt::F(v.ym, 12, 5));
    report.Blank();
    AddDepthNote(report, ctx.soil.BelowRockCount > 0);
    report.Line("        y, " + units.length + "             p," + units.force_per_length);
    report.Line("----------------    -----------------");
    for (int j = 1; j <= kReportPoints; ++j) {
        double y = 0.0;
        if (j <= 13) {
            y = (j - 1) * v.b / 720.0;
        } else {
            y = kYuOverWidth * v.b + (j - 14) * v.b;
        }
        const double y_out = v.ym * y;
        const double p_out = v.pm * ApiSandP(v.A, pu, v.kz, v.z, y);
        report.Point(y_out, p_out);
    }
    if (v.k_defaulted) report.Line("The above p-y curve was computed using the internal default value of k.");
    return report;
}

}  // namespace

// ------------------------------------------------------------- the pieces

SandAngles MakeSandAngles(double phi, double K0) {
    SandAngles a;
    a.phi = phi;
    a.alpha = phi / 2.0;
    a.beta = kPi / 4.0 + phi / 2.0;
    a.K0 = K0;
    const double ta = std::tan(kPi / 4.0 - phi / 2.0);
    a.Ka = ta * ta;
    const double tb = std::tan(a.beta);
    a.Kp = tb * tb;
    return a;
}

double ActiveCoefficientOnSlope(double theta, double phi) {
    const double ct = std::cos(theta);
    const double cp = std::cos(phi);
    const double root = std::sqrt(ct * ct - cp * cp);
    return ct * (ct - root) / (ct + root);
}

double WedgeDirectionFactor(double y, double slope, double t, bool zero_moves_up) {
    if (zero_moves_up && y == 0.0 && slope > kDirectionDeflection) return 1.0 + t;
    const bool y_up = y > kDirectionDeflection;
    const bool y_down = y < kDirectionDeflection;
    const bool s_up = slope > kDirectionDeflection;
    const bool s_down = slope < kDirectionDeflection;
    if ((y_up && s_up) || (y_down && s_down)) return 1.0 + t;
    if ((y_up && s_down) || (y_down && s_up)) return 1.0 - t;
    return 1.0;
}

double SandShallowWedge(const SandAngles& a, double Ka, double gamma, double z, double b, double S, double t) {
    const double tphi = std::tan(a.phi);
    const double talpha = std::tan(a.alpha);
    const double tbeta = std::tan(a.beta);
    const double sbeta = std::sin(a.beta);
    const double calpha = std::cos(a.alpha);
    const double tbp = std::tan(a.beta - a.phi);
    const double D = t / S;
    const double G = 4.0 * D * D * D - 3.0 * D * D + 1.0;
    return gamma * z *
           (a.K0 * z * tphi * sbeta * G / (tbp * calpha) + tbeta / tbp * (b + z * tbeta * talpha / S) / S +
            a.K0 * z * tbeta * (tphi * sbeta - talpha) * G - Ka * b);
}

double SandDeepFlow(const SandAngles& a, double gamma, double depth, double b) {
    const double tbeta = std::tan(a.beta);
    const double t4 = std::pow(tbeta, 4);
    return b * gamma * depth * (a.Ka * (t4 * t4 - 1.0) + a.K0 * std::tan(a.phi) * t4);
}

double ReeseSandA(double z_over_b, bool cyclic) { return Table(cyclic ? kCyclicA : kStaticA, z_over_b); }
double ReeseSandB(double z_over_b, bool cyclic) { return Table(cyclic ? kCyclicB : kStaticB, z_over_b); }

double ReeseSandCurve::Branch(double y) const {
    if (y <= yk && y < yms) return kz * y;
    if (y <= yms) return n == 0.0 ? 0.0 : C * std::pow(y, 1.0 / n);
    if (y <= yu) return pms + m * (y - yms);
    return pu;
}

bool ReeseSandCurve::OnInitialLine(double y) const {
    if (y <= yk && y < yms) return true;
    return kz * y < Branch(y);
}

ReeseSandCurve MakeReeseSandCurve(double ps, double b, double kz, double z, bool cyclic) {
    ReeseSandCurve c;
    c.kz = kz;
    c.A = ReeseSandA(z / b, cyclic);
    c.B = ReeseSandB(z / b, cyclic);
    c.pu = c.A * ps;
    c.pms = c.B * ps;
    c.yms = kYmOverWidth * b;
    c.yu = kYuOverWidth * b;
    c.m = (c.pu - c.pms) / (c.yu - c.yms);
    if (c.m != 0.0) {
        c.n = c.pms / (c.m * c.yms);
        c.C = c.pms / std::pow(c.yms, 1.0 / c.n);
        c.yk = std::pow(c.C / kz, c.n / (c.n - 1.0));
        c.pk = c.C * std::pow(c.yk, 1.0 / c.n);
    }
    if (c.yk < c.yms && c.yms < c.yu) {
        c.curve_case = 1;
    } else if (c.yms < c.yk && c.yk < c.yu) {
        c.curve_case = 2;
    } else if (c.yk > c.yu && c.yu > c.yms) {
        c.curve_case = 3;
    }
    return c;
}

std::array<SandReportPoint, 17> ReeseSandReportPoints(const ReeseSandCurve& c, double b) {
    std::array<double, 17> y{};
    switch (c.curve_case) {
        case 1:
            y[1] = c.yk;
            for (int j = 3; j <= 12; ++j) y[static_cast<std::size_t>(j - 1)] = c.yk + (j - 2) * (c.yms - c.yk) / 11.0;
            y[12] = c.yms;
            y[13] = kReportMidOverWidth * b;
            y[14] = c.yu;
            y[15] = c.yu + 0.5 * b;
            y[16] = c.yu + b;
            break;
        case 2: {
            const double yi = (c.pu - c.m * c.yu) / (c.kz - c.m);
            y[1] = yi;
            for (int j = 3; j <= 14; ++j) y[static_cast<std::size_t>(j - 1)] = yi + (j - 2) * (c.yu - yi) / 11.0;
            y[14] = c.yu;
            y[15] = c.yu + 0.5 * b;
            y[16] = c.yu + b;
            break;
        }
        case 3: {
            const double yl = c.pu / c.kz;
            for (int j = 2; j <= 15; ++j) y[static_cast<std::size_t>(j - 1)] = (j - 1) * yl / 14.0;
            y[15] = yl + 0.5 * b;
            y[16] = yl + b;
            break;
        }
        default:
            // Landmarks not in order (yk equal to ym or yu): the curve is
            // shown evenly up to yu and on the plateau beyond.
            for (int j = 2; j <= 15; ++j) y[static_cast<std::size_t>(j - 1)] = (j - 1) * c.yu / 14.0;
            y[15] = c.yu + 0.5 * b;
            y[16] = c.yu + b;
            break;
    }
    std::array<SandReportPoint, 17> points{};
    for (std::size_t i = 0; i < points.size(); ++i) {
        points[i].y = y[i];
        points[i].p = c.P(y[i]);
        points[i].marked = i >= 1 && c.OnInitialLine(y[i]);
    }
    // Where the initial line still governs half a width beyond yu, the
    // plateau starts where the line reaches pu: the last two points show it.
    if (points[15].marked) {
        const double yl = c.pu / c.kz;
        points[15] = {yl, c.pu, true};
        points[16] = {yl + b, c.pu, false};
    }
    return points;
}

double ApiSandA(double z, double b, bool cyclic) {
    if (cyclic) return kApiCyclicA;
    return std::max(kApiCyclicA, kApiStaticASurface - kApiStaticASlope * z / b);
}

double ApiSandP(double A, double pu, double kz, double z, double y) {
    // A sand without resistance carries nothing (the tanh form is 0/0 there).
    if (z < kApiMinDepth || !(A * pu > 0.0)) return 0.0;
    return A * pu * std::tanh(kz * y / (A * pu));
}

SandCoefficients MakeSandCoefficients(const SandAngles& a, double Ka) {
    const double tphi = std::tan(a.phi);
    const double talpha = std::tan(a.alpha);
    const double tbeta = std::tan(a.beta);
    const double sbeta = std::sin(a.beta);
    const double calpha = std::cos(a.alpha);
    SandCoefficients k;
    k.C1 = tbeta * (talpha * a.Kp + a.K0 * (tphi * sbeta * (1.0 / calpha + 1.0) - talpha));
    k.C2 = a.Kp - Ka;
    k.C3 = a.Kp * a.Kp * (a.Kp + tphi * a.K0) - Ka;
    return k;
}

double SandEquivalentDepth(double A, double b, double gamma, double z0, const SandCoefficients& k, bool cyclic) {
    const double Zc = (k.C3 - k.C2) * b / k.C1;
    const double dz = Zc / kEquivalentDepthSteps;
    double F = 0.0;
    double S = 0.0;
    for (int i = 1; i <= kEquivalentDepthSteps; ++i) {
        const double zi = i * dz;
        const double r = zi / b;
        const double Si = ReeseSandA(r, cyclic) * gamma * b * b * (k.C1 * r * r + k.C2 * r);
        const double Fi = F + (S + Si) * dz / 2.0;
        if (Fi > A) return zi - dz * (Fi - A) / (Fi - F);
        F = Fi;
        S = Si;
    }
    return Zc + (A - F) / (kDeepA * k.C3 * gamma * b * z0);
}

double SandDefaultK(double phi_degrees, double gamma, model::UnitSystem units) {
    const bool deep = phi_degrees > kDefaultKPhiLimit;
    switch (units) {
        case model::UnitSystem::USCS:
            return deep ? kUscsKMax : std::pow(phi_degrees, kUscsKExponent) * kUscsKFactor;
        case model::UnitSystem::SI:
            if (gamma <= kSiSubmergedUnitWeight) {
                return deep ? kSiLowKMax : std::pow(phi_degrees, kUscsKExponent) * kSiLowKFactor;
            }
            return deep ? kSiHighKMax : std::pow(phi_degrees, kSiHighKExponent) * kSiHighKFactor;
        default:
            return 0.0;
    }
}

// ------------------------------------------------------------- criteria

namespace {

// What the curves of a sand layer share: the loading and the effective
// slope of the ground.
struct SandLayerValues {
    bool cyclic = false;
    double slope = 0.0;    // effective slope, signed
    double theta = 0.0;    // its magnitude
    bool sloping = false;  // Coulomb's active coefficient applies
};

SandLayerValues SandLayerOf(const model::ProblemData& problem) {
    SandLayerValues l;
    l.cyclic = problem.Options.CyclicLoading;
    l.slope = problem.SlopeMinusBatter;
    l.theta = std::fabs(l.slope);
    l.sloping = l.theta > kSlopeForKa;
    return l;
}

// The look-ups of a sand node that its depths fix, into the node record of
// either sand criterion: width, unit weight, friction angle, multipliers and
// the subgrade modulus. A criterion that keeps its node records itself
// (`kept_by_node`) has no use for the depth memos of width and unit weight.
template <class NodeValues>
void LookUpSandNode(run::RunContext& ctx, int layer, const PyNode& node, bool kept_by_node, NodeValues& v) {
    const model::SoilLayer& soil_layer = ctx.problem.Layers[static_cast<std::size_t>(layer - 1)];
    v.b = kept_by_node ? ComputePileWidth(ctx, node.x) : PileWidthAt(ctx, node.x);
    v.gamma = kept_by_node ? ComputeAverageUnitWeight(ctx, node.xv) : AverageUnitWeight(ctx, node.xv);
    v.phi_degrees = FrictionAngleAt(ctx, node.xv);
    v.phi = v.phi_degrees * kPi / 180.0;
    v.pm = PMultiplierAt(ctx, node.x);
    v.ym = YMultiplierAt(ctx, node.x);
    v.k_modulus = SandK(ctx, soil_layer, node.xv, v.phi_degrees, v.gamma, v.k_defaulted);
}

// The look-ups and the wedge of a Reese sand node, with the stops and the
// warning on its friction angle.
ReeseNodeCurve ReeseWedgeAt(run::RunContext& ctx, int layer, const SandLayerValues& l, const PyNode& node) {
    ReeseNodeCurve c;
    LookUpSandNode(ctx, layer, node, /*kept_by_node=*/false, c);

    if (c.phi < kZeroAngle) StopOnReeseSandZeroFrictionAngle(ctx);
    if (c.phi_degrees < kLowFrictionAngle || c.phi_degrees > kHighFrictionAngle) {
        WriteFrictionAngleWarning(ctx);
        ctx.warnings.RecordWarning(-302);
    }

    c.a = MakeSandAngles(c.phi, kReeseK0);
    const double ct = std::cos(l.theta);
    const double cp = std::cos(c.phi);
    // A slope at least as steep as the friction angle cannot stand; in
    // lower layers Coulomb's coefficient then is not a number and the
    // modulus check of the springs ends the run.
    if (ct * ct - cp * cp < kZeroAngle && layer == 1) StopOnReeseSandSlopeTooSteep(ctx, layer);
    c.Ka = l.sloping ? ActiveCoefficientOnSlope(l.theta, c.phi) : c.a.Ka;
    return c;
}

// The resistances and the curve of a Reese sand node at its curve depth. On
// sloping ground the wedge follows the sign of `y_direction`, the deflection
// of the pile at the node.
void FormReeseCurve(const run::RunContext& ctx, int layer, const SandLayerValues& l, const PyNode& node,
                    double y_direction, ReeseNodeCurve& c) {
    c.z = CurveDepth(ctx, layer, node.xv, node.z0);
    const double kz = c.k_modulus * c.z;

    c.pst = SandShallowWedge(c.a, c.Ka, c.gamma, c.z, c.b, 1.0, 0.0);
    double S = 1.0;
    if (l.theta > kSlopeForWedge) {
        const double t = std::tan(l.theta) * std::tan(c.a.beta);
        S = WedgeDirectionFactor(y_direction, l.slope, t, false);
        if (S > kUsableDirection) c.pst = SandShallowWedge(c.a, c.Ka, c.gamma, c.z, c.b, S, t);
    }
    // Flow around the pile at the true depth.
    c.psd = SandDeepFlow(c.a, c.gamma, node.z0, c.b);
    if (S <= kCollapsedWedge && std::tan(c.a.beta - c.a.phi) > kCollapsedWedge) c.pst = c.psd;
    c.ps = std::min(c.pst, c.psd);
    c.curve = MakeReeseSandCurve(c.ps, c.b, kz, c.z, l.cyclic);
}

// Secant modulus of a Reese sand node at its deflection (k z at zero
// deflection). One that is not a number ends the run.
double ReeseSecantModulus(run::RunContext& ctx, const PyNode& node, const ReeseNodeCurve& c) {
    const double ystar = DeflectionOnCurve(node, c.ym);
    double Es = 0.0;
    if (ystar < kSmallDeflection) {
        Es = c.curve.kz;
        if (std::isnan(Es)) {
            StopOnModulusNotANumber(ctx, "The computed value of soil modulus is not-a-number for node ", node.k,
                                    kInitialModulusNotANumber);
        }
    } else {
        Es = c.pm * c.curve.P(ystar) / (c.ym * std::fabs(ystar));
        if (std::isnan(Es)) {
            ctx.files.report.Line("The value of soil modulus computed in Reese Sand is not-a-number for node " +
                                  fmt::I0(node.k));
            StopOnNonFiniteSoilModulus(ctx, node.k, Es);
        }
    }
    return Es;
}

// The wedge of an API sand node.
struct ApiSandWedge {
    SandAngles a;
    SandCoefficients coefficients;
    double Ka = 0.0;  // the active coefficient of the wedge: Coulomb's behind a slope, else a.Ka
};

// The wedge's angles and coefficients as a node keeps them.
void KeepWedge(const ApiSandWedge& w, model::ApiSandNodeValues& v) {
    const SandAngles& a = w.a;
    const SandCoefficients& k = w.coefficients;
    v.alpha = a.alpha, v.beta = a.beta, v.K0 = a.K0, v.Ka = a.Ka, v.Kp = a.Kp;
    v.Ka_used = w.Ka;
    v.C1 = k.C1, v.C2 = k.C2, v.C3 = k.C3;
}

ApiSandWedge KeptWedge(const model::ApiSandNodeValues& v) {
    ApiSandWedge w;
    w.a.phi = v.phi, w.a.alpha = v.alpha, w.a.beta = v.beta, w.a.K0 = v.K0, w.a.Ka = v.Ka, w.a.Kp = v.Kp;
    w.coefficients.C1 = v.C1, w.coefficients.C2 = v.C2, w.coefficients.C3 = v.C3;
    w.Ka = v.Ka_used;
    return w;
}

// The friction angle's range warning and, below the layer's first node, the
// stop on a zero angle: made at every evaluation of a node, whether its
// values are formed afresh or kept from an earlier one.
void CheckApiSandFriction(run::RunContext& ctx, int layer, const model::ApiSandNodeValues& v, bool below_first) {
    if (v.phi_degrees < kLowFrictionAngle || v.phi_degrees > kHighFrictionAngle) ctx.warnings.RecordWarning(-303);
    if (below_first && v.phi < kZeroAngle) StopOnApiSandZeroFrictionAngle(ctx, layer);
}

// The values of an API sand node that its depths alone fix, formed in `v`:
// the look-ups, the friction checks (a zero angle is accepted where
// `below_first` is false, at the first node of the layer) and the wedge.
ApiSandWedge ApiSandWedgeAt(run::RunContext& ctx, int layer, const SandLayerValues& l, const PyNode& node,
                            bool below_first, model::ApiSandNodeValues& v, const ApiSandWedge* previous = nullptr) {
    LookUpSandNode(ctx, layer, node, /*kept_by_node=*/true, v);
    const double phi = v.phi;
    CheckApiSandFriction(ctx, layer, v, below_first);
    // The wedge hangs on the friction angle alone (with the layer's slope):
    // a node of the same angle as the node of the layer formed before it
    // takes that node's wedge, which also passed the slope's check.
    if (previous != nullptr && previous->a.phi == phi) {
        KeepWedge(*previous, v);
        return *previous;
    }

    ApiSandWedge w;
    w.a = MakeSandAngles(phi, kApiK0);
    if (l.sloping) {
        const double ct = std::cos(l.theta);
        const double cp = std::cos(phi);
        if (ct * ct - cp * cp < kZeroAngle && layer == 1) StopOnApiSandSlopeTooSteep(ctx, layer);
        w.Ka = ActiveCoefficientOnSlope(l.theta, phi);
        const double tp = std::tan(kPi / 4.0 + w.a.alpha);
        w.a.Kp = tp * tp;
        w.coefficients = MakeSandCoefficients(w.a, w.Ka);
    } else {
        w.coefficients = MakeSandCoefficients(w.a, w.a.Ka);
        w.Ka = w.a.Ka;
    }
    KeepWedge(w, v);
    return w;
}

// The API sand curve of a node at curve depth z, in `v`: k z, the shallow
// and deep resistances and the factor A. On sloping ground the wedge follows
// the sign of the node's deflection.
void FormApiSandCurve(const SandLayerValues& l, const PyNode& node, const ApiSandWedge& w, double z,
                      model::ApiSandNodeValues& v) {
    const double b = v.b;
    const double gamma = v.gamma;
    v.z = z;
    v.kz = v.k_modulus * z;
    if (!l.sloping) {
        v.pus = (w.coefficients.C1 * z + w.coefficients.C2 * b) * gamma * z;
        v.pud = w.coefficients.C3 * b * gamma * node.z0;
    } else {
        const double t = std::tan(l.theta) * std::tan(w.a.beta);
        const double S = WedgeDirectionFactor(node.y, l.slope, t, true);
        v.pus = SandShallowWedge(w.a, w.Ka, gamma, z, b, 1.0, 0.0);
        if (S > kUsableDirection) v.pus = SandShallowWedge(w.a, w.Ka, gamma, z, b, S, t);
        v.pud = SandDeepFlow(w.a, gamma, z, b);
        if (S <= kCollapsedWedge) v.pus = v.pud;
    }
    v.A = ApiSandA(z, b, l.cyclic);
}

}  // namespace

void SandSprings(run::RunContext& ctx, int layer, int first, int last) {
    const model::ProblemData& problem = ctx.problem;
    const model::SoilLayer& soil_layer = problem.Layers[static_cast<std::size_t>(layer - 1)];
    model::SoilState& soil = ctx.soil;
    const SandLayerValues l = SandLayerOf(problem);
    LayerResistanceSum resistance(ctx, layer);

    for (int k = first; k <= last; ++k) {
        const PyNode node = PyNodeAt(ctx, k);
        ReeseNodeCurve c = ReeseWedgeAt(ctx, layer, l, node);
        // The layer's equivalent depth, formed at its first node, places the
        // curve depth of every node of the layer.
        if (k == first && layer > 1 && soil.BelowRockCount == 0) {
            SandAngles used = c.a;
            used.Ka = c.Ka;
            StoreEquivalentDepth(ctx, layer, c.b, c.gamma, node.z0, MakeSandCoefficients(used, c.Ka), l.cyclic);
        }
        FormReeseCurve(ctx, layer, l, node, node.y, c);

        resistance.Add(node, c.curve.pu, k == first, k == last);
        if (problem.GroundSurfaceDepth < kGroundAboveHead && layer == 1) {
            soil.LayerResistance[1] = c.curve.pu * 0.5 * (soil_layer.XLayerBottom - soil_layer.XLayerTop);
        }
        StoreSoilModulus(ctx, node, ReeseSecantModulus(ctx, node, c));
    }
}

void SandCurves(run::RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink) {
    const SandLayerValues l = SandLayerOf(ctx.problem);
    for (const PyNode& depth : depths) {
        ReeseNodeCurve c = ReeseWedgeAt(ctx, layer, l, depth);
        // An output depth has no deflection of its own: the direction of the
        // wedge follows the pile's deflection interpolated at the depth.
        FormReeseCurve(ctx, layer, l, depth, DeflectionAtDepth(ctx.pile, depth.xv), c);
        sink(depth, DescribeReeseCurve(ctx, layer, depth, c));
    }
}

void ApiSandSprings(run::RunContext& ctx, int layer, int first, int last) {
    const model::ProblemData& problem = ctx.problem;
    const model::SoilLayer& soil_layer = problem.Layers[static_cast<std::size_t>(layer - 1)];
    model::SoilState& soil = ctx.soil;
    const SandLayerValues l = SandLayerOf(problem);
    LayerResistanceSum resistance(ctx, layer);
    // The wedge formed last in this layer, for the next node formed.
    ApiSandWedge last_wedge;
    bool formed_before = false;

    for (int k = first; k <= last; ++k) {
        const PyNode node = PyNodeAt(ctx, k);
        // Everything up to the curve depth depends on the node's depths
        // alone: it is formed at the first evaluation of the node and kept
        // for the iterations (and load cases) after it.
        model::ApiSandNodeValues* kept = soil.ApiSandNodes.Find(k, layer, node.x, node.xv);
        model::ApiSandNodeValues& v = kept != nullptr ? *kept : soil.ApiSandNodes.Begin(k);
        // The wedge is kept in `v` as it is formed, and is taken out of it
        // only where the layer's equivalent depth or a new curve asks for it.
        if (kept == nullptr) {
            last_wedge = ApiSandWedgeAt(ctx, layer, l, node, k > first, v, formed_before ? &last_wedge : nullptr);
            formed_before = true;
        } else {
            CheckApiSandFriction(ctx, layer, v, k > first);
        }
        if (k == first && layer > 1 && soil.BelowRockCount == 0) {
            StoreEquivalentDepth(ctx, layer, v.b, v.gamma, node.z0, KeptWedge(v).coefficients, l.cyclic);
        }
        const double z = CurveDepth(ctx, layer, node.xv, node.z0);

        // On level ground the curve depends on z and the depth-only values.
        const bool curve_kept = !l.sloping && v.curve_known && v.z == z;
        if (!curve_kept) {
            FormApiSandCurve(l, node, KeptWedge(v), z, v);
            // The layer's resistance is the curve's value at yu = 3b/80.
            v.p_at_yu = ApiSandP(v.A, std::min(v.pus, v.pud), v.kz, z, kYuOverWidth * v.b);
        }
        const double kz = v.kz;
        const double pu = std::min(v.pus, v.pud);
        const double A = v.A;
        const double pm = v.pm;
        const double ym = v.ym;
        const double p_at_yu = v.p_at_yu;
        v.curve_known = !l.sloping;
        if (kept == nullptr) soil.ApiSandNodes.Keep(k, layer, node.x, node.xv);

        resistance.Add(node, p_at_yu, k == first, k == last);
        if (problem.GroundSurfaceDepth < kGroundAboveHead && layer == 1) {
            soil.LayerResistance[1] = p_at_yu * 0.5 * (soil_layer.XLayerBottom - soil_layer.XLayerTop);
        }
        const double ystar = DeflectionOnCurve(node, ym);
        const double Es = ystar < kSmallDeflection ? kz : pm * ApiSandP(A, pu, kz, z, ystar) / (ystar * ym);
        StoreSoilModulus(ctx, node, Es);
    }
}

void ApiSandCurves(run::RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink) {
    const SandLayerValues l = SandLayerOf(ctx.problem);
    const int first = depths.front().k;
    for (const PyNode& depth : depths) {
        // The curves of the report are formed afresh and kept nowhere.
        model::ApiSandNodeValues v;
        const ApiSandWedge w = ApiSandWedgeAt(ctx, layer, l, depth, depth.k > first, v);
        FormApiSandCurve(l, depth, w, CurveDepth(ctx, layer, depth.xv, depth.z0), v);
        sink(depth, DescribeApiCurve(ctx, layer, depth, v, w.coefficients));
    }
}

}  // namespace trevasc::soil
