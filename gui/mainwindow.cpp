#include "gui/mainwindow.h"

#include "definitions/state.h"
#include "gui/qtplatform.h"

namespace corvane {

MainWindow::MainWindow(State& state, QtPlatform& platform, QWidget* parent)
    : QWidget(parent), m_state(state), m_platform(platform) {
    setWindowTitle(m_state.baseTitle);
    resize(640, 480);
}

} // namespace corvane
