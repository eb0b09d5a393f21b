#include "input/numericentry.h"
#include "definitions/state.h"

namespace corvane {

void TextBoxGotFocus(State&, int) {}
bool TextBoxKeyPress(State&, int, int, int, bool*) { return true; }
void TextBoxLostFocus(State&, int) {}
bool GridEditorKeyPress(State&, int, int, int) { return true; }
bool NumericKeyAccepted(const QString&, int, int) { return true; }

} // namespace corvane
