// The language-file reader: line rules and keys, bad files, defaults with their settings, a
// language change with a job open, and the shipped language files against the window.
#include "base/numbertext.h"
#include "base/record.h"
#include "definitions/languagefile.h"
#include "tests/definitions/rig.h"

#include <QSet>
#include <QTest>

using namespace corvane;
using namespace corvane::test;

namespace {

const QByteArray Units = "UNIT\t2\tLONG\tft\tm\t0.3048\r\nUNIT\t6\tTEMPERATURE\t\xB0" "F\t\xB0" "C\tFTOC\r\n"
                         "UNIT\t10\tPOWER\tBtu/h\tW\t0.2930711\r\n";

// Reads one thing of the state as text, so that a table row can name what it checks.
QString Probe(const State& s, const QString& what) {
    const QString k = what.section(' ', 0, 0);
    const int n = what.section(' ', 1).toInt();
    if (k == "label") return s.labels[n].caption + (s.labels[n].visible ? "" : " (hidden)");
    if (k == "unit") return s.unitLabels[n].caption;
    if (k == "string") return s.strings[n].size() > 20 ? QString::number(s.strings[n].size()) : s.strings[n];
    if (k == "msg") return s.messages[0][n] + '|' + s.messages[1][n];
    if (k == "maxdoors") return TextFromSingle(s.constants.maxDoors);
    if (k == "unitrow") return QStringList{s.unitTable[1][n], s.unitTable[2][n], s.unitTable[3][n], s.unitTable[4][n]}.join('|');
    if (k == "help") return s.helpFile;
    if (k == "logo") return s.logoPicture;
    if (k == "align") return QString("%1%2").arg(int(s.buttons[3].alignment)).arg(int(s.shadows[14].alignment));
    if (k == "misc") return s.jobExtension + '|' + s.baseTitle + '|' + s.windowCaption;
    if (k == "cat") return s.grids[n].categories.join('|');
    return s.textBoxes[n].text + '|' + s.textBoxes[n].tag;   // "text n"
}

} // namespace

class LanguageTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void lines_data() {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<QString>("probe");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("comma");
        const auto row = [](const char* name, const QByteArray& lines, const char* probe, const char* expected, bool number = false) {
            QTest::newRow(name) << lines << probe << expected << false;
            if (number)   // the same file under a locale whose decimal separator is the comma
                QTest::addRow("%s_commaLocale", name) << lines << probe << QString(expected).replace('.', ',') << true;
        };
        row("threeFields_skipped", "TEXTBOX\t12\tCAPTION\r\n", "label 12", "");
        row("negativeNumber_disablesLine", "HELPFILE\t-1\tF\thelp.html", "help", "");
        row("menu_countsAsZero", "STRING\tMENU\tX\tzero", "string 0", "zero");
        row("halfGoesToEven_down", "STRING\t2.5\tX\ttwo", "string 2", "two", true);
        row("halfGoesToEven_up", "STRING\t3.5\tX\tfour", "string 4", "four", true);
        row("lowerCaseKeys_valueKeepsCase", "textbox\t12\tcaption\tRun Time", "label 12", "Run Time");
        row("quotedValue_quotesRemoved", "STRING\t5\tX\t\"  padded \"", "string 5", "  padded ");
        row("openQuote_losesLastCharacterToo", "STRING\t5\tX\t\"abcd", "string 5", "abc");
        row("msgbox26_ignored", "MSGBOX\t26\tCAPTION\tlost\r\nMSGBOX\t25\tMESSAGE\tkept", "msg 25", "|kept");
        row("string101_ignored", "STRING\t101\tX\tlost\r\nSTRING\t100\tX\tkept", "string 100", "kept");
        row("unknownKeyAndSubKey_ignored", "NOPE\t1\tX\ty\r\nTEXTBOX\t12\tCOLOUR\tred\r\nTEXTBOX\t12\tCAPTION\tok", "label 12", "ok");
        row("emptyCaption_hidesLabel", "TEXTBOX\t12\tCAPTION\t", "label 12", " (hidden)");
        row("controlThatDoesNotExist_skipped", "TEXTBOX\t999\tCAPTION\tx\r\nTEXTBOX\t12\tCAPTION\tok", "label 12", "ok");
        row("unknownConstant_changesNothing", "ACONST\t0\tMAXDOORS\t7\r\nACONST\t0\tNOPE\t5", "maxdoors", "7");
        row("constantNameTrimmedAnyCase", "ACONST\t0\t maxdoors \t30", "maxdoors", "30");
        row("constantWithDecimalComma", "ACONST\t0\tMAXDOORS\t2,5", "maxdoors", "2.5", true);
        row("constantNotANumber_keepsOld", "ACONST\t0\tMAXDOORS\t7\r\nACONST\t0\tMAXDOORS\tmany", "maxdoors", "7");
        row("unitFactorWithDecimalComma", "UNIT\t2\tlong\tft\tm\t0,3048", "unitrow 2", "LONG|ft|m|0.3048", true);
        row("unitFtocKept", Units, "unitrow 6", "TEMPERATURE|\u00B0F|\u00B0C|FTOC");
        row("unitFactorNotANumber_noConversion", "UNIT\t3\tAREA\tsq\tm2\tbig", "unitrow 3", "AREA|sq|m2|");
        row("unitRowBeyond20_ignored", "UNIT\t21\tX\ta\tb\t1", "unitrow 20", "|||");
        row("unitLabel_imperialName", Units + "TEXTBOX\t13\tUNITS\tlong", "unit 13", "ft");
        row("unitLabel401_metricNameStartingWithW", Units + "TEXTBOX\t401\tUNITS\tPOWER", "unit 401", "W");
        row("unitLabelNone_empty", Units + "TEXTBOX\t0\tUNITS\tnone", "unit 0", "");
        row("missingPicture_ignored", "PICTURE\t0\tPICTURE\tnope.png", "logo", "");
        row("justify_buttonsAndShadows", "BUTTONS\tMENU\tJUSTIFY\tleft", "align", "00");
        row("extensionLowerCase_formCaptionTwice", "FEXT\t0\tX\tCVJ\r\nFORM\t0\tCAPTION\tCorvane", "misc", "cvj|Corvane|Corvane");
        row("gridRowsOutOfOrder_ignored", "TABLE\t202\tUNITS\tlong\r\nTABLE\t200\tUNITS\tNONE\r\nTABLE\t201\tUNITS\tNONE\r\n"
            "TABLE\t202\tUNITS\tlong\r\nTABLE\t2\tUNITS\tlong", "cat 200", "NONE|NONE|long");
        // A file without one usable line starts nothing: it ends the start-up as a missing one.
        row("missingFile_refused", QByteArray(), "text 803", "<refused>");
        row("emptyFile_refused", "", "text 803", "<refused>");
        row("binaryGarbage_refused", Garbage(7), "text 803", "<refused>");
        row("onlySkippedLines_refused", "TEXTBOX\t12\tCAPTION\r\nHELPFILE\t-1\tF\thelp.html", "text 803", "<refused>");
        row("crOnlyLineEnds", "STRING\t5\tX\ta\rSTRING\t6\tX\tb\r", "string 6", "b");
        // The rest of an over-long line is dropped, never read as a line of its own.
        row("overLongLine_restDropped", "#" + QByteArray(MaxLineBytes - 1, 'x') + "TEXTBOX\t12\tCAPTION\tinjected\r\n",
            "label 12", "");
        row("100000Lines_lastWins", Repeated("STRING\t5\tX\tv", 100000), "string 5", "v159");
        row("10000CharacterLine_cutAfterEachTab", "STRING\t5\tX\t" + QByteArray(10000, 'a'), "string 5", "251");
    }

    void lines() {
        QFETCH(QByteArray, lines);
        QFETCH(QString, probe);
        QFETCH(QString, expected);
        QFETCH(bool, comma);
        if (comma) QLocale::setDefault(QLocale(QLocale::German));
        Rig rig;
        if (expected == "<refused>") {   // as a missing file: the message, then the program ends
            rig.platform.answers << Box::AnswerOk;
            if (!lines.isNull()) rig.Write("default.lng", lines);
            QVERIFY_THROWS_EXCEPTION(ProgramEnd, ReadResourceFile(*rig.s));
            QCOMPARE(rig.platform.messages.size(), 1);
            QCOMPARE(rig.platform.messages[0].title, QString("FILE ERROR !"));
            QVERIFY(rig.platform.messages[0].text.contains("Cannot open resource file") && rig.platform.messages[0].text.contains("default.lng"));
            QCOMPARE(rig.Setting("Language_File"), QString("default.lng"));
            return;
        }
        // A line every file shares, so that a file of skipped lines is still a language file.
        rig.Write("default.lng", lines + "\r\nSTRING\t90\tX\tanchor\r\n");
        ReadResourceFile(*rig.s);
        QCOMPARE(Probe(*rig.s, probe), expected);
        QVERIFY(rig.platform.unexpected.isEmpty() && !rig.s->frames[2].visible);
    }

    void defaults_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("setting");   // null: none stored
        QTest::addColumn<bool>("jobOpen");
        QTest::addColumn<QString>("expected");  // shown text and stored value; "Bob" was there before
        QTest::newRow("noSetting_languageDefault") << 12 << QString() << false << "16";
        QTest::newRow("rememberedSetting_wins") << 12 << "20" << false << "20";
        QTest::newRow("jobOpen_ordinaryFieldStillReset") << 12 << QString() << true << "16";
        QTest::newRow("contactNoJob_fromSettings") << 701 << "Ann" << false << "Ann";
        QTest::newRow("contactWithJob_keptAsIs") << 701 << "Ann" << true << "Bob";
        QTest::newRow("optionsPageWithJob_keptAsIs") << 720 << QString() << true << "Bob";
    }

    void defaults() {
        QFETCH(int, field);
        QFETCH(QString, setting);
        QFETCH(bool, jobOpen);
        QFETCH(QString, expected);
        Rig rig;
        const QString key = "TextBox" + QString::number(field);
        if (!setting.isNull()) rig.settings.Save("t\\Settings", key, setting);
        if (jobOpen) rig.s->currentJobPath = rig.dir.filePath("a.cvj");
        rig.s->textBoxes[field].text = rig.s->textBoxes[field].tag = "Bob";
        rig.Write("default.lng", "TEXTBOX\t12\tDEFAULT\t16\r\nTEXTBOX\t701\tDEFAULT\t\"\"\r\nTEXTBOX\t720\tDEFAULT\tQ-");
        ReadResourceFile(*rig.s);
        QCOMPARE(Probe(*rig.s, "text " + QString::number(field)), expected + '|' + expected);
        if (expected != "Bob") QCOMPARE(rig.Setting(key), expected);
        QCOMPARE(rig.s->frames[2].visible, jobOpen);
    }

    void languageChange_keepsContactsAndRefillsTables() {
        TestProgram program;
        State& s = program.Start();
        s.currentJobPath = program.Folder() + "/JobFiles/job.cvj";
        s.SetTextQuietly(700, "ACME");
        s.textBoxes[700].tag = "ACME";
        s.SetText(12, "30");
        s.strings[90] = "kept";
        s.unitTable[1][20] = "KEPT";
        s.errorTexts[30] = s.messages[1][7] = "stale";
        s.optionLists[0].items << "stale";
        const int hints = s.grids[200].hints.size();
        const QString english = s.labels[12].caption;

        program.settings->Save(s.settingsSection, "Language_File", "francais.lng");
        ReadResourceFile(s);
        QCOMPARE(Probe(s, "text 700"), QString("ACME|ACME"));
        QCOMPARE(Probe(s, "text 12"), QString("16|16"));
        QCOMPARE(Probe(s, "text 803"), QString("francais.|francais."));
        QVERIFY(s.labels[12].caption != english && !s.labels[12].caption.isEmpty());
        QVERIFY(s.strings[90] == "kept" && s.unitTable[1][20] == "KEPT");
        QVERIFY(s.errorTexts[30].isEmpty() && s.messages[1][7].isEmpty() && s.optionLists[0].items.isEmpty());
        QCOMPARE(s.optionLists[201].items.size(), 4);
        QCOMPARE(s.grids[200].categories.size(), 10);
        QCOMPARE(s.grids[200].hints.size(), hints + 10);   // hint lines insert before the old ones
        QVERIFY(s.frames[2].visible);
    }

    void shippedFiles_captionEveryControlAndUseEveryLine_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("default") << "default.lng";
        QTest::newRow("francais") << "francais.lng";
    }

    // Every caption label the user can see and every unit label needs its line in each shipped
    // language file; a control added to the window later without one fails here.
    void shippedFiles_captionEveryControlAndUseEveryLine() {
        QFETCH(QString, file);
        TestProgram program;
        State& s = program.state();
        LineReader reader(program.DataFolder() + file);
        QVERIFY(reader.Open());
        QSet<int> captioned, hidden, withUnits;
        QSet<QString> categories{"NONE"};
        while (!reader.AtEnd()) {
            const Record r = reader.ReadRecord();
            const QString key = r.Field(1).toUpper(), sub = r.Field(3).toUpper(), value = r.Field(4);
            const int n = r.Field(2).toInt();
            if (key == "UNIT") categories << sub;
            if (key != "TEXTBOX") continue;
            if (sub == "CAPTION" && !value.isEmpty() && value != "\"\"") captioned << n;
            if (sub == "VISIBLE" && value.toUpper() != "TRUE") hidden << n;
            if (sub == "UNITS") withUnits << n;
            if (sub == "UNITS") QVERIFY2(categories.contains(value.toUpper()), qPrintable(value));
        }
        for (const auto& [n, label] : s.labels)
            if (n != 801 && n != 848 && !hidden.contains(n)) QVERIFY2(captioned.contains(n), qPrintable(file + ": no caption for " + QString::number(n)));
        for (const auto& [n, unit] : s.unitLabels) QVERIFY2(withUnits.contains(n), qPrintable(file + ": no UNITS for " + QString::number(n)));

        program.settings->Save(s.settingsSection, "Language_File", file);
        ReadResourceFile(s);
        QCOMPARE(Complaints(s, file), QStringList());
        QVERIFY(!s.logoPicture.isEmpty() && !s.thumbnailPicture.isEmpty());
    }
};

QTEST_GUILESS_MAIN(LanguageTest)
#include "language_test.moc"
