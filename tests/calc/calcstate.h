#pragma once

#include "app/settingsstore.h"
#include "definitions/state.h"
#include "input/fieldrules.h"
#include "tests/support/fakeplatform.h"

#include <QTemporaryDir>
#include <initializer_list>
#include <memory>

namespace corvane::test {

// A state with only what the calculation and the grids read, set directly, so the tests do
// not depend on the shipped language file.
struct CalcState {
    static constexpr Colour OverrideColour = RGBColour(0, 0, 255);
    static constexpr Colour CellBack = RGBColour(250, 250, 250);
    static constexpr Colour EntryBack = RGBColour(255, 255, 200);

    QTemporaryDir dir;
    FakePlatform platform;
    SettingsStore settings{dir.path() + QStringLiteral("/s.ini")};
    std::unique_ptr<State> state = std::make_unique<State>(dir.path(), platform, settings);
    State& s = *state;

    CalcState() {
        InstallInputHandlers(s);
        platform.allowUnscriptedMessages = true;
        s.colours.override = OverrideColour;
        s.colours.fieldBack = RGBColour(255, 255, 255);
        s.colours.cellBack = CellBack;
        s.colours.cellFore = RGBColour(0, 0, 1);
        s.colours.focusBack = EntryBack;
        const std::pair<const char*, float> constants[] = {
            {"NORMALUSE", 1}, {"HEAVYUSAGE", 2}, {"LONGSTORAGE", 0.6f}, {"DOCKPOWER", 10},
            {"ENTHALPYCONSTANT", 29.921f}, {"VENTCONSTANT", 4.5f}, {"INTERNALRH", 50}, {"ESTIMATEDRH", 50},
            {"PEOPLEPOWER", 1295}, {"FORKLIFTPOWER", 10000}, {"LATENTCONSTANT", 144}, {"DEFAULTWEIGHTT", 32},
            {"DEFAULTWEIGHTK1", 2}, {"DEFAULTWEIGHTK2", 1}, {"MINBOXTEMP", -30}, {"MINAMBIENT", 50},
            {"MAXAMBIENT", 125}, {"MININFILTTEMP", 30}, {"MAXINFILTTEMP", 110}, {"MAXDOORS", 30},
            {"MAXMOTORHP", 20}, {"FACTOROFSAFETY", 5}, {"DEFAULTWALLK", 0}, {"DEFAULTFLOORK", 1},
            {"DEFAULTCEILINGK", 0}, {"MOTORTEMP", 32}, {"MAXCOLUMNWIDTH", 2500}};
        for (const auto& [name, value] : constants) s.constants.Set(QString::fromLatin1(name), value);
        for (int k = 0; k <= 24; ++k) s.errorTexts[k] = QStringLiteral("E%1").arg(k);
        for (int k = 0; k <= 25; ++k) s.messages[1][k] = QStringLiteral("M%1").arg(k);
        s.strings[11] = QStringLiteral("Generic");
        s.unitTable[4][9] = s.unitTable[4][10] = QStringLiteral("0.2930711");
        s.optionLists[201].items = {"Wall", "Floor", "Ceiling", "Partition"};
        s.optionLists[206].items = {"Panel", "Slab"};
        s.tableD = Table({{"#m", "k"}, {"Panel", "0.16"}, {"Slab", "1.25"}});
        s.grids[300].Resize(14, 3);
    }

    // Stored value and shown text at once, without running any rule.
    void Set(int n, const QString& value) {
        s.textBoxes[n].tag = value;
        s.textBoxes[n].text = value;
    }
    void Set(std::initializer_list<std::pair<int, const char*>> values) {
        for (const auto& [n, v] : values) Set(n, QString::fromLatin1(v));
    }
    QString Value(int n) const { return s.textBoxes[n].tag; }
    void MarkOverridden(int n) { s.labels[n].foreColour = OverrideColour; }
    void Cells(int g, int c, std::initializer_list<std::pair<int, const char*>> cells) {
        for (const auto& [r, v] : cells) s.grids[g].Cell(r, c).text = QString::fromLatin1(v);
    }

    // A data table from its header and data lines, as the reader would store it.
    static DataTable Table(std::initializer_list<QStringList> lines) {
        DataTable t;
        t.columns = static_cast<int>(lines.begin()->size());
        t.rows.assign(1, QStringList(t.columns + 1));
        for (auto it = lines.begin() + 1; it != lines.end(); ++it) t.rows.push_back(QStringList{QString()} + *it);
        return t;
    }
};

} // namespace corvane::test
