// The SOIL LAYERS block: for every layer its p-y model code, the depths of its
// top and bottom below the pile head, and the model's parameters at the top
// and at the bottom of the layer (one input line each). Nothing is converted
// here: depths stay in feet or metres and soil properties in the file's units
// until the unit conversion after the echo.
#include <array>
#include <cstdint>
#include <string>

#include "input/block_checks.hpp"
#include "input/current_format.hpp"
#include "input/reader_support.hpp"
#include "report/fortran_format.hpp"

namespace trevasc::input {

using model::SoilPointParams;
namespace fmt = report::fmt;

namespace {

// The parameters of one model line, in input order. Cohesion also holds the
// rock strength Qu, Epsilon50 the weak-rock Krm and SubgradeK the rock mass
// modulus Eir, as their input positions coincide.
using Field = double SoilPointParams::*;
constexpr int kMaxFields = 6;

struct ModelLine {
    int count;
    std::array<Field, kMaxFields> fields;
    int integer_field;  // position (0-based) of an integer value, or -1
};

// Indexed by code - 1 for codes 1 to 17. The user p-y model (14) has a line of
// its own and the rock mass and frozen soil models (16, 17) read no line.
constexpr std::array<ModelLine, 17> kModelLines{{
    /* 1 SoftClay */ {3, {&SoilPointParams::EffUnitWeight, &SoilPointParams::Cohesion, &SoilPointParams::Epsilon50}, -1},
    /* 2 StfClyBW */ {4, {&SoilPointParams::EffUnitWeight, &SoilPointParams::Cohesion, &SoilPointParams::Epsilon50,
                          &SoilPointParams::SubgradeK}, -1},
    /* 3 StfClyAW */ {3, {&SoilPointParams::EffUnitWeight, &SoilPointParams::Cohesion, &SoilPointParams::Epsilon50}, -1},
    /* 4 StfClyAK */ {4, {&SoilPointParams::EffUnitWeight, &SoilPointParams::Cohesion, &SoilPointParams::Epsilon50,
                          &SoilPointParams::SubgradeK}, -1},
    /* 5 Sand     */ {3, {&SoilPointParams::EffUnitWeight, &SoilPointParams::FrictionAngle, &SoilPointParams::SubgradeK}, -1},
    /* 6 API Sand */ {3, {&SoilPointParams::EffUnitWeight, &SoilPointParams::FrictionAngle, &SoilPointParams::SubgradeK}, -1},
    /* 7 Liq Sand */ {1, {&SoilPointParams::EffUnitWeight}, -1},
    /* 8 WeakRock */ {5, {&SoilPointParams::EffUnitWeight, &SoilPointParams::Cohesion, &SoilPointParams::SubgradeK,
                          &SoilPointParams::RQD, &SoilPointParams::Epsilon50}, -1},
    /* 9 Vuggy LS */ {2, {&SoilPointParams::EffUnitWeight, &SoilPointParams::Cohesion}, -1},
    /* 10 Piedmont */ {6, {&SoilPointParams::EffUnitWeight, &SoilPointParams::PiedmontTestType, &SoilPointParams::N60,
                           &SoilPointParams::ConeTipResistance, &SoilPointParams::DilatometerModulus,
                           &SoilPointParams::PressuremeterModulus}, 1},
    /* 11 Cem Silt */ {5, {&SoilPointParams::EffUnitWeight, &SoilPointParams::Cohesion, &SoilPointParams::FrictionAngle,
                           &SoilPointParams::SubgradeK, &SoilPointParams::Epsilon50}, -1},
    /* 12 KS Loess */ {2, {&SoilPointParams::EffUnitWeight, &SoilPointParams::ConeTipResistance}, -1},
    /* 13 Elast SG */ {2, {&SoilPointParams::EffUnitWeight, &SoilPointParams::ElasticSubgradeModulus}, -1},
    /* 14 User p-y */ {0, {}, -1},
    /* 15 SoftClyJ */ {4, {&SoilPointParams::EffUnitWeight, &SoilPointParams::Cohesion, &SoilPointParams::Epsilon50,
                           &SoilPointParams::J}, -1},
    /* 16 MassRock */ {0, {}, -1},
    /* 17 Frz Soil */ {0, {}, -1},
}};

constexpr double kRightAngleDegrees = 90.0;

// A negative effective unit weight (a sign typed by mistake) gives negative
// overburden and springs that pull the pile on: no soil has one.
void CheckUnitWeight(run::RunContext& ctx, double unit_weight, int line_number, const std::string& what) {
    if (!(unit_weight < 0.0)) return;
    StopOnInputError(ctx, kImpossibleValueError,
                     "Problem:  Line " + fmt::I0(line_number) + " of the input file gives " + what +
                         " a negative effective unit weight of " + ValueText(unit_weight) + ".",
                     "Solution: Enter the effective unit weight as a positive value (buoyant below the water table).");
}

// A sand friction angle of 90 degrees or more has no p-y curve (the wedge
// and earth-pressure terms take tan 90 degrees and beyond). The range warning
// of the criteria (20 to 48 degrees) still covers the unusual angles below.
void CheckSandFriction(run::RunContext& ctx, int code, double friction_angle, const std::string& what) {
    if (code != model::kSand && code != model::kApiSand) return;
    if (friction_angle < kRightAngleDegrees) return;
    StopOnInputError(ctx, kImpossibleValueError,
                     "Problem:  Line " + fmt::I0(ctx.files.input.LineNumber()) + " of the input file gives " + what +
                         " a friction angle of " + ValueText(friction_angle) + " degrees; it must be below 90.",
                     "Solution: Correct the friction angle of the sand.");
}

void ReadModelLine(run::RunContext& ctx, const ModelLine& line, SoilPointParams& point, const std::string& what) {
    {
        DataLine read(ctx, what);
        for (int k = 0; k < line.count; ++k) {
            if (k == line.integer_field) {
                std::int32_t value = 0;
                read.Int(value);
                point.*line.fields[k] = static_cast<double>(value);
            } else {
                read.Real(point.*line.fields[k]);
            }
        }
    }
    CheckUnitWeight(ctx, point.EffUnitWeight, ctx.files.input.LineNumber(), what);
}

void ReadUserCurve(run::RunContext& ctx, int layer, std::string_view where, SoilPointParams& point,
                   model::UserPyCurve& curve) {
    const std::string what = "the " + std::string(where) + " p-y curve of soil layer " + fmt::I0(layer);
    std::int32_t points = 0;
    DataLine(ctx, what).Real(point.EffUnitWeight).Int(points);
    CheckUnitWeight(ctx, point.EffUnitWeight, ctx.files.input.LineNumber(), what);
    CheckCapacity(ctx, points, model::kMaxUserPyPoints, "the " + std::string(where) + " curve of soil layer " +
                  fmt::I0(layer) + " of the SOIL LAYERS block", "p-y curve points");
    curve.Points.clear();
    for (std::int32_t j = 1; j <= points; ++j) {
        std::array<double, 2> yp{};
        DataLine(ctx, what).Real(yp[0]).Real(yp[1]);
        curve.Points.push_back(yp);
    }
}

}  // namespace

void ReadSoilLayers(run::RunContext& ctx) {
    ctx.files.messages.Line("Reading soil layering data");
    model::ProblemData& problem = ctx.problem;
    std::int32_t count = 0;
    DataLine(ctx, "the number of soil layers").Int(count);
    CheckCapacity(ctx, count, model::kMaxSoilLayers, "the SOIL LAYERS block", "soil layers");
    problem.Layers.clear();
    problem.MassiveRockLayers.clear();
    for (std::int32_t i = 1; i <= count; ++i) {
        model::SoilLayer layer;
        const std::string what = "soil layer " + fmt::I0(i);
        DataLine(ctx, "the model code and depths of " + what)
            .Int(layer.KSOIL)
            .Real(layer.XLayerTop)
            .Real(layer.XLayerBottom);
        // Joined top down, a layer typed with its top below its bottom would
        // shrink to nothing and vanish from the profile without a word.
        if (layer.XLayerTop > layer.XLayerBottom) {
            StopOnInputError(ctx, kLayerUpsideDownError,
                             "Problem:  Line " + fmt::I0(ctx.files.input.LineNumber()) + " gives soil layer " +
                                 fmt::I0(i) + " a top at " + ValueText(layer.XLayerTop) +
                                 ", deeper than its bottom at " + ValueText(layer.XLayerBottom) + ".",
                             "Solution: Enter the top depth of the layer first, then its bottom depth.");
        }
        if (layer.KSOIL < model::kSoftClay || layer.KSOIL > model::kFrozenSoil) {
            const std::string message = "Problem:  Soil layer " + fmt::I0(i) + " of the SOIL LAYERS block has " +
                                        "soil model code " + fmt::I0(layer.KSOIL) + "; the codes are 1 to 17.";
            StopOnInputError(ctx, kSoilCodeError, message, "Solution: Correct the soil model code of the layer.");
        }
        if (layer.KSOIL == model::kUserPy) {
            // User curves are stored for the first 40 layers only (two curves each).
            if (i > model::kMaxUserPyLayers) {
                const std::string message = "Problem:  Soil layer " + fmt::I0(i) + " of the SOIL LAYERS block " +
                                            "uses user-specified p-y curves, which can be given for the first " +
                                            fmt::I0(model::kMaxUserPyLayers) + " layers only.";
                StopOnInputError(ctx, kCapacityError, message,
                                 "Solution: Combine layers so that user p-y curves are in the first " +
                                     fmt::I0(model::kMaxUserPyLayers) + " layers.");
            }
            ReadUserCurve(ctx, i, "top", layer.Top, layer.UserCurveTop);
            ReadUserCurve(ctx, i, "bottom", layer.Bottom, layer.UserCurveBottom);
        } else {
            const ModelLine& line = kModelLines[layer.KSOIL - 1];
            if (line.count > 0) {
                ReadModelLine(ctx, line, layer.Top, "the top of " + what);
                CheckSandFriction(ctx, layer.KSOIL, layer.Top.FrictionAngle, "the top of " + what);
                ReadModelLine(ctx, line, layer.Bottom, "the bottom of " + what);
                CheckSandFriction(ctx, layer.KSOIL, layer.Bottom.FrictionAngle, "the bottom of " + what);
            }
        }
        // The soil point table: the layer's top and bottom.
        layer.Top.Depth = layer.XLayerTop;
        layer.Bottom.Depth = layer.XLayerBottom;
        layer.UserCurveTop.Depth = layer.XLayerTop;
        layer.UserCurveBottom.Depth = layer.XLayerBottom;
        problem.Layers.push_back(std::move(layer));
    }
    problem.GroundSurfaceDepth = problem.Layers.empty() ? 0.0 : problem.Layers.front().XLayerTop;
}

}  // namespace trevasc::input
