#include "input/optionlists.h"

#include "base/numbertext.h"
#include "calc/driver.h"
#include "calc/tables.h"
#include "definitions/colourfile.h"
#include "definitions/languagefile.h"
#include "definitions/state.h"
#include "equipment/selection.h"
#include "input/fieldrules.h"
#include "input/grids.h"
#include "input/numericentry.h"
#include "input/units.h"

#include <algorithm>

namespace corvane {

namespace {

constexpr int WallGrid = 200, ProductGrid = 300;
constexpr int EntryHeight = 225, ListMargin = 30;   // twips

QString Number(int n) { return QString::number(n); }

bool IsGridList(int n) { return n == 201 || n == 206 || n == 301 || n == 302; }

void CloseList(State& s, int n) {
    if (OptionList* list = s.optionLists.Find(n)) {
        list->visible = false;
        s.MarkDirty(ControlKind::OptionList, n);
    }
    if (TextBox* box = s.textBoxes.Find(n)) {
        box->visible = true;
        s.MarkDirty(ControlKind::TextBox, n);
    }
    if (s.openList == n) s.openList = -1;
}

// A pick committed with Enter carries on to the next field of the form.
void MoveOnTo(State& s, int field) {
    if (!s.moveOn) return;
    s.moveOn = false;
    s.focus = FocusRef{ControlKind::TextBox, field};
}

void ShowList(State& s, int n) {
    OptionList& list = s.optionLists[n];
    // The list opens on the entry its field or cell holds, as a combo box does, so that Enter
    // keeps the value; the entry chosen last elsewhere (another column, another job) would
    // otherwise be the one Enter writes. Nothing is chosen by this. A cell that holds none of
    // the entries opens with none highlighted (a field's list keeps its entry: some lists
    // carry a value by their position).
    if (const TextBox* box = s.textBoxes.Find(n)) {
        if (const qsizetype at = list.items.indexOf(box->text); at >= 0) list.selected = static_cast<int>(at);
    } else if (const Grid* grid = s.grids.Find(n / 100 * 100); grid && grid->InRange(grid->row, grid->col)) {
        list.selected = static_cast<int>(list.items.indexOf(grid->Text(grid->row, grid->col)));
    }
    const PickerPlacement where = IsGridList(n) ? PickerPlacement{list.left, list.top, 0, 0} : PickerPlacement{};
    PlacePicker(list, where);
    list.visible = true;
    s.MarkDirty(ControlKind::OptionList, n);
    if (TextBox* box = s.textBoxes.Find(n)) {
        box->visible = false;
        s.MarkDirty(ControlKind::TextBox, n);
    }
    s.openList = n;
    s.focus = FocusRef{ControlKind::OptionList, n};
}

// Lists whose entries come from data are filled anew each time they open.
void RefillList(State& s, int n) {
    OptionList& list = s.optionLists[n];
    switch (n) {
    case 803: LoadLanguageList(s, s.dataFolder, 803); break;
    case 804: LoadColourList(s, s.dataFolder, 804); break;
    case 523:
    case 543: {
        // One entry per candidate row, so that the position of a pick is its row.
        const Grid& candidates = s.grids[n == 523 ? 520 : 540];
        list.items.clear();
        for (int r = 0; r < candidates.rows; ++r)
            list.items << (NumberFromText(candidates.Text(r, 1)) > 0 ? candidates.Text(r, 2) : s.strings[25]);
        list.selected = -1;
        break;
    }
    default: break;
    }
    s.MarkDirty(ControlKind::OptionList, n);
}

// --- the commits

void CommitSeries(State& s, int n, int index, bool condenser) {
    SetFieldValue(s, n, s.optionLists[n].items.value(index));
    SetFieldValue(s, n + 10, s.valueLists[n].values.value(index));
    CloseList(s, n);
    if (condenser) SelectCondenser(s);
    SelectCooler(s);
    CalculateBalance(s);
}

void CommitModel(State& s, int n, int index) {
    const int grid = n == 523 ? 520 : 540;
    SetFieldValue(s, n, s.optionLists[n].items.value(index));
    SetFieldValue(s, n + 10, Number(index));
    SetFieldValue(s, n + 1, s.grids[grid].Text(index, 1));
    CloseList(s, n);
}

void CommitLanguage(State& s, const QString& pick) {
    SetFieldValue(s, 803, pick);
    CloseList(s, 803);
    s.platform.SetBusy(true);
    // The reader takes the file named by the settings, so the choice is remembered first.
    s.settings.Save(s.settingsSection, QStringLiteral("Language_File"), pick + QStringLiteral("lng"));
    const auto reread = [&s] {
        ReadResourceFile(s);
        ReadLanguageTables(s);
    };
    // The job on screen is the user's work: only its words change with the language.
    if (s.events.keepJob)
        s.events.keepJob(reread);
    else
        reread();
    Calculate(s);
    s.MarkAllDirty();
    s.platform.SetBusy(false);
}

void CommitColours(State& s, const QString& pick) {
    SetFieldValue(s, 804, pick);
    CloseList(s, 804);
    s.platform.SetBusy(true);
    s.settings.Save(s.settingsSection, QStringLiteral("Colour_File"), pick + QStringLiteral("col"));
    ReadColourFile(s);
    s.MarkAllDirty();
    s.platform.SetBusy(false);
}

void CommitWallSection(State& s, int n, int index, const QString& pick) {
    CloseList(s, n);
    Grid& grid = s.grids[WallGrid];
    const int r = grid.row, c = grid.col;
    if (!grid.InRange(r, c)) return;
    WriteGridCell(s, WallGrid, r, c, pick);
    SizeColumn(s, WallGrid, c);
    CheckAddSection(s);
    if (n == 206) {
        WriteGridCell(s, WallGrid, 7, c, s.tableD.Cell(2, index + 1));
        if (c == 2) {
            // The first section of a kind sets the construction of all sections of that kind.
            const QString kind = grid.Text(1, 2);
            const QString k = ReadGridCell(s, WallGrid, 7, 2);
            for (int other = 3; other < grid.cols; ++other) {
                if (grid.Text(1, other) != kind) continue;
                WriteGridCell(s, WallGrid, 6, other, pick);
                WriteGridCell(s, WallGrid, 7, other, k);
            }
            SizeTable(s, WallGrid);
        }
    }
    grid.row = r + 1 > grid.rows - 2 ? 2 : r + 1;
    s.MarkDirty(ControlKind::Grid, WallGrid);
    MoveToCell(s, WallGrid);
    Calculate(s);
}

// The properties of a product from its table row.
void FillProduct(State& s, int c, const QString& group, const QString& product) {
    const DataTable& table = s.tableC;
    for (int row = 1; row <= table.RowCount(); ++row) {
        if (table.Cell(1, row) != group || table.Cell(2, row) != product) continue;
        WriteGridCell(s, ProductGrid, 10, c, table.Cell(3, row));
        WriteGridCell(s, ProductGrid, 7, c, table.Cell(4, row));
        WriteGridCell(s, ProductGrid, 8, c, table.Cell(5, row));
        WriteGridCell(s, ProductGrid, 9, c, table.Cell(6, row));
        WriteGridCell(s, ProductGrid, 11, c, table.Cell(7, row));
        WriteGridCell(s, ProductGrid, 12, c, QStringLiteral("1"));
        return;
    }
}

void CommitProduct(State& s, int n, const QString& pick) {
    CloseList(s, n);
    Grid& grid = s.grids[ProductGrid];
    const int r = grid.row, c = grid.col;
    if (!grid.InRange(r, c)) return;
    // A pick in the generic column makes it the user's product, which the generic rule then
    // leaves alone; it is numbered like every other product.
    if (grid.Text(0, c) == s.strings[11]) grid.cells[0][c].text = QString::number(c - 1);
    WriteGridCell(s, ProductGrid, r, c, pick);
    CheckAddProduct(s);
    // Once the product is known, its mass is what the user gives next.
    int next = 3;
    if (n == 301) {
        OptionList& products = s.optionLists[302];
        products.items = ProductNamesOfGroup(s, pick);
        products.selected = -1;
        products.width = ListWidthTwips(s, products.items);
        products.height = ListHeightTwips(products.items);
        s.MarkDirty(ControlKind::OptionList, 302);
        if (products.items.size() == 1) {
            WriteGridCell(s, ProductGrid, 2, c, products.items.first());
            FillProduct(s, c, pick, products.items.first());
        } else {
            next = 2;   // the product list opens there
        }
    } else {
        FillProduct(s, c, grid.Text(1, c), pick);
    }
    grid.row = next;
    s.MarkDirty(ControlKind::Grid, ProductGrid);
    MoveToCell(s, ProductGrid);
    Calculate(s);
}

} // namespace

void PlacePicker(OptionList& list, const PickerPlacement& where) {
    const int page = std::max(0, where.pageHeight);
    list.height = std::min(static_cast<int>(list.items.size()) * EntryHeight + ListMargin, page);
    list.left = where.fieldLeft + where.frameLeft;
    list.top = where.fieldTop + where.frameTop;
    if (list.top + list.height > page) list.top = page - list.height;
}

void OpenPicker(State& s, int n) {
    if (!s.optionLists.Has(n) && !s.textBoxes.Has(n)) return;
    if (IsGridList(n)) {
        // The grid placed the list over its cell and showed the row's hint already.
        ShowList(s, n);
        return;
    }
    TextBox* box = s.textBoxes.Find(n);
    if (!box) return;
    s.hintText = box->hint;
    const FieldKind kind = box->kind;
    if (kind == FieldKind::List) {
        if (s.optionLists.Has(n)) ShowList(s, n);
    } else if (kind == FieldKind::DataList || kind == FieldKind::SelectList) {
        if (!s.optionLists.Has(n)) return;
        RefillList(s, n);
        if (s.optionLists[n].items.isEmpty()) {
            s.SetText(n, s.strings[14]);
            return;
        }
        ShowList(s, n);
    } else {
        box->backColour = s.colours.focusBack;
        box->foreColour = s.colours.focusFore;
        s.MarkDirty(ControlKind::TextBox, n);
        s.focusStoredValue = box->tag;
    }
}

void ListButtonClick(State& s, int n) {
    const TextBox* box = s.textBoxes.Find(n);
    if (!box) return;
    if (box->visible) {
        // The field's focus arrival opens the list; a field that has the focus already gets
        // no new arrival, so its list opens here.
        if (s.focus.Is(ControlKind::TextBox, n))
            OpenPicker(s, n);
        else
            s.focus = FocusRef{ControlKind::TextBox, n};
    } else {
        CloseList(s, n);
    }
}

void ListGotFocus(State& s, int n) {
    s.WriteLog(QStringLiteral(">OPTIONLIST_GotFocus(") + Number(n) + QLatin1Char(')'));
    const OptionList* list = s.optionLists.Find(n);
    if (!list) return;
    s.focus = FocusRef{ControlKind::OptionList, n};
    // The grid lists show the hint of their grid row instead; a list without a hint of its own
    // leaves the hint of its field or row in view rather than an empty box.
    if ((n < 200 || n > 299) && !list->hint.isEmpty()) s.hintText = list->hint;
}

void ListKeyDown(State& s, int n, int keyCode) {
    s.WriteLog(QStringLiteral("keycode = ") + Number(keyCode));
    if (keyCode == Key::Up || keyCode == Key::Down) {
        // Moving the highlight is browsing, not choosing.
        s.keyboardMove = true;
    } else if (keyCode == Key::Enter) {
        // Enter chooses the highlighted entry, whether the keys moved the highlight there or
        // the list opened on it.
        s.moveOn = true;
        s.keyboardMove = false;
        const OptionList* list = s.optionLists.Find(n);
        if (list && list->selected >= 0 && list->selected < list->items.size())
            ListClick(s, n);
        else
            s.moveOn = false;
    }
}

void ListPick(State& s, int n, int index) {
    OptionList* list = s.optionLists.Find(n);
    if (!list || index < 0 || index >= list->items.size()) return;
    list->selected = index;
    s.MarkDirty(ControlKind::OptionList, n);
    // A click with the mouse is a choice, even after the highlight was moved with the keys.
    s.keyboardMove = false;
    ListClick(s, n);
}

void ListClick(State& s, int n) {
    if (s.keyboardMove) return;
    const OptionList* list = s.optionLists.Find(n);
    if (!list) return;
    if (n < 800)
        MarkJobModified(s);
    else if (Frame* f = s.frames.Find(2)) {
        f->visible = true;
        s.MarkDirty(ControlKind::Frame, 2);
    }
    s.gridPagerVisible = false;
    s.WriteLog(QStringLiteral(">OptionList_Click(") + Number(n) + QLatin1Char(')'));

    const int index = list->selected;
    if (index < 0 || index >= list->items.size()) return;
    const QString pick = list->items[index];

    try {
        switch (n) {
        case 625:
            // The door protection's factor is what the infiltration load reads.
            s.textBoxes[625].tag = s.valueLists[625].values.value(index);
            s.SetText(625, pick);
            CloseList(s, 625);
            if (!s.flags.loading) {
                Calculate(s);
                MoveOnTo(s, 659);
            }
            break;
        case 504:
            CommitSeries(s, 504, index, true);
            MoveOnTo(s, 520);
            break;
        case 520:
        case 521:
            CommitSeries(s, n, index, true);
            MoveOnTo(s, n == 520 ? 521 : 522);
            break;
        case 540:
        case 541:
            CommitSeries(s, n, index, false);
            MoveOnTo(s, n == 540 ? 541 : 542);
            break;
        case 523:
            CommitModel(s, 523, index);
            MoveOnTo(s, 540);
            SelectCooler(s);
            CalculateBalance(s);
            break;
        case 543:
            CommitModel(s, 543, index);
            CalculateBalance(s);
            MoveOnTo(s, 503);
            break;
        case 803: CommitLanguage(s, pick); break;
        case 804: CommitColours(s, pick); break;
        case 201:
        case 206: CommitWallSection(s, n, index, pick); break;
        case 301:
        case 302: CommitProduct(s, n, pick); break;
        default: break;
        }
    } catch (const ProgramEnd&) {
        throw;
    } catch (const std::exception& e) {
        s.WriteLog(QStringLiteral("OptionList_Click(") + Number(n) + QStringLiteral("): ") +
                   QString::fromStdString(e.what()));
    }
    // A pick that moves the focus nowhere ends the Enter as well.
    s.moveOn = false;
}

void ListLostFocus(State& s, int n) {
    OptionList* list = s.optionLists.Find(n);
    if (!list) return;
    list->visible = false;
    s.MarkDirty(ControlKind::OptionList, n);
    if (s.openList == n) s.openList = -1;
    if (s.focus.Is(ControlKind::OptionList, n)) s.focus = FocusRef{};
    s.hintText.clear();
    if (n > 399)
        if (TextBox* box = s.textBoxes.Find(n)) {
            box->visible = true;
            s.MarkDirty(ControlKind::TextBox, n);
        }
    // The wall of the sketch that the grid list pointed at is no longer selected.
    if (s.pages.Has(3)) s.MarkDirty(ControlKind::Page, 3);
}

} // namespace corvane
