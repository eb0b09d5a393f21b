#include "input/grids.h"

#include "base/numbertext.h"
#include "calc/driver.h"
#include "calc/tables.h"
#include "definitions/state.h"
#include "input/fieldrules.h"
#include "input/optionlists.h"
#include "input/units.h"

#include <algorithm>
#include <optional>
#include <span>

namespace corvane {

namespace {

constexpr int WallGrid = 200;
constexpr int ProductGrid = 300;
constexpr int GridLists[] = {201, 206, 301, 302};

int EditorIndex(int g) {
    return g == ProductGrid ? 1 : 0;
}
int ResultRow(int g) {
    return g == ProductGrid ? 13 : 9;
}

// The outline button that is set: 200 (4 walls), 201 (6), 202 (8), 203 (free layout), or 0.
int Shape(const State& s) {
    for (int b : {200, 201, 202, 203})
        if (const Radio* r = s.radios.Find(b); r && r->value) return b;
    return 0;
}

// The section kinds of the fixed outlines are set by the outline, so their editing starts at
// the lengths; products and free sections start at the kind or group.
int FirstEditableRow(const State& s, int g) {
    return g == ProductGrid || Shape(s) == 203 ? 1 : 2;
}

void SetCellBack(Grid& grid, int r, int c, Colour colour) {
    if (grid.InRange(r, c)) grid.cells[r][c].backColour = colour;
}

void ClearColumn(const State& s, Grid& grid, int c) {
    for (int r = 0; r < grid.rows; ++r)
        grid.cells[r][c] = GridCell{QString(), s.colours.cellFore, s.colours.cellBack};
}

void AddColumn(State& s, Grid& grid, bool withCaption) {
    grid.Resize(grid.rows, grid.cols + 1);
    const int c = grid.cols - 1;
    ClearColumn(s, grid, c);
    if (withCaption && grid.rows > 0) grid.cells[0][c].text = QString::number(c - 1);
}

void HideGridLists(State& s) {
    for (int n : GridLists)
        if (OptionList* list = s.optionLists.Find(n); list && list->visible) {
            list->visible = false;
            s.MarkDirty(ControlKind::OptionList, n);
        }
    if (std::find(std::begin(GridLists), std::end(GridLists), s.openList) != std::end(GridLists))
        s.openList = -1;
}

// The cells a user has to fill for each outline: column, then its rows.
struct EntryCells {
    int column;
    std::initializer_list<int> rows;
};

void ColourEntryCells(const State& s, Grid& grid, int shape) {
    static const EntryCells rectangle[] = {{2, {2, 3, 5, 6}}, {4, {2}}, {6, {5, 6}}, {7, {5, 6}}};
    static const EntryCells sixWalls[] = {{2, {2, 3, 5, 6}}, {3, {2}},    {5, {2}},
                                          {6, {2}},          {8, {5, 6}}, {9, {5, 6}}};
    static const EntryCells eightWalls[] = {{2, {2, 3, 5, 6}}, {3, {2}}, {4, {2}},     {6, {2}},
                                            {7, {2}},          {8, {2}}, {10, {5, 6}}, {11, {5, 6}}};
    std::span<const EntryCells> cells;
    if (shape == 200)
        cells = rectangle;
    else if (shape == 201)
        cells = sixWalls;
    else if (shape == 202)
        cells = eightWalls;
    for (const EntryCells& e : cells)
        for (int r : e.rows)
            SetCellBack(grid, r, e.column, s.colours.focusBack);
}

// Section defaults: kind by position, the construction the language file names for the kind
// and its K factor, and the surrounding temperature (55 under the floor).
void FillSection(State& s, Grid& grid, int c, int kindIndex) {
    const QStringList& kinds = s.optionLists[201].items;
    const QStringList& constructions = s.optionLists[206].items;
    const float constants[] = {s.constants.defaultWallK, s.constants.defaultFloorK,
                               s.constants.defaultCeilingK};
    grid.cells[0][c].text = QString::number(c - 1);
    grid.cells[1][c].text = kinds.value(kindIndex);
    const int construction = RoundHalfEven(std::clamp(constants[kindIndex], -1.0f, 10000.0f));
    grid.cells[6][c].text = constructions.value(construction);
    WriteGridCell(s, WallGrid, 7, c, s.tableD.Cell(2, construction + 1));
    if (IsNumeric(GetFieldValue(s, 212)))
        WriteGridCell(s, WallGrid, 8, c, kindIndex == 1 ? QStringLiteral("55") : GetFieldValue(s, 212));
}

std::optional<double> CellNumber(const Grid& grid, int r, int c) {
    if (!IsNumeric(grid.Text(r, c))) return std::nullopt;
    return ReadNumber(grid.Text(r, c));
}

void SetCellNumber(Grid& grid, int r, int c, double v) {
    if (grid.InRange(r, c)) grid.cells[r][c].text = TextFromDouble(v);
}

void CopyCell(Grid& grid, int r, int from, int to) {
    if (grid.InRange(r, from) && grid.InRange(r, to)) grid.cells[r][to].text = grid.cells[r][from].text;
}

// Keeps the box outline consistent while its lengths are typed. Everything works on the
// texts as shown; a length that is not a number leaves the cells that depend on it alone.
void ApplyGeometry(State& s, Grid& grid, int r, int c) {
    const int shape = Shape(s);
    auto L = [&](int col) { return CellNumber(grid, 2, col); };
    if (shape == 200) {
        if (r == 2 && (c == 2 || c == 4)) {
            SetFieldValue(s, c == 2 ? 13 : 14, ReadGridCell(s, WallGrid, 2, c));
            for (int row : {2, 3, 4})
                CopyCell(grid, row, c, c + 1);
            // Wall 1 gives the length of floor and ceiling, wall 3 their width.
            for (int col : {6, 7})
                if (grid.InRange(c == 2 ? 2 : 3, col)) grid.cells[c == 2 ? 2 : 3][col].text = grid.Text(2, c);
            for (int col : {6, 7}) {
                const std::optional<double> length = CellNumber(grid, 2, col),
                                            width = CellNumber(grid, 3, col);
                if (length && width) SetCellNumber(grid, 4, col, *length * *width);
            }
        }
        if (r == 3 && c == 2) SetFieldValue(s, 15, ReadGridCell(s, WallGrid, 3, 2));
    } else if (shape == 201) {
        // L-shaped box: walls 1 and 4 are the full sides, walls 3 and 6 close the notch.
        if (r == 2 && (c == 2 || c == 5)) {
            if (L(c) && L(c + 1)) SetCellNumber(grid, 2, c + 2, *L(c) - *L(c + 1));
        } else if (r == 2 && (c == 3 || c == 6)) {
            if (L(c - 1) && L(c)) SetCellNumber(grid, 2, c + 1, *L(c - 1) - *L(c));
        }
        if (c < 7 && L(2) && L(5) && L(7) && L(4)) {
            const double area = *L(2) * *L(5) - *L(7) * *L(4);
            SetCellNumber(grid, 4, 8, area);
            SetCellNumber(grid, 4, 9, area);
        }
    } else if (shape == 202) {
        // U-shaped box: wall 4 and wall 8 are derived from the others.
        if (r == 2 && c >= 2 && c <= 4) {
            if (L(2) && L(3) && L(4)) SetCellNumber(grid, 2, 5, *L(2) - *L(3) - *L(4));
        } else if (r == 2 && c >= 6 && c <= 8) {
            if (L(6) && L(7) && L(8)) SetCellNumber(grid, 2, 9, *L(6) - *L(7) + *L(8));
        }
        if (c < 10 && L(2) && L(4) && L(5) && L(6) && L(7) && L(8)) {
            const double area = *L(2) * *L(6) - *L(7) * *L(4) - *L(5) * (*L(7) - *L(8));
            SetCellNumber(grid, 4, 10, area);
            SetCellNumber(grid, 4, 11, area);
        }
    }
    // Height and thickness typed for the first section hold for every section of its kind.
    if (shape >= 200 && shape <= 202 && c == 2 && (r == 3 || r == 5))
        for (int col = 3; col < grid.cols; ++col)
            if (grid.Text(1, col) == grid.Text(1, 2)) CopyCell(grid, r, 2, col);
}

// An emptied temperature cell gives the value back to the rules: its default again, in the
// normal text colour. A typed one is marked as the user's.
void ApplyOverride(State& s, int g, int r, int c) {
    GridCell& cell = s.grids[g].cells[r][c];
    if (!cell.text.isEmpty()) {
        SetCellOverridden(s, cell, true);
        return;
    }
    SetCellOverridden(s, cell, false);
    QString value;
    if (g == WallGrid)
        value = DefaultSectionTemperature(s, c);
    else if (IsNumeric(GetFieldValue(s, 312)))
        value = TextFromDouble(*ReadNumber(GetFieldValue(s, 312)) + (r == 4 ? 10 : 0));
    if (!value.isEmpty()) WriteGridCell(s, g, r, c, value);
}

void GoToCell(State& s, int g, int r, int c) {
    Grid& grid = s.grids[g];
    {
        FlagGuard navigating(s.gridEditing[EditorIndex(g)].navigating);
        grid.row = r;
        grid.col = c;
    }
    s.MarkDirty(ControlKind::Grid, g);
    MoveToCell(s, g);
}

int MeasuredWidth(State& s, const Grid& grid, int c) {
    int width = 0;
    for (int r = 0; r < grid.rows; ++r)
        width = std::max(width, s.platform.TextWidthTwips(QStringLiteral("SS") + grid.cells[r][c].text));
    return width;
}

int CappedWidth(const State& s, int width) {
    const int cap = s.constants.maxColumnWidth;
    return cap > 0 ? std::min(width, cap) : width;
}

} // namespace

void BuildWallGrid(State& s, int shapeButton) {
    s.WriteLog(QStringLiteral(">BuildWallGrid(") + QString::number(shapeButton) + QLatin1Char(')'));
    Grid& grid = s.grids[WallGrid];
    grid.visible = false;
    const bool free = shapeButton == 203;
    const int walls = shapeButton == 201 ? 6 : shapeButton == 202 ? 8 : 4;
    grid.fixedRows = free ? 1 : 2;
    grid.Resize(std::max(grid.rows, 10), free ? 3 : walls + 4);
    for (int c = 2; c < grid.cols; ++c)
        ClearColumn(s, grid, c);

    if (free) {
        grid.cells[0][2].text = QStringLiteral("1");
    } else {
        for (int c = 2; c <= walls + 3; ++c)
            FillSection(s, grid, c, c <= walls + 1 ? 0 : c == walls + 2 ? 1 : 2);
        // Floor and ceiling of the L and U outlines take their area from the walls.
        if (shapeButton == 201 || shapeButton == 202)
            for (int c : {walls + 2, walls + 3})
                for (int r : {2, 3})
                    grid.cells[r][c].text = QStringLiteral("N.A.");
        ColourEntryCells(s, grid, shapeButton);
    }

    State::GridEditing& editing = s.gridEditing[EditorIndex(WallGrid)];
    editing = State::GridEditing{};
    s.cellEditorVisible[EditorIndex(WallGrid)] = false;
    grid.row = free ? 1 : 2;
    grid.col = 2;
    grid.visible = true;
    s.MarkDirty(ControlKind::Grid, WallGrid);
    SizeTable(s, WallGrid);
}

void MoveToCell(State& s, int g) {
    if (g > 500) return;
    Grid* grid = s.grids.Find(g);
    if (!grid) return;
    const int index = EditorIndex(g);
    State::GridEditing& editing = s.gridEditing[index];
    const int r = grid->row, c = grid->col;
    if (editing.navigating || (r == editing.lastRow && c == editing.lastCol) || r == ResultRow(g)) return;
    if (!grid->InRange(r, c) || r < FirstEditableRow(s, g) || c < grid->fixedCols) return;
    editing.lastRow = r;
    editing.lastCol = c;

    s.WriteLog(QStringLiteral(">MoveToCell(") + QString::number(g) + QLatin1Char(')'));
    s.WriteLog(QStringLiteral("Row = ") + QString::number(r) + QStringLiteral(", Col = ") +
               QString::number(c));
    s.hintText = grid->hints.value(r);
    s.cellEditorVisible[index] = false;
    HideGridLists(s);
    s.MarkDirty(ControlKind::Grid, g);

    const int list = g + r;
    if (std::find(std::begin(GridLists), std::end(GridLists), list) != std::end(GridLists)) {
        if (list == 302) {
            OptionList& products = s.optionLists[302];
            products.items = ProductNamesOfGroup(s, grid->Text(1, c));
            products.selected = -1;
            products.width = ListWidthTwips(s, products.items);
            products.height = ListHeightTwips(products.items);
        }
        s.openList = list;
        OpenPicker(s, list);
        return;
    }
    {
        FlagGuard suppress(editing.suppress);
        s.cellEditorText[index] = grid->Text(r, c);
    }
    // The editor takes the focus at once; the cell it edits is known from here on even if
    // the view reports no new focus arrival for an editor that already had it.
    editing.row = r;
    editing.col = c;
    s.cellEditorVisible[index] = true;
}

void GridClick(State& s, int g, int row, int col) {
    Grid* grid = s.grids.Find(g);
    // The group row of the product grid is a header row that still opens its list.
    if (!grid || !grid->InRange(row, col) || row < FirstEditableRow(s, g) || col < grid->fixedCols) return;
    s.WriteLog(QStringLiteral(">MSFlexFrid_Click(") + QString::number(g) + QLatin1Char(')'));
    s.WriteLog(QStringLiteral("Row = ") + QString::number(row) + QStringLiteral(", Col = ") +
               QString::number(col));
    grid->row = row;
    grid->col = col;
    MoveToCell(s, g);
}

void GridGotFocus(State& s, int g) {
    s.WriteLog(QStringLiteral(">MSFlexGrid_GotFocus(") + QString::number(g) + QLatin1Char(')'));
    s.gridPagerVisible = false;
    s.cellEditorVisible = {false, false};
    for (auto& [n, list] : s.optionLists)
        if (list.visible) {
            list.visible = false;
            s.MarkDirty(ControlKind::OptionList, n);
        }
    s.openList = -1;
    // Nothing is open over the grid any more, so a click on the cell entered last must open
    // it again.
    for (State::GridEditing& editing : s.gridEditing)
        editing.lastRow = editing.lastCol = -1;
}

void GridPrevious(State& s, int g) {
    const Grid* grid = s.grids.Find(g);
    if (!grid || grid->cols < 3) return;
    int r = grid->row, c = grid->col;
    if (r > FirstEditableRow(s, g)) {
        --r;
    } else {
        r = grid->rows - 2;
        c = c <= 2 ? grid->cols - 1 : c - 1;
    }
    GoToCell(s, g, r, c);
}

void GridNext(State& s, int g) {
    const Grid* grid = s.grids.Find(g);
    if (!grid || grid->cols < 3) return;
    int r = grid->row, c = grid->col;
    if (r < grid->rows - 2) {
        ++r;
    } else {
        r = FirstEditableRow(s, g);
        c = c >= grid->cols - 1 ? 2 : c + 1;
    }
    GoToCell(s, g, r, c);
}

void CellEditorGotFocus(State& s, int g) {
    Grid* grid = s.grids.Find(g);
    if (!grid) return;
    State::GridEditing& editing = s.gridEditing[EditorIndex(g)];
    editing.row = grid->row;
    editing.col = grid->col;
    if (g == ProductGrid && grid->cols > 3) {
        s.frames[10].visible = true;
        s.MarkDirty(ControlKind::Frame, 10);
        s.productCommandColumn = grid->col;
    }
    s.WriteLog(QStringLiteral(">MSFlexText_GotFocus(") + QString::number(g) + QLatin1Char(')'));
    s.gridPagerVisible = false;
    s.hintText = grid->hints.value(grid->row);
}

void CellEditorLostFocus(State& s, int g) {
    s.frames[10].visible = false;
    s.MarkDirty(ControlKind::Frame, 10);
    State::GridEditing& editing = s.gridEditing[EditorIndex(g)];
    s.cellEditorVisible[EditorIndex(g)] = false;
    // Once the editor is gone, clicking its cell again must bring it back.
    editing.lastRow = editing.lastCol = -1;
}

void CellEditorChange(State& s, int g, const QString& text) {
    Grid* grid = s.grids.Find(g);
    if (!grid) return;
    const int index = EditorIndex(g);
    State::GridEditing& editing = s.gridEditing[index];
    s.cellEditorText[index] = text;
    if (editing.suppress) return;
    const int r = editing.row, c = editing.col;
    if (!grid->InRange(r, c) || r < 1 || c < 2 || r == ResultRow(g)) return;

    if (g == ProductGrid) {
        // Any edit makes the generic product the user's own: it no longer follows the box.
        if (grid->Text(0, 2) == s.strings[11]) grid->cells[0][2].text = QStringLiteral("1");
        if (grid->col == 2 && (grid->row == 1 || grid->row == 2)) {
            grid->cells[0][2].text = QString::number(grid->col - 1);
            if (grid->col == grid->cols - 1) AddColumn(s, *grid, false);
        }
    }
    grid->cells[r][c].text = text;
    if ((g == WallGrid && r == 8) || (g == ProductGrid && (r == 4 || r == 5))) ApplyOverride(s, g, r, c);
    if (g == WallGrid) ApplyGeometry(s, *grid, r, c);
    s.MarkDirty(ControlKind::Grid, g);

    SizeColumn(s, g, c);
    if (g == WallGrid) CheckAddSection(s);
    MarkJobModified(s);
    Calculate(s);
}

void CheckAddSection(State& s) {
    s.WriteLog(QStringLiteral(">CheckAddWallSection"));
    Grid& grid = s.grids[WallGrid];
    // The fixed outlines keep their sections; only the free layout grows.
    if (Shape(s) != 203 || grid.col != grid.cols - 1) return;
    AddColumn(s, grid, true);
    s.MarkDirty(ControlKind::Grid, WallGrid);
}

void CheckAddProduct(State& s) {
    s.WriteLog(QStringLiteral(">CheckAddProductSection"));
    Grid& grid = s.grids[ProductGrid];
    if (grid.col != grid.cols - 1) return;
    AddColumn(s, grid, true);
    StartProductColumn(s, grid.cols - 1);
    s.MarkDirty(ControlKind::Grid, ProductGrid);
}

void StartProductColumn(State& s, int c) {
    const Grid* grid = s.grids.Find(ProductGrid);
    if (!grid || c < 2 || c >= grid->cols || grid->rows < 7) return;
    // The generic product's pull-down time, so that a product picked here counts at once;
    // entering and final temperatures follow the box like every product's.
    WriteGridCell(s, ProductGrid, 6, c, QStringLiteral("24"));
    const QString box = GetFieldValue(s, 312);
    if (!IsNumeric(box)) return;
    const double t = *ReadNumber(box);
    WriteGridCell(s, ProductGrid, 4, c, TextFromDouble(t + 10));
    WriteGridCell(s, ProductGrid, 5, c, TextFromDouble(t));
}

void SizeColumn(State& s, int g, int c) {
    s.WriteLog(QStringLiteral(">AutoSizeColumn(") + QString::number(g) + QStringLiteral(", ") +
               QString::number(c) + QLatin1Char(')'));
    Grid* grid = s.grids.Find(g);
    if (!grid || c < 0 || c >= grid->cols) return;
    grid->columnWidths[c] = CappedWidth(s, std::max(500, MeasuredWidth(s, *grid, c)));
    s.MarkDirty(ControlKind::Grid, g);
}

void SizeTable(State& s, int g) {
    s.WriteLog(QStringLiteral(">AutoSizeTable(") + QString::number(g) + QLatin1Char(')'));
    Grid* grid = s.grids.Find(g);
    if (!grid) return;
    for (int c = 0; c < grid->cols; ++c)
        grid->columnWidths[c] = CappedWidth(s, MeasuredWidth(s, *grid, c));
    s.MarkDirty(ControlKind::Grid, g);
}

QString DefaultSectionTemperature(const State& s, int col) {
    const QString surrounding = GetFieldValue(s, 212);
    if (!IsNumeric(surrounding)) return QString();
    const double t = *ReadNumber(surrounding);
    const QString kind = s.grids[WallGrid].Text(1, col);
    const QStringList& kinds = s.optionLists[201].items;
    const bool indoor = s.radios[100].value;
    if (kinds.size() > 0 && kind == kinds[0]) return TextFromDouble(indoor ? t : t + 4);
    if (kinds.size() > 1 && kind == kinds[1]) return QStringLiteral("55");
    if (kinds.size() > 2 && kind == kinds[2]) return TextFromDouble(indoor ? t : t + 9);
    return QString();
}

} // namespace corvane
