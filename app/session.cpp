#include "app/session.h"

#include "input/fieldrules.h"

namespace corvane {

std::unique_ptr<State> MakeSession(const QString& programFolder, Platform& platform, SettingsStore& settings) {
    auto s = std::make_unique<State>(programFolder, platform, settings);
    InstallInputHandlers(*s);
    return s;
}

} // namespace corvane
