#include "base/log.h"

#include <QFile>
#include <QSaveFile>

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
    if (!m_fileOn || m_runningFile.isEmpty()) return;
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
    QSaveFile file(m_dumpFile);
    if (!file.open(QIODevice::WriteOnly)) return false;
    // Procedure entries start with '>'; detail lines are indented under them.
    for (const QString& line : Lines()) {
        const QString text = line.startsWith(QLatin1Char('>')) ? line : QStringLiteral("     ") + line;
        file.write(text.toLocal8Bit());
        file.write("\r\n");
    }
    return file.commit();
}

} // namespace corvane
