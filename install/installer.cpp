#include "install/installer.h"

#include "base/safefile.h"
#include "definitions/state.h"
#include "install/versionlist.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace corvane {

namespace {

const QString CommitName = QStringLiteral("Commit.txt");
const QString NewListName = QStringLiteral("Installed.new");
constexpr qint64 MaxCommitBytes = 4 << 20;

// A target as the plan names it: one or two plain names under the program folder.
bool IsPlainTarget(const QString& target) {
    const QStringList parts = target.split(QLatin1Char('/'));
    if (parts.size() > 2) return false;
    for (const QString& p : parts)
        if (!FileNameProblem(p).isEmpty()) return false;
    return true;
}

QString WriteWhole(const QString& path, const QByteArray& bytes) {
    QString problem;
    WriteFileSafely(path, bytes, &problem);
    return problem;
}

QString Rename(const QString& from, const QString& to) {
    std::error_code error;
    // Replaces the target in one step: the old file stays until the new one is complete.
    std::filesystem::rename(std::filesystem::path(from.toStdU16String()), std::filesystem::path(to.toStdU16String()),
                            error);
    if (error)
        return QStringLiteral("'%1' cannot be put in place: %2").arg(to, QString::fromLocal8Bit(error.message().c_str()));
    return QString();
}

QByteArray CommitText(const InstallPlan& plan) {
    QByteArray text;
    for (const InstallPlan::Move& m : plan.moves)
        text += "MOVE\t" + m.staged.toUtf8() + '\t' + m.target.toUtf8() + '\n';
    for (const QString& d : plan.deletions) text += "DELETE\t" + d.toUtf8() + '\n';
    return text;
}

// Reads a committed plan back; false when it is damaged (then it is not carried out).
bool ReadCommit(const QString& stagingFolder, InstallPlan* plan) {
    QFile commit(stagingFolder + QLatin1Char('/') + CommitName);
    QFile list(stagingFolder + QLatin1Char('/') + NewListName);
    if (commit.size() > MaxCommitBytes || list.size() > MaxCommitBytes) return false;
    if (!commit.open(QIODevice::ReadOnly) || !list.open(QIODevice::ReadOnly)) return false;
    plan->installedList = list.readAll();
    for (const QByteArray& line : commit.readAll().split('\n')) {
        if (line.isEmpty()) continue;
        const QList<QByteArray> f = line.split('\t');
        if (f.size() == 3 && f[0] == "MOVE" && IsPlainTarget(QString::fromUtf8(f[2])) &&
            FileNameProblem(QString::fromUtf8(f[1])).isEmpty())
            plan->moves << InstallPlan::Move{QString::fromUtf8(f[1]), QString::fromUtf8(f[2])};
        else if (f.size() == 2 && f[0] == "DELETE" && IsPlainTarget(QString::fromUtf8(f[1])))
            plan->deletions << QString::fromUtf8(f[1]);
        else
            return false;
    }
    return true;
}

// Carries out a committed plan; each step can run again after an interruption.
QString Apply(const QString& programFolder, const QString& stagingFolder, const InstallPlan& plan) {
    for (const InstallPlan::Move& m : plan.moves) {
        const QString staged = stagingFolder + QLatin1Char('/') + m.staged;
        if (!QFileInfo(staged).isFile()) continue; // moved before the interruption
        const QString target = programFolder + QLatin1Char('/') + m.target;
        if (!QDir().mkpath(QFileInfo(target).absolutePath()))
            return QStringLiteral("the folder of '%1' cannot be made").arg(target);
        if (!IsRegularOrAbsent(target)) return QStringLiteral("'%1' is not a regular file").arg(target);
        const QString problem = Rename(staged, target);
        if (!problem.isEmpty()) return problem;
    }
    for (const QString& d : plan.deletions) {
        const QFileInfo target(programFolder + QLatin1Char('/') + d);
        if ((target.isSymLink() || target.isFile()) && !QFile::remove(target.filePath()))
            return QStringLiteral("'%1' cannot be deleted").arg(target.filePath());
    }
    const QString problem = WriteWhole(programFolder + QLatin1Char('/') + InstalledListPath(), plan.installedList);
    if (!problem.isEmpty()) return problem;
    QDir(stagingFolder).removeRecursively();
    return QString();
}

} // namespace

QString InstalledListPath() { return QStringLiteral("opdata/Installed.ver"); }

QString StagingFolder(const QString& updateFolder) { return updateFolder + QStringLiteral("/staging"); }

bool IsRegularOrAbsent(const QString& path) { return CheckWriteTarget(path).isEmpty(); }

bool PrepareStaging(const QString& stagingFolder) {
    const QFileInfo info(stagingFolder);
    if (info.isSymLink() || (info.exists() && !info.isDir()))
        QFile::remove(stagingFolder);
    else if (info.exists())
        QDir(stagingFolder).removeRecursively();
    return QDir().mkpath(stagingFolder);
}

QString PlanProblem(const QString& programFolder, const InstallPlan& plan) {
    for (const InstallPlan::Move& m : plan.moves) {
        if (!IsPlainTarget(m.target)) return QStringLiteral("'%1' is not a path inside the installation").arg(m.target);
        const QString target = programFolder + QLatin1Char('/') + m.target;
        const QFileInfo folder(QFileInfo(target).absolutePath());
        if (folder.exists() && !folder.isDir()) return QStringLiteral("'%1' is not a folder").arg(folder.filePath());
        if (!IsRegularOrAbsent(target)) return QStringLiteral("'%1' is not a regular file").arg(target);
    }
    const QString list = programFolder + QLatin1Char('/') + InstalledListPath();
    if (!IsRegularOrAbsent(list)) return QStringLiteral("'%1' is not a regular file").arg(list);
    return QString();
}

QString CommitOnly(const QString& programFolder, const QString& stagingFolder, const InstallPlan& plan) {
    QString problem = PlanProblem(programFolder, plan);
    if (problem.isEmpty()) problem = WriteWhole(stagingFolder + QLatin1Char('/') + NewListName, plan.installedList);
    // Writing the plan is the commit: from here the update is finished, now or at the next start.
    if (problem.isEmpty()) problem = WriteWhole(stagingFolder + QLatin1Char('/') + CommitName, CommitText(plan));
    if (!problem.isEmpty()) QDir(stagingFolder).removeRecursively();
    return problem;
}

QString CommitPlan(const QString& programFolder, const QString& stagingFolder, const InstallPlan& plan) {
    const QString problem = CommitOnly(programFolder, stagingFolder, plan);
    return problem.isEmpty() ? Apply(programFolder, stagingFolder, plan) : problem;
}

QString CompleteStagedUpdate(const QString& programFolder, const QString& stagingFolder, bool* finished) {
    if (finished) *finished = false;
    const QFileInfo info(stagingFolder);
    if (!info.exists() && !info.isSymLink()) return QString();
    if (!info.isDir() || info.isSymLink()) {
        QFile::remove(stagingFolder);
        return QString();
    }
    InstallPlan plan;
    if (!QFileInfo::exists(stagingFolder + QLatin1Char('/') + CommitName) || !ReadCommit(stagingFolder, &plan)) {
        // Downloads that never reached their commit: the installation is still the old one.
        QDir(stagingFolder).removeRecursively();
        return QString();
    }
    if (finished) *finished = true;
    return Apply(programFolder, stagingFolder, plan);
}

void FinishInterruptedUpdate(State& s) {
    bool finished = false;
    const QString problem = CompleteStagedUpdate(s.programFolder, StagingFolder(s.updateFolder), &finished);
    if (!problem.isEmpty())
        s.WriteLog(PlaceFailure() + QStringLiteral("10, an interrupted update cannot be finished: ") + problem);
    else if (finished)
        s.WriteLog(QStringLiteral("An interrupted update was finished"));
}

} // namespace corvane
