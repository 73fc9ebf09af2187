// The one exported symbol of libtrevasc.so.
#include "trevasc/trevasc.h"
#include "trevasc/run.hpp"

extern "C" TREVASC_EXPORT int32_t TRVRUN(int32_t interface_code) {
    if (interface_code != trevasc::kInterfaceCode) return trevasc::kWrongInterfaceCode;
    return trevasc::RunFromNamesFile(std::string());
}
