#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace corvane {

class State;

// What one update changes in the installation. Downloads wait in a staging folder inside the
// update folder (so a rename puts each in place on the same file system); the plan is
// written there before the first file moves, so an update that is interrupted is finished
// by the next start or check instead of leaving a mix the installed list does not describe.
struct InstallPlan {
    struct Move {
        QString staged;   // file name in the staging folder
        QString target;   // path under the program folder: "name" or "folder/name"
    };
    QList<Move> moves;
    QStringList deletions;        // paths under the program folder
    QByteArray installedList;     // the new Installed.ver
};

// The staging folder of an update folder.
QString StagingFolder(const QString& updateFolder);
// Empties the staging folder (or makes it); false when it cannot be made.
bool PrepareStaging(const QString& stagingFolder);
// Whether a file may be written at path: nothing there, or a regular file (or a link to one).
bool IsRegularOrAbsent(const QString& path);

// Why the plan cannot be carried out (a target that is a folder or a device, a folder that
// is a file), checked before anything is changed; empty when it can.
QString PlanProblem(const QString& programFolder, const InstallPlan& plan);

// Commits the plan without carrying it out: checks it, then writes it to the staging folder.
QString CommitOnly(const QString& programFolder, const QString& stagingFolder, const InstallPlan& plan);

// Commits the plan and carries it out: afterwards the installation is the new version and
// the staging folder is gone. Returns what failed, empty on success; a failure after the
// commit leaves the plan for CompleteStagedUpdate.
QString CommitPlan(const QString& programFolder, const QString& stagingFolder, const InstallPlan& plan);

// Finishes an update that was committed but not completed, and removes the leftovers of one
// that never reached its commit. `finished` tells whether a plan was carried out.
QString CompleteStagedUpdate(const QString& programFolder, const QString& stagingFolder, bool* finished = nullptr);

// The start of the log line of a file the update cannot put in place.
inline QString PlaceFailure() { return QStringLiteral("*** CheckTundrel\\Versions (Delete) *** "); }

// Finishes an update that the program was stopped in the middle of putting in place, at
// start-up; what happened goes to the log.
void FinishInterruptedUpdate(State& s);

// The installed list's path under the program folder.
QString InstalledListPath();

} // namespace corvane
