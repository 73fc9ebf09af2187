#include "pile/solver.hpp"

#include <algorithm>
#include <cmath>

#include "pile/node_setup.hpp"
#include "report/fortran_format.hpp"
#include "run/error_stop.hpp"

namespace trevasc::pile {

namespace fmt = report::fmt;

namespace {

// Pivots of the head system smaller than this stop the solution.
constexpr double kSmallPivot = 1.0e-20;
// A swing of the tip deflection that keeps at least this fraction of the
// previous swing, in the opposite direction, shows that the tip-shear update
// does not settle: its relaxation is halved, down to the smallest factor.
constexpr double kTipSwingRatio = 0.9;
constexpr double kSmallestTipRelaxation = 1.0 / 64.0;

// Tip shear resistance at the tip deflection of the previous solution, from
// the displacement-force curve (Vt takes the sign of the tip deflection).
void UpdateTipShear(const model::ProblemData& problem, model::PileModel& pile) {
    const auto& curve = problem.TipShearCurve;
    const int nt = static_cast<int>(curve.size());
    if (nt == 0) {
        pile.Vt = 0.0;
        return;
    }
    const double a = std::fabs(pile.y(pile.N));
    auto yT = [&](int i) { return curve[static_cast<std::size_t>(i - 1)][0]; };
    auto VT = [&](int i) { return curve[static_cast<std::size_t>(i - 1)][1]; };
    // Where the curve gives no new value the previous force is kept; only its
    // magnitude is carried, so the sign below cannot flip on every solution.
    double magnitude = std::fabs(pile.Vt);
    if (nt > 1) {
        for (int i = 2; i <= nt; ++i) {
            if (yT(i) >= a) {
                const double span = yT(i) - yT(i - 1);
                magnitude = span > 0.0 ? VT(i - 1) + (VT(i) - VT(i - 1)) * (a - yT(i - 1)) / span : VT(i);
                break;
            }
        }
    }
    if (a > yT(nt)) magnitude = VT(nt);
    const double target = pile.y(pile.N) < 0.0 ? -magnitude : magnitude;

    // The tip force is taken from the previous solution, so a curve much
    // stiffer than the pile's own response at the tip overshoots: the tip
    // swings between two deflections for ever. Once the swings stop shrinking
    // the force only moves part of the way to the curve's value; the fixed
    // point, Vt on the curve at the tip deflection, is the same.
    const double change = pile.y(pile.N) - pile.tip_last_deflection;
    if (change * pile.tip_last_change < 0.0 && std::fabs(change) >= kTipSwingRatio * std::fabs(pile.tip_last_change)) {
        pile.tip_relaxation = std::max(0.5 * pile.tip_relaxation, kSmallestTipRelaxation);
    }
    pile.tip_last_change = change;
    pile.tip_last_deflection = pile.y(pile.N);
    pile.Vt = pile.tip_relaxation == 1.0 ? target : pile.Vt + pile.tip_relaxation * (target - pile.Vt);
}

// Whether the system just eliminated has lost its positive stiffness. The
// recursion eliminates node N up to node 3 with the pivots D(m); for a stable
// (positive definite) beam-column every one is positive. The head rows close
// the system with the head conditions: eliminating y(0) with the moment,
// slope or rotational condition leaves node 2 the pivot D(2) (1 -+ A(2) ...),
// and for loading types 1 to 3, where y(1) is free, the sign of the head
// system's determinant gives the sign of node 1's pivot. Any pivot that is not
// positive means the thrust exceeds the first buckling load.
bool LostPositiveStiffness(const model::PileModel& pile, double R1, double c_rot) {
    const model::SolverWork& w = pile.work;
    for (int m = 3; m <= pile.N; ++m) {
        if (!(w.D(m) > 0.0)) return true;
    }
    // D(2) (1 - A(2) f) with A(2) = R(1) / D(2) and y(0) = f y(2) + ...
    double pivot2 = 0.0;
    switch (pile.LoadingType) {
        case model::kShearAndMoment:
        case model::kDeflectionAndMoment: pivot2 = w.D(2) - R1; break;
        case model::kShearAndSlope:
        case model::kDeflectionAndSlope: pivot2 = w.D(2) + R1; break;
        default: pivot2 = w.D(2) - R1 * (1.0 - c_rot) / (1.0 + c_rot); break;
    }
    if (!(pivot2 > 0.0)) return true;
    if (pile.LoadingType == model::kDeflectionAndMoment || pile.LoadingType == model::kDeflectionAndSlope) return false;
    // Rows 3 and 5 of the head system are the recursion at nodes 2 and 1
    // divided by D(2) and D(1); the slope row has the opposite orientation
    // to the moment and rotational rows.
    int sign = (w.D(2) > 0.0) == (w.D(1) > 0.0) ? 1 : -1;
    for (int k = 1; k <= 5; ++k) {
        if (w.Fm[static_cast<std::size_t>(k)][static_cast<std::size_t>(k)] < 0.0) sign = -sign;
    }
    const int stable_sign = pile.LoadingType == model::kShearAndSlope ? -1 : 1;
    return sign != stable_sign;
}

// Runtime Error 11: the head system has a vanishing pivot.
[[noreturn]] void StopOnSmallPivot(run::RunContext& ctx, int k, double pivot) {
    run::WriteToBoth(ctx, {"**** Runtime Error No. 11 ****", "", "Problem:  Solution failed due to small pivot value.",
                           "          Node number = " + fmt::I0(k),
                           "          Pivot value = " + fmt::E(pivot, 12, 5), "",
                           "Solution: This error usually occurs when a lateral bearing capacity failure occurs.  ",
                           "          Reduce the load on the pile and repeat the analysis.",
                           "          You may also consider increasing pile diameter or pile length."});
    report::OutputChannel& report = ctx.files.report;
    const model::SolverWork& work = ctx.pile.work;
    report.Blank(2);
    report.Line("F Matrix ");
    report.Blank();
    for (int i = 1; i <= 5; ++i) {
        std::string row;
        for (int j = 1; j <= 5; ++j) row += fmt::E(work.Fm[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)], 12, 4);
        report.Line(row);
    }
    report.Line("G Vector ");
    for (int i = 1; i <= 5; ++i) report.Line(fmt::E(work.G[static_cast<std::size_t>(i)], 12, 4));
    report.Line("YG Vector");
    for (int i = 1; i <= 5; ++i) report.Line(fmt::E(work.YG[static_cast<std::size_t>(i)], 12, 4));
    run::Stop_With_Error(ctx, "RUN00011", 211);
}

// Largest |change| of deflection while new values replace the old ones.
inline void Replace(model::PileModel& pile, int m, double value, double& change) {
    change = std::max(change, std::fabs(pile.y(m) - value));
    pile.y(m) = value;
}

}  // namespace

int Solve_Head_Equations(model::SolverWork& work, int n) {
    auto& F = work.Fm;
    auto& G = work.G;
    auto& YG = work.YG;
    for (int k = 1; k <= n - 1; ++k) {
        const double pivot = F[k][k];
        if (std::fabs(pivot) < kSmallPivot) return k;
        for (int i = k + 1; i <= n; ++i) {
            if (F[i][k] == 0.0) continue;
            const double factor = F[i][k] / pivot;
            for (int j = k; j <= n; ++j) F[i][j] -= factor * F[k][j];
            G[i] -= factor * G[k];
        }
    }
    // The last pivot is not tested: a zero gives non-numbers, which the
    // iteration detects.
    YG[n] = G[n] / F[n][n];
    for (int i = n - 1; i >= 1; --i) {
        double sum = G[i];
        for (int j = i + 1; j <= n; ++j) sum -= F[i][j] * YG[j];
        YG[i] = sum / F[i][i];
    }
    return 0;
}

void Solve_Beam_Column(run::RunContext& ctx) {
    model::PileModel& pile = ctx.pile;
    model::SolverWork& w = pile.work;
    const int N = pile.N;
    const double h = pile.h;
    const double P = pile.P;
    const double h2 = h * h;
    const double h3 = h2 * h;
    const double h4 = h2 * h2;
    const double Ph2 = P * h2;
    auto& Rn = pile.EI;

    // With constant EI the head node carries the stiffness of node 2; with
    // nonlinear EI it keeps its own. The imaginary node above the head takes
    // the head's stiffness: R(0) = R(1).
    if (!pile.head_own_stiffness) Rn(1) = Rn(2);
    auto R = [&](int m) { return m <= 1 ? Rn(1) : Rn(m); };

    UpdateTipShear(ctx.problem, pile);
    const double Vt = pile.Vt;

    // Tip, m = N.
    {
        const double d = pile.Es(N) * h4 + R(N - 1) + R(N) - 2.0 * Ph2;
        w.D(N) = d;
        w.A(N) = (R(N) + R(N - 1)) / d;
        w.B(N) = 2.0 * (R(N) + R(N - 1) - Ph2) / d;
        w.E(N) = pile.R(N) * h4 / d;
        w.F(N) = -2.0 * Vt * h3 / d;
    }
    // m = N - 1.
    {
        const int m = N - 1;
        const double t = 2.0 * R(m) - Ph2;
        const double d = 4.0 * R(m) + R(m - 1) + pile.Es(m) * h4 - 2.0 * Ph2 - w.B(N) * t;
        w.D(m) = d;
        w.A(m) = R(m - 1) / d;
        w.B(m) = (2.0 * (R(m) * (1.0 - w.A(N)) + R(m - 1)) - (1.0 - w.A(N)) * Ph2) / d;
        w.E(m) = (pile.R(m) * h4 + w.E(N) * t) / d;
        w.F(m) = w.F(N) * t / d;
    }
    // m = N - 2 down to 1. The coefficients of the two nodes below and their
    // stiffnesses are carried from one node to the next in locals: the
    // stores into the work arrays would otherwise make every one of them be
    // read back from memory.
    {
        double Rm1 = R(N - 1), Rm = R(N - 2);
        double B1 = w.B(N - 1), B2 = w.B(N);
        double A1 = w.A(N - 1), A2 = w.A(N);
        double E1 = w.E(N - 1), E2 = w.E(N);
        double F1 = w.F(N - 1), F2 = w.F(N);
        for (int m = N - 2; m >= 1; --m) {
            const double Rp = R(m - 1);
            const double tt = 2.0 * Rm + (2.0 - B2) * Rm1 - Ph2;
            const double d =
                (2.0 * Rm - Ph2) * (2.0 - B1) + pile.Es(m) * h4 + Rp + (1.0 - A2 - B1 * (2.0 - B2)) * Rm1;
            const double A = Rp / d;
            const double B = (2.0 * (Rm + Rp) - (1.0 - A1) * Ph2 - (2.0 * Rm + (2.0 - B2) * Rm1) * A1) / d;
            const double E = (pile.R(m) * h4 + E1 * tt - E2 * Rm1) / d;
            const double F = (tt * F1 - Rm1 * F2) / d;
            w.D(m) = d;
            w.A(m) = A;
            w.B(m) = B;
            w.E(m) = E;
            w.F(m) = F;
            Rm1 = Rm, Rm = Rp;
            B2 = B1, B1 = B;
            A2 = A1, A1 = A;
            E2 = E1, E1 = E;
            F2 = F1, F1 = F;
        }
    }

    // Head system. The shear row is written with the stiffness of node 2
    // (R(2)); the moment at the head is the head node's own, R(1).
    const double Rh = R(2);
    const double R1 = R(1);
    const double c0 = 2.0 - Ph2 / Rh;
    double y1 = 0.0, y2 = 0.0, y0 = 0.0, ym1 = 0.0;
    double c_rot = 0.0;  // h K / 2 R(1) of the rotational restraint
    const int type = pile.LoadingType;
    if (type == model::kDeflectionAndSlope) {
        // Solved directly; the head deflection is relative to the soil movement.
        const double S = pile.HeadSlope;
        y1 = pile.HeadDeflection + pile.ysoil(1);
        y2 = (w.B(2) * y1 + 2.0 * h * S * w.A(2) + w.E(2) + w.F(2)) / (1.0 + w.A(2));
        y0 = y2 - 2.0 * h * S;
        ym1 = (y1 - w.B(1) * y0 - w.E(1) - w.F(1)) / (-w.A(1));
    } else {
        for (auto& row : w.Fm) row.fill(0.0);
        w.G.fill(0.0);
        w.YG.fill(0.0);
        auto& F = w.Fm;
        auto& G = w.G;
        int n = 5;
        if (type == model::kDeflectionAndMoment) {
            // Unknowns (y(2), y(1), y(0), y(-1)).
            n = 4;
            F[1][1] = 1.0, F[1][2] = -2.0, F[1][3] = 1.0, G[1] = pile.HeadMoment * h2 / R1;
            F[2][2] = 1.0, G[2] = pile.HeadDeflection;
            F[3][1] = 1.0, F[3][2] = -w.B(2), F[3][3] = w.A(2), G[3] = w.E(2) + w.F(2);
            F[4][2] = 1.0, F[4][3] = -w.B(1), F[4][4] = w.A(1), G[4] = w.E(1) + w.F(1);
        } else {
            // Unknowns (y(3), y(2), y(1), y(0), y(-1)).
            // Shear at the head, (M(2) - M(0)) / 2h + P (y(2) - y(0)) / 2h = V,
            // divided by R(2). With R(0) = R(1) = R(2) the y(1) terms cancel.
            F[1][1] = 1.0, F[1][2] = -c0, G[1] = 2.0 * pile.HeadShear * h3 / Rh;
            if (R1 == Rh) {
                F[1][4] = c0, F[1][5] = -1.0;
            } else {
                const double r = R1 / Rh;
                F[1][3] = 1.0 - r, F[1][4] = 2.0 * r - Ph2 / Rh, F[1][5] = -r;
            }
            F[2][1] = 1.0, F[2][2] = -w.B(3), F[2][3] = w.A(3), G[2] = w.E(3) + w.F(3);
            F[3][2] = 1.0, F[3][3] = -w.B(2), F[3][4] = w.A(2), G[3] = w.E(2) + w.F(2);
            if (type == model::kShearAndMoment) {
                F[4][2] = 1.0, F[4][3] = -2.0, F[4][4] = 1.0, G[4] = pile.HeadMoment * h2 / R1;
            } else if (type == model::kShearAndSlope) {
                F[4][2] = 1.0, F[4][4] = -1.0, G[4] = 2.0 * h * pile.HeadSlope;
            } else {
                c_rot = h * pile.HeadRotationalStiffness / (2.0 * R1);
                F[4][2] = 1.0 - c_rot, F[4][3] = -2.0, F[4][4] = 1.0 + c_rot, G[4] = 0.0;
            }
            F[5][3] = 1.0, F[5][4] = -w.B(1), F[5][5] = w.A(1), G[5] = w.E(1) + w.F(1);
        }
        const int bad = Solve_Head_Equations(w, n);
        if (bad > 0) StopOnSmallPivot(ctx, bad, w.Fm[static_cast<std::size_t>(bad)][static_cast<std::size_t>(bad)]);
        const auto& YG = w.YG;
        if (n == 4) {
            y2 = YG[1], y1 = YG[2], y0 = YG[3], ym1 = YG[4];
        } else {
            y2 = YG[2], y1 = YG[3], y0 = YG[4], ym1 = YG[5];
        }
    }

    // Only a compressive thrust can take the stiffness of a pile with
    // positive EI and soil moduli away.
    pile.lost_stiffness = P > 0.0 && LostPositiveStiffness(pile, R1, c_rot);

    double change = 0.0;
    Replace(pile, 1, y1, change);
    Replace(pile, 2, y2, change);
    pile.y(0) = y0;
    pile.y(-1) = ym1;
    // Forward from node 3, with the two deflections above carried in locals.
    double y_above2 = y1, y_above1 = y2;
    for (int m = 3; m <= N; ++m) {
        const double ym = w.B(m) * y_above1 - w.A(m) * y_above2 + w.E(m) + w.F(m);
        Replace(pile, m, ym, change);
        y_above2 = y_above1, y_above1 = ym;
    }
    pile.y(N + 1) = 2.0 * pile.y(N) - pile.y(N - 1);  // zero moment at the tip
    // A non-number anywhere must reach the convergence test as a non-number.
    pile.dYmax = std::isnan(pile.y(1)) || std::isnan(pile.y(N)) ? std::nan("") : change;
}

double HeadShearBending(const model::PileModel& pile) {
    const auto& y = pile.y;
    const double R1 = pile.head_own_stiffness ? pile.EI(1) : pile.EI(2);
    const double R2 = pile.EI(2);
    // h^2 (M(2) - M(0)), M(0) at the imaginary node above the head with the
    // head's stiffness; with R(1) = R(2) the y(1) terms cancel.
    double bending = R2 * (y(3) - 2.0 * y(2) + 2.0 * y(0) - y(-1));
    if (R1 != R2) bending += (R2 - R1) * (y(1) - 2.0 * y(0) + y(-1));
    return bending;
}

void ResetRunningMaxima(model::PileModel& pile) {
    pile.MaxMoment = pile.MaxMomentDepth = 0.0;
    pile.MaxShear = pile.MaxShearDepth = 0.0;
    pile.MaxStress = 0.0;
}

void ResetSectionMaxima(model::PileModel& pile) {
    pile.SectionMaxMoment.fill(0.0);
    pile.SectionMaxMomentNode.fill(0);
    pile.SectionMaxShear.fill(0.0);
    pile.SectionMaxShearNode.fill(0);
}

void Compute_Node_Response(run::RunContext& ctx, int k) {
    model::PileModel& pile = ctx.pile;
    const model::ProblemData& problem = ctx.problem;
    const int N = pile.N;
    const double h = pile.h;
    const double h2 = h * h;
    const double h3 = h2 * h;
    const double P = pile.P;
    auto& y = pile.y;
    if (!pile.head_own_stiffness) pile.EI(1) = pile.EI(2);
    auto R = [&](int m) { return pile.EI(m); };
    // Stiffness of node 3 in the head formulas: its own with nonlinear EI,
    // node 2's with constant EI.
    const double R3 = pile.head_own_stiffness ? R(3) : R(2);
    const int type = pile.LoadingType;

    double M = 0.0, S = 0.0, V = 0.0;
    if (k == 1) {
        M = R(1) * (y(2) - 2.0 * y(1) + y(0)) / h2;
        if (type == model::kDeflectionAndSlope) {
            S = (4.0 * y(2) - 3.0 * y(1) - y(3)) / (2.0 * h);
            const double M2 = R(2) * (y(3) - 2.0 * y(2) + y(1)) / h2;
            const double M3 = R3 * (y(4) - 2.0 * y(3) + y(2)) / h2;
            V = P * S + (4.0 * M2 - 3.0 * M - M3) / (2.0 * h);
        } else {
            S = (y(2) - y(0)) / (2.0 * h);
            V = HeadShearBending(pile) / (2.0 * h3) + P * (y(2) - y(0)) / (2.0 * h);
        }
        pile.ComputedHeadSlope = S;
        // The head values the loading type prescribes are held exactly by the
        // head equations; they are reported as prescribed rather than
        // recomputed from the deflections, which would only add rounding
        // noise. The others complete the case's head conditions.
        switch (type) {
            case model::kShearAndMoment:
                M = pile.HeadMoment;
                V = pile.HeadShear;
                break;
            case model::kShearAndSlope:
                V = pile.HeadShear;
                S = pile.HeadSlope;
                pile.HeadMoment = M;
                break;
            case model::kShearAndRotationalStiffness:
                V = pile.HeadShear;
                pile.HeadMoment = M;
                break;
            case model::kDeflectionAndMoment:
                M = pile.HeadMoment;
                pile.HeadShear = V;
                break;
            case model::kDeflectionAndSlope:
                pile.HeadShear = V;
                pile.HeadMoment = M;
                S = pile.HeadSlope;
                break;
            default:
                break;
        }
    } else if (k == 2) {
        M = R(2) * (y(3) - 2.0 * y(2) + y(1)) / h2;
        S = (y(3) - y(1)) / (2.0 * h);
        if (type == model::kDeflectionAndSlope) {
            const double M3 = R3 * (y(4) - 2.0 * y(3) + y(2)) / h2;
            const double M1 = R(1) * (y(2) - 2.0 * y(1) + y(0)) / h2;
            V = (M3 - M1) / (2.0 * h) + P * (y(3) - y(1)) / (2.0 * h);
        } else {
            // (M(3) - M(1)) / 2h; with one stiffness for nodes 1 to 3 the
            // y(2) terms cancel.
            double bending = R(2) * (y(4) - 2.0 * y(3) + 2.0 * y(1) - y(0));
            if (R(1) != R(2) || R3 != R(2)) {
                bending += (R3 - R(2)) * (y(4) - 2.0 * y(3) + y(2)) - (R(1) - R(2)) * (y(2) - 2.0 * y(1) + y(0));
            }
            V = P * (y(3) - y(1)) / (2.0 * h) + bending / (2.0 * h3);
        }
    } else if (k < N) {
        M = R(k) * (y(k + 1) - 2.0 * y(k) + y(k - 1)) / h2;
        S = (y(k + 1) - y(k - 1)) / (2.0 * h);
        V = P * (y(k + 1) - y(k - 1)) / (2.0 * h) +
            (R(k + 1) * (y(k + 2) - 2.0 * y(k + 1) + y(k)) - R(k - 1) * (y(k) - 2.0 * y(k - 1) + y(k - 2))) /
                (2.0 * h3);
    } else {
        M = 0.0;
        S = (y(N) - y(N - 1)) / h;
        V = pile.Vt;
    }
    pile.M(k) = M;
    pile.S(k) = S;
    pile.V(k) = V;
    if (problem.Options.UseSoilMovement) {
        pile.p(k) = -(y(k) - pile.ysoil(k)) * pile.Es(k) - pile.Q(k);
    } else {
        pile.p(k) = -pile.Es(k) * y(k);
    }

    // Running maxima (signed values of the largest magnitudes).
    if (std::fabs(M) > std::fabs(pile.MaxMoment)) {
        pile.MaxMoment = M;
        pile.MaxMomentDepth = pile.x(k);
    }
    if (std::fabs(V) > std::fabs(pile.MaxShear)) {
        pile.MaxShear = V;
        pile.MaxShearDepth = pile.x(k);
    }
    const int s = pile.section(k);
    if (s >= 1 && s <= model::kMaxSections) {
        const auto si = static_cast<std::size_t>(s);
        if (std::fabs(M) > std::fabs(pile.SectionMaxMoment[si])) {
            pile.SectionMaxMoment[si] = M;
            pile.SectionMaxMomentNode[si] = k;
        }
        if (std::fabs(V) > std::fabs(pile.SectionMaxShear[si])) {
            pile.SectionMaxShear[si] = V;
            pile.SectionMaxShearNode[si] = k;
        }
    }
    pile.MaxStress = std::max(pile.MaxStress, CombinedStress(ctx, k));
}

void SetStressProperties(const model::ProblemData& problem, model::PileModel& pile) {
    for (int k = 1; k <= pile.N; ++k) {
        const model::PileProperties props = model::Lookup_Pile_Properties(problem, pile.x(k));
        double c = 0.5 * props.Width;
        const int s = pile.section(k);
        if (s >= 1 && s <= static_cast<int>(problem.Sections.size())) {
            const model::PileSection& section = problem.Sections[static_cast<std::size_t>(s - 1)];
            // An embedded pole carries its load on the structural width.
            if ((section.SectionType == model::kElasticPile || section.SectionType == model::kElasticPlastic) &&
                section.Elastic.ElasticShape == 6) {
                c = 0.5 * props.StructuralWidth;
            }
        }
        pile.StressArea(k) = props.Area;
        pile.StressInertia(k) = props.Inertia;
        pile.StressFibre(k) = c;
    }
}

double CombinedStress(const run::RunContext& ctx, int k) {
    const model::PileModel& pile = ctx.pile;
    const double area = pile.StressArea(k);
    const double inertia = pile.StressInertia(k);
    if (area == 0.0 || inertia == 0.0) return 0.0;
    return std::fabs(pile.P) / area + std::fabs(pile.M(k)) * pile.StressFibre(k) / inertia;
}

}  // namespace trevasc::pile
