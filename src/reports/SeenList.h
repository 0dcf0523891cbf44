#pragma once
// The entries already written under one group line of a report. An entry
// counts as written when its text occurs anywhere in the colon-joined texts
// written so far, so an entry contained in an earlier one (a.htm after
// docs/a.htm) is not written again either.

#include <QSet>
#include <QString>
#include <QStringView>

#include <vector>

namespace quillan {

class SeenList
{
public:
    void clear();
    // True when `entry` occurs in ":" + first + ":" + second ...; never for
    // the first entry of a group.
    bool contains(QStringView entry) const;
    // The viewed text must outlive the list (it is a table entry).
    void add(QStringView entry);

private:
    // False only when `entry` surely does not occur in the joined text: one
    // of its short pieces occurs nowhere in it.
    bool mayOccur(QStringView entry) const;
    bool isLong() const;
    void indexNewPieces();

    QString joined_;
    // Once the joined text is long: exact repeats, the common case, are
    // answered without a search.
    std::vector<QStringView> added_;
    QSet<QStringView> entries_;
    // Once a group grows long (a target linked from thousands of pages), a
    // bit per hashed piece of the joined text lets most new entries be told
    // apart without searching it all.
    std::vector<quint64> pieceBits_;
    qsizetype indexedPieces_ = 0;
};

} // namespace quillan
