#include "input/reader_harness.hpp"

#include <algorithm>

#include "input/current_format.hpp"
#include "input/list_directed.hpp"
#include "run/error_stop.hpp"
#include "run/run_context.hpp"
#include "support/run_fixture.hpp"

namespace trevasc::testing {

std::vector<std::string> ReadOutcome::ReportLines() const { return SplitLines(report); }
std::vector<std::string> ReadOutcome::MessageLines() const { return SplitLines(messages); }

ReadOutcome ReadBlocks(const std::string& blocks) {
    TempDir dir;
    ReadOutcome outcome;
    {
        auto ctx = std::make_unique<run::RunContext>();
        ctx->files.report.Open(dir.path() / "report.txt");
        ctx->files.plot.Open(dir.path() / "plot.txt");
        ctx->files.messages.Open(dir.path() / "messages.txt");
        ctx->files.input = input::InputFile(blocks);
        try {
            input::ReadCurrentFormat(*ctx);
        } catch (const run::RunStop&) {
        }
        ctx->files.report.Close();
        ctx->files.plot.Close();
        ctx->files.messages.Close();
        outcome.error = ctx->ErrorNumber;
        outcome.problem = ctx->problem;
    }
    outcome.report = ReadFile(dir.path() / "report.txt");
    outcome.messages = ReadFile(dir.path() / "messages.txt");
    return outcome;
}

std::string OptionsBlock(const OptionSwitches& s) {
    auto yes_no = [](bool value) { return value ? std::string(" YES\n") : std::string(" NO\n"); };
    std::string text = "OPTIONS\n" + s.units + "\n";
    text += "UseLRFD" + yes_no(s.use_lrfd);
    text += "ComputeKmatrix NO\nUseTipShear NO\n";
    text += "UseSoilMovement" + yes_no(s.soil_movement);
    text += "UsePYModifiers NO\nComputeEIOnly NO\nLoading STATIC     0\n";
    text += "MaxIterations 100\nMaxDeflection 100.0\nTolerance 1.0E-5\nIncrements 100\n";
    text += "PrintSummaryOnly NO\nPrintIncrement 1\n";
    text += "PrintPYCurves" + yes_no(s.print_py_curves);
    text += "ComputeInteraction" + yes_no(s.compute_interaction);
    if (s.compute_interaction) text += "DesignCode AASHTO\n";
    return text;
}

bool ContainsLines(const std::vector<std::string>& lines, const std::vector<std::string>& expected) {
    return std::search(lines.begin(), lines.end(), expected.begin(), expected.end()) != lines.end();
}

}  // namespace trevasc::testing
