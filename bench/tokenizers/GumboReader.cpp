// gumbo builds the whole tree; the links are taken from it afterwards, each
// attribute with the line its value starts on.

#include "Readers.h"

#include <gumbo.h>

namespace quillan::bench {

namespace {

void Walk(const GumboNode *node, std::vector<FoundLink> &links)
{
    if (node->type == GUMBO_NODE_COMMENT) {
        TakeCommentIncludes(QString::fromUtf8(node->v.text.text), int(node->v.text.start_pos.line), links);
        return;
    }
    if (node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_TEMPLATE && node->type != GUMBO_NODE_DOCUMENT)
        return;
    const GumboVector *children = nullptr;
    if (node->type == GUMBO_NODE_DOCUMENT) {
        children = &node->v.document.children;
    } else {
        const GumboElement &element = node->v.element;
        QString tag;
        if (element.tag != GUMBO_TAG_UNKNOWN) {
            tag = QString::fromUtf8(gumbo_normalized_tagname(element.tag));
        } else {
            GumboStringPiece original = element.original_tag;
            gumbo_tag_from_original_text(&original);
            tag = QString::fromUtf8(original.data, qsizetype(original.length)).toLower();
        }
        std::vector<QString> names;
        std::vector<QString> values;
        int line = int(element.start_pos.line);
        for (unsigned i = 0; i < element.attributes.length; ++i) {
            const auto *attribute = static_cast<const GumboAttribute *>(element.attributes.data[i]);
            QString name = QString::fromUtf8(attribute->name);
            if (attribute->attr_namespace == GUMBO_ATTR_NAMESPACE_XLINK)
                name = QStringLiteral("xlink:") + name;
            names.push_back(name);
            values.push_back(QString::fromUtf8(attribute->value));
            // A link's href or a refresh's content gives the line.
            if (name == u"href" || name == u"content")
                line = int(attribute->value_start.line);
        }
        const bool svg = element.tag_namespace == GUMBO_NAMESPACE_SVG;
        if (!svg && (tag == u"meta" || tag == u"link")) {
            // Refresh and rel need the whole tag.
            TakeTagLinks(tag, svg, names, values, line, links);
        } else {
            // Each attribute with the line its value starts on.
            for (std::size_t i = 0; i < names.size(); ++i) {
                const auto *attribute = static_cast<const GumboAttribute *>(element.attributes.data[i]);
                TakeTagLinks(tag, svg, {names[i]}, {values[i]}, int(attribute->value_start.line), links);
            }
        }
        children = &element.children;
    }
    for (unsigned i = 0; i < children->length; ++i)
        Walk(static_cast<const GumboNode *>(children->data[i]), links);
}

} // namespace

void ReadWithGumbo(const QByteArray &page, std::vector<FoundLink> &links)
{
    GumboOutput *output = gumbo_parse_with_options(&kGumboDefaultOptions, page.constData(), std::size_t(page.size()));
    Walk(output->document, links);
    gumbo_destroy_output(&kGumboDefaultOptions, output);
}

} // namespace quillan::bench
