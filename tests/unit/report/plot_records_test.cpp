// The plot-record table and the writer that formats records from it.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "report/fortran_format.hpp"
#include "report/plot_file.hpp"
#include "trevasc/plot_records.hpp"

namespace trevasc {

namespace fmt = report::fmt;

namespace {

std::string Written(const plot::Layout& layout, std::initializer_list<report::PlotValue> values) {
    report::OutputChannel plot;
    plot.OpenInMemory();
    report::WritePlotRecord(plot, layout, values);
    plot.Finish();
    return plot.MemoryText();
}

// Records whose columns the design fixes, written out by hand from its
// field conventions.
TEST(PlotRecords, RecordsAsTheFieldConventionsLayThemOut) {
    struct Case {
        const char* name;
        std::string written;
        std::string expected;
    };
    const Case kCases[] = {
        {"Line 1", Written(plot::kLine1, {3, 1, 0, 1}),
         "    3    1    0    1" + std::string(60, ' ') + "Line 1 : ICOM, IUNITS, KYL, KXX\n"},
        // I5, 10X, two E15.7, then the label at column 81.
        {"Line 4", Written(plot::kLine4, {2, 100.0, -2.5e6, plot::kMomentCurvatureLine4}),
         "    2" + std::string(10, ' ') + "  0.1000000E+03 -0.2500000E+07" + std::string(35, ' ') +
             "Line 4 : Num. M-EI-Crv Points, Axial Thrust Load, Nom. Moment Cap.\n"},
        {"Line 5", Written(plot::kLine5, {1.0, 2.0, -0.5, "Line 5 : Moment, EI, Curvature for Sect#=", 2, 10, 3}),
         "  0.1000000E+01  0.2000000E+01 -0.5000000E+00" + std::string(35, ' ') +
             "Line 5 : Moment, EI, Curvature for Sect#=2, AxLd#=10, CurvPnt#=3\n"},
        // Node 1 gives "Line 10(  1)" at column 92.
        {"Line 10", Written(plot::kLine10, {0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 1}),
         [] {
             std::string r;
             for (int i = 0; i < 6; ++i) r += "  0.0000000E+00";
             return r + " Line 10(  1): nodal depth, y, M, V, p, EI\n";
         }()},
        // The short gap puts the label at column 51.
        {"Line 8 after 20 blanks", Written(plot::kLine8AfterTwentyBlanks, {0.5, 12.0, 3, "liquefied sand"}),
         "  0.5000000E+00  0.1200000E+02" + std::string(20, ' ') + "Line 8( 3): y, p, for liquefied sand\n"},
        {"Line 8 point in I0", Written(plot::kLine8PointInI0, {0.5, 12.0, 3, "Loess"}),
         "  0.5000000E+00  0.1200000E+02" + std::string(50, ' ') + "Line 8(3): y, p, for Loess\n"},
        {"Line 11 without a study", Written(plot::kLine11, {0, plot::kLine11Lrfd, 12}),
         "    0" + std::string(75, ' ') + "Line 11: Num. points on Ytop vs. Length curve for LRFD load case 12\n"},
        // The Line 14 label text, with its two leading blanks, from column 121.
        {"Line 14", Written(plot::kLine14, {1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0}),
         [] {
             std::string r;
             for (int i = 0; i < 8; ++i) r += "  0.1000000E+01";
             return r + "  Line 14: V, M, K22, K23, K32, K33, ytop, theta\n";
         }()},
    };
    for (const Case& c : kCases) {
        EXPECT_EQ(c.written, c.expected) << c.name;
    }
}

// The columns a reader takes from the table are where the writer puts the
// fields and the label, for every layout.
TEST(PlotRecords, TableColumnsAreWhereTheWriterPutsTheFields) {
    for (const plot::Layout* layout : plot::kLayouts) {
        SCOPED_TRACE("Line " + std::to_string(layout->kind()));
        const std::string text = "Line " + std::to_string(layout->kind()) + " text ";
        std::vector<report::PlotValue> values;
        std::vector<std::string> fields;  // each value as its field writes it
        int n = 0;
        for (const plot::Descriptor& d : layout->format()) {
            ++n;
            if (d.edit == plot::Edit::kInteger) {
                values.emplace_back(n);
                fields.push_back(d.width == 0 ? fmt::I0(n) : fmt::I(n, d.width));
            } else if (d.edit == plot::Edit::kReal) {
                values.emplace_back(-1.5 * n);
                fields.push_back(fmt::E(-1.5 * n, d.width, d.decimals));
            } else if (d.edit == plot::Edit::kText) {
                values.emplace_back(std::string_view(text));
                fields.push_back("");
            }
        }
        ASSERT_EQ(values.size(), layout->ValueCount());
        report::OutputChannel plot;
        plot.OpenInMemory();
        report::WritePlotRecord(plot, *layout, values);
        plot.Finish();
        const std::string record = plot.MemoryText();
        const std::size_t label_descriptor = layout->LabelDescriptor();
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (layout->DescriptorOfValue(i) >= label_descriptor) break;  // inside the label: no fixed column
            const plot::Columns at = layout->FieldColumns(i);
            EXPECT_EQ(record.substr(static_cast<std::size_t>(at.first - 1), static_cast<std::size_t>(at.width)),
                      fields[i])
                << "value " << i;
        }
        const std::string opening =
            layout->FixedLabel().empty() ? "Line " + std::to_string(layout->kind()) : std::string(layout->FixedLabel());
        EXPECT_EQ(record.substr(static_cast<std::size_t>(layout->LabelColumn() - 1), opening.size()), opening);
    }
}

TEST(PlotRecords, ValuesThatDoNotFitTheLayoutAreRefusedAndNothingIsWritten) {
    struct Case {
        const char* name;
        const plot::Layout* layout;
        std::vector<report::PlotValue> values;
    };
    const Case kCases[] = {
        {"too few", &plot::kLine9, {1, 2}},
        {"too many", &plot::kLine2, {1, 2}},
        {"real for an integer field", &plot::kLine2, {1.0}},
        {"integer for a real field", &plot::kLine12, {1, 2.0, 3.0, 4.0}},
        {"text missing from a label", &plot::kLine3, {4, 5}},
    };
    for (const Case& c : kCases) {
        report::OutputChannel plot;
        plot.OpenInMemory();
        EXPECT_THROW(report::WritePlotRecord(plot, *c.layout, c.values), std::logic_error)
            << c.name;
        plot.Finish();
        EXPECT_EQ(plot.MemoryText(), "") << c.name;
    }
}

// Each criterion's Line 7 text reads the opening, its soil text and one of
// the two count wordings, and names a Line 8 layout.
TEST(PlotRecords, PyCurveLabelsSplitIntoTheirParts) {
    for (const plot::PyCurveLabels& labels : plot::kPyCurveLabels) {
        SCOPED_TRACE(std::string(labels.soil_model));
        ASSERT_NE(labels.line8, nullptr);
        EXPECT_EQ(labels.line8->kind(), 8);
        const std::string_view soil = labels.Line7Soil();
        EXPECT_FALSE(soil.empty());
        const std::string plain = std::string(plot::kLine7Opening) + std::string(soil) + std::string(plot::kLine7Count);
        const std::string with_j =
            std::string(plot::kLine7Opening) + std::string(soil) + std::string(plot::kLine7CountJ);
        EXPECT_TRUE(labels.line7 == plain || labels.line7 == with_j) << labels.line7;
        EXPECT_EQ(plot::PyCurveLabelsOf(labels.soil_model), &labels);
    }
    EXPECT_EQ(plot::PyCurveLabelsOf("SoftClyJ")->Line7Soil(), "soft clay with J");
    EXPECT_EQ(plot::PyCurveLabelsOf("Nothing"), nullptr);
}

}  // namespace
}  // namespace trevasc
