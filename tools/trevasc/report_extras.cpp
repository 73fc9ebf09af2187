#include "report_extras.hpp"

#include <array>
#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>

#include "engine/units.hpp"

namespace trevasc::host {

namespace {

constexpr std::string_view kGroundSurfaceLabel = "Depth of ground surface below top of pile";
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

// "Depth of ground surface below top of pile ... = value unit", in the
// length unit of the analysis (the echo prints feet for USCS input).
std::optional<double> GroundSurfaceLine(std::string_view line) {
    const std::size_t at = line.find(kGroundSurfaceLabel);
    if (at == std::string_view::npos) return std::nullopt;
    const std::size_t equals = line.find('=', at + kGroundSurfaceLabel.size());
    if (equals == std::string_view::npos) return std::nullopt;
    const std::vector<std::string_view> tokens = Tokens(line.substr(equals + 1));
    if (tokens.empty()) return std::nullopt;
    const auto value = ParseFortranReal(tokens[0]);
    if (!value || !std::isfinite(*value)) return std::nullopt;
    if (tokens.size() >= 2 && tokens[1] == "ft") return *value * kInchesPerFoot;
    return *value;
}

}  // namespace

ReportExtras ParseReportExtras(std::string_view report_text) {
    ReportExtras extras;
    const std::vector<std::string_view> lines = Lines(report_text);
    bool in_summary = false;
    bool in_rows = false;
    for (std::string_view line : lines) {
        if (!extras.ground_surface_depth) extras.ground_surface_depth = GroundSurfaceLine(line);
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

}  // namespace trevasc::host
