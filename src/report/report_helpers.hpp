// Small writers shared by every table of the report. All write to the current
// record of the report without ending it, unless stated.
#pragma once

#include <string>
#include <string_view>

#include "report/output_channel.hpp"

namespace trevasc::report {

inline const std::string kRule80(80, '-');
inline const std::string kDoubleRule80(80, '=');

void EndReportLine(OutputChannel& report);
void WriteSpaces(OutputChannel& report, int count);
// Integer right-aligned in `width` columns; a width outside 1..16 means 10.
void WriteIntegerField(OutputChannel& report, long long value, int width);
// Text in a 10-character field, left-aligned.
void WriteTextField(OutputChannel& report, std::string_view text);
// One blank, then x in width-1 columns in the fixed or exponent form its
// magnitude calls for (see the implementation for the bands).
void WriteAdaptiveNumber(OutputChannel& report, double x, int width);
std::string AdaptiveNumber(double x, int width);
// The 34-character description of a soil model code (blank for unknown codes).
void SoilTypeDescription(OutputChannel& report, int soil_model_code);
std::string SoilTypeDescriptionText(int soil_model_code);

// The text without its trailing blanks (unit labels are blank-padded).
std::string TrimRight(std::string_view text);

// A three-line block heading: rule, `indent` blanks and the title, rule.
void WriteHeading(OutputChannel& report, int indent, std::string_view title);

}  // namespace trevasc::report
