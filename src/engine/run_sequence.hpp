// The run sequence seen from inside the engine: one analysis whose output
// writers can be replaced, so that a failing file system can be played.
#pragma once

#include <cstdint>

#include "report/output_channel.hpp"
#include "trevasc/run.hpp"

namespace trevasc::engine {

// Runs one analysis as RunAnalysis does, with every output writer passed
// through `wrap`.
std::int32_t RunWithWriterWrap(const RunPaths& paths, const RunOptions& options,
                               const report::OutputChannel::WriterWrap& wrap) noexcept;

}  // namespace trevasc::engine
