// Reader of the current keyword input format (tag "TREVAS6").
#pragma once

#include <cstdint>

#include "run/run_context.hpp"

namespace trevasc::input {

// SI section sizes are entered in millimetres and held in metres.
inline constexpr double kSquareMillimetresPerSquareMetre = 1.0e6;
inline constexpr double kMillimetres4PerMetre4 = 1.0e12;
// Section type -3 in the input is a cased shaft with a void core.
inline constexpr std::int32_t kVoidCoreTypeCode = -3;

// Reads the blocks that follow the tag line up to and including END.
void ReadCurrentFormat(RunContext& ctx);

void ReadTitle(RunContext& ctx);
void ReadOptions(RunContext& ctx);
// Work done when END is reached: the list of distinct axial thrusts.
void ProcessEndOfInput(RunContext& ctx);

// Block readers of the other keywords.
void ReadSections(RunContext& ctx);
void ReadSoilLayers(RunContext& ctx);
void ReadPileHeadLoads(RunContext& ctx);
void ReadLrfdLoads(RunContext& ctx);
void ReadLrfdFactors(RunContext& ctx);
void ReadAxialThrustLoads(RunContext& ctx);
void ReadTipShear(RunContext& ctx);
void ReadBatterAndSlope(RunContext& ctx);
void ReadPyModifiers(RunContext& ctx);
void ReadSoilMovements(RunContext& ctx);
void ReadPyOutputDepths(RunContext& ctx);
// The optional MASSIVE ROCK block: rock values of massive-rock layers.
void ReadMassiveRock(RunContext& ctx);

}  // namespace trevasc::input
