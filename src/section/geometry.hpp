// Section geometry and slicing for the fibre method.
//
// The section is cut into 100 slices of equal thickness t = D/100 normal to
// the bending direction; each component (concrete, bars or strands, casing,
// core steel, core concrete) gets the exact area it has between the two
// boundaries of every slice. Circles use the circular-segment area
//     A(h) = d^2/8 (2 theta - sin 2 theta),  cos theta = 1 - 2h/d,
// of a circle of diameter d above a chord at distance h below its top;
// polygons use the shoelace area of the part of the outline below a line.
// Bars are smeared into the slices as circles of equal area.
#pragma once

#include <vector>

#include "section/section_workspace.hpp"

namespace trevasc::section {

// Area of a circle of diameter d above a chord at distance h below its top.
// A chord above the top gives 0, one below the bottom the whole circle.
double SegmentArea(double d, double h);

// Area of a circle of diameter d centred at the origin lying above y = Y.
double CircleAreaAbove(double d, double Y);

// Area of the part of a counter-clockwise outline at or below the line y = Y.
double PolygonAreaBelow(const std::vector<Vertex>& vertices, double Y);

// Index (1..100) of the slice with SliceY(i-1) >= Yreal > SliceY(i); an
// ordinate outside the section belongs to slice 100.
int fn_FindSliceY(const SliceTable& slices, double Yreal);

// SectionShape and MaterialClass of a section (0 when the type has none).
int ShapeOfSection(const model::PileSection& section);
int MaterialClassOfSection(const model::PileSection& section);

// Outline of a chamfered square of side w and chamfer c (the regular octagon
// is c = w/2 - 0.2071 w) and of a rectangle of width b and depth d.
std::vector<Vertex> ChamferedSquareOutline(double w, double c);
std::vector<Vertex> OctagonOutline(double w);
std::vector<Vertex> RectangleOutline(double b, double d);

// Slice boundaries, centroid depths and every per-slice area of the
// workspace (geometry fields must be set), then the totals Ac and As.
void BuildSlices(SectionWorkspace& ws);

// Distribution of each component over the slices (called by BuildSlices).
void Calculate_Casing_Slice_Areas(SectionWorkspace& ws);
void CalculateCoreSliceAreas(SectionWorkspace& ws);
void Calculate_Rebar_Slice_Areas(SectionWorkspace& ws);

}  // namespace trevasc::section
