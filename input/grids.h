#pragma once

#include <QString>

namespace corvane {

class State;

// Wall-section grid rebuilt for a shape button (200: 4 walls, 201: 6, 202: 8, 203: free layout).
void BuildWallGrid(State& s, int shapeButton);
void MoveToCell(State& s, int g);
void GridClick(State& s, int g, int row, int col);
// The grid itself received the focus (no editor yet): editors, lists and page-turn focus
// controls are hidden, and the next click on any cell enters it again.
void GridGotFocus(State& s, int g);
void GridPrevious(State& s, int g);
void GridNext(State& s, int g);
void CellEditorGotFocus(State& s, int g);
void CellEditorLostFocus(State& s, int g);
void CellEditorChange(State& s, int g, const QString& text);
void CheckAddSection(State& s);
void CheckAddProduct(State& s);
// A new product column starts with the generic product's pull-down time and temperatures.
void StartProductColumn(State& s, int c);
void SizeColumn(State& s, int g, int c);
void SizeTable(State& s, int g);
// Default far-side temperature of a wall-section column from field 212 and buttons 100/101.
QString DefaultSectionTemperature(const State& s, int col);

} // namespace corvane
