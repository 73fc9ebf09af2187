// Working values of the soil response kept between criterion calls: the
// layering correction (resistance of every layer and equivalent depths), the
// rock-layer bookkeeping of the top-down sweep, and the report mode in which
// the criteria tabulate whole p-y curves at chosen depths.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "model/problem_data.hpp"

namespace trevasc {

// EquivalentDepth of a layer before any criterion has computed it.
inline constexpr double kEquivalentDepthUnset = -10000.0;

// Values that depend on one number alone (averages over the soil profile
// from the ground surface and pile widths by depth, earth-pressure
// coefficients by friction angle), remembered for the arguments last asked
// for: every iteration of a load case asks again at the same node depths. A
// slot is chosen by the bits of the argument and holds one argument and its
// value, so a value found is exactly the value that would be computed.
template <class T>
class ValueMemo {
public:
    static constexpr std::size_t kSlots = 4096;

    const T* Find(double x) const {
        const std::size_t i = Slot(x);
        return used_[i] && depth_[i] == x ? &value_[i] : nullptr;
    }
    void Store(double x, const T& value) {
        const std::size_t i = Slot(x);
        depth_[i] = x;
        value_[i] = value;
        used_[i] = true;
    }
    void Clear() { used_.fill(false); }

private:
    static std::size_t Slot(double x) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &x, sizeof bits);
        return static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15ULL) >> 52);  // top 12 bits
    }
    std::array<double, kSlots> depth_{};
    std::array<T, kSlots> value_{};
    std::array<bool, kSlots> used_{};
};
using DepthMemo = ValueMemo<double>;

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

    // Depth-only look-ups of the criteria; cleared with every node set-up,
    // so that they never outlive the soil and pile data they came from.
    DepthMemo UnitWeightMemo;
    DepthMemo PileWidthMemo;
    // Level-ground wedge of the API sand criterion by friction angle: the
    // angles and coefficients of its sand (phi, alpha, beta, K0, Ka, Kp,
    // C1, C2, C3).
    ValueMemo<std::array<double, 9>> ApiSandWedgeMemo;
    void ClearMemos() {
        UnitWeightMemo.Clear();
        PileWidthMemo.Clear();
        ApiSandWedgeMemo.Clear();
    }
};

}  // namespace trevasc
