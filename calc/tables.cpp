#include "calc/tables.h"
#include "definitions/state.h"

namespace corvane {

void ReadTable(State&, bool, const QString&, DataTable&) {}
void ReadFixedTables(State&) {}
void ReadLanguageTables(State&) {}
float LookUpA(State&, float, float) { return 0; }
float LookUpB(State&, int, float) { return 0; }
float LookUpE(State&, float, bool, bool) { return 0; }
float LookUpF(State&, float, int) { return 0; }
MotorDefaults LookUpK(State&, float, float) { return {}; }

} // namespace corvane
