#include "app/consoleplatform.h"

#include <cstdio>

namespace corvane {

namespace {

void ToStandardError(const QString& line) {
    QString text = line;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QByteArray bytes = text.toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

} // namespace

int ConsolePlatform::MessageBox(const QString& title, const QString& text, int buttons) {
    ++m_messages;
    ToStandardError(QStringLiteral("corvane: ") +
                    (title.isEmpty() ? QString() : title + QStringLiteral(": ")) + text);
    switch (buttons & 7) {
    case Box::YesNo:
        return Box::AnswerNo;
    case Box::OkCancel:
        return Box::AnswerCancel;
    default:
        return Box::AnswerOk;
    }
}

bool ConsolePlatform::InputBox(const QString& title, const QString& prompt, QString*) {
    ToStandardError(QStringLiteral("corvane: ") + title + QStringLiteral(": ") + prompt +
                    QStringLiteral(" (no answer)"));
    return false;
}

FileDialogResult ConsolePlatform::OpenFileDialog(const FileDialogRequest&) {
    return {};
}

FileDialogResult ConsolePlatform::SaveFileDialog(const FileDialogRequest&) {
    return {};
}

int ConsolePlatform::OpenDocument(const QString& target) {
    ToStandardError(QStringLiteral("corvane: not opened in batch mode: ") + target);
    return 0;
}

void ConsolePlatform::ShowTextFile(const QString& path) {
    ToStandardError(QStringLiteral("corvane: written ") + path);
}

bool ConsolePlatform::Print(const QString&, const std::function<bool(QPagedPaintDevice&)>&) {
    ToStandardError(QStringLiteral("corvane: nothing is printed in batch mode; use --pdf"));
    return false;
}

bool ConsolePlatform::ComposeMail(const QString&, const QString&, const QString&, const QString&) {
    ToStandardError(QStringLiteral("corvane: no mail is sent in batch mode"));
    return false;
}

} // namespace corvane
