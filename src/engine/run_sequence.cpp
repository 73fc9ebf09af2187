// The run sequence of one analysis: connect the run files, read the input,
// write the opening blocks, echo, convert units, analyse the sections and the
// load cases, summarise, and close with the ending lines and the result code.
#include <cmath>
#include <cstdio>
#include <ctime>
#include <exception>
#include <fstream>
#include <iterator>
#include <new>
#include <sstream>

#include "engine/error_stop.hpp"
#include "engine/phases.hpp"
#include "engine/run_context.hpp"
#include "input/current_format.hpp"
#include "input/previous_format.hpp"
#include "input/reader_support.hpp"
#include "report/banner.hpp"
#include "report/fortran_format.hpp"
#include "report/plot_file.hpp"
#include "report/report_helpers.hpp"
#include "trevasc/run.hpp"

namespace trevasc {
namespace {

// Runtime Error 91: a report, plot or message file that cannot be created.
constexpr std::int32_t kOutputFileError = 291;
// Input Data Error 81: an input file that cannot be opened or read.
constexpr std::int32_t kInputFileError = 181;

void WriteToStandardError(std::initializer_list<std::string_view> lines) {
    for (std::string_view line : lines) {
        std::fwrite(line.data(), 1, line.size(), stderr);
        std::fputc('\n', stderr);
    }
}

bool IsBlank(const std::string& text) { return text.find_first_not_of(" \t") == std::string::npos; }

std::filesystem::path Resolve(const std::string& directory, const std::string& name) {
    std::filesystem::path path(input::TrimRight(name));
    if (path.is_relative() && !directory.empty()) path = std::filesystem::path(directory) / path;
    return path;
}

// Step 2: the four run files. Returns 0 when they are connected, otherwise the
// result code of a run that could not start.
std::int32_t ConnectRunFiles(RunContext& ctx, const RunPaths& paths, const std::string& directory) {
    struct NameCheck {
        const std::string& name;
        std::string_view message;
    };
    const NameCheck checks[] = {
        {paths.input, "Input data filename information corrupted. No analysis performed."},
        {paths.report, "Output filename information is corrupted. No analysis performed."},
        {paths.plot, "Plot output filename information is corrupted. No analysis performed."},
        {paths.messages, "Run message filename information is corrupted. No analysis performed."},
    };
    for (const NameCheck& check : checks) {
        if (IsBlank(check.name)) {
            WriteToStandardError({"**** Runtime Error No. 17 ****", "", check.message});
            ctx.ErrorNumber = 217;
            return 217;
        }
    }

    ctx.files.names = paths;
    ctx.files.input_path = Resolve(directory, paths.input);
    std::ifstream input(ctx.files.input_path, std::ios::binary);
    std::string contents;
    const bool input_opened = input.is_open();
    if (input_opened) contents.assign(std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>());
    const bool input_read = input_opened && !input.bad();

    struct Output {
        OutputChannel& channel;
        const std::string& name;
        std::string_view what;
    };
    const Output outputs[] = {
        {ctx.files.report, paths.report, "output report file"},
        {ctx.files.plot, paths.plot, "plot output file"},
        {ctx.files.messages, paths.messages, "runtime message file"},
    };
    for (const Output& output : outputs) {
        if (!output.channel.Open(Resolve(directory, output.name))) {
            const std::string text = "The " + std::string(output.what) + " " + input::TrimRight(output.name) +
                                     " could not be created. No analysis performed.";
            WriteToStandardError({"**** Runtime Error No. 91 ****", "", text});
            ctx.files.report.Close();
            ctx.files.plot.Close();
            ctx.files.messages.Close();
            ctx.ErrorNumber = kOutputFileError;
            return kOutputFileError;
        }
    }
    ctx.files.input = input::InputFile(contents);

    if (!input_read) {
        WriteToBoth(ctx, {"", "**** Input Data Error No. 81 ****", "",
                          "The input data file " + input::TrimRight(paths.input) + " could not be opened or read.",
                          "Check that the file exists and can be read.  No analysis performed.", ""});
        Stop_With_Error(ctx, kInputFileError);
    }
    if (contents.empty()) {
        ctx.files.messages.Blank(2);
        ctx.files.messages.Line("**** Input Data Error No. 25 ****");
        ctx.files.messages.Blank();
        ctx.files.messages.Line("Size of input data file is 0 bytes.  No analysis performed.");
        ctx.files.messages.Blank();
        Stop_With_Error(ctx, "INP00025", 125);
    }
    return 0;
}

// Step 3: the version tag selects the reader.
void ReadInput(RunContext& ctx) {
    input::InputFile& file = ctx.files.input;
    std::string tag;
    {
        input::ListDirectedRead read(file);
        if (!read.Character(tag, 7)) tag = "3      ";
    }
    ctx.VersionTag = tag;
    if (tag == "TREVAS6") {
        input::ReadCurrentFormat(ctx);
    } else if (tag == "TREVAS5") {
        input::ReadPreviousFormat(ctx);
    } else {
        file.Rewind();
        input::ReadOldestFormat(ctx);
    }
}

// Runtime Error 41: a section curve with a value that is not a finite number.
constexpr std::int32_t kNonFiniteSectionCurveError = 241;

// The last guard on the curves of pile section k: section data that no pile
// can have (a dimension near the limits of the number range) may overflow in
// the moment-curvature analysis. Every point and the nominal moment capacity
// must be finite before the pile model uses them.
void CheckSectionCurvesAreFinite(RunContext& ctx, int k) {
    const std::vector<SectionStiffness>& sections = ctx.stiffness.Sections;
    if (k < 1 || k > static_cast<int>(sections.size())) return;
    const SectionStiffness& section = sections[static_cast<std::size_t>(k - 1)];
    int t = 0;
    for (const ThrustLevelCurve& level : section.Levels) {
        ++t;
        int bad_point = 0;
        if (!std::isfinite(level.AxialThrust) || !std::isfinite(level.NominalMomentCapacity)) bad_point = -1;
        int i = 0;
        for (const StiffnessPoint& point : level.Points) {
            ++i;
            if (bad_point != 0) break;
            if (!std::isfinite(point.Moment) || !std::isfinite(point.EI) || !std::isfinite(point.Curvature)) {
                bad_point = i;
            }
        }
        if (bad_point == 0) continue;
        const std::string what = bad_point < 0 ? "the axial thrust or the nominal moment capacity"
                                               : "point " + fmt::I0(bad_point) + " of the moment-curvature curve";
        WriteToBoth(ctx, {"", "**** Runtime Error No. 41 ****", "",
                          "Pile section " + fmt::I0(k) + ", axial thrust level " + fmt::I0(t) + ": " + what +
                              " is not a finite number.",
                          "Check the dimensions and material properties of this section.", ""});
        Stop_With_Error(ctx, kNonFiniteSectionCurveError);
    }
}

void SectionAnalysisLoop(RunContext& ctx, bool write_plot_line2) {
    ProblemData& problem = ctx.problem;
    const int sections = static_cast<int>(problem.Sections.size());
    if (write_plot_line2) WritePlotLine2(ctx.files.plot, sections);
    OutputChannel& report = ctx.files.report;
    for (int k = 1; k <= sections; ++k) {
        ctx.files.messages.Line("Computing nonlinear bending stiffness of section " + fmt::I0(k));
        if (k == 1) {
            report.Line(kRule80);
            report.Line("Computations of Nominal Moment Capacity and Nonlinear Bending Stiffness");
            report.Line(kRule80);
            if (problem.Options.ComputeInteraction) {
                report.Line("Axial thrust force values were determined from input values");
            } else if (problem.Options.UseLrfd) {
                report.Line("Axial thrust force values were determined from LRFD load combinations");
            } else {
                report.Line("Axial thrust force values were determined from pile-head loading conditions");
            }
            report.Line("Number of Pile Sections Analyzed = " + fmt::I0(sections));
            report.Blank();
        }
        report.Line("Pile Section No. " + fmt::I0(k) + ":");
        report.Blank();
        AnalyzeSection(ctx, k);
        CheckSectionCurvesAreFinite(ctx, k);
        ctx.files.messages.Line("Completed computing nonlinear bending stiffness of section " + fmt::I0(k));
        ctx.files.messages.Blank();
    }
}

void CloseSoilProfile(ProblemData& problem) {
    if (problem.Layers.empty()) return;
    problem.Layers.front().XLayerTop = problem.GroundSurfaceDepth;
    for (std::size_t l = 0; l + 1 < problem.Layers.size(); ++l) {
        problem.Layers[l + 1].XLayerTop = problem.Layers[l].XLayerBottom;
    }
}

void RunSequence(RunContext& ctx, const RunPaths& paths, const std::string& directory) {
    if (ConnectRunFiles(ctx, paths, directory) != 0) return;
    ReadInput(ctx);

    ProblemData& problem = ctx.problem;
    AnalysisOptions& options = problem.Options;
    ctx.files.messages.Line("Input of data completed");
    // Only US customary input is converted (feet, psf, pcf to inches and
    // pounds); SI and GENERAL input is used as read, so for them the
    // conversion is marked as done and neither call below touches a value.
    ctx.UscsConversionDone = options.Units != UnitSystem::USCS;
    ctx.labels = MakeUnitLabels(options.Units);

    OutputChannel& report = ctx.files.report;
    report.Rewind();
    WriteBanner(report, kVersionLabel);
    WriteFilesBlock(report, ctx.files.names);
    WriteDateAndTime(report, ctx.clock ? ctx.clock() : SystemLocalTime());

    WritePlotLine1(ctx.files.plot, options.AnalysisMode, static_cast<int>(options.Units), problem.KYL,
                   options.ComputeKmatrix ? 1 : 0);

    EchoInputData(ctx);
    if (options.Units == UnitSystem::USCS) Convert_USCS_Units(problem, ctx.UscsConversionDone);

    if (options.AnalysisMode == 2) {
        SectionAnalysisLoop(ctx, true);
        return;
    }
    CloseSoilProfile(problem);
    WritePlotLine2(ctx.files.plot, static_cast<int>(problem.Sections.size()));
    if (ctx.VersionTag == "TREVAS6") Convert_USCS_Units(problem, ctx.UscsConversionDone);
    BuildNodeDepths(ctx);
    // Mode 5 analyses its sections too: their curves are the nonlinear EI the
    // mode asks for.
    if (options.AnalysisMode == 3 || options.AnalysisMode == 5) SectionAnalysisLoop(ctx, false);

    RunLoadCases(ctx);
    WriteResponseSummary(ctx);
    if (options.ComputeKmatrix) {
        ctx.files.messages.Line("Computing pile-head stiffness matrix components.");
        ctx.files.messages.Blank();
        ComputePileHeadStiffness(ctx);
    }
}

// A fault that is not an input or analysis error: its own message, then the
// ordinary stop lines, so that the host sees a runtime error and the files are
// closed as after any other error.
void StopOnInternalFault(RunContext& ctx, std::string_view what) {
    if (!ctx.files.report.IsOpen() && !ctx.files.messages.IsOpen()) {
        WriteToStandardError({"**** Runtime Error No. 90 ****", "",
                              "An internal fault ended the analysis: " + std::string(what)});
        ctx.ErrorNumber = kInternalFaultCode;
        return;
    }
    try {
        WriteToBoth(ctx, {"", "", "**** Runtime Error No. 90 ****", "",
                          "An internal fault ended the analysis: " + std::string(what),
                          "The results written before this point are incomplete.", ""});
        Stop_With_Error(ctx, kInternalFaultCode);
    } catch (const RunStop&) {
    } catch (...) {
        ctx.ErrorNumber = kInternalFaultCode;
    }
}

// Steps 14 to 17: closing lines, warning summary, result code.
std::int32_t CloseRun(RunContext& ctx) {
    OutputChannel& report = ctx.files.report;
    OutputChannel& messages = ctx.files.messages;
    const bool files_open = report.IsOpen();
    if (files_open) {
        if (ctx.ErrorNumber >= 100 && ctx.ErrorNumber <= 199) {
            messages.Blank();
            messages.Line("The analysis ended due to an input error. ");
            report.Blank();
            report.Line("The analysis ended due to an input error. ");
        } else if (ctx.ErrorNumber >= 200 && ctx.ErrorNumber <= 299) {
            messages.Blank();
            messages.Line("The analysis ended due to a runtime error. ");
            report.Blank();
            report.Line("The analysis ended due to a runtime error. ");
        }
    }
    const bool warned = ctx.warnings.AnyRecorded();
    if (warned && files_open) {
        messages.Blank(2);
        messages.Line("The analysis ended with one or more warning messages.");
        messages.Blank(2);
        WarningSummary(ctx.warnings, report);
    }
    if (ctx.ErrorNumber == 0 && files_open) {
        messages.Blank();
        messages.Line("The analysis ended normally. ");
        messages.Blank();
        report.Blank();
        report.Line("The analysis ended normally. ");
        report.Blank();
    }
    report.Close();
    ctx.files.plot.Close();
    messages.Close();
    if (ctx.ErrorNumber > 0) return ctx.ErrorNumber;
    if (warned) return ctx.warnings.ResultCode();
    return 0;
}

std::int32_t RunInDirectory(const RunPaths& paths, const std::string& directory, const RunOptions& options) noexcept {
    std::unique_ptr<RunContext> ctx;
    try {
        ctx = std::make_unique<RunContext>();
    } catch (...) {
        WriteToStandardError({"**** Runtime Error No. 90 ****", "",
                              "An internal fault ended the analysis: not enough memory to start the run"});
        return kInternalFaultCode;
    }
    ctx->clock = options.clock;
    try {
        RunSequence(*ctx, paths, directory);
    } catch (const RunStop&) {
        // ErrorNumber is set; the closing lines follow.
    } catch (const std::bad_alloc&) {
        StopOnInternalFault(*ctx, "not enough memory");
    } catch (const std::exception& fault) {
        StopOnInternalFault(*ctx, fault.what());
    } catch (...) {
        StopOnInternalFault(*ctx, "unknown fault");
    }
    try {
        return CloseRun(*ctx);
    } catch (...) {
        return ctx->ErrorNumber > 0 ? ctx->ErrorNumber : kInternalFaultCode;
    }
}

}  // namespace

LocalTime SystemLocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    return LocalTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec};
}

std::int32_t RunAnalysis(const RunPaths& paths, const RunOptions& options) noexcept {
    return RunInDirectory(paths, std::string(), options);
}

std::int32_t RunFromNamesFile(const std::string& directory, const RunOptions& options) noexcept {
    try {
        const std::filesystem::path names_path =
            directory.empty() ? std::filesystem::path("NAMES.DAT") : std::filesystem::path(directory) / "NAMES.DAT";
        std::ifstream names(names_path);
        if (!names.is_open()) {
            WriteToStandardError({"", "", "**** Runtime Error No. 2 ****", "", "Contents of file NAMES.DAT is corrupted."});
            return 202;
        }
        struct LineError {
            std::string_view number;
            std::string_view text;
            std::int32_t code;
        };
        // Runtime Error 4 stops like its sisters, as 204.
        const LineError errors[] = {
            {"3", "The name of the input data file is corrupted.", 203},
            {"4", "The name of the output report file is corrupted.", 204},
            {"5", "The name of the plot output file is corrupted.", 205},
            {"6", "Name of runtime message file is corrupted", 206},
        };
        std::string lines[4];
        for (int i = 0; i < 4; ++i) {
            if (!std::getline(names, lines[i])) {
                const LineError& error = errors[i];
                WriteToStandardError({"", "", "**** Runtime Error No. " + std::string(error.number) + " ****", "",
                                      error.text});
                return error.code;
            }
            if (!lines[i].empty() && lines[i].back() == '\r') lines[i].pop_back();
            if (lines[i].size() > 256) lines[i].resize(256);
        }
        const RunPaths paths{lines[0], lines[1], lines[2], lines[3]};
        return RunInDirectory(paths, directory, options);
    } catch (...) {
        WriteToStandardError({"**** Runtime Error No. 90 ****", "",
                              "An internal fault ended the analysis while reading NAMES.DAT"});
        return kInternalFaultCode;
    }
}

std::string ResultCodeMeaning(std::int32_t code) {
    if (code == 0) return "the analysis ended normally";
    if (code == kWrongInterfaceCode) return "wrong interface code; nothing was run";
    if (code == -300) return "the analysis ended with warnings of more than one kind";
    if (code < 0) return "the analysis ended with warning " + std::to_string(-code);
    if (code == 228) return "computation error 28: the analysis stopped";
    if (code == kInternalFaultCode) return "runtime error 90: an internal fault ended the analysis";
    if (code >= 101 && code <= 199) return "input error " + std::to_string(code - 100) + ": the analysis ended";
    if (code >= 201 && code <= 299) return "runtime error " + std::to_string(code - 200) + ": the analysis ended";
    return "unknown result code";
}

}  // namespace trevasc
