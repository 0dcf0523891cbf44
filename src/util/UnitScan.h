#pragma once
// Scans over UTF-16 text that look at eight code units a step. A page is
// searched for the same few marks once per line or per attribute; calling a
// general search for each costs more than the search itself, so these keep
// the loop and hand each place found to the caller.

#include <QtGlobal>

#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillan {

// Calls `found(i)` for each i in [from, size - 1) where text[i] == first and
// text[i + 1] == second, in order, until `found` returns false.
template <typename Found>
void ForEachPair(const char16_t *text, qsizetype size, char16_t first, char16_t second,
                 qsizetype from, Found &&found)
{
    qsizetype i = qMax<qsizetype>(from, 0);
#if defined(__SSE2__)
    const __m128i a = _mm_set1_epi16(short(first));
    const __m128i b = _mm_set1_epi16(short(second));
    // Eight starts a step; the second unit of the last start is the ninth.
    for (; i + 9 <= size; i += 8) {
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + i));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + i + 1));
        const __m128i both = _mm_and_si128(_mm_cmpeq_epi16(here, a), _mm_cmpeq_epi16(next, b));
        // Two mask bits a unit: the even ones stand for the units.
        unsigned mask = unsigned(_mm_movemask_epi8(both)) & 0x5555u;
        while (mask != 0) {
            if (!found(i + std::countr_zero(mask) / 2))
                return;
            mask &= mask - 1;
        }
    }
#endif
    for (; i + 1 < size; ++i) {
        if (text[i] == first && text[i + 1] == second && !found(i))
            return;
    }
}

// The last CR or LF in [from, to), or -1.
inline qsizetype LastLineBreakIn(const char16_t *text, qsizetype from, qsizetype to)
{
    from = qMax<qsizetype>(from, 0);
    qsizetype end = to; // units before `end` are yet to be looked at
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi16(short(u'\r'));
    const __m128i lf = _mm_set1_epi16(short(u'\n'));
    for (; end - 8 >= from; end -= 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + end - 8));
        const __m128i breaks = _mm_or_si128(_mm_cmpeq_epi16(units, cr), _mm_cmpeq_epi16(units, lf));
        const unsigned mask = unsigned(_mm_movemask_epi8(breaks));
        if (mask != 0)
            return end - 8 + (31 - std::countl_zero(mask)) / 2;
    }
#endif
    for (qsizetype i = end - 1; i >= from; --i) {
        if (text[i] == u'\r' || text[i] == u'\n')
            return i;
    }
    return -1;
}

// How many units of [from, to) are `c`.
inline qsizetype CountUnit(const char16_t *text, qsizetype from, qsizetype to, char16_t c)
{
    qsizetype count = 0;
    qsizetype i = qMax<qsizetype>(from, 0);
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi16(short(c));
    while (i + 8 <= to) {
        // Each lane counts down by one a match (a match compares as -1), for
        // at most 32,767 steps before the lanes are added up.
        __m128i lanes = _mm_setzero_si128();
        for (int steps = 0; steps < 32767 && i + 8 <= to; ++steps, i += 8) {
            const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + i));
            lanes = _mm_add_epi16(lanes, _mm_cmpeq_epi16(units, wanted));
        }
        alignas(16) qint16 counts[8];
        _mm_store_si128(reinterpret_cast<__m128i *>(counts), lanes);
        for (const qint16 lane : counts)
            count -= lane;
    }
#endif
    for (; i < to; ++i)
        count += text[i] == c ? 1 : 0;
    return count;
}

} // namespace quillan
