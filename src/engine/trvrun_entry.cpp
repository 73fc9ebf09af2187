// The C entries of libtrevasc.so.
#include "trevasc/trevasc.h"
#include "trevasc/run.hpp"

extern "C" TREVASC_EXPORT int32_t TRVRUN(int32_t interface_code) {
    if (interface_code != trevasc::kInterfaceCode) return trevasc::kWrongInterfaceCode;
    return trevasc::RunFromNamesFile(std::string());
}

extern "C" TREVASC_EXPORT int32_t TrevascRunFromPaths(int32_t interface_code, const char* input, const char* report,
                                                      const char* plot, const char* messages) {
    if (interface_code != trevasc::kInterfaceCode) return trevasc::kWrongInterfaceCode;
    try {
        auto text = [](const char* path) { return path != nullptr ? std::string(path) : std::string(); };
        return trevasc::RunAnalysis(trevasc::RunPaths{text(input), text(report), text(plot), text(messages)});
    } catch (...) {
        return trevasc::kInternalFaultCode;
    }
}
