#include "install/versionlist.h"

namespace corvane {

namespace {

constexpr int FieldCount = 6;
constexpr int MaxNameLength = 255;

bool IsControl(QChar c) {
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7F && u <= 0x9F) || u == 0xFFFD || c.isSurrogate();
}

// Names Windows reserves for devices, with or without an extension.
bool IsDeviceName(const QString& name) {
    const QString base = name.section(QLatin1Char('.'), 0, 0).toUpper();
    static const QStringList devices = {QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"),
                                        QStringLiteral("NUL")};
    if (devices.contains(base)) return true;
    return base.size() == 4 && (base.startsWith(QLatin1String("COM")) || base.startsWith(QLatin1String("LPT"))) &&
           base[3] >= QLatin1Char('1') && base[3] <= QLatin1Char('9');
}

QString PlainNameProblem(const QString& name, const QString& what) {
    if (name.isEmpty()) return what + QStringLiteral(" is empty");
    if (name.size() > MaxNameLength) return what + QStringLiteral(" is longer than 255 characters");
    for (QChar c : name)
        if (IsControl(c)) return what + QStringLiteral(" holds a control character");
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return what + QStringLiteral(" '") + name + QStringLiteral("' holds a folder separator");
    if (name == QLatin1String("..") || name == QLatin1String("."))
        return what + QStringLiteral(" '") + name + QStringLiteral("' names a folder, not a file");
    if (name.startsWith(QLatin1Char('.'))) return what + QStringLiteral(" '") + name + QStringLiteral("' begins with a dot");
    if (name.contains(QLatin1Char(':')))
        return what + QStringLiteral(" '") + name + QStringLiteral("' holds a drive or stream separator ':'");
    for (QChar c : QStringLiteral("*?\"<>|"))
        if (name.contains(c)) return what + QStringLiteral(" '") + name + QStringLiteral("' holds '") + c + QLatin1Char('\'');
    if (name.endsWith(QLatin1Char(' ')) || name.endsWith(QLatin1Char('.')) || name.startsWith(QLatin1Char(' ')))
        return what + QStringLiteral(" '") + name + QStringLiteral("' begins or ends with a space or ends with a dot");
    if (IsDeviceName(name)) return what + QStringLiteral(" '") + name + QStringLiteral("' is a device name");
    return QString();
}

} // namespace

VersionList ReadVersionList(const QByteArray& bytes, const QString& fileName) {
    VersionList list;
    int lineNumber = 0;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0) end = bytes.size();
        ++lineNumber;
        QByteArray line = bytes.mid(start, end - start);
        start = end + 1;
        if (line.endsWith('\r')) line.chop(1);
        if (line.isEmpty() || line.startsWith('#')) continue;
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() != FieldCount) {
            list.problems << ListProblem{fileName, lineNumber, QStringLiteral("%1 fields where six are expected; line ignored")
                                                         .arg(fields.size())};
            continue;
        }
        VersionEntry e;
        e.line = lineNumber;
        e.state = QString::fromUtf8(fields[0]);
        e.fileName = QString::fromUtf8(fields[1]);
        e.remoteFolder = QString::fromUtf8(fields[2]);
        e.localFolder = QString::fromUtf8(fields[3]);
        e.version = QString::fromUtf8(fields[4]);
        e.check = QString::fromUtf8(fields[5]);
        e.text = line;
        list.entries << e;
    }
    return list;
}

bool IsApplicationFolder(const QString& localFolder) {
    return localFolder.compare(QLatin1String("APPPATH"), Qt::CaseInsensitive) == 0;
}

QString FileNameProblem(const QString& name) {
    return PlainNameProblem(name, QStringLiteral("the file name"));
}

QString LocalFolderProblem(const QString& folder) {
    if (IsApplicationFolder(folder)) return QString();
    return PlainNameProblem(folder, QStringLiteral("the local folder"));
}

QString RemoteFolderProblem(const QString& folder) {
    if (folder.isEmpty()) return QStringLiteral("the remote folder is empty");
    for (const QString& part : folder.split(QLatin1Char('/'))) {
        const QString problem = PlainNameProblem(part, QStringLiteral("the remote folder"));
        if (!problem.isEmpty()) return problem;
    }
    return QString();
}

QString EntryNameProblem(const VersionEntry& entry) {
    QString problem = FileNameProblem(entry.fileName);
    if (problem.isEmpty()) problem = LocalFolderProblem(entry.localFolder);
    if (problem.isEmpty()) problem = RemoteFolderProblem(entry.remoteFolder);
    return problem;
}

std::optional<FileCheck> ParseFileCheck(const QString& text) {
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (colon < 1 || colon > 12) return std::nullopt;
    const QString size = text.left(colon);
    const QString hex = text.mid(colon + 1);
    for (QChar c : size)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
    if (hex.size() != 64) return std::nullopt;
    for (QChar c : hex)
        if (!((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('a') && c <= QLatin1Char('f'))))
            return std::nullopt;
    FileCheck check;
    check.size = size.toLongLong();
    if (check.size > MaxListedFileSize) return std::nullopt;
    check.sha256 = QByteArray::fromHex(hex.toLatin1());
    return check;
}

QString FormatFileCheck(const FileCheck& check) {
    return QString::number(check.size) + QLatin1Char(':') + QString::fromLatin1(check.sha256.toHex());
}

} // namespace corvane
