// The program as a package installs it (a folder it may not write into) and job paths as the
// desktop passes them on the command line.
#include "commands/commands.h"
#include "app/startup.h"
#include "base/installation.h"
#include "definitions/state.h"
#include "tests/support/testprogram.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTest>

using namespace corvane;
using namespace corvane::test;

namespace {

// The program folder's files with their sizes; the test's own settings file, which lives there
// too, is no file of the program's.
QStringList Listing(const QString& folder) {
    QStringList names;
    const QDir dir(folder);
    for (const QFileInfo& info : dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
        if (info.fileName() != QLatin1String("settings.ini"))
            names << info.fileName() + QLatin1Char(' ') + QString::number(info.size());
    return names;
}

QString UserFolder(QStandardPaths::StandardLocation location) {
    return QStandardPaths::writableLocation(location) + QStringLiteral("/Corvane");
}

} // namespace

class InstalledTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void packagedInstallation_writesOnlyIntoUserFolders();
    void commandLineJobs_data();
    void commandLineJobs();
};

void InstalledTest::init() {
    QStandardPaths::setTestModeEnabled(true);
    QDir(UserFolder(QStandardPaths::GenericDataLocation)).removeRecursively();
    QDir(UserFolder(QStandardPaths::DocumentsLocation)).removeRecursively();
}

void InstalledTest::packagedInstallation_writesOnlyIntoUserFolders() {
    TestProgram program;
    QFile mark(program.Folder() + QLatin1Char('/') + QLatin1String(PackageMarkerName));
    QVERIFY(mark.open(QIODevice::WriteOnly));
    mark.close();
    const QStringList before = Listing(program.Folder());
    // A fresh run, so that the program meets its folder as installed from the start.
    State& s = program.Restart(QStringLiteral("/LOG"));

    const QString documents = UserFolder(QStandardPaths::DocumentsLocation);
    const QString data = UserFolder(QStandardPaths::GenericDataLocation);
    QCOMPARE(s.jobFolder, documents + QLatin1Char('/'));
    QVERIFY(QFileInfo(documents).isDir());
    QCOMPARE(s.updateFolder, data + QStringLiteral("/Updates"));
    s.WriteLog(QStringLiteral("after the start"));
    QVERIFY(QFileInfo(data + QStringLiteral("/!!LogFile.txt")).size() > 0);
    ControlKey(s, 'L');
    QCOMPARE(program.platform.shownTextFiles, QStringList{data + QStringLiteral("/Log.txt")});
    QVERIFY(QFile::exists(data + QStringLiteral("/Log.txt")));

    // The update check leaves the installation to the package manager.
    program.platform.answers << Box::AnswerOk;
    RunCommand(s, 20);
    QCOMPARE(program.platform.messages.size(), 1);
    QCOMPARE(program.platform.messages[0].text, s.messages[1][12]);
    QVERIFY(!s.messages[1][12].isEmpty());

    QCOMPARE(Listing(program.Folder()), before);
}

void InstalledTest::commandLineJobs_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QStringList>("failures"); // "message number:file name"
    const QString odd = QStringLiteral("cold room, 2\" doors 'B'.cvj");
    QTest::newRow("spacesQuotesCommas_opened") << QStringList{odd} << odd << QStringList();
    QTest::newRow("missing_namedThenTemplate") << QStringList{"gone.cvj"} << QString() << QStringList{"15:gone.cvj"};
    QTest::newRow("folder_namedThenTemplate") << QStringList{"folder.cvj"} << QString() << QStringList{"16:folder.cvj"};
    QTest::newRow("damaged_namedThenTemplate") << QStringList{"damaged.cvj"} << QString() << QStringList{"16:damaged.cvj"};
    QTest::newRow("badOnesFirst_goodOneOpened")
        << QStringList{"gone.cvj", "folder.cvj", odd, "/LOG"} << odd << QStringList{"15:gone.cvj", "16:folder.cvj"};
    QTest::newRow("twoGood_firstOpened") << QStringList{"plain.cvj", odd} << "plain.cvj" << QStringList();
}

void InstalledTest::commandLineJobs() {
    TestProgram program;
    const QString jobs = program.Folder() + QStringLiteral("/JobFiles/");
    const QString odd = QStringLiteral("cold room, 2\" doors 'B'.cvj");
    for (const QString& name : {odd, QStringLiteral("plain.cvj")})
        QVERIFY(QFile::copy(program.DataFolder() + QStringLiteral("default.fil"), jobs + name));
    QVERIFY(QDir(jobs).mkdir(QStringLiteral("folder.cvj")));
    QFile damaged(jobs + QStringLiteral("damaged.cvj"));
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(300, '\xff'));
    damaged.close();

    QFETCH(QStringList, arguments);
    for (QString& arg : arguments)
        if (!arg.startsWith(QLatin1Char('/'))) arg.prepend(jobs);
    QFETCH(QStringList, failures);
    for (int i = 0; i < failures.size(); ++i) program.platform.answers << Box::AnswerOk;
    State& s = program.state();
    StartUp(s, arguments);

    QCOMPARE(program.platform.messages.size(), failures.size());
    for (int i = 0; i < failures.size(); ++i) {
        const int n = failures[i].section(QLatin1Char(':'), 0, 0).toInt();
        const QString text = program.platform.messages[i].text;
        QVERIFY2(text.startsWith(s.messages[1][n]), qPrintable(text));
        QVERIFY2(text.endsWith(QDir::toNativeSeparators(jobs + failures[i].section(QLatin1Char(':'), 1))), qPrintable(text));
    }
    QFETCH(QString, opened);
    QCOMPARE(s.currentJobPath, opened.isEmpty() ? QString() : jobs + opened);
    QCOMPARE(s.currentPage, opened.isEmpty() ? 0 : 1);
    QCOMPARE(s.log.FileOn(), arguments.contains(QStringLiteral("/LOG")));
    // The job is remembered under its own name, commas and quotes included.
    if (!opened.isEmpty()) QCOMPARE(program.Restart().historyList.value(0), jobs + opened);
}

QTEST_GUILESS_MAIN(InstalledTest)
#include "installed_test.moc"
