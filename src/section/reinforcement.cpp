// Reinforcement and strand properties and positions.
//
// Strand and bar sizes: seven-wire strand of ASTM A416 (grades 250 and 270),
// 300 ksi strand, and the smooth and deformed high-strength bars of ASTM A722,
// with the nominal diameters and areas listed in the PCI Design Handbook.
// Diameters in inches, areas in square inches, fpu in psi, modulus in ksi:
// 28000 ksi for strand, 29000 ksi for bars; in SI 193053200 kPa and
// 199947760 kPa. The tables keep the single-precision constants the values
// were always stored as (0.058 is 0.057999998331069946 and so on): they are
// written as float literals and promoted to double on use.
#include "section/reinforcement.hpp"

#include <array>
#include <cmath>

namespace trevasc::section {
namespace {

struct StrandSize {
    float diameter;  // in
    float area;      // in^2
    float fpu;       // psi; 0 means "the type's fpu"
};

struct StrandType {
    float fpu;             // psi
    float modulus_uscs;    // ksi
    float modulus_si;      // kPa
    int size_count;
    std::array<StrandSize, 8> sizes;
};

constexpr float kStrandModulusKsi = 28000.0f;
constexpr float kStrandModulusKpa = 193053200.0f;
constexpr float kBarModulusKsi = 29000.0f;
constexpr float kBarModulusKpa = 199947760.0f;

constexpr std::array<StrandSize, 8> kSmoothBarSizes{{
    {0.75f, 0.442f, 0.0f}, {0.875f, 0.601f, 0.0f}, {1.0f, 0.785f, 0.0f},
    {1.125f, 0.994f, 0.0f}, {1.25f, 1.227f, 0.0f}, {1.375f, 1.485f, 0.0f},
}};

constexpr std::array<StrandType, kStrandTypeCount> kStrandTypes{{
    // 0: PCI 250 seven-wire strand
    {250000.0f, kStrandModulusKsi, kStrandModulusKpa, 7,
     {{{0.34f, 0.058f, 0.0f}, {0.25f, 0.036f, 0.0f}, {0.3125f, 0.058f, 0.0f}, {0.375f, 0.080f, 0.0f},
       {0.4375f, 0.108f, 0.0f}, {0.5f, 0.144f, 0.0f}, {0.6f, 0.216f, 0.0f}}}},
    // 1: PCI 270 seven-wire strand
    {270000.0f, kStrandModulusKsi, kStrandModulusKpa, 8,
     {{{0.34f, 0.058f, 0.0f}, {0.375f, 0.085f, 0.0f}, {0.4375f, 0.115f, 0.0f}, {0.5f, 0.153f, 0.0f},
       {0.5f, 0.167f, 0.0f}, {0.5625f, 0.192f, 0.0f}, {0.6f, 0.217f, 0.0f}, {0.7f, 0.294f, 0.0f}}}},
    // 2: Grade 300 strand
    {300000.0f, kStrandModulusKsi, kStrandModulusKpa, 5,
     {{{0.375f, 0.085f, 0.0f}, {0.438f, 0.115f, 0.0f}, {0.5f, 0.153f, 0.0f}, {0.5f, 0.167f, 0.0f},
       {0.6f, 0.217f, 0.0f}}}},
    // 3: smooth 145 ksi bars
    {145000.0f, kBarModulusKsi, kBarModulusKpa, 6, kSmoothBarSizes},
    // 4: smooth 160 ksi bars
    {160000.0f, kBarModulusKsi, kBarModulusKpa, 6, kSmoothBarSizes},
    // 5: deformed bars, fpu by size
    {0.0f, kBarModulusKsi, kBarModulusKpa, 6,
     {{{0.625f, 0.28f, 157000.0f}, {1.0f, 0.85f, 150000.0f}, {1.0f, 0.85f, 160000.0f},
       {1.25f, 1.25f, 150000.0f}, {1.25f, 1.25f, 160000.0f}, {1.375f, 1.58f, 150000.0f}}}},
}};

// Bar sizes by area: US sizes #3 to #18 (rows 1-11), then two metric series
// (rows 12-29 and 30-41) held as the single-precision values of their
// inch-converted areas and diameters. Searched in order; 0.31 meets row 3
// before row 13.
struct BarSize {
    float area;      // in^2
    float diameter;  // in
};

constexpr std::array<BarSize, 41> kBarSizes{{
    {0.11f, 0.375f},          {0.20f, 0.5f},            {0.31f, 0.625f},          {0.44f, 0.75f},
    {0.60f, 0.875f},          {0.79f, 1.0f},            {1.00f, 1.128f},          {1.27f, 1.27f},
    {1.56f, 1.41f},           {2.25f, 1.693f},          {4.00f, 2.257f},
    {0.155000314f, 0.444881916f}, {0.310000628f, 0.629921317f}, {0.465000957f, 0.767716587f},
    {0.775001585f, 0.992125988f}, {1.08500218f, 1.17716539f},   {1.55000317f, 1.40551186f},
    {2.32500482f, 1.72047246f},   {3.87500787f, 2.22047257f},   {0.0434000902f, 0.236220479f},
    {0.0775001571f, 0.314960659f}, {0.122450247f, 0.393700778f}, {0.175150365f, 0.472440958f},
    {0.238700479f, 0.551181138f}, {0.311550647f, 0.629921317f}, {0.486701012f, 0.787401557f},
    {0.761051595f, 0.984251976f}, {1.24620259f, 1.25984263f},   {1.94680405f, 1.57480311f},
    {0.0490885973f, 0.25f},       {0.110561728f, 0.375196874f}, {0.196385413f, 0.5f},
    {0.307830632f, 0.625984311f}, {0.444075912f, 0.751968503f}, {0.600006223f, 0.874015749f},
    {0.785386622f, 1.0f},         {0.995722055f, 1.12598431f},  {1.23101246f, 1.25196862f},
    {1.48273301f, 1.37401569f},   {1.76700354f, 1.50393701f},   {2.07700419f, 1.62598419f},
}};

constexpr double kAreaMatchTolerance = 1.0e-6;       // in^2
constexpr double kLargestBarDiameter = 100.0;         // larger magnitudes are taken as 0
constexpr double kBundleThirdBarDepth = 0.8660254037844386;  // sqrt(3)/2: height of the
                                                              // triangle of three touching bars
constexpr int kMaxPositions = model::kMaxBars;

}  // namespace

int StrandSizeCount(int strand_type) {
    if (strand_type < 0 || strand_type >= kStrandTypeCount) return 0;
    return kStrandTypes[strand_type].size_count;
}

std::optional<StrandProperties> LookupStrandProperties(int strand_type, int size_code, model::UnitSystem units) {
    if (size_code < 0 || size_code >= StrandSizeCount(strand_type)) return std::nullopt;
    const StrandType& type = kStrandTypes[strand_type];
    const StrandSize& size = type.sizes[size_code];
    StrandProperties properties;
    properties.Diameter = static_cast<double>(size.diameter);
    properties.Area = static_cast<double>(size.area);
    properties.Fpu = static_cast<double>(size.fpu > 0.0f ? size.fpu : type.fpu);
    if (units == model::UnitSystem::SI) {
        properties.Diameter *= kMetresPerInch;
        properties.Area *= kMetresPerInch * kMetresPerInch;
        properties.Modulus = static_cast<double>(type.modulus_si);
    } else {
        properties.Modulus = static_cast<double>(type.modulus_uscs);
    }
    return properties;
}

double BarDiameterFromArea(double area) {
    for (const BarSize& size : kBarSizes) {
        if (std::fabs(area - static_cast<double>(size.area)) <= kAreaMatchTolerance) {
            return static_cast<double>(size.diameter);
        }
    }
    if (area < 0.0) return 0.0;
    return std::sqrt(4.0 * area / kPi);
}

std::string_view DescribeArrangementStatus(ArrangementStatus status) {
    switch (status) {
        case ArrangementStatus::Ok: return "the arrangement is valid";
        case ArrangementStatus::OutlineNotPositive: return "the section diameter is not greater than zero";
        case ArrangementStatus::BarWiderThanOutline: return "the bar diameter is larger than the section diameter";
        case ArrangementStatus::CoverNotPositive: return "the cover is not greater than zero";
        case ArrangementStatus::PositionCountOutOfRange: return "the number of bar positions is not between 1 and 300";
        case ArrangementStatus::BundleSizeOutOfRange: return "the number of bars per bundle is not 1, 2 or 3";
        case ArrangementStatus::TooManyBars: return "the number of bars is more than 300";
        case ArrangementStatus::RadiusNotPositive:
            return "the cover and the bar diameter leave no room for the circle of bars";
        case ArrangementStatus::PatternOutOfRange: return "the strand pattern is not 0, 1 or 2";
        case ArrangementStatus::StrandCountNotPlaceable:
            return "strand patterns 1 and 2 need 1 strand or from 4 to 300 strands";
        case ArrangementStatus::SquareTooSmall:
            return "the cover and the strand diameter leave no room for the square of strands";
    }
    return "unknown arrangement status";
}

ArrangementStatus ArrangeBarsInCircle(const CircularCage& cage, std::vector<BarPoint>& bars) {
    bars.clear();
    const double D = cage.OutlineDiameter;
    const double c = cage.Cover;
    const double d = std::fabs(cage.BarDiameter) > kLargestBarDiameter ? 0.0 : cage.BarDiameter;
    const std::int32_t n = cage.Positions;
    const std::int32_t k = cage.BarsPerBundle;

    if (!(D > 0.0)) return ArrangementStatus::OutlineNotPositive;
    if (D < d) return ArrangementStatus::BarWiderThanOutline;
    if (!(c > 0.0)) return ArrangementStatus::CoverNotPositive;
    if (n < 1 || n > kMaxPositions) return ArrangementStatus::PositionCountOutOfRange;
    if (k < 1 || k > 3) return ArrangementStatus::BundleSizeOutOfRange;
    if (static_cast<std::int64_t>(n) * k > model::kMaxBars) return ArrangementStatus::TooManyBars;
    const double R = (D - d) / 2.0 - c;
    if (!(R > 0.0)) return ArrangementStatus::RadiusNotPositive;

    const double w = 2.0 * kPi / static_cast<double>(n);
    const double delta = (d / 2.0) / R;
    auto on_circle = [](double radius, double angle) { return BarPoint{radius * std::cos(angle), radius * std::sin(angle)}; };

    bars.reserve(static_cast<std::size_t>(n) * static_cast<std::size_t>(k));
    for (std::int32_t j = 1; j <= n; ++j) {
        const double theta = static_cast<double>(j - 1) * w;
        if (k == 1) {
            bars.push_back(n == 1 ? BarPoint{0.0, 0.0} : on_circle(R, theta));
        } else if (k == 2 && n == 1) {
            bars.push_back(BarPoint{-d / 2.0, 0.0});
            bars.push_back(BarPoint{d / 2.0, 0.0});
        } else {
            bars.push_back(on_circle(R, theta - delta));
            bars.push_back(on_circle(R, theta + delta));
            if (k == 3) bars.push_back(on_circle(R - kBundleThirdBarDepth * d, theta));
        }
    }
    return ArrangementStatus::Ok;
}

ArrangementStatus ArrangeStrandsOnSquare(const SquareStrandLayout& layout, std::vector<BarPoint>& strands) {
    strands.clear();
    const std::int32_t n = layout.StrandCount;
    if (layout.Pattern != 1 && layout.Pattern != 2) return ArrangementStatus::PatternOutOfRange;
    if (n < 1 || n == 2 || n == 3 || n > model::kMaxBars) return ArrangementStatus::StrandCountNotPlaceable;
    if (n == 1) {
        strands.push_back(BarPoint{0.0, 0.0});
        return ArrangementStatus::Ok;
    }
    const double a = (layout.SectionWidth - layout.StrandDiameter) / 2.0 - layout.Cover;
    if (!(a > 0.0)) return ArrangementStatus::SquareTooSmall;

    const std::int32_t b = n / 4;
    const std::int32_t r = n % 4;
    std::int32_t h = b + 1;
    std::int32_t v = b - 1;
    if (r >= 2) {
        if (layout.Pattern == 1) {
            h = b + 2;
        } else {
            v = b;
        }
    }
    const double s_h = 2.0 * a / static_cast<double>(h - 1);
    const double s_v = 2.0 * a / static_cast<double>(v + 1);

    strands.reserve(static_cast<std::size_t>(n));
    for (std::int32_t j = 0; j < h; ++j) strands.push_back(BarPoint{-a + j * s_h, -a});  // bottom, left to right
    for (std::int32_t i = 1; i <= v; ++i) strands.push_back(BarPoint{a, -a + i * s_v});  // right side, upward
    for (std::int32_t j = 0; j < h; ++j) strands.push_back(BarPoint{a - j * s_h, a});    // top, right to left
    for (std::int32_t i = 1; i <= v; ++i) strands.push_back(BarPoint{-a, a - i * s_v});  // left side, downward
    if (n % 2 == 1) strands.push_back(BarPoint{0.0, 0.0});
    return ArrangementStatus::Ok;
}

double EdgeToEdgeBarSpacing(const std::vector<BarPoint>& bars, int bars_per_bundle, double bar_diameter) {
    std::size_t first = 0;   // 0-based: the last outer bar of bundle 1
    std::size_t second = 1;  // the first bar of bundle 2
    if (bars_per_bundle == 2) {
        first = 1;
        second = 2;
    } else if (bars_per_bundle == 3) {
        first = 1;
        second = 3;
    }
    if (second >= bars.size()) return 0.0;
    const double dx = bars[second].x - bars[first].x;
    const double dy = bars[second].y - bars[first].y;
    return std::sqrt(dx * dx + dy * dy) - bar_diameter;
}

}  // namespace trevasc::section
