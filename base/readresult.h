#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace corvane {

// What every reader of a file gives back: what it read, and the problems it met on the way,
// each with the file, the line and what is wrong. A problem never stops a reader; the caller
// decides what a problem means (logged, shown, or the end of the start-up).

struct ReadProblem {
    QString file; // the file's name as the user knows it ("default.lng")
    int line = 0; // 1-based; 0 for the file as a whole
    QString what;
};

// The one way a problem is written: "default.lng:12: what is wrong", or "default.lng: ..."
// for the whole file.
QString FormatProblem(const ReadProblem& problem);

// The problems of one file, in the order they were found.
class ReadProblems {
public:
    explicit ReadProblems(QString file = QString()) : m_file(std::move(file)) {}

    void SetFile(const QString& file) { m_file = file; }
    const QString& File() const { return m_file; }
    void Add(int line, const QString& what) { m_list.append(ReadProblem{m_file, line, what}); }
    bool IsEmpty() const { return m_list.isEmpty(); }
    qsizetype Count() const { return m_list.size(); }
    const QList<ReadProblem>& List() const { return m_list; }
    QStringList Formatted() const;

private:
    QString m_file;
    QList<ReadProblem> m_list;
};

// A reader's answer: the value read and its problems. refused is set (and value is empty)
// when the file was not read at all: missing, not a file, larger than its limit.
template <class T>
struct ReadResult {
    T value{};
    ReadProblems problems;
    QString refused;

    bool Ok() const { return refused.isEmpty(); }
};

// Size limits: a file larger than its limit is refused before a byte is read, so a huge or
// endless input costs nothing. Each is many times the largest file of its kind the program
// ships or writes.
inline constexpr qint64 MaxTextFileBytes = 16 * 1024 * 1024; // language, colour, tables, lists
inline constexpr qint64 MaxRecordFileBytes = 64 * 1024 * 1024; // the equipment record files
// A line longer than this is cut there; the rest of the line is dropped, never read as more lines.
inline constexpr qsizetype MaxLineBytes = 1 << 20;

// An empty string when the file at path may be read under limit; otherwise why not, in the
// program's words ("'x' is 100.0 MB; a file of this kind may hold at most 16 MB").
QString CheckReadable(const QString& path, qint64 limit);

// The bytes of the file at path, refused when it is missing, not a regular file, or larger
// than limit. A file that grows while it is read is cut at the limit and refused.
ReadResult<QByteArray> ReadFileBytes(const QString& path, qint64 limit);

// Splits bytes into lines at CR, LF or CRLF. A line longer than MaxLineBytes keeps its first
// MaxLineBytes bytes; the rest is dropped with a problem for that line.
struct TextLine {
    int number = 0;
    QByteArrayView bytes;
};
QList<TextLine> SplitLines(const QByteArray& bytes, ReadProblems* problems);

} // namespace corvane
