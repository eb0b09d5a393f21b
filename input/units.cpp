#include "input/units.h"

#include "base/numbertext.h"
#include "base/truetext.h"
#include "calc/loads.h"
#include "definitions/state.h"
#include "definitions/values.h"
#include "input/fieldrules.h"
#include "input/grids.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>

namespace corvane {

namespace {

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
    if (IsTrueText(t)) return true;
    if (IsFalseText(t)) return false;
    if (const auto v = ReadNumber(t); v && !t.isEmpty()) return *v != 0;
    return fallback;
}

// Brings the unit labels of one switch into the system its buttons show.
void AlignUnitLabels(State& s, const UnitSwitch& sw) {
    const int column = s.radios[sw.imperialButton + 1].value ? UnitColumn::Metric : UnitColumn::Imperial;
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
            const QString text = KindOfField(s, n) == FieldKind::Number ? DisplayText(s, n) : s.textBoxes[n].tag;
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


} // namespace corvane
