// The table of p-y criteria. A soil layer selects its criterion by the
// 8-character name of its model code; each criterion lives in a file of its
// own and is added here with one table entry.
#pragma once

#include <string_view>

#include "run/run_context.hpp"

namespace trevasc {

// A criterion evaluates the nodes first .. last of a layer: in analysis mode
// it stores the secant soil modulus of each node, in report mode it prints
// the p-y curve at each report depth.
using CriterionRoutine = void (*)(RunContext& ctx, int layer, int first, int last);

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
    CriterionRoutine routine;
    RockRule rock_rule;
    InterfaceKind interface_kind;
    bool layering_correction;    // uses the equivalent depth of the layers above
};

// The entry of a model name, or nullptr for a name with no criterion
// ("Frz Soil", "Undefined"): such layers keep the soil modulus they have.
const CriterionEntry* FindCriterion(std::string_view name);
const CriterionEntry* CriterionForCode(int soil_model_code);

// Evaluates the criterion of `layer` over nodes first .. last.
void CallCriterion(RunContext& ctx, int layer, int first, int last);
// Rock-layer bookkeeping after the criterion of `layer` has run.
void ApplyBelowRockBookkeeping(SoilState& soil, int layer, const CriterionEntry& entry);

// The criteria of this build.
void ElasticSubgradeCriterion(RunContext& ctx, int layer, int first, int last);
void UserPyCriterion(RunContext& ctx, int layer, int first, int last);
void WeakRockCriterion(RunContext& ctx, int layer, int first, int last);
void VuggyLimestoneCriterion(RunContext& ctx, int layer, int first, int last);
void MassiveRockCriterion(RunContext& ctx, int layer, int first, int last);
void LiquefiedSandCriterion(RunContext& ctx, int layer, int first, int last);
void CementedSiltCriterion(RunContext& ctx, int layer, int first, int last);
void LoessCriterion(RunContext& ctx, int layer, int first, int last);
void PiedmontCriterion(RunContext& ctx, int layer, int first, int last);
void SoftClayCriterion(RunContext& ctx, int layer, int first, int last);
void SoftClayJCriterion(RunContext& ctx, int layer, int first, int last);
void SandCriterion(RunContext& ctx, int layer, int first, int last);
void ApiSandCriterion(RunContext& ctx, int layer, int first, int last);
void StiffClayWaterCriterion(RunContext& ctx, int layer, int first, int last);
void StiffClayWithoutWaterCriterion(RunContext& ctx, int layer, int first, int last);
void StiffClayWithKCriterion(RunContext& ctx, int layer, int first, int last);

}  // namespace trevasc
