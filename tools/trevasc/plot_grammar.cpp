// Grammar of the plot output file: the order of its groups of records as a
// run writes them (see plot_file.hpp), built on the fields and labels of
// each record (plot_fields.hpp, plot_labels.hpp), which take their columns
// and texts from the record table of include/trevasc/plot_records.hpp.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

#include "plot_fields.hpp"
#include "plot_file.hpp"
#include "plot_labels.hpp"
#include "trevasc/plot_records.hpp"
#include "trevasc/units.hpp"

namespace trevasc::host {

namespace {

// Guards beyond the engine's capacities: a count beyond them cannot come
// from a run and marks a damaged file (and keeps a damaged count from sizing
// memory).
constexpr int kMaxPyCurvePoints = 150;      // every criterion writes 17; a generous guard
constexpr int kMaxInteractionPoints = 500;  // a generous guard (the engine writes about 60)
constexpr std::size_t kMaxRecordLength = 400;

class Parser {
public:
    Parser(std::string_view text, std::string file) : fields_(std::move(file)) { Split(text); }

    PlotResults Run() {
        result_.file_name = fields_.file();
        ReadHeader();
        if (AtEnd()) return Incomplete("the file ends after Line 1, before the number of sections (Line 2)");
        ReadLine2();
        ReadSectionCurves();
        if (result_.header.ICOM == 2) {
            ReadInteraction();
            // An EI-only run writes the section-analysis records only.
            if (!AtEnd()) {
                Fail(Peek().line, "found " + KindName(Peek().kind) +
                                      " after the section curves of an EI-only run (ICOM = 2), which ends there");
            }
            result_.complete = true;
            return result_;
        }
        if (AtEnd()) return Incomplete("the file ends before load case 1 was reported (Line 6 or Line 9)");
        ReadPyCurves();
        if (AtEnd()) return Incomplete("the file ends before the load-case results (Line 9)");
        ReadLine9();
        ReadCases();
        if (AtEnd()) {
            const std::size_t done = result_.cases.size();
            return Incomplete("the file ends after " + std::to_string(done) + " of " +
                              std::to_string(*result_.number_of_cases) +
                              " load cases, before the pile-head summary (Line 13)");
        }
        ReadSummaries();
        ReadStiffness();
        ReadInteraction();
        if (!AtEnd()) {
            Fail(Peek().line, "found " + KindName(Peek().kind) + " after the last records of the run (" +
                                  (result_.stiffness.empty() ? "Line 13" : "Line 14") + "); nothing follows them");
        }
        result_.complete = true;
        return result_;
    }

private:
    void Split(std::string_view text) {
        std::size_t line = 0;
        std::size_t start = 0;
        std::vector<PlotRecord> lines;
        while (start < text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string_view::npos) end = text.size();
            std::string_view content = text.substr(start, end - start);
            if (!content.empty() && content.back() == '\r') content.remove_suffix(1);
            ++line;
            lines.push_back(PlotRecord{line, std::string(content), 0});
            start = end + 1;
        }
        // Blank lines at the very end are tolerated (an editor may add them).
        while (!lines.empty() && IsBlank(lines.back().text)) lines.pop_back();
        for (PlotRecord& record : lines) {
            if (record.text.size() > kMaxRecordLength) {
                Fail(record.line, "the line is " + std::to_string(record.text.size()) +
                                      " characters long; a plot-file record is at most 168: not a plot output file");
            }
            for (char c : record.text) {
                const auto u = static_cast<unsigned char>(c);
                if (u < 0x20 || u >= 0x7f) {
                    Fail(record.line, "the line holds a character that no plot-file record contains (code " +
                                          std::to_string(u) + "): not a plot output file");
                }
            }
            record.kind = Classify(record.text);
        }
        records_ = std::move(lines);
    }

    [[noreturn]] void Fail(std::size_t line, const std::string& message) const { fields_.Fail(line, message); }

    // A record was needed to complete a group, but the file ends.
    [[noreturn]] void FailTruncated(const std::string& expected) const {
        const std::size_t last = records_.empty() ? 0 : records_.back().line;
        Fail(last, "the file ends here, but " + expected + " must follow: the file is truncated");
    }

    bool AtEnd() const { return next_ >= records_.size(); }
    const PlotRecord& Peek() const { return records_[next_]; }
    const PlotRecord& Take() { return records_[next_++]; }

    // The next record, which must be of `kind` (`what` says why it is needed).
    const PlotRecord& Expect(int kind, const std::string& what) {
        if (AtEnd()) FailTruncated(what);
        const PlotRecord& record = Peek();
        if (record.kind != kind) {
            Fail(record.line, "expected " + what + ", found " + Describe(record));
        }
        return Take();
    }

    PlotResults Incomplete(const std::string& where) {
        result_.complete = false;
        result_.incomplete_reason = where + "; the analysis may have stopped early (see its report)";
        return result_;
    }

    RecordCursor Cursor(const PlotRecord& record, const plot::Layout& layout) const {
        return RecordCursor(fields_, record, layout);
    }

    // ---- Lines 1 and 2 ------------------------------------------------------

    void ReadHeader() {
        if (records_.empty()) {
            Fail(0, "the file is empty; a plot output file starts with the Line 1 record (ICOM, IUNITS, KYL, KXX)");
        }
        const PlotRecord& record = Peek();
        if (record.kind != 1) {
            Fail(record.line, "not a plot output file: its first line should be the Line 1 record (ICOM, IUNITS, "
                              "KYL, KXX) with its label in column " + std::to_string(plot::kLine1.LabelColumn()) +
                                  ", found " + Quote(record.text));
        }
        Take();
        PlotFileHeader& header = result_.header;
        RecordCursor in = Cursor(record, plot::kLine1);
        header.ICOM = in.Count("ICOM (analysis mode)", 1, 5);
        header.IUNITS = in.Count("IUNITS (unit system)", 1, 3);
        header.KYL = in.Count("KYL (length-study indicator)", 0, 99999);
        header.KXX = in.Count("KXX (stiffness-matrix flag)", 0, 1);
        ExpectLabel(fields_, record, in.Label(), plot::kLine1.FixedLabel());
    }

    void ReadLine2() {
        const PlotRecord& record = Expect(2, KindName(2));
        RecordCursor in = Cursor(record, plot::kLine2);
        result_.number_of_sections = in.Count("the number of sections", 0, plot::kMaxSections);
        ExpectLabel(fields_, record, in.Label(), plot::kLine2.FixedLabel());
    }

    // ---- Lines 3 to 5 -------------------------------------------------------

    void ReadSectionCurves() {
        while (!AtEnd() && (Peek().kind == 3 || Peek().kind == 4)) {
            if (Peek().kind == 3) {
                ReadLine3();
            } else {
                ReadSectionCurve();
            }
        }
    }

    void ReadLine3() {
        const PlotRecord& record = Take();
        if (result_.thrust_count) Fail(record.line, "a second Line 3 record; the run writes one, for section 1");
        if (!result_.section_curves.empty()) {
            Fail(record.line, "Line 3 after the first section curve; it precedes the curves of section 1");
        }
        RecordCursor in = Cursor(record, plot::kLine3);
        result_.thrust_count = in.Count("the number of axial thrust levels", 0, plot::kMaxThrustLevels);
        const std::string_view label = in.Label();
        const std::optional<ThrustListSource> source = ThrustListSourceOf(label);
        if (!source) Fail(record.line, "unknown Line 3 label " + Quote(label));
        result_.thrust_source = *source;
    }

    void ReadSectionCurve() {
        const PlotRecord& header = Take();
        SectionCurve curve;
        curve.line_number = header.line;
        RecordCursor in = Cursor(header, plot::kLine4);
        const int count = in.Count("the number of curve points", 0, plot::kMaxCurvePoints);
        curve.axial_thrust = in.Real("the axial thrust");
        curve.nominal_moment_capacity = in.Real("the nominal moment capacity");
        const std::string_view label = in.Label();
        const std::optional<SectionCurveLabel> variant = SectionCurveLabelOf(label);
        if (!variant) Fail(header.line, "unknown Line 4 label " + Quote(label));
        curve.source = variant->source;

        const SectionCurve* previous = result_.section_curves.empty() ? nullptr : &result_.section_curves.back();
        for (int p = 1; p <= count; ++p) {
            const std::string what = "Line 5 point " + std::to_string(p) + " of the " + std::to_string(count) +
                                     " announced by Line 4 at line " + std::to_string(header.line);
            const PlotRecord& record = Expect(5, what);
            RecordCursor point_in = Cursor(record, plot::kLine5);
            MomentCurvaturePoint point;
            point.moment = point_in.Real("the bending moment");
            point.bending_stiffness = point_in.Real("the bending stiffness");
            point.curvature = point_in.Real("the curvature");
            const std::string_view text = point_in.Label();
            if (text.substr(0, variant->line5.size()) != variant->line5) {
                Fail(record.line, "the Line 5 label should start with " + Quote(variant->line5) +
                                      " to match its Line 4 at line " + std::to_string(header.line) + ", found " +
                                      Quote(text));
            }
            const auto [section, thrust, number] = Line5Numbers(fields_, record, text.substr(variant->line5.size()));
            if (p == 1) {
                curve.section = section;
                curve.thrust_index = thrust;
            } else if (section != curve.section || thrust != curve.thrust_index) {
                Fail(record.line, "point of section " + std::to_string(section) + ", thrust " +
                                      std::to_string(thrust) + " inside the curve of section " +
                                      std::to_string(curve.section) + ", thrust " +
                                      std::to_string(curve.thrust_index) + " (Line 4 at line " +
                                      std::to_string(header.line) + ")");
            }
            if (number != p) {
                Fail(record.line, "curve point number " + std::to_string(number) + " where point " +
                                      std::to_string(p) + " was expected");
            }
            curve.points.push_back(point);
        }
        if (count == 0) {
            // A curve without points carries no section number: it continues the
            // thrust levels of the previous curve's section, or starts the next
            // section once that section has all its levels.
            if (previous == nullptr) {
                curve.section = 1;
                curve.thrust_index = 1;
            } else if (result_.thrust_count && previous->thrust_index >= *result_.thrust_count) {
                curve.section = previous->section + 1;
                curve.thrust_index = 1;
            } else {
                curve.section = previous->section;
                curve.thrust_index = previous->thrust_index + 1;
            }
        }
        if (result_.number_of_sections && (curve.section < 1 || curve.section > *result_.number_of_sections)) {
            Fail(header.line, "a curve of section " + std::to_string(curve.section) + ", but Line 2 announced " +
                                  std::to_string(*result_.number_of_sections) + " sections");
        }
        if (curve.thrust_index < 1 || curve.thrust_index > plot::kMaxThrustLevels) {
            Fail(header.line, "thrust level " + std::to_string(curve.thrust_index) + " is outside 1.." +
                                  std::to_string(plot::kMaxThrustLevels));
        }
        if (previous != nullptr &&
            (curve.section < previous->section ||
             (curve.section == previous->section && curve.thrust_index <= previous->thrust_index))) {
            Fail(header.line, "the curve of section " + std::to_string(curve.section) + ", thrust " +
                                  std::to_string(curve.thrust_index) + " follows that of section " +
                                  std::to_string(previous->section) + ", thrust " +
                                  std::to_string(previous->thrust_index) +
                                  "; curves come in order of section and thrust");
        }
        result_.section_curves.push_back(std::move(curve));
    }

    // ---- Lines 6 to 8 -------------------------------------------------------

    void ReadPyCurves() {
        const PlotRecord& record = Expect(6, KindName(6) + " or the load-case records (Line 9)");
        RecordCursor in = Cursor(record, plot::kLine6);
        result_.py_depth_count = in.Count("the number of p-y output curves", 0, plot::kMaxPyDepths);
        ExpectLabel(fields_, record, in.Label(), plot::kLine6.FixedLabel());
        while (!AtEnd() && Peek().kind == 7) {
            if (ReadPyCurve()) {
                // Input Data Error 23 ends the run after its 0-point Line 7.
                if (!AtEnd()) {
                    Fail(Peek().line, "found " + KindName(Peek().kind) +
                                          " after the Line 7 of a depth above the ground surface, which ends the run");
                }
                return;
            }
        }
    }

    // Reads one Line 7 and its Line 8 records; true for the above-ground record.
    bool ReadPyCurve() {
        const PlotRecord& header = Take();
        PyCurve curve;
        curve.line_number = header.line;
        RecordCursor in = Cursor(header, plot::kLine7);
        curve.depth = in.Real("the p-y curve depth");
        const int count = in.Count("the number of p-y points", 0, kMaxPyCurvePoints);
        const std::string_view label = in.Label();
        if (label == plot::kLine7AboveGround.FixedLabel()) {
            if (count != 0) {
                Fail(header.line, "the Line 7 of a depth above the ground surface announces " +
                                      std::to_string(count) + " points; it carries none");
            }
            curve.above_ground = true;
            result_.py_curves.push_back(std::move(curve));
            return true;
        }
        const std::optional<PyCurveLabel> named = PyCurveLabelOf(label);
        if (!named) Fail(header.line, "unknown Line 7 label " + Quote(label));
        const plot::PyCurveLabels& criterion = *named->criterion;
        curve.curve_number = named->curve_number;
        if (curve.curve_number < 1 || curve.curve_number > result_.py_depth_count.value_or(0)) {
            Fail(header.line, "p-y curve number " + std::to_string(curve.curve_number) + ", but Line 6 announced " +
                                  std::to_string(result_.py_depth_count.value_or(0)) + " curves");
        }
        curve.soil_model = criterion.soil_model;
        curve.soil_text = criterion.Line7Soil();
        const plot::Layout& point_layout = *criterion.line8;
        const plot::Layout& short_gap = plot::kLine8AfterTwentyBlanks;
        for (int j = 1; j <= count; ++j) {
            const PlotRecord& record =
                Expect(8, "Line 8 point " + std::to_string(j) + " of the " + std::to_string(count) +
                              " announced by Line 7 at line " + std::to_string(header.line));
            RecordCursor point_in = Cursor(record, point_layout);
            PyPoint point;
            point.y = point_in.Real("the deflection y");
            point.p = point_in.Real("the soil reaction p");
            if (point_layout.LabelColumn() != short_gap.LabelColumn() &&
                LabelStartsAt(record, short_gap.LabelColumn(), short_gap.FixedLabel())) {
                Fail(record.line, "the Line 8 label of a " + std::string(criterion.Line7Soil()) +
                                      " curve starts in column " + std::to_string(point_layout.LabelColumn()) +
                                      " (after 50 blanks), found it in column " +
                                      std::to_string(short_gap.LabelColumn()));
            }
            const std::string loading = Line8Loading(fields_, record, point_in.Label(), criterion, j);
            if (j == 1) {
                curve.loading = loading;
            } else if (loading != curve.loading) {
                Fail(record.line, "a " + loading + " point inside a " + curve.loading + " p-y curve");
            }
            curve.points.push_back(point);
        }
        result_.py_curves.push_back(std::move(curve));
        return false;
    }

    // ---- Lines 9 to 12 ------------------------------------------------------

    void ReadLine9() {
        const PlotRecord& record = Expect(9, KindName(9));
        RecordCursor in = Cursor(record, plot::kLine9);
        result_.number_of_cases = in.Count("the number of load cases", 1, plot::kMaxLoadCases);
        result_.number_of_nodes = in.Count("the number of nodes", 2, plot::kMaxNodes);
        const int units = in.Count("the unit system", 1, 3);
        if (units != result_.header.IUNITS) {
            Fail(record.line, "Line 9 gives unit system " + std::to_string(units) + ", but Line 1 gives " +
                                  std::to_string(result_.header.IUNITS));
        }
        ExpectLabel(fields_, record, in.Label(), plot::kLine9.FixedLabel());
    }

    void ReadCases() {
        const int cases = *result_.number_of_cases;
        const int nodes = *result_.number_of_nodes;
        while (!AtEnd() && Peek().kind == 10) {
            const int c = static_cast<int>(result_.cases.size()) + 1;
            if (c > cases) {
                Fail(Peek().line, "node records of a load case " + std::to_string(c) + ", but Line 9 announced " +
                                      std::to_string(cases) + " load cases");
            }
            CaseProfile profile;
            profile.case_number = c;
            for (int k = 1; k <= nodes; ++k) {
                const PlotRecord& record = Expect(10, "Line 10 for node " + std::to_string(k) + " of the " +
                                                          std::to_string(nodes) + " nodes of load case " +
                                                          std::to_string(c));
                RecordCursor in = Cursor(record, plot::kLine10);
                NodeResult node;
                node.depth = in.Real("the nodal depth");
                node.deflection = in.Real("the deflection");
                node.moment = in.Real("the bending moment");
                node.shear = in.Real("the shear force");
                node.soil_reaction = in.Real("the soil reaction");
                node.bending_stiffness = in.Real("the bending stiffness");
                const int number = Line10Node(fields_, record, in.Label());
                if (number != k) {
                    Fail(record.line, "node " + std::to_string(number) + " where node " + std::to_string(k) +
                                          " of load case " + std::to_string(c) + " was expected");
                }
                profile.nodes.push_back(node);
            }
            // A length study that stops the run leaves the case without its Line 11.
            if (AtEnd()) {
                result_.cases.push_back(std::move(profile));
                return;
            }
            ReadLine11(profile);
            result_.cases.push_back(std::move(profile));
        }
    }

    void ReadLine11(CaseProfile& profile) {
        const std::string what = "the Line 11 record that closes load case " + std::to_string(profile.case_number);
        const PlotRecord& record = Expect(11, what);
        const std::string_view label = Cursor(record, plot::kLine11).Label();
        const std::optional<LengthStudyHeader> variant = LengthStudyHeaderOf(label);
        if (!variant) Fail(record.line, "unknown Line 11 label " + Quote(label));
        if (variant->case_number != profile.case_number) {
            Fail(record.line, "Line 11 names load case " + std::to_string(variant->case_number) +
                                  " after the nodes of load case " + std::to_string(profile.case_number));
        }
        profile.has_line11 = true;
        profile.length_label = variant->kind;
        const plot::Columns count_field = plot::kLine11.FieldColumns(0);
        int count = 0;
        if (variant->kind == LengthStudyLabel::kStudied) {
            count = fields_.Count(record, count_field.first, count_field.width, "the number of length-study points", 0,
                                  plot::kLengthStudyTrials);
        } else {
            // Without a study the count field holds 0 as I5 writes it.
            const std::string zero = std::string(static_cast<std::size_t>(count_field.width - 1), ' ') + "0";
            const std::string_view field = fields_.Field(record, count_field.first, count_field.width);
            if (field != zero) {
                Fail(record.line, "a load case without a length study has \"" + zero + "\" in columns " +
                                      std::to_string(count_field.first) + "-" + std::to_string(count_field.last()) +
                                      ", found " + Quote(field));
            }
        }
        for (int j = 1; j <= count; ++j) {
            const PlotRecord& point_record =
                Expect(12, "Line 12 point " + std::to_string(j) + " of the " + std::to_string(count) +
                               " announced by Line 11 at line " + std::to_string(record.line));
            RecordCursor in = Cursor(point_record, plot::kLine12);
            LengthStudyPoint point;
            point.pile_length = in.Real("the pile length");
            point.head_deflection = in.Real("the pile-head deflection");
            point.max_moment = in.Real("the maximum moment");
            point.max_shear = in.Real("the maximum shear");
            ExpectLabel(fields_, point_record, in.Label(), plot::kLine12.FixedLabel());
            profile.length_study.push_back(point);
        }
    }

    // ---- Lines 13 and 14 ----------------------------------------------------

    void ReadSummaries() {
        const int cases = *result_.number_of_cases;
        if (Peek().kind != 13) {
            Fail(Peek().line, "expected the node records of load case " + std::to_string(result_.cases.size() + 1) +
                                  " (Line 10) or the pile-head summary (Line 13), found " + Describe(Peek()));
        }
        if (static_cast<int>(result_.cases.size()) != cases) {
            Fail(Peek().line, "the pile-head summary (Line 13) begins after " + std::to_string(result_.cases.size()) +
                                  " load cases, but Line 9 announced " + std::to_string(cases));
        }
        const std::string_view expected_label =
            result_.units() == UnitSystemCode::kUscs ? plot::kLine13Uscs : plot::kLine13Si;
        for (int c = 1; c <= cases; ++c) {
            const PlotRecord& record = Expect(13, "Line 13 for load case " + std::to_string(c) + " of " +
                                                      std::to_string(cases));
            RecordCursor in = Cursor(record, plot::kLine13);
            CaseSummary summary;
            summary.head_shear = in.Real("the pile-head shear");
            summary.head_deflection = in.Real("the pile-head deflection");
            summary.max_moment = in.Real("the maximum moment");
            summary.max_shear = in.Real("the maximum shear");
            summary.head_rotation = in.Real("the pile-head rotation");
            ExpectLabel(fields_, record, in.Label(), expected_label);
            result_.summaries.push_back(summary);
        }
    }

    void ReadStiffness() {
        if (AtEnd() || Peek().kind != 14) return;
        if (result_.header.KXX != 1) {
            Fail(Peek().line, "Line 14 records, but Line 1 says the stiffness matrix was not requested (KXX = 0)");
        }
        for (int i = 1; i <= plot::kStiffnessTrials; ++i) {
            const PlotRecord& record = Expect(14, "Line 14 for stiffness trial " + std::to_string(i) + " of " +
                                                      std::to_string(plot::kStiffnessTrials));
            RecordCursor in = Cursor(record, plot::kLine14);
            StiffnessTrial trial;
            trial.shear = in.Real("the shear V");
            trial.moment = in.Real("the moment M");
            trial.K22 = in.Real("K22");
            trial.K23 = in.Real("K23");
            trial.K32 = in.Real("K32");
            trial.K33 = in.Real("K33");
            trial.head_deflection = in.Real("ytop");
            trial.head_rotation = in.Real("theta");
            ExpectLabel(fields_, record, in.Label(), plot::kLine14.FixedLabel());
            result_.stiffness.push_back(trial);
        }
    }

    // ---- Lines 15 to 17: interaction diagrams and checks (last in the file) --

    void ReadInteraction() {
        while (!AtEnd() && Peek().kind == 15) {
            const PlotRecord& header = Take();
            RecordCursor in = Cursor(header, plot::kLine15);
            InteractionDiagramRecord diagram;
            diagram.section = in.Count("the section number", 1, plot::kMaxSections);
            const int points = in.Count("the number of diagram points", 1, kMaxInteractionPoints);
            diagram.design_code = in.Count("the design code", 1, 3);
            diagram.balanced_point = in.Count("the balanced point", 1, points);
            diagram.transverse = in.Count("the transverse reinforcement", 1, 2);
            ExpectLabel(fields_, header, in.Label(), plot::kLine15.FixedLabel());
            diagram.line_number = header.line;
            for (int k = 1; k <= points; ++k) {
                const PlotRecord& record = Expect(16, "Line 16 for point " + std::to_string(k) + " of " +
                                                          std::to_string(points) + " of the interaction diagram");
                RecordCursor point_in = Cursor(record, plot::kLine16);
                InteractionPointRecord point;
                point.Pn = point_in.Real("the nominal axial force");
                point.Mn = point_in.Real("the nominal moment");
                point.Pd = point_in.Real("the factored axial force");
                point.Md = point_in.Real("the factored moment");
                point.phi = point_in.Real("the strength reduction factor");
                ExpectLabel(fields_, record, point_in.Label(), ComposeLabel(plot::kLine16, {diagram.section, k}));
                diagram.points.push_back(point);
            }
            result_.interaction.push_back(std::move(diagram));
        }
        while (!AtEnd() && Peek().kind == 17) {
            const PlotRecord& record = Take();
            RecordCursor in = Cursor(record, plot::kLine17);
            InteractionCheckRecord check;
            check.load_case = in.Count("the load case number", 1, plot::kMaxLoadCases);
            check.section = in.Count("the section number", 1, plot::kMaxSections);
            check.axial_thrust = in.Real("the axial thrust");
            check.moment = in.Real("the moment");
            const double ratio = in.Real("the capacity ratio");
            check.capacity_axial = in.Real("the capacity axial force");
            check.capacity_moment = in.Real("the capacity moment");
            check.result = in.Count("the result", -1, 1);
            if (ratio >= 0.0) check.ratio = ratio;
            ExpectLabel(fields_, record, in.Label(), plot::kLine17.FixedLabel());
            result_.interaction_checks.push_back(check);
        }
    }

    FieldReader fields_;
    std::vector<PlotRecord> records_;
    std::size_t next_ = 0;
    PlotResults result_;
};

std::string ErrorText(const std::string& file, std::size_t line, const std::string& message) {
    if (line == 0) return file + ": " + message;
    return file + ":" + std::to_string(line) + ": " + message;
}

}  // namespace

PlotFileError::PlotFileError(std::string file, std::size_t line, std::string message)
    : std::runtime_error(ErrorText(file, line, message)),
      file_(std::move(file)),
      line_(line),
      message_(std::move(message)) {}

PlotResults ParsePlotText(std::string_view text, const std::string& file_name) {
    return Parser(text, file_name).Run();
}

PlotResults ReadPlotFile(const std::filesystem::path& path) {
    const std::string name = path.string();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        throw PlotFileError(name, 0, "no such plot output file (or it is not a regular file)");
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) throw PlotFileError(name, 0, "the file cannot be opened for reading");
    std::ostringstream contents;
    contents << in.rdbuf();
    if (in.bad()) throw PlotFileError(name, 0, "the file cannot be read");
    return ParsePlotText(contents.str(), name);
}

double MomentScaleToConsistentUnits(UnitSystemCode units, const SectionCurve& curve) {
    if (units != UnitSystemCode::kUscs) return 1.0;
    if (curve.source != SectionCurveSource::kMomentCurvature) return kPoundsPerKip;
    double largest = 0.0;
    for (const MomentCurvaturePoint& point : curve.points) largest = std::max(largest, std::fabs(point.moment));
    const double capacity = std::fabs(curve.nominal_moment_capacity);
    // Kip-based curves have a capacity near 1000 times their largest moment,
    // pound-based ones (user-defined EI) a capacity equal to it.
    const double kBoundary = std::sqrt(kPoundsPerKip);
    if (largest > 0.0 && capacity > 0.0 && capacity < kBoundary * largest) return 1.0;
    return kPoundsPerKip;
}

double ThrustScaleToConsistentUnits(UnitSystemCode units) {
    return units == UnitSystemCode::kUscs ? kPoundsPerKip : 1.0;
}

}  // namespace trevasc::host
