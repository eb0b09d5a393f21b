#pragma once

#include <QStringList>

namespace corvane {

// The batch mode: `corvane --batch [edits...] [--save PATH] [--json] [JOBFILE]`. Starts as the
// program does, without a window; applies the edits as a user would make them; prints a
// summary or the whole state as JSON. Returns the exit status.
int RunBatch(const QString& programFolder, const QStringList& args);

bool IsBatchInvocation(const QStringList& args);

} // namespace corvane
