#include "definitions/languagefile.h"
#include "definitions/state.h"

namespace corvane {

void ReadResourceFile(State&) {}

} // namespace corvane
