// Blocks of the current format whose readers are not part of this build yet.
// Each stops the run with a clear input error instead of misreading the file.
#include "input/current_format.hpp"
#include "input/reader_support.hpp"

namespace trevasc::input {

void ReadSections(RunContext& ctx) { StopOnUnsupported(ctx, "the SECTIONS block"); }
void ReadSoilLayers(RunContext& ctx) { StopOnUnsupported(ctx, "the SOIL LAYERS block"); }
void ReadPileHeadLoads(RunContext& ctx) { StopOnUnsupported(ctx, "the LOADING block"); }
void ReadLrfdLoads(RunContext& ctx) { StopOnUnsupported(ctx, "the LRFD LOADS block"); }
void ReadLrfdFactors(RunContext& ctx) { StopOnUnsupported(ctx, "the LRFD FACTORS AND CASES block"); }
void ReadAxialThrustLoads(RunContext& ctx) { StopOnUnsupported(ctx, "the AXIAL THRUST LOADS block"); }
void ReadTipShear(RunContext& ctx) { StopOnUnsupported(ctx, "the TIP SHEAR block"); }
void ReadBatterAndSlope(RunContext& ctx) { StopOnUnsupported(ctx, "the PILE BATTER AND SLOPE block"); }
void ReadPyModifiers(RunContext& ctx) { StopOnUnsupported(ctx, "the GROUP EFFECT FACTORS block"); }
void ReadSoilMovements(RunContext& ctx) { StopOnUnsupported(ctx, "the SOIL MOVEMENTS block"); }
void ReadPyOutputDepths(RunContext& ctx) { StopOnUnsupported(ctx, "the DEPTHS OF PRINTED P-Y CURVES block"); }

}  // namespace trevasc::input
