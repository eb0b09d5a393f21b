#include "jobs/filehistory.h"

#include "definitions/datafiles.h"
#include "definitions/state.h"

#include <QDir>
#include <QFileInfo>

namespace corvane {

namespace {

constexpr int HistoryNamesRead = 26;    // File0..File25
constexpr int HistoryNamesWritten = 25; // File0..File24; File25 is cleared

QString HistoryKey(int k) {
    return QStringLiteral("File") + QString::number(k);
}

bool SamePath(const QString& a, const QString& b) {
    const Qt::CaseSensitivity cs =
#ifdef Q_OS_WIN
        Qt::CaseInsensitive;
#else
        Qt::CaseSensitive;
#endif
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath())
               .compare(QDir::cleanPath(QFileInfo(b).absoluteFilePath()), cs) == 0;
}

} // namespace

void LoadFileHistory(State& s) {
    s.historyList.clear();
    s.historySelected = -1;
    for (int k = 0; k < HistoryNamesRead; ++k) {
        const QString path = s.settings.Get(s.historySection, HistoryKey(k));
        if (path.isEmpty()) break;
        // A job that was moved or deleted drops out; the next one takes its place.
        if (FileExists(s, path, false)) s.historyList << path;
    }
    s.MarkAllDirty();
}

void UpdateFileHistory(State& s) {
    QStringList entries;
    if (!s.currentJobPath.isEmpty()) entries << s.currentJobPath;
    for (const QString& path : std::as_const(s.historyList)) {
        if (path.isEmpty() || !FileExists(s, path, false)) continue;
        bool known = false;
        for (const QString& kept : std::as_const(entries))
            known = known || SamePath(kept, path);
        if (!known) entries << path;
    }
    for (int k = 0; k < HistoryNamesRead; ++k)
        s.settings.Save(s.historySection, HistoryKey(k),
                        k < HistoryNamesWritten && k < entries.size() ? entries[k] : QString());
    LoadFileHistory(s);
}

} // namespace corvane
