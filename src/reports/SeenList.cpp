#include "reports/SeenList.h"

#include <limits>

namespace quillan {

namespace {

// Pieces of this many characters are indexed; shorter entries are searched.
constexpr qsizetype kPieceLength = 8;
// Below this length a plain search of the joined text is cheap enough.
constexpr qsizetype kIndexFromLength = 4096;

// A piece's hash is the polynomial sum of its characters, so the next
// piece's follows from it with one multiplication: every position of a long
// text is hashed.
constexpr quint64 kBase = 0x100000001b3ULL;
constexpr quint64 kBaseToPieceLength = [] {
    quint64 power = 1;
    for (qsizetype i = 0; i < kPieceLength; ++i)
        power *= kBase;
    return power;
}();

quint64 pieceHash(const char16_t *piece)
{
    quint64 hash = 0;
    for (qsizetype i = 0; i < kPieceLength; ++i)
        hash = hash * kBase + piece[i];
    return hash;
}

// The hash of the piece one character on.
quint64 nextPieceHash(quint64 hash, char16_t leaving, char16_t entering)
{
    return hash * kBase - leaving * kBaseToPieceLength + entering;
}

} // namespace

void SeenList::clear()
{
    joined_.clear();
    last_ = {};
    buckets_.clear();
    earlierInBucket_.clear();
    indexedPieces_ = 0;
    indexUsable_ = true;
}

bool SeenList::contains(QStringView entry) const
{
    if (joined_.empty())
        return false;
    if (entry == last_)
        return true;
    if (!buckets_.empty() && entry.size() >= kPieceLength)
        return occursIndexed(entry);
    return QStringView(joined_).contains(entry);
}

size_t SeenList::bucketOf(quint64 hash) const
{
    // The high bits of the product mix every character of the piece.
    return size_t((hash * 0x9e3779b97f4a7c15ULL) >> bucketShift_);
}

bool SeenList::occursIndexed(QStringView entry) const
{
    // Every occurrence of the entry begins where its rarest piece begins,
    // less that piece's offset in it; one piece found nowhere rules it out.
    size_t rarest = 0;
    qsizetype rarestOffset = 0;
    const char16_t *units = entry.utf16();
    quint64 hash = pieceHash(units);
    for (qsizetype i = 0; i + kPieceLength <= entry.size(); ++i) {
        if (i > 0)
            hash = nextPieceHash(hash, units[i - 1], units[i + kPieceLength - 1]);
        const size_t bucket = bucketOf(hash);
        if (buckets_[bucket].count == 0)
            return false;
        if (i == 0 || buckets_[bucket].count < buckets_[rarest].count) {
            rarest = bucket;
            rarestOffset = i;
        }
    }
    const QStringView joined(joined_);
    for (quint32 at = buckets_[rarest].last; at != 0; at = earlierInBucket_[at - 1]) {
        const qsizetype start = qsizetype(at - 1) - rarestOffset;
        if (start >= 0 && start + entry.size() <= joined.size()
            && joined.sliced(start, entry.size()) == entry)
            return true;
    }
    return false;
}

void SeenList::add(QStringView entry)
{
    joined_ += u':';
    joined_.append(entry.utf16(), size_t(entry.size()));
    last_ = entry;
    if (isLong())
        indexNewPieces();
}

bool SeenList::isLong() const
{
    return qsizetype(joined_.size()) >= kIndexFromLength;
}

void SeenList::indexNewPieces()
{
    if (!indexUsable_)
        return;
    if (joined_.size() >= size_t(std::numeric_limits<quint32>::max())) {
        // Searched whole from here on.
        indexUsable_ = false;
        buckets_.clear();
        earlierInBucket_.clear();
        return;
    }
    // A bucket for every one to four pieces: a chain is short, and the
    // index takes about 12 bytes a piece. Indexed anew as the text outgrows it.
    const size_t pieces = joined_.size();
    if (buckets_.size() * 4 < pieces) {
        size_t buckets = 1024;
        int bits = 10;
        while (buckets * 2 <= pieces) {
            buckets *= 2;
            ++bits;
        }
        bucketShift_ = 64 - bits;
        buckets_.assign(buckets, Bucket());
        earlierInBucket_.clear();
        indexedPieces_ = 0;
    }
    const char16_t *text = joined_.data();
    const auto joinedSize = qsizetype(joined_.size());
    if (indexedPieces_ + kPieceLength > joinedSize)
        return;
    quint64 hash = pieceHash(text + indexedPieces_);
    for (;;) {
        const size_t bucket = bucketOf(hash);
        Bucket &in = buckets_[bucket];
        earlierInBucket_.push_back(in.last);
        in.last = quint32(indexedPieces_ + 1);
        ++in.count;
        ++indexedPieces_;
        if (indexedPieces_ + kPieceLength > joinedSize)
            return;
        hash = nextPieceHash(hash, text[indexedPieces_ - 1], text[indexedPieces_ + kPieceLength - 1]);
    }
}

} // namespace quillan
