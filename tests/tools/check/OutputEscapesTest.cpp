// The checker's escaping, as functions: every unit that needs it is escaped
// wherever it stands among others, as one unit at a time would be.

#include "OutputEscapes.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QString>

#include <gtest/gtest.h>

namespace quillan::check {

namespace {

// The escape of one unit, as the checker's manual page gives it.
QString EscapeOf(char16_t c)
{
    switch (c) {
    case u'\\': return QStringLiteral("\\\\");
    case u'\t': return QStringLiteral("\\t");
    case u'\n': return QStringLiteral("\\n");
    case u'\r': return QStringLiteral("\\r");
    default:
        return c <= 0xff ? QStringLiteral("\\x%1").arg(uint(c), 2, 16, QLatin1Char('0'))
                         : QStringLiteral("\\u%1").arg(uint(c), 4, 16, QLatin1Char('0'));
    }
}

// `length` units of `plain` in turn, with `c` at `at`.
template <std::size_t kPlain>
QString TextWith(char16_t c, qsizetype at, qsizetype length, const char16_t (&plain)[kPlain])
{
    QString text;
    for (qsizetype i = 0; i < length; ++i)
        text += QChar(plain[std::size_t(i) % kPlain]);
    text[at] = QChar(c);
    return text;
}

} // namespace

TEST(OutputEscapes, OneLineEscapesEveryUnitThatNeedsItWhereverItStands)
{
    // Those escaped, and their neighbours in the code, which are not.
    const char16_t escaped[] = {0x00, 0x01, u'\t', u'\n', u'\r', 0x1F, 0x7F, 0x80, 0x9F, u'\\', 0x2028, 0x2029};
    const char16_t plain[] = {0x20, 0x7E, 0xA0, 0x7FF, 0x2027, 0x202A, 0xD800, 0xFFFF, u'a', u'/', 0x5B, 0x5D};
    for (const char16_t c : escaped) {
        // Every place of texts from one unit to three registers long, and a
        // second one further on.
        for (qsizetype length = 1; length <= 24; ++length) {
            for (qsizetype at = 0; at < length; ++at) {
                QString text = TextWith(c, at, length, plain);
                QString expected = text.first(at) + EscapeOf(c) + text.sliced(at + 1);
                QString out = QStringLiteral("before ");
                AppendOneLine(out, text);
                EXPECT_EQ(out, QStringLiteral("before ") + expected) << int(c) << " at " << at << " of " << length;

                text += text;
                expected += expected;
                out.clear();
                AppendOneLine(out, text);
                EXPECT_EQ(out, expected) << int(c) << " at " << at << " of " << length << ", twice";
            }
        }
    }
    QString out;
    AppendOneLine(out, u"");
    EXPECT_TRUE(out.isEmpty());
}

TEST(OutputEscapes, JsonStringsReadBackAsTheTextWhereverTheEscapesStand)
{
    const char16_t escaped[] = {0x00, 0x01, u'\t', u'\n', u'\r', 0x1F, u'"', u'\\'};
    const char16_t plain[] = {0x20, 0x7F, 0x9F, 0x2028, 0xFFFD, u'a', u'/', 0x21, 0x23, 0x5B, 0x5D};
    for (const char16_t c : escaped) {
        for (qsizetype length = 1; length <= 24; ++length) {
            for (qsizetype at = 0; at < length; ++at) {
                const QString text = TextWith(c, at, length, plain);
                QString json = QStringLiteral("[");
                AppendJsonString(json, text);
                json += u']';
                QJsonParseError error{};
                const QJsonDocument read = QJsonDocument::fromJson(json.toUtf8(), &error);
                ASSERT_EQ(error.error, QJsonParseError::NoError) << json.toStdString();
                EXPECT_EQ(read.array().at(0).toString(), text) << int(c) << " at " << at << " of " << length;
                // Only what must be escaped is.
                EXPECT_EQ(json.size(), text.size() + 4 + (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r' ? 5 : 1))
                    << json.toStdString();
            }
        }
    }
}

} // namespace quillan::check
