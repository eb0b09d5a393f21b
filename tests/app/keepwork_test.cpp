// What the user made survives and what is wrong is said: a product picked into the generic
// column or a new column counts, another language keeps the job, Escape takes back the
// override mark with the typing, choosing the rectangle again keeps the box, a number field
// holding no number stops the results, each failure is listed once, the balance says why it is
// missing, and the shipped colour schemes keep every text readable.
#include "commands/commands.h"
#include "base/numbertext.h"
#include "calc/driver.h"
#include "definitions/colourfile.h"
#include "definitions/values.h"
#include "equipment/selection.h"
#include "input/grids.h"
#include "input/optionlists.h"
#include "tests/input/inputtesting.h"

#include <QDir>

using namespace corvane;
using namespace corvane::test;

namespace {

// Opens the product list of cell (row, col) of the product grid and picks entry index.
void PickInProductGrid(State& s, int row, int col, int index) {
    GridClick(s, 300, row, col);
    QCOMPARE(s.openList, 300 + row);
    ListPick(s, 300 + row, index);
}

int ChooseLanguage(State& s, const QString& name) {
    TextBoxGotFocus(s, 803);
    const int index = int(s.optionLists[803].items.indexOf(name));
    if (index >= 0) ListPick(s, 803, index);
    return index;
}

double Load(const State& s, int n) { return NumberFromText(GetFieldValue(s, n)); }

} // namespace

class KeepWorkTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void productPick_data();
    void productPick();
    void languageChange_keepsTheJob();
    void escape_takesBackTheOverrideMark();
    void rectangleAgain_keepsTheBoxAndItsLoad();
    void notANumber_data();
    void notANumber();
    void banner_eachFailureOnce();
    void balance_saysWhyItIsMissing_data();
    void balance_saysWhyItIsMissing();
    void shippedColourSchemes_readable();
};

void KeepWorkTest::productPick_data() {
    QTest::addColumn<int>("column");   // 2: the generic column; 3: the new column beside it
    QTest::newRow("genericColumn_pickStays") << 2;
    QTest::newRow("newColumn_countsAtOnce") << 3;
}

void KeepWorkTest::productPick() {
    QFETCH(int, column);
    TestProgram program;
    State& s = program.Start();
    const Grid& grid = s.grids[300];
    QCOMPARE(grid.Text(0, 2), s.strings[11]);
    if (column == 3) RunCommand(s, 18);   // Add product
    // The last product of the last group: never the generic row of table C.
    const int groups = int(s.optionLists[301].items.size());
    PickInProductGrid(s, 1, column, groups - 1);
    const int products = int(s.optionLists[302].items.size());
    const QString group = grid.Text(1, column);
    if (grid.Text(2, column).isEmpty()) PickInProductGrid(s, 2, column, products - 1);
    const QString product = grid.Text(2, column);
    QVERIFY(!product.isEmpty());
    GridClick(s, 300, 3, column);
    CellEditorChange(s, 300, "500");
    Enter(s, 102, "90");   // any later calculation
    QCOMPARE(grid.Text(1, column), group);
    QCOMPARE(grid.Text(2, column), product);
    QCOMPARE(grid.Text(0, column), QString::number(column - 1));
    QVERIFY2(Load(s, 314) > 0, qPrintable(s.bannerText));
    QVERIFY(NumberFromText(grid.Text(13, column)) > 0);
    QCOMPARE(ReadGridCell(s, 300, 6, column), QString("24"));
    QCOMPARE(ReadGridCell(s, 300, 5, column), GetFieldValue(s, 312));

    // A mass without a pull-down time is a problem the banner names.
    GridClick(s, 300, 6, column);
    CellEditorChange(s, 300, "");
    QVERIFY(s.errorList.contains(s.errorTexts[26].arg(column - 1)));
    QCOMPARE(grid.Cell(6, column).backColour, MarkColour);
}

void KeepWorkTest::languageChange_keepsTheJob() {
    TestProgram program;
    State& s = program.Start();
    Enter(s, 0, "Polar Foods");
    Enter(s, 14, "12");
    Enter(s, 406, "2");
    Enter(s, 410, "Heater");
    Enter(s, 411, "500");
    const QString wallKind = s.grids[200].Text(1, 2), floorKind = s.grids[200].Text(1, 6);
    const QString construction = s.grids[200].Text(6, 2);
    const int constructionIndex = int(s.optionLists[206].items.indexOf(construction));
    const double misc = Load(s, 422), total = Load(s, 16);
    QVERIFY(misc > 0 && s.flags.jobModified);

    QVERIFY(ChooseLanguage(s, "francais.") >= 0);
    QCOMPARE(s.labels[0].caption, QString("Client"));
    QCOMPARE(s.textBoxes[0].text, QString("Polar Foods"));
    QCOMPARE(s.textBoxes[410].text, QString("Heater"));
    QCOMPARE(GetFieldValue(s, 14), QString("12"));
    QCOMPARE(GetFieldValue(s, 406), QString("2"));
    QCOMPARE(GetFieldValue(s, 411), QString("500"));
    // List texts follow the language by their place in the lists.
    QCOMPARE(s.grids[200].Text(1, 2), s.optionLists[201].items[0]);
    QCOMPARE(s.grids[200].Text(1, 6), s.optionLists[201].items[1]);
    QVERIFY(s.grids[200].Text(1, 2) != wallKind && s.grids[200].Text(1, 6) != floorKind);
    QCOMPARE(s.grids[200].Text(6, 2), s.optionLists[206].items.value(constructionIndex));
    QCOMPARE(s.grids[300].Text(0, 2), s.strings[11]);
    QVERIFY(Near(Load(s, 422), misc, 0.5));
    QVERIFY(Near(Load(s, 16), total, 0.5));
    QVERIFY(s.flags.jobModified);
}

void KeepWorkTest::escape_takesBackTheOverrideMark() {
    TestProgram program;
    State& s = program.Start();
    const Colour normal = s.labels[500].foreColour;
    const QString before = GetFieldValue(s, 500);
    Type(s, 500, "200");   // out of range, and typed over the default
    QCOMPARE(s.labels[500].foreColour, s.colours.override);
    TextBoxKeyPress(s, 500, Key::Escape, 0);
    QCOMPARE(GetFieldValue(s, 500), before);
    QCOMPARE(s.labels[500].foreColour, normal);
    TextBoxLostFocus(s, 500);
    QVERIFY(!s.errorFrameVisible);
    QVERIFY(!IsOverridden(s, 500));

    // A value the user had typed stays his after Escape.
    Enter(s, 500, "100");
    Type(s, 500, "105");
    TextBoxKeyPress(s, 500, Key::Escape, 0);
    QCOMPARE(GetFieldValue(s, 500), QString("100"));
    QVERIFY(IsOverridden(s, 500));
}

void KeepWorkTest::rectangleAgain_keepsTheBoxAndItsLoad() {
    TestProgram program;
    State& s = program.Start();
    QVERIFY(Load(s, 214) > 0);
    s.SetRadio(204, true);   // the box without its wall grid: its dimensions start from 0
    QCOMPARE(GetFieldValue(s, 13), QString("0"));
    QCOMPARE(Load(s, 214), 0.0);
    s.SetRadio(200, true);   // the rectangle again: its walls are the dimensions shown
    const Grid& walls = s.grids[200];
    QVERIFY(walls.visible);
    QCOMPARE(ReadGridCell(s, 200, 2, 2), QString("0"));
    QCOMPARE(Load(s, 214), 0.0);
    Enter(s, 13, "10");
    Enter(s, 14, "8");
    Enter(s, 15, "8");
    QCOMPARE(ReadGridCell(s, 200, 2, 2), QString("10"));
    QCOMPARE(ReadGridCell(s, 200, 2, 4), QString("8"));
    QCOMPARE(ReadGridCell(s, 200, 3, 2), QString("8"));
    // The new walls wait for their thickness, and their load follows as soon as it is given.
    QCOMPARE(Load(s, 214), 0.0);
    GridClick(s, 200, 5, 2);
    CellEditorChange(s, 200, "4");
    QVERIFY(Load(s, 214) > 0);
}

void KeepWorkTest::notANumber_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("problem");
    QTest::newRow("unitTyped_problem") << 15 << "12 ft" << true;
    QTest::newRow("beyondDouble_problem") << 15 << "1e309" << true;
    QTest::newRow("notANumberWord_problem") << 406 << "nan" << true;
    QTest::newRow("infinity_problem") << 406 << "inf" << true;
    QTest::newRow("plainNumber_fine") << 15 << "12" << false;
    QTest::newRow("loneMinusWhileTyping_fine") << 15 << "-" << false;
}

void KeepWorkTest::notANumber() {
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(bool, problem);
    TestProgram program;
    State& s = program.Start();
    s.SetRadio(204, true);
    Enter(s, 15, "8");
    Enter(s, 14, "8");
    Enter(s, 13, "10");
    const double before = Load(s, 16);
    const QString original = s.textBoxes[field].text;
    Enter(s, field, text);
    const QString line = s.errorTexts[25].arg(s.labels[field].caption);
    QCOMPARE(s.errorList.contains(line), problem);
    QCOMPARE(s.textBoxes[field].backColour == MarkColour, problem);
    if (problem) {
        QVERIFY(s.errorFrameVisible);
        QCOMPARE(s.textBoxes[16].backColour, MarkColour);   // the results are not valid
        QVERIFY(line.startsWith(s.labels[field].caption));
        QVERIFY(line.contains("not a number"));
        Enter(s, field, original);
        QVERIFY(!s.errorFrameVisible);
        QVERIFY(Near(Load(s, 16), before, 1));
    }
}

void KeepWorkTest::banner_eachFailureOnce() {
    TestProgram program;
    State& s = program.Start();
    Enter(s, 522, "0");
    Enter(s, 542, "0");
    Enter(s, 12, "30");
    QVERIFY(s.errorList.size() >= 3);
    QCOMPARE(s.bannerLines, int(s.errorList.size()));
    const QStringList shown = s.bannerText.split("\r\n");
    QCOMPARE(shown, s.errorList);
    QCOMPARE(QSet<QString>(shown.begin(), shown.end()).size(), shown.size());
}

void KeepWorkTest::balance_saysWhyItIsMissing_data() {
    QTest::addColumn<QString>("condenser");   // the rows picked: 0 short within the tolerance,
    QTest::addColumn<QString>("cooler");      // 1 the first adequate model, -1 none
    QTest::addColumn<int>("note");            // string-table line, 0 for a balance
    QTest::newRow("condenserShort") << "0" << "1" << 26;
    QTest::newRow("coolerShort") << "1" << "0" << 27;
    QTest::newRow("noModel") << "-1" << "1" << 28;
    QTest::newRow("largerModelPicked") << "2" << "1" << 29;
    QTest::newRow("bothFirstAdequate_balance") << "1" << "1" << 0;
}

void KeepWorkTest::balance_saysWhyItIsMissing() {
    QFETCH(QString, condenser);
    QFETCH(QString, cooler);
    QFETCH(int, note);
    TestProgram program;
    State& s = program.Start();
    SetFieldValue(s, 533, condenser);
    SetFieldValue(s, 553, cooler);
    CalculateBalance(s);
    if (note == 0) {
        // Two lines of capacity that meet, or the reason why they never do.
        QVERIFY2(s.balanceNote.isEmpty() == (Load(s, 560) > 0), qPrintable(s.balanceNote));
        QVERIFY(s.balanceNote.isEmpty() || s.balanceNote == s.strings[28] || s.balanceNote == s.strings[59]);
        return;
    }
    QCOMPARE(s.balanceNote, s.strings[note]);
    QVERIFY(s.balanceNote.startsWith("No balance: "));
    QCOMPARE(Load(s, 560), 0.0);
}

void KeepWorkTest::shippedColourSchemes_readable() {
    // Every text against the back colour the window draws it on, by the colour files' keys.
    const QStringList pairs = {
        "HINTBOX FORECOLOR / FRAMES BACKCOLOR",         "FRAMES FORECOLOR / FRAMES BACKCOLOR",
        "LABELS FORECOLOR / LABELS BACKCOLOR",          "LABELS FORECOLOR / FRAMES BACKCOLOR",
        "TEXTBOX OVERRIDE / LABELS BACKCOLOR",          "TEXTBOX OVERRIDE / TABLE BACKCOLOR",
        "TEXTBOX OVERRIDE / TEXTBOX BACKCOLORSEL",      "TEXTBOX FORECOLOR / TEXTBOX BACKCOLOR",
        "TEXTBOX FORECOLORSEL / TEXTBOX BACKCOLORSEL",  "OPTIONLIST FORECOLOR / OPTIONLIST BACKCOLOR",
        "TABLE FORECOLOR / TABLE BACKCOLOR",            "TABLE FORECOLOR / TEXTBOX BACKCOLORSEL",
        "TABLE FORECOLORFIXED / TABLE BACKCOLORFIXED",  "TABLE FORECOLORSEL / TABLE BACKCOLORSEL",
        "HYPERLINK FORECOLOR / FRAMES BACKCOLOR",       "HYPERLINK VISITED / FRAMES BACKCOLOR",
        "BUTTON FORECOLOR / WHITE",                     "BUTTON HIGHLIGHT / WHITE",
        "BUTTON SHADOWSELECT / WHITE",
    };
    QCOMPARE(ContrastRatio(RGBColour(0, 0, 0), RGBColour(255, 255, 255)), 21.0);
    QVERIFY(qAbs(ContrastRatio(RGBColour(255, 255, 0), RGBColour(128, 128, 128)) - 3.68) < 0.02);
    const QDir data(BuiltProgramFolder() + "/opdata");
    const QStringList schemes = data.entryList({"*.col"}, QDir::Files);
    QVERIFY(schemes.contains("contrast.col") && schemes.contains("default.col"));
    for (const QString& name : schemes) {
        QFile file(data.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QMap<QString, Colour> colours{{"WHITE", RGBColour(255, 255, 255)}};
        for (const QByteArray& line : file.readAll().split('\n')) {
            const QList<QByteArray> f = line.trimmed().split('\t');
            if (f.size() >= 6)
                colours[f[1] + ' ' + f[2]] = RGBColour(f[3].toInt(), f[4].toInt(), f[5].toInt());
        }
        for (const QString& pair : pairs) {
            const QStringList sides = pair.split(" / ");
            QVERIFY2(colours.contains(sides[0]) && colours.contains(sides[1]), qPrintable(name + ": " + pair));
            const double ratio = ContrastRatio(colours[sides[0]], colours[sides[1]]);
            QVERIFY2(ratio >= ReadableContrast, qPrintable(name + ": " + pair + " " + QString::number(ratio)));
        }
        // A failed field keeps readable text in every scheme.
        const Colour onMark = ReadableTextColour(MarkColour, colours["TEXTBOX FORECOLOR"]);
        QVERIFY(ContrastRatio(onMark, MarkColour) >= ReadableContrast);
    }
}

QTEST_GUILESS_MAIN(KeepWorkTest)
#include "keepwork_test.moc"
