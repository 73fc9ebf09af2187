// `trevasc template KIND [--units SI|USCS]`: a complete, commented, runnable
// input file for a common kind of pile. The templates are the worked examples
// of the examples folder, built into the program.
#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>
#include <span>

namespace trevasc::host {

struct TemplateKind {
    std::string_view kind;       // "drilled-shaft", ...
    std::string_view units;      // "SI" or "USCS"
    std::string_view example;    // the example file, relative to examples/
    std::string_view what;       // one line for the help
};

// Every kind and unit system a template exists for.
std::span<const TemplateKind> TemplateKinds();

// The text of the template, or nothing for an unknown kind or unit system.
std::optional<std::string_view> TemplateText(std::string_view kind, std::string_view units);

struct TemplateRequest {
    std::string kind;
    std::string units = "USCS";
};
// Registers `template KIND [--units SI|USCS]`, filling `request`.
CLI::App* AddTemplateCommand(CLI::App& app, TemplateRequest& request);
// Writes the template asked for; returns the exit status.
int TemplateCommand(const TemplateRequest& request, std::ostream& out);

}  // namespace trevasc::host
