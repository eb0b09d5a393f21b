#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>
#include <functional>
#include <stdexcept>

// The printer is a Qt Gui paint device; only the report, above this layer, draws on it.
class QPagedPaintDevice;

namespace corvane {

// Message-box button and icon codes, and the answers, as the program's messages use them.
namespace Box {
constexpr int Ok = 0;
constexpr int OkCancel = 1;
constexpr int YesNo = 4;
constexpr int Stop = 16;
constexpr int Information = 64;
constexpr int AnswerOk = 1;
constexpr int AnswerCancel = 2;
constexpr int AnswerYes = 6;
constexpr int AnswerNo = 7;
} // namespace Box

struct FileDialogRequest {
    QString title;
    QString filter;        // "Job Files|*.cvj|Bitmaps (*.bmp)|*.bmp"
    QString folder;        // starting folder
    QString fileName;      // proposed name
};

// The paper of printed and saved reports.
enum class Paper { A4, Letter };

// Letter where the locale measures in US units, A4 elsewhere.
inline Paper LocalePaper() {
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? Paper::Letter : Paper::A4;
}

struct FileDialogResult {
    bool accepted = false;
    QString path;
    QString folder;        // the dialog's current folder when it closed
};

// Every operating-system service the core needs, behind one interface: the view implements
// it with Qt dialogs and desktop services; the tests implement it with a scripted fake.
class Platform {
public:
    virtual ~Platform() = default;

    virtual int MessageBox(const QString& title, const QString& text, int buttons) = 0;
    // Returns false when the user cancelled.
    virtual bool InputBox(const QString& title, const QString& prompt, QString* answer) = 0;
    virtual FileDialogResult OpenFileDialog(const FileDialogRequest& request) = 0;
    virtual FileDialogResult SaveFileDialog(const FileDialogRequest& request) = 0;
    // Shows the print dialog (no selection, no page range). When the user confirms, the
    // platform opens the chosen printer, hands it to draw and ends the document. False when
    // the user cancelled or no printer could be opened; draw is then not called.
    virtual bool Print(const QString& documentName, const std::function<bool(QPagedPaintDevice&)>& draw) = 0;
    // The default printer's paper, or the locale's when there is no printer.
    virtual Paper DefaultPaper() = 0;
    // Opens a document or address in the user's default application; returns a result code.
    virtual int OpenDocument(const QString& target) = 0;
    virtual void ShowTextFile(const QString& path) = 0;
    // Opens the desktop's mail composer with the message filled in (the user edits and sends
    // it there). False when no composer could be started.
    virtual bool ComposeMail(const QString& to, const QString& subject, const QString& body,
                             const QString& attachment) = 0;
    virtual void ProcessEvents() = 0;
    virtual void SetBusy(bool busy) = 0;
    // Width of a text in the grids' font, in twips (1/1440 inch).
    virtual int TextWidthTwips(const QString& text) = 0;

    // A progress bar with a Cancel button for a long operation of `steps` steps. While it is
    // up the user can press Cancel and nothing else.
    virtual void ShowProgress(const QString& title, int steps) = 0;
    // `done` steps are complete; `text` says what the bar is working on now.
    virtual void SetProgress(int done, const QString& text) = 0;
    virtual void HideProgress() = 0;
    // True once Cancel was pressed on the progress bar that is up.
    virtual bool ProgressCancelled() = 0;
};

// The busy pointer comes back however an operation ends, also when the program has to stop.
class BusyPointer {
public:
    explicit BusyPointer(Platform& p) : m_platform(p) { m_platform.SetBusy(true); }
    ~BusyPointer() { m_platform.SetBusy(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    Platform& m_platform;
};

// Thrown by the core to end the program (a missing data file, a template that cannot be
// loaded); main turns it into the exit code.
struct ProgramEnd : std::runtime_error {
    explicit ProgramEnd(int code, const QString& why = QString())
        : std::runtime_error(why.toStdString()), exitCode(code) {}
    int exitCode;
};

} // namespace corvane
