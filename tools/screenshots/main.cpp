// Draws every page of the window to PNG files, for a look at the window as a user sees it:
//   corvane-screenshots FOLDER [WIDTHxHEIGHT ...]
// It starts the program from the folder it lives in, with the user's settings (language,
// colours, units) as they are, so the pictures show what a run of the program would show.
#include "app/session.h"
#include "app/startup.h"
#include "base/settingsstore.h"
#include "gui/mainwindow.h"
#include "gui/qtplatform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QTest>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvane"));
    const QStringList args = QApplication::arguments().mid(1);
    if (args.isEmpty()) {
        std::fputs("usage: corvane-screenshots FOLDER [WIDTHxHEIGHT ...]\n", stderr);
        return 2;
    }
    const QString folder = args.first();
    QDir().mkpath(folder);
    QList<QSize> sizes;
    for (const QString& spelled : args.mid(1)) {
        const QStringList wh = spelled.split(QLatin1Char('x'));
        if (wh.size() == 2) sizes << QSize(wh[0].toInt(), wh[1].toInt());
    }
    if (sizes.isEmpty()) sizes = {QSize(640, 480), QSize(960, 700)};

    corvane::QtPlatform platform;
    corvane::SettingsStore settings;
    const auto session = corvane::MakeSession(QCoreApplication::applicationDirPath(), platform, settings);
    try {
        corvane::StartUp(*session, QString());
    } catch (const corvane::ProgramEnd& end) {
        std::fprintf(stderr, "the program cannot start: %s\n", end.what());
        return 3;
    }
    corvane::MainWindow window(*session);
    window.show();
    const auto save = [&](const QString& name) {
        QTest::qWait(80);
        const QString path = folder + QLatin1Char('/') + name;
        if (!window.grab().save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    };
    for (const QSize& size : sizes) {
        window.resize(size);
        const QString suffix = QStringLiteral("_%1.png").arg(size.width());
        save(QStringLiteral("start") + suffix);
        for (int b = 0; b <= 8; ++b) {
            auto* button = window.findChild<QAbstractButton*>(QStringLiteral("BUTT_%1").arg(b));
            if (!button) continue;
            button->click();
            save(QStringLiteral("page%1").arg(b == 0 ? 1 : b + 1) + suffix);
        }
    }
    std::printf("pages written to %s\n", qPrintable(QDir(folder).absolutePath()));
    return 0;
}
