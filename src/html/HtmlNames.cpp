#include "html/HtmlNames.h"

#include <algorithm>
#include <array>
#include <string_view>

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

constexpr std::size_t kMaxNameLength = 13; // "foreignobject"

// `name` with ASCII capitals lowered, as 8-bit text; false when it holds a
// character no table name has or is longer than every table name.
bool Lowered(QStringView name, std::array<char, kMaxNameLength> &buffer, std::size_t &length)
{
    if (name.size() > qsizetype(buffer.size()))
        return false;
    length = std::size_t(name.size());
    for (std::size_t i = 0; i < length; ++i) {
        char16_t c = name[qsizetype(i)].unicode();
        if (c >= u'A' && c <= u'Z')
            c = char16_t(c + 32);
        if (c >= 0x80)
            return false;
        buffer[i] = char(c);
    }
    return true;
}

template <typename Table>
const typename Table::value_type *Find(const Table &table, QStringView name)
{
    std::array<char, kMaxNameLength> buffer{};
    std::size_t length = 0;
    if (!Lowered(name, buffer, length))
        return nullptr;
    const std::string_view key(buffer.data(), length);
    const auto *found = std::lower_bound(table.begin(), table.end(), key,
                                         [](const auto &entry, std::string_view k) { return entry.name < k; });
    return found != table.end() && found->name == key ? found : nullptr;
}

constexpr HtmlAttributeSet kSvgLinks = Bit(A::Href) | Bit(A::XlinkHref);

// The attributes of an HTML element that name a resource.
HtmlAttributeSet HtmlResourceAttributes(HtmlElement element)
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

} // namespace

HtmlElementName LookUpElement(QStringView name)
{
    const ElementEntry *entry = Find(kElements, name);
    if (entry == nullptr)
        return {};
    return {entry->element, entry->breaksOut};
}

HtmlAttribute LookUpAttribute(QStringView name)
{
    const AttributeEntry *entry = Find(kAttributes, name);
    return entry != nullptr ? entry->attribute : A::Other;
}

HtmlAttributeSet WantedAttributes(HtmlElement element, HtmlContext context, bool anchors)
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
