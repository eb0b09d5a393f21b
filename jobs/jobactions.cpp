#include "jobs/jobactions.h"

#include "base/numbertext.h"
#include "base/record.h"
#include "base/safefile.h"
#include "definitions/languagefile.h"
#include "definitions/state.h"
#include "definitions/values.h"
#include "input/grids.h"
#include "input/navigation.h"
#include "input/units.h"
#include "jobs/filehistory.h"
#include "jobs/jobfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <map>

namespace corvane {

namespace {

bool RadioSet(const State& s, int n) {
    const Radio* r = s.radios.Find(n);
    return r && r->value;
}

bool SaveFailed(State& s, int code, const QString& description) {
    s.WriteLog(QStringLiteral("*** JobFileSave *** ") + QString::number(code) + QStringLiteral(", ") +
               description);
    s.ShowMessage(3);
    return false;
}

bool LoadFailed(State& s, const QString& path, int code, const QString& description) {
    s.WriteLog(QString::number(code) + QStringLiteral(", ") + description);
    s.ShowMessage(16, path);
    return false;
}

// The states that hang on option buttons, as their clicks would set them.
void ApplyButtonStates(State& s) {
    const bool dimensions = RadioSet(s, 200) || RadioSet(s, 204);
    for (int n : {13, 14, 15}) {
        // The box dimensions come and go with their captions and units.
        if (TextBox* box = s.textBoxes.Find(n)) box->visible = dimensions;
        if (Label* label = s.labels.Find(n)) label->visible = dimensions;
        if (Label* unit = s.unitLabels.Find(n)) unit->visible = dimensions;
        s.MarkDirty(ControlKind::TextBox, n);
        s.MarkDirty(ControlKind::Label, n);
        s.MarkDirty(ControlKind::UnitLabel, n);
    }
    for (int i = 0; i < 3; ++i)
        s.geometryVisible[i] = RadioSet(s, 200 + i);
    for (int i = 0; i < 3; ++i)
        if (Frame* frame = s.frames.Find(601 + i)) {
            frame->visible = RadioSet(s, 600 + i);
            s.MarkDirty(ControlKind::Frame, 601 + i);
        }
    const bool withoutGrid = RadioSet(s, 204);
    if (Grid* grid = s.grids.Find(200)) {
        grid->visible = !withoutGrid;
        if (withoutGrid) grid->Resize(grid->rows, 2);
        s.MarkDirty(ControlKind::Grid, 200);
    }
    if (Frame* frame = s.frames.Find(200)) frame->visible = withoutGrid;
    if (Frame* frame = s.frames.Find(4)) frame->visible = !withoutGrid;
    if (Button* button = s.buttons.Find(17)) button->visible = !withoutGrid;
}

// A job from before the door's protective device was saved gets the average strip curtain.
void DefaultProtectiveDevice(State& s) {
    OptionList* list = s.optionLists.Find(625);
    const ValueList* values = s.valueLists.Find(625);
    if (!list || !values || list->selected >= 0) return;
    int chosen = -1;
    for (int i = 0; i < values->values.size() && i < list->items.size(); ++i)
        if (IsNumeric(values->values[i]) && NumberFromText(values->values[i]) == s.constants.averageCurtains)
            chosen = i;
    if (chosen < 0) return;
    s.SelectListEntry(625, chosen);
    if (s.textBoxes.Has(625)) s.SetText(625, list->items[chosen]);
}

// The section kind of a wall section is stored as the text of its list entry, and the loads
// recognise a section by that text. A job written in another language names its kinds in that
// language: each is translated to the entry at the same position of the list in use, found
// through the section-kind lists of the language files beside the program.
void TranslateSectionKinds(State& s) {
    Grid* grid = s.grids.Find(200);
    const OptionList* kinds = s.optionLists.Find(201);
    if (!grid || !kinds || grid->rows < 2) return;
    QList<QStringList> otherLists;
    bool listsRead = false;
    for (int c = 2; c < grid->cols; ++c) {
        QString& kind = grid->Cell(1, c).text;
        if (kind.isEmpty() || kinds->items.contains(kind)) continue;
        if (!listsRead) {
            listsRead = true;
            for (const QString& name : QDir(s.dataFolder).entryList({QStringLiteral("*.lng")}, QDir::Files))
                otherLists << ReadOptionListItems(s.dataFolder + name, 201);
        }
        for (const QStringList& items : otherLists) {
            const qsizetype position = items.indexOf(kind);
            if (position >= 0 && position < kinds->items.size()) {
                s.WriteLog(QStringLiteral("Section kind '") + kind + QStringLiteral("' read as '") +
                           kinds->items[position] + QLatin1Char('\''));
                kind = kinds->items[position];
                break;
            }
        }
    }
}

void AfterReading(State& s, const JobReadContext& ctx) {
    TranslateSectionKinds(s);
    s.flags.jobModified = false;
    SizeTable(s, 200);
    SizeTable(s, 300);
    ApplyButtonStates(s);
    if (ctx.isJobFile) {
        s.hintText = s.strings[6];
        s.hintVisible = true;
        if (Frame* frame = s.frames.Find(2)) frame->visible = true;
        s.currentJobPath = ctx.path;
        UpdateFileHistory(s);
        s.windowCaption = s.baseTitle + QStringLiteral("    \"") + ctx.path + QLatin1Char('"');
        PressPageButton(s, 0);
    } else {
        s.hintText.clear();
        if (Frame* frame = s.frames.Find(2)) frame->visible = false;
        s.currentJobPath.clear();
        s.windowCaption = s.baseTitle;
    }
    DefaultProtectiveDevice(s);
    // Whatever the steps above ran (the door default, leaving the field that had the focus),
    // a job just opened has no changes of its own.
    s.flags.jobModified = false;
    s.MarkAllDirty();
}

// True when every character of the text has a place in Windows-1252, the job file's code page.
bool FitsCodePage(const QString& text) {
    const QByteArray bytes = ToCp1252(text);
    for (qsizetype i = 0; i < text.size(); ++i)
        if (bytes[i] == '?' && text[i] != QLatin1Char('?')) return false;
    return true;
}

// The fields and cells whose text the job file cannot hold as typed, as the user knows them.
QStringList FieldsOutsideCodePage(const State& s) {
    QStringList names;
    for (const auto& [n, box] : s.textBoxes) {
        if (FitsCodePage(box.text) && FitsCodePage(box.tag)) continue;
        const Label* label = s.labels.Find(n);
        const QString caption = label ? label->caption.trimmed() : QString();
        names << (caption.isEmpty() ? QStringLiteral("field %1").arg(n)
                                    : QStringLiteral("%1 (field %2)").arg(caption).arg(n));
    }
    for (const auto& [g, grid] : s.grids)
        for (int r = 0; r < grid.rows; ++r)
            for (int c = 0; c < grid.cols; ++c)
                if (!FitsCodePage(grid.cells[r][c].text))
                    names << QStringLiteral("table %1, row %2, column %3").arg(g).arg(r).arg(c);
    return names;
}

// Characters the job file cannot store are written as '?': the user hears which fields
// hold them before the job is written, and the job is still saved.
void WarnAboutLostCharacters(State& s) {
    QStringList names = FieldsOutsideCodePage(s);
    if (names.isEmpty()) return;
    constexpr int MaxNamed = 12;
    if (names.size() > MaxNamed) {
        const qsizetype more = names.size() - MaxNamed;
        names = names.mid(0, MaxNamed);
        names << QStringLiteral("and %1 more").arg(more);
    }
    const QString text = QStringLiteral("Some characters cannot be stored in a job file and are saved as '?' in:\r\n") +
                         names.join(QStringLiteral("\r\n"));
    s.WriteLog(text);
    s.platform.MessageBox(QStringLiteral("Save"), text, Box::Ok | Box::Information);
}

} // namespace

bool JobFileSave(State& s, const QString& path) {
    s.WriteLog(QStringLiteral(">JobFileSave"));
    s.WriteLog(path);
    QByteArray bytes;
    try {
        bytes = JobFileBytes(s, path);
    } catch (const std::out_of_range& e) {
        // A unit label without its text box or caption label: the window definition is broken.
        return SaveFailed(s, 0, QString::fromStdString(e.what()));
    }
    WarnAboutLostCharacters(s);
    // The old file is replaced only once the new one is complete on disk, and a pipe or a
    // device named as the target is never replaced by a file.
    QString why;
    if (!WriteFileSafely(path, bytes, &why)) return SaveFailed(s, QFileDevice::WriteError, why);

    s.hintText = s.strings[7];
    s.hintVisible = true;
    s.flags.jobModified = false;
    s.currentJobPath = path;
    UpdateFileHistory(s);
    s.MarkAllDirty();
    return true;
}

bool JobFileLoad(State& s, const QString& path) {
    s.WriteLog(QStringLiteral(">JobFileLoad()"));
    s.WriteLog(path);
    JobReadContext ctx;
    ctx.path = path;
    ctx.isJobFile = IsJobFilePath(s, path);
    {
        FlagGuard loading(s.flags.loading);
        QByteArray bytes;
        int code = 0;
        QString error;
        if (!ReadJobFileBytes(path, &bytes, &code, &error)) return LoadFailed(s, path, code, error);
        if (OptionList* list = s.optionLists.Find(625); list && list->selected != -1) {
            list->selected = -1;
            s.MarkDirty(ControlKind::OptionList, 625);
        }
        ReadJobRecords(s, ctx, bytes);
        if (ctx.skipped > 0) s.WriteLog(QString::number(ctx.skipped) + QStringLiteral(" lines skipped"));
        if (ctx.used == 0) {
            s.MarkAllDirty();
            return LoadFailed(s, path, QFileDevice::ReadError, QStringLiteral("No job record in ") + path);
        }
        // The generic product column is headed by its name; numbered headings mean products.
        try {
            const QString heading = ReadGridCell(s, 300, 0, 2);
            if (heading.isEmpty() || !IsNumeric(heading)) WriteGridCell(s, 300, 0, 2, s.strings[11]);
        } catch (const std::out_of_range&) {
            s.WriteLog(QStringLiteral("The product grid has no product column"));
        }
    }
    AfterReading(s, ctx);
    return true;
}

namespace {

// A language may ship a template of its own ("francais.default.fil" beside "default.fil"), so
// that the list texts the template holds (section kinds, series, constructions) are entries of
// that language's lists; without one the common template serves.
QString TemplateJobPath(const State& s) {
    QString language = s.settings.Get(s.settingsSection, QStringLiteral("Language_File"));
    if (language.size() > 3) {
        language.chop(3);
        const QString own = s.dataFolder + language + QStringLiteral("default.fil");
        if (QFileInfo(own).isFile()) return own;
    }
    return s.templatePath;
}

} // namespace

void LoadTemplateJob(State& s) {
    const QString path = TemplateJobPath(s);
    if (!JobFileLoad(s, path)) throw ProgramEnd(3, QStringLiteral("The template job cannot be loaded: ") + path);
    // The template names no units, so the user's choice of units outlasts every job: its
    // values are imperial, its labels say so first, then the unit switches convert whatever
    // the user keeps in metric units (fields and grid rows alike).
    for (auto& [n, unit] : s.unitLabels) {
        if (n == 720 || n == 721) continue; // never in a job file
        const QString imperial = InitialUnitName(s, n, unit.tag);
        if (unit.caption == imperial) continue;
        unit.caption = imperial;
        s.MarkDirty(ControlKind::UnitLabel, n);
    }
    ApplyUnitSwitchesFromSettings(s);
    s.flags.jobModified = false;
    s.MarkAllDirty();
}


namespace {

// What the list texts of a job meant before the language changed.
struct ListTexts {
    std::map<int, QStringList> lists;   // every option list's entries
    DataTable products;                 // table C: group and name by row
    QString generic;
};

// The entry at the same position of the same list now, or the text itself when the list did
// not hold it (a name the user typed).
QString SamePosition(const State& s, const ListTexts& before, int list, const QString& text) {
    const auto old = before.lists.find(list);
    const OptionList* now = s.optionLists.Find(list);
    if (old == before.lists.end() || !now) return text;
    const qsizetype i = old->second.indexOf(text);
    return i >= 0 && i < now->items.size() ? now->items[i] : text;
}

void CarryListTexts(State& s, const ListTexts& before) {
    if (Grid* walls = s.grids.Find(200))
        for (int c = 2; c < walls->cols; ++c)
            for (int r : {1, 6})
                if (walls->InRange(r, c)) walls->Cell(r, c).text = SamePosition(s, before, 200 + r, walls->Text(r, c));
    if (Grid* products = s.grids.Find(300); products && products->rows > 2) {
        if (products->cols > 2 && products->Text(0, 2) == before.generic) products->Cell(0, 2).text = s.strings[11];
        for (int c = 2; c < products->cols; ++c) {
            const QString group = products->Text(1, c), name = products->Text(2, c);
            int row = 0;
            for (int r = 1; r <= before.products.RowCount() && row == 0; ++r)
                if (before.products.Cell(1, r) == group && before.products.Cell(2, r) == name) row = r;
            // Both tables list the same products in the same order, each in its own words.
            if (row > 0 && row <= s.tableC.RowCount()) {
                products->Cell(1, c).text = s.tableC.Cell(1, row);
                products->Cell(2, c).text = s.tableC.Cell(2, row);
            } else {
                products->Cell(1, c).text = SamePosition(s, before, 301, group);
            }
        }
    }
    for (auto& [n, box] : s.textBoxes)
        if (KindOfField(s, n) == FieldKind::List && s.optionLists.Has(n)) {
            const QString now = SamePosition(s, before, n, box.text);
            if (box.tag == box.text) box.tag = now;
            box.text = now;
        }
    for (int g : {200, 300}) s.MarkDirty(ControlKind::Grid, g);
}

} // namespace

void KeepJobWhile(State& s, const std::function<void()>& change) {
    s.WriteLog(QStringLiteral(">KeepJobWhile()"));
    const QByteArray job = JobFileBytes(s, s.currentJobPath);
    ListTexts before;
    for (const auto& [n, list] : s.optionLists) before.lists[n] = list.items;
    before.products = s.tableC;
    before.generic = s.strings[11];
    const QString path = s.currentJobPath, caption = s.windowCaption;
    const bool modified = s.flags.jobModified;

    change();

    {
        FlagGuard loading(s.flags.loading);
        JobReadContext ctx;
        ctx.path = path;
        ReadJobRecords(s, ctx, job);
        CarryListTexts(s, before);
    }
    SizeTable(s, 200);
    SizeTable(s, 300);
    ApplyButtonStates(s);
    s.currentJobPath = path;
    s.windowCaption = caption;
    s.flags.jobModified = modified;
    s.MarkAllDirty();
}

void OpenHistoryEntry(State& s, int i) {
    if (i < 0 || i >= s.historyList.size()) return;
    s.historySelected = i;
    const QString path = s.historyList[i];
    BusyPointer busy(s.platform);
    if (!JobFileLoad(s, path)) LoadTemplateJob(s);
}

} // namespace corvane
