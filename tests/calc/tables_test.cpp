#include "calc/tables.h"

#include "base/platform.h"
#include "tests/calc/calcstate.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTest>
#include <cmath>

using namespace corvane;
using corvane::test::CalcState;

namespace {

void Write(const State& s, const QString& name, const QByteArray& bytes) {
    QDir().mkpath(s.dataFolder);
    QFile f(s.dataFolder + name);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class TablesTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void readTable_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("rows"); // fields joined by '|', rows by ';'
        QTest::newRow("header4_keepsFourFields_skipsThreeAndFive")
            << QByteArray("#a\tb\tc\td\r\n1\t2\t3\t4\r\n1\t2\t3\r\n1\t2\t3\t4\t5\r\n5\t6\t7\t8")
            << "1|2|3|4;5|6|7|8";
        // A table that gives no row ending in a number is as good as missing: the start-up
        // ends with the resource-file message (rows ""). A null file is not written at all.
        QTest::newRow("missing_refused") << QByteArray() << "";
        QTest::newRow("noHeader_refused") << QByteArray("1\t2\n3\t4\n") << "";
        QTest::newRow("empty_refused") << QByteArray("") << "";
        // Rows, then zeros to 100 MB (sparse): refused from its size alone, the reason logged.
        QTest::newRow("hugeFile_refused") << QByteArray("#k\tv\n1\t2\n") << "";
        QTest::newRow("headerOnly_refused") << QByteArray("#k\tv\r\n") << "";
        QTest::newRow("garbage_refused") << QByteArray("\x01\x02\xff garbage\r\nx\ty\r\n\t\r\n") << "";
        QTest::newRow("crOnlyLineEnds_read") << QByteArray("#k\tv\r1\t2\r3\t4") << "1|2;3|4";
        QTest::newRow("quotedFields_loseQuotes")
            << QByteArray("#k\tv\n\"Oak; red\"\t\"1.5\"\n\"\t2\n") << "Oak; red|1.5;|2";
        QTest::newRow("decimalComma_normalised") << QByteArray("#k\tv\n2,5\t0,16\n") << "2.5|0.16";
        // In a comma locale the look-ups read what the table stores.
        QTest::newRow("commaLocale_pointNormalised")
            << QByteArray("#k\tv\tw\n1\t0.5\t0\n3.0\t1.5\t0\n") << "1|0,5|0;3,0|1,5|0";
        // A stray header line is a damaged line: the rows above it stay.
        QTest::newRow("secondHeader_skipped")
            << QByteArray("#k\tv\n1\t2\n#k\tv\tw\n3\t4\t5\n5\t6\n") << "1|2;5|6";
        QTest::newRow("strayHashAtTheEnd_keepsTheRows") << QByteArray("#k\tv\n1\t2\n3\t4\n#\n") << "1|2;3|4";
    }
    void readTable() {
        QFETCH(QByteArray, file);
        QFETCH(QString, rows);
        CalcState c;
        const bool comma = QByteArray(QTest::currentDataTag()).startsWith("comma");
        if (comma) QLocale::setDefault(QLocale(QLocale::German));
        const bool huge = QByteArray(QTest::currentDataTag()).startsWith("huge");
        if (!file.isNull()) Write(c.s, "TableA.data", file);
        if (huge) QVERIFY(QFile::resize(c.s.dataFolder + "TableA.data", 100LL * 1024 * 1024));
        if (rows.isEmpty()) {
            QVERIFY_THROWS_EXCEPTION(ProgramEnd, ReadTable(c.s, false, "TableA.data", c.s.tableA));
            QVERIFY(c.platform.messages.value(0).text.contains("Cannot open resource file"));
            QVERIFY(c.platform.messages.value(0).text.contains("TableA.data"));
            const QString log = c.s.log.Lines().join('\n');
            QCOMPARE(log.contains("is 100.0 MB; a file of this kind may hold at most 16 MB"), huge);
            return;
        }
        ReadTable(c.s, false, "TableA.data", c.s.tableA);
        QStringList read;
        for (int r = 1; r <= c.s.tableA.RowCount(); ++r)
            read << c.s.tableA.rows[r].mid(1).join('|');
        const float halfway = LookUpA(c.s, 2, 35);
        QLocale::setDefault(QLocale::c());
        QCOMPARE(read.join(';'), rows);
        if (comma) QCOMPARE(halfway, 1.0f);
    }

    void readLanguageTables_fillTheListsFromTheLanguagesFiles() {
        CalcState c;
        c.settings.Save(c.s.settingsSection, "Language_File", "francais.lng");
        Write(c.s, "francais.TableC.data", "#g\tp\nFruit\tApple\nFruit\tPear\nMeat\tBeef\nFruit\tFig\n");
        Write(c.s, "francais.TableD.data", "#m\tk\nPanneau\t0.16\nUn nom assez long\t0.2\n");
        c.s.optionLists[302].items = {"stale"};
        ReadLanguageTables(c.s);
        QCOMPARE(c.s.optionLists[301].items, QStringList({"Fruit", "Meat", "Fruit"})); // one per run
        QVERIFY(c.s.optionLists[302].items.isEmpty());
        QCOMPARE(c.s.optionLists[206].items, QStringList({"Panneau", "Un nom assez long"}));
        QCOMPARE(c.s.optionLists[206].width, 90 * 17 + 300); // the widest entry shows whole
        QCOMPARE(ProductNamesOfGroup(c.s, "Fruit"), QStringList({"Apple", "Pear", "Fig"}));
    }

    // A: keys 100, 200, 400 (warm 10, 6, 4; cold 20, 12, 8); B: doors 1, 2 (800 / 1300);
    // E: 0.16, 0.25, 30 hp; F: -40, -11, -10, 45, 46 F (column 3 = 0.24 t); K: keys 0,
    // unreadable, 300, 600, 1000 (warm counts 1, 9, 2, 3, 4). "!n": message box n is shown.
    void lookUp_data() {
        test::Rows({
            {"A_exactKey_at32_warmColumn", "A 200 32 6"},
            {"A_halfway_mean", "A 150 35 8"},
            {"A_belowFirst_row1", "A 50 35 10"},
            {"A_aboveLast_rowN", "A 500 35 4"},
            {"A_at31_9_coldColumn", "A 100 31.9 20"},
            {"A_notANumber_zero", "A nan 35 0"},
            {"B_noDoors_zeroSilently", "B 0 35 0"},
            {"B_exactCount_cold", "B 2 0 1300"},
            {"B_beyondTable_lastRow", "B 9 35 800 !5"},
            {"E_zeroPower_zero", "E 0 0 0"},
            {"E_interpolated", "E 0.2 0 1169.978"},
            {"E_aboveLast_scaled", "E 40 0 114382 !6"},
            {"F_belowFirstKey_zero", "F -41 3 0"},
            {"F_exactNegativeKey", "F -10 3 -2.4"},
            {"F_interpolated", "F 45.5 3 10.92"},
            {"F_aboveLast_scaledFromRowN", "F 92 3 22.08"},
            // Keys of 0 or less count as not found, so row 1 is scaled through zero.
            {"F_betweenNegativeKeys_scaledFromRow1", "F -10.5 3 -2.52"},
            {"K_belowSecondKey_row1_unreadablePassedOver", "K 200 35 1"},
            {"K_freezer_coldPair", "K 200 0 2"},
            {"K_betweenKeys_lowerRow", "K 450 35 2"},
            {"K_beyondKeysBeforeTheLast_rowN", "K 700 35 4"},
        });
    }
    void lookUp() {
        QFETCH(QString, line);
        CalcState c;
        State& s = c.s;
        s.tableA =
            CalcState::Table({{"#v", "w", "c"}, {"100", "10", "20"}, {"200", "6", "12"}, {"400", "4", "8"}});
        s.tableB = CalcState::Table({{"#n", "w", "c"}, {"1", "800", "1300"}, {"2", "800", "1300"}});
        s.tableE =
            CalcState::Table({{"#hp", "a"}, {"0.16", "1163.4"}, {"0.25", "1178.2"}, {"30", "85786.5"}});
        s.tableF = CalcState::Table({{"#t", "p", "a"},
                                     {"-40", "", "-9.6"},
                                     {"-11", "", "-2.64"},
                                     {"-10", "", "-2.4"},
                                     {"45", "", "10.8"},
                                     {"46", "", "11.04"}});
        s.tableK = CalcState::Table({{"#v", "n", "hp", "n"},
                                     {"0", "2", "", "1"},
                                     {"x", "9", "", "9"},
                                     {"300", "3", "", "2"},
                                     {"600", "4", "", "3"},
                                     {"1000", "5", "", "4"}});
        const QStringList w = line.split(' ');
        const float x = w[1] == "nan" ? NAN : w[1].toFloat(), t = w[2].toFloat();
        const double expected = w[3].toDouble();
        double result = 0;
        if (w[0] == "A") result = LookUpA(s, x, t);
        if (w[0] == "B") result = LookUpB(s, int(x), t);
        if (w[0] == "E") result = LookUpE(s, x, false, false);
        if (w[0] == "F") result = LookUpF(s, x, int(t));
        if (w[0] == "K") result = LookUpK(s, x, t).count;
        QVERIFY2(std::fabs(result - expected) < 1e-3 * std::max(1.0, std::fabs(expected)),
                 qPrintable(QString::number(result)));
        QCOMPARE(c.platform.messages.size(), w.size() > 4 ? 1 : 0);
        if (w.size() > 4) QCOMPARE("!" + c.platform.messages[0].text.mid(1), w[4]);
    }
};

QTEST_GUILESS_MAIN(TablesTest)
#include "tables_test.moc"
