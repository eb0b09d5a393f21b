#include "base/readresult.h"
#include "base/record.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace corvane;

// Every reader splits its file through these: line ends of every kind, over-long lines cut
// (never read as further lines), huge files refused before they are read.
class ReadResultTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void splitsLines_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("problems");
        const QByteArray longLine = QByteArray(MaxLineBytes + 10, 'x');
        QTest::newRow("CRLF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"} << QStringList{};
        QTest::newRow("LF, no end on the last") << QByteArray("a\nb") << QStringList{"a", "b"} << QStringList{};
        QTest::newRow("CR only") << QByteArray("a\rb\r") << QStringList{"a", "b"} << QStringList{};
        QTest::newRow("blank lines keep their numbers") << QByteArray("a\n\r\nb") << QStringList{"a", "", "b"}
                                                        << QStringList{};
        QTest::newRow("over-long line: the rest is dropped, not a new line")
            << QByteArray("a\n" + longLine + "\tTEXTBOX\t12\tCAPTION\tinjected\nb\n")
            << QStringList{"a", QString(MaxLineBytes, QLatin1Char('x')), "b"}
            << QStringList{QStringLiteral("f.lng:2: the line is longer than %1 characters; the rest is dropped").arg(MaxLineBytes)};
    }
    void splitsLines() {
        QFETCH(QByteArray, bytes);
        ReadProblems found(QStringLiteral("f.lng"));
        QStringList read;
        for (const TextLine& line : SplitLines(bytes, &found)) read << FromCp1252(line.bytes);
        QTEST(read, "lines");
        QTEST(found.Formatted(), "problems");
    }

    void refusesFilesOverTheirLimit() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("big.lng"));
        QFile big(path);
        // A sparse file: 100 MB on paper, nothing on disk.
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(100LL * 1024 * 1024));
        big.close();
        const ReadResult<QByteArray> read = ReadFileBytes(path, MaxTextFileBytes);
        QVERIFY(!read.Ok());
        QVERIFY(read.value.isEmpty());
        QVERIFY2(read.refused.contains(QStringLiteral("is 100.0 MB; a file of this kind may hold at most 16 MB")),
                 qPrintable(read.refused));
        LineReader reader(path);
        QVERIFY(!reader.Open());
        QCOMPARE(reader.Refusal(), read.refused);
        QVERIFY(!ReadFileBytes(dir.path(), MaxTextFileBytes).Ok());
    }
};

QTEST_GUILESS_MAIN(ReadResultTest)
#include "readresult_test.moc"
