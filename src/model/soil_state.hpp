// Working values of the soil response kept between criterion calls: the
// layering correction (resistance of every layer and equivalent depths), the
// rock-layer bookkeeping of the top-down sweep, and the depth-only values
// the criteria keep from one iteration to the next.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "model/pile_model.hpp"
#include "model/problem_data.hpp"

namespace trevasc::model {

// EquivalentDepth of a layer before any criterion has computed it.
inline constexpr double kEquivalentDepthUnset = -10000.0;

// Values that depend on one number alone (averages over the soil profile
// from the ground surface and pile widths by depth), remembered for the
// arguments asked for: every iteration of a load case asks again at the same
// node depths. A value is found only for the very bits of the argument it
// was stored with, so a value found is exactly the value that would be
// computed. The table of slots grows with the arguments stored (a run asks
// at a few hundred depths, and memory a run does not need is memory the
// next run in the process must fault in again); once its largest table is
// three quarters full, a new argument starts it afresh. A clear starts a new
// generation instead of visiting every slot.
template <class T>
class ValueMemo {
public:
    static constexpr std::size_t kFirstSlots = 256;
    static constexpr std::size_t kMaxSlots = 4096;

    const T* Find(double x) const {
        if (slots_.empty()) return nullptr;
        const std::uint64_t bits = BitsOf(x);
        for (std::size_t i = SlotOf(bits);; i = (i + 1) & mask_) {
            const Slot& slot = slots_[i];
            if (slot.generation != generation_) return nullptr;  // an empty slot ends the probe
            if (slot.bits == bits) return &slot.value;
        }
    }
    void Store(double x, const T& value) {
        if (4 * (count_ + 1) > 3 * slots_.size()) Grow();
        Put(BitsOf(x), value);
    }
    void Clear() {
        count_ = 0;
        if (++generation_ != kNoGeneration) return;
        // After 2^32 clears the numbers come round: forget every slot.
        for (Slot& slot : slots_) slot.generation = kNoGeneration;
        generation_ = kNoGeneration + 1;
    }

private:
    static constexpr std::uint32_t kNoGeneration = 0;  // a slot never stored
    struct Slot {
        std::uint64_t bits = 0;
        T value{};
        std::uint32_t generation = kNoGeneration;
    };
    static std::uint64_t BitsOf(double x) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &x, sizeof bits);
        return bits;
    }
    std::size_t SlotOf(std::uint64_t bits) const {
        return static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15ULL) >> shift_);
    }
    void Put(std::uint64_t bits, const T& value) {
        std::size_t i = SlotOf(bits);
        while (slots_[i].generation == generation_ && slots_[i].bits != bits) i = (i + 1) & mask_;
        if (slots_[i].generation != generation_) ++count_;
        slots_[i] = {bits, value, generation_};
    }
    void Grow() {
        if (slots_.size() >= kMaxSlots) {
            Clear();
            return;
        }
        std::vector<Slot> old(slots_.empty() ? kFirstSlots : 2 * slots_.size());
        old.swap(slots_);
        mask_ = slots_.size() - 1;
        shift_ = 64;
        for (std::size_t n = slots_.size(); n > 1; n /= 2) --shift_;
        count_ = 0;
        for (const Slot& slot : old) {
            if (slot.generation == generation_) Put(slot.bits, slot.value);
        }
    }
    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
    int shift_ = 64;
    std::size_t count_ = 0;  // slots of this generation
    std::uint32_t generation_ = kNoGeneration + 1;
};
using DepthMemo = ValueMemo<double>;

// Values of a criterion that depend on a node's depths alone, kept by node
// number from the first iteration that forms them for the iterations and
// load cases after it. An entry answers only for the layer and the exact
// depths it was formed at, so a value found is exactly the value that would
// be computed; node set-up clears every entry when the nodes change (another
// pile length), so none outlives the nodes it came from.
template <class Values>
class NodeValueCache {
public:
    // The values kept for node k at this layer and these depths, or null.
    // They may be updated in place.
    Values* Find(int k, int layer, double x, double xv) {
        const auto i = static_cast<std::size_t>(k);
        if (k < 0 || i >= entries_.size()) return nullptr;
        Entry& entry = entries_[i];
        return entry.layer == layer && entry.x == x && entry.xv == xv ? &entry.values : nullptr;
    }
    // The entry of node k emptied, to be filled in place; it answers no
    // Find until Keep names its layer and depths.
    Values& Begin(int k) {
        const auto i = static_cast<std::size_t>(k);
        if (i >= entries_.size()) {
            // Room for every node at once: growing one node at a time would
            // copy the entries made so far again and again.
            if (entries_.capacity() <= i) entries_.reserve(std::max<std::size_t>(i + 1, kMaxNodes + 2));
            entries_.resize(i + 1);
        }
        entries_[i] = Entry{};
        return entries_[i].values;
    }
    void Keep(int k, int layer, double x, double xv) {
        Entry& entry = entries_[static_cast<std::size_t>(k)];
        entry.layer = layer;
        entry.x = x;
        entry.xv = xv;
    }
    // Forgets every entry; the storage is kept for the next set of nodes.
    void Clear() {
        for (Entry& entry : entries_) entry.layer = kNoLayer;
    }

private:
    static constexpr int kNoLayer = 0;  // layers are numbered from 1
    struct Entry {
        int layer = kNoLayer;
        double x = 0.0;
        double xv = 0.0;
        Values values{};
    };
    std::vector<Entry> entries_;
};

// The API sand curve at one node, as far as the node's depths fix it: the
// look-ups of the soil profile and the pile, the angles and coefficients of
// the wedge, and the level-ground resistances at the curve depth z they were
// formed at (the curve depth moves with the equivalent depth of a lower
// layer, and a new one forms them again).
struct ApiSandNodeValues {
    double b = 0.0, gamma = 0.0, phi_degrees = 0.0, phi = 0.0, pm = 0.0, ym = 0.0, k_modulus = 0.0;
    bool k_defaulted = false;
    double alpha = 0.0, beta = 0.0, K0 = 0.0, Ka = 0.0, Kp = 0.0;  // the wedge's angles and coefficients
    double Ka_used = 0.0;  // the active coefficient of the wedge: Coulomb's behind a slope, else Ka
    double C1 = 0.0, C2 = 0.0, C3 = 0.0;
    bool curve_known = false;  // the values below are those of curve depth z
    double z = 0.0, kz = 0.0, pus = 0.0, pud = 0.0, A = 0.0, p_at_yu = 0.0;
};

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

    // Set while the curves at the output depths are described, which need
    // not lie at pile nodes (the strength look-up's diagnostic says so).
    bool AtOutputDepths = false;

    // Depth-only look-ups of the criteria; kept through the load cases of
    // one pile and cleared when node set-up makes other nodes, so that they
    // never outlive the soil and pile data they came from.
    DepthMemo UnitWeightMemo;
    DepthMemo PileWidthMemo;
    // Depth-only values of the API sand curve by node.
    NodeValueCache<ApiSandNodeValues> ApiSandNodes;
    void ClearMemos() {
        UnitWeightMemo.Clear();
        PileWidthMemo.Clear();
        ApiSandNodes.Clear();
    }
};

}  // namespace trevasc::model
