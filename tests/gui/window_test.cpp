// The main window, built offscreen on a real start-up and driven with the mouse and keyboard.

#include "definitions/windowdefinition.h"
#include "gui/mainwindow.h"
#include "input/fieldrules.h"
#include "tests/gui/runningwindow.h"
#include "tests/support/testprogram.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>

using namespace corvane;

namespace {

using Running = test::RunningWindow;

// The object names every control of the window definition must have exactly once.
QStringList DefinedControlNames() {
    QStringList names;
    const auto add = [&](ControlKind kind, int n) { names << ObjectName(kind, n); };
    for (const FieldDef& f : FieldDefinitions()) {
        if (HasMember(f, Member::TextBox)) add(ControlKind::TextBox, f.number);
        if (HasMember(f, Member::Caption)) add(ControlKind::Label, f.number);
        if (HasMember(f, Member::Unit)) add(ControlKind::UnitLabel, f.number);
        if (HasMember(f, Member::OptionList)) add(ControlKind::OptionList, f.number);
        if (HasMember(f, Member::ListButton)) add(ControlKind::ListButton, f.number);
    }
    for (const LabelDef& d : LabelDefinitions())
        add(ControlKind::Label, d.number);
    for (const PlacedDef& d : RadioDefinitions())
        add(ControlKind::Radio, d.number);
    for (const PlacedDef& d : FrameDefinitions())
        add(ControlKind::Frame, d.number);
    for (const PlacedDef& d : ButtonDefinitions()) {
        add(ControlKind::Button, d.number);
        add(ControlKind::Shadow, d.number);
    }
    for (const PlacedDef& d : LinkDefinitions())
        add(ControlKind::Link, d.number);
    for (const PlacedDef& d : SpecLinkDefinitions())
        add(ControlKind::SpecLink, d.number);
    for (const PlacedDef& d : ListDefinitions())
        add(ControlKind::OptionList, d.number);
    for (const GridDef& d : GridDefinitions())
        add(ControlKind::Grid, d.number);
    for (int p = 0; p < PageCount; ++p)
        add(ControlKind::Page, p);
    add(ControlKind::Check, 0);
    names << QStringLiteral("HintBox") << QStringLiteral("HintBoxCaption") << QStringLiteral("ThumbNailLogo")
          << QStringLiteral("Logo") << QStringLiteral("VersionNo") << QStringLiteral("EFRAME")
          << QStringLiteral("EBANNER") << QStringLiteral("FileHistoryList")
          << QStringLiteral("MSFlexText_200") << QStringLiteral("MSFlexText_300");
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
        // The window opens at 640 x 480, or wider when the language's captions need it.
        QCOMPARE(run.window.height(), 480);
        QVERIFY(run.window.width() >= 640);
        QCOMPARE(run.window.minimumSize().height(), 480);
        QVERIFY(run.window.minimumSize().width() >= 640);
    }

    void everyDefinedControl_hasExactlyOneWidget() {
        Running& run = Shared();
        for (const QString& name : DefinedControlNames()) {
            const int found = static_cast<int>(run.window.findChildren<QWidget*>(name).size());
            QVERIFY2(found == 1, qPrintable(name + QStringLiteral(" found %1 times").arg(found)));
        }
        QVERIFY(run.program.platform.unexpected.isEmpty());
    }

    // Each page button shows its page and no other, and the page fits the smallest window.
    void pageButton_showsExactlyThatPage_fittingTheSmallestWindow_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("page");
        QTest::newRow("job_customerPage") << 0 << 1;
        QTest::newRow("recentJobs_historyPage") << 1 << 2;
        QTest::newRow("box_wallPage") << 2 << 3;
        QTest::newRow("products_productPage") << 3 << 4;
        QTest::newRow("otherLoads_loadsPage") << 4 << 5;
        QTest::newRow("equipment_equipmentPage") << 5 << 6;
        QTest::newRow("infiltration_infiltrationPage") << 6 << 7;
        QTest::newRow("contacts_contactsPage") << 7 << 8;
        QTest::newRow("options_optionsPage") << 8 << 9;
    }
    void pageButton_showsExactlyThatPage_fittingTheSmallestWindow() {
        QFETCH(int, button);
        QFETCH(int, page);
        Running& run = Shared();
        QVERIFY(run.Ready());
        const QSize size = run.window.size();
        run.window.resize(run.window.minimumSize());
        run.Click(QStringLiteral("BUTT_4")); // another page first, so the switch is seen
        run.Click(QStringLiteral("BUTT_%1").arg(button));
        QCOMPARE(run.VisiblePages(), QList<int>{page});
        QVERIFY(!run.Find(QStringLiteral("Logo"))->isVisible());
        // The page's button carries the raised look of the page on view.
        if (page != 2) QVERIFY(run.Find(QStringLiteral("SHADOW_%1").arg(button))->isVisible());
        auto* scroll = run.Find(QStringLiteral("FRAME_%1").arg(page))->findChild<QScrollArea*>();
        QVERIFY(scroll);
        // The grids scroll their own columns; everything else must fit the page's width.
        QVERIFY2(scroll->widget()->minimumSizeHint().width() <= scroll->viewport()->width(),
                 qPrintable(QStringLiteral("needs %1 of %2 pixels")
                                .arg(scroll->widget()->minimumSizeHint().width())
                                .arg(scroll->viewport()->width())));
        run.window.resize(size);
    }

    void pageTurnArrow_runsItsButton_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("arrow");
        QTest::addColumn<int>("page");
        QTest::newRow("forwardOnCustomerPage_goesToWalls") << "BUTT_0"
                                                           << "TABFPIC_1" << 3;
        QTest::newRow("forwardOnWallPage_goesToInfiltration") << "BUTT_2"
                                                              << "TABFPIC_3" << 7;
        QTest::newRow("backOnProductPage_goesToInfiltration") << "BUTT_3"
                                                              << "TABBPIC_4" << 7;
        QTest::newRow("backOnOptionsPage_goesToCustomer") << "BUTT_8"
                                                          << "TABBPIC_9" << 1;
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
        QTest::newRow("numberField_dropsLetters") << 103 << "4x0"
                                                  << "40";
        QTest::newRow("numberField_takesMinusOnlyAtStart") << 103 << "-5-"
                                                           << "-5";
        QTest::newRow("numberField_takesOneDecimalPoint") << 102 << "9.5.1"
                                                          << "9.51";
        QTest::newRow("textField_takesLetters") << 0 << "Acme 2"
                                                << "Acme 2";
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

    void clickingAProductCell_putsTheEditorOverIt_andTypingWritesTheCell() {
        Running run;
        QVERIFY(run.Ready());
        run.Click(QStringLiteral("BUTT_3"));
        auto* grid = run.Find<QTableWidget>(QStringLiteral("GRID_300"));
        auto* editor = run.Find<QLineEdit>(QStringLiteral("MSFlexText_300"));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(3, 2)).center());
        QVERIFY(editor->isVisible());
        QVERIFY(editor->hasFocus());
        QVERIFY(grid->visualRect(grid->model()->index(3, 2)).contains(editor->geometry().center()));
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

    void enterAndEscapeInAField_areHandledByTheCore() {
        Running run;
        QVERIFY(run.Ready());
        run.Click(QStringLiteral("BUTT_0"));
        QLineEdit* customer = run.Enter(0);
        QTest::keyClick(customer, Qt::Key_Return);
        QVERIFY(run.Find(QStringLiteral("TEXTBOX_1"))->hasFocus()); // Enter moves on
        QCOMPARE(run.s.textBoxes[0].text, QString());               // and inserts nothing
        QLineEdit* box = run.Enter(103);
        const QString before = box->text();
        QTest::keyClicks(box, QStringLiteral("12"));
        QTest::keyClick(box, Qt::Key_Escape);
        QCOMPARE(box->text(), before);
        QCOMPARE(run.s.textBoxes[103].text, before);
    }

    void optionButtons_showTheCoreChoice_andTheFramesItControls_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<int>("radio");
        QTest::addColumn<int>("cleared");
        QTest::addColumn<QString>("shownFrame");
        QTest::addColumn<QString>("hiddenFrame");
        QTest::newRow("doorMethod_showsDoorFrame") << "BUTT_6" << 601 << 600 << "CFRAME_602"
                                                   << "CFRAME_601";
        QTest::newRow("ventilationMethod_showsVentilationFrame") << "BUTT_6" << 602 << 600 << "CFRAME_603"
                                                                 << "CFRAME_601";
        QTest::newRow("outdoorBox_clearsIndoor") << "BUTT_2" << 101 << 100 << "CFRAME_100"
                                                 << "";
    }
    void optionButtons_showTheCoreChoice_andTheFramesItControls() {
        QFETCH(QString, page);
        QFETCH(int, radio);
        QFETCH(int, cleared);
        QFETCH(QString, shownFrame);
        QFETCH(QString, hiddenFrame);
        Running run;
        QVERIFY(run.Ready());
        run.Click(page);
        run.Click(QStringLiteral("RADIO_%1").arg(radio));
        QVERIFY(run.s.radios[radio].value);
        QVERIFY(!run.s.radios[cleared].value);
        QVERIFY(run.Find<QAbstractButton>(QStringLiteral("RADIO_%1").arg(radio))->isChecked());
        QVERIFY(!run.Find<QAbstractButton>(QStringLiteral("RADIO_%1").arg(cleared))->isChecked());
        QVERIFY(run.Find(shownFrame)->isVisible());
        if (!hiddenFrame.isEmpty()) QVERIFY(!run.Find(hiddenFrame)->isVisible());
    }

    void clickingAUnitLabel_switchesTheFieldsUnit() {
        Running run;
        QVERIFY(run.Ready());
        run.Click(QStringLiteral("BUTT_0"));
        auto* unit = run.Find<QLabel>(QStringLiteral("UNITS_103"));
        const QString before = unit->text();
        const QString stored = run.s.textBoxes[103].tag;
        run.Click(QStringLiteral("UNITS_103"));
        QVERIFY(unit->text() != before);
        QCOMPARE(unit->text(), run.s.unitLabels[103].caption);
        QCOMPARE(run.Find<QLineEdit>(QStringLiteral("TEXTBOX_103"))->text(), run.s.textBoxes[103].text);
        QCOMPARE(run.s.textBoxes[103].tag, stored); // the value itself stays as it was
    }

    void failedChecks_showTheBannerWithTheirTexts_andMarkTheResultFields() {
        Running run;
        QVERIFY(run.Ready());
        run.Click(QStringLiteral("BUTT_0"));
        QLineEdit* box = run.Enter(103);
        QTest::keyClicks(box, QStringLiteral("150")); // warmer than the room around it
        QTest::keyClick(box, Qt::Key_Tab);
        QVERIFY(run.s.errorFrameVisible);
        QVERIFY(run.Find(QStringLiteral("EFRAME"))->isVisible());
        QCOMPARE(run.Find<QLabel>(QStringLiteral("EBANNER"))->text(), run.s.bannerText);
        QVERIFY(run.s.bannerText.contains(run.s.errorTexts[3]));
        const QColor mark(255, 128, 128);
        QCOMPARE(run.Find<QLineEdit>(QStringLiteral("TEXTBOX_16"))->palette().color(QPalette::Base), mark);
        box = run.Enter(103);
        QTest::keyClicks(box, QStringLiteral("35"));
        QTest::keyClick(box, Qt::Key_Tab);
        QVERIFY(!run.s.errorFrameVisible);
        QVERIFY(!run.Find(QStringLiteral("EFRAME"))->isVisible());
        QVERIFY(run.Find<QLineEdit>(QStringLiteral("TEXTBOX_16"))->palette().color(QPalette::Base) != mark);
    }

    void banner_blinksWhileActive_andShowsEveryLine_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("oneLine") << "Running time must be greater than 0 hours.";
        QTest::newRow("fourLines") << "First problem\r\nSecond problem\r\nThird problem\r\nFourth problem";
    }
    void banner_blinksWhileActive_andShowsEveryLine() {
        QFETCH(QString, text);
        Running& run = Shared();
        QVERIFY(run.Ready());
        run.window.Dispatch([&] {
            run.s.bannerText = text;
            run.s.errorFrameVisible = true;
            run.s.bannerActive = true;
        });
        QWidget* frame = run.Find(QStringLiteral("EFRAME"));
        auto* banner = run.Find<QLabel>(QStringLiteral("EBANNER"));
        QVERIFY(frame->isVisible());
        const QColor first = frame->palette().color(QPalette::Window);
        const int top = banner->y();
        QTRY_VERIFY(frame->palette().color(QPalette::Window) != first);
        QTRY_VERIFY(frame->palette().color(QPalette::Window) == first); // and back: it blinks
        QCOMPARE(banner->y(), top);                                     // and never scrolls
        // The frame is high enough for every line it lists.
        const int lines = int(text.count(QLatin1Char('\n'))) + 1;
        QVERIFY(frame->height() >= lines * banner->fontMetrics().lineSpacing());
        QVERIFY(banner->mapTo(frame, QPoint(0, banner->heightForWidth(banner->width()))).y() <= frame->height());
        run.window.Dispatch([&] { run.s.errorFrameVisible = run.s.bannerActive = false; });
        QVERIFY(!frame->isVisible());
    }

    void aLink_opensItsAddress_andTakesTheVisitedColour() {
        Running run;
        QVERIFY(run.Ready());
        run.Click(QStringLiteral("BUTT_8"));
        QVERIFY(!run.s.links[800].tag.isEmpty());
        run.Click(QStringLiteral("HYPERLINK_800"));
        QCOMPARE(run.program.platform.openedDocuments, QStringList{run.s.links[800].tag});
        QCOMPARE(run.Find(QStringLiteral("HYPERLINK_800"))->palette().color(QPalette::WindowText),
                 QColor(run.s.colours.visited & 0xFF, (run.s.colours.visited >> 8) & 0xFF,
                        run.s.colours.visited >> 16));
    }

    void dataSheetLinks_andTheCataloguePicture_openTheirDocuments() {
        Running run;
        QVERIFY(run.Ready());
        // The sheets and the catalogue where the language file's relative defaults point.
        const QString unitSheet = run.s.grids[520].Text(GetFieldValue(run.s, 533).toInt(), 4);
        const QString coolerSheet = run.s.grids[540].Text(GetFieldValue(run.s, 553).toInt(), 4);
        const QString folder = run.program.Folder();
        QDir().mkpath(folder + QStringLiteral("/pdf"));
        for (const QString& path : {folder + "/pdf/" + unitSheet, folder + "/pdf/" + coolerSheet, folder + "/catalog.pdf"}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        run.Click(QStringLiteral("BUTT_5"));
        run.Click(QStringLiteral("SPECLINK_0"));
        run.Click(QStringLiteral("SPECLINK_1"));
        run.Click(QStringLiteral("ThumbNailLogo"));
        QCOMPARE(run.program.platform.openedDocuments,
                 (QStringList{folder + "/pdf/" + unitSheet, folder + "/pdf/" + coolerSheet, folder + "/catalog.pdf"}));
    }

    void recentJob_doubleClicked_opensThatJob() {
        Running run;
        QVERIFY(run.Ready());
        const QString job = run.program.Folder() + QStringLiteral("/JobFiles/Cold store.cvj");
        QVERIFY(QFile::copy(run.program.DataFolder() + QStringLiteral("default.fil"), job));
        run.s.settings.Save(run.s.historySection, QStringLiteral("File0"), job);
        run.Click(QStringLiteral("BUTT_1"));
        auto* list = run.Find<QListWidget>(QStringLiteral("FileHistoryList"));
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), job);
        const QRect row = list->visualItemRect(list->item(0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center()); // a double click's first half
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(run.s.currentJobPath, job);
        QCOMPARE(run.VisiblePages(), QList<int>{1});
        QCOMPARE(run.Find<QLabel>(QStringLiteral("JobPath"))->text(), QStringLiteral("Cold store.cvj"));
    }

    void ctrlL_showsTheLog() {
        Running& run = Shared();
        QVERIFY(run.Ready());
        run.program.platform.shownTextFiles.clear();
        QTest::keyClick(&run.window, Qt::Key_L, Qt::ControlModifier);
        QCOMPARE(run.program.platform.shownTextFiles.size(), 1);
    }

    void aProgramEndFromTheCore_closesTheWindowWithItsCode() {
        Running run;
        QVERIFY(run.Ready());
        QSignalSpy ended(&run.window, &MainWindow::programEnded);
        run.Click(QStringLiteral("BUTT_0"));
        run.s.events.textChanged = [](int) { throw ProgramEnd(3); };
        QTest::keyClicks(run.Enter(0), QStringLiteral("x"));
        QCOMPARE(ended.size(), 1);
        QCOMPARE(ended[0][0].toInt(), 3);
        QCOMPARE(run.window.ExitCode(), 3);
        QVERIFY(!run.window.isVisible());
    }

    void withoutLanguageCaptions_everyControlShowsItsName() {
        // A bare program folder: no language file has been read, no pictures exist.
        test::TestSession session;
        State& s = session.s;
        s.logoPicture = QStringLiteral("missing.png");
        MainWindow window(s);
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("LABEL_103"))->text(), QStringLiteral("LABEL 103"));
        QCOMPARE(window.findChild<QAbstractButton*>(QStringLiteral("BUTT_11"))->text(),
                 QStringLiteral("BUTT 11"));
        QCOMPARE(window.findChild<QAbstractButton*>(QStringLiteral("RADIO_200"))->text(),
                 QStringLiteral("RADIO 200"));
        QVERIFY(window.findChild<QLabel*>(QStringLiteral("Logo"))->pixmap().isNull());
    }

    // The list button opens the list, with the focus, on its page; the highlight moves with
    // the arrow keys without committing, Enter commits it and closes the list.
    void listButton_opensTheListOnItsPage_andEnterCommitsTheHighlight_data() {
        QTest::addColumn<int>("entries"); // added to those the language file gives
        QTest::newRow("shortList_opensRightOverItsField") << 0;
        QTest::newRow("longList_isCutToThePageAndEndsAtItsBottom") << 60;
    }
    void listButton_opensTheListOnItsPage_andEnterCommitsTheHighlight() {
        QFETCH(int, entries);
        Running run;
        QVERIFY(run.Ready());
        run.Click(QStringLiteral("BUTT_5"));
        for (int i = 0; i < entries; ++i)
            run.s.optionLists[504].items << QStringLiteral("R-%1").arg(i);
        QVERIFY(run.s.optionLists[504].items.size() >= 3);
        run.Click(QStringLiteral("LISTBUTTON_504"));
        QCOMPARE(run.s.openList, 504);
        auto* popup = run.Find<QListWidget>(QStringLiteral("OPTIONLIST_504"));
        auto* box = run.Find<QLineEdit>(QStringLiteral("TEXTBOX_504"));
        QVERIFY(popup->isVisible());
        QVERIFY(popup->hasFocus());
        const QRect page = popup->parentWidget()->rect();
        QVERIFY(page.contains(popup->geometry()));
        const int needed = popup->count() * popup->sizeHintForRow(0);
        if (needed > page.height()) {
            QVERIFY(popup->geometry().bottom() >= page.bottom() - 6);
        } else {
            QCOMPARE(popup->y(), box->mapTo(popup->parentWidget(), QPoint()).y());
            QVERIFY(popup->geometry().intersects(
                QRect(box->mapTo(popup->parentWidget(), QPoint()), box->size())));
            QVERIFY(popup->viewport()->height() >= needed); // every entry in sight
        }
        const int expected = std::min(std::max(popup->currentRow(), -1) + 2, popup->count() - 1);
        QTest::keyClick(popup, Qt::Key_Down);
        QTest::keyClick(popup, Qt::Key_Down);
        QVERIFY(popup->isVisible()); // moving the highlight commits nothing
        QCOMPARE(popup->currentRow(), expected);
        const QString chosen = run.s.optionLists[504].items.value(expected);
        QTest::keyClick(popup, Qt::Key_Return);
        QVERIFY(!popup->isVisible());
        QCOMPARE(run.s.textBoxes[504].text, chosen);
        QCOMPARE(box->text(), chosen);
        QVERIFY(box->isVisible());
    }

    void aGridRowList_opensOverTheCurrentCell() {
        Running run;
        QVERIFY(run.Ready());
        run.Click(QStringLiteral("BUTT_2"));
        auto* walls = run.Find<QTableWidget>(QStringLiteral("GRID_200"));
        QTest::mouseClick(walls->viewport(), Qt::LeftButton, {},
                          walls->visualRect(walls->model()->index(6, 2)).center());
        QCOMPARE(run.s.openList, 206);
        auto* popup = run.Find<QListWidget>(QStringLiteral("OPTIONLIST_206"));
        QVERIFY(popup->isVisible());
        QVERIFY(popup->hasFocus());
        const QRect cell = walls->visualRect(walls->model()->index(6, 2));
        const QRect cellOnPage(walls->viewport()->mapTo(popup->parentWidget(), cell.topLeft()), cell.size());
        QVERIFY(popup->geometry().intersects(cellOnPage));
        QVERIFY(popup->parentWidget()->rect().contains(popup->geometry()));
    }

    void aFieldHiddenWithItsCaption_givesUpItsRow() {
        Running run;
        QVERIFY(run.Ready());
        run.Click(QStringLiteral("BUTT_0"));
        QWidget* total = run.Find(QStringLiteral("TEXTBOX_16"));
        const int shownAt = total->mapTo(&run.window, QPoint()).y();
        const auto show = [&](bool visible) {
            run.window.Dispatch([&] {
                run.s.textBoxes[13].visible = run.s.labels[13].visible = run.s.unitLabels[13].visible =
                    visible;
                run.s.MarkDirty(ControlKind::TextBox, 13);
                run.s.MarkDirty(ControlKind::Label, 13);
                run.s.MarkDirty(ControlKind::UnitLabel, 13);
            });
        };
        show(false);
        QVERIFY(!run.Find(QStringLiteral("TEXTBOX_13"))->isVisible());
        QTRY_VERIFY(total->mapTo(&run.window, QPoint()).y() < shownAt);
        show(true);
        QTRY_COMPARE(total->mapTo(&run.window, QPoint()).y(), shownAt);
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
