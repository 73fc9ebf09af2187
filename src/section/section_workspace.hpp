// The working record of the section being analysed by the fibre (strip)
// method: the cross-section cut into 100 thin slices perpendicular to the
// direction of bending, each slice carrying the exact area of every material
// component that lies in it, plus the material constants, the prestress state
// and the run flags that the moment-curvature analysis reads and prints.
//
// Frame: origin at the centroid of the outer outline, x across the section,
// y in the direction of bending, positive toward the compression face.
// Units: those that unit conversion leaves in ProblemData, with stresses and
// moduli in ksi (USCS, after the division of psi values by 1000) or kPa (SI);
// lengths in inches or metres; forces in kips or kN.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/problem_data.hpp"
#include "model/units.hpp"
#include "section/reinforcement.hpp"

namespace trevasc::section {

inline constexpr int kSliceCount = 100;
inline constexpr int kMaxCurvePoints = 150;
inline constexpr int kMaxPolygonVertices = 300;
// 1 ksi in kPa, as the single-precision constant 6894.757 is stored.
inline constexpr double kKpaPerKsi = 6894.75732421875;

// SectionShape: the geometric shape analysed, derived from SectionType.
enum SectionShapeCode : int {
    kShapeRectangle = 1,           // rectangle (or a square with chamfer 0)
    kShapeRectangleWithVoid = 2,   // square with a circular void
    kShapeCircle = 3,
    kShapeCircleWithVoid = 5,      // circle with a concentric circular void
    kShapeCasedCircle = 6,         // circle with a steel casing at its edge
    kShapeCasedCircleWithCore = 7, // cased circle with a steel core
    kShapeSteelRing = 9,           // steel pipe, no concrete
    kShapePolygon = 10,            // chamfered square or octagon
    kShapePolygonWithVoid = 11,
};

// MaterialClass: the section's steel.
enum MaterialClassCode : int {
    kClassSteelPipe = 1,
    kClassReinforcedConcrete = 2,
    kClassPci250 = 4,
    kClassPci270 = 5,
    kClassGrade300 = 6,
    kClassSmooth145 = 7,
    kClassSmooth160 = 8,
    kClassDeformedBars = 9,
};

inline bool IsPrestressedClass(int material_class) { return material_class >= kClassPci250; }

struct Vertex {
    double x = 0.0;
    double y = 0.0;
};

struct BarEntry {
    double x = 0.0;
    double y = 0.0;
    double diameter = 0.0;
    double area = 0.0;
};

// Per-slice data; slice i (1..100) is element [i - 1] of every array except
// SliceY, whose element [i] is the lower boundary of slice i ([0] is the
// compression face).
struct SliceTable {
    std::array<double, kSliceCount + 1> SliceY{};
    std::array<double, kSliceCount> Depth{};          // centroid line below the compression face
    std::array<double, kSliceCount> GrossConcrete{};  // concrete outline less core or void
    std::array<double, kSliceCount> BarArea{};        // bars or strands
    std::array<double, kSliceCount> NetConcrete{};    // gross concrete less bars
    std::array<double, kSliceCount> CasingArea{};
    std::array<double, kSliceCount> CoreSteel{};
    std::array<double, kSliceCount> InnerConcrete{};  // concrete inside a filled core

    // State of the last evaluation.
    std::array<double, kSliceCount> Strain{};
    std::array<double, kSliceCount> ConcreteStress{};
    std::array<double, kSliceCount> BarStress{};
    std::array<double, kSliceCount> CasingStress{};
    std::array<double, kSliceCount> CoreStress{};
    std::array<double, kSliceCount> InnerConcreteStress{};
};

struct MaterialConstants {
    // Concrete, in the section's stress unit; strains dimensionless.
    double fc = 0.0;         // compressive strength f'c
    double Ec = 0.0;         // 57 sqrt(1000 f'c) ksi
    double fr = 0.0;         // modulus of rupture, negative
    double eps0 = 0.0;       // strain at peak stress, 1.7 f'c / Ec
    double epscr = 0.0;      // tensile fracture strain, negative
    double aggregate = 0.0;  // maximum coarse aggregate size (reported only)
    // Bars, or for prestressed sections the strand fpu and strand-table modulus.
    double fy = 0.0;
    double Es = 0.0;
    // Casing and steel pipe.
    double SteelFy = 0.0;
    double SteelEs = 0.0;
    // Steel core.
    double CoreFy = 0.0;
    double CoreEs = 0.0;
    // Deformed prestressing bars (class 9): fpu of strand 1 in ksi.
    double DeformedBarFpuKsi = 0.0;
};

// Results of the prestress computation (prestressed sections only).
struct PrestressState {
    double eps_pc = 0.0;  // concrete precompression strain (positive)
    double eps_ps = 0.0;  // strand prestrain (negative)
    double Ac = 0.0;
    double As = 0.0;
    double Pe = 0.0;      // effective prestress force (input force units)
    double fpc = 0.0;     // concrete stress after losses
    double Pn = 0.0;      // nominal axial capacity
    double N = 0.0;       // unfactored axial load capacity
    double Nt = 0.0;      // axial capacity in tension
    double Mn = 0.0;      // estimated nominal moment capacity
    double MnCoefficient = 0.0;
    bool ReportWritten = false;
};

struct SectionWorkspace {
    int SectionNumber = 0;
    std::int32_t SectionType = 0;
    model::UnitSystem Units = model::UnitSystem::USCS;
    int Shape = 0;
    int MaterialClass = 0;

    double D = 0.0;       // extent in the bending direction
    double Width = 0.0;   // rectangle width, else D
    int SliceCount = kSliceCount;
    double t = 0.0;       // slice thickness D / 100

    std::vector<Vertex> Vertices;  // polygon outline, counter-clockwise

    double CoreDiameter = 0.0;  // core or void outside diameter
    double CoreWall = 0.0;      // 0 for a void
    bool CoreFilled = false;
    double CasingDiameter = 0.0;
    double CasingWall = 0.0;

    std::vector<BarEntry> Bars;  // at most kMaxBars
    // Representative strand (strand 1) of prestressed sections.
    double StrandDiameter = 0.0;
    double StrandArea = 0.0;

    SliceTable slices;
    // Slices that hold bar, casing or core steel (0-based); the laws of each
    // component run over these only.
    std::vector<int> BarSlices;
    std::vector<int> CoreSlices;

    double Ac = 0.0;  // sum of net concrete slice areas
    double As = 0.0;  // sum of bar or strand slice areas

    MaterialConstants m;
    PrestressState prestress;

    // Run flags of the thrust being analysed.
    bool Cracked = false;
    bool Yielded = false;
    bool Precracked = false;

    // Axial capacities.
    double Pmax = 0.0;
    double Pmin = 0.0;
    double Pcr = 0.0;

    bool HasConcrete() const { return Shape != kShapeSteelRing; }
    bool HasCasing() const {
        return Shape == kShapeCasedCircle || Shape == kShapeCasedCircleWithCore || Shape == kShapeSteelRing;
    }
    bool HasCoreSteel() const { return Shape == kShapeCasedCircleWithCore && CoreWall > 0.0; }
    bool IsPrestressed() const { return IsPrestressedClass(MaterialClass); }
    bool IsSteelPipe() const { return Shape == kShapeSteelRing; }
};

}  // namespace trevasc::section
