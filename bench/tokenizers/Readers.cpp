#include "Readers.h"

#include "html/HtmlLinks.h"
#include "html/HtmlNames.h"
#include "html/HtmlValueParsers.h"

namespace quillan::bench {

void ReadWithQuillan(const QByteArray &page, std::vector<FoundLink> &links)
{
    HtmlPage read;
    ReadHtmlLinks(DecodeHtmlBytes(page), read, false);
    for (HtmlLink &link : read.links)
        links.push_back({link.line, std::move(link.value)});
}

void DecodeOnly(const QByteArray &page, std::vector<FoundLink> &links)
{
    if (DecodeHtmlBytes(page).isEmpty())
        links.push_back({});
}

void TakeTagLinks(const QString &tag, bool inSvg, const std::vector<QString> &names,
                  const std::vector<QString> &values, int line, std::vector<FoundLink> &links)
{
    const HtmlContext context = inSvg ? HtmlContext::Svg : HtmlContext::Html;
    HtmlElement element = LookUpElement(tag).element;
    if (element == HtmlElement::Image && !inSvg)
        element = HtmlElement::Img;
    bool hasRel = false;
    const QString *equiv = nullptr;
    const QString *content = nullptr;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const HtmlAttribute attribute = LookUpAttribute(names[i]);
        hasRel = hasRel || attribute == HtmlAttribute::Rel;
        if (attribute == HtmlAttribute::HttpEquiv)
            equiv = &values[i];
        if (attribute == HtmlAttribute::Content)
            content = &values[i];
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        const HtmlAttribute attribute = LookUpAttribute(names[i]);
        if (!IsResourceAttribute(element, context, attribute))
            continue;
        if (attribute == HtmlAttribute::Srcset) {
            std::vector<ValueSpan> spans;
            SrcsetUrls(values[i], spans);
            for (const ValueSpan &span : spans)
                links.push_back({line, values[i].sliced(span.offset, span.length)});
        } else if (!(element == HtmlElement::Link && !inSvg && !hasRel)) {
            links.push_back({line, values[i]});
        }
    }
    if (element == HtmlElement::Meta && !inSvg && equiv != nullptr && content != nullptr &&
        equiv->compare(u"refresh", Qt::CaseInsensitive) == 0) {
        ValueSpan url;
        if (MetaRefreshUrl(*content, url) == RefreshResult::GoesToUrl)
            links.push_back({line, content->sliced(url.offset, url.length)});
    }
}

void TakeCommentIncludes(const QString &comment, int line, std::vector<FoundLink> &links)
{
    std::vector<IncludeLink> includes;
    ServerSideIncludes(comment, includes);
    for (IncludeLink &include : includes)
        links.push_back({line, std::move(include.value)});
}

} // namespace quillan::bench
