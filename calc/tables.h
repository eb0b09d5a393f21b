#pragma once

#include <QString>

namespace corvane {

class State;
struct DataTable;

// Reads a data table; language tables (C, D) are prefixed with the language file's name
// less its extension ("default.TableC.data"). Side effects on lists 206, 301 and 302.
void ReadTable(State& s, bool language, const QString& fileName, DataTable& table);
// Reads A, B, E, F and K (start-up) and C and D (start-up and language change).
void ReadFixedTables(State& s);
void ReadLanguageTables(State& s);

float LookUpA(State& s, float volume, float temperature);
float LookUpB(State& s, int doors, float temperature);
float LookUpE(State& s, float power, bool p, bool q);
float LookUpF(State& s, float temperature, int column);
struct MotorDefaults {
    qint16 count = 0;
    float power = 0;
};
MotorDefaults LookUpK(State& s, float volume, float temperature);

} // namespace corvane
