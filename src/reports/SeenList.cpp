#include "reports/SeenList.h"

#include <limits>

namespace quillan {

namespace {

// Pieces of this many characters are indexed; shorter entries are searched.
constexpr qsizetype kPieceLength = 8;
// Below this length a plain search of the joined text is cheap enough.
constexpr qsizetype kIndexFromLength = 4096;

quint64 pieceHash(const QChar *piece)
{
    quint64 hash = 1469598103934665603ULL;
    for (qsizetype i = 0; i < kPieceLength; ++i)
        hash = (hash ^ piece[i].unicode()) * 1099511628211ULL;
    return hash ^ (hash >> 29);
}

} // namespace

void SeenList::clear()
{
    joined_.clear();
    added_.clear();
    entries_.clear();
    lastInBucket_.clear();
    countInBucket_.clear();
    earlierInBucket_.clear();
    indexedPieces_ = 0;
    indexUsable_ = true;
}

bool SeenList::contains(QStringView entry) const
{
    if (joined_.isEmpty())
        return false;
    if (isLong() && entries_.contains(entry))
        return true;
    if (!lastInBucket_.empty() && entry.size() >= kPieceLength)
        return occursIndexed(entry);
    return QStringView(joined_).contains(entry);
}

bool SeenList::occursIndexed(QStringView entry) const
{
    // Every occurrence of the entry begins where its rarest piece begins,
    // less that piece's offset in it; one piece found nowhere rules it out.
    const size_t mask = lastInBucket_.size() - 1;
    size_t rarest = 0;
    qsizetype rarestOffset = 0;
    for (qsizetype i = 0; i + kPieceLength <= entry.size(); ++i) {
        const size_t bucket = size_t(pieceHash(entry.data() + i)) & mask;
        if (countInBucket_[bucket] == 0)
            return false;
        if (i == 0 || countInBucket_[bucket] < countInBucket_[rarest]) {
            rarest = bucket;
            rarestOffset = i;
        }
    }
    const QStringView joined(joined_);
    for (quint32 at = lastInBucket_[rarest]; at != 0; at = earlierInBucket_[at - 1]) {
        const qsizetype start = qsizetype(at - 1) - rarestOffset;
        if (start >= 0 && start + entry.size() <= joined.size()
            && joined.sliced(start, entry.size()) == entry)
            return true;
    }
    return false;
}

void SeenList::add(QStringView entry)
{
    const bool wasLong = isLong();
    joined_ += u':';
    joined_ += entry;
    if (wasLong) {
        entries_.insert(entry);
    } else {
        added_.push_back(entry);
        if (isLong())
            entries_ = QSet<QStringView>(added_.begin(), added_.end());
    }
    if (isLong())
        indexNewPieces();
}

bool SeenList::isLong() const
{
    return joined_.size() >= kIndexFromLength;
}

void SeenList::indexNewPieces()
{
    if (!indexUsable_)
        return;
    if (joined_.size() >= qsizetype(std::numeric_limits<quint32>::max())) {
        // Searched whole from here on.
        indexUsable_ = false;
        lastInBucket_.clear();
        countInBucket_.clear();
        earlierInBucket_.clear();
        return;
    }
    // Twice as many buckets as pieces or more; on growing, indexed anew.
    const size_t wanted = size_t(joined_.size()) * 2;
    if (lastInBucket_.size() < wanted) {
        size_t buckets = 1024;
        while (buckets < wanted * 2)
            buckets *= 2;
        lastInBucket_.assign(buckets, 0);
        countInBucket_.assign(buckets, 0);
        earlierInBucket_.clear();
        indexedPieces_ = 0;
    }
    for (; indexedPieces_ + kPieceLength <= joined_.size(); ++indexedPieces_)
        indexPiece(indexedPieces_);
}

void SeenList::indexPiece(qsizetype at)
{
    const size_t bucket = size_t(pieceHash(joined_.constData() + at)) & (lastInBucket_.size() - 1);
    earlierInBucket_.push_back(lastInBucket_[bucket]);
    lastInBucket_[bucket] = quint32(at + 1);
    ++countInBucket_[bucket];
}

} // namespace quillan
