#pragma once

#include <QWidget>

namespace corvane {

class State;
class QtPlatform;

// The main window: built from the window definition, mirrors the state, forwards every user
// event as one call into the core and repaints what the core marked as changed.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    MainWindow(State& state, QtPlatform& platform, QWidget* parent = nullptr);

private:
    State& m_state;
    QtPlatform& m_platform;
};

} // namespace corvane
