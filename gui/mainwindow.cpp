#include "gui/mainwindow.h"

#include "commands/commands.h"
#include "base/platform.h"
#include "definitions/windowdefinition.h"
#include "gui/painter.h"
#include "gui/qtplatform.h"
#include "gui/shortcuts.h"
#include "gui/widgets.h"

#include <QApplication>
#include <QCloseEvent>
#include <QShowEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QTranslator>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace corvane {

namespace {

constexpr int MaxDispatchDepth = 12; // focus changes that keep answering each other stop here

bool SameFocus(const FocusRef& a, const FocusRef& b) {
    return a.kind == b.kind && a.number == b.number;
}

} // namespace

MainWindow::MainWindow(State& state, QWidget* parent)
    : QWidget(parent), m_s(state), m_painter(state), m_binder(new Binder(state, *this, this)) {
    setObjectName(QStringLiteral("FrmMain"));
    setFont(WindowFont());
    m_arrows.back = Picture(QStringLiteral("arrow_back.png"));
    m_arrows.backFocus = Picture(QStringLiteral("arrow_back_focus.png"));
    m_arrows.forward = Picture(QStringLiteral("arrow_forward.png"));
    m_arrows.forwardFocus = Picture(QStringLiteral("arrow_forward_focus.png"));

    PageBuilder builder(m_s, *m_binder, m_widgets, m_arrows);
    BuildLeftColumn(builder);
    BuildPageArea(builder);
    builder.BuildLists();

    // The cell editors ride on their cells when a grid scrolls.
    for (int g : {200, 300})
        if (auto* table = qobject_cast<QTableWidget*>(m_widgets.Find(ControlKind::Grid, g))) {
            const auto follow = [this] {
                if (Painting()) return;
                ++m_painting;
                PlaceCellEditors();
                PlaceLists();
                --m_painting;
            };
            connect(table->horizontalScrollBar(), &QScrollBar::valueChanged, this, follow);
            connect(table->verticalScrollBar(), &QScrollBar::valueChanged, this, follow);
            connect(table->horizontalHeader(), &QHeaderView::sectionResized, this, follow);
            connect(table->verticalHeader(), &QHeaderView::sectionResized, this, follow);
        }

    PrepareKeyboard();
    PrepareBalanceNote();
    // The space of the product commands stays reserved while they are hidden, so the grid
    // below never moves under the pointer.
    if (QWidget* commands = m_widgets.Find(ControlKind::Frame, 10)) {
        QSizePolicy keep = commands->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        commands->setSizePolicy(keep);
    }

    qApp->installEventFilter(this);
    if (auto* qt = dynamic_cast<QtPlatform*>(&m_s.platform))
        qt->AttachWindow(this, [this] { RepaintDirty(); });

    // 9600 x 7200 twips inside the frame, at start and as the least size.
    const QSize inner(9600 / TwipsPerPixel, 7200 / TwipsPerPixel);
    setMinimumSize(inner);
    resize(inner);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(inner.width() / 2, inner.height() / 2));
    }
    m_s.MarkAllDirty();
    RepaintDirty();
    if (QWidget* target = m_binder->FocusTarget(m_s.focus))
        target->setFocus(Qt::OtherFocusReason);
    else if (QWidget* first = m_widgets.Find(ControlKind::Button, 0))
        first->setFocus(Qt::OtherFocusReason);   // the logo page answers the keyboard too
}

void MainWindow::PrepareKeyboard() {
    // The grids are reached with Tab like any control; Tab then leaves them instead of
    // walking their cells (the cells are walked with the arrows, Enter and the editor).
    for (int g : {200, 300})
        if (auto* table = qobject_cast<QTableWidget*>(m_widgets.Find(ControlKind::Grid, g))) {
            table->setFocusPolicy(Qt::StrongFocus);
            table->setTabKeyNavigation(false);
        }
    const QString back = QKeySequence(PreviousPageKeys).toString(QKeySequence::NativeText);
    const QString forward = QKeySequence(NextPageKeys).toString(QKeySequence::NativeText);
    for (QWidget* arrow : findChildren<QWidget*>()) {
        if (arrow->objectName().startsWith(QLatin1String("TABBPIC_"))) arrow->setToolTip(back);
        if (arrow->objectName().startsWith(QLatin1String("TABFPIC_"))) arrow->setToolTip(forward);
    }
}

void MainWindow::PrepareBalanceNote() {
    // One line under the balance fields that says why there is no balance.
    QWidget* last = m_widgets.fieldRows.count(562) ? m_widgets.fieldRows.at(562) : nullptr;
    if (!last || !last->parentWidget()) return;
    m_balanceNote = new QLabel(last->parentWidget());
    m_balanceNote->setObjectName(QStringLiteral("BalanceNote"));
    m_balanceNote->setWordWrap(true);
    m_balanceNote->hide();
    const std::function<QGridLayout*(QLayout*)> holder = [&](QLayout* layout) -> QGridLayout* {
        if (!layout) return nullptr;
        if (auto* grid = qobject_cast<QGridLayout*>(layout); grid && grid->indexOf(last) >= 0) return grid;
        for (int i = 0; i < layout->count(); ++i)
            if (QGridLayout* found = holder(layout->itemAt(i)->layout())) return found;
        return nullptr;
    };
    if (QGridLayout* grid = holder(last->parentWidget()->layout()))
        grid->addWidget(m_balanceNote, grid->rowCount(), 0, 1, grid->columnCount());
}

void MainWindow::ApplyToolkitLanguage() {
    // The toolkit's own texts (Yes, No, Cancel in message boxes and dialogs) in the language
    // of the language file, from the toolkit's translations where they are installed.
    if (m_toolkitLanguage == m_s.localeName) return;
    m_toolkitLanguage = m_s.localeName;
    if (m_toolkitTranslator) {
        QCoreApplication::removeTranslator(m_toolkitTranslator);
        delete m_toolkitTranslator;
        m_toolkitTranslator = nullptr;
    }
    if (m_s.localeName.isEmpty() || m_s.localeName == QLatin1String("en")) return;
    auto* translator = new QTranslator(this);
    if (translator->load(QStringLiteral("qtbase_") + m_s.localeName,
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
        m_toolkitTranslator = translator;
    } else {
        m_s.WriteLog(QStringLiteral("View: no toolkit translation for ") + m_s.localeName);
        delete translator;
    }
}

MainWindow::~MainWindow() {
    // Closing the window while it is taken apart moves the focus; nothing of that is the
    // user's doing, so the binder goes first.
    m_ending = true;
    qApp->removeEventFilter(this);
    // The grids' scroll bars and headers report to the window; they go quiet first.
    for (QObject* child : findChildren<QObject*>()) QObject::disconnect(child, nullptr, this, nullptr);
    delete m_binder;
    m_binder = nullptr;
    if (auto* qt = dynamic_cast<QtPlatform*>(&m_s.platform)) qt->AttachWindow(nullptr, {});
}

QPixmap MainWindow::Picture(const QString& name) const {
    if (name.isEmpty()) return QPixmap();
    const QString path = QFileInfo(name).isAbsolute() ? name : m_s.dataFolder + name;
    QPixmap picture;
    if (!picture.load(path)) return QPixmap(); // a picture that cannot be read is left out
    return picture;
}

// --- building ----------------------------------------------------------------------------------

void MainWindow::BuildLeftColumn(PageBuilder& builder) {
    for (const PlacedDef& d : ButtonDefinitions())
        if (d.page == 0) builder.MakeButton(d.number, this);

    m_hintCaption = new QLabel(this);
    m_hintCaption->setObjectName(QStringLiteral("HintBoxCaption"));
    QFont bold = m_hintCaption->font();
    bold.setBold(true);
    m_hintCaption->setFont(bold);

    m_hint = new QLabel(this);
    m_hint->setObjectName(QStringLiteral("HintBox"));
    m_hint->setWordWrap(true);
    m_hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_hint->setMargin(5);
    m_hint->setFrameShape(QFrame::StyledPanel);
    m_hint->setAutoFillBackground(true);

    m_thumbnail = new ClickLabel(this);
    m_thumbnail->setObjectName(QStringLiteral("ThumbNailLogo"));
    m_thumbnail->setAlignment(Qt::AlignCenter);
    m_thumbnail->setCursor(Qt::PointingHandCursor);
    m_binder->Bind(m_thumbnail, Role::Thumbnail, 0);
}

void MainWindow::BuildPageArea(PageBuilder& builder) {
    m_pageArea = new QWidget(this);
    m_pageArea->setObjectName(QStringLiteral("PageArea"));
    auto* column = new QVBoxLayout(m_pageArea);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    m_banner = new ErrorBanner(m_pageArea);
    m_banner->setObjectName(QStringLiteral("EFRAME"));
    m_banner->hide();
    column->addWidget(m_banner);

    // Every page takes the same rectangle; the state says which one is shown.
    auto* stack = new QGridLayout;
    stack->setContentsMargins(0, 0, 0, 0);
    column->addLayout(stack, 1);
    for (int p = 1; p < PageCount; ++p)
        stack->addWidget(builder.BuildPage(p, m_pageArea), 0, 0);
    stack->addWidget(builder.BuildPage(0, m_pageArea), 0, 0);

    m_logoPanel = new QWidget(m_pageArea);
    auto* centre = new QVBoxLayout(m_logoPanel);
    centre->addStretch();
    m_logo = new QLabel(m_logoPanel);
    m_logo->setObjectName(QStringLiteral("Logo"));
    m_logo->setAlignment(Qt::AlignCenter);
    centre->addWidget(m_logo);
    m_version = new QLabel(m_logoPanel);
    m_version->setObjectName(QStringLiteral("VersionNo"));
    m_version->setAlignment(Qt::AlignCenter);
    centre->addWidget(m_version);
    centre->addStretch();
    stack->addWidget(m_logoPanel, 0, 0);
}

// --- layout and painting -----------------------------------------------------------------------

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutLeftColumn();
    const int left = Margin + m_columnWidth + Margin + 2;
    m_pageArea->setGeometry(left, Margin, width() - left - Margin, height() - 2 * Margin);
    ++m_painting;
    PlaceLists();
    PlaceCellEditors();
    --m_painting;
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_focusPlaced || m_ending) return;
    m_focusPlaced = true;
    // A control of a window not yet shown cannot take the focus, and the first show would hand
    // it to the first control in Tab order; so the control the core chose (the first field of
    // a job opened from the command line) takes it now, and the keys go where the colour says.
    if (QWidget* target = m_binder->FocusTarget(m_s.focus); target && target->isVisible() && !target->hasFocus())
        target->setFocus(Qt::OtherFocusReason);
}

void MainWindow::LayoutLeftColumn() {
    const int buttonHeight = QFontMetrics(font()).height() + 6;
    const int step = buttonHeight + 3;
    int y = Margin;
    const auto place = [&](int n, int x, int w) {
        if (QWidget* b = m_widgets.Find(ControlKind::Button, n)) b->setGeometry(x, y, w, buttonHeight);
    };
    // The page buttons, one under the other, in the order of their pages.
    for (int n = 0; n <= 8; ++n) {
        place(n, Margin, m_columnWidth - 3);
        y += step;
    }
    // The job commands two to a row: open and save, print and e-mail, help.
    y += 6;
    // Captions that do not fit half the column (longer languages) get a row each.
    const int half = (m_columnWidth - 3 - 4) / 2;
    int widest = 0;
    for (int n = 10; n <= 14; ++n)
        if (const Button* b = m_s.buttons.Find(n))
            widest = std::max(widest, QFontMetrics(font()).horizontalAdvance(b->caption));
    if (widest + 8 <= half) {
        const int pairs[][2] = {{10, 11}, {13, 14}, {12, -1}};
        for (const auto& pair : pairs) {
            place(pair[0], Margin, half);
            if (pair[1] >= 0) place(pair[1], Margin + half + 4, half);
            y += step;
        }
    } else {
        for (int n : {10, 11, 13, 14, 12}) {
            place(n, Margin, m_columnWidth - 3);
            y += step;
        }
    }

    // From the bottom up: the thumbnail, the exit button above it, the hint box in between.
    int bottom = height() - Margin;
    if (m_thumbnail->pixmap().isNull()) {
        m_thumbnail->hide();
    } else {
        const QSize size = m_thumbnail->pixmap().deviceIndependentSize().toSize();
        m_thumbnail->setGeometry(Margin, bottom - size.height(), m_columnWidth - 3, size.height());
        bottom -= size.height() + Margin;
    }
    const int exitTop = bottom - buttonHeight;
    if (QWidget* exit = m_widgets.Find(ControlKind::Button, 9))
        exit->setGeometry(Margin, exitTop, m_columnWidth - 3, buttonHeight);
    y += 4;
    const int captionHeight = QFontMetrics(m_hintCaption->font()).height() + 2;
    m_hintCaption->setGeometry(Margin + 2, y, m_columnWidth - 5, captionHeight);
    y += captionHeight + 2;
    m_hint->setGeometry(Margin, y, m_columnWidth - 3, std::max(0, exitTop - Margin - y));
    FitHintText();
}

void MainWindow::FitHintText() {
    // A long hint in a short window gets a smaller type rather than losing its last lines.
    QFont font = WindowFont();
    font.setPointSizeF(font.pointSizeF() * 0.92);
    const int room = m_hint->contentsRect().height() - 2 * m_hint->margin();
    const int width = m_hint->contentsRect().width() - 2 * m_hint->margin();
    while (font.pointSizeF() > 6) {
        const QRect needed =
            QFontMetrics(font).boundingRect(QRect(0, 0, width, 10000), Qt::TextWordWrap, m_hint->text());
        if (needed.height() <= room) break;
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    if (m_hint->font() != font) m_hint->setFont(font);
}

void MainWindow::paintEvent(QPaintEvent*) {
    // The window shades from the BIAS colour at the top downwards; each component rises by
    // 511 * PERCENT / P over the height, P being the inner height in pixels.
    const float p = std::max(1, height());
    const auto component = [&](int k, float i) {
        return std::clamp(static_cast<int>(i * m_s.colours.percent[k] / p + m_s.colours.bias[k]), 0, 255);
    };
    QLinearGradient shade(0, 0, 0, height());
    shade.setColorAt(0, QColor(component(0, 0), component(1, 0), component(2, 0)));
    shade.setColorAt(1, QColor(component(0, 511), component(1, 511), component(2, 511)));
    QPainter painter(this);
    painter.fillRect(rect(), shade);
}

// --- events into the core ----------------------------------------------------------------------

void MainWindow::Dispatch(const std::function<void()>& call) {
    if (m_ending) return;
    if (m_depth >= MaxDispatchDepth) {
        m_s.WriteLog(QStringLiteral("View: events nested too deeply; one was dropped"));
        return;
    }
    const FocusRef before = m_s.focus;
    const std::array<bool, 2> editorsBefore = m_s.cellEditorVisible;
    ++m_depth;
    try {
        call();
    } catch (const ProgramEnd& end) {
        --m_depth;
        EndProgram(end.exitCode);
        return;
    } catch (const std::exception& e) {
        ReportFailure(e.what());
    } catch (...) {
        // Nothing may leave an event handler; an unknown failure is reported like the others.
        ReportFailure("unknown error");
    }
    --m_depth;
    RepaintDirty();
    SyncFocus(before, editorsBefore);
}

void MainWindow::ReportFailure(const char* what) {
    const QString reason = QString::fromLocal8Bit(what);
    m_s.WriteLog(QStringLiteral("View: an action failed: ") + reason);
    const QString title = m_s.baseTitle.isEmpty() ? QApplication::applicationName() : m_s.baseTitle;
    try {
        m_s.platform.MessageBox(
            title,
            QStringLiteral("This action could not be completed:\n\n") + reason +
                QStringLiteral("\n\nThe job stays open; please check the values entered."),
            Box::Ok | Box::Stop);
    } catch (...) {
        // The message itself failed; the log line above has to do.
    }
}

void MainWindow::EndProgram(int code) {
    m_ending = true;
    m_exitCode = code;
    m_s.WriteLog(QStringLiteral("View: program ends with code ") + QString::number(code));
    Q_EMIT programEnded(code);
    close();
    // After close(): quitting on the last window would otherwise set the code back to 0.
    QCoreApplication::exit(code);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_ending) {
        event->accept();
        return;
    }
    bool allow = true;
    Dispatch([&] { allow = CloseRequest(m_s); });
    if (m_ending || allow) {
        m_ending = true;
        event->accept();
    } else {
        event->ignore();
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || Painting()) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this) return false;
    return WindowKey(static_cast<QKeyEvent*>(event));
}

bool MainWindow::WindowKey(QKeyEvent* event) {
    const QKeyCombination keys = event->keyCombination();
    for (const CommandShortcut& c : CommandShortcuts)
        if (c.keys == keys) {
            Dispatch([&] { RunCommand(m_s, c.button); });
            return true;
        }
    if (keys == PreviousPageKeys || keys == NextPageKeys) {
        // As the page's arrows turn it; from the logo the first page comes.
        const int page = m_s.currentPage;
        const int button = page == 0 ? (keys == NextPageKeys ? 0 : -1)
                                     : keys == NextPageKeys ? ForwardArrowButton(page) : BackArrowButton(page);
        if (button >= 0) Dispatch([&] { RunCommand(m_s, button); });
        return true;
    }
    // Keys with Ctrl held alone belong to the window, whichever control has the focus.
    if (event->modifiers() != Qt::ControlModifier) return false;
    switch (event->key()) {
    case Qt::Key_A:
        Dispatch([&] { ControlKey(m_s, 'A'); });
        return true;
    case Qt::Key_D:
        Dispatch([&] { ControlKey(m_s, 'D'); });
        return true;
    case Qt::Key_L:
        Dispatch([&] { ControlKey(m_s, 'L'); });
        return true;
    case Qt::Key_G:
        if (m_s.currentPage != 6) return false;
        // The candidate grids of the equipment page, shown and hidden for a closer look.
        Dispatch([&] {
            for (int g : {520, 540}) {
                Grid& grid = m_s.grids[g];
                grid.visible = !grid.visible;
                m_s.MarkDirty(ControlKind::Grid, g);
            }
            m_s.candidateGridsVisible = m_s.grids[520].visible;
        });
        return true;
    default:
        return false;
    }
}

// --- focus -------------------------------------------------------------------------------------

void MainWindow::SyncFocus(const FocusRef& before, const std::array<bool, 2>& editorsBefore) {
    if (m_ending) return;
    // A cell editor the core has just put over a cell takes the focus at once.
    for (int i = 0; i < 2; ++i) {
        QLineEdit* editor = m_widgets.cellEditors[i];
        if (editorsBefore[i] || !m_s.cellEditorVisible[i] || !editor || !editor->isVisible()) continue;
        if (!editor->hasFocus()) editor->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (!SameFocus(m_s.focus, before)) {
        if (QWidget* target = m_binder->FocusTarget(m_s.focus)) {
            // The control that had the focus may have gone out of sight with its page while the
            // window was repainted, unheard by the core: it leaves first (an open list closes),
            // so nothing stays open on a page the user comes back to.
            if (QWidget* owner = m_binder->Owner();
                owner && owner != target && owner->parentWidget() && !owner->parentWidget()->isVisible())
                m_binder->ReleaseHiddenOwner();
            if (focusWidget() != target || !target->hasFocus()) target->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    // The core hid the control that had the focus and named no other: it has lost the focus.
    if (QWidget* owner = m_binder->Owner(); owner && !owner->isVisible()) {
        m_binder->ReleaseHiddenOwner();
        ParkFocus();
    }
}

void MainWindow::ParkFocus() {
    // Qt moved the focus on by itself while controls were hidden; leave it on the page
    // instead of on a field the core was never told about.
    QWidget* current = focusWidget();
    if (current && current == m_binder->Owner()) return;
    ++m_painting;
    if (QWidget* page = m_widgets.Find(ControlKind::Page, m_s.currentPage); page && page->isVisible())
        page->setFocus(Qt::OtherFocusReason);
    else
        setFocus(Qt::OtherFocusReason);
    --m_painting;
}

} // namespace corvane
