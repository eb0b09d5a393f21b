#pragma once

#include "base/settingsstore.h"
#include "definitions/state.h"
#include "input/fieldrules.h"
#include "input/grids.h"
#include "tests/support/testprogram.h"

#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

namespace corvane::test {

// A state with only what the calculation and the grids read, set directly, so the tests do
// not depend on the shipped language file; and a small script language for test rows.
// Setting words: "n=v" field n (stored and shown), "gG:r,c=v" a cell of grid G, "radio=n",
// "override=n" (field n typed over), "hide=n", "tG:r,c=v" (typed into a cell as the user
// does), "sec=kind,length,height,thickness,K,far side" (wall section 1),
// "pC=m,t1,t2,h,tf,c1,c2,w,e,k" (rows 3 to 12 of product column C, as many as given).
// Checking words compare a value: the setting words above plus "tN" (shown text of field N),
// "errors" (the error texts, comma separated), "backN" / "backG:r,c" (mark or normal),
// "foreG:r,c" (override or normal), "colsG", "open" (the list open over a grid cell),
// "entries" (cells of the wall grid in the entry colour).
struct CalcState : TestSession {
    static constexpr Colour OverrideColour = RGBColour(0, 0, 255);
    static constexpr Colour EntryBack = RGBColour(255, 255, 200);

    CalcState() {
        platform.allowUnscriptedMessages = true;
        s.colours = StoredColours{};
        s.colours.override = OverrideColour;
        s.colours.fieldBack = s.colours.cellBack = RGBColour(255, 255, 255);
        s.colours.cellFore = 1;
        s.colours.focusBack = EntryBack;
        for (const QString c :
             {"NORMALUSE=1",         "HEAVYUSAGE=2",       "DOCKPOWER=10",      "ENTHALPYCONSTANT=29.921",
              "VENTCONSTANT=4.5",    "INTERNALRH=50",      "ESTIMATEDRH=50",    "PEOPLEPOWER=1295",
              "FORKLIFTPOWER=10000", "LATENTCONSTANT=144", "DEFAULTWEIGHTT=32", "DEFAULTWEIGHTK1=2",
              "DEFAULTWEIGHTK2=1",   "MINBOXTEMP=-30",     "MINAMBIENT=50",     "MAXAMBIENT=125",
              "MININFILTTEMP=30",    "MAXINFILTTEMP=110",  "MAXDOORS=30",       "MAXMOTORHP=20",
              "FACTOROFSAFETY=5",    "DEFAULTFLOORK=1",    "MOTORTEMP=32",      "MAXCOLUMNWIDTH=2500"})
            s.constants.Set(c.section('=', 0, 0), c.section('=', 1).toFloat());
        for (int k = 0; k <= 28; ++k)
            s.errorTexts[k] = QStringLiteral("E%1").arg(k);
        // The texts that name what failed: "E25:659".
        for (int k : {25, 26})
            s.errorTexts[k] = QStringLiteral("E%1:%2").arg(k).arg(QStringLiteral("%1"));
        for (int k = 0; k <= 25; ++k)
            s.messages[1][k] = QStringLiteral("M%1").arg(k);
        s.strings[11] = "Generic";
        s.unitTable[4][9] = s.unitTable[4][10] = "0.2930711";
        s.optionLists[201].items = {"Wall", "Floor", "Ceiling", "Partition"};
        s.optionLists[206].items = {"Panel", "Slab"};
        s.tableD = Table({{"#m", "k"}, {"Panel", "0.16"}, {"Slab", "1.25"}});
        s.grids[300].Resize(14, 3);
    }

    QString Value(int n) const { return s.textBoxes[n].tag; }
    GridCell& Cell(const QString& key) { // "gG:r,c", "backG:r,c" ...
        const QStringList rc = key.section(':', 1).split(',');
        return s.grids[key.section(':', 0, 0).right(3).toInt()].Cell(rc[0].toInt(), rc[1].toInt());
    }

    void Apply(const QString& script) {
        for (const QString& word : script.split(' ', Qt::SkipEmptyParts)) {
            const QString key = word.section('=', 0, 0), value = word.section('=', 1);
            const QStringList list = value.split(',');
            if (key == "radio")
                s.radios[value.toInt()].value = true;
            else if (key == "override")
                SetFieldOverridden(s, value.toInt(), true);
            else if (key == "hide")
                s.textBoxes[value.toInt()].visible = false;
            else if (key == "sec")
                for (int i = 0; const int r : {1, 2, 3, 5, 7, 8})
                    s.grids[200].Cell(r, 2).text = list[i++];
            else if (key.startsWith('p'))
                for (int r = 3; r < 3 + list.size(); ++r)
                    s.grids[300].Cell(r, key.mid(1).toInt()).text = list[r - 3];
            else if (key.startsWith('t'))
                Type(key.mid(1, 3).toInt(), key, value);
            else if (key.startsWith('g'))
                Cell(key).text = value;
            else
                s.textBoxes[key.toInt()].tag = s.textBoxes[key.toInt()].text = value;
        }
    }
    void Type(int g, const QString& key, const QString& text) {
        const QStringList rc = key.section(':', 1).split(',');
        GridClick(s, g, rc[0].toInt(), rc[1].toInt());
        CellEditorGotFocus(s, g);
        CellEditorChange(s, g, text);
        CellEditorLostFocus(s, g);
    }

    QString Actual(const QString& key) {
        auto mark = [](Colour c) { return QString(c == MarkColour ? "mark" : "normal"); };
        if (key == "errors") return s.errorList.join(',');
        if (key == "open") return QString::number(s.openList);
        if (key == "entries") { // cells of the wall grid the user has to fill
            int n = 0;
            for (const auto& row : s.grids[200].cells)
                for (const GridCell& cell : row)
                    n += cell.backColour == EntryBack;
            return QString::number(n);
        }
        if (key.startsWith("cols")) return QString::number(s.grids[key.mid(4).toInt()].cols);
        if (key.startsWith("back"))
            return mark(key.contains(':') ? Cell(key).backColour
                                          : s.textBoxes[key.mid(4).toInt()].backColour);
        if (key.startsWith("fore")) return Cell(key).foreColour == OverrideColour ? "override" : "normal";
        if (key.startsWith('g')) return Cell(key).text;
        if (key.startsWith('t')) return s.textBoxes[key.mid(1).toInt()].text;
        return Value(key.toInt());
    }
    // "setting words => checking words": applies, runs the action, compares.
    void Run(const QString& line, const std::function<void()>& action = {}) {
        Apply(line.section("=>", 0, 0));
        if (action) action();
        QStringList wrong;
        for (const QString& word : line.section("=>", 1).split(' ', Qt::SkipEmptyParts))
            if (const QString a = Actual(word.section('=', 0, 0)); a != word.section('=', 1))
                wrong << word + " but " + a;
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join("; ")));
    }

    // A data table from its header and data lines, as the reader would store it.
    static DataTable Table(std::initializer_list<QStringList> lines) {
        DataTable t;
        t.columns = static_cast<int>(lines.begin()->size());
        t.rows.assign(1, QStringList(t.columns + 1));
        for (auto it = lines.begin() + 1; it != lines.end(); ++it)
            t.rows.push_back(QStringList{QString()} + *it);
        t.ReadNumbers();
        return t;
    }
};

// One data column "line" of script rows.
inline void Rows(std::initializer_list<std::pair<const char*, const char*>> rows) {
    QTest::addColumn<QString>("line");
    for (const auto& [name, line] : rows)
        QTest::newRow(name) << QString(line);
}

} // namespace corvane::test
