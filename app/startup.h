#pragma once

#include <QString>
#include <QStringList>

namespace corvane {

class State;

// The program's version as the window shows it after "Rev : ", e.g. "0.1.92".
QString ProgramVersion();

// The start-up sequence in its fixed order: folders and settings keys, file history, data
// tables, equipment files, colour file, language file, tables C and D, the start-up job and
// the log switch. The arguments are the program's, as the system passes them (a path with
// spaces, quotes or commas is one argument). Throws ProgramEnd when the program cannot start.
void StartUp(State& s, const QStringList& arguments);
// The same, given a command-line tail as one text, split as the program's command line is.
void StartUp(State& s, const QString& commandTail);
// The start-up job: the first job file among the arguments that opens, or the template.
void OpenStartupJob(State& s, const QStringList& arguments);

} // namespace corvane
