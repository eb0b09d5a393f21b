#pragma once

#include "base/platform.h"

#include <QList>
#include <QStringList>
#include <functional>

namespace corvane::test {

// A scripted platform: records every call and answers dialogs from queues. A message box or
// dialog that the test did not script fails the test (it is recorded in `unexpected`).
class FakePlatform : public Platform {
public:
    struct Shown {
        QString title;
        QString text;
        int buttons;
    };

    QList<Shown> messages;
    QList<int> answers;                 // answers for MessageBox, in order
    QStringList inputAnswers;           // answers for InputBox; a null string cancels
    QList<FileDialogResult> openResults, saveResults;
    QList<FileDialogRequest> openRequests, saveRequests;
    QStringList openedDocuments, shownTextFiles;
    QStringList unexpected;
    bool allowUnscriptedMessages = false;   // answer OK/No instead of failing
    int busyDepth = 0;
    QStringList inputDefaults;          // the answer each input box offered
    struct Mail {
        QString to, subject, body, attachment;
    };
    QList<Mail> mails;
    bool mailAvailable = true;
    // The user's choice in the print dialog: unset (or returning null) cancels; a test hands
    // over a device, such as a PDF writer, that the report is drawn on.
    std::function<QPagedPaintDevice*()> printer;
    int printDialogs = 0;
    Paper paper = Paper::A4;
    QList<int> progress;                // every value the progress bar showed, from its 0
    bool progressShown = false;
    int cancelAtProgress = -1;          // Cancel is pressed once the bar reaches this value

    int MessageBox(const QString& title, const QString& text, int buttons) override;
    bool InputBox(const QString& title, const QString& prompt, QString* answer) override;
    FileDialogResult OpenFileDialog(const FileDialogRequest& request) override;
    FileDialogResult SaveFileDialog(const FileDialogRequest& request) override;
    bool Print(const QString& documentName, const std::function<bool(QPagedPaintDevice&)>& draw) override;
    Paper DefaultPaper() override { return paper; }
    int OpenDocument(const QString& target) override {
        openedDocuments << target;
        return 42;
    }
    void ShowTextFile(const QString& path) override { shownTextFiles << path; }
    bool ComposeMail(const QString& to, const QString& subject, const QString& body,
                     const QString& attachment) override;
    void ProcessEvents() override {}
    void SetBusy(bool busy) override { busyDepth += busy ? 1 : -1; }
    int TextWidthTwips(const QString& text) override { return 90 * static_cast<int>(text.size()); }
    void ShowProgress(const QString&, int) override {
        progressShown = true;
        progress << 0;
    }
    void SetProgress(int done, const QString&) override { progress << done; }
    void HideProgress() override { progressShown = false; }
    bool ProgressCancelled() override {
        return progressShown && cancelAtProgress >= 0 && !progress.isEmpty() && progress.last() >= cancelAtProgress;
    }
};

} // namespace corvane::test
