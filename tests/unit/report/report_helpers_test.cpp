// The adaptive number field, the fixed helpers and the opening blocks.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "report/banner.hpp"
#include "report/report_helpers.hpp"
#include "support/run_fixture.hpp"

namespace trevasc {
namespace {

TEST(ReportHelpers, AdaptiveNumberChoosesItsFormByMagnitude) {
    const struct {
        double x;
        int width;
        const char* expected;
    } kCases[] = {
        // width 12: limits 10^9-1 (held as 10^9 in single precision), 0.001, 0.00001
        {0.0, 12, "      0.0000"},
        {123.456, 12, "   123.45600"},
        {0.05, 12, "     0.05000"},
        {1.0e-6, 12, "  0.1000E-05"},
        {999999999.4, 12, "  999999999."},  // within the single-precision upper limit
        {2.0e9, 12, "  0.2000E+10"},
        {-4.5e-13, 12, "      0.0000"},  // below 1E-12 is zero
        // width 10: F9.2 zero, E9.2 above 9999999 and below 0.001, F9.0 above
        // 10000, F9.3 above 0.1 (the single-precision 0.1, so 0.1 itself is
        // in the next band), F9.5 from 0.001 to 0.1
        {0.0, 10, "      0.00"},
        {12345.6, 10, "    12346."},
        {-12345.6, 10, "   -12346."},
        {9999999.0, 10, "  9999999."},
        {10000000.0, 10, "  0.10E+08"},
        {10000.0, 10, " 10000.000"},
        {0.1, 10, "   0.10000"},
        {0.1001, 10, "     0.100"},
        {0.00101, 10, "   0.00101"},
        {0.001, 10, "  0.10E-02"},  // below the single-precision 0.001
        {0.000999, 10, "  0.10E-02"},
        {-2.5, 10, "    -2.500"},
        {std::numeric_limits<double>::quiet_NaN(), 10, "  Not-a-Number"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(report::AdaptiveNumber(c.x, c.width), c.expected);
    }
}

TEST(ReportHelpers, FixedFieldsAndDescriptions) {
    testing::TempDir dir;
    const auto path = dir.path() / "out.txt";
    {
        report::OutputChannel report;
        ASSERT_TRUE(report.Open(path));
        report::WriteIntegerField(report, 42, 0);  // an out-of-range width means 10
        report::WriteIntegerField(report, -7, 3);
        report::WriteIntegerField(report, 5, 17);
        report::EndReportLine(report);
        report::WriteTextField(report, "Sand");
        report::WriteTextField(report, "A name longer than ten");
        report::WriteSpaces(report, 0);
        report::WriteSpaces(report, 2);
        report::EndReportLine(report);
        report::SoilTypeDescription(report, 4);
        report.Write("|");
        report::EndReportLine(report);
        report::SoilTypeDescription(report, 17);
        report::SoilTypeDescription(report, 99);
        report.Write("|");
        report::EndReportLine(report);
        report.Write("abcdef");
        report.Tab(3);
        report.Write("X");
        report.Tab(10);
        report.Write("Y");
        report::EndReportLine(report);
    }
    const auto lines = testing::SplitLines(testing::ReadFile(path));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "        42 -7         5");
    EXPECT_EQ(lines[1], "Sand      A name lon  ");
    EXPECT_EQ(lines[2], "Stiff Clay w/o Free Water, using k|");
    EXPECT_EQ(lines[3], std::string(68, ' ') + "|");
    EXPECT_EQ(lines[4], "abXdef   Y");
}

TEST(ReportHelpers, PathsSplitIntoDriveDirectoryNameAndExtension) {
    const struct {
        const char* path;
        report::PathParts parts;
    } kCases[] = {
        {"C:\\Jobs\\Bridge 4\\pier.trv", {"C:", "\\Jobs\\Bridge 4\\", "pier", ".trv"}},
        {"/home/eng/run/pile.report.txt", {"", "/home/eng/run/", "pile.report", ".txt"}},
        {"plain", {"", "", "plain", ""}},
        {"dir/name.longextension", {"", "dir/", "name", ".long"}},
        {"input.trv   ", {"", "", "input", ".trv"}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.path);
        const report::PathParts parts = report::SplitPath(c.path);
        EXPECT_EQ(parts.drive, c.parts.drive);
        EXPECT_EQ(parts.directory, c.parts.directory);
        EXPECT_EQ(parts.name, c.parts.name);
        EXPECT_EQ(parts.extension, c.parts.extension);
    }
}

TEST(ReportHelpers, DateLineAndItsAbsenceForAnImpossibleMonth) {
    testing::TempDir dir;
    const auto path = dir.path() / "out.txt";
    {
        report::OutputChannel report;
        ASSERT_TRUE(report.Open(path));
        report::WriteDateAndTime(report, LocalTime{2026, 12, 31, 23, 5, 9});
        report::WriteDateAndTime(report, LocalTime{2026, 13, 1, 0, 0, 0});
    }
    const auto lines = testing::SplitLines(testing::ReadFile(path));
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[4], std::string(15, ' ') + "Date:  December 31, 2026     Time:  23:05:09");
    EXPECT_EQ(lines[6], std::string(27, ' ') + "Date and Time of Analysis");
    EXPECT_EQ(lines[8], "");  // heading and blank line, no date
}

}  // namespace
}  // namespace trevasc
