// Working values of the soil response kept between criterion calls: the
// layering correction (resistance of every layer and equivalent depths), the
// rock-layer bookkeeping of the top-down sweep, and the report mode in which
// the criteria tabulate whole p-y curves at chosen depths.
#pragma once

#include <array>
#include <vector>

#include "model/problem_data.hpp"

namespace trevasc {

// EquivalentDepth of a layer before any criterion has computed it.
inline constexpr double kEquivalentDepthUnset = -10000.0;

struct SoilState {
    using LayerValues = std::array<double, kMaxSoilLayers + 1>;  // 1-based

    // Integral of the ultimate resistance over each layer (force).
    LayerValues LayerResistance{};
    LayerValues LiquefiedLayerResistance{};
    // Depth in a layer's own material that would develop the resistance of
    // all the layers above it.
    LayerValues EquivalentDepth = [] {
        LayerValues values{};
        values.fill(kEquivalentDepthUnset);
        return values;
    }();

    int BelowRockCount = 0;
    std::array<bool, kMaxSoilLayers + 1> BelowRockLayer{};

    // Set by fn_c when its last depth lay at a strength interface.
    bool b_AtInterface = false;

    // Run constant J of Matlock's soft clay criterion.
    double SoftClayJ = 0.5;

    // Report mode: the criteria evaluate whole curves at report depths.
    // ReportDepth(k) is "node" k; ReportCurveNumber(k) its ordinal in the
    // list of output depths (the number printed in plot Line 7).
    bool PyReportMode = false;
    std::vector<double> ReportDepth;      // 1-based, [0] unused
    std::vector<int> ReportCurveNumber;   // 1-based, [0] unused
};

}  // namespace trevasc
