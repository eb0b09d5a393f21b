// The report of the template job: both pages as one PDF, and both pages as page images
// (drawn only, and drawn and written as two bitmap files).
//   QT_QPA_PLATFORM=offscreen build/release/bench/report_bench -median 11
#include "report/printform.h"
#include "report/reportpages.h"
#include "tests/support/testprogram.h"

#include <QFileInfo>
#include <QTest>

using namespace corvane;

class ReportBench : public QObject {
    Q_OBJECT

    test::TestProgram m_program;

  private Q_SLOTS:
    void initTestCase() { m_program.Start(); }
    void readPrintForms();
    void bothPagesToPdf();
    void bothPagesToImages();
    void bothPagesToImageFiles();
};

void ReportBench::readPrintForms() {
    State& s = m_program.state();
    size_t steps = 0;
    QBENCHMARK {
        steps = ReadPrintFormFile(PrintFormPath(s, 1)).steps.size() +
                ReadPrintFormFile(PrintFormPath(s, 2)).steps.size();
    }
    QVERIFY(steps > 100);
}

void ReportBench::bothPagesToPdf() {
    State& s = m_program.state();
    const QString path = m_program.Folder() + QStringLiteral("/JobFiles/report.pdf");
    QString error;
    QBENCHMARK {
        QVERIFY(WriteReportPdf(s, path, Paper::A4, &error));
    }
    QVERIFY(QFileInfo(path).size() > 10000);
}

void ReportBench::bothPagesToImages() {
    State& s = m_program.state();
    qint64 bytes = 0;
    QBENCHMARK {
        bytes = PageImage(s, 1, Paper::A4).sizeInBytes() + PageImage(s, 2, Paper::A4).sizeInBytes();
    }
    QVERIFY(bytes > 0);
}

void ReportBench::bothPagesToImageFiles() {
    State& s = m_program.state();
    const QString base = m_program.Folder() + QStringLiteral("/JobFiles/report.");
    QString error;
    QBENCHMARK {
        QVERIFY(WritePageImages(s, base, Paper::A4, &error));
    }
    QVERIFY(QFileInfo(PageImageName(base, 2)).size() > 0);
}

QTEST_MAIN(ReportBench)
#include "report_bench.moc"
