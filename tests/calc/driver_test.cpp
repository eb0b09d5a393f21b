#include "calc/driver.h"

#include "tests/calc/calcstate.h"

#include <QTest>

using namespace corvane;
using corvane::test::CalcState;

namespace {

// A job every check passes.
void Valid(CalcState& c) {
    c.Set({{506, "10"}, {12, "16"}, {501, "35"}, {103, "35"}, {312, "35"}, {102, "95"}, {500, "95"}, {600, "95"},
           {659, "0"}, {403, "0.05"}, {13, "10"}, {14, "8"}, {15, "8"}, {522, "1"}, {542, "2"}});
}

QStringList Errors(const State& s) {
    QStringList numbers;
    for (const QString& text : s.errorList) numbers << text.mid(1);
    return numbers;
}

} // namespace

class DriverTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void checkInputs_data() {
        QTest::addColumn<QStringList>("values");   // "field=value"; "hide=n" hides text box n
        QTest::addColumn<QStringList>("errors");
        QTest::addColumn<int>("marked");   // the field that shows the mark colour, 0 for none
        QTest::newRow("valid_noError") << QStringList{} << QStringList{} << 0;
        QTest::newRow("runTimeZero") << QStringList{"12=0"} << QStringList{"0"} << 12;
        QTest::newRow("runTimeEmpty_readsAsZero") << QStringList{"12="} << QStringList{"0"} << 12;
        QTest::newRow("runTimeNotANumber_readsAsZero") << QStringList{"12=all day"} << QStringList{"0"} << 12;
        QTest::newRow("runTime24_5") << QStringList{"12=24.5"} << QStringList{"1"} << 12;
        QTest::newRow("runTime24_passes") << QStringList{"12=24"} << QStringList{} << 0;
        QTest::newRow("safetyAtMinimum_passes") << QStringList{"506=5"} << QStringList{} << 0;
        QTest::newRow("safetyBelowMinimum") << QStringList{"506=4.9"} << QStringList{"24"} << 506;
        QTest::newRow("boxBelowMinimum") << QStringList{"501=-31"} << QStringList{"2"} << 501;
        QTest::newRow("boxEqualsAmbient") << QStringList{"501=95"} << QStringList{"3"} << 501;
        QTest::newRow("box103Only_markOnly") << QStringList{"103=95"} << QStringList{} << 103;
        QTest::newRow("condenserAmbientLow") << QStringList{"500=49"} << QStringList{"4"} << 500;
        QTest::newRow("condenserAmbientHigh") << QStringList{"500=126"} << QStringList{"5"} << 500;
        QTest::newRow("airBelowRange") << QStringList{"600=29"} << QStringList{"6"} << 600;
        QTest::newRow("airAboveRange") << QStringList{"600=111"} << QStringList{"7"} << 600;
        QTest::newRow("airBelowBox") << QStringList{"600=34"} << QStringList{"8"} << 600;
        QTest::newRow("negativeGlassDoors") << QStringList{"659=-1"} << QStringList{"9"} << 659;
        QTest::newRow("tooManyGlassDoors") << QStringList{"659=31"} << QStringList{"10"} << 659;
        QTest::newRow("negativeMotorPower") << QStringList{"403=-1"} << QStringList{"11"} << 403;
        QTest::newRow("motorPowerTooLarge") << QStringList{"403=21"} << QStringList{"12"} << 403;
        QTest::newRow("negativeWidth") << QStringList{"14=-1"} << QStringList{"13"} << 14;
        QTest::newRow("negativeLengthHidden_noError") << QStringList{"13=-1", "hide=13"} << QStringList{} << 0;
        QTest::newRow("negativeHeight") << QStringList{"15=-1"} << QStringList{"15"} << 15;
        QTest::newRow("noCondensingUnit_noDivision") << QStringList{"522=0"} << QStringList{"16"} << 522;
        QTest::newRow("fractionalUnits") << QStringList{"522=1.5"} << QStringList{"17"} << 522;
        QTest::newRow("noCooler") << QStringList{"542=0"} << QStringList{"18"} << 542;
        QTest::newRow("fractionalCoolers") << QStringList{"542=2.5"} << QStringList{"19"} << 542;
        QTest::newRow("coolersNotDivisible") << QStringList{"522=2", "542=3"} << QStringList{"20"} << 542;
        QTest::newRow("coolersDivisible") << QStringList{"522=2", "542=4"} << QStringList{} << 0;
        QTest::newRow("twoFailures_inTableOrder") << QStringList{"12=0", "500=49"} << QStringList{"0", "4"} << 500;
    }
    void checkInputs() {
        QFETCH(QStringList, values);
        QFETCH(QStringList, errors);
        QFETCH(int, marked);
        CalcState c;
        Valid(c);
        for (const QString& v : values) {
            if (v.startsWith("hide=")) c.s.textBoxes[v.mid(5).toInt()].visible = false;
            else c.Set(v.section('=', 0, 0).toInt(), v.section('=', 1));
        }
        QCOMPARE(CheckInputs(c.s), !errors.isEmpty());
        QCOMPARE(Errors(c.s), errors);
        const Colour result = errors.isEmpty() ? c.s.colours.fieldBack : MarkColour;
        for (int n : {16, 503, 560, 561, 562, 214, 680, 314, 422}) QCOMPARE(c.s.textBoxes[n].backColour, result);
        if (marked) QCOMPARE(c.s.textBoxes[marked].backColour, MarkColour);
        if (!errors.isEmpty()) {
            QCOMPARE(c.s.bannerLines, errors.size() + 1);
            QCOMPARE(c.s.bannerText.split("\r\n").last(), c.s.firstErrorText);
        }
        QCOMPARE(c.s.errorFrameVisible, !errors.isEmpty());
        QCOMPARE(c.s.bannerActive, !errors.isEmpty());

        // Putting the input right clears every mark; a field with the focus keeps its colour.
        Valid(c);
        c.s.focus = {ControlKind::TextBox, 16};
        QVERIFY(!CheckInputs(c.s));
        for (const auto& [n, box] : c.s.textBoxes)
            QCOMPARE(box.backColour, n == 16 ? result : c.s.colours.fieldBack);
    }

    void productChecks_data() {
        QTest::addColumn<QStringList>("products");   // "mass,entering,final" per column
        QTest::addColumn<QStringList>("errors");
        QTest::addColumn<QStringList>("marks");      // "row,column" of the marked cells
        QTest::newRow("valid") << QStringList{"100,45,35"} << QStringList{} << QStringList{};
        QTest::newRow("twoFinalBelowBox_listedOnce") << QStringList{"100,45,30", "50,45,20"} << QStringList{"21"}
                                                     << QStringList{"5,2", "5,3"};
        QTest::newRow("enteringBelowBox") << QStringList{"100,30,35"} << QStringList{"22", "23"}
                                          << QStringList{"4,2"};
        QTest::newRow("finalAboveEntering") << QStringList{"100,40,45"} << QStringList{"23"} << QStringList{"4,2"};
        QTest::newRow("noMass_notChecked") << QStringList{"0,10,0", "x,10,0"} << QStringList{} << QStringList{};
    }
    void productChecks() {
        QFETCH(QStringList, products);
        QFETCH(QStringList, errors);
        QFETCH(QStringList, marks);
        CalcState c;
        Valid(c);
        Grid& g = c.s.grids[300];
        g.Resize(14, 2 + products.size());
        for (int i = 0; i < products.size(); ++i) {
            const QStringList p = products[i].split(',');
            for (int r = 3; r <= 5; ++r) g.Cell(r, 2 + i).text = p[r - 3];
            g.Cell(4, 2 + i).backColour = g.Cell(5, 2 + i).backColour = MarkColour;   // marks of an earlier check
        }
        QCOMPARE(CheckInputs(c.s), !errors.isEmpty());
        QCOMPARE(Errors(c.s), errors);
        for (int col = 2; col < g.cols; ++col)
            for (int r : {4, 5})
                QCOMPARE(g.Cell(r, col).backColour,
                         marks.contains(QStringLiteral("%1,%2").arg(r).arg(col)) ? MarkColour : CalcState::CellBack);
    }

    void totals_data() {
        QTest::addColumn<QString>("transmission");   // typed over, so the total is known
        QTest::addColumn<QString>("safety");
        QTest::addColumn<bool>("totalOverridden");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("requirement");
        QTest::newRow("tenPercent") << "10000" << "10" << false << "10000" << "11000";
        QTest::newRow("requirementRoundedDown") << "999.9" << "10" << false << "999.9" << "1099";
        QTest::newRow("totalOverridden_requirementFromSum") << "10000" << "10" << true << "5" << "11000";
    }
    void totals() {
        QFETCH(QString, transmission);
        QFETCH(QString, safety);
        QFETCH(bool, totalOverridden);
        QFETCH(QString, total);
        QFETCH(QString, requirement);
        CalcState c;
        Valid(c);
        c.Set(214, transmission);
        c.Set(16, "5");
        c.Set(506, safety);
        c.MarkOverridden(214);
        if (totalOverridden) c.MarkOverridden(16);
        // Results are written while the calculating flag keeps the field rules to storing.
        bool writtenWhileCalculating = true;
        c.s.events.textChanged = [&](int) { writtenWhileCalculating &= c.s.flags.calculating; };
        Calculate(c.s);
        QVERIFY(writtenWhileCalculating);
        QVERIFY(!c.s.flags.calculating);
        QCOMPARE(c.Value(16), total);
        QCOMPARE(c.Value(503), requirement);
    }

    void failedCheck_changesNoResult() {
        CalcState c;
        Valid(c);
        c.Set({{12, "0"}, {214, "123"}, {16, "9"}});
        Calculate(c.s);
        QCOMPARE(c.Value(214), QString("123"));
        QCOMPARE(c.Value(16), QString("9"));
    }

    void defaultMotors_data() {
        QTest::addColumn<int>("overridden");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("power");
        QTest::newRow("fromTableK") << 0 << "3" << "0.25";
        QTest::newRow("motorPowerTyped_bothKept") << 403 << "7" << "1.5";
        QTest::newRow("motorCountTyped_bothKept") << 423 << "7" << "1.5";
    }
    void defaultMotors() {
        QFETCH(int, overridden);
        QFETCH(QString, count);
        QFETCH(QString, power);
        CalcState c;
        c.s.tableK = CalcState::Table({{"#v", "n", "hp", "n", "hp"}, {"0", "2", "0.05", "1", "0.05"},
                                       {"1000", "4", "0.25", "3", "0.25"}, {"2000", "5", "0.5", "4", "0.5"},
                                       {"3000", "6", "1", "5", "1"}});
        c.Set({{213, "1200"}, {103, "35"}, {423, "7"}, {403, "1.5"}});
        if (overridden) c.MarkOverridden(overridden);
        DefaultMotors(c.s);
        QCOMPARE(c.Value(423), count);
        QCOMPARE(c.Value(403), power);
    }
};

QTEST_GUILESS_MAIN(DriverTest)
#include "driver_test.moc"
