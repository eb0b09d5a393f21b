#pragma once

#include <QStringList>

namespace corvane {

// The batch mode: `corvane --batch [edits...] [--save PATH] [--pdf PATH] [--bmp PATH] [--json]
// [JOBFILE]`. Starts as the program does, without a window; applies the edits as a user would
// make them; writes the job and the report where asked; prints a summary or the whole state as
// JSON. Returns the exit status.
int RunBatch(const QString& programFolder, const QStringList& args);

bool IsBatchInvocation(const QStringList& args);
// True when the batch run draws the report (--pdf, --bmp): that needs fonts, so a GUI
// application, though no window is shown.
bool BatchDrawsReport(const QStringList& args);

} // namespace corvane
