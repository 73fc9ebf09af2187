// Preparation of the section workspace from a pile section, and
// Initialize_EI_Vars, which slices the section and sets its material
// constants and prestress state before moment-curvature analysis.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "run/run_context.hpp"
#include "section/section_workspace.hpp"

namespace trevasc::section {

// Input Data Error 87: section data the analysis cannot use (more than 300
// bars or strands, a dimension or material constant out of range).
inline constexpr std::int32_t kSectionDataError = 187;
// Input Data Error 88: a concrete section in GENERAL units, whose material
// laws are stated in ksi and have no meaning in arbitrary units.
inline constexpr std::int32_t kSectionUnitsError = 188;

// Derives shape, material class, dimensions, polygon outline, core, casing,
// bar or strand table and material constants (section types 0..10), after
// checking that the data can be analysed. `k` is the 1-based section number.
void PrepareSectionWorkspace(run::RunContext& ctx, SectionWorkspace& ws, const model::PileSection& section, int k);

// Slices the prepared section and, for a prestressed section, computes the
// prestress state (writing its report block the first time).
void Initialize_EI_Vars(run::RunContext& ctx, SectionWorkspace& ws, const model::PileSection& section);

// Builds the workspace geometry, bars and materials without any check or
// message (tests and benchmarks; the data must be valid).
void FillSectionWorkspace(SectionWorkspace& ws, const model::PileSection& section, model::UnitSystem units);

// Input Data Error 87 or 88 (the numbers above): the error heading, the lines
// and the stop lines, in the report and the run message file.
[[noreturn]] void StopOnSectionError(run::RunContext& ctx, std::int32_t number,
                                     std::initializer_list<std::string_view> lines);

}  // namespace trevasc::section
