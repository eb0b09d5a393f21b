#include "definitions/colourfile.h"

#include "definitions/datafiles.h"
#include "base/paths.h"
#include "base/numbertext.h"
#include "base/record.h"
#include "definitions/state.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace corvane {

namespace {

struct Unusable : std::runtime_error {
    explicit Unusable(const QString& why) : std::runtime_error(why.toStdString()) {}
};

// One colour part: a whole number 0 to 255.
int ColourPart(const QString& text) {
    const QString t = text.trimmed();
    const auto v = ReadNumber(t);
    if (t.isEmpty() || !v || *v != std::floor(*v) || *v < 0 || *v > 255)
        throw Unusable(QStringLiteral("'") + text + QStringLiteral("' is not a colour value from 0 to 255"));
    return static_cast<int>(*v);
}

std::array<float, 3> Triple(const Record& r) {
    std::array<float, 3> t{};
    for (int i = 0; i < 3; ++i) {
        const QString text = r.Field(4 + i).trimmed();
        const auto v = ReadNumber(text);
        if (text.isEmpty() || !v) throw Unusable(QStringLiteral("'") + text + QStringLiteral("' is not a number"));
        t[i] = static_cast<float>(*v);
    }
    return t;
}

// The override marks of the open job keep their meaning through a new scheme: every marked
// control is painted again in the new scheme's override colour.
void RepaintOverrideMarks(State& s) {
    const Colour mark = s.colours.override;
    for (auto& [n, l] : s.labels)
        if (l.overridden) l.foreColour = mark;
    for (auto& [n, l] : s.unitLabels)
        if (l.overridden) l.foreColour = mark;
    for (auto& [n, f] : s.frames)
        if (f.overridden) f.foreColour = mark;
    for (auto& [g, grid] : s.grids)
        for (auto& row : grid.cells)
            for (GridCell& cell : row)
                if (cell.overridden) cell.foreColour = mark;
}

void PaintGrid(State& s, bool back, Colour colour) {
    for (int g : {200, 300}) {
        Grid& grid = s.grids[g];
        Colour& normal = back ? grid.colours.back : grid.colours.fore;
        // Cells in the normal colour follow it; cells with a mark of their own keep it.
        for (auto& row : grid.cells)
            for (GridCell& cell : row) {
                Colour& own = back ? cell.backColour : cell.foreColour;
                if (own == normal) own = colour;
            }
        normal = colour;
        s.MarkDirty(ControlKind::Grid, g);
    }
}

void SetGridColour(State& s, Colour GridColours::*member, Colour colour) {
    for (int g : {200, 300}) {
        s.grids[g].colours.*member = colour;
        s.MarkDirty(ControlKind::Grid, g);
    }
}

template <class Array, class F>
void ForEach(Array& controls, F f) {
    for (auto& [n, control] : controls) f(n, control);
}

// Applies one line; false when group and property are not a pair the scheme knows.
bool ApplyColourLine(State& s, const QString& group, const QString& property, const Record& r) {
    if (group == QLatin1String("FORM")) {
        if (property == QLatin1String("PERCENT")) s.colours.percent = Triple(r);
        else if (property == QLatin1String("BIAS")) s.colours.bias = Triple(r);
        else return false;
        return true;
    }
    const Colour colour = RGBColour(ColourPart(r.Field(4)), ColourPart(r.Field(5)), ColourPart(r.Field(6)));
    const auto is = [&](const char* p) { return property == QLatin1String(p); };

    if (group == QLatin1String("LOGO")) {
        if (!is("BACKCOLOR")) return false;
        s.pages[0].backColour = colour;
        s.logoBackColour = colour;
    } else if (group == QLatin1String("HINTBOX")) {
        if (!is("FORECOLOR")) return false;
        s.hintForeColour = colour;
    } else if (group == QLatin1String("FRAMES")) {
        // Every FRAMES line sets the option buttons and the check box bold.
        ForEach(s.radios, [](int, Radio& c) { c.bold = true; });
        ForEach(s.checks, [](int, Check& c) { c.bold = true; });
        if (is("BACKCOLOR")) {
            ForEach(s.pages, [&](int p, PageFrame& c) { if (p != 0) c.backColour = colour; });
            ForEach(s.frames, [&](int, Frame& c) { c.backColour = colour; });
            ForEach(s.radios, [&](int, Radio& c) { c.backColour = colour; });
            ForEach(s.checks, [&](int, Check& c) { c.backColour = colour; });
            ForEach(s.specLinks, [&](int, Link& c) { c.backColour = colour; });
        } else if (is("FORECOLOR")) {
            ForEach(s.pages, [&](int p, PageFrame& c) { if (p != 0) c.foreColour = colour; });
            ForEach(s.frames, [&](int, Frame& c) { c.foreColour = colour; });
        } else {
            return false;
        }
    } else if (group == QLatin1String("LABELS")) {
        // Every LABELS line sets the labels, option buttons and the check box bold.
        ForEach(s.labels, [](int, Label& c) { c.bold = true; });
        ForEach(s.unitLabels, [](int, Label& c) { c.bold = true; });
        ForEach(s.radios, [](int, Radio& c) { c.bold = true; });
        ForEach(s.checks, [](int, Check& c) { c.bold = true; });
        if (is("BACKCOLOR")) {
            ForEach(s.labels, [&](int, Label& c) { c.backColour = colour; });
            ForEach(s.unitLabels, [&](int, Label& c) { c.backColour = colour; });
        } else if (is("FORECOLOR")) {
            ForEach(s.labels, [&](int, Label& c) { c.foreColour = colour; });
            ForEach(s.unitLabels, [&](int, Label& c) { c.foreColour = colour; });
            ForEach(s.radios, [&](int, Radio& c) { c.foreColour = colour; });
            ForEach(s.checks, [&](int, Check& c) { c.foreColour = colour; });
        } else {
            return false;
        }
    } else if (group == QLatin1String("BUTTON")) {
        if (is("SHADOW")) ForEach(s.shadows, [&](int, Button& c) { c.foreColour = colour; });
        else if (is("SHADOWBOX")) ForEach(s.shadows, [&](int, Button& c) { c.backColour = colour; });
        else if (is("SHADOWSELECT")) s.colours.highlight = colour;
        else if (is("FORECOLOR")) {
            ForEach(s.buttons, [&](int, Button& c) { c.foreColour = colour; });
            s.colours.normalButton = colour;
        } else if (is("HIGHLIGHT")) s.colours.hover = colour;
        else return false;
    } else if (group == QLatin1String("TEXTBOX")) {
        if (is("BACKCOLOR")) {
            ForEach(s.textBoxes, [&](int, TextBox& c) { c.backColour = colour; });
            s.colours.fieldBack = colour;
        } else if (is("FORECOLOR")) {
            ForEach(s.textBoxes, [&](int, TextBox& c) { c.foreColour = colour; });
            s.colours.fieldFore = colour;
        } else if (is("BACKCOLORSEL")) s.colours.focusBack = colour;
        else if (is("FORECOLORSEL")) s.colours.focusFore = colour;
        else if (is("OVERRIDE")) s.colours.override = colour;
        else return false;
        // The recent-jobs list is drawn in the colours of a field that has the focus.
        s.historyBackColour = s.colours.focusBack;
        s.historyForeColour = s.colours.focusFore;
    } else if (group == QLatin1String("OPTIONLIST")) {
        if (is("BACKCOLOR")) ForEach(s.optionLists, [&](int, OptionList& c) { c.backColour = colour; });
        else if (is("FORECOLOR")) ForEach(s.optionLists, [&](int, OptionList& c) { c.foreColour = colour; });
        else return false;
    } else if (group == QLatin1String("UNDERLINE")) {
        if (!is("FORECOLOR")) return false;
        ForEach(s.underlines, [&](int, Underline& c) { c.colour = colour; });
        s.underlineColour = colour;
    } else if (group == QLatin1String("TABLE")) {
        if (is("BACKCOLOR")) {
            PaintGrid(s, true, colour);
            s.colours.cellBack = colour;
        } else if (is("FORECOLOR")) {
            PaintGrid(s, false, colour);
            s.colours.cellFore = colour;
        } else if (is("BACKCOLORBKG")) SetGridColour(s, &GridColours::backBkg, colour);
        else if (is("BACKCOLORFIXED")) SetGridColour(s, &GridColours::backFixed, colour);
        else if (is("FORECOLORFIXED")) SetGridColour(s, &GridColours::foreFixed, colour);
        else if (is("GRIDCOLOR")) SetGridColour(s, &GridColours::grid, colour);
        else if (is("GRIDCOLORFIXED")) SetGridColour(s, &GridColours::gridFixed, colour);
        else if (is("BACKCOLORSEL")) SetGridColour(s, &GridColours::backSel, colour);
        else if (is("FORECOLORSEL")) SetGridColour(s, &GridColours::foreSel, colour);
        else return false;
    } else if (group == QLatin1String("BORDER")) {
        s.borderColour = colour;
    } else if (group == QLatin1String("SHAPEBOX")) {
        if (is("BACKCOLOR")) s.shapeBoxBackColour = colour;
        else if (is("LINE")) s.colours.line = colour;
        else if (is("LINESEL")) s.colours.lineSelected = colour;
        else return false;
    } else if (group == QLatin1String("HYPERLINK")) {
        // A link the user has followed keeps the visited colour through a change of colour file.
        if (is("FORECOLOR")) {
            ForEach(s.links, [&](int, Link& c) {
                if (!c.visited) c.foreColour = colour;
            });
            ForEach(s.specLinks, [&](int, Link& c) { c.foreColour = colour; });
        } else if (is("VISITED")) {
            s.colours.visited = colour;
            ForEach(s.links, [&](int, Link& c) {
                if (c.visited) c.foreColour = colour;
            });
        } else {
            return false;
        }
    } else {
        return false;
    }
    return true;
}

void LoadFileList(State& s, const char* procedure, const QString& folder, int n, const QString& pattern) {
    s.WriteLog(QLatin1Char('>') + QLatin1String(procedure) + QLatin1Char('(') + folder + QStringLiteral(", ") +
               QString::number(n) + QLatin1Char(')'));
    OptionList& list = s.optionLists[n];
    list.items.clear();
    list.selected = -1;
    for (const QString& file : FilesMatching(folder, pattern)) list.items << file.left(file.size() - 3);
    s.MarkDirty(ControlKind::OptionList, n);
}

} // namespace

ReadProblems ReadColourFile(State& s) {
    s.WriteLog(QStringLiteral(">ReadColourFile()"));
    const QString defaultName = QStringLiteral("default.col");
    QString name = s.settings.Get(s.settingsSection, QStringLiteral("Colour_File"));
    if (name.isEmpty()) {
        name = defaultName;
        s.settings.Save(s.settingsSection, QStringLiteral("Colour_File"), name);
    }
    QString path = s.dataFolder + name;
    if (!FileExists(s, path, false)) {
        // Without its default scheme the installation is broken beyond a message.
        if (name.compare(defaultName, Qt::CaseInsensitive) == 0) throw ProgramEnd(2, QStringLiteral("No colour scheme ") + path);
        s.WriteLog(QStringLiteral("Colour scheme '") + path + QStringLiteral("' is missing; the default scheme is used"));
        name = defaultName;
        s.settings.Save(s.settingsSection, QStringLiteral("Colour_File"), name);
        path = s.dataFolder + name;
    }

    TextBox& field = s.textBoxes[804];
    field.tag = name.left(name.size() - 3);
    s.SetTextQuietly(804, field.tag);

    FileExists(s, path, true);
    LineReader file(path);
    if (!file.Open()) {
        s.WriteLog(file.Refusal());
        FailResourceFile(s, path);
    }
    ReadProblems& problems = file.Problems();
    for (const QString& line : problems.Formatted()) s.WriteLog(line);
    const auto report = [&](const QString& what) {
        problems.Add(file.LineNumber(), what);
        s.WriteLog(FormatProblem(problems.List().last()));
    };
    while (!file.AtEnd()) {
        const Record record = file.ReadRecord();
        if (!record.HasAtLeast(4)) continue;
        const QString group = record.Field(2).trimmed().toUpper();
        const QString property = record.Field(3).trimmed().toUpper();
        try {
            if (!ApplyColourLine(s, group, property, record))
                report(group + QLatin1Char(' ') + property + QStringLiteral(": not used"));
        } catch (const std::exception& e) {
            report(group + QLatin1Char(' ') + property + QStringLiteral(": ") + QString::fromStdString(e.what()));
        }
    }
    RepaintOverrideMarks(s);
    s.MarkAllDirty();
    return problems;
}

void LoadColourList(State& s, const QString& folder, int n) {
    LoadFileList(s, "LoadColourList", folder, n, QStringLiteral("*.col"));
}

void LoadLanguageList(State& s, const QString& folder, int n) {
    LoadFileList(s, "LoadLanguageList", folder, n, QStringLiteral("*.lng"));
}

namespace {

double RelativeLuminance(Colour c) {
    const auto channel = [](int v) {
        const double x = v / 255.0;
        return x <= 0.04045 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c & 0xFF) + 0.7152 * channel((c >> 8) & 0xFF) + 0.0722 * channel((c >> 16) & 0xFF);
}

} // namespace

double ContrastRatio(Colour a, Colour b) {
    const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Colour ReadableTextColour(Colour back, Colour preferred) {
    if (ContrastRatio(back, preferred) >= ReadableContrast) return preferred;
    const Colour black = RGBColour(0, 0, 0), white = RGBColour(255, 255, 255);
    return ContrastRatio(back, black) >= ContrastRatio(back, white) ? black : white;
}

} // namespace corvane
