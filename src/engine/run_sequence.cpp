// The run sequence of one analysis: connect the run files, read the input,
// write the opening blocks, echo, convert units, analyse the sections and the
// load cases, summarise, and close with the ending lines and the result code.
#include <cmath>
#include <cstdio>
#include <ctime>
#include <exception>
#include <fstream>
#include <iterator>
#include <memory>
#include <new>
#include <sstream>
#include <system_error>

#include "echo/echo.hpp"
#include "engine/model_text.hpp"
#include "engine/run_sequence.hpp"
#include "input/current_format.hpp"
#include "input/previous_format.hpp"
#include "input/read_input.hpp"
#include "input/reader_support.hpp"
#include "pile/head_stiffness.hpp"
#include "pile/interaction_check.hpp"
#include "pile/load_cases.hpp"
#include "pile/response_summary.hpp"
#include "report/banner.hpp"
#include "report/fortran_format.hpp"
#include "report/plot_file.hpp"
#include "report/report_helpers.hpp"
#include "run/error_stop.hpp"
#include "run/file_identity.hpp"
#include "run/run_context.hpp"
#include "section/interaction_report.hpp"
#include "section/section_driver.hpp"
#include "trevasc/run.hpp"

namespace trevasc::engine {

namespace fmt = report::fmt;
using run::WriteToBoth;
using run::Stop_With_Error;

namespace {

// Runtime Error 91: a report, plot or message file that cannot be created.
constexpr std::int32_t kOutputFileError = 291;
// Runtime Error 50: an output that could not be written, flushed, closed or
// moved into place.
constexpr std::int32_t kOutputWriteError = 250;
// Runtime Error 51: an output that is the input file or another output.
constexpr std::int32_t kCollidingFilesError = 251;
// Runtime Error 52: a NAMES.DAT line longer than a name may be.
constexpr std::int32_t kLongNameError = 252;
constexpr std::size_t kNamesLineLength = 256;

void WriteToStandardError(std::initializer_list<std::string_view> lines) {
    for (std::string_view line : lines) {
        std::fwrite(line.data(), 1, line.size(), stderr);
        std::fputc('\n', stderr);
    }
}

std::string Reason(int error) { return std::generic_category().message(error); }

bool IsBlank(const std::string& text) { return text.find_first_not_of(" \t") == std::string::npos; }

// Names are taken exactly as given: a blank at the end of a name is part of it.
std::filesystem::path Resolve(const std::string& directory, const std::string& name) {
    std::filesystem::path path(name);
    if (path.is_relative() && !directory.empty()) path = std::filesystem::path(directory) / path;
    return path;
}

// One of the four run files: what it is called in messages, the name as
// given and the path as opened.
struct NamedFile {
    std::string_view what;
    const std::string& name;
    std::filesystem::path path;
};

// Runtime Error 51: before any output is opened, no output may be the input
// file or another output (written over, the input would be lost before it is
// read, or two outputs would interleave in one file).
bool RefuseCollidingFiles(run::RunContext& ctx, const NamedFile (&files)[4]) {
    run::FileIdentity identities[4];
    for (int i = 0; i < 4; ++i) identities[i] = run::IdentifyFile(files[i].path);
    for (int later = 1; later < 4; ++later) {
        for (int earlier = 0; earlier < later; ++earlier) {
            if (!run::SameFile(identities[earlier], identities[later])) continue;
            WriteToStandardError({"**** Runtime Error No. 51 ****", "",
                                  "The " + std::string(files[later].what) + " " + files[later].name + " is the " +
                                      (earlier == 0 ? std::string("input data file ")
                                                    : "same file as the " + std::string(files[earlier].what) + " ") +
                                      files[earlier].name + ".",
                                  "Name a different file for each output.  No analysis performed."});
            ctx.ErrorNumber = kCollidingFilesError;
            return true;
        }
    }
    return false;
}

// Input Data Error 25: an input file without a single byte.
[[noreturn]] void StopOnEmptyInput(run::RunContext& ctx) {
    ctx.files.messages.Blank(2);
    ctx.files.messages.Line("**** Input Data Error No. 25 ****");
    ctx.files.messages.Blank();
    ctx.files.messages.Line("Size of input data file is 0 bytes.  No analysis performed.");
    ctx.files.messages.Blank();
    Stop_With_Error(ctx, "INP00025", 125);
}

// Step 2: the four run files. Returns 0 when they are connected, otherwise the
// result code of a run that could not start. The outputs are all opened
// before any of them is changed: the report and the plot file are written
// beside their paths and replace them when the run ends (CloseRun), and the
// message file, which a host may follow during the run, is emptied only once
// the others are open.
std::int32_t ConnectRunFiles(run::RunContext& ctx, const RunPaths& paths, const std::string& directory) {
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
    const NamedFile files[4] = {
        {"input data file", paths.input, ctx.files.input_path},
        {"output report file", paths.report, Resolve(directory, paths.report)},
        {"plot output file", paths.plot, Resolve(directory, paths.plot)},
        {"runtime message file", paths.messages, Resolve(directory, paths.messages)},
    };
    if (RefuseCollidingFiles(ctx, files)) return kCollidingFilesError;

    const bool input_opened = ctx.files.input.Open(ctx.files.input_path);

    struct Output {
        report::OutputChannel& channel;
        report::OutputChannel::Placement placement;
    };
    const Output outputs[] = {
        {ctx.files.report, report::OutputChannel::Placement::kReplaceAtClose},
        {ctx.files.plot, report::OutputChannel::Placement::kReplaceAtClose},
        {ctx.files.messages, report::OutputChannel::Placement::kInPlace},
    };
    for (int k = 0; k < 3; ++k) {
        report::OutputChannel& channel = outputs[k].channel;
        const NamedFile& file = files[k + 1];
        if (channel.Connect(file.path, outputs[k].placement, ctx.files.writer_wrap) &&
            (k < 2 || channel.Start())) {
            continue;
        }
        const std::string text = "The " + std::string(file.what) + " " + file.name + " could not be created: " +
                                 Reason(channel.Error()) + ". No analysis performed.";
        WriteToStandardError({"**** Runtime Error No. 91 ****", "", text});
        for (const Output& output : outputs) output.channel.Abandon();
        ctx.ErrorNumber = kOutputFileError;
        return kOutputFileError;
    }

    if (!input_opened || (ctx.files.input.AtEnd() && ctx.files.input.ReadError() != 0)) {
        WriteToBoth(ctx, {"", "**** Input Data Error No. 81 ****", "",
                          "The input data file " + paths.input + " could not be opened or read.",
                          "Check that the file exists and can be read.  No analysis performed.", ""});
        Stop_With_Error(ctx, input::kInputFileError);
    }
    if (ctx.files.input.HoldsNoBytes()) StopOnEmptyInput(ctx);
    return 0;
}

// Step 2 of a run from text: the outputs are strings of the channels and the
// input is the text itself; nothing can fail to open.
// Each text reserves what a run of one load case along the longest pile
// writes (report about 12 kB, plot records about 90 kB at 501 nodes, messages
// a few lines per iteration), so that such a run never copies its texts as
// they grow; longer runs grow from there.
constexpr std::size_t kReportTextRoom = 32 * 1024;
constexpr std::size_t kPlotTextRoom = 120 * 1024;
constexpr std::size_t kMessageTextRoom = 8 * 1024;

void ConnectTextRun(run::RunContext& ctx, std::string_view input, const RunPaths& names) {
    ctx.files.names = names;
    ctx.files.report.OpenInMemory(kReportTextRoom);
    ctx.files.plot.OpenInMemory(kPlotTextRoom);
    ctx.files.messages.OpenInMemory(kMessageTextRoom);
    ctx.files.input = input::InputFile(std::string(input));
    if (ctx.files.input.HoldsNoBytes()) StopOnEmptyInput(ctx);
}

// Runtime Error 41: a section curve with a value that is not a finite number.
constexpr std::int32_t kNonFiniteSectionCurveError = 241;

// The last guard on the curves of pile section k: section data that no pile
// can have (a dimension near the limits of the number range) may overflow in
// the moment-curvature analysis. Every point and the nominal moment capacity
// must be finite before the pile model uses them.
void CheckSectionCurvesAreFinite(run::RunContext& ctx, int k) {
    const std::vector<model::SectionStiffness>& sections = ctx.stiffness.Sections;
    if (k < 1 || k > static_cast<int>(sections.size())) return;
    const model::SectionStiffness& section = sections[static_cast<std::size_t>(k - 1)];
    int t = 0;
    for (const model::ThrustLevelCurve& level : section.Levels) {
        ++t;
        int bad_point = 0;
        if (!std::isfinite(level.AxialThrust) || !std::isfinite(level.NominalMomentCapacity)) bad_point = -1;
        int i = 0;
        for (const model::StiffnessPoint& point : level.Points) {
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

void SectionAnalysisLoop(run::RunContext& ctx, bool write_plot_line2) {
    model::ProblemData& problem = ctx.problem;
    const int sections = static_cast<int>(problem.Sections.size());
    if (write_plot_line2) report::WritePlotRecord(ctx.files.plot, plot::kLine2, {sections});
    report::OutputChannel& report = ctx.files.report;
    for (int k = 1; k <= sections; ++k) {
        ctx.files.messages.Line("Computing nonlinear bending stiffness of section " + fmt::I0(k));
        if (k == 1) {
            report.Line(report::kRule80);
            report.Line("Computations of Nominal Moment Capacity and Nonlinear Bending Stiffness");
            report.Line(report::kRule80);
            // The thrusts of an EI-only run come from its input list; a run
            // with load cases takes them from the cases, whether or not it
            // also computes interaction diagrams.
            if (problem.Options.ComputeInteraction && problem.Options.AnalysisMode == 2) {
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
        section::AnalyzeSection(ctx, k);
        CheckSectionCurvesAreFinite(ctx, k);
        ctx.files.messages.Line("Completed computing nonlinear bending stiffness of section " + fmt::I0(k));
        ctx.files.messages.Blank();
    }
}

// Steps 3 to 13, once the run files are connected.
void AnalyseConnected(run::RunContext& ctx, bool check_only) {
    // Step 3: the version tag selects the reader.
    const std::string version_tag = input::ReadVersionTag(ctx.files.input);
    input::ReadInputOfFormat(ctx, version_tag);

    model::ProblemData& problem = ctx.problem;
    model::AnalysisOptions& options = problem.Options;
    ctx.files.messages.Line("Input of data completed");
    // Only US customary input is converted (feet, psf, pcf to inches and
    // pounds); SI and GENERAL input is used as read, so for them the
    // conversion is marked as done and neither call below touches a value.
    bool uscs_conversion_done = options.Units != model::UnitSystem::USCS;
    ctx.labels = model::MakeUnitLabels(options.Units);

    report::OutputChannel& report = ctx.files.report;
    report.Rewind();
    report::WriteBanner(report, kVersionLabel);
    report::WriteFilesBlock(report, ctx.files.names);
    report::WriteDateAndTime(report, ctx.clock ? ctx.clock() : SystemLocalTime());

    report::WritePlotRecord(
        ctx.files.plot, plot::kLine1,
        {options.AnalysisMode, static_cast<int>(options.Units), problem.KYL, options.ComputeKmatrix ? 1 : 0});

    echo::EchoInputData(ctx);
    if (check_only) return;
    if (options.Units == model::UnitSystem::USCS) model::ConvertUscsUnits(problem, uscs_conversion_done);

    if (options.AnalysisMode == 2) {
        SectionAnalysisLoop(ctx, true);
        pile::FinishInteractionWithoutLoadCases(ctx);
        return;
    }
    // Close the soil profile: the layers follow each other without gaps from
    // the ground surface down, in the depths the analysis uses.
    model::MakeLayersContiguous(problem);
    report::WritePlotRecord(ctx.files.plot, plot::kLine2, {problem.Sections.size()});
    if (version_tag == "TREVAS6") model::ConvertUscsUnits(problem, uscs_conversion_done);
    pile::BuildNodeDepths(ctx);
    // Mode 5 analyses its sections too: their curves are the nonlinear EI the
    // mode asks for.
    if (options.AnalysisMode == 3 || options.AnalysisMode == 5) SectionAnalysisLoop(ctx, false);

    pile::RunLoadCases(ctx);
    pile::WriteResponseSummary(ctx);
    pile::CheckLoadCasesAgainstInteraction(ctx);
    if (options.ComputeKmatrix) {
        ctx.files.messages.Line("Computing pile-head stiffness matrix components.");
        ctx.files.messages.Blank();
        pile::ComputePileHeadStiffness(ctx);
    }
    // The interaction records close the plot file, after every record the
    // readers of files without them expect.
    section::WriteInteractionPlotRecords(ctx, true);
}

// A fault that is not an input or analysis error: its own message, then the
// ordinary stop lines, so that the host sees a runtime error and the files are
// closed as after any other error.
void StopOnInternalFault(run::RunContext& ctx, std::string_view what) {
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
    } catch (const run::RunStop&) {
    } catch (...) {
        ctx.ErrorNumber = kInternalFaultCode;
    }
}

// Runtime Error 50: an output could not be written. Its message goes to
// standard error, since the files may be what cannot hold it, and to the
// message file when that still works. Unless they were already in place, the
// report and the plot file of the run are dropped, so the files of an earlier
// run stay as they were.
std::int32_t StopOnOutputFault(run::RunContext& ctx, bool results_in_place) {
    struct Channel {
        report::OutputChannel& channel;
        std::string_view what;
        const std::string& name;
    };
    const Channel channels[] = {
        {ctx.files.report, "output report file", ctx.files.names.report},
        {ctx.files.plot, "plot output file", ctx.files.names.plot},
        {ctx.files.messages, "runtime message file", ctx.files.names.messages},
    };
    std::string problem;
    for (const Channel& c : channels) {
        if (!c.channel.Failed()) continue;
        const char* step = c.channel.FailedAt() == report::OutputChannel::Failure::kReplace
                               ? " could not be put in place: "
                               : " could not be written: ";
        problem = "The " + std::string(c.what) + " " + c.name + step + Reason(c.channel.Error()) + ".";
        break;
    }
    const std::string kept =
        results_in_place
            ? std::string("The report and plot output file of this run are complete.")
            : std::string("The report and plot output file of this run were not kept; files of an earlier run stay "
                          "unchanged.");
    ctx.files.report.Abandon();
    ctx.files.plot.Abandon();
    WriteToStandardError({"**** Runtime Error No. 50 ****", "", problem, kept});
    report::OutputChannel& messages = ctx.files.messages;
    if (messages.IsOpen() && !messages.Failed()) {
        messages.Blank(2);
        messages.Line("**** Runtime Error No. 50 ****");
        messages.Blank();
        messages.Line(problem);
        messages.Line(kept);
        messages.Blank();
        messages.Line("The analysis ended due to a runtime error. ");
    }
    messages.Close();
    ctx.ErrorNumber = kOutputWriteError;
    return kOutputWriteError;
}

// Steps 14 to 17: closing lines, warning summary, result code. The report
// and the plot file are written out and checked before the message file
// receives its ending lines, so that it never says a run ended normally when
// its results could not be written; they replace the files of an earlier run
// only when all three outputs were written.
std::int32_t CloseRun(run::RunContext& ctx) {
    report::OutputChannel& report = ctx.files.report;
    report::OutputChannel& plot = ctx.files.plot;
    report::OutputChannel& messages = ctx.files.messages;
    if (!report.IsOpen() && !messages.IsOpen()) return ctx.ErrorNumber;  // the run never started

    const bool input_error = ctx.ErrorNumber >= 100 && ctx.ErrorNumber <= 199;
    const bool runtime_error = ctx.ErrorNumber >= 200 && ctx.ErrorNumber <= 299;
    const bool warned = ctx.warnings.AnyRecorded();
    if (input_error) {
        report.Blank();
        report.Line("The analysis ended due to an input error. ");
    } else if (runtime_error) {
        report.Blank();
        report.Line("The analysis ended due to a runtime error. ");
    }
    if (warned) report::WarningSummary(ctx.warnings, report);
    if (ctx.ErrorNumber == 0) {
        report.Blank();
        report.Line("The analysis ended normally. ");
        report.Blank();
    }
    // The message file says how the run ended only once the results are in
    // place.
    const bool report_written = report.Finish();
    const bool plot_written = plot.Finish();
    if (!report_written || !plot_written || !messages.Flush()) return StopOnOutputFault(ctx, false);
    if (!plot.Commit() || !report.Commit()) return StopOnOutputFault(ctx, false);

    if (input_error) {
        messages.Blank();
        messages.Line("The analysis ended due to an input error. ");
    } else if (runtime_error) {
        messages.Blank();
        messages.Line("The analysis ended due to a runtime error. ");
    }
    if (warned) {
        messages.Blank(2);
        messages.Line("The analysis ended with one or more warning messages.");
        messages.Blank(2);
    }
    if (ctx.ErrorNumber == 0) {
        messages.Blank();
        messages.Line("The analysis ended normally. ");
        messages.Blank();
    }
    if (!messages.Finish()) return StopOnOutputFault(ctx, true);
    if (ctx.ErrorNumber > 0) return ctx.ErrorNumber;
    if (warned) return ctx.warnings.ResultCode();
    return 0;
}

// Runs `sequence` on `ctx` with every stop and fault caught, then closes the
// run and returns its result code.
template <typename Sequence>
std::int32_t RunGuarded(run::RunContext& ctx, Sequence&& sequence) noexcept {
    try {
        sequence();
    } catch (const run::RunStop&) {
        // ErrorNumber is set; the closing lines follow.
    } catch (const std::bad_alloc&) {
        StopOnInternalFault(ctx, "not enough memory");
    } catch (const std::exception& fault) {
        StopOnInternalFault(ctx, fault.what());
    } catch (...) {
        StopOnInternalFault(ctx, "unknown fault");
    }
    try {
        return CloseRun(ctx);
    } catch (...) {
        return ctx.ErrorNumber > 0 ? ctx.ErrorNumber : kInternalFaultCode;
    }
}

std::unique_ptr<run::RunContext> NewContext(const RunOptions& options) noexcept {
    std::unique_ptr<run::RunContext> ctx;
    try {
        // Default-initialised: every member has its own initialiser, so the
        // 190 kB of the context are not cleared once more as a whole before
        // the members set their values.
        ctx.reset(new run::RunContext);
        ctx->clock = options.clock;
    } catch (...) {
        WriteToStandardError({"**** Runtime Error No. 90 ****", "",
                              "An internal fault ended the analysis: not enough memory to start the run"});
        ctx.reset();
    }
    return ctx;
}

std::int32_t RunInDirectory(const RunPaths& paths, const std::string& directory, const RunOptions& options,
                            const report::OutputChannel::WriterWrap& wrap = {}) noexcept {
    const std::unique_ptr<run::RunContext> ctx = NewContext(options);
    if (!ctx) return kInternalFaultCode;
    return RunGuarded(*ctx, [&] {
        ctx->files.writer_wrap = wrap;
        if (ConnectRunFiles(*ctx, paths, directory) != 0) return;
        AnalyseConnected(*ctx, options.check_only);
    });
}

}  // namespace

std::int32_t RunWithWriterWrap(const RunPaths& paths, const RunOptions& options,
                               const report::OutputChannel::WriterWrap& wrap) noexcept {
    return RunInDirectory(paths, std::string(), options, wrap);
}

ModelReadResult ReadModelText(std::string_view input) noexcept {
    ModelReadResult result;
    std::string version_tag;
    const std::unique_ptr<run::RunContext> ctx = NewContext(RunOptions{});
    if (!ctx) {
        result.code = kInternalFaultCode;
        return result;
    }
    result.code = RunGuarded(*ctx, [&] {
        ConnectTextRun(*ctx, input, DefaultTextRunNames());
        // The tag is known also when reading stops with an error.
        version_tag = input::ReadVersionTag(ctx->files.input);
        input::ReadInputOfFormat(*ctx, version_tag);
    });
    try {
        result.problem = ctx->problem;
        result.version_tag = version_tag;
        result.report = ctx->files.report.TakeMemoryText();
        result.messages = ctx->files.messages.TakeMemoryText();
    } catch (...) {
        result = ModelReadResult{};
        result.code = kInternalFaultCode;
    }
    return result;
}

}  // namespace trevasc::engine

// The exported entries of run.hpp.
namespace trevasc {

LocalTime SystemLocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    return LocalTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec};
}

std::int32_t RunAnalysis(const RunPaths& paths, const RunOptions& options) noexcept {
    return engine::RunInDirectory(paths, std::string(), options);
}

std::int32_t RunFromNamesFile(const std::string& directory, const RunOptions& options) noexcept {
    using engine::kNamesLineLength;
    using engine::WriteToStandardError;
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
            std::string_view what;
        };
        // Runtime Error 4 stops like its sisters, as 204.
        const LineError errors[] = {
            {"3", "The name of the input data file is corrupted.", 203, "input data file"},
            {"4", "The name of the output report file is corrupted.", 204, "output report file"},
            {"5", "The name of the plot output file is corrupted.", 205, "plot output file"},
            {"6", "Name of runtime message file is corrupted", 206, "runtime message file"},
        };
        std::string lines[4];
        for (int i = 0; i < 4; ++i) {
            const LineError& error = errors[i];
            if (!std::getline(names, lines[i])) {
                WriteToStandardError({"", "", "**** Runtime Error No. " + std::string(error.number) + " ****", "",
                                      error.text});
                return error.code;
            }
            // Only the line end is dropped: a name is taken exactly, blanks
            // included, and a name too long to be taken whole is refused
            // rather than cut into the name of some other file.
            if (!lines[i].empty() && lines[i].back() == '\r') lines[i].pop_back();
            if (lines[i].size() > kNamesLineLength) {
                WriteToStandardError(
                    {"**** Runtime Error No. 52 ****", "",
                     "Line " + std::to_string(i + 1) + " of NAMES.DAT is longer than " +
                         std::to_string(kNamesLineLength) + " characters, so the name of the " +
                         std::string(error.what) + " cannot be taken whole:",
                     "    " + lines[i].substr(0, kNamesLineLength) + " ...",
                     "Use a shorter path (for example a relative one).  No analysis performed."});
                return engine::kLongNameError;
            }
        }
        const RunPaths paths{lines[0], lines[1], lines[2], lines[3]};
        return engine::RunInDirectory(paths, directory, options);
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
    if (code == engine::kOutputWriteError) {
        return "runtime error 50: an output file could not be written; nothing was replaced";
    }

    if (code == engine::kCollidingFilesError) return "runtime error 51: an output is the input file or another output";
    if (code == engine::kLongNameError) return "runtime error 52: a NAMES.DAT line is longer than 256 characters";
    if (code == engine::kOutputFileError) return "runtime error 91: an output file could not be created";
    if (code >= 101 && code <= 199) return "input error " + std::to_string(code - 100) + ": the analysis ended";
    if (code >= 201 && code <= 299) return "runtime error " + std::to_string(code - 200) + ": the analysis ended";
    return "unknown result code";
}

RunPaths DefaultTextRunNames() {
    return RunPaths{"input.trv", "report.txt", "plot.txt", "messages.txt"};
}

TextRunResult RunText(std::string_view input, const RunOptions& options, const RunPaths& names) noexcept {
    TextRunResult result;
    const std::unique_ptr<run::RunContext> ctx = engine::NewContext(options);
    if (!ctx) {
        result.code = kInternalFaultCode;
        return result;
    }
    result.code = engine::RunGuarded(*ctx, [&] {
        engine::ConnectTextRun(*ctx, input, names);
        engine::AnalyseConnected(*ctx, options.check_only);
    });
    try {
        result.report = ctx->files.report.TakeMemoryText();
        result.plot = ctx->files.plot.TakeMemoryText();
        result.messages = ctx->files.messages.TakeMemoryText();
    } catch (...) {
        result = TextRunResult{};
        result.code = kInternalFaultCode;
    }
    return result;
}

}  // namespace trevasc
