// Material stress-strain laws of the fibre section and the prestress state.
//
// Sign convention: strains and stresses positive in compression. Every law
// is applied per slice to the slice strain eps_i = (c - y_i) phi (bars,
// strands, casing and core are smeared into the slices by their areas).
//
// Concrete (unconfined): Hognestad (1951) parabola
//     sigma = f'c (2u - u^2),  u = eps/eps0,  eps0 = 1.7 f'c / Ec,
// with Ec = 57 sqrt(1000 f'c) ksi (ACI 318: 57000 sqrt(f'c psi) psi), followed
// by a straight descending branch to 0.85 f'c at eps = 0.0038 and 0.001 beyond
// (crushed). In tension the parabola is mirrored down to the modulus of
// rupture fr = -7.5 sqrt(f'c psi) (reinforced) or -4 sqrt(f'c psi)
// (prestressed); a slice below fr, or any slice once the section has
// cracked, carries no tension.
// Steel bars, casing, pipe and core: elastic-perfectly plastic, +-fy.
// Prestressing steel: the PCI Design Handbook power-curve forms for 250 and
// 270 ksi low-relaxation strand, the Grade 300 curve, and elastic-plastic
// high-strength bars (Es = 28500 ksi for strand, 29000 ksi for bars).
// Laws are stated in ksi; SI stresses are converted at the boundary.
#pragma once

#include "run/run_context.hpp"
#include "section/section_workspace.hpp"

namespace trevasc::section {

// Concrete, casing, core and bar constants of the section (ws.m) from the
// pile section, with the unit conversions of the section preparation (USCS
// steel stresses and moduli psi -> ksi, strand fpu psi -> ksi or kPa).
void SetMaterialConstants(SectionWorkspace& ws, const model::PileSection& section);

// Concrete constants in the section's stress unit for a strength fc given in
// that unit: Ec, fr, eps0, epscr. `rupture_coefficient` is 0.0075 for
// reinforced and 0.004 for prestressed concrete (times sqrt(1000 f'c ksi)).
struct ConcreteConstants {
    double Ec = 0.0;
    double fr = 0.0;
    double eps0 = 0.0;
    double epscr = 0.0;
};
ConcreteConstants ComputeConcreteConstants(double fc, model::UnitSystem units, double rupture_coefficient);

// Outer (unconfined) concrete stress for a compressive strain eps > 0.
double ConcreteCompressionStress(const MaterialConstants& m, double eps);

// Stress in ksi of prestressing steel of class 4..9 at total strain eps.
double StrandStressKsi(int material_class, double eps, double deformed_bar_fpu_ksi);

// Elastic-perfectly plastic steel; sets `yielded` when the limit applies.
inline double SteelStress(double modulus, double fy, double eps, bool& yielded) {
    const double sigma = modulus * eps;
    if (sigma > fy) {
        yielded = true;
        return fy;
    }
    if (sigma < -fy) {
        yielded = true;
        return -fy;
    }
    return sigma;
}

// Laws applied to every slice of the workspace at the strains already set in
// ws.slices.Strain for trial depth c and curvature phi. They update the
// cracked and yielded flags as the laws state.
void EvaluateOuterConcrete(SectionWorkspace& ws, double c, double phi);
void EvaluateInnerConcrete(SectionWorkspace& ws, double c, double phi);
void EvaluateBarsOrStrands(SectionWorkspace& ws);
void EvaluateCasing(SectionWorkspace& ws);
void EvaluateCore(SectionWorkspace& ws);

// Prestress state of a prestressed section from its initial force and loss
// (Calculate_Strains_Due_To_Prestressing): eps_pc, eps_ps, the PCI capacities
// Pn, N, Nt and the estimated Mn. Sets Pmax = Pn and Pmin = Nt. Writes the
// report block the first time for the section. Runtime errors 14 and 15 stop
// the run when the concrete or strand area is not positive.
void Calculate_Strains_Due_To_Prestressing(run::RunContext& ctx, SectionWorkspace& ws,
                                           const model::PileSection& section);

}  // namespace trevasc::section
