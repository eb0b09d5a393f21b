// The main window, built offscreen on a real start-up and driven with the mouse and keyboard.

#include "definitions/windowdefinition.h"
#include "gui/mainwindow.h"
#include "tests/support/testprogram.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>

using namespace corvane;

namespace {

// One run of the program with its window on screen.
class Running {
public:
    Running() : s(program.Start()), window(s) { window.show(); }
    bool Ready() { return QTest::qWaitForWindowActive(&window); }
    template <class T = QWidget>
    T* Find(const QString& name) const {
        return window.findChild<T*>(name);
    }
    QList<int> VisiblePages() const {
        QList<int> shown;
        for (int p = 0; p < PageCount; ++p)
            if (QWidget* page = Find(QStringLiteral("FRAME_%1").arg(p)); page && page->isVisible()) shown << p;
        return shown;
    }
    void Click(const QString& name) {
        QWidget* w = Find(name);
        QVERIFY2(w, qPrintable(name));
        QTest::mouseClick(w, Qt::LeftButton);
    }
    // Gives field n the focus as a click would, with its whole text selected.
    QLineEdit* Enter(int n) {
        auto* box = Find<QLineEdit>(QStringLiteral("TEXTBOX_%1").arg(n));
        if (!box) return nullptr;
        box->setFocus(Qt::MouseFocusReason);
        QCoreApplication::processEvents();
        box->selectAll();
        return box;
    }

    test::TestProgram program;
    State& s;
    MainWindow window;
};

// The object names every control of the window definition must have exactly once.
QStringList DefinedControlNames() {
    QStringList names;
    const auto add = [&](ControlKind kind, int n) { names << ObjectName(kind, n); };
    for (const FieldDef& f : FieldDefinitions()) {
        if (HasMember(f, 'T')) add(ControlKind::TextBox, f.number);
        if (HasMember(f, 'L')) add(ControlKind::Label, f.number);
        if (HasMember(f, 'U')) add(ControlKind::UnitLabel, f.number);
        if (HasMember(f, 'O')) add(ControlKind::OptionList, f.number);
        if (HasMember(f, 'B')) add(ControlKind::ListButton, f.number);
    }
    for (const LabelDef& d : LabelDefinitions()) add(ControlKind::Label, d.number);
    for (const PlacedDef& d : RadioDefinitions()) add(ControlKind::Radio, d.number);
    for (const PlacedDef& d : FrameDefinitions()) add(ControlKind::Frame, d.number);
    for (const PlacedDef& d : ButtonDefinitions()) {
        add(ControlKind::Button, d.number);
        add(ControlKind::Shadow, d.number);
    }
    for (const PlacedDef& d : LinkDefinitions()) add(ControlKind::Link, d.number);
    for (const PlacedDef& d : SpecLinkDefinitions()) add(ControlKind::SpecLink, d.number);
    for (const PlacedDef& d : ListDefinitions()) add(ControlKind::OptionList, d.number);
    for (const GridDef& d : GridDefinitions()) add(ControlKind::Grid, d.number);
    for (int p = 0; p < PageCount; ++p) add(ControlKind::Page, p);
    add(ControlKind::Check, 0);
    names << QStringLiteral("HintBox") << QStringLiteral("HintBoxCaption") << QStringLiteral("ThumbNailLogo")
          << QStringLiteral("Logo") << QStringLiteral("VersionNo") << QStringLiteral("EFRAME")
          << QStringLiteral("EBANNER") << QStringLiteral("FileHistoryList") << QStringLiteral("MSFlexText_200")
          << QStringLiteral("MSFlexText_300");
    names.removeDuplicates();
    return names;
}

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

    // Looking around changes nothing, so the tests that only look share one run.
    Running& Shared() {
        if (!m_shared) m_shared = std::make_unique<Running>();
        return *m_shared;
    }
    std::unique_ptr<Running> m_shared;

private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale::c()); }
    void cleanupTestCase() { m_shared.reset(); }

    void atStart_noPageIsShownButTheLogo() {
        Running& run = Shared();
        QVERIFY(run.Ready());
        QCOMPARE(run.VisiblePages(), QList<int>());
        QVERIFY(run.Find(QStringLiteral("Logo"))->isVisible());
        QCOMPARE(run.Find<QLabel>(QStringLiteral("VersionNo"))->text(), run.s.versionText);
        QCOMPARE(run.window.size(), QSize(640, 480));
        QCOMPARE(run.window.minimumSize(), QSize(640, 480));
    }

    void everyDefinedControl_hasExactlyOneWidget() {
        Running& run = Shared();
        for (const QString& name : DefinedControlNames()) {
            const int found = static_cast<int>(run.window.findChildren<QWidget*>(name).size());
            QVERIFY2(found == 1, qPrintable(name + QStringLiteral(" found %1 times").arg(found)));
        }
        QVERIFY(run.program.platform.unexpected.isEmpty());
    }

    void clickingAPageButton_showsExactlyThatPage_data() {
        QTest::addColumn<QString>("clicked");
        QTest::addColumn<int>("page");
        QTest::newRow("jobButton_showsCustomerPage") << "BUTT_0" << 1;
        QTest::newRow("recentJobsButton_showsHistoryPage") << "BUTT_1" << 2;
        QTest::newRow("boxButton_showsWallPage") << "BUTT_2" << 3;
        QTest::newRow("productsButton_showsProductPage") << "BUTT_3" << 4;
        QTest::newRow("otherLoadsButton_showsLoadsPage") << "BUTT_4" << 5;
        QTest::newRow("equipmentButton_showsEquipmentPage") << "BUTT_5" << 6;
        QTest::newRow("infiltrationButton_showsInfiltrationPage") << "BUTT_6" << 7;
        QTest::newRow("contactsButton_showsContactsPage") << "BUTT_7" << 8;
        QTest::newRow("optionsButton_showsOptionsPage") << "BUTT_8" << 9;
    }
    void clickingAPageButton_showsExactlyThatPage() {
        QFETCH(QString, clicked);
        QFETCH(int, page);
        Running& run = Shared();
        QVERIFY(run.Ready());
        run.Click(QStringLiteral("BUTT_4"));   // another page first, so the switch is seen
        run.Click(clicked);
        QCOMPARE(run.VisiblePages(), QList<int>{page});
        QVERIFY(!run.Find(QStringLiteral("Logo"))->isVisible());
        // The page's button carries the raised look of the page on view.
        if (page != 2) QVERIFY(run.Find(QString(clicked).replace(QStringLiteral("BUTT"), QStringLiteral("SHADOW")))->isVisible());
    }

    void pageTurnArrow_runsItsButton_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("arrow");
        QTest::addColumn<int>("page");
        QTest::newRow("forwardOnCustomerPage_goesToWalls") << "BUTT_0" << "TABFPIC_1" << 3;
        QTest::newRow("forwardOnWallPage_goesToInfiltration") << "BUTT_2" << "TABFPIC_3" << 7;
        QTest::newRow("backOnProductPage_goesToInfiltration") << "BUTT_3" << "TABBPIC_4" << 7;
        QTest::newRow("backOnOptionsPage_goesToCustomer") << "BUTT_8" << "TABBPIC_9" << 1;
    }
    void pageTurnArrow_runsItsButton() {
        QFETCH(QString, start);
        QFETCH(QString, arrow);
        QFETCH(int, page);
        Running& run = Shared();
        QVERIFY(run.Ready());
        run.Click(start);
        run.Click(arrow);
        QCOMPARE(run.VisiblePages(), QList<int>{page});
    }

    void typingIntoAField_andLeavingIt_reachesTheCore() {
        Running run;
        QVERIFY(run.Ready());
        run.Click(QStringLiteral("BUTT_0"));
        QLineEdit* box = run.Enter(103);
        QVERIFY(box && box->hasFocus());
        QTest::keyClicks(box, QStringLiteral("40"));
        QTest::keyClick(box, Qt::Key_Tab);
        QVERIFY(!box->hasFocus());
        QCOMPARE(run.s.textBoxes[103].text, QStringLiteral("40"));
        QCOMPARE(run.s.textBoxes[103].tag, QStringLiteral("40"));
        // The box temperature's twin on the product page follows, and its widget shows it.
        QCOMPARE(run.Find<QLineEdit>(QStringLiteral("TEXTBOX_312"))->text(), run.s.textBoxes[312].text);
        QCOMPARE(run.s.textBoxes[312].tag, QStringLiteral("40"));
    }

    void keysTypedIntoAField_passTheCoreFilter_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("numberField_dropsLetters") << 103 << "4x0" << "40";
        QTest::newRow("numberField_takesMinusOnlyAtStart") << 103 << "-5-" << "-5";
        QTest::newRow("numberField_takesOneDecimalPoint") << 102 << "9.5.1" << "9.51";
        QTest::newRow("textField_takesLetters") << 0 << "Acme 2" << "Acme 2";
    }
    void keysTypedIntoAField_passTheCoreFilter() {
        QFETCH(int, field);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        Running& run = Shared();
        QVERIFY(run.Ready());
        run.Click(QStringLiteral("BUTT_0"));
        QLineEdit* box = run.Enter(field);
        QVERIFY(box);
        QTest::keyClicks(box, typed);
        QCOMPARE(box->text(), shown);
        QCOMPARE(run.s.textBoxes[field].text, shown);
    }

    void listButton_opensTheListOverItsField_andEnterCommitsTheHighlight() {
        Running run;
        QVERIFY(run.Ready());
        run.Click(QStringLiteral("BUTT_5"));
        auto* box = run.Find<QLineEdit>(QStringLiteral("TEXTBOX_504"));
        auto* list = run.Find<QListWidget>(QStringLiteral("OPTIONLIST_504"));
        QVERIFY(run.s.optionLists[504].items.size() >= 3);
        run.Click(QStringLiteral("LISTBUTTON_504"));
        QCOMPARE(run.s.openList, 504);
        QVERIFY(list->isVisible());
        QVERIFY(list->hasFocus());
        const int expected = std::min(std::max(list->currentRow(), -1) + 2, list->count() - 1);
        QVERIFY(list->geometry().intersects(QRect(box->mapTo(list->parentWidget(), QPoint()), box->size())));
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Down);
        QVERIFY(list->isVisible());   // moving the highlight commits nothing
        const QString chosen = run.s.optionLists[504].items.value(expected);
        QCOMPARE(list->currentRow(), expected);
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(!list->isVisible());
        QCOMPARE(run.s.textBoxes[504].text, chosen);
        QCOMPARE(box->text(), chosen);
        QVERIFY(box->isVisible());
    }

    void clickingAProductCell_putsTheEditorOverIt_andTypingWritesTheCell() {
        Running run;
        QVERIFY(run.Ready());
        run.Click(QStringLiteral("BUTT_3"));
        auto* grid = run.Find<QTableWidget>(QStringLiteral("GRID_300"));
        auto* editor = run.Find<QLineEdit>(QStringLiteral("MSFlexText_300"));
        const QRect cell = grid->visualRect(grid->model()->index(3, 2));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QVERIFY(editor->isVisible());
        QVERIFY(editor->hasFocus());
        QVERIFY(cell.contains(editor->geometry().center()));
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("250"));
        QCOMPARE(run.s.grids[300].Text(3, 2), QStringLiteral("250"));
        QCOMPARE(grid->item(3, 2)->text(), QStringLiteral("250"));
        // Enter moves the editor down to the next row of the same product.
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(run.s.grids[300].row, 4);
        QVERIFY(grid->visualRect(grid->model()->index(4, 2)).contains(editor->geometry().center()));
    }

    void ctrlG_onTheEquipmentPage_showsAndHidesTheCandidateGrids() {
        Running run;
        QVERIFY(run.Ready());
        run.Click(QStringLiteral("BUTT_5"));
        QWidget* grid = run.Find(QStringLiteral("GRID_520"));
        QVERIFY(!grid->isVisible());
        QTest::keyClick(run.Find(QStringLiteral("FRAME_6")), Qt::Key_G, Qt::ControlModifier);
        QVERIFY(grid->isVisible());
        QVERIFY(run.Find(QStringLiteral("GRID_540"))->isVisible());
        QTest::keyClick(run.Find(QStringLiteral("FRAME_6")), Qt::Key_G, Qt::ControlModifier);
        QVERIFY(!grid->isVisible());
    }

    void failedChecks_showTheBannerWithTheirTexts() {
        Running run;
        QVERIFY(run.Ready());
        run.Click(QStringLiteral("BUTT_0"));
        QLineEdit* box = run.Enter(103);
        QTest::keyClicks(box, QStringLiteral("150"));   // warmer than the room around it
        QTest::keyClick(box, Qt::Key_Tab);
        QVERIFY(run.s.errorFrameVisible);
        QVERIFY(run.Find(QStringLiteral("EFRAME"))->isVisible());
        QCOMPARE(run.Find<QLabel>(QStringLiteral("EBANNER"))->text(), run.s.bannerText);
        QVERIFY(run.s.bannerText.contains(run.s.errorTexts[3]));
    }

    void aFailingCoreCall_isReported_andTheWindowCarriesOn() {
        Running run;
        QVERIFY(run.Ready());
        run.Click(QStringLiteral("BUTT_0"));
        run.s.events.textChanged = [](int) { throw std::runtime_error("rule table damaged"); };
        run.program.platform.answers << Box::AnswerOk;
        QTest::keyClicks(run.Enter(0), QStringLiteral("A"));
        QCOMPARE(run.program.platform.messages.size(), 1);
        QVERIFY(run.program.platform.messages[0].text.contains(QStringLiteral("rule table damaged")));
        QVERIFY(run.window.isVisible());
        QVERIFY(!run.window.Ending());
    }

    void exitButton_endsTheProgram() {
        Running run;
        QVERIFY(run.Ready());
        QSignalSpy ended(&run.window, &MainWindow::programEnded);
        run.Click(QStringLiteral("BUTT_9"));
        QCOMPARE(ended.size(), 1);
        QCOMPARE(ended[0][0].toInt(), 0);
        QVERIFY(!run.window.isVisible());
    }

    void closeBox_withUnsavedChanges_asksAndNoKeepsTheWindow() {
        Running run;
        QVERIFY(run.Ready());
        run.s.flags.jobModified = true;
        run.program.platform.answers << Box::AnswerNo;
        QVERIFY(!run.window.close());
        QVERIFY(run.window.isVisible());
        QCOMPARE(run.program.platform.messages.size(), 1);
        run.program.platform.answers << Box::AnswerYes;
        QVERIFY(run.window.close());
    }

    // Not a check: with CORVANE_SCREENSHOTS naming a folder, saves a picture of every page.
    void screenshots() {
        const QString folder = qEnvironmentVariable("CORVANE_SCREENSHOTS");
        if (folder.isEmpty()) QSKIP("set CORVANE_SCREENSHOTS to a folder to save pictures of the pages");
        Running run;
        QVERIFY(run.Ready());
        for (const QSize size : {QSize(640, 480), QSize(960, 700)}) {
            run.window.resize(size);
            QTest::qWait(50);
            const QString suffix = QStringLiteral("_%1.png").arg(size.width());
            run.window.grab().save(folder + QStringLiteral("/start") + suffix);
            for (int b = 0; b <= 8; ++b) {
                run.Click(QStringLiteral("BUTT_%1").arg(b));
                QTest::qWait(50);
                run.window.grab().save(folder + QStringLiteral("/page%1").arg(b == 0 ? 1 : b + 1) + suffix);
            }
        }
        run.window.resize(640, 480);
        run.Click(QStringLiteral("BUTT_5"));
        run.Click(QStringLiteral("LISTBUTTON_520"));
        QTest::qWait(50);
        run.window.grab().save(folder + QStringLiteral("/list520.png"));
        QTest::keyClick(run.Find(QStringLiteral("FRAME_6")), Qt::Key_G, Qt::ControlModifier);
        run.Click(QStringLiteral("BUTT_2"));
        auto* walls = run.Find<QTableWidget>(QStringLiteral("GRID_200"));
        QTest::mouseClick(walls->viewport(), Qt::LeftButton, {}, walls->visualRect(walls->model()->index(2, 2)).center());
        QTest::qWait(50);
        run.window.grab().save(folder + QStringLiteral("/walleditor.png"));
        QTest::mouseClick(walls->viewport(), Qt::LeftButton, {}, walls->visualRect(walls->model()->index(6, 3)).center());
        QTest::qWait(50);
        run.window.grab().save(folder + QStringLiteral("/walllist.png"));
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
