#include "reports/QuickSort.h"

#include "util/HoareSort.h"

#include <QStringView>

namespace quillan {

namespace {

// The part of an element the sort compares; positions count from 1.
auto keyFrom(qsizetype startPos)
{
    const qsizetype skip = qMax<qsizetype>(startPos, 1) - 1;
    return [skip](const QString &element) {
        return skip < element.size() ? QStringView(element).sliced(skip) : QStringView();
    };
}

} // namespace

void SortStringArray(bool ascending, QStringList &array, qsizetype first, qsizetype last,
                     qsizetype startPos)
{
    if (ascending)
        QuickSortAscending(array, first, last, startPos);
    else
        QuickSortDescending(array, first, last, startPos);
}

void QuickSortDescending(QStringList &array, qsizetype first, qsizetype last, qsizetype startPos)
{
    HoareSortDescending(array, first, last, keyFrom(startPos));
}

void QuickSortAscending(QStringList &array, qsizetype first, qsizetype last, qsizetype startPos)
{
    HoareSortAscending(array, first, last, keyFrom(startPos));
}

} // namespace quillan
