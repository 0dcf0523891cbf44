#include "subfolders/SubfolderEntry.h"

#include "util/DiskProc.h"
#include "util/StrProc.h"

namespace quillan {

namespace {

constexpr int kCaptionLength = 84;

// The details start at the last "{": the name before it may hold braces,
// the details never do.
qsizetype detailsStart(const QString &entry)
{
    return entry.lastIndexOf(u'{');
}

// "no files", "1 file", "1,234 files".
QString countOf(qint32 count, const QString &noun)
{
    if (count == 0)
        return QStringLiteral("no ") + noun + u's';
    if (count == 1)
        return QStringLiteral("1 ") + noun;
    return FormatCount(count) + u' ' + noun + u's';
}

} // namespace

QString FilesPart(qint32 numFiles)
{
    return countOf(numFiles, QStringLiteral("file")) + QStringLiteral(" and ");
}

QString SubfoldersPart(qint32 numSubfolders)
{
    return countOf(numSubfolders, QStringLiteral("subfolder"));
}

QString EntryName(const QString &entry)
{
    const qsizetype brace = detailsStart(entry);
    return TrimSpaces(brace < 0 ? QStringView(entry) : QStringView(entry).left(brace));
}

bool CannotBeSelected(const QString &text)
{
    return ContainsInLowered(text, u"permission denied")
           || ContainsInLowered(text, u"no files and no subfolders");
}

QString FormatCheckboxCaption(const QString &entry)
{
    const qsizetype brace = detailsStart(entry);
    if (brace < 0)
        return entry;
    const QString tail = entry.mid(brace);
    // An unusually long error description leaves no room for the name; the
    // details still stay whole.
    const qsizetype room = qMax<qsizetype>(kCaptionLength - tail.size(), 0);
    if (brace + 1 > room)
        return entry.left(room) + QStringLiteral(" ... ") + tail;
    return entry;
}

QString WithSortTail(const QString &entry, bool empty, double bytes)
{
    return entry + (empty ? u'1' : u'0') + PlainNumberText(bytes);
}

SortTail CutSortTail(QString &entry)
{
    // The last brace closes the details; a name may hold one too.
    const qsizetype close = entry.lastIndexOf(u'}');
    SortTail tail;
    tail.empty = entry.mid(close + 1, 1) == u"1";
    tail.bytes = entry.mid(close + 2).toDouble();
    entry.truncate(close + 1);
    return tail;
}

QString ReadingDiskText(int dots)
{
    return QStringLiteral("Reading disk . . .") + RepeatText(QStringLiteral(" ."), dots);
}

} // namespace quillan
