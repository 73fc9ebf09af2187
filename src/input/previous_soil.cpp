#include "input/previous_soil.hpp"

#include <algorithm>
#include <string>

#include "echo/echo.hpp"
#include "input/block_checks.hpp"
#include "input/reader_support.hpp"
#include "model/units.hpp"
#include "model/user_curve.hpp"
#include "report/fortran_format.hpp"

namespace trevasc::input {

using enum model::SoilModelCode;
namespace fmt = report::fmt;

namespace {

// Which side of a depth a value is taken from: the bottom of the part above
// the depth, or the top of the part below it. The two differ only at a step of
// a table (two points at one depth).
enum class Side { kAbove, kBelow };

// A value of a depth table at one depth: (1 - t) v(i) + t v(j).
struct Bracket {
    std::size_t i = 0;
    std::size_t j = 0;
    double t = 0.0;
};

// Depths must not decrease. Beyond the first or last depth the end value holds.
template <class DepthOf>
Bracket Locate(std::size_t n, DepthOf depth, double d, Side side) {
    if (side == Side::kAbove) {
        std::size_t j = 0;
        while (j < n && depth(j) < d) ++j;
        if (j == n) return {n - 1, n - 1, 0.0};
        if (depth(j) == d || j == 0) return {j, j, 0.0};
        return {j - 1, j, (d - depth(j - 1)) / (depth(j) - depth(j - 1))};
    }
    std::size_t count = 0;  // points at or above d
    while (count < n && depth(count) <= d) ++count;
    if (count == 0) return {0, 0, 0.0};
    const std::size_t j = count - 1;
    if (depth(j) == d || j == n - 1) return {j, j, 0.0};
    return {j, j + 1, (d - depth(j)) / (depth(j + 1) - depth(j))};
}

double Mix(const Bracket& b, double vi, double vj) { return b.i == b.j ? vi : (1.0 - b.t) * vi + b.t * vj; }

// The curve at depth d: a given curve, or the interpolation in depth of the
// two given curves around d, point by point at every deflection of either.
model::UserPyCurve CurveAt(const std::vector<model::UserPyCurve>& curves, double d, Side side) {
    const Bracket b = Locate(curves.size(), [&](std::size_t i) { return curves[i].Depth; }, d, side);
    model::UserPyCurve curve;
    curve.Depth = d;
    if (b.i == b.j) {
        curve.Points = curves[b.i].Points;
        return curve;
    }
    const auto& upper = curves[b.i].Points;
    const auto& lower = curves[b.j].Points;
    std::vector<double> ys;
    for (const auto& point : upper) ys.push_back(point[0]);
    for (const auto& point : lower) ys.push_back(point[0]);
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    for (double y : ys) {
        curve.Points.push_back({y, Mix(b, model::UserCurveValue(upper, y), model::UserCurveValue(lower, y))});
    }
    return curve;
}

std::string Depth(double value) { return fmt::F(value, 0, 3); }

template <class DepthOf>
void CheckDepthOrder(run::RunContext& ctx, std::size_t n, DepthOf depth, std::int32_t error, const std::string& table) {
    for (std::size_t i = 1; i < n; ++i) {
        if (depth(i) < depth(i - 1)) {
            StopOnInputError(ctx, error,
                             "Problem:  Point " + fmt::I0(static_cast<std::int64_t>(i + 1)) + " of the " + table +
                                 " lies at depth " + Depth(depth(i)) + ", above the point before it at " +
                                 Depth(depth(i - 1)) + ".",
                             "Solution: List the points of the " + table + " from the top down.");
        }
    }
}

// The table a model needs must reach from the ground surface down to the
// deepest pile depth in the layers of such models.
template <class DepthOf>
void CheckCoverage(run::RunContext& ctx, std::size_t n, DepthOf depth, double from, double to, const std::string& table,
                   const std::string& unit) {
    if (n > 0 && depth(0) <= from && depth(n - 1) >= to) return;
    const std::string given = n == 0 ? std::string("no points are given")
                                     : "its points reach from " + Depth(depth(0)) + " to " + Depth(depth(n - 1)) + unit;
    StopOnInputError(ctx, kPreviousSoilProfileError,
                     "Problem:  The soil models of the layers need the " + table + " from the ground surface at " +
                         Depth(from) + unit + " down to " + Depth(to) + unit + ", but " + given + ".",
                     "Solution: Give " + table + " points over the whole depth of the pile in soil.");
}

}  // namespace

PreviousModelNeeds NeedsOfModel(std::int32_t code) {
    switch (code) {
        case kSoftClay: case kStiffClayWithWater: case kStiffClayWithoutWater: case kStiffClayWithK:
        case kSand: case kApiSand: case kWeakRock: case kVuggyLimestone: case kCementedSilt:
        case kSoftClayJ: case kMassiveRock:
            return {true, true, false};
        case kLiquefiedSand: case kPiedmont: case kLoess:
            return {true, false, false};
        case kUserPy:
            return {false, false, true};
        default:  // elastic subgrade (modulus from k), frozen soil (no criterion)
            return {false, false, false};
    }
}

void BuildPreviousSoilProfile(run::RunContext& ctx, const PreviousSoilInput& input) {
    const std::string unit = " " + TrimRight(model::MakeUnitLabels(ctx.problem.Options.Units).DepthUnit);
    const auto& uw = input.unit_weights;
    const auto& st = input.strengths;
    const auto& curves = input.curves;
    auto uw_depth = [&](std::size_t i) { return uw[i][0]; };
    auto st_depth = [&](std::size_t i) { return st[i].Depth; };
    auto curve_depth = [&](std::size_t i) { return curves[i].Depth; };
    CheckDepthOrder(ctx, uw.size(), uw_depth, kPreviousSoilProfileError, "effective unit weight table");
    CheckDepthOrder(ctx, st.size(), st_depth, kPreviousSoilProfileError, "soil strength table");
    CheckDepthOrder(ctx, curves.size(), curve_depth, kPreviousUserCurveError, "user-input p-y curves");

    // 1. Joined layers.
    const std::size_t count = input.layers.size();
    std::vector<double> tops(count), bottoms(count);
    for (std::size_t l = 0; l < count; ++l) {
        tops[l] = l == 0 ? input.GroundSurfaceDepth : input.layers[l - 1].XLayerBottom;
        bottoms[l] = input.layers[l].XLayerBottom;
        if (bottoms[l] < tops[l]) {
            const std::string layer = fmt::I0(static_cast<std::int64_t>(l + 1));
            const std::string above = l == 0 ? "the ground surface at " + Depth(tops[l]) + unit
                                             : "the bottom of layer " + fmt::I0(static_cast<std::int64_t>(l)) +
                                                   " at " + Depth(tops[l]) + unit;
            StopOnInputError(ctx, kPreviousSoilProfileError,
                             "Problem:  The bottom of soil layer " + layer + " at " + Depth(bottoms[l]) + unit +
                                 " lies above " + above + "; the layers follow each other from the ground down.",
                             "Solution: List the soil layers from the top down, the first one ending below the "
                             "ground surface.");
        }
    }

    // 2. and 3. Parts of the layers with their values.
    std::vector<model::SoilLayer> parts;
    std::vector<std::size_t> part_of;  // layer (0-based) of each part
    for (std::size_t l = 0; l < count; ++l) {
        const PreviousLayer& given = input.layers[l];
        const PreviousModelNeeds needs = NeedsOfModel(given.KSOIL);
        const double t = tops[l];
        const double b = bottoms[l];
        std::vector<double> edges;
        auto add_inside = [&](double d) {
            if (t < d && d < b) edges.push_back(d);
        };
        for (const auto& point : uw) add_inside(point[0]);
        if (needs.strength) {
            for (const auto& point : st) add_inside(point.Depth);
        }
        if (needs.user_curves) {
            for (const auto& curve : curves) add_inside(curve.Depth);
        }
        edges.push_back(t);
        edges.push_back(b);
        std::sort(edges.begin(), edges.end());
        edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
        if (edges.size() == 1) edges.push_back(b);  // a layer of no thickness stays one part

        auto k_at = [&](double d) {
            if (!(b > t)) return given.SubgradeKTop;
            return given.SubgradeKTop + (given.SubgradeKBottom - given.SubgradeKTop) * (d - t) / (b - t);
        };
        auto fill = [&](model::SoilPointParams& point, double d, Side side) {
            point.Depth = d;
            point.SubgradeK = k_at(d);
            if (given.KSOIL == kElasticSubgrade) point.ElasticSubgradeModulus = point.SubgradeK;
            if (!uw.empty()) {
                const Bracket w = Locate(uw.size(), uw_depth, d, side);
                point.EffUnitWeight = Mix(w, uw[w.i][1], uw[w.j][1]);
            }
            if (!st.empty()) {
                const Bracket s = Locate(st.size(), st_depth, d, side);
                point.Cohesion = Mix(s, st[s.i].Cohesion, st[s.j].Cohesion);
                point.FrictionAngle = Mix(s, st[s.i].FrictionAngle, st[s.j].FrictionAngle);
                point.Epsilon50 = Mix(s, st[s.i].Epsilon50, st[s.j].Epsilon50);
                point.RQD = Mix(s, st[s.i].RQD, st[s.j].RQD);
            }
        };
        for (std::size_t e = 0; e + 1 < edges.size(); ++e) {
            model::SoilLayer part;
            part.KSOIL = given.KSOIL;
            part.XLayerTop = edges[e];
            part.XLayerBottom = edges[e + 1];
            fill(part.Top, part.XLayerTop, Side::kBelow);
            fill(part.Bottom, part.XLayerBottom, Side::kAbove);
            if (needs.user_curves && !curves.empty()) {
                part.UserCurveTop = CurveAt(curves, part.XLayerTop, Side::kBelow);
                part.UserCurveBottom = CurveAt(curves, part.XLayerBottom, Side::kAbove);
            }
            part.UserCurveTop.Depth = part.XLayerTop;
            part.UserCurveBottom.Depth = part.XLayerBottom;
            parts.push_back(std::move(part));
            part_of.push_back(l);
        }
    }

    // Coverage of the tables over the depths the pile reaches.
    const double L = input.PileTotalLength;
    const double ground = input.GroundSurfaceDepth;
    double uw_to = ground, st_to = ground;
    bool uw_needed = false, st_needed = false;
    for (std::size_t p = 0; p < parts.size(); ++p) {
        const model::SoilLayer& part = parts[p];
        if (part.XLayerTop > L) continue;  // below the pile tip
        const double reach = std::min(part.XLayerBottom, L);
        const PreviousModelNeeds needs = NeedsOfModel(part.KSOIL);
        if (needs.unit_weight) {
            uw_needed = true;
            uw_to = std::max(uw_to, reach);
        }
        if (needs.strength) {
            st_needed = true;
            st_to = std::max(st_to, reach);
        }
        if (needs.user_curves &&
            (curves.empty() || curves.front().Depth > part.XLayerTop || curves.back().Depth < reach)) {
            const std::string given = curves.empty() ? std::string("no user-input p-y curves are given")
                                                     : "the curves are given from " + Depth(curves.front().Depth) +
                                                           " to " + Depth(curves.back().Depth) + unit;
            StopOnInputError(ctx, kPreviousUserCurveError,
                             "Problem:  Soil layer " + fmt::I0(static_cast<std::int64_t>(part_of[p] + 1)) +
                                 " uses user-input p-y curves from " + Depth(part.XLayerTop) + " to " +
                                 Depth(reach) + unit + ", but " + given + ".",
                             "Solution: Give user-input p-y curves at the top and bottom of every layer that uses "
                             "them.");
        }
    }
    // The unit-weight table starts at the ground surface (errors 19 and 20,
    // as for the soil points of the current format); other gaps are error 78.
    if (!uw.empty()) echo::CheckFirstSoilDepth(ctx, uw_depth(0), ground);
    if (uw_needed) CheckCoverage(ctx, uw.size(), uw_depth, ground, uw_to, "effective unit weight", unit);
    if (st_needed) CheckCoverage(ctx, st.size(), st_depth, ground, st_to, "soil strength", unit);

    // Capacities of the layer table.
    CheckCapacity(ctx, static_cast<std::int32_t>(parts.size()), model::kMaxSoilLayers,
                  "the soil profile divided at the depths of its tables", "soil layers");
    for (std::size_t p = 0; p < parts.size(); ++p) {
        if (parts[p].KSOIL != kUserPy) continue;
        if (p + 1 > static_cast<std::size_t>(model::kMaxUserPyLayers)) {
            StopOnInputError(ctx, kCapacityError,
                             "Problem:  Soil layer " + fmt::I0(static_cast<std::int64_t>(part_of[p] + 1)) +
                                 " uses user-input p-y curves but lies beyond the first " +
                                 fmt::I0(model::kMaxUserPyLayers) + " layers of the divided soil profile.",
                             "Solution: Use fewer layers or fewer table points above this layer.");
        }
        for (const model::UserPyCurve* curve : {&parts[p].UserCurveTop, &parts[p].UserCurveBottom}) {
            CheckCapacity(ctx, static_cast<std::int32_t>(curve->Points.size()), model::kMaxUserPyPoints,
                          "the p-y curve at depth " + Depth(curve->Depth) + unit + " of soil layer " +
                              fmt::I0(static_cast<std::int64_t>(part_of[p] + 1)),
                          "p-y curve points");
        }
    }
    ctx.problem.Layers = std::move(parts);
}

}  // namespace trevasc::input
