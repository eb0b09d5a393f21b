#pragma once

#include <QString>

namespace corvane {

class State;

// The start-up sequence in its fixed order: folders and settings keys, file history, data
// tables, equipment files, colour file, language file, tables C and D, the start-up job and
// the log switch. Throws ProgramEnd when the program cannot start.
void StartUp(State& s, const QString& commandTail);
// The start-up job: the job named on the command line, or the template.
void OpenStartupJob(State& s, const QString& commandTail);

} // namespace corvane
