#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace corvane {

// The publisher's side of the update: a key pair, and a web area whose list is completed and
// signed.

// Writes a new secret key to keyFile (readable by its owner only) and its public key to
// keyFile + ".pub", each one line of base64. Refuses to replace an existing key file.
// Returns what went wrong, empty on success.
QString WriteKeyFiles(const QString& keyFile);

struct SignResult {
    int entries = 0;
    QStringList problems;     // "Newest.ver:LINE: what"; nothing is written when any
};

// Fills field 5 of every entry of area/Newest.ver with the file's size and SHA-256 (the file
// is area/<remote folder>/<file name>), rewrites the list and writes area/Newest.ver.sig.
SignResult SignArea(const QString& area, const QString& keyFile);

// The signature file's text for a list.
QByteArray SignatureText(const QByteArray& list, const QByteArray& secretKey);

} // namespace corvane
