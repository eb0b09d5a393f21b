#include "input/numericentry.h"

#include "base/numbertext.h"
#include "calc/driver.h"
#include "definitions/state.h"
#include "input/fieldrules.h"
#include "input/optionlists.h"

namespace corvane {

namespace {

constexpr int Minus = 45, Comma = 44, Point = 46;

QString Number(int n) { return QString::number(n); }

// Run time by box temperature for a run-time field left empty. Below the coldest band there is
// no sensible default, so the field stays empty and the validation asks for a value.
QString RunTimeForBoxTemperature(float t) {
    if (t >= 32) return QStringLiteral("16");
    if (t >= 0) return QStringLiteral("22");
    if (t >= -20) return QStringLiteral("20");
    if (t >= -30) return QStringLiteral("18");
    return QString();
}

// A numeric field left empty gets a value again, so that the calculation never reads a hole.
void FillEmptyNumber(State& s, int n) {
    if (n == 500) {
        // The condensing unit usually stands in the air around the box.
        SetFieldValue(s, 500, GetFieldValue(s, 102));
    } else if (n == 12) {
        const QString runTime = RunTimeForBoxTemperature(NumberFromText(GetFieldValue(s, 103)));
        if (!runTime.isEmpty()) SetFieldValue(s, 12, runTime);
    } else {
        s.SetText(n, QStringLiteral("0"));
        s.textBoxes[n].tag = QStringLiteral("0");
    }
}

} // namespace

void TextBoxGotFocus(State& s, int n) {
    s.WriteLog(QStringLiteral(">TEXTBOX_GotFocus(") + Number(n) + QLatin1Char(')'));
    TextBox* box = s.textBoxes.Find(n);
    if (!box) return;
    s.focus = FocusRef{ControlKind::TextBox, n};
    s.focusStoredValue = box->tag;
    s.focusShownText = box->text;
    s.focusOverridden = IsOverridden(s, n);
    // The view selects the whole text when it gives a text box the focus.
    OpenPicker(s, n);
    if (const TextBox* after = s.textBoxes.Find(n)) s.lastShownText = after->text;
}

bool TextBoxKeyPress(State& s, int n, int code, int caret, bool* moveOn) {
    s.WriteLog(QStringLiteral("TEXTBOX KeyAscii=") + Number(code));
    TextBox* box = s.textBoxes.Find(n);
    if (!box) return false;
    if (code == Key::Enter) {
        // Enter moves on like Tab instead of landing in the text.
        if (moveOn) *moveOn = true;
        return false;
    }
    if (code == Key::Escape) {
        SetFieldValue(s, n, s.focusStoredValue);
        TextBoxChange(s, n);
        // Escape takes the typing back, and with it the override mark that the typing gave:
        // a computed value that was not the user's goes on following its rule.
        if (IsOverridden(s, n) != s.focusOverridden) {
            SetOverrideMark(s, n, s.focusOverridden);
            Calculate(s);
        }
        return false;
    }
    s.WriteLog(QStringLiteral("TEXTBOX Type = ") + FieldType(s, n));
    if (box->kind != FieldKind::Number) return true;
    return NumericKeyAccepted(box->text, code, caret);
}

void TextBoxLostFocus(State& s, int n) {
    s.WriteLog(QStringLiteral(">Textbox_Lostfocus(") + Number(n) + QLatin1Char(')'));
    TextBox* found = s.textBoxes.Find(n);
    if (!found) return;
    // The focus has already left: the rules below must not take their writes for typing.
    if (s.focus.Is(ControlKind::TextBox, n)) s.focus = FocusRef{};

    if (found->text != s.lastShownText) {
        s.WriteLog(QStringLiteral("****") + s.lastShownText + QLatin1Char('\'') + found->text);
        TextBoxChange(s, n);
    }

    TextBox& box = s.textBoxes[n];
    box.backColour = s.colours.fieldBack;
    box.foreColour = s.colours.fieldFore;
    s.MarkDirty(ControlKind::TextBox, n);

    const bool failed = CheckInputs(s);
    s.errorFrameVisible = failed;
    s.bannerActive = failed;

    s.hintText.clear();

    if (s.textBoxes[n].text.isEmpty() && KindOfField(s, n) == FieldKind::Number) FillEmptyNumber(s, n);
}

bool GridEditorKeyPress(State& s, int g, int code, int caret) {
    s.WriteLog(QStringLiteral(">MSFlexText_KeyPress(") + Number(g) + QStringLiteral(", ") + Number(code) +
               QLatin1Char(')'));
    // Moving on from a cell is the grid's business; Enter never lands in the text.
    if (code == Key::Enter) return false;
    const Grid* grid = s.grids.Find(g);
    if (!grid) return true;
    const QString type = grid->rowTypes.value(grid->row);
    if (type.toUpper() != QLatin1String("NUMBER")) return true;
    return NumericKeyAccepted(s.cellEditorText[g == 300 ? 1 : 0], code, caret);
}

bool NumericKeyAccepted(const QString& text, int code, int caret) {
    // Only the locale's decimal separator is offered, so that what is typed always reads back
    // as the number the user sees.
    const QChar separator = DecimalSeparator();
    switch (code) {
    case Minus: return caret == 0 && !text.contains(QLatin1Char('-'));
    case Comma: return separator == QLatin1Char(',') && !text.contains(QLatin1Char(','));
    case Point: return separator == QLatin1Char('.') && !text.contains(QLatin1Char('.'));
    case Key::Backspace: return true;
    default: return code >= '0' && code <= '9';
    }
}

} // namespace corvane
