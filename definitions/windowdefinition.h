#pragma once

#include <QString>
#include <span>

namespace corvane {

// The window definition: every numbered control of the main window, its page, its type and
// the option frame that holds it. Nothing is created or removed at run time; the state, the
// view, the job file and the language reader are all built from these tables.

struct FieldDef {
    int number;
    int page;
    const char* type;     // tag of the caption label
    const char* members;  // T text box, L caption label, U unit label, O option list, V value list, B list button
    int container;        // option frame holding the field, 0 for the page
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
bool HasMember(const FieldDef& def, char member);

constexpr int PageCount = 10;   // page 0 is the hidden store
QString PageCaption(int page);
// The command button that shows page p, or -1.
int PageButton(int page);
// Page-turn arrows: the button a page's back or forward arrow runs, -1 when it has none.
int BackArrowButton(int page);
int ForwardArrowButton(int page);

} // namespace corvane
