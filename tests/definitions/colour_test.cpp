// The colour-scheme reader: what lines paint and keep, bad lines and files, the choice of file
// with its fallback, override marks across a scheme change, and the file lists.
#include "base/numbertext.h"
#include "definitions/colourfile.h"
#include "tests/definitions/rig.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace corvane;
using namespace corvane::test;

namespace {

QString Probe(const State& s, const QString& what) {
    const auto fb = [](Colour c, bool bold) { return QString::number(c) + (bold ? "b" : ""); };
    if (what == "labels")
        return QStringList{fb(s.labels[12].foreColour, s.labels[12].bold), fb(s.unitLabels[12].foreColour, s.unitLabels[12].bold),
                           fb(s.radios[100].foreColour, s.radios[100].bold), fb(s.checks[0].foreColour, s.checks[0].bold)}.join(' ');
    if (what == "fields") return QString("%1 %2 %3").arg(s.colours.fieldBack).arg(s.textBoxes[12].backColour).arg(s.textBoxes[12].foreColour);
    if (what == "focus") return QString("%1 %2 %3 %4").arg(s.colours.focusBack).arg(s.colours.focusFore).arg(s.historyBackColour).arg(s.historyForeColour);
    if (what == "pages") return QString("%1 %2 %3").arg(s.pages[0].backColour).arg(s.pages[3].backColour).arg(fb(s.frames[501].backColour, s.radios[840].bold));
    if (what == "grid") return QString("%1 %2 %3").arg(s.grids[300].colours.fore).arg(s.grids[300].Cell(3, 2).foreColour).arg(s.colours.cellFore);
    const auto& p = s.colours.percent;   // "other"
    return QString("%1 %2 %3 %4 %5").arg(s.colours.override).arg(s.textBoxes[12].foreColour).arg(p[0]).arg(p[1]).arg(p[2]);
}

} // namespace

class ColourTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lines_data() {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<QString>("probe");
        QTest::addColumn<QString>("expected");   // empty: only "no crash"
        const QString navy = QString::number(RGBColour(0, 0, 128)), unset = "0 16777215 0";
        QTest::newRow("lowerCaseLabelsForecolor_darkBlueBold") << QByteArray("x\tlabels\tforecolor\t0\t0\t128") << "labels" << QStringList(4, navy + "b").join(' ');
        QTest::newRow("labelsBackcolorAlone_stillBold") << QByteArray("x\tLABELS\tBACKCOLOR\t1\t2\t3") << "labels" << "0b 0b 0b 0b";
        QTest::newRow("sameLineTwice_laterWins") << QByteArray("x\tTEXTBOX\tBACKCOLOR\t1\t0\t0\r\nx\tTEXTBOX\tBACKCOLOR\t2\t0\t0") << "fields" << "2 2 0";
        QTest::newRow("noBackcolorsel_focusBackStaysBlack") << QByteArray("x\tTEXTBOX\tFORECOLORSEL\t1\t1\t1") << "focus" << "0 65793 0 65793";
        QTest::newRow("override_keptNotPainted_shadingPlainNumbers") << QByteArray("x\tTEXTBOX\tOVERRIDE\t9\t0\t0\r\nx\tFORM\tPERCENT\t32\t-30\t26.5") << "other" << "9 0 32 -30 26.5";
        QTest::newRow("frames_pagesButNotStorePage") << QByteArray("x\tFRAMES\tBACKCOLOR\t5\t0\t0") << "pages" << "16777215 5 5b";
        QTest::newRow("gridText_cellsFollow") << QByteArray("x\tTABLE\tFORECOLOR\t7\t0\t0") << "grid" << "7 7 7";
        QTest::newRow("propertyOfAnotherGroup_ignored") << QByteArray("x\tLOGO\tFORECOLOR\t1\t1\t1") << "pages" << "16777215 16777215 16777215";
        for (const char* bad : {"256", "-1", "red", "1.5", ""})
            QTest::addRow("colourValue'%s'_lineSkipped", bad) << "x\tTEXTBOX\tBACKCOLOR\t" + QByteArray(bad) + "\t0\t0" << "fields" << unset;
        QTest::newRow("threeFields_skipped") << QByteArray("x\tTEXTBOX\tBACKCOLOR") << "fields" << unset;
        QTest::newRow("emptyFile") << QByteArray() << "fields" << unset;
        QTest::newRow("binaryGarbage") << Garbage(3) << "fields" << QString();
        QTest::newRow("100000Lines_lastWins") << Repeated("x\tTEXTBOX\tBACKCOLOR\t", 100000) << "fields" << "159 159 0";
        QTest::newRow("10000CharacterLine") << "x\tTEXTBOX\tBACKCOLOR\t" + QByteArray(10000, '9') << "fields" << unset;
    }

    void lines() {
        QFETCH(QByteArray, lines);
        QFETCH(QString, probe);
        QFETCH(QString, expected);
        Rig rig;
        rig.Write("default.col", lines);
        ReadColourFile(*rig.s);
        if (!expected.isEmpty()) QCOMPARE(Probe(*rig.s, probe), expected);
        QCOMPARE(rig.s->textBoxes[804].text, QString("default."));
    }

    void fileChoice_data() {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("messages");     // -1: reads; 0 or 1: the program ends after that many
        QTest::addColumn<QString>("remembered");
        QTest::newRow("noSetting_default") << QString() << QStringList{"default.col"} << -1 << "default.col";
        QTest::newRow("chosenScheme") << "contrast.col" << QStringList{"default.col", "contrast.col"} << -1 << "contrast.col";
        QTest::newRow("missingScheme_defaultRemembered") << "gone.col" << QStringList{"default.col"} << -1 << "default.col";
        QTest::newRow("missingDefault_silentEnd") << QString() << QStringList{"contrast.col"} << 0 << "default.col";
        QTest::newRow("missingBoth_resourceMessageAndEnd") << "gone.col" << QStringList{} << 1 << "default.col";
    }

    void fileChoice() {
        QFETCH(QString, setting);
        QFETCH(QStringList, files);
        QFETCH(int, messages);
        QFETCH(QString, remembered);
        Rig rig;
        for (const QString& f : files) rig.Write(f, "x\tTEXTBOX\tBACKCOLOR\t" + QByteArray::number(f.size()) + "\t0\t0\r\n");
        if (!setting.isEmpty()) rig.settings.Save("t\\Settings", "Colour_File", setting);
        rig.platform.allowUnscriptedMessages = true;
        if (messages >= 0) {
            QVERIFY_THROWS_EXCEPTION(ProgramEnd, ReadColourFile(*rig.s));
            QCOMPARE(rig.platform.messages.size(), messages);
        } else {
            ReadColourFile(*rig.s);
            QCOMPARE(rig.s->colours.fieldBack, Colour(remembered.size()));
            QCOMPARE(rig.s->textBoxes[804].text, remembered.chopped(3));
        }
        QCOMPARE(rig.Setting("Colour_File"), remembered);
    }

    void schemeChange_keepsOverrideMarks() {
        Rig rig;
        rig.Write("default.col", "x\tLABELS\tFORECOLOR\t1\t0\t0\r\nx\tTEXTBOX\tOVERRIDE\t2\t0\t0\r\nx\tTABLE\tFORECOLOR\t3\t0\t0\r\n");
        rig.Write("contrast.col", "x\tLABELS\tFORECOLOR\t4\t0\t0\r\nx\tTEXTBOX\tOVERRIDE\t5\t0\t0\r\nx\tTABLE\tFORECOLOR\t6\t0\t0\r\n");
        State& s = *rig.s;
        ReadColourFile(s);
        SetFieldOverridden(s, 12, true);
        SetCellOverridden(s, s.grids[300].Cell(4, 2), true);
        rig.settings.Save("t\\Settings", "Colour_File", "contrast.col");
        ReadColourFile(s);
        QVERIFY(IsOverridden(s, 12) && !IsOverridden(s, 16));
        QCOMPARE(QList<Colour>({s.labels[12].foreColour, s.labels[16].foreColour, s.grids[300].Cell(4, 2).foreColour, s.grids[300].Cell(5, 2).foreColour}),
                 QList<Colour>({5, 4, 5, 6}));
    }

    // The mark is the field's, not its colour's: a scheme that paints labels in the override
    // colour (or an empty scheme, where every colour is 0) marks nothing, and the loads are
    // still computed.
    void schemeInTheOverrideColour_marksNothing_data() {
        QTest::addColumn<QByteArray>("scheme");
        QTest::newRow("labels in the override colour")
            << QByteArray("x\tLABELS\tFORECOLOR\t9\t0\t0\r\nx\tTEXTBOX\tOVERRIDE\t9\t0\t0\r\nx\tTABLE\tFORECOLOR\t9\t0\t0\r\n");
        QTest::newRow("empty scheme") << QByteArray();
    }
    void schemeInTheOverrideColour_marksNothing() {
        QFETCH(QByteArray, scheme);
        TestProgram program;
        program.platform.allowUnscriptedMessages = true;
        QDir(program.DataFolder()).remove("default.col");
        QFile file(program.DataFolder() + "default.col");
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(scheme) == scheme.size());
        file.close();
        State& s = program.Start();
        for (int n : {16, 214, 503}) QVERIFY2(!IsOverridden(s, n), qPrintable(QString::number(n)));
        QVERIFY(!CellOverridden(s, s.grids[300], 4, 2));
        QVERIFY(NumberFromText(s.textBoxes[214].tag) > 0);
        QVERIFY(NumberFromText(s.textBoxes[16].tag) > 0);
    }

    void shippedSchemes_everyLineUsed() {
        for (const QString file : {"default.col", "contrast.col"}) {
            TestProgram program;
            State& s = program.state();
            program.settings->Save(s.settingsSection, "Colour_File", file);
            ReadColourFile(s);
            QCOMPARE(Complaints(s, file), QStringList());
            // Marks and the focus must stand out, or overrides and the current field could not be seen.
            QVERIFY(s.colours.override != s.labels[0].foreColour && s.colours.focusBack != s.colours.fieldBack);
        }
    }

    void fileLists_nameLessExtension() {
        Rig rig;
        for (const char* f : {"b.col", "a.col", "x.lng", "note.txt"}) rig.Write(f, "");
        LoadColourList(*rig.s, rig.dir.filePath("opdata"), 804);
        LoadLanguageList(*rig.s, rig.dir.filePath("opdata"), 803);
        QCOMPARE(rig.s->optionLists[804].items, QStringList({"a.", "b."}));
        QCOMPARE(rig.s->optionLists[803].items, QStringList({"x."}));
        QVERIFY(rig.s->log.Lines().contains(">LoadLanguageList(" + rig.dir.filePath("opdata") + ", 803)"));
    }
};

QTEST_GUILESS_MAIN(ColourTest)
#include "colour_test.moc"
