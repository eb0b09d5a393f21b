#include "report/printfile.h"

#include "definitions/state.h"
#include "report/geometrysketch.h"
#include "report/printform.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace corvane {

namespace {

constexpr int MaxLoggedFailures = 50;

QColor ColourOf(int value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

Qt::BrushStyle BrushOf(int fillStyle) {
    switch (fillStyle) {
    case 0:
        return Qt::SolidPattern;
    case 2:
        return Qt::HorPattern;
    case 3:
        return Qt::VerPattern;
    case 4:
        return Qt::BDiagPattern;
    case 5:
        return Qt::FDiagPattern;
    case 6:
        return Qt::CrossPattern;
    case 7:
        return Qt::DiagCrossPattern;
    default:
        return Qt::NoBrush;
    }
}

QString TargetName(PrintTarget target) {
    switch (target) {
    case PrintTarget::Printer:
        return QStringLiteral("Printer");
    case PrintTarget::PageImage:
        return QStringLiteral("ImageBuilder");
    case PrintTarget::Pdf:
        return QStringLiteral("PdfWriter");
    }
    return QString();
}

class FormDrawer {
  public:
    FormDrawer(State& s, const PrintForm& form, QPainter& painter, const PageInfo& page)
        : m_s(s), m_form(form), m_p(painter), m_page(page) {
        QPaintDevice* device = painter.device();
        m_raster = device->devType() == QInternal::Image || device->devType() == QInternal::Pixmap;
        const double w = form.width, h = form.height;
        m_sx = device->width() / (1.05 * w);
        m_sy = device->height() / (1.05 * h);
        m_left = -0.025 * w;
        m_top = -0.025 * h;
        m_dpi = device->logicalDpiX();
        m_fontFactor = 6.0 * 1440.0 / w;
    }

    void Draw() {
        m_p.save();
        m_p.setBackgroundMode(Qt::TransparentMode);
        m_p.setRenderHint(QPainter::TextAntialiasing, true);
        m_p.setRenderHint(QPainter::SmoothPixmapTransform, true);
        for (const FormStep& step : m_form.steps) {
            try {
                std::visit([&](const auto& what) { Step(step.line, what); }, step.what);
            } catch (const std::exception& e) {
                Fail(step.line, QString::fromStdString(e.what()));
            }
        }
        m_p.restore();
    }

  private:
    double X(double x) const { return Snap((x - m_left) * m_sx); }
    double Y(double y) const { return Snap((y - m_top) * m_sy); }
    // Raster pages put edges on whole pixels, so a box covers exactly its pixels.
    double Snap(double v) const { return m_raster ? std::round(v) : v; }
    double PenWidth(int lineWidth) const {
        const double w = lineWidth * m_dpi / 96.0;
        return m_raster ? std::max(1.0, std::round(w)) : w;
    }

    void Fail(int line, const QString& what) {
        ++m_failures;
        if (m_failures > MaxLoggedFailures) return;
        m_s.WriteLog(QStringLiteral("**** Printer Error :- ") + FormatProblem(FormProblem{FileName(), line, what}));
        if (m_failures == MaxLoggedFailures)
            m_s.WriteLog(QStringLiteral("**** Printer Error :- ") + FileName() +
                         QStringLiteral(": further failures on this page are not logged"));
    }
    QString FileName() const { return m_form.file; }

    // A box drawn as four lines inside it, so it covers exactly its width and height.
    void DrawBox(const QRectF& box, const QBrush& fill, const QColor& line, double pen) {
        if (box.width() <= 0 || box.height() <= 0) return;
        m_p.setRenderHint(QPainter::Antialiasing, false);
        if (fill.style() != Qt::NoBrush) m_p.fillRect(box, fill);
        const double tx = std::min(pen, box.width() / 2), ty = std::min(pen, box.height() / 2);
        m_p.fillRect(QRectF(box.left(), box.top(), box.width(), ty), line);
        m_p.fillRect(QRectF(box.left(), box.bottom() - ty, box.width(), ty), line);
        m_p.fillRect(QRectF(box.left(), box.top(), tx, box.height()), line);
        m_p.fillRect(QRectF(box.right() - tx, box.top(), tx, box.height()), line);
    }

    void Step(int, const ShapeStep& shape) {
        const QColor line = ColourOf(shape.lineColour);
        const QBrush fill(ColourOf(shape.fillColour), BrushOf(shape.fillStyle));
        const double pen = PenWidth(shape.lineWidth);
        if (shape.kind == ShapeKind::Line) {
            m_p.setRenderHint(QPainter::Antialiasing, !m_raster);
            m_p.setPen(QPen(line, pen, Qt::SolidLine, Qt::SquareCap));
            m_p.drawLine(QPointF(X(shape.a), Y(shape.b)), QPointF(X(shape.c), Y(shape.d)));
            return;
        }
        const double left = X(shape.a), top = Y(shape.b);
        const double width = X(shape.a + shape.c) - left, height = Y(shape.b + shape.d) - top;
        // Equal sides on the device, so squares and circles look so on the page.
        const double side = std::min(width, height);
        switch (shape.kind) {
        case ShapeKind::Rectangle:
            return DrawBox(QRectF(left, top, width, height), fill, line, pen);
        case ShapeKind::Square:
            return DrawBox(QRectF(left, top, side, side), fill, line, pen);
        default:
            break;
        }
        const QRectF box = shape.kind == ShapeKind::Oval
                               ? QRectF(left, top, width, height)
                               : QRectF(left + (width - side) / 2, top + (height - side) / 2, side, side);
        if (box.width() <= 0 || box.height() <= 0) return;
        m_p.setRenderHint(QPainter::Antialiasing, true);
        m_p.setPen(QPen(line, pen));
        m_p.setBrush(fill);
        m_p.drawEllipse(box.adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2));
        m_p.setBrush(Qt::NoBrush);
    }

    void Step(int line, const PictureStep& picture) {
        const QRectF box(QPointF(X(picture.x), Y(picture.y)),
                         QPointF(X(picture.x + picture.width), Y(picture.y + picture.height)));
        if (box.isEmpty()) return;
        if (picture.name == PictureName::Geometry) {
            const int shape = ChosenShape();
            if (shape < 0) return Fail(line, QStringLiteral("GEOMETRY: no box shape is chosen"));
            m_p.setRenderHint(QPainter::Antialiasing, true);
            DrawGeometrySketch(m_p, box, shape, m_dpi);
            return;
        }
        if (m_s.printLogoPicture.isEmpty())
            return Fail(line, QStringLiteral("PRINTLOGO: the language file names no print logo"));
        // Loaded from disk each time, so a new logo shows without a restart.
        const QImage logo(m_s.printLogoPicture);
        if (logo.isNull())
            return Fail(
                line,
                QStringLiteral("PRINTLOGO: the picture '%1' cannot be loaded").arg(m_s.printLogoPicture));
        QSizeF size = QSizeF(logo.size()).scaled(box.size(), Qt::KeepAspectRatio);
        const QRectF at(box.left() + (box.width() - size.width()) / 2,
                        box.top() + (box.height() - size.height()) / 2, size.width(), size.height());
        m_p.drawImage(at, logo);
    }

    QFont FontOf(const TextStep& t) const {
        QFont font(t.font);
        font.setPointSizeF(std::max(0.5, t.size * m_fontFactor));
        font.setBold(t.bold);
        font.setItalic(t.italic);
        font.setUnderline(t.underline);
        return font;
    }

    void Step(int line, const TextStep& t) {
        const CodeText code = FormatFieldCode(m_s, t.code, m_page);
        if (!code.Ok()) return Fail(line, code.error);
        if (code.text.isEmpty()) return;
        const QFont font = FontOf(t);
        m_p.setFont(font);
        m_p.setPen(ColourOf(t.colour));
        m_p.setRenderHint(QPainter::Antialiasing, true);
        const QFontMetricsF metrics(font, m_p.device());
        if (t.kind != TextKind::Wrapped) {
            QString text = code.text;
            text.replace(QLatin1String("\r\n"), QLatin1String(" "))
                .replace(QLatin1Char('\n'), QLatin1Char(' '));
            double x = X(t.x);
            if (t.kind == TextKind::RightAligned) x -= metrics.horizontalAdvance(text);
            m_p.drawText(QPointF(x, Y(t.y) + metrics.ascent()), text);
            return;
        }
        DrawWrapped(t, font, code.text);
    }

    // The wrapped text: lines as wide as the box; the line that reaches the box's bottom is
    // the last one printed.
    void DrawWrapped(const TextStep& t, const QFont& font, QString text) {
        text.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
        text.replace(QLatin1Char('\n'), QChar::LineSeparator);
        const double top = Y(t.y), bottom = Y(t.y + t.height);
        const double width = X(t.x + t.width) - X(t.x);
        if (width <= 0) return;
        QTextLayout layout(text, font, m_p.device());
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        double y = top;
        while (true) {
            QTextLine line = layout.createLine();
            if (!line.isValid()) break;
            line.setLineWidth(width);
            line.setPosition(QPointF(0, y - top));
            y += line.height();
            if (y >= bottom - 1e-6) break;
        }
        layout.endLayout();
        layout.draw(&m_p, QPointF(X(t.x), top));
    }

    int ChosenShape() const {
        for (int n = 200; n <= 204; ++n)
            if (const Radio* r = m_s.radios.Find(n); r && r->value) return n - 200;
        return -1;
    }

    State& m_s;
    const PrintForm& m_form;
    QPainter& m_p;
    PageInfo m_page;
    bool m_raster = false;
    double m_sx = 1, m_sy = 1, m_left = 0, m_top = 0, m_dpi = 96, m_fontFactor = 1;
    int m_failures = 0;
};

} // namespace

void DrawPrintForm(State& s, const PrintForm& form, QPainter& painter, const PageInfo& page) {
    int logged = 0;
    for (const FormProblem& problem : form.problems)
        if (++logged <= MaxLoggedFailures)
            s.WriteLog(QStringLiteral("**** Printer Error :- ") + FormatProblem(problem));
    if (!form.usable || !painter.isActive()) return;
    FormDrawer(s, form, painter, page).Draw();
}

void PrintFile(State& s, const QString& formPath, QPainter& painter, PrintTarget target,
               const PageInfo& page) {
    const bool printer = target == PrintTarget::Printer;
    s.WriteLog(QStringLiteral(">PrintFile ") + formPath + QStringLiteral(", ") + TargetName(target) +
               QStringLiteral(", MLINE, ") + (printer ? QStringLiteral("True") : QStringLiteral("False")));
    const PrintForm form = ReadPrintFormFile(formPath);
    DrawPrintForm(s, form, painter, page);
}

} // namespace corvane
