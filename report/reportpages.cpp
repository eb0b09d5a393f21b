#include "report/reportpages.h"

#include "definitions/state.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

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

bool WritableFilePath(const QString& path, QString* error) {
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        *error = QStringLiteral("'%1' exists and is not a file").arg(path);
        return false;
    }
    return true;
}

bool WritePageImages(State& s, const QString& base, Paper paper, QString* error) {
    for (int page = 1; page <= ReportPageCount; ++page)
        if (!WritableFilePath(PageImageName(base, page), error)) return false;
    const QDateTime made = QDateTime::currentDateTime();
    for (int page = 1; page <= ReportPageCount; ++page) {
        const QString name = PageImageName(base, page);
        const QImage image = PageImage(s, page, paper, made);
        QSaveFile file(name);
        if (!file.open(QIODevice::WriteOnly)) {
            *error = file.errorString() + QStringLiteral(": ") + name;
            return false;
        }
        QImageWriter writer(&file, "bmp");
        if (!writer.write(image)) {
            *error = writer.errorString() + QStringLiteral(": ") + name;
            file.cancelWriting();
            return false;
        }
        if (!file.commit()) {
            *error = file.errorString() + QStringLiteral(": ") + name;
            return false;
        }
    }
    return true;
}

bool WriteReportPdf(State& s, const QString& path, Paper paper, QString* error) {
    if (!WritableFilePath(path, error)) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString() + QStringLiteral(": ") + path;
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setPageSize(PageSizeOf(paper));
        writer.setPageMargins(
            QMarginsF(PdfMarginMillimetres, PdfMarginMillimetres, PdfMarginMillimetres, PdfMarginMillimetres),
            QPageLayout::Millimeter);
        writer.setCreator(s.baseTitle);
        const TextBox* customer = s.textBoxes.Find(0);
        writer.setTitle(customer && !customer->text.isEmpty() ? customer->text : s.baseTitle);
        if (!DrawReport(s, writer, PrintTarget::Pdf, error)) {
            file.cancelWriting();
            return false;
        }
    }
    if (!file.commit()) {
        *error = file.errorString() + QStringLiteral(": ") + path;
        return false;
    }
    return true;
}

} // namespace corvane
