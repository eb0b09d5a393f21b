#pragma once

namespace corvane {

class State;

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
