#include "definitions/datafiles.h"

#include "base/platform.h"
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

} // namespace corvane
