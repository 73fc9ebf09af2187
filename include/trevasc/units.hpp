// Conversion factors between the units an input may use and the pounds and
// inches the analysis works in, for the engine and for hosts that show its
// results in other units. Header-only constexpr data: nothing is exported.
#pragma once

#include <numbers>

namespace trevasc {

inline constexpr double kPi = std::numbers::pi;
inline constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;
// Angles read in degrees become radians as degrees * kPi / kDegreesPerHalfTurn,
// the rounding every angle of the input and its writer has always had.
inline constexpr double kDegreesPerHalfTurn = 180.0;
inline constexpr double kPoundsPerKip = 1000.0;
inline constexpr double kInchesPerFoot = 12.0;
inline constexpr double kMillimetresPerMetre = 1000.0;
inline constexpr double kSquareInchesPerSquareFoot = 144.0;
inline constexpr double kCubicInchesPerCubicFoot = 1728.0;

}  // namespace trevasc
