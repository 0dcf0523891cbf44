#pragma once
// The entry line that describes one top subfolder, "images {12 files and no
// subfolders}", and what the selection window reads back from it.

#include <QString>

namespace quillan {

// "no files and ", "1 file and ", "1,234 files and ".
QString FilesPart(qint32 numFiles);
// "no subfolders", "1 subfolder", "1,234 subfolders".
QString SubfoldersPart(qint32 numSubfolders);

// The subfolder's name: the entry before the "{" that opens its details,
// without surrounding spaces. Names may hold braces themselves.
QString EntryName(const QString &entry);

// Entries of unreadable or empty subfolders are never selected. The test is
// on the whole text, so it also holds when those words stand in a name.
bool CannotBeSelected(const QString &text);

// The caption of a row: the entry itself, or, when it is 84 characters or
// longer, the start of the name, " ... " and the whole details part.
QString FormatCheckboxCaption(const QString &entry);

// While the survey sorts its entries, each carries its emptiness ("1" or
// "0") and its bytes as text after the closing brace, so both follow their
// entry through the sort. The cut at the last brace takes them back.
QString WithSortTail(const QString &entry, bool empty, double bytes);
struct SortTail {
    bool empty = false;
    double bytes = 0;
};
SortTail CutSortTail(QString &entry);

// "Reading disk . . ." followed by `dots` times " .".
QString ReadingDiskText(int dots);

} // namespace quillan
