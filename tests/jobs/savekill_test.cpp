#include "base/safefile.h"
#include "jobs/jobactions.h"
#include "jobs/jobfile.h"
#include "tests/support/testprogram.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>

#include <csignal>
#include <cstdio>

using namespace corvane;

namespace {

constexpr char ChildVariable[] = "CORVANE_SAVE_CHILD";

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The child: saves two versions of a job in turn onto one path, as fast as it can, until it
// is killed. Arguments: the target, the files holding the two versions.
int SaveForever(const QStringList& args) {
    const QByteArray versions[2] = {ReadAll(args[1]), ReadAll(args[2])};
    std::fputs("saving\n", stdout);
    std::fflush(stdout);
    for (int i = 0;; i ^= 1)
        if (!WriteFileSafely(args[0], versions[i])) return 1;
}

} // namespace

// A save killed at any moment leaves the job on disk whole: the old version or the new one,
// never a mix or a cut, and nothing beside it that a later save would trip over.
class SaveKillTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void killedSavesLeaveAWholeJob() {
        test::TestProgram program;
        program.platform.allowUnscriptedMessages = true;
        State& s = program.Start();
        // A large job: the product table widened to 1000 columns, each cell filled.
        Grid& products = s.grids[300];
        products.Resize(products.rows, 1000);
        for (int r = 1; r < products.rows - 1; ++r)
            for (int c = 2; c < products.cols; ++c) products.Cell(r, c).text = QString::number(r * 1000 + c);
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("large job.cvj"));
        const QString versionFiles[2] = {dir.filePath(QStringLiteral("a.bin")), dir.filePath(QStringLiteral("b.bin"))};
        QByteArray versions[2];
        for (int v = 0; v < 2; ++v) {
            s.SetText(0, QStringLiteral("version %1").arg(v));
            versions[v] = JobFileBytes(s, target);
            QVERIFY(WriteFileSafely(versionFiles[v], versions[v]));
        }
        QVERIFY(versions[0].size() > 300000);
        QVERIFY(WriteFileSafely(target, versions[0]));

        QRandomGenerator random(20261205);
        int killedWhileSaving = 0;
        for (int round = 0; round < 200; ++round) {
            QProcess child;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QString::fromLatin1(ChildVariable), QStringLiteral("1"));
            child.setProcessEnvironment(env);
            child.start(QCoreApplication::applicationFilePath(), {target, versionFiles[0], versionFiles[1]});
            QVERIFY(child.waitForReadyRead(30000));
            QThread::usleep(random.bounded(20000));
            ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
            QVERIFY(child.waitForFinished(30000));
            if (child.exitStatus() == QProcess::CrashExit) ++killedWhileSaving;

            const QByteArray onDisk = ReadAll(target);
            QVERIFY2(onDisk == versions[0] || onDisk == versions[1],
                     qPrintable(QStringLiteral("round %1: %2 bytes on disk").arg(round).arg(onDisk.size())));
            // A killed save may leave its temporary file ("large job.cvj.XXXXXX"); it never takes
            // the job's name, and the next save (the next round's child) is not hindered by it.
            QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
            left.removeIf([](const QString& name) { return name.startsWith(QLatin1String("large job.cvj.")); });
            QCOMPARE(left, (QStringList{"a.bin", "b.bin", "large job.cvj"}));
        }
        QCOMPARE(killedWhileSaving, 200);
        // What is on disk opens as a job, with every column.
        QVERIFY(JobFileLoad(s, target));
        QCOMPARE(s.grids[300].cols, 1000);
        QVERIFY(s.textBoxes[0].text.startsWith(QStringLiteral("version ")));
    }
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(ChildVariable)) return SaveForever(app.arguments().mid(1));
    SaveKillTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "savekill_test.moc"
