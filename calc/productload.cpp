#include "calc/loads.h"
#include "definitions/state.h"

namespace corvane {

void CalculateProductLoad(State&) {}

} // namespace corvane
