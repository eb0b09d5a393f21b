#include "base/log.h"
#include "base/safefile.h"

#include <QFile>

namespace corvane {

void Log::SetFiles(const QString& runningFile, const QString& dumpFile) {
    m_runningFile = runningFile;
    m_dumpFile = dumpFile;
}

void Log::Write(const QString& line) {
    m_ring[m_index] = line;
    if (++m_index >= RingSize) {
        m_index = 0;
        m_wrapped = true;
    }
    if (m_echo) m_echo(line);
    if (!m_fileOn || m_runningFile.isEmpty()) return;
    // A pipe or a device in the log file's place is left alone (a pipe would block the program).
    if (!CheckWriteTarget(m_runningFile).isEmpty()) return;
    QFile file(m_runningFile);
    if (file.open(QIODevice::Append)) {
        file.write(line.toLocal8Bit());
        file.write("\r\n");
    }
}

QStringList Log::Lines() const {
    QStringList lines;
    if (m_wrapped)
        for (int i = m_index; i < RingSize; ++i) lines << m_ring[i];
    for (int i = 0; i < m_index; ++i) lines << m_ring[i];
    return lines;
}

bool Log::Dump() const {
    // Procedure entries start with '>'; detail lines are indented under them.
    QByteArray bytes;
    for (const QString& line : Lines()) {
        const QString text = line.startsWith(QLatin1Char('>')) ? line : QStringLiteral("     ") + line;
        bytes += text.toLocal8Bit();
        bytes += "\r\n";
    }
    return WriteFileSafely(m_dumpFile, bytes);
}

} // namespace corvane
