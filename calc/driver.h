#pragma once

namespace corvane {

class State;

void Calculate(State& s);
bool CheckInputs(State& s);
void MarkField(State& s, int n, bool failed);
void AddErrorText(State& s, int k);
void DefaultMotors(State& s);

} // namespace corvane
