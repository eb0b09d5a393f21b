// Start-up: the window definition, the start-up job choice, the log switch, closing, and
// what happens when the installation is broken.
#include "commands/commands.h"
#include "definitions/datafiles.h"
#include "app/startup.h"
#include "definitions/state.h"
#include "definitions/windowdefinition.h"
#include "base/numbertext.h"
#include "jobs/filehistory.h"
#include "jobs/jobactions.h"
#include "jobs/jobfile.h"
#include "tests/support/testprogram.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTest>

#include <sys/stat.h>

using namespace corvane;
using namespace corvane::test;

class StartupTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void windowDefinition_numbersUniqueAndEveryFieldPlacedOnce();
    void windowDefinition_everyPageHasItsTitleLabel();

    void startupJob_data();
    void startupJob();
    void missingCommandLineJob_message15ThenTemplate();

    void fileHistory_stopsAtFirstEmptyAndSkipsMissing();
    void closeRequest_data();
    void closeRequest();

    void brokenInstallation_data();
    void brokenInstallation();
    void pageButtons_showExactlyOnePage();
    void jobOfAnotherLanguage_givesTheSameLoads();
    void unchangedStart_rewritesNoSettings();
};

void StartupTest::windowDefinition_numbersUniqueAndEveryFieldPlacedOnce() {
    QSet<int> numbers;
    for (const FieldDef& f : FieldDefinitions()) {
        QVERIFY2(!numbers.contains(f.number), qPrintable(QString::number(f.number)));
        numbers.insert(f.number);
        QVERIFY(HasMember(f, Member::TextBox) && HasMember(f, Member::Caption));
        // A list field is chosen from its option list, so it must have one.
        if (IsListKind(f.Kind())) QVERIFY2(HasMember(f, Member::OptionList), qPrintable(QString::number(f.number)));
        QCOMPARE(KindOfTagText(QString::fromLatin1(f.type)), f.Kind());
    }
    for (const LabelDef& l : LabelDefinitions()) {
        QVERIFY2(!numbers.contains(l.number), qPrintable(QString::number(l.number)));
        numbers.insert(l.number);
    }
    // The view lays the pages out from the placements alone: every field of a page that is not
    // inside a frame is placed once, on its own page, and nothing is placed that is not defined.
    QMap<int, int> placedFields;
    for (const Placement& p : PagePlacements()) {
        if (p.kind != Placed::Field) continue;
        const FieldDef* f = FindField(p.number);
        QVERIFY2(f, qPrintable(QString::number(p.number)));
        QCOMPARE(f->page, p.page);
        ++placedFields[p.number];
    }
    for (const FieldDef& f : FieldDefinitions())
        if (f.container == 0 && f.page > 0)
            QVERIFY2(placedFields.value(f.number) == 1, qPrintable(QString::number(f.number)));
}

void StartupTest::windowDefinition_everyPageHasItsTitleLabel() {
    FakePlatform p;
    QTemporaryDir dir;
    SettingsStore st(dir.filePath("s.ini"));
    State s(dir.path(), p, st);
    for (int page = 1; page <= 9; ++page) {
        const int title = page == 2 ? 17 : (page - 1) * 100 + 99;
        QVERIFY2(s.labels.Has(title), qPrintable(QString::number(title)));
        QCOMPARE(s.labels[title].page, page);
    }
    QCOMPARE(s.labels[99].tag, QStringLiteral("Number"));
    QCOMPARE(s.labels[299].tag, QString());
    QVERIFY(s.labels.Has(0)); // the reference colour of every override test
    QVERIFY_THROWS_EXCEPTION(MissingControl, s.textBoxes[999]);
}

void StartupTest::startupJob_data() {
    QTest::addColumn<QString>("tail");
    QTest::addColumn<bool>("logOn");
    QTest::addColumn<bool>("jobLoaded");
    QTest::newRow("noArguments_template") << QString() << false << false;
    QTest::newRow("logOnly_templateAndLogFile") << "/LOG" << true << false;
    QTest::newRow("jobWithSpaces_thenLowerLog") << "JOBDIR/cold room.cvj /log" << true << true;
    QTest::newRow("upperCaseExtension_recognised") << "JOBDIR/BIG.CVJ" << false << true;
}

void StartupTest::startupJob() {
    TestProgram program;
    // A saved job to open: the template itself under a job name.
    for (const char* name : {"cold room.cvj", "BIG.CVJ"})
        QVERIFY(QFile::copy(program.DataFolder() + "default.fil", program.Folder() + "/JobFiles/" + name));
    QFETCH(QString, tail);
    tail.replace(QStringLiteral("JOBDIR"), program.Folder() + QStringLiteral("/JobFiles"));
    State& s = program.Start(tail);
    QFETCH(bool, logOn);
    QCOMPARE(s.log.FileOn(), logOn);
    QCOMPARE(QFile::exists(program.Folder() + "/!!LogFile.txt"), false); // nothing logged after the switch yet
    QFETCH(bool, jobLoaded);
    if (jobLoaded) {
        QVERIFY(s.currentJobPath.endsWith(QStringLiteral(".cvj"), Qt::CaseInsensitive));
        QCOMPARE(s.currentPage, 1); // command 0 shows the first page
    } else {
        QVERIFY(s.currentJobPath.isEmpty());
        QCOMPARE(s.currentPage, 0);
    }
    QVERIFY2(program.platform.unexpected.isEmpty(), qPrintable(program.platform.unexpected.join('\n')));
}

void StartupTest::missingCommandLineJob_message15ThenTemplate() {
    TestProgram program;
    program.platform.answers << Box::AnswerOk;
    State& s = program.Start(program.Folder() + "/JobFiles/gone.cvj");
    QCOMPARE(program.platform.messages.size(), 1);
    QVERIFY(program.platform.messages[0].text.startsWith(s.messages[1][15]));
    QVERIFY(s.currentJobPath.isEmpty());
}

void StartupTest::fileHistory_stopsAtFirstEmptyAndSkipsMissing() {
    TestProgram program;
    State& s = program.Start();
    const QString a = program.Folder() + "/JobFiles/a.cvj";
    const QString c = program.Folder() + "/JobFiles/c.cvj";
    const QString b = program.Folder() + "/JobFiles/b.cvj";
    for (const QString& f : {a, c}) QVERIFY(QFile::copy(program.DataFolder() + "default.fil", f));
    s.settings.Save(s.historySection, "File0", b);  // missing: skipped
    s.settings.Save(s.historySection, "File1", a);
    s.settings.Save(s.historySection, "File2", QString());
    s.settings.Save(s.historySection, "File3", c);  // after the first empty value: not loaded
    LoadFileHistory(s);
    QCOMPARE(s.historyList, QStringList{a});
}

void StartupTest::closeRequest_data() {
    QTest::addColumn<bool>("modified");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<int>("questions");
    QTest::newRow("unchanged_noQuestion") << false << 0 << true << 0;
    QTest::newRow("changed_yesCloses") << true << int(Box::AnswerYes) << true << 1;
    QTest::newRow("changed_noCancels") << true << int(Box::AnswerNo) << false << 1;
}

void StartupTest::closeRequest() {
    TestProgram program;
    State& s = program.Start();
    QFETCH(bool, modified);
    s.flags.jobModified = modified;
    QFETCH(int, questions);
    QFETCH(int, answer);
    if (questions) program.platform.answers << answer;
    QFETCH(bool, closes);
    QCOMPARE(CloseRequest(s), closes);
    QCOMPARE(program.platform.messages.size(), questions);
}

void StartupTest::brokenInstallation_data() {
    QTest::addColumn<QString>("remove");
    QTest::addColumn<QString>("message");
    QTest::newRow("noBrandIcon") << "opdata/corvane.ico" << "brand icon";
    QTest::newRow("missingTable") << "opdata/TableF.data" << "Cannot open resource file";
    QTest::newRow("missingLanguageFile") << "opdata/default.lng" << "Cannot open resource file";
    QTest::newRow("missingEquipmentFile") << "proddata/ERatings.rec" << "Cannot open resource file";
}

void StartupTest::brokenInstallation() {
    TestProgram program;
    QFETCH(QString, remove);
    QVERIFY(QFile::remove(program.Folder() + "/" + remove));
    program.platform.answers << Box::AnswerOk;
    bool ended = false;
    try {
        program.Start();
    } catch (const ProgramEnd& end) {
        ended = true;
        QVERIFY(end.exitCode != 0);
    }
    QVERIFY(ended);
    QCOMPARE(program.platform.messages.size(), 1);
    QFETCH(QString, message);
    QVERIFY(program.platform.messages[0].text.contains(message));
}

void StartupTest::pageButtons_showExactlyOnePage() {
    TestProgram program;
    State& s = program.Start();
    for (int button : {0, 2, 3, 4, 5, 6, 7, 8}) {
        RunCommand(s, button);
        const int page = button == 0 ? 1 : button + 1;
        int shown = 0;
        for (const auto& [p, frame] : s.pages) shown += frame.visible ? 1 : 0;
        QCOMPARE(shown, 1);
        QVERIFY(s.pages[page].visible);
        QVERIFY(s.shadows[button].visible);
        QCOMPARE(s.buttons[button].foreColour, s.colours.highlight);
    }
}

void StartupTest::jobOfAnotherLanguage_givesTheSameLoads() {
    TestProgram program;
    State& english = program.Start();
    const QString job = program.Folder() + "/JobFiles/english.cvj";
    QVERIFY(JobFileSave(english, job));
    const QString transmission = GetFieldValue(english, 214);
    const QString misc = GetFieldValue(english, 422);
    QVERIFY(NumberFromText(transmission) > 0);
    english.settings.Save(english.settingsSection, "Language_File", "francais.lng");
    State& french = program.Restart(job);
    QCOMPARE(french.optionLists[201].items.value(0), QStringLiteral("Mur"));
    QCOMPARE(french.grids[200].Text(1, 2), QStringLiteral("Mur"));
    QCOMPARE(GetFieldValue(french, 214), transmission);
    QCOMPARE(GetFieldValue(french, 422), misc);
}

// A start that changes nothing leaves the settings file as it is: rewriting it would make every
// batch run wait for the disk. A changed value is written.
void StartupTest::unchangedStart_rewritesNoSettings() {
    TestProgram program;
    program.Start();
    program.Restart();  // the first start's settings are written here
    const QByteArray ini = QFile::encodeName(program.Folder() + QStringLiteral("/settings.ini"));
    const auto inode = [&ini] {
        struct stat info{};
        return ::stat(ini.constData(), &info) == 0 ? info.st_ino : ino_t(0);
    };
    const ino_t written = inode();
    QVERIFY(written != 0);
    const State& s = program.Restart();
    QCOMPARE(inode(), written);
    program.settings->Save(s.settingsSection, QStringLiteral("Language_File"), QStringLiteral("francais.lng"));
    program.settings->Sync();
    QVERIFY(inode() != written);
}

QTEST_GUILESS_MAIN(StartupTest)
#include "startup_test.moc"
