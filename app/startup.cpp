#include "app/startup.h"

#include "base/commandline.h"
#include "app/commands.h"
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

#include <QFileInfo>

namespace corvane {

namespace {

void SetVersion(State& s) {
    s.versionText = QStringLiteral("Rev : %1.%2.%3")
                        .arg(CORVANE_VERSION_MAJOR)
                        .arg(CORVANE_VERSION_MINOR)
                        .arg(CORVANE_VERSION_REVISION);
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

} // namespace

void StartUp(State& s, const QString& commandTail) { StartUp(s, SplitCommandLine(commandTail)); }

void StartUp(State& s, const QStringList& args) {
    s.WriteLog(QStringLiteral(">frmMain_load"));
    SetVersion(s);
    FindBrandIcon(s);
    s.jobFolder = s.settings.Get(s.settingsSection, QStringLiteral("JobFilepath"),
                                 s.programFolder + QStringLiteral("/JobFiles/"));
    s.updateFolder = s.programFolder + QStringLiteral("/Updates");
    s.templatePath = s.dataFolder + QStringLiteral("default.fil");
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

    OpenStartupJob(s, args);
    // Show up-to-date results from the first moment; computing them is no edit of the user's.
    Calculate(s);
    s.flags.jobModified = false;

    // The log switch is read only here: lines written before go to the ring only.
    for (const QString& arg : args)
        if (arg.compare(QLatin1String("/LOG"), Qt::CaseInsensitive) == 0) s.log.SetFileOn(true);
    s.bannerLines = 3;
    s.MarkAllDirty();
}

void OpenStartupJob(State& s, const QStringList& given) {
    QStringList args = given.mid(0, 10);
    if (args.isEmpty()) {
        LoadTemplateJob(s);
        return;
    }
    for (int i = 0; i < args.size(); ++i) {
        const QString arg = args[i];
        s.WriteLog(arg);
        // The job extension is the language file's, whatever its length.
        if (IsJobFilePath(s, arg)) {
            if (FileExists(s, arg, false)) {
                s.currentJobPath = arg;
                if (JobFileLoad(s, arg)) {
                    RunCommand(s, 0);
                    s.buttons[0].foreColour = s.colours.highlight;
                    s.MarkDirty(ControlKind::Button, 0);
                } else {
                    LoadTemplateJob(s);
                }
            } else {
                s.ShowMessage(15);
                LoadTemplateJob(s);
            }
            args[i].clear();
            return;
        }
        LoadTemplateJob(s);
    }
}

} // namespace corvane
