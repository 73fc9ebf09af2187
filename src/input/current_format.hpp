// Reader of the current keyword input format (tag "TREVAS6").
#pragma once

#include "run/run_context.hpp"

namespace trevasc::input {

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
