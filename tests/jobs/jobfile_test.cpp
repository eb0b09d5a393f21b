#include "jobs/jobfile.h"

#include "app/numbertext.h"
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

const QStringList Categories = {QStringLiteral("LONG"), QStringLiteral("TEMPERATURE"), QStringLiteral("LOADH")};

QString NumberFor(int key) { return TextFromDouble(key + 0.25); }
QString TextFor(int key) { return QStringLiteral(" Field %1: \"Polar\", cold & dry, é°²€ ").arg(key); }

struct GridSize {
    int number, rows, cols;
};
const GridSize GridSizes[] = {{200, 10, 8}, {300, 14, 32}, {520, 5, 6}, {540, 4, 6}};

// Grids as the language file leaves them: sized, with row categories and imperial unit cells.
void PrepareGrids(State& s) {
    for (const GridSize& size : GridSizes) {
        Grid& grid = s.grids[size.number];
        grid.Resize(size.rows, size.cols);
        grid.categories.clear();
        for (int r = 0; r < size.rows; ++r) grid.categories << Categories[r % 3];
        if (size.number < 500)
            for (int r = 0; r < size.rows; ++r) {
                grid.Cell(r, 0).text = QStringLiteral("Row %1").arg(r);
                grid.Cell(r, 1).text = UnitName(s, grid.categories[r], false);
            }
    }
}

// Unit labels as the language file leaves them: categories, imperial names.
void PrepareFields(State& s) {
    for (auto& [n, unit] : s.unitLabels) {
        if (FieldType(s, n) == QLatin1String("Number")) unit.tag = Categories[n % 3];
        unit.caption = unit.tag == QLatin1String("NONE") ? QString() : UnitName(s, unit.tag, false);
    }
    OptionList& doors = s.optionLists[625];
    doors.items = QStringList{QStringLiteral("No protection"), QStringLiteral("Strip curtain"), QStringLiteral("Air curtain")};
    s.valueLists[625].values = QStringList{QStringLiteral("1"), QStringLiteral("0.5"), QStringLiteral("0.25")};
}

// A job that uses every saved field, unit system, override flag, option button and cell.
void Populate(State& s, bool metric, int variant) {
    PrepareFields(s);
    PrepareGrids(s);
    for (auto& [n, unit] : s.unitLabels) {
        if (n == 720 || n == 721) continue;
        TextBox& box = s.textBoxes[n];
        Label& label = s.labels[n];
        // Label 0 is the reference for the normal colour, so field 0 is never overridden.
        label.foreColour = unit.foreColour = n != 0 && (n + variant) % 3 == 0 ? OverrideColour : NormalColour;
        if (label.tag == QLatin1String("SELECTLIST")) {
            s.optionLists[n].selected = 2;
        } else if (label.tag == QLatin1String("Number")) {
            unit.caption = UnitName(s, unit.tag, metric && n % 2 == 1);
            box.tag = NumberFor(n);
            box.text = DisplayText(s, n);
        } else {
            box.tag = box.text = TextFor(n);
        }
    }
    std::map<int, std::vector<int>> groups;
    for (auto& [n, radio] : s.radios) {
        radio.value = false;
        groups[radio.container].push_back(n);
    }
    for (const auto& [container, members] : groups) {
        int chosen = members[(container / 100 + variant) % members.size()];
        if (chosen == 204) chosen = 200;   // without the wall grid, grid 200 shrinks to 2 columns
        s.radios[chosen].value = true;
        if (Frame* frame = s.frames.Find(container))
            frame->foreColour = (container / 100 + variant) % 2 ? OverrideColour : NormalColour;
    }
    for (const GridSize& size : GridSizes) {
        Grid& grid = s.grids[size.number];
        for (int r = 0; r < grid.rows; ++r)
            for (int c = 0; c < grid.cols; ++c) {
                GridCell& cell = grid.Cell(r, c);
                if (c == 0) cell.text = QStringLiteral("Row %1").arg(r);
                else if (c == 1 && size.number < 500) cell.text = UnitName(s, grid.categories[r], metric && r % 2 == 1);
                else if (r % 2 == 0) cell.text = NumberFor(size.number * 1000 + r * 50 + c);
                else cell.text = QStringLiteral("P \"%1\", %2").arg(r).arg(c);
                // Unit cells keep no override flag in the file.
                const bool unitCell = c == 1 && size.number < 500;
                cell.foreColour = !unitCell && (r + c + variant) % 4 == 0 ? OverrideColour : CellColour;
            }
    }
}

void CompareJobs(const State& loaded, const State& expected) {
    for (const auto& [n, unit] : expected.unitLabels) {
        if (n == 720 || n == 721) continue;
        const QByteArray where = "field " + QByteArray::number(n);
        QVERIFY2(loaded.labels[n].foreColour == expected.labels[n].foreColour, where.constData());
        QVERIFY2(loaded.unitLabels[n].foreColour == unit.foreColour, where.constData());
        QCOMPARE(loaded.unitLabels[n].caption, unit.caption);
        if (FieldType(expected, n) == QLatin1String("SELECTLIST")) {
            QCOMPARE(loaded.optionLists[n].selected, expected.optionLists[n].selected);
            continue;
        }
        QCOMPARE(loaded.textBoxes[n].tag, expected.textBoxes[n].tag);
        QCOMPARE(loaded.textBoxes[n].text, expected.textBoxes[n].text);
    }
    for (const auto& [n, radio] : expected.radios) {
        QVERIFY2(loaded.radios[n].value == radio.value, QByteArray::number(n).constData());
        if (const Frame* frame = expected.frames.Find(radio.container))
            QVERIFY2(loaded.frames[radio.container].foreColour == frame->foreColour, QByteArray::number(n).constData());
    }
    for (const GridSize& size : GridSizes) {
        const Grid& want = expected.grids[size.number];
        const Grid& got = loaded.grids[size.number];
        QCOMPARE(got.rows, want.rows);
        QCOMPARE(got.cols, want.cols);
        for (int r = 0; r < want.rows; ++r)
            for (int c = 0; c < want.cols; ++c) {
                const QByteArray where = QByteArray::number(size.number) + " " + QByteArray::number(r) + "," + QByteArray::number(c);
                QVERIFY2(got.Cell(r, c).foreColour == want.Cell(r, c).foreColour, where.constData());
                if (c == 0 && size.number < 500) continue;   // row captions belong to the language file
                QCOMPARE(got.Text(r, c), want.Text(r, c));
            }
    }
}

// Everything after the origin line (which holds the path, date and time).
QByteArray Body(const QByteArray& file) { return file.mid(file.indexOf('\n', file.indexOf('\n') + 1)); }

QByteArray Lines(std::initializer_list<const char*> lines) {
    QByteArray bytes;
    for (const char* l : lines) bytes += QByteArray(l) + "\r\n";
    return bytes;
}

} // namespace

class JobFileTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void splitsRecords_data();
    void splitsRecords();
    void roundTripRestoresEverything_data();
    void roundTripRestoresEverything();
    void writesUnitSystems_data();
    void writesUnitSystems();
    void survivesBadInput_data();
    void survivesBadInput();
    void boundsHugeFiles();
    void readsOverrideSpellings_data();
    void readsOverrideSpellings();
    void templateKeepsRememberedFields_data();
    void templateKeepsRememberedFields();
    void restoresButtonStates_data();
    void restoresButtonStates();
    void defaultsProtectiveDevice_data();
    void defaultsProtectiveDevice();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
    void startUpLoadsShippedTemplate();
    void templateFollowsUnitSwitches();
};

void JobFileTest::splitsRecords_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("items");
    const int ok = int(RecordSplit::Ok);
    QTest::newRow("plain record") << R"("T",12,"16","16",#FALSE#)" << ok << "T|12|16|16|#FALSE#";
    QTest::newRow("commas inside quotes") << R"("T",0,"a, b","c,d",#FALSE#)" << ok << "T|0|a, b|c,d|#FALSE#";
    QTest::newRow("spaces around items") << R"(  "T" , 0 ,  x y  , "" ,#TRUE# )" << ok << "T|0|x y||#TRUE#";
    QTest::newRow("empty last item") << "1,2,3,4," << ok << "1|2|3|4|";
    QTest::newRow("sixth item ignored") << "1,2,3,4,5,6" << ok << "1|2|3|4|5";
    QTest::newRow("text after a closing quote") << R"("T"x,1,"a"b,"c",d)" << ok << "T|1|a|c|d";
    QTest::newRow("three items") << R"("T",12,"16")" << int(RecordSplit::TooFewItems) << "";
    QTest::newRow("quotes out of step") << R"("T",12,"16,"16",#FALSE#)" << int(RecordSplit::TooFewItems) << "";
    QTest::newRow("cut off inside a text") << R"("T",12,"1)" << int(RecordSplit::OpenQuote) << "";
    QTest::newRow("blank line") << "   " << int(RecordSplit::Blank) << "";
}

void JobFileTest::splitsRecords() {
    QFETCH(QString, line);
    QFETCH(int, status);
    QFETCH(QString, items);
    std::array<QString, 5> f;
    QCOMPARE(int(SplitJobRecord(line, f)), status);
    if (status == int(RecordSplit::Ok)) QCOMPARE(QStringList(f.begin(), f.end()).join(QLatin1Char('|')), items);
}

void JobFileTest::roundTripRestoresEverything_data() {
    QTest::addColumn<QLocale>("writer");
    QTest::addColumn<QLocale>("reader");
    QTest::addColumn<int>("variant");
    const QLocale point = QLocale::c(), comma(QLocale::German);
    QTest::newRow("point locale") << point << point << 0;
    QTest::newRow("comma locale") << comma << comma << 1;
    QTest::newRow("written with commas, read with points") << comma << point << 2;
    QTest::newRow("written with points, read with commas") << point << comma << 1;
}

void JobFileTest::roundTripRestoresEverything() {
    QFETCH(QLocale, writer);
    QFETCH(QLocale, reader);
    QFETCH(int, variant);
    JobState a;
    const bool metric = CategoryRow(a.s, QStringLiteral("LONG")) >= 0;   // unit look-up available
    QLocale::setDefault(writer);
    Populate(a.s, metric, variant);
    const QString path = a.Path(QStringLiteral("every field.cvj"));
    QVERIFY(JobFileSave(a.s, path));

    QLocale::setDefault(reader);
    JobState b, expected;
    PrepareFields(b.s);
    PrepareGrids(b.s);
    Populate(expected.s, metric, variant);
    QVERIFY(JobFileLoad(b.s, path));
    QVERIFY(b.platform.messages.isEmpty());
    CompareJobs(b.s, expected.s);
    QCOMPARE(b.s.currentJobPath, path);
    QVERIFY(!b.s.flags.jobModified);

    // Saving the loaded job again writes the same records.
    if (writer == reader) {
        QVERIFY(JobFileSave(b.s, b.Path(QStringLiteral("again.cvj"))));
        QCOMPARE(Body(ReadAll(b.Path(QStringLiteral("again.cvj")))), Body(ReadAll(path)));
    }
}

void JobFileTest::writesUnitSystems_data() {
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QByteArray>("record");
    QTest::newRow("imperial") << "LONG" << "ft" << QByteArray(R"("U",13,"LONG",1,"")");
    QTest::newRow("metric") << "LONG" << "m" << QByteArray(R"("U",13,"LONG",2,"")");
    QTest::newRow("category in other case") << "long" << "m" << QByteArray(R"("U",13,"long",2,"")");
    QTest::newRow("no unit") << "none" << "" << QByteArray(R"("U",13,"none",0,"")");
    QTest::newRow("category missing from the unit table") << "BOGUS" << "x" << QByteArray(R"("U",13,"BOGUS",0,"")");
}

void JobFileTest::writesUnitSystems() {
    QFETCH(QString, category);
    QFETCH(QString, caption);
    QFETCH(QByteArray, record);
    JobState j;
    if (CategoryRow(j.s, QStringLiteral("LONG")) < 0) QSKIP("the unit table look-up is not built in yet");
    j.s.unitLabels[13].tag = category;
    j.s.unitLabels[13].caption = caption;
    QVERIFY(JobFileSave(j.s, j.Path(QStringLiteral("u.cvj"))));
    QVERIFY(ReadAll(j.Path(QStringLiteral("u.cvj"))).contains("\r\n" + record + "\r\n"));
}

void JobFileTest::survivesBadInput_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("loads");
    QTest::addColumn<QString>("field0");
    QTest::addColumn<QString>("field12");
    QTest::addColumn<int>("productColumns");
    const QByteArray good = R"("T",0,"new","new",#FALSE#)";
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i) garbage += char((i * 37) % 256 == ',' ? 0 : (i * 37) % 256);   // no record can form

    QTest::newRow("empty file") << QByteArray() << false << "old" << "old" << 3;
    QTest::newRow("header and origin only")
        << Lines({R"("# ","Tundrel",0,1,92)", R"("* ","x.cvj",#2024-01-01#,#10:00:00#,"")"}) << false << "old" << "old" << 3;
    QTest::newRow("cut off in the middle of a record") << good + "\r\n" + R"("T",12,"1)" << true << "new" << "old" << 3;
    QTest::newRow("record with three items") << Lines({R"("T",12,"16")", good.constData()}) << true << "new" << "old" << 3;
    QTest::newRow("unknown record kinds")
        << Lines({R"("X",12,"9","9",#FALSE#)", R"("t",12,"9","9",#FALSE#)", R"(,12,"9","9",#FALSE#)", good.constData()})
        << true << "new" << "old" << 3;
    QTest::newRow("controls that do not exist")
        << Lines({R"("T",9999,"x","x",#FALSE#)", R"("U",9999,"LONG",1,"")", R"("R",9999,"x",#TRUE#,"True")",
                  R"("G",999,3,3,"")", R"(999,1,2,"x","True")", R"(300,99,99,"x","True")", R"(300,-1,2,"x","True")",
                  good.constData()})
        << true << "new" << "old" << 3;
    QTest::newRow("control numbers that are not numbers")
        << Lines({R"("T",abc,"9","9",#FALSE#)", R"("T",,"9","9",#FALSE#)", R"("T",1e99,"9","9",#FALSE#)", good.constData()})
        << true << "new" << "old" << 3;
    QTest::newRow("binary garbage") << garbage << false << "old" << "old" << 3;
    QTest::newRow("a record inside garbage") << garbage + "\n" + good + "\n" + garbage << true << "new" << "old" << 3;
    QTest::newRow("texts with quotes and commas")
        << QByteArray("\"T\",0,\"A \x8E" "big\x8E, cold, store\",\"A \x8E" "big\x8E, cold, store\",#FALSE#\r\n")
        << true << "A \"big\", cold, store" << "old" << 3;
    QTest::newRow("CR and LF line ends") << good + "\r" + R"("T",12,"20","20",#FALSE#)" + "\n" << true << "new" << "20" << 3;
    QTest::newRow("spaces and blank lines") << "\r\n  " + good + "  \r\n\r\n" << true << "new" << "old" << 3;
    QTest::newRow("grid size out of bounds")
        << Lines({R"("G",300,100000,100000,"")", R"("G",300,-1,4,"")", R"("G",300,14,x,"")", good.constData()})
        << true << "new" << "old" << 3;
    QTest::newRow("grid size within bounds") << Lines({R"("G",300,14,5,"")"}) << true << "old" << "old" << 5;
}

void JobFileTest::survivesBadInput() {
    QFETCH(QByteArray, content);
    QFETCH(bool, loads);
    QFETCH(QString, field0);
    QFETCH(QString, field12);
    QFETCH(int, productColumns);
    JobState j;
    j.s.grids[300].Resize(14, 3);
    for (int n : {0, 12}) j.s.textBoxes[n].tag = j.s.textBoxes[n].text = QStringLiteral("old");
    const QString path = j.Write(QStringLiteral("bad.cvj"), content);
    QCOMPARE(JobFileLoad(j.s, path), loads);
    QCOMPARE(j.MessageShown(16), !loads);
    QCOMPARE(j.s.textBoxes[0].text, field0);
    QCOMPARE(j.s.textBoxes[0].tag, field0);
    QCOMPARE(j.s.textBoxes[12].text, field12);
    QCOMPARE(j.s.grids[300].cols, productColumns);
    QVERIFY(!j.s.flags.loading);
    QCOMPARE(j.s.currentJobPath, loads ? path : QString());
}

void JobFileTest::boundsHugeFiles() {
    JobState j;
    // A missing file and a file beyond the size bound fail at once with message 16.
    QVERIFY(!JobFileLoad(j.s, j.Path(QStringLiteral("missing.cvj"))));
    QVERIFY(j.MessageShown(16));
    j.platform.messages.clear();
    QFile huge(j.Path(QStringLiteral("huge.cvj")));
    QVERIFY(huge.open(QIODevice::WriteOnly));
    QVERIFY(huge.resize(MaxJobFileBytes + 1));
    huge.close();
    QVERIFY(!JobFileLoad(j.s, huge.fileName()));
    QVERIFY(j.MessageShown(16));

    // A large file within the bound loads; every record is read.
    QByteArray many;
    for (int i = 0; i < 100000; ++i) many += "300,4,2,\"" + QByteArray::number(i) + "\",\"False\"\r\n";
    j.s.grids[300].Resize(14, 3);
    QVERIFY(JobFileLoad(j.s, j.Write(QStringLiteral("many.cvj"), many)));
    QCOMPARE(j.s.grids[300].Text(4, 2), QStringLiteral("99999"));
}

void JobFileTest::readsOverrideSpellings_data() {
    QTest::addColumn<QByteArray>("spelling");
    QTest::addColumn<bool>("fieldOverride");   // "T" item 5 and "R" item 4: #TRUE# exactly
    QTest::addColumn<bool>("frameOverride");   // "R" and cell item 5: "TRUE" in any case
    QTest::newRow("#TRUE#") << QByteArray("#TRUE#") << true << false;
    QTest::newRow("#TRUE# with spaces") << QByteArray("  #TRUE# ") << true << false;
    QTest::newRow("#true#") << QByteArray("#true#") << false << false;
    QTest::newRow("#True#") << QByteArray("#True#") << false << false;
    QTest::newRow("True quoted") << QByteArray("\"True\"") << false << true;
    QTest::newRow("true") << QByteArray("true") << false << true;
    QTest::newRow("TRUE") << QByteArray("TRUE") << false << true;
    QTest::newRow("#FALSE#") << QByteArray("#FALSE#") << false << false;
    QTest::newRow("1") << QByteArray("1") << false << false;
    QTest::newRow("-1") << QByteArray("-1") << false << false;
    QTest::newRow("empty") << QByteArray("") << false << false;
}

void JobFileTest::readsOverrideSpellings() {
    QFETCH(QByteArray, spelling);
    QFETCH(bool, fieldOverride);
    QFETCH(bool, frameOverride);
    JobState j;
    j.s.grids[300].Resize(14, 3);
    j.s.radios[603].value = true;
    const QByteArray file = "\"T\",12,\"16\",\"16\"," + spelling + "\r\n\"R\",604,\"Heavy use\"," + spelling + "," + spelling +
                            "\r\n300,4,2,\"45\"," + spelling + "\r\n";
    QVERIFY(JobFileLoad(j.s, j.Write(QStringLiteral("spelling.cvj"), file)));
    QCOMPARE(IsOverridden(j.s, 12), fieldOverride);
    QCOMPARE(j.s.unitLabels[12].foreColour == OverrideColour, fieldOverride);
    QCOMPARE(j.s.radios[604].value, fieldOverride);
    QCOMPARE(j.s.radios[603].value, !fieldOverride);
    QCOMPARE(j.s.frames[601].foreColour == OverrideColour, frameOverride);
    QCOMPARE(j.s.grids[300].Cell(4, 2).foreColour == OverrideColour, frameOverride);
    QCOMPARE(j.s.grids[300].Cell(4, 2).foreColour == CellColour, !frameOverride);
}

void JobFileTest::templateKeepsRememberedFields_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("field705");
    QTest::addColumn<QString>("field706");
    QTest::addColumn<bool>("isJob");
    QTest::newRow("template takes the remembered details") << "default.fil" << "Jane Smith" << "" << false;
    QTest::newRow("job file keeps its own details") << "job.CVJ" << "Template name" << "Template" << true;
}

void JobFileTest::templateKeepsRememberedFields() {
    QFETCH(QString, name);
    QFETCH(QString, field705);
    QFETCH(QString, field706);
    QFETCH(bool, isJob);
    JobState j;
    j.s.settings.Save(j.s.settingsSection, QStringLiteral("TextBox705"), QStringLiteral("Jane Smith"));
    j.s.flags.jobModified = true;
    const QString path = j.Write(name, Lines({R"("T",103,"35","35",#FALSE#)", R"("T",705,"Template name","Template name",#FALSE#)",
                                              R"("T",706,"Template","Template",#FALSE#)"}));
    if (isJob) {
        QVERIFY(JobFileLoad(j.s, path));
    } else {
        j.s.templatePath = path;
        LoadTemplateJob(j.s);
    }
    QCOMPARE(j.s.textBoxes[705].text, field705);
    QCOMPARE(j.s.textBoxes[705].tag, field705);
    QCOMPARE(j.s.textBoxes[706].text, field706);
    QCOMPARE(j.s.textBoxes[103].tag, QStringLiteral("35"));
    QVERIFY(!j.s.flags.jobModified);
    QCOMPARE(j.s.currentJobPath, isJob ? path : QString());
    QCOMPARE(j.s.windowCaption, isJob ? QStringLiteral("Corvane    \"%1\"").arg(path) : QStringLiteral("Corvane"));
    QCOMPARE(j.s.hintText, isJob ? QStringLiteral("Job loaded.") : QString());
    QCOMPARE(j.s.historyList, isJob ? QStringList{path} : QStringList{});
    QCOMPARE(j.s.currentPage, isJob ? 1 : 0);

    // Without a template the program cannot go on.
    j.s.templatePath = j.Path(QStringLiteral("gone.fil"));
    QVERIFY_THROWS_EXCEPTION(ProgramEnd, LoadTemplateJob(j.s));
}

void JobFileTest::restoresButtonStates_data() {
    QTest::addColumn<int>("shape");
    QTest::addColumn<int>("infiltration");
    QTest::addColumn<bool>("wallGrid");
    QTest::addColumn<bool>("dimensions");
    QTest::newRow("rectangular box, air changes") << 200 << 600 << true << true;
    QTest::newRow("L-shaped box, door openings") << 201 << 601 << true << false;
    QTest::newRow("dimensions only, ventilation") << 204 << 602 << false << true;
}

void JobFileTest::restoresButtonStates() {
    QFETCH(int, shape);
    QFETCH(int, infiltration);
    QFETCH(bool, wallGrid);
    QFETCH(bool, dimensions);
    JobState j;
    const QByteArray file = "\"R\"," + QByteArray::number(shape) + ",\"\",#TRUE#,\"False\"\r\n\"R\"," +
                            QByteArray::number(infiltration) + ",\"\",#TRUE#,\"False\"\r\n";
    QVERIFY(JobFileLoad(j.s, j.Write(QStringLiteral("buttons.cvj"), file)));
    QCOMPARE(j.s.grids[200].visible, wallGrid);
    QCOMPARE(j.s.grids[200].cols, wallGrid ? 8 : 2);
    QCOMPARE(j.s.frames[200].visible, !wallGrid);
    QCOMPARE(j.s.frames[4].visible, wallGrid);
    QCOMPARE(j.s.buttons[17].visible, wallGrid);
    for (int n : {13, 14, 15}) QCOMPARE(j.s.textBoxes[n].visible, dimensions);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(j.s.geometryVisible[i], shape == 200 + i);
        QCOMPARE(j.s.frames[601 + i].visible, infiltration == 600 + i);
    }
}

void JobFileTest::defaultsProtectiveDevice_data() {
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<float>("averageCurtains");
    QTest::addColumn<int>("selected");
    const QByteArray other = R"("T",12,"16","16",#FALSE#)";
    QTest::newRow("saved entry") << QByteArray(R"("T",625,"SELECTLIST",3,#FALSE#)") << 0.5f << 3;
    QTest::newRow("no entry saved: average strip curtain") << QByteArray(R"("T",625,"SELECTLIST",-1,#FALSE#)") << 0.5f << 1;
    QTest::newRow("entry outside the list") << QByteArray(R"("T",625,"SELECTLIST",5,#FALSE#)") << 0.5f << 1;
    QTest::newRow("entry that is not whole") << QByteArray(R"("T",625,"SELECTLIST",1.5,#FALSE#)") << 0.5f << 1;
    QTest::newRow("older job without the field") << other << 0.5f << 1;
    QTest::newRow("no entry has the average value") << other << 0.9f << -1;
}

void JobFileTest::defaultsProtectiveDevice() {
    QFETCH(QByteArray, record);
    QFETCH(float, averageCurtains);
    QFETCH(int, selected);
    JobState j;
    j.s.labels[625].tag = QStringLiteral("SELECTLIST");
    j.s.optionLists[625].items = QStringList{QStringLiteral("No protection"), QStringLiteral("Strip curtain, average"),
                                             QStringLiteral("Strip curtain, good"), QStringLiteral("Air curtain"),
                                             QStringLiteral("Vestibule")};
    j.s.valueLists[625].values = QStringList{QStringLiteral("1.0"), QStringLiteral("0.5"), QStringLiteral("0.15"),
                                             QStringLiteral("0.25"), QStringLiteral("0.35")};
    j.s.optionLists[625].selected = 4;   // from the job before
    j.s.constants.averageCurtains = averageCurtains;
    QVERIFY(JobFileLoad(j.s, j.Write(QStringLiteral("door.cvj"), record + "\r\n")));
    QCOMPARE(j.s.optionLists[625].selected, selected);
}

void JobFileTest::failedSaveKeepsOldFile_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("folder that is a file") << "file in the way";
    QTest::newRow("read-only folder") << "read-only folder";
    QTest::newRow("read-only file") << "read-only file";
}

void JobFileTest::failedSaveKeepsOldFile() {
    QFETCH(QString, how);
    if (how != QLatin1String("file in the way") && geteuid() == 0) QSKIP("file permissions do not bind the superuser");
    JobState j;
    const QByteArray old = "\"T\",0,\"the old job\",\"the old job\",#FALSE#\r\n";
    QDir().mkpath(j.Path(QStringLiteral("jobs")));
    const QString oldFile = j.Write(QStringLiteral("jobs/old.cvj"), old);
    QString target = oldFile;
    if (how == QLatin1String("file in the way")) target = oldFile + QStringLiteral("/new.cvj");
    if (how == QLatin1String("read-only folder")) QFile::setPermissions(j.Path(QStringLiteral("jobs")), QFile::ReadOwner | QFile::ExeOwner);
    if (how == QLatin1String("read-only file")) QFile::setPermissions(oldFile, QFile::ReadOwner);
    j.s.currentJobPath = QStringLiteral("/somewhere/current.cvj");
    j.s.flags.jobModified = true;

    QVERIFY(!JobFileSave(j.s, target));
    QFile::setPermissions(j.Path(QStringLiteral("jobs")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(j.MessageShown(3));
    QCOMPARE(ReadAll(oldFile), old);
    QCOMPARE(QDir(j.Path(QStringLiteral("jobs"))).entryList(QDir::Files), QStringList{QStringLiteral("old.cvj")});
    QCOMPARE(j.s.currentJobPath, QStringLiteral("/somewhere/current.cvj"));
    QVERIFY(j.s.flags.jobModified);
    QVERIFY(j.s.log.Lines().join(QLatin1Char('\n')).contains(QStringLiteral("*** JobFileSave *** ")));
}

// With the shipped data: start-up opens the template, untitled and unmodified, and a saved
// job opens again from the command line of the next run.
void JobFileTest::startUpLoadsShippedTemplate() {
    const QString data = BuiltProgramFolder() + QStringLiteral("/opdata/");
    if (!QFileInfo::exists(data + QStringLiteral("default.fil")) || !QFileInfo::exists(data + QStringLiteral("default.lng")))
        QSKIP("the shipped template and language file are not in the build yet");
    TestProgram program;
    program.platform.allowUnscriptedMessages = true;
    State& s = program.Start();
    QVERIFY(s.currentJobPath.isEmpty());
    QVERIFY(!s.flags.jobModified);
    QCOMPARE(s.windowCaption, s.baseTitle);
    QVERIFY(!s.textBoxes[103].tag.isEmpty());
    if (s.jobExtension.isEmpty()) QSKIP("the language file names no job extension yet");

    s.textBoxes[0].tag = s.textBoxes[0].text = QStringLiteral("Harbour \"Ice\", Ltd.");
    const QString job = program.Folder() + QStringLiteral("/JobFiles/harbour.") + s.jobExtension;
    QVERIFY(JobFileSave(s, job));
    State& again = program.Restart(job);
    QCOMPARE(again.currentJobPath, job);
    QCOMPARE(again.textBoxes[0].text, QStringLiteral("Harbour \"Ice\", Ltd."));
    QCOMPARE(again.historyList.value(0), job);
}

// The template names no units: a user who works in degrees Celsius gets every new job, and
// the next start, in degrees Celsius, fields and grid rows alike.
void JobFileTest::templateFollowsUnitSwitches() {
    const QString data = BuiltProgramFolder() + QStringLiteral("/opdata/");
    if (!QFileInfo::exists(data + QStringLiteral("default.fil")) || !QFileInfo::exists(data + QStringLiteral("default.lng")))
        QSKIP("the shipped template and language file are not in the build yet");
    TestProgram program;
    program.platform.allowUnscriptedMessages = true;
    State* s = &program.Start();
    s->focus = FocusRef{ControlKind::Radio, 843};
    s->SetRadio(843, true);
    s->focus = FocusRef{};
    const QString celsius = UnitName(*s, QStringLiteral("TEMPERATURE"), true);
    for (int run = 0; run < 2; ++run) {
        LoadTemplateJob(*s);
        QCOMPARE(s->unitLabels[103].caption, celsius);
        QCOMPARE(s->textBoxes[103].tag, QStringLiteral("35"));
        QCOMPARE(NumberFromText(s->textBoxes[103].text), RoundHundredths((35.0f - 32.0f) / 1.8f));
        QCOMPARE(s->grids[200].Text(8, 1), celsius);
        QCOMPARE(NumberFromText(ReadGridCell(*s, 200, 8, 2)), 95.0f);
        QVERIFY(!s->flags.jobModified);
        s = &program.Restart();
    }
}

QTEST_GUILESS_MAIN(JobFileTest)
#include "jobfile_test.moc"
