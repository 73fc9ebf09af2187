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

namespace trevasc::soil {

// A criterion turns a node of a layer into its p-y curve, and has two uses
// for it. During the iterations it stores the spring of each pile node
// first .. last of the layer: the secant soil modulus at the node's
// deflection, with the layer's resistance for the equivalent depths below.
using SpringRoutine = void (*)(run::RunContext& ctx, int layer, int first, int last);

// Receives the curve of one output depth, as printed.
using PyCurveSink = std::function<void(const PyNode& depth, const PyCurveReport& curve)>;

// At the output depths of a layer (in the order given; their k numbers the
// layer's output depths consecutively) it describes each curve and hands it
// to `sink`, which prints it. A criterion never prints.
using CurveRoutine = void (*)(run::RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink);

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
void StoreLayerSprings(run::RunContext& ctx, int layer, int first, int last);
// Prints the p-y curves of `layer` at the output depths `depths`.
void WriteLayerCurves(run::RunContext& ctx, int layer, std::span<const PyNode> depths);
// Rock-layer bookkeeping after the criterion of `layer` has run.
void ApplyBelowRockBookkeeping(model::SoilState& soil, int layer, const CriterionEntry& entry);

// The criteria of this build.
void ElasticSubgradeSprings(run::RunContext& ctx, int layer, int first, int last);
void ElasticSubgradeCurves(run::RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink);
void UserPySprings(run::RunContext& ctx, int layer, int first, int last);
void UserPyCurves(run::RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink);
void WeakRockSprings(run::RunContext& ctx, int layer, int first, int last);
void WeakRockCurves(run::RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink);
void VuggyLimestoneSprings(run::RunContext& ctx, int layer, int first, int last);
void VuggyLimestoneCurves(run::RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink);
void MassiveRockSprings(run::RunContext& ctx, int layer, int first, int last);
void MassiveRockCurves(run::RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink);
void LiquefiedSandSprings(run::RunContext& ctx, int layer, int first, int last);
void LiquefiedSandCurves(run::RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink);
void CementedSiltSprings(run::RunContext& ctx, int layer, int first, int last);
void CementedSiltCurves(run::RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink);
void LoessSprings(run::RunContext& ctx, int layer, int first, int last);
void LoessCurves(run::RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink);
void PiedmontSprings(run::RunContext& ctx, int layer, int first, int last);
void PiedmontCurves(run::RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink);
void SoftClaySprings(run::RunContext& ctx, int layer, int first, int last);
void SoftClayCurves(run::RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink);
void SoftClayJSprings(run::RunContext& ctx, int layer, int first, int last);
void SoftClayJCurves(run::RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink);
void SandSprings(run::RunContext& ctx, int layer, int first, int last);
void SandCurves(run::RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink);
void ApiSandSprings(run::RunContext& ctx, int layer, int first, int last);
void ApiSandCurves(run::RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink);
void StiffClayWaterSprings(run::RunContext& ctx, int layer, int first, int last);
void StiffClayWaterCurves(run::RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink);
void StiffClayWithoutWaterSprings(run::RunContext& ctx, int layer, int first, int last);
void StiffClayWithoutWaterCurves(run::RunContext& ctx, int layer, std::span<const PyNode> depths,
                                 const PyCurveSink& sink);
void StiffClayWithKSprings(run::RunContext& ctx, int layer, int first, int last);
void StiffClayWithKCurves(run::RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink);

}  // namespace trevasc::soil
