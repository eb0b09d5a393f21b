#include "base/safefile.h"

#include <QFileInfo>
#include <QSaveFile>

namespace corvane {

QString CheckWriteTarget(const QString& path) {
    if (path.isEmpty()) return QStringLiteral("No file name was given");
    const QFileInfo info(path);
    // QFileInfo follows links: a link to a regular file is a regular file here; a link that
    // leads nowhere is written as a new file at the link's target, like any new file.
    if (!info.exists()) return QString();
    if (info.isDir()) return QStringLiteral("%1 is a folder, not a file").arg(path);
    if (!info.isFile())
        return QStringLiteral("%1 is not a regular file (a pipe, a device or a socket); it is left as it is")
            .arg(path);
    return QString();
}

bool WriteFileSafely(const QString& path, const QByteArray& bytes, QString* error) {
    const auto fail = [error](const QString& why) {
        if (error) *error = why;
        return false;
    };
    const QString refused = CheckWriteTarget(path);
    if (!refused.isEmpty()) return fail(refused);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return fail(file.errorString() + QStringLiteral(": ") + path);
    if (file.write(bytes) != bytes.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return fail(why + QStringLiteral(": ") + path);
    }
    if (!file.commit()) return fail(file.errorString() + QStringLiteral(": ") + path);
    return true;
}

} // namespace corvane
