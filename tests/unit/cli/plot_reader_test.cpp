// The host's reader of the plot output file: every record kind and label
// variant, values in their fixed fields, and damaged, truncated and foreign
// files.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "cli/plot_test_support.hpp"
#include "plot_file.hpp"

namespace trevasc {
namespace {

namespace fs = std::filesystem;
using host::PlotFileError;
using host::PlotResults;
namespace plot = testing::plot;

PlotResults Parse(const std::vector<std::string>& lines) { return host::ParsePlotText(plot::Join(lines), "t.plot"); }

// E15.7 keeps seven significant digits: a value read back agrees with the
// value written to within half a unit in the seventh digit of the largest
// value of its column.
void ExpectSeven(double actual, double expected, double column_scale) {
    EXPECT_NEAR(actual, expected, 5.0e-7 * std::fabs(column_scale) + 1.0e-300);
}

// The elastic-pile fixture holds the closed-form response of a long elastic
// pile on an elastic (Winkler) subgrade, Hetenyi (1946): with
// beta = (k / (4 EI))^(1/4) and a head shear V0 on a free head,
//   y = 2 V0 beta / k e^(-bx) cos(bx),   M = V0 / beta e^(-bx) sin(bx),
//   V = V0 e^(-bx) (cos(bx) - sin(bx)),  p = -k y,  head slope -2 V0 beta^2 / k;
// fixed head: y0 = V beta / k, M0 = -V / (2 beta); head held at y = 0 under a
// moment M: slope -M / (2 beta EI), shear -M beta. Hence the secant stiffness
// terms K22 = k / beta, K32 = k / (2 beta^2), K23 = 2 beta^2 EI, K33 = 2 beta EI.
struct ElasticPile {
    double b = 24.0;       // in
    double EI = 5.0e10;    // lb-in^2
    double kes = 100.0;    // lb/in^3, elastic subgrade modulus
    double k = kes * b;    // lb/in^2
    double beta = std::pow(k / (4.0 * EI), 0.25);
    double length = 600.0;
    int nodes = 41;

    std::array<double, 4> At(double V0, double x) const {
        const double t = beta * x;
        const double e = std::exp(-t);
        const double y = 2.0 * V0 * beta / k * e * std::cos(t);
        return {y, V0 / beta * e * std::sin(t), V0 * e * (std::cos(t) - std::sin(t)), -k * y};
    }
};

TEST(PlotFileReader, ElasticPileFixtureHoldsTheClosedFormResponse) {
    const PlotResults r = host::ReadPlotFile(plot::PlotDataDir() / "elastic-pile.plot.txt");
    const ElasticPile pile;
    EXPECT_TRUE(r.complete) << r.incomplete_reason;
    EXPECT_EQ(r.header.ICOM, 3);
    EXPECT_EQ(r.header.IUNITS, 1);
    EXPECT_EQ(r.header.KYL, 0);
    EXPECT_EQ(r.header.KXX, 1);
    EXPECT_EQ(r.number_of_sections, 2);
    EXPECT_EQ(r.thrust_count, 1);
    EXPECT_EQ(r.thrust_source, host::ThrustListSource::kElasticSection);

    // Section 1, elastic: 150 points, curvature 10 p, EI and M = curvature EI
    // written in kips for USCS, capacity 1500 EI in in-lb.
    ASSERT_EQ(r.section_curves.size(), 2u);
    const host::SectionCurve& elastic = r.section_curves[0];
    EXPECT_EQ(elastic.source, host::SectionCurveSource::kElastic);
    EXPECT_EQ(elastic.section, 1);
    EXPECT_EQ(elastic.thrust_index, 1);
    ASSERT_EQ(elastic.points.size(), 150u);
    for (int p = 1; p <= 150; p += 37) {
        const auto& point = elastic.points[static_cast<std::size_t>(p - 1)];
        ExpectSeven(point.curvature, 10.0 * p, 10.0 * p);
        ExpectSeven(point.bending_stiffness, pile.EI / 1000.0, pile.EI / 1000.0);
        ExpectSeven(point.moment, 10.0 * p * pile.EI / 1000.0, 10.0 * p * pile.EI / 1000.0);
    }
    ExpectSeven(elastic.nominal_moment_capacity, 1500.0 * pile.EI, 1500.0 * pile.EI);
    EXPECT_EQ(host::MomentScaleToConsistentUnits(r.units(), elastic), 1000.0);
    const host::SectionCurve& computed = r.section_curves[1];
    EXPECT_EQ(computed.source, host::SectionCurveSource::kMomentCurvature);
    EXPECT_EQ(computed.section, 2);
    EXPECT_EQ(computed.points.size(), 60u);
    EXPECT_EQ(host::MomentScaleToConsistentUnits(r.units(), computed), 1000.0);

    // p-y curves of the elastic subgrade: y = (j - 1) b / 8, p = kes b y.
    ASSERT_EQ(r.py_depth_count, 2);
    ASSERT_EQ(r.py_curves.size(), 2u);
    for (std::size_t c = 0; c < 2; ++c) {
        const host::PyCurve& curve = r.py_curves[c];
        EXPECT_EQ(curve.curve_number, static_cast<int>(c) + 1);
        EXPECT_EQ(curve.soil_model, "Elast SG");
        EXPECT_EQ(curve.depth, c == 0 ? 60.0 : 240.0);
        ASSERT_EQ(curve.points.size(), 17u);
        for (std::size_t j = 0; j < 17; ++j) {
            const double y = static_cast<double>(j) * pile.b / 8.0;
            ExpectSeven(curve.points[j].y, y, y);
            ExpectSeven(curve.points[j].p, pile.k * y, pile.k * y);
        }
    }

    // Two load cases (head shears 20 and 40 kips) on 41 nodes 15 in apart.
    ASSERT_EQ(r.number_of_cases, 2);
    ASSERT_EQ(r.number_of_nodes, pile.nodes);
    ASSERT_EQ(r.cases.size(), 2u);
    const std::array<double, 2> shears = {20000.0, 40000.0};
    for (std::size_t c = 0; c < 2; ++c) {
        const double V0 = shears[c];
        const host::CaseProfile& profile = r.cases[c];
        EXPECT_EQ(profile.case_number, static_cast<int>(c) + 1);
        ASSERT_EQ(profile.nodes.size(), 41u);
        const auto head = pile.At(V0, 0.0);
        double largest_moment = 0.0;
        for (std::size_t n = 0; n < profile.nodes.size(); ++n) {
            const double x = 15.0 * static_cast<double>(n);
            const auto expected = pile.At(V0, x);
            const host::NodeResult& node = profile.nodes[n];
            EXPECT_EQ(node.depth, x);
            ExpectSeven(node.deflection, expected[0], head[0]);
            ExpectSeven(node.moment, expected[1], V0 / pile.beta);
            ExpectSeven(node.shear, expected[2], V0);
            ExpectSeven(node.soil_reaction, expected[3], head[3]);
            EXPECT_EQ(node.bending_stiffness, pile.EI);
            if (std::fabs(expected[1]) > std::fabs(largest_moment)) largest_moment = expected[1];
        }
        const host::CaseSummary& summary = r.summaries[c];
        ExpectSeven(summary.head_shear, V0, V0);
        ExpectSeven(summary.head_deflection, head[0], head[0]);
        ExpectSeven(summary.max_moment, largest_moment, largest_moment);
        ExpectSeven(summary.max_shear, V0, V0);
        const double slope = -2.0 * V0 * pile.beta * pile.beta / pile.k;
        ExpectSeven(summary.head_rotation, slope, slope);
    }
    // The length study of case 1: 600 in shortened by 30 in down to 60 in
    // (the 30 in trial is shorter than 0.05 L0 and is skipped).
    const host::CaseProfile& studied = r.cases[0];
    EXPECT_EQ(studied.length_label, host::LengthStudyLabel::kStudied);
    ASSERT_EQ(studied.length_study.size(), 19u);
    for (std::size_t j = 0; j < 19; ++j) {
        EXPECT_DOUBLE_EQ(studied.length_study[j].pile_length, 600.0 - 30.0 * static_cast<double>(j));
    }
    // A long pile deflects as the semi-infinite one (beta L = 6.3: within
    // 1.0E-4 of it); a short one more.
    const double y0 = pile.At(20000.0, 0.0)[0];
    EXPECT_NEAR(studied.length_study.front().head_deflection, y0, 1.0e-4 * y0);
    EXPECT_GT(studied.length_study.back().head_deflection, 2.0 * y0);
    EXPECT_EQ(r.cases[1].length_label, host::LengthStudyLabel::kNotStudied);
    EXPECT_TRUE(r.cases[1].length_study.empty());

    // Stiffness trials at 0.1, log10(2), ..., 1 times V0 = 20000 lb and M0 = 100 in-lb.
    ASSERT_EQ(r.stiffness.size(), 10u);
    const double beta = pile.beta;
    for (std::size_t i = 0; i < 10; ++i) {
        const double f = i == 0 ? 0.10000000149011612 : std::log10(static_cast<double>(i + 1));
        const host::StiffnessTrial& t = r.stiffness[i];
        ExpectSeven(t.shear, f * 20000.0, f * 20000.0);
        ExpectSeven(t.moment, f * 100.0, f * 100.0);
        ExpectSeven(t.K22, pile.k / beta, pile.k / beta);
        ExpectSeven(t.K32, pile.k / (2.0 * beta * beta), pile.k / (2.0 * beta * beta));
        ExpectSeven(t.K23, 2.0 * beta * beta * pile.EI, 2.0 * beta * beta * pile.EI);
        ExpectSeven(t.K33, 2.0 * beta * pile.EI, 2.0 * beta * pile.EI);
        ExpectSeven(t.head_deflection, f * 20000.0 * beta / pile.k, f * 20000.0 * beta / pile.k);
        ExpectSeven(t.head_rotation, f * 100.0 / (2.0 * beta * pile.EI), f * 100.0 / (2.0 * beta * pile.EI));
    }
}

TEST(PlotFileReader, CarriageReturnsAndTrailingBlankLinesAreTolerated) {
    std::string text;
    for (const std::string& line : plot::SmallRun()) text += line + "\r\n";
    text += "\r\n  \n";
    const PlotResults r = host::ParsePlotText(text, "crlf.plot");
    EXPECT_TRUE(r.complete);
    ASSERT_EQ(r.cases.size(), 1u);
    EXPECT_EQ(r.cases[0].nodes[1].moment, 30000.0);
    EXPECT_EQ(r.py_curves[0].points[16].p, 800.0);
}

TEST(PlotFileReader, SectionLabelVariants) {
    struct Case {
        std::string_view line3;  // empty: no Line 3 (user-defined EI)
        host::ThrustListSource thrust_source;
        std::string_view line4;
        std::string_view line5;
        host::SectionCurveSource curve_source;
    };
    static constexpr std::string_view kPlain4 = plot::kLine4Plain;
    static constexpr std::string_view kPlain5 = plot::kLine5Plain;
    const Case kCases[] = {
        {"Line 3 : Total number of axial thrusts for EI-only computations", host::ThrustListSource::kEiOnly, kPlain4,
         kPlain5, host::SectionCurveSource::kMomentCurvature},
        {"Line 3 : Total number of axial thrusts for LRFD", host::ThrustListSource::kLrfd, kPlain4, kPlain5,
         host::SectionCurveSource::kMomentCurvature},
        {"Line 3 : Total number of axial thrusts", host::ThrustListSource::kLoadCases, kPlain4, kPlain5,
         host::SectionCurveSource::kMomentCurvature},
        {"Line 3 : Total number of axial thrusts for elastic section", host::ThrustListSource::kElasticSection,
         "Line 4 : Num. Elas. M-EI-Crv Points, Axial Thrust Load, Nom. Moment Cap. for linear EI",
         "Line 5 : Elastic Moment, EI, Curvature for Sect#=", host::SectionCurveSource::kElastic},
        {"Line 3 : Total number of axial thrusts for elastic-plastic section",
         host::ThrustListSource::kElasticPlasticSection,
         "Line 4 : Num. M-EI-Crv Points, Axial Thrust Load, Nom. Moment Cap. for elastic-plastic EI",
         "Line 5 : Elas-Plas Moment, EI, Curvature for Sect#=", host::SectionCurveSource::kElasticPlastic},
        {"", host::ThrustListSource::kLoadCases, kPlain4, kPlain5, host::SectionCurveSource::kMomentCurvature},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line4);
        SCOPED_TRACE(c.line3);
        // An EI-only run of two sections at two thrust levels.
        std::vector<std::string> lines = {plot::Line1(2, 2, 0, 0), plot::Line2(2)};
        if (!c.line3.empty()) lines.push_back(plot::Line3(2, c.line3));
        for (int s = 1; s <= 2; ++s) {
            for (int t = 1; t <= 2; ++t) {
                lines.push_back(plot::Line4(3, -50.0 * t, 125.5 * s, c.line4));
                for (int p = 1; p <= 3; ++p) {
                    lines.push_back(plot::Line5(-10.0 * p, 2.0e5, 0.001 * p, s, t, p, c.line5));
                }
            }
        }
        const PlotResults r = Parse(lines);
        EXPECT_TRUE(r.complete);
        EXPECT_EQ(r.thrust_count.has_value(), !c.line3.empty());
        if (!c.line3.empty()) {
            EXPECT_EQ(r.thrust_source, c.thrust_source);
        }
        ASSERT_EQ(r.section_curves.size(), 4u);
        const host::SectionCurve& last = r.section_curves[3];
        EXPECT_EQ(last.source, c.curve_source);
        EXPECT_EQ(last.section, 2);
        EXPECT_EQ(last.thrust_index, 2);
        EXPECT_EQ(last.axial_thrust, -100.0);
        EXPECT_EQ(last.nominal_moment_capacity, 251.0);
        ASSERT_EQ(last.points.size(), 3u);
        EXPECT_EQ(last.points[2].moment, -30.0);
        EXPECT_EQ(last.points[2].curvature, 0.003);
    }
}

// Line 7 and Line 8 of every p-y criterion, as the criteria write them.
TEST(PlotFileReader, PyCurveLabelsOfEveryCriterion) {
    struct Case {
        std::string_view soil_model;
        std::string_view line7;  // the label up to the curve number
        std::string_view line8;  // the soil text of Line 8
        int label_column;        // 81 after 50 blanks, 51 after 20
        bool i0_point;           // point number in I0 rather than I2
        std::string_view loading;
    };
    static const Case kCases[] = {
        {"SoftClay", "Line 7:  p-y curve depth in soft clay, no. p-y points on curve no. ", "soft clay", 81, false, ""},
        {"SoftClyJ", "Line 7:  p-y curve depth in soft clay with J, no. points on p-y curve no. ", "soft clay", 81,
         false, ""},
        {"StfClyBW", "Line 7:  p-y curve depth in stiff clay with free water, no. p-y points on curve no. ",
         "static stiff clay with free water", 81, false, "static"},
        {"StfClyBW", "Line 7:  p-y curve depth in stiff clay with free water, no. p-y points on curve no. ",
         "cyclic stiff clay w/water", 81, false, "cyclic"},
        {"StfClyAW", "Line 7:  p-y curve depth in stiff clay w/o free water, no. p-y points on curve no. ",
         "stiff clay w/o water", 81, false, ""},
        {"StfClyAK", "Line 7:  p-y curve depth in stiff clay w/o free water with k, no. p-y points on curve no. ",
         "stiff clay with k", 81, false, ""},
        {"Sand", "Line 7:  p-y curve depth in sand, no. p-y points on curve no. ", "sand", 81, false, ""},
        {"API Sand", "Line 7:  p-y curve depth in API sand, no. p-y points on curve no. ", "API sand", 81, false, ""},
        {"Liq Sand", "Line 7:  p-y curve depth in liquefied sand, no. p-y points on curve no. ", "liquefied sand", 51,
         false, ""},
        {"WeakRock", "Line 7:  p-y curve depth in weak rock, no. p-y points on curve no. ", "weak rock", 81, false,
         ""},
        {"Vuggy LS", "Line 7:  p-y curve depth in vuggy limestone, no. p-y points on curve no. ",
         "vuggy limestone rock", 81, false, ""},
        {"Cem Silt", "Line 7:  p-y curve depth in cemented silt, no. p-y points on curve no. ", "cemented c-phi", 81,
         false, ""},
        {"User p-y", "Line 7:  p-y curve depth in user-input p-y curve, no. p-y points on curve no. ",
         "user-input p-y curve", 51, false, ""},
        {"KS Loess", "Line 7:  p-y curve depth in loess, no. p-y points on curve no. ", "Loess", 81, true, ""},
        {"Piedmont", "Line 7:  p-y curve depth in Piedmont residual soil, no. p-y points on curve no. ",
         "Piedmont residual soil", 81, true, ""},
        {"Elast SG", "Line 7:  p-y curve depth in elastic subgrade soil, no. p-y points on curve no. ",
         "elastic subgrade", 81, true, ""},
        {"MassRock", "Line 7:  p-y curve depth in massive rock, no. p-y points on curve no. ", "Massive Rock", 81,
         false, ""},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line8);
        std::vector<std::string> lines = plot::SmallRun();
        // Replace the soft-clay curve (lines 8 to 25) by curve 2 of this criterion.
        std::vector<std::string> curve = {plot::Line7(-3.25, 17, std::string(c.line7) + "2")};
        for (int j = 1; j <= 17; ++j) {
            std::string point = std::to_string(j);
            if (!c.i0_point && point.size() < 2) point.insert(0, " ");
            curve.push_back(plot::Line8(-0.5 * j, -2.5e3 * j, c.label_column,
                                        "Line 8(" + point + "): y, p, for " + std::string(c.line8)));
        }
        lines[6] = plot::Line6(2);
        lines.erase(lines.begin() + 7, lines.begin() + 25);
        lines.insert(lines.begin() + 7, curve.begin(), curve.end());
        const PlotResults r = Parse(lines);
        ASSERT_EQ(r.py_curves.size(), 1u);
        const host::PyCurve& read = r.py_curves[0];
        EXPECT_EQ(read.soil_model, c.soil_model);
        EXPECT_EQ(read.loading, c.loading);
        EXPECT_EQ(read.curve_number, 2);
        EXPECT_EQ(read.depth, -3.25);
        ASSERT_EQ(read.points.size(), 17u);
        EXPECT_EQ(read.points[16].y, -8.5);
        EXPECT_EQ(read.points[16].p, -42500.0);
        EXPECT_TRUE(r.complete);
    }
}

TEST(PlotFileReader, LengthStudyAndSummaryLabelVariants) {
    struct Case {
        int units;
        std::string_view line11;
        int count;  // -1: the literal "    0"
        host::LengthStudyLabel kind;
        std::string_view line13;
    };
    const Case kCases[] = {
        {1, plot::kLine11None, -1, host::LengthStudyLabel::kNotStudied, plot::kLine13Uscs},
        {2, "Line 11: Num. points on Ytop vs. Length curve for LRFD load case ", -1,
         host::LengthStudyLabel::kLrfdCase, plot::kLine13Si},
        {3, plot::kLine11Study, 2, host::LengthStudyLabel::kStudied, plot::kLine13Si},
        {1, plot::kLine11Study, 0, host::LengthStudyLabel::kStudied, plot::kLine13Uscs},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line11);
        std::vector<std::string> lines = {plot::Line1(3, c.units, 0, 0), plot::Line2(1), plot::Line6(0),
                                          plot::Line9(1, 2, c.units),
                                          plot::Line10({0.0, 1.0, 0.0, 5.0, -1.0, 3.0e4}, 1),
                                          plot::Line10({10.0, 0.0, -2.0, 0.0, 0.0, 3.0e4}, 2),
                                          plot::Line11(c.count, c.line11, 1)};
        for (int j = 1; j <= c.count; ++j) lines.push_back(plot::Line12(11.0 - j, 1.0 + j, -2.0 * j, 5.0));
        lines.push_back(plot::Line13({5.0, 1.0, -2.0, 5.0, -0.1}, c.line13));
        const PlotResults r = Parse(lines);
        EXPECT_TRUE(r.complete);
        ASSERT_EQ(r.cases.size(), 1u);
        EXPECT_EQ(r.cases[0].length_label, c.kind);
        ASSERT_EQ(r.cases[0].length_study.size(), static_cast<std::size_t>(std::max(c.count, 0)));
        if (c.count == 2) {
            EXPECT_EQ(r.cases[0].length_study[1].pile_length, 9.0);
            EXPECT_EQ(r.cases[0].length_study[1].max_moment, -4.0);
        }
        ASSERT_EQ(r.summaries.size(), 1u);
        EXPECT_EQ(r.summaries[0].head_rotation, -0.1);
        EXPECT_TRUE(r.py_curves.empty());
    }
}

// Negative values keep one blank before their minus sign; exponents beyond
// two digits drop the E; NaN and infinities are spelled out.
TEST(PlotFileReader, RealFieldsInEveryForm) {
    struct Case {
        std::string field;  // 15 columns, as written
        double value;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const Case kCases[] = {
        {plot::E15(-1.25e-3), -1.25e-3},
        {" -0.1250000E-02", -1.25e-3},
        {"  0.1234567+100", 0.1234567e100},
        {" -0.1000000-120", -0.1e-120},
        {" -0.0000000E+00", -0.0},
        {plot::E15(6.0e23), 6.0e23},
        {"            NaN", nan},
        {"      -Infinity", -inf},
        {"       Infinity", inf},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.field);
        ASSERT_EQ(c.field.size(), 15u);
        std::vector<std::string> lines = plot::SmallRun();
        std::string& summary = lines.back();
        summary.replace(15, 15, c.field);  // the head deflection of Line 13
        const PlotResults r = Parse(lines);
        const double read = r.summaries[0].head_deflection;
        if (std::isnan(c.value)) {
            EXPECT_TRUE(std::isnan(read));
        } else {
            EXPECT_DOUBLE_EQ(read, c.value);
            EXPECT_EQ(std::signbit(read), std::signbit(c.value));
        }
        EXPECT_EQ(r.summaries[0].max_moment, 30000.0);  // the neighbouring field is untouched
    }
}

// A curve with no points carries no section number: it continues the thrust
// levels of the section before it, and the next section begins once the
// section has the levels Line 3 announced.
TEST(PlotFileReader, CurvesWithoutPointsTakeTheirPlaceInTheSectionOrder) {
    const std::vector<std::string> lines = {
        plot::Line1(2, 1, 0, 0), plot::Line2(2), plot::Line3(2),
        plot::Line4(1, 1.0, 5.0e3), plot::Line5(5.0, 1.0e3, 5.0e-3, 1, 1, 1),
        plot::Line4(0, 2.0, 0.0),  // section 1, thrust 2
        plot::Line4(0, 1.0, 0.0),  // section 2, thrust 1
        plot::Line4(1, 2.0, 4.0e3), plot::Line5(4.0, 1.0e3, 4.0e-3, 2, 2, 1),
    };
    const PlotResults r = Parse(lines);
    ASSERT_EQ(r.section_curves.size(), 4u);
    const std::pair<int, int> expected[] = {{1, 1}, {1, 2}, {2, 1}, {2, 2}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(r.section_curves[i].section, expected[i].first) << i;
        EXPECT_EQ(r.section_curves[i].thrust_index, expected[i].second) << i;
    }
}

// USCS curves of the moment-curvature analysis and of elastic sections are
// written in kips with the capacity in in-lb; user-defined EI curves in
// pounds, their capacity being their largest moment.
TEST(PlotFileReader, MomentUnitsOfSectionCurves) {
    struct Case {
        int units;
        host::SectionCurveSource source;
        double largest_moment;
        double capacity;
        double scale;
    };
    const Case kCases[] = {
        {1, host::SectionCurveSource::kMomentCurvature, 2000.0, 1.93e6, 1000.0},    // kip-in, capacity in-lb
        {1, host::SectionCurveSource::kMomentCurvature, 2.0e6, 2.0e6, 1.0},         // user-defined EI, in-lb
        {1, host::SectionCurveSource::kElasticPlastic, 3.0e3, 3.0e6, 1000.0},
        {1, host::SectionCurveSource::kMomentCurvature, 0.0, 0.0, 1000.0},          // nothing to compare: kips
        {2, host::SectionCurveSource::kMomentCurvature, 250.0, 240.0, 1.0},
        {3, host::SectionCurveSource::kElastic, 250.0, 250.0, 1.0},
    };
    for (const Case& c : kCases) {
        host::SectionCurve curve;
        curve.source = c.source;
        curve.nominal_moment_capacity = c.capacity;
        curve.points = {{c.largest_moment / 2.0, 1.0, 1.0}, {c.largest_moment, 1.0, 2.0}};
        EXPECT_EQ(host::MomentScaleToConsistentUnits(static_cast<host::UnitSystemCode>(c.units), curve), c.scale)
            << c.largest_moment << " " << c.capacity;
    }
}

// A run that stops with an error leaves the file as written so far: a file
// that ends between two groups of records is read, and says so.
TEST(PlotFileReader, FilesEndingBetweenGroupsAreIncomplete) {
    const std::vector<std::string> run = plot::SmallRun();
    struct Case {
        std::size_t keep;  // leading lines kept
        std::string_view reason;
    };
    const Case kCases[] = {
        {1, "before the number of sections (Line 2)"},
        {2, "before load case 1 was reported"},
        {6, "before load case 1 was reported"},
        {25, "before the load-case results (Line 9)"},
        {29, "after 1 of 1 load cases, before the pile-head summary"},  // without its Line 11
        {30, "after 1 of 1 load cases, before the pile-head summary"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.keep);
        const PlotResults r = Parse({run.begin(), run.begin() + static_cast<std::ptrdiff_t>(c.keep)});
        EXPECT_FALSE(r.complete);
        EXPECT_NE(r.incomplete_reason.find(c.reason), std::string::npos) << r.incomplete_reason;
    }
    // An EI-only run ends after its section curves.
    std::vector<std::string> ei_only(run.begin(), run.begin() + 6);
    ei_only[0] = plot::Line1(2, 1, 0, 0);
    EXPECT_TRUE(Parse(ei_only).complete);
}

TEST(PlotFileReader, DamagedFilesNameTheLineAndWhatWasExpected) {
    using Edit = std::function<void(std::vector<std::string>&)>;
    struct Case {
        const char* name;
        Edit edit;
        std::size_t line;
        std::string_view message;
    };
    const Case kCases[] = {
        {"empty file", [](auto& l) { l.clear(); }, 0, "the file is empty"},
        {"foreign text", [](auto& l) { l[0] = "Trevasc report (6.0.25)"; }, 1, "not a plot output file"},
        {"truncated inside a curve", [](auto& l) { l.resize(5); }, 5, "Line 5 point 2 of the 2 announced"},
        {"curve point out of order", [](auto& l) { l[5] = plot::Line5(2.0, 1.0, 1.0, 1, 1, 3); }, 6,
         "curve point number 3 where point 2"},
        {"point of another section", [](auto& l) { l[5] = plot::Line5(2.0, 1.0, 1.0, 2, 1, 2); }, 6,
         "inside the curve of section 1"},
        {"section beyond Line 2", [](auto& l) {
             l[4] = plot::Line5(1.0, 1.0, 1.0, 3, 1, 1);
             l[5] = plot::Line5(2.0, 1.0, 1.0, 3, 1, 2);
         }, 4, "Line 2 announced 1 sections"},
        {"Line 5 label of another kind", [](auto& l) {
             l[4] = plot::Line5(1.0, 1.0, 1.0, 1, 1, 1, "Line 5 : Elastic Moment, EI, Curvature for Sect#=");
         }, 5, "to match its Line 4"},
        {"Line 8 of another criterion", [](auto& l) {
             l[10] = plot::Line8(0.2, 100.0, 81, "Line 8( 3): y, p, for sand");
         }, 11, "its Line 7 is a soft clay curve"},
        {"Line 8 label after 20 blanks for soft clay", [](auto& l) {
             l[10] = plot::Line8(0.2, 100.0, 51, "Line 8( 3): y, p, for soft clay");
         }, 11, "starts in column 81"},
        {"Line 8 point number in I0 where I2 belongs", [](auto& l) {
             l[10] = plot::Line8(0.2, 100.0, 81, "Line 8(3): y, p, for soft clay");
         }, 11, "should start with \"Line 8( 3): y, p, for \""},
        {"p-y curve number beyond Line 6", [](auto& l) {
             l[7] = plot::Line7(120.0, 17, "Line 7:  p-y curve depth in soft clay, no. p-y points on curve no. 2");
         }, 8, "Line 6 announced 1 curves"},
        {"node skipped", [](auto& l) { l[27] = plot::Line10({60.0, 0, 0, 0, 0, 1.0}, 3); }, 28,
         "node 3 where node 2"},
        {"Line 11 of another case", [](auto& l) { l[29] = plot::Line11(-1, plot::kLine11None, 2); }, 30,
         "names load case 2"},
        {"length-study points missing", [](auto& l) { l[29] = plot::Line11(2, plot::kLine11Study, 1); }, 31,
         "expected Line 12 point 1 of the 2"},
        {"summary of an SI file in a USCS file", [](auto& l) {
             l.back() = plot::Line13({1, 1, 1, 1, 1}, plot::kLine13Si);
         }, 31, "should read \"Line 13: TopV(lbs)"},
        {"integer field overflowed", [](auto& l) { l[1] = "*****" + l[1].substr(5); }, 2, "asterisks"},
        {"real field damaged", [](auto& l) { l.back().replace(15, 15, "  0.50000O0E+00"); }, 31,
         "not a number in E15.7 form"},
        {"label one column early", [](auto& l) { l[1] = l[1].substr(1); }, 2, "in column 80"},
        {"record after the last", [](auto& l) { l.push_back(plot::Line6(0)); }, 32, "nothing follows them"},
        {"stiffness trial not requested", [](auto& l) { l.push_back(plot::Line14({1, 1, 1, 1, 1, 1, 1, 1})); },
         32, "KXX = 0"},
        {"stiffness trials cut short", [](auto& l) {
             l[0] = plot::Line1(3, 1, 0, 1);
             l.push_back(plot::Line14({1, 1, 1, 1, 1, 1, 1, 1}));
         }, 32, "Line 14 for stiffness trial 2 of 10"},
        {"units of Line 9 and Line 1 differ", [](auto& l) { l[25] = plot::Line9(1, 3, 2); }, 26,
         "Line 9 gives unit system 2, but Line 1 gives 1"},
        {"non-blank gap", [](auto& l) { l[1][40] = 'x'; }, 2, "columns 6-80 of Line 2"},
        {"node count beyond capacity", [](auto& l) { l[25] = plot::Line9(1, 9999, 1); }, 26,
         "must lie between 2 and 501"},
        {"control character", [](auto& l) { l[3][10] = '\x01'; }, 4, "holds a character"},
        {"Line 3 after a curve", [](auto& l) {
             l.erase(l.begin() + 2);
             l.insert(l.begin() + 5, plot::Line3(1));
         }, 6, "Line 3 after"},
        {"summary before all cases", [](auto& l) { l[25] = plot::Line9(2, 3, 1); }, 31,
         "begins after 1 load cases, but Line 9 announced 2"},
        {"node records out of place", [](auto& l) { l.erase(l.begin() + 25); }, 26,
         "expected Line 9 (the number of load cases and nodes), found Line 10"},
        {"gap between two fields", [](auto& l) { l[3][8] = 'x'; }, 4, "columns 6-15 of Line 4"},
        {"Line 10 label damaged", [](auto& l) { l[27].resize(l[27].size() - 2); }, 28,
         "should read \"Line 10(nnn): nodal depth, y, M, V, p, EI\""},
        {"points counted for a case without a study", [](auto& l) { l[29] = plot::Line11(1, plot::kLine11None, 1); },
         30, "has \"    0\" in columns 1-5"},
        {"interaction point numbered out of turn", [](auto& l) {
             const std::string gap(5, ' ');
             l.push_back(plot::I5(1) + plot::I5(2) + plot::I5(2) + plot::I5(1) + plot::I5(1) + std::string(55, ' ') +
                         "Line 15: Sect#, No. P-M points, design code, balanced point, 1 = tied 2 = spiral");
             for (int k : {1, 3}) {
                 std::string record;
                 for (double v : {100.0, 0.0, 70.0, 0.0, 0.7}) record += plot::E15(v);
                 l.push_back(record + gap + "Line 16: Pn, Mn, factored P, factored M, phi for Sect#=1, Pt#=" +
                             std::to_string(k));
             }
         }, 34, "the label of Line 16 (an interaction diagram point) should read"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> lines = plot::SmallRun();
        c.edit(lines);
        try {
            Parse(lines);
            ADD_FAILURE() << "read without error";
        } catch (const PlotFileError& e) {
            EXPECT_EQ(e.file(), "t.plot");
            EXPECT_EQ(e.line(), c.line) << e.what();
            EXPECT_NE(e.message().find(c.message), std::string::npos) << e.what();
        }
    }
}

// The plot files that the engine writes for the golden cases read without a
// fault: the reader and the writers agree on every record they hold. Between
// them the golden runs write every record kind, and every run that analyses
// load cases ends with one Line 13 per case (and ten Line 14 records when the
// stiffness matrix was asked for).
TEST(PlotFileReader, GoldenPlotFilesOfTheEngineRead) {
    const fs::path cases = TREVASC_TEST_CASES_DIR;
    std::size_t read = 0;
    bool sections = false, py = false, studied = false, lrfd = false, summaries = false, stiffness = false;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(cases, ec)) {
        const fs::path file = entry.path() / "expected" / "plot.txt";
        if (!fs::is_regular_file(file)) continue;
        SCOPED_TRACE(file.string());
        try {
            const PlotResults r = host::ReadPlotFile(file);
            ++read;
            for (const host::PyCurve& curve : r.py_curves) {
                if (!curve.above_ground) {
                    EXPECT_EQ(curve.points.size(), 17u) << curve.soil_model;
                }
            }
            for (const host::CaseProfile& profile : r.cases) {
                EXPECT_EQ(static_cast<int>(profile.nodes.size()), *r.number_of_nodes);
                studied = studied || !profile.length_study.empty();
                lrfd = lrfd || profile.length_label == host::LengthStudyLabel::kLrfdCase;
            }
            if (r.complete && r.number_of_cases) {
                EXPECT_EQ(r.summaries.size(), static_cast<std::size_t>(*r.number_of_cases));
                if (r.header.KXX == 1) {
                    EXPECT_EQ(r.stiffness.size(), 10u);
                }
            }
            sections = sections || !r.section_curves.empty();
            py = py || !r.py_curves.empty();
            summaries = summaries || !r.summaries.empty();
            stiffness = stiffness || !r.stiffness.empty();
        } catch (const PlotFileError& e) {
            ADD_FAILURE() << e.what();
        }
    }
    if (read == 0) GTEST_SKIP() << "no golden case with an expected plot file in " << cases.string();
    EXPECT_TRUE(sections && py && studied && lrfd && summaries && stiffness)
        << "sections " << sections << ", p-y curves " << py << ", length study " << studied << ", LRFD " << lrfd
        << ", Line 13 " << summaries << ", Line 14 " << stiffness;
}

TEST(PlotFileReader, DamagedFixtureFiles) {
    struct Case {
        const char* file;
        std::size_t line;
        std::string_view message;
    };
    const Case kCases[] = {
        {"truncated.plot.txt", 211, "Line 5 point 57 of the 60 announced by Line 4 at line 155"},
        {"foreign.plot.txt", 1, "not a plot output file"},
        {"no-such-file.plot.txt", 0, "no such plot output file"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.file);
        try {
            host::ReadPlotFile(plot::PlotDataDir() / c.file);
            ADD_FAILURE() << "read without error";
        } catch (const PlotFileError& e) {
            EXPECT_EQ(e.line(), c.line) << e.what();
            EXPECT_NE(e.message().find(c.message), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(c.file), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace trevasc
