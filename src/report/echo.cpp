#include "engine/phases.hpp"

namespace trevasc {

void EchoInputData(RunContext& ctx) {
    ctx.files.messages.Line("Output of input data begun");
    ctx.files.messages.Line("Output of input data completed");
}

}  // namespace trevasc
