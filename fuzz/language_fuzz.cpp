// The language file reader on any bytes: it may refuse the file (the start-up would end with
// "Cannot open resource file"), never crash, hang or throw anything else.

#include "definitions/languagefile.h"
#include "fuzz/fuzzprogram.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace corvane;
    fuzz::FuzzProgram& program = fuzz::FuzzProgram::Get();
    State& s = program.Fresh();
    program.Write(QStringLiteral("opdata/fuzz.lng"), fuzz::Input(data, size));
    s.settings.Save(s.settingsSection, QStringLiteral("Language_File"), QStringLiteral("fuzz.lng"));
    try {
        ReadResourceFile(s);
    } catch (const ProgramEnd&) {
    }
    return 0;
}
