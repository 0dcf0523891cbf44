#include "subfolders/SubfolderEntry.h"

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

} // namespace

QString FilesPart(qint32 numFiles)
{
    if (numFiles == 0)
        return QStringLiteral("no files and ");
    if (numFiles == 1)
        return QStringLiteral("1 file and ");
    return FormatCount(numFiles) + QStringLiteral(" files and ");
}

QString SubfoldersPart(qint32 numSubfolders)
{
    if (numSubfolders == 0)
        return QStringLiteral("no subfolders");
    if (numSubfolders == 1)
        return QStringLiteral("1 subfolder");
    return FormatCount(numSubfolders) + QStringLiteral(" subfolders");
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

QString ReadingDiskText(int dots)
{
    return QStringLiteral("Reading disk . . .") + RepeatText(QStringLiteral(" ."), dots);
}

} // namespace quillan
