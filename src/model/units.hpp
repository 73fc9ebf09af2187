// Unit labels of the run's unit system, and the conversion of US customary
// input (feet, pounds per square foot, pounds per cubic foot) to the pounds and
// inches the analysis works in. SI input is used as read (kN and m) and
// GENERAL input in whatever consistent units the user chose.
#pragma once

#include <string>

#include "model/problem_data.hpp"
#include "trevasc/units.hpp"

namespace trevasc::model {

// Steel stresses and moduli of US customary sections are read in psi; the
// material laws work in ksi.
inline constexpr double kPsiPerKsi = 1000.0;
inline constexpr double kKpaPerMpa = 1000.0;
// Strains that design codes tabulate in per mille (EN 1992-1-1 Table 3.1).
inline constexpr double kPerMille = 1000.0;

// Short unit texts printed next to numbers; each keeps its fixed width.
struct UnitLabels {
    std::string Length;        // 3: "in " / "m  " / "L  "
    std::string Force4;        // 4: "lbs " / "kN  " / "F   "
    std::string Force3;        // 3: "lbs" / "kN " / "F  "
    std::string Divide = "/";
    std::string Hyphen = "-";
    std::string Power = "**";
    std::string Exp2 = "2";
    std::string Exp3 = "3";
    std::string Blanks2 = "  ";
    std::string Exp4 = "4";
    std::string Moment;        // 5: "in-lb" / "kN-m " / "F-L  "
    std::string ForcePerLength;// 5: "lb/in" / "kN/m " / "F/L  "
    std::string UnitWeight;    // 5: "pcf  " / "kN/m3" / "F/L3 "
    std::string Stress;        // 4: "psf " / "kPa " / "F/L2"
    std::string DepthUnit;     // 2: "ft" / "m " / "L "
    std::string SmallLength;   // 2: "in" / "mm" / "L "
    std::string Length2;       // 2: "in" / "m " / "L "

    // The 44-character block in its fixed order.
    std::string Block() const;
};

UnitLabels MakeUnitLabels(UnitSystem units);

// Converts US customary input to pounds and inches, in place. Does nothing when
// `conversion_done` is already set, and sets it, so a second call is harmless.
void ConvertUscsUnits(ProblemData& problem, bool& conversion_done);

}  // namespace trevasc::model
