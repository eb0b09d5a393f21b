#pragma once

namespace corvane {

class State;

// Rebuilds the history list from File0, File1, ... (stops at the first empty value, skips
// files that are gone).
void LoadFileHistory(State& s);
// After a save or a load: the current job first, then the others, at most 25 kept.
void UpdateFileHistory(State& s);

} // namespace corvane
