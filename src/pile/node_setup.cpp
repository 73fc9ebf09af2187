#include "pile/node_setup.hpp"

#include <algorithm>
#include <cmath>

#include "pile/solver.hpp"
#include "report/fortran_format.hpp"
#include "run/error_stop.hpp"

namespace trevasc::pile {

namespace fmt = report::fmt;

namespace {

// Moment-curvature tables of section analysis are in kips and inches for US
// customary runs; the pile model works in pounds.

// Runtime Error 95: a node needs a moment-curvature table that section
// analysis has not provided.
constexpr std::int32_t kMissingStiffnessTable = 295;

double Linear(double x0, double v0, double x1, double v1, double x) {
    return v0 + (v1 - v0) * (x - x0) / (x1 - x0);
}

const model::ThrustLevelCurve& CurveAt(run::RunContext& ctx, int s, int t) {
    const auto& sections = ctx.stiffness.Sections;
    if (s >= 1 && s <= static_cast<int>(sections.size())) {
        const auto& levels = sections[static_cast<std::size_t>(s - 1)].Levels;
        if (t >= 1 && t <= static_cast<int>(levels.size()) &&
            !levels[static_cast<std::size_t>(t - 1)].Points.empty()) {
            return levels[static_cast<std::size_t>(t - 1)];
        }
    }
    run::WriteToBoth(ctx, {"", "**** Runtime Error No. 95 ****", "",
                           "No moment-curvature table is available for pile section " + fmt::I0(s) +
                               " at axial thrust level " + fmt::I0(t) + ".",
                           "The bending stiffness of the pile cannot be updated from section analysis.", ""});
    run::Stop_With_Error(ctx, kMissingStiffnessTable);
}

// Section whose bottom is the first at or below depth x (the last section
// when x lies below them all).
int SectionByDepth(const model::ProblemData& problem, double x) {
    const int count = static_cast<int>(problem.Sections.size());
    for (int j = 1; j <= count; ++j) {
        if (problem.Sections[static_cast<std::size_t>(j - 1)].SectionBottomDepth >= x) return j;
    }
    return count;
}

// Curvature at node k from the deflections: second difference, zero at the tip.
double NodeCurvature(const model::PileModel& pile, int k) {
    if (k >= pile.N) return 0.0;
    return std::fabs((pile.y(k + 1) - 2.0 * pile.y(k) + pile.y(k - 1)) / (pile.h * pile.h));
}

}  // namespace

void ComputeNodeDepths(model::PileModel& pile, int increments, double L, double batter_angle) {
    pile.N = increments + 1;
    pile.L = L;
    pile.h = L / increments;
    const double cosine = std::cos(batter_angle);
    for (int k = 1; k <= pile.N; ++k) {
        pile.x(k) = (k - 1) * pile.h;
        pile.xv(k) = pile.x(k) * cosine;
    }
    pile.x(pile.N) = L;  // no rounding at the tip
}

void Assign_Nodes_To_Sections(const model::ProblemData& problem, model::PileModel& pile) {
    const int count = static_cast<int>(problem.Sections.size());
    for (int k = 1; k <= pile.N; ++k) {
        if (count <= 1 || k == 1) {
            pile.section(k) = 1;
            continue;
        }
        // A node exactly at a section boundary belongs to the upper section.
        int assigned = count;
        for (int j = 1; j <= count; ++j) {
            const model::PileSection& s = problem.Sections[static_cast<std::size_t>(j - 1)];
            if (s.SectionTopDepth < pile.x(k) && pile.x(k) <= s.SectionBottomDepth) {
                assigned = j;
                break;
            }
        }
        pile.section(k) = assigned;
    }
}

void Assign_Nodes_To_Layers(run::RunContext& ctx) {
    model::PileModel& pile = ctx.pile;
    const model::ProblemData& problem = ctx.problem;
    const int layers = problem.i_Number_of_Layers();
    pile.TopNode.fill(0);
    pile.BottomNode.fill(0);
    const int n = pile.N;

    // Top nodes; a node exactly at an interface belongs to the lower layer.
    int tip_layer = 0;
    for (int l = 1; l <= layers; ++l) {
        const model::SoilLayer& layer = problem.Layers[static_cast<std::size_t>(l - 1)];
        int k = 1;
        while (k <= n && pile.xv(k) < layer.XLayerTop) ++k;
        if (k > n || pile.xv(k) > layer.XLayerBottom) continue;  // the layer holds no node
        pile.TopNode[static_cast<std::size_t>(l)] = k;
        if (layer.XLayerBottom >= pile.xv(n)) {
            pile.BottomNode[static_cast<std::size_t>(l)] = n;
            tip_layer = l;
            break;
        }
    }

    // Bottom nodes: one above the top node of the next layer that holds nodes.
    const int last_searched = tip_layer > 0 ? tip_layer : layers;
    const int last_above_tip = tip_layer > 0 ? tip_layer - 1 : layers;
    for (int l = 1; l <= last_above_tip; ++l) {
        if (pile.TopNode[static_cast<std::size_t>(l)] == 0) continue;
        int j = l + 1;
        while (j <= last_searched && pile.TopNode[static_cast<std::size_t>(j)] == 0) ++j;
        if (j <= last_searched) {
            pile.BottomNode[static_cast<std::size_t>(l)] = pile.TopNode[static_cast<std::size_t>(j)] - 1;
            continue;
        }
        report::OutputChannel& report = ctx.files.report;
        report.Line("ERROR 2 in computing i_BottomNodeInLayer");
        report.Line("Num_Nodes_To_Assign = " + fmt::I0(n));
        report.Line("ilayer = " + fmt::I0(l));
        report.Line("klayer = " + fmt::I0(j));
        report.Line("jlayer = " + fmt::I0(tip_layer));
        report.Line("i_Number_of_Layers = " + fmt::I0(layers));
    }
}

double Average_Distributed_Load(const std::vector<std::array<double, 2>>& table, double x, double h) {
    const std::size_t n = table.size();
    if (n == 0 || h <= 0.0) return 0.0;
    const double top = x - 0.5 * h;
    const double bottom = x + 0.5 * h;
    if (bottom <= table.front()[0] || top > table.back()[0]) return 0.0;
    // The intensity is linear on every segment of positive length, so the
    // trapezoid rule over the part of the segment inside [top, bottom] is
    // exact; at a step (a repeated depth) the segment above supplies the
    // value at the upper end and the segment below the value at the lower end.
    double integral = 0.0;
    for (std::size_t i = 1; i < n; ++i) {
        const double d0 = table[i - 1][0];
        const double d1 = table[i][0];
        if (!(d1 > d0)) continue;
        const double a = std::max(top, d0);
        const double b = std::min(bottom, d1);
        if (!(b > a)) continue;
        const double wa = Linear(d0, table[i - 1][1], d1, table[i][1], a);
        const double wb = Linear(d0, table[i - 1][1], d1, table[i][1], b);
        integral += 0.5 * (wa + wb) * (b - a);
    }
    return integral / h;
}

void Interpolate_Soil_Movement(const model::ProblemData& problem, model::PileModel& pile) {
    const auto& profile = problem.SoilMovementProfile;
    const int n = static_cast<int>(profile.size());
    auto depth = [&](int j) { return profile[static_cast<std::size_t>(j - 1)][0]; };
    auto movement = [&](int j) { return profile[static_cast<std::size_t>(j - 1)][1]; };
    int j = 2;
    for (int k = 1; k <= pile.N; ++k) {
        const double xk = pile.x(k);
        if (n < 2 || xk < depth(1) || xk > depth(n)) {
            pile.ysoil(k) = 0.0;
            continue;
        }
        while (j < n && depth(j) < xk) ++j;  // the search carries on from the previous node
        if (std::fabs(depth(j) - depth(j - 1)) < 1.0e-5) {
            pile.ysoil(k) = 0.5 * (movement(j) + movement(j - 1));
        } else {
            pile.ysoil(k) = Linear(depth(j - 1), movement(j - 1), depth(j), movement(j), xk);
        }
    }
}

void SetUpNodes(run::RunContext& ctx, double L, int case_number) {
    model::PileModel& pile = ctx.pile;
    const model::ProblemData& problem = ctx.problem;
    const int last_nodes = pile.N;
    const double last_length = pile.L;
    const double last_tip_depth = pile.xv(pile.N);
    ComputeNodeDepths(pile, problem.Options.NumberOfIncrements, L, problem.PileBatterAngle);
    // The criteria's depth-only values belong to these nodes. The load cases
    // of one pile set up the same nodes again, in the same soil: their values
    // stay, so that the first iteration of a case does not form every one of
    // them again. A pile of another length (the length study) starts afresh.
    if (pile.N != last_nodes || pile.L != last_length || pile.xv(pile.N) != last_tip_depth) ctx.soil.ClearMemos();
    for (int k = 1; k <= pile.N; ++k) {
        pile.Q(k) = Average_Distributed_Load(problem.DistributedLoad, pile.x(k), pile.h);
        pile.R(k) = pile.Q(k);
        pile.EI(k) = model::Lookup_Pile_Properties(problem, pile.x(k)).EI;
        pile.beyond_curve(k) = 0;
    }
    pile.AnyBeyondCurve = false;
    pile.head_own_stiffness = false;
    pile.x(pile.N) = L;
    Assign_Nodes_To_Sections(problem, pile);
    SetStressProperties(problem, pile);
    Assign_Nodes_To_Layers(ctx);
    if (case_number > 0) {
        ctx.files.messages.Line("Computing lateral response of pile for load number " + fmt::I0(case_number));
    }
    if (problem.SoilMovementProfile.size() > 1) {
        Interpolate_Soil_Movement(problem, pile);
    } else {
        pile.ysoil.Fill(0.0);
    }
    pile.y.Fill(0.0);
    for (int k = 1; k <= pile.N; ++k) {
        pile.Es(k) = pile.xv(k) >= problem.GroundSurfaceDepth ? model::kInitialSoilModulus : 0.0;
    }
    pile.Vt = 0.0;
    pile.tip_relaxation = 1.0;
    pile.tip_last_deflection = 0.0;
    pile.tip_last_change = 0.0;
    pile.lost_stiffness = false;
    pile.dYmax = 0.0;
}

int AxialThrustIndex(const model::ProblemData& problem, double p_prime) {
    const auto& T = problem.AxialThrustList;
    const int n = static_cast<int>(T.size());
    if (n == 0) return 0;
    for (int i = 1; i < n; ++i) {
        if (T[static_cast<std::size_t>(i - 1)] <= p_prime && p_prime < T[static_cast<std::size_t>(i)]) return i;
    }
    if (p_prime >= T[static_cast<std::size_t>(n - 1)]) return n;
    return 1;
}

double Interpolate_EI_From_Curve(run::RunContext& ctx, int k, int s, int t) {
    model::PileModel& pile = ctx.pile;
    const bool uscs = ctx.problem.Options.Units == model::UnitSystem::USCS;
    const double scale = uscs ? kPoundsPerKip : 1.0;
    const auto& points = CurveAt(ctx, s, t).Points;
    const int count = static_cast<int>(points.size());
    auto pt = [&](int j) -> const model::StiffnessPoint& { return points[static_cast<std::size_t>(j - 1)]; };

    const double moment = std::fabs(pile.M(k)) / scale;  // kip-in for US customary units
    if (moment <= pt(1).Moment) return pt(1).EI * scale;
    const double phi = NodeCurvature(pile, k);
    if (phi <= pt(1).Curvature) return pt(1).EI * scale;
    if (phi >= pt(count).Curvature) {
        pile.beyond_curve(k) = 1;
        pile.AnyBeyondCurve = true;
        return pt(count).Moment / phi * scale;
    }
    int j = count - 1;
    for (int i = 1; i < count; ++i) {
        if (pt(i).Curvature < phi && phi <= pt(i + 1).Curvature) {
            j = i;
            break;
        }
    }
    double m = pt(j).Moment;
    const double span = pt(j + 1).Curvature - pt(j).Curvature;
    if (pt(j + 1).Moment != pt(j).Moment && span > 0.0) {
        m = pt(j).Moment + (pt(j + 1).Moment - pt(j).Moment) * (phi - pt(j).Curvature) / span;
    }
    return m / phi * scale;
}

void Update_Nonlinear_EI(run::RunContext& ctx, int t, double p_prime) {
    model::PileModel& pile = ctx.pile;
    const model::ProblemData& problem = ctx.problem;
    const bool uscs = problem.Options.Units == model::UnitSystem::USCS;
    const double scale = uscs ? kPoundsPerKip : 1.0;
    const auto& T = problem.AxialThrustList;
    const int levels = static_cast<int>(T.size());
    // A head whose stiffness follows its moment keeps it: the node where a
    // restrained head forms its hinge must soften with its own moment, not
    // with the moment one increment below.
    pile.head_own_stiffness =
        problem.Sections[static_cast<std::size_t>(pile.section(1) - 1)].SectionType != model::kElasticPile;
    // A pile of elastic sections only keeps every node's EI: no node needs visiting.
    const bool any_curve =
        std::any_of(problem.Sections.begin(), problem.Sections.end(),
                    [](const model::PileSection& s) { return s.SectionType != model::kElasticPile; });

    for (int k = 1; any_curve && k <= pile.N; ++k) {
        const model::PileSection& own = problem.Sections[static_cast<std::size_t>(pile.section(k) - 1)];
        if (own.SectionType == model::kElasticPile) continue;  // EI stays as set up from the property table
        const int s = SectionByDepth(problem, pile.x(k));
        const model::PileSection& section = problem.Sections[static_cast<std::size_t>(s - 1)];
        pile.beyond_curve(k) = 0;
        Compute_Node_Response(ctx, k);
        const double moment = std::fabs(pile.M(k)) / scale;

        if (section.SectionType == model::kElasticPlastic) {
            const double mx = std::max(CurveAt(ctx, s, t).Points.front().Moment, moment);
            // Plastic moment of the node, in the units of the tables.
            const double mp = ctx.stiffness.Sections[static_cast<std::size_t>(s - 1)].PlasticMomentAt(pile.x(k));
            if (mp > mx) {
                pile.EI(k) = model::Lookup_Pile_Properties(problem, pile.x(k)).EI;
            } else if (k < pile.N) {
                const double phi = NodeCurvature(pile, k);
                if (phi != 0.0) pile.EI(k) = std::fabs(mp / phi) * scale;
            }
            continue;
        }

        double ei = Interpolate_EI_From_Curve(ctx, k, s, t);
        if (t < levels && p_prime > T.front()) {
            const double e2 = Interpolate_EI_From_Curve(ctx, k, s, t + 1);
            const double t0 = T[static_cast<std::size_t>(t - 1)];
            const double t1 = T[static_cast<std::size_t>(t)];
            ei = e2 - (e2 - ei) * (t1 - p_prime) / (t1 - t0);
        }
        pile.EI(k) = ei;
    }
    if (!pile.head_own_stiffness && pile.N >= 3) pile.EI(3) = pile.EI(2);
}

}  // namespace trevasc::pile
