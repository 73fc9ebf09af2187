// Report blocks of the section analysis: unit texts, labelled value lines,
// the section-properties block of each section type, the bar and strand
// tables and the concrete properties block.
#pragma once

#include <string>
#include <string_view>

#include "run/run_context.hpp"
#include "section/section_workspace.hpp"

namespace trevasc::section {

// The 8-character unit texts of the section report (blank for GENERAL).
struct SectionUnitTexts {
    std::string Stress;
    std::string Length;
    std::string Force;
    std::string Curvature;
    std::string Moment;
    std::string Area;
    std::string Inertia;
    std::string Stiffness;
};
SectionUnitTexts SectionUnits(model::UnitSystem units);

// Width of the adaptive number field of the labelled value lines, so that
// their right edge meets that of the F15 fields of the same blocks.
inline constexpr int kLabelValueWidth = 15;

// "label" at column 1, "= " at column 56, the value field and the unit text.
void WriteLabelLine(report::OutputChannel& report, std::string_view label, std::string_view value_field,
                    std::string_view unit = {});
// The same with the value in the adaptive field of width kLabelValueWidth.
void WriteAdaptiveLabelLine(report::OutputChannel& report, std::string_view label, double value, std::string_view unit);

// Heading followed by a row of hyphens of its length and a blank line.
void WriteUnderlinedHeading(report::OutputChannel& report, std::string_view heading);

// The "Dimensions and Properties" block of the section (types 0..10), with
// the bar details table of type 0.
void WriteSectionPropertiesBlock(run::RunContext& ctx, const SectionWorkspace& ws, const model::PileSection& section);
// "Reinforcing Bar Dimensions and Positions Used in Computations:" (types 1..3).
void WriteBarTable(run::RunContext& ctx, const SectionWorkspace& ws);
// "Prestressing Strand Details:" with the strand geometry (types 5..10).
void WriteStrandDetails(run::RunContext& ctx, const SectionWorkspace& ws, const model::PileSection& section);
// "Concrete Properties:" (every section with concrete).
void WriteConcreteProperties(run::RunContext& ctx, const SectionWorkspace& ws);

// Clear spacing of neighbouring bars (or bundles) of the section's bar table.
double BarSpacing(const SectionWorkspace& ws, const model::PileSection& section);

}  // namespace trevasc::section
