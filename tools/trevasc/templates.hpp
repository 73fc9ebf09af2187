// `trevasc template KIND [--units SI|USCS]`: a complete, commented, runnable
// input file for a common kind of pile. The templates are the worked examples
// of the examples folder, built into the program.
#pragma once

#include <optional>
#include <string>
#include <string_view>
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

}  // namespace trevasc::host
