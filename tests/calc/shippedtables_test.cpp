// The engineering tables delivered in opdata/: every line is read, the look-ups find their
// keys in order, the language file's limits lie inside the tables, and the psychrometric data
// reproduce published air enthalpies.
#include "app/numbertext.h"
#include "app/record.h"
#include "calc/loads.h"
#include "calc/tables.h"
#include "tests/calc/calcstate.h"
#include "tests/support/testprogram.h"

#include <QTest>

using namespace corvane;
using corvane::test::CalcState;

namespace {

struct Shipped : CalcState {
    Shipped() {
        s.dataFolder = test::BuiltProgramFolder() + QStringLiteral("/opdata/");
        // The limits come from the shipped language file itself.
        LineReader lng(s.dataFolder + QStringLiteral("default.lng"));
        if (lng.Open())
            while (!lng.AtEnd()) {
                const Record r = lng.ReadRecord();
                if (r.Field(1).toUpper() == QLatin1String("ACONST")) s.constants.Set(r.Field(3), NumberFromText(r.Field(4)));
            }
        ReadFixedTables(s);
        ReadLanguageTables(s);
    }
    DataTable& Table(const QString& name) {
        DataTable* tables[] = {&s.tableA, &s.tableB, &s.tableC, &s.tableD, &s.tableE, &s.tableF, &s.tableK};
        return *tables[QStringLiteral("ABCDEFK").indexOf(name)];
    }
};

int DataLines(const QString& path) {
    LineReader reader(path);
    int lines = 0;
    if (reader.Open())
        while (!reader.AtEnd()) {
            const QString line = reader.ReadLine();
            if (!line.isEmpty() && !line.startsWith(QLatin1Char('#'))) ++lines;
        }
    return lines;
}

} // namespace

class ShippedTablesTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Shipped> m_english, m_french;

private Q_SLOTS:
    void initTestCase() {
        m_english = std::make_unique<Shipped>();
        m_french = std::make_unique<Shipped>();
        m_french->settings.Save(m_french->s.settingsSection, "Language_File", "francais.lng");
        ReadLanguageTables(m_french->s);
    }

    void table_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QList<int>>("numeric");   // columns that must hold numbers
        QTest::addColumn<bool>("ascending");       // keys searched in order
        QTest::newRow("A_airChanges") << "A" << "TableA.data" << QList<int>{1, 2, 3} << true;
        QTest::newRow("B_glassDoors") << "B" << "TableB.data" << QList<int>{1, 2, 3} << true;
        QTest::newRow("C_products") << "C" << "default.TableC.data" << QList<int>{3, 4, 5, 6, 7} << false;
        QTest::newRow("D_constructions") << "D" << "default.TableD.data" << QList<int>{2} << false;
        QTest::newRow("E_motorHeat") << "E" << "TableE.data" << QList<int>{1, 2, 3, 4} << true;
        QTest::newRow("F_psychrometrics") << "F" << "TableF.data" << QList<int>{1, 2, 3, 4} << true;
        QTest::newRow("K_fanMotors") << "K" << "TableK.data" << QList<int>{1, 2, 3, 4, 5} << true;
    }
    void table() {
        QFETCH(QString, table);
        QFETCH(QString, file);
        QFETCH(QList<int>, numeric);
        QFETCH(bool, ascending);
        Shipped& shipped = *m_english;
        const DataTable& t = shipped.Table(table);
        QVERIFY(t.RowCount() > 0);
        QCOMPARE(t.RowCount(), DataLines(shipped.s.dataFolder + file));   // no line skipped
        for (int r = 1; r <= t.RowCount(); ++r) {
            for (int c : numeric) QVERIFY2(IsNumeric(t.Cell(c, r)), qPrintable(QStringLiteral("row %1 col %2").arg(r).arg(c)));
            if (ascending && r > 1) QVERIFY(NumberFromText(t.Cell(1, r)) > NumberFromText(t.Cell(1, r - 1)));
        }
    }

    void translationKeepsNumbersAndOrder_data() {
        QTest::addColumn<QString>("table");
        QTest::newRow("C") << "C";
        QTest::newRow("D") << "D";
    }
    void translationKeepsNumbersAndOrder() {
        QFETCH(QString, table);
        const DataTable &a = m_english->Table(table), &b = m_french->Table(table);
        QCOMPARE(b.RowCount(), a.RowCount());
        for (int r = 1; r <= a.RowCount(); ++r)
            for (int c = table == "C" ? 3 : 2; c <= a.columns; ++c) QCOMPARE(b.Cell(c, r), a.Cell(c, r));
    }

    void limitsLieWithinTheTables() {
        const State& s = m_english->s;
        const CalcConstants& k = s.constants;
        QVERIFY(k.maxDoors > 0 && k.maxMotorHP > 0);
        // Glass doors are found by exact count, so every count up to the limit needs its row.
        for (int n = 1; n <= int(k.maxDoors); ++n) QCOMPARE(NumberFromText(s.tableB.Cell(1, n)), float(n));
        QVERIFY(k.maxMotorHP <= NumberFromText(s.tableE.Cell(1, s.tableE.RowCount())));
        QVERIFY(NumberFromText(s.tableF.Cell(1, 1)) <= k.minBoxTemp);
        QVERIFY(NumberFromText(s.tableF.Cell(1, s.tableF.RowCount())) >= k.maxInfiltTemp);
        for (float row : {k.defaultWallK, k.defaultFloorK, k.defaultCeilingK})
            QVERIFY(row >= 0 && row < s.tableD.RowCount());
    }

    void airEnthalpy_data() {
        QTest::addColumn<double>("temperature");
        QTest::addColumn<double>("humidity");
        QTest::addColumn<double>("enthalpy");
        QTest::newRow("outsideAir_45F_70pc") << 45.0 << 0.70 << 15.5588;
        QTest::newRow("freezerAir_minus10F_80pc") << -10.0 << 0.80 << -2.0124;
        QTest::newRow("summerAir_95F_50pc") << 95.0 << 0.50 << 42.4296;
        QTest::newRow("coolerAir_35F_85pc") << 35.0 << 0.85 << 12.2942;
    }
    void airEnthalpy() {
        QFETCH(double, temperature);
        QFETCH(double, humidity);
        QFETCH(double, enthalpy);
        m_english->s.constants.enthalpyConstant = 29.921f;
        const double h = AirEnthalpy(m_english->s, float(temperature), humidity);
        QVERIFY2(std::fabs(h - enthalpy) < 0.001, qPrintable(QString::number(h, 'f', 5)));
    }
};

QTEST_GUILESS_MAIN(ShippedTablesTest)
#include "shippedtables_test.moc"
