// Reinforcing bars and prestressing strands: their properties and positions.
//
// Section coordinates: origin at the centroid of the outline, x across, y
// toward the compression face; angles in radians, measured from +x toward +y.
// The positioning routines work in any consistent length unit (inches for
// USCS input, metres for SI input, the user's length for GENERAL input).
//
// Used while the input is read (bar cages of drilled shafts, automatic strand
// patterns, strand sizes) and by the section analysis (bar table, spacing).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "model/problem_data.hpp"
#include "model/units.hpp"

namespace trevasc::section {

inline constexpr double kMetresPerInch = 0.0254;

// ---------------------------------------------------------------------------
// Strand and high-strength bar properties by type and size code.
//
// Types: 0 PCI 250 strand, 1 PCI 270 strand, 2 Grade 300 strand, 3 smooth
// 145 ksi bars, 4 smooth 160 ksi bars, 5 deformed bars (150-160 ksi), the
// nominal sizes of the PCI Design Handbook and ASTM A416 / A722.
struct StrandProperties {
    double Diameter = 0.0;  // in (USCS, GENERAL) or m (SI)
    double Area = 0.0;      // in^2 (USCS, GENERAL) or m^2 (SI)
    double Fpu = 0.0;       // ultimate tensile strength, psi in every unit system
                            // (the section preparation turns it into ksi or kPa)
    double Modulus = 0.0;   // ksi (USCS, GENERAL) or kPa (SI)
};

inline constexpr int kStrandTypeCount = 6;  // type codes 0 .. 5

// Number of size codes of a strand type (sizes 0 .. count-1); 0 for an
// unknown type.
int StrandSizeCount(int strand_type);

// Properties of one strand; empty when the type or the size code is outside
// the table. SI multiplies diameters by 0.0254 and areas by 0.0254^2 and gives
// the modulus in kPa; USCS and GENERAL keep inches and ksi.
std::optional<StrandProperties> LookupStrandProperties(int strand_type, int size_code, model::UnitSystem units);

// ---------------------------------------------------------------------------
// Diameter (in) of a bar of the given area (in^2): the nominal diameter of the
// first tabulated bar size whose area lies within 1.0E-6 of it (US sizes #3 to
// #18, then two metric series), otherwise the diameter of the circle of equal
// area, sqrt(4 A / pi). A negative area gives 0.
double BarDiameterFromArea(double area);

// ---------------------------------------------------------------------------
// Positioning.

struct BarPoint {
    double x = 0.0;
    double y = 0.0;
};

// Why an arrangement could not be made. The input reader turns each into an
// input error; the section analysis can rely on Ok positions being complete.
enum class ArrangementStatus : std::int32_t {
    Ok = 0,
    OutlineNotPositive,     // D <= 0
    BarWiderThanOutline,    // D < d
    CoverNotPositive,       // c <= 0
    PositionCountOutOfRange,// n < 1 or n > 300
    BundleSizeOutOfRange,   // k < 1 or k > 3
    TooManyBars,            // n * k > 300
    RadiusNotPositive,      // R = (D - d)/2 - c <= 0
    PatternOutOfRange,      // strand pattern other than 0, 1 or 2
    StrandCountNotPlaceable,// square patterns with 0, 2 or 3 strands (or < 0, > 300)
    SquareTooSmall,         // a = (W - d)/2 - c <= 0
};

// A short text for messages: "the cover is not greater than zero", ...
std::string_view DescribeArrangementStatus(ArrangementStatus status);

// Circular cage (drilled shafts with "Rebar in circle", strand pattern 0).
struct CircularCage {
    double OutlineDiameter = 0.0;  // D, outside diameter of the section
    double Cover = 0.0;            // c, clear cover to the outside of the bars
    double BarDiameter = 0.0;      // d; |d| > 100 is taken as 0
    std::int32_t Positions = 0;    // n, bundle positions round the circle
    std::int32_t BarsPerBundle = 1;// k, 1, 2 or 3
};

// Positions of the n*k bars of a circular cage, position by position, the
// bars of a bundle in order. Bar centres lie on the radius
// R = (D - d)/2 - c; position j (1-based) is at angle (j-1) 2 pi/n.
//   k = 1: one bar at (R, theta_j); a single position puts it at the centre.
//   k = 2: two bars at theta_j -/+ delta on R, delta = (d/2)/R (the bars
//          touch); a single position puts them at (-d/2, 0) and (d/2, 0).
//   k = 3: the pair of k = 2 and a third bar at theta_j on R - (sqrt(3)/2) d,
//          the three bars touching (also for a single position).
// On failure `bars` is left empty.
ArrangementStatus ArrangeBarsInCircle(const CircularCage& cage, std::vector<BarPoint>& bars);

// Automatic strand patterns 1 and 2: strands on the perimeter of the square of
// half-width a = (W - d)/2 - c, sides parallel to the axes, stored
// counter-clockwise from the corner (-a, -a); an odd count puts the last strand
// at the centre, and a single strand stands at the centre. With b = n div 4
// and r = n mod 4, each horizontal side holds h strands (corners included) and
// each vertical side v strands between its corners:
//   r = 0, 1:           h = b + 1, v = b - 1   (both patterns)
//   r = 2, 3 pattern 1: h = b + 2, v = b - 1   (extra pair on the horizontals)
//   r = 2, 3 pattern 2: h = b + 1, v = b       (extra pair on the verticals)
// Counts of 0, 2 and 3 cannot form a complete side and are refused
// (StrandCountNotPlaceable), as is a square of zero or negative size.
struct SquareStrandLayout {
    double SectionWidth = 0.0;     // W
    double Cover = 0.0;            // c, to the outside of the strands
    double StrandDiameter = 0.0;   // d, that of strand 1
    std::int32_t StrandCount = 0;  // n
    std::int32_t Pattern = 1;      // 1 or 2
};
ArrangementStatus ArrangeStrandsOnSquare(const SquareStrandLayout& layout, std::vector<BarPoint>& strands);

// Clear spacing between neighbouring bundles of a circular cage: the centre
// distance between the last outer bar of the first bundle and the first bar of
// the second, less one bar diameter (bars 1-2 for single bars, 2-3 for pairs,
// 2-4 for bundles of three). 0 when the cage has a single bundle.
double EdgeToEdgeBarSpacing(const std::vector<BarPoint>& bars, int bars_per_bundle, double bar_diameter);

}  // namespace trevasc::section
