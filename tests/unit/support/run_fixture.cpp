#include "support/run_fixture.hpp"

#include <fstream>
#include <random>
#include <sstream>

namespace trevasc::testing {

LocalTime FixedTime() { return LocalTime{2024, 3, 5, 9, 7, 3}; }

RunOptions FixedClock() {
    RunOptions options;
    options.clock = FixedTime;
    return options;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary);
    out << contents;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

std::vector<std::string> RunOutput::ReportLines() const { return SplitLines(report); }
std::vector<std::string> RunOutput::PlotLines() const { return SplitLines(plot); }
std::vector<std::string> RunOutput::MessageLines() const { return SplitLines(messages); }

TempDir::TempDir() {
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (;;) {
        const auto candidate = std::filesystem::temp_directory_path() / ("trevasc-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

RunOutput RunInputFile(const std::filesystem::path& input_file) {
    TempDir dir;
    RunPaths paths{input_file.string(), (dir.path() / "report.txt").string(), (dir.path() / "plot.txt").string(),
                   (dir.path() / "messages.txt").string()};
    RunOptions options;
    options.clock = FixedTime;
    RunOutput output;
    output.code = RunAnalysis(paths, options);
    output.input_directory = input_file.parent_path().string() + "/";
    output.report = ReadFile(paths.report);
    output.plot = ReadFile(paths.plot);
    output.messages = ReadFile(paths.messages);
    return output;
}

RunOutput RunInput(const std::string& input) {
    TempDir dir;
    const auto input_file = dir.path() / "input.trv";
    WriteFile(input_file, input);
    return RunInputFile(input_file);
}

std::string MinimalInput(const std::string& units, bool ei_only) {
    return "TREVAS6\n"
           "TITLE\n"
           "Test problem\n\n\n\n\n"
           "OPTIONS\n" +
           units +
           "\n"
           "UseLRFD NO\n"
           "ComputeKmatrix NO\n"
           "UseTipShear NO\n"
           "UseSoilMovement NO\n"
           "UsePYModifiers NO\n"
           + std::string(ei_only ? "ComputeEIOnly YES\n" : "ComputeEIOnly NO\n") +
           
           "Loading STATIC     0\n"
           "MaxIterations 100\n"
           "MaxDeflection 100.0\n"
           "Tolerance 1.0E-5\n"
           "Increments 100\n"
           "PrintSummaryOnly NO\n"
           "PrintIncrement 1\n"
           "PrintPYCurves NO\n"
           "ComputeInteraction NO\n"
           "END\n";
}

}  // namespace trevasc::testing
