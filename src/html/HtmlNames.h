#pragma once
// The element and attribute names the link reading tells apart, and which
// attributes of an element name resources. Names are compared after ASCII
// letters are lowered, as a browser's tokenizer lowers them.

#include <QByteArrayView>
#include <QStringView>

#include <array>
#include <cstddef>
#include <cstdint>

namespace quillan {

enum class HtmlElement : uint8_t {
    Other,
    A, Area, Audio, Base, Blockquote, Body, Del, Desc, Embed, Font, ForeignObject, Frame, Iframe,
    Image, Img, Input, Ins, Link, Math, Meta, Mi, Mn, Mo, Ms, Mtext, Noembed, Noframes, Object,
    P, Br, Plaintext, Q, Script, Source, Style, Svg, Table, Td, Textarea, Th, Title, Track, Video, Xmp,
};
constexpr std::size_t kHtmlElementCount = std::size_t(HtmlElement::Xmp) + 1;

struct HtmlElementName {
    HtmlElement element = HtmlElement::Other;
    // A start tag of this name inside svg or MathML closes the foreign
    // elements around it: the browser reads it as HTML again.
    bool breaksOutOfForeign = false;
};

// `name` lowered; names not told apart give Other.
HtmlElementName LookUpElement(QStringView name);
// The same for a name read as UTF-8.
HtmlElementName LookUpElement(QByteArrayView name);

enum class HtmlAttribute : uint8_t {
    Other,
    Href, Src, Srcset, Poster, Data, Cite, Background, Longdesc, XlinkHref,
    Rel, HttpEquiv, Content, Id, Name, Color, Face, Size,
};

// One bit per HtmlAttribute.
using HtmlAttributeSet = uint32_t;

constexpr HtmlAttributeSet Bit(HtmlAttribute attribute)
{
    return HtmlAttributeSet(1) << unsigned(attribute);
}

// `name` lowered; names not told apart give Other.
HtmlAttribute LookUpAttribute(QStringView name);
HtmlAttribute LookUpAttribute(QByteArrayView name);
// The same for the UTF-8 name of `size` bytes at `name`, after which the
// text goes on for `readable` bytes from `name`: a short name is then read
// a word at a time (the reading looks up most of a page's link attributes).
HtmlAttribute LookUpAttribute(const char *name, qsizetype size, qsizetype readable);

// Where an element stands: in HTML, in svg or in MathML.
enum class HtmlContext : uint8_t { Html, Svg, MathMl };

// The attributes of `element` that the reading needs: those that name a
// resource, those that decide whether and how it is one (rel, http-equiv,
// content) and, when anchors are asked for, id and a's name.
HtmlAttributeSet WantedAttributes(HtmlElement element, HtmlContext context, bool anchors);

// Bit n set when an attribute of `attributes` has a name of n characters.
quint32 NameLengths(HtmlAttributeSet attributes);

// What the reading looks for in a tag: the attributes it wants, and the
// lengths of their names (NameLengths), which rule out most other names
// without a look-up.
struct WantedNames {
    HtmlAttributeSet attributes = 0;
    quint32 lengths = 0;
};

// The wanted names of each HTML element, without and with anchors: a tag
// in HTML takes them from this table, not by working them out again.
extern const std::array<std::array<WantedNames, kHtmlElementCount>, 2> kWantedInHtml;

inline WantedNames WantedInTag(HtmlElement element, HtmlContext context, bool anchors)
{
    if (context == HtmlContext::Html)
        return kWantedInHtml[anchors ? 1 : 0][std::size_t(element)];
    const HtmlAttributeSet wanted = WantedAttributes(element, context, anchors);
    return {wanted, NameLengths(wanted)};
}

// Whether `attribute` of `element` names a resource in `context`.
bool IsResourceAttribute(HtmlElement element, HtmlContext context, HtmlAttribute attribute);

} // namespace quillan
