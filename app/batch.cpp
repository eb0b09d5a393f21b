#include "app/batch.h"

#include <cstdio>

namespace corvane {

bool IsBatchInvocation(const QStringList& args) {
    return args.contains(QStringLiteral("--batch")) || args.contains(QStringLiteral("--help"));
}

int RunBatch(const QString&, const QStringList&) {
    std::fputs("corvane: the batch mode is not available in this build\n", stderr);
    return 2;
}

} // namespace corvane
