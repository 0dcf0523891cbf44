#pragma once
// The two comma-separated exclusion boxes: their tidy form and their
// conversion into the lists the walk and the link checker read.

#include <QString>
#include <QStringList>

namespace quillan {

// Sorts list[first..last] ignoring case (keys compared by UTF-16 code units
// after LowerCaseAccented).
void SortListAscending(QStringList &list, qsizetype first, qsizetype last);

// The text a box shows after the user leaves it: entries trimmed, sorted
// ignoring case and joined by ", ". For the filepath box every "/" becomes
// the path separator first.
QString TidyExcludedFilepathsText(const QString &boxText);
QString TidyExcludedLinksText(const QString &boxText);

// Splits a box's (already trimmed) text into `list` at commas, each entry
// trimmed, empty entries kept; returns the number of entries (0 for an empty
// box, leaving older entries in place but not counted).
int ConvertExclusionText(const QString &boxText, QStringList &list);

} // namespace quillan
