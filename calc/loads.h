#pragma once

namespace corvane {

class State;

void CalculateBoxLoad(State& s);
void CalculateInfiltrationLoad(State& s);
void CalculateProductLoad(State& s);
void CalculateMiscLoad(State& s);

} // namespace corvane
