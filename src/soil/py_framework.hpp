// What every p-y criterion shares: the node quantities a criterion reads,
// the soil profile look-ups (strength with its interface rules, epsilon-50,
// friction angle, average unit weight and strength from the ground surface,
// p- and y-multipliers, pile width), the ground-slope factor, the layering
// correction by equivalent depth, the deflection used on the curve, the
// secant modulus with the soil-movement load term, and the accumulation of
// layer resistance.
//
// Units are the internal consistent units of the run: pounds and inches for
// US customary input, kilonewtons and metres for SI, the user's own for
// general units.
#pragma once

#include <cmath>
#include <cstdint>
#include <string_view>

#include "run/run_context.hpp"

namespace trevasc::soil {

// The 8-character model name of a soil model code ("Sand    " is held
// without its trailing blanks); codes 18 to 20 and unknown codes are
// "Undefined".
std::string_view SoilModelName(int code);

// Every criterion reports its curve at this many points.
inline constexpr int kReportPoints = 17;
// Deflections below this are taken as zero when a secant modulus is formed
// (the curve's initial slope is used instead of p/y).
inline constexpr double kSmallDeflection = 1.0e-14;

// One "node" as a criterion sees it: a pile node during the iterations, or
// an output depth of the p-y curves.
struct PyNode {
    int k = 0;             // node number (output depth: its position in the list by layer)
    double x = 0.0;        // depth along the pile axis
    double xv = 0.0;       // vertical depth
    double z0 = 0.0;       // depth below the ground surface
    double y = 0.0;        // current deflection held for the node number
    double ysoil = 0.0;    // lateral soil movement
    double q = 0.0;        // distributed load per unit length
    int curve_number = 0;  // output depth: its ordinal in the user's list
};

// Pile node k as the criteria see it during the iterations.
inline PyNode PyNodeAt(const run::RunContext& ctx, int k) {
    const model::PileModel& pile = ctx.pile;
    PyNode node;
    node.k = k;
    node.x = pile.x(k);
    node.xv = pile.xv(k);
    node.y = pile.y(k);
    node.ysoil = pile.ysoil(k);
    node.q = pile.Q(k);
    node.z0 = node.xv - ctx.problem.GroundSurfaceDepth;
    return node;
}

// The "node" of output depth number `curve_number` (at `depth` along the
// axis), numbered k in the list of output depths. It holds the deflection of
// the pile node with the output depth's number.
PyNode OutputDepthNode(const run::RunContext& ctx, int k, double depth, int curve_number);

// Undrained shear strength (or Qu of rock) at vertical depth x, with the
// interface rules between layers of different kinds.
double fn_c(run::RunContext& ctx, double x);
// Epsilon-50 at x (0 below the profile) and friction angle at x (Input Data
// Error 4 below the profile), with the interface average.
double Epsilon50At(const run::RunContext& ctx, double x);
double FrictionAngleAt(run::RunContext& ctx, double x);
// The same point-list look-up on any column of the soil points.
double PointValueAt(const run::RunContext& ctx, double x, double model::SoilPointParams::*column);
// Averages from the ground surface down to x. The unit weight is remembered
// by depth for the iterations after the first; ComputeAverageUnitWeight
// forms it every time, for a caller that keeps the value itself.
double AverageUnitWeight(run::RunContext& ctx, double x);
double ComputeAverageUnitWeight(run::RunContext& ctx, double x);
double AverageStrength(run::RunContext& ctx, double x);
// Group-action multipliers at axial depth x (1 outside the profile).
double PMultiplierAt(const run::RunContext& ctx, double x);
double YMultiplierAt(const run::RunContext& ctx, double x);
// Pile width facing the soil at axial depth x, remembered by depth;
// ComputePileWidth looks it up every time.
double PileWidthAt(run::RunContext& ctx, double x);
double ComputePileWidth(const run::RunContext& ctx, double x);

// Factor on the ultimate resistance for sloping ground (1 on level ground or
// at zero deflection).
double GroundSlopeFactor(const run::RunContext& ctx, double y);

// Layering correction. Resistance of the layers above `layer` (A of the
// equivalent-depth equation), and the depth z used on the curve of a node of
// a criterion that applies the correction.
double ResistanceOfLayersAbove(const model::SoilState& soil, int layer);
// Sets Z as the equivalent depth of `layer`. A Z that is not a finite
// depth (a layer without strength or friction at its top develops no
// resistance, so no depth in it matches the layers above) gives way to the
// true depth of the layer's top below the ground.
inline void SetLayerEquivalentDepth(run::RunContext& ctx, int layer, double Z) {
    ctx.soil.EquivalentDepth[static_cast<std::size_t>(layer)] =
        std::isfinite(Z) && Z >= 0.0
            ? Z
            : ctx.problem.Layers[static_cast<std::size_t>(layer - 1)].XLayerTop - ctx.problem.GroundSurfaceDepth;
}
inline double CurveDepth(const run::RunContext& ctx, int layer, double xv, double z0) {
    const model::ProblemData& problem = ctx.problem;
    if (layer <= 1 || ctx.soil.BelowRockCount != 0) return z0;
    const auto& layers = problem.Layers;
    const bool ground_above_head = (layers.size() >= 1 && layers[0].XLayerBottom < -1.0e-8) ||
                                   (layers.size() >= 2 && layers[1].XLayerBottom < -1.0e-8);
    if (ground_above_head) return xv - layers[0].XLayerTop;
    return xv - layers[static_cast<std::size_t>(layer - 1)].XLayerTop +
           ctx.soil.EquivalentDepth[static_cast<std::size_t>(layer)];
}

// Deflection on the unmultiplied curve: y* = |y - ysoil| / ym.
inline double DeflectionOnCurve(const PyNode& node, double ym) { return std::fabs(node.y - node.ysoil) / ym; }

// Runtime Error 42: a soil modulus at node k that is not a finite number
// (a p-y curve that overflowed or divided by zero). Writes its message to both
// files and stops the run; no spring of the solution may be undefined.
[[noreturn]] void StopOnNonFiniteSoilModulus(run::RunContext& ctx, int k, double Es);
inline constexpr std::int32_t kNonFiniteSoilModulusError = 242;

// Writes the secant modulus of node k and, with soil movement, its load term
// R = ysoil Es + q.
inline void StoreSoilModulus(run::RunContext& ctx, const PyNode& node, double Es) {
    if (!std::isfinite(Es)) StopOnNonFiniteSoilModulus(ctx, node.k, Es);
    model::PileModel& pile = ctx.pile;
    pile.Es(node.k) = Es;
    const model::ProblemData& problem = ctx.problem;
    if (problem.Options.UseSoilMovement && !problem.SoilMovementProfile.empty()) {
        pile.R(node.k) = node.ysoil * Es + node.q;
    }
}

// Trapezoid accumulation of the ultimate resistance over a layer.
class LayerResistanceSum {
public:
    LayerResistanceSum(run::RunContext& ctx, int layer) : ctx_(ctx), layer_(layer) {}
    // pu at node k of the layer (first .. last, in order).
    void Add(const PyNode& node, double pu, bool first, bool last) {
        double& total = ctx_.soil.LayerResistance[static_cast<std::size_t>(layer_)];
        if (first) {
            total = 0.0;
        } else {
            total += (previous_ + pu) * ctx_.pile.h / 2.0;
        }
        if (last) {
            total += (ctx_.problem.Layers[static_cast<std::size_t>(layer_ - 1)].XLayerBottom - node.x) * pu;
        }
        previous_ = pu;
    }

private:
    run::RunContext& ctx_;
    int layer_;
    double previous_ = 0.0;
};

// Errors of the look-ups, also used by the criteria.
// Input Data Error 4: a node below the friction angle data.
[[noreturn]] void StopOnDepthBelowFrictionData(run::RunContext& ctx, double x);

}  // namespace trevasc::soil
