#pragma once
// The entries already written under one group line of a report. An entry
// counts as written when its text occurs anywhere in the colon-joined texts
// written so far, so an entry contained in an earlier one (a.htm after
// docs/a.htm) is not written again either.

#include "util/TextIds.h"

#include <QString>
#include <QStringView>

#include <string>
#include <vector>

namespace quillan {

class SeenList
{
public:
    void clear();
    // True when `entry` occurs in ":" + first + ":" + second ...; never for
    // the first entry of a group. (Not const: the text is indexed as it is
    // first searched.)
    bool contains(QStringView entry);
    // The viewed text must outlive the list (it is a table entry).
    void add(QStringView entry);

private:
    bool isLong() const;
    void joinAll();
    // The joined text searched through the index of its pieces.
    bool occursIndexed(QStringView entry) const;
    void indexNewPieces();
    size_t bucketOf(quint64 hash) const;

    // Joined as it is first searched: a group answered without a search
    // is never joined.
    std::u16string joined_;
    size_t entriesJoined_ = 0;
    qsizetype joinedLength_ = 0; // with every entry joined
    // The entries added, the length of the longest, and once the text is
    // long, a set of the longest. An entry without ":" lies within one entry
    // where it occurs: one of that length occurs only as one of them, and a
    // longer one nowhere. A long group's entries are mostly paths of one
    // length (a site's generated pages), answered so without a search.
    std::vector<QStringView> entries_;
    qsizetype longest_ = -1;
    TextIds ofLongest_;
    size_t inSet_ = 0; // the entries looked at for the set, from the first of the longest length
    // The entry added last: a repeat of it, the common case (the same link
    // twice in a page, the same page under a target in sorted rows), is
    // answered without a search.
    QStringView last_;
    // Once a group grows long (a target linked from thousands of pages), the
    // short pieces of the joined text that begin at every third place,
    // chained by the piece's hash: a new entry is looked for only where its
    // rarest pieces stand, not through the whole text. Places are kept plus
    // one, so 0 ends a chain.
    struct Bucket {
        quint32 last = 0;  // the last place indexed in it
        quint32 count = 0; // how many places it holds
    };
    std::vector<Bucket> buckets_; // both of a bucket read from one place in memory
    std::vector<quint32> earlierInBucket_; // by indexed place, in order
    int bucketShift_ = 64; // 64 less the bits of a bucket's number
    qsizetype indexedPieces_ = 0;
    bool indexUsable_ = true; // false for a text too long for the positions
};

} // namespace quillan
