#include "plot_labels.hpp"

#include <algorithm>
#include <array>

namespace trevasc::host {

int Classify(std::string_view text) {
    for (const plot::Layout* layout : plot::kLayouts) {
        // The opening of the label: its leading blanks (Line 14 has two) and "Line n".
        const std::string_view fixed = layout->FixedLabel();
        const std::size_t blanks = std::min(fixed.find_first_not_of(' '), fixed.size());
        const std::string opening = std::string(fixed.substr(0, blanks)) + "Line " + std::to_string(layout->kind());
        const std::size_t at = static_cast<std::size_t>(layout->LabelColumn() - 1);
        if (text.size() <= at + opening.size() || text.substr(at, opening.size()) != opening) continue;
        const char after = text[at + opening.size()];
        if (after == ' ' || after == ':' || after == '(') return layout->kind();
    }
    return 0;
}

std::string Describe(const PlotRecord& record) {
    if (record.kind != 0) return KindName(record.kind);
    const std::size_t at = record.text.find("Line ");
    if (at != std::string::npos) {
        return "the label " + Quote(record.text.substr(at, 8)) + " in column " + std::to_string(at + 1) +
               ", where no record has its label";
    }
    return "a line without a record label: " + Quote(record.text);
}

void ExpectLabel(const FieldReader& fields, const PlotRecord& record, std::string_view label,
                 std::string_view expected) {
    if (label != expected) {
        fields.Fail(record.line, "the label of " + KindName(record.kind) + " should read " + Quote(expected) +
                                     ", found " + Quote(label));
    }
}

bool LabelStartsAt(const PlotRecord& record, int column, std::string_view prefix) {
    const std::size_t at = static_cast<std::size_t>(column - 1);
    return record.text.size() >= at + prefix.size() && std::string_view(record.text).substr(at, prefix.size()) == prefix;
}

std::optional<int> NumberAfter(std::string_view label, std::string_view prefix) {
    if (label.substr(0, prefix.size()) != prefix) return std::nullopt;
    const std::string_view digits = label.substr(prefix.size());
    if (!AllDigits(digits) || digits.size() > 9) return std::nullopt;
    return std::stoi(std::string(digits));
}

std::string ComposeLabel(const plot::Layout& layout, std::initializer_list<int> numbers) {
    std::string label;
    const int* number = numbers.begin();
    const auto format = layout.format();
    for (std::size_t i = layout.LabelDescriptor(); i < format.size(); ++i) {
        const plot::Descriptor& d = format[i];
        if (d.edit == plot::Edit::kText) break;
        if (d.edit == plot::Edit::kLiteral) {
            label += d.text;
        } else if (d.edit == plot::Edit::kInteger && number != numbers.end()) {
            std::string digits = std::to_string(*number++);
            if (static_cast<int>(digits.size()) < d.width) digits.insert(0, static_cast<std::size_t>(d.width) - digits.size(), ' ');
            label += digits;
        }
    }
    return label;
}

std::optional<ThrustListSource> ThrustListSourceOf(std::string_view label) {
    for (const plot::SectionCurveLabels& row : plot::kSectionCurveLabels) {
        if (row.line3.empty() || label != row.line3) continue;
        switch (row.source) {
            case plot::SectionCurveSource::kEiOnly: return ThrustListSource::kEiOnly;
            case plot::SectionCurveSource::kLrfd: return ThrustListSource::kLrfd;
            case plot::SectionCurveSource::kElastic: return ThrustListSource::kElasticSection;
            case plot::SectionCurveSource::kElasticPlastic: return ThrustListSource::kElasticPlasticSection;
            case plot::SectionCurveSource::kPileHeadLoads:
            case plot::SectionCurveSource::kUserDefined: return ThrustListSource::kLoadCases;
        }
    }
    return std::nullopt;
}

std::optional<SectionCurveLabel> SectionCurveLabelOf(std::string_view line4_label) {
    for (const plot::SectionCurveLabels& row : plot::kSectionCurveLabels) {
        if (line4_label != row.line4) continue;
        // The plain labels serve the moment-curvature analysis and user-defined EI alike.
        SectionCurveSource source = SectionCurveSource::kMomentCurvature;
        if (row.source == plot::SectionCurveSource::kElastic) source = SectionCurveSource::kElastic;
        if (row.source == plot::SectionCurveSource::kElasticPlastic) source = SectionCurveSource::kElasticPlastic;
        return SectionCurveLabel{source, row.line5};
    }
    return std::nullopt;
}

CurveNumbers Line5Numbers(const FieldReader& fields, const PlotRecord& record, std::string_view rest) {
    // The quoted texts between the three numbers of the label.
    const auto format = plot::kLine5.format();
    const std::size_t opening = plot::kLine5.LabelDescriptor();
    const std::string_view kThrust = format[opening + 2].text;  // ", AxLd#="
    const std::string_view kPoint = format[opening + 4].text;   // ", CurvPnt#="
    const std::size_t thrust_at = rest.find(kThrust);
    const std::size_t point_at = rest.find(kPoint);
    if (thrust_at != std::string_view::npos && point_at != std::string_view::npos && thrust_at < point_at) {
        const std::string_view s = rest.substr(0, thrust_at);
        const std::string_view t = rest.substr(thrust_at + kThrust.size(), point_at - thrust_at - kThrust.size());
        const std::string_view p = rest.substr(point_at + kPoint.size());
        if (AllDigits(s) && AllDigits(t) && AllDigits(p) && s.size() <= 9 && t.size() <= 9 && p.size() <= 9) {
            return {std::stoi(std::string(s)), std::stoi(std::string(t)), std::stoi(std::string(p))};
        }
    }
    fields.Fail(record.line, "the Line 5 label should end with the section, thrust and point numbers as "
                             "\"S" + std::string(kThrust) + "T" + std::string(kPoint) + "P\", found " + Quote(rest));
}

std::optional<PyCurveLabel> PyCurveLabelOf(std::string_view label) {
    for (const plot::PyCurveLabels& candidate : plot::kPyCurveLabels) {
        if (const auto number = NumberAfter(label, candidate.line7)) return PyCurveLabel{&candidate, *number};
    }
    return std::nullopt;
}

std::string Line8Loading(const FieldReader& fields, const PlotRecord& record, std::string_view label,
                         const plot::PyCurveLabels& criterion, int expected_point) {
    const std::string soil_text(criterion.Line7Soil());
    const std::string prefix = ComposeLabel(*criterion.line8, {expected_point});
    if (label.substr(0, prefix.size()) != prefix) {
        fields.Fail(record.line, "the Line 8 label should start with " + Quote(prefix) + " (point " +
                                     std::to_string(expected_point) + " of a " + soil_text + " curve), found " +
                                     Quote(label));
    }
    const std::string_view soil = label.substr(prefix.size());
    if (soil == criterion.line8_soil) {
        if (!criterion.line8_cyclic.empty()) return "static";
        return "";
    }
    if (!criterion.line8_cyclic.empty() && soil == criterion.line8_cyclic) return "cyclic";
    fields.Fail(record.line, "the Line 8 label names " + Quote(soil) + ", but its Line 7 is a " + soil_text + " curve");
}

int Line10Node(const FieldReader& fields, const PlotRecord& record, std::string_view label) {
    // "Line 10(", the node number in I3, "): nodal depth, y, M, V, p, EI".
    const auto format = plot::kLine10.format();
    const std::size_t opening = plot::kLine10.LabelDescriptor();
    const std::string_view prefix = format[opening].text;
    const std::size_t width = static_cast<std::size_t>(format[opening + 1].width);
    const std::string_view suffix = format[opening + 2].text;
    const std::string_view number = label.substr(std::min(prefix.size(), label.size()), width);
    const std::string_view rest = label.size() > prefix.size() + width ? label.substr(prefix.size() + width) : "";
    const std::string_view digits = TrimLeft(number);
    if (label.substr(0, prefix.size()) != prefix || number.size() != width || !AllDigits(digits) || rest != suffix) {
        fields.Fail(record.line, "the Line 10 label should read \"" + std::string(prefix) + std::string(width, 'n') +
                                     std::string(suffix) + "\" with the node number in three columns, found " +
                                     Quote(label));
    }
    return std::stoi(std::string(digits));
}

std::optional<LengthStudyHeader> LengthStudyHeaderOf(std::string_view label) {
    struct Variant {
        std::string_view label;
        LengthStudyLabel kind;
    };
    constexpr std::array<Variant, 3> kVariants = {{
        {plot::kLine11Studied, LengthStudyLabel::kStudied},
        {plot::kLine11NotStudied, LengthStudyLabel::kNotStudied},
        {plot::kLine11Lrfd, LengthStudyLabel::kLrfdCase},
    }};
    for (const Variant& variant : kVariants) {
        if (const auto number = NumberAfter(label, variant.label)) return LengthStudyHeader{variant.kind, *number};
    }
    return std::nullopt;
}

}  // namespace trevasc::host
