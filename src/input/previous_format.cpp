#include "input/previous_format.hpp"

#include "input/reader_support.hpp"

namespace trevasc::input {

void ReadPreviousFormat(RunContext& ctx) { StopOnUnsupported(ctx, "input files of the TREVAS5 format"); }

void ReadOldestFormat(RunContext& ctx) {
    StopOnUnsupported(ctx, "input files without a version tag (the first line is not TREVAS6 or TREVAS5)");
}

}  // namespace trevasc::input
