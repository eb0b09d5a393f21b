#include "input/grids.h"

#include "calc/loads.h"
#include "tests/calc/calcstate.h"

#include <QTest>

using namespace corvane;
using corvane::test::CalcState;

namespace {

// A wall grid built for an outline; the box dimensions have a length unit, as in the shipped
// language file, so writing them runs no field rule.
struct GridState : CalcState {
    explicit GridState(int shape) {
        s.unitTable[1][2] = "LONG";
        s.unitTable[2][2] = "ft";
        for (int n : {13, 14, 15})
            s.unitLabels[n].tag = "LONG";
        Apply("radio=100 212=95 312=35");
        s.radios[shape].value = true;
        BuildWallGrid(s, shape);
    }
};

int Shape(const QString& tag) {
    return tag.startsWith("six") ? 201 : tag.startsWith("eight") ? 202 : tag.startsWith("free") ? 203 : 200;
}

} // namespace

class GridsTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    // The outline comes from the row name; "entries" counts the cells the user has to fill.
    void grid_data() {
        test::Rows({
            {"rectangle_built",
             "=> cols200=8 entries=9 g200:0,7=6 g200:1,5=Wall g200:1,6=Floor g200:1,7=Ceiling "
             "g200:6,5=Panel g200:7,5=0.16 g200:6,6=Slab g200:7,6=1.25 g200:8,5=95 g200:8,6=55 g200:8,7=95"},
            {"sixWalls_built",
             "=> cols200=10 entries=11 g200:1,7=Wall g200:1,8=Floor g200:2,8=N.A. g200:3,9=N.A."},
            {"eightWalls_built", "=> cols200=12 entries=13 g200:1,9=Wall g200:1,11=Ceiling g200:2,10=N.A."},
            {"freeLayout_built_oneSectionToFill", "=> cols200=3 entries=0 g200:0,2=1 g200:1,2="},
            {"rectangle_wall1Length_fillsOppositeWallFloorCeiling",
             "t200:2,4=10 t200:2,2=20 => g200:2,3=20 g200:2,6=20 g200:2,7=20 g200:3,7=10 g200:4,6=200 13=20 "
             "14=10"},
            {"rectangle_heightToEveryWall", "t200:3,2=8 => g200:3,5=8 g200:3,6= 15=8"},
            {"rectangle_thicknessAlongItsKind", "t200:5,2=4 => g200:5,5=4 g200:5,6= g200:5,7="},
            {"sixWalls_thirdWallFromFirstTwo", "t200:2,2=30 t200:2,3=10 => g200:2,4=20"},
            {"sixWalls_floorArea",
             "t200:2,2=30 t200:2,3=10 t200:2,5=25 t200:2,6=15 => g200:2,7=10 g200:4,8=550 g200:4,9=550"},
            {"sixWalls_nonNumericLength_dependentsAlone", "t200:2,2=30 t200:2,3=ten => g200:2,4= g200:4,8="},
            {"eightWalls_derivedWallsAndFloorArea",
             "t200:2,3=5 t200:2,4=10 t200:2,2=40 t200:2,7=10 t200:2,8=12 t200:2,6=30 "
             "=> g200:2,5=25 g200:2,9=32 g200:4,10=1150 g200:4,11=1150"},
            {"freeLayout_noGeometry_newSection", "t200:2,2=20 => 13= cols200=4 g200:0,3=2"},
            {"rectangle_neverAddsASection", "t200:5,7=4 => cols200=8"},
            {"rectangle_typedTemperature_isTheUsers", "t200:8,3=70 => fore200:8,3=override"},
            {"rectangle_clearedTemperature_restored",
             "t200:8,2=70 t200:8,2= => g200:8,2=95 fore200:8,2=normal"},
            {"outdoor_clearedWall_plus4", "t200:8,2=70 t200:8,2= => g200:8,2=99"},
            {"outdoor_clearedCeiling_plus9", "t200:8,7=1 t200:8,7= => g200:8,7=104"},
            {"product_clearedEntering_boxPlus10", "t300:4,2=70 t300:4,2= => g300:4,2=45 fore300:4,2=normal"},
            {"product_clearedFinal_box", "t300:5,2=70 t300:5,2= => g300:5,2=35"},
            {"product_massTyped_noNewProduct_genericEnds",
             "g300:0,2=Generic t300:3,2=9 => g300:0,2=1 cols300=3"},
        });
    }
    void grid() {
        QFETCH(QString, line);
        const QString tag = QTest::currentDataTag();
        GridState c(Shape(tag));
        if (tag.startsWith("outdoor")) c.s.radios[100].value = false;
        c.Run(line);
    }

    void keyboard_data() {
        test::Rows({
            {"down_withinColumn", "200 4,3 down 4,4"},
            {"up_firstRowToPreviousColumn", "200 5,2 up 4,8"},
            {"up_firstCellWrapsToLastColumn", "200 2,2 up 7,8"},
            {"down_lastCellWrapsToFirst", "200 7,8 down 2,2"},
            {"freeLayout_kindRowOpensItsList", "200 2,8 down 2,1"},
            {"products_upFromGroupWraps", "300 2,1 up 2,12"},
            {"products_downWrapsToGroupList", "300 2,12 down 2,1"},
        });
    }
    void keyboard() {
        QFETCH(QString, line);
        const QStringList w = line.split(' '); // grid, from (column,row), key, to
        const int g = w[0].toInt();
        const QStringList from = w[1].split(','), to = w[3].split(',');
        GridState c(Shape(QTest::currentDataTag()));
        c.s.grids[g].Cell(to[1].toInt(), to[0].toInt()).text = "7";
        GridClick(c.s, g, from[1].toInt(), from[0].toInt());
        w[2] == "down" ? GridNext(c.s, g) : GridPrevious(c.s, g);
        const bool list = to[1] == "1";
        QCOMPARE(QStringLiteral("%1,%2").arg(c.s.grids[g].col).arg(c.s.grids[g].row), w[3]);
        QCOMPARE(c.s.openList, list ? g + 1 : -1);
        QCOMPARE(c.s.cellEditorVisible[g == 300], !list);
        QCOMPARE(c.s.cellEditorText[g == 300], list ? QString() : "7");
    }

    void clicks() {
        GridState c(200);
        for (const auto& [g, r] : {std::pair{200, 9}, {300, 13}, {200, 1}}) { // results and fixed kinds
            GridClick(c.s, g, r, 2);
            QVERIFY(!c.s.cellEditorVisible[0] && !c.s.cellEditorVisible[1] && c.s.openList == -1);
        }
        c.s.tableC = CalcState::Table({{"#g", "p"}, {"Fruit", "Apple"}, {"Meat", "Beef"}, {"Fruit", "Pear"}});
        c.Run("g300:1,2=Fruit => open=302", [&] { GridClick(c.s, 300, 2, 2); });
        QCOMPARE(c.s.optionLists[302].items, QStringList({"Apple", "Pear"})); // the group's products
        c.Run("=> cols300=4 g300:0,3=2", [&] { CheckAddProduct(c.s); });      // a pick in the last column
        for (const auto& [text, width] :
             {std::pair{QString("1"), 500}, {"123456", 8 * 90}, {QString(60, 'x'), 2500}}) {
            c.Cell("g300:5,3").text = text;
            SizeColumn(c.s, 300, 3);
            QCOMPARE(c.s.grids[300].columnWidths[3], width); // "SS" + text, within 500 and the maximum
        }
    }

    // Hand check: a 10 x 12 x 8 ft cooler at 35 F in 95 F, 4 in walls and ceiling of K 0.16:
    // 60 F x 472 ft2 x 24 h x 0.16 / 4 in = 27 187.2 per day, 1699 per hour of a 16 h run.
    // Then a 6 in slab at 55 F: 20 x 120 x 24 x 1.25 / 6 = 12 000 per day more.
    void handCheck_rectangularCooler() {
        GridState c(200);
        FlagGuard calculating(c.s.flags.calculating);
        c.Run("103=35 12=16 t200:2,2=12 t200:3,2=8 t200:2,4=10 t200:5,2=4 t200:5,7=4 "
              "=> 214=1699 t213=960 g200:9,2=345.6 g200:9,4=288 g200:9,7=432",
              [&] { CalculateBoxLoad(c.s); });
        c.Run("t200:5,6=6 => 214=2449 g200:9,6=750", [&] { CalculateBoxLoad(c.s); });
    }
};

QTEST_GUILESS_MAIN(GridsTest)
#include "grids_test.moc"
