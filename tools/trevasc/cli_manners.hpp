// Manners of the command line: `help` as `--help`, and usage errors that say
// what was wrong and suggest the nearest command or option.
#pragma once

#include <CLI/CLI.hpp>
#include <map>
#include <string>
#include <string_view>
#include <vector>
#include <cctype>

namespace trevasc::host {

// The arguments with `help` taken as `--help` and `help COMMAND` as
// `COMMAND --help`.
std::vector<std::string> NormaliseArguments(int argc, const char* const* argv);

// The name of `names` nearest to `given` (a few letters apart at most), or
// empty when none is near.
std::string NearestName(std::string_view given, const std::vector<std::string>& names);

// Accepts one of the names of `choices` (any case) and hands on its value as
// an integer, for an option of an enumeration type; a wrong value is refused
// with the names, not the internal numbers.
template <class Enum>
CLI::Validator ChoiceOf(const std::map<std::string, Enum>& choices) {
    std::string names;
    for (const auto& [name, value] : choices) names += (names.empty() ? "" : "|") + name;
    return CLI::Validator(
        [choices, names](std::string& input) -> std::string {
            std::string key = input;
            for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            const auto found = choices.find(key);
            if (found == choices.end()) return "'" + input + "' is not one of " + names;
            input = std::to_string(static_cast<int>(found->second));
            return {};
        },
        "", "");
}

// Reports a usage error on standard error with a suggestion where one is
// near, and the usage of the command concerned. Returns the exit status 64.
int ReportUsageError(CLI::App& app, const CLI::ParseError& error, const std::vector<std::string>& args);

}  // namespace trevasc::host
