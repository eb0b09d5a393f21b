// What the update check reads from the network on any bytes: the version list, the name rules
// of its entries, the file checks and the trusted-key list. An entry whose names pass the rules
// must stay inside the program's folder, whatever it says.

#include "update/signing.h"
#include "install/versionlist.h"

#include <QByteArray>
#include <QDir>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace corvane;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const VersionList list = ReadVersionList(bytes);
    const QString program = QStringLiteral("/opt/program");
    for (const VersionEntry& entry : list.entries) {
        if (entry.line < 1 || entry.text.size() > bytes.size()) std::abort();
        if (const std::optional<FileCheck> check = ParseFileCheck(entry.check)) {
            if (check->size < 0 || check->size > MaxListedFileSize || check->sha256.size() != 32) std::abort();
            if (ParseFileCheck(FormatFileCheck(*check)).has_value() == false) std::abort();
        }
        if (!EntryNameProblem(entry).isEmpty()) continue;
        const QString folder = IsApplicationFolder(entry.localFolder) ? program : program + QLatin1Char('/') + entry.localFolder;
        const QString target = QDir::cleanPath(folder + QLatin1Char('/') + entry.fileName);
        if (!target.startsWith(program + QLatin1Char('/'))) std::abort();
        if (QDir::cleanPath(entry.remoteFolder).startsWith(QLatin1String(".."))) std::abort();
    }
    const TrustedKeys keys = ReadTrustedKeys(bytes);
    for (const QByteArray& key : keys.keys)
        if (key.size() != 32) std::abort();
    if (!keys.keys.isEmpty() && ListSignedByOneOf(bytes, bytes, keys.keys)) std::abort();
    return 0;
}
