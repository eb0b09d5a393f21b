#pragma once

#include "definitions/windowdefinition.h"
#include <QString>
#include <QStringList>
#include <array>
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

// A sparse array of controls indexed by their number, iterated in ascending order. The
// window's numbers are small, so a control is found by its number directly; a number beyond
// that range is looked up in the ordered map that holds the controls.
template <class T, ControlKind K>
class ControlArray {
public:
    ControlArray() = default;
    ControlArray(const ControlArray& other) : m_items(other.m_items) { Reindex(); }
    ControlArray& operator=(const ControlArray& other) {
        if (this != &other) {
            m_items = other.m_items;
            Reindex();
        }
        return *this;
    }
    ControlArray(ControlArray&&) noexcept = default;            // map nodes keep their addresses
    ControlArray& operator=(ControlArray&&) noexcept = default;

    bool Has(int n) const { return Find(n) != nullptr; }
    T& operator[](int n) {
        if (T* item = Find(n)) return *item;
        throw MissingControl(K, n);
    }
    const T& operator[](int n) const {
        if (const T* item = Find(n)) return *item;
        throw MissingControl(K, n);
    }
    T* Find(int n) {
        if (n >= 0 && n < static_cast<int>(m_index.size())) return m_index[static_cast<std::size_t>(n)];
        if (n >= 0 && n < IndexedNumbers) return nullptr;
        auto it = m_items.find(n);
        return it == m_items.end() ? nullptr : &it->second;
    }
    const T* Find(int n) const { return const_cast<ControlArray*>(this)->Find(n); }
    T& Add(int n) {
        T& item = m_items[n];
        Index(n, &item);
        return item;
    }
    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }
    int Size() const { return static_cast<int>(m_items.size()); }

private:
    static constexpr int IndexedNumbers = 4096;
    void Index(int n, T* item) {
        if (n < 0 || n >= IndexedNumbers) return;
        if (n >= static_cast<int>(m_index.size())) m_index.resize(static_cast<std::size_t>(n) + 1, nullptr);
        m_index[static_cast<std::size_t>(n)] = item;
    }
    void Reindex() {
        m_index.clear();
        for (auto& [n, item] : m_items) Index(n, &item);
    }
    std::map<int, T> m_items;
    std::vector<T*> m_index;   // by number below IndexedNumbers; null where there is no control
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
    bool visited = false;  // clicked in this run: keeps the visited colour until the program ends
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

// One row of a product list: columns 0..3 the file's fields 1..4, column 4 the record number
// of the model (0 when the code is in no record), column 5 empty.
struct ProductRow {
    std::array<QString, 4> fields;
    int record = 0;
};

// One row of a candidate list as the selection found it: the model's capacity and its row of
// the product list (0 for a row that shows nothing).
struct CandidateRow {
    float capacity = 0;
    int product = 0;
};

// The texts of a candidate row: its number, the capacity, the model name, the series, the
// data sheet and the record number.
QString CandidateText(const CandidateRow& row, int r, int c, const std::vector<ProductRow>* products);

// An editing or candidate grid: rows x columns of cells, the current cell and, per row, the
// hidden lists of unit category, hint and row type that the language file fills.
//
// A candidate list holds its rows as numbers (WriteCandidates): the texts of such a row are
// made when something reads them, and the row gets cells of its own only when one of them is
// asked for by Cell() (to be written, or for its colours).
struct Grid {
    int rows = 0;
    int cols = 0;
    int fixedRows = 2;
    int fixedCols = 2;
    mutable std::vector<std::vector<GridCell>> cells;   // [row][column]; see Cell()
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
    QString Text(int r, int c) const {
        if (!InRange(r, c)) return QString();
        if (Numbered(r)) return CandidateText(m_candidates[static_cast<std::size_t>(r)], r, c, m_products);
        return cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)].text;
    }
    // A cell's colours without giving a candidate row cells of its own.
    Colour ForeColour(int r, int c) const;
    Colour BackColour(int r, int c) const;

    // Replaces all rows by candidate rows of `columns` columns whose texts come from the
    // product list; rows that had cells keep them (and their colours) for later reads.
    void WriteCandidates(std::vector<CandidateRow> candidates, int columns, const std::vector<ProductRow>* products);
    // Gives every candidate row made from that product list cells of its own, for a list
    // about to change.
    void ReleaseProducts(const std::vector<ProductRow>* products);

private:
    bool Numbered(int r) const {
        return r < static_cast<int>(m_numbered.size()) && m_numbered[static_cast<std::size_t>(r)];
    }
    void MakeCells(int r) const;
    std::vector<CandidateRow> m_candidates;
    mutable std::vector<char> m_numbered;   // per row: its texts still come from m_candidates
    const std::vector<ProductRow>* m_products = nullptr;
    GridCell m_newCell;                      // the colours a candidate row's new cells get
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
