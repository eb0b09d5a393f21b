#pragma once

namespace corvane {

class State;

// Connects the control model's change notifications to the rules below, the unit label
// change and the option lists. Called once when the state is created.
void InstallInputHandlers(State& s);

// The change handling of text box n (every change of its shown text).
void TextBoxChange(State& s, int n);
void ApplySurroundingTemperature(State& s);
// The click of option button n (set by the user or the program).
void RadioClick(State& s, int n);
// Option button n received the focus: its hint goes to the hint line.
void RadioGotFocus(State& s, int n);
// Gives field n's caption and unit label the override colour, or the normal colour back.
void SetOverrideMark(State& s, int n, bool overridden);
// Marks the job modified (button 11 and frame 2 shown).
void MarkJobModified(State& s);

} // namespace corvane
