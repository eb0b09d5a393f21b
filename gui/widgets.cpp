#include "gui/widgets.h"

#include "definitions/colourfile.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QTimer>
#include <array>
#include <cmath>

namespace corvane {

QFont WindowFont() {
    QFont font = QApplication::font();
    font.setPointSizeF(8);
    return font;
}

ClickLabel::ClickLabel(QWidget* parent) : QLabel(parent) {}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) Q_EMIT clicked();
}

ShadowBox::ShadowBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShadowBox::SetColours(const QColor& back, const QColor& fore) {
    if (back == m_back && fore == m_fore) return;
    m_back = back;
    m_fore = fore;
    update();
}

void ShadowBox::SetText(const QString& text) {
    if (text == m_text) return;
    m_text = text;
    update();
}

void ShadowBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(m_back);
    p.drawRoundedRect(QRectF(rect()), 4, 4);
    if (!m_text.isEmpty()) {
        p.setPen(m_fore);
        p.drawText(rect(), Qt::AlignCenter, m_text);
    }
}

CommandButton::CommandButton(QWidget* parent) : QAbstractButton(parent) {
    // Every command is reached with Tab and run with Space or Enter.
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void CommandButton::SetShadow(ShadowBox* shadow) {
    m_shadow = shadow;
    PlaceShadow();
}

void CommandButton::SetColours(const QColor& back, const QColor& fore, const QColor& hover) {
    if (back == m_back && fore == m_fore && hover == m_hover) return;
    m_back = back;
    m_fore = fore;
    m_hover = hover;
    update();
}

void CommandButton::SetAlignment(Qt::Alignment alignment) {
    if (alignment == m_alignment) return;
    m_alignment = alignment;
    update();
}

QSize CommandButton::sizeHint() const {
    const QFontMetrics fm(font());
    return QSize(fm.horizontalAdvance(text()) + 24, fm.height() + 10);
}

void CommandButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QColor fill = m_back;
    if (isDown())
        fill = fill.darker(112);
    else if (m_hovered)
        fill = fill.lighter(104);
    QColor edge = m_back.lightness() > 128 ? m_back.darker(135) : m_back.lighter(180);
    p.setPen(QPen(edge, 1));
    p.setBrush(fill);
    p.drawRoundedRect(box, 4, 4);
    p.setPen(m_hovered ? m_hover : m_fore);
    const QRect textRect = rect().adjusted(4, 0, -4, 0);
    p.drawText(textRect, static_cast<int>(m_alignment | Qt::AlignVCenter), text());
    if (hasFocus()) {
        // A ring of our own: the style draws its focus frame only after a key has moved the
        // focus, and the first page button holds the focus from the start. The ring takes the
        // hover colour, which the scheme chose to stand out on the button, else the text colour.
        const QColor ring = ContrastRatio(FromQColor(m_hover), FromQColor(m_back)) >= 3.0 ? m_hover : m_fore;
        p.setPen(QPen(ring, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(rect()).adjusted(2, 2, -2, -2), 3, 3);
    }
}

void CommandButton::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void CommandButton::PlaceShadow() {
    if (!m_shadow) return;
    // The shadow sits slightly right of and below its button, which gives the raised look.
    m_shadow->setGeometry(geometry().translated(3, 3));
    m_shadow->stackUnder(this);
}

void CommandButton::moveEvent(QMoveEvent* event) {
    QAbstractButton::moveEvent(event);
    PlaceShadow();
}

void CommandButton::resizeEvent(QResizeEvent* event) {
    QAbstractButton::resizeEvent(event);
    PlaceShadow();
}

void CommandButton::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    m_hovered = true;
    update();
}

void CommandButton::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    m_hovered = false;
    update();
}

ArrowButton::ArrowButton(const QPixmap& normal, const QPixmap& focused, bool forward, QWidget* parent)
    : QAbstractButton(parent), m_normal(normal), m_focused(focused), m_forward(forward) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

QSize ArrowButton::sizeHint() const {
    if (!m_normal.isNull()) return m_normal.deviceIndependentSize().toSize();
    return QSize(24, 24);
}

void ArrowButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPixmap& picture = hasFocus() && !m_focused.isNull() ? m_focused : m_normal;
    if (!picture.isNull()) {
        const QSize size = picture.deviceIndependentSize().toSize().scaled(this->size(), Qt::KeepAspectRatio);
        const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
        p.drawPixmap(target, picture);
        return;
    }
    // Without the pictures the arrow is drawn, so the page can still be turned.
    const QRectF r = QRectF(rect()).adjusted(2, 2, -2, -2);
    p.setPen(Qt::NoPen);
    p.setBrush(hasFocus() ? palette().highlight() : palette().mid());
    p.drawEllipse(r);
    QPolygonF head;
    const qreal cx = r.center().x(), cy = r.center().y(), d = r.width() / 4;
    if (m_forward)
        head << QPointF(cx - d / 2, cy - d) << QPointF(cx + d, cy) << QPointF(cx - d / 2, cy + d);
    else
        head << QPointF(cx + d / 2, cy - d) << QPointF(cx - d, cy) << QPointF(cx + d / 2, cy + d);
    p.setBrush(Qt::white);
    p.drawPolygon(head);
}

void ArrowButton::keyPressEvent(QKeyEvent* event) {
    // Enter on an arrow that holds the focus turns the page, as a click does.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

PagePanel::PagePanel(QWidget* parent) : QFrame(parent) {
    setFocusPolicy(Qt::ClickFocus);
}

void PagePanel::SetColours(const QColor& back, const QColor& border) {
    if (back == m_back && border == m_border) return;
    m_back = back;
    m_border = border;
    update();
}

void PagePanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(m_border, 1));
    p.setBrush(m_back);
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
}

UnderlineBar::UnderlineBar(QWidget* parent) : QWidget(parent) {
    setFixedHeight(3);
}

void UnderlineBar::SetColour(const QColor& colour) {
    if (colour == m_colour) return;
    m_colour = colour;
    update();
}

void UnderlineBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(QPen(m_colour, 1));
    p.drawLine(0, height() / 2, width(), height() / 2);
}

ErrorBanner::ErrorBanner(QWidget* parent)
    : QFrame(parent), m_inner(new QFrame(this)), m_text(new QLabel(m_inner)), m_timer(new QTimer(this)) {
    setAutoFillBackground(true);
    m_inner->setAutoFillBackground(true);
    m_text->setObjectName(QStringLiteral("EBANNER"));
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_text->setMargin(4);
    m_text->setWordWrap(true);
    QFont bold = m_text->font();
    bold.setBold(true);
    m_text->setFont(bold);
    QPalette text = m_text->palette();
    text.setColor(QPalette::WindowText, Qt::white);
    m_text->setPalette(text);
    m_timer->setInterval(100);
    connect(m_timer, &QTimer::timeout, this, &ErrorBanner::Tick);
    FitLines(1);
    ApplyColours();
}

void ErrorBanner::SetText(const QString& text) {
    if (text == m_text->text()) return;
    m_text->setText(text);
    m_lines = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        if (!line.trimmed().isEmpty()) ++m_lines;
    m_offset = 0;
    FitLines(m_lines);
    PlaceText();
}

void ErrorBanner::FitLines(int lines) {
    // As high as the list of failures, so that every one of them is read at a glance.
    const QFontMetrics metrics(m_text->font());
    setFixedHeight(std::max(1, lines) * metrics.lineSpacing() + 2 * m_text->margin() + 2 * 4);
}

void ErrorBanner::SetActive(bool active) {
    if (active == m_timer->isActive()) return;
    if (active) {
        m_ticks = 0;
        m_timer->start();
    } else {
        m_timer->stop();
        m_swapped = false;
        m_offset = 0;
        ApplyColours();
        PlaceText();
    }
}

bool ErrorBanner::Active() const {
    return m_timer->isActive();
}

void ErrorBanner::Tick() {
    show();
    raise();
    ++m_ticks;
    if (m_ticks % 2 == 0) {
        m_swapped = !m_swapped;
        ApplyColours();
    }
}

void ErrorBanner::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    PlaceText();
}

void ErrorBanner::ApplyColours() {
    // The text sits on the inner frame: its red is dark enough for white text to read.
    const QColor red(255, 0, 0), darkRed(176, 0, 0), black(0, 0, 0);
    QPalette outer = palette();
    outer.setColor(QPalette::Window, m_swapped ? black : red);
    setPalette(outer);
    QPalette inner = m_inner->palette();
    inner.setColor(QPalette::Window, m_swapped ? darkRed : black);
    m_inner->setPalette(inner);
}

void ErrorBanner::PlaceText() {
    m_inner->setGeometry(rect().adjusted(4, 4, -4, -4));
    const int view = m_inner->height();
    const int text = std::max(m_text->heightForWidth(m_inner->width()), m_text->sizeHint().height());
    // The text scrolls up out of the frame and then comes back in from the bottom edge; one
    // round is the text's height plus the frame's.
    if (m_offset >= text + view) m_offset = 0;
    const int top = m_offset <= text ? -m_offset : view - (m_offset - text);
    m_text->setGeometry(0, top, m_inner->width(), std::max(text, view));
}

ShapeSketch::ShapeSketch(QWidget* parent) : QWidget(parent) {}

void ShapeSketch::SetShape(int shape, int wall, const QColor& back, const QColor& line,
                           const QColor& selected) {
    if (shape == m_shape && wall == m_wall && back == m_back && line == m_line && selected == m_selected)
        return;
    m_shape = shape;
    m_wall = wall;
    m_back = back;
    m_line = line;
    m_selected = selected;
    update();
}

namespace {

struct Side {
    QPointF from, to;
    int wall;
};

// Outlines in unit coordinates, each side numbered as its wall column of the wall grid.
std::vector<Side> Outline(int shape) {
    switch (shape) {
    case 1:
        return {{{0, 0}, {1, 0}, 1},    {{1, 0}, {1, .5}, 5}, {{1, .5}, {.5, .5}, 3},
                {{.5, .5}, {.5, 1}, 6}, {{.5, 1}, {0, 1}, 2}, {{0, 1}, {0, 0}, 4}};
    case 2:
        return {{{0, 0}, {1, 0}, 1},      {{1, 0}, {1, .8}, 8},      {{1, .8}, {.7, .8}, 4},
                {{.7, .8}, {.7, .45}, 7}, {{.7, .45}, {.3, .45}, 3}, {{.3, .45}, {.3, 1}, 6},
                {{.3, 1}, {0, 1}, 2},     {{0, 1}, {0, 0}, 5}};
    default:
        return {{{0, 0}, {1, 0}, 1}, {{1, 0}, {1, 1}, 3}, {{1, 1}, {0, 1}, 2}, {{0, 1}, {0, 0}, 4}};
    }
}

} // namespace

void ShapeSketch::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(m_line, 1));
    p.setBrush(m_back);
    p.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    const QRectF area = QRectF(rect()).adjusted(22, 16, -22, -16);
    const auto map = [&](QPointF u) {
        return QPointF(area.left() + u.x() * area.width(), area.top() + u.y() * area.height());
    };
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    p.setFont(small);
    for (const Side& side : Outline(m_shape)) {
        const QPointF a = map(side.from), b = map(side.to);
        const bool current = side.wall == m_wall;
        p.setPen(QPen(current ? m_selected : m_line, current ? 3 : 1.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(a, b);
        // The wall number sits just outside the side it names.
        const QPointF mid = (a + b) / 2;
        const QPointF along = b - a;
        QPointF normal(along.y(), -along.x());
        const qreal length = std::hypot(normal.x(), normal.y());
        if (length > 0) normal /= length;
        const QPointF at = mid + normal * 9;
        p.setPen(current ? m_selected : m_line);
        p.drawText(QRectF(at.x() - 10, at.y() - 8, 20, 16), Qt::AlignCenter, QString::number(side.wall));
    }
}

} // namespace corvane
