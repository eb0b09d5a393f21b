// The shared text services: the log ring, number text in both decimal styles, records and
// the command line.
#include "base/commandline.h"
#include "base/log.h"
#include "base/numbertext.h"
#include "base/record.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace corvane;

class TextTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void logDump_data();
    void logDump();
    void logFile_appendsOnlyWhileSwitchedOn();

    void numberFromText_data();
    void numberFromText();
    void normaliseDecimal_data();
    void normaliseDecimal();
    void numberToText_data();
    void numberToText();

    void readRecord_data();
    void readRecord();
    void lineReader_decodesWindows1252AndBothLineEnds();

    void splitCommandLine_data();
    void splitCommandLine();
};

void TextTest::logDump_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<int>("count");
    QTest::newRow("nothingLogged_emptyDump") << 0 << QString() << QString() << 0;
    QTest::newRow("fewLines_inOrder") << 3 << ">line 1" << ">line 3" << 3;
    QTest::newRow("exactlyFull_noWrap") << 1000 << ">line 1" << "     line 1000" << 1000;
    QTest::newRow("1001Lines_startsWithLine2") << 1001 << "     line 2" << ">line 1001" << 1000;
    QTest::newRow("2500Lines_lastThousand") << 2500 << ">line 1501" << "     line 2500" << 1000;
}

void TextTest::logDump() {
    QFETCH(int, lines);
    QTemporaryDir dir;
    Log log;
    log.SetFiles(dir.filePath("!!LogFile.txt"), dir.filePath("Log.txt"));
    // Odd lines are procedure entries ('>'), even lines details, indented in the dump.
    for (int i = 1; i <= lines; ++i)
        log.Write((i % 2 ? QStringLiteral(">line ") : QStringLiteral("line ")) + QString::number(i));
    QVERIFY(log.Dump());
    QFile dump(dir.filePath("Log.txt"));
    QVERIFY(dump.open(QIODevice::ReadOnly));
    QStringList got = QString::fromLatin1(dump.readAll()).split(QStringLiteral("\r\n"));
    got.removeLast();
    QFETCH(int, count);
    QCOMPARE(got.size(), count);
    if (!got.isEmpty()) {
        QFETCH(QString, first);
        QCOMPARE(got.first(), first);
        QFETCH(QString, last);
        QCOMPARE(got.last(), last);
    }
    QVERIFY(!QFile::exists(dir.filePath("!!LogFile.txt")));
}

void TextTest::logFile_appendsOnlyWhileSwitchedOn() {
    QTemporaryDir dir;
    Log log;
    log.SetFiles(dir.filePath("!!LogFile.txt"), dir.filePath("Log.txt"));
    log.Write(">before");
    log.SetFileOn(true);
    log.Write(">during");
    log.SetFileOn(false);
    log.Write(">after");
    QFile file(dir.filePath("!!LogFile.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray(">during\r\n"));
}

void TextTest::numberFromText_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    for (const char* loc : {"C", "de_DE"}) {
        const QString l = QString::fromLatin1(loc);
        QTest::newRow(qPrintable(l + "_point")) << l << "3.75" << 3.75;
        QTest::newRow(qPrintable(l + "_comma")) << l << "3,75" << 3.75;
        QTest::newRow(qPrintable(l + "_empty")) << l << "" << 0.0;
        QTest::newRow(qPrintable(l + "_minusAlone")) << l << "-" << 0.0;
        QTest::newRow(qPrintable(l + "_pointAlone")) << l << "." << 0.0;
        QTest::newRow(qPrintable(l + "_negative")) << l << "-12.5" << -12.5;
        QTest::newRow(qPrintable(l + "_word")) << l << "abc" << 0.0;
        QTest::newRow(qPrintable(l + "_twoCommas")) << l << "1,2,3" << 0.0;
    }
}

void TextTest::numberFromText() {
    QFETCH(QString, locale);
    QLocale::setDefault(QLocale(locale));
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(NumberFromText(text), static_cast<float>(expected));
}

void TextTest::normaliseDecimal_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("point_whole_unchanged") << "C" << "12" << "12";
    QTest::newRow("point_decimal_unchanged") << "C" << "12.5" << "12.5";
    QTest::newRow("point_commaBecomesPoint") << "C" << "2,5" << "2.5";
    QTest::newRow("point_leadingComma_unchanged") << "C" << ",5" << ",5";
    QTest::newRow("point_twoCommas_unchanged") << "C" << "1,2,3" << "1,2,3";
    QTest::newRow("point_textBeforeComma_unchanged") << "C" << "a,5" << "a,5";
    QTest::newRow("comma_pointBecomesComma") << "de_DE" << "2.5" << "2,5";
    QTest::newRow("comma_comma_unchanged") << "de_DE" << "2,5" << "2,5";
}

void TextTest::normaliseDecimal() {
    QFETCH(QString, locale);
    QLocale::setDefault(QLocale(locale));
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(NormaliseDecimal(text), expected);
}

void TextTest::numberToText_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("single");
    QTest::addColumn<QString>("expected");
    QTest::newRow("double_noTrailingZeros") << "C" << 12.5 << false << "12.5";
    QTest::newRow("double_fifteenDigits") << "C" << 10.0 / 0.3048 << false << "32.8083989501312";
    QTest::newRow("double_noGroupSeparator") << "C" << 1234567.0 << false << "1234567";
    QTest::newRow("double_commaLocale") << "de_DE" << 1234.25 << false << "1234,25";
    QTest::newRow("single_sevenDigits") << "C" << 10.0 / 0.3048 << true << "32.8084";
    QTest::newRow("single_roundedHundredths") << "C" << double(RoundHundredths(12.345f)) << true << "12.35";
    QTest::newRow("single_huge_notExponent") << "C" << 1.0e9 << true << "1000000000";
    QTest::newRow("zero") << "C" << 0.0 << true << "0";
}

void TextTest::numberToText() {
    QFETCH(QString, locale);
    QLocale::setDefault(QLocale(locale));
    QFETCH(double, value);
    const double v = value;
    QFETCH(bool, single);
    const QString got = single ? TextFromSingle(static_cast<float>(v)) : TextFromDouble(v);
    QFETCH(QString, expected);
    QCOMPARE(got, expected);
    QVERIFY(IsNumeric(got));
}

void TextTest::readRecord_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("noTab_oneField") << "abc" << QStringList{"abc"};
    QTest::newRow("emptyLine_oneEmptyField") << "" << QStringList{""};
    QTest::newRow("doubleTab_emptyMiddle") << "a\t\tb" << QStringList{"a", "", "b"};
    QTest::newRow("trailingTab_emptyLast") << "a\t" << QStringList{"a", ""};
    const QString longTail = QString(300, QLatin1Char('x'));
    QTest::newRow("restCutTo255AfterTab") << ("k\t" + longTail) << QStringList{"k", QString(255, QLatin1Char('x'))};
    QTest::newRow("cutHidesLaterTabs") << ("k\t" + QString(254, QLatin1Char('y')) + "\tlost")
                                      << QStringList{"k", QString(254, QLatin1Char('y')), ""};
}

void TextTest::readRecord() {
    QFETCH(QStringList, fields);
    QFETCH(QString, line);
    const Record r = Record::Parse(line);
    QCOMPARE(r.Count(), fields.size());
    for (int i = 0; i < fields.size(); ++i) QCOMPARE(r.Field(i + 1), fields[i]);
    QCOMPARE(r.Field(fields.size() + 1), QString());
    QCOMPARE(r.Field(0), QString());
}

void TextTest::lineReader_decodesWindows1252AndBothLineEnds() {
    QTemporaryDir dir;
    QFile f(dir.filePath("t.txt"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("UNIT\t6\t\xb0" "F\r\nq\x8eq\nlast");
    f.close();
    LineReader reader(dir.filePath("t.txt"));
    QVERIFY(reader.Open());
    QCOMPARE(reader.ReadRecord().Field(3), QStringLiteral("°F"));
    QCOMPARE(reader.ReadLine(), QStringLiteral("qŽq"));
    QCOMPARE(reader.ReadLine(), QStringLiteral("last"));
    QVERIFY(reader.AtEnd());
    QCOMPARE(ToCp1252(u"qŽq°"), QByteArray("q\x8eq\xb0"));
}

void TextTest::splitCommandLine_data() {
    QTest::addColumn<QString>("tail");
    QTest::addColumn<QStringList>("args");
    QTest::newRow("empty_none") << "" << QStringList{};
    QTest::newRow("logSwitchOnly") << "/LOG" << QStringList{"/LOG"};
    QTest::newRow("unquotedPathWithSpaces_thenLowerCaseLog")
        << "/home/a/My Jobs/cold room.cvj /log" << QStringList{"/home/a/My Jobs/cold room.cvj", "/log"};
    QTest::newRow("quotedPath_quotesDropped") << "\"C:\\a b\\c.cvj\" /LOG" << QStringList{"C:\\a b\\c.cvj", "/LOG"};
    QTest::newRow("tabSeparates") << "a\tb" << QStringList{"a", "b"};
    QTest::newRow("leadingSpaceDropped") << " a" << QStringList{"a"};
    QStringList eleven;
    QString tail;
    for (int i = 1; i <= 11; ++i) {
        tail += QStringLiteral("a%1\t").arg(i);
        if (i <= 10) eleven << QStringLiteral("a%1").arg(i);
    }
    QTest::newRow("elevenArguments_firstTenSeen") << tail << eleven;
}

void TextTest::splitCommandLine() {
    QFETCH(QString, tail);
    QFETCH(QStringList, args);
    QCOMPARE(SplitCommandLine(tail), args);
}

QTEST_GUILESS_MAIN(TextTest)
#include "text_test.moc"
