// Option and selection lists on the shipped program: keyboard and mouse commits, where a list
// opens, an empty model list, constructions and products picked in the grids, and another
// language file.
#include "base/numbertext.h"
#include "calc/tables.h"
#include "input/grids.h"
#include "input/optionlists.h"
#include "input/units.h"
#include "inputtesting.h"

using namespace corvane;
using namespace corvane::test;

class OptionListsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void commit_data() {
        QTest::addColumn<int>("list");
        QTest::addColumn<QString>("keys");   // D down, E Enter, C click on entry 2
        QTest::addColumn<bool>("committed");
        QTest::addColumn<int>("focusAfter");
        QTest::newRow("arrowsOnly_nothingCommitted") << 625 << "DD" << false << 625;
        QTest::newRow("arrowsThenEnter_commitsAndMovesOn") << 540 << "DDE" << true << 541;
        QTest::newRow("mouseClick_commitsInPlace") << 625 << "C" << true << 625;
        QTest::newRow("arrowsThenMouseClick_commitsInPlace") << 625 << "DC" << true << 625;
    }
    void commit() {
        QFETCH(int, list);
        QFETCH(QString, keys);
        QFETCH(bool, committed);
        TestProgram program;
        State& s = program.Start();
        s.SetTextQuietly(list, "before");
        TextBoxGotFocus(s, list);
        QVERIFY(s.optionLists[list].visible && !s.textBoxes[list].visible);
        s.optionLists[list].selected = 0;
        for (QChar key : keys) {
            if (key == 'D') {
                // The view moves the highlight, and the list raises its click for it.
                ListKeyDown(s, list, Key::Down);
                s.SelectListEntry(list, s.optionLists[list].selected + 1);
            } else if (key == 'E') {
                ListKeyDown(s, list, Key::Enter);
            } else {
                ListPick(s, list, 2);
            }
        }
        QCOMPARE(s.textBoxes[list].text == "before", !committed);
        if (committed) {
            QCOMPARE(s.textBoxes[list].text, s.optionLists[list].items[2]);
            QCOMPARE(GetFieldValue(s, list + (list == 625 ? 0 : 10)), s.valueLists[list].values[2]);
            QVERIFY(!s.optionLists[list].visible && s.textBoxes[list].visible);
        }
        QTEST(s.focus.number, "focusAfter");
    }

    void placement_data() {
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("fieldTop");
        QTest::addColumn<int>("pageHeight");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("top");
        QTest::newRow("fewEntries_overField") << 4 << 1000 << 7080 << 930 << 1000;
        QTest::newRow("nearPageBottom_movedUp") << 10 << 6000 << 7080 << 2280 << 4800;
        QTest::newRow("thirtyEntries_shortPage_cutToPage") << 30 << 2000 << 4000 << 4000 << 0;
    }
    void placement() {
        QFETCH(int, entries);
        QFETCH(int, fieldTop);
        QFETCH(int, pageHeight);
        QFETCH(int, height);
        QFETCH(int, top);
        OptionList list;
        for (int i = 0; i < entries; ++i) list.items << QString::number(i);
        PlacePicker(list, PickerPlacement{120, fieldTop - 500, 300, 500, pageHeight});
        QCOMPARE(list.left, 420);
        QCOMPARE(list.height, height);
        QCOMPARE(list.top, top);
    }

    void emptyModelList_showsText14() {
        TestProgram program;
        State& s = program.Start();
        s.grids[520].Resize(0, 6);
        TextBoxGotFocus(s, 523);
        QCOMPARE(s.textBoxes[523].text, s.strings[14]);
        QVERIFY(!s.optionLists[523].visible);
    }

    void constructionPick_firstWallSetsEveryWall() {
        TestProgram program;
        State& s = program.Start();
        Grid& grid = s.grids[200];
        const QString floorBefore = grid.Text(6, 6);
        grid.row = 6;
        grid.col = 2;
        MoveToCell(s, 200);
        QVERIFY(s.optionLists[206].items.size() > 2);
        ListPick(s, 206, 2);
        for (int c = 2; c <= 5; ++c) {
            QCOMPARE(grid.Text(6, c), s.optionLists[206].items[2]);
            QCOMPARE(ReadGridCell(s, 200, 7, c), s.tableD.Cell(2, 3));
        }
        QCOMPARE(grid.Text(6, 6), floorBefore);
        QCOMPARE(grid.row, 7);
    }

    void productPick_fillsPropertiesOnly() {
        TestProgram program;
        State& s = program.Start();
        Grid& grid = s.grids[300];
        const DataTable& c = s.tableC;
        QVERIFY(c.RowCount() > 1);
        const QString group = c.Cell(1, 1);
        const QStringList products = ProductNamesOfGroup(s, group);
        const int pick = int(products.size()) - 1;
        grid.Cell(0, 2).text = "1";   // a product of the user's, not the generic one
        grid.Cell(1, 2).text = group;
        const QStringList untouched = {grid.Text(3, 2), grid.Text(4, 2), grid.Text(5, 2), grid.Text(6, 2)};
        grid.row = 2;
        grid.col = 2;
        MoveToCell(s, 300);
        ListPick(s, 302, pick);
        QCOMPARE(grid.Text(2, 2), products[pick]);
        int r = 1;
        while (c.Cell(1, r) != group || c.Cell(2, r) != products[pick]) ++r;
        const int columnOfRow[] = {0, 0, 0, 0, 0, 0, 0, 4, 5, 6, 3, 7};
        for (int gridRow = 7; gridRow <= 11; ++gridRow)
            QVERIFY(Near(NumberFromText(ReadGridCell(s, 300, gridRow, 2)), NumberFromText(c.Cell(columnOfRow[gridRow], r))));
        QCOMPARE(grid.Text(12, 2), QString("1"));
        QCOMPARE((QStringList{grid.Text(3, 2), grid.Text(4, 2), grid.Text(5, 2), grid.Text(6, 2)}), untouched);
    }

    void languageChoice_reloadsAndIsRemembered() {
        TestProgram program;
        State& s = program.Start();
        const QString englishCaption = s.labels[103].caption;
        TextBoxGotFocus(s, 803);
        const int french = int(s.optionLists[803].items.indexOf("francais."));
        QVERIFY(french >= 0);
        ListPick(s, 803, french);
        QCOMPARE(s.settings.Get(s.settingsSection, "Language_File"), QString("francais.lng"));
        QCOMPARE(program.platform.busyDepth, 0);
        const QString frenchCaption = s.labels[103].caption;
        QVERIFY(frenchCaption != englishCaption);
        QVERIFY(s.optionLists[206].items.size() > 0);
        QCOMPARE(program.Restart().labels[103].caption, frenchCaption);
    }
};

QTEST_GUILESS_MAIN(OptionListsTest)
#include "optionlists_test.moc"
