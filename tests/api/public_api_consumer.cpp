// A host program that links libtrevasc.so alone, as an outside C or C++
// caller does: every public entry must resolve from the shared library.
// Usage: public_api_consumer INPUT OUTPUT_DIRECTORY
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "trevasc/run.hpp"
#include "trevasc/trevasc.h"

int main(int argc, char** argv) {
    if (argc != 3) return 64;
    const std::string input = argv[1];
    const std::string dir = argv[2];
    std::ifstream file(input, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());

    const trevasc::TextRunResult memory = trevasc::RunText(text);
    const trevasc::RunPaths paths{input, dir + "/cpp.report.txt", dir + "/cpp.plot.txt", dir + "/cpp.messages.txt"};
    const std::int32_t cpp = trevasc::RunAnalysis(paths);
    const std::int32_t c = TrevascRunFromPaths(7926, input.c_str(), (dir + "/c.report.txt").c_str(),
                                               (dir + "/c.plot.txt").c_str(), (dir + "/c.messages.txt").c_str());
    const std::int32_t blank = TrevascRunFromPaths(7926, input.c_str(), nullptr, "p", "m");
    const std::int32_t wrong = TrevascRunFromPaths(7925, input.c_str(), "r", "p", "m");

    std::ifstream plot(dir + "/c.plot.txt", std::ios::binary);
    const std::string plot_text((std::istreambuf_iterator<char>(plot)), std::istreambuf_iterator<char>());
    std::printf("text %d, C++ %d, C %d (%s), null path %d, wrong interface %d\n", memory.code, cpp, c,
                trevasc::ResultCodeMeaning(c).c_str(), blank, wrong);
    const bool ok = memory.code == 0 && cpp == 0 && c == 0 && blank == 217 && wrong == 99 &&
                    plot_text == memory.plot && !memory.report.empty();
    return ok ? 0 : 1;
}
