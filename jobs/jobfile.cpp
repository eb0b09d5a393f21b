#include "jobs/jobfile.h"
#include "definitions/state.h"

namespace corvane {

bool JobFileSave(State&, const QString&) { return false; }
bool JobFileLoad(State&, const QString&) { return true; }
void LoadTemplateJob(State& s) {
    if (!JobFileLoad(s, s.templatePath)) throw ProgramEnd(3, QStringLiteral("The template job cannot be loaded"));
}

} // namespace corvane
