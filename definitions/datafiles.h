#pragma once

#include <QString>

namespace corvane {

class State;

// True when the path names an existing file. When it does not and mustExist is set, the
// "Cannot open resource file" message is shown and the program ends (ProgramEnd).
bool FileExists(State& s, const QString& path, bool mustExist);

// The data-file opener's failure: the message box and the end of the program.
[[noreturn]] void FailResourceFile(State& s, const QString& path);

} // namespace corvane
