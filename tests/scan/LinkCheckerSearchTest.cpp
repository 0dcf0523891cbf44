// The page-wide searches the link checker relies on give what a plain
// search of each line gives.

#include "scan/LinkChecker.h"
#include "scan/LinkCheckerSearch.h"
#include "util/NativeName.h"
#include "util/StrProc.h"

#include "engine/ScanWidths.h"

#include <QRandomGenerator>

#include <array>
#include <string_view>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

namespace quillan::test {

using namespace Qt::StringLiterals;

TEST(LinkCheckerSearch, OnlyTheseCharactersLowerToTheAnchorsUsed)
{
    // The key search anchors on "=" and '"', and only links holding ":" are
    // tested for other sites: no other character may lower-case to these.
    for (char16_t c = 0; c < 0xffff; ++c) {
        const QChar lowered = LowerCaseAccentedChar(QChar(c));
        for (char16_t anchor : {u'=', u'"', u':'}) {
            if (lowered == QChar(anchor)) {
                EXPECT_EQ(c, anchor) << "code " << int(c);
            }
        }
    }
}

namespace {

// Every place of a key, in order.
std::vector<qsizetype> AllPlaces(const KeyPlaces &places, qsizetype size)
{
    std::vector<qsizetype> all;
    for (qsizetype at = places.Within(0, size); at >= 0; at = places.Within(at + 1, size))
        all.push_back(at);
    return all;
}

// The keys found in a text's UTF-16 units and in its UTF-8 bytes, the
// places in the bytes given as places of units.
template <typename Unit>
std::vector<std::vector<qsizetype>> KeysFound(const QString &text)
{
    std::array<AttributeKey, 2> keys{AttributeKey{kHrefKey, KeyPlaces(kHrefKey.size())},
                                     AttributeKey{kSrcKey, KeyPlaces(kSrcKey.size())}};
    std::vector<qsizetype> unitAt; // the unit each byte belongs to
    QByteArray bytes;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QByteArray piece = text.sliced(i, 1).toUtf8();
        bytes += piece;
        unitAt.insert(unitAt.end(), size_t(piece.size()), i);
    }
    std::vector<std::vector<qsizetype>> found;
    if constexpr (std::is_same_v<Unit, char16_t>) {
        FindAttributeKeys(UnitsOf(text), keys);
        for (const AttributeKey &key : keys)
            found.push_back(AllPlaces(key.places, text.size()));
    } else {
        FindAttributeKeys(std::string_view(bytes.constData(), size_t(bytes.size())), keys);
        for (const AttributeKey &key : keys) {
            found.emplace_back();
            for (const qsizetype at : AllPlaces(key.places, bytes.size()))
                found.back().push_back(unitAt[size_t(at)]);
        }
    }
    return found;
}

} // namespace

TEST(LinkCheckerSearch, AttributeKeysFoundTogetherMatchTheLoweredSearch)
{
    ForEachScanWidth([&] {
        // Random texts built from pieces of keys, capitals, accented letters and
        // line breaks, searched as UTF-16 and as UTF-8.
        const QStringList pieces =
            QStringLiteral(" |h|H|ref|REF|s|S|rc|=|\"|\r\n|\u0130|\u00c9| href=\"| SRC=\"|\u212a").split(u'|');
        QRandomGenerator random(20240601);
        for (int round = 0; round < 2000; ++round) {
            QString text;
            const int length = random.bounded(1, 40);
            for (int i = 0; i < length; ++i)
                text += pieces[random.bounded(int(pieces.size()))];
            std::vector<std::vector<qsizetype>> expected;
            for (const QStringView key : {kHrefKey, kSrcKey}) {
                expected.emplace_back();
                for (qsizetype at = IndexOfInLowered(text, key, 0); at >= 0;
                     at = IndexOfInLowered(text, key, at + 1))
                    expected.back().push_back(at);
            }
            ASSERT_EQ(KeysFound<char16_t>(text), expected) << text.toStdString();
            ASSERT_EQ(KeysFound<char>(text), expected) << text.toStdString();
        }
    });
}

TEST(LinkCheckerSearch, KeyPlacesAnswerAsAPlainSearchWhateverTheOrderOfTheQuestions)
{
    // Mostly growing starts, as a page is read, with some going back and
    // some asked again, on lists that are emptied and filled anew.
    QRandomGenerator random(8122026);
    KeyPlaces places(3);
    for (int round = 0; round < 300; ++round) {
        places.Clear();
        std::vector<qsizetype> added;
        for (qsizetype at = random.bounded(5); at < 200; at += 1 + random.bounded(12)) {
            places.Add(at);
            added.push_back(at);
        }
        qsizetype from = 0;
        for (int question = 0; question < 60; ++question) {
            const int step = random.bounded(10);
            from = step == 0 ? random.bounded(210) : step == 1 ? from : from + random.bounded(8);
            const qsizetype end = from + random.bounded(40);
            qsizetype expected = -1;
            for (const qsizetype at : added) {
                if (at >= from) {
                    expected = at + 3 <= end ? at : -1;
                    break;
                }
            }
            ASSERT_EQ(places.Within(from, end), expected) << "from " << from << " to " << end;
        }
    }
}

TEST(LinkCheckerSearch, NoCharacterOutsideAsciiLowersToALetterOfAKey)
{
    // The search of a page's UTF-8 bytes compares ASCII only.
    for (char16_t c = 128; c < 0xffff; ++c) {
        const char16_t lowered = LowerCaseAccentedChar(QChar(c)).unicode();
        for (const QStringView key : {kHrefKey, kSrcKey})
            ASSERT_FALSE(key.contains(QChar(lowered))) << "code " << int(c);
    }
}

TEST(LinkCheckerSearch, ALineScanFindsItsEndAndTheFirstCommentMarksOnIt)
{
    ForEachScanWidth([&] {
        // Against plain searches, from every start, on texts of comment marks,
        // their pieces and breaks of each kind, long enough for the eight-unit
        // steps and their tails.
        const QStringList pieces = QStringLiteral("a|<|!|-|<!|--|<!--|-->|--->|\r|\n|\r\n").split(u'|');
        QRandomGenerator random(20261208);
        for (int round = 0; round < 3000; ++round) {
            QString text;
            for (int i = random.bounded(0, 40); i > 0; --i)
                text += pieces[random.bounded(int(pieces.size()))];
            for (qsizetype from = 0; from <= text.size(); ++from) {
                qsizetype end = from;
                while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
                    ++end;
                auto firstBefore = [&](const QString &mark) {
                    const qsizetype at = text.indexOf(mark, from);
                    return at >= 0 && at + mark.size() <= end ? at : -1;
                };
                const QByteArray bytes = text.toLatin1(); // ASCII: the same places
                for (const LineMarks &marks :
                     {ScanLine(UnitsOf(text), from),
                      ScanLine(std::string_view(bytes.constData(), size_t(bytes.size())), from)}) {
                    ASSERT_EQ(marks.end, end) << text.toStdString() << " from " << from;
                    ASSERT_EQ(marks.commentStart, firstBefore(u"<!--"_s))
                        << text.toStdString() << " from " << from;
                    ASSERT_EQ(marks.commentEnd, firstBefore(u"-->"_s))
                        << text.toStdString() << " from " << from;
                }
            }
        }
    });
}

TEST(LinkCheckerSearch, LineNumbersCountEachKindOfBreak)
{
    // CR, LF and CR LF each end one line, with or without a CR on the page,
    // asked at growing places as the checker asks.
    const QStringList pieces = QStringLiteral("a|bb|\r|\n|\r\n|\n\r|0123456789").split(u'|');
    QRandomGenerator random(20261208);
    for (int round = 0; round < 2000; ++round) {
        QString text;
        const bool withCr = random.bounded(2) == 0;
        const int length = random.bounded(1, 30);
        for (int i = 0; i < length; ++i) {
            const QString &piece = pieces[random.bounded(int(pieces.size()))];
            if (withCr || !piece.contains(u'\r'))
                text += piece;
        }
        const QByteArray bytes = text.toLatin1();
        LineCounter<char16_t> lines{UnitsOf(text)};
        LineCounter<char> byteLines{std::string_view(bytes.constData(), size_t(bytes.size()))};
        qint32 expected = 1;
        qsizetype counted = 0;
        for (qsizetype at = 0; at <= text.size(); at += random.bounded(1, 12)) {
            for (; counted < at; ++counted) {
                if (text[counted] == u'\n'
                    || (text[counted] == u'\r'
                        && (counted + 1 >= text.size() || text[counted + 1] != u'\n')))
                    ++expected;
            }
            ASSERT_EQ(lines.LineAt(at), expected) << text.toStdString() << " at " << at;
            ASSERT_EQ(byteLines.LineAt(at), expected) << text.toStdString() << " at " << at;
        }
    }
}

TEST(LinkCheckerSearch, APageReadInItsBytesGivesWhatItsUtf16TextGives)
{
    // Random pages of keys, comments, breaks, letters outside ASCII, bytes
    // that are not UTF-8 (inside links too) and byte order marks, read
    // through the text the locale's decoding gives and through the bytes.
    const std::vector<QByteArray> pieces{
        "<a href=\"x.htm\">", " SRC=\"p.gif\"", "<!--", "-->", "\r", "\n", "\r\n", "  ", "\t",
        "\"", "=\"", " href=\"caf\xc3\xa9.htm\"", " href=\"bad\xff\xfe.htm\"", " href=\"cut\xc3\"",
        "\xc3", "\xe2\x80", "\xf0\x9f\x98\x80", " href=\"\xef\xbb\xbf" "bom.htm\"", "\xef\xbb\xbf",
        " sr\xc3\xa9=\"x.htm\"", " h\xc4\xb0ref=\"k.htm\"", " href=\" spaced .htm \""};
    ScanState state;
    ScanOptions options;
    options.checkableFileTypes = QStringLiteral("htm gif");
    const LinkChecker checker(state, options);
    const PageToRead page{QStringLiteral("/nowhere/site/p.htm"),
                          {QString(), QStringLiteral("/nowhere/site/")}, nullptr, {}};
    QRandomGenerator random(20261208);
    for (int round = 0; round < 1500; ++round) {
        QByteArray bytes = random.bounded(5) == 0 ? QByteArray("\xef\xbb\xbf") : QByteArray();
        for (int i = random.bounded(0, 40); i > 0; --i)
            bytes += pieces[size_t(random.bounded(int(pieces.size())))];
        const QString text = DecodeLocaleText(bytes);
        std::vector<BrokenLink> fromText;
        std::vector<BrokenLink> fromBytes;
        const PageReadResult a = checker.ReadText(UnitsOf(text), page, fromText);
        const PageReadResult b = checker.ReadText(Utf8TextOf(bytes), page, fromBytes);
        ASSERT_EQ(a.linksChecked, b.linksChecked) << bytes.toStdString();
        ASSERT_EQ(fromText.size(), fromBytes.size()) << bytes.toStdString();
        for (size_t i = 0; i < fromText.size(); ++i) {
            ASSERT_EQ(fromText[i].strLinkTo, fromBytes[i].strLinkTo) << bytes.toStdString();
            ASSERT_EQ(fromText[i].line, fromBytes[i].line) << bytes.toStdString();
            ASSERT_EQ(fromText[i].link, fromBytes[i].link) << bytes.toStdString();
        }
    }
}

} // namespace quillan::test
