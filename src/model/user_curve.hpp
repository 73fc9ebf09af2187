// The value of a user-input p-y curve between and beyond its points: what the
// user p-y criterion springs from and what the readers of the earlier formats
// interpolate curves in depth with, so that both read a curve alike.
#pragma once

#include <array>
#include <vector>

namespace trevasc::model {

// p at deflection y >= 0 of a piecewise-linear curve of (y, p) points: the
// first point's p at its y, the last point's p beyond the last point, linear
// on the segments in between, and the first segment extended below the first
// point. A curve without points gives 0, a one-point curve its p.
double UserCurveValue(const std::vector<std::array<double, 2>>& points, double y);

}  // namespace trevasc::model
