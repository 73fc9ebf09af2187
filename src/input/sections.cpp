// The SECTIONS block: the pile as a stack of sections from the head down, each
// with its type, length, dimensions and materials.
//
// Every value stands on its own line (one read statement each), except the
// points of a concrete stress-strain curve, listed bars and manually placed
// strands, which carry one row per line. With SI units the small
// cross-section dimensions are entered in millimetres and stored in metres
// (areas in m^2, moments of inertia in m^4); stresses, moduli, forces and the
// section length are stored as entered.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "input/block_checks.hpp"
#include "input/current_format.hpp"
#include "input/reader_support.hpp"
#include "report/fortran_format.hpp"
#include "run/error_stop.hpp"
#include "section/reinforcement.hpp"

namespace trevasc::input {

namespace fmt = report::fmt;
using run::Stop_With_Error;

namespace {

// pi/64 and pi/4 of the steel pipe's annulus (I = pi/64 (D^4 - d^4), A = pi/4 (D^2 - d^2)).
constexpr double kPiOver64 = 0.04908738521234052;
constexpr double kPiOver4 = 0.7853981633974483;

// Reads the values of one section, each on its own line, converting the
// millimetre entries of SI input.
class SectionLines {
public:
    SectionLines(run::RunContext& ctx, int section) : ctx_(ctx), section_(section) {
        si_ = ctx.problem.Options.Units == model::UnitSystem::SI;
    }

    std::string What(std::string_view label) const {
        return "the " + std::string(label) + " of section " + fmt::I0(section_);
    }
    double Real(std::string_view label) {
        double value = 0.0;
        DataLine(ctx_, What(label)).Real(value);
        return value;
    }
    std::int32_t Int(std::string_view label) {
        std::int32_t value = 0;
        DataLine(ctx_, What(label)).Int(value);
        return value;
    }
    // (mm): a cross-section dimension.
    double Length(std::string_view label) { return ToMetres(Real(label)); }
    // (mm^2)
    double Area(std::string_view label) { return ToSquareMetres(Real(label)); }
    // (mm^4)
    double Inertia(std::string_view label) {
        const double value = Real(label);
        return si_ ? value / kMillimetres4PerMetre4 : value;
    }
    double ToMetres(double value) const { return si_ ? value / kMillimetresPerMetre : value; }
    double ToSquareMetres(double value) const { return si_ ? value / kSquareMillimetresPerSquareMetre : value; }

    std::string Block() const { return "section " + fmt::I0(section_) + " of the SECTIONS block"; }
    int section() const { return section_; }
    run::RunContext& ctx() { return ctx_; }

private:
    run::RunContext& ctx_;
    int section_;
    bool si_ = false;
};

// Input Data Error 95: a section option line that is not one of its keywords.
[[noreturn]] void StopOnBadOptionLine(run::RunContext& ctx, std::string_view message) {
    ctx.files.report.Blank();
    ctx.files.report.Line(message);
    Stop_With_Error(ctx, "INP00095", 195);
}

void ReadConcrete(SectionLines& in, model::ConcreteData& concrete) {
    run::RunContext& ctx = in.ctx();
    ctx.files.messages.Line("Reading concrete property data for Section " + fmt::I0(in.section()));
    concrete.ConcreteStrength = in.Real("concrete compressive strength");
    concrete.MaxAggregateSize = in.Length("maximum aggregate size");

    const std::string tensile = ReadRecordOrStop(ctx, in.What("concrete tensile strength option"));
    if (MatchesKeyword(tensile, "Use default concrete tensile strength")) {
        concrete.UseDefaultTensileStrength = true;
    } else if (MatchesKeyword(tensile, "Override concrete tensile strength")) {
        concrete.UseDefaultTensileStrength = false;
        concrete.TensileStrength = in.Real("concrete tensile strength");
    } else {
        StopOnBadOptionLine(ctx, "INPUT ERROR - Unrecognized command for concrete tensile strength option");
    }

    const std::string curve = ReadRecordOrStop(ctx, in.What("concrete stress-strain option"));
    concrete.ConcreteCurve.clear();
    if (MatchesKeyword(curve, "Input stress-strain curve for concrete")) {
        concrete.UseInputStressStrain = true;
        const std::int32_t points = in.Int("number of concrete stress-strain points");
        CheckCapacity(ctx, points, model::kMaxConcreteCurvePoints, in.Block(), "concrete stress-strain points");
        for (std::int32_t j = 1; j <= points; ++j) {
            std::int32_t index = 0;
            std::array<double, 2> point{};
            DataLine(ctx, in.What("concrete stress-strain curve")).Int(index).Real(point[0]).Real(point[1]);
            if (index != j) {
                report::OutputChannel& report = ctx.files.report;
                report.Blank();
                report.Line("INPUT ERROR - Sequence error encountered when reading concrete stress-strain curve");
                report.Blank();
                report.Line("Expecting line no. " + fmt::I0(j) + " but line no. " + fmt::I0(index) + " was read");
                report.Blank(2);
                Stop_With_Error(ctx, "INP00095", 195);
            }
            concrete.ConcreteCurve.push_back(point);
        }
    } else if (MatchesKeyword(curve, "Use internal stress-strain curve for concrete")) {
        concrete.UseInputStressStrain = false;
    } else {
        StopOnBadOptionLine(ctx, "INPUT ERROR - Unrecognized input for concrete stress-strain option");
    }
}

// Input Data Error 85 or 87 (`number`): a bar or strand arrangement that
// cannot be generated.
[[noreturn]] void StopOnArrangement(SectionLines& in, section::ArrangementStatus status, std::string_view what,
                                    std::int32_t number) {
    const std::string problem = "Problem:  The " + std::string(what) + " of section " + fmt::I0(in.section()) +
                                " cannot be generated: " + std::string(section::DescribeArrangementStatus(status)) +
                                ".";
    StopOnInputError(in.ctx(), number, problem,
                     "Solution: Correct the section dimensions, cover, bar or strand size and counts.");
}

void ReadCircularCage(SectionLines& in, const model::PileSection& s, model::RebarData& rebar) {
    rebar.RebarInCircle = true;
    rebar.RebarYieldStress = in.Real("rebar yield stress");
    rebar.RebarModulus = in.Real("rebar elastic modulus");
    rebar.BarPositions = in.Int("number of bar positions");
    rebar.BarsPerBundle = in.Int("number of bars per bundle");
    rebar.BarDiameter = in.Length("bar diameter");
    rebar.BarArea = in.Area("bar area");
    rebar.ConcreteCover = in.Length("concrete cover");
    rebar.RebarOffset = in.Length("rebar offset");

    section::CircularCage cage;
    cage.OutlineDiameter = s.SectionWidth;
    cage.Cover = rebar.ConcreteCover;
    cage.BarDiameter = rebar.BarDiameter;
    cage.Positions = rebar.BarPositions;
    cage.BarsPerBundle = rebar.BarsPerBundle;
    std::vector<section::BarPoint> positions;
    const section::ArrangementStatus status = section::ArrangeBarsInCircle(cage, positions);
    if (status == section::ArrangementStatus::TooManyBars) {
        const std::int64_t bars = static_cast<std::int64_t>(rebar.BarPositions) * rebar.BarsPerBundle;
        const std::string problem = "Problem:  Section " + fmt::I0(in.section()) + " has " +
                                    fmt::I0(rebar.BarPositions) + " bar positions of " +
                                    fmt::I0(rebar.BarsPerBundle) + " bars each, " + fmt::I0(bars) +
                                    " bars, more than the limit of " + fmt::I0(model::kMaxBars) + ".";
        StopOnInputError(in.ctx(), kBundledBarCountError, problem,
                         "Solution: Reduce the number of bar positions or of bars per bundle.");
    }
    if (status != section::ArrangementStatus::Ok) {
        StopOnArrangement(in, status, "circular bar cage", kCircularArrangementError);
    }

    rebar.BarCount = rebar.BarPositions * rebar.BarsPerBundle;
    rebar.Bars.clear();
    for (const section::BarPoint& point : positions) {
        model::BarRecord bar;
        bar.BarDiameter = rebar.BarDiameter;
        bar.BarArea = rebar.BarArea;
        bar.BarX = point.x;
        bar.BarY = point.y + rebar.RebarOffset;
        rebar.Bars.push_back(bar);
    }
}

void ReadListedBars(SectionLines& in, model::RebarData& rebar) {
    run::RunContext& ctx = in.ctx();
    rebar.RebarInCircle = false;
    rebar.RebarYieldStress = in.Real("rebar yield stress");
    rebar.RebarModulus = in.Real("rebar elastic modulus");
    const std::int32_t count = in.Int("number of bars");
    CheckCapacity(ctx, count, model::kMaxBars, in.Block(), "reinforcing bars");
    rebar.BarCount = std::max(count, 0);
    rebar.Bars.clear();
    for (std::int32_t j = 1; j <= count; ++j) {
        std::int32_t index = 0;
        model::BarRecord bar;
        DataLine(ctx, in.What("reinforcing bar " + fmt::I0(j)))
            .Int(index)
            .Int(bar.BarSizeCode)
            .Real(bar.BarDiameter)
            .Real(bar.BarArea)
            .Real(bar.BarX)
            .Real(bar.BarY);
        bar.BarDiameter = in.ToMetres(bar.BarDiameter);
        bar.BarArea = in.ToSquareMetres(bar.BarArea);
        bar.BarX = in.ToMetres(bar.BarX);
        bar.BarY = in.ToMetres(bar.BarY);
        rebar.Bars.push_back(bar);
    }
}

void ReadRebar(SectionLines& in, const model::PileSection& s, model::RebarData& rebar) {
    run::RunContext& ctx = in.ctx();
    ctx.files.messages.Line("Reading rebar property data for Section " + fmt::I0(in.section()));
    const std::string continuation = ReadRecordOrStop(ctx, in.What("rebar arrangement option"));
    if (MatchesKeyword(continuation, "No rebar")) {
        rebar.BarCount = 0;
        rebar.Bars.clear();
        return;
    }
    if (MatchesKeyword(continuation, "Rebar Arrangement Same As Section Above")) {
        rebar.RebarSameAsAbove = true;
    } else if (MatchesKeyword(continuation, "Rebar Arrangement Not Same As Section Above")) {
        rebar.RebarSameAsAbove = false;
    } else {
        StopOnBadOptionLine(ctx,
                            "INPUT ERROR - Unrecognized command for rebar continuation from section above option");
    }
    const std::string pattern = ReadRecordOrStop(ctx, in.What("rebar pattern"));
    if (MatchesKeyword(pattern, "Rebar in circle")) {
        ReadCircularCage(in, s, rebar);
    } else if (MatchesKeyword(pattern, "Rebar in noncircular pattern")) {
        ReadListedBars(in, rebar);
    }
    // Any other pattern line ends the sub-block without bars and without a
    // message; the next line is read as what follows the section.
}

section::StrandProperties StrandPropertiesOrStop(SectionLines& in, std::int32_t type, std::int32_t size,
                                                 int strand) {
    const auto properties = section::LookupStrandProperties(type, size, in.ctx().problem.Options.Units);
    if (properties) return *properties;
    std::string problem = "Problem:  Strand " + fmt::I0(strand) + " of section " + fmt::I0(in.section());
    const int sizes = section::StrandSizeCount(type);
    if (sizes == 0) {
        problem += " has strand type " + fmt::I0(type) + "; the strand types are 0 to " +
                   fmt::I0(section::kStrandTypeCount - 1) + ".";
    } else {
        problem += " has size code " + fmt::I0(size) + "; strand type " + fmt::I0(type) + " has size codes 0 to " +
                   fmt::I0(sizes - 1) + ".";
    }
    StopOnInputError(in.ctx(), kCodeRangeError, problem, "Solution: Correct the strand type or size code.");
}

void ReadAutomaticStrands(SectionLines& in, const model::PileSection& s, model::StrandData& strands) {
    run::RunContext& ctx = in.ctx();
    strands.AutoPositionStrands = true;
    strands.StrandTypeCode = in.Int("strand type");
    strands.StrandSizeCode = in.Int("strand size");
    strands.StrandCount = in.Int("number of strands");
    strands.InitialPrestressForce = in.Real("initial prestress force");
    strands.PrestressLossFraction = in.Real("prestress loss fraction");
    strands.StrandCover = in.Length("strand cover");
    strands.StrandPattern = in.Int("strand pattern");
    CheckCapacity(ctx, strands.StrandCount, model::kMaxBars, in.Block(), "prestressing strands");

    const section::StrandProperties properties =
        StrandPropertiesOrStop(in, strands.StrandTypeCode, strands.StrandSizeCode, 1);
    strands.StrandDiameter = properties.Diameter;
    strands.StrandArea = properties.Area;

    std::vector<section::BarPoint> positions;
    if (strands.StrandPattern == 0) {
        section::CircularCage cage;
        cage.OutlineDiameter = s.SectionWidth;
        cage.Cover = strands.StrandCover;
        cage.BarDiameter = properties.Diameter;
        cage.Positions = strands.StrandCount;
        cage.BarsPerBundle = 1;
        const section::ArrangementStatus status = section::ArrangeBarsInCircle(cage, positions);
        if (status != section::ArrangementStatus::Ok) {
            StopOnArrangement(in, status, "circular strand pattern (pattern 0)", kCircularArrangementError);
        }
    } else {
        section::SquareStrandLayout layout;
        layout.SectionWidth = s.SectionWidth;
        layout.Cover = strands.StrandCover;
        layout.StrandDiameter = properties.Diameter;
        layout.StrandCount = strands.StrandCount;
        layout.Pattern = strands.StrandPattern;
        const section::ArrangementStatus status = section::ArrangeStrandsOnSquare(layout, positions);
        if (status != section::ArrangementStatus::Ok) {
            StopOnArrangement(in, status, "strand pattern " + fmt::I0(strands.StrandPattern), kStrandPatternError);
        }
    }

    strands.Strands.clear();
    for (const section::BarPoint& point : positions) {
        model::BarRecord strand;
        strand.BarSizeCode = strands.StrandSizeCode;
        strand.BarDiameter = properties.Diameter;
        strand.BarArea = properties.Area;
        strand.BarX = point.x;
        strand.BarY = point.y;
        strands.Strands.push_back(strand);
    }
}

void ReadManualStrands(SectionLines& in, model::StrandData& strands) {
    run::RunContext& ctx = in.ctx();
    strands.AutoPositionStrands = false;
    strands.StrandTypeCode = in.Int("strand type");
    strands.StrandCount = in.Int("number of strands");
    strands.InitialPrestressForce = in.Real("initial prestress force");
    strands.PrestressLossFraction = in.Real("prestress loss fraction");
    CheckCapacity(ctx, strands.StrandCount, model::kMaxBars, in.Block(), "prestressing strands");
    strands.Strands.clear();
    for (std::int32_t j = 1; j <= strands.StrandCount; ++j) {
        std::int32_t index = 0;
        model::BarRecord strand;
        DataLine(ctx, in.What("prestressing strand " + fmt::I0(j)))
            .Int(index)
            .Int(strands.StrandTypeCode)
            .Int(strand.BarSizeCode)
            .Real(strand.BarX)
            .Real(strand.BarY);
        if (index != j) {
            ctx.files.report.Line("INPUT ERROR - Input out-of-order for strand no. " + fmt::I0(j));
            Stop_With_Error(ctx, "INP00095", 195);
        }
        const section::StrandProperties properties =
            StrandPropertiesOrStop(in, strands.StrandTypeCode, strand.BarSizeCode, j);
        strand.BarDiameter = properties.Diameter;
        strand.BarArea = properties.Area;
        strand.BarX = in.ToMetres(strand.BarX);
        strand.BarY = in.ToMetres(strand.BarY);
        if (j == 1) {
            strands.StrandDiameter = properties.Diameter;
            strands.StrandArea = properties.Area;
        }
        strands.Strands.push_back(strand);
    }
}

void ReadStrands(SectionLines& in, const model::PileSection& s, model::StrandData& strands) {
    run::RunContext& ctx = in.ctx();
    ctx.files.messages.Line("Reading prestressing strand data for Section " + fmt::I0(in.section()));
    const std::string option = ReadRecordOrStop(ctx, in.What("strand positioning option"));
    if (MatchesKeyword(option, "Autoposition strands")) {
        ReadAutomaticStrands(in, s, strands);
    } else if (MatchesKeyword(option, "Manually-positioned strands")) {
        ReadManualStrands(in, strands);
    } else {
        // No strand has been read yet: the number shown is the section's.
        ctx.files.report.Line("INPUT ERROR - Unrecognized input for strand no. " + fmt::I0(in.section()));
        ctx.files.report.Blank();
        Stop_With_Error(ctx, "INP00095", 195);
    }
}

enum ElasticShapeCode : std::int32_t {
    kRectangularShape = 1,
    kCircularShape = 2,
    kPipeShape = 3,
    kStrongHPile = 4,
    kWeakHPile = 5,
    kEmbeddedPole = 6,
};

// Elastic (type 11) and elastic-plastic (type 12) sections; fills the
// section's two property rows.
void ReadElastic(SectionLines& in, model::PileSection& s, model::SectionPropertyRow& top,
                 model::SectionPropertyRow& bottom) {
    run::RunContext& ctx = in.ctx();
    const bool plastic = s.SectionType == model::kElasticPlastic;
    ctx.files.messages.Line(std::string(plastic ? "Reading elastic-plastic section properties for Section "
                                                : "Reading elastic section properties for Section ") +
                            fmt::I0(in.section()));
    model::ElasticData& e = s.Elastic;
    e.ElasticShape = in.Int("elastic section shape");
    if (e.ElasticShape < kRectangularShape || e.ElasticShape > kEmbeddedPole) {
        const std::string problem = "Problem:  Section " + fmt::I0(in.section()) + " has elastic section shape " +
                                    fmt::I0(e.ElasticShape) + "; the shapes are 1 to 6.";
        StopOnInputError(ctx, kCodeRangeError, problem, "Solution: Correct the cross-sectional shape code.");
    }

    e.ElasticModulus = in.Real("elastic modulus");
    switch (e.ElasticShape) {
        case kRectangularShape:
        case kPipeShape:
            if (plastic) {
                e.PlasticMomentTop = in.Real("plastic moment at the top");
                e.PlasticMomentBottom = in.Real("plastic moment at the bottom");
            }
            e.WidthTop = in.Length("width at the top");
            e.WidthBottom = in.Length("width at the bottom");
            e.DepthTop = in.Length(e.ElasticShape == kPipeShape ? "wall thickness at the top" : "depth at the top");
            e.DepthBottom =
                in.Length(e.ElasticShape == kPipeShape ? "wall thickness at the bottom" : "depth at the bottom");
            e.AreaTop = in.Area("area at the top");
            e.AreaBottom = in.Area("area at the bottom");
            e.InertiaTop = in.Inertia("moment of inertia at the top");
            e.InertiaBottom = in.Inertia("moment of inertia at the bottom");
            break;
        case kCircularShape:
        case kEmbeddedPole:
            if (plastic) {
                e.PlasticMomentTop = in.Real("plastic moment at the top");
                e.PlasticMomentBottom = in.Real("plastic moment at the bottom");
            }
            e.WidthTop = in.Length("width at the top");
            e.WidthBottom = in.Length("width at the bottom");
            e.AreaTop = in.Area("area at the top");
            e.AreaBottom = in.Area("area at the bottom");
            e.InertiaTop = in.Inertia("moment of inertia at the top");
            e.InertiaBottom = in.Inertia("moment of inertia at the bottom");
            if (e.ElasticShape == kEmbeddedPole) e.DrilledHoleDiameter = in.Length("drilled hole diameter");
            break;
        case kStrongHPile:
        case kWeakHPile:
            // One plastic moment, width, depth, area and inertia for the
            // whole section. Flange and web thicknesses are stored as entered.
            if (plastic) {
                e.PlasticMomentTop = in.Real("plastic moment");
                e.PlasticMomentBottom = e.PlasticMomentTop;
            }
            e.WidthTop = in.Length("flange width");
            e.WidthBottom = e.WidthTop;
            e.DepthTop = in.Length("section depth");
            e.DepthBottom = e.DepthTop;
            e.FlangeThickness = in.Real("flange thickness");
            e.WebThickness = in.Real("web thickness");
            e.AreaTop = in.Area("section area");
            e.AreaBottom = e.AreaTop;
            e.InertiaTop = in.Inertia("moment of inertia");
            e.InertiaBottom = e.InertiaTop;
            break;
        default:
            break;
    }

    top.Modulus = e.ElasticModulus;
    bottom.Modulus = e.ElasticModulus;
    top.Inertia = e.InertiaTop;
    bottom.Inertia = e.InertiaBottom;
    top.Area = e.AreaTop;
    bottom.Area = e.AreaBottom;
    switch (e.ElasticShape) {
        case kStrongHPile:
            top.Width = e.WidthTop;
            bottom.Width = e.WidthTop;
            break;
        case kWeakHPile:
            // Bent about the weak axis, the pile faces the soil with its depth.
            top.Width = e.DepthTop;
            bottom.Width = e.DepthTop;
            break;
        case kEmbeddedPole:
            // The soil sees the drilled hole; the pole's own widths are kept
            // as its structural width.
            top.Width = e.DrilledHoleDiameter;
            bottom.Width = e.DrilledHoleDiameter;
            top.StructuralWidth = e.WidthTop;
            bottom.StructuralWidth = e.WidthBottom;
            break;
        default:
            top.Width = e.WidthTop;
            bottom.Width = e.WidthBottom;
            break;
    }
}

void ReadUserEI(SectionLines& in, model::UserEIData& user) {
    run::RunContext& ctx = in.ctx();
    const std::int32_t levels = in.Int("number of axial thrust levels");
    CheckCapacity(ctx, levels, model::kMaxUserEIThrustLevels, in.Block(), "axial thrust levels of user-defined EI");
    user.ThrustLevels.clear();
    for (std::int32_t j = 1; j <= levels; ++j) {
        model::UserEIThrustLevel level;
        level.AxialThrust = in.Real("axial thrust of level " + fmt::I0(j));
        const std::int32_t points = in.Int("number of M-EI points of thrust level " + fmt::I0(j));
        CheckCapacity(ctx, points, model::kMaxUserEIPoints,
                      "thrust level " + fmt::I0(j) + " of " + in.Block(), "M-EI points");
        for (std::int32_t p = 1; p <= points; ++p) {
            std::array<double, 2> point{};
            point[0] = in.Real("bending moment of M-EI point " + fmt::I0(p));
            point[1] = in.Real("bending stiffness of M-EI point " + fmt::I0(p));
            level.Points.push_back(point);
        }
        user.ThrustLevels.push_back(std::move(level));
    }
}

void ReadOneSection(run::RunContext& ctx, int i, model::PileSection& s, model::SectionPropertyRow& top,
                    model::SectionPropertyRow& bottom) {
    ctx.files.messages.Line("Reading section properties for Section " + fmt::I0(i));
    SectionLines in(ctx, i);

    const std::int32_t number = in.Int("section number");
    if (number != i) {
        report::OutputChannel& report = ctx.files.report;
        report.Line("SECTION DATA OUT-OF-ORDER");
        report.Blank();
        report.Line("Expecting section number " + fmt::I0(i) + ", but section number " + fmt::I0(number) +
                    " was found");
        Stop_With_Error(ctx, "INP00095", 195);
    }

    const std::int32_t type = in.Int("section type");
    if (type == kVoidCoreTypeCode) {
        s.SectionType = model::kDrilledShaftWithCasingAndCore;
        s.b_FillCoreWithConcrete = false;
    } else if (type >= model::kRectangularConcrete && type <= model::kMicropile) {
        s.SectionType = type;
        s.b_FillCoreWithConcrete = type == model::kDrilledShaftWithCasingAndCore;
    } else {
        const std::string problem = "Problem:  Section " + fmt::I0(i) + " of the SECTIONS block has section type " +
                                    fmt::I0(type) + "; the section types are 0 to 14, and -3 for a cased shaft " +
                                    "with a void core.";
        StopOnInputError(ctx, kSectionTypeError, problem, "Solution: Correct the section type.");
    }

    s.SectionLength = in.Real("section length");

    switch (s.SectionType) {
        case model::kRectangularConcrete:
            s.RectDepth = in.Length("section depth");
            s.RectWidth = in.Length("section width");
            s.SectionWidth = s.RectDepth;
            break;
        case model::kDrilledShaft:
        case model::kCircularSolidPrestressed:
        case model::kOctagonalSolidPrestressed:
        case model::kUserDefinedEI:
            s.SectionWidth = in.Length("diameter or width");
            break;
        case model::kDrilledShaftWithCasing:
        case model::kSteelPipe:
            s.SectionWidth = in.Length("outside diameter");
            s.SteelThickness = in.Length("steel wall thickness");
            s.SteelYieldStress = in.Real("steel yield stress");
            s.SteelModulus = in.Real("steel elastic modulus");
            break;
        case model::kDrilledShaftWithCasingAndCore:
            s.SectionWidth = in.Length("outside diameter");
            s.SteelThickness = in.Length("casing wall thickness");
            s.SteelYieldStress = in.Real("casing yield stress");
            s.SteelModulus = in.Real("casing elastic modulus");
            s.CoreDiameter = in.Length("core diameter");
            s.CoreThickness = in.Length("core wall thickness");
            s.CoreYieldStress = in.Real("core yield stress");
            s.CoreModulus = in.Real("core elastic modulus");
            break;
        case model::kCircularHollowPrestressed:
        case model::kOctagonalHollowPrestressed:
            s.SectionWidth = in.Length("pile width");
            s.VoidDiameter = in.Length("void diameter");
            break;
        case model::kSquareSolidPrestressed:
            s.SectionWidth = in.Length("pile width");
            s.CornerChamfer = in.Length("corner chamfer");
            break;
        case model::kSquareHollowPrestressed:
            s.SectionWidth = in.Length("pile width");
            s.VoidDiameter = in.Length("void diameter");
            s.CornerChamfer = in.Length("corner chamfer");
            break;
        default:
            break;
    }

    switch (s.SectionType) {
        case model::kRectangularConcrete:
        case model::kDrilledShaft:
        case model::kDrilledShaftWithCasing:
        case model::kDrilledShaftWithCasingAndCore:
            ReadConcrete(in, s.Concrete);
            ReadRebar(in, s, s.Rebar);
            break;
        case model::kCircularSolidPrestressed:
        case model::kCircularHollowPrestressed:
        case model::kSquareSolidPrestressed:
        case model::kSquareHollowPrestressed:
        case model::kOctagonalSolidPrestressed:
        case model::kOctagonalHollowPrestressed:
            ReadConcrete(in, s.Concrete);
            ReadStrands(in, s, s.Strand);
            break;
        case model::kElasticPile:
        case model::kElasticPlastic:
            ReadElastic(in, s, top, bottom);
            break;
        case model::kUserDefinedEI:
            ReadUserEI(in, s.UserEI);
            break;
        default:
            break;
    }

    model::ProblemData& problem = ctx.problem;
    if (s.SectionType == model::kMicropile) {
        // A micropile adds nothing to the pile length nor to the depths of
        // the sections below it, and has no property rows of its own.
        s.SectionTopDepth = problem.PileTotalLength;
        s.SectionBottomDepth = problem.PileTotalLength + s.SectionLength;
        return;
    }
    problem.PileTotalLength += s.SectionLength;
    s.SectionTopDepth = problem.PileTotalLength - s.SectionLength;
    s.SectionBottomDepth = problem.PileTotalLength;
    top.Depth = s.SectionTopDepth;
    bottom.Depth = s.SectionBottomDepth;
    if (s.SectionType == model::kElasticPile || s.SectionType == model::kElasticPlastic) return;
    top.Width = s.SectionWidth;
    bottom.Width = s.SectionWidth;
    if (s.SectionType == model::kSteelPipe) {
        const double D = s.SectionWidth;
        const double d = D - 2.0 * s.SteelThickness;
        const double inertia = kPiOver64 * (D * D * D * D - d * d * d * d);
        const double area = kPiOver4 * (D * D - d * d);
        for (model::SectionPropertyRow* row : {&top, &bottom}) {
            row->Inertia = inertia;
            row->Area = area;
            row->Modulus = s.SteelModulus;
        }
    }
}

}  // namespace

void ReadSections(run::RunContext& ctx) {
    model::ProblemData& problem = ctx.problem;
    std::int32_t count = 0;
    DataLine(ctx, "the number of sections").Int(count);
    CheckCapacity(ctx, count, model::kMaxSections, "the SECTIONS block", "pile sections");
    const std::size_t sections = static_cast<std::size_t>(std::max(count, 0));
    problem.PileTotalLength = 0.0;
    problem.Sections.assign(sections, model::PileSection{});
    problem.SectionPropertyTable.assign(2 * sections, model::SectionPropertyRow{});
    for (std::size_t k = 0; k < sections; ++k) {
        ReadOneSection(ctx, static_cast<int>(k + 1), problem.Sections[k], problem.SectionPropertyTable[2 * k],
                       problem.SectionPropertyTable[2 * k + 1]);
    }
}

}  // namespace trevasc::input
