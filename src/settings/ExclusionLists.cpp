#include "settings/ExclusionLists.h"

#include "util/FileProc.h"
#include "util/HoareSort.h"
#include "util/StrProc.h"

namespace quillan {

namespace {

struct KeyedEntry {
    QString key;
    QString entry;
};

QString tidy(const QString &text)
{
    QStringList scratch;
    const int count = SplitIntoArray(text, QStringLiteral(","), 1, scratch, true, 0, 0);
    scratch = scratch.mid(0, count);
    SortListAscending(scratch, 0, scratch.size() - 1);
    return scratch.join(QStringLiteral(", "));
}

} // namespace

void SortListAscending(QStringList &list, qsizetype first, qsizetype last)
{
    if (first < 0 || last >= list.size() || first >= last)
        return;
    QList<KeyedEntry> keyed;
    keyed.reserve(last - first + 1);
    for (qsizetype i = first; i <= last; ++i)
        keyed.append(KeyedEntry{LowerCaseAccented(list[i]), list[i]});
    HoareSortAscending(keyed, 0, keyed.size() - 1,
                       [](const KeyedEntry &e) { return QStringView(e.key); });
    for (qsizetype i = first; i <= last; ++i)
        list[i] = keyed[i - first].entry;
}

QString TidyExcludedFilepathsText(const QString &boxText)
{
    QString text = boxText;
    text.replace(u'/', PathSeparator());
    return tidy(text);
}

QString TidyExcludedLinksText(const QString &boxText)
{
    return tidy(boxText);
}

int ConvertExclusionText(const QString &boxText, QStringList &list)
{
    return SplitIntoArray(boxText, QStringLiteral(","), 1, list, true, 0, 0);
}

} // namespace quillan
