#pragma once

#include "base/settingsstore.h"
#include "definitions/state.h"
#include "tests/support/fakeplatform.h"

#include <QTemporaryDir>
#include <memory>

namespace corvane::test {

// A program folder of its own for one test: a temporary copy of the built opdata/ and
// proddata/, private settings, the scripted platform and a state with the input handlers
// installed. Start() runs the real start-up sequence on it.
class TestProgram {
public:
    TestProgram();
    QString Folder() const { return m_dir.path(); }
    QString DataFolder() const { return m_dir.path() + QStringLiteral("/opdata/"); }
    State& Start(const QString& commandTail = QString());
    // A fresh state on the same folder and settings, as a second run of the program.
    State& Restart(const QString& commandTail = QString());
    State& state() { return *m_state; }
    FakePlatform platform;
    std::unique_ptr<SettingsStore> settings;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<State> m_state;
};

// A bare session in an empty temporary folder: private settings, the scripted platform and a
// ready state (input rules subscribed), with nothing read. Tests fill in what they need.
struct TestSession {
    QTemporaryDir dir;
    FakePlatform platform;
    SettingsStore settings{dir.path() + QStringLiteral("/settings.ini")};
    std::unique_ptr<State> state;
    State& s;
    TestSession();
};

// The folder of the built program, with its opdata/ and proddata/.
QString BuiltProgramFolder();
void CopyFolder(const QString& from, const QString& to);
// Runs the built catalogue compiler with the arguments; true when it succeeded.
bool RunCatalogCompiler(const QStringList& args);

} // namespace corvane::test
