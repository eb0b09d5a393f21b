#include "base/numbertext.h"
#include "base/settingsstore.h"
#include "definitions/state.h"
#include "tests/support/fakeplatform.h"

#include <algorithm>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace corvane;

// The built program itself, run with settings of its own (never the user's).
class BatchTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;

    struct Outcome {
        int status = -1;
        QByteArray out, err;
    };
    Outcome Run(QStringList args) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.path());
        if (!env.contains(QStringLiteral("ASAN_OPTIONS")))
            env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        process.setProcessEnvironment(env);
        for (QString& a : args)
            a.replace(QLatin1String("TMP"), m_home.path());
        process.start(QStringLiteral(CORVANE_PROGRAM_DIR "/corvane"),
                      QStringList{QStringLiteral("--batch")} + args);
        Outcome o;
        if (process.waitForFinished(180000) && process.exitStatus() == QProcess::NormalExit)
            o.status = process.exitCode();
        o.out = process.readAllStandardOutput();
        o.err = process.readAllStandardError();
        return o;
    }
    static bool ShippedData() {
        for (const char* name : {"corvane.ico", "default.lng", "default.fil"})
            if (!QFileInfo::exists(QStringLiteral(CORVANE_PROGRAM_DIR "/opdata/") + QLatin1String(name)))
                return false;
        return true;
    }

  private Q_SLOTS:
    void explainsFailures_data();
    void explainsFailures();
    void savedJobLoadsBackTheSame();
    void savedJobs_giveTheSameStateAsWhenSaved_data();
    void savedJobs_giveTheSameStateAsWhenSaved();
    void writesTheReport();
    void absurdNumbersAreInputProblems_data();
    void absurdNumbersAreInputProblems();
    void jobPathsAsTheSystemGivesThem();
    void saveWarnsOfCharactersItCannotStore();
    void commandNeedsOnlyQtCore_handsTheRestOver_data();
    void commandNeedsOnlyQtCore_handsTheRestOver();
};

void BatchTest::savedJobs_giveTheSameStateAsWhenSaved_data() {
    QTest::addColumn<QString>("job");
    for (int i = 1; i <= 10; ++i) {
        const QString name = QStringLiteral("job%1.cvj").arg(i, 2, 10, QLatin1Char('0'));
        QTest::newRow(qPrintable(name)) << QFINDTESTDATA("../data/jobs/" + name);
    }
}

void BatchTest::savedJobs_giveTheSameStateAsWhenSaved() {
    QFETCH(QString, job);
    if (!ShippedData()) QSKIP("the shipped data files are not beside the program");
    QVERIFY2(!job.isEmpty(), "the saved job is missing from tests/data/jobs");
    QFile expectedFile(job.chopped(4) + QStringLiteral(".json"));
    QVERIFY(expectedFile.open(QIODevice::ReadOnly));
    const QByteArray expected = expectedFile.readAll();
    const Outcome o = Run({QStringLiteral("--json"), job});
    QCOMPARE(o.status, 0);
    if (o.out != expected) {
        // Name the first control whose state moved, not 60 KB of JSON.
        const QJsonObject now = QJsonDocument::fromJson(o.out).object(), then = QJsonDocument::fromJson(expected).object();
        for (const QString& part : then.keys())
            for (const QString& key : then.value(part).toObject().keys())
                QVERIFY2(now.value(part).toObject().value(key) == then.value(part).toObject().value(key),
                         qPrintable(part + QLatin1Char(' ') + key + QStringLiteral(" moved")));
        QCOMPARE(o.out, expected);
    }
}

void BatchTest::explainsFailures_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("says");
    QTest::addColumn<bool>("loaded"); // false: refused before anything is loaded
    auto row = [](const char* name, const QStringList& args, int status, const char* says,
                  bool loaded = false) {
        QTest::newRow(name) << args << status << QString::fromUtf8(says) << loaded;
    };
    row("unknown option", {"--frobnicate"}, 2, "unknown option '--frobnicate'");
    row("edit without its value", {"--set"}, 2, "needs a value");
    row("edit without '='", {"--set", "103"}, 2, "needs '='");
    row("field that is no number", {"--set", "x=1"}, 2, "'x' is not a whole number");
    row("field that does not exist", {"--set", "999=1"}, 2, "there is no field 999");
    row("list field typed into", {"--set", "504=R-22"}, 2, "use --pick 504=I");
    row("cell with two coordinates", {"--cell=200,2=5"}, 2, "expected G,R,C");
    row("candidate grid", {"--cell", "520,2,2=5"}, 2, "only grids 200 and 300");
    row("option button that does not exist", {"--click-radio", "7"}, 2, "no option button 7");
    row("field without a list", {"--pick", "103=0"}, 2, "field 103 has no list");
    row("negative list entry", {"--pick", "504=-1"}, 2, "whole number from 0");
    row("two job files", {"a.cvj", "b.cvj"}, 2, "only one job file");
    row("value for a switch", {"--json=yes"}, 2, "takes no value");
    row("help", {"--help"}, 0, "");
    row("result row", {"--cell", "200,9,2=5"}, 2, "not an input cell", true);
    row("column beyond the grid", {"--cell", "300,3,40=5"}, 2, "not an input cell", true);
    row("list row typed into", {"--cell", "300,2,2=Apples"}, 2, "use --pick-cell", true);
    row("entry beyond the list", {"--pick", "504=999"}, 2, "counted from 0", true);
    row("missing job", {"TMP/missing.cvj"}, 3, "cannot be loaded", true);
    row("not a job file", {"TMP/a.txt"}, 3, "is not a job file", true);
    row("save under a file", {"--save", "TMP/a.txt/job.cvj"}, 3, "cannot be saved", true);
    row("page images without .bmp", {"--bmp", "TMP/report.png"}, 2, "ending in .bmp");
    row("report under a file", {"--pdf", "TMP/a.txt/report.pdf"}, 3, "report cannot be written", true);
    row("save onto a pipe", {"--save", "TMP/pipe.cvj"}, 3, "is not a regular file", true);
    row("save onto a folder", {"--save", "TMP"}, 3, "is a folder", true);
}

void BatchTest::explainsFailures() {
    QFETCH(QStringList, args);
    QFETCH(QString, says);
    QFETCH(bool, loaded);
    if (loaded && !ShippedData()) QSKIP("the shipped language file and template are not in the build yet");
    QFile(m_home.path() + QStringLiteral("/a.txt")).open(QIODevice::WriteOnly);
    const QByteArray pipe = QFile::encodeName(m_home.path() + QStringLiteral("/pipe.cvj"));
    QVERIFY(QFileInfo::exists(QString::fromLocal8Bit(pipe)) || ::mkfifo(pipe.constData(), 0600) == 0);
    const Outcome o = Run(args);
    QTEST(o.status, "status");
    QVERIFY2(QString::fromUtf8(o.err).contains(says), o.err.constData());
    // A refused save leaves the pipe a pipe.
    struct stat info{};
    QVERIFY(::stat(pipe.constData(), &info) == 0 && S_ISFIFO(info.st_mode));
    if (o.status == 0) QVERIFY(o.out.contains("--batch [EDIT...]") && o.out.contains("Exit status"));
}

void BatchTest::savedJobLoadsBackTheSame() {
    if (!ShippedData()) QSKIP("the shipped language file and template are not in the build yet");
    const Outcome edited =
        Run({"--set", "103=0", "--click-radio", "101", "--save", "TMP/freezer job.cvj", "--json"});
    const Outcome loaded = Run({"--json", "TMP/freezer job.cvj"});
    QVERIFY2(edited.status == 0 || edited.status == 1, edited.err.constData());
    QCOMPARE(loaded.status, edited.status);
    const QJsonObject a = QJsonDocument::fromJson(edited.out).object(),
                      b = QJsonDocument::fromJson(loaded.out).object();
    QCOMPARE(a.keys(), (QStringList{"errors", "fields", "grids", "lists", "radios"}));
    QCOMPARE(edited.status == 1, !a["errors"].toArray().isEmpty());
    QCOMPARE(ReadNumber(a["fields"]["103"]["stored"].toString()).value_or(-1), 0.0);
    QVERIFY(a["radios"]["101"].toBool());

    // The whole window by number: every field, option button and list, the four grids.
    test::FakePlatform platform;
    SettingsStore settings(m_home.path() + QStringLiteral("/s.ini"));
    const State window(m_home.path(), platform, settings);
    QCOMPARE(a["fields"].toObject().size(), window.textBoxes.Size());
    QCOMPARE(a["radios"].toObject().size(), window.radios.Size());
    QCOMPARE(a["lists"].toObject().size(), window.optionLists.Size());
    QCOMPARE(a["grids"].toObject().keys(), (QStringList{"200", "300", "520", "540"}));
    for (const auto& [n, box] : window.textBoxes) {
        const QJsonObject f = a["fields"][QString::number(n)].toObject(),
                          g = b["fields"][QString::number(n)].toObject();
        for (const char* key : {"stored", "shown", "caption", "unit", "category", "type"})
            QVERIFY(f[key].isString());
        QVERIFY(f["overridden"].isBool() && f["visible"].isBool());
        if (n >= 720) continue; // preferences, not part of a job
        for (const char* key : {"stored", "shown", "unit", "overridden"})
            QVERIFY2(f[key] == g[key], qPrintable(QString::number(n)));
    }
    for (const char* g : {"200", "300", "520", "540"}) {
        const QJsonObject grid = a["grids"][g].toObject();
        for (const char* part : {"cells", "stored", "overridden"}) {
            QCOMPARE(grid[part].toArray().size(), grid["rows"].toInt());
            for (const QJsonValue& row : grid[part].toArray())
                QCOMPARE(row.toArray().size(), grid["cols"].toInt());
        }
        QCOMPARE(b["grids"][g]["cells"], grid["cells"]);
        QCOMPARE(b["grids"][g]["overridden"], grid["overridden"]);
    }
    QCOMPARE(b["radios"], a["radios"]);
    QCOMPARE(b["lists"]["625"]["selected"], a["lists"]["625"]["selected"]);
    QVERIFY(a["lists"]["625"]["items"].isArray() && a["lists"]["625"]["values"].isArray());
}

void BatchTest::writesTheReport() {
    if (!ShippedData()) QSKIP("the shipped language file and template are not in the build yet");
    const Outcome o = Run({"--set", "13=12", "--set", "14=10", "--set", "15=8", "--pdf", "TMP/cooler.pdf", "--bmp",
                           "TMP/cooler.Page_2.bmp"});
    QVERIFY2(o.status == 0, o.err.constData());
    for (const char* name : {"/cooler.Page_1.bmp", "/cooler.Page_2.bmp"})
        QCOMPARE(QImageReader(m_home.path() + QLatin1String(name)).format(), QByteArray("bmp"));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {m_home.path() + QStringLiteral("/cooler.pdf"), QStringLiteral("-")});
    if (!text.waitForFinished(60000)) QSKIP("pdftotext (poppler-utils, installed by scripts/setup.sh) is missing");
    const QString pages = QString::fromUtf8(text.readAllStandardOutput());
    // The summary's total load and condensing unit are on the report as text.
    const QString summary = QString::fromUtf8(o.out);
    const QRegularExpressionMatch total = QRegularExpression(QStringLiteral("Total +\\(16\\) +(\\S+)")).match(summary);
    const QRegularExpressionMatch unit = QRegularExpression(QStringLiteral("\\(522-524\\) +\\d+ x (\\S+),")).match(summary);
    QVERIFY2(total.hasMatch() && unit.hasMatch(), o.out.constData());
    QVERIFY(pages.contains(total.captured(1)));
    QVERIFY(pages.contains(unit.captured(1)));
    QVERIFY(pages.contains(QStringLiteral("Page 2 of 2")));
}

// A number the calculation cannot carry, or inputs whose results overflow, are input problems
// in the banner (exit 1), never a silent 0.
void BatchTest::absurdNumbersAreInputProblems_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("error");
    const QString notANumber = ": not a number, or too large to compute with";
    QTest::newRow("text") << QStringList{"--set", "103=abc"} << notANumber;
    QTest::newRow("beyond double") << QStringList{"--set", "103=1e309"} << notANumber;
    QTest::newRow("beyond single") << QStringList{"--set", "506=1e39"} << notANumber;
    QTest::newRow("ambient beyond single") << QStringList{"--set", "102=1e39"} << notANumber;
    QTest::newRow("nan in a job") << QStringList{"TMP/nan.cvj"} << notANumber;
    // The box's area no longer fits a number the calculation carries.
    QTest::newRow("overflowing box") << QStringList{"--set", "13=1e30", "--set", "14=1e30"} << notANumber;
    QTest::newRow("overflowing product mass") << QStringList{"--cell", "300,3,2=3e38"}
                                              << "A result is too large to compute; check the inputs.";
    QTest::newRow("design TD 0") << QStringList{"--set", "502=0"} << "Design TD must be above 0.";
}

void BatchTest::absurdNumbersAreInputProblems() {
    QFETCH(QStringList, args);
    QFETCH(QString, error);
    if (!ShippedData()) QSKIP("the shipped language file and template are not in the build yet");
    QFile job(QStringLiteral(CORVANE_PROGRAM_DIR "/opdata/default.fil"));
    QVERIFY(job.open(QIODevice::ReadOnly));
    QFile nan(m_home.path() + QStringLiteral("/nan.cvj"));
    QVERIFY(nan.open(QIODevice::WriteOnly));
    nan.write(job.readAll() + "\"T\",103,\"nan\",\"nan\",#FALSE#\r\n");
    nan.close();
    const Outcome o = Run(args + QStringList{"--json"});
    QCOMPARE(o.status, 1);
    const QJsonArray errors = QJsonDocument::fromJson(o.out)["errors"].toArray();
    QVERIFY2(std::any_of(errors.begin(), errors.end(), [&](const QJsonValue& e) { return e.toString().endsWith(error); }),
             o.out.right(400).constData());
}

// A path may hold quotes, tabs and spaces: the program takes its arguments as given.
void BatchTest::jobPathsAsTheSystemGivesThem() {
    if (!ShippedData()) QSKIP("the shipped language file and template are not in the build yet");
    const QString path = m_home.path() + QStringLiteral("/a \"quoted\"\tjob.cvj");
    const Outcome saved = Run({"--set", "0=Quoted", "--save", path});
    QVERIFY2(saved.status == 0 || saved.status == 1, saved.err.constData());
    const Outcome loaded = Run({"--json", path});
    QVERIFY2(loaded.status == 0 || loaded.status == 1, loaded.err.constData());
    QCOMPARE(QJsonDocument::fromJson(loaded.out)["fields"]["0"]["stored"].toString(), QStringLiteral("Quoted"));
}

// Characters outside the job file's code page: the save says which fields hold them, then saves.
void BatchTest::saveWarnsOfCharactersItCannotStore() {
    if (!ShippedData()) QSKIP("the shipped language file and template are not in the build yet");
    const Outcome o = Run({"--set", QStringLiteral("0=Ωμέγα 冷"), "--save", "TMP/greek.cvj"});
    QVERIFY2(o.status == 0 || o.status == 1, o.err.constData());
    QVERIFY2(o.err.contains("cannot be stored in a job file") && o.err.contains("(field 0)"), o.err.constData());
    QVERIFY(QFileInfo::exists(m_home.path() + QStringLiteral("/greek.cvj")));
}

// `corvane` starts the batch mode on Qt Core alone (what makes a batch run quick) and hands the
// window and the runs that draw the report or check for updates to `corvane-gui` beside it;
// without it, it says so instead of failing silently.
void BatchTest::commandNeedsOnlyQtCore_handsTheRestOver_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("window") << QStringList{};
    QTest::newRow("report") << QStringList{"--batch", "--pdf", "TMP/report.pdf"};
    QTest::newRow("update") << QStringList{"--batch", "--update"};
}

void BatchTest::commandNeedsOnlyQtCore_handsTheRestOver() {
    QFETCH(QStringList, args);
    const QString command = QStringLiteral(CORVANE_PROGRAM_DIR "/corvane");
    QProcess readelf;
    readelf.start(QStringLiteral("readelf"), {QStringLiteral("-d"), command});
    QVERIFY(readelf.waitForFinished(60000));
    const QString needed = QString::fromUtf8(readelf.readAllStandardOutput());
    QVERIFY2(needed.contains(QStringLiteral("libQt6Core")), qPrintable(needed));
    QVERIFY2(!needed.contains(QRegularExpression(QStringLiteral("Qt6(Gui|Widgets|PrintSupport|Network)|sodium"))),
             qPrintable(needed));

    QTemporaryDir alone;
    const QString copy = alone.filePath(QStringLiteral("corvane"));
    QVERIFY(QFile::copy(command, copy));
    for (QString& a : args) a.replace(QLatin1String("TMP"), alone.path());
    QProcess process;
    process.start(copy, args);
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 4);
    const QString err = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(err.contains(QStringLiteral("corvane-gui' cannot be started")), qPrintable(err));
    QVERIFY(!QFileInfo::exists(alone.filePath(QStringLiteral("report.pdf"))));
}
QTEST_GUILESS_MAIN(BatchTest)
#include "batch_test.moc"
