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
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Processors with AVX2 take 32 bytes a step: the hottest scans have a second
// loop for them, built for AVX2 alone and chosen when the program runs. The
// loop is written out again for the wide registers rather than shared: code
// built for AVX2 inlines only code built for it too, and the program itself
// is built for processors without it.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define QUILLAN_WIDE_SCANS 1
#define QUILLAN_WIDE __attribute__((target("avx2")))
#include <immintrin.h>
#endif

namespace quillan {

// Whether the scans with a wide loop use it: the processor has AVX2, and it
// is not turned off (tests turn it off to run the narrow loops too).
extern bool gWideScans;
bool ProcessorHasWideScans();
inline void AllowWideScans(bool allowed)
{
    gWideScans = allowed && ProcessorHasWideScans();
}

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
    static __m128i AboveAscii(__m128i v)
    {
        const __m128i ascii = _mm_cmpeq_epi16(_mm_and_si128(v, _mm_set1_epi16(short(0xFF80))),
                                              _mm_setzero_si128());
        return _mm_xor_si128(ascii, _mm_set1_epi16(-1));
    }
};

template <>
struct UnitLanes<char> {
    static constexpr qsizetype kPerStep = 16;
    static constexpr int kMaskBitsPerUnit = 1;
    static __m128i Splat(char c) { return _mm_set1_epi8(c); }
    static __m128i Equal(__m128i a, __m128i b) { return _mm_cmpeq_epi8(a, b); }
    static unsigned Mask(__m128i m) { return unsigned(_mm_movemask_epi8(m)); }
    static __m128i AboveAscii(__m128i v) { return _mm_cmplt_epi8(v, _mm_setzero_si128()); }
};

template <typename Unit>
inline __m128i LoadUnits(const Unit *at)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i *>(at));
}
#endif

#if defined(QUILLAN_WIDE_SCANS)
// The same, for the 32-byte registers of AVX2.
template <typename Unit>
struct WideLanes;

template <>
struct WideLanes<char16_t> {
    static constexpr qsizetype kPerStep = 16;
    static constexpr int kMaskBitsPerUnit = 2;
    QUILLAN_WIDE static __m256i Splat(char16_t c) { return _mm256_set1_epi16(short(c)); }
    QUILLAN_WIDE static __m256i Equal(__m256i a, __m256i b) { return _mm256_cmpeq_epi16(a, b); }
    QUILLAN_WIDE static unsigned Mask(__m256i m) { return unsigned(_mm256_movemask_epi8(m)) & 0x55555555U; }
    QUILLAN_WIDE static __m256i AboveAscii(__m256i v)
    {
        const __m256i ascii = _mm256_cmpeq_epi16(_mm256_and_si256(v, _mm256_set1_epi16(short(0xFF80))),
                                                 _mm256_setzero_si256());
        return _mm256_xor_si256(ascii, _mm256_set1_epi16(-1));
    }
};

template <>
struct WideLanes<char> {
    static constexpr qsizetype kPerStep = 32;
    static constexpr int kMaskBitsPerUnit = 1;
    QUILLAN_WIDE static __m256i Splat(char c) { return _mm256_set1_epi8(c); }
    QUILLAN_WIDE static __m256i Equal(__m256i a, __m256i b) { return _mm256_cmpeq_epi8(a, b); }
    QUILLAN_WIDE static unsigned Mask(__m256i m) { return unsigned(_mm256_movemask_epi8(m)); }
    QUILLAN_WIDE static __m256i AboveAscii(__m256i v) { return _mm256_cmpgt_epi8(_mm256_setzero_si256(), v); }
};

template <typename Unit>
QUILLAN_WIDE inline __m256i LoadWide(const Unit *at)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i *>(at));
}

// The wide loop of ForEachPairAfterLetter below: from `i`, as far as whole
// steps go. Returns where it stopped, or -1 when `found` said to stop.
template <typename Unit, typename Found>
QUILLAN_WIDE qsizetype ForEachPairAfterLetterWide(const Unit *text, qsizetype size, qsizetype i,
                                                  Unit first, Unit second, char letterA, char letterB,
                                                  Found &found)
{
    using Lanes = WideLanes<Unit>;
    const __m256i a = Lanes::Splat(first);
    const __m256i b = Lanes::Splat(second);
    const __m256i lowerA = Lanes::Splat(Unit(letterA));
    const __m256i lowerB = Lanes::Splat(Unit(letterB));
    const __m256i caseBit = Lanes::Splat(Unit(0x20));
    for (; i + Lanes::kPerStep + 1 <= size; i += Lanes::kPerStep) {
        const __m256i pair = _mm256_and_si256(Lanes::Equal(LoadWide(text + i), a),
                                              Lanes::Equal(LoadWide(text + i + 1), b));
        if (Lanes::Mask(pair) == 0)
            continue;
        const __m256i before = LoadWide(text + i - 1);
        const __m256i folded = _mm256_or_si256(before, caseBit);
        const __m256i letter = _mm256_or_si256(
            _mm256_or_si256(Lanes::Equal(folded, lowerA), Lanes::Equal(folded, lowerB)),
            Lanes::AboveAscii(before));
        for (unsigned mask = Lanes::Mask(_mm256_and_si256(pair, letter)); mask != 0; mask &= mask - 1) {
            if (!found(i + std::countr_zero(mask) / Lanes::kMaskBitsPerUnit))
                return -1;
        }
    }
    return i;
}

// The wide loop of LastLineBreakIn below: the last break before `end` found
// in whole steps down to `from`, or -1 with `end` where the steps stopped.
template <typename Unit>
QUILLAN_WIDE qsizetype LastLineBreakWide(const Unit *text, qsizetype from, qsizetype &end)
{
    using Lanes = WideLanes<Unit>;
    const __m256i cr = Lanes::Splat(Unit('\r'));
    const __m256i lf = Lanes::Splat(Unit('\n'));
    for (; end - Lanes::kPerStep >= from; end -= Lanes::kPerStep) {
        const __m256i units = LoadWide(text + end - Lanes::kPerStep);
        const unsigned mask = Lanes::Mask(_mm256_or_si256(Lanes::Equal(units, cr), Lanes::Equal(units, lf)));
        if (mask != 0)
            return end - Lanes::kPerStep + (31 - std::countl_zero(mask)) / Lanes::kMaskBitsPerUnit;
    }
    return -1;
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

// Calls `found(i)` for each i in [1, size - 1) where text[i] == first,
// text[i + 1] == second and text[i - 1] is `letterA` or `letterB` in either
// case, or any unit above 127, in order, until `found` returns false. The
// letters are lower-case ASCII. Most pairs of a page stand after other
// letters: they are passed over a register at a time.
template <typename Unit, typename Found>
void ForEachPairAfterLetter(const Unit *text, qsizetype size, Unit first, Unit second,
                            char letterA, char letterB, Found &&found)
{
    using Code = std::make_unsigned_t<Unit>;
    const auto letterBefore = [&](Unit unit) {
        const auto code = Code(unit);
        return code > 127 || (code | 0x20) == Code(letterA) || (code | 0x20) == Code(letterB);
    };
    qsizetype i = 1;
#if defined(QUILLAN_WIDE_SCANS)
    if (gWideScans) {
        i = ForEachPairAfterLetterWide(text, size, i, first, second, letterA, letterB, found);
        if (i < 0)
            return;
    }
#endif
#if defined(__SSE2__)
    using Lanes = UnitLanes<Unit>;
    const __m128i a = Lanes::Splat(first);
    const __m128i b = Lanes::Splat(second);
    const __m128i lowerA = Lanes::Splat(Unit(letterA));
    const __m128i lowerB = Lanes::Splat(Unit(letterB));
    const __m128i caseBit = Lanes::Splat(Unit(0x20));
    for (; i + Lanes::kPerStep + 1 <= size; i += Lanes::kPerStep) {
        const __m128i pair = _mm_and_si128(Lanes::Equal(LoadUnits(text + i), a),
                                           Lanes::Equal(LoadUnits(text + i + 1), b));
        if (Lanes::Mask(pair) == 0)
            continue;
        const __m128i before = LoadUnits(text + i - 1);
        const __m128i folded = _mm_or_si128(before, caseBit);
        const __m128i letter = _mm_or_si128(
            _mm_or_si128(Lanes::Equal(folded, lowerA), Lanes::Equal(folded, lowerB)),
            Lanes::AboveAscii(before));
        for (unsigned mask = Lanes::Mask(_mm_and_si128(pair, letter)); mask != 0; mask &= mask - 1) {
            if (!found(i + std::countr_zero(mask) / Lanes::kMaskBitsPerUnit))
                return;
        }
    }
#endif
    for (; i + 1 < size; ++i) {
        if (text[i] == first && text[i + 1] == second && letterBefore(text[i - 1]) && !found(i))
            return;
    }
}

// The last CR or LF in [from, to), or -1.
template <typename Unit>
qsizetype LastLineBreakIn(const Unit *text, qsizetype from, qsizetype to)
{
    from = qMax<qsizetype>(from, 0);
    qsizetype end = to; // units before `end` are yet to be looked at
#if defined(QUILLAN_WIDE_SCANS)
    if (gWideScans) {
        if (const qsizetype found = LastLineBreakWide(text, from, end); found >= 0)
            return found;
    }
#endif
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

// The line ends that end in [from, to) of a text of `size` units: each LF,
// and each CR no LF follows (CR, LF and CR LF each end a line), in one pass.
template <typename Unit>
qsizetype CountLineEnds(const Unit *text, qsizetype from, qsizetype to, qsizetype size)
{
    qsizetype count = 0;
    qsizetype i = qMax<qsizetype>(from, 0);
    const auto lone = [&](qsizetype cr) { return cr + 1 >= size || text[cr + 1] != Unit('\n'); };
#if defined(__SSE2__)
    using Lanes = UnitLanes<Unit>;
    const __m128i cr = Lanes::Splat(Unit('\r'));
    const __m128i lf = Lanes::Splat(Unit('\n'));
    for (; i + Lanes::kPerStep <= to; i += Lanes::kPerStep) {
        const __m128i units = LoadUnits(text + i);
        // Breaks are few among a page's units: the set bits are counted one
        // by one (a popcount is a library call where the processor's own
        // instruction is not assumed). Most pages hold no CR at all.
        for (unsigned mask = Lanes::Mask(Lanes::Equal(units, lf)); mask != 0; mask &= mask - 1)
            ++count;
        for (unsigned mask = Lanes::Mask(Lanes::Equal(units, cr)); mask != 0; mask &= mask - 1)
            count += lone(i + std::countr_zero(mask) / Lanes::kMaskBitsPerUnit) ? 1 : 0;
    }
#endif
    for (; i < to; ++i)
        count += text[i] == Unit('\n') || (text[i] == Unit('\r') && lone(i)) ? 1 : 0;
    return count;
}

// The first unit of [from, to) that `isMatch` takes, or -1; `stepMatches`
// gives the mask of the matches among a register of units (SSE2 only).
template <typename Unit, typename StepMatches, typename IsMatch>
qsizetype FindFirstMatch(const Unit *text, qsizetype from, qsizetype to, [[maybe_unused]] StepMatches stepMatches,
                         IsMatch isMatch)
{
    qsizetype i = qMax<qsizetype>(from, 0);
#if defined(__SSE2__)
    using Lanes = UnitLanes<Unit>;
    if (i + Lanes::kPerStep <= to) {
        // The last step ends at `to`, over units already looked at, which
        // hold no match: short texts skip the loop of single units.
        for (;; i += Lanes::kPerStep) {
            if (i + Lanes::kPerStep > to)
                i = to - Lanes::kPerStep;
            const unsigned mask = Lanes::Mask(stepMatches(LoadUnits(text + i)));
            if (mask != 0)
                return i + std::countr_zero(mask) / Lanes::kMaskBitsPerUnit;
            if (i + Lanes::kPerStep == to)
                return -1;
        }
    }
#endif
    for (; i < to; ++i) {
        if (isMatch(text[i]))
            return i;
    }
    return -1;
}

// The first `c` in [from, to), or -1.
template <typename Unit>
qsizetype FindUnit(const Unit *text, qsizetype from, qsizetype to, Unit c)
{
#if defined(__SSE2__)
    const __m128i wanted = UnitLanes<Unit>::Splat(c);
    const auto stepMatches = [&](__m128i units) { return UnitLanes<Unit>::Equal(units, wanted); };
#else
    const auto stepMatches = nullptr;
#endif
    return FindFirstMatch(text, from, to, stepMatches, [c](Unit unit) { return unit == c; });
}

// The first unit of [from, to) that is one of `a`, `b`, `c` and `d`, or -1.
template <typename Unit>
qsizetype FindAnyOf(const Unit *text, qsizetype from, qsizetype to, Unit a, Unit b, Unit c, Unit d)
{
#if defined(__SSE2__)
    using Lanes = UnitLanes<Unit>;
    const __m128i wantedA = Lanes::Splat(a);
    const __m128i wantedB = Lanes::Splat(b);
    const __m128i wantedC = Lanes::Splat(c);
    const __m128i wantedD = Lanes::Splat(d);
    const auto stepMatches = [&](__m128i units) {
        return _mm_or_si128(_mm_or_si128(Lanes::Equal(units, wantedA), Lanes::Equal(units, wantedB)),
                            _mm_or_si128(Lanes::Equal(units, wantedC), Lanes::Equal(units, wantedD)));
    };
#else
    const auto stepMatches = nullptr;
#endif
    return FindFirstMatch(text, from, to, stepMatches,
                          [&](Unit unit) { return unit == a || unit == b || unit == c || unit == d; });
}

// The first UTF-16 surrogate, paired or not, in [from, to), or -1.
inline qsizetype FindSurrogate(const char16_t *text, qsizetype from, qsizetype to)
{
#if defined(__SSE2__)
    const __m128i surrogateBits = _mm_set1_epi16(short(0xF800));
    const __m128i surrogate = _mm_set1_epi16(short(0xD800));
    const auto stepMatches = [&](__m128i units) {
        return _mm_cmpeq_epi16(_mm_and_si128(units, surrogateBits), surrogate);
    };
#else
    const auto stepMatches = nullptr;
#endif
    return FindFirstMatch(text, from, to, stepMatches,
                          [](char16_t unit) { return (unit & 0xF800) == 0xD800; });
}

// The first unit of [from, to) above 127 (no ASCII character; in UTF-8,
// a byte of a longer sequence), or -1.
template <typename Unit>
qsizetype FindNonAscii(const Unit *text, qsizetype from, qsizetype to)
{
#if defined(__SSE2__)
    const auto stepMatches = [](__m128i units) { return UnitLanes<Unit>::AboveAscii(units); };
#else
    const auto stepMatches = nullptr;
#endif
    return FindFirstMatch(text, from, to, stepMatches,
                          [](Unit unit) { return std::make_unsigned_t<Unit>(unit) > 0x7F; });
}

// Copies `count` units from `text` to `out`, a byte a unit, when they are
// all ASCII: true then, false when one is not (what was written to `out` is
// then of no use). Eight units a step where the processor can.
inline bool CopyAsciiUnits(const char16_t *text, qsizetype count, char *out)
{
    qsizetype i = 0;
#if defined(__SSE2__)
    for (; i + UnitLanes<char16_t>::kPerStep <= count; i += UnitLanes<char16_t>::kPerStep) {
        const __m128i units = LoadUnits(text + i);
        if (UnitLanes<char16_t>::Mask(UnitLanes<char16_t>::AboveAscii(units)) != 0)
            return false;
        _mm_storel_epi64(reinterpret_cast<__m128i *>(out + i), _mm_packus_epi16(units, units));
    }
#endif
    for (; i < count; ++i) {
        if (text[i] > 0x7F)
            return false;
        out[i] = char(text[i]);
    }
    return true;
}

} // namespace quillan
