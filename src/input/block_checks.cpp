#include "input/block_checks.hpp"

#include <algorithm>

#include "report/fortran_format.hpp"
#include "run/error_stop.hpp"

namespace trevasc::input {

namespace fmt = report::fmt;

std::string ValueText(double value) {
    const std::string text = fmt::F(value, 20, 3);
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? text : text.substr(first);
}

void StopOnInputError(run::RunContext& ctx, std::int32_t number, std::string_view problem, std::string_view solution) {
    const std::string heading = "**** Input Data Error No. " + fmt::I0(number - 100) + " ****";
    run::WriteToBoth(ctx, {"", heading, "", problem, solution, ""});
    run::Stop_With_Error(ctx, number);
}

void CheckCapacity(run::RunContext& ctx, std::int32_t count, int limit, std::string_view block,
                   std::string_view items) {
    if (count <= limit) return;
    const std::string problem = "Problem:  The number of " + std::string(items) + " in " + std::string(block) +
                                " is " + fmt::I0(count) + ", more than the limit of " + fmt::I0(limit) + ".";
    const std::string solution =
        "Solution: Reduce the number of " + std::string(items) + " to " + fmt::I0(limit) + " or fewer.";
    StopOnInputError(ctx, kCapacityError, problem, solution);
}

std::string PadRight(std::string_view text, std::size_t length) {
    std::string out(text.substr(0, std::min(text.size(), length)));
    out.resize(length, ' ');
    return out;
}

}  // namespace trevasc::input
