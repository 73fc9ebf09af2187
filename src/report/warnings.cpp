#include "report/warnings.hpp"

#include <cstdlib>
#include <initializer_list>
#include <string_view>

#include "report/fortran_format.hpp"
#include "report/output_channel.hpp"

namespace trevasc::report {
namespace {

struct WarningText {
    int id;
    std::initializer_list<std::string_view> lines;  // "" is an empty line
};

// The explanatory text printed under the count line of each id that has one.
const WarningText kWarningTexts[] = {
    {302, {"",
         "**** Warning ****",
         "",
         "An unreasonable value was input for friction angle has been specified",
         "for a soil layer defined uisng the sand criteria.  The input value is",
         "either smaller than 20 degrees or higher than 48 degrees.  The input",
         "data should be checked for correctness.",
         ""}},
    {303, {"**** Warning ****",
         "",
         "An unreasonable value was input for friction angle has been specified for a",
         "soil layer defined uisng the API sand criteria.  The input value is either",
         "smaller than 20 degrees or higher than 48 degrees.  The input data should",
         "be checked for correctness.",
         ""}},
    {305, {"***** Warning *****",
         "",
         "Too many values were calculated for moment-curvature.",
         "This may indicate that the pile is too weak or is under-reinforced, ",
         "where all reinforcing steel has yielded.  You should examine your input ",
         "data and increase the amount of steel reinforcement if necessary."}},
    {306, {"",
         "Warning - Negative values of bending moment were computed in nonlinear EI computations.",
         "This may indicate that the pile is too weak or is under-reinforced and that all reinforcing steel ",
         "has yielded.",
         "You should examine your input data and increase the amount of steel reinforcement if necessary.",
         ""}},
    {308, {"",
         "**** Warning ****",
         "",
         "An unreasonable input value for uniaxial compressive strength has been ",
         "specified for a soil defined using the vuggy limestone criteria.",
         "The input value is outside of the range of 1,000 to 2,500 psi (6,895 to 17,237 kPa).",
         "You should check your input data for correctness.",
         ""}},
    {316, {"***** Warning *****",
         "",
         "The input value for k_rm used by the weak rock criteria is smaller than ",
         "0.00005.  This value is outside the recommended range of 0.00005 to 0.0005.",
         "You should check your input data for accuracy.",
         ""}},
    {317, {"**** Warning - Possible Input Data Error ****",
         "",
         "The input value for k_rm used by the weak rock criteria is ",
         "greater than 0.0005.  This value is outside the recommended ",
         "range of 0.00005 to 0.005.  You should check your input data",
         "for accuracy.",
         ""}},
    {354, {"",
         "**** Warning - Possible Modelling Error ****",
         "",
         "The depth of this liquefied sand layer is deeper than the recommended depth ",
         "limit of 6 meters for using the p-y criteria for liquefied sand.",
         "Please consult the Trevasc Technical Manual for additional background ",
         "information regarding limitations on the use of the liquefied sand criteria.",
         ""}},
    {kFrozenSoilWarning, {"",
         "**** Warning - Frozen Soil Without p-y Criterion ****",
         "",
         "One or more soil layers are frozen soil, for which no p-y criterion exists.",
         "Their nodes keep a constant soil modulus of 50000 in the force and length",
         "units of the analysis (lbs/in**2 in US customary units, kN/m**2 in SI units)",
         "at every deflection.  You should check that this stiffness suits the soil.",
         ""}},
    {400, {"",
         "**** Warning - Failure for One or More LRFD Load Cases ****",
         "",
         "This warning message is provided to alert the user that one or more of ",
         "LRFD load cases has overloaded the structural capacity of the pile."}},
    {410, {"",
         "**** Warning - Load Cases Outside the Factored Interaction Diagram ****",
         "",
         "One or more load cases place an axial force and bending moment outside the ",
         "factored axial force - bending moment interaction diagram of a pile section.",
         "See the interaction check table after the summary of pile responses."}},
    {411, {"",
         "**** Warning - Interaction Diagram Not Available ****",
         "",
         "Interaction diagrams were requested, but one or more pile sections have a ",
         "bending stiffness given in the input (elastic, elastic-plastic, user-defined ",
         "or micropile sections) and no materials to compute a diagram from. ",
         "Those sections are not checked; check them by other means."}},
    {3041, {"",
         "**** Warning ****",
         "",
         "An unreasonable input value for shear strength has been specified for a soil",
         "defined using the soft clay criteria.  The input value is greater than 8.68",
         "psi (1,250 psf).  You should check your input data for correctness.",
         ""}},
    {3042, {"",
         "**** Warning ****",
         "",
         "An unreasonable input value for shear strength has been specified for a soil",
         "defined using the soft clay criteria.",
         "The input value is greater than 59.85 kN/m2. You should check your input data for correctness.",
         ""}},
    {3051, {"",
         "**** Warning ****",
         "",
         "An unreasonable input value for shear strength has been specified for a layer.",
         "defined using the stiff clay with free water criteria.  The input value is ",
         "less than 3.47 psi (500 psf). You should check your input data for correctness.",
         ""}},
    {3052, {"",
         "**** Warning ****",
         "",
         "An unreasonable input value for shear strength has been specified for a layer.",
         "defined using the stiff clay with free water criteria.  The input value is ",
         "greater than 55.55 psi (8,000 psf).  You should check your input data for",
         "correctness.",
         ""}},
    {3053, {"",
         "**** Warning ****",
         "",
         "An unreasonable input value for shear strength has been specified for a layer.",
         "defined using the stiff clay with free water criteria.  The input value is ",
         "less than 23.94 kN/m2.  You should check your input data for correctness.",
         ""}},
    {3054, {"",
         "**** Warning ****",
         "",
         "An unreasonable input value for shear strength has been specified for a layer. ",
         "defined using the stiff clay with free water criteria.  The input value is ",
         "greater than 383.04 kN/m2.  You should check your input data for correctness.",
         ""}},
    {3061, {"",
         "**** Warning ****",
         "",
         "An unreasonable input value for shear strength has been specified for a layer. ",
         "defined using the stiff clay without free water criteria.  The input value is ",
         "less than 3.47 psi (500 psf).  You should check your input data for correctness.",
         ""}},
    {3062, {"",
         "**** Warning ****",
         "",
         "An unreasonable input value for shear strength has been specified for a layer.",
         "defined using the stiff clay without free water criteria.  The input value is ",
         "greater than 8,000 psf (55.55 psi).  You should check your input data for correctness.",
         ""}},
    {3063, {"",
         "**** Warning ****",
         "",
         "An unreasonable input value for shear strength has been specified for a layer.",
         "defined using the stiff clay without free water criteria.  The input value is ",
         "less than 23.94 kN/m2.  You should check your input data for correctness.",
         ""}},
    {3064, {"",
         "**** Warning ****",
         "",
         "An unreasonable input value for shear strength has been specified for a layer.",
         "defined using the stiff clay without free water criteria.  The input value is ",
         "greater than 383.04 kN/m2.  You should check your input data for correctness.",
         ""}},
    {3071, {"",
         "**** Warning ****",
         "",
         "An unreasonable input value for the compressive strength has been specified",
         "for a soil defined using the weak rock criteria.  The input value is less ",
         "than 100 psi.  You should check your input data for correctness.",
         ""}},
    {3072, {"",
         "**** Warning ****",
         "",
         "An unreasonable input value for unconfined compressive strength has been ",
         "specified for a soil defined using the weak rock criteria.  The input value",
         "is greater than 1000 psi.  You should check your input data for correctness.",
         ""}},
    {3073, {"",
         "**** Warning ****",
         "",
         "An unreasonable input value for unconfined compressive strength has been ",
         "specified for a soil defined using the weak rock criteria.  The input value",
         "is less than  689.5 kN/m2.  You should check your input data for correctness.",
         ""}},
    {3074, {"",
         "**** Warning ****",
         "",
         "An unreasonable input value for unconfined compressive strength has been",
         "specified for a soil defined using the weak rock criteria.  The input value",
         "is greater than 6895 kN/m2.  You should check your input data for correctness.",
         ""}},
    {3261, {"",
         "**** Warning ****",
         "",
         "An unreasonable input value for shear strength has been specified for a layer.",
         "defined using the stiff clay without free water criteria using k.",
         "The input value is less than 500 psf (3.47 psi).",
         "   You should check your input data for correctness.",
         ""}},
    {3262, {"",
         "**** Warning ****",
         "",
         "An unreasonable input value for shear strength has been specified for a layer.",
         "defined using the stiff clay without free water criteria using k.",
         "The input value is greater than 8,000 psf (55.55 psi).",
         "You should check your input data for correctness.",
         ""}},
    {3263, {"",
         "**** Warning ****",
         "",
         "An unreasonable input value for shear strength has been specified for a layer.",
         "defined using the stiff clay without free water criteria using k.",
         "The input value is less than 23.94 kN/m2.",
         "You should check your input data for correctness.",
         ""}},
    {3264, {"",
         "**** Warning ****",
         "",
         "An unreasonable input value for shear strength has been specified for a layer.",
         "defined using the stiff clay without free water criteria using k.",
         "The input value is greater than 383.04 kN/m2.",
         "You should check your input data for correctness.",
         ""}},
};

const WarningText* FindText(int id) {
    for (const auto& text : kWarningTexts) {
        if (text.id == id) return &text;
    }
    return nullptr;
}

}  // namespace

void WarningRegistry::RecordWarning(std::int32_t id) {
    const int k = std::abs(id);
    if (k < 1 || k > kWarningSlots) return;  // not a warning id: nothing to count
    std::int32_t c = WarningCount[k];
    if (c < kWarningSlots) {
        c += 1;
        WarningCount[k] = c;
        WarningLog[c] = id;
    }
    WarningCount[0] = c;
    changed_since_case_start = true;
}

void WarningRegistry::StartLoadCase() {
    // Warnings of the set-up (the liquefied-sand depth of the echo, the
    // section analysis) are raised once per run; clearing them with the
    // counts of the previous case would let the summary and the result code
    // deny a warning the report has printed.
    if (!load_cases_started) {
        set_up_count = WarningCount;
        load_cases_started = true;
    } else if (!changed_since_case_start) {
        return;  // the counts are the set-up's, every text still marked
    } else {
        for (int k = 1; k <= kWarningSlots; ++k) WarningCount[k] = set_up_count[k];
    }
    MessageFlags.fill(true);
    changed_since_case_start = false;
}

std::int32_t WarningRegistry::DistinctIds() const {
    std::int32_t distinct = 0;
    for (int k = 1; k <= kWarningSlots; ++k) {
        if (WarningCount[k] > 0) ++distinct;
    }
    return distinct;
}

std::int32_t WarningRegistry::ResultCode() const {
    const std::int32_t distinct = DistinctIds();
    if (distinct > 1) return -300;
    if (distinct == 0) return 0;
    // One id: report that id with the sign it was raised with. The log is
    // indexed by occurrence number and outlives the per-case counts, so its
    // last entry can belong to an id of an earlier case; search for the id
    // that is actually counted.
    int counted = 0;
    for (int k = 1; k <= kWarningSlots; ++k) {
        if (WarningCount[k] > 0) counted = k;
    }
    for (int i = kWarningSlots; i >= 1; --i) {
        if (std::abs(WarningLog[i]) == counted) return WarningLog[i];
    }
    return -counted;
}

void WarningSummary(WarningRegistry& registry, OutputChannel& report) {
    registry.WarningCount[0] = registry.DistinctIds();
    if (registry.WarningCount[0] == 0) {
        report.Blank(2);
        report.Line("No error or warning messages were generated by this analysis.");
        report.Blank();
        return;
    }
    const std::string rule(80, '-');
    report.Blank(2);
    report.Line(rule);
    report.Line(std::string(26, ' ') + "Summary of Warning Messages");
    report.Line(rule);
    report.Blank();
    for (int k = 1; k <= kWarningSlots; ++k) {
        if (registry.WarningCount[k] <= 0) continue;
        report.Line("The following warning was reported " + fmt::I0(registry.WarningCount[k]) + " times");
        report.Blank();
        const WarningText* text = FindText(k);
        if (text != nullptr && registry.MessageFlags[k]) {
            for (std::string_view line : text->lines) report.Line(line);
            registry.MessageFlags[k] = false;
            registry.changed_since_case_start = true;
        }
    }
}

}  // namespace trevasc::report
