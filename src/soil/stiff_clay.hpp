// The p-y curves of the stiff clay criteria at one depth, their default
// parameters and their equivalent depths: "StfClyBW" (stiff clay with free
// water) and "StfClyAW" / "StfClyAK" (stiff clay without free water, the
// latter capped by an initial modulus k).
#pragma once

#include <array>
#include <cstdint>

#include "model/problem_data.hpp"
#include "report/warnings.hpp"

namespace trevasc::soil {

// Limits of the strength bands of the default tables.
enum class StiffClayBands {
    kWithWater,     // 1000, 2000, 4000 psf (and kPa) as the free-water criterion holds them
    kWithoutWater,  // the same limits as the criterion without free water holds them
};

// Default initial modulus k (lb/in^3 or kN/m^3) by strength; 0 in general
// units, which have no default.
double StiffClayDefaultK(double c, bool cyclic, model::UnitSystem units, StiffClayBands bands);
// Default epsilon-50 by strength; 0 in general units.
double StiffClayDefaultEpsilon50(double c, model::UnitSystem units, StiffClayBands bands);

// The initial modulus k given for a layer at vertical depth xv: linear from
// the top value to the bottom one (the top value where the bottom has none,
// and throughout a layer of no thickness).
double StiffClayLayerK(const model::SoilLayer& layer, double xv);

// The usual range of the strength of a stiff clay, 500 to 8,000 psf, as each
// criterion holds it in psi and in kPa.
struct StiffClayStrengthRange {
    double low_uscs, high_uscs, low_si, high_si;
};
// Records the warning of a strength c outside the range: `ids` are those of
// too low and too high in US customary units, then in SI units.
void RecordStrengthOutsideRange(report::WarningRegistry& warnings, double c, model::UnitSystem units,
                                const StiffClayStrengthRange& range, const std::array<std::int32_t, 4>& ids);

// ---------------------------------------------------------- with free water

// Empirical factors of the static and cyclic curves at z/b.
double StiffClayAs(double z_over_b);
double StiffClayAc(double z_over_b);

struct StiffClayWaterCurve {
    bool cyclic = false;
    double As = 0.0, Ac = 0.0;
    double pct = 0.0;  // wedge resistance
    double pcd = 0.0;  // flow resistance 11 c b
    double pc = 0.0;   // min(pct, pcd)
    double pr = 0.0;   // residual resistance at large deflection
    double y50 = 0.0;  // eps50 b
    double yp = 0.0;   // cyclic: 4.1 As y50
    double kz = 0.0;   // initial line k z

    double P(double y) const;
};

// c the strength at the depth, ca the average strength above it.
StiffClayWaterCurve MakeStiffClayWaterCurve(double b, double c, double ca, double gamma, double eps50, double k,
                                                double z, double slope_factor, bool cyclic);

double StiffClayWaterEquivalentDepth(double A, double b, double c, double ca, double gamma, bool cyclic);

// ------------------------------------------------------- without free water

struct StiffClayDryCurve {
    bool cyclic = false;
    double cycles = 1.0;  // N
    double pct = 0.0, pcd = 0.0, pu = 0.0;
    double y50 = 0.0;     // 2.5 eps50 b
    bool capped = false;  // "StfClyAK": the curve is capped by k z y
    double kz = 0.0;

    double P(double y) const;
};

StiffClayDryCurve MakeStiffClayDryCurve(double b, double c, double gamma, double eps50, double z,
                                            double slope_factor, bool cyclic, double cycles);

double StiffClayDryEquivalentDepth(double A, double b, double c, double ca, double gamma);

}  // namespace trevasc::soil
