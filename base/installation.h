#pragma once

#include <QString>

namespace corvane {

// The file beside the program that marks an installation owned by the system's package
// manager: its files are replaced only by the package manager, never by the program.
inline constexpr char PackageMarkerName[] = "package-managed";

// The program is two executables side by side. `corvane` is the command users and the desktop
// start: it runs the batch mode with Qt Core alone, so a batch run starts quickly, and hands
// everything else to `corvane-gui`: the window, and the batch runs that draw the report (fonts)
// or check for updates (the network).
inline constexpr char BatchProgramName[] = "corvane";
inline constexpr char WindowProgramName[] = "corvane-gui";

// True when the program may write into its own folder: the folder is writable for this user
// and no package manager owns it. A portable installation is; an installed package is not.
bool InstallationWritable(const QString& programFolder);

// Where the program keeps what it writes besides jobs (the logs, downloads): its own folder
// when the installation is writable, else "Corvane" in the user's data folder. No separator
// at the end.
QString WritableFolder(const QString& programFolder);

// The folder the job dialogs start in until the user picks another: "JobFiles/" beside the
// program when the installation is writable, else a "Corvane" folder in the user's documents.
// Ends with a separator.
QString DefaultJobFolder(const QString& programFolder);

} // namespace corvane
