#pragma once

#include "base/settingsstore.h"
#include "definitions/state.h"
#include "input/fieldrules.h"
#include "tests/support/testprogram.h"

#include <QFile>
#include <QTemporaryDir>

namespace corvane::test {

constexpr Colour OverrideColour = RGBColour(200, 0, 0), NormalColour = RGBColour(0, 0, 1),
                 CellColour = RGBColour(0, 0, 2);

// A state in a folder of its own with what the language and colour files give the job file
// (extension, messages 3 and 16, hint strings, colours, three unit rows): no shipped data needed.
struct JobState : TestSession {
    JobState() {
        platform.allowUnscriptedMessages = true;
        s.jobExtension = QStringLiteral("cvj");
        s.settingsSection = QStringLiteral("c\\Tundrel\\Settings");
        s.historySection = QStringLiteral("c\\Tundrel\\FileHistory");
        s.templatePath = Path(QStringLiteral("default.fil"));
        s.baseTitle = QStringLiteral("Corvane");
        for (int n : {3, 16})
            s.messages[0][n] = s.messages[1][n] = QStringLiteral("message %1").arg(n);
        s.strings[6] = QStringLiteral("Job loaded.");
        s.strings[11] = QStringLiteral("Generic");
        s.colours.override = OverrideColour;
        s.colours.cellFore = CellColour;
        s.labels[0].foreColour = NormalColour;
        const char* rows[][5] = {{"2", "LONG", "ft", "m", "0.3048"},
                                 {"6", "TEMPERATURE", "°F", "°C", "FTOC"},
                                 {"9", "LOADH", "Btu/h", "W", "0.2930711"}};
        for (const auto& row : rows)
            for (int c = 1; c <= 4; ++c)
                s.unitTable[c][QByteArray(row[0]).toInt()] = QString::fromUtf8(row[c]);
    }

    QString Path(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }
    QString Write(const QString& name, const QByteArray& bytes) const {
        QFile file(Path(name));
        if (file.open(QIODevice::WriteOnly)) file.write(bytes);
        return file.fileName();
    }
    // Message n, alone or followed by the file it concerns.
    bool MessageShown(int n) const {
        for (const FakePlatform::Shown& m : platform.messages)
            if (m.title == s.messages[0][n] && m.text.startsWith(s.messages[1][n])) return true;
        return false;
    }
};

inline QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace corvane::test
