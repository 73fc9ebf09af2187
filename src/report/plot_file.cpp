#include "report/plot_file.hpp"

#include "report/fortran_format.hpp"

namespace trevasc {

void WritePlotLine1(OutputChannel& plot, int icom, int iunits, int kyl, int kxx) {
    plot.Write(fmt::I(icom, 5) + fmt::I(iunits, 5) + fmt::I(kyl, 5) + fmt::I(kxx, 5) + fmt::X(60));
    plot.Line("Line 1 : ICOM, IUNITS, KYL, KXX");
}

void WritePlotLine2(OutputChannel& plot, int number_of_sections) {
    plot.Write(fmt::I(number_of_sections, 5) + fmt::X(75));
    plot.Line("Line 2 : Total number of sections");
}

}  // namespace trevasc
