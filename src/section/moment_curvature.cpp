#include "section/moment_curvature.hpp"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

#include "model/units.hpp"
#include "report/fortran_format.hpp"
#include "report/report_helpers.hpp"
#include "run/error_stop.hpp"
#include "section/materials.hpp"
#include "section/section_init.hpp"
#include "section/section_plot.hpp"
#include "section/section_report.hpp"

namespace trevasc::section {

namespace fmt = report::fmt;
using report::AdaptiveNumber;
using report::OutputChannel;
using run::WriteToBoth;
using run::Stop_With_Error;

namespace {

// Newton step of the finite-difference derivative and convergence
// tolerance on the neutral-axis depth (single-precision constants), in
// inches for USCS and the same lengths in metres otherwise.
constexpr double kStepUscs = static_cast<double>(1.0e-7f);
constexpr double kToleranceUscs = static_cast<double>(1.0e-6f);
constexpr double kStepMetric = static_cast<double>(2.54e-9f);
constexpr double kToleranceMetric = static_cast<double>(2.54e-8f);
constexpr double kFlatDerivativeStep = 1.0e-8;
constexpr int kMaxNeutralAxisIterations = 1000;
// Bracketing search of the neutral axis, when Newton's method fails: the
// depth is scanned in steps that change every fibre strain by 5E-5 (a fortieth
// of the concrete's peak strain, so that a thrust within a fraction of a
// percent of the capacity still shows its sign change), over the depths at
// which the strains lie within 0.02 of the section's own range.
constexpr double kScanStrainStep = 5.0e-5;
constexpr double kScanStrainLimit = 0.02;
constexpr int kGoldenSectionSteps = 60;

// Curvature step: 1.25E-6 rad/in per 24 in of width (USCS), the same per
// metre for SI with the inch as the single-precision 0.0254.
constexpr double kBaseCurvatureStepUscs = 1.25e-6;
constexpr double kBaseCurvatureStepSi = 4.921259901994065e-5;
constexpr double kMetresPerInchSingle = 0.02539999969303608;
constexpr double kReferenceWidthInches = 24.0;
// Steel pipe: first step 1/80 of the yield curvature with a 1.7 fy strain.
constexpr double kPipeYieldFactor = 1.7;
constexpr double kPipeStepDivisor = 80.0;
constexpr double kPipeStrainLimitFactor = 5.0;

constexpr double kCrushingStrain = 0.0038;          // end of a concrete curve
constexpr double kCapacityStrain = 0.003;           // ACI 318 ultimate strain
constexpr double kTensileZoneFraction = 0.1;        // Z stop of prestressed piles
constexpr int kWarningTooManyPoints = -305;

constexpr int kFieldWidth = 14;  // adaptive fields of the curve tables

struct TableHeader {
    std::string_view titles1;
    std::string_view titles2;
    std::string_view units_uscs;
    std::string_view units_si;
};

constexpr TableHeader kPlainHeader{
    "    Bending       Bending       Bending       Depth to      Max Comp      Max Tens    Max Concrete   Max Steel    Run",
    "   Curvature      Moment       Stiffness       N Axis        Strain        Strain        Stress        Stress     Msg",
    "    rad/in.       in-kip        kip-in2          in          in/in         in/in          ksi           ksi           ",
    "     rad/m         kN-m          kN-m2           m            m/m           m/m           kPa           kPa          "};
constexpr TableHeader kCasingHeader{
    "    Bending       Bending       Bending       Depth to      Max Comp      Max Tens    Max Concrete   Max Steel     Max Casing   Run",
    "   Curvature      Moment       Stiffness       N Axis        Strain        Strain        Stress        Stress        Stress     Msg",
    "    rad/in.       in-kip        kip-in2          in          in/in         in/in          ksi           ksi           ksi          ",
    "     rad/m         kN-m          kN-m2           m            m/m           m/m           kPa           kPa           kPa          "};
constexpr TableHeader kCoreHeader{
    "    Bending       Bending       Bending       Depth to      Max Comp      Max Tens    Max Concrete   Max Steel     Max Casing    Max Core     Run",
    "   Curvature      Moment       Stiffness       N Axis        Strain        Strain        Stress        Stress        Stress        Stress     Msg",
    "    rad/in.       in-kip        kip-in2          in          in/in         in/in          ksi           ksi           ksi           ksi          ",
    "     rad/m         kN-m          kN-m2           m            m/m           m/m           kPa           kPa           kPa           kPa          "};
constexpr TableHeader kPipeHeader{
    "    Bending       Bending       Bending       Depth to     Max Total    Run",
    "   Curvature      Moment       Stiffness       N Axis        Stress     Msg",
    "    rad/in.       in-kip        kip-in2          in           ksi          ",
    "     rad/m         kN-m          kN-m2           m            kPa          "};

enum class ColumnSet { Plain, Casing, CasingAndCore, Pipe };

ColumnSet ColumnsOf(const SectionWorkspace& ws) {
    switch (ws.Shape) {
        case kShapeCasedCircle: return ColumnSet::Casing;
        case kShapeCasedCircleWithCore: return ColumnSet::CasingAndCore;
        case kShapeSteelRing: return ColumnSet::Pipe;
        default: return ColumnSet::Plain;
    }
}

double SignedLargest(double current, double candidate) {
    return std::fabs(candidate) > std::fabs(current) ? candidate : current;
}

double PipeRingArea(const SectionWorkspace& ws) {
    const double inner = ws.D - 2.0 * ws.CasingWall;
    return kPi / 4.0 * (ws.D * ws.D - inner * inner);
}

double TotalBarTableArea(const SectionWorkspace& ws) {
    double area = 0.0;
    for (const BarEntry& bar : ws.Bars) area += bar.area;
    return area;
}

void SetPointMaxima(const SectionWorkspace& ws, CurvePoint& point) {
    const SliceTable& s = ws.slices;
    bool any_concrete = false;
    double concrete = 0.0;
    double steel = 0.0;
    double casing = 0.0;
    double core = 0.0;
    if (ws.HasConcrete()) {
        for (int i = 0; i < kSliceCount; ++i) {
            if (s.NetConcrete[i] > 0.0 && (!any_concrete || s.ConcreteStress[i] > concrete)) {
                concrete = s.ConcreteStress[i];
                any_concrete = true;
            }
            if (s.InnerConcrete[i] > 0.0 && (!any_concrete || s.InnerConcreteStress[i] > concrete)) {
                concrete = s.InnerConcreteStress[i];
                any_concrete = true;
            }
        }
    }
    for (int i : ws.BarSlices) steel = SignedLargest(steel, s.BarStress[i]);
    if (ws.HasCasing()) {
        for (int i = 0; i < kSliceCount; ++i) {
            if (s.CasingArea[i] > 0.0) casing = SignedLargest(casing, s.CasingStress[i]);
        }
    }
    if (ws.HasCoreSteel()) {
        for (int i : ws.CoreSlices) core = SignedLargest(core, s.CoreStress[i]);
    }
    point.MaxConcreteStress = concrete;
    point.MaxSteelStress = steel;
    point.MaxCasingStress = casing;
    point.MaxCoreStress = core;
}

// Thrust levels of the section, with the checks, messages and plot Line 3
// of the analysis mode.
std::vector<double> PrepareThrustList(run::RunContext& ctx, const SectionWorkspace& ws) {
    const model::AnalysisOptions& options = ctx.problem.Options;
    OutputChannel& report = ctx.files.report;
    const SectionUnitTexts units = SectionUnits(ws.Units);
    const std::vector<double>& input = ctx.stiffness.InputThrusts;
    std::vector<double> thrusts;
    const bool first_section = ws.SectionNumber == 1;

    if (options.AnalysisMode == 2) {
        for (double P : input) {
            if (ws.Pmin < P && P < ws.Pmax) thrusts.push_back(P);
        }
        if (thrusts.size() != input.size()) {
            report.Blank();
            report.Line("The following computations were performed only for the axial thrust values in the valid range.");
        }
        report.Blank(2);
        report.Line("Input Axial Thrust Forces:");
        report.Line(std::string(26, '-'));
        report.Line("Number of Axial Thrust Force Values Determined from Input Data = " +
                    fmt::I0(static_cast<long long>(thrusts.size())));
        report.Blank();
        if (first_section) WritePlotLine3(ctx.files.plot, PlotCurveKind::kEiOnly, static_cast<int>(thrusts.size()));
        return thrusts;
    }

    const bool lrfd = options.UseLrfd;
    for (std::size_t t = 0; t < input.size(); ++t) {
        const double P = input[t];
        const std::string number = fmt::I0(static_cast<long long>(t + 1));
        const std::string thrust = fmt::F(P, 15, 3) + units.Force;
        if (P > ws.Pmax) {
            const std::string capacity = fmt::F(ws.Pmax, 15, 3) + units.Force;
            if (lrfd) {
                WriteToBoth(ctx, {"", "", "**** Runtime Error No. 26 ****", "",
                                  "PROBLEM:  The axial thrust load for LRFD load case no. " + number +
                                      " exceeds the axial structural capacity in compression.",
                                  "          Factored axial thrust load     = " + thrust,
                                  "          Nominal axial compressive capacity = " + capacity, "",
                                  "SOLUTION: Change the properties of the section to increase the axial structural capacity.",
                                  ""});
                Stop_With_Error(ctx, "RUN00026", 226);
            }
            WriteToBoth(ctx, {"", "", "**** Runtime Error No. 24 ****", "",
                              "PROBLEM:  The axial thrust load for load case no. " + number +
                                  " exceeds the axial structural capacity in compression.",
                              "          Axial thrust load                  = " + thrust,
                              "          Nominal axial compressive capacity = " + capacity, "",
                              "SOLUTION: Change the properties of the section to increase the axial structural capacity.",
                              ""});
            Stop_With_Error(ctx, "RUN00024", 224);
        }
        if (P < ws.Pmin) {
            const std::string capacity = fmt::F(ws.Pmin, 15, 3) + units.Force;
            if (lrfd) {
                WriteToBoth(ctx, {"", "", "**** Runtime Error No. 27 ****", "",
                                  "PROBLEM:  The axial thrust load for LRFD load case no. " + number +
                                      " exceeds the axial structural capacity in tension.",
                                  "          Factored axial thrust load     = " + thrust,
                                  "          Nominal axial tensile capacity = " + capacity, "",
                                  "SOLUTION: Change the properties of the section to increase the axial structural capacity.",
                                  ""});
                Stop_With_Error(ctx, "RUN00027", 227);
            }
            WriteToBoth(ctx, {"", "", "**** Runtime Error No. 25 ****", "",
                              "PROBLEM:  The axial thrust load for LRFD load case no. " + number +
                                  " exceeds the axial structural capacity in tension.",
                              "          Axial thrust load              = " + thrust,
                              "          Nominal axial tensile capacity = " + capacity, "",
                              "SOLUTION: Change the properties of the section to increase the axial structural capacity.",
                              ""});
            Stop_With_Error(ctx, "RUN00025", 225);
        }
        thrusts.push_back(P);
    }
    report.Blank(2);
    report.Line("Number of Axial Thrust Force Values Determined from Pile-head Loadings = " +
                fmt::I0(static_cast<long long>(thrusts.size())));
    report.Blank();
    if (first_section) {
        WritePlotLine3(ctx.files.plot, lrfd ? PlotCurveKind::kLrfd : PlotCurveKind::kPileHeadLoads,
                       static_cast<int>(thrusts.size()));
    }
    return thrusts;
}

void WriteThrustTable(OutputChannel& report, const std::vector<double>& thrusts, const SectionUnitTexts& units) {
    report.Line("   Number     Axial Thrust Force");
    report.Tab(21);
    report.Write(units.Force);
    report.EndLine();
    report.Line("   ------     ------------------");
    for (std::size_t t = 0; t < thrusts.size(); ++t) {
        report.Line(fmt::I(static_cast<long long>(t + 1), 7) + fmt::X(9) + fmt::F(thrusts[t], 12, 3));
    }
}

void WriteLegend(OutputChannel& report, bool steel_pipe) {
    if (steel_pipe) {
        report.Blank();
        report.Line("Definition of Run Messages:");
        report.Blank();
        report.Line("   Y = part of pipe section has yielded");
        return;
    }
    report.Blank(2);
    WriteUnderlinedHeading(report, "Definitions of Run Messages and Notes:");
    report.Line("   C = concrete in section has cracked in tension");
    report.Line("   Y = stress in reinforcing steel has reached yield stress");
    report.Line("   T = tensile strain in reinforcement exceeds 0.005 when compressive strain ");
    report.Line("       in concrete is less than 0.003.");
    report.Line("   Z = depth of tensile zone in concrete section is less than 10 percent of section depth");
    report.Line("   Bending Stiffness (EI) = Bending Moment / Curvature");
    report.Line("   Position of neutral axis is computed from compression side of pile");
    report.Line("   Compressive stresses are positive in sign. Tensile stresses are negative in sign.");
}

void WriteCurveHeader(OutputChannel& report, ColumnSet set, bool si) {
    const TableHeader* header = &kPlainHeader;
    int runs = 8;
    switch (set) {
        case ColumnSet::Plain: header = &kPlainHeader; runs = 8; break;
        case ColumnSet::Casing: header = &kCasingHeader; runs = 9; break;
        case ColumnSet::CasingAndCore: header = &kCoreHeader; runs = 10; break;
        case ColumnSet::Pipe: header = &kPipeHeader; runs = 5; break;
    }
    report.Line(header->titles1);
    report.Line(header->titles2);
    report.Line(si ? header->units_si : header->units_uscs);
    std::string dashes;
    for (int r = 0; r < runs; ++r) dashes += " " + std::string(13, '-');
    dashes += "  ---";
    // The plain USCS table keeps two trailing blanks after its dash line.
    if (set == ColumnSet::Plain && !si) dashes += "  ";
    report.Line(dashes);
}

void WriteCurveRows(OutputChannel& report, const MomentCurvatureCurve& curve, ColumnSet set) {
    for (const CurvePoint& p : curve.Points) {
        std::string row = AdaptiveNumber(p.phi, kFieldWidth) + AdaptiveNumber(p.M, kFieldWidth) +
                          AdaptiveNumber(p.EI, kFieldWidth) + AdaptiveNumber(p.c, kFieldWidth);
        if (set == ColumnSet::Pipe) {
            row += AdaptiveNumber(p.MaxCasingStress, kFieldWidth);
        } else {
            row += AdaptiveNumber(p.eps_c, kFieldWidth) + AdaptiveNumber(p.eps_t, kFieldWidth) +
                   AdaptiveNumber(p.MaxConcreteStress, kFieldWidth) + AdaptiveNumber(p.MaxSteelStress, kFieldWidth);
            if (set == ColumnSet::Casing || set == ColumnSet::CasingAndCore) {
                row += AdaptiveNumber(p.MaxCasingStress, kFieldWidth);
            }
            if (set == ColumnSet::CasingAndCore) row += AdaptiveNumber(p.MaxCoreStress, kFieldWidth);
        }
        row += "  ";
        row += p.CrackedMessage;
        row += p.YieldMessage;
        report.Line(row);
    }
}

void WriteSummary(OutputChannel& report, const SectionWorkspace& ws, const std::vector<MomentCurvatureCurve>& curves,
                  const SectionUnitTexts& units) {
    report.Blank(2);
    report.Line(report::kRule80);
    report.Line("   Summary of Results for Nominal (Unfactored) Moment Capacity for Section " + fmt::I0(ws.SectionNumber));
    report.Line(report::kRule80);
    report.Blank();
    if (ws.IsSteelPipe()) {
        report.Line(" Load           Axial Thrust        Nominal Mom. Cap.");
        report.Line("  No.              " + fmt::A(units.Force, 7) + "              " + fmt::A(units.Moment, 7));
        report.Line(" ----         ----------------     ------------------");
        for (std::size_t t = 0; t < curves.size(); ++t) {
            report.Line(fmt::I(static_cast<long long>(t + 1), 4) + fmt::F(curves[t].Thrust, 22, 3) +
                        fmt::F(curves[t].NominalMomentCapacity, 22, 1));
        }
        report.Blank();
        report.Line("Note that the values in the above table are not factored by a strength");
        report.Line("reduction factor for LRFD.");
        report.Blank();
        report.Line("The value of the strength reduction factor depends on the provisions of the ");
        report.Line("LRFD code being followed.");
        report.Blank();
        report.Line("The above values should be multiplied by the appropriate strength reduction ");
        report.Line("factor to compute ultimate moment capacity according to the LRFD structural ");
        report.Line("design standard being followed.");
        report.Blank(2);
        return;
    }
    report.Line("Moment values interpolated at maximum compressive strain = 0.003");
    report.Line("or maximum developed moment if pile fails at smaller strains.");
    report.Blank();
    report.Line(" Load           Axial Thrust        Nominal Mom. Cap.      Max. Comp.");
    report.Line("  No.              " + fmt::A(units.Force, 7) + "              " + fmt::A(units.Moment, 7) +
                "              Strain");
    report.Line(" ----         ----------------     ------------------     ------------");
    for (std::size_t t = 0; t < curves.size(); ++t) {
        report.Line(fmt::I(static_cast<long long>(t + 1), 4) + fmt::F(curves[t].Thrust, 22, 3) +
                    fmt::F(curves[t].NominalMomentCapacity, 22, 3) + fmt::F(kCapacityStrain, 21, 8));
    }
    report.Blank();
    report.Line("Note note that the values of moment capacity in the table above are not ");
    report.Line("factored by a strength reduction factor (phi-factor).");
    report.Blank();
    report.Line("In ACI 318-08, the value of the strength reduction factor depends on whether ");
    report.Line("the transverse reinforcing steel bars are spirals or tied hoops.");
    report.Blank();
    report.Line("The above values should be multiplied by the appropriate strength reduction ");
    report.Line("factor to compute ultimate moment capacity according to ACI 318-08, Section ");
    report.Line("9.3.2.2 or the value required by the design standard being followed.");
    report.Blank(2);
}

// Root of N(c) - P by bracketing, for when Newton's method does not
// converge (near the axial capacity, Newton's step overshoots past the
// concrete's peak into the falling branch and never comes back). The
// residual is negative for a section wholly in tension; the scan climbs from
// there to the first depth with a non-negative residual, so the root found
// lies on the rising branch, and bisection narrows it to the tolerance. A
// thrust so close to the capacity that the scan steps over the whole positive
// part is caught by maximising the residual around its largest sample.
// Returns false when N(c) - P has no root.
bool BracketNeutralAxis(SectionWorkspace& ws, double phi, double P, double tau, double& root) {
    if (!(phi > 0.0)) return false;
    auto F = [&](double c) { return Compute_Axial_Thrust_Force(ws, c, phi) - P; };
    const double step = kScanStrainStep / phi;
    const double c_min = -kScanStrainLimit / phi;
    const double c_max = ws.D + kScanStrainLimit / phi;
    double below = c_min;
    double f_below = F(below);
    if (f_below >= 0.0) {
        if (f_below != 0.0) return false;  // more tension than the section holds
        root = below;
        return true;
    }
    double above = below;
    bool bracketed = false;
    double best = below;
    double f_best = f_below;
    while (above < c_max) {
        const double c = std::min(above + step, c_max);
        const double f = F(c);
        if (f >= 0.0) {
            below = above;
            above = c;
            bracketed = true;
            break;
        }
        if (f > f_best) {
            best = c;
            f_best = f;
        }
        above = c;
    }
    if (!bracketed) {
        // Golden-section search for the largest residual next to the best sample.
        const double ratio = 0.5 * (std::sqrt(5.0) - 1.0);
        double a = std::max(best - step, c_min);
        double b = std::min(best + step, c_max);
        for (int i = 0; i < kGoldenSectionSteps && b - a > tau; ++i) {
            const double x1 = b - ratio * (b - a);
            const double x2 = a + ratio * (b - a);
            if (F(x1) < F(x2)) {
                a = x1;
            } else {
                b = x2;
            }
        }
        const double peak = 0.5 * (a + b);
        if (F(peak) < 0.0) return false;
        below = std::max(best - step, c_min);
        above = peak;
    }
    // F(below) < 0 <= F(above).
    while (above - below > tau) {
        const double mid = 0.5 * (below + above);
        if (F(mid) >= 0.0) {
            above = mid;
        } else {
            below = mid;
        }
    }
    root = 0.5 * (below + above);
    return true;
}

}  // namespace

double Compute_Axial_Thrust_Force(SectionWorkspace& ws, double c, double phi) {
    SliceTable& s = ws.slices;
    for (int i = 0; i < kSliceCount; ++i) s.Strain[i] = (c - s.Depth[i]) * phi;
    double N = 0.0;
    if (ws.HasConcrete()) {
        EvaluateOuterConcrete(ws, c, phi);
        for (int i = 0; i < kSliceCount; ++i) N += s.NetConcrete[i] * s.ConcreteStress[i];
    }
    if (ws.Shape == kShapeCasedCircleWithCore) {
        EvaluateInnerConcrete(ws, c, phi);
        if (ws.CoreFilled) {
            for (int i = 0; i < kSliceCount; ++i) N += s.InnerConcrete[i] * s.InnerConcreteStress[i];
        }
    }
    if (!ws.BarSlices.empty()) {
        EvaluateBarsOrStrands(ws);
        for (int i : ws.BarSlices) N += s.BarArea[i] * s.BarStress[i];
    }
    if (ws.HasCasing()) {
        EvaluateCasing(ws);
        for (int i = 0; i < kSliceCount; ++i) N += s.CasingArea[i] * s.CasingStress[i];
    }
    if (ws.HasCoreSteel()) {
        EvaluateCore(ws);
        for (int i : ws.CoreSlices) N += s.CoreSteel[i] * s.CoreStress[i];
    }
    return N;
}

double SectionMoment(const SectionWorkspace& ws) {
    const SliceTable& s = ws.slices;
    const double half = ws.D / 2.0;
    double M = 0.0;
    for (int i = 0; i < kSliceCount; ++i) {
        double force = 0.0;
        if (ws.HasConcrete()) force += s.NetConcrete[i] * s.ConcreteStress[i];
        if (ws.CoreFilled) force += s.InnerConcrete[i] * s.InnerConcreteStress[i];
        if (ws.HasCasing()) force += s.CasingArea[i] * s.CasingStress[i];
        M += force * (half - s.Depth[i]);
    }
    for (int i : ws.BarSlices) M += s.BarArea[i] * s.BarStress[i] * (half - s.Depth[i]);
    if (ws.HasCoreSteel()) {
        for (int i : ws.CoreSlices) M += s.CoreSteel[i] * s.CoreStress[i] * (half - s.Depth[i]);
    }
    return M;
}

double Find_Neutral_Axis(run::RunContext& ctx, SectionWorkspace& ws, double phi, double P, double start,
                         bool* no_root) {
    const bool uscs = ws.Units == model::UnitSystem::USCS;
    const double h = uscs ? kStepUscs : kStepMetric;
    const double tau = uscs ? kToleranceUscs : kToleranceMetric;
    // A first evaluation at mid-depth: its result is not used, but like every
    // trial evaluation it can set the section's yielded flag.
    Compute_Axial_Thrust_Force(ws, 0.5 * ws.D, phi);
    const bool yielded_before = ws.Yielded;
    double y = start;
    if (std::fabs(y) > ws.D) y = 0.5 * ws.D;
    double best_y = y;
    double best_F = 0.0;
    for (int k = 1;; ++k) {
        const double F0 = Compute_Axial_Thrust_Force(ws, y, phi) - P;
        const double Fm = Compute_Axial_Thrust_Force(ws, y - h, phi) - P;
        const double Fp = Compute_Axial_Thrust_Force(ws, y + h, phi) - P;
        const double derivative = (Fp - Fm) / (2.0 * h);
        if (k == 1 || std::fabs(F0) < std::fabs(best_F)) {
            best_y = y;
            best_F = F0;
        }
        const double delta = derivative != 0.0 ? -F0 / derivative : kFlatDerivativeStep;
        y += delta;
        if (k == kMaxNeutralAxisIterations) {
            double root = 0.0;
            if (BracketNeutralAxis(ws, phi, P, tau, root)) {
                // The trial depths of the search must not mark the section
                // as yielded; the stresses left are those at the root.
                ws.Yielded = yielded_before;
                Compute_Axial_Thrust_Force(ws, root, phi);
                return root;
            }
            if (no_root != nullptr) {
                *no_root = true;
                return start;
            }
            WriteToBoth(ctx, {"**** Runtime Error No. 16 ****", "",
                              "Location of neutral axis was not found within 1,000 iterations."});
            Stop_With_Error(ctx, "RUN00016", 216);
        }
        if (std::fabs(delta) <= tau) {
            if (std::fabs(F0) > std::fabs(best_F)) {
                y = best_y;
                continue;
            }
            return y;
        }
    }
}

double InitialCurvatureStep(const SectionWorkspace& ws, double first_thrust) {
    if (ws.IsSteelPipe()) {
        const double fy = ws.m.SteelFy;
        const double Es = ws.m.SteelEs;
        const double A = PipeRingArea(ws);
        return (kPipeYieldFactor * fy / Es - first_thrust / (A * Es)) / (ws.D / 2.0) / kPipeStepDivisor;
    }
    const double W = ws.Width > 0.0 && ws.SectionType != model::kRectangularConcrete ? ws.Width : ws.D;
    if (ws.Units == model::UnitSystem::SI) {
        const double divisor = std::max(1.0, std::round(W / kMetresPerInchSingle / kReferenceWidthInches));
        return kBaseCurvatureStepSi / divisor;
    }
    const double divisor = std::max(1.0, std::round(W / kReferenceWidthInches));
    return kBaseCurvatureStepUscs / divisor;
}

double CurvatureOfPoint(int p, double d0) {
    double phi = 0.0;
    for (int q = 1; q <= p; ++q) {
        double step = d0;
        if (q >= 120) {
            step = 48.0 * d0;
        } else if (q >= 80) {
            step = 8.0 * d0;
        } else if (q >= 40) {
            step = 2.0 * d0;
        }
        phi = q == 1 ? d0 : phi + step;
    }
    return phi;
}

void StartThrust(SectionWorkspace& ws, double P) {
    ws.Yielded = false;
    if (!ws.IsSteelPipe() && P < 0.0 && P < ws.Pcr) {
        ws.Precracked = true;
        ws.Cracked = true;
        const double stiffness = TotalBarTableArea(ws) * ws.m.Es;
        if (stiffness != 0.0) ws.prestress.eps_ps = P / stiffness;
    } else {
        ws.Precracked = false;
        ws.Cracked = false;
    }
}

MomentCurvatureCurve ComputeMomentCurvature(run::RunContext& ctx, SectionWorkspace& ws, double P, double d0) {
    MomentCurvatureCurve curve;
    curve.Thrust = P;
    curve.Points.reserve(kMaxCurvePoints);
    const bool pipe = ws.IsSteelPipe();
    const double pipe_strain_limit =
        pipe ? kPipeStrainLimitFactor * ws.m.SteelFy / ws.m.SteelEs - P / (PipeRingArea(ws) * ws.m.SteelEs) : 0.0;
    const double eps_pc = pipe ? 0.0 : ws.prestress.eps_pc;
    double phi = 0.0;
    double c = 0.5 * ws.D;
    for (int p = 1; p <= kMaxCurvePoints; ++p) {
        phi = CurvatureOfPoint(p, d0);
        // Past the first point, a curvature at which no depth of the neutral
        // axis balances the thrust (near the axial capacity, where the
        // crushing top fibres shed load) ends the curve at the last point
        // the section could hold, as the crushing strain does.
        bool no_root = false;
        c = Find_Neutral_Axis(ctx, ws, phi, P, c, p >= 2 ? &no_root : nullptr);
        if (no_root) break;
        CurvePoint point;
        point.phi = phi;
        point.c = c;
        const double M = SectionMoment(ws);
        point.M = (p >= 2 && !pipe) ? std::max(curve.Points.back().M, M) : M;
        point.EI = point.M / phi;
        point.eps_c = phi * c + eps_pc;
        point.eps_t = phi * (c - ws.D);
        SetPointMaxima(ws, point);
        point.CrackedMessage = ws.Cracked ? 'C' : ' ';
        point.YieldMessage = ws.Yielded ? 'Y' : ' ';
        bool stop = false;
        if (pipe) {
            stop = std::max(std::fabs(point.eps_c), std::fabs(point.eps_t)) >= pipe_strain_limit;
        } else {
            if (point.eps_c >= kCrushingStrain) stop = true;
            if (ws.IsPrestressed() && c < kTensileZoneFraction * ws.D) {
                stop = true;
                point.YieldMessage = 'Z';
            }
        }
        if (point.M <= 0.0) stop = true;
        curve.Points.push_back(point);
        if (stop) break;
    }
    curve.NominalMomentCapacity = NominalMomentCapacity(curve.Points, pipe);
    return curve;
}

double NominalMomentCapacity(const std::vector<CurvePoint>& points, bool steel_pipe) {
    if (points.empty()) return 0.0;
    if (steel_pipe) return points.back().M;
    for (std::size_t p = 1; p < points.size(); ++p) {
        const CurvePoint& upper = points[p];
        if (upper.eps_c < kCapacityStrain) continue;
        if (!(upper.M > 0.0)) break;
        const CurvePoint& lower = points[p - 1];
        if (upper.eps_c == lower.eps_c) return upper.M;
        return lower.M + (upper.M - lower.M) * (kCapacityStrain - lower.eps_c) / (upper.eps_c - lower.eps_c);
    }
    return points.back().M;
}

void RunMomentCurvature(run::RunContext& ctx, SectionWorkspace& ws, const model::PileSection& section) {
    OutputChannel& report = ctx.files.report;
    const SectionUnitTexts units = SectionUnits(ws.Units);
    const bool pipe = ws.IsSteelPipe();
    const bool uscs = ws.Units == model::UnitSystem::USCS;
    const bool si = ws.Units == model::UnitSystem::SI;

    Initialize_EI_Vars(ctx, ws, section);
    if (!pipe) WriteConcreteProperties(ctx, ws);

    const std::vector<double> thrusts = PrepareThrustList(ctx, ws);
    WriteThrustTable(report, thrusts, units);
    WriteLegend(report, pipe);

    const double d0 = InitialCurvatureStep(ws, thrusts.empty() ? 0.0 : thrusts.front());
    const ColumnSet columns = ColumnsOf(ws);
    std::vector<MomentCurvatureCurve> curves;
    curves.reserve(thrusts.size());
    for (std::size_t t = 0; t < thrusts.size(); ++t) {
        const double P = thrusts[t];
        // A new thrust value restores the prestrain that a precracked tensile
        // thrust replaced.
        if (t > 0 && P != thrusts[t - 1] && ws.IsPrestressed()) Calculate_Strains_Due_To_Prestressing(ctx, ws, section);
        StartThrust(ws, P);
        report.Blank(2);
        report.Line("Axial Thrust Force = " + fmt::F(P, 10, 3) + fmt::A(units.Force, 7));
        report.Blank();
        WriteCurveHeader(report, columns, si);
        curves.push_back(ComputeMomentCurvature(ctx, ws, P, d0));
        const MomentCurvatureCurve& curve = curves.back();
        WriteCurveRows(report, curve, columns);
        const int n = static_cast<int>(curve.Points.size());
        if (!pipe && n >= kMaxCurvePoints) {
            report.Blank();
            report.Line("Warning: " + fmt::I0(n) + " values were calculated for moment-curvature.");
            report.Line("This usually indicates that the pile is too weak or is under-reinforced, where all reinforcing "
                        "steel has yielded.");
            report.Blank();
            report.Line("The input data should be examined and the amount of steel reinforcement should be increased if "
                        "necessary.");
            report.Blank();
            ctx.warnings.RecordWarning(kWarningTooManyPoints);
        }
    }

    // Hand-over to the pile model and plot Lines 4 and 5.
    model::SectionStiffness& table = ctx.stiffness.Sections[static_cast<std::size_t>(ws.SectionNumber - 1)];
    table.Source = model::StiffnessSource::MomentCurvature;
    table.SectionType = ws.SectionType;
    table.Levels.assign(curves.size(), model::ThrustLevelCurve{});
    std::vector<double>& thrust_list = ctx.problem.AxialThrustList;
    const double capacity_scale = uscs ? kPoundsPerKip : 1.0;
    for (std::size_t t = 0; t < curves.size(); ++t) {
        const MomentCurvatureCurve& curve = curves[t];
        model::ThrustLevelCurve& level = table.Levels[t];
        level.AxialThrust = curve.Thrust;
        level.NominalMomentCapacity = curve.NominalMomentCapacity * capacity_scale;
        if (t < thrust_list.size()) thrust_list[t] = curve.Thrust;
        WritePlotLine4(ctx.files.plot, PlotCurveKind::kPileHeadLoads, static_cast<int>(curve.Points.size()), curve.Thrust,
                       level.NominalMomentCapacity);
        level.Points.reserve(curve.Points.size());
        for (std::size_t p = 0; p < curve.Points.size(); ++p) {
            const CurvePoint& point = curve.Points[p];
            level.Points.push_back(model::StiffnessPoint{point.M, point.EI, point.phi});
            WritePlotLine5(ctx.files.plot, PlotCurveKind::kPileHeadLoads, point.M, point.EI, point.phi, ws.SectionNumber,
                           static_cast<int>(t + 1), static_cast<int>(p + 1));
        }
    }
    WriteSummary(report, ws, curves, units);
}

}  // namespace trevasc::section
