#include "echo/echo.hpp"

#include <cmath>
#include <numbers>

#include "report/fortran_format.hpp"
#include "report/report_helpers.hpp"
#include "run/error_stop.hpp"

namespace trevasc::echo {

namespace fmt = report::fmt;
using report::OutputChannel;
using run::WriteToBoth;
using run::Stop_With_Error;

namespace {

// Tolerances put in place of a zero or negative input, as single-precision values.
constexpr double kDefaultToleranceInches = 9.999999974752427e-7;  // 1.0E-6
constexpr double kDefaultToleranceMetres = 2.5400000325248584e-8;  // 2.54E-8

std::string Trim(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0 && text[end - 1] == ' ') --end;
    return std::string(text.substr(0, end));
}

// Writes the message lines to the report and then to the run message file.
void ReportThenMessages(run::RunContext& ctx, std::initializer_list<std::string_view> lines) {
    for (std::string_view line : lines) ctx.files.report.Line(line);
    for (std::string_view line : lines) ctx.files.messages.Line(line);
}

// Joined top down, a layer given inside the one above it would have its top
// below its bottom: a negative thickness that no criterion can use.
constexpr std::int32_t kLayerOutOfOrder = 189;

void CheckLayerOrder(run::RunContext& ctx) {
    const model::ProblemData& problem = ctx.problem;
    for (std::size_t k = 0; k < problem.Layers.size(); ++k) {
        const model::SoilLayer& layer = problem.Layers[k];
        if (!(layer.XLayerTop > layer.XLayerBottom)) continue;
        const std::string number = fmt::I0(static_cast<std::int64_t>(k + 1));
        const std::string unit = " " + Trim(ctx.labels.DepthUnit);
        ReportThenMessages(ctx, {"", "", "**** Input Data Error No. 89 ****", "",
                                 "Problem:  Soil layer " + number + " ends at " + fmt::F(layer.XLayerBottom, 10, 3) +
                                     unit + ", above the bottom of the layer over it at " +
                                     fmt::F(layer.XLayerTop, 10, 3) + unit + ".",
                                 "          The layers follow each other from the ground surface down.", "",
                                 "Solution: Correct the top and bottom depths of soil layer " + number + ".", ""});
        Stop_With_Error(ctx, "INP00089", kLayerOutOfOrder);
    }
}

int UserCurveCount(const model::ProblemData& problem) {
    int layers = 0;
    for (const model::SoilLayer& layer : problem.Layers) {
        if (layer.KSOIL == model::kUserPy) ++layers;
    }
    return 2 * layers;
}

void EchoTitle(run::RunContext& ctx) {
    OutputChannel& report = ctx.files.report;
    WriteEchoHeading(report, 1, 32, "Problem Title");
    for (const std::string& line : ctx.problem.TitleLines) report.Line(fmt::PadRight(line, 256));
    report.Blank();
}

// Returns false when the echo ends here (nonlinear EI only).
bool EchoProgramOptions(run::RunContext& ctx, const EchoLabels& labels, int user_curves) {
    OutputChannel& report = ctx.files.report;
    model::ProblemData& problem = ctx.problem;
    model::AnalysisOptions& options = problem.Options;
    WriteEchoHeading(report, 1, 31, "Program Options");
    switch (options.Units) {
        case model::UnitSystem::USCS:
            report.Line("Engineering units are US Customary Units: pounds, inches, feet");
            break;
        case model::UnitSystem::SI:
            report.Line("Engineering units are SI Units: kilonewtons, meters, millimeters");
            break;
        case model::UnitSystem::GENERAL: report.Line("Engineering units are Generic Units: force, length"); break;
    }
    report.Blank();
    report.Line("Basic Program Options:");
    report.Blank();
    switch (options.AnalysisMode) {
        case 1: report.Line("This analysis computes pile response using user-specified constant EI"); break;
        case 2:
            report.Line("This analysis computes nominal moment capacity and nonlinear bending stiffness only");
            report.Blank();
            return false;
        case 3:
            report.Line("This analysis computes nonlinear bending stiffness and nominal moment ");
            report.Line("capacity with pile response computed using nonlinear EI");
            break;
        case 4:
            report.Line("Analysis Type 4: ");
            report.Line("- Computation of Nonlinear Bending Stiffness and Nominal Moment Capacity, ");
            report.Line("  Computation of Pile Response Using User-specified Constant EI");
            break;
        case 5: report.Line("This analysis computes pile response using user-specified nonlinear bending stiffness"); break;
        default: break;
    }
    report.Blank();

    report.Line("Computation Options:");
    report.Line(user_curves > 0 ? "- User-specified p-y curves used in analysis"
                                : "- Only internally-generated p-y curves used in analysis");
    report.Line(!problem.PyModifierProfile.empty()
                    ? "- Analysis uses p-y multiplers for group action"
                    : "- Analysis does not use p-y multipliers (individual pile or shaft action only)");
    report.Line(!problem.TipShearCurve.empty() ? "- Analysis uses tip shear resistance for short pile or shaft"
                                               : "- Analysis assumes no shear resistance at pile tip");
    if (problem.KYL != 0) {
        report.Line("- Analysis includes automatic computation of pile-top deflection vs.");
        report.Line("  pile embedment length");
    } else {
        report.Line("- Analysis for fixed-length pile or shaft only");
    }
    report.Line(options.ComputeKmatrix ? "- Analysis includes computation of foundation stiffness matrix elements"
                                       : "- No computation of foundation stiffness matrix elements");
    if (options.PrintSummaryOnly) {
        report.Line("- Output summary table of values for pile-head deflection, maximum");
        report.Line("  bending moment, and shear force only");
    } else {
        report.Line("- Output pile response for full length of pile");
    }
    report.Line(options.UseSoilMovement ? "- Analysis includes effects of soil movement on pile response"
                                        : "- Analysis assumes no soil movements acting on pile");
    report.Line(options.PrintPyCurves ? "- p-y curves computed and output for user-specified depths"
                                      : "- No p-y curves to be computed and output for user-specified depths");
    report.Blank();

    report.Line("Solution Control Parameters:");
    WriteLabelledValue(report, "- Number of pile increments", fmt::I(options.NumberOfIncrements, 12));
    WriteLabelledValue(report, "- Maximum number of iterations allowed", fmt::I(options.IterationLimit, 12));
    WriteLabelledValue(report, "- Deflection tolerance for convergence",
                       fmt::E(options.ConvergenceTolerance, 12, 4) + " " + labels.length);
    WriteLabelledValue(report, "- Maximum allowable deflection",
                       fmt::F(options.MaxAllowableDeflection, 12, 4) + " " + labels.length);
    report.Blank();

    if (options.ConvergenceTolerance <= 0.0) {
        if (options.Units == model::UnitSystem::USCS) {
            options.ConvergenceTolerance = kDefaultToleranceInches;
            report.Line("(Specified convergence tolerance of 0 reset by program to" +
                        fmt::E(options.ConvergenceTolerance, 11, 4) + " inches)");
        } else {
            options.ConvergenceTolerance = kDefaultToleranceMetres;
            report.Line("(Specified convergence tolerance of 0 reset by program to" +
                        fmt::E(options.ConvergenceTolerance, 11, 4) + " meters)");
        }
        report.Blank();
    }

    report.Line("Pile Response Output Options:");
    if (options.PrintSummaryOnly) {
        report.Line("- Only summary tables of pile-head deflection, maximum bending moment,");
        report.Line("  and maximum shear force are to be written to output report file.");
        report.Blank(2);
    } else {
        report.Line("- Values of pile-head deflection, bending moment, shear force, and ");
        report.Line("  soil reaction are printed for full length of pile.");
    }
    WriteLabelledValue(report, "- Printing Increment (nodal spacing of output points)", fmt::I0(options.PrintIncrement));
    report.Blank(2);
    return true;
}

// One "   label = value unit" line of the section echo.
void SectionLine(OutputChannel& report, std::string_view label, const std::string& value, std::string_view unit) {
    WriteLabelledValue(report, "   " + std::string(label), value + std::string(unit));
}

void EchoElasticSection(OutputChannel& report, const model::PileSection& section, const EchoLabels& labels) {
    const model::ElasticData& e = section.Elastic;
    const bool plastic = section.SectionType == model::kElasticPlastic;
    const int shape = e.ElasticShape;
    static constexpr const char* kShapeNames[] = {"    Rectangular", "       Circular", "  Circular Pipe",
                                                  "  Strong H-Pile", "    Weak H-Pile", "Embedded Circular Pole"};
    WriteLabelledValue(report, "   Section Type", plastic ? "Elastic with Specified Moment Capacity " : "   Elastic Pile");
    WriteLabelledValue(report, "   Cross-sectional Shape",
                       shape >= 1 && shape <= 6 ? kShapeNames[shape - 1] : "");

    const std::string length = " " + labels.length;
    const std::string area_unit = ((plastic && shape == 2) || (!plastic && shape == 1)) ? " Sq. " : " sq. ";
    const std::string area = area_unit + ((!plastic && shape == 1) ? " " : "") + labels.length;
    const std::string inertia =
        " " + labels.length + ((!plastic && (shape == 4 || shape == 3)) ? "**4" : "^4");
    const std::string modulus = " " + labels.force + "/" + labels.length + "^2";
    auto F3 = [](double v) { return fmt::F(v, 15, 3); };
    auto F4 = [](double v) { return fmt::F(v, 15, 4); };
    auto F6 = [](double v) { return fmt::F(v, 15, 6); };

    SectionLine(report, "Section Length", F3(section.SectionLength), " " + labels.depth_trimmed);
    switch (shape) {
        case 1:
            SectionLine(report, "Top Width", F3(e.WidthTop), length);
            SectionLine(report, "Bottom Width", F3(e.WidthBottom), length);
            SectionLine(report, "Top Section Depth", F3(e.DepthTop), length);
            SectionLine(report, "Bottom Section Depth", F3(e.DepthBottom), length);
            SectionLine(report, "Top Area", F6(e.AreaTop), area);
            SectionLine(report, "Bottom Area", F6(e.AreaBottom), area);
            SectionLine(report, "Moment of Inertia at Top", F3(e.InertiaTop), inertia);
            SectionLine(report, "Moment of Inertia at Bottom", F3(e.InertiaBottom), inertia);
            break;
        case 2:
        case 6:
            SectionLine(report, "Top Width", F3(e.WidthTop), length);
            SectionLine(report, "Bottom Width", F3(e.WidthBottom), length);
            SectionLine(report, "Top Area", F6(e.AreaTop), area);
            SectionLine(report, "Bottom Area", F6(e.AreaBottom), area);
            SectionLine(report, "Moment of Inertia at Top", F3(e.InertiaTop), inertia);
            SectionLine(report, "Moment of Inertia at Bottom", F3(e.InertiaBottom), inertia);
            if (shape == 6) SectionLine(report, "Drilled Hole Diameter", F3(e.DrilledHoleDiameter), length);
            break;
        case 3:
            SectionLine(report, "Top Width", F3(e.WidthTop), length);
            SectionLine(report, "Bottom Width", F3(e.WidthBottom), length);
            SectionLine(report, "Wall Thickness at Top", F3(e.DepthTop), length);
            SectionLine(report, "Wall Thickness at Bottom", F3(e.DepthBottom), length);
            SectionLine(report, "Top Area", F6(e.AreaTop), area);
            SectionLine(report, "Bottom Area", F6(e.AreaBottom), area);
            SectionLine(report, "Moment of Inertia at Top", F3(e.InertiaTop), inertia);
            SectionLine(report, "Moment of Inertia at Bottom", F3(e.InertiaBottom), inertia);
            break;
        case 4:
        case 5: {
            const bool wide = !plastic && shape == 4;  // flange and web in four decimals
            SectionLine(report, "Flange Width", wide ? F4(e.WidthTop) : F3(e.WidthTop), length);
            SectionLine(report, "Section Depth", F4(e.DepthTop), length);
            SectionLine(report, "Flange Thickness", wide ? F4(e.FlangeThickness) : F3(e.FlangeThickness), length);
            SectionLine(report, "Web Thickness", wide ? F4(e.WebThickness) : F3(e.WebThickness), length);
            SectionLine(report, wide ? "Section Area" : "Area", F6(e.AreaTop), area);
            SectionLine(report, "Moment of Inertia at Top", F3(e.InertiaTop), inertia);
            break;
        }
        default: break;
    }
    SectionLine(report, "Elastic Modulus", fmt::F(e.ElasticModulus, 15, 0), modulus);
    if (plastic) {
        SectionLine(report, "Top Plastic Moment Capacity", F3(e.PlasticMomentTop), " " + labels.moment);
        SectionLine(report, "Bot Plastic Moment Capacity", F3(e.PlasticMomentBottom), " " + labels.moment);
    }
}

void EchoUserEISection(OutputChannel& report, const model::PileSection& section, const EchoLabels& labels,
                       const model::UnitLabels& unit_labels) {
    WriteLabelledValue(report, "   Section Type", "Pile with User-defined Nonlinear EI");
    SectionLine(report, "Section Length", fmt::F(section.SectionLength, 15, 3), " " + labels.depth_trimmed);
    WriteLabelledValue(report, "   Section Width", fmt::F(section.SectionWidth, 15, 3) + fmt::A(unit_labels.Length, 4));
    WriteLabelledValue(report, "   Number of Axial Thrusts",
                       fmt::I(static_cast<long long>(section.UserEI.ThrustLevels.size()), 15));
    report.Blank();
    for (const model::UserEIThrustLevel& level : section.UserEI.ThrustLevels) {
        WriteLabelledValue(report, "   Axial Thrust", fmt::F(level.AxialThrust, 15, 3) + " " + labels.force);
        report.Blank();
        WriteLabelledValue(report, "   Number of M-EI Points", fmt::I(static_cast<long long>(level.Points.size()), 15));
        report.Blank();
        report.Line("   Point         Bending Moment         Bending Stiffness         Bending Curvature");
        report.Write("    No.            " + labels.force + "-" + labels.length);
        report.Tab(46);
        report.Write(labels.force + "-" + labels.length + "^2");
        report.Tab(71);
        report.Write("Radians/" + labels.length);
        report.EndLine();
        report.Line("   -----      --------------------     --------------------     --------------------");
        int point = 0;
        for (const auto& [moment, ei] : level.Points) {
            ++point;
            report.Line(fmt::I(point, 7) + fmt::X(7) + fmt::F(moment, 20, 3) + fmt::F(ei, 25, 3) +
                        fmt::F(moment / ei, 21, 10));
        }
    }
    report.Blank(2);
}

void EchoSection(run::RunContext& ctx, const model::PileSection& section, const EchoLabels& labels) {
    OutputChannel& report = ctx.files.report;
    const std::string length = " " + labels.length;
    auto line = [&](std::string_view label, double value, const std::string& unit) {
        SectionLine(report, label, fmt::F(value, 15, 3), unit);
    };
    auto section_length = [&] { line("Section Length", section.SectionLength, " " + labels.depth_trimmed); };
    switch (section.SectionType) {
        case model::kRectangularConcrete:
            WriteLabelledValue(report, "   Section Type ", "Rectangular Concrete Pile");
            section_length();
            break;
        case model::kDrilledShaft:
            WriteLabelledValue(report, "   Section Type ", "Drilled Shaft (Bored Pile)");
            section_length();
            line("Section Diameter", section.SectionWidth, length);
            break;
        case model::kDrilledShaftWithCasing:
            report.Line("   Section Type = Drilled Shaft with Permanent Casing  ");
            section_length();
            line("Pile Width", section.SectionWidth, length);
            break;
        case model::kDrilledShaftWithCasingAndCore:
            report.Line(section.b_FillCoreWithConcrete
                            ? "   Section Type = Drilled Shaft with Casing and Concrete-filled Core   "
                            : "   Section Type = Drilled Shaft with Casing and Void Core   ");
            section_length();
            line("Section Diameter", section.SectionWidth, length);
            break;
        case model::kSteelPipe:
            report.Line("   Section Type = Steel Pipe Pile            ");
            section_length();
            line("Pile Diameter", section.SectionWidth, length);
            break;
        case model::kCircularSolidPrestressed:
            report.Line("   Section Type = Circular Solid Prestressed Pile    ");
            section_length();
            line("Pile Width", section.SectionWidth, length);
            break;
        case model::kCircularHollowPrestressed:
            report.Line("   Section Type = Circular Hollow Prestressed Pile    ");
            section_length();
            line("Void Diameter", section.VoidDiameter, length);
            line("Pile Width", section.SectionWidth, length);
            break;
        case model::kSquareSolidPrestressed:
            report.Line("   Section Type = Square Solid Prestressed Pile     ");
            section_length();
            line("Pile Width", section.SectionWidth, length);
            line("Corner Chamfer", section.CornerChamfer, length);
            report.Blank();
            break;
        case model::kSquareHollowPrestressed:
            report.Line("   Section Type = Square Hollow Prestressed Pile     ");
            section_length();
            line("Pile Width", section.SectionWidth, length);
            line("Void Diameter", section.VoidDiameter, length);
            line("Corner Chamfer", section.CornerChamfer, length);
            report.Blank();
            break;
        case model::kOctagonalSolidPrestressed:
            report.Line("   Section Type = Octagonal Solid Prestressed Pile    ");
            section_length();
            line("Pile Width", section.SectionWidth, length);
            break;
        case model::kOctagonalHollowPrestressed:
            report.Line("   Section Type = Octagonal Hollow Prestressed Pile   ");
            section_length();
            line("Pile Width", section.SectionWidth, length);
            line("Void Diameter", section.VoidDiameter, length);
            break;
        case model::kElasticPile:
        case model::kElasticPlastic:
            EchoElasticSection(report, section, labels);
            break;
        case model::kUserDefinedEI:
            EchoUserEISection(report, section, labels, ctx.labels);
            break;
        case model::kMicropile:
            WriteLabelledValue(report, "   Section Type", "Micropile");
            section_length();
            line("Pile Width", section.SectionWidth, length);
            break;
        default: break;
    }
}

void EchoPileStructure(run::RunContext& ctx, const EchoLabels& labels) {
    OutputChannel& report = ctx.files.report;
    const model::ProblemData& problem = ctx.problem;
    report::WriteHeading(report, 20, "Pile Structural Properties and Geometry");
    report.Blank();
    WriteLabelledValue(report, "Total Number of Sections", fmt::I(static_cast<long long>(problem.Sections.size()), 10));
    report.Blank();
    WriteLabelledValue(report, "Total Pile Length", fmt::F(problem.PileTotalLength, 10, 2) + " " + labels.depth);
    report.Blank();
    WriteLabelledValue(report, "Depth of ground surface below top of pile",
                       fmt::F(problem.GroundSurfaceDepth, 10, 2) + " " + labels.depth);
    report.Blank();
    WriteLabelledValue(report, "Slope angle of ground surface",
                       fmt::F(problem.GroundSlopeAngle * kDegreesPerRadian, 10, 2) + " deg.");
    report.Blank();

    const auto& rows = problem.SectionPropertyTable;
    report.Line("Pile dimensions used for p-y curve computations defined using " +
                fmt::I0(static_cast<long long>(rows.size())) + " points.");
    report.Line("p-y curves are computed using values of pile diameter interpolated over ");
    report.Line("the length of the pile.");
    report.Blank();
    report.Line("Point         Depth              Pile   ");
    report.Line("                X              Diameter ");
    report.Tab(17);
    report.Write(labels.depth);
    report.Tab(35);
    report.Write(labels.length);
    report.EndLine();
    report.Line("-----       ---------        -----------");
    int point = 0;
    for (const model::SectionPropertyRow& row : rows) {
        ++point;
        report::WriteIntegerField(report, point, 3);
        report::WriteSpaces(report, 5);
        report::WriteAdaptiveNumber(report, row.Depth, 13);
        report::WriteSpaces(report, 5);
        report::WriteAdaptiveNumber(report, row.Width, 14);
        report.EndLine();
    }

    report.Blank(2);
    report.Line("Input Structural Properties:");
    report.Line("----------------------------");
    int i = 0;
    for (const model::PileSection& section : problem.Sections) {
        ++i;
        report.Blank();
        report.Line("Pile Section No. " + fmt::I0(i) + ":");
        report.Blank();
        EchoSection(ctx, section, labels);
    }
    report.Blank(3);

    for (const model::SectionPropertyRow& row : rows) {
        if (row.Width <= 0.0) {
            ReportThenMessages(ctx, {"", "**** Input Data Error No. 27 ****", "",
                                     "Problem:  Zero values for one of the following values were ",
                                     "entered for one or more values of pile diameter.", "",
                                     "Solution:  NONE of these values may be zero.  Correct the ",
                                     "pile property data in your input data.", ""});
            Stop_With_Error(ctx, "INP00027", 127);
        }
    }
}

void EchoSlopeAndBatter(run::RunContext& ctx) {
    OutputChannel& report = ctx.files.report;
    const model::ProblemData& problem = ctx.problem;
    WriteEchoHeading(report, 2, 22, "Ground Slope and Pile Batter Angles");
    auto angle = [&](std::string_view label, double radians) {
        WriteLabelledValue(report, label, fmt::F(radians * kDegreesPerRadian, 12, 3) + " degrees");
        report.Tab(56);
        report.Write("= " + fmt::F(radians, 12, 3) + " radians");
        report.EndLine();
    };
    angle("Ground Slope Angle", problem.GroundSlopeAngle);
    report.Blank();
    angle("Pile Batter Angle", problem.PileBatterAngle);
    report.Blank(2);
}

void EchoLoadingType(run::RunContext& ctx) {
    OutputChannel& report = ctx.files.report;
    const model::AnalysisOptions& options = ctx.problem.Options;
    report.Blank(3);
    if (!options.CyclicLoading) {
        report::WriteHeading(report, 33, "Loading Type");
        report.Blank();
        report.Line("Static loading criteria were used when computing p-y curves for all analyses.");
        return;
    }
    report::WriteHeading(report, 34, "Loading Type");
    report.Blank();
    report.Line("Cyclic loading criteria were used for computation of p-y curves for all analyses.");
    report.Blank();
    // The count is shown as the whole number the criteria use.
    const double cycles = options.NumberOfCycles;
    const long long whole = std::isfinite(cycles) && std::fabs(cycles) < 1.0e15 ? static_cast<long long>(cycles) : 0;
    report.Line("Number of cycles of loading = " + fmt::I0(whole));
    if (cycles < 2.0 || cycles > 5000.0) {
        const std::string count = "Number of cycles of loading = " + fmt::I0(whole);
        WriteToBoth(ctx, {"", "", "**** Input Data Error No. 28 ****", "",
                          "Problem:  Cyclic loading type was specified and the number of cycles of loading",
                          "are outside the valid range of 2 to 5,000.", "",
                          "Solution:  Either correct the number of cycles of loading to be within 2 to 5,000",
                          "or specify static loading.", count});
        Stop_With_Error(ctx, "INP00028", 128);
    }
}

void EchoDistributedLoad(run::RunContext& ctx, const EchoLabels& labels) {
    const model::ProblemData& problem = ctx.problem;
    if (problem.DistributedLoad.empty()) return;
    OutputChannel& report = ctx.files.report;
    WriteEchoHeading(report, 3, 27, "Distributed Lateral Loading");
    report.Line("Distributed lateral load intensity defined using " +
                fmt::I0(static_cast<long long>(problem.DistributedLoad.size())) + " points");
    report.Blank();
    report.Line("Point           Depth X            Dist. Load");
    WriteUnitLine(report, {{20, labels.length}, {38, labels.force + "/" + labels.length}});
    report.Line("-----          ----------          ----------");
    int point = 0;
    for (const auto& [depth, intensity] : problem.DistributedLoad) {
        ++point;
        report.Line(fmt::I(point, 3) + fmt::F(depth, 20, 3) + fmt::F(intensity, 20, 3));
    }
}

void EchoTipShear(run::RunContext& ctx, const EchoLabels& labels) {
    const model::ProblemData& problem = ctx.problem;
    if (problem.TipShearCurve.empty()) return;
    OutputChannel& report = ctx.files.report;
    WriteEchoHeading(report, 3, 22, "Shear Resistance Curve at Pile Tip ");
    report.Line("Point     Displacement     Tip Shear Force");
    WriteUnitLine(report, {{16, fmt::PadRight(labels.length, 2)}, {36, labels.force}});
    report.Line("-----     ------------     ---------------");
    int point = 0;
    for (const auto& [displacement, force] : problem.TipShearCurve) {
        ++point;
        report.Line(fmt::I(point, 4) + fmt::X(5) + fmt::F(displacement, 10, 3) + fmt::X(10) + fmt::F(force, 10, 3));
    }
    const auto& curve = problem.TipShearCurve;
    for (std::size_t i = 0; i < curve.size(); ++i) {
        const bool bad = i == 0 ? curve[0][0] != 0.0 : curve[i - 1][0] >= curve[i][0];
        if (!bad) continue;
        WriteToBoth(ctx, {"**** Input Data Error No. 50 ****", "",
                          "Problem:   The input data for shear resistance at the pile tip appears to be in error at "
                          "point " + fmt::I0(static_cast<long long>(i + 1)) + ".",
                          "",
                          "Solution:  Check that the first point is (0,0) and that the x-values sucessively increase "
                          "in deflection and magnitude."});
        Stop_With_Error(ctx, "INP00050", 150);
    }
}

void EchoPyOutputDepths(run::RunContext& ctx, const EchoLabels& labels) {
    model::ProblemData& problem = ctx.problem;
    if (!problem.Options.PrintPyCurves) return;
    OutputChannel& report = ctx.files.report;
    WriteEchoHeading(report, 3, 19, "Specified Depths for Output of p-y Curves");
    report.Blank();
    const std::vector<double> requested = problem.PyOutputDepths;
    problem.Options.PrintPyCurves = false;
    problem.PyOutputDepths.clear();
    int point = 0;
    for (const double d : requested) {
        ++point;
        if (problem.GroundSurfaceDepth <= d && 0.0 <= d && d <= problem.PileTotalLength) {
            problem.PyOutputDepths.push_back(d);
            problem.Options.PrintPyCurves = true;
        } else if (d > problem.PileTotalLength) {
            WriteToBoth(ctx, {"**** Input Data Error No. 30 ****", "",
                              "Problem:  Printing of a p-y curve was specified below the pile tip.", "",
                              "Solution:  Specify printing depths only for depths above the pile tip.", "",
                              "Input Point " + fmt::I0(point) + " at " + fmt::F(d, 7, 2) + fmt::PadRight(labels.depth, 3) +
                                  " was not printed because it is below the pile tip."});
            Stop_With_Error(ctx, "INP00030", 130);
        } else {
            WriteToBoth(ctx, {"**** Input Data Error No. 29 ****", "",
                              "Problem:  A depth above the ground surface was specified for the printing",
                              "of a p-y curve.", "",
                              "Solution:  Specify a depth between the ground surface and pile tip.", ""});
            Stop_With_Error(ctx, "INP00029", 129);
        }
    }
    report.Line("Lateral load-transfer (p-y) curves are computed and output at " +
                fmt::I0(static_cast<long long>(problem.PyOutputDepths.size())) + " depths.");
    report.Line("(Note the depths of these curves may differ from nodal point depths.)");
    report.Blank();
    report.Line("Depth      Depth Below Pile Head      Depth Below Ground Surface");
    WriteUnitLine(report, {{22, labels.depth}, {49, labels.depth}});
    report.Line("-----      ---------------------      --------------------------");
    int number = 0;
    for (const double d : problem.PyOutputDepths) {
        ++number;
        report.Line(fmt::I(number, 3) + fmt::F(d, 22, 3) + fmt::F(d - problem.GroundSurfaceDepth, 27, 3));
    }
    report.Blank();
    report.Line("Depth of ground surface below top of pile = " + fmt::F(problem.GroundSurfaceDepth, 10, 2) + " " +
                labels.depth);
    report.Blank();
}

void FinalChecks(run::RunContext& ctx) {
    const model::ProblemData& problem = ctx.problem;
    const auto points = static_cast<long long>(problem.SectionPropertyTable.size());
    if (points < 2 || points > model::kMaxSectionRows) {
        WriteToBoth(ctx, {"", "", "**** Input Data Error No. 17 ****", "",
                          "The number of points to define the pile properties ",
                          "is 2 to 40, not the input value of " + fmt::I(points, 10), ""});
        Stop_With_Error(ctx, "INP00017", 117);
    }
    // Without layers there is no soil below the pile at all.
    const double soil_bottom = problem.Layers.empty() ? 0.0 : problem.Layers.back().XLayerBottom;
    if (problem.Layers.empty() || problem.PileTotalLength > soil_bottom) {
        WriteToBoth(ctx, {"**** Input Data Error No. 18 ****", "",
                          "Problem: The depth at the bottom of the lowermost soil layer is " +
                              fmt::E(soil_bottom, 12, 4),
                          "         This depth is higher than the tip of the pile at " +
                              fmt::E(problem.PileTotalLength, 12, 4) + ".",
                          "Solution: Increase the depth of the soil profile or shorten the pile length."});
        Stop_With_Error(ctx, "INP00018", 118);
    }
    CheckFirstSoilDepth(ctx, problem.Layers.front().Top.Depth, problem.GroundSurfaceDepth);
    if (!problem.PyModifierProfile.empty() && problem.GroundSurfaceDepth > problem.PyModifierProfile.front().Depth) {
        WriteToBoth(ctx, {"**** Input Data Error No. 21 ****", "",
                          "Problem:  The depth for the first data for p-multipliers is ",
                          "          located at " + fmt::E(problem.PyModifierProfile.front().Depth, 12, 4) +
                              " below the top of the pile.'          The ground surface is located at " +
                              fmt::E(problem.GroundSurfaceDepth, 12, 4) + ".",
                          "Solution:  Correct the input data so that the first depth for ",
                          "          the p-multiplier data is the same as the elevation as the ",
                          "          ground surface."});
        Stop_With_Error(ctx, "INP00021", 121);
    }
}

}  // namespace

EchoLabels MakeEchoLabels(const model::UnitLabels& labels) {
    EchoLabels echo;
    echo.depth = labels.DepthUnit;
    echo.depth_trimmed = Trim(labels.DepthUnit);
    echo.length = Trim(labels.Length);
    echo.force = Trim(labels.Force3);
    echo.force_full = labels.Force3;
    echo.moment = labels.Moment;
    echo.unit_weight = Trim(labels.UnitWeight);
    echo.stress = echo.force + labels.Divide + echo.length + labels.Power + labels.Exp2;
    echo.subgrade = echo.force + labels.Divide + echo.length + labels.Power + labels.Exp3;
    return echo;
}

void WriteLabelledValue(OutputChannel& report, std::string_view label, std::string_view value) {
    report.Write(label);
    report.Tab(56);
    report.Write("= ");
    report.Write(value);
    report.EndLine();
}

void WriteUnitLine(OutputChannel& report, std::initializer_list<std::pair<int, std::string>> units) {
    report.Write(" No.");
    for (const auto& [column, text] : units) {
        report.Tab(column);
        report.Write(text);
    }
    report.EndLine();
}

void WriteEchoHeading(OutputChannel& report, int blank_lines, int indent, std::string_view title) {
    report.Blank(blank_lines);
    report::WriteHeading(report, indent, title);
    report.Blank();
}

void CheckFirstSoilDepth(run::RunContext& ctx, double first_depth, double ground_surface) {
    if (first_depth > ground_surface) {
        WriteToBoth(ctx, {"**** Input Data Error No. 19 ****", "",
                          "The depth of the first point of the data for effective unit",
                          "is located at " + fmt::F(first_depth, 12, 4) + " below the top of the pile.",
                          "The ground surface is located at " + fmt::F(ground_surface, 12, 4) + ".",
                          "The first point for the effective unit weight should be located",
                          "at the same elevation as the ground surface."});
        Stop_With_Error(ctx, "INP00019", 119);
    }
    if (first_depth < ground_surface) {
        WriteToBoth(ctx, {"**** Input Data Error No. 20 ****", "",
                          "Problem:  The first depth of the soil profile is located at " + fmt::F(first_depth, 12, 4),
                          "          below the top of the pile.",
                          "          The ground surface is elevation is " + fmt::F(ground_surface, 12, 4) +
                              ".",
                          "Solution: Correct the input data so that the first depth of ",
                          "          the soil profile data is be located at the same elevation as the ground "
                          "surface."});
        Stop_With_Error(ctx, "INP00020", 120);
    }
}

void EchoInputData(run::RunContext& ctx) {
    model::ProblemData& problem = ctx.problem;
    ctx.files.messages.Line("Output of input data begun");
    model::MakeLayersContiguous(problem);
    CheckLayerOrder(ctx);
    const int user_curves = UserCurveCount(problem);
    const EchoLabels labels = MakeEchoLabels(ctx.labels);

    EchoTitle(ctx);
    if (!EchoProgramOptions(ctx, labels, user_curves)) return;
    EchoPileStructure(ctx, labels);
    EchoSlopeAndBatter(ctx);
    EchoSoilProfile(ctx);
    EchoMassiveRockValues(ctx);
    EchoLoadingType(ctx);
    EchoDistributedLoad(ctx, labels);
    if (problem.Options.UseLrfd) {
        EchoLrfdLoads(ctx);
    } else {
        EchoPileHeadLoads(ctx);
    }
    EchoTipShear(ctx, labels);
    EchoPyOutputDepths(ctx, labels);
    FinalChecks(ctx);
    ctx.files.messages.Line("Output of input data completed");
}

}  // namespace trevasc::echo
