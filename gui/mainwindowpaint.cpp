// The main window brought up to date with the state: the dirty controls repainted, captions,
// pictures and the named texts, and the places of the fields, cell editors and lists that
// follow the page's layout.
#include "gui/mainwindow.h"

#include "gui/painter.h"
#include "gui/widgets.h"

#include <QApplication>
#include <QFileInfo>
#include <QFontMetrics>
#include <QResizeEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>

namespace corvane {

void MainWindow::RepaintDirty() {
    ++m_painting;
    if (m_s.TakeAllDirty()) {
        m_s.TakeDirty();
        RepaintAll();
    } else {
        bool lists = false;
        for (const DirtyRef& d : m_s.TakeDirty()) {
            m_painter.Paint(d.kind, d.number, m_widgets.Find(d.kind, d.number));
            lists = lists || d.kind == ControlKind::OptionList;
        }
        if (lists) FitListFields();
    }
    RepaintNamed();
    --m_painting;
}

void MainWindow::RepaintAll() {
    m_shownPage = -1; // captions and fonts may all have changed
    m_painter.SetFallbackCaptions(ControlPainter::CaptionsMissing(m_s));
    for (const auto& [key, widget] : m_widgets.controls)
        m_painter.Paint(key.first, key.second, widget);
    AlignChoiceRows();
    RepaintPictures();
    FitListFields();
    for (const auto& [p, page] : m_s.pages)
        if (auto* id = findChild<QLabel*>(QStringLiteral("FrameID_") + QString::number(p)))
            SetColours(id, QPalette::Window, page.backColour, QPalette::WindowText, page.foreColour);
    // Once the layouts have taken in the new captions and list widths.
    QTimer::singleShot(0, this, [this] { FitCaptions(); });
    update();
}

void MainWindow::FitListFields() {
    // A list field is as wide as the widest entry of its list, so a choice is read whole.
    for (const auto& [n, list] : m_s.optionLists) {
        auto* box = qobject_cast<QLineEdit*>(m_widgets.Find(ControlKind::TextBox, n));
        if (!box || list.items.isEmpty()) continue;
        const QFontMetrics metrics(box->font());
        int widest = 0;
        for (const QString& item : list.items) widest = std::max(widest, metrics.horizontalAdvance(item));
        const int width = std::max(metrics.horizontalAdvance(QLatin1Char('x')) * 14, widest + 16);
        if (box->minimumWidth() < width) box->setMinimumWidth(width);
    }
}

void MainWindow::FitCaptions() {
    // The command column takes the widest caption of its buttons.
    // The job commands stand two to a row where the column can be made wide enough for that,
    // which leaves the hint its room.
    const QFontMetrics metrics(font());
    int widest = 0, widestCommand = 0;
    for (const auto& [n, button] : m_s.buttons) {
        if (n > 14 || button.page != 0) continue;
        const int w = metrics.horizontalAdvance(button.caption);
        widest = std::max(widest, w);
        if (n >= 10) widestCommand = std::max(widestCommand, w);
    }
    const int paired = 2 * (widestCommand + 8) + 7;
    const int column = std::max({LeastColumnWidth, widest + 20, paired <= MostColumnWidth ? paired : 0});
    // The window opens wide enough for the language's captions: no page scrolls sideways.
    // The layouts of hidden pages keep what they measured before: they measure afresh here.
    // A widget's place in its parent's layout keeps its own measure until the widget says its
    // geometry changed (a list field made wider inside a row would otherwise not count).
    const std::function<void(QLayout*)> refresh = [&](QLayout* layout) {
        if (!layout) return;
        for (int i = 0; i < layout->count(); ++i) {
            QLayoutItem* item = layout->itemAt(i);
            refresh(item->layout());
            if (QWidget* w = item->widget()) {
                refresh(w->layout());
                w->updateGeometry();
            }
        }
        layout->invalidate();
    };
    int pageWidth = 0;
    for (const auto& [p, body] : m_widgets.pageBodies) {
        if (p == 0) continue;
        refresh(body->layout());
        pageWidth = std::max(pageWidth, body->minimumSizeHint().width());
    }
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int needed = Margin + column + Margin + 2 + 2 + 2 * 6 + 4 + pageWidth + scrollBar + Margin;
    const bool changed = column != m_columnWidth;
    m_columnWidth = column;
    // Narrower than that, a page would need scrolling sideways.
    setMinimumWidth(std::max(9600 / TwipsPerPixel, needed));
    if (width() < needed) {
        resize(needed, height());
    } else if (changed) {
        LayoutLeftColumn();
        QResizeEvent again(size(), size());
        resizeEvent(&again);
    }
}

void MainWindow::RepaintPictures() {
    if (m_logoSource != m_s.logoPicture) {
        m_logoSource = m_s.logoPicture;
        m_logo->setPixmap(Picture(m_s.logoPicture));
    }
    if (m_thumbnailSource != m_s.thumbnailPicture) {
        m_thumbnailSource = m_s.thumbnailPicture;
        QPixmap thumb = Picture(m_s.thumbnailPicture);
        if (!thumb.isNull() && thumb.width() > m_columnWidth - 3)
            thumb = thumb.scaledToWidth(m_columnWidth - 3, Qt::SmoothTransformation);
        m_thumbnail->setPixmap(thumb);
        m_thumbnail->setVisible(!thumb.isNull());
        LayoutLeftColumn();
    }
    if (m_iconSource != m_s.iconPicture) {
        m_iconSource = m_s.iconPicture;
        const QPixmap icon = Picture(m_s.iconPicture);
        if (!icon.isNull()) setWindowIcon(QIcon(icon));
    }
}

void MainWindow::RepaintNamed() {
    const QString title = !m_s.windowCaption.isEmpty() ? m_s.windowCaption
                          : !m_s.baseTitle.isEmpty()   ? m_s.baseTitle
                                                       : QApplication::applicationName();
    if (windowTitle() != title) setWindowTitle(title);

    if (m_hintCaption->text() != m_s.hintCaption) m_hintCaption->setText(m_s.hintCaption);
    if (m_hint->text() != m_s.hintText) {
        m_hint->setText(m_s.hintText);
        FitHintText();
    }
    SetColours(m_hintCaption, QPalette::Window, 0, QPalette::WindowText, m_s.hintForeColour);
    // The hint sits on the pages' own colour, which the scheme chose its hint colour for
    // (over the shaded window it could fall to mid-grey).
    const PageFrame* page = m_s.pages.Find(1);
    SetColours(m_hint, QPalette::Window, page ? page->backColour : RGBColour(255, 255, 255), QPalette::WindowText,
               m_s.hintForeColour);
    if (m_balanceNote) {
        if (m_balanceNote->text() != m_s.balanceNote) m_balanceNote->setText(m_s.balanceNote);
        const Label* normal = m_s.labels.Find(560);
        SetColours(m_balanceNote, QPalette::Window, page ? page->backColour : RGBColour(255, 255, 255),
                   QPalette::WindowText, normal ? normal->foreColour : 0);
        SetVisible(m_balanceNote, !m_s.balanceNote.isEmpty());
    }
    ApplyToolkitLanguage();
    SetVisible(m_hint, m_s.hintVisible);
    SetToolTip(m_thumbnail, m_s.thumbnailTooltip);

    bool anyPage = false;
    for (const auto& [p, page] : m_s.pages)
        anyPage = anyPage || (p != 0 && page.visible);
    SetVisible(m_logoPanel, !anyPage);
    if (m_version->text() != m_s.versionText) m_version->setText(m_s.versionText);

    m_banner->SetText(m_s.bannerText);
    SetVisible(m_banner, m_s.errorFrameVisible);
    m_banner->SetActive(m_s.errorFrameVisible && m_s.bannerActive);

    if (m_widgets.jobPath) {
        const QString name =
            m_s.currentJobPath.isEmpty() ? QString() : QFileInfo(m_s.currentJobPath).fileName();
        if (m_widgets.jobPath->text() != name) m_widgets.jobPath->setText(name);
        SetBold(m_widgets.jobPath, false);
        SetToolTip(m_widgets.jobPath, m_s.currentJobPath);
    }
    if (m_widgets.sketch) {
        int shape = -1;
        for (int i = 0; i < 3; ++i)
            if (m_s.geometryVisible[i] && shape < 0) shape = i;
        const bool onWalls =
            m_s.focus.Is(ControlKind::Grid, 200) || m_s.openList == 201 || m_s.openList == 206;
        const int wall = onWalls && m_s.grids.Has(200) ? m_s.grids[200].col - 1 : 0;
        m_widgets.sketch->SetShape(std::max(shape, 0), wall, ToQColor(m_s.shapeBoxBackColour),
                                   ToQColor(m_s.colours.line), ToQColor(m_s.colours.lineSelected));
        SetVisible(m_widgets.sketch, shape >= 0);
    }
    RepaintHistory();
    SyncFieldRows();
    RefreshPageLayout();
    PlaceCellEditors();
    PlaceLists();
}

void MainWindow::RepaintHistory() {
    QListWidget* list = m_widgets.history;
    if (!list) return;
    QStringList shown;
    for (int i = 0; i < list->count(); ++i)
        shown << list->item(i)->text();
    if (shown != m_s.historyList) {
        list->clear();
        list->addItems(m_s.historyList);
    }
    if (list->currentRow() != m_s.historySelected && m_s.historySelected < list->count())
        list->setCurrentRow(m_s.historySelected);
    QPalette p = list->palette();
    const QColor back = ToQColor(m_s.historyBackColour), fore = ToQColor(m_s.historyForeColour);
    const auto [highBack, highFore] = ListHighlight(m_s.colours, m_s.historyBackColour, m_s.historyForeColour);
    const QColor selBack = ToQColor(highBack), selFore = ToQColor(highFore);
    if (p.color(QPalette::Base) != back || p.color(QPalette::Text) != fore ||
        p.color(QPalette::Highlight) != selBack || p.color(QPalette::HighlightedText) != selFore) {
        p.setColor(QPalette::Base, back);
        p.setColor(QPalette::Text, fore);
        p.setColor(QPalette::Highlight, selBack);
        p.setColor(QPalette::HighlightedText, selFore);
        list->setPalette(p);
    }
}

void MainWindow::AlignChoiceRows() {
    // Frames named by a label beside their choices (the unit switches) stack up as rows of a
    // table: the n-th choice of every row starts at the same place.
    std::map<int, std::vector<std::vector<QWidget*>>> rowsByPage;
    for (const LabelDef& label : LabelDefinitions()) {
        if (label.container == 0) continue;
        std::vector<QWidget*> row;
        for (const PlacedDef& radio : RadioDefinitions())
            if (radio.container == label.container)
                if (QWidget* w = m_widgets.Find(ControlKind::Radio, radio.number)) row.push_back(w);
        rowsByPage[label.page].push_back(row);
    }
    for (auto& [page, rows] : rowsByPage) {
        for (std::size_t i = 0;; ++i) {
            int widest = -1;
            for (const auto& row : rows)
                if (i < row.size()) widest = std::max(widest, row[i]->sizeHint().width());
            if (widest < 0) break;
            for (const auto& row : rows)
                if (i < row.size() && row[i]->minimumWidth() != widest) row[i]->setMinimumWidth(widest);
        }
    }
}

void MainWindow::RefreshPageLayout() {
    // Fonts and captions change while a page is hidden, and a hidden page does not lay itself
    // out again; so a page coming into view is laid out afresh before it is seen.
    int shown = 0;
    for (const auto& [p, page] : m_s.pages)
        if (p != 0 && page.visible) shown = p;
    if (shown == m_shownPage) return;
    m_shownPage = shown;
    const auto relayout = [](QWidget* w) {
        if (w && w->layout()) {
            w->layout()->invalidate();
            w->layout()->activate();
        }
    };
    relayout(m_pageArea);
    relayout(m_widgets.Find(ControlKind::Page, shown));
    auto body = m_widgets.pageBodies.find(shown);
    if (body != m_widgets.pageBodies.end()) relayout(body->second);
}

void MainWindow::SyncFieldRows() {
    // A field hidden with its caption gives up its row; a box hidden alone (its list is open
    // over it) keeps it.
    for (const auto& [n, cell] : m_widgets.fieldRows) {
        const QWidget* box = m_widgets.Find(ControlKind::TextBox, n);
        const QWidget* caption = m_widgets.Find(ControlKind::Label, n);
        const bool boxHidden = !box || box->isHidden();
        const bool captionHidden = !caption || caption->isHidden();
        SetVisible(cell, !(boxHidden && captionHidden));
    }
}

void MainWindow::PlaceCellEditors() {
    for (int i = 0; i < 2; ++i) {
        QLineEdit* editor = m_widgets.cellEditors[i];
        const int g = EditorGrid(i);
        auto* table = qobject_cast<QTableWidget*>(m_widgets.Find(ControlKind::Grid, g));
        if (!editor || !table || !m_s.grids.Has(g)) continue;
        const Grid& grid = m_s.grids[g];
        const bool show = m_s.cellEditorVisible[i] && grid.visible && grid.InRange(grid.row, grid.col) &&
                          grid.row < table->rowCount() && grid.col < table->columnCount();
        if (!show) {
            SetVisible(editor, false);
            continue;
        }
        const QModelIndex index = table->model()->index(grid.row, grid.col);
        QRect cell = table->visualRect(index);
        if (!table->viewport()->rect().contains(cell)) {
            table->scrollTo(index);
            cell = table->visualRect(index);
        }
        editor->setGeometry(cell.adjusted(1, 1, -1, -1));
        if (editor->text() != m_s.cellEditorText[i]) editor->setText(m_s.cellEditorText[i]);
        SetColours(editor, QPalette::Base, grid.colours.backSel, QPalette::Text, grid.colours.foreSel);
        SetVisible(editor, true);
        editor->raise();
    }
}

void MainWindow::PlaceLists() {
    for (const auto& [n, list] : m_s.optionLists) {
        auto* popup = qobject_cast<QListWidget*>(m_widgets.Find(ControlKind::OptionList, n));
        if (!popup) continue;
        QWidget* page = popup->parentWidget();
        if (m_s.openList != n || !page) {
            SetVisible(popup, false);
            continue;
        }
        // Anchor: the field's box, or for the grid-row lists the grid's current cell.
        QRect anchor;
        if (QWidget* box = m_widgets.Find(ControlKind::TextBox, n)) {
            anchor = QRect(box->mapTo(page, QPoint(0, 0)), box->size());
        } else if (auto* table =
                       qobject_cast<QTableWidget*>(m_widgets.Find(ControlKind::Grid, n / 100 * 100))) {
            const Grid& grid = m_s.grids[n / 100 * 100];
            const QRect cell = table->visualRect(table->model()->index(grid.row, grid.col));
            anchor = QRect(table->viewport()->mapTo(page, cell.topLeft()), cell.size());
        }
        const int frame = 2 * popup->frameWidth();
        const int measured = popup->sizeHintForRow(0);
        const int rowHeight = measured > 0 ? measured : QFontMetrics(popup->font()).height() + 2;
        const int height = std::min(std::max(1, popup->count()) * rowHeight + frame + 2, page->height() - 8);
        const int width = std::max(anchor.width(), popup->sizeHintForColumn(0) + frame + 24);
        int top = anchor.top();
        if (top + height > page->height() - 4) top = std::max(4, page->height() - 4 - height);
        int left = anchor.left();
        if (left + width > page->width() - 4) left = std::max(4, page->width() - 4 - width);
        popup->setGeometry(left, top, width, height);
        SetVisible(popup, true);
        popup->raise();
    }
}

} // namespace corvane
