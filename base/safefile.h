#pragma once

#include <QByteArray>
#include <QString>

namespace corvane {

// Every file the program writes goes through here: the target must be a regular file (or a
// link to one) or not exist yet, and the new bytes replace the old ones only once all of them
// are on disk, so a failed or interrupted write leaves the old file as it was.

// An empty string when path may be written; otherwise the problem in the program's words.
// A pipe, a device, a socket or a folder is refused: writing "onto" it would replace it.
QString CheckWriteTarget(const QString& path);

// Writes bytes to path through a temporary file beside it. On failure returns false and, when
// error is given, sets it to the reason (the refused target or the system's error text).
bool WriteFileSafely(const QString& path, const QByteArray& bytes, QString* error = nullptr);

} // namespace corvane
