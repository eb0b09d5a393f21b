#pragma once

#include <QString>

namespace corvane {

class State;

namespace Key {
constexpr int Backspace = 8, Tab = 9, Enter = 13, Escape = 27, Up = 38, Down = 40;
}

void TextBoxGotFocus(State& s, int n);
// A character typed into text box n (code as the key's character code; caret position and
// current text). Returns false when the key is refused. Enter asks the view to move on:
// *moveOn becomes true.
bool TextBoxKeyPress(State& s, int n, int code, int caret, bool* moveOn = nullptr);
void TextBoxLostFocus(State& s, int n);
// A character typed into the cell editor of grid g; false when refused.
bool GridEditorKeyPress(State& s, int g, int code, int caret);

// The numeric key filter itself (text fields and numeric grid rows).
bool NumericKeyAccepted(const QString& text, int code, int caret);

} // namespace corvane
