#pragma once
// Scans over text, as UTF-16 code units or as the bytes of UTF-8, that look
// at a register's worth of units a step (8 of UTF-16, 16 bytes). A page is
// searched for the same few marks once per line or per attribute; calling a
// general search for each costs more than the search itself, so these keep
// the loop and hand each place found to the caller. The marks are ASCII, so
// a byte of a longer UTF-8 sequence is never taken for one.

#include <QtGlobal>

#include <bit>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillan {

#if defined(__SSE2__)
// The register operations for one width of unit.
template <typename Unit>
struct UnitLanes;

template <>
struct UnitLanes<char16_t> {
    static constexpr qsizetype kPerStep = 8;
    static constexpr int kMaskBitsPerUnit = 2;
    static __m128i Splat(char16_t c) { return _mm_set1_epi16(short(c)); }
    static __m128i Equal(__m128i a, __m128i b) { return _mm_cmpeq_epi16(a, b); }
    // Two mask bits a unit: the even ones stand for the units.
    static unsigned Mask(__m128i m) { return unsigned(_mm_movemask_epi8(m)) & 0x5555U; }
};

template <>
struct UnitLanes<char> {
    static constexpr qsizetype kPerStep = 16;
    static constexpr int kMaskBitsPerUnit = 1;
    static __m128i Splat(char c) { return _mm_set1_epi8(c); }
    static __m128i Equal(__m128i a, __m128i b) { return _mm_cmpeq_epi8(a, b); }
    static unsigned Mask(__m128i m) { return unsigned(_mm_movemask_epi8(m)); }
};

template <typename Unit>
inline __m128i LoadUnits(const Unit *at)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i *>(at));
}
#endif

// Calls `found(i)` for each i in [from, size - 1) where text[i] == first and
// text[i + 1] == second, in order, until `found` returns false.
template <typename Unit, typename Found>
void ForEachPair(const Unit *text, qsizetype size, Unit first, Unit second, qsizetype from,
                 Found &&found)
{
    qsizetype i = qMax<qsizetype>(from, 0);
#if defined(__SSE2__)
    using Lanes = UnitLanes<Unit>;
    const __m128i a = Lanes::Splat(first);
    const __m128i b = Lanes::Splat(second);
    // A step of starts; the second unit of the last start is one further.
    for (; i + Lanes::kPerStep + 1 <= size; i += Lanes::kPerStep) {
        const __m128i both = _mm_and_si128(Lanes::Equal(LoadUnits(text + i), a),
                                           Lanes::Equal(LoadUnits(text + i + 1), b));
        unsigned mask = Lanes::Mask(both);
        while (mask != 0) {
            if (!found(i + std::countr_zero(mask) / Lanes::kMaskBitsPerUnit))
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
template <typename Unit>
qsizetype LastLineBreakIn(const Unit *text, qsizetype from, qsizetype to)
{
    from = qMax<qsizetype>(from, 0);
    qsizetype end = to; // units before `end` are yet to be looked at
#if defined(__SSE2__)
    using Lanes = UnitLanes<Unit>;
    const __m128i cr = Lanes::Splat(Unit('\r'));
    const __m128i lf = Lanes::Splat(Unit('\n'));
    for (; end - Lanes::kPerStep >= from; end -= Lanes::kPerStep) {
        const __m128i units = LoadUnits(text + end - Lanes::kPerStep);
        const unsigned mask = Lanes::Mask(_mm_or_si128(Lanes::Equal(units, cr), Lanes::Equal(units, lf)));
        if (mask != 0)
            return end - Lanes::kPerStep + (31 - std::countl_zero(mask)) / Lanes::kMaskBitsPerUnit;
    }
#endif
    for (qsizetype i = end - 1; i >= from; --i) {
        if (text[i] == Unit('\r') || text[i] == Unit('\n'))
            return i;
    }
    return -1;
}

// How many units of [from, to) are `c`.
template <typename Unit>
qsizetype CountUnit(const Unit *text, qsizetype from, qsizetype to, Unit c)
{
    qsizetype count = 0;
    qsizetype i = qMax<qsizetype>(from, 0);
#if defined(__SSE2__)
    using Lanes = UnitLanes<Unit>;
    const __m128i wanted = Lanes::Splat(c);
    // Breaks are few among a page's units: the set bits are counted one by one.
    for (; i + Lanes::kPerStep <= to; i += Lanes::kPerStep) {
        for (unsigned mask = Lanes::Mask(Lanes::Equal(LoadUnits(text + i), wanted)); mask != 0;
             mask &= mask - 1)
            ++count;
    }
#endif
    for (; i < to; ++i)
        count += text[i] == c ? 1 : 0;
    return count;
}

} // namespace quillan
