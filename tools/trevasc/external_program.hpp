// Finding and running a helper program (gnuplot) without a shell: the
// arguments go to the program as they are, whatever characters the paths hold.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace trevasc::host {

// The first executable file called `name` in the directories of PATH.
std::optional<std::filesystem::path> FindOnPath(const std::string& name);

struct ProgramOutcome {
    bool started = false;  // false when the program could not be run at all
    int exit_status = -1;  // the exit status, or -1 when it ended by a signal
    std::string output;    // what it wrote to standard output and standard error
};

// Runs `program` with `arguments` in `working_directory` and waits for it.
// Standard input is /dev/null.
ProgramOutcome RunProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                          const std::filesystem::path& working_directory);

}  // namespace trevasc::host
