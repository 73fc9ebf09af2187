// Echo of the input data: option blocks, the tolerance reset and the final
// checks that a file without a pile meets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/run_fixture.hpp"

namespace trevasc {
namespace {

bool Contains(const std::vector<std::string>& lines, const std::vector<std::string>& block) {
    for (std::size_t i = 0; i + block.size() <= lines.size(); ++i) {
        bool all = true;
        for (std::size_t j = 0; j < block.size() && all; ++j) all = lines[i + j] == block[j];
        if (all) return true;
    }
    return false;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

std::string Labelled(const std::string& label, const std::string& value) {
    return label + std::string(55 - label.size(), ' ') + "= " + value;
}

TEST(EchoOfInput, ProgramOptionsAndZeroToleranceResetInGeneralUnits) {
    std::string input = testing::MinimalInput("Units GENERAL", false);
    input = Replace(input, "Tolerance 1.0E-5", "Tolerance 0");
    input = Replace(input, "ComputeKmatrix NO", "ComputeKmatrix YES");
    input = Replace(input, "PrintSummaryOnly NO", "PrintSummaryOnly YES");
    const auto out = testing::RunInput(input);
    const std::vector<std::string> block = {
        "Engineering units are Generic Units: force, length",
        "",
        "Basic Program Options:",
        "",
        "This analysis computes nonlinear bending stiffness and nominal moment ",
        "capacity with pile response computed using nonlinear EI",
        "",
        "Computation Options:",
        "- Only internally-generated p-y curves used in analysis",
        "- Analysis does not use p-y multipliers (individual pile or shaft action only)",
        "- Analysis assumes no shear resistance at pile tip",
        "- Analysis for fixed-length pile or shaft only",
        "- Analysis includes computation of foundation stiffness matrix elements",
        "- Output summary table of values for pile-head deflection, maximum",
        "  bending moment, and shear force only",
        "- Analysis assumes no soil movements acting on pile",
        "- No p-y curves to be computed and output for user-specified depths",
        "",
        "Solution Control Parameters:",
        Labelled("- Number of pile increments", "         100"),
        Labelled("- Maximum number of iterations allowed", "         100"),
        Labelled("- Deflection tolerance for convergence", "  0.0000E+00 L"),
        Labelled("- Maximum allowable deflection", "    100.0000 L"),
        "",
        "(Specified convergence tolerance of 0 reset by program to 0.2540E-07 meters)",
        "",
        "Pile Response Output Options:",
        "- Only summary tables of pile-head deflection, maximum bending moment,",
        "  and maximum shear force are to be written to output report file.",
        "",
        "",
        Labelled("- Printing Increment (nodal spacing of output points)", "1"),
        "",
        "",
        std::string(80, '-'),
        std::string(20, ' ') + "Pile Structural Properties and Geometry",
        std::string(80, '-'),
        "",
        Labelled("Total Number of Sections", "         0"),
        "",
        Labelled("Total Pile Length", "      0.00 L "),
    };
    EXPECT_TRUE(Contains(out.ReportLines(), block)) << out.report;
}

TEST(EchoOfInput, FileWithoutPileStopsWithError17) {
    const auto out = testing::RunInput(testing::MinimalInput("Units USCS", false));
    EXPECT_EQ(out.code, 117);
    const std::vector<std::string> message = {
        "", "", "**** Input Data Error No. 17 ****", "", "The number of points to define the pile properties ",
        "is 2 to 40, not the input value of          0", ""};
    EXPECT_TRUE(Contains(out.ReportLines(), message)) << out.report;
    EXPECT_TRUE(Contains(out.MessageLines(), message)) << out.messages;
    EXPECT_NE(out.report.find("Trevasc ended prematurely due to input error number INP00017"), std::string::npos);
}

}  // namespace
}  // namespace trevasc
