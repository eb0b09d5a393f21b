#include "jobs/filehistory.h"
#include "jobs/jobactions.h"

#include "jobs/jobfile.h"
#include "tests/jobs/jobtesting.h"

#include <QTest>

using namespace corvane;
using namespace corvane::test;

namespace {

QString Key(int k) {
    return QStringLiteral("File%1").arg(k);
}

// Job files job1.cvj ... jobN.cvj, remembered in the history as File0 ... in that order
// (0 in `remembered` leaves an empty value, -1 names a file that is gone).
QStringList Remember(JobState& j, int files, const QList<int>& remembered) {
    QStringList jobs;
    for (int i = 1; i <= files; ++i)
        jobs << j.Write(QStringLiteral("job%1.cvj").arg(i), "\"T\",0,\"a\",\"a\",#FALSE#");
    for (int k = 0; k < remembered.size(); ++k) {
        const int n = remembered[k];
        j.s.settings.Save(j.s.historySection, Key(k),
                          n > 0   ? jobs[n - 1]
                          : n < 0 ? j.Path(QStringLiteral("gone.cvj"))
                                  : QString());
    }
    LoadFileHistory(j.s);
    return jobs;
}

QList<int> Range(int from, int to, int skip = 0) {
    QList<int> list;
    for (int i = from; i <= to; ++i)
        if (i != skip) list << i;
    return list;
}

} // namespace

class FileHistoryTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void loadsAndKeepsNewest25_data() {
        QTest::addColumn<QList<int>>("remembered");
        QTest::addColumn<QList<int>>("listed"); // after loading the history
        QTest::addColumn<int>("deleted");       // then this job is deleted, 0 for none
        QTest::addColumn<int>("saved");         // and this one saved, 0 for none
        QTest::addColumn<QList<int>>("stored"); // File0..File24 afterwards
        QTest::newRow("stops at the first empty value")
            << QList<int>{1, 0, 3} << QList<int>{1} << 0 << 0 << QList<int>{};
        QTest::newRow("skips files that are gone")
            << QList<int>{1, -1, 3} << QList<int>{1, 3} << 0 << 0 << QList<int>{};
        QTest::newRow("reads File0 to File25") << Range(1, 27) << Range(1, 26) << 0 << 0 << QList<int>{};
        QTest::newRow("new job first, oldest dropped")
            << Range(1, 25) << Range(1, 25) << 0 << 26 << QList<int>{26} + Range(1, 24);
        QTest::newRow("listed job moves to the front")
            << Range(1, 25) << Range(1, 25) << 0 << 7 << QList<int>{7} + Range(1, 25, 7);
        QTest::newRow("deleted job makes room")
            << Range(1, 25) << Range(1, 25) << 3 << 26 << QList<int>{26} + Range(1, 25, 3);
    }
    void loadsAndKeepsNewest25() {
        QFETCH(QList<int>, remembered);
        QFETCH(QList<int>, listed);
        QFETCH(int, deleted);
        QFETCH(int, saved);
        QFETCH(QList<int>, stored);
        JobState j;
        const QStringList jobs = Remember(j, 27, remembered);
        auto paths = [&](const QList<int>& numbers) {
            QStringList p;
            for (int n : numbers)
                p << jobs[n - 1];
            return p;
        };
        QCOMPARE(j.s.historyList, paths(listed));
        if (!saved) return;
        if (deleted) QFile::remove(jobs[deleted - 1]);
        QVERIFY(JobFileSave(j.s, jobs[saved - 1]));
        QStringList values;
        for (int k = 0; k <= 25; ++k)
            values << j.s.settings.Get(j.s.historySection, Key(k));
        QCOMPARE(values, paths(stored) + QStringList{QString()}); // File25 cleared
        QCOMPARE(j.s.historyList, paths(stored));
    }

    void opensEntryOrFallsBackToTemplate() {
        JobState j;
        j.Write(QStringLiteral("default.fil"), "\"T\",0,\"template\",\"template\",#FALSE#");
        const QStringList jobs = Remember(j, 2, {1, 2});
        OpenHistoryEntry(j.s, 1);
        QCOMPARE(j.s.currentJobPath, jobs[1]);
        QCOMPARE(j.s.historyList, (QStringList{jobs[1], jobs[0]}));
        QFile::resize(jobs[0], 0); // no longer a job: message 16, then the template
        OpenHistoryEntry(j.s, 1);
        QVERIFY(j.MessageShown(16));
        QCOMPARE(j.s.textBoxes[0].text, QStringLiteral("template"));
        QVERIFY(j.s.currentJobPath.isEmpty());
        QCOMPARE(j.platform.busyDepth, 0);
    }
};

QTEST_GUILESS_MAIN(FileHistoryTest)
#include "filehistory_test.moc"
