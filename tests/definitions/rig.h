#pragma once

#include "app/session.h"
#include "definitions/state.h"
#include "tests/support/testprogram.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

namespace corvane::test {

// A program folder holding only the data files a test writes, with private settings.
struct Rig {
    QTemporaryDir dir;
    FakePlatform platform;
    SettingsStore settings{dir.filePath("s.ini")};
    std::unique_ptr<State> s;
    Rig() {
        QDir(dir.path()).mkpath("opdata");
        s = MakeSession(dir.path(), platform, settings);
        s->settingsSection = QStringLiteral("t\\Settings");
    }
    void Write(const QString& name, const QByteArray& content) {
        QFile f(dir.filePath("opdata/" + name));
        if (f.open(QIODevice::WriteOnly)) f.write(content);
    }
    QString Setting(const QString& key) const { return settings.Get(QStringLiteral("t\\Settings"), key); }
};

inline QByteArray Garbage(quint32 seed) {
    QByteArray bytes(64 * 1024, '\0');
    QRandomGenerator random(seed);
    for (char& c : bytes) c = char(random.bounded(256));
    return bytes;
}

inline QByteArray Repeated(const QByteArray& head, int lines) {
    QByteArray bytes;
    for (int i = 0; i < lines; ++i) bytes += head + QByteArray::number(i % 256) + "\t0\t0\r\n";
    return bytes;
}

// Log lines that report a line of the named file as unusable.
inline QStringList Complaints(const State& s, const QString& file) {
    return s.log.Lines().filter(file + QLatin1Char(':'));
}

} // namespace corvane::test
