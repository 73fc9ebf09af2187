// Plot-file records written field by field from the record layouts of the
// plot output file (Iw, Ew.d, nX, label columns), with the engine's Fortran
// field writers, for tests of the host's reader, JSON results and charts.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "support/run_fixture.hpp"

namespace trevasc::testing::plot {

// Labels, as the record layouts quote them.
inline constexpr std::string_view kLine3Plain = "Line 3 : Total number of axial thrusts";
inline constexpr std::string_view kLine4Plain = "Line 4 : Num. M-EI-Crv Points, Axial Thrust Load, Nom. Moment Cap.";
inline constexpr std::string_view kLine5Plain = "Line 5 : Moment, EI, Curvature for Sect#=";
inline constexpr std::string_view kLine11None = "Line 11: Num. points on Ytop vs. Length curve for load case ";
inline constexpr std::string_view kLine11Study = "Line 11: Num. points on Ytop vs. pile length curve for load case ";
inline constexpr std::string_view kLine13Uscs =
    "Line 13: TopV(lbs), TopY(in), Mmax(in-lbs), Vmax(lbs), Rotation(rad)";
inline constexpr std::string_view kLine13Si = "Line 13: TopV(kN) TopY(m), Mmax(kN-m), Vmax(kN), Rotation(rad)";

std::string E15(double value);  // E15.7
std::string I5(long long value);

std::string Line1(int icom, int iunits, int kyl, int kxx);
std::string Line2(int sections);
std::string Line3(int thrusts, std::string_view label = kLine3Plain);
std::string Line4(int points, double thrust, double capacity, std::string_view label = kLine4Plain);
std::string Line5(double moment, double ei, double curvature, int section, int thrust, int point,
                  std::string_view prefix = kLine5Plain);
std::string Line6(int curves);
// `label` is the whole label from column 81, curve number included.
std::string Line7(double depth, int points, std::string_view label);
// `label_column` 81 (50X) or 51 (20X); `label` is the whole label.
std::string Line8(double y, double p, int label_column, std::string_view label);
std::string Line9(int cases, int nodes, int units);
std::string Line10(const std::array<double, 6>& values, int node);
// count < 0 writes the literal "    0" of a case without a length study.
std::string Line11(int count, std::string_view label, int case_number);
std::string Line12(double length, double ytop, double mmax, double vmax);
std::string Line13(const std::array<double, 5>& values, std::string_view label = kLine13Uscs);
std::string Line14(const std::array<double, 8>& values);

// A small complete run: USCS, mode 3, one section with one two-point curve,
// one soft-clay p-y curve of 17 points, one load case of three nodes, its
// summary. Lines can be edited before joining.
std::vector<std::string> SmallRun();
std::string Join(const std::vector<std::string>& lines);

// The fixture folder of plot files.
std::filesystem::path PlotDataDir();

// The command-line host run in a shell: exit status and both output streams.
// `environment` is prefixed to the command ("PATH=/x ").
struct HostOutcome {
    int status = -1;
    std::string out;
    std::string err;
};
HostOutcome RunHost(const TempDir& dir, const std::string& arguments, const std::string& environment = "");
std::string ShellQuote(const std::string& text);

}  // namespace trevasc::testing::plot
