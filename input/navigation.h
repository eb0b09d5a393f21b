#pragma once

#include "definitions/controls.h"

namespace corvane {

class State;

// Page buttons 0 and 2..8 switch pages; every other button is a command.
bool IsPageButton(int n);
// Page button n clicked (or pressed by the program after a job is opened): finishes the edit
// in progress, highlights the button and shows its page with the focus on its first field.
void PressPageButton(State& s, int n);

void SetButtonColour(State& s, int n, Colour colour);
void HideAllPages(State& s);
void ShowPage(State& s, int page);
// Gives the first input field of a page the focus.
void SelectFocus(State& s, int page);
void ResetButtonColours(State& s);
void RefreshButtonColours(State& s);
void HideAllShadows(State& s);
// Finishes the edit in progress (list, text box or grid cell) before a command runs.
void FinishEdit(State& s);

} // namespace corvane
