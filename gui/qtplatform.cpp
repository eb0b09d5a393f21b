#include "gui/qtplatform.h"

#include "gui/widgets.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QProgressDialog>
#include <QProcess>
#include <QUrl>

namespace corvane {

namespace {

// The text widths kept at most; a window shows far fewer different texts.
constexpr qsizetype MaxMeasuredWidths = 20000;

// Icon codes of the program's message boxes beyond stop and information.
constexpr int QuestionIcon = 32;
constexpr int ExclamationIcon = 48;

} // namespace

QtPlatform::QtPlatform() = default;
QtPlatform::~QtPlatform() = default;

void QtPlatform::AttachWindow(QWidget* window, std::function<void()> refresh) {
    m_window = window;
    m_refresh = std::move(refresh);
}

void QtPlatform::Refresh() {
    if (m_refresh) m_refresh();
}

int QtPlatform::MessageBox(const QString& title, const QString& text, int buttons) {
    Refresh();
    QMessageBox box(m_window);
    box.setWindowTitle(title);
    box.setTextFormat(Qt::PlainText);
    QString plain = text;
    box.setText(plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    const int kind = buttons & 7;
    const int icon = buttons & 0x70;
    if (icon == Box::Stop)
        box.setIcon(QMessageBox::Critical);
    else if (icon == QuestionIcon)
        box.setIcon(QMessageBox::Question);
    else if (icon == ExclamationIcon)
        box.setIcon(QMessageBox::Warning);
    else if (icon == Box::Information)
        box.setIcon(QMessageBox::Information);
    if (kind == Box::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? Box::AnswerYes : Box::AnswerNo;
    }
    if (kind == Box::OkCancel) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        return box.exec() == QMessageBox::Ok ? Box::AnswerOk : Box::AnswerCancel;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return Box::AnswerOk;
}

bool QtPlatform::InputBox(const QString& title, const QString& prompt, QString* answer) {
    Refresh();
    bool ok = false;
    const QString text = QInputDialog::getText(m_window, title, prompt, QLineEdit::Normal, *answer, &ok);
    if (ok) *answer = text;
    return ok;
}

namespace {

// "Job Files|*.cvj|Bitmaps (*.bmp)|*.bmp" as Qt's "Job Files (*.cvj);;Bitmaps (*.bmp)".
QString QtFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i];
        if (!name.contains(QLatin1Char('('))) name += QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
        out << name;
    }
    return out.join(QStringLiteral(";;"));
}

} // namespace

FileDialogResult QtPlatform::OpenFileDialog(const FileDialogRequest& request) {
    Refresh();
    FileDialogResult result;
    const QString path = QFileDialog::getOpenFileName(
        m_window, request.title, request.folder, QtFilter(request.filter), nullptr, QFileDialog::ReadOnly);
    if (path.isEmpty()) return result;
    result.accepted = true;
    result.path = path;
    result.folder = QFileInfo(path).absolutePath() + QLatin1Char('/');
    return result;
}

FileDialogResult QtPlatform::SaveFileDialog(const FileDialogRequest& request) {
    Refresh();
    FileDialogResult result;
    const QString start = request.fileName.isEmpty() ? request.folder : request.folder + request.fileName;
    const QString path =
        QFileDialog::getSaveFileName(m_window, request.title, start, QtFilter(request.filter));
    if (path.isEmpty()) return result;
    result.accepted = true;
    result.path = path;
    result.folder = QFileInfo(path).absolutePath() + QLatin1Char('/');
    return result;
}

bool QtPlatform::Print(const QString& documentName, const std::function<bool(QPagedPaintDevice&)>& draw) {
    Refresh();
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(documentName);
    QPrintDialog dialog(&printer, m_window);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (dialog.exec() != QDialog::Accepted) return false;
    draw(printer);
    return true;
}

Paper QtPlatform::DefaultPaper() {
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull()) return LocalePaper();
    return printer.defaultPageSize().id() == QPageSize::Letter ? Paper::Letter : Paper::A4;
}

int QtPlatform::OpenDocument(const QString& target) {
    // A path becomes a local-file address; an address with a scheme (https:, mailto:) stays one.
    const QUrl url = QUrl::fromUserInput(target, QString(), QUrl::AssumeLocalFile);
    if (target.trimmed().isEmpty() || !url.isValid()) return 0;
    return QDesktopServices::openUrl(url) ? 42 : 0;
}

void QtPlatform::ShowTextFile(const QString& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool QtPlatform::ComposeMail(const QString& to, const QString& subject, const QString& body,
                             const QString& attachment) {
    // The desktop's composer takes the attachment, which a mailto: address cannot carry.
    const QString composer = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
    if (composer.isEmpty()) return false;
    QStringList args{QStringLiteral("--utf8"), QStringLiteral("--subject"), subject, QStringLiteral("--body"),
                     body};
    if (!attachment.isEmpty()) args << QStringLiteral("--attach") << attachment;
    if (!to.isEmpty()) args << to;
    return QProcess::startDetached(composer, args);
}

void QtPlatform::ProcessEvents() {
    // The window is brought up to date and painted; the user's own clicks and keys wait until
    // the command in progress is done, so no second command starts inside the first.
    Refresh();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtPlatform::SetBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++m_busy;
    } else if (m_busy > 0) {
        QApplication::restoreOverrideCursor();
        --m_busy;
    }
}

int QtPlatform::TextWidthTwips(const QString& text) {
    // The grids measure in the window's font and draw 15 twips to the pixel.
    const QFont font = m_window ? m_window->font() : WindowFont();
    if (!(font == m_measuredFont) || m_widths.size() >= MaxMeasuredWidths) {
        m_widths.clear();
        m_measuredFont = font;
    }
    if (const auto known = m_widths.constFind(text); known != m_widths.cend()) return *known;
    const int width = QFontMetrics(font).horizontalAdvance(text) * 15;
    m_widths.insert(text, width);
    return width;
}

void QtPlatform::ShowProgress(const QString& title, int steps) {
    Refresh();
    // Application-modal: while the operation runs, Cancel is the only thing the user can press.
    m_progress = std::make_unique<QProgressDialog>(QString(), QProgressDialog::tr("Cancel"), 0, steps, m_window);
    m_progress->setWindowTitle(title);
    m_progress->setWindowModality(Qt::ApplicationModal);
    m_progress->setAutoClose(false);
    m_progress->setAutoReset(false);
    m_progress->setMinimumDuration(0);
    m_progress->setValue(0);
    m_progress->show();
}

void QtPlatform::SetProgress(int done, const QString& text) {
    if (!m_progress) return;
    m_progress->setLabelText(text);
    m_progress->setValue(done);
}

void QtPlatform::HideProgress() {
    m_progress.reset();
}

bool QtPlatform::ProgressCancelled() {
    return m_progress && m_progress->wasCanceled();
}

} // namespace corvane
