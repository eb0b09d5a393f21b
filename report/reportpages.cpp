#include "report/reportpages.h"

#include "base/safefile.h"
#include "definitions/state.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace corvane {

namespace {

QPageSize PageSizeOf(Paper paper) {
    return QPageSize(paper == Paper::Letter ? QPageSize::Letter : QPageSize::A4);
}

// A PDF keeps the unprinted border a printer would, so a page looks the same from both.
constexpr double PdfMarginMillimetres = 6.35;

} // namespace

QString PrintFormPath(const State& s, int page) {
    return s.dataFolder + (page == 1 ? s.printForm1 : s.printForm2);
}

bool DrawReport(State& s, QPagedPaintDevice& device, PrintTarget target, QString* error) {
    QPainter painter;
    if (!painter.begin(&device)) {
        *error = QStringLiteral("the page cannot be drawn on");
        s.WriteLog(QStringLiteral("**** Printer Error :- ") + *error);
        return false;
    }
    PageInfo info;
    info.count = ReportPageCount;
    for (int page = 1; page <= ReportPageCount; ++page) {
        if (page > 1 && !device.newPage()) {
            *error = QStringLiteral("a new page cannot be started");
            s.WriteLog(QStringLiteral("**** Printer Error :- ") + *error);
            painter.end();
            return false;
        }
        info.page = page;
        PrintFile(s, PrintFormPath(s, page), painter, target, info);
    }
    return painter.end();
}

QSize PageImageSize(Paper paper) {
    return PageSizeOf(paper).sizePixels(PageImageDpi);
}

QImage PageImage(State& s, int page, Paper paper, const QDateTime& made) {
    QImage image(PageImageSize(paper), QImage::Format_RGB32);
    const int dotsPerMetre = qRound(PageImageDpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    QPainter painter(&image);
    PageInfo info;
    info.page = page;
    info.count = ReportPageCount;
    info.made = made;
    PrintFile(s, PrintFormPath(s, page), painter, PrintTarget::PageImage, info);
    return image;
}

QString PageImageBase(const QString& chosen) {
    QString base = chosen.left(chosen.size() - 3);
    const QString lower = base.toLower();
    if (lower.endsWith(QLatin1String(".page_1.")) || lower.endsWith(QLatin1String(".page_2."))) base.chop(7);
    return base;
}

QString PageImageName(const QString& base, int page) {
    return base + QStringLiteral("Page_") + QString::number(page) + QStringLiteral(".bmp");
}

bool WritePageImages(State& s, const QString& base, Paper paper, QString* error) {
    for (int page = 1; page <= ReportPageCount; ++page) {
        const QString refused = CheckWriteTarget(PageImageName(base, page));
        if (!refused.isEmpty()) {
            *error = refused;
            return false;
        }
    }
    const QDateTime made = QDateTime::currentDateTime();
    for (int page = 1; page <= ReportPageCount; ++page) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "bmp");
        if (!writer.write(PageImage(s, page, paper, made))) {
            *error = writer.errorString();
            return false;
        }
        if (!WriteFileSafely(PageImageName(base, page), buffer.data(), error)) return false;
    }
    return true;
}

bool WriteReportPdf(State& s, const QString& path, Paper paper, QString* error) {
    const QString refused = CheckWriteTarget(path);
    if (!refused.isEmpty()) {
        *error = refused;
        return false;
    }
    // Drawn in memory first: the file is replaced only by a complete document.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(PageSizeOf(paper));
        writer.setPageMargins(
            QMarginsF(PdfMarginMillimetres, PdfMarginMillimetres, PdfMarginMillimetres, PdfMarginMillimetres),
            QPageLayout::Millimeter);
        writer.setCreator(s.baseTitle);
        const TextBox* customer = s.textBoxes.Find(0);
        writer.setTitle(customer && !customer->text.isEmpty() ? customer->text : s.baseTitle);
        if (!DrawReport(s, writer, PrintTarget::Pdf, error)) return false;
    }
    return WriteFileSafely(path, buffer.data(), error);
}

} // namespace corvane
