// One full calculation (checks, the four loads, the motor defaults and the totals) of a
// 10 x 12 x 8 ft rectangular cooler holding three products, on the shipped data.
#include "base/numbertext.h"
#include "base/platform.h"
#include "base/record.h"
#include "calc/driver.h"
#include "input/grids.h"
#include "input/units.h"
#include "tests/support/testprogram.h"

#include <QTest>

using namespace corvane;

namespace {

// The calculation constants straight from the shipped language file, for a start-up that
// has not read them.
void ReadConstants(State& s) {
    LineReader lng(s.dataFolder + QStringLiteral("default.lng"));
    if (!lng.Open()) return;
    while (!lng.AtEnd()) {
        const Record r = lng.ReadRecord();
        if (r.Field(1).toUpper() == QLatin1String("ACONST"))
            s.constants.Set(r.Field(3), NumberFromText(r.Field(4)));
    }
}

void SetUpJob(State& s) {
    if (s.constants.ventConstant == 0) ReadConstants(s);
    if (s.colours.override == s.labels[16].foreColour) s.colours.override = RGBColour(1, 2, 3);
    FlagGuard loading(s.flags.loading);
    const std::pair<int, const char*> fields[] = {
        {12, "16"},   {13, "12"},  {14, "10"},  {15, "8"},    {102, "95"}, {103, "35"}, {212, "95"},
        {312, "35"},  {501, "35"}, {500, "95"}, {506, "10"},  {600, "95"}, {522, "1"},  {542, "2"},
        {659, "2"},   {669, "0"},  {400, "1"},  {402, "12"},  {405, "24"}, {406, "1"},  {407, "2"},
        {619, "0.5"}, {620, "3"},  {621, "7"},  {622, "0.8"}, {623, "50"}, {640, "0"},  {641, "50"}};
    for (const auto& [n, v] : fields)
        SetFieldValue(s, n, QString::fromLatin1(v));
    for (int b : {100, 200, 600, 603})
        s.SetRadio(b, true);
    BuildWallGrid(s, 200);
    for (int c = 2; c <= 7; ++c) {
        const bool side = c == 2 || c == 3;
        const bool wall = c <= 5;
        WriteGridCell(s, 200, 2, c, side || !wall ? "12" : "10");
        WriteGridCell(s, 200, 3, c, wall ? "8" : "10");
        WriteGridCell(s, 200, 5, c, c == 6 ? "6" : "4");
    }

    Grid& products = s.grids[300];
    products.Resize(14, 5);
    const int rows[] = {2, 10, 20}; // three products of table C
    for (int i = 0; i < 3; ++i) {
        const int c = 2 + i, r = rows[i];
        products.Cell(0, c).text = QString::number(c - 1);
        for (const auto& [row, column] : {std::pair{1, 1}, {2, 2}, {10, 3}, {7, 4}, {8, 5}, {9, 6}, {11, 7}})
            WriteGridCell(s, 300, row, c, s.tableC.Cell(column, r));
        for (const auto& [row, value] : {std::pair{3, "500"}, {4, "50"}, {5, "35"}, {6, "24"}, {12, "1"}})
            WriteGridCell(s, 300, row, c, QString::fromLatin1(value));
    }
}

} // namespace

class CalculateBench : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void calculate() {
        test::TestProgram program;
        program.platform.allowUnscriptedMessages = true;
        State& s = program.state();
        try {
            program.Start();
        } catch (const ProgramEnd& e) {
            QSKIP(e.what());
        }
        SetUpJob(s);
        QVERIFY2(!CheckInputs(s), qPrintable(s.bannerText));
        Calculate(s);
        QVERIFY(NumberFromText(GetFieldValue(s, 16)) > 0);
        QBENCHMARK {
            Calculate(s);
        }
    }
};

QTEST_GUILESS_MAIN(CalculateBench)
#include "calculate_bench.moc"
