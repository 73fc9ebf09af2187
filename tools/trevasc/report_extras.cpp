#include "report_extras.hpp"

#include <array>
#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>

#include "trevasc/units.hpp"

namespace trevasc::host {

namespace {

constexpr std::string_view kGroundSurfaceLabel = "Depth of ground surface below top of pile";
constexpr std::string_view kPileLengthLabel = "Total Pile Length";
constexpr std::string_view kLayerTopLabel = "Distance from top of pile to top of layer";
constexpr std::string_view kLayerBottomLabel = "Distance from top of pile to bottom of layer";
constexpr std::string_view kTitleHeading = "Problem Title";
constexpr std::string_view kWarningHeading = "Summary of Warning Messages";
constexpr std::string_view kWarningCountPrefix = "The following warning was reported ";
constexpr std::string_view kEndedNormally = "The analysis ended normally.";
constexpr std::string_view kEndedPrefix = "The analysis ended";
// A heading rule of the report is a whole line of dashes; the column rules
// of tables have blanks between their dashes.
constexpr std::size_t kHeadingRuleLength = 60;
constexpr std::string_view kSummaryTitle = "Summary of Pile Response(s)";
constexpr std::string_view kSummaryRulePrefix = "----  ----  --------------";

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::vector<std::string_view> Tokens(std::string_view line) {
    std::vector<std::string_view> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ') ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ') ++i;
        if (i > start) tokens.push_back(line.substr(start, i - start));
    }
    return tokens;
}

// A number of an adaptive report field; a field that overflowed (asterisks)
// or holds "Not-a-Number" gives NaN.
std::optional<double> ReportNumber(std::string_view token) {
    if (token == "Not-a-Number" || token.find_first_not_of('*') == std::string_view::npos) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return ParseFortranReal(token);
}

std::optional<int> SmallInteger(std::string_view token) {
    if (token.empty() || token.size() > 6) return std::nullopt;
    int value = 0;
    for (char c : token) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The two condition letters of each loading type in the summary rows.
constexpr std::array<std::string_view, 5> kFirstLetter = {"V", "V", "V", "y", "y"};
constexpr std::array<std::string_view, 5> kSecondLetter = {"M", "S", "R", "M", "S"};

// "  c    t   V = v1  M = v2  axial  deflection  Mmax  Vmax  slope"
std::optional<HeadCondition> SummaryRow(std::string_view line) {
    const std::vector<std::string_view> tokens = Tokens(line);
    constexpr std::size_t kTokens = 13;
    if (tokens.size() != kTokens) return std::nullopt;
    const auto c = SmallInteger(tokens[0]);
    const auto t = SmallInteger(tokens[1]);
    if (!c || !t || *t < 1 || *t > 5) return std::nullopt;
    const auto index = static_cast<std::size_t>(*t - 1);
    if (tokens[2] != kFirstLetter[index] || tokens[3] != "=" || tokens[5] != kSecondLetter[index] ||
        tokens[6] != "=") {
        return std::nullopt;
    }
    const auto v1 = ReportNumber(tokens[4]);
    const auto v2 = ReportNumber(tokens[7]);
    const auto axial = ReportNumber(tokens[8]);
    if (!v1 || !v2 || !axial) return std::nullopt;
    return HeadCondition{*c, *t, *v1, *v2, *axial};
}

// "LABEL ... = value unit" (the pile length, the ground surface, the layer
// depths), in the length unit of the analysis: the echo prints feet for
// USCS input, which the plot file gives in inches.
std::optional<double> LabelledLength(std::string_view line, std::string_view label) {
    if (line.substr(0, label.size()) != label) return std::nullopt;
    const std::size_t equals = line.find('=', label.size());
    if (equals == std::string_view::npos) return std::nullopt;
    const std::vector<std::string_view> tokens = Tokens(line.substr(equals + 1));
    if (tokens.empty()) return std::nullopt;
    const auto value = ParseFortranReal(tokens[0]);
    if (!value || !std::isfinite(*value)) return std::nullopt;
    if (tokens.size() >= 2 && tokens[1] == "ft") return *value * kInchesPerFoot;
    return *value;
}

std::string_view TrimRight(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

std::string_view TrimLeft(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    return text;
}

bool IsHeadingRule(std::string_view line) {
    line = TrimRight(line);
    return line.size() >= kHeadingRuleLength && line.find_first_not_of('-') == std::string_view::npos;
}

// Short names of the soil models for the bands of the depth charts, by the
// text the soil profile echo writes after "Layer k is ".
struct ModelName {
    std::string_view echo_text;
    std::string_view short_name;
};
constexpr std::array<ModelName, 15> kModelNames = {{
    {"soft clay, p-y criteria by Matlock, 1970", "Soft clay (Matlock)"},
    {"soft clay with user-defined J, p-y criteria by Matlock, 1970", "Soft clay, input J"},
    {"stiff clay with water-induced erosion", "Stiff clay with free water"},
    {"stiff clay without free water", "Stiff clay, no free water"},
    {"stiff clay without free water using initial selected k, 2004", "Stiff clay, no free water, k"},
    {"sand, p-y criteria by Reese et al., 1974", "Sand (Reese)"},
    {"sand, p-y criteria by API RP-2A, 1987", "API sand"},
    {"liquefiable sand, by Rollins et al., 2004", "Liquefied sand"},
    {"weak rock, p-y criteria by Reese, 1997", "Weak rock"},
    {"strong rock (vuggy limestone)", "Vuggy limestone"},
    {"cemented silt with cohesion and friction", "Cemented silt"},
    {"loess silt", "Loess"},
    {"Piedmont residual soil", "Piedmont residual soil"},
    {"modelled using an elastic subgrade modulus", "Elastic subgrade"},
    {"modelled using user-specified p-y curves", "User p-y curves"},
}};

std::string ShortModelName(std::string_view description) {
    for (const ModelName& name : kModelNames) {
        if (description == name.echo_text) return std::string(name.short_name);
    }
    // A model without a table entry: its text up to the first comma.
    std::string shown(description.substr(0, description.find(',')));
    if (!shown.empty() && shown[0] >= 'a' && shown[0] <= 'z') shown[0] = static_cast<char>(shown[0] - 'a' + 'A');
    return shown;
}

// "Layer k is TEXT" (or "Layer k" alone): the layer number and its text.
std::optional<std::pair<int, std::string_view>> LayerLine(std::string_view line) {
    constexpr std::string_view kPrefix = "Layer ";
    if (line.substr(0, kPrefix.size()) != kPrefix) return std::nullopt;
    line = TrimRight(line.substr(kPrefix.size()));
    const std::size_t digits = line.find_first_not_of("0123456789");
    const auto number = SmallInteger(line.substr(0, digits));
    if (!number) return std::nullopt;
    if (digits == std::string_view::npos) return std::pair<int, std::string_view>{*number, {}};
    constexpr std::string_view kIs = " is ";
    if (line.substr(digits, kIs.size()) != kIs) return std::nullopt;
    return std::pair<int, std::string_view>{*number, line.substr(digits + kIs.size())};
}

// Phrases that tell the warning texts apart: an id matches when its text
// holds every phrase of its row.
struct WarningSignature {
    int id;
    std::array<std::string_view, 2> phrases;
};
constexpr std::array<WarningSignature, 27> kWarningSignatures = {{
    {302, {"defined uisng the sand criteria", ""}},
    {303, {"API sand criteria", ""}},
    {305, {"Too many values were calculated for moment-curvature", ""}},
    {306, {"Negative values of bending moment", ""}},
    {308, {"vuggy limestone criteria", ""}},
    {316, {"k_rm", "smaller than"}},
    {317, {"k_rm", "greater than 0.0005"}},
    {354, {"liquefied sand layer is deeper", ""}},
    {400, {"Failure for One or More LRFD Load Cases", ""}},
    {3041, {"soft clay criteria", "greater than 8.68"}},
    {3042, {"soft clay criteria", "greater than 59.85"}},
    {3051, {"stiff clay with free water", "less than 3.47"}},
    {3052, {"stiff clay with free water", "greater than 55.55"}},
    {3053, {"stiff clay with free water", "less than 23.94"}},
    {3054, {"stiff clay with free water", "greater than 383.04"}},
    {3061, {"without free water criteria.  The", "less than 3.47"}},
    {3062, {"without free water criteria.  The", "greater than 8,000"}},
    {3063, {"without free water criteria.  The", "less than 23.94"}},
    {3064, {"without free water criteria.  The", "greater than 383.04"}},
    {3071, {"weak rock criteria", "than 100 psi"}},
    {3072, {"weak rock criteria", "greater than 1000 psi"}},
    {3073, {"weak rock criteria", "less than  689.5"}},
    {3074, {"weak rock criteria", "greater than 6895"}},
    {3261, {"criteria using k", "less than 500 psf"}},
    {3262, {"criteria using k", "greater than 8,000"}},
    {3263, {"criteria using k", "less than 23.94"}},
    {3264, {"criteria using k", "greater than 383.04"}},
}};

}  // namespace

ReportExtras ParseReportExtras(std::string_view report_text) {
    ReportExtras extras;
    const std::vector<std::string_view> lines = Lines(report_text);
    bool in_summary = false;
    bool in_rows = false;
    bool in_warnings = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (!extras.ground_surface_depth) extras.ground_surface_depth = LabelledLength(line, kGroundSurfaceLabel);
        if (!extras.pile_length) extras.pile_length = LabelledLength(line, kPileLengthLabel);
        if (line.substr(0, kEndedNormally.size()) == kEndedNormally) extras.ended_normally = true;
        if (extras.title_lines.empty() && TrimLeft(TrimRight(line)) == kTitleHeading && i + 1 < lines.size() &&
            IsHeadingRule(lines[i + 1])) {
            for (std::size_t j = i + 2; j < lines.size() && !IsHeadingRule(lines[j]); ++j) {
                const std::string_view text = TrimRight(lines[j]);
                if (!text.empty()) extras.title_lines.emplace_back(text);
            }
        }
        if (const auto layer = LayerLine(line)) {
            const std::string_view description = layer->second;
            extras.layers.push_back({layer->first, ShortModelName(description), std::string(description), 0.0, 0.0});
            continue;
        }
        if (!extras.layers.empty()) {
            if (const auto top = LabelledLength(line, kLayerTopLabel)) extras.layers.back().top = *top;
            if (const auto bottom = LabelledLength(line, kLayerBottomLabel)) extras.layers.back().bottom = *bottom;
        }
        if (TrimLeft(TrimRight(line)) == kWarningHeading) {
            in_warnings = true;
            extras.warnings.clear();
            continue;
        }
        if (in_warnings) {
            if (line.substr(0, kEndedPrefix.size()) == kEndedPrefix) {
                in_warnings = false;
            } else if (line.substr(0, kWarningCountPrefix.size()) == kWarningCountPrefix) {
                const std::vector<std::string_view> tokens = Tokens(line.substr(kWarningCountPrefix.size()));
                const auto count = tokens.empty() ? std::nullopt : SmallInteger(tokens[0]);
                extras.warnings.push_back({std::nullopt, count.value_or(0), ""});
            } else if (!extras.warnings.empty() && !TrimRight(line).empty() && !IsHeadingRule(line)) {
                std::string& text = extras.warnings.back().text;
                if (!text.empty()) text += '\n';
                text += TrimRight(line);
            }
        }
        if (line.find(kSummaryTitle) != std::string_view::npos) {
            in_summary = true;
            in_rows = false;
            extras.head_conditions.clear();
            continue;
        }
        if (!in_summary) continue;
        if (!in_rows) {
            in_rows = line.substr(0, kSummaryRulePrefix.size()) == kSummaryRulePrefix;
            continue;
        }
        const auto row = SummaryRow(line);
        if (!row) {
            in_summary = false;
            continue;
        }
        extras.head_conditions.push_back(*row);
    }
    for (ReportWarning& warning : extras.warnings) warning.id = WarningIdOfText(warning.text);
    return extras;
}

std::optional<ReportExtras> ReadReportExtras(const std::filesystem::path& report) {
    std::ifstream in(report, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream contents;
    contents << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return ParseReportExtras(contents.str());
}

std::string LoadingTypeDescription(int loading_type) {
    static constexpr std::array<std::string_view, 5> kDescriptions = {
        "shear and moment", "shear and slope", "shear and rotational stiffness", "deflection and moment",
        "deflection and slope"};
    if (loading_type < 1 || loading_type > 5) return "";
    return std::string(kDescriptions[static_cast<std::size_t>(loading_type - 1)]);
}

std::optional<int> WarningIdOfText(std::string_view text) {
    if (text.empty()) return std::nullopt;
    for (const WarningSignature& signature : kWarningSignatures) {
        bool all = true;
        for (std::string_view phrase : signature.phrases) all = all && text.find(phrase) != std::string_view::npos;
        if (all) return signature.id;
    }
    return std::nullopt;
}

std::optional<int> ResultCodeFromReport(const ReportExtras& extras) {
    constexpr int kSeveralWarnings = -300;
    if (!extras.ended_normally) return std::nullopt;
    if (extras.warnings.empty()) return 0;
    if (extras.warnings.size() > 1) return kSeveralWarnings;
    if (!extras.warnings.front().id) return std::nullopt;
    return -*extras.warnings.front().id;
}

std::vector<std::string> ReportBlock(std::string_view report_text, std::string_view heading) {
    const std::vector<std::string_view> lines = Lines(report_text);
    std::vector<std::string> block;
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        if (TrimLeft(TrimRight(lines[i])) != heading || !IsHeadingRule(lines[i - 1]) || !IsHeadingRule(lines[i + 1])) {
            continue;
        }
        for (std::size_t j = i + 2; j < lines.size() && !IsHeadingRule(lines[j]); ++j) {
            block.emplace_back(TrimRight(lines[j]));
        }
        break;
    }
    while (!block.empty() && block.back().empty()) block.pop_back();
    while (!block.empty() && block.front().empty()) block.erase(block.begin());
    return block;
}

}  // namespace trevasc::host
