// Fixed-column records of the plot output file that the host reads to draw
// its graphs. Every record ends with a label naming its kind.
#pragma once

#include "report/output_channel.hpp"

namespace trevasc {

// Line 1: analysis mode, unit system, length-study indicator, stiffness-matrix flag.
void WritePlotLine1(OutputChannel& plot, int icom, int iunits, int kyl, int kxx);
// Line 2: number of pile sections.
void WritePlotLine2(OutputChannel& plot, int number_of_sections);

}  // namespace trevasc
