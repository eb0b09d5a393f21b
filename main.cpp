#include "app/batch.h"
#include "app/batchargs.h"
#include "app/batchoutput.h"
#include "base/installation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <vector>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <cstring>
#include <unistd.h>
#else
#include <QProcess>
#endif

// `corvane`, the command users and the desktop start. It links Qt Core alone, so a batch run
// that only computes, saves or prints its results starts in a fraction of the time the window's
// libraries take to load; everything else goes to the window program beside it.

namespace {

QStringList Arguments(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    return args;
}

// Hands the run to the window program beside this one with the same arguments. On Unix it
// takes this process's place: the same process, standard streams and exit status.
int StartWindowProgram(int argc, char** argv) {
    std::vector<char*> arguments(argv, argv + argc);  // as given, before Qt sees them
    arguments.push_back(nullptr);
    QCoreApplication app(argc, argv);
    const QString program =
        QDir(QCoreApplication::applicationDirPath()).filePath(QLatin1String(corvane::WindowProgramName));
#if defined(Q_OS_UNIX)
    // The first argument stays the command's own name, which names the window to the desktop.
    const QByteArray path = QFile::encodeName(program);
    ::execv(path.constData(), arguments.data());
    const QString reason = QString::fromLocal8Bit(std::strerror(errno));
#else
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
    process.start(program, Arguments(argc, argv));
    if (process.waitForStarted(-1) && process.waitForFinished(-1)) return process.exitCode();
    const QString reason = process.errorString();
#endif
    return corvane::Fail(corvane::Unexpected, QStringLiteral("the program '%1' cannot be started: %2")
                                                  .arg(QDir::toNativeSeparators(program), reason));
}

} // namespace

int main(int argc, char** argv) {
    const QStringList args = Arguments(argc, argv);
    if (corvane::IsBatchInvocation(args) && !corvane::BatchNeedsServices(args)) {
        QCoreApplication app(argc, argv);
        return corvane::RunBatch(QCoreApplication::applicationDirPath(), args, {});
    }
    return StartWindowProgram(argc, argv);
}
