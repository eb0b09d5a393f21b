#include "calc/driver.h"

#include "base/numbertext.h"
#include "calc/calcsupport.h"
#include "calc/loads.h"
#include "calc/tables.h"
#include "definitions/state.h"
#include "equipment/selection.h"
#include "definitions/values.h"

#include <cmath>
#include <limits>
#include <optional>
#include <stdexcept>

namespace corvane {

namespace {

using calc::FieldNumber;

constexpr int NotANumberError = 25, NoPullDownError = 26, DesignTdError = 27, ResultTooLargeError = 28;

// One row of the input checks: the field it marks and whether any of its conditions held.
class Checker {
  public:
    explicit Checker(State& s) : m_s(s) {}

    float Value(int n) const { return static_cast<float>(FieldNumber(m_s, n)); }

    // The first condition that holds adds its error text; the field is marked either way.
    bool Row(int field, std::initializer_list<std::pair<bool, int>> conditions) {
        bool failed = false;
        for (const auto& [holds, error] : conditions)
            if (holds) {
                AddErrorText(m_s, error);
                failed = true;
                break;
            }
        MarkField(m_s, field, failed);
        return failed;
    }

  private:
    State& m_s;
};

bool IsWhole(float v) {
    return std::floor(v) == v;
}

// Rows 4 and 5 of every product column: a product must not end below the box temperature,
// arrive below it, or end warmer than it arrived. Each error is listed once however many
// products fail it; every failing cell is marked.
void CheckProducts(State& s) {
    Grid* grid = s.grids.Find(300);
    if (!grid) return;
    const float box = static_cast<float>(FieldNumber(s, 312));
    bool listed[3] = {false, false, false};
    auto add = [&](int i) {
        if (!listed[i]) AddErrorText(s, 21 + i);
        listed[i] = true;
    };
    for (int c = 2; c < grid->cols; ++c) {
        bool markEntering = false, markFinal = false, markHours = false;
        if (NumberFromText(ReadGridCell(s, 300, 3, c)) > 0) {
            // Without a pull-down time the product's heat cannot be spread over a time.
            markHours = !IsNumeric(ReadGridCell(s, 300, 6, c));
            if (markHours) AddErrorLine(s, s.errorTexts[NoPullDownError].arg(c - 1));
            const float entering = NumberFromText(ReadGridCell(s, 300, 4, c));
            const float final = NumberFromText(ReadGridCell(s, 300, 5, c));
            markFinal = box > final;
            if (markFinal) add(0);
            if (box > entering) add(1);
            if (final > entering) add(2);
            markEntering = box > entering || final > entering;
        }
        if (grid->rows > 5) {
            grid->cells[4][c].backColour = markEntering ? MarkColour : s.colours.cellBack;
            grid->cells[5][c].backColour = markFinal ? MarkColour : s.colours.cellBack;
        }
        if (grid->rows > 6) grid->cells[6][c].backColour = markHours ? MarkColour : s.colours.cellBack;
    }
    s.MarkDirty(ControlKind::Grid, 300);
}

// The rule every number field and every number cell shares: its text is empty or a finite
// number the calculation can carry (single precision); "abc", "nan", "inf" and "1e39" are not.
bool HoldsUsableNumber(const QString& text) {
    if (text.trimmed().isEmpty()) return true;
    const std::optional<double> v = ReadNumber(text);
    return v && std::isfinite(*v) && std::fabs(*v) <= std::numeric_limits<float>::max();
}

// Every failure once, one line each; the banner is as high as the list it shows.
void ShowBanner(State& s, bool failed) {
    s.bannerText = s.errorList.join(QStringLiteral("\r\n"));
    s.bannerLines = static_cast<int>(s.errorList.size());
    s.bannerActive = failed;
    s.errorFrameVisible = failed;
}

// A number field or number cell whose text reads as no number the calculation can carry (a
// pasted "12 ft", "nan", "1e39") is named in the banner and marked, and no result is written
// until it is fixed. An empty text reads as 0, as it always has.
void CheckNumberTexts(State& s) {
    for (const auto& [n, box] : s.textBoxes) {
        if (KindOfField(s, n) != FieldKind::Number) continue;
        if (HoldsUsableNumber(box.text) && HoldsUsableNumber(box.tag)) continue;
        const Label* caption = s.labels.Find(n);
        const QString name = caption && !caption->caption.trimmed().isEmpty() ? caption->caption.trimmed()
                                                                               : QString::number(n);
        AddErrorLine(s, s.errorTexts[NotANumberError].arg(name));
        MarkField(s, n, true);
    }
    for (int g : {200, 300}) {
        Grid* grid = s.grids.Find(g);
        if (!grid || grid->cols < 2) continue;
        bool marked = false;
        // The input rows: below the heading, above the result row.
        for (int r = 1; r < grid->rows - 1; ++r) {
            if (grid->rowTypes.value(r).compare(QLatin1String("NUMBER"), Qt::CaseInsensitive) != 0) continue;
            for (int c = 2; c < grid->cols; ++c) {
                // "N.A.": the floor and ceiling of the L and U outlines take no length or height.
                const QString& text = grid->cells[r][c].text;
                if (text == QLatin1String("N.A.") || HoldsUsableNumber(text)) continue;
                // "Length (Section 2)", "Mass (Product 1)": the row and the column as the grid shows them.
                const QString name = QStringLiteral("%1 (%2 %3)")
                                         .arg(grid->cells[r][0].text.trimmed(), grid->cells[0][0].text.trimmed())
                                         .arg(c - 1);
                AddErrorLine(s, s.errorTexts[NotANumberError].arg(name));
                grid->cells[r][c].backColour = MarkColour;
                marked = true;
            }
        }
        if (marked) s.MarkDirty(ControlKind::Grid, g);
    }
}

} // namespace

void MarkField(State& s, int n, bool failed) {
    if (s.focus.Is(ControlKind::TextBox, n)) return;
    TextBox* box = s.textBoxes.Find(n);
    if (!box) return;
    box->backColour = failed ? MarkColour : s.colours.fieldBack;
    s.MarkDirty(ControlKind::TextBox, n);
}

void AddErrorText(State& s, int k) {
    AddErrorLine(s, k >= 0 && k < static_cast<int>(s.errorTexts.size()) ? s.errorTexts[k] : QString());
}

void AddErrorLine(State& s, const QString& text) {
    if (s.errorList.isEmpty()) s.firstErrorText = text;
    // Two checks that fail for the same reason are one problem to the user.
    if (!s.errorList.contains(text)) s.errorList << text;
}

bool CheckInputs(State& s) {
    s.WriteLog(QStringLiteral(">CheckInputs()"));
    s.errorList.clear();
    s.firstErrorText.clear();
    const CalcConstants& k = s.constants;
    Checker check(s);
    auto v = [&](int n) { return check.Value(n); };

    check.Row(506, {{v(506) < k.factorOfSafety, 24}});
    // Every capacity is read at the design TD: without one no unit can be chosen.
    check.Row(502, {{v(502) <= 0, DesignTdError}});
    check.Row(12, {{v(12) <= 0, 0}, {v(12) > 24, 1}});
    check.Row(501, {{v(501) < k.minBoxTemp, 2}, {v(102) <= v(501), 3}});
    MarkField(s, 103, v(103) < k.minBoxTemp || v(102) <= v(103));
    MarkField(s, 312, v(312) < k.minBoxTemp || v(102) <= v(312));
    check.Row(500, {{v(500) < k.minAmbient, 4}, {v(500) > k.maxAmbient, 5}});
    check.Row(600, {{v(600) < k.minInfiltTemp, 6}, {v(600) > k.maxInfiltTemp, 7}, {v(600) < v(103), 8}});
    check.Row(659, {{v(659) < 0, 9}, {v(659) > k.maxDoors, 10}});
    check.Row(403, {{v(403) < 0, 11}, {v(403) > k.maxMotorHP, 12}});
    // The box dimensions count only while the outline shows them.
    for (const auto& [field, error] : {std::pair{14, 13}, std::pair{13, 14}, std::pair{15, 15}})
        if (s.textBoxes[field].visible) check.Row(field, {{v(field) < 0, error}});
    const bool units = !check.Row(522, {{v(522) < 1, 16}, {!IsWhole(v(522)), 17}});
    const bool coolersFailed = check.Row(542, {{v(542) < 1, 18}, {!IsWhole(v(542)), 19}});
    // Only two valid counts are divided, so a count of 0 never reaches the division.
    if (units && !coolersFailed) check.Row(542, {{!IsWhole(v(542) / v(522)), 20}});

    CheckProducts(s);
    // Last, so that its marks outlast the range checks of the same fields.
    CheckNumberTexts(s);

    const bool failed = !s.errorList.isEmpty();
    for (int n : {16, 503, 560, 561, 562, 214, 680, 314, 422})
        MarkField(s, n, failed);
    ShowBanner(s, failed);
    return failed;
}

void DefaultMotors(State& s) {
    if (IsOverridden(s, 423) || IsOverridden(s, 403)) return;
    const MotorDefaults motors =
        LookUpK(s, static_cast<float>(FieldNumber(s, 213)), static_cast<float>(FieldNumber(s, 103)));
    SetFieldValue(s, 423, QString::number(motors.count));
    SetFieldValue(s, 403, TextFromSingle(motors.power));
}

void Calculate(State& s) {
    s.WriteLog(QStringLiteral(">Calculate()"));
    if (CheckInputs(s)) return;
    // While the results are written the field rules keep to storing values, so no write
    // starts a calculation of its own.
    FlagGuard calculating(s.flags.calculating);
    s.flags.resultOutOfRange = false;
    try {
        CalculateBoxLoad(s);
        CalculateInfiltrationLoad(s);
        CalculateProductLoad(s);
        DefaultMotors(s);
        CalculateMiscLoad(s);

        float total = 0;
        for (int n : {214, 680, 314, 422})
            total += NumberFromText(GetFieldValue(s, n));
        if (!IsOverridden(s, 16)) SetFieldValue(s, 16, calc::ResultTextSingle(s, total));
        if (!IsOverridden(s, 503)) {
            const float factor = 1.0f + NumberFromText(GetFieldValue(s, 506)) / 100.0f;
            SetFieldValue(s, 503, calc::ResultText(s, std::floor(total * factor)));
        }

        SelectCondenser(s);
        SelectCooler(s);
        CalculateBalance(s);
    } catch (const std::out_of_range& e) {
        // A control or grid cell that is not there: the results written so far stay, the
        // rest of this run is dropped, and the next edit calculates again.
        s.WriteLog(QStringLiteral("Calculate stopped: ") + QString::fromStdString(e.what()));
    }
    // Inputs that pass each check alone can still together overflow a result (a box a
    // billion feet long): the results are then no answer, and the banner says so.
    if (s.flags.resultOutOfRange) {
        s.WriteLog(QStringLiteral("A result is out of range"));
        AddErrorText(s, ResultTooLargeError);
        for (int n : {16, 503, 560, 561, 562, 214, 680, 314, 422}) MarkField(s, n, true);
        ShowBanner(s, true);
    }
}

} // namespace corvane
