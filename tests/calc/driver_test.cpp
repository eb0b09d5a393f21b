#include "calc/driver.h"

#include "tests/calc/calcstate.h"

#include <QTest>

using namespace corvane;
using corvane::test::CalcState;

namespace {

// A job every check passes, with two products whose earlier marks a passing check clears.
const char* const Valid =
    "506=10 502=10 12=16 501=35 103=35 312=35 102=95 500=95 600=95 659=0 403=0.05 13=10 14=8 15=8 "
    "522=1 542=2 p2=0,45,35 p3=0,45,35 g300:0,2=1 g300:0,3=2";

} // namespace

class DriverTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void checkInputs_data() {
        test::Rows({
            {"valid", "=> errors= back16=normal back12=normal"},
            {"runTimeZero", "12=0 => errors=E0 back12=mark back16=mark back503=mark back562=mark"},
            {"runTimeEmpty_readsAsZero", "12= => errors=E0"},
            {"runTime24_5", "12=24.5 => errors=E1"},
            {"runTime24_passes", "12=24 => errors= back12=normal"},
            {"safetyAtMinimum_passes", "506=5 => errors="},
            {"safetyBelowMinimum", "506=4.9 => errors=E24 back506=mark"},
            {"boxEqualsAmbient", "501=95 => errors=E3 back501=mark"},
            {"box103_markOnly", "103=95 => errors= back103=mark back16=normal"},
            {"condenserAmbientTooHigh", "500=126 => errors=E5"},
            {"airBelowRange_firstConditionWins", "600=29 => errors=E6"},
            {"airBelowBox", "600=34 => errors=E8"},
            {"tooManyGlassDoors", "659=31 => errors=E10"},
            {"negativeWidth", "14=-1 => errors=E13 back14=mark"},
            {"negativeLengthHidden_noError", "13=-1 hide=13 => errors="},
            {"noCondensingUnit_noDivision", "522=0 => errors=E16"},
            {"fractionalCoolers", "542=2.5 => errors=E19"},
            {"coolersNotDivisible", "522=2 542=3 => errors=E20 back542=mark"},
            {"coolersDivisible", "522=2 542=4 => errors="},
            {"twoFailures_inTableOrder", "12=0 500=49 => errors=E0,E4"},
            {"designTdZero", "502=0 => errors=E27 back502=mark"},
            // Each field holding no number the calculation can carry is named and marked.
            {"notNumbers_eachNamed", "659=abc 13=1e39 => errors=E25:13,E25:659 back659=mark back13=mark back16=mark"},
            {"twoFinalsBelowBox_listedOnce",
             "p2=100,45,30,24 p3=50,45,20,24 => errors=E21 back300:5,2=mark back300:5,3=mark "
             "back300:4,2=normal"},
            {"enteringBelowBox", "p2=100,30,35,24 => errors=E22,E23 back300:4,2=mark back300:5,2=normal"},
            {"finalAboveEntering", "p2=100,40,45,24 => errors=E23 back300:4,2=mark"},
            {"noMass_notChecked", "p2=0,10,0 p3=x,10,0 => errors= back300:4,2=normal back300:5,3=normal"},
        });
    }
    void checkInputs() {
        QFETCH(QString, line);
        CalcState c;
        c.s.grids[300].Resize(14, 4);
        for (const char* cell : {"g300:4,2", "g300:5,2", "g300:4,3", "g300:5,3"})
            c.Cell(cell).backColour = MarkColour;
        c.Apply(Valid);
        bool failed = false;
        c.Run(line, [&] { failed = CheckInputs(c.s); });
        QCOMPARE(failed, !c.s.errorList.isEmpty());
        QCOMPARE(c.s.errorFrameVisible && c.s.bannerActive, failed);
        // The banner lists every failure once, one line each.
        QCOMPARE(c.s.bannerText, c.s.errorList.join("\r\n"));
        QCOMPARE(c.s.bannerLines, c.s.errorList.size());
        // Putting the input right clears every mark, except on the field that has the focus.
        c.s.focus = {ControlKind::TextBox, 16};
        c.Run(QString(Valid) + " p2=0 p3=0 => errors=", [&] { CheckInputs(c.s); });
        for (const auto& [n, box] : c.s.textBoxes)
            QCOMPARE(box.backColour == MarkColour, n == 16 && failed);
        QVERIFY(c.Actual("back300:4,2") == "normal" && c.Actual("back300:5,3") == "normal");
    }

    // The transmission load is typed over, so the total is known.
    void calculate_data() {
        test::Rows({
            {"requirementWithSafety", "override=214 214=10000 => 16=10000 503=11000"},
            {"requirementRoundedDown", "override=214 214=999.9 => 16=999.9 503=1099"},
            {"totalOverridden_requirementFromSum",
             "override=214 214=10000 override=16 16=5 => 16=5 503=11000"},
            {"failedCheck_noResultChanges", "12=0 214=123 16=9 => 214=123 16=9"},
            {"motorDefaultsFromTableK", "213=1200 => 423=3 403=0.25"},
            {"motorPowerTyped_bothKept", "213=1200 override=403 403=1.5 423=7 => 423=7 403=1.5"},
            {"motorCountTyped_bothKept", "213=1200 override=423 403=1.5 423=7 => 423=7 403=1.5"},
        });
    }
    void calculate() {
        QFETCH(QString, line);
        CalcState c;
        c.s.tableK = CalcState::Table({{"#v", "n", "hp", "n", "hp"},
                                       {"0", "2", "0.05", "1", "0.05"},
                                       {"1000", "4", "0.25", "3", "0.25"},
                                       {"2000", "5", "0.5", "4", "0.5"},
                                       {"3000", "6", "1", "5", "1"}});
        c.s.grids[300].Resize(14, 4);
        c.Apply(Valid);
        // Results are written while the calculating flag keeps the field rules to storing.
        bool whileCalculating = true;
        c.s.events.textChanged = [&](int) { whileCalculating &= c.s.flags.calculating; };
        c.Run(line, [&] { Calculate(c.s); });
        QVERIFY(whileCalculating && !c.s.flags.calculating);
    }
};

QTEST_GUILESS_MAIN(DriverTest)
#include "driver_test.moc"
