// The echo of the input data into the report, with the last input checks.
// It runs before the unit conversion: depths are in feet or metres, unit
// weights in pcf or kN/m3, strengths as entered.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <string_view>

#include "run/run_context.hpp"

namespace trevasc::echo {

// The unit texts the echo prints, composed from the run's unit labels.
struct EchoLabels {
    std::string depth;          // 2 characters, untrimmed ("ft", "m ")
    std::string depth_trimmed;  // "ft", "m"
    std::string length;         // trimmed ("in", "m")
    std::string force;          // trimmed ("lbs", "kN")
    std::string force_full;     // 3 characters ("lbs", "kN ")
    std::string moment;         // 5 characters, untrimmed ("in-lb", "kN-m ")
    std::string unit_weight;    // trimmed ("pcf", "kN/m3")
    std::string stress;         // "lbs/in**2"
    std::string subgrade;       // "lbs/in**3"
};
EchoLabels MakeEchoLabels(const model::UnitLabels& labels);

// "label", then "= " at column 56 and the value text, and the line ends.
void WriteLabelledValue(report::OutputChannel& report, std::string_view label, std::string_view value);
// The unit line under a table heading: " No." and each unit text at its column.
void WriteUnitLine(report::OutputChannel& report, std::initializer_list<std::pair<int, std::string>> units);
// Heading preceded by `blank_lines` empty lines and followed by one.
void WriteEchoHeading(report::OutputChannel& report, int blank_lines, int indent, std::string_view title);

void EchoSoilProfile(run::RunContext& ctx);
// The values of the optional MASSIVE ROCK block, when it was given.
void EchoMassiveRockValues(run::RunContext& ctx);

// Input Data Errors 19 and 20: the first point of the effective unit weight
// data (at depth `first_depth`) must lie at the ground surface, neither below
// it (19) nor above it (20).
void CheckFirstSoilDepth(run::RunContext& ctx, double first_depth, double ground_surface);
void EchoPileHeadLoads(run::RunContext& ctx);
void EchoLrfdLoads(run::RunContext& ctx);

// Echo of the input data into the report, with its final checks.
void EchoInputData(run::RunContext& ctx);

}  // namespace trevasc::echo
