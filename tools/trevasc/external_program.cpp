#include "external_program.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace trevasc::host {

namespace fs = std::filesystem;

std::optional<fs::path> FindOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    if (path == nullptr) return std::nullopt;
    std::string directories(path);
    std::size_t start = 0;
    while (start <= directories.size()) {
        std::size_t end = directories.find(':', start);
        if (end == std::string::npos) end = directories.size();
        // An empty entry means the current directory.
        const fs::path directory = end > start ? fs::path(directories.substr(start, end - start)) : fs::path(".");
        const fs::path candidate = directory / name;
        std::error_code ec;
        if (fs::is_regular_file(candidate, ec) && ::access(candidate.c_str(), X_OK) == 0) return candidate;
        start = end + 1;
    }
    return std::nullopt;
}

ProgramOutcome RunProgram(const fs::path& program, const std::vector<std::string>& arguments,
                          const fs::path& working_directory) {
    ProgramOutcome outcome;
    // The program's output goes to a file beside its work, read back afterwards.
    std::error_code ec;
    std::string capture_template = (fs::temp_directory_path(ec) / "trevasc-program-XXXXXX").string();
    char* capture_name = capture_template.data();
    const int capture = ::mkstemp(capture_name);
    if (capture < 0) {
        outcome.output = "cannot create a temporary file for the output of " + program.string();
        return outcome;
    }
    std::vector<std::string> argv_storage;
    argv_storage.push_back(program.string());
    argv_storage.insert(argv_storage.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : argv_storage) argv.push_back(argument.data());
    argv.push_back(nullptr);

    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        // Only async-signal-safe calls from here until exec.
        const int null_input = ::open("/dev/null", O_RDONLY);
        if (null_input >= 0) ::dup2(null_input, STDIN_FILENO);
        ::dup2(capture, STDOUT_FILENO);
        ::dup2(capture, STDERR_FILENO);
        if (::chdir(working_directory.c_str()) != 0) ::_exit(126);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    if (child > 0) {
        int status = 0;
        pid_t waited;
        do {
            waited = ::waitpid(child, &status, 0);
        } while (waited < 0 && errno == EINTR);
        outcome.started = waited == child && !(WIFEXITED(status) && WEXITSTATUS(status) == 127);
        outcome.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    ::close(capture);
    std::ifstream in(capture_name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    outcome.output = text.str();
    ::unlink(capture_name);
    if (child < 0) outcome.output = "cannot start " + program.string();
    return outcome;
}

}  // namespace trevasc::host
