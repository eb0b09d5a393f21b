#pragma once

#include "base/platform.h"

#include <QFont>
#include <QHash>
#include <QPointer>
#include <functional>
#include <memory>

class QProgressDialog;
class QWidget;

namespace corvane {

// The platform services with Qt dialogs and the desktop's services.
class QtPlatform : public Platform {
  public:
    void SetWindow(QWidget* window) { m_window = window; }
    // The main window: parent of every dialog, and brought up to date before one opens so the
    // user sees the state the question is about.
    void AttachWindow(QWidget* window, std::function<void()> refresh);

    int MessageBox(const QString& title, const QString& text, int buttons) override;
    bool InputBox(const QString& title, const QString& prompt, QString* answer) override;
    FileDialogResult OpenFileDialog(const FileDialogRequest& request) override;
    FileDialogResult SaveFileDialog(const FileDialogRequest& request) override;
    bool Print(const QString& documentName, const std::function<bool(QPagedPaintDevice&)>& draw) override;
    Paper DefaultPaper() override;
    int OpenDocument(const QString& target) override;
    void ShowTextFile(const QString& path) override;
    bool ComposeMail(const QString& to, const QString& subject, const QString& body,
                     const QString& attachment) override;
    void ProcessEvents() override;
    void SetBusy(bool busy) override;
    int TextWidthTwips(const QString& text) override;
    void ShowProgress(const QString& title, int steps) override;
    void SetProgress(int done, const QString& text) override;
    void HideProgress() override;
    bool ProgressCancelled() override;

    QtPlatform();
    ~QtPlatform() override;

  private:
    void Refresh();
    QPointer<QWidget> m_window;
    std::function<void()> m_refresh;
    int m_busy = 0;
    std::unique_ptr<QProgressDialog> m_progress;
    // Widths already measured, in the font they were measured in: the grids are sized again
    // on every keystroke, mostly from the same texts, and shaping a text costs microseconds.
    QFont m_measuredFont;
    QHash<QString, int> m_widths;
};

} // namespace corvane
