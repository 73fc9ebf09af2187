// Warning registry: conditions that do not stop a run but must be reported.
//
// Warning ids are positive integers below 4000; the raising code passes them
// negated (-302, -3041) and the sign is kept in the log. At the start of every
// load case the counts go back to those of the set-up (the echo and the
// section analysis, which run once before the first case), so the summary
// reports the set-up warnings plus the occurrences of the last case; the log
// and the "any warning" entry keep their values for the run.
#pragma once

#include <array>
#include <cstdint>

namespace trevasc::report {

class OutputChannel;

inline constexpr int kWarningSlots = 4000;

// Warning ids of this engine's own (360 to 369).
// A frozen-soil layer: no p-y criterion, a constant soil modulus.
inline constexpr int kFrozenSoilWarning = 360;

struct WarningRegistry {
    std::array<std::int32_t, kWarningSlots + 1> WarningCount{};  // [0]: any warning / distinct ids
    std::array<std::int32_t, kWarningSlots + 1> WarningLog{};    // [1..4000] signed ids
    std::array<bool, kWarningSlots + 1> MessageFlags{};          // text of id k still to print
    // Counts raised before the first load case, kept once the cases begin.
    std::array<std::int32_t, kWarningSlots + 1> set_up_count{};
    bool load_cases_started = false;
    // Set when a count or a text flag changed since the last start of a load
    // case: a case that raised no warning leaves nothing to put back.
    bool changed_since_case_start = true;

    // Records one occurrence of a (negated) warning id.
    void RecordWarning(std::int32_t id);
    // Start of a load case: counts 1..4000 back to the set-up counts (taken
    // at the first case), every text marked for printing.
    void StartLoadCase();
    bool AnyRecorded() const { return WarningCount[0] > 0; }
    // Number of ids with a non-zero count.
    std::int32_t DistinctIds() const;
    // The result code the warnings give a run that ended without error:
    // the id itself when one id occurred, -300 for more than one, 0 for none.
    std::int32_t ResultCode() const;
};

// Writes the warning summary to the report (recounting the distinct ids).
void WarningSummary(WarningRegistry& registry, OutputChannel& report);

}  // namespace trevasc::report
