// Field change rules on the shipped program: twin temperatures and the run time, the air
// around the box, box dimensions, what the rules' own writes may trigger, remembered fields.
#include "base/numbertext.h"
#include "input/fieldrules.h"
#include "input/units.h"
#include "inputtesting.h"

using namespace corvane;
using namespace corvane::test;

namespace {
double Cell(const State& s, int g, int r, int c) { return NumberFromText(ReadGridCell(s, g, r, c)); }
} // namespace

class FieldRulesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void boxTemperature_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("typedRunTime");   // typed over beforehand, empty for none
        QTest::addColumn<QString>("runTime");
        QTest::newRow("cooler_onUserPage") << 103 << "35" << "" << "16";
        QTest::newRow("freezer_onEquipmentPage") << 501 << "-10" << "" << "20";
        QTest::newRow("runTimeTypedOver_keptAsTyped") << 312 << "-10" << "18" << "18";
        QTest::newRow("commaLocale_decimal") << 103 << "2,5" << "" << "22";
        QTest::newRow("nonNumeric_runTimeAndProductsUntouched") << 103 << "abc" << "" << "16";
    }
    void boxTemperature() {
        QFETCH(int, field);
        QFETCH(QString, typed);
        QFETCH(QString, typedRunTime);
        if (typed.contains(',')) QLocale::setDefault(QLocale(QLocale::German));
        TestProgram program;
        State& s = program.Start();
        const QString finalBefore = ReadGridCell(s, 300, 5, 2);
        if (!typedRunTime.isEmpty()) Enter(s, 12, typedRunTime);
        Enter(s, field, typed);
        QTEST(s.textBoxes[12].text, "runTime");
        QCOMPARE(GetFieldValue(s, 103), GetFieldValue(s, 312));
        QCOMPARE(GetFieldValue(s, 501), GetFieldValue(s, 312));
        const bool numeric = IsNumeric(typed);
        QVERIFY(!numeric || Near(Cell(s, 300, 4, 2), NumberFromText(typed) + 10));
        QCOMPARE(ReadGridCell(s, 300, 5, 2), numeric ? TextFromSingle(NumberFromText(typed)) : finalBefore);
        QCOMPARE(IsOverridden(s, 12), !typedRunTime.isEmpty());
        Type(s, 12, "");   // clearing gives the run time back to the rule
        QCOMPARE(s.labels[12].foreColour, s.labels[0].foreColour);
    }

    void surroundingTemperature_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("fahrenheit");
        QTest::addColumn<bool>("outdoor");
        QTest::addColumn<bool>("airTypedOver");
        QTest::addColumn<QString>("air");   // field 600: a number, or the limit reached
        QTest::newRow("indoor_belowLimit") << "-50" << -50.0 << false << false << "MIN";
        QTest::newRow("outdoor_aboveLimit") << "150" << 150.0 << true << false << "MAX";
        QTest::newRow("indoor_airTypedOver_kept") << "70" << 70.0 << false << true << "80";
        QTest::newRow("outdoor_celsiusShown_addsInFahrenheit") << "C70" << 158.0 << true << false << "MAX";
    }
    void surroundingTemperature() {
        QFETCH(QString, typed);
        QFETCH(double, fahrenheit);
        QFETCH(bool, outdoor);
        QFETCH(bool, airTypedOver);
        QFETCH(QString, air);
        TestProgram program;
        State& s = program.Start();
        if (typed.startsWith('C')) s.SetRadio(843, true);
        s.SetRadio(outdoor ? 101 : 100, true);
        if (airTypedOver) Enter(s, 600, "80");
        Enter(s, outdoor ? 212 : 102, typed.remove('C'));
        const double limit = air == "MAX" ? s.constants.maxInfiltTemp : air == "MIN" ? s.constants.minInfiltTemp : air.toDouble();
        QCOMPARE(GetFieldValue(s, 102), GetFieldValue(s, 212));
        QVERIFY(Near(NumberFromText(GetFieldValue(s, 600)), limit));
        // Rectangular box: walls in columns 2 to 5, floor 6, ceiling 7; values in F whatever is shown.
        QVERIFY(Near(Cell(s, 200, 8, 5), fahrenheit + (outdoor ? 4 : 0)));
        QVERIFY(Near(Cell(s, 200, 8, 6), 55));
        QVERIFY(Near(Cell(s, 200, 8, 7), fahrenheit + (outdoor ? 9 : 0)));
    }

    void boxLength_switchesToRectangularBox() {
        TestProgram program;
        State& s = program.Start();
        s.SetRadio(201, true);
        QCOMPARE(s.grids[200].cols, 10);
        Enter(s, 13, "20");
        QVERIFY(s.radios[200].value);
        QCOMPARE(s.grids[200].cols, 8);
        for (int c : {2, 3, 6, 7}) QCOMPARE(ReadGridCell(s, 200, 2, c), QString("20"));
        QCOMPARE(ReadGridCell(s, 200, 3, 6), GetFieldValue(s, 14));
    }

    void rulesOwnWrites_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("unitOnCopies");
        QTest::addColumn<bool>("coolersFirst");   // the cooler count's rule ran before the calculation
        QTest::newRow("boxTemperature_copiesRunNoRules") << 103 << "20" << false << false;
        QTest::newRow("surrounding_copiesRunNoRules") << 212 << "90" << false << false;
        QTest::newRow("condensingUnits_coolerCountRuleFirst") << 522 << "3" << false << true;
        QTest::newRow("condensingUnits_coolerCountWithUnit_quietCopy") << 522 << "3" << true << false;
    }
    void rulesOwnWrites() {
        QFETCH(int, field);
        QFETCH(QString, typed);
        QFETCH(bool, unitOnCopies);
        TestProgram program;
        State& s = program.Start();
        // Copies into fields without a unit go through their change handling, so only the rules
        // flag can keep their rules from running.
        for (int n : {102, 103, 212, 312, 501, 542}) s.unitLabels[n].tag = unitOnCopies ? "LOADH" : "NONE";
        Mark(s);
        Type(s, field, typed);
        const QStringList lines = SinceMark(s);
        QCOMPARE(lines.count(">Calculate()"), 1);
        const qsizetype firstCooler = lines.indexOf(">Cooler()");
        QTEST(firstCooler >= 0 && firstCooler < lines.indexOf(">Calculate()"), "coolersFirst");
        QVERIFY(!s.flags.rules);
    }

    void rememberedFields_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<bool>("jobOpen");
        QTest::addColumn<bool>("remembered");
        QTest::newRow("contact_noJob_remembered") << 701 << false << true;
        QTest::newRow("contact_jobOpen_belongsToJob") << 701 << true << false;
        QTest::newRow("preference_jobOpen_remembered") << 805 << true << true;
    }
    void rememberedFields() {
        QFETCH(int, field);
        QFETCH(bool, jobOpen);
        TestProgram program;
        State& s = program.Start();
        if (jobOpen) s.currentJobPath = program.Folder() + "/JobFiles/a.cvj";
        s.flags.jobModified = false;
        Mark(s);
        Enter(s, field, "42");
        QTEST(s.settings.Get(s.settingsSection, "TextBox" + QString::number(field)) == "42", "remembered");
        QCOMPARE(s.flags.jobModified, jobOpen && field < 800);
        QCOMPARE(SinceMark(s).count(">Calculate()"), 0);
    }
};

QTEST_GUILESS_MAIN(FieldRulesTest)
#include "fieldrules_test.moc"
