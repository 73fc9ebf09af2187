// Pile sections for the section-analysis tests, built directly as
// ProblemData records (USCS: lengths in inches, concrete strength in ksi,
// steel stresses and moduli in psi as entered).
#pragma once

#include <cmath>
#include <memory>
#include <vector>

#include "model/problem_data.hpp"
#include "run/run_context.hpp"
#include "section/geometry.hpp"
#include "section/section_init.hpp"
#include "section/section_workspace.hpp"
#include "trevasc/units.hpp"

namespace trevasc::testing {

// A context with no open files: reports are discarded, stops still throw.
inline std::unique_ptr<run::RunContext> MakeContext(model::UnitSystem units = model::UnitSystem::USCS, int mode = 2) {
    auto ctx = std::make_unique<run::RunContext>();
    ctx->problem.Options.Units = units;
    ctx->problem.Options.AnalysisMode = mode;
    return ctx;
}

inline model::BarRecord Bar(double x, double y, double diameter, double area) {
    model::BarRecord bar;
    bar.BarDiameter = diameter;
    bar.BarArea = area;
    bar.BarX = x;
    bar.BarY = y;
    return bar;
}

// n bars of one size evenly on a circle of radius R, the first on +x.
inline std::vector<model::BarRecord> BarsOnCircle(int n, double R, double diameter, double area) {
    std::vector<model::BarRecord> bars;
    for (int j = 0; j < n; ++j) {
        const double theta = 2.0 * kPi * j / n;
        bars.push_back(Bar(R * std::cos(theta), R * std::sin(theta), diameter, area));
    }
    return bars;
}

inline void SetRebar(model::PileSection& s, std::vector<model::BarRecord> bars, double fy_psi = 60000.0,
                     double Es_psi = 29.0e6) {
    s.Rebar.BarCount = static_cast<std::int32_t>(bars.size());
    s.Rebar.RebarYieldStress = fy_psi;
    s.Rebar.RebarModulus = Es_psi;
    s.Rebar.Bars = std::move(bars);
}

inline model::PileSection RectangularPile(double depth, double width, double fc_ksi) {
    model::PileSection s;
    s.SectionType = model::kRectangularConcrete;
    s.SectionLength = 240.0;
    s.RectDepth = depth;
    s.RectWidth = width;
    s.SectionWidth = depth;
    s.Concrete.ConcreteStrength = fc_ksi;
    s.Concrete.MaxAggregateSize = 0.75;
    return s;
}

inline model::PileSection DrilledShaft(double diameter, double fc_ksi) {
    model::PileSection s;
    s.SectionType = model::kDrilledShaft;
    s.SectionLength = 240.0;
    s.SectionWidth = diameter;
    s.Concrete.ConcreteStrength = fc_ksi;
    s.Concrete.MaxAggregateSize = 0.75;
    return s;
}

inline model::PileSection SteelPipe(double diameter, double wall, double fy_psi, double E_psi) {
    model::PileSection s;
    s.SectionType = model::kSteelPipe;
    s.SectionLength = 240.0;
    s.SectionWidth = diameter;
    s.SteelThickness = wall;
    s.SteelYieldStress = fy_psi;
    s.SteelModulus = E_psi;
    return s;
}

// Square prestressed pile with strands of PCI 270, size 3 (0.5 in, 0.153 in^2),
// on a square of half-width a.
inline model::PileSection PrestressedSquare(double width, double chamfer, int strands_per_side_pairs, double a,
                                            double initial_force_lb, double loss) {
    model::PileSection s;
    s.SectionType = model::kSquareSolidPrestressed;
    s.SectionLength = 240.0;
    s.SectionWidth = width;
    s.CornerChamfer = chamfer;
    s.Concrete.ConcreteStrength = 6.0;
    s.Concrete.MaxAggregateSize = 0.75;
    s.Strand.StrandTypeCode = 1;
    s.Strand.InitialPrestressForce = initial_force_lb;
    s.Strand.PrestressLossFraction = loss;
    // Corners and side middles of the square: 8 strands for pairs = 2.
    std::vector<std::pair<double, double>> positions = {{-a, -a}, {0, -a}, {a, -a}, {a, 0},
                                                        {a, a},   {0, a},  {-a, a}, {-a, 0}};
    positions.resize(static_cast<std::size_t>(4 * strands_per_side_pairs));
    for (const auto& [x, y] : positions) {
        model::BarRecord strand = Bar(x, y, 0.5, 0.153);
        strand.BarSizeCode = 3;
        s.Strand.Strands.push_back(strand);
    }
    s.Strand.StrandCount = static_cast<std::int32_t>(s.Strand.Strands.size());
    return s;
}

// Workspace of a section with its slices built (no messages, no checks).
inline section::SectionWorkspace SlicedWorkspace(const model::PileSection& s,
                                                 model::UnitSystem units = model::UnitSystem::USCS) {
    section::SectionWorkspace ws;
    ws.SectionNumber = 1;
    section::FillSectionWorkspace(ws, s, units);
    section::BuildSlices(ws);
    return ws;
}

}  // namespace trevasc::testing
