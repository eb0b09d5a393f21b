#include "jobs/filehistory.h"

#include "jobs/jobfile.h"
#include "tests/jobs/jobtesting.h"

#include <QDir>
#include <QTest>

using namespace corvane;
using namespace corvane::test;

namespace {

const QByteArray JobRecord = "\"T\",0,\"a job\",\"a job\",#FALSE#\r\n";

QString Key(int k) { return QStringLiteral("File") + QString::number(k); }

QStringList StoredHistory(const JobState& j) {
    QStringList values;
    for (int k = 0; k <= 25; ++k) values << j.s.settings.Get(j.s.historySection, Key(k));
    return values;
}

// Job files job1.cvj ... jobN.cvj in the job state's folder.
QStringList MakeJobs(const JobState& j, int count) {
    QStringList paths;
    for (int i = 1; i <= count; ++i) paths << j.Write(QStringLiteral("job%1.cvj").arg(i), JobRecord);
    return paths;
}

void Remember(JobState& j, const QStringList& paths) {
    for (int k = 0; k < paths.size(); ++k) j.s.settings.Save(j.s.historySection, Key(k), paths[k]);
}

} // namespace

class FileHistoryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void loadsUpToFirstEmptyEntry_data();
    void loadsUpToFirstEmptyEntry();
    void keepsNewest25_data();
    void keepsNewest25();
    void opensEntryOrFallsBackToTemplate();
};

void FileHistoryTest::loadsUpToFirstEmptyEntry_data() {
    QTest::addColumn<QList<int>>("stored");    // job numbers in File0.., 0 = empty, -1 = a file that is gone
    QTest::addColumn<QList<int>>("listed");
    QTest::newRow("stops at the first empty value") << QList<int>{1, 0, 3} << QList<int>{1};
    QTest::newRow("skips files that are gone") << QList<int>{1, -1, 3} << QList<int>{1, 3};
    QTest::newRow("reads File0 to File25") << [] { QList<int> l; for (int i = 1; i <= 27; ++i) l << i; return l; }()
                                           << [] { QList<int> l; for (int i = 1; i <= 26; ++i) l << i; return l; }();
}

void FileHistoryTest::loadsUpToFirstEmptyEntry() {
    QFETCH(QList<int>, stored);
    QFETCH(QList<int>, listed);
    JobState j;
    const QStringList jobs = MakeJobs(j, 27);
    QStringList values;
    for (int n : stored) values << (n > 0 ? jobs[n - 1] : n < 0 ? j.Path(QStringLiteral("gone.cvj")) : QString());
    Remember(j, values);
    LoadFileHistory(j.s);
    QStringList expected;
    for (int n : listed) expected << jobs[n - 1];
    QCOMPARE(j.s.historyList, expected);
}

void FileHistoryTest::keepsNewest25_data() {
    QTest::addColumn<int>("current");          // the job saved now
    QTest::addColumn<int>("missing");          // a remembered job deleted since, 0 for none
    QTest::addColumn<QList<int>>("expected");  // File0..File24
    QList<int> newFirst{26}, movedUp{7}, gapClosed{26};
    for (int i = 1; i <= 24; ++i) newFirst << i;
    for (int i = 1; i <= 25; ++i)
        if (i != 7 && movedUp.size() < 25) movedUp << i;
    for (int i = 1; i <= 25; ++i)
        if (i != 3 && gapClosed.size() < 25) gapClosed << i;
    QTest::newRow("new job first, oldest dropped") << 26 << 0 << newFirst;
    QTest::newRow("job already listed moves to the front") << 7 << 0 << movedUp;
    QTest::newRow("deleted job makes room") << 26 << 3 << gapClosed;
}

void FileHistoryTest::keepsNewest25() {
    QFETCH(int, current);
    QFETCH(int, missing);
    QFETCH(QList<int>, expected);
    JobState j;
    const QStringList jobs = MakeJobs(j, 26);
    Remember(j, jobs.mid(0, 25));
    LoadFileHistory(j.s);
    if (missing) QFile::remove(jobs[missing - 1]);

    QVERIFY(JobFileSave(j.s, jobs[current - 1]));
    QStringList want;
    for (int n : expected) want << jobs[n - 1];
    const QStringList stored = StoredHistory(j);
    QCOMPARE(stored.mid(0, 25), want);
    QCOMPARE(stored[25], QString());
    QCOMPARE(j.s.historyList, want);
}

void FileHistoryTest::opensEntryOrFallsBackToTemplate() {
    JobState j;
    j.Write(QStringLiteral("default.fil"), "\"T\",0,\"template\",\"template\",#FALSE#\r\n");
    const QStringList jobs = MakeJobs(j, 2);
    Remember(j, jobs);
    LoadFileHistory(j.s);

    OpenHistoryEntry(j.s, 1);
    QCOMPARE(j.s.currentJobPath, jobs[1]);
    QCOMPARE(j.s.historyList, (QStringList{jobs[1], jobs[0]}));
    QCOMPARE(j.platform.busyDepth, 0);

    // A job that cannot be read any more: message 16, then the template.
    QFile::resize(jobs[0], 0);
    OpenHistoryEntry(j.s, 1);
    QVERIFY(j.MessageShown(16));
    QCOMPARE(j.s.textBoxes[0].text, QStringLiteral("template"));
    QVERIFY(j.s.currentJobPath.isEmpty());
    QCOMPARE(j.platform.busyDepth, 0);
}

QTEST_GUILESS_MAIN(FileHistoryTest)
#include "filehistory_test.moc"
