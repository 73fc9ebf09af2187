// The finite-difference model of the pile: node arrays, the pile-head
// conditions of the current case, the solver's work arrays and the per-case
// results kept for the summaries.
//
// Nodes are numbered as the method numbers them: node 1 at the pile head,
// node N at the tip, N = NumberOfIncrements + 1 <= 501. The deflection needs
// three guard values, y(-1) and y(0) above the head and y(N+1) below the tip,
// so every node array accepts the indices -1 .. kMaxNodes + 1 (y(k) reads as
// in the equations). Arrays are sized once for the largest pile, so a
// solution allocates nothing.
#pragma once

#include <array>
#include <cassert>
#include <cstdint>
#include <vector>

#include "model/problem_data.hpp"

namespace trevasc::model {

inline constexpr int kMaxNodes = 501;
inline constexpr int kMaxLoadCases = kMaxPileHeadLoads;

// Secant soil modulus every node below the ground surface starts a load case
// with, in every unit system.
inline constexpr double kInitialSoilModulus = 50000.0;

template <class T>
class NodeArray {
public:
    static constexpr int kFirst = -1;
    static constexpr int kLast = kMaxNodes + 2;  // room for y(N+1) and the solver's m+2

    T& operator()(int k) {
        assert(k >= kFirst && k <= kLast);
        return values_[static_cast<std::size_t>(k - kFirst)];
    }
    const T& operator()(int k) const {
        assert(k >= kFirst && k <= kLast);
        return values_[static_cast<std::size_t>(k - kFirst)];
    }
    void Fill(T value) { values_.fill(value); }

private:
    std::array<T, static_cast<std::size_t>(kLast - kFirst + 1)> values_{};
};

// Elimination coefficients of the five-diagonal system: for every node m,
// y(m) = B(m) y(m-1) - A(m) y(m-2) + E(m) + F(m).
struct SolverWork {
    NodeArray<double> D, A, B, E, F;
    // Head system: matrix (row, column) 1..5, right-hand side and solution.
    std::array<std::array<double, 6>, 6> Fm{};
    std::array<double, 6> G{};
    std::array<double, 6> YG{};
};

struct PileModel {
    int N = 0;          // number of nodes
    double h = 0.0;     // increment length
    double L = 0.0;     // pile length of the current analysis
    double P = 0.0;     // axial thrust of the current case (compression positive)

    NodeArray<double> x;      // depth along the pile axis below the head
    NodeArray<double> xv;     // vertical depth
    NodeArray<int> section;   // pile section holding the node (1-based)
    NodeArray<double> EI;     // bending stiffness (R in the difference equations)
    NodeArray<double> Es;     // secant soil modulus: p = -Es y
    NodeArray<double> Q;      // distributed lateral load per unit length (tributary average)
    NodeArray<double> R;      // load term of the solver: Q, plus Es ysoil with soil movement
    NodeArray<double> ysoil;  // lateral soil movement
    NodeArray<double> y;      // deflection, with y(-1), y(0), y(N+1)
    NodeArray<double> M;      // bending moment
    NodeArray<double> S;      // slope
    NodeArray<double> V;      // shear
    NodeArray<double> p;      // soil reaction per unit length
    // Section properties of the combined axial and bending stress at every
    // node (area, moment of inertia, distance of the extreme fibre), set
    // with the node set-up so that the stress costs no table look-up.
    NodeArray<double> StressArea, StressInertia, StressFibre;
    NodeArray<std::uint8_t> beyond_curve;  // curvature beyond the moment-curvature table
    bool AnyBeyondCurve = false;
    // Set while the bending stiffness of the head nodes follows their own
    // moments (a head section whose EI comes from moment-curvature tables):
    // then EI(1), EI(2) and EI(3) are each the node's own, and the imaginary
    // node above the head takes EI(1). Otherwise (constant EI) node 1 carries
    // the stiffness of node 2.
    bool head_own_stiffness = false;

    // Pile-head conditions of the current case. Compute_Node_Response
    // completes the ones the loading type leaves open.
    int LoadingType = 1;
    double HeadShear = 0.0;
    double HeadMoment = 0.0;
    double HeadSlope = 0.0;
    double HeadRotationalStiffness = 0.0;
    double HeadDeflection = 0.0;
    double ComputedHeadSlope = 0.0;  // slope at node 1 from the deflections (all types)

    double Vt = 0.0;       // tip shear of the last solution
    // Relaxation of the tip-shear update: 1 until the tip deflection swings
    // back and forth without settling, then halved at every such swing.
    double tip_relaxation = 1.0;
    double tip_last_deflection = 0.0;  // y(N) at the last tip-shear update
    double tip_last_change = 0.0;      // change of y(N) seen at that update
    // The last solution met a system that has lost its positive stiffness
    // under the axial thrust (the pile buckles).
    bool lost_stiffness = false;
    double dYmax = 0.0;    // largest change of deflection in the last solution
    int CurrentCase = 0;
    int Iteration = 0;
    // Set while the pile-head stiffness trials run: their results pass writes
    // no report block and no plot records.
    bool StiffnessMode = false;

    // Running maxima of the node responses (reset before each solution).
    double MaxMoment = 0.0, MaxMomentDepth = 0.0;
    double MaxShear = 0.0, MaxShearDepth = 0.0;
    double MaxStress = 0.0;
    // Per section, largest |M| and |V| of the case with their nodes.
    std::array<double, kMaxSections + 1> SectionMaxMoment{};
    std::array<int, kMaxSections + 1> SectionMaxMomentNode{};
    std::array<double, kMaxSections + 1> SectionMaxShear{};
    std::array<int, kMaxSections + 1> SectionMaxShearNode{};

    // First and last node of every soil layer (0 when the layer holds none).
    std::array<int, kMaxSoilLayers + 1> TopNode{};
    std::array<int, kMaxSoilLayers + 1> BottomNode{};

    SolverWork work;
};

// Head response of one case, kept for the summaries.
struct CaseResults {
    double HeadDeflection = 0.0;
    double HeadSlope = 0.0;
    double HeadShear = 0.0;
    double HeadMoment = 0.0;
    double MaxMoment = 0.0;
    double MaxMomentDepth = 0.0;
    double MaxShear = 0.0;
    double MaxShearDepth = 0.0;
    int Iterations = 0;
    // Per section (1-based), the signed moment and shear of largest
    // magnitude and the node of the moment.
    std::array<double, kMaxSections + 1> SectionMaxMoment{};
    std::array<int, kMaxSections + 1> SectionMaxMomentNode{};
    std::array<double, kMaxSections + 1> SectionMaxShear{};
};

// The results of the cases run so far. A case's entry is made when it is
// first asked for to be written, so a run of one case does not clear the
// room of a hundred; a case never written reads as empty results.
class CaseResultsTable {
public:
    CaseResults& operator()(int c) {
        assert(c >= 1 && c <= kMaxLoadCases);
        const auto i = static_cast<std::size_t>(c);
        if (i >= cases_.size()) {
            // Room for every case at once, so that the results of one case
            // stay where they are while the next ones are made.
            cases_.reserve(kMaxLoadCases + 1);
            cases_.resize(i + 1);
        }
        return cases_[i];
    }
    const CaseResults& operator()(int c) const {
        assert(c >= 1 && c <= kMaxLoadCases);
        const auto i = static_cast<std::size_t>(c);
        return i < cases_.size() ? cases_[i] : kNoResults;
    }

private:
    static inline const CaseResults kNoResults{};
    std::vector<CaseResults> cases_;  // 1-based; [0] unused
};

}  // namespace trevasc::model
