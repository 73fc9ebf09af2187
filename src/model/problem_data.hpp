// The complete in-memory description of one analysis.
//
// Filled once by one input reader, completed by the echo, converted in place to
// computation units, then only read. Values are held in the units of the input
// file, except that SI cross-section dimensions entered in millimetres are
// stored in metres (areas in m^2, inertias in m^4) and SI soil movements in
// metres. Depths are measured downward from the pile head.
//
// Tables are std::vector whose size is the number of valid rows. Every reader
// checks a count against its capacity (the constants below) before it stores a
// row, so no table ever grows past what the analysis is dimensioned for.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace trevasc::model {

// Storage capacities of the problem tables.
inline constexpr int kMaxTitleLines = 5;
inline constexpr int kMaxSections = 20;
inline constexpr int kMaxSectionRows = 2 * kMaxSections;
inline constexpr int kMaxSoilLayers = 80;
inline constexpr int kMaxUserPyLayers = 40;       // user p-y curves: first 40 layers, two curves each
inline constexpr int kMaxUserPyCurves = 2 * kMaxUserPyLayers;
inline constexpr int kMaxUserPyPoints = 30;
inline constexpr int kMaxConcreteCurvePoints = 100;
inline constexpr int kMaxBars = 300;              // bars or strands per section
inline constexpr int kMaxUserEIThrustLevels = 100;
inline constexpr int kMaxUserEIPoints = 150;
inline constexpr int kMaxPileHeadLoads = 100;
inline constexpr int kMaxDistributedLoadPoints = 50;
inline constexpr int kMaxLrfdLoads = 100;
inline constexpr int kMaxLrfdDistributedPoints = 100;
inline constexpr int kMaxLrfdCombinations = 100;
inline constexpr int kLrfdLoadTypes = 13;
inline constexpr int kMaxTipShearPoints = 50;
inline constexpr int kMaxPyModifierPoints = 80;
inline constexpr int kMaxSoilMovementPoints = 100;
inline constexpr int kMinSoilMovementPoints = 2;
inline constexpr int kMaxPyOutputDepths = 100;
inline constexpr int kMaxAxialThrusts = 100;

enum class UnitSystem : std::int32_t { USCS = 1, SI = 2, GENERAL = 3 };

struct AnalysisOptions {
    UnitSystem Units = UnitSystem::USCS;
    bool UseLrfd = false;
    bool ComputeKmatrix = false;
    bool UseTipShear = false;
    bool UseSoilMovement = false;
    bool UsePyModifiers = false;
    std::int32_t AnalysisMode = 3;      // 1..5, see the run sequence
    bool CyclicLoading = false;
    double NumberOfCycles = 0.0;
    std::int32_t IterationLimit = 0;
    double MaxAllowableDeflection = 0.0;
    double ConvergenceTolerance = 0.0;
    std::int32_t NumberOfIncrements = 0;
    bool PrintSummaryOnly = false;
    std::int32_t PrintIncrement = 0;
    bool PrintPyCurves = false;
    bool ComputeInteraction = false;
    std::int32_t DesignCode = 0;        // 1 AASHTO, 2 ACI318, 3 Eurocode2
};

// Section types as the input file numbers them.
enum SectionTypeCode : std::int32_t {
    kRectangularConcrete = 0,
    kDrilledShaft = 1,
    kDrilledShaftWithCasing = 2,
    kDrilledShaftWithCasingAndCore = 3,
    kSteelPipe = 4,
    kCircularSolidPrestressed = 5,
    kCircularHollowPrestressed = 6,
    kSquareSolidPrestressed = 7,
    kSquareHollowPrestressed = 8,
    kOctagonalSolidPrestressed = 9,
    kOctagonalHollowPrestressed = 10,
    kElasticPile = 11,
    kElasticPlastic = 12,
    kUserDefinedEI = 13,
    kMicropile = 14,
};

struct ConcreteData {
    double ConcreteStrength = 0.0;
    double MaxAggregateSize = 0.0;             // (mm)
    bool UseDefaultTensileStrength = true;
    double TensileStrength = 0.0;
    bool UseInputStressStrain = false;
    std::vector<std::array<double, 2>> ConcreteCurve;  // (strain, stress)
};

struct BarRecord {
    std::int32_t BarSizeCode = 0;
    double BarDiameter = 0.0;  // (mm)
    double BarArea = 0.0;      // (mm^2)
    double BarX = 0.0;         // (mm)
    double BarY = 0.0;         // (mm)
};

struct RebarData {
    std::int32_t BarCount = 0;
    bool RebarSameAsAbove = false;
    bool RebarInCircle = false;
    double RebarYieldStress = 0.0;
    double RebarModulus = 0.0;
    // circular pattern
    std::int32_t BarPositions = 0;
    std::int32_t BarsPerBundle = 0;
    double BarDiameter = 0.0;    // (mm)
    double BarArea = 0.0;        // (mm^2)
    double ConcreteCover = 0.0;  // (mm)
    double RebarOffset = 0.0;    // (mm)
    // Per-bar data, BarCount entries: listed, or for a circular cage generated
    // by the reader (positions round the circle, RebarOffset added to y, every
    // bar with BarDiameter and BarArea).
    std::vector<BarRecord> Bars;
};

struct StrandData {
    bool AutoPositionStrands = false;
    std::int32_t StrandTypeCode = 0;
    std::int32_t StrandCount = 0;
    double InitialPrestressForce = 0.0;
    double PrestressLossFraction = 0.0;
    double StrandCover = 0.0;     // (mm), automatic positioning
    std::int32_t StrandPattern = 0;
    std::int32_t StrandSizeCode = 0;  // automatic positioning: the size of every strand
    // Representative strand of the section: diameter and area of strand 1, from
    // the strand property table (in and in^2, or m and m^2 for SI).
    double StrandDiameter = 0.0;
    double StrandArea = 0.0;
    // Size code, diameter, area and position of each strand.
    std::vector<BarRecord> Strands;
};

struct ElasticData {
    std::int32_t ElasticShape = 0;  // 1 rect, 2 circ, 3 pipe, 4 strong H, 5 weak H, 6 embedded pole
    double ElasticModulus = 0.0;
    double PlasticMomentTop = 0.0;
    double PlasticMomentBottom = 0.0;
    double WidthTop = 0.0, WidthBottom = 0.0;    // (mm)
    double DepthTop = 0.0, DepthBottom = 0.0;    // (mm)
    double FlangeThickness = 0.0;                 // (mm)
    double WebThickness = 0.0;                    // (mm)
    double AreaTop = 0.0, AreaBottom = 0.0;       // (mm^2)
    double InertiaTop = 0.0, InertiaBottom = 0.0; // (mm^4)
    double DrilledHoleDiameter = 0.0;             // (mm)
};

struct UserEIThrustLevel {
    double AxialThrust = 0.0;
    std::vector<std::array<double, 2>> Points;  // (bending moment, EI)
};

struct UserEIData {
    std::vector<UserEIThrustLevel> ThrustLevels;
};

struct PileSection {
    std::int32_t SectionType = 0;
    double SectionLength = 0.0;
    double SectionTopDepth = 0.0;
    double SectionBottomDepth = 0.0;
    double SectionWidth = 0.0;          // (mm) width facing the soil
    double RectDepth = 0.0;             // (mm)
    double RectWidth = 0.0;             // (mm)
    double SteelThickness = 0.0;        // (mm)
    double SteelYieldStress = 0.0;
    double SteelModulus = 0.0;
    double CoreDiameter = 0.0;          // (mm)
    double CoreThickness = 0.0;         // (mm)
    double CoreYieldStress = 0.0;
    double CoreModulus = 0.0;
    bool b_FillCoreWithConcrete = false;
    double VoidDiameter = 0.0;          // (mm)
    double CornerChamfer = 0.0;         // (mm)
    ConcreteData Concrete;
    RebarData Rebar;
    StrandData Strand;
    ElasticData Elastic;
    UserEIData UserEI;
};

struct SectionPropertyRow {
    double Depth = 0.0;
    double Width = 0.0;
    double Inertia = 0.0;
    double Modulus = 0.0;
    double Area = 0.0;
    double StructuralWidth = 0.0;  // embedded pole only
};

// Soil model codes as the input file numbers them.
enum SoilModelCode : std::int32_t {
    kSoftClay = 1, kStiffClayWithWater = 2, kStiffClayWithoutWater = 3, kStiffClayWithK = 4,
    kSand = 5, kApiSand = 6, kLiquefiedSand = 7, kWeakRock = 8, kVuggyLimestone = 9,
    kPiedmont = 10, kCementedSilt = 11, kLoess = 12, kElasticSubgrade = 13, kUserPy = 14,
    kSoftClayJ = 15, kMassiveRock = 16, kFrozenSoil = 17,
};
inline constexpr int kSoilModelSlots = 20;

struct SoilPointParams {
    double Depth = 0.0;
    double EffUnitWeight = 0.0;
    double Cohesion = 0.0;            // also Qu of rock layers
    double Epsilon50 = 0.0;           // also Krm of weak rock
    double SubgradeK = 0.0;           // also RockModulusEir of weak rock
    double FrictionAngle = 0.0;
    double RQD = 0.0;
    double PiedmontTestType = 0.0;
    double N60 = 0.0;
    double ConeTipResistance = 0.0;
    double DilatometerModulus = 0.0;
    double PressuremeterModulus = 0.0;
    double ElasticSubgradeModulus = 0.0;
    double J = 0.0;
};

struct UserPyCurve {
    double Depth = 0.0;
    std::vector<std::array<double, 2>> Points;  // (y, p)
};

struct SoilLayer {
    std::int32_t KSOIL = 0;
    double XLayerTop = 0.0;
    double XLayerBottom = 0.0;
    SoilPointParams Top;
    SoilPointParams Bottom;
    UserPyCurve UserCurveTop;
    UserPyCurve UserCurveBottom;
};

enum LoadingTypeCode : std::int32_t {
    kShearAndMoment = 1, kShearAndSlope = 2, kShearAndRotationalStiffness = 3,
    kDeflectionAndMoment = 4, kDeflectionAndSlope = 5,
};

struct PileHeadLoad {
    std::int32_t LoadingType = 1;
    double Condition1 = 0.0;
    double Condition2 = 0.0;
    double AxialThrust = 0.0;
    bool ComputeTopDeflVsLength = false;
};

struct LrfdLoad {
    std::int32_t LrfdLoadType = 0;
    double HorizontalForce = 0.0;
    double Moment = 0.0;
    double AxialForce = 0.0;
    std::vector<std::array<double, 2>> DistributedLoad;  // (depth, intensity)
};

struct LrfdCombination {
    std::array<double, kLrfdLoadTypes> LoadFactors{};
    double MomentResistanceFactor = 0.0;
    double ShearResistanceFactor = 0.0;
    std::string Name;
    // Formed from the loading groups when the loads are echoed (see
    // pile/lrfd_factoring.hpp): factored shear, moment and axial force (after
    // the batter transformation when it applies) and the 1-based position of
    // the axial force in AxialThrustList.
    double FactoredShear = 0.0;
    double FactoredMoment = 0.0;
    double FactoredAxial = 0.0;
    std::int32_t ThrustIndex = 0;
};

struct PyModifierPoint {
    double Depth = 0.0;
    double PMultiplier = 1.0;
    double YMultiplier = 1.0;
};

struct ProblemData {
    std::array<std::string, kMaxTitleLines> TitleLines;
    AnalysisOptions Options;

    std::vector<PileSection> Sections;
    double PileTotalLength = 0.0;
    std::vector<SectionPropertyRow> SectionPropertyTable;

    std::vector<SoilLayer> Layers;   // i_Number_of_Layers = Layers.size()
    double GroundSurfaceDepth = 0.0;
    // Layers (1-based numbers, in input order) whose massive-rock values came
    // from the optional MASSIVE ROCK block; the values are in the layers.
    std::vector<std::int32_t> MassiveRockLayers;

    std::vector<std::array<double, 2>> TipShearCurve;  // (displacement, force)
    double GroundSlopeAngle = 0.0;   // radians
    double PileBatterAngle = 0.0;    // radians
    double SlopeMinusBatter = 0.0;   // radians

    std::int32_t PyModifierCount = 0;  // set by the options (1/0) until the profile is read
    std::vector<PyModifierPoint> PyModifierProfile;
    std::vector<std::array<double, 2>> SoilMovementProfile;  // (depth, movement)
    std::vector<double> PyOutputDepths;

    std::vector<PileHeadLoad> PileHeadLoads;
    std::vector<std::array<double, 2>> DistributedLoad;  // (depth, intensity)

    std::vector<LrfdLoad> LrfdLoads;
    std::vector<LrfdCombination> LrfdCombinations;

    std::vector<double> AxialThrustList;  // distinct, ascending

    // Indicator of a top-deflection-versus-length study set by previous-format files.
    std::int32_t KYL = 0;

    int i_Number_of_Layers() const { return static_cast<int>(Layers.size()); }
};

// Joins the soil layers top down: the first starts at the ground surface and
// each of the others at the bottom of the one above it, so that the profile
// has neither gaps nor overlaps.
void MakeLayersContiguous(ProblemData& problem);

}  // namespace trevasc::model
