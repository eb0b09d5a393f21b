// The data-table reader on any bytes, read as each of the seven tables in turn, followed by
// the look-ups the loads make in them.

#include "calc/tables.h"
#include "fuzz/fuzzprogram.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace corvane;
    fuzz::FuzzProgram& program = fuzz::FuzzProgram::Get();
    State& s = program.Fresh();
    program.Write(QStringLiteral("opdata/fuzz.data"), fuzz::Input(data, size));
    for (DataTable* table : {&s.tableA, &s.tableB, &s.tableC, &s.tableD, &s.tableE, &s.tableF, &s.tableK}) {
        try {
            ReadTable(s, false, QStringLiteral("fuzz.data"), *table);
        } catch (const ProgramEnd&) {
        }
    }
    for (const float x : {-40.0f, 0.0f, 35.0f, 500.0f, 1e6f}) {
        LookUpA(s, x, 35.0f);
        LookUpB(s, static_cast<int>(x) % 40, x);
        LookUpE(s, x, true, false);
        LookUpE(s, x, false, true);
        LookUpF(s, x, 2);
        LookUpF(s, x, 4);
        LookUpK(s, x, x);
    }
    for (int r = 1; r <= s.tableC.RowCount(); ++r) ProductNamesOfGroup(s, s.tableC.Cell(1, r));
    return 0;
}
