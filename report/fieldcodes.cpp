#include "report/fieldcodes.h"

#include "base/numbertext.h"
#include "definitions/state.h"

#include <QLocale>
#include <cmath>
#include <optional>

namespace corvane {

namespace {

// A field number of three digits; anything else is a mistake in the form.
std::optional<int> Digits(QStringView text) {
    if (text.size() < 1) return std::nullopt;
    int n = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
        n = n * 10 + (c.unicode() - '0');
    }
    return n;
}

QString TextOf(const State& s, int n) {
    return s.textBoxes[n].text;
}

CodeText Fail(const QString& why) {
    return CodeText{QString(), why};
}

CodeText Pair(const State& s, const QString& code, QChar kind) {
    if (code.size() != 7) return Fail(QStringLiteral("the code \"%1\" needs two field numbers").arg(code));
    const std::optional<int> m = Digits(QStringView(code).mid(1, 3));
    const std::optional<int> n = Digits(QStringView(code).right(3));
    if (!m || !n) return Fail(QStringLiteral("the code \"%1\" does not end in two field numbers").arg(code));
    if (kind == QLatin1Char(',')) return CodeText{TextOf(s, *m) + QStringLiteral(", ") + TextOf(s, *n), {}};
    return CodeText{TextFromSingle(NumberFromText(TextOf(s, *m)) * NumberFromText(TextOf(s, *n))), {}};
}

CodeText GridCellText(const State& s, const QString& code, int g) {
    const std::optional<int> row = code.size() == 8 ? Digits(QStringView(code).mid(1, 2)) : std::nullopt;
    const std::optional<int> col = code.size() == 8 ? Digits(QStringView(code).mid(3, 2)) : std::nullopt;
    if (!row || !col)
        return Fail(
            QStringLiteral("the grid code \"%1\" needs a row and a column of two digits each").arg(code));
    const Grid& grid = s.grids[g];
    // A table on a form leaves room for more sections than a box has: those print nothing.
    if (*col >= grid.cols) return {};
    if (*row >= grid.rows) return Fail(QStringLiteral("grid %1 has no row %2").arg(g).arg(*row));
    const QString text = grid.Text(*row, *col);
    if (*row == 0 && !IsNumeric(text)) return CodeText{QStringLiteral("A"), {}};
    return CodeText{text, {}};
}

CodeText FirstSetRadio(const State& s, int n) {
    // Counting upward through the group: the first number without an option button ends it.
    for (int i = n; s.radios.Has(i); ++i)
        if (s.radios[i].value) return CodeText{s.radios[i].caption, {}};
    if (!s.radios.Has(n)) return Fail(QStringLiteral("RADIO %1 does not exist").arg(n));
    return Fail(QStringLiteral("no option button from %1 upward is set").arg(n));
}

CodeText RunningTimeShare(const State& s, int n) {
    const float hours = NumberFromText(TextOf(s, 12));
    if (hours == 0.0f)
        return Fail(
            QStringLiteral("the running time (field 12) is 0, so field %1 cannot be divided by it").arg(n));
    const float share = std::floor(NumberFromText(TextOf(s, n)) / hours);
    if (!std::isfinite(share))
        return Fail(QStringLiteral("field %1 over the running time is not a number").arg(n));
    return CodeText{TextFromSingle(share), {}};
}

CodeText Single(const State& s, QChar kind, int n) {
    switch (kind.unicode()) {
    case ':':
        return CodeText{s.labels[n].caption + QLatin1Char(' ') + TextOf(s, n), {}};
    case 'F':
        return CodeText{s.frames[n].caption, {}};
    case 'h':
        return RunningTimeShare(s, n);
    case 'L':
        return CodeText{s.labels[n].caption, {}};
    case 'R':
        return FirstSetRadio(s, n);
    case 'S':
        if (n >= static_cast<int>(s.strings.size()))
            return Fail(QStringLiteral("there is no string %1").arg(n));
        return CodeText{s.strings[n], {}};
    case 'T':
        if (n == 525) {
            // The condensing temperature means something only for a series rated at one.
            const QString series = TextOf(s, 530);
            if (series.size() < 2 || series[1].toUpper() != QLatin1Char('C')) return {};
        }
        return CodeText{TextOf(s, n), {}};
    case 'M':
        return CodeText{TextOf(s, n), {}};
    case 'N': {
        if (const Radio* r = s.radios.Find(200); r && r->value) return CodeText{QStringLiteral("P2"), {}};
        const QString text = TextOf(s, n);
        return CodeText{IsNumeric(text) ? text : QStringLiteral("0"), {}};
    }
    case 'U':
        return CodeText{s.unitLabels[n].caption, {}};
    default:
        return {};
    }
}

} // namespace

CodeText FormatFieldCode(const State& s, const QString& code, const PageInfo& page) {
    if (code == QLatin1String("PPAGE"))
        return CodeText{QStringLiteral("Page ") + QString::number(page.page) + QStringLiteral(" of ") +
                            QString::number(page.count),
                        {}};
    if (code == QLatin1String("PDATE"))
        return CodeText{QLocale::system().toString(page.made.date(), QLocale::ShortFormat), {}};
    if (code == QLatin1String("PTIME"))
        return CodeText{QLocale::system().toString(page.made.time(), QLocale::ShortFormat), {}};
    if (code == QLatin1String("PPATH")) return CodeText{s.currentJobPath, {}};
    if (code.size() < 4) return {};

    const QChar kind = code[0];
    static const QString known = QStringLiteral(",:*DFhLRSTMNU");
    if (!known.contains(kind)) return {};
    try {
        if (kind == QLatin1Char(',') || kind == QLatin1Char('*')) return Pair(s, code, kind);
        const std::optional<int> n = Digits(QStringView(code).right(3));
        if (!n) return Fail(QStringLiteral("the code \"%1\" does not end in a field number").arg(code));
        if (kind == QLatin1Char('D')) return GridCellText(s, code, *n);
        return Single(s, kind, *n);
    } catch (const MissingControl& missing) {
        return Fail(QStringLiteral("the code \"%1\": %2").arg(code, QString::fromStdString(missing.what())));
    }
}

} // namespace corvane
