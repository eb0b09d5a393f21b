#pragma once

#include "base/readresult.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace corvane {

// One entry of a version list (Installed.ver, Newest.ver): six fields separated by tabs.
struct VersionEntry {
    int line = 0;             // line number in the list, from 1
    QString state;            // field 0, kept as written
    QString fileName;         // field 1
    QString remoteFolder;     // field 2: the path under the update address
    QString localFolder;      // field 3: "APPPATH" or one folder under the program folder
    QString version;          // field 4, compared as text
    QString check;            // field 5: "size:sha256" in a published list
    QByteArray text;          // the line as written, without its line end
};

// A problem of a list: its file, line (0: the list as a whole) and what is wrong, written as
// every reader's problems are (FormatProblem).
using ListProblem = ReadProblem;

struct VersionList {
    QList<VersionEntry> entries;
    QList<ListProblem> problems;
};

// Reads a version list from its bytes. Empty lines and comments ('#' first) are skipped; a
// line that does not split into exactly six fields is reported with its number and skipped.
// The work is linear in the size of the input and nothing is trusted.
VersionList ReadVersionList(const QByteArray& bytes, const QString& fileName = QStringLiteral("Newest.ver"));

// The name rules that keep every entry inside the installation. Each returns why the text
// cannot be used, or an empty string when it can.
// A file name: one plain name - no separator, no "..", no leading dot, no drive, no control
// characters, nothing a file system would read as something else.
QString FileNameProblem(const QString& name);
// The local folder: "APPPATH" or one plain folder name.
QString LocalFolderProblem(const QString& folder);
// The remote folder: one or more plain names joined by '/'.
QString RemoteFolderProblem(const QString& folder);
// The first problem of an entry's three names.
QString EntryNameProblem(const VersionEntry& entry);

bool IsApplicationFolder(const QString& localFolder);

// Field 5 of a published entry: the file's size in bytes and its SHA-256.
struct FileCheck {
    qint64 size = 0;
    QByteArray sha256;        // 32 bytes
};
std::optional<FileCheck> ParseFileCheck(const QString& text);
QString FormatFileCheck(const FileCheck& check);

// The largest file a list may announce; anything bigger is refused.
constexpr qint64 MaxListedFileSize = qint64(1) << 30;

} // namespace corvane
