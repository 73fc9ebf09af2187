// The soil blocks of the echo: layering with each model's parameters, the
// effective unit weight profile with its range check, the summary table of
// soil properties, user-input p-y curves, p-y modifiers and soil movements.
// Depths are still in feet or metres, unit weights in pcf or kN/m3.
#include <algorithm>
#include <array>
#include <string_view>

#include "echo/echo.hpp"
#include "model/units.hpp"
#include "report/fortran_format.hpp"
#include "report/report_helpers.hpp"

namespace trevasc::echo {

using enum model::SoilModelCode;
namespace fmt = report::fmt;
using report::OutputChannel;

namespace {

// Liquefied-sand curves are recommended to about 6 m (236.22 in, held in
// single precision) below the ground surface.
constexpr double kLiquefiedDepthLimitInches = 236.22000122070312;
constexpr double kLiquefiedDepthLimitMetres = 6.0;
// Plausible effective unit weights: 20 to 140 pcf, 3.15 to 22 kN/m3.
constexpr double kMinUnitWeightPcf = 20.0;
constexpr double kMaxUnitWeightPcf = 140.0;
constexpr double kMinUnitWeightSI = 3.1500000953674316;
constexpr double kMaxUnitWeightSI = 22.0;
constexpr double kDefaultSubgradeLimit = 1.0e-10;

struct ModelEcho {
    int code;
    std::string_view text;
    bool blank_after_depths;
};

constexpr std::array<ModelEcho, 15> kModelTexts = {{
    {kSoftClay, " is soft clay, p-y criteria by Matlock, 1970", true},
    {kSoftClayJ, " is soft clay with user-defined J, p-y criteria by Matlock, 1970", true},
    {kStiffClayWithWater, " is stiff clay with water-induced erosion", false},
    {kStiffClayWithoutWater, " is stiff clay without free water", true},
    {kStiffClayWithK, " is stiff clay without free water using initial selected k, 2004", false},
    {kSand, " is sand, p-y criteria by Reese et al., 1974", false},
    {kApiSand, " is sand, p-y criteria by API RP-2A, 1987", false},
    {kLiquefiedSand, " is liquefiable sand, by Rollins et al., 2004", true},
    {kWeakRock, " is weak rock, p-y criteria by Reese, 1997", false},
    {kVuggyLimestone, " is strong rock (vuggy limestone)", true},
    {kCementedSilt, " is cemented silt with cohesion and friction", false},
    {kLoess, " is loess silt", false},
    {kPiedmont, " is Piedmont residual soil", false},
    {kElasticSubgrade, " is modelled using an elastic subgrade modulus", true},
    {kUserPy, " is modelled using user-specified p-y curves", true},
}};

const ModelEcho* FindModel(int code) {
    for (const ModelEcho& model : kModelTexts) {
        if (model.code == code) return &model;
    }
    return nullptr;
}

void Parameter(OutputChannel& report, std::string_view label, const std::string& value) {
    WriteLabelledValue(report, label, value);
}

void EchoLayering(run::RunContext& ctx, const EchoLabels& labels) {
    OutputChannel& report = ctx.files.report;
    const model::ProblemData& problem = ctx.problem;
    const model::UnitSystem units = problem.Options.Units;
    WriteEchoHeading(report, 2, 23, "Soil and Rock Layering Information");
    report.Line("The soil profile is modelled using " + fmt::I0(problem.i_Number_of_Layers()) + " layers");
    report.Blank();
    const std::string depth_unit = " " + labels.depth_trimmed;
    const std::string subgrade_unit = " " + labels.subgrade;
    const std::string stress_unit = " " + labels.stress;
    bool frozen_warned = false;
    int k = 0;
    for (const model::SoilLayer& layer : problem.Layers) {
        ++k;
        const ModelEcho* model = FindModel(layer.KSOIL);
        if (layer.KSOIL == kFrozenSoil) {
            // No criterion exists for frozen soil: its nodes keep the soil
            // modulus of the node set-up, a fixed number in the run's force
            // and length units, in every iteration. Say so, once per run as
            // a warning.
            report.Line("Layer " + fmt::I0(k) + " is frozen soil: no p-y criterion; constant soil modulus " +
                        fmt::I0(static_cast<long long>(model::kInitialSoilModulus)) + " " + labels.stress);
            if (!frozen_warned) ctx.warnings.RecordWarning(-report::kFrozenSoilWarning);
            frozen_warned = true;
        } else {
            report.Line("Layer " + fmt::I0(k) + (model != nullptr ? std::string(model->text) : std::string()));
        }
        report.Blank();
        Parameter(report, "Distance from top of pile to top of layer", fmt::F(layer.XLayerTop, 12, 3) + depth_unit);
        Parameter(report, "Distance from top of pile to bottom of layer",
                  fmt::F(layer.XLayerBottom, 12, 3) + depth_unit);
        if ((model != nullptr && model->blank_after_depths) || layer.KSOIL == kFrozenSoil) report.Blank();

        // A k (or rock modulus) of zero asks for the criterion's own default.
        auto default_note = [&] {
            if (layer.Top.SubgradeK > kDefaultSubgradeLimit) return;
            report.Line("NOTE:  Internal default values for p-y subgrade modulus will be computed for");
            report.Line("the above soil layer.");
            report.Blank();
        };
        auto k_lines = [&] {
            Parameter(report, "p-y subgrade modulus k for top of soil layer",
                      fmt::F(layer.Top.SubgradeK, 12, 3) + subgrade_unit);
            Parameter(report, "p-y subgrade modulus k for bottom of layer",
                      fmt::F(layer.Bottom.SubgradeK, 12, 3) + subgrade_unit);
            report.Blank();
            default_note();
        };
        auto cone_lines = [&] {
            Parameter(report, "Cone tip resistance at top of layer",
                      fmt::F(layer.Top.ConeTipResistance, 12, 1) + stress_unit);
            Parameter(report, "Cone tip resistance at bottom of layer",
                      fmt::F(layer.Bottom.ConeTipResistance, 12, 1) + stress_unit);
        };
        switch (layer.KSOIL) {
            case kSoftClayJ:
                Parameter(report, "p-y J factor for top of soil layer", fmt::F(layer.Top.J, 12, 3));
                Parameter(report, "p-y J factor for bottom of layer", fmt::F(layer.Bottom.J, 12, 3));
                report.Blank();
                break;
            case kStiffClayWithWater:
            case kStiffClayWithK:
            case kSand:
            case kApiSand:
            case kCementedSilt:
                k_lines();
                break;
            case kWeakRock:
                // The rock mass modulus shares the position of k in the input.
                Parameter(report, "Initial modulus of rock at top of layer",
                          fmt::E(layer.Top.SubgradeK, 12, 4) + stress_unit);
                Parameter(report, "Initial modulus of rock at bottom of layer",
                          fmt::E(layer.Bottom.SubgradeK, 12, 4) + stress_unit);
                report.Blank();
                default_note();
                break;
            case kLoess:
                cone_lines();
                break;
            case kElasticSubgrade:
                Parameter(report, "Elastic subgrade at top of layer",
                          fmt::F(layer.Top.ElasticSubgradeModulus, 12, 3) + subgrade_unit);
                Parameter(report, "Elastic subgrade at bottom of layer",
                          fmt::F(layer.Bottom.ElasticSubgradeModulus, 12, 3) + subgrade_unit);
                break;
            case kPiedmont:
                switch (static_cast<int>(layer.Top.PiedmontTestType)) {
                    case 1:
                        report.Line("The type of field test is the Standard Penetration Test (SPT)");
                        Parameter(report, "N60 at top of layer",
                                  fmt::F(layer.Top.N60, 12, 1) + " blows/" + labels.depth_trimmed);
                        Parameter(report, "N60 at bottom of layer",
                                  fmt::F(layer.Bottom.N60, 12, 1) + " blows/" + labels.depth_trimmed);
                        break;
                    case 2:
                        report.Line("The type of field test is the Cone Penetration Test (CPT)");
                        cone_lines();
                        break;
                    case 3:
                        report.Line("The type of field test is the Dilatometer Test (DMT)");
                        Parameter(report, "Dilatometer modulus at top of layer",
                                  fmt::F(layer.Top.DilatometerModulus, 12, 1) + stress_unit);
                        Parameter(report, "Dilatometer modulus at bottom of layer",
                                  fmt::F(layer.Bottom.DilatometerModulus, 12, 1) + stress_unit);
                        break;
                    case 4:
                        report.Line("The type of field test is the Pressuremeter Test (PMT)");
                        Parameter(report, "Pressuremeter modulus at top of layer",
                                  fmt::F(layer.Top.PressuremeterModulus, 12, 1) + stress_unit);
                        Parameter(report, "Pressuremeter modulus at bottom of layer",
                                  fmt::F(layer.Bottom.PressuremeterModulus, 12, 1) + stress_unit);
                        break;
                    default: break;
                }
                break;
            case kLiquefiedSand: {
                const double below_ground = layer.XLayerBottom - problem.GroundSurfaceDepth;
                const bool too_deep =
                    (units == model::UnitSystem::USCS && below_ground * kInchesPerFoot > kLiquefiedDepthLimitInches) ||
                    (units == model::UnitSystem::SI && below_ground > kLiquefiedDepthLimitMetres);
                if (too_deep) {
                    report.Line("Warning : The depth of this layer is deeper than the recommended depth limit ");
                    report.Line("for using the p-y criteria for liquefied sand.");
                    report.Line("Please consult the Trevasc Technical Manual for additional background ");
                    report.Line("information regarding limitations on the use of the liquefied sand criteria.");
                    report.Blank();
                    ctx.warnings.RecordWarning(-354);
                }
                break;
            }
            default: break;
        }
    }
    const double below_tip = problem.Layers.empty() ? 0.0 : problem.Layers.back().XLayerBottom - problem.PileTotalLength;
    report.Blank();
    report.Line("(Depth of lowest layer extends " + fmt::F(below_tip, 7, 2) + " " + labels.depth_trimmed +
                " below pile tip)");
    report.Blank();
}

void EchoUnitWeights(run::RunContext& ctx, const EchoLabels& labels) {
    const model::ProblemData& problem = ctx.problem;
    if (problem.Layers.empty()) return;
    OutputChannel& report = ctx.files.report;
    WriteEchoHeading(report, 1, 20, "Effective Unit Weight of Soil vs. Depth");
    const int points = 2 * problem.i_Number_of_Layers();
    report.Line("Effective unit weight of soil with depth defined using " + fmt::I0(points) + " points");
    report.Blank();
    report.Line("Point        Depth X    Eff. Unit Weight");
    WriteUnitLine(report, {{15, labels.depth_trimmed}, {30, labels.unit_weight}});
    report.Line("-----      ----------   ----------------");
    int point = 0;
    double lowest = problem.Layers.front().Top.EffUnitWeight;
    double highest = lowest;
    for (const model::SoilLayer& layer : problem.Layers) {
        for (const model::SoilPointParams* p : {&layer.Top, &layer.Bottom}) {
            ++point;
            report.Line(fmt::I(point, 3) + fmt::F(p->Depth, 17, 2) + fmt::F(p->EffUnitWeight, 15, 5));
            lowest = std::min(lowest, p->EffUnitWeight);
            highest = std::max(highest, p->EffUnitWeight);
        }
    }

    OutputChannel& messages = ctx.files.messages;
    auto both = [&](std::initializer_list<std::string_view> lines) {
        for (std::string_view line : lines) messages.Line(line);
        for (std::string_view line : lines) report.Line(line);
    };
    switch (problem.Options.Units) {
        case model::UnitSystem::USCS:
            if (lowest <= kMinUnitWeightPcf || highest >= kMaxUnitWeightPcf) {
                both({"", "**** Warning - Possible Input Data Error ****", "",
                      "Values entered for effective unit weights of soil were outside",
                      "the limits of 0.011574 pci (20 pcf) or 0.0810019 pci (140 pcf)",
                      "This data may be erroneous.  Please check your data.", ""});
            }
            break;
        case model::UnitSystem::SI:
            if (lowest <= kMinUnitWeightSI || highest >= kMaxUnitWeightSI) {
                const std::initializer_list<std::string_view> head = {
                    "", "**** Warning - Possible Input Data Error ****", "",
                    "Values entered for effective unit weights of soil were outside",
                    "the limits of 3.15 kN/m3 or 22 kN/m3."};
                for (std::string_view line : head) messages.Line(line);
                messages.Line("The input data may be erroneous. Please check your data.");
                messages.Blank();
                for (std::string_view line : head) report.Line(line);
                report.Line("The input data for effective unit weight may be erroneous. Please check your data.");
                report.Blank();
            }
            break;
        case model::UnitSystem::GENERAL:
            both({"", "**** Warning ****", "", "Values of effective unit weight cannot be checked because ",
                  "general units have been selected.", ""});
            break;
    }
}

bool HasCohesion(int code) {
    return code == kSoftClay || code == kStiffClayWithWater || code == kStiffClayWithoutWater ||
           code == kStiffClayWithK || code == kCementedSilt || code == kSoftClayJ;
}
bool HasFriction(int code, bool top) {
    return code == kSand || code == kApiSand || code == kCementedSilt || (top && code == kLiquefiedSand);
}
bool HasQu(int code) {
    return code == kVuggyLimestone || code == kWeakRock || code == kPiedmont || code == kMassiveRock;
}
bool HasEpsilon(int code) {
    return code == kSoftClay || code == kStiffClayWithWater || code == kStiffClayWithoutWater ||
           code == kStiffClayWithK || code == kCementedSilt;
}
bool HasK(int code) {
    return code == kSand || code == kApiSand || code == kStiffClayWithWater || code == kStiffClayWithK ||
           code == kCementedSilt;
}

void SummaryRow(OutputChannel& report, const model::SoilLayer& layer, const model::SoilPointParams& p, bool top) {
    const int code = layer.KSOIL;
    auto number = [&](bool applies, double value) {
        report::WriteSpaces(report, 3);
        if (applies) {
            report::WriteAdaptiveNumber(report, value, 10);
        } else {
            report::WriteTextField(report, "--");
        }
    };
    auto number_or_default = [&](bool applies, double value) {
        report::WriteSpaces(report, 3);
        if (!applies) {
            report::WriteTextField(report, "--");
        } else if (value == 0.0) {
            report::WriteTextField(report, "default");
        } else {
            report::WriteAdaptiveNumber(report, value, 10);
        }
    };
    report::WriteAdaptiveNumber(report, top ? layer.XLayerTop : layer.XLayerBottom, 10);
    report::WriteSpaces(report, 3);
    report::WriteAdaptiveNumber(report, p.EffUnitWeight, 10);
    number(HasCohesion(code), p.Cohesion);
    number(HasFriction(code, top), p.FrictionAngle);
    number(HasQu(code), p.Cohesion);
    number(code == kWeakRock || code == kMassiveRock, p.RQD);
    number(HasEpsilon(code), p.Epsilon50);
    number(code == kSoftClayJ, p.J);
    number_or_default(HasK(code), p.SubgradeK);
    number_or_default(code == kWeakRock, p.SubgradeK);
    number(code == kWeakRock, p.Epsilon50);
    // Field test: a 13-character text stands where the type column and its
    // separator would be, so the value column keeps its place.
    report::WriteSpaces(report, 3);
    std::string_view test;
    double value = 0.0;
    if (code == kPiedmont) {
        switch (static_cast<int>(p.PiedmontTestType)) {
            case 1: test = "    SPT      "; value = p.N60; break;
            case 2: test = "    CPT      "; value = p.ConeTipResistance; break;
            case 3: test = "    DMT      "; value = p.DilatometerModulus; break;
            case 4: test = "    PMT      "; value = p.PressuremeterModulus; break;
            default: break;
        }
    } else if (code == kLoess) {
        test = "    CPT      ";
        value = p.ConeTipResistance;
    }
    if (test.empty()) {
        report::WriteTextField(report, "--");
        report::WriteSpaces(report, 3);
        report::WriteTextField(report, "--");
    } else {
        report.Write(test);
        report::WriteAdaptiveNumber(report, value, 10);
    }
    report::WriteSpaces(report, 3);
    if (code == kElasticSubgrade) {
        report::WriteAdaptiveNumber(report, p.ElasticSubgradeModulus, 12);
    } else {
        report::WriteTextField(report, "--");
    }
    report.EndLine();
}

void EchoSoilSummary(run::RunContext& ctx) {
    const model::ProblemData& problem = ctx.problem;
    OutputChannel& report = ctx.files.report;
    const model::UnitSystem units = problem.Options.Units;
    if (units != model::UnitSystem::GENERAL) {
        report.Blank(2);
        report.Line(report::kRule80);
        report.Line(std::string(27, ' ') + "Summary of Soil Properties");
        report.Line(report::kRule80);
        report.Blank();
        if (units == model::UnitSystem::USCS) {
            report.Line("Layer               Soil Type                   Depth     Eff. Unit     Cohesion     Friction  "
                        "      qu           RQD      Epsilon 50        J          kpy       Rock Emass      krm       "
                        "Test Type    Test Prop.   Elas. Subgr.");
            report.Line(" Num.         (p-y Curve Criteria)               ft       Wt., pcf         psf      Ang., deg.  "
                        "     psi        percent                                 pci          psi                     "
                        "                             pci     ");
        } else {
            report.Line("Layer               Soil Type                   Depth     Eff. Unit     Cohesion     Friction  "
                        "      qu           RQD      Epsilon 50        J           kpy      Rock Emass      krm       "
                        "Test Type    Test Prop.   Elas. Subgr.");
            report.Line(" Num.         (p-y Curve Criteria)                m       Wt., kN/m3       kPa      Ang., deg.  "
                        "     kPa        percent                                 kN/m3         kPa                    "
                        "                                     ");
        }
        report.Line("-----   ----------------------------------   ----------   ----------   ----------   ----------   "
                    "----------   ----------   ----------   ----------   ----------   ----------   ----------   "
                    "----------   ----------   ------------");
    }
    int k = 0;
    for (const model::SoilLayer& layer : problem.Layers) {
        ++k;
        report::WriteIntegerField(report, k, 3);
        report::WriteSpaces(report, 5);
        report::SoilTypeDescription(report, layer.KSOIL);
        report::WriteSpaces(report, 3);
        // The qu column is headed psi in US customary units; massive-rock
        // strengths are held in psf until the unit conversion.
        model::SoilPointParams top = layer.Top;
        model::SoilPointParams bottom = layer.Bottom;
        if (layer.KSOIL == kMassiveRock && units == model::UnitSystem::USCS) {
            top.Cohesion /= kSquareInchesPerSquareFoot;
            bottom.Cohesion /= kSquareInchesPerSquareFoot;
        }
        SummaryRow(report, layer, top, true);
        report::WriteSpaces(report, 45);
        SummaryRow(report, layer, bottom, false);
    }
}

void EchoUserCurves(run::RunContext& ctx, const EchoLabels& labels) {
    const model::ProblemData& problem = ctx.problem;
    int curves = 0;
    for (const model::SoilLayer& layer : problem.Layers) {
        if (layer.KSOIL == kUserPy) curves += 2;
    }
    if (curves == 0) return;
    OutputChannel& report = ctx.files.report;
    WriteEchoHeading(report, 3, 30, "User-input p-y Curves");
    report.Blank();
    report.Line("Number of user-input p-y curves = " + fmt::I0(curves));
    report.Blank();
    auto table = [&](const model::UserPyCurve& curve) {
        report.Line("Point                y                     p     ");
        WriteUnitLine(report, {{22, labels.length}, {42, labels.force + "/" + labels.length}});
        report.Line("-----          ------------          ------------");
        int point = 0;
        for (const auto& [y, p] : curve.Points) {
            ++point;
            report::WriteIntegerField(report, point, 3);
            report::WriteSpaces(report, 12);
            report::WriteAdaptiveNumber(report, y, 12);
            report::WriteSpaces(report, 10);
            report::WriteAdaptiveNumber(report, p, 12);
            report.EndLine();
        }
    };
    int k = 0;
    for (const model::SoilLayer& layer : problem.Layers) {
        ++k;
        if (layer.KSOIL != kUserPy) continue;
        report.Blank(2);
        report.Line("User-input p-y curve at top of layer " + fmt::I0(k) + ",    Depth = " +
                    fmt::F(layer.UserCurveTop.Depth, 10, 3) + " " + labels.depth);
        report.Blank();
        table(layer.UserCurveTop);
        report.Blank();
        report.Line("User-input p-y curve at bottom of layer " + fmt::I0(k) + ", Depth = " +
                    fmt::F(layer.UserCurveBottom.Depth, 10, 3) + " " + labels.depth);
        report.Blank();
        table(layer.UserCurveBottom);
    }
}

void EchoPyModifiers(run::RunContext& ctx, const EchoLabels& labels) {
    const model::ProblemData& problem = ctx.problem;
    if (problem.PyModifierProfile.empty()) return;
    OutputChannel& report = ctx.files.report;
    WriteEchoHeading(report, 3, 19, "p-y Modification Factors for Group Action");
    report.Line("Distribution of p-y modifiers with depth defined using " +
                fmt::I0(static_cast<long long>(problem.PyModifierProfile.size())) + " points");
    report.Blank();
    report.Line("Point      Depth X         p-mult         y-mult");
    report.Line(" No.          " + labels.depth_trimmed);
    report.Line("-----     ----------     ----------     ----------");
    int point = 0;
    for (const model::PyModifierPoint& p : problem.PyModifierProfile) {
        ++point;
        report.Line(fmt::I(point, 3) + fmt::F(p.Depth, 17, 3) + fmt::F(p.PMultiplier, 15, 4) +
                    fmt::F(p.YMultiplier, 15, 4));
    }
}

void EchoSoilMovements(run::RunContext& ctx, const EchoLabels& labels, const model::UnitLabels& unit_labels) {
    const model::ProblemData& problem = ctx.problem;
    if (problem.SoilMovementProfile.size() <= 1) return;
    OutputChannel& report = ctx.files.report;
    WriteEchoHeading(report, 3, 29, "Lateral Soil Movements");
    report.Line("Profile of soil movement with depth defined using " +
                fmt::I0(static_cast<long long>(problem.SoilMovementProfile.size())) + " points");
    report.Blank();
    report.Line("Point       Depth X     Soil Movement");
    WriteUnitLine(report, {{16, labels.depth}, {31, fmt::PadRight(unit_labels.Length, 2)}});
    report.Line("-----     ----------     -------------");
    int point = 0;
    for (const auto& [depth, movement] : problem.SoilMovementProfile) {
        ++point;
        report.Line(fmt::I(point, 3) + fmt::X(2) + fmt::F(depth, 15, 5) + fmt::F(movement, 15, 5));
    }
}

}  // namespace

void EchoSoilProfile(run::RunContext& ctx) {
    const EchoLabels labels = MakeEchoLabels(ctx.labels);
    EchoLayering(ctx, labels);
    EchoUnitWeights(ctx, labels);
    EchoSoilSummary(ctx);
    EchoUserCurves(ctx, labels);
    EchoPyModifiers(ctx, labels);
    EchoSoilMovements(ctx, labels, ctx.labels);
}

}  // namespace trevasc::echo
