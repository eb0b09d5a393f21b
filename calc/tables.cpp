#include "calc/tables.h"

#include "definitions/datafiles.h"
#include "base/numbertext.h"
#include "base/record.h"
#include "calc/calcsupport.h"
#include "definitions/state.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace corvane {

namespace {

using calc::Bool;

// The language tables carry the language file's name in front: "default.lng" reads
// "default.TableC.data".
QString LanguagePrefix(const State& s) {
    QString name =
        s.settings.Get(s.settingsSection, QStringLiteral("Language_File"), QStringLiteral("default.lng"));
    if (name.isEmpty()) name = QStringLiteral("default.lng");
    if (name.endsWith(QLatin1String("lng"), Qt::CaseInsensitive)) return name.left(name.size() - 3);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 ? name.left(dot + 1) : name + QLatin1Char('.');
}

QString StripQuotes(const QString& field) {
    if (!field.startsWith(QLatin1Char('"'))) return field;
    return field.size() < 2 ? QString() : field.mid(1, field.size() - 2);
}

void ResetTable(DataTable& table, int columns) {
    table.columns = columns;
    table.rows.assign(1, QStringList(columns + 1));
    table.numbers.clear();
}

void SizeConstructionList(State& s) {
    OptionList& list = s.optionLists[206];
    list.width = ListWidthTwips(s, list.items);
    list.height = ListHeightTwips(list.items);
    s.MarkDirty(ControlKind::OptionList, 206);
}

// --- look-up helpers

std::optional<float> Key(const DataTable& t, int row) {
    const std::optional<double> v = t.Number(1, row);
    if (!v) return std::nullopt;
    return static_cast<float>(*v);
}

float Value(const DataTable& t, int column, int row) {
    return static_cast<float>(t.Number(column, row).value_or(0.0));
}

// The rows around a search value: an exact match, or the last key below it and the first key
// above it. A key of 0 or less counts as not found, so the end rules apply to it.
struct Bracket {
    bool exact = false;
    float value = 0;
    float lowKey = 0, lowValue = 0;
    float highKey = 0, highValue = 0;
    bool Interpolates() const { return lowKey > 0 && highKey > 0; }
    bool LowFound() const { return lowKey > 0; }
    float Interpolated(float x) const {
        const double span = static_cast<double>(lowKey) - highKey;
        if (span == 0) return lowValue;
        return lowValue - static_cast<float>((lowKey - x) / span) * (lowValue - highValue);
    }
};

Bracket Walk(const DataTable& t, int column, float x) {
    Bracket b;
    int low = 0;
    for (int r = 1; r <= t.RowCount(); ++r) {
        const std::optional<float> key = Key(t, r);
        if (!key) continue;
        if (*key == x) {
            b.exact = true;
            b.value = Value(t, column, r);
            return b;
        }
        if (*key > x) {
            b.highKey = *key;
            b.highValue = Value(t, column, r);
            break;
        }
        b.lowKey = *key;
        low = r;
    }
    if (low > 0) b.lowValue = Value(t, column, low);
    return b;
}

// Proportional scaling through zero from an end row of the table.
float ScaledFromRow(const DataTable& t, int column, int row, float x) {
    const float key = Key(t, row).value_or(0.0f);
    return static_cast<float>(calc::Divide(static_cast<double>(Value(t, column, row)) * x, key));
}

QString Number(float v) {
    return TextFromSingle(v);
}

} // namespace

int ListWidthTwips(State& s, const QStringList& items) {
    // The margin leaves room for the list's scroll bar beside the widest entry.
    constexpr int Margin = 300;
    int width = 1000;
    for (const QString& item : items)
        width = std::max(width, s.platform.TextWidthTwips(item) + Margin);
    return width;
}

int ListHeightTwips(const QStringList& items) {
    return static_cast<int>(items.size()) * 225 + 30;
}

QStringList ProductNamesOfGroup(const State& s, const QString& group) {
    QStringList names;
    for (int r = 1; r <= s.tableC.RowCount(); ++r)
        if (s.tableC.Cell(1, r) == group) names << s.tableC.Cell(2, r);
    return names;
}

void ReadTable(State& s, bool language, const QString& fileName, DataTable& table) {
    s.WriteLog(QStringLiteral(">ReadTable(") + Bool(language) + QStringLiteral(", ") + fileName +
               QStringLiteral(",A())"));
    const QString path = s.dataFolder + (language ? LanguagePrefix(s) + fileName : fileName);
    s.WriteLog(path);

    const bool products = &table == &s.tableC;
    const bool constructions = &table == &s.tableD;
    if (constructions) {
        s.optionLists[206].items.clear();
        s.optionLists[206].selected = -1;
        s.MarkDirty(ControlKind::OptionList, 206);
    }
    if (products)
        for (int n : {301, 302}) {
            s.optionLists[n].items.clear();
            s.optionLists[n].selected = -1;
            s.MarkDirty(ControlKind::OptionList, n);
        }

    FileExists(s, path, true);
    LineReader reader(path);
    if (!reader.Open()) {
        s.WriteLog(reader.Refusal());
        FailResourceFile(s, path);
    }
    ReadProblems& problems = reader.Problems();
    for (const QString& line : problems.Formatted()) s.WriteLog(line);
    const auto skip = [&](const QString& why) {
        problems.Add(reader.LineNumber(), QStringLiteral("skipped: ") + why);
        s.WriteLog(FormatProblem(problems.List().last()));
    };

    // Until the header line names the column count no data line can match it, so a file
    // without a header yields no rows. A second header line is a damaged line: it is skipped,
    // and the rows above it stay.
    ResetTable(table, 0);
    QString previousGroup;
    while (!reader.AtEnd()) {
        const Record record = reader.ReadRecord();
        if (record.Field(1).startsWith(QLatin1Char('#'))) {
            if (table.columns == 0) {
                ResetTable(table, record.Count());
                previousGroup.clear();
            } else {
                skip(QStringLiteral("a second header line"));
            }
            continue;
        }
        if (table.columns == 0 || record.Count() != table.columns) {
            skip(QString::number(record.Count()) + QStringLiteral(" fields"));
            continue;
        }
        QStringList row(1);
        for (int i = 1; i <= record.Count(); ++i)
            row << NormaliseDecimal(StripQuotes(record.Field(i)));
        const QString first = row[1];
        if (products && (table.RowCount() == 0 || first != previousGroup)) s.optionLists[301].items << first;
        if (constructions) s.optionLists[206].items << first;
        previousGroup = first;
        table.rows.push_back(row);
    }
    table.ReadNumbers();
    // Every load that reads a table needs its rows: a table without one (empty, a header alone,
    // another kind of file) is as good as missing.
    if (table.RowCount() == 0) {
        s.WriteLog(QFileInfo(path).fileName() + QStringLiteral(": no usable row"));
        FailResourceFile(s, path);
    }
    if (constructions) SizeConstructionList(s);
}

void ReadFixedTables(State& s) {
    ReadTable(s, false, QStringLiteral("TableA.data"), s.tableA);
    ReadTable(s, false, QStringLiteral("TableB.data"), s.tableB);
    ReadTable(s, false, QStringLiteral("TableE.data"), s.tableE);
    ReadTable(s, false, QStringLiteral("TableF.data"), s.tableF);
    ReadTable(s, false, QStringLiteral("TableK.data"), s.tableK);
}

void ReadLanguageTables(State& s) {
    ReadTable(s, true, QStringLiteral("TableC.data"), s.tableC);
    ReadTable(s, true, QStringLiteral("TableD.data"), s.tableD);
}

float LookUpA(State& s, float volume, float temperature) {
    s.WriteLog(QStringLiteral(">LookUpA(") + Number(volume) + QStringLiteral(", ") + Number(temperature) +
               QLatin1Char(')'));
    const DataTable& t = s.tableA;
    if (!std::isfinite(volume) || !std::isfinite(temperature) || t.RowCount() == 0) return 0;
    const int column = temperature >= 32 ? 2 : 3;
    const Bracket b = Walk(t, column, volume);
    if (b.exact) return b.value;
    if (b.Interpolates()) return b.Interpolated(volume);
    return Value(t, column, b.LowFound() ? t.RowCount() : 1);
}

float LookUpB(State& s, int doors, float temperature) {
    s.WriteLog(QStringLiteral(">LookUpB(") + QString::number(doors) + QStringLiteral(", ") +
               Number(temperature) + QLatin1Char(')'));
    if (doors < 1 || !std::isfinite(temperature)) return 0;
    const DataTable& t = s.tableB;
    const int column = temperature >= 32 ? 2 : 3;
    for (int r = 1; r <= t.RowCount(); ++r)
        if (Key(t, r) == static_cast<float>(doors)) return Value(t, column, r);
    s.ShowMessage(5);
    return Value(t, column, t.RowCount());
}

float LookUpE(State& s, float power, bool p, bool q) {
    s.WriteLog(QStringLiteral(">LookUpE(") + Number(power) + QStringLiteral(", ") + Bool(p) +
               QStringLiteral(", ") + Bool(q) + QLatin1Char(')'));
    if (!std::isfinite(power) || power <= 0) return 0;
    const DataTable& t = s.tableE;
    const int column = q ? 4 : p ? 3 : 2;
    const Bracket b = Walk(t, column, power);
    if (b.exact) return b.value;
    if (b.Interpolates()) return b.Interpolated(power);
    s.ShowMessage(6);
    if (t.RowCount() == 0) return 0;
    return ScaledFromRow(t, column, b.LowFound() ? t.RowCount() : 1, power);
}

float LookUpF(State& s, float temperature, int column) {
    s.WriteLog(QStringLiteral(">LookUpF(") + Number(temperature) + QStringLiteral(", ") +
               QString::number(column) + QLatin1Char(')'));
    const DataTable& t = s.tableF;
    if (!std::isfinite(temperature) || t.RowCount() == 0) return 0;
    const std::optional<float> first = Key(t, 1);
    if (first && *first > temperature) return 0;
    const Bracket b = Walk(t, column, temperature);
    if (b.exact) return b.value;
    if (b.Interpolates()) return b.Interpolated(temperature);
    return ScaledFromRow(t, column, b.LowFound() ? t.RowCount() : 1, temperature);
}

MotorDefaults LookUpK(State& s, float volume, float temperature) {
    s.WriteLog(QStringLiteral(">LookUpK(") + Number(volume) + QStringLiteral(", ") + Number(temperature) +
               QLatin1Char(')'));
    const DataTable& t = s.tableK;
    const int n = t.RowCount();
    if (n == 0 || !std::isfinite(volume) || !std::isfinite(temperature)) return {};
    // A row applies from its key up to the next key; below the second key the first row
    // applies, beyond the keys the last.
    int row = n, previous = 0;
    for (int r = 1; r <= n - 1; ++r) {
        const std::optional<float> key = Key(t, r);
        if (!key) continue;
        if (*key > volume) {
            row = previous >= 1 ? previous : 1;
            break;
        }
        previous = r;
    }
    const bool warm = temperature >= s.constants.motorTemp;
    const double count = t.Number(warm ? 4 : 2, row).value_or(0.0);
    MotorDefaults result;
    result.count = static_cast<qint16>(RoundHalfEven(std::clamp(
        count, double(std::numeric_limits<qint16>::min()), double(std::numeric_limits<qint16>::max()))));
    result.power = Value(t, warm ? 5 : 3, row);
    return result;
}

} // namespace corvane
