#include "model/units.hpp"

namespace trevasc::model {

std::string UnitLabels::Block() const {
    return Length + Force4 + Force3 + Divide + Hyphen + Power + Exp2 + Exp3 + Blanks2 + Exp4 + Moment +
           ForcePerLength + UnitWeight + Stress + DepthUnit + SmallLength + Length2;
}

UnitLabels MakeUnitLabels(UnitSystem units) {
    UnitLabels labels;
    switch (units) {
        case UnitSystem::USCS:
            labels.Length = "in ";
            labels.Force4 = "lbs ";
            labels.Force3 = "lbs";
            labels.Moment = "in-lb";
            labels.ForcePerLength = "lb/in";
            labels.UnitWeight = "pcf  ";
            labels.Stress = "psf ";
            labels.DepthUnit = "ft";
            labels.SmallLength = "in";
            labels.Length2 = "in";
            break;
        case UnitSystem::SI:
            labels.Length = "m  ";
            labels.Force4 = "kN  ";
            labels.Force3 = "kN ";
            labels.Moment = "kN-m ";
            labels.ForcePerLength = "kN/m ";
            labels.UnitWeight = "kN/m3";
            labels.Stress = "kPa ";
            labels.DepthUnit = "m ";
            labels.SmallLength = "mm";
            labels.Length2 = "m ";
            break;
        case UnitSystem::GENERAL:
            labels.Length = "L  ";
            labels.Force4 = "F   ";
            labels.Force3 = "F  ";
            labels.Moment = "F-L  ";
            labels.ForcePerLength = "F/L  ";
            labels.UnitWeight = "F/L3 ";
            labels.Stress = "F/L2";
            labels.DepthUnit = "L ";
            labels.SmallLength = "L ";
            labels.Length2 = "L ";
            break;
    }
    return labels;
}

void ConvertUscsUnits(ProblemData& problem, bool& conversion_done) {
    if (conversion_done) return;
    conversion_done = true;

    problem.PileTotalLength *= kInchesPerFoot;
    problem.GroundSurfaceDepth *= kInchesPerFoot;
    for (SoilLayer& layer : problem.Layers) {
        layer.XLayerTop *= kInchesPerFoot;
        layer.XLayerBottom *= kInchesPerFoot;
        // Rock strengths are entered in psi already; soil strengths in psf.
        const bool rock = layer.KSOIL == kWeakRock || layer.KSOIL == kVuggyLimestone;
        for (SoilPointParams* point : {&layer.Top, &layer.Bottom}) {
            point->Depth *= kInchesPerFoot;
            point->EffUnitWeight /= kCubicInchesPerCubicFoot;
            if (!rock) point->Cohesion /= kSquareInchesPerSquareFoot;
        }
        layer.UserCurveTop.Depth *= kInchesPerFoot;
        layer.UserCurveBottom.Depth *= kInchesPerFoot;
    }
    for (SectionPropertyRow& row : problem.SectionPropertyTable) row.Depth *= kInchesPerFoot;
    for (PileSection& section : problem.Sections) {
        section.SectionLength *= kInchesPerFoot;
        section.SectionTopDepth *= kInchesPerFoot;
        section.SectionBottomDepth *= kInchesPerFoot;
    }
    for (double& depth : problem.PyOutputDepths) depth *= kInchesPerFoot;
    for (PyModifierPoint& point : problem.PyModifierProfile) point.Depth *= kInchesPerFoot;
    for (auto& point : problem.SoilMovementProfile) point[0] *= kInchesPerFoot;
}

}  // namespace trevasc::model
