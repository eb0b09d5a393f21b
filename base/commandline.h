#pragma once

#include <QStringList>

namespace corvane {

// Splits the command-line tail (the text after the program name) into at most maxArgs
// arguments. Quotes group and are dropped; outside quotes a tab ends an argument, while a
// space ends one only before a '/', so unquoted paths with spaces survive and " /LOG" still
// starts a new argument.
QStringList SplitCommandLine(const QString& tail, int maxArgs = 10);

} // namespace corvane
