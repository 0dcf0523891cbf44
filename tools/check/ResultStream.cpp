#include "ResultStream.h"

#include "util/NativeName.h"

#include <array>
#include <cerrno>

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

void AppendJsonString(QString &out, QStringView text)
{
    out += u'"';
    qsizetype plainFrom = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x20 && c != u'"' && c != u'\\')
            continue;
        // Runs of characters that need no escape are copied whole.
        out += text.sliced(plainFrom, i - plainFrom);
        plainFrom = i + 1;
        switch (c) {
        case u'"': out += QLatin1String("\\\""); break;
        case u'\\': out += QLatin1String("\\\\"); break;
        case u'\n': out += QLatin1String("\\n"); break;
        case u'\r': out += QLatin1String("\\r"); break;
        case u'\t': out += QLatin1String("\\t"); break;
        default: out += QStringLiteral("\\u%1").arg(uint(c), 4, 16, QLatin1Char('0'));
        }
    }
    out += text.sliced(plainFrom);
    out += u'"';
}

void AppendTsvField(QString &out, QStringView text)
{
    qsizetype plainFrom = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c != u'\\' && c != u'\t' && c != u'\n' && c != u'\r')
            continue;
        out += text.sliced(plainFrom, i - plainFrom);
        plainFrom = i + 1;
        switch (c) {
        case u'\\': out += QLatin1String("\\\\"); break;
        case u'\t': out += QLatin1String("\\t"); break;
        case u'\n': out += QLatin1String("\\n"); break;
        default: out += QLatin1String("\\r"); break;
        }
    }
    out += text.sliced(plainFrom);
}

namespace {

// Appends a line number without a string of its own.
void appendNumber(QString &out, qint32 n)
{
    std::array<char16_t, 12> digits{};
    int count = 0;
    do {
        digits[size_t(count++)] = char16_t(u'0' + n % 10);
        n /= 10;
    } while (n > 0);
    while (count > 0)
        out += QChar(digits[size_t(--count)]);
}

} // namespace

ResultStream::ResultStream(OutputFormat format, int fd)
    : format_(format),
      fd_(fd),
      lineBuffered_(isTerminal(fd)),
      flushSize_(flushSizeFor(fd)),
      // JSON is UTF-8 by definition; the other formats follow the locale, as
      // the reports do.
      encoder_(format == OutputFormat::Json ? QStringConverter::Utf8 : QStringConverter::System)
{
    pending_.reserve(flushSize_ + 1024);
}

void ResultStream::BeginBrokenLinks()
{
    if (format_ == OutputFormat::Json)
        pending_ += u'[';
    else if (format_ == OutputFormat::Tsv)
        pending_ += QLatin1String("page\tline\tlink\ttarget\thint\n");
}

void ResultStream::BeginListedFiles()
{
    if (format_ == OutputFormat::Json)
        pending_ += u'[';
    else if (format_ == OutputFormat::Tsv)
        pending_ += QLatin1String("page\n");
}

void ResultStream::BrokenLink(const BrokenLinkRecord &r)
{
    QString &out = pending_;
    switch (format_) {
    case OutputFormat::Text:
        out += r.page;
        out += u':';
        appendNumber(out, r.line);
        out += QLatin1String(": ");
        out += r.link;
        out += QLatin1String(" -> ");
        out += r.target;
        if (!r.hint.isEmpty()) {
            out += QLatin1String(" (");
            out += r.hint;
            out += u')';
        }
        out += u'\n';
        break;
    case OutputFormat::Tsv:
        AppendTsvField(out, r.page);
        out += u'\t';
        appendNumber(out, r.line);
        out += u'\t';
        AppendTsvField(out, r.link);
        out += u'\t';
        AppendTsvField(out, r.target);
        out += u'\t';
        AppendTsvField(out, r.hint);
        out += u'\n';
        break;
    case OutputFormat::Json:
        out += records_ == 0 ? QLatin1String("\n{\"page\": ") : QLatin1String(",\n{\"page\": ");
        AppendJsonString(out, r.page);
        out += QLatin1String(", \"line\": ");
        appendNumber(out, r.line);
        out += QLatin1String(", \"link\": ");
        AppendJsonString(out, r.link);
        out += QLatin1String(", \"target\": ");
        AppendJsonString(out, r.target);
        out += QLatin1String(", \"hint\": ");
        if (r.hint.isEmpty())
            out += QLatin1String("null");
        else
            AppendJsonString(out, r.hint);
        out += u'}';
        break;
    }
    ++records_;
    flushWhenFull();
}

void ResultStream::ListedFile(QStringView page)
{
    if (format_ == OutputFormat::Json) {
        pending_ += records_ == 0 ? QLatin1String("\n") : QLatin1String(",\n");
        AppendJsonString(pending_, page);
    } else if (format_ == OutputFormat::Tsv) {
        AppendTsvField(pending_, page);
        pending_ += u'\n';
    }
    ++records_;
    flushWhenFull();
}

void ResultStream::End(const QString &summary)
{
    if (format_ == OutputFormat::Json)
        pending_ += records_ == 0 ? QLatin1String("]\n") : QLatin1String("\n]\n");
    pending_ += summary;
    pending_ += u'\n';
    flush();
}

void ResultStream::flushWhenFull()
{
    if (lineBuffered_ || pending_.size() >= flushSize_)
        flush();
}

void ResultStream::flush()
{
    if (pending_.isEmpty())
        return;
    // A name the locale cannot decode is written as it is shown, with the
    // replacement character where its odd bytes stand.
    writeAll(fd_, encoder_.encode(DisplayName(pending_)));
    pending_.clear();
}

} // namespace quillan::check
