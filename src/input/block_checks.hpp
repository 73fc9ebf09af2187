// Checks shared by the block readers of the current input format: counts
// against the storage capacities of the problem tables, codes against their
// ranges, and the stop with an input error of the engine's own wording.
//
// Messages follow one pattern, written to the run message file and to the
// report: a blank line, "**** Input Data Error No. nn ****", a blank line, a
// problem line naming the block, the count or code and the limit, a solution
// line, and a blank line; then the run stops with the error's number.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "run/run_context.hpp"

namespace trevasc::input {

// Input Data Error 82: a count larger than the table that must hold it.
inline constexpr std::int32_t kCapacityError = 182;
// Input Data Error 83: a section type other than -3 and 0 to 14.
inline constexpr std::int32_t kSectionTypeError = 183;
// Input Data Error 84: a soil model code other than 1 to 17.
inline constexpr std::int32_t kSoilCodeError = 184;
// Input Data Error 91: a value no physical pile problem can have (a negative
// effective unit weight, a sand friction angle of 90 degrees or more, an LRFD
// resistance factor outside 0 to 1).
inline constexpr std::int32_t kImpossibleValueError = 191;
// Input Data Error 92: a soil layer whose top is deeper than its bottom.
inline constexpr std::int32_t kLayerUpsideDownError = 192;
// Input Data Error 85: a circular bar or strand arrangement that cannot be made.
inline constexpr std::int32_t kCircularArrangementError = 185;
// Input Data Error 86: bar positions times bars per bundle above 300 bars.
inline constexpr std::int32_t kBundledBarCountError = 186;
// Input Data Error 87: an automatic square strand pattern that cannot be made.
inline constexpr std::int32_t kStrandPatternError = 187;
// Input Data Error 88: any other code outside its table (strand type and size,
// elastic section shape, loading type, LRFD load type).
inline constexpr std::int32_t kCodeRangeError = 188;

// Input Data Error number - 100, one of the numbers above: writes its framed
// heading, the problem and solution lines, and stops the run.
[[noreturn]] void StopOnInputError(run::RunContext& ctx, std::int32_t number, std::string_view problem,
                                   std::string_view solution);

// Stops with Input Data Error 82 when count > limit. `block` names where the
// count was read ("the SOIL LAYERS block", "section 3 of the SECTIONS block"),
// `items` what is counted ("soil layers").
void CheckCapacity(run::RunContext& ctx, std::int32_t count, int limit, std::string_view block, std::string_view items);

// A value for a message: F20.3 without its leading blanks ("-110.000").
std::string ValueText(double value);

// Pads a record with blanks on the right to `length` characters (a character
// variable of that length read with format A).
std::string PadRight(std::string_view text, std::size_t length);

}  // namespace trevasc::input
