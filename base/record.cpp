#include "base/record.h"

namespace corvane {

Record Record::Parse(const QString& line) {
    Record record;
    // The rest of the line is a view into it: only the fields themselves are copied.
    QStringView rest(line);
    qsizetype tab;
    while ((tab = rest.indexOf(QLatin1Char('\t'))) >= 0) {
        record.m_fields << rest.left(tab).toString();
        rest = rest.mid(tab + 1, 255);
    }
    record.m_fields << rest.toString();
    return record;
}

bool LineReader::Open() {
    ReadResult<QByteArray> file = ReadFileBytes(m_path, m_limit);
    m_problems = file.problems;
    m_refusal = file.refused;
    if (!file.Ok()) return false;
    m_bytes = std::move(file.value);
    m_lines = SplitLines(m_bytes, &m_problems);
    m_next = 0;
    m_line = 0;
    return true;
}

QString LineReader::ReadLine() {
    if (AtEnd()) return QString();
    const TextLine& line = m_lines[m_next++];
    m_line = line.number;
    return FromCp1252(line.bytes);
}

namespace {

// Characters 0x80-0x9F of Windows-1252; the rest of the code page equals Latin-1.
constexpr char16_t HighTable[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

QString FromCp1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        out[i] = (c >= 0x80 && c < 0xA0) ? QChar(HighTable[c - 0x80]) : QChar(c);
    }
    return text;
}

QByteArray ToCp1252(QStringView text) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        char c = '?';
        if (u < 0x80 || (u >= 0xA0 && u < 0x100)) {
            c = static_cast<char>(u);
        } else {
            for (int k = 0; k < 32; ++k)
                if (HighTable[k] == u) {
                    c = static_cast<char>(0x80 + k);
                    break;
                }
        }
        bytes[i] = c;
    }
    return bytes;
}

} // namespace corvane
