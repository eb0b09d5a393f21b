#include "input/units.h"
#include "definitions/state.h"

namespace corvane {

int CategoryRow(const State&, const QString&) { return -1; }
int FieldCategoryRow(const State&, int) { return -1; }
QString UnitName(const State&, const QString& category, bool) { return category; }
QString DisplayText(const State& s, int n) { return s.textBoxes[n].tag; }
void ApplyEntryRule(State& s, int n) { s.textBoxes[n].tag = s.textBoxes[n].text; }
void UnitLabelClick(State&, int) {}
void UnitLabelChange(State& s, int n) { if (s.textBoxes.Has(n)) s.SetTextQuietly(n, DisplayText(s, n)); }
void UnitSwitchClick(State&, int) {}
void ApplyUnitSwitchesFromSettings(State&) {}
QString ReadGridCell(const State& s, int g, int r, int c) { return s.grids[g].Text(r, c); }
void WriteGridCell(State& s, int g, int r, int c, const QString& v) { s.grids[g].Cell(r, c).text = v; }

} // namespace corvane
