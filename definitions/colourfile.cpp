#include "definitions/colourfile.h"
#include "definitions/state.h"

namespace corvane {

void ReadColourFile(State&) {}
void LoadColourList(State&, const QString&, int) {}
void LoadLanguageList(State&, const QString&, int) {}

} // namespace corvane
