#include "pile/pile_test_support.hpp"

#include <algorithm>
#include <cstdlib>

#include "pile/load_cases.hpp"
#include "run/error_stop.hpp"

namespace trevasc::testing {

model::SoilLayer& AddLayer(model::ProblemData& problem, int code, double top, double bottom,
                           model::SoilPointParams at_top, model::SoilPointParams at_bottom) {
    model::SoilLayer layer;
    layer.KSOIL = code;
    layer.XLayerTop = top;
    layer.XLayerBottom = bottom;
    layer.Top = at_top;
    layer.Bottom = at_bottom;
    layer.Top.Depth = top;
    layer.Bottom.Depth = bottom;
    problem.Layers.push_back(layer);
    problem.GroundSurfaceDepth = problem.Layers.front().XLayerTop;
    return problem.Layers.back();
}


model::ProblemData ElasticPileProblem(double L, double EI, double b, int increments, model::UnitSystem units) {
    model::ProblemData problem;
    model::AnalysisOptions& options = problem.Options;
    options.Units = units;
    options.AnalysisMode = 3;
    options.IterationLimit = 100;
    options.ConvergenceTolerance = units == model::UnitSystem::SI ? 1.0e-9 : 1.0e-7;
    options.MaxAllowableDeflection = 1000.0;
    options.NumberOfIncrements = increments;
    options.PrintIncrement = 1;

    model::PileSection section;
    section.SectionType = model::kElasticPile;
    section.SectionLength = L;
    section.SectionTopDepth = 0.0;
    section.SectionBottomDepth = L;
    section.SectionWidth = b;
    section.Elastic.ElasticShape = 2;
    const double E = 1.0;  // EI carried by the inertia alone
    section.Elastic.ElasticModulus = E;
    problem.Sections.push_back(section);
    problem.PileTotalLength = L;
    const double area = b * b;
    problem.SectionPropertyTable.push_back({0.0, b, EI / E, E, area, 0.0});
    problem.SectionPropertyTable.push_back({L, b, EI / E, E, area, 0.0});
    return problem;
}

model::SoilLayer& AddElasticSubgradeLayer(model::ProblemData& problem, double top, double bottom, double kes_top,
                                          double kes_bottom) {
    model::SoilLayer layer;
    layer.KSOIL = model::kElasticSubgrade;
    layer.XLayerTop = top;
    layer.XLayerBottom = bottom;
    layer.Top.Depth = top;
    layer.Bottom.Depth = bottom;
    layer.Top.ElasticSubgradeModulus = kes_top;
    layer.Bottom.ElasticSubgradeModulus = kes_bottom;
    problem.Layers.push_back(layer);
    problem.GroundSurfaceDepth = problem.Layers.front().XLayerTop;
    return problem.Layers.back();
}

model::SoilLayer& AddUserPyLayer(model::ProblemData& problem, double top, double bottom,
                                 std::vector<std::array<double, 2>> top_curve,
                                 std::vector<std::array<double, 2>> bottom_curve) {
    model::SoilLayer layer;
    layer.KSOIL = model::kUserPy;
    layer.XLayerTop = top;
    layer.XLayerBottom = bottom;
    layer.Top.Depth = top;
    layer.Bottom.Depth = bottom;
    layer.UserCurveTop.Depth = top;
    layer.UserCurveBottom.Depth = bottom;
    layer.UserCurveTop.Points = std::move(top_curve);
    layer.UserCurveBottom.Points = std::move(bottom_curve);
    problem.Layers.push_back(layer);
    problem.GroundSurfaceDepth = problem.Layers.front().XLayerTop;
    return problem.Layers.back();
}

void AddLoad(model::ProblemData& problem, int type, double condition1, double condition2, double axial) {
    model::PileHeadLoad load;
    load.LoadingType = type;
    load.Condition1 = condition1;
    load.Condition2 = condition2;
    load.AxialThrust = axial;
    problem.PileHeadLoads.push_back(load);
    problem.AxialThrustList = {problem.Options.Units == model::UnitSystem::USCS ? axial / 1000.0 : axial};
}

PileRun::PileRun(model::ProblemData problem) : ctx_(std::make_unique<run::RunContext>()) {
    run::RunContext& ctx = *ctx_;
    ctx.problem = std::move(problem);
    ctx.labels = model::MakeUnitLabels(ctx.problem.Options.Units);
    ctx.files.report.Open(dir_.path() / "report.txt");
    ctx.files.plot.Open(dir_.path() / "plot.txt");
    ctx.files.messages.Open(dir_.path() / "messages.txt");
}

int PileRun::Run() {
    try {
        pile::RunLoadCases(*ctx_);
    } catch (const run::RunStop& stop) {
        return stop.error_number;
    }
    return ctx_->ErrorNumber;
}

RunOutput PileRun::Outputs() {
    ctx_->files.report.Close();
    ctx_->files.plot.Close();
    ctx_->files.messages.Close();
    RunOutput output;
    output.code = ctx_->ErrorNumber;
    output.report = ReadFile(dir_.path() / "report.txt");
    output.plot = ReadFile(dir_.path() / "plot.txt");
    output.messages = ReadFile(dir_.path() / "messages.txt");
    return output;
}

std::vector<std::string> PlotRecords(const RunOutput& output, const std::string& label) {
    std::vector<std::string> records;
    for (const std::string& line : output.PlotLines()) {
        if (line.find(label) != std::string::npos) records.push_back(line);
    }
    return records;
}

std::vector<double> PlotFields(const std::string& record, int count) {
    std::vector<double> fields;
    for (int i = 0; i < count; ++i) {
        const std::string field = record.substr(static_cast<std::size_t>(15 * i), 15);
        fields.push_back(std::strtod(field.c_str(), nullptr));
    }
    return fields;
}

std::size_t FindLine(const std::vector<std::string>& lines, const std::string& line, std::size_t from) {
    const auto begin = lines.begin() + static_cast<std::ptrdiff_t>(std::min(from, lines.size()));
    return static_cast<std::size_t>(std::find(begin, lines.end(), line) - lines.begin());
}

std::string ElasticPileInput(const ElasticPileDeck& deck) {
    return std::string("TREVAS6\n"
                       "TITLE\n"
                       "Elastic pipe pile\n\n\n\n\n"
                       "OPTIONS\n"
                       "Units USCS\n") +
           (deck.lrfd ? "UseLRFD YES\n" : "UseLRFD NO\n") +
           (deck.kmatrix ? "ComputeKmatrix YES\n" : "ComputeKmatrix NO\n") +
           "UseTipShear NO\n"
           "UseSoilMovement NO\n"
           "UsePYModifiers NO\n"
           "ComputeEIOnly NO\n"
           "Loading STATIC     0\n"
           "MaxIterations " +
           std::to_string(deck.max_iterations) +
           "\n"
           "MaxDeflection 100.0\n"
           "Tolerance 1.0E-5\n"
           "Increments 100\n"
           "PrintSummaryOnly NO\n"
           "PrintIncrement 10\n"
           "PrintPYCurves NO\n"
           "ComputeInteraction NO\n"
           "SECTIONS\n"
           "1\n1\n11\n50.0\n2\n29000000.0\n18.0\n18.0\n40.0\n40.0\n1500.0\n1500.0\n"
           "SOIL LAYERS\n" +
           deck.soil + deck.loads + "END\n";
}

}  // namespace trevasc::testing
