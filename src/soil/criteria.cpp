#include "soil/criteria.hpp"

#include <array>

#include "soil/py_framework.hpp"

namespace trevasc {
namespace {

using enum RockRule;
using enum InterfaceKind;

// In the order in which layer names are compared.
constexpr std::array<CriterionEntry, 16> kCriteria{{
    {"SoftClay", &Soft_Clay_Criterion, kMarkIfBelowRock, kCohesive, true},
    {"SoftClyJ", &Soft_Clay_J_Criterion, kMarkIfBelowRock, kCohesive, true},
    {"StfClyBW", &Stiff_Clay_Water_Criterion, kMarkIfBelowRock, kCohesive, true},
    {"StfClyAW", &Stiff_Clay_Without_Water_Criterion, kMarkIfBelowRock, kCohesive, true},
    {"StfClyAK", &Stiff_Clay_With_K_Criterion, kMarkIfBelowRock, kCohesive, true},
    {"Sand", &Sand_Criterion, kMarkIfBelowRock, kCohesionless, true},
    {"API Sand", &Api_Sand_Criterion, kMarkIfBelowRock, kCohesionless, true},
    {"Liq Sand", &Liquefied_Sand_Criterion, kMarkIfBelowRock, kCohesionless, false},
    {"Cem Silt", &Cemented_Silt_Criterion, kMarkIfBelowRock, kCohesiveIfStrength, true},
    {"User p-y", &User_Py_Criterion, kNone, kUserCurves, false},
    {"WeakRock", &Weak_Rock_Criterion, kCountThenMark, kRock, false},
    {"Vuggy LS", &Vuggy_Limestone_Criterion, kMarkThenCount, kRock, false},
    {"MassRock", &Massive_Rock_Criterion, kMarkThenCount, kRock, false},
    {"KS Loess", &Loess_Criterion, kMarkThenCount, kCohesionless, false},
    {"Piedmont", &Piedmont_Criterion, kMarkThenCount, kCohesionless, false},
    {"Elast SG", &Elastic_Subgrade_Criterion, kMarkThenCount, kElasticSubgrade, false},
}};

}  // namespace

const CriterionEntry* FindCriterion(std::string_view name) {
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    for (const CriterionEntry& entry : kCriteria) {
        if (entry.name == name) return &entry;
    }
    return nullptr;
}

const CriterionEntry* CriterionForCode(int soil_model_code) { return FindCriterion(SoilModelName(soil_model_code)); }

void Call_Criterion(RunContext& ctx, int layer, int first, int last) {
    const int code = ctx.problem.Layers[static_cast<std::size_t>(layer - 1)].KSOIL;
    const CriterionEntry* entry = CriterionForCode(code);
    if (entry == nullptr) return;
    entry->routine(ctx, layer, first, last);
}

void Apply_Below_Rock_Bookkeeping(SoilState& soil, int layer, const CriterionEntry& entry) {
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
