// `trevasc check INPUT`: the engine's own reading and echo checks of an input
// file, without an analysis, reported as FILE:LINE: messages, followed by a
// short account of how the file was understood.
#pragma once

#include <CLI/CLI.hpp>
#include <ostream>
#include <string>

namespace trevasc::host {

// Registers `check INPUT`, filling `input`.
CLI::App* AddCheckCommand(CLI::App& app, std::string& input);

// Prints the findings to `err` and the account to `out`; returns the exit
// status: 0 clean (warnings allowed), 2 an input error, 3 a fault of the check.
int CheckCommand(const std::string& input_name, std::ostream& out, std::ostream& err);

// Why `input_name` cannot be read as an input file ("... is a folder, not an
// input file"), or empty when it is a regular file.
std::string InputPathProblem(const std::string& input_name);

// After a run that ended with an input error: when the file's first line is
// neither version tag and reading failed within its first lines, says that the
// file may not be an input at all and which tags are expected.
void NoteUnknownFormat(const std::string& input_name, std::ostream& err);

}  // namespace trevasc::host
