// All state of one analysis. Nothing mutable lives outside it, so the engine
// can be called again, and from several threads, each with its own context.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "model/pile_model.hpp"
#include "model/problem_data.hpp"
#include "model/soil_state.hpp"
#include "model/stiffness_table.hpp"
#include "model/units.hpp"
#include "run/input_file.hpp"
#include "report/output_channel.hpp"
#include "report/warnings.hpp"
#include "trevasc/run.hpp"

namespace trevasc::run {

struct RunFiles {
    // Paths as named by the host (printed in the files block) ...
    RunPaths names;
    // ... and as opened (relative names resolved against the run directory).
    std::filesystem::path input_path;
    InputFile input;                 // the input data file, read as a stream
    report::OutputChannel report;    // the output report
    report::OutputChannel plot;      // the plot output file
    report::OutputChannel messages;  // the runtime message file
    // Every output writer of the run passes through this when it is set.
    report::OutputChannel::WriterWrap writer_wrap;
};

struct RunContext {
    model::ProblemData problem;
    model::UnitLabels labels;
    report::WarningRegistry warnings;
    RunFiles files;
    model::PileModel pile;                  // node arrays of the current case
    model::SoilState soil;                  // layering correction, rock bookkeeping, report mode
    model::SectionStiffnessTable stiffness;
    model::CaseResultsTable cases;          // head response of every case
    std::int32_t ErrorNumber = 0;
    Clock clock;

    // The input line of each value read, by what the value is ("the outside
    // diameter of section 1"), so that a check made after reading can name
    // the line that holds the value it refuses.
    std::map<std::string, int, std::less<>> input_lines;
};

}  // namespace trevasc::run
