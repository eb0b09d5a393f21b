// Job files on the shipped data: loading and saving a U-shaped box of eight walls that holds
// 30 products, and one whole batch run of the template job, start-up included.
//   build/release/bench/jobfile_bench -median 11
#include "commands/commands.h"
#include "base/numbertext.h"
#include "jobs/jobfile.h"
#include "jobs/jobactions.h"
#include "tests/support/testprogram.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace corvane;

namespace {

bool ShippedDataReady() {
    const QString data = test::BuiltProgramFolder() + QStringLiteral("/opdata/");
    return QFileInfo::exists(data + QStringLiteral("default.fil")) &&
           QFileInfo::exists(data + QStringLiteral("default.lng"));
}

// The template, turned by the user's own actions into an eight-wall box with 30 products.
void BuildLargeJob(State& s) {
    s.focus = FocusRef{ControlKind::Radio, 202};
    s.SetRadio(202, true);
    s.focus = FocusRef{};
    Grid& products = s.grids[300];
    while (products.cols < 32)
        RunCommand(s, 18);
    for (int c = 2; c < products.cols; ++c)
        for (int r = 3; r <= 12; ++r)
            products.Cell(r, c).text = TextFromDouble(r * 10 + c * 0.5);
}

} // namespace

class JobFileBench : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void loadLargeJob();
    void loadGridSizeStorm();
    void saveLargeJob();
    void batchRunOfTemplate_data();
    void batchRunOfTemplate();
};

void JobFileBench::loadLargeJob() {
    if (!ShippedDataReady()) QSKIP("the shipped template and language file are not in the build yet");
    test::TestProgram program;
    program.platform.allowUnscriptedMessages = true;
    State& s = program.Start();
    BuildLargeJob(s);
    const QString job = program.Folder() + QStringLiteral("/JobFiles/large.cvj");
    QVERIFY(JobFileSave(s, job));
    QBENCHMARK {
        JobFileLoad(s, job);
    }
    QCOMPARE(s.grids[300].cols, 32);
    QCOMPARE(s.grids[200].cols, 12);
}

// A hostile job of nothing but grid-size records, each asking for the largest grid and then
// for none (381 KB): each record must cost about its own length.
void JobFileBench::loadGridSizeStorm() {
    if (!ShippedDataReady()) QSKIP("the shipped template and language file are not in the build yet");
    test::TestProgram program;
    program.platform.allowUnscriptedMessages = true;
    State& s = program.Start();
    QByteArray bytes = "\"# \",\"Tundrel\",0,1,92\r\n";
    while (bytes.size() < 381 * 1024) bytes += "\"G\",200,1000,100,\"\"\r\n\"G\",200,0,0,\"\"\r\n";
    const QString job = program.Folder() + QStringLiteral("/JobFiles/storm.cvj");
    QFile file(job);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    QBENCHMARK {
        JobFileLoad(s, job);
    }
}

void JobFileBench::saveLargeJob() {
    if (!ShippedDataReady()) QSKIP("the shipped template and language file are not in the build yet");
    test::TestProgram program;
    program.platform.allowUnscriptedMessages = true;
    State& s = program.Start();
    BuildLargeJob(s);
    const QString job = program.Folder() + QStringLiteral("/JobFiles/large.cvj");
    QBENCHMARK {
        JobFileSave(s, job);
    }
    QVERIFY(QFileInfo(job).size() > 0);
}

// The command `corvane` (Qt Core alone) and, for comparison, the same run in the window
// program, which loads Qt Gui, Widgets, the network and the font machinery.
void JobFileBench::batchRunOfTemplate_data() {
    QTest::addColumn<QString>("program");
    QTest::newRow("corvane") << QStringLiteral("corvane");
    QTest::newRow("corvane-gui") << QStringLiteral("corvane-gui");
}

void JobFileBench::batchRunOfTemplate() {
    QFETCH(QString, program);
    if (!ShippedDataReady()) QSKIP("the shipped template and language file are not in the build yet");
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    if (!env.contains(QStringLiteral("ASAN_OPTIONS")))
        env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    int status = -1;
    QBENCHMARK {
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(test::BuiltProgramFolder() + QLatin1Char('/') + program,
                      {QStringLiteral("--batch"), QStringLiteral("--json")});
        process.waitForFinished(120000);
        status = process.exitCode();
    }
    QVERIFY(status == 0 || status == 1);
}

QTEST_GUILESS_MAIN(JobFileBench)
#include "jobfile_bench.moc"
