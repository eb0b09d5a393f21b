#pragma once

#include <QString>
#include <array>
#include <functional>

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
    // Every line written from now on is also handed to echo (none when empty).
    void SetEcho(std::function<void(const QString&)> echo) { m_echo = std::move(echo); }
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
    std::function<void(const QString&)> m_echo;
    QString m_runningFile;
    QString m_dumpFile;
};

} // namespace corvane
