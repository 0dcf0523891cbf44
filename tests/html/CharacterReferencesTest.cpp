#include "html/CharacterReferences.h"
#include "html/NamedReferences.h"

#include "engine/Printers.h"

#include <gtest/gtest.h>

namespace quillan::test {

namespace {

QString Decoded(const char *raw)
{
    QString out;
    AppendDecodedAttributeValue(QString::fromUtf8(raw), out);
    return out;
}

} // namespace

TEST(CharacterReferences, NamedWithAndWithoutSemicolon)
{
    EXPECT_EQ(Decoded("a&amp;b &lt;&GT &eacute;&eacute"), QString::fromUtf8("a&b <> éé"));
    // Two characters, and one beyond U+FFFF.
    EXPECT_EQ(Decoded("&NotEqualTilde;&Afr;"), QString::fromUtf8("\u2242\u0338\U0001D504"));
    // The longest name.
    EXPECT_EQ(Decoded("&CounterClockwiseContourIntegral;"), QString::fromUtf8("\u2233"));
    // The longest prefix that is a name without ";" counts: "&notin;" is a
    // name, "&notit;" only begins with "&not".
    EXPECT_EQ(Decoded("&notin; &notit; x"), QString::fromUtf8("\u2209 &notit; x"));
    EXPECT_EQ(Decoded("&not.x &not"), QString::fromUtf8("\u00AC.x \u00AC"));
    // Followed by "=" or a letter or digit, a name without ";" stays as written.
    EXPECT_EQ(Decoded("?x=1&copy=2&amp3&lt;4"), QString::fromUtf8("?x=1&copy=2&amp3<4"));
    // Unknown names, "&" alone and names only valid with ";" stay as written.
    EXPECT_EQ(Decoded("&bogus; & && &;&hellip"), QString::fromUtf8("&bogus; & && &;&hellip"));
}

TEST(CharacterReferences, NumericAsABrowserReplacesThem)
{
    EXPECT_EQ(Decoded("&#65;&#x42;&#X43&#0068;x"), QStringLiteral("ABCDx"));
    // 0, surrogates and numbers past U+10FFFF give U+FFFD, however long.
    EXPECT_EQ(Decoded("&#0;&#xD800;&#xDFFF;&#x110000;&#99999999999999999999;"), QString(5, QChar(0xFFFD)));
    EXPECT_EQ(Decoded("&#x1F600;"), QString::fromUtf8("\U0001F600"));
    // 0x80 to 0x9F are windows-1252's characters; its five holes stay controls.
    EXPECT_EQ(Decoded("&#128;&#x99;&#x81;&#159;"), QString::fromUtf8("\u20AC\u2122\u0081\u0178"));
    // No digits: the text stays as written.
    EXPECT_EQ(Decoded("&#;&#x;&#xg&#a"), QStringLiteral("&#;&#x;&#xg&#a"));
}

TEST(CharacterReferences, LineEndsAndNulAsABrowserReadsThem)
{
    EXPECT_EQ(Decoded("a\r\nb\rc\nd"), QStringLiteral("a\nb\nc\nd"));
    QString out;
    AppendDecodedAttributeValue(QStringView(u"x\0y", 3), out);
    EXPECT_EQ(out, QStringLiteral("x\uFFFDy"));
    EXPECT_FALSE(AttributeValueNeedsDecoding(u"plain/page.htm?a=b#c"));
    EXPECT_TRUE(AttributeValueNeedsDecoding(u"a\rb"));
}

TEST(CharacterReferences, LongValuesDecodeTheSameWhereverTheMarksFall)
{
    // Plain runs are passed over several units at a time: every mark is put
    // at every place around those steps.
    for (int pad = 0; pad < 20; ++pad) {
        const QString x(pad, u'x');
        const QString raw = x + QStringLiteral("&amp;") + x + QStringLiteral("\r\n") + x + QChar(0) + x
                            + QStringLiteral("&lt;") + x + QChar(u'\r') + x;
        const QString expected = x + QChar(u'&') + x + QChar(u'\n') + x + QChar(0xFFFD) + x + QChar(u'<') + x
                                 + QChar(u'\n') + x;
        QString out = QStringLiteral("kept:");
        AppendDecodedAttributeValue(raw, out);
        EXPECT_EQ(out, QStringLiteral("kept:") + expected) << pad;
        for (const QChar mark : {QChar(u'&'), QChar(0), QChar(u'\r')})
            EXPECT_TRUE(AttributeValueNeedsDecoding(x + mark + x)) << pad;
        EXPECT_FALSE(AttributeValueNeedsDecoding(x + x + QStringLiteral("#?=\n"))) << pad;
    }
}

TEST(NamedReferences, TableIsSortedAndFindsEveryName)
{
    const std::span<const NamedReferenceEntry> table = NamedReferenceTable();
    ASSERT_EQ(table.size(), 2231U);
    for (std::size_t i = 0; i < table.size(); ++i) {
        const QString name = QString::fromLatin1(table[i].name);
        if (i > 0) {
            ASSERT_LT(qstrcmp(table[i - 1].name, table[i].name), 0) << i;
        }
        ASSERT_EQ(FindNamedReference(name), &table[i]) << name.toStdString();
    }
    EXPECT_EQ(FindNamedReference(u"amp"), FindNamedReference(u"amp;") - 1);
    EXPECT_EQ(FindNamedReference(u"am"), nullptr);
    EXPECT_EQ(FindNamedReference(u"ampx"), nullptr);
    EXPECT_EQ(FindNamedReference(u""), nullptr);
}

} // namespace quillan::test
