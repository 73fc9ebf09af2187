// The inputs the whole-run benchmarks share: a 15 m elastic 600 mm pile in
// API sand (SI) with as many increments and load cases as a benchmark asks,
// and a fixed clock so that every run writes the same bytes.
#pragma once

#include <string>

#include "trevasc/run.hpp"

namespace trevasc_bench {

// The date and time every benchmark run prints.
inline trevasc::RunOptions FixedClock() {
    trevasc::RunOptions options;
    options.clock = [] { return trevasc::LocalTime{2024, 3, 5, 9, 7, 3}; };
    return options;
}

// A 15 m elastic 600 mm pile in API sand (SI), `cases` load cases of
// increasing shear; `length_study` asks for the study of head deflection
// against pile length for every case.
inline std::string ApiSandInput(int increments, int cases, bool length_study) {
    std::string text = R"(TREVAS6
TITLE
In-memory run: elastic pile in API sand




OPTIONS
Units SI
UseLRFD NO
ComputeKmatrix NO
UseTipShear NO
UseSoilMovement NO
UsePYModifiers NO
ComputeEIOnly NO
Loading STATIC     0
MaxIterations 500
MaxDeflection 100.0
Tolerance 2.54E-7
Increments )";
    text += std::to_string(increments);
    text += R"(
PrintSummaryOnly YES
PrintIncrement 10
PrintPYCurves NO
ComputeInteraction NO
SECTIONS
1
1
11
15.0
2
25000000.0
600.0
600.0
282743.0
282743.0
6.3617E9
6.3617E9
SOIL LAYERS
1
6 0.0 20.0
9.0 34.0 20000.0
9.5 36.0 30000.0
LOADING
)";
    text += std::to_string(cases) + "\n";
    for (int c = 1; c <= cases; ++c) {
        const double shear = 100.0 * (1.0 + 0.01 * (c - 1));
        text += std::to_string(c) + " 1 " + std::to_string(shear) + " 0.0 500.0 " + (length_study ? "0" : "1") + "\n";
    }
    text += "0\nEND\n";
    return text;
}

}  // namespace trevasc_bench
