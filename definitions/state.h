#pragma once

#include "base/log.h"
#include "base/platform.h"
#include "base/settingsstore.h"
#include "definitions/controls.h"

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>
#include <set>
#include <vector>

namespace corvane {

// The calculation constants of the language file (ACONST lines). A constant the file does
// not give keeps its previous value, zero at the first reading.
struct CalcConstants {
    float heavyUsage = 0, longStorage = 0, normalUse = 0, dockPower = 0;
    float enthalpyConstant = 0, ventConstant = 0, internalRH = 0, estimatedRH = 0;
    float peoplePower = 0, forkliftPower = 0, lightPower = 0, latentConstant = 0;
    float defaultWeightT = 0, defaultWeightK1 = 0, defaultWeightK2 = 0;
    float minBoxTemp = 0, minAmbient = 0, maxAmbient = 0, minInfiltTemp = 0, maxInfiltTemp = 0;
    float maxDoors = 0, maxMotorHP = 0, factorOfSafety = 0;
    float runTimeTemp1 = 0, runTimeTemp2 = 0, runTime1 = 0, runTime2 = 0, runTime3 = 0;
    float defaultWallK = 0, defaultFloorK = 0, defaultCeilingK = 0, motorTemp = 0;
    float condenser50HzFactor = 0, condenser60HzFactor = 0, cooler50HzFactor = 0, cooler60HzFactor = 0;
    float underRange = 0, averageCurtains = 0;
    qint16 maxColumnWidth = 0;

    // Sets the constant of that name (trimmed, compared in capitals); false for an unknown name.
    bool Set(const QString& name, float value);
};

// The colours the colour file keeps for later use (initially 0, replaced by each reading).
struct StoredColours {
    Colour normalButton = 0, hover = 0, highlight = 0;
    Colour fieldBack = 0, fieldFore = 0, focusBack = 0, focusFore = 0, override = 0;
    Colour cellBack = 0, cellFore = 0, line = 0, lineSelected = 0, visited = 0;
    std::array<float, 3> percent{0, 0, 0};
    std::array<float, 3> bias{0, 0, 0};
};

// A data table: texts indexed by column 1..c and row 1..N (column 0 and row 0 stay empty).
// The look-ups walk whole tables in every calculation, so the cells are also read as numbers
// once, when the table is stored (ReadNumbers), rather than at every use.
struct DataTable {
    int columns = 0;
    std::vector<QStringList> rows;   // rows[r][c], r = 0..N
    // Row by row, columns + 1 to a row: the number-text reader's value of each cell.
    std::vector<std::optional<double>> numbers;
    int RowCount() const { return rows.empty() ? 0 : static_cast<int>(rows.size()) - 1; }
    QString Cell(int column, int row) const {
        if (row < 0 || row >= static_cast<int>(rows.size())) return QString();
        const QStringList& r = rows[row];
        return column >= 0 && column < r.size() ? r[column] : QString();
    }
    // The cell as the number-text reader reads it (a missing cell reads as 0); no value for a
    // text that is not a number. Cells that ReadNumbers has not read are read here.
    std::optional<double> Number(int column, int row) const;
    // Reads every cell once; call it whenever the rows have changed.
    void ReadNumbers();
};

struct CondenserModel {      // one record of the model file
    qint32 firstRating = 0;
    qint16 extent = 0;
    qint16 groupSize = 0;
    QString code;            // 16 characters, space padded
    qint16 minAmbient = 0, maxAmbient = 0, minSuction = 0, maxSuction = 0;
};

struct CondenserRating {
    qint16 suction = 0;
    qint16 ambient = 0;
    qint32 capacity = 0;
};

struct CoolerRating {
    QString code;
    qint32 rating = 0;
    qint32 minBoxTemp = 0;
};

// The control that has the keyboard focus, as the view reports it.
struct FocusRef {
    ControlKind kind = ControlKind::Page;
    int number = -1;
    bool Is(ControlKind k, int n) const { return kind == k && number == n; }
};

// Controls the view must repaint after an event.
struct DirtyRef {
    ControlKind kind;
    int number;
    auto operator<=>(const DirtyRef&) const = default;
};

// Re-entrancy flags of the window. A FlagGuard sets one for a scope, so an exception can
// never leave it set.
struct Flags {
    bool loading = false;
    bool converting = false;
    bool rules = false;
    bool calculating = false;
    bool tablesLoading = false;
    bool layoutGuard = false;
    bool jobModified = false;
    // Set by the calculation when a result it wrote was not a finite number of a sensible size.
    bool resultOutOfRange = false;
};

class FlagGuard {
public:
    FlagGuard(bool& flag, bool value = true) : m_flag(flag), m_old(flag) { m_flag = value; }
    ~FlagGuard() { m_flag = m_old; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

private:
    bool& m_flag;
    bool m_old;
};

// Subscribers for program writes that behave like the user's own actions. The input rules
// install them, so the control model itself depends on nothing above it.
struct ControlEvents {
    std::function<void(int)> textChanged;          // text box n's shown text changed
    std::function<void(int)> radioClicked;         // option button n became set
    std::function<void(int)> listClicked;          // option list n's selection changed
    std::function<void(int)> unitLabelChange;      // the unit label change of label n
    std::function<void()> unitSystemsChanged;      // the unit switches were read again
    // Runs a change that rebuilds the window's definitions (another language) with the job
    // held aside and put back afterwards; without a subscriber the change runs alone.
    std::function<void(const std::function<void()>&)> keepJob;
};

// Everything one run of the program holds: the controls by kind, the tables read from the
// language file, the data tables, the equipment lists, the stored colours, the flags, the log,
// the settings and the platform services. Procedures of each subsystem work on it.
class State {
public:
    State(const QString& programFolder, Platform& platform, SettingsStore& settings);

    // --- services
    Platform& platform;
    SettingsStore& settings;
    Log log;
    void WriteLog(const QString& line) { log.Write(line); }

    // --- folders and names
    QString programFolder;   // ends without a separator
    QString dataFolder;      // ends with '/'
    QString productFolder;   // ends with '/'
    QString jobFolder;
    QString updateFolder;
    QString templatePath;
    QString currentJobPath;
    QString brandName;
    QString settingsSection;
    QString historySection;
    QString jobExtension;    // lower case, without the dot
    QString baseTitle;
    QString windowCaption;
    QString versionText;

    // --- controls
    ControlArray<TextBox, ControlKind::TextBox> textBoxes;
    ControlArray<Label, ControlKind::Label> labels;
    ControlArray<Label, ControlKind::UnitLabel> unitLabels;
    ControlArray<OptionList, ControlKind::OptionList> optionLists;
    ControlArray<ValueList, ControlKind::ValueList> valueLists;
    ControlArray<ListButton, ControlKind::ListButton> listButtons;
    ControlArray<Button, ControlKind::Button> buttons;
    ControlArray<Button, ControlKind::Shadow> shadows;
    ControlArray<Frame, ControlKind::Frame> frames;
    ControlArray<PageFrame, ControlKind::Page> pages;
    ControlArray<Radio, ControlKind::Radio> radios;
    ControlArray<Check, ControlKind::Check> checks;
    ControlArray<Link, ControlKind::Link> links;
    ControlArray<Link, ControlKind::SpecLink> specLinks;
    ControlArray<Grid, ControlKind::Grid> grids;
    ControlArray<Underline, ControlKind::Underline> underlines;

    // Named controls of the window.
    QString hintText;
    bool hintVisible = true;
    QString hintCaption;
    Colour hintForeColour = 0;
    QString logoPicture, thumbnailPicture, printLogoPicture, iconPicture;
    QString thumbnailTooltip;
    Colour logoBackColour = RGBColour(255, 255, 255);
    Colour borderColour = 0;
    Colour underlineColour = 0;
    Colour shapeBoxBackColour = RGBColour(255, 255, 255);
    std::array<bool, 3> geometryVisible{false, false, false};
    QStringList historyList;            // FileHistoryList
    Colour historyBackColour = RGBColour(255, 255, 255), historyForeColour = 0;
    int historySelected = -1;
    QString bannerText;                 // EBANNER
    int bannerLines = 0;
    bool bannerActive = false;          // banner timer enabled
    bool errorFrameVisible = false;     // EFRAME
    std::array<QString, 2> cellEditorText;     // MSFlexText 200, 300
    std::array<bool, 2> cellEditorVisible{false, false};
    bool gridPagerVisible = false;      // TabBack / TabForward of both grids
    bool candidateGridsVisible = false;
    int currentPage = 0;                // 0: no page shown

    // --- tables read from the language file
    std::array<std::array<QString, 26>, 2> messages;   // [0][n] title, [1][n] text
    std::array<QString, 101> errorTexts;
    std::array<QString, 101> strings;
    std::array<std::array<QString, 21>, 6> unitTable;  // [column][row]
    CalcConstants constants;
    QString localeName;   // the language of the file's texts ("fr"), for the toolkit's own texts
    QString helpFile, catalogPath, cSpecPath, eSpecPath, emailTo, updateUrl, printForm1, printForm2;

    StoredColours colours;

    // --- data tables and equipment
    DataTable tableA, tableB, tableC, tableD, tableE, tableF, tableK;
    std::vector<CondenserModel> condenserModels;     // index 1..count (0 unused)
    std::vector<CondenserRating> condenserRatings;   // index 1..count
    std::vector<CoolerRating> coolerRatings;         // index 1..count
    std::vector<ProductRow> condenserProducts;       // index 1..count
    std::vector<ProductRow> coolerProducts;          // index 1..count
    float condenserFrequencyFactor = 1;
    float coolerFrequencyFactor = 1;
    float protectiveFactor = 0.5f;

    // --- input state
    Flags flags;
    FocusRef focus;
    ControlEvents events;
    // Focus memory: the stored value and shown text at the last focus arrival, and the last
    // shown text the change handling has seen.
    QString focusStoredValue, focusShownText, lastShownText;
    bool focusOverridden = false;          // the field's override mark at focus arrival
    struct GridEditing {
        int row = -1, col = -1;            // the cell being edited
        int lastRow = -1, lastCol = -1;    // the cell entered last
        bool suppress = false;
        bool navigating = false;
    };
    GridEditing gridEditing[2];            // 0: grid 200, 1: grid 300
    int productCommandColumn = -1;
    bool keyboardMove = false;
    bool moveOn = false;
    int openList = -1;                     // the option list open over its field, -1 for none
    QStringList errorList;
    QString balanceNote;                   // why no balance is shown; empty with a balance
    QString firstErrorText;

    // --- change notifications and the view's dirty set
    void MarkDirty(ControlKind kind, int number) { m_dirty.insert({kind, number}); }
    std::set<DirtyRef> TakeDirty();
    void MarkAllDirty() { m_allDirty = true; }
    bool TakeAllDirty();

    // Program writes that behave like the user's own actions.
    void SetText(int n, const QString& text);          // runs the change handling when it differs
    void SetRadio(int n, bool value);                   // setting runs the click; siblings clear
    void SelectListEntry(int n, int index);             // a changed selection runs the list click
    void SetUnitCaption(int n, const QString& caption); // a changed caption runs the unit change

    // Quiet writes (no event), for readers that rebuild controls.
    void SetTextQuietly(int n, const QString& text);

    // Messages of the language file.
    void ShowMessage(int n);
    // Message n followed by the file it concerns.
    void ShowMessage(int n, const QString& path);
    int AskMessage(const QString& title, const QString& text, int buttons);

private:
    std::set<DirtyRef> m_dirty;
    bool m_allDirty = true;
};

// The field reader and writer: the stored value of field n, and writing one (the shown text
// follows by the display rule when the field has a unit).
QString GetFieldValue(const State& s, int n);
void SetFieldValue(State& s, int n, const QString& value);

// True when field n's unit label names a category other than NONE.
bool HasUnit(const State& s, int n);
// The field type held by caption label n ("Number", "String", ...), empty when it has none.
QString FieldType(const State& s, int n);
// What field n holds; free text for a number that is no field with a text box.
FieldKind KindOfField(const State& s, int n);
// The override mark: a result or default the user typed stands, and the rules leave it.
// The mark is a flag of the field (its caption label), the frame or the cell; the override
// colour only shows it, so a colour scheme can never set or clear a mark.
bool IsOverridden(const State& s, int n);
bool FrameOverridden(const State& s, int n);
// Whether cell (r, c) of a grid carries the override mark.
bool CellOverridden(const State& s, const Grid& g, int r, int c);
// Sets or clears the mark of field n (caption and unit label) and paints it: the override
// colour when set, the normal label colour when clear.
void SetFieldOverridden(State& s, int n, bool overridden);
void SetFrameOverridden(State& s, int n, bool overridden);
void SetCellOverridden(State& s, GridCell& cell, bool overridden);
// Label 0 carries the colour scheme's normal label colour.
Colour NormalLabelColour(const State& s);

} // namespace corvane
