// Fuzz entry: the bytes are written as the input file of one analysis, which
// runs through the C++ entry exactly as a host would run it. Any crash,
// sanitizer report or hang is a finding; so is Runtime Error 90, the code of
// an internal fault the engine caught (an exception where none belongs).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "trevasc/run.hpp"

namespace {

// The run directory of this process: created on the first input, removed at
// exit.
class Workspace {
public:
    Workspace() {
        std::string pattern = (std::filesystem::temp_directory_path() / "trevasc-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        directory_ = pattern;
        paths_.input = (directory_ / "input.trv").string();
        paths_.report = (directory_ / "report.txt").string();
        paths_.plot = (directory_ / "plot.txt").string();
        paths_.messages = (directory_ / "messages.txt").string();
    }
    ~Workspace() {
        std::error_code ignored;
        std::filesystem::remove_all(directory_, ignored);
    }
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    const trevasc::RunPaths& paths() const { return paths_; }

private:
    std::filesystem::path directory_;
    trevasc::RunPaths paths_;
};

trevasc::LocalTime FixedTime() { return trevasc::LocalTime{2024, 3, 5, 9, 7, 3}; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Workspace workspace;
    std::FILE* input = std::fopen(workspace.paths().input.c_str(), "wb");
    if (input == nullptr) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, input) != size) std::abort();
    std::fclose(input);

    trevasc::RunOptions options;
    options.clock = FixedTime;
    const std::int32_t code = trevasc::RunAnalysis(workspace.paths(), options);
    if (code == trevasc::kInternalFaultCode) {
        std::fprintf(stderr, "internal fault (Runtime Error 90); see %s\n", workspace.paths().report.c_str());
        std::abort();
    }
    return 0;
}
