#pragma once
// Sorting of string lists by character code, as the reports order their
// lines: UTF-16 code units compared from a given character on, a proper
// prefix before the longer string, capitals before small letters.

#include <QStringList>

namespace quillan {

// Sorts array[first..last] in place, comparing each element from character
// `startPos` on (1 = the whole string). `ascending` false sorts descending.
void SortStringArray(bool ascending, QStringList &array, qsizetype first, qsizetype last,
                     qsizetype startPos);

// Descending order by a Hoare-style partition around the middle element.
void QuickSortDescending(QStringList &array, qsizetype first, qsizetype last, qsizetype startPos);

// The descending sort followed by a reversal of the range, so equal keys end
// up exactly where that sequence of exchanges puts them.
void QuickSortAscending(QStringList &array, qsizetype first, qsizetype last, qsizetype startPos);

} // namespace quillan
