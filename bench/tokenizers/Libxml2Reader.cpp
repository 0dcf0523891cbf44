// libxml2's HTML parser fed the whole page as one chunk of its push parser,
// with SAX callbacks only (no tree). It knows no svg, so the reader counts
// svg's depth itself; its line is where the tag ends.

#include "Readers.h"

#include <libxml/HTMLparser.h>
#include <libxml/parserInternals.h>

#include <cstring>

namespace quillan::bench {

namespace {

struct SaxState {
    std::vector<FoundLink> *links;
    htmlParserCtxtPtr context = nullptr;
    int svgDepth = 0;
};

QString FromXml(const xmlChar *text)
{
    return text == nullptr ? QString() : QString::fromUtf8(reinterpret_cast<const char *>(text));
}

void StartElement(void *user, const xmlChar *name, const xmlChar **attributes)
{
    auto *state = static_cast<SaxState *>(user);
    const QString tag = FromXml(name);
    if (tag == u"svg")
        ++state->svgDepth;
    std::vector<QString> names;
    std::vector<QString> values;
    for (const xmlChar **a = attributes; a != nullptr && a[0] != nullptr; a += 2) {
        names.push_back(FromXml(a[0]).toLower());
        values.push_back(FromXml(a[1]));
    }
    TakeTagLinks(tag, state->svgDepth > 0, names, values, xmlSAX2GetLineNumber(state->context), *state->links);
}

void EndElement(void *user, const xmlChar *name)
{
    auto *state = static_cast<SaxState *>(user);
    if (state->svgDepth > 0 && std::strcmp(reinterpret_cast<const char *>(name), "svg") == 0)
        --state->svgDepth;
}

void Comment(void *user, const xmlChar *text)
{
    auto *state = static_cast<SaxState *>(user);
    TakeCommentIncludes(FromXml(text), xmlSAX2GetLineNumber(state->context), *state->links);
}

} // namespace

void ReadWithLibxml2(const QByteArray &page, std::vector<FoundLink> &links)
{
    htmlSAXHandler sax;
    std::memset(&sax, 0, sizeof(sax));
    sax.startElement = StartElement;
    sax.endElement = EndElement;
    sax.comment = Comment;
    SaxState state{&links};
    htmlParserCtxtPtr context =
        htmlCreatePushParserCtxt(&sax, &state, nullptr, 0, nullptr, XML_CHAR_ENCODING_NONE);
    state.context = context;
    htmlCtxtUseOptions(context, HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET |
                                    HTML_PARSE_RECOVER | HTML_PARSE_NOBLANKS);
    htmlParseChunk(context, page.constData(), int(page.size()), 1);
    htmlFreeParserCtxt(context);
}

} // namespace quillan::bench
