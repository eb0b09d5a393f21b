#include "calc/loads.h"

#include "calc/calcsupport.h"
#include "calc/tables.h"
#include "definitions/state.h"

#include <algorithm>

namespace corvane {

namespace {

using calc::Divide;
using calc::FieldNumber;
using calc::RootOf;
using calc::RoundHalfUp;

QString Text(double v) {
    return TextFromDouble(v);
}

QString Text(State& s, double v) {
    return calc::ResultText(s, v);
}

// The protective-device factor of the door: the value beside the chosen device. Without a
// choice the average strip curtain (entry 1) is chosen and 0.5 used. A value that is not a
// number keeps the factor of the previous run.
float ProtectiveFactor(State& s) {
    OptionList& list = s.optionLists[625];
    if (list.selected < 0) {
        if (list.items.size() > 1) {
            // Chosen quietly: this is the calculation filling in a default, not a pick that
            // should start another calculation.
            list.selected = 1;
            s.MarkDirty(ControlKind::OptionList, 625);
            s.SetTextQuietly(625, list.items[1]);
            if (const ValueList* values = s.valueLists.Find(625); values && values->values.size() > 1)
                s.textBoxes[625].tag = values->values[1];
        }
        s.protectiveFactor = 0.5f;
        return s.protectiveFactor;
    }
    const ValueList* values = s.valueLists.Find(625);
    if (values && list.selected < values->values.size())
        if (const std::optional<double> v = ReadNumber(values->values[list.selected]))
            s.protectiveFactor = static_cast<float>(*v);
    return s.protectiveFactor;
}

} // namespace

double AirEnthalpy(State& s, float temperature, double humidity) {
    const double p = LookUpF(s, temperature, 2);
    const double a = LookUpF(s, temperature, 3);
    const double saturated = LookUpF(s, temperature, 4);
    const double denominator = 1 + (1 - humidity) * Divide(p, s.constants.enthalpyConstant);
    return a + Divide(saturated * humidity, denominator);
}

void CalculateInfiltrationLoad(State& s) {
    s.WriteLog(QStringLiteral(">CalculateInfiltrationLoad()"));
    const CalcConstants& k = s.constants;
    const double volume = FieldNumber(s, 213);
    const float box = static_cast<float>(FieldNumber(s, 103));
    const float air = static_cast<float>(FieldNumber(s, 600));
    const double runTime = FieldNumber(s, 12);

    const double hDoor = AirEnthalpy(s, air, FieldNumber(s, 623) / 100);
    s.WriteLog(QStringLiteral("Enthalpy 1 = ") + Text(hDoor));
    const double hVent = AirEnthalpy(s, air, FieldNumber(s, 641) / 100);
    const double hEstimated = AirEnthalpy(s, air, k.estimatedRH / 100.0);
    const double hBox = AirEnthalpy(s, box, k.internalRH / 100.0);

    // Air changes by box volume and use.
    const double changes = LookUpA(s, static_cast<float>(volume), box);
    double usage = 0;
    if (s.radios[603].value)
        usage = k.normalUse;
    else if (s.radios[604].value)
        usage = k.heavyUsage;
    else if (s.radios[605].value)
        usage = k.longStorage;
    const double changeFlow = volume * changes * usage / 1440;
    const double byChanges = k.ventConstant * 24 * changeFlow * (hEstimated - hBox);
    s.WriteLog(QStringLiteral("Estimated Infiltration Load = ") + Text(byChanges));
    if (!IsOverridden(s, 605)) SetFieldValue(s, 605, Text(s, Divide(byChanges, runTime)));

    // Air through the open door, driven by the temperature difference.
    const double width = FieldNumber(s, 620), height = FieldNumber(s, 621);
    const double openFactor = FieldNumber(s, 619), flowFactor = FieldNumber(s, 622);
    const double velocity = 4.88 * RootOf(height) * RootOf(air - box);
    s.WriteLog(QStringLiteral("Velocity = ") + Text(velocity));
    const double doorFlow = width * height / 2 * flowFactor * velocity;
    const double byDoor = openFactor * k.ventConstant * doorFlow * (hDoor - hBox) * ProtectiveFactor(s);
    s.WriteLog(QStringLiteral("InfiltrationB = ") + Text(byDoor));
    if (!IsOverridden(s, 624)) SetFieldValue(s, 624, Text(s, Divide(RoundHalfUp(byDoor), runTime)));

    // Measured ventilation air.
    const double byVentilation = k.ventConstant * 24 * FieldNumber(s, 640) * (hVent - hBox);
    s.WriteLog(QStringLiteral("InfiltrationC = ") + Text(byVentilation));
    if (!IsOverridden(s, 642)) SetFieldValue(s, 642, Text(s, Divide(RoundHalfUp(byVentilation), runTime)));

    // Glass display doors, by the nearest whole door count.
    const double glassDoors = FieldNumber(s, 659);
    const int doorCount = RoundHalfEven(std::clamp(glassDoors, -32768.0, 32767.0));
    const double byGlass = glassDoors * LookUpB(s, doorCount, box) * 24;
    s.WriteLog(QStringLiteral("Infiltration Glass Doors = ") + Text(byGlass));
    SetFieldValue(s, 660, Text(s, Divide(RoundHalfUp(byGlass), runTime)));

    // Dock doors.
    const double byDock =
        FieldNumber(s, 669) * k.dockPower * RootOf(air - box) * k.ventConstant * (hVent - hBox) * 24;
    s.WriteLog(QStringLiteral("Infiltration (Dock Doors) = ") + Text(byDock));
    SetFieldValue(s, 670, Text(s, Divide(RoundHalfUp(byDock), runTime)));

    double method = 0;
    if (s.radios[600].value)
        method = byChanges;
    else if (s.radios[601].value)
        method = byDoor;
    else if (s.radios[602].value)
        method = byVentilation;
    const double daily = byGlass + method + byDock;
    if (!IsOverridden(s, 680)) SetFieldValue(s, 680, Text(s, RoundHalfUp(Divide(daily, runTime))));
}

} // namespace corvane
