#pragma once

#include <QString>
#include <optional>

namespace corvane {

// Numbers travel as text between fields, files and the calculation. These are the only
// conversions the program uses, so that every number reads and writes the same way
// whichever decimal separator the user's locale has.

// The locale's decimal separator, found by writing 0.5 as text ("0.5" or "0,5").
QChar DecimalSeparator();

// Swaps a single decimal separator of the other kind for the locale's, when the text before
// it is a number; anything else is returned unchanged.
QString NormaliseDecimal(const QString& text);

// True when the text reads as a number in the locale (after normalisation).
bool IsNumeric(const QString& text);

// Reads a number in either decimal style. Empty, "-", "." and "," read as 0; a text that is
// not a number gives no value.
std::optional<double> ReadNumber(const QString& text);

// As ReadNumber, in single precision; a text that is not a number reads as 0 here.
float NumberFromText(const QString& text);

// The default text of a double (15 significant digits) and of a single (7 digits): no
// trailing zeros, no group separator, the locale's decimal separator.
QString TextFromDouble(double value);
QString TextFromSingle(float value);

// Display rounding, computed in single precision: floor(x * 100 + 0.5) / 100.
float RoundHundredths(float value);
float RoundThousandths(float value);

// Rounds half to even, as the language reader does for line numbers.
int RoundHalfEven(double value);

} // namespace corvane
