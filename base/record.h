#pragma once

#include "base/readresult.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

namespace corvane {

// One tab-separated line of a data file, fields numbered from 1. After each tab only the
// next 255 characters of the line are read on, so a field can never carry more than that.
class Record {
public:
    static Record Parse(const QString& line);

    int Count() const { return static_cast<int>(m_fields.size()); }
    bool HasAtLeast(int k) const { return Count() >= k; }
    // Field i (1-based); an empty text beyond the last field.
    QString Field(int i) const { return i >= 1 && i <= Count() ? m_fields[i - 1] : QString(); }

private:
    QStringList m_fields;
};

// Reads a text data file line by line, decoding Windows-1252 and accepting CRLF, LF or CR
// ends. The file is refused when it is larger than its limit (Open() returns false and
// Refusal() says why); a line longer than MaxLineBytes is cut there and the rest of it
// dropped, with a problem for that line.
class LineReader {
public:
    explicit LineReader(const QString& path, qint64 limit = MaxTextFileBytes) : m_path(path), m_limit(limit) {}
    bool Open();
    bool AtEnd() const { return m_next >= m_lines.size(); }
    QString ReadLine();
    Record ReadRecord() { return Record::Parse(ReadLine()); }
    // The number of the line read last, counted from 1.
    int LineNumber() const { return m_line; }
    // Why Open() failed: missing, not a file, too large, unreadable.
    const QString& Refusal() const { return m_refusal; }
    // The problems met splitting the file into lines (over-long lines), each once.
    const ReadProblems& Problems() const { return m_problems; }
    ReadProblems& Problems() { return m_problems; }

private:
    QString m_path;
    qint64 m_limit;
    QByteArray m_bytes;
    QList<TextLine> m_lines;
    qsizetype m_next = 0;
    int m_line = 0;
    QString m_refusal;
    ReadProblems m_problems;
};

// Windows-1252, the 8-bit code page of every text file the program reads and writes.
QString FromCp1252(QByteArrayView bytes);
QByteArray ToCp1252(QStringView text);

} // namespace corvane
