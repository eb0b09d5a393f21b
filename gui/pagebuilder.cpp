#include "gui/pagebuilder.h"

#include "definitions/windowdefinition.h"
#include "gui/binder.h"
#include "gui/candidatemodel.h"
#include "gui/painter.h"
#include "gui/widgets.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace corvane {

QString ObjectName(ControlKind kind, int n) {
    const char* prefix = "";
    switch (kind) {
    case ControlKind::TextBox:
        prefix = "TEXTBOX_";
        break;
    case ControlKind::Label:
        prefix = "LABEL_";
        break;
    case ControlKind::UnitLabel:
        prefix = "UNITS_";
        break;
    case ControlKind::OptionList:
        prefix = "OPTIONLIST_";
        break;
    case ControlKind::ValueList:
        prefix = "OPTIONVALUE_";
        break;
    case ControlKind::ListButton:
        prefix = "LISTBUTTON_";
        break;
    case ControlKind::Button:
        prefix = "BUTT_";
        break;
    case ControlKind::Shadow:
        prefix = "SHADOW_";
        break;
    case ControlKind::Frame:
        prefix = "CFRAME_";
        break;
    case ControlKind::Page:
        prefix = "FRAME_";
        break;
    case ControlKind::Radio:
        prefix = "RADIO_";
        break;
    case ControlKind::Check:
        prefix = "CHECK_";
        break;
    case ControlKind::Link:
        prefix = "HYPERLINK_";
        break;
    case ControlKind::SpecLink:
        prefix = "SPECLINK_";
        break;
    case ControlKind::Grid:
        prefix = "GRID_";
        break;
    case ControlKind::Underline:
        prefix = "UNDERLINE_";
        break;
    }
    return QLatin1String(prefix) + QString::number(n);
}

// --- the arrangement of each page -------------------------------------------------------------

struct PageBuilder::Item {
    Placed kind;
    int number;
};

namespace {

using Item = PageBuilder::Item;
using Column = std::vector<PageBuilder::Item>;

// Rows of one or more columns, top to bottom, as the window definition places them.
struct Block {
    std::vector<Column> columns;
    bool alignRight = false;
};

std::vector<Block> Arrangement(int page) {
    std::vector<Block> blocks;
    for (const Placement& p : PagePlacements()) {
        if (p.page != page) continue;
        if (static_cast<int>(blocks.size()) <= p.block) blocks.resize(p.block + 1);
        Block& block = blocks[p.block];
        block.alignRight = BlockAlignedRight(page, p.block);
        if (static_cast<int>(block.columns.size()) <= p.column) block.columns.resize(p.column + 1);
        block.columns[p.column].push_back({p.kind, p.number});
    }
    return blocks;
}

QGridLayout* NewFieldGrid() {
    auto* grid = new QGridLayout;
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    grid->setColumnStretch(1, 1);
    return grid;
}

} // namespace

// --- building ----------------------------------------------------------------------------------

PageBuilder::PageBuilder(State& s, Binder& binder, WindowWidgets& widgets, const ArrowPictures& arrows)
    : m_s(s), m_binder(binder), m_widgets(widgets), m_arrows(arrows) {}

void PageBuilder::Register(ControlKind kind, int n, QWidget* w) {
    w->setObjectName(ObjectName(kind, n));
    m_widgets.controls[{kind, n}] = w;
}

PagePanel* PageBuilder::BuildPage(int page, QWidget* parent) {
    auto* panel = new PagePanel(parent);
    Register(ControlKind::Page, page, panel);
    m_binder.Bind(panel, Role::Page, page);
    m_pages[page] = panel;
    panel->hide();

    auto* outer = new QVBoxLayout(panel);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->setSpacing(6);
    if (page != 0) outer->addWidget(MakeHeader(page, panel));

    auto* scroll = new QScrollArea(panel);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll->viewport()->setAutoFillBackground(false);
    auto* body = new QWidget;
    body->setAutoFillBackground(false);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(10);
    bool grows = false;
    for (const Block& block : Arrangement(page)) {
        if (block.columns.size() == 1) {
            auto* column = new QVBoxLayout;
            column->setSpacing(8);
            if (block.alignRight) {
                auto* row = new QHBoxLayout;
                row->addStretch();
                row->addLayout(column);
                layout->addLayout(row);
            } else {
                // Only the recent-jobs list grows with the page; everything else keeps its size
                // and the room left over stays below.
                const bool list = block.columns.front().front().kind == Placed::History;
                grows = grows || list;
                layout->addLayout(column, list ? 1 : 0);
            }
            AddItems(column, block.columns.front(), body);
            continue;
        }
        auto* row = new QHBoxLayout;
        row->setSpacing(12);
        for (const Column& items : block.columns) {
            auto* column = new QVBoxLayout;
            column->setSpacing(8);
            AddItems(column, items, body);
            column->addStretch();
            row->addLayout(column, items.size() > 1 ? 1 : 0);
        }
        layout->addLayout(row);
    }
    AddRemaining(page, layout, body);
    if (!grows) layout->addStretch(1);
    scroll->setWidget(body);
    body->setAutoFillBackground(false); // the page paints its own colour behind
    outer->addWidget(scroll, 1);
    m_widgets.pageBodies[page] = body;
    return panel;
}

QWidget* PageBuilder::MakeHeader(int page, QWidget* parent) {
    auto* header = new QWidget(parent);
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    const auto arrow = [&](int button, bool forward) -> QWidget* {
        if (button < 0) {
            auto* gap = new QWidget(header);
            gap->setFixedSize(24, 24);
            return gap;
        }
        auto* a = new ArrowButton(forward ? m_arrows.forward : m_arrows.back,
                                  forward ? m_arrows.forwardFocus : m_arrows.backFocus, forward, header);
        a->setObjectName((forward ? QStringLiteral("TABFPIC_") : QStringLiteral("TABBPIC_")) +
                         QString::number(page));
        a->setFixedSize(24, 24);
        m_binder.Bind(a, Role::Arrow, button);
        return a;
    };
    row->addWidget(arrow(BackArrowButton(page), false));
    const int title = PageTitleLabel(page);
    if (title >= 0) {
        QWidget* label = MakeLabel(title, header);
        QFont big = label->font();
        big.setPointSizeF(big.pointSizeF() * 1.3);
        big.setBold(true);
        label->setFont(big);
        row->addWidget(label);
    }
    row->addStretch();
    auto* id = new QLabel(header);
    id->setObjectName(QStringLiteral("FrameID_") + QString::number(page));
    // The page's number: its name is the title beside the arrow, in the user's language.
    id->setText(QString::number(page));
    QFont small = id->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    id->setFont(small);
    row->addWidget(id);
    row->addWidget(arrow(ForwardArrowButton(page), true));
    return header;
}

void PageBuilder::AddItems(QVBoxLayout* column, const std::vector<Item>& items, QWidget* parent) {
    QGridLayout* fields = nullptr;
    int row = 0;
    const auto fieldGrid = [&] {
        if (!fields) {
            fields = NewFieldGrid();
            column->addLayout(fields);
            row = 0;
        }
        return fields;
    };
    for (const Item& item : items) {
        switch (item.kind) {
        case Placed::Field: {
            if (!FindField(item.number) || Built(ControlKind::TextBox, item.number)) break;
            QGridLayout* grid = fieldGrid();
            AddFieldRow(grid, row++, item.number, parent);
            continue;
        }
        case Placed::Underline: {
            QGridLayout* grid = fieldGrid();
            auto* bar = new UnderlineBar(parent);
            Register(ControlKind::Underline, item.number, bar);
            grid->addWidget(bar, row++, 0, 1, 2);
            continue;
        }
        case Placed::SpecLink: {
            QGridLayout* grid = fieldGrid();
            grid->addWidget(MakeLink(ControlKind::SpecLink, item.number, parent), row++, 1);
            continue;
        }
        case Placed::Frame:
            column->addWidget(MakeFrame(item.number, parent));
            break;
        case Placed::Grid:
            column->addWidget(MakeGrid(item.number, parent), 0, Qt::AlignLeft);
            break;
        case Placed::Button:
            column->addWidget(MakeButton(item.number, parent), 0, Qt::AlignLeft);
            break;
        case Placed::Label: {
            QWidget* label = MakeLabel(item.number, parent);
            if (item.number != 801) label->setContentsMargins(0, 6, 0, 0);
            column->addWidget(label);
            break;
        }
        case Placed::Links:
            for (const PlacedDef& d : LinkDefinitions())
                column->addWidget(MakeLink(ControlKind::Link, d.number, parent));
            break;
        case Placed::Check:
            column->addWidget(MakeCheck(item.number, parent));
            break;
        case Placed::Sketch: {
            auto* sketch = new ShapeSketch(parent);
            sketch->setObjectName(QStringLiteral("Geometry"));
            sketch->setFixedSize(sketch->sizeHint());
            m_widgets.sketch = sketch;
            column->addWidget(sketch);
            break;
        }
        case Placed::History: {
            auto* list = new QListWidget(parent);
            list->setObjectName(QStringLiteral("FileHistoryList"));
            list->setUniformItemSizes(true);
            m_binder.Bind(list, Role::History, 0);
            m_widgets.history = list;
            column->addWidget(list, 1);
            break;
        }
        }
        fields = nullptr;
    }
}

void PageBuilder::AddFieldRow(QGridLayout* grid, int row, int n, QWidget* parent) {
    const FieldDef* def = FindField(n);
    const FieldKind kind = def->Kind();
    QWidget* caption = nullptr;
    if (HasMember(*def, Member::Caption)) {
        caption = MakeLabel(n, parent);
        if (const int limit = CaptionLimit(def->page); limit > 0) caption->setProperty("wrapWidth", limit);
        grid->addWidget(caption, row, 0, Qt::AlignLeft | Qt::AlignVCenter);
    }
    auto* cell = new QWidget(parent);
    auto* h = new QHBoxLayout(cell);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(4);
    if (HasMember(*def, Member::TextBox)) {
        auto* box = new QLineEdit(cell);
        Register(ControlKind::TextBox, n, box);
        m_binder.Bind(box, Role::Field, n);
        if (kind == FieldKind::Number) {
            box->setAlignment(Qt::AlignRight);
            box->setFixedWidth(QFontMetrics(box->font()).horizontalAdvance(QStringLiteral("-000000.0")) + 10);
        } else {
            box->setMinimumWidth(QFontMetrics(box->font()).horizontalAdvance(QLatin1Char('x')) * 14);
        }
        if (IsListKind(kind)) {
            // A list field is chosen, not typed; while its list is open over it the box keeps
            // its place so the row does not jump.
            box->setReadOnly(true);
            box->setCursor(Qt::PointingHandCursor);
            QSizePolicy keep = box->sizePolicy();
            keep.setRetainSizeWhenHidden(true);
            box->setSizePolicy(keep);
        }
        if (caption) static_cast<QLabel*>(caption)->setBuddy(box);
        h->addWidget(box, kind == FieldKind::Number ? 0 : 1);
    }
    if (HasMember(*def, Member::ListButton)) {
        auto* button = new QToolButton(cell);
        button->setArrowType(Qt::DownArrow);
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRaise(false);
        button->setFixedWidth(20);
        Register(ControlKind::ListButton, n, button);
        m_binder.Bind(button, Role::ListButton, n);
        h->addWidget(button);
    }
    if (HasMember(*def, Member::Unit)) {
        auto* unit = new ClickLabel(cell);
        unit->setCursor(Qt::PointingHandCursor);
        // Unit labels are drawn bold: measured so, the longest unit is never cut.
        QFont bold = unit->font();
        bold.setBold(true);
        unit->setMinimumWidth(QFontMetrics(bold).horizontalAdvance(QStringLiteral("Btu/h")) + 2);
        Register(ControlKind::UnitLabel, n, unit);
        m_binder.Bind(unit, Role::UnitLabel, n);
        h->addWidget(unit);
    }
    if (kind == FieldKind::Number) h->addStretch();
    grid->addWidget(cell, row, 1);
    m_widgets.fieldRows[n] = cell;
}

QWidget* PageBuilder::MakeLabel(int n, QWidget* parent) {
    auto* label = new QLabel(parent);
    Register(ControlKind::Label, n, label);
    return label;
}

QWidget* PageBuilder::MakeRadio(int n, QWidget* parent) {
    auto* radio = new QRadioButton(parent);
    // The core keeps one set button per container; the view only shows what it holds.
    radio->setAutoExclusive(false);
    Register(ControlKind::Radio, n, radio);
    m_binder.Bind(radio, Role::Radio, n);
    return radio;
}

QWidget* PageBuilder::MakeCheck(int n, QWidget* parent) {
    auto* check = new QCheckBox(parent);
    Register(ControlKind::Check, n, check);
    m_binder.Bind(check, Role::Check, n);
    return check;
}

QWidget* PageBuilder::MakeLink(ControlKind kind, int n, QWidget* parent) {
    auto* link = new ClickLabel(parent);
    QFont f = link->font();
    f.setUnderline(true);
    link->setFont(f);
    link->setCursor(Qt::PointingHandCursor);
    Register(kind, n, link);
    m_binder.Bind(link, kind == ControlKind::Link ? Role::Link : Role::SpecLink, n);
    return link;
}

QWidget* PageBuilder::MakeButton(int n, QWidget* parent) {
    // The shadow is made first, so it lies under its button.
    auto* shadow = new ShadowBox(parent);
    Register(ControlKind::Shadow, n, shadow);
    shadow->hide();
    auto* button = new CommandButton(parent);
    Register(ControlKind::Button, n, button);
    m_binder.Bind(button, Role::Command, n);
    button->SetShadow(shadow);
    return button;
}

QWidget* PageBuilder::MakeGrid(int g, QWidget* parent) {
    // The editing grids hold items of their own; a candidate list is read through a model.
    QTableView* table = nullptr;
    if (g < 500) {
        table = new QTableWidget(parent);
    } else {
        table = new QTableView(parent);
        table->setModel(new CandidateModel(m_s, g, table));
    }
    Register(ControlKind::Grid, g, table);
    m_binder.Bind(table, Role::Grid, g);
    table->horizontalHeader()->hide();
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setFocusPolicy(Qt::ClickFocus);
    table->setWordWrap(false);
    table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    const int rowHeight = QFontMetrics(table->font()).height() + 6;
    table->verticalHeader()->setMinimumSectionSize(rowHeight);
    table->verticalHeader()->setDefaultSectionSize(rowHeight);
    table->hide();
    const GridDef* def = nullptr;
    for (const GridDef& d : GridDefinitions())
        if (d.number == g) def = &d;
    // Room for the horizontal scroll bar only while the columns are wider than the grid.
    QObject::connect(table->horizontalScrollBar(), &QScrollBar::rangeChanged, table,
                     [table] { FitGridHeight(table); });
    if (def && g < 500) {
        // All rows of an editing grid are in sight; the page scrolls when the window is small.
        table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        auto* editor = new QLineEdit(table->viewport());
        editor->setObjectName(QStringLiteral("MSFlexText_") + QString::number(g));
        editor->setFrame(false);
        editor->setAlignment(Qt::AlignCenter);
        editor->hide();
        m_binder.Bind(editor, Role::CellEditor, g);
        m_widgets.cellEditors[g == 300 ? 1 : 0] = editor;
    }
    return table;
}

QWidget* PageBuilder::MakeFrame(int n, QWidget* parent) {
    auto* box = new QGroupBox(parent);
    box->setAutoFillBackground(true);
    Register(ControlKind::Frame, n, box);
    auto* v = new QVBoxLayout(box);
    v->setContentsMargins(10, 6, 10, 8);
    v->setSpacing(4);

    std::vector<int> labels, radios, buttons, grids, fields;
    for (const LabelDef& d : LabelDefinitions())
        if (d.container == n) labels.push_back(d.number);
    for (const PlacedDef& d : RadioDefinitions())
        if (d.container == n) radios.push_back(d.number);
    for (const PlacedDef& d : ButtonDefinitions())
        if (d.container == n && d.page != 0) buttons.push_back(d.number);
    for (const GridDef& d : GridDefinitions())
        if (d.container == n) grids.push_back(d.number);
    for (const FieldDef& d : FieldDefinitions())
        if (d.container == n) fields.push_back(d.number);

    if (!labels.empty()) {
        // A captionless frame whose label names the group: label and buttons in one row.
        auto* row = new QHBoxLayout;
        row->setSpacing(6);
        for (int l : labels) {
            QWidget* label = MakeLabel(l, box);
            label->setMinimumWidth(
                QFontMetrics(label->font()).horizontalAdvance(QStringLiteral("Temperature")) + 8);
            row->addWidget(label);
        }
        for (int r : radios)
            row->addWidget(MakeRadio(r, box));
        row->addStretch();
        v->addLayout(row);
    } else if (ChoicesSideBySide(n)) {
        // A pair of choices reads best side by side.
        auto* row = new QHBoxLayout;
        row->setSpacing(16);
        for (int r : radios)
            row->addWidget(MakeRadio(r, box));
        row->addStretch();
        v->addLayout(row);
    } else {
        for (int r : radios)
            v->addWidget(MakeRadio(r, box));
    }
    if (!fields.empty()) {
        QGridLayout* grid = NewFieldGrid();
        int row = 0;
        for (int f : fields)
            AddFieldRow(grid, row++, f, box);
        v->addLayout(grid);
    }
    for (int b : buttons)
        v->addWidget(MakeButton(b, box), 0, Qt::AlignLeft);
    for (int g : grids)
        v->addWidget(MakeGrid(g, box), 0, Qt::AlignLeft);
    if (n == 2) {
        auto* path = new QLabel(box);
        path->setObjectName(QStringLiteral("JobPath"));
        path->setWordWrap(true);
        path->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_widgets.jobPath = path;
        v->addWidget(path);
    }
    return box;
}

void PageBuilder::AddRemaining(int page, QVBoxLayout* body, QWidget* parent) {
    Column rest;
    for (const PlacedDef& d : FrameDefinitions())
        if (d.page == page && !Built(ControlKind::Frame, d.number))
            rest.push_back({Placed::Frame, d.number});
    for (const FieldDef& d : FieldDefinitions())
        if (d.page == page && !Built(ControlKind::TextBox, d.number))
            rest.push_back({Placed::Field, d.number});
    for (const LabelDef& d : LabelDefinitions())
        if (d.page == page && !Built(ControlKind::Label, d.number))
            rest.push_back({Placed::Label, d.number});
    for (const PlacedDef& d : ButtonDefinitions())
        if (d.page == page && !Built(ControlKind::Button, d.number))
            rest.push_back({Placed::Button, d.number});
    for (const GridDef& d : GridDefinitions())
        if (d.page == page && !Built(ControlKind::Grid, d.number)) rest.push_back({Placed::Grid, d.number});
    for (const PlacedDef& d : SpecLinkDefinitions())
        if (d.page == page && !Built(ControlKind::SpecLink, d.number))
            rest.push_back({Placed::SpecLink, d.number});
    if (page == 0 && !Built(ControlKind::Check, 0)) rest.push_back({Placed::Check, 0});
    if (rest.empty()) return;
    auto* column = new QVBoxLayout;
    AddItems(column, rest, parent);
    body->addLayout(column);
    for (const PlacedDef& d : RadioDefinitions())
        if (d.page == page && !Built(ControlKind::Radio, d.number))
            body->addWidget(MakeRadio(d.number, parent));
    for (const PlacedDef& d : LinkDefinitions())
        if (d.page == page && !Built(ControlKind::Link, d.number))
            body->addWidget(MakeLink(ControlKind::Link, d.number, parent));
}

void PageBuilder::BuildLists() {
    for (const auto& [n, list] : m_s.optionLists) {
        auto it = m_pages.find(list.page);
        QWidget* parent =
            it != m_pages.end() ? it->second : (m_pages.empty() ? nullptr : m_pages.begin()->second);
        auto* popup = new QListWidget(parent);
        popup->setFrameShape(QFrame::Box);
        popup->setUniformItemSizes(true);
        popup->setFocusPolicy(Qt::StrongFocus);
        popup->hide();
        Register(ControlKind::OptionList, n, popup);
        m_binder.Bind(popup, Role::List, n);
    }
}

} // namespace corvane
