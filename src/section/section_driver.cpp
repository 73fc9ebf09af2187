#include "engine/phases.hpp"
#include "input/reader_support.hpp"

namespace trevasc {

void AnalyzeSection(RunContext& ctx, int /*k*/) {
    input::StopOnUnsupported(ctx, "pile sections (section analysis)");
}

}  // namespace trevasc
