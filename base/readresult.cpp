#include "base/readresult.h"

#include <QFile>
#include <QFileInfo>

namespace corvane {

QString FormatProblem(const ReadProblem& problem) {
    QString text = problem.file;
    if (problem.line > 0) text += QLatin1Char(':') + QString::number(problem.line);
    return text + QStringLiteral(": ") + problem.what;
}

QStringList ReadProblems::Formatted() const {
    QStringList lines;
    lines.reserve(m_list.size());
    for (const ReadProblem& p : m_list) lines << FormatProblem(p);
    return lines;
}

namespace {

QString Megabytes(qint64 bytes) { return QString::number(static_cast<double>(bytes) / (1024.0 * 1024.0), 'f', 1); }

QString TooLarge(const QString& path, qint64 size, qint64 limit) {
    return QStringLiteral("'%1' is %2 MB; a file of this kind may hold at most %3 MB")
        .arg(path, Megabytes(size), QString::number(limit / (1024 * 1024)));
}

} // namespace

QString CheckReadable(const QString& path, qint64 limit) {
    const QFileInfo info(path);
    if (!info.exists()) return QStringLiteral("'%1' does not exist").arg(path);
    if (info.isDir()) return QStringLiteral("'%1' is a folder").arg(path);
    // A pipe or a device could keep a reader waiting for ever, or feed it without end.
    if (!info.isFile()) return QStringLiteral("'%1' is not a regular file").arg(path);
    if (info.size() > limit) return TooLarge(path, info.size(), limit);
    return QString();
}

ReadResult<QByteArray> ReadFileBytes(const QString& path, qint64 limit) {
    ReadResult<QByteArray> result;
    result.problems.SetFile(QFileInfo(path).fileName());
    result.refused = CheckReadable(path, limit);
    if (!result.Ok()) return result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.refused = file.errorString() + QStringLiteral(": ") + path;
        return result;
    }
    // The file may grow while it is read: read no more than the limit, in pieces.
    if (file.size() > 0) result.value.reserve(file.size());
    while (result.value.size() <= limit) {
        const QByteArray piece = file.read(1 << 16);
        if (piece.isEmpty()) break;
        result.value += piece;
    }
    if (file.error() != QFileDevice::NoError) {
        result.refused = file.errorString() + QStringLiteral(": ") + path;
        result.value.clear();
    } else if (result.value.size() > limit) {
        result.refused = TooLarge(path, result.value.size(), limit);
        result.value.clear();
    }
    return result;
}

QList<TextLine> SplitLines(const QByteArray& bytes, ReadProblems* problems) {
    QList<TextLine> lines;
    const char* data = bytes.constData();
    const qsizetype size = bytes.size();
    qsizetype start = 0;
    int number = 0;
    while (start < size) {
        qsizetype end = start;
        while (end < size && data[end] != '\n' && data[end] != '\r') ++end;
        ++number;
        qsizetype length = end - start;
        if (length > MaxLineBytes) {
            length = MaxLineBytes;
            if (problems)
                problems->Add(number, QStringLiteral("the line is longer than %1 characters; the rest is dropped")
                                          .arg(MaxLineBytes));
        }
        lines.append(TextLine{number, QByteArrayView(data + start, length)});
        if (end + 1 < size && data[end] == '\r' && data[end + 1] == '\n') ++end;
        start = end + 1;
    }
    return lines;
}

} // namespace corvane
