// The load-case loop: for every case the pile is set up, then solved
// repeatedly; after each linear solution the p-y criterion of every soil layer
// turns the new deflections into new secant soil moduli and, with nonlinear
// bending stiffness, every node's EI follows its moment-curvature table. The
// iteration ends when no deflection changes by more than the convergence
// tolerance (and at least six solutions have been made), and the case's
// results are written.
#include <cmath>
#include <limits>

#include "pile/case_results.hpp"
#include "pile/load_cases.hpp"
#include "pile/node_setup.hpp"
#include "pile/solver.hpp"
#include "report/fortran_format.hpp"
#include "report/report_helpers.hpp"
#include "report/plot_file.hpp"
#include "run/error_stop.hpp"
#include "soil/criteria.hpp"
#include "soil/py_framework.hpp"
#include "soil/py_output.hpp"

namespace trevasc::pile {

namespace fmt = report::fmt;
using run::WriteToBoth;
using run::Stop_With_Error;

namespace {

// A case counts as converged only after this many solutions.
constexpr int kMinimumIterations = 6;
// The excess-deflection test starts at this iteration.
constexpr int kFirstExcessDeflectionIteration = 11;
// Iterations echoed to the report: the last five before the limit.
constexpr int kEchoedIterations = 5;
// Axial thrusts index the moment-curvature tables in kips for US customary runs.
// Runtime Error 97: the pile cannot be discretised for the load cases.
constexpr std::int32_t kUnusablePileModel = 297;
// Runtime Error 31: the axial thrust buckles the pile.
constexpr std::int32_t kThrustBeyondBuckling = 231;

// The load cases need a pile of positive length, a node count the arrays
// hold and loading types the solver knows.
void CheckPileModel(run::RunContext& ctx) {
    const model::ProblemData& problem = ctx.problem;
    const int increments = problem.Options.NumberOfIncrements;
    std::string problem_text;
    // Modes 1 and 4 describe the pile by its property table alone (constant
    // EI); every other mode needs sections.
    const bool table_only = (problem.Options.AnalysisMode == 1 || problem.Options.AnalysisMode == 4) &&
                            problem.SectionPropertyTable.size() >= 2;
    if ((problem.Sections.empty() && !table_only) || !(problem.PileTotalLength > 0.0)) {
        problem_text = "The pile has no sections or no length.";
    } else if (increments < 1 || increments > model::kMaxNodes - 1) {
        problem_text = "The number of pile increments, " + fmt::I0(increments) + ", is outside the range 1 to " +
                       fmt::I0(model::kMaxNodes - 1) + ".";
    } else if (NumberOfLoadCases(ctx) > model::kMaxLoadCases) {
        problem_text = "There are " + fmt::I0(NumberOfLoadCases(ctx)) + " load cases; at most " +
                       fmt::I0(model::kMaxLoadCases) + " can be analysed.";
    } else if (problem.i_Number_of_Layers() > model::kMaxSoilLayers) {
        problem_text = "There are " + fmt::I0(problem.i_Number_of_Layers()) + " soil layers; at most " +
                       fmt::I0(model::kMaxSoilLayers) + " can be analysed.";
    } else {
        for (std::size_t c = 0; c < problem.PileHeadLoads.size(); ++c) {
            const int type = problem.PileHeadLoads[c].LoadingType;
            if (type < model::kShearAndMoment || type > model::kDeflectionAndSlope) {
                problem_text = "Load case " + fmt::I0(static_cast<std::int64_t>(c + 1)) + " has loading type " +
                               fmt::I0(type) + "; the loading types are 1 to 5.";
                break;
            }
        }
    }
    if (problem_text.empty()) return;
    WriteToBoth(ctx, {"", "**** Runtime Error No. 97 ****", "", "The pile cannot be analysed for lateral loading.",
                      problem_text, "Please correct the input data and repeat the analysis.", ""});
    Stop_With_Error(ctx, kUnusablePileModel);
}

void SetHeadConditions(run::RunContext& ctx, const model::PileHeadLoad& load) {
    model::PileModel& pile = ctx.pile;
    pile.LoadingType = load.LoadingType;
    pile.HeadShear = pile.HeadMoment = pile.HeadSlope = pile.HeadRotationalStiffness = pile.HeadDeflection = 0.0;
    switch (load.LoadingType) {
        case model::kShearAndMoment:
            pile.HeadShear = load.Condition1;
            pile.HeadMoment = load.Condition2;
            break;
        case model::kShearAndSlope:
            pile.HeadShear = load.Condition1;
            pile.HeadSlope = load.Condition2;
            break;
        case model::kShearAndRotationalStiffness:
            pile.HeadShear = load.Condition1;
            pile.HeadRotationalStiffness = load.Condition2;
            break;
        case model::kDeflectionAndMoment:
            pile.HeadDeflection = load.Condition1;
            pile.HeadMoment = load.Condition2;
            break;
        default:
            pile.HeadDeflection = load.Condition1;
            pile.HeadSlope = load.Condition2;
            break;
    }
    pile.P = load.AxialThrust;
}

// Bending stiffness follows the moment-curvature tables only where section
// analysis made them: modes 1 and 4 keep the constant EI of the property
// table. Mode 3 takes the bending stiffness from the moment-curvature curves of its
// sections, and so does mode 5, whose sections carry the user's nonlinear EI.
bool UsesNonlinearEI(const model::ProblemData& problem) {
    return problem.Options.AnalysisMode == 3 || problem.Options.AnalysisMode == 5;
}

void UpdateEIForThrust(run::RunContext& ctx) {
    const model::ProblemData& problem = ctx.problem;
    const double p_prime = problem.Options.Units == model::UnitSystem::USCS ? ctx.pile.P / kPoundsPerKip : ctx.pile.P;
    Update_Nonlinear_EI(ctx, AxialThrustIndex(problem, p_prime), p_prime);
}

// Vuggy limestone needs its curves at zero deflection before the first
// solution: every vuggy layer is evaluated once per node of the pile.
void VuggyLimestonePrePass(run::RunContext& ctx) {
    const model::ProblemData& problem = ctx.problem;
    model::PileModel& pile = ctx.pile;
    const int layers = problem.i_Number_of_Layers();
    bool any = false;
    for (int l = 1; l <= layers; ++l) {
        any = any || (soil::SoilModelName(problem.Layers[static_cast<std::size_t>(l - 1)].KSOIL) == "Vuggy LS" &&
                      pile.TopNode[static_cast<std::size_t>(l)] != 0);
    }
    if (!any) return;
    for (int pass = 1; pass <= pile.N; ++pass) {
        ctx.soil.BelowRockCount = 0;
        for (int l = 1; l <= layers; ++l) {
            const int code = problem.Layers[static_cast<std::size_t>(l - 1)].KSOIL;
            const auto top = pile.TopNode[static_cast<std::size_t>(l)];
            if (top == 0) continue;
            const soil::CriterionEntry* entry = soil::CriterionForCode(code);
            if (entry == nullptr) continue;
            if (entry->name == "Vuggy LS") {
                soil::StoreLayerSprings(ctx, l, top, pile.BottomNode[static_cast<std::size_t>(l)]);
            }
            soil::ApplyBelowRockBookkeeping(ctx.soil, l, *entry);
        }
    }
}

// Runtime Error 31: the converged solution belongs to a system that has lost
// its positive stiffness under the axial thrust. Such a "solution" is an
// equilibrium the pile cannot hold (it typically moves against the applied
// shear), so the case is not reported.
[[noreturn]] void StopOnBuckling(run::RunContext& ctx, int c) {
    const std::string which = (ctx.problem.Options.UseLrfd ? "LRFD load case " : "load case ") + fmt::I0(c);
    WriteToBoth(ctx, {"", "**** Runtime Error No. 31 ****", "",
                      "Problem:  The axial thrust of " + which + " exceeds what the pile can carry under lateral load.",
                      "          Axial thrust = " + fmt::E(ctx.pile.P, 12, 4) + " " +
                          report::TrimRight(ctx.labels.Force4),
                      "          The pile buckles: the equations of the pile have lost their positive stiffness.", "",
                      "Solution: Reduce the axial thrust, or increase the bending stiffness of the pile",
                      "          or the lateral support of the soil.", ""});
    Stop_With_Error(ctx, kThrustBeyondBuckling);
}

// Computation Error 28: the head deflection or the largest change of
// deflection is not a number; the two report lines are the whole message.
[[noreturn]] void StopOnNonFiniteDeflection(run::RunContext& ctx, int iteration) {
    ctx.files.report.Line("**** COMPUTATION ERROR 28 ****");
    ctx.files.report.Line("Either top deflection or DYMAX is not a number after iteration " + fmt::I0(iteration));
    run::StopOnQuietError(ctx, 228);
}

// Runtime Error 9: the head deflection exceeds the excess deflection limit.
[[noreturn]] void StopOnExcessDeflection(run::RunContext& ctx) {
    const model::PileModel& pile = ctx.pile;
    const std::string& length = ctx.labels.Length;
    const std::string computed = "The computed deflection of the pile head is " + fmt::E(pile.y(1), 12, 4) + " " + length;
    const std::string limit = "The specified excess deflection limit is    " +
                              fmt::E(ctx.problem.Options.MaxAllowableDeflection, 12, 4) + " " + length;
    report::OutputChannel& report = ctx.files.report;
    report.Blank(2);
    for (std::string_view line :
         {"**** Runtime Error No. 9 ****", "", "An error in the analysis was detected by the program.  ", "",
          "Problem:  The computed deflection is larger than the specified excess deflection limit.", ""}) {
        report.Line(line);
    }
    report.Line(computed);
    report.Blank();
    report.Line(limit);
    report.Blank();
    report.Line("This error may be due to overloading the pile or bad input data.");
    report.Blank(2);
    report.Line("Solution:");
    report.Blank();
    report.Line("Please check input values for pile loading and soil properties for accuracy and/or ");
    report.Line("increase the size of the pile if necessary.");

    report::OutputChannel& messages = ctx.files.messages;
    messages.Blank(2);
    for (std::string_view line :
         {"**** Runtime Error No. 9 ****", "", "An error in the analysis was detected by the program.  ", "",
          "Problem:  The computed deflection is larger than the specified excess deflection limit.", ""}) {
        messages.Line(line);
    }
    messages.Line(computed);
    messages.Line(limit);
    messages.Blank();
    messages.Line("This error may be due to overloading the pile or bad input data.");
    messages.Blank();
    messages.Line("Solution:");
    messages.Line("Please check input values for pile loading and soil properties for accuracy and/or ");
    messages.Line("increase the size of the pile if necessary.");
    Stop_With_Error(ctx, "RUN00009", 209);
}

// Runtime Error 10. Returns only for loading type 4, whose case is still
// reported: the error is recorded and the run ends after the next solution.
void ReportNoConvergence(run::RunContext& ctx) {
    const model::AnalysisOptions& options = ctx.problem.Options;
    const std::string length = report::TrimRight(ctx.labels.Length);
    report::OutputChannel& report = ctx.files.report;
    report.Blank(2);
    report.Line("**** Runtime Error No. 10 ****");
    report.Blank();
    report.Line("The analysis failed to converge within the limit of " + fmt::I0(options.IterationLimit) +
                " iterations.");
    report.Blank();
    report.Line("Maximum change in deflection    = " + fmt::E(ctx.pile.dYmax, 10, 3) + " " + length);
    report.Blank();
    report.Line("Specified convergence tolerance = " + fmt::E(options.ConvergenceTolerance, 10, 3) + " " + length);
    report.Blank();
    if (ctx.pile.LoadingType != model::kDeflectionAndMoment) Stop_With_Error(ctx, "RUN00010", 210);
    try {
        Stop_With_Error(ctx, "RUN00010", 210);
    } catch (const run::RunStop&) {
        // Recorded; the case goes on to its results.
    }
}

// Runtime Error 29: a layer too thin to hold a node.
void CheckLayerHoldsNode(run::RunContext& ctx, int l) {
    const model::ProblemData& problem = ctx.problem;
    const model::PileModel& pile = ctx.pile;
    const auto li = static_cast<std::size_t>(l);
    const model::SoilLayer& layer = problem.Layers[li - 1];
    if (l <= 1 || pile.TopNode[li] != 0 || !(pile.xv(pile.N) > layer.XLayerTop) ||
        ctx.soil.EquivalentDepth[li] != model::kEquivalentDepthUnset || ctx.soil.BelowRockLayer[li]) {
        return;
    }
    const double thickness = layer.XLayerBottom - layer.XLayerTop;
    const std::string label = ctx.labels.Length2;
    const double needed = thickness > 0.0 ? std::floor(pile.L / thickness) : std::numeric_limits<double>::infinity();
    const std::string estimate = needed < 1.0e18 ? fmt::I0(static_cast<std::int64_t>(needed)) : std::string("********");
    const std::string lines[] = {
        "**** Runtime Error No. 29 ****",
        "",
        "PROBLEM:  The thickness of layer " + fmt::I0(l) + " was too thin to contain a nodal point.",
        "          This layer lacks a nodal point and this prevents the correct computation of the layer's p-y curves. ",
        "          The thickness of layer " + fmt::I0(l) + " is " + fmt::F(thickness, 9, 3) + " " + label +
            " and the pile increment length is " + fmt::F(pile.L / (pile.N - 1), 9, 3) + " " + label,
        "          The current number of pile increments is " + fmt::I0(pile.N - 1) + ".",
        "          The estimated minimum number of increments needed to get at least one nodal point in the layer is " +
            estimate + ".",
        "",
        "SOLUTION: Increase the number of pile increments. Up to 500 pile increments are allowed in Trevasc.",
        "          If this error occurs with the maximum number of pile increments, you will need to combine the thinnest",
        "          soil layer with an adjacent layer.",
        "",
        "",
    };
    for (report::OutputChannel* out : {&ctx.files.report, &ctx.files.messages}) {
        out->Blank(2);
        for (const std::string& line : lines) out->Line(line);
    }
    run::StopOnQuietError(ctx, 229);
}

// One sweep of the p-y criteria over the layers, top down.
void SoilResponse(run::RunContext& ctx, int iteration, bool check_layers) {
    const model::ProblemData& problem = ctx.problem;
    model::PileModel& pile = ctx.pile;
    ctx.soil.BelowRockCount = 0;
    for (int l = 1; l <= problem.i_Number_of_Layers(); ++l) {
        const auto li = static_cast<std::size_t>(l);
        if (pile.TopNode[li] != 0) {
            soil::StoreLayerSprings(ctx, l, pile.TopNode[li], pile.BottomNode[li]);
            const soil::CriterionEntry* entry = soil::CriterionForCode(problem.Layers[li - 1].KSOIL);
            if (entry != nullptr) soil::ApplyBelowRockBookkeeping(ctx.soil, l, *entry);
        }
        if (iteration == 1 && check_layers) CheckLayerHoldsNode(ctx, l);
    }
}

void WritePlotLine6(report::OutputChannel& plot, int count) {
    report::WritePlotRecord(plot, plot::kLine6, {count});
}

void WritePlotLine11(run::RunContext& ctx, int c) {
    const std::string_view label = ctx.problem.Options.UseLrfd ? plot::kLine11Lrfd : plot::kLine11NotStudied;
    report::WritePlotRecord(ctx.files.plot, plot::kLine11, {0, label, c});
}

void EchoIteration(run::RunContext& ctx, int c, int iteration) {
    const model::PileModel& pile = ctx.pile;
    report::OutputChannel& messages = ctx.files.messages;
    // The progress line is formed whole in the channel's scratch buffer. Case
    // and iteration numbers of every usual size end before the columns that
    // follow them (T20 and T36), so the tabs only pad; longer ones take the
    // channel's own placement, which writes what follows over them.
    constexpr std::size_t kIterationColumn = 20, kDeflectionColumn = 36;
    std::string& line = messages.RecordScratch();
    line += "Analysis Case ";
    fmt::AppendI(line, c, 0);
    line += ',';
    bool padded = line.size() < kIterationColumn;
    if (padded) {
        line.resize(kIterationColumn - 1, ' ');
        line += "Iteration ";
        fmt::AppendI(line, iteration, 0);
        line += ',';
        padded = line.size() < kDeflectionColumn;
    }
    if (padded) {
        line.resize(kDeflectionColumn - 1, ' ');
        line += "Y(top) = ";
        fmt::AppendE(line, pile.y(1), 12, 4);
        line += ", dYmax = ";
        fmt::AppendE(line, pile.dYmax, 12, 4);
        messages.ScratchLine();
    } else {
        messages.Write("Analysis Case " + fmt::I0(c) + ",");
        messages.Tab(static_cast<int>(kIterationColumn));
        messages.Write("Iteration " + fmt::I0(iteration) + ",");
        messages.Tab(static_cast<int>(kDeflectionColumn));
        messages.Line("Y(top) = " + fmt::E(pile.y(1), 12, 4) + ", dYmax = " + fmt::E(pile.dYmax, 12, 4));
    }
    if (iteration > ctx.problem.Options.IterationLimit - kEchoedIterations) {
        report::OutputChannel& report = ctx.files.report;
        report.Write("Iteration " + fmt::I0(iteration) + ",");
        report.Tab(16);
        report.Line(" Y(top) = " + fmt::E(pile.y(1), 12, 4) + ", dYmax = " + fmt::E(pile.dYmax, 12, 4));
    }
}

void RunLoadCase(run::RunContext& ctx, int c, bool& print_py_curves) {
    const model::ProblemData& problem = ctx.problem;
    const model::AnalysisOptions& options = problem.Options;
    report::OutputChannel& messages = ctx.files.messages;

    const CaseOutcome outcome =
        SolvePile(ctx, c, CaseLoad(ctx, c), problem.PileTotalLength, FailureRule::Report, options.UseLrfd, true);

    // An unconverged type-4 case is reported, but not as converged.
    if (outcome == CaseOutcome::Converged) messages.Line("Convergence Criteria Met");
    if (c == 1) {
        if (print_py_curves) {
            WritePlotLine6(ctx.files.plot, static_cast<int>(problem.PyOutputDepths.size()));
            messages.Line("Computing p-y curves for output at user-specified depths.");
            soil::WritePyCurvesAtDepths(ctx);
            print_py_curves = false;
        } else {
            WritePlotLine6(ctx.files.plot, 0);
        }
    }
    ResetSectionMaxima(ctx.pile);
    Write_Case_Results(ctx, c);
    if (!options.UseLrfd && problem.PileHeadLoads[static_cast<std::size_t>(c - 1)].ComputeTopDeflVsLength) {
        messages.Line("Computing top deflection vs. pile embedment length for load case " + fmt::I0(c) + ".");
        RunLengthStudy(ctx, c);
    } else {
        WritePlotLine11(ctx, c);
    }
    messages.Line("Completed Analysis " + fmt::I0(c));
    messages.Blank();
}

}  // namespace

int NumberOfLoadCases(const run::RunContext& ctx) {
    const model::ProblemData& problem = ctx.problem;
    return static_cast<int>(problem.Options.UseLrfd ? problem.LrfdCombinations.size() : problem.PileHeadLoads.size());
}

model::PileHeadLoad CaseLoad(const run::RunContext& ctx, int c) {
    const model::ProblemData& problem = ctx.problem;
    if (problem.Options.UseLrfd) {
        const model::LrfdCombination& combination = problem.LrfdCombinations[static_cast<std::size_t>(c - 1)];
        model::PileHeadLoad load;
        load.LoadingType = model::kShearAndMoment;
        load.Condition1 = combination.FactoredShear;
        load.Condition2 = combination.FactoredMoment;
        load.AxialThrust = combination.FactoredAxial;
        return load;
    }
    return problem.PileHeadLoads[static_cast<std::size_t>(c - 1)];
}

CaseOutcome SolvePile(run::RunContext& ctx, int case_number, const model::PileHeadLoad& load, double L,
                      FailureRule rule, bool lrfd_combination, bool progress_line) {
    const model::ProblemData& problem = ctx.problem;
    const model::AnalysisOptions& options = problem.Options;
    model::PileModel& pile = ctx.pile;
    const bool report_failures = rule == FailureRule::Report;

    pile.CurrentCase = case_number;
    pile.Iteration = 0;
    SetUpNodes(ctx, L, progress_line ? case_number : 0);
    if (lrfd_combination) ApplyLrfdDistributedLoads(ctx, case_number);
    ctx.warnings.StartLoadCase();
    VuggyLimestonePrePass(ctx);
    SetHeadConditions(ctx, load);
    if (UsesNonlinearEI(problem)) UpdateEIForThrust(ctx);

    for (int iteration = 1; iteration <= options.IterationLimit; ++iteration) {
        pile.Iteration = iteration;
        ResetRunningMaxima(pile);
        Solve_Beam_Column(ctx);
        // A previous case of loading type 4 that did not converge ends the
        // run here.
        if (ctx.ErrorNumber > 0) throw run::RunStop{ctx.ErrorNumber};
        const double ytop = pile.y(1);
        if (std::isnan(ytop) || std::isnan(pile.dYmax)) StopOnNonFiniteDeflection(ctx, iteration);
        EchoIteration(ctx, case_number, iteration);

        if (pile.dYmax <= options.ConvergenceTolerance && iteration >= kMinimumIterations) {
            if (pile.lost_stiffness) {
                if (!report_failures) return CaseOutcome::Abandoned;
                StopOnBuckling(ctx, case_number);
            }
            return CaseOutcome::Converged;
        }
        if (pile.dYmax > options.ConvergenceTolerance && iteration >= kFirstExcessDeflectionIteration &&
            std::fabs(ytop) >= options.MaxAllowableDeflection) {
            if (!report_failures) return CaseOutcome::Abandoned;
            StopOnExcessDeflection(ctx);
        }
        SoilResponse(ctx, iteration, report_failures);
        if (UsesNonlinearEI(problem)) UpdateEIForThrust(ctx);
    }
    if (!report_failures) return CaseOutcome::Abandoned;
    ReportNoConvergence(ctx);  // returns only for loading type 4
    return CaseOutcome::UnconvergedReported;
}

void BuildNodeDepths(run::RunContext& ctx) {
    const model::ProblemData& problem = ctx.problem;
    const int increments = problem.Options.NumberOfIncrements;
    // An unusable pile is reported when the load cases need it.
    if (increments < 1 || increments > model::kMaxNodes - 1 || !(problem.PileTotalLength > 0.0)) return;
    ComputeNodeDepths(ctx.pile, increments, problem.PileTotalLength, 0.0);
}

void RunLoadCases(run::RunContext& ctx) {
    const int cases = NumberOfLoadCases(ctx);
    if (cases == 0) return;
    CheckPileModel(ctx);
    // The request to print p-y curves is honoured once, after the first case.
    bool print_py_curves = ctx.problem.Options.PrintPyCurves;
    for (int c = 1; c <= cases; ++c) RunLoadCase(ctx, c, print_py_curves);
    // The last case may have recorded Runtime Error 10 (loading type 4).
    if (ctx.ErrorNumber > 0) throw run::RunStop{ctx.ErrorNumber};
}

}  // namespace trevasc::pile
