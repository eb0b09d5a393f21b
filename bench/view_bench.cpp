// One keystroke in the box temperature as the user feels it: the core's change handling and
// calculation, then the whole window brought up to date from the controls the core marked
// (offscreen), with the candidate lists of the equipment page shown.
//   QT_QPA_PLATFORM=offscreen view_bench -median 11
#include "app/session.h"
#include "app/startup.h"
#include "base/settingsstore.h"
#include "definitions/state.h"
#include "gui/mainwindow.h"
#include "gui/qtplatform.h"
#include "tests/support/testprogram.h"

#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QTableView>
#include <QTest>

using namespace corvane;
using namespace corvane::test;

class ViewBench : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keystrokeAndRefresh();
    void keystrokeAndRefresh_10000Models();
    void keystrokeAndRefresh_windowPlatform();
};

namespace {

void Type(State& s) {
    MainWindow window(s);
    window.show();
    for (int g : {520, 540}) {
        s.grids[g].visible = true;
        s.MarkDirty(ControlKind::Grid, g);
    }
    window.Dispatch([] {});
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    s.focus = FocusRef{ControlKind::TextBox, 103};
    // Two values that both need a full recalculation, so every round does the same work.
    const QString values[] = {QStringLiteral("36"), QStringLiteral("35")};
    int round = 0;
    QBENCHMARK {
        const QString& value = values[round++ % 2];
        window.Dispatch([&] { s.SetText(103, value); });
    }
    // The window shows what the core holds: the box temperature and the last cooler row.
    auto* box = window.findChild<QLineEdit*>(QStringLiteral("TEXTBOX_103"));
    QVERIFY(box);
    QCOMPARE(box->text(), s.textBoxes[103].text);
    auto* coolers = window.findChild<QTableView*>(QStringLiteral("GRID_540"));
    QVERIFY(coolers);
    const Grid& grid = s.grids[540];
    QCOMPARE(coolers->model()->rowCount(), grid.rows);
    QCOMPARE(coolers->model()->index(grid.rows - 1, 2).data().toString(), grid.Text(grid.rows - 1, 2));
}

} // namespace

void ViewBench::keystrokeAndRefresh() {
    TestProgram program;
    Type(program.Start());
}

// With a catalogue of 10,000 condensing units and 10,000 unit coolers, all in the job's
// series, so each candidate list holds thousands of rows.
void ViewBench::keystrokeAndRefresh_10000Models() {
    TestProgram program;
    const QString source = program.Folder() + QStringLiteral("/generated");
    if (!RunCatalogCompiler({QStringLiteral("--generate"), QStringLiteral("10000"), source}) ||
        !RunCatalogCompiler({source, program.Folder() + QStringLiteral("/proddata")}))
        QSKIP("the catalogue compiler could not generate the catalogue");
    State& s = program.Start();
    s.SetText(550, QStringLiteral("LPA"));
    Type(s);
    QVERIFY(s.grids[540].rows > 1000);
}

// The same keystroke on the window's own platform services, as the program runs: the grids
// the core sizes again are measured in the window's font rather than counted in characters.
void ViewBench::keystrokeAndRefresh_windowPlatform() {
    QTemporaryDir folder;
    for (const char* sub : {"opdata", "proddata"})
        CopyFolder(BuiltProgramFolder() + QLatin1Char('/') + QLatin1String(sub),
                   folder.path() + QLatin1Char('/') + QLatin1String(sub));
    QDir(folder.path()).mkpath(QStringLiteral("JobFiles"));
    QtPlatform platform;
    SettingsStore settings(folder.path() + QStringLiteral("/settings.ini"));
    const std::unique_ptr<State> s = MakeSession(folder.path(), platform, settings);
    StartUp(*s, QString());
    Type(*s);
}

QTEST_MAIN(ViewBench)
#include "view_bench.moc"
