#include "definitions/languagefile.h"

#include "definitions/datafiles.h"
#include "base/numbertext.h"
#include "base/truetext.h"
#include "base/record.h"
#include "definitions/state.h"
#include "definitions/values.h"

#include <QFileInfo>
#include <stdexcept>

namespace corvane {

namespace {

// A line that names something the window or the tables cannot take.
struct Unusable : std::runtime_error {
    explicit Unusable(const QString& why) : std::runtime_error(why.toStdString()) {}
};


// One line of the language file, split as the reader uses it.
struct LangLine {
    QString key;      // upper case
    QString number;   // field 2 as written, upper case
    int n = 0;
    QString subKey;   // upper case
    QString value;    // quotes removed, case kept
    QString field5, field6;
};

class LanguageReader {
public:
    LanguageReader(State& s, ReadProblems& problems) : m_s(s), m_problems(problems) {}

    void Apply(const LangLine& l);
    void SetLine(int line) { m_line = line; }
    // True when the last line applied was one the reader knows (not ignored).
    bool Known() const { return !m_ignored; }
    void StartLine() { m_ignored = false; }
    void Report(const QString& what) {
        m_problems.Add(m_line, what);
        m_s.WriteLog(FormatProblem(m_problems.List().last()));
    }

private:
    void ApplyTextBox(const LangLine& l);
    void ApplyDefault(int n, const QString& value);
    void ApplyTable(const LangLine& l);
    void ApplyUnit(const LangLine& l);
    void ApplyConstant(const LangLine& l);
    void ApplyPicture(QString* target, const QString& value);
    void ApplyJustify(const QString& value);
    void Ignored(const LangLine& l) {
        m_ignored = true;
        Report(l.key + QLatin1Char(' ') + l.number + QLatin1Char(' ') + l.subKey + QStringLiteral(": not used"));
    }

    State& m_s;
    ReadProblems& m_problems;
    int m_line = 0;
    bool m_ignored = false;
};

void LanguageReader::ApplyPicture(QString* target, const QString& value) {
    const QString path = m_s.dataFolder + value;
    if (!QFileInfo(path).isFile()) {
        Report(QStringLiteral("picture '") + path + QStringLiteral("' cannot be loaded"));
        return;
    }
    *target = path;
}

void LanguageReader::ApplyJustify(const QString& value) {
    const QString v = value.trimmed().toUpper();
    Alignment a;
    if (v == QLatin1String("LEFT")) a = Alignment::Left;
    else if (v == QLatin1String("RIGHT")) a = Alignment::Right;
    else if (v == QLatin1String("CENTRE")) a = Alignment::Centre;
    else throw Unusable(QStringLiteral("alignment '") + value + QStringLiteral("' is not LEFT, CENTRE or RIGHT"));
    for (int n = 0; n <= 14; ++n) {
        if (Button* b = m_s.buttons.Find(n)) b->alignment = a;
        if (Button* b = m_s.shadows.Find(n)) b->alignment = a;
        m_s.MarkDirty(ControlKind::Button, n);
        m_s.MarkDirty(ControlKind::Shadow, n);
    }
}

void LanguageReader::ApplyDefault(int n, const QString& value) {
    TextBox& box = m_s.textBoxes[n];
    box.defaultValue = value;
    // The contacts page belongs to the open job; its defaults only fill a new one.
    if (n >= 700 && n <= 799 && !m_s.currentJobPath.isEmpty()) return;
    const QString key = QStringLiteral("TextBox") + QString::number(n);
    const QString v = m_s.settings.Get(m_s.settingsSection, key, value);
    m_s.settings.Save(m_s.settingsSection, key, v);
    box.tag = v;
    m_s.SetTextQuietly(n, v);
    m_s.MarkDirty(ControlKind::TextBox, n);
}

void LanguageReader::ApplyTextBox(const LangLine& l) {
    const int n = l.n;
    if (l.subKey == QLatin1String("CAPTION")) {
        Label& label = m_s.labels[n];
        label.caption = l.value;
        label.visible = !l.value.isEmpty();
        m_s.MarkDirty(ControlKind::Label, n);
    } else if (l.subKey == QLatin1String("UNITS")) {
        Label& unit = m_s.unitLabels[n];
        unit.tag = l.value;
        const QString caption = InitialUnitName(m_s, n, l.value);
        unit.visible = !caption.isEmpty();
        m_s.MarkDirty(ControlKind::UnitLabel, n);
        m_s.SetUnitCaption(n, caption);
    } else if (l.subKey == QLatin1String("HINT")) {
        m_s.textBoxes[n].hint = l.value.left(255);
    } else if (l.subKey == QLatin1String("DEFAULT")) {
        ApplyDefault(n, l.value);
    } else if (l.subKey == QLatin1String("TOOLTIP")) {
        m_s.textBoxes[n].tooltip = l.value;
    } else if (l.subKey == QLatin1String("VISIBLE")) {
        // Text box, caption and unit label show and hide together; each that exists follows.
        const bool visible = IsTrueText(l.value);
        TextBox* box = m_s.textBoxes.Find(n);
        Label* label = m_s.labels.Find(n);
        Label* unit = m_s.unitLabels.Find(n);
        if (!box && !label && !unit) throw MissingControl(ControlKind::TextBox, n);
        if (box) box->visible = visible;
        if (label) label->visible = visible;
        if (unit) unit->visible = visible;
        m_s.MarkDirty(ControlKind::TextBox, n);
        m_s.MarkDirty(ControlKind::Label, n);
        m_s.MarkDirty(ControlKind::UnitLabel, n);
    } else {
        Ignored(l);
    }
}

void LanguageReader::ApplyTable(const LangLine& l) {
    // The digits of N address a grid and a row: "213" is row 13 of grid 200.
    const QString digits = l.number.trimmed();
    bool ok = digits.size() >= 2 && digits[0].isDigit();
    const int row = ok ? digits.right(2).toInt(&ok) : 0;
    if (!ok || row < 0) throw Unusable(QStringLiteral("'") + digits + QStringLiteral("' is not a grid row"));
    const int g = digits[0].digitValue() * 100;
    Grid& grid = m_s.grids[g];

    const auto insertAt = [](QStringList& list, int position, const QString& text) {
        // Rows come in order from 0; a row beyond the end of the list is ignored.
        if (position <= list.size()) list.insert(position, text);
    };
    if (l.subKey == QLatin1String("CAPTION")) {
        WriteGridCell(m_s, g, row, 0, l.value);
    } else if (l.subKey == QLatin1String("UNITS")) {
        insertAt(grid.categories, row, l.value);
        if (!grid.InRange(row, 1)) throw Unusable(QStringLiteral("grid ") + QString::number(g) + QStringLiteral(" has no row ") + QString::number(row));
        // A row shown in metric units (a language change) goes back to imperial units
        // before its unit cell is renamed, so the values keep their meaning.
        const int unitRow = CategoryRow(m_s, l.value);
        if (unitRow >= 0) {
            const QString metric = m_s.unitTable[3][unitRow];
            const QString imperial = m_s.unitTable[2][unitRow];
            if (!metric.isEmpty() && metric != imperial && grid.Text(row, 1) == metric) {
                const QString conversion = m_s.unitTable[4][unitRow];
                const bool ftoc = conversion == QLatin1String("FTOC");
                const double factor = ReadNumber(conversion).value_or(0.0);
                if (ftoc || (IsNumeric(conversion) && factor != 0))
                    for (int c = 2; c < grid.cols; ++c) {
                        const auto v = ReadNumber(grid.Text(row, c));
                        if (!v || grid.Text(row, c).isEmpty()) continue;
                        const double x = ftoc ? *v * 1.8 + 32.0 : *v / factor;
                        grid.Cell(row, c).text = TextFromSingle(RoundHundredths(static_cast<float>(x)));
                    }
            }
        }
        grid.Cell(row, 1).text = InitialUnitName(m_s, -1, l.value);
        m_s.MarkDirty(ControlKind::Grid, g);
    } else if (l.subKey == QLatin1String("HINT")) {
        insertAt(grid.hints, row, l.value);
    } else if (l.subKey == QLatin1String("TYPE")) {
        insertAt(grid.rowTypes, row, l.value);
    } else {
        Ignored(l);
    }
}

void LanguageReader::ApplyUnit(const LangLine& l) {
    const int row = l.n;
    if (row > 20) throw Unusable(QStringLiteral("unit row ") + QString::number(row) + QStringLiteral(" is beyond row 20"));
    m_s.unitTable[1][row] = l.subKey;
    m_s.unitTable[2][row] = l.value;
    m_s.unitTable[3][row] = l.field5;
    if (l.field6 == QLatin1String("FTOC")) {
        m_s.unitTable[4][row] = l.field6;
        return;
    }
    const auto factor = ReadNumber(l.field6);
    if (l.field6.trimmed().isEmpty() || !factor)
        throw Unusable(QStringLiteral("conversion '") + l.field6 + QStringLiteral("' is neither a number nor FTOC"));
    m_s.unitTable[4][row] = TextFromSingle(static_cast<float>(*factor));
}

void LanguageReader::ApplyConstant(const LangLine& l) {
    const auto v = ReadNumber(l.value);
    if (!v) throw Unusable(QStringLiteral("constant value '") + l.value + QStringLiteral("' is not a number"));
    if (!m_s.constants.Set(l.subKey, static_cast<float>(*v)))
        Report(QStringLiteral("constant ") + l.subKey.trimmed() + QStringLiteral(" is unknown or out of range"));
}

void LanguageReader::Apply(const LangLine& l) {
    State& s = m_s;
    const QString& key = l.key;
    const QString& sub = l.subKey;
    const QString& value = l.value;
    const int n = l.n;

    if (key == QLatin1String("TEXTBOX")) {
        ApplyTextBox(l);
    } else if (key == QLatin1String("OPTIONLIST")) {
        if (sub == QLatin1String("ITEM")) {
            s.optionLists[n].items << value;
            s.MarkDirty(ControlKind::OptionList, n);
        } else if (sub == QLatin1String("VALUE")) {
            s.valueLists[n].values << value;
        } else if (sub == QLatin1String("TOOLTIP")) {
            s.optionLists[n].tooltip = value;
        } else {
            Ignored(l);
        }
    } else if (key == QLatin1String("BUTT")) {
        Button& b = s.buttons[n];
        if (sub == QLatin1String("CAPTION")) {
            b.caption = value;
            if (Button* shadow = s.shadows.Find(n)) shadow->caption.clear();
        } else if (sub == QLatin1String("TOOLTIP")) {
            b.tooltip = value;
        } else if (sub == QLatin1String("VISIBLE")) {
            b.visible = IsTrueText(value);
            if (Button* shadow = s.shadows.Find(n)) shadow->visible = b.visible;
            s.MarkDirty(ControlKind::Shadow, n);
        } else {
            Ignored(l);
        }
        s.MarkDirty(ControlKind::Button, n);
    } else if (key == QLatin1String("HYPERLINK")) {
        Link& link = s.links[n];
        if (sub == QLatin1String("CAPTION")) link.caption = value;
        else if (sub == QLatin1String("TOOLTIP")) link.tooltip = value;
        else if (sub == QLatin1String("VISIBLE")) link.visible = IsTrueText(value);
        else if (sub == QLatin1String("TAG")) link.tag = value;
        else Ignored(l);
        s.MarkDirty(ControlKind::Link, n);
    } else if (key == QLatin1String("CHECK")) {
        Check& check = s.checks[n];
        if (sub == QLatin1String("CAPTION")) check.caption = value;
        else if (sub == QLatin1String("TOOLTIP")) check.tooltip = value;
        else if (sub == QLatin1String("VISIBLE")) check.visible = IsTrueText(value);
        else if (sub == QLatin1String("HINT")) check.hint = value;
        else Ignored(l);
        s.MarkDirty(ControlKind::Check, n);
    } else if (key == QLatin1String("RADIO")) {
        Radio& radio = s.radios[n];
        if (sub == QLatin1String("CAPTION")) radio.caption = value;
        else if (sub == QLatin1String("TOOLTIP")) radio.tooltip = value;
        else if (sub == QLatin1String("VISIBLE")) radio.visible = IsTrueText(value);
        else if (sub == QLatin1String("HINT")) radio.hint = value;
        else Ignored(l);
        s.MarkDirty(ControlKind::Radio, n);
    } else if (key == QLatin1String("CFRAME")) {
        Frame& frame = s.frames[n];
        if (sub == QLatin1String("CAPTION")) frame.caption = value;
        else if (sub == QLatin1String("TOOLTIP")) frame.tooltip = value;
        else if (sub == QLatin1String("VISIBLE")) frame.visible = IsTrueText(value);
        else Ignored(l);
        s.MarkDirty(ControlKind::Frame, n);
    } else if (key == QLatin1String("TABLE")) {
        ApplyTable(l);
    } else if (key == QLatin1String("FEXT")) {
        s.jobExtension = value.toLower();
    } else if (key == QLatin1String("LOCALE")) {
        s.localeName = value.trimmed();
    } else if (key == QLatin1String("HELPFILE")) {
        s.helpFile = s.dataFolder + value;
    } else if (key == QLatin1String("HINTCAPTION")) {
        s.hintCaption = value;
    } else if (key == QLatin1String("CATALOG")) {
        s.catalogPath = s.settings.Get(s.settingsSection, QStringLiteral("CatalogPath"), value);
    } else if (key == QLatin1String("CSPECS")) {
        s.cSpecPath = s.settings.Get(s.settingsSection, QStringLiteral("CSpecPath"), value);
    } else if (key == QLatin1String("ESPECS")) {
        s.eSpecPath = s.settings.Get(s.settingsSection, QStringLiteral("ESpecPath"), value);
    } else if (key == QLatin1String("EMAILTO")) {
        s.emailTo = s.settings.Get(s.settingsSection, QStringLiteral("EmailTo"), value);
    } else if (key == QLatin1String("UPDATEURL")) {
        s.updateUrl = value;
    } else if (key == QLatin1String("PFORM")) {
        (n == 1 ? s.printForm1 : s.printForm2) = value;
    } else if (key == QLatin1String("ACONST")) {
        ApplyConstant(l);
    } else if (key == QLatin1String("UNIT")) {
        ApplyUnit(l);
    } else if (key == QLatin1String("STRING")) {
        s.strings.at(n) = value;
    } else if (key == QLatin1String("ERROR")) {
        s.errorTexts.at(n) = value;
    } else if (key == QLatin1String("MSGBOX")) {
        if (sub == QLatin1String("CAPTION")) s.messages[0].at(n) = value;
        else if (sub == QLatin1String("MESSAGE")) s.messages[1].at(n) = value;
        else Ignored(l);
    } else if (key == QLatin1String("FORM")) {
        if (sub == QLatin1String("CAPTION")) {
            s.baseTitle = value;
            s.windowCaption = value;
        } else if (sub == QLatin1String("ICON")) {
            ApplyPicture(&s.iconPicture, value);
        } else {
            Ignored(l);
        }
    } else if (key == QLatin1String("ICON")) {
        ApplyPicture(&s.iconPicture, value);
    } else if (key == QLatin1String("PICTURE")) {
        if (sub == QLatin1String("PICTURE")) ApplyPicture(&s.logoPicture, value);
        else if (sub == QLatin1String("THUMBNAILLOGO")) ApplyPicture(&s.thumbnailPicture, value);
        else if (sub == QLatin1String("PRINTLOGO")) s.printLogoPicture = s.dataFolder + value;
        else Ignored(l);
    } else if (key == QLatin1String("HINTBOX")) {
        if (sub == QLatin1String("DEFAULT")) {
            s.hintText = value;
            s.hintVisible = true;
        } else {
            Ignored(l);
        }
    } else if (key == QLatin1String("BUTTONS")) {
        if (sub == QLatin1String("JUSTIFY")) ApplyJustify(value);
        else Ignored(l);
    } else {
        Ignored(l);
    }
}

// Splits a record into the line's parts; false for a line that is not used (fewer than four
// fields, or a negative number in field 2, which is how a line is switched off).
bool ParseLine(const Record& record, LangLine* l, QString* problem) {
    if (!record.HasAtLeast(4)) return false;
    l->key = record.Field(1).trimmed().toUpper();
    l->number = record.Field(2).toUpper();
    // A text such as "MENU" counts as 0.
    const double number = ReadNumber(l->number.trimmed()).value_or(0.0);
    if (number < 0) return false;
    if (number > 32767.0) {
        *problem = QStringLiteral("number ") + l->number + QStringLiteral(" is too large");
        return false;
    }
    l->n = RoundHalfEven(number);
    if (l->n > 32767) {
        *problem = QStringLiteral("number ") + l->number + QStringLiteral(" is too large");
        return false;
    }
    l->subKey = record.Field(3).trimmed().toUpper();
    QString value = record.Field(4);
    if (value.startsWith(QLatin1Char('"'))) {
        value.chop(1);
        value.remove(0, 1);
    }
    l->value = value;
    l->field5 = record.Field(5);
    l->field6 = record.Field(6);
    return true;
}

// Runs one step after the file; a failure is logged and the next step runs.
template <class F>
void AfterStep(State& s, const char* what, F step) {
    try {
        step();
    } catch (const ProgramEnd&) {
        throw;
    } catch (const std::exception& e) {
        s.WriteLog(QString::fromLatin1(what) + QStringLiteral(": ") + QString::fromStdString(e.what()));
    }
}

} // namespace

QStringList ReadOptionListItems(const QString& path, int list) {
    QStringList items;
    LineReader file(path);
    if (!file.Open()) return items;
    while (!file.AtEnd()) {
        LangLine line;
        QString problem;
        if (ParseLine(file.ReadRecord(), &line, &problem) && line.key == QLatin1String("OPTIONLIST") &&
            line.n == list && line.subKey == QLatin1String("ITEM"))
            items << line.value;
    }
    return items;
}

ReadProblems ReadResourceFile(State& s) {
    for (auto& table : s.messages) table.fill(QString());
    s.errorTexts.fill(QString());
    s.localeName.clear();
    s.WriteLog(QStringLiteral(">ReadResourceFile()"));

    QString name = s.settings.Get(s.settingsSection, QStringLiteral("Language_File"));
    if (name.isEmpty()) {
        name = QStringLiteral("default.lng");
        s.settings.Save(s.settingsSection, QStringLiteral("Language_File"), name);
    }
    const QString path = s.dataFolder + name;
    s.WriteLog(path);

    TextBox& language = s.textBoxes[803];
    language.tag = name.left(name.size() - 3);
    s.SetTextQuietly(803, language.tag);

    for (auto& [n, list] : s.optionLists) {
        list.items.clear();
        list.selected = -1;
        s.MarkDirty(ControlKind::OptionList, n);
    }
    for (auto& [n, list] : s.valueLists) list.values.clear();
    for (int g : {200, 300})
        if (Grid* grid = s.grids.Find(g)) grid->categories.clear();

    FileExists(s, path, true);
    LineReader file(path);
    if (!file.Open()) {
        s.WriteLog(file.Refusal());
        FailResourceFile(s, path);
    }
    ReadProblems& problems = file.Problems();
    for (const QString& line : problems.Formatted()) s.WriteLog(line);

    LanguageReader reader(s, problems);
    int used = 0;
    while (!file.AtEnd()) {
        const Record record = file.ReadRecord();
        reader.SetLine(file.LineNumber());
        LangLine line;
        QString problem;
        if (!ParseLine(record, &line, &problem)) {
            if (!problem.isEmpty()) reader.Report(problem);
            continue;
        }
        try {
            reader.StartLine();
            reader.Apply(line);
            if (reader.Known()) ++used;
        } catch (const ProgramEnd&) {
            throw;
        } catch (const std::exception& e) {
            reader.Report(line.key + QLatin1Char(' ') + line.number + QLatin1Char(' ') + line.subKey +
                          QStringLiteral(": ") + QString::fromStdString(e.what()));
        }
    }

    // A file without a single line the reader can use (empty, another kind of file, line ends
    // it cannot split) would start the window without any text: as good as missing.
    if (used == 0) {
        s.WriteLog(QFileInfo(path).fileName() + QStringLiteral(": no usable line"));
        FailResourceFile(s, path);
    }

    AfterStep(s, "unit switches", [&] {
        if (s.events.unitSystemsChanged) s.events.unitSystemsChanged();
    });
    AfterStep(s, "frame 2", [&] {
        s.frames[2].visible = !s.currentJobPath.isEmpty();
        s.MarkDirty(ControlKind::Frame, 2);
    });
    AfterStep(s, "tooltips", [&] {
        s.thumbnailTooltip = s.strings[20];
        s.specLinks[0].tooltip = s.strings[21];
        s.specLinks[1].tooltip = s.strings[22];
    });
    AfterStep(s, "product heading", [&] {
        // A numeric heading marks a product of the user's; the generic product is named.
        const QString heading = s.grids[300].Text(0, 2);
        if (heading.isEmpty() || !IsNumeric(heading)) WriteGridCell(s, 300, 0, 2, s.strings[11]);
    });
    s.MarkAllDirty();
    return problems;
}

} // namespace corvane
