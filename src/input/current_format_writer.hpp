// The current-format writer: a model written back as a TREVAS6 text that the
// current-format reader reads to the same model, value for value.
#pragma once

#include <stdexcept>
#include <string>

#include "model/problem_data.hpp"

namespace trevasc::input {

// A model that the current format cannot hold as it is (what and why).
class UnwritableModel : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Writes `problem` as a reader left it (before the echo and the unit
// conversion). Every real is written with the fewest digits that read back
// to the same double, after the millimetre and degree conversions of the
// file, so reading the text gives the same model. Throws UnwritableModel for
// what the format has no words for: analysis modes other than 2 and 3, a
// pile-length study indicator, and a pile property table that its sections
// do not determine (the property tables of the earlier formats).
std::string WriteCurrentFormat(const model::ProblemData& problem);

}  // namespace trevasc::input
