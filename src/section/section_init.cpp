#include "section/section_init.hpp"

#include <algorithm>
#include <cmath>
#include <string>

#include "report/fortran_format.hpp"
#include "run/error_stop.hpp"
#include "section/geometry.hpp"
#include "section/materials.hpp"

namespace trevasc::section {

namespace fmt = report::fmt;

namespace {

bool IsConcreteSectionType(int type) {
    return (type >= model::kRectangularConcrete && type <= model::kDrilledShaftWithCasingAndCore) ||
           (type >= model::kCircularSolidPrestressed && type <= model::kOctagonalHollowPrestressed);
}

bool IsPrestressedType(int type) {
    return type >= model::kCircularSolidPrestressed && type <= model::kOctagonalHollowPrestressed;
}

// Number of bar or strand records the section declares.
int DeclaredBarCount(const model::PileSection& section) {
    if (IsPrestressedType(section.SectionType)) return section.Strand.StrandCount;
    if (section.SectionType >= model::kRectangularConcrete &&
        section.SectionType <= model::kDrilledShaftWithCasingAndCore) {
        return section.Rebar.BarCount;
    }
    return 0;
}

std::string SectionText(int k) { return "Section " + fmt::I0(k); }

// A reason the section cannot be analysed, or an empty string.
std::string FirstDataFault(const SectionWorkspace& ws, const model::PileSection& section) {
    const auto positive = [](double value) { return value > 0.0 && std::isfinite(value); };
    if (!positive(ws.D) || !positive(ws.Width)) return "its depth and width must be greater than zero";
    if (ws.HasConcrete()) {
        const double fc = section.Concrete.ConcreteStrength;
        if (!positive(fc)) return "the compressive strength of its concrete must be greater than zero";
        // The tensile fracture strain needs 1 + fr/f'c > 0, i.e. f'c above
        // about 0.056 ksi (56 psi).
        if (!(std::isfinite(ws.m.epscr) && std::isfinite(ws.m.eps0) && ws.m.Ec > 0.0)) {
            return "the compressive strength of its concrete is too small for the concrete law";
        }
    }
    if (ws.HasCasing()) {
        if (!positive(section.SteelThickness) || 2.0 * section.SteelThickness > ws.D) {
            return "its steel wall thickness must be greater than zero and at most half its diameter";
        }
        if (!positive(ws.m.SteelEs)) return "the elastic modulus of its steel must be greater than zero";
    }
    if (ws.Shape == kShapeCasedCircleWithCore) {
        const double inside = ws.D - 2.0 * section.SteelThickness;
        if (!positive(section.CoreDiameter) || section.CoreDiameter > inside) {
            return "the core diameter must be greater than zero and fit inside the casing";
        }
        if (section.CoreThickness < 0.0 || 2.0 * section.CoreThickness > section.CoreDiameter) {
            return "the core wall thickness must lie between zero and half the core diameter";
        }
    }
    if (ws.Shape == kShapeCircleWithVoid || ws.Shape == kShapeRectangleWithVoid || ws.Shape == kShapePolygonWithVoid) {
        if (section.VoidDiameter < 0.0 || section.VoidDiameter >= ws.D) {
            return "the void diameter must be at least zero and smaller than the section width";
        }
    }
    if (ws.Shape == kShapePolygon && IsPrestressedType(section.SectionType) &&
        (section.CornerChamfer < 0.0 || 2.0 * section.CornerChamfer >= ws.D)) {
        return "the corner chamfer must be at least zero and smaller than half the pile width";
    }
    if (ws.IsPrestressed() && !positive(ws.m.Es)) return "the strand type and size codes are not in the strand table";
    if (IsPrestressedType(section.SectionType) && ws.MaterialClass == 0) {
        return "its strand type code must be 0 to 5";
    }
    for (const BarEntry& bar : ws.Bars) {
        if (!(bar.area >= 0.0) || !(bar.diameter >= 0.0) || !std::isfinite(bar.x) || !std::isfinite(bar.y)) {
            return "a bar or strand has a negative or undefined size or position";
        }
    }
    return {};
}

}  // namespace

void StopOnSectionError(run::RunContext& ctx, std::int32_t number, std::initializer_list<std::string_view> lines) {
    report::OutputChannel& report = ctx.files.report;
    report::OutputChannel& messages = ctx.files.messages;
    const std::string heading = "**** Input Data Error No. " + fmt::I0(number - 100) + " ****";
    for (report::OutputChannel* channel : {&messages, &report}) {
        channel->Blank();
        channel->Line(heading);
        channel->Blank();
        for (std::string_view line : lines) channel->Line(line);
        channel->Blank();
    }
    run::Stop_With_Error(ctx, number);
}

void FillSectionWorkspace(SectionWorkspace& ws, const model::PileSection& section, model::UnitSystem units) {
    ws.SectionType = section.SectionType;
    ws.Units = units;
    ws.Shape = ShapeOfSection(section);
    ws.MaterialClass = MaterialClassOfSection(section);

    if (section.SectionType == model::kRectangularConcrete) {
        ws.D = section.RectDepth;
        ws.Width = section.RectWidth;
    } else {
        ws.D = section.SectionWidth;
        ws.Width = section.SectionWidth;
    }

    ws.Vertices.clear();
    switch (ws.Shape) {
        case kShapeRectangle:
        case kShapeRectangleWithVoid:
            ws.Vertices = RectangleOutline(ws.Width, ws.D);
            break;
        case kShapePolygon:
        case kShapePolygonWithVoid:
            if (section.SectionType == model::kSquareSolidPrestressed ||
                section.SectionType == model::kSquareHollowPrestressed) {
                ws.Vertices = ChamferedSquareOutline(section.SectionWidth, section.CornerChamfer);
            } else {
                ws.Vertices = OctagonOutline(section.SectionWidth);
            }
            break;
        default:
            break;
    }
    if (!ws.Vertices.empty()) {
        double top = ws.Vertices.front().y;
        double bottom = top;
        for (const Vertex& v : ws.Vertices) {
            top = std::max(top, v.y);
            bottom = std::min(bottom, v.y);
        }
        ws.D = top - bottom;
        if (ws.Shape != kShapeRectangle && ws.Shape != kShapeRectangleWithVoid) ws.Width = ws.D;
    }

    ws.CoreDiameter = 0.0;
    ws.CoreWall = 0.0;
    ws.CoreFilled = false;
    if (ws.Shape == kShapeCasedCircleWithCore) {
        ws.CoreDiameter = section.CoreDiameter;
        ws.CoreWall = section.CoreThickness;
        ws.CoreFilled = section.b_FillCoreWithConcrete;
    } else if (ws.Shape == kShapeCircleWithVoid || ws.Shape == kShapeRectangleWithVoid ||
               ws.Shape == kShapePolygonWithVoid) {
        ws.CoreDiameter = section.VoidDiameter;
    }
    ws.CasingDiameter = ws.HasCasing() ? ws.D : 0.0;
    ws.CasingWall = ws.HasCasing() ? section.SteelThickness : 0.0;

    ws.Bars.clear();
    const std::vector<model::BarRecord>& records =
        IsPrestressedType(section.SectionType) ? section.Strand.Strands : section.Rebar.Bars;
    const int count =
        std::clamp(DeclaredBarCount(section), 0, std::min(model::kMaxBars, static_cast<int>(records.size())));
    ws.Bars.reserve(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k) {
        const model::BarRecord& r = records[static_cast<std::size_t>(k)];
        ws.Bars.push_back(BarEntry{r.BarX, r.BarY, r.BarDiameter, r.BarArea});
    }
    ws.StrandDiameter = 0.0;
    ws.StrandArea = 0.0;
    if (IsPrestressedType(section.SectionType) && !ws.Bars.empty()) {
        ws.StrandDiameter = ws.Bars.front().diameter;
        ws.StrandArea = ws.Bars.front().area;
    }

    SetMaterialConstants(ws, section);
}

void PrepareSectionWorkspace(run::RunContext& ctx, SectionWorkspace& ws, const model::PileSection& section, int k) {
    const model::UnitSystem units = ctx.problem.Options.Units;
    ws = SectionWorkspace{};
    ws.SectionNumber = k;
    if (units == model::UnitSystem::GENERAL && IsConcreteSectionType(section.SectionType)) {
        StopOnSectionError(
            ctx, kSectionUnitsError,
            {SectionText(k) + " is a concrete section. Its moment-curvature analysis uses material laws",
             "stated in ksi and kPa, which have no meaning in GENERAL units.",
             "Use Units USCS or Units SI, or describe the section by its bending stiffness",
             "(an elastic, elastic-plastic or user-defined nonlinear EI section)."});
    }
    const int declared = DeclaredBarCount(section);
    if (declared > model::kMaxBars) {
        ctx.files.report.Line("  Error in Calculate_Rebar_Slice_Areas - NumBars out of valid range = " + fmt::I0(declared) +
                              " (more than " + fmt::I0(model::kMaxBars) + " bars)");
        StopOnSectionError(ctx, kSectionDataError,
                           {SectionText(k) + " has " + fmt::I0(declared) + " bars or strands; a section can hold at most " +
                                fmt::I0(model::kMaxBars) + ".",
                            "Reduce the number of bars or strands of the section."});
    }
    FillSectionWorkspace(ws, section, units);
    ws.SectionNumber = k;
    const std::string fault = FirstDataFault(ws, section);
    if (!fault.empty()) {
        StopOnSectionError(ctx, kSectionDataError,
                           {SectionText(k) + " cannot be analysed: " + fault + ".",
                            "Correct the section data in the input file."});
    }
}

void Initialize_EI_Vars(run::RunContext& ctx, SectionWorkspace& ws, const model::PileSection& section) {
    BuildSlices(ws);
    SetMaterialConstants(ws, section);
    ws.prestress.eps_pc = 0.0;
    ws.prestress.eps_ps = 0.0;
    if (ws.IsPrestressed()) Calculate_Strains_Due_To_Prestressing(ctx, ws, section);
}

}  // namespace trevasc::section
