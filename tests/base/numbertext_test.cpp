// Number text: the quick reader and writer give exactly what the locale's own conversion
// gives, for a large generated set of texts and numbers and for every field of the shipped
// data files, with a decimal point and with a decimal comma.
#include "base/numbertext.h"
#include "tests/support/testprogram.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>
#include <cmath>
#include <cstring>

using namespace corvane;

namespace {

// The locale's own conversions, as the program has always made them.
namespace reference {

bool LocaleNumber(const QString& text, double* out) {
    bool ok = false;
    const QString trimmed = text.trimmed();
    QLocale locale;
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    double v = locale.toDouble(trimmed, &ok);
    if (!ok) {
        v = QLocale::c().toDouble(trimmed, &ok);
        if (ok && QLocale().decimalPoint() == QLatin1String(",") && trimmed.contains(QLatin1Char('.'))) ok = false;
    }
    if (ok && out) *out = v;
    return ok && std::isfinite(v);
}

QString NormaliseDecimal(const QString& text) {
    const QChar system = QLocale().decimalPoint() == QLatin1String(",") ? QLatin1Char(',') : QLatin1Char('.');
    const QChar other = system == QLatin1Char('.') ? QLatin1Char(',') : QLatin1Char('.');
    const qsizetype p = text.indexOf(other);
    if (p > 0 && LocaleNumber(text.left(p), nullptr)) {
        QString changed = text;
        changed[p] = system;
        if (!changed.contains(other)) return changed;
    }
    return text;
}

std::optional<double> ReadNumber(const QString& text) {
    if (text.isEmpty() || text == QLatin1String("-") || text == QLatin1String(".") || text == QLatin1String(","))
        return 0.0;
    double v = 0;
    if (LocaleNumber(NormaliseDecimal(text), &v)) return v;
    return std::nullopt;
}

QString TextFromDigits(double value, int digits) {
    if (!std::isfinite(value) || value == 0) return QStringLiteral("0");
    QString text = QString::number(value, 'g', digits);
    if (text.contains(QLatin1Char('e'))) {
        const int decimals = std::max(0, digits - 1 - static_cast<int>(std::floor(std::log10(std::fabs(value)))));
        text = QString::number(value, 'f', std::min(decimals, 30));
        if (text.contains(QLatin1Char('.'))) {
            while (text.endsWith(QLatin1Char('0'))) text.chop(1);
            if (text.endsWith(QLatin1Char('.'))) text.chop(1);
        }
    }
    if (QLocale().decimalPoint() == QLatin1String(",")) text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

} // namespace reference

QString Describe(const std::optional<double>& v) {
    return v ? QString::number(*v, 'g', 17) : QStringLiteral("(none)");
}

bool SameNumber(const std::optional<double>& a, const std::optional<double>& b) {
    if (a.has_value() != b.has_value()) return false;
    return !a || std::memcmp(&*a, &*b, sizeof(double)) == 0;   // -0 and 0 differ
}

// Texts near the forms a number takes, and the fields of the shipped data files.
QStringList GeneratedTexts() {
    QRandomGenerator random(20261205);
    QStringList texts;
    const char alphabet[] = "0123456789-+.,eE x00119";
    for (int i = 0; i < 60000; ++i) {
        QString t;
        for (int n = random.bounded(0, 10); n > 0; --n) t += QLatin1Char(alphabet[random.bounded(int(sizeof alphabet) - 1)]);
        texts << t;
    }
    for (int i = 0; i < 30000; ++i) {
        const double v = std::ldexp(random.generateDouble() - 0.5, random.bounded(-1100, 1100));
        QString t = QString::number(v, "gef"[random.bounded(3)], random.bounded(1, 25));
        if (random.bounded(2)) t.replace(QLatin1Char('.'), QLatin1Char(','));
        texts << t << QString::number(random.bounded(-99999, 99999)) + QLatin1Char(".,"[random.bounded(2)]) +
                          QString::number(random.bounded(0, 99999));
    }
    texts << "1e400" << "-1e-400" << "4.9e-324" << "2.2250738585072014e-308" << "1.7976931348623157e308"
          << "-0" << "+0" << ".5" << "5." << "-.5" << "+,5" << "1e" << "1e+" << "1E-3" << "00012" << "1e0005"
          << "inf" << "-nan" << " 12 " << "\t3,5\n" << "1 000" << "1,000,000" << "1.000.000" << "12abc"
          << QString::fromUtf8("１２") << QString::fromUtf8("−5") << QString::fromUtf8("1\u00a0000")
          << QString(60, QLatin1Char('9'));
    const QString data = test::BuiltProgramFolder() + QStringLiteral("/opdata");
    for (const QString& name : QDir(data).entryList({"*.lng", "*.fil", "*.data", "*.col", "*.cvj"}, QDir::Files)) {
        QFile file(data + QLatin1Char('/') + name);
        if (!file.open(QIODevice::ReadOnly)) continue;
        const QString content = QString::fromLatin1(file.readAll());
        texts += content.split(QRegularExpression(QStringLiteral("[\\t\\r\\n\"]")), Qt::SkipEmptyParts);
        texts += content.split(QRegularExpression(QStringLiteral("[\\t\\r\\n\",]")), Qt::SkipEmptyParts);
    }
    return texts;
}

// Numbers of every size, with many whose next digit is a 5 (the rounding of a halfway value).
std::vector<double> GeneratedNumbers() {
    QRandomGenerator random(5122026);
    std::vector<double> numbers;
    for (int i = 0; i < 60000; ++i) {
        switch (i % 5) {
        case 0: numbers.push_back(std::ldexp(random.generateDouble() - 0.5, random.bounded(-80, 80))); break;
        case 1: numbers.push_back(random.bounded(-1000000, 1000000) / 100.0); break;
        case 2: numbers.push_back(std::ldexp(random.generateDouble(), random.bounded(-1070, 1023))); break;
        case 3: numbers.push_back(random.bounded(-20000000, 20000000) + 0.5); break;
        default: numbers.push_back(static_cast<double>(static_cast<float>(random.generateDouble() * 1e7))); break;
        }
    }
    for (double v : {0.0, -0.0, 1e15, 1e16, 123456789012345.6, 0.0001, 0.00001, 1e-20, 1e21, -2.5, 0.125})
        numbers.push_back(v);
    return numbers;
}

} // namespace

class NumberTextTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void sameAsTheLocale_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::newRow("decimalPoint") << QLocale::c();
        QTest::newRow("decimalComma") << QLocale(QLocale::German, QLocale::Germany);
        QTest::newRow("commaAndNonAsciiGroupSeparator") << QLocale(QLocale::French, QLocale::France);
    }

    void sameAsTheLocale() {
        QFETCH(QLocale, locale);
        QLocale::setDefault(locale);
        int read = 0;
        for (const QString& text : GeneratedTexts()) {
            const std::optional<double> expected = reference::ReadNumber(text);
            read += expected.has_value();
            const std::optional<double> got = ReadNumber(text);
            QVERIFY2(SameNumber(got, expected),
                     qPrintable(QStringLiteral("[%1] read %2, the locale reads %3").arg(text, Describe(got), Describe(expected))));
            QCOMPARE(IsNumeric(text), reference::LocaleNumber(reference::NormaliseDecimal(text), nullptr));
            QCOMPARE(NormaliseDecimal(text), reference::NormaliseDecimal(text));
        }
        QVERIFY(read > 50000);   // most generated texts are numbers
        for (double v : GeneratedNumbers()) {
            QCOMPARE(TextFromDouble(v), reference::TextFromDigits(v, 15));
            const float single = static_cast<float>(v);
            QCOMPARE(TextFromSingle(single), reference::TextFromDigits(static_cast<double>(single), 7));
        }
    }
};

QTEST_GUILESS_MAIN(NumberTextTest)
#include "numbertext_test.moc"
