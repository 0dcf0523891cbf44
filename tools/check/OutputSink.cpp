#include "OutputSink.h"

#include "util/NativeName.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quillan::check {

namespace {

// In characters. A pipe's reader sees the records in small pieces while a
// long walk goes on; a file is written in big ones.
constexpr qsizetype kPipeFlushSize = 4096;
constexpr qsizetype kFileFlushSize = 65536;

bool isTerminal(int fd)
{
#ifdef _WIN32
    return _isatty(fd) != 0;
#else
    return ::isatty(fd) != 0;
#endif
}

qsizetype flushSizeFor(int fd)
{
#ifdef _WIN32
    Q_UNUSED(fd);
    return kPipeFlushSize;
#else
    struct stat st;
    return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? kFileFlushSize : kPipeFlushSize;
#endif
}

// 0, or the error number of the write that failed.
int writeAll(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
#ifdef _WIN32
        const auto written = _write(fd, data, unsigned(left));
#else
        const auto written = ::write(fd, data, size_t(left));
#endif
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return errno;
        if (written == 0)
            return EIO;
        data += written;
        left -= written;
    }
    return 0;
}

} // namespace

OutputSink::OutputSink(int fd, QStringConverter::Encoding encoding)
    : fd_(fd), toTerminal_(isTerminal(fd)), flushSize_(flushSizeFor(fd)), encoder_(encoding)
{
    pending_.reserve(flushSize_ + 1024);
}

void OutputSink::Written()
{
    if (toTerminal_ || pending_.size() >= flushSize_)
        Flush();
}

void OutputSink::Flush()
{
    if (pending_.isEmpty())
        return;
    if (failure_.isEmpty()) {
        // A name the locale cannot decode is written as it is shown, with
        // the replacement character where its odd bytes stand.
        const int error = writeAll(fd_, encoder_.encode(DisplayName(pending_)));
        if (error != 0)
            failure_ = QString::fromLocal8Bit(std::strerror(error));
    }
    // Emptied, not cleared: clear() gives back the room, and the next
    // records would grow it again from nothing, copying as they go.
    pending_.truncate(0);
}

} // namespace quillan::check
