#pragma once

#include "base/platform.h"

namespace corvane {

// The platform services of the batch mode: no window, nobody to answer. A message goes to
// standard error, a question takes its No or Cancel answer (the safe one: nothing is
// discarded or overwritten), dialogs are cancelled, and text is measured at a fixed width.
class ConsolePlatform : public Platform {
  public:
    int MessageBox(const QString& title, const QString& text, int buttons) override;
    bool InputBox(const QString& title, const QString& prompt, QString* answer) override;
    FileDialogResult OpenFileDialog(const FileDialogRequest& request) override;
    FileDialogResult SaveFileDialog(const FileDialogRequest& request) override;
    bool Print(const QString& documentName, const std::function<bool(QPagedPaintDevice&)>& draw) override;
    Paper DefaultPaper() override { return LocalePaper(); }
    int OpenDocument(const QString& target) override;
    void ShowTextFile(const QString& path) override;
    bool ComposeMail(const QString& to, const QString& subject, const QString& body,
                     const QString& attachment) override;
    void ProcessEvents() override {}
    void SetBusy(bool) override {}
    int TextWidthTwips(const QString& text) override { return 100 * static_cast<int>(text.size()); }
    // The log lines of a long operation say how far it is; nobody is there to cancel it.
    void ShowProgress(const QString&, int) override {}
    void SetProgress(int, const QString&) override {}
    void HideProgress() override {}
    bool ProgressCancelled() override { return false; }

    int MessagesShown() const { return m_messages; }

  private:
    int m_messages = 0;
};

} // namespace corvane
