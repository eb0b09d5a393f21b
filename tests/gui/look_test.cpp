// The window as a user sees it, in English with imperial units and the default colours and in
// French with metric units and the contrast colours: every caption fits its space, nothing
// lies outside the window, every field has an outline, the control with the focus shows it,
// and the keyboard reaches every page and every field without a dead end.
#include "definitions/colourfile.h"
#include "definitions/windowdefinition.h"
#include "gui/mainwindow.h"
#include "tests/gui/runningwindow.h"
#include "tests/support/testprogram.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>

using namespace corvane;

namespace {

// One run of the program in the language, colour scheme and units of the current data row.
struct Running : test::RunningWindow {
    Running() : RunningWindow(Fetched()) {}
    static test::Look Fetched() {
        QFETCH(QString, language);
        QFETCH(QString, colours);
        QFETCH(bool, metric);
        return {language, colours, metric};
    }
};

Colour At(const QImage& image, QPoint p) {
    const QColor c = image.pixelColor(p);
    return RGBColour(c.red(), c.green(), c.blue());
}

void AddSchemes() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("colours");
    QTest::addColumn<bool>("metric");
    QTest::newRow("english_imperial_default") << "default.lng"
                                              << "default.col" << false;
    QTest::newRow("french_metric_contrast") << "francais.lng"
                                            << "contrast.col" << true;
}

// What the user can read of a widget's caption where it does not fit, or an empty text.
QString Clipped(QWidget* w) {
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->wordWrap() || label->text().isEmpty() || Qt::mightBeRichText(label->text())) return {};
        const QFontMetrics fm(label->font());
        for (const QString& line : label->text().split(QLatin1Char('\n')))
            if (fm.horizontalAdvance(line) > label->contentsRect().width()) return line;
    } else if (auto* radio = qobject_cast<QRadioButton*>(w)) {
        if (radio->sizeHint().width() > radio->width()) return radio->text();
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        if (QFontMetrics(button->font()).horizontalAdvance(button->text()) + 8 > button->width())
            return button->text();
    }
    return {};
}

} // namespace

class LookTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale::c()); }

    // At the smallest and a large size, on every page.
    void everyPage_captionsFitNothingLeavesTheWindow_andEveryFieldHasAnOutline_data() { AddSchemes(); }
    void everyPage_captionsFitNothingLeavesTheWindow_andEveryFieldHasAnOutline() {
        Running run;
        QVERIFY(run.Ready());
        for (const QSize size : {run.window.minimumSize(), QSize(1280, 900)}) {
            run.window.resize(size);
            for (int page = 1; page < PageCount; ++page) {
                run.Show(page);
                QTest::qWait(20); // the layout settles after the page is shown
                const QRect inside = run.window.rect();
                for (QWidget* w : run.window.findChildren<QWidget*>()) {
                    if (!w->isVisible() || w->window() != &run.window) continue;
                    const QRect r(w->mapTo(&run.window, QPoint()), w->size());
                    const QString where =
                        QStringLiteral("page %1 at %2 px: %3 %4 at %5,%6 %7 wide ")
                            .arg(page)
                            .arg(size.width())
                            .arg(QLatin1String(w->metaObject()->className()), w->objectName())
                            .arg(r.x())
                            .arg(r.y())
                            .arg(r.width());
                    const QString cut = Clipped(w);
                    QVERIFY2(cut.isEmpty(),
                             qPrintable(where + QStringLiteral("cuts \"") + cut + QLatin1Char('"')));
                    // Widgets inside a scrolled page may lie below its fold, never beside it.
                    QVERIFY2(r.left() >= inside.left() && r.right() <= inside.right(),
                             qPrintable(where + QStringLiteral("lies outside")));
                }
                const QImage shot = run.window.grab().toImage();
                for (QLineEdit* box : run.window.findChildren<QLineEdit*>()) {
                    if (!box->isVisible() || !box->objectName().startsWith(QLatin1String("TEXTBOX_"))) continue;
                    const QPoint edge = box->mapTo(&run.window, QPoint(0, box->height() / 2));
                    // The outline against what lies beside the box.
                    const double ratio = ContrastRatio(At(shot, edge), At(shot, edge - QPoint(3, 0)));
                    QVERIFY2(ratio >= 1.3, qPrintable(box->objectName() + QStringLiteral(" on page %1 at %2 px")
                                                                            .arg(page)
                                                                            .arg(size.width())));
                }
            }
        }
    }

    void theControlWithTheFocus_showsIt_data() { AddSchemes(); }
    void theControlWithTheFocus_showsIt() {
        Running run;
        QVERIFY(run.Ready());
        // At start the first page button has the focus, given by the program, not by a key.
        auto* first = run.Find(QStringLiteral("BUTT_0"));
        QVERIFY(first->hasFocus());
        const QImage focused = first->grab().toImage();
        run.Find(QStringLiteral("BUTT_1"))->setFocus(Qt::OtherFocusReason);
        QVERIFY(focused != first->grab().toImage());

        // The highlighted entry of an open list stands out from the others.
        run.Show(3);
        auto* walls = run.Find<QTableWidget>(QStringLiteral("GRID_200"));
        QTest::mouseClick(walls->viewport(), Qt::LeftButton, {},
                          walls->visualRect(walls->model()->index(6, 2)).center());
        auto* list = run.Find<QListWidget>(QStringLiteral("OPTIONLIST_206"));
        QVERIFY(list->isVisible() && list->count() > 1);
        const int chosen = std::max(0, list->currentRow());
        const QImage shot = list->viewport()->grab().toImage();
        const auto background = [&](int row) {
            const QRect r = list->visualItemRect(list->item(row));
            return At(shot, QPoint(r.right() - 3, r.center().y()));
        };
        QVERIFY2(ContrastRatio(background(chosen), background(chosen == 0 ? 1 : 0)) >= 3.0,
                 qPrintable(QStringLiteral("entry %1 of %2").arg(chosen).arg(list->count())));
    }

    void hintCaption_isNoCommandsCaption_data() { AddSchemes(); }
    void hintCaption_isNoCommandsCaption() {
        Running run;
        const QString hint = run.Find<QLabel>(QStringLiteral("HintBoxCaption"))->text();
        QVERIFY(!hint.isEmpty());
        for (int n = 0; n <= 14; ++n)
            if (auto* b = run.Find<QAbstractButton>(QStringLiteral("BUTT_%1").arg(n)))
                QVERIFY2(b->text().compare(hint, Qt::CaseInsensitive) != 0, qPrintable(hint));
    }

    // Tab alone reaches every page button and command, and on each page every field shown;
    // the focus is always on a control in sight and every Tab moves it.
    void tabWalk_reachesEveryPageAndField_data() { AddSchemes(); }
    void tabWalk_reachesEveryPageAndField() {
        Running run;
        QVERIFY(run.Ready());
        for (int page = 1; page < PageCount; ++page) {
            // Reach the page's button with Tab and press it with Space.
            const QString button = QStringLiteral("BUTT_%1").arg(PageButton(page));
            for (int i = 0; i < 400 && run.Focused() != button; ++i)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(run.Focused(), button);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
            QCOMPARE(run.s.currentPage, page);

            QSet<QString> wanted;
            for (QLineEdit* box : run.window.findChildren<QLineEdit*>())
                if (box->isVisible() && box->objectName().startsWith(QLatin1String("TEXTBOX_")))
                    wanted << box->objectName();
            for (int n = 10; n <= 14; ++n)
                wanted << QStringLiteral("BUTT_%1").arg(n);
            QString previous;
            for (int i = 0; i < 400 && !wanted.isEmpty(); ++i) {
                QWidget* w = QApplication::focusWidget();
                QVERIFY2(w, "the focus left the window");
                const QString name = w->objectName();
                QVERIFY2(w->isVisible() &&
                             run.window.rect().intersects(QRect(w->mapTo(&run.window, QPoint()), w->size())),
                         qPrintable(name + QStringLiteral(" has the focus out of sight")));
                QVERIFY2(name != previous, qPrintable(name + QStringLiteral(" keeps the focus on Tab")));
                wanted.remove(name);
                // A list opened on its field's arrival counts for the field.
                if (name.startsWith(QLatin1String("OPTIONLIST_")))
                    wanted.remove(QStringLiteral("TEXTBOX_") + name.mid(11));
                previous = name;
                QTest::keyClick(w, Qt::Key_Tab);
            }
            QVERIFY2(wanted.isEmpty(), qPrintable(QStringList(wanted.values()).join(QLatin1Char(' '))));
            QCOMPARE(run.s.currentPage, page);
        }
        // Walking the window is no change to the job: the recent-jobs page asked nothing.
        QVERIFY(run.program.platform.unexpected.isEmpty());
    }
};

QTEST_MAIN(LookTest)
#include "look_test.moc"
