// Runs the current-format reader alone on a text, so that tests can look at
// what it stored in ProblemData as well as at what it wrote.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/problem_data.hpp"

namespace trevasc::testing {

struct ReadOutcome {
    std::int32_t error = 0;  // ErrorNumber when the reader returned or stopped
    model::ProblemData problem;
    std::string report;
    std::string messages;
    std::vector<std::string> ReportLines() const;
    std::vector<std::string> MessageLines() const;
};

// `blocks` is the input file after its "TREVAS6" line, up to and including END.
ReadOutcome ReadBlocks(const std::string& blocks);

// An OPTIONS block (keyword line included) with the given units line and the
// switches that change what the other blocks read.
struct OptionSwitches {
    std::string units = "Units USCS";
    bool use_lrfd = false;
    bool soil_movement = false;
    bool print_py_curves = false;
    bool compute_interaction = false;
};
std::string OptionsBlock(const OptionSwitches& switches = {});

// True when `expected` occurs in `lines` as consecutive lines.
bool ContainsLines(const std::vector<std::string>& lines, const std::vector<std::string>& expected);

}  // namespace trevasc::testing
