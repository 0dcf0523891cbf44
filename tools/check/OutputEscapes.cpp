#include "OutputEscapes.h"

#include "util/NativeName.h"

namespace quillan::check {

namespace {

bool needsOneLineEscape(char16_t c)
{
    return c < 0x20 || c == u'\\' || (c >= 0x7f && c <= 0x9f) || c == 0x2028 || c == 0x2029;
}

void appendOneLineEscape(QString &out, char16_t c)
{
    switch (c) {
    case u'\\': out += QLatin1String("\\\\"); break;
    case u'\t': out += QLatin1String("\\t"); break;
    case u'\n': out += QLatin1String("\\n"); break;
    case u'\r': out += QLatin1String("\\r"); break;
    default:
        if (c <= 0xff)
            out += QStringLiteral("\\x%1").arg(uint(c), 2, 16, QLatin1Char('0'));
        else
            out += QStringLiteral("\\u%1").arg(uint(c), 4, 16, QLatin1Char('0'));
    }
}

// Copies text, runs of characters that need nothing whole, and hands each
// other character to `escape`.
template <typename NeedsEscape, typename Escape>
void appendEscaped(QString &out, QStringView text, NeedsEscape needs, Escape escape)
{
    qsizetype plainFrom = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (!needs(c))
            continue;
        out += text.sliced(plainFrom, i - plainFrom);
        plainFrom = i + 1;
        escape(c);
    }
    out += text.sliced(plainFrom);
}

} // namespace

void AppendJsonString(QString &out, QStringView text)
{
    out += u'"';
    appendEscaped(
        out, text, [](char16_t c) { return c < 0x20 || c == u'"' || c == u'\\'; },
        [&](char16_t c) {
            switch (c) {
            case u'"': out += QLatin1String("\\\""); break;
            case u'\\': out += QLatin1String("\\\\"); break;
            case u'\n': out += QLatin1String("\\n"); break;
            case u'\r': out += QLatin1String("\\r"); break;
            case u'\t': out += QLatin1String("\\t"); break;
            default: out += QStringLiteral("\\u%1").arg(uint(c), 4, 16, QLatin1Char('0'));
            }
        });
    out += u'"';
}

void AppendOneLine(QString &out, QStringView text)
{
    appendEscaped(out, text, needsOneLineEscape, [&](char16_t c) { appendOneLineEscape(out, c); });
}

void AppendXmlText(QString &out, QStringView text)
{
    appendEscaped(
        out, text,
        [](char16_t c) {
            return needsOneLineEscape(c) || c == u'&' || c == u'<' || c == u'>' || c == u'"'
                   || c == 0xfffe || c == 0xffff;
        },
        [&](char16_t c) {
            switch (c) {
            case u'&': out += QLatin1String("&amp;"); break;
            case u'<': out += QLatin1String("&lt;"); break;
            case u'>': out += QLatin1String("&gt;"); break;
            case u'"': out += QLatin1String("&quot;"); break;
            default: appendOneLineEscape(out, c);
            }
        });
}

void AppendWorkflowData(QString &out, QStringView text)
{
    appendEscaped(
        out, text, [](char16_t c) { return c == u'%' || c == u'\r' || c == u'\n'; },
        [&](char16_t c) {
            out += c == u'%' ? QLatin1String("%25") : c == u'\r' ? QLatin1String("%0D")
                                                                   : QLatin1String("%0A");
        });
}

void AppendWorkflowProperty(QString &out, QStringView text)
{
    appendEscaped(
        out, text,
        [](char16_t c) { return c == u'%' || c == u'\r' || c == u'\n' || c == u':' || c == u','; },
        [&](char16_t c) {
            switch (c) {
            case u':': out += QLatin1String("%3A"); break;
            case u',': out += QLatin1String("%2C"); break;
            default: AppendWorkflowData(out, QStringView(&c, 1));
            }
        });
}

QString PercentEncodedName(QStringView name)
{
    return QString::fromLatin1(EncodeNativeName(name).toPercentEncoding("/"));
}

} // namespace quillan::check
