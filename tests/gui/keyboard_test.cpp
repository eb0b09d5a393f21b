// The window driven with the keyboard alone, as a user who never touches the mouse: a whole
// cooler job typed in, saved, replaced by a new job and opened again, with the same loads and
// equipment as the batch mode computes for the saved file. Also: Enter never turns a page
// back, Alt+letter types nothing into a number, and the common shortcuts.
#include "base/numbertext.h"
#include "definitions/state.h"
#include "definitions/windowdefinition.h"
#include "gui/mainwindow.h"
#include "tests/gui/runningwindow.h"
#include "tests/support/testprogram.h"

#include <QAbstractButton>
#include <QApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QTableWidget>
#include <QtTest>

using namespace corvane;

namespace {

using Running = test::RunningWindow;

QJsonObject BatchJson(const QString& job, const QString& home) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home);
    if (!env.contains(QStringLiteral("ASAN_OPTIONS"))) env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(CORVANE_PROGRAM_DIR "/corvane"), {QStringLiteral("--batch"), QStringLiteral("--json"), job});
    if (!process.waitForFinished(180000)) return {};
    return QJsonDocument::fromJson(process.readAllStandardOutput()).object();
}

} // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale::c()); }

    void coolerJob_typedSavedAndOpenedAgain_byKeysAlone() {
        Running run;
        QVERIFY(run.Ready());
        // The logo page answers the keyboard at once.
        QCOMPARE(run.Focused(), QStringLiteral("BUTT_0"));
        run.Key(Qt::Key_Space);
        QCOMPARE(run.s.currentPage, 1);

        QVERIFY(run.Fill(0, QStringLiteral("Polar Foods")));
        QVERIFY(run.Fill(102, QStringLiteral("90")));
        QVERIFY(run.Fill(103, QStringLiteral("35")));
        QVERIFY(run.Fill(13, QStringLiteral("10")));
        QVERIFY(run.Fill(14, QStringLiteral("12")));
        QVERIFY(run.Fill(15, QStringLiteral("8")));
        QCOMPARE(run.s.textBoxes[0].text, QStringLiteral("Polar Foods"));
        QCOMPARE(run.s.textBoxes[14].tag, QStringLiteral("12"));

        // One product, picked from the lists of the product grid.
        QVERIFY(run.ShowPage(3));
        QCOMPARE(run.s.currentPage, 4);
        QVERIFY(run.ReachWith(Qt::Key_Tab, QStringLiteral("GRID_300")));
        run.Key(Qt::Key_F4);
        QCOMPARE(run.Focused(), QStringLiteral("OPTIONLIST_301"));
        const QStringList groups = run.s.optionLists[301].items;
        QVERIFY(groups.size() > 2);
        run.Type(groups[2]);   // typing the name finds the group
        run.Key(Qt::Key_Return);
        QCOMPARE(run.s.grids[300].Text(1, 2), groups[2]);
        if (run.s.openList == 302) {
            QCOMPARE(run.Focused(), QStringLiteral("OPTIONLIST_302"));
            run.Key(Qt::Key_Down);
            run.Key(Qt::Key_Return);
        }
        const QString product = run.s.grids[300].Text(2, 2);
        QVERIFY(!product.isEmpty());
        QCOMPARE(run.Focused(), QStringLiteral("MSFlexText_300"));   // on to the mass
        run.Type(QStringLiteral("1000"));
        run.Key(Qt::Key_Return);
        QCOMPARE(run.s.grids[300].Text(3, 2), QStringLiteral("1000"));
        run.Key(Qt::Key_Escape);   // out of the cells, onto the grid
        QCOMPARE(run.Focused(), QStringLiteral("GRID_300"));

        // Other loads: two people, a heater of 500 Btu/h for 4 hours.
        QVERIFY(run.ShowPage(4));
        QVERIFY(run.Fill(406, QStringLiteral("2")));
        QVERIFY(run.Fill(410, QStringLiteral("Heater")));
        QVERIFY(run.Fill(411, QStringLiteral("500")));
        QVERIFY(run.Fill(412, QStringLiteral("4")));
        QVERIFY2(run.s.errorList.isEmpty(), qPrintable(run.s.bannerText));
        const QString loads[] = {GetFieldValue(run.s, 214), GetFieldValue(run.s, 680), GetFieldValue(run.s, 314),
                                 GetFieldValue(run.s, 422), GetFieldValue(run.s, 16), GetFieldValue(run.s, 503)};
        QVERIFY(NumberFromText(loads[2]) > 0 && NumberFromText(loads[3]) > 0);

        // Save, new job, open again: keys only, the dialogs answered as a user would.
        const QString job = run.program.Folder() + QStringLiteral("/JobFiles/Polar Foods.cvj");
        run.program.platform.saveResults << FileDialogResult{true, job, QFileInfo(job).path()};
        run.Key(Qt::Key_S, Qt::ControlModifier);
        QVERIFY(QFileInfo::exists(job));
        QVERIFY(!run.s.flags.jobModified);
        run.Key(Qt::Key_N, Qt::ControlModifier);
        QVERIFY(run.s.textBoxes[0].text.isEmpty());
        run.program.platform.openResults << FileDialogResult{true, job, QFileInfo(job).path()};
        run.Key(Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(run.s.currentJobPath, job);
        QCOMPARE(run.s.textBoxes[0].text, QStringLiteral("Polar Foods"));
        QCOMPARE(run.s.grids[300].Text(2, 2), product);
        const QString reopened[] = {GetFieldValue(run.s, 214), GetFieldValue(run.s, 680), GetFieldValue(run.s, 314),
                                    GetFieldValue(run.s, 422), GetFieldValue(run.s, 16), GetFieldValue(run.s, 503)};
        for (int i = 0; i < 6; ++i) QCOMPARE(reopened[i], loads[i]);
        QVERIFY(run.program.platform.unexpected.isEmpty());

        // The batch mode computes the same from the saved file.
        const QJsonObject batch = BatchJson(job, run.program.Folder());
        const QJsonObject fields = batch.value(QStringLiteral("fields")).toObject();
        QVERIFY2(!fields.isEmpty(), "the batch mode gave no state");
        for (int n : {214, 680, 314, 422, 16, 503, 523, 543, 560})
            QCOMPARE(fields.value(QString::number(n)).toObject().value(QStringLiteral("stored")).toString(),
                     GetFieldValue(run.s, n));
    }

    void enterAfterThePagesLastField_movesOnNeverBack_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("lastField");
        QTest::newRow("boxPage") << 0 << 16;
        QTest::newRow("otherLoadsPage") << 4 << 421;
    }
    void enterAfterThePagesLastField_movesOnNeverBack() {
        QFETCH(int, button);
        QFETCH(int, lastField);
        Running run;
        QVERIFY(run.Ready());
        QVERIFY(run.ShowPage(button));
        const int page = run.s.currentPage;
        QVERIFY(run.ReachWith(Qt::Key_Tab, QStringLiteral("TEXTBOX_%1").arg(lastField)));
        run.Key(Qt::Key_Return);
        QVERIFY2(!run.Focused().startsWith(QLatin1String("TABBPIC")), qPrintable(run.Focused()));
        QCOMPARE(run.s.currentPage, page);
        run.Key(Qt::Key_Return);
        QVERIFY(run.s.currentPage != page);
        QCOMPARE(run.s.currentPage, ForwardArrowButton(page) == 1 ? 2 : ForwardArrowButton(page) + 1);
    }

    // A cell's list opens on the cell's value, so F4 and Enter keep it, whatever was picked in
    // another column before; an empty cell's list highlights nothing, so Enter writes nothing.
    void cellList_opensOnTheCellsValue_andEnterKeepsIt_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("grid");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("pickedColumn");
        QTest::addColumn<int>("keptColumn");
        QTest::newRow("construction_ofAnotherSection") << 2 << 200 << 6 << 3 << 2;
        QTest::newRow("productGroup_ofANewEmptyColumn") << 3 << 300 << 1 << 2 << 3;
    }
    void cellList_opensOnTheCellsValue_andEnterKeepsIt() {
        QFETCH(int, button);
        QFETCH(int, grid);
        QFETCH(int, row);
        QFETCH(int, pickedColumn);
        QFETCH(int, keptColumn);
        Running run;
        QVERIFY(run.Ready());
        QVERIFY(run.ShowPage(button));
        const int list = grid + row;
        auto* table = run.window.findChild<QTableWidget*>(QStringLiteral("GRID_%1").arg(grid));
        const auto openCell = [&](int col) {
            table->setFocus(Qt::TabFocusReason);
            table->setCurrentCell(row, col);
            run.Key(Qt::Key_F4);
            return run.Focused() == QStringLiteral("OPTIONLIST_%1").arg(list);
        };
        QVERIFY(openCell(pickedColumn));
        run.Key(Qt::Key_Down);
        run.Key(Qt::Key_Down);
        run.Key(Qt::Key_Return);
        QVERIFY(!run.s.grids[grid].Text(row, pickedColumn).isEmpty());
        run.Key(Qt::Key_Escape);

        QVERIFY(openCell(keptColumn));
        QCOMPARE(run.s.hintText, run.s.grids[grid].hints.value(row));   // the row's hint stays in view
        const QString kept = run.s.grids[grid].Text(row, keptColumn);
        QVERIFY(kept != run.s.grids[grid].Text(row, pickedColumn));
        QCOMPARE(run.s.optionLists[list].selected, static_cast<int>(run.s.optionLists[list].items.indexOf(kept)));
        run.Key(Qt::Key_Return);
        QCOMPARE(run.s.grids[grid].Text(row, keptColumn), kept);
    }

    // The first field of a job opened from the command line shows the focus colour; the keys
    // go there too, not to the first page button.
    void aJobOnTheCommandLine_startsWithTheKeysInItsFirstField() {
        test::TestProgram program;
        State& s = program.Start(QFINDTESTDATA("../data/jobs/job01.cvj"));
        QCOMPARE(s.currentPage, 1);
        MainWindow window(s);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QWidget* focused = QApplication::focusWidget();
        QVERIFY(focused);
        QCOMPARE(focused->objectName(), QStringLiteral("TEXTBOX_0"));
        QTest::keyClick(focused, Qt::Key_End);
        QTest::keyClicks(focused, QStringLiteral(" Ltd"));
        QVERIFY2(s.textBoxes[0].text.endsWith(QLatin1String(" Ltd")), qPrintable(s.textBoxes[0].text));
    }

    // A field's open list keeps the field's hint in view. Still open when the page is turned,
    // it closes; back on its page it is not found open over a field that no longer has the focus.
    void anOpenList_keepsTheFieldsHint_andClosesWhenItsPageIsLeft() {
        Running run;
        QVERIFY(run.Ready());
        QVERIFY(run.ShowPage(5));
        QVERIFY(run.ReachWith(Qt::Key_Tab, QStringLiteral("OPTIONLIST_504")));
        QVERIFY(!run.s.textBoxes[504].hint.isEmpty());
        QCOMPARE(run.s.hintText, run.s.textBoxes[504].hint);
        run.Key(Qt::Key_PageUp, Qt::ControlModifier);
        QVERIFY(run.s.currentPage != 6);
        QCOMPARE(run.s.openList, -1);
        run.Key(Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(run.s.currentPage, 6);
        QVERIFY(!run.window.findChild<QListWidget*>(QStringLiteral("OPTIONLIST_504"))->isVisible());
        QVERIFY(run.window.findChild<QLineEdit*>(QStringLiteral("TEXTBOX_504"))->isVisible());
    }

    void altLetter_inANumberField_typesNothing() {
        Running run;
        QVERIFY(run.Ready());
        QVERIFY(run.ShowPage(5));
        QVERIFY(run.ReachWith(Qt::Key_Tab, QStringLiteral("TEXTBOX_500")));
        const QString before = run.s.textBoxes[500].text;
        run.Key(Qt::Key_End);
        run.Key(Qt::Key_S, Qt::AltModifier);
        run.Key(Qt::Key_F, Qt::AltModifier);
        QCOMPARE(qobject_cast<QLineEdit*>(QApplication::focusWidget())->text(), before);
        QCOMPARE(run.s.textBoxes[500].text, before);
    }

    void shortcuts_turnPages_andAreShownInTooltips() {
        Running run;
        QVERIFY(run.Ready());
        run.Key(Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(run.s.currentPage, 1);
        run.Key(Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(run.s.currentPage, ForwardArrowButton(1) + 1);
        run.Key(Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(run.s.currentPage, 1);
        const auto tip = [&](int n) { return run.window.findChild<QAbstractButton*>(QStringLiteral("BUTT_%1").arg(n))->toolTip(); };
        QVERIFY2(tip(11).endsWith(QKeySequence(Qt::CTRL | Qt::Key_S).toString(QKeySequence::NativeText) + ")"), qPrintable(tip(11)));
        QVERIFY(tip(10).contains(QKeySequence(Qt::CTRL | Qt::Key_O).toString(QKeySequence::NativeText)));
        QVERIFY(tip(12).contains(QStringLiteral("F1")));
        run.Key(Qt::Key_F1);
        QCOMPARE(run.program.platform.openedDocuments.size(), 1);
    }
};

QTEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
