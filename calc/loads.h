#pragma once

namespace corvane {

class State;

void CalculateBoxLoad(State& s);
void CalculateInfiltrationLoad(State& s);
void CalculateProductLoad(State& s);
void CalculateMiscLoad(State& s);

// Brings the entering and final temperatures of every product column that the user has not
// overridden to the box temperature.
void ApplyBoxTemperature(State& s);

// Enthalpy of moist air at a temperature and a relative humidity (a fraction), from the
// psychrometric table F.
double AirEnthalpy(State& s, float temperature, double humidity);

} // namespace corvane
