#include "input/current_format.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

#include "input/reader_support.hpp"
#include "model/units.hpp"
#include "report/fortran_format.hpp"
#include "run/error_stop.hpp"

namespace trevasc::input {

namespace fmt = report::fmt;
using run::WriteToBoth;
using run::Stop_With_Error;

void ReadCurrentFormat(run::RunContext& ctx) {
    model::ProblemData& problem = ctx.problem;
    for (;;) {
        const std::string record = ReadRecordOrStop(ctx, "the next block (the file must close with END)");
        if (MatchesKeyword(record, "TITLE")) {
            ReadTitle(ctx);
        } else if (MatchesKeyword(record, "OPTIONS")) {
            ReadOptions(ctx);
        } else if (MatchesKeyword(record, "SECTIONS")) {
            ReadSections(ctx);
        } else if (MatchesKeyword(record, "AXIAL THRUST LOADS")) {
            ReadAxialThrustLoads(ctx);
        } else if (MatchesKeyword(record, "SOIL LAYERS")) {
            ReadSoilLayers(ctx);
        } else if (MatchesKeyword(record, "TIP SHEAR")) {
            ReadTipShear(ctx);
        } else if (MatchesKeyword(record, "PILE BATTER AND SLOPE")) {
            ReadBatterAndSlope(ctx);
        } else if (MatchesKeyword(record, "GROUPEFF")) {
            ReadPyModifiers(ctx);
        } else if (MatchesKeyword(record, "LRFD LOADS")) {
            ReadLrfdLoads(ctx);
        } else if (MatchesKeyword(record, "LRFD FACTORS AND CASES")) {
            ReadLrfdFactors(ctx);
        } else if (MatchesKeyword(record, "LOADING")) {
            ReadPileHeadLoads(ctx);
        } else if (MatchesKeyword(record, "SOIL MOVEMENTS")) {
            // Without the option the keyword is accepted and its data lines
            // are then met by the keyword loop as unrecognised lines.
            if (problem.Options.UseSoilMovement) ReadSoilMovements(ctx);
        } else if (MatchesKeyword(record, "GROUP EFFECT FACTORS")) {
            ReadPyModifiers(ctx);
        } else if (MatchesKeyword(record, "DEPTHS OF PRINTED P-Y CURVES")) {
            if (problem.Options.PrintPyCurves) ReadPyOutputDepths(ctx);
        } else if (MatchesKeyword(record, "MASSIVE ROCK")) {
            ReadMassiveRock(ctx);
        } else if (MatchesKeyword(record, "END")) {
            ProcessEndOfInput(ctx);
            return;
        } else {
            StopOnUnrecognizedLine(ctx, record);
        }
    }
}

void ReadTitle(run::RunContext& ctx) {
    ctx.files.messages.Line("Reading title data");
    int k = 0;
    for (std::string& line : ctx.problem.TitleLines) {
        line = fmt::PadRight(ReadRecordOrStop(ctx, "the five title lines"), static_cast<int>(kRecordLength));
        ctx.input_lines["title line " + fmt::I0(++k)] = ctx.files.input.LineNumber();
    }
}

namespace {

// An option word line: the record must equal one of two words.
struct YesNoOption {
    std::string_view yes;
    std::string_view no;
    std::string_view message;  // "INPUT ERROR - Unrecognized command for ..."
    bool blank_before;
    bool blank_after;
};

// Input Data Error 95: an analysis option line that is neither the yes nor the
// no keyword of its option.
[[noreturn]] void StopOnBadOption(run::RunContext& ctx, const YesNoOption& option) {
    report::OutputChannel& report = ctx.files.report;
    if (option.blank_before) report.Blank();
    report.Line(option.message);
    if (option.blank_after) report.Blank();
    Stop_With_Error(ctx, "INP00095", 195);
}

bool ReadYesNo(run::RunContext& ctx, const YesNoOption& option) {
    const std::string record = ReadRecordOrStop(ctx, "the analysis options");
    ctx.input_lines[std::string(option.yes)] = ctx.files.input.LineNumber();
    if (MatchesKeyword(record, option.yes)) return true;
    if (MatchesKeyword(record, option.no)) return false;
    StopOnBadOption(ctx, option);
}

constexpr YesNoOption kUseLrfd{"UseLRFD YES", "UseLRFD NO",
                               "INPUT ERROR - Unrecognized command for LRFD analysis option", true, false};
constexpr YesNoOption kComputeKmatrix{
    "ComputeKmatrix YES", "ComputeKmatrix NO",
    "INPUT ERROR - Unrecognized command for compute pile-head stiffness matrix option", true, false};
constexpr YesNoOption kUseTipShear{"UseTipShear YES", "UseTipShear NO",
                                   "INPUT ERROR - Unrecognized command for tip shear option", true, false};
constexpr YesNoOption kUseSoilMovement{"UseSoilMovement YES", "UseSoilMovement NO",
                                       "INPUT ERROR - Unrecognized command for soil movement option", true, true};
constexpr YesNoOption kUsePyModifiers{"UsePYModifiers YES", "UsePYModifiers NO",
                                      "INPUT ERROR - Unrecognized command for use of p-y modifiers option", true,
                                      false};
constexpr YesNoOption kComputeEIOnly{"ComputeEIOnly YES", "ComputeEIOnly NO",
                                     "INPUT ERROR - Unrecognized command for compute nonlinear EI only option", true,
                                     false};
constexpr YesNoOption kPrintSummaryOnly{"PrintSummaryOnly YES", "PrintSummaryOnly NO",
                                        "INPUT ERROR - Unrecognized command for print summary only option", true,
                                        false};
constexpr YesNoOption kPrintPyCurves{"PrintPYCurves YES", "PrintPYCurves NO",
                                     "INPUT ERROR - Unrecognized command for p-y curve output depths option", true,
                                     false};
constexpr YesNoOption kComputeInteraction{"ComputeInteraction YES", "ComputeInteraction NO",
                                          "INPUT ERROR - Unrecognized command for compute interaction option", false,
                                          false};

constexpr std::string_view kLoadingTypeMessage = "INPUT ERROR - Unrecognized command for loading type option";

// A real in a fixed field with no implied decimals; blanks are ignored and an
// empty field is zero. False when the field holds anything else.
bool ParseFixedReal(std::string_view field, double& value) {
    std::string digits;
    for (char c : field) {
        if (c == ' ' || c == '\t') continue;
        digits.push_back((c == 'd' || c == 'D') ? 'E' : c);
    }
    if (digits.empty()) {
        value = 0.0;
        return true;
    }
    const char* first = digits.data();
    if (*first == '+') ++first;
    const auto result = std::from_chars(first, digits.data() + digits.size(), value);
    return result.ec == std::errc() && result.ptr == digits.data() + digits.size() && std::isfinite(value);
}

void ReadLoadingTypeLine(run::RunContext& ctx) {
    model::AnalysisOptions& options = ctx.problem.Options;
    const std::string record = ReadRecordOrStop(ctx, "the analysis options");
    ctx.input_lines["the loading type"] = ctx.files.input.LineNumber();
    const std::string padded = fmt::PadRight(record, 20);
    const std::string_view kind = std::string_view(padded).substr(8, 6);
    if (kind == "CYCLIC") {
        options.CyclicLoading = true;
    } else if (kind == "STATIC") {
        options.CyclicLoading = false;
    } else {
        ctx.files.report.Line(kLoadingTypeMessage);
        Stop_With_Error(ctx, "INP00095", 195);
    }
    double cycles = 0.0;
    if (!ParseFixedReal(std::string_view(padded).substr(14, 6), cycles)) {
        WriteToBoth(ctx, {"", "**** Input Data Error No. 80 ****", "",
                          "Line " + fmt::I0(ctx.files.input.LineNumber()) +
                              " of the input file could not be read as a number of cycles in columns 15 to 20:",
                          "    " + TrimRight(record),
                          "Correct the line so that it holds the values this block requires.", ""});
        Stop_With_Error(ctx, kUnreadableInputError);
    }
    options.NumberOfCycles = cycles;
}

// Tolerance limits. The upper limit in inches is the single-precision 0.1 the
// check has always used.
constexpr double kMinToleranceInches = 1.0e-20;
constexpr double kMaxToleranceInches = 0.10000000149011612;
constexpr double kMinToleranceMetres = 2.54e-22;
constexpr double kMaxToleranceMetres = 0.00254;

void CheckTolerance(run::RunContext& ctx, double tolerance) {
    const model::UnitSystem units = ctx.problem.Options.Units;
    auto stop = [&](std::initializer_list<std::string_view> lines, std::string_view code, std::int32_t number) {
        for (std::string_view line : lines) ctx.files.messages.Line(line);
        for (std::string_view line : lines) ctx.files.report.Line(line);
        Stop_With_Error(ctx, code, number);
    };
    if (units == model::UnitSystem::USCS) {
        if (tolerance < kMinToleranceInches) {
            stop({"", "**** Input Data Error No. 65 ****", "",
                  "Input value for convergence tolerance is too small (less than 1E-10 inches).",
                  "The recommended value for convergence tolerance is 0.00001 inches.", ""},
                 "INP00065", 165);
        }
        if (tolerance > kMaxToleranceInches) {
            stop({"", "**** Input Data Error No. 66 ****", "",
                  "Input value for convergence tolerance is too large (more than 0.1 inches). ",
                  "The recommended value for convergence tolerance is 0.00001 inches.", ""},
                 "INP00066", 166);
        }
    } else if (units == model::UnitSystem::SI) {
        if (tolerance < kMinToleranceMetres) {
            stop({"", "**** Input Data Error No. 67 ****", "",
                  "Input value for convergence tolerance is too small (less than 2.5E-12 meters). ",
                  "The recommended value for convergence tolerance is 2.54E-7 meters.", ""},
                 "INP00067", 167);
        }
        if (tolerance > kMaxToleranceMetres) {
            stop({"", "**** Input Data Error No. 68 ****", "",
                  "Input value of convergence tolerance too large (more than 2.54E-3 meters). ",
                  "The recommended value for convergence tolerance is 2.54E-7 meters.", ""},
                 "INP00068", 168);
        }
    }
}

void CheckIterationLimit(run::RunContext& ctx, std::int32_t limit) {
    if (limit >= 30 && limit <= 1000) return;
    report::OutputChannel& report = ctx.files.report;
    report.Line("***** Input Data Error No. 95 *****");
    report.Blank();
    report.Line("Problem: Input value for iterations limit = " + fmt::I0(limit) +
                (limit < 30 ? " and is less than 30 iteractions" : " and is more than 1,000 iteractions"));
    report.Line("Solution:  Correct input value to be between 30 and 1000 iterations.");
    report.Blank(2);
    Stop_With_Error(ctx, "INP00095", 195);
}

void CheckIncrements(run::RunContext& ctx, std::int32_t increments) {
    if (increments < 40) {
        WriteToBoth(ctx, {"**** Input Data Error No. 55 ****", "",
                          "Problem:  The number of pile increments is less than 40.", "",
                          "Solution: Increase the number of pile increments to more than 40, preferably more than "
                          "100 increments."});
        Stop_With_Error(ctx, "INP00055", 155);
    }
    if (increments > 500) {
        WriteToBoth(ctx, {"**** Input Data Error No. 56 ****", "",
                          "Problem:  The number of pile increments is more than 500.", "",
                          "Solution: Limit the number of pile increments to 500 or less."});
        Stop_With_Error(ctx, "INP00056", 156);
    }
}

}  // namespace

void ReadOptions(run::RunContext& ctx) {
    ctx.files.messages.Line("Reading analysis options");
    model::ProblemData& problem = ctx.problem;
    model::AnalysisOptions& options = problem.Options;

    const std::string units = ReadRecordOrStop(ctx, "the analysis options");
    if (MatchesKeyword(units, "Units USCS")) {
        options.Units = model::UnitSystem::USCS;
    } else if (MatchesKeyword(units, "Units SI")) {
        options.Units = model::UnitSystem::SI;
    } else if (MatchesKeyword(units, "Units GENERAL")) {
        options.Units = model::UnitSystem::GENERAL;
    } else {
        StopOnUnrecognizedLine(ctx, units);
    }

    options.UseLrfd = ReadYesNo(ctx, kUseLrfd);
    options.ComputeKmatrix = ReadYesNo(ctx, kComputeKmatrix);
    options.UseTipShear = ReadYesNo(ctx, kUseTipShear);
    options.UseSoilMovement = ReadYesNo(ctx, kUseSoilMovement);
    options.UsePyModifiers = ReadYesNo(ctx, kUsePyModifiers);
    problem.PyModifierCount = options.UsePyModifiers ? 1 : 0;
    options.AnalysisMode = ReadYesNo(ctx, kComputeEIOnly) ? 2 : 3;
    ReadLoadingTypeLine(ctx);

    std::string label;
    DataLine(ctx, "the iteration limit").Text(label, 16).Int(options.IterationLimit);
    CheckIterationLimit(ctx, options.IterationLimit);
    DataLine(ctx, "the maximum allowable deflection").Text(label, 16).Real(options.MaxAllowableDeflection);
    DataLine(ctx, "the convergence tolerance").Text(label, 16).Real(options.ConvergenceTolerance);
    CheckTolerance(ctx, options.ConvergenceTolerance);
    DataLine(ctx, "the number of pile increments").Text(label, 16).Int(options.NumberOfIncrements);
    CheckIncrements(ctx, options.NumberOfIncrements);
    options.PrintSummaryOnly = ReadYesNo(ctx, kPrintSummaryOnly);
    DataLine(ctx, "the print increment").Text(label, 16).Int(options.PrintIncrement);
    options.PrintPyCurves = ReadYesNo(ctx, kPrintPyCurves);
    options.ComputeInteraction = ReadYesNo(ctx, kComputeInteraction);

    if (options.ComputeInteraction) {
        std::string code;
        DataLine(ctx, "the interaction design code").Text(label, 11).Text(code, 11);
        const std::string name = TrimRight(code);
        if (name == "AASHTO") {
            options.DesignCode = 1;
        } else if (name == "ACI318") {
            options.DesignCode = 2;
        } else if (name == "Eurocode2") {
            options.DesignCode = 3;
        } else {
            ctx.files.report.Line("INPUT ERROR - Unrecognized command for interaction code option");
            Stop_With_Error(ctx, "INP00095", 195);
        }
    }
}

void ProcessEndOfInput(run::RunContext& ctx) {
    model::ProblemData& problem = ctx.problem;
    // The thrust levels are needed whether or not interaction diagrams are
    // asked for: the diagrams come on top of the moment-curvature curves and
    // the load cases they are checked against.
    if (problem.Sections.empty()) return;
    std::vector<double> values;
    if (problem.Options.UseLrfd) {
        for (const model::LrfdLoad& load : problem.LrfdLoads) values.push_back(load.AxialForce);
    } else {
        for (const model::PileHeadLoad& load : problem.PileHeadLoads) values.push_back(load.AxialThrust);
    }
    if (problem.Options.Units == model::UnitSystem::USCS) {
        for (double& value : values) value /= kPoundsPerKip;  // section analysis works in kips
    }
    std::sort(values.begin(), values.end());
    problem.AxialThrustList.clear();
    for (double value : values) {
        if (std::find(problem.AxialThrustList.begin(), problem.AxialThrustList.end(), value) ==
            problem.AxialThrustList.end()) {
            problem.AxialThrustList.push_back(value);
        }
    }
}

}  // namespace trevasc::input
