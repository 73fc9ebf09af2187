#include "templates.hpp"

#include <algorithm>
#include <string>
#include <vector>

namespace trevasc::host {
namespace {

struct ExampleInput {
    std::string_view name;  // relative to examples/
    std::string_view text;
};

// Generated at configure time from examples/*/*.trv.
constexpr ExampleInput kExampleInputs[] = {
#include "example_inputs.inc"
};


constexpr TemplateKind kKinds[] = {
    {"elastic", "USCS", "drilled-shaft/shaft.trv", "elastic pile of constant EI in three soil layers"},
    {"elastic", "SI", "stiffness-matrix/pile.trv", "elastic pile with its pile-head stiffness matrix"},
    {"steel-pipe", "USCS", "steel-pipe-api-sand/pipe.trv", "steel pipe pile in API sand"},
    {"steel-pipe", "SI", "steel-pipe-api-sand/pipe-si.trv", "steel pipe pile in API sand"},
    {"drilled-shaft", "SI", "rc-drilled-shaft/shaft-si.trv", "reinforced-concrete drilled shaft, nonlinear EI"},
    {"drilled-shaft", "USCS", "rc-drilled-shaft/shaft-uscs.trv",
     "reinforced-concrete drilled shaft, nonlinear EI"},
    {"prestressed", "USCS", "prestressed-square-pile/pile.trv", "square prestressed concrete pile"},
    {"prestressed", "SI", "prestressed-square-pile/pile-si.trv", "square prestressed concrete pile"},
    {"rock-socket", "SI", "rock-socket/socket.trv", "drilled shaft socketed into weak rock under clay"},
    {"rock-socket", "USCS", "rock-socket/socket-uscs.trv", "drilled shaft socketed into weak rock under clay"},
};

}  // namespace

std::span<const TemplateKind> TemplateKinds() { return kKinds; }

std::optional<std::string_view> TemplateText(std::string_view kind, std::string_view units) {
    for (const TemplateKind& entry : TemplateKinds()) {
        if (entry.kind != kind || entry.units != units) continue;
        for (const ExampleInput& input : kExampleInputs) {
            if (input.name == entry.example) return input.text;
        }
    }
    return std::nullopt;
}

CLI::App* AddTemplateCommand(CLI::App& app, TemplateRequest& request) {
    std::vector<std::string> kinds;
    std::string kind_help = "Kind of pile:";
    for (const TemplateKind& entry : TemplateKinds()) {
        if (std::find(kinds.begin(), kinds.end(), entry.kind) != kinds.end()) continue;
        kinds.emplace_back(entry.kind);
        kind_help += "\n  " + std::string(entry.kind) + ": " + std::string(entry.what);
    }
    CLI::App* command = app.add_subcommand("template", "Write a commented, runnable input file to standard output");
    command->add_option("KIND", request.kind, kind_help)
        ->required()
        ->check(CLI::IsMember(kinds).description(""))
        ->type_name(CLI::detail::join(kinds, "|"));
    command->add_option("--units", request.units, "Unit system: SI or USCS (default)")
        ->check(CLI::IsMember({"SI", "USCS"}).description(""))
        ->type_name("SI|USCS");
    return command;
}

int TemplateCommand(const TemplateRequest& request, std::ostream& out) {
    const auto text = TemplateText(request.kind, request.units);
    if (!text) return 64;  // refused by the option checks already
    out << *text;
    return 0;
}

}  // namespace trevasc::host
