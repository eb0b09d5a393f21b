#pragma once

#include <QString>
#include <span>
#include <string_view>

namespace corvane {

// The window definition: every numbered control of the main window, its page, its type and
// the option frame that holds it. Nothing is created or removed at run time; the state, the
// view, the job file and the language reader are all built from these tables.

// What a field holds, read from its caption label's tag: free text, a number in a unit, or an
// entry of a list (a list of texts, a list of data rows, or a selection whose index is stored).
enum class FieldKind { Text, Number, List, DataList, SelectList };

// The one reading of a field type tag ("Number", "List", "DataList", "DATALIST", "SELECTLIST",
// any case); every other tag is free text.
constexpr FieldKind KindOfTag(std::string_view tag) {
    const auto same = [](std::string_view a, std::string_view b) {
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i) {
            const char x = a[i] >= 'a' && a[i] <= 'z' ? char(a[i] - 32) : a[i];
            if (x != b[i]) return false;
        }
        return true;
    };
    if (same(tag, "NUMBER")) return FieldKind::Number;
    if (same(tag, "LIST")) return FieldKind::List;
    if (same(tag, "DATALIST")) return FieldKind::DataList;
    if (same(tag, "SELECTLIST")) return FieldKind::SelectList;
    return FieldKind::Text;
}
FieldKind KindOfTagText(const QString& tag);
constexpr bool IsListKind(FieldKind k) { return k != FieldKind::Text && k != FieldKind::Number; }

// The controls a numbered field is made of.
enum class Member : unsigned {
    TextBox = 1, Caption = 2, Unit = 4, OptionList = 8, ValueList = 16, ListButton = 32
};

// The member letters of the table below: T text box, L caption label, U unit label,
// O option list, V value list, B list button.
constexpr unsigned MembersOf(std::string_view letters) {
    unsigned m = 0;
    for (char c : letters) {
        switch (c) {
        case 'T': m |= unsigned(Member::TextBox); break;
        case 'L': m |= unsigned(Member::Caption); break;
        case 'U': m |= unsigned(Member::Unit); break;
        case 'O': m |= unsigned(Member::OptionList); break;
        case 'V': m |= unsigned(Member::ValueList); break;
        case 'B': m |= unsigned(Member::ListButton); break;
        default: break;
        }
    }
    return m;
}

struct FieldDef {
    int number;
    int page;
    const char* type;     // tag of the caption label, as the job file and the batch output spell it
    unsigned members;     // Member bits
    int container;        // option frame holding the field, 0 for the page
    constexpr FieldKind Kind() const { return KindOfTag(std::string_view(type)); }
};

struct LabelDef {         // caption labels without a text box (page titles, group captions)
    int number;
    int page;
    const char* type;
    int container;
};

struct PlacedDef {        // radios, option frames, buttons, links, lists without a field
    int number;
    int page;
    int container;
};

struct GridDef {
    int number;
    int page;
    int container;
    int rows;
    int cols;
    int fixedRows;
};

std::span<const FieldDef> FieldDefinitions();
std::span<const LabelDef> LabelDefinitions();
std::span<const PlacedDef> RadioDefinitions();
std::span<const PlacedDef> FrameDefinitions();
std::span<const PlacedDef> ButtonDefinitions();   // 0-14 sit in the button bar (page 0)
std::span<const PlacedDef> LinkDefinitions();     // HYPERLINK 800-811
std::span<const PlacedDef> SpecLinkDefinitions(); // SPECLINK 0 and 1
std::span<const PlacedDef> ListDefinitions();     // option lists that belong to no text box
std::span<const GridDef> GridDefinitions();

const FieldDef* FindField(int number);
constexpr bool HasMember(const FieldDef& def, Member m) { return (def.members & unsigned(m)) != 0; }

constexpr int PageCount = 10;   // page 0 is the hidden store
QString PageCaption(int page);
// The command button that shows page p, or -1.
int PageButton(int page);
// Page-turn arrows: the button a page's back or forward arrow runs, -1 when it has none.
int BackArrowButton(int page);
int ForwardArrowButton(int page);

// --- the arrangement of the pages
//
// Each page is a stack of blocks; a block is one or more columns side by side; a column lists
// its controls top to bottom. The view lays every page out from this table alone.
enum class Placed { Field, Frame, Grid, Button, Label, Links, SpecLink, Check, Sketch, History, Underline };

struct Placement {
    int page;
    int block;
    int column;
    Placed kind;
    int number;
};

std::span<const Placement> PagePlacements();
// A block that holds a lone button sits at the right edge of its page.
bool BlockAlignedRight(int page, int block);
// Captions longer than this wrap onto a second line, so the two columns of a busy page fit
// the window at its least width; 0 leaves them on one line.
int CaptionLimit(int page);
// Frames whose choices sit side by side; the others list their choices one under another.
bool ChoicesSideBySide(int frame);
// The caption label that titles a page, -1 when none.
int PageTitleLabel(int page);

} // namespace corvane
