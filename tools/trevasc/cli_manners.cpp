#include "cli_manners.hpp"

#include <algorithm>
#include <iostream>

namespace trevasc::host {
namespace {

constexpr int kExitUsage = 64;

std::size_t EditDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0U : 1U)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

std::vector<std::string> OptionNames(const CLI::App& command) {
    std::vector<std::string> names{"--help"};
    for (const CLI::Option* option : command.get_options()) {
        for (const std::string& name : option->get_lnames()) names.push_back("--" + name);
        for (const std::string& name : option->get_snames()) names.push_back("-" + name);
    }
    return names;
}

}  // namespace

std::vector<std::string> NormaliseArguments(int argc, const char* const* argv) {
    std::vector<std::string> args(argv, argv + argc);
    if (args.size() >= 2 && args[1] == "help") {
        if (args.size() >= 3) {
            args.erase(args.begin() + 1);
            args.insert(args.begin() + 2, "--help");
        } else {
            args[1] = "--help";
        }
    }
    return args;
}

std::string NearestName(std::string_view given, const std::vector<std::string>& names) {
    std::string best;
    std::size_t best_distance = std::max<std::size_t>(2, given.size() / 3) + 1;
    for (const std::string& name : names) {
        const std::size_t distance = EditDistance(given, name);
        if (distance < best_distance) {
            best_distance = distance;
            best = name;
        }
    }
    return best;
}

int ReportUsageError(CLI::App& app, const CLI::ParseError& error, const std::vector<std::string>& args) {
    std::vector<std::string> commands;
    CLI::App* command = nullptr;
    for (CLI::App* sub : app.get_subcommands([](CLI::App*) { return true; })) {
        commands.push_back(sub->get_name());
        if (args.size() >= 2 && args[1] == sub->get_name()) command = sub;
    }
    std::string message;
    if (command == nullptr && args.size() >= 2 && !args[1].empty() && args[1][0] != '-') {
        message = "unknown command '" + args[1] + "'";
        if (const std::string near = NearestName(args[1], commands); !near.empty()) {
            message += "; did you mean '" + near + "'?";
        }
    } else {
        const CLI::App& scope = command != nullptr ? *command : app;
        const std::vector<std::string> names = OptionNames(scope);
        for (std::size_t i = command != nullptr ? 2 : 1; i < args.size() && message.empty(); ++i) {
            const std::string& arg = args[i];
            if (arg.size() < 2 || arg[0] != '-') continue;
            const std::string name = arg.substr(0, arg.find('='));
            if (std::find(names.begin(), names.end(), name) != names.end()) continue;
            message = "unknown option '" + name + "'";
            if (const std::string near = NearestName(name, names); !near.empty()) {
                message += "; did you mean '" + near + "'?";
            }
        }
    }
    if (message.empty()) message = error.what();
    std::cerr << "trevasc: " << message << '\n';
    std::cerr << (command != nullptr ? command->help("trevasc") : app.help());
    return kExitUsage;
}

}  // namespace trevasc::host
