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
    return QString::fromLatin1(prefixes[int(link.kind)]) + QString::number(link.line) + u':' + link.value;
}

// Also read as the checker reads pages, lines left to count afterwards and
// values viewing the text: every case must come out the same that way.
inline QStringList LinksOf(const QString &page)
{
    HtmlPage read;
    ReadHtmlLinks(page, read, false);
    QStringList described;
    for (const HtmlLink &link : read.links)
        described.append(Describe(link));

    HtmlPage uncounted;
    ReadHtmlLinks(page, uncounted, false, HtmlLinksUse::CheckedNow);
    HtmlLineCounter lines(page);
    QStringList countedAfter;
    for (HtmlLink link : uncounted.links) {
        link.line = HtmlLinkLine(link, lines);
        countedAfter.append(Describe(link));
    }
    EXPECT_EQ(countedAfter, described) << page.toStdString();
    return described;
}

// The values alone, for cases where every link is on line 1.
inline QStringList ValuesOf(const QString &page)
{
    HtmlPage read;
    ReadHtmlLinks(page, read, false);
    QStringList values;
    for (const HtmlLink &link : read.links)
        values.append(link.value);
    return values;
}

inline QStringList Values(std::initializer_list<const char *> values)
{
    QStringList list;
    for (const char *value : values)
        list.append(QString::fromUtf8(value));
    return list;
}

} // namespace quillan::test
