#include "soil/criteria.hpp"

#include <array>

#include "soil/criterion_report.hpp"
#include "soil/py_framework.hpp"
#include "trevasc/plot_records.hpp"

namespace trevasc::soil {
namespace {

using enum RockRule;
using enum InterfaceKind;

// In the order in which layer names are compared.
constexpr std::array<CriterionEntry, 16> kCriteria{{
    {"SoftClay", &SoftClaySprings, &SoftClayCurves, kMarkIfBelowRock, kCohesive, true},
    {"SoftClyJ", &SoftClayJSprings, &SoftClayJCurves, kMarkIfBelowRock, kCohesive, true},
    {"StfClyBW", &StiffClayWaterSprings, &StiffClayWaterCurves, kMarkIfBelowRock, kCohesive, true},
    {"StfClyAW", &StiffClayWithoutWaterSprings, &StiffClayWithoutWaterCurves, kMarkIfBelowRock, kCohesive, true},
    {"StfClyAK", &StiffClayWithKSprings, &StiffClayWithKCurves, kMarkIfBelowRock, kCohesive, true},
    {"Sand", &SandSprings, &SandCurves, kMarkIfBelowRock, kCohesionless, true},
    {"API Sand", &ApiSandSprings, &ApiSandCurves, kMarkIfBelowRock, kCohesionless, true},
    {"Liq Sand", &LiquefiedSandSprings, &LiquefiedSandCurves, kMarkIfBelowRock, kCohesionless, false},
    {"Cem Silt", &CementedSiltSprings, &CementedSiltCurves, kMarkIfBelowRock, kCohesiveIfStrength, true},
    {"User p-y", &UserPySprings, &UserPyCurves, kNone, kUserCurves, false},
    {"WeakRock", &WeakRockSprings, &WeakRockCurves, kCountThenMark, kRock, false},
    {"Vuggy LS", &VuggyLimestoneSprings, &VuggyLimestoneCurves, kMarkThenCount, kRock, false},
    {"MassRock", &MassiveRockSprings, &MassiveRockCurves, kMarkThenCount, kRock, false},
    {"KS Loess", &LoessSprings, &LoessCurves, kMarkThenCount, kCohesionless, false},
    {"Piedmont", &PiedmontSprings, &PiedmontCurves, kMarkThenCount, kCohesionless, false},
    {"Elast SG", &ElasticSubgradeSprings, &ElasticSubgradeCurves, kMarkThenCount, kElasticSubgrade, false},
}};

// Every criterion prints its curves with the plot-file labels of its model.
// (Names are compared rather than addresses, which sanitizer builds do not
// treat as constants.)
constexpr bool EveryCriterionHasPlotLabels() {
    for (const CriterionEntry& entry : kCriteria) {
        bool found = false;
        for (const plot::PyCurveLabels& labels : plot::kPyCurveLabels) found = found || labels.soil_model == entry.name;
        if (!found) return false;
    }
    return true;
}
static_assert(EveryCriterionHasPlotLabels());
static_assert(kReportPoints == plot::kPyCurvePoints);

}  // namespace

const CriterionEntry* FindCriterion(std::string_view name) {
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    for (const CriterionEntry& entry : kCriteria) {
        if (entry.name == name) return &entry;
    }
    return nullptr;
}

const CriterionEntry* CriterionForCode(int soil_model_code) { return FindCriterion(SoilModelName(soil_model_code)); }

void StoreLayerSprings(run::RunContext& ctx, int layer, int first, int last) {
    const CriterionEntry* entry = CriterionForCode(ctx.problem.Layers[static_cast<std::size_t>(layer - 1)].KSOIL);
    if (entry == nullptr) return;
    entry->springs(ctx, layer, first, last);
}

void WriteLayerCurves(run::RunContext& ctx, int layer, std::span<const PyNode> depths) {
    const CriterionEntry* entry = CriterionForCode(ctx.problem.Layers[static_cast<std::size_t>(layer - 1)].KSOIL);
    if (entry == nullptr || depths.empty()) return;
    entry->curves(ctx, layer, depths,
                  [&ctx, layer](const PyNode& depth, const PyCurveReport& curve) {
                      WritePyCurveReport(ctx, layer, depth, curve);
                  });
}

void ApplyBelowRockBookkeeping(model::SoilState& soil, int layer, const CriterionEntry& entry) {
    auto& marked = soil.BelowRockLayer[static_cast<std::size_t>(layer)];
    switch (entry.rock_rule) {
        case kMarkIfBelowRock:
            if (soil.BelowRockCount >= 1) marked = true;
            break;
        case kCountThenMark:
            soil.BelowRockCount += 1;
            marked = true;
            break;
        case kMarkThenCount:
            if (soil.BelowRockCount >= 1) marked = true;
            soil.BelowRockCount += 1;
            break;
        case kNone:
            break;
    }
}

}  // namespace trevasc::soil
