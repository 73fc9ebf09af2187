// The table of p-y criteria. A soil layer selects its criterion by the
// 8-character name of its model code; each criterion lives in a file of its
// own and is added here with one table entry.
#pragma once

#include <functional>
#include <span>
#include <string_view>

#include "run/run_context.hpp"
#include "soil/criterion_report.hpp"
#include "soil/py_framework.hpp"

namespace trevasc {

// A criterion turns a node of a layer into its p-y curve, and has two uses
// for it. During the iterations it stores the spring of each pile node
// first .. last of the layer: the secant soil modulus at the node's
// deflection, with the layer's resistance for the equivalent depths below.
using SpringRoutine = void (*)(RunContext& ctx, int layer, int first, int last);

// Receives the curve of one output depth, as printed.
using PyCurveSink = std::function<void(const PyNode& depth, const PyCurveReport& curve)>;

// At the output depths of a layer (in the order given; their k numbers the
// layer's output depths consecutively) it describes each curve and hands it
// to `sink`, which prints it. A criterion never prints.
using CurveRoutine = void (*)(RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink);

// How a layer of the kind takes part in the top-down count of rock-like
// layers, which switches the layering correction off below them.
enum class RockRule {
    kMarkIfBelowRock,  // soils: marked when a rock-like layer lies above
    kCountThenMark,    // weak rock: counts itself first, so it is always marked
    kMarkThenCount,    // other rock-like layers and elastic subgrade
    kNone,             // user p-y curves: no bookkeeping
};

// Kind of a layer on either side of a strength interface (fn_c).
enum class InterfaceKind {
    kOther = 0,
    kCohesive = 1,
    kCohesionless = 2,
    kRock = 3,
    kUserCurves = 4,
    kElasticSubgrade = 5,
    kCohesiveIfStrength = 6,  // cemented silt: cohesive where its strength is positive
};

struct CriterionEntry {
    std::string_view name;       // 8-character model name, trailing blanks removed
    SpringRoutine springs;
    CurveRoutine curves;
    RockRule rock_rule;
    InterfaceKind interface_kind;
    bool layering_correction;    // uses the equivalent depth of the layers above
};

// The entry of a model name, or nullptr for a name with no criterion
// ("Frz Soil", "Undefined"): such layers keep the soil modulus they have.
const CriterionEntry* FindCriterion(std::string_view name);
const CriterionEntry* CriterionForCode(int soil_model_code);

// Stores the springs of nodes first .. last of `layer` from its criterion
// (a layer without a criterion keeps the soil modulus it has).
void StoreLayerSprings(RunContext& ctx, int layer, int first, int last);
// Prints the p-y curves of `layer` at the output depths `depths`.
void WriteLayerCurves(RunContext& ctx, int layer, std::span<const PyNode> depths);
// Rock-layer bookkeeping after the criterion of `layer` has run.
void ApplyBelowRockBookkeeping(model::SoilState& soil, int layer, const CriterionEntry& entry);

// The criteria of this build.
void ElasticSubgradeSprings(RunContext& ctx, int layer, int first, int last);
void ElasticSubgradeCurves(RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink);
void UserPySprings(RunContext& ctx, int layer, int first, int last);
void UserPyCurves(RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink);
void WeakRockSprings(RunContext& ctx, int layer, int first, int last);
void WeakRockCurves(RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink);
void VuggyLimestoneSprings(RunContext& ctx, int layer, int first, int last);
void VuggyLimestoneCurves(RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink);
void MassiveRockSprings(RunContext& ctx, int layer, int first, int last);
void MassiveRockCurves(RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink);
void LiquefiedSandSprings(RunContext& ctx, int layer, int first, int last);
void LiquefiedSandCurves(RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink);
void CementedSiltSprings(RunContext& ctx, int layer, int first, int last);
void CementedSiltCurves(RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink);
void LoessSprings(RunContext& ctx, int layer, int first, int last);
void LoessCurves(RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink);
void PiedmontSprings(RunContext& ctx, int layer, int first, int last);
void PiedmontCurves(RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink);
void SoftClaySprings(RunContext& ctx, int layer, int first, int last);
void SoftClayCurves(RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink);
void SoftClayJSprings(RunContext& ctx, int layer, int first, int last);
void SoftClayJCurves(RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink);
void SandSprings(RunContext& ctx, int layer, int first, int last);
void SandCurves(RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink);
void ApiSandSprings(RunContext& ctx, int layer, int first, int last);
void ApiSandCurves(RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink);
void StiffClayWaterSprings(RunContext& ctx, int layer, int first, int last);
void StiffClayWaterCurves(RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink);
void StiffClayWithoutWaterSprings(RunContext& ctx, int layer, int first, int last);
void StiffClayWithoutWaterCurves(RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink);
void StiffClayWithKSprings(RunContext& ctx, int layer, int first, int last);
void StiffClayWithKCurves(RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink);

}  // namespace trevasc
