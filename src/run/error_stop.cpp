#include "run/error_stop.hpp"

#include "report/fortran_format.hpp"

namespace trevasc::run {

namespace fmt = report::fmt;

std::string MessageCode(std::int32_t error_number) {
    if (error_number >= 100 && error_number <= 199) return "INP" + fmt::Iwm(error_number - 100, 5, 5);
    if (error_number >= 200 && error_number <= 299) return "RUN" + fmt::Iwm(error_number - 200, 5, 5);
    return "RUN" + fmt::Iwm(error_number, 5, 5);
}

void Stop_With_Error(RunContext& ctx, std::string_view code, std::int32_t number) {
    report::OutputChannel& report = ctx.files.report;
    report.Blank(2);
    if (number >= 1 && number <= 199) {
        report.Line("Trevasc ended prematurely due to input error number " + fmt::PadRight(code, 8));
    } else {
        report.Line("Trevasc ended prematurely due to runtime error number " + fmt::PadRight(code, 8));
    }
    if (number == 125) {
        report.Blank();
        report.Line("**** Input Data Error No. 25 ****");
        report.Blank();
        report.Line("Length of input file is 0 bytes.  No analysis can be performed.");
    }
    ctx.ErrorNumber = number;
    throw RunStop{number};
}

void Stop_With_Error(RunContext& ctx, std::int32_t number) { Stop_With_Error(ctx, MessageCode(number), number); }

void StopOnQuietError(RunContext& ctx, std::int32_t number) {
    ctx.ErrorNumber = number;
    throw RunStop{number};
}

void WriteToBoth(RunContext& ctx, std::initializer_list<std::string_view> lines) {
    for (std::string_view line : lines) ctx.files.messages.Line(line);
    for (std::string_view line : lines) ctx.files.report.Line(line);
}

}  // namespace trevasc::run
