#include "check_command.hpp"

#include <filesystem>
#include <system_error>

#include "trevasc/check.hpp"

namespace trevasc::host {
namespace {

namespace fs = std::filesystem;

constexpr int kExitOk = 0;
constexpr int kExitInputError = 2;
constexpr int kExitRuntimeError = 3;

std::string_view KindText(FindingKind kind) {
    switch (kind) {
        case FindingKind::kError: return "error";
        case FindingKind::kWarning: return "warning";
        case FindingKind::kNote: return "note";
    }
    return "note";
}

void PrintFindings(const std::string& input_name, const InputCheck& check, std::ostream& err) {
    for (const InputFinding& finding : check.findings) {
        err << input_name;
        if (finding.line > 0) err << ':' << finding.line;
        err << ": " << KindText(finding.kind) << ": " << finding.text << '\n';
    }
}

constexpr std::string_view kTagNote =
    "the first line is neither TREVAS6 (the current format) nor TREVAS5 (the previous format), so the file was read "
    "in the oldest format";

}  // namespace

CLI::App* AddCheckCommand(CLI::App& app, std::string& input) {
    CLI::App* command = app.add_subcommand("check", "Check an input file without analysing it");
    command->add_option("INPUT", input, "Input file")->required();
    return command;
}

std::string InputPathProblem(const std::string& input_name) {
    std::error_code ec;
    const fs::path path(input_name);
    if (fs::is_directory(path, ec)) return input_name + " is a folder, not an input file";
    if (!fs::exists(path, ec)) return "input file not found: " + input_name;
    if (!fs::is_regular_file(path, ec)) return input_name + " is not a regular file";
    return {};
}

int CheckCommand(const std::string& input_name, std::ostream& out, std::ostream& err) {
    if (const std::string problem = InputPathProblem(input_name); !problem.empty()) {
        err << "trevasc: " << problem << '\n';
        return kExitInputError;
    }
    const InputCheck check = CheckInput(input_name);
    PrintFindings(input_name, check, err);
    if (check.code >= 101 && check.code <= 199) return kExitInputError;
    if (check.code != 0) return kExitRuntimeError;
    out << input_name << " is understood as:\n";
    for (const std::string& line : check.summary) out << "  " << line << '\n';
    return kExitOk;
}

void NoteUnknownFormat(const std::string& input_name, std::ostream& err) {
    const InputCheck check = CheckInput(input_name);
    if (!check.oldest_format) return;
    for (const InputFinding& finding : check.findings) {
        if (finding.kind == FindingKind::kNote && finding.text.rfind(kTagNote, 0) == 0) {
            err << "trevasc: note: " << input_name << ": " << finding.text << '\n';
            return;
        }
    }
}

}  // namespace trevasc::host
