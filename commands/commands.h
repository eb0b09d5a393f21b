#pragma once

#include "input/navigation.h"

namespace corvane {

class State;

// Command button n clicked.
void RunCommand(State& s, int n);
// Close box of the window: false cancels the close.
bool CloseRequest(State& s);
// Keys with Ctrl held alone: 'A' log off, 'D' log on, 'L' show the log.
void ControlKey(State& s, char key);
void ShowLog(State& s);

} // namespace corvane
