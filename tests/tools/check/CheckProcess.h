#pragma once
// Running quillan-check as a program of its own, as a pipeline runs it.

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <string>

#include <sys/types.h>

namespace quillan::test {

struct CliResult {
    int status = -1;
    QByteArray out;
    QByteArray err;

    // The output without its last line, and that line.
    QByteArray records() const { return out.left(out.lastIndexOf('\n', out.size() - 2) + 1); }
    QString lastLine() const { return lastLineOf(out); }
    // The status line of the formats that leave standard output to a
    // document: the last line of standard error.
    QString errLastLine() const { return lastLineOf(err); }

    static QString lastLineOf(const QByteArray &text);
};

// Runs the checker with its data folder below `dataHome`; `env` adds to or
// replaces the environment's variables.
CliResult RunCli(const QStringList &args, const QString &dataHome,
                 const QProcessEnvironment &env = QProcessEnvironment());

// The exit status of a child as a shell gives it: the code, or 128 and the
// signal that ended it.
int ShellStatus(int waitStatus);

// Starts the checker with standard output going to `stdoutPath` (or the
// descriptor `stdoutFd` when it is 0 or more) and standard error to
// `stderrFd` (-1: nowhere), in a process group of its own when `ownGroup`.
// Only plain system calls run between fork and exec.
pid_t SpawnCli(const QStringList &args, const QByteArray &stdoutPath, int stderrFd,
               int stdoutFd = -1, bool ownGroup = false);

// Reads the descriptor to its end.
std::string ReadAll(int fd);

// Runs a shell command line in `folder` with the checker's folder first on
// PATH and the data folder below `dataHome`.
CliResult RunShell(const QString &commandLine, const QString &folder, const QString &dataHome);

} // namespace quillan::test
