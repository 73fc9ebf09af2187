// Optional blocks of the current input format: tip shear resistance, ground
// slope and pile batter, p-y multipliers for group action, lateral soil
// movements and the depths at which p-y curves are printed.
#include <array>
#include <cstdint>
#include <string>

#include "input/block_checks.hpp"
#include "input/current_format.hpp"
#include "input/reader_support.hpp"
#include "report/fortran_format.hpp"
#include "run/error_stop.hpp"

namespace trevasc::input {

namespace fmt = report::fmt;

void ReadTipShear(run::RunContext& ctx) {
    model::ProblemData& problem = ctx.problem;
    std::int32_t count = 0;
    DataLine(ctx, "the number of tip shear points").Int(count);
    CheckCapacity(ctx, count, model::kMaxTipShearPoints, "the TIP SHEAR block", "tip shear points");
    problem.TipShearCurve.clear();
    if (count < 1) return;
    ctx.files.messages.Line("Reading tip shear data");
    for (std::int32_t k = 1; k <= count; ++k) {
        std::int32_t index = 0;
        std::array<double, 2> point{};
        DataLine(ctx, "tip shear point " + fmt::I0(k)).Int(index).Real(point[0]).Real(point[1]);
        problem.TipShearCurve.push_back(point);
    }
}

void ReadBatterAndSlope(run::RunContext& ctx) {
    ctx.files.messages.Line("Reading pile batter and ground slope angles");
    model::ProblemData& problem = ctx.problem;
    double slope = 0.0;
    double batter = 0.0;
    DataLine(ctx, "the ground slope angle").Real(slope);
    DataLine(ctx, "the pile batter angle").Real(batter);
    problem.GroundSlopeAngle = slope * kPi / kDegreesPerHalfTurn;
    problem.PileBatterAngle = batter * kPi / kDegreesPerHalfTurn;
    problem.SlopeMinusBatter = problem.GroundSlopeAngle - problem.PileBatterAngle;
}

void ReadPyModifiers(run::RunContext& ctx) {
    model::ProblemData& problem = ctx.problem;
    std::int32_t count = 0;
    DataLine(ctx, "the number of p-y modifier points").Int(count);
    CheckCapacity(ctx, count, model::kMaxPyModifierPoints, "the GROUP EFFECT FACTORS block", "p-y modifier points");
    problem.PyModifierCount = count;
    problem.PyModifierProfile.clear();
    if (count < 1) return;
    ctx.files.messages.Line("Reading p-y multiplier data");
    for (std::int32_t k = 1; k <= count; ++k) {
        std::int32_t index = 0;
        model::PyModifierPoint point;
        DataLine(ctx, "p-y modifier point " + fmt::I0(k))
            .Int(index)
            .Real(point.Depth)
            .Real(point.PMultiplier)
            .Real(point.YMultiplier);
        // Every criterion divides deflections by the y-multiplier: zero or a
        // negative value has no meaning and would end in a division by zero.
        if (point.YMultiplier <= 0.0) {
            StopOnInputError(ctx, kCodeRangeError,
                             "Problem:  The y-multiplier of p-y modifier point " + fmt::I0(k) +
                                 " of the GROUP EFFECT FACTORS block is " + fmt::F(point.YMultiplier, 0, 4) +
                                 "; y-multipliers must be greater than zero.",
                             "Solution: Correct the y-multiplier (1.0 for no modification).");
        }
        problem.PyModifierProfile.push_back(point);
    }
}

void ReadSoilMovements(run::RunContext& ctx) {
    ctx.files.messages.Line("Reading soil movement data");
    model::ProblemData& problem = ctx.problem;
    std::int32_t count = 0;
    DataLine(ctx, "the number of soil movement points").Int(count);
    if (count < model::kMinSoilMovementPoints || count > model::kMaxSoilMovementPoints) {
        run::WriteToBoth(ctx, {"**** Input Data Error No. 53 ****", "",
                               "Number of lines specified for soil movement data = " + fmt::I0(count),
                               "The number of lines of soil movement data cannot be less than 2 or exceed 100.", ""});
        run::Stop_With_Error(ctx, "INP00053", 153);
    }
    const bool si = problem.Options.Units == model::UnitSystem::SI;
    problem.SoilMovementProfile.clear();
    for (std::int32_t k = 1; k <= count; ++k) {
        std::int32_t index = 0;
        std::array<double, 2> point{};
        DataLine(ctx, "soil movement point " + fmt::I0(k)).Int(index).Real(point[0]).Real(point[1]);
        if (si) point[1] /= kMillimetresPerMetre;  // movements in mm, depths in m
        problem.SoilMovementProfile.push_back(point);
    }
}

void ReadPyOutputDepths(run::RunContext& ctx) {
    ctx.files.messages.Line("Reading p-y output depths data");
    model::ProblemData& problem = ctx.problem;
    std::int32_t count = 0;
    DataLine(ctx, "the number of p-y output depths").Int(count);
    CheckCapacity(ctx, count, model::kMaxPyOutputDepths, "the DEPTHS OF PRINTED P-Y CURVES block", "p-y output depths");
    problem.PyOutputDepths.clear();
    for (std::int32_t k = 1; k <= count; ++k) {
        std::int32_t index = 0;
        double depth = 0.0;
        DataLine(ctx, "p-y output depth " + fmt::I0(k)).Int(index).Real(depth);
        problem.PyOutputDepths.push_back(depth);
    }
}

}  // namespace trevasc::input
