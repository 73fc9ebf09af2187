// The p-y curve of Matlock's soft clay criterion at one depth, its default
// epsilon-50 and the equivalent depth of the layering correction; shared by
// "SoftClay" (J = 0.5) and "SoftClyJ" (J from the layer's profile).
#pragma once

#include "model/problem_data.hpp"

namespace trevasc::soil {

struct SoftClayCurve {
    bool cyclic = false;
    double z = 0.0;      // depth on the curve (equivalent depth below other layers)
    double zr = 0.0;     // transition depth of the cyclic curve
    double y50 = 0.0;
    double pu = 0.0;     // ultimate resistance (force/length)
    double Eslim = 0.0;  // modulus below ylim: the slope of the curve at ylim
    double ylim = 0.0;   // deflection below which Eslim applies
    double pc = 0.0;     // cyclic plateau 0.72 pu
    double pcz = 0.0;    // cyclic residual above the transition depth, pc z/zr

    // Soil reaction at deflection y >= 0 on the unmultiplied curve.
    double P(double y) const;
};

// b pile width, c undrained strength, gamma average effective unit weight,
// eps50 strain at half the strength, J Matlock's empirical factor, z the depth
// on the curve, slope_factor the ground-slope factor on the bearing factor.
SoftClayCurve MakeSoftClayCurve(double b, double c, double gamma, double eps50, double J, double z,
                                   double slope_factor, bool cyclic);

// Default epsilon-50 from the strength (psi in USCS, kPa in SI); 0 in general
// units, which have no default.
double SoftClayDefaultEpsilon50(double c, model::UnitSystem units);

// Depth Z at which soft clay of strength c and unit weight gamma develops the
// resistance A (force) of the layers above it, for a pile of width b.
double SoftClayEquivalentDepth(double A, double b, double c, double gamma, double J, bool cyclic);

}  // namespace trevasc::soil
