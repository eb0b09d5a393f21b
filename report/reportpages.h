#pragma once

#include "base/platform.h"
#include "report/printfile.h"

#include <QDateTime>
#include <QImage>
#include <QString>

class QPagedPaintDevice;

namespace corvane {

class State;

inline constexpr int ReportPageCount = 2;
// Page images are pictures of the paper at this resolution, so they read like the print.
inline constexpr int PageImageDpi = 150;

// The print form of page 1 or 2, as the language file names it, in the data folder.
QString PrintFormPath(const State& s, int page);

// Both pages onto a printer or a PDF: page 1, a new page, page 2 ("Page 1 of 2", "Page 2 of
// 2"). False, with the reason, when the device cannot be drawn on.
bool DrawReport(State& s, QPagedPaintDevice& device, PrintTarget target, QString* error);

// Page p of the report as an image of the paper's shape, white behind the drawing.
QImage PageImage(State& s, int page, Paper paper, const QDateTime& made = QDateTime::currentDateTime());
QSize PageImageSize(Paper paper);

// The name the page images are built from: "Smith.bmp", "Smith.Page_1.bmp" and
// "Smith.Page_2.bmp" all give "Smith." (the user may pick an earlier page image).
QString PageImageBase(const QString& chosen);
// base + "Page_" + page + ".bmp"
QString PageImageName(const QString& base, int page);

// Writes both page images, each replacing an older image only when complete. No questions are
// asked; false with the reason when a file cannot be written (an image already written stays).
bool WritePageImages(State& s, const QString& base, Paper paper, QString* error);
// Writes the report as one two-page PDF with its texts as text; an older file is replaced only
// by a complete new one.
bool WriteReportPdf(State& s, const QString& path, Paper paper, QString* error);

} // namespace corvane
