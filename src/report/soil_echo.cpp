#include "report/echo.hpp"

namespace trevasc {

// The soil blocks of the echo: layering, unit weights, property summary, user
// curves, p-y modifiers and soil movements.
void EchoSoilProfile(RunContext& /*ctx*/) {}

}  // namespace trevasc
