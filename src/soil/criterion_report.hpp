// Pieces of the report-mode block that the clay and sand criteria share: the
// unit texts composed from the run's labels, labelled value lines, the curve
// point line and plot Lines 7 and 8.
#pragma once

#include <string>
#include <string_view>

#include "model/units.hpp"
#include "report/fortran_format.hpp"
#include "report/output_channel.hpp"
#include "report/report_helpers.hpp"
#include "soil/py_framework.hpp"

namespace trevasc::py_report {

// Unit texts of the curve blocks: "in", "lbs/in", "lbs/in**2", "lbs/in**3"
// (kN and m in SI, F and L in general units).
struct Units {
    std::string length;
    std::string force_per_length;
    std::string stress;       // force/length**2
    std::string unit_weight;  // force/length**3
};

inline Units MakeUnits(const UnitLabels& u) {
    Units units;
    units.length = TrimRight(u.Length);
    units.force_per_length = TrimRight(u.Force3) + u.Divide + units.length;
    units.stress = units.force_per_length + u.Power + u.Exp2;
    units.unit_weight = units.force_per_length + u.Power + u.Exp3;
    return units;
}

// A label padded so that "= " starts in column `kEqualsColumn`, then the value.
inline void Labelled(OutputChannel& report, std::string_view label, int kEqualsColumn, const std::string& value) {
    report.Write(label);
    report.Tab(kEqualsColumn);
    report.Write("= ");
    report.Line(value);
}

// One curve point in the 12-wide adaptive number fields, with an optional
// mark after it; the record is ended.
inline void PointLine(OutputChannel& report, double y, double p, std::string_view mark = {}) {
    report.Write("   ");
    WriteAdaptiveNumber(report, y, 12);
    report.Write("     ");
    WriteAdaptiveNumber(report, p, 12);
    report.Line(mark);
}

// Plot Line 7: the depth of an output curve and its number of points. The
// text runs up to the curve number, which follows it.
inline std::string PlotLine7(double depth, std::string_view text, int curve_number) {
    return fmt::E(depth, 15, 7) + fmt::I(kReportPoints, 5) + fmt::X(60) + std::string(text) + fmt::I0(curve_number);
}

// Plot Line 8: one point (y, p) of an output curve; `soil` completes
// "): y, p, for ".
inline std::string PlotLine8(double y, double p, int j, std::string_view soil) {
    return fmt::E(y, 15, 7) + fmt::E(p, 15, 7) + fmt::X(50) + "Line 8(" + fmt::I(j, 2) + "): y, p, for " +
           std::string(soil);
}

}  // namespace trevasc::py_report
