#pragma once

#include <QKeySequence>
#include <QString>

namespace corvane {

// The common keys of the job commands, beside the log keys Ctrl+A, Ctrl+D and Ctrl+L:
// Ctrl+O open, Ctrl+S save, Ctrl+N new job, Ctrl+P print, F1 help. Ctrl+PgUp and Ctrl+PgDn
// turn the page back and forward as the page's arrows do.
struct CommandShortcut {
    int button;
    QKeyCombination keys;
};

inline constexpr CommandShortcut CommandShortcuts[] = {
    {10, QKeyCombination(Qt::ControlModifier, Qt::Key_O)}, {11, QKeyCombination(Qt::ControlModifier, Qt::Key_S)},
    {19, QKeyCombination(Qt::ControlModifier, Qt::Key_N)}, {13, QKeyCombination(Qt::ControlModifier, Qt::Key_P)},
    {12, QKeyCombination(Qt::NoModifier, Qt::Key_F1)},
};
inline constexpr QKeyCombination PreviousPageKeys(Qt::ControlModifier, Qt::Key_PageUp);
inline constexpr QKeyCombination NextPageKeys(Qt::ControlModifier, Qt::Key_PageDown);

// The keys of command button n as the user reads them, empty when it has none.
inline QString ShortcutText(int button) {
    for (const CommandShortcut& c : CommandShortcuts)
        if (c.button == button) return QKeySequence(c.keys).toString(QKeySequence::NativeText);
    return QString();
}

// A tooltip with the keys that do the same, in brackets after it.
inline QString WithKeys(const QString& tooltip, const QString& keys) {
    if (keys.isEmpty()) return tooltip;
    return tooltip.isEmpty() ? keys : tooltip + QStringLiteral(" (") + keys + QLatin1Char(')');
}

} // namespace corvane
