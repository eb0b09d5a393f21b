#pragma once

namespace corvane {

class State;
struct CondenserModel;

float CoolerCapacity(const State& s, float suction, float difference, float rating);
float CondenserCapacity(const State& s, const CondenserModel& model, float suction, float ambient);
void SelectCondenser(State& s);
void SelectCooler(State& s);
void CalculateBalance(State& s);

// Empties the cooler candidate grid down to its one row (row 0) before a cooler selection.
void ResetCoolerCandidates(State& s);

} // namespace corvane
