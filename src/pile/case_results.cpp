#include "pile/case_results.hpp"

#include <cmath>
#include <string>

#include "pile/load_cases.hpp"
#include "pile/solver.hpp"
#include "report/fortran_format.hpp"
#include "report/report_helpers.hpp"
#include "report/plot_file.hpp"
#include "run/error_stop.hpp"

namespace trevasc::pile {

namespace fmt = report::fmt;

namespace {

// Values smaller than this print as zero in the deflection, moment, shear
// and soil reaction columns.
constexpr double kPrintedZero = 1.0e-20;
// Largest moment imbalance of a good solution: 1 in-lb, and the same moment
// in kN-m for SI (1 in-lb = 1.1298E-4 kN-m).
constexpr double kMomentImbalanceLimitUscs = 1.0;
constexpr double kMomentImbalanceLimitSi = 0.00011298;

double Printed(double value) { return std::fabs(value) < kPrintedZero ? 0.0 : value; }

// Runtime Error 40: a solution with a value that is not a finite number.
constexpr std::int32_t kNonFiniteSolutionError = 240;

// The last guard before a solution is reported: it forms every node's
// response, and every one must be a finite number. Input that no pile
// problem can have may still overflow in the solution; such a case stops
// here, naming the case, the node and the quantity, instead of printing
// "NaN" in a report that ends normally.
void CheckSolutionIsFinite(run::RunContext& ctx, int c) {
    model::PileModel& pile = ctx.pile;
    for (int k = 1; k <= pile.N; ++k) {
        Compute_Node_Response(ctx, k);
        const struct {
            const char* name;
            double value;
        } quantities[] = {{"deflection", pile.y(k)}, {"slope", pile.S(k)},          {"bending moment", pile.M(k)},
                          {"shear", pile.V(k)},      {"soil reaction", pile.p(k)}, {"bending stiffness", pile.EI(k)},
                          {"soil modulus", pile.Es(k)}};
        for (const auto& quantity : quantities) {
            if (std::isfinite(quantity.value)) continue;
            std::string unit = ctx.labels.Length;
            while (!unit.empty() && unit.back() == ' ') unit.pop_back();
            std::string depth = fmt::E(pile.x(k), 12, 4);
            depth.erase(0, depth.find_first_not_of(' '));
            const std::string what = pile.StiffnessMode ? "pile-head stiffness trial " : "load case ";
            run::WriteToBoth(ctx, {"", "**** Runtime Error No. 40 ****", "",
                                   "The " + std::string(quantity.name) + " of " + what + fmt::I0(c) + " at node " +
                                       fmt::I0(k) + " (depth " + depth + " " + unit + ") is not a finite number.",
                                   "The input holds a value that no pile problem can have, or the pile cannot "
                                   "carry the",
                                   "load.  Check the input data.", ""});
            run::Stop_With_Error(ctx, kNonFiniteSolutionError);
        }
    }
}

// "label" T56 "= " value unit.
void HeadLine(report::OutputChannel& report, std::string_view label, const std::string& value, std::string_view unit) {
    report.Write(label);
    report.Tab(56);
    report.Write("= " + value);
    report.Line(unit);
}

// An LRFD combination shows the factored shear, moment and thrust it is
// analysed with, as a case of loading type 1.
void WriteHeadConditions(run::RunContext& ctx, int c) {
    const model::ProblemData& problem = ctx.problem;
    if (c < 1 || c > NumberOfLoadCases(ctx)) return;
    const model::UnitSystem units = problem.Options.Units;
    if (units != model::UnitSystem::USCS && units != model::UnitSystem::SI) return;
    const bool uscs = units == model::UnitSystem::USCS;
    const model::PileHeadLoad load = CaseLoad(ctx, c);
    report::OutputChannel& report = ctx.files.report;
    const std::string force = uscs ? " lbs" : " kN";
    const std::string moment = uscs ? " in-lbs" : " kN-m";
    switch (load.LoadingType) {
        case model::kShearAndMoment:
            report.Line("Pile-head conditions are Shear and Moment (Loading Type 1)");
            report.Blank();
            HeadLine(report, "Horizontal shear force at pile head", fmt::F(load.Condition1, 15, 3), force);
            HeadLine(report, "Applied moment at pile head        ", fmt::F(load.Condition2, 15, 3), moment);
            HeadLine(report, "Axial thrust load on pile head     ", fmt::F(load.AxialThrust, 15, 3), force);
            report.Blank();
            break;
        case model::kShearAndSlope:
            report.Line("Pile-head conditions are Shear and Pile-head Rotation (Loading Type 2)");
            report.Blank();
            HeadLine(report, "Shear force at pile head", fmt::F(load.Condition1, 15, 3), force);
            HeadLine(report, "Rotation of pile head   ", fmt::E(load.Condition2, 15, 3), " radians");
            HeadLine(report, "Axial load at pile head ", fmt::F(load.AxialThrust, 15, 3), force);
            report.Blank();
            if (std::fabs(load.Condition2) < 1.0e-10) {
                report.Line("(Zero slope for this load indicates fixed-head conditions)");
            } else {
                report.Line("(Non-zero slope for this load does indicates rotated pile-head condition)");
            }
            report.Blank();
            break;
        case model::kShearAndRotationalStiffness:
            report.Line("Pile-head conditions are Shear and Rotational Stiffness (Loading Type 3)");
            HeadLine(report, "Shear force at pile head", fmt::F(load.Condition1, 15, 3), uscs ? " lb" : " kN");
            HeadLine(report, "Rotational stiffness    ", fmt::F(load.Condition2, 15, 3),
                     uscs ? " in-lb/rad" : " kN-m/rad");
            HeadLine(report, "Axial load at pile head ", fmt::F(load.AxialThrust, 15, 3), force);
            report.Blank();
            break;
        case model::kDeflectionAndMoment:
            report.Line("Pile-head conditions are Displacement and Moment (Loading Type 4)");
            HeadLine(report, "Displacement of pile head", fmt::F(load.Condition1, 15, 6), uscs ? " inches" : " meters");
            HeadLine(report, "Moment at pile head      ", fmt::F(load.Condition2, 15, 3), moment);
            HeadLine(report, "Axial load at pile head  ", fmt::F(load.AxialThrust, 15, 3), force);
            report.Blank();
            break;
        case model::kDeflectionAndSlope:
            report.Line("Pile-head conditions are Displacement and Pile-head Rotation (Loading Type 5)");
            HeadLine(report, "Displacement of pile head", fmt::F(load.Condition1, 15, 6), uscs ? " inches" : " meters");
            HeadLine(report, "Rotation of pile head    ", fmt::E(load.Condition2, 15, 3), " radians");
            HeadLine(report, "Axial load on pile head  ", fmt::F(load.AxialThrust, 15, 3), force);
            report.Blank();
            break;
        default:
            break;
    }
}

void WriteColumnHeading(report::OutputChannel& report, bool uscs) {
    report.Line("   Depth    Deflect.    Bending    Shear       Slope      Total    Bending   Soil Res.  Soil Spr.   Distrib. ");
    report.Line("     X         y        Moment     Force         S       Stress   Stiffness      p         Es*h    Lat. Load ");
    if (uscs) {
        report.Line("   inches    inches     in-lbs      lbs       radians     psi*      lb-in^2    lb/in      lb/inch    lb/inch ");
    } else {
        report.Line("   meters    meters      kN-m       kN        radians     kPa*      kN-m^2     kN/m        kN/m      kN/m    ");
    }
    report.Line("---------- ---------- ---------- ---------- ---------- ---------- ---------- ---------- ---------- ----------");
}

void WriteImbalanceWarning(run::RunContext& ctx, const EquilibriumCheck& check, bool uscs) {
    const std::string code_report = uscs ? "POSSIBLE SOLUTION ERROR 5501" : "Possible Solution Error 5501";
    const std::string code_messages = uscs ? "POSSIBLE SOLUTION ERROR 550" : "Possible Solution Error 550";
    const model::UnitLabels& u = ctx.labels;
    const std::string moment_unit = report::TrimRight(u.Length) + "-" + report::TrimRight(u.Force3);
    const std::string force_unit = report::TrimRight(u.Force4);
    for (report::OutputChannel* channel : {&ctx.files.report, &ctx.files.messages}) {
        report::OutputChannel& out = *channel;
        const bool to_report = channel == &ctx.files.report;
        out.Blank(2);
        out.Line("**** Warning - " + (to_report ? code_report : code_messages) + " ****");
        out.Blank();
        out.Line("Force and moment imbalances may be too large for a good solution.");
        out.Blank();
        out.Line("The cause of the imbalance may be due to extreme changes in magnitude");
        out.Line("of nonlinear bending stiffness within three nodal points of the top of the pile");
        out.Line("which may affect the finite difference computation of shear force.");
        out.Blank();
        out.Line("Please examine curves and printed output for deflection, moment, shear force,");
        out.Line("and number of iterations to determine if computed values are reasonable.");
        out.Line("If the shear force shows large changes, increase the number of nodal points");
        out.Line("(pile increments) and repeat the analysis.");
        out.Blank();
        if (to_report) {
            out.Line("Maximum internal moment imbalance for pile        = " +
                     report::AdaptiveNumber(check.MomentImbalance, 12) + " " + moment_unit);
            out.Line("Maximum internal lateral force imbalance for pile = " +
                     report::AdaptiveNumber(check.ForceImbalance, 12) + " " + force_unit);
        } else {
            out.Line("Maximum internal moment imbalance for pile solution         = " +
                     fmt::E(check.MomentImbalance, 12, 5) + " " + moment_unit + " at node " + fmt::I0(check.MomentStep));
            out.Line("Maximum internal lateral force imbalance for pile  solution = " +
                     fmt::E(check.ForceImbalance, 12, 5) + " " + force_unit + " at node " + fmt::I0(check.ForceStep));
        }
    }
}

void WriteSummaryLine(report::OutputChannel& report, std::string_view label, double value, std::string_view unit) {
    report.Write(label);
    report::WriteAdaptiveNumber(report, value, 14);
    report.Line(unit);
}

void WriteSummaryCount(report::OutputChannel& report, std::string_view label, int value) {
    report.Write(label);
    report::WriteIntegerField(report, value, 14);
    report.EndLine();
}

}  // namespace

EquilibriumCheck Verify_Segment_Equilibrium(const run::RunContext& ctx) {
    const model::PileModel& pile = ctx.pile;
    const int N = pile.N;
    const double h = pile.h;
    const double P = pile.P;
    auto& y = pile.y;
    // Node quantities of the check.
    auto M = [&](int i) {
        if (i == 1) return pile.HeadMoment;
        if (i >= N) return 0.0;
        return pile.M(i);
    };
    auto S = [&](int i) { return i < N ? (y(i + 1) - y(i - 1)) / (2.0 * h) : (y(N) - y(N - 1)) / h; };
    auto V = [&](int i) {
        if (i == 1) return HeadShearBending(pile) / (2.0 * h * h * h) + P * S(1);
        if (i >= N) return pile.Vt;
        return (M(i + 1) - M(i - 1)) / (2.0 * h) + P * S(i);
    };
    // Net lateral load: the load term (distributed load, plus Es ysoil with
    // soil movement) less the soil spring.
    auto w = [&](int i) { return pile.R(i) - pile.Es(i) * y(i); };

    EquilibriumCheck check;
    for (int k = 3; k <= N + 1; ++k) {
        const int j = k - 1;
        const double rf = V(j - 1) - V(j) + h * (w(j - 1) + w(j)) / 2.0;
        const double rm = M(j - 1) - M(j) + h * V(j - 1) + h * h * w(j - 1) / 2.0 + P * (y(j - 1) - y(j));
        if (std::fabs(rm) > std::fabs(check.MomentImbalance)) {
            check.MomentImbalance = rm;
            check.MomentStep = k;
        }
        if (std::fabs(rf) > std::fabs(check.ForceImbalance)) {
            check.ForceImbalance = rf;
            check.ForceStep = k;
        }
    }
    return check;
}

void Write_Case_Results(run::RunContext& ctx, int c) { Write_Case_Results(ctx, c, ctx.cases(c)); }

void Write_Case_Results(run::RunContext& ctx, int c, model::CaseResults& results) {
    model::PileModel& pile = ctx.pile;
    const model::ProblemData& problem = ctx.problem;
    const model::AnalysisOptions& options = problem.Options;
    report::OutputChannel& report = ctx.files.report;
    report::OutputChannel& plot = ctx.files.plot;
    const bool full = !options.PrintSummaryOnly && !pile.StiffnessMode;
    const bool uscs = options.Units == model::UnitSystem::USCS;
    const bool si = options.Units == model::UnitSystem::SI;
    const int N = pile.N;

    // The check forms every node's response, and with them the running
    // maxima of the case; the table and the plot records below read them.
    ResetRunningMaxima(pile);
    CheckSolutionIsFinite(ctx, c);
    if (full) {
        report.Blank(2);
        report.Line(report::kRule80);
        report.Line(std::string(17, ' ') + "Computed Values of Pile Loading and Deflection");
        if (options.UseLrfd) {
            report.Line(std::string(17, ' ') + "for Lateral Loading for LRFD Load Case Number " + fmt::I0(c));
        } else {
            report.Line(std::string(19, ' ') + "for Lateral Loading for Load Case Number " + fmt::I0(c));
        }
        report.Line(report::kRule80);
        report.Blank();
        if (options.UseLrfd && c >= 1 && c <= static_cast<int>(problem.LrfdCombinations.size())) {
            report.Blank();
            report.Line("Load Case No. " + fmt::I0(c) + ":  " +
                        fmt::A(problem.LrfdCombinations[static_cast<std::size_t>(c - 1)].Name, 256));
            report.Blank(2);
        }
    }
    if (c == 1 && !pile.StiffnessMode) {
        report::WritePlotRecord(plot, plot::kLine9, {NumberOfLoadCases(ctx), N, static_cast<int>(options.Units)});
    }
    if (full) WriteHeadConditions(ctx, c);

    const bool table = !options.PrintSummaryOnly && options.AnalysisMode >= 3;
    if (table && (uscs || si)) WriteColumnHeading(report, uscs);

    int next_printed = 1;
    const int increment = options.PrintIncrement >= 1 ? options.PrintIncrement : 1;
    for (int k = 1; k <= N; ++k) {
        const double y = Printed(pile.y(k));
        const double M = Printed(pile.M(k));
        const double V = Printed(pile.V(k));
        const double p = Printed(pile.p(k));
        if (k == 1) {
            results.HeadShear = pile.V(1);
            results.HeadSlope = pile.ComputedHeadSlope;
            results.HeadMoment = pile.M(1);
            results.HeadDeflection = pile.y(1);
        }
        if (!pile.StiffnessMode) {
            report::WritePlotRecord(plot, plot::kLine10, {pile.x(k), y, M, V, p, pile.EI(k), k});
        }
        if (k == next_printed) {
            if (table) {
                const double spring = (k == 1 || k == N) ? pile.Es(k) * pile.h / 2.0 : pile.Es(k) * pile.h;
                report::WriteAdaptiveNumber(report, pile.x(k), 10);
                for (double value : {y, M, V, pile.S(k), CombinedStress(ctx, k), pile.EI(k), p, spring, pile.Q(k)}) {
                    report::WriteAdaptiveNumber(report, value, 11);
                }
                report::EndReportLine(report);
            }
            next_printed += increment;
        }
    }

    if (!options.PrintSummaryOnly && options.AnalysisMode == 3) {
        report.Blank();
        report.Line("* This analysis makes computations of pile response using nonlinear moment-curvature relationships. ");
        report.Line("  The above values of total stress are computed for combined axial stress and do not equal the ");
        report.Line("  actual stresses in concrete and steel in the range of nonlinear bending. ");
        report.Blank();
    }

    if (uscs || si) {
        const EquilibriumCheck check = Verify_Segment_Equilibrium(ctx);
        const double limit = uscs ? kMomentImbalanceLimitUscs : kMomentImbalanceLimitSi;
        if (std::fabs(check.MomentImbalance) > limit) {
            WriteImbalanceWarning(ctx, check, uscs);
        } else if (!options.PrintSummaryOnly && !options.ComputeKmatrix) {
            report.Blank();
            report.Line("Output Verification: Computed forces and moments are within specified convergence limits.");
            report.Blank();
        }
    }

    results.HeadDeflection = pile.y(1);
    results.HeadSlope = pile.ComputedHeadSlope;
    results.MaxMoment = pile.MaxMoment;
    results.MaxMomentDepth = pile.MaxMomentDepth;
    results.MaxShear = pile.MaxShear;
    results.MaxShearDepth = pile.MaxShearDepth;
    results.Iterations = pile.Iteration;
    results.SectionMaxMoment = pile.SectionMaxMoment;
    results.SectionMaxMomentNode = pile.SectionMaxMomentNode;
    results.SectionMaxShear = pile.SectionMaxShear;

    // A zero-deflection point is a sign change between neighbouring printed
    // deflections: values below the smallest printable magnitude print as 0
    // and, like an exact 0, break a change, so that the count agrees with the
    // deflections the report shows (numerical noise far down a pile does not
    // add points).
    int zero_points = 0;
    for (int k = 1; k <= N; ++k) {
        const double a = Printed(pile.y(k));
        const double b = Printed(pile.y(k + 1));
        if ((a > 0.0 && b < 0.0) || (a < 0.0 && b > 0.0)) ++zero_points;
    }

    if (!options.PrintSummaryOnly) {
        report.Blank();
        report.Line("Output Summary for Load Case No. " + fmt::I0(c) + ":");
        report.Blank();
        if (uscs || si) {
            const std::string depth_unit = uscs ? " inches below pile head" : " meters below pile head";
            WriteSummaryLine(report, "Pile-head deflection             = ", results.HeadDeflection,
                             uscs ? " inches" : " meters");
            WriteSummaryLine(report, "Computed slope at pile head      = ", results.HeadSlope, " radians");
            WriteSummaryLine(report, "Maximum bending moment           = ", results.MaxMoment,
                             uscs ? " inch-lbs" : " kN-m");
            WriteSummaryLine(report, "Maximum shear force              = ", results.MaxShear, uscs ? " lbs" : " kN");
            WriteSummaryLine(report, "Depth of maximum bending moment  = ", results.MaxMomentDepth, depth_unit);
            WriteSummaryLine(report, "Depth of maximum shear force     = ", results.MaxShearDepth, depth_unit);
            WriteSummaryCount(report, "Number of iterations             = ", pile.Iteration);
            WriteSummaryCount(report, "Number of zero deflection points = ", zero_points);
            report.Blank();
        }
    }
}

}  // namespace trevasc::pile
