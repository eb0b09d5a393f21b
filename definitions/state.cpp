#include "definitions/state.h"

#include "base/installation.h"
#include "base/numbertext.h"
#include "definitions/windowdefinition.h"

#include <QDir>

namespace corvane {

std::optional<double> DataTable::Number(int column, int row) const {
    const int stride = columns + 1;
    if (column >= 0 && column < stride && row >= 0) {
        const std::size_t at = static_cast<std::size_t>(row) * static_cast<std::size_t>(stride) + column;
        if (at < numbers.size()) return numbers[at];
    }
    return ReadNumber(Cell(column, row));
}

void DataTable::ReadNumbers() {
    numbers.clear();
    const std::size_t stride = static_cast<std::size_t>(columns) + 1;
    numbers.reserve(rows.size() * stride);
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < stride; ++c)
            numbers.push_back(ReadNumber(Cell(static_cast<int>(c), static_cast<int>(r))));
}

bool CalcConstants::Set(const QString& rawName, float value) {
    const QString name = rawName.trimmed().toUpper();
    struct Entry {
        const char* name;
        float CalcConstants::*member;
    };
    static const Entry entries[] = {
        {"HEAVYUSAGE", &CalcConstants::heavyUsage}, {"LONGSTORAGE", &CalcConstants::longStorage},
        {"NORMALUSE", &CalcConstants::normalUse}, {"DOCKPOWER", &CalcConstants::dockPower},
        {"ENTHALPYCONSTANT", &CalcConstants::enthalpyConstant}, {"VENTCONSTANT", &CalcConstants::ventConstant},
        {"INTERNALRH", &CalcConstants::internalRH}, {"ESTIMATEDRH", &CalcConstants::estimatedRH},
        {"PEOPLEPOWER", &CalcConstants::peoplePower}, {"FORKLIFTPOWER", &CalcConstants::forkliftPower},
        {"LIGHTPOWER", &CalcConstants::lightPower}, {"LATENTCONSTANT", &CalcConstants::latentConstant},
        {"DEFAULTWEIGHTT", &CalcConstants::defaultWeightT}, {"DEFAULTWEIGHTK1", &CalcConstants::defaultWeightK1},
        {"DEFAULTWEIGHTK2", &CalcConstants::defaultWeightK2}, {"MINBOXTEMP", &CalcConstants::minBoxTemp},
        {"MINAMBIENT", &CalcConstants::minAmbient}, {"MAXAMBIENT", &CalcConstants::maxAmbient},
        {"MININFILTTEMP", &CalcConstants::minInfiltTemp}, {"MAXINFILTTEMP", &CalcConstants::maxInfiltTemp},
        {"MAXDOORS", &CalcConstants::maxDoors}, {"MAXMOTORHP", &CalcConstants::maxMotorHP},
        {"FACTOROFSAFETY", &CalcConstants::factorOfSafety}, {"RUNTIMETEMP1", &CalcConstants::runTimeTemp1},
        {"RUNTIMETEMP2", &CalcConstants::runTimeTemp2}, {"RUNTIME1", &CalcConstants::runTime1},
        {"RUNTIME2", &CalcConstants::runTime2}, {"RUNTIME3", &CalcConstants::runTime3},
        {"DEFAULTWALLK", &CalcConstants::defaultWallK}, {"DEFAULTFLOORK", &CalcConstants::defaultFloorK},
        {"DEFAULTCEILINGK", &CalcConstants::defaultCeilingK}, {"MOTORTEMP", &CalcConstants::motorTemp},
        {"CONDENSER50HZFACTOR", &CalcConstants::condenser50HzFactor},
        {"CONDENSER60HZFACTOR", &CalcConstants::condenser60HzFactor},
        {"COOLER50HZFACTOR", &CalcConstants::cooler50HzFactor},
        {"COOLER60HZFACTOR", &CalcConstants::cooler60HzFactor},
        {"UNDERRANGE", &CalcConstants::underRange}, {"AVERAGECURTAINS", &CalcConstants::averageCurtains},
    };
    if (name == QLatin1String("MAXCOLUMNWIDTH")) {
        if (value < -32768.5f || value > 32767.5f) return false;
        maxColumnWidth = static_cast<qint16>(RoundHalfEven(value));
        return true;
    }
    for (const Entry& e : entries)
        if (name == QLatin1String(e.name)) {
            this->*(e.member) = value;
            return true;
        }
    return false;
}

State::State(const QString& folder, Platform& p, SettingsStore& store)
    : platform(p), settings(store), programFolder(QDir::cleanPath(folder)) {
    dataFolder = programFolder + QStringLiteral("/opdata/");
    productFolder = programFolder + QStringLiteral("/proddata/");
    const QString logFolder = WritableFolder(programFolder);
    log.SetFiles(logFolder + QStringLiteral("/!!LogFile.txt"), logFolder + QStringLiteral("/Log.txt"));

    for (const FieldDef& f : FieldDefinitions()) {
        if (HasMember(f, Member::TextBox)) {
            TextBox& t = textBoxes.Add(f.number);
            t.page = f.page;
            t.container = f.container;
            t.kind = f.Kind();
        }
        if (HasMember(f, Member::Caption)) {
            Label& l = labels.Add(f.number);
            l.tag = QString::fromLatin1(f.type);
            l.page = f.page;
            l.container = f.container;
        }
        if (HasMember(f, Member::Unit)) {
            Label& u = unitLabels.Add(f.number);
            u.page = f.page;
            u.container = f.container;
            u.tag = QStringLiteral("NONE");
        }
        if (HasMember(f, Member::OptionList)) optionLists.Add(f.number).page = f.page;
        if (HasMember(f, Member::ValueList)) valueLists.Add(f.number);
        if (HasMember(f, Member::ListButton)) listButtons.Add(f.number);
    }
    for (const LabelDef& d : LabelDefinitions()) {
        Label& l = labels.Add(d.number);
        l.tag = QString::fromLatin1(d.type);
        l.page = d.page;
        l.container = d.container;
    }
    for (const PlacedDef& d : RadioDefinitions()) {
        Radio& r = radios.Add(d.number);
        r.page = d.page;
        r.container = d.container;
    }
    for (const PlacedDef& d : FrameDefinitions()) {
        Frame& f = frames.Add(d.number);
        f.page = d.page;
        f.container = d.container;
    }
    for (const PlacedDef& d : ButtonDefinitions()) {
        Button& b = buttons.Add(d.number);
        b.page = d.page;
        b.container = d.container;
        Button& s = shadows.Add(d.number);
        s.page = d.page;
        s.container = d.container;
        s.visible = false;
    }
    for (const PlacedDef& d : LinkDefinitions()) links.Add(d.number).page = d.page;
    for (const PlacedDef& d : SpecLinkDefinitions()) specLinks.Add(d.number).page = d.page;
    for (const PlacedDef& d : ListDefinitions()) optionLists.Add(d.number).page = d.page;
    valueLists.Add(206);
    for (const GridDef& d : GridDefinitions()) {
        Grid& g = grids.Add(d.number);
        g.page = d.page;
        g.container = d.container;
        g.fixedRows = d.fixedRows;
        g.fixedCols = d.number < 500 ? 2 : 0;
        g.Resize(d.rows, d.cols);
        g.visible = d.number < 500;
    }
    for (int p = 0; p < PageCount; ++p) pages.Add(p).caption = PageCaption(p);
    checks.Add(0);
    frames[10].visible = false; // shown by the product grid's cell editor
    underlines.Add(525);
}

std::set<DirtyRef> State::TakeDirty() {
    std::set<DirtyRef> taken;
    taken.swap(m_dirty);
    return taken;
}

bool State::TakeAllDirty() {
    const bool all = m_allDirty;
    m_allDirty = false;
    return all;
}

void State::SetText(int n, const QString& text) {
    TextBox& box = textBoxes[n];
    if (box.text == text) return;
    box.text = text;
    MarkDirty(ControlKind::TextBox, n);
    if (events.textChanged) events.textChanged(n);
}

void State::SetTextQuietly(int n, const QString& text) {
    TextBox& box = textBoxes[n];
    if (box.text == text) return;
    box.text = text;
    MarkDirty(ControlKind::TextBox, n);
}

void State::SetRadio(int n, bool value) {
    Radio& radio = radios[n];
    if (!value) {
        if (radio.value) {
            radio.value = false;
            MarkDirty(ControlKind::Radio, n);
        }
        return;
    }
    if (radio.value) return;
    // Option buttons in one frame form a group: setting one clears the others.
    for (auto& [number, other] : radios)
        if (number != n && other.container == radio.container && other.value) {
            other.value = false;
            MarkDirty(ControlKind::Radio, number);
        }
    radio.value = true;
    MarkDirty(ControlKind::Radio, n);
    if (events.radioClicked) events.radioClicked(n);
}

void State::SelectListEntry(int n, int index) {
    OptionList& list = optionLists[n];
    if (index < -1 || index >= list.items.size()) index = -1;
    if (list.selected == index) return;
    list.selected = index;
    MarkDirty(ControlKind::OptionList, n);
    if (index >= 0 && events.listClicked) events.listClicked(n);
}

void State::SetUnitCaption(int n, const QString& caption) {
    Label& label = unitLabels[n];
    if (label.caption == caption) return;
    label.caption = caption;
    MarkDirty(ControlKind::UnitLabel, n);
    if (events.unitLabelChange) events.unitLabelChange(n);
}

void State::ShowMessage(int n) {
    if (n < 0 || n > 25) return;
    platform.MessageBox(messages[0][n], messages[1][n], Box::Ok | Box::Stop);
}

void State::ShowMessage(int n, const QString& path) {
    if (n < 0 || n > 25) return;
    platform.MessageBox(messages[0][n], messages[1][n] + QStringLiteral("\r\n\r\n") + QDir::toNativeSeparators(path),
                        Box::Ok | Box::Stop);
}

int State::AskMessage(const QString& title, const QString& text, int buttons) {
    return platform.MessageBox(title, text, buttons);
}

QString GetFieldValue(const State& s, int n) { return s.textBoxes[n].tag; }

bool HasUnit(const State& s, int n) {
    const Label* u = s.unitLabels.Find(n);
    return u && u->tag.toUpper() != QLatin1String("NONE");
}

FieldKind KindOfField(const State& s, int n) {
    const TextBox* t = s.textBoxes.Find(n);
    return t ? t->kind : FieldKind::Text;
}

QString FieldType(const State& s, int n) {
    const Label* l = s.labels.Find(n);
    return l ? l->tag : QString();
}

bool IsOverridden(const State& s, int n) {
    const Label* l = s.labels.Find(n);
    return l && l->overridden;
}

bool FrameOverridden(const State& s, int n) {
    const Frame* f = s.frames.Find(n);
    return f && f->overridden;
}

bool CellOverridden(const State&, const Grid& g, int r, int c) {
    return g.InRange(r, c) && g.cells[r][c].overridden;
}

Colour NormalLabelColour(const State& s) {
    const Label* l = s.labels.Find(0);
    return l ? l->foreColour : 0;
}

void SetFieldOverridden(State& s, int n, bool overridden) {
    const Colour colour = overridden ? s.colours.override : NormalLabelColour(s);
    if (Label* l = s.labels.Find(n); l && (l->overridden != overridden || l->foreColour != colour)) {
        l->overridden = overridden;
        l->foreColour = colour;
        s.MarkDirty(ControlKind::Label, n);
    }
    if (Label* u = s.unitLabels.Find(n); u && (u->overridden != overridden || u->foreColour != colour)) {
        u->overridden = overridden;
        u->foreColour = colour;
        s.MarkDirty(ControlKind::UnitLabel, n);
    }
}

void SetFrameOverridden(State& s, int n, bool overridden) {
    if (Frame* f = s.frames.Find(n)) {
        f->overridden = overridden;
        f->foreColour = overridden ? s.colours.override : NormalLabelColour(s);
        s.MarkDirty(ControlKind::Frame, n);
    }
}

void SetCellOverridden(State& s, GridCell& cell, bool overridden) {
    cell.overridden = overridden;
    cell.foreColour = overridden ? s.colours.override : s.colours.cellFore;
}

void SetFieldValue(State& s, int n, const QString& value) {
    TextBox& box = s.textBoxes[n];
    box.tag = value;
    s.MarkDirty(ControlKind::TextBox, n);
    if (HasUnit(s, n)) {
        if (s.events.unitLabelChange) s.events.unitLabelChange(n);
    } else {
        s.SetText(n, value);
    }
}

} // namespace corvane
