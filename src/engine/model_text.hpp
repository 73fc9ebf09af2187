// A model read from an input text of any of the three formats, without an
// analysis: what a host that edits models needs (the Python package reads
// files through it and checks the models it builds).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/problem_data.hpp"

namespace trevasc::engine {

struct ModelReadResult {
    std::int32_t code = 0;       // 0, or the input error that stopped the reader
    model::ProblemData problem;  // as the reader left it: input units, before the echo
    std::string version_tag;     // "TREVAS6", "TREVAS5" or the first item of an older file
    std::string report;          // what the reader wrote (its error messages)
    std::string messages;
};

// Reads `input` in memory; never throws (a fault is Runtime Error 90).
ModelReadResult ReadModelText(std::string_view input) noexcept;

}  // namespace trevasc::engine
