// The pile's section properties at any depth, read from the section property
// table of the model: what the node set-up, the soil criteria (the width
// facing the soil) and the readers of the earlier formats ask of it.
#pragma once

#include "model/problem_data.hpp"

namespace trevasc::model {

// Properties of the pile at one depth, from the section property table.
struct PileProperties {
    double Width = 0.0;
    double Inertia = 0.0;
    double Area = 0.0;
    double Modulus = 0.0;
    double EI = 0.0;               // interpolated between the rows' products E*I
    double StructuralWidth = 0.0;  // embedded pole only
};

// Properties at depth `a` below the pile head. Between two rows every value is
// interpolated linearly in depth; at a depth shared by two rows (a section
// boundary) the lower section's row is used.
PileProperties Lookup_Pile_Properties(const ProblemData& problem, double a);

}  // namespace trevasc::model
