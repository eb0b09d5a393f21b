#include "input/navigation.h"

#include "definitions/state.h"
#include "definitions/windowdefinition.h"
#include "input/numericentry.h"

namespace corvane {

void SetButtonColour(State& s, int n, Colour colour) {
    Button& b = s.buttons[n];
    if (b.foreColour == colour) return;
    b.foreColour = colour;
    s.MarkDirty(ControlKind::Button, n);
}

namespace {

// The first input field of each page, which receives the focus when the page is shown.
int FirstInputField(int page) {
    switch (page) {
    case 1: return 0;
    case 3: return 212;
    case 4: return 312;
    case 5: return 400;
    case 6: return 500;
    case 7: return 600;
    case 8: return 700;
    case 9: return 720;
    default: return -1;
    }
}

} // namespace

void SelectFocus(State& s, int page) {
    s.WriteLog(QStringLiteral(">SelectFocus(") + QString::number(page) + QLatin1Char(')'));
    const int field = FirstInputField(page);
    // Giving a field the focus is its focus arrival, so the focus memory matches what it shows.
    if (field >= 0) TextBoxGotFocus(s, field);
}

// Finishes the edit in progress before a command runs.
void FinishEdit(State& s) {
    if (s.focus.kind == ControlKind::OptionList && s.optionLists.Has(s.focus.number)) {
        s.optionLists[s.focus.number].visible = false;
        s.MarkDirty(ControlKind::OptionList, s.focus.number);
        if (s.textBoxes.Has(s.focus.number)) {
            s.textBoxes[s.focus.number].visible = true;
            s.MarkDirty(ControlKind::TextBox, s.focus.number);
        }
    } else if (s.focus.kind == ControlKind::TextBox && s.textBoxes.Has(s.focus.number)) {
        TextBoxLostFocus(s, s.focus.number);
    } else if (s.focus.kind == ControlKind::Grid) {
        s.cellEditorVisible = {false, false};
    }
    s.focus = FocusRef{};
}

void HideAllShadows(State& s) {
    for (auto& [n, shadow] : s.shadows)
        if (shadow.visible) {
            shadow.visible = false;
            s.MarkDirty(ControlKind::Shadow, n);
        }
}

void ResetButtonColours(State& s) {
    const int current = PageButton(s.currentPage);
    for (auto& [n, b] : s.buttons)
        if (n != current) SetButtonColour(s, n, s.colours.normalButton);
}

void RefreshButtonColours(State& s) {
    for (auto& [n, b] : s.buttons)
        SetButtonColour(s, n, s.shadows[n].visible ? s.colours.highlight : s.colours.normalButton);
}

void HideAllPages(State& s) {
    for (auto& [p, page] : s.pages)
        if (page.visible) {
            page.visible = false;
            s.MarkDirty(ControlKind::Page, p);
        }
    s.currentPage = 0;
}

void ShowPage(State& s, int page) {
    for (auto& [p, frame] : s.pages) {
        const bool show = p == page;
        if (frame.visible != show) {
            frame.visible = show;
            s.MarkDirty(ControlKind::Page, p);
        }
    }
    s.currentPage = page;
}

bool IsPageButton(int n) { return n == 0 || (n >= 2 && n <= 8); }

void PressPageButton(State& s, int n) {
    s.WriteLog(QStringLiteral(">BUTT_Click(") + QString::number(n) + QLatin1Char(')'));
    s.gridPagerVisible = false;
    FinishEdit(s);
    for (auto& [i, b] : s.buttons) SetButtonColour(s, i, s.colours.normalButton);
    HideAllShadows(s);
    s.shadows[n].visible = true;
    s.MarkDirty(ControlKind::Shadow, n);
    SetButtonColour(s, n, s.colours.highlight);
    const int page = n == 0 ? 1 : n + 1;
    ShowPage(s, page);
    SelectFocus(s, page);
}

} // namespace corvane
