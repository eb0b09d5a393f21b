// The colour file reader on any bytes.

#include "definitions/colourfile.h"
#include "fuzz/fuzzprogram.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace corvane;
    fuzz::FuzzProgram& program = fuzz::FuzzProgram::Get();
    State& s = program.Fresh();
    program.Write(QStringLiteral("opdata/fuzz.col"), fuzz::Input(data, size));
    s.settings.Save(s.settingsSection, QStringLiteral("Colour_File"), QStringLiteral("fuzz.col"));
    try {
        ReadColourFile(s);
    } catch (const ProgramEnd&) {
    }
    return 0;
}
