// Data sheets, the catalogue and the web links, on a real start-up of the program with the
// template job (which chooses a condensing unit and a unit cooler) and the scripted platform.

#include "equipment/links.h"

#include "commands/commands.h"
#include "base/settingsstore.h"
#include "definitions/colourfile.h"
#include "definitions/state.h"
#include "tests/support/testprogram.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace corvane;
using namespace corvane::test;

namespace {

// The chosen model's data-sheet file, as the candidate grid holds it.
QString SheetOf(const State& s, int link) {
    const int grid = link == 0 ? 520 : 540;
    const int row = GetFieldValue(s, link == 0 ? 533 : 553).toInt();
    return s.grids[grid].Text(row, 4);
}

void Touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("%PDF-1.4\n");
}

} // namespace

class LinksTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Where the sheet lies: "default" (pdf/ beside the program, the language file's relative
    // folder), "other" (a folder the user must name), "nowhere"; "unchosen": in the default
    // folder, but the selection found no model (indicator -1). Answers: "other", "missing" (a
    // folder that does not exist), "" (an empty answer), "cancel".
    void sheetFolderLoop_data() {
        QTest::addColumn<int>("link");
        QTest::addColumn<QString>("sheetIn");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<bool>("opened");
        QTest::newRow("condenser_inDefaultFolder_opensWithoutAsking") << 0 << "default" << QStringList{} << true;
        QTest::newRow("cooler_inDefaultFolder_opensWithoutAsking") << 1 << "default" << QStringList{} << true;
        QTest::newRow("condenser_elsewhere_askedOnce") << 0 << "other" << QStringList{"other"} << true;
        QTest::newRow("cooler_missingFolder_askedAgain") << 1 << "other" << QStringList{"missing", "other"} << true;
        QTest::newRow("condenser_cancel_nothing") << 0 << "other" << QStringList{"cancel"} << false;
        QTest::newRow("cooler_emptyAnswer_nothing") << 1 << "nowhere" << QStringList{""} << false;
        QTest::newRow("cooler_noChosenModel_nothing") << 1 << "unchosen" << QStringList{} << false;
    }
    void sheetFolderLoop() {
        QFETCH(int, link);
        QFETCH(QString, sheetIn);
        QFETCH(QStringList, answers);
        QFETCH(bool, opened);
        TestProgram program;
        State& s = program.Start();
        const QString sheet = SheetOf(s, link);
        QVERIFY2(sheet.endsWith(QStringLiteral(".pdf")), qPrintable(sheet));
        const QString other = program.Folder() + QStringLiteral("/sheets elsewhere");
        const QString folder = sheetIn == "default" || sheetIn == "unchosen" ? program.Folder() + "/pdf" : other;
        if (sheetIn != "nowhere") Touch(folder + u'/' + sheet);
        if (sheetIn == "unchosen") SetFieldValue(s, 553, QStringLiteral("-1"));
        for (const QString& a : answers)
            program.platform.inputAnswers << (a == "other"     ? other
                                              : a == "missing" ? program.Folder() + QStringLiteral("/no such folder")
                                              : a == "cancel"  ? QString()
                                                               : QStringLiteral(""));

        SpecLinkClick(s, link);

        QVERIFY2(program.platform.unexpected.isEmpty(), qPrintable(program.platform.unexpected.join('\n')));
        QVERIFY(program.platform.inputAnswers.isEmpty()); // asked exactly once per answer
        QVERIFY(s.log.Lines().contains(QStringLiteral(">Spec Link %1 clicked").arg(link)));
        if (sheetIn == "unchosen") QVERIFY(s.log.Lines().filter(QStringLiteral("pdf file")).isEmpty());
        const QString key = link == 0 ? QStringLiteral("CSpecPath") : QStringLiteral("ESpecPath");
        if (opened) {
            QCOMPARE(program.platform.openedDocuments, QStringList{folder + u'/' + sheet});
            QCOMPARE(program.settings->Get(s.settingsSection, key), folder);
        } else {
            QVERIFY(program.platform.openedDocuments.isEmpty());
            QVERIFY(program.settings->Get(s.settingsSection, key).isEmpty());
        }
    }

    void foundFolder_usedWithoutAskingNextRun() {
        TestProgram program;
        State& s = program.Start();
        const QString folder = program.Folder() + QStringLiteral("/sheets");
        Touch(folder + u'/' + SheetOf(s, 0));
        program.platform.inputAnswers << folder;
        SpecLinkClick(s, 0);
        SpecLinkClick(s, 0); // the same run: the folder is remembered
        State& again = program.Restart();
        SpecLinkClick(again, 0); // the next run: the folder comes from the settings
        QVERIFY2(program.platform.unexpected.isEmpty(), qPrintable(program.platform.unexpected.join('\n')));
        QCOMPARE(program.platform.openedDocuments.size(), 3);
        QCOMPARE(program.platform.openedDocuments.last(), folder + u'/' + SheetOf(again, 0));
    }

    void catalogue_data() {
        QTest::addColumn<bool>("besideProgram");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<bool>("opened");
        QTest::newRow("besideProgram_opensWithoutAsking") << true << QStringList{} << true;
        QTest::newRow("elsewhere_askedForPath") << false << QStringList{"other"} << true;
        QTest::newRow("elsewhere_cancel_nothing") << false << QStringList{"cancel"} << false;
    }
    void catalogue() {
        QFETCH(bool, besideProgram);
        QFETCH(QStringList, answers);
        QFETCH(bool, opened);
        TestProgram program;
        State& s = program.Start();
        const QString path = besideProgram ? program.Folder() + QStringLiteral("/catalog.pdf")
                                           : program.Folder() + QStringLiteral("/docs/catalogue 2026.pdf");
        Touch(path);
        for (const QString& a : answers) program.platform.inputAnswers << (a == "other" ? path : QString());
        CatalogueClick(s);
        QVERIFY2(program.platform.unexpected.isEmpty(), qPrintable(program.platform.unexpected.join('\n')));
        QCOMPARE(program.platform.openedDocuments, opened ? QStringList{path} : QStringList{});
        QCOMPARE(program.settings->Get(s.settingsSection, QStringLiteral("CatalogPath")), opened ? path : QString());
    }

    void webLink_keepsVisitedColour() {
        TestProgram program;
        State& s = program.Start();
        const Colour unvisited = s.links[801].foreColour;
        QVERIFY(unvisited != s.colours.visited);
        HyperlinkClick(s, 800);
        s.links[811].tag.clear();
        HyperlinkClick(s, 811); // no target: coloured, nothing opened
        QCOMPARE(program.platform.openedDocuments, QStringList{s.links[800].tag});

        RunCommand(s, 2);        // another page and back
        RunCommand(s, 8);
        ReadColourFile(s);       // the colour scheme read again, as a change of colour file does
        QCOMPARE(s.links[800].foreColour, s.colours.visited);
        QCOMPARE(s.links[811].foreColour, s.colours.visited);
        QCOMPARE(s.links[801].foreColour, unvisited);
    }
};

QTEST_GUILESS_MAIN(LinksTest)
#include "links_test.moc"
