#pragma once

#include "base/numbertext.h"
#include "definitions/state.h"

#include <cmath>

namespace corvane::calc {

// The stored value of field n read with the number-text reader: empty, "-", "." and "," give 0,
// and so does a text that is not a number (the input checks report those).
inline double FieldNumber(const State& s, int n) {
    return NumberFromText(GetFieldValue(s, n));
}

// True when field n's stored value is a number (an empty text is not).
inline bool FieldHoldsNumber(const State& s, int n) {
    return IsNumeric(GetFieldValue(s, n));
}

// A quotient that never divides by zero. The input checks keep zero divisors away from every
// valid job; for anything that slips past them the term contributes nothing instead of
// spreading an infinity through the results.
inline double Divide(double numerator, double divisor) {
    return divisor == 0 ? 0.0 : numerator / divisor;
}

// A square root of a difference that bad input could make negative (a negative door height,
// air colder than the box): a negative radicand contributes nothing.
inline double RootOf(double x) {
    return x > 0 ? std::sqrt(x) : 0.0;
}

// The largest result the program shows; anything larger (or not finite) comes from an
// absurd input and is reported as an input problem, never written as a plausible number.
inline constexpr double MaxResult = 1e12;

// The text of a result, noting in the state when the value is out of range.
inline QString ResultText(State& s, double v) {
    if (!std::isfinite(v) || std::fabs(v) > MaxResult) s.flags.resultOutOfRange = true;
    return TextFromDouble(v);
}
inline QString ResultTextSingle(State& s, float v) {
    if (!std::isfinite(v) || std::fabs(v) > MaxResult) s.flags.resultOutOfRange = true;
    return TextFromSingle(v);
}

// Results rounded half up, as the load fields show them.
inline double RoundHalfUp(double x) {
    return std::floor(x + 0.5);
}

inline QString Bool(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace corvane::calc
