#include "ResultStream.h"

#include <cerrno>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace quillan::check {

namespace {

// Big enough to spare system calls, small enough that a pipe's reader sees
// the records while a long walk goes on.
constexpr qsizetype kFlushSize = 4096;

bool isTerminal(int fd)
{
#ifdef _WIN32
    return _isatty(fd) != 0;
#else
    return ::isatty(fd) != 0;
#endif
}

void writeAll(int fd, const QByteArray &bytes)
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
        if (written <= 0)
            return; // a reader that went away: nothing more to say to it
        data += written;
        left -= written;
    }
}

} // namespace

QString JsonString(const QString &text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += u'"';
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'"': out += QStringLiteral("\\\""); break;
        case u'\\': out += QStringLiteral("\\\\"); break;
        case u'\n': out += QStringLiteral("\\n"); break;
        case u'\r': out += QStringLiteral("\\r"); break;
        case u'\t': out += QStringLiteral("\\t"); break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(uint(c.unicode()), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += u'"';
    return out;
}

QString TsvField(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\': out += QStringLiteral("\\\\"); break;
        case u'\t': out += QStringLiteral("\\t"); break;
        case u'\n': out += QStringLiteral("\\n"); break;
        case u'\r': out += QStringLiteral("\\r"); break;
        default: out += c;
        }
    }
    return out;
}

ResultStream::ResultStream(OutputFormat format, int fd)
    : format_(format), fd_(fd), lineBuffered_(isTerminal(fd))
{
}

void ResultStream::BeginBrokenLinks()
{
    if (format_ == OutputFormat::Json)
        append(QStringLiteral("["));
    else if (format_ == OutputFormat::Tsv)
        append(QStringLiteral("page\tline\tlink\ttarget\thint\n"));
}

void ResultStream::BeginListedFiles()
{
    if (format_ == OutputFormat::Json)
        append(QStringLiteral("["));
    else if (format_ == OutputFormat::Tsv)
        append(QStringLiteral("page\n"));
}

void ResultStream::BrokenLink(const BrokenLinkRecord &r)
{
    const QString line = QString::number(r.line);
    switch (format_) {
    case OutputFormat::Text:
        append(r.page + u':' + line + QStringLiteral(": ") + r.link + QStringLiteral(" -> ")
               + r.target + (r.hint.isEmpty() ? QString() : QStringLiteral(" (") + r.hint + u')')
               + u'\n');
        break;
    case OutputFormat::Tsv:
        append(TsvField(r.page) + u'\t' + line + u'\t' + TsvField(r.link) + u'\t'
               + TsvField(r.target) + u'\t' + TsvField(r.hint) + u'\n');
        break;
    case OutputFormat::Json:
        append((records_ == 0 ? QStringLiteral("\n") : QStringLiteral(",\n"))
               + QStringLiteral("{\"page\": ") + JsonString(r.page) + QStringLiteral(", \"line\": ")
               + line + QStringLiteral(", \"link\": ") + JsonString(r.link)
               + QStringLiteral(", \"target\": ") + JsonString(r.target)
               + QStringLiteral(", \"hint\": ")
               + (r.hint.isEmpty() ? QStringLiteral("null") : JsonString(r.hint)) + u'}');
        break;
    }
    ++records_;
    flushWhenFull();
}

void ResultStream::ListedFile(const QString &page)
{
    if (format_ == OutputFormat::Json)
        append((records_ == 0 ? QStringLiteral("\n") : QStringLiteral(",\n")) + JsonString(page));
    else if (format_ == OutputFormat::Tsv)
        append(TsvField(page) + u'\n');
    ++records_;
    flushWhenFull();
}

void ResultStream::End(const QString &summary)
{
    if (format_ == OutputFormat::Json)
        append(records_ == 0 ? QStringLiteral("]\n") : QStringLiteral("\n]\n"));
    append(summary + u'\n');
    flush();
}

void ResultStream::append(const QString &text)
{
    // JSON is UTF-8 by definition; the other formats follow the locale, as
    // the reports do.
    if (format_ == OutputFormat::Json) {
        buffer_ += text.toUtf8();
    } else {
        buffer_ += localeEncoder_.encode(text);
    }
}

void ResultStream::flushWhenFull()
{
    if (lineBuffered_ || buffer_.size() >= kFlushSize)
        flush();
}

void ResultStream::flush()
{
    if (buffer_.isEmpty())
        return;
    writeAll(fd_, buffer_);
    buffer_.clear();
}

} // namespace quillan::check
