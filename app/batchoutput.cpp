#include "app/batchoutput.h"

#include "app/batchargs.h"
#include "definitions/state.h"
#include "definitions/values.h"

#include <QJsonArray>
#include <QDir>
#include <QJsonDocument>

namespace corvane {

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
