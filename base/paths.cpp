#include "base/paths.h"

#include <QDir>

namespace corvane {

QStringList FilesMatching(const QString& folder, const QString& pattern) {
    return QDir(folder).entryList({pattern}, QDir::Files, QDir::Name);
}

QString FirstFileMatching(const QString& folder, const QString& pattern) {
    const QStringList files = FilesMatching(folder, pattern);
    return files.isEmpty() ? QString() : files.first();
}

} // namespace corvane
