// Time of one moment-curvature curve (the neutral-axis search at up to 150
// curvatures, three section evaluations of 100 slices per Newton step) for
// the two sections that dominate practice: a 36 in drilled shaft with 12
// bars and a 14 in square prestressed pile. Target: under 2 ms per curve.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "run/run_context.hpp"
#include "section/capacities.hpp"
#include "section/geometry.hpp"
#include "section/moment_curvature.hpp"
#include "section/section_init.hpp"

namespace {

using namespace trevasc;

model::PileSection Shaft36With12Bars() {
    model::PileSection s;
    s.SectionType = model::kDrilledShaft;
    s.SectionLength = 240.0;
    s.SectionWidth = 36.0;
    s.Concrete.ConcreteStrength = 4.0;
    s.Rebar.RebarYieldStress = 60000.0;
    s.Rebar.RebarModulus = 29.0e6;
    const double R = 14.5;
    for (int j = 0; j < 12; ++j) {
        const double theta = 2.0 * kPi * j / 12;
        model::BarRecord bar;
        bar.BarDiameter = 1.128;
        bar.BarArea = 1.0;
        bar.BarX = R * std::cos(theta);
        bar.BarY = R * std::sin(theta);
        s.Rebar.Bars.push_back(bar);
    }
    s.Rebar.BarCount = 12;
    return s;
}

model::PileSection PrestressedSquare14() {
    model::PileSection s;
    s.SectionType = model::kSquareSolidPrestressed;
    s.SectionLength = 240.0;
    s.SectionWidth = 14.0;
    s.CornerChamfer = 0.75;
    s.Concrete.ConcreteStrength = 6.0;
    s.Strand.StrandTypeCode = 1;
    s.Strand.InitialPrestressForce = 8 * 0.153 * 0.75 * 270000.0;
    s.Strand.PrestressLossFraction = 0.2;
    const double a = 4.5;
    const double positions[8][2] = {{-a, -a}, {0, -a}, {a, -a}, {a, 0}, {a, a}, {0, a}, {-a, a}, {-a, 0}};
    for (const auto& p : positions) {
        model::BarRecord strand;
        strand.BarSizeCode = 3;
        strand.BarDiameter = 0.5;
        strand.BarArea = 0.153;
        strand.BarX = p[0];
        strand.BarY = p[1];
        s.Strand.Strands.push_back(strand);
    }
    s.Strand.StrandCount = 8;
    return s;
}

void CurveBenchmark(benchmark::State& state, const model::PileSection& pile, double thrust) {
    auto ctx = std::make_unique<run::RunContext>();
    ctx->problem.Options.Units = model::UnitSystem::USCS;
    section::SectionWorkspace ws;
    section::PrepareSectionWorkspace(*ctx, ws, pile, 1);
    const section::AxialCapacities cap = section::ComputeAxialCapacities(ws, pile);
    ws.Pmax = cap.Pmax;
    ws.Pmin = cap.Pmin;
    ws.Pcr = cap.Pcr;
    section::Initialize_EI_Vars(*ctx, ws, pile);
    const double d0 = section::InitialCurvatureStep(ws, thrust);
    std::size_t points = 0;
    for (auto _ : state) {
        section::StartThrust(ws, thrust);
        const section::MomentCurvatureCurve curve = section::ComputeMomentCurvature(*ctx, ws, thrust, d0);
        points = curve.Points.size();
        benchmark::DoNotOptimize(curve.NominalMomentCapacity);
    }
    state.counters["points"] = static_cast<double>(points);
}

void BM_DrilledShaft36in12Bars(benchmark::State& state) { CurveBenchmark(state, Shaft36With12Bars(), 0.0); }
void BM_PrestressedSquare14in(benchmark::State& state) { CurveBenchmark(state, PrestressedSquare14(), 0.0); }

BENCHMARK(BM_DrilledShaft36in12Bars)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrestressedSquare14in)->Unit(benchmark::kMillisecond);

}  // namespace
