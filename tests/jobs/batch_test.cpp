#include "app/numbertext.h"
#include "app/settingsstore.h"
#include "definitions/state.h"
#include "tests/support/fakeplatform.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace corvane;

namespace {

struct Outcome {
    int status = -1;
    QByteArray out, err;
};

bool ShippedDataReady() {
    const QString data = QStringLiteral(CORVANE_PROGRAM_DIR "/opdata/");
    for (const char* name : {"corvane.ico", "default.lng", "default.fil"})
        if (!QFileInfo::exists(data + QLatin1String(name))) return false;
    return true;
}

QJsonObject Json(const Outcome& o) { return QJsonDocument::fromJson(o.out).object(); }

} // namespace

class BatchTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;   // the settings of these runs, never the user's own

    Outcome Run(const QStringList& args) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.path());
        if (!env.contains(QStringLiteral("ASAN_OPTIONS"))) env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(CORVANE_PROGRAM_DIR "/corvane"), args);
        Outcome o;
        if (!process.waitForFinished(180000)) return o;
        o.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        o.out = process.readAllStandardOutput();
        o.err = process.readAllStandardError();
        return o;
    }

    QString Temp(const QString& name) const { return m_home.path() + QLatin1Char('/') + name; }

private Q_SLOTS:
    void explainsBadArguments_data();
    void explainsBadArguments();
    void showsHelp();
    void printsWholeStateAsJson();
    void explainsCellsAndEntriesOutOfRange_data();
    void explainsCellsAndEntriesOutOfRange();
    void savedJobLoadsBackTheSame();
    void reportsJobsThatCannotBeLoadedOrSaved_data();
    void reportsJobsThatCannotBeLoadedOrSaved();
};

void BatchTest::explainsBadArguments_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("says");
    QTest::newRow("unknown option") << QStringList{"--frobnicate"} << "unknown option '--frobnicate'";
    QTest::newRow("edit without its value") << QStringList{"--set"} << "needs a value";
    QTest::newRow("edit without '='") << QStringList{"--set", "103"} << "needs '='";
    QTest::newRow("field number that is no number") << QStringList{"--set", "x=1"} << "'x' is not a whole number";
    QTest::newRow("field that does not exist") << QStringList{"--set", "999=1"} << "there is no field 999";
    QTest::newRow("list field typed into") << QStringList{"--set", "504=R-22"} << "use --pick 504=I";
    QTest::newRow("cell with two coordinates") << QStringList{"--cell", "200,2=5"} << "expected G,R,C";
    QTest::newRow("candidate grid") << QStringList{"--cell", "520,2,2=5"} << "only grids 200 and 300";
    QTest::newRow("option button that does not exist") << QStringList{"--click-radio", "7"} << "no option button 7";
    QTest::newRow("field without a list") << QStringList{"--pick", "103=0"} << "field 103 has no list";
    QTest::newRow("negative list entry") << QStringList{"--pick", "504=-1"} << "whole number from 0";
    QTest::newRow("two job files") << QStringList{"a.cvj", "b.cvj"} << "only one job file";
    QTest::newRow("value for a switch") << QStringList{"--json=yes"} << "takes no value";
    QTest::newRow("save twice") << QStringList{"--save", "a.cvj", "--save=b.cvj"} << "--save given twice";
}

void BatchTest::explainsBadArguments() {
    QFETCH(QStringList, args);
    QFETCH(QString, says);
    const Outcome o = Run(QStringList{QStringLiteral("--batch")} + args);
    QCOMPARE(o.status, 2);
    QVERIFY2(QString::fromUtf8(o.err).contains(says), o.err.constData());
    QVERIFY(o.out.isEmpty());
}

void BatchTest::showsHelp() {
    const Outcome o = Run({QStringLiteral("--help")});
    QCOMPARE(o.status, 0);
    for (const char* part : {"--batch", "--set N=TEXT", "--pick-cell", "--json", "Exit status"})
        QVERIFY2(o.out.contains(part), part);
}

void BatchTest::printsWholeStateAsJson() {
    if (!ShippedDataReady()) QSKIP("the shipped language file and template are not in the build yet");
    const Outcome o = Run({QStringLiteral("--batch"), QStringLiteral("--json")});
    QVERIFY2(o.status == 0 || o.status == 1, o.err.constData());
    const QJsonObject json = Json(o);
    QCOMPARE(json.keys(), (QStringList{"errors", "fields", "grids", "lists", "radios"}));
    QCOMPARE(o.status == 1, !json[QStringLiteral("errors")].toArray().isEmpty());

    // Every control of the window, by its number.
    test::FakePlatform platform;
    QTemporaryDir dir;
    SettingsStore settings(dir.path() + QStringLiteral("/s.ini"));
    const State window(dir.path(), platform, settings);
    const QJsonObject fields = json[QStringLiteral("fields")].toObject();
    QCOMPARE(fields.size(), window.textBoxes.Size());
    for (const auto& [n, box] : window.textBoxes) {
        const QJsonObject field = fields[QString::number(n)].toObject();
        for (const char* key : {"stored", "shown", "caption", "unit", "category", "type"})
            QVERIFY2(field[QLatin1String(key)].isString(), qPrintable(QStringLiteral("%1 %2").arg(n).arg(key)));
        QVERIFY(field[QStringLiteral("overridden")].isBool());
        QVERIFY(field[QStringLiteral("visible")].isBool());
    }
    QCOMPARE(json[QStringLiteral("radios")].toObject().size(), window.radios.Size());
    const QJsonObject grids = json[QStringLiteral("grids")].toObject();
    QCOMPARE(grids.keys(), (QStringList{"200", "300", "520", "540"}));
    for (const QString& g : grids.keys()) {
        const QJsonObject grid = grids[g].toObject();
        const int rows = grid[QStringLiteral("rows")].toInt(), cols = grid[QStringLiteral("cols")].toInt();
        QVERIFY(rows > 0 && cols > 0);
        for (const char* part : {"cells", "stored", "overridden"}) {
            const QJsonArray table = grid[QLatin1String(part)].toArray();
            QCOMPARE(table.size(), rows);
            for (const QJsonValue& row : table) QCOMPARE(row.toArray().size(), cols);
        }
    }
    const QJsonObject lists = json[QStringLiteral("lists")].toObject();
    QCOMPARE(lists.size(), window.optionLists.Size());
    const QJsonObject doors = lists[QStringLiteral("625")].toObject();
    QVERIFY(doors[QStringLiteral("items")].isArray() && doors[QStringLiteral("values")].isArray());
    QVERIFY(doors[QStringLiteral("selected")].toInt() >= 0);
}

void BatchTest::explainsCellsAndEntriesOutOfRange_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("says");
    QTest::newRow("result row") << QStringList{"--cell", "200,9,2=5"} << "not an input cell";
    QTest::newRow("column beyond the grid") << QStringList{"--cell", "300,3,40=5"} << "not an input cell";
    QTest::newRow("list row typed into") << QStringList{"--cell", "300,2,2=Apples"} << "use --pick-cell";
    QTest::newRow("list entry beyond the list") << QStringList{"--pick", "504=999"} << "counted from 0";
}

void BatchTest::explainsCellsAndEntriesOutOfRange() {
    QFETCH(QStringList, args);
    QFETCH(QString, says);
    if (!ShippedDataReady()) QSKIP("the shipped language file and template are not in the build yet");
    const Outcome o = Run(QStringList{QStringLiteral("--batch")} + args);
    QCOMPARE(o.status, 2);
    QVERIFY2(QString::fromUtf8(o.err).contains(says), o.err.constData());
}

void BatchTest::savedJobLoadsBackTheSame() {
    if (!ShippedDataReady()) QSKIP("the shipped language file and template are not in the build yet");
    const QString job = Temp(QStringLiteral("freezer job.cvj"));
    const Outcome edited =
        Run({"--batch", "--set", "103=0", "--click-radio", "101", "--save", job, "--json"});
    QVERIFY2(edited.status == 0 || edited.status == 1, edited.err.constData());
    QVERIFY(QFileInfo::exists(job));
    const Outcome loaded = Run({"--batch", "--json", job});
    QCOMPARE(loaded.status, edited.status);

    const QJsonObject a = Json(edited), b = Json(loaded);
    QCOMPARE(ReadNumber(a["fields"]["103"]["stored"].toString()).value_or(-1), 0.0);
    QVERIFY(a["radios"]["101"].toBool());
    const QJsonObject fieldsA = a["fields"].toObject(), fieldsB = b["fields"].toObject();
    for (const QString& n : fieldsA.keys()) {
        if (n == "720" || n == "721" || n.toInt() >= 800) continue;   // preferences, not part of a job
        for (const char* key : {"stored", "shown", "unit", "overridden"})
            QVERIFY2(fieldsA[n][QLatin1String(key)] == fieldsB[n][QLatin1String(key)], qPrintable(n + QLatin1Char(' ') + key));
    }
    QCOMPARE(b["radios"], a["radios"]);
    for (const char* g : {"200", "300", "520", "540"}) {
        QCOMPARE(b["grids"][g]["cells"], a["grids"][g]["cells"]);
        QCOMPARE(b["grids"][g]["overridden"], a["grids"][g]["overridden"]);
    }
    QCOMPARE(b["lists"]["625"]["selected"], a["lists"]["625"]["selected"]);
    QCOMPARE(b["errors"], a["errors"]);
}

void BatchTest::reportsJobsThatCannotBeLoadedOrSaved_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("says");
    QTest::newRow("missing job") << QStringList{"missing.cvj"} << "cannot be loaded";
    QTest::newRow("not a job file") << QStringList{"notes.txt"} << "is not a job file";
    QTest::newRow("save under a file") << QStringList{"--save", "notes.txt/job.cvj"} << "cannot be saved";
}

void BatchTest::reportsJobsThatCannotBeLoadedOrSaved() {
    QFETCH(QStringList, args);
    QFETCH(QString, says);
    if (!ShippedDataReady()) QSKIP("the shipped language file and template are not in the build yet");
    QFile notes(Temp(QStringLiteral("notes.txt")));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write("not a job\n");
    notes.close();
    QStringList full{QStringLiteral("--batch")};
    for (const QString& a : args) full << (a.contains(QLatin1Char('.')) ? Temp(a) : a);
    const Outcome o = Run(full);
    QCOMPARE(o.status, 3);
    QVERIFY2(QString::fromUtf8(o.err).contains(says), o.err.constData());
}

QTEST_GUILESS_MAIN(BatchTest)
#include "batch_test.moc"
