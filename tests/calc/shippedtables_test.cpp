// The engineering tables delivered in opdata/: every line is read, keys ascend where they are
// searched, the language file's limits lie inside the tables, and the psychrometric data
// reproduce published air enthalpies.
#include "base/numbertext.h"
#include "base/record.h"
#include "calc/loads.h"
#include "calc/tables.h"
#include "tests/calc/calcstate.h"
#include "tests/support/testprogram.h"

#include <QTest>

using namespace corvane;
using corvane::test::CalcState;

class ShippedTablesTest : public QObject {
    Q_OBJECT
    CalcState m_english, m_french;

    static void ReadShipped(CalcState& c, const QString& language) {
        c.s.dataFolder = test::BuiltProgramFolder() + "/opdata/";
        c.settings.Save(c.s.settingsSection, "Language_File", language);
        LineReader lng(c.s.dataFolder + language); // the limits as the language file ships them
        QVERIFY(lng.Open());
        while (!lng.AtEnd())
            if (const Record r = lng.ReadRecord(); r.Field(1).toUpper() == "ACONST")
                c.s.constants.Set(r.Field(3), NumberFromText(r.Field(4)));
        ReadFixedTables(c.s);
        ReadLanguageTables(c.s);
    }
    static const DataTable& Table(const State& s, QChar name) {
        const DataTable* tables[] = {&s.tableA, &s.tableB, &s.tableC, &s.tableD,
                                     &s.tableE, &s.tableF, &s.tableK};
        return *tables[QStringLiteral("ABCDEFK").indexOf(name)];
    }

  private Q_SLOTS:
    void initTestCase() {
        ReadShipped(m_english, "default.lng");
        ReadShipped(m_french, "francais.lng");
    }

    // File, the columns that must hold numbers, and "sorted" when the keys are searched in order.
    void table_data() {
        test::Rows({{"A_airChanges", "TableA.data 123 sorted"},
                    {"B_glassDoors", "TableB.data 123 sorted"},
                    {"C_products", "default.TableC.data 34567"},
                    {"D_constructions", "default.TableD.data 2"},
                    {"E_motorHeat", "TableE.data 1234 sorted"},
                    {"F_psychrometrics", "TableF.data 1234 sorted"},
                    {"K_fanMotors", "TableK.data 12345 sorted"}});
    }
    void table() {
        QFETCH(QString, line);
        const QStringList w = line.split(' ');
        const DataTable& t = Table(m_english.s, w[0].at(w[0].size() - 6));
        LineReader raw(m_english.s.dataFolder + w[0]);
        int lines = 0;
        QVERIFY(raw.Open());
        while (!raw.AtEnd())
            if (const QString l = raw.ReadLine(); !l.isEmpty() && !l.startsWith('#')) ++lines;
        QVERIFY(t.RowCount() > 0);
        QCOMPARE(t.RowCount(), lines); // no line has a field count other than its header's
        for (int r = 1; r <= t.RowCount(); ++r) {
            for (QChar c : w[1])
                QVERIFY2(IsNumeric(t.Cell(c.digitValue(), r)),
                         qPrintable(QString("row %1 column %2").arg(r).arg(c)));
            if (w.size() > 2 && r > 1)
                QVERIFY(NumberFromText(t.Cell(1, r)) > NumberFromText(t.Cell(1, r - 1)));
        }
        // A translation changes the names only: the numbers and the row order stay.
        if (w[0].startsWith("default."))
            for (int r = 1; r <= t.RowCount(); ++r)
                for (QChar c : w[1])
                    QCOMPARE(Table(m_french.s, w[0].at(13)).Cell(c.digitValue(), r),
                             t.Cell(c.digitValue(), r));
    }

    void limitsLieWithinTheTables() {
        const State& s = m_english.s;
        const CalcConstants& k = s.constants;
        QVERIFY(k.maxDoors >= 1 && k.maxMotorHP > 0);
        // Glass doors are found by exact count, so every count up to the limit needs its row.
        for (int n = 1; n <= int(k.maxDoors); ++n)
            QCOMPARE(NumberFromText(s.tableB.Cell(1, n)), float(n));
        QVERIFY(k.maxMotorHP <= NumberFromText(s.tableE.Cell(1, s.tableE.RowCount())));
        QVERIFY(NumberFromText(s.tableF.Cell(1, 1)) <= k.minBoxTemp);
        QVERIFY(NumberFromText(s.tableF.Cell(1, s.tableF.RowCount())) >= k.maxInfiltTemp);
        for (float row : {k.defaultWallK, k.defaultFloorK, k.defaultCeilingK})
            QVERIFY(row >= 0 && row < s.tableD.RowCount());
    }

    // Temperature, relative humidity and the published enthalpy.
    void airEnthalpy_data() {
        test::Rows({{"outsideAir", "45 0.70 15.5588"},
                    {"freezerAir", "-10 0.80 -2.0124"},
                    {"summerAir", "95 0.50 42.4296"},
                    {"coolerAir", "35 0.85 12.2942"}});
    }
    void airEnthalpy() {
        QFETCH(QString, line);
        const QStringList w = line.split(' ');
        m_english.s.constants.enthalpyConstant = 29.921f;
        const double h = AirEnthalpy(m_english.s, w[0].toFloat(), w[1].toDouble());
        QVERIFY2(std::fabs(h - w[2].toDouble()) < 0.001, qPrintable(QString::number(h, 'f', 5)));
    }
};

QTEST_GUILESS_MAIN(ShippedTablesTest)
#include "shippedtables_test.moc"
