#include "calc/loads.h"

#include "tests/calc/calcstate.h"

#include <QTest>

using namespace corvane;
using corvane::test::CalcState;

namespace {

// "n=v" sets field n, "radio=n" sets option button n, "override=n" marks field n's label.
void Apply(CalcState& c, const QStringList& settings) {
    for (const QString& item : settings) {
        const QString key = item.section('=', 0, 0), value = item.section('=', 1);
        if (key == "radio") c.s.radios[value.toInt()].value = true;
        else if (key == "override") c.MarkOverridden(value.toInt());
        else if (key == "list625") c.s.optionLists[625].selected = value.toInt();
        else c.Set(key.toInt(), value);
    }
}

} // namespace

class LoadsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void boxLoad_data() {
        QTest::addColumn<QStringList>("section");   // kind, length, height, thickness, K, far side
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("runTime");
        QTest::addColumn<QString>("row9");
        QTest::addColumn<QString>("field214");
        QTest::newRow("wall20x10_1125") << QStringList{"Wall", "20", "10", "4", "0.25", "95"} << "35" << "16"
                                        << "1125" << "1125";
        QTest::newRow("publishedFreezerWall_r24") << QStringList{"Wall", "200", "30", "4", "0.19", "95"} << "-10"
                                                  << "24" << "29925" << "29925";
        QTest::newRow("publishedFreezerWall_r18") << QStringList{"Wall", "200", "30", "4", "0.19", "95"} << "-10"
                                                  << "18" << "39900" << "39900";
        QTest::newRow("publishedCoolerFloor") << QStringList{"Floor", "28", "8", "6", "1.25", "95"} << "35" << "16"
                                              << "4200" << "4200";
        QTest::newRow("partition_counts") << QStringList{"Partition", "20", "10", "4", "0.25", "95"} << "35" << "16"
                                          << "1125" << "1125";
        QTest::newRow("colderFarSide_reducesTheTotal") << QStringList{"Wall", "20", "10", "4", "0.25", "20"} << "35"
                                                       << "16" << "-281.25" << "-281";
        QTest::newRow("kNotANumber_nothing") << QStringList{"Wall", "20", "10", "4", "x", "95"} << "35" << "16" << "0"
                                             << "0";
        QTest::newRow("zeroThickness_nothing") << QStringList{"Wall", "20", "10", "0", "0.25", "95"} << "35" << "16"
                                               << "0" << "0";
        QTest::newRow("boxNotANumber_zero") << QStringList{"Wall", "20", "10", "4", "0.25", "95"} << "cold" << "16"
                                            << "" << "0";
        QTest::newRow("zeroRunTime_noDivision") << QStringList{"Wall", "20", "10", "4", "0.25", "95"} << "35" << "0"
                                                << "0" << "0";
    }
    void boxLoad() {
        QFETCH(QStringList, section);
        QFETCH(QString, box);
        QFETCH(QString, runTime);
        CalcState c;
        c.s.grids[200].Resize(10, 3);
        for (int r : {1, 2, 3, 5, 7, 8}) c.s.grids[200].Cell(r, 2).text = section.takeFirst();
        c.Set(103, box);
        c.Set(12, runTime);
        FlagGuard calculating(c.s.flags.calculating);
        CalculateBoxLoad(c.s);
        QFETCH(QString, row9);
        QFETCH(QString, field214);
        QCOMPARE(c.s.grids[200].Text(9, 2), row9);
        QCOMPARE(c.Value(214), field214);
    }

    void boxVolume_data() {
        QTest::addColumn<bool>("overridden");
        QTest::addColumn<QString>("volume");
        QTest::newRow("rectangle_floorAreaTimesMeanHeight") << false << "4400";
        QTest::newRow("overridden_keepsTheUsersVolume") << true << "999";
    }
    void boxVolume() {
        QFETCH(bool, overridden);
        QFETCH(QString, volume);
        CalcState c;
        Grid& g = c.s.grids[200];
        g.Resize(10, 8);
        c.s.radios[200].value = true;
        const char* heights[] = {"10", "10", "12", "12"};
        for (int col = 2; col <= 5; ++col) c.Cells(200, col, {{2, "5"}, {3, heights[col - 2]}});
        c.Cells(200, 6, {{4, "400"}});
        c.Set(213, "999");
        if (overridden) c.MarkOverridden(213);
        FlagGuard calculating(c.s.flags.calculating);
        CalculateBoxLoad(c.s);
        QCOMPARE(c.s.textBoxes[213].text, volume);
        QCOMPARE(g.Text(4, 5), QString("60"));   // areas are written either way
    }

    void infiltration_data() {
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("expected");
        QTest::newRow("airChanges_total") << QStringList{"radio=600"} << 680 << "8447";
        QTest::newRow("door_total") << QStringList{"radio=601"} << 680 << "7687";
        QTest::newRow("ventilation_total_halfRoundsUp") << QStringList{"radio=602"} << 680 << "8963";
        QTest::newRow("noMethod_glassAndDockOnly") << QStringList{} << 680 << "7275";
        QTest::newRow("airChanges_unroundedQuotient") << QStringList{} << 605 << "1171.875";
        QTest::newRow("door_roundedDailyOverRunTime") << QStringList{} << 624 << "411.75";
        QTest::newRow("noProtection_fullDoorLoad") << QStringList{"list625=0"} << 624 << "823.5";
        QTest::newRow("ventilation") << QStringList{} << 642 << "1687.5";
        QTest::newRow("glassDoors") << QStringList{} << 660 << "3900";
        QTest::newRow("zeroGlassDoors_zero") << QStringList{"659=0"} << 660 << "0";
        QTest::newRow("dockDoors") << QStringList{} << 670 << "3375";
        QTest::newRow("equalTemperatures_noDoorLoad") << QStringList{"600=31"} << 624 << "0";
        QTest::newRow("equalTemperatures_noDockLoad") << QStringList{"600=31"} << 670 << "0";
        QTest::newRow("overridden605_keepsItsValue") << QStringList{"radio=600", "override=605", "605=1"} << 605
                                                     << "1";
        QTest::newRow("overridden605_stillCounts") << QStringList{"radio=600", "override=605", "605=1"} << 680
                                                   << "8447";
        QTest::newRow("overridden680_untouched") << QStringList{"override=680", "680=5"} << 680 << "5";
    }
    void infiltration() {
        QFETCH(QStringList, settings);
        QFETCH(int, field);
        QFETCH(QString, expected);
        CalcState c;
        State& s = c.s;
        // Enthalpies without vapour-pressure term: 15 in the box (31 F), 40 outside (35 F).
        s.tableF = CalcState::Table({{"#t", "p", "a", "s"}, {"31", "0", "10", "10"}, {"35", "0", "30", "20"}});
        s.tableA = CalcState::Table({{"#v", "w", "c"}, {"500", "10", "20"}});
        s.tableB = CalcState::Table({{"#n", "w", "c"}, {"1", "800", "1300"}, {"2", "800", "1300"}});
        s.optionLists[625].items = {"None", "Strip curtain, average", "Air curtain"};
        s.valueLists[625].values = {"1.0", "0.5", "0.25"};
        c.Set({{12, "16"}, {103, "31"}, {600, "35"}, {213, "500"}, {619, "1"}, {620, "3"}, {621, "4"}, {622, "1"},
               {623, "50"}, {640, "10"}, {641, "50"}, {659, "2"}, {669, "1"}});
        s.radios[603].value = true;
        Apply(c, settings);
        FlagGuard calculating(s.flags.calculating);
        CalculateInfiltrationLoad(s);
        QCOMPARE(c.Value(field), expected);
        if (!settings.contains("list625=0")) {
            QCOMPARE(s.optionLists[625].selected, 1);
            QCOMPARE(s.textBoxes[625].text, QString("Strip curtain, average"));
        }
    }

    void product_data() {
        QTest::addColumn<QStringList>("rows");   // rows 3 to 12: m, t1, t2, h, tf, c1, c2, w, e, k
        QTest::addColumn<QString>("runTime");
        QTest::addColumn<QString>("row13");
        QTest::addColumn<QString>("mass");
        QTest::addColumn<QString>("load");
        const QStringList milk{"1000", "50", "35", "24", "30", "0.9", "0.45", "70", "0", "1"};
        auto with = [&](std::initializer_list<std::pair<int, const char*>> changes) {
            QStringList r = milk;
            for (const auto& [row, v] : changes) r[row - 3] = v;
            return r;
        };
        QTest::newRow("coolingOnly") << milk << "16" << "843.75" << "1000" << "844";
        QTest::newRow("coolFreezeSubcool") << with({{5, "0"}}) << "16" << "8268.75" << "1000" << "8269";
        QTest::newRow("arrivesFrozen_subcoolOnly") << with({{4, "20"}, {5, "0"}}) << "16" << "562.5"
                                                   << "1000" << "563";
        QTest::newRow("noFreezingPoint_neverFreezes") << with({{7, ""}, {5, "0"}}) << "16" << "2812.5"
                                                      << "1000" << "2813";
        QTest::newRow("zeroPullDown_storedHeatOnly") << with({{6, "0"}, {11, "2"}}) << "16" << "125"
                                                     << "1000" << "125";
        QTest::newRow("zeroCount_invalid") << with({{12, "0"}}) << "16" << "0" << "0" << "0";
        QTest::newRow("massNotANumber_invalid") << with({{3, "lots"}}) << "16" << "0" << "0" << "0";
        QTest::newRow("publishedChicken_r24")
            << QStringList{"1000000", "0", "-10", "24", "27", "0.9", "0.42", "70", "0", "1"} << "24" << "175000"
            << "1000000" << "175000";
    }
    void product() {
        QFETCH(QStringList, rows);
        QFETCH(QString, runTime);
        QFETCH(QString, row13);
        QFETCH(QString, mass);
        QFETCH(QString, load);
        CalcState c;
        c.Set({{103, "35"}, {312, "35"}, {213, "640"}});
        c.Set(12, runTime);
        c.s.grids[300].Cell(0, 2).text = "1";
        for (int r = 3; r <= 12; ++r) c.s.grids[300].Cell(r, 2).text = rows[r - 3];
        FlagGuard calculating(c.s.flags.calculating);
        CalculateProductLoad(c.s);
        QCOMPARE(c.s.grids[300].Text(13, 2), row13);
        QCOMPARE(c.Value(313), mass);
        QCOMPARE(c.Value(314), load);
    }

    void genericProduct_data() {
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QString>("boxTemperature");
        QTest::addColumn<QString>("mass");
        QTest::newRow("emptyHeading_cooler") << "" << "35" << "1280";
        QTest::newRow("genericHeading_freezer") << "Generic" << "-10" << "640";
        QTest::newRow("headingChanged_keepsUsersValues") << "Mine" << "35" << "5";
    }
    void genericProduct() {
        QFETCH(QString, heading);
        QFETCH(QString, boxTemperature);
        QFETCH(QString, mass);
        CalcState c;
        c.s.tableC = CalcState::Table({{"#g", "p", "w", "tf", "c1", "c2", "e"},
                                       {"General", "General product", "80", "27", "0.9", "0.45", "0"}});
        c.Set({{12, "16"}, {103, "35"}, {213, "640"}});
        c.Set(312, boxTemperature);
        c.Cells(300, 2, {{3, "5"}});
        c.s.grids[300].Cell(0, 2).text = heading;
        FlagGuard calculating(c.s.flags.calculating);
        CalculateProductLoad(c.s);
        const Grid& g = c.s.grids[300];
        QCOMPARE(g.Text(3, 2), mass);
        if (heading != "Mine")
            QCOMPARE((QStringList{g.Text(0, 2), g.Text(2, 2), g.Text(7, 2), g.Text(6, 2), g.Text(12, 2)}),
                     (QStringList{"Generic", "General product", "27", "24", "1"}));
    }

    void productLoadOverridden_gridAndMassStillWritten() {
        CalcState c;
        c.Set({{12, "16"}, {103, "35"}, {312, "35"}, {314, "7"}});
        c.MarkOverridden(314);
        c.Cells(300, 2, {{0, "1"}, {3, "10"}, {4, "35"}, {5, "35"}, {6, "24"}, {8, "1"}, {9, "1"}, {10, "0"},
                         {11, "16"}, {12, "1"}});
        FlagGuard calculating(c.s.flags.calculating);
        CalculateProductLoad(c.s);
        QCOMPARE(c.s.grids[300].Text(13, 2), QString("10"));
        QCOMPARE(c.Value(313), QString("10"));
        QCOMPARE(c.Value(314), QString("7"));
    }

    void misc_data() {
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<QString>("kind");   // section kind of the one wall-grid column (area 120)
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("expected");
        QTest::newRow("onlyPeople_halfRoundsUp") << QStringList{"406=2", "407=8"} << "Ceiling" << 422 << "893";
        QTest::newRow("lights_fromLitArea") << QStringList{"400=1", "402=12"} << "Ceiling" << 422 << "307";
        QTest::newRow("noLitSection_noLightingPower") << QStringList{"400=1", "402=12"} << "Wall" << 401 << "0";
        QTest::newRow("overridden401_typedValueUsed") << QStringList{"override=401", "401=1000", "402=12"} << "Wall"
                                                      << 422 << "750";
        QTest::newRow("motors_interpolated") << QStringList{"423=2", "403=0.2", "405=24"} << "Wall" << 422 << "3510";
        QTest::newRow("forklift") << QStringList{"408=1", "409=2"} << "Wall" << 422 << "1250";
        QTest::newRow("furtherItem") << QStringList{"417=100", "418=8"} << "Wall" << 422 << "50";
        QTest::newRow("overridden422_untouched") << QStringList{"override=422", "422=7", "406=2", "407=8"} << "Wall"
                                                 << 422 << "7";
    }
    void misc() {
        QFETCH(QStringList, settings);
        QFETCH(QString, kind);
        QFETCH(int, field);
        QFETCH(QString, expected);
        CalcState c;
        c.s.tableE = CalcState::Table({{"#hp", "a", "b", "c"}, {"0.16", "1163.4", "0", "0"}, {"0.25", "1178.2", "0", "0"}});
        c.s.grids[200].Resize(10, 3);
        c.Cells(200, 2, {{4, "120"}});
        c.s.grids[200].Cell(1, 2).text = kind;
        c.Set({{12, "16"}, {103, "35"}});
        Apply(c, settings);
        FlagGuard calculating(c.s.flags.calculating);
        CalculateMiscLoad(c.s);
        QCOMPARE(c.Value(field), expected);
    }
};

QTEST_GUILESS_MAIN(LoadsTest)
#include "loads_test.moc"
