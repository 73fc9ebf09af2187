// Reader of the plot output file: record layouts and record order as the
// engine writes them (see plot_file.hpp for the order).
//
// Field conventions of the file: Iw right-justified in w columns, I0 in as
// few digits as needed, Ew.d as "0." and d digits with a four-character
// exponent ("E+03", or "+100" without the E for three-digit exponents), nX
// blanks, Tn the column where the label starts. Columns are counted from 1.
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <system_error>

#include "plot_file.hpp"

namespace trevasc::host {

namespace {

// Capacities of the engine's tables: a count beyond them cannot come from a
// run and marks a damaged file (and keeps a damaged count from sizing memory).
constexpr int kMaxSectionsInRun = 20;      // pile sections
constexpr int kMaxThrustLevels = 100;      // axial thrust levels
constexpr int kMaxCurvePoints = 150;       // points of a moment-curvature curve
constexpr int kMaxPyDepths = 100;          // p-y output depths
constexpr int kMaxPyCurvePoints = 150;     // every criterion writes 17; a generous guard
constexpr int kMaxCases = 100;             // load cases or LRFD combinations
constexpr int kMaxNodes = 501;             // nodes of the pile model
constexpr int kMaxLengthStudyPoints = 20;  // trials of the length study
constexpr int kStiffnessTrials = 10;       // Line 14 records of a stiffness analysis
constexpr std::size_t kMaxRecordLength = 400;

constexpr int kRealWidth = 15;  // E15.7

// Column where the label of most records starts, and of the others.
constexpr int kLabelColumn = 81;
constexpr int kShortGapLabelColumn = 51;  // Line 8 of two criteria (20X)
constexpr int kLine10LabelColumn = 92;
constexpr int kLine14LabelColumn = 121;   // the label text with its two leading blanks
constexpr int kLine17LabelColumn = 96;
constexpr int kMaxInteractionPoints = 500;  // a generous guard (the engine writes about 60)

constexpr std::string_view kLine1Label = "Line 1 : ICOM, IUNITS, KYL, KXX";
constexpr std::string_view kLine2Label = "Line 2 : Total number of sections";
constexpr std::string_view kLine6Label = "Line 6 : number of output p-y curves";
constexpr std::string_view kLine9Label = "Line 9:  No. loads, No. nodes, iunits: 1 = USCS, 2 = SI";
constexpr std::string_view kLine10Prefix = "Line 10(";
constexpr std::string_view kLine10Suffix = "): nodal depth, y, M, V, p, EI";
constexpr std::string_view kLine12Label = "Line 12: pile length, Ytop, Mmax, Vmax";
constexpr std::string_view kLine13UscsLabel = "Line 13: TopV(lbs), TopY(in), Mmax(in-lbs), Vmax(lbs), Rotation(rad)";
constexpr std::string_view kLine13SiLabel = "Line 13: TopV(kN) TopY(m), Mmax(kN-m), Vmax(kN), Rotation(rad)";
constexpr std::string_view kLine14Label = "  Line 14: V, M, K22, K23, K32, K33, ytop, theta";
constexpr std::string_view kLine15Label = "Line 15: Sect#, No. P-M points, design code, balanced point, 1 = tied 2 = spiral";
constexpr std::string_view kLine16Prefix = "Line 16: Pn, Mn, factored P, factored M, phi for Sect#=";
constexpr std::string_view kLine17Label = "Line 17: Case#, Sect#, P, M, ratio, capacity P, M, pass";

struct Line3Variant {
    std::string_view label;
    ThrustListSource source;
};
constexpr std::array<Line3Variant, 5> kLine3Variants = {{
    {"Line 3 : Total number of axial thrusts for EI-only computations", ThrustListSource::kEiOnly},
    {"Line 3 : Total number of axial thrusts for LRFD", ThrustListSource::kLrfd},
    {"Line 3 : Total number of axial thrusts", ThrustListSource::kLoadCases},
    {"Line 3 : Total number of axial thrusts for elastic section", ThrustListSource::kElasticSection},
    {"Line 3 : Total number of axial thrusts for elastic-plastic section", ThrustListSource::kElasticPlasticSection},
}};

struct SectionCurveVariant {
    SectionCurveSource source;
    std::string_view line4_label;
    std::string_view line5_prefix;  // followed by Sect#, ", AxLd#=", thrust, ", CurvPnt#=", point
};
constexpr std::array<SectionCurveVariant, 3> kSectionCurveVariants = {{
    {SectionCurveSource::kMomentCurvature, "Line 4 : Num. M-EI-Crv Points, Axial Thrust Load, Nom. Moment Cap.",
     "Line 5 : Moment, EI, Curvature for Sect#="},
    {SectionCurveSource::kElastic,
     "Line 4 : Num. Elas. M-EI-Crv Points, Axial Thrust Load, Nom. Moment Cap. for linear EI",
     "Line 5 : Elastic Moment, EI, Curvature for Sect#="},
    {SectionCurveSource::kElasticPlastic,
     "Line 4 : Num. M-EI-Crv Points, Axial Thrust Load, Nom. Moment Cap. for elastic-plastic EI",
     "Line 5 : Elas-Plas Moment, EI, Curvature for Sect#="},
}};

// Line 7 and Line 8 labels per p-y criterion.
enum class PointField { kI2, kI0 };
struct PyCriterion {
    std::string_view soil_model;   // SoilModelCode name
    std::string_view line7_text;   // soil text of the Line 7 label
    bool j_wording;                // ", no. points on p-y curve no. " instead of ", no. p-y points on curve no. "
    std::string_view line8_text;   // soil text of the Line 8 label
    std::string_view line8_cyclic; // second Line 8 text (cyclic loading), or empty
    int line8_label_column;        // 81 after 50X, 51 after 20X
    PointField point_field;
};
constexpr std::array<PyCriterion, 16> kPyCriteria = {{
    {"SoftClay", "soft clay", false, "soft clay", "", kLabelColumn, PointField::kI2},
    {"SoftClyJ", "soft clay with J", true, "soft clay", "", kLabelColumn, PointField::kI2},
    {"StfClyBW", "stiff clay with free water", false, "static stiff clay with free water", "cyclic stiff clay w/water",
     kLabelColumn, PointField::kI2},
    {"StfClyAW", "stiff clay w/o free water", false, "stiff clay w/o water", "", kLabelColumn, PointField::kI2},
    {"StfClyAK", "stiff clay w/o free water with k", false, "stiff clay with k", "", kLabelColumn, PointField::kI2},
    {"Sand", "sand", false, "sand", "", kLabelColumn, PointField::kI2},
    {"API Sand", "API sand", false, "API sand", "", kLabelColumn, PointField::kI2},
    {"Liq Sand", "liquefied sand", false, "liquefied sand", "", kShortGapLabelColumn, PointField::kI2},
    {"WeakRock", "weak rock", false, "weak rock", "", kLabelColumn, PointField::kI2},
    {"Vuggy LS", "vuggy limestone", false, "vuggy limestone rock", "", kLabelColumn, PointField::kI2},
    {"Cem Silt", "cemented silt", false, "cemented c-phi", "", kLabelColumn, PointField::kI2},
    {"User p-y", "user-input p-y curve", false, "user-input p-y curve", "", kShortGapLabelColumn, PointField::kI2},
    {"KS Loess", "loess", false, "Loess", "", kLabelColumn, PointField::kI0},
    {"Piedmont", "Piedmont residual soil", false, "Piedmont residual soil", "", kLabelColumn, PointField::kI0},
    {"Elast SG", "elastic subgrade soil", false, "elastic subgrade", "", kLabelColumn, PointField::kI0},
    {"MassRock", "massive rock", false, "Massive Rock", "", kLabelColumn, PointField::kI2},
}};
constexpr std::string_view kLine7Prefix = "Line 7:  p-y curve depth in ";
constexpr std::string_view kLine7Count = ", no. p-y points on curve no. ";
constexpr std::string_view kLine7CountJ = ", no. points on p-y curve no. ";
constexpr std::string_view kLine7AboveGround = "Line 7:  p-y curve depth, no. p-y points";
constexpr std::string_view kLine8Prefix = "Line 8(";
constexpr std::string_view kLine8Middle = "): y, p, for ";

struct Line11Variant {
    std::string_view label;  // followed by the case number
    LengthStudyLabel kind;
};
constexpr std::array<Line11Variant, 3> kLine11Variants = {{
    {"Line 11: Num. points on Ytop vs. pile length curve for load case ", LengthStudyLabel::kStudied},
    {"Line 11: Num. points on Ytop vs. Length curve for load case ", LengthStudyLabel::kNotStudied},
    {"Line 11: Num. points on Ytop vs. Length curve for LRFD load case ", LengthStudyLabel::kLrfdCase},
}};

// What each record kind holds, for messages.
std::string KindName(int kind) {
    static constexpr std::array<std::string_view, 18> kWhat = {
        "",
        "the run header (ICOM, IUNITS, KYL, KXX)",
        "the number of sections",
        "the number of axial thrust levels",
        "the header of a moment-curvature curve",
        "a moment-curvature point",
        "the number of p-y output curves",
        "the header of a p-y curve",
        "a p-y curve point",
        "the number of load cases and nodes",
        "the response of a node",
        "the length-study header of a load case",
        "a length-study point",
        "the pile-head response of a load case",
        "a pile-head stiffness trial",
        "the header of an interaction diagram",
        "an interaction diagram point",
        "an interaction check of a load case",
    };
    if (kind < 1 || kind > 17) return "an unlabelled line";
    return "Line " + std::to_string(kind) + " (" + std::string(kWhat[static_cast<std::size_t>(kind)]) + ")";
}

std::string Quote(std::string_view text) {
    constexpr std::size_t kShown = 60;
    std::string shown(text.substr(0, kShown));
    for (char& c : shown) {
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7f) c = '?';
    }
    return "\"" + shown + (text.size() > kShown ? "...\"" : "\"");
}

bool IsBlank(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; });
}

std::string_view TrimLeft(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    return text;
}

std::string_view TrimRight(std::string_view text) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

bool AllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

struct Record {
    std::size_t line = 0;
    std::string text;
    int kind = 0;
};

// The record kind named by the label at its column, or 0.
int Classify(std::string_view text) {
    auto label_at = [&](int column, std::string_view prefix) {
        const std::size_t at = static_cast<std::size_t>(column - 1);
        return text.size() >= at + prefix.size() && text.substr(at, prefix.size()) == prefix;
    };
    if (label_at(kLine10LabelColumn, kLine10Prefix)) return 10;
    if (label_at(kLine14LabelColumn, "  Line 14:")) return 14;
    if (label_at(kLine17LabelColumn, "Line 17:")) return 17;
    if (label_at(kLabelColumn, "Line ")) {
        std::string_view rest = text.substr(kLabelColumn - 1 + 5);
        std::size_t n = 0;
        while (n < rest.size() && n < 2 && rest[n] >= '0' && rest[n] <= '9') ++n;
        if (n == 0 || n == rest.size()) return 0;
        const int kind = std::stoi(std::string(rest.substr(0, n)));
        const char after = rest[n];
        const bool separator = after == ' ' || after == ':' || after == '(';
        if (separator && ((kind >= 1 && kind <= 13 && kind != 10) || kind == 15 || kind == 16)) return kind;
        return 0;
    }
    if (label_at(kShortGapLabelColumn, kLine8Prefix)) return 8;
    return 0;
}

class Parser {
public:
    Parser(std::string_view text, std::string file) : file_(std::move(file)) { Split(text); }

    PlotResults Run() {
        result_.file_name = file_;
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
        std::vector<Record> lines;
        while (start < text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string_view::npos) end = text.size();
            std::string_view content = text.substr(start, end - start);
            if (!content.empty() && content.back() == '\r') content.remove_suffix(1);
            ++line;
            lines.push_back(Record{line, std::string(content), 0});
            start = end + 1;
        }
        // Blank lines at the very end are tolerated (an editor may add them).
        while (!lines.empty() && IsBlank(lines.back().text)) lines.pop_back();
        for (Record& record : lines) {
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

    [[noreturn]] void Fail(std::size_t line, const std::string& message) const {
        throw PlotFileError(file_, line, message);
    }

    // A record was needed to complete a group, but the file ends.
    [[noreturn]] void FailTruncated(const std::string& expected) const {
        const std::size_t last = records_.empty() ? 0 : records_.back().line;
        Fail(last, "the file ends here, but " + expected + " must follow: the file is truncated");
    }

    bool AtEnd() const { return next_ >= records_.size(); }
    const Record& Peek() const { return records_[next_]; }
    const Record& Take() { return records_[next_++]; }

    // The next record, which must be of `kind` (`what` says why it is needed).
    const Record& Expect(int kind, const std::string& what) {
        if (AtEnd()) FailTruncated(what);
        const Record& record = Peek();
        if (record.kind != kind) {
            Fail(record.line, "expected " + what + ", found " + Describe(record));
        }
        return Take();
    }

    static std::string Describe(const Record& record) {
        if (record.kind != 0) return KindName(record.kind);
        const std::size_t at = record.text.find("Line ");
        if (at != std::string::npos) {
            return "the label " + Quote(record.text.substr(at, 8)) + " in column " + std::to_string(at + 1) +
                   ", where no record has its label";
        }
        return "a line without a record label: " + Quote(record.text);
    }

    PlotResults Incomplete(const std::string& where) {
        result_.complete = false;
        result_.incomplete_reason = where + "; the analysis may have stopped early (see its report)";
        return result_;
    }

    // ---- fields -------------------------------------------------------------

    static std::string Columns(int first, int width) {
        return "columns " + std::to_string(first) + "-" + std::to_string(first + width - 1);
    }

    std::string_view Field(const Record& record, int first, int width) const {
        const std::size_t at = static_cast<std::size_t>(first - 1);
        if (record.text.size() < at + static_cast<std::size_t>(width)) {
            Fail(record.line, KindName(record.kind) + " is too short for its field in " + Columns(first, width));
        }
        return std::string_view(record.text).substr(at, static_cast<std::size_t>(width));
    }

    int Integer(const Record& record, int first, int width, std::string_view what) const {
        const std::string_view field = Field(record, first, width);
        const std::string_view digits = TrimLeft(field);
        const std::string where = std::string(what) + " in " + Columns(first, width);
        if (digits.empty()) Fail(record.line, where + " is blank");
        if (digits.find('*') != std::string_view::npos) {
            Fail(record.line, where + " is filled with asterisks: the value did not fit its field");
        }
        const bool negative = digits.front() == '-';
        const std::string_view magnitude = negative ? digits.substr(1) : digits;
        if (!AllDigits(magnitude) || magnitude.size() > 9) {
            Fail(record.line, where + " is not an integer right-justified in its field: " + Quote(field));
        }
        const int value = std::stoi(std::string(magnitude));
        return negative ? -value : value;
    }

    // An integer field that must lie within [low, high].
    int Count(const Record& record, int first, int width, std::string_view what, int low, int high) const {
        const int value = Integer(record, first, width, what);
        if (value < low || value > high) {
            Fail(record.line, std::string(what) + " is " + std::to_string(value) + "; it must lie between " +
                                  std::to_string(low) + " and " + std::to_string(high));
        }
        return value;
    }

    double Real(const Record& record, int first, std::string_view what) const {
        const std::string_view field = Field(record, first, kRealWidth);
        const std::string_view text = TrimLeft(field);
        const std::string where = std::string(what) + " in " + Columns(first, kRealWidth);
        if (text.empty()) Fail(record.line, where + " is blank");
        if (text.find('*') != std::string_view::npos) {
            Fail(record.line, where + " is filled with asterisks: the value did not fit its field");
        }
        const std::optional<double> value = ParseFortranReal(text);
        if (!value) Fail(record.line, where + " is not a number in E15.7 form: " + Quote(field));
        return *value;
    }

    // Columns first..last (inclusive) must be blank.
    void Blank(const Record& record, int first, int last) const {
        if (last < first) return;
        const std::string_view field = Field(record, first, last - first + 1);
        if (!IsBlank(field)) {
            Fail(record.line, "columns " + std::to_string(first) + "-" + std::to_string(last) + " of " +
                                  KindName(record.kind) + " must be blank, found " + Quote(TrimRight(field)));
        }
    }

    // The label text from `column` to the end of the record.
    std::string_view Label(const Record& record, int column) const {
        const std::size_t at = static_cast<std::size_t>(column - 1);
        if (record.text.size() <= at) Fail(record.line, KindName(record.kind) + " has no label");
        return TrimRight(std::string_view(record.text).substr(at));
    }

    void ExpectLabel(const Record& record, int column, std::string_view expected) const {
        const std::string_view label = Label(record, column);
        if (label != expected) {
            Fail(record.line, "the label of " + KindName(record.kind) + " should read " + Quote(expected) +
                                  ", found " + Quote(label));
        }
    }

    static bool LabelStartsAt(const Record& record, int column, std::string_view prefix) {
        const std::size_t at = static_cast<std::size_t>(column - 1);
        return record.text.size() >= at + prefix.size() && std::string_view(record.text).substr(at, prefix.size()) == prefix;
    }

    // A label made of `prefix` and an I0 number; nullopt when the prefix differs.
    static std::optional<int> NumberAfter(std::string_view label, std::string_view prefix) {
        if (label.substr(0, prefix.size()) != prefix) return std::nullopt;
        const std::string_view digits = label.substr(prefix.size());
        if (!AllDigits(digits) || digits.size() > 9) return std::nullopt;
        return std::stoi(std::string(digits));
    }

    // ---- Lines 1 and 2 ------------------------------------------------------

    void ReadHeader() {
        if (records_.empty()) {
            Fail(0, "the file is empty; a plot output file starts with the Line 1 record (ICOM, IUNITS, KYL, KXX)");
        }
        const Record& record = Peek();
        if (record.kind != 1) {
            Fail(record.line, "not a plot output file: its first line should be the Line 1 record (ICOM, IUNITS, "
                              "KYL, KXX) with its label in column 81, found " + Quote(record.text));
        }
        Take();
        PlotFileHeader& header = result_.header;
        header.ICOM = Count(record, 1, 5, "ICOM (analysis mode)", 1, 5);
        header.IUNITS = Count(record, 6, 5, "IUNITS (unit system)", 1, 3);
        header.KYL = Count(record, 11, 5, "KYL (length-study indicator)", 0, 99999);
        header.KXX = Count(record, 16, 5, "KXX (stiffness-matrix flag)", 0, 1);
        Blank(record, 21, kLabelColumn - 1);
        ExpectLabel(record, kLabelColumn, kLine1Label);
    }

    void ReadLine2() {
        const Record& record = Expect(2, KindName(2));
        result_.number_of_sections = Count(record, 1, 5, "the number of sections", 0, kMaxSectionsInRun);
        Blank(record, 6, kLabelColumn - 1);
        ExpectLabel(record, kLabelColumn, kLine2Label);
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
        const Record& record = Take();
        if (result_.thrust_count) Fail(record.line, "a second Line 3 record; the run writes one, for section 1");
        if (!result_.section_curves.empty()) {
            Fail(record.line, "Line 3 after the first section curve; it precedes the curves of section 1");
        }
        result_.thrust_count = Count(record, 1, 5, "the number of axial thrust levels", 0, kMaxThrustLevels);
        Blank(record, 6, kLabelColumn - 1);
        const std::string_view label = Label(record, kLabelColumn);
        for (const Line3Variant& variant : kLine3Variants) {
            if (label == variant.label) {
                result_.thrust_source = variant.source;
                return;
            }
        }
        Fail(record.line, "unknown Line 3 label " + Quote(label));
    }

    void ReadSectionCurve() {
        const Record& header = Take();
        SectionCurve curve;
        curve.line_number = header.line;
        const int count = Count(header, 1, 5, "the number of curve points", 0, kMaxCurvePoints);
        Blank(header, 6, 15);
        curve.axial_thrust = Real(header, 16, "the axial thrust");
        curve.nominal_moment_capacity = Real(header, 31, "the nominal moment capacity");
        Blank(header, 46, kLabelColumn - 1);
        const std::string_view label = Label(header, kLabelColumn);
        const SectionCurveVariant* variant = nullptr;
        for (const SectionCurveVariant& candidate : kSectionCurveVariants) {
            if (label == candidate.line4_label) variant = &candidate;
        }
        if (variant == nullptr) Fail(header.line, "unknown Line 4 label " + Quote(label));
        curve.source = variant->source;

        const SectionCurve* previous = result_.section_curves.empty() ? nullptr : &result_.section_curves.back();
        for (int p = 1; p <= count; ++p) {
            const std::string what = "Line 5 point " + std::to_string(p) + " of the " + std::to_string(count) +
                                     " announced by Line 4 at line " + std::to_string(header.line);
            const Record& record = Expect(5, what);
            MomentCurvaturePoint point;
            point.moment = Real(record, 1, "the bending moment");
            point.bending_stiffness = Real(record, 16, "the bending stiffness");
            point.curvature = Real(record, 31, "the curvature");
            Blank(record, 46, kLabelColumn - 1);
            const std::string_view text = Label(record, kLabelColumn);
            if (text.substr(0, variant->line5_prefix.size()) != variant->line5_prefix) {
                Fail(record.line, "the Line 5 label should start with " + Quote(variant->line5_prefix) +
                                      " to match its Line 4 at line " + std::to_string(header.line) + ", found " +
                                      Quote(text));
            }
            const auto [section, thrust, number] = Line5Numbers(record, text.substr(variant->line5_prefix.size()));
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
        if (curve.thrust_index < 1 || curve.thrust_index > kMaxThrustLevels) {
            Fail(header.line, "thrust level " + std::to_string(curve.thrust_index) + " is outside 1.." +
                                  std::to_string(kMaxThrustLevels));
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

    struct CurveNumbers {
        int section;
        int thrust;
        int point;
    };
    // "S, AxLd#=T, CurvPnt#=P" after the Line 5 prefix.
    CurveNumbers Line5Numbers(const Record& record, std::string_view rest) const {
        constexpr std::string_view kThrust = ", AxLd#=";
        constexpr std::string_view kPoint = ", CurvPnt#=";
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
        Fail(record.line, "the Line 5 label should end with the section, thrust and point numbers as "
                          "\"S, AxLd#=T, CurvPnt#=P\", found " + Quote(rest));
    }

    // ---- Lines 6 to 8 -------------------------------------------------------

    void ReadPyCurves() {
        const Record& record = Expect(6, KindName(6) + " or the load-case records (Line 9)" );
        result_.py_depth_count = Count(record, 1, 5, "the number of p-y output curves", 0, kMaxPyDepths);
        Blank(record, 6, kLabelColumn - 1);
        ExpectLabel(record, kLabelColumn, kLine6Label);
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
        const Record& header = Take();
        PyCurve curve;
        curve.line_number = header.line;
        curve.depth = Real(header, 1, "the p-y curve depth");
        const int count = Count(header, 16, 5, "the number of p-y points", 0, kMaxPyCurvePoints);
        Blank(header, 21, kLabelColumn - 1);
        const std::string_view label = Label(header, kLabelColumn);
        if (label == kLine7AboveGround) {
            if (count != 0) {
                Fail(header.line, "the Line 7 of a depth above the ground surface announces " +
                                      std::to_string(count) + " points; it carries none");
            }
            curve.above_ground = true;
            result_.py_curves.push_back(std::move(curve));
            return true;
        }
        const PyCriterion* criterion = nullptr;
        if (label.substr(0, kLine7Prefix.size()) == kLine7Prefix) {
            const std::string_view rest = label.substr(kLine7Prefix.size());
            for (const PyCriterion& candidate : kPyCriteria) {
                const std::string prefix =
                    std::string(candidate.line7_text) + std::string(candidate.j_wording ? kLine7CountJ : kLine7Count);
                if (const auto number = NumberAfter(rest, prefix)) {
                    criterion = &candidate;
                    curve.curve_number = *number;
                }
            }
        }
        if (criterion == nullptr) Fail(header.line, "unknown Line 7 label " + Quote(label));
        if (curve.curve_number < 1 || curve.curve_number > result_.py_depth_count.value_or(0)) {
            Fail(header.line, "p-y curve number " + std::to_string(curve.curve_number) + ", but Line 6 announced " +
                                  std::to_string(result_.py_depth_count.value_or(0)) + " curves");
        }
        curve.soil_model = criterion->soil_model;
        curve.soil_text = criterion->line7_text;
        for (int j = 1; j <= count; ++j) {
            const Record& record =
                Expect(8, "Line 8 point " + std::to_string(j) + " of the " + std::to_string(count) +
                              " announced by Line 7 at line " + std::to_string(header.line));
            PyPoint point;
            point.y = Real(record, 1, "the deflection y");
            point.p = Real(record, 16, "the soil reaction p");
            const int column = criterion->line8_label_column;
            if (column == kLabelColumn && LabelStartsAt(record, kShortGapLabelColumn, kLine8Prefix)) {
                Fail(record.line, "the Line 8 label of a " + std::string(criterion->line7_text) +
                                      " curve starts in column 81 (after 50 blanks), found it in column 51");
            }
            Blank(record, 31, column - 1);
            const std::string_view text = Label(record, column);
            const std::string loading = Line8Label(record, text, *criterion, j);
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

    // Checks "Line 8(" point "): y, p, for " soil text; returns the loading it names.
    std::string Line8Label(const Record& record, std::string_view text, const PyCriterion& criterion,
                           int expected_point) const {
        std::string point_field;
        if (criterion.point_field == PointField::kI2) {
            point_field = std::to_string(expected_point);
            if (point_field.size() < 2) point_field.insert(0, 2 - point_field.size(), ' ');
        } else {
            point_field = std::to_string(expected_point);
        }
        const std::string prefix = std::string(kLine8Prefix) + point_field + std::string(kLine8Middle);
        if (text.substr(0, prefix.size()) != prefix) {
            Fail(record.line, "the Line 8 label should start with " + Quote(prefix) + " (point " +
                                  std::to_string(expected_point) + " of a " + std::string(criterion.line7_text) +
                                  " curve), found " + Quote(text));
        }
        const std::string_view soil = text.substr(prefix.size());
        if (soil == criterion.line8_text) {
            if (!criterion.line8_cyclic.empty()) return "static";
            return "";
        }
        if (!criterion.line8_cyclic.empty() && soil == criterion.line8_cyclic) return "cyclic";
        Fail(record.line, "the Line 8 label names " + Quote(soil) + ", but its Line 7 is a " +
                              std::string(criterion.line7_text) + " curve");
    }

    // ---- Lines 9 to 12 ------------------------------------------------------

    void ReadLine9() {
        const Record& record = Expect(9, KindName(9));
        result_.number_of_cases = Count(record, 1, 5, "the number of load cases", 1, kMaxCases);
        result_.number_of_nodes = Count(record, 6, 5, "the number of nodes", 2, kMaxNodes);
        const int units = Count(record, 11, 5, "the unit system", 1, 3);
        if (units != result_.header.IUNITS) {
            Fail(record.line, "Line 9 gives unit system " + std::to_string(units) + ", but Line 1 gives " +
                                  std::to_string(result_.header.IUNITS));
        }
        Blank(record, 16, kLabelColumn - 1);
        ExpectLabel(record, kLabelColumn, kLine9Label);
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
                const Record& record = Expect(10, "Line 10 for node " + std::to_string(k) + " of the " +
                                                      std::to_string(nodes) + " nodes of load case " +
                                                      std::to_string(c));
                NodeResult node;
                node.depth = Real(record, 1, "the nodal depth");
                node.deflection = Real(record, 16, "the deflection");
                node.moment = Real(record, 31, "the bending moment");
                node.shear = Real(record, 46, "the shear force");
                node.soil_reaction = Real(record, 61, "the soil reaction");
                node.bending_stiffness = Real(record, 76, "the bending stiffness");
                Blank(record, 91, kLine10LabelColumn - 1);
                const std::string_view label = Label(record, kLine10LabelColumn);
                const std::string_view number = label.substr(kLine10Prefix.size(), 3);
                const std::string_view suffix =
                    label.size() > kLine10Prefix.size() + 3 ? label.substr(kLine10Prefix.size() + 3) : "";
                const std::string_view digits = TrimLeft(number);
                if (number.size() != 3 || !AllDigits(digits) || suffix != kLine10Suffix) {
                    Fail(record.line, "the Line 10 label should read \"Line 10(nnn): nodal depth, y, M, V, p, EI\" "
                                      "with the node number in three columns, found " + Quote(label));
                }
                if (std::stoi(std::string(digits)) != k) {
                    Fail(record.line, "node " + std::string(digits) + " where node " + std::to_string(k) +
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
        const Record& record = Expect(11, what);
        Blank(record, 6, kLabelColumn - 1);
        const std::string_view label = Label(record, kLabelColumn);
        const Line11Variant* variant = nullptr;
        int case_number = 0;
        for (const Line11Variant& candidate : kLine11Variants) {
            if (const auto number = NumberAfter(label, candidate.label)) {
                variant = &candidate;
                case_number = *number;
            }
        }
        if (variant == nullptr) Fail(record.line, "unknown Line 11 label " + Quote(label));
        if (case_number != profile.case_number) {
            Fail(record.line, "Line 11 names load case " + std::to_string(case_number) + " after the nodes of load case " +
                                  std::to_string(profile.case_number));
        }
        profile.has_line11 = true;
        profile.length_label = variant->kind;
        int count = 0;
        if (variant->kind == LengthStudyLabel::kStudied) {
            count = Count(record, 1, 5, "the number of length-study points", 0, kMaxLengthStudyPoints);
        } else if (Field(record, 1, 5) != "    0") {
            Fail(record.line, "a load case without a length study has \"    0\" in columns 1-5, found " +
                                  Quote(Field(record, 1, 5)));
        }
        for (int j = 1; j <= count; ++j) {
            const Record& point_record =
                Expect(12, "Line 12 point " + std::to_string(j) + " of the " + std::to_string(count) +
                               " announced by Line 11 at line " + std::to_string(record.line));
            LengthStudyPoint point;
            point.pile_length = Real(point_record, 1, "the pile length");
            point.head_deflection = Real(point_record, 16, "the pile-head deflection");
            point.max_moment = Real(point_record, 31, "the maximum moment");
            point.max_shear = Real(point_record, 46, "the maximum shear");
            Blank(point_record, 61, kLabelColumn - 1);
            ExpectLabel(point_record, kLabelColumn, kLine12Label);
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
            result_.units() == UnitSystemCode::kUscs ? kLine13UscsLabel : kLine13SiLabel;
        for (int c = 1; c <= cases; ++c) {
            const Record& record = Expect(13, "Line 13 for load case " + std::to_string(c) + " of " +
                                                  std::to_string(cases));
            CaseSummary summary;
            summary.head_shear = Real(record, 1, "the pile-head shear");
            summary.head_deflection = Real(record, 16, "the pile-head deflection");
            summary.max_moment = Real(record, 31, "the maximum moment");
            summary.max_shear = Real(record, 46, "the maximum shear");
            summary.head_rotation = Real(record, 61, "the pile-head rotation");
            Blank(record, 76, kLabelColumn - 1);
            ExpectLabel(record, kLabelColumn, expected_label);
            result_.summaries.push_back(summary);
        }
    }

    void ReadStiffness() {
        if (AtEnd() || Peek().kind != 14) return;
        if (result_.header.KXX != 1) {
            Fail(Peek().line, "Line 14 records, but Line 1 says the stiffness matrix was not requested (KXX = 0)");
        }
        for (int i = 1; i <= kStiffnessTrials; ++i) {
            const Record& record = Expect(14, "Line 14 for stiffness trial " + std::to_string(i) + " of " +
                                                  std::to_string(kStiffnessTrials));
            StiffnessTrial trial;
            trial.shear = Real(record, 1, "the shear V");
            trial.moment = Real(record, 16, "the moment M");
            trial.K22 = Real(record, 31, "K22");
            trial.K23 = Real(record, 46, "K23");
            trial.K32 = Real(record, 61, "K32");
            trial.K33 = Real(record, 76, "K33");
            trial.head_deflection = Real(record, 91, "ytop");
            trial.head_rotation = Real(record, 106, "theta");
            ExpectLabel(record, kLine14LabelColumn, kLine14Label);
            result_.stiffness.push_back(trial);
        }
    }

    // ---- Lines 15 to 17: interaction diagrams and checks (last in the file) --

    void ReadInteraction() {
        while (!AtEnd() && Peek().kind == 15) {
            const Record& header = Take();
            InteractionDiagramRecord diagram;
            diagram.section = Count(header, 1, 5, "the section number", 1, kMaxSectionsInRun);
            const int points = Count(header, 6, 5, "the number of diagram points", 1, kMaxInteractionPoints);
            diagram.design_code = Count(header, 11, 5, "the design code", 1, 3);
            diagram.balanced_point = Count(header, 16, 5, "the balanced point", 1, points);
            diagram.transverse = Count(header, 21, 5, "the transverse reinforcement", 1, 2);
            Blank(header, 26, kLabelColumn - 1);
            ExpectLabel(header, kLabelColumn, kLine15Label);
            diagram.line_number = header.line;
            for (int k = 1; k <= points; ++k) {
                const Record& record = Expect(16, "Line 16 for point " + std::to_string(k) + " of " +
                                                      std::to_string(points) + " of the interaction diagram");
                InteractionPointRecord point;
                point.Pn = Real(record, 1, "the nominal axial force");
                point.Mn = Real(record, 16, "the nominal moment");
                point.Pd = Real(record, 31, "the factored axial force");
                point.Md = Real(record, 46, "the factored moment");
                point.phi = Real(record, 61, "the strength reduction factor");
                const std::string expected = std::string(kLine16Prefix) + std::to_string(diagram.section) +
                                             ", Pt#=" + std::to_string(k);
                ExpectLabel(record, kLabelColumn, expected);
                diagram.points.push_back(point);
            }
            result_.interaction.push_back(std::move(diagram));
        }
        while (!AtEnd() && Peek().kind == 17) {
            const Record& record = Take();
            InteractionCheckRecord check;
            check.load_case = Count(record, 1, 5, "the load case number", 1, kMaxCases);
            check.section = Count(record, 6, 5, "the section number", 1, kMaxSectionsInRun);
            check.axial_thrust = Real(record, 11, "the axial thrust");
            check.moment = Real(record, 26, "the moment");
            const double ratio = Real(record, 41, "the capacity ratio");
            check.capacity_axial = Real(record, 56, "the capacity axial force");
            check.capacity_moment = Real(record, 71, "the capacity moment");
            check.result = Count(record, 86, 5, "the result", -1, 1);
            if (ratio >= 0.0) check.ratio = ratio;
            Blank(record, 91, kLine17LabelColumn - 1);
            ExpectLabel(record, kLine17LabelColumn, kLine17Label);
            result_.interaction_checks.push_back(check);
        }
    }

    std::string file_;
    std::vector<Record> records_;
    std::size_t next_ = 0;
    PlotResults result_;
};

std::string ErrorText(const std::string& file, std::size_t line, const std::string& message) {
    if (line == 0) return file + ": " + message;
    return file + ":" + std::to_string(line) + ": " + message;
}

}  // namespace

// A Fortran real as written by Ew.d (and the other forms a Fortran reader
// takes): [sign] digits [. digits] [exponent], the exponent being a letter E
// or D with an optional sign and digits, or a sign and digits without the
// letter; also NaN and Infinity as the runtime writes them.
std::optional<double> ParseFortranReal(std::string_view text) {
    if (text.empty()) return std::nullopt;
    bool negative = false;
    std::string_view body = text;
    if (body.front() == '+' || body.front() == '-') {
        negative = body.front() == '-';
        body.remove_prefix(1);
    }
    if (body == "NaN") return std::numeric_limits<double>::quiet_NaN();
    if (body == "Infinity" || body == "Inf") {
        return negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    }
    std::size_t i = 0;
    std::string mantissa;
    bool digits = false;
    bool point = false;
    for (; i < body.size(); ++i) {
        const char c = body[i];
        if (c >= '0' && c <= '9') {
            digits = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
        mantissa += c;
    }
    if (!digits) return std::nullopt;
    std::string exponent = "0";
    if (i < body.size()) {
        std::string_view rest = body.substr(i);
        if (rest.front() == 'E' || rest.front() == 'e' || rest.front() == 'D' || rest.front() == 'd') {
            rest.remove_prefix(1);
        } else if (rest.front() != '+' && rest.front() != '-') {
            return std::nullopt;
        }
        std::string sign;
        if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
            if (rest.front() == '-') sign = "-";
            rest.remove_prefix(1);
        }
        if (!AllDigits(rest) || rest.size() > 4) return std::nullopt;
        exponent = sign + std::string(rest);
    }
    const std::string number = mantissa + "e" + exponent;
    double value = 0.0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Beyond the range of a double: a damaged value rather than a result.
        return std::nullopt;
    }
    if (ec != std::errc() || end != number.data() + number.size()) return std::nullopt;
    return negative ? -value : value;
}

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
    constexpr double kPoundsPerKip = 1000.0;
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
    constexpr double kPoundsPerKip = 1000.0;
    return units == UnitSystemCode::kUscs ? kPoundsPerKip : 1.0;
}

}  // namespace trevasc::host
