#include "html/DeclaredEncoding.h"
#include "html/EncodingLabels.h"
#include "html/HtmlLinks.h"
#include "html/HtmlPrescan.h"

#include "engine/Printers.h"

#include <QStringDecoder>

#include <gtest/gtest.h>

#include <utility>

namespace quillan::test {

namespace {

QByteArray B(const char *bytes)
{
    return QByteArray(bytes);
}

QString U(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

QByteArray Prescan(const QByteArray &bytes)
{
    return PrescanForEncoding(bytes).toByteArray();
}

} // namespace

TEST(HtmlDecode, ByteOrderMarkComesFirst)
{
    EXPECT_EQ(DecodeHtmlBytes(B("\xEF\xBB\xBF<meta charset=windows-1252>\xC3\xA9")),
              U("<meta charset=windows-1252>é"));
    EXPECT_EQ(DecodeHtmlBytes(QByteArray("\xFF\xFE<\0a\0\r\0\n\0\xE9\0", 12)), U("<a\r\né"));
    EXPECT_EQ(DecodeHtmlBytes(QByteArray("\xFE\xFF\0<\0a\0\r", 8)), U("<a\r"));
}

TEST(HtmlDecode, DeclaredCharsetThenUtf8ThenWindows1252)
{
    // Valid UTF-8 with no declaration is UTF-8; anything else windows-1252,
    // whose 0x80 to 0x9F differ from Latin-1 and whose holes are controls.
    EXPECT_EQ(DecodeHtmlBytes(B("a\xC3\xA9")), U("aé"));
    EXPECT_EQ(DecodeHtmlBytes(B("a\xE9\x80\x81\x9F\xFF")), U("aé\u20AC\u0081\u0178ÿ"));
    // A truncated or overlong sequence is not valid UTF-8.
    EXPECT_EQ(DecodeHtmlBytes(B("x\xC3")), U("xÃ"));
    EXPECT_EQ(DecodeHtmlBytes(B("\xC0\xAF")), U("À¯"));
    // A declared encoding wins over the bytes' look.
    EXPECT_EQ(DecodeHtmlBytes(B("<meta charset=\"latin1\">\xC3\xA9")), U("<meta charset=\"latin1\">Ã©"));
    EXPECT_EQ(DecodeHtmlBytes(B("<meta charset=utf-8>\xE9")), U("<meta charset=utf-8>\uFFFD"));
    EXPECT_EQ(DecodeHtmlBytes(B("<meta charset=koi8-r>\xC1")), U("<meta charset=koi8-r>а"));
    EXPECT_EQ(DecodeHtmlBytes(B("<meta charset=shift_jis>\x82\xA0")), U("<meta charset=shift_jis>あ"));
    // An unknown label is as none.
    EXPECT_EQ(DecodeHtmlBytes(B("<meta charset=klingon>\xC3\xA9")), U("<meta charset=klingon>é"));
    // CR, LF and CR LF come through unchanged, so lines count as in the bytes.
    EXPECT_EQ(DecodeHtmlBytes(B("<meta charset=windows-1251>\r\n\r\n")), U("<meta charset=windows-1251>\r\n\r\n"));
}

TEST(HtmlDecode, PagesReadAsUtf8AreReadInTheirBytes)
{
    // Read in the bytes when the browser reads UTF-8 and the bytes are valid,
    // or when they are ASCII in windows-1252; the text is the decoded one.
    const std::pair<QByteArray, bool> cases[] = {
        {B("a\xC3\xA9"), true},
        {B("\xEF\xBB\xBF<p>\xC3\xA9"), true},
        {B("\xEF\xBB\xBF\xEF\xBB\xBFx"), true},       // the decoder drops a second mark too
        {B("\xEF\xBB\xBF\xE9"), false},                // a mark, then bytes that are not UTF-8
        {B("<meta charset=utf-8>\xE9"), false},
        {B("<meta charset=latin1><a href=x>"), true},  // ASCII reads the same
        {B("<meta charset=latin1>\xC3\xA9"), false},
        {B("<meta charset=koi8-r>abc"), false},
        {B("a\xE9"), false},
        {QByteArray("\xFF\xFE<\0a\0", 6), false},
    };
    for (const auto &[bytes, utf8] : cases) {
        const HtmlText text = HtmlText::Of(bytes);
        EXPECT_EQ(text.IsUtf8(), utf8) << bytes.toStdString();
        EXPECT_EQ(text.ToString(), DecodeHtmlBytes(bytes)) << bytes.toStdString();
        if (utf8) {
            EXPECT_EQ(QString::fromUtf8(text.Utf8()), DecodeHtmlBytes(bytes));
        }
    }
    EXPECT_EQ(DecodeHtmlBytes(B("\xEF\xBB\xBF\xEF\xBB\xBFx")), U("x"));
}

TEST(HtmlDecode, ValidUtf8IsWhatTheDecoderTakesWithoutError)
{
    const char *const cases[] = {
        "", "plain ASCII of more than thirty-two bytes, all of it", "\xC2\x80", "\xDF\xBF", "\xE0\xA0\x80",
        "\xED\x9F\xBF", "\xEE\x80\x80", "\xEF\xBF\xBF", "\xEF\xB7\x90", "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF",
        // overlong, surrogate, above U+10FFFF, cut, stray or impossible bytes
        "\xC0\xAF", "\xC1\xBF", "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF", "\xED\xA0\x80", "\xED\xBF\xBF",
        "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xFF", "\x80", "\xC3", "\xE2\x82", "\xE2\x82x",
        "\xF0\x9F\x98", "\xC3\xA9\xA9",
        // a bad byte after a run of ASCII longer than a step
        "0123456789abcdef0123456789abcdef0123456789\xC3(",
    };
    const auto expectSameAsDecoder = [](const QByteArray &bytes) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = decoder.decode(bytes); // decodes only when taken
        EXPECT_EQ(IsValidUtf8(bytes), !decoder.hasError()) << bytes.toStdString();
    };
    for (const char *bytes : cases) {
        expectSameAsDecoder(QByteArray(bytes));
        // Each also at every place of the steps over ASCII (64 and 32
        // bytes), once and twice over: the check jumps from a step to its
        // first byte above ASCII.
        for (int before = 1; before <= 70; ++before) {
            const QByteArray ascii(before, 'a');
            expectSameAsDecoder(ascii + bytes + QByteArray(70, 'z'));
            expectSameAsDecoder(ascii + bytes + "x" + bytes + QByteArray(70 - before, 'z'));
        }
    }
}

TEST(HtmlPrescan, FindsTheDeclarationAsABrowserDoes)
{
    const std::pair<QByteArray, const char *> cases[] = {
        {"<META CHARSET=' Latin1 '>", "windows-1252"},
        {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=ISO-8859-2\">", "ISO-8859-2"},
        {"<meta content='text/html;charset = \"koi8-r\"' http-equiv=content-type>", "KOI8-R"},
        // Content without the pragma does not count; charset needs none.
        {"<meta content=\"text/html; charset=koi8-r\"><meta/charset=euc-jp>", "EUC-JP"},
        // UTF-16 labels mean UTF-8; x-user-defined windows-1252.
        {"<meta charset=utf-16le>", "UTF-8"},
        {"<meta charset=x-user-defined>", "windows-1252"},
        // Declarations in comments, in other tags' values or past 1,024
        // bytes do not count; the first repeated attribute wins.
        {"<!-- <meta charset=koi8-r> --><meta charset=gbk>", "GBK"},
        {"<!--><meta charset=gbk>", "GBK"},
        {"<p title='<meta charset=koi8-r>'><meta charset=big5>", "Big5"},
        {QByteArray(1020, ' ') + "<meta charset=koi8-r>", ""},
        {"<meta charset=koi8-r charset=gbk>", "KOI8-R"},
        {"<meta charset=bogus><meta charset=gbk>", "GBK"},
        {"<metacharset=gbk>", ""},
        {"<meta charset=replacement>", ""},
    };
    for (const auto &[page, encoding] : cases)
        EXPECT_EQ(Prescan(page), QByteArray(encoding)) << page.constData();
}

TEST(EncodingLabels, MapAsBrowsersMapThem)
{
    const std::pair<const char *, const char *> cases[] = {
        {" US-ASCII\t", "windows-1252"}, {"iso_8859-1:1987", "windows-1252"}, {"utf8", "UTF-8"},
        {"cseucpkdfmtjapanese", "EUC-JP"}, {"tis-620", "windows-874"},      {"utf-16", "UTF-16LE"},
        {"iso-2022-kr", ""},              {"", ""},                         {"cseucpkdfmtjapanese-and-more", ""},
    };
    for (const auto &[label, encoding] : cases)
        EXPECT_EQ(EncodingForLabel(label).toByteArray(), QByteArray(encoding)) << label;
}

// ISO-8859-16 is left out: Qt's converters on Debian 12 lack it, and a page
// that declares it is read as though it declared nothing.
TEST(HtmlDecode, EveryEncodingABrowserKnowsDecodes)
{
    for (const char *encoding : {"UTF-8", "IBM866", "ISO-8859-2", "ISO-8859-3", "ISO-8859-4", "ISO-8859-5",
                                 "ISO-8859-6", "ISO-8859-7", "ISO-8859-8", "ISO-8859-8-I", "ISO-8859-10",
                                 "ISO-8859-13", "ISO-8859-14", "ISO-8859-15", "KOI8-R", "KOI8-U",
                                 "macintosh", "windows-874", "windows-1250", "windows-1251", "windows-1252",
                                 "windows-1253", "windows-1254", "windows-1255", "windows-1256", "windows-1257",
                                 "windows-1258", "x-mac-cyrillic", "GBK", "gb18030", "Big5", "EUC-JP",
                                 "ISO-2022-JP", "Shift_JIS", "EUC-KR"}) {
        const QByteArray page = "<a href=\"x/y.htm?a=1&b\">\r\n";
        QString text;
        ASSERT_TRUE(DecodeDeclared(page, encoding, text)) << encoding;
        EXPECT_EQ(text, QString::fromLatin1(page)) << encoding;
    }
    QString unused;
    EXPECT_FALSE(DecodeDeclared("x", "no-such-encoding", unused));
}

} // namespace quillan::test
