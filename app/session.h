#pragma once

#include "definitions/state.h"

#include <memory>

namespace corvane {

// One ready session: the state of a run on a program folder, with the input rules subscribed
// to its control events. The window, the batch mode and the tests all start from here; the
// start-up sequence (StartUp) then reads the files.
std::unique_ptr<State> MakeSession(const QString& programFolder, Platform& platform, SettingsStore& settings);

} // namespace corvane
