#include "cli/plot_test_support.hpp"

#include <sys/wait.h>

#include <cstdlib>

#include "report/fortran_format.hpp"

namespace trevasc::testing::plot {

namespace fmt = report::fmt;

namespace {

// Blank-pads `text` so that what follows starts in `column`.
std::string To(std::string text, int column) {
    text.resize(static_cast<std::size_t>(column - 1), ' ');
    return text;
}

}  // namespace

std::string E15(double value) { return fmt::E(value, 15, 7); }
std::string I5(long long value) { return fmt::I(value, 5); }

std::string Line1(int icom, int iunits, int kyl, int kxx) {
    return I5(icom) + I5(iunits) + I5(kyl) + I5(kxx) + fmt::X(60) + "Line 1 : ICOM, IUNITS, KYL, KXX";
}

std::string Line2(int sections) { return I5(sections) + fmt::X(75) + "Line 2 : Total number of sections"; }

std::string Line3(int thrusts, std::string_view label) { return I5(thrusts) + fmt::X(75) + std::string(label); }

std::string Line4(int points, double thrust, double capacity, std::string_view label) {
    return To(I5(points) + fmt::X(10) + E15(thrust) + E15(capacity), 81) + std::string(label);
}

std::string Line5(double moment, double ei, double curvature, int section, int thrust, int point,
                  std::string_view prefix) {
    return To(E15(moment) + E15(ei) + E15(curvature), 81) + std::string(prefix) + fmt::I0(section) + ", AxLd#=" +
           fmt::I0(thrust) + ", CurvPnt#=" + fmt::I0(point);
}

std::string Line6(int curves) { return I5(curves) + fmt::X(75) + "Line 6 : number of output p-y curves"; }

std::string Line7(double depth, int points, std::string_view label) {
    return E15(depth) + I5(points) + fmt::X(60) + std::string(label);
}

std::string Line8(double y, double p, int label_column, std::string_view label) {
    return E15(y) + E15(p) + fmt::X(label_column - 31) + std::string(label);
}

std::string Line9(int cases, int nodes, int units) {
    return I5(cases) + I5(nodes) + I5(units) + fmt::X(65) + "Line 9:  No. loads, No. nodes, iunits: 1 = USCS, 2 = SI";
}

std::string Line10(const std::array<double, 6>& values, int node) {
    std::string line;
    for (double value : values) line += E15(value);
    return To(line, 92) + "Line 10(" + fmt::I(node, 3) + "): nodal depth, y, M, V, p, EI";
}

std::string Line11(int count, std::string_view label, int case_number) {
    return (count < 0 ? std::string("    0") : I5(count)) + fmt::X(75) + std::string(label) + fmt::I0(case_number);
}

std::string Line12(double length, double ytop, double mmax, double vmax) {
    return E15(length) + E15(ytop) + E15(mmax) + E15(vmax) + fmt::X(20) + "Line 12: pile length, Ytop, Mmax, Vmax";
}

std::string Line13(const std::array<double, 5>& values, std::string_view label) {
    std::string line;
    for (double value : values) line += E15(value);
    return To(line, 81) + std::string(label);
}

std::string Line14(const std::array<double, 8>& values) {
    std::string line;
    for (double value : values) line += E15(value);
    return line + "  Line 14: V, M, K22, K23, K32, K33, ytop, theta";
}

std::vector<std::string> SmallRun() {
    std::vector<std::string> lines = {
        Line1(3, 1, 0, 0),
        Line2(1),
        Line3(1),
        Line4(2, 0.0, 2.0e6),
        Line5(1000.0, 1.0e8, 1.0e-5, 1, 1, 1),
        Line5(2000.0, 5.0e7, 4.0e-5, 1, 1, 2),
        Line6(1),
        Line7(120.0, 17, "Line 7:  p-y curve depth in soft clay, no. p-y points on curve no. 1"),
    };
    for (int j = 1; j <= 17; ++j) {
        std::string point = std::to_string(j);
        if (point.size() < 2) point.insert(0, " ");
        lines.push_back(Line8(0.1 * (j - 1), 50.0 * (j - 1), 81, "Line 8(" + point + "): y, p, for soft clay"));
    }
    lines.push_back(Line9(1, 3, 1));
    lines.push_back(Line10({0.0, 0.5, 0.0, 1000.0, -10.0, 1.0e10}, 1));
    lines.push_back(Line10({60.0, 0.2, 30000.0, -200.0, -4.0, 1.0e10}, 2));
    lines.push_back(Line10({120.0, -0.01, 0.0, 0.0, 0.2, 1.0e10}, 3));
    lines.push_back(Line11(-1, kLine11None, 1));
    lines.push_back(Line13({1000.0, 0.5, 30000.0, 1000.0, -0.004}));
    return lines;
}

std::string Join(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

std::filesystem::path PlotDataDir() { return std::filesystem::path(TREVASC_TEST_DATA_DIR) / "plot"; }

std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

HostOutcome RunHost(const TempDir& dir, const std::string& arguments, const std::string& environment) {
    const auto out = dir.path() / "host-stdout.txt";
    const auto err = dir.path() / "host-stderr.txt";
    const std::string command = environment + ShellQuote(TREVASC_CLI_PROGRAM) + " " + arguments + " >" +
                                ShellQuote(out.string()) + " 2>" + ShellQuote(err.string()) + " </dev/null";
    const int raw = std::system(command.c_str());
    HostOutcome outcome;
    outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    outcome.out = ReadFile(out);
    outcome.err = ReadFile(err);
    return outcome;
}

}  // namespace trevasc::testing::plot
