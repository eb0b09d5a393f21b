#pragma once

#include <QString>
#include <QStringList>

namespace corvane {

// The files of a folder that match a wildcard pattern, in the order of the listing.
QStringList FilesMatching(const QString& folder, const QString& pattern);
// The first of them, empty when none matches.
QString FirstFileMatching(const QString& folder, const QString& pattern);

} // namespace corvane
