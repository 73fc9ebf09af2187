#include "soil/criteria.hpp"

#include <array>

#include "soil/py_framework.hpp"
#include "trevasc/plot_records.hpp"

namespace trevasc {
namespace {

using enum RockRule;
using enum InterfaceKind;

// In the order in which layer names are compared.
constexpr std::array<CriterionEntry, 16> kCriteria{{
    {"SoftClay", &SoftClayCriterion, kMarkIfBelowRock, kCohesive, true},
    {"SoftClyJ", &SoftClayJCriterion, kMarkIfBelowRock, kCohesive, true},
    {"StfClyBW", &StiffClayWaterCriterion, kMarkIfBelowRock, kCohesive, true},
    {"StfClyAW", &StiffClayWithoutWaterCriterion, kMarkIfBelowRock, kCohesive, true},
    {"StfClyAK", &StiffClayWithKCriterion, kMarkIfBelowRock, kCohesive, true},
    {"Sand", &SandCriterion, kMarkIfBelowRock, kCohesionless, true},
    {"API Sand", &ApiSandCriterion, kMarkIfBelowRock, kCohesionless, true},
    {"Liq Sand", &LiquefiedSandCriterion, kMarkIfBelowRock, kCohesionless, false},
    {"Cem Silt", &CementedSiltCriterion, kMarkIfBelowRock, kCohesiveIfStrength, true},
    {"User p-y", &UserPyCriterion, kNone, kUserCurves, false},
    {"WeakRock", &WeakRockCriterion, kCountThenMark, kRock, false},
    {"Vuggy LS", &VuggyLimestoneCriterion, kMarkThenCount, kRock, false},
    {"MassRock", &MassiveRockCriterion, kMarkThenCount, kRock, false},
    {"KS Loess", &LoessCriterion, kMarkThenCount, kCohesionless, false},
    {"Piedmont", &PiedmontCriterion, kMarkThenCount, kCohesionless, false},
    {"Elast SG", &ElasticSubgradeCriterion, kMarkThenCount, kElasticSubgrade, false},
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

void CallCriterion(RunContext& ctx, int layer, int first, int last) {
    const int code = ctx.problem.Layers[static_cast<std::size_t>(layer - 1)].KSOIL;
    const CriterionEntry* entry = CriterionForCode(code);
    if (entry == nullptr) return;
    entry->routine(ctx, layer, first, last);
}

void ApplyBelowRockBookkeeping(SoilState& soil, int layer, const CriterionEntry& entry) {
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

}  // namespace trevasc
