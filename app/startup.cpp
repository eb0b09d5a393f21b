#include "app/startup.h"

#include "base/commandline.h"
#include "base/installation.h"
#include "definitions/datafiles.h"
#include "base/paths.h"
#include "calc/driver.h"
#include "calc/tables.h"
#include "definitions/colourfile.h"
#include "definitions/languagefile.h"
#include "definitions/state.h"
#include "equipment/equipmentfiles.h"
#include "jobs/filehistory.h"
#include "jobs/jobactions.h"
#include "jobs/jobfile.h"
#include "input/navigation.h"
#include "install/installer.h"

#include <QDir>
#include <QFileInfo>

namespace corvane {

namespace {

// As many arguments as the command line is read for.
constexpr int MaxStartupArguments = 10;

void SetVersion(State& s) {
    s.versionText = QStringLiteral("Rev : ") + ProgramVersion();
    s.labels[801].caption = s.versionText;
}

// The brand icon names the settings sections, so installations that ship different icons keep
// separate settings. Without one the program cannot start.
void FindBrandIcon(State& s) {
    const QString icon = FirstFileMatching(s.dataFolder, QStringLiteral("*.ico"));
    s.WriteLog(icon);
    if (icon.isEmpty()) {
        s.platform.MessageBox(QStringLiteral("Corvane"),
                              QStringLiteral("The program's data folder has no brand icon (*.ico):\r\n'") +
                                  s.dataFolder + QStringLiteral("'\r\nPlease reinstall."),
                              Box::Ok | Box::Stop);
        throw ProgramEnd(2, QStringLiteral("No brand icon in ") + s.dataFolder);
    }
    s.iconPicture = s.dataFolder + icon;
    s.brandName = icon.left(icon.size() - 4);
    s.settingsSection = s.brandName + QStringLiteral("\\Tundrel\\Settings");
    s.historySection = s.brandName + QStringLiteral("\\Tundrel\\FileHistory");
}

// An installation the program may not write into (a package's) keeps the user's jobs in the
// documents folder and everything else the program writes in the user's data folder; both
// are made here, so the first dialog and the first log line find them.
void SetWritableFolders(State& s) {
    const QString defaultJobFolder = DefaultJobFolder(s.programFolder);
    s.jobFolder = s.settings.Get(s.settingsSection, QStringLiteral("JobFilepath"), defaultJobFolder);
    const QString writable = WritableFolder(s.programFolder);
    s.updateFolder = writable + QStringLiteral("/Updates");
    if (InstallationWritable(s.programFolder)) return;
    for (const QString& folder : {writable, s.jobFolder == defaultJobFolder ? defaultJobFolder : QString()})
        if (!folder.isEmpty() && !QDir().mkpath(folder)) s.WriteLog(QStringLiteral("Cannot create ") + folder);
}

} // namespace

QString ProgramVersion() {
    return QStringLiteral("%1.%2.%3")
        .arg(CORVANE_VERSION_MAJOR)
        .arg(CORVANE_VERSION_MINOR)
        .arg(CORVANE_VERSION_REVISION);
}

void StartUp(State& s, const QString& commandTail) { StartUp(s, SplitCommandLine(commandTail)); }

void StartUp(State& s, const QStringList& arguments) {
    s.WriteLog(QStringLiteral(">frmMain_load"));
    SetVersion(s);
    FindBrandIcon(s);
    SetWritableFolders(s);
    s.templatePath = s.dataFolder + QStringLiteral("default.fil");
    // An update stopped while its files were put in place is finished before they are read.
    if (InstallationWritable(s.programFolder)) FinishInterruptedUpdate(s);
    LoadFileHistory(s);

    {
        FlagGuard guard(s.flags.layoutGuard);
        s.WriteLog(QStringLiteral("9600 7200"));
    }
    for (auto& [n, frame] : s.frames) frame.bold = true;
    for (auto& [p, page] : s.pages) page.visible = false;
    s.geometryVisible = {false, false, false};
    RefreshButtonColours(s);

    {
        FlagGuard guard(s.flags.tablesLoading);
        ReadFixedTables(s);
        ReadEquipmentFiles(s);
        ReadColourFile(s);
        ReadResourceFile(s);
        ReadLanguageTables(s);
    }

    OpenStartupJob(s, arguments);
    // Show up-to-date results from the first moment; computing them is no edit of the user's.
    Calculate(s);
    s.flags.jobModified = false;

    // The log switch is read only here: lines written before go to the ring only.
    for (const QString& arg : arguments.mid(0, MaxStartupArguments))
        if (arg.compare(QLatin1String("/LOG"), Qt::CaseInsensitive) == 0) s.log.SetFileOn(true);
    s.bannerLines = 3;
    s.MarkAllDirty();
}

void OpenStartupJob(State& s, const QStringList& arguments) {
    const QStringList args = arguments.mid(0, MaxStartupArguments);
    if (args.isEmpty()) {
        LoadTemplateJob(s);
        return;
    }
    for (const QString& arg : args) {
        s.WriteLog(arg);
        // The job extension is the language file's, whatever its length.
        if (!IsJobFilePath(s, arg)) {
            LoadTemplateJob(s);
            continue;
        }
        // A job that cannot be opened is named in its message (of several files passed at once
        // the user learns which one failed), and the next job among the arguments gets its turn.
        const QFileInfo job(arg);
        if (!job.exists()) {
            s.ShowMessage(15, arg);
            LoadTemplateJob(s);
            continue;
        }
        s.currentJobPath = job.absoluteFilePath();
        if (JobFileLoad(s, s.currentJobPath)) {
            PressPageButton(s, 0);
            s.buttons[0].foreColour = s.colours.highlight;
            s.MarkDirty(ControlKind::Button, 0);
            return;
        }
        s.currentJobPath.clear();
        LoadTemplateJob(s);
    }
}

} // namespace corvane
