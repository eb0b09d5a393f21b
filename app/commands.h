#pragma once

namespace corvane {

class State;

// Command button n clicked.
void RunCommand(State& s, int n);
void HideAllPages(State& s);
void ShowPage(State& s, int page);
void ResetButtonColours(State& s);
void RefreshButtonColours(State& s);
void HideAllShadows(State& s);
// Close box of the window: false cancels the close.
bool CloseRequest(State& s);
// Keys with Ctrl held alone: 'A' log off, 'D' log on, 'L' show the log.
void ControlKey(State& s, char key);
void ShowLog(State& s);

} // namespace corvane
