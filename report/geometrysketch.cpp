#include "report/geometrysketch.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
#include <cmath>
#include <vector>

namespace corvane {

namespace {

struct Side {
    QPointF from, to;
    int wall; // 0: not a numbered section
};

// Outlines in unit coordinates (the plan is 1 wide and `aspect` high).
std::vector<Side> Outline(int shape, double* aspect) {
    *aspect = 0.75;
    switch (shape) {
    case 1:
        *aspect = 1.0;
        return {{{0, 0}, {1, 0}, 1},    {{1, 0}, {1, .5}, 5}, {{1, .5}, {.5, .5}, 3},
                {{.5, .5}, {.5, 1}, 6}, {{.5, 1}, {0, 1}, 2}, {{0, 1}, {0, 0}, 4}};
    case 2:
        *aspect = 0.8;
        return {{{0, 0}, {1, 0}, 1},     {{1, 0}, {1, 1}, 8},       {{1, 1}, {.7, 1}, 4},
                {{.7, 1}, {.7, .45}, 7}, {{.7, .45}, {.3, .45}, 3}, {{.3, .45}, {.3, 1}, 6},
                {{.3, 1}, {0, 1}, 2},    {{0, 1}, {0, 0}, 5}};
    case 3:
    case 4:
        // No walls by number: the box is described by its sections or its dimensions only.
        return {{{0, 0}, {1, 0}, 0}, {{1, 0}, {1, 1}, 0}, {{1, 1}, {0, 1}, 0}, {{0, 1}, {0, 0}, 0}};
    default:
        return {{{0, 0}, {1, 0}, 1}, {{1, 0}, {1, 1}, 3}, {{1, 1}, {0, 1}, 2}, {{0, 1}, {0, 0}, 4}};
    }
}

} // namespace

void DrawGeometrySketch(QPainter& p, const QRectF& box, int shape, double dpi) {
    double aspect = 1;
    const std::vector<Side> sides = Outline(shape, &aspect);
    // Room around the outline for the wall numbers.
    const double pad = std::min(box.width(), box.height()) * 0.14;
    const QRectF room = box.adjusted(pad, pad, -pad, -pad);
    if (room.width() <= 0 || room.height() <= 0) return;
    double w = room.width(), h = w * aspect;
    if (h > room.height()) {
        h = room.height();
        w = h / aspect;
    }
    const QRectF plan(room.center().x() - w / 2, room.center().y() - h / 2, w, h);
    const auto map = [&](QPointF u) { return QPointF(plan.left() + u.x() * w, plan.top() + u.y() * h); };

    p.save();
    QPolygonF outline;
    for (const Side& side : sides)
        outline << map(side.from);
    const double pen = std::max(1.0, 1.5 * dpi / 96.0);
    p.setPen(QPen(QColor(40, 70, 110), pen, shape == 3 ? Qt::DashLine : Qt::SolidLine, Qt::SquareCap,
                  Qt::MiterJoin));
    p.setBrush(QColor(226, 236, 246));
    p.drawPolygon(outline);

    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(7);
    p.setFont(font);
    const QFontMetricsF metrics(font, p.device());
    p.setPen(QColor(40, 70, 110));
    for (const Side& side : sides) {
        if (side.wall == 0) continue;
        // The wall number sits just outside the side it names.
        const QPointF a = map(side.from), b = map(side.to);
        const QPointF along = b - a;
        QPointF normal(along.y(), -along.x());
        const double length = std::hypot(normal.x(), normal.y());
        if (length > 0) normal /= length;
        const QPointF at = (a + b) / 2 + normal * (metrics.height() * 0.8);
        const QString number = QString::number(side.wall);
        const QRectF label(at.x() - metrics.height(), at.y() - metrics.height() / 2, 2 * metrics.height(),
                           metrics.height());
        p.drawText(label, Qt::AlignCenter, number);
    }
    p.restore();
}

} // namespace corvane
