#pragma once

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

// Reads a text data file line by line, decoding Windows-1252 and accepting CRLF or LF ends.
// Lines are bounded so a file without line ends cannot exhaust memory.
class LineReader {
public:
    static constexpr qint64 MaxLineBytes = 1 << 20;

    explicit LineReader(const QString& path) : m_file(path) {}
    bool Open() { return m_file.open(QIODevice::ReadOnly); }
    bool AtEnd() const { return m_file.atEnd(); }
    QString ReadLine();
    Record ReadRecord() { return Record::Parse(ReadLine()); }
    int LineNumber() const { return m_line; }

private:
    QFile m_file;
    int m_line = 0;
};

// Windows-1252, the 8-bit code page of every text file the program reads and writes.
QString FromCp1252(QByteArrayView bytes);
QByteArray ToCp1252(QStringView text);

} // namespace corvane
