#include "tests/support/testprogram.h"

#include "app/startup.h"
#include "app/session.h"

#include <QDir>
#include <QFile>
#include <QProcess>

namespace corvane::test {

QString BuiltProgramFolder() { return QStringLiteral(CORVANE_PROGRAM_DIR); }

void CopyFolder(const QString& from, const QString& to) {
    QDir().mkpath(to);
    const QDir source(from);
    for (const QString& name : source.entryList(QDir::Files)) QFile::copy(from + u'/' + name, to + u'/' + name);
    for (const QString& name : source.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        CopyFolder(from + u'/' + name, to + u'/' + name);
}

bool RunCatalogCompiler(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(CORVANE_PROGRAM_DIR "/catalog/catalogc"), args);
    return p.waitForFinished(120000) && p.exitCode() == 0;
}

TestSession::TestSession() : state(MakeSession(dir.path(), platform, settings)), s(*state) {}

TestProgram::TestProgram() {
    CopyFolder(BuiltProgramFolder() + QStringLiteral("/opdata"), m_dir.path() + QStringLiteral("/opdata"));
    CopyFolder(BuiltProgramFolder() + QStringLiteral("/proddata"), m_dir.path() + QStringLiteral("/proddata"));
    QDir(m_dir.path()).mkpath(QStringLiteral("JobFiles"));
    settings = std::make_unique<SettingsStore>(m_dir.path() + QStringLiteral("/settings.ini"));
    m_state = MakeSession(m_dir.path(), platform, *settings);
}

State& TestProgram::Start(const QString& commandTail) {
    StartUp(*m_state, commandTail);
    return *m_state;
}

State& TestProgram::Restart(const QString& commandTail) {
    settings->Sync();
    settings = std::make_unique<SettingsStore>(m_dir.path() + QStringLiteral("/settings.ini"));
    m_state = MakeSession(m_dir.path(), platform, *settings);
    return Start(commandTail);
}

} // namespace corvane::test
