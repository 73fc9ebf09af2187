// User-input p-y curves ("User p-y").
//
// The layer carries two p-y curves given point by point, one at its top
// (depth Dt) and one at its bottom (Db). The resistance at a node is
// interpolated linearly in depth between the two curves evaluated at the
// node's deflection,
//
//     p = ptop(y*) + (pbot(y*) - ptop(y*)) (d - Dt) / (Db - Dt),
//
// each curve being piecewise linear between its points and constant beyond
// its last point pn (its ultimate resistance). The initial modulus of a curve
// is the slope to its second point, k0 = p2 / y2, interpolated the same way;
// it serves as the secant modulus at vanishing deflection. With y* =
// |y - ysoil| / ym the secant modulus is Es = pm p / (ym y*). The layer adds
// the rectangle h pu of every node to its resistance for the equivalent
// depths of the layers below. Units: those of the run (the curves are given
// in them).
#include <array>
#include <cmath>

#include "model/user_curve.hpp"
#include "report/fortran_format.hpp"
#include "report/report_helpers.hpp"
#include "run/error_stop.hpp"
#include "run/run_context.hpp"
#include "soil/criteria.hpp"
#include "soil/criterion_report.hpp"
#include "soil/py_framework.hpp"

namespace trevasc::soil {

namespace fmt = report::fmt;

namespace {

// Runtime Error 96: a user-input p-y curve that cannot be evaluated.
constexpr std::int32_t kUnusableUserCurve = 296;

// Report deflections: 0, 0.001 (in the run's length unit) and then fractions
// of the pile width, all as stored in single precision.
constexpr double kFirstReportDeflection = 0.0010000000474974513;  // 0.001
constexpr std::array<double, 14> kReportWidthFractions = {
    0.0062500000931322575,  // 0.00625
    0.012500000186264515,   // 0.0125
    0.01875000074505806,    // 0.01875
    0.02500000037252903,    // 0.025
    0.03125,
    0.03750000149011612,    // 0.0375
    0.04374999925494194,    // 0.04375
    0.05000000074505806,    // 0.05
    0.05624999850988388,    // 0.05625
    0.0625,
    0.06875000149011612,    // 0.06875
    0.07500000298023224,    // 0.075
    0.20000000298023224,    // 0.2
    0.375,
};
constexpr double kLastReportWidthFraction = 0.5;

using CurvePoints = std::vector<std::array<double, 2>>;

// Runtime Error 96: a user-input curve with fewer than two points or a second
// point at zero deflection, so that its initial modulus is undefined.
[[noreturn]] void StopOnUnusableUserCurve(run::RunContext& ctx, int layer, std::string_view where,
                                          const std::string& problem) {
    run::WriteToBoth(ctx, {"", "**** Runtime Error No. 96 ****", "",
                           "The user-input p-y curve at the " + std::string(where) + " of soil layer " +
                               fmt::I0(layer) + " cannot be used.",
                           problem, "Please correct the points of this curve and repeat the analysis.", ""});
    run::Stop_With_Error(ctx, kUnusableUserCurve);
}

void CheckCurve(run::RunContext& ctx, int layer, const CurvePoints& curve, std::string_view where) {
    if (curve.size() < 2) {
        StopOnUnusableUserCurve(ctx, layer, where,
                                "It has " + fmt::I0(static_cast<std::int64_t>(curve.size())) +
                                    " points; a p-y curve needs at least two.");
    }
    if (curve[1][0] == 0.0) {
        StopOnUnusableUserCurve(ctx, layer, where,
                                "Its second point has zero deflection, so its initial modulus p/y is undefined.");
    }
}

// What the curves of a layer share: its two input curves, placed at their
// depths, with their initial moduli and ultimate resistances.
struct UserPyLayer {
    const CurvePoints* top = nullptr;
    const CurvePoints* bottom = nullptr;
    double Dt = 0.0;
    double Db = 0.0;
    double k0_top = 0.0;
    double k0_bottom = 0.0;
    double pn_top = 0.0;
    double pn_bottom = 0.0;

    // p of the layer at deflection y and vertical depth d (0 outside the
    // depth range of the two curves), with the interpolated initial modulus.
    double P(double y, double d, double& k0) const {
        if (!(Dt <= d && d <= Db)) {
            k0 = 0.0;
            return 0.0;
        }
        const double f = Db > Dt ? (d - Dt) / (Db - Dt) : 0.0;
        const double ptop = model::UserCurveValue(*top, y);
        const double pbot = model::UserCurveValue(*bottom, y);
        k0 = k0_top + (k0_bottom - k0_top) * f;
        return ptop + (pbot - ptop) * f;
    }
    // The ultimate resistance at vertical depth d.
    double Pu(double d) const {
        return std::fabs(Db - Dt) > 1.0e-6 ? pn_top + (d - Dt) * (pn_bottom - pn_top) / (Db - Dt) : pn_top;
    }
};

UserPyLayer UserPyLayerOf(run::RunContext& ctx, int layer) {
    const model::SoilLayer& soil_layer = ctx.problem.Layers[static_cast<std::size_t>(layer - 1)];
    const CurvePoints& top = soil_layer.UserCurveTop.Points;
    const CurvePoints& bottom = soil_layer.UserCurveBottom.Points;
    CheckCurve(ctx, layer, top, "top");
    CheckCurve(ctx, layer, bottom, "bottom");
    UserPyLayer l;
    l.top = &top;
    l.bottom = &bottom;
    l.Dt = soil_layer.UserCurveTop.Depth;
    l.Db = soil_layer.UserCurveBottom.Depth;
    l.k0_top = top[1][1] / top[1][0];
    l.k0_bottom = bottom[1][1] / bottom[1][0];
    l.pn_top = top.back()[1];
    l.pn_bottom = bottom.back()[1];
    return l;
}

// The width and multipliers at a node, and the depth its curve is taken at.
struct UserPyNodeCurve {
    double b = 0.0;
    double pm = 0.0;
    double ym = 0.0;
    double d = 0.0;
};

UserPyNodeCurve UserPyCurveAt(run::RunContext& ctx, const PyNode& node) {
    UserPyNodeCurve c;
    c.b = PileWidthAt(ctx, node.x);
    c.pm = PMultiplierAt(ctx, node.x);
    c.ym = YMultiplierAt(ctx, node.x);
    // The curves are placed at the layer's top and bottom, which are
    // vertical depths; a battered pile's nodes are placed on them by their
    // vertical depth too.
    c.d = node.xv;
    return c;
}

PyCurveReport DescribeCurve(const run::RunContext& ctx, int layer, const UserPyLayer& l, const PyNode& node,
                            const UserPyNodeCurve& c) {
    PyCurveReport report(29, PointFields::kFixedFourDecimals);
    const model::UnitLabels& u = ctx.labels;
    const bool uscs = ctx.problem.Options.Units == model::UnitSystem::USCS;
    const std::string length = report::TrimRight(u.Length);
    const std::string depth_unit = uscs ? report::TrimRight(u.DepthUnit) : length;
    const double depth_scale = uscs ? kInchesPerFoot : 1.0;
    report.Opening("p-y Curve Computed by Interpolation Between User-input Curves", layer, 12);
    report.Labelled("Depth below pile head", fmt::F(node.x / depth_scale, 12, 3) + " " + depth_unit);
    report.Labelled("Depth below ground surface", fmt::F(node.z0 / depth_scale, 12, 3) + " " + depth_unit);
    report.Labelled("Pile diameter", fmt::F(c.b, 12, 3) + " " + length);
    report.Labelled("p-multiplier", fmt::F(c.pm, 12, 3));
    report.Labelled("y-multiplier", fmt::F(c.ym, 12, 3));
    report.Blank();
    report.Columns(7, "y, " + length, 25, "p, " + report::TrimRight(u.Force3) + "/" + length);
    report.Line("----------------    ----------------");
    for (int j = 1; j <= kReportPoints; ++j) {
        double yj = 0.0;
        if (j == 2) {
            yj = kFirstReportDeflection;
        } else if (j >= 3 && j <= 16) {
            yj = c.b * kReportWidthFractions[static_cast<std::size_t>(j - 3)];
        } else if (j == 17) {
            yj = kLastReportWidthFraction * c.b;
        }
        double k0 = 0.0;
        report.Point(c.ym * yj, c.pm * l.P(yj, c.d, k0));
    }
    return report;
}

}  // namespace

void UserPySprings(run::RunContext& ctx, int layer, int first, int last) {
    const UserPyLayer l = UserPyLayerOf(ctx, layer);
    double& layer_resistance = ctx.soil.LayerResistance[static_cast<std::size_t>(layer)];
    for (int k = first; k <= last; ++k) {
        const PyNode node = PyNodeAt(ctx, k);
        const UserPyNodeCurve c = UserPyCurveAt(ctx, node);
        if (k == first) layer_resistance = 0.0;
        const double ystar = DeflectionOnCurve(node, c.ym);
        double k0 = 0.0;
        const double p = l.P(ystar, c.d, k0);
        layer_resistance += ctx.pile.h * l.Pu(c.d);
        StoreSoilModulus(ctx, node, ystar < kSmallDeflection ? k0 : c.pm * p / (c.ym * ystar));
    }
}

void UserPyCurves(run::RunContext& ctx, int layer, std::span<const PyNode> depths, const PyCurveSink& sink) {
    const UserPyLayer l = UserPyLayerOf(ctx, layer);
    for (const PyNode& depth : depths) {
        sink(depth, DescribeCurve(ctx, layer, l, depth, UserPyCurveAt(ctx, depth)));
    }
}

}  // namespace trevasc::soil
