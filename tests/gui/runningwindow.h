#pragma once

// One run of the program with its window on screen, driven as a user would: by the keys, by
// clicks, or by turning to a page. Optionally started in another language, colour scheme or
// unit system, as a user's settings would have it.

#include "definitions/state.h"
#include "definitions/windowdefinition.h"
#include "gui/mainwindow.h"
#include "tests/support/testprogram.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QtTest>

namespace corvane::test {

struct Look {
    QString language = QStringLiteral("default.lng");
    QString colours = QStringLiteral("default.col");
    bool metric = false;
};

class RunningWindow {
  public:
    RunningWindow() : s(program.Start()), window(s) { window.show(); }
    explicit RunningWindow(const Look& look) : s(Prepare(look)), window(s) { window.show(); }

    bool Ready() {
        window.activateWindow(); // a shared run may have lost the activation to another window
        return QTest::qWaitForWindowActive(&window);
    }
    template <class T = QWidget> T* Find(const QString& name) const { return window.findChild<T*>(name); }
    QString Focused() const {
        QWidget* w = QApplication::focusWidget();
        return w ? w->objectName() : QString();
    }

    // --- the keys
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &window;
        QTest::keyClick(target, key, modifiers);
    }
    void Type(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }
    // Presses key until the control named has the focus; false when it never comes.
    bool ReachWith(Qt::Key key, const QString& name, int most = 80) {
        for (int i = 0; i < most && Focused() != name; ++i) Key(key);
        return Focused() == name;
    }
    // Tabs to field n and types text over what it held, then moves on with Enter.
    bool Fill(int n, const QString& text) {
        if (!ReachWith(Qt::Key_Tab, QStringLiteral("TEXTBOX_%1").arg(n))) return false;
        QCoreApplication::processEvents(); // the text is selected on arrival
        auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        if (!edit) return false;
        Key(Qt::Key_End);
        for (int i = edit->text().size(); i > 0; --i) Key(Qt::Key_Backspace);
        Type(text);
        Key(Qt::Key_Return);
        return true;
    }
    // Tabs to a page button and presses it.
    bool ShowPage(int button) {
        if (!ReachWith(Qt::Key_Tab, QStringLiteral("BUTT_%1").arg(button))) return false;
        Key(Qt::Key_Space);
        return true;
    }

    // --- the mouse
    // Clicks the page button of a page.
    void Show(int page) {
        if (auto* button = Find<QAbstractButton>(QStringLiteral("BUTT_%1").arg(PageButton(page)))) button->click();
        QCoreApplication::processEvents();
    }
    QList<int> VisiblePages() const {
        QList<int> shown;
        for (int p = 0; p < PageCount; ++p)
            if (QWidget* page = Find(QStringLiteral("FRAME_%1").arg(p)); page && page->isVisible()) shown << p;
        return shown;
    }
    void Click(const QString& name) {
        QWidget* w = Find(name);
        QVERIFY2(w, qPrintable(name));
        // An option button takes clicks on its circle and caption only, not on the empty
        // width a layout may give it.
        if (w->inherits("QRadioButton") || w->inherits("QCheckBox"))
            QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(8, w->height() / 2));
        else
            QTest::mouseClick(w, Qt::LeftButton);
    }
    // Gives field n the focus as a click would, with its whole text selected.
    QLineEdit* Enter(int n) {
        auto* box = Find<QLineEdit>(QStringLiteral("TEXTBOX_%1").arg(n));
        if (!box) return nullptr;
        box->setFocus(Qt::MouseFocusReason);
        QCoreApplication::processEvents();
        box->selectAll();
        return box;
    }

    TestProgram program;
    State& s;
    MainWindow window;

  private:
    State& Prepare(const Look& look) {
        const QString section = QStringLiteral("corvane\\Tundrel\\Settings");
        program.settings->Save(section, QStringLiteral("Language_File"), look.language);
        program.settings->Save(section, QStringLiteral("Colour_File"), look.colours);
        for (const char* key : {"ImperialLength", "ImperialTemperature", "ImperialMass", "ImperialPower"})
            program.settings->Save(section, QLatin1String(key),
                                   look.metric ? QStringLiteral("False") : QStringLiteral("True"));
        return program.Start();
    }
};

} // namespace corvane::test
