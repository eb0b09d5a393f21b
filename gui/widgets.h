#pragma once

#include "definitions/controls.h"

#include <QAbstractButton>
#include <QColor>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPointer>

class QTimer;

namespace corvane {

// Positions and sizes are kept in twips by the core; the view draws 15 twips to the pixel.
constexpr int TwipsPerPixel = 15;

// The window's font: the platform's, at a size dense enough for a data-entry form. The grids
// measure their columns in it, before and after the window exists.
QFont WindowFont();

// Colour = red + 256 green + 65536 blue.
inline QColor ToQColor(Colour c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}
inline Colour FromQColor(const QColor& c) {
    return RGBColour(c.red(), c.green(), c.blue());
}

// A label that reports a click: unit labels, links, the thumbnail logo.
class ClickLabel : public QLabel {
    Q_OBJECT
  public:
    explicit ClickLabel(QWidget* parent = nullptr);

  Q_SIGNALS:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// The rectangle drawn behind a command button; shown for the button of the page on view, it
// gives that button its raised look.
class ShadowBox : public QWidget {
    Q_OBJECT
  public:
    explicit ShadowBox(QWidget* parent = nullptr);
    void SetColours(const QColor& back, const QColor& fore);
    void SetText(const QString& text);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor m_back, m_fore;
    QString m_text;
};

// A command button drawn as a flat panel in its own colours; the shadow box follows it.
class CommandButton : public QAbstractButton {
    Q_OBJECT
  public:
    explicit CommandButton(QWidget* parent = nullptr);
    void SetShadow(ShadowBox* shadow);
    void SetColours(const QColor& back, const QColor& fore, const QColor& hover);
    void SetAlignment(Qt::Alignment alignment);
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void PlaceShadow();
    QPointer<ShadowBox> m_shadow;
    QColor m_back = Qt::white, m_fore = Qt::black, m_hover = Qt::blue;
    Qt::Alignment m_alignment = Qt::AlignCenter;
    bool m_hovered = false;
};

// A page-turn arrow: one picture normally, another while it holds the focus.
class ArrowButton : public QAbstractButton {
    Q_OBJECT
  public:
    ArrowButton(const QPixmap& normal, const QPixmap& focused, bool forward, QWidget* parent = nullptr);
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QPixmap m_normal, m_focused;
    bool m_forward;
};

// A page container: its back colour and a one-pixel border in the page border colour.
class PagePanel : public QFrame {
    Q_OBJECT
  public:
    explicit PagePanel(QWidget* parent = nullptr);
    void SetColours(const QColor& back, const QColor& border);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor m_back = Qt::white, m_border = Qt::gray;
};

// A thin separator line.
class UnderlineBar : public QWidget {
    Q_OBJECT
  public:
    explicit UnderlineBar(QWidget* parent = nullptr);
    void SetColour(const QColor& colour);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor m_colour = Qt::gray;
};

// The error banner: an outer frame, an inner frame and the text of the failed checks, as high
// as the lines it lists. While active it blinks (the two frames swap red and black every
// second tick).
class ErrorBanner : public QFrame {
    Q_OBJECT
  public:
    explicit ErrorBanner(QWidget* parent = nullptr);
    void SetText(const QString& text);
    void SetActive(bool active);
    bool Active() const;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void Tick();
    void ApplyColours();
    void PlaceText();
    void FitLines(int lines);
    QFrame* m_inner;
    QLabel* m_text;
    QTimer* m_timer;
    int m_ticks = 0;
    int m_offset = 0;
    int m_lines = 0;
    bool m_swapped = false;
};

// The wall-geometry sketches: the outline of the chosen box shape, the current wall drawn in
// the selection colour.
class ShapeSketch : public QWidget {
    Q_OBJECT
  public:
    explicit ShapeSketch(QWidget* parent = nullptr);
    // shape 0 rectangle, 1 L, 2 U; wall = current wall 1..n, 0 for none.
    void SetShape(int shape, int wall, const QColor& back, const QColor& line, const QColor& selected);
    QSize sizeHint() const override { return QSize(132, 100); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int m_shape = 0, m_wall = 0;
    QColor m_back = Qt::white, m_line = Qt::black, m_selected = Qt::red;
};

} // namespace corvane
