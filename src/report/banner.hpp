// The opening blocks of every report: banner, files used, date and time.
#pragma once

#include <string>

#include "report/output_channel.hpp"
#include "trevasc/run.hpp"

namespace trevasc::report {

struct PathParts {
    std::string drive;      // "C:" on systems with drive letters, else empty
    std::string directory;  // up to and including the last separator
    std::string name;
    std::string extension;  // from the last dot, at most 5 characters
};
PathParts SplitPath(const std::string& path);

void WriteBanner(OutputChannel& report, const std::string& version_label);
void WriteFilesBlock(OutputChannel& report, const RunPaths& names);
void WriteDateAndTime(OutputChannel& report, const LocalTime& now);

}  // namespace trevasc::report
