// LRFD combinations as load cases: the unfactored distributed loads summed
// per load type at the nodes of the current pile, the factored distributed
// load of a combination, and the check of the moment developed in every
// section against its factored moment capacity.
#include <cmath>
#include <string>
#include <vector>

#include "pile/load_cases.hpp"
#include "pile/node_setup.hpp"
#include "report/fortran_format.hpp"
#include "report/report_helpers.hpp"

namespace trevasc::pile {

namespace fmt = report::fmt;

namespace {

constexpr const char* kLoadTypeNames[model::kLrfdLoadTypes] = {
    "Dead Loads",        "Live Loads", "Earthquake Loads", "Impact Loads",      "Wind Loads",
    "Water Loads",       "Ice Loads",  "Horizontal Soil Pressures",             "Live Roof Loads",
    "Rain Loads",        "Snow Loads", "Temperature Loads", "Special Loads"};

// Section capacities are held in kip-in for US customary runs.
// A developed moment at this fraction of the factored capacity fails.
constexpr double kFailingFraction = 1.0;
constexpr int kLrfdFailureWarning = -400;

// Elastic-plastic sections of these shapes carry their plastic moment along
// the section (tapered shapes included); H-piles use the nominal capacity.
bool UsesPlasticMoment(const model::PileSection& section) {
    if (section.SectionType != model::kElasticPlastic) return false;
    const int shape = section.Elastic.ElasticShape;
    return shape == 1 || shape == 2 || shape == 3 || shape == 6;
}

}  // namespace

void ApplyLrfdDistributedLoads(run::RunContext& ctx, int c) {
    const model::ProblemData& problem = ctx.problem;
    model::PileModel& pile = ctx.pile;
    const int N = pile.N;
    const double h = pile.h;
    const auto slots = static_cast<std::size_t>(N) + 1;

    // Unfactored load per unit length of every type at every node: the
    // integral over the node's tributary length, divided by h.
    std::vector<std::vector<double>> DL(model::kLrfdLoadTypes, std::vector<double>(slots, 0.0));
    for (const model::LrfdLoad& load : problem.LrfdLoads) {
        const int k = load.LrfdLoadType;
        if (k < 1 || k > model::kLrfdLoadTypes || load.DistributedLoad.empty()) continue;
        auto& sums = DL[static_cast<std::size_t>(k - 1)];
        for (int u = 1; u <= N; ++u) {
            sums[static_cast<std::size_t>(u)] += Average_Distributed_Load(load.DistributedLoad, pile.x(u), h);
        }
    }

    report::OutputChannel& report = ctx.files.report;
    const std::string length = ctx.labels.Length;
    std::string units_line = "    " + length;
    units_line.resize(18, ' ');
    units_line += report::TrimRight(ctx.labels.Force4) + "/" + report::TrimRight(length);
    for (int k = 1; k <= model::kLrfdLoadTypes; ++k) {
        const auto& sums = DL[static_cast<std::size_t>(k - 1)];
        bool any = false;
        for (int u = 1; u <= N; ++u) any = any || sums[static_cast<std::size_t>(u)] != 0.0;
        if (!any) continue;
        report.Blank(2);
        report.Line("Distributed Lateral Loads for LRFD:");
        report.Line("-----------------------------------");
        report.Blank(2);
        report.Line("Sums of Distributed Lateral Load Per Unit Length due to " +
                    fmt::PadRight(kLoadTypeNames[k - 1], 30));
        report.Blank();
        report.Line("   Depth     Distributed Load");
        report.Line(units_line);
        report.Line("----------   ----------------");
        for (int u = 1; u <= N; ++u) {
            const double value = sums[static_cast<std::size_t>(u)];
            if (value != 0.0) report.Line(fmt::F(pile.x(u), 10, 2) + "   " + fmt::F(value, 10, 2));
        }
        report.Blank();
    }

    const model::LrfdCombination& combination = problem.LrfdCombinations[static_cast<std::size_t>(c - 1)];
    for (int u = 1; u <= N; ++u) {
        double q = 0.0;
        for (int k = 1; k <= model::kLrfdLoadTypes; ++k) {
            q += combination.LoadFactors[static_cast<std::size_t>(k - 1)] *
                 DL[static_cast<std::size_t>(k - 1)][static_cast<std::size_t>(u)];
        }
        pile.Q(u) = q;
        pile.R(u) = q;
    }
}

void WriteLrfdPerformanceTable(run::RunContext& ctx) {
    const model::ProblemData& problem = ctx.problem;
    const bool uscs = problem.Options.Units == model::UnitSystem::USCS;
    report::OutputChannel& report = ctx.files.report;

    report.Blank(2);
    report::WriteHeading(report, 19, "LRFD Performance by Load Case Combination");
    report.Blank(2);
    report.Line("Load             Resistance    Factored      Maximum      Moment      Pass/Fail     Maximum                           ");
    report.Line("Case   Section     Factor       Moment        Moment     Fraction     for LRFD    Shear For.    Pile-Top     Pile-Top ");
    report.Line(" No.     No.     for Moment    Capacity     Developed    Mobilized     Moment      Developed   Deflection    Rotation ");
    report.Line("                              of Section   in Section   in Section   of Section   in Section    Developed    Developed   Name of Load Case Combination");
    report.Line("----   -------   ----------   ----------   ----------   ----------   ----------   ----------   ----------   ----------   -----------------------------------------");

    const int sections = static_cast<int>(problem.Sections.size());
    int failures = 0;
    for (int c = 1; c <= static_cast<int>(problem.LrfdCombinations.size()); ++c) {
        const model::LrfdCombination& combination = problem.LrfdCombinations[static_cast<std::size_t>(c - 1)];
        const model::CaseResults& results = ctx.cases(c);
        const double phi = combination.MomentResistanceFactor;
        for (int s = 1; s <= sections && s <= model::kMaxSections; ++s) {
            const model::PileSection& section = problem.Sections[static_cast<std::size_t>(s - 1)];
            const auto si = static_cast<std::size_t>(s);
            const double developed = results.SectionMaxMoment[si];
            report::WriteIntegerField(report, c, 3);
            report::WriteSpaces(report, 1);
            report::WriteIntegerField(report, s, 7);
            report::WriteSpaces(report, 3);
            report::WriteAdaptiveNumber(report, phi, 10);
            report::WriteSpaces(report, 6);

            const bool elastic = section.SectionType == model::kElasticPile;
            double capacity = 0.0;
            if (!elastic && s <= static_cast<int>(ctx.stiffness.Sections.size())) {
                const model::SectionStiffness& stiffness = ctx.stiffness.Sections[si - 1];
                if (UsesPlasticMoment(section)) {
                    const int node = results.SectionMaxMomentNode[si];
                    const double depth = node >= 1 ? ctx.pile.x(node) : stiffness.TopDepth;
                    capacity = phi * stiffness.PlasticMomentAt(depth) * (uscs ? kPoundsPerKip : 1.0);
                } else if (!stiffness.Levels.empty()) {
                    // User-defined sections have their own levels: the
                    // combination's level, or the last one below it.
                    const int levels = static_cast<int>(stiffness.Levels.size());
                    const int t = std::min(std::max(combination.ThrustIndex, 1), levels);
                    capacity = phi * stiffness.Levels[static_cast<std::size_t>(t - 1)].NominalMomentCapacity;
                }
            }
            // A section without a capacity (elastic, or one that section
            // analysis gives no curve for) cannot be checked.
            const bool checked = !elastic && capacity > 0.0;
            if (elastic) {
                report.Write(" Infinite ");
            } else {
                report::WriteAdaptiveNumber(report, capacity, 10);
            }
            report::WriteSpaces(report, 3);
            report::WriteAdaptiveNumber(report, developed, 10);
            report::WriteSpaces(report, 3);
            // The moment of either sign counts against the capacity.
            const double fraction = checked ? std::fabs(developed) / capacity : 0.0;
            report.Write(checked ? fmt::F(fraction, 10, 4) : std::string("    N/A   "));
            report::WriteSpaces(report, 3);
            if (!checked) {
                report.Write("    N/A      ");
            } else if (fraction >= kFailingFraction) {
                report.Write("  > FAIL <   ");
                ctx.warnings.RecordWarning(kLrfdFailureWarning);
                ++failures;
            } else {
                report.Write("    Pass     ");
            }
            report::WriteAdaptiveNumber(report, results.SectionMaxShear[si], 10);
            report::WriteSpaces(report, 3);
            report::WriteAdaptiveNumber(report, results.HeadDeflection, 10);
            report::WriteSpaces(report, 3);
            report::WriteAdaptiveNumber(report, results.HeadSlope, 10);
            report::WriteSpaces(report, 3);
            report.Write(fmt::PadRight(combination.Name, 256));
            report::EndReportLine(report);
        }
    }
    report.Blank();
    if (failures != 0) {
        report.Line(fmt::I0(failures) + " LRFD load combinations have failed.");
    } else {
        report.Line("All LRFD load combinations have passed for all pile sections.");
    }
}

}  // namespace trevasc::pile
