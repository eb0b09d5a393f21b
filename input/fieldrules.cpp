#include "input/fieldrules.h"

#include "base/numbertext.h"
#include "base/platform.h"
#include "calc/driver.h"
#include "calc/loads.h"
#include "definitions/state.h"
#include "equipment/selection.h"
#include "input/grids.h"
#include "input/optionlists.h"
#include "input/units.h"

#include <algorithm>
#include <initializer_list>
#include <iterator>

namespace corvane {

namespace {

constexpr int WallGrid = 200, ProductGrid = 300;

// Computed or defaulted values the user may type over; the mark keeps rules and the
// calculation from replacing what was typed.
constexpr int OverridableFields[] = {12, 16, 213, 214, 314, 401, 403, 422, 423, 500, 503, 600, 605, 624, 642, 680};

bool IsOverridable(int n) {
    return std::find(std::begin(OverridableFields), std::end(OverridableFields), n) != std::end(OverridableFields);
}

// A failing read or write of one field must not stop the rest of the change handling.
template <class Step>
void Attempt(State& s, int n, Step&& step) {
    try {
        step();
    } catch (const ProgramEnd&) {
        throw;
    } catch (const std::exception& e) {
        s.WriteLog(QStringLiteral("TEXTBOX_Change(") + QString::number(n) + QStringLiteral("): ") +
                   QString::fromStdString(e.what()));
    }
}

void ShowFrame(State& s, int n, bool visible) {
    if (Frame* f = s.frames.Find(n); f && f->visible != visible) {
        f->visible = visible;
        s.MarkDirty(ControlKind::Frame, n);
    }
}

void ShowTextBox(State& s, int n, bool visible) {
    if (TextBox* t = s.textBoxes.Find(n); t && t->visible != visible) {
        t->visible = visible;
        s.MarkDirty(ControlKind::TextBox, n);
    }
}

// The text box with its caption and unit label, shown and hidden together.
void ShowField(State& s, int n, bool visible) {
    ShowTextBox(s, n, visible);
    if (Label* l = s.labels.Find(n)) l->visible = visible;
    if (Label* u = s.unitLabels.Find(n)) u->visible = visible;
    s.MarkDirty(ControlKind::Label, n);
    s.MarkDirty(ControlKind::UnitLabel, n);
}

QString SettingsName(int n) { return QStringLiteral("TextBox") + QString::number(n); }

// --- the rules by field

// Fields 13 to 15 describe a rectangular box, so they are the first dimensions of its walls.
void CopyBoxDimensions(State& s) {
    if (!s.radios[200].value) s.SetRadio(200, true);
    const QString length = GetFieldValue(s, 13);
    const QString width = GetFieldValue(s, 14);
    const QString height = GetFieldValue(s, 15);
    for (int c : {2, 3, 6, 7}) WriteGridCell(s, WallGrid, 2, c, length);
    for (int c : {4, 5}) WriteGridCell(s, WallGrid, 2, c, width);
    for (int c : {6, 7}) WriteGridCell(s, WallGrid, 3, c, width);
    for (int c : {2, 3, 4, 5}) WriteGridCell(s, WallGrid, 3, c, height);
    SizeTable(s, WallGrid);
}

// Writes the twins of a temperature. The field being edited keeps its text as typed, so that
// a partial entry such as "-" or "12." is not rewritten under the user's cursor.
void WriteTwins(State& s, int n, std::initializer_list<int> twins) {
    const QString value = GetFieldValue(s, n);
    for (int m : twins)
        if (m != n) SetFieldValue(s, m, value);
}

// The rules below set the rules flag for the rest of the change handling, calculation
// included, so that their writes store values without running rules of their own; the
// change handling clears it when it ends.
void SurroundingTemperatureRule(State& s, int n) {
    s.flags.rules = true;
    WriteTwins(s, n, {102, 212});
    const QString value = GetFieldValue(s, n);
    if (!IsOverridden(s, 600) && IsNumeric(value)) {
        // The air that comes in through the doors stays within what the infiltration tables cover.
        const float t = NumberFromText(value);
        const CalcConstants& k = s.constants;
        const QString clamped = t > k.maxInfiltTemp   ? TextFromSingle(k.maxInfiltTemp)
                                : t < k.minInfiltTemp ? TextFromSingle(k.minInfiltTemp)
                                                      : value;
        SetFieldValue(s, 600, clamped);
    }
    ApplySurroundingTemperature(s);
}

void BoxTemperatureRule(State& s, int n) {
    s.flags.rules = true;
    WriteTwins(s, n, {312, 501, 103});
    const QString box = GetFieldValue(s, 103);
    if (!IsOverridden(s, 12) && IsNumeric(box)) {
        const float t = NumberFromText(box);
        const CalcConstants& k = s.constants;
        const float runTime = t >= k.runTimeTemp1 ? k.runTime1 : t >= k.runTimeTemp2 ? k.runTime2 : k.runTime3;
        SetFieldValue(s, 12, TextFromSingle(runTime));
    }
    ApplyBoxTemperature(s);
}

// Applies the rule of field n; returns whether the calculation follows.
bool ApplyFieldRule(State& s, int n) {
    switch (n) {
    case 13:
    case 14:
    case 15: CopyBoxDimensions(s); return true;
    case 102:
    case 212: SurroundingTemperatureRule(s, n); return true;
    case 103:
    case 312:
    case 501: BoxTemperatureRule(s, n); return true;
    case 522:
        // Usually one cooler per condensing unit; the copy runs the cooler count's own rule.
        SetFieldValue(s, 542, GetFieldValue(s, 522));
        return true;
    case 542:
        if (!CheckInputs(s)) {
            SelectCooler(s);
            CalculateBalance(s);
        }
        return false;
    case 805: s.settings.Save(s.settingsSection, SettingsName(805), s.textBoxes[805].text); return false;
    default: return true;
    }
}

// The condenser series code says how the condensing unit is cooled: its second character "A"
// means air-cooled at the ambient of field 500, "C" rated at the condensing temperature of
// field 525.
void ApplyCondenserRule(State& s) {
    const QString kind = GetFieldValue(s, 530).mid(1, 1).toUpper();
    if (!FrameOverridden(s, 501)) {
        // The user's own choice of condenser type (an override of frame 501) is kept.
        FlagGuard loading(s.flags.loading);
        const QStringList values = s.valueLists[510].values;
        if (kind != QLatin1String("A")) {
            s.SetRadio(501, true);
            SetFieldValue(s, 510, values.value(1));
        } else {
            s.SetRadio(500, true);
            SetFieldValue(s, 510, values.value(0));
        }
    }
    const bool condensing = kind == QLatin1String("C");
    ShowField(s, 525, condensing);
    if (Underline* u = s.underlines.Find(525)) {
        u->visible = condensing;
        s.MarkDirty(ControlKind::Underline, 525);
    }
}

void ShowShapePictures(State& s) {
    for (int i = 0; i < 3; ++i) s.geometryVisible[i] = s.radios[200 + i].value;
    s.MarkDirty(ControlKind::Frame, 200);
}

void ShapeClick(State& s, int n) {
    ShowFrame(s, 200, false);
    ShowFrame(s, 4, true);
    s.buttons[17].visible = true;
    s.MarkDirty(ControlKind::Button, 17);
    if (s.flags.loading) {
        s.grids[WallGrid].visible = true;
        s.MarkDirty(ControlKind::Grid, WallGrid);
        return;
    }
    MarkJobModified(s);
    BuildWallGrid(s, n);
    if (n != 203)
        for (int f : {13, 14, 15}) ShowField(s, f, s.radios[200].value);
    // A rectangle is the box of the three dimensions shown above its grid, and the results
    // follow the new outline at once.
    if (n == 200) CopyBoxDimensions(s);
    Calculate(s);
}

// The box described by its three dimensions alone: the wall-section panel gives way to the
// shape choice, and the dimensions start from zero.
void NoWallGridClick(State& s) {
    MarkJobModified(s);
    if (!s.grids[WallGrid].visible) return;   // already done by command button 17
    // A box of three dimensions has no sections: the hidden grid keeps none that the
    // transmission load could still count (as a job saved so loads back).
    Grid& walls = s.grids[WallGrid];
    walls.visible = false;
    walls.Resize(walls.rows, 2);
    s.MarkDirty(ControlKind::Grid, WallGrid);
    s.cellEditorVisible[0] = false;
    ShowFrame(s, 200, true);
    s.buttons[17].visible = false;
    s.shadows[17].visible = false;
    s.MarkDirty(ControlKind::Button, 17);
    s.MarkDirty(ControlKind::Shadow, 17);
    ShowFrame(s, 4, false);
    for (int f : {13, 14, 15}) ShowField(s, f, true);
    for (int f : {14, 13, 15}) SetFieldValue(s, f, QStringLiteral("0"));
    // The loads follow the box as it now stands.
    Calculate(s);
}

void CondenserTypeClick(State& s, int n) {
    MarkJobModified(s);
    // Each click on the condenser type toggles the frame's override mark.
    SetFrameOverridden(s, 501, !FrameOverridden(s, 501));
    SetFieldValue(s, 510, s.valueLists[510].values.value(n - 500));
    SelectCondenser(s);
    SelectCooler(s);
    CalculateBalance(s);
}

void InfiltrationMethodClick(State& s) {
    MarkJobModified(s);
    for (int i = 0; i < 3; ++i) ShowFrame(s, 601 + i, s.radios[600 + i].value);
    Calculate(s);
}

} // namespace

void InstallInputHandlers(State& s) {
    s.events.unitLabelChange = [&s](int n) { UnitLabelChange(s, n); };
    s.events.textChanged = [&s](int n) { TextBoxChange(s, n); };
    s.events.radioClicked = [&s](int n) { RadioClick(s, n); };
    s.events.listClicked = [&s](int n) { ListClick(s, n); };
    s.events.unitSystemsChanged = [&s] { ApplyUnitSwitchesFromSettings(s); };
}

void MarkJobModified(State& s) {
    s.flags.jobModified = true;
    if (Button* b = s.buttons.Find(11); b && !b->visible) {
        b->visible = true;
        s.MarkDirty(ControlKind::Button, 11);
    }
    ShowFrame(s, 2, true);
}

void TextBoxChange(State& s, int n) {
    TextBox* found = s.textBoxes.Find(n);
    if (!found) return;
    const QString entryText = found->text;
    s.lastShownText = entryText;
    if (s.flags.loading || s.flags.converting || s.flags.rules) return;

    Attempt(s, n, [&] {
        // Preferences (800 up) and the personal details without a job belong to no job.
        if (n < 700 || (n < 800 && !s.currentJobPath.isEmpty()))
            MarkJobModified(s);
        else
            ShowFrame(s, 2, true);
    });

    if (s.focus.Is(ControlKind::TextBox, n) && IsOverridable(n))
        SetFieldOverridden(s, n, !entryText.isEmpty());

    const FieldKind kind = KindOfField(s, n);
    {
        // Whatever a rule below sets, the rules flag is clear again when the handling ends.
        FlagGuard rulesEnd(s.flags.rules, false);
        if (kind == FieldKind::Text) {
            Attempt(s, n, [&] {
                TextBox& box = s.textBoxes[n];
                box.tag = box.text;
                if (n >= 700 && n < 800 && s.currentJobPath.isEmpty())
                    s.settings.Save(s.settingsSection, SettingsName(n), box.text);
            });
            if (n == 530) Attempt(s, n, [&] { ApplyCondenserRule(s); });
        } else if (kind == FieldKind::Number) {
            Attempt(s, n, [&] { ApplyEntryRule(s, n); });
            if (!s.flags.calculating) {
                bool calculate = true;
                Attempt(s, n, [&] { calculate = ApplyFieldRule(s, n); });
                if (calculate) Attempt(s, n, [&] { Calculate(s); });
            }
        } else {
            return;   // list fields are stored by their lists
        }
    }

    // A rule rewrote this very field: its new text gets the change handling as well.
    const TextBox* after = s.textBoxes.Find(n);
    if (after && after->text != entryText) TextBoxChange(s, n);
}

void ApplySurroundingTemperature(State& s) {
    const QString stored = GetFieldValue(s, 212);
    if (!IsNumeric(stored)) return;
    const double t = ReadNumber(stored).value_or(0.0);
    const bool indoor = s.radios[100].value;
    const QStringList kinds = s.optionLists[201].items;
    const Grid& grid = s.grids[WallGrid];
    for (int c = 2; c < grid.cols; ++c) {
        if (CellOverridden(s, grid, 8, c)) continue;
        const QString kind = grid.Text(1, c);
        if (kind.isEmpty()) continue;
        // Outdoors the sun warms the walls and, more, the roof; the floor sits on the ground.
        double far = 0;
        if (kind == kinds.value(0))
            far = indoor ? t : t + 4;
        else if (kind == kinds.value(1))
            far = 55;
        else if (kind == kinds.value(2))
            far = indoor ? t : t + 9;
        else
            continue;
        WriteGridCell(s, WallGrid, 8, c, TextFromDouble(far));
    }
}

void RadioClick(State& s, int n) {
    s.WriteLog(QStringLiteral(">RADIO_Click(") + QString::number(n) + QLatin1Char(')'));
    if (!s.radios.Has(n)) return;
    if (n >= 840 && n <= 847) {
        UnitSwitchClick(s, n);
        return;
    }
    ShowShapePictures(s);
    if (n >= 200 && n <= 203) {
        ShapeClick(s, n);
        return;
    }
    // A selection made by a rule or by the job loader is no user choice.
    if (s.flags.loading) return;
    switch (n) {
    case 100:
    case 101:
        MarkJobModified(s);
        ApplySurroundingTemperature(s);
        Calculate(s);
        break;
    case 204: NoWallGridClick(s); break;
    case 500:
    case 501: CondenserTypeClick(s, n); break;
    case 600:
    case 601:
    case 602:
    case 603:
    case 604:
    case 605: InfiltrationMethodClick(s); break;
    default: MarkJobModified(s); break;
    }
}

void SetOverrideMark(State& s, int n, bool overridden) {
    SetFieldOverridden(s, n, overridden);
}

void RadioGotFocus(State& s, int n) {
    if (const Radio* r = s.radios.Find(n)) s.hintText = r->hint;
}

} // namespace corvane
