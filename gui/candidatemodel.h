#pragma once

#include <QAbstractTableModel>

namespace corvane {

class State;

// A candidate list of the equipment page as the view shows it: the grid's rows and texts read
// from the state when a row comes into sight, so a list of thousands of models costs no more
// to show than the rows on screen.
class CandidateModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    CandidateModel(const State& s, int grid, QObject* parent);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // The grid changed: its new rows, or new texts in the same rows.
    void Refresh();

  private:
    const State& m_s;
    int m_grid;
    int m_rows = 0;
    int m_cols = 0;
};

} // namespace corvane
