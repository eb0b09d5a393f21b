// Draws every page of the window to PNG files, for a look at the window as a user sees it:
//   corvane-screenshots FOLDER [WIDTHxHEIGHT ...] [--job FILE] [--paste N=TEXT ...] [--list N ...]
// It starts the program from the folder it lives in, with the user's settings (language,
// colours, units) as they are, so the pictures show what a run of the program would show.
//   --job FILE      opens FILE at start, as the command line would
//   --paste N=TEXT  then pastes TEXT over field N and leaves it; every page is drawn again
//                   (banner_pageP_W.png), so the error banner is seen over each of them
//   --list N        opens list N with F4 over its field or grid cell (list_N_W.png)
// A dialog the program opens on the way is drawn as dialog_K.png and closed with Escape.
#include "app/session.h"
#include "app/startup.h"
#include "base/settingsstore.h"
#include "definitions/windowdefinition.h"
#include "gui/mainwindow.h"
#include "gui/qtplatform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <cstdio>

namespace {

// The grid rows whose cells open a list: list n belongs to grid n / 100 * 100, row n % 100.
bool IsCellList(int n) { return n == 201 || n == 206 || n == 301 || n == 302; }

int PageOfField(int n) {
    if (IsCellList(n)) return n < 300 ? 3 : 4;
    const corvane::FieldDef* def = corvane::FindField(n);
    return def ? def->page : -1;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvane"));
    const QStringList args = QApplication::arguments().mid(1);
    if (args.isEmpty() || args.first().startsWith(QLatin1String("--"))) {
        std::fputs("usage: corvane-screenshots FOLDER [WIDTHxHEIGHT ...] [--job FILE] [--paste N=TEXT ...] "
                   "[--list N ...]\n",
                   stderr);
        return 2;
    }
    const QString folder = args.first();
    QDir().mkpath(folder);
    QList<QSize> sizes;
    QStringList jobs;
    QList<std::pair<int, QString>> pastes;
    QList<int> lists;
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        const QString value = i + 1 < args.size() ? args[i + 1] : QString();
        if (a == QLatin1String("--job")) {
            jobs << value;
            ++i;
        } else if (a == QLatin1String("--paste")) {
            const qsizetype eq = value.indexOf(QLatin1Char('='));
            if (eq > 0) pastes.append({value.left(eq).toInt(), value.mid(eq + 1)});
            ++i;
        } else if (a == QLatin1String("--list")) {
            lists << value.toInt();
            ++i;
        } else if (const QStringList wh = a.split(QLatin1Char('x')); wh.size() == 2) {
            sizes << QSize(wh[0].toInt(), wh[1].toInt());
        }
    }
    if (sizes.isEmpty()) sizes = {QSize(640, 480), QSize(960, 700)};

    corvane::QtPlatform platform;
    corvane::SettingsStore settings;
    const auto session = corvane::MakeSession(QCoreApplication::applicationDirPath(), platform, settings);
    try {
        corvane::StartUp(*session, jobs);
    } catch (const corvane::ProgramEnd& end) {
        std::fprintf(stderr, "the program cannot start: %s\n", end.what());
        return 3;
    }
    corvane::MainWindow window(*session);
    window.show();
    // Active, as a window the user works in: the control with the focus shows it.
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window)) std::fputs("the window did not become active\n", stderr);
    const auto save = [&](const QString& name) {
        QTest::qWait(80);
        const QString path = folder + QLatin1Char('/') + name;
        if (!window.grab().save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    };
    // A question the program asks (unsaved changes before the recent jobs) is drawn too, then
    // answered with Escape, which keeps the job as it is.
    int dialogs = 0;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog) return;
        dialog->grab().save(folder + QStringLiteral("/dialog_%1.png").arg(++dialogs));
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    answer.start(200);
    const auto show = [&](int page) {
        const int b = corvane::PageButton(page);
        if (auto* button = window.findChild<QAbstractButton*>(QStringLiteral("BUTT_%1").arg(b))) button->click();
    };
    const auto drawPages = [&](const QString& prefix, const QString& suffix) {
        for (int page = 1; page < corvane::PageCount; ++page) {
            show(page);
            save(prefix + QStringLiteral("page%1").arg(page) + suffix);
        }
    };
    const auto key = [](Qt::Key k) {
        if (QWidget* target = QApplication::focusWidget()) QTest::keyClick(target, k);
    };
    bool pasted = false;
    for (const QSize& size : sizes) {
        window.resize(size);
        const QString suffix = QStringLiteral("_%1.png").arg(size.width());
        save(QStringLiteral("start") + suffix);
        drawPages(QString(), suffix);
        for (int n : lists) {
            show(PageOfField(n));
            if (IsCellList(n)) {
                auto* grid = window.findChild<QTableWidget*>(QStringLiteral("GRID_%1").arg(n / 100 * 100));
                if (!grid) continue;
                grid->setFocus(Qt::OtherFocusReason);
                grid->setCurrentCell(n % 100, 2);
            } else if (auto* box = window.findChild<QLineEdit*>(QStringLiteral("TEXTBOX_%1").arg(n))) {
                box->setFocus(Qt::OtherFocusReason);
            }
            QTest::qWait(20);
            key(Qt::Key_F4);
            save(QStringLiteral("list_%1").arg(n) + suffix);
            key(Qt::Key_Escape);
        }
        if (!pastes.isEmpty()) {
            // Pasted once; the banner stays for the further sizes.
            for (const auto& [n, text] : pastes) {
                if (pasted) break;
                show(PageOfField(n));
                auto* box = window.findChild<QLineEdit*>(QStringLiteral("TEXTBOX_%1").arg(n));
                if (!box) continue;
                box->setFocus(Qt::OtherFocusReason);
                box->selectAll();
                QGuiApplication::clipboard()->setText(text);
                box->paste();
                key(Qt::Key_Tab);
            }
            pasted = true;
            drawPages(QStringLiteral("banner_"), suffix);
        }
    }
    std::printf("pages written to %s\n", qPrintable(QDir(folder).absolutePath()));
    return 0;
}
