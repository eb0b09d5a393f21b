#pragma once

#include <QString>
#include <QStringList>

namespace corvane {

class State;
struct DataTable;

// Reads a data table; language tables (C, D) are prefixed with the language file's name
// less its extension ("default.TableC.data"). Side effects on lists 206, 301 and 302.
void ReadTable(State& s, bool language, const QString& fileName, DataTable& table);
// Reads A, B, E, F and K (start-up) and C and D (start-up and language change).
void ReadFixedTables(State& s);
void ReadLanguageTables(State& s);

// The look-ups. A search value that is not a finite number gives 0. A table row whose key is
// not a number is passed over as if it were not there; a value cell that is not a number
// reads as 0. An empty table gives 0 (LookUpB still reports the missing door count).
float LookUpA(State& s, float volume, float temperature);
float LookUpB(State& s, int doors, float temperature);
float LookUpE(State& s, float power, bool p, bool q);
float LookUpF(State& s, float temperature, int column);
struct MotorDefaults {
    qint16 count = 0;
    float power = 0;
};
MotorDefaults LookUpK(State& s, float volume, float temperature);

// The product names (column 2) of table C's rows of one product group, in table order.
QStringList ProductNamesOfGroup(const State& s, const QString& group);
// Width in twips that shows the widest entry of a list (at least 1000), and the height that
// shows every entry (the view keeps a list within its page).
int ListWidthTwips(State& s, const QStringList& items);
int ListHeightTwips(const QStringList& items);

} // namespace corvane
