#include "section/materials.hpp"

#include <cmath>

#include "model/units.hpp"
#include "report/fortran_format.hpp"
#include "run/error_stop.hpp"
#include "section/section_report.hpp"

namespace trevasc::section {

namespace fmt = report::fmt;

namespace {

// Concrete law constants (strains dimensionless, stresses in ksi).
constexpr double kEcCoefficient = 57.0;          // Ec = 57 sqrt(1000 f'c) ksi
constexpr double kPeakStrainFactor = 1.7;        // eps0 = 1.7 f'c / Ec
constexpr double kRuptureReinforced = 0.0075;    // fr = -0.0075 sqrt(1000 f'c) ksi
constexpr double kRupturePrestressed = 0.004;    // fr = -0.004 sqrt(1000 f'c) ksi
constexpr double kCrushingStrain = 0.0038;       // end of the descending branch
constexpr double kDescendingDrop = 0.15;         // 0.85 f'c at the crushing strain
constexpr double kCrushedStress = 0.001;         // residual stress, section unit

// Prestressing steel (PCI Design Handbook power-curve forms), ksi.
constexpr double kStrandModulusLaw = 28500.0;
constexpr double kBarModulusLaw = 29000.0;
// Break strains of the strand laws, single-precision values.
constexpr double kPci250Break = static_cast<double>(0.0076f);
constexpr double kPci270Break = static_cast<double>(0.0086f);
constexpr double kGrade300Break = 0.00888460036367178;  // 0.0088846 in single precision
constexpr double kSmooth145Fpu = 145.0;
constexpr double kSmooth160Fpu = 160.0;

// Power-curve branch beyond the elastic range: sigma = fpu - a/(|eps| - b),
// limited to fpu when `capped`, with the sign of eps.
double PowerBranch(double eps, double fpu, double a, double b, bool capped) {
    double sigma = fpu - a / (std::fabs(eps) - b);
    if (capped) sigma = std::min(fpu, sigma);
    return eps > 0.0 ? sigma : -sigma;
}

// Force units and the force scale of the prestress report: the input force is
// in pounds (USCS, printed in kips) or kN (SI, printed as read).
double ReportForce(double force, model::UnitSystem units) {
    return units == model::UnitSystem::USCS ? force / kPoundsPerKip : force;
}

}  // namespace

ConcreteConstants ComputeConcreteConstants(double fc, model::UnitSystem units, double rupture_coefficient) {
    const double to_ksi = units == model::UnitSystem::SI ? kKpaPerKsi : 1.0;
    const double fc_ksi = fc / to_ksi;
    ConcreteConstants k;
    const double root = std::sqrt(model::kPsiPerKsi * fc_ksi);
    const double Ec_ksi = kEcCoefficient * root;
    const double fr_ksi = -rupture_coefficient * root;
    k.eps0 = kPeakStrainFactor * fc_ksi / Ec_ksi;
    k.epscr = -(1.0 - std::sqrt(1.0 + fr_ksi / fc_ksi)) * k.eps0;
    k.Ec = Ec_ksi * to_ksi;
    k.fr = fr_ksi * to_ksi;
    return k;
}

void SetMaterialConstants(SectionWorkspace& ws, const model::PileSection& section) {
    MaterialConstants& m = ws.m;
    m = MaterialConstants{};
    const bool uscs = ws.Units == model::UnitSystem::USCS;
    const double steel_scale = uscs ? 1.0 / model::kPsiPerKsi : 1.0;
    if (ws.HasConcrete()) {
        m.fc = section.Concrete.ConcreteStrength;
        m.aggregate = section.Concrete.MaxAggregateSize;
        const double coefficient = ws.MaterialClass == kClassReinforcedConcrete ? kRuptureReinforced : kRupturePrestressed;
        const ConcreteConstants k = ComputeConcreteConstants(m.fc, ws.Units, coefficient);
        m.Ec = k.Ec;
        m.fr = k.fr;
        m.eps0 = k.eps0;
        m.epscr = k.epscr;
    }
    if (ws.IsPrestressed()) {
        const int type = section.Strand.StrandTypeCode;
        const int size = section.Strand.Strands.empty() ? 0 : section.Strand.Strands.front().BarSizeCode;
        if (const auto strand = LookupStrandProperties(type, size, ws.Units)) {
            const double fpu_psi = strand->Fpu;
            m.fy = ws.Units == model::UnitSystem::SI ? fpu_psi * kKpaPerKsi / model::kPsiPerKsi
                   : ws.Units == model::UnitSystem::USCS ? fpu_psi / model::kPsiPerKsi
                                                         : fpu_psi;
            m.Es = strand->Modulus;
            m.DeformedBarFpuKsi = fpu_psi / model::kPsiPerKsi;
        }
    } else {
        m.fy = section.Rebar.RebarYieldStress * steel_scale;
        m.Es = section.Rebar.RebarModulus * steel_scale;
    }
    m.SteelFy = section.SteelYieldStress * steel_scale;
    m.SteelEs = section.SteelModulus * steel_scale;
    m.CoreFy = section.CoreYieldStress * steel_scale;
    m.CoreEs = section.CoreModulus * steel_scale;
}

double ConcreteCompressionStress(const MaterialConstants& m, double eps) {
    if (eps > kCrushingStrain) return kCrushedStress;
    const double u = eps / m.eps0;
    if (u < 1.0) return m.fc * (2.0 * u - u * u);
    return m.fc - kDescendingDrop * m.fc * (eps - m.eps0) / (kCrushingStrain - m.eps0);
}

double StrandStressKsi(int material_class, double eps, double deformed_bar_fpu_ksi) {
    bool ignored = false;
    switch (material_class) {
        case kClassPci250:
            // Elastic for -0.0076 < eps <= 0.0076; the curve stays below 250 ksi.
            if (eps > -kPci250Break && eps <= kPci250Break) return kStrandModulusLaw * eps;
            return PowerBranch(eps, 250.0, 0.04, 0.0064, false);
        case kClassPci270:
            // Elastic for -0.0086 <= eps <= 0.0086.
            if (std::fabs(eps) <= kPci270Break) return kStrandModulusLaw * eps;
            return PowerBranch(eps, 270.0, 0.04, 0.007, true);
        case kClassGrade300:
            // Elastic for -0.0088846 < eps <= 0.0088846.
            if (eps > -kGrade300Break && eps <= kGrade300Break) return kStrandModulusLaw * eps;
            return PowerBranch(eps, 300.0, 0.0835, 0.0071, true);
        case kClassSmooth145:
            return SteelStress(kBarModulusLaw, kSmooth145Fpu, eps, ignored);
        case kClassSmooth160:
            return SteelStress(kBarModulusLaw, kSmooth160Fpu, eps, ignored);
        case kClassDeformedBars:
            return SteelStress(kBarModulusLaw, deformed_bar_fpu_ksi, eps, ignored);
        default:
            return 0.0;
    }
}

void EvaluateOuterConcrete(SectionWorkspace& ws, double c, double phi) {
    SliceTable& s = ws.slices;
    const MaterialConstants& m = ws.m;
    bool cracked = (c - ws.D) * phi + ws.prestress.eps_pc < m.epscr;
    for (int i = 0; i < kSliceCount; ++i) {
        const double eps = s.Strain[i];
        double sigma;
        if (eps <= 0.0) {
            if (cracked) {
                sigma = 0.0;
            } else {
                const double u = std::fabs(eps / m.eps0);
                sigma = -m.fc * (2.0 * u - u * u);
                if (sigma < m.fr || ws.Precracked) {
                    sigma = 0.0;
                    cracked = true;
                }
            }
        } else {
            sigma = ConcreteCompressionStress(m, eps);
        }
        s.ConcreteStress[i] = sigma;
    }
    ws.Cracked = cracked;
}

void EvaluateInnerConcrete(SectionWorkspace& ws, double c, double phi) {
    SliceTable& s = ws.slices;
    const MaterialConstants& m = ws.m;
    // The core concrete's own tension face lies at D/2 + d_inner/2 below the
    // compression face.
    const double inner = ws.CoreDiameter - 2.0 * ws.CoreWall;
    const double tension_face = ws.D / 2.0 + inner / 2.0;
    if ((c - tension_face) * phi + ws.prestress.eps_pc < m.epscr) ws.Cracked = true;
    for (int i = 0; i < kSliceCount; ++i) {
        const double eps = s.Strain[i];
        double sigma;
        if (eps <= 0.0) {
            if (ws.Cracked) {
                sigma = 0.0;
            } else {
                const double u = std::fabs(eps / m.eps0);
                sigma = -m.fc * (2.0 * u - u * u);
                if (sigma < m.fr) {
                    sigma = 0.0;
                    ws.Cracked = true;
                }
            }
        } else if (eps <= kCrushingStrain) {
            const double u = eps / m.eps0;
            sigma = m.fc * (2.0 * u - u * u);
        } else {
            sigma = kCrushedStress;
        }
        s.InnerConcreteStress[i] = sigma;
    }
}

void EvaluateBarsOrStrands(SectionWorkspace& ws) {
    SliceTable& s = ws.slices;
    const MaterialConstants& m = ws.m;
    if (ws.IsPrestressed()) {
        const double scale = ws.Units == model::UnitSystem::SI ? kKpaPerKsi : 1.0;
        const double eps_ps = ws.prestress.eps_ps;
        for (int i : ws.BarSlices) {
            s.BarStress[i] = StrandStressKsi(ws.MaterialClass, s.Strain[i] + eps_ps, m.DeformedBarFpuKsi) * scale;
        }
        return;
    }
    bool yielded = false;
    for (int i : ws.BarSlices) s.BarStress[i] = SteelStress(m.Es, m.fy, s.Strain[i], yielded);
    if (yielded) ws.Yielded = true;
}

void EvaluateCasing(SectionWorkspace& ws) {
    SliceTable& s = ws.slices;
    bool yielded = false;
    for (int i = 0; i < kSliceCount; ++i) s.CasingStress[i] = SteelStress(ws.m.SteelEs, ws.m.SteelFy, s.Strain[i], yielded);
    if (yielded) ws.Yielded = true;
}

void EvaluateCore(SectionWorkspace& ws) {
    SliceTable& s = ws.slices;
    bool yielded = false;
    for (int i : ws.CoreSlices) s.CoreStress[i] = SteelStress(ws.m.CoreEs, ws.m.CoreFy, s.Strain[i], yielded);
    if (yielded) ws.Yielded = true;
}

void Calculate_Strains_Due_To_Prestressing(run::RunContext& ctx, SectionWorkspace& ws,
                                           const model::PileSection& section) {
    PrestressState& p = ws.prestress;
    report::OutputChannel& report = ctx.files.report;
    p.Ac = ws.Ac;
    p.As = ws.As;
    if (p.Ac <= 0.0) {
        report.Line("**** Runtime Error No. 14 ****");
        report.Blank();
        report.Line("An error occurred in prestressing computations");
        report.Line("The computed area of concrete in the section is less than 0.0 = " + fmt::F(p.Ac, 15, 5));
        run::Stop_With_Error(ctx, "RUN00014", 214);
    }
    if (p.As <= 0.0) {
        report.Line("**** Runtime Error No. 15 ****");
        report.Blank();
        report.Line("An error occurred in prestressing computations");
        report.Line("The computed area of steel in the section is less than 0.0 = " + fmt::F(p.As, 15, 5));
        run::Stop_With_Error(ctx, "RUN00015", 215);
    }
    const MaterialConstants& m = ws.m;
    const model::StrandData& strand = section.Strand;
    p.Pe = (1.0 - strand.PrestressLossFraction) * strand.InitialPrestressForce;
    if (ws.Units == model::UnitSystem::USCS) {
        p.eps_ps = p.Pe / (-m.Es * model::kPsiPerKsi * p.As);
        p.eps_pc = p.Pe / (model::kPsiPerKsi * p.Ac * m.Ec);
    } else {
        p.eps_ps = p.Pe / (-m.Es * p.As);
        p.eps_pc = p.Pe / (p.Ac * m.Ec);
    }
    p.fpc = p.eps_pc * m.Ec;
    const double gross = p.Ac + p.As;
    p.Pn = (0.85 * m.fc - 0.60 * p.fpc) * gross;
    p.N = (0.33 * m.fc - 0.27 * p.fpc) * gross;
    p.Nt = -p.As * m.fy;
    switch (ws.SectionType) {
        case model::kCircularSolidPrestressed: p.MnCoefficient = 0.32; break;
        case model::kCircularHollowPrestressed: p.MnCoefficient = 0.34; break;
        case model::kSquareSolidPrestressed: p.MnCoefficient = 0.37; break;
        case model::kSquareHollowPrestressed: p.MnCoefficient = 0.38; break;
        case model::kOctagonalSolidPrestressed: p.MnCoefficient = 0.32; break;
        case model::kOctagonalHollowPrestressed: p.MnCoefficient = 0.34; break;
        default: p.MnCoefficient = 0.0; break;
    }
    p.Mn = p.MnCoefficient * ws.D * p.As * m.fy;
    ws.Pmax = p.Pn;
    ws.Pmin = p.Nt;

    if (p.ReportWritten) return;
    p.ReportWritten = true;
    const SectionUnitTexts units = SectionUnits(ws.Units);
    const bool si = ws.Units == model::UnitSystem::SI;
    WriteUnderlinedHeading(report, "Computation of Loss of Prestress:");
    WriteLabelLine(report, "Initial Prestressing Force", fmt::F(ReportForce(strand.InitialPrestressForce, ws.Units), 15, 3),
                   units.Force);
    WriteLabelLine(report, "Fraction of Loss of Prestress", fmt::F(strand.PrestressLossFraction, 15, 3));
    WriteLabelLine(report, "Effective Prestressing Force", fmt::F(ReportForce(p.Pe, ws.Units), 15, 3), units.Force);
    WriteLabelLine(report, "Area of Concrete, Ac      ", fmt::F(p.Ac, 15, si ? 6 : 3), " Sq." + units.Length);
    WriteLabelLine(report, "Area of Steel, As         ", fmt::F(p.As, 15, si ? 6 : 3), " Sq." + units.Length);
    WriteLabelLine(report, "Stress in Concrete After Losses, f_pc", fmt::F(p.fpc, 15, 3), units.Stress);
    WriteLabelLine(report, "Stress in Steel After Losses", fmt::F(p.eps_ps * m.Es, 15, 3), units.Stress);
    WriteLabelLine(report, "Compressive Strain in Concrete", fmt::F(p.eps_pc, 15, 7));
    WriteLabelLine(report, "Tensile Strain in Steel  ", fmt::F(p.eps_ps, 15, 7));
    report.Blank();
    WriteUnderlinedHeading(report, "Estimated Structural Capacities Computed Using PCI Equations:");
    WriteLabelLine(report, "Nom. Axial Cap., Pn = (0.85 f'c - 0.60 f_pc) Ag", fmt::F(p.Pn, 15, 3), units.Force);
    WriteLabelLine(report, "Unfac. Axial Load Cap. N  = (0.33 f'c - 0.27 f_pc) Ag", fmt::F(p.N, 15, 3), units.Force);
    WriteLabelLine(report, "Axial Capacity in Tension, Nt = As fpu", fmt::F(p.Nt, 15, 3), units.Force);
    const int hundredths = static_cast<int>(std::lround(p.MnCoefficient * 100.0));
    WriteLabelLine(report, "Nom. Moment Capacity, Mn = 0." + fmt::Iwm(hundredths, 2, 2) + " D As fpu",
                   fmt::F(p.Mn, 15, 3), units.Moment);
    report.Blank();
    report.Line("Note:  The above value of nominal moment capacity is based on equations that");
    report.Line("assume a concrete compressive strength of 6,000 psi (41.4 MPa), a prestressing");
    report.Line("level after losses of 700 psi (4.83 MPa), and an axial thrust loading of zero. ");
    report.Line("When different values for these factors are input, the estimated value of Mn ");
    report.Line("may differ greatly from the capacity computed by Trevasc and should be considered ");
    report.Line("only as an approximate check.");
    report.Blank();
}

}  // namespace trevasc::section
