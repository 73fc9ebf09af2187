// Echo of the pile-head loads, and of the LRFD loads: the loading groups, the
// sums by load type, the factors, the factored loads of every combination,
// their batter transformation and the distinct factored axial thrusts. The
// LRFD code forms those values; the echo calls it where each table is
// printed and prints what it returns.
#include <array>
#include <cmath>
#include <string_view>

#include "echo/echo.hpp"
#include "pile/lrfd_factoring.hpp"
#include "report/fortran_format.hpp"
#include "report/report_helpers.hpp"

namespace trevasc::echo {

namespace fmt = report::fmt;

namespace {

constexpr std::array<std::string_view, model::kLrfdLoadTypes> kLoadTypeTexts = {
    "Dead Load   (DL)", "Live Load   (LL)", "Earthquake  (EQ)", "Impact Load (IM)", "Wind Load    (W)",
    "Water Load  (HW)", "Ice Load   (Ice)", "Horiz. Soil (Hs)", "Live Roof   (Lr)", "Rain Load   (Rn)",
    "Snow Load   (Sn)", "Temperature (Tm)", "Special     (Sp)"};
constexpr std::array<std::string_view, model::kLrfdLoadTypes> kTypeSumTexts = {
    "Dead Loads   (DL)", "Live Loads   (LL)", "Earthquake   (EQ)", "Impact Load  (IM)", "Wind Loads    (W)",
    "Water Loads  (HW)", "Ice Loads   (Ice)", "Horiz. Soil  (Hs)", "Live Roof    (Lr)", "Rain Loads   (Rn)",
    "Snow Loads   (Sn)", "Temperature  (Tm)", "Special      (Sp)"};
constexpr std::array<std::string_view, model::kLrfdLoadTypes> kFactorSymbols = {
    "*DL", "*LL", "*EQ", "*IM", "*W ", "*HW", "*Ice", "*Hs", "*Lr", "*Rn", "*Sn", "*Tm", "*Sp"};

}  // namespace

void EchoPileHeadLoads(run::RunContext& ctx) {
    report::OutputChannel& report = ctx.files.report;
    const model::ProblemData& problem = ctx.problem;
    const EchoLabels labels = MakeEchoLabels(ctx.labels);
    WriteEchoHeading(report, 3, 15, "Pile-head Loading and Pile-head Fixity Conditions");
    report.Line("Number of loads specified = " + fmt::I0(static_cast<long long>(problem.PileHeadLoads.size())));
    report.Blank();
    report.Line("Load    Load         Condition               Condition            Axial Thrust  ");
    report.Line(" No.    Type             1                       2                 Force, " + labels.force_full);
    report.Line("-----   ----   --------------------   -----------------------   ----------------");
    int j = 0;
    for (const model::PileHeadLoad& load : problem.PileHeadLoads) {
        ++j;
        const int type = load.LoadingType;
        const bool shear_first = type <= 3;
        report.Write(fmt::I(j, 4) + "     " + fmt::I0(type) + (shear_first ? "     V = " : "     y = "));
        report::WriteAdaptiveNumber(report, load.Condition1, 12);
        const std::string first_unit = " " + (shear_first ? labels.force : labels.length);
        const char* second_symbol = (type == 1 || type == 4) ? "M = " : (type == 3 ? "R = " : "S = ");
        report.Write(fmt::PadRight(first_unit, 7) + second_symbol);
        report::WriteAdaptiveNumber(report, load.Condition2, 12);
        const std::string second_unit = (type == 2 || type == 5) ? " " + labels.length + "/" + labels.length
                                                                 : " " + labels.length + "-" + labels.force;
        report.Write(fmt::PadRight(second_unit, 10));
        report::WriteAdaptiveNumber(report, load.AxialThrust, 15);
        report.EndLine();
    }
    report.Blank();
    report.Line("V = perpendicular shear force applied to pile head");
    report.Line("M = bending moment applied to pile head");
    report.Line("y = lateral deflection relative to pile axis");
    report.Line("S = pile slope relative to original pile batter angle");
    report.Line("R = rotational stiffness applie to pile head");
    report.Line("Axial thrust is assumed to be acting axially for all pile batter angles.");
}

void EchoLrfdLoads(run::RunContext& ctx) {
    report::OutputChannel& report = ctx.files.report;
    model::ProblemData& problem = ctx.problem;
    const bool uscs = problem.Options.Units == model::UnitSystem::USCS;

    // 1-2. Unfactored loading groups.
    report.Blank(3);
    report.Line(std::string(79, '-'));
    report.Line("                  Unfactored Loading Groups for LRFD Analysis");
    report.Line(std::string(79, '-'));
    report.Blank();
    report.Line("Number of Loading Groups = " + fmt::I0(static_cast<long long>(problem.LrfdLoads.size())));
    report.Blank();
    report.Line("      Load                    Load                Horiz. Force               Moment                "
                "Axial Force           Number of ");
    report.Line(uscs ? "      Group                   Type                     lbs                  inch-lbs           "
                       "        lbs             Distrib. Lds. "
                     : "      Group                   Type                     kN                     kN-m           "
                       "          kN              Distrib. Lds. ");
    report.Line("-----------------      ------------------      ------------------      ------------------      "
                "------------------      -------------");
    int number = 0;
    for (const model::LrfdLoad& load : problem.LrfdLoads) {
        ++number;
        const int type = load.LrfdLoadType;
        const std::string_view text =
            type >= 1 && type <= model::kLrfdLoadTypes ? kLoadTypeTexts[static_cast<std::size_t>(type - 1)] : "";
        report.Line(fmt::I(number, 9) + fmt::X(15) + fmt::PadRight(text, 16) + fmt::F(load.HorizontalForce, 24, 2) +
                    fmt::F(load.Moment, 24, 2) + fmt::F(load.AxialForce, 24, 2) +
                    fmt::I(static_cast<long long>(load.DistributedLoad.size()), 14));
    }
    // 3. Distributed loads of the groups that have them.
    number = 0;
    for (const model::LrfdLoad& load : problem.LrfdLoads) {
        ++number;
        if (load.DistributedLoad.empty()) continue;
        report.Blank(2);
        report.Line("Number of Distributed Loading Points Input for Load Group " + fmt::I0(number) + " = " +
                    fmt::I0(static_cast<long long>(load.DistributedLoad.size())));
        report.Blank();
        report.Line("Point           Depth          Distributed Load");
        // The depths of these points are used as read, like those of the
        // pile-head distributed loads: in inches for US customary units.
        report.Line(uscs ? "                  in               lb/inch   " : "                  m                kN/m      ");
        report.Line("-----     ----------------     ----------------");
        int point = 0;
        for (const auto& [depth, intensity] : load.DistributedLoad) {
            ++point;
            report.Line(fmt::I(point, 4) + fmt::F(depth, 21, 2) + fmt::F(intensity, 21, 2));
        }
    }

    // 4. Sums by load type.
    const pile::LrfdTypeSums sums = pile::SumLrfdLoadsByType(problem);
    report.Blank(2);
    report.Line("Totals of Unfactored Loads by Load Type for LRFD Analyses:");
    report.Line("----------------------------------------------------------");
    report.Blank();
    report.Line("Number of Defined Unfactored Load Cases = " + fmt::I0(static_cast<long long>(problem.LrfdLoads.size())));
    report.Blank();
    report.Line("The following table presents the sum of unfactored pile-head loads for each load type.");
    report.Blank();
    report.Line("      Load                Horiz. Force               Moment                Axial Force           "
                "Number of ");
    report.Line(uscs ? "      Type                     lbs                  inch-lbs                   lbs           "
                       "      Loads   "
                     : "      Type                     Kn                     Kn-M                     kN            "
                       "      Loads   ");
    report.Line("-----------------      ------------------      ------------------      ------------------      "
                "------------");
    for (std::size_t k = 0; k < kTypeSumTexts.size(); ++k) {
        report.Line(std::string(kTypeSumTexts[k]) + fmt::F(sums.shear[k], 24, 2) + fmt::F(sums.moment[k], 24, 2) +
                    fmt::F(sums.axial[k], 24, 2) + fmt::I(sums.count[k], 12));
    }
    report.Blank(3);

    // 5. Load and resistance factors.
    report.Line(std::string(77, '-'));
    report.Line("     Load and Resistance Factors by Load Combinations for LRFD Analyses      ");
    report.Line(std::string(77, '-'));
    report.Blank();
    report.Line("Number of Factored Load Combinations = " +
                fmt::I0(static_cast<long long>(problem.LrfdCombinations.size())));
    report.Blank();
    report.Line("Summary of Load and Resistance Factors:");
    report.Line("---------------------------------------");
    report.Blank();
    // One column per load type, from the dead load to the special load
    // ("Spcl"), then the moment and shear resistance factors.
    report.Line(" No.    DL     LL     EQ     IM    Wind   Watr    Ice   Soil   Roof   Rain   Snow   Temp   Spcl   M RF  "
                " V RF   Name");
    report.Line("----   ----   ----   ----   ----   ----   ----   ----   ----   ----   ----   ----   ----   ----   ----  "
                " ----   ---------------------");
    number = 0;
    for (const model::LrfdCombination& combination : problem.LrfdCombinations) {
        ++number;
        std::string row = fmt::I(number, 3) + " ";
        for (double factor : combination.LoadFactors) row += factor > 0.0 ? fmt::F(factor, 7, 2) : "    -- ";
        row += fmt::F(combination.MomentResistanceFactor, 7, 2) + fmt::F(combination.ShearResistanceFactor, 7, 2);
        row += "   " + combination.Name;
        report.Line(row);
    }

    // 6. Factored loads of every combination.
    report.Blank(3);
    report.Line(std::string(78, '-'));
    report.Line(std::string(18, ' ') + "Computed Factored Loads for LRFD Analyses");
    report.Line(std::string(78, '-'));
    report.Blank();
    const std::string force_unit = uscs ? " lbs" : " kN";
    pile::FactorLrfdCombinations(problem, sums);
    number = 0;
    for (const model::LrfdCombination& combination : problem.LrfdCombinations) {
        ++number;
        report.Line("Factored Load Combination No. " + fmt::I0(number));
        report.Line("---------------------------------");
        report.Blank();
        report.Line("Load Combination Name = " + fmt::PadRight(combination.Name, 256));
        report.Blank();
        report.Line("Structural Resistance Factor for Flexure =" + fmt::F(combination.MomentResistanceFactor, 6, 3));
        report.Line("Structural Resistance Factor for Shear   =" + fmt::F(combination.ShearResistanceFactor, 6, 3));
        report.Blank();
        std::string terms = "Factored Load = ";
        for (std::size_t k = 0; k < model::kLrfdLoadTypes; ++k) {
            const double factor = combination.LoadFactors[k];
            if (factor <= 0.0) continue;
            terms += (k == 0 ? "" : " +") + fmt::F(factor, 5, 2) + std::string(kFactorSymbols[k]);
        }
        report.Line(terms + " ");
        report.Blank();
        report.Line("Factored Horizontal Force = " + fmt::F(combination.FactoredShear, 24, 2) + force_unit);
        report.Line("Factored Vertical Force   = " + fmt::F(combination.FactoredAxial, 24, 2) + force_unit);
        report.Line("Factored Moment           = " + fmt::F(combination.FactoredMoment, 24, 2) +
                    (uscs ? " in-lbs" : " kN-m"));
        report.Blank();
    }

    // 7. Totals by combination.
    const std::string combination_rule =
        "----------------   ----------------   ----------------   ----------------   "
        "--------------------------------------------------------------";
    report.Blank();
    report.Line("Totals of Factored Loads by Load Combination:");
    report.Line("---------------------------------------------");
    report.Blank(2);
    report.Line("      Load             Factored           Factored           Factored      ");
    report.Line("   Combination       Horiz. Force          Moment           Vert. Force     Load Combination Name  ");
    report.Line(uscs ? "     Number               lbs              in-lbs               lbs        "
                     : "     Number               kN                kN-m                kN         ");
    report.Line(combination_rule);
    number = 0;
    for (const model::LrfdCombination& combination : problem.LrfdCombinations) {
        ++number;
        report.Line(fmt::I(number, 9) + fmt::X(7) + fmt::F(combination.FactoredShear, 19, 2) +
                    fmt::F(combination.FactoredMoment, 19, 2) + fmt::F(combination.FactoredAxial, 19, 2) + "   " +
                    combination.Name);
    }

    // 8. Transformation for pile batter.
    if (pile::TransformLrfdForBatter(problem)) {
        const double batter = problem.PileBatterAngle;
        const double sb = std::sin(batter);
        const double cb = std::cos(batter);
        report.Blank(2);
        report.Line("Factored Loads Transformed for Pile Batter by Load Combination:");
        report.Line("---------------------------------------------------------------");
        report.Blank();
        report.Line("Horizontal and vertical loads are transformed into transverse shear and axial loads");
        report.Line("using the following:");
        report.Blank();
        report.Line("Pile PileBatter = " + fmt::F(batter * kDegreesPerRadian, 7, 3) + " degrees");
        report.Blank();
        report.Line("Transformation Matrix and Equations:");
        report.Blank();
        report.Line("   T(1,1) =  Cos(PileBatter) = " + fmt::F(cb, 8, 4) + "   T(1,2) = Sin(PileBatter) = " +
                    fmt::F(sb, 8, 4));
        report.Blank();
        report.Line("   T(2,1) = -Sin(PileBatter) = " + fmt::F(-sb, 8, 4) + "   T(2,2) = Cos(PileBatter) = " +
                    fmt::F(cb, 8, 4));
        report.Blank(2);
        report.Line("   Shear Force = T(1,1) * Horiz. Force + T(1,2) * Vertical Force");
        report.Line("   Axial Force = T(2,1) * Horiz. Force + T(2,2) * Vertical Force");
        report.Blank(2);
        report.Line("      Load             Factored           Factored          Factored");
        report.Line("  Combination         Shear Force          Moment          Axial Force      Load Combination Name  ");
        report.Line(combination_rule);
        number = 0;
        for (const model::LrfdCombination& combination : problem.LrfdCombinations) {
            ++number;
            report.Line(fmt::I(number, 9) + fmt::X(7) + fmt::F(combination.FactoredShear, 19, 2) +
                        fmt::F(combination.FactoredMoment, 19, 2) + fmt::F(combination.FactoredAxial, 19, 2) +
                        combination.Name);
        }
    }

    // 9. Distinct factored axial thrusts.
    const std::vector<double> distinct = pile::AssignLrfdThrustLevels(problem, uscs);
    report.Blank(2);
    report.Line("Sorted Values of Axial Thrust Forces Sorted for LRFD Computations:");
    report.Line("------------------------------------------------------------------");
    report.Blank(2);
    report.Line("Number of Unique Axial Thrust Values = " + fmt::I0(static_cast<long long>(distinct.size())));
    report.Blank();
    report.Line("Number   Factored Axial Thrust");
    report.Line("------   ---------------------");
    int position = 0;
    for (double value : distinct) {
        ++position;
        report.Line(fmt::I(position, 4) + fmt::F(value, 16, 3));
    }
}

}  // namespace trevasc::echo
