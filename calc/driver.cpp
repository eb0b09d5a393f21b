#include "calc/driver.h"
#include "definitions/state.h"

namespace corvane {

void Calculate(State&) {}
bool CheckInputs(State&) { return false; }
void MarkField(State&, int, bool) {}
void AddErrorText(State&, int) {}
void DefaultMotors(State&) {}

} // namespace corvane
