#pragma once
// What the tests compare: a page's links written as "line:value" (with a
// kind prefix for the links that are not plain), in page order.

#include "engine/Printers.h"
#include "html/HtmlLinks.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace quillan::test {

inline QString Describe(const HtmlLink &link)
{
    static const char *const prefixes[] = {"", "base ", "virtual ", "file "};
    return QString::fromLatin1(prefixes[int(link.kind)]) + QString::number(link.line) + u':' + HtmlLinkValue(link);
}

// The links of `text` read as the checker reads them (lines left to count
// afterwards, values viewing the text), described.
inline QStringList CheckedLinksOf(const HtmlText &text)
{
    HtmlPage uncounted;
    ReadHtmlLinks(text, uncounted, false, HtmlLinksUse::CheckedNow);
    HtmlLineCounter lines = text.IsUtf8() ? HtmlLineCounter(text.Utf8()) : HtmlLineCounter(text.Utf16());
    QStringList described;
    for (HtmlLink link : uncounted.links) {
        link.line = HtmlLinkLine(link, lines);
        described.append(Describe(link));
    }
    return described;
}

// Also read as the checker reads pages, from the text and from its UTF-8
// bytes as they stand: every case must come out the same those ways.
inline QStringList LinksOf(const QString &page)
{
    HtmlPage read;
    ReadHtmlLinks(page, read, false);
    QStringList described;
    for (const HtmlLink &link : read.links)
        described.append(Describe(link));

    EXPECT_EQ(CheckedLinksOf(HtmlText(page)), described) << page.toStdString();
    const QByteArray bytes = page.toUtf8();
    EXPECT_EQ(CheckedLinksOf(HtmlText::FromUtf8(bytes)), described) << page.toStdString();
    HtmlPage kept;
    ReadHtmlLinks(HtmlText::FromUtf8(bytes), kept, false);
    QStringList keptDescribed;
    for (const HtmlLink &link : kept.links)
        keptDescribed.append(Describe(link));
    EXPECT_EQ(keptDescribed, described) << page.toStdString();
    return described;
}

// The values alone, for cases where every link is on line 1; the page's
// UTF-8 bytes, read as the checker reads them, must give the same.
inline QStringList ValuesOf(const QString &page)
{
    auto valuesOf = [](const HtmlPage &read) {
        QStringList values;
        for (const HtmlLink &link : read.links)
            values.append(HtmlLinkValue(link));
        return values;
    };
    HtmlPage read;
    ReadHtmlLinks(page, read, false);
    const QByteArray bytes = page.toUtf8();
    HtmlPage fromBytes;
    ReadHtmlLinks(HtmlText::FromUtf8(bytes), fromBytes, false, HtmlLinksUse::CheckedNow);
    EXPECT_EQ(valuesOf(fromBytes), valuesOf(read)) << page.toStdString();
    return valuesOf(read);
}

inline QStringList Values(std::initializer_list<const char *> values)
{
    QStringList list;
    for (const char *value : values)
        list.append(QString::fromUtf8(value));
    return list;
}

} // namespace quillan::test
