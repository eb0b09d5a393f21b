#include "jobs/jobfile.h"
#include "jobs/jobactions.h"

#include "base/numbertext.h"
#include "input/units.h"
#include "tests/jobs/jobtesting.h"
#include "tests/support/testprogram.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTest>
#include <map>
#include <unistd.h>

using namespace corvane;
using namespace corvane::test;

namespace {

const QStringList Categories = {QStringLiteral("LONG"), QStringLiteral("TEMPERATURE"),
                                QStringLiteral("LOADH")};
struct GridSize {
    int number, rows, cols;
};
constexpr GridSize GridSizes[] = {{200, 10, 8}, {300, 14, 32}, {520, 5, 6}, {540, 4, 6}};

QString NumberFor(int key) {
    return TextFromDouble(key + 0.25);
}

// The window as the language file leaves it: categories and imperial units, row captions.
void Prepare(State& s) {
    for (auto& [n, unit] : s.unitLabels) {
        if (FieldType(s, n) == QLatin1String("Number")) unit.tag = Categories[n % 3];
        unit.caption = unit.tag == QLatin1String("NONE") ? QString() : UnitName(s, unit.tag, false);
    }
    s.optionLists[625].items =
        QStringList{QStringLiteral("None"), QStringLiteral("Strip"), QStringLiteral("Air")};
    for (const GridSize& size : GridSizes) {
        Grid& grid = s.grids[size.number];
        grid.Resize(size.rows, size.cols);
        for (int r = 0; r < size.rows; ++r) {
            grid.categories << Categories[r % 3];
            grid.rowTypes << QStringLiteral("NUMBER");
            grid.Cell(r, 0).text = QStringLiteral("Row %1").arg(r);
            if (size.number < 500) grid.Cell(r, 1).text = UnitName(s, grid.categories[r], false);
        }
    }
}

// A job using every saved field, unit system, override flag, option button and grid cell.
void Populate(State& s, bool metric, int variant) {
    Prepare(s);
    for (auto& [n, unit] : s.unitLabels) {
        Label& label = s.labels[n];
        // Label 0 is the reference of the normal colour, never overridden.
        const bool mark = n && (n + variant) % 3 == 0;
        label.foreColour = unit.foreColour = mark ? OverrideColour : NormalColour;
        label.overridden = unit.overridden = mark;
        TextBox& box = s.textBoxes[n];
        if (label.tag == QLatin1String("SELECTLIST")) {
            s.optionLists[n].selected = 2;
        } else if (label.tag == QLatin1String("Number")) {
            unit.caption = UnitName(s, unit.tag, metric && n % 2);
            box.tag = NumberFor(n);
            box.text = DisplayText(s, n);
        } else {
            box.tag = box.text = QStringLiteral(" Field %1: \"Polar\", cold & dry, é°²€ ").arg(n);
        }
    }
    std::map<int, std::vector<int>> groups;
    for (auto& [n, radio] : s.radios)
        groups[radio.container].push_back(n);
    for (const auto& [container, members] : groups) {
        const int chosen = members[(container / 100 + variant) % members.size()];
        for (int n : members)
            s.radios[n].value = n == (chosen == 204 ? 200 : chosen); // 204 hides grid 200
        if (Frame* frame = s.frames.Find(container)) {
            frame->overridden = (container / 100 + variant) % 2;
            frame->foreColour = frame->overridden ? OverrideColour : NormalColour;
        }
    }
    for (const GridSize& size : GridSizes) {
        Grid& grid = s.grids[size.number];
        for (int r = 0; r < grid.rows; ++r)
            for (int c = 0; c < grid.cols; ++c) {
                const bool unitCell = c == 1 && size.number < 500; // its override is never saved
                GridCell& cell = grid.Cell(r, c);
                if (c > 0)
                    cell.text = unitCell ? UnitName(s, grid.categories[r], metric && r % 2)
                                : r % 2  ? QStringLiteral("P \"%1\", %2").arg(r).arg(c)
                                         : NumberFor(size.number * 1000 + r * 50 + c);
                cell.overridden = !unitCell && (r + c + variant) % 4 == 0;
                cell.foreColour = cell.overridden ? OverrideColour : CellColour;
            }
    }
}

void Compare(const State& got, const State& want) {
    for (const auto& [n, unit] : want.unitLabels) {
        if (n == 720 || n == 721) continue;
        const QByteArray where = QByteArray::number(n);
        QVERIFY2(got.labels[n].foreColour == want.labels[n].foreColour, where.constData());
        QVERIFY2(got.unitLabels[n].foreColour == unit.foreColour, where.constData());
        QCOMPARE(got.unitLabels[n].caption, unit.caption);
        QCOMPARE(got.optionLists.Has(n) ? got.optionLists[n].selected : 0,
                 want.optionLists.Has(n) ? want.optionLists[n].selected : 0);
        if (n == 625) continue; // its texts come from the list pick
        QCOMPARE(got.textBoxes[n].tag, want.textBoxes[n].tag);
        QCOMPARE(got.textBoxes[n].text, want.textBoxes[n].text);
    }
    for (const auto& [n, radio] : want.radios) {
        QVERIFY2(got.radios[n].value == radio.value, QByteArray::number(n).constData());
        if (const Frame* f = want.frames.Find(radio.container))
            QVERIFY(got.frames[radio.container].foreColour == f->foreColour);
    }
    for (const GridSize& size : GridSizes) {
        const Grid &g = got.grids[size.number], &w = want.grids[size.number];
        QCOMPARE(g.rows * 1000 + g.cols, w.rows * 1000 + w.cols);
        for (int r = 0; r < w.rows; ++r)
            for (int c = 0; c < w.cols; ++c) {
                QVERIFY(g.Cell(r, c).foreColour == w.Cell(r, c).foreColour);
                QCOMPARE(g.Text(r, c), w.Text(r, c));
            }
    }
}

QByteArray Lines(std::initializer_list<QByteArray> lines) {
    QByteArray bytes;
    for (const QByteArray& l : lines)
        bytes += l + "\r\n";
    return bytes;
}

bool ShippedData() {
    const QString data = BuiltProgramFolder() + QStringLiteral("/opdata/");
    return QFileInfo::exists(data + QStringLiteral("default.fil")) &&
           QFileInfo::exists(data + QStringLiteral("default.lng"));
}

} // namespace

class JobFileTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void roundTripRestoresEverything_data() {
        QTest::addColumn<QLocale>("writer");
        QTest::addColumn<QLocale>("reader");
        QTest::addColumn<int>("variant"); // which fields, buttons and cells are overridden
        const QLocale point = QLocale::c(), comma(QLocale::German);
        QTest::newRow("point locale") << point << point << 0;
        QTest::newRow("comma locale") << comma << comma << 1;
        QTest::newRow("written with commas, read with points") << comma << point << 2;
        QTest::newRow("written with points, read with commas") << point << comma << 1;
    }
    void roundTripRestoresEverything() {
        QFETCH(QLocale, writer);
        QFETCH(QLocale, reader);
        QFETCH(int, variant);
        JobState a, b, expected;
        const bool metric = CategoryRow(a.s, QStringLiteral("LONG")) >= 0;
        QLocale::setDefault(writer);
        Populate(a.s, metric, variant);
        const QString path = a.Path(QStringLiteral("every field.cvj"));
        QVERIFY(JobFileSave(a.s, path));

        QLocale::setDefault(reader);
        Prepare(b.s);
        Populate(expected.s, metric, variant);
        QVERIFY(JobFileLoad(b.s, path));
        QVERIFY(b.platform.messages.isEmpty());
        Compare(b.s, expected.s);
        QCOMPARE(b.s.currentJobPath, path);
        QVERIFY(!b.s.flags.jobModified);
        if (writer != reader) return;
        // Saved again, the job gives the same records (after the origin line).
        QVERIFY(JobFileSave(b.s, b.Path(QStringLiteral("again.cvj"))));
        auto body = [](const QByteArray& f) { return f.mid(f.indexOf('\n', f.indexOf('\n') + 1)); };
        QCOMPARE(body(ReadAll(b.Path(QStringLiteral("again.cvj")))), body(ReadAll(path)));
    }

    void survivesBadInput_data() {
        QTest::addColumn<QByteArray>("content"); // null: no file at all
        QTest::addColumn<bool>("loads");
        QTest::addColumn<QString>("field0");
        QTest::addColumn<QString>("field12");
        QTest::addColumn<int>("productColumns");
        auto row = [](const char* name, const QByteArray& content, bool loads, const char* field0 = "new",
                      const char* field12 = "old", int productColumns = 3) {
            QTest::newRow(name) << content << loads << QString::fromUtf8(field0) << QString::fromUtf8(field12)
                                << productColumns;
        };
        const QByteArray good = R"("T",0,"new","new",#FALSE#)";
        QByteArray garbage;
        for (int i = 0; i < 4096; ++i)
            garbage += char((i * 37) % 256 == ',' ? 0 : (i * 37) % 256);
        row("missing file", QByteArray(), false, "old");
        row("empty file", "", false, "old");
        row("file over the size limit", good + "\r\n", false, "old"); // the record, then zeros
        // Not a raw string: moc takes the "# in one for a directive and loses the class.
        row("header only", Lines({"\"# \",\"Tundrel\",0,1,92"}), false, "old");
        row("cut off in a record", good + "\r\n" + R"("T",12,"1)", true);
        row("record with three items", Lines({R"("T",12,"16")", good}), true);
        row("unknown record kinds",
            Lines({R"("X",12,"9","9",#FALSE#)", R"("t",12,"9","9",#FALSE#)", R"(,12,"9","9",#FALSE#)", good}),
            true);
        row("controls that do not exist",
            Lines({R"("T",9999,"x","x",#FALSE#)", R"("U",9999,"LONG",1,"")", R"("R",9999,"x",#TRUE#,"True")",
                   R"("G",999,3,3,"")", R"(999,1,2,"x","True")", R"(300,99,99,"x","")", R"(300,-1,2,"x","")",
                   good}),
            true);
        row("control numbers that are no numbers",
            Lines({R"("T",abc,"9","9",#FALSE#)", R"("T",,"9","9",#FALSE#)", R"("T",1e99,"9","9",#FALSE#)", good}),
            true);
        row("binary garbage", garbage, false, "old");
        row("a record amid garbage", garbage + "\n" + good + "\n" + garbage, true);
        row("quotes and commas in a text",
            "\"T\",0,\"A \x8E"
            "big\x8E, cold\",\"A \x8E"
            "big\x8E, cold\",#FALSE#",
            true, "A \"big\", cold");
        row("CR and LF line ends", good + "\r" + R"("T",12,"20","20",#FALSE#)" + "\n", true, "new", "20");
        row("grid sizes out of bounds",
            Lines({R"("G",300,100000,100000,"")", R"("G",300,-1,4,"")", R"("G",300,14,x,"")", good}), true);
        row("grid size within bounds", Lines({R"("G",300,14,5,"")"}), true, "old", "old", 5);
        // The whole-number items at the edge of int: rejected like any other out-of-range number.
        row("whole numbers at the edge of int",
            Lines({R"(300,-2147483648,2,"x","True")", R"("G",-2147483648,3,3,"")", R"("T",-2147483648,"9","9",#FALSE#)",
                   R"(-2147483648,1,2,"x","")", R"(300,4,-2147483648,"x","")", good}),
            true);
        // Only number fields swap a decimal separator; a phone number keeps its comma.
        row("texts that look like numbers", Lines({R"("T",0,"555,1234","555,1234",#FALSE#)", R"("T",12,"2,5","2,5",#FALSE#)"}),
            true, "555,1234", "2.5");
        // Each grid takes the last valid size of the file, however many come before it.
        row("many grid sizes: the last wins",
            Lines({R"("G",300,14,7,"")", R"("G",300,1000,100,"")", R"("G",300,0,0,"")", R"("G",300,14,6,"")",
                   R"("G",300,-5,6,"")"}),
            true, "old", "old", 6);
    }
    void survivesBadInput() {
        QFETCH(QByteArray, content);
        QFETCH(bool, loads);
        QFETCH(QString, field0);
        JobState j;
        j.s.grids[300].Resize(14, 3);
        for (int n : {0, 12})
            j.s.textBoxes[n].tag = j.s.textBoxes[n].text = QStringLiteral("old");
        const QString path =
            content.isNull() ? j.Path(QStringLiteral("gone.cvj")) : j.Write(QStringLiteral("bad.cvj"), content);
        if (QByteArray(QTest::currentDataTag()).contains("size limit"))
            QVERIFY(QFile::resize(path, MaxJobFileBytes + 1));
        QCOMPARE(JobFileLoad(j.s, path), loads);
        QCOMPARE(j.MessageShown(16), !loads);
        QCOMPARE(j.s.textBoxes[0].text + '|' + j.s.textBoxes[0].tag, field0 + '|' + field0);
        QTEST(j.s.textBoxes[12].text, "field12");
        QTEST(j.s.grids[300].cols, "productColumns");
        QCOMPARE(j.s.currentJobPath, loads ? path : QString());
        QVERIFY(!j.s.flags.loading);
    }

    // A size record may not give a grid more rows than the language file lays out for it (a
    // 20-byte record would otherwise cost a grid of 100,000 cells); fewer rows are kept.
    void gridRowsFollowTheLanguageFile() {
        for (const auto& [record, rows] : {std::pair{R"("G",300,1000,5,"")", 14}, std::pair{R"("G",300,10,5,"")", 10}}) {
            JobState j;
            Grid& grid = j.s.grids[300];
            grid.Resize(14, 3);
            grid.rowTypes = QStringList(14, QStringLiteral("NUMBER"));
            QVERIFY(JobFileLoad(j.s, j.Write(QStringLiteral("g.cvj"), Lines({record, R"("T",0,"a","a",#FALSE#)"}))));
            QCOMPARE(grid.rows, rows);
            QCOMPARE(grid.cols, 5);
        }
    }

    // The options page holds the user's settings, not the job's; a row without a unit keeps its
    // unit cell empty whatever the file says.
    void keepsSettingsAndUnitlessRows() {
        JobState j;
        Prepare(j.s);
        j.s.grids[200].categories[2] = QStringLiteral("NONE");
        j.s.grids[200].Cell(2, 1).text.clear();
        for (int n : {803, 804}) j.s.textBoxes[n].text = j.s.textBoxes[n].tag = QStringLiteral("default.");
        const QString unit720 = j.s.unitLabels[720].caption;
        QVERIFY(JobFileLoad(j.s, j.Write(QStringLiteral("s.cvj"),
                                         Lines({R"("T",803,"x.","x.",#FALSE#)", R"("T",804,"y.","y.",#FALSE#)",
                                                R"("U",720,"LONG",2,"")", R"(200,2,1,1,"")", R"("T",0,"a","a",#FALSE#)"}))));
        QCOMPARE(j.s.textBoxes[803].text + j.s.textBoxes[804].text, QStringLiteral("default.default."));
        QCOMPARE(j.s.unitLabels[720].caption, unit720);
        QCOMPARE(j.s.grids[200].Text(2, 1), QString());
        QCOMPARE(j.s.textBoxes[0].text, QStringLiteral("a"));
    }

    void readsOverrideSpellings_data() {
        QTest::addColumn<QByteArray>("spelling");
        QTest::addColumn<bool>("exact"); // "T" item 5, "R" item 4: #TRUE# exactly
        QTest::addColumn<bool>("word");  // "R" and cell item 5: TRUE in any case
        for (const char* s : {"#TRUE#", " #TRUE# ", "\"#TRUE#\""})
            QTest::addRow("[%s]", s) << QByteArray(s) << true << false;
        for (const char* s : {"True", "\"True\"", "true", "TRUE"})
            QTest::addRow("[%s]", s) << QByteArray(s) << false << true;
        for (const char* s : {"#true#", "#True#", "#FALSE#", "1", "-1", ""})
            QTest::addRow("[%s]", s) << QByteArray(s) << false << false;
    }
    void readsOverrideSpellings() {
        QFETCH(QByteArray, spelling);
        QFETCH(bool, exact);
        QFETCH(bool, word);
        JobState j;
        j.s.grids[300].Resize(14, 3);
        j.s.radios[603].value = true;
        const QByteArray s = spelling;
        QVERIFY(JobFileLoad(j.s, j.Write(QStringLiteral("o.cvj"), "\"T\",12,\"16\",\"16\"," + s +
                                                                      "\r\n\"R\",604,\"\"," + s + "," + s +
                                                                      "\r\n300,4,2,\"45\"," + s)));
        QCOMPARE(IsOverridden(j.s, 12), exact);
        QCOMPARE(j.s.unitLabels[12].foreColour == OverrideColour, exact);
        QCOMPARE(j.s.radios[604].value, exact);
        QCOMPARE(j.s.radios[603].value, !exact);
        QCOMPARE(j.s.frames[601].foreColour == OverrideColour, word);
        QCOMPARE(j.s.grids[300].Cell(4, 2).foreColour, word ? OverrideColour : CellColour);
    }

    void templateTakesRememberedFields_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("field705");
        QTest::newRow("template: what the user typed last") << "default.fil"
                                                            << "Jane Smith";
        QTest::newRow("job file: its own details") << "job.CVJ"
                                                   << "In the file";
    }
    void templateTakesRememberedFields() {
        QFETCH(QString, name);
        QFETCH(QString, field705);
        JobState j;
        const bool job = name.endsWith(QLatin1String("CVJ"));
        j.s.settings.Save(j.s.settingsSection, QStringLiteral("TextBox705"), QStringLiteral("Jane Smith"));
        j.s.flags.jobModified = true;
        j.s.templatePath = j.Write(
            name, Lines({R"("T",705,"In the file","In the file",#FALSE#)", R"("T",706,"x","x",#FALSE#)"}));
        if (job)
            QVERIFY(JobFileLoad(j.s, j.s.templatePath));
        else
            LoadTemplateJob(j.s);
        QCOMPARE(j.s.textBoxes[705].text + '|' + j.s.textBoxes[705].tag, field705 + '|' + field705);
        QCOMPARE(j.s.textBoxes[706].text, job ? QStringLiteral("x") : QString());
        QVERIFY(!j.s.flags.jobModified);
        const QString path = job ? j.s.templatePath : QString();
        QCOMPARE(j.s.currentJobPath, path);
        QCOMPARE(j.s.windowCaption,
                 job ? QStringLiteral("Corvane    \"%1\"").arg(path) : QStringLiteral("Corvane"));
        QCOMPARE(j.s.historyList, job ? QStringList{path} : QStringList{});
        QCOMPARE(j.s.currentPage, job ? 1 : 0);
        j.s.templatePath = j.Path(QStringLiteral("gone.fil"));
        QVERIFY_THROWS_EXCEPTION(ProgramEnd, LoadTemplateJob(j.s));
    }

    void defaultsProtectiveDevice_data() {
        QTest::addColumn<QByteArray>("index");      // item 4 of the record, null for no record
        QTest::addColumn<float>("averageCurtains"); // 0.9: no entry has that value
        QTest::addColumn<int>("selected");
        QTest::newRow("saved entry") << QByteArray("3") << 0.5f << 3;
        QTest::newRow("none saved: average strip curtain") << QByteArray("-1") << 0.5f << 1;
        QTest::newRow("outside the list") << QByteArray("1.5") << 0.5f << 1;
        // A second record of the field with an index outside the list undoes the first pick.
        QTest::newRow("picked, then outside the list") << QByteArray("3,#FALSE#\r\n\"T\",625,\"SELECTLIST\",9") << 0.9f << -1;
        QTest::newRow("older job without the field") << QByteArray() << 0.9f << -1;
    }
    void defaultsProtectiveDevice() {
        QFETCH(QByteArray, index);
        QFETCH(float, averageCurtains);
        JobState j;
        j.s.optionLists[625].items =
            QStringList{"None", "Strip, average", "Strip, good", "Air curtain", "Vestibule"};
        j.s.valueLists[625].values = QStringList{"1.0", "0.5", "0.15", "0.25", "0.35"};
        j.s.optionLists[625].selected = 4; // from the job before
        j.s.constants.averageCurtains = averageCurtains;
        const QByteArray record = index.isNull() ? QByteArray("\"T\",12,\"16\",\"16\",#FALSE#")
                                                 : "\"T\",625,\"SELECTLIST\"," + index + ",#FALSE#";
        QVERIFY(JobFileLoad(j.s, j.Write(QStringLiteral("door.cvj"), record)));
        QTEST(j.s.optionLists[625].selected, "selected");
        // The field shows the list's entry, or nothing when the list has none.
        const int selected = j.s.optionLists[625].selected;
        if (j.s.textBoxes.Has(625))
            QCOMPARE(j.s.textBoxes[625].text, selected < 0 ? QString() : j.s.optionLists[625].items[selected]);
    }

    void failedSaveKeepsOldFile_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("folder is a file") << 0;
        QTest::newRow("read-only folder") << 1;
        QTest::newRow("read-only file") << 2;
    }
    void failedSaveKeepsOldFile() {
        QFETCH(int, how);
        if (how && geteuid() == 0) QSKIP("file permissions do not bind the superuser");
        JobState j;
        QDir().mkpath(j.Path(QStringLiteral("jobs")));
        const QByteArray old = "\"T\",0,\"the old job\",\"the old job\",#FALSE#\r\n";
        const QString oldFile = j.Write(QStringLiteral("jobs/old.cvj"), old);
        const QString folder = j.Path(QStringLiteral("jobs"));
        if (how == 1) QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        if (how == 2) QFile::setPermissions(oldFile, QFile::ReadOwner);
        j.s.currentJobPath = QStringLiteral("/jobs/current.cvj");
        j.s.flags.jobModified = true;
        const bool saved = JobFileSave(j.s, how ? oldFile : oldFile + QStringLiteral("/new.cvj"));
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!saved);
        QVERIFY(j.MessageShown(3));
        QCOMPARE(ReadAll(oldFile), old);
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("old.cvj")});
        QVERIFY(j.s.currentJobPath == QStringLiteral("/jobs/current.cvj") && j.s.flags.jobModified);
        QVERIFY(j.s.log.Lines().join('\n').contains(QStringLiteral("*** JobFileSave *** ")));
    }

    // On the shipped data: a job saved in the window opens again at the next start, and the
    // template (start-up, New) follows the user's unit switches, fields and grid rows alike.
    void shippedTemplateAndRestart() {
        if (!ShippedData()) QSKIP("the shipped template and language file are not in the build yet");
        TestProgram program;
        program.platform.allowUnscriptedMessages = true;
        State* s = &program.Start();
        QVERIFY(s->currentJobPath.isEmpty() && !s->flags.jobModified && s->windowCaption == s->baseTitle);
        s->focus = FocusRef{ControlKind::Radio, 843}; // the user picks degrees Celsius
        s->SetRadio(843, true);
        s->textBoxes[0].tag = s->textBoxes[0].text = QStringLiteral("Harbour \"Ice\", Ltd.");
        const QString job = program.Folder() + QStringLiteral("/JobFiles/harbour.cvj");
        QVERIFY(JobFileSave(*s, job));
        s = &program.Restart(job);
        QCOMPARE(s->currentJobPath, job);
        QCOMPARE(s->textBoxes[0].text, QStringLiteral("Harbour \"Ice\", Ltd."));
        QCOMPARE(s->historyList.value(0), job);
        const QString celsius = UnitName(*s, QStringLiteral("TEMPERATURE"), true);
        auto templateInCelsius = [&](const State& t) {
            QCOMPARE(t.unitLabels[103].caption + ' ' + t.textBoxes[103].tag, celsius + QStringLiteral(" 35"));
            QCOMPARE(NumberFromText(t.textBoxes[103].text), RoundHundredths(3.0f / 1.8f));
            QCOMPARE(t.grids[200].Text(8, 1), celsius);
            QCOMPARE(NumberFromText(ReadGridCell(t, 200, 8, 2)), 95.0f);
            QVERIFY(!t.flags.jobModified);
        };
        LoadTemplateJob(*s); // New
        templateInCelsius(*s);
        templateInCelsius(program.Restart());
    }
};

QTEST_GUILESS_MAIN(JobFileTest)
#include "jobfile_test.moc"
