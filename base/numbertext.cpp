#include "base/numbertext.h"

#include <QLocale>
#include <cmath>

namespace corvane {

QChar DecimalSeparator() {
    // What writing 0.5 would show, without formatting a number on every read.
    return QLocale().decimalPoint() == QLatin1String(",") ? QLatin1Char(',') : QLatin1Char('.');
}

namespace {

bool LocaleNumber(const QString& text, double* out) {
    bool ok = false;
    const QString trimmed = text.trimmed();
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

} // namespace

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

QString TextFromDigits(double value, int digits) {
    if (!std::isfinite(value)) return QStringLiteral("0");
    if (value == 0) return QStringLiteral("0");
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
    if (DecimalSeparator() == QLatin1Char(',')) text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

} // namespace

QString TextFromDouble(double value) { return TextFromDigits(value, 15); }

QString TextFromSingle(float value) { return TextFromDigits(static_cast<double>(value), 7); }

float RoundHundredths(float value) { return std::floor(value * 100.0f + 0.5f) / 100.0f; }

float RoundThousandths(float value) { return std::floor(value * 1000.0f + 0.5f) / 1000.0f; }

int RoundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

} // namespace corvane
