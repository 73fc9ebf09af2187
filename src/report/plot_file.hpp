// Writer of the plot output file's records. Every record is written from its
// layout in include/trevasc/plot_records.hpp, the one description of the
// file that the host's reader uses too: the writer supplies the values in
// format order and the layout places them, with the blanks and label texts
// between them.
#pragma once

#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

#include "report/output_channel.hpp"
#include "trevasc/plot_records.hpp"

namespace trevasc::report {

// One value of a record: an integer for Iw, a real for Ew.d, a text for A.
class PlotValue {
public:
    enum class Type { kInteger, kReal, kText };

    template <std::integral Integer>
    PlotValue(Integer value) : type_(Type::kInteger), integer_(static_cast<std::int64_t>(value)) {}
    PlotValue(double value) : type_(Type::kReal), real_(value) {}
    PlotValue(std::string_view text) : type_(Type::kText), text_(text) {}
    PlotValue(const char* text) : type_(Type::kText), text_(text) {}

    Type type() const { return type_; }
    std::int64_t integer() const { return integer_; }
    double real() const { return real_; }
    std::string_view text() const { return text_; }

private:
    Type type_;
    std::int64_t integer_ = 0;
    double real_ = 0.0;
    std::string_view text_;
};

// Writes one record of `layout` with `values` in format order, e.g.
//   WritePlotRecord(plot, plot::kLine9, {cases, nodes, units});
// A p-y output curve takes its labels from its criterion's entry,
// `const plot::PyCurveLabels& labels = *plot::PyCurveLabelsOf("SoftClay")`:
//   WritePlotRecord(plot, plot::kLine7, {depth, plot::kPyCurvePoints, labels.line7, curve_number});
//   WritePlotRecord(plot, *labels.line8, {y, p, j, labels.line8_soil});  // line8_cyclic for cyclic loading
// and a depth above the ground surface
//   WritePlotRecord(plot, plot::kLine7AboveGround, {depth, 0}); A value whose
// type does not match its descriptor, or a count that differs from the
// layout's, is a fault of the caller: std::logic_error, nothing written.
void WritePlotRecord(OutputChannel& plot, const plot::Layout& layout, std::span<const PlotValue> values);
inline void WritePlotRecord(OutputChannel& plot, const plot::Layout& layout, std::initializer_list<PlotValue> values) {
    WritePlotRecord(plot, layout, std::span<const PlotValue>(values.begin(), values.size()));
}

}  // namespace trevasc::report
