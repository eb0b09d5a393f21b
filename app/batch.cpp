#include "app/batch.h"

#include "app/batchargs.h"
#include "app/batchoutput.h"
#include "app/consoleplatform.h"
#include "app/session.h"
#include "app/startup.h"
#include "base/commandline.h"
#include "base/installation.h"
#include "base/safefile.h"
#include "base/settingsstore.h"
#include "calc/driver.h"
#include "definitions/state.h"
#include "input/fieldrules.h"
#include "input/grids.h"
#include "input/numericentry.h"
#include "input/optionlists.h"
#include "jobs/jobactions.h"
#include "jobs/jobfile.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>

namespace corvane {

namespace {

bool IsListField(const State& s, int n) {
    return IsListKind(KindOfField(s, n));
}

// Checks that need only the window definition, so they fail before anything is loaded.
QString CheckControls(const State& s, const QList<Edit>& edits) {
    for (const Edit& e : edits) {
        switch (e.kind) {
        case Edit::Set:
            if (!s.textBoxes.Has(e.n))
                return QStringLiteral("'%1': there is no field %2").arg(e.spelled).arg(e.n);
            if (IsListField(s, e.n))
                return QStringLiteral("'%1': field %2 is chosen from a list; use --pick %2=I")
                    .arg(e.spelled)
                    .arg(e.n);
            break;
        case Edit::ClickRadio:
            if (!s.radios.Has(e.n))
                return QStringLiteral("'%1': there is no option button %2").arg(e.spelled).arg(e.n);
            break;
        case Edit::Pick:
            if (!s.textBoxes.Has(e.n) || !s.optionLists.Has(e.n))
                return QStringLiteral("'%1': field %2 has no list").arg(e.spelled).arg(e.n);
            break;
        case Edit::Cell:
        case Edit::PickCell:
            if (e.n != 200 && e.n != 300)
                return QStringLiteral("'%1': only grids 200 and 300 are edited").arg(e.spelled);
            break;
        }
    }
    return QString();
}

bool ListRow(int g, int r) {
    const int list = g + r;
    return list == 201 || list == 206 || list == 301 || list == 302;
}

// The cell must be one a user can enter: a section or product column, not the result row.
QString CheckCell(const State& s, const Edit& e) {
    const Grid& grid = s.grids[e.n];
    if (e.row < 1 || e.row > grid.rows - 2 || e.col < 2 || e.col >= grid.cols)
        return QStringLiteral("'%1': cell %2,%3 is not an input cell of grid %4 (rows 1-%5, columns 2-%6)")
            .arg(e.spelled)
            .arg(e.row)
            .arg(e.col)
            .arg(e.n)
            .arg(grid.rows - 2)
            .arg(grid.cols - 1);
    const bool list = ListRow(e.n, e.row);
    if (e.kind == Edit::Cell && list)
        return QStringLiteral("'%1': row %2 of grid %3 is chosen from a list; use --pick-cell")
            .arg(e.spelled)
            .arg(e.row)
            .arg(e.n);
    if (e.kind == Edit::PickCell && !list)
        return QStringLiteral("'%1': row %2 of grid %3 has no list; use --cell")
            .arg(e.spelled)
            .arg(e.row)
            .arg(e.n);
    if (e.kind == Edit::PickCell && e.n == 200 && e.row == 1 && !(s.radios.Has(203) && s.radios[203].value))
        return QStringLiteral(
                   "'%1': the section kinds are chosen only in the free layout (option button 203)")
            .arg(e.spelled);
    return QString();
}

QString EnterCell(State& s, const Edit& e) {
    const QString error = CheckCell(s, e);
    if (!error.isEmpty()) return error;
    Grid& grid = s.grids[e.n];
    grid.row = e.row;
    grid.col = e.col;
    s.focus = FocusRef{ControlKind::Grid, e.n};
    GridClick(s, e.n, e.row, e.col);
    return QString();
}

QString PickEntry(State& s, const Edit& e, int list) {
    const OptionList& l = s.optionLists[list];
    if (e.index >= l.items.size())
        return QStringLiteral("'%1': list %2 has %3 entries, counted from 0")
            .arg(e.spelled)
            .arg(list)
            .arg(l.items.size());
    s.focus = FocusRef{ControlKind::OptionList, list};
    ListPick(s, list, e.index);
    return QString();
}

// One edit as the user makes it in the window; an error text for an edit that cannot be made.
QString ApplyEdit(State& s, const Edit& e) {
    switch (e.kind) {
    case Edit::Set:
        s.focus = FocusRef{ControlKind::TextBox, e.n};
        TextBoxGotFocus(s, e.n);
        s.SetText(e.n, e.text);
        TextBoxLostFocus(s, e.n);
        break;
    case Edit::Cell: {
        const QString error = EnterCell(s, e);
        if (!error.isEmpty()) return error;
        CellEditorGotFocus(s, e.n);
        s.cellEditorText[e.n == 200 ? 0 : 1] = e.text;
        CellEditorChange(s, e.n, e.text);
        CellEditorLostFocus(s, e.n);
        break;
    }
    case Edit::ClickRadio:
        s.focus = FocusRef{ControlKind::Radio, e.n};
        s.SetRadio(e.n, true);
        break;
    case Edit::Pick: {
        s.focus = FocusRef{ControlKind::TextBox, e.n};
        OpenPicker(s, e.n);
        const QString error = PickEntry(s, e, e.n);
        if (!error.isEmpty()) return error;
        break;
    }
    case Edit::PickCell: {
        QString error = EnterCell(s, e);
        if (error.isEmpty()) error = PickEntry(s, e, e.n + e.row);
        if (!error.isEmpty()) return error;
        break;
    }
    }
    s.focus = FocusRef{};
    return QString();
}

// --- output

// A run that needs a service the program was started without: the batch program hands such
// runs to the window program, so this is a wrong installation or a wrong call.
QString MissingService(const QString& what) {
    return QStringLiteral("%1 needs the program %2 beside this one").arg(what, QLatin1String(WindowProgramName));
}

bool SameFile(const QString& a, const QString& b) {
    return !a.isEmpty() && QDir::cleanPath(QFileInfo(a).absoluteFilePath()) ==
                               QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

// The update check without a window: the download question is answered Yes, the log lines
// of the check go to standard output as they are written.
int RunUpdate(State& s, const BatchOptions& options, const BatchServices& services) {
    if (!services.checkForUpdates) return Fail(Unexpected, MissingService(QStringLiteral("--update")));
    try {
        StartUp(s, options.log ? QStringLiteral("/LOG") : QString());
    } catch (const ProgramEnd& end) {
        return Fail(JobUnusable,
                    QStringLiteral("the program cannot start: ") + QString::fromStdString(end.what()));
    }
    s.log.SetEcho([](const QString& line) { Print(stdout, line + QLatin1Char('\n')); });
    const bool current = services.checkForUpdates(s);
    s.log.SetEcho({});
    if (!s.hintText.isEmpty()) Print(stdout, s.hintText + QLatin1Char('\n'));
    return current ? Computed : JobUnusable;
}

int Run(State& s, const BatchOptions& options, const BatchServices& services) {
    if (!options.pdfPath.isEmpty() && !services.writePdf) return Fail(Unexpected, MissingService(QStringLiteral("--pdf")));
    if (!options.bmpPath.isEmpty() && !services.writePageImages)
        return Fail(Unexpected, MissingService(QStringLiteral("--bmp")));
    const QString jobFile =
        options.jobFile.isEmpty() ? QString() : QFileInfo(options.jobFile).absoluteFilePath();
    QStringList arguments;
    if (!jobFile.isEmpty()) arguments << jobFile;
    if (options.log) arguments << QStringLiteral("/LOG");
    try {
        StartUp(s, arguments);
    } catch (const ProgramEnd& end) {
        return Fail(JobUnusable,
                    QStringLiteral("the program cannot start: ") + QString::fromStdString(end.what()));
    }
    if (!jobFile.isEmpty() && !SameFile(s.currentJobPath, jobFile)) {
        if (!IsJobFilePath(s, jobFile))
            return Fail(JobUnusable,
                        QStringLiteral("'%1' is not a job file (*.%2)").arg(options.jobFile, s.jobExtension));
        return Fail(JobUnusable, QStringLiteral("the job '%1' cannot be loaded").arg(options.jobFile));
    }
    for (const Edit& e : options.edits) {
        const QString error = ApplyEdit(s, e);
        if (!error.isEmpty()) return Fail(BadArguments, error);
    }
    // The results always match the inputs shown, also for a job given without edits.
    Calculate(s);
    if (!options.savePath.isEmpty()) {
        const QString path = QFileInfo(options.savePath).absoluteFilePath();
        if (!IsJobFilePath(s, path))
            Print(stderr, QStringLiteral("corvane: note: the window opens only *.%1 files as jobs\n")
                              .arg(s.jobExtension));
        const QString refused = CheckWriteTarget(path);
        if (!refused.isEmpty())
            return Fail(JobUnusable, QStringLiteral("the job cannot be saved: ") + refused);
        if (!JobFileSave(s, path))
            return Fail(JobUnusable, QStringLiteral("the job cannot be saved to '%1'").arg(options.savePath));
    }
    // Written without asking, like the job: the path was given on purpose.
    if (!options.pdfPath.isEmpty()) {
        QString error;
        if (!services.writePdf(s, QFileInfo(options.pdfPath).absoluteFilePath(), &error))
            return Fail(JobUnusable,
                        QStringLiteral("the report cannot be written to '%1': %2").arg(options.pdfPath, error));
    }
    if (!options.bmpPath.isEmpty()) {
        QString error;
        if (!services.writePageImages(s, QFileInfo(options.bmpPath).absoluteFilePath(), &error))
            return Fail(JobUnusable,
                        QStringLiteral("the page images cannot be written to '%1': %2").arg(options.bmpPath, error));
    }
    if (options.json)
        PrintBytes(stdout, StateJsonText(s));
    else
        Print(stdout, Summary(s));
    return s.errorList.isEmpty() ? Computed : ChecksFail;
}

} // namespace

bool BatchDrawsReport(const QStringList& args) {
    for (const QString& a : args)
        if (a == QLatin1String("--pdf") || a == QLatin1String("--bmp") ||
            a.startsWith(QLatin1String("--pdf=")) || a.startsWith(QLatin1String("--bmp=")))
            return true;
    return false;
}

bool BatchNeedsServices(const QStringList& args) {
    return BatchDrawsReport(args) || args.contains(QStringLiteral("--update"));
}

bool IsBatchInvocation(const QStringList& args) {
    return args.contains(QStringLiteral("--batch")) || args.contains(QStringLiteral("--help")) ||
           args.contains(QStringLiteral("--version"));
}

int RunBatch(const QString& programFolder, const QStringList& args, const BatchServices& services) {
    BatchOptions options;
    const QString error = ParseBatchArguments(args, options);
    if (options.help) {
        Print(stdout, BatchHelpText(programFolder));
        return Computed;
    }
    if (options.version) {
        Print(stdout, QStringLiteral("Corvane %1\n").arg(ProgramVersion()));
        return Computed;
    }
    if (!error.isEmpty()) return Fail(BadArguments, error);

    ConsolePlatform platform;
    SettingsStore settings;
    const std::unique_ptr<State> session = MakeSession(programFolder, platform, settings);
    State& s = *session;
    const QString unknown = CheckControls(s, options.edits);
    if (!unknown.isEmpty()) return Fail(BadArguments, unknown);
    int status = Unexpected;
    try {
        status = options.update ? RunUpdate(s, options, services) : Run(s, options, services);
    } catch (const ProgramEnd& end) {
        status =
            Fail(JobUnusable, QStringLiteral("the program stopped: ") + QString::fromStdString(end.what()));
    } catch (const MissingControl& missing) {
        status = Fail(BadArguments, QString::fromStdString(missing.what()));
    } catch (const std::exception& e) {
        status = Fail(Unexpected, QStringLiteral("unexpected failure: ") + QString::fromStdString(e.what()));
    }
    settings.Sync();
    return status;
}

} // namespace corvane
