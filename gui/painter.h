#pragma once

#include "definitions/state.h"

#include <utility>

class QTableView;
class QTableWidget;
class QWidget;

namespace corvane {

// Brings one widget in line with the control of the state it shows. The painter only copies:
// texts, visibility, colours, fonts, checked states, cells. Positions are the window's business.
class ControlPainter {
  public:
    explicit ControlPainter(const State& s) : m_s(s) {}

    // Until the language file has given captions, each control shows its own name and number,
    // so an unfinished window is still complete to look at.
    void SetFallbackCaptions(bool on) { m_fallback = on; }
    bool FallbackCaptions() const { return m_fallback; }
    static bool CaptionsMissing(const State& s);

    void Paint(ControlKind kind, int n, QWidget* widget) const;

  private:
    void PaintTextBox(int n, QWidget* w) const;
    void PaintLabel(int n, QWidget* w) const;
    void PaintUnitLabel(int n, QWidget* w) const;
    void PaintList(int n, QWidget* w) const;
    void PaintButton(int n, QWidget* w) const;
    void PaintShadow(int n, QWidget* w) const;
    void PaintFrame(int n, QWidget* w) const;
    void PaintPage(int n, QWidget* w) const;
    void PaintRadio(int n, QWidget* w) const;
    void PaintCheck(int n, QWidget* w) const;
    void PaintLink(const Link& link, const QString& name, QWidget* w) const;
    void PaintGrid(int n, QWidget* w) const;
    void PaintGridItems(const Grid& grid, QTableWidget* table) const;
    void PaintUnderline(int n, QWidget* w) const;
    QString Caption(const QString& caption, const char* kind, int n) const;

    const State& m_s;
    bool m_fallback = false;
};

// Small helpers that change a widget only when the value differs, so a repaint of an
// unchanged control costs nothing and does not disturb the user's caret or selection.
void SetVisible(QWidget* w, bool visible);
void SetColours(QWidget* w, int backRole, Colour back, int foreRole, Colour fore);
void SetBold(QWidget* w, bool bold);
void SetToolTip(QWidget* w, const QString& tip);
// Makes a grid exactly as high as its rows (the candidate grids show at most eight), plus the
// horizontal scroll bar while one is needed.
void FitGridHeight(QTableView* table);
// Back and text colour of the highlighted entry of a list drawn in back and fore.
std::pair<Colour, Colour> ListHighlight(const StoredColours& colours, Colour back, Colour fore);

} // namespace corvane
