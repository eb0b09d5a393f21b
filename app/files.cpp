#include "app/files.h"

#include "app/platform.h"
#include "definitions/state.h"

#include <QDir>
#include <QFileInfo>

namespace corvane {

void FailResourceFile(State& s, const QString& path) {
    s.WriteLog(QStringLiteral("Cannot open resource file '") + path + QLatin1Char('\''));
    s.platform.MessageBox(QStringLiteral("FILE ERROR !"),
                          QStringLiteral("Cannot open resource file\r\n'") + QDir::toNativeSeparators(path) +
                              QStringLiteral("'\r\nPlease Reinstall !"),
                          Box::Ok | Box::Stop);
    throw ProgramEnd(2, QStringLiteral("Cannot open resource file ") + path);
}

bool FileExists(State& s, const QString& path, bool mustExist) {
    const QFileInfo info(path);
    if (info.exists() && info.isFile()) return true;
    if (mustExist) FailResourceFile(s, path);
    return false;
}

QStringList FilesMatching(const QString& folder, const QString& pattern) {
    return QDir(folder).entryList({pattern}, QDir::Files, QDir::Name);
}

QString FirstFileMatching(const QString& folder, const QString& pattern) {
    const QStringList files = FilesMatching(folder, pattern);
    return files.isEmpty() ? QString() : files.first();
}

} // namespace corvane
