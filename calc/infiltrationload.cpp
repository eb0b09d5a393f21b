#include "calc/loads.h"
#include "definitions/state.h"

namespace corvane {

void CalculateInfiltrationLoad(State&) {}

} // namespace corvane
