// The pieces of the two sand criteria, "Sand" (Reese, Cox and Koop) and
// "API Sand": earth-pressure coefficients, the wedge and flow resistances,
// the empirical factors, the curves, the default subgrade modulus and the
// equivalent depth that both criteria share.
#pragma once

#include <array>

#include "model/problem_data.hpp"

namespace trevasc::soil {

// Angles (radians) and earth-pressure coefficients of a sand of friction
// angle phi on level ground.
struct SandAngles {
    double phi = 0.0;
    double alpha = 0.0;  // phi/2, spread of the wedge
    double beta = 0.0;   // pi/4 + phi/2, inclination of the wedge
    double K0 = 0.0;     // at rest
    double Ka = 0.0;     // active, tan^2(pi/4 - phi/2)
    double Kp = 0.0;     // passive, tan^2(beta)
};
SandAngles MakeSandAngles(double phi, double K0);

// Active coefficient behind a slope of angle theta (Coulomb, inclined
// backfill): cos(theta) (cos(theta) - sqrt(d)) / (cos(theta) + sqrt(d)),
// d = cos^2(theta) - cos^2(phi).
double ActiveCoefficientOnSlope(double theta, double phi);

// Wedge direction factor on sloping ground, t = tan(theta) tan(beta): 1 + t
// when the deflection and the signed effective slope have the same sign
// (the pile moves towards the falling ground, where the wedge is smaller),
// 1 - t when their signs differ (towards the rising ground). With
// `zero_moves_up` a deflection of exactly zero on a positive slope counts as
// positive (the API sand rule); otherwise it counts as negative.
double WedgeDirectionFactor(double y, double slope, double t, bool zero_moves_up);

// Shallow wedge resistance pst at depth z for a pile of width b, with the
// active coefficient Ka and the direction factor S (S = 1, t = 0: level
// ground).
double SandShallowWedge(const SandAngles& a, double Ka, double gamma, double z, double b, double S, double t);
// Deep flow resistance psd at `depth`.
double SandDeepFlow(const SandAngles& a, double gamma, double depth, double b);

// Empirical factors of Reese, Cox and Koop at z/b (held beyond z/b = 6).
double ReeseSandA(double z_over_b, bool cyclic);
double ReeseSandB(double z_over_b, bool cyclic);

// The Reese curve: a line k z y, a parabola from yk to (ym, pm), a straight
// line to (yu, pu) and the plateau pu; the whole curve capped by k z y.
struct ReeseSandCurve {
    double kz = 0.0;
    double A = 0.0, B = 0.0;
    double pu = 0.0;   // A ps
    double pms = 0.0;  // B ps
    double yms = 0.0;  // b/60
    double yu = 0.0;   // 3b/80
    double m = 0.0, n = 0.0, C = 0.0, yk = 0.0, pk = 0.0;
    int curve_case = 0;  // 1 to 3, 0 when the landmarks are not ordered

    double Branch(double y) const;  // the curve before the k z y cap
    // A curve that is not a number stays so (the modulus check reports it).
    double P(double y) const { const double p = Branch(y); return p < kz * y || p != p ? p : kz * y; }
    // The initial line k z y gives p at y.
    bool OnInitialLine(double y) const;
};
ReeseSandCurve MakeReeseSandCurve(double ps, double b, double kz, double z, bool cyclic);

// One printed point of a Reese curve.
struct SandReportPoint {
    double y = 0.0;
    double p = 0.0;
    bool marked = false;  // p from the initial line k z y
};
// The 17 report points of a curve for a pile of width b.
std::array<SandReportPoint, 17> ReeseSandReportPoints(const ReeseSandCurve& curve, double b);

// API factor A and curve p = A pu tanh(k z y / (A pu)).
double ApiSandA(double z, double b, bool cyclic);
double ApiSandP(double A, double pu, double kz, double z, double y);

// Coefficients of the API resistances: pus = (C1 z + C2 b) gamma z,
// pud = C3 b gamma z.
struct SandCoefficients {
    double C1 = 0.0, C2 = 0.0, C3 = 0.0;
};
SandCoefficients MakeSandCoefficients(const SandAngles& a, double Ka);

// Depth Z in the sand at which A_Reese (C1 z + C2 b) gamma z, integrated from
// the surface, equals the resistance A of the layers above; z0 is the depth
// below the ground of the node where it is computed.
double SandEquivalentDepth(double A, double b, double gamma, double z0, const SandCoefficients& k, bool cyclic);

// Default subgrade modulus from the friction angle (degrees): lb/in^3 in
// USCS, kN/m^3 in SI (two tables by unit weight); 0 in general units, which
// have none.
double SandDefaultK(double phi_degrees, double gamma, model::UnitSystem units);

}  // namespace trevasc::soil
