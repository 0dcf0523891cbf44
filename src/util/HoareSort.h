#pragma once
// The one quicksort the program uses for its lists: a Hoare-style partition
// around the middle element into descending order, then a reversal for
// ascending order. Equal keys end up in the order this exact sequence of
// exchanges gives, which the saved lists and reports rely on, so it is not to
// be replaced by a library sort.

#include <QList>

#include <utility>

namespace quillan {

// Sorts a[first..last] into descending order of key(element). `key` returns
// something comparable with < and > (a QStringView into the element is fine:
// the pivot element is copied before any exchange).
template <typename T, typename KeyOf>
void HoareSortDescending(QList<T> &a, qsizetype first, qsizetype last, const KeyOf &key)
{
    while (first < last) {
        const T pivotElement = a[first + (last - first) / 2];
        const auto pivot = key(pivotElement);
        qsizetype i = first;
        qsizetype j = last;
        while (i <= j) {
            while (i < last && key(a[i]) > pivot)
                ++i;
            while (j > first && key(a[j]) < pivot)
                --j;
            if (i <= j) {
                if (i < j)
                    std::swap(a[i], a[j]);
                ++i;
                --j;
            }
        }
        // Same order of work as sorting first..j and then i..last, with the
        // larger side looped instead of recursed so deep lists cannot
        // exhaust the stack.
        if (j - first < last - i) {
            if (first < j)
                HoareSortDescending(a, first, j, key);
            first = i;
        } else {
            if (i < last)
                HoareSortDescending(a, i, last, key);
            last = j;
        }
    }
}

// Descending sort, then the range reversed in place.
template <typename T, typename KeyOf>
void HoareSortAscending(QList<T> &a, qsizetype first, qsizetype last, const KeyOf &key)
{
    if (first >= last)
        return;
    HoareSortDescending(a, first, last, key);
    for (qsizetype lo = first, hi = last; lo < hi; ++lo, --hi)
        std::swap(a[lo], a[hi]);
}

} // namespace quillan
