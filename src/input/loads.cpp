// Load blocks of the current input format: pile-head load cases ("LOADING"),
// unfactored LRFD loads ("LRFD LOADS"), LRFD load and resistance factors
// ("LRFD FACTORS AND CASES") and the axial thrusts of runs that compute
// nonlinear bending stiffness only ("AXIAL THRUST LOADS"). Loads are stored in
// the units of the input file.
#include <algorithm>
#include <utility>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "input/block_checks.hpp"
#include "input/current_format.hpp"
#include "input/reader_support.hpp"
#include "report/fortran_format.hpp"
#include "run/error_stop.hpp"

namespace trevasc::input {

namespace fmt = report::fmt;

namespace {

// The pile-length option of a load case: 1 analyses the given length only;
// any other value adds the study of head deflection versus embedded length.
constexpr std::int32_t kFixedLengthOnly = 1;

// Input Data Errors 94 to 98 (LRFD loads and combinations), report only: two
// blank lines, the framed heading, a blank line, the lines given, two blank
// lines.
[[noreturn]] void StopOnLrfdInputError(run::RunContext& ctx, std::int32_t error,
                                       std::initializer_list<std::string> lines) {
    report::OutputChannel& report = ctx.files.report;
    report.Blank(2);
    report.Line("***** Input Data Error No. " + fmt::I0(error) + " *****");
    report.Blank();
    for (const std::string& line : lines) report.Line(line);
    report.Blank(2);
    run::Stop_With_Error(ctx, 100 + error);
}

void CheckCode(run::RunContext& ctx, std::int32_t code, std::int32_t low, std::int32_t high, const std::string& what,
               const std::string& where) {
    if (code >= low && code <= high) return;
    const std::string problem = "Problem:  " + where + " has " + what + " " + fmt::I0(code) + "; the codes are " +
                                fmt::I0(low) + " to " + fmt::I0(high) + ".";
    StopOnInputError(ctx, kCodeRangeError, problem, "Solution: Correct the " + what + ".");
}

}  // namespace

void ReadPileHeadLoads(run::RunContext& ctx) {
    ctx.files.messages.Line("Reading pile head loading data");
    model::ProblemData& problem = ctx.problem;
    std::int32_t count = 0;
    DataLine(ctx, "the number of pile-head load cases").Int(count);
    CheckCapacity(ctx, count, model::kMaxPileHeadLoads, "the LOADING block", "pile-head load cases");
    problem.PileHeadLoads.clear();
    for (std::int32_t j = 1; j <= count; ++j) {
        std::int32_t index = 0;
        std::int32_t length_option = 0;
        model::PileHeadLoad load;
        DataLine(ctx, "pile-head load case " + fmt::I0(j))
            .Int(index)
            .Int(load.LoadingType)
            .Real(load.Condition1)
            .Real(load.Condition2)
            .Real(load.AxialThrust)
            .Int(length_option);
        CheckCode(ctx, load.LoadingType, model::kShearAndMoment, model::kDeflectionAndSlope, "loading type",
                  "Load case " + fmt::I0(j) + " of the LOADING block");
        load.ComputeTopDeflVsLength = length_option != kFixedLengthOnly;
        problem.PileHeadLoads.push_back(load);
    }

    std::int32_t points = 0;
    DataLine(ctx, "the number of distributed lateral load points").Int(points);
    CheckCapacity(ctx, points, model::kMaxDistributedLoadPoints, "the LOADING block",
                  "distributed lateral load points");
    // A count below 1 means no distributed load.
    problem.DistributedLoad.clear();
    for (std::int32_t k = 1; k <= points; ++k) {
        std::int32_t index = 0;
        std::array<double, 2> point{};
        DataLine(ctx, "distributed lateral load point " + fmt::I0(k)).Int(index).Real(point[0]).Real(point[1]);
        problem.DistributedLoad.push_back(point);
    }
}

void ReadLrfdLoads(run::RunContext& ctx) {
    ctx.files.messages.Line("Reading LRFD unfactored load data");
    model::ProblemData& problem = ctx.problem;
    std::int32_t count = 0;
    DataLine(ctx, "the number of LRFD loads").Int(count);
    if (count < 1 || count > model::kMaxLrfdLoads) {
        StopOnLrfdInputError(ctx, 98, {"Number of LRFD loads specified is " + fmt::I0(count),
                                       "This is outside of the valid range to 1 to 100"});
    }
    problem.LrfdLoads.clear();
    for (std::int32_t i = 1; i <= count; ++i) {
        std::int32_t number = 0;
        std::int32_t points = 0;
        model::LrfdLoad load;
        DataLine(ctx, "LRFD load " + fmt::I0(i))
            .Int(number)
            .Int(load.LrfdLoadType)
            .Real(load.HorizontalForce)
            .Real(load.Moment)
            .Real(load.AxialForce)
            .Int(points);
        if (number != i) {
            StopOnLrfdInputError(ctx, 97,
                                 {"Input appears to be out-of-order for LRFD loading",
                                  "Input load number is " + fmt::I0(number) + " and the expected load number is " +
                                      fmt::I0(i)});
        }
        CheckCode(ctx, load.LrfdLoadType, 1, model::kLrfdLoadTypes, "LRFD load type",
                  "LRFD load " + fmt::I0(i) + " of the LRFD LOADS block");
        if (points == 1 || points < 0 || points > model::kMaxLrfdDistributedPoints) {
            StopOnLrfdInputError(ctx, 95, {"Number of distributed load points for LRFD load number " + fmt::I0(i) +
                                               " is outside of the valid range of 0 or 2 to 100.",
                                           "", "The input number of distributed load points is " + fmt::I0(points)});
        }
        for (std::int32_t k = 1; k <= points; ++k) {
            std::int32_t point_number = 0;
            std::array<double, 2> point{};
            DataLine(ctx, "distributed load point " + fmt::I0(k) + " of LRFD load " + fmt::I0(i))
                .Int(point_number)
                .Real(point[0])
                .Real(point[1]);
            if (point_number != k) {
                StopOnLrfdInputError(ctx, 96,
                                     {"Input appears to be out-of-order for LRFD distributed load " + fmt::I0(i), "",
                                      "Input distributed load point is " + fmt::I0(point_number),
                                      " and the expected point number is " + fmt::I0(k)});
            }
            load.DistributedLoad.push_back(point);
        }
        problem.LrfdLoads.push_back(std::move(load));
    }
}

void ReadLrfdFactors(run::RunContext& ctx) {
    ctx.files.messages.Line("Reading LRFD load and resistance factor data ");
    model::ProblemData& problem = ctx.problem;
    std::int32_t count = 0;
    DataLine(ctx, "the number of LRFD load combinations").Int(count);
    if (count < 1 || count > model::kMaxLrfdCombinations) {
        StopOnLrfdInputError(ctx, 94, {"Number of LRFD load combinations outside of the valid range of 1 to 100.", "",
                                       "Number of LRFD load combinations input is " + fmt::I0(count)});
    }
    problem.LrfdCombinations.clear();
    for (std::int32_t k = 1; k <= count; ++k) {
        std::int32_t index = 0;
        model::LrfdCombination combination;
        DataLine read(ctx, "the factors of LRFD load combination " + fmt::I0(k));
        read.Int(index);
        for (double& factor : combination.LoadFactors) read.Real(factor);
        read.Real(combination.MomentResistanceFactor).Real(combination.ShearResistanceFactor);
        // A resistance factor reduces a capacity: one above 1 (7.5 typed for
        // 0.75) would raise it and pass sections that fail, a negative one has
        // no meaning. Either is refused rather than reported as a pass.
        const std::pair<const char*, double> factors[] = {{"moment", combination.MomentResistanceFactor},
                                                           {"shear", combination.ShearResistanceFactor}};
        for (const auto& [kind, factor] : factors) {
            if (factor >= 0.0 && factor <= 1.0) continue;
            StopOnInputError(ctx, kImpossibleValueError,
                             "Problem:  Line " + fmt::I0(ctx.files.input.LineNumber()) + " gives LRFD load combination " +
                                 fmt::I0(k) + " a " + kind + " resistance factor of " +
                                 ValueText(factor) + "; resistance factors lie between 0 and 1.",
                             "Solution: Correct the resistance factor of the combination.");
        }
        const std::string name = ReadRecordOrStop(ctx, "the name of LRFD load combination " + fmt::I0(k));
        combination.Name = PadRight(name, kRecordLength);
        problem.LrfdCombinations.push_back(std::move(combination));
    }
}

void ReadAxialThrustLoads(run::RunContext& ctx) {
    model::ProblemData& problem = ctx.problem;
    problem.AxialThrustList.clear();
    std::int32_t count = 0;
    DataLine(ctx, "the number of axial thrust loads").Int(count);
    CheckCapacity(ctx, count, model::kMaxPileHeadLoads, "the AXIAL THRUST LOADS block", "axial thrust loads");
    if (count < 1) {
        // One load case remains, with whatever thrust it held.
        problem.PileHeadLoads.resize(1);
        return;
    }
    ctx.files.messages.Line("Reading axial thrust force data for EI-only computations");
    // The thrusts fill the load cases; their other fields keep their values.
    problem.PileHeadLoads.resize(static_cast<std::size_t>(count));
    std::vector<double> thrusts;
    for (std::int32_t j = 1; j <= count; ++j) {
        std::int32_t index = 0;
        double thrust = 0.0;
        DataLine(ctx, "axial thrust load " + fmt::I0(j)).Int(index).Real(thrust);
        thrusts.push_back(thrust);
    }
    // Only the thrust values move into ascending order.
    std::sort(thrusts.begin(), thrusts.end());
    for (std::size_t j = 0; j < thrusts.size(); ++j) problem.PileHeadLoads[j].AxialThrust = thrusts[j];
}

}  // namespace trevasc::input
