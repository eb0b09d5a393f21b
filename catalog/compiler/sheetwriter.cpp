// Draws the data sheets and the catalogue as A4 PDF documents with vector text.

#include "catalog.h"
#include "sheetplan.h"

#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>
#include <thread>

namespace catalogc {

namespace {

constexpr double kPageWidth = 210, kPageHeight = 297; // A4, mm
constexpr double kMargin = 18, kFooterHeight = 12;
constexpr double kLabelColumn = 62;                    // facts: label column width
constexpr double kRowLabelColumn = 34, kMinColumn = 17, kMaxColumn = 26;

const QColor kInk(0x20, 0x20, 0x20), kMuted(0x60, 0x60, 0x60), kAccent(0x1F, 0x4E, 0x79),
    kShade(0xEC, 0xF1, 0xF6), kRule(0xA0, 0xA8, 0xB0);

// One face throughout: every face a PDF uses is embedded, and embedding costs more than drawing
// a whole sheet. Size and colour set headings apart.
QFont Font(double points) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setHintingPreference(QFont::PreferNoHinting); // hinting is for screens
    return font;
}

// A cursor over the pages of one document, in millimetres from the paper's corner. Without a
// painter it only counts pages, so that the catalogue knows its page numbers before it draws.
class Canvas {
public:
    Canvas(QPdfWriter& device, QPainter* painter) : m_device(device), m_painter(painter) {}

    double y = kMargin;
    int page = 1;
    QString footerLeft, footerRight, header;
    bool numbered = false;              // the footer's right side shows the page number

    double Bottom() const { return kPageHeight - kMargin - kFooterHeight; }
    double Width() const { return kPageWidth - 2 * kMargin; }

    void NewPage() {
        FinishPage();
        if (m_painter && !m_newPageFailed)
            m_newPageFailed = !m_device.newPage();
        ++page;
        y = kMargin;
        StartPage();
    }
    bool Failed() const { return m_newPageFailed; }

    // Leaves room for `height` mm, starting a page when the rest of this one is too short.
    void Need(double height) {
        if (y + height > Bottom() && y > Top())
            NewPage();
    }

    double Top() const { return kMargin + (header.isEmpty() ? 0 : 9); }

    void StartPage() {
        if (header.isEmpty())
            return;
        Text({kMargin, kMargin, Width(), 5}, Qt::AlignLeft | Qt::AlignVCenter, header, Font(8), kMuted);
        Rule(kMargin + 6.5, kRule, 0.2);
        y = Top();
    }

    void FinishPage() {
        const double top = kPageHeight - kMargin - 6;
        Rule(top, kRule, 0.2);
        Text({kMargin, top + 1.2, Width(), 5}, Qt::AlignLeft | Qt::AlignVCenter, footerLeft, Font(8), kMuted);
        Text({kMargin, top + 1.2, Width(), 5}, Qt::AlignRight | Qt::AlignVCenter,
             numbered ? QStringLiteral("Page ") + QString::number(page) : footerRight, Font(8), kMuted);
    }

    void Text(const QRectF& mm, int flags, const QString& text, const QFont& font, const QColor& colour = kInk) {
        if (!m_painter || text.isEmpty())
            return;
        m_painter->setFont(font);
        m_painter->setPen(colour);
        m_painter->drawText(ToDevice(mm), flags, text);
    }

    QString Elided(const QString& text, const QFont& font, double width) const {
        return QFontMetricsF(font, &m_device).elidedText(text, Qt::ElideRight, width * Scale());
    }

    // Height in mm of `text` wrapped into `width` mm.
    double WrappedHeight(const QString& text, const QFont& font, double width) const {
        const QFontMetricsF metrics(font, &m_device);
        const QRectF box = metrics.boundingRect(QRectF(0, 0, width * Scale(), 1e9), Qt::TextWordWrap, text);
        return box.height() / Scale();
    }

    void Rule(double atY, const QColor& colour, double thickness) {
        if (!m_painter)
            return;
        m_painter->setPen(QPen(colour, thickness * Scale()));
        m_painter->drawLine(QPointF(kMargin, atY) * Scale(), QPointF(kMargin + Width(), atY) * Scale());
    }

    void Fill(const QRectF& mm, const QColor& colour) {
        if (m_painter)
            m_painter->fillRect(ToDevice(mm), colour);
    }

private:
    double Scale() const { return m_device.logicalDpiX() / 25.4; }
    QRectF ToDevice(const QRectF& mm) const {
        const double s = Scale();
        return {mm.x() * s, mm.y() * s, mm.width() * s, mm.height() * s};
    }

    QPdfWriter& m_device;
    QPainter* m_painter;
    bool m_newPageFailed = false;
};

void DrawTableBand(Canvas& c, const SheetTable& table, qsizetype firstColumn, qsizetype columnCount) {
    const double rowHeight = 6, width = c.Width();
    const double column = std::clamp((width - kRowLabelColumn) / static_cast<double>(columnCount), kMinColumn,
                                     kMaxColumn);
    const double right = kMargin + kRowLabelColumn + column * static_cast<double>(columnCount);
    const auto header = [&] {
        c.Fill({kMargin, c.y, right - kMargin, 2 * rowHeight}, kShade);
        c.Text({kMargin + kRowLabelColumn, c.y, right - kMargin - kRowLabelColumn, rowHeight}, Qt::AlignCenter,
               table.columnHeading, Font(8.5), kMuted);
        c.Text({kMargin + 1.5, c.y + rowHeight, kRowLabelColumn - 3, rowHeight}, Qt::AlignLeft | Qt::AlignVCenter,
               table.corner, Font(8.5));
        for (qsizetype i = 0; i < columnCount; ++i)
            c.Text({kMargin + kRowLabelColumn + column * static_cast<double>(i), c.y + rowHeight, column - 2, rowHeight},
                   Qt::AlignRight | Qt::AlignVCenter, table.columns[firstColumn + i], Font(8.5));
        c.y += 2 * rowHeight;
    };
    c.Need(3 * rowHeight);
    header();
    for (qsizetype row = 0; row < table.rows.size(); ++row) {
        if (c.y + rowHeight > c.Bottom()) {
            c.NewPage();
            header();
        }
        if (row % 2 == 1)
            c.Fill({kMargin, c.y, right - kMargin, rowHeight}, QColor(0xF7, 0xF7, 0xF7));
        c.Text({kMargin + 1.5, c.y, kRowLabelColumn - 3, rowHeight}, Qt::AlignLeft | Qt::AlignVCenter,
               table.rows[row], Font(9));
        const QStringList& cells = table.cells[static_cast<std::size_t>(row)];
        for (qsizetype i = 0; i < columnCount; ++i)
            c.Text({kMargin + kRowLabelColumn + column * static_cast<double>(i), c.y, column - 2, rowHeight},
                   Qt::AlignRight | Qt::AlignVCenter, cells[firstColumn + i], Font(9));
        c.y += rowHeight;
    }
    c.y += 4;
}

// One model: heading, facts, capacity table. A table wider or longer than a page goes on in
// bands of columns and on further pages.
void DrawSheet(Canvas& c, const DataSheet& sheet) {
    const double width = c.Width();
    c.Need(40);
    c.Text({kMargin, c.y, width, 12}, Qt::AlignLeft | Qt::AlignVCenter, sheet.model, Font(22), kAccent);
    c.y += 13;
    const double titleHeight = c.WrappedHeight(sheet.seriesTitle, Font(11), width);
    c.Text({kMargin, c.y, width, titleHeight}, Qt::TextWordWrap, sheet.seriesTitle, Font(11));
    c.y += titleHeight + 3;
    c.Rule(c.y, kAccent, 0.5);
    c.y += 5;

    for (const SheetFact& fact : sheet.facts) {
        const double height = std::max(6.0, c.WrappedHeight(fact.value, Font(10), width - kLabelColumn) + 1.5);
        c.Need(height);
        c.Text({kMargin, c.y, kLabelColumn, 6}, Qt::AlignLeft | Qt::AlignVCenter, fact.label, Font(10), kMuted);
        c.Text({kMargin + kLabelColumn, c.y + 0.75, width - kLabelColumn, height}, Qt::TextWordWrap, fact.value,
               Font(10));
        c.y += height;
    }
    c.y += 6;

    const SheetTable& table = sheet.table;
    c.Need(30);
    c.Text({kMargin, c.y, width, 7}, Qt::AlignLeft | Qt::AlignVCenter, table.caption, Font(12), kAccent);
    c.y += 9;
    const auto perBand = std::max<qsizetype>(1, static_cast<qsizetype>((width - kRowLabelColumn) / kMinColumn));
    for (qsizetype first = 0; first < table.columns.size(); first += perBand)
        DrawTableBand(c, table, first, std::min(perBand, table.columns.size() - first));
    const double noteHeight = c.WrappedHeight(table.note, Font(8.5), width);
    c.Need(noteHeight);
    c.Text({kMargin, c.y, width, noteHeight}, Qt::TextWordWrap, table.note, Font(8.5), kMuted);
    c.y += noteHeight;
}

// A file is only ever written over a regular file (or a link to one).
std::string RefuseSpecialTarget(const QString& path) {
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return path.toStdString() + ": exists and is not a regular file; it is left alone";
    return {};
}

class PdfFile {
public:
    explicit PdfFile(const QString& path, const QString& title) : m_file(path), m_writer(&m_file) {
        m_writer.setPageSize(QPageSize(QPageSize::A4));
        m_writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        m_writer.setTitle(title);
        m_writer.setCreator(QStringLiteral("catalogc"));
        m_writer.setResolution(600);
    }

    QPdfWriter& Writer() { return m_writer; }

    std::string Open(QPainter& painter) {
        if (std::string refusal = RefuseSpecialTarget(m_file.fileName()); !refusal.empty())
            return refusal;
        if (!m_file.open(QIODevice::WriteOnly))
            return Failure();
        if (!painter.begin(&m_writer))
            return m_file.fileName().toStdString() + ": the PDF cannot be started";
        return {};
    }

    std::string Close(QPainter& painter, bool failed) {
        painter.end();
        if (failed || !m_file.commit())
            return Failure();
        return {};
    }

private:
    std::string Failure() const {
        return m_file.fileName().toStdString() + ": the file cannot be written (" + m_file.errorString().toStdString() +
               ")";
    }
    QSaveFile m_file;
    QPdfWriter m_writer;
};

QString Footer(const CatalogueInfo& info) {
    return FromSource(info.title) + QStringLiteral(" \u00B7 Edition ") + FromSource(info.edition);
}

QString ToQString(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

} // namespace

std::string WriteDataSheets(const Catalogue& catalogue, const std::filesystem::path& sheetDir) {
    std::error_code error;
    std::filesystem::create_directories(sheetDir, error);
    if (error)
        return sheetDir.string() + ": the folder cannot be created (" + error.message() + ")";
    const QString folder = ToQString(sheetDir);
    std::vector<const DataSheet*> sheets;
    const std::vector<CatalogueSection> sections = PlanCatalogue(catalogue);
    for (const CatalogueSection& section : sections)
        for (const DataSheet& sheet : section.sheets)
            sheets.push_back(&sheet);

    const auto write = [&](const DataSheet& sheet) {
        PdfFile file(folder + QLatin1Char('/') + sheet.fileName, sheet.model + QStringLiteral(" data sheet"));
        QPainter painter;
        if (std::string failure = file.Open(painter); !failure.empty())
            return failure;
        Canvas canvas(file.Writer(), &painter);
        canvas.footerLeft = Footer(catalogue.info);
        canvas.footerRight = QStringLiteral("Data sheet ") + sheet.model;
        canvas.header = FromSource(catalogue.info.title);
        canvas.StartPage();
        DrawSheet(canvas, sheet);
        canvas.FinishPage();
        return file.Close(painter, canvas.Failed());
    };

    // Each sheet is its own document, and most of its cost is embedding the font and waiting for
    // the disk, so the sheets are shared among a few threads. Painting PDFs outside the main
    // thread is supported where fonts come from fontconfig, as here.
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    std::mutex lock;
    std::string firstFailure;
    const auto work = [&] {
        for (std::size_t i = next++; i < sheets.size() && !failed; i = next++)
            if (std::string failure = write(*sheets[i]); !failure.empty()) {
                const std::lock_guard guard(lock);
                if (!failed.exchange(true))
                    firstFailure = std::move(failure);
            }
    };
    const std::size_t helpers =
        std::min<std::size_t>({std::max(1U, std::thread::hardware_concurrency()), 4, sheets.size()});
    std::vector<std::thread> threads;
    for (std::size_t i = 1; i < helpers; ++i)
        threads.emplace_back(work);
    work();
    for (std::thread& thread : threads)
        thread.join();
    return firstFailure;
}

std::string WriteCatalogueDocument(const Catalogue& catalogue, const std::filesystem::path& path) {
    if (path.has_parent_path()) {
        std::error_code error;
        std::filesystem::create_directories(path.parent_path(), error);
        if (error)
            return path.parent_path().string() + ": the folder cannot be created (" + error.message() + ")";
    }
    const std::vector<CatalogueSection> sections = PlanCatalogue(catalogue);
    const QString title = FromSource(catalogue.info.title);
    PdfFile file(ToQString(path), title);

    // Contents: a heading, then two lines per section (title, and the models it holds).
    constexpr double kEntryHeight = 13, kContentsTop = 62;
    const auto perPage = static_cast<std::size_t>((kPageHeight - kMargin - kFooterHeight - kContentsTop) / kEntryHeight);
    const std::size_t contentsPages = std::max<std::size_t>(1, (sections.size() + perPage - 1) / perPage);

    // First pass without a painter: where each section starts.
    std::vector<int> firstPages;
    {
        Canvas measure(file.Writer(), nullptr);
        measure.page = static_cast<int>(contentsPages);
        for (const CatalogueSection& section : sections) {
            measure.header = section.title;
            measure.NewPage();
            firstPages.push_back(measure.page);
            for (std::size_t i = 0; i < section.sheets.size(); ++i) {
                if (i > 0)
                    measure.NewPage();
                DrawSheet(measure, section.sheets[i]);
            }
        }
    }

    QPainter painter;
    if (std::string failure = file.Open(painter); !failure.empty())
        return failure;
    Canvas c(file.Writer(), &painter);
    c.footerLeft = Footer(catalogue.info);
    c.numbered = true;
    c.Text({kMargin, kMargin + 8, c.Width(), 14}, Qt::AlignLeft | Qt::AlignVCenter, title, Font(24), kAccent);
    c.Text({kMargin, kMargin + 23, c.Width(), 7}, Qt::AlignLeft | Qt::AlignVCenter,
           QStringLiteral("Edition ") + FromSource(catalogue.info.edition), Font(12));
    c.Rule(kMargin + 33, kAccent, 0.5);
    c.Text({kMargin, kMargin + 36, c.Width(), 8}, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Contents"),
           Font(14));
    c.y = kContentsTop;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        if (i > 0 && i % perPage == 0) {
            c.NewPage();
            c.y = kContentsTop - 30;
        }
        const CatalogueSection& section = sections[i];
        c.Text({kMargin, c.y, c.Width() - 20, 6}, Qt::AlignLeft | Qt::AlignVCenter,
               c.Elided(section.title, Font(10.5), c.Width() - 20), Font(10.5));
        c.Text({kMargin, c.y, c.Width(), 6}, Qt::AlignRight | Qt::AlignVCenter, QString::number(firstPages[i]),
               Font(10.5));
        const QString first = section.sheets.front().model, last = section.sheets.back().model;
        const QString models = section.sheets.size() == 1
                                   ? first
                                   : first + QStringLiteral(" to ") + last + QStringLiteral(" (") +
                                         Thousands(static_cast<long long>(section.sheets.size())) +
                                         QStringLiteral(" models)");
        c.Text({kMargin + 6, c.y + 5.5, c.Width() - 26, 5}, Qt::AlignLeft | Qt::AlignVCenter, models, Font(9), kMuted);
        c.y += kEntryHeight;
    }
    // Pad the contents to the page count the sections were numbered with.
    while (c.page < static_cast<int>(contentsPages))
        c.NewPage();

    for (const CatalogueSection& section : sections) {
        c.header = section.title;
        c.NewPage();
        for (std::size_t i = 0; i < section.sheets.size(); ++i) {
            if (i > 0)
                c.NewPage();
            DrawSheet(c, section.sheets[i]);
        }
    }
    c.FinishPage();
    return file.Close(painter, c.Failed());
}

} // namespace catalogc
