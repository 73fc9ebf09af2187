#include "report/plot_file.hpp"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "model/pile_model.hpp"
#include "model/problem_data.hpp"
#include "model/stiffness_table.hpp"
#include "report/fortran_format.hpp"

namespace trevasc::report {
namespace {

// The counts a reader of the file accepts are the engine's capacities.
static_assert(plot::kMaxSections == model::kMaxSections);
static_assert(plot::kMaxThrustLevels == model::kMaxAxialThrusts);
static_assert(plot::kMaxCurvePoints == model::kMaxStiffnessPoints);
static_assert(plot::kMaxPyDepths == model::kMaxPyOutputDepths);
static_assert(plot::kMaxLoadCases == model::kMaxLoadCases && plot::kMaxLoadCases == model::kMaxLrfdCombinations);
static_assert(plot::kMaxNodes == model::kMaxNodes);

// Room for a record: every field, the label's column and its text, so that
// forming one does not grow the string field by field.
constexpr std::size_t kRecordRoom = 192;

[[noreturn]] void FailLayout(const plot::Layout& layout, const std::string& what) {
    throw std::logic_error("plot record Line " + std::to_string(layout.kind()) + ": " + what);
}

}  // namespace

void WritePlotRecord(OutputChannel& plot, const plot::Layout& layout, std::span<const PlotValue> values) {
    // The record is formed first, so that a mismatch leaves the file untouched.
    // The count of values is checked as they are taken: a layout's count is
    // formed only for the message of a mismatch.
    const auto fail_count = [&] {
        FailLayout(layout, std::to_string(values.size()) + " values for " + std::to_string(layout.ValueCount()) +
                               " fields");
    };
    std::string& record = plot.RecordScratch();
    record.reserve(kRecordRoom);
    auto value = values.begin();
    for (const plot::Descriptor& d : layout.format()) {
        using plot::Edit;
        const auto expect = [&](PlotValue::Type type) {
            if (value == values.end()) fail_count();
            if (value->type() != type) FailLayout(layout, "a value of the wrong type for its field");
            return *value++;
        };
        switch (d.edit) {
            case Edit::kInteger: {
                const std::int64_t n = expect(PlotValue::Type::kInteger).integer();
                fmt::AppendI(record, n, d.width);  // I0 for a width of 0
                break;
            }
            case Edit::kReal: fmt::AppendE(record, expect(PlotValue::Type::kReal).real(), d.width, d.decimals); break;
            case Edit::kText: record += expect(PlotValue::Type::kText).text(); break;
            case Edit::kBlanks: record.append(static_cast<std::size_t>(std::max(d.width, 0)), ' '); break;
            case Edit::kTab:
                // The fields before a tab never reach its column.
                if (static_cast<int>(record.size()) >= d.width) FailLayout(layout, "fields run past a tab");
                record.resize(static_cast<std::size_t>(d.width - 1), ' ');
                break;
            case Edit::kLiteral: record += d.text; break;
        }
    }
    if (value != values.end()) fail_count();
    plot.ScratchLine();
}

}  // namespace trevasc::report
