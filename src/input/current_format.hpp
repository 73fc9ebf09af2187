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
void ReadCurrentFormat(run::RunContext& ctx);

void ReadTitle(run::RunContext& ctx);
void ReadOptions(run::RunContext& ctx);
// Work done when END is reached: the list of distinct axial thrusts.
void ProcessEndOfInput(run::RunContext& ctx);

// Block readers of the other keywords.
void ReadSections(run::RunContext& ctx);
void ReadSoilLayers(run::RunContext& ctx);
void ReadPileHeadLoads(run::RunContext& ctx);
void ReadLrfdLoads(run::RunContext& ctx);
void ReadLrfdFactors(run::RunContext& ctx);
void ReadAxialThrustLoads(run::RunContext& ctx);
void ReadTipShear(run::RunContext& ctx);
void ReadBatterAndSlope(run::RunContext& ctx);
void ReadPyModifiers(run::RunContext& ctx);
void ReadSoilMovements(run::RunContext& ctx);
void ReadPyOutputDepths(run::RunContext& ctx);
// The optional MASSIVE ROCK block: rock values of massive-rock layers.
void ReadMassiveRock(run::RunContext& ctx);

}  // namespace trevasc::input
