// Whole runs of files of the previous ("TREVAS5") and older formats: the same
// pile and soil written in the current format give the same results, and
// the files of the other modes run to their normal end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "support/run_fixture.hpp"

namespace trevasc::testing {
namespace {

std::filesystem::path Fixture(const std::string& name) {
    return std::filesystem::path(TREVASC_TEST_DATA_DIR) / "previous" / name;
}

std::vector<std::string> SummaryLines(const RunOutput& out) {
    std::vector<std::string> kept;
    for (const std::string& line : out.ReportLines()) {
        if (line.rfind("Pile-head deflection", 0) == 0 || line.rfind("Maximum bending moment", 0) == 0) {
            kept.push_back(line);
        }
    }
    return kept;
}

// Each older-format file describes the pile and soil of a current-format
// file: the previous-format one by an elastic subgrade whose unit-weight table
// breaks at 30 ft (the current file has two layers there), the older one by
// user p-y curves at 0, 20 and 60 ft (two layers in the current file). The
// runs must agree in every node of every case, as the plot file records them.
TEST(PreviousFormatRuns, SamePileAndSoilAsCurrentFormatGiveSameResults) {
    struct Case {
        const char* older;
        const char* current;
        std::size_t cases;
    };
    const Case kCases[] = {
        {"previous_mode3.trv", "current_pipe_in_subgrade.trv", 2},
        {"older_mode3.trv", "current_pipe_in_user_curves.trv", 1},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.older);
        const RunOutput older = RunInputFile(Fixture(c.older));
        const RunOutput current = RunInputFile(Fixture(c.current));
        ASSERT_EQ(older.code, 0) << older.report;
        ASSERT_EQ(current.code, 0) << current.report;
        const std::vector<std::string> summary = SummaryLines(older);
        EXPECT_EQ(summary.size(), 2 * c.cases);
        EXPECT_EQ(summary, SummaryLines(current));
        EXPECT_EQ(older.plot, current.plot);
    }
}

// Every mode of both formats runs to its end: constant EI from the property
// table (modes 1 and 4), section analysis alone (mode 2), or load cases with
// the nonlinear EI of the sections (modes 3 and 5).
TEST(PreviousFormatRuns, FilesOfEveryFormatRunToTheirEnd) {
    struct Case {
        const char* file;
        const char* mode_line;
    };
    const Case kCases[] = {
        {"previous_mode1.trv", "This analysis computes pile response using user-specified constant EI"},
        {"older_mode1.trv", "This analysis computes pile response using user-specified constant EI"},
        {"previous_mode4.trv", "Analysis Type 4: "},
        {"older_mode4.trv", "Analysis Type 4: "},
        {"previous_mode2.trv", "This analysis computes nominal moment capacity and nonlinear bending stiffness only"},
        {"previous_mode3.trv", "capacity with pile response computed using nonlinear EI"},
        {"previous_mode5.trv", "This analysis computes pile response using user-specified nonlinear bending stiffness"},
        {"older_mode2.trv", "This analysis computes nominal moment capacity and nonlinear bending stiffness only"},
        {"older_mode3.trv", "capacity with pile response computed using nonlinear EI"},
        {"older_mode5.trv", "This analysis computes pile response using user-specified nonlinear bending stiffness"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.file);
        const RunOutput out = RunInputFile(Fixture(c.file));
        EXPECT_EQ(out.code, 0) << out.report;
        const auto lines = out.ReportLines();
        EXPECT_NE(std::find(lines.begin(), lines.end(), c.mode_line), lines.end());
        EXPECT_NE(std::find(lines.begin(), lines.end(), "The analysis ended normally. "), lines.end());
    }
}

// The section of an EI-only file reaches the section analysis intact: a
// 24 in pipe of 0.5 in wall and 36 ksi yield has the plastic modulus
// Z = (24^3 - 23^3) / 6 = 276.1667 in^3 and Mp = 36 Z = 9942 in-kip, and the
// thrusts 300000, 0 and 100000 lbs are analysed as 0, 100 and 300 kips.
TEST(PreviousFormatRuns, EIOnlyFileAnalysesItsSectionAtItsThrusts) {
    const RunOutput out = RunInputFile(Fixture("previous_mode2.trv"));
    ASSERT_EQ(out.code, 0) << out.report;
    double plastic_moment = 0.0;
    std::vector<double> thrusts;
    for (const std::string& line : out.ReportLines()) {
        if (line.rfind("Plastic Moment Capacity = Fy Z", 0) == 0) {
            plastic_moment = std::stod(line.substr(line.find('=', 40) + 1));
        }
        if (line.rfind("Axial Thrust Force =", 0) == 0) thrusts.push_back(std::stod(line.substr(20)));
    }
    EXPECT_NEAR(plastic_moment, 36.0 * (24.0 * 24.0 * 24.0 - 23.0 * 23.0 * 23.0) / 6.0, 1.0e-6);
    EXPECT_EQ(thrusts, (std::vector<double>{0.0, 100.0, 300.0}));
}

// The tag "TREVAS5" selects the previous format, whose title is line 2; any
// other first line, also one that cannot be read, sends the whole file to the
// older format, whose title is line 1. The same two lines therefore stop at
// different places.
TEST(PreviousFormatRuns, FirstLineSelectsTheFormat) {
    struct Case {
        const char* input;
        const char* stopped_at;
    };
    const Case kCases[] = {
        {"TREVAS5\n1 2 0 0 0\n",
         "The input file ended before the data for the units, analysis mode, length-study and soil-movement "
         "switches was complete."},
        {"1 2 0 0 0\n1 2 0 0 0\n", "The input file ended before the data for the number of pile sections was complete."},
        {"'unread\n1 2 0 0 0\n", "The input file ended before the data for the number of pile sections was complete."},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.input);
        const RunOutput out = RunInput(c.input);
        EXPECT_EQ(out.code, 180);
        const auto lines = out.ReportLines();
        EXPECT_NE(std::find(lines.begin(), lines.end(), c.stopped_at), lines.end()) << out.report;
    }
}

}  // namespace
}  // namespace trevasc::testing
