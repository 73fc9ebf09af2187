// Results of section analysis handed to the pile model: for every pile section
// and axial thrust level, the moment, bending stiffness and curvature points
// and the nominal moment capacity.
//
// Indexing. Sections[s - 1] is pile section s (1-based, in input order).
// Levels[t - 1] is thrust index t; its thrust is entry t of
// ProblemData::AxialThrustList, which section analysis overwrites with the
// thrusts it analysed (and copies into ThrustLevelCurve::AxialThrust). A level
// whose Points vector is empty carries no curve and must not be interpolated.
//
// Units ("table units"):
//   USCS     moments in kip-in, EI in kip-in^2, curvature in rad/in, thrust in
//            kips. NominalMomentCapacity is in in-lb (the moment of the curve
//            multiplied by 1000), as the design hands it over.
//   SI       kN-m, kN-m^2, rad/m, kN; capacity in kN-m.
//   GENERAL  the consistent units of the input.
// Update_Nonlinear_EI therefore compares |M|/1000 (USCS) with the points and
// multiplies the EI it derives by 1000 (USCS) before it stores it in a node.
//
// Kinds of section (SectionStiffness::Source):
//   MomentCurvature  SectionType 0..10: computed curves, one per analysed thrust.
//   Elastic          SectionType 11: 150 points of constant EI on every level;
//                    the pile model keeps the EI of the property table instead.
//   ElasticPlastic   SectionType 12: 150 points (elastic to Mp at point 100,
//                    then M = Mp); the pile model uses PlasticMomentAt() and
//                    the elastic EI of the property table (Update_Nonlinear_EI
//                    step 4). For a tapered section PlasticMomentAt and
//                    ElasticStiffnessAt interpolate linearly over the section.
//   UserDefined      SectionType 13: one level per input thrust level.
//   None             no curve (SectionType 14, or a section not analysed).
#pragma once

#include <vector>

namespace trevasc::model {

struct StiffnessPoint {
    double Moment = 0.0;
    double EI = 0.0;
    double Curvature = 0.0;
};

struct ThrustLevelCurve {
    double AxialThrust = 0.0;            // thrust of this level (table units)
    double NominalMomentCapacity = 0.0;  // in-lb for USCS (see above)
    std::vector<StiffnessPoint> Points;  // at most kMaxStiffnessPoints
};

inline constexpr int kMaxStiffnessPoints = 150;

enum class StiffnessSource { None, MomentCurvature, Elastic, ElasticPlastic, UserDefined };

struct SectionStiffness {
    StiffnessSource Source = StiffnessSource::None;
    int SectionType = -1;
    std::vector<ThrustLevelCurve> Levels;

    // Elastic-plastic data (SectionType 12), in table units. Depths are the
    // section's top and bottom depths along the pile (computation units).
    bool b_Tapered = false;
    double TopDepth = 0.0;
    double BottomDepth = 0.0;
    double PlasticMomentTop = 0.0;
    double PlasticMomentBottom = 0.0;
    double ElasticEITop = 0.0;
    double ElasticEIBottom = 0.0;

    // Plastic moment at depth x (table units). Inside a tapered section,
    // Mp(x) = Mp_bottom - (x_bottom - x) (Mp_bottom - Mp_top) / L; otherwise
    // the top value.
    double PlasticMomentAt(double x) const {
        return Interpolated(PlasticMomentTop, PlasticMomentBottom, x);
    }
    // Elastic bending stiffness E I at depth x (table units), interpolated
    // the same way.
    double ElasticStiffnessAt(double x) const { return Interpolated(ElasticEITop, ElasticEIBottom, x); }

private:
    double Interpolated(double top, double bottom, double x) const {
        const double length = BottomDepth - TopDepth;
        if (!b_Tapered || !(length > 0.0) || x <= TopDepth || x > BottomDepth) return top;
        return bottom - (BottomDepth - x) * (bottom - top) / length;
    }
};

struct SectionStiffnessTable {
    std::vector<SectionStiffness> Sections;  // one per pile section, in order

    // The axial thrust list as the input left it (before the first section
    // overwrote its entries): every section filters its thrusts from this copy.
    bool InputThrustsCaptured = false;
    std::vector<double> InputThrusts;
};

}  // namespace trevasc::model
