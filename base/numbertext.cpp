#include "base/numbertext.h"

#include <QLocale>
#include <algorithm>
#include <array>
#include <charconv>
#include <cfloat>
#include <cmath>

namespace corvane {

namespace {

// What the quick conversions need to know of the user's locale. A locale that writes numbers
// with ASCII digits, '-', '+', 'e' and a '.' or ',' decimal separator (other than its group
// separator) reads and writes numbers as the C locale does with that separator; any other
// locale always takes the locale's own conversion.
struct LocaleTraits {
    QLocale locale;
    char point = '.';
    bool plain = true;
};

LocaleTraits TraitsOf(const QLocale& locale) {
    LocaleTraits t{locale, '.', false};
    const QString point = locale.decimalPoint();
    t.point = point == QLatin1String(",") ? ',' : '.';
    t.plain = (point == QLatin1String(".") || point == QLatin1String(",")) &&
              locale.groupSeparator() != point && locale.negativeSign() == QLatin1String("-") &&
              locale.positiveSign() == QLatin1String("+") &&
              locale.exponential().compare(QLatin1String("e"), Qt::CaseInsensitive) == 0 &&
              locale.zeroDigit() == QLatin1String("0");
    return t;
}

// Looked up again only when the default locale changes.
const LocaleTraits& Traits() {
    static thread_local LocaleTraits cached = TraitsOf(QLocale());
    const QLocale current;
    if (current != cached.locale) cached = TraitsOf(current);
    return cached;
}

bool LocaleNumberSlow(const QString& trimmed, double* out) {
    bool ok = false;
    QLocale locale;
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    double v = locale.toDouble(trimmed, &ok);
    if (!ok) {
        // A leading '+' or an exponent written in C style still counts as a number.
        v = QLocale::c().toDouble(trimmed, &ok);
        if (ok && DecimalSeparator() == QLatin1Char(',') && trimmed.contains(QLatin1Char('.'))) ok = false;
    }
    if (ok && out) *out = v;
    return ok && std::isfinite(v);
}

enum class Quick { Number, NotNumber, Undecided };

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Reads the plain forms of a number (sign, digits, the locale's separator, digits, exponent)
// without the locale. It decides only what it is sure of: anything else (group separators,
// non-ASCII text, results beyond the normal range of a double) is left to the locale.
Quick QuickNumber(QStringView text, const LocaleTraits& t, double* out) {
    qsizetype begin = 0, end = text.size();
    while (begin < end && IsSpace(text[begin].unicode())) ++begin;
    while (end > begin && IsSpace(text[end - 1].unicode())) --end;
    constexpr qsizetype Longest = 40;
    if (end - begin > Longest) return Quick::Undecided;
    std::array<char, Longest + 1> buffer;
    std::size_t n = 0;
    qsizetype i = begin;
    const auto at = [&](qsizetype k) { return k < end ? text[k].unicode() : char16_t(0); };
    for (qsizetype k = begin; k < end; ++k) {
        const char16_t c = text[k].unicode();
        if (c >= 0x80) return Quick::Undecided;
        // Letters other than an exponent never make a finite number.
        if (((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')) && c != u'e' && c != u'E')
            return Quick::NotNumber;
    }
    if (at(i) == u'-') buffer[n++] = '-', ++i;
    else if (at(i) == u'+') ++i;
    bool nonZero = false;
    int digits = 0;
    while (IsDigit(at(i))) {
        nonZero = nonZero || at(i) != u'0';
        buffer[n++] = static_cast<char>(at(i++));
        ++digits;
    }
    if (at(i) == static_cast<char16_t>(t.point)) {
        buffer[n++] = '.';
        ++i;
        while (IsDigit(at(i))) {
            nonZero = nonZero || at(i) != u'0';
            buffer[n++] = static_cast<char>(at(i++));
            ++digits;
        }
    }
    if (digits == 0) return Quick::Undecided;
    if (at(i) == u'e' || at(i) == u'E') {
        buffer[n++] = 'e';
        ++i;
        if (at(i) == u'-' || at(i) == u'+') buffer[n++] = static_cast<char>(at(i++));
        if (!IsDigit(at(i))) return Quick::Undecided;
        while (IsDigit(at(i))) buffer[n++] = static_cast<char>(at(i++));
    }
    if (i != end) return Quick::Undecided;
    double v = 0;
    const auto [ptr, ec] = std::from_chars(buffer.data(), buffer.data() + n, v);
    if (ec != std::errc() || ptr != buffer.data() + n || !std::isfinite(v)) return Quick::Undecided;
    if (v == 0 ? nonZero : std::fabs(v) < DBL_MIN) return Quick::Undecided;
    if (out) *out = v;
    return Quick::Number;
}

bool LocaleNumber(const QString& text, double* out) {
    const LocaleTraits& t = Traits();
    if (t.plain) {
        switch (QuickNumber(text, t, out)) {
        case Quick::Number: return true;
        case Quick::NotNumber: return false;
        case Quick::Undecided: break;
        }
    }
    return LocaleNumberSlow(text.trimmed(), out);
}

} // namespace

QChar DecimalSeparator() { return QLatin1Char(Traits().point); }

QString NormaliseDecimal(const QString& text) {
    const QChar system = DecimalSeparator();
    const QChar other = system == QLatin1Char('.') ? QLatin1Char(',') : QLatin1Char('.');
    const qsizetype p = text.indexOf(other);
    if (p > 0 && LocaleNumber(text.left(p), nullptr)) {
        QString changed = text;
        changed[p] = system;
        if (!changed.contains(other)) return changed;
    }
    return text;
}

bool IsNumeric(const QString& text) { return LocaleNumber(NormaliseDecimal(text), nullptr); }

std::optional<double> ReadNumber(const QString& text) {
    if (text.isEmpty() || text == QLatin1String("-") || text == QLatin1String(".") ||
        text == QLatin1String(","))
        return 0.0;
    double v = 0;
    if (LocaleNumber(NormaliseDecimal(text), &v)) return v;
    return std::nullopt;
}

float NumberFromText(const QString& text) { return static_cast<float>(ReadNumber(text).value_or(0.0)); }

namespace {

QString TextFromDigitsSlow(double value, int digits) {
    QString text = QString::number(value, 'g', digits);
    if (text.contains(QLatin1Char('e'))) {
        // Very large or very small numbers: fixed notation keeps them readable by every reader.
        const int decimals = std::max(0, digits - 1 - static_cast<int>(std::floor(std::log10(std::fabs(value)))));
        text = QString::number(value, 'f', std::min(decimals, 30));
        if (text.contains(QLatin1Char('.'))) {
            while (text.endsWith(QLatin1Char('0'))) text.chop(1);
            if (text.endsWith(QLatin1Char('.'))) text.chop(1);
        }
    }
    return text;
}

QString TextFromDigits(double value, int digits) {
    if (!std::isfinite(value)) return QStringLiteral("0");
    if (value == 0) return QStringLiteral("0");
    const char point = Traits().point;
    std::array<char, 48> buffer;
    // The slower path rounds a value lying exactly halfway away from zero, where the quick one
    // would round it to even: a value whose next digit would be a 5 takes the slower path.
    const auto [next, nextError] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::scientific, digits);
    const bool maybeHalfway = nextError != std::errc() || *(std::find(buffer.data(), next, 'e') - 1) == '5';
    // The shortest form with that many significant digits; numbers that would need an
    // exponent are written in full by the slower path.
    const auto [end, ec] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::general, digits);
    if (!maybeHalfway && ec == std::errc() && std::find(buffer.data(), end, 'e') == end) {
        QString text(end - buffer.data(), Qt::Uninitialized);
        QChar* to = text.data();
        for (const char* c = buffer.data(); c != end; ++c)
            *to++ = QLatin1Char(*c == '.' ? point : *c);
        return text;
    }
    QString text = TextFromDigitsSlow(value, digits);
    if (point == ',') text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

} // namespace

QString TextFromDouble(double value) { return TextFromDigits(value, 15); }

QString TextFromSingle(float value) { return TextFromDigits(static_cast<double>(value), 7); }

float RoundHundredths(float value) { return std::floor(value * 100.0f + 0.5f) / 100.0f; }

float RoundThousandths(float value) { return std::floor(value * 1000.0f + 0.5f) / 1000.0f; }

int RoundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

} // namespace corvane
