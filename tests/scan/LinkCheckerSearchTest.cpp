// The page-wide searches the link checker relies on give what a plain
// search of each line gives.

#include "scan/LinkChecker.h"
#include "scan/LinkCheckerSearch.h"
#include "util/StrProc.h"

#include <QRandomGenerator>

#include <array>

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

TEST(LinkCheckerSearch, AttributeKeysFoundTogetherMatchTheLoweredSearch)
{
    // Random texts built from pieces of keys, capitals, accented letters and
    // line breaks.
    const QStringList pieces =
        QStringLiteral(" |h|H|ref|REF|s|S|rc|=|\"|\r\n|\u0130|\u00c9| href=\"| SRC=\"").split(u'|');
    QRandomGenerator random(20240601);
    for (int round = 0; round < 2000; ++round) {
        QString text;
        const int length = random.bounded(1, 40);
        for (int i = 0; i < length; ++i)
            text += pieces[random.bounded(int(pieces.size()))];
        std::array<AttributeKey, 2> keys{AttributeKey{kHrefKey, KeyPlaces(kHrefKey.size())},
                                         AttributeKey{kSrcKey, KeyPlaces(kSrcKey.size())}};
        FindAttributeKeys(text, keys);
        for (const AttributeKey &key : keys) {
            for (qsizetype from = 0; from <= text.size(); from += 3) {
                const qsizetype fresh = IndexOfInLowered(text, key.lowered, from);
                for (qsizetype end : {from + 6, from + 12, text.size()}) {
                    const qsizetype expected =
                        fresh >= 0 && fresh + key.lowered.size() <= end ? fresh : -1;
                    ASSERT_EQ(key.places.Within(from, end), expected)
                        << text.toStdString() << " from " << from << " end " << end;
                }
            }
        }
    }
}

TEST(LinkCheckerSearch, ALineScanFindsItsEndAndTheFirstCommentMarksOnIt)
{
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
            const LineMarks marks = ScanLine(text, from);
            ASSERT_EQ(marks.end, end) << text.toStdString() << " from " << from;
            ASSERT_EQ(marks.commentStart, firstBefore(u"<!--"_s)) << text.toStdString() << " from " << from;
            ASSERT_EQ(marks.commentEnd, firstBefore(u"-->"_s)) << text.toStdString() << " from " << from;
        }
    }
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
        LineCounter lines{text};
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
        }
    }
}

} // namespace quillan::test
