// The plot output file read back into typed results.
//
// The engine writes its numerical results as fixed-column records, each
// ending with a label that names its kind (Line 1 to Line 17), laid out as
// the record table of include/trevasc/plot_records.hpp says. This reader
// recognises every record by its label at its fixed column (plot_labels),
// reads the numbers from their fixed fields (plot_fields), and checks the
// order in which a run writes the records (plot_grammar):
//
//   Line 1                      analysis mode, unit system, KYL, KXX
//   Line 2                      number of pile sections
//   [Line 3]                    number of axial thrust levels (section 1 only)
//   { Line 4, n x Line 5 }      one moment-curvature curve per section and thrust
//   Line 6                      number of p-y output depths (after load case 1)
//   { Line 7, n x Line 8 }      one p-y curve per printed depth
//   Line 9                      number of load cases, nodes, unit system
//   { N x Line 10, Line 11, n x Line 12 }   per load case: nodes, length study
//   Line 13 per load case       pile-head response summary
//   [10 x Line 14]              pile-head stiffness trials
//   { Line 15, n x Line 16 }    interaction diagram per section (runs that ask for them)
//   Line 17 per case and section   check of the load cases against the diagrams
//
// An analysis that stops with an error leaves the file as written up to that
// point. A file that ends between two of these groups is therefore read as
// an incomplete result (with the reason); a file that ends inside a group,
// whose records are out of order, or whose fields or labels do not match the
// layouts, is rejected with the file name, the line number and what was
// expected there.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace trevasc::host {

// `Units` of the run (Line 1 IUNITS).
enum class UnitSystemCode { kUscs = 1, kSi = 2, kGeneral = 3 };

// Line 1.
struct PlotFileHeader {
    int ICOM = 0;    // AnalysisMode 1..5
    int IUNITS = 0;  // 1 USCS, 2 SI, 3 GENERAL
    int KYL = 0;     // top-deflection-versus-length indicator of previous-format files
    int KXX = 0;     // 1 when the pile-head stiffness matrix was requested
};

// Line 3 label variants: where the thrust levels of the section curves came from.
enum class ThrustListSource { kEiOnly, kLrfd, kLoadCases, kElasticSection, kElasticPlasticSection };

// Line 4 / Line 5 label variants: how a section curve was made. The plain
// labels serve both the moment-curvature analysis and user-defined nonlinear EI.
enum class SectionCurveSource { kMomentCurvature, kElastic, kElasticPlastic };

struct MomentCurvaturePoint {
    double moment = 0.0;
    double bending_stiffness = 0.0;
    double curvature = 0.0;
};

// Line 4 and its Line 5 records, values as written. For USCS the thrust is in
// kips and the capacity in in-lb; the moments and stiffnesses are in kip-in
// and kip-in^2 for computed, elastic and elastic-plastic curves, and in in-lb
// and lb-in^2 for user-defined EI (see MomentScaleToConsistentUnits).
struct SectionCurve {
    int section = 0;       // from the Line 5 labels (inferred when the curve has no point)
    int thrust_index = 0;  // AxLd# of the Line 5 labels
    double axial_thrust = 0.0;
    double nominal_moment_capacity = 0.0;
    SectionCurveSource source = SectionCurveSource::kMomentCurvature;
    std::vector<MomentCurvaturePoint> points;
    std::size_t line_number = 0;  // of its Line 4
};

struct PyPoint {
    double y = 0.0;  // deflection, already multiplied by the y-multiplier
    double p = 0.0;  // soil reaction, already multiplied by the p-multiplier
};

// Line 7 and its Line 8 records.
struct PyCurve {
    int curve_number = 0;      // ordinal of the depth among the p-y output depths (0 for the short label)
    double depth = 0.0;        // below the pile head
    std::string soil_model;    // the 8-character SoilModelCode name, e.g. "SoftClay"
    std::string soil_text;     // the soil text of the Line 7 label, e.g. "soft clay"
    std::string loading;       // "static" or "cyclic" where the Line 8 label says so, else empty
    bool above_ground = false; // the 0-point record of Input Data Error 23
    std::vector<PyPoint> points;
    std::size_t line_number = 0;  // of its Line 7
};

// Line 10.
struct NodeResult {
    double depth = 0.0;
    double deflection = 0.0;
    double moment = 0.0;
    double shear = 0.0;
    double soil_reaction = 0.0;
    double bending_stiffness = 0.0;
};

// Line 11 label variants.
enum class LengthStudyLabel { kStudied, kNotStudied, kLrfdCase };

// Line 12.
struct LengthStudyPoint {
    double pile_length = 0.0;
    double head_deflection = 0.0;
    double max_moment = 0.0;
    double max_shear = 0.0;
};

// The Line 10 records of one load case, its Line 11 and Line 12 records.
struct CaseProfile {
    int case_number = 0;  // from the Line 11 label (the ordinal when the file ends before it)
    std::vector<NodeResult> nodes;
    bool has_line11 = false;
    LengthStudyLabel length_label = LengthStudyLabel::kNotStudied;
    std::vector<LengthStudyPoint> length_study;
};

// Line 13.
struct CaseSummary {
    double head_shear = 0.0;
    double head_deflection = 0.0;
    double max_moment = 0.0;
    double max_shear = 0.0;
    double head_rotation = 0.0;
};

// Line 14.
struct StiffnessTrial {
    double shear = 0.0;
    double moment = 0.0;
    double K22 = 0.0;
    double K23 = 0.0;
    double K32 = 0.0;
    double K33 = 0.0;
    double head_deflection = 0.0;
    double head_rotation = 0.0;
};

// Line 15 and its Line 16 records: the P-M interaction diagram of a section,
// nominal and factored, from uniform compression to uniform tension, in the
// section units (kips and in-kip for USCS, kN and kN-m for SI).
struct InteractionPointRecord {
    double Pn = 0.0;
    double Mn = 0.0;
    double Pd = 0.0;   // factored axial force
    double Md = 0.0;   // factored moment
    double phi = 1.0;  // strength reduction factor (1 for EN 1992 design strengths)
};

struct InteractionDiagramRecord {
    int section = 0;
    int design_code = 0;     // 1 AASHTO, 2 ACI 318, 3 EN 1992
    int balanced_point = 0;  // 1-based
    int transverse = 1;      // 1 tied, 2 spiral
    std::vector<InteractionPointRecord> points;
    std::size_t line_number = 0;  // of its Line 15
};

// Line 17: one load case against the factored diagram of one section.
struct InteractionCheckRecord {
    int load_case = 0;
    int section = 0;
    double axial_thrust = 0.0;
    double moment = 0.0;
    std::optional<double> ratio;  // none when the section has no diagram or the ray leaves it
    double capacity_axial = 0.0;
    double capacity_moment = 0.0;
    int result = -1;  // 1 pass, 0 fail, -1 not checked
};

struct PlotResults {
    std::string file_name;
    PlotFileHeader header;
    std::optional<int> number_of_sections;  // Line 2
    std::optional<int> thrust_count;        // Line 3
    ThrustListSource thrust_source = ThrustListSource::kLoadCases;
    std::vector<SectionCurve> section_curves;
    std::optional<int> py_depth_count;  // Line 6
    std::vector<PyCurve> py_curves;
    std::optional<int> number_of_cases;  // Line 9
    std::optional<int> number_of_nodes;
    std::vector<CaseProfile> cases;
    std::vector<CaseSummary> summaries;      // Line 13, in case order
    std::vector<StiffnessTrial> stiffness;   // Line 14
    std::vector<InteractionDiagramRecord> interaction;       // Lines 15 and 16
    std::vector<InteractionCheckRecord> interaction_checks;  // Line 17
    bool complete = false;
    std::string incomplete_reason;  // why the file is read as incomplete

    UnitSystemCode units() const { return static_cast<UnitSystemCode>(header.IUNITS); }
};

// A plot file that cannot be read: `file`, 1-based `line` (0 when the fault
// concerns the file as a whole) and what was wrong or expected.
class PlotFileError : public std::runtime_error {
public:
    PlotFileError(std::string file, std::size_t line, std::string message);
    const std::string& file() const { return file_; }
    std::size_t line() const { return line_; }
    const std::string& message() const { return message_; }

private:
    std::string file_;
    std::size_t line_;
    std::string message_;
};

// Reads a plot output file; throws PlotFileError.
PlotResults ReadPlotFile(const std::filesystem::path& path);
// The same for the file's text; `file_name` names it in errors.
PlotResults ParsePlotText(std::string_view text, const std::string& file_name);

// A real number as a Fortran runtime writes it with Ew.d, Fw.d or
// list-directed output (also "0.1234567+100" without the E, NaN and
// Infinity); nullopt for anything else. The text has no surrounding blanks.
std::optional<double> ParseFortranReal(std::string_view text);

// Factor that takes the moments and bending stiffnesses of a section curve
// from the file to the force and length units of the rest of the file (in-lb
// for USCS). USCS curves from the moment-curvature analysis and the elastic
// and elastic-plastic sections are written in kips and the user-defined EI
// curves in pounds, both under the plain labels; the Line 4 capacity is in
// in-lb for all of them. A plain-labelled curve whose capacity is within a
// factor of sqrt(1000) of its largest moment is therefore taken as written
// in pounds (user-defined EI, whose capacity is its largest moment), any
// other USCS curve as written in kips. SI and GENERAL files: 1.
double MomentScaleToConsistentUnits(UnitSystemCode units, const SectionCurve& curve);
// Factor that takes the Line 4 thrust to consistent units (kips to pounds for USCS).
double ThrustScaleToConsistentUnits(UnitSystemCode units);

}  // namespace trevasc::host
