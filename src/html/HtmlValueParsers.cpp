#include "html/HtmlValueParsers.h"

namespace quillan {

namespace {

bool IsAsciiWhitespace(QChar c)
{
    const char16_t u = c.unicode();
    return u == u' ' || u == u'\t' || u == u'\n' || u == u'\r' || u == u'\f';
}

bool IsAsciiDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

qsizetype SkipWhitespace(QStringView text, qsizetype p)
{
    while (p < text.size() && IsAsciiWhitespace(text[p]))
        ++p;
    return p;
}

bool IsLetter(QChar c, char16_t lower)
{
    return c.unicode() == lower || c.unicode() == lower - 32;
}

bool StartsWithIgnoringCase(QStringView text, qsizetype p, QStringView lowerWord)
{
    if (text.size() - p < lowerWord.size())
        return false;
    for (qsizetype i = 0; i < lowerWord.size(); ++i)
        if (!IsLetter(text[p + i], lowerWord[i].unicode()))
            return false;
    return true;
}

// Skips the descriptors after a candidate's URL up to the comma that ends the
// candidate (commas inside parentheses do not).
qsizetype SkipDescriptors(QStringView srcset, qsizetype p)
{
    enum class State { InDescriptor, InParens, AfterDescriptor } state = State::InDescriptor;
    p = SkipWhitespace(srcset, p);
    for (; p < srcset.size(); ++p) {
        const char16_t c = srcset[p].unicode();
        switch (state) {
        case State::InDescriptor:
            if (IsAsciiWhitespace(QChar(c)))
                state = State::AfterDescriptor;
            else if (c == u',')
                return p + 1;
            else if (c == u'(')
                state = State::InParens;
            break;
        case State::InParens:
            if (c == u')')
                state = State::InDescriptor;
            break;
        case State::AfterDescriptor:
            if (!IsAsciiWhitespace(QChar(c))) {
                state = State::InDescriptor;
                --p;
            }
            break;
        }
    }
    return p;
}

} // namespace

void SrcsetUrls(QStringView srcset, std::vector<ValueSpan> &urls)
{
    qsizetype p = 0;
    while (true) {
        while (p < srcset.size() && (IsAsciiWhitespace(srcset[p]) || srcset[p] == u','))
            ++p;
        if (p >= srcset.size())
            return;
        const qsizetype start = p;
        while (p < srcset.size() && !IsAsciiWhitespace(srcset[p]))
            ++p;
        qsizetype end = p;
        if (srcset[end - 1] == u',') {
            // A URL that ends in commas ends its candidate; the commas are not
            // part of it. It began with something else, so it keeps a character.
            while (srcset[end - 1] == u',')
                --end;
        } else {
            p = SkipDescriptors(srcset, p);
        }
        urls.push_back({start, end - start});
    }
}

RefreshResult MetaRefreshUrl(QStringView content, ValueSpan &url)
{
    qsizetype p = SkipWhitespace(content, 0);
    const qsizetype timeStart = p;
    while (p < content.size() && IsAsciiDigit(content[p]))
        ++p;
    if (p == timeStart && (p >= content.size() || content[p] != u'.'))
        return RefreshResult::NotARefresh;
    while (p < content.size() && (IsAsciiDigit(content[p]) || content[p] == u'.'))
        ++p;
    if (p >= content.size())
        return RefreshResult::ReloadsPage;
    if (content[p] != u';' && content[p] != u',' && !IsAsciiWhitespace(content[p]))
        return RefreshResult::NotARefresh;
    p = SkipWhitespace(content, p);
    if (p < content.size() && (content[p] == u';' || content[p] == u','))
        ++p;
    p = SkipWhitespace(content, p);
    if (p >= content.size())
        return RefreshResult::ReloadsPage;

    // "url=" may be left out. A text that begins with "u" but not with
    // "url=" is the URL as it stands, quotes and all; otherwise a quote
    // around the URL is taken off.
    qsizetype urlStart = p;
    bool quotesRemoved = true;
    if (IsLetter(content[p], u'u')) {
        const qsizetype q = StartsWithIgnoringCase(content, p, u"url") ? SkipWhitespace(content, p + 3) : p;
        if (q > p && q < content.size() && content[q] == u'=')
            urlStart = SkipWhitespace(content, q + 1);
        else
            quotesRemoved = false;
    }
    qsizetype urlEnd = content.size();
    if (quotesRemoved && urlStart < content.size() && (content[urlStart] == u'"' || content[urlStart] == u'\'')) {
        const QChar quote = content[urlStart];
        ++urlStart;
        const qsizetype closing = content.indexOf(quote, urlStart);
        if (closing >= 0)
            urlEnd = closing;
    }
    url = {urlStart, urlEnd - urlStart};
    return RefreshResult::GoesToUrl;
}

void ServerSideIncludes(QStringView comment, std::vector<IncludeLink> &includes)
{
    if (comment.isEmpty() || comment[0] != u'#')
        return;
    qsizetype p = SkipWhitespace(comment, 1);
    if (!StartsWithIgnoringCase(comment, p, u"include"))
        return;
    p += 7;
    if (p < comment.size() && !IsAsciiWhitespace(comment[p]))
        return;
    while (true) {
        p = SkipWhitespace(comment, p);
        const qsizetype nameStart = p;
        while (p < comment.size() && !IsAsciiWhitespace(comment[p]) && comment[p] != u'=')
            ++p;
        const QStringView name = comment.sliced(nameStart, p - nameStart);
        if (name.isEmpty())
            return;
        p = SkipWhitespace(comment, p);
        if (p >= comment.size() || comment[p] != u'=')
            return;
        p = SkipWhitespace(comment, p + 1);

        IncludeLink include;
        if (p < comment.size() && (comment[p] == u'"' || comment[p] == u'\'' || comment[p] == u'`')) {
            const QChar quote = comment[p++];
            include.offset = p;
            for (; p < comment.size() && comment[p] != quote; ++p) {
                if (comment[p] == u'\\' && p + 1 < comment.size() && comment[p + 1] == quote)
                    ++p;
                include.value.append(comment[p]);
            }
            if (p >= comment.size())
                return; // an unclosed value is no include
            ++p;
        } else {
            include.offset = p;
            while (p < comment.size() && !IsAsciiWhitespace(comment[p]))
                ++p;
            include.value = comment.sliced(include.offset, p - include.offset).toString();
        }

        if (name.compare(u"virtual", Qt::CaseInsensitive) == 0)
            include.kind = HtmlLinkKind::IncludeVirtual;
        else if (name.compare(u"file", Qt::CaseInsensitive) == 0)
            include.kind = HtmlLinkKind::IncludeFile;
        else
            continue;
        includes.push_back(std::move(include));
    }
}

} // namespace quillan
