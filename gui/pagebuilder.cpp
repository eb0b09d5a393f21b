#include "gui/pagebuilder.h"

#include "definitions/windowdefinition.h"
#include "gui/binder.h"
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

enum class ItemKind { Field, Frame, Grid, Button, Label, Links, SpecLink, Check, Sketch, History, Underline };

struct PageBuilder::Item {
    ItemKind kind;
    int number;
};

namespace {

using Item = PageBuilder::Item;
using Column = std::vector<PageBuilder::Item>;

// Rows of one or more columns, top to bottom.
struct Block {
    std::vector<Column> columns;
    bool alignRight = false; // a lone button row sits at the right edge
};

Column Fields(std::initializer_list<int> numbers) {
    Column c;
    for (int n : numbers)
        c.push_back({ItemKind::Field, n});
    return c;
}

Column FieldRange(int from, int to) {
    Column c;
    for (const FieldDef& f : FieldDefinitions())
        if (f.number >= from && f.number <= to && f.container == 0) c.push_back({ItemKind::Field, f.number});
    return c;
}

Column operator+(Column a, const Column& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Column One(ItemKind kind, int n) {
    return {{kind, n}};
}

std::vector<Block> Arrangement(int page) {
    switch (page) {
    case 1:
        return {{{FieldRange(0, 11),
                  Fields({100, 101, 102, 103, 12, 13, 14, 15, 16}) + One(ItemKind::Frame, 2)}}};
    case 2:
        return {{{One(ItemKind::History, 0)}}, {{One(ItemKind::Button, 19)}, true}};
    case 3:
        return {{{One(ItemKind::Frame, 200), One(ItemKind::Frame, 100) + Fields({212, 213, 214}),
                  One(ItemKind::Sketch, 0) + One(ItemKind::Button, 17)}},
                {{One(ItemKind::Frame, 4)}}};
    case 4:
        return {{{Fields({312, 313, 314}), One(ItemKind::Button, 18) + One(ItemKind::Frame, 10)}},
                {{One(ItemKind::Grid, 300)}}};
    case 5:
        return {{{Fields({400, 401, 402, 403, 423, 405, 406, 407, 408, 409, 422}), FieldRange(410, 421)}}};
    case 6:
        return {
            {{Fields({501, 500, 502, 506, 503}) + One(ItemKind::Frame, 501) + Fields({525}) +
                  One(ItemKind::Underline, 525) + Fields({510, 514, 560, 561, 562}),
              Fields({504, 520, 521, 522, 523, 524}) + One(ItemKind::SpecLink, 0) + Fields({530, 531, 533}) +
                  Fields({540, 541, 542, 543, 544}) + One(ItemKind::SpecLink, 1) + Fields({550, 551, 553})}},
            {{One(ItemKind::Grid, 520)}},
            {{One(ItemKind::Grid, 540)}}};
    case 7:
        return {{{Fields({600}) + One(ItemKind::Frame, 600) + Fields({659, 660, 669, 670, 680}),
                  One(ItemKind::Frame, 601) + One(ItemKind::Frame, 602) + One(ItemKind::Frame, 603)}}};
    case 8:
        return {{{FieldRange(700, 708), FieldRange(709, 716)}}};
    case 9:
        return {{{Fields({720, 721, 803, 804, 805}) + One(ItemKind::Label, 802) + One(ItemKind::Frame, 840) +
                      One(ItemKind::Frame, 842) + One(ItemKind::Frame, 844) + One(ItemKind::Frame, 846) +
                      One(ItemKind::Label, 848) + One(ItemKind::Check, 0),
                  One(ItemKind::Label, 800) + One(ItemKind::Links, 0) + One(ItemKind::Button, 20) +
                      One(ItemKind::Label, 801)}}};
    default:
        return {};
    }
}

// Captions longer than this wrap onto a second line, so the two columns of a busy page fit
// the window at its least width; 0 leaves them on one line.
int CaptionLimit(int page) {
    return page == 6 || page == 7 ? 112 : 0;
}

// Frames whose two choices sit side by side; the others list their choices one under another.
bool SideBySide(int frame) {
    return frame == 100;
}

bool IsListType(const QString& type) {
    const QString t = type.toUpper();
    return t == QLatin1String("LIST") || t == QLatin1String("DATALIST") || t == QLatin1String("SELECTLIST");
}

// The label that titles a page: p99, or 17 on the recent-jobs page.
int TitleLabel(int page) {
    for (const LabelDef& d : LabelDefinitions())
        if (d.page == page && (d.number % 100 == 99 || d.number == 17)) return d.number;
    return -1;
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
                const bool list = block.columns.front().front().kind == ItemKind::History;
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
    const int title = TitleLabel(page);
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
    id->setText(PageCaption(page));
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
        case ItemKind::Field: {
            if (!FindField(item.number) || Built(ControlKind::TextBox, item.number)) break;
            QGridLayout* grid = fieldGrid();
            AddFieldRow(grid, row++, item.number, parent);
            continue;
        }
        case ItemKind::Underline: {
            QGridLayout* grid = fieldGrid();
            auto* bar = new UnderlineBar(parent);
            Register(ControlKind::Underline, item.number, bar);
            grid->addWidget(bar, row++, 0, 1, 2);
            continue;
        }
        case ItemKind::SpecLink: {
            QGridLayout* grid = fieldGrid();
            grid->addWidget(MakeLink(ControlKind::SpecLink, item.number, parent), row++, 1);
            continue;
        }
        case ItemKind::Frame:
            column->addWidget(MakeFrame(item.number, parent));
            break;
        case ItemKind::Grid:
            column->addWidget(MakeGrid(item.number, parent), 0, Qt::AlignLeft);
            break;
        case ItemKind::Button:
            column->addWidget(MakeButton(item.number, parent), 0, Qt::AlignLeft);
            break;
        case ItemKind::Label: {
            QWidget* label = MakeLabel(item.number, parent);
            if (item.number != 801) label->setContentsMargins(0, 6, 0, 0);
            column->addWidget(label);
            break;
        }
        case ItemKind::Links:
            for (const PlacedDef& d : LinkDefinitions())
                column->addWidget(MakeLink(ControlKind::Link, d.number, parent));
            break;
        case ItemKind::Check:
            column->addWidget(MakeCheck(item.number, parent));
            break;
        case ItemKind::Sketch: {
            auto* sketch = new ShapeSketch(parent);
            sketch->setObjectName(QStringLiteral("Geometry"));
            sketch->setFixedSize(sketch->sizeHint());
            m_widgets.sketch = sketch;
            column->addWidget(sketch);
            break;
        }
        case ItemKind::History: {
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
    const QString type = QString::fromLatin1(def->type);
    QWidget* caption = nullptr;
    if (HasMember(*def, 'L')) {
        caption = MakeLabel(n, parent);
        if (const int limit = CaptionLimit(def->page); limit > 0) caption->setProperty("wrapWidth", limit);
        grid->addWidget(caption, row, 0, Qt::AlignLeft | Qt::AlignVCenter);
    }
    auto* cell = new QWidget(parent);
    auto* h = new QHBoxLayout(cell);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(4);
    if (HasMember(*def, 'T')) {
        auto* box = new QLineEdit(cell);
        Register(ControlKind::TextBox, n, box);
        m_binder.Bind(box, Role::Field, n);
        if (type == QLatin1String("Number")) {
            box->setAlignment(Qt::AlignRight);
            box->setFixedWidth(QFontMetrics(box->font()).horizontalAdvance(QStringLiteral("-000000.0")) + 10);
        } else {
            box->setMinimumWidth(QFontMetrics(box->font()).horizontalAdvance(QLatin1Char('x')) * 14);
        }
        if (IsListType(type)) {
            // A list field is chosen, not typed; while its list is open over it the box keeps
            // its place so the row does not jump.
            box->setReadOnly(true);
            box->setCursor(Qt::PointingHandCursor);
            QSizePolicy keep = box->sizePolicy();
            keep.setRetainSizeWhenHidden(true);
            box->setSizePolicy(keep);
        }
        if (caption) static_cast<QLabel*>(caption)->setBuddy(box);
        h->addWidget(box, type == QLatin1String("Number") ? 0 : 1);
    }
    if (HasMember(*def, 'B')) {
        auto* button = new QToolButton(cell);
        button->setArrowType(Qt::DownArrow);
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRaise(false);
        button->setFixedWidth(20);
        Register(ControlKind::ListButton, n, button);
        m_binder.Bind(button, Role::ListButton, n);
        h->addWidget(button);
    }
    if (HasMember(*def, 'U')) {
        auto* unit = new ClickLabel(cell);
        unit->setCursor(Qt::PointingHandCursor);
        unit->setMinimumWidth(QFontMetrics(unit->font()).horizontalAdvance(QStringLiteral("Btu/h")));
        Register(ControlKind::UnitLabel, n, unit);
        m_binder.Bind(unit, Role::UnitLabel, n);
        h->addWidget(unit);
    }
    if (type == QLatin1String("Number")) h->addStretch();
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
    auto* table = new QTableWidget(parent);
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
    } else if (SideBySide(n)) {
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
            rest.push_back({ItemKind::Frame, d.number});
    for (const FieldDef& d : FieldDefinitions())
        if (d.page == page && !Built(ControlKind::TextBox, d.number))
            rest.push_back({ItemKind::Field, d.number});
    for (const LabelDef& d : LabelDefinitions())
        if (d.page == page && !Built(ControlKind::Label, d.number))
            rest.push_back({ItemKind::Label, d.number});
    for (const PlacedDef& d : ButtonDefinitions())
        if (d.page == page && !Built(ControlKind::Button, d.number))
            rest.push_back({ItemKind::Button, d.number});
    for (const GridDef& d : GridDefinitions())
        if (d.page == page && !Built(ControlKind::Grid, d.number)) rest.push_back({ItemKind::Grid, d.number});
    for (const PlacedDef& d : SpecLinkDefinitions())
        if (d.page == page && !Built(ControlKind::SpecLink, d.number))
            rest.push_back({ItemKind::SpecLink, d.number});
    if (page == 0 && !Built(ControlKind::Check, 0)) rest.push_back({ItemKind::Check, 0});
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
