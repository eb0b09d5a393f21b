#include "gui/painter.h"

#include "definitions/colourfile.h"
#include "gui/candidatemodel.h"
#include "gui/shortcuts.h"
#include "gui/widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>

namespace corvane {

void SetVisible(QWidget* w, bool visible) {
    if (w->isHidden() == visible) w->setVisible(visible);
}

void SetColours(QWidget* w, int backRole, Colour back, int foreRole, Colour fore) {
    const auto br = static_cast<QPalette::ColorRole>(backRole);
    const auto fr = static_cast<QPalette::ColorRole>(foreRole);
    const QColor b = ToQColor(back), f = ToQColor(fore);
    QPalette p = w->palette();
    if (p.color(br) == b && p.color(fr) == f && p.isBrushSet(QPalette::Active, br) &&
        p.isBrushSet(QPalette::Active, fr))
        return;
    p.setColor(br, b);
    p.setColor(fr, f);
    w->setPalette(p);
}

void SetBold(QWidget* w, bool bold) {
    if (w->font().bold() == bold && w->font().resolveMask() & QFont::WeightResolved) return;
    QFont f = w->font();
    f.setBold(bold);
    w->setFont(f);
}

void SetToolTip(QWidget* w, const QString& tip) {
    if (w->toolTip() != tip) w->setToolTip(tip);
}

void FitGridHeight(QTableView* table) {
    const bool candidates =
        table->objectName() == QLatin1String("GRID_520") || table->objectName() == QLatin1String("GRID_540");
    const int all = table->model() ? table->model()->rowCount() : 0;
    const int rows = candidates ? std::min(all, 8) : all;
    int height = 2 * table->frameWidth() + 2;
    for (int r = 0; r < rows; ++r)
        height += table->rowHeight(r);
    if (table->horizontalScrollBar()->maximum() > 0)
        height += table->horizontalScrollBar()->sizeHint().height();
    if (table->minimumHeight() != height || table->maximumHeight() != height) table->setFixedHeight(height);
}

std::pair<Colour, Colour> ListHighlight(const StoredColours& colours, Colour back, Colour fore) {
    // A highlight shows when it differs from the list by 3 : 1 at least (as any mark that is
    // not text must); its text is readable on it. The field focus colours come first, then
    // the colour of the page button shown, then the list's own colours the other way round.
    const std::pair<Colour, Colour> candidates[] = {
        {colours.focusBack, colours.focusFore},
        {colours.highlight, ReadableTextColour(colours.highlight, back)},
    };
    for (const auto& [b, f] : candidates)
        if (ContrastRatio(b, back) >= 3.0 && ContrastRatio(f, b) >= ReadableContrast) return {b, f};
    return {fore, back};
}

namespace {

void SetLabelText(QLabel* label, const QString& text) {
    if (label->text() != text) label->setText(text);
}

// A caption wider than the label's wrap width (a property the builder gives captions on busy
// pages) is broken between words onto further lines.
QString Wrapped(const QString& text, const QLabel* label) {
    const int limit = label->property("wrapWidth").toInt();
    if (limit <= 0) return text;
    const QFontMetrics fm(label->font());
    if (fm.horizontalAdvance(text) <= limit) return text;
    QStringList lines;
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && fm.horizontalAdvance(longer) > limit) {
            lines << line;
            line = word;
        } else {
            line = longer;
        }
    }
    if (!line.isEmpty()) lines << line;
    return lines.join(QLatin1Char('\n'));
}

Qt::Alignment ToQt(Alignment a) {
    switch (a) {
    case Alignment::Left:
        return Qt::AlignLeft;
    case Alignment::Right:
        return Qt::AlignRight;
    default:
        return Qt::AlignHCenter;
    }
}

} // namespace

bool ControlPainter::CaptionsMissing(const State& s) {
    for (const auto& [n, b] : s.buttons)
        if (!b.caption.isEmpty()) return false;
    for (const auto& [n, l] : s.labels)
        if (!l.caption.isEmpty() && n != 801) return false;
    return true;
}

QString ControlPainter::Caption(const QString& caption, const char* kind, int n) const {
    if (!caption.isEmpty() || !m_fallback) return caption;
    return QLatin1String(kind) + QLatin1Char(' ') + QString::number(n);
}

void ControlPainter::Paint(ControlKind kind, int n, QWidget* w) const {
    if (!w) return;
    switch (kind) {
    case ControlKind::TextBox:
        PaintTextBox(n, w);
        break;
    case ControlKind::Label:
        PaintLabel(n, w);
        break;
    case ControlKind::UnitLabel:
        PaintUnitLabel(n, w);
        break;
    case ControlKind::OptionList:
        PaintList(n, w);
        break;
    case ControlKind::ListButton:
        if (const ListButton* b = m_s.listButtons.Find(n)) SetVisible(w, b->visible);
        break;
    case ControlKind::Button:
        PaintButton(n, w);
        break;
    case ControlKind::Shadow:
        PaintShadow(n, w);
        break;
    case ControlKind::Frame:
        PaintFrame(n, w);
        break;
    case ControlKind::Page:
        PaintPage(n, w);
        break;
    case ControlKind::Radio:
        PaintRadio(n, w);
        break;
    case ControlKind::Check:
        PaintCheck(n, w);
        break;
    case ControlKind::Link:
        if (const Link* l = m_s.links.Find(n)) PaintLink(*l, Caption(l->caption, "HYPERLINK", n), w);
        break;
    case ControlKind::SpecLink:
        // The data-sheet links carry a caption of the window's own when the state gives none.
        if (const Link* l = m_s.specLinks.Find(n))
            PaintLink(*l, !l->caption.isEmpty()        ? l->caption
                          : !m_s.strings[60].isEmpty() ? m_s.strings[60]
                                                       : QStringLiteral("Data sheet"),
                      w);
        break;
    case ControlKind::Grid:
        PaintGrid(n, w);
        break;
    case ControlKind::Underline:
        PaintUnderline(n, w);
        break;
    case ControlKind::ValueList:
        break;
    }
}

void ControlPainter::PaintTextBox(int n, QWidget* w) const {
    const TextBox* box = m_s.textBoxes.Find(n);
    auto* edit = qobject_cast<QLineEdit*>(w);
    if (!box || !edit) return;
    // Without a balance its fields stay empty; the note below them says why.
    const bool noBalance = n >= 560 && n <= 562 && !m_s.balanceNote.isEmpty();
    const QString text = noBalance ? QString() : box->text;
    if (edit->text() != text) {
        // A text rewritten by the core keeps the caret where it was, as far as it still fits.
        const int caret = edit->cursorPosition();
        edit->setText(text);
        edit->setCursorPosition(std::min(caret, static_cast<int>(text.size())));
    }
    // A failed field keeps its text readable whatever the scheme's field text colour is.
    const Colour fore = box->backColour == MarkColour ? ReadableTextColour(MarkColour, box->foreColour) : box->foreColour;
    SetColours(edit, QPalette::Base, box->backColour, QPalette::Text, fore);
    // The style draws the box's outline from its window colour, which a frame would otherwise
    // hand down (a black frame of the contrast scheme left its fields without an outline).
    if (const QColor outline = QApplication::palette().color(QPalette::Window);
        edit->palette().color(QPalette::Window) != outline) {
        QPalette p = edit->palette();
        p.setColor(QPalette::Window, outline);
        edit->setPalette(p);
    }
    SetBold(edit, false); // a bold frame title must not make the values inside it bold
    SetToolTip(edit, box->tooltip);
    SetVisible(edit, box->visible);
}

void ControlPainter::PaintLabel(int n, QWidget* w) const {
    const Label* l = m_s.labels.Find(n);
    auto* label = qobject_cast<QLabel*>(w);
    if (!l || !label) return;
    SetColours(label, QPalette::Window, l->backColour, QPalette::WindowText, l->foreColour);
    SetBold(label, l->bold);
    SetLabelText(label, Wrapped(Caption(l->caption, "LABEL", n), label));
    SetVisible(label, l->visible);
}

void ControlPainter::PaintUnitLabel(int n, QWidget* w) const {
    const Label* l = m_s.unitLabels.Find(n);
    auto* label = qobject_cast<QLabel*>(w);
    if (!l || !label) return;
    SetLabelText(label, l->caption);
    SetColours(label, QPalette::Window, l->backColour, QPalette::WindowText, l->foreColour);
    SetBold(label, l->bold);
    SetVisible(label, l->visible);
}

void ControlPainter::PaintList(int n, QWidget* w) const {
    const OptionList* l = m_s.optionLists.Find(n);
    auto* list = qobject_cast<QListWidget*>(w);
    if (!l || !list) return;
    bool same = list->count() == l->items.size();
    for (int i = 0; same && i < list->count(); ++i)
        same = list->item(i)->text() == l->items[i];
    if (!same) {
        list->clear();
        list->addItems(l->items);
    }
    if (list->currentRow() != l->selected) list->setCurrentRow(l->selected);
    SetColours(list, QPalette::Base, l->backColour, QPalette::Text, l->foreColour);
    // The highlighted entry is the one Enter chooses: it stands out from the list in every
    // scheme, whether or not the window is active.
    const auto [back, fore] = ListHighlight(m_s.colours, l->backColour, l->foreColour);
    QPalette p = list->palette();
    if (p.color(QPalette::Active, QPalette::Highlight) != ToQColor(back) ||
        p.color(QPalette::Inactive, QPalette::HighlightedText) != ToQColor(fore)) {
        for (const auto group : {QPalette::Active, QPalette::Inactive}) {
            p.setColor(group, QPalette::Highlight, ToQColor(back));
            p.setColor(group, QPalette::HighlightedText, ToQColor(fore));
        }
        list->setPalette(p);
    }
    SetToolTip(list, l->tooltip);
}

void ControlPainter::PaintButton(int n, QWidget* w) const {
    const Button* b = m_s.buttons.Find(n);
    auto* button = qobject_cast<CommandButton*>(w);
    if (!b || !button) return;
    const QString text = Caption(b->caption, "BUTT", n);
    if (button->text() != text) {
        button->setText(text);
        button->updateGeometry();
    }
    button->SetColours(ToQColor(b->backColour), ToQColor(b->foreColour), ToQColor(m_s.colours.hover));
    button->SetAlignment(ToQt(b->alignment));
    SetBold(button, false);
    SetToolTip(button, WithKeys(b->tooltip, ShortcutText(n)));
    SetVisible(button, b->visible);
}

void ControlPainter::PaintShadow(int n, QWidget* w) const {
    const Button* s = m_s.shadows.Find(n);
    const Button* b = m_s.buttons.Find(n);
    auto* shadow = qobject_cast<ShadowBox*>(w);
    if (!s || !shadow) return;
    shadow->SetColours(ToQColor(s->backColour), ToQColor(s->foreColour));
    shadow->SetText(s->caption);
    SetVisible(shadow, s->visible && (!b || b->visible));
}

void ControlPainter::PaintFrame(int n, QWidget* w) const {
    const Frame* f = m_s.frames.Find(n);
    auto* box = qobject_cast<QGroupBox*>(w);
    if (!f || !box) return;
    const QString title = Caption(f->caption, "CFRAME", n);
    if (box->title() != title) box->setTitle(title);
    const QVariant titled(!title.isEmpty());
    if (box->property("titled") != titled) {
        box->setProperty("titled", titled);
        // Without a title the frame only keeps its buttons together (a label beside them
        // names the group), so it draws no box of its own.
        box->setStyleSheet(title.isEmpty()
                               ? QStringLiteral("QGroupBox { border: none; margin: 0px; padding: 0px; }")
                               : QString());
        if (box->layout())
            box->layout()->setContentsMargins(title.isEmpty() ? QMargins(0, 0, 0, 0)
                                                              : QMargins(10, 6, 10, 8));
    }
    SetColours(box, QPalette::Window, f->backColour, QPalette::WindowText, f->foreColour);
    SetBold(box, f->bold);
    SetToolTip(box, f->tooltip);
    SetVisible(box, f->visible);
}

void ControlPainter::PaintPage(int n, QWidget* w) const {
    const PageFrame* p = m_s.pages.Find(n);
    auto* page = qobject_cast<PagePanel*>(w);
    if (!p || !page) return;
    page->SetColours(ToQColor(p->backColour), ToQColor(m_s.borderColour));
    // Page 0 is the store page and is never shown.
    SetVisible(page, n != 0 && p->visible);
}

void ControlPainter::PaintRadio(int n, QWidget* w) const {
    const Radio* r = m_s.radios.Find(n);
    auto* radio = qobject_cast<QRadioButton*>(w);
    if (!r || !radio) return;
    const QString text = Caption(r->caption, "RADIO", n);
    if (radio->text() != text) radio->setText(text);
    if (radio->isChecked() != r->value) radio->setChecked(r->value);
    SetColours(radio, QPalette::Window, r->backColour, QPalette::WindowText, r->foreColour);
    SetBold(radio, r->bold);
    SetToolTip(radio, r->tooltip);
    SetVisible(radio, r->visible);
}

void ControlPainter::PaintCheck(int n, QWidget* w) const {
    const Check* c = m_s.checks.Find(n);
    auto* check = qobject_cast<QCheckBox*>(w);
    if (!c || !check) return;
    const QString text = Caption(c->caption, "CHECK", n);
    if (check->text() != text) check->setText(text);
    if (check->isChecked() != c->value) check->setChecked(c->value);
    SetColours(check, QPalette::Window, c->backColour, QPalette::WindowText, c->foreColour);
    SetBold(check, c->bold);
    SetToolTip(check, c->tooltip);
    SetVisible(check, c->visible);
}

void ControlPainter::PaintLink(const Link& link, const QString& text, QWidget* w) const {
    auto* label = qobject_cast<QLabel*>(w);
    if (!label) return;
    SetLabelText(label, text);
    SetColours(label, QPalette::Window, link.backColour, QPalette::WindowText, link.foreColour);
    SetBold(label, false);
    SetToolTip(label, link.tooltip.isEmpty() ? link.tag : link.tooltip);
    SetVisible(label, link.visible);
}

void ControlPainter::PaintGrid(int n, QWidget* w) const {
    const Grid* g = m_s.grids.Find(n);
    auto* view = qobject_cast<QTableView*>(w);
    if (!g || !view) return;
    const GridColours& c = g->colours;
    if (auto* candidates = qobject_cast<CandidateModel*>(view->model())) candidates->Refresh();
    if (auto* table = qobject_cast<QTableWidget*>(view)) PaintGridItems(*g, table);
    for (int col = 0; col < g->cols; ++col) {
        const int twips = col < static_cast<int>(g->columnWidths.size()) ? g->columnWidths[col] : 0;
        if (twips > 0) {
            const int pixels = twips / TwipsPerPixel;
            if (view->columnWidth(col) != pixels) view->setColumnWidth(col, pixels);
        } else {
            view->resizeColumnToContents(col);
        }
    }
    FitGridHeight(view);
    const QString sheet = QStringLiteral("%1 { gridline-color: %2; }")
                              .arg(QLatin1String(view->metaObject()->className()), ToQColor(c.grid).name());
    if (view->styleSheet() != sheet) view->setStyleSheet(sheet);
    SetBold(view, false);
    SetColours(view->viewport(), QPalette::Base, c.backBkg, QPalette::Text, c.fore);
    SetColours(view, QPalette::Base, c.backBkg, QPalette::Text, c.fore);
    SetVisible(view, g->visible);
}

// An editing grid shows its cells as items of its own.
void ControlPainter::PaintGridItems(const Grid& grid, QTableWidget* table) const {
    const Grid* g = &grid;
    if (table->rowCount() != g->rows) table->setRowCount(g->rows);
    if (table->columnCount() != g->cols) table->setColumnCount(g->cols);
    const GridColours& c = g->colours;
    for (int r = 0; r < g->rows; ++r)
        for (int col = 0; col < g->cols; ++col) {
            const GridCell& cell = g->Cell(r, col);
            QTableWidgetItem* item = table->item(r, col);
            if (!item) {
                item = new QTableWidgetItem;
                item->setFlags(Qt::ItemIsEnabled);
                item->setTextAlignment(col == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
                table->setItem(r, col, item);
            }
            if (item->text() != cell.text) item->setText(cell.text);
            const bool fixed = r < g->fixedRows || col < g->fixedCols;
            const QColor back = ToQColor(fixed ? c.backFixed : cell.backColour);
            const QColor fore = ToQColor(fixed ? c.foreFixed : cell.foreColour);
            if (item->background().color() != back || item->background().style() == Qt::NoBrush)
                item->setBackground(back);
            if (item->foreground().color() != fore || item->foreground().style() == Qt::NoBrush)
                item->setForeground(fore);
        }
}

void ControlPainter::PaintUnderline(int n, QWidget* w) const {
    const Underline* u = m_s.underlines.Find(n);
    auto* bar = qobject_cast<UnderlineBar*>(w);
    if (!u || !bar) return;
    bar->SetColour(ToQColor(u->colour));
    // The separator belongs to its field and is shown only with it.
    const TextBox* box = m_s.textBoxes.Find(n);
    SetVisible(bar, u->visible && (!box || box->visible));
}

} // namespace corvane
