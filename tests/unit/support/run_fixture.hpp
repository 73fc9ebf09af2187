// Runs the engine on an input text in a fresh temporary directory, with a
// fixed clock, and hands back what it wrote.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "trevasc/run.hpp"

namespace trevasc::testing {

// The clock of every test run: 5 March 2024, 09:07:03.
LocalTime FixedTime();
// Run options with that clock.
RunOptions FixedClock();

struct RunOutput {
    std::int32_t code = 0;
    std::string report;
    std::string plot;
    std::string messages;
    std::string input_directory;  // as the report prints it, with its trailing separator
    std::vector<std::string> ReportLines() const;
    std::vector<std::string> PlotLines() const;
    std::vector<std::string> MessageLines() const;
};

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& contents);
std::vector<std::string> SplitLines(const std::string& text);

// A directory removed with its contents when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Writes `input` as input.trv in a temporary directory and runs the C++ entry
// with the outputs report.txt, plot.txt and messages.txt beside it.
RunOutput RunInput(const std::string& input);
// The same for an input file that already exists.
RunOutput RunInputFile(const std::filesystem::path& input_file);

// A small valid current-format file: title and options only. `units` is the
// units line ("Units USCS", ...). By default it asks for section analysis
// only, which with no sections is a complete run; with `ei_only` false it
// asks for pile response, which a file without sections and soil cannot give.
std::string MinimalInput(const std::string& units = "Units USCS", bool ei_only = true);

}  // namespace trevasc::testing
