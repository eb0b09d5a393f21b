#include "jobs/jobfile.h"

#include "base/numbertext.h"
#include "base/record.h"
#include "base/truetext.h"
#include "definitions/state.h"
#include "input/grids.h"
#include "definitions/values.h"

#include <algorithm>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace corvane {

namespace {

// Windows-1252 has no escape for a quote inside a quoted item, so quotes travel as 0x8E.
constexpr char16_t QuoteStandIn = 0x017D;
constexpr int MaxLoggedSkips = 20;

QString Quoted(QString text) {
    text.replace(QLatin1Char('"'), QChar(QuoteStandIn));
    // A line break would end the record in the middle of the text.
    for (QChar& c : text)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) c = QLatin1Char(' ');
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString Unquoted(QString text) {
    text.replace(QChar(QuoteStandIn), QLatin1Char('"'));
    return text;
}

QLatin1String BooleanItem(bool value) {
    return value ? QLatin1String("#TRUE#") : QLatin1String("#FALSE#");
}
QLatin1String FlagItem(bool value) {
    return value ? QLatin1String("\"True\"") : QLatin1String("\"False\"");
}

// Job files keep numbers as the fields hold them, in the writer's locale. Only the text of a
// number field (or number row) that is a number as a whole gets the reader's decimal
// separator; names, phone numbers and references ("555,1234") stay as written.
QString LocaleText(const QString& text, bool number) {
    if (!number) return text;
    const QString swapped = NormaliseDecimal(text);
    return swapped != text && IsNumeric(swapped) ? swapped : text;
}

bool IsNumberField(const State& s, int n) {
    return KindOfField(s, n) == FieldKind::Number;
}

bool IsNumberCell(const Grid& grid, int g, int r) {
    return g >= 500 || grid.rowTypes.value(r).compare(QLatin1String("NUMBER"), Qt::CaseInsensitive) == 0;
}

// The options page (units, language, colours) holds settings of the user's, not of the job.
bool IsSettingField(int n) {
    return n == 720 || n == 721 || n == 803 || n == 804;
}

std::optional<int> WholeNumber(const QString& text) {
    // Plain digits, as the program writes them, need no locale.
    bool plain = false;
    const int quick = text.toInt(&plain);
    if (plain && quick >= -1000000000 && quick <= 1000000000) return quick;
    if (!IsNumeric(text)) return std::nullopt;
    const std::optional<double> v = ReadNumber(text);
    if (!v || !std::isfinite(*v) || std::fabs(*v) > 1e9) return std::nullopt;
    return RoundHalfEven(*v);
}

// 0 for no unit, 1 when the unit shown is the category's imperial unit, else 2.
int UnitSystem(const State& s, const QString& category, const QString& unitShown) {
    if (category.isEmpty() || category.compare(QLatin1String("NONE"), Qt::CaseInsensitive) == 0) return 0;
    if (CategoryRow(s, category) < 0) return 0;
    return unitShown == UnitName(s, category, false) ? 1 : 2;
}

// --- writing

struct LineWriter {
    QString text;
    void Add(const QString& line) {
        text += line;
        text += QLatin1String("\r\n");
    }
};

QString Number(int n) {
    return QString::number(n);
}

void WriteFields(const State& s, LineWriter& out) {
    for (const auto& [n, unit] : s.unitLabels) {
        // The preference fields carry a unit label only for the options page.
        if (n == 720 || n == 721) continue;
        const Label& label = s.labels[n];
        const TextBox& box = s.textBoxes[n];
        out.Add(QStringLiteral("\"C\",") + Number(n) + QLatin1Char(',') + Quoted(label.tag) +
                QLatin1Char(',') + Quoted(label.caption) + QStringLiteral(",\"\""));
        const bool overridden = IsOverridden(s, n);
        if (box.kind == FieldKind::SelectList) {
            out.Add(QStringLiteral("\"T\",") + Number(n) + QStringLiteral(",\"SELECTLIST\",") +
                    Number(s.optionLists[n].selected) + QLatin1Char(',') + BooleanItem(overridden));
        } else {
            out.Add(QStringLiteral("\"T\",") + Number(n) + QLatin1Char(',') + Quoted(box.tag) +
                    QLatin1Char(',') + Quoted(box.text) + QLatin1Char(',') + BooleanItem(overridden));
        }
        out.Add(QStringLiteral("\"U\",") + Number(n) + QLatin1Char(',') + Quoted(unit.tag) +
                QLatin1Char(',') + Number(UnitSystem(s, unit.tag, unit.caption)) + QStringLiteral(",\"\""));
    }
}

void WriteRadios(const State& s, LineWriter& out) {
    for (const auto& [n, radio] : s.radios) {
        const Frame* frame = s.frames.Find(radio.container);
        const bool overridden = frame && frame->overridden;
        out.Add(QStringLiteral("\"R\",") + Number(n) + QLatin1Char(',') + Quoted(radio.caption) +
                QLatin1Char(',') + BooleanItem(radio.value) + QLatin1Char(',') + FlagItem(overridden));
    }
}

void WriteGrids(const State& s, LineWriter& out) {
    for (const auto& [g, grid] : s.grids) {
        out.Add(QStringLiteral("\"G\",") + Number(g) + QLatin1Char(',') + Number(grid.rows) +
                QLatin1Char(',') + Number(grid.cols) + QStringLiteral(",\"\""));
        const QString prefix = Number(g) + QLatin1Char(',');
        // Column by column, as the program has always written them.
        for (int c = 0; c < grid.cols; ++c)
            for (int r = 0; r < grid.rows; ++r) {
                const QString cellRef = prefix + Number(r) + QLatin1Char(',') + Number(c) + QLatin1Char(',');
                if (c == 1 && g < 500) {
                    const int system = UnitSystem(s, grid.categories.value(r), grid.Text(r, 1));
                    out.Add(cellRef + Number(system) + QStringLiteral(",\"\""));
                } else {
                    const GridCell& cell = grid.Cell(r, c);
                    out.Add(cellRef + Quoted(cell.text) + QLatin1Char(',') +
                            FlagItem(cell.overridden));
                }
            }
    }
}

} // namespace

QByteArray JobFileBytes(const State& s, const QString& path) {
    LineWriter out;
    out.Add(QStringLiteral("\"# \",\"Tundrel\",%1,%2,%3")
                .arg(CORVANE_VERSION_MAJOR)
                .arg(CORVANE_VERSION_MINOR)
                .arg(CORVANE_VERSION_REVISION));
    const QDateTime now = QDateTime::currentDateTime();
    out.Add(QStringLiteral("\"* \",") + Quoted(path) + QStringLiteral(",#") +
            now.date().toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral("#,#") +
            now.time().toString(QStringLiteral("HH:mm:ss")) + QStringLiteral("#,\"\""));
    WriteFields(s, out);
    WriteRadios(s, out);
    WriteGrids(s, out);
    return ToCp1252(out.text);
}

namespace {

// --- reading


void LogSkip(State& s, JobReadContext& ctx, int line, const QString& why) {
    ++ctx.skipped;
    if (ctx.skipped > MaxLoggedSkips) return;
    ctx.problems.Add(line, QStringLiteral("skipped: ") + why);
    s.WriteLog(FormatProblem(ctx.problems.List().last()));
}

void ReadUnitRecord(State& s, int n, const std::array<QString, 5>& f) {
    const Label& unit = s.unitLabels[n];
    if (unit.tag.toUpper() == QLatin1String("NONE")) return;
    const float system = NumberFromText(f[3]);
    if (system == 1.0f || system == 2.0f) s.SetUnitCaption(n, UnitName(s, unit.tag, system == 2.0f));
}

void ReadTextRecord(State& s, int n, const std::array<QString, 5>& f) {
    TextBox& box = s.textBoxes[n];
    const bool selection = f[2] == QLatin1String("SELECTLIST");
    // A selection record holds an index, not a value: the pick below fills the field.
    const bool number = IsNumberField(s, n);
    box.tag = selection ? QString() : LocaleText(f[2], number);
    s.MarkDirty(ControlKind::TextBox, n);
    s.SetText(n, selection ? QString() : LocaleText(f[3], number));
    SetFieldOverridden(s, n, f[4] == QLatin1String("#TRUE#"));
    if (!selection) return;
    OptionList* list = s.optionLists.Find(n);
    const std::optional<double> index = IsNumeric(f[3]) ? ReadNumber(f[3]) : std::nullopt;
    if (!list) return;
    if (!index || *index != std::floor(*index) || *index <= -1 || *index >= list->items.size()) {
        // No entry: the list shows none either, as the emptied field does (an earlier record
        // of the same job may have picked one).
        s.SelectListEntry(n, -1);
        return;
    }
    const int i = static_cast<int>(*index);
    // The pick must run even when the list already shows that entry from the last job.
    if (list->selected == i) list->selected = -1;
    s.SelectListEntry(n, i);
}

void ReadRadioRecord(State& s, int n, const std::array<QString, 5>& f) {
    const Radio& radio = s.radios[n];
    s.SetRadio(n, f[3] == QLatin1String("#TRUE#"));
    SetFrameOverridden(s, radio.container, IsTrueText(f[4]));
}

std::optional<QPair<int, int>> GridSize(const std::array<QString, 5>& f) {
    const std::optional<int> rows = WholeNumber(f[2]);
    const std::optional<int> cols = WholeNumber(f[3]);
    if (!rows || !cols || *rows < 0 || *cols < 0 || *rows > MaxGridRows || *cols > MaxGridColumns ||
        static_cast<qint64>(*rows) * *cols > MaxGridCells)
        return std::nullopt;
    return QPair<int, int>(*rows, *cols);
}

bool ReadGridSizeRecord(State& s, JobReadContext& ctx, int n, const std::array<QString, 5>& f) {
    if (!GridSize(f)) return false;
    Grid& grid = s.grids[n];
    if (ctx.gridsSized.contains(n)) return true;
    ctx.gridsSized.insert(n);
    const QPair<int, int> size = ctx.gridSizes.value(n);
    // A grid whose rows the language file lays out keeps at most those rows: a size record
    // cannot add rows without a caption, unit or kind (nor make a tiny file cost a large grid).
    const int rows = grid.rowTypes.isEmpty() ? size.first : std::min<int>(size.first, grid.rowTypes.size());
    grid.Resize(rows, size.second);
    s.MarkDirty(ControlKind::Grid, n);
    return true;
}

bool ReadCellRecord(State& s, const std::array<QString, 5>& f) {
    const std::optional<int> g = WholeNumber(f[0]);
    const std::optional<int> r = WholeNumber(f[1]);
    const std::optional<int> c = WholeNumber(f[2]);
    if (!g || !r || !c) return false;
    Grid& grid = s.grids[*g];
    if (!grid.InRange(*r, *c)) return false;
    GridCell& cell = grid.Cell(*r, *c);
    if (*c > 1 || *g >= 500) {
        cell.text = LocaleText(f[3], IsNumberCell(grid, *g, *r));
    } else if (*c == 1) {
        // The unit cell names the row's unit in the system the file gives; row captions in
        // column 0 come from the language file.
        // A row without a unit (category NONE or none at all) keeps its empty unit cell.
        const QString category = grid.categories.value(*r);
        const float system = NumberFromText(f[3]);
        const bool unit = !category.isEmpty() && category.compare(QLatin1String("NONE"), Qt::CaseInsensitive) != 0;
        if (unit && (system == 1.0f || system == 2.0f)) cell.text = UnitName(s, category, system == 2.0f);
    }
    grid.row = *r;
    grid.col = *c;
    SetCellOverridden(s, cell, IsTrueText(f[4]));
    s.MarkDirty(ControlKind::Grid, *g);
    return true;
}

enum class RecordResult { Applied, Ignored, Skipped };

RecordResult ReadRecordInto(State& s, JobReadContext& ctx, std::array<QString, 5>& f, int line) {
    f[2] = Unquoted(f[2]);
    f[3] = Unquoted(f[3]);
    const QChar kind = f[0].isEmpty() ? QChar() : f[0][0];
    // Header, origin and captions describe the file; the window keeps its own captions.
    if (kind == QLatin1Char('#') || kind == QLatin1Char('*') || kind == QLatin1Char('C'))
        return RecordResult::Ignored;
    const bool named = kind == QLatin1Char('T') || kind == QLatin1Char('U') || kind == QLatin1Char('R') ||
                       kind == QLatin1Char('G');
    if (!named && !(kind.isDigit() && kind.unicode() < 128)) {
        LogSkip(s, ctx, line, QStringLiteral("unknown record kind '") + f[0].left(20) + QLatin1Char('\''));
        return RecordResult::Skipped;
    }
    int n = -1;
    if (named) {
        const std::optional<int> number = WholeNumber(f[1]);
        if (!number) {
            LogSkip(s, ctx, line, QStringLiteral("no control number"));
            return RecordResult::Skipped;
        }
        n = *number;
    }
    if ((kind == QLatin1Char('T') || kind == QLatin1Char('U')) && IsSettingField(n)) return RecordResult::Ignored;
    // The template brings the personal details the user typed last, not its own.
    if (kind == QLatin1Char('T') && n >= 700 && n <= 799 && !ctx.isJobFile)
        f[2] = f[3] = s.settings.Get(s.settingsSection, QStringLiteral("TextBox") + QString::number(n));
    try {
        bool applied = true;
        switch (kind.unicode()) {
        case 'U':
            ReadUnitRecord(s, n, f);
            break;
        case 'T':
            ReadTextRecord(s, n, f);
            break;
        case 'R':
            ReadRadioRecord(s, n, f);
            break;
        case 'G':
            applied = ReadGridSizeRecord(s, ctx, n, f);
            break;
        default:
            applied = ReadCellRecord(s, f);
            break;
        }
        if (applied) return RecordResult::Applied;
        LogSkip(s, ctx, line, QStringLiteral("bad grid size or cell"));
    } catch (const std::out_of_range& missing) {
        // A job from a window with other controls: its other records still load.
        LogSkip(s, ctx, line, QString::fromStdString(missing.what()));
    }
    return RecordResult::Skipped;
}

} // namespace

void ReadJobRecords(State& s, JobReadContext& ctx, const QByteArray& bytes) {
    ctx.problems.SetFile(QFileInfo(ctx.path).fileName());
    // CR, LF or CRLF end a line; texts never hold either, the writer replaces them.
    const QList<TextLine> lines = SplitLines(bytes, &ctx.problems);
    for (const QString& problem : ctx.problems.Formatted()) s.WriteLog(problem);
    std::array<QString, 5> items;
    // The size each grid ends with: the last valid size record of the file.
    for (const TextLine& l : lines) {
        const QByteArrayView head = l.bytes.trimmed();
        if (!head.startsWith("\"G") && !head.startsWith("G")) continue;
        if (SplitJobRecord(FromCp1252(l.bytes), items) != RecordSplit::Ok) continue;
        const std::optional<int> n = WholeNumber(items[1]);
        const std::optional<QPair<int, int>> size = GridSize(items);
        if (n && size) ctx.gridSizes.insert(*n, *size);
    }
    for (const TextLine& l : lines) {
        const int line = l.number;
        const QString text = FromCp1252(l.bytes);
        switch (SplitJobRecord(text, items)) {
        case RecordSplit::Blank:
            continue;
        case RecordSplit::TooFewItems:
            LogSkip(s, ctx, line, QStringLiteral("fewer than five items"));
            continue;
        case RecordSplit::OpenQuote:
            LogSkip(s, ctx, line, QStringLiteral("a quote is not closed"));
            continue;
        case RecordSplit::Ok:
            break;
        }
        if (ReadRecordInto(s, ctx, items, line) == RecordResult::Applied) ++ctx.used;
    }
}

bool ReadJobFileBytes(const QString& path, QByteArray* bytes, int* code, QString* error) {
    ReadResult<QByteArray> file = ReadFileBytes(path, MaxJobFileBytes);
    if (!file.Ok()) {
        *code = QFileInfo::exists(path) ? QFileDevice::ReadError : QFileDevice::OpenError;
        *error = file.refused;
        return false;
    }
    *bytes = std::move(file.value);
    return true;
}

RecordSplit SplitJobRecord(QStringView line, std::array<QString, 5>& items) {
    for (QString& item : items)
        item.clear();
    const qsizetype size = line.size();
    auto isBlank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    qsizetype pos = 0;
    while (pos < size && isBlank(line[pos]))
        ++pos;
    if (pos == size) return RecordSplit::Blank;
    int count = 0;
    while (true) {
        while (pos < size && isBlank(line[pos]))
            ++pos;
        QString item;
        if (pos < size && line[pos] == QLatin1Char('"')) {
            const qsizetype close = line.indexOf(QLatin1Char('"'), pos + 1);
            if (close < 0) return RecordSplit::OpenQuote;
            item = line.mid(pos + 1, close - pos - 1).toString();
            pos = line.indexOf(QLatin1Char(','), close + 1);
        } else {
            const qsizetype comma = line.indexOf(QLatin1Char(','), pos);
            item = line.mid(pos, comma < 0 ? size - pos : comma - pos).trimmed().toString();
            pos = comma;
        }
        if (count < 5) items[count] = item;
        ++count;
        if (pos < 0) break;
        ++pos; // past the comma; a comma at the very end opens one more, empty item
    }
    return count >= 5 ? RecordSplit::Ok : RecordSplit::TooFewItems;
}

bool IsJobFilePath(const State& s, const QString& path) {
    return !s.jobExtension.isEmpty() && path.endsWith(QLatin1Char('.') + s.jobExtension, Qt::CaseInsensitive);
}

} // namespace corvane
