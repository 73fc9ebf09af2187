// Readers of the two earlier input formats: the previous format, whose first
// line is the tag "TREVAS5", and the older format without a tag. Both are a
// fixed sequence of free-format lines without keywords:
//
//   title; units, analysis mode, (ignored), length-study indicator KYL,
//   soil-movement switch;
//   unless the run computes bending stiffness only (mode 2):
//     increments, property points PP, ground surface, pile length, slope;
//     PP lines of depth, width, moment of inertia, area, modulus;
//     counts of layers, unit-weight points, strength points, p-y curves and
//     p-y multiplier points; the layers; the tables; the curves;
//     distributed loads; load cases; tip shear; output options and depths;
//     iteration limit, tolerance, deflection limit; soil movements;
//   for modes 2, 3 and 5: section count, axial thrusts, sections.
//
// The pile is described by its table of property points (the analysis takes
// width and EI from it); sections, where given, only feed the
// moment-curvature analysis. The soil becomes the layer table of the current
// format (previous_soil.hpp). Values are kept in the file's units, as the
// current-format readers keep them; the unit conversion after the echo does
// the rest. The previous format checks its input as it reads (errors 7, 47,
// 53, 55 to 57, 59, 61, 64 to 71); the older format makes only errors 6, 7 and
// 26, plus the checks this engine adds to either format wherever reading on
// would overrun a table or analyse something other than what the file says.
#include "input/previous_format.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "input/block_checks.hpp"
#include "input/previous_soil.hpp"
#include "input/reader_support.hpp"
#include "model/pile_properties.hpp"
#include "model/units.hpp"
#include "report/fortran_format.hpp"
#include "run/error_stop.hpp"

namespace trevasc::input {

namespace fmt = report::fmt;
using run::WriteToBoth;
using run::Stop_With_Error;

namespace {

enum class Dialect { kPrevious, kOlder };

// Input Data Error 75: a code outside its table.
constexpr std::int32_t kPreviousCodeError = 175;
// Input Data Error 76: a section with reinforcing bars or prestressing
// strands, whose layout these formats do not define.
constexpr std::int32_t kPreviousReinforcementError = 176;
// Input Data Error 77: a pile description that cannot be analysed as given.
constexpr std::int32_t kPreviousPileError = 177;

constexpr int kMaxPropertyPoints = model::kMaxSectionRows;       // 40
constexpr int kMinIncrements = 40;
constexpr int kMaxIncrementsPrevious = 300;
constexpr int kMaxIncrementsOlder = model::kMaxNodes - 1;         // what the node arrays hold
constexpr int kMinIterations = 40;
constexpr int kMaxIterations = 1000;
constexpr double kMinToleranceInches = 1.0e-10;
constexpr double kMaxToleranceInches = 0.0010000000474974513;  // 0.001 in single precision
constexpr double kMinToleranceMetres = 2.5e-12;
constexpr double kMaxToleranceMetres = 2.5e-5;
// The deflection limit must be at least one tenth of the width of the first
// property point (divided, so that a limit of exactly a tenth passes).
constexpr double kWidthPerMinDeflectionLimit = 10.0;
constexpr int kMaxSoilMovementLines = 50;
constexpr int kMaxRebarRows = 100;
// The liquefied-sand criterion (Rollins et al. 2004) holds for pile widths of
// 0.3 to 2.44 m; the check allows down to 0.2999 m (single precision), or the
// same in inches.
constexpr double kMinLiquefiedSandWidthInches = 11.807086944580078;
constexpr double kMinLiquefiedSandWidthMetres = 0.29989999532699585;
// Section kinds of these formats: SectionType = kind - 1.
constexpr int kKindCasingWithCore = 4;
constexpr int kKindSteelPipe = 5;
constexpr int kLastKind = 11;
// Unit-weight and strength tables: a top and a bottom point per layer.
constexpr int kMaxSoilTablePoints = 2 * model::kMaxSoilLayers;

// One list-directed read statement (a new line, and as many more as its
// values need). A value that cannot be read, or a file that ends first, stops
// the run with Input Data Error 80 naming the line, as in the current format;
// these formats have no END keyword to point to.
class FixedLine {
public:
    FixedLine(run::RunContext& ctx, std::string what) : ctx_(ctx), what_(std::move(what)), read_(ctx.files.input) {}
    FixedLine& Int(std::int32_t& value) {
        if (!read_.Integer(value)) Fail();
        return *this;
    }
    FixedLine& Real(double& value) {
        if (!read_.PlausibleReal(value)) Fail();
        return *this;
    }

private:
    [[noreturn]] void Fail() {
        if (read_.failure() == ReadFailure::AbsurdMagnitude) StopOnAbsurdMagnitude(ctx_, read_, what_);
        StopOnLineNotTaken(ctx_, read_, what_);
        if (read_.failure() == ReadFailure::EndOfFile) {
            WriteToBoth(ctx_, {"", "**** Input Data Error No. 80 ****", "",
                               "The input file ended before the data for " + what_ + " was complete.",
                               "Complete the input file with the lines its format requires.", ""});
        } else {
            WriteToBoth(ctx_, {"", "**** Input Data Error No. 80 ****", "",
                               "Line " + fmt::I0(read_.failure_line()) + " of the input file could not be read as " +
                                   read_.expected() + " for " + what_ + ":",
                               "    " + TrimRight(read_.failure_text()),
                               "Correct the line so that it holds the values this line of the format requires.", ""});
        }
        Stop_With_Error(ctx_, kUnreadableInputError);
    }

    run::RunContext& ctx_;
    std::string what_;
    ListDirectedRead read_;
};

std::string ReadTitleLine(run::RunContext& ctx) {
    std::string record;
    if (!ctx.files.input.ReadRecord(record)) {
        StopOnReadError(ctx);
        WriteToBoth(ctx, {"", "**** Input Data Error No. 80 ****", "",
                          "The input file ended before the data for the title line was complete.",
                          "Complete the input file with the lines its format requires.", ""});
        Stop_With_Error(ctx, kUnreadableInputError);
    }
    return record;
}

// Input Data Error number - 100 of the previous formats, whose `lines` are the
// whole message, framed heading included: run message file, report, stop.
[[noreturn]] void StopOnPreviousInputError(run::RunContext& ctx, std::int32_t number,
                                           std::initializer_list<std::string_view> lines) {
    WriteToBoth(ctx, lines);
    Stop_With_Error(ctx, number);
}

std::string Number(std::int64_t value) { return fmt::I0(value); }

// ----------------------------------------------------------------------------
// Checks of the previous format, with the system's own messages.

void CheckIncrements(run::RunContext& ctx, std::int32_t increments) {
    if (increments < kMinIncrements) {
        StopOnPreviousInputError(
            ctx, 155,
            {"**** Input Data Error No. 55 ****", "", "Problem:  The number of pile increments is less than 40.", "",
             "Solution: Increase the number of pile increments to more than 40,",
             "          preferably 100 or more increments."});
    }
    if (increments > kMaxIncrementsPrevious) {
        StopOnPreviousInputError(
            ctx, 156,
            {"**** Input Data Error No. 56 ****", "", "Problem:  The number of pile increments is more than 300.", "",
             "Solution: Limit the number of pile increments to 300 or less."});
    }
}

void CheckPileLength(run::RunContext& ctx, double length) {
    if (length > 0.0) return;
    StopOnPreviousInputError(
        ctx, 157,
        {"**** Input Data Error No. 57 ****", "", "Problem:  The input value for pile length is zero.", "",
         "Solution: Review and correct the data for pile length."});
}

// Input Data Error 7: neither unit weights nor p-y curves, each dialect in its
// own wording.
[[noreturn]] void StopOnUnitWeightAndCurvesMissing(run::RunContext& ctx, Dialect dialect) {
    if (dialect == Dialect::kPrevious) {
        StopOnPreviousInputError(
            ctx, 107,
            {"**** Input Data Error No. 7 ****", "",
             "Problem:  Number of points defining effective unit weight vs. depth is",
             "          zero and number of input p-y curves is also zero.", "",
             "Solution: Please input data for soil layering vs. depth, effective unit",
             "          weight vs. depth, and shear strength vs. depth to use internally",
             "          generated p-y curves."});
    }
    StopOnPreviousInputError(
        ctx, 107,
        {"**** Input Data Error No. 7 ****", "", "Number of points defining effective unit weight vs. depth is zero ",
         "and number of input p-y curves is also zero.", "", "Solution:",
         "Please input data for soil layering vs. depth, effective unit",
         "weight vs. depth, and shear strength vs. depth to use internally", "generated p-y curves."});
}

// Input Data Error 6: p-y multipliers given together with user p-y curves.
[[noreturn]] void StopOnMultipliersWithUserCurves(run::RunContext& ctx) {
    StopOnPreviousInputError(
        ctx, 106,
        {"**** Input Data Error No. 6 ****", "",
         "p-y multipliers cannot be specified for use with user-specified p-y curves", "", "Solution:",
         "Consult the technical manual for how to compute p-y multipliers",
         "and adjust the user-specified p-y as needed."});
}

// The comparison rejects only a top strictly deeper than the bottom: a layer
// given with no thickness is harmless, since the profile is joined top down
// before the analysis. The message is kept as the system has always worded it.
void CheckLayerDepths(run::RunContext& ctx, int layer, const PreviousLayer& given) {
    if (!(given.XLayerTop > given.XLayerBottom)) return;
    StopOnPreviousInputError(
        ctx, 147,
        {"", "", "**** Input Data Error No. 47 ****", "",
         "Problem:  Depth of top of soil layer is greater than or equal to depth of ", "          bottom of soil layer.",
         "", "Solution: Correct the data for top and bottom depths of soil layer " + Number(layer), ""});
}

// The pile width limit of the liquefied-sand criterion, checked for layers of
// that model (code 7, the model the message names).
void CheckLiquefiedSandWidth(run::RunContext& ctx, const PreviousLayer& given) {
    const model::ProblemData& problem = ctx.problem;
    if (given.KSOIL != model::kLiquefiedSand || problem.Options.Units == model::UnitSystem::GENERAL) return;
    const double limit = problem.Options.Units == model::UnitSystem::USCS ? kMinLiquefiedSandWidthInches
                                                                          : kMinLiquefiedSandWidthMetres;
    const double top = model::Lookup_Pile_Properties(problem, given.XLayerTop).Width;
    const double bottom = model::Lookup_Pile_Properties(problem, given.XLayerBottom).Width;
    if (top >= limit && bottom >= limit) return;
    StopOnPreviousInputError(
        ctx, 171,
        {"**** Input Data Error No. 71 ****", "",
         "Problem:  A pile diameter of less than 0.3 meters (11.8 inches) was defined",
         "          for a soil layer defined using the liquefied sand criteria. The liquefied",
         "          sand criteria is valid only for pile diameters ranging from 0.3 to 2.44",
         "          meters (12 to 96 inches) in diameter.", "",
         "Solution: Increase the value of pile diameter over the depth range of the",
         "          liquefied sand layer.", ""});
}

void CheckFirstLayerBottom(run::RunContext& ctx, const std::vector<PreviousLayer>& layers) {
    if (!layers.empty() && layers.front().XLayerBottom > 0.0) return;
    StopOnPreviousInputError(
        ctx, 161,
        {"**** Input Data Error No. 61 ****", "",
         "Problem:  The depth of the bottom of the top soil layer is less than ",
         "          or equal to zero. This will cause the layering correction to ",
         "          p-y curves to generate incorrect p-y curves below the top layer.", "",
         "Solution: The top soil layer must extend from the ground surface to below ",
         "          the pile head.",
         "          The upper soil layer must be defined so that the vertical effective stress",
         "          at the pile head correctly generated with the correct vertical thickness.",
         "          One way to correct the input",
         "          data is to combine the upper soil layers into a single layer with one effective",
         "          unit weight that results in the correct effective stress at the pile head and ",
         "          to extend the soil layer to just below the top of the pile."});
}

void CheckSolutionControl(run::RunContext& ctx) {
    const model::ProblemData& problem = ctx.problem;
    const model::AnalysisOptions& options = problem.Options;
    if (options.IterationLimit < kMinIterations || options.IterationLimit > kMaxIterations) {
        StopOnPreviousInputError(
            ctx, 164,
            {"**** Input Data Error No. 64 ****", "", "Input value for iteration limit is outside the range of 40 to 1000.",
             "The number of iterations must be between 40 and 1000.", ""});
    }
    const double tolerance = options.ConvergenceTolerance;
    if (options.Units == model::UnitSystem::USCS) {
        if (tolerance < kMinToleranceInches) {
            StopOnPreviousInputError(
                ctx, 165,
                {"**** Input Data Error No. 65 ****", "",
                 "Input value of convergence tolerance is too small (less than 1E-10 inches).",
                 "The recommended value for convergence tolerance is 0.00001 inches.", ""});
        }
        if (tolerance > kMaxToleranceInches) {
            StopOnPreviousInputError(
                ctx, 166,
                {"**** Input Data Error No. 66 ****", "",
                 "Input value of convergence tolerance is too large (more than 0.001 inches). ",
                 "The recommended value for convergence tolerance is 0.00001 inches.", ""});
        }
    } else if (options.Units == model::UnitSystem::SI) {
        if (tolerance < kMinToleranceMetres) {
            StopOnPreviousInputError(
                ctx, 167,
                {"**** Input Data Error No. 67 ****", "",
                 "Input value of convergence tolerance is too small (less than 2.5E-12 meters). ",
                 "The recommended value for convergence tolerance is 2.54E-7 meters.", ""});
        }
        if (tolerance > kMaxToleranceMetres) {
            StopOnPreviousInputError(
                ctx, 168,
                {"**** Input Data Error No. 68 ****", "",
                 "Input value of convergence tolerance too large (more than 2.54E-5 meters). ",
                 "The recommended value for convergence tolerance is 2.54E-7 meters.", ""});
        }
    }
    const double first_width = problem.SectionPropertyTable.empty() ? 0.0 : problem.SectionPropertyTable.front().Width;
    if (options.MaxAllowableDeflection < first_width / kWidthPerMinDeflectionLimit) {
        StopOnPreviousInputError(
            ctx, 169,
            {"**** Input Data Error No. 69 ****", "",
             "Input value of excessive deflection limit is less than 10 percent of the pile diameter.",
             "The recommended value for convergence tolerance is 10 times the pile diameter.", ""});
    }
}

// Input Data Error 53: more soil movement lines than the table holds.
[[noreturn]] void StopOnSoilMovementCount(run::RunContext& ctx, std::int32_t count) {
    StopOnPreviousInputError(
        ctx, 153,
        {"**** Input Data Error No. 53 ****", "", "Number of lines of soil movement data = " + Number(count),
         "The number of lines of soil movement data cannot exceed 50", ""});
}

void CheckCoreDiameter(run::RunContext& ctx, int section, const model::PileSection& s) {
    if (s.CoreDiameter > 0.0) return;
    StopOnPreviousInputError(
        ctx, 170,
        {"**** Input Data Error No. 70 ****", "",
         "Problem:  Diameter of inner core = " + fmt::F(s.CoreDiameter, 8, 4) + " for Section " + fmt::I(section, 1),
         "Solution: The diameter of the inner core cannot be less than or equal to zero.",
         "          Either change the section type or enter a value for the inner core diameter."});
}

void CheckRebarRows(run::RunContext& ctx, Dialect dialect, std::int32_t rows) {
    if (rows <= kMaxRebarRows) return;
    if (dialect == Dialect::kOlder) {
        StopOnPreviousInputError(
            ctx, 126,
            {"**** Input Data Error No. 26 ****", "", "Number of rebar rows in input = " + Number(rows),
             "The number of rebar rows cannot exceed 100", ""});
    }
    // The run message file has always worded the count a little differently.
    const std::string tail[] = {"", "Solution: The number of rebar bars cannot exceed 100 bars.",
                                "Reconfigure the bar layout using a smaller number of larger bars with ",
                                "an equal area of steel and clear cover. The bending stiffness ",
                                "is insensitive to the number of bars if more than 12 bars for an equal amount of steel."};
    for (report::OutputChannel* out : {&ctx.files.messages, &ctx.files.report}) {
        out->Line("**** Input Data Error No. 26 ****");
        out->Blank();
        out->Line(out == &ctx.files.messages
                      ? "Problem:  Number of rebar bars input is more than 100, = " + Number(rows) + ")"
                      : "Problem:  Number of rebar bars input is more than 100 (= " + Number(rows) + ")");
        for (const std::string& line : tail) out->Line(line);
    }
    Stop_With_Error(ctx, 126);
}

// ----------------------------------------------------------------------------
// Checks of this engine's own (errors 75 to 77; capacities are error 82).

void CheckCode(run::RunContext& ctx, std::int32_t code, std::int32_t low, std::int32_t high, const std::string& what) {
    if (code >= low && code <= high) return;
    StopOnInputError(ctx, kPreviousCodeError,
                       "Problem:  The " + what + " is " + Number(code) + "; it must be " + Number(low) + " to " +
                           Number(high) + ".",
                       "Solution: Correct the " + what + " in the input file.");
}

// Models whose parameters a layer line and the two tables of these formats
// cannot give: the field-test values of the Piedmont and loess criteria and
// the J of soft clay; and, in the older format, which has neither k nor RQD,
// the models that need them.
void CheckModelExpressible(run::RunContext& ctx, Dialect dialect, int layer, std::int32_t code) {
    std::string missing;
    switch (code) {
        case model::kPiedmont: missing = "the field-test values of the Piedmont residual soil criterion"; break;
        case model::kLoess: missing = "the cone tip resistance of the loess criterion"; break;
        case model::kSoftClayJ: missing = "the J factor of soft clay with user-defined J"; break;
        default: break;
    }
    if (dialect == Dialect::kOlder) {
        switch (code) {
            case model::kWeakRock: missing = "the RQD of the weak rock criterion"; break;
            case model::kElasticSubgrade: missing = "the subgrade modulus of the elastic subgrade"; break;
            case model::kMassiveRock: missing = "the rock mass modulus of the massive rock criterion"; break;
            default: break;
        }
    }
    if (missing.empty()) return;
    StopOnInputError(ctx, kPreviousSoilProfileError,
                       "Problem:  Soil layer " + Number(layer) + " has soil model code " + Number(code) +
                           ", which needs " + missing + "; this input format cannot hold them.",
                       "Solution: Enter the soil profile in the current input format (TREVAS6).");
}

// The pile head is at depth 0 and the property points run down the pile.
void CheckPropertyPointOrder(run::RunContext& ctx) {
    const auto& rows = ctx.problem.SectionPropertyTable;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        if (rows[i].Depth < rows[i - 1].Depth) {
            StopOnInputError(ctx, kPreviousPileError,
                               "Problem:  Pile property point " + Number(static_cast<std::int64_t>(i + 1)) +
                                   " lies at depth " + fmt::F(rows[i].Depth, 0, 3) + ", above the point before it.",
                               "Solution: List the pile property points from the pile head down.");
        }
    }
}

// ----------------------------------------------------------------------------
// Reading.

struct Reader {
    run::RunContext& ctx;
    Dialect dialect;
    PreviousSoilInput soil;

    model::ProblemData& problem() { return ctx.problem; }
    model::AnalysisOptions& options() { return ctx.problem.Options; }
    bool Previous() const { return dialect == Dialect::kPrevious; }

    void ReadTitleAndOptions();
    void ReadPile();
    void ReadPropertyPoints(std::int32_t points);
    void ReadSoil();
    void ReadLoads();
    void ReadOutputAndSolutionControl();
    void ReadSoilMovements();
    void ReadSectionsAndThrusts();
    void ReadSection(int j);
    void PlaceSections();
};

void Reader::ReadTitleAndOptions() {
    model::ProblemData& p = problem();
    // The title is the whole line, as the TITLE block of the current format
    // takes it; the other four title lines are blank.
    p.TitleLines[0] = fmt::PadRight(ReadTitleLine(ctx), static_cast<int>(kRecordLength));
    for (std::size_t i = 1; i < p.TitleLines.size(); ++i) p.TitleLines[i] = std::string(kRecordLength, ' ');

    std::int32_t units = 0, mode = 0, ignored = 0, kyl = 0, movement = 0;
    FixedLine(ctx, "the units, analysis mode, length-study and soil-movement switches")
        .Int(units)
        .Int(mode)
        .Int(ignored)
        .Int(kyl)
        .Int(movement);
    CheckCode(ctx, units, 1, 3, "units code (1 US customary, 2 SI, 3 general)");
    CheckCode(ctx, mode, 1, 5, "analysis mode");
    model::AnalysisOptions& o = options();
    o.Units = static_cast<model::UnitSystem>(units);
    o.AnalysisMode = mode;
    o.UseSoilMovement = movement > 0;
    o.UseLrfd = false;
    o.ComputeKmatrix = false;
    o.ComputeInteraction = false;
    p.KYL = kyl;
}

void Reader::ReadPropertyPoints(std::int32_t points) {
    auto& rows = problem().SectionPropertyTable;
    rows.clear();
    if (points > kMaxPropertyPoints) {
        WriteToBoth(ctx, {"**** Input Data Error No. 59 ****", "",
                          "Problem:  The number of pile diameter values is more than 40.", "",
                          "Solution: Limit the number of input values to 40 or less."});
        try {
            Stop_With_Error(ctx, 159);
        } catch (const run::RunStop&) {
            // Reading goes on to the next check, which ends the run.
        }
        // The property lines and the count line that follows are still read,
        // as far as they can be; only the first 40 points are kept, the table's
        // capacity.
        bool readable = true;
        for (std::int32_t i = 1; i <= points && readable; ++i) {
            ListDirectedRead read(ctx.files.input);
            model::SectionPropertyRow row;
            readable = read.Real(row.Depth) && read.Real(row.Width) && read.Real(row.Inertia) &&
                       read.Real(row.Area) && read.Real(row.Modulus);
            if (readable && i <= kMaxPropertyPoints) rows.push_back(row);
        }
        if (readable) {
            ListDirectedRead read(ctx.files.input);
            std::array<std::int32_t, 5> counts{};  // layers, unit weights, strengths, curves, multipliers
            for (std::int32_t& count : counts) {
                if (!read.Integer(count)) break;
            }
        }
        throw run::RunStop{ctx.ErrorNumber};
    }
    for (std::int32_t i = 1; i <= points; ++i) {
        model::SectionPropertyRow row;
        FixedLine(ctx, "pile property point " + Number(i))
            .Real(row.Depth)
            .Real(row.Width)
            .Real(row.Inertia)
            .Real(row.Area)
            .Real(row.Modulus);
        rows.push_back(row);
    }
    CheckPropertyPointOrder(ctx);
}

void Reader::ReadPile() {
    model::ProblemData& p = problem();
    model::AnalysisOptions& o = options();
    std::int32_t points = 0;
    double slope_degrees = 0.0;
    FixedLine(ctx, "the pile increments, property points, ground surface, pile length and slope")
        .Int(o.NumberOfIncrements)
        .Int(points)
        .Real(p.GroundSurfaceDepth)
        .Real(p.PileTotalLength)
        .Real(slope_degrees);
    p.GroundSlopeAngle = slope_degrees * kPi / kDegreesPerHalfTurn;
    p.PileBatterAngle = 0.0;
    p.SlopeMinusBatter = p.GroundSlopeAngle;
    if (Previous()) {
        CheckIncrements(ctx, o.NumberOfIncrements);
        CheckPileLength(ctx, p.PileTotalLength);
    } else {
        CheckCapacity(ctx, o.NumberOfIncrements, kMaxIncrementsOlder, "the pile data line", "pile increments");
    }
    ReadPropertyPoints(points);
    ReadSoil();
    ReadLoads();
    ReadOutputAndSolutionControl();
    ReadSoilMovements();
    soil.GroundSurfaceDepth = p.GroundSurfaceDepth;
    soil.PileTotalLength = p.PileTotalLength;
    BuildPreviousSoilProfile(ctx, soil);
}

void Reader::ReadSoil() {
    model::ProblemData& p = problem();
    std::int32_t layers = 0, weights = 0, strengths = 0, curves = 0, multipliers = 0;
    FixedLine(ctx, "the soil table counts")
        .Int(layers)
        .Int(weights)
        .Int(strengths)
        .Int(curves)
        .Int(multipliers);
    if (Previous()) {
        if (weights == 0 && curves == 0) StopOnUnitWeightAndCurvesMissing(ctx, dialect);
    } else if (weights == 0) {
        if (multipliers != 0) StopOnMultipliersWithUserCurves(ctx);
        if (curves == 0) StopOnUnitWeightAndCurvesMissing(ctx, dialect);
    }

    CheckCapacity(ctx, layers, model::kMaxSoilLayers, "the soil data", "soil layers");
    for (std::int32_t i = 1; i <= layers; ++i) {
        PreviousLayer layer;
        FixedLine read(ctx, "soil layer " + Number(i));
        read.Int(layer.KSOIL).Real(layer.XLayerTop).Real(layer.XLayerBottom);
        if (Previous()) {
            read.Real(layer.SubgradeKTop).Real(layer.SubgradeKBottom);
            if (layer.SubgradeKBottom <= 0.0) layer.SubgradeKBottom = layer.SubgradeKTop;
            CheckLayerDepths(ctx, i, layer);
            CheckLiquefiedSandWidth(ctx, layer);
        }
        CheckCode(ctx, layer.KSOIL, model::kSoftClay, model::kFrozenSoil, "soil model code of soil layer " + Number(i));
        CheckModelExpressible(ctx, dialect, i, layer.KSOIL);
        soil.layers.push_back(layer);
    }
    if (Previous()) CheckFirstLayerBottom(ctx, soil.layers);

    CheckCapacity(ctx, weights, kMaxSoilTablePoints, "the soil data", "effective unit weight points");
    for (std::int32_t i = 1; i <= weights; ++i) {
        std::array<double, 2> point{};
        FixedLine(ctx, "effective unit weight point " + Number(i)).Real(point[0]).Real(point[1]);
        // A negative unit weight (a sign typed by mistake) gives negative
        // overburden and springs that pull: no soil has one.
        if (point[1] < 0.0) {
            StopOnInputError(ctx, kImpossibleValueError,
                               "Problem:  Line " + fmt::I0(ctx.files.input.LineNumber()) +
                                   " of the input file gives effective unit weight point " + Number(i) +
                                   " a negative effective unit weight of " + ValueText(point[1]) + ".",
                               "Solution: Enter the effective unit weight as a positive value (buoyant below the "
                               "water table).");
        }
        soil.unit_weights.push_back(point);
    }
    CheckCapacity(ctx, strengths, kMaxSoilTablePoints, "the soil data", "soil strength points");
    for (std::int32_t i = 1; i <= strengths; ++i) {
        PreviousStrengthPoint point;
        FixedLine read(ctx, "soil strength point " + Number(i));
        read.Real(point.Depth).Real(point.Cohesion).Real(point.FrictionAngle).Real(point.Epsilon50);
        if (Previous()) read.Real(point.RQD);
        soil.strengths.push_back(point);
    }
    CheckCapacity(ctx, multipliers, model::kMaxPyModifierPoints, "the soil data", "p-y multiplier points");
    p.PyModifierProfile.clear();
    for (std::int32_t i = 1; i <= multipliers; ++i) {
        model::PyModifierPoint point;
        FixedLine(ctx, "p-y multiplier point " + Number(i))
            .Real(point.Depth)
            .Real(point.PMultiplier)
            .Real(point.YMultiplier);
        p.PyModifierProfile.push_back(point);
    }
    p.PyModifierCount = std::max(multipliers, 0);
    options().UsePyModifiers = multipliers > 0;

    CheckCapacity(ctx, curves, model::kMaxUserPyCurves, "the soil data", "user-input p-y curves");
    for (std::int32_t c = 1; c <= curves; ++c) {
        model::UserPyCurve curve;
        std::int32_t count = 0;
        const std::string what = "user-input p-y curve " + Number(c);
        FixedLine(ctx, what).Real(curve.Depth).Int(count);
        CheckCapacity(ctx, count, model::kMaxUserPyPoints, "user-input p-y curve " + Number(c), "points");
        for (std::int32_t k = 1; k <= count; ++k) {
            std::array<double, 2> point{};
            FixedLine(ctx, "point " + Number(k) + " of " + what).Real(point[0]).Real(point[1]);
            curve.Points.push_back(point);
        }
        soil.curves.push_back(std::move(curve));
    }
}

void Reader::ReadLoads() {
    model::ProblemData& p = problem();
    model::AnalysisOptions& o = options();
    std::int32_t points = 0, loading = 0;
    FixedLine(ctx, "the distributed load count, loading type and number of cycles")
        .Int(points)
        .Int(loading)
        .Real(o.NumberOfCycles);
    o.CyclicLoading = loading == 0;
    CheckCapacity(ctx, points, model::kMaxDistributedLoadPoints, "the loading data", "distributed load points");
    p.DistributedLoad.clear();  // fewer than one point: no distributed load
    for (std::int32_t k = 1; k <= points; ++k) {
        std::array<double, 2> point{};
        FixedLine(ctx, "distributed load point " + Number(k)).Real(point[0]).Real(point[1]);
        p.DistributedLoad.push_back(point);
    }

    std::int32_t cases = 0;
    FixedLine(ctx, "the number of load cases").Int(cases);
    CheckCapacity(ctx, cases, model::kMaxPileHeadLoads, "the loading data", "load cases");
    p.PileHeadLoads.clear();
    for (std::int32_t j = 1; j <= cases; ++j) {
        model::PileHeadLoad load;
        FixedLine(ctx, "load case " + Number(j))
            .Int(load.LoadingType)
            .Real(load.Condition1)
            .Real(load.Condition2)
            .Real(load.AxialThrust);
        CheckCode(ctx, load.LoadingType, model::kShearAndMoment, model::kDeflectionAndSlope,
                  "loading type of load case " + Number(j));
        // The length study applies to every case of a file that asks for it.
        load.ComputeTopDeflVsLength = p.KYL != 0;
        p.PileHeadLoads.push_back(load);
    }

    std::int32_t tip = 0;
    FixedLine(ctx, "the number of tip shear points").Int(tip);
    CheckCapacity(ctx, tip, model::kMaxTipShearPoints, "the tip shear data", "tip shear points");
    p.TipShearCurve.clear();
    for (std::int32_t k = 1; k <= tip; ++k) {
        std::array<double, 2> point{};
        FixedLine(ctx, "tip shear point " + Number(k)).Real(point[0]).Real(point[1]);
        p.TipShearCurve.push_back(point);
    }
    o.UseTipShear = !p.TipShearCurve.empty();
}

void Reader::ReadOutputAndSolutionControl() {
    model::ProblemData& p = problem();
    model::AnalysisOptions& o = options();
    std::int32_t summary = 0, py_output = 0;
    FixedLine(ctx, "the print increment and output switches").Int(o.PrintIncrement).Int(summary).Int(py_output);
    o.PrintSummaryOnly = summary == 0;
    o.PrintPyCurves = py_output > 0;
    p.PyOutputDepths.clear();
    if (o.PrintPyCurves) {
        std::int32_t depths = 0;
        FixedLine(ctx, "the number of p-y output depths").Int(depths);
        CheckCapacity(ctx, depths, model::kMaxPyOutputDepths, "the output data", "p-y output depths");
        for (std::int32_t k = 1; k <= depths; ++k) {
            double depth = 0.0;
            FixedLine(ctx, "p-y output depth " + Number(k)).Real(depth);
            p.PyOutputDepths.push_back(depth);
        }
    }

    FixedLine(ctx, "the iteration limit, convergence tolerance and deflection limit")
        .Int(o.IterationLimit)
        .Real(o.ConvergenceTolerance)
        .Real(o.MaxAllowableDeflection);
    if (Previous()) CheckSolutionControl(ctx);
}

void Reader::ReadSoilMovements() {
    model::ProblemData& p = problem();
    p.SoilMovementProfile.clear();
    if (!options().UseSoilMovement) return;
    std::int32_t count = 0;
    // Depths and movements are kept as entered (movements are not converted
    // from millimetres in these formats).
    if (Previous()) {
        FixedLine(ctx, "the number of soil movement points").Int(count);
        if (count < model::kMinSoilMovementPoints || count > kMaxSoilMovementLines) StopOnSoilMovementCount(ctx, count);
        for (std::int32_t k = 1; k <= count; ++k) {
            std::array<double, 2> point{};
            FixedLine(ctx, "soil movement point " + Number(k)).Real(point[0]).Real(point[1]);
            p.SoilMovementProfile.push_back(point);
        }
        return;
    }
    // One read statement: the count, then the pairs. The table holds 50.
    FixedLine read(ctx, "the soil movement data");
    read.Int(count);
    if (count > kMaxSoilMovementLines) StopOnSoilMovementCount(ctx, count);
    for (std::int32_t k = 1; k <= count; ++k) {
        std::array<double, 2> point{};
        read.Real(point[0]).Real(point[1]);
        p.SoilMovementProfile.push_back(point);
    }
}

void Reader::ReadSectionsAndThrusts() {
    model::ProblemData& p = problem();
    std::int32_t sections = 0;
    FixedLine(ctx, "the number of pile sections").Int(sections);
    if (sections < 1) {
        StopOnInputError(ctx, kPreviousPileError,
                           "Problem:  The number of pile sections is " + Number(sections) +
                               "; at least one section is needed for the bending stiffness computations.",
                           "Solution: Give the number of sections and their data.");
    }
    CheckCapacity(ctx, sections, model::kMaxSections, "the section data", "pile sections");

    std::int32_t thrusts = 0;
    FixedLine(ctx, "the number of axial thrusts").Int(thrusts);
    if (thrusts < 1) {
        StopOnInputError(ctx, kPreviousPileError,
                           "Problem:  The number of axial thrusts is " + Number(thrusts) +
                               "; the sections are analysed at the axial thrusts given, so at least one is needed.",
                           "Solution: Give the axial thrusts at which bending stiffness is to be computed.");
    }
    CheckCapacity(ctx, thrusts, model::kMaxAxialThrusts, "the section data", "axial thrusts");
    p.AxialThrustList.clear();
    for (std::int32_t k = 1; k <= thrusts; ++k) {
        double thrust = 0.0;
        FixedLine(ctx, "axial thrust " + Number(k)).Real(thrust);
        // Section analysis works in kips for US customary runs.
        if (options().Units == model::UnitSystem::USCS) thrust /= kPoundsPerKip;
        p.AxialThrustList.push_back(thrust);
    }
    // Ascending; equal values are kept.
    std::sort(p.AxialThrustList.begin(), p.AxialThrustList.end());

    p.Sections.clear();
    for (int j = 1; j <= sections; ++j) ReadSection(j);
    PlaceSections();
}

void Reader::ReadSection(int j) {
    std::int32_t kind = 0;
    FixedLine(ctx, "the kind of section " + Number(j)).Int(kind);
    CheckCode(ctx, kind, 1, kLastKind, "kind of section " + Number(j));
    model::PileSection s;
    s.SectionType = kind - 1;
    double concrete = 0.0, rebar_yield = 0.0, rect_width = 0.0, width = 0.0;
    FixedLine(ctx, "the material strengths of section " + Number(j))
        .Real(concrete)
        .Real(rebar_yield)
        .Real(s.SteelYieldStress)
        .Real(s.SteelModulus);
    FixedLine(ctx, "the dimensions of section " + Number(j))
        .Real(rect_width)
        .Real(width)
        .Real(s.CoreDiameter)
        .Real(s.SteelThickness)
        .Real(s.CoreThickness);
    if (kind == kKindCasingWithCore) CheckCoreDiameter(ctx, j, s);

    if (kind != kKindSteelPipe) {
        double bar_diameter = 0.0, fourth = 0.0;
        std::int32_t bars = 0, rows = 0;
        FixedLine(ctx, "the reinforcement of section " + Number(j)).Real(bar_diameter).Int(bars).Int(rows).Real(fourth);
        CheckRebarRows(ctx, dialect, rows);
        // Which value of the bar line, row table and prestress line is which
        // has no definition these formats can be read by without guessing;
        // such sections are refused rather than analysed with a guessed layout.
        if (bars > 0 || rows > 0 || kind > kKindSteelPipe) {
            const std::string what = kind > kKindSteelPipe ? "is a prestressed pile, whose strands"
                                                            : "has reinforcing bars, whose layout";
            StopOnInputError(ctx, kPreviousReinforcementError,
                               "Problem:  Section " + Number(j) + " " + what +
                                   " this input format does not define unambiguously.",
                               "Solution: Enter the pile sections in the current input format (TREVAS6), which "
                               "states the reinforcement bar by bar.");
        }
    }

    s.SectionWidth = width;
    if (s.SectionType == model::kRectangularConcrete) {
        s.RectDepth = width;
        s.RectWidth = rect_width;
    }
    if (s.SectionType <= model::kDrilledShaftWithCasingAndCore) {
        s.Concrete.ConcreteStrength = concrete;
        s.Concrete.UseDefaultTensileStrength = true;
        s.Rebar.BarCount = 0;
        s.Rebar.RebarYieldStress = rebar_yield;
    }
    if (s.SectionType == model::kDrilledShaftWithCasingAndCore) {
        // The core is of the casing's steel and filled with concrete.
        s.CoreYieldStress = s.SteelYieldStress;
        s.CoreModulus = s.SteelModulus;
        s.b_FillCoreWithConcrete = true;
    }
    if (s.SectionType != model::kDrilledShaftWithCasing && s.SectionType != model::kDrilledShaftWithCasingAndCore &&
        s.SectionType != model::kSteelPipe) {
        s.SteelThickness = 0.0;
    }
    problem().Sections.push_back(std::move(s));
}

// Sections carry no lengths in these formats. One section is the whole pile;
// several follow the property table, two points per section (top, bottom) as
// in the current format, from the pile head down without gaps.
void Reader::PlaceSections() {
    model::ProblemData& p = problem();
    auto& sections = p.Sections;
    if (options().AnalysisMode == 2) return;  // no pile: the sections are analysed alone
    const auto& rows = p.SectionPropertyTable;
    if (sections.size() == 1) {
        sections.front().SectionTopDepth = 0.0;
        sections.front().SectionBottomDepth = p.PileTotalLength;
        sections.front().SectionLength = p.PileTotalLength;
        return;
    }
    bool paired = rows.size() == 2 * sections.size() && rows.front().Depth == 0.0 &&
                  rows.back().Depth >= p.PileTotalLength;
    for (std::size_t j = 1; paired && j < sections.size(); ++j) paired = rows[2 * j].Depth == rows[2 * j - 1].Depth;
    if (!paired) {
        StopOnInputError(ctx, kPreviousPileError,
                           "Problem:  The " + Number(static_cast<std::int64_t>(sections.size())) +
                               " pile sections cannot be placed along the pile: with more than one section the " +
                               "property points must be two per section (top, bottom), from the pile head down " +
                               "without gaps.",
                           "Solution: Give two property points per section, or enter the pile in the current "
                           "input format (TREVAS6).");
    }
    for (std::size_t j = 0; j < sections.size(); ++j) {
        sections[j].SectionTopDepth = rows[2 * j].Depth;
        sections[j].SectionBottomDepth = rows[2 * j + 1].Depth;
        sections[j].SectionLength = sections[j].SectionBottomDepth - sections[j].SectionTopDepth;
    }
}

void ReadFixedSequence(run::RunContext& ctx, Dialect dialect) {
    Reader reader{ctx, dialect, {}};
    reader.ReadTitleAndOptions();
    const int mode = ctx.problem.Options.AnalysisMode;
    if (mode != 2) reader.ReadPile();
    if (mode == 1 || mode == 4) return;
    reader.ReadSectionsAndThrusts();
}

}  // namespace

void ReadPreviousFormat(run::RunContext& ctx) { ReadFixedSequence(ctx, Dialect::kPrevious); }

void ReadOldestFormat(run::RunContext& ctx) { ReadFixedSequence(ctx, Dialect::kOlder); }

}  // namespace trevasc::input
