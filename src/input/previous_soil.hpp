// The soil profile of the two earlier input formats, and how it becomes the
// layer table the p-y criteria read.
//
// The earlier formats describe the soil in four parts: layers (model code,
// top, bottom and, in the previous format, the subgrade modulus k at top and
// bottom), a depth table of effective unit weight, a depth table of strength
// (cohesion or rock strength, friction angle, epsilon-50 or krm and, in the
// previous format, RQD) and p-y curves given at depths. The criteria read each
// layer's parameters at its top and bottom and vary them linearly in between,
// so a table with a break of slope inside a layer, or a p-y curve inside a
// user-curve layer, is kept exactly by dividing that layer at the depth of the
// break: every part keeps the layer's model code and gets its values from the
// tables.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "run/run_context.hpp"

namespace trevasc::input {

// Input Data Error 78: a soil profile that cannot be built from the tables.
inline constexpr std::int32_t kPreviousSoilProfileError = 178;
// Input Data Error 79: user p-y curves that do not describe a user-curve layer.
inline constexpr std::int32_t kPreviousUserCurveError = 179;

// One layer line as read (depths in feet or metres).
struct PreviousLayer {
    std::int32_t KSOIL = 0;
    double XLayerTop = 0.0;
    double XLayerBottom = 0.0;
    double SubgradeKTop = 0.0;     // also the rock mass modulus Eir
    double SubgradeKBottom = 0.0;
};

struct PreviousStrengthPoint {
    double Depth = 0.0;
    double Cohesion = 0.0;         // also Qu of rock
    double FrictionAngle = 0.0;
    double Epsilon50 = 0.0;        // also krm of weak rock
    double RQD = 0.0;
};

struct PreviousSoilInput {
    double GroundSurfaceDepth = 0.0;
    double PileTotalLength = 0.0;
    std::vector<PreviousLayer> layers;
    std::vector<std::array<double, 2>> unit_weights;   // (depth, effective unit weight)
    std::vector<PreviousStrengthPoint> strengths;
    std::vector<model::UserPyCurve> curves;                   // each at its own depth
};

// What a layer of a model code takes from the tables.
struct PreviousModelNeeds {
    bool unit_weight;
    bool strength;
    bool user_curves;
};
PreviousModelNeeds NeedsOfModel(std::int32_t code);

// Builds problem.Layers (and nothing else) from the four parts:
//  1. the layers are joined top down: the first starts at the ground surface
//     and each of the others at the bottom of the one above, as the analysis
//     will join them anyway;
//  2. each layer is divided at every depth strictly inside it where the
//     unit-weight table has a point, where the strength table has a point
//     (models that use strength) or where a p-y curve is given (user-curve
//     layers);
//  3. every part gets its values at its top and bottom by linear
//     interpolation in the tables; at a step of a table (two points at one
//     depth) the part above takes the first value and the part below the
//     second; beyond the ends of a table the nearest end value holds. k is
//     interpolated linearly through the layer as given;
//  4. a user-curve part gets at its top and bottom the curve given at that
//     depth or, between two given curves, their linear interpolation in depth
//     (exact for the criterion, which interpolates the same way).
// Stops the run (errors 78, 79 and the capacity error 82) when the layers do
// not follow each other, a table is not in depth order, or a table a model
// needs does not cover the depths of the pile in that model's layers (the
// unit-weight and strength tables from the ground surface down, since the
// criteria average them from there).
void BuildPreviousSoilProfile(run::RunContext& ctx, const PreviousSoilInput& input);

}  // namespace trevasc::input
