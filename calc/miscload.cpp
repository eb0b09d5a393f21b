#include "calc/loads.h"

#include "calc/calcsupport.h"
#include "calc/tables.h"
#include "definitions/state.h"
#include "definitions/values.h"

namespace corvane {

namespace {

using calc::Divide;
using calc::FieldNumber;

// The lit floor area: the area of the first section whose kind is entry 2 of the section-kind
// list. For the three outlines that section has the floor's area.
double LitArea(const State& s) {
    const QStringList& kinds = s.optionLists[201].items;
    const Grid& grid = s.grids[200];
    if (kinds.size() < 3 || grid.rows < 5) return 0;
    for (int c = 2; c < grid.cols; ++c)
        if (grid.Text(1, c) == kinds[2]) return NumberFromText(ReadGridCell(s, 200, 4, c));
    return 0;
}

} // namespace

void CalculateMiscLoad(State& s) {
    s.WriteLog(QStringLiteral(">CalculateMiscLoad()"));
    // Power items are stored in the power unit of unit row 10; P x p / l is a load per hour.
    const double power = NumberFromText(s.unitTable[4][UnitRow::Power]);
    const double load = NumberFromText(s.unitTable[4][UnitRow::LoadH]);
    auto heat = [&](int powerField, int hoursField) {
        return Divide(FieldNumber(s, powerField) * power * FieldNumber(s, hoursField), load);
    };

    if (!IsOverridden(s, 401))
        SetFieldValue(s, 401, calc::ResultText(s, Divide(FieldNumber(s, 400) * LitArea(s), power)));

    const CalcConstants& k = s.constants;
    const double lights = heat(401, 402);
    const double motors = FieldNumber(s, 423) *
                          LookUpE(s, static_cast<float>(FieldNumber(s, 403)), false, false) *
                          FieldNumber(s, 405);
    const double people =
        FieldNumber(s, 406) * (k.peoplePower - 11.5 * FieldNumber(s, 103)) * FieldNumber(s, 407);
    const double forklifts = FieldNumber(s, 408) * k.forkliftPower * FieldNumber(s, 409);
    const double items = heat(411, 412) + heat(414, 415) + heat(417, 418) + heat(420, 421);
    const double daily = lights + motors + people + forklifts + items;
    if (!IsOverridden(s, 422))
        SetFieldValue(s, 422, calc::ResultText(s, calc::RoundHalfUp(Divide(daily, FieldNumber(s, 12)))));
}

} // namespace corvane
