#include "ProgressLine.h"

#include <QStringEncoder>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifndef _WIN32
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace quillan::check {

namespace {

constexpr int kStderr = 2;

int terminalWidth()
{
#ifndef _WIN32
    struct winsize size {};
    if (::ioctl(kStderr, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
#endif
    return 80;
}

bool environmentSet(const char *name)
{
    const char *value = std::getenv(name);
    return value && *value;
}

} // namespace

bool ProgressWanted(bool quiet)
{
#ifdef _WIN32
    Q_UNUSED(quiet);
    return false;
#else
    if (quiet || ::isatty(kStderr) == 0 || environmentSet("NO_COLOR"))
        return false;
    const char *term = std::getenv("TERM");
    return term && *term && std::strcmp(term, "dumb") != 0;
#endif
}

void WriteToStderr(const QString &text)
{
    QStringEncoder encoder(QStringConverter::System);
    const QByteArray bytes = encoder.encode(text);
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

ProgressLine::ProgressLine(bool enabled) : enabled_(enabled)
{
    sinceDrawn_.start();
}

void ProgressLine::Draw(const QString &status, const QString &file)
{
    if (!enabled_ || sinceDrawn_.elapsed() < kIntervalMs)
        return;
    QString line = status;
    if (!file.isEmpty())
        line += (line.isEmpty() ? QString() : QStringLiteral("  ")) + file;
    const int width = terminalWidth() - 1;
    if (line.size() > width)
        line = line.left(qMax(width - 3, 0)) + QStringLiteral("...");
    WriteToStderr(QStringLiteral("\r") + line + QStringLiteral("\x1b[K"));
    drawn_ = true;
    sinceDrawn_.start();
}

void ProgressLine::Clear()
{
    if (!drawn_)
        return;
    WriteToStderr(QStringLiteral("\r\x1b[K"));
    drawn_ = false;
}

} // namespace quillan::check
