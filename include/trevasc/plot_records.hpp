// The record kinds of the plot output file, as data.
//
// The plot output file is a text file of fixed-column records; every record
// ends with a label that names its kind ("Line 1" to "Line 17"; the numbers
// are kinds, not positions in the file). Each kind is described here once, as
// the Fortran format it is written with: its edit descriptors in order (Iw,
// Ew.d, nX, Tn, quoted texts and A for a text the writer supplies), so that
// the columns of every field follow from the table. The engine writes each
// record from its layout, and a host that reads the file finds the same
// columns, labels and capacities here.
//
// Field conventions: Iw right-justified in w columns, I0 in as few digits as
// needed; Ew.d as "0.", d digits and a four-character exponent ("E+03", or
// "+100" without the E for three-digit exponents), right-justified; nX is n
// blanks; Tn continues the record at column n. Columns count from 1, and no
// record has a carriage-control column.
//
// Header-only constexpr data: nothing here is exported from the library.
#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <optional>
#include <span>
#include <string_view>

namespace trevasc::plot {

// ---- edit descriptors -------------------------------------------------------

enum class Edit : unsigned char {
    kInteger,  // Iw; a width of 0 is I0
    kReal,     // Ew.d
    kBlanks,   // nX
    kTab,      // Tn
    kLiteral,  // a quoted text of the format, written as it stands
    kText,     // A: a text the writer supplies, written whole
};

struct Descriptor {
    Edit edit = Edit::kLiteral;
    int width = 0;     // w of Iw and Ew.d, n of nX, the column of Tn
    int decimals = 0;  // d of Ew.d
    std::string_view text{};  // the quoted text

    // True for the descriptors that take a value from the writer.
    constexpr bool TakesValue() const {
        return edit == Edit::kInteger || edit == Edit::kReal || edit == Edit::kText;
    }
    // True for a descriptor whose width is known before the value is.
    constexpr bool FixedWidth() const { return edit != Edit::kText && !(edit == Edit::kInteger && width == 0); }
};

constexpr Descriptor I(int width) { return {Edit::kInteger, width, 0, {}}; }
constexpr Descriptor I0() { return {Edit::kInteger, 0, 0, {}}; }
constexpr Descriptor E(int width, int decimals) { return {Edit::kReal, width, decimals, {}}; }
constexpr Descriptor X(int count) { return {Edit::kBlanks, count, 0, {}}; }
constexpr Descriptor T(int column) { return {Edit::kTab, column, 0, {}}; }
constexpr Descriptor Literal(std::string_view text) { return {Edit::kLiteral, 0, 0, text}; }
constexpr Descriptor A() { return {Edit::kText, 0, 0, {}}; }

// The columns of a fixed-width field.
struct Columns {
    int first = 0;  // 1-based
    int width = 0;
    constexpr int last() const { return first + width - 1; }
};

// ---- record layouts ----------------------------------------------------------

// One record kind written with one format. Some kinds have more than one
// layout (Line 7 above the ground surface, the three spacings of Line 8).
class Layout {
public:
    static constexpr std::size_t kMaxDescriptors = 12;

    constexpr Layout(int kind, std::initializer_list<Descriptor> format) : kind_(kind) {
        for (const Descriptor& d : format) format_[size_++] = d;
    }

    // The n of the record's "Line n" label.
    constexpr int kind() const { return kind_; }
    constexpr std::span<const Descriptor> format() const { return {format_.data(), size_}; }

    // The number of values a writer supplies, in format order.
    constexpr std::size_t ValueCount() const {
        std::size_t n = 0;
        for (const Descriptor& d : format()) n += d.TakesValue() ? 1 : 0;
        return n;
    }

    // Index in format() of the descriptor that takes value `n` (0-based).
    constexpr std::size_t DescriptorOfValue(std::size_t n) const {
        for (std::size_t i = 0; i < size_; ++i) {
            if (format_[i].TakesValue() && n-- == 0) return i;
        }
        return size_;
    }

    // The first column of descriptor `i`, when every descriptor before it
    // has a fixed width; nullopt otherwise.
    constexpr std::optional<int> ColumnOf(std::size_t i) const {
        int column = 1;
        for (std::size_t k = 0; k < i && k < size_; ++k) {
            const Descriptor& d = format_[k];
            switch (d.edit) {
                case Edit::kTab: column = d.width; break;
                case Edit::kLiteral: column += static_cast<int>(d.text.size()); break;
                case Edit::kText: return std::nullopt;
                default:
                    if (!d.FixedWidth()) return std::nullopt;
                    column += d.width;
                    break;
            }
        }
        return column;
    }

    // The columns of fixed-width value `n` (an Iw or Ew.d field before the label).
    constexpr Columns FieldColumns(std::size_t n) const {
        const std::size_t i = DescriptorOfValue(n);
        return {ColumnOf(i).value_or(0), i < size_ ? format_[i].width : 0};
    }

    // Index of the first descriptor of the label: the first quoted text or A.
    constexpr std::size_t LabelDescriptor() const {
        for (std::size_t i = 0; i < size_; ++i) {
            if (format_[i].edit == Edit::kLiteral || format_[i].edit == Edit::kText) return i;
        }
        return size_;
    }
    // The column where the label starts.
    constexpr int LabelColumn() const { return ColumnOf(LabelDescriptor()).value_or(0); }
    // The quoted text that opens the label, or empty when the label opens
    // with a supplied text (a label variant).
    constexpr std::string_view FixedLabel() const {
        const std::size_t i = LabelDescriptor();
        return i < size_ && format_[i].edit == Edit::kLiteral ? format_[i].text : std::string_view{};
    }

private:
    int kind_ = 0;
    std::size_t size_ = 0;
    std::array<Descriptor, kMaxDescriptors> format_{};
};

// Line 1: ICOM = AnalysisMode (1 to 5), IUNITS = Units (1 USCS, 2 SI,
// 3 GENERAL), KYL = the top-deflection-versus-length indicator of
// previous-format inputs (0 otherwise), KXX = 1 when the pile-head stiffness
// matrix is asked for.
inline constexpr Layout kLine1{1, {I(5), I(5), I(5), I(5), X(60), Literal("Line 1 : ICOM, IUNITS, KYL, KXX")}};
// Line 2: the number of pile sections.
inline constexpr Layout kLine2{2, {I(5), X(75), Literal("Line 2 : Total number of sections")}};
// Line 3: the number of axial thrust levels of the section curves that
// follow; the label is that of SectionCurveLabels::line3.
inline constexpr Layout kLine3{3, {I(5), X(75), A()}};
// Line 4: the number of points of one section curve, its axial thrust and
// its nominal moment capacity; label SectionCurveLabels::line4.
inline constexpr Layout kLine4{4, {I(5), X(10), E(15, 7), E(15, 7), T(81), A()}};
// Line 5: moment, bending stiffness EI and curvature of one curve point; the
// label (SectionCurveLabels::line5) is followed by the section, thrust-level
// and point numbers.
inline constexpr Layout kLine5{
    5, {E(15, 7), E(15, 7), E(15, 7), T(81), A(), I0(), Literal(", AxLd#="), I0(), Literal(", CurvPnt#="), I0()}};
// Line 6: the number of p-y output depths (0 when no curves are printed).
inline constexpr Layout kLine6{6, {I(5), X(75), Literal("Line 6 : number of output p-y curves")}};
// Line 7: the depth of a p-y output curve and its number of points; the
// label is the criterion's text (PyCurveLabels::line7) and the curve number,
// the ordinal of the depth among the output depths.
inline constexpr Layout kLine7{7, {E(15, 7), I(5), X(60), A(), I0()}};
// Line 7 of an output depth above the ground surface: no points, no curve number.
inline constexpr Layout kLine7AboveGround{
    7, {E(15, 7), I(5), X(60), Literal("Line 7:  p-y curve depth, no. p-y points")}};
// Line 8: deflection y and soil reaction p of one curve point (both already
// multiplied by the y- and p-multipliers), then in the label the point
// number and the criterion's soil text. Most criteria write 50 blanks and
// the point number in I2; some 20 blanks, some the number in I0
// (PyCurveLabels::line8 says which).
inline constexpr Layout kLine8{
    8, {E(15, 7), E(15, 7), X(50), Literal("Line 8("), I(2), Literal("): y, p, for "), A()}};
inline constexpr Layout kLine8AfterTwentyBlanks{
    8, {E(15, 7), E(15, 7), X(20), Literal("Line 8("), I(2), Literal("): y, p, for "), A()}};
inline constexpr Layout kLine8PointInI0{
    8, {E(15, 7), E(15, 7), X(50), Literal("Line 8("), I0(), Literal("): y, p, for "), A()}};
// Line 9: the number of load cases of the run, the number of nodes and Units.
inline constexpr Layout kLine9{
    9, {I(5), I(5), I(5), X(65), Literal("Line 9:  No. loads, No. nodes, iunits: 1 = USCS, 2 = SI")}};
// Line 10: depth, deflection, moment, shear, soil reaction and EI of one
// node; the node number sits in three columns of the label.
inline constexpr Layout kLine10{10,
                                {E(15, 7), E(15, 7), E(15, 7), E(15, 7), E(15, 7), E(15, 7), T(92),
                                 Literal("Line 10("), I(3), Literal("): nodal depth, y, M, V, p, EI")}};
// Line 11: the number of points of the case's length study (0 without one),
// then the label (kLine11Studied, kLine11NotStudied or kLine11Lrfd) and the
// case number.
inline constexpr Layout kLine11{11, {I(5), X(75), A(), I0()}};
// Line 12: trial pile length, head deflection, maximum moment, maximum shear.
inline constexpr Layout kLine12{
    12, {E(15, 7), E(15, 7), E(15, 7), E(15, 7), X(20), Literal("Line 12: pile length, Ytop, Mmax, Vmax")}};
// Line 13: head shear, head deflection, maximum moment, maximum shear and
// head rotation of one case; the label is kLine13Uscs or kLine13Si.
inline constexpr Layout kLine13{13, {E(15, 7), E(15, 7), E(15, 7), E(15, 7), E(15, 7), T(81), A()}};
// Line 14: shear, moment, K22, K23, K32, K33, head deflection and head
// rotation of one pile-head stiffness trial; the label text, with its two
// leading blanks, starts in column 121.
inline constexpr Layout kLine14{14,
                                {E(15, 7), E(15, 7), E(15, 7), E(15, 7), E(15, 7), E(15, 7), E(15, 7), E(15, 7),
                                 Literal("  Line 14: V, M, K22, K23, K32, K33, ytop, theta")}};
// Line 15: section number, number of points of its P-M interaction diagram,
// design code (1 AASHTO, 2 ACI 318, 3 EN 1992), the balanced point (1-based)
// and the transverse reinforcement (1 tied, 2 spiral).
inline constexpr Layout kLine15{
    15, {I(5), I(5), I(5), I(5), I(5), X(55),
         Literal("Line 15: Sect#, No. P-M points, design code, balanced point, 1 = tied 2 = spiral")}};
// Line 16: Pn, Mn, factored P, factored M and phi of one diagram point; the
// label ends with the section and point numbers.
inline constexpr Layout kLine16{16,
                                {E(15, 7), E(15, 7), E(15, 7), E(15, 7), E(15, 7), X(5),
                                 Literal("Line 16: Pn, Mn, factored P, factored M, phi for Sect#="), I0(),
                                 Literal(", Pt#="), I0()}};
// Line 17: one load case against the factored diagram of one section: case
// and section numbers, P, M, the capacity ratio (-1 when none), the capacity
// P and M and the result (1 pass, 0 fail, -1 not checked).
inline constexpr Layout kLine17{17,
                                {I(5), I(5), E(15, 7), E(15, 7), E(15, 7), E(15, 7), E(15, 7), I(5), X(5),
                                 Literal("Line 17: Case#, Sect#, P, M, ratio, capacity P, M, pass")}};

// Every layout of the file.
inline constexpr std::array<const Layout*, 20> kLayouts = {
    &kLine1,  &kLine2,  &kLine3,  &kLine4,  &kLine5,  &kLine6,  &kLine7,  &kLine7AboveGround,
    &kLine8,  &kLine8AfterTwentyBlanks, &kLine8PointInI0,  &kLine9,  &kLine10, &kLine11,
    &kLine12, &kLine13, &kLine14, &kLine15, &kLine16, &kLine17,
};

inline constexpr int kFirstKind = 1;
inline constexpr int kLastKind = 17;

// What each record kind holds, by kind number (entry 0 is unused).
inline constexpr std::array<std::string_view, kLastKind + 1> kKindContents = {
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

// ---- label variants ----------------------------------------------------------

// Where the curves of a section come from; chooses the labels of Lines 3 to 5.
enum class SectionCurveSource {
    kEiOnly,          // moment-curvature analysis, AnalysisMode 2
    kLrfd,            // moment-curvature analysis, AnalysisMode 3 with LRFD
    kPileHeadLoads,   // moment-curvature analysis, AnalysisMode 3
    kElastic,         // SectionType 11
    kElasticPlastic,  // SectionType 12
    kUserDefined,     // SectionType 13
};

struct SectionCurveLabels {
    SectionCurveSource source;
    std::string_view line3;  // empty: the source writes no Line 3
    std::string_view line4;
    std::string_view line5;  // before the section number
};

inline constexpr std::string_view kMomentCurvatureLine4 =
    "Line 4 : Num. M-EI-Crv Points, Axial Thrust Load, Nom. Moment Cap.";
inline constexpr std::string_view kMomentCurvatureLine5 = "Line 5 : Moment, EI, Curvature for Sect#=";

inline constexpr std::array<SectionCurveLabels, 6> kSectionCurveLabels = {{
    {SectionCurveSource::kEiOnly, "Line 3 : Total number of axial thrusts for EI-only computations",
     kMomentCurvatureLine4, kMomentCurvatureLine5},
    {SectionCurveSource::kLrfd, "Line 3 : Total number of axial thrusts for LRFD", kMomentCurvatureLine4,
     kMomentCurvatureLine5},
    {SectionCurveSource::kPileHeadLoads, "Line 3 : Total number of axial thrusts", kMomentCurvatureLine4,
     kMomentCurvatureLine5},
    {SectionCurveSource::kElastic, "Line 3 : Total number of axial thrusts for elastic section",
     "Line 4 : Num. Elas. M-EI-Crv Points, Axial Thrust Load, Nom. Moment Cap. for linear EI",
     "Line 5 : Elastic Moment, EI, Curvature for Sect#="},
    {SectionCurveSource::kElasticPlastic, "Line 3 : Total number of axial thrusts for elastic-plastic section",
     "Line 4 : Num. M-EI-Crv Points, Axial Thrust Load, Nom. Moment Cap. for elastic-plastic EI",
     "Line 5 : Elas-Plas Moment, EI, Curvature for Sect#="},
    {SectionCurveSource::kUserDefined, "", kMomentCurvatureLine4, kMomentCurvatureLine5},
}};

constexpr const SectionCurveLabels& LabelsOf(SectionCurveSource source) {
    return kSectionCurveLabels[static_cast<std::size_t>(source)];
}

// The Line 7 and Line 8 labels of a p-y criterion. A Line 7 label reads
// kLine7Opening, the Line 7 soil text, the count wording (kLine7Count, or
// kLine7CountJ for soft clay with J) and the curve number; a Line 8 label
// reads "Line 8(", the point number, "): y, p, for " and the Line 8 soil text.
inline constexpr std::string_view kLine7Opening = "Line 7:  p-y curve depth in ";
inline constexpr std::string_view kLine7Count = ", no. p-y points on curve no. ";
inline constexpr std::string_view kLine7CountJ = ", no. points on p-y curve no. ";

struct PyCurveLabels {
    std::string_view soil_model;    // SoilModelCode, e.g. "SoftClay"
    std::string_view line7;         // the Line 7 label up to the curve number
    const Layout* line8;            // kLine8, kLine8AfterTwentyBlanks or kLine8PointInI0
    std::string_view line8_soil;    // the Line 8 soil text (static loading where the two differ)
    std::string_view line8_cyclic;  // the Line 8 soil text for cyclic loading, or empty when the same

    // The soil text of the Line 7 label, e.g. "soft clay with J".
    constexpr std::string_view Line7Soil() const {
        std::string_view soil = line7.substr(kLine7Opening.size());
        const std::size_t wording = soil.ends_with(kLine7CountJ) ? kLine7CountJ.size() : kLine7Count.size();
        return soil.substr(0, soil.size() - wording);
    }
};

inline constexpr std::array<PyCurveLabels, 16> kPyCurveLabels = {{
    {"SoftClay", "Line 7:  p-y curve depth in soft clay, no. p-y points on curve no. ", &kLine8, "soft clay", ""},
    {"SoftClyJ", "Line 7:  p-y curve depth in soft clay with J, no. points on p-y curve no. ", &kLine8, "soft clay",
     ""},
    {"StfClyBW", "Line 7:  p-y curve depth in stiff clay with free water, no. p-y points on curve no. ", &kLine8,
     "static stiff clay with free water", "cyclic stiff clay w/water"},
    {"StfClyAW", "Line 7:  p-y curve depth in stiff clay w/o free water, no. p-y points on curve no. ", &kLine8,
     "stiff clay w/o water", ""},
    {"StfClyAK", "Line 7:  p-y curve depth in stiff clay w/o free water with k, no. p-y points on curve no. ",
     &kLine8, "stiff clay with k", ""},
    {"Sand", "Line 7:  p-y curve depth in sand, no. p-y points on curve no. ", &kLine8, "sand", ""},
    {"API Sand", "Line 7:  p-y curve depth in API sand, no. p-y points on curve no. ", &kLine8, "API sand", ""},
    {"Liq Sand", "Line 7:  p-y curve depth in liquefied sand, no. p-y points on curve no. ", &kLine8AfterTwentyBlanks,
     "liquefied sand", ""},
    {"WeakRock", "Line 7:  p-y curve depth in weak rock, no. p-y points on curve no. ", &kLine8, "weak rock", ""},
    {"Vuggy LS", "Line 7:  p-y curve depth in vuggy limestone, no. p-y points on curve no. ", &kLine8,
     "vuggy limestone rock", ""},
    {"Cem Silt", "Line 7:  p-y curve depth in cemented silt, no. p-y points on curve no. ", &kLine8,
     "cemented c-phi", ""},
    {"User p-y", "Line 7:  p-y curve depth in user-input p-y curve, no. p-y points on curve no. ",
     &kLine8AfterTwentyBlanks, "user-input p-y curve", ""},
    {"KS Loess", "Line 7:  p-y curve depth in loess, no. p-y points on curve no. ", &kLine8PointInI0, "Loess", ""},
    {"Piedmont", "Line 7:  p-y curve depth in Piedmont residual soil, no. p-y points on curve no. ",
     &kLine8PointInI0, "Piedmont residual soil", ""},
    {"Elast SG", "Line 7:  p-y curve depth in elastic subgrade soil, no. p-y points on curve no. ",
     &kLine8PointInI0, "elastic subgrade", ""},
    {"MassRock", "Line 7:  p-y curve depth in massive rock, no. p-y points on curve no. ", &kLine8,
     "Massive Rock", ""},
}};

// The labels of a criterion by its SoilModelCode; nullptr for none.
constexpr const PyCurveLabels* PyCurveLabelsOf(std::string_view soil_model) {
    for (const PyCurveLabels& labels : kPyCurveLabels) {
        if (labels.soil_model == soil_model) return &labels;
    }
    return nullptr;
}

// Line 11 labels, each followed by the case number: after a length study
// (whose Line 12 records follow), for a pile-head load case without one and
// for an LRFD combination.
inline constexpr std::string_view kLine11Studied = "Line 11: Num. points on Ytop vs. pile length curve for load case ";
inline constexpr std::string_view kLine11NotStudied = "Line 11: Num. points on Ytop vs. Length curve for load case ";
inline constexpr std::string_view kLine11Lrfd = "Line 11: Num. points on Ytop vs. Length curve for LRFD load case ";

// Line 13 labels: USCS, and SI or GENERAL units.
inline constexpr std::string_view kLine13Uscs = "Line 13: TopV(lbs), TopY(in), Mmax(in-lbs), Vmax(lbs), Rotation(rad)";
inline constexpr std::string_view kLine13Si = "Line 13: TopV(kN) TopY(m), Mmax(kN-m), Vmax(kN), Rotation(rad)";

// ---- capacities ----------------------------------------------------------------

// The capacities of the engine's tables, and so the largest counts a record
// of a run can carry. The engine checks that its tables agree.
inline constexpr int kMaxSections = 20;       // pile sections (Line 2, Line 15)
inline constexpr int kMaxThrustLevels = 100;  // axial thrust levels (Line 3)
inline constexpr int kMaxCurvePoints = 150;   // points of a moment-curvature curve (Line 4)
inline constexpr int kMaxPyDepths = 100;      // p-y output depths (Line 6)
inline constexpr int kMaxLoadCases = 100;     // load cases or LRFD combinations (Line 9, Line 17)
inline constexpr int kMaxNodes = 501;         // nodes of the pile model (Line 9)
inline constexpr int kLengthStudyTrials = 20; // trials of a length study (Line 11)
inline constexpr int kStiffnessTrials = 10;   // Line 14 records of a pile-head stiffness analysis
inline constexpr int kPyCurvePoints = 17;     // points of every p-y output curve (Line 7)

}  // namespace trevasc::plot
