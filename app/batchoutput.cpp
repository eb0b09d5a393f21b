#include "app/batchoutput.h"

#include "app/batchargs.h"
#include "definitions/state.h"
#include "definitions/values.h"

#include <QJsonArray>
#include <QDir>
#include <QJsonDocument>
#include <algorithm>

namespace corvane {

void Print(FILE* stream, const QString& text) { PrintBytes(stream, text.toUtf8()); }

void PrintBytes(FILE* stream, const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

int Fail(int status, const QString& why) {
    Print(stderr, QStringLiteral("corvane: ") + why + QLatin1Char('\n'));
    if (status == BadArguments) Print(stderr, QStringLiteral("Try 'corvane --help'.\n"));
    return status;
}

namespace {

QJsonArray Strings(const QStringList& list) {
    QJsonArray a;
    for (const QString& t : list)
        a.append(t);
    return a;
}

} // namespace

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
                overriddenRow.append(grid.Cell(r, c).overridden);
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

namespace {

// The JSON text of the state, written directly, byte for byte as QJsonDocument writes
// StateJson indented (keys in the order of their characters, four spaces an indent, "[\n" and
// "]" around an empty list) at a fraction of its cost: the batch mode's main output.
class JsonText {
public:
    QByteArray out;

    void Open(char bracket) {
        Next();
        out += bracket;
        out += '\n';
        ++m_depth;
        m_first = true;
    }
    void Close(char bracket) {
        --m_depth;
        if (!m_first) out += '\n';
        Indent();
        out += bracket;
        m_first = false;
    }
    void Key(QLatin1String key) { Key(QByteArray(key.data(), key.size())); }
    void Key(const QByteArray& key) {
        Next();
        out += '"';
        out += key;
        out += "\": ";
        m_keyed = true;
    }
    void Value(const QString& text) {
        Next();
        AppendString(text);
    }
    void Value(bool b) {
        Next();
        out += b ? "true" : "false";
    }
    void Value(int n) {
        Next();
        out += QByteArray::number(n);
    }
    void Strings(const QStringList& list) {
        Open('[');
        for (const QString& t : list) Value(t);
        Close(']');
    }

private:
    int m_depth = 0;
    bool m_first = true;
    bool m_keyed = false;

    void Indent() { out.append(4 * m_depth, ' '); }
    // Before a key, or a value in a list: the separator and the indent.
    void Next() {
        if (m_keyed) {
            m_keyed = false;
            m_first = false;
            return;
        }
        if (!m_first) out += ",\n";
        m_first = false;
        Indent();
    }
    void AppendString(const QString& text) {
        bool plain = true;
        for (const QChar c : text) {
            const char16_t u = c.unicode();
            if (u < 0x20 || u == u'"' || u == u'\\' || (u >= 0xD800 && u <= 0xDFFF)) {
                plain = false;
                break;
            }
        }
        if (plain) {
            out += '"';
            out += text.toUtf8();
            out += '"';
            return;
        }
        // Escapes and surrogates as Qt writes them: one string in a list, written compact.
        const QByteArray list = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
        out += list.mid(1, list.size() - 2);
    }
};

// Numbers as keys, in the order of their characters ("103" before "16").
template <typename Map>
QList<QPair<QByteArray, int>> NumberKeys(const Map& map) {
    QList<QPair<QByteArray, int>> keys;
    for (const auto& entry : map) keys.append({QByteArray::number(entry.first), entry.first});
    std::sort(keys.begin(), keys.end());
    return keys;
}

} // namespace

QByteArray StateJsonText(const State& s) {
    JsonText j;
    j.Open('{');
    j.Key(QLatin1String("errors"));
    j.Strings(s.errorList);
    j.Key(QLatin1String("fields"));
    j.Open('{');
    for (const auto& [key, n] : NumberKeys(s.textBoxes)) {
        const TextBox& box = s.textBoxes[n];
        const Label* label = s.labels.Find(n);
        const Label* unit = s.unitLabels.Find(n);
        j.Key(key);
        j.Open('{');
        j.Key(QLatin1String("caption"));
        j.Value(label ? label->caption : QString());
        j.Key(QLatin1String("category"));
        j.Value(unit ? unit->tag : QString());
        j.Key(QLatin1String("overridden"));
        j.Value(IsOverridden(s, n));
        j.Key(QLatin1String("shown"));
        j.Value(box.text);
        j.Key(QLatin1String("stored"));
        j.Value(box.tag);
        j.Key(QLatin1String("type"));
        j.Value(FieldType(s, n));
        j.Key(QLatin1String("unit"));
        j.Value(unit ? unit->caption : QString());
        j.Key(QLatin1String("visible"));
        j.Value(box.visible);
        j.Close('}');
    }
    j.Close('}');
    j.Key(QLatin1String("grids"));
    j.Open('{');
    for (const auto& [key, number] : NumberKeys(s.grids)) {
        const int g = number;  // a plain variable: clang before 16 cannot capture a structured binding
        const Grid& grid = s.grids[g];
        j.Key(key);
        j.Open('{');
        // One list of rows of the grid's cells, each written by `cell`.
        const auto cellRows = [&](const auto& cell) {
            j.Open('[');
            for (int r = 0; r < grid.rows; ++r) {
                j.Open('[');
                for (int c = 0; c < grid.cols; ++c) cell(r, c);
                j.Close(']');
            }
            j.Close(']');
        };
        j.Key(QLatin1String("cells"));
        cellRows([&](int r, int c) { j.Value(grid.Text(r, c)); });
        j.Key(QLatin1String("cols"));
        j.Value(grid.cols);
        j.Key(QLatin1String("overridden"));
        cellRows([&](int r, int c) { j.Value(grid.Cell(r, c).overridden); });
        j.Key(QLatin1String("rows"));
        j.Value(grid.rows);
        j.Key(QLatin1String("stored"));
        cellRows([&](int r, int c) { j.Value(ReadGridCell(s, g, r, c)); });
        j.Close('}');
    }
    j.Close('}');
    j.Key(QLatin1String("lists"));
    j.Open('{');
    for (const auto& [key, n] : NumberKeys(s.optionLists)) {
        const OptionList& list = s.optionLists[n];
        const ValueList* values = s.valueLists.Find(n);
        j.Key(key);
        j.Open('{');
        j.Key(QLatin1String("items"));
        j.Strings(list.items);
        j.Key(QLatin1String("selected"));
        j.Value(list.selected);
        j.Key(QLatin1String("values"));
        j.Strings(values ? values->values : QStringList());
        j.Close('}');
    }
    j.Close('}');
    j.Key(QLatin1String("radios"));
    j.Open('{');
    for (const auto& [key, n] : NumberKeys(s.radios)) {
        j.Key(key);
        j.Value(s.radios[n].value);
    }
    j.Close('}');
    j.Close('}');
    j.out += '\n';
    return j.out;
}

namespace {

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

} // namespace

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


} // namespace corvane
