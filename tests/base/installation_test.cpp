// Where the program writes: beside itself in an installation it may write into, in the user's
// own folders when its folder is read-only or the package manager owns it.
#include "base/installation.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using namespace corvane;

class InstallationTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void folders_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("writable");
        QTest::newRow("portable_writesBesideItself") << "plain" << true;
        QTest::newRow("packageMark_writesIntoUserFolders") << "marked" << false;
        QTest::newRow("readOnlyFolder_writesIntoUserFolders") << "readOnly" << false;
        QTest::newRow("missingFolder_writesIntoUserFolders") << "missing" << false;
    }
    void folders() {
        QTemporaryDir dir;
        QString program = dir.path() + QStringLiteral("/corvane");
        QVERIFY(QDir().mkpath(program));
        QFETCH(QString, kind);
        if (kind == QLatin1String("marked")) {
            QFile mark(program + QLatin1Char('/') + QLatin1String(PackageMarkerName));
            QVERIFY(mark.open(QIODevice::WriteOnly));
        } else if (kind == QLatin1String("readOnly")) {
            if (geteuid() == 0) QSKIP("the superuser writes into read-only folders");
            QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner));
        } else if (kind == QLatin1String("missing")) {
            program += QStringLiteral("/gone");
        }
        QFETCH(bool, writable);
        QCOMPARE(InstallationWritable(program), writable);
        const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QCOMPARE(WritableFolder(program), writable ? program : data + QStringLiteral("/Corvane"));
        QCOMPARE(DefaultJobFolder(program),
                 writable ? program + QStringLiteral("/JobFiles/") : documents + QStringLiteral("/Corvane/"));
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
};

QTEST_GUILESS_MAIN(InstallationTest)
#include "installation_test.moc"
