#include "section/stiffness_defined.hpp"

#include <algorithm>
#include <cmath>
#include <string>

#include "model/units.hpp"
#include "report/fortran_format.hpp"
#include "run/error_stop.hpp"
#include "section/section_init.hpp"
#include "section/section_plot.hpp"
#include "section/section_workspace.hpp"

namespace trevasc::section {

namespace fmt = report::fmt;

namespace {

constexpr double kElasticCurvatureStep = 10.0;  // phi_p = 10 p
constexpr int kElasticBranchPoints = 100;       // elastic-plastic: Mp reached at point 100
constexpr double kPlasticStepFactor = 20.0;     // plastic branch steps of 20 u

// Scale from moments and stiffnesses in input units to table units.
double KipScale(model::UnitSystem units) { return units == model::UnitSystem::USCS ? kPoundsPerKip : 1.0; }

model::SectionStiffness& TableOf(run::RunContext& ctx, int k) {
    return ctx.stiffness.Sections[static_cast<std::size_t>(k - 1)];
}

// Number of thrust levels of the run and the thrust of level t (1-based).
int RunThrustCount(const run::RunContext& ctx) { return static_cast<int>(ctx.stiffness.InputThrusts.size()); }
double RunThrust(const run::RunContext& ctx, int t) {
    return ctx.stiffness.InputThrusts[static_cast<std::size_t>(t - 1)];
}

void WriteCurvePlotLines(run::RunContext& ctx, PlotCurveKind kind, const model::SectionStiffness& table, int k, int t) {
    const model::ThrustLevelCurve* level =
        t <= static_cast<int>(table.Levels.size()) ? &table.Levels[static_cast<std::size_t>(t - 1)] : nullptr;
    const int points = level ? static_cast<int>(level->Points.size()) : 0;
    WritePlotLine4(ctx.files.plot, kind, points, RunThrust(ctx, t), level ? level->NominalMomentCapacity : 0.0);
    if (!level) return;
    for (int p = 1; p <= points; ++p) {
        const model::StiffnessPoint& point = level->Points[static_cast<std::size_t>(p - 1)];
        WritePlotLine5(ctx.files.plot, kind, point.Moment, point.EI, point.Curvature, k, t, p);
    }
}

// Thrust-independent curve on every thrust level of the run.
void FillEveryLevel(run::RunContext& ctx, model::SectionStiffness& table,
                    const std::vector<model::StiffnessPoint>& points, double capacity) {
    const int levels = RunThrustCount(ctx);
    table.Levels.assign(static_cast<std::size_t>(levels), model::ThrustLevelCurve{});
    for (int t = 1; t <= levels; ++t) {
        model::ThrustLevelCurve& level = table.Levels[static_cast<std::size_t>(t - 1)];
        level.AxialThrust = RunThrust(ctx, t);
        level.NominalMomentCapacity = capacity;
        level.Points = points;
    }
}

std::string SectionText(int k) { return "Section " + fmt::I0(k); }

}  // namespace

std::vector<model::StiffnessPoint> ElasticCurve(double EI, double scale) {
    std::vector<model::StiffnessPoint> points;
    points.reserve(model::kMaxStiffnessPoints);
    for (int p = 1; p <= model::kMaxStiffnessPoints; ++p) {
        const double phi = kElasticCurvatureStep * p;
        const double M = EI == 0.0 ? 0.0 : phi * EI;
        points.push_back(model::StiffnessPoint{M / scale, EI / scale, phi});
    }
    return points;
}

std::vector<model::StiffnessPoint> ElasticPlasticCurve(double EI, double Mp, double scale) {
    std::vector<model::StiffnessPoint> points;
    points.reserve(model::kMaxStiffnessPoints);
    const double u = Mp / EI / kElasticBranchPoints;
    for (int p = 1; p <= kElasticBranchPoints; ++p) {
        const double phi = p * u;
        const double M = EI * u == 0.0 ? 0.0 : phi * EI;
        points.push_back(model::StiffnessPoint{M / scale, EI / scale, phi});
    }
    for (int p = kElasticBranchPoints + 1; p <= model::kMaxStiffnessPoints; ++p) {
        const double phi = kElasticBranchPoints * u + kPlasticStepFactor * u * (p - kElasticBranchPoints);
        points.push_back(model::StiffnessPoint{Mp / scale, Mp / phi / scale, phi});
    }
    return points;
}

std::vector<model::StiffnessPoint> RefineUserCurve(const std::vector<std::array<double, 2>>& input) {
    if (input.empty()) return {};
    std::vector<std::array<double, 2>> pts;
    pts.reserve(input.size() + 1);
    if (input.front()[0] != 0.0) pts.push_back({0.0, input.front()[1]});
    pts.insert(pts.end(), input.begin(), input.end());
    const int n = static_cast<int>(input.size());
    const int m = static_cast<int>(pts.size());
    if (m < 2 || m > model::kMaxStiffnessPoints) return {};
    for (const auto& point : pts) {
        if (!(point[1] > 0.0) || !std::isfinite(point[0])) return {};
    }
    std::vector<std::array<double, 2>> refined;
    const int s = (model::kMaxStiffnessPoints - n) / (m - 1);
    if (s >= 1) {
        refined.reserve(static_cast<std::size_t>((m - 1) * s + 1));
        for (int k = 0; k + 1 < m; ++k) {
            const auto& a = pts[static_cast<std::size_t>(k)];
            const auto& b = pts[static_cast<std::size_t>(k + 1)];
            for (int j = 0; j < s; ++j) {
                refined.push_back({a[0] + j * (b[0] - a[0]) / s, a[1] + j * (b[1] - a[1]) / s});
            }
        }
        refined.push_back(pts.back());
    } else {
        refined = pts;
    }
    std::vector<model::StiffnessPoint> points;
    points.reserve(refined.size());
    for (const auto& point : refined) points.push_back(model::StiffnessPoint{point[0], point[1], point[0] / point[1]});
    return points;
}

void ComputeElasticSection(run::RunContext& ctx, const model::PileSection& section, int k) {
    const model::UnitSystem units = ctx.problem.Options.Units;
    const double scale = KipScale(units);
    const double EI = section.Elastic.ElasticModulus * section.Elastic.InertiaTop;
    model::SectionStiffness& table = TableOf(ctx, k);
    table.Source = model::StiffnessSource::Elastic;
    table.SectionType = section.SectionType;
    const std::vector<model::StiffnessPoint> points = ElasticCurve(EI, scale);
    FillEveryLevel(ctx, table, points, points.back().Moment * scale);

    ctx.files.report.Line("Moment-Curvature properties derived from elastic section properties");
    ctx.files.report.Blank(2);
    if (k == 1) WritePlotLine3(ctx.files.plot, PlotCurveKind::kElastic, RunThrustCount(ctx));
    for (int t = 1; t <= RunThrustCount(ctx); ++t) WriteCurvePlotLines(ctx, PlotCurveKind::kElastic, table, k, t);
}

void ComputeElasticPlasticSection(run::RunContext& ctx, const model::PileSection& section, int k) {
    const model::UnitSystem units = ctx.problem.Options.Units;
    const double scale = KipScale(units);
    const model::ElasticData& e = section.Elastic;
    const double EI_top = e.ElasticModulus * e.InertiaTop;
    const double EI_bottom = e.ElasticModulus * e.InertiaBottom;
    const bool tapered = e.InertiaTop != e.InertiaBottom || e.PlasticMomentTop != e.PlasticMomentBottom;
    const auto usable = [](double value) { return value > 0.0 && std::isfinite(value); };
    if (!usable(EI_top) || !usable(e.PlasticMomentTop) ||
        (tapered && (!usable(EI_bottom) || !usable(e.PlasticMomentBottom)))) {
        StopOnSectionError(ctx, kSectionDataError,
                           {SectionText(k) + " cannot be analysed: an elastic-plastic section needs an elastic modulus,",
                            "moments of inertia and plastic moment capacities greater than zero.",
                            "Correct the section data in the input file."});
    }
    model::SectionStiffness& table = TableOf(ctx, k);
    table.Source = model::StiffnessSource::ElasticPlastic;
    table.SectionType = section.SectionType;
    table.b_Tapered = tapered;
    table.TopDepth = section.SectionTopDepth;
    table.BottomDepth = section.SectionBottomDepth;
    table.PlasticMomentTop = e.PlasticMomentTop / scale;
    table.PlasticMomentBottom = (tapered ? e.PlasticMomentBottom : e.PlasticMomentTop) / scale;
    table.ElasticEITop = EI_top / scale;
    table.ElasticEIBottom = (tapered ? EI_bottom : EI_top) / scale;
    const std::vector<model::StiffnessPoint> points = ElasticPlasticCurve(EI_top, e.PlasticMomentTop, scale);
    FillEveryLevel(ctx, table, points, points.back().Moment * scale);

    ctx.files.report.Line("Moment-curvature properties were derived from elastic-plastic section properties");
    ctx.files.report.Blank(2);
    if (k == 1) WritePlotLine3(ctx.files.plot, PlotCurveKind::kElasticPlastic, RunThrustCount(ctx));
    for (int t = 1; t <= RunThrustCount(ctx); ++t) WriteCurvePlotLines(ctx, PlotCurveKind::kElasticPlastic, table, k, t);
}

void ComputeUserEISection(run::RunContext& ctx, const model::PileSection& section, int k) {
    const model::UnitSystem units = ctx.problem.Options.Units;
    const std::vector<model::UserEIThrustLevel>& levels = section.UserEI.ThrustLevels;
    const int run_levels = RunThrustCount(ctx);
    const int given = static_cast<int>(levels.size());
    if (ctx.problem.Options.AnalysisMode != 2 && given < run_levels) {
        run::WriteToBoth(ctx, {"", "", "**** Runtime Error No. 93 ****", "",
                               SectionText(k) + " has user-defined nonlinear EI for " + fmt::I0(given) +
                                   " axial thrust levels,",
                               "but the load cases of the analysis use " + fmt::I0(run_levels) +
                                   " axial thrust levels.",
                               "Give one M-EI curve for each distinct axial thrust of the load cases.", ""});
        run::Stop_With_Error(ctx, kMissingUserLevelsError);
    }

    model::SectionStiffness& table = TableOf(ctx, k);
    table.Source = model::StiffnessSource::UserDefined;
    table.SectionType = section.SectionType;
    table.Levels.assign(static_cast<std::size_t>(given), model::ThrustLevelCurve{});
    for (int j = 1; j <= given; ++j) {
        const model::UserEIThrustLevel& input = levels[static_cast<std::size_t>(j - 1)];
        std::vector<model::StiffnessPoint> points = RefineUserCurve(input.Points);
        if (points.empty()) {
            StopOnSectionError(
                ctx, kSectionDataError,
                {SectionText(k) + ", axial thrust level " + fmt::I0(j) + ": the M-EI points cannot form a curve.",
                 "A level needs at least one point of non-zero moment (two points with the leading zero),",
                 "at most 150 points, and bending stiffnesses greater than zero.",
                 "Correct the section data in the input file."});
        }
        model::ThrustLevelCurve& level = table.Levels[static_cast<std::size_t>(j - 1)];
        level.AxialThrust = j <= run_levels ? RunThrust(ctx, j) : input.AxialThrust;
        double largest = points.front().Moment;
        for (const model::StiffnessPoint& point : points) largest = std::max(largest, point.Moment);
        level.NominalMomentCapacity = largest;
        level.Points = std::move(points);
        ctx.files.report.Line("Moment-Curvature properties derived from input values for nonlinear M-EI properties");
        ctx.files.report.Blank(2);
    }
    for (int t = 1; t <= run_levels; ++t) WriteCurvePlotLines(ctx, PlotCurveKind::kUserDefined, table, k, t);
    if (units == model::UnitSystem::USCS) {
        const double scale = KipScale(units);
        for (model::ThrustLevelCurve& level : table.Levels) {
            for (model::StiffnessPoint& point : level.Points) {
                point.Moment /= scale;
                point.EI /= scale;
            }
        }
    }
}

}  // namespace trevasc::section
