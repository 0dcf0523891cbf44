// Reads a page's links the way a browser's tokenizer reads its tags: one pass
// over the text, skipping comments and the text of script, style, textarea and
// their kind exactly where a browser would, and looking closely only at the
// attributes of the elements that name resources.

#include "html/CharacterReferences.h"
#include "html/HtmlLinks.h"
#include "html/HtmlNames.h"
#include "html/HtmlValueParsers.h"
#include "html/HtmlLineCounter.h"
#include "util/StrProc.h"
#include "util/ThreadKept.h"
#include "util/UnitScan.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <type_traits>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
// The memo of tags takes their bytes two registers at a time.
#if defined(__SSE2__) && defined(__x86_64__)
#define QUILLAN_TAG_MEMO 1
#endif

namespace quillan {

namespace {

// The characters that end a tag's or an attribute's name, marked by kind,
// for the loops that pass over names one character at a time; and the
// spaces between a tag's attributes.
enum NameStop : unsigned char {
    kEndsTagName = 1,       // a space, "/" or ">"
    kEndsAttributeName = 2, // those and "="
    kEndsUnquotedValue = 4, // a space or ">"
    kTagSpace = 8,          // CR counts: a browser reads every CR as LF before tokenizing
};

// Every unit that is a stop or a space is below 256: a byte of UTF-8 is
// looked up with no comparison first.
constexpr std::array<unsigned char, 256> kNameStops = [] {
    std::array<unsigned char, 256> stops{};
    for (const char16_t c : {u' ', u'\n', u'\t', u'\r', u'\f'})
        stops[c] = kEndsTagName | kEndsAttributeName | kEndsUnquotedValue | kTagSpace;
    stops[u'/'] = kEndsTagName | kEndsAttributeName;
    stops[u'>'] = kEndsTagName | kEndsAttributeName | kEndsUnquotedValue;
    stops[u'='] = kEndsAttributeName;
    return stops;
}();

// The unit's code: a byte of UTF-8 counts from 0 to 255.
template <typename Unit>
char16_t CodeOf(Unit unit)
{
    return char16_t(std::make_unsigned_t<Unit>(unit));
}

template <typename Unit>
bool Stops(Unit unit, NameStop kind)
{
    const char16_t c = CodeOf(unit);
    if constexpr (sizeof(Unit) == 1)
        return (kNameStops[c] & kind) != 0;
    else
        return c < kNameStops.size() && (kNameStops[c] & kind) != 0;
}

template <typename Unit>
bool IsTagSpace(Unit unit)
{
    return Stops(unit, kTagSpace);
}

template <typename Unit>
bool IsAsciiAlpha(Unit c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

template <typename Unit>
char16_t AsciiLower(Unit unit)
{
    const char16_t c = CodeOf(unit);
    return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
}

// A run of a page's text as text: a view of a UTF-16 text, or the UTF-8 of
// a run of bytes decoded into `buffer`.
QStringView TextOf(const char16_t *units, qsizetype size, QString &)
{
    return QStringView(units, size);
}

// Writes the UTF-8 `bytes` (whole characters) as UTF-16 from `out`, which
// has room for one unit a byte, and returns where they end. Values are
// mostly ASCII: those are widened a register at a time.
char16_t *WriteUtf8(QByteArrayView bytes, char16_t *out)
{
    qsizetype i = 0;
    const qsizetype size = bytes.size();
#if defined(__SSE2__)
    for (; i + 16 <= size; i += 16) {
        const __m128i chunk = LoadUnits(bytes.data() + i);
        if (_mm_movemask_epi8(chunk) != 0)
            break;
        const __m128i zero = _mm_setzero_si128();
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i), _mm_unpacklo_epi8(chunk, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i + 8), _mm_unpackhi_epi8(chunk, zero));
    }
#endif
    for (; i < size && (bytes[i] & 0x80) == 0; ++i)
        out[i] = char16_t(bytes[i]);
    if (i == size)
        return out + size;
    // A byte-order mark inside the page is a character like any other.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return reinterpret_cast<char16_t *>(decoder.appendToBuffer(reinterpret_cast<QChar *>(out + i), bytes.sliced(i)));
}

QStringView TextOf(const char *bytes, qsizetype size, QString &buffer)
{
    buffer.resize(size);
    auto *const begin = reinterpret_cast<char16_t *>(buffer.data());
    buffer.truncate(WriteUtf8(QByteArrayView(bytes, size), begin) - begin);
    return buffer;
}

qsizetype CountLineFeeds(QStringView text)
{
    return text.count(QChar(u'\n'));
}

// An svg, math or integration-point element the reading is inside, and how
// its content is read.
struct Frame {
    HtmlElement element;
    HtmlContext content;
};

struct RecordedAttribute {
    HtmlAttribute attribute;
    qsizetype begin;
    qsizetype end;
};

// What a reading holds besides the page: kept by the thread from page to
// page, rather than taken from the allocator afresh for each.
struct ReadingRoom {
    std::vector<Frame> frames;
    std::vector<RecordedAttribute> attributes;
    QString decoded;
    QString converted; // a run of UTF-8 decoded
    std::vector<ValueSpan> spans;
    std::vector<IncludeLink> includes;
};

// Readies the room for the next page; a page of thousands of nested svg
// elements, or of a huge value, holds no memory after it.
void ReleaseReadingRoom(ReadingRoom &room)
{
    constexpr std::size_t kMostKeptItems = 1024;
    constexpr qsizetype kMostKeptUnits = qsizetype(64) << 10;
    auto release = [](auto &items) {
        if (items.capacity() > kMostKeptItems)
            items = {};
        else
            items.clear();
    };
    release(room.frames);
    release(room.attributes);
    release(room.spans);
    release(room.includes);
    for (QString *text : {&room.decoded, &room.converted}) {
        if (text->capacity() > kMostKeptUnits)
            *text = QString();
    }
}

#if defined(QUILLAN_TAG_MEMO)
// Start tags met again byte for byte. A site repeats a few tags thousands of
// times (a listing's <span class="identifier">). Outside svg and MathML, a
// tag that holds no wanted attribute, of an element whose content is read as
// any other, changes nothing but where the reading goes on: the same bytes
// end the same tag at the same place. Kept: such tags of up to kLongest
// bytes, by a hash of their bytes, looked for as the bytes up to the first
// ">". (End tags are read faster than they would be looked up.)
class TagMemo
{
public:
    static constexpr qsizetype kLongest = 32;

    // The memo of the calling thread, kept from page to page (the pages of
    // a site share their tags), for readings that do or do not want
    // anchors: which tags hold wanted attributes depends on it.
    static TagMemo &OfThread(bool anchors)
    {
        thread_local TagMemo memo;
        if (memo.anchors_ != anchors) {
            memo.slots_.fill(Slot{});
            memo.anchors_ = anchors;
        }
        return memo;
    }

    // The length of the tag kept that the kLongest bytes at `at` begin
    // with, up to and with their first ">"; 0 when none is.
    qsizetype KnownLength(const char *at) const
    {
        const __m128i low = LoadUnits(at);
        const __m128i high = LoadUnits(at + 16);
        const __m128i close = _mm_set1_epi8('>');
        const unsigned closes = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(low, close)))
                                | (unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(high, close))) << 16);
        if (closes == 0)
            return 0;
        const qsizetype length = std::countr_zero(closes) + 1;
        const Tag tag = Cut(low, high, length);
        const Slot &slot = slots_[SlotOf(tag)];
        return slot.length == length && Same(slot.tag, tag) ? length : 0;
    }

    // Keeps the tag of `length` bytes at `at`, followed by at least
    // kLongest - length more.
    void Keep(const char *at, qsizetype length)
    {
        const Tag tag = Load(at, length);
        Slot &slot = slots_[SlotOf(tag)];
        slot.tag = tag;
        slot.length = length;
    }

private:
    struct Tag {
        __m128i low;
        __m128i high;
    };
    struct Slot {
        Tag tag{_mm_setzero_si128(), _mm_setzero_si128()};
        qsizetype length = 0; // 0: empty
    };
    // A reference's pages hold thousands of different short tags (each
    // item's own id or title): 4,096 slots, some 200 KB a thread, keep
    // most of a site's for the pages after, where 256 kept too few.
    static constexpr int kSlotBits = 12;

    // The bytes of the tag, those after it zero.
    static Tag Load(const char *at, qsizetype length) { return Cut(LoadUnits(at), LoadUnits(at + 16), length); }

    // The first `length` of the 32 bytes in `low` and `high`, those after
    // them zero.
    static Tag Cut(__m128i low, __m128i high, qsizetype length)
    {
        const __m128i index = _mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
        const __m128i count = _mm_set1_epi8(char(length));
        const __m128i inLow = _mm_cmplt_epi8(index, count);
        const __m128i inHigh = _mm_cmplt_epi8(_mm_add_epi8(index, _mm_set1_epi8(16)), count);
        return {_mm_and_si128(low, inLow), _mm_and_si128(high, inHigh)};
    }

    static bool Same(const Tag &a, const Tag &b)
    {
        const __m128i equal = _mm_and_si128(_mm_cmpeq_epi8(a.low, b.low), _mm_cmpeq_epi8(a.high, b.high));
        return _mm_movemask_epi8(equal) == 0xFFFF;
    }

    static std::size_t SlotOf(const Tag &tag)
    {
        const __m128i folded = _mm_xor_si128(tag.low, _mm_shuffle_epi32(tag.high, 0x4E));
        const auto a = uint64_t(_mm_cvtsi128_si64(folded));
        const auto b = uint64_t(_mm_cvtsi128_si64(_mm_unpackhi_epi64(folded, folded)));
        return std::size_t(((a * 0x9E3779B97F4A7C15ULL) ^ (b * 0xC2B2AE3D27D4EB4FULL)) >> (64 - kSlotBits));
    }

    std::array<Slot, std::size_t(1) << kSlotBits> slots_{};
    bool anchors_ = false;
};
#endif

// Reads UTF-16 text, or UTF-8 bytes as they stand: the marks of the syntax
// are ASCII, which no byte of a longer UTF-8 sequence is taken for, so both
// find the same tags and attributes; only the values read are decoded.
template <typename Unit>
class LinkReader
{
    static constexpr bool kUtf8 = std::is_same_v<Unit, char>;
    // A run of the text, as the name look-ups take it.
    using Run = std::conditional_t<kUtf8, QByteArrayView, QStringView>;

public:
    LinkReader(const Unit *text, qsizetype size, HtmlPage &page, bool anchors, HtmlLinksUse use)
        : t_(text), n_(size), page_(page), anchors_(anchors), use_(use), lines_(Run(text, size))
    {
    }

    void Read()
    {
        qsizetype p = 0;
        while (p < n_) {
            const qsizetype open = NextOpen(p);
            if (open < 0)
                return;
            p = open + 1;
            if (p >= n_)
                return;
            const Unit c = t_[p];
            if (IsAsciiAlpha(c)) {
                if (!frames_.empty()) {
                    p = ReadStartTag(p);
                    continue;
                }
                if (const qsizetype end = KnownTagEnd(open); end > 0) {
                    p = end;
                    continue;
                }
                plainTag_ = false;
                p = ReadStartTag(p);
                KeepTag(open, p);
            } else if (c == '/') {
                if (p + 1 >= n_)
                    return;
                if (IsAsciiAlpha(t_[p + 1]))
                    p = frames_.empty() ? ReadPlainEndTag(p + 1) : ReadEndTag(p + 1);
                else if (t_[p + 1] == '>')
                    p += 2;
                else
                    p = SkipPast(p + 1, '>');
            } else if (c == '!') {
                p = ReadMarkupDeclaration(p + 1);
            } else if (c == '?') {
                p = SkipPast(p, '>');
            }
        }
    }

private:
    // The first "<" from `p`, or -1.
    qsizetype NextOpen(qsizetype p) const { return FindNear(p, Unit('<')); }

    // The first `c` from `p`, or -1. Tags mostly stand a few units apart:
    // the register of units at `p` is looked at before a search is set up.
    qsizetype FindNear(qsizetype p, Unit c) const
    {
#if defined(__SSE2__)
        if constexpr (kUtf8) {
            if (n_ - p >= 16) {
                const auto found = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(LoadUnits(t_ + p), _mm_set1_epi8(c))));
                if (found != 0)
                    return p + std::countr_zero(found);
                p += 16;
            }
        }
#endif
        return FindUnit(t_, p, n_, c);
    }

    HtmlContext Context() const { return frames_.empty() ? HtmlContext::Html : frames_.back().content; }

    // Where the start tag at `open`, outside svg and MathML, ends when it is
    // one kept (KeepTag); 0 when not.
    qsizetype KnownTagEnd([[maybe_unused]] qsizetype open) const
    {
#if defined(QUILLAN_TAG_MEMO)
        if constexpr (kUtf8) {
            if (n_ - open < TagMemo::kLongest)
                return 0;
            if (const qsizetype length = tags_.KnownLength(t_ + open); length > 0)
                return open + length;
        }
#endif
        return 0;
    }

    // Keeps the start tag at [open, end), read outside svg and MathML, when
    // reading it changed nothing but the place (plainTag_ says so).
    void KeepTag([[maybe_unused]] qsizetype open, [[maybe_unused]] qsizetype end)
    {
#if defined(QUILLAN_TAG_MEMO)
        if constexpr (kUtf8) {
            // (One with a ">" in a value is kept in vain: it is looked for
            // as the bytes up to its first ">".)
            if (plainTag_ && end - open <= TagMemo::kLongest && n_ - open >= TagMemo::kLongest)
                tags_.Keep(t_ + open, end - open);
        }
#endif
    }

    // Leaves the svg and MathML elements up to the nearest element whose
    // content is HTML, as a browser does when HTML markup turns up inside them.
    void LeaveForeign()
    {
        while (!frames_.empty() && frames_.back().content != HtmlContext::Html)
            frames_.pop_back();
    }

    // The position of `c` from `p`, or -1.
    qsizetype IndexOf(Unit c, qsizetype p) const { return FindUnit(t_, p, n_, c); }

    qsizetype SkipPast(qsizetype p, Unit c) const
    {
        const qsizetype found = IndexOf(c, p);
        return found < 0 ? n_ : found + 1;
    }

    Run Slice(qsizetype at, qsizetype size) const { return Run(t_ + at, size); }

    // The element whose name stands at [at, end). Pages use a few names
    // over and over (a listing's spans, a table's rows and cells): the last
    // name met with each first letter and length is kept, with where it
    // stands in the text.
    HtmlElementName Element(qsizetype at, qsizetype end)
    {
        const qsizetype size = end - at;
        KnownName &known = knownNames_[(std::size_t(CodeOf(t_[at])) * 8 + std::size_t(size)) % kKnownNames];
        if (size != known.size || !SameUnits(at, known.at, size)) {
            known.at = at;
            known.size = size;
            known.element = LookUpElement(Slice(at, size));
        }
        return known.element;
    }

    // Whether the `size` units at `a` and at `b` are the same. A short name
    // read as UTF-8 is compared a word at a time when the text goes on far
    // enough, rather than by a call of memcmp.
    bool SameUnits(qsizetype a, qsizetype b, qsizetype size) const
    {
        if constexpr (kUtf8 && std::endian::native == std::endian::little) {
            constexpr qsizetype kWord = 8;
            if (size >= 1 && size <= kWord && qMax(a, b) + kWord <= n_) {
                uint64_t x = 0;
                uint64_t y = 0;
                std::memcpy(&x, t_ + a, kWord);
                std::memcpy(&y, t_ + b, kWord);
                // The name's bytes only: the first byte is the lowest.
                return ((x ^ y) & (~uint64_t(0) >> (8 * (kWord - size)))) == 0;
            }
        }
        return std::equal(t_ + a, t_ + a + size, t_ + b);
    }

    qsizetype NameEnd(qsizetype p) const { return FirstStop(p, kEndsTagName); }

    // The first unit from `p` that is a stop of `kind`, or the text's end.
    // Every stop is at most ">" in the code, and the units of a name mostly
    // letters, above it: in UTF-8, the units of a register at most ">" are
    // found at once and only they are looked up.
    qsizetype FirstStop(qsizetype p, NameStop kind) const
    {
#if defined(__SSE2__)
        if constexpr (kUtf8) {
            const __m128i highest = _mm_set1_epi8('>');
            for (; n_ - p >= 16; p += 16) {
                const __m128i units = LoadUnits(t_ + p);
                auto low = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(units, highest), units)));
                for (; low != 0; low &= low - 1) {
                    const qsizetype at = p + std::countr_zero(low);
                    if (Stops(t_[at], kind))
                        return at;
                }
            }
        }
#endif
        while (p < n_ && !Stops(t_[p], kind))
            ++p;
        return p;
    }

    // Reads the attributes of a tag from `p` (just after its name) to its
    // ">", recording those in `wanted`, the first of each name only. Returns
    // the position after the ">", or -1 when the page ends inside the tag (a
    // browser then drops the tag).
    qsizetype ReadAttributes(qsizetype p, WantedNames wantedNames, bool &selfClosing)
    {
        attributes_.clear();
        seen_ = 0;
        // Most tags end at once ("<p>", "</td>").
        if (p < n_ && t_[p] == '>')
            return p + 1;
        const HtmlAttributeSet wanted = wantedNames.attributes;
        wantedLengths_ = wantedNames.lengths;
        while (true) {
            while (p < n_ && IsTagSpace(t_[p]))
                ++p;
            if (p >= n_)
                return -1;
            if (t_[p] == '>')
                return p + 1;
            if (t_[p] == '/') {
                ++p;
                if (p >= n_)
                    return -1;
                if (t_[p] == '>') {
                    selfClosing = true;
                    return p + 1;
                }
                continue;
            }
            // The first character belongs to the name even when it is "=".
            const qsizetype nameBegin = p;
            p = FirstStop(p + 1, kEndsAttributeName);
            const qsizetype nameEnd = p;
            while (p < n_ && IsTagSpace(t_[p]))
                ++p;
            qsizetype valueBegin = nameEnd;
            qsizetype valueEnd = nameEnd;
            if (p < n_ && t_[p] == '=') {
                ++p;
                while (p < n_ && IsTagSpace(t_[p]))
                    ++p;
                if (p >= n_)
                    return -1;
                const Unit c = t_[p];
                if (c == '"' || c == '\'') {
                    valueBegin = p + 1;
                    valueEnd = IndexOf(c, valueBegin);
                    if (valueEnd < 0)
                        return -1;
                    p = valueEnd + 1;
                } else if (c != '>') {
                    valueBegin = p;
                    p = FirstStop(p, kEndsUnquotedValue);
                    valueEnd = p;
                } else {
                    valueBegin = valueEnd = p;
                }
            }
            if (wanted != 0)
                Record(Slice(nameBegin, nameEnd - nameBegin), valueBegin, valueEnd, wanted);
        }
    }

    void Record(Run name, qsizetype begin, qsizetype end, HtmlAttributeSet wanted)
    {
        // Most attributes of a tag are not wanted (class, title, ...): a
        // name of another length than every wanted one's is not looked up.
        if (name.size() >= 32 || (wantedLengths_ & (1U << name.size())) == 0)
            return;
        HtmlAttribute attribute = HtmlAttribute::Other;
        if constexpr (kUtf8)
            attribute = LookUpAttribute(name.data(), name.size(), t_ + n_ - name.data());
        else
            attribute = LookUpAttribute(name);
        const HtmlAttributeSet bit = Bit(attribute);
        if (attribute == HtmlAttribute::Other || (wanted & bit) == 0 || (seen_ & bit) != 0)
            return;
        seen_ |= bit;
        attributes_.push_back({attribute, begin, end});
    }

    qsizetype ReadStartTag(qsizetype p)
    {
        const qsizetype nameEnd = NameEnd(p);
        if (nameEnd >= n_)
            return n_;
        const HtmlElementName name = Element(p, nameEnd);
        if (Context() != HtmlContext::Html && name.breaksOutOfForeign)
            LeaveForeign();
        const HtmlContext context = Context();
        HtmlElement element = name.element;
        // A browser reads the start tag "image" as "img" (not in svg, where
        // image is an element of its own).
        if (element == HtmlElement::Image && context == HtmlContext::Html)
            element = HtmlElement::Img;

        bool selfClosing = false;
        const qsizetype end = ReadAttributes(nameEnd, WantedInTag(element, context, anchors_), selfClosing);
        if (end < 0)
            return n_;
        if (!attributes_.empty()) // most tags have none of the wanted ones
            TakeLinks(element, context);

        if (context != HtmlContext::Html) {
            EnterForeignElement(element, context, selfClosing);
            return end;
        }
        switch (element) {
        case HtmlElement::Svg:
            if (!selfClosing)
                frames_.push_back({element, HtmlContext::Svg});
            return end;
        case HtmlElement::Math:
            if (!selfClosing)
                frames_.push_back({element, HtmlContext::MathMl});
            return end;
        // A browser reads the content of these elements as text, whatever
        // it holds, up to their end tag ("<script/>" too starts a script).
        case HtmlElement::Script:
            return ReadScriptData(end);
        case HtmlElement::Style:
        case HtmlElement::Xmp:
        case HtmlElement::Iframe:
        case HtmlElement::Noembed:
        case HtmlElement::Noframes:
        case HtmlElement::Textarea:
        case HtmlElement::Title:
            return ReadRawText(end, p, nameEnd - p);
        case HtmlElement::Plaintext:
            return n_;
        default:
            // In HTML, an element none of whose attributes is wanted: one
            // the reading may know again by its bytes.
            plainTag_ = attributes_.empty();
            return end;
        }
    }

    void EnterForeignElement(HtmlElement element, HtmlContext context, bool selfClosing)
    {
        if (element == HtmlElement::Font &&
            (seen_ & (Bit(HtmlAttribute::Color) | Bit(HtmlAttribute::Face) | Bit(HtmlAttribute::Size))) != 0) {
            LeaveForeign();
            return;
        }
        if (selfClosing)
            return;
        switch (element) {
        case HtmlElement::Svg:
            frames_.push_back({element, HtmlContext::Svg});
            break;
        case HtmlElement::Math:
            frames_.push_back({element, HtmlContext::MathMl});
            break;
        case HtmlElement::ForeignObject:
        case HtmlElement::Desc:
        case HtmlElement::Title:
            if (context == HtmlContext::Svg)
                frames_.push_back({element, HtmlContext::Html});
            break;
        case HtmlElement::Mi:
        case HtmlElement::Mo:
        case HtmlElement::Mn:
        case HtmlElement::Ms:
        case HtmlElement::Mtext:
            if (context == HtmlContext::MathMl)
                frames_.push_back({element, HtmlContext::Html});
            break;
        default:
            break;
        }
    }

    // Reads an end tag outside svg and MathML, whose name begins at `p`:
    // only where it ends matters. Where no quote comes before its first ">"
    // (nearly always), that ">" ends it, whatever stands between.
    qsizetype ReadPlainEndTag(qsizetype p)
    {
#if defined(__SSE2__)
        if constexpr (kUtf8) {
            if (n_ - p >= 32) {
                const __m128i low = LoadUnits(t_ + p);
                const __m128i high = LoadUnits(t_ + p + 16);
                const auto marks = [&](char c) {
                    const __m128i wanted = _mm_set1_epi8(c);
                    return unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(low, wanted)))
                           | (unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(high, wanted))) << 16);
                };
                const unsigned closes = marks('>');
                // The quotes before the first ">"; none where there is none.
                if (closes != 0 && ((marks('"') | marks('\'')) & (closes ^ (closes - 1))) == 0)
                    return p + std::countr_zero(closes) + 1;
            }
        }
#endif
        return ReadEndTag(p);
    }

    qsizetype ReadEndTag(qsizetype p)
    {
        const qsizetype nameEnd = NameEnd(p);
        if (nameEnd >= n_)
            return n_;
        bool selfClosing = false;
        const qsizetype end = ReadAttributes(nameEnd, {}, selfClosing);
        if (end < 0)
            return n_;
        // Only the end of an svg, math or integration point matters.
        if (frames_.empty())
            return end;
        const HtmlElement element = Element(p, nameEnd).element;
        if (element == HtmlElement::Other)
            return end;
        if (Context() == HtmlContext::Html) {
            // The end of an integration point (foreignObject, mtext, ...).
            if (frames_.back().element == element)
                frames_.pop_back();
            return end;
        }
        if (element == HtmlElement::P || element == HtmlElement::Br) {
            LeaveForeign();
            return end;
        }
        // Closes the nearest open element of that name among the foreign
        // elements around, as far down as they go without HTML between.
        for (auto i = qsizetype(frames_.size()) - 1; i >= 0; --i) {
            if (frames_[std::size_t(i)].element == element) {
                frames_.resize(std::size_t(i));
                break;
            }
            if (i == 0 || frames_[std::size_t(i) - 1].content == HtmlContext::Html)
                break;
        }
        return end;
    }

    // `p` is just after "<!".
    qsizetype ReadMarkupDeclaration(qsizetype p)
    {
        if (p + 1 < n_ && t_[p] == '-' && t_[p + 1] == '-')
            return ReadComment(p + 2);
        if (Context() != HtmlContext::Html && Spells(p, "[CDATA[")) {
            for (qsizetype close = IndexOf(']', p + 7); close >= 0; close = IndexOf(']', close + 1)) {
                if (Spells(close, "]]>"))
                    return close + 3;
            }
            return n_;
        }
        // A doctype, or a bogus comment: both end at the first ">".
        return SkipPast(p, '>');
    }

    // Whether the text at `p` spells `ascii` exactly.
    bool Spells(qsizetype p, std::string_view ascii) const
    {
        const auto size = qsizetype(ascii.size());
        if (n_ - p < size)
            return false;
        for (qsizetype i = 0; i < size; ++i)
            if (CodeOf(t_[p + i]) != char16_t(ascii[std::size_t(i)]))
                return false;
        return true;
    }

    // `p` is just after "<!--".
    qsizetype ReadComment(qsizetype p)
    {
        if (p < n_ && t_[p] == '>')
            return p + 1; // "<!-->"
        if (p + 1 < n_ && t_[p] == '-' && t_[p + 1] == '>')
            return p + 2; // "<!--->"
        const qsizetype dataBegin = p;
        qsizetype search = p;
        while (true) {
            const qsizetype dash = FindUnit(t_, search, n_, Unit('-'));
            if (dash < 0 || dash + 2 >= n_)
                return n_;
            if (t_[dash + 1] != '-') {
                search = dash + 1;
                continue;
            }
            if (t_[dash + 2] == '>') {
                ReadIncludes(dataBegin, dash);
                return dash + 3;
            }
            if (t_[dash + 2] == '!' && dash + 3 < n_ && t_[dash + 3] == '>')
                return dash + 4;
            search = dash + 1;
        }
    }

    void ReadIncludes(qsizetype begin, qsizetype end)
    {
        if (t_[begin] != '#')
            return;
        includes_.clear();
        const QStringView comment = TextOf(t_ + begin, end - begin, converted_);
        ServerSideIncludes(comment, includes_);
        for (IncludeLink &include : includes_) {
            qsizetype offset = include.offset;
            if constexpr (kUtf8)
                offset = comment.first(offset).toUtf8().size(); // the same place in the bytes
            AddLinkAt(include.kind, begin + offset, std::move(include.value));
        }
    }

    // Where the end tag named as [name, name + size) is (any letter case)
    // that ends raw text begins its attributes when it stands at `p` (just
    // after "</"); -1 when it does not.
    template <typename NameUnit>
    qsizetype MatchEndTag(qsizetype p, const NameUnit *name, qsizetype size) const
    {
        if (n_ - p <= size)
            return -1;
        for (qsizetype i = 0; i < size; ++i)
            if (AsciiLower(t_[p + i]) != AsciiLower(name[i]))
                return -1;
        const qsizetype after = p + size;
        const Unit c = t_[after];
        return IsTagSpace(c) || c == '/' || c == '>' ? after : -1;
    }

    qsizetype MatchScriptEndTag(qsizetype p) const { return MatchEndTag(p, "script", 6); }

    // Reads the end tag whose name ends at `p` and returns where it ends.
    qsizetype FinishEndTag(qsizetype p)
    {
        bool selfClosing = false;
        const qsizetype end = ReadAttributes(p, {}, selfClosing);
        return end < 0 ? n_ : end;
    }

    // The raw text of the element whose name stands at [name, name + size).
    qsizetype ReadRawText(qsizetype p, qsizetype name, qsizetype size)
    {
        while (true) {
            const qsizetype open = NextOpen(p);
            if (open < 0)
                return n_;
            p = open + 1;
            if (p < n_ && t_[p] == '/') {
                const qsizetype nameEnd = MatchEndTag(p + 1, t_ + name, size);
                if (nameEnd >= 0)
                    return FinishEndTag(nameEnd);
            }
        }
    }

    // Length of the ASCII letters from `p`, and whether they spell "script"
    // followed by a space, "/" or ">".
    bool SpellsScriptThenEnds(qsizetype p, qsizetype &letters) const
    {
        qsizetype q = p;
        while (q < n_ && IsAsciiAlpha(t_[q]))
            ++q;
        letters = q - p;
        if (q >= n_ || !(IsTagSpace(t_[q]) || t_[q] == '/' || t_[q] == '>'))
            return false;
        return MatchScriptEndTag(p) == q;
    }

    // A script's text: "<!--" in it starts an escaped part where
    // "<script>" starts a doubly escaped part, in which "</script>" does not
    // end the script (it ends the doubly escaped part); "-->" ends the
    // escaped part.
    enum class State { Data, Escaped, EscapedDash, EscapedDashDash, EscapedLess, DoubleEscaped, DoubleEscapedDash,
                       DoubleEscapedDashDash, DoubleEscapedLess };

    // The states of an escaped part of a script, or of a doubly escaped one:
    // both end at "-->" and watch for "<".
    struct EscapedPart {
        State plain;
        State dash;
        State dashDash;
        State less;
    };
    static constexpr EscapedPart kEscaped{State::Escaped, State::EscapedDash, State::EscapedDashDash,
                                          State::EscapedLess};
    static constexpr EscapedPart kDoubleEscaped{State::DoubleEscaped, State::DoubleEscapedDash,
                                                State::DoubleEscapedDashDash, State::DoubleEscapedLess};

    static State NextInEscapedPart(Unit c, State state, const EscapedPart &part)
    {
        if (c == '-')
            return state == part.plain ? part.dash : part.dashDash;
        if (c == '<')
            return part.less;
        if (c == '>' && state == part.dashDash)
            return State::Data;
        return part.plain;
    }

    qsizetype ReadScriptData(qsizetype p)
    {
        State state = State::Data;
        while (true) {
            if (state == State::Data) {
                const qsizetype open = NextOpen(p);
                if (open < 0)
                    return n_;
                p = open + 1;
                if (p >= n_)
                    return n_;
                if (t_[p] == '/') {
                    const qsizetype nameEnd = MatchScriptEndTag(p + 1);
                    if (nameEnd >= 0)
                        return FinishEndTag(nameEnd);
                    ++p;
                } else if (t_[p] == '!' && p + 2 < n_ && t_[p + 1] == '-' && t_[p + 2] == '-') {
                    p += 3;
                    state = State::EscapedDashDash;
                }
                continue;
            }
            if (state == State::Escaped || state == State::DoubleEscaped) {
                while (p < n_ && t_[p] != '-' && t_[p] != '<')
                    ++p;
            }
            if (p >= n_)
                return n_;
            const Unit c = t_[p];
            switch (state) {
            case State::Data:
                break;
            case State::Escaped:
            case State::EscapedDash:
            case State::EscapedDashDash:
                ++p;
                state = NextInEscapedPart(c, state, kEscaped);
                break;
            case State::EscapedLess:
                if (c == '/') {
                    const qsizetype nameEnd = MatchScriptEndTag(p + 1);
                    if (nameEnd >= 0)
                        return FinishEndTag(nameEnd);
                    ++p;
                    state = State::Escaped;
                } else if (IsAsciiAlpha(c)) {
                    qsizetype letters = 0;
                    const bool script = SpellsScriptThenEnds(p, letters);
                    p += letters;
                    state = script ? State::DoubleEscaped : State::Escaped;
                } else {
                    state = State::Escaped;
                }
                break;
            case State::DoubleEscaped:
            case State::DoubleEscapedDash:
            case State::DoubleEscapedDashDash:
                ++p;
                state = NextInEscapedPart(c, state, kDoubleEscaped);
                break;
            case State::DoubleEscapedLess:
                if (c == '/') {
                    ++p;
                    qsizetype letters = 0;
                    const bool script = SpellsScriptThenEnds(p, letters);
                    p += letters;
                    state = script ? State::Escaped : State::DoubleEscaped;
                } else {
                    state = State::DoubleEscaped;
                }
                break;
            }
        }
    }

    // The value of a recorded attribute as written; valid until the next call.
    QStringView RawValue(const RecordedAttribute &attribute)
    {
        return TextOf(t_ + attribute.begin, attribute.end - attribute.begin, converted_);
    }

    // The value of a recorded attribute, decoded; valid until the next call.
    QStringView Value(const RecordedAttribute &attribute)
    {
        const QStringView raw = RawValue(attribute);
        if (!AttributeValueNeedsDecoding(raw))
            return raw;
        decoded_.clear();
        AppendDecodedAttributeValue(raw, decoded_);
        return decoded_;
    }

    // The same as a string: one of its own, or, for a link of UTF-16 text
    // read to be checked at once, a view of the page's text when decoding
    // leaves it as written (no copy for each of a page's links).
    QString ValueString(const RecordedAttribute &attribute)
    {
        const QStringView raw = RawValue(attribute);
        if (AttributeValueNeedsDecoding(raw))
            return Value(attribute).toString();
        return !kUtf8 && use_ == HtmlLinksUse::CheckedNow ? QString::fromRawData(raw.data(), raw.size())
                                                          : raw.toString();
    }

    const RecordedAttribute *Find(HtmlAttribute attribute) const
    {
        for (const RecordedAttribute &recorded : attributes_)
            if (recorded.attribute == attribute)
                return &recorded;
        return nullptr;
    }

    // A link whose value begins at `at` in the text: its line is counted now
    // or left to the caller, who needs the lines of a few links only.
    void AddLinkAt(HtmlLinkKind kind, qsizetype at, QString value)
    {
        page_.links.push_back({kind, use_ == HtmlLinksUse::Kept ? lines_.LineAt(at) : 0, std::move(value), at});
    }

    // The link an attribute's value gives. Read from UTF-8 to be checked at
    // once, the value is handed over as its bytes, as written: most of a
    // page's links are known to the checker by them, and never decoded.
    void AddValueLink(HtmlLinkKind kind, const RecordedAttribute &recorded)
    {
        if constexpr (kUtf8) {
            if (use_ == HtmlLinksUse::CheckedNow) {
                page_.links.push_back({kind, 0, QString(), recorded.begin,
                                       QByteArrayView(t_ + recorded.begin, recorded.end - recorded.begin)});
                return;
            }
        }
        AddLinkAt(kind, recorded.begin, ValueString(recorded));
    }

    // A link within a value that decoding may have changed: its line is
    // counted now.
    void AddLinkOnLine(qint32 line, QString value)
    {
        page_.links.push_back({HtmlLinkKind::Link, line, std::move(value), -1});
    }

    void TakeLinks(HtmlElement element, HtmlContext context)
    {
        for (const RecordedAttribute &recorded : attributes_) {
            switch (recorded.attribute) {
            case HtmlAttribute::Id:
            case HtmlAttribute::Name: {
                const QStringView value = Value(recorded);
                if (!value.isEmpty())
                    page_.anchors.insert(value.toString());
                break;
            }
            case HtmlAttribute::Srcset:
                TakeSrcset(recorded);
                break;
            case HtmlAttribute::Href:
                if (context == HtmlContext::Html && element == HtmlElement::Link && !Find(HtmlAttribute::Rel))
                    break;
                AddValueLink(context == HtmlContext::Html && element == HtmlElement::Base ? HtmlLinkKind::Base
                                                                                           : HtmlLinkKind::Link,
                             recorded);
                break;
            default:
                if (IsResourceAttribute(element, context, recorded.attribute))
                    AddValueLink(HtmlLinkKind::Link, recorded);
                break;
            }
        }
        if (element == HtmlElement::Meta && context == HtmlContext::Html)
            TakeRefresh();
    }

    void TakeSrcset(const RecordedAttribute &recorded)
    {
        const QStringView value = Value(recorded);
        spans_.clear();
        SrcsetUrls(value, spans_);
        qint32 line = lines_.LineAt(recorded.begin);
        qsizetype counted = 0;
        for (const ValueSpan &span : spans_) {
            line += qint32(CountLineFeeds(value.sliced(counted, span.offset - counted)));
            counted = span.offset;
            AddLinkOnLine(line, value.sliced(span.offset, span.length).toString());
        }
    }

    // Only the first refresh of a page counts: a browser ignores the others.
    void TakeRefresh()
    {
        const RecordedAttribute *equiv = Find(HtmlAttribute::HttpEquiv);
        const RecordedAttribute *content = Find(HtmlAttribute::Content);
        if (refreshed_ || equiv == nullptr || content == nullptr ||
            Value(*equiv).compare(u"refresh", Qt::CaseInsensitive) != 0)
            return;
        const QStringView value = Value(*content);
        ValueSpan url;
        const RefreshResult result = MetaRefreshUrl(value, url);
        if (result == RefreshResult::NotARefresh)
            return;
        refreshed_ = true;
        if (result == RefreshResult::GoesToUrl) {
            const qint32 line = lines_.LineAt(content->begin) + qint32(CountLineFeeds(value.first(url.offset)));
            AddLinkOnLine(line, value.sliced(url.offset, url.length).toString());
        }
    }

    const Unit *t_;
    qsizetype n_;
    HtmlPage &page_;
    bool anchors_;
    HtmlLinksUse use_;
    HtmlLineCounter lines_;
    struct KnownName {
        qsizetype at = 0;
        qsizetype size = 0; // no name is empty: 0 marks a slot never used
        HtmlElementName element;
    };
    static constexpr std::size_t kKnownNames = 64;
    std::array<KnownName, kKnownNames> knownNames_{};
    ThreadKept<ReadingRoom, &ReleaseReadingRoom> room_;
    std::vector<Frame> &frames_ = room_.Get().frames;
    std::vector<RecordedAttribute> &attributes_ = room_.Get().attributes;
    HtmlAttributeSet seen_ = 0;
    quint32 wantedLengths_ = 0; // bit n: a wanted attribute's name has n characters
    bool refreshed_ = false;
    bool plainTag_ = false; // the tag just read changed nothing but the place
#if defined(QUILLAN_TAG_MEMO)
    TagMemo &tags_ = TagMemo::OfThread(anchors_);
#endif
    QString &decoded_ = room_.Get().decoded;
    QString &converted_ = room_.Get().converted;
    std::vector<ValueSpan> &spans_ = room_.Get().spans;
    std::vector<IncludeLink> &includes_ = room_.Get().includes;
};

} // namespace

void ReadHtmlLinks(QStringView text, HtmlPage &page, bool collectAnchors, HtmlLinksUse use)
{
    LinkReader<char16_t>(text.utf16(), text.size(), page, collectAnchors, use).Read();
}

void ReadHtmlLinks(const HtmlText &text, HtmlPage &page, bool collectAnchors, HtmlLinksUse use)
{
    if (text.IsUtf8())
        LinkReader<char>(text.Utf8().data(), text.Utf8().size(), page, collectAnchors, use).Read();
    else
        ReadHtmlLinks(text.Utf16(), page, collectAnchors, use);
}

const QString &HtmlLinkValue(const HtmlLink &link, QString &room)
{
    if (!link.IsUtf8())
        return link.value;
    // The room's buffer is written over when it is its own and large enough.
    room.resize(link.utf8.size());
    auto *const begin = reinterpret_cast<char16_t *>(room.data());
    room.truncate(WriteUtf8(link.utf8, begin) - begin);
    // As a value read from the text is decoded (what it gives depends on
    // its units alone).
    if (AttributeValueNeedsDecoding(room)) {
        QString decoded;
        AppendDecodedAttributeValue(room, decoded);
        room = std::move(decoded);
    }
    return room;
}

QString HtmlLinkValue(const HtmlLink &link)
{
    QString room;
    return HtmlLinkValue(link, room);
}

qint32 HtmlLinkLine(const HtmlLink &link, HtmlLineCounter &lines)
{
    return link.line > 0 ? link.line : lines.LineAt(link.at);
}

} // namespace quillan
