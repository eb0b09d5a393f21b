#include "app/batchargs.h"

#include "base/installation.h"

#include <QDir>
#include <QMap>
#include <optional>

namespace corvane {

namespace {

const char HelpText[] = R"(Usage:
  corvane [JOBFILE...] [/LOG]
  corvane --batch [EDIT...] [--save PATH] [--pdf PATH] [--bmp PATH] [--json] [JOBFILE] [/LOG]
  corvane --batch --update [/LOG]
  corvane --help
  corvane --version

Without --batch the program opens its window with the first JOBFILE (a job file,
.cvj) that it can open, or with the template job. A job file that cannot be
opened is named in a message.

  /LOG                  write the program's log to its log file (see the folders
                        below) from the start; any letter case
  --help                print this help and leave
  --version             print the program's version and leave

Batch mode starts the program as usual - its data folders, your settings,
language and colour files - but without a window. It loads JOBFILE or the
template job, applies the edits in the order given, each as you would make it
in the window, recalculates, and prints the results.

  --batch               run without a window

Edits (any number, applied in order):
  --set N=TEXT          put TEXT into field N as a paste would, then leave the field
  --cell G,R,C=TEXT     type TEXT into cell (row R, column C) of grid G
                        (200 wall sections, 300 products), then leave the cell
  --click-radio N       click option button N
  --pick N=I            open the list of field N and click its entry I (from 0)
  --pick-cell G,R,C=I   enter cell (R, C) of grid G and click entry I of its list
                        (grid 200 rows 1 and 6, grid 300 rows 1 and 2)

Output:
  --save PATH           save the job to PATH after the edits
  --pdf PATH            write the two-page report to PATH as a PDF (A4, or Letter
                        where the locale measures in US units)
  --bmp PATH            write the report's pages as two images: NAME.bmp gives
                        NAME.Page_1.bmp and NAME.Page_2.bmp
  --json                print the whole state as JSON instead of the summary

Messages that the window would show go to standard error; a question gets the
answer No (or Cancel) and file dialogs are cancelled.

Update:
  --update              check the update address for newer program and data files,
                        download them without asking and put them in place; the
                        log lines of the check are printed (see docs/updates.md).
                        Exit status 0: up to date or updated; 3: the list was
                        refused, a file failed its check (nothing was changed), a
                        file could not be downloaded, or the installation is
                        read-only.

Exit status:
  0  the results were computed
  1  the inputs fail the program's checks (the problems are listed)
  2  bad arguments: an unknown option, a malformed edit, a control that does
     not exist, a cell or list entry out of range
  3  the program cannot start, the job cannot be loaded or saved, or the
     report cannot be written
  4  an unexpected failure inside the program (the message says where)

Example: a freezer at 0 F, saved and shown as JSON
  corvane --batch --set 103=0 --save freezer.cvj --json

Example: the report of a 12 x 10 x 8 ft cooler as a PDF
  corvane --batch --set 13=12 --set 14=10 --set 15=8 --pdf cooler.pdf
)";

std::optional<int> Integer(const QString& text) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

// "N=TEXT", "G,R,C=TEXT", "N" and their whole-number forms. An empty string is the error.
QString ParseEdit(Edit& e, const QString& value) {
    const bool cell = e.kind == Edit::Cell || e.kind == Edit::PickCell;
    const bool hasValue = e.kind != Edit::ClickRadio;
    const qsizetype eq = value.indexOf(QLatin1Char('='));
    if (hasValue && eq < 0) return QStringLiteral("'%1' needs '='").arg(e.spelled);
    const QString target = hasValue ? value.left(eq) : value;
    e.text = hasValue ? value.mid(eq + 1) : QString();
    const QStringList parts = target.split(QLatin1Char(','));
    if (parts.size() != (cell ? 3 : 1))
        return QStringLiteral("'%1': expected %2")
            .arg(e.spelled, cell ? QStringLiteral("G,R,C") : QStringLiteral("a number"));
    std::array<int, 3> numbers{};
    for (int i = 0; i < parts.size(); ++i) {
        const std::optional<int> v = Integer(parts[i]);
        if (!v) return QStringLiteral("'%1': '%2' is not a whole number").arg(e.spelled, parts[i]);
        numbers[i] = *v;
    }
    e.n = numbers[0];
    e.row = numbers[1];
    e.col = numbers[2];
    if (e.kind == Edit::Pick || e.kind == Edit::PickCell) {
        const std::optional<int> index = Integer(e.text);
        if (!index || *index < 0)
            return QStringLiteral("'%1': the entry must be a whole number from 0").arg(e.spelled);
        e.index = *index;
    }
    return QString();
}

} // namespace

QString ParseBatchArguments(const QStringList& args, BatchOptions& out) {
    static const QMap<QString, Edit::Kind> editOptions = {
        {QStringLiteral("--set"), Edit::Set},
        {QStringLiteral("--cell"), Edit::Cell},
        {QStringLiteral("--click-radio"), Edit::ClickRadio},
        {QStringLiteral("--pick"), Edit::Pick},
        {QStringLiteral("--pick-cell"), Edit::PickCell},
    };
    for (int i = 0; i < args.size(); ++i) {
        QString arg = args[i];
        QString value;
        bool inlineValue = false;
        if (arg.startsWith(QLatin1String("--")) && arg.contains(QLatin1Char('='))) {
            // --save=PATH and --set=N=TEXT read like their spaced forms.
            const qsizetype eq = arg.indexOf(QLatin1Char('='));
            value = arg.mid(eq + 1);
            arg = arg.left(eq);
            inlineValue = true;
        }
        const bool takesValue = arg == QLatin1String("--save") || arg == QLatin1String("--pdf") ||
                                arg == QLatin1String("--bmp") || editOptions.contains(arg);
        if (inlineValue && !takesValue) return QStringLiteral("option '%1' takes no value").arg(arg);
        if (takesValue && !inlineValue) {
            if (i + 1 >= args.size()) return QStringLiteral("option '%1' needs a value").arg(arg);
            value = args[++i];
        }
        if (arg == QLatin1String("--batch")) continue;
        if (arg == QLatin1String("--help")) {
            out.help = true;
        } else if (arg == QLatin1String("--version")) {
            out.version = true;
        } else if (arg == QLatin1String("--json")) {
            out.json = true;
        } else if (arg == QLatin1String("--pdf") || arg == QLatin1String("--bmp")) {
            QString& path = arg == QLatin1String("--pdf") ? out.pdfPath : out.bmpPath;
            if (!path.isEmpty()) return QStringLiteral("%1 given twice").arg(arg);
            if (value.isEmpty()) return QStringLiteral("%1 needs a path").arg(arg);
            if (arg == QLatin1String("--bmp") && !value.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive))
                return QStringLiteral("--bmp needs a name ending in .bmp ('%1')").arg(value);
            path = value;
        } else if (arg == QLatin1String("--save")) {
            if (!out.savePath.isEmpty()) return QStringLiteral("--save given twice");
            if (value.isEmpty()) return QStringLiteral("--save needs a path");
            out.savePath = value;
        } else if (editOptions.contains(arg)) {
            Edit e;
            e.kind = editOptions.value(arg);
            e.spelled = arg + QLatin1Char(' ') + value;
            const QString error = ParseEdit(e, value);
            if (!error.isEmpty()) return error;
            out.edits << e;
        } else if (arg == QLatin1String("--update")) {
            out.update = true;
        } else if (arg.compare(QLatin1String("/LOG"), Qt::CaseInsensitive) == 0) {
            out.log = true;
        } else if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            return QStringLiteral("unknown option '%1'").arg(arg);
        } else if (!out.jobFile.isEmpty()) {
            return QStringLiteral("only one job file can be given ('%1' and '%2')").arg(out.jobFile, arg);
        } else {
            out.jobFile = arg;
        }
    }
    if (out.update && (!out.edits.isEmpty() || !out.savePath.isEmpty() || out.json || !out.jobFile.isEmpty()))
        return QStringLiteral("--update takes no job, edits, --save or --json");
    return QString();
}

QString BatchHelpText(const QString& programFolder) {
    const auto shown = [](const QString& path) { return QDir::toNativeSeparators(path); };
    QString text = QString::fromUtf8(HelpText);
    text += QStringLiteral("\nFolders of this installation:\n");
    text += QStringLiteral("  program and data      %1\n").arg(shown(programFolder));
    text += QStringLiteral("  jobs, at first        %1\n").arg(shown(DefaultJobFolder(programFolder)));
    text += QStringLiteral("  log files             %1\n").arg(shown(WritableFolder(programFolder)));
    if (!InstallationWritable(programFolder))
        text += QStringLiteral("The system's package manager updates this installation; the program writes\n"
                               "nothing into its folder.\n");
    return text;
}

} // namespace corvane
