#include "app/batch.h"

#include "base/commandline.h"
#include "app/consoleplatform.h"
#include "base/settingsstore.h"
#include "app/startup.h"
#include "calc/driver.h"
#include "definitions/state.h"
#include "input/fieldrules.h"
#include "input/grids.h"
#include "input/numericentry.h"
#include "input/optionlists.h"
#include "input/units.h"
#include "jobs/jobfile.h"
#include "jobs/jobactions.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <optional>

namespace corvane {

namespace {

enum Exit { Computed = 0, ChecksFail = 1, BadArguments = 2, JobUnusable = 3, Unexpected = 4 };

const char HelpText[] = R"(Usage:
  corvane [JOBFILE] [/LOG]
  corvane --batch [EDIT...] [--save PATH] [--json] [JOBFILE]
  corvane --help

Without --batch the program opens its window with JOBFILE, or with the template job.

Batch mode starts the program as usual - the data folders beside the program, your
settings, language and colour files - but without a window. It loads JOBFILE (a job
file, .cvj) or the template job, applies the edits in the order given, each as you
would make it in the window, recalculates, and prints the results.

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
  --json                print the whole state as JSON instead of the summary
  /LOG                  also write the program's log to !!LogFile.txt beside it

Messages that the window would show go to standard error; a question gets the
answer No (or Cancel) and file dialogs are cancelled.

Exit status:
  0  the results were computed
  1  the inputs fail the program's checks (the problems are listed)
  2  bad arguments: an unknown option, a malformed edit, a control that does
     not exist, a cell or list entry out of range
  3  the program cannot start, or the job cannot be loaded or saved
  4  an unexpected failure inside the program (the message says where)

Example: a freezer at 0 F, saved and shown as JSON
  corvane --batch --set 103=0 --save freezer.cvj --json
)";

void Print(FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

int Fail(int status, const QString& why) {
    Print(stderr, QStringLiteral("corvane: ") + why + QLatin1Char('\n'));
    if (status == BadArguments) Print(stderr, QStringLiteral("Try 'corvane --help'.\n"));
    return status;
}

struct Edit {
    enum Kind { Set, Cell, ClickRadio, Pick, PickCell } kind = Set;
    QString spelled; // as given, for messages
    int n = 0;       // field, option button or grid
    int row = 0, col = 0;
    int index = 0;
    QString text;
};

struct Options {
    QList<Edit> edits;
    QString savePath;
    QString jobFile;
    bool json = false;
    bool help = false;
    bool log = false;
};

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

QString ParseArguments(const QStringList& args, Options& out) {
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
        const bool takesValue = arg == QLatin1String("--save") || editOptions.contains(arg);
        if (inlineValue && !takesValue) return QStringLiteral("option '%1' takes no value").arg(arg);
        if (takesValue && !inlineValue) {
            if (i + 1 >= args.size()) return QStringLiteral("option '%1' needs a value").arg(arg);
            value = args[++i];
        }
        if (arg == QLatin1String("--batch")) continue;
        if (arg == QLatin1String("--help")) {
            out.help = true;
        } else if (arg == QLatin1String("--json")) {
            out.json = true;
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
    return QString();
}

bool IsListField(const State& s, int n) {
    const QString type = FieldType(s, n).toUpper();
    return type == QLatin1String("LIST") || type == QLatin1String("DATALIST") ||
           type == QLatin1String("SELECTLIST");
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

QJsonArray Strings(const QStringList& list) {
    QJsonArray a;
    for (const QString& t : list)
        a.append(t);
    return a;
}

QJsonObject StateJson(const State& s) {
    QJsonObject fields;
    for (const auto& [n, box] : s.textBoxes) {
        const Label* label = s.labels.Find(n);
        const Label* unit = s.unitLabels.Find(n);
        fields.insert(QString::number(n),
                      QJsonObject{{QStringLiteral("stored"), box.tag},
                                  {QStringLiteral("shown"), box.text},
                                  {QStringLiteral("caption"), label ? label->caption : QString()},
                                  {QStringLiteral("unit"), unit ? unit->caption : QString()},
                                  {QStringLiteral("category"), unit ? unit->tag : QString()},
                                  {QStringLiteral("type"), FieldType(s, n)},
                                  {QStringLiteral("overridden"), IsOverridden(s, n)},
                                  {QStringLiteral("visible"), box.visible}});
    }
    QJsonObject radios;
    for (const auto& [n, radio] : s.radios)
        radios.insert(QString::number(n), radio.value);
    QJsonObject grids;
    for (const auto& [g, grid] : s.grids) {
        QJsonArray shown, stored, overridden;
        for (int r = 0; r < grid.rows; ++r) {
            QJsonArray shownRow, storedRow, overriddenRow;
            for (int c = 0; c < grid.cols; ++c) {
                shownRow.append(grid.Text(r, c));
                storedRow.append(ReadGridCell(s, g, r, c));
                overriddenRow.append(grid.Cell(r, c).foreColour == s.colours.override);
            }
            shown.append(shownRow);
            stored.append(storedRow);
            overridden.append(overriddenRow);
        }
        grids.insert(QString::number(g), QJsonObject{{QStringLiteral("rows"), grid.rows},
                                                     {QStringLiteral("cols"), grid.cols},
                                                     {QStringLiteral("cells"), shown},
                                                     {QStringLiteral("stored"), stored},
                                                     {QStringLiteral("overridden"), overridden}});
    }
    QJsonObject lists;
    for (const auto& [n, list] : s.optionLists) {
        const ValueList* values = s.valueLists.Find(n);
        lists.insert(QString::number(n),
                     QJsonObject{{QStringLiteral("items"), Strings(list.items)},
                                 {QStringLiteral("values"), Strings(values ? values->values : QStringList())},
                                 {QStringLiteral("selected"), list.selected}});
    }
    return QJsonObject{{QStringLiteral("fields"), fields},
                       {QStringLiteral("radios"), radios},
                       {QStringLiteral("grids"), grids},
                       {QStringLiteral("lists"), lists},
                       {QStringLiteral("errors"), Strings(s.errorList)}};
}

QString Shown(const State& s, int n) {
    const TextBox* box = s.textBoxes.Find(n);
    return box ? box->text : QString();
}

QString WithUnit(const State& s, int n) {
    const Label* unit = s.unitLabels.Find(n);
    const QString text = Shown(s, n);
    return unit && !unit->caption.isEmpty() && !text.isEmpty() ? text + QLatin1Char(' ') + unit->caption
                                                               : text;
}

QString Line(const QString& name, const QString& numbers, const QString& value) {
    return QStringLiteral("  %1 %2 %3\n").arg(name, -20).arg(numbers, -10).arg(value);
}

QString Equipment(const State& s, int count, int model, int capacity) {
    QString text = Shown(s, model);
    if (!Shown(s, count).isEmpty()) text = Shown(s, count) + QStringLiteral(" x ") + text;
    const QString each = WithUnit(s, capacity);
    return each.isEmpty() ? text : text + QStringLiteral(", ") + each + QStringLiteral(" each");
}

QString Summary(const State& s) {
    QString out = QStringLiteral("Job: %1\n")
                      .arg(s.currentJobPath.isEmpty() ? QStringLiteral("(template job, not saved)")
                                                      : QDir::toNativeSeparators(s.currentJobPath));
    out += QStringLiteral("Loads\n");
    out += Line(QStringLiteral("Transmission"), QStringLiteral("(214)"), WithUnit(s, 214));
    out += Line(QStringLiteral("Infiltration"), QStringLiteral("(680)"), WithUnit(s, 680));
    out += Line(QStringLiteral("Product"), QStringLiteral("(314)"), WithUnit(s, 314));
    out += Line(QStringLiteral("Miscellaneous"), QStringLiteral("(422)"), WithUnit(s, 422));
    out += Line(QStringLiteral("Total"), QStringLiteral("(16)"), WithUnit(s, 16));
    out += Line(QStringLiteral("Requirement"), QStringLiteral("(503)"), WithUnit(s, 503));
    out += QStringLiteral("Equipment\n");
    out += Line(QStringLiteral("Condensing units"), QStringLiteral("(522-524)"), Equipment(s, 522, 523, 524));
    out += Line(QStringLiteral("Unit coolers"), QStringLiteral("(542-544)"), Equipment(s, 542, 543, 544));
    out += QStringLiteral("Balance\n");
    out += Line(QStringLiteral("Capacity"), QStringLiteral("(560)"), WithUnit(s, 560));
    out += Line(QStringLiteral("Suction temperature"), QStringLiteral("(561)"), WithUnit(s, 561));
    out += Line(QStringLiteral("TD"), QStringLiteral("(562)"), WithUnit(s, 562));
    if (!s.errorList.isEmpty()) {
        out += QStringLiteral("Input problems\n");
        for (const QString& e : s.errorList)
            out += QStringLiteral("  - ") + e + QLatin1Char('\n');
    }
    return out;
}

bool SameFile(const QString& a, const QString& b) {
    return !a.isEmpty() && QDir::cleanPath(QFileInfo(a).absoluteFilePath()) ==
                               QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

int Run(State& s, const Options& options) {
    const QString jobFile =
        options.jobFile.isEmpty() ? QString() : QFileInfo(options.jobFile).absoluteFilePath();
    QString tail = jobFile.isEmpty() ? QString() : JoinCommandLine({jobFile});
    if (options.log) tail += QStringLiteral(" /LOG");
    try {
        StartUp(s, tail);
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
        if (!JobFileSave(s, path))
            return Fail(JobUnusable, QStringLiteral("the job cannot be saved to '%1'").arg(options.savePath));
    }
    if (options.json)
        Print(stdout, QString::fromUtf8(QJsonDocument(StateJson(s)).toJson(QJsonDocument::Indented)));
    else
        Print(stdout, Summary(s));
    return s.errorList.isEmpty() ? Computed : ChecksFail;
}

} // namespace

bool IsBatchInvocation(const QStringList& args) {
    return args.contains(QStringLiteral("--batch")) || args.contains(QStringLiteral("--help"));
}

int RunBatch(const QString& programFolder, const QStringList& args) {
    Options options;
    const QString error = ParseArguments(args, options);
    if (options.help) {
        Print(stdout, QString::fromUtf8(HelpText));
        return Computed;
    }
    if (!error.isEmpty()) return Fail(BadArguments, error);

    ConsolePlatform platform;
    SettingsStore settings;
    State s(programFolder, platform, settings);
    InstallInputHandlers(s);
    const QString unknown = CheckControls(s, options.edits);
    if (!unknown.isEmpty()) return Fail(BadArguments, unknown);
    int status = Unexpected;
    try {
        status = Run(s, options);
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
