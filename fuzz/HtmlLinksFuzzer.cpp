// The browser-like page reading on arbitrary pages: decoding arbitrary bytes,
// then reading links and anchors from arbitrary text. Links must come in page
// order with lines that never go back and never pass the page's last line;
// on a page with nothing to decode (no "&", NUL, CR or backslash) each link's
// value must stand in the page, beginning on the line the link gives.

#include "common/FuzzCheck.h"
#include "common/FuzzInput.h"

#include "html/HtmlLinks.h"

#include <QStringDecoder>

using namespace quillan;

namespace {

qint64 LineEndsIn(QStringView text)
{
    qint64 ends = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
        ends += text[i] == u'\n' || (text[i] == u'\r' && (i + 1 >= text.size() || text[i + 1] != u'\n'));
    return ends;
}

void CheckDecoding(const QByteArray &bytes, const QString &text)
{
    // Plain ASCII (no escape byte, which ISO-2022-JP gives a meaning) with no
    // byte-order mark reads the same in every encoding a page may declare.
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80 || c == 0x1B)
            return;
    FUZZ_REQUIRE(text == QString::fromLatin1(bytes));
}

// The same links and anchors, lines and values, however the page was read.
void CheckSameReading(const HtmlPage &expected, const HtmlText &text, bool anchors)
{
    HtmlPage page;
    ReadHtmlLinks(text, page, anchors, HtmlLinksUse::CheckedNow);
    FUZZ_REQUIRE(page.links.size() == expected.links.size() && page.anchors == expected.anchors);
    HtmlLineCounter lines = text.IsUtf8() ? HtmlLineCounter(text.Utf8()) : HtmlLineCounter(text.Utf16());
    for (std::size_t i = 0; i < page.links.size(); ++i)
        FUZZ_REQUIRE(HtmlLinkLine(page.links[i], lines) == expected.links[i].line &&
                     HtmlLinkValue(page.links[i]) == expected.links[i].value);
}

void CheckLinks(const QString &text, const HtmlPage &page)
{
    const qint64 lastLine = 1 + LineEndsIn(text);
    const bool plain = !text.contains(u'&') && !text.contains(QChar(u'\0')) && !text.contains(u'\r') &&
                       !text.contains(u'\\');
    qint32 previousLine = 1;
    qsizetype from = 0;
    for (const HtmlLink &link : page.links) {
        FUZZ_REQUIRE(link.line >= previousLine && link.line <= lastLine);
        previousLine = link.line;
        if (!plain)
            continue;
        // The first place at or after the previous link's where the value
        // stands on its line.
        qsizetype at = text.indexOf(link.value, from);
        while (at >= 0 && 1 + LineEndsIn(QStringView(text).first(at)) < link.line)
            at = text.indexOf(link.value, at + 1);
        FUZZ_REQUIRE(at >= 0 && 1 + LineEndsIn(QStringView(text).first(at)) == link.line);
        from = at;
    }
    for (const QString &anchor : page.anchors)
        FUZZ_REQUIRE(!anchor.isEmpty() && (!plain || text.contains(anchor)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::FuzzInput input(data, size);
    const uint8_t flags = input.byte();
    const bool anchors = (flags & 2) != 0;
    QString text;
    QByteArray bytes;
    if ((flags & 1) != 0) {
        bytes = input.rest();
        text = DecodeHtmlBytes(bytes);
        CheckDecoding(bytes, text);
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = utf8.decode(bytes); // decodes only when taken as a string
        FUZZ_REQUIRE(IsValidUtf8(bytes) == !utf8.hasError());
    } else {
        text = input.restAsText();
        bytes = text.toUtf8();
        text = QString::fromUtf8(bytes); // what the bytes say, a lone surrogate mended
    }
    HtmlPage page;
    ReadHtmlLinks(text, page, anchors);
    CheckLinks(text, page);
    // Read to be checked at once (lines counted afterwards, values viewing
    // the text), from the text or from its bytes as they stand, the links
    // come out the same.
    CheckSameReading(page, HtmlText(text), anchors);
    CheckSameReading(page, (flags & 1) != 0 ? HtmlText::Of(bytes) : HtmlText::FromUtf8(bytes), anchors);
    return 0;
}
