#include "scan/LinkCheckerSearch.h"

#include "util/StrProc.h"
#include "util/UnitScan.h"

#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>

namespace quillan {

qsizetype KeyPlaces::Within(qsizetype from, qsizetype end) const
{
    const auto place = std::lower_bound(places_.begin(), places_.end(), from);
    return place != places_.end() && *place + keyLength_ <= end ? *place : -1;
}

namespace {

// LowerCaseAccentedChar, with the ASCII letters of a page's markup worked
// out here.
inline char16_t loweredUnit(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 128)
        return u >= u'A' && u <= u'Z' ? char16_t(u + 32) : u;
    return LowerCaseAccentedChar(c).unicode();
}

} // namespace

void FindAttributeKeys(QStringView text, std::span<AttributeKey> keys)
{
    ForEachPair(text.utf16(), text.size(), u'=', u'"', 0, [&](qsizetype eq) {
        // At most one key ends at a given "=": they differ before it. Most
        // attributes differ from every key in their last letter, which is
        // lowered once for all keys.
        const char16_t last = eq > 0 ? loweredUnit(text[eq - 1]) : u'\0';
        for (AttributeKey &key : keys) {
            const qsizetype equalsAt = key.lowered.size() - 2;
            const qsizetype start = eq - equalsAt;
            if (start < 0 || (equalsAt > 0 && last != key.lowered[equalsAt - 1].unicode()))
                continue;
            qsizetype i = qMax<qsizetype>(equalsAt - 1, 0);
            while (i > 0 && loweredUnit(text[start + i - 1]) == key.lowered[i - 1].unicode())
                --i;
            if (i == 0) {
                key.places.Add(start);
                break;
            }
        }
        return true;
    });
}

LineMarks ScanLine(QStringView text, qsizetype from)
{
    const char16_t *t = text.utf16();
    const qsizetype n = text.size();
    LineMarks marks;
    // Looks at a place the scan stopped at; true when the line ends there.
    // A comment mark holds no break, so one that begins on the line ends on it.
    auto look = [&](qsizetype i) {
        const char16_t c = t[i];
        if (c == u'\r' || c == u'\n') {
            marks.end = i;
            return true;
        }
        if (c == u'<') {
            if (marks.commentStart < 0 && i + 3 < n && t[i + 1] == u'!' && t[i + 2] == u'-'
                && t[i + 3] == u'-')
                marks.commentStart = i;
        } else if (c == u'-') {
            if (marks.commentEnd < 0 && i + 2 < n && t[i + 1] == u'-' && t[i + 2] == u'>')
                marks.commentEnd = i;
        }
        return false;
    };
    qsizetype i = qMax<qsizetype>(from, 0);
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi16(short(u'\r'));
    const __m128i lf = _mm_set1_epi16(short(u'\n'));
    const __m128i lt = _mm_set1_epi16(short(u'<'));
    const __m128i bang = _mm_set1_epi16(short(u'!'));
    const __m128i dash = _mm_set1_epi16(short(u'-'));
    // Stops at breaks and at the pairs "<!" and "--"; the second unit of the
    // last place is the ninth.
    for (; i + 9 <= n; i += 8) {
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i *>(t + i));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i *>(t + i + 1));
        const __m128i breaks = _mm_or_si128(_mm_cmpeq_epi16(here, cr), _mm_cmpeq_epi16(here, lf));
        const __m128i opening =
            _mm_and_si128(_mm_cmpeq_epi16(here, lt), _mm_cmpeq_epi16(next, bang));
        const __m128i closing =
            _mm_and_si128(_mm_cmpeq_epi16(here, dash), _mm_cmpeq_epi16(next, dash));
        const __m128i stops = _mm_or_si128(breaks, _mm_or_si128(opening, closing));
        unsigned mask = unsigned(_mm_movemask_epi8(stops)) & 0x5555u;
        while (mask != 0) {
            if (look(i + std::countr_zero(mask) / 2))
                return marks;
            mask &= mask - 1;
        }
    }
#endif
    for (; i < n; ++i) {
        if (look(i))
            return marks;
    }
    marks.end = n;
    return marks;
}

} // namespace quillan
