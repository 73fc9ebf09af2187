// Echo of the optional MASSIVE ROCK block: the rock values of each
// massive-rock layer as they were entered, so that the report documents the
// strength and modulus the massive rock criterion will use.
#include "echo/echo.hpp"
#include "model/units.hpp"
#include "report/fortran_format.hpp"
#include "report/report_helpers.hpp"

namespace trevasc::echo {

namespace fmt = report::fmt;

void EchoMassiveRockValues(run::RunContext& ctx) {
    const model::ProblemData& problem = ctx.problem;
    if (problem.MassiveRockLayers.empty()) return;
    report::OutputChannel& report = ctx.files.report;
    const model::UnitSystem units = problem.Options.Units;
    const std::string depth = MakeEchoLabels(ctx.labels).depth_trimmed;
    std::string unit_weight = "F/L3";
    std::string stress = "F/L2";
    if (units == model::UnitSystem::USCS) {
        unit_weight = "pcf";
        stress = "psi";
    } else if (units == model::UnitSystem::SI) {
        unit_weight = "kN/m3";
        stress = "kPa";
    }
    // Strengths of massive rock are held in psf in US customary input until
    // the unit conversion; they were entered, and are shown, in psi.
    const double strength_scale = units == model::UnitSystem::USCS ? 1.0 / kSquareInchesPerSquareFoot : 1.0;

    WriteEchoHeading(report, 2, 22, "Massive Rock Values (MASSIVE ROCK)");
    report.Line("Layer    Depth       Eff. Unit      Uniaxial Comp.    Intact Rock");
    report.Line(" Num.    " + fmt::A(depth, 8) + "    Wt., " + fmt::A(unit_weight, 6) + "    Strength, " +
                fmt::A(stress, 5) + "    Modulus, " + stress);
    report.Line("-----  ----------  ------------  ----------------  ----------------");
    for (const std::int32_t number : problem.MassiveRockLayers) {
        const model::SoilLayer& layer = problem.Layers[static_cast<std::size_t>(number - 1)];
        for (int end = 0; end < 2; ++end) {
            const model::SoilPointParams& p = end == 0 ? layer.Top : layer.Bottom;
            report.Line((end == 0 ? fmt::I(number, 5) : std::string(5, ' ')) +
                        fmt::F(end == 0 ? layer.XLayerTop : layer.XLayerBottom, 12, 3) +
                        fmt::F(p.EffUnitWeight, 14, 3) + fmt::E(p.Cohesion * strength_scale, 18, 4) +
                        fmt::E(p.SubgradeK, 18, 4));
        }
    }
    report.Blank();
    report.Line("Rock mass parameters of the criterion: m sub i = 6, GSI = 42, Poisson's ratio = 0.4.");
}

}  // namespace trevasc::echo
