// The record table against the files the engine writes: the p-y curves of the
// golden plot files, read back by the host and written again from the table's
// layouts and criterion labels, come out byte for byte as the criteria wrote
// them. A criterion that writes its Line 7 and Line 8 through the table thus
// keeps its records.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "plot_file.hpp"
#include "report/plot_file.hpp"
#include "trevasc/plot_records.hpp"

namespace trevasc {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Lines(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(PlotRecordTable, RewritesTheGoldenPyCurvesByteForByte) {
    std::size_t curves = 0;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(TREVASC_TEST_CASES_DIR, ec)) {
        const fs::path file = entry.path() / "expected" / "plot.txt";
        if (!fs::is_regular_file(file)) continue;
        SCOPED_TRACE(file.string());
        const host::PlotResults read = host::ReadPlotFile(file);
        const std::vector<std::string> lines = Lines(file);
        for (const host::PyCurve& curve : read.py_curves) {
            report::OutputChannel plot;
            plot.OpenInMemory();
            if (curve.above_ground) {
                report::WritePlotRecord(plot, plot::kLine7AboveGround, {curve.depth, 0});
            } else {
                const plot::PyCurveLabels* labels = plot::PyCurveLabelsOf(curve.soil_model);
                ASSERT_NE(labels, nullptr) << curve.soil_model;
                report::WritePlotRecord(plot, plot::kLine7,
                                        {curve.depth, curve.points.size(), labels->line7, curve.curve_number});
                const std::string_view soil = curve.loading == "cyclic" ? labels->line8_cyclic : labels->line8_soil;
                for (std::size_t j = 0; j < curve.points.size(); ++j) {
                    report::WritePlotRecord(plot, *labels->line8, {curve.points[j].y, curve.points[j].p, j + 1, soil});
                }
            }
            plot.Finish();
            std::string expected;
            for (std::size_t k = 0; k <= curve.points.size(); ++k) {
                expected += lines.at(curve.line_number - 1 + k) + "\n";
            }
            EXPECT_EQ(plot.MemoryText(), expected) << curve.soil_model << " curve " << curve.curve_number;
            ++curves;
        }
    }
    EXPECT_GT(curves, 0u) << "no golden case prints a p-y curve";
}

}  // namespace
}  // namespace trevasc
