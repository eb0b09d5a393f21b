#pragma once

#include "app/settingsstore.h"
#include "definitions/state.h"
#include "input/fieldrules.h"
#include "tests/support/fakeplatform.h"

#include <QFile>
#include <QTemporaryDir>

namespace corvane::test {

constexpr Colour OverrideColour = RGBColour(200, 0, 0);
constexpr Colour NormalColour = RGBColour(0, 0, 1);
constexpr Colour CellColour = RGBColour(0, 0, 2);

// A state in a folder of its own, given what the language and colour files would give the
// job file: the job extension, messages 3 and 16, the hint strings, the colours and a few
// unit-table rows. Independent of the shipped data files.
struct JobState {
    QTemporaryDir dir;
    FakePlatform platform;
    SettingsStore settings{dir.path() + QStringLiteral("/settings.ini")};
    State s{dir.path(), platform, settings};

    JobState() {
        InstallInputHandlers(s);
        platform.allowUnscriptedMessages = true;
        s.jobExtension = QStringLiteral("cvj");
        s.settingsSection = QStringLiteral("corvane\\Tundrel\\Settings");
        s.historySection = QStringLiteral("corvane\\Tundrel\\FileHistory");
        s.templatePath = Path(QStringLiteral("default.fil"));
        s.baseTitle = QStringLiteral("Corvane");
        s.messages[0][3] = QStringLiteral("Save");
        s.messages[1][3] = QStringLiteral("The job could not be saved.");
        s.messages[0][16] = QStringLiteral("Open");
        s.messages[1][16] = QStringLiteral("The job file could not be read.");
        s.strings[6] = QStringLiteral("Job loaded.");
        s.strings[7] = QStringLiteral("Job saved.");
        s.strings[11] = QStringLiteral("Generic");
        s.colours.override = OverrideColour;
        s.colours.cellFore = CellColour;
        s.labels[0].foreColour = NormalColour;
        AddUnitRow(2, QStringLiteral("LONG"), QStringLiteral("ft"), QStringLiteral("m"), QStringLiteral("0.3048"));
        AddUnitRow(6, QStringLiteral("TEMPERATURE"), QStringLiteral("°F"), QStringLiteral("°C"), QStringLiteral("FTOC"));
        AddUnitRow(9, QStringLiteral("LOADH"), QStringLiteral("Btu/h"), QStringLiteral("W"), QStringLiteral("0.2930711"));
    }

    void AddUnitRow(int row, const QString& category, const QString& imperial, const QString& metric,
                    const QString& factor) {
        s.unitTable[1][row] = category;
        s.unitTable[2][row] = imperial;
        s.unitTable[3][row] = metric;
        s.unitTable[4][row] = factor;
    }

    QString Path(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }

    QString Write(const QString& name, const QByteArray& bytes) const {
        QFile file(Path(name));
        if (!file.open(QIODevice::WriteOnly)) return QString();
        file.write(bytes);
        return file.fileName();
    }

    bool MessageShown(int n) const {
        for (const FakePlatform::Shown& m : platform.messages)
            if (m.title == s.messages[0][n] && m.text == s.messages[1][n]) return true;
        return false;
    }
};

inline QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace corvane::test
