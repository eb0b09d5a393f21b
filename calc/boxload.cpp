#include "calc/loads.h"

#include "calc/calcsupport.h"
#include "definitions/state.h"
#include "definitions/values.h"

namespace corvane {

namespace {

using calc::Divide;
using calc::FieldNumber;

constexpr int WallGrid = 200;

// Area = length x height of the texts as shown; the length switch keeps both in one unit
// system, so the area is in the matching unit. A non-numeric length leaves the area alone.
void UpdateArea(Grid& grid, int c) {
    if (!IsNumeric(grid.Text(2, c)) || !IsNumeric(grid.Text(3, c))) return;
    grid.cells[4][c].text = TextFromDouble(*ReadNumber(grid.Text(2, c)) * *ReadNumber(grid.Text(3, c)));
}

// The box volume of an outline with `walls` walls: floor area times the mean wall height,
// from the texts as shown. Empty when a needed cell is not a number.
std::optional<double> OutlineVolume(const Grid& grid, int walls) {
    const int floor = walls + 2;
    if (grid.cols <= floor || !IsNumeric(grid.Text(4, floor))) return std::nullopt;
    double heights = 0;
    for (int c = 2; c <= walls + 1; ++c) {
        if (!IsNumeric(grid.Text(3, c))) return std::nullopt;
        heights += ReadNumber(grid.Text(3, c)).value_or(0.0);
    }
    return ReadNumber(grid.Text(4, floor)).value_or(0.0) * heights / walls;
}

void UpdateVolume(State& s, const Grid& grid) {
    if (IsOverridden(s, 213)) return;
    int walls = 0;
    if (s.radios[200].value)
        walls = 4;
    else if (s.radios[201].value)
        walls = 6;
    else if (s.radios[202].value)
        walls = 8;
    if (walls == 0) return;
    const std::optional<double> volume = OutlineVolume(grid, walls);
    if (!volume) return;
    // The volume is written as shown text, in the unit the grid's lengths imply; the entry
    // rule derives the stored value from it.
    s.SetText(213, calc::ResultTextSingle(s, RoundHundredths(static_cast<float>(*volume))));
    ApplyEntryRule(s, 213);
}

bool IsSectionKind(const State& s, const QString& kind) {
    const QStringList& kinds = s.optionLists[201].items;
    for (int i = 0; i < 4 && i < kinds.size(); ++i)
        if (kinds[i] == kind) return true;
    return false;
}

} // namespace

void CalculateBoxLoad(State& s) {
    s.WriteLog(QStringLiteral(">CalculateBoxLoad()"));
    Grid& grid = s.grids[WallGrid];
    if (grid.rows < 10) return;
    for (int c = 2; c < grid.cols; ++c)
        UpdateArea(grid, c);
    UpdateVolume(s, grid);

    const double runTime = FieldNumber(s, 12);
    double total = 0;
    if (calc::FieldHoldsNumber(s, 103)) {
        const double box = FieldNumber(s, 103);
        double difference = 0; // a section of unknown kind reuses the last difference
        for (int c = 2; c < grid.cols; ++c) {
            UpdateArea(grid, c);
            bool counted = false;
            if (IsNumeric(grid.Text(4, c)) && IsNumeric(grid.Text(5, c)) && IsNumeric(grid.Text(7, c)) &&
                IsNumeric(grid.Text(8, c))) {
                const double area = NumberFromText(ReadGridCell(s, WallGrid, 4, c));
                const double thickness = NumberFromText(ReadGridCell(s, WallGrid, 5, c));
                const double k = NumberFromText(ReadGridCell(s, WallGrid, 7, c));
                const double farSide = NumberFromText(ReadGridCell(s, WallGrid, 8, c));
                if (IsSectionKind(s, grid.Text(1, c))) difference = farSide - box;
                // A section without thickness has no insulation to conduct through: it
                // counts as not yet filled in.
                if (thickness != 0) {
                    const double daily = difference * area * 24 * k / thickness;
                    WriteGridCell(s, WallGrid, 9, c, calc::ResultText(s, Divide(daily, runTime)));
                    total += daily;
                    counted = true;
                }
            }
            if (!counted) WriteGridCell(s, WallGrid, 9, c, QStringLiteral("0"));
        }
        s.MarkDirty(ControlKind::Grid, WallGrid);
    }
    if (!IsOverridden(s, 214))
        SetFieldValue(s, 214, calc::ResultText(s, calc::RoundHalfUp(Divide(total, runTime))));
}

} // namespace corvane
