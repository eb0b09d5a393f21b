#pragma once

#include <QRectF>

class QPainter;

namespace corvane {

// The plan of the box for the report: the outline of the chosen shape (0 rectangular, 1 L,
// 2 U, 3 free layout, 4 dimensions only), each wall numbered as its section of the wall grid,
// scaled into the box keeping its proportions.
void DrawGeometrySketch(QPainter& painter, const QRectF& box, int shape, double dpi);

} // namespace corvane
