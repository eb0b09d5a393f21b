#pragma once

#include <QString>
#include <QStringList>

namespace corvane {

class State;

// The start-up sequence in its fixed order: folders and settings keys, file history, data
// tables, equipment files, colour file, language file, tables C and D, the start-up job and
// the log switch. Throws ProgramEnd when the program cannot start. The arguments are taken
// as the system gives them (a path may hold spaces, quotes or tabs).
void StartUp(State& s, const QStringList& args);
// The same from a command-line tail as one text, split as SplitCommandLine does.
void StartUp(State& s, const QString& commandTail);
// The start-up job: the job named by the arguments, or the template.
void OpenStartupJob(State& s, const QStringList& args);

} // namespace corvane
