#include "html/HtmlNames.h"

#include <array>
#include <bit>
#include <cstring>
#include <string_view>
#include <type_traits>

namespace quillan {

namespace {

struct ElementEntry {
    std::string_view name;
    HtmlElement element;
    bool breaksOut;
};

using E = HtmlElement;

// Sorted by name. The names with breaksOut set are those a browser reads as
// HTML again when it meets them inside svg or MathML (font only with color,
// face or size, which the reading checks itself).
constexpr std::array kElements = {
    ElementEntry{"a", E::A, false},
    ElementEntry{"area", E::Area, false},
    ElementEntry{"audio", E::Audio, false},
    ElementEntry{"b", E::Other, true},
    ElementEntry{"base", E::Base, false},
    ElementEntry{"big", E::Other, true},
    ElementEntry{"blockquote", E::Blockquote, true},
    ElementEntry{"body", E::Body, true},
    ElementEntry{"br", E::Br, true},
    ElementEntry{"center", E::Other, true},
    ElementEntry{"code", E::Other, true},
    ElementEntry{"dd", E::Other, true},
    ElementEntry{"del", E::Del, false},
    ElementEntry{"desc", E::Desc, false},
    ElementEntry{"div", E::Other, true},
    ElementEntry{"dl", E::Other, true},
    ElementEntry{"dt", E::Other, true},
    ElementEntry{"em", E::Other, true},
    ElementEntry{"embed", E::Embed, true},
    ElementEntry{"font", E::Font, false},
    ElementEntry{"foreignobject", E::ForeignObject, false},
    ElementEntry{"frame", E::Frame, false},
    ElementEntry{"h1", E::Other, true},
    ElementEntry{"h2", E::Other, true},
    ElementEntry{"h3", E::Other, true},
    ElementEntry{"h4", E::Other, true},
    ElementEntry{"h5", E::Other, true},
    ElementEntry{"h6", E::Other, true},
    ElementEntry{"head", E::Other, true},
    ElementEntry{"hr", E::Other, true},
    ElementEntry{"i", E::Other, true},
    ElementEntry{"iframe", E::Iframe, false},
    ElementEntry{"image", E::Image, false},
    ElementEntry{"img", E::Img, true},
    ElementEntry{"input", E::Input, false},
    ElementEntry{"ins", E::Ins, false},
    ElementEntry{"li", E::Other, true},
    ElementEntry{"link", E::Link, false},
    ElementEntry{"listing", E::Other, true},
    ElementEntry{"math", E::Math, false},
    ElementEntry{"menu", E::Other, true},
    ElementEntry{"meta", E::Meta, true},
    ElementEntry{"mi", E::Mi, false},
    ElementEntry{"mn", E::Mn, false},
    ElementEntry{"mo", E::Mo, false},
    ElementEntry{"ms", E::Ms, false},
    ElementEntry{"mtext", E::Mtext, false},
    ElementEntry{"nobr", E::Other, true},
    ElementEntry{"noembed", E::Noembed, false},
    ElementEntry{"noframes", E::Noframes, false},
    ElementEntry{"object", E::Object, false},
    ElementEntry{"ol", E::Other, true},
    ElementEntry{"p", E::P, true},
    ElementEntry{"plaintext", E::Plaintext, false},
    ElementEntry{"pre", E::Other, true},
    ElementEntry{"q", E::Q, false},
    ElementEntry{"ruby", E::Other, true},
    ElementEntry{"s", E::Other, true},
    ElementEntry{"script", E::Script, false},
    ElementEntry{"small", E::Other, true},
    ElementEntry{"source", E::Source, false},
    ElementEntry{"span", E::Other, true},
    ElementEntry{"strike", E::Other, true},
    ElementEntry{"strong", E::Other, true},
    ElementEntry{"style", E::Style, false},
    ElementEntry{"sub", E::Other, true},
    ElementEntry{"sup", E::Other, true},
    ElementEntry{"svg", E::Svg, false},
    ElementEntry{"table", E::Table, true},
    ElementEntry{"td", E::Td, false},
    ElementEntry{"textarea", E::Textarea, false},
    ElementEntry{"th", E::Th, false},
    ElementEntry{"title", E::Title, false},
    ElementEntry{"track", E::Track, false},
    ElementEntry{"tt", E::Other, true},
    ElementEntry{"u", E::Other, true},
    ElementEntry{"ul", E::Other, true},
    ElementEntry{"var", E::Other, true},
    ElementEntry{"video", E::Video, false},
    ElementEntry{"xmp", E::Xmp, false},
};

struct AttributeEntry {
    std::string_view name;
    HtmlAttribute attribute;
};

using A = HtmlAttribute;

constexpr std::array kAttributes = {
    AttributeEntry{"background", A::Background},
    AttributeEntry{"cite", A::Cite},
    AttributeEntry{"color", A::Color},
    AttributeEntry{"content", A::Content},
    AttributeEntry{"data", A::Data},
    AttributeEntry{"face", A::Face},
    AttributeEntry{"href", A::Href},
    AttributeEntry{"http-equiv", A::HttpEquiv},
    AttributeEntry{"id", A::Id},
    AttributeEntry{"longdesc", A::Longdesc},
    AttributeEntry{"name", A::Name},
    AttributeEntry{"poster", A::Poster},
    AttributeEntry{"rel", A::Rel},
    AttributeEntry{"size", A::Size},
    AttributeEntry{"src", A::Src},
    AttributeEntry{"srcset", A::Srcset},
    AttributeEntry{"xlink:href", A::XlinkHref},
};

constexpr bool SortedByName(const auto &table)
{
    for (std::size_t i = 1; i < table.size(); ++i)
        if (!(table[i - 1].name < table[i].name))
            return false;
    return true;
}
static_assert(SortedByName(kElements));
static_assert(SortedByName(kAttributes));

// A name of at most 16 ASCII characters, lowered, packed into two words:
// every tag and attribute name of a page is looked up, so the look-up is
// two integer comparisons in a hash table built at compile time.
struct PackedName {
    uint64_t low = 0;
    uint64_t high = 0;

    constexpr bool operator==(const PackedName &) const = default;
};

constexpr std::size_t kMaxPackedLength = 16;

constexpr void PackCharacter(PackedName &packed, std::size_t i, char16_t c)
{
    if (c >= u'A' && c <= u'Z')
        c = char16_t(c + 32);
    (i < 8 ? packed.low : packed.high) |= uint64_t(c) << (8 * (i % 8));
}

constexpr PackedName Pack(std::string_view name)
{
    PackedName packed;
    for (std::size_t i = 0; i < name.size(); ++i)
        PackCharacter(packed, i, char16_t(name[i]));
    return packed;
}

// False for names no table holds: too long, empty, or with a character
// outside ASCII or a NUL (which packing could not tell from the end). A
// name read as UTF-8 gives the same answers: a byte outside ASCII is
// outside it too.
template <typename Unit>
bool Pack(const Unit *name, qsizetype size, PackedName &packed)
{
    if (size == 0 || size > qsizetype(kMaxPackedLength))
        return false;
    for (qsizetype i = 0; i < size; ++i) {
        const auto c = char16_t(std::make_unsigned_t<Unit>(name[i]));
        if (c == 0 || c >= 0x80)
            return false;
        PackCharacter(packed, std::size_t(i), c);
    }
    return true;
}

constexpr std::size_t kSlots = 256;

constexpr std::size_t Hash(const PackedName &name)
{
    return std::size_t(((name.low * 0x9E3779B97F4A7C15ULL) ^ (name.high * 0xC2B2AE3D27D4EB4FULL)) >> 56);
}

template <typename Entry, std::size_t N>
class NameIndex
{
public:
    constexpr explicit NameIndex(const std::array<Entry, N> &table)
    {
        static_assert(N < kSlots / 2);
        for (std::size_t i = 0; i < N; ++i) {
            const PackedName key = Pack(table[i].name);
            std::size_t slot = Hash(key);
            while (slots_[slot].index >= 0)
                slot = (slot + 1) % kSlots;
            slots_[slot] = {key, int16_t(i)};
        }
    }

    // The index of `name` in the table; -1 when it is not there.
    template <typename Unit>
    int Find(const Unit *name, qsizetype size) const
    {
        PackedName key;
        if (!Pack(name, size, key))
            return -1;
        return FindPacked(key);
    }

    // The index of the name packed as `key`; -1 when it is not there.
    constexpr int FindPacked(const PackedName &key) const
    {
        for (std::size_t slot = Hash(key); slots_[slot].index >= 0; slot = (slot + 1) % kSlots)
            if (slots_[slot].key == key)
                return slots_[slot].index;
        return -1;
    }

private:
    struct Slot {
        PackedName key;
        int16_t index = -1;
    };
    std::array<Slot, kSlots> slots_{};
};

constexpr NameIndex kElementIndex(kElements);
constexpr NameIndex kAttributeIndex(kAttributes);

constexpr HtmlAttributeSet kSvgLinks = Bit(A::Href) | Bit(A::XlinkHref);

// The attributes of an HTML element that name a resource.
constexpr HtmlAttributeSet HtmlResourceAttributes(HtmlElement element)
{
    switch (element) {
    case E::A:
    case E::Area:
    case E::Base:
    case E::Link:
        return Bit(A::Href);
    case E::Img:
    case E::Image:
        return Bit(A::Src) | Bit(A::Srcset) | Bit(A::Longdesc);
    case E::Iframe:
    case E::Frame:
        return Bit(A::Src) | Bit(A::Longdesc);
    case E::Script:
    case E::Embed:
    case E::Audio:
    case E::Track:
    case E::Input:
        return Bit(A::Src);
    case E::Video:
        return Bit(A::Src) | Bit(A::Poster);
    case E::Source:
        return Bit(A::Src) | Bit(A::Srcset);
    case E::Object:
        return Bit(A::Data);
    case E::Blockquote:
    case E::Q:
    case E::Del:
    case E::Ins:
        return Bit(A::Cite);
    case E::Body:
    case E::Table:
    case E::Td:
    case E::Th:
        return Bit(A::Background);
    default:
        return 0;
    }
}

constexpr HtmlAttributeSet Wanted(HtmlElement element, HtmlContext context, bool anchors)
{
    HtmlAttributeSet wanted = anchors ? Bit(A::Id) : 0;
    if (context != HtmlContext::Html) {
        // A font with any of these leaves svg and MathML.
        if (element == E::Font)
            wanted |= Bit(A::Color) | Bit(A::Face) | Bit(A::Size);
        return context == HtmlContext::Svg ? wanted | kSvgLinks : wanted;
    }
    wanted |= HtmlResourceAttributes(element);
    if (element == E::A && anchors)
        wanted |= Bit(A::Name);
    if (element == E::Link)
        wanted |= Bit(A::Rel);
    if (element == E::Meta)
        wanted |= Bit(A::HttpEquiv) | Bit(A::Content);
    return wanted;
}

constexpr quint32 LengthsOf(HtmlAttributeSet attributes)
{
    constexpr std::array<quint32, 32> kLengthBits = [] {
        std::array<quint32, 32> bits{};
        for (const AttributeEntry &entry : kAttributes)
            bits[std::size_t(entry.attribute)] = 1U << entry.name.size();
        return bits;
    }();
    quint32 lengths = 0;
    for (; attributes != 0; attributes &= attributes - 1)
        lengths |= kLengthBits[std::size_t(std::countr_zero(attributes))];
    return lengths;
}

} // namespace

namespace {

HtmlElementName ElementAt(int found)
{
    if (found < 0)
        return {};
    return {kElements[std::size_t(found)].element, kElements[std::size_t(found)].breaksOut};
}

HtmlAttribute AttributeAt(int found)
{
    return found >= 0 ? kAttributes[std::size_t(found)].attribute : A::Other;
}

} // namespace

HtmlElementName LookUpElement(QStringView name)
{
    return ElementAt(kElementIndex.Find(name.utf16(), name.size()));
}

HtmlElementName LookUpElement(QByteArrayView name)
{
    return ElementAt(kElementIndex.Find(name.data(), name.size()));
}

HtmlAttribute LookUpAttribute(QStringView name)
{
    return AttributeAt(kAttributeIndex.Find(name.utf16(), name.size()));
}

HtmlAttribute LookUpAttribute(QByteArrayView name)
{
    return AttributeAt(kAttributeIndex.Find(name.data(), name.size()));
}

// Of each length, the name links are mostly given by, in small letters as
// pages mostly write it, packed: a name that is this word is known at once.
struct CommonAttribute {
    uint64_t word = ~uint64_t(0); // no name's: every byte of a name is below 0x80
    HtmlAttribute attribute = A::Other;
};

constexpr std::array<CommonAttribute, 9> kCommonAttributes = [] {
    std::array<CommonAttribute, 9> common{};
    for (const std::string_view name : {"id", "src", "href", "srcset", "content"}) {
        const auto found = std::size_t(kAttributeIndex.FindPacked(Pack(name)));
        common[name.size()] = {Pack(name).low, kAttributes[found].attribute};
    }
    return common;
}();

HtmlAttribute LookUpAttribute(const char *name, qsizetype size, qsizetype readable)
{
    constexpr qsizetype kWord = 8;
    if (std::endian::native != std::endian::little || size < 1 || size > kWord || readable < kWord)
        return LookUpAttribute(QByteArrayView(name, size));
    // The name's bytes in one word, as Pack places them (the first lowest).
    uint64_t word = 0;
    std::memcpy(&word, name, sizeof word);
    word &= ~uint64_t(0) >> (8 * (kWord - size));
    if (const CommonAttribute &common = kCommonAttributes[std::size_t(size)]; word == common.word)
        return common.attribute;
    constexpr uint64_t kOnes = 0x0101010101010101ULL;
    constexpr uint64_t kHigh = kOnes * 0x80;
    // A byte outside ASCII, or a NUL within the name: no table holds it.
    // (The bytes past the name are made non-zero for the NUL test.)
    const uint64_t filled = word | (~(~uint64_t(0) >> (8 * (kWord - size))) & kOnes);
    if ((word & kHigh) != 0 || ((filled - kOnes) & ~filled & kHigh) != 0)
        return A::Other;
    // Capitals lowered: a byte from "A" (0x41) to "Z" (0x5A) gains 0x20.
    // Every byte is below 0x80, so no sum carries into the next byte.
    const uint64_t capitals = (word + kOnes * (0x80 - 'A')) & ~(word + kOnes * (0x80 - 'Z' - 1)) & kHigh;
    word |= capitals >> 2;
    return AttributeAt(kAttributeIndex.FindPacked({word, 0}));
}

HtmlAttributeSet WantedAttributes(HtmlElement element, HtmlContext context, bool anchors)
{
    return Wanted(element, context, anchors);
}

quint32 NameLengths(HtmlAttributeSet attributes)
{
    return LengthsOf(attributes);
}

constinit const std::array<std::array<WantedNames, kHtmlElementCount>, 2> kWantedInHtml = [] {
    std::array<std::array<WantedNames, kHtmlElementCount>, 2> table{};
    for (std::size_t anchors = 0; anchors < 2; ++anchors) {
        for (std::size_t element = 0; element < kHtmlElementCount; ++element) {
            const HtmlAttributeSet wanted = Wanted(HtmlElement(element), HtmlContext::Html, anchors != 0);
            table[anchors][element] = {wanted, LengthsOf(wanted)};
        }
    }
    return table;
}();

bool IsResourceAttribute(HtmlElement element, HtmlContext context, HtmlAttribute attribute)
{
    switch (context) {
    case HtmlContext::Html:
        return (HtmlResourceAttributes(element) & Bit(attribute)) != 0;
    case HtmlContext::Svg:
        return (kSvgLinks & Bit(attribute)) != 0;
    case HtmlContext::MathMl:
        break;
    }
    return false;
}

} // namespace quillan
