#include "app/session.h"

#include "input/fieldrules.h"
#include "jobs/jobactions.h"

namespace corvane {

std::unique_ptr<State> MakeSession(const QString& programFolder, Platform& platform, SettingsStore& settings) {
    auto s = std::make_unique<State>(programFolder, platform, settings);
    InstallInputHandlers(*s);
    // A change of language keeps the job on screen, through the job file's own format.
    s->events.keepJob = [state = s.get()](const std::function<void()>& change) { KeepJobWhile(*state, change); };
    return s;
}

} // namespace corvane
