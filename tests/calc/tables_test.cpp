#include "calc/tables.h"

#include "app/platform.h"
#include "tests/calc/calcstate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <cmath>

using namespace corvane;
using corvane::test::CalcState;

class TablesTest : public QObject {
    Q_OBJECT

    static void Write(const QString& path, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

private Q_SLOTS:
    void readTable_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("rows");   // the rows, fields joined by '|'
        QTest::newRow("header4_keepsFourFieldLines_skipsThreeAndFive")
            << QByteArray("#a\tb\tc\td\r\n1\t2\t3\t4\r\n1\t2\t3\r\n1\t2\t3\t4\t5\r\n5\t6\t7\t8")
            << QStringList{"1|2|3|4", "5|6|7|8"};
        QTest::newRow("noHeader_noRows") << QByteArray("1\t2\n3\t4\n") << QStringList{};
        QTest::newRow("quotedFields_loseTheirQuotes") << QByteArray("#k\tv\n\"Oak, red\"\t\"1.5\"\n\"\t2\n")
                                                      << QStringList{"Oak, red|1.5", "|2"};
        QTest::newRow("decimalComma_normalised") << QByteArray("#k\tv\n2,5\t0,16\n") << QStringList{"2.5|0.16"};
        QTest::newRow("secondHeader_startsAgain") << QByteArray("#k\tv\n1\t2\n#k\tv\tw\n3\t4\t5\n")
                                                  << QStringList{"3|4|5"};
        QTest::newRow("emptyFile_noRows") << QByteArray() << QStringList{};
    }
    void readTable() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, rows);
        CalcState c;
        Write(c.s.dataFolder + "TableA.data", file);
        ReadTable(c.s, false, "TableA.data", c.s.tableA);
        QStringList read;
        for (int r = 1; r <= c.s.tableA.RowCount(); ++r) read << c.s.tableA.rows[r].mid(1).join('|');
        QCOMPARE(read, rows);
        QVERIFY(c.s.tableA.Cell(0, 0).isEmpty());
    }

    void readTable_missingFileEndsTheProgram() {
        CalcState c;
        QVERIFY_THROWS_EXCEPTION(ProgramEnd, ReadTable(c.s, false, "TableB.data", c.s.tableB));
        QCOMPARE(c.platform.messages.size(), 1);
        QVERIFY(c.platform.messages[0].text.contains("TableB.data"));
    }

    void readLanguageTables_fillListsFromTheLanguagesFiles() {
        CalcState c;
        c.settings.Save(c.s.settingsSection, "Language_File", "francais.lng");
        Write(c.s.dataFolder + "francais.TableC.data",
              "#g\tp\nFruit\tApple\nFruit\tPear\nMeat\tBeef\nFruit\tFig\n");
        Write(c.s.dataFolder + "francais.TableD.data", "#m\tk\nPanneau\t0.16\nUn nom assez long\t0.2\n");
        c.s.optionLists[302].items = {"stale"};
        ReadLanguageTables(c.s);
        QCOMPARE(c.s.optionLists[301].items, QStringList({"Fruit", "Meat", "Fruit"}));
        QVERIFY(c.s.optionLists[302].items.isEmpty());
        QCOMPARE(c.s.optionLists[206].items, QStringList({"Panneau", "Un nom assez long"}));
        QCOMPARE(c.s.optionLists[206].width, 90 * 17 + 300);
        QCOMPARE(c.s.optionLists[206].height, 2 * 225 + 30);
        QCOMPARE(ProductNamesOfGroup(c.s, "Fruit"), QStringList({"Apple", "Pear", "Fig"}));
    }

    void lookUp_data() {
        QTest::addColumn<QString>("which");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("t");
        QTest::addColumn<double>("expected");
        QTest::addColumn<int>("message");   // message box shown, -1 for none
        // Table A keys 100, 200, 400; column 2: 10, 6, 4; column 3: 20, 12, 8.
        QTest::newRow("A_exactKey") << "A" << 200.0 << 35.0 << 6.0 << -1;
        QTest::newRow("A_halfway_mean") << "A" << 150.0 << 35.0 << 8.0 << -1;
        QTest::newRow("A_belowFirst_row1") << "A" << 50.0 << 35.0 << 10.0 << -1;
        QTest::newRow("A_aboveLast_rowN") << "A" << 500.0 << 35.0 << 4.0 << -1;
        QTest::newRow("A_at32_column2") << "A" << 100.0 << 32.0 << 10.0 << -1;
        QTest::newRow("A_at31_9_column3") << "A" << 100.0 << 31.9 << 20.0 << -1;
        QTest::newRow("A_notANumber_zero") << "A" << double(NAN) << 35.0 << 0.0 << -1;
        // Table B: doors 1..3, 800 / 1300 per door.
        QTest::newRow("B_noDoors_zeroSilently") << "B" << 0.0 << 35.0 << 0.0 << -1;
        QTest::newRow("B_exactCount_cold") << "B" << 2.0 << 0.0 << 1300.0 << -1;
        QTest::newRow("B_beyondTable_message5_lastRow") << "B" << 9.0 << 35.0 << 800.0 << 5;
        // Table E keys 0.16, 0.25, 30: 1163.4, 1178.2, 85786.5.
        QTest::newRow("E_zeroPower_zero") << "E" << 0.0 << 0.0 << 0.0 << -1;
        QTest::newRow("E_interpolated") << "E" << 0.2 << 0.0 << 1170.0 << -1;
        QTest::newRow("E_aboveLast_message6_scaled") << "E" << 40.0 << 0.0 << 85786.5 * 40 / 30 << 6;
        QTest::newRow("E_belowFirst_message6_scaled") << "E" << 0.08 << 0.0 << 1163.4 / 2 << 6;
        // Table F keys -40, -11, -10, 45, 46 (column 3 = 0.24 t).
        QTest::newRow("F_belowFirstKey_zero") << "F" << -41.0 << 3.0 << 0.0 << -1;
        QTest::newRow("F_exactNegativeKey") << "F" << -10.0 << 3.0 << -2.4 << -1;
        QTest::newRow("F_interpolated") << "F" << 45.5 << 3.0 << 10.92 << -1;
        // Keys of 0 or less count as not found: between -11 and -10 row 1 is scaled through zero.
        QTest::newRow("F_betweenNegativeKeys_scaledFromRow1") << "F" << -10.5 << 3.0 << -2.52 << -1;
        QTest::newRow("F_aboveLast_scaledFromRowN") << "F" << 92.0 << 3.0 << 22.08 << -1;
        // Table K keys 0, (unreadable), 300, 600, 1000: counts 2/1, 9/9, 3/2, 4/3, 5/4.
        QTest::newRow("K_belowSecondKey_row1_unreadablePassedOver") << "K" << 200.0 << 35.0 << 1.0 << -1;
        QTest::newRow("K_freezer_firstPair") << "K" << 200.0 << 0.0 << 2.0 << -1;
        QTest::newRow("K_betweenKeys_lowerRow") << "K" << 450.0 << 35.0 << 2.0 << -1;
        QTest::newRow("K_beyondKeysBeforeTheLast_rowN") << "K" << 700.0 << 35.0 << 4.0 << -1;
    }
    void lookUp() {
        QFETCH(QString, which);
        QFETCH(double, x);
        QFETCH(double, t);
        QFETCH(double, expected);
        QFETCH(int, message);
        CalcState c;
        State& s = c.s;
        s.tableA = CalcState::Table({{"#v", "w", "c"}, {"100", "10", "20"}, {"200", "6", "12"}, {"400", "4", "8"}});
        s.tableB = CalcState::Table({{"#n", "w", "c"}, {"1", "800", "1300"}, {"2", "800", "1300"}, {"3", "800", "1300"}});
        s.tableE = CalcState::Table({{"#hp", "a", "b", "c"}, {"0.16", "1163.4", "0", "0"}, {"0.25", "1178.2", "0", "0"},
                                     {"30", "85786.5", "0", "0"}});
        s.tableF = CalcState::Table({{"#t", "p", "a", "s"}, {"-40", "0", "-9.6", "0"}, {"-11", "0", "-2.64", "0"},
                                     {"-10", "0", "-2.4", "0"}, {"45", "0", "10.8", "0"}, {"46", "0", "11.04", "0"}});
        s.tableK = CalcState::Table({{"#v", "n", "hp", "n", "hp"}, {"0", "2", "0.05", "1", "0.05"},
                                     {"x", "9", "9", "9", "9"}, {"300", "3", "0.05", "2", "0.05"},
                                     {"600", "4", "0.25", "3", "0.25"}, {"1000", "5", "0.25", "4", "0.25"}});
        const float fx = float(x), ft = float(t);
        double result = 0;
        if (which == "A") result = LookUpA(s, fx, ft);
        if (which == "B") result = LookUpB(s, int(x), ft);
        if (which == "E") result = LookUpE(s, fx, false, false);
        if (which == "F") result = LookUpF(s, fx, int(t));
        if (which == "K") result = LookUpK(s, fx, ft).count;
        QVERIFY2(std::fabs(result - expected) < 1e-3 * std::max(1.0, std::fabs(expected)),
                 qPrintable(QString::number(result)));
        QCOMPARE(c.platform.messages.size(), message < 0 ? 0 : 1);
        if (message >= 0) QCOMPARE(c.platform.messages[0].text, s.messages[1][message]);
    }
};

QTEST_GUILESS_MAIN(TablesTest)
#include "tables_test.moc"
