#pragma once

#include <QString>

namespace corvane {

class State;

struct UpdateOptions {
    bool askBeforeDownload = true;   // the batch mode answers the question itself
    int stallTimeoutMs = 30000;      // a transfer that sends nothing for this long ends
    QString programFileName;         // the running program's file name; empty: this process's
};

enum class UpdateResult {
    UpToDate,      // every file is current; nothing asked
    Updated,       // every changed file is in place
    Declined,      // the user answered No
    Cancelled,     // Cancel during the downloads; nothing changed
    Unreachable,   // the list could not be fetched; nothing changed
    Refused,       // the list or the address is not trusted; nothing changed
    Abandoned,     // a file failed its check or could not be put in place; nothing changed
    Incomplete,    // the rest is in place, some files could not be downloaded
    Managed,       // the installation is read-only: its package manager updates it
};

// "Check for updates": compares the installed files with the signed list at the update
// address, reports each file in the log, asks, downloads the changed files into a staging
// folder, checks each against the list's size and SHA-256, puts them in place and rewrites
// Installed.ver to name exactly what is in place; then shows the release notes.
UpdateResult UpdateCheck(State& s, const UpdateOptions& options = {});

} // namespace corvane
