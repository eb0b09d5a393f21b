#pragma once

#include <QString>
#include <array>

namespace corvane {

// The trace log: the last 1000 lines are always kept in memory; with the log switch on,
// every line is also appended to the running log file, which is closed after each line
// so that it survives a crash.
class Log {
public:
    static constexpr int RingSize = 1000;

    void SetFiles(const QString& runningFile, const QString& dumpFile);
    void Write(const QString& line);
    void SetFileOn(bool on) { m_fileOn = on; }
    bool FileOn() const { return m_fileOn; }

    // Writes the ring, oldest line first, to the dump file; returns false when it cannot be written.
    bool Dump() const;
    QString DumpPath() const { return m_dumpFile; }
    QStringList Lines() const;

private:
    std::array<QString, RingSize> m_ring;
    int m_index = 0;
    bool m_wrapped = false;
    bool m_fileOn = false;
    QString m_runningFile;
    QString m_dumpFile;
};

} // namespace corvane
