// Moment-curvature analysis of a fibre section under constant axial thrust.
//
// For each curvature phi of a fixed sequence, the depth c of the neutral
// axis below the compression face is found by Newton iteration on the axial
// equilibrium N(c) = sum over slices of (area x stress) = P, with the slice
// strains eps_i = (c - y_i) phi (plane sections remain plane). The bending
// moment about mid-depth, M = sum (area x stress x (D/2 - y_i)), and the
// secant stiffness EI = M / phi follow. The nominal moment capacity is the
// moment at an extreme compressive strain of 0.003 (ACI 318 strain-compatibility
// capacity), interpolated on the curve; for a steel pipe, the moment at the
// last point (strain limit 5 fy/Es less the axial strain).
#pragma once

#include <vector>

#include "run/run_context.hpp"
#include "section/section_workspace.hpp"

namespace trevasc::section {

struct CurvePoint {
    double phi = 0.0;
    double M = 0.0;
    double EI = 0.0;
    double c = 0.0;
    double eps_c = 0.0;
    double eps_t = 0.0;
    double MaxConcreteStress = 0.0;
    double MaxSteelStress = 0.0;
    double MaxCasingStress = 0.0;
    double MaxCoreStress = 0.0;
    char CrackedMessage = ' ';
    char YieldMessage = ' ';
};

struct MomentCurvatureCurve {
    double Thrust = 0.0;
    std::vector<CurvePoint> Points;
    double NominalMomentCapacity = 0.0;  // section units (kip-in, kN-m)
};

// Sets the slice strains for trial depth c and curvature phi, applies every
// material law and returns the axial force N(c) (compression positive).
double Compute_Axial_Thrust_Force(SectionWorkspace& ws, double c, double phi);

// Moment about mid-depth of the stresses left by the last evaluation.
double SectionMoment(const SectionWorkspace& ws);

// Newton search of the neutral-axis depth for thrust P at curvature phi,
// starting from `start`. When Newton's method has not converged after 1000
// iterations, a bracketing search of the same equilibrium takes over. When
// the equilibrium has no root: Runtime Error 16, or, when `no_root` is
// given, *no_root is set and `start` returned.
double Find_Neutral_Axis(run::RunContext& ctx, SectionWorkspace& ws, double phi, double P, double start,
                         bool* no_root = nullptr);

// First curvature step of the section's curve sequence. `first_thrust` is
// the smallest thrust analysed (used by the steel pipe only).
double InitialCurvatureStep(const SectionWorkspace& ws, double first_thrust);

// Curvature of point p (1-based) of the sequence that starts with step d0.
double CurvatureOfPoint(int p, double d0);

// Sets the run flags and prestrain for thrust P (precracked tensile thrusts).
void StartThrust(SectionWorkspace& ws, double P);

// One moment-curvature curve at thrust P, with the stop tests and the
// nominal moment capacity. The flags must have been set by StartThrust.
MomentCurvatureCurve ComputeMomentCurvature(run::RunContext& ctx, SectionWorkspace& ws, double P, double d0);

// Nominal moment capacity of a computed curve.
double NominalMomentCapacity(const std::vector<CurvePoint>& points, bool steel_pipe);

// The moment-curvature driver of a section of type 0..10: Initialize_EI_Vars,
// concrete properties, thrust list, legend, the curves and their report
// tables, the hand-over to the pile model, plot lines and summary.
void RunMomentCurvature(run::RunContext& ctx, SectionWorkspace& ws, const model::PileSection& section);

}  // namespace trevasc::section
