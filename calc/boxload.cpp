#include "calc/loads.h"
#include "definitions/state.h"

namespace corvane {

void CalculateBoxLoad(State&) {}

} // namespace corvane
