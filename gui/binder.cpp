#include "gui/binder.h"

#include "commands/commands.h"
#include "equipment/links.h"
#include "gui/widgets.h"
#include "input/fieldrules.h"
#include "input/grids.h"
#include "input/numericentry.h"
#include "input/optionlists.h"
#include "input/units.h"
#include "jobs/filehistory.h"
#include "jobs/jobactions.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>

namespace corvane {

namespace {

int EditorIndex(int g) {
    return g == 300 ? 1 : 0;
}

// The control the core is told has the focus when a widget of this role receives it.
FocusRef FocusOf(Role role, int number, const State& s) {
    switch (role) {
    case Role::Field:
        return {ControlKind::TextBox, number};
    case Role::List:
        return {ControlKind::OptionList, number};
    case Role::Grid:
    case Role::CellEditor:
        return {ControlKind::Grid, number};
    case Role::Command:
        return {ControlKind::Button, number};
    case Role::Radio:
        return {ControlKind::Radio, number};
    case Role::Check:
        return {ControlKind::Check, number};
    case Role::Page:
        return {ControlKind::Page, number};
    default:
        return {ControlKind::Page, s.currentPage};
    }
}

bool TakesFocusEvents(Role role) {
    switch (role) {
    case Role::Field:
    case Role::List:
    case Role::Grid:
    case Role::CellEditor:
    case Role::Command:
    case Role::Arrow:
    case Role::Radio:
    case Role::Check:
    case Role::History:
    case Role::Page:
        return true;
    default:
        return false;
    }
}

int Caret(const QLineEdit* edit) {
    return edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
}

bool TakesTab(const QWidget* w) {
    return w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus);
}

// The next (or previous) control after from in the window's tab order that Tab would reach.
QWidget* NextInTabOrder(QWidget* from, bool forward) {
    QWidget* w = from;
    for (int guard = 0; guard < 10000; ++guard) {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == from) return nullptr;
        if (w->window() == from->window() && TakesTab(w)) return w;
    }
    return nullptr;
}

bool IsBackArrow(const QWidget* w) {
    return w->objectName().startsWith(QLatin1String("TABBPIC_"));
}

// Keys that open a list as in any combo box.
bool OpensList(const QKeyEvent* event) {
    return event->key() == Qt::Key_F4 ||
           ((event->key() == Qt::Key_Down || event->key() == Qt::Key_Up) && (event->modifiers() & Qt::AltModifier));
}

} // namespace

int CharacterCode(const QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Backspace:
        return Key::Backspace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return Key::Enter;
    case Qt::Key_Escape:
        return Key::Escape;
    default:
        break;
    }
    // A character typed with Alt held is still a character: it goes through the same filter
    // as any other (a field must never take a letter because Alt was down). Ctrl keys are
    // commands.
    if (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return 0;
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint()) return 0;
    return text.at(0).unicode();
}

Binder::Binder(State& s, EventSink& sink, QObject* parent) : QObject(parent), m_s(s), m_sink(sink) {}

void Binder::Bind(QWidget* widget, Role role, int number) {
    m_bindings.insert(widget, Binding{role, number});
    m_widgets[{role, number}] = widget;
    widget->installEventFilter(this);
    Connect(widget, role, number);
}

QWidget* Binder::Find(Role role, int number) const {
    auto it = m_widgets.find({role, number});
    return it == m_widgets.end() ? nullptr : it->second;
}

void Binder::Connect(QWidget* widget, Role role, int n) {
    State& s = m_s;
    EventSink& sink = m_sink;
    switch (role) {
    case Role::Field:
        connect(static_cast<QLineEdit*>(widget), &QLineEdit::textEdited, this,
                [&s, &sink, n](const QString& text) {
                    if (!sink.Painting()) sink.Dispatch([&] { s.SetText(n, text); });
                });
        break;
    case Role::CellEditor:
        connect(static_cast<QLineEdit*>(widget), &QLineEdit::textEdited, this,
                [&s, &sink, n](const QString& text) {
                    if (sink.Painting()) return;
                    sink.Dispatch([&] {
                        s.cellEditorText[EditorIndex(n)] = text;
                        CellEditorChange(s, n, text);
                    });
                });
        break;
    case Role::UnitLabel:
        connect(static_cast<ClickLabel*>(widget), &ClickLabel::clicked, this,
                [&s, &sink, n] { sink.Dispatch([&] { UnitLabelClick(s, n); }); });
        break;
    case Role::List:
        connect(static_cast<QListWidget*>(widget), &QListWidget::itemClicked, this,
                [&s, &sink, n, widget](QListWidgetItem* item) {
                    const int index = static_cast<QListWidget*>(widget)->row(item);
                    if (!sink.Painting() && index >= 0) sink.Dispatch([&] { ListPick(s, n, index); });
                });
        break;
    case Role::ListButton:
        connect(static_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, this,
                [&s, &sink, n] { sink.Dispatch([&] { ListButtonClick(s, n); }); });
        break;
    case Role::Command:
    case Role::Arrow:
        connect(static_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, this,
                [&s, &sink, n] { sink.Dispatch([&] { RunCommand(s, n); }); });
        break;
    case Role::Radio:
        connect(static_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, this, [&s, &sink, n] {
            sink.Dispatch([&] {
                s.focus = FocusRef{ControlKind::Radio, n};
                s.SetRadio(n, true);
            });
        });
        break;
    case Role::Check:
        // The check box has no rule of its own; its value is kept for whoever reads it.
        connect(static_cast<QCheckBox*>(widget), &QCheckBox::clicked, this, [&s, &sink, n](bool checked) {
            sink.Dispatch([&] {
                s.checks[n].value = checked;
                s.MarkDirty(ControlKind::Check, n);
            });
        });
        break;
    case Role::Link:
        connect(static_cast<ClickLabel*>(widget), &ClickLabel::clicked, this,
                [&s, &sink, n] { sink.Dispatch([&] { HyperlinkClick(s, n); }); });
        break;
    case Role::SpecLink:
        connect(static_cast<ClickLabel*>(widget), &ClickLabel::clicked, this,
                [&s, &sink, n] { sink.Dispatch([&] { SpecLinkClick(s, n); }); });
        break;
    case Role::Thumbnail:
        connect(static_cast<ClickLabel*>(widget), &ClickLabel::clicked, this,
                [&s, &sink] { sink.Dispatch([&] { CatalogueClick(s); }); });
        break;
    case Role::Grid:
        connect(static_cast<QAbstractItemView*>(widget), &QAbstractItemView::clicked, this,
                [&s, &sink, n](const QModelIndex& index) {
                    const int row = index.row(), col = index.column();
                    if (!sink.Painting()) sink.Dispatch([&] { GridClick(s, n, row, col); });
                });
        break;
    case Role::History: {
        auto* list = static_cast<QListWidget*>(widget);
        connect(list, &QListWidget::currentRowChanged, this, [&s, &sink](int row) {
            if (!sink.Painting()) s.historySelected = row;
        });
        connect(list, &QListWidget::itemDoubleClicked, this, [&s, &sink, list](QListWidgetItem* item) {
            const int index = list->row(item);
            if (index >= 0) sink.Dispatch([&] { OpenHistoryEntry(s, index); });
        });
        break;
    }
    case Role::Page:
        break;
    }
}

QWidget* Binder::FocusTarget(const FocusRef& ref) const {
    QWidget* w = nullptr;
    switch (ref.kind) {
    case ControlKind::TextBox:
        w = Find(Role::Field, ref.number);
        break;
    case ControlKind::OptionList:
        w = Find(Role::List, ref.number);
        break;
    case ControlKind::Grid: {
        QWidget* editor = Find(Role::CellEditor, ref.number);
        w = editor && editor->isVisible() ? editor : Find(Role::Grid, ref.number);
        break;
    }
    case ControlKind::Button:
        w = Find(Role::Command, ref.number);
        break;
    case ControlKind::Radio:
        w = Find(Role::Radio, ref.number);
        break;
    case ControlKind::Check:
        w = Find(Role::Check, ref.number);
        break;
    case ControlKind::Page:
        w = Find(Role::Page, ref.number);
        break;
    default:
        break;
    }
    if (!w || !w->isVisible() || !w->isEnabled() || w->focusPolicy() == Qt::NoFocus) return nullptr;
    return w;
}

bool Binder::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::FocusIn && type != QEvent::FocusOut && type != QEvent::KeyPress) return false;
    auto it = m_bindings.constFind(watched);
    if (it == m_bindings.constEnd()) return false;
    const Binding b = it.value();
    auto* widget = static_cast<QWidget*>(watched);
    if (type == QEvent::KeyPress)
        return !m_sink.Painting() && KeyPressed(widget, b, static_cast<QKeyEvent*>(event));
    if (m_sink.Painting() || !TakesFocusEvents(b.role)) return false;
    // Switching to another window or opening a menu is not a focus change inside the window.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
    if (type == QEvent::FocusIn)
        FocusArrived(widget, b);
    else
        FocusLeft(widget, b);
    return false;
}

void Binder::FocusArrived(QWidget* widget, const Binding& b) {
    if (m_owner == widget) return;
    m_owner = widget;
    m_s.focus = FocusOf(b.role, b.number, m_s);
    State& s = m_s;
    const int n = b.number;
    switch (b.role) {
    case Role::Field:
        m_sink.Dispatch([&] { TextBoxGotFocus(s, n); });
        // The whole text is selected on arrival, so typing replaces it; after a mouse press,
        // once the press has placed the caret.
        if (auto* edit = qobject_cast<QLineEdit*>(widget); edit && edit->hasFocus())
            QTimer::singleShot(0, edit, [edit] {
                if (edit->hasFocus()) edit->selectAll();
            });
        break;
    case Role::List:
        m_sink.Dispatch([&] { ListGotFocus(s, n); });
        break;
    case Role::Grid:
        m_sink.Dispatch([&] { GridGotFocus(s, n); });
        break;
    case Role::Radio:
        m_sink.Dispatch([&] { RadioGotFocus(s, n); });
        break;
    case Role::CellEditor:
        m_sink.Dispatch([&] { CellEditorGotFocus(s, n); });
        if (auto* edit = qobject_cast<QLineEdit*>(widget); edit && edit->hasFocus()) edit->selectAll();
        break;
    default:
        break;
    }
}

void Binder::FocusLeft(QWidget* widget, const Binding& b) {
    if (m_owner != widget) return;
    m_owner = nullptr;
    DeliverLostFocus(b);
}

void Binder::DeliverLostFocus(const Binding& b) {
    State& s = m_s;
    const int n = b.number;
    switch (b.role) {
    case Role::Field:
        m_sink.Dispatch([&] { TextBoxLostFocus(s, n); });
        break;
    case Role::List:
        m_sink.Dispatch([&] { ListLostFocus(s, n); });
        break;
    case Role::CellEditor:
        m_sink.Dispatch([&] { CellEditorLostFocus(s, n); });
        break;
    default:
        break;
    }
}

void Binder::ReleaseHiddenOwner() {
    QWidget* owner = m_owner;
    if (!owner || owner->isVisible()) return;
    m_owner = nullptr;
    auto it = m_bindings.constFind(owner);
    if (it != m_bindings.constEnd()) DeliverLostFocus(it.value());
}

bool Binder::KeyPressed(QWidget* widget, const Binding& b, QKeyEvent* event) {
    switch (b.role) {
    case Role::Field:
        return FieldKey(widget, b.number, event);
    case Role::CellEditor:
        return CellEditorKey(widget, b.number, event);
    case Role::List:
        return ListKey(widget, b.number, event);
    case Role::Grid:
        return GridKey(widget, b.number, event);
    case Role::History:
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            const int row = static_cast<QListWidget*>(widget)->currentRow();
            if (row >= 0) m_sink.Dispatch([&] { OpenHistoryEntry(m_s, row); });
            return true;
        }
        return false;
    default:
        return false;
    }
}

QWidget* Binder::MoveOnTarget(QWidget* from) const {
    // Enter goes forward through the page it is on; after the page's last control it stops on
    // the forward arrow, so that the next Enter turns the page. It never lands on the back
    // arrow, which would turn the page backwards.
    QWidget* page = Find(Role::Page, m_s.currentPage);
    QWidget* next = NextInTabOrder(from, true);
    const auto onPage = [page](QWidget* w) { return page && w && page->isAncestorOf(w); };
    if (next && onPage(next) && !IsBackArrow(next) && !from->isAncestorOf(next)) {
        // The header's arrows come first in the page's order; past the body, the next control
        // found is on another part of the window.
        QWidget* body = next;
        while (body && body->parentWidget() != page) body = body->parentWidget();
        QWidget* fromBody = from;
        while (fromBody && fromBody->parentWidget() != page) fromBody = fromBody->parentWidget();
        if (body == fromBody) return next;
    }
    if (page)
        if (auto* forward = page->findChild<QWidget*>(QStringLiteral("TABFPIC_") + QString::number(m_s.currentPage));
            forward && TakesTab(forward))
            return forward;
    return next && !IsBackArrow(next) ? next : nullptr;
}

void Binder::MoveOnFrom(QWidget* widget) {
    if (QWidget* target = MoveOnTarget(widget)) target->setFocus(Qt::TabFocusReason);
}

bool Binder::FieldKey(QWidget* widget, int n, QKeyEvent* event) {
    if (OpensList(event) && m_s.optionLists.Has(n)) {
        m_sink.Dispatch([&] { ListButtonClick(m_s, n); });
        return true;
    }
    const int code = CharacterCode(event);
    if (code == 0) return false; // caret movement, Delete, shortcuts: the editor's own business
    auto* edit = static_cast<QLineEdit*>(widget);
    bool accepted = false;
    bool moveOn = false;
    const int caret = Caret(edit);
    m_sink.Dispatch([&] { accepted = TextBoxKeyPress(m_s, n, code, caret, &moveOn); });
    if (code == Key::Enter || code == Key::Escape) {
        if (moveOn && edit->hasFocus()) MoveOnFrom(edit);
        return true;
    }
    return !accepted;
}

bool Binder::CellEditorKey(QWidget* widget, int g, QKeyEvent* event) {
    State& s = m_s;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Backtab:
        m_sink.Dispatch([&] { GridPrevious(s, g); });
        return true;
    case Qt::Key_Down:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_sink.Dispatch([&] { GridNext(s, g); });
        return true;
    case Qt::Key_Tab:
        if (event->modifiers() & Qt::ShiftModifier)
            m_sink.Dispatch([&] { GridPrevious(s, g); });
        else
            m_sink.Dispatch([&] { GridNext(s, g); });
        return true;
    case Qt::Key_Escape:
        // Tab walks the cells; Escape steps out onto the grid itself, from where Tab goes on
        // to the next control of the page.
        if (QWidget* grid = Find(Role::Grid, g)) grid->setFocus(Qt::OtherFocusReason);
        return true;
    default:
        break;
    }
    const int code = CharacterCode(event);
    if (code == 0) return false;
    auto* edit = static_cast<QLineEdit*>(widget);
    bool accepted = false;
    const int caret = Caret(edit);
    m_sink.Dispatch([&] { accepted = GridEditorKeyPress(s, g, code, caret); });
    return !accepted;
}

bool Binder::GridKey(QWidget* widget, int g, QKeyEvent* event) {
    // The grid itself has the focus (reached with Tab): its current cell opens as a click
    // would, its editor or its list, and a typed character goes on to what opened.
    auto* table = static_cast<QTableWidget*>(widget);
    const int row = table->currentRow() >= 0 ? table->currentRow() : 0;
    const int col = table->currentColumn() >= 2 ? table->currentColumn() : 2;
    const bool open = OpensList(event) || event->key() == Qt::Key_F2 || event->key() == Qt::Key_Return ||
                      event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space;
    const int code = CharacterCode(event);
    if (!open && (code == 0 || code == Key::Escape || code == Key::Backspace)) return false;
    m_sink.Dispatch([&] { GridClick(m_s, g, std::max(row, 1), col); });
    if (!open && code != 0)
        if (QWidget* target = QApplication::focusWidget(); target && target != widget) {
            QKeyEvent again(QEvent::KeyPress, event->key(), event->modifiers(), event->text());
            QCoreApplication::sendEvent(target, &again);
        }
    return true;
}

bool Binder::ListKey(QWidget* widget, int n, QKeyEvent* event) {
    State& s = m_s;
    auto* list = static_cast<QListWidget*>(widget);
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab || event->key() == Qt::Key_Escape) {
        // Tab leaves an open list as it would leave its field: to the control after the field,
        // or, over a grid, to the next cell. Escape leaves it the same way without a choice
        // (back on its field the list would only open again).
        const bool forward = event->key() != Qt::Key_Backtab && !(event->modifiers() & Qt::ShiftModifier);
        if (n >= 200 && n < 400) {
            const int g = n < 300 ? 200 : 300;
            m_sink.Dispatch([&] { forward ? GridNext(s, g) : GridPrevious(s, g); });
        } else if (QWidget* field = Find(Role::Field, n)) {
            if (QWidget* target = NextInTabOrder(field, forward)) target->setFocus(Qt::TabFocusReason);
        }
        return true;
    }
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.at(0).isPrint() && !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))) {
        // Typing the first letters of an entry highlights it, as in any combo box.
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        m_search = now - m_searchTime < 1000 ? m_search + typed : typed;
        m_searchTime = now;
        int target = -1;
        for (int i = 0; i < list->count() && target < 0; ++i)
            if (list->item(i)->text().startsWith(m_search, Qt::CaseInsensitive)) target = i;
        if (target >= 0)
            m_sink.Dispatch([&] {
                ListKeyDown(s, n, Key::Down);   // a highlight move: nothing is committed yet
                if (s.optionLists[n].selected != target) s.SelectListEntry(n, target);
            });
        return true;
    }
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down: {
        // The highlight moves without a commit: the core hears the key, then sees the list's
        // selection move as the list's own click (which it ignores during a keyboard move).
        const int step = event->key() == Qt::Key_Up ? -1 : 1;
        const int target = std::clamp(list->currentRow() + step, 0, std::max(0, list->count() - 1));
        const int code = event->key() == Qt::Key_Up ? Key::Up : Key::Down;
        m_sink.Dispatch([&] {
            ListKeyDown(s, n, code);
            if (list->count() > 0 && s.optionLists[n].selected != target) s.SelectListEntry(n, target);
        });
        return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_sink.Dispatch([&] { ListKeyDown(s, n, Key::Enter); });
        return true;
    default:
        // Other keys would move the highlight behind the core's back.
        return true;
    }
}

} // namespace corvane
