#include "calc/loads.h"
#include "definitions/state.h"

namespace corvane {

void CalculateMiscLoad(State&) {}

} // namespace corvane
