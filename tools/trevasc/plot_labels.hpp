// Labels of the plot output file's records: which kind a record is, and
// which variant of its kind its label names, from the labels of
// include/trevasc/plot_records.hpp.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "plot_fields.hpp"
#include "plot_file.hpp"
#include "trevasc/plot_records.hpp"

namespace trevasc::host {

// The record kind whose label opens at that kind's label column ("Line n"
// followed by a blank, a colon or a parenthesis), or 0.
int Classify(std::string_view text);
// What a record is, for a message about finding it where another belonged.
std::string Describe(const PlotRecord& record);

// The label must read `expected`.
void ExpectLabel(const FieldReader& fields, const PlotRecord& record, std::string_view label,
                 std::string_view expected);
// True when the record holds `prefix` from `column` on.
bool LabelStartsAt(const PlotRecord& record, int column, std::string_view prefix);
// A label made of `prefix` and an I0 number; nullopt when the prefix differs.
std::optional<int> NumberAfter(std::string_view label, std::string_view prefix);
// The label of `layout` from its opening up to its first supplied text (or
// to its end), with `numbers` in its integer fields in order.
std::string ComposeLabel(const plot::Layout& layout, std::initializer_list<int> numbers);

// Line 3: where the thrust levels came from; nullopt for an unknown label.
std::optional<ThrustListSource> ThrustListSourceOf(std::string_view label);

// Line 4: the curve's source and the opening of its Line 5 labels; nullptr
// for an unknown label.
struct SectionCurveLabel {
    SectionCurveSource source;
    std::string_view line5;  // before the section number
};
std::optional<SectionCurveLabel> SectionCurveLabelOf(std::string_view line4_label);
// Line 5: "S, AxLd#=T, CurvPnt#=P" after the label's opening.
struct CurveNumbers {
    int section;
    int thrust;
    int point;
};
CurveNumbers Line5Numbers(const FieldReader& fields, const PlotRecord& record, std::string_view rest);

// Line 7: the criterion its label names and the curve number; nullopt for an
// unknown label (the above-ground label included).
struct PyCurveLabel {
    const plot::PyCurveLabels* criterion;
    int curve_number;
};
std::optional<PyCurveLabel> PyCurveLabelOf(std::string_view label);
// Line 8: checks "Line 8(" point "): y, p, for " soil text for point
// `expected_point` of a curve of `criterion`; returns the loading it names
// ("static" or "cyclic" for a criterion with two texts, else empty).
std::string Line8Loading(const FieldReader& fields, const PlotRecord& record, std::string_view label,
                         const plot::PyCurveLabels& criterion, int expected_point);

// Line 10: the node number of a well-formed label.
int Line10Node(const FieldReader& fields, const PlotRecord& record, std::string_view label);

// Line 11: its variant and case number; nullopt for an unknown label.
struct LengthStudyHeader {
    LengthStudyLabel kind;
    int case_number;
};
std::optional<LengthStudyHeader> LengthStudyHeaderOf(std::string_view label);

}  // namespace trevasc::host
