#pragma once

#include "definitions/state.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <functional>
#include <map>

class QKeyEvent;
class QWidget;

namespace corvane {

// What a widget stands for. Every widget of one role is connected the same way; the number
// says which control of the state it forwards to.
enum class Role {
    Field,      // text box n
    UnitLabel,  // unit label n (a click switches its unit)
    List,       // option list n, shown over its field or grid cell
    ListButton, // drop-down button of field n
    Command,    // command button n
    Arrow,      // page-turn arrow; the number is the command button it runs
    Radio,      // option button n
    Check,      // check box n
    Link,       // web or document link n
    SpecLink,   // data-sheet link n
    Grid,       // grid g
    CellEditor, // cell editor of grid g
    History,    // the recent-jobs list
    Thumbnail,  // the catalogue picture
    Page,       // page container p
};

// The view's side of an event: run one call into the core, then bring the window up to date.
class EventSink {
  public:
    virtual ~EventSink() = default;
    virtual void Dispatch(const std::function<void()>& call) = 0;
    // True while the view itself changes widgets; events raised by that are not the user's.
    virtual bool Painting() const = 0;
};

// Connects every widget to the core by its role: signals and focus and key events become one
// core call each. It also keeps track of which widget holds the focus as far as the core knows.
class Binder : public QObject {
    Q_OBJECT
  public:
    Binder(State& s, EventSink& sink, QObject* parent = nullptr);

    void Bind(QWidget* widget, Role role, int number);
    QWidget* Find(Role role, int number) const;

    // The widget that should hold the keyboard focus for the control the core names.
    QWidget* FocusTarget(const FocusRef& ref) const;
    // The widget whose focus arrival the core has been told about last (and not its loss).
    QWidget* Owner() const { return m_owner; }
    // Tells the core that the owner lost the focus without Qt saying so (it was hidden).
    void ReleaseHiddenOwner();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Binding {
        Role role;
        int number;
    };
    void Connect(QWidget* widget, Role role, int number);
    void FocusArrived(QWidget* widget, const Binding& b);
    void FocusLeft(QWidget* widget, const Binding& b);
    bool KeyPressed(QWidget* widget, const Binding& b, QKeyEvent* event);
    bool FieldKey(QWidget* widget, int n, QKeyEvent* event);
    bool CellEditorKey(QWidget* widget, int g, QKeyEvent* event);
    bool ListKey(QWidget* widget, int n, QKeyEvent* event);
    bool GridKey(QWidget* widget, int g, QKeyEvent* event);
    // Where Enter moves on to from a control of the page shown, and the move itself.
    QWidget* MoveOnTarget(QWidget* from) const;
    void MoveOnFrom(QWidget* widget);
    void DeliverLostFocus(const Binding& b);

    State& m_s;
    EventSink& m_sink;
    QHash<const QObject*, Binding> m_bindings;
    std::map<std::pair<Role, int>, QWidget*> m_widgets;
    QPointer<QWidget> m_owner;
    QString m_search;          // the first letters typed in an open list
    qint64 m_searchTime = 0;   // when the last of them was typed (ms)
};

// The character code of a key as the core's key handlers expect it (Backspace 8, Enter 13,
// Escape 27, printable characters their code), or 0 for keys that insert nothing.
int CharacterCode(const QKeyEvent* event);

} // namespace corvane
