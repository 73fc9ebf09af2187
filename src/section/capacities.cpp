#include "section/capacities.hpp"

#include <cmath>

#include "model/units.hpp"
#include "report/fortran_format.hpp"
#include "section/materials.hpp"
#include "section/section_report.hpp"

namespace trevasc::section {

namespace fmt = report::fmt;

namespace {

// SI forms of the reinforced-concrete constants, kPa:
// Ec = 57000 sqrt(f'c psi) psi and fr = -7.5 sqrt(f'c psi) psi, with
// f'c psi = 0.145037738 f'c kPa (single-precision stored constants).
constexpr double kEcSiCoefficient = 393001.16443634033;
constexpr double kFrSiCoefficient = 51.71067953109741;
constexpr double kPsiPerKpa = 0.14503774046897888;
constexpr double kEcUscsCoefficient = 57.0;
constexpr double kFrUscsCoefficient = 0.0075;
constexpr double kPeakStrainFactor = 1.7;
constexpr double kConcreteFactor = 0.85;

struct CapacityConcrete {
    double Ec = 0.0;
    double epscr = 0.0;
};

CapacityConcrete ReinforcedConcreteConstants(double fc, model::UnitSystem units) {
    CapacityConcrete k;
    if (!(fc > 0.0)) return k;
    double fr;
    if (units == model::UnitSystem::SI) {
        const double root = std::sqrt(kPsiPerKpa * fc);
        k.Ec = kEcSiCoefficient * root;
        fr = -kFrSiCoefficient * root;
    } else {
        const double root = std::sqrt(model::kPsiPerKsi * fc);
        k.Ec = kEcUscsCoefficient * root;
        fr = -kFrUscsCoefficient * root;
    }
    const double eps0 = kPeakStrainFactor * fc / k.Ec;
    k.epscr = -(1.0 - std::sqrt(1.0 + fr / fc)) * eps0;
    return k;
}

}  // namespace

AxialCapacities ComputeAxialCapacities(const SectionWorkspace& ws, const model::PileSection& section) {
    AxialCapacities cap;
    const MaterialConstants& m = ws.m;
    double As = 0.0;  // all bars of the bar table
    for (const BarEntry& bar : ws.Bars) As += bar.area;
    const double D = ws.D;
    const double fc = m.fc;
    const double gross_circle = kPi * D * D / 4.0;
    const CapacityConcrete k = ws.HasConcrete() ? ReinforcedConcreteConstants(fc, ws.Units) : CapacityConcrete{};
    const double t = section.SteelThickness;
    const double A_in = kPi * (D - 2.0 * t) * (D - 2.0 * t) / 4.0;
    const double Acs = gross_circle - A_in;

    switch (ws.Shape) {
        case kShapeRectangle: {
            const double gross = ws.Width * D;
            cap.Pmax = kConcreteFactor * fc * (gross - As) + m.fy * As;
            cap.Pmin = -m.fy * As;
            cap.Pcr = (m.Es * As + (gross - As) * k.Ec) * k.epscr;
            cap.Reported = true;
            break;
        }
        case kShapeCircle:
            if (ws.MaterialClass != kClassReinforcedConcrete) break;
            cap.Pmax = kConcreteFactor * fc * (gross_circle - As) + m.fy * As;
            cap.Pmin = -m.fy * As;
            cap.Pcr = (m.Es * As + (gross_circle - As) * k.Ec) * k.epscr;
            cap.Reported = true;
            break;
        case kShapeCasedCircle:
            cap.Pmax = m.SteelFy * Acs + kConcreteFactor * fc * (A_in - As) + m.fy * As;
            cap.Pmin = -(m.SteelFy * Acs + m.fy * As);
            cap.Pcr = ((Acs + As) * m.Es + (gross_circle - Acs - As) * k.Ec) * k.epscr;
            cap.Reported = true;
            break;
        case kShapeCasedCircleWithCore: {
            const double Dc = section.CoreDiameter;
            const double tc = section.CoreThickness;
            const double Dci = Dc - 2.0 * tc;
            const double Acore = kPi / 4.0 * (Dc * Dc - Dci * Dci);
            const bool filled = section.b_FillCoreWithConcrete;
            const double Ac = filled ? A_in - Acore - As : A_in - kPi * Dc * Dc / 4.0 - As;
            cap.Pmax = m.SteelFy * Acs + m.CoreFy * Acore + m.fy * As + kConcreteFactor * fc * Ac;
            cap.Pmin = -(m.SteelFy * Acs + m.CoreFy * Acore + m.fy * As);
            const double Ac_cr = filled ? gross_circle - Acs - Acore - As
                                        : kPi / 4.0 * (D * D - Dci * Dci) - Acs - Acore - As;
            cap.Pcr = ((Acs + Acore + As) * m.Es + Ac_cr * k.Ec) * k.epscr;
            cap.Reported = true;
            break;
        }
        case kShapeSteelRing: {
            const double ring = kPi / 4.0 * (D * D - (D - 2.0 * t) * (D - 2.0 * t));
            cap.Pmax = m.SteelFy * ring;
            cap.Pmin = -cap.Pmax;
            cap.Pcr = 0.0;
            cap.Reported = true;
            break;
        }
        default:
            break;
    }
    return cap;
}

void ComputeAndReportAxialCapacities(run::RunContext& ctx, SectionWorkspace& ws, const model::PileSection& section) {
    const AxialCapacities cap = ComputeAxialCapacities(ws, section);
    ws.Pmax = cap.Pmax;
    ws.Pmin = cap.Pmin;
    ws.Pcr = cap.Pcr;

    report::OutputChannel& report = ctx.files.report;
    const SectionUnitTexts units = SectionUnits(ws.Units);
    report.Blank();
    WriteUnderlinedHeading(report, "Axial Structural Capacities:");
    if (!cap.Reported) return;
    if (ws.IsSteelPipe()) {
        WriteLabelLine(report, "Nom. Axial Structural Capacity = Fy As", fmt::F(ws.Pmax, 15, 3), units.Force);
        WriteLabelLine(report, "Nominal Axial Tensile Capacity  ", fmt::F(ws.Pmin, 15, 3), units.Force);
        report.Blank(2);
        return;
    }
    WriteLabelLine(report, "Nom. Axial Structural Capacity = 0.85 Fc Ac + Fy As", fmt::F(ws.Pmax, 15, 3), units.Force);
    WriteLabelLine(report, "Tensile Load for Cracking of Concrete", fmt::F(ws.Pcr, 15, 3), units.Force);
    WriteLabelLine(report, "Nominal Axial Tensile Capacity  ", fmt::F(ws.Pmin, 15, 3), units.Force);
    report.Blank(2);
}

}  // namespace trevasc::section
