#pragma once

class QString;

namespace corvane {

class State;

void Calculate(State& s);
bool CheckInputs(State& s);
void MarkField(State& s, int n, bool failed);
void AddErrorText(State& s, int k);
// Adds a line to the error banner unless it lists that line already.
void AddErrorLine(State& s, const QString& text);
void DefaultMotors(State& s);

} // namespace corvane
