#include "base/numbertext.h"

#include <QLocale>
#include <algorithm>
#include <array>
#include <charconv>
#include <cfloat>
#include <cmath>
#include <cstdint>

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

// Powers of ten that a double holds exactly.
constexpr double ExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                  1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Reads the plain forms of a number without the locale: sign, digits, a decimal separator,
// digits, exponent. With `either`, the other decimal separator is taken too after at least
// one digit, as normalising the text first would. It decides only what it is sure of:
// anything else (group separators, non-ASCII text, results beyond the normal range of a
// double) is left to the locale.
Quick QuickNumber(QStringView text, const LocaleTraits& t, bool either, double* out) {
    const char16_t* begin = text.utf16();
    const char16_t* end = begin + text.size();
    while (begin < end && IsSpace(*begin)) ++begin;
    while (end > begin && IsSpace(end[-1])) --end;
    const char16_t* i = begin;
    const auto is = [&](char16_t c) { return i < end && *i == c; };
    const auto isDigit = [&] { return i < end && IsDigit(*i); };
    bool negative = false;
    if (is(u'-')) negative = true, ++i;
    else if (is(u'+')) ++i;
    // The digits as a whole number while it stays exact, and the power of ten it is scaled by.
    std::uint64_t mantissa = 0;
    int significant = 0, scale = 0, whole = 0, digits = 0;
    for (; isDigit(); ++i, ++whole) {
        const int d = *i - u'0';
        if (mantissa == 0 && d == 0) continue;
        if (++significant <= 19) mantissa = mantissa * 10 + static_cast<std::uint64_t>(d);
        else ++scale;
    }
    const char16_t point = static_cast<char16_t>(t.point);
    const char16_t other = point == u'.' ? u',' : u'.';
    if (is(point) || (either && whole > 0 && is(other))) {
        for (++i; isDigit(); ++i, ++digits) {
            const int d = *i - u'0';
            if (mantissa == 0 && d == 0) {
                --scale;
                continue;
            }
            if (++significant <= 19) {
                mantissa = mantissa * 10 + static_cast<std::uint64_t>(d);
                --scale;
            }
        }
    }
    digits += whole;
    int exponent = 0;
    if (digits > 0 && (is(u'e') || is(u'E'))) {
        ++i;
        bool negativeExponent = false;
        if (is(u'-') || is(u'+')) negativeExponent = *i++ == u'-';
        if (!isDigit()) return Quick::Undecided;
        for (; isDigit(); ++i) exponent = std::min(exponent * 10 + (*i - u'0'), 100000);
        if (negativeExponent) exponent = -exponent;
    }
    if (digits == 0 || i != end) {
        // Letters other than an exponent never make a finite number.
        for (const char16_t* k = begin; k < end; ++k) {
            if (*k >= 0x80) return Quick::Undecided;
            if (((*k >= u'a' && *k <= u'z') || (*k >= u'A' && *k <= u'Z')) && *k != u'e' && *k != u'E')
                return Quick::NotNumber;
        }
        return Quick::Undecided;
    }
    double v = 0;
    const int power = scale + exponent;
    if (mantissa == 0) {
        v = negative ? -0.0 : 0.0;
    } else if (significant <= 15 && power >= -22 && power <= 22) {
        // Both factors are exact, so one multiplication or division rounds correctly.
        const double m = static_cast<double>(mantissa);
        v = power >= 0 ? m * ExactPowers[power] : m / ExactPowers[-power];
        if (negative) v = -v;
    } else {
        // The text again in C notation, for the general conversion.
        constexpr std::ptrdiff_t Longest = 64;
        if (end - begin > Longest) return Quick::Undecided;
        std::array<char, Longest> buffer;
        std::size_t n = 0;
        for (const char16_t* k = begin; k < end; ++k)
            if (*k != u'+' || k != begin) buffer[n++] = *k == point || *k == other ? '.' : static_cast<char>(*k);
        const auto [ptr, ec] = std::from_chars(buffer.data(), buffer.data() + n, v);
        if (ec != std::errc() || ptr != buffer.data() + n || !std::isfinite(v)) return Quick::Undecided;
        if (v == 0 || std::fabs(v) < DBL_MIN) return Quick::Undecided;
    }
    if (out) *out = v;
    return Quick::Number;
}

bool LocaleNumber(const QString& text, double* out) {
    const LocaleTraits& t = Traits();
    if (t.plain) {
        switch (QuickNumber(text, t, false, out)) {
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

bool IsNumeric(const QString& text) {
    const LocaleTraits& t = Traits();
    if (t.plain) {
        const Quick quick = QuickNumber(text, t, true, nullptr);
        if (quick != Quick::Undecided) return quick == Quick::Number;
    }
    return LocaleNumber(NormaliseDecimal(text), nullptr);
}

std::optional<double> ReadNumber(const QString& text) {
    if (text.isEmpty() || text == QLatin1String("-") || text == QLatin1String(".") ||
        text == QLatin1String(","))
        return 0.0;
    double v = 0;
    const LocaleTraits& t = Traits();
    if (t.plain) {
        switch (QuickNumber(text, t, true, &v)) {
        case Quick::Number: return v;
        case Quick::NotNumber: return std::nullopt;
        case Quick::Undecided: break;
        }
    }
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
