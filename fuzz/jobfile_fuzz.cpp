// The job file reader on any bytes: each input is opened as a job in the started program
// (from the template, so that inputs do not depend on each other), calculated and written.

#include "calc/driver.h"
#include "fuzz/fuzzprogram.h"
#include "jobs/jobactions.h"
#include "jobs/jobfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace corvane;
    fuzz::FuzzProgram& program = fuzz::FuzzProgram::Get();
    State& s = program.Started();
    try {
        LoadTemplateJob(s);
        const QString path = program.Write(QStringLiteral("JobFiles/fuzz.cvj"), fuzz::Input(data, size));
        if (JobFileLoad(s, path)) {
            Calculate(s);
            JobFileBytes(s, path);
        }
    } catch (const ProgramEnd&) {
    }
    return 0;
}
