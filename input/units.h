#pragma once

#include "definitions/values.h"

#include <QString>

namespace corvane {

class State;

void UnitLabelClick(State& s, int n);
void UnitLabelChange(State& s, int n);
// A unit switch 840..847 clicked or set by the program.
void UnitSwitchClick(State& s, int button);
// Brings every unit label into the systems the four switches show (used after reading).
void ApplyUnitSwitchesFromSettings(State& s);

} // namespace corvane
