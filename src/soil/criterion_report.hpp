// The printed form of one p-y curve at an output depth. A criterion computes
// the curve and describes it here (title, labelled parameters, column
// headings, the points as printed and any notes); one writer prints the block
// in the report and the curve's records in the plot file, from the plot texts
// of the criteria table.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/units.hpp"
#include "report/fortran_format.hpp"
#include "report/report_helpers.hpp"
#include "run/run_context.hpp"
#include "soil/py_framework.hpp"

namespace trevasc::soil {

// How the two numbers of a printed curve point are laid out.
enum class PointFields {
    kAdaptive,           // 3X, y in 12 adaptive columns, 5X, p in 12 adaptive columns
    kFixed,              // y as F15.4, p as F17.3
    kFixedFourDecimals,  // y as F15.4, five blanks, p as F15.4
};

class PyCurveReport {
public:
    // `equals_column` is where "= " of a labelled value starts.
    explicit PyCurveReport(int equals_column, PointFields fields = PointFields::kAdaptive)
        : equals_column_(equals_column), fields_(fields) {}

    // A curve of cyclic loading takes the cyclic soil text of the plot
    // records where its criterion has one.
    void SetCyclic(bool cyclic) { cyclic_ = cyclic; }
    bool Cyclic() const { return cyclic_; }

    // A line of text (an empty one for a blank line).
    void Line(std::string text) { items_.push_back({Item::kText, std::move(text), {}, 0, 0, 0.0, 0.0}); }
    void Blank(int count = 1) {
        for (int i = 0; i < count; ++i) Line({});
    }
    // The opening most blocks share: two blank lines, the title, a blank
    // line and the number of the soil layer in `layer_width` columns.
    void Opening(std::string title, int layer, int layer_width) {
        Blank(2);
        Line(std::move(title));
        Blank();
        Labelled("Soil Layer Number", report::fmt::I(layer, layer_width));
    }
    // "label" then "= value" at the block's equals column, or at `column`.
    void Labelled(std::string label, std::string value) { Labelled(std::move(label), equals_column_, std::move(value)); }
    void Labelled(std::string label, int column, std::string value) {
        items_.push_back({Item::kLabelled, std::move(label), std::move(value), column, 0, 0.0, 0.0});
    }
    // Column headings: `first` from column `first_column`, `second` from
    // `second_column` (1-based).
    void Columns(int first_column, std::string first, int second_column, std::string second) {
        items_.push_back({Item::kColumns, std::move(first), std::move(second), first_column, second_column, 0.0, 0.0});
    }
    // One curve point as printed (multipliers applied), with an optional
    // mark after it. Each point is also one record of the plot file.
    void Point(double y, double p, std::string mark = {}) {
        items_.push_back({Item::kPoint, std::move(mark), {}, 0, 0, y, p});
    }

    struct Item {
        enum Kind { kText, kLabelled, kColumns, kPoint } kind;
        std::string text;   // text, label, first heading or point mark
        std::string value;  // labelled value or second heading
        int column;         // equals column or first heading column
        int second_column;  // second heading column
        double y;
        double p;
    };
    const std::vector<Item>& Items() const { return items_; }
    PointFields Fields() const { return fields_; }

private:
    int equals_column_;
    PointFields fields_;
    bool cyclic_ = false;
    std::vector<Item> items_;
};

// Prints `curve` for the output depth `node` in soil layer `layer`: its lines
// in the report, plot Line 7 before its first point and one plot Line 8 for
// each point, with the plot labels of the layer's criterion.
void WritePyCurveReport(run::RunContext& ctx, int layer, const PyNode& node, const PyCurveReport& curve);

namespace py_report {

// Unit texts of the curve blocks: "in", "lbs/in", "lbs/in**2", "lbs/in**3"
// (kN and m in SI, F and L in general units).
struct Units {
    std::string length;
    std::string force_per_length;
    std::string stress;       // force/length**2
    std::string unit_weight;  // force/length**3
};

inline Units MakeUnits(const model::UnitLabels& u) {
    Units units;
    units.length = report::TrimRight(u.Length);
    units.force_per_length = report::TrimRight(u.Force3) + u.Divide + units.length;
    units.stress = units.force_per_length + u.Power + u.Exp2;
    units.unit_weight = units.force_per_length + u.Power + u.Exp3;
    return units;
}

}  // namespace py_report
}  // namespace trevasc::soil
