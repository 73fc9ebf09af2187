// Small problems for the clay and sand criteria: layers added to an elastic
// pile built in computation units, a context whose nodes are set up for one
// load case so that a criterion can be run on chosen deflections, and input
// files for complete runs.
#pragma once

#include <algorithm>
#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pile/node_setup.hpp"
#include "pile/pile_test_support.hpp"
#include "run/error_stop.hpp"
#include "soil/criteria.hpp"

namespace trevasc::testing::clay_sand {

using testing::AddLayer;

inline model::SoilPointParams Clay(double gamma, double c, double eps50 = 0.0, double k = 0.0) {
    model::SoilPointParams p;
    p.EffUnitWeight = gamma;
    p.Cohesion = c;
    p.Epsilon50 = eps50;
    p.SubgradeK = k;
    return p;
}

inline model::SoilPointParams Sand(double gamma, double phi_degrees, double k = 0.0) {
    model::SoilPointParams p;
    p.EffUnitWeight = gamma;
    p.FrictionAngle = phi_degrees;
    p.SubgradeK = k;
    return p;
}

inline void SetMultipliers(model::ProblemData& problem, double pm, double ym) {
    problem.PyModifierProfile = {{0.0, pm, ym}, {problem.PileTotalLength, pm, ym}};
    problem.PyModifierCount = 2;
}

inline bool HasLine(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Lines from the first one equal to `first`, `count` of them (fewer at the end).
inline std::vector<std::string> BlockFrom(const std::vector<std::string>& lines, const std::string& first,
                                          std::size_t count) {
    auto it = std::find(lines.begin(), lines.end(), first);
    std::vector<std::string> block;
    for (; it != lines.end() && block.size() < count; ++it) block.push_back(*it);
    return block;
}

// A problem with its nodes set up for one load case.
struct Analysis {
    std::unique_ptr<PileRun> run;
    explicit Analysis(const model::ProblemData& problem) : run(std::make_unique<PileRun>(problem)) {
        pile::SetUpNodes(run->ctx(), problem.PileTotalLength, 0);
    }
    run::RunContext& ctx() { return run->ctx(); }
    model::PileModel& pile() { return run->ctx().pile; }
    // Runs the criterion of `layer` over its nodes; the error number when it
    // stops the run, else 0.
    int Evaluate(int layer) {
        const auto l = static_cast<std::size_t>(layer);
        try {
            soil::StoreLayerSprings(ctx(), layer, pile().TopNode[l], pile().BottomNode[l]);
        } catch (const run::RunStop& stop) {
            return stop.error_number;
        }
        return 0;
    }
    // One sweep of the criteria over all layers, top down, as the load-case
    // loop makes it (no rock-like layers in these problems).
    int Sweep() {
        ctx().soil.BelowRockCount = 0;
        for (int l = 1; l <= ctx().problem.i_Number_of_Layers(); ++l) {
            if (pile().TopNode[static_cast<std::size_t>(l)] == 0) continue;
            const int error = Evaluate(l);
            if (error != 0) return error;
        }
        return 0;
    }
    // p on the multiplied curve at node k for deflection y of every node.
    double P(int layer, int k, double y) {
        for (int n = 1; n <= pile().N; ++n) pile().y(n) = y;
        EXPECT_EQ(Evaluate(layer), 0);
        return pile().Es(k) * std::fabs(y);
    }
};

// Runs the load cases of a problem; the head deflection of case 1.
inline double HeadDeflection(const model::ProblemData& problem, int* error = nullptr) {
    PileRun run(problem);
    const int code = run.Run();
    if (error != nullptr) *error = code;
    return run.ctx().pile.y(1);
}

// Simpson's rule over [a, b] with n (even) intervals.
template <class F>
double Integral(F f, double a, double b, int n = 2000) {
    const double h = (b - a) / n;
    double sum = f(a) + f(b);
    for (int i = 1; i < n; ++i) sum += (i % 2 == 1 ? 4.0 : 2.0) * f(a + i * h);
    return sum * h / 3.0;
}

// Depth Z with Integral(f, 0, Z) = A, by bisection on [0, upper].
template <class F>
double DepthForResistance(F f, double A, double upper) {
    double lo = 0.0;
    double hi = upper;
    for (int i = 0; i < 60; ++i) {
        const double mid = 0.5 * (lo + hi);
        (Integral(f, 0.0, mid, 400) < A ? lo : hi) = mid;
    }
    return 0.5 * (lo + hi);
}

// Text of a current-format input file for an elastic circular pile.
struct InputFile {
    std::string units = "USCS";
    bool cyclic = false;
    int cycles = 0;
    double length = 50.0;       // ft or m
    double modulus = 29.0e6;    // psi or kPa
    double width = 24.0;        // in or mm
    double area = 452.4;        // in^2 or mm^2
    double inertia = 16286.0;   // in^4 or mm^4
    int increments = 100;
    std::string soil;           // the lines after "SOIL LAYERS"
    double shear = 10000.0;
    double moment = 0.0;
    std::vector<double> py_depths;
    std::string extra;          // other blocks, before END

    std::string Text() const {
        std::ostringstream s;
        s.precision(12);
        s << "TREVAS6\nTITLE\nClay and sand criteria\n\n\n\n\nOPTIONS\nUnits " << units
          << "\nUseLRFD NO\nComputeKmatrix NO\nUseTipShear NO\nUseSoilMovement NO\nUsePYModifiers NO\n"
             "ComputeEIOnly NO\n";
        std::string loading = cyclic ? "Loading CYCLIC" : "Loading STATIC";
        std::string count = std::to_string(cycles);
        loading += std::string(6 - count.size(), ' ') + count;
        s << loading << "\nMaxIterations 200\nMaxDeflection 100.0\nTolerance "
          << (units == "SI" ? "2.54E-8" : "1.0E-6") << "\nIncrements " << increments
          << "\nPrintSummaryOnly NO\nPrintIncrement 5\nPrintPYCurves " << (py_depths.empty() ? "NO" : "YES")
          << "\nComputeInteraction NO\n";
        s << "SECTIONS\n1\n1\n11\n" << length << "\n2\n" << modulus << "\n" << width << "\n" << width << "\n"
          << area << "\n" << area << "\n" << inertia << "\n" << inertia << "\n";
        s << "SOIL LAYERS\n" << soil;
        s << "LOADING\n1\n1 1 " << shear << " " << moment << " 0. 1\n0\n";
        if (!py_depths.empty()) {
            s << "DEPTHS OF PRINTED P-Y CURVES\n" << py_depths.size() << "\n";
            for (std::size_t i = 0; i < py_depths.size(); ++i) s << i + 1 << " " << py_depths[i] << "\n";
        }
        s << extra << "END\n";
        return s.str();
    }
};

}  // namespace trevasc::testing::clay_sand
