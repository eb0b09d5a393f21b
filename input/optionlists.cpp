#include "input/optionlists.h"
#include "definitions/state.h"

namespace corvane {

void OpenPicker(State&, int) {}
void ListButtonClick(State&, int) {}
void ListGotFocus(State&, int) {}
void ListKeyDown(State&, int, int) {}
void ListPick(State& s, int n, int index) { s.SelectListEntry(n, index); }
void ListClick(State&, int) {}
void ListLostFocus(State&, int) {}

} // namespace corvane
