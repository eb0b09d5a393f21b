#include "input/grids.h"
#include "definitions/state.h"

namespace corvane {

void BuildWallGrid(State&, int) {}
void MoveToCell(State&, int) {}
void GridClick(State&, int, int, int) {}
void GridPrevious(State&, int) {}
void GridNext(State&, int) {}
void CellEditorGotFocus(State&, int) {}
void CellEditorLostFocus(State&, int) {}
void CellEditorChange(State&, int, const QString&) {}
void CheckAddSection(State&) {}
void CheckAddProduct(State&) {}
void SizeColumn(State&, int, int) {}
void SizeTable(State&, int) {}
QString DefaultSectionTemperature(const State&, int) { return QString(); }

} // namespace corvane
