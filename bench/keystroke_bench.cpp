// One keystroke in the box temperature, end to end in the core: the change handling with the
// entry rule, the twin temperatures and the run time, the calculation of all four loads, the
// condensing-unit and cooler selection and the balance.
//   keystroke_bench -median 11
#include "base/numbertext.h"
#include "definitions/state.h"
#include "tests/support/testprogram.h"

#include <QProcess>
#include <QTest>

using namespace corvane;
using namespace corvane::test;

class KeystrokeBench : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void boxTemperatureKeystroke();
    void boxTemperatureKeystroke_10000Models();
};

namespace {

void Type(State& s, TestProgram& program) {
    s.focus = FocusRef{ControlKind::TextBox, 103};
    // Two values that both need a full recalculation, so every round does the same work; the
    // first differs from the template's box temperature.
    const QString values[] = {QStringLiteral("36"), QStringLiteral("35")};
    int round = 0;
    QBENCHMARK {
        s.SetText(103, values[round++ % 2]);
    }
    QCOMPARE(GetFieldValue(s, 501), GetFieldValue(s, 103));
    QVERIFY(NumberFromText(GetFieldValue(s, 16)) > 0);
    QVERIFY(program.platform.unexpected.isEmpty());
}

} // namespace

void KeystrokeBench::boxTemperatureKeystroke() {
    TestProgram program;
    Type(program.Start(), program);
}

// The same keystroke with a catalogue of 10,000 condensing units and 10,000 unit coolers, all
// in the job's series, so every selection weighs every model.
void KeystrokeBench::boxTemperatureKeystroke_10000Models() {
    TestProgram program;
    const QString source = program.Folder() + QStringLiteral("/generated");
    if (!RunCatalogCompiler({QStringLiteral("--generate"), QStringLiteral("10000"), source}) ||
        !RunCatalogCompiler({source, program.Folder() + QStringLiteral("/proddata")}))
        QSKIP("the catalogue compiler could not generate the catalogue");
    State& s = program.Start();
    s.SetText(550, QStringLiteral("LPA"));
    Type(s, program);
    QVERIFY(!GetFieldValue(s, 543).isEmpty());
}

QTEST_GUILESS_MAIN(KeystrokeBench)
#include "keystroke_bench.moc"
