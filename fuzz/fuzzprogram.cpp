#include "fuzz/fuzzprogram.h"

#include "app/session.h"
#include "app/startup.h"
#include "tests/support/testprogram.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdlib>

namespace corvane::fuzz {

FuzzProgram& FuzzProgram::Get() {
    static int argc = 1;
    static char name[] = "corvane-fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static FuzzProgram program;
    return program;
}

FuzzProgram::FuzzProgram() {
    const QString built = test::BuiltProgramFolder();
    test::CopyFolder(built + QStringLiteral("/opdata"), m_dir.path() + QStringLiteral("/opdata"));
    test::CopyFolder(built + QStringLiteral("/proddata"), m_dir.path() + QStringLiteral("/proddata"));
    QDir(m_dir.path()).mkpath(QStringLiteral("JobFiles"));
    m_settings = std::make_unique<SettingsStore>(m_dir.path() + QStringLiteral("/settings.ini"));
    m_platform.allowUnscriptedMessages = true;
}

State& FuzzProgram::Fresh() {
    m_fresh = MakeSession(m_dir.path(), m_platform, *m_settings);
    return *m_fresh;
}

State& FuzzProgram::Started() {
    if (!m_started) {
        m_started = MakeSession(m_dir.path(), m_platform, *m_settings);
        try {
            StartUp(*m_started, QStringList());
        } catch (const ProgramEnd& end) {
            // The shipped files must start the program; without them no harness means anything.
            qFatal("The program folder %s does not start: %s", qPrintable(m_dir.path()), end.what());
        }
    }
    m_platform.messages.clear();
    return *m_started;
}

QString FuzzProgram::Write(const QString& relative, const QByteArray& bytes) {
    const QString path = m_dir.path() + QLatin1Char('/') + relative;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("Cannot write the input to %s", qPrintable(path));
    return path;
}

} // namespace corvane::fuzz
