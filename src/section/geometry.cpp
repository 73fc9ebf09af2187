#include "section/geometry.hpp"

#include <cmath>

namespace trevasc::section {
namespace {

// Half-width of the regular octagon's flat edge as a fraction of its
// flat-to-flat width: tan(22.5 deg)/2 = 0.20711 rounded to four places.
constexpr double kOctagonHalfEdgeFraction = 0.2071;
// Points of a clipped outline closer than this (squared distance) merge.
constexpr double kCoincidentSquared = 1.0e-8;

// Spreads a circle of diameter d centred at the origin over the slices:
// part[i] = exact area between the boundaries of slice i + 1.
void DistributeCentredCircle(const SliceTable& slices, double d, std::array<double, kSliceCount>& part) {
    double above_previous = CircleAreaAbove(d, slices.SliceY[0]);
    for (int i = 1; i <= kSliceCount; ++i) {
        const double above = CircleAreaAbove(d, slices.SliceY[i]);
        part[i - 1] = above - above_previous;
        above_previous = above;
    }
}

}  // namespace

double SegmentArea(double d, double h) {
    if (!(d > 0.0)) return 0.0;
    double b = 1.0 - h / (d / 2.0);
    if (std::fabs(b) > 1.0) {
        if (b > 0.99) b = 1.0;
        if (b < -0.99) b = -1.0;
    }
    double theta;
    if (std::fabs(b) < 1.0e-12) {
        theta = kPi / 2.0;
    } else {
        theta = std::atan(std::sqrt(std::fabs(1.0 - b * b)) / b);
        if (b < 0.0) theta += kPi;
    }
    return d * d / 8.0 * (2.0 * theta - std::sin(2.0 * theta));
}

double CircleAreaAbove(double d, double Y) {
    if (!(d > 0.0)) return 0.0;
    if (Y >= d / 2.0) return 0.0;
    if (Y <= -d / 2.0) return kPi * d * d / 4.0;
    return SegmentArea(d, d / 2.0 - Y);
}

double PolygonAreaBelow(const std::vector<Vertex>& vertices, double Y) {
    const std::size_t n = vertices.size();
    if (n < 3) return 0.0;
    std::vector<Vertex> points;
    points.reserve(2 * n);
    for (std::size_t k = 0; k < n; ++k) {
        const Vertex& a = vertices[k];
        const Vertex& b = vertices[(k + 1) % n];
        const bool keep_a = a.y <= Y;
        const bool keep_b = b.y <= Y;
        if (keep_a) points.push_back(a);
        if (keep_a != keep_b) {
            const double s = (Y - a.y) / (b.y - a.y);
            points.push_back(Vertex{a.x + s * (b.x - a.x), Y});
        }
    }
    std::vector<Vertex> outline;
    outline.reserve(points.size());
    for (const Vertex& p : points) {
        if (!outline.empty()) {
            const double dx = p.x - outline.back().x;
            const double dy = p.y - outline.back().y;
            if (dx * dx + dy * dy < kCoincidentSquared) continue;
        }
        outline.push_back(p);
    }
    if (outline.size() > 1) {
        const double dx = outline.back().x - outline.front().x;
        const double dy = outline.back().y - outline.front().y;
        if (dx * dx + dy * dy < kCoincidentSquared) outline.pop_back();
    }
    if (outline.size() < 3) return 0.0;
    double sum = 0.0;
    for (std::size_t k = 0; k < outline.size(); ++k) {
        const Vertex& a = outline[k];
        const Vertex& b = outline[(k + 1) % outline.size()];
        sum += a.x * b.y - b.x * a.y;
    }
    return sum / 2.0;
}

int fn_FindSliceY(const SliceTable& slices, double Yreal) {
    for (int i = 1; i <= kSliceCount; ++i) {
        if (slices.SliceY[i - 1] >= Yreal && Yreal > slices.SliceY[i]) return i;
    }
    return kSliceCount;
}

int ShapeOfSection(const model::PileSection& section) {
    switch (section.SectionType) {
        case model::kRectangularConcrete: return kShapeRectangle;
        case model::kDrilledShaft: return kShapeCircle;
        case model::kDrilledShaftWithCasing: return kShapeCasedCircle;
        case model::kDrilledShaftWithCasingAndCore: return kShapeCasedCircleWithCore;
        case model::kSteelPipe: return kShapeSteelRing;
        case model::kCircularSolidPrestressed: return kShapeCircle;
        case model::kCircularHollowPrestressed: return kShapeCircleWithVoid;
        case model::kSquareSolidPrestressed: return section.CornerChamfer == 0.0 ? kShapeRectangle : kShapePolygon;
        case model::kSquareHollowPrestressed:
            return section.CornerChamfer == 0.0 ? kShapeRectangleWithVoid : kShapePolygonWithVoid;
        case model::kOctagonalSolidPrestressed: return kShapePolygon;
        case model::kOctagonalHollowPrestressed: return kShapePolygonWithVoid;
        default: return 0;
    }
}

int MaterialClassOfSection(const model::PileSection& section) {
    const int type = section.SectionType;
    if (type >= model::kRectangularConcrete && type <= model::kDrilledShaftWithCasingAndCore) {
        return kClassReinforcedConcrete;
    }
    if (type == model::kSteelPipe) return kClassSteelPipe;
    if (type >= model::kCircularSolidPrestressed && type <= model::kOctagonalHollowPrestressed) {
        const int code = section.Strand.StrandTypeCode;
        if (code >= 0 && code <= 5) return kClassPci250 + code;
    }
    return 0;
}

std::vector<Vertex> ChamferedSquareOutline(double w, double c) {
    const double h = w / 2.0;
    return {{h - c, -h}, {h, c - h}, {h, h - c}, {h - c, h}, {c - h, h}, {-h, h - c}, {-h, c - h}, {c - h, -h}};
}

std::vector<Vertex> OctagonOutline(double w) {
    const double e = kOctagonHalfEdgeFraction * w;
    const double h = w / 2.0;
    return {{e, -h}, {h, -e}, {h, e}, {e, h}, {-e, h}, {-h, e}, {-h, -e}, {-e, -h}};
}

std::vector<Vertex> RectangleOutline(double b, double d) {
    return {{b / 2.0, -d / 2.0}, {b / 2.0, d / 2.0}, {-b / 2.0, d / 2.0}, {-b / 2.0, -d / 2.0}};
}

void Calculate_Casing_Slice_Areas(SectionWorkspace& ws) {
    SliceTable& s = ws.slices;
    const double d_outer = ws.CasingDiameter;
    const double d_inner = d_outer - 2.0 * ws.CasingWall;
    std::array<double, kSliceCount> outer{};
    std::array<double, kSliceCount> inner{};
    DistributeCentredCircle(s, d_outer, outer);
    if (d_inner > 0.0) DistributeCentredCircle(s, d_inner, inner);
    for (int i = 0; i < kSliceCount; ++i) {
        s.CasingArea[i] = outer[i] - inner[i];
        s.GrossConcrete[i] = ws.Shape == kShapeSteelRing ? 0.0 : inner[i];
    }
}

void CalculateCoreSliceAreas(SectionWorkspace& ws) {
    SliceTable& s = ws.slices;
    std::array<double, kSliceCount> outer{};
    std::array<double, kSliceCount> inner{};
    DistributeCentredCircle(s, ws.CoreDiameter, outer);
    const double d_inner = ws.CoreDiameter - 2.0 * ws.CoreWall;
    if (d_inner > 0.0) DistributeCentredCircle(s, d_inner, inner);
    ws.CoreSlices.clear();
    for (int i = 0; i < kSliceCount; ++i) {
        s.GrossConcrete[i] -= outer[i];
        s.CoreSteel[i] = ws.CoreWall > 0.0 ? outer[i] - inner[i] : 0.0;
        s.InnerConcrete[i] = ws.CoreFilled ? inner[i] : 0.0;
        if (s.CoreSteel[i] > 0.0) ws.CoreSlices.push_back(i);
    }
}

void Calculate_Rebar_Slice_Areas(SectionWorkspace& ws) {
    SliceTable& s = ws.slices;
    for (const BarEntry& bar : ws.Bars) {
        // The bar's area is smeared as the circle of equal area centred on the
        // bar. Its extent is taken from that circle too: a strand's nominal
        // diameter is larger than its equal-area diameter, and measuring the
        // circle from the nominal top would shift the whole area toward the
        // compression face, a false moment at zero curvature.
        const double de = bar.area > 0.0 ? std::sqrt(4.0 * bar.area / kPi) : 0.0;
        const double top = bar.y + de / 2.0;
        const double bottom = bar.y - de / 2.0;
        const int top_slice = fn_FindSliceY(s, top);
        const int bottom_slice = fn_FindSliceY(s, bottom);
        if (top_slice == bottom_slice) {
            s.BarArea[top_slice - 1] += bar.area;
            continue;
        }
        double above_previous = 0.0;
        for (int i = top_slice; i <= bottom_slice - 1; ++i) {
            const double above = SegmentArea(de, top - s.SliceY[i]);
            s.BarArea[i - 1] += above - above_previous;
            above_previous = above;
        }
        // The bottom slice takes the rest, so the pieces sum to the bar area
        // (also for a bar that reaches outside the section).
        s.BarArea[bottom_slice - 1] += bar.area - above_previous;
    }
}

void BuildSlices(SectionWorkspace& ws) {
    SliceTable& s = ws.slices;
    s = SliceTable{};
    ws.SliceCount = kSliceCount;
    ws.t = ws.D / kSliceCount;
    double top = ws.D / 2.0;
    if (ws.Shape == kShapePolygon || ws.Shape == kShapePolygonWithVoid) {
        top = ws.Vertices.front().y;
        for (const Vertex& v : ws.Vertices) top = std::max(top, v.y);
    }
    s.SliceY[0] = top;
    for (int i = 1; i <= kSliceCount; ++i) {
        s.SliceY[i] = top - i * ws.t;
        s.Depth[i - 1] = (i - 0.5) * ws.t;
    }

    switch (ws.Shape) {
        case kShapeCircle:
        case kShapeCircleWithVoid: {
            double above_previous = 0.0;
            for (int i = 1; i <= kSliceCount; ++i) {
                const double above = SegmentArea(ws.D, i * ws.t);
                s.GrossConcrete[i - 1] = above - above_previous;
                above_previous = above;
            }
            break;
        }
        case kShapeCasedCircle:
        case kShapeCasedCircleWithCore:
        case kShapeSteelRing:
            Calculate_Casing_Slice_Areas(ws);
            break;
        case kShapeRectangle:
        case kShapeRectangleWithVoid:
        case kShapePolygon:
        case kShapePolygonWithVoid: {
            double below_previous = PolygonAreaBelow(ws.Vertices, s.SliceY[0]);
            for (int i = 1; i <= kSliceCount; ++i) {
                const double below = PolygonAreaBelow(ws.Vertices, s.SliceY[i]);
                s.GrossConcrete[i - 1] = below_previous - below;
                below_previous = below;
            }
            break;
        }
        default:
            break;
    }

    if (ws.Shape == kShapeRectangleWithVoid || ws.Shape == kShapeCircleWithVoid ||
        ws.Shape == kShapeCasedCircleWithCore || ws.Shape == kShapePolygonWithVoid) {
        CalculateCoreSliceAreas(ws);
    }

    Calculate_Rebar_Slice_Areas(ws);

    ws.Ac = 0.0;
    ws.As = 0.0;
    ws.BarSlices.clear();
    for (int i = 0; i < kSliceCount; ++i) {
        s.NetConcrete[i] = s.GrossConcrete[i] - s.BarArea[i];
        ws.Ac += s.NetConcrete[i];
        ws.As += s.BarArea[i];
        if (s.BarArea[i] != 0.0) ws.BarSlices.push_back(i);
    }
}

}  // namespace trevasc::section
