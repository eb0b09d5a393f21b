#include "definitions/values.h"

#include "base/numbertext.h"
#include "definitions/state.h"

#include <cmath>

namespace corvane {

Conversion ConversionOfRow(const State& s, int row) {
    Conversion c;
    if (row < 0 || row >= UnitColumn::Rows) return c;
    const QString text = s.unitTable[UnitColumn::Conversion][row];
    if (text == QLatin1String("FTOC")) {
        c.valid = c.ftoc = true;
    } else if (IsNumeric(text)) {
        c.factor = ReadNumber(text).value_or(0.0);
        // A zero factor cannot be undone on entry; such a row behaves as if it had no unit.
        c.valid = c.factor != 0;
    }
    return c;
}

QString ImperialName(const State& s, int row) { return s.unitTable[UnitColumn::Imperial][row]; }
QString MetricName(const State& s, int row) { return s.unitTable[UnitColumn::Metric][row]; }

QString CategoryOfGridRow(const Grid& g, int r) {
    return r >= 0 && r < g.categories.size() ? g.categories[r] : QString();
}

int CategoryRow(const State& s, const QString& category) {
    const QStringView name = QStringView(category).trimmed();
    if (name.isEmpty() || name.compare(QLatin1String("NONE"), Qt::CaseInsensitive) == 0) return -1;
    // Every stored value written runs this, so names that cannot match are passed over before
    // they are compared: texts that match regardless of case have the same length, and the
    // same first letter when it is an ASCII one.
    const auto initial = [](char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - u'a' + u'A') : c; };
    const char16_t first = initial(name.front().unicode());
    for (int row = 0; row < UnitColumn::Rows; ++row) {
        const QString& entry = s.unitTable[UnitColumn::Name][row];
        if (entry.size() != name.size()) continue;
        const char16_t entryFirst = initial(entry.front().unicode());
        if (first < 0x80 && entryFirst < 0x80 && first != entryFirst) continue;
        if (name.compare(entry, Qt::CaseInsensitive) == 0) return row;
    }
    return -1;
}

int FieldCategoryRow(const State& s, int n) {
    const Label* u = s.unitLabels.Find(n);
    return u ? CategoryRow(s, u->tag) : -1;
}

QString UnitName(const State& s, const QString& category, bool metric) {
    const int row = CategoryRow(s, category);
    if (row < 0) return category;
    return metric ? MetricName(s, row) : ImperialName(s, row);
}

QString InitialUnitName(const State& s, int n, const QString& category) {
    if (category.trimmed().compare(QLatin1String("NONE"), Qt::CaseInsensitive) == 0) return QString();
    const int row = CategoryRow(s, category);
    if (row < 0) return category;
    if (n == 401 && MetricName(s, row).toUpper().startsWith(QLatin1Char('W'))) return MetricName(s, row);
    return ImperialName(s, row);
}

QString DisplayText(const State& s, int n) {
    const TextBox& box = s.textBoxes[n];
    if (box.kind != FieldKind::Number) return box.tag;
    // A stored value that is not a number leaves the shown text as it is.
    if (!ReadNumber(box.tag)) return box.text;
    const float stored = NumberFromText(box.tag);
    const int row = FieldCategoryRow(s, n);
    const Conversion conv = ConversionOfRow(s, row);
    if (row < 0 || !conv.valid) return TextFromSingle(RoundHundredths(stored));

    const QString caption = s.unitLabels[n].caption;
    float r = 0;
    if (caption == ImperialName(s, row)) {
        r = RoundHundredths(stored);
    } else if (!conv.ftoc) {
        r = RoundHundredths(stored * static_cast<float>(conv.factor));
    } else {
        r = RoundHundredths((stored - 32.0f) / 1.8f);
        return TextFromSingle(r > 1000 ? std::floor(r + 0.5f) : r);
    }
    if (r > 1000) return TextFromSingle(std::floor(r + 0.5f));
    if (n == 502 || n == 561 || n == 562) return TextFromSingle(std::floor(r * 10.0f + 0.5f) / 10.0f);
    return TextFromSingle(r);
}

void ApplyEntryRule(State& s, int n) {
    TextBox& box = s.textBoxes[n];
    const QString shown = box.text;
    if (IsNumeric(shown) && HasUnit(s, n)) {
        const int row = FieldCategoryRow(s, n);
        const Conversion conv = ConversionOfRow(s, row);
        if (row >= 0 && conv.valid && s.unitLabels[n].caption != ImperialName(s, row)) {
            box.tag = TextFromDouble(conv.ToImperial(ReadNumber(shown).value_or(0.0)));
            return;
        }
    }
    box.tag = shown;
}

QString ReadGridCell(const State& s, int g, int r, int c) {
    const Grid& grid = s.grids[g];
    const QString text = grid.Text(r, c);
    if (!IsNumeric(text)) return text;
    const int row = CategoryRow(s, CategoryOfGridRow(grid, r));
    if (row < 0) return text;
    const QString metric = MetricName(s, row);
    const Conversion conv = ConversionOfRow(s, row);
    if (metric.isEmpty() || !conv.valid || grid.Text(r, 1) != metric) return text;
    return TextFromDouble(conv.ToImperial(ReadNumber(text).value_or(0.0)));
}

void WriteGridCell(State& s, int g, int r, int c, const QString& storedValue) {
    Grid& grid = s.grids[g];
    GridCell& cell = grid.Cell(r, c);
    const QString category = CategoryOfGridRow(grid, r);
    const int row = CategoryRow(s, category);
    const bool metricShown = row >= 0 && !MetricName(s, row).isEmpty() && grid.Text(r, 1) == MetricName(s, row);

    QString text = storedValue;
    if (c > 1 && metricShown && IsNumeric(storedValue)) {
        const Conversion conv = ConversionOfRow(s, row);
        if (conv.valid) text = TextFromDouble(conv.ToMetric(ReadNumber(storedValue).value_or(0.0)));
    }
    if (IsNumeric(text)) {
        // The lower-case length, area and volume rows keep three decimals in metric units,
        // so that a box measured in metres keeps millimetres. The test is case-sensitive.
        const bool fine = metricShown && (category == QLatin1String("volume") || category == QLatin1String("area") ||
                                          category == QLatin1String("long"));
        const float v = NumberFromText(text);
        text = TextFromSingle(fine ? RoundThousandths(v) : RoundHundredths(v));
    }
    cell.text = text;
    s.MarkDirty(ControlKind::Grid, g);
}

} // namespace corvane
