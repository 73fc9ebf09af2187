#include "input/read_input.hpp"

#include "input/current_format.hpp"
#include "input/list_directed.hpp"
#include "input/previous_format.hpp"

namespace trevasc::input {

std::string ReadVersionTag(run::InputFile& file) {
    std::string tag;
    ListDirectedRead read(file);
    if (!read.Character(tag, 7)) tag = "3      ";
    return tag;
}

void ReadInputOfFormat(run::RunContext& ctx, std::string_view tag) {
    if (tag == "TREVAS6") {
        ReadCurrentFormat(ctx);
    } else if (tag == "TREVAS5") {
        ReadPreviousFormat(ctx);
    } else {
        ctx.files.input.Rewind();
        ReadOldestFormat(ctx);
    }
}

}  // namespace trevasc::input
