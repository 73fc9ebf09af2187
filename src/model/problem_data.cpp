#include "model/problem_data.hpp"

namespace trevasc::model {

void MakeLayersContiguous(ProblemData& problem) {
    if (problem.Layers.empty()) return;
    problem.Layers.front().XLayerTop = problem.GroundSurfaceDepth;
    for (std::size_t k = 0; k + 1 < problem.Layers.size(); ++k) {
        problem.Layers[k + 1].XLayerTop = problem.Layers[k].XLayerBottom;
    }
}

}  // namespace trevasc::model
