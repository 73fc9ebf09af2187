// Problems for the pile and soil tests built directly in ProblemData, in the
// computation units (inches and pounds, or metres and kilonewtons), and a
// context whose report, plot and message files land in a temporary
// directory.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "run/run_context.hpp"
#include "support/run_fixture.hpp"

namespace trevasc::testing {

// A straight elastic pile (section type 11) of length L, bending stiffness
// EI and width b, in `increments` increments, in one unit system, with
// options that iterate to a tight tolerance and report every node.
model::ProblemData ElasticPileProblem(double L, double EI, double b, int increments,
                                      model::UnitSystem units = model::UnitSystem::USCS);

// Appends a soil layer of model `code` from `top` to `bottom` with the given
// parameters at its top and bottom (their depths are set to the layer's).
model::SoilLayer& AddLayer(model::ProblemData& problem, int code, double top, double bottom,
                           model::SoilPointParams at_top, model::SoilPointParams at_bottom);
// Appends a soil layer from `top` to `bottom`.
model::SoilLayer& AddElasticSubgradeLayer(model::ProblemData& problem, double top, double bottom, double kes_top,
                                          double kes_bottom);
model::SoilLayer& AddUserPyLayer(model::ProblemData& problem, double top, double bottom,
                                 std::vector<std::array<double, 2>> top_curve,
                                 std::vector<std::array<double, 2>> bottom_curve);
void AddLoad(model::ProblemData& problem, int type, double condition1, double condition2, double axial = 0.0);

// A run context over a problem, with its output files open.
class PileRun {
public:
    explicit PileRun(model::ProblemData problem);
    run::RunContext& ctx() { return *ctx_; }
    // Runs the load cases; returns the error number (0 when none).
    int Run();
    // Closes the files and returns their contents.
    RunOutput Outputs();

private:
    TempDir dir_;
    std::unique_ptr<run::RunContext> ctx_;
};

// The plot records whose label contains `label`, in file order.
std::vector<std::string> PlotRecords(const RunOutput& output, const std::string& label);
// The first `count` fields of a plot record written 15 columns each (E15.7).
std::vector<double> PlotFields(const std::string& record, int count);
// Position of the first report line equal to `line` (lines.size() when absent).
std::size_t FindLine(const std::vector<std::string>& lines, const std::string& line, std::size_t from = 0);

// A whole input file (USCS) for a 50 ft elastic pipe pile (section type 11,
// E = 29E6 lb/in^2, I = 1500 in^4, 18 in wide) in 100 increments.
struct ElasticPileDeck {
    bool lrfd = false;
    bool kmatrix = false;
    int max_iterations = 100;
    // Body of the "SOIL LAYERS" block: by default an elastic subgrade of
    // 100 lb/in^3 from the head to 60 ft.
    std::string soil = "1\n13 0.0 60.0\n50.0 100.0\n50.0 100.0\n";
    // The loading blocks with their keywords ("LOADING ..." or "LRFD LOADS
    // ... LRFD FACTORS AND CASES ...").
    std::string loads;
};
std::string ElasticPileInput(const ElasticPileDeck& deck);

}  // namespace trevasc::testing
