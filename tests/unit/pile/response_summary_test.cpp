// Summary of pile responses: the table of every case with its head conditions
// and main results, the Line 13 records of the plot file, the headings of
// each unit system, and the LRFD form followed by the performance table.
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pile/pile_test_support.hpp"
#include "pile/response_summary.hpp"

namespace trevasc::testing {
namespace {

const std::string kRule = "----  ----  --------------  --------------  -------------  -------------  -------------  "
                          "-------------  -------------";
const std::string kUscsLine13 = "Line 13: TopV(lbs), TopY(in), Mmax(in-lbs), Vmax(lbs), Rotation(rad)";
const std::string kSiLine13 = "Line 13: TopV(kN) TopY(m), Mmax(kN-m), Vmax(kN), Rotation(rad)";

// Fields of a summary line: number and type text, first condition, second
// text, second condition, axial load, head deflection, maximum moment, four
// blanks, maximum shear, head rotation.
struct SummaryLine {
    std::string prefix, second_text, gap;
    double condition1, condition2, axial, deflection, moment, shear, rotation;
};
SummaryLine Parse(const std::string& line) {
    return {line.substr(0, 15),
            line.substr(26, 5),
            line.substr(87, 4),
            std::stod(line.substr(15, 11)),
            std::stod(line.substr(31, 11)),
            std::stod(line.substr(42, 15)),
            std::stod(line.substr(57, 15)),
            std::stod(line.substr(72, 15)),
            std::stod(line.substr(91, 11)),
            std::stod(line.substr(102, 15))};
}

// A fixed-head pile (loading type 2, zero slope) that is long on its elastic
// foundation: 100 ft, EI = 1.0E10 lb-in^2, k = 1000 lb/in^2, so
// beta = 0.012574 /in and, for V = 10 kips (Hetenyi 1946),
// y(0) = V / (4 EI beta^3) and M(0) = -V / (2 beta), the largest moment.
TEST(ResponseSummary, FixedHeadCaseLineAndLine13) {
    constexpr double kEI = 1.0e10, kShear = 10000.0;
    model::ProblemData problem = ElasticPileProblem(1200.0, kEI, 10.0, 400);
    AddElasticSubgradeLayer(problem, 0.0, 1300.0, 100.0, 100.0);
    AddLoad(problem, model::kShearAndSlope, kShear, 0.0);
    PileRun run(problem);
    ASSERT_EQ(run.Run(), 0);
    pile::WriteResponseSummary(run.ctx());
    const RunOutput out = run.Outputs();
    const auto report = out.ReportLines();

    const double beta = std::pow(1000.0 / (4.0 * kEI), 0.25);
    const double bh = beta * 3.0;
    const double y0 = kShear / (4.0 * kEI * beta * beta * beta);
    const double m0 = kShear / (2.0 * beta);

    const std::size_t rule = FindLine(report, kRule);
    ASSERT_LT(rule + 1, report.size());
    const std::string& line = report[rule + 1];
    EXPECT_EQ(line.size(), 117u);
    const SummaryLine s = Parse(line);
    EXPECT_EQ(s.prefix, "  1     2   V =");
    EXPECT_EQ(s.second_text, "  S =");
    EXPECT_EQ(s.gap, "    ");
    EXPECT_NEAR(s.condition1, kShear, 1.0e-6);
    EXPECT_EQ(s.condition2, 0.0);
    EXPECT_EQ(s.axial, 0.0);
    EXPECT_NEAR(s.deflection / y0, 1.0, bh * bh);
    EXPECT_NEAR(std::fabs(s.moment) / m0, 1.0, bh * bh);
    EXPECT_NEAR(s.shear, kShear, 1.0e-3);
    // The computed head slope, zero up to rounding.
    EXPECT_LT(std::fabs(s.rotation), 1.0e-8);

    const auto line13 = PlotRecords(out, "Line 13: ");
    ASSERT_EQ(line13.size(), 1u);
    EXPECT_EQ(line13[0].substr(80), kUscsLine13);
    const auto f = PlotFields(line13[0], 5);
    EXPECT_NEAR(f[0], kShear, 1.0e-3);
    EXPECT_NEAR(f[1], s.deflection, 1.0e-7);
    EXPECT_NEAR(f[2] / s.moment, 1.0, 1.0e-6);
    EXPECT_NEAR(f[3], s.shear, 1.0e-3);
    EXPECT_LT(std::fabs(f[4]), 1.0e-8);
}

// The heading block of each unit system, from the definitions to the rule.
TEST(ResponseSummary, HeadingsByUnitSystem) {
    struct Case {
        const char* what;
        model::UnitSystem units;
        std::vector<std::string> lines;
        std::string line13_label;
    };
    const std::string heading1 = "               Pile-head      Pile-head ";
    const std::string heading2 = "Load  Load    Condition 1    Condition 2        Axial        Pile-head       Maximum   "
                                 "     Maximum       Pile-head  ";
    const Case kCases[] = {
        {"USCS",
         model::UnitSystem::USCS,
         {"Definitions of Pile-head Loading Conditions:", "",
          "Load Type 1: Load 1 = Shear, lbs, and Load 2 = Moment, in-lbs",
          "Load Type 2: Load 1 = Shear, lbs, and Load 2 = Slope, radians",
          "Load Type 3: Load 1 = Shear, lbs, and Load 2 = Rotational Stiffness, in-lbs/radian",
          "Load Type 4: Load 1 = Top Deflection, inches, and Load 2 = Moment, in-lbs",
          "Load Type 5: Load 1 = Top Deflection, inches, and Load 2 = Slope, radians", "", "", heading1, heading2,
          "Case  Type    V(lbs) or     in-lb, rad.,       Loading      Deflection       Moment          Shear        "
          "Rotation   ",
          " No.   No.    y(inches)     or in-lb/rad.        lbs          inches         in-lbs           lbs          "
          "radians   ",
          kRule},
         kUscsLine13},
        {"SI",
         model::UnitSystem::SI,
         {"Definitions of Pile-head Loading Conditions:", "",
          "Load Type 1: Load 1 = Shear, kN, and Load 2 = Moment, kN-m ",
          "Load Type 2: Load 1 = Shear, kN, and Load 2 = Slope, radians",
          "Load Type 3: Load 1 = Shear, kN, and Load 2 = Rotational Stiffness, kN-m/radian",
          "Load Type 4: Load 1 = Top Deflection, m, and Load 2 = Moment, kN-m",
          "Load Type 5: Load 1 = Top Deflection, m, and Load 2 = Slope, radians", "", "", heading1, heading2,
          "Case  Type    V(kN) or       kN-m, rad.,       Loading      Deflection       Moment          Shear        "
          "Rotation   ",
          " No.   No.    y(meters)      or kN-m/rad.        kN           meters          kN-m            kN           "
          "radians   ",
          kRule},
         kSiLine13},
        // No definitions and no unit lines, but the SI label on Line 13.
        {"GENERAL",
         model::UnitSystem::GENERAL,
         {"Definitions of Pile-head Loading Conditions:", "", heading1, heading2, kRule},
         kSiLine13},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        model::ProblemData problem = c.units == model::UnitSystem::USCS
                                         ? ElasticPileProblem(1200.0, 1.0e10, 10.0, 100)
                                         : ElasticPileProblem(30.0, 1.0e5, 1.0, 100, c.units);
        AddElasticSubgradeLayer(problem, 0.0, problem.PileTotalLength + 1.0, 100.0, 100.0);
        AddLoad(problem, model::kShearAndMoment, 10.0, 0.0);
        AddLoad(problem, model::kDeflectionAndMoment, 0.01, 0.0);
        PileRun run(problem);
        ASSERT_EQ(run.Run(), 0);
        pile::WriteResponseSummary(run.ctx());
        const RunOutput out = run.Outputs();
        const auto report = out.ReportLines();
        const std::size_t title = FindLine(report, std::string(27, ' ') + "Summary of Pile Response(s)");
        ASSERT_LT(title + 3 + c.lines.size() + 2, report.size());
        EXPECT_EQ(report[title - 1], std::string(80, '-'));
        EXPECT_EQ(report[title + 1], std::string(80, '-'));
        EXPECT_EQ(report[title + 2], "");
        EXPECT_EQ(report[title + 3], "");
        for (std::size_t i = 0; i < c.lines.size(); ++i) EXPECT_EQ(report[title + 4 + i], c.lines[i]) << "line " << i;
        const std::size_t first = title + 4 + c.lines.size();
        EXPECT_EQ(report[first].substr(0, 15), "  1     1   V =");
        EXPECT_EQ(report[first + 1].substr(0, 15), "  2     4   y =");
        EXPECT_EQ(report[first + 1].substr(26, 5), "  M =");
        const auto line13 = PlotRecords(out, "Line 13: ");
        ASSERT_EQ(line13.size(), 2u);
        for (const std::string& record : line13) EXPECT_EQ(record.substr(80), c.line13_label);
        // The head shear of the deflection case is the reaction it needs.
        EXPECT_GT(PlotFields(line13[1], 1)[0], 0.0);
    }
}

// An LRFD run: one type-1 line per combination with its factored shear and
// moment, one Line 13 record per combination at the end of the plot file,
// then the performance table.
TEST(ResponseSummary, LrfdRunListsEveryCombinationThenThePerformanceTable) {
    ElasticPileDeck deck;
    deck.lrfd = true;
    // Dead load 10 lb and 100 in-lb; live load 20 lb.
    deck.loads =
        "LRFD LOADS\n2\n1 1 10. 100. 0. 0\n2 2 20. 0. 0. 0\n"
        "LRFD FACTORS AND CASES\n3\n"
        "1 1.25 0 0 0 0 0 0 0 0 0 0 0 0 0.75 0.9\nStrength I\n"
        "2 0.9 0 0 0 0 0 0 0 0 0 0 0 0 0.75 0.9\nStrength Ia\n"
        "3 1.25 1.75 0 0 0 0 0 0 0 0 0 0 0 0.75 0.9\nStrength Ib\n";
    const RunOutput out = RunInput(ElasticPileInput(deck));
    ASSERT_EQ(out.code, 0) << out.report;
    const auto report = out.ReportLines();
    EXPECT_EQ(FindLine(report, "Definitions of Pile-head Loading Conditions:"), report.size());
    const std::size_t heading = FindLine(report, "Load  Load      Pile-head     Pile-head         Axial        Pile-head  "
                                                 "     Maximum        Maximum       Pile-Head  ");
    ASSERT_LT(heading + 9, report.size());
    EXPECT_EQ(report[heading + 1], "Case  Type        Shear         Moment           Load        Deflection       "
                                   "Moment         Shear        Rotation    ");
    EXPECT_EQ(report[heading + 3], kRule);
    const auto line13 = PlotRecords(out, "Line 13: ");
    ASSERT_EQ(line13.size(), 3u);
    struct Expected {
        double V, M;
    };
    const Expected kFactored[] = {{12.5, 125.0}, {9.0, 90.0}, {47.5, 125.0}};
    for (std::size_t c = 0; c < 3; ++c) {
        SCOPED_TRACE("combination " + std::to_string(c + 1));
        const SummaryLine s = Parse(report[heading + 4 + c]);
        EXPECT_EQ(s.prefix, "  " + std::to_string(c + 1) + "     1   V =");
        EXPECT_EQ(s.second_text, "  M =");
        EXPECT_NEAR(s.condition1, kFactored[c].V, 1.0e-9);
        EXPECT_NEAR(s.condition2, kFactored[c].M, 1.0e-9);
        const auto f = PlotFields(line13[c], 5);
        EXPECT_NEAR(f[0], kFactored[c].V, 1.0e-5);
        // The table rounds the deflection to the digits its field holds.
        EXPECT_GT(f[1], 0.0);
        EXPECT_NEAR(s.deflection / f[1], 1.0, 1.0e-4);
    }
    EXPECT_EQ(report[heading + 7], "");
    EXPECT_EQ(report[heading + 8], "");
    EXPECT_EQ(report[heading + 9], std::string(80, '-'));
    EXPECT_EQ(report[heading + 10], std::string(19, ' ') + "LRFD Performance by Load Case Combination");
    // The Line 13 records follow every case's records and close the file.
    const auto plot = out.PlotLines();
    ASSERT_GE(plot.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(plot[plot.size() - 3 + i], line13[i]);
    EXPECT_NE(plot[plot.size() - 4].find("Line 11: "), std::string::npos);
}

}  // namespace
}  // namespace trevasc::testing
