#include "report/fieldcodes.h"

#include "definitions/state.h"
#include "tests/support/testprogram.h"

#include <QTest>

using namespace corvane;

// Field codes on the real window after start-up with the template job.
class FieldCodesTest : public QObject {
    Q_OBJECT

    test::TestProgram m_program;

  private Q_SLOTS:
    void initTestCase() {
        QLocale::setDefault(QLocale::c());
        State& s = m_program.Start();
        for (const auto& [n, text] : {std::pair{4, "Springfield"}, {5, "IL"}, {13, "12"}, {14, "10.5"}, {16, "8025"},
                                      {525, "105"}})
            s.textBoxes[n].text = QString::fromUtf8(text);
        s.currentJobPath = QStringLiteral("/jobs/cooler.cvj");
    }

    void formatsEachKindOfCode_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("shape");      // the option button of the box shape that is set
        QTest::addColumn<QString>("series"); // text box 530, the condenser series code
        QTest::addColumn<QString>("hours");  // text box 12, the running time
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("error"); // part of the error; empty: none
        auto row = [](const char* name, const char* code, const char* text, const char* error = "",
                      int shape = 200, const char* series = "MA", const char* hours = "16") {
            QTest::newRow(name) << QString::fromUtf8(code) << shape << QString::fromUtf8(series)
                                << QString::fromUtf8(hours) << QString::fromUtf8(text)
                                << QString::fromUtf8(error);
        };
        row("two fields joined", ",004005", "Springfield, IL");
        row("caption and text", ":016", "Total load 8025");
        row("product of two fields", "*013014", "126");
        row("share of the running time, rounded down", "h016", "501");
        row("share of a zero running time", "h016", "", "running time", 200, "MA", "0");
        row("grid cell", "D0102300", "General");
        row("grid column beyond the grid", "D0009300", "");
        row("grid heading that is no number", "D0002300", "A");
        row("grid heading that is a number", "D0002200", "1");
        row("grid row beyond the grid", "D2002200", "", "grid 200 has no row 20");
        row("grid code too short", "D02300", "", "row and a column");
        row("frame caption", "F200", "Box shape");
        row("label caption", "L103", "Box temperature");
        row("first set option button upward", "R200", "U-shaped", "", 202);
        row("no option button set upward", "R203", "", "from 203 upward", 202);
        row("string", "S015", "Send the job to (e-mail address):");
        row("string beyond the table", "S999", "", "no string 999");
        row("condensing temperature for an air-cooled series", "T525", "");
        row("condensing temperature for a series rated at one", "T525", "105", "", 200, "mc");
        row("condensing temperature as plain text", "M525", "105");
        row("rectangular box", "N013", "P2");
        row("number of another shape", "N013", "12", "", 201);
        row("text that is no number", "N004", "0", "", 201);
        row("unit", "U016", "Btu/h");
        row("page", "PPAGE", "Page 2 of 2");
        row("job path", "PPATH", "/jobs/cooler.cvj");
        row("code shorter than four characters", "T99", "");
        row("unknown kind", "X103", "");
        row("field that does not exist", "T999", "", "TEXTBOX 999 does not exist");
        row("field number that is no number", "T1a3", "", "does not end in a field number");
    }
    void formatsEachKindOfCode() {
        QFETCH(QString, code);
        QFETCH(int, shape);
        QFETCH(QString, error);
        State& s = m_program.state();
        for (int n = 200; n <= 204; ++n)
            s.radios[n].value = n == shape;
        QFETCH(QString, series);
        s.textBoxes[530].text = series;
        QFETCH(QString, hours);
        s.textBoxes[12].text = hours;
        PageInfo page;
        page.page = 2;
        page.count = 2;
        const CodeText got = FormatFieldCode(s, code, page);
        QTEST(got.text, "text");
        if (error.isEmpty())
            QVERIFY2(got.Ok(), qPrintable(got.error));
        else
            QVERIFY2(got.error.contains(error), qPrintable(got.error));
    }
};

QTEST_GUILESS_MAIN(FieldCodesTest)
#include "fieldcodes_test.moc"
