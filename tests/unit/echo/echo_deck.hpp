// Input decks and line matchers shared by the tests of the input echo.
//
// A Deck is a current-format input file assembled from its blocks: by default
// a 40 ft elastic circular pile (18 in, EI constant) in one elastic-subgrade
// layer down to 45 ft, with one pile-head load. Each test changes only the
// blocks it is about.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "support/run_fixture.hpp"

namespace trevasc::echo_testing {

struct Deck {
    std::string units = "USCS";  // USCS, SI or GENERAL
    bool ei_only = false;
    bool tip_shear = false;
    bool soil_movement = false;
    bool py_modifiers = false;
    bool summary_only = false;
    bool print_py_curves = false;
    bool compute_kmatrix = false;
    std::string loading = "STATIC     0";  // columns 9 to 20 of the loading line
    std::string tolerance = "1.0E-5";
    // Block bodies, each without its keyword; an empty body leaves the block out.
    std::string sections =
        "1\n1\n11\n40.0\n2\n29000000.0\n18.0\n18.0\n40.0\n40.0\n1500.0\n1500.0\n";
    std::string soil = "1\n13 0.0 45.0\n60.0 300.0\n60.0 300.0\n";
    std::string loads = "1\n1 1 15000.0 0.0 0.0 1\n0\n";
    std::string extra;  // further keyword blocks, keywords included

    std::string Text() const {
        auto yes_no = [](bool b) { return std::string(b ? "YES" : "NO"); };
        std::string text = "TREVAS6\nTITLE\nEcho test deck\n\n\n\n\nOPTIONS\n";
        text += "Units " + units + "\n";
        text += "UseLRFD NO\n";
        text += "ComputeKmatrix " + yes_no(compute_kmatrix) + "\n";
        text += "UseTipShear " + yes_no(tip_shear) + "\n";
        text += "UseSoilMovement " + yes_no(soil_movement) + "\n";
        text += "UsePYModifiers " + yes_no(py_modifiers) + "\n";
        text += "ComputeEIOnly " + yes_no(ei_only) + "\n";
        text += "Loading " + loading + "\n";
        text += "MaxIterations 100\nMaxDeflection 10.0\n";
        text += "Tolerance " + tolerance + "\n";
        text += "Increments 40\n";
        text += "PrintSummaryOnly " + yes_no(summary_only) + "\n";
        text += "PrintIncrement 4\n";
        text += "PrintPYCurves " + yes_no(print_py_curves) + "\n";
        text += "ComputeInteraction NO\n";
        if (!sections.empty()) text += "SECTIONS\n" + sections;
        if (!soil.empty()) text += "SOIL LAYERS\n" + soil;
        if (!loads.empty()) text += "LOADING\n" + loads;
        text += extra;
        text += "END\n";
        return text;
    }
};

inline testing::RunOutput Run(const Deck& deck) { return testing::RunInput(deck.Text()); }

// True when `block` occurs in `lines` as consecutive, exactly equal lines.
inline bool Contains(const std::vector<std::string>& lines, const std::vector<std::string>& block) {
    for (std::size_t i = 0; i + block.size() <= lines.size(); ++i) {
        bool all = true;
        for (std::size_t j = 0; j < block.size() && all; ++j) all = lines[i + j] == block[j];
        if (all) return true;
    }
    return false;
}

// Index of the first line equal to `line`, or lines.size().
inline std::size_t Find(const std::vector<std::string>& lines, const std::string& line) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == line) return i;
    }
    return lines.size();
}

inline bool HasLine(const std::vector<std::string>& lines, const std::string& line) {
    return Find(lines, line) < lines.size();
}

// "label", blanks to column 55 and "= value": the labelled-value layout.
inline std::string Labelled(const std::string& label, const std::string& value) {
    return label + std::string(label.size() < 55 ? 55 - label.size() : 0, ' ') + "= " + value;
}

// A value written by hand, right-aligned in `width` columns as a fixed field
// would place it.
inline std::string Right(const std::string& value, std::size_t width) {
    return std::string(value.size() < width ? width - value.size() : 0, ' ') + value;
}

// The three-line block heading: rule, `indent` blanks and the title, rule.
inline std::vector<std::string> Heading(int indent, const std::string& title) {
    const std::string rule(80, '-');
    return {rule, std::string(static_cast<std::size_t>(indent), ' ') + title, rule};
}

// The lines of the stop that ends a run on input error `number` (1 to 99).
inline std::string StopLine(int number) {
    const std::string digits = std::to_string(number);
    return "Trevasc ended prematurely due to input error number INP" + std::string(5 - digits.size(), '0') +
           digits;
}

// The echo's own last progress line; absent when the echo stopped early.
inline bool EchoCompleted(const testing::RunOutput& out) {
    return HasLine(out.MessageLines(), "Output of input data completed");
}

}  // namespace trevasc::echo_testing
