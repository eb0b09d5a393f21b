#include "input/units.h"

#include "app/numbertext.h"
#include "calc/loads.h"
#include "definitions/state.h"
#include "input/fieldrules.h"
#include "input/grids.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>

namespace corvane {

namespace {

constexpr int NameColumn = 1, ImperialColumn = 2, MetricColumn = 3, ConversionColumn = 4;
constexpr int UnitRows = 21;

// How a category converts: metric = imperial x factor, or Fahrenheit to Celsius.
struct Conversion {
    bool valid = false;
    bool ftoc = false;
    double factor = 1;

    double ToMetric(double v) const { return ftoc ? (v - 32.0) / 1.8 : v * factor; }
    double ToImperial(double v) const { return ftoc ? v * 1.8 + 32.0 : v / factor; }
};

Conversion ConversionOfRow(const State& s, int row) {
    Conversion c;
    if (row < 0 || row >= UnitRows) return c;
    const QString text = s.unitTable[ConversionColumn][row];
    if (text == QLatin1String("FTOC")) {
        c.valid = c.ftoc = true;
    } else if (IsNumeric(text)) {
        c.factor = ReadNumber(text).value_or(0.0);
        // A zero factor cannot be undone on entry; such a row behaves as if it had no unit.
        c.valid = c.factor != 0;
    }
    return c;
}

QString ImperialName(const State& s, int row) { return s.unitTable[ImperialColumn][row]; }
QString MetricName(const State& s, int row) { return s.unitTable[MetricColumn][row]; }

// The four unit switches: imperial button, settings value, categories with their fixed rows.
struct SwitchedCategory {
    const char* name;
    int row;
};

struct UnitSwitch {
    int imperialButton;
    const char* settingsKey;
    std::array<SwitchedCategory, 5> categories;   // unused entries have no name
};

const UnitSwitch& SwitchOf(int button) {
    static const UnitSwitch switches[] = {
        {840, "ImperialLength",
         {{{"SHORT", UnitRow::Short}, {"LONG", UnitRow::Long}, {"AREA", UnitRow::Area},
           {"VOLUME", UnitRow::Volume}, {"FLOW", UnitRow::Flow}}}},
        {842, "ImperialTemperature", {{{"TEMPERATURE", UnitRow::Temperature}}}},
        {844, "ImperialMass", {{{"WEIGHT", UnitRow::Weight}}}},
        {846, "ImperialPower", {{{"LOADH", UnitRow::LoadH}}}},
    };
    const int index = std::clamp((button - 840) / 2, 0, 3);
    return switches[index];
}

bool SettingsBoolean(const QString& text, bool fallback) {
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
    if (const auto v = ReadNumber(t); v && !t.isEmpty()) return *v != 0;
    return fallback;
}

// Brings the unit labels of one switch into the system its buttons show.
void AlignUnitLabels(State& s, const UnitSwitch& sw) {
    const int column = s.radios[sw.imperialButton + 1].value ? MetricColumn : ImperialColumn;
    QList<int> numbers;
    for (const auto& [n, label] : s.unitLabels) numbers << n;
    for (int n : numbers) {
        const Label& label = s.unitLabels[n];
        const QString category = label.tag.toUpper();
        for (const auto& [name, row] : sw.categories) {
            if (!name || category != QLatin1String(name)) continue;
            if (label.caption != s.unitTable[column][row]) UnitLabelClick(s, n);
            break;
        }
    }
}

QString CategoryOfGridRow(const Grid& g, int r) {
    return r >= 0 && r < g.categories.size() ? g.categories[r] : QString();
}

// Converts one numeric cell text directly (not through the cell writer), rounded for display.
QString ConvertedCell(const QString& text, const Conversion& conv, bool toMetric) {
    if (!IsNumeric(text)) return text;
    const double v = ReadNumber(text).value_or(0.0);
    return TextFromSingle(RoundHundredths(static_cast<float>(toMetric ? conv.ToMetric(v) : conv.ToImperial(v))));
}

// Rows of the wall-section grid governed by labels 212 to 214: each row converts by its own
// category. Through the cell writer (labels 213, 214) or directly (label 212).
void ConvertWallRows(State& s, std::initializer_list<int> rows, bool toMetric, bool throughWriter) {
    Grid& g = s.grids[200];
    for (int r : rows) {
        if (r >= g.rows) continue;
        const int row = CategoryRow(s, CategoryOfGridRow(g, r));
        const Conversion conv = ConversionOfRow(s, row);
        if (row < 0 || !conv.valid) continue;
        const QString target = toMetric ? MetricName(s, row) : ImperialName(s, row);
        if (g.Text(r, 1) == target) continue;
        g.Cell(r, 1).text = target;
        for (int c = 2; c < g.cols; ++c) {
            const QString old = g.Text(r, c);
            if (!throughWriter) {
                g.Cell(r, c).text = ConvertedCell(old, conv, toMetric);
            } else if (toMetric) {
                // The unit cell names the metric unit now, so the writer converts the old value.
                WriteGridCell(s, 200, r, c, old);
            } else if (IsNumeric(old)) {
                WriteGridCell(s, 200, r, c, TextFromDouble(conv.ToImperial(ReadNumber(old).value_or(0.0))));
            }
        }
    }
    s.MarkDirty(ControlKind::Grid, 200);
}

// Rows of the product grid whose unit cell shows the label's source unit name.
void ConvertProductRows(State& s, int labelRow, bool toMetric) {
    Grid& g = s.grids[300];
    const Conversion conv = ConversionOfRow(s, labelRow);
    if (!conv.valid) return;
    const QString source = toMetric ? ImperialName(s, labelRow) : MetricName(s, labelRow);
    const QString target = toMetric ? MetricName(s, labelRow) : ImperialName(s, labelRow);
    if (source == target) return;
    for (int r = 0; r < g.rows; ++r) {
        if (g.Text(r, 1) != source) continue;
        g.Cell(r, 1).text = target;
        for (int c = 2; c < g.cols; ++c) g.Cell(r, c).text = ConvertedCell(g.Text(r, c), conv, toMetric);
    }
    s.MarkDirty(ControlKind::Grid, 300);
}

} // namespace

int CategoryRow(const State& s, const QString& category) {
    const QString name = category.trimmed();
    if (name.isEmpty() || name.compare(QLatin1String("NONE"), Qt::CaseInsensitive) == 0) return -1;
    for (int row = 0; row < UnitRows; ++row) {
        const QString& entry = s.unitTable[NameColumn][row];
        if (!entry.isEmpty() && entry.compare(name, Qt::CaseInsensitive) == 0) return row;
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
    if (FieldType(s, n) != QLatin1String("Number")) return box.tag;
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

void UnitLabelClick(State& s, int n) {
    s.WriteLog(QStringLiteral(">UNITS_Click(") + QString::number(n) + QLatin1Char(')'));
    for (auto& [number, list] : s.optionLists)
        if (list.visible) {
            list.visible = false;
            s.MarkDirty(ControlKind::OptionList, number);
        }
    // The list that was open covered its field; the field comes back with the list gone.
    if (s.openList > 399)
        if (TextBox* box = s.textBoxes.Find(s.openList)) {
            box->visible = true;
            s.MarkDirty(ControlKind::TextBox, s.openList);
        }
    s.openList = -1;
    s.cellEditorVisible = {false, false};
    s.gridPagerVisible = false;

    const Label& label = s.unitLabels[n];
    const int row = CategoryRow(s, label.tag);
    if (row < 0) return;
    const QString caption = label.caption == ImperialName(s, row) ? MetricName(s, row) : ImperialName(s, row);
    s.SetUnitCaption(n, caption);
}

void UnitLabelChange(State& s, int n) {
    if (s.flags.loading) return;
    if (s.textBoxes.Has(n)) {
        try {
            FlagGuard converting(s.flags.converting);
            const QString text = FieldType(s, n) == QLatin1String("Number") ? DisplayText(s, n) : s.textBoxes[n].tag;
            s.SetText(n, text);
        } catch (const ProgramEnd&) {
            throw;
        } catch (const std::exception& e) {
            s.WriteLog(QStringLiteral("UNITS_Change(") + QString::number(n) + QStringLiteral("): ") +
                       QString::fromStdString(e.what()));
        }
    }

    if (n != 212 && n != 213 && n != 214 && n != 312 && n != 313 && n != 314) return;
    const Label& label = s.unitLabels[n];
    const int labelRow = CategoryRow(s, label.tag);
    if (labelRow < 0) return;
    const bool toMetric = label.caption != ImperialName(s, labelRow);
    switch (n) {
    case 212:
        ConvertWallRows(s, {8}, toMetric, false);
        CalculateBoxLoad(s);
        SizeTable(s, 200);
        break;
    case 213:
        ConvertWallRows(s, {2, 3, 4, 5}, toMetric, true);
        CalculateBoxLoad(s);
        SizeTable(s, 200);
        break;
    case 214:
        ConvertWallRows(s, {9}, toMetric, true);
        SizeTable(s, 200);
        SizeColumn(s, 200, 1);
        break;
    default:
        ConvertProductRows(s, labelRow, toMetric);
        SizeTable(s, 300);
        break;
    }
}

void UnitSwitchClick(State& s, int button) {
    s.WriteLog(QStringLiteral(">UnitSwitch_Click(") + QString::number(button) + QLatin1Char(')'));
    if (button < 840 || button > 847) return;
    if (s.flags.loading) return;
    MarkJobModified(s);
    const UnitSwitch& sw = SwitchOf(button);
    s.settings.Save(s.settingsSection, QLatin1String(sw.settingsKey),
                    s.radios[sw.imperialButton].value ? QStringLiteral("True") : QStringLiteral("False"));
    AlignUnitLabels(s, sw);
}

void ApplyUnitSwitchesFromSettings(State& s) {
    for (int button : {840, 842, 844, 846}) {
        const UnitSwitch& sw = SwitchOf(button);
        const bool imperial =
            SettingsBoolean(s.settings.Get(s.settingsSection, QLatin1String(sw.settingsKey)), true);
        const int on = imperial ? button : button + 1;
        const int off = imperial ? button + 1 : button;
        // Setting a button runs its click; a button already set runs nothing, so the labels
        // are aligned here as well (after a language file has captioned them all imperial).
        if (!s.radios[on].value) s.SetRadio(on, true);
        s.SetRadio(off, false);
        if (!s.flags.loading) AlignUnitLabels(s, sw);
    }
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
