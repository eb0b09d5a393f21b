#include "calc/loads.h"

#include "calc/calcsupport.h"
#include "definitions/state.h"
#include "definitions/values.h"

#include <algorithm>

namespace corvane {

namespace {

using calc::Divide;
using calc::FieldNumber;

constexpr int ProductGrid = 300;

// The first product column holds the generic product until the user names a product of his
// own: it is refilled from table C's first row, with a mass that follows the box volume.
void RefreshGenericProduct(State& s, Grid& grid) {
    const QString generic = s.strings[11];
    const QString heading = grid.Text(0, 2);
    if (!heading.isEmpty() && heading != generic) return;
    if (!calc::FieldHoldsNumber(s, 213) || !calc::FieldHoldsNumber(s, 312) || s.tableC.RowCount() < 1) return;
    const DataTable& c = s.tableC;
    grid.cells[0][2].text = generic;
    // Table C column -> grid row.
    for (const auto& [row, column] : {std::pair{1, 1}, {2, 2}, {10, 3}, {7, 4}, {8, 5}, {9, 6}, {11, 7}})
        WriteGridCell(s, ProductGrid, row, 2, c.Cell(column, 1));
    const double volume = FieldNumber(s, 213);
    const double perVolume = FieldNumber(s, 312) < s.constants.defaultWeightT ? s.constants.defaultWeightK2
                                                                              : s.constants.defaultWeightK1;
    WriteGridCell(s, ProductGrid, 3, 2, TextFromDouble(volume * perVolume));
    WriteGridCell(s, ProductGrid, 6, 2, QStringLiteral("24"));
    WriteGridCell(s, ProductGrid, 12, 2, QStringLiteral("1"));
    ApplyBoxTemperature(s);
}

struct Product {
    double mass, entering, final, hours, freezing, heatAbove, heatBelow, water, stored, count;
};

// A product counts when every quantity it needs is a number and its count is positive; the
// freezing point may be left empty (the product never freezes).
std::optional<Product> ReadProduct(const State& s, int c) {
    double v[13] = {};
    for (int r = 3; r <= 12; ++r) {
        const QString text = ReadGridCell(s, ProductGrid, r, c);
        if (IsNumeric(text))
            v[r] = *ReadNumber(text);
        else if (r != 7)
            return std::nullopt;
        else
            v[r] = -1000;
    }
    if (v[12] <= 0) return std::nullopt;
    return Product{v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11], v[12]};
}

} // namespace

void CalculateProductLoad(State& s) {
    s.WriteLog(QStringLiteral(">CalculateProductLoad()"));
    Grid& grid = s.grids[ProductGrid];
    if (grid.rows < 14 || grid.cols < 3) return;
    RefreshGenericProduct(s, grid);
    if (!calc::FieldHoldsNumber(s, 103)) return;

    const double runTime = FieldNumber(s, 12);
    double totalMass = 0, totalDaily = 0;
    for (int c = 2; c < grid.cols; ++c) {
        const std::optional<Product> p = ReadProduct(s, c);
        if (!p) {
            WriteGridCell(s, ProductGrid, 13, c, QStringLiteral("0"));
            continue;
        }
        const double latent = p->water * s.constants.latentConstant / 100;
        auto perDay = [&](double heat) { return Divide(heat * p->count * 24, p->hours); };
        double cool = 0, freeze = 0, subcool = 0;
        // A pull-down time of 0 or less leaves only the stored heat.
        if (p->hours > 0) {
            if (p->entering > p->freezing) {
                cool = perDay((p->entering - std::max(p->final, p->freezing)) * p->mass * p->heatAbove);
                if (p->final <= p->freezing) freeze = perDay(latent * p->mass);
            }
            if (p->final < p->freezing)
                subcool = perDay((std::min(p->entering, p->freezing) - p->final) * p->mass * p->heatBelow);
        }
        const double daily = freeze + cool + subcool + p->stored * p->mass;
        s.WriteLog(QStringLiteral("Column ") + QString::number(c));
        s.WriteLog(QStringLiteral("Qcool     = ") + TextFromDouble(cool));
        s.WriteLog(QStringLiteral("Qfreeze   = ") + TextFromDouble(freeze));
        s.WriteLog(QStringLiteral("Qsubcool  = ") + TextFromDouble(subcool));
        WriteGridCell(s, ProductGrid, 13, c, calc::ResultText(s, Divide(daily, runTime)));
        totalMass += p->mass;
        totalDaily += daily;
    }
    s.MarkDirty(ControlKind::Grid, ProductGrid);
    SetFieldValue(s, 313, calc::ResultTextSingle(s, RoundHundredths(static_cast<float>(totalMass))));
    if (!IsOverridden(s, 314))
        SetFieldValue(s, 314, calc::ResultText(s, calc::RoundHalfUp(Divide(totalDaily, runTime))));
}

void ApplyBoxTemperature(State& s) {
    const QString stored = GetFieldValue(s, 312);
    if (!IsNumeric(stored)) return;
    const double t = ReadNumber(stored).value_or(0.0);
    const Grid& grid = s.grids[ProductGrid];
    for (int c = 2; c < grid.cols; ++c) {
        // Products arrive a little warmer than the box and are cooled down to it.
        if (!CellOverridden(s, grid, 4, c)) WriteGridCell(s, ProductGrid, 4, c, TextFromDouble(t + 10));
        if (!CellOverridden(s, grid, 5, c)) WriteGridCell(s, ProductGrid, 5, c, TextFromDouble(t));
    }
}

} // namespace corvane
