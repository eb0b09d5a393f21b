// Numeric entry: the key filter in both decimal styles, Enter and Escape, and what leaving a
// field checks and fills in.
#include "base/numbertext.h"
#include "input/fieldrules.h"
#include "inputtesting.h"

using namespace corvane;
using namespace corvane::test;

namespace {
struct KeyCase {
    bool comma;
    int where;   // a text box, or -r for row r of the wall-section grid's cell editor
    const char* text;
    char key;
    int caret;
    bool accepted;
};
} // namespace
Q_DECLARE_METATYPE(KeyCase)

class NumericEntryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void keyFilter_data() {
        QTest::addColumn<KeyCase>("c");
        const std::pair<const char*, KeyCase> rows[] = {
            {"digit_accepted", {false, 13, "12", '5', 2, true}},
            {"letter_numberField_refused", {false, 13, "12", 'a', 2, false}},
            {"letter_stringField_accepted", {false, 0, "Ac", 'm', 2, true}},
            {"backspace_accepted", {false, 13, "12", char(Key::Backspace), 2, true}},
            {"minus_emptyField_accepted", {false, 13, "", '-', 0, true}},
            {"minus_afterDigit_refused", {false, 13, "5", '-', 1, false}},
            {"minus_second_refused", {false, 13, "-5", '-', 0, false}},
            {"point_pointLocale_accepted", {false, 13, "12", '.', 2, true}},
            {"point_pointLocale_onceOnly", {false, 13, "1.2", '.', 3, false}},
            {"comma_pointLocale_refused", {false, 13, "12", ',', 2, false}},
            {"point_commaLocale_refused", {true, 13, "12", '.', 2, false}},
            {"comma_commaLocale_accepted", {true, 13, "12", ',', 2, true}},
            {"comma_commaLocale_onceOnly", {true, 13, "1,2", ',', 1, false}},
            {"grid_numericRow_letterRefused", {false, -5, "4", 'x', 1, false}},
            {"grid_numericRow_commaLocale_pointRefused", {true, -8, "4", '.', 1, false}},
            {"grid_listRow_letterAccepted", {false, -1, "Wa", 'l', 2, true}},
        };
        for (const auto& [name, c] : rows) QTest::newRow(name) << c;
    }
    void keyFilter() {
        QFETCH(KeyCase, c);
        if (c.comma) QLocale::setDefault(QLocale(QLocale::German));
        test::TestSession session;
        State& s = session.s;
        s.grids[200].rowTypes = QString("TEXT LIST NUMBER NUMBER NUMBER Number LIST NUMBER NUMBER NUMBER").split(' ');
        if (c.where >= 0) {
            s.SetTextQuietly(c.where, c.text);
            QCOMPARE(TextBoxKeyPress(s, c.where, c.key, c.caret), c.accepted);
        } else {
            s.grids[200].row = -c.where;
            s.cellEditorText[0] = c.text;
            QCOMPARE(GridEditorKeyPress(s, 200, c.key, c.caret), c.accepted);
        }
    }

    void enterMovesOn_escapeRestoresLatestArrival() {
        TestProgram program;
        State& s = program.Start();
        s.SetRadio(843, true);   // temperatures in Celsius
        SetFieldValue(s, 103, "35");
        Enter(s, 103, "10");     // 50 F
        Type(s, 103, "20");
        bool moveOn = false;
        QVERIFY(!TextBoxKeyPress(s, 103, Key::Enter, 2, &moveOn));
        QVERIFY(moveOn);
        QCOMPARE(s.textBoxes[103].text, QString("20"));
        QVERIFY(!TextBoxKeyPress(s, 103, Key::Escape, 2));
        QCOMPARE(s.textBoxes[103].text, QString("10"));
        QVERIFY(Near(NumberFromText(GetFieldValue(s, 103)), 50));
        QCOMPARE(GetFieldValue(s, 312), GetFieldValue(s, 103));   // a change like any other
        s.grids[200].row = 5;
        QVERIFY(!GridEditorKeyPress(s, 200, Key::Enter, 0));
    }

    void leaveEmpty_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("boxTemperature");
        QTest::addColumn<QString>("filled");
        QTest::newRow("runTime_cooler_16") << 12 << "35" << "16";
        QTest::newRow("runTime_aboveZero_22") << 12 << "10" << "22";
        QTest::newRow("runTime_deepFreezer_18") << 12 << "-25" << "18";
        QTest::newRow("runTime_belowAllBands_staysEmpty") << 12 << "-40" << "";
        QTest::newRow("condenserAmbient_fromSurrounding") << 500 << "35" << "95";
        QTest::newRow("ordinaryNumber_zero") << 406 << "35" << "0";
        QTest::newRow("stringField_staysEmpty") << 1 << "35" << "";
    }
    void leaveEmpty() {
        QFETCH(int, field);
        QFETCH(QString, boxTemperature);
        QFETCH(QString, filled);
        TestProgram program;
        State& s = program.Start();
        SetFieldValue(s, 102, "95");
        SetFieldValue(s, 103, boxTemperature);
        Enter(s, field, "");
        QCOMPARE(s.textBoxes[field].text, filled);
        QCOMPARE(GetFieldValue(s, field), filled);
    }

    void pastedText_storedUnconvertedAndReported() {
        TestProgram program;
        State& s = program.Start();
        Type(s, 12, "abc");   // pasted: no key filter on the way
        QCOMPARE(GetFieldValue(s, 12), QString("abc"));
        TextBoxLostFocus(s, 12);
        QCOMPARE(s.textBoxes[12].backColour, MarkColour);
        QVERIFY(s.errorFrameVisible && s.bannerActive);
        QVERIFY(s.errorList.contains(s.errorTexts[0]));
    }
};

QTEST_GUILESS_MAIN(NumericEntryTest)
#include "numericentry_test.moc"
