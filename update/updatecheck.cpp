#include "update/updatecheck.h"

#include "base/installation.h"
#include "base/safefile.h"
#include "definitions/state.h"
#include "install/installer.h"
#include "update/signing.h"
#include "update/transfer.h"
#include "install/versionlist.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QNetworkAccessManager>
#include <QSet>

#include <optional>

namespace corvane {

namespace {

constexpr qint64 ListLimit = 1 << 20;
constexpr qint64 SignatureLimit = 4096;
constexpr qint64 TrustedKeysLimit = 64 << 10;

// Texts of the string table that the update shows beyond the message table.
constexpr int NotSignedText = 70;
constexpr int UntrustedFileText = 71;
constexpr int InsecureAddressText = 72;

const QString CheckFailure = QStringLiteral("*** CheckUpdate *** ");
const QString DownloadFailure = QStringLiteral("*** CheckTundrel\\Versions (Download) *** ");

// A name as the log shows it: control characters from the network never reach the log.
QString Printable(const QString& text) {
    QString out = text.left(300);
    for (QChar& c : out)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) c = QLatin1Char('?');
    return out;
}

QString Key(const VersionEntry& e) { return e.fileName + QLatin1Char('\t') + e.localFolder; }

// One file of the working table.
struct Row {
    enum Phase { Installed = 0, Fetch = 1, Current = 2 };
    Phase phase = Installed;
    std::optional<VersionEntry> installed;
    std::optional<VersionEntry> newest;
    bool untouchable = false;      // an installed line the update does not act on
    bool keepInstalled = false;    // current, but the installed entry is the newer one
    bool downloaded = false;
    bool skipped = false;
    QString staged;
    const VersionEntry& Entry() const { return newest ? *newest : *installed; }
};

class UpdateRun {
public:
    UpdateRun(State& s, const UpdateOptions& options) : m_s(s), m_options(options) {
        m_programName = options.programFileName.isEmpty() && QCoreApplication::instance()
                            ? QFileInfo(QCoreApplication::applicationFilePath()).fileName()
                            : options.programFileName;
    }
    UpdateResult Run();

private:
    bool ReadInstalled();
    // The verified list; on failure, the check's outcome in `failure`.
    std::optional<QByteArray> FetchList(UpdateResult* failure);
    void Compare(const QByteArray& list);
    UpdateResult Download(int count);
    InstallPlan Plan() const;
    bool IsProgramFile(const VersionEntry& e) const;
    QString Target(const VersionEntry& e) const;
    QList<QByteArray> TrustedKeys();
    FetchResult Get(const QUrl& url, qint64 limit, bool cancellable);
    QUrl Address(const QString& path) const;
    void Say(int text);
    void SetHint(const QString& text) {
        m_s.hintText = text;
        m_s.platform.ProcessEvents();
    }
    void Log(const QString& line) { m_s.WriteLog(line); }
    void LogTransferError(const FetchResult& r) {
        Log(QStringLiteral("ErrorCode: ") + QString::number(r.httpStatus) + QStringLiteral(" : ") + r.error);
    }

    State& m_s;
    UpdateOptions m_options;
    QString m_programName;
    QUrl m_base;
    QNetworkAccessManager m_manager;
    QList<Row> m_rows;
    QHash<QString, int> m_byKey;
};

void UpdateRun::Say(int text) {
    m_s.platform.MessageBox(m_s.messages[0][22], m_s.strings[text], Box::Ok | Box::Stop);
}

QUrl UpdateRun::Address(const QString& path) const {
    QUrl url = m_base;
    QString base = url.path(QUrl::FullyDecoded);
    while (base.endsWith(QLatin1Char('/'))) base.chop(1);
    url.setPath(base + QLatin1Char('/') + path, QUrl::DecodedMode);
    return url;
}

FetchResult UpdateRun::Get(const QUrl& url, qint64 limit, bool cancellable) {
    FetchOptions options;
    options.limit = limit;
    options.stallTimeoutMs = m_options.stallTimeoutMs;
    if (cancellable) {
        options.cancelled = [this] { return m_s.platform.ProgressCancelled(); };
        options.allowUserInput = true;
    }
    return Fetch(m_manager, url, options);
}

bool UpdateRun::ReadInstalled() {
    QFile file(m_s.dataFolder + QStringLiteral("Installed.ver"));
    if (!file.exists()) return true;
    if (file.size() > ListLimit || !file.open(QIODevice::ReadOnly)) {
        Log(CheckFailure + QStringLiteral("1, Installed.ver cannot be read or is larger than 1 MiB"));
        return false;
    }
    const VersionList list = ReadVersionList(file.read(ListLimit), QStringLiteral("Installed.ver"));
    for (const ListProblem& p : list.problems) Log(FormatProblem(p));
    for (const VersionEntry& e : list.entries) {
        Row row;
        row.installed = e;
        // A line the update cannot act on safely stays in the list as it is.
        row.untouchable = !EntryNameProblem(e).isEmpty() || m_byKey.contains(Key(e));
        if (!row.untouchable) m_byKey.insert(Key(e), static_cast<int>(m_rows.size()));
        m_rows << row;
    }
    return true;
}

QList<QByteArray> UpdateRun::TrustedKeys() {
    QList<QByteArray> keys{PublisherKey()};
    QFile file(m_s.dataFolder + QStringLiteral("trusted.pub"));
    if (file.exists() && file.open(QIODevice::ReadOnly)) {
        const corvane::TrustedKeys extra = ReadTrustedKeys(file.read(TrustedKeysLimit));
        for (const ListProblem& p : extra.problems) Log(FormatProblem(p));
        keys += extra.keys;
    }
    return keys;
}

std::optional<QByteArray> UpdateRun::FetchList(UpdateResult* failure) {
    *failure = UpdateResult::Unreachable;
    const FetchResult list = Get(Address(QStringLiteral("Newest.ver")), ListLimit, false);
    if (!list.Ok()) {
        LogTransferError(list);
        m_s.ShowMessage(23);
        return std::nullopt;
    }
    Log(QStringLiteral("Last-modified: ") + list.lastModified);
    if (list.lastModified.isEmpty()) {
        Log(CheckFailure + QStringLiteral("2, the list came without a Last-modified date"));
        m_s.ShowMessage(23);
        return std::nullopt;
    }
    const FetchResult signature = Get(Address(QStringLiteral("Newest.ver.sig")), SignatureLimit, false);
    if (!signature.Ok()) {
        LogTransferError(signature);
        Log(CheckFailure + QStringLiteral("3, the list is not signed; it is refused"));
        *failure = UpdateResult::Refused;
        Say(NotSignedText);
        return std::nullopt;
    }
    if (!ListSignedByOneOf(list.body, signature.body, TrustedKeys())) {
        Log(CheckFailure + QStringLiteral("4, the list's signature is not one of a trusted publisher; it is refused"));
        *failure = UpdateResult::Refused;
        Say(NotSignedText);
        return std::nullopt;
    }
    return list.body;
}

void UpdateRun::Compare(const QByteArray& bytes) {
    const VersionList list = ReadVersionList(bytes);
    for (const ListProblem& p : list.problems) Log(FormatProblem(p));
    QSet<QString> seen;
    for (const VersionEntry& e : list.entries) {
        const QString name = QStringLiteral("  ") + Printable(e.fileName);
        QString problem = EntryNameProblem(e);
        if (problem.isEmpty() && !IsApplicationFolder(e.localFolder) &&
            e.localFolder.compare(QLatin1String("opdata"), Qt::CaseInsensitive) == 0 &&
            e.fileName.compare(QLatin1String("Installed.ver"), Qt::CaseInsensitive) == 0)
            problem = QStringLiteral("the installed list is the update's own");
        if (problem.isEmpty() && !ParseFileCheck(e.check))
            problem = QStringLiteral("field 5 does not hold the file's size and SHA-256");
        if (problem.isEmpty() && seen.contains(Key(e))) problem = QStringLiteral("listed twice; the first entry counts");
        if (!problem.isEmpty()) {
            Log(name + QStringLiteral("  refused (line %1): ").arg(e.line) + Printable(problem));
            // The installed file stays as it is.
            if (const auto kept = m_byKey.constFind(Key(e)); kept != m_byKey.constEnd()) {
                Row& row = m_rows[*kept];
                if (row.phase == Row::Installed) {
                    row.phase = Row::Current;
                    row.keepInstalled = true;
                }
            }
            continue;
        }
        seen.insert(Key(e));
        const auto found = m_byKey.constFind(Key(e));
        if (found == m_byKey.constEnd()) {
            Row row;
            row.newest = e;
            row.phase = Row::Fetch;
            m_byKey.insert(Key(e), static_cast<int>(m_rows.size()));
            m_rows << row;
            Log(name + QStringLiteral("  file added"));
            continue;
        }
        Row& row = m_rows[*found];
        row.newest = e;
        if (row.installed->version < e.version) {
            row.phase = Row::Fetch;
            Log(name + QStringLiteral("  update to ") + Printable(e.version));
        } else if (e.version < row.installed->version) {
            // An older list never takes a file back to a version with a known fault.
            row.phase = Row::Current;
            row.keepInstalled = true;
            Log(name + QStringLiteral("  not downloaded: the installed version ") + Printable(row.installed->version) +
                QStringLiteral(" is newer than ") + Printable(e.version));
        } else {
            row.phase = Row::Current;
            Log(name + QStringLiteral("  up to date"));
        }
    }
}

bool UpdateRun::IsProgramFile(const VersionEntry& e) const {
    if (!IsApplicationFolder(e.localFolder)) return false;
    // The program's own executables: the running one and the pair the program is made of.
    for (const QLatin1String name : {QLatin1String("PROGRAM.EXE"), QLatin1String(BatchProgramName),
                                     QLatin1String(WindowProgramName)})
        if (e.fileName.compare(name, Qt::CaseInsensitive) == 0) return true;
    return !m_programName.isEmpty() && e.fileName.compare(m_programName, Qt::CaseInsensitive) == 0;
}

QString UpdateRun::Target(const VersionEntry& e) const {
    return IsApplicationFolder(e.localFolder) ? e.fileName : e.localFolder + QLatin1Char('/') + e.fileName;
}

InstallPlan UpdateRun::Plan() const {
    InstallPlan plan;
    for (const Row& row : m_rows) {
        const VersionEntry* inPlace = nullptr;
        if (row.untouchable) {
            inPlace = &*row.installed;
        } else if (row.phase == Row::Installed) {
            // The verified list no longer names it: it leaves the installation, except the
            // program itself.
            if (IsProgramFile(*row.installed))
                inPlace = &*row.installed;
            else
                plan.deletions << Target(*row.installed);
        } else if (row.phase == Row::Current) {
            inPlace = row.keepInstalled ? &*row.installed : &*row.newest;
        } else if (row.downloaded) {
            inPlace = &*row.newest;
            // The running program cannot be replaced: the new one waits in the update folder.
            const QString target =
                IsProgramFile(*row.newest) ? QStringLiteral("Updates/") + row.newest->fileName : Target(*row.newest);
            plan.moves << InstallPlan::Move{row.staged, target};
        } else if (row.installed) {
            inPlace = &*row.installed;
        }
        if (inPlace) plan.installedList += inPlace->text + "\r\n";
    }
    return plan;
}

UpdateResult UpdateRun::Download(int count) {
    Log(QStringLiteral(">Update_fetch(") + QString::number(count) + QLatin1Char(')'));
    const QString staging = StagingFolder(m_s.updateFolder);
    if (!PrepareStaging(staging)) {
        Log(DownloadFailure + QStringLiteral("5, the staging folder ") + staging + QStringLiteral(" cannot be made"));
        m_s.ShowMessage(25);
        return UpdateResult::Abandoned;
    }
    Platform& platform = m_s.platform;
    platform.ShowProgress(m_s.messages[0][22], count);
    auto abandon = [&](UpdateResult result) {
        platform.HideProgress();
        QDir(staging).removeRecursively();
        SetHint(QString());
        return result;
    };
    int done = 0;
    bool waiting = false;
    for (int i = 0; i < m_rows.size(); ++i) {
        Row& row = m_rows[i];
        if (row.phase != Row::Fetch) continue;
        if (platform.ProgressCancelled()) {
            Log(QStringLiteral("Update cancelled; no file was changed"));
            return abandon(UpdateResult::Cancelled);
        }
        const VersionEntry& e = *row.newest;
        const FileCheck check = *ParseFileCheck(e.check);
        const QUrl url = Address(e.remoteFolder + QLatin1Char('/') + e.fileName);
        Log(url.toString());
        SetHint(e.fileName + QStringLiteral("\r\n") + e.remoteFolder + QStringLiteral("\r\n") + e.localFolder);
        platform.SetProgress(done, e.fileName);
        const FetchResult got = Get(url, check.size, true);
        if (got.outcome == FetchResult::Outcome::Cancelled || platform.ProgressCancelled()) {
            Log(QStringLiteral("Update cancelled; no file was changed"));
            return abandon(UpdateResult::Cancelled);
        }
        if (got.outcome == FetchResult::Outcome::TooLarge) {
            Log(DownloadFailure + QStringLiteral("6, ") + Printable(e.fileName) + QStringLiteral(": ") + got.error);
            abandon(UpdateResult::Abandoned);
            Say(UntrustedFileText);
            return UpdateResult::Abandoned;
        }
        if (!got.Ok()) {
            LogTransferError(got);
            Log(QStringLiteral("  ") + Printable(e.fileName) + QStringLiteral("  skipped: not downloaded"));
            row.skipped = true;
            continue;
        }
        Log(QStringLiteral("Last-modified: ") + got.lastModified);
        if (got.lastModified.isEmpty()) {
            Log(QStringLiteral("  ") + Printable(e.fileName) + QStringLiteral("  skipped: no Last-modified date"));
            row.skipped = true;
            continue;
        }
        if (got.body.size() != check.size ||
            QCryptographicHash::hash(got.body, QCryptographicHash::Sha256) != check.sha256) {
            Log(DownloadFailure + QStringLiteral("7, ") + Printable(e.fileName) +
                QStringLiteral(": %1 bytes received, size or SHA-256 differ from the signed list").arg(got.body.size()));
            abandon(UpdateResult::Abandoned);
            Say(UntrustedFileText);
            return UpdateResult::Abandoned;
        }
        row.staged = QStringLiteral("file%1").arg(i);
        QString writeProblem;
        if (!WriteFileSafely(staging + QLatin1Char('/') + row.staged, got.body, &writeProblem)) {
            Log(DownloadFailure + QStringLiteral("8, ") + writeProblem);
            abandon(UpdateResult::Abandoned);
            m_s.ShowMessage(25);
            return UpdateResult::Abandoned;
        }
        row.downloaded = true;
        waiting = waiting || IsProgramFile(e);
        platform.SetProgress(++done, e.fileName);
    }
    platform.HideProgress();

    const InstallPlan plan = Plan();
    for (const QString& gone : plan.deletions)
        Log(QStringLiteral("  ") + Printable(gone) + QStringLiteral("  removed: the list no longer names it"));
    const QString problem = CommitPlan(m_s.programFolder, staging, plan);
    if (!problem.isEmpty()) {
        Log(PlaceFailure() + QStringLiteral("9, ") + problem);
        SetHint(QString());
        m_s.ShowMessage(25);
        return UpdateResult::Abandoned;
    }
    SetHint(m_s.strings[waiting ? 3 : 13]);
    bool skipped = false;
    for (const Row& row : m_rows) {
        skipped = skipped || row.skipped;
        if (!row.downloaded || row.newest->localFolder.compare(QLatin1String("ReleaseNotes"), Qt::CaseInsensitive) != 0)
            continue;
        m_s.settings.Save(m_s.settingsSection, QStringLiteral("ReadReleaseNotes"), QStringLiteral("True"));
        m_s.platform.OpenDocument(m_s.programFolder + QLatin1Char('/') + Target(*row.newest));
    }
    if (skipped) {
        m_s.ShowMessage(24);
        return UpdateResult::Incomplete;
    }
    return UpdateResult::Updated;
}

UpdateResult UpdateRun::Run() {
    FinishInterruptedUpdate(m_s);
    if (!ReadInstalled()) {
        m_s.ShowMessage(23);
        return UpdateResult::Unreachable;
    }
    SetHint(m_s.strings[0]);
    m_base = QUrl(m_s.updateUrl.trimmed());
    const QString problem = AddressProblem(m_base);
    if (!problem.isEmpty()) {
        Log(CheckFailure + QStringLiteral("0, ") + Printable(problem));
        SetHint(QString());
        Say(InsecureAddressText);
        return UpdateResult::Refused;
    }
    UpdateResult failure = UpdateResult::Unreachable;
    const std::optional<QByteArray> list = FetchList(&failure);
    SetHint(QString());
    if (!list) return failure;
    Compare(*list);
    int count = 0;
    for (const Row& row : m_rows) count += row.phase == Row::Fetch ? 1 : 0;
    if (count == 0) return UpdateResult::UpToDate;
    if (m_options.askBeforeDownload &&
        m_s.AskMessage(m_s.messages[0][22], m_s.messages[1][22], Box::YesNo) != Box::AnswerYes)
        return UpdateResult::Declined;
    return Download(count);
}

} // namespace

UpdateResult UpdateCheck(State& s, const UpdateOptions& options) {
    s.WriteLog(QStringLiteral(">Update_Check()"));
    s.WriteLog(s.updateUrl + QStringLiteral("\\Newest.ver"));
    if (!InstallationWritable(s.programFolder)) {
        s.WriteLog(QStringLiteral("The installation folder is read-only: the system's package manager updates it"));
        s.ShowMessage(12);
        return UpdateResult::Managed;
    }
    UpdateRun run(s, options);
    return run.Run();
}

} // namespace corvane
