#include "report/banner.hpp"

#include <array>
#include <cctype>
#include <string_view>

#include "report/fortran_format.hpp"
#include "report/report_helpers.hpp"

namespace trevasc::report {
namespace {

std::string NameAndExtension(const std::string& path) {
    const PathParts parts = SplitPath(path);
    return TrimRight(parts.name) + TrimRight(parts.extension);
}

}  // namespace

PathParts SplitPath(const std::string& full) {
    PathParts parts;
    const std::string path = TrimRight(full);
    std::size_t start = 0;
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
        parts.drive = path.substr(0, 2);
        start = 2;
    }
    const std::size_t last_separator = path.find_last_of("/\\");
    std::size_t name_start = start;
    if (last_separator != std::string::npos && last_separator >= start) {
        parts.directory = path.substr(start, last_separator + 1 - start);
        name_start = last_separator + 1;
    }
    const std::string file = path.substr(name_start);
    const std::size_t dot = file.find_last_of('.');
    if (dot == std::string::npos) {
        parts.name = file;
    } else {
        parts.name = file.substr(0, dot);
        parts.extension = file.substr(dot, 5);
    }
    return parts;
}

void WriteBanner(OutputChannel& report, const std::string& version_label) {
    const std::string indent(15, ' ');
    report.Line(kDoubleRule80);
    report.Blank();
    report.Line(indent + "    Trevasc for Windows, Version 6 " + TrimRight(version_label));
    report.Blank();
    report.Line(indent + " Analysis of Individual Piles and Drilled Shafts ");
    report.Line(indent + "Subjected to Lateral Loading Using the p-y Method");
    report.Blank();
    report.Line(kDoubleRule80);
    report.Blank();
}

void WriteFilesBlock(OutputChannel& report, const RunPaths& names) {
    WriteHeading(report, 28, "Files Used for Analysis");
    report.Blank();
    const PathParts input = SplitPath(names.input);
    report.Line("Path to file locations:        " + TrimRight(input.drive) + TrimRight(input.directory));
    report.Line("Name of input data file:       " + NameAndExtension(names.input));
    report.Line("Name of output report file:    " + NameAndExtension(names.report));
    report.Line("Name of plot output file:      " + NameAndExtension(names.plot));
    report.Line("Name of runtime messeage file: " + NameAndExtension(names.messages));
    report.Blank();
}

void WriteDateAndTime(OutputChannel& report, const LocalTime& now) {
    static constexpr std::array<std::string_view, 12> kMonths = {
        "January", "February", "March",     "April",   "May",      "June",
        "July",    "August",   "September", "October", "November", "December"};
    WriteHeading(report, 27, "Date and Time of Analysis");
    report.Blank();
    if (now.month < 1 || now.month > 12) return;
    report.Line(std::string(15, ' ') + "Date:  " + std::string(kMonths[static_cast<std::size_t>(now.month - 1)]) + " " +
                fmt::I0(now.day) + ", " + fmt::I(now.year, 4) + std::string(5, ' ') + "Time:  " + fmt::I(now.hour, 2) +
                ":" + fmt::Iwm(now.minute, 2, 2) + ":" + fmt::Iwm(now.second, 2, 2));
}

}  // namespace trevasc::report
