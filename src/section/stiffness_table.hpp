// Results of section analysis handed to the pile model: for every pile section
// and axial thrust level, the moment, bending stiffness and curvature points
// and the nominal moment capacity.
#pragma once

#include <vector>

namespace trevasc {

struct StiffnessPoint {
    double Moment = 0.0;
    double EI = 0.0;
    double Curvature = 0.0;
};

struct ThrustLevelCurve {
    double AxialThrust = 0.0;
    double NominalMomentCapacity = 0.0;
    std::vector<StiffnessPoint> Points;
};

struct SectionStiffness {
    std::vector<ThrustLevelCurve> Levels;
};

struct SectionStiffnessTable {
    std::vector<SectionStiffness> Sections;  // one per pile section, in order
};

}  // namespace trevasc
