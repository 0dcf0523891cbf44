#include "html/HtmlNames.h"

#include <QByteArray>
#include <QList>

#include <gtest/gtest.h>

namespace quillan::test {

namespace {

// The name written into a longer text, so that the word-at-a-time look-up
// may read past it.
HtmlAttribute LookUpInText(const QByteArray &name, qsizetype readable)
{
    QByteArray text = name;
    text.append(QByteArray(qMax<qsizetype>(readable - name.size(), 0), 'x'));
    return LookUpAttribute(text.constData(), name.size(), readable);
}

} // namespace

TEST(HtmlNames, AttributeNamesReadAWordAtATimeGiveThePlainAnswers)
{
    const QList<QByteArray> names = {
        "href", "HREF", "hReF", "src", "Src", "srcset", "SRCSET", "poster", "data", "cite", "longdesc",
        "LongDesc", "rel", "content", "id", "ID", "name", "color", "face", "size", "background",
        "http-equiv", "xlink:href",
        // Near misses: one letter more or less, a letter for its neighbour
        // in the code table, a NUL or a byte beyond ASCII inside or after.
        "hre", "hrefs", "hrEg", "Gref", "[ref", "@ref", "hre\x7f", QByteArray("hr\0f", 4), QByteArray("href\0", 5),
        QByteArray("\0href", 5), "hr\xC3\xA9", "href\xC3\xA9", "\xC3\xA9", "class", "title", "alt", "x",
        "abcdefgh", "ABCDEFGH", "longdesC", "longdesx",
    };
    for (const QByteArray &name : names) {
        const HtmlAttribute plain = LookUpAttribute(QByteArrayView(name));
        for (const qsizetype readable : {name.size(), qsizetype(7), qsizetype(8), qsizetype(9), qsizetype(16)}) {
            if (readable >= name.size()) {
                EXPECT_EQ(LookUpInText(name, readable), plain) << name.toStdString() << " " << readable;
            }
        }
    }
    EXPECT_EQ(LookUpInText("HRef", 8), HtmlAttribute::Href);
    EXPECT_EQ(LookUpInText(QByteArray("href\0", 5), 8), HtmlAttribute::Other);
}

TEST(HtmlNames, EachElementWantsTheSameAttributesFromTheTable)
{
    for (const bool anchors : {false, true}) {
        for (std::size_t element = 0; element < kHtmlElementCount; ++element) {
            for (const HtmlContext context : {HtmlContext::Html, HtmlContext::Svg, HtmlContext::MathMl}) {
                const HtmlAttributeSet wanted = WantedAttributes(HtmlElement(element), context, anchors);
                const WantedNames names = WantedInTag(HtmlElement(element), context, anchors);
                EXPECT_EQ(names.attributes, wanted);
                EXPECT_EQ(names.lengths, NameLengths(wanted));
            }
        }
    }
}

} // namespace quillan::test
