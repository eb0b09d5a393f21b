#include "base/installation.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace corvane {

namespace {

// The user's folders are named without the application name that Qt would add, so the
// window and the batch mode (which starts no application object of that name) agree.
QString UserFolder(QStandardPaths::StandardLocation location) {
    QString base = QStandardPaths::writableLocation(location);
    if (base.isEmpty()) base = QDir::homePath();
    return QDir::cleanPath(base + QStringLiteral("/Corvane"));
}

} // namespace

bool InstallationWritable(const QString& programFolder) {
    const QFileInfo folder(programFolder);
    if (!folder.isDir() || !folder.isWritable()) return false;
    return !QFileInfo::exists(QDir(programFolder).filePath(QLatin1String(PackageMarkerName)));
}

QString WritableFolder(const QString& programFolder) {
    if (InstallationWritable(programFolder)) return QDir::cleanPath(programFolder);
    return UserFolder(QStandardPaths::GenericDataLocation);
}

QString DefaultJobFolder(const QString& programFolder) {
    if (InstallationWritable(programFolder)) return QDir::cleanPath(programFolder) + QStringLiteral("/JobFiles/");
    return UserFolder(QStandardPaths::DocumentsLocation) + QLatin1Char('/');
}

} // namespace corvane
