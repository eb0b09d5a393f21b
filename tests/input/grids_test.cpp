#include "input/grids.h"

#include "calc/loads.h"
#include "tests/calc/calcstate.h"

#include <QTest>

using namespace corvane;
using corvane::test::CalcState;

namespace {

// A wall grid built for an outline, with the box dimensions in a length unit as in the
// shipped language file (so writing them runs no field rule).
struct GridState : CalcState {
    explicit GridState(int shape = 200) {
        s.unitTable[1][2] = "LONG";
        s.unitTable[2][2] = "ft";
        s.unitTable[3][2] = "m";
        s.unitTable[4][2] = "0.3048";
        for (int n : {13, 14, 15}) s.unitLabels[n].tag = "LONG";
        s.radios[100].value = true;
        Set({{212, "95"}, {312, "35"}});
        if (shape) {
            s.radios[shape].value = true;
            BuildWallGrid(s, shape);
        }
    }
    // Types into cell (r, c) of grid g as the user would.
    void Type(int g, int r, int c, const QString& text) {
        GridClick(s, g, r, c);
        CellEditorGotFocus(s, g);
        CellEditorChange(s, g, text);
        CellEditorLostFocus(s, g);
    }
    QString Cell(int g, int r, int c) const { return s.grids[g].Text(r, c); }
};

} // namespace

class GridsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void buildWallGrid_data() {
        QTest::addColumn<int>("shape");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("entryCells");
        QTest::addColumn<int>("notApplicable");
        QTest::newRow("rectangle") << 200 << 8 << 9 << 0;
        QTest::newRow("sixWalls") << 201 << 10 << 11 << 4;
        QTest::newRow("eightWalls") << 202 << 12 << 13 << 4;
        QTest::newRow("freeLayout_oneSection") << 203 << 3 << 0 << 0;
    }
    void buildWallGrid() {
        QFETCH(int, shape);
        QFETCH(int, columns);
        QFETCH(int, entryCells);
        QFETCH(int, notApplicable);
        GridState c(shape);
        const Grid& g = c.s.grids[200];
        QCOMPARE(g.cols, columns);
        QCOMPARE(g.fixedRows, shape == 203 ? 1 : 2);
        int entries = 0, na = 0;
        for (int col = 2; col < g.cols; ++col) {
            QCOMPARE(g.Text(0, col), QString::number(col - 1));
            for (int r = 0; r < g.rows; ++r) {
                entries += g.cells[r][col].backColour == CalcState::EntryBack;
                na += g.Text(r, col) == "N.A.";
            }
        }
        QCOMPARE(entries, entryCells);
        QCOMPARE(na, notApplicable);
        if (shape == 203) return;
        const int floor = columns - 2, ceiling = columns - 1;
        QCOMPARE((QStringList{g.Text(1, 2), g.Text(1, floor), g.Text(1, ceiling)}),
                 (QStringList{"Wall", "Floor", "Ceiling"}));
        QCOMPARE((QStringList{g.Text(6, 2), g.Text(7, 2), g.Text(6, floor), g.Text(7, floor)}),
                 (QStringList{"Panel", "0.16", "Slab", "1.25"}));
        QCOMPARE((QStringList{g.Text(8, 2), g.Text(8, floor), g.Text(8, ceiling)}), (QStringList{"95", "55", "95"}));
    }

    void geometry_data() {
        QTest::addColumn<int>("shape");
        QTest::addColumn<QStringList>("typed");      // "row,column=text", in order
        QTest::addColumn<QStringList>("expected");   // "row,column=text" or "field=stored value"
        QTest::newRow("rectangle_wall1Length_fillsOppositeWallFloorCeiling")
            << 200 << QStringList{"2,4=10", "2,2=20"}
            << QStringList{"2,3=20", "2,6=20", "2,7=20", "3,6=10", "3,7=10", "4,6=200", "4,7=200", "13=20", "14=10"};
        QTest::newRow("rectangle_heightToEveryWall_andField15")
            << 200 << QStringList{"3,2=8"} << QStringList{"3,3=8", "3,5=8", "3,6=", "15=8"};
        QTest::newRow("rectangle_thicknessAlongItsKind") << 200 << QStringList{"5,2=4"}
                                                         << QStringList{"5,3=4", "5,5=4", "5,6=", "5,7="};
        QTest::newRow("sixWalls_thirdWallFromFirstTwo") << 201 << QStringList{"2,2=30", "2,3=10"}
                                                        << QStringList{"2,4=20"};
        QTest::newRow("sixWalls_floorArea") << 201 << QStringList{"2,2=30", "2,3=10", "2,5=25", "2,6=15"}
                                            << QStringList{"2,7=10", "4,8=550", "4,9=550"};
        QTest::newRow("sixWalls_nonNumericLength_dependentsAlone") << 201 << QStringList{"2,2=30", "2,3=ten"}
                                                                   << QStringList{"2,4=", "4,8="};
        QTest::newRow("eightWalls_derivedWallsAndFloorArea")
            << 202 << QStringList{"2,3=5", "2,4=10", "2,2=40", "2,7=10", "2,8=12", "2,6=30"}
            << QStringList{"2,5=25", "2,9=32", "4,10=1150", "4,11=1150"};
        QTest::newRow("freeLayout_noGeometry") << 203 << QStringList{"2,2=20"} << QStringList{"2,3=", "13="};
    }
    void geometry() {
        QFETCH(int, shape);
        QFETCH(QStringList, typed);
        QFETCH(QStringList, expected);
        GridState c(shape);
        for (const QString& t : typed) {
            const QStringList rc = t.section('=', 0, 0).split(',');
            c.Type(200, rc[0].toInt(), rc[1].toInt(), t.section('=', 1));
        }
        for (const QString& e : expected) {
            const QString where = e.section('=', 0, 0), value = e.section('=', 1);
            if (where.contains(',')) QCOMPARE(c.Cell(200, where.section(',', 0, 0).toInt(), where.section(',', 1).toInt()), value);
            else QCOMPARE(c.Value(where.toInt()), value);
        }
    }

    void clearedTemperature_restoresDefault_data() {
        QTest::addColumn<int>("grid");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("indoor");
        QTest::addColumn<QString>("restored");
        QTest::newRow("indoorWall") << 200 << 8 << 2 << true << "95";
        QTest::newRow("outdoorWall_plus4") << 200 << 8 << 2 << false << "99";
        QTest::newRow("outdoorCeiling_plus9") << 200 << 8 << 7 << false << "104";
        QTest::newRow("floor_55") << 200 << 8 << 6 << false << "55";
        QTest::newRow("productEntering_boxPlus10") << 300 << 4 << 2 << true << "45";
        QTest::newRow("productFinal_box") << 300 << 5 << 2 << true << "35";
    }
    void clearedTemperature_restoresDefault() {
        QFETCH(int, grid);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(bool, indoor);
        QFETCH(QString, restored);
        GridState c;
        c.s.radios[100].value = indoor;
        c.Type(grid, row, column, "70");
        QCOMPARE(c.s.grids[grid].cells[row][column].foreColour, CalcState::OverrideColour);
        c.Type(grid, row, column, "");
        QCOMPARE(c.Cell(grid, row, column), restored);
        QCOMPARE(c.s.grids[grid].cells[row][column].foreColour, c.s.colours.cellFore);
    }

    void keyboard_data() {
        QTest::addColumn<int>("grid");
        QTest::addColumn<int>("shape");
        QTest::addColumn<QPoint>("from");   // (column, row)
        QTest::addColumn<bool>("down");
        QTest::addColumn<QPoint>("to");
        QTest::newRow("down_withinColumn") << 200 << 200 << QPoint(4, 3) << true << QPoint(4, 4);
        QTest::newRow("up_firstRowWrapsToPreviousColumn") << 200 << 200 << QPoint(5, 2) << false << QPoint(4, 8);
        QTest::newRow("up_firstCellWrapsToLastColumn") << 200 << 200 << QPoint(2, 2) << false << QPoint(7, 8);
        QTest::newRow("down_lastCellWrapsToFirst") << 200 << 200 << QPoint(7, 8) << true << QPoint(2, 2);
        QTest::newRow("freeLayout_kindIsEditable") << 200 << 203 << QPoint(2, 8) << true << QPoint(2, 1);
        QTest::newRow("products_upFromGroupWraps") << 300 << 200 << QPoint(2, 1) << false << QPoint(2, 12);
        QTest::newRow("products_downFromLastRowWraps") << 300 << 200 << QPoint(2, 12) << true << QPoint(2, 1);
    }
    void keyboard() {
        QFETCH(int, grid);
        QFETCH(int, shape);
        QFETCH(QPoint, from);
        QFETCH(bool, down);
        QFETCH(QPoint, to);
        GridState c(shape);
        c.s.grids[grid].Cell(to.y(), to.x()).text = "7";
        GridClick(c.s, grid, from.y(), from.x());
        if (down) GridNext(c.s, grid);
        else GridPrevious(c.s, grid);
        const Grid& g = c.s.grids[grid];
        QCOMPARE(QPoint(g.col, g.row), to);
        const bool listRow = grid + to.y() == 301 || grid + to.y() == 201;
        QCOMPARE(c.s.cellEditorVisible[grid == 300], !listRow);
        if (!listRow) QCOMPARE(c.s.cellEditorText[grid == 300], QString("7"));
        if (listRow) QCOMPARE(c.s.openList, grid + to.y());
    }

    void cellsNeverGetAnEditor_data() {
        QTest::addColumn<int>("grid");
        QTest::addColumn<int>("row");
        QTest::newRow("wallResultRow") << 200 << 9;
        QTest::newRow("productResultRow") << 300 << 13;
        QTest::newRow("fixedKindRow") << 200 << 1;
    }
    void cellsNeverGetAnEditor() {
        QFETCH(int, grid);
        QFETCH(int, row);
        GridState c;
        GridClick(c.s, grid, row, 2);
        QVERIFY(!c.s.cellEditorVisible[0] && !c.s.cellEditorVisible[1]);
        QCOMPARE(c.s.openList, -1);
    }

    void productRow_opensTheGroupsProducts() {
        GridState c;
        c.s.tableC = CalcState::Table({{"#g", "p"}, {"Fruit", "Apple"}, {"Meat", "Beef"}, {"Fruit", "Pear"}});
        c.s.grids[300].Cell(1, 2).text = "Fruit";
        GridClick(c.s, 300, 2, 2);
        QCOMPARE(c.s.openList, 302);
        QCOMPARE(c.s.optionLists[302].items, QStringList({"Apple", "Pear"}));
    }

    void columnsAdded_data() {
        QTest::addColumn<int>("shape");
        QTest::addColumn<int>("grid");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("columns");
        QTest::newRow("freeLayout_lastSectionEdited_addsOne") << 203 << 200 << 5 << 4;
        QTest::newRow("rectangle_neverAdds") << 200 << 200 << 5 << 8;
        QTest::newRow("productMassTyped_noNewProduct") << 200 << 300 << 3 << 3;
    }
    void columnsAdded() {
        QFETCH(int, shape);
        QFETCH(int, grid);
        QFETCH(int, row);
        QFETCH(int, columns);
        GridState c(shape);
        const int last = c.s.grids[grid].cols - 1;
        c.Type(grid, row, last, "4");
        QCOMPARE(c.s.grids[grid].cols, columns);
        if (columns > last + 1) QCOMPARE(c.Cell(grid, 0, columns - 1), QString::number(columns - 2));
    }

    void productPickInLastColumn_addsProduct_andEditEndsGeneric() {
        GridState c;
        Grid& g = c.s.grids[300];
        g.Cell(0, 2).text = "Generic";
        g.row = 1;
        g.col = 2;
        CheckAddProduct(c.s);
        QCOMPARE(g.cols, 4);
        QCOMPARE(g.Text(0, 3), QString("2"));
        c.Type(300, 6, 3, "12");
        QCOMPARE(g.Text(0, 2), QString("1"));   // the generic product is now the user's own
    }

    void sizeColumn_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::newRow("shortText_atLeast500") << "1" << 500;
        QTest::newRow("measuredWithTwoExtraCharacters") << "123456" << 8 * 90;
        QTest::newRow("longText_cappedAtMaximum") << QString(60, 'x') << 2500;
    }
    void sizeColumn() {
        QFETCH(QString, text);
        QFETCH(int, width);
        GridState c;
        Grid& g = c.s.grids[300];
        for (int r = 0; r < g.rows; ++r) g.Cell(r, 2).text.clear();
        g.Cell(5, 2).text = text;
        SizeColumn(c.s, 300, 2);
        QCOMPARE(g.columnWidths[2], width);
    }

    // Hand check: a 10 x 12 x 8 ft cooler at 35 F in 95 F, 4 in walls and ceiling of K 0.16.
    void handCheck_rectangularCooler() {
        GridState c;
        c.Set({{103, "35"}, {12, "16"}});
        for (const auto& [r, col, text] : {std::tuple{2, 2, "12"}, {3, 2, "8"}, {2, 4, "10"}, {5, 2, "4"}, {5, 7, "4"}})
            c.Type(200, r, col, text);
        FlagGuard calculating(c.s.flags.calculating);
        CalculateBoxLoad(c.s);
        // 60 F x 472 ft2 x 24 h x 0.16 / 4 in = 27 187.2 per day; the floor has no thickness yet.
        QCOMPARE(c.Value(214), QString("1699"));
        QCOMPARE(c.s.textBoxes[213].text, QString("960"));
        c.Type(200, 5, 6, "6");   // 6 in slab at 55 F: 20 x 120 x 24 x 1.25 / 6 = 12 000 per day
        CalculateBoxLoad(c.s);
        QCOMPARE(c.Value(214), QString("2449"));
    }
};

QTEST_GUILESS_MAIN(GridsTest)
#include "grids_test.moc"
