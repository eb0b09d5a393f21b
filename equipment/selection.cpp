#include "equipment/selection.h"
#include "definitions/state.h"

namespace corvane {

float CoolerCapacity(const State&, float, float, float) { return 0; }
float CondenserCapacity(const State&, const CondenserModel&, float, float) { return 0; }
void SelectCondenser(State&) {}
void SelectCooler(State&) {}
void CalculateBalance(State&) {}

} // namespace corvane
