#include "gui/candidatemodel.h"

#include "definitions/state.h"
#include "gui/widgets.h"

#include <QBrush>

namespace corvane {

CandidateModel::CandidateModel(const State& s, int grid, QObject* parent)
    : QAbstractTableModel(parent), m_s(s), m_grid(grid) {
    if (const Grid* g = m_s.grids.Find(m_grid)) {
        m_rows = g->rows;
        m_cols = g->cols;
    }
}

int CandidateModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_rows; }

int CandidateModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_cols; }

QVariant CandidateModel::data(const QModelIndex& index, int role) const {
    const Grid* g = m_s.grids.Find(m_grid);
    const int r = index.row(), c = index.column();
    if (!g || !g->InRange(r, c)) return QVariant();
    const bool fixed = r < g->fixedRows || c < g->fixedCols;
    switch (role) {
    case Qt::DisplayRole: return g->Text(r, c);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::Alignment(Qt::AlignCenter));
    case Qt::BackgroundRole: return QBrush(ToQColor(fixed ? g->colours.backFixed : g->BackColour(r, c)));
    case Qt::ForegroundRole: return QBrush(ToQColor(fixed ? g->colours.foreFixed : g->ForeColour(r, c)));
    default: return QVariant();
    }
}

void CandidateModel::Refresh() {
    const Grid* g = m_s.grids.Find(m_grid);
    const int rows = g ? g->rows : 0, cols = g ? g->cols : 0;
    // Rows and columns come and go at the end, so the view keeps its place in the list.
    if (rows < m_rows) {
        beginRemoveRows(QModelIndex(), rows, m_rows - 1);
        m_rows = rows;
        endRemoveRows();
    } else if (rows > m_rows) {
        beginInsertRows(QModelIndex(), m_rows, rows - 1);
        m_rows = rows;
        endInsertRows();
    }
    if (cols < m_cols) {
        beginRemoveColumns(QModelIndex(), cols, m_cols - 1);
        m_cols = cols;
        endRemoveColumns();
    } else if (cols > m_cols) {
        beginInsertColumns(QModelIndex(), m_cols, cols - 1);
        m_cols = cols;
        endInsertColumns();
    }
    if (m_rows > 0 && m_cols > 0) Q_EMIT dataChanged(index(0, 0), index(m_rows - 1, m_cols - 1));
}

} // namespace corvane
