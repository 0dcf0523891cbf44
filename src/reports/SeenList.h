#pragma once
// The entries already written under one group line of a report. An entry
// counts as written when its text occurs anywhere in the colon-joined texts
// written so far, so an entry contained in an earlier one (a.htm after
// docs/a.htm) is not written again either.

#include <QSet>
#include <QString>
#include <QStringView>

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
    QString joined_;
    // Exact repeats, the common case, are answered without a search.
    QSet<QStringView> entries_;
};

} // namespace quillan
