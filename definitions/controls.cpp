#include "definitions/controls.h"

namespace corvane {

QString KindName(ControlKind kind) {
    switch (kind) {
    case ControlKind::TextBox: return QStringLiteral("TEXTBOX");
    case ControlKind::Label: return QStringLiteral("LABEL");
    case ControlKind::UnitLabel: return QStringLiteral("UNITS");
    case ControlKind::OptionList: return QStringLiteral("OPTIONLIST");
    case ControlKind::ValueList: return QStringLiteral("OPTIONVALUE");
    case ControlKind::ListButton: return QStringLiteral("ListButton");
    case ControlKind::Button: return QStringLiteral("BUTT");
    case ControlKind::Shadow: return QStringLiteral("SHADOW");
    case ControlKind::Frame: return QStringLiteral("CFRAME");
    case ControlKind::Page: return QStringLiteral("FRAME");
    case ControlKind::Radio: return QStringLiteral("RADIO");
    case ControlKind::Check: return QStringLiteral("CHECK");
    case ControlKind::Link: return QStringLiteral("HYPERLINK");
    case ControlKind::SpecLink: return QStringLiteral("SPECLINK");
    case ControlKind::Grid: return QStringLiteral("GRID");
    case ControlKind::Underline: return QStringLiteral("UNDERLINE");
    }
    return QString();
}

MissingControl::MissingControl(ControlKind k, int n)
    : std::out_of_range((KindName(k) + QLatin1Char(' ') + QString::number(n) + QStringLiteral(" does not exist")).toStdString()),
      kind(k), number(n) {}

void Grid::Resize(int newRows, int newCols) {
    newRows = std::max(0, newRows);
    newCols = std::max(0, newCols);
    cells.resize(newRows);
    for (auto& r : cells) r.resize(newCols, GridCell{QString(), colours.fore, colours.back});
    rows = newRows;
    cols = newCols;
    columnWidths.resize(newCols, 1000);
    if (row >= rows) row = std::max(0, rows - 1);
    if (col >= cols) col = std::max(0, cols - 1);
}

GridCell& Grid::Cell(int r, int c) {
    if (!InRange(r, c)) throw std::out_of_range("grid cell out of range");
    return cells[r][c];
}

const GridCell& Grid::Cell(int r, int c) const {
    if (!InRange(r, c)) throw std::out_of_range("grid cell out of range");
    return cells[r][c];
}

} // namespace corvane
