#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace corvane {

class State;

// What a batch run may need beyond the core, from the layers that need more than Qt Core: the
// report drawn into a PDF or page images (fonts, Qt Gui) and the update check (the network).
// The batch program runs without them and hands a run that needs one to the window program,
// which passes them in (commands/batchservices.h).
struct BatchServices {
    // The report as a PDF at `path` / as page images named from `base`; false with the reason
    // in `error`.
    std::function<bool(State&, const QString& path, QString* error)> writePdf;
    std::function<bool(State&, const QString& base, QString* error)> writePageImages;
    // The update check without a window: true when everything is up to date or updated.
    std::function<bool(State&)> checkForUpdates;
};

// The batch mode: `corvane --batch [edits...] [--save PATH] [--pdf PATH] [--bmp PATH] [--json]
// [JOBFILE]`. Starts as the program does, without a window; applies the edits as a user would
// make them; writes the job and the report where asked; prints a summary or the whole state as
// JSON. Returns the exit status.
int RunBatch(const QString& programFolder, const QStringList& args, const BatchServices& services);

bool IsBatchInvocation(const QStringList& args);
// True when the batch run draws the report (--pdf, --bmp): that needs fonts, so a GUI
// application, though no window is shown.
bool BatchDrawsReport(const QStringList& args);
// True when the batch run needs one of the services: it draws the report or checks for updates.
bool BatchNeedsServices(const QStringList& args);

} // namespace corvane
