#include "update/publishing.h"

#include "base/safefile.h"
#include "update/signing.h"
#include "install/versionlist.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace corvane {

namespace {

constexpr qint64 ListLimit = 1 << 20;
constexpr qint64 KeyFileLimit = 4096;

QString Write(const QString& path, const QByteArray& bytes, bool ownerOnly) {
    if (const QString refused = CheckWriteTarget(path); !refused.isEmpty()) return refused;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return QStringLiteral("'%1' cannot be written: %2").arg(path, file.errorString());
    if (ownerOnly && !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return QStringLiteral("'%1' cannot be made private").arg(path);
    if (file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("'%1' cannot be written: %2").arg(path, file.errorString());
    return QString();
}

// The file's size and SHA-256, read in pieces so a big file costs no memory.
std::optional<FileCheck> CheckOf(const QString& path) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) return std::nullopt;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file)) return std::nullopt;
    return FileCheck{file.size(), hash.result()};
}

} // namespace

QByteArray SignatureText(const QByteArray& list, const QByteArray& secretKey) {
    return EncodeKeyText(SignMessage(list, secretKey)) + '\n';
}

QString WriteKeyFiles(const QString& keyFile) {
    if (QFileInfo::exists(keyFile) || QFileInfo(keyFile).isSymLink())
        return QStringLiteral("'%1' exists; a key file is never replaced").arg(keyFile);
    const KeyPair pair = GenerateKeyPair();
    QString problem = Write(keyFile, EncodeKeyText(pair.secretKey) + '\n', true);
    if (problem.isEmpty()) problem = Write(keyFile + QStringLiteral(".pub"), EncodeKeyText(pair.publicKey) + '\n', false);
    return problem;
}

SignResult SignArea(const QString& area, const QString& keyFile) {
    SignResult result;
    QFile key(keyFile);
    std::optional<QByteArray> secret;
    if (key.size() <= KeyFileLimit && key.open(QIODevice::ReadOnly)) secret = DecodeKeyText(key.readAll(), SecretKeyBytes);
    if (!secret) {
        result.problems << QStringLiteral("%1: not a secret key written by 'keygen'").arg(keyFile);
        return result;
    }
    const QString listPath = area + QStringLiteral("/Newest.ver");
    QFile listFile(listPath);
    if (!listFile.open(QIODevice::ReadOnly) || listFile.size() > ListLimit) {
        result.problems << QStringLiteral("Newest.ver: cannot be read or is larger than 1 MiB");
        return result;
    }
    QList<QByteArray> lines = listFile.readAll().split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    QByteArray out;
    for (int i = 0; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        if (line.endsWith('\r')) line.chop(1);
        const QString where = QStringLiteral("Newest.ver:%1: ").arg(i + 1);
        if (!line.isEmpty() && !line.startsWith('#')) {
            QList<QByteArray> fields = line.split('\t');
            const VersionList parsed = ReadVersionList(line);
            if (parsed.entries.isEmpty()) {
                result.problems << where + QStringLiteral("%1 fields where six are expected").arg(fields.size());
                continue;
            }
            const VersionEntry& e = parsed.entries.first();
            const QString problem = EntryNameProblem(e);
            if (!problem.isEmpty()) {
                result.problems << where + problem;
                continue;
            }
            const QString file = area + QLatin1Char('/') + e.remoteFolder + QLatin1Char('/') + e.fileName;
            const std::optional<FileCheck> check = CheckOf(file);
            if (!check) {
                result.problems << where + QStringLiteral("'%1' is missing or not a regular file").arg(file);
                continue;
            }
            fields[5] = FormatFileCheck(*check).toLatin1();
            line = fields.join('\t');
            ++result.entries;
        }
        out += line + "\r\n";
    }
    if (!result.problems.isEmpty()) return result;
    QString problem = Write(listPath, out, false);
    if (problem.isEmpty()) problem = Write(listPath + QStringLiteral(".sig"), SignatureText(out, *secret), false);
    if (!problem.isEmpty()) result.problems << problem;
    return result;
}

} // namespace corvane
