#include "scan/LinkCheckerSearch.h"

#include "util/StrProc.h"
#include "util/UnitScan.h"

#include <algorithm>
#include <array>

namespace quillan {

qsizetype KeyPlaces::Within(qsizetype from, qsizetype end) const
{
    if (next_ > 0 && places_[next_ - 1] >= from) // asked about an earlier place
        next_ = size_t(std::lower_bound(places_.begin(), places_.begin() + qsizetype(next_), from)
                       - places_.begin());
    while (next_ < places_.size() && places_[next_] < from)
        ++next_;
    return next_ < places_.size() && places_[next_] + keyLength_ <= end ? places_[next_] : -1;
}

namespace {

// LowerCaseAccentedChar, with the ASCII letters of a page's markup worked
// out here.
inline char16_t loweredUnit(char16_t u)
{
    if (u < 128)
        return u >= u'A' && u <= u'Z' ? char16_t(u + 32) : u;
    return LowerCaseAccentedChar(QChar(u)).unicode();
}

// A byte of UTF-8: an ASCII letter lowered, any other byte as it is (no
// character outside ASCII lowers to a letter of a key).
inline char16_t loweredUnit(char byte)
{
    const auto u = char16_t(static_cast<unsigned char>(byte));
    return u >= u'A' && u <= u'Z' ? char16_t(u + 32) : u;
}

} // namespace

template <typename Unit>
void FindAttributeKeys(std::basic_string_view<Unit> text, std::span<AttributeKey> keys)
{
    const Unit *t = text.data();
    const auto atPair = [&](qsizetype eq) {
        // At most one key ends at a given "=": they differ before it. Most
        // attributes differ from every key in their last letter, which is
        // lowered once for all keys.
        const char16_t last = eq > 0 ? loweredUnit(t[eq - 1]) : u'\0';
        for (AttributeKey &key : keys) {
            const qsizetype equalsAt = key.lowered.size() - 2;
            const qsizetype start = eq - equalsAt;
            if (start < 0 || (equalsAt > 0 && last != key.lowered[equalsAt - 1].unicode()))
                continue;
            qsizetype i = qMax<qsizetype>(equalsAt - 1, 0);
            while (i > 0 && loweredUnit(t[start + i - 1]) == key.lowered[i - 1].unicode())
                --i;
            if (i == 0) {
                key.places.Add(start);
                break;
            }
        }
        return true;
    };
    // Keys that end in one of two ASCII letters ("href", "src") are looked
    // for only where one of them, or a unit that may lower to one, stands
    // before the "=\"": the register search passes over the other attributes.
    std::array<char, 2> letters{};
    size_t numLetters = 0;
    bool byLetter = true;
    for (const AttributeKey &key : keys) {
        const qsizetype equalsAt = key.lowered.size() - 2;
        const char16_t letter = equalsAt > 0 ? key.lowered[equalsAt - 1].unicode() : u'\0';
        if (letter < u'a' || letter > u'z') {
            byLetter = false;
            break;
        }
        if (std::count(letters.cbegin(), letters.cbegin() + qsizetype(numLetters), char(letter)) > 0)
            continue;
        if (numLetters == letters.size()) {
            byLetter = false;
            break;
        }
        letters[numLetters++] = char(letter);
    }
    if (byLetter && numLetters > 0) {
        ForEachPairAfterLetter(t, qsizetype(text.size()), Unit('='), Unit('"'), letters[0],
                               letters[numLetters - 1], atPair);
    } else {
        ForEachPair(t, qsizetype(text.size()), Unit('='), Unit('"'), 0, atPair);
    }
}

#if defined(QUILLAN_WIDE_SCANS)
// The wide loop of ScanLine: hands `look` each place it stops at, from `i`
// as far as whole steps go. Returns where it stopped, or -1 once `look`
// found the line's end.
template <typename Unit, typename Look>
QUILLAN_WIDE qsizetype ScanLineWide(const Unit *t, qsizetype n, qsizetype i, Look &look)
{
    using Lanes = WideLanes<Unit>;
    const __m256i cr = Lanes::Splat(Unit('\r'));
    const __m256i lf = Lanes::Splat(Unit('\n'));
    const __m256i lt = Lanes::Splat(Unit('<'));
    const __m256i bang = Lanes::Splat(Unit('!'));
    const __m256i dash = Lanes::Splat(Unit('-'));
    for (; i + Lanes::kPerStep + 1 <= n; i += Lanes::kPerStep) {
        const __m256i here = LoadWide(t + i);
        const __m256i next = LoadWide(t + i + 1);
        const __m256i breaks = _mm256_or_si256(Lanes::Equal(here, cr), Lanes::Equal(here, lf));
        const __m256i opening = _mm256_and_si256(Lanes::Equal(here, lt), Lanes::Equal(next, bang));
        const __m256i closing = _mm256_and_si256(Lanes::Equal(here, dash), Lanes::Equal(next, dash));
        unsigned mask = Lanes::Mask(_mm256_or_si256(breaks, _mm256_or_si256(opening, closing)));
        while (mask != 0) {
            if (look(i + std::countr_zero(mask) / Lanes::kMaskBitsPerUnit))
                return -1;
            mask &= mask - 1;
        }
    }
    return i;
}
#endif

template <typename Unit>
LineMarks ScanLine(std::basic_string_view<Unit> text, qsizetype from)
{
    const Unit *t = text.data();
    const auto n = qsizetype(text.size());
    LineMarks marks;
    // Looks at a place the scan stopped at; true when the line ends there.
    // A comment mark holds no break, so one that begins on the line ends on it.
    auto look = [&](qsizetype i) {
        const Unit c = t[i];
        if (c == Unit('\r') || c == Unit('\n')) {
            marks.end = i;
            return true;
        }
        if (c == Unit('<')) {
            if (marks.commentStart < 0 && i + 3 < n && t[i + 1] == Unit('!')
                && t[i + 2] == Unit('-') && t[i + 3] == Unit('-'))
                marks.commentStart = i;
        } else if (c == Unit('-')) {
            if (marks.commentEnd < 0 && i + 2 < n && t[i + 1] == Unit('-') && t[i + 2] == Unit('>'))
                marks.commentEnd = i;
        }
        return false;
    };
    qsizetype i = qMax<qsizetype>(from, 0);
#if defined(QUILLAN_WIDE_SCANS)
    if (gWideScans) {
        i = ScanLineWide(t, n, i, look);
        if (i < 0)
            return marks;
    }
#endif
#if defined(__SSE2__)
    using Lanes = UnitLanes<Unit>;
    const __m128i cr = Lanes::Splat(Unit('\r'));
    const __m128i lf = Lanes::Splat(Unit('\n'));
    const __m128i lt = Lanes::Splat(Unit('<'));
    const __m128i bang = Lanes::Splat(Unit('!'));
    const __m128i dash = Lanes::Splat(Unit('-'));
    // Stops at breaks and at the pairs "<!" and "--"; the second unit of the
    // last place is one past the step.
    for (; i + Lanes::kPerStep + 1 <= n; i += Lanes::kPerStep) {
        const __m128i here = LoadUnits(t + i);
        const __m128i next = LoadUnits(t + i + 1);
        const __m128i breaks = _mm_or_si128(Lanes::Equal(here, cr), Lanes::Equal(here, lf));
        const __m128i opening = _mm_and_si128(Lanes::Equal(here, lt), Lanes::Equal(next, bang));
        const __m128i closing = _mm_and_si128(Lanes::Equal(here, dash), Lanes::Equal(next, dash));
        unsigned mask = Lanes::Mask(_mm_or_si128(breaks, _mm_or_si128(opening, closing)));
        while (mask != 0) {
            if (look(i + std::countr_zero(mask) / Lanes::kMaskBitsPerUnit))
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

template <typename Unit>
qint32 LineCounter<Unit>::LineAt(qsizetype lineStart)
{
    // Counted only as far as asked: most lines of a page are never asked
    // about. A CR LF pair is one line end, counted at its LF.
    if (countedTo >= lineStart)
        return line;
    line += qint32(CountLineEnds(text.data(), countedTo, lineStart, qsizetype(text.size())));
    countedTo = lineStart;
    return line;
}

template void FindAttributeKeys(std::u16string_view, std::span<AttributeKey>);
template void FindAttributeKeys(std::string_view, std::span<AttributeKey>);
template LineMarks ScanLine(std::u16string_view, qsizetype);
template LineMarks ScanLine(std::string_view, qsizetype);
template struct LineCounter<char16_t>;
template struct LineCounter<char>;

} // namespace quillan
