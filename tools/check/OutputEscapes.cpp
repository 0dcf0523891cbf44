#include "OutputEscapes.h"

#include "util/NativeName.h"
#include "util/UnitScan.h"

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
// other character to `escape`; `next(from)` gives the first of those from
// `from`, or -1.
template <typename Next, typename Escape>
void appendEscapedFound(QString &out, QStringView text, Next next, Escape escape)
{
    qsizetype plainFrom = 0;
    for (qsizetype i = next(0); i >= 0; i = next(i + 1)) {
        out += text.sliced(plainFrom, i - plainFrom);
        plainFrom = i + 1;
        escape(text[i].unicode());
    }
    out += text.sliced(plainFrom);
}

// The same, the characters to escape told one by one by `needs`.
template <typename NeedsEscape, typename Escape>
void appendEscaped(QString &out, QStringView text, NeedsEscape needs, Escape escape)
{
    const auto next = [&](qsizetype from) {
        for (qsizetype i = from; i < text.size(); ++i) {
            if (needs(text[i].unicode()))
                return i;
        }
        return qsizetype(-1);
    };
    appendEscapedFound(out, text, next, escape);
}

// The first character of `text` from `from` that needsOneLineEscape takes,
// or -1. Every record's paths pass through here, and nearly none holds one:
// eight units are looked at a step.
qsizetype firstNeedingOneLineEscape(QStringView text, qsizetype from)
{
#if defined(__SSE2__)
    const auto stepMatches = [](__m128i units) {
        const __m128i none = _mm_setzero_si128();
        // Unsigned: at most 0x1F; 0x7F to 0x9F; "\"; U+2028 or U+2029.
        const __m128i control = _mm_cmpeq_epi16(_mm_subs_epu16(units, _mm_set1_epi16(0x1F)), none);
        const __m128i highControl = _mm_cmpeq_epi16(
            _mm_subs_epu16(_mm_sub_epi16(units, _mm_set1_epi16(0x7F)), _mm_set1_epi16(0x20)), none);
        const __m128i backslash = _mm_cmpeq_epi16(units, _mm_set1_epi16(short(u'\\')));
        const __m128i separator = _mm_cmpeq_epi16(_mm_and_si128(units, _mm_set1_epi16(short(0xFFFE))),
                                                  _mm_set1_epi16(short(0x2028)));
        return _mm_or_si128(_mm_or_si128(control, highControl), _mm_or_si128(backslash, separator));
    };
#else
    const auto stepMatches = nullptr;
#endif
    return FindFirstMatch(text.utf16(), from, text.size(), stepMatches, needsOneLineEscape);
}

bool needsJsonEscape(char16_t c)
{
    return c < 0x20 || c == u'"' || c == u'\\';
}

// The same for a JSON string.
qsizetype firstNeedingJsonEscape(QStringView text, qsizetype from)
{
#if defined(__SSE2__)
    const auto stepMatches = [](__m128i units) {
        const __m128i control = _mm_cmpeq_epi16(_mm_subs_epu16(units, _mm_set1_epi16(0x1F)), _mm_setzero_si128());
        const __m128i quote = _mm_cmpeq_epi16(units, _mm_set1_epi16(short(u'"')));
        const __m128i backslash = _mm_cmpeq_epi16(units, _mm_set1_epi16(short(u'\\')));
        return _mm_or_si128(control, _mm_or_si128(quote, backslash));
    };
#else
    const auto stepMatches = nullptr;
#endif
    return FindFirstMatch(text.utf16(), from, text.size(), stepMatches, needsJsonEscape);
}

} // namespace

void AppendJsonString(QString &out, QStringView text)
{
    out += u'"';
    appendEscapedFound(
        out, text, [&](qsizetype from) { return firstNeedingJsonEscape(text, from); },
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
    appendEscapedFound(
        out, text, [&](qsizetype from) { return firstNeedingOneLineEscape(text, from); },
        [&](char16_t c) { appendOneLineEscape(out, c); });
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
