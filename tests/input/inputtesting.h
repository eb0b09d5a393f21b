#pragma once

// Driving the window as the view does: focus arrival, typing, leaving, and reading the trace
// of what one action did.
#include "definitions/state.h"
#include "input/numericentry.h"
#include "tests/support/testprogram.h"

#include <QTest>

namespace corvane::test {

// The user types a whole text into field n (the keystrokes' change handling in one step).
inline void Type(State& s, int n, const QString& text) {
    if (!s.focus.Is(ControlKind::TextBox, n)) TextBoxGotFocus(s, n);
    s.SetText(n, text);
}

inline void Enter(State& s, int n, const QString& text) {
    Type(s, n, text);
    TextBoxLostFocus(s, n);
}

// The log lines written since Mark().
inline void Mark(State& s) { s.WriteLog(QStringLiteral("--- test mark")); }
inline QStringList SinceMark(const State& s) {
    const QStringList lines = s.log.Lines();
    return lines.mid(lines.lastIndexOf(QStringLiteral("--- test mark")) + 1);
}

inline bool Near(double a, double b, double tolerance = 0.02) { return qAbs(a - b) <= tolerance; }

} // namespace corvane::test
