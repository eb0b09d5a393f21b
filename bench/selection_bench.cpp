// Equipment selection (condenser, coolers, balance) on the shipped sample catalogue and on a
// generated catalogue of 10,000 condensing units and 10,000 unit coolers.
//   selection_bench -median 11

#include "equipment/equipmentfiles.h"
#include "equipment/selection.h"

#include "base/numbertext.h"
#include "base/settingsstore.h"
#include "definitions/state.h"
#include "tests/equipment/catalogwriter.h"
#include "tests/support/testprogram.h"

#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <map>
#include <memory>

using namespace corvane;
using namespace corvane::test;

namespace {

constexpr int GeneratedModels = 10000;

void SetJob(State& s, const QString& condenserSeries, const QString& coolerSeries, const QString& load) {
    // Loading suppresses the change rules, so only the selection itself is measured.
    FlagGuard loading(s.flags.loading);
    const std::pair<int, QString> values[] = {
        {500, "95"}, {501, "35"}, {502, "10"}, {503, load}, {522, "1"}, {542, "2"}, {530, "MA"},
        {531, condenserSeries}, {550, "LPA"}, {551, coolerSeries}};
    for (const auto& [n, v] : values) SetFieldValue(s, n, v);
}

void RunSelection(State& s) {
    FlagGuard calculating(s.flags.calculating);
    SelectCondenser(s);
    SelectCooler(s);
    CalculateBalance(s);
}

// Medium-temperature units on the usual SST x ambient grid, rated from 4,000 to about
// 104,000 Btu/h, and coolers rated from 1,500 to about 51,500 Btu/h, spread over `series`
// series keys (model i in series i mod series).
CatalogueWriter GenerateCatalogue(int series) {
    QList<int> suctions, ambients{80, 90, 95, 100, 110};
    for (int t = -10; t <= 45; t += 5) suctions << t;
    CatalogueWriter c;
    for (int i = 0; i < GeneratedModels; ++i) {
        const double rated = 4000 + 10.0 * i;
        QList<int> capacities;
        for (int sst : suctions)
            for (int ambient : ambients) {
                const double x = sst - 20;
                capacities << static_cast<int>(std::lround(rated * (1 + 0.02252 * x + 0.0001394 * x * x) *
                                                           (1 - 0.0085 * (ambient - 90))));
            }
        c.AddCondenser(QStringLiteral("CU%1").arg(i, 5, 10, QLatin1Char('0')), suctions, ambients, capacities);
        c.AddCooler(QStringLiteral("EC%1").arg(i, 5, 10, QLatin1Char('0')), 1500 + 5 * i, 34);
    }
    for (int k = 0; k < series; ++k) {
        const QString key = QStringLiteral("-%1S").arg(k, 2, 10, QLatin1Char('0'));
        for (int i = k; i < GeneratedModels; i += series) {
            const QString n = QStringLiteral("%1").arg(i, 5, 10, QLatin1Char('0'));
            c.condenserList += CatalogueWriter::Line({"MA" + key, "unit", "CU" + n, "CU" + n + ".pdf"});
            c.coolerList += CatalogueWriter::Line({"LPA" + key, "cooler", "EC" + n, "EC" + n + ".pdf"});
        }
    }
    return c;
}

struct GeneratedJob {
    QTemporaryDir dir;
    FakePlatform platform;
    SettingsStore settings{dir.path() + QStringLiteral("/s.ini")};
    State s{dir.path(), platform, settings};

    explicit GeneratedJob(int series) {
        // Without a tolerance the smallest adequate pair is always chosen, so the balance runs too.
        s.constants.underRange = 0;
        s.constants.condenser60HzFactor = s.constants.cooler60HzFactor = 1;
        s.strings[14] = QStringLiteral("No suitable model");
        GenerateCatalogue(series).Write(s.productFolder);
    }
};

} // namespace

// QtTest runs a benchmark function again for each measured run, so the programs and the
// generated catalogues are built once and kept.
class SelectionBench : public QObject {
    Q_OBJECT
    std::unique_ptr<TestProgram> m_sample;
    std::map<int, std::unique_ptr<GeneratedJob>> m_generated;

    GeneratedJob& Generated(int series) {
        std::unique_ptr<GeneratedJob>& job = m_generated[series];
        if (!job) {
            job = std::make_unique<GeneratedJob>(series);
            ReadEquipmentFiles(job->s);
        }
        return *job;
    }

private Q_SLOTS:
    void sampleCatalogue() {
        for (const char* name : {"CModels.rec", "CRatings.rec", "CProdList.data", "ERatings.rec", "EProdList.data"})
            if (!QFile::exists(BuiltProgramFolder() + QStringLiteral("/proddata/") + QLatin1String(name)))
                QSKIP("The sample catalogue has not been compiled into proddata/.");
        if (!m_sample) {
            m_sample = std::make_unique<TestProgram>();
            m_sample->platform.allowUnscriptedMessages = true;
            try {
                m_sample->Start();
            } catch (const ProgramEnd& e) {
                QSKIP(qPrintable(QStringLiteral("The program does not start: ") + QString::fromStdString(e.what())));
            }
            State& s = m_sample->state();
            SetJob(s, QStringLiteral("-60S"), QStringLiteral("-60S"), QStringLiteral("9000"));
            RunSelection(s);
            qInfo("condenser %s (%s), cooler %s (%s), balance %s", qPrintable(GetFieldValue(s, 523)),
                  qPrintable(GetFieldValue(s, 533)), qPrintable(GetFieldValue(s, 543)),
                  qPrintable(GetFieldValue(s, 553)), qPrintable(GetFieldValue(s, 560)));
        }
        State& s = m_sample->state();
        QBENCHMARK {
            RunSelection(s);
        }
    }

    void generatedCatalogue_data() {
        QTest::addColumn<int>("series");
        QTest::newRow("one series of 10000") << 1;
        QTest::newRow("40 series of 250") << 40;
    }
    void generatedCatalogue() {
        QFETCH(int, series);
        GeneratedJob& job = Generated(series);
        // A series from the middle of the list, so the walk passes half the rows.
        const QString key = QStringLiteral("-%1S").arg(series / 2, 2, 10, QLatin1Char('0'));
        SetJob(job.s, key, key, QStringLiteral("50000"));
        RunSelection(job.s);
        QCOMPARE(GetFieldValue(job.s, 533), QStringLiteral("1"));
        QCOMPARE(GetFieldValue(job.s, 553), QStringLiteral("1"));
        QBENCHMARK {
            RunSelection(job.s);
        }
    }

    void readGeneratedCatalogue() {
        GeneratedJob& job = Generated(40);
        QBENCHMARK {
            ReadEquipmentFiles(job.s);
        }
        QCOMPARE(static_cast<int>(job.s.coolerProducts.size()) - 1, GeneratedModels);
    }
};

QTEST_GUILESS_MAIN(SelectionBench)
#include "selection_bench.moc"
