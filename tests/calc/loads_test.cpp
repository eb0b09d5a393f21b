#include "calc/loads.h"

#include "tests/calc/calcstate.h"

#include <QTest>

using namespace corvane;
using corvane::test::CalcState;

class LoadsTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    // Each load runs on a small job of its own (component before the first '_').
    void load_data() {
        test::Rows({
            {"box_wall20x10", "sec=Wall,20,10,4,0.25,95 => g200:4,2=200 g200:9,2=1125 214=1125"},
            {"box_publishedFreezerWall",
             "sec=Wall,200,30,4,0.19,95 103=-10 12=18 => g200:9,2=39900 214=39900"},
            {"box_publishedCoolerFloor", "sec=Floor,28,8,6,1.25,95 => 214=4200"},
            {"box_partitionCounts", "sec=Partition,20,10,4,0.25,95 => 214=1125"},
            {"box_colderFarSide_reducesTotal", "sec=Wall,20,10,4,0.25,20 => g200:9,2=-281.25 214=-281"},
            {"box_kNotANumber_nothing", "sec=Wall,20,10,4,x,95 => g200:9,2=0 214=0"},
            {"box_zeroThickness_nothing", "sec=Wall,20,10,0,0.25,95 => g200:9,2=0 214=0"},
            {"box_boxTempNotANumber_zero", "sec=Wall,20,10,4,0.25,95 103=cold => g200:9,2= 214=0"},
            {"box_zeroRunTime_noDivision", "sec=Wall,20,10,4,0.25,95 12=0 => g200:9,2=0 214=0"},
            {"box_volume_floorTimesMeanHeight",
             "radio=200 g200:3,2=10 g200:3,3=10 g200:3,4=12 g200:3,5=12 g200:4,6=400 "
             "=> t213=4400"},
            {"box_volumeOverridden_areasStillWritten",
             "radio=200 g200:2,2=5 g200:3,2=9 g200:3,3=9 g200:3,4=9 g200:3,5=9 "
             "g200:4,6=400 override=213 213=9 => t213=9 g200:4,2=45"},
            {"infil_airChanges", "radio=600 => 605=1171.875 680=8447 t625=Strip"},
            {"infil_door", "radio=601 => 624=411.75 680=7687"},
            {"infil_ventilation_halfRoundsUp", "radio=602 => 642=1687.5 680=8963"},
            {"infil_noMethod_glassAndDockOnly", "=> 660=3900 670=3375 680=7275"},
            {"infil_zeroGlassDoors", "659=0 => 660=0"},
            {"infil_equalTemperatures_noDoorNoDock", "600=31 => 624=0 670=0"},
            {"infil_overridden605_keptButCounted", "radio=600 override=605 605=1 => 605=1 680=8447"},
            {"prod_coolingOnly", "p2=1000,50,35,24,30,0.9,0.45,70,0,1 => g300:13,2=843.75 313=1000 314=844"},
            {"prod_coolFreezeSubcool", "p2=1000,50,0,24,30,0.9,0.45,70,0,1 => g300:13,2=8268.75"},
            {"prod_arrivesFrozen_subcoolOnly",
             "p2=1000,20,0,24,30,0.9,0.45,70,0,1 => g300:13,2=562.5 314=563"},
            {"prod_noFreezingPoint_neverFreezes", "p2=1000,50,0,24,,0.9,0.45,70,0,1 => g300:13,2=2812.5"},
            {"prod_zeroPullDown_storedHeatOnly", "p2=1000,50,0,0,30,0.9,0.45,70,2,1 => g300:13,2=125"},
            {"prod_zeroCount_notCounted", "p2=1000,50,35,24,30,0.9,0.45,70,0,0 => g300:13,2=0 313=0 314=0"},
            {"prod_publishedChicken", "p2=1000000,0,-10,24,27,0.9,0.42,70,0,1 12=24 => g300:13,2=175000"},
            {"prod_overridden314_gridAndMassWritten", "p2=10,35,35,24,,1,1,0,16,1 override=314 314=7 "
                                                      "=> g300:13,2=10 313=10 314=7"},
            {"prod_generic_followsBoxVolume",
             "g300:0,2= => g300:0,2=Generic g300:3,2=1280 g300:6,2=24 g300:7,2=27"},
            {"prod_genericFreezer_lighterLoading", "g300:0,2=Generic 312=-10 => g300:3,2=640"},
            {"prod_renamedGeneric_keepsUsersValues", "g300:0,2=Mine g300:3,2=5 => g300:3,2=5"},
            {"misc_onlyPeople_halfRoundsUp", "406=2 407=8 => 422=893"},
            {"misc_lights_fromCeilingArea", "400=1 402=12 => 422=307"},
            {"misc_noCeiling_noLights", "400=1 g200:1,2=Wall => 401=0"},
            {"misc_overridden401_typedValueUsed", "override=401 401=1000 402=12 => 422=750"},
            {"misc_motorsForkliftItem", "423=2 403=0.2 405=24 408=1 409=2 417=100 418=8 => 422=4810"},
            {"misc_overridden422_untouched", "override=422 422=7 406=2 407=8 => 422=7"},
        });
    }
    void load() {
        QFETCH(QString, line);
        const QString component = QTest::currentDataTag();
        CalcState c;
        State& s = c.s;
        c.Apply("12=16 103=35 312=35 213=640 g300:0,2=1");
        s.grids[200].Resize(10, 8);
        // Infiltration: enthalpies without vapour term, 15 in the box (31 F), 40 outside (35 F).
        s.tableF =
            CalcState::Table({{"#t", "p", "a", "s"}, {"31", "0", "10", "10"}, {"35", "0", "30", "20"}});
        s.tableA = CalcState::Table({{"#v", "w", "c"}, {"500", "10", "20"}});
        s.tableB = CalcState::Table({{"#n", "w", "c"}, {"1", "800", "1300"}, {"2", "800", "1300"}});
        s.optionLists[625].items = {"None", "Strip", "Air"};
        s.valueLists[625].values = {"1.0", "0.5", "0.25"};
        s.tableC = CalcState::Table(
            {{"#g", "p", "w", "tf", "c1", "c2", "e"}, {"All", "Any", "80", "27", "1", "1", "0"}});
        s.tableE = CalcState::Table(
            {{"#hp", "a", "b", "c"}, {"0.16", "1163.4", "", ""}, {"0.25", "1178.2", "", ""}});
        if (component.startsWith("infil"))
            c.Apply(
                "103=31 600=35 213=500 619=1 620=3 621=4 622=1 623=50 640=10 641=50 659=2 669=1 radio=603");
        if (component.startsWith("misc")) c.Apply("g200:1,2=Ceiling g200:4,2=120");
        FlagGuard calculating(s.flags.calculating);
        c.Run(line, [&] {
            if (component.startsWith("box")) CalculateBoxLoad(s);
            if (component.startsWith("infil")) CalculateInfiltrationLoad(s);
            if (component.startsWith("prod")) CalculateProductLoad(s);
            if (component.startsWith("misc")) CalculateMiscLoad(s);
        });
    }
};

QTEST_GUILESS_MAIN(LoadsTest)
#include "loads_test.moc"
