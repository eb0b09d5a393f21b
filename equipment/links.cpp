#include "equipment/links.h"

#include "base/numbertext.h"
#include "base/platform.h"
#include "definitions/datafiles.h"
#include "definitions/state.h"

#include <QDir>

namespace corvane {

namespace {

struct SheetLink {
    const char* name;       // for the log: "Condenser", "Cooler"
    int grid;               // candidate grid holding the chosen row
    int model, indicator;   // chosen model's field and the chosen row
    QString State::*folder; // the folder in force
    const char* settingsKey;
};

const SheetLink SheetLinks[2] = {
    {"Condenser", 520, 523, 533, &State::cSpecPath, "CSpecPath"},
    {"Cooler", 540, 543, 553, &State::eSpecPath, "ESpecPath"},
};

constexpr int DataSheetColumn = 4;  // the product list's data-sheet file, in a candidate row
constexpr int ModelColumn = 2;

QString YesNo(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

// The product list is a file like any other: a sheet name that would lead out of the sheet
// folder is not opened.
bool IsPlainFileName(const QString& name) {
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
           !name.contains(QStringLiteral("..")) && !name.contains(QLatin1Char(':'));
}

// Asks for a folder or path with the current one as the default; an empty answer or Cancel
// gives an empty text.
QString Ask(State& s, int title, int prompt, const QString& current) {
    QString answer = QDir::toNativeSeparators(current);
    if (!s.platform.InputBox(s.strings[title], s.strings[prompt], &answer)) answer.clear();
    s.WriteLog(QStringLiteral("User entered path '") + answer + QLatin1Char('\''));
    return answer.trimmed();
}

} // namespace

QString ResolveProgramPath(const State& s, const QString& path) {
    if (path.isEmpty()) return path;
    const QString local = QDir::fromNativeSeparators(path);
    if (!QDir::isRelativePath(local)) return QDir::cleanPath(local);
    return QDir::cleanPath(s.programFolder + QLatin1Char('/') + local);
}

int StartHyperlink(State& s, const QString& target) {
    s.WriteLog(QStringLiteral(">Start Hyperlink '") + target + QLatin1Char('\''));
    // The desktop opens the document on its own behalf; there is no window handle to pass.
    s.WriteLog(QStringLiteral("Desktop handle = 0"));
    const int code = s.platform.OpenDocument(target);
    s.WriteLog(QStringLiteral("Shell Execute responce = ") + QString::number(code));
    return code;
}

void SpecLinkClick(State& s, int n) {
    s.WriteLog(QStringLiteral(">Spec Link ") + QString::number(n) + QStringLiteral(" clicked"));
    if (n < 0 || n > 1) return;
    const SheetLink& link = SheetLinks[n];
    const Grid& grid = s.grids[link.grid];
    const QString kind = QLatin1String(link.name);

    // The chosen row is the one the selection names (1: smallest adequate, 0: undersized);
    // without a choice the model field shows the "no model" text, which has no sheet.
    s.WriteLog(QStringLiteral("Selected ") + kind + QStringLiteral(" = ") + GetFieldValue(s, link.model));
    const std::optional<double> row = ReadNumber(GetFieldValue(s, link.indicator));
    if (!row || *row < 0 || *row >= grid.rows || grid.Text(static_cast<int>(*row), ModelColumn).isEmpty()) return;

    const QString file = grid.Text(static_cast<int>(*row), DataSheetColumn).trimmed();
    s.WriteLog(QStringLiteral("Selected ") + kind + QStringLiteral(" pdf file = ") + file);
    if (!IsPlainFileName(file)) {
        s.WriteLog(QStringLiteral("Not a plain file name; nothing opened"));
        return;
    }

    QString folder = ResolveProgramPath(s, s.*link.folder);
    for (;;) {
        const QString path = folder + QLatin1Char('/') + file;
        const bool exists = FileExists(s, path, false);
        s.WriteLog(QStringLiteral("File path = ") + path);
        s.WriteLog(QStringLiteral("File exists = ") + YesNo(exists));
        if (exists) {
            s.*link.folder = folder;
            s.settings.Save(s.settingsSection, QLatin1String(link.settingsKey), folder);
            StartHyperlink(s, path);
            return;
        }
        const QString answer = Ask(s, 18, 19, folder);
        if (answer.isEmpty()) return;
        folder = ResolveProgramPath(s, answer);
    }
}

void CatalogueClick(State& s) {
    s.WriteLog(QStringLiteral(">Catalogue clicked"));
    QString path = ResolveProgramPath(s, s.catalogPath);
    for (;;) {
        const bool exists = !path.isEmpty() && FileExists(s, path, false);
        s.WriteLog(QStringLiteral("File path = ") + path);
        s.WriteLog(QStringLiteral("File exists = ") + YesNo(exists));
        if (exists) {
            s.catalogPath = path;
            s.settings.Save(s.settingsSection, QStringLiteral("CatalogPath"), path);
            StartHyperlink(s, path);
            return;
        }
        const QString answer = Ask(s, 16, 17, path);
        if (answer.isEmpty()) return;
        path = ResolveProgramPath(s, answer);
    }
}

void HyperlinkClick(State& s, int n) {
    s.WriteLog(QStringLiteral(">HYPERLINK_Click(") + QString::number(n) + QLatin1Char(')'));
    Link* link = s.links.Find(n);
    if (!link) return;
    link->visited = true;
    link->foreColour = s.colours.visited;
    s.MarkDirty(ControlKind::Link, n);
    s.platform.ProcessEvents();   // the colour shows before the browser takes its time
    const QString target = link->tag.trimmed();
    if (target.isEmpty()) {
        s.WriteLog(QStringLiteral("Link ") + QString::number(n) + QStringLiteral(" has no target; nothing opened"));
        return;
    }
    StartHyperlink(s, target);
}

} // namespace corvane
