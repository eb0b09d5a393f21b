#include "app/batch.h"
#include "app/session.h"
#include "base/platform.h"
#include "base/settingsstore.h"
#include "app/startup.h"
#include "commands/batchservices.h"
#include "definitions/state.h"
#include "gui/mainwindow.h"
#include "gui/qtplatform.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QFileInfo>
#include <cstdio>

namespace {

QStringList Arguments(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    return args;
}

} // namespace

// The window program: the window, and the batch runs the batch program hands over (those that
// draw the report or check for updates). Started by `corvane`, or directly.
int main(int argc, char** argv) {
    const QStringList args = Arguments(argc, argv);
    if (corvane::IsBatchInvocation(args)) {
        if (corvane::BatchDrawsReport(args)) {
            // Fonts need a GUI application; the batch mode never shows a window.
            qputenv("QT_QPA_PLATFORM", "offscreen");
            QGuiApplication app(argc, argv);
            return corvane::RunBatch(QCoreApplication::applicationDirPath(), args, corvane::FullBatchServices());
        }
        QCoreApplication app(argc, argv);
        return corvane::RunBatch(QCoreApplication::applicationDirPath(), args, corvane::FullBatchServices());
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvane"));
    // Ties the window to the desktop entry: its name and icon in the task bar.
    QGuiApplication::setDesktopFileName(QStringLiteral("corvane"));
    corvane::QtPlatform platform;
    corvane::SettingsStore settings;
    const std::unique_ptr<corvane::State> session =
        corvane::MakeSession(QCoreApplication::applicationDirPath(), platform, settings);
    corvane::State& state = *session;
    try {
        // The arguments as the system passed them (a path with spaces, quotes or commas is one
        // argument), less Qt's own options.
        corvane::StartUp(state, QCoreApplication::arguments().mid(1));
    } catch (const corvane::ProgramEnd& end) {
        return end.exitCode;
    }
    corvane::MainWindow window(state);
    window.show();
    return app.exec();
}
