#pragma once

#include "definitions/windowdefinition.h"
#include <QString>
#include <QStringList>
#include <map>
#include <stdexcept>
#include <vector>

namespace corvane {

// A colour as the colour files write it: red + 256 * green + 65536 * blue.
using Colour = int;
constexpr Colour RGBColour(int r, int g, int b) { return r + 256 * g + 65536 * b; }
// Back colour of a failed input, a failed grid cell and, while a check fails, the results.
constexpr Colour MarkColour = RGBColour(255, 128, 128);

enum class ControlKind {
    TextBox, Label, UnitLabel, OptionList, ValueList, ListButton, Button, Shadow, Frame, Page,
    Radio, Check, Link, SpecLink, Grid, Underline
};

QString KindName(ControlKind kind);

// Asking an array for a number it does not hold is an error for that member only; readers
// catch it and go on with the next line.
struct MissingControl : std::out_of_range {
    MissingControl(ControlKind kind, int number);
    ControlKind kind;
    int number;
};

// A sparse array of controls indexed by their number, iterated in ascending order.
template <class T, ControlKind K>
class ControlArray {
public:
    bool Has(int n) const { return m_items.count(n) != 0; }
    T& operator[](int n) {
        auto it = m_items.find(n);
        if (it == m_items.end()) throw MissingControl(K, n);
        return it->second;
    }
    const T& operator[](int n) const {
        auto it = m_items.find(n);
        if (it == m_items.end()) throw MissingControl(K, n);
        return it->second;
    }
    T* Find(int n) {
        auto it = m_items.find(n);
        return it == m_items.end() ? nullptr : &it->second;
    }
    const T* Find(int n) const {
        auto it = m_items.find(n);
        return it == m_items.end() ? nullptr : &it->second;
    }
    T& Add(int n) { return m_items[n]; }
    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }
    int Size() const { return static_cast<int>(m_items.size()); }

private:
    std::map<int, T> m_items;
};

struct TextBox {
    QString text;          // shown text
    QString tag;           // stored value (imperial units, full precision)
    bool visible = true;
    Colour backColour = RGBColour(255, 255, 255);
    Colour foreColour = 0;
    QString hint;
    QString tooltip;
    QString defaultValue;
    int page = 0;
    int container = 0;     // option frame holding it, 0 for the page itself
    FieldKind kind = FieldKind::Text;
};

struct Label {
    QString caption;
    QString tag;           // caption label: the field type; unit label: the unit category
    bool visible = true;
    Colour foreColour = 0;
    Colour backColour = RGBColour(255, 255, 255);
    bool bold = false;
    int page = 0;
    int container = 0;
    bool overridden = false; // the user's value stands: the rules leave it (shown in the override colour)
};

struct OptionList {
    QStringList items;
    int selected = -1;
    QString hint;
    QString tooltip;
    bool visible = false;
    Colour backColour = RGBColour(255, 255, 255);
    Colour foreColour = 0;
    int page = 0;
    int width = 0;         // twips, 0 until the list is sized to its entries
    int height = 0;        // twips
    int left = 0, top = 0; // where an open list sits on its page, twips
};

struct ValueList {
    QStringList values;
};

struct ListButton {
    bool visible = true;
};

enum class Alignment { Left = 0, Right = 1, Centre = 2 };

struct Button {
    QString caption;
    QString tooltip;
    bool visible = true;
    Colour foreColour = 0;
    Colour backColour = RGBColour(255, 255, 255);
    Alignment alignment = Alignment::Centre;
    int page = 0;          // 0: the button bar
    int container = 0;
};

struct Frame {
    QString caption;
    QString tooltip;
    bool visible = true;
    Colour foreColour = 0;
    Colour backColour = RGBColour(255, 255, 255);
    bool bold = false;
    int page = 0;
    int container = 0;
    bool overridden = false; // the user's value stands: the rules leave it (shown in the override colour)
};

struct Radio {
    QString caption;
    QString tooltip;
    QString hint;
    bool value = false;
    bool visible = true;
    Colour foreColour = 0;
    Colour backColour = RGBColour(255, 255, 255);
    bool bold = false;
    int page = 0;
    int container = 0;     // the option frame whose buttons form one group
};

struct Check {
    QString caption;
    QString tooltip;
    QString hint;
    bool value = false;
    bool visible = false;
    Colour foreColour = 0;
    Colour backColour = RGBColour(255, 255, 255);
    bool bold = false;
};

struct Link {
    QString caption;
    QString tooltip;
    QString tag;           // address or document opened by a click
    bool visible = true;
    Colour foreColour = 0;
    Colour backColour = RGBColour(255, 255, 255);
    int page = 0;
};

struct GridCell {
    QString text;
    Colour foreColour = 0;
    Colour backColour = RGBColour(255, 255, 255);
    bool overridden = false; // the user's value stands (shown in the override colour)
};

struct GridColours {
    Colour back = RGBColour(255, 255, 255), fore = 0, backBkg = RGBColour(128, 128, 128),
           backFixed = RGBColour(192, 192, 192), foreFixed = 0, grid = RGBColour(192, 192, 192),
           gridFixed = 0, backSel = RGBColour(0, 0, 128), foreSel = RGBColour(255, 255, 255);
};

// An editing or candidate grid: rows x columns of cells, the current cell and, per row, the
// hidden lists of unit category, hint and row type that the language file fills.
struct Grid {
    int rows = 0;
    int cols = 0;
    int fixedRows = 2;
    int fixedCols = 2;
    std::vector<std::vector<GridCell>> cells;   // [row][column]
    std::vector<int> columnWidths;              // twips
    QStringList categories;
    QStringList hints;
    QStringList rowTypes;
    int row = 0;
    int col = 0;
    bool visible = true;
    GridColours colours;
    int page = 0;
    int container = 0;

    void Resize(int newRows, int newCols);
    bool InRange(int r, int c) const { return r >= 0 && r < rows && c >= 0 && c < cols; }
    GridCell& Cell(int r, int c);
    const GridCell& Cell(int r, int c) const;
    QString Text(int r, int c) const { return InRange(r, c) ? cells[r][c].text : QString(); }
};

struct PageFrame {
    bool visible = false;
    Colour backColour = RGBColour(255, 255, 255);
    Colour foreColour = 0;
    QString caption;       // "p : name", fixed by the window definition
};

struct Underline {
    bool visible = true;
    Colour colour = 0;
};

} // namespace corvane
