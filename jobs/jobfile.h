#pragma once

#include <QString>

namespace corvane {

class State;

bool JobFileSave(State& s, const QString& path);
bool JobFileLoad(State& s, const QString& path);
// Loads the template job (start-up, New, after a failed load); ends the program when it fails.
void LoadTemplateJob(State& s);

} // namespace corvane
