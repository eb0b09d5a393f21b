// corvane-publish: makes the publisher's key pair and signs a web area for the update check.
#include "update/publishing.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

const char Usage[] = R"(Usage:
  corvane-publish keygen KEYFILE     write a new secret key to KEYFILE (owner only)
                                     and its public key to KEYFILE.pub
  corvane-publish sign AREA KEYFILE  complete AREA/Newest.ver with each file's size and
                                     SHA-256 and write AREA/Newest.ver.sig

AREA is laid out as the update address: AREA/Newest.ver and each listed file at
AREA/<remote folder>/<file name>. See docs/updates.md.
)";

void Print(FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("keygen")) {
        const QString problem = corvane::WriteKeyFiles(args[1]);
        if (!problem.isEmpty()) {
            Print(stderr, QStringLiteral("corvane-publish: ") + problem);
            return 1;
        }
        Print(stdout, QStringLiteral("Secret key: %1\nPublic key: %1.pub").arg(args[1]));
        return 0;
    }
    if (args.size() == 3 && args[0] == QLatin1String("sign")) {
        const corvane::SignResult result = corvane::SignArea(args[1], args[2]);
        for (const QString& p : result.problems) Print(stderr, QStringLiteral("corvane-publish: ") + p);
        if (!result.problems.isEmpty()) {
            Print(stderr, QStringLiteral("corvane-publish: nothing was written"));
            return 1;
        }
        Print(stdout, QStringLiteral("Signed %1 entries: %2/Newest.ver, %2/Newest.ver.sig").arg(result.entries).arg(args[1]));
        return 0;
    }
    std::fputs(Usage, args.isEmpty() || args[0] == QLatin1String("--help") ? stdout : stderr);
    return args.isEmpty() || args[0] == QLatin1String("--help") ? 0 : 2;
}
