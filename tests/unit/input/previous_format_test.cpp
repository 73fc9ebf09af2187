// The readers of the previous ("TREVAS5") and older (untagged) input formats:
// what they store, every check with its exact message, the soil profile built
// from layers and depth tables, and the sections.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "input/list_directed.hpp"
#include "input/previous_format.hpp"
#include "input/reader_harness.hpp"
#include "run/error_stop.hpp"
#include "run/run_context.hpp"
#include "support/run_fixture.hpp"
#include "trevasc/units.hpp"

namespace trevasc::testing {
namespace {

// Reads an input text the way the run does: the tag selects the reader, and
// any other first line sends the whole file to the older-format reader.
ReadOutcome ReadPrevious(const std::string& text) {
    TempDir dir;
    ReadOutcome outcome;
    {
        auto ctx = std::make_unique<run::RunContext>();
        ctx->files.report.Open(dir.path() / "report.txt");
        ctx->files.plot.Open(dir.path() / "plot.txt");
        ctx->files.messages.Open(dir.path() / "messages.txt");
        ctx->files.input = input::InputFile(text);
        try {
            std::string tag;
            {
                input::ListDirectedRead read(ctx->files.input);
                if (!read.Character(tag, 7)) tag = "3      ";
            }
            if (tag == "TREVAS5") {
                input::ReadPreviousFormat(*ctx);
            } else {
                ctx->files.input.Rewind();
                input::ReadOldestFormat(*ctx);
            }
        } catch (const run::RunStop&) {
        }
        ctx->files.report.Close();
        ctx->files.plot.Close();
        ctx->files.messages.Close();
        outcome.error = ctx->ErrorNumber;
        outcome.problem = ctx->problem;
    }
    outcome.report = ReadFile(dir.path() / "report.txt");
    outcome.messages = ReadFile(dir.path() / "messages.txt");
    return outcome;
}

// A file of either format, line group by line group. The default is a valid
// previous-format file of mode 1: a 50 ft pile of 24 in width in one elastic
// subgrade layer, one load case.
struct PreviousFile {
    bool older = false;
    bool ei_only = false;                  // mode 2: no pile, soil or load lines
    std::string options = "1 1 0 0 0";     // units, mode, (ignored), KYL, soil movement
    std::string pile = "100 2 0.0 50.0 0.0";  // increments, points, ground surface, length, slope
    std::string properties = "0.0 24.0 4000.0 100.0 29.0E6\n50.0 24.0 4000.0 100.0 29.0E6";
    std::string counts = "1 2 0 0 0";      // layers, unit weights, strengths, curves, multipliers
    std::string soil = "13 0.0 60.0 100.0 100.0\n0.0 60.0\n60.0 60.0";
    std::string loads = "0 1 0\n1\n1 10000.0 0.0 0.0\n0";  // distributed, cases, tip shear
    std::string output = "1 1 0";          // print increment, summary switch, p-y switch
    std::string control = "100 1.0E-5 10.0";  // iterations, tolerance, deflection limit
    std::string movements;
    std::string sections;

    std::string Text() const {
        std::string text = older ? "" : "TREVAS5\n";
        text += "Reader test\n" + options + "\n";
        if (!ei_only) {
            for (const std::string* group : {&pile, &properties, &counts, &soil, &loads, &output, &control}) {
                text += *group + "\n";
            }
            if (!movements.empty()) text += movements + "\n";
        }
        if (!sections.empty()) text += sections + "\n";
        return text;
    }
};

// Mode 2 with one steel pipe section (kind 5) at one thrust.
PreviousFile EIOnly(const std::string& section_lines) {
    PreviousFile f;
    f.ei_only = true;
    f.options = "1 2 0 0 0";
    f.sections = section_lines;
    return f;
}
const std::string kPipeSection = "5\n4000.0 60000.0 36000.0 29.0E6\n0.0 24.0 0.0 0.5 0.0";

std::string Repeat(const std::string& line, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += line + "\n";
    return text;
}

TEST(PreviousFormatReader, StoresTheFixedLinesInProblemData) {
    PreviousFile f;
    f.options = "1 1 7 1 0";
    f.pile = "120 2 2.0 50.0 10.0";
    f.counts = "1 2 0 0 2";
    f.soil = "13 0.0 60.0 100.0 0.0\n2.0 60.0\n60.0 60.0\n2.0 0.5 1.0\n50.0 0.8 1.0";
    f.loads = "2 0 100.0\n0.0 5.0\n10.0 0.0\n2\n1 10000.0 250000.0 80000.0\n5 0.5 0.0 0.0\n2\n0.0 0.0\n1.0 300.0";
    f.output = "5 0 1\n2\n10.0\n20.0";
    f.control = "250 1.0E-6 12.0";
    const ReadOutcome out = ReadPrevious(f.Text());
    ASSERT_EQ(out.error, 0) << out.report;
    const model::ProblemData& p = out.problem;
    const model::AnalysisOptions& o = p.Options;

    EXPECT_EQ(p.TitleLines[0], std::string("Reader test") + std::string(256 - 11, ' '));
    for (int i = 1; i < 5; ++i) EXPECT_EQ(p.TitleLines[static_cast<std::size_t>(i)], std::string(256, ' '));
    EXPECT_EQ(o.Units, model::UnitSystem::USCS);
    EXPECT_EQ(o.AnalysisMode, 1);
    EXPECT_EQ(p.KYL, 1);
    EXPECT_FALSE(o.UseSoilMovement);
    EXPECT_FALSE(o.UseLrfd);
    EXPECT_FALSE(o.ComputeKmatrix);
    EXPECT_EQ(o.NumberOfIncrements, 120);
    EXPECT_EQ(p.GroundSurfaceDepth, 2.0);
    EXPECT_EQ(p.PileTotalLength, 50.0);
    EXPECT_DOUBLE_EQ(p.GroundSlopeAngle, 10.0 * kPi / 180.0);
    EXPECT_DOUBLE_EQ(p.SlopeMinusBatter, 10.0 * kPi / 180.0);

    // The property points as read: depth, width, inertia, area, modulus.
    ASSERT_EQ(p.SectionPropertyTable.size(), 2u);
    const model::SectionPropertyRow& row = p.SectionPropertyTable[1];
    EXPECT_EQ(row.Depth, 50.0);
    EXPECT_EQ(row.Width, 24.0);
    EXPECT_EQ(row.Inertia, 4000.0);
    EXPECT_EQ(row.Area, 100.0);
    EXPECT_EQ(row.Modulus, 29.0e6);
    EXPECT_TRUE(p.Sections.empty());  // mode 1 gives no sections

    // p-y multipliers are used when their count is positive.
    EXPECT_TRUE(o.UsePyModifiers);
    EXPECT_EQ(p.PyModifierCount, 2);
    ASSERT_EQ(p.PyModifierProfile.size(), 2u);
    EXPECT_EQ(p.PyModifierProfile[1].PMultiplier, 0.8);

    // Loading switch 0 is cyclic loading.
    EXPECT_TRUE(o.CyclicLoading);
    EXPECT_EQ(o.NumberOfCycles, 100.0);
    ASSERT_EQ(p.DistributedLoad.size(), 2u);
    EXPECT_EQ(p.DistributedLoad[0][1], 5.0);
    ASSERT_EQ(p.PileHeadLoads.size(), 2u);
    EXPECT_EQ(p.PileHeadLoads[0].Condition2, 250000.0);
    EXPECT_EQ(p.PileHeadLoads[0].AxialThrust, 80000.0);
    EXPECT_EQ(p.PileHeadLoads[1].LoadingType, 5);
    // KYL asks for the length study of every case.
    EXPECT_TRUE(p.PileHeadLoads[0].ComputeTopDeflVsLength);
    EXPECT_TRUE(p.PileHeadLoads[1].ComputeTopDeflVsLength);
    EXPECT_TRUE(o.UseTipShear);
    ASSERT_EQ(p.TipShearCurve.size(), 2u);
    EXPECT_EQ(p.TipShearCurve[1][1], 300.0);

    // Summary switch 0 prints the summary only; a positive p-y switch reads depths.
    EXPECT_EQ(o.PrintIncrement, 5);
    EXPECT_TRUE(o.PrintSummaryOnly);
    EXPECT_TRUE(o.PrintPyCurves);
    EXPECT_EQ(p.PyOutputDepths, (std::vector<double>{10.0, 20.0}));
    EXPECT_EQ(o.IterationLimit, 250);
    EXPECT_EQ(o.ConvergenceTolerance, 1.0e-6);
    EXPECT_EQ(o.MaxAllowableDeflection, 12.0);

    // The layer starts at the ground surface; a bottom k of 0 takes the top
    // value; an elastic subgrade takes its modulus from k.
    ASSERT_EQ(p.Layers.size(), 1u);
    const model::SoilLayer& layer = p.Layers[0];
    EXPECT_EQ(layer.XLayerTop, 2.0);
    EXPECT_EQ(layer.Top.Depth, 2.0);
    EXPECT_EQ(layer.Bottom.ElasticSubgradeModulus, 100.0);
    EXPECT_EQ(layer.Bottom.SubgradeK, 100.0);
    EXPECT_EQ(layer.Top.EffUnitWeight, 60.0);
}

TEST(PreviousFormatReader, KeepsSiValuesAsEntered) {
    PreviousFile f;
    f.options = "2 1 0 0 1";
    f.properties = "0.0 0.6 0.001 0.06 2.0E8\n15.0 0.6 0.001 0.06 2.0E8";
    f.soil = "13 0.0 20.0 30000.0 30000.0\n0.0 18.0\n20.0 18.0";
    f.control = "100 2.5E-7 0.2";
    f.movements = "2\n0.0 25.0\n10.0 0.0";
    const ReadOutcome out = ReadPrevious(f.Text());
    ASSERT_EQ(out.error, 0) << out.report;
    EXPECT_EQ(out.problem.Options.Units, model::UnitSystem::SI);
    EXPECT_EQ(out.problem.SectionPropertyTable[0].Width, 0.6);
    EXPECT_EQ(out.problem.SectionPropertyTable[0].Inertia, 0.001);
    // Soil movements stay as written: these formats do not convert millimetres.
    EXPECT_TRUE(out.problem.Options.UseSoilMovement);
    ASSERT_EQ(out.problem.SoilMovementProfile.size(), 2u);
    EXPECT_EQ(out.problem.SoilMovementProfile[0][1], 25.0);
}

// Every check of the previous format with its text, the checks of the older
// format, and the checks this engine adds; edges that pass have code 0.
TEST(PreviousFormatReader, ChecksInputWithItsMessages) {
    struct Case {
        const char* name;
        std::function<void(PreviousFile&)> edit;
        std::int32_t error;
        std::vector<std::string> lines;          // in the report and in the run message file
        std::vector<std::string> message_lines;  // when the message file reads differently
    };
    const std::vector<std::string> k55 = {"**** Input Data Error No. 55 ****", "",
                                          "Problem:  The number of pile increments is less than 40.", "",
                                          "Solution: Increase the number of pile increments to more than 40,",
                                          "          preferably 100 or more increments."};
    const std::vector<std::string> k56 = {"**** Input Data Error No. 56 ****", "",
                                          "Problem:  The number of pile increments is more than 300.", "",
                                          "Solution: Limit the number of pile increments to 300 or less."};
    const std::vector<std::string> k64 = {"**** Input Data Error No. 64 ****", "",
                                          "Input value for iteration limit is outside the range of 40 to 1000.",
                                          "The number of iterations must be between 40 and 1000.", ""};
    const std::vector<std::string> k53_51 = {"**** Input Data Error No. 53 ****", "",
                                             "Number of lines of soil movement data = 51",
                                             "The number of lines of soil movement data cannot exceed 50", ""};
    const std::vector<std::string> k59 = {"**** Input Data Error No. 59 ****", "",
                                          "Problem:  The number of pile diameter values is more than 40.", "",
                                          "Solution: Limit the number of input values to 40 or less."};
    auto older_user_curves = [](PreviousFile& f) {
        f.older = true;
        f.counts = "1 0 0 2 0";
        f.soil = "14 0.0 60.0\n0.0 2\n0.0 0.0\n1.0 100.0\n60.0 2\n0.0 0.0\n1.0 100.0";
    };
    const std::vector<Case> kCases = {
        {"39 increments", [](PreviousFile& f) { f.pile = "39 2 0.0 50.0 0.0"; }, 155, k55, {}},
        {"301 increments", [](PreviousFile& f) { f.pile = "301 2 0.0 50.0 0.0"; }, 156, k56, {}},
        {"300 increments pass", [](PreviousFile& f) { f.pile = "300 2 0.0 50.0 0.0"; }, 0, {}, {}},
        {"zero pile length", [](PreviousFile& f) { f.pile = "100 2 0.0 0.0 0.0"; }, 157,
         {"**** Input Data Error No. 57 ****", "", "Problem:  The input value for pile length is zero.", "",
          "Solution: Review and correct the data for pile length."}, {}},
        {"41 property points",
         [](PreviousFile& f) {
             f.pile = "100 41 0.0 50.0 0.0";
             f.properties = Repeat("0.0 24.0 4000.0 100.0 29.0E6", 41);
             f.properties.pop_back();
         },
         159, k59, {}},
        {"no unit weights and no curves", [](PreviousFile& f) { f.counts = "1 0 0 0 0"; }, 107,
         {"**** Input Data Error No. 7 ****", "",
          "Problem:  Number of points defining effective unit weight vs. depth is",
          "          zero and number of input p-y curves is also zero.", "",
          "Solution: Please input data for soil layering vs. depth, effective unit",
          "          weight vs. depth, and shear strength vs. depth to use internally",
          "          generated p-y curves."}, {}},
        {"layer top below its bottom",
         [](PreviousFile& f) {
             f.counts = "2 2 0 0 0";
             f.soil = "13 0.0 30.0 100.0 100.0\n13 40.0 35.0 100.0 100.0\n0.0 60.0\n60.0 60.0";
         },
         147,
         {"", "", "**** Input Data Error No. 47 ****", "",
          "Problem:  Depth of top of soil layer is greater than or equal to depth of ",
          "          bottom of soil layer.", "", "Solution: Correct the data for top and bottom depths of soil layer 2",
          ""}, {}},
        {"layer top equal to its bottom passes",
         [](PreviousFile& f) {
             f.counts = "2 2 0 0 0";
             f.soil = "13 0.0 30.0 100.0 100.0\n13 60.0 60.0 100.0 100.0\n0.0 60.0\n60.0 60.0";
         },
         0, {}, {}},
        {"liquefied sand around a narrow pile",
         [](PreviousFile& f) {
             f.properties = "0.0 11.8 4000.0 100.0 29.0E6\n50.0 11.8 4000.0 100.0 29.0E6";
             f.soil = "7 0.0 60.0 0.0 0.0\n0.0 60.0\n60.0 60.0";
         },
         171,
         {"**** Input Data Error No. 71 ****", "",
          "Problem:  A pile diameter of less than 0.3 meters (11.8 inches) was defined",
          "          for a soil layer defined using the liquefied sand criteria. The liquefied",
          "          sand criteria is valid only for pile diameters ranging from 0.3 to 2.44",
          "          meters (12 to 96 inches) in diameter.", "",
          "Solution: Increase the value of pile diameter over the depth range of the",
          "          liquefied sand layer.", ""}, {}},
        {"liquefied sand around a 12 in pile passes",
         [](PreviousFile& f) {
             f.properties = "0.0 12.0 4000.0 100.0 29.0E6\n50.0 12.0 4000.0 100.0 29.0E6";
             f.soil = "7 0.0 60.0 0.0 0.0\n0.0 60.0\n60.0 60.0";
         },
         0, {}, {}},
        {"first layer ends at the pile head", [](PreviousFile& f) { f.soil = "13 0.0 0.0 100.0 100.0\n0.0 60.0\n60.0 60.0"; },
         161,
         {"**** Input Data Error No. 61 ****", "",
          "Problem:  The depth of the bottom of the top soil layer is less than ",
          "          or equal to zero. This will cause the layering correction to ",
          "          p-y curves to generate incorrect p-y curves below the top layer.", "",
          "Solution: The top soil layer must extend from the ground surface to below ", "          the pile head.",
          "          The upper soil layer must be defined so that the vertical effective stress",
          "          at the pile head correctly generated with the correct vertical thickness.",
          "          One way to correct the input",
          "          data is to combine the upper soil layers into a single layer with one effective",
          "          unit weight that results in the correct effective stress at the pile head and ",
          "          to extend the soil layer to just below the top of the pile."}, {}},
        {"39 iterations", [](PreviousFile& f) { f.control = "39 1.0E-5 10.0"; }, 164, k64, {}},
        {"40 iterations pass", [](PreviousFile& f) { f.control = "40 1.0E-5 10.0"; }, 0, {}, {}},
        {"1001 iterations", [](PreviousFile& f) { f.control = "1001 1.0E-5 10.0"; }, 164, k64, {}},
        {"tolerance below 1E-10 in", [](PreviousFile& f) { f.control = "100 9.0E-11 10.0"; }, 165,
         {"**** Input Data Error No. 65 ****", "",
          "Input value of convergence tolerance is too small (less than 1E-10 inches).",
          "The recommended value for convergence tolerance is 0.00001 inches.", ""}, {}},
        {"tolerance above 0.001 in", [](PreviousFile& f) { f.control = "100 0.0011 10.0"; }, 166,
         {"**** Input Data Error No. 66 ****", "",
          "Input value of convergence tolerance is too large (more than 0.001 inches). ",
          "The recommended value for convergence tolerance is 0.00001 inches.", ""}, {}},
        // The limit is the single-precision 0.001, a little above 0.001.
        {"tolerance of 0.001 in passes", [](PreviousFile& f) { f.control = "100 0.001 10.0"; }, 0, {}, {}},
        {"tolerance below 2.5E-12 m",
         [](PreviousFile& f) {
             f.options = "2 1 0 0 0";
             f.control = "100 2.0E-12 10.0";
         },
         167,
         {"**** Input Data Error No. 67 ****", "",
          "Input value of convergence tolerance is too small (less than 2.5E-12 meters). ",
          "The recommended value for convergence tolerance is 2.54E-7 meters.", ""}, {}},
        {"tolerance above 2.5E-5 m",
         [](PreviousFile& f) {
             f.options = "2 1 0 0 0";
             f.control = "100 3.0E-5 10.0";
         },
         168,
         {"**** Input Data Error No. 68 ****", "",
          "Input value of convergence tolerance too large (more than 2.54E-5 meters). ",
          "The recommended value for convergence tolerance is 2.54E-7 meters.", ""}, {}},
        {"general units check no tolerance",
         [](PreviousFile& f) {
             f.options = "3 1 0 0 0";
             f.control = "100 0.5 10.0";
         },
         0, {}, {}},
        {"deflection limit below a tenth of the width", [](PreviousFile& f) { f.control = "100 1.0E-5 2.3"; }, 169,
         {"**** Input Data Error No. 69 ****", "",
          "Input value of excessive deflection limit is less than 10 percent of the pile diameter.",
          "The recommended value for convergence tolerance is 10 times the pile diameter.", ""}, {}},
        {"deflection limit of a tenth of the width passes", [](PreviousFile& f) { f.control = "100 1.0E-5 2.4"; }, 0,
         {}, {}},
        {"one soil movement line",
         [](PreviousFile& f) {
             f.options = "1 1 0 0 1";
             f.movements = "1\n0.0 1.0";
         },
         153,
         {"**** Input Data Error No. 53 ****", "", "Number of lines of soil movement data = 1",
          "The number of lines of soil movement data cannot exceed 50", ""}, {}},
        {"51 soil movement lines",
         [](PreviousFile& f) {
             f.options = "1 1 0 0 1";
             f.movements = "51";
         },
         153, k53_51, {}},
        {"casing with core of no diameter",
         [](PreviousFile& f) { f = EIOnly("1\n1\n0.0\n4\n4.0 60000.0 36000.0 29.0E6\n0.0 36.0 0.0 0.5 0.5"); }, 170,
         {"**** Input Data Error No. 70 ****", "", "Problem:  Diameter of inner core =   0.0000 for Section 1",
          "Solution: The diameter of the inner core cannot be less than or equal to zero.",
          "          Either change the section type or enter a value for the inner core diameter."}, {}},
        {"101 rebar rows",
         [](PreviousFile& f) { f = EIOnly("1\n1\n0.0\n2\n4.0 60000.0 36000.0 29.0E6\n0.0 36.0 0.0 0.0 0.0\n1.0 8 101 3.0"); },
         126,
         {"**** Input Data Error No. 26 ****", "", "Problem:  Number of rebar bars input is more than 100 (= 101)",
          "", "Solution: The number of rebar bars cannot exceed 100 bars.",
          "Reconfigure the bar layout using a smaller number of larger bars with ",
          "an equal area of steel and clear cover. The bending stiffness ",
          "is insensitive to the number of bars if more than 12 bars for an equal amount of steel."},
         {"**** Input Data Error No. 26 ****", "", "Problem:  Number of rebar bars input is more than 100, = 101)",
          "", "Solution: The number of rebar bars cannot exceed 100 bars."}},

        // The older format: errors 6, 7 and 26 in its own words, and none of
        // the previous format's range checks.
        {"older: p-y multipliers with user curves only",
         [&](PreviousFile& f) {
             older_user_curves(f);
             f.counts = "1 0 0 2 1";
         },
         106,
         {"**** Input Data Error No. 6 ****", "",
          "p-y multipliers cannot be specified for use with user-specified p-y curves", "", "Solution:",
          "Consult the technical manual for how to compute p-y multipliers",
          "and adjust the user-specified p-y as needed."}, {}},
        {"older: no unit weights and no curves",
         [&](PreviousFile& f) {
             older_user_curves(f);
             f.counts = "1 0 0 0 0";
         },
         107,
         {"**** Input Data Error No. 7 ****", "", "Number of points defining effective unit weight vs. depth is zero ",
          "and number of input p-y curves is also zero.", "", "Solution:",
          "Please input data for soil layering vs. depth, effective unit",
          "weight vs. depth, and shear strength vs. depth to use internally", "generated p-y curves."}, {}},
        {"older: 101 rebar rows",
         [](PreviousFile& f) {
             f = EIOnly("1\n1\n0.0\n2\n4.0 60000.0 36000.0 29.0E6\n0.0 36.0 0.0 0.0 0.0\n1.0 8 101 3.0");
             f.older = true;
         },
         126,
         {"**** Input Data Error No. 26 ****", "", "Number of rebar rows in input = 101",
          "The number of rebar rows cannot exceed 100", ""}, {}},
        {"older: 39 increments and 39 iterations pass",
         [&](PreviousFile& f) {
             older_user_curves(f);
             f.pile = "39 2 0.0 50.0 0.0";
             f.control = "39 1.0E-5 1.0";
         },
         0, {}, {}},
        // Checks that keep the older format inside its tables.
        {"older: 41 property points",
         [&](PreviousFile& f) {
             older_user_curves(f);
             f.pile = "100 41 0.0 50.0 0.0";
             f.properties = Repeat("0.0 24.0 4000.0 100.0 29.0E6", 41);
             f.properties.pop_back();
         },
         159, k59, {}},
        {"older: 51 soil movement points",
         [&](PreviousFile& f) {
             older_user_curves(f);
             f.options = "1 1 0 0 1";
             f.movements = "51";
         },
         153, k53_51, {}},
        {"older: 501 increments",
         [&](PreviousFile& f) {
             older_user_curves(f);
             f.pile = "501 2 0.0 50.0 0.0";
         },
         182,
         {"**** Input Data Error No. 82 ****", "",
          "Problem:  The number of pile increments in the pile data line is 501, more than the limit of 500."}, {}},

        // Codes outside their tables, and what these formats cannot describe.
        {"units code 4", [](PreviousFile& f) { f.options = "4 1 0 0 0"; }, 175,
         {"**** Input Data Error No. 75 ****", "",
          "Problem:  The units code (1 US customary, 2 SI, 3 general) is 4; it must be 1 to 3."}, {}},
        {"analysis mode 6", [](PreviousFile& f) { f.options = "1 6 0 0 0"; }, 175,
         {"Problem:  The analysis mode is 6; it must be 1 to 5."}, {}},
        {"loading type 6", [](PreviousFile& f) { f.loads = "0 1 0\n1\n6 10000.0 0.0 0.0\n0"; }, 175,
         {"Problem:  The loading type of load case 1 is 6; it must be 1 to 5."}, {}},
        {"soil model code 18", [](PreviousFile& f) { f.soil = "18 0.0 60.0 100.0 100.0\n0.0 60.0\n60.0 60.0"; }, 175,
         {"Problem:  The soil model code of soil layer 1 is 18; it must be 1 to 17."}, {}},
        {"section kind 12", [](PreviousFile& f) { f = EIOnly("1\n1\n0.0\n12"); }, 175,
         {"Problem:  The kind of section 1 is 12; it must be 1 to 11."}, {}},
        {"Piedmont soil", [](PreviousFile& f) { f.soil = "10 0.0 60.0 0.0 0.0\n0.0 60.0\n60.0 60.0"; }, 178,
         {"**** Input Data Error No. 78 ****", "",
          "Problem:  Soil layer 1 has soil model code 10, which needs the field-test values of the Piedmont "
          "residual soil criterion; this input format cannot hold them.",
          "Solution: Enter the soil profile in the current input format (TREVAS6)."}, {}},
        {"older: elastic subgrade has no modulus",
         [&](PreviousFile& f) {
             older_user_curves(f);
             f.counts = "1 2 0 0 0";
             f.soil = "13 0.0 60.0\n0.0 60.0\n60.0 60.0";
         },
         178,
         {"Problem:  Soil layer 1 has soil model code 13, which needs the subgrade modulus of the elastic "
          "subgrade; this input format cannot hold them."}, {}},
        {"drilled shaft with bars",
         [](PreviousFile& f) { f = EIOnly("1\n1\n0.0\n2\n4.0 60000.0 36000.0 29.0E6\n0.0 36.0 0.0 0.0 0.0\n1.0 8 0 3.0"); },
         176,
         {"**** Input Data Error No. 76 ****", "",
          "Problem:  Section 1 has reinforcing bars, whose layout this input format does not define unambiguously.",
          "Solution: Enter the pile sections in the current input format (TREVAS6), which states the reinforcement "
          "bar by bar."}, {}},
        {"prestressed pile", [](PreviousFile& f) { f = EIOnly("1\n1\n0.0\n6\n6.0 0.0 0.0 0.0\n0.0 18.0 0.0 0.0 0.0\n0.5 0 0 2.0"); },
         176,
         {"Problem:  Section 1 is a prestressed pile, whose strands this input format does not define "
          "unambiguously."}, {}},
        {"no sections", [](PreviousFile& f) { f = EIOnly("0\n1\n0.0"); }, 177,
         {"**** Input Data Error No. 77 ****", "",
          "Problem:  The number of pile sections is 0; at least one section is needed for the bending stiffness "
          "computations."}, {}},
        {"no axial thrusts", [](PreviousFile& f) { f = EIOnly("1\n0\n" + kPipeSection); }, 177,
         {"Problem:  The number of axial thrusts is 0; the sections are analysed at the axial thrusts given, so at "
          "least one is needed."}, {}},
        {"two sections on two property points",
         [](PreviousFile& f) {
             f.options = "1 3 0 0 0";
             f.sections = "2\n1\n0.0\n" + kPipeSection + "\n" + kPipeSection;
         },
         177,
         {"Problem:  The 2 pile sections cannot be placed along the pile: with more than one section the property "
          "points must be two per section (top, bottom), from the pile head down without gaps."}, {}},
        {"property points out of order",
         [](PreviousFile& f) { f.properties = "50.0 24.0 4000.0 100.0 29.0E6\n0.0 24.0 4000.0 100.0 29.0E6"; }, 177,
         {"Problem:  Pile property point 2 lies at depth 0.000, above the point before it."}, {}},
        {"81 soil layers", [](PreviousFile& f) { f.counts = "81 2 0 0 0"; }, 182,
         {"Problem:  The number of soil layers in the soil data is 81, more than the limit of 80."}, {}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        PreviousFile f;
        c.edit(f);
        const ReadOutcome out = ReadPrevious(f.Text());
        EXPECT_EQ(out.error, c.error) << out.report;
        if (c.error == 0) continue;
        EXPECT_TRUE(ContainsLines(out.ReportLines(), c.lines)) << out.report;
        const auto& in_messages = c.message_lines.empty() ? c.lines : c.message_lines;
        EXPECT_TRUE(ContainsLines(out.MessageLines(), in_messages)) << out.messages;
        EXPECT_EQ(out.report.find("Input Data Error No. 80"), std::string::npos) << out.report;
    }
}

// Error 59 lets reading go on to the next check, but never past the 40 rows
// the property table holds, and a property table cut short does not turn
// error 59 into another error.
TEST(PreviousFormatReader, TooManyPropertyPointsStopsWithoutOverrunningTheTable) {
    struct Case {
        const char* name;
        int given;  // property lines actually in the file
    };
    const Case kCases[] = {{"all 45 lines given", 45}, {"file ends after 3 lines", 3}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        std::string text = "TREVAS5\nt\n1 1 0 0 0\n100 45 0.0 50.0 0.0\n";
        for (int i = 0; i < c.given; ++i) text += std::to_string(i) + ".0 24.0 4000.0 100.0 29.0E6\n";
        if (c.given == 45) text += "1 2 0 0 0\n";
        const ReadOutcome out = ReadPrevious(text);
        EXPECT_EQ(out.error, 159);
        EXPECT_LE(out.problem.SectionPropertyTable.size(), 40u);
        EXPECT_TRUE(ContainsLines(out.ReportLines(),
                                  {"", "", "Trevasc ended prematurely due to input error number INP00059"}));
        EXPECT_EQ(out.report.find("Error No. 80"), std::string::npos) << out.report;
    }
}

struct ExpectedPart {
    double top, bottom;
    double uw_top, uw_bottom;
    double phi_top, phi_bottom;
    double k_top, k_bottom;
};

// The layers become parts at the breaks of the tables, with values
// interpolated in the tables (the part above a step of a table takes its
// first value, the part below its second) and k interpolated through the
// layer as given.
TEST(PreviousSoilProfile, DividesLayersAtTablePointsAndInterpolates) {
    struct Case {
        const char* name;
        std::string pile, counts, soil;
        std::vector<ExpectedPart> parts;
    };
    const std::vector<Case> kCases = {
        {"unit weight step at the water table inside a sand layer", "100 2 0.0 20.0 0.0", "1 4 2 0 0",
         "5 0.0 20.0 20.0 40.0\n0.0 110.0\n10.0 120.0\n10.0 60.0\n20.0 64.0\n0.0 0.0 30.0 0.0 0.0\n"
         "20.0 0.0 34.0 0.0 0.0",
         // phi at 10 ft: 30 + 4 x 10/20 = 32; k at 10 ft: 20 + 20 x 10/20 = 30.
         {{0.0, 10.0, 110.0, 120.0, 30.0, 32.0, 20.0, 30.0}, {10.0, 20.0, 60.0, 64.0, 32.0, 34.0, 30.0, 40.0}}},
        {"layers joined from the ground surface down", "100 2 2.0 30.0 0.0", "2 2 2 0 0",
         "5 0.0 10.0 20.0 20.0\n5 12.0 30.0 50.0 50.0\n2.0 102.0\n30.0 130.0\n0.0 0.0 30.0 0.0 0.0\n"
         "30.0 0.0 33.0 0.0 0.0",
         // The first layer starts at the ground surface (2 ft), the second at
         // the bottom of the first (10 ft): unit weight 100 + 30 x d/30.
         {{2.0, 10.0, 102.0, 110.0, 30.2, 31.0, 20.0, 20.0}, {10.0, 30.0, 110.0, 130.0, 31.0, 33.0, 50.0, 50.0}}},
        {"strength points split only the layers that use strength", "100 2 0.0 20.0 0.0", "2 2 4 0 0",
         "7 0.0 10.0 0.0 0.0\n5 10.0 20.0 0.0 0.0\n0.0 100.0\n20.0 120.0\n0.0 0.0 30.0 0.0 0.0\n"
         "5.0 0.0 31.0 0.0 0.0\n15.0 0.0 32.0 0.0 0.0\n25.0 0.0 33.0 0.0 0.0",
         // The liquefied sand above 10 ft is not divided at 5 ft; the sand is
         // divided at 15 ft.
         {{0.0, 10.0, 100.0, 110.0, 30.0, 31.5, 0.0, 0.0},
          {10.0, 15.0, 110.0, 115.0, 31.5, 32.0, 0.0, 0.0},
          {15.0, 20.0, 115.0, 120.0, 32.0, 32.5, 0.0, 0.0}}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        PreviousFile f;
        f.pile = c.pile;
        f.properties = "0.0 24.0 4000.0 100.0 29.0E6\n50.0 24.0 4000.0 100.0 29.0E6";
        f.counts = c.counts;
        f.soil = c.soil;
        const ReadOutcome out = ReadPrevious(f.Text());
        ASSERT_EQ(out.error, 0) << out.report;
        const auto& layers = out.problem.Layers;
        ASSERT_EQ(layers.size(), c.parts.size());
        for (std::size_t i = 0; i < layers.size(); ++i) {
            const model::SoilLayer& got = layers[i];
            const ExpectedPart& want = c.parts[i];
            EXPECT_DOUBLE_EQ(got.XLayerTop, want.top);
            EXPECT_DOUBLE_EQ(got.XLayerBottom, want.bottom);
            EXPECT_DOUBLE_EQ(got.Top.Depth, want.top);
            EXPECT_DOUBLE_EQ(got.Bottom.Depth, want.bottom);
            EXPECT_DOUBLE_EQ(got.Top.EffUnitWeight, want.uw_top);
            EXPECT_DOUBLE_EQ(got.Bottom.EffUnitWeight, want.uw_bottom);
            EXPECT_DOUBLE_EQ(got.Top.FrictionAngle, want.phi_top);
            EXPECT_DOUBLE_EQ(got.Bottom.FrictionAngle, want.phi_bottom);
            EXPECT_DOUBLE_EQ(got.Top.SubgradeK, want.k_top);
            EXPECT_DOUBLE_EQ(got.Bottom.SubgradeK, want.k_bottom);
        }
    }
}

// A user-curve layer between two given curves gets, at its ends, the
// interpolation of those curves in depth at every deflection of either.
TEST(PreviousSoilProfile, InterpolatesUserCurvesBetweenGivenDepths) {
    PreviousFile f;
    f.counts = "2 0 0 3 0";
    // Curves at 0 ft, (0,0) (1,100) (2,100), and at 40 ft and 60 ft,
    // (0,0) (0.5,300) (4,500).
    f.soil = "14 0.0 20.0 0.0 0.0\n14 20.0 60.0 0.0 0.0\n"
             "0.0 3\n0.0 0.0\n1.0 100.0\n2.0 100.0\n"
             "40.0 3\n0.0 0.0\n0.5 300.0\n4.0 500.0\n"
             "60.0 3\n0.0 0.0\n0.5 300.0\n4.0 500.0";
    const ReadOutcome out = ReadPrevious(f.Text());
    ASSERT_EQ(out.error, 0) << out.report;
    const auto& layers = out.problem.Layers;
    ASSERT_EQ(layers.size(), 3u);  // 0-20, 20-40 and 40-60: divided at the curve at 40 ft
    // At 20 ft, halfway: p = (p0(y) + p40(y)) / 2 at y = 0, 0.5, 1, 2, 4, with
    // p40(1) = 300 + 200 x 0.5/3.5 and p40(2) = 300 + 200 x 1.5/3.5; the first
    // curve holds 100 beyond y = 2.
    const std::vector<std::array<double, 2>> at20 = {{0.0, 0.0},
                                                     {0.5, (50.0 + 300.0) / 2.0},
                                                     {1.0, (100.0 + 300.0 + 200.0 * 0.5 / 3.5) / 2.0},
                                                     {2.0, (100.0 + 300.0 + 200.0 * 1.5 / 3.5) / 2.0},
                                                     {4.0, (100.0 + 500.0) / 2.0}};
    for (const model::UserPyCurve* curve : {&layers[0].UserCurveBottom, &layers[1].UserCurveTop}) {
        EXPECT_EQ(curve->Depth, 20.0);
        ASSERT_EQ(curve->Points.size(), at20.size());
        for (std::size_t i = 0; i < at20.size(); ++i) {
            EXPECT_DOUBLE_EQ(curve->Points[i][0], at20[i][0]);
            EXPECT_DOUBLE_EQ(curve->Points[i][1], at20[i][1]);
        }
    }
    EXPECT_EQ(layers[0].UserCurveTop.Points.size(), 3u);   // the curve given at 0 ft
    EXPECT_EQ(layers[2].UserCurveBottom.Points[1][1], 300.0);  // the curve given at 60 ft
    EXPECT_EQ(layers[2].UserCurveBottom.Depth, 60.0);
}

TEST(PreviousSoilProfile, RejectsProfilesTheTablesDoNotDescribe) {
    struct Case {
        const char* name;
        std::string counts, soil;
        std::int32_t error;
        std::string problem;
    };
    const Case kCases[] = {
        {"unit weights end above the pile tip", "1 2 2 0 0",
         "5 0.0 60.0 0.0 0.0\n0.0 110.0\n40.0 110.0\n0.0 0.0 30.0 0.0 0.0\n60.0 0.0 30.0 0.0 0.0", 178,
         "Problem:  The soil models of the layers need the effective unit weight from the ground surface at 0.000 ft "
         "down to 50.000 ft, but its points reach from 0.000 to 40.000 ft."},
        {"sand without strength points", "1 2 0 0 0", "5 0.0 60.0 0.0 0.0\n0.0 110.0\n60.0 110.0", 178,
         "Problem:  The soil models of the layers need the soil strength from the ground surface at 0.000 ft down "
         "to 50.000 ft, but no points are given."},
        {"layers listed bottom up", "2 2 0 0 0",
         "13 0.0 30.0 100.0 100.0\n13 0.0 20.0 100.0 100.0\n0.0 110.0\n60.0 110.0", 178,
         "Problem:  The bottom of soil layer 2 at 20.000 ft lies above the bottom of layer 1 at 30.000 ft; the "
         "layers follow each other from the ground down."},
        {"unit weights out of depth order", "1 2 0 0 0", "13 0.0 60.0 100.0 100.0\n60.0 110.0\n0.0 110.0", 178,
         "Problem:  Point 2 of the effective unit weight table lies at depth 0.000, above the point before it at "
         "60.000."},
        {"user curves stop above the pile tip", "1 0 0 2 0",
         "14 0.0 60.0 0.0 0.0\n0.0 2\n0.0 0.0\n1.0 100.0\n30.0 2\n0.0 0.0\n1.0 100.0", 179,
         "Problem:  Soil layer 1 uses user-input p-y curves from 30.000 to 50.000 ft, but the curves are given from "
         "0.000 to 30.000 ft."},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        PreviousFile f;
        f.counts = c.counts;
        f.soil = c.soil;
        const ReadOutcome out = ReadPrevious(f.Text());
        EXPECT_EQ(out.error, c.error);
        EXPECT_TRUE(ContainsLines(out.ReportLines(), {c.problem})) << out.report;
    }
}

// The unit-weight table holds no negative weight and starts at the ground
// surface: below it is error 19, above it error 20, each with its own text
// (not the coverage error 78, and not a run that goes on with the table cut
// at the ground).
TEST(PreviousSoilProfile, UnitWeightTableStartsAtTheGroundSurface) {
    struct Case {
        const char* name;
        std::string pile, soil;
        std::int32_t error;
        std::vector<std::string> lines;
    };
    const Case kCases[] = {
        {"negative unit weight", "100 2 0.0 50.0 0.0", "13 0.0 60.0 100.0 100.0\n0.0 -110.0\n60.0 110.0", 191,
         {"Problem:  Line 9 of the input file gives effective unit weight point 1 a negative effective unit weight "
          "of -110.000."}},
        {"starts below the ground surface", "100 2 0.0 50.0 0.0", "13 0.0 60.0 100.0 100.0\n5.0 110.0\n60.0 110.0",
         119,
         {"**** Input Data Error No. 19 ****", "", "The depth of the first point of the data for effective unit",
          "is located at       5.0000 below the top of the pile.", "The ground surface is located at       0.0000.",
          "The first point for the effective unit weight should be located",
          "at the same elevation as the ground surface."}},
        {"starts above the ground surface", "100 2 2.0 50.0 0.0", "13 2.0 60.0 100.0 100.0\n0.0 110.0\n60.0 110.0",
         120,
         {"**** Input Data Error No. 20 ****", "",
          "Problem:  The first depth of the soil profile is located at       0.0000",
          "          below the top of the pile.", "          The ground surface is elevation is       2.0000."}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        PreviousFile f;
        f.pile = c.pile;
        f.soil = c.soil;
        const ReadOutcome out = ReadPrevious(f.Text());
        EXPECT_EQ(out.error, c.error);
        EXPECT_TRUE(ContainsLines(out.ReportLines(), c.lines)) << out.report;
        EXPECT_TRUE(ContainsLines(out.MessageLines(), c.lines)) << out.messages;
    }
}

TEST(PreviousFormatSections, MapsSectionsThrustsAndPlacement) {
    // Mode 2: thrusts in pounds become kips, ascending, duplicates kept.
    {
        const ReadOutcome out = ReadPrevious(EIOnly("1\n4\n300000.0\n0.0\n100000.0\n0.0\n" + kPipeSection).Text());
        ASSERT_EQ(out.error, 0) << out.report;
        EXPECT_EQ(out.problem.AxialThrustList, (std::vector<double>{0.0, 0.0, 100.0, 300.0}));
        ASSERT_EQ(out.problem.Sections.size(), 1u);
        const model::PileSection& s = out.problem.Sections[0];
        EXPECT_EQ(s.SectionType, model::kSteelPipe);
        EXPECT_EQ(s.SectionWidth, 24.0);
        EXPECT_EQ(s.SteelThickness, 0.5);
        EXPECT_EQ(s.SteelYieldStress, 36000.0);
        EXPECT_EQ(s.SteelModulus, 29.0e6);
        EXPECT_TRUE(out.problem.SectionPropertyTable.empty());
    }
    // A cased shaft with a core and no bars: the core is of the casing's steel
    // and filled; SI thrusts stay in kN.
    {
        PreviousFile f = EIOnly("1\n1\n500.0\n4\n28000.0 420000.0 250000.0 2.0E8\n0.0 0.9 0.3 0.012 0.01\n0.0 0 0 0.0");
        f.options = "2 2 0 0 0";
        const ReadOutcome out = ReadPrevious(f.Text());
        ASSERT_EQ(out.error, 0) << out.report;
        EXPECT_EQ(out.problem.AxialThrustList, (std::vector<double>{500.0}));
        const model::PileSection& s = out.problem.Sections[0];
        EXPECT_EQ(s.SectionType, model::kDrilledShaftWithCasingAndCore);
        EXPECT_EQ(s.Concrete.ConcreteStrength, 28000.0);
        EXPECT_EQ(s.CoreDiameter, 0.3);
        EXPECT_EQ(s.CoreThickness, 0.01);
        EXPECT_EQ(s.CoreYieldStress, 250000.0);
        EXPECT_EQ(s.CoreModulus, 2.0e8);
        EXPECT_TRUE(s.b_FillCoreWithConcrete);
        EXPECT_EQ(s.Rebar.BarCount, 0);
    }
    // Mode 3, two sections on four property points: each section spans its
    // pair of points.
    {
        PreviousFile f;
        f.options = "1 3 0 0 0";
        f.pile = "100 4 0.0 50.0 0.0";
        f.properties = "0.0 24.0 4000.0 100.0 29.0E6\n20.0 24.0 4000.0 100.0 29.0E6\n"
                       "20.0 24.0 4000.0 100.0 29.0E6\n50.0 24.0 4000.0 100.0 29.0E6";
        f.sections = "2\n1\n0.0\n" + kPipeSection + "\n" + kPipeSection;
        const ReadOutcome out = ReadPrevious(f.Text());
        ASSERT_EQ(out.error, 0) << out.report;
        const auto& s = out.problem.Sections;
        ASSERT_EQ(s.size(), 2u);
        EXPECT_EQ(s[0].SectionTopDepth, 0.0);
        EXPECT_EQ(s[0].SectionBottomDepth, 20.0);
        EXPECT_EQ(s[1].SectionTopDepth, 20.0);
        EXPECT_EQ(s[1].SectionBottomDepth, 50.0);
        EXPECT_EQ(s[1].SectionLength, 30.0);
    }
}

// Files of modes 1 and 4 carry no sections: the pile is its property table.
TEST(PreviousFormatFixtures, ConstantEIFilesLoadWithoutSections) {
    const std::string dir = std::string(TREVASC_TEST_DATA_DIR) + "/previous/";
    for (const char* name : {"previous_mode1.trv", "previous_mode4.trv", "older_mode1.trv", "older_mode4.trv"}) {
        SCOPED_TRACE(name);
        const ReadOutcome out = ReadPrevious(ReadFile(dir + name));
        ASSERT_EQ(out.error, 0) << out.report;
        EXPECT_TRUE(out.problem.Sections.empty());
        EXPECT_EQ(out.problem.SectionPropertyTable.size(), 2u);
        EXPECT_DOUBLE_EQ(out.problem.PileTotalLength, 50.0);
        EXPECT_FALSE(out.problem.Layers.empty());
        EXPECT_FALSE(out.problem.PileHeadLoads.empty());
    }
}

}  // namespace
}  // namespace trevasc::testing
