// The version tag on the first line of an input file, and the reader of the
// format it names: "TREVAS6" the current keyword format, "TREVAS5" the
// previous fixed-order format; any other first line is a file of the oldest
// format, which has no tag and is read again from its first line.
#pragma once

#include <string>
#include <string_view>

#include "run/input_file.hpp"
#include "run/run_context.hpp"

namespace trevasc::input {

// The first item of the file, cut or padded to 7 characters; "3      " when
// the first line holds no item (a file of the oldest format).
std::string ReadVersionTag(run::InputFile& file);

// Reads the rest of the input into the problem with the reader of `tag`.
void ReadInputOfFormat(run::RunContext& ctx, std::string_view tag);

}  // namespace trevasc::input
