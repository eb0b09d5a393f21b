#include "jobs/filehistory.h"
#include "definitions/state.h"

namespace corvane {

void LoadFileHistory(State&) {}
void UpdateFileHistory(State&) {}
void OpenHistoryEntry(State&, int) {}

} // namespace corvane
