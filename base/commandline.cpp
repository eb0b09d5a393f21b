#include "base/commandline.h"

namespace corvane {

QStringList SplitCommandLine(const QString& tail, int maxArgs) {
    QStringList args;
    bool quoted = false;
    bool open = false;
    auto openArgument = [&]() -> bool {
        if (args.size() >= maxArgs) return false;
        args << QString();
        open = true;
        return true;
    };
    for (qsizetype i = 0; i < tail.size(); ++i) {
        const QChar c = tail[i];
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            continue;
        }
        if (quoted) {
            if (!open && !openArgument()) break;
            args.last() += c;
            continue;
        }
        if (c == QLatin1Char('\t')) {
            open = false;
        } else if (c == QLatin1Char(' ')) {
            if (i + 1 < tail.size() && tail[i + 1] == QLatin1Char('/'))
                open = false;
            else if (!args.isEmpty())
                args.last() += c;
        } else {
            if (!open && !openArgument()) break;
            args.last() += c;
        }
    }
    return args;
}

} // namespace corvane
