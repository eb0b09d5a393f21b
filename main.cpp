#include "app/batch.h"
#include "app/session.h"
#include "base/commandline.h"
#include "base/platform.h"
#include "base/settingsstore.h"
#include "app/startup.h"
#include "definitions/state.h"
#include "gui/mainwindow.h"
#include "gui/qtplatform.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

namespace {

QStringList Arguments(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    return args;
}

} // namespace

int main(int argc, char** argv) {
    const QStringList args = Arguments(argc, argv);
    if (corvane::IsBatchInvocation(args)) {
        QCoreApplication app(argc, argv);
        return corvane::RunBatch(QCoreApplication::applicationDirPath(), args);
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvane"));
    corvane::QtPlatform platform;
    corvane::SettingsStore settings;
    const std::unique_ptr<corvane::State> session =
        corvane::MakeSession(QCoreApplication::applicationDirPath(), platform, settings);
    corvane::State& state = *session;
    try {
        corvane::StartUp(state, args);
    } catch (const corvane::ProgramEnd& end) {
        return end.exitCode;
    }
    corvane::MainWindow window(state);
    window.show();
    return app.exec();
}
