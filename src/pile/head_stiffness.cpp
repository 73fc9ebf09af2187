// Pile-head stiffness matrix: secant stiffnesses of the pile head for a
// structural model of the supported structure, from twenty nonlinear
// analyses. Ten with the head fixed against rotation under growing shear
// give K22 (shear per unit deflection) and K32 (moment per unit deflection);
// ten with the head held at zero deflection under growing moment give K23
// (shear per unit rotation) and K33 (moment per unit rotation).
#include <array>
#include <cmath>
#include <string>

#include "pile/case_results.hpp"
#include "pile/head_stiffness.hpp"
#include "pile/load_cases.hpp"
#include "pile/solver.hpp"
#include "report/fortran_format.hpp"
#include "report/report_helpers.hpp"
#include "report/plot_file.hpp"
#include "run/error_stop.hpp"

namespace trevasc::pile {
namespace {

constexpr int kLevels = 10;
constexpr int kTrials = 2 * kLevels;

// A reference load below this magnitude is taken as zero. The limits are
// the single-precision values the zero tests have always used.
constexpr double kZeroReference = 1.0000000116860974E-07;
// Reference loads that replace a zero one: 10 lb and 100 in-lb, and the same
// loads in kN and kN-m (their single-precision values).
constexpr double kDefaultShearUscs = 10.0;
constexpr double kDefaultShearSi = 0.04448220133781433;
constexpr double kFirstShearSi = 0.004448220200065078;
constexpr double kDefaultMomentUscs = 100.0;
constexpr double kDefaultMomentSi = 0.011298480443656445;
constexpr double kFirstMomentSi = 0.0011298480612016923;

// Level factors: 0.1 (its single-precision value), then log10(i), so that
// the last level carries the full reference load.
double LevelFactor(int i) { return i == 1 ? static_cast<double>(0.1F) : std::log10(static_cast<double>(i)); }

struct StiffnessTrials {
    std::array<model::PileHeadLoad, kTrials + 1> loads{};  // 1-based
    std::array<model::CaseResults, kTrials + 1> results{};
};

// Returns false when a reference load is zero in general units, where no
// replacement load of known size exists.
bool BuildTrials(const run::RunContext& ctx, StiffnessTrials& trials) {
    const model::ProblemData& problem = ctx.problem;
    const model::UnitSystem units = problem.Options.Units;
    const model::PileHeadLoad first =
        problem.PileHeadLoads.empty() ? model::PileHeadLoad{} : problem.PileHeadLoads.front();
    double V0 = first.Condition1;
    double M0 = first.Condition2;
    const double P1 = first.AxialThrust;
    const bool zero_shear = std::fabs(V0) < kZeroReference;
    const bool zero_moment = std::fabs(M0) < kZeroReference;
    if (units == model::UnitSystem::GENERAL && (zero_shear || zero_moment)) return false;
    if (zero_shear) V0 = units == model::UnitSystem::USCS ? kDefaultShearUscs : kDefaultShearSi;
    if (zero_moment) M0 = units == model::UnitSystem::USCS ? kDefaultMomentUscs : kDefaultMomentSi;
    for (int i = 1; i <= kLevels; ++i) {
        model::PileHeadLoad& shear = trials.loads[static_cast<std::size_t>(i)];
        shear.LoadingType = model::kShearAndSlope;
        shear.Condition1 = LevelFactor(i) * V0;
        shear.Condition2 = 0.0;
        shear.AxialThrust = P1;
        model::PileHeadLoad& moment = trials.loads[static_cast<std::size_t>(i + kLevels)];
        moment.LoadingType = model::kDeflectionAndMoment;
        moment.Condition1 = 0.0;
        moment.Condition2 = LevelFactor(i) * M0;
        moment.AxialThrust = P1;
    }
    // The first SI level of a replaced reference is the stored
    // single-precision tenth, not a tenth of the replacement.
    if (zero_shear && units == model::UnitSystem::SI) trials.loads[1].Condition1 = kFirstShearSi;
    if (zero_moment && units == model::UnitSystem::SI) trials.loads[1 + kLevels].Condition2 = kFirstMomentSi;
    return true;
}

struct Terms {
    double K22, K32, K23, K33;
};

Terms StiffnessTerms(const StiffnessTrials& trials, int i) {
    const model::CaseResults& shear = trials.results[static_cast<std::size_t>(i)];
    const model::CaseResults& moment = trials.results[static_cast<std::size_t>(i + kLevels)];
    return Terms{trials.loads[static_cast<std::size_t>(i)].Condition1 / shear.HeadDeflection,
                 -shear.HeadMoment / shear.HeadDeflection, moment.HeadShear / moment.HeadSlope,
                 -trials.loads[static_cast<std::size_t>(i + kLevels)].Condition2 / moment.HeadSlope};
}

void WriteRow(report::OutputChannel& report, double first, std::initializer_list<double> rest) {
    report::WriteAdaptiveNumber(report, first, 14);
    for (double value : rest) report::WriteAdaptiveNumber(report, value, 16);
    report::EndReportLine(report);
}

void WriteStiffnessReport(run::RunContext& ctx, const StiffnessTrials& trials) {
    report::OutputChannel& report = ctx.files.report;
    const bool uscs = ctx.problem.Options.Units == model::UnitSystem::USCS;
    const std::string rule = "  ------------  --------------  --------------  --------------  --------------";
    report.Blank(2);
    report.Line(report::kRule80);
    report.Line(std::string(18, ' ') + "Computed Pile-head Stiffness Matrix Values");
    report.Line(std::string(20, ' ') + "K22, K23, K32, K33 for Pile  Head");
    report.Line(report::kRule80);
    report.Blank();

    report.Line("    Pile-Top       Pile-Top        Pile-Top                                   ");
    report.Line("   Deflection   Shear Reaction   Moment React.       K22              K32     ");
    report.Line(uscs ? "     inches          lbs            in-lbs          lb/in.         in-lb/in.  "
                     : "     meters           kN             kN-m            kN/m            kN-m/m   ");
    report.Line(rule);
    for (int i = 1; i <= kLevels; ++i) {
        const model::CaseResults& r = trials.results[static_cast<std::size_t>(i)];
        const Terms k = StiffnessTerms(trials, i);
        WriteRow(report, r.HeadDeflection,
                  {std::fabs(r.HeadShear), std::fabs(r.HeadMoment), std::fabs(k.K22), std::fabs(k.K32)});
    }
    report.Blank();

    if (uscs) {
        report.Line("    Pile-Top       Pile-Top        Pile-Top                                  ");
        report.Line("    Rotation     Shear React.    Moment React.       K23              K33    ");
        report.Line("     radians          lbs            in-lbs         lb/rad         in-lb/rad ");
    } else {
        report.Line("    Pile-Top       Pile-Top        Pile-Top                                   ");
        report.Line("    Rotation     Shear React.    Moment React.       K23              K33     ");
        report.Line("     radians          kN             kN-m           kN/rad          kN-m/rad  ");
    }
    report.Line(rule);
    for (int i = 1; i <= kLevels; ++i) {
        const model::CaseResults& r = trials.results[static_cast<std::size_t>(i + kLevels)];
        const Terms k = StiffnessTerms(trials, i);
        WriteRow(report, std::fabs(r.HeadSlope),
                  {std::fabs(r.HeadShear), std::fabs(r.HeadMoment), std::fabs(k.K23), std::fabs(k.K33)});
    }

    report.Blank();
    report.Line("  K22 = abs(Shear Reaction/Top y)");
    report.Line("  K23 = abs(Shear Reaction/Top Rotation)");
    report.Line("  K32 = abs(Moment Reaction/Top y)");
    report.Line("  K33 = abs(Moment Reaction/Top Rotation)");
    report.Blank(2);

    report::OutputChannel& plot = ctx.files.plot;
    static_assert(kLevels == plot::kStiffnessTrials, "one Line 14 record per stiffness level");
    for (int i = 1; i <= kLevels; ++i) {
        const Terms k = StiffnessTerms(trials, i);
        report::WritePlotRecord(plot, plot::kLine14,
                                {trials.loads[static_cast<std::size_t>(i)].Condition1,
                                 trials.loads[static_cast<std::size_t>(i + kLevels)].Condition2,
                                 k.K22, k.K23, k.K32, k.K33,
                                 std::fabs(trials.results[static_cast<std::size_t>(i)].HeadDeflection),
                                 std::fabs(trials.results[static_cast<std::size_t>(i + kLevels)].HeadSlope)});
    }
}

}  // namespace

void ComputePileHeadStiffness(run::RunContext& ctx) {
    model::ProblemData& problem = ctx.problem;
    model::PileModel& pile = ctx.pile;
    // The trials write nothing of their own to the report: only the table.
    problem.Options.PrintSummaryOnly = true;
    problem.Options.PrintPyCurves = false;

    StiffnessTrials trials;
    if (!BuildTrials(ctx, trials)) {
        // A zero load would give stiffness terms of 0/0.
        run::WriteToBoth(ctx, {"", "", "Pile-head stiffness matrix values were not computed:",
                               "the shear force or the moment of load case 1 is zero, and in general units",
                               "no reference load can take its place. Give load case 1 a non-zero shear and moment.",
                               ""});
        return;
    }
    bool complete = true;
    for (int i = 1; i <= kTrials && complete; ++i) {
        const CaseOutcome outcome = SolvePile(ctx, i, trials.loads[static_cast<std::size_t>(i)],
                                               problem.PileTotalLength, FailureRule::Quiet, false, true);
        if (outcome != CaseOutcome::Converged) {
            complete = false;
            break;
        }
        pile.StiffnessMode = true;
        ResetSectionMaxima(pile);
        Write_Case_Results(ctx, i, trials.results[static_cast<std::size_t>(i)]);
        pile.StiffnessMode = false;
    }
    if (complete) WriteStiffnessReport(ctx, trials);
}

}  // namespace trevasc::pile
