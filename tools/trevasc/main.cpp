// trevasc: the command-line host of the engine. It does what a host
// application does (writes NAMES.DAT beside the outputs, calls TRVRUN there,
// shows the result) for a person at a terminal or a script.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "trevasc/run.hpp"
#include "trevasc/trevasc.h"

namespace {

namespace fs = std::filesystem;

constexpr int kExitOk = 0;
constexpr int kExitInputError = 2;
constexpr int kExitRuntimeError = 3;
constexpr int kExitUsage = 64;
constexpr std::size_t kNamesLineLength = 256;

int ExitStatusFor(int code) {
    if (code <= 0) return kExitOk;
    if (code >= 101 && code <= 199) return kExitInputError;
    return kExitRuntimeError;
}

// Copies the warning summary of the report to standard error.
void ListWarnings(const fs::path& report_path) {
    std::ifstream report(report_path);
    std::string line;
    bool in_summary = false;
    while (std::getline(report, line)) {
        if (line.find("Summary of Warning Messages") != std::string::npos) {
            in_summary = true;
            std::cerr << "Warnings reported by the analysis:\n";
            continue;
        }
        if (!in_summary) continue;
        if (line.rfind("The analysis ended", 0) == 0) break;
        if (line.find_first_not_of('-') == std::string::npos && !line.empty()) continue;
        std::cerr << line << '\n';
    }
}

int RunCommand(const std::string& input_name, const std::string& out_dir_option) {
    const fs::path input = fs::absolute(input_name);
    std::error_code ec;
    if (!fs::is_regular_file(input, ec)) {
        std::cerr << "trevasc: input file not found: " << input_name << '\n';
        return kExitInputError;
    }
    const fs::path out_dir = out_dir_option.empty() ? input.parent_path() : fs::absolute(out_dir_option);
    fs::create_directories(out_dir, ec);
    if (!fs::is_directory(out_dir, ec)) {
        std::cerr << "trevasc: output directory cannot be created: " << out_dir.string() << '\n';
        return kExitRuntimeError;
    }
    const std::string stem = input.stem().string();
    const std::string report = stem + ".report.txt";
    const std::string plot = stem + ".plot.txt";
    const std::string messages = stem + ".messages.txt";
    // The full input path, so that the report shows where the input lives;
    // the bare name when the full path is too long for the run-control file.
    std::string input_line = input.string();
    if (input_line.size() > kNamesLineLength && input.parent_path() == out_dir) input_line = input.filename().string();
    for (const std::string* name : std::initializer_list<const std::string*>{&input_line, &report, &plot, &messages}) {
        if (name->size() > kNamesLineLength) {
            std::cerr << "trevasc: the path " << *name << " is longer than the " << kNamesLineLength
                      << " characters a run-control file can hold; use a shorter path or --out-dir\n";
            return kExitInputError;
        }
    }
    {
        std::ofstream names(out_dir / "NAMES.DAT");
        names << input_line << '\n' << report << '\n' << plot << '\n' << messages << '\n';
        if (!names) {
            std::cerr << "trevasc: cannot write NAMES.DAT in " << out_dir.string() << '\n';
            return kExitRuntimeError;
        }
    }
    const fs::path previous = fs::current_path();
    fs::current_path(out_dir);
    const int code = TRVRUN(trevasc::kInterfaceCode);
    fs::current_path(previous);

    std::cout << "Result code " << code << ": " << trevasc::ResultCodeMeaning(code) << '\n';
    std::cout << "Report:           " << (out_dir / report).string() << '\n';
    std::cout << "Plot output:      " << (out_dir / plot).string() << '\n';
    std::cout << "Runtime messages: " << (out_dir / messages).string() << '\n';
    if (code < 0) ListWarnings(out_dir / report);
    return ExitStatusFor(code);
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Trevasc: lateral analysis of single piles and drilled shafts by the p-y method"};
    app.set_version_flag("--version", std::string("trevasc ") + trevasc::kVersionLabel);
    app.require_subcommand(1);

    std::string input;
    std::string out_dir;
    CLI::App* run = app.add_subcommand("run", "Analyse one input file");
    run->add_option("INPUT", input, "Input file (current or previous format)")->required();
    run->add_option("--out-dir", out_dir, "Directory for NAMES.DAT and the three output files (default: the input's)");

    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return kExitUsage;
    }
    try {
        if (run->parsed()) return RunCommand(input, out_dir);
    } catch (const std::exception& e) {
        std::cerr << "trevasc: " << e.what() << '\n';
        return kExitRuntimeError;
    }
    return kExitUsage;
}
