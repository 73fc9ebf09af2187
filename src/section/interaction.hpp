// Axial force - bending moment (P-M) interaction diagrams of a fibre section
// by strain compatibility, nominal and factored, for three design codes.
//
// Method. Plane sections remain plane. For a neutral-axis depth c below the
// compression face the strain at depth y is eps(y) = kappa (c - y); the
// extreme compression fibre is held at the code's ultimate concrete strain
// eps_cu, so kappa = eps_cu / c. Every slice of the section workspace (the
// same 100 slices and the same component areas as the moment-curvature
// analysis) carries the stress of its material at its centroid strain; the
// resultant P (compression positive) and the moment M about mid-depth follow.
// Sweeping c from uniform compression to uniform tension traces the diagram.
//
//   Concrete, ACI 318-19 (22.2.2.4) and AASHTO LRFD 9th ed. (2020, 5.6.2.2):
//     eps_cu = 0.003; equivalent rectangular block alpha1 f'c over the depth
//     a = beta1 c, with beta1 = 0.85 for f'c <= 4 ksi, less 0.05 per ksi above,
//     not below 0.65; alpha1 = 0.85 (ACI), 0.85 less 0.02 per ksi above 10 ksi,
//     not below 0.75 (AASHTO). A slice partly inside the block carries the
//     block stress on the part inside. No tension.
//   Concrete, EN 1992-1-1:2004 (3.1.7, Table 3.1): parabola-rectangle,
//     sigma = f [1 - (1 - eps/eps_c2)^n] up to eps_c2, f beyond, up to
//     eps_cu2; eps_c2 = 0.002, eps_cu2 = 0.0035, n = 2 for fck <= 50 MPa and the
//     Table 3.1 expressions above. When the whole section is compressed the
//     strain profile pivots about the fibre at (1 - eps_c2/eps_cu2) h, where
//     the strain is eps_c2 (6.1(6)). Nominal: f = fck; design: f = fcd =
//     alpha_cc fck / gamma_c with alpha_cc = 1.0, gamma_c = 1.5.
//   Reinforcing bars, casing and core: the elastic-perfectly plastic laws of
//     the moment-curvature analysis (EN 1992: fyd = fyk / gamma_s, 1.15, for
//     bars; casing and core are structural steel, gamma_a = 1.0, EN 1994-1-1).
//   Prestressing steel: the strand laws of the moment-curvature analysis at the
//     strand strain eps_ps + eps(y) - eps_pc (effective prestrain, plus the
//     change of the concrete strain at the strand from its prestressed state);
//     EN 1992 design stresses are the law's stress divided by gamma_s = 1.15.
//   Steel pipe: the cross-section's plastic resistance, every fibre at +-fy
//     (rigid-plastic stress blocks), the exact plastic P-M interaction of the
//     ring up to slicing.
//
// Factored diagram.
//   ACI 318-19 (21.2.2, 22.4.2.1): phi = 0.65 tied / 0.75 spiral when the net
//     tensile strain of the extreme tension steel eps_t <= eps_ty, 0.90 when
//     eps_t >= eps_ty + 0.003, linear between; eps_ty = fy/Es (0.002 for
//     prestressed steel). Design axial strength capped at
//     phi 0.80 Po (tied) or phi 0.85 Po (spiral).
//   AASHTO LRFD 9th ed. (5.5.4.2, 5.6.4.4): phi = 0.75 compression-controlled
//     (eps_t <= eps_cl = fy/Es, 0.002 for prestressed steel), 0.90 (1.00 for
//     prestressed sections) tension-controlled (eps_t >= eps_tl = 0.005 for
//     fy <= 75 ksi, rising linearly to 0.008 at 100 ksi), linear between;
//     cap phi 0.80 Po (tied) or phi 0.85 Po (spiral).
//   EN 1992-1-1: the diagram recomputed with design strengths (phi is 1).
//   Steel pipe (no concrete): ACI 318 runs use AISC 360-16 phi = 0.90 on
//     both P and M; AASHTO runs use 6.5.4.2, phi_c = phi_y = 0.95 on P and
//     phi_f = 1.00 on M; EN 1992 runs use EN 1993-1-1 gamma_M0 = 1.0.
//
// Units: the section's (kips, in, ksi, kip-in; or kN, m, kPa, kN-m).
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "section/section_workspace.hpp"

namespace trevasc::section {

enum class DesignCode : std::int32_t { kAashto = 1, kAci318 = 2, kEurocode2 = 3 };
enum class TransverseReinforcement : std::int32_t { kTied = 1, kSpiral = 2 };

// The design code of DesignCode (1..3 of the options), ACI 318 otherwise.
DesignCode DesignCodeOf(std::int32_t option);
std::string DesignCodeName(DesignCode code);

// Neutral-axis depths that stand for the two ends of the diagram.
inline constexpr double kUniformCompression = std::numeric_limits<double>::infinity();
inline constexpr double kUniformTension = -std::numeric_limits<double>::infinity();

// Stress resultants of one strain profile.
struct SectionResultant {
    double P = 0.0;      // axial force, compression positive
    double M = 0.0;      // moment about mid-depth, positive with compression on top
    double eps_t = 0.0;  // net tensile strain at the extreme tension steel (tension positive)
};

// Resultants at neutral-axis depth c (kUniformCompression, kUniformTension
// or a depth > 0) with the code's concrete law; `design` selects the
// EN 1992 design strengths (ignored by the other codes).
SectionResultant ResultantAtDepth(const SectionWorkspace& ws, DesignCode code, bool design, double c);

// Neutral-axis depth whose resultant axial force is P, by bisection on the
// monotonic relation P(c); clamps to the ends of the diagram.
double DepthForAxialForce(const SectionWorkspace& ws, DesignCode code, bool design, double P);

struct InteractionPoint {
    double c = 0.0;      // neutral-axis depth (infinite at the ends)
    double Pn = 0.0;     // nominal axial force
    double Mn = 0.0;     // nominal moment (>= 0 side)
    double eps_t = 0.0;  // net tensile strain of the extreme tension steel
    double phi = 1.0;    // strength reduction factor of the point (1 for EN 1992)
    double Pd = 0.0;     // factored (design) axial force
    double Md = 0.0;     // factored (design) moment
};

struct InteractionDiagram {
    bool computed = false;
    int section = 0;                 // 1-based
    DesignCode code = DesignCode::kAci318;
    TransverseReinforcement transverse = TransverseReinforcement::kTied;
    bool transverse_from_input = false;
    bool steel_only = false;         // steel pipe: plastic resistance
    bool prestressed = false;
    double eps_cu = 0.0;             // ultimate concrete strain used
    double eps_ty = 0.0;             // yield strain of the extreme tension steel
    double eps_tension_controlled = 0.0;
    double phi_compression = 1.0;    // phi of compression-controlled points
    double phi_tension = 1.0;        // phi of tension-controlled points
    double Po = 0.0;                 // nominal uniform-compression strength
    double factored_cap = 0.0;       // cap on the design axial strength
    int balanced = 0;                // 0-based index of the balanced point
    std::vector<InteractionPoint> points;  // from compression to tension
};

// The section turned over, compression on the other face: the component
// areas of slice i move to slice 101 - i and every bar to the mirror image
// about mid-depth. Its diagram is that of bending in the opposite sense.
SectionWorkspace ReversedSection(const SectionWorkspace& ws);

// Strength reduction factor of a point with net tensile strain eps_t.
double StrengthReductionFactor(const InteractionDiagram& diagram, double eps_t);

// The nominal and factored diagrams of the prepared, sliced section.
InteractionDiagram ComputeInteractionDiagram(const SectionWorkspace& ws, DesignCode code,
                                             TransverseReinforcement transverse, bool transverse_from_input);

// Demand (P, M) against the factored diagram: the capacity ratio along the
// ray from the origin through the demand (|M| counts; 0 for no demand,
// infinity when the ray leaves the diagram's region), and the capacity
// point on the ray.
struct CapacityCheck {
    double ratio = 0.0;
    double capacity_P = 0.0;
    double capacity_M = 0.0;
    bool pass = true;
};
CapacityCheck CheckAgainstDiagram(const InteractionDiagram& diagram, double P, double M);

// One row of the check of the load cases: the largest moment developed in a
// section during a case, with the case's axial thrust, against the section's
// factored diagram (section units).
struct InteractionCheckRow {
    int load_case = 0;   // 1-based case or LRFD combination
    int section = 0;     // 1-based
    double P = 0.0;
    double M = 0.0;      // signed, as developed
    double depth = 0.0;  // of the moment below the pile head
    bool checked = false;  // false: the section has no diagram
    CapacityCheck check;
};

}  // namespace trevasc::section
