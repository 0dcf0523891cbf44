#include "util/NativeName.h"

#include "engine/Printers.h"

#include <gtest/gtest.h>

namespace quillan::test {
namespace {

struct NameRow {
    QByteArray bytes;
    const char16_t *shown; // the name as displayed
};

// Runs of bytes that UTF-8 refuses, each next to what it accepts.
const NameRow kNames[] = {
    {"caf\xC3\xA9.htm", u"café.htm"},
    {"caf\xE9.htm", u"caf\uFFFD.htm"},           // Latin-1
    {"\x80x\xFF", u"\uFFFDx\uFFFD"},              // stray continuation, never a lead
    {"\xC0\xAF", u"\uFFFD\uFFFD"},                // overlong "/"
    {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},      // an encoded surrogate
    {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"}, // beyond U+10FFFF
    {"a\xE2\x82", u"a\uFFFD\uFFFD"},              // cut short at the end
    {"\xF0\x9F\x98\x80\xE9", u"\U0001F600\uFFFD"}, // a pair, then a lone byte
    {"\xEF\xBB\xBFmark", u"\uFEFFmark"},          // a mark at the start is part of a name
    {"plain ascii_name-0123456789.html", u"plain ascii_name-0123456789.html"},
    {"\x01\x1F\x7F", u"\x01\x1F\x7F"},             // controls and DEL are ASCII too
    {"thirty-two bytes of plain ascii\xC3\xA9", u"thirty-two bytes of plain ascii\u00E9"}, // one past a step
    {"thirty-two bytes of plain ascii\xE9", u"thirty-two bytes of plain ascii\uFFFD"},
};

TEST(NativeName, EveryRunOfBytesComesBackWhole)
{
    for (const NameRow &row : kNames) {
        const QString name = DecodeNativeName(row.bytes);
        EXPECT_EQ(EncodeNativeName(name), row.bytes) << row.bytes.toHex().toStdString();
        EXPECT_EQ(DisplayName(name), QStringView(row.shown).toString()) << row.bytes.toHex().toStdString();
        EXPECT_EQ(HoldsUndecodedBytes(name), DisplayName(name) != name);
        EXPECT_EQ(FromNativePath(ToNativePath(name)), name);
    }
    // A string that came from no name: a lone high surrogate cannot be
    // written, and an escape is one only where no high surrogate precedes it.
    EXPECT_EQ(EncodeNativeName(u"a\xD800" "b"), QByteArray("a\xEF\xBF\xBD" "b"));
    const QString pairLike = QString::fromUtf16(u"\xD800\xDCE9");
    EXPECT_FALSE(HoldsUndecodedBytes(pairLike));
}

TEST(NativeName, ANameOfAsciiAndOneOtherCharacterAnywhereComesBackWhole)
{
    // Names of ASCII are copied a register at a time: one character of
    // another kind, at any place of a short or long name, sends the whole
    // name the long way.
    const QByteArray others[] = {"\xC3\xA9", "\xE9", "\xF0\x9F\x98\x80", "\xEF\xBF\xBD"};
    for (const QByteArray &other : others) {
        for (int length = 0; length <= 20; ++length) {
            for (int at = 0; at <= length; ++at) {
                const QByteArray bytes = QByteArray(at, 'a') + other + QByteArray(length - at, 'z');
                EXPECT_EQ(EncodeNativeName(DecodeNativeName(bytes)), bytes) << bytes.toHex().toStdString();
            }
            const QByteArray ascii(length, 'q');
            EXPECT_EQ(EncodeNativeName(DecodeNativeName(ascii)), ascii);
        }
    }
}

TEST(NativeName, PageTextKeepsTheBytesOfItsNamesAndDropsAByteOrderMark)
{
    EXPECT_EQ(DecodeLocaleText("\xEF\xBB\xBF<a href=\"caf\xC3\xA9.htm\">"),
              QString::fromUtf16(u"<a href=\"café.htm\">"));
    const QString latin1 = DecodeLocaleText("\xEF\xBB\xBF<a href=\"caf\xE9.htm\">");
    EXPECT_EQ(EncodeNativeName(latin1), QByteArray("<a href=\"caf\xE9.htm\">"));
    EXPECT_EQ(DisplayName(latin1), QString::fromUtf16(u"<a href=\"caf\uFFFD.htm\">"));
}

} // namespace
} // namespace quillan::test
