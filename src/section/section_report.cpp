#include "section/section_report.hpp"

#include <cmath>

#include "model/units.hpp"
#include "report/fortran_format.hpp"
#include "report/report_helpers.hpp"
#include "section/geometry.hpp"

namespace trevasc::section {

namespace fmt = report::fmt;
using report::AdaptiveNumber;
using report::OutputChannel;

namespace {

constexpr int kLabelColumn = 56;

// Text left-aligned in a field of `width` characters (blank-padded or cut).
std::string LeftAligned(std::string_view text, int width) {
    std::string field(text.substr(0, static_cast<std::size_t>(width)));
    field.resize(static_cast<std::size_t>(width), ' ');
    return field;
}

std::string TrimBoth(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

void WriteIntegerLabelLine(OutputChannel& report, std::string_view label, long long value, int width,
                           std::string_view unit) {
    WriteLabelLine(report, label, fmt::I(value, width), unit);
}

double Ring(double d, double wall) {
    const double inner = d - 2.0 * wall;
    return kPi / 4.0 * (d * d - inner * inner);
}

double RingInertia(double d, double wall) {
    const double inner = d - 2.0 * wall;
    return kPi / 64.0 * (d * d * d * d - inner * inner * inner * inner);
}

double TotalBarArea(const SectionWorkspace& ws) {
    double area = 0.0;
    for (const BarEntry& bar : ws.Bars) area += bar.area;
    return area;
}

double SingleBarArea(const SectionWorkspace& ws, const model::PileSection& section) {
    if (section.Rebar.RebarInCircle) return section.Rebar.BarArea;
    return ws.Bars.empty() ? 0.0 : ws.Bars.front().area;
}

// Length of the section in feet (USCS: the analysis holds it in inches) or
// metres.
void WriteSectionLength(OutputChannel& report, const SectionWorkspace& ws, const model::PileSection& section) {
    switch (ws.Units) {
        case model::UnitSystem::USCS:
            WriteAdaptiveLabelLine(report, "Length of Section", section.SectionLength / kInchesPerFoot, " ft");
            break;
        case model::UnitSystem::SI:
            WriteAdaptiveLabelLine(report, "Length of Section", section.SectionLength, " m");
            break;
        case model::UnitSystem::GENERAL:
            WriteAdaptiveLabelLine(report, "Length of Section", section.SectionLength, "");
            break;
    }
}

void WriteBarDetailsTable(OutputChannel& report, const SectionWorkspace& ws, const model::PileSection& section,
                          const SectionUnitTexts& units) {
    report.Line("Reinforcing Bar Details:");
    report.Blank();
    report.Line("   Bar              Bar           Bar Diam.        Bar Area          Bar X            Bar Y");
    report.Write("  Number           Index");
    for (const std::string* unit : {&units.Length, &units.Area, &units.Length, &units.Length}) {
        report.Write(std::string(8, ' ') + LeftAligned(*unit, 9));
    }
    report.EndLine();
    report.Line("----------     ------------     ------------     ------------     ------------     ------------");
    for (std::size_t k = 0; k < ws.Bars.size(); ++k) {
        const BarEntry& bar = ws.Bars[k];
        const int size_code = k < section.Rebar.Bars.size() ? section.Rebar.Bars[k].BarSizeCode : 0;
        std::string row = fmt::I(static_cast<long long>(k + 1), 5) + fmt::I(size_code, 17) + fmt::X(5);
        for (double value : {bar.diameter, bar.area, bar.x, bar.y}) row += fmt::X(5) + fmt::F(value, 12, 6);
        report.Line(row);
    }
}

}  // namespace

SectionUnitTexts SectionUnits(model::UnitSystem units) {
    switch (units) {
        case model::UnitSystem::USCS:
            return {" ksi    ", " in     ", " kips   ", " rad/in ", " in-kip ", " sq. in.", " in^4   ", " lb-in^2"};
        case model::UnitSystem::SI:
            return {" kPa    ", " m      ", " kN     ", " rad/m  ", " kN-m   ", " sq. m  ", " m^4    ", " kN-m^2 "};
        case model::UnitSystem::GENERAL:
            break;
    }
    const std::string blank(8, ' ');
    return {blank, blank, blank, blank, blank, blank, blank, blank};
}

void WriteLabelLine(OutputChannel& report, std::string_view label, std::string_view value_field, std::string_view unit) {
    report.Write(label);
    report.Tab(kLabelColumn);
    report.Write("= ");
    report.Write(value_field);
    report.Write(unit);
    report.EndLine();
}

void WriteAdaptiveLabelLine(OutputChannel& report, std::string_view label, double value, std::string_view unit) {
    WriteLabelLine(report, label, AdaptiveNumber(value, kLabelValueWidth), unit);
}

void WriteUnderlinedHeading(OutputChannel& report, std::string_view heading) {
    report.Line(heading);
    report.Line(std::string(heading.size(), '-'));
    report.Blank();
}

double BarSpacing(const SectionWorkspace& ws, const model::PileSection& section) {
    std::vector<BarPoint> points;
    points.reserve(ws.Bars.size());
    for (const BarEntry& bar : ws.Bars) points.push_back(BarPoint{bar.x, bar.y});
    const bool circle = section.Rebar.RebarInCircle;
    const int bundle = circle ? std::max(1, section.Rebar.BarsPerBundle) : 1;
    const double diameter = circle ? section.Rebar.BarDiameter : (ws.Bars.empty() ? 0.0 : ws.Bars.front().diameter);
    return EdgeToEdgeBarSpacing(points, bundle, diameter);
}

void WriteSectionPropertiesBlock(run::RunContext& ctx, const SectionWorkspace& ws, const model::PileSection& section) {
    OutputChannel& report = ctx.files.report;
    const SectionUnitTexts u = SectionUnits(ws.Units);
    const MaterialConstants& m = ws.m;
    const double D = ws.D;
    const double As = TotalBarArea(ws);
    const int bars = static_cast<int>(ws.Bars.size());
    const model::RebarData& rebar = section.Rebar;
    const double t = section.SteelThickness;
    const double gross_circle = kPi * D * D / 4.0;
    const double A_in = kPi * (D - 2.0 * t) * (D - 2.0 * t) / 4.0;
    const double Acs = gross_circle - A_in;

    switch (section.SectionType) {
        case model::kRectangularConcrete: {
            WriteUnderlinedHeading(report, "Dimensions and Properties of Rectangular Concrete Pile:");
            WriteSectionLength(report, ws, section);
            const double gross = section.RectDepth * section.RectWidth;
            WriteAdaptiveLabelLine(report, "Depth of Section", section.RectDepth, u.Length);
            WriteAdaptiveLabelLine(report, "Width of Section", section.RectWidth, u.Length);
            WriteIntegerLabelLine(report, "Number of Reinforcing Bars", bars, kLabelValueWidth, " bars   ");
            WriteAdaptiveLabelLine(report, "Yield Stress of Reinforcing Bars", m.fy, u.Stress);
            WriteAdaptiveLabelLine(report, "Modulus of Elasticity of Reinforcing Bars", m.Es, u.Stress);
            WriteAdaptiveLabelLine(report, "Compressive Strength of Concrete", m.fc, u.Stress);
            WriteAdaptiveLabelLine(report, "Modulus of Rupture of Concrete", m.fr, u.Stress);
            WriteAdaptiveLabelLine(report, "Gross Area of Pile", gross, u.Area);
            WriteAdaptiveLabelLine(report, "Total Area of Reinforcing Steel", As, u.Area);
            WriteAdaptiveLabelLine(report, "Area Ratio of Steel Reinforcement", gross > 0.0 ? 100.0 * As / gross : 0.0,
                                   " percent");
            WriteBarDetailsTable(report, ws, section, u);
            break;
        }
        case model::kDrilledShaft:
            report.Blank();
            WriteUnderlinedHeading(report, "Dimensions and Properties of Drilled Shaft:");
            WriteSectionLength(report, ws, section);
            WriteAdaptiveLabelLine(report, "Shaft Diameter ", D, u.Length);
            WriteAdaptiveLabelLine(report, "Concrete Cover Thickness", rebar.ConcreteCover, u.Length);
            WriteIntegerLabelLine(report, "Number of Reinforcing Bars", bars, kLabelValueWidth, " bars   ");
            WriteAdaptiveLabelLine(report, "Yield Stress of Reinforcing Bars", m.fy, u.Stress);
            WriteAdaptiveLabelLine(report, "Modulus of Elasticity of Reinforcing Bars", m.Es, u.Stress);
            WriteAdaptiveLabelLine(report, "Gross Area of Shaft", gross_circle, u.Area);
            WriteAdaptiveLabelLine(report, "Total Area of Reinforcing Steel", As, u.Area);
            WriteLabelLine(report, "Area Ratio of Steel Reinforcement ",
                           fmt::F(gross_circle > 0.0 ? 100.0 * As / gross_circle : 0.0, 15, 2), " percent");
            WriteAdaptiveLabelLine(report, "Edge-to-Edge Bar Spacing", BarSpacing(ws, section), u.Length);
            WriteAdaptiveLabelLine(report, "Rebar Offset", rebar.RebarOffset, u.Length);
            break;
        case model::kDrilledShaftWithCasing:
            report.Blank();
            WriteUnderlinedHeading(report, "Dimensions and Properties of Drilled Shaft with Permanent Casing:");
            WriteSectionLength(report, ws, section);
            WriteAdaptiveLabelLine(report, "Outer Diameter of Casing", D, u.Length);
            WriteAdaptiveLabelLine(report, "Concrete Cover Thickness Inside Casing", rebar.ConcreteCover, u.Length);
            WriteAdaptiveLabelLine(report, "Casing Wall Thickness", t, u.Length);
            WriteAdaptiveLabelLine(report, "Yield Stress of Casing", m.SteelFy, u.Stress);
            WriteAdaptiveLabelLine(report, "Elastic Modulus of Casing", m.SteelEs, u.Stress);
            WriteIntegerLabelLine(report, "Number of Reinforcing Bars", bars, kLabelValueWidth, " bars   ");
            WriteAdaptiveLabelLine(report, "Area of Single Reinforcing Bar", SingleBarArea(ws, section), u.Area);
            WriteAdaptiveLabelLine(report, "Edge-to-Edge Bar Spacing", BarSpacing(ws, section), u.Length);
            WriteAdaptiveLabelLine(report, "Rebar Offset", rebar.RebarOffset, u.Length);
            WriteAdaptiveLabelLine(report, "Yield Stress of Reinforcing Bars", m.fy, u.Stress);
            WriteAdaptiveLabelLine(report, "Elastic Modulus of Reinforcing Bars", m.Es, u.Stress);
            WriteAdaptiveLabelLine(report, "Area of Concrete", A_in - As, u.Area);
            WriteAdaptiveLabelLine(report, "Cross-sectional Area of Steel Casing", Acs, u.Area);
            WriteAdaptiveLabelLine(report, "Area of All Steel (Casing and Bars)", Acs + As, u.Area);
            WriteLabelLine(report, "Area Ratio of All Steel",
                           fmt::F(gross_circle > 0.0 ? 100.0 * (Acs + As) / gross_circle : 0.0, 15, 2), " percent");
            break;
        case model::kDrilledShaftWithCasingAndCore: {
            const bool filled = section.b_FillCoreWithConcrete;
            const double Dc = section.CoreDiameter;
            const double tc = section.CoreThickness;
            const double Acore = Ring(Dc, tc);
            const double Ac = filled ? A_in - Acore - As : A_in - kPi * Dc * Dc / 4.0 - As;
            report.Blank();
            WriteUnderlinedHeading(report, filled
                                               ? "Dimensions and Properties of Drilled Shaft with Casing and Filled Core:"
                                               : "Dimensions and Properties of Drilled Shaft with Casing and Hollow Core:");
            WriteSectionLength(report, ws, section);
            WriteAdaptiveLabelLine(report, "Outside Diameter of Casing", D, u.Length);
            WriteAdaptiveLabelLine(report, "Concrete Cover Thickness Inside Casing", rebar.ConcreteCover, u.Length);
            WriteAdaptiveLabelLine(report, "Casing Wall Thickness", t, u.Length);
            WriteAdaptiveLabelLine(report, "Moment of Inertia of Steel Casing", RingInertia(D, t), u.Inertia);
            WriteAdaptiveLabelLine(report, "Outside Diameter of Core", Dc, u.Length);
            WriteAdaptiveLabelLine(report, "Core Wall Thickness", tc, u.Length);
            WriteAdaptiveLabelLine(report, "Moment of Inertia of Steel Core", RingInertia(Dc, tc), u.Inertia);
            WriteAdaptiveLabelLine(report, "Yield Stress of Casing and Core", m.SteelFy, u.Stress);
            WriteAdaptiveLabelLine(report, "Elastic Modulus of Casing and Core", m.SteelEs, u.Stress);
            WriteIntegerLabelLine(report, "Number of Reinforcing Bars", bars, kLabelValueWidth, " bars   ");
            WriteAdaptiveLabelLine(report, "Area of Single Reinforcing Bar", SingleBarArea(ws, section), u.Area);
            WriteAdaptiveLabelLine(report, "Area of All Reinforcing Bars", As, u.Area);
            WriteAdaptiveLabelLine(report, "Edge-to-Edge Bar Spacing", BarSpacing(ws, section), u.Length);
            WriteAdaptiveLabelLine(report, "Rebar Offset", rebar.RebarOffset, u.Length);
            WriteAdaptiveLabelLine(report, "Yield Stress of Reinforcing Bars", m.fy, u.Stress);
            WriteAdaptiveLabelLine(report, "Elastic Modulus of Reinforcing Bars", m.Es, u.Stress);
            WriteAdaptiveLabelLine(report, "Area of Concrete", Ac, u.Area);
            WriteAdaptiveLabelLine(report, "Cross-sectional Area of Steel Casing", Acs, u.Area);
            WriteAdaptiveLabelLine(report, "Cross-sectional Area of Steel Core", Acore, u.Area);
            WriteAdaptiveLabelLine(report, "Area of All Steel (Casing, Core, and Bars)", Acs + Acore + As, u.Area);
            WriteLabelLine(report, "Area Ratio of All Steel",
                           fmt::F(gross_circle > 0.0 ? 100.0 * (Acs + Acore + As) / gross_circle : 0.0, 15, 2),
                           " percent");
            report.Line(filled ? "Note that the core is assumed to be filled with concrete"
                               : "Note that the core is assumed to be void of concrete");
            break;
        }
        case model::kSteelPipe: {
            WriteUnderlinedHeading(report, "Dimensions and Properties of Steel Pipe Pile:");
            WriteSectionLength(report, ws, section);
            const double inner = D - 2.0 * t;
            const double area = Ring(D, t);
            const double inertia = RingInertia(D, t);
            const double Z = (D * D * D - inner * inner * inner) / 6.0;
            // E I with the modulus as entered, so that it carries the bending
            // stiffness unit (lb-in^2 for USCS, kN-m^2 for SI).
            const double EI = section.SteelModulus * inertia;
            const std::string cubic = ws.Units == model::UnitSystem::USCS ? " in^3   "
                                      : ws.Units == model::UnitSystem::SI ? " m^3    "
                                                                          : std::string(8, ' ');
            WriteAdaptiveLabelLine(report, "Outer Diameter of Pipe", D, u.Length);
            WriteAdaptiveLabelLine(report, "Pipe Wall Thickness", t, u.Length);
            WriteAdaptiveLabelLine(report, "Yield Stress of Pipe", m.SteelFy, u.Stress);
            WriteAdaptiveLabelLine(report, "Elastic Modulus", m.SteelEs, u.Stress);
            WriteAdaptiveLabelLine(report, "Cross-sectional Area", area, u.Area);
            WriteAdaptiveLabelLine(report, "Moment of Inertia", inertia, u.Inertia);
            WriteAdaptiveLabelLine(report, "Elastic Bending Stiffness", EI, u.Stiffness);
            WriteAdaptiveLabelLine(report, "Plastic Modulus, Z", Z, cubic);
            WriteAdaptiveLabelLine(report, "Plastic Moment Capacity = Fy Z", m.SteelFy * Z, u.Moment);
            break;
        }
        case model::kCircularSolidPrestressed:
            WriteUnderlinedHeading(report, "Dimensions and Properties of Circular Prestressed Pile:");
            WriteSectionLength(report, ws, section);
            WriteLabelLine(report, "Diameter", fmt::F(D, 10, 3), u.Length);
            report.Blank();
            break;
        case model::kCircularHollowPrestressed:
            WriteUnderlinedHeading(report, "Dimensions and Properties of Hollow Core Circular Prestressed Pile:");
            WriteSectionLength(report, ws, section);
            WriteLabelLine(report, "Outside Diameter", fmt::F(D, 10, 3), u.Length);
            WriteLabelLine(report, "Inside Diameter", fmt::F(section.VoidDiameter, 10, 3), u.Length);
            break;
        case model::kSquareSolidPrestressed:
            WriteUnderlinedHeading(report, "Dimensions of Square Prestressed Pile Section:");
            WriteSectionLength(report, ws, section);
            WriteLabelLine(report, "Pile Width", fmt::F(section.SectionWidth, 10, 3), u.Length.substr(0, 4));
            WriteLabelLine(report, "Corner Chamfer", fmt::F(section.CornerChamfer, 10, 3), u.Length.substr(0, 4));
            break;
        case model::kSquareHollowPrestressed:
            WriteUnderlinedHeading(report,
                                   "Dimensions and Properties of Square Prestressed Pile Section with Hollow Core:");
            WriteSectionLength(report, ws, section);
            WriteLabelLine(report, "Pile Width", fmt::F(section.SectionWidth, 10, 3), u.Length);
            WriteLabelLine(report, "Corner Chamfer", fmt::F(section.CornerChamfer, 10, 3), u.Length);
            WriteLabelLine(report, "Inside Void Diameter", fmt::F(section.VoidDiameter, 10, 3), u.Length);
            break;
        case model::kOctagonalSolidPrestressed:
            WriteUnderlinedHeading(report, "Dimensions and Properties of Octagonal Prestressed Pile:");
            WriteSectionLength(report, ws, section);
            WriteLabelLine(report, "Pile Width", fmt::F(section.SectionWidth, 10, 3), u.Length);
            break;
        case model::kOctagonalHollowPrestressed:
            WriteUnderlinedHeading(report,
                                   "Dimensions and Properties of Octagonal Prestressed Pile Section with Hollow Core:");
            WriteSectionLength(report, ws, section);
            WriteLabelLine(report, "Pile Width", fmt::F(section.SectionWidth, 10, 3), u.Length);
            WriteLabelLine(report, "Inside Void Diameter", fmt::F(section.VoidDiameter, 10, 3), u.Length);
            break;
        default:
            break;
    }
}

void WriteBarTable(run::RunContext& ctx, const SectionWorkspace& ws) {
    OutputChannel& report = ctx.files.report;
    report.Line("Reinforcing Bar Dimensions and Positions Used in Computations:");
    report.Blank(2);
    report.Line("     Bar          Bar Diam.      Bar Area          X              Y     ");
    if (ws.Units == model::UnitSystem::SI) {
        report.Line("    Number         meters         sq. m.         meters         meters  ");
    } else {
        report.Line("    Number         inches         sq. in.        inches         inches  ");
    }
    report.Line("  ----------     ----------     ----------     ----------     ----------");
    // A coordinate of exactly zero is printed in the F11.5 form of its
    // neighbours rather than the F11.4 zero of the adaptive field.
    const auto coordinate = [](double value) {
        return value == 0.0 ? std::string("     0.00000") : AdaptiveNumber(value, 12);
    };
    for (std::size_t k = 0; k < ws.Bars.size(); ++k) {
        const BarEntry& bar = ws.Bars[k];
        report.Line(fmt::I(static_cast<long long>(k + 1), 8) + fmt::X(4) + fmt::X(3) + AdaptiveNumber(bar.diameter, 12) +
                    fmt::X(3) + AdaptiveNumber(bar.area, 12) + fmt::X(3) + coordinate(bar.x) + fmt::X(3) +
                    coordinate(bar.y));
    }
}

void WriteStrandDetails(run::RunContext& ctx, const SectionWorkspace& ws, const model::PileSection& section) {
    OutputChannel& report = ctx.files.report;
    const SectionUnitTexts u = SectionUnits(ws.Units);
    const bool si = ws.Units == model::UnitSystem::SI;
    report.Blank();
    WriteUnderlinedHeading(report, "Prestressing Strand Details:");
    static constexpr std::string_view kTypeNames[] = {
        "=    PCI 250", "=    PCI 270", "=    PCI 300", "= Smooth 145 ksi bars", "= Smooth 160 ksi bars",
        "= Deformed bars (150-160 ksi)"};
    const int type = section.Strand.StrandTypeCode;
    report.Write("Strand Type");
    report.Tab(kLabelColumn);
    if (type >= 0 && type <= 5) report.Write(kTypeNames[type]);
    report.EndLine();
    WriteLabelLine(report, "Yield Stress, fpu", fmt::F(ws.m.fy, 10, 0), u.Stress);
    switch (ws.MaterialClass) {
        case kClassPci270:
            report.Line("Stress-Strain Curve for Reinforcement Defined Using PCI 270 Lo-lax Equation");
            report.Line("If eps > 0.008 fpu = 268 - 0.075/(eps-0.0065) < 0.98 fpu (ksi)");
            break;
        case kClassGrade300:
            report.Line("Stress-Strain Curve for Reinforcement Defined Using Grade 300 Equation");
            report.Line("If eps > 0.0088846 fpu = 300.0-(0.0835/(eps-0.0071))) < 300 (ksi)");
            break;
        case kClassPci250:
            report.Line("Stress-Strain Curve for Reinforcement Defined Using PCI 250 Lo-lax Equation");
            report.Line("If eps > 0.008, fps = 248 - 0.058/(eps-0.006) < 0.98 fpu (ksi)");
            break;
        default:
            break;
    }
    WriteIntegerLabelLine(report, "Number of Reinforcing Strands", static_cast<long long>(ws.Bars.size()), 10, "");
    WriteLabelLine(report, "Cross-sectional Area of Single Strand", fmt::F(ws.StrandArea, 10, si ? 7 : 3), u.Area);
    WriteLabelLine(report, "Concrete Cover Thickness Over Strands", fmt::F(section.Strand.StrandCover, 10, si ? 5 : 3),
                   u.Length);
    report.Blank();
    WriteUnderlinedHeading(report, "Prestressing Strand Geometry:");
    report.Line("Strand     Diameter       Area            X             Y");
    const std::string length = TrimBoth(ctx.labels.Length2);
    report.Write("  No.");
    report.Tab(12);
    report.Write(length);
    report.Tab(29);
    report.Write("Sq. " + length);
    report.Tab(43);
    report.Write(length);
    report.Tab(57);
    report.Write(length);
    report.EndLine();
    report.Line("------    ---------    ----------    ----------    ----------");
    const int decimals = si ? 6 : 3;
    for (std::size_t k = 0; k < ws.Bars.size(); ++k) {
        const BarEntry& strand = ws.Bars[k];
        report.Line(fmt::I(static_cast<long long>(k + 1), 4) + fmt::F(strand.diameter, 14, decimals) +
                    fmt::F(strand.area, 14, decimals) + fmt::F(strand.x, 14, decimals) +
                    fmt::F(strand.y, 14, decimals));
    }
}

void WriteConcreteProperties(run::RunContext& ctx, const SectionWorkspace& ws) {
    OutputChannel& report = ctx.files.report;
    const SectionUnitTexts u = SectionUnits(ws.Units);
    const MaterialConstants& m = ws.m;
    report.Blank();
    WriteUnderlinedHeading(report, "Concrete Properties:");
    WriteAdaptiveLabelLine(report, "Compressive Strength of Concrete", m.fc, u.Stress);
    WriteAdaptiveLabelLine(report, "Modulus of Elasticity of Concrete", m.Ec, u.Stress);
    WriteAdaptiveLabelLine(report,
                           ws.MaterialClass == kClassReinforcedConcrete ? "Modulus of Rupture of Concrete"
                                                                        : "Modulus of Rupture of Prestressed Concrete",
                           m.fr, u.Stress);
    WriteAdaptiveLabelLine(report, "Compression Strain at Peak Stress", m.eps0, "");
    WriteAdaptiveLabelLine(report, "Tensile Strain at Fracture of Concrete", m.epscr, "");
    WriteAdaptiveLabelLine(report, "Maximum Coarse Aggregate Size", m.aggregate, u.Length);
}

}  // namespace trevasc::section
