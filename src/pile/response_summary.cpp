// Summary of pile responses: one line per load case or LRFD combination with
// its pile-head conditions and the head deflection, maximum moment, maximum
// shear and head rotation of its solution; the pile-head response records of
// the plot file; and, for an LRFD run, the performance table of the sections.
#include <string>

#include "pile/load_cases.hpp"
#include "pile/response_summary.hpp"
#include "report/fortran_format.hpp"
#include "report/report_helpers.hpp"
#include "report/plot_file.hpp"

namespace trevasc::pile {

namespace fmt = report::fmt;

namespace {

void WriteLoadingDefinitions(report::OutputChannel& report, model::UnitSystem units) {
    if (units == model::UnitSystem::USCS) {
        report.Line("Load Type 1: Load 1 = Shear, lbs, and Load 2 = Moment, in-lbs");
        report.Line("Load Type 2: Load 1 = Shear, lbs, and Load 2 = Slope, radians");
        report.Line("Load Type 3: Load 1 = Shear, lbs, and Load 2 = Rotational Stiffness, in-lbs/radian");
        report.Line("Load Type 4: Load 1 = Top Deflection, inches, and Load 2 = Moment, in-lbs");
        report.Line("Load Type 5: Load 1 = Top Deflection, inches, and Load 2 = Slope, radians");
        report.Blank(2);
    } else if (units == model::UnitSystem::SI) {
        report.Line("Load Type 1: Load 1 = Shear, kN, and Load 2 = Moment, kN-m ");
        report.Line("Load Type 2: Load 1 = Shear, kN, and Load 2 = Slope, radians");
        report.Line("Load Type 3: Load 1 = Shear, kN, and Load 2 = Rotational Stiffness, kN-m/radian");
        report.Line("Load Type 4: Load 1 = Top Deflection, m, and Load 2 = Moment, kN-m");
        report.Line("Load Type 5: Load 1 = Top Deflection, m, and Load 2 = Slope, radians");
        report.Blank(2);
    }
}

void WriteColumnHeadings(report::OutputChannel& report, model::UnitSystem units, bool lrfd) {
    const bool uscs = units == model::UnitSystem::USCS;
    const bool si = units == model::UnitSystem::SI;
    if (!lrfd) {
        report.Line("               Pile-head      Pile-head ");
        report.Line("Load  Load    Condition 1    Condition 2        Axial        Pile-head       Maximum        Maximum       Pile-head  ");
        if (uscs) {
            report.Line("Case  Type    V(lbs) or     in-lb, rad.,       Loading      Deflection       Moment          Shear        Rotation   ");
            report.Line(" No.   No.    y(inches)     or in-lb/rad.        lbs          inches         in-lbs           lbs          radians   ");
        } else if (si) {
            report.Line("Case  Type    V(kN) or       kN-m, rad.,       Loading      Deflection       Moment          Shear        Rotation   ");
            report.Line(" No.   No.    y(meters)      or kN-m/rad.        kN           meters          kN-m            kN           radians   ");
        }
    } else {
        report.Line("Load  Load      Pile-head     Pile-head         Axial        Pile-head       Maximum        Maximum       Pile-Head  ");
        if (uscs) {
            report.Line("Case  Type        Shear         Moment           Load        Deflection       Moment         Shear        Rotation    ");
            report.Line(" No.   No.         lbs          in-lbs           lbs          inches          in-lbs          lbs          radians   ");
        } else if (si) {
            report.Line("Case  Type       Shear          Moment           Load        Deflection       Moment         Shear        Rotation   ");
            report.Line(" No.   No.    kilonewtons        kN-m             kN           meters          kN-m           kN           radians   ");
        }
    }
    report.Line("----  ----  --------------  --------------  -------------  -------------  -------------  -------------  -------------");
}

// Type text and second-condition symbol by loading type 1 .. 5.
constexpr const char* kTypeTexts[] = {"    1   V =", "    2   V =", "    3   V =", "    4   y =", "    5   y ="};
constexpr const char* kSecondTexts[] = {"  M =", "  S =", "  R =", "  M =", "  S ="};

}  // namespace

void WriteResponseSummary(run::RunContext& ctx) {
    const model::ProblemData& problem = ctx.problem;
    const model::AnalysisOptions& options = problem.Options;
    if (ctx.pile.StiffnessMode) return;
    const int cases = NumberOfLoadCases(ctx);
    if (cases == 0) return;
    report::OutputChannel& report = ctx.files.report;
    report::OutputChannel& plot = ctx.files.plot;

    report.Blank(3);
    report::WriteHeading(report, 27, "Summary of Pile Response(s)");
    report.Blank(2);
    if (!options.UseLrfd) {
        report.Line("Definitions of Pile-head Loading Conditions:");
        report.Blank();
        WriteLoadingDefinitions(report, options.Units);
    }
    WriteColumnHeadings(report, options.Units, options.UseLrfd);

    for (int c = 1; c <= cases; ++c) {
        const model::PileHeadLoad load = CaseLoad(ctx, c);
        const int t = load.LoadingType;
        if (t < 1 || t > 5) continue;
        const model::CaseResults& results = ctx.cases(c);
        report::WriteIntegerField(report, c, 3);
        report::WriteSpaces(report, 1);
        report.Write(kTypeTexts[t - 1]);
        report::WriteAdaptiveNumber(report, load.Condition1, 11);
        report.Write(kSecondTexts[t - 1]);
        report::WriteAdaptiveNumber(report, load.Condition2, 11);
        report::WriteAdaptiveNumber(report, load.AxialThrust, 15);
        report::WriteAdaptiveNumber(report, results.HeadDeflection, 15);
        report::WriteAdaptiveNumber(report, results.MaxMoment, 15);
        report::WriteSpaces(report, 4);
        report::WriteAdaptiveNumber(report, results.MaxShear, 11);
        report.Write(fmt::F(results.HeadSlope, 15, 8));
        report::EndReportLine(report);
    }

    const std::string_view label = options.Units == model::UnitSystem::USCS ? plot::kLine13Uscs : plot::kLine13Si;
    for (int c = 1; c <= cases; ++c) {
        const model::CaseResults& results = ctx.cases(c);
        report::WritePlotRecord(plot, plot::kLine13,
                                {results.HeadShear, results.HeadDeflection, results.MaxMoment, results.MaxShear,
                                 results.HeadSlope, label});
    }

    if (options.UseLrfd) WriteLrfdPerformanceTable(ctx);
}

}  // namespace trevasc::pile
