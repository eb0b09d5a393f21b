#include "input/fieldrules.h"
#include "input/units.h"
#include "definitions/state.h"

namespace corvane {

void InstallInputHandlers(State& s) {
    s.events.unitLabelChange = [&s](int n) { UnitLabelChange(s, n); };
}
void TextBoxChange(State&, int) {}
void ApplySurroundingTemperature(State&) {}
void ApplyBoxTemperature(State&) {}
void RadioClick(State&, int) {}
void MarkJobModified(State& s) { s.flags.jobModified = true; }

} // namespace corvane
