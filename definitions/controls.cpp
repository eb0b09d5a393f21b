#include "definitions/controls.h"

#include "base/numbertext.h"

#include <cmath>

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

namespace {

// Capacities are mostly whole numbers, whose text needs no locale.
QString CapacityText(float capacity) {
    if (capacity == std::floor(capacity) && std::fabs(capacity) < 1e7f)
        return QString::number(static_cast<qint64>(capacity));
    return TextFromSingle(capacity);
}

} // namespace

QString CandidateText(const CandidateRow& row, int r, int c, const std::vector<ProductRow>* products) {
    if (!products || row.product < 1 || row.product >= static_cast<int>(products->size())) return QString();
    const ProductRow& product = (*products)[static_cast<std::size_t>(row.product)];
    switch (c) {
    case 0: return QString::number(r);
    case 1: return CapacityText(row.capacity);
    case 2: return product.fields[2];   // the model name the user sees
    case 3: return product.fields[1];
    case 4: return product.fields[3];   // data-sheet file
    case 5: return QString::number(product.record);
    default: return QString();
    }
}

void Grid::MakeCells(int r) const {
    std::vector<GridCell>& row = cells[static_cast<std::size_t>(r)];
    row.resize(static_cast<std::size_t>(cols), m_newCell);
    m_numbered[static_cast<std::size_t>(r)] = 0;
    for (int c = 0; c < cols; ++c)
        row[static_cast<std::size_t>(c)].text = CandidateText(m_candidates[static_cast<std::size_t>(r)], r, c, m_products);
}

void Grid::Resize(int newRows, int newCols) {
    newRows = std::max(0, newRows);
    newCols = std::max(0, newCols);
    for (int r = 0; r < std::min(rows, newRows); ++r)
        if (Numbered(r)) MakeCells(r);
    m_numbered.clear();
    m_candidates.clear();
    m_products = nullptr;
    cells.resize(newRows);
    for (auto& r : cells) r.resize(newCols, GridCell{QString(), colours.fore, colours.back});
    rows = newRows;
    cols = newCols;
    columnWidths.resize(newCols, 1000);
    if (row >= rows) row = std::max(0, rows - 1);
    if (col >= cols) col = std::max(0, cols - 1);
}

void Grid::WriteCandidates(std::vector<CandidateRow> candidates, int columns, const std::vector<ProductRow>* products) {
    const int newRows = static_cast<int>(candidates.size());
    const int newCols = std::max(0, columns);
    m_candidates = std::move(candidates);
    m_products = products;
    m_numbered.assign(m_candidates.size(), 1);
    m_newCell = GridCell{QString(), colours.fore, colours.back};
    cells.resize(static_cast<std::size_t>(newRows));   // rows that had cells keep them
    rows = newRows;
    cols = newCols;
    columnWidths.resize(newCols, 1000);
    if (row >= rows) row = std::max(0, rows - 1);
    if (col >= cols) col = std::max(0, cols - 1);
}

void Grid::ReleaseProducts(const std::vector<ProductRow>* products) {
    if (!m_products || m_products != products) return;
    for (int r = 0; r < rows; ++r)
        if (Numbered(r)) MakeCells(r);
    m_candidates.clear();
    m_numbered.clear();
    m_products = nullptr;
}

GridCell& Grid::Cell(int r, int c) {
    if (!InRange(r, c)) throw std::out_of_range("grid cell out of range");
    if (Numbered(r)) MakeCells(r);
    return cells[r][c];
}

const GridCell& Grid::Cell(int r, int c) const {
    if (!InRange(r, c)) throw std::out_of_range("grid cell out of range");
    if (Numbered(r)) MakeCells(r);
    return cells[r][c];
}

Colour Grid::ForeColour(int r, int c) const {
    if (!InRange(r, c)) return colours.fore;
    const auto& row = cells[static_cast<std::size_t>(r)];
    return c < static_cast<int>(row.size()) ? row[static_cast<std::size_t>(c)].foreColour : m_newCell.foreColour;
}

Colour Grid::BackColour(int r, int c) const {
    if (!InRange(r, c)) return colours.back;
    const auto& row = cells[static_cast<std::size_t>(r)];
    return c < static_cast<int>(row.size()) ? row[static_cast<std::size_t>(c)].backColour : m_newCell.backColour;
}

} // namespace corvane
