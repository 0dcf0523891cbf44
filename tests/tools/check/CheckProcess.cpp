#include "CheckProcess.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quillan::test {

namespace {

const QString kProgram = QStringLiteral(QUILLAN_CHECK_PROGRAM);

CliResult finish(QProcess &process, const QString &what)
{
    EXPECT_TRUE(process.waitForFinished(120000)) << what.toStdString();
    CliResult result;
    result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

QProcessEnvironment environment(const QString &dataHome, const QProcessEnvironment &extra)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    for (const QString &key : extra.keys())
        env.insert(key, extra.value(key));
    return env;
}

} // namespace

QString CliResult::lastLineOf(const QByteArray &text)
{
    const QByteArray trimmed = text.endsWith('\n') ? text.chopped(1) : text;
    return QString::fromUtf8(trimmed.mid(trimmed.lastIndexOf('\n') + 1));
}

CliResult RunCli(const QStringList &args, const QString &dataHome, const QProcessEnvironment &env)
{
    QProcess process;
    process.setProcessEnvironment(environment(dataHome, env));
    process.start(kProgram, args);
    return finish(process, args.join(u' '));
}

CliResult RunShell(const QString &commandLine, const QString &folder, const QString &dataHome)
{
    QProcessEnvironment extra;
    extra.insert(QStringLiteral("PATH"), QFileInfo(kProgram).absolutePath() + u':'
                                             + qEnvironmentVariable("PATH"));
    QProcess process;
    process.setProcessEnvironment(environment(dataHome, extra));
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), commandLine});
    return finish(process, commandLine);
}

int ShellStatus(int waitStatus)
{
    return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 128 + WTERMSIG(waitStatus);
}

pid_t SpawnCli(const QStringList &args, const QByteArray &stdoutPath, int stderrFd, int stdoutFd,
               bool ownGroup)
{
    std::vector<QByteArray> owned{QFile::encodeName(kProgram)};
    for (const QString &arg : args)
        owned.push_back(arg.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &arg : owned)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (ownGroup)
            ::setpgid(0, 0);
        const int out = stdoutFd >= 0 ? stdoutFd : ::open(stdoutPath.constData(), O_WRONLY);
        const int err = stderrFd >= 0 ? stderrFd : ::open("/dev/null", O_WRONLY);
        if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0)
            ::_exit(126);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

std::string ReadAll(int fd)
{
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0)
        text.append(buffer, size_t(n));
    return text;
}

} // namespace quillan::test
