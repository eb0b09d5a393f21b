#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace corvane {

// The exit status of the batch mode.
enum BatchExit { Computed = 0, ChecksFail = 1, BadArguments = 2, JobUnusable = 3, Unexpected = 4 };

// One edit of the command line, applied as the user would make it in the window.
struct Edit {
    enum Kind { Set, Cell, ClickRadio, Pick, PickCell } kind = Set;
    QString spelled; // as given, for messages
    int n = 0;       // field, option button or grid
    int row = 0, col = 0;
    int index = 0;
    QString text;
};

// Everything the command line asks for.
struct BatchOptions {
    QList<Edit> edits;
    QString savePath;
    QString pdfPath;   // the report as a PDF
    QString bmpPath;   // the report as page images, named as in the save dialog
    QString jobFile;
    bool json = false;
    bool help = false;
    bool version = false;
    bool log = false;
    bool update = false;
};


// Reads the batch command line into options; an empty result, or the message that says what
// is wrong with it.
QString ParseBatchArguments(const QStringList& args, BatchOptions& out);

// The text of --help, ending with the folders of the installation in programFolder.
QString BatchHelpText(const QString& programFolder);

} // namespace corvane
