// The equipment readers on any bytes: the first byte chooses the file the rest replaces
// (the three record files, the two product lists); the others stay as shipped. The started
// program then selects its condensing unit and coolers from what was read.

#include "calc/driver.h"
#include "equipment/equipmentfiles.h"
#include "fuzz/fuzzprogram.h"

#include <QFile>
#include <array>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace corvane;
    static const std::array<QString, 5> names = {
        QStringLiteral("CModels.rec"), QStringLiteral("CRatings.rec"), QStringLiteral("ERatings.rec"),
        QStringLiteral("CProdList.data"), QStringLiteral("EProdList.data")};
    fuzz::FuzzProgram& program = fuzz::FuzzProgram::Get();
    State& s = program.Started();
    static std::array<QByteArray, 5> shipped;
    if (shipped[0].isEmpty())
        for (std::size_t i = 0; i < names.size(); ++i) {
            QFile file(program.Folder() + QStringLiteral("/proddata/") + names[i]);
            if (file.open(QIODevice::ReadOnly)) shipped[i] = file.readAll();
        }
    if (size == 0) return 0;
    const std::size_t which = data[0] % names.size();
    program.Write(QStringLiteral("proddata/") + names[which], fuzz::Input(data + 1, size - 1));
    try {
        ReadEquipmentFiles(s);
        Calculate(s);
    } catch (const ProgramEnd&) {
    }
    // The next input starts from the shipped files again.
    program.Write(QStringLiteral("proddata/") + names[which], shipped[which]);
    return 0;
}
