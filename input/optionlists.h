#pragma once

namespace corvane {

class State;
struct OptionList;

// Where a list opens, in twips: the field's left and top within its container, the
// container frame's left and top on the page (0 when the field sits on the page itself) and
// the height of the page.
struct PickerPlacement {
    static constexpr int MinimumPageHeight = 7080;   // page area of the smallest window
    int fieldLeft = 0, fieldTop = 0;
    int frameLeft = 0, frameTop = 0;
    int pageHeight = MinimumPageHeight;
};

// Sizes an open list to its entries within the page and places it over its field, moved up
// when it would reach below the page. The core places a list at its field's own origin; the
// view, which knows where the field sits, places it again with the real placement.
void PlacePicker(OptionList& list, const PickerPlacement& where);

void OpenPicker(State& s, int n);
void ListButtonClick(State& s, int n);
void ListGotFocus(State& s, int n);
void ListKeyDown(State& s, int n, int keyCode);
// The user clicked (or Enter committed) entry index of list n.
void ListPick(State& s, int n, int index);
// The commit of list n's selected entry.
void ListClick(State& s, int n);
void ListLostFocus(State& s, int n);

} // namespace corvane
