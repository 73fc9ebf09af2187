#include "report/report_helpers.hpp"

#include <array>
#include <cmath>

#include "report/fortran_format.hpp"

namespace trevasc::report {

void EndReportLine(OutputChannel& report) { report.EndLine(); }

void WriteSpaces(OutputChannel& report, int count) {
    if (count >= 1) report.Write(std::string(static_cast<std::size_t>(count), ' '));
}

void WriteIntegerField(OutputChannel& report, long long value, int width) {
    if (width < 1 || width > 16) width = 10;
    report.Write(fmt::I(value, width));
}

void WriteTextField(OutputChannel& report, std::string_view text) { report.Write(fmt::PadRight(text, 10)); }

std::string AdaptiveNumber(double x, int width) {
    if (std::isnan(x)) return "  Not-a-Number";
    if (std::fabs(x) < 1.0e-12) x = 0.0;
    // The band limits are single-precision values: for width 12 the upper
    // limit 10^9 - 1 is held as 10^9.
    const double upper = static_cast<double>(std::pow(10.0f, static_cast<float>(width - 3)) - 1.0f);
    const double large_fraction = static_cast<double>(std::pow(10.0f, static_cast<float>(9 - width)));
    const double small_fraction = static_cast<double>(std::pow(10.0f, static_cast<float>(7 - width)));
    const int w = width - 1;
    const double magnitude = std::fabs(x);
    std::string field;
    if (x == 0.0 || magnitude < 1.0e-25) {
        field = fmt::F(0.0, w, width - 8);
    } else if (magnitude > upper) {
        field = fmt::E(x, w, width - 8);
    } else if (magnitude > 10000.0) {
        field = fmt::F(x, w, 0);
    } else if (magnitude > large_fraction) {
        field = fmt::F(x, w, width - 7);
    } else if (magnitude >= small_fraction) {
        field = fmt::F(x, w, width - 5);
    } else {
        field = fmt::E(x, w, width - 8);
    }
    return " " + field;
}

void WriteAdaptiveNumber(OutputChannel& report, double x, int width) { report.Write(AdaptiveNumber(x, width)); }

std::string SoilTypeDescriptionText(int soil_model_code) {
    static constexpr std::array<std::string_view, 17> kDescriptions = {
        "Soft Clay",
        "Stiff Clay with Free Water",
        "Stiff Clay w/o Free Water",
        "Stiff Clay w/o Free Water, using k",
        "Sand (Reese, et al.)",
        "API Sand",
        "Liquefied Sand",
        "Weak Rock",
        "Vuggy Limestone",
        "Piedmont Residual",
        "Cemented Silt",
        "Loess",
        "Elastic Subgrade",
        "User Input p-y Curves",
        "Soft Clay with user-defined J",
        "Hard Rock",
        "",
    };
    std::string_view text;
    if (soil_model_code >= 1 && soil_model_code <= 17) text = kDescriptions[static_cast<std::size_t>(soil_model_code - 1)];
    return fmt::PadRight(text, 34);
}

void SoilTypeDescription(OutputChannel& report, int soil_model_code) {
    report.Write(SoilTypeDescriptionText(soil_model_code));
}

std::string TrimRight(std::string_view text) {
    const auto end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string() : std::string(text.substr(0, end + 1));
}

void WriteHeading(OutputChannel& report, int indent, std::string_view title) {
    report.Line(kRule80);
    report.Line(std::string(static_cast<std::size_t>(indent), ' ') + std::string(title));
    report.Line(kRule80);
}

}  // namespace trevasc::report
