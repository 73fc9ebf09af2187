// Pile-head deflection versus pile length: the load case is analysed again
// for piles shortened in steps of 5 percent of the full length. Above the
// critical length the head deflection hardly changes; below it the head
// deflection grows quickly, which is what the table shows.
#include <cmath>
#include <string>
#include <vector>

#include "pile/load_cases.hpp"
#include "pile/solver.hpp"
#include "report/fortran_format.hpp"
#include "report/report_helpers.hpp"
#include "report/plot_file.hpp"

namespace trevasc::pile {

namespace fmt = report::fmt;

namespace {

constexpr int kTrials = 20;
// Trial lengths are (1 - 0.05 j) L0 with the factor kept in single
// precision: the step is the single-precision 0.05, the product and the
// difference are formed in double precision and the factor is then rounded
// to single precision. A pile shorter than 0.05 L0 below the ground surface
// is not analysed, so the last trial (a factor just below 0.05) never is.
constexpr double kLengthStep = static_cast<double>(0.05F);
constexpr double kShortestFraction = static_cast<double>(0.05F);

struct LengthPoint {
    double Length;
    double HeadDeflection;
    double HeadShear;
    double MaxMoment;
    double MaxShear;
};

void WriteBoundaryConditions(run::RunContext& ctx, const model::PileHeadLoad& load) {
    report::OutputChannel& report = ctx.files.report;
    const std::string force = report::TrimRight(ctx.labels.Force3);
    const std::string length = report::TrimRight(ctx.labels.Length);
    const std::string moment_unit = " " + force + "-" + length;
    const std::string shear = "Shear      = " + fmt::F(load.Condition1, 15, 0) + " " + force;
    const std::string axial = "Axial Load = " + fmt::F(load.AxialThrust, 15, 0) + " " + force;
    const std::string moment = "Moment     = " + fmt::F(load.Condition2, 15, 0) + moment_unit;
    const std::string slope = "Slope      = " + fmt::F(load.Condition2, 15, 5);
    const std::string deflection = "Deflection = " + fmt::F(load.Condition1, 15, 5) + " " + length;
    switch (load.LoadingType) {
        case model::kShearAndMoment:
            report.Line("Boundary Condition Type 1, Shear and Moment");
            report.Blank();
            for (const std::string& line : {shear, moment, axial}) report.Line(line);
            break;
        case model::kShearAndSlope:
            report.Line("Boundary Condition Type 2, Shear and Slope");
            report.Blank();
            for (const std::string& line : {shear, slope, axial}) report.Line(line);
            break;
        case model::kShearAndRotationalStiffness:
            report.Line("Boundary Condition Type 3, Shear and Rotational Restraint");
            report.Blank();
            report.Line(shear);
            report.Line("Rot. Rest. = " + fmt::E(load.Condition2, 15, 7) + moment_unit + "/Radian");
            report.Line(axial);
            break;
        case model::kDeflectionAndMoment:
            report.Line("Boundary Condition Type 4, Deflection and Moment");
            report.Blank();
            for (const std::string& line : {deflection, moment, axial}) report.Line(line);
            break;
        case model::kDeflectionAndSlope:
            report.Line("Boundary Condition Type 5, Deflection and Slope");
            report.Blank();
            // This type prints the first letter of its units only.
            report.Line("Deflection = " + fmt::F(load.Condition1, 15, 5) + " " + length.substr(0, 1));
            report.Line(slope);
            report.Line("Axial Load = " + fmt::F(load.AxialThrust, 15, 0) + " " + force.substr(0, 1));
            break;
        default:
            break;
    }
}

void WriteStudy(run::RunContext& ctx, int c, const model::PileHeadLoad& load, const std::vector<LengthPoint>& points) {
    report::OutputChannel& report = ctx.files.report;
    report::OutputChannel& plot = ctx.files.plot;
    report.Blank(2);
    report::WriteHeading(report, 12, "Pile-head Deflection vs. Pile Length for Load Case " + fmt::I0(c));
    report.Blank();
    WriteBoundaryConditions(ctx, load);

    if (points.empty()) {
        report.Blank(2);
        report.Line("No computations for top deflection vs. pile length were successful for this load case.");
        report.Blank();
        report.Line("Results of last two iterations:");
        report.Blank();
        report::WritePlotRecord(plot, plot::kLine11, {0, plot::kLine11Studied, c});
        return;
    }
    report.Blank(2);
    report.Line("   Pile       Pile Head       Maximum      Maximum");
    report.Line("  Length      Deflection      Moment        Shear ");
    const bool uscs = ctx.problem.Options.Units == model::UnitSystem::USCS;
    report.Line(uscs ? "  inches        inches        ln-lbs          lbs "
                     : "  meters        meters         kN-m           kN  ");
    report.Line("-----------  ------------  ------------  ------------");
    for (const LengthPoint& point : points) {
        report::WriteAdaptiveNumber(report, point.Length, 10);
        report::WriteAdaptiveNumber(report, point.HeadDeflection, 14);
        report::WriteAdaptiveNumber(report, point.MaxMoment, 14);
        report::WriteAdaptiveNumber(report, point.MaxShear, 14);
        report::EndReportLine(report);
    }
    static_assert(kTrials <= plot::kLengthStudyTrials, "a reader takes every point of a study");
    report::WritePlotRecord(plot, plot::kLine11, {points.size(), plot::kLine11Studied, c});
    for (const LengthPoint& point : points) {
        report::WritePlotRecord(plot, plot::kLine12,
                                {point.Length, point.HeadDeflection, point.MaxMoment, point.MaxShear});
    }
}

}  // namespace

double LengthStudyTrialLength(double L0, int j) {
    const auto factor = static_cast<float>(1.0 - kLengthStep * j);
    return static_cast<double>(factor) * L0;
}

bool LengthStudyTrialTooShort(double Lj, double L0, double ground_depth) {
    return Lj < kShortestFraction * L0 + ground_depth;
}

void RunLengthStudy(run::RunContext& ctx, int c) {
    const model::ProblemData& problem = ctx.problem;
    const model::AnalysisOptions& options = problem.Options;
    model::PileModel& pile = ctx.pile;
    const model::PileHeadLoad load = CaseLoad(ctx, c);
    const double L0 = problem.PileTotalLength;

    std::vector<LengthPoint> points;
    points.reserve(kTrials);
    for (int j = 0; j < kTrials; ++j) {
        const double Lj = LengthStudyTrialLength(L0, j);
        if (LengthStudyTrialTooShort(Lj, L0, problem.GroundSurfaceDepth)) continue;
        const CaseOutcome outcome = SolvePile(ctx, c, load, Lj, FailureRule::Quiet, false, false);
        if (outcome != CaseOutcome::Converged) break;
        if (std::fabs(pile.y(1)) <= options.MaxAllowableDeflection && pile.dYmax < options.ConvergenceTolerance) {
            ResetRunningMaxima(pile);
            for (int k = 1; k <= pile.N; ++k) Compute_Node_Response(ctx, k);
            points.push_back(LengthPoint{pile.x(pile.N), pile.y(1), pile.V(1), pile.MaxMoment, pile.MaxShear});
        }
    }
    WriteStudy(ctx, c, load, points);
}

}  // namespace trevasc::pile
