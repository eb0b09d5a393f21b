#include "base/safefile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace corvane;

namespace {

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace

// Writing replaces regular files (and the files links lead to) and nothing else.
class SafeFileTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void writesOnlyOntoRegularFiles_data() {
        QTest::addColumn<QString>("target"); // the name written to, in a folder holding the fixtures
        QTest::addColumn<QString>("refusal"); // empty: written
        QTest::newRow("new file") << "new.cvj" << "";
        QTest::newRow("regular file") << "old.cvj" << "";
        QTest::newRow("link to a regular file") << "link.cvj" << "";
        QTest::newRow("pipe") << "pipe.cvj" << "not a regular file";
        QTest::newRow("link to a pipe") << "pipelink.cvj" << "not a regular file";
        QTest::newRow("folder") << "folder" << "is a folder";
        QTest::newRow("no name") << "" << "No file name";
    }
    void writesOnlyOntoRegularFiles() {
        QFETCH(QString, target);
        QFETCH(QString, refusal);
        QTemporaryDir dir;
        const auto at = [&](const char* name) { return dir.filePath(QLatin1String(name)); };
        QFile old(at("old.cvj"));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        QVERIFY(QFile::link(at("old.cvj"), at("link.cvj")));
        QVERIFY(::mkfifo(QFile::encodeName(at("pipe.cvj")).constData(), 0600) == 0);
        QVERIFY(QFile::link(at("pipe.cvj"), at("pipelink.cvj")));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));

        const QString path = target.isEmpty() ? QString() : dir.filePath(target);
        QString why;
        const bool written = WriteFileSafely(path, "new", &why);
        QCOMPARE(CheckWriteTarget(path).isEmpty(), refusal.isEmpty());
        QCOMPARE(written, refusal.isEmpty());
        QVERIFY2(why.contains(refusal), qPrintable(why));
        if (written) QCOMPARE(Contents(path), QByteArray("new"));
        // The fixtures are what they were, but for the file written through.
        struct stat info{};
        QVERIFY(::stat(QFile::encodeName(at("pipe.cvj")).constData(), &info) == 0 && S_ISFIFO(info.st_mode));
        QVERIFY(QFileInfo(at("link.cvj")).isSymLink());
        QCOMPARE(Contents(at("old.cvj")), QByteArray(target == "old.cvj" || target == "link.cvj" ? "new" : "old"));
        // Nothing is left beside the targets but the fixtures and the new file.
        QStringList expected{"folder", "link.cvj", "old.cvj", "pipe.cvj", "pipelink.cvj"};
        if (target == "new.cvj") expected << "new.cvj";
        expected.sort();
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name),
                 expected);
    }
};

QTEST_GUILESS_MAIN(SafeFileTest)
#include "safefile_test.moc"
