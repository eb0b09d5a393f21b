#include "tests/support/fakeplatform.h"

namespace corvane::test {

int FakePlatform::MessageBox(const QString& title, const QString& text, int buttons) {
    messages << Shown{title, text, buttons};
    if (!answers.isEmpty()) return answers.takeFirst();
    if (!allowUnscriptedMessages) unexpected << QStringLiteral("message box: ") + title + QStringLiteral(" / ") + text;
    return (buttons & 7) == Box::YesNo ? Box::AnswerNo : Box::AnswerOk;
}

bool FakePlatform::InputBox(const QString& title, const QString&, QString* answer) {
    inputDefaults << *answer;
    if (inputAnswers.isEmpty()) {
        unexpected << QStringLiteral("input box: ") + title;
        return false;
    }
    const QString a = inputAnswers.takeFirst();
    if (a.isNull()) return false;
    *answer = a;
    return true;
}

FileDialogResult FakePlatform::OpenFileDialog(const FileDialogRequest& request) {
    openRequests << request;
    if (openResults.isEmpty()) {
        unexpected << QStringLiteral("open dialog");
        return {};
    }
    return openResults.takeFirst();
}

FileDialogResult FakePlatform::SaveFileDialog(const FileDialogRequest& request) {
    saveRequests << request;
    if (saveResults.isEmpty()) {
        unexpected << QStringLiteral("save dialog");
        return {};
    }
    return saveResults.takeFirst();
}

bool FakePlatform::Print(const QString&, const std::function<bool(QPagedPaintDevice&)>& draw) {
    ++printDialogs;
    QPagedPaintDevice* device = printer ? printer() : nullptr;
    if (!device) return false;
    draw(*device);
    return true;
}

bool FakePlatform::ComposeMail(const QString& to, const QString& subject, const QString& body,
                               const QString& attachment) {
    if (!mailAvailable) return false;
    mails << Mail{to, subject, body, attachment};
    return true;
}

} // namespace corvane::test
