// The scans that look at a register's worth of units a step (8 to 32) give
// what a plain loop gives, at every start and end around the steps' edges,
// with their narrow loops and with their wide ones.

#include "util/UnitScan.h"

#include "engine/ScanWidths.h"

#include <QRandomGenerator>
#include <QString>

#include <string>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

namespace quillan::test {

namespace {

// Texts of the marks the scans look for, among other units, some long.
QString RandomText(QRandomGenerator &random)
{
    static const char16_t kUnits[] = {u'=', u'"', u'\r', u'\n', u'-', u'<', u'!', u'a', u'\u203d'};
    QString text;
    const int length = random.bounded(0, 140);
    for (int i = 0; i < length; ++i)
        text += QChar(kUnits[random.bounded(int(std::size(kUnits)))]);
    return text;
}

} // namespace

TEST(UnitScan, PairsFoundInOrderAsAPlainLoopFindsThem)
{
    QRandomGenerator random(7);
    for (int round = 0; round < 3000; ++round) {
        const QString text = RandomText(random);
        const char16_t *units = QStringView(text).utf16();
        const qsizetype from = random.bounded(-2, int(text.size()) + 3);
        std::vector<qsizetype> expected;
        for (qsizetype i = qMax<qsizetype>(from, 0); i + 1 < text.size(); ++i) {
            if (text[i] == u'=' && text[i + 1] == u'"')
                expected.push_back(i);
        }
        std::vector<qsizetype> found;
        ForEachPair(units, text.size(), u'=', u'"', from, [&](qsizetype i) {
            found.push_back(i);
            return true;
        });
        ASSERT_EQ(found, expected) << text.toStdString() << " from " << from;
    }
}

TEST(UnitScan, PairsAfterALetterFoundAsAPlainLoopFindsThem)
{
    ForEachScanWidth([] {
        // The letters in both cases, their neighbours in the code, and units
        // above ASCII, which the search leaves to its caller.
        static const char16_t kUnits[] = {u'=', u'"', u'f', u'F', u'c', u'C', u'e', u'g', u'b', u'd',
                                          u'&', u'\u00e9', u'\u0146', u'\u0166', u'\u203d'};
        QRandomGenerator random(17);
        for (int round = 0; round < 3000; ++round) {
            QString text;
            for (int i = random.bounded(0, 140); i > 0; --i)
                text += QChar(kUnits[random.bounded(int(std::size(kUnits)))]);
            const QByteArray bytes = text.toUtf8();
            const auto expected = [](const auto *units, qsizetype size) {
                std::vector<qsizetype> places;
                for (qsizetype i = 1; i + 1 < size; ++i) {
                    const auto before = char16_t(std::make_unsigned_t<std::remove_cv_t<std::remove_pointer_t<decltype(units)>>>(units[i - 1]));
                    const bool letter = before > 127 || before == u'f' || before == u'F' || before == u'c'
                                        || before == u'C';
                    if (units[i] == '=' && units[i + 1] == '"' && letter)
                        places.push_back(i);
                }
                return places;
            };
            const auto found = [](const auto *units, qsizetype size) {
                using Unit = std::remove_cv_t<std::remove_pointer_t<decltype(units)>>;
                std::vector<qsizetype> places;
                ForEachPairAfterLetter(units, size, Unit('='), Unit('"'), 'f', 'c', [&](qsizetype i) {
                    places.push_back(i);
                    return true;
                });
                return places;
            };
            const char16_t *units = QStringView(text).utf16();
            ASSERT_EQ(found(units, text.size()), expected(units, text.size())) << text.toStdString();
            ASSERT_EQ(found(bytes.constData(), bytes.size()), expected(bytes.constData(), bytes.size()))
                << text.toStdString();
        }
    });
}

TEST(UnitScan, PairSearchStopsWhenToldTo)
{
    const QString text = QStringLiteral("=\"=\"=\"=\"=\"=\"=\"=\"=\"=\"=\"");
    int calls = 0;
    ForEachPair(QStringView(text).utf16(), text.size(), u'=', u'"', 0, [&](qsizetype) {
        return ++calls < 3;
    });
    EXPECT_EQ(calls, 3);

    ForEachScanWidth([] {
        const QByteArray after = QByteArray("f=\"").repeated(40);
        int afterCalls = 0;
        ForEachPairAfterLetter(after.constData(), after.size(), '=', '"', 'f', 'c', [&](qsizetype) {
            return ++afterCalls < 3;
        });
        EXPECT_EQ(afterCalls, 3);
    });
}

TEST(UnitScan, LastLineBreakLineEndsAndFirstUnitMatchAPlainLoop)
{
    ForEachScanWidth([] {
        QRandomGenerator random(11);
        for (int round = 0; round < 3000; ++round) {
            const QString text = RandomText(random);
            const QByteArray bytes = text.toUtf8();
            const char16_t *units = QStringView(text).utf16();
            const qsizetype from = random.bounded(0, int(text.size()) + 1);
            const qsizetype to = random.bounded(int(from), int(text.size()) + 1);
            qsizetype last = -1;
            qsizetype lineEnds = 0;
            qsizetype firstLess = -1;
            for (qsizetype i = from; i < to; ++i) {
                if (text[i] == u'\r' || text[i] == u'\n')
                    last = i;
                // A CR LF pair ends its line at the LF, even past `to`.
                lineEnds += text[i] == u'\n' || (text[i] == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n'));
                if (firstLess < 0 && text[i] == u'<')
                    firstLess = i;
            }
            const std::string where = text.toStdString() + " " + std::to_string(from) + ".." + std::to_string(to);
            ASSERT_EQ(LastLineBreakIn(units, from, to), last) << where;
            ASSERT_EQ(CountLineEnds(units, from, to, text.size()), lineEnds) << where;
            ASSERT_EQ(FindUnit(units, from, to, u'<'), firstLess) << where;
            qsizetype firstMark = -1;
            for (qsizetype i = from; firstMark < 0 && i < to; ++i)
                firstMark = text[i] == u'=' || text[i] == u'!' || text[i] == u'-' || text[i] == u'\u203d' ? i : -1;
            ASSERT_EQ(FindAnyOf(units, from, to, u'=', u'!', u'-', u'\u203d'), firstMark) << where;
            // The same over the text's UTF-8 bytes, from its start to its end.
            const qsizetype wholeEnds = CountLineEnds(units, 0, text.size(), text.size());
            ASSERT_EQ(CountLineEnds(bytes.constData(), 0, bytes.size(), bytes.size()), wholeEnds) << where;
            const qsizetype less = bytes.indexOf('<');
            ASSERT_EQ(FindUnit(bytes.constData(), 0, bytes.size(), '<'), less) << where;
        }
    });
}

TEST(UnitScan, FirstSurrogateAndFirstNonAsciiUnitMatchAPlainLoopAndAsciiIsCopied)
{
    // The units on both sides of each range's edges.
    static const char16_t kUnits[] = {u'a', 0x7F, 0x80, 0xD7FF, 0xD800, 0xDBFF, 0xDC00, 0xDFFF, 0xE000};
    QRandomGenerator random(13);
    for (int round = 0; round < 3000; ++round) {
        std::u16string text;
        for (int i = random.bounded(0, 40); i > 0; --i)
            text += random.bounded(4) == 0 ? kUnits[random.bounded(int(std::size(kUnits)))] : u'a';
        const auto size = qsizetype(text.size());
        const qsizetype from = random.bounded(0, int(size) + 1);
        const qsizetype to = random.bounded(int(from), int(size) + 1);
        qsizetype surrogate = -1;
        qsizetype nonAscii = -1;
        for (qsizetype i = to - 1; i >= from; --i) {
            const char16_t unit = text[size_t(i)];
            surrogate = unit >= 0xD800 && unit <= 0xDFFF ? i : surrogate;
            nonAscii = unit > 0x7F ? i : nonAscii;
        }
        ASSERT_EQ(FindSurrogate(text.data(), from, to), surrogate) << round;
        ASSERT_EQ(FindNonAscii(text.data(), from, to), nonAscii) << round;
        // The same over bytes, each unit's low byte standing for it.
        std::string bytes;
        for (const char16_t unit : text)
            bytes += char(unit > 0x7F ? 0x80 | (unit & 0x7F) : unit);
        ASSERT_EQ(FindNonAscii(bytes.data(), from, to), nonAscii) << round;
        // Copied a byte a unit when all are ASCII.
        std::string copied(size_t(to - from), '-');
        ASSERT_EQ(CopyAsciiUnits(text.data() + from, to - from, copied.data()), nonAscii < 0) << round;
        if (nonAscii < 0) {
            ASSERT_EQ(copied, std::string(text.begin() + from, text.begin() + to)) << round;
        }
    }
}

} // namespace quillan::test
