#pragma once

#include "base/readresult.h"

#include <QStringList>

namespace corvane {

class State;

// Reads the language file named by the settings ("Language_File", default "default.lng")
// and applies every line: captions, units, hints, defaults, lists, messages, error texts,
// strings, the unit table, the grid rows and the calculation constants. A missing file ends
// the program with "Cannot open resource file"; a line that cannot be used is logged and
// skipped; the problems met are returned. A file without a single usable line ends the
// program as a missing one does.
ReadProblems ReadResourceFile(State& s);

// The entries of option list n as a language file defines them (its OPTIONLIST n ITEM lines),
// empty when the file cannot be read. Used to recognise list texts of another language.
QStringList ReadOptionListItems(const QString& path, int list);

} // namespace corvane
