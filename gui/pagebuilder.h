#pragma once

#include "definitions/state.h"

#include <QPixmap>
#include <array>
#include <map>

class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QVBoxLayout;
class QWidget;

namespace corvane {

class Binder;
class PagePanel;
class ShapeSketch;

// Every widget of the window, found by the control it shows, plus the few named ones.
struct WindowWidgets {
    std::map<std::pair<ControlKind, int>, QWidget*> controls;
    std::map<int, QWidget*> fieldRows;       // caption + cell of field n, hidden together
    std::array<QLineEdit*, 2> cellEditors{}; // MSFlexText_200, MSFlexText_300
    std::map<int, QWidget*> pageBodies;      // the scrolled content of page p
    QListWidget* history = nullptr;          // FileHistoryList
    ShapeSketch* sketch = nullptr;
    QLabel* jobPath = nullptr; // the saved job's name, in frame 2

    QWidget* Find(ControlKind kind, int n) const {
        auto it = controls.find({kind, n});
        return it == controls.end() ? nullptr : it->second;
    }
};

// The page-turn arrow pictures: back, back with focus, forward, forward with focus.
struct ArrowPictures {
    QPixmap back, backFocus, forward, forwardFocus;
};

// Builds the page containers and everything on them from the window definition: which
// controls exist comes from the definition; where each sits on its page is this builder's own
// arrangement (caption, box and unit rows in one or two columns; option frames as group boxes
// holding the controls the definition puts in them). A control the arrangement does not place
// is still built, at the end of its page, so no defined control is ever missing.
class PageBuilder {
  public:
    PageBuilder(State& s, Binder& binder, WindowWidgets& widgets, const ArrowPictures& arrows);

    PagePanel* BuildPage(int page, QWidget* parent);
    // The option lists open over their fields or grid cells; children of their page.
    void BuildLists();
    // A command button with its shadow box, both children of parent.
    QWidget* MakeButton(int n, QWidget* parent);

    struct Item; // one entry of a page's arrangement

  private:
    void AddItems(QVBoxLayout* column, const std::vector<Item>& items, QWidget* parent);
    void AddFieldRow(QGridLayout* grid, int row, int n, QWidget* parent);
    QWidget* MakeFrame(int n, QWidget* parent);
    QWidget* MakeGrid(int g, QWidget* parent);
    QWidget* MakeLabel(int n, QWidget* parent);
    QWidget* MakeRadio(int n, QWidget* parent);
    QWidget* MakeLink(ControlKind kind, int n, QWidget* parent);
    QWidget* MakeCheck(int n, QWidget* parent);
    QWidget* MakeHeader(int page, QWidget* parent);
    void AddRemaining(int page, QVBoxLayout* body, QWidget* parent);
    void Register(ControlKind kind, int n, QWidget* w);
    bool Built(ControlKind kind, int n) const { return m_widgets.controls.count({kind, n}) != 0; }

    State& m_s;
    Binder& m_binder;
    WindowWidgets& m_widgets;
    const ArrowPictures& m_arrows;
    std::map<int, PagePanel*> m_pages;
};

// Object name of a control's widget: TEXTBOX_103, LABEL_103, UNITS_103, BUTT_11, ...
QString ObjectName(ControlKind kind, int n);

} // namespace corvane
