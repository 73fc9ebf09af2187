// The optional MASSIVE ROCK block: the rock values of the massive-rock
// layers (model code 16), which the SOIL LAYERS block carries no line for.
//
//   MASSIVE ROCK
//   N                                  number of lines that follow
//   layer  g_top qu_top Ei_top  g_bot qu_bot Ei_bot     (N lines)
//
// g is the effective unit weight, qu the uniaxial compressive strength of the
// intact rock and Ei its modulus, at the top and at the bottom of the layer.
// The block comes after SOIL LAYERS (which clears it) and names each
// massive-rock layer at most once. Units: unit weight as for every soil layer
// (pcf, kN/m^3); strength and modulus as the rock columns of the soil summary
// (psi, kPa). Massive-rock strengths are held in psf in US customary files,
// as the conversion after input expects of the strength column of a layer of
// this model, so the strength is multiplied by 144 here.
//
// A massive-rock layer without a line keeps zero values and stops at its
// first curve with Input Data Error 72, as before this block existed.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "input/block_checks.hpp"
#include "input/current_format.hpp"
#include "input/reader_support.hpp"
#include "model/units.hpp"
#include "report/fortran_format.hpp"

namespace trevasc::input {

namespace fmt = report::fmt;

namespace {

// Input Data Error 45: a line that names no massive-rock layer, or one named twice.
constexpr std::int32_t kMassiveRockLayerError = 145;
// Input Data Error 46: a strength or modulus not greater than zero, or a negative unit weight.
constexpr std::int32_t kMassiveRockValueError = 146;

constexpr std::string_view kLayerSolution =
    "Solution: Give one line for each massive rock layer (soil model code 16), after the SOIL LAYERS block, "
    "with the layer's number in that block.";

std::string Shown(double value) {
    const std::string field = fmt::E(value, 12, 4);
    return field.substr(std::min(field.find_first_not_of(' '), field.size()));
}

}  // namespace

void ReadMassiveRock(run::RunContext& ctx) {
    ctx.files.messages.Line("Reading massive rock data");
    model::ProblemData& problem = ctx.problem;
    std::int32_t count = 0;
    DataLine(ctx, "the number of massive rock lines").Int(count);
    CheckCapacity(ctx, count, model::kMaxSoilLayers, "the MASSIVE ROCK block", "massive rock lines");
    const bool uscs = problem.Options.Units == model::UnitSystem::USCS;
    for (std::int32_t k = 1; k <= count; ++k) {
        std::int32_t number = 0;
        std::array<double, 6> v{};  // g, qu, Ei at the top, then at the bottom
        DataLine read(ctx, "massive rock line " + fmt::I0(k));
        read.Int(number);
        for (double& value : v) read.Real(value);

        const std::string where = "Line " + fmt::I0(k) + " of the MASSIVE ROCK block";
        if (number < 1 || number > problem.i_Number_of_Layers()) {
            StopOnInputError(ctx, kMassiveRockLayerError,
                             "Problem:  " + where + " names soil layer " + fmt::I0(number) + ", but the SOIL " +
                                 "LAYERS block read before it has " + fmt::I0(problem.i_Number_of_Layers()) +
                                 " layers.",
                             kLayerSolution);
        }
        model::SoilLayer& layer = problem.Layers[static_cast<std::size_t>(number - 1)];
        if (layer.KSOIL != model::kMassiveRock) {
            StopOnInputError(ctx, kMassiveRockLayerError,
                             "Problem:  " + where + " names soil layer " + fmt::I0(number) +
                                 ", whose soil model code is " + fmt::I0(layer.KSOIL) + ", not 16 (massive rock).",
                             kLayerSolution);
        }
        if (std::find(problem.MassiveRockLayers.begin(), problem.MassiveRockLayers.end(), number) !=
            problem.MassiveRockLayers.end()) {
            StopOnInputError(ctx, kMassiveRockLayerError,
                             "Problem:  " + where + " names soil layer " + fmt::I0(number) + " a second time.",
                             kLayerSolution);
        }
        for (int end = 0; end < 2; ++end) {
            const double gamma = v[static_cast<std::size_t>(3 * end)];
            const double qu = v[static_cast<std::size_t>(3 * end + 1)];
            const double Ei = v[static_cast<std::size_t>(3 * end + 2)];
            if (!(qu > 0.0) || !(Ei > 0.0) || !(gamma >= 0.0)) {
                StopOnInputError(
                    ctx, kMassiveRockValueError,
                    "Problem:  " + where + " gives massive rock layer " + fmt::I0(number) + " at its " +
                        (end == 0 ? "top" : "bottom") + " a unit weight of " + Shown(gamma) +
                        ", a uniaxial compressive strength of " + Shown(qu) + " and an intact rock modulus of " +
                        Shown(Ei) + ".",
                    "Solution: The strength and the modulus must be greater than zero and the unit weight must "
                    "not be negative.");
            }
            model::SoilPointParams& point = end == 0 ? layer.Top : layer.Bottom;
            point.EffUnitWeight = gamma;
            point.Cohesion = uscs ? qu * kSquareInchesPerSquareFoot : qu;
            point.SubgradeK = Ei;
        }
        problem.MassiveRockLayers.push_back(number);
    }
}

}  // namespace trevasc::input
