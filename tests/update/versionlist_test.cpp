#include "base/paths.h"
#include "update/signing.h"
#include "update/transfer.h"
#include "install/versionlist.h"

#include <QTest>

using namespace corvane;

// The readers and rules that stand between the network and the installation.
class VersionListTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void reader_data();
    void reader();
    void nameRules_data();
    void nameRules();
    void fileCheck_data();
    void fileCheck();
    void trustedKeys();
    void addresses_data();
    void addresses();
};

void VersionListTest::reader_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QList<int>>("problemLines");
    QTest::newRow("empty") << QByteArray() << QStringList() << QList<int>();
    QTest::newRow("crlfAndLf_bothRead") << QByteArray("0\ta\tr\tAPPPATH\t1\t\r\n0\tb\tr\tAPPPATH\t1\t\n")
                                        << QStringList{QStringLiteral("a"), QStringLiteral("b")} << QList<int>();
    QTest::newRow("lastLineWithoutEnd_read") << QByteArray("0\ta\tr\tAPPPATH\t1\tx") << QStringList{QStringLiteral("a")} << QList<int>();
    QTest::newRow("commentsAndBlankLines_skippedSilently")
        << QByteArray("# list\r\n\r\n#0\tx\tr\tAPPPATH\t1\t\r\n0\ta\tr\tAPPPATH\t1\t\r\n") << QStringList{QStringLiteral("a")} << QList<int>();
    QTest::newRow("fiveAndSevenFields_reportedWithTheirLine")
        << QByteArray("0\ta\tr\tAPPPATH\t1\n0\tb\tr\tAPPPATH\t1\t\t\n0\tc\tr\tAPPPATH\t1\t\n") << QStringList{QStringLiteral("c")}
        << QList<int>{1, 2};
    QTest::newRow("binaryGarbage_noEntries") << QByteArray("\x00\xff\x01\n\x7f\t\t\n", 8) << QStringList() << QList<int>{1, 2};
}

void VersionListTest::reader() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, names);
    QFETCH(QList<int>, problemLines);
    const VersionList list = ReadVersionList(bytes);
    QStringList read;
    for (const VersionEntry& e : list.entries) read << e.fileName;
    QCOMPARE(read, names);
    QList<int> lines;
    for (const ListProblem& p : list.problems) lines << p.line;
    QCOMPARE(lines, problemLines);
    if (!list.entries.isEmpty()) QVERIFY(!list.entries.first().text.endsWith('\r'));
}

void VersionListTest::nameRules_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("local");
    QTest::addColumn<QString>("remote");
    QTest::addColumn<bool>("usable");
    QTest::newRow("plainNames") << "TableA.data" << "opdata" << "data/2026" << true;
    QTest::newRow("applicationFolder") << "corvane" << "APPPATH" << "bin" << true;
    QTest::newRow("parentFile") << "../x" << "opdata" << "data" << false;
    QTest::newRow("absoluteFile") << "/etc/x" << "opdata" << "data" << false;
    QTest::newRow("fileInSubfolder") << "a/b" << "opdata" << "data" << false;
    QTest::newRow("backslash") << "a\\b" << "opdata" << "data" << false;
    QTest::newRow("dotDot") << ".." << "opdata" << "data" << false;
    QTest::newRow("hidden") << ".bashrc" << "opdata" << "data" << false;
    QTest::newRow("drive") << "C:x" << "opdata" << "data" << false;
    QTest::newRow("controlCharacter") << "a\rb" << "opdata" << "data" << false;
    QTest::newRow("deviceName") << "nul.txt" << "opdata" << "data" << false;
    QTest::newRow("trailingDot") << "x." << "opdata" << "data" << false;
    QTest::newRow("emptyFile") << "" << "opdata" << "data" << false;
    QTest::newRow("localParent") << "x" << ".." << "data" << false;
    QTest::newRow("localTwoLevels") << "x" << "a/b" << "data" << false;
    QTest::newRow("localAbsolute") << "x" << "/tmp" << "data" << false;
    QTest::newRow("remoteParent") << "x" << "opdata" << "data/../.." << false;
    QTest::newRow("remoteEmptySegment") << "x" << "opdata" << "data//x" << false;
    QTest::newRow("remoteEmpty") << "x" << "opdata" << "" << false;
}

void VersionListTest::nameRules() {
    QFETCH(QString, file);
    QFETCH(QString, local);
    QFETCH(QString, remote);
    QFETCH(bool, usable);
    VersionEntry e;
    e.fileName = file;
    e.localFolder = local;
    e.remoteFolder = remote;
    QCOMPARE(EntryNameProblem(e).isEmpty(), usable);
}

void VersionListTest::fileCheck_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("size");
    const QString hash(64, QLatin1Char('a'));
    QTest::newRow("sizeAndHash") << QStringLiteral("12:") + hash << qint64(12);
    QTest::newRow("empty") << QString() << qint64(-1);
    QTest::newRow("noSize") << QStringLiteral(":") + hash << qint64(-1);
    QTest::newRow("negativeSize") << QStringLiteral("-1:") + hash << qint64(-1);
    QTest::newRow("shortHash") << QStringLiteral("12:") + hash.left(63) << qint64(-1);
    QTest::newRow("upperCaseHash") << QStringLiteral("12:") + hash.toUpper() << qint64(-1);
    QTest::newRow("hugeSize") << QStringLiteral("99999999999:") + hash << qint64(-1);
}

void VersionListTest::fileCheck() {
    QFETCH(QString, text);
    QFETCH(qint64, size);
    const auto check = ParseFileCheck(text);
    QCOMPARE(check ? check->size : -1, size);
    if (check) QCOMPARE(FormatFileCheck(*check), text);
}

void VersionListTest::trustedKeys() {
    const KeyPair pair = GenerateKeyPair();
    const QByteArray text = "# mirror\n\n" + EncodeKeyText(pair.publicKey) + "\nnot a key\n" +
                            EncodeKeyText(pair.secretKey) + "\n";
    const TrustedKeys keys = ReadTrustedKeys(text);
    QCOMPARE(keys.keys, QList<QByteArray>{pair.publicKey});
    QCOMPARE(keys.problems.size(), 2);
    QCOMPARE(keys.problems[0].line, 4);
    QCOMPARE(keys.problems[1].line, 5);
    QVERIFY(!PublisherKey().isEmpty());

    const QByteArray signature = EncodeKeyText(SignMessage("list", pair.secretKey));
    QVERIFY(ListSignedByOneOf("list", signature, {PublisherKey(), pair.publicKey}));
    QVERIFY(!ListSignedByOneOf("list ", signature, {pair.publicKey}));
    QVERIFY(!ListSignedByOneOf("list", signature, {PublisherKey()}));
    QVERIFY(!ListSignedByOneOf("list", "", {pair.publicKey}));
}

void VersionListTest::addresses_data() {
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("https") << "https://updates.corvane.example/files" << true;
    QTest::newRow("httpLoopback") << "http://127.0.0.1:8080/files" << true;
    QTest::newRow("httpLocalhost") << "http://localhost/files" << true;
    QTest::newRow("httpElsewhere") << "http://updates.corvane.example/files" << false;
    QTest::newRow("httpLookalike") << "http://127.0.0.1.example/files" << false;
    QTest::newRow("ftp") << "ftp://127.0.0.1/files" << false;
    QTest::newRow("file") << "file:///etc" << false;
    QTest::newRow("empty") << "" << false;
}

void VersionListTest::addresses() {
    QFETCH(QString, url);
    QFETCH(bool, allowed);
    QCOMPARE(AddressProblem(QUrl(url)).isEmpty(), allowed);
}

QTEST_GUILESS_MAIN(VersionListTest)
#include "versionlist_test.moc"
